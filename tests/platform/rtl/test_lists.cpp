#include "rtl/Classes.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

template <typename Body> AnsiString ListErrorMessage(Body&& Run) {
    return zxtest::MessageOf<EListError>(Run);
}

class TListTest : public ::testing::Test {
protected:
    int a = 1, b = 2, c = 3, d = 4;

    std::vector<void*> Items(const TList& List) {
        std::vector<void*> items;
        for (Integer i = 0; i < List.Count(); ++i)
            items.push_back(List[i]);
        return items;
    }
};

} // namespace

TEST_F(TListTest, AddInsertDeleteKeepOrder) {
    TList list;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&c), 1);
    list.Insert(1, &b);
    list.Insert(3, &d);
    EXPECT_EQ(Items(list), (std::vector<void*>{&a, &b, &c, &d}));
    list.Delete(0);
    list.Put(2, &a);
    EXPECT_EQ(Items(list), (std::vector<void*>{&b, &c, &a}));
    EXPECT_EQ(list.First(), &b);
    EXPECT_EQ(list.Last(), &a);
    EXPECT_EQ(list.IndexOf(&c), 1);
    EXPECT_EQ(list.IndexOf(&d), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(TListTest, IndexErrorsNameTheIndex) {
    TList list;
    list.Add(&a);
    EXPECT_EQ(ListErrorMessage([&] { list.Get(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ListErrorMessage([&] { list.Get(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ListErrorMessage([&] { list.Insert(2, &b); }), "List index out of bounds (2)");
    EXPECT_EQ(ListErrorMessage([&] { list.Delete(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ListErrorMessage([&] { list.Put(3, &b); }), "List index out of bounds (3)");
    EXPECT_EQ(ListErrorMessage([&] { list.Exchange(0, 5); }), "List index out of bounds (5)");
    list.Clear();
    EXPECT_EQ(ListErrorMessage([&] { list.First(); }), "List index out of bounds (0)");
    EXPECT_EQ(ListErrorMessage([&] { list.Last(); }), "List index out of bounds (-1)");
}

TEST_F(TListTest, RemoveAndExtractTakeTheFirstOccurrence) {
    TList list;
    for (void* item : {&a, &b, &a})
        list.Add(item);
    EXPECT_EQ(list.Remove(&a), 0);
    EXPECT_EQ(Items(list), (std::vector<void*>{&b, &a}));
    EXPECT_EQ(list.Remove(&c), -1);
    EXPECT_EQ(list.Extract(&a), &a);
    EXPECT_EQ(list.Extract(&a), nullptr);
    EXPECT_EQ(Items(list), (std::vector<void*>{&b}));
}

TEST_F(TListTest, MoveExchangeAndPack) {
    TList list;
    for (void* item : {&a, &b, &c})
        list.Add(item);
    list.Move(0, 2);
    EXPECT_EQ(Items(list), (std::vector<void*>{&b, &c, &a}));
    list.Move(2, 0);
    EXPECT_EQ(Items(list), (std::vector<void*>{&a, &b, &c}));
    EXPECT_EQ(ListErrorMessage([&] { list.Move(0, 3); }), "List index out of bounds (3)");
    EXPECT_EQ(ListErrorMessage([&] { list.Move(4, 1); }), "List index out of bounds (4)");
    EXPECT_EQ(Items(list), (std::vector<void*>{&a, &b, &c}));
    list.Exchange(0, 2);
    EXPECT_EQ(Items(list), (std::vector<void*>{&c, &b, &a}));

    list.Insert(0, nullptr);
    list.Insert(2, nullptr);
    list.Add(nullptr);
    list.Pack();
    EXPECT_EQ(Items(list), (std::vector<void*>{&c, &b, &a}));
}

TEST_F(TListTest, SortIsStable) {
    // Enough entries that a sort could not get away with insertion sorting.
    struct Entry {
        int Key;
        int Order;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < 60; ++i)
        entries.push_back({(i * 7) % 3, i});
    TList list;
    for (Entry& entry : entries)
        list.Add(&entry);
    list.Sort([](void* Item1, void* Item2) {
        return static_cast<Entry*>(Item1)->Key - static_cast<Entry*>(Item2)->Key;
    });
    for (Integer i = 1; i < list.Count(); ++i) {
        auto* previous = static_cast<Entry*>(list[i - 1]);
        auto* current = static_cast<Entry*>(list[i]);
        ASSERT_LE(previous->Key, current->Key);
        if (previous->Key == current->Key) {
            ASSERT_LT(previous->Order, current->Order) << "at " << i;
        }
    }
}

// ---------------------------------------------------------------------------
// The behaviour TStrings gives a descendant that provides only storage.

namespace {

class TPlainStrings : public TStrings {
    ZX_CLASS(TPlainStrings, TStrings)
public:
    AnsiString Get(Integer Index) const override { return Items.at(Index); }
    Integer GetCount() const override { return static_cast<Integer>(Items.size()); }
    void Clear() override { Items.clear(); }
    void Delete(Integer Index) override {
        if (Index < 0 || Index >= GetCount())
            Error("List index out of bounds (%d)", Index);
        Items.erase(Items.begin() + Index);
    }
    void Insert(Integer Index, const AnsiString& S) override {
        if (Index < 0 || Index > GetCount())
            Error("List index out of bounds (%d)", Index);
        Items.insert(Items.begin() + Index, S);
    }

    std::vector<AnsiString> Items;
    std::vector<bool> UpdateStates;

protected:
    void SetUpdateState(bool Updating) override { UpdateStates.push_back(Updating); }
};

} // namespace

TEST(TStringsBase, StorageDefaultsWithoutObjects) {
    TPlainStrings strings;
    TObject object;
    EXPECT_EQ(strings.Add("one"), 0);
    EXPECT_EQ(strings.AddObject("two", &object), 1);
    strings.InsertObject(0, "zero", &object);
    EXPECT_EQ(strings.Items, (std::vector<AnsiString>{"zero", "one", "two"}));
    EXPECT_EQ(strings.Objects(0), nullptr);
    EXPECT_EQ(strings.IndexOfObject(&object), -1);
    EXPECT_EQ(strings.IndexOfObject(nullptr), 0);

    strings.Put(1, "ONE");
    strings.Exchange(0, 2);
    EXPECT_EQ(strings.Items, (std::vector<AnsiString>{"two", "ONE", "zero"}));
    strings.Move(0, 2);
    EXPECT_EQ(strings.Items, (std::vector<AnsiString>{"ONE", "zero", "two"}));
    strings.Move(2, 0);
    EXPECT_EQ(strings.Items, (std::vector<AnsiString>{"two", "ONE", "zero"}));
    EXPECT_THROW(strings.Move(0, 3), EListError);
    EXPECT_EQ(strings.Items, (std::vector<AnsiString>{"two", "ONE", "zero"}));
}

TEST(TStringsBase, SearchesIgnoreCaseButEqualsComparesBytes) {
    TPlainStrings strings;
    strings.Items = {"Alpha", "beta", "Gamma"};
    EXPECT_EQ(strings.IndexOf("BETA"), 1);
    EXPECT_EQ(strings.IndexOf("delta"), -1);

    TPlainStrings other;
    other.Items = {"Alpha", "beta", "Gamma"};
    EXPECT_TRUE(strings.Equals(other));
    other.Items[2] = "gamma";
    EXPECT_FALSE(strings.Equals(other));
    other.Items = {"Alpha", "beta"};
    EXPECT_FALSE(strings.Equals(other));
}

TEST(TStringsBase, UpdateStateChangesOnlyAtTheOutermostPair) {
    TPlainStrings strings;
    strings.BeginUpdate();
    strings.BeginUpdate();
    strings.EndUpdate();
    EXPECT_EQ(strings.UpdateStates, (std::vector<bool>{true}));
    strings.EndUpdate();
    EXPECT_EQ(strings.UpdateStates, (std::vector<bool>{true, false}));
    strings.EndUpdate();
    strings.BeginUpdate();
    EXPECT_EQ(strings.UpdateStates, (std::vector<bool>{true, false, true}));
}

TEST(TStringsBase, TextFormsBatchTheirChanges) {
    TPlainStrings strings;
    strings.SetText("a\nb\n");
    strings.SetCommaText("c,d");
    strings.AddStrings(strings);
    EXPECT_EQ(strings.Items, (std::vector<AnsiString>{"c", "d", "c", "d"}));
    EXPECT_EQ(strings.UpdateStates, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST(TStringsBase, AssignCopiesStringsAndRejectsOtherClasses) {
    TPlainStrings source, target;
    source.Items = {"x", "y"};
    target.Items = {"old"};
    target.Assign(&source);
    EXPECT_EQ(target.Items, source.Items);
    target.Assign(&target);
    EXPECT_EQ(target.Items, source.Items);

    TPersistent notAList;
    try {
        target.Assign(&notAList);
        FAIL() << "assigning a TPersistent to a string list must raise";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TPlainStrings");
    }
}

TEST(TStringsBase, NameValueLines) {
    TPlainStrings strings;
    strings.Items = {"plain", "Key=first", "key=second", "empty=", "expr=a=b"};
    EXPECT_EQ(strings.IndexOfName("KEY"), 1);
    EXPECT_EQ(strings.IndexOfName("plain"), -1);
    EXPECT_EQ(strings.Names(0), "");
    EXPECT_EQ(strings.Names(2), "key");
    EXPECT_EQ(strings.Values("key"), "first");
    EXPECT_EQ(strings.Values("expr"), "a=b");
    EXPECT_EQ(strings.Values("empty"), "");
    EXPECT_EQ(strings.Values("missing"), "");
    EXPECT_EQ(strings.ValueFromIndex(4), "a=b");
    EXPECT_EQ(strings.ValueFromIndex(0), "");
    EXPECT_EQ(strings.ValueFromIndex(-1), "");

    strings.SetValue("KEY", "third");
    strings.SetValue("new", "value");
    strings.SetValue("expr", "");
    strings.SetValue("absent", "");
    EXPECT_EQ(strings.Items,
              (std::vector<AnsiString>{"plain", "KEY=third", "key=second", "empty=", "new=value"}));
}
