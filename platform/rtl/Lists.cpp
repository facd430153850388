#include "rtl/Lists.h"

#include "rtl/Streams.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SSortedListError = "Operation not allowed on sorted string list";
const char* const SDuplicateString = "String list does not allow duplicates";

const char QuoteChar = '"';
const char Delimiter = ',';
const char NameValueSeparator = '=';

// Stream transfers take Integer counts; larger texts move in pieces.
constexpr std::size_t MaxTransfer = std::numeric_limits<Integer>::max();

[[noreturn]] void ListError(const AnsiString& Msg, Integer Data) {
    throw EListError(Format(Msg, {Data}));
}

// BeginUpdate ... try ... finally EndUpdate.
template <typename Body> void WithUpdate(TStrings& Strings, Body&& DoChanges) {
    Strings.BeginUpdate();
    try {
        DoChanges();
    } catch (...) {
        Strings.EndUpdate();
        throw;
    }
    Strings.EndUpdate();
}

AnsiString ExtractName(const AnsiString& S) {
    std::size_t separator = S.find(NameValueSeparator);
    return separator == AnsiString::npos ? AnsiString() : S.substr(0, separator);
}

AnsiString ExtractValue(const AnsiString& S) {
    std::size_t separator = S.find(NameValueSeparator);
    return separator == AnsiString::npos ? AnsiString() : S.substr(separator + 1);
}

bool IsBlank(char C) {
    unsigned char code = static_cast<unsigned char>(C);
    return code >= 1 && code <= ' ';
}

bool NeedsQuotes(const AnsiString& S) {
    return std::any_of(S.begin(), S.end(), [](char C) {
        return static_cast<unsigned char>(C) <= ' ' || C == QuoteChar || C == Delimiter;
    });
}

void SkipBlanks(const AnsiString& Text, std::size_t& Pos) {
    while (Pos < Text.size() && IsBlank(Text[Pos]))
        ++Pos;
}

// An unquoted item ends at a blank, a control character or the delimiter.
AnsiString ReadCommaItem(const AnsiString& Text, std::size_t& Pos) {
    if (Text[Pos] == QuoteChar)
        return AnsiExtractQuotedStr(Text, Pos, QuoteChar);
    std::size_t start = Pos;
    while (Pos < Text.size() && static_cast<unsigned char>(Text[Pos]) > ' ' &&
           Text[Pos] != Delimiter)
        ++Pos;
    return Text.substr(start, Pos - start);
}

AnsiString ReadToEnd(TStream& Stream) {
    Int64 remaining = Stream.Size() - Stream.Position();
    AnsiString text;
    if (remaining <= 0)
        return text;
    text.resize(static_cast<std::size_t>(remaining));
    std::size_t filled = 0;
    while (filled < text.size()) {
        auto chunk = static_cast<Integer>(std::min(text.size() - filled, MaxTransfer));
        Integer got = Stream.Read(text.data() + filled, chunk);
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    return text;
}

void WriteAll(TStream& Stream, const AnsiString& Text) {
    for (std::size_t written = 0; written < Text.size();) {
        auto chunk = static_cast<Integer>(std::min(Text.size() - written, MaxTransfer));
        Stream.WriteBuffer(Text.data() + written, chunk);
        written += static_cast<std::size_t>(chunk);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TList

void TList::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        ListError(SListIndexError, Index);
}

Integer TList::Add(void* Item) {
    FList.push_back(Item);
    return Count() - 1;
}

void TList::Insert(Integer Index, void* Item) {
    if (Index < 0 || Index > Count())
        ListError(SListIndexError, Index);
    FList.insert(FList.begin() + Index, Item);
}

void TList::Delete(Integer Index) {
    CheckIndex(Index);
    FList.erase(FList.begin() + Index);
}

Integer TList::Remove(void* Item) {
    Integer index = IndexOf(Item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* Item) {
    Integer index = IndexOf(Item);
    if (index < 0)
        return nullptr;
    Delete(index);
    return Item;
}

void TList::Clear() {
    FList.clear();
}

Integer TList::IndexOf(void* Item) const {
    auto found = std::find(FList.begin(), FList.end(), Item);
    return found == FList.end() ? -1 : static_cast<Integer>(found - FList.begin());
}

void TList::Exchange(Integer Index1, Integer Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex)
        return;
    CheckIndex(NewIndex);
    void* item = Get(CurIndex);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, item);
}

void TList::Pack() {
    std::erase(FList, nullptr);
}

void TList::Sort(const TListSortCompare& Compare) {
    std::stable_sort(FList.begin(), FList.end(),
                     [&](void* Item1, void* Item2) { return Compare(Item1, Item2) < 0; });
}

void* TList::First() const {
    return Get(0);
}

void* TList::Last() const {
    return Get(Count() - 1);
}

void* TList::Get(Integer Index) const {
    CheckIndex(Index);
    return FList[Index];
}

void TList::Put(Integer Index, void* Item) {
    CheckIndex(Index);
    FList[Index] = Item;
}

// ---------------------------------------------------------------------------
// TStrings: storage defaults

void TStrings::Put(Integer Index, const AnsiString& S) {
    TObject* object = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, object);
}

