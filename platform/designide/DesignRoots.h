// The roots of design forms: a form or data module whose class is known only
// by the name its unit gives it. The class reference carries that name over
// the base class, so everything keyed by the owner's class name (translation
// lines among them) sees "TForm1"; renames and removals of the root's
// components reach the module that holds it.
#pragma once

#include "clx/Forms.h"

class TDesignModule;

// A class reference named ClassName over Parent, one per name and parent for
// the life of the process.
TClass DesignClass(const AnsiString& ClassName, TClass Parent);

template <typename TBase> class TDesignRoot : public TBase {
public:
    TDesignRoot(TClass DesignClassRef, TDesignModule* Module)
        : TBase(nullptr), FClass(DesignClassRef), FModule(Module) {}
    TClass ClassType() const override { return FClass; }
    void SetName(const AnsiString& NewName) override;
    void Detach() { FModule = nullptr; }

protected:
    void ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                        const AnsiString& NewName) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Watching() const;

    TClass FClass;
    TDesignModule* FModule;
};

using TDesignForm = TDesignRoot<TForm>;
using TDesignDataModule = TDesignRoot<TDataModule>;
