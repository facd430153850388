// The binary translation file: TZXBFileManager reads and writes a header,
// a directory of owner class names and one component record per form.
#include "runtime/QzxComp.h"

#include "rtl/Filer.h"

#include <algorithm>
#include <limits>

namespace {

// The 41 characters and the NUL that open every binary translation file.
const AnsiString ZXBSignature("ZXB file: TzxLang binary translation data", 42);
const char* const UnrecognizedFormat = "Unrecognized stream format!";

constexpr Int64 CountOffset = 42;
constexpr Int64 HeaderSize = 46;
// A directory entry without its name: name length and record position.
constexpr Int64 DirectoryEntrySize = 6;
constexpr Int64 MaxWord = std::numeric_limits<Word>::max();
constexpr Int64 MaxLongWord = std::numeric_limits<Cardinal>::max();

// The kinds whose form line is moved to the top after a load.
constexpr std::array<TStringsType, 4> FormLineFirstKinds = {stCaptions, stHints, stFonts,
                                                            stCharSets};

void WriteLittleEndian(TStream& Stream, std::uint64_t Value, Integer Size) {
    Byte bytes[4];
    for (Integer index = 0; index < Size; ++index)
        bytes[index] = static_cast<Byte>(Value >> (8 * index));
    Stream.WriteBuffer(bytes, Size);
}

std::uint64_t ReadLittleEndian(TStream& Stream, Integer Size) {
    Byte bytes[4];
    Stream.ReadBuffer(bytes, Size);
    std::uint64_t value = 0;
    for (Integer index = Size - 1; index >= 0; --index)
        value = (value << 8) | bytes[index];
    return value;
}

void WriteText(TStream& Stream, const AnsiString& Text) {
    Stream.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

// Refuses a value that its field cannot hold instead of cutting it.
void CheckFits(Int64 Value, Int64 Limit, const AnsiString& What) {
    if (Value > Limit)
        throw EWriteError(Format("Cannot write the binary translation file: %s (%d) exceeds %d",
                                 {What, Value, Limit}));
}

[[noreturn]] void DamagedData(const AnsiString& What, Int64 Position) {
    throw EReadError(Format("Damaged binary translation data: %s at position %d", {What, Position}));
}

// Reads the header and the directory of a binary translation file,
// checking every count, length and position against the stream.
class TZXBDirectory {
public:
    // Checks the signature and reads the header.
    explicit TZXBDirectory(TStream& Stream) : FStream(Stream), FStart(Stream.Position()) {
        if (FStream.Size() - FStart < HeaderSize)
            throw Exception(UnrecognizedFormat);
        AnsiString signature(ZXBSignature.size(), '\0');
        FStream.ReadBuffer(signature.data(), static_cast<Integer>(signature.size()));
        if (signature != ZXBSignature)
            throw Exception(UnrecognizedFormat);
        FCount = static_cast<Integer>(ReadLittleEndian(FStream, 2));
        FFixedLanguagesText = ReadBytes(ReadLittleEndian(FStream, 2), "fixed-languages text");
        if (Remaining() < FCount * DirectoryEntrySize)
            DamagedData(Format("%d directory entries run past the end", {FCount}),
                        FStart + CountOffset);
        FRecordsStart = FStream.Position() + FCount * DirectoryEntrySize;
    }

    Integer Count() const { return FCount; }
    const AnsiString& FixedLanguagesText() const { return FFixedLanguagesText; }

    AnsiString ReadName() {
        if (Remaining() < 2)
            DamagedData("a directory entry runs past the end", FStream.Position());
        return ReadBytes(ReadLittleEndian(FStream, 2), "an owner name");
    }
    void SkipRecordPosition() { ReadRecordPosition(); }
    // A position that can hold a record: past the directory, inside the stream.
    Int64 ReadRecordPosition() {
        const Int64 at = FStream.Position();
        if (Remaining() < 4)
            DamagedData("a directory entry runs past the end", at);
        const Int64 position = static_cast<Int64>(ReadLittleEndian(FStream, 4));
        if (position < FRecordsStart || position >= FStream.Size())
            DamagedData(Format("record position %d lies outside the records", {position}), at);
        return position;
    }

private:
    Int64 Remaining() { return FStream.Size() - FStream.Position(); }

    AnsiString ReadBytes(std::uint64_t Length, const AnsiString& What) {
        const Int64 at = FStream.Position();
        if (static_cast<Int64>(Length) > Remaining())
            DamagedData(Format("the length %d of %s runs past the end", {Length, What}), at - 2);
        AnsiString bytes(static_cast<std::size_t>(Length), '\0');
        FStream.ReadBuffer(bytes.data(), static_cast<Integer>(Length));
        return bytes;
    }

    TStream& FStream;
    Int64 FStart;
    Integer FCount = 0;
    AnsiString FFixedLanguagesText;
    Int64 FRecordsStart = 0;
};

// The component record of Lang; its dispatcher link is never stored, and
// neither are components it may own, which a reader would refuse.
void WriteRecord(TStream& Stream, TzxCustomLang* Lang, TzxLangDispatcher*& DispatcherField) {
    TzxLangDispatcher* dispatcher = DispatcherField;
    DispatcherField = nullptr;
    try {
        TWriter writer(Stream);
        writer.SetIgnoreChildren(true);
        writer.WriteRootComponent(Lang);
    } catch (...) {
        DispatcherField = dispatcher;
        throw;
    }
    DispatcherField = dispatcher;
}

// Reads a record into Instance, or into a new component of the record's
// class without owner; only translation components are accepted, and the
// record links to nothing.
TzxCustomLang* ReadRecord(TStream& Stream, TzxCustomLang* Instance, const AnsiString& OwnerName) {
    const Int64 start = Stream.Position();
    TReader reader(Stream);
    reader.SetStandalone(true);
    try {
        return static_cast<TzxCustomLang*>(
            reader.ReadRootComponent(Instance, nullptr, TzxCustomLang::StaticClass()));
    } catch (EReadError& error) {
        error.SetMessage(Format("%s (record of %s at position %d)",
                                {error.Message(), OwnerName, start}));
        throw;
    }
}

std::unique_ptr<TMemoryStream> ReadWholeFile(const AnsiString& FileName, Word ShareMode) {
    TFileStream file(FileName, fmOpenRead | ShareMode);
    auto content = std::make_unique<TMemoryStream>();
    content->LoadFromStream(file);
    content->SetPosition(0);
    return content;
}

// Read errors say which file they come from.
template <typename Read> auto ReadFromFile(const AnsiString& FileName, Read ReadIt) {
    try {
        return ReadIt();
    } catch (EReadError& error) {
        error.SetMessage(Format("%s (file \"%s\")", {error.Message(), FileName}));
        throw;
    }
}

// A component of Lang's class, without owner, that does no work of its own
// while it is filled.
std::unique_ptr<TzxCustomLang> NewScratch(const TzxCustomLang* Lang) {
    return std::unique_ptr<TzxCustomLang>(
        static_cast<TzxCustomLang*>(CreateComponent(Lang->ClassType(), nullptr)));
}

} // namespace

// ---------------------------------------------------------------------------
// Entries

TZXBFileManager::TZXBFileManager()
    : FOwnerNames(std::make_unique<TStringList>()), FSignature(ZXBSignature),
      FFixedLanguages(std::make_unique<TStringList>()) {}

TZXBFileManager::TZXBFileManager(const AnsiString& FileName) : TZXBFileManager() {
    if (FileExists(FileName))
        ReadFileContent(FileName);
}

TZXBFileManager::~TZXBFileManager() {
    ClearList();
}

void TZXBFileManager::FreeIfOwned(const TEntryComponent& Entry) {
    if (Entry.Owned)
        delete Entry.Component;
}

void TZXBFileManager::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= GetCompCount())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
}