TObject* TStrings::GetObject(Integer) const {
    return nullptr;
}

void TStrings::PutObject(Integer, TObject*) {}

Integer TStrings::Add(const AnsiString& S) {
    Integer index = GetCount();
    Insert(index, S);
    return index;
}

Integer TStrings::AddObject(const AnsiString& S, TObject* AObject) {
    Integer index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::AddStrings(const TStrings& Strings) {
    WithUpdate(*this, [&] {
        // The count is taken once, so a list can add its own items.
        Integer count = Strings.GetCount();
        for (Integer i = 0; i < count; ++i)
            AddObject(Strings.Get(i), Strings.GetObject(i));
    });
}

void TStrings::InsertObject(Integer Index, const AnsiString& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
    WithUpdate(*this, [&] {
        TObject* object1 = GetObject(Index1);
        AnsiString string1 = Get(Index1);
        PutObject(Index1, GetObject(Index2));
        Put(Index1, Get(Index2));
        PutObject(Index2, object1);
        Put(Index2, string1);
    });
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex)
        return;
    // Checked before the item is taken out, so a bad target loses nothing.
    if (NewIndex < 0 || NewIndex >= GetCount())
        Error(SListIndexError, NewIndex);
    WithUpdate(*this, [&] {
        AnsiString movedString = Get(CurIndex);
        TObject* movedObject = GetObject(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, movedString, movedObject);
    });
}

// ---------------------------------------------------------------------------
// TStrings: searching and comparing

Integer TStrings::IndexOf(const AnsiString& S) const {
    Integer count = GetCount();
    for (Integer i = 0; i < count; ++i)
        if (CompareStrings(Get(i), S) == 0)
            return i;
    return -1;
}

Integer TStrings::IndexOfName(const AnsiString& Name) const {
    Integer count = GetCount();
    for (Integer i = 0; i < count; ++i) {
        AnsiString line = Get(i);
        std::size_t separator = line.find(NameValueSeparator);
        if (separator != AnsiString::npos && CompareStrings(line.substr(0, separator), Name) == 0)
            return i;
    }
    return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const {
    Integer count = GetCount();
    for (Integer i = 0; i < count; ++i)
        if (GetObject(i) == AObject)
            return i;
    return -1;
}

bool TStrings::Equals(const TStrings& Strings) const {
    Integer count = GetCount();
    if (count != Strings.GetCount())
        return false;
    for (Integer i = 0; i < count; ++i)
        if (Get(i) != Strings.Get(i))
            return false;
    return true;
}

Integer TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
    return AnsiCompareText(S1, S2);
}

void TStrings::Assign(const TPersistent* Source) {
    auto* strings = dynamic_cast<const TStrings*>(Source);
    if (!strings) {
        TPersistent::Assign(Source);
        return;
    }
    // Clearing first would lose the items of a list assigned to itself.
    if (strings == this)
        return;
    WithUpdate(*this, [&] {
        Clear();
        AddStrings(*strings);
    });
}

