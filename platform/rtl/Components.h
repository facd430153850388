// Components: objects with an owner, a name and owned components, the
// notifications that keep references between them valid, and the class
// registry that creates components by class name.
//
// Lifetime
// --------
// An owner owns its components: deleting it deletes them.
//
// Creation. A component's constructor takes its owner and records it, so
// Owner() answers inside constructors, but the component enters the owner's
// list only after the constructor has finished: create components with
//     auto* button = NewComponent<TButton>(Form1);        // or
//     TComponent* any = CreateComponent("TButton", Form1); // registered class
// A constructor that raises leaves the owner exactly as it was. A component
// made with plain `new T(Owner)` is not in its owner's list: it is owned by
// no one until InsertComponent.
//
// Destruction. `delete` runs BeforeDestruction while the component is still
// of its full class, and that is where the removal protocol runs: the
// component and its children are marked csDestroying, its free-notification
// partners receive Notification(this, opRemove), its components are deleted
// (last first), and its owner removes it, broadcasting
// Notification(this, opRemove) to every component of the owner -- a receiver
// can still dynamic_cast the removed component to its own class. Only then
// do the destructors run. Derived destructors therefore find their owned
// components gone already. A component destroyed without `delete` (on the
// stack, as a member) runs the same protocol from ~TComponent, where only
// its TComponent part is left. Notification handlers must not raise during
// destruction.
//
// Broadcast loops run from the last component to the first and re-check the
// count after every call, so a handler may delete other components.
//
// While an owner deletes its components they leave its list silently, as on
// the Pascal platform; only a component with csFreeNotification (one that
// others asked FreeNotification of) is removed with the broadcast.
//
// For streaming: TReader and TWriter are friends and may set the state
// flags (SetComponentState) and call Loaded; GetChildren reports the
// components a root writes; the virtual constructor (CreateComponent with a
// class reference) makes components of a class found by name.
#pragma once

#include "rtl/Persistent.h"
#include "rtl/TypInfo.h"

#include <memory>

class EComponentError : public Exception {
    using Exception::Exception;
};
class EClassNotFound : public EFilerError {
    using EFilerError::EFilerError;
};

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

class TComponent;
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
    ZX_CLASS(TComponent, TPersistent)
public:
    // The argument of the virtual constructor: every component class with a
    // constructor taking the owner can be created from its class reference.
    using TCreateArg = TComponent*;

    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TComponent>& P);

    TComponent* Owner() const { return FOwner; }
    TPersistent* GetOwner() const override { return FOwner; }

    // An empty name or a Pascal identifier, unique among the owner's
    // components without regard to case; EComponentError otherwise.
    const AnsiString& Name() const { return FName; }
    virtual void SetName(const AnsiString& NewName);
    Integer Tag() const { return FTag; }
    void SetTag(Integer Value) { FTag = Value; }

    // Owned components in insertion order; EListError for a bad index.
    Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
    TComponent* Components(Integer Index) const;
    // Position in the owner's list, -1 without an owner.
    Integer ComponentIndex() const;
    // By name without regard to case; nullptr when absent or for "".
    TComponent* FindComponent(const AnsiString& AName) const;

    // Takes AComponent from its current owner; EComponentError on a
    // duplicate name, leaving AComponent without owner.
    void InsertComponent(TComponent* AComponent);
    // Gives AComponent up (it is no longer owned by anyone).
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // Marks this component and those it owns as being destroyed.
    void Destroying();

    TComponentState ComponentState() const { return FComponentState; }
    void SetDesigning(bool Value, bool SetChildren = true);

    // AComponent gets Notification(this, opRemove) when this component is
    // destroyed; the link works both ways. Components of one owner rely on
    // the owner's broadcast instead.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // The components written as children of Root: for the root itself, every
    // owned component without a parent component. Controls override it.
    virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // A form being read makes each child that HasParent a child of the
    // component it was written inside; controls take it as their parent.
    virtual void SetParentComponent(TComponent*) {}

