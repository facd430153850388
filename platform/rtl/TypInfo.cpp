#include "rtl/TypInfo.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

const char* const SUnknownProperty = "Property %s does not exist";
const char* const SInvalidPropertyType = "Invalid property type: %s";
const char* const SInvalidPropertyElement = "Invalid property element: %s";
const char* const SInvalidPropertyValue = "Invalid property value";
const char* const SReadOnlyProperty = "Property %s is read-only";
const char* const SPropertyOfOtherClass = "Property %s does not belong to class %s";

constexpr Extended CurrencyScale = 10000;

char FoldIdentifierChar(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C;
}

bool IdentifierLess(PPropInfo A, PPropInfo B) {
    return std::lexicographical_compare(
        A->Name.begin(), A->Name.end(), B->Name.begin(), B->Name.end(),
        [](char X, char Y) { return FoldIdentifierChar(X) < FoldIdentifierChar(Y); });
}

bool IsBlank(char C) {
    return C == ' ' || C == '\t' || C == '\r' || C == '\n';
}

AnsiString TrimBlanks(std::string_view Text) {
    while (!Text.empty() && IsBlank(Text.front()))
        Text.remove_prefix(1);
    while (!Text.empty() && IsBlank(Text.back()))
        Text.remove_suffix(1);
    return AnsiString(Text);
}

const TTypeKinds& OrdinalKinds() {
    static const TTypeKinds kinds{tkInteger, tkChar, tkWChar, tkEnumeration, tkSet};
    return kinds;
}

const TTypeKinds& StringKinds() {
    static const TTypeKinds kinds{tkString, tkLString, tkWString};
    return kinds;
}

void CheckKind(PPropInfo PropInfo, const TTypeKinds& Accepted) {
    if (!Accepted.Contains(PropInfo->PropType->Kind))
        throw EPropertyConvertError(Format(SInvalidPropertyType, {PropInfo->PropType->Name}));
}

PPropInfo FindPropInfo(TObject* Instance, const AnsiString& PropName) {
    PPropInfo info = GetPropInfo(Instance, PropName);
    if (!info)
        throw EPropertyError(Format(SUnknownProperty, {PropName}));
    return info;
}

TPropValue ReadValue(TObject* Instance, PPropInfo PropInfo) {
    return PropInfo->GetProc(Instance);
}

void WriteValue(TObject* Instance, PPropInfo PropInfo, const TPropValue& Value) {
    if (!PropInfo->SetProc)
        throw EPropertyError(Format(SReadOnlyProperty, {PropInfo->Name}));
    PropInfo->SetProc(Instance, Value);
}

// The bits a set property may hold: one per element of its element type.
Int64 SetMask(PTypeInfo SetType) {
    Int64 mask = 0;
    PTypeInfo element = SetType->CompType;
    for (Int64 ordinal = std::max<Int64>(element->MinValue, 0);
         ordinal <= std::min<Int64>(element->MaxValue, 31); ++ordinal)
        mask |= Int64(1) << ordinal;
    return mask;
}

std::mutex& ClassTableLock() {
    static std::mutex lock;
    return lock;
}

// Inherited properties first, in their places; a redeclared name replaces
// the ancestor's entry where it stands.
const TPropertyTable* BuildClassTable(TClass Class) {
    std::vector<TClass> lineage;
    for (TClass each = Class; each; each = each->Parent)
        lineage.push_back(each);
    return new TPropertyTable([&lineage](TPropertyTable& Table) {
        TPropList merged;
        std::unordered_map<std::string_view, std::size_t, TIdentifierHash, TIdentifierEqual> slots;
        for (auto each = lineage.rbegin(); each != lineage.rend(); ++each) {
            if (!(*each)->OwnProperties)
                continue;
            for (PPropInfo info : (*each)->OwnProperties()->Properties()) {
                auto [slot, added] = slots.try_emplace(info->Name, merged.size());
                if (added)
                    merged.push_back(info);
                else
                    merged[slot->second] = info;
            }
        }
        for (PPropInfo info : merged)
            Table.Append(info);
    });
}

} // namespace

// ---------------------------------------------------------------------------
// Type descriptions

TTypeInfo EnumTypeInfo(const char* TypeName, const char* ValueNames) {
    TTypeInfo info{.Kind = tkEnumeration, .Name = TypeName};
    std::string_view rest(ValueNames);
    while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        info.EnumNames.push_back(TrimBlanks(rest.substr(0, comma)));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    info.MaxValue = static_cast<Int64>(info.EnumNames.size()) - 1;
    return info;
}

