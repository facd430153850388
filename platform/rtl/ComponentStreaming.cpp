// The component level of component streaming: TWriter and TReader over
// components, their properties and children; form files; the registries
// that let other layers name global components, event handlers and integer
// constants.
#include "rtl/Filer.h"
#include "rtl/FormText.h"
#include "rtl/Lists.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>

namespace {

[[noreturn]] void ReadError(const AnsiString& Message) {
    throw EReadError(Message);
}

[[noreturn]] void InvalidPropertyValue() {
    ReadError("Invalid property value");
}

// Puts a variable back to the value it had when the guard was made.
template <typename T> class TRestore {
public:
    explicit TRestore(T& Variable) : FVariable(Variable), FSaved(Variable) {}
    ~TRestore() { FVariable = std::move(FSaved); }
    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& FVariable;
    T FSaved;
};

// Runs an action when the scope ends, however it ends.
class TFinally {
public:
    explicit TFinally(std::function<void()> Action) : FAction(std::move(Action)) {}
    ~TFinally() { FAction(); }
    TFinally(const TFinally&) = delete;
    TFinally& operator=(const TFinally&) = delete;

private:
    std::function<void()> FAction;
};

// Counts the writer's nesting so that a cycle of sub-objects ends in an
// error instead of exhausting the stack.
class TWriteDepth {
public:
    explicit TWriteDepth(Integer& Depth) : FDepth(Depth) {
        if (FDepth >= TReader::MaxNesting)
            throw EWriteError("Objects nested too deeply to be written");
        ++FDepth;
    }
    ~TWriteDepth() { --FDepth; }
    TWriteDepth(const TWriteDepth&) = delete;
    TWriteDepth& operator=(const TWriteDepth&) = delete;

private:
    Integer& FDepth;
};

// The float formats of the stream, chosen by the property's type name.
enum class TStreamFloat { AsExtended, AsSingle, AsCurrency, AsDate };

TStreamFloat StreamFloatOf(PTypeInfo Type) {
    if (SameText(Type->Name, "Single"))
        return TStreamFloat::AsSingle;
    if (SameText(Type->Name, "Currency"))
        return TStreamFloat::AsCurrency;
    if (SameText(Type->Name, "TDateTime") || SameText(Type->Name, "TDate") ||
        SameText(Type->Name, "TTime"))
        return TStreamFloat::AsDate;
    return TStreamFloat::AsExtended;
}

bool IsSmallIntegerTag(TValueType Value) {
    return Value == vaInt8 || Value == vaInt16 || Value == vaInt32;
}

// Properties that may hold components: the reader takes names for them.
bool IsReferenceProperty(PPropInfo PropInfo) {
    TClass propertyClass = GetObjectPropClass(PropInfo);
    TClass component = TComponent::StaticClass();
    return ClassInheritsFrom(propertyClass, component) ||
           ClassInheritsFrom(component, propertyClass);
}

std::vector<AnsiString> SetElementNames(PTypeInfo SetType, Cardinal Value) {
    std::vector<AnsiString> names;
    for (Integer element = 0; element < 32; ++element)
        if (Value & (Cardinal(1) << element))
            names.push_back(GetEnumName(SetType->CompType, element));
    return names;
}

// TStrings keeps its lines in the defined property "Strings": a list of
// strings, left out when empty (or equal to the ancestor's lines).
void DefineStrings(TFiler& Filer, TStrings& Strings) {
    bool hasData;
    if (TPersistent* ancestor = Filer.Ancestor()) {
        auto* ancestorStrings = dynamic_cast<TStrings*>(ancestor);
        hasData = !ancestorStrings || !Strings.Equals(*ancestorStrings);
    } else {
        hasData = Strings.Count() > 0;
    }
    Filer.DefineProperty(
        "Strings",
        [&Strings](TReader& Reader) {
            Reader.ReadListBegin();
            Strings.BeginUpdate();
            TFinally endUpdate([&Strings] { Strings.EndUpdate(); });
            Strings.Clear();
            while (!Reader.EndOfList())
                Strings.Add(Reader.ReadString());
            Reader.ReadListEnd();
        },
        [&Strings](TWriter& Writer) {
            Writer.WriteListBegin();
            for (Integer index = 0; index < Strings.Count(); ++index)
                Writer.WriteString(Strings[index]);
            Writer.WriteListEnd();
        },
        hasData);
}

void DefineAllProperties(TPersistent* Instance, TFiler& Filer) {
    Instance->DefineProperties(&Filer);
    if (auto* strings = dynamic_cast<TStrings*>(Instance))
        DefineStrings(Filer, *strings);
}

TClass FindComponentClass(const AnsiString& ClassName, TClass MinClass) {
    TClass found = GetClass(ClassName);
    if (!found)
        ReadError(Format("Class %s not found", {ClassName}));
    if (!ClassInheritsFrom(found, TComponent::StaticClass()))
        ReadError(Format("Class %s is not a component class", {ClassName}));
    if (MinClass && !ClassInheritsFrom(found, MinClass))
        ReadError(Format("Invalid class type: %s is not a %s", {ClassName, MinClass->Name}));
    return found;
}

// A root takes the name the stream gives it unless another global
// component has it already: then "Name_1", "Name_2"...
AnsiString UniqueRootName(TComponent* Root, const AnsiString& Name) {
    if (Name.empty())
        return Name;
    AnsiString candidate = Name;
    for (Integer suffix = 1;; ++suffix) {
        TComponent* found = FindGlobalComponent(candidate);
        if (!found || found == Root)
            return candidate;
        candidate = Format("%s_%d", {Name, suffix});
    }
}

// Inside a rethrowing handler: read errors go on as they are, the library's
// other exceptions as read errors with their message.
[[noreturn]] void RethrowAsReadError() {
    try {
        throw;
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& error) {
        throw EReadError(error.Message());
    }
}

// ---------------------------------------------------------------------------
// References waiting for a root that is not there yet

struct TPendingFixup {
    Int64 Id;
    TComponent* Holder;
    TPersistent* Instance;
    PPropInfo PropInfo;
    TComponent* LookupRoot;
    AnsiString Name;
};

class TGlobalFixups;

// Hears of the destruction of every component that waits for a reference,
// so that its waiting references go with it.
class TFixupGuard : public TComponent {
    ZX_CLASS(TFixupGuard, TComponent)
public:
    explicit TFixupGuard(TGlobalFixups& Fixups) : TComponent(nullptr), FFixups(Fixups) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TGlobalFixups& FFixups;
};

class TGlobalFixups {
public:
    TGlobalFixups() : FGuard(*this) {}

