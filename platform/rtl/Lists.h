// Pointer lists and string lists.
#pragma once

#include "rtl/Persistent.h"

#include <vector>

class TStream;

// ---------------------------------------------------------------------------
// TList: an ordered list of untyped pointers. Index errors raise EListError
// "List index out of bounds (%d)".

using TListSortCompare = std::function<Integer(void* Item1, void* Item2)>;

class TList : public TObject {
    ZX_CLASS(TList, TObject)
public:
    Integer Add(void* Item);
    void Insert(Integer Index, void* Item);
    void Delete(Integer Index);
    // Removes the first occurrence of Item; returns its former index or -1.
    Integer Remove(void* Item);
    // Removes the first occurrence of Item and returns it, or nullptr.
    void* Extract(void* Item);
    void Clear();
    Integer IndexOf(void* Item) const;
    void Exchange(Integer Index1, Integer Index2);
    void Move(Integer CurIndex, Integer NewIndex);
    // Removes every nullptr entry.
    void Pack();
    void Sort(const TListSortCompare& Compare);
    void* First() const;
    void* Last() const;

    Integer Count() const { return static_cast<Integer>(FList.size()); }
    void* Get(Integer Index) const;
    void Put(Integer Index, void* Item);
    void* operator[](Integer Index) const { return Get(Index); }

private:
    void CheckIndex(Integer Index) const;
    std::vector<void*> FList;
};

// ---------------------------------------------------------------------------
// TStrings: the abstract string list with its text forms.

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    ZX_CLASS(TStrings, TPersistent)
public:
    // Storage, provided by descendants.
    virtual AnsiString Get(Integer Index) const = 0;
    virtual Integer GetCount() const = 0;
    virtual void Clear() = 0;
    virtual void Delete(Integer Index) = 0;
    virtual void Insert(Integer Index, const AnsiString& S) = 0;
    virtual void Put(Integer Index, const AnsiString& S);
    virtual TObject* GetObject(Integer Index) const;
    virtual void PutObject(Integer Index, TObject* AObject);

    Integer Count() const { return GetCount(); }
    AnsiString operator[](Integer Index) const { return Get(Index); }
    TObject* Objects(Integer Index) const { return GetObject(Index); }

    virtual Integer Add(const AnsiString& S);
    virtual Integer AddObject(const AnsiString& S, TObject* AObject);
    void Append(const AnsiString& S) { Add(S); }
    virtual void AddStrings(const TStrings& Strings);
    virtual void InsertObject(Integer Index, const AnsiString& S, TObject* AObject);
    virtual void Exchange(Integer Index1, Integer Index2);
    virtual void Move(Integer CurIndex, Integer NewIndex);
    virtual Integer IndexOf(const AnsiString& S) const;
    Integer IndexOfName(const AnsiString& Name) const;
    Integer IndexOfObject(TObject* AObject) const;
    bool Equals(const TStrings& Strings) const;
    void Assign(const TPersistent* Source) override;

    // Batches changes: descendants report a change once, when the
    // outermost EndUpdate runs.
    void BeginUpdate();
    void EndUpdate();

    // "Name=Value" lines.
    AnsiString Names(Integer Index) const;
    AnsiString Values(const AnsiString& Name) const;
    // Setting an empty value deletes the line.
    void SetValue(const AnsiString& Name, const AnsiString& Value);
    AnsiString ValueFromIndex(Integer Index) const;

    // Every line followed by a line break; reading splits at CR, LF and CR LF.
    virtual AnsiString Text() const;
    virtual void SetText(const AnsiString& Value);
    // Items separated by commas; an item with a blank, a control character,
    // a quote or a comma is quoted with '"' and its quotes doubled. Reading
    // also separates items at unquoted blanks.
    AnsiString CommaText() const;
    void SetCommaText(const AnsiString& Value);

    // The whole remaining stream (or file) is the text.
    virtual void LoadFromStream(TStream& Stream);
    virtual void SaveToStream(TStream& Stream) const;
    void LoadFromFile(const AnsiString& FileName);
    // Replaces the file atomically.
    void SaveToFile(const AnsiString& FileName) const;

protected:
    // Compares two items as IndexOf and the name lookups do.
    virtual Integer CompareStrings(const AnsiString& S1, const AnsiString& S2) const;
    virtual void SetUpdateState(bool Updating);
    Integer UpdateCount() const { return FUpdateCount; }
    [[noreturn]] void Error(const AnsiString& Msg, Integer Data) const;

private:
    Integer FUpdateCount = 0;
};

// ---------------------------------------------------------------------------
// TStringList: strings with attached objects, optionally sorted. Items are
// compared with AnsiCompareText, or byte-wise when CaseSensitive.

class TStringList;
using TStringListSortCompare = std::function<Integer(TStringList& List, Integer Index1, Integer Index2)>;

class TStringList : public TStrings {
    ZX_CLASS(TStringList, TStrings)
public:
    AnsiString Get(Integer Index) const override;
    Integer GetCount() const override;
    void Clear() override;
    void Delete(Integer Index) override;
    void Insert(Integer Index, const AnsiString& S) override;
    void InsertObject(Integer Index, const AnsiString& S, TObject* AObject) override;
    void Put(Integer Index, const AnsiString& S) override;
    TObject* GetObject(Integer Index) const override;
    void PutObject(Integer Index, TObject* AObject) override;
    Integer Add(const AnsiString& S) override;
    Integer AddObject(const AnsiString& S, TObject* AObject) override;
    void Exchange(Integer Index1, Integer Index2) override;
    Integer IndexOf(const AnsiString& S) const override;

    // Binary search of a sorted list: True when found, Index the leftmost
    // match or else the insertion point.
    virtual bool Find(const AnsiString& S, Integer& Index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    Integer CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
    void SetUpdateState(bool Updating) override;
    virtual void Changed();
    virtual void Changing();
    // Every insertion, sorted or not, goes through InsertItem (the index is
    // already checked); every reordering (Exchange, sorting) through
    // ExchangeItems, which swaps two items without notifying. Descendants
    // that keep data per item keep it in step here.
    virtual void InsertItem(Integer Index, const AnsiString& S, TObject* AObject);
    virtual void ExchangeItems(Integer Index1, Integer Index2);

private:
    struct TStringItem {
        AnsiString FString;
        TObject* FObject = nullptr;
    };
    void CheckIndex(Integer Index) const;
    // Sorts whether or not the list is Sorted (CustomSort leaves a sorted
    // list alone); a change of CaseSensitive needs it.
    void SortItems(const TStringListSortCompare& Compare);
    static Integer CompareItems(TStringList& List, Integer Index1, Integer Index2);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
};
