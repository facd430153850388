#include "rtl/Components.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <mutex>

namespace {

const char* const SInvalidName = "Component name \"%s\" is not a valid identifier";
const char* const SDuplicateName = "A component named %s already exists";
const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SNoComponentClass = "Cannot create a component of class %s";
const char* const SClassNotFound = "Class %s not found";

bool IsIdentifierStart(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}

bool IsIdentifierChar(char C) {
    return IsIdentifierStart(C) || (C >= '0' && C <= '9');
}

bool IsValidIdent(const AnsiString& Ident) {
    return !Ident.empty() && IsIdentifierStart(Ident[0]) &&
           std::all_of(Ident.begin() + 1, Ident.end(), IsIdentifierChar);
}

} // namespace

// ---------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
    if (AOwner && AOwner->FComponentState.Contains(csDesigning))
        FComponentState.Include(csDesigning);
}

TComponent::~TComponent() {
    RunRemovalProtocol();
}

void TComponent::BeforeDestruction() {
    TPersistent::BeforeDestruction();
    RunRemovalProtocol();
}

// Idempotent: the second run, from the destructor, finds nothing left to do.
void TComponent::RunRemovalProtocol() {
    Destroying();
    NotifyFreeNotifies();
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::PublishedProperties(TPropertyBuilder<TComponent>& P) {
    // Streams carry the name in the object header, not as a property.
    P.Property("Name", &TComponent::Name, &TComponent::SetName)
        .TypeName("TComponentName")
        .Stored(false);
    P.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

void TComponent::SetName(const AnsiString& NewName) {
    if (FName == NewName)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(Format(SInvalidName, {NewName}));
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    ChangeName(NewName);
}

void TComponent::ChangeName(const AnsiString& NewName) {
    if (FOwner && FListed) {
        if (!FName.empty())
            FOwner->FNamed.erase(FName);
        if (!NewName.empty())
            FOwner->FNamed.emplace(NewName, this);
    }
    FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                const AnsiString& NewName) {
    if (AComponent && !TIdentifierEqual()(CurName, NewName) && AComponent->FOwner == this &&
        FindComponent(NewName))
        throw EComponentError(Format(SDuplicateName, {NewName}));
    if (FComponentState.Contains(csDesigning) && FOwner)
        FOwner->ValidateRename(AComponent, CurName, NewName);
}

TComponent* TComponent::Components(Integer Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Format(SListIndexError, {Index}));
    return FComponents[static_cast<std::size_t>(Index)];
}

Integer TComponent::ComponentIndex() const {
    if (!FOwner || !FListed)
        return -1;
    const std::vector<TComponent*>& siblings = FOwner->FComponents;
    return static_cast<Integer>(std::find(siblings.begin(), siblings.end(), this) -
                                siblings.begin());
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
    if (AName.empty())
        return nullptr;
    auto found = FNamed.find(AName);
    return found == FNamed.end() ? nullptr : found->second;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent->FOwner && AComponent->FListed)
        AComponent->FOwner->RemoveComponent(AComponent);
    if (FindComponent(AComponent->FName)) {
        AComponent->FOwner = nullptr;
        throw EComponentError(Format(SDuplicateName, {AComponent->FName}));
    }
    ValidateRename(AComponent, AnsiString(), AComponent->FName);
    Insert(AComponent);
    if (FComponentState.Contains(csDesigning))
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (AComponent->FOwner != this)
        return;
    if (AComponent->FListed)
        Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    if (!AComponent->FName.empty())
        FNamed.emplace(AComponent->FName, AComponent);
    AComponent->FOwner = this;
    AComponent->FListed = true;
}

void TComponent::Remove(TComponent* AComponent) {
    if (AComponent->FListed) {
        auto found = std::find(FComponents.rbegin(), FComponents.rend(), AComponent);
        FComponents.erase(std::next(found).base());
        if (!AComponent->FName.empty())
            FNamed.erase(AComponent->FName);
    }
    AComponent->FOwner = nullptr;
    AComponent->FListed = false;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        if (instance->FComponentState.Contains(csFreeNotification))
            RemoveComponent(instance);
        else
            Remove(instance);
        delete instance;
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* component : FComponents)
        component->Destroying();
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
    SetComponentState(csDesigning, Value);
    if (SetChildren)
        for (TComponent* component : FComponents)
            component->SetDesigning(Value);
}

void TComponent::SetComponentState(TComponentStateItem Item, bool Value) {
    if (Value)
        FComponentState.Include(Item);
    else
        FComponentState.Exclude(Item);
}

void TComponent::Loaded() {
    SetComponentState(csLoading, false);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    for (Integer index = ComponentCount() - 1; index >= 0; --index) {
        FComponents[static_cast<std::size_t>(index)]->Notification(AComponent, Operation);
        index = std::min(index, ComponentCount());
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (FComponentState.Contains(csDestroying) ||
        AComponent->FComponentState.Contains(csDestroying))
        return;
    if (!FOwner || AComponent->FOwner != FOwner) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) ==
            FFreeNotifies.end()) {
            FFreeNotifies.push_back(AComponent);
            AComponent->FreeNotification(this);
        }
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    std::erase(FFreeNotifies, AComponent);
}

// Each partner is unlinked before it hears of it, so a partner that frees
// others, or this component's other partners, leaves the list consistent.
void TComponent::NotifyFreeNotifies() {
    while (!FFreeNotifies.empty()) {
        TComponent* partner = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        partner->RemoveNotification(this);
        partner->Notification(this, opRemove);
    }
}

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    if (Root != this)
        return;
    for (Integer index = 0; index < ComponentCount(); ++index) {
        TComponent* component = FComponents[static_cast<std::size_t>(index)];
        if (!component->HasParent())
            Proc(component);
    }
}