    void Add(TComponent* Holder, TPersistent* Instance, PPropInfo PropInfo, TComponent* LookupRoot,
             const AnsiString& Name) {
        std::lock_guard<std::mutex> guard(FLock);
        FList.push_back({FNextId++, Holder, Instance, PropInfo, LookupRoot, Name});
        Holder->FreeNotification(&FGuard);
    }

    std::vector<TPendingFixup> Snapshot() {
        std::lock_guard<std::mutex> guard(FLock);
        return FList;
    }

    bool Contains(Int64 Id) {
        std::lock_guard<std::mutex> guard(FLock);
        return std::any_of(FList.begin(), FList.end(),
                           [Id](const TPendingFixup& each) { return each.Id == Id; });
    }

    // Takes the entry out; false when it is gone already.
    bool Take(Int64 Id) {
        std::lock_guard<std::mutex> guard(FLock);
        auto found = std::find_if(FList.begin(), FList.end(),
                                  [Id](const TPendingFixup& each) { return each.Id == Id; });
        if (found == FList.end())
            return false;
        TComponent* holder = found->Holder;
        FList.erase(found);
        if (std::none_of(FList.begin(), FList.end(),
                         [holder](const TPendingFixup& each) { return each.Holder == holder; }))
            holder->RemoveFreeNotification(&FGuard);
        return true;
    }

    AnsiString NameFor(const TPersistent* Instance, PPropInfo PropInfo) {
        std::lock_guard<std::mutex> guard(FLock);
        for (const TPendingFixup& each : FList)
            if (each.Instance == Instance && each.PropInfo == PropInfo)
                return each.Name;
        return AnsiString();
    }

    void Forget(TComponent* Holder) {
        std::lock_guard<std::mutex> guard(FLock);
        std::erase_if(FList, [Holder](const TPendingFixup& each) { return each.Holder == Holder; });
    }

private:
    std::mutex FLock;
    std::vector<TPendingFixup> FList;
    Int64 FNextId = 0;
    TFixupGuard FGuard;
};

void TFixupGuard::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FFixups.Forget(AComponent);
}

TGlobalFixups& GlobalFixups() {
    static TGlobalFixups fixups;
    return fixups;
}

// ---------------------------------------------------------------------------
// Registries

struct TGlobalComponentFinders {
    std::mutex Lock;
    std::vector<TFindGlobalComponent> Procs;
};

TGlobalComponentFinders& GlobalComponentFinders() {
    static TGlobalComponentFinders finders;
    return finders;
}

struct TMethodTables {
    std::mutex Lock;
    std::map<TClass,
             std::unordered_map<AnsiString, TMethodBinder, TIdentifierHash, TIdentifierEqual>>
        Classes;
};

TMethodTables& MethodTables() {
    static TMethodTables tables;
    return tables;
}

struct TIntegerConsts {
    TIdentToInt ToInt;
    TIntToIdent ToIdent;
};

struct TIntegerConstsRegistry {
    std::mutex Lock;
    std::unordered_map<AnsiString, TIntegerConsts, TIdentifierHash, TIdentifierEqual> Types;
};

TIntegerConstsRegistry& IntegerConstsRegistry() {
    static TIntegerConstsRegistry registry;
    return registry;
}

TIntegerConsts IntegerConstsOf(const AnsiString& TypeName) {
    TIntegerConstsRegistry& registry = IntegerConstsRegistry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    auto found = registry.Types.find(TypeName);
    return found == registry.Types.end() ? TIntegerConsts{} : found->second;
}