// ---------------------------------------------------------------------------
// TStrings: update batches

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    // An unbalanced EndUpdate would otherwise silence the list for good.
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::Error(const AnsiString& Msg, Integer Data) const {
    ListError(Msg, Data);
}

// ---------------------------------------------------------------------------
// TStrings: "Name=Value" lines

AnsiString TStrings::Names(Integer Index) const {
    return ExtractName(Get(Index));
}

AnsiString TStrings::Values(const AnsiString& Name) const {
    Integer index = IndexOfName(Name);
    return index < 0 ? AnsiString() : ExtractValue(Get(index));
}

void TStrings::SetValue(const AnsiString& Name, const AnsiString& Value) {
    Integer index = IndexOfName(Name);
    if (Value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    AnsiString line = Name + NameValueSeparator + Value;
    if (index >= 0)
        Put(index, line);
    else
        Add(line);
}

AnsiString TStrings::ValueFromIndex(Integer Index) const {
    return Index < 0 ? AnsiString() : ExtractValue(Get(Index));
}

// ---------------------------------------------------------------------------
// TStrings: text forms

AnsiString TStrings::Text() const {
    AnsiString text;
    Integer count = GetCount();
    for (Integer i = 0; i < count; ++i) {
        text += Get(i);
        text += sLineBreak;
    }
    return text;
}

void TStrings::SetText(const AnsiString& Value) {
    WithUpdate(*this, [&] {
        Clear();
        std::size_t pos = 0;
        while (pos < Value.size()) {
            std::size_t lineEnd = std::min(Value.find_first_of("\r\n", pos), Value.size());
            Add(Value.substr(pos, lineEnd - pos));
            pos = lineEnd;
            if (pos < Value.size() && Value[pos] == '\r')
                ++pos;
            if (pos < Value.size() && Value[pos] == '\n')
                ++pos;
        }
    });
}

AnsiString TStrings::CommaText() const {
    Integer count = GetCount();
    // A lone empty item must not read back as an empty list.
    if (count == 1 && Get(0).empty())
        return AnsiString(2, QuoteChar);
    AnsiString text;
    for (Integer i = 0; i < count; ++i) {
        if (i > 0)
            text += Delimiter;
        AnsiString item = Get(i);
        text += NeedsQuotes(item) ? AnsiQuotedStr(item, QuoteChar) : item;
    }
    return text;
}

void TStrings::SetCommaText(const AnsiString& Value) {
    WithUpdate(*this, [&] {
        Clear();
        std::size_t pos = 0;
        SkipBlanks(Value, pos);
        // Outside quotes a NUL ends the text, as it does for a C string.
        while (pos < Value.size() && Value[pos] != '\0') {
            Add(ReadCommaItem(Value, pos));
            SkipBlanks(Value, pos);
            if (pos < Value.size() && Value[pos] == Delimiter) {
                if (pos + 1 == Value.size())
                    Add(AnsiString());
                ++pos;
                SkipBlanks(Value, pos);
            }
        }
    });
}

void TStrings::LoadFromStream(TStream& Stream) {
    WithUpdate(*this, [&] { SetText(ReadToEnd(Stream)); });
}

void TStrings::SaveToStream(TStream& Stream) const {
    WriteAll(Stream, Text());
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, static_cast<Word>(fmOpenRead | fmShareDenyWrite));
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const AnsiString& FileName) const {
    ReplaceFileAtomically(FileName, [this](TStream& Stream) { SaveToStream(Stream); });
}

// ---------------------------------------------------------------------------
// TStringList

void TStringList::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= GetCount())
        Error(SListIndexError, Index);
}

AnsiString TStringList::Get(Integer Index) const {
    CheckIndex(Index);
    return FList[Index].FString;
}

Integer TStringList::GetCount() const {
    return static_cast<Integer>(FList.size());
}

TObject* TStringList::GetObject(Integer Index) const {
    CheckIndex(Index);
    return FList[Index].FObject;
}

