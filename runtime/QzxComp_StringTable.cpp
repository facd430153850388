// String tables: the Strings list as a collection with one item per string
// identifier, sorted and searched by binary search, so that program code
// finds its texts without scanning the list.
#include "runtime/QzxComp.h"

#include <algorithm>

namespace {

TzxStringsCollectionItem* StringItem(TCollectionItem* Item) {
    return static_cast<TzxStringsCollectionItem*>(Item);
}

// The identifier of a Strings line: its text before the first delimiter,
// empty when it has none.
AnsiString StringLineID(const AnsiString& Line, char Delim) {
    std::size_t at = Line.find(Delim);
    return at == AnsiString::npos ? AnsiString() : Line.substr(0, at);
}

bool IsSurrogate(char16_t Unit) {
    return Unit >= 0xD800 && Unit <= 0xDFFF;
}

// S with every code point case-folded (a surrogate pair as one code point),
// into Folded.
void FoldText(const WideString& S, WideString& Folded) {
    Folded.clear();
    Folded.reserve(S.size());
    for (std::size_t at = 0; at < S.size(); ++at) {
        char32_t code = S[at];
        // Identifiers are mostly ASCII, whose folding is plain lower case.
        if (code < 0x80) {
            Folded += static_cast<char16_t>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
            continue;
        }
        bool pair = code >= 0xD800 && code <= 0xDBFF && at + 1 < S.size() && S[at + 1] >= 0xDC00 &&
                    S[at + 1] <= 0xDFFF;
        if (pair)
            code = 0x10000 + ((code - 0xD800) << 10) + (S[++at] - 0xDC00);
        code = UnicodeFold(code);
        if (code >= 0x10000) {
            Folded += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            Folded += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            Folded += static_cast<char16_t>(code);
        }
    }
}

// Code units ranked in code-point order: surrogates after U+E000..U+FFFF.
unsigned CodePointRank(char16_t Unit) {
    return IsSurrogate(Unit) ? Unit + 0x2000u : (Unit >= 0xE000 ? Unit - 0x800u : Unit);
}

// Two folded texts in code-point order, the order of WideCompareText.
Integer CompareFolded(const WideString& S1, const WideString& S2) {
    std::size_t common = std::min(S1.size(), S2.size());
    for (std::size_t index = 0; index < common; ++index)
        if (S1[index] != S2[index])
            return CodePointRank(S1[index]) < CodePointRank(S2[index]) ? -1 : 1;
    return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

} // namespace

// ---------------------------------------------------------------------------
// TzxSortCollection

void TzxSortCollection::QuickSort(Integer L, Integer R, const TzxItemSortCompare& Compare) {
    Integer I;
    do {
        I = L;
        Integer J = R;
        TCollectionItem* pivot = Items((L + R) >> 1);
        do {
            while (Compare(Items(I), pivot) < 0)
                ++I;
            while (Compare(Items(J), pivot) > 0)
                --J;
            if (I <= J) {
                Exchange(I, J);
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J)
            QuickSort(L, J, Compare);
        L = I;
    } while (I < R);
}

void TzxSortCollection::Sort(const TzxItemSortCompare& Compare) {
    if (Count() == 0)
        return;
    BeginUpdate();
    try {
        QuickSort(0, Count() - 1, Compare);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---------------------------------------------------------------------------
// TzxStringsCollection

// The identifier index of the table keeps decoded texts: a change of the
// values reaches it as a change of the item.
TzxStringsCollectionItem::TzxStringsCollectionItem(TCollection* ACollection)
    : TCollectionItem(ACollection) {
    FValues.OnChange = [this](TObject*) { Changed(false); };
}

void TzxStringsCollectionItem::SetID(const WideString& Value) {
    FID = Value;
    FoldText(Value, FFoldedID);
    Changed(false);
}

AnsiString TzxStringsCollectionItem::Text(Integer LangIndex) const {
    if (LangIndex < 1 || LangIndex > FValues.Count())
        return AnsiString();
    return FValues.Get(LangIndex - 1);
}

const WideString& TzxIndexedStrings::Text(Integer LangIndex) const {
    static const WideString NoText;
    if (LangIndex < 1 || LangIndex > static_cast<Integer>(Texts.size()))
        return NoText;
    return Texts[static_cast<std::size_t>(LangIndex - 1)];
}

TzxStringsCollection::TzxStringsCollection(TClass AItemClass, TComponent* AOwner)
    : TzxSortCollection(AItemClass), FOwner(AOwner) {}

TzxStringsCollectionItem* TzxStringsCollection::Items(Integer Index) const {
    return StringItem(TCollection::Items(Index));
}

TzxStringsCollectionItem* TzxStringsCollection::Add() {
    return StringItem(TCollection::Add());
}

void TzxStringsCollection::Sort() {
    if (FSortLanguage == 0)
        TzxSortCollection::Sort([this](TCollectionItem* Item1, TCollectionItem* Item2) {
            return SortByID(Item1, Item2);
        });
    else
        TzxSortCollection::Sort([this](TCollectionItem* Item1, TCollectionItem* Item2) {
            return SortByLang(Item1, Item2);
        });
}

Integer TzxStringsCollection::SortByID(TCollectionItem* Item1, TCollectionItem* Item2) const {
    return WideCompareText(StringItem(Item1)->ID(), StringItem(Item2)->ID());
}

Integer TzxStringsCollection::SortByLang(TCollectionItem* Item1, TCollectionItem* Item2) const {
    if (FSortLanguage == 0)
        return 0;
    return AnsiCompareText(StringItem(Item1)->Text(FSortLanguage),
                           StringItem(Item2)->Text(FSortLanguage));
}

Integer TzxStringsCollection::GetIDIndex(const WideString& ID) const {
    for (Integer index = 0; index < Count(); ++index)
        if (WideSameText(Items(index)->ID(), ID))
            return index;
    return -1;
}

template <typename CompareAt> Integer TzxStringsCollection::Search(CompareAt compareAt) const {
    if (Count() == 0)
        return -1;
    Integer L = 0;
    Integer H = Count() - 1;
    do {
        Integer M = (L + H) / 2;
        Integer cmp = compareAt(M);
        if (cmp == 0)
            return M;
        if (cmp < 0) {
            if (M == L)
                return M + 1 < Count() && compareAt(M + 1) == 0 ? M + 1 : -1;
            L = M;
        } else {
            H = M;
        }
    } while (L < H);
    return -1;
}

void TzxStringsCollection::Update(TCollectionItem*) {
    FIndexStale = true;
}

Integer TzxStringsCollection::SearchID(const WideString& FoldedID) const {
    return Search([&](Integer M) { return CompareFolded(Items(M)->FoldedID(), FoldedID); });
}

void TzxStringsCollection::IndexIDs() const {
    FIDIndex.clear();
    for (Integer index = 0; index < Count(); ++index) {
        const WideString& id = Items(index)->FoldedID();
        if (FIDIndex.contains(id))
            continue;
        const Integer found = SearchID(id);
        if (found < 0)
            continue;
        TzxIndexedStrings& entry = FIDIndex[id];
        entry.Index = found;
        const TStringList& values = *Items(found)->Values();
        for (Integer language = 0; language < values.Count(); ++language)
            entry.Texts.push_back(UTF8Decode(values.Get(language)));
    }
    FIndexStale = false;
}

const TzxIndexedStrings* TzxStringsCollection::FindIndexed(const WideString& ID) const {
    // Inside a batch of changes the index has not heard of them yet.
    if (FIndexStale || UpdateCount() > 0)
        IndexIDs();
    // Program code looks identifiers up one after another: the folded key
    // reuses one buffer instead of allocating per call.
    thread_local WideString key;
    FoldText(ID, key);
    const auto found = FIDIndex.find(key);
    return found == FIDIndex.end() ? nullptr : &found->second;
}

Integer TzxStringsCollection::FindID(const WideString& ID) const {
    const TzxIndexedStrings* found = FindIndexed(ID);
    return found ? found->Index : -1;
}

Integer TzxStringsCollection::FindText(const WideString& Text) const {
    const AnsiString text = UTF8Encode(Text);
    return Search(
        [&](Integer M) { return AnsiCompareText(Items(M)->Text(FSortLanguage), text); });
}

WideString TzxStringsCollection::GetTranslationByID(const WideString& ID, Integer LangIndex) const {
    const TzxIndexedStrings* found = FindIndexed(ID);
    return found ? found->Text(LangIndex) : WideString();
}

bool TzxStringsCollection::OwnerInTestMode() const {
    auto* lang = dynamic_cast<TzxCustomLang*>(FOwner);
    return lang && lang->LangDispatcher() && lang->LangDispatcher()->TestMode();
}

WideString TzxStringsCollection::GetTranslationByLang(const WideString& Text,
                                                      Integer LangIndex) const {
    Integer found = FindText(Text);
    if (found < 0)
        return Text;
    const TzxStringsCollectionItem* item = Items(found);
    AnsiString translation = item->Text(LangIndex);
    if (translation.empty() && LangIndex > 1 && OwnerInTestMode())
        translation = AnsiUpperCase(item->Text(1));
    return UTF8Decode(translation);
}

WideString TzxStringsCollection::GetTranslationByLang2(const WideString& Text,
                                                       Integer LangIndex) const {
    Integer found = FindText(Text);
    return found < 0 ? WideString() : UTF8Decode(Items(found)->Text(LangIndex));
}

// ---------------------------------------------------------------------------
// The component's table

// Values are positional: an empty translation keeps its language's place.
void TzxCustomLang::LoadStringsColl(TzxStringsCollection& Table, Integer SortLang) const {
    Table.BeginUpdate();
    try {
        Table.Clear();
        for (Integer index = 0; index < FStrings->Count(); ++index) {
            const AnsiString line = FStrings->Get(index);
            TzxStringsCollectionItem* item = Table.Add();
            item->SetID(UTF8Decode(StringLineID(line, Delim())));
            const TzxTranslationLine translation(line, Delim());
            for (Integer language = 1; language <= FNumOfLanguages; ++language)
                item->Values()->Add(translation.Value(language));
        }
    } catch (...) {
        Table.EndUpdate();
        throw;
    }
    Table.EndUpdate();
    Table.SetSortLanguage(SortLang);
    Table.Sort();
}

void TzxCustomLang::UpdateStrCollections() {
    if (!IsDesigning())
        LoadStringsColl(*FStringTable, 0);
}