// Adds the file, and for binary input the offset, to a read error.
template <typename Read>
TComponent* ReadFromFile(const AnsiString& FileName, TStream& File, bool Binary, Read ReadIt) {
    try {
        return ReadIt();
    } catch (EReadError& error) {
        if (Binary)
            error.SetMessage(Format("%s (file \"%s\", offset %d)",
                                    {error.Message(), FileName, File.Position()}));
        else
            error.SetMessage(Format("%s (file \"%s\")", {error.Message(), FileName}));
        throw;
    } catch (const EParserError& error) {
        throw EReadError(Format("%s (file \"%s\")", {error.Message(), FileName}));
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TWriter: components

void TWriter::WriteRootComponent(TComponent* ARoot) {
    WriteDescendent(ARoot, nullptr);
}

void TWriter::WriteDescendent(TComponent* ARoot, TComponent* AAncestor) {
    FRootAncestor = AAncestor;
    FAncestor = AAncestor;
    SetRoot(ARoot);
    FLookupRoot = ARoot;
    WriteSignature();
    WriteComponent(ARoot);
}

void TWriter::WriteComponent(TComponent* Component) {
    if (!FRoot) {
        SetRoot(Component);
        FLookupRoot = Component;
    }
    TRestore<TPersistent*> ancestor(FAncestor);
    TRestore<TComponent*> rootAncestor(FRootAncestor);
    if (FHasAncestorList)
        FAncestor = FindAncestorChild(Component->Name());
    Component->SetComponentState(csWriting, true);
    TFinally endWriting([Component] { Component->SetComponentState(csWriting, false); });
    WriteData(Component);
}

TComponent* TWriter::FindAncestorChild(const AnsiString& Name) const {
    for (TComponent* candidate : FAncestorList)
        if (SameText(candidate->Name(), Name))
            return candidate;
    return nullptr;
}

void TWriter::WriteData(TComponent* Instance) {
    TWriteDepth depth(FNesting);
    const Int64 recordStart = FStream.Position();
    TFilerFlags flags;
    if (Instance->ComponentState().Contains(csInline)) {
        if (FAncestor && Instance->ComponentState().Contains(csAncestor) && FHasAncestorList)
            flags.Include(ffInherited);
        else
            flags.Include(ffInline);
    } else if (FAncestor) {
        flags.Include(ffInherited);
    }
    // A child that is new, or out of the ancestor's order, records where it
    // stands among the ancestor's children.
    const bool withinAncestors = FHasAncestorList && FAncestorPos < FAncestorList.size();
    if (withinAncestors && (!FAncestor || FAncestorList[FAncestorPos] != FAncestor))
        flags.Include(ffChildPos);
    WritePrefix(flags, FChildPos);
    WriteStr(Instance->ClassName());
    WriteStr(Instance->Name());
    const Int64 propertiesStart = FStream.Position();
    if (withinAncestors) {
        if (FAncestor)
            ++FAncestorPos;
        ++FChildPos;
    }
    WriteProperties(Instance);
    WriteListEnd();
    WriteChildren(Instance);
    WriteListEnd();
    // An inherited child that differs in nothing from its ancestor is left
    // out (when it ends the stream, which it does unless the caller writes
    // into the middle of one).
    const Int64 end = FStream.Position();
    if (Instance != FRoot && flags == TFilerFlags{ffInherited} && end == propertiesStart + 2 &&
        end == FStream.Size()) {
        FStream.SetSize(recordStart);
        FStream.SetPosition(recordStart);
    }
}

void TWriter::WriteChildren(TComponent* Instance) {
    TRestore<std::vector<TComponent*>> ancestorList(FAncestorList);
    TRestore<bool> hasAncestorList(FHasAncestorList);
    TRestore<std::size_t> ancestorPos(FAncestorPos);
    TRestore<Integer> childPos(FChildPos);
    TRestore<TComponent*> root(FRoot);
    TRestore<TComponent*> rootAncestor(FRootAncestor);
    FAncestorList.clear();
    FHasAncestorList = false;
    FAncestorPos = 0;
    FChildPos = 0;
    if (FIgnoreChildren)
        return;
    if (auto* ancestor = dynamic_cast<TComponent*>(FAncestor)) {
        if (ancestor->ComponentState().Contains(csInline))
            FRootAncestor = ancestor;
        FHasAncestorList = true;
        ancestor->GetChildren([this](TComponent* Child) { FAncestorList.push_back(Child); },
                              FRootAncestor);
    }
    // An inline frame writes the components it owns itself.
    if (Instance->ComponentState().Contains(csInline))
        FRoot = Instance;
    Instance->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, FRoot);
}

// ---------------------------------------------------------------------------
// TWriter: properties

void TWriter::WriteProperties(TPersistent* Instance) {
    for (PPropInfo info : GetPropList(Instance, tkAny, false))
        if (IsStoredProp(Instance, info))
            WriteProperty(Instance, info);
    DefineAllProperties(Instance, *this);
}

void TWriter::WritePropName(const AnsiString& Name) {
    WriteStr(FPropPath + Name);
}

TPersistent* TWriter::AncestorWith(PPropInfo PropInfo) const {
    if (!FAncestor || GetPropInfo(FAncestor, PropInfo->Name) != PropInfo)
        return nullptr;
    return FAncestor;
}

void TWriter::WriteProperty(TPersistent* Instance, PPropInfo PropInfo) {
    const TTypeKind kind = PropInfo->PropType->Kind;
    // Sub-objects are written through read-only properties too: the reader
    // fills the object the property holds.
    if (!PropInfo->SetProc && kind != tkClass)
        return;
    switch (kind) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet:
        WriteOrdinalProperty(Instance, PropInfo);
        break;
    case tkInt64:
        WriteInt64Property(Instance, PropInfo);
        break;
    case tkFloat:
        WriteFloatProperty(Instance, PropInfo);
        break;
    case tkString:
    case tkLString:
        WriteStringProperty(Instance, PropInfo);
        break;
    case tkWString:
        WriteWideStringProperty(Instance, PropInfo);
        break;
    case tkMethod:
        WriteMethodProperty(Instance, PropInfo);
        break;
    case tkClass:
        WriteObjectProperty(Instance, PropInfo);
        break;
    default:
        break;
    }
}

void TWriter::WriteOrdinalProperty(TPersistent* Instance, PPropInfo PropInfo) {
    const Integer value = GetOrdProp(Instance, PropInfo);
    if (TPersistent* ancestor = AncestorWith(PropInfo)) {
        if (value == GetOrdProp(ancestor, PropInfo))
            return;
    } else if (PropInfo->Default && value == *PropInfo->Default) {
        return;
    }
    PTypeInfo type = PropInfo->PropType;
    AnsiString ident;
    if (type->Kind == tkEnumeration) {
        ident = GetEnumName(type, value);
        if (ident.empty())
            throw EWriteError(Format("Invalid value %d of property %s", {value, PropInfo->Name}));
    }
    WritePropName(PropInfo->Name);
    switch (type->Kind) {
    case tkInteger:
        if (TIntToIdent toIdent = FindIntToIdent(type->Name); toIdent && toIdent(value, ident))
            WriteIdent(ident);
        else
            WriteInteger(value);
        break;
    case tkChar:
        WriteChar(static_cast<char>(value));
        break;
    case tkWChar:
        WriteWideChar(static_cast<WideChar>(value));
        break;
    case tkEnumeration:
        WriteIdent(ident);
        break;
    default:
        WriteSet(SetElementNames(type, static_cast<Cardinal>(value)));
        break;
    }
}