PTypeInfo BooleanTypeInfo() {
    static const TTypeInfo info = EnumTypeInfo("Boolean", "False, True");
    return &info;
}

AnsiString GetEnumName(PTypeInfo TypeInfo, Integer Value) {
    if (TypeInfo->Kind == tkInteger)
        return IntToStr(Value);
    if (TypeInfo->Kind != tkEnumeration || Value < TypeInfo->MinValue || Value > TypeInfo->MaxValue)
        return AnsiString();
    return TypeInfo->EnumNames[static_cast<std::size_t>(Value - TypeInfo->MinValue)];
}

Integer GetEnumValue(PTypeInfo TypeInfo, const AnsiString& Name) {
    if (TypeInfo->Kind == tkInteger)
        return StrToInt(Name);
    const std::vector<AnsiString>& names = TypeInfo->EnumNames;
    for (std::size_t index = 0; index < names.size(); ++index)
        if (TIdentifierEqual()(names[index], Name))
            return static_cast<Integer>(TypeInfo->MinValue + static_cast<Int64>(index));
    return -1;
}

// ---------------------------------------------------------------------------
// Property tables

std::size_t TIdentifierHash::operator()(std::string_view Name) const noexcept {
    std::size_t hash = 14695981039346656037ull;
    for (char c : Name)
        hash = (hash ^ static_cast<unsigned char>(FoldIdentifierChar(c))) * 1099511628211ull;
    return hash;
}

bool TIdentifierEqual::operator()(std::string_view A, std::string_view B) const noexcept {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return FoldIdentifierChar(X) == FoldIdentifierChar(Y);
           });
}

TPropertyTable::TPropertyTable(const std::function<void(TPropertyTable& Table)>& Declare) {
    Declare(*this);
    FSorted = FList;
    std::stable_sort(FSorted.begin(), FSorted.end(), IdentifierLess);
}

PPropInfo TPropertyTable::Find(std::string_view Name) const {
    auto found = FIndex.find(Name);
    return found == FIndex.end() ? nullptr : found->second;
}

TPropInfo& TPropertyTable::Declare(AnsiString Name, PTypeInfo PropType) {
    if (Find(Name))
        throw EPropertyError("Property " + Name + " is declared twice");
    TPropInfo& info = FOwned.emplace_back();
    info.Name = std::move(Name);
    info.PropType = PropType;
    Append(&info);
    return info;
}

PTypeInfo TPropertyTable::Retype(PTypeInfo PropType, TTypeKind Kind, const AnsiString& Name) {
    TTypeInfo& info = FTypes.emplace_back(*PropType);
    info.Kind = Kind;
    info.Name = Name;
    return &info;
}

void TPropertyTable::Append(PPropInfo Info) {
    FList.push_back(Info);
    FIndex.emplace(Info->Name, Info);
}

TClassInfo::~TClassInfo() {
    delete AllProperties.exchange(nullptr);
}

const TPropertyTable& ClassPropertyTable(TClass Class) {
    if (const TPropertyTable* table = Class->AllProperties.load(std::memory_order_acquire))
        return *table;
    std::lock_guard<std::mutex> guard(ClassTableLock());
    const TPropertyTable* table = Class->AllProperties.load(std::memory_order_relaxed);
    if (!table) {
        table = BuildClassTable(Class);
        Class->AllProperties.store(table, std::memory_order_release);
    }
    return *table;
}

// ---------------------------------------------------------------------------
// Declaring properties

void ZxPropertyOfOtherClass(const TPropInfo& Info, TObject* Instance) {
    AnsiString className = Instance ? Instance->ClassName() : AnsiString("nil");
    throw EPropertyError(Format(SPropertyOfOtherClass, {Info.Name, className}));
}

void ZxInvalidPropertyValue() {
    throw EPropertyConvertError(SInvalidPropertyValue);
}

Int64 ZxCheckedOrdinal(const TPropInfo& Info, const TPropValue& Value) {
    Int64 ordinal = std::get<Int64>(Value);
    PTypeInfo type = Info.PropType;
    if (type->Kind == tkSet) {
        ordinal = static_cast<Cardinal>(ordinal);
        if (ordinal & ~SetMask(type))
            ZxInvalidPropertyValue();
    } else if (ordinal < type->MinValue || ordinal > type->MaxValue) {
        ZxInvalidPropertyValue();
    }
    return ordinal;
}

