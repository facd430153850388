#include "designide/DesignRoots.h"

#include "designide/HostModule.h"

#include <deque>
#include <mutex>

TClass DesignClass(const AnsiString& ClassName, TClass Parent) {
    struct TEntry {
        AnsiString Name;
        TClassInfo Info;
    };
    static std::mutex lock;
    static std::deque<TEntry> classes;
    std::lock_guard<std::mutex> guard(lock);
    for (const TEntry& entry : classes)
        if (entry.Name == ClassName && entry.Info.Parent == Parent)
            return &entry.Info;
    TEntry& entry = classes.emplace_back();
    entry.Name = ClassName;
    entry.Info.Name = entry.Name.c_str();
    entry.Info.Parent = Parent;
    return &entry.Info;
}

template <typename TBase> bool TDesignRoot<TBase>::Watching() const {
    TComponentState state = this->ComponentState();
    return FModule && !state.Contains(csLoading) && !state.Contains(csDestroying);
}

template <typename TBase> void TDesignRoot<TBase>::SetName(const AnsiString& NewName) {
    const AnsiString oldName = this->Name();
    TBase::SetName(NewName);
    if (Watching() && !oldName.empty() && oldName != NewName)
        FModule->ComponentRenamed(this, oldName, NewName);
}

template <typename TBase>
void TDesignRoot<TBase>::ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                        const AnsiString& NewName) {
    TBase::ValidateRename(AComponent, CurName, NewName);
    // A component made by the designer gets its first name there.
    if (Watching() && AComponent && !CurName.empty() && CurName != NewName)
        FModule->ComponentRenamed(AComponent, CurName, NewName);
}

template <typename TBase>
void TDesignRoot<TBase>::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && Watching() && AComponent->Owner() == this &&
        !AComponent->Name().empty())
        FModule->ComponentDeleting(AComponent);
    TBase::Notification(AComponent, Operation);
}

template class TDesignRoot<TForm>;
template class TDesignRoot<TDataModule>;