void TWriter::WriteInt64Property(TPersistent* Instance, PPropInfo PropInfo) {
    const Int64 value = GetInt64Prop(Instance, PropInfo);
    if (TPersistent* ancestor = AncestorWith(PropInfo)) {
        if (value == GetInt64Prop(ancestor, PropInfo))
            return;
    } else if (PropInfo->Default && value == *PropInfo->Default) {
        return;
    }
    WritePropName(PropInfo->Name);
    WriteInteger(value);
}

void TWriter::WriteFloatProperty(TPersistent* Instance, PPropInfo PropInfo) {
    TPersistent* ancestor = AncestorWith(PropInfo);
    const TStreamFloat format = StreamFloatOf(PropInfo->PropType);
    if (format == TStreamFloat::AsCurrency) {
        // Currency goes by its scaled integer, never through a float.
        const Currency value = GetCurrencyProp(Instance, PropInfo);
        if (value == (ancestor ? GetCurrencyProp(ancestor, PropInfo) : Currency{}))
            return;
        WritePropName(PropInfo->Name);
        WriteCurrency(value);
        return;
    }
    const Extended value = GetFloatProp(Instance, PropInfo);
    if (value == (ancestor ? GetFloatProp(ancestor, PropInfo) : 0))
        return;
    WritePropName(PropInfo->Name);
    if (format == TStreamFloat::AsSingle)
        WriteSingle(static_cast<float>(value));
    else if (format == TStreamFloat::AsDate)
        WriteDate(static_cast<TDateTime>(value));
    else
        WriteFloat(value);
}

void TWriter::WriteStringProperty(TPersistent* Instance, PPropInfo PropInfo) {
    const AnsiString value = GetStrProp(Instance, PropInfo);
    TPersistent* ancestor = AncestorWith(PropInfo);
    if (value == (ancestor ? GetStrProp(ancestor, PropInfo) : AnsiString()))
        return;
    WritePropName(PropInfo->Name);
    WriteString(value);
}

void TWriter::WriteWideStringProperty(TPersistent* Instance, PPropInfo PropInfo) {
    const WideString value = GetWideStrProp(Instance, PropInfo);
    TPersistent* ancestor = AncestorWith(PropInfo);
    if (value == (ancestor ? GetWideStrProp(ancestor, PropInfo) : WideString()))
        return;
    WritePropName(PropInfo->Name);
    WriteWideString(value);
}

// Events travel as the names of their handlers. A handler without a name
// cannot be written; a descendant that drops its ancestor's handler writes nil.
void TWriter::WriteMethodProperty(TPersistent* Instance, PPropInfo PropInfo) {
    const TMethod value = GetMethodProp(Instance, PropInfo);
    TPersistent* ancestor = AncestorWith(PropInfo);
    const AnsiString ancestorName = ancestor ? GetMethodProp(ancestor, PropInfo).Name : "";
    if (SameText(value.Name, ancestorName))
        return;
    if (value.Name.empty()) {
        if (!value.Code.has_value()) {
            WritePropName(PropInfo->Name);
            WriteValue(vaNil);
        }
        return;
    }
    WritePropName(PropInfo->Name);
    WriteIdent(value.Name);
}

void TWriter::WriteObjectProperty(TPersistent* Instance, PPropInfo PropInfo) {
    TObject* value = GetObjectProp(Instance, PropInfo);
    TPersistent* ancestor = AncestorWith(PropInfo);
    if (auto* component = dynamic_cast<TComponent*>(value)) {
        if (PropInfo->SetProc)
            WriteReference(PropInfo, component);
        return;
    }
    // A reference still waiting for its root keeps its name in the file.
    if (!value && PropInfo->SetProc && IsReferenceProperty(PropInfo)) {
        const AnsiString pending = PendingReferenceName(Instance, PropInfo);
        if (!pending.empty()) {
            WritePropName(PropInfo->Name);
            WriteIdent(pending);
            return;
        }
    }
    if (!value) {
        // Only references can be cleared by a stream.
        if (ancestor && PropInfo->SetProc && IsReferenceProperty(PropInfo) &&
            GetObjectProp(ancestor, PropInfo)) {
            WritePropName(PropInfo->Name);
            WriteValue(vaNil);
        }
        return;
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(value))
        WriteSubObject(PropInfo, persistent);
}

void TWriter::WriteSubObject(PPropInfo PropInfo, TPersistent* Value) {
    TWriteDepth depth(FNesting);
    TPersistent* ancestor = AncestorWith(PropInfo);
    TPersistent* ancestorValue =
        ancestor ? dynamic_cast<TPersistent*>(GetObjectProp(ancestor, PropInfo)) : nullptr;
    {
        TRestore<TPersistent*> savedAncestor(FAncestor);
        TRestore<AnsiString> savedPath(FPropPath);
        FPropPath += PropInfo->Name + ".";
        FAncestor = ancestorValue;
        WriteProperties(Value);
    }
    auto* collection = dynamic_cast<TCollection*>(Value);
    if (!collection)
        return;
    if (ancestor) {
        auto* ancestorCollection = dynamic_cast<TCollection*>(ancestorValue);
        if (ancestorCollection && CollectionImage(collection, FRoot) ==
                                      CollectionImage(ancestorCollection, FRootAncestor))
            return;
    }
    WritePropName(PropInfo->Name);
    WriteCollection(collection);
}

AnsiString TWriter::CollectionImage(TCollection* Value, TComponent* ARoot) {
    TMemoryStream image;
    TWriter writer(image);
    writer.FRoot = ARoot;
    writer.FLookupRoot = ARoot;
    writer.WriteCollection(Value);
    return AnsiString(reinterpret_cast<const char*>(image.Memory()),
                      static_cast<std::size_t>(image.Size()));
}

void TWriter::WriteCollection(TCollection* Value) {
    TRestore<TPersistent*> savedAncestor(FAncestor);
    TRestore<AnsiString> savedPath(FPropPath);
    FAncestor = nullptr;
    FPropPath.clear();
    WriteValue(vaCollection);
    if (Value) {
        TWriteDepth depth(FNesting);
        for (Integer index = 0; index < Value->Count(); ++index) {
            WriteListBegin();
            WriteProperties(Value->Items(index));
            WriteListEnd();
        }
    }
    WriteListEnd();
}

