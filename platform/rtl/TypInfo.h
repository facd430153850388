// Run-time type information: type kinds, type descriptions, published
// property tables, and reading and writing published properties by name.
//
// How a class publishes properties
// --------------------------------
// A published property P is a C++ getter and setter plus an entry "P" in the
// table of the class that declares it. The class declares one static function
// (its header includes rtl/TypInfo.h) and defines it in its .cpp file:
//
//     class TLabel : public TComponent {
//         ZX_CLASS(TLabel, TComponent)
//     public:
//         static void PublishedProperties(TPropertyBuilder<TLabel>& P);
//         ...
//     };
//
//     void TLabel::PublishedProperties(TPropertyBuilder<TLabel>& P) {
//         P.Property("Caption", &TLabel::Caption, &TLabel::SetCaption).TypeName("TCaption");
//         P.Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment)
//             .Default(taLeftJustify);
//         P.Property("Lines", &TLabel::Lines, &TLabel::SetLines).Stored(&TLabel::HasLines);
//         P.Property("OnClick", &TLabel::OnClick); // a field, read and written
//         P.ReadOnly("LineCount", &TLabel::LineCount);
//     }
//
// ZX_CLASS notices the function and builds the table once, in a function-local
// static, the first time the class reference is asked for its properties; no
// static registration object is involved. Getters and setters may be member
// functions, one data member (used for both), or callables taking the object.
// The kind follows from the getter's C++ type: integers up to 32 bits
// tkInteger, 64-bit integers tkInt64, char tkChar, char16_t tkWChar, bool and
// described enumerations tkEnumeration, floating point tkFloat, AnsiString
// tkLString (ShortString() makes it tkString), WideString tkWString, TSet<E>
// tkSet, pointers to TObject descendants tkClass, TEvent<...> tkMethod.
// Default(), Stored() and TypeName() refine the property just declared.
//
// An enumeration is described once, where it is declared, and then serves
// every class that publishes it:
//
//     ZX_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter); // declares it too
//     ZX_ENUM_NAMES(TReplaceFlag, rfReplaceAll, rfIgnoreCase);      // an existing one
//
// (at namespace scope: TypeInfoOf(E) is found beside the enumeration).
//
// Table order is declaration order, inherited properties first; a class that
// declares a property of an ancestor's name replaces it in the ancestor's
// place. Component streaming writes in that order (GetPropList with SortList
// false); GetPropList sorts by name by default.
#pragma once

#include "rtl/SysUtils.h"

#include <deque>
#include <limits>
#include <optional>
#include <unordered_map>
#include <variant>
#include <vector>

// The Pascal platform's order and names: these names are written into files.
enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray
};
using TTypeKinds = TSet<TTypeKind>;

inline TTypeKinds AllTypeKinds() {
    TTypeKinds kinds;
    for (int kind = tkUnknown; kind <= tkDynArray; ++kind)
        kinds.Include(static_cast<TTypeKind>(kind));
    return kinds;
}
inline const TTypeKinds tkAny = AllTypeKinds();
inline const TTypeKinds tkMethods = TTypeKinds{tkMethod};
inline const TTypeKinds tkProperties = tkAny - tkMethods - TTypeKinds{tkUnknown};

class EPropertyError : public Exception {
    using Exception::Exception;
};
class EPropertyConvertError : public Exception {
    using Exception::Exception;
};

// ---------------------------------------------------------------------------
// Type descriptions

struct TTypeInfo;
using PTypeInfo = const TTypeInfo*;

struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    AnsiString Name{};
    // Ordinal kinds and tkInt64: the range of values.
    Int64 MinValue = 0;
    Int64 MaxValue = 0;
    // tkEnumeration: the name of each value, from MinValue up.
    std::vector<AnsiString> EnumNames{};
    // tkSet: the element type.
    PTypeInfo CompType = nullptr;
    // tkClass: the class of the objects the property holds.
    TClass ClassType = nullptr;
    // tkMethod: the handler's parameter list as its declaration writes it
    // ("Sender: TObject"); empty for a handler without parameters.
    AnsiString MethodParams{};
};

// The description of an enumeration counted from 0, from its type name and
// its value names separated by commas.
TTypeInfo EnumTypeInfo(const char* TypeName, const char* ValueNames);

constexpr bool ZxPlainEnumNames(const char* ValueNames) {
    for (; *ValueNames; ++ValueNames)
        if (*ValueNames == '=')
            return false;
    return true;
}

