#include "clx/ActnList.h"

#include "clx/Forms.h"
#include "clx/Menus.h"

#include <algorithm>

namespace {

TCustomForm* FormOf(TComponent* Component) {
    for (; Component; Component = Component->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(Component))
            return form;
    return nullptr;
}

// Offers the action to Target; True when Target took it.
bool OfferTarget(TBasicAction* Action, TObject* Target, bool Execute) {
    if (!Action->HandlesTarget(Target))
        return false;
    if (Execute)
        Action->ExecuteTarget(Target);
    else
        Action->UpdateTarget(Target);
    return true;
}

bool OfferControls(TBasicAction* Action, TWinControl* Container, bool Execute) {
    for (Integer index = 0; index < Container->ControlCount(); ++index) {
        TControl* control = Container->Controls(index);
        if (!control->Visible())
            continue;
        if (OfferTarget(Action, control, Execute))
            return true;
        if (auto* inner = dynamic_cast<TWinControl*>(control))
            if (OfferControls(Action, inner, Execute))
                return true;
    }
    return false;
}

// The screen's active form, then the action's own form: each form itself,
// then its visible controls.
bool OfferTargets(TBasicAction* Action, bool Execute) {
    TCustomForm* forms[] = {Screen->ActiveForm(), FormOf(Action)};
    if (forms[0] == forms[1])
        forms[1] = nullptr;
    for (TCustomForm* form : forms)
        if (form && (OfferTarget(Action, form, Execute) || OfferControls(Action, form, Execute)))
            return true;
    return false;
}

struct TRegisteredAction {
    AnsiString Category;
    TBasicActionClass ActionClass;
};

std::vector<TRegisteredAction>& RegisteredActions() {
    static std::vector<TRegisteredAction> registered;
    return registered;
}

void ForgetAction(TBasicActionClass ActionClass) {
    std::erase_if(RegisteredActions(), [ActionClass](const TRegisteredAction& Entry) {
        return Entry.ActionClass == ActionClass;
    });
}

} // namespace

// ---------------------------------------------------------------------------
// Links

TBasicActionLink::~TBasicActionLink() {
    if (FAction)
        std::erase(FAction->FClients, this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (FAction == Value)
        return;
    if (FAction)
        std::erase(FAction->FClients, this);
    FAction = Value;
    if (!Value)
        return;
    Value->FClients.push_back(this);
    ActionChanged();
}

void TBasicActionLink::ActionChanged() {
    auto* action = dynamic_cast<TCustomAction*>(FAction);
    if (!action)
        return;
    SetCaption(action->Caption());
    SetHint(action->Hint());
    SetEnabled(action->Enabled());
    SetVisible(action->Visible());
    SetChecked(action->Checked());
    SetShortCut(action->ShortCut());
    SetImageIndex(action->ImageIndex());
    SetHelpContext(action->HelpContext());
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
    if (!FAction)
        return false;
    FAction->SetActionComponent(AComponent);
    return FAction->Execute();
}

bool TBasicActionLink::Update() {
    return FAction && FAction->Update();
}

// ---------------------------------------------------------------------------
// TBasicAction

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
    while (!FClients.empty())
        FClients.back()->SetAction(nullptr);
}

