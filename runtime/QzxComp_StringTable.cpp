// String tables: the Strings list as a collection with one item per string
// identifier, sorted and searched by binary search, so that program code
// finds its texts without scanning the list.
#include "runtime/QzxComp.h"

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

AnsiString TzxStringsCollectionItem::Text(Integer LangIndex) const {
    if (LangIndex < 1 || LangIndex > FValues.Count())
        return AnsiString();
    return FValues.Get(LangIndex - 1);
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

Integer TzxStringsCollection::FindID(const WideString& ID) const {
    return Search([&](Integer M) { return WideCompareText(Items(M)->ID(), ID); });
}

Integer TzxStringsCollection::FindText(const WideString& Text) const {
    const AnsiString text = UTF8Encode(Text);
    return Search(
        [&](Integer M) { return AnsiCompareText(Items(M)->Text(FSortLanguage), text); });
}

WideString TzxStringsCollection::GetTranslationByID(const WideString& ID, Integer LangIndex) const {
    Integer found = FindID(ID);
    return found < 0 ? WideString() : UTF8Decode(Items(found)->Text(LangIndex));
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
            for (Integer language = 1; language <= FNumOfLanguages; ++language)
                item->Values()->Add(GetLineField(line, language, Delim()));
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
