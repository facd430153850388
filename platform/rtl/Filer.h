// Component streaming: the tagged values of the binary component format, the
// filer classes that read and write them, and on top of them components with
// their published properties, children, references and events.
//
// What a component record holds
// -----------------------------
// The writer puts down, for each component: the filer flags prefix, class
// name, name, the published properties that differ from their defaults (or
// from the ancestor's values when writing a descendant of an inherited form),
// what DefineProperties adds, an end marker, then the children (GetChildren)
// and a second end marker. Sub-objects travel as dotted names ("Font.Name"),
// TStrings as "Name.Strings" lists (the filers define "Strings" for every
// TStrings they meet), collections as vaCollection, components
// by name ("Button1", "Form2.Button1", the root itself as "Owner"), events by
// their handler names.
//
// Reading
// -------
// Every component the reader creates is owned by the root (or by an inline
// frame), is csLoading and csReading while its properties are read, and gets
// Loaded in creation order -- root first -- once the whole tree is read and
// the component references are fixed up. A failed read frees every component
// it created and raises EReadError; an instance passed in stays with its
// owner.
//
// Hooks for the layers above
// --------------------------
// - Controls override TComponent::GetChildren (what a container writes),
//   HasParent and SetParentComponent (the reader hands each such child the
//   component it was written inside).
// - Event handlers are found by name: a class offers its handlers with
//   RegisterMethod (its "published methods"); the reader binds the handler of
//   the root being read. TReader::OnFindMethod can overrule the lookup (a
//   designer keeps handler names it cannot run).
// - References to components of other roots ("Form2.Button1") are resolved
//   through FindGlobalComponent, which asks the functions registered with
//   RegisterFindGlobalComponentProc (the screen registers its forms). A
//   reference to a root that is not there yet waits until a later read, or
//   GlobalFixupReferences, finds it.
// - Integer properties of types with named constants (colours, cursors) are
//   written as identifiers once RegisterIntegerConsts knows the type name.
#pragma once

#include "rtl/Collections.h"
#include "rtl/Components.h"
#include "rtl/Streams.h"

#include <any>
#include <span>
#include <vector>

// The tag byte in front of every value of a component stream.
enum TValueType : Byte {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64
};

// Flags of an object record: bit n of the prefix byte stands for ordinal n.
enum class TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;
inline constexpr TFilerFlag ffInherited = TFilerFlag::ffInherited;
inline constexpr TFilerFlag ffChildPos = TFilerFlag::ffChildPos;
inline constexpr TFilerFlag ffInline = TFilerFlag::ffInline;

// The four bytes that open a component stream.
inline constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};

class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader& Reader)>;
using TWriterProc = std::function<void(TWriter& Writer)>;
using TStreamProc = std::function<void(TStream& Stream)>;

// Base of the reader and the writer: the stream they work on, the root of
// the component tree, and the properties a persistent object defines beyond
// its published ones.
class TFiler : public TObject {
    ZX_CLASS(TFiler, TObject)
public:
    explicit TFiler(TStream& Stream) : FStream(Stream) {}
    TStream& Stream() const { return FStream; }

    // The component the stream holds; references are names within LookupRoot.
    TComponent* Root() const { return FRoot; }
    virtual void SetRoot(TComponent* Value) { FRoot = Value; }
    TComponent* LookupRoot() const { return FLookupRoot; }
    // While a descendant of an inherited form is written: the ancestor's
    // counterpart of the object being written, so that HasData can compare.
    TPersistent* Ancestor() const { return FAncestor; }
    void SetAncestor(TPersistent* Value) { FAncestor = Value; }
    // The writer leaves out children while this is set.
    bool IgnoreChildren() const { return FIgnoreChildren; }
    void SetIgnoreChildren(bool Value) { FIgnoreChildren = Value; }

    // Called from DefineProperties. The writer writes the property (its name,
    // then what WriteData writes) only when HasData is true; the reader calls
    // ReadData when the stream holds a property of that name.
    virtual void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                                const TWriterProc& WriteData, bool HasData) = 0;
    // The same with the value as raw bytes (vaBinary): WriteData fills a
    // stream, ReadData gets a stream over exactly the bytes written.
    virtual void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                      const TStreamProc& WriteData, bool HasData) = 0;

