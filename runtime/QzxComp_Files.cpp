// The lookup of the translation component's lists by kind name and the
// string identifiers of its Strings list.
#include "runtime/QzxComp.h"

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
    return !ID.empty() && ID.find_first_of(AnsiString("=\r\n") + Delim) == AnsiString::npos;
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
        PutInStringTable(ID, line);
    } catch (const std::exception&) {
    }
}

// The item of ID takes the line's values, one per language; a new item goes
// where the table's order by identifier puts it.
void TzxCustomLang::PutInStringTable(const WideString& ID, const AnsiString& Line) {
    const AnsiString id = UTF8Encode(ID);
    TzxStringsCollectionItem* item = nullptr;
    Integer insertAt = FStringTable->Count();
    for (Integer index = FStringTable->Count() - 1; index >= 0; --index) {
        TzxStringsCollectionItem* candidate = FStringTable->Items(index);
        const Integer order = AnsiCompareText(UTF8Encode(candidate->ID()), id);
        if (order == 0) {
            item = candidate;
            break;
        }
        if (order > 0)
            insertAt = index;
    }
    if (!item) {
        item = static_cast<TzxStringsCollectionItem*>(FStringTable->Insert(insertAt));
        item->SetID(ID);
    }
    TStringList* values = item->Values();
    values->Clear();
    const auto valueCount = static_cast<Integer>(std::count(Line.begin(), Line.end(), Delim())) - 1;
    for (Integer language = 1; language <= valueCount; ++language)
        values->Add(GetLineField(Line, language, Delim()));
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
