// What packages register, filed under the module that registered it.
#include "designide/DesignEditors.h"
#include "designide/DesignRegistry.h"
#include "designide/ExptIntf.h"

#include <algorithm>
#include <tuple>

namespace {

struct TComponentEditorEntry {
    TClass ComponentClass;
    TComponentEditorClass Editor;
    const void* Module;
};

struct TPropertyEditorEntry {
    PTypeInfo PropertyType;
    TClass ComponentClass;
    AnsiString PropertyName;
    TPropertyEditorClass Editor;
    const void* Module;
};

struct TExpertEntry {
    TIExpert* Expert;
    const void* Module;
};

struct TDesignRegistry {
    const void* Module = nullptr;
    std::vector<std::pair<TPaletteEntry, const void*>> Palette;
    std::vector<std::pair<TActionEntry, const void*>> Actions;
    std::vector<TComponentEditorEntry> ComponentEditors;
    std::vector<TPropertyEditorEntry> PropertyEditors;
    std::vector<TExpertEntry> Experts;
};

TDesignRegistry& Registry() {
    static TDesignRegistry registry;
    return registry;
}

Integer ClassDepth(TClass AClass) {
    Integer depth = 0;
    for (; AClass; AClass = AClass->Parent)
        ++depth;
    return depth;
}

bool IsStringKind(TTypeKind Kind) { return Kind == tkString || Kind == tkLString || Kind == tkWString; }

bool TypeMatches(PTypeInfo Registered, PTypeInfo Property) {
    if (Registered == Property)
        return true;
    if (Registered->Kind == tkClass)
        return Property->Kind == tkClass && ClassInheritsFrom(Property->ClassType, Registered->ClassType);
    // The 8-bit string type stands for every plain string property, wide
    // ones too; a string type of another name only for its own.
    if (Registered == TypeInfo<AnsiString>())
        return IsStringKind(Property->Kind);
    return Registered->Kind == Property->Kind && SameText(Registered->Name, Property->Name);
}

// The editor for the property's kind when no registration matches.
std::unique_ptr<TPropertyEditor> DefaultPropertyEditor(PPropInfo PropInfo,
                                                       const _di_IDesigner& Designer) {
    PTypeInfo type = PropInfo->PropType;
    switch (type->Kind) {
    case tkClass:
        if (ClassInheritsFrom(type->ClassType, TComponent::StaticClass()))
            return std::make_unique<TComponentProperty>(Designer);
        if (ClassInheritsFrom(type->ClassType, TStrings::StaticClass()))
            return std::make_unique<TStringListProperty>(Designer);
        return std::make_unique<TClassProperty>(Designer);
    case tkEnumeration:
        return std::make_unique<TEnumProperty>(Designer);
    case tkInteger:
        if (SameText(type->Name, "TColor"))
            return std::make_unique<TColorProperty>(Designer);
        if (SameText(type->Name, "TCursor"))
            return std::make_unique<TCursorProperty>(Designer);
        return std::make_unique<TOrdinalProperty>(Designer);
    case tkChar:
    case tkWChar:
    case tkInt64:
        return std::make_unique<TOrdinalProperty>(Designer);
    case tkString:
    case tkLString:
    case tkWString:
        return std::make_unique<TStringProperty>(Designer);
    case tkMethod:
        return std::make_unique<TMethodProperty>(Designer);
    default:
        return std::make_unique<TPropertyEditor>(Designer);
    }
}

// Hands a property editor out as IProperty.
class TPropertyIntf : public TInterfacedObject, public IProperty {
public:
    explicit TPropertyIntf(std::unique_ptr<TPropertyEditor> Editor) : FEditor(std::move(Editor)) {}
    bool QueryInterface(const TGUID&, void** Obj) override {
        *Obj = nullptr;
        return false;
    }
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }
    void Activate() override { FEditor->Activate(); }
    bool AllEqual() override { return FEditor->AllEqual(); }
    void Edit() override { FEditor->Edit(); }
    TPropertyAttributes GetAttributes() override { return FEditor->GetAttributes(); }
    AnsiString GetName() override { return FEditor->GetName(); }
    AnsiString GetValue() override { return FEditor->GetValue(); }
    void SetValue(const AnsiString& Value) override { FEditor->SetValue(Value); }
    void GetValues(const TGetStrProc& Proc) override { FEditor->GetValues(Proc); }
    TPersistent* GetComponent(Integer Index) override { return FEditor->GetComponent(Index); }
    PPropInfo GetPropInfo() override { return FEditor->GetPropInfo(); }
    void GetProperties(const TGetPropProc& Proc) override { FEditor->GetProperties(Proc); }

private:
    std::unique_ptr<TPropertyEditor> FEditor;
};

} // namespace

void RegisterComponents(const AnsiString& Page, std::initializer_list<TClass> ComponentClasses) {
    for (TClass each : ComponentClasses) {
        RegisterClass(each);
        Registry().Palette.emplace_back(TPaletteEntry{Page, each}, Registry().Module);
    }
}

void RegisterActions(const AnsiString& CategoryName, std::initializer_list<TClass> ActionClasses,
                     TComponent*) {
    for (TClass each : ActionClasses) {
        RegisterClass(each);
        Registry().Actions.emplace_back(TActionEntry{CategoryName, each}, Registry().Module);
    }
}

