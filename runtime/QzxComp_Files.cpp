// The translation component's file entry points, the lookup of its lists
// by kind name, and the string identifiers of its Strings list.
#include "runtime/DOriDaz.h"
#include "runtime/QzxComp_Engine.h"

#include <algorithm>

namespace {

const char* const ListIndexOutOfBonds = "List index is out of bonds!";
const char* const InvalidStringID = "\"%s\" is not a valid string identifier!";
const char* const InvalidStringText = "The text of string identifier \"%s\" holds the delimiter!";

// The text before the first Delim; empty when the line has none.
AnsiString KeyOfLine(const AnsiString& Line, char Delim) {
    const auto at = Line.find(Delim);
    return at == AnsiString::npos ? AnsiString() : Line.substr(0, at);
}

// An identifier becomes the key of a translation line and of a text-file
// entry: it may hold neither the line's delimiter nor what would split the
// entry ("=", a line break).
bool IsValidStringID(const AnsiString& ID, char Delim) {
    return !ID.empty() && !HoldsAnyOf(ID, AnsiString("=\r\n") + Delim);
}

} // namespace

bool zxIsBinaryFile(const AnsiString& FileName) {
    return AnsiUpperCase(ExtractFileExt(FileName)) == ".ZXB";
}

TStrings* TzxCustomLang::GetPropListByName(const WideString& Name) const {
    const AnsiString wanted = AnsiUpperCase(UTF8Encode(Name));
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind) {
        const auto type = static_cast<TStringsType>(kind);
        if (UpperCase(GetEnumName(TypeInfoOf(type), kind).substr(2)) == wanted)
            return GetPropListByType(type);
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Files by name. A ".ZXB" name means the binary file, whose entry for this
// component's form holds every list; any other name means the text file,
// which is read whole and written whole through a temporary file that
// replaces it, so a failed save leaves it as it was.

namespace {

AnsiString NameOf(const WideString& FileName) {
    return UTF8Encode(FileName);
}

bool IsBinary(const WideString& FileName) {
    return zxIsBinaryFile(NameOf(FileName));
}

TFileStream OpenToRead(const WideString& FileName) {
    return TFileStream(NameOf(FileName), static_cast<Word>(fmOpenRead | fmShareExclusive));
}

} // namespace

Integer TzxCustomLang::LoadFromFile(TStringsType Kind, const WideString& FileName,
                                    bool ClearFirst) {
    if (!FileExists(NameOf(FileName)))
        return -1;
    if (IsBinary(FileName))
        return TEngine::LoadKindFromBinaryFile(*this, Kind, FileName);
    TFileStream stream = OpenToRead(FileName);
    return LoadFromStream(Kind, stream, ClearFirst);
}

// The number of lines the file's entry gave, 0 without an entry for this
// form; -1, with the list as it was, when the class keeps no list of Kind
// or the file cannot be read.
Integer TzxCustomLang::TEngine::LoadKindFromBinaryFile(TzxCustomLang& L, TStringsType Kind,
                                                       const WideString& FileName) {
    TStrings* list = L.GetPropListByType(Kind);
    if (!list || !L.Owner())
        return -1;
    bool found = false;
    try {
        found = L.LoadPropFromBinaryFile(Kind, NameOf(FileName));
    } catch (const std::exception&) {
        return -1;
    }
    FinishSingleLoad(L, Kind, *list);
    return found ? list->Count() : 0;
}

// A binary file gets this form's whole entry. A text file's current text
// is rewritten in memory by WriteText, and the file replaced by the result
// when WriteText reports that it wrote.
void TzxCustomLang::TEngine::WriteToFile(TzxCustomLang& L, const WideString& FileName,
                                         const std::function<bool(TStream& Text)>& WriteText) {
    const AnsiString name = NameOf(FileName);
    if (zxIsBinaryFile(name)) {
        L.SaveAllToBinaryFile(name);
        return;
    }
    TMemoryStream text;
    if (FileExists(name))
        text.LoadFromFile(name);
    if (WriteText(text))
        text.SaveToFile(name);
}

void TzxCustomLang::SaveToFile(TStringsType Kind, const WideString& FileName,
                               const WideString& Delim) {
    TEngine::WriteToFile(*this, FileName,
                         [&](TStream& Text) { return SaveToStream(Kind, Text, Delim) >= 0; });
}

void TzxCustomLang::LoadAllFromFile(const WideString& FileName, bool ClearFirst) {
    if (!FileExists(NameOf(FileName)))
        return;
    if (IsBinary(FileName)) {
        LoadAllFromBinaryFile(NameOf(FileName));
        return;
    }
    TFileStream stream = OpenToRead(FileName);
    LoadAllFromStream(stream, ClearFirst);
}

// The whole load clears the extended translations and reads them back from
// the file, so the whole save writes them too; a component without any
// writes the file as the kinds alone make it.
void TzxCustomLang::SaveAllToFile(const WideString& FileName, const WideString& Delim) {
    if (IsBinary(FileName))
        SaveAllToBinaryFile(NameOf(FileName));
    else
        TEngine::SaveAllToTextFile({this}, FileName, Delim);
}

Integer TzxCustomLang::LoadStringsFromFile(const WideString& FileName, bool ClearFirst) {
    return LoadFromFile(stStrings, FileName, ClearFirst);
}

void TzxCustomLang::SaveStringsToFile(const WideString& FileName, const WideString& Delim) {
    SaveToFile(stStrings, FileName, Delim);
}

void TzxCustomLang::LoadExtendedFromFile(const WideString& FileName, bool ClearFirst) {
    if (!FileExists(NameOf(FileName)))
        return;
    TFileStream stream = OpenToRead(FileName);
    LoadExtendedFromStream(stream, ClearFirst);
}

void TzxCustomLang::SaveExtendedToFile(const WideString& FileName, const WideString& Delim) {
    TEngine::WriteToFile(*this, FileName, [&](TStream& Text) {
        SaveExtendedToStream(Text, Delim);
        return true;
    });
}

// The file's lines win, the list keeps the lines the file lacks; false, with
// the list as it was, when the class keeps no list of Kind or the file
// cannot be read.
bool TzxCustomLang::MergeFromFile(TStringsType Kind, const WideString& FileName) {
    if (!FileExists(NameOf(FileName)))
        return false;
    return TEngine::MergeKind(*this, Kind, [&] { return LoadFromFile(Kind, FileName, true); });
}

bool TzxCustomLang::MergeAllFromFileDNC(const WideString& FileName) {
    return TEngine::MergeAllKinds(*this,
                                  [&](TStringsType Kind) { return MergeFromFile(Kind, FileName); });
}

bool TzxCustomLang::MergeAllFromFile(const WideString& FileName) {
    const bool merged = MergeAllFromFileDNC(FileName);
    ChangeLanguage();
    return merged;
}

void TzxCustomLang::LoadAllFromFileDNC(const WideString& FileName, bool ClearFirst) {
    if (!FileExists(NameOf(FileName)))
        return;
    if (IsBinary(FileName)) {
        TEngine::LoadBinaryEntry(*this, NameOf(FileName));
        return;
    }
    TFileStream stream = OpenToRead(FileName);
    TEngine::LoadAllKindsFromStream(*this, stream, ClearFirst);
}

// ---------------------------------------------------------------------------
// The binary file's entry of this component's form

void TzxCustomLang::SaveAllToBinaryFile(const AnsiString& FileName) {
    TZXBFileManager manager(FileName);
    manager.Add(this);
    manager.SaveToFile(FileName);
}

// Every list, the names and the extended translations of the entry, the
// string tables rebuilt; nothing without an owner or an entry. The
// dispatcher's reader serves its own file.
void TzxCustomLang::TEngine::LoadBinaryEntry(TzxCustomLang& L, const AnsiString& FileName) {
    if (!L.Owner())
        return;
    TZXBFileManager temporary;
    TZXBFileManager* manager =
        L.FLangDispatcher ? L.FLangDispatcher->BinaryFileManagerFor(FileName) : nullptr;
    if (!manager)
        manager = &temporary;
    if (manager->LoadFromFile(&L, L.Owner()->ClassName(), FileName))
        L.UpdateStrCollections();
}

void TzxCustomLang::TEngine::LoadBinaryStreamEntry(TzxCustomLang& L, TStream& Stream) {
    TZXBFileManager manager;
    if (manager.LoadFromStream(&L, L.Owner()->ClassName(), Stream))
        L.UpdateStrCollections();
}

void TzxCustomLang::LoadAllFromBinaryFile(const AnsiString& FileName) {
    TEngine::LoadBinaryEntry(*this, FileName);
    ChangeLanguage();
}

void TzxCustomLang::LoadAllFromBinaryStream(TStream& Stream) {
    if (!Owner())
        return;
    TEngine::LoadBinaryStreamEntry(*this, Stream);
    ChangeLanguage();
}

bool TzxCustomLang::LoadPropFromBinaryFile(TStringsType Kind, const AnsiString& FileName) {
    if (!Owner())
        return false;
    TZXBFileManager manager;
    const bool found = manager.LoadPropFromFile(Kind, FileName, this, Owner()->ClassName());
    if (found && Kind == stStrings)
        UpdateStrCollections();
    return found;
}

// ---------------------------------------------------------------------------
// String identifiers

void TzxCustomLang::AddString(const WideString& ID, const std::vector<WideString>& Texts) {
    const AnsiString id = UTF8Encode(ID);
    if (!IsValidStringID(id, Delim()))
        throw ELanguageError(Format(InvalidStringID, {id}));
    AnsiString line = id + Delim();
    for (const WideString& text : Texts) {
        const AnsiString value = UTF8Encode(text);
        if (value.find(Delim()) != AnsiString::npos)
            throw ELanguageError(Format(InvalidStringText, {id}));
        line += value + Delim();
    }
    for (auto given = static_cast<Integer>(Texts.size()); given < FNumOfLanguages; ++given)
        line += Delim();
    const Integer old = GetIDIndex(ID);
    if (old >= 0)
        FStrings->Delete(old);
    FStrings->Add(line);
    try {
        TEngine::PutInStringTable(*this, ID, line);
    } catch (const std::exception&) {
    }
}

// The item of ID takes the line's values, one per language; a new item goes
// where the table's order by identifier puts it.
void TzxCustomLang::TEngine::PutInStringTable(TzxCustomLang& L, const WideString& ID,
                                              const AnsiString& Line) {
    const AnsiString id = UTF8Encode(ID);
    TzxStringsCollectionItem* item = nullptr;
    Integer insertAt = L.FStringTable->Count();
    for (Integer index = L.FStringTable->Count() - 1; index >= 0; --index) {
        TzxStringsCollectionItem* candidate = L.FStringTable->Items(index);
        const Integer order = AnsiCompareText(AnsiString(candidate->IDText()), id);
        if (order == 0) {
            item = candidate;
            break;
        }
        if (order > 0)
            insertAt = index;
    }
    if (!item) {
        item = static_cast<TzxStringsCollectionItem*>(L.FStringTable->Insert(insertAt));
        item->SetID(ID);
    }
    TStringList* values = item->Values();
    values->Clear();
    const auto valueCount =
        static_cast<Integer>(std::count(Line.begin(), Line.end(), L.Delim())) - 1;
    const TzxTranslationLine line(Line, L.Delim());
    for (Integer language = 1; language <= valueCount; ++language)
        values->Add(line.Value(language));
}

bool TzxCustomLang::DeleteString(const WideString& ID) {
    const AnsiString prefix = UTF8Encode(ID) + Delim();
    for (Integer index = 0; index < FStrings->Count(); ++index)
        if (FStrings->Get(index).starts_with(prefix)) {
            FStrings->Delete(index);
            return true;
        }
    return false;
}

WideString TzxCustomLang::GetStringID(Integer Index) const {
    if (Index < 0 || Index > FStrings->Count() - 1)
        throw EListError(ListIndexOutOfBonds);
    return UTF8Decode(KeyOfLine(FStrings->Get(Index), Delim()));
}

Integer TzxCustomLang::GetIDIndex(const WideString& ID) const {
    const AnsiString id = UTF8Encode(ID);
    for (Integer index = 0; index < FStrings->Count(); ++index)
        if (AnsiCompareText(KeyOfLine(FStrings->Get(index), Delim()), id) == 0)
            return index;
    return -1;
}
