// The collections of the translation component: extended translations and
// the string tables that program code looks its texts up in.
#pragma once

#include "runtime/QzxComp_Text.h"

#include "rtl/Collections.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class TzxCustomLang;

// One translation of any published property, addressed by a dotted path
// whose first element names a component of the owner form.
class TzxExtendedItem : public TCollectionItem {
    ZX_CLASS(TzxExtendedItem, TCollectionItem)
public:
    explicit TzxExtendedItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static void PublishedProperties(TPropertyBuilder<TzxExtendedItem>& P);

    // The path, following renames of the component it names.
    AnsiString GetIdentifier() const;
    void SetIdentifier(const AnsiString& Value) { FIdentifier = Value; }
    const AnsiString& Values() const { return FValues; }
    void SetValues(const AnsiString& Value) { FValues = Value; }
    TTypeKind PropertyType() const { return FPropertyType; }
    void SetPropertyType(TTypeKind Value) { FPropertyType = Value; }
    bool IsRoot() const { return false; }
    TComponent* RelComponent() const { return FRelComponent; }
    void SetRelComponent(TComponent* Value) { FRelComponent = Value; }
    AnsiString GetDisplayName() const override;

    // Values travel in form files as the binary property "ValuesEx", so
    // that the delimiter characters reach the file unchanged.
    void DefineProperties(TFiler* Filer) override;
    void ReadValues(TStream& Stream);
    void WriteValues(TStream& Stream) const;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    bool ValuesHaveData(const TFiler& Filer) const;

    AnsiString FIdentifier;
    AnsiString FValues;
    TTypeKind FPropertyType = tkUnknown;
    TComponent* FRelComponent = nullptr;
};

class TzxExtendedItems : public TCollection {
    ZX_CLASS(TzxExtendedItems, TCollection)
public:
    explicit TzxExtendedItems(TzxCustomLang* AOwner);
    TPersistent* GetOwner() const override;
    TzxExtendedItem* Items(Integer Index) const;
    // Assigns Value to the item at Index.
    void SetItems(Integer Index, const TzxExtendedItem* Value) { SetItem(Index, Value); }
    TzxExtendedItem* Add();
    // The first item whose Identifier equals Identifier ignoring case, or
    // nullptr.
    TzxExtendedItem* Find(const AnsiString& Identifier) const;

private:
    TzxCustomLang* FOwner;
};

// Compares two collection items: below zero, zero or above zero.
using TzxItemSortCompare = std::function<Integer(TCollectionItem* Item1, TCollectionItem* Item2)>;

// A collection that sorts its items in place.
class TzxSortCollection : public TCollection {
    ZX_CLASS(TzxSortCollection, TCollection)
public:
    explicit TzxSortCollection(TClass AItemClass) : TCollection(AItemClass) {}
    // Sorts the items L..R (quicksort, the middle item as pivot).
    virtual void QuickSort(Integer L, Integer R, const TzxItemSortCompare& Compare);
    void Sort(const TzxItemSortCompare& Compare);
};

// One string identifier with its text per language (line k - 1: language k).
// The identifier and the texts are kept packed in one block; Values is made
// from them the first time it is asked for and holds the texts from then on.
class TzxStringsCollectionItem : public TCollectionItem {
    ZX_CLASS(TzxStringsCollectionItem, TCollectionItem)
public:
    explicit TzxStringsCollectionItem(TCollection* ACollection);
    ~TzxStringsCollectionItem() override;
    TStringList* Values() { return &MadeValues(); }
    const TStringList* Values() const { return &MadeValues(); }
    // Takes a copy of the lines of Value.
    void SetValues(const TStrings* Value) { MadeValues().Assign(Value); }
    WideString ID() const { return UTF8Decode(IDText()); }
    void SetID(const WideString& Value);
    // The identifier as UTF-8.
    std::string_view IDText() const;
    // Identifier and texts at once, as the table is filled from its lines.
    void SetTexts(std::string_view ID, const std::vector<std::string_view>& Texts);
    // The text of language LangIndex; empty beyond the item's languages.
    AnsiString Text(Integer LangIndex) const;
    WideString WideText(Integer LangIndex) const;

