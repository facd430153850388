// Extended translations: items that translate any published property named
// by a dotted path, the resolution of such paths, the property's value as
// text, and the component operations that apply, capture and re-delimit the
// items' values.
#include "runtime/QzxComp_Engine.h"

#include "rtl/Filer.h"

#include <algorithm>
#include <optional>

namespace {

// The property a path ends in: its holder and its information.
struct TPathTarget {
    TObject* Object = nullptr;
    PPropInfo Prop = nullptr;
};

// One element of a path: a property name and, for a collection, the index
// of the item in brackets.
struct TPathElement {
    AnsiString Name;
    std::optional<AnsiString> IndexText;
};

TPathElement SplitElement(const AnsiString& Element) {
    std::size_t open = Element.find('[');
    if (open == AnsiString::npos)
        return {Element, std::nullopt};
    std::size_t close = Element.find(']', open);
    AnsiString index =
        close == AnsiString::npos ? AnsiString() : Element.substr(open + 1, close - open - 1);
    // Text after the bracket makes the element malformed: no index fits.
    if (close == AnsiString::npos || close + 1 != Element.size())
        index.clear();
    return {Element.substr(0, open), index};
}

// The item of Collection that IndexText numbers, or nullptr when the text is
// no number or no item has that index.
TObject* CollectionItemAt(TCollection& Collection, const AnsiString& IndexText) {
    Integer index = -1;
    if (!TryStrToInt(IndexText, index) || index < 0 || index >= Collection.Count())
        return nullptr;
    return Collection.Items(index);
}

// The object that Element names on Object. Only class-typed properties lead
// on; a collection needs an index and gives its item, and anything else
// with an index is malformed.
TObject* StepInto(TObject* Object, const AnsiString& Element) {
    TPathElement element = SplitElement(Element);
    PPropInfo info = GetPropInfo(Object, element.Name, TTypeKinds{tkClass});
    TObject* held = info ? GetObjectProp(Object, info) : nullptr;
    auto* collection = dynamic_cast<TCollection*>(held);
    if (!collection)
        return element.IndexText ? nullptr : held;
    return element.IndexText ? CollectionItemAt(*collection, *element.IndexText) : nullptr;
}

AnsiString PropertyNameOf(const AnsiString& Path) {
    std::size_t point = Path.rfind('.');
    return point == AnsiString::npos ? AnsiString() : Path.substr(point + 1);
}

TStrings* StringsOf(const TPathTarget& Target) {
    return dynamic_cast<TStrings*>(GetObjectProp(Target.Object, Target.Prop));
}

// The property's value as text; nothing for a kind without a text form.
std::optional<AnsiString> PropertyText(const TPathTarget& Target) {
    TObject* object = Target.Object;
    PPropInfo prop = Target.Prop;
    switch (prop->PropType->Kind) {
    case tkInteger:
        return IntToStr(GetOrdProp(object, prop));
    case tkInt64:
        return IntToStr(GetInt64Prop(object, prop));
    case tkChar:
        return AnsiString(1, static_cast<char>(GetOrdProp(object, prop)));
    case tkWChar:
        return UTF8Encode(WideString(1, static_cast<WideChar>(GetOrdProp(object, prop))));
    case tkString:
    case tkLString:
    case tkWString:
        return GetStrProp(object, prop);
    case tkEnumeration:
        return GetEnumName(prop->PropType, GetOrdProp(object, prop));
    case tkFloat:
        return FloatToStr(GetFloatProp(object, prop));
    case tkSet:
        return GetSetProp(object, prop);
    case tkClass:
        if (TStrings* strings = StringsOf(Target))
            return strings->CommaText();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// Sets the property from text; a conversion error passes to the caller. A
// character property takes only a text of one character, an enumeration
// only one of its value names.
void SetPropertyText(const TPathTarget& Target, const AnsiString& Text) {
    TObject* object = Target.Object;
    PPropInfo prop = Target.Prop;
    switch (prop->PropType->Kind) {
    case tkInteger:
        SetOrdProp(object, prop, StrToInt(Text));
        break;
    case tkInt64:
        SetInt64Prop(object, prop, StrToInt64(Text));
        break;
    case tkChar:
        if (Text.size() == 1)
            SetOrdProp(object, prop, static_cast<unsigned char>(Text[0]));
        break;
    case tkWChar:
        if (WideString wide = UTF8Decode(Text); wide.size() == 1)
            SetOrdProp(object, prop, wide[0]);
        break;
    case tkString:
    case tkLString:
    case tkWString:
        SetStrProp(object, prop, Text);
        break;
    case tkEnumeration:
        if (Integer value = GetEnumValue(prop->PropType, Text); value >= 0)
            SetOrdProp(object, prop, value);
        break;
    case tkFloat:
        SetFloatProp(object, prop, StrToFloat(Text));
        break;
    case tkSet:
        SetSetProp(object, prop, Text);
        break;
    case tkClass:
        if (TStrings* strings = StringsOf(Target))
            UpdateStringsFromCommaText(*strings, Text);
        break;
    default:
        break;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TzxExtendedItem

void TzxExtendedItem::PublishedProperties(TPropertyBuilder<TzxExtendedItem>& P) {
    P.ReadOnly("IsRoot", &TzxExtendedItem::IsRoot);
    P.Property("Identifier", &TzxExtendedItem::GetIdentifier, &TzxExtendedItem::SetIdentifier);
    P.Property("PropertyType", &TzxExtendedItem::PropertyType, &TzxExtendedItem::SetPropertyType);
    P.Property("Values", &TzxExtendedItem::Values, &TzxExtendedItem::SetValues).Stored(false);
}

AnsiString TzxExtendedItem::GetIdentifier() const {
    if (!FRelComponent)
        return FIdentifier;
    Integer point = Pos(AnsiString("."), FIdentifier);
    AnsiString rest =
        point == 0 ? AnsiString() : Copy(FIdentifier, point, Integer(FIdentifier.size()));
    auto* items = dynamic_cast<TzxExtendedItems*>(Collection());
    auto* lang = items ? dynamic_cast<TzxCustomLang*>(items->GetOwner()) : nullptr;
    if (lang && FRelComponent == lang->Owner())
        return FRelComponent->ClassName() + rest;
    return FRelComponent->Name() + rest;
}

AnsiString TzxExtendedItem::GetDisplayName() const {
    return FIdentifier.empty() ? TCollectionItem::GetDisplayName() : FIdentifier;
}

void TzxExtendedItem::AssignTo(TPersistent* Dest) const {
    auto* item = dynamic_cast<TzxExtendedItem*>(Dest);
    if (!item)
        return;
    item->FIdentifier = FIdentifier;
    item->FValues = FValues;
    item->FPropertyType = FPropertyType;
}

void TzxExtendedItem::DefineProperties(TFiler* Filer) {
    TCollectionItem::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "ValuesEx", [this](TStream& Stream) { ReadValues(Stream); },
        [this](TStream& Stream) { WriteValues(Stream); }, ValuesHaveData(*Filer));
}

// Against an inherited form the values are written only where they differ
// from the ancestor's, and not at all when the component takes its data from
// the ancestor.
bool TzxExtendedItem::ValuesHaveData(const TFiler& Filer) const {
    TPersistent* ancestor = Filer.Ancestor();
    if (!ancestor)
        return !FValues.empty();
    auto* lang = Collection() ? dynamic_cast<TzxCustomLang*>(Collection()->Owner()) : nullptr;
    if ((lang && lang->UseInheritedData) || FValues.empty())
        return false;
    auto* ancestorItem = dynamic_cast<TzxExtendedItem*>(ancestor);
    return !ancestorItem || FValues != ancestorItem->FValues;
}

void TzxExtendedItem::ReadValues(TStream& Stream) {
    AnsiString values(static_cast<std::size_t>(Stream.Size()), '\0');
    Stream.SetPosition(0);
    if (!values.empty())
        Stream.ReadBuffer(values.data(), static_cast<Integer>(values.size()));
    FValues = values;
}

void TzxExtendedItem::WriteValues(TStream& Stream) const {
    if (!FValues.empty())
        Stream.WriteBuffer(FValues.data(), static_cast<Integer>(FValues.size()));
}

// ---------------------------------------------------------------------------
// TzxExtendedItems

TzxExtendedItems::TzxExtendedItems(TzxCustomLang* AOwner)
    : TCollection(TzxExtendedItem::StaticClass()), FOwner(AOwner) {}

TPersistent* TzxExtendedItems::GetOwner() const {
    return FOwner;
}

TzxExtendedItem* TzxExtendedItems::Items(Integer Index) const {
    return static_cast<TzxExtendedItem*>(TCollection::Items(Index));
}

TzxExtendedItem* TzxExtendedItems::Add() {
    return static_cast<TzxExtendedItem*>(TCollection::Add());
}

TzxExtendedItem* TzxExtendedItems::Find(const AnsiString& Identifier) const {
    for (Integer index = 0; index < Count(); ++index)
        if (AnsiCompareText(Items(index)->GetIdentifier(), Identifier) == 0)
            return Items(index);
    return nullptr;
}

// ---------------------------------------------------------------------------
// Paths

// Each element between the first and the last is resolved on its own, so
// that a path leads through sub-objects and collection items alike.
namespace {

TObject* ObjectByPath(const TzxCustomLang& Lang, const AnsiString& Path) {
    TComponent* owner = Lang.Owner();
    std::size_t point = Path.find('.');
    if (!owner || point == AnsiString::npos)
        return nullptr;
    const AnsiString first = Path.substr(0, point);
    TObject* object = first == owner->ClassName() ? owner : owner->FindComponent(first);
    std::size_t next;
    while (object && (next = Path.find('.', point + 1)) != AnsiString::npos) {
        object = StepInto(object, Path.substr(point + 1, next - point - 1));
        point = next;
    }
    return object;
}

TPathTarget ResolvePath(const TzxCustomLang& Lang, const AnsiString& Path) {
    TObject* object = ObjectByPath(Lang, Path);
    if (!object)
        return {};
    PPropInfo prop = GetPropInfo(object, PropertyNameOf(Path), tkProperties);
    return prop ? TPathTarget{object, prop} : TPathTarget{};
}

// A text that does not convert leaves the property unchanged.
void SetPathText(const TzxCustomLang& Lang, const AnsiString& Path, const AnsiString& Value) {
    TPathTarget target = ResolvePath(Lang, Path);
    if (!target.Prop)
        return;
    try {
        SetPropertyText(target, Value);
    } catch (const std::exception&) {
    }
}

} // namespace

TObject* TzxCustomLang::GetObjByPath(const WideString& Path) const {
    return ObjectByPath(*this, UTF8Encode(Path));
}

TTypeKind TzxCustomLang::GetPropTypeByPath(const WideString& Path) const {
    TPathTarget target = ResolvePath(*this, UTF8Encode(Path));
    if (!target.Prop)
        return tkUnknown;
    TTypeKind kind = target.Prop->PropType->Kind;
    if (kind == tkClass && !StringsOf(target))
        return tkUnknown;
    return kind;
}

WideString TzxCustomLang::GetPropValueByPath(const WideString& Path) const {
    TPathTarget target = ResolvePath(*this, UTF8Encode(Path));
    if (!target.Prop)
        return WideString();
    return UTF8Decode(PropertyText(target).value_or(AnsiString()));
}

void TzxCustomLang::SetPropValueByPath(const WideString& Path, const WideString& Value) {
    SetPathText(*this, UTF8Encode(Path), UTF8Encode(Value));
}

// ---------------------------------------------------------------------------
// Applying, capturing and re-delimiting the items

AnsiString TzxCustomLang::TEngine::ExtendedValue(const TzxCustomLang& L,
                                                 const TzxExtendedItem& Item, Integer Language) {
    return GetLineField(AnsiString(1, L.Delim()) + Item.Values(), Language, L.Delim());
}

AnsiString TzxCustomLang::TEngine::RebuiltValues(const TzxCustomLang& L,
                                                 const TzxExtendedItem& Item, Integer Replaced,
                                                 const AnsiString& Text) {
    AnsiString values;
    for (Integer language = 1; language <= L.FNumOfLanguages; ++language)
        values += (language == Replaced ? Text : ExtendedValue(L, Item, language)) + L.Delim();
    return values;
}

// An empty value leaves the property as it is, unless test mode or
// ttGetDefault supply language 1's value.
void TzxCustomLang::ChangeLangForExtended() {
    bool testMode = FLangDispatcher && FLangDispatcher->TestMode();
    for (Integer index = 0; index < FExtendedTranslations->Count(); ++index) {
        TzxExtendedItem* item = FExtendedTranslations->Items(index);
        AnsiString value = ValueOfLine(AnsiString(1, Delim()) + item->Values(), testMode);
        if (!value.empty())
            SetPathText(*this, item->GetIdentifier(), value);
    }
}

// An item whose property is gone is dropped; one whose property has no text
// form keeps its values, so that nothing typed into it is blanked.
void TzxCustomLang::UpdateExtended() {
    for (Integer index = FExtendedTranslations->Count() - 1; index >= 0; --index) {
        TzxExtendedItem* item = FExtendedTranslations->Items(index);
        TPathTarget target = ResolvePath(*this, item->GetIdentifier());
        if (!target.Prop) {
            delete item;
            continue;
        }
        std::optional<AnsiString> current = PropertyText(target);
        if (current && *current != TEngine::ExtendedValue(*this, *item, FActiveLanguage))
            item->SetValues(TEngine::RebuiltValues(*this, *item, FActiveLanguage, *current));
    }
}

void TzxCustomLang::ChangeDelimOnExtended(char OldDelim, char NewDelim) {
    for (Integer index = 0; index < FExtendedTranslations->Count(); ++index) {
        TzxExtendedItem* item = FExtendedTranslations->Items(index);
        AnsiString values = item->Values();
        std::replace(values.begin(), values.end(), OldDelim, NewDelim);
        item->SetValues(values);
    }
}

void TzxCustomLang::TEngine::FitExtendedToLanguages(TzxCustomLang& L) {
    for (Integer index = 0; index < L.FExtendedTranslations->Count(); ++index) {
        TzxExtendedItem* item = L.FExtendedTranslations->Items(index);
        item->SetValues(RebuiltValues(L, *item, 0, AnsiString()));
    }
}