void TBasicAction::BeforeDestruction() {
    TComponent::BeforeDestruction();
    while (!FClients.empty())
        FClients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute() {
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

bool TBasicAction::HandlesTarget(TObject*) {
    return false;
}

void TBasicAction::ExecuteTarget(TObject*) {}

void TBasicAction::UpdateTarget(TObject*) {}

void TBasicAction::SetActionComponent(TComponent* Value) {
    ReplaceComponentReference(this, FActionComponent, Value);
}

TBasicActionLink* TBasicAction::Clients(Integer Index) const {
    if (Index < 0 || Index >= ClientCount())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FClients[static_cast<std::size_t>(Index)];
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FActionComponent)
        FActionComponent = nullptr;
}

void TBasicAction::Change() {
    if (OnChange)
        OnChange(this);
}

void TBasicAction::ForEachLink(const std::function<void(TBasicActionLink&)>& Apply) const {
    // A client may drop its link while it takes the change.
    const std::vector<TBasicActionLink*> links = FClients;
    for (TBasicActionLink* link : links)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            Apply(*link);
}

// ---------------------------------------------------------------------------
// TContainedAction

void TContainedAction::BeforeDestruction() {
    TBasicAction::BeforeDestruction();
    SetActionList(nullptr);
}

void TContainedAction::PublishedProperties(TPropertyBuilder<TContainedAction>& P) {
    P.Property("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
    if (FActionList == Value)
        return;
    if (FActionList)
        FActionList->RemoveAction(this);
    if (Value)
        Value->AddAction(this);
}

void TContainedAction::SetCategory(const AnsiString& Value) {
    if (FCategory == Value)
        return;
    FCategory = Value;
    Change();
}

Integer TContainedAction::Index() const {
    return FActionList ? FActionList->IndexOf(this) : -1;
}

void TContainedAction::SetIndex(Integer Value) {
    if (FActionList)
        FActionList->MoveAction(this, Value);
}

bool TContainedAction::Execute() {
    return (FActionList && FActionList->ExecuteAction(this)) || TBasicAction::Execute() ||
           OfferTargets(this, true);
}

bool TContainedAction::Update() {
    return (FActionList && FActionList->UpdateAction(this)) || TBasicAction::Update() ||
           OfferTargets(this, false);
}

TComponent* TContainedAction::GetParentComponent() const {
    return FActionList;
}

void TContainedAction::SetParentComponent(TComponent* Value) {
    if (auto* list = dynamic_cast<TCustomActionList*>(Value))
        SetActionList(list);
}

// ---------------------------------------------------------------------------
// TCustomAction

void TCustomAction::SetCaption(const AnsiString& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    ForEachLink([&](TBasicActionLink& Link) { Link.SetCaption(Value); });
    Change();
}

void TCustomAction::SetHint(const AnsiString& Value) {
    if (FHint == Value)
        return;
    FHint = Value;
    ForEachLink([&](TBasicActionLink& Link) { Link.SetHint(Value); });
    Change();
}

void TCustomAction::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    ForEachLink([&](TBasicActionLink& Link) { Link.SetEnabled(Value); });
    Change();
}

void TCustomAction::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    ForEachLink([&](TBasicActionLink& Link) { Link.SetVisible(Value); });
    Change();
}

void TCustomAction::SetChecked(bool Value) {
    if (FChecked == Value)
        return;
    FChecked = Value;
    ForEachLink([&](TBasicActionLink& Link) { Link.SetChecked(Value); });
    if (Value && FGroupIndex > 0 && ActionList() && !ComponentState().Contains(csLoading))
        for (Integer index = 0; index < ActionList()->ActionCount(); ++index) {
            auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(index));
            if (other && other != this && other->FGroupIndex == FGroupIndex)
                other->SetChecked(false);
        }
    Change();
}

void TCustomAction::SetGroupIndex(Integer Value) {
    if (FGroupIndex == Value)
        return;
    FGroupIndex = Value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
    if (FShortCut == Value)
        return;
    FShortCut = Value;
    ForEachLink([&](TBasicActionLink& Link) { Link.SetShortCut(Value); });
    Change();
}

void TCustomAction::SetImageIndex(Integer Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    ForEachLink([&](TBasicActionLink& Link) { Link.SetImageIndex(Value); });
    Change();
}

void TCustomAction::SetHelpContext(Integer Value) {
    if (FHelpContext == Value)
        return;
    FHelpContext = Value;
    ForEachLink([&](TBasicActionLink& Link) { Link.SetHelpContext(Value); });
    Change();
}

bool TCustomAction::Execute() {
    Update();
    if (!FEnabled)
        return false;
    if (FAutoCheck && (!FChecked || FGroupIndex == 0))
        SetChecked(!FChecked);
    return TContainedAction::Execute();
}