void TStringList::Clear() {
    if (FList.empty())
        return;
    Changing();
    FList.clear();
    Changed();
}

void TStringList::Delete(Integer Index) {
    CheckIndex(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TStringList::Insert(Integer Index, const AnsiString& S) {
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(Integer Index, const AnsiString& S, TObject* AObject) {
    if (FSorted)
        Error(SSortedListError, 0);
    if (Index < 0 || Index > GetCount())
        Error(SListIndexError, Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(Integer Index, const AnsiString& S, TObject* AObject) {
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    Changed();
}

void TStringList::Put(Integer Index, const AnsiString& S) {
    if (FSorted)
        Error(SSortedListError, 0);
    CheckIndex(Index);
    Changing();
    FList[Index].FString = S;
    Changed();
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
    CheckIndex(Index);
    Changing();
    FList[Index].FObject = AObject;
    Changed();
}

Integer TStringList::Add(const AnsiString& S) {
    return AddObject(S, nullptr);
}

Integer TStringList::AddObject(const AnsiString& S, TObject* AObject) {
    Integer index = GetCount();
    if (FSorted && Find(S, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            Error(SDuplicateString, 0);
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    ExchangeItems(Index1, Index2);
    Changed();
}

void TStringList::ExchangeItems(Integer Index1, Integer Index2) {
    std::swap(FList[Index1], FList[Index2]);
}

Integer TStringList::IndexOf(const AnsiString& S) const {
    if (FSorted) {
        Integer index;
        return Find(S, index) ? index : -1;
    }
    // Compares the stored strings in place instead of copying each through Get.
    auto found = std::find_if(FList.begin(), FList.end(), [&](const TStringItem& Item) {
        return CompareStrings(Item.FString, S) == 0;
    });
    return found == FList.end() ? -1 : static_cast<Integer>(found - FList.begin());
}

bool TStringList::Find(const AnsiString& S, Integer& Index) const {
    // Leftmost position whose item is not less than S, so duplicates are
    // found at their first occurrence.
    Integer low = 0;
    Integer high = GetCount();
    while (low < high) {
        Integer middle = low + (high - low) / 2;
        if (CompareStrings(FList[middle].FString, S) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    Index = low;
    return low < GetCount() && CompareStrings(FList[low].FString, S) == 0;
}

Integer TStringList::CompareItems(TStringList& List, Integer Index1, Integer Index2) {
    return List.CompareStrings(List.FList[Index1].FString, List.FList[Index2].FString);
}

void TStringList::Sort() {
    CustomSort(CompareItems);
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    if (!FSorted)
        SortItems(Compare);
}

void TStringList::SortItems(const TStringListSortCompare& Compare) {
    if (GetCount() <= 1)
        return;
    Changing();
    // Compare reads the list by index, so the list stays as it is while the
    // new order is worked out, and is rearranged once at the end.
    std::vector<Integer> order(FList.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](Integer Index1, Integer Index2) {
        return Compare(*this, Index1, Index2) < 0;
    });
    // Placed by swaps through ExchangeItems so descendants' per-item data
    // moves along: position i receives item order[i] from wherever the
    // earlier swaps left it.
    std::vector<Integer> positionOf(order.size());
    std::vector<Integer> itemAt(order.size());
    std::iota(positionOf.begin(), positionOf.end(), 0);
    std::iota(itemAt.begin(), itemAt.end(), 0);
    for (Integer target = 0; target < GetCount(); ++target) {
        Integer wanted = order[target];
        Integer source = positionOf[wanted];
        if (source == target)
            continue;
        ExchangeItems(target, source);
        Integer displaced = itemAt[target];
        itemAt[source] = displaced;
        positionOf[displaced] = source;
        itemAt[target] = wanted;
        positionOf[wanted] = target;
    }
    Changed();
}

void TStringList::SetSorted(bool Value) {
    if (FSorted == Value)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (FCaseSensitive == Value)
        return;
    FCaseSensitive = Value;
    if (FSorted)
        SortItems(CompareItems);
}

Integer TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}
