// String tables: the Strings list as a collection with one item per string
// identifier, sorted and searched by binary search, so that program code
// finds its texts without scanning the list.
#include "runtime/QzxComp.h"

#include <algorithm>
#include <cstring>

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

void PutLength(std::string& Out, std::size_t Length) {
    for (; Length >= 0x80; Length >>= 7)
        Out += static_cast<char>(0x80 | (Length & 0x7F));
    Out += static_cast<char>(Length);
}

std::size_t TakeLength(const char*& At) {
    std::size_t length = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*At++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80)
            return length;
    }
}

// The fields in one block of their exact size: their count, then each
// field's length and bytes.
std::unique_ptr<char[]> PackedFields(const std::vector<std::string_view>& Fields) {
    std::string packed;
    PutLength(packed, Fields.size());
    for (std::string_view field : Fields) {
        PutLength(packed, field.size());
        packed += field;
    }
    auto block = std::make_unique<char[]>(packed.size());
    packed.copy(block.get(), packed.size());
    return block;
}

std::size_t FieldCount(const char* Packed) {
    return Packed ? TakeLength(Packed) : 0;
}

// Field Index of a packed block; empty beyond its fields.
std::string_view PackedField(const char* Packed, std::size_t Index) {
    if (Index >= FieldCount(Packed))
        return {};
    const char* at = Packed;
    TakeLength(at);
    for (std::size_t skipped = 0; skipped < Index; ++skipped)
        at += TakeLength(at);
    const std::size_t length = TakeLength(at);
    return {at, length};
}

// Eight bytes at a time: texts are mostly ASCII and checked on every lookup.
bool IsAsciiText(std::string_view S) {
    std::size_t at = 0;
    for (; at + 8 <= S.size(); at += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, S.data() + at, sizeof bytes);
        if (bytes & 0x8080808080808080ull)
            return false;
    }
    for (; at < S.size(); ++at)
        if (static_cast<unsigned char>(S[at]) >= 0x80)
            return false;
    return true;
}

char16_t AsciiFolded(char16_t C) {
    return static_cast<char16_t>(C >= u'A' && C <= u'Z' ? C + (u'a' - u'A') : C);
}

char16_t AsciiFolded(char C) {
    return AsciiFolded(static_cast<char16_t>(static_cast<unsigned char>(C)));
}

WideString FoldedUTF8(std::string_view S) {
    WideString folded;
    if (IsAsciiText(S)) {
        folded.reserve(S.size());
        for (char c : S)
            folded += AsciiFolded(c);
    } else {
        FoldText(UTF8Decode(S), folded);
    }
    return folded;
}

// FNV-1a over the folded code units.
std::uint32_t FoldedHash(const WideString& Folded) {
    std::uint32_t hash = 2166136261u;
    for (char16_t unit : Folded)
        hash = (hash ^ unit) * 16777619u;
    return hash;
}

// Whether an item's UTF-8 identifier equals Key case-folded, Key being
// folded already or plain ASCII in any case; ASCII identifiers, the usual
// ones, are compared in place.
bool SameID(std::string_view ID, const WideString& Key) {
    const WideString folded = IsAsciiText(ID) ? WideString() : FoldedUTF8(ID);
    const std::size_t size = folded.empty() ? ID.size() : folded.size();
    if (size != Key.size())
        return false;
    for (std::size_t at = 0; at < size; ++at)
        if ((folded.empty() ? AsciiFolded(ID[at]) : folded[at]) != AsciiFolded(Key[at]))
            return false;
    return true;
}