void TAction::PublishedProperties(TPropertyBuilder<TAction>& P) {
    P.Property("AutoCheck", &TAction::AutoCheck, &TAction::SetAutoCheck).Default(false);
    P.Property("Caption", &TAction::Caption, &TAction::SetCaption).TypeName("TCaption");
    P.Property("Checked", &TAction::Checked, &TAction::SetChecked).Default(false);
    P.Property("Enabled", &TAction::Enabled, &TAction::SetEnabled).Default(true);
    P.Property("GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex).Default(0);
    P.Property("HelpContext", &TAction::HelpContext, &TAction::SetHelpContext)
        .TypeName("THelpContext")
        .Default(0);
    P.Property("Hint", &TAction::Hint, &TAction::SetHint);
    P.Property("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex)
        .TypeName("TImageIndex")
        .Default(-1);
    P.Property("ShortCut", &TAction::ShortCut, &TAction::SetShortCut)
        .TypeName("TShortCut")
        .Default(scNone);
    P.Property("Visible", &TAction::Visible, &TAction::SetVisible).Default(true);
    P.Property("OnExecute", &TAction::OnExecute);
    P.Property("OnUpdate", &TAction::OnUpdate);
}

// ---------------------------------------------------------------------------
// TCustomActionList

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomActionList::~TCustomActionList() {
    while (!FActions.empty())
        RemoveAction(FActions.back());
}

void TCustomActionList::BeforeDestruction() {
    TComponent::BeforeDestruction();
    while (!FActions.empty())
        RemoveAction(FActions.back());
}

TContainedAction* TCustomActionList::Actions(Integer Index) const {
    if (Index < 0 || Index >= ActionCount())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FActions[static_cast<std::size_t>(Index)];
}

Integer TCustomActionList::IndexOf(const TContainedAction* Action) const {
    auto found = std::find(FActions.begin(), FActions.end(), Action);
    return found == FActions.end() ? -1 : static_cast<Integer>(found - FActions.begin());
}

void TCustomActionList::SetImages(TComponent* Value) {
    ReplaceComponentReference(this, FImages, Value);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
    bool handled = false;
    if (OnExecute)
        OnExecute(Action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
    bool handled = false;
    if (OnUpdate)
        OnUpdate(Action, handled);
    return handled;
}

void TCustomActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (TContainedAction* action : FActions)
        if (action->Owner() == Root)
            Proc(action);
}

void TCustomActionList::AddAction(TContainedAction* Action) {
    FActions.push_back(Action);
    Action->FActionList = this;
    if (OnChange)
        OnChange(this);
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
    std::erase(FActions, Action);
    Action->FActionList = nullptr;
    if (OnChange && !ComponentState().Contains(csDestroying))
        OnChange(this);
}

void TCustomActionList::MoveAction(TContainedAction* Action, Integer NewIndex) {
    Integer current = IndexOf(Action);
    NewIndex = std::clamp(NewIndex, 0, ActionCount() - 1);
    if (current < 0 || current == NewIndex)
        return;
    FActions.erase(FActions.begin() + current);
    FActions.insert(FActions.begin() + NewIndex, Action);
}

void TActionList::PublishedProperties(TPropertyBuilder<TActionList>& P) {
    P.Property("Images", &TActionList::Images, &TActionList::SetImages)
        .TypeName("TCustomImageList");
    P.Property("OnChange", &TActionList::OnChange);
    P.Property("OnExecute", &TActionList::OnExecute);
    P.Property("OnUpdate", &TActionList::OnUpdate);
}

// ---------------------------------------------------------------------------
// Idle updates and the registry

void UpdateFormActions(TCustomForm* Form) {
    if (Form->ComponentState().Contains(csDesigning))
        return;
    for (Integer index = 0; index < Form->ComponentCount(); ++index)
        if (auto* action = dynamic_cast<TBasicAction*>(Form->Components(index)))
            action->Update();
}

void RegisterActions(const AnsiString& Category, std::initializer_list<TBasicActionClass> Classes) {
    for (TBasicActionClass actionClass : Classes)
        if (!actionClass || !ClassInheritsFrom(actionClass, TBasicAction::StaticClass()))
            throw EInvalidOperation(Format("%s is no action class",
                                           {AnsiString(actionClass ? actionClass->Name : "nil")}));
    for (TBasicActionClass actionClass : Classes) {
        ForgetAction(actionClass);
        RegisteredActions().push_back({Category, actionClass});
        RegisterClass(actionClass);
    }
}

void UnRegisterActions(std::initializer_list<TBasicActionClass> Classes) {
    for (TBasicActionClass actionClass : Classes)
        ForgetAction(actionClass);
}

void EnumRegisteredActions(const TEnumActionProc& Proc) {
    const std::vector<TRegisteredAction> registered = RegisteredActions();
    for (const TRegisteredAction& entry : registered)
        Proc(entry.Category, entry.ActionClass);
}

TBasicAction* CreateAction(TComponent* AOwner, TBasicActionClass ActionClass) {
    if (!ActionClass || !ClassInheritsFrom(ActionClass, TBasicAction::StaticClass()))
        throw EInvalidOperation("No action class");
    return static_cast<TBasicAction*>(CreateComponent(ActionClass, AOwner));
}