void TZXBFileManager::Add(TzxCustomLang* Lang) {
    if (!Lang->Owner())
        throw ELanguageError(
            "A translation component without an owner has no entry in a binary file");
    const AnsiString name = Lang->Owner()->ClassName();
    const Integer index = FOwnerNames->IndexOf(name);
    if (index < 0) {
        FComponents.push_back({Lang, false});
        FOwnerNames->Add(name);
    } else {
        SetzxComponents(index, Lang);
    }
}

void TZXBFileManager::Clear() {
    FOwnerNames->Clear();
    ClearList();
}

void TZXBFileManager::ClearList() {
    for (const TEntryComponent& entry : FComponents)
        FreeIfOwned(entry);
    FComponents.clear();
}

void TZXBFileManager::Remove(Integer Index) {
    CheckIndex(Index);
    FreeIfOwned(FComponents[static_cast<std::size_t>(Index)]);
    FComponents.erase(FComponents.begin() + Index);
    FOwnerNames->Delete(Index);
}

void TZXBFileManager::Move(Integer CurIndex, Integer NewIndex) {
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    const TEntryComponent moved = FComponents[static_cast<std::size_t>(CurIndex)];
    FComponents.erase(FComponents.begin() + CurIndex);
    FComponents.insert(FComponents.begin() + NewIndex, moved);
    FOwnerNames->Move(CurIndex, NewIndex);
}

AnsiString TZXBFileManager::GetOwnerNames(Integer Index) const {
    return FOwnerNames->Get(Index);
}