Extended ZxExtendedOf(const TPropValue& Value) {
    if (const Currency* money = std::get_if<Currency>(&Value))
        return static_cast<Extended>(money->Scaled) / CurrencyScale;
    return std::get<Extended>(Value);
}

Currency ZxCurrencyOf(const TPropValue& Value) {
    if (const Currency* money = std::get_if<Currency>(&Value))
        return *money;
    // Int64's range is [-2^63, 2^63): both bounds are exact in Extended.
    constexpr Extended bound = 9223372036854775808.0L;
    const Extended scaled = std::round(std::get<Extended>(Value) * CurrencyScale);
    if (!(scaled >= -bound && scaled < bound))
        ZxInvalidPropertyValue();
    return Currency{static_cast<Int64>(scaled)};
}

// ---------------------------------------------------------------------------
// Finding properties

TPropList GetPropList(TClass AClass, const TTypeKinds& TypeKinds, bool SortList) {
    TPropList result;
    if (!AClass)
        return result;
    const TPropertyTable& table = ClassPropertyTable(AClass);
    for (PPropInfo info : SortList ? table.SortedProperties() : table.Properties())
        if (TypeKinds.Contains(info->PropType->Kind))
            result.push_back(info);
    return result;
}

TPropList GetPropList(const TObject* Instance, const TTypeKinds& TypeKinds, bool SortList) {
    return GetPropList(Instance ? Instance->ClassType() : nullptr, TypeKinds, SortList);
}

PPropInfo GetPropInfo(TClass AClass, const AnsiString& PropName, const TTypeKinds& AKinds) {
    if (!AClass)
        return nullptr;
    PPropInfo info = ClassPropertyTable(AClass).Find(PropName);
    return info && AKinds.Contains(info->PropType->Kind) ? info : nullptr;
}

PPropInfo GetPropInfo(const TObject* Instance, const AnsiString& PropName,
                      const TTypeKinds& AKinds) {
    return GetPropInfo(Instance ? Instance->ClassType() : nullptr, PropName, AKinds);
}

bool IsPublishedProp(TClass AClass, const AnsiString& PropName) {
    return GetPropInfo(AClass, PropName) != nullptr;
}

bool IsPublishedProp(const TObject* Instance, const AnsiString& PropName) {
    return GetPropInfo(Instance, PropName) != nullptr;
}

TTypeKind PropType(const TObject* Instance, const AnsiString& PropName) {
    PPropInfo info = GetPropInfo(Instance, PropName);
    if (!info)
        throw EPropertyError(Format(SUnknownProperty, {PropName}));
    return info->PropType->Kind;
}

bool PropIsType(const TObject* Instance, const AnsiString& PropName, TTypeKind TypeKind) {
    return PropType(Instance, PropName) == TypeKind;
}

bool IsStoredProp(TObject* Instance, PPropInfo PropInfo) {
    return !PropInfo->StoredProc || PropInfo->StoredProc(Instance);
}

// ---------------------------------------------------------------------------
// Reading and writing

Integer GetOrdProp(TObject* Instance, PPropInfo PropInfo) {
    CheckKind(PropInfo, OrdinalKinds());
    return static_cast<Integer>(std::get<Int64>(ReadValue(Instance, PropInfo)));
}

void SetOrdProp(TObject* Instance, PPropInfo PropInfo, Integer Value) {
    CheckKind(PropInfo, OrdinalKinds());
    WriteValue(Instance, PropInfo, Int64(Value));
}

Int64 GetInt64Prop(TObject* Instance, PPropInfo PropInfo) {
    CheckKind(PropInfo, OrdinalKinds() + TTypeKinds{tkInt64});
    return std::get<Int64>(ReadValue(Instance, PropInfo));
}

void SetInt64Prop(TObject* Instance, PPropInfo PropInfo, Int64 Value) {
    CheckKind(PropInfo, OrdinalKinds() + TTypeKinds{tkInt64});
    WriteValue(Instance, PropInfo, Value);
}

AnsiString GetStrProp(TObject* Instance, PPropInfo PropInfo) {
    CheckKind(PropInfo, StringKinds());
    TPropValue value = ReadValue(Instance, PropInfo);
    if (const WideString* wide = std::get_if<WideString>(&value))
        return UTF8Encode(*wide);
    return std::get<AnsiString>(std::move(value));
}