protected:
    TStream& FStream;
    TComponent* FRoot = nullptr;
    TComponent* FLookupRoot = nullptr;
    TPersistent* FAncestor = nullptr;
    bool FIgnoreChildren = false;
};

// Writes values in the binary component format, little-endian.
class TWriter : public TFiler {
    ZX_CLASS(TWriter, TFiler)
public:
    explicit TWriter(TStream& Stream) : TFiler(Stream) {}

    void Write(const void* Buffer, Integer Count);
    void WriteValue(TValueType Value);
    void WriteSignature();
    // One byte 0xF0 | Flags when Flags are not empty, then with ffChildPos
    // the child position as an integer value.
    void WritePrefix(TFilerFlags Flags, Integer AChildPos);
    // A class, object or property name: length byte and bytes, no tag;
    // EWriteError for names longer than 255 bytes.
    void WriteStr(const AnsiString& Value);

    void WriteListBegin();
    void WriteListEnd();
    // The smallest of vaInt8, vaInt16 and vaInt32 that holds the value; the
    // Int64 overload uses vaInt64 only for values beyond 32 bits.
    void WriteInteger(Integer Value);
    void WriteInteger(Int64 Value);
    void WriteBoolean(bool Value);
    void WriteChar(char Value);
    void WriteWideChar(WideChar Value);
    void WriteFloat(Extended Value);
    void WriteSingle(float Value);
    void WriteCurrency(Currency Value);
    void WriteDate(TDateTime Value);
    // vaString up to 255 bytes, vaLString beyond.
    void WriteString(const AnsiString& Value);
    void WriteWideString(const WideString& Value);
    // "False", "True", "nil" and "Null" (any case) become their own tags.
    void WriteIdent(const AnsiString& Ident);
    void WriteSet(const std::vector<AnsiString>& Names);
    void WriteBinary(const void* Data, Integer Count);

    // The root with its properties and children, after the signature:
    // WriteDescendent with no ancestor.
    void WriteRootComponent(TComponent* ARoot);
    // Writes ARoot as a descendant of AAncestor (an instance of the inherited
    // form): only what differs from the ancestor is written, and components
    // the ancestor has too are marked ffInherited.
    void WriteDescendent(TComponent* ARoot, TComponent* AAncestor);
    // One component record: prefix, class name, name, properties, children.
    // Without a root set, Component becomes the root.
    void WriteComponent(TComponent* Component);
    // The published properties that are to be stored, in declaration order,
    // then those Instance defines (DefineProperties).
    void WriteProperties(TPersistent* Instance);
    // vaCollection, then each item's properties as a list, then vaNull.
    void WriteCollection(TCollection* Value);

    void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    // The root of the inherited form while a descendant is written.
    TComponent* RootAncestor() const { return FRootAncestor; }

private:
    void WriteByte(Byte Value);
    void WriteLittleEndian(std::uint64_t Value, Integer Size);
    void WriteLength32(std::size_t Length);

    void WriteData(TComponent* Instance);
    void WriteChildren(TComponent* Instance);
    void WriteProperty(TPersistent* Instance, PPropInfo PropInfo);
    void WriteOrdinalProperty(TPersistent* Instance, PPropInfo PropInfo);
    void WriteInt64Property(TPersistent* Instance, PPropInfo PropInfo);
    void WriteFloatProperty(TPersistent* Instance, PPropInfo PropInfo);
    void WriteStringProperty(TPersistent* Instance, PPropInfo PropInfo);
    void WriteWideStringProperty(TPersistent* Instance, PPropInfo PropInfo);
    void WriteMethodProperty(TPersistent* Instance, PPropInfo PropInfo);
    void WriteObjectProperty(TPersistent* Instance, PPropInfo PropInfo);
    void WriteSubObject(PPropInfo PropInfo, TPersistent* Value);
    void WriteReference(PPropInfo PropInfo, TComponent* Value);
    void WritePropName(const AnsiString& Name);
    // The ancestor's counterpart of the object being written, when it
    // publishes PropInfo too.
    TPersistent* AncestorWith(PPropInfo PropInfo) const;
    TComponent* FindAncestorChild(const AnsiString& Name) const;
    // The name a component is referred to by from LookupRoot; empty when it
    // cannot be named.
    AnsiString ReferenceName(TComponent* Component) const;
    bool SameReference(TComponent* Value, TComponent* AncestorValue) const;
    // The items of a collection as this writer would write them for ARoot.
    AnsiString CollectionImage(TCollection* Value, TComponent* ARoot);