void RegisterComponentEditor(TClass ComponentClass, TComponentEditorClass ComponentEditor) {
    Registry().ComponentEditors.push_back(
        TComponentEditorEntry{ComponentClass, std::move(ComponentEditor), Registry().Module});
}

void RegisterPropertyEditor(PTypeInfo PropertyType, TClass ComponentClass,
                            const AnsiString& PropertyName, TPropertyEditorClass EditorClass) {
    Registry().PropertyEditors.push_back(TPropertyEditorEntry{
        PropertyType, ComponentClass, PropertyName, std::move(EditorClass), Registry().Module});
}

std::vector<TPaletteEntry> GetPaletteEntries() {
    std::vector<TPaletteEntry> result;
    for (const auto& entry : Registry().Palette)
        result.push_back(entry.first);
    return result;
}

std::vector<TActionEntry> GetRegisteredActions() {
    std::vector<TActionEntry> result;
    for (const auto& entry : Registry().Actions)
        result.push_back(entry.first);
    return result;
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component,
                                                     const _di_IDesigner& Designer) {
    const TComponentEditorEntry* best = nullptr;
    for (const TComponentEditorEntry& entry : Registry().ComponentEditors)
        if (Component->InheritsFrom(entry.ComponentClass) &&
            (!best || ClassDepth(entry.ComponentClass) >= ClassDepth(best->ComponentClass)))
            best = &entry;
    if (!best)
        return std::make_unique<TDefaultEditor>(Component, Designer);
    return std::unique_ptr<TComponentEditor>(best->Editor(Component, Designer));
}

std::unique_ptr<TPropertyEditor> GetPropertyEditor(TPersistent* Instance, PPropInfo PropInfo,
                                                   const _di_IDesigner& Designer) {
    const TPropertyEditorEntry* best = nullptr;
    std::tuple<bool, Integer, Integer> bestRank;
    for (const TPropertyEditorEntry& entry : Registry().PropertyEditors) {
        if (!TypeMatches(entry.PropertyType, PropInfo->PropType))
            continue;
        if (entry.ComponentClass && !Instance->InheritsFrom(entry.ComponentClass))
            continue;
        if (!entry.PropertyName.empty() && !SameText(entry.PropertyName, PropInfo->Name))
            continue;
        // A named registration before one for every name, then the nearer
        // component class, then the nearer property type; the latest of equals.
        std::tuple<bool, Integer, Integer> rank{
            !entry.PropertyName.empty(), entry.ComponentClass ? ClassDepth(entry.ComponentClass) : 0,
            entry.PropertyType->Kind == tkClass ? ClassDepth(entry.PropertyType->ClassType) : 0};
        if (!best || rank >= bestRank) {
            best = &entry;
            bestRank = rank;
        }
    }
    std::unique_ptr<TPropertyEditor> editor =
        best ? std::unique_ptr<TPropertyEditor>(best->Editor(Designer))
             : DefaultPropertyEditor(PropInfo, Designer);
    editor->Initialize({Instance}, PropInfo);
    return editor;
}

void GetComponentProperties(TPersistent* Instance, const _di_IDesigner& Designer,
                            const TGetPropProc& Proc) {
    for (PPropInfo info : GetPropList(Instance, tkAny))
        Proc(DelphiInterface<IProperty>(new TPropertyIntf(GetPropertyEditor(Instance, info, Designer))));
}

void SetRegisteringModule(const void* Module) { Registry().Module = Module; }

const void* RegisteringModule() { return Registry().Module; }

void UnRegisterModuleEditors(const void* Module) {
    TDesignRegistry& registry = Registry();
    std::erase_if(registry.Palette, [Module](const auto& E) { return E.second == Module; });
    std::erase_if(registry.Actions, [Module](const auto& E) { return E.second == Module; });
    std::erase_if(registry.ComponentEditors, [Module](const auto& E) { return E.Module == Module; });
    std::erase_if(registry.PropertyEditors, [Module](const auto& E) { return E.Module == Module; });
}

bool RegisterLibraryExpert(TIExpert* Expert) {
    for (const TExpertEntry& entry : Registry().Experts)
        if (entry.Expert->GetIDString() == Expert->GetIDString()) {
            Expert->Release();
            return false;
        }
    Registry().Experts.push_back(TExpertEntry{Expert, Registry().Module});
    return true;
}

std::vector<TIExpert*> GetLibraryExperts() {
    std::vector<TIExpert*> result;
    for (const TExpertEntry& entry : Registry().Experts)
        result.push_back(entry.Expert);
    return result;
}

void ReleaseModuleExperts(const void* Module) {
    std::vector<TExpertEntry>& experts = Registry().Experts;
    // The latest first, as they were made; each is gone from the list
    // before its destructor runs, so it may look at the others.
    for (std::size_t index = experts.size(); index-- > 0;) {
        if (index >= experts.size() || experts[index].Module != Module)
            continue;
        TIExpert* expert = experts[index].Expert;
        experts.erase(experts.begin() + static_cast<std::ptrdiff_t>(index));
        expert->Release();
    }
}