bool TWriter::SameReference(TComponent* Value, TComponent* AncestorValue) const {
    if (Value == AncestorValue)
        return true;
    if (!Value || !AncestorValue)
        return false;
    if (Value == FRoot && AncestorValue == FRootAncestor)
        return true;
    return AncestorValue->Owner() == FRootAncestor && Value->Owner() == FRoot &&
           SameText(AncestorValue->Name(), Value->Name());
}

AnsiString TWriter::ReferenceName(TComponent* Component) const {
    if (Component->Owner() == FLookupRoot)
        return Component->Name();
    if (Component == FLookupRoot)
        return "Owner";
    TComponent* owner = Component->Owner();
    if (owner && !owner->Name().empty() && !Component->Name().empty())
        return owner->Name() + "." + Component->Name();
    if (!Component->Name().empty())
        return Component->Name() + ".Owner";
    return "";
}

void TWriter::WriteReference(PPropInfo PropInfo, TComponent* Value) {
    if (TPersistent* ancestor = AncestorWith(PropInfo)) {
        auto* ancestorValue = dynamic_cast<TComponent*>(GetObjectProp(ancestor, PropInfo));
        if (SameReference(Value, ancestorValue))
            return;
    }
    const AnsiString name = ReferenceName(Value);
    if (name.empty())
        return;
    WritePropName(PropInfo->Name);
    WriteIdent(name);
}

void TWriter::DefineProperty(const AnsiString& Name, const TReaderProc&,
                             const TWriterProc& WriteData, bool HasData) {
    if (!HasData || !WriteData)
        return;
    WritePropName(Name);
    WriteData(*this);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, const TStreamProc&,
                                   const TStreamProc& WriteData, bool HasData) {
    if (!HasData || !WriteData)
        return;
    TMemoryStream data;
    WriteData(data);
    if (data.Size() > std::numeric_limits<Integer>::max())
        throw EWriteError("Value too large for a component stream");
    WritePropName(Name);
    WriteBinary(data.Memory(), static_cast<Integer>(data.Size()));
}

// ---------------------------------------------------------------------------
// TReader: components

TComponent* TReader::ReadRootComponent(TComponent* ARoot, TComponent* AOwner, TClass MinClass) {
    FLoaded.clear();
    FCreated.clear();
    FFixups.clear();
    TComponent* result = ARoot;
    try {
        ReadSignature();
        TFilerFlags flags;
        Integer position;
        ReadPrefix(flags, position);
        const AnsiString className = ReadStr();
        const AnsiString name = ReadStr();
        if (!result) {
            result = CreateComponent(FindComponentClass(className, MinClass), AOwner);
            FCreated.push_back(result);
        } else if (MinClass) {
            FindComponentClass(className, MinClass);
        }
        StartLoading(result);
        result->SetName(UniqueRootName(result, name));
        SetRoot(result);
        FLookupRoot = result;
        FOwner = result;
        FParent = result;
        ReadData(result);
        result->SetComponentState(csReading, false);
        FixupReferences();
        CallLoaded();
    } catch (...) {
        AbandonRead(ARoot);
        RethrowAsReadError();
    }
    FLoaded.clear();
    FCreated.clear();
    GlobalFixupReferences();
    return result;
}

TComponent* TReader::ReadComponent(TComponent* Component) {
    TFilerFlags flags;
    Integer position;
    ReadPrefix(flags, position);
    const AnsiString className = ReadStr();
    const AnsiString name = ReadStr();
    TComponent* result = Component;
    if (!result)
        result = flags.Contains(ffInherited) ? FindInheritedChild(name) : CreateChild(className);
    if (flags.Contains(ffInline))
        result->SetComponentState(csInline, true);
    StartLoading(result);
    if (!flags.Contains(ffInherited))
        result->SetName(name);
    if (result->HasParent() && FParent)
        result->SetParentComponent(FParent);
    ReadData(result);
    result->SetComponentState(csReading, false);
    return result;
}

TComponent* TReader::CreateChild(const AnsiString& ClassName) {
    TComponent* child = CreateComponent(FindComponentClass(ClassName, nullptr), FOwner);
    FCreated.push_back(child);
    return child;
}

TComponent* TReader::FindInheritedChild(const AnsiString& Name) {
    TComponent* found = FOwner ? FOwner->FindComponent(Name) : nullptr;
    if (!found)
        ReadError(Format("Ancestor for '%s' not found", {Name}));
    return found;
}

void TReader::StartLoading(TComponent* Component) {
    Component->SetComponentState(csLoading, true);
    Component->SetComponentState(csReading, true);
    if (std::find(FLoaded.begin(), FLoaded.end(), Component) == FLoaded.end())
        FLoaded.push_back(Component);
}

void TReader::ReadData(TComponent* Instance) {
    TNesting nesting(*this);
    {
        TRestore<TComponent*> component(FComponent);
        FComponent = Instance;
        while (!EndOfList())
            ReadProperty(Instance);
        ReadListEnd();
    }
    TRestore<TComponent*> owner(FOwner);
    TRestore<TComponent*> parent(FParent);
    FParent = Instance;
    // An inline frame owns the components written inside it.
    if (Instance != FRoot && Instance->ComponentState().Contains(csInline))
        FOwner = Instance;
    if (FStandalone && !EndOfList())
        ReadError("Invalid stream format");
    while (!EndOfList())
        ReadComponent(nullptr);
    ReadListEnd();
}

void TReader::FixupReferences() {
    std::vector<TFixup> fixups = std::move(FFixups);
    FFixups.clear();
    for (const TFixup& fixup : fixups) {
        if (TComponent* target = FindNestedComponent(fixup.LookupRoot, fixup.Name))
            SetObjectProp(fixup.Instance, fixup.PropInfo, target);
        else if (fixup.Name.find('.') != AnsiString::npos)
            GlobalFixups().Add(fixup.Holder, fixup.Instance, fixup.PropInfo, fixup.LookupRoot,
                               fixup.Name);
    }
}