    TComponent* FRootAncestor = nullptr;
    AnsiString FPropPath;
    // The ancestor's children at the level being written, and where the
    // descendant's children stand against them (for ffChildPos).
    std::vector<TComponent*> FAncestorList;
    bool FHasAncestorList = false;
    std::size_t FAncestorPos = 0;
    Integer FChildPos = 0;
    Integer FNesting = 0;
};

// Reads values of the binary component format, and components from them.
// The stream is untrusted: every length is checked against the bytes that
// remain before anything is allocated, and any malformed value raises
// EReadError with "Stream read error" (truncation), "Invalid stream format"
// (bad structure or unknown tag) or "Invalid property value" (a value of the
// wrong kind). A property that cannot be read gives "Error reading
// <component>.<property>: <reason>".
class TReader : public TFiler {
    ZX_CLASS(TReader, TFiler)
public:
    // Deepest nesting of objects, lists and collections a stream may use, so
    // that a hostile stream cannot exhaust the stack.
    static constexpr Integer MaxNesting = 256;

    // Counts one level of nesting for its lifetime; raises "Invalid stream
    // format" beyond MaxNesting.
    class TNesting {
    public:
        explicit TNesting(TReader& Reader);
        ~TNesting() { --FReader.FNesting; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TReader& FReader;
    };

    explicit TReader(TStream& Stream) : TFiler(Stream) {}

    void Read(void* Buffer, Integer Count);
    TValueType ReadValue();
    // The next tag, left in the stream.
    TValueType NextValue();
    // Whether the next byte is the vaNull that ends a list; it stays in the
    // stream. Names may follow, so the byte is not checked as a tag.
    bool EndOfList();
    void CheckValue(TValueType Value);
    void ReadSignature();
    // Flags of the prefix byte if there is one (empty otherwise), and the
    // child position when ffChildPos is among them (0 otherwise).
    void ReadPrefix(TFilerFlags& Flags, Integer& AChildPos);
    AnsiString ReadStr();

    void ReadListBegin();
    void ReadListEnd();
    Integer ReadInteger();
    Int64 ReadInt64();
    bool ReadBoolean();
    char ReadChar();
    WideChar ReadWideChar();
    // The float readers also take integer values.
    Extended ReadFloat();
    float ReadSingle();
    Currency ReadCurrency();
    TDateTime ReadDate();
    // 8-bit and wide strings are both accepted, converted as needed.
    AnsiString ReadString();
    WideString ReadWideString();
    // vaIdent, or "False", "True", "nil", "Null" for their tags.
    AnsiString ReadIdent();
    std::vector<AnsiString> ReadSet();
    std::vector<Byte> ReadBinary();
    // Skips one value of any kind, nested values included.
    void SkipValue();

    // Finds an event handler for the reader: Address receives the handler
    // the root offers under MethodName (empty when none) and Error tells
    // whether that is an error; the handler may change both. Setting Error
    // false with an empty Address keeps the name without code.
    using TFindMethodEvent = std::function<void(TReader& Reader, const AnsiString& MethodName,
                                                std::any& Address, bool& Error)>;
    TFindMethodEvent OnFindMethod;
    // A property the instance does not have ("Error reading Form1.Foo:
    // Property Foo does not exist"): setting Handled skips its value and
    // reading goes on; otherwise EReadError with that message.
    using TReaderError =
        std::function<void(TReader& Reader, const AnsiString& Message, bool& Handled)>;
    TReaderError OnError;

    // After the signature, the root record: into ARoot, or into a new
    // component of the class the stream names, owned by AOwner. MinClass,
    // when given, is the class the stream's class must descend from, also
    // when reading into ARoot; the class is checked before anything is
    // created or read. The root's name is made unique among the global
    // components ("Form1_1").
    TComponent* ReadRootComponent(TComponent* ARoot, TComponent* AOwner = nullptr,
                                  TClass MinClass = nullptr);
    // One component record below the root: into Component, or into the
    // existing component of that name for an ffInherited record, or into a
    // new component of the stream's class owned by Owner().
    TComponent* ReadComponent(TComponent* Component);
    // One property of Instance: a published one, possibly through dotted
    // sub-objects, or one that Instance defines.
    void ReadProperty(TPersistent* Instance);
    // The items of a collection after its vaCollection tag.
    void ReadCollection(TCollection* Collection);