// ---------------------------------------------------------------------------
// Creation by class

TComponent* CreateComponent(TComponentClass ComponentClass, TComponent* AOwner) {
    if (!ComponentClass || !ClassInheritsFrom(ComponentClass, TComponent::StaticClass()) ||
        !ComponentClass->Construct)
        throw EComponentError(
            Format(SNoComponentClass, {ComponentClass ? ComponentClass->Name : "nil"}));
    std::unique_ptr<TComponent> component(
        dynamic_cast<TComponent*>(ComponentClass->Construct(AOwner)));
    if (AOwner)
        AOwner->InsertComponent(component.get());
    return component.release();
}

TComponent* CreateComponent(const AnsiString& AClassName, TComponent* AOwner) {
    return CreateComponent(FindClass(AClassName), AOwner);
}

// ---------------------------------------------------------------------------
// Class registry

namespace {

// Classes live in groups, so that two libraries may each register a class
// of one name (a run-time and a design-time family). Group 0, rooted at
// TPersistent, holds every class no grouping names; a lookup searches the
// active group, then group 0.
struct TClassGroup {
    TClass Root;
    std::unordered_map<AnsiString, TClass, TIdentifierHash, TIdentifierEqual> Classes;
};

struct TGroupingRule {
    TClass Descendants;
    std::size_t Group;
};

struct TClassRegistry {
    std::mutex Lock;
    std::vector<TClassGroup> Groups{TClassGroup{TPersistent::StaticClass(), {}}};
    std::vector<TGroupingRule> Rules;
    std::size_t Active = 0;

    // The group of the nearest ancestor that a rule names.
    std::size_t GroupOf(TClass AClass) const {
        for (TClass each = AClass; each; each = each->Parent)
            for (auto rule = Rules.rbegin(); rule != Rules.rend(); ++rule)
                if (rule->Descendants == each)
                    return rule->Group;
        return 0;
    }
    TClass Find(const AnsiString& Name) const {
        for (std::size_t group : {Active, std::size_t{0}}) {
            auto found = Groups[group].Classes.find(Name);
            if (found != Groups[group].Classes.end())
                return found->second;
        }
        return nullptr;
    }
};

TClassRegistry& Registry() {
    static TClassRegistry registry;
    return registry;
}

} // namespace

void RegisterClass(TClass AClass) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    for (TClass each = AClass; each && each != TObject::StaticClass(); each = each->Parent) {
        registry.Groups[registry.GroupOf(each)].Classes.try_emplace(each->Name, each);
        if (each == TPersistent::StaticClass())
            break;
    }
}

void RegisterClasses(std::initializer_list<TClass> AClasses) {
    for (TClass each : AClasses)
        RegisterClass(each);
}

void UnRegisterClass(TClass AClass) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    for (TClassGroup& group : registry.Groups) {
        auto found = group.Classes.find(AClass->Name);
        if (found != group.Classes.end() && found->second == AClass)
            group.Classes.erase(found);
    }
}

std::vector<TClass> GetRegisteredClasses() {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    std::vector<TClass> result;
    for (const TClassGroup& group : registry.Groups)
        for (const auto& entry : group.Classes)
            result.push_back(entry.second);
    return result;
}

TClass GetClass(const AnsiString& AClassName) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    return registry.Find(AClassName);
}

void StartClassGroup(TClass AClass) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    std::size_t existing = registry.GroupOf(AClass);
    if (existing != 0 && registry.Groups[existing].Root == AClass)
        return;
    registry.Groups.push_back(TClassGroup{AClass, {}});
    registry.Rules.push_back(TGroupingRule{AClass, registry.Groups.size() - 1});
}

void GroupDescendentsWith(TClass AClass, TClass AClassGroup) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    registry.Rules.push_back(TGroupingRule{AClass, registry.GroupOf(AClassGroup)});
}

TClass ClassGroupOf(TClass AClass) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    return registry.Groups[registry.GroupOf(AClass)].Root;
}

TClass ActivateClassGroup(TClass AClass) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    TClass previous = registry.Groups[registry.Active].Root;
    registry.Active = registry.GroupOf(AClass);
    return previous;
}

TClass FindClass(const AnsiString& AClassName) {
    TClass found = GetClass(AClassName);
    if (!found)
        throw EClassNotFound(Format(SClassNotFound, {AClassName}));
    return found;
}

// ---------------------------------------------------------------------------
// The application's report of an exception

TApplicationHandleException ApplicationHandleException;

namespace {

// The message of the exception being handled; empty for EAbort, which is
// never reported.
AnsiString CurrentExceptionMessage() {
    try {
        throw;
    } catch (const EAbort&) {
        return AnsiString();
    } catch (const Exception& E) {
        return E.Message();
    } catch (const std::exception& E) {
        return E.what();
    } catch (...) {
        return "Unknown exception";
    }
}

} // namespace

void HandleApplicationException(TObject* Sender) noexcept {
    if (!std::current_exception())
        return;
    try {
        if (ApplicationHandleException) {
            ApplicationHandleException(Sender);
            return;
        }
    } catch (...) {
    }
    const AnsiString message = CurrentExceptionMessage();
    if (!message.empty())
        std::fprintf(stderr, "%s\n", message.c_str());
}
