#include "designide/DesignEditors.h"

#include "clx/Forms.h"

namespace {

TEditStringListProc& EditStringListProc() {
    static TEditStringListProc proc;
    return proc;
}

// How much double-clicking prefers the event: OnCreate, then OnChange,
// then OnClick; 0 for the others.
Integer EventPreference(const DelphiInterface<IProperty>& Prop) {
    const char* preferred[] = {"OnClick", "OnChange", "OnCreate"};
    for (Integer rank = 3; rank > 0; --rank)
        if (SameText(Prop->GetName(), preferred[rank - 1]))
            return rank;
    return 0;
}

} // namespace

void SetEditStringListProc(TEditStringListProc Proc) { EditStringListProc() = std::move(Proc); }

void TPropertyEditor::Initialize(std::vector<TPersistent*> Components, PPropInfo PropInfo) {
    FComponents = std::move(Components);
    FPropInfo = PropInfo;
}

TPersistent* TPropertyEditor::GetComponent(Integer Index) const {
    if (Index < 0 || Index >= PropCount())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FComponents[static_cast<std::size_t>(Index)];
}

bool TPropertyEditor::AllEqual() {
    if (PropCount() <= 1)
        return true;
    AnsiString first = GetValue();
    std::vector<TPersistent*> all = FComponents;
    bool equal = true;
    for (std::size_t index = 1; index < all.size() && equal; ++index) {
        FComponents = {all[index]};
        equal = GetValue() == first;
    }
    FComponents = std::move(all);
    return equal;
}

void TPropertyEditor::Edit() {}

TPropertyAttributes TPropertyEditor::GetAttributes() { return TPropertyAttributes{paRevertable}; }

AnsiString TPropertyEditor::GetName() { return FPropInfo->Name; }

AnsiString TPropertyEditor::GetValue() {
    TPersistent* instance = GetComponent(0);
    switch (FPropInfo->PropType->Kind) {
    case tkInteger:
    case tkInt64:
        return IntToStr(GetInt64Prop(instance, FPropInfo));
    case tkChar:
        return AnsiString(1, static_cast<char>(GetOrdProp(instance, FPropInfo)));
    case tkEnumeration:
        return GetEnumProp(instance, FPropInfo);
    case tkSet:
        return GetSetProp(instance, FPropInfo, true);
    case tkFloat:
        return FloatToStr(GetFloatProp(instance, FPropInfo));
    case tkString:
    case tkLString:
    case tkWString:
        return GetStrProp(instance, FPropInfo);
    case tkClass: {
        TObject* object = GetObjectProp(instance, FPropInfo);
        return object ? "(" + object->ClassName() + ")" : AnsiString();
    }
    case tkMethod:
        return GetMethodProp(instance, FPropInfo).Name;
    default:
        return AnsiString();
    }
}

void TPropertyEditor::SetValue(const AnsiString& Value) {
    for (TPersistent* instance : FComponents) {
        switch (FPropInfo->PropType->Kind) {
        case tkInteger:
        case tkInt64:
            SetInt64Prop(instance, FPropInfo, StrToInt64(Value));
            break;
        case tkEnumeration:
            SetEnumProp(instance, FPropInfo, Value);
            break;
        case tkSet:
            SetSetProp(instance, FPropInfo, Value);
            break;
        case tkFloat:
            SetFloatProp(instance, FPropInfo, StrToFloat(Value));
            break;
        case tkString:
        case tkLString:
        case tkWString:
            SetStrProp(instance, FPropInfo, Value);
            break;
        default:
            throw EPropertyError("Property " + FPropInfo->Name + " cannot be set as text");
        }
    }
    Modified();
}

void TPropertyEditor::GetValues(const TGetStrProc&) {}

void TPropertyEditor::GetProperties(const TGetPropProc&) {}

void TPropertyEditor::Modified() {
    if (FDesigner)
        FDesigner->Modified();
}

Int64 TPropertyEditor::GetOrdValue() const { return GetInt64Prop(GetComponent(0), FPropInfo); }

void TPropertyEditor::SetOrdValue(Int64 Value) {
    for (TPersistent* instance : FComponents)
        SetInt64Prop(instance, FPropInfo, Value);
    Modified();
}

AnsiString TPropertyEditor::GetStrValue() const { return GetStrProp(GetComponent(0), FPropInfo); }

void TPropertyEditor::SetStrValue(const AnsiString& Value) {
    for (TPersistent* instance : FComponents)
        SetStrProp(instance, FPropInfo, Value);
    Modified();
}

TObject* TPropertyEditor::GetObjectValue() const { return GetObjectProp(GetComponent(0), FPropInfo); }

void TPropertyEditor::SetObjectValue(TObject* Value) {
    for (TPersistent* instance : FComponents)
        SetObjectProp(instance, FPropInfo, Value);
    Modified();
}

TPropertyAttributes TOrdinalProperty::GetAttributes() {
    return TPropertyEditor::GetAttributes() + TPropertyAttributes{paMultiSelect};
}

TPropertyAttributes TEnumProperty::GetAttributes() {
    return TOrdinalProperty::GetAttributes() + TPropertyAttributes{paValueList, paSortList};
}

void TEnumProperty::GetValues(const TGetStrProc& Proc) {
    for (const AnsiString& name : GetPropInfo()->PropType->EnumNames)
        Proc(name);
}