void TReader::CallLoaded() {
    const std::vector<TComponent*> loaded = FLoaded;
    for (TComponent* component : loaded)
        component->Loaded();
}

// Frees what the read created, children before their owners, and takes the
// loading state off the components it did not create.
void TReader::AbandonRead(TComponent* PassedRoot) {
    FFixups.clear();
    for (TComponent* component : FLoaded)
        if (std::find(FCreated.begin(), FCreated.end(), component) == FCreated.end()) {
            component->SetComponentState(csLoading, false);
            component->SetComponentState(csReading, false);
        }
    for (auto created = FCreated.rbegin(); created != FCreated.rend(); ++created)
        if (*created != PassedRoot)
            delete *created;
    FLoaded.clear();
    FCreated.clear();
}

// ---------------------------------------------------------------------------
// TReader: properties

namespace {

AnsiString InstanceName(TPersistent* Instance) {
    auto* component = dynamic_cast<TComponent*>(Instance);
    AnsiString name = component ? component->Name() : AnsiString();
    return name.empty() ? Instance->ClassName() : name;
}

} // namespace

void TReader::ReadProperty(TPersistent* AInstance) {
    const AnsiString path = ReadStr();
    AnsiString unknown;
    try {
        TPersistent* instance = AInstance;
        std::size_t start = 0;
        for (std::size_t dot = path.find('.'); dot != AnsiString::npos && instance;
             start = dot + 1, dot = path.find('.', start)) {
            FPropName = path.substr(start, dot - start);
            PPropInfo info = GetPropInfo(instance, FPropName, TTypeKinds{tkClass});
            // An empty step ("a..b") names no object either.
            instance = info ? dynamic_cast<TPersistent*>(GetObjectProp(instance, info)) : nullptr;
            unknown = FPropName;
        }
        if (instance) {
            FPropName = path.substr(start);
            if (PPropInfo info = GetPropInfo(instance, FPropName)) {
                ReadPropValue(instance, info);
                return;
            }
            // A defined property that takes the name clears it.
            unknown = FPropName;
            DefineAllProperties(instance, *this);
            if (!unknown.empty() && FPropName.empty())
                return;
        }
    } catch (const Exception& error) {
        throw EReadError(
            Format("Error reading %s.%s: %s", {InstanceName(AInstance), path, error.Message()}));
    }
    UnknownProperty(AInstance, path, unknown);
}

// The value of a property nobody knows is still all in the stream, so a
// handler that takes the error lets the reader step over it.
void TReader::UnknownProperty(TPersistent* Instance, const AnsiString& Path,
                              const AnsiString& Name) {
    const AnsiString message = Format("Error reading %s.%s: Property %s does not exist",
                                      {InstanceName(Instance), Path, Name});
    bool handled = false;
    if (OnError)
        OnError(*this, message, handled);
    if (!handled)
        throw EReadError(message);
    SkipValue();
}

void TReader::ReadPropValue(TPersistent* Instance, PPropInfo PropInfo) {
    switch (PropInfo->PropType->Kind) {
    case tkInteger:
        ReadIntegerValue(Instance, PropInfo);
        break;
    case tkChar:
        SetOrdProp(Instance, PropInfo, static_cast<Byte>(ReadChar()));
        break;
    case tkWChar:
        SetOrdProp(Instance, PropInfo, ReadWideChar());
        break;
    case tkEnumeration:
        ReadEnumValue(Instance, PropInfo);
        break;
    case tkSet:
        ReadSetValue(Instance, PropInfo);
        break;
    case tkInt64:
        SetInt64Prop(Instance, PropInfo, ReadInt64());
        break;
    case tkFloat:
        ReadFloatValue(Instance, PropInfo);
        break;
    case tkString:
    case tkLString:
        SetStrProp(Instance, PropInfo, ReadString());
        break;
    case tkWString:
        SetWideStrProp(Instance, PropInfo, ReadWideString());
        break;
    case tkClass:
        ReadObjectValue(Instance, PropInfo);
        break;
    case tkMethod:
        ReadMethodValue(Instance, PropInfo);
        break;
    default:
        InvalidPropertyValue();
    }
}

void TReader::ReadIntegerValue(TPersistent* Instance, PPropInfo PropInfo) {
    if (NextValue() != vaIdent) {
        SetOrdProp(Instance, PropInfo, ReadInteger());
        return;
    }
    const AnsiString ident = ReadIdent();
    TIdentToInt toInt = FindIdentToInt(PropInfo->PropType->Name);
    Integer value;
    if (!toInt || !toInt(ident, value))
        InvalidPropertyValue();
    SetOrdProp(Instance, PropInfo, value);
}

void TReader::ReadEnumValue(TPersistent* Instance, PPropInfo PropInfo) {
    const Integer value = GetEnumValue(PropInfo->PropType, ReadIdent());
    if (value < 0)
        InvalidPropertyValue();
    SetOrdProp(Instance, PropInfo, value);
}

void TReader::ReadSetValue(TPersistent* Instance, PPropInfo PropInfo) {
    Cardinal bits = 0;
    for (const AnsiString& name : ReadSet()) {
        const Integer element = GetEnumValue(PropInfo->PropType->CompType, name);
        if (element < 0 || element > 31)
            InvalidPropertyValue();
        bits |= Cardinal(1) << element;
    }
    SetOrdProp(Instance, PropInfo, static_cast<Integer>(bits));
}

// Any float format, or an integer, fits any float property; a currency
// value reaches the property as its scaled integer.
void TReader::ReadFloatValue(TPersistent* Instance, PPropInfo PropInfo) {
    Extended value;
    switch (NextValue()) {
    case vaSingle:
        value = ReadSingle();
        break;
    case vaCurrency:
        SetCurrencyProp(Instance, PropInfo, ReadCurrency());
        return;
    case vaDate:
        value = ReadDate();
        break;
    default:
        value = ReadFloat();
        break;
    }
    // A currency property takes only what its scaled integer holds, so it
    // writes out again.
    if (StreamFloatOf(PropInfo->PropType) == TStreamFloat::AsCurrency)
        SetCurrencyProp(Instance, PropInfo, ZxCurrencyOf(TPropValue{value}));
    else
        SetFloatProp(Instance, PropInfo, value);
}