void TZXBFileManager::SetOwnerNames(Integer Index, const AnsiString& Name) {
    FOwnerNames->Put(Index, Name);
}

TzxCustomLang* TZXBFileManager::GetzxComponents(Integer Index) const {
    CheckIndex(Index);
    return FComponents[static_cast<std::size_t>(Index)].Component;
}

void TZXBFileManager::SetzxComponents(Integer Index, TzxCustomLang* Lang) {
    CheckIndex(Index);
    TEntryComponent& entry = FComponents[static_cast<std::size_t>(Index)];
    if (entry.Component == Lang)
        return;
    FreeIfOwned(entry);
    entry = {Lang, false};
}

Integer TZXBFileManager::GetComponentSize(Integer Index) const {
    TzxCustomLang* lang = GetzxComponents(Index);
    TMemoryStream record;
    WriteRecord(record, lang, lang->FLangDispatcher);
    return static_cast<Integer>(record.Size());
}

void TZXBFileManager::SetFixedLanguages(TStrings* Value) {
    if (Value != FFixedLanguages.get())
        FFixedLanguages->Assign(Value);
}

// ---------------------------------------------------------------------------
// Writing

void TZXBFileManager::SaveToFile(const AnsiString& FileName) {
    TMemoryStream content;
    SaveToStream(content);
    content.SaveToFile(FileName);
}

void TZXBFileManager::SaveToStream(TStream& Stream) {
    const AnsiString fixedLanguages = FFixedLanguages->Text();
    CheckFits(GetCompCount(), MaxWord, "the number of entries");
    CheckFits(static_cast<Int64>(fixedLanguages.size()), MaxWord,
              "the length of the fixed-languages text");
    for (Integer index = 0; index < GetCompCount(); ++index)
        CheckFits(static_cast<Int64>(GetOwnerNames(index).size()), MaxWord,
                  "the length of owner name " + IntToStr(index));

    WriteText(Stream, FSignature);
    WriteLittleEndian(Stream, static_cast<std::uint64_t>(GetCompCount()), 2);
    WriteLittleEndian(Stream, fixedLanguages.size(), 2);
    WriteText(Stream, fixedLanguages);
    std::vector<Int64> placeholders;
    for (Integer index = 0; index < GetCompCount(); ++index) {
        const AnsiString name = GetOwnerNames(index);
        WriteLittleEndian(Stream, name.size(), 2);
        WriteText(Stream, name);
        placeholders.push_back(Stream.Position());
        WriteLittleEndian(Stream, 0, 4);
    }
    std::vector<Int64> starts;
    for (const TEntryComponent& entry : FComponents) {
        starts.push_back(Stream.Position());
        CheckFits(starts.back(), MaxLongWord, "the position of a record");
        WriteRecord(Stream, entry.Component, entry.Component->FLangDispatcher);
    }
    const Int64 end = Stream.Position();
    for (std::size_t index = 0; index < placeholders.size(); ++index) {
        Stream.SetPosition(placeholders[index]);
        WriteLittleEndian(Stream, static_cast<std::uint64_t>(starts[index]), 4);
    }
    Stream.SetPosition(end);
}

// ---------------------------------------------------------------------------
// Reading a whole file

void TZXBFileManager::ReadFileContent(const AnsiString& FileName) {
    std::unique_ptr<TMemoryStream> content = ReadWholeFile(FileName, fmShareDenyWrite);
    ReadFromFile(FileName, [&] {
        ReadStreamContent(*content);
        return true;
    });
}

void TZXBFileManager::ReadStreamContent(TStream& Stream) {
    TZXBDirectory directory(Stream);
    std::vector<std::unique_ptr<TzxCustomLang>> read;
    TStringList names;
    for (Integer index = 0; index < directory.Count(); ++index) {
        names.Add(directory.ReadName());
        const Int64 position = directory.ReadRecordPosition();
        const Int64 next = Stream.Position();
        Stream.SetPosition(position);
        read.emplace_back(ReadRecord(Stream, nullptr, names.Get(index)));
        Stream.SetPosition(next);
    }
    std::vector<TEntryComponent> components;
    for (std::unique_ptr<TzxCustomLang>& lang : read)
        components.push_back({lang.release(), true});
    ReplaceEntries(std::move(components), names);
    FFixedLanguages->SetText(directory.FixedLanguagesText());
}

void TZXBFileManager::ReplaceEntries(std::vector<TEntryComponent> Components, TStrings& Names) {
    ClearList();
    FComponents = std::move(Components);
    FOwnerNames->Assign(&Names);
}

// ---------------------------------------------------------------------------
// Loading one form's entry