TPropertyAttributes TNamedIntegerProperty::GetAttributes() {
    return TOrdinalProperty::GetAttributes() + TPropertyAttributes{paValueList};
}

AnsiString TNamedIntegerProperty::GetValue() {
    return FNaming.ToString(static_cast<Integer>(GetOrdValue()));
}

void TNamedIntegerProperty::GetValues(const TGetStrProc& Proc) {
    FNaming.GetNames(Proc);
}

void TNamedIntegerProperty::SetValue(const AnsiString& Value) {
    SetOrdValue(FNaming.FromString(Value));
}

TColorProperty::TColorProperty(const _di_IDesigner& ADesigner)
    : TNamedIntegerProperty(ADesigner, {ColorToString, StringToColor, GetColorValues}) {}

TCursorProperty::TCursorProperty(const _di_IDesigner& ADesigner)
    : TNamedIntegerProperty(ADesigner, {CursorToString, StringToCursor, GetCursorValues}) {}

TPropertyAttributes TStringProperty::GetAttributes() {
    return TPropertyEditor::GetAttributes() + TPropertyAttributes{paMultiSelect};
}

TPropertyAttributes TClassProperty::GetAttributes() {
    return TPropertyAttributes{paSubProperties, paReadOnly};
}

void TClassProperty::GetProperties(const TGetPropProc& Proc) {
    if (auto* object = dynamic_cast<TPersistent*>(GetObjectValue()))
        GetComponentProperties(object, Designer(), Proc);
}

TPropertyAttributes TComponentProperty::GetAttributes() {
    return TPropertyEditor::GetAttributes() + TPropertyAttributes{paMultiSelect, paValueList, paSortList};
}

AnsiString TComponentProperty::GetValue() {
    auto* component = dynamic_cast<TComponent*>(GetObjectValue());
    if (!component)
        return AnsiString();
    return Designer() ? Designer()->GetComponentName(component) : component->Name();
}

void TComponentProperty::SetValue(const AnsiString& Value) {
    TComponent* component = nullptr;
    if (!Value.empty()) {
        component = Designer() ? Designer()->GetComponent(Value) : nullptr;
        if (!component || !component->InheritsFrom(GetPropInfo()->PropType->ClassType))
            throw EPropertyError("Invalid property value");
    }
    SetObjectValue(component);
}

void TComponentProperty::GetValues(const TGetStrProc& Proc) {
    if (Designer())
        Designer()->GetComponentNames(GetPropInfo()->PropType->ClassType, Proc);
}

TPropertyAttributes TMethodProperty::GetAttributes() {
    return TPropertyAttributes{paMultiSelect, paValueList, paSortList, paRevertable};
}

void TMethodProperty::SetValue(const AnsiString& Value) {
    TMethod method;
    if (!Value.empty() && Designer())
        method = Designer()->CreateMethod(Value, GetPropInfo()->PropType);
    method.Name = Value;
    for (Integer index = 0; index < PropCount(); ++index)
        SetMethodProp(GetComponent(index), GetPropInfo(), method);
    Modified();
}

void TMethodProperty::Edit() {
    AnsiString name = GetValue();
    if (name.empty()) {
        auto* component = dynamic_cast<TComponent*>(GetComponent(0));
        AnsiString event = GetName();
        if (event.size() > 2 && SameText(event.substr(0, 2), "On"))
            event = event.substr(2);
        AnsiString owner = component ? component->Name() : AnsiString();
        if (component && Designer() && component == Designer()->GetRoot())
            owner = component->InheritsFrom(TDataModule::StaticClass()) ? "DataModule" : "Form";
        name = owner + event;
        SetValue(name);
    }
    if (Designer())
        Designer()->ShowMethod(name);
}

TPropertyAttributes TStringListProperty::GetAttributes() {
    return TPropertyAttributes{paDialog, paRevertable};
}

void TStringListProperty::Edit() {
    auto* lines = dynamic_cast<TStrings*>(GetObjectValue());
    if (!lines || !EditStringListProc())
        return;
    TStringList edited;
    edited.Assign(lines);
    if (EditStringListProc()(GetName(), edited)) {
        lines->Assign(&edited);
        Modified();
    }
}

void TComponentEditor::Edit() {
    if (GetVerbCount() > 0)
        ExecuteVerb(0);
}

void TComponentEditor::ExecuteVerb(Integer) {}

AnsiString TComponentEditor::GetVerb(Integer) { return AnsiString(); }

Integer TComponentEditor::GetVerbCount() { return 0; }

void TDefaultEditor::Edit() {
    FFirst.Reset();
    FBest.Reset();
    bool goOn = true;
    GetComponentProperties(Component(), Designer(), [&](const DelphiInterface<IProperty>& Prop) {
        if (goOn)
            EditProperty(Prop, goOn);
    });
    DelphiInterface<IProperty> chosen = FBest ? FBest : FFirst;
    FFirst.Reset();
    FBest.Reset();
    if (goOn && chosen)
        chosen->Edit();
}

void TDefaultEditor::EditProperty(const DelphiInterface<IProperty>& Prop, bool&) {
    if (Prop->GetPropInfo()->PropType->Kind != tkMethod)
        return;
    if (!FFirst)
        FFirst = Prop;
    Integer preference = EventPreference(Prop);
    if (preference > 0 && (!FBest || preference > EventPreference(FBest)))
        FBest = Prop;
}