void SetStrProp(TObject* Instance, PPropInfo PropInfo, const AnsiString& Value) {
    CheckKind(PropInfo, StringKinds());
    if (PropInfo->PropType->Kind == tkWString)
        WriteValue(Instance, PropInfo, UTF8Decode(Value));
    else
        WriteValue(Instance, PropInfo, Value);
}

WideString GetWideStrProp(TObject* Instance, PPropInfo PropInfo) {
    CheckKind(PropInfo, StringKinds());
    TPropValue value = ReadValue(Instance, PropInfo);
    if (const AnsiString* ansi = std::get_if<AnsiString>(&value))
        return UTF8Decode(*ansi);
    return std::get<WideString>(std::move(value));
}

void SetWideStrProp(TObject* Instance, PPropInfo PropInfo, const WideString& Value) {
    CheckKind(PropInfo, StringKinds());
    if (PropInfo->PropType->Kind == tkWString)
        WriteValue(Instance, PropInfo, Value);
    else
        WriteValue(Instance, PropInfo, UTF8Encode(Value));
}

Extended GetFloatProp(TObject* Instance, PPropInfo PropInfo) {
    CheckKind(PropInfo, TTypeKinds{tkFloat});
    return ZxExtendedOf(ReadValue(Instance, PropInfo));
}

void SetFloatProp(TObject* Instance, PPropInfo PropInfo, Extended Value) {
    CheckKind(PropInfo, TTypeKinds{tkFloat});
    WriteValue(Instance, PropInfo, Value);
}

Currency GetCurrencyProp(TObject* Instance, PPropInfo PropInfo) {
    CheckKind(PropInfo, TTypeKinds{tkFloat});
    return ZxCurrencyOf(ReadValue(Instance, PropInfo));
}

void SetCurrencyProp(TObject* Instance, PPropInfo PropInfo, Currency Value) {
    CheckKind(PropInfo, TTypeKinds{tkFloat});
    WriteValue(Instance, PropInfo, Value);
}

AnsiString GetEnumProp(TObject* Instance, PPropInfo PropInfo) {
    CheckKind(PropInfo, TTypeKinds{tkEnumeration});
    return GetEnumName(PropInfo->PropType, GetOrdProp(Instance, PropInfo));
}

void SetEnumProp(TObject* Instance, PPropInfo PropInfo, const AnsiString& Value) {
    CheckKind(PropInfo, TTypeKinds{tkEnumeration});
    Integer ordinal = GetEnumValue(PropInfo->PropType, Value);
    if (ordinal < 0)
        throw EPropertyConvertError(Format(SInvalidPropertyElement, {Value}));
    SetOrdProp(Instance, PropInfo, ordinal);
}

AnsiString SetToString(PPropInfo PropInfo, Integer Value, bool Brackets) {
    CheckKind(PropInfo, TTypeKinds{tkSet});
    PTypeInfo element = PropInfo->PropType->CompType;
    auto bits = static_cast<Cardinal>(Value);
    AnsiString result;
    for (Integer ordinal = 0; ordinal < 32; ++ordinal) {
        if (!(bits & (Cardinal(1) << ordinal)))
            continue;
        if (!result.empty())
            result += ',';
        result += GetEnumName(element, ordinal);
    }
    return Brackets ? "[" + result + "]" : result;
}

