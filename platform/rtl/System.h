// The basic types of the Pascal run-time library, its 1-based string routines,
// sets, and the root of the class hierarchy.
#pragma once

#include <any>
#include <atomic>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>

// 8-bit strings hold UTF-8 and keep every byte, in-band markers included.
using AnsiString = std::string;
using WideString = std::u16string;
using AnsiChar = char;
using WideChar = char16_t;

using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using Int64 = std::int64_t;
using Word = std::uint16_t;
using Byte = std::uint8_t;
using Extended = long double;
using TDateTime = double;

// Pascal's Currency: a fixed-point number with four decimals, held as the
// value times 10000 so that it travels through properties, streams and text
// exactly.
struct Currency {
    Int64 Scaled = 0;

    friend bool operator==(const Currency&, const Currency&) = default;
};

inline constexpr const char* sLineBreak = "\n";
inline constexpr char PathDelim = '/';

// A Pascal set of up to 256 elements of an enumeration or of 8-bit characters.
template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    TSet(std::initializer_list<E> elements) {
        for (E element : elements)
            Include(element);
    }

    bool Contains(E element) const { return Bits.test(Ordinal(element)); }
    TSet& Include(E element) {
        Bits.set(Ordinal(element));
        return *this;
    }
    TSet& Exclude(E element) {
        Bits.reset(Ordinal(element));
        return *this;
    }
    bool Empty() const { return Bits.none(); }

    friend TSet operator+(TSet a, const TSet& b) {
        a.Bits |= b.Bits;
        return a;
    }
    friend TSet operator-(TSet a, const TSet& b) {
        a.Bits &= ~b.Bits;
        return a;
    }
    friend TSet operator*(TSet a, const TSet& b) {
        a.Bits &= b.Bits;
        return a;
    }
    friend bool operator==(const TSet&, const TSet&) = default;

    // The ordinal image the platform uses for sets of at most 32 elements:
    // bit n stands for the element of ordinal n.
    Cardinal ToOrdinal() const { return static_cast<Cardinal>((Bits & std::bitset<256>(0xFFFFFFFFu)).to_ulong()); }
    static TSet FromOrdinal(Cardinal value) {
        TSet result;
        result.Bits = std::bitset<256>(value);
        return result;
    }

private:
    static std::size_t Ordinal(E element) {
        if constexpr (std::is_same_v<E, char>)
            return static_cast<unsigned char>(element);
        else
            return static_cast<std::size_t>(element) & 0xFF;
    }
    std::bitset<256> Bits;
};

using TSysCharSet = TSet<char>;

// 1-based string routines, for 8-bit and 16-bit strings alike.
// Pos: position of the first occurrence of Sub in S, 0 when absent or Sub is empty.
template <typename Ch>
Integer Pos(std::basic_string_view<Ch> Sub, std::basic_string_view<Ch> S) {
    if (Sub.empty())
        return 0;
    auto at = S.find(Sub);
    return at == std::basic_string_view<Ch>::npos ? 0 : static_cast<Integer>(at) + 1;
}
inline Integer Pos(const AnsiString& Sub, const AnsiString& S) {
    return Pos<char>(std::string_view(Sub), std::string_view(S));
}
inline Integer Pos(const WideString& Sub, const WideString& S) {
    return Pos<char16_t>(std::u16string_view(Sub), std::u16string_view(S));
}

// Copy: Count characters from Index; out-of-range parts are clipped.
template <typename Str>
Str Copy(const Str& S, Integer Index, Integer Count) {
    if (Index < 1)
        Index = 1;
    if (Count <= 0 || static_cast<std::size_t>(Index) > S.size())
        return Str();
    return S.substr(static_cast<std::size_t>(Index) - 1, static_cast<std::size_t>(Count));
}

// Delete: removes Count characters from Index; out-of-range parts are ignored.
template <typename Str>
void Delete(Str& S, Integer Index, Integer Count) {
    if (Index < 1 || Count <= 0 || static_cast<std::size_t>(Index) > S.size())
        return;
    S.erase(static_cast<std::size_t>(Index) - 1, static_cast<std::size_t>(Count));
}

// Insert: puts Sub before position Index, clamped to the string's ends.
template <typename Str>
void Insert(const Str& Sub, Str& S, Integer Index) {
    if (Index < 1)
        Index = 1;
    std::size_t at = static_cast<std::size_t>(Index) - 1;
    S.insert(at > S.size() ? S.size() : at, Sub);
}

AnsiString StringOfChar(char Ch, Integer Count);

// Heap blocks handed across an interface: AllocMem gives Size zero-filled
// bytes (std::bad_alloc when there is no memory), FreeMem releases a block
// of AllocMem; nullptr is ignored.
void* AllocMem(Cardinal Size);
void FreeMem(void* P);

// The program's command line: ParamStr(0) is the path of the running
// executable, Index 1 and above the arguments it was started with; an index
// beyond them gives "". Settings files live beside the executable, so a
// program (a test) may name another path for ParamStr(0) with
// SetProgramPath; an empty Path gives back the executable's.
AnsiString ParamStr(Integer Index);
void SetProgramPath(const AnsiString& Path);

// UTF-8 <-> UTF-16. A byte that is not part of valid UTF-8 becomes the lone
// surrogate U+DC00 + byte and turns back into the same byte, so no byte is lost.
WideString UTF8Decode(std::string_view S);
AnsiString UTF8Encode(std::u16string_view S);