// The order of AnsiCompareText, comparing ASCII in place.
Integer CompareIDs(std::string_view S1, std::string_view S2) {
    const std::size_t common = std::min(S1.size(), S2.size());
    for (std::size_t at = 0; at < common; ++at) {
        if (static_cast<unsigned char>(S1[at]) >= 0x80 || static_cast<unsigned char>(S2[at]) >= 0x80)
            return AnsiCompareText(AnsiString(S1.substr(at)), AnsiString(S2.substr(at)));
        const char16_t c1 = AsciiFolded(S1[at]);
        const char16_t c2 = AsciiFolded(S2[at]);
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
    }
    return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

WideString DecodedText(std::string_view S) {
    if (IsAsciiText(S))
        return WideString(S.begin(), S.end());
    return UTF8Decode(S);
}

const TzxIDSlot* Found(const TzxIDSlot& Slot) {
    return Slot.Item ? &Slot : nullptr;
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

// The identifier index of the table refers to items by position: a change
// of the values reaches it as a change of the item.
TzxStringsCollectionItem::TzxStringsCollectionItem(TCollection* ACollection)
    : TCollectionItem(ACollection) {}

TzxStringsCollectionItem::~TzxStringsCollectionItem() = default;

std::string_view TzxStringsCollectionItem::IDText() const {
    return PackedField(FTexts.get(), 0);
}

void TzxStringsCollectionItem::SetID(const WideString& Value) {
    const AnsiString id = UTF8Encode(Value);
    std::vector<std::string_view> fields{id};
    std::vector<AnsiString> texts;
    if (!FValues)
        for (Integer language = 1; language <= TextCount(); ++language)
            texts.push_back(Text(language));
    fields.insert(fields.end(), texts.begin(), texts.end());
    FTexts = PackedFields(fields);
    Changed(false);
}

void TzxStringsCollectionItem::SetTexts(std::string_view ID, const std::vector<std::string_view>& Texts) {
    std::vector<std::string_view> fields{ID};
    fields.insert(fields.end(), Texts.begin(), Texts.end());
    FTexts = PackedFields(fields);
    FValues.reset();
    Changed(false);
}

Integer TzxStringsCollectionItem::TextCount() const {
    if (FValues)
        return FValues->Count();
    const std::size_t fields = FieldCount(FTexts.get());
    return fields == 0 ? 0 : static_cast<Integer>(fields - 1);
}

// The packed texts move into the list, and the block keeps the identifier.
TStringList& TzxStringsCollectionItem::MadeValues() const {
    if (!FValues) {
        auto values = std::make_unique<TStringList>();
        for (Integer language = 1; language <= TextCount(); ++language)
            values->Add(Text(language));
        values->OnChange = [this](TObject*) { const_cast<TzxStringsCollectionItem*>(this)->Changed(false); };
        FTexts = PackedFields({IDText()});
        FValues = std::move(values);
        // The index refers to the block just replaced.
        const_cast<TzxStringsCollectionItem*>(this)->Changed(false);
    }
    return *FValues;
}

AnsiString TzxStringsCollectionItem::Text(Integer LangIndex) const {
    if (LangIndex < 1 || LangIndex > TextCount())
        return AnsiString();
    if (FValues)
        return FValues->Get(LangIndex - 1);
    return AnsiString(PackedField(FTexts.get(), static_cast<std::size_t>(LangIndex)));
}

WideString TzxStringsCollectionItem::WideText(Integer LangIndex) const {
    if (FValues)
        return UTF8Decode(Text(LangIndex));
    return LangIndex < 1 ? WideString()
                         : DecodedText(PackedField(FTexts.get(), static_cast<std::size_t>(LangIndex)));
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
    return CompareIDs(StringItem(Item1)->IDText(), StringItem(Item2)->IDText());
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

bool TzxStringsCollection::SlotHolds(const TzxIDSlot& Slot, const WideString& Key,
                                     std::uint32_t Hash) const {
    return Slot.Hash == Hash &&
           SameID(Slot.Texts ? PackedField(Slot.Texts, 0) : SlotItem(Slot)->IDText(), Key);
}

const TzxStringsCollectionItem* TzxStringsCollection::SlotItem(const TzxIDSlot& Slot) const {
    return Items(static_cast<Integer>(Slot.Item - 1));
}

WideString TzxStringsCollection::SlotText(const TzxIDSlot& Slot, Integer LangIndex) const {
    if (!Slot.Texts)
        return SlotItem(Slot)->WideText(LangIndex);
    return LangIndex < 1 ? WideString()
                         : DecodedText(PackedField(Slot.Texts, static_cast<std::size_t>(LangIndex)));
}

std::size_t TzxStringsCollection::SlotOf(const WideString& Key, std::uint32_t Hash) const {
    const std::size_t mask = FIDSlots.size() - 1;
    std::size_t at = Hash & mask;
    while (FIDSlots[at].Item && !SlotHolds(FIDSlots[at], Key, Hash))
        at = (at + 1) & mask;
    return at;
}

void TzxStringsCollection::IndexIDs() const {
    std::vector<WideString> folded;
    folded.reserve(static_cast<std::size_t>(Count()));
    for (Integer index = 0; index < Count(); ++index)
        folded.push_back(FoldedUTF8(Items(index)->IDText()));
    // Up to two thirds taken: linear probing stays short, and the index
    // takes half the cache that a half-empty one would.
    std::size_t slotCount = 2;
    while (slotCount * 2 < folded.size() * 3)
        slotCount *= 2;
    FIDSlots.assign(slotCount, TzxIDSlot{});
    for (const WideString& id : folded) {
        const std::uint32_t hash = FoldedHash(id);
        const std::size_t slot = SlotOf(id, hash);
        if (FIDSlots[slot].Item)
            continue;
        const Integer found =
            Search([&](Integer M) { return CompareFolded(folded[static_cast<std::size_t>(M)], id); });
        if (found >= 0)
            FIDSlots[slot] =
                TzxIDSlot{hash, static_cast<std::uint32_t>(found + 1), Items(found)->PackedTexts()};
    }
    FIndexStale = false;
}

const TzxIDSlot* TzxStringsCollection::FindIndexed(const WideString& ID) const {
    // Inside a batch of changes the index has not heard of them yet.
    if (FIndexStale || UpdateCount() > 0)
        IndexIDs();
    // ASCII identifiers, the usual ones, are hashed as they are folded.
    std::uint32_t hash = 2166136261u;
    for (char16_t unit : ID) {
        if (unit >= 0x80) {
            // Program code looks identifiers up one after another: the
            // folded key reuses one buffer instead of allocating per call.
            thread_local WideString key;
            FoldText(ID, key);
            return Found(FIDSlots[SlotOf(key, FoldedHash(key))]);
        }
        hash = (hash ^ AsciiFolded(unit)) * 16777619u;
    }
    return Found(FIDSlots[SlotOf(ID, hash)]);
}

Integer TzxStringsCollection::FindID(const WideString& ID) const {
    const TzxIDSlot* found = FindIndexed(ID);
    return found ? static_cast<Integer>(found->Item - 1) : -1;
}

Integer TzxStringsCollection::FindText(const WideString& Text) const {
    const AnsiString text = UTF8Encode(Text);
    return Search(
        [&](Integer M) { return AnsiCompareText(Items(M)->Text(FSortLanguage), text); });
}

WideString TzxStringsCollection::GetTranslationByID(const WideString& ID, Integer LangIndex) const {
    const TzxIDSlot* found = FindIndexed(ID);
    return found ? SlotText(*found, LangIndex) : WideString();
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
            const TzxTranslationLine translation(line, Delim());
            std::vector<std::string_view> texts;
            for (Integer language = 1; language <= FNumOfLanguages; ++language)
                texts.push_back(translation.Value(language));
            Table.Add()->SetTexts(StringLineID(line, Delim()), texts);
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
        RebuildStringTable();
}