bool TZXBFileManager::LoadFromFile(TzxCustomLang* Lang, const AnsiString& OwnerName,
                                   const AnsiString& FileName) {
    std::unique_ptr<TMemoryStream> content = ReadWholeFile(FileName, fmShareExclusive);
    return ReadFromFile(FileName, [&] { return LoadFromStream(Lang, OwnerName, *content); });
}

// The record is read into a scratch copy first, so that a damaged one
// leaves Lang as it was.
bool TZXBFileManager::LoadFromStream(TzxCustomLang* Lang, const AnsiString& OwnerName,
                                     TStream& Stream) {
    TZXBDirectory directory(Stream);
    FFixedLanguages->SetText(directory.FixedLanguagesText());
    for (Integer index = 0; index < directory.Count(); ++index) {
        if (directory.ReadName() != OwnerName) {
            directory.SkipRecordPosition();
            continue;
        }
        Stream.SetPosition(directory.ReadRecordPosition());
        std::unique_ptr<TzxCustomLang> scratch = NewScratch(Lang);
        scratch->FLoadingCopy = true;
        ReadRecord(Stream, scratch.get(), OwnerName);
        CopyInto(Lang, scratch.get(), OwnerName);
        return true;
    }
    return false;
}

void TZXBFileManager::CopyInto(TzxCustomLang* Lang, TzxCustomLang* Source,
                               const AnsiString& OwnerName) const {
    if (Source->LangNames()->Count() < Lang->ActiveLanguage())
        throw EReadError(Format("The entry of %s has %d languages; language %d is active",
                                {OwnerName, Source->LangNames()->Count(),
                                 Lang->ActiveLanguage()}));
    const bool wasLoadingCopy = Lang->FLoadingCopy;
    Lang->FLoadingCopy = true;
    try {
        const AnsiString formLine = OwnerName + AnsiString(1, Lang->Delim());
        for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind) {
            TStrings* own = Lang->GetPropListByType(static_cast<TStringsType>(kind));
            TStrings* read = Source->GetPropListByType(static_cast<TStringsType>(kind));
            if (!own || !read)
                continue;
            own->Assign(read);
            if (std::find(FormLineFirstKinds.begin(), FormLineFirstKinds.end(), kind) ==
                FormLineFirstKinds.end())
                continue;
            for (Integer index = 1; index < own->Count(); ++index)
                if (own->Get(index).starts_with(formLine)) {
                    own->Move(index, 0);
                    break;
                }
        }
        Lang->SetLangNames(Source->LangNames());
        Lang->ExtendedTranslations()->Clear();
        TzxExtendedItems* items = Source->ExtendedTranslations();
        for (Integer index = 0; index < items->Count(); ++index) {
            TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
            item->SetIdentifier(items->Items(index)->GetIdentifier());
            item->SetPropertyType(items->Items(index)->PropertyType());
            item->SetValues(items->Items(index)->Values());
        }
    } catch (...) {
        Lang->FLoadingCopy = wasLoadingCopy;
        throw;
    }
    Lang->FLoadingCopy = wasLoadingCopy;
}

bool TZXBFileManager::LoadPropFromFile(TStringsType Kind, const AnsiString& FileName,
                                       TzxCustomLang* Lang, const AnsiString& OwnerName) {
    std::unique_ptr<TzxCustomLang> scratch = NewScratch(Lang);
    if (!LoadFromFile(scratch.get(), OwnerName, FileName))
        return false;
    TStrings* own = Lang->GetPropListByType(Kind);
    TStrings* read = scratch->GetPropListByType(Kind);
    if (own && read)
        own->Assign(read);
    return true;
}

// ---------------------------------------------------------------------------
// Copying

void TZXBFileManager::AssignTo(TPersistent* Dest) const {
    auto* manager = dynamic_cast<TZXBFileManager*>(Dest);
    if (!manager) {
        TPersistent::AssignTo(Dest);
        return;
    }
    std::vector<std::unique_ptr<TzxCustomLang>> copies;
    for (Integer index = 0; index < GetCompCount(); ++index) {
        TzxCustomLang* lang = GetzxComponents(index);
        TMemoryStream record;
        WriteRecord(record, lang, lang->FLangDispatcher);
        record.SetPosition(0);
        copies.emplace_back(ReadRecord(record, nullptr, GetOwnerNames(index)));
    }
    std::vector<TEntryComponent> components;
    for (std::unique_ptr<TzxCustomLang>& copy : copies)
        components.push_back({copy.release(), true});
    TStringList names;
    names.Assign(FOwnerNames.get());
    manager->FSignature = FSignature;
    manager->SetFixedLanguages(FFixedLanguages.get());
    manager->ReplaceEntries(std::move(components), names);
}