// Describes an enumeration that is declared already, at namespace scope.
#define ZX_ENUM_NAMES(Type, ...)                                                                   \
    inline PTypeInfo TypeInfoOf(Type) {                                                            \
        static const TTypeInfo info = EnumTypeInfo(#Type, #__VA_ARGS__);                           \
        return &info;                                                                              \
    }                                                                                              \
    static_assert(ZxPlainEnumNames(#__VA_ARGS__), "published enumerations count from 0")

// Declares an enumeration at namespace scope and describes it.
#define ZX_ENUM(Type, ...)                                                                         \
    enum Type { __VA_ARGS__ };                                                                     \
    ZX_ENUM_NAMES(Type, __VA_ARGS__)

ZX_ENUM_NAMES(TTypeKind, tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet,
              tkClass, tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord,
              tkInterface, tkInt64, tkDynArray);

template <typename T> struct ZxIsSet : std::false_type {};
template <typename E> struct ZxIsSet<TSet<E>> : std::true_type { using TElement = E; };

template <typename T> struct ZxIsEvent : std::false_type {};
template <typename Signature> struct ZxIsEvent<TEvent<Signature>> : std::true_type {};

template <typename T>
concept ZxObjectPointer =
    std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_pointer_t<T>>;

template <typename E>
concept ZxDescribedEnum = std::is_enum_v<E> && requires(E Value) {
    { TypeInfoOf(Value) } -> std::same_as<PTypeInfo>;
};

PTypeInfo BooleanTypeInfo();

template <typename T> PTypeInfo ZxOrdinalTypeInfo(TTypeKind Kind, const char* Name) {
    static const TTypeInfo info{.Kind = Kind,
                                .Name = Name,
                                .MinValue = static_cast<Int64>(std::numeric_limits<T>::min()),
                                .MaxValue = static_cast<Int64>(std::numeric_limits<T>::max())};
    return &info;
}

template <typename T> PTypeInfo ZxNamedTypeInfo(TTypeKind Kind, const char* Name) {
    static const TTypeInfo info{.Kind = Kind, .Name = Name};
    return &info;
}

// The description of a C++ type that a published property may have.
template <typename T> PTypeInfo TypeInfo() {
    if constexpr (std::is_same_v<T, bool>) {
        return BooleanTypeInfo();
    } else if constexpr (std::is_same_v<T, char>) {
        static const TTypeInfo info{.Kind = tkChar, .Name = "Char", .MaxValue = 255};
        return &info;
    } else if constexpr (std::is_same_v<T, char16_t>) {
        static const TTypeInfo info{.Kind = tkWChar, .Name = "WideChar", .MaxValue = 65535};
        return &info;
    } else if constexpr (std::is_enum_v<T>) {
        static_assert(ZxDescribedEnum<T>, "describe the enumeration with ZX_ENUM or ZX_ENUM_NAMES");
        return TypeInfoOf(T{});
    } else if constexpr (std::is_same_v<T, std::int8_t>) {
        return ZxOrdinalTypeInfo<T>(tkInteger, "ShortInt");
    } else if constexpr (std::is_same_v<T, std::uint8_t>) {
        return ZxOrdinalTypeInfo<T>(tkInteger, "Byte");
    } else if constexpr (std::is_same_v<T, std::int16_t>) {
        return ZxOrdinalTypeInfo<T>(tkInteger, "SmallInt");
    } else if constexpr (std::is_same_v<T, std::uint16_t>) {
        return ZxOrdinalTypeInfo<T>(tkInteger, "Word");
    } else if constexpr (std::is_same_v<T, std::int32_t>) {
        return ZxOrdinalTypeInfo<T>(tkInteger, "Integer");
    } else if constexpr (std::is_same_v<T, std::uint32_t>) {
        return ZxOrdinalTypeInfo<T>(tkInteger, "Cardinal");
    } else if constexpr (std::is_same_v<T, std::int64_t>) {
        return ZxOrdinalTypeInfo<T>(tkInt64, "Int64");
    } else if constexpr (std::is_same_v<T, float>) {
        return ZxNamedTypeInfo<T>(tkFloat, "Single");
    } else if constexpr (std::is_same_v<T, double>) {
        return ZxNamedTypeInfo<T>(tkFloat, "Double");
    } else if constexpr (std::is_same_v<T, long double>) {
        return ZxNamedTypeInfo<T>(tkFloat, "Extended");
    } else if constexpr (std::is_same_v<T, Currency>) {
        return ZxNamedTypeInfo<T>(tkFloat, "Currency");
    } else if constexpr (std::is_same_v<T, AnsiString>) {
        return ZxNamedTypeInfo<T>(tkLString, "AnsiString");
    } else if constexpr (std::is_same_v<T, WideString>) {
        return ZxNamedTypeInfo<T>(tkWString, "WideString");
    } else if constexpr (ZxIsSet<T>::value) {
        static const TTypeInfo info = [] {
            PTypeInfo element = TypeInfo<typename ZxIsSet<T>::TElement>();
            return TTypeInfo{.Kind = tkSet, .Name = "set of " + element->Name, .CompType = element};
        }();
        return &info;
    } else if constexpr (ZxObjectPointer<T>) {
        static const TTypeInfo info{.Kind = tkClass,
                                    .Name = std::remove_pointer_t<T>::StaticClass()->Name,
                                    .ClassType = std::remove_pointer_t<T>::StaticClass()};
        return &info;
    } else if constexpr (std::is_same_v<T, TNotifyEvent>) {
        static const TTypeInfo info{
            .Kind = tkMethod, .Name = "TNotifyEvent", .MethodParams = "Sender: TObject"};
        return &info;
    } else if constexpr (ZxIsEvent<T>::value) {
        return ZxNamedTypeInfo<T>(tkMethod, "TMethod");
    } else {
        static_assert(!sizeof(T), "this type cannot be published");
    }
}

// Value names of enumerations; out of range gives an empty name. For an
// integer type the name is the decimal number.
AnsiString GetEnumName(PTypeInfo TypeInfo, Integer Value);
// The value of a name, compared without regard to case; -1 when unknown.
Integer GetEnumValue(PTypeInfo TypeInfo, const AnsiString& Name);

// ---------------------------------------------------------------------------
// Property information

// A property value in transit: ordinal kinds and tkInt64 as Int64 (a set as
// its ordinal image), tkFloat as Extended or, for a Currency field, as
// Currency, tkString and tkLString as AnsiString, tkWString as WideString,
// tkClass as TObject*, tkMethod as TMethod.
using TPropValue =
    std::variant<Int64, Extended, AnsiString, WideString, TObject*, TMethod, Currency>;

struct TPropInfo {
    AnsiString Name;
    PTypeInfo PropType = nullptr;
    std::function<TPropValue(TObject* Instance)> GetProc;
    // Empty for a read-only property.
    std::function<void(TObject* Instance, const TPropValue& Value)> SetProc;
    // Empty when the property is always stored.
    std::function<bool(TObject* Instance)> StoredProc;
    // Ordinal and set properties only; absent means "no default" (always
    // written), which is not the same as a default of 0.
    std::optional<Integer> Default;
};
using PPropInfo = const TPropInfo*;
using TPropList = std::vector<PPropInfo>;

// Identifiers (property and component names) compare without regard to ASCII case.
struct TIdentifierHash {
    std::size_t operator()(std::string_view Name) const noexcept;
};
struct TIdentifierEqual {
    bool operator()(std::string_view A, std::string_view B) const noexcept;
};

// The published properties of one class: either those it declares itself or,
// for a class reference, those it has with the inherited ones.
class TPropertyTable {
public:
    explicit TPropertyTable(const std::function<void(TPropertyTable& Table)>& Declare);
    TPropertyTable(const TPropertyTable&) = delete;
    TPropertyTable& operator=(const TPropertyTable&) = delete;

    // Declaration order, inherited properties first.
    const TPropList& Properties() const { return FList; }
    // Sorted by name without regard to case.
    const TPropList& SortedProperties() const { return FSorted; }
    PPropInfo Find(std::string_view Name) const;

    // Declaration interface of TPropertyBuilder.
    TPropInfo& Declare(AnsiString Name, PTypeInfo PropType);
    PTypeInfo Retype(PTypeInfo PropType, TTypeKind Kind, const AnsiString& Name);
    void Append(PPropInfo Info);

private:
    std::deque<TPropInfo> FOwned;
    std::deque<TTypeInfo> FTypes;
    TPropList FList;
    TPropList FSorted;
    std::unordered_map<std::string_view, PPropInfo, TIdentifierHash, TIdentifierEqual> FIndex;
};

// The properties of a class with its ancestors', built on first use.
const TPropertyTable& ClassPropertyTable(TClass Class);

// ---------------------------------------------------------------------------
// Declaring properties

[[noreturn]] void ZxPropertyOfOtherClass(const TPropInfo& Info, TObject* Instance);
[[noreturn]] void ZxInvalidPropertyValue();
Int64 ZxCheckedOrdinal(const TPropInfo& Info, const TPropValue& Value);
// A float value in transit as Extended, or as Currency, rounded half away
// from zero to four decimals; a value outside Currency's range raises
// EPropertyConvertError.
Extended ZxExtendedOf(const TPropValue& Value);
Currency ZxCurrencyOf(const TPropValue& Value);

template <typename C> C& ZxInstanceAs(TObject* Instance, const TPropInfo& Info) {
    C* object = dynamic_cast<C*>(Instance);
    if (!object)
        ZxPropertyOfOtherClass(Info, Instance);
    return *object;
}

template <typename T> Int64 ZxOrdinalOf(const T& Value) {
    if constexpr (ZxIsSet<T>::value)
        return Value.ToOrdinal();
    else if constexpr (std::is_same_v<T, char>)
        return static_cast<unsigned char>(Value);
    else
        return static_cast<Int64>(Value);
}

template <typename T> TPropValue ZxToPropValue(const T& Value) {
    if constexpr (std::is_floating_point_v<T>)
        return static_cast<Extended>(Value);
    else if constexpr (std::is_same_v<T, AnsiString> || std::is_same_v<T, WideString> ||
                       std::is_same_v<T, Currency>)
        return Value;
    else if constexpr (ZxObjectPointer<T>)
        return static_cast<TObject*>(Value);
    else if constexpr (ZxIsEvent<T>::value)
        return TMethod{Value ? std::any(Value.Handler()) : std::any(), Value.HandlerName()};
    else
        return ZxOrdinalOf(Value);
}

template <typename T> T ZxFromPropValue(const TPropValue& Value, const TPropInfo& Info) {
    if constexpr (std::is_floating_point_v<T>) {
        return static_cast<T>(ZxExtendedOf(Value));
    } else if constexpr (std::is_same_v<T, Currency>) {
        return ZxCurrencyOf(Value);
    } else if constexpr (std::is_same_v<T, AnsiString> || std::is_same_v<T, WideString>) {
        return std::get<T>(Value);
    } else if constexpr (ZxObjectPointer<T>) {
        TObject* object = std::get<TObject*>(Value);
        T result = dynamic_cast<T>(object);
        if (object && !result)
            ZxInvalidPropertyValue();
        return result;
    } else if constexpr (ZxIsEvent<T>::value) {
        const TMethod& method = std::get<TMethod>(Value);
        if (!method.Code.has_value())
            return T(typename T::THandler(), method.Name);
        const auto* handler = std::any_cast<typename T::THandler>(&method.Code);
        if (!handler)
            ZxInvalidPropertyValue();
        return T(*handler, method.Name);
    } else if constexpr (ZxIsSet<T>::value) {
        return T::FromOrdinal(static_cast<Cardinal>(ZxCheckedOrdinal(Info, Value)));
    } else if constexpr (std::is_same_v<T, bool>) {
        return ZxCheckedOrdinal(Info, Value) != 0;
    } else if constexpr (std::is_enum_v<T>) {
        return static_cast<T>(
            static_cast<std::underlying_type_t<T>>(ZxCheckedOrdinal(Info, Value)));
    } else {
        return static_cast<T>(std::get<Int64>(Value));
    }
}

// Refines the property just declared.
template <typename C> class TPropertyDeclaration {
public:
    TPropertyDeclaration(TPropertyTable& Table, TPropInfo& Info) : FTable(Table), FInfo(Info) {}

    // The value that form files leave out (ordinal and set properties).
    template <typename V> TPropertyDeclaration& Default(const V& Value) {
        TTypeKind kind = FInfo.PropType->Kind;
        if (kind != tkInteger && kind != tkChar && kind != tkWChar && kind != tkEnumeration &&
            kind != tkSet)
            throw EPropertyError("Property " + FInfo.Name + " cannot have a default");
        FInfo.Default = static_cast<Integer>(ZxOrdinalOf(Value));
        return *this;
    }
    TPropertyDeclaration& Stored(bool Value) {
        if (Value)
            FInfo.StoredProc = nullptr;
        else
            FInfo.StoredProc = [](TObject*) { return false; };
        return *this;
    }
    // A member function of C telling whether the property is written.
    template <typename Predicate>
    requires(!std::is_same_v<Predicate, bool>) TPropertyDeclaration& Stored(Predicate IsStored) {
        const TPropInfo& info = FInfo;
        FInfo.StoredProc = [IsStored, &info](TObject* Instance) {
            return static_cast<bool>(std::invoke(IsStored, ZxInstanceAs<C>(Instance, info)));
        };
        return *this;
    }
    TPropertyDeclaration& TypeName(const AnsiString& Name) {
        FInfo.PropType = FTable.Retype(FInfo.PropType, FInfo.PropType->Kind, Name);
        return *this;
    }
    // An AnsiString property that the platform knows as a short string.
    TPropertyDeclaration& ShortString() {
        if (FInfo.PropType->Kind != tkLString)
            throw EPropertyError("Property " + FInfo.Name + " is no AnsiString");
        FInfo.PropType = FTable.Retype(FInfo.PropType, tkString, "ShortString");
        return *this;
    }

private:
    TPropertyTable& FTable;
    TPropInfo& FInfo;
};

template <typename C, typename Getter>
using ZxPropertyType = std::remove_cvref_t<std::invoke_result_t<Getter, C&>>;

template <typename C> class TPropertyBuilder {
public:
    explicit TPropertyBuilder(TPropertyTable& Table) : FTable(Table) {}

    template <typename Getter, typename Setter>
    TPropertyDeclaration<C> Property(const AnsiString& Name, Getter Get, Setter Set) {
        using T = ZxPropertyType<C, Getter>;
        TPropInfo& info = Declare<T>(Name, Get);
        info.SetProc = [Set, &info](TObject* Instance, const TPropValue& Value) {
            C& object = ZxInstanceAs<C>(Instance, info);
            if constexpr (std::is_member_object_pointer_v<Setter>)
                std::invoke(Set, object) = ZxFromPropValue<T>(Value, info);
            else
                std::invoke(Set, object, ZxFromPropValue<T>(Value, info));
        };
        return TPropertyDeclaration<C>(FTable, info);
    }

    // A property read and written through one data member.
    template <typename Field>
    requires std::is_member_object_pointer_v<Field> TPropertyDeclaration<C>
    Property(const AnsiString& Name, Field Member) {
        return Property(Name, Member, Member);
    }

    template <typename Getter>
    TPropertyDeclaration<C> ReadOnly(const AnsiString& Name, Getter Get) {
        return TPropertyDeclaration<C>(FTable, Declare<ZxPropertyType<C, Getter>>(Name, Get));
    }

private:
    template <typename T, typename Getter> TPropInfo& Declare(const AnsiString& Name, Getter Get) {
        TPropInfo& info = FTable.Declare(Name, TypeInfo<T>());
        info.GetProc = [Get, &info](TObject* Instance) -> TPropValue {
            return ZxToPropValue<T>(std::invoke(Get, ZxInstanceAs<C>(Instance, info)));
        };
        return info;
    }

    TPropertyTable& FTable;
};

template <typename T> const TPropertyTable* ZxBuildOwnProperties() {
    static const TPropertyTable table([](TPropertyTable& Table) {
        TPropertyBuilder<T> builder(Table);
        T::PublishedProperties(builder);
    });
    return &table;
}

// ---------------------------------------------------------------------------
// Finding properties

TPropList GetPropList(TClass AClass, const TTypeKinds& TypeKinds = tkAny, bool SortList = true);
TPropList GetPropList(const TObject* Instance, const TTypeKinds& TypeKinds = tkAny,
                      bool SortList = true);
// nullptr when the class publishes no such property of one of AKinds.
PPropInfo GetPropInfo(TClass AClass, const AnsiString& PropName, const TTypeKinds& AKinds = tkAny);
PPropInfo GetPropInfo(const TObject* Instance, const AnsiString& PropName,
                      const TTypeKinds& AKinds = tkAny);
bool IsPublishedProp(TClass AClass, const AnsiString& PropName);
bool IsPublishedProp(const TObject* Instance, const AnsiString& PropName);
// Raise EPropertyError when the property does not exist.
bool PropIsType(const TObject* Instance, const AnsiString& PropName, TTypeKind TypeKind);
TTypeKind PropType(const TObject* Instance, const AnsiString& PropName);

// Whether form files write the property: its stored rule, not its default.
bool IsStoredProp(TObject* Instance, PPropInfo PropInfo);

// ---------------------------------------------------------------------------
// Reading and writing properties. A property of another kind raises
// EPropertyConvertError "Invalid property type: %s", an unknown name
// EPropertyError "Property %s does not exist", writing a read-only property
// EPropertyError.

// tkInteger, tkChar, tkWChar, tkEnumeration, tkSet.
Integer GetOrdProp(TObject* Instance, PPropInfo PropInfo);
Integer GetOrdProp(TObject* Instance, const AnsiString& PropName);
void SetOrdProp(TObject* Instance, PPropInfo PropInfo, Integer Value);
void SetOrdProp(TObject* Instance, const AnsiString& PropName, Integer Value);

// tkInt64 and the ordinal kinds.
Int64 GetInt64Prop(TObject* Instance, PPropInfo PropInfo);
Int64 GetInt64Prop(TObject* Instance, const AnsiString& PropName);
void SetInt64Prop(TObject* Instance, PPropInfo PropInfo, Int64 Value);
void SetInt64Prop(TObject* Instance, const AnsiString& PropName, Int64 Value);

// tkString, tkLString, tkWString (wide strings converted from and to UTF-8).
AnsiString GetStrProp(TObject* Instance, PPropInfo PropInfo);
AnsiString GetStrProp(TObject* Instance, const AnsiString& PropName);
void SetStrProp(TObject* Instance, PPropInfo PropInfo, const AnsiString& Value);
void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);
WideString GetWideStrProp(TObject* Instance, PPropInfo PropInfo);
WideString GetWideStrProp(TObject* Instance, const AnsiString& PropName);
void SetWideStrProp(TObject* Instance, PPropInfo PropInfo, const WideString& Value);
void SetWideStrProp(TObject* Instance, const AnsiString& PropName, const WideString& Value);

Extended GetFloatProp(TObject* Instance, PPropInfo PropInfo);
Extended GetFloatProp(TObject* Instance, const AnsiString& PropName);
void SetFloatProp(TObject* Instance, PPropInfo PropInfo, Extended Value);
void SetFloatProp(TObject* Instance, const AnsiString& PropName, Extended Value);
// Float properties as Currency: exact for a Currency field, rounded to four
// decimals for the others.
Currency GetCurrencyProp(TObject* Instance, PPropInfo PropInfo);
void SetCurrencyProp(TObject* Instance, PPropInfo PropInfo, Currency Value);

// Enumerations by value name; an unknown name raises EPropertyConvertError
// "Invalid property element: %s".
AnsiString GetEnumProp(TObject* Instance, PPropInfo PropInfo);
AnsiString GetEnumProp(TObject* Instance, const AnsiString& PropName);
void SetEnumProp(TObject* Instance, PPropInfo PropInfo, const AnsiString& Value);
void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);

// Sets as text: element names in ordinal order separated by commas ("a,b"),
// in brackets ("[a,b]") when asked. Reading accepts both forms and blanks.
AnsiString SetToString(PPropInfo PropInfo, Integer Value, bool Brackets = false);
Integer StringToSet(PPropInfo PropInfo, const AnsiString& Value);
AnsiString GetSetProp(TObject* Instance, PPropInfo PropInfo, bool Brackets = false);
AnsiString GetSetProp(TObject* Instance, const AnsiString& PropName, bool Brackets = false);
void SetSetProp(TObject* Instance, PPropInfo PropInfo, const AnsiString& Value);
void SetSetProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);

// The object held, or nullptr when it is not of MinClass.
TObject* GetObjectProp(TObject* Instance, PPropInfo PropInfo, TClass MinClass = nullptr);
TObject* GetObjectProp(TObject* Instance, const AnsiString& PropName, TClass MinClass = nullptr);
// Class validation: an object that is not of the property's class is not
// stored and the property keeps its value; nullptr is always accepted.
void SetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value);
void SetObjectProp(TObject* Instance, const AnsiString& PropName, TObject* Value);
TClass GetObjectPropClass(PPropInfo PropInfo);

// A handler of another signature raises EPropertyConvertError "Invalid property value".
TMethod GetMethodProp(TObject* Instance, PPropInfo PropInfo);
TMethod GetMethodProp(TObject* Instance, const AnsiString& PropName);
void SetMethodProp(TObject* Instance, PPropInfo PropInfo, const TMethod& Value);
void SetMethodProp(TObject* Instance, const AnsiString& PropName, const TMethod& Value);