    // The packed block while the texts are there, else nullptr.
    const char* PackedTexts() const { return FValues ? nullptr : FTexts.get(); }

private:
    TStringList& MadeValues() const;
    Integer TextCount() const;

    // The field count, then each field's length and bytes; field 0 is the
    // identifier, field k the text of language k until Values is made.
    mutable std::unique_ptr<char[]> FTexts;
    mutable std::unique_ptr<TStringList> FValues;
};

// A slot of a string table's identifier index: the folded identifier's
// hash, its item's index plus one (0 for an empty slot) and the item's
// packed block while the item keeps its texts there, so that a lookup reads
// that block only.
struct TzxIDSlot {
    std::uint32_t Hash = 0;
    std::uint32_t Item = 0;
    const char* Texts = nullptr;
};

// A string table: one item per string identifier, ordered by identifier
// (SortLanguage 0) or by the text of language SortLanguage, and searched by
// binary search in that order.
class TzxStringsCollection : public TzxSortCollection {
    ZX_CLASS(TzxStringsCollection, TzxSortCollection)
public:
    TzxStringsCollection(TClass AItemClass, TComponent* AOwner);
    TPersistent* GetOwner() const override { return FOwner; }
    TzxStringsCollectionItem* Items(Integer Index) const;
    void SetItems(Integer Index, const TzxStringsCollectionItem* Value) { SetItem(Index, Value); }
    TzxStringsCollectionItem* Add();

    Integer SortLanguage() const { return FSortLanguage; }
    void SetSortLanguage(Integer Value) { FSortLanguage = Value; }
    // By identifier when SortLanguage is 0, else by that language's text.
    void Sort();
    Integer SortByID(TCollectionItem* Item1, TCollectionItem* Item2) const;
    Integer SortByLang(TCollectionItem* Item1, TCollectionItem* Item2) const;

    // Index of the first item with that identifier (case ignored), or -1.
    Integer GetIDIndex(const WideString& ID) const;
    // Index of an item with that identifier by binary search (the table
    // ordered by identifier), or -1.
    Integer FindID(const WideString& ID) const;
    // The index slot of that item, or nullptr: the lookup of program code's
    // texts, answered from the identifier index.
    const TzxIDSlot* FindIndexed(const WideString& ID) const;
    // Language LangIndex of a slot's item; empty beyond its languages.
    WideString SlotText(const TzxIDSlot& Slot, Integer LangIndex) const;
    // Language LangIndex of the identifier's item; empty when there is none.
    WideString GetTranslationByID(const WideString& ID, Integer LangIndex) const;
    // Language LangIndex of the item whose SortLanguage text is Text (the
    // table ordered by that language); Text itself when there is none. In
    // the owner's test mode an empty translation shows language 1 in upper
    // case.
    WideString GetTranslationByLang(const WideString& Text, Integer LangIndex) const;
    // The same, but empty when there is none and without the test-mode rule.
    WideString GetTranslationByLang2(const WideString& Text, Integer LangIndex) const;

protected:
    // Any change of the items or of their order makes the identifier index
    // stale.
    void Update(TCollectionItem* Item) override;

private:
    // Binary search with a neighbour check: CompareAt(M) gives the sign of
    // item M's key against the key looked for; -1 when no item's key equals it.
    template <typename CompareAt> Integer Search(CompareAt compareAt) const;
    Integer FindText(const WideString& Text) const;
    bool OwnerInTestMode() const;
    // Every identifier of the table, case-folded, with the item its binary
    // search finds: program code then finds its texts in one hashed step,
    // with the very answers the search gives. Rebuilt after any change.
    void IndexIDs() const;
    // The slot of an identifier (Key folded, or ASCII in any case), or the
    // empty slot it would take.
    std::size_t SlotOf(const WideString& Key, std::uint32_t Hash) const;
    bool SlotHolds(const TzxIDSlot& Slot, const WideString& Key, std::uint32_t Hash) const;
    const TzxStringsCollectionItem* SlotItem(const TzxIDSlot& Slot) const;

    TComponent* FOwner;
    Integer FSortLanguage = 0;
    // Open addressing, a power of two slots, at most two thirds of them taken.
    mutable std::vector<TzxIDSlot> FIDSlots;
    mutable bool FIndexStale = true;
};