void TReader::ReadObjectValue(TPersistent* Instance, PPropInfo PropInfo) {
    switch (NextValue()) {
    case vaNil:
        if (!IsReferenceProperty(PropInfo))
            InvalidPropertyValue();
        ReadValue();
        if (!FStandalone)
            SetObjectProp(Instance, PropInfo, nullptr);
        break;
    case vaCollection: {
        ReadValue();
        auto* collection = dynamic_cast<TCollection*>(GetObjectProp(Instance, PropInfo));
        if (!collection)
            InvalidPropertyValue();
        ReadCollection(collection);
        break;
    }
    case vaIdent:
        if (!IsReferenceProperty(PropInfo))
            InvalidPropertyValue();
        if (!PropInfo->SetProc)
            ReadError(Format("Property %s is read-only", {PropInfo->Name}));
        if (FStandalone)
            ReadIdent();
        else
            FFixups.push_back({FComponent, Instance, PropInfo, FLookupRoot, ReadIdent()});
        break;
    default:
        InvalidPropertyValue();
    }
}

void TReader::ReadMethodValue(TPersistent* Instance, PPropInfo PropInfo) {
    if (FStandalone) {
        if (NextValue() != vaNil && NextValue() != vaIdent)
            InvalidPropertyValue();
        SkipValue();
        return;
    }
    switch (NextValue()) {
    case vaNil:
        ReadValue();
        SetMethodProp(Instance, PropInfo, TMethod{});
        break;
    case vaIdent: {
        const AnsiString name = ReadIdent();
        SetMethodProp(Instance, PropInfo, TMethod{FindMethod(name), name});
        break;
    }
    default:
        InvalidPropertyValue();
    }
}

std::any TReader::FindMethod(const AnsiString& MethodName) {
    std::any address = MethodAddress(FRoot, MethodName);
    bool error = !address.has_value();
    if (OnFindMethod)
        OnFindMethod(*this, MethodName, address, error);
    if (error)
        ReadError(Format("Method %s not found", {MethodName}));
    return address;
}

void TReader::ReadCollection(TCollection* Collection) {
    TNesting nesting(*this);
    Collection->BeginUpdate();
    TFinally endUpdate([Collection] { Collection->EndUpdate(); });
    // An empty list leaves the items as they are.
    if (!EndOfList())
        Collection->Clear();
    while (!EndOfList()) {
        if (IsSmallIntegerTag(NextValue()))
            ReadInteger();
        TCollectionItem* item = Collection->Add();
        ReadListBegin();
        while (!EndOfList())
            ReadProperty(item);
        ReadListEnd();
    }
    ReadListEnd();
}

void TReader::DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                             const TWriterProc&, bool) {
    if (!ReadData || FPropName.empty() || !SameText(Name, FPropName))
        return;
    ReadData(*this);
    FPropName.clear();
}

void TReader::DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                   const TStreamProc&, bool) {
    if (!ReadData || FPropName.empty() || !SameText(Name, FPropName))
        return;
    const std::vector<Byte> bytes = ReadBinary();
    TMemoryStream data;
    data.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    data.SetPosition(0);
    ReadData(data);
    FPropName.clear();
}

// ---------------------------------------------------------------------------
// Streams and form files

void WriteComponent(TStream& Stream, TComponent* Instance) {
    WriteDescendent(Stream, Instance, nullptr);
}

void WriteDescendent(TStream& Stream, TComponent* Instance, TComponent* Ancestor) {
    TWriter writer(Stream);
    writer.WriteDescendent(Instance, Ancestor);
}

TComponent* ReadComponent(TStream& Stream, TComponent* Instance, TComponent* Owner,
                          TClass MinClass) {
    TReader reader(Stream);
    return reader.ReadRootComponent(Instance, Owner, MinClass);
}

void WriteComponentRes(TStream& Stream, const AnsiString& ResName, TComponent* Instance) {
    WriteDescendentRes(Stream, ResName, Instance, nullptr);
}

void WriteDescendentRes(TStream& Stream, const AnsiString& ResName, TComponent* Instance,
                        TComponent* Ancestor) {
    Int64 fixupInfo;
    WriteResourceHeader(Stream, ResName, fixupInfo);
    WriteDescendent(Stream, Instance, Ancestor);
    FixupResourceHeader(Stream, fixupInfo);
}

TComponent* ReadComponentRes(TStream& Stream, TComponent* Instance) {
    ReadResourceHeader(Stream);
    return ReadComponent(Stream, Instance);
}

void WriteComponentResFile(const AnsiString& FileName, TComponent* Instance) {
    ReplaceFileAtomically(FileName, [Instance](TStream& Stream) {
        WriteComponentRes(Stream, Instance->ClassName(), Instance);
    });
}

TComponent* ReadComponentResFile(const AnsiString& FileName, TComponent* Instance) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    return ReadFromFile(FileName, file, true, [&] { return ReadComponentRes(file, Instance); });
}

void SaveComponentToTextFile(const AnsiString& FileName, TComponent* Instance) {
    TMemoryStream binary;
    WriteComponent(binary, Instance);
    binary.SetPosition(0);
    ReplaceFileAtomically(FileName,
                          [&binary](TStream& Stream) { ObjectBinaryToText(binary, Stream); });
}

