// Actions: commands that controls and menu items share, kept in action lists.
//
// Linking
// -------
// A control or menu item whose Action is set gets an action link, declared
// with its client (TControlActionLink in Controls.h, TMenuActionLink in
// Menus.h): the link copies the action's Caption, Hint, Enabled, Visible
// (and for menu items Checked, ShortCut, ImageIndex) into its client at
// once, and the action passes every later change through its links. Clicking a linked client
// executes the action unless the client has an OnClick of its own.
//
// Executing and updating
// ----------------------
// Execute() asks, in turn: the action list's OnExecute, the action's own
// OnExecute, and then the targets: the screen's active form and the
// action's own form, each form itself first and then its controls, the
// first one the action HandlesTarget gets ExecuteTarget. Update() goes the
// same way with OnUpdate and UpdateTarget. A TCustomAction that is disabled
// after its update is not executed. The application updates the actions of
// every visible form whenever it is idle.
//
// Registration
// ------------
// RegisterActions files action classes under a category for the design
// tools (and registers the classes for streaming); EnumRegisteredActions
// lists them in registration order.
#pragma once

#include "clx/Controls.h"

class TBasicAction;
class TContainedAction;
class TCustomAction;
class TCustomActionList;
class TCustomForm;

// ---------------------------------------------------------------------------
// TBasicAction

class TBasicAction : public TComponent {
    ZX_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;
    // Every linked client lets go of the action.
    void BeforeDestruction() override;

    // OnExecute when assigned (True), else False.
    virtual bool Execute();
    // OnUpdate when assigned (True), else False.
    virtual bool Update();
    // Whether the action acts on Target; the targets of Execute and Update
    // are asked in turn (see the top).
    virtual bool HandlesTarget(TObject* Target);
    virtual void ExecuteTarget(TObject* Target);
    virtual void UpdateTarget(TObject* Target);

    // The client that executed the action last.
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* Value);

    Integer ClientCount() const { return static_cast<Integer>(FClients.size()); }
    TBasicActionLink* Clients(Integer Index) const;

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;
    // Any property of the action changed.
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void Change();
    // Runs Apply on every link.
    void ForEachLink(const std::function<void(TBasicActionLink&)>& Apply) const;

private:
    friend class TBasicActionLink;

    TComponent* FActionComponent = nullptr;
    std::vector<TBasicActionLink*> FClients;
};

// ---------------------------------------------------------------------------
// TContainedAction: an action in an action list.

class TContainedAction : public TBasicAction {
    ZX_CLASS(TContainedAction, TBasicAction)
public:
    using TBasicAction::TBasicAction;
    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TContainedAction>& P);

    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* Value);
    const AnsiString& Category() const { return FCategory; }
    void SetCategory(const AnsiString& Value);
    // Position in the list (-1 without one); setting it moves the action.
    Integer Index() const;
    void SetIndex(Integer Value);

    // The list's OnExecute, the action's OnExecute, then the targets.
    bool Execute() override;
    // The list's OnUpdate, the action's OnUpdate, then the targets.
    bool Update() override;

    // An action in a list is written inside it, one without a list at the
    // form's level; a form being read hands every action the component it
    // was written inside.
    bool HasParent() const override {
        return FActionList != nullptr || ComponentState().Contains(csReading);
    }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

private:
    friend class TCustomActionList;

    TCustomActionList* FActionList = nullptr;
    AnsiString FCategory;
};

// ---------------------------------------------------------------------------
// TCustomAction, TAction

class TCustomAction : public TContainedAction {
    ZX_CLASS(TCustomAction, TContainedAction)
public:
    using TContainedAction::TContainedAction;

    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& Value);
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Checking an action with a GroupIndex unchecks the others of its list
    // with the same GroupIndex.
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer Value);
    // Executing toggles Checked (in a group: only checks).
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer Value);
    Integer HelpContext() const { return FHelpContext; }
    void SetHelpContext(Integer Value);

    // Updates, then executes when enabled (see the top).
    bool Execute() override;

private:
    AnsiString FCaption;
    AnsiString FHint;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    Integer FGroupIndex = 0;
    bool FAutoCheck = false;
    TShortCut FShortCut = 0;
    Integer FImageIndex = -1;
    Integer FHelpContext = 0;
};

class TAction : public TCustomAction {
    ZX_CLASS(TAction, TCustomAction)
public:
    using TCustomAction::TCustomAction;
    static void PublishedProperties(TPropertyBuilder<TAction>& P);
};

// ---------------------------------------------------------------------------
// TCustomActionList, TActionList

// Handled starts False; a handler that sets it stops the action's own handling.
using TActionEvent = TEvent<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
    ZX_CLASS(TCustomActionList, TComponent)
public:
    explicit TCustomActionList(TComponent* AOwner);
    ~TCustomActionList() override;
    // The actions leave the list (they stay with their owner).
    void BeforeDestruction() override;

    Integer ActionCount() const { return static_cast<Integer>(FActions.size()); }
    // EListError for a bad index.
    TContainedAction* Actions(Integer Index) const;
    Integer IndexOf(const TContainedAction* Action) const;
    // The image list (a TCustomImageList) of the actions' ImageIndex.
    TComponent* Images() const { return FImages; }
    void SetImages(TComponent* Value);

    // The list's handlers; True when one handled the action.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);

    // The actions owned by Root, in list order.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TContainedAction;

    void AddAction(TContainedAction* Action);
    void RemoveAction(TContainedAction* Action);
    void MoveAction(TContainedAction* Action, Integer NewIndex);

    std::vector<TContainedAction*> FActions;
    TComponent* FImages = nullptr;
};

class TActionList : public TCustomActionList {
    ZX_CLASS(TActionList, TCustomActionList)
public:
    using TCustomActionList::TCustomActionList;
    static void PublishedProperties(TPropertyBuilder<TActionList>& P);
};

// The actions of the components Form owns get Update (the idle pass).
void UpdateFormActions(TCustomForm* Form);

// ---------------------------------------------------------------------------
// The action registry of the design tools

using TBasicActionClass = TClass;
using TEnumActionProc =
    std::function<void(const AnsiString& Category, TBasicActionClass ActionClass)>;

// Files the classes under Category (a class filed already moves there) and
// registers them for streaming. Classes that are no TBasicAction raise
// EInvalidOperation.
void RegisterActions(const AnsiString& Category, std::initializer_list<TBasicActionClass> Classes);
void UnRegisterActions(std::initializer_list<TBasicActionClass> Classes);
// In registration order.
void EnumRegisteredActions(const TEnumActionProc& Proc);
// An action of the class owned by AOwner.
TBasicAction* CreateAction(TComponent* AOwner, TBasicActionClass ActionClass);