    void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    // A standalone record reaches nothing outside itself: component
    // references and event handler names in it are read and dropped, and a
    // child record is refused ("Invalid stream format"). For records from
    // files that are not trusted.
    bool Standalone() const { return FStandalone; }
    void SetStandalone(bool Value) { FStandalone = Value; }

    // The owner of the components being created and the component they are
    // children of.
    TComponent* Owner() const { return FOwner; }
    void SetOwner(TComponent* Value) { FOwner = Value; }
    TComponent* Parent() const { return FParent; }
    void SetParent(TComponent* Value) { FParent = Value; }
    // The name of the property being read while DefineProperties runs;
    // emptied once a defined property has taken it.
    const AnsiString& PropName() const { return FPropName; }

private:
    struct TFixup {
        // The component whose record holds the property.
        TComponent* Holder;
        TPersistent* Instance;
        PPropInfo PropInfo;
        TComponent* LookupRoot;
        AnsiString Name;
    };

    void ReadData(TComponent* Instance);
    void UnknownProperty(TPersistent* Instance, const AnsiString& Path, const AnsiString& Name);
    TComponent* CreateChild(const AnsiString& ClassName);
    TComponent* FindInheritedChild(const AnsiString& Name);
    void StartLoading(TComponent* Component);
    void ReadPropValue(TPersistent* Instance, PPropInfo PropInfo);
    void ReadIntegerValue(TPersistent* Instance, PPropInfo PropInfo);
    void ReadEnumValue(TPersistent* Instance, PPropInfo PropInfo);
    void ReadSetValue(TPersistent* Instance, PPropInfo PropInfo);
    void ReadFloatValue(TPersistent* Instance, PPropInfo PropInfo);
    void ReadObjectValue(TPersistent* Instance, PPropInfo PropInfo);
    void ReadMethodValue(TPersistent* Instance, PPropInfo PropInfo);
    std::any FindMethod(const AnsiString& MethodName);
    void FixupReferences();
    void CallLoaded();
    void AbandonRead(TComponent* PassedRoot);

    Byte ReadByte();
    Byte PeekByte();
    std::uint64_t ReadLittleEndian(Integer Size);
    void CheckRemaining(Int64 Count);
    void SkipBytes(Int64 Count);
    Cardinal ReadLength32();
    Int64 ReadIntegerPayload(TValueType Value);
    Extended ReadExtendedPayload();
    AnsiString ReadBytes(Int64 Count);
    WideString ReadWideStringPayload();
    void SkipCollection();