Integer StringToSet(PPropInfo PropInfo, const AnsiString& Value) {
    CheckKind(PropInfo, TTypeKinds{tkSet});
    PTypeInfo element = PropInfo->PropType->CompType;
    auto isSeparator = [](char c) { return c == ',' || c == '[' || c == ']' || IsBlank(c); };
    Cardinal bits = 0;
    for (std::size_t at = 0; at < Value.size();) {
        if (isSeparator(Value[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < Value.size() && !isSeparator(Value[end]))
            ++end;
        AnsiString name = Value.substr(at, end - at);
        Integer ordinal = GetEnumValue(element, name);
        if (ordinal < 0 || ordinal > 31)
            throw EPropertyConvertError(Format(SInvalidPropertyElement, {name}));
        bits |= Cardinal(1) << ordinal;
        at = end;
    }
    return static_cast<Integer>(bits);
}

AnsiString GetSetProp(TObject* Instance, PPropInfo PropInfo, bool Brackets) {
    CheckKind(PropInfo, TTypeKinds{tkSet});
    return SetToString(PropInfo, GetOrdProp(Instance, PropInfo), Brackets);
}

void SetSetProp(TObject* Instance, PPropInfo PropInfo, const AnsiString& Value) {
    SetOrdProp(Instance, PropInfo, StringToSet(PropInfo, Value));
}

TObject* GetObjectProp(TObject* Instance, PPropInfo PropInfo, TClass MinClass) {
    CheckKind(PropInfo, TTypeKinds{tkClass});
    TObject* object = std::get<TObject*>(ReadValue(Instance, PropInfo));
    return object && (!MinClass || object->InheritsFrom(MinClass)) ? object : nullptr;
}

void SetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value) {
    CheckKind(PropInfo, TTypeKinds{tkClass});
    if (!Value || Value->InheritsFrom(GetObjectPropClass(PropInfo)))
        WriteValue(Instance, PropInfo, Value);
}

TClass GetObjectPropClass(PPropInfo PropInfo) {
    CheckKind(PropInfo, TTypeKinds{tkClass});
    return PropInfo->PropType->ClassType;
}

TMethod GetMethodProp(TObject* Instance, PPropInfo PropInfo) {
    CheckKind(PropInfo, TTypeKinds{tkMethod});
    return std::get<TMethod>(ReadValue(Instance, PropInfo));
}

void SetMethodProp(TObject* Instance, PPropInfo PropInfo, const TMethod& Value) {
    CheckKind(PropInfo, TTypeKinds{tkMethod});
    WriteValue(Instance, PropInfo, Value);
}

// ---------------------------------------------------------------------------
// The same by property name

Integer GetOrdProp(TObject* Instance, const AnsiString& PropName) {
    return GetOrdProp(Instance, FindPropInfo(Instance, PropName));
}
void SetOrdProp(TObject* Instance, const AnsiString& PropName, Integer Value) {
    SetOrdProp(Instance, FindPropInfo(Instance, PropName), Value);
}
Int64 GetInt64Prop(TObject* Instance, const AnsiString& PropName) {
    return GetInt64Prop(Instance, FindPropInfo(Instance, PropName));
}
void SetInt64Prop(TObject* Instance, const AnsiString& PropName, Int64 Value) {
    SetInt64Prop(Instance, FindPropInfo(Instance, PropName), Value);
}
AnsiString GetStrProp(TObject* Instance, const AnsiString& PropName) {
    return GetStrProp(Instance, FindPropInfo(Instance, PropName));
}
void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value) {
    SetStrProp(Instance, FindPropInfo(Instance, PropName), Value);
}
WideString GetWideStrProp(TObject* Instance, const AnsiString& PropName) {
    return GetWideStrProp(Instance, FindPropInfo(Instance, PropName));
}
void SetWideStrProp(TObject* Instance, const AnsiString& PropName, const WideString& Value) {
    SetWideStrProp(Instance, FindPropInfo(Instance, PropName), Value);
}
Extended GetFloatProp(TObject* Instance, const AnsiString& PropName) {
    return GetFloatProp(Instance, FindPropInfo(Instance, PropName));
}
void SetFloatProp(TObject* Instance, const AnsiString& PropName, Extended Value) {
    SetFloatProp(Instance, FindPropInfo(Instance, PropName), Value);
}
AnsiString GetEnumProp(TObject* Instance, const AnsiString& PropName) {
    return GetEnumProp(Instance, FindPropInfo(Instance, PropName));
}
void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value) {
    SetEnumProp(Instance, FindPropInfo(Instance, PropName), Value);
}
AnsiString GetSetProp(TObject* Instance, const AnsiString& PropName, bool Brackets) {
    return GetSetProp(Instance, FindPropInfo(Instance, PropName), Brackets);
}
void SetSetProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value) {
    SetSetProp(Instance, FindPropInfo(Instance, PropName), Value);
}
TObject* GetObjectProp(TObject* Instance, const AnsiString& PropName, TClass MinClass) {
    return GetObjectProp(Instance, FindPropInfo(Instance, PropName), MinClass);
}
void SetObjectProp(TObject* Instance, const AnsiString& PropName, TObject* Value) {
    SetObjectProp(Instance, FindPropInfo(Instance, PropName), Value);
}
TMethod GetMethodProp(TObject* Instance, const AnsiString& PropName) {
    return GetMethodProp(Instance, FindPropInfo(Instance, PropName));
}
void SetMethodProp(TObject* Instance, const AnsiString& PropName, const TMethod& Value) {
    SetMethodProp(Instance, FindPropInfo(Instance, PropName), Value);
}