// Code points of a UTF-8 string under the same lossless rule (U+DC80..U+DCFF
// stand for invalid bytes), and back.
std::u32string UTF8ToCodePoints(std::string_view S);
AnsiString CodePointsToUTF8(std::u32string_view S);

// ---------------------------------------------------------------------------
// Root of the class hierarchy. Every class publishes its class reference
// (TClass) through ClassType(); the reference carries the class name, the
// parent class, the table of the properties the class publishes and, for the
// component and collection-item families, the virtual constructor.

class TObject;
struct TClassInfo;
using TClass = const TClassInfo*;

class TPropertyTable;
template <typename T> class TPropertyBuilder;

struct TClassInfo {
    const char* Name;
    TClass Parent;
    // Published properties declared by this class alone (inherited ones live
    // in the parents' tables); nullptr for classes that publish nothing.
    const TPropertyTable* (*OwnProperties)() = nullptr;
    // The virtual constructor: makes an instance from the one argument its
    // family's constructor takes (a component's owner, a collection item's
    // collection); nullptr for classes that cannot be made that way.
    TObject* (*Construct)(TObject* Argument) = nullptr;
    // Published properties with the inherited ones, built once by the
    // run-time type information on first use.
    mutable std::atomic<const TPropertyTable*> AllProperties{nullptr};
    // A class of a package goes with the package's unloading: its table
    // goes with it.
    ~TClassInfo();
};

// `delete` of a TObject is the Pascal Free: BeforeDestruction runs while the
// object still has its full class (so it can tell others it is going away),
// then the destructors run and the memory is released.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    AnsiString ClassName() const;
    bool InheritsFrom(TClass Ancestor) const;

    virtual void BeforeDestruction() {}

    static void* operator new(std::size_t Size) { return ::operator new(Size); }
    // Releases the memory of an instance whose constructor raised.
    static void operator delete(void* Memory) { ::operator delete(Memory); }
    static void operator delete(TObject* Object, std::destroying_delete_t) {
        if (!Object)
            return;
        void* memory = dynamic_cast<void*>(Object);
        Object->BeforeDestruction();
        Object->~TObject();
        ::operator delete(memory);
    }
};

bool ClassInheritsFrom(TClass Class, TClass Ancestor);

// A class publishes properties by declaring
//     static void PublishedProperties(TPropertyBuilder<TSelf>& P);
// (see rtl/TypInfo.h); its table is then built on first use.
template <typename T>
concept ZxPublishesProperties = requires(TPropertyBuilder<T>& Builder) {
    T::PublishedProperties(Builder);
};

template <typename T> const TPropertyTable* ZxBuildOwnProperties(); // defined in rtl/TypInfo.h

template <typename T> constexpr auto ZxOwnPropertiesOf() -> const TPropertyTable* (*)() {
    if constexpr (ZxPublishesProperties<T>)
        return &ZxBuildOwnProperties<T>;
    else
        return nullptr;
}

// A family root names the argument of its virtual constructor as TCreateArg;
// every concrete class of the family constructible from it gets one.
template <typename T>
concept ZxHasCreateArg = requires {
    typename T::TCreateArg;
};
template <typename T>
concept ZxVirtuallyConstructible =
    ZxHasCreateArg<T> && std::is_constructible_v<T, typename T::TCreateArg>;

template <typename T> constexpr auto ZxConstructorOf() -> TObject* (*)(TObject*) {
    if constexpr (ZxVirtuallyConstructible<T>)
        return [](TObject* Argument) -> TObject* {
            return new T(static_cast<typename T::TCreateArg>(Argument));
        };
    else
        return nullptr;
}

// Declares the class reference of a class derived from TObject:
//     class TStringList : public TStrings { ZX_CLASS(TStringList, TStrings) ... };
#define ZX_CLASS(Self, Parent)                                                                     \
public:                                                                                            \
    static TClass StaticClass() {                                                                  \
        static const TClassInfo info{#Self, Parent::StaticClass(), ZxOwnPropertiesOf<Self>(),      \
                                     ZxConstructorOf<Self>()};                                     \
        return &info;                                                                              \
    }                                                                                              \
    TClass ClassType() const override {                                                            \
        return StaticClass();                                                                      \
    }                                                                                              \
                                                                                                   \
private:

// ---------------------------------------------------------------------------
// Events are function objects; "assigned" means non-empty. An event may also
// carry the name of its handler, which form files store in place of the code
// (a form read in the designer keeps the names of handlers it cannot run).
// Assigning a plain function clears the name.

template <typename Signature> class TEvent : public std::function<Signature> {
public:
    using THandler = std::function<Signature>;

    TEvent() = default;
    using THandler::THandler;
    TEvent(THandler Handler, AnsiString HandlerName)
        : THandler(std::move(Handler)), FHandlerName(std::move(HandlerName)) {}

    const THandler& Handler() const { return *this; }
    const AnsiString& HandlerName() const { return FHandlerName; }

private:
    AnsiString FHandlerName;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

// The value of a method property, whatever the event's signature: Code holds
// the event's THandler (std::function) or nothing, Name the handler's name.
struct TMethod {
    std::any Code;
    AnsiString Name;
};