protected:
    // Called when reading has finished; ends csLoading.
    virtual void Loaded();
    // Every component of an owner hears of insertions into it and removals
    // from it; the base passes the news on to the components it owns.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                const AnsiString& NewName);
    void SetComponentState(TComponentStateItem Item, bool Value);

private:
    friend class TReader;
    friend class TWriter;

    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void ChangeName(const AnsiString& NewName);
    void RemoveNotification(TComponent* AComponent);
    void NotifyFreeNotifies();
    void RunRemovalProtocol();

    TComponent* FOwner;
    // Whether this component is in its owner's list yet.
    bool FListed = false;
    AnsiString FName;
    Integer FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::unordered_map<AnsiString, TComponent*, TIdentifierHash, TIdentifierEqual> FNamed;
    std::vector<TComponent*> FFreeNotifies;
};

using TComponentClass = TClass;

// Creates a component of type T with AOwner (and further constructor
// arguments) and then inserts it into AOwner.
template <typename T, typename... Args> T* NewComponent(TComponent* AOwner, Args&&... Arguments) {
    std::unique_ptr<T> component(new T(AOwner, std::forward<Args>(Arguments)...));
    if (AOwner)
        AOwner->InsertComponent(component.get());
    return component.release();
}

// Points Field, a reference that Self keeps to another component, at Value,
// moving Self's free notification from the old target to the new one so
// that Self's Notification can clear the field when its target is freed.
// False when Field held Value already.
template <typename T> bool ReplaceComponentReference(TComponent* Self, T*& Field, T* Value) {
    if (Field == Value)
        return false;
    if (Field)
        Field->RemoveFreeNotification(Self);
    Field = Value;
    if (Value)
        Value->FreeNotification(Self);
    return true;
}

// The virtual constructor: a component of the class ComponentClass refers
// to, inserted into AOwner. EComponentError when the class is no component
// class with a constructor taking the owner.
TComponent* CreateComponent(TComponentClass ComponentClass, TComponent* AOwner);
// The same for a registered class name (EClassNotFound when unknown).
TComponent* CreateComponent(const AnsiString& AClassName, TComponent* AOwner);

// ---------------------------------------------------------------------------
// The application's report of an exception: the component library's
// application installs its HandleException here, so that code below it
// reports an exception as the application does.

using TApplicationHandleException = std::function<void(TObject* Sender)>;
extern TApplicationHandleException ApplicationHandleException;
// Reports the exception being handled (call it inside a catch block)
// through ApplicationHandleException; without one installed, or when that
// fails, its message goes to the standard error stream. Never raises.
void HandleApplicationException(TObject* Sender) noexcept;

// ---------------------------------------------------------------------------
// Class registry: classes that streams and tools create by name. Registering
// a class registers its ancestors up to TPersistent too; a name that is
// registered already is left as it is, so registration is idempotent.
//
// Class groups let two families register classes of one name: a class
// belongs to the group of its nearest ancestor that StartClassGroup or
// GroupDescendentsWith named, else to the default group (rooted at
// TPersistent). Names are unique within a group; lookups search the active
// group, then the default group.

void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> AClasses);
// Forgets the class under its name (a library that registered it goes away).
void UnRegisterClass(TClass AClass);
// Every registered class, of every group.
std::vector<TClass> GetRegisteredClasses();
// By name without regard to case; nullptr when not registered.
TClass GetClass(const AnsiString& AClassName);
// A new group for AClass and its descendants.
void StartClassGroup(TClass AClass);
// Descendants of AClass join the group AClassGroup belongs to.
void GroupDescendentsWith(TClass AClass, TClass AClassGroup);
// The root class of the group AClass belongs to.
TClass ClassGroupOf(TClass AClass);
// Makes the group AClass belongs to the active one; returns the root of the
// group that was active.
TClass ActivateClassGroup(TClass AClass);
// The same, raising EClassNotFound "Class %s not found".
TClass FindClass(const AnsiString& AClassName);