TComponent* LoadComponentFromFile(const AnsiString& FileName, TComponent* Instance) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    switch (TestStreamFormat(file)) {
    case sofText:
        return ReadFromFile(FileName, file, false, [&] {
            TMemoryStream binary;
            ObjectTextToBinary(file, binary);
            binary.SetPosition(0);
            return ReadComponent(binary, Instance);
        });
    case sofBinary:
        return ReadFromFile(FileName, file, true, [&] {
            Byte first = 0;
            file.ReadBuffer(&first, 1);
            file.SetPosition(0);
            return first == FilerSignature[0] ? ReadComponent(file, Instance)
                                              : ReadComponentRes(file, Instance);
        });
    default:
        throw EReadError(Format("Invalid stream format (file \"%s\")", {FileName}));
    }
}

// ---------------------------------------------------------------------------
// Global components

void RegisterFindGlobalComponentProc(TFindGlobalComponent AFindGlobalComponent) {
    TGlobalComponentFinders& finders = GlobalComponentFinders();
    std::lock_guard<std::mutex> guard(finders.Lock);
    if (std::find(finders.Procs.begin(), finders.Procs.end(), AFindGlobalComponent) ==
        finders.Procs.end())
        finders.Procs.push_back(AFindGlobalComponent);
}

void UnregisterFindGlobalComponentProc(TFindGlobalComponent AFindGlobalComponent) {
    TGlobalComponentFinders& finders = GlobalComponentFinders();
    std::lock_guard<std::mutex> guard(finders.Lock);
    std::erase(finders.Procs, AFindGlobalComponent);
}

TComponent* FindGlobalComponent(const AnsiString& Name) {
    std::vector<TFindGlobalComponent> procs;
    {
        TGlobalComponentFinders& finders = GlobalComponentFinders();
        std::lock_guard<std::mutex> guard(finders.Lock);
        procs = finders.Procs;
    }
    for (TFindGlobalComponent find : procs)
        if (TComponent* found = find(Name))
            return found;
    return nullptr;
}

TComponent* FindNestedComponent(TComponent* Root, const AnsiString& NamePath) {
    if (NamePath.empty())
        return nullptr;
    TComponent* current = nullptr;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = NamePath.find('.', start);
        const AnsiString name = NamePath.substr(start, dot == AnsiString::npos ? dot : dot - start);
        if (name.empty())
            return nullptr;
        TComponent* found;
        if (!current) {
            found = Root ? Root->FindComponent(name) : nullptr;
            if (!found && Root && (SameText(name, "Owner") || SameText(name, Root->Name())))
                found = Root;
            if (!found)
                found = FindGlobalComponent(name);
        } else {
            found = current->FindComponent(name);
            if (!found && SameText(name, "Owner"))
                found = current;
        }
        if (!found)
            return nullptr;
        current = found;
        if (dot == AnsiString::npos)
            return current;
        start = dot + 1;
    }
}

void AddPendingReference(TComponent* Holder, TPersistent* Instance, PPropInfo PropInfo,
                         TComponent* LookupRoot, const AnsiString& Name) {
    GlobalFixups().Add(Holder, Instance, PropInfo, LookupRoot, Name);
}

AnsiString PendingReferenceName(const TPersistent* Instance, PPropInfo PropInfo) {
    return GlobalFixups().NameFor(Instance, PropInfo);
}

void GlobalFixupReferences() {
    TGlobalFixups& fixups = GlobalFixups();
    for (const TPendingFixup& fixup : fixups.Snapshot()) {
        // An earlier fix-up's setter may have freed this one's component.
        if (!fixups.Contains(fixup.Id))
            continue;
        TComponent* target = FindNestedComponent(fixup.LookupRoot, fixup.Name);
        if (target && fixups.Take(fixup.Id))
            SetObjectProp(fixup.Instance, fixup.PropInfo, target);
    }
}

// ---------------------------------------------------------------------------
// Published methods

void RegisterMethod(TClass AClass, const AnsiString& Name, TMethodBinder Bind) {
    TMethodTables& tables = MethodTables();
    std::lock_guard<std::mutex> guard(tables.Lock);
    tables.Classes[AClass].insert_or_assign(Name, std::move(Bind));
}

std::any MethodAddress(TObject* Instance, const AnsiString& Name) {
    if (!Instance || Name.empty())
        return {};
    TMethodBinder bind;
    {
        TMethodTables& tables = MethodTables();
        std::lock_guard<std::mutex> guard(tables.Lock);
        for (TClass each = Instance->ClassType(); each && !bind; each = each->Parent) {
            auto table = tables.Classes.find(each);
            if (table == tables.Classes.end())
                continue;
            if (auto found = table->second.find(Name); found != table->second.end())
                bind = found->second;
        }
    }
    return bind ? bind(Instance) : std::any();
}

// ---------------------------------------------------------------------------
// Integer constants

bool IdentToInt(const AnsiString& Ident, Integer& Int, std::span<const TIdentMapEntry> Map) {
    for (const TIdentMapEntry& entry : Map)
        if (SameText(entry.Name, Ident)) {
            Int = entry.Value;
            return true;
        }
    return false;
}

bool IntToIdent(Integer Int, AnsiString& Ident, std::span<const TIdentMapEntry> Map) {
    for (const TIdentMapEntry& entry : Map)
        if (entry.Value == Int) {
            Ident = entry.Name;
            return true;
        }
    return false;
}

void GetIdentNames(std::span<const TIdentMapEntry> Map, const std::function<void(const AnsiString&)>& Proc) {
    for (const TIdentMapEntry& entry : Map) {
        AnsiString name;
        IntToIdent(entry.Value, name, Map);
        if (name == entry.Name)
            Proc(name);
    }
}

void RegisterIntegerConsts(const AnsiString& TypeName, TIdentToInt AIdentToInt,
                           TIntToIdent AIntToIdent) {
    TIntegerConstsRegistry& registry = IntegerConstsRegistry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    registry.Types.insert_or_assign(TypeName, TIntegerConsts{AIdentToInt, AIntToIdent});
}

TIdentToInt FindIdentToInt(const AnsiString& TypeName) {
    return IntegerConstsOf(TypeName).ToInt;
}

TIntToIdent FindIntToIdent(const AnsiString& TypeName) {
    return IntegerConstsOf(TypeName).ToIdent;
}