    Integer FNesting = 0;
    bool FStandalone = false;
    TComponent* FOwner = nullptr;
    TComponent* FParent = nullptr;
    // The component whose properties are being read.
    TComponent* FComponent = nullptr;
    AnsiString FPropName;
    std::vector<TFixup> FFixups;
    // Every component the read put into the loading state, in creation
    // order, and those of them it created.
    std::vector<TComponent*> FLoaded;
    std::vector<TComponent*> FCreated;
};

// ---------------------------------------------------------------------------
// Components on streams and in form files

// The component with its children as a component stream ("TPF0" first).
void WriteComponent(TStream& Stream, TComponent* Instance);
// Only what differs from Ancestor, an instance of the inherited form.
void WriteDescendent(TStream& Stream, TComponent* Instance, TComponent* Ancestor);
// Reads a component stream into Instance, or into a new component of the
// class the stream names (of MinClass when given), owned by Owner.
TComponent* ReadComponent(TStream& Stream, TComponent* Instance = nullptr,
                          TComponent* Owner = nullptr, TClass MinClass = nullptr);

// The form resource form: a resource header named ResName, then the stream.
void WriteComponentRes(TStream& Stream, const AnsiString& ResName, TComponent* Instance);
void WriteDescendentRes(TStream& Stream, const AnsiString& ResName, TComponent* Instance,
                        TComponent* Ancestor);
TComponent* ReadComponentRes(TStream& Stream, TComponent* Instance = nullptr);

// Form files. The binary one is a form resource named after the class; both
// writers replace the file atomically. LoadComponentFromFile takes text and
// binary files alike. Read errors name the file.
void WriteComponentResFile(const AnsiString& FileName, TComponent* Instance);
TComponent* ReadComponentResFile(const AnsiString& FileName, TComponent* Instance = nullptr);
void SaveComponentToTextFile(const AnsiString& FileName, TComponent* Instance);
TComponent* LoadComponentFromFile(const AnsiString& FileName, TComponent* Instance = nullptr);

// ---------------------------------------------------------------------------
// Finding components by name across roots

// Returns the root component of that name, or nullptr.
using TFindGlobalComponent = TComponent* (*)(const AnsiString& Name);
void RegisterFindGlobalComponentProc(TFindGlobalComponent AFindGlobalComponent);
void UnregisterFindGlobalComponentProc(TFindGlobalComponent AFindGlobalComponent);
// Asks the registered functions in the order they were registered.
TComponent* FindGlobalComponent(const AnsiString& Name);
// A dotted path of component names: the first part among Root's components
// (or Root itself by its name, or "Owner"), else a global component; each
// further part among the components of the one before ("Owner" stays).
TComponent* FindNestedComponent(TComponent* Root, const AnsiString& NamePath);
// Resolves the references that earlier reads left waiting for roots that
// were not there yet; the readers call it after each root they load.
void GlobalFixupReferences();
// Lets Instance's reference property wait for the component NamePath names
// from LookupRoot (a designer keeps the references into a form it closes);
// the wait ends with Holder. Writers write a waiting reference by its name.
void AddPendingReference(TComponent* Holder, TPersistent* Instance, PPropInfo PropInfo,
                         TComponent* LookupRoot, const AnsiString& NamePath);
// The name a reference of Instance waits for, empty when none.
AnsiString PendingReferenceName(const TPersistent* Instance, PPropInfo PropInfo);

// ---------------------------------------------------------------------------
// Published methods: the event handlers a class offers to form files by name

// Binds the handler to an instance of the class: an std::function of the
// handler's signature (the THandler of its event type), or empty.
using TMethodBinder = std::function<std::any(TObject* Instance)>;
void RegisterMethod(TClass AClass, const AnsiString& Name, TMethodBinder Bind);

// Offers a member function, bound to the instance:
//     RegisterMethod("Button1Click", &TForm1::Button1Click);
template <typename C, typename R, typename... Args>
void RegisterMethod(const AnsiString& Name, R (C::*Method)(Args...)) {
    RegisterMethod(C::StaticClass(), Name, [Method](TObject* Instance) -> std::any {
        C* self = dynamic_cast<C*>(Instance);
        if (!self)
            return {};
        return std::function<R(Args...)>(
            [self, Method](Args... Arguments) { return (self->*Method)(Arguments...); });
    });
}

// The handler Instance's class (or an ancestor class) registered under
// Name, bound to Instance; empty when there is none.
std::any MethodAddress(TObject* Instance, const AnsiString& Name);

// ---------------------------------------------------------------------------
// Integer constants written as identifiers (clRed, crHourGlass)

using TIdentToInt = bool (*)(const AnsiString& Ident, Integer& Int);
using TIntToIdent = bool (*)(Integer Int, AnsiString& Ident);

struct TIdentMapEntry {
    Integer Value;
    const char* Name;
};
// Lookups in a table of constants; identifiers compare without regard to case.
bool IdentToInt(const AnsiString& Ident, Integer& Int, std::span<const TIdentMapEntry> Map);
bool IntToIdent(Integer Int, AnsiString& Ident, std::span<const TIdentMapEntry> Map);
// The names IntToIdent gives, in the table's order (a second name of a
// value is left out).
void GetIdentNames(std::span<const TIdentMapEntry> Map, const std::function<void(const AnsiString&)>& Proc);

// For the integer property types of that type name (a TypeName of the
// property declaration, e.g. "TColor").
void RegisterIntegerConsts(const AnsiString& TypeName, TIdentToInt AIdentToInt,
                           TIntToIdent AIntToIdent);
TIdentToInt FindIdentToInt(const AnsiString& TypeName);
TIntToIdent FindIntToIdent(const AnsiString& TypeName);
