#include "rtl/Classes.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

using Lines = std::vector<AnsiString>;

Lines Items(const TStrings& Strings) {
    Lines items;
    for (Integer i = 0; i < Strings.Count(); ++i)
        items.push_back(Strings[i]);
    return items;
}

void Fill(TStrings& Strings, const Lines& Items) {
    for (const AnsiString& item : Items)
        Strings.Add(item);
}

template <typename Body> AnsiString ListErrorMessage(Body&& Run) {
    return zxtest::MessageOf<EListError>(Run);
}

// Every kind of byte a line may hold: markers, tab, NUL, 0xFF, UTF-8.
const Lines AwkwardItems = {"plain",
                            "two words",
                            "say \"hi\"",
                            "x,y",
                            "",
                            AnsiString("\x01marked\x01"),
                            "tab\there",
                            AnsiString("nul\0inside", 10),
                            AnsiString("\xFF\x19\x1A\x1D\x1E"),
                            "\xC3\xA4\xC3\xB6\xE2\x82\xAC",
                            " edges "};

} // namespace

// ---------------------------------------------------------------------------
// Text

TEST(StringListText, SplitsAtEveryKindOfLineBreak) {
    const std::pair<AnsiString, Lines> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\n\n", {"a", ""}},
        {"\n", {""}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
    };
    for (const auto& [text, expected] : cases) {
        TStringList list;
        list.Add("stale");
        list.SetText(text);
        EXPECT_EQ(Items(list), expected) << "text: " << testing::PrintToString(text);
    }
}

TEST(StringListText, EndsEveryLineWithALineBreak) {
    TStringList list;
    EXPECT_EQ(list.Text(), "");
    Fill(list, {"a", "", "b"});
    EXPECT_EQ(list.Text(), "a\n\nb\n");
}

TEST(StringListText, RoundTripKeepsEveryByte) {
    TStringList list, copy;
    Fill(list, AwkwardItems);
    copy.SetText(list.Text());
    EXPECT_EQ(Items(copy), AwkwardItems);
}

// ---------------------------------------------------------------------------
// CommaText

TEST(StringListCommaText, QuotesOnlyWhatNeedsIt) {
    const std::pair<Lines, AnsiString> cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"", ""}, ","},
        {{"a", ""}, "a,"},
        {{"", "a"}, ",a"},
        {{"a", "b"}, "a,b"},
        {{" "}, "\" \""},
        {{"\xC3\xA4\xC3\xB6"}, "\xC3\xA4\xC3\xB6"},
        {{"a=b", "semi;colon", "it's"}, "a=b,semi;colon,it's"},
        {AwkwardItems, "plain,\"two words\",\"say \"\"hi\"\"\",\"x,y\",,\"\x01marked\x01\","
                       "\"tab\there\",\"" +
                           AnsiString("nul\0inside", 10) +
                           "\",\"\xFF\x19\x1A\x1D\x1E\",\xC3\xA4\xC3\xB6\xE2\x82\xAC,\" edges \""},
    };
    for (const auto& [items, expected] : cases) {
        TStringList list;
        Fill(list, items);
        EXPECT_EQ(list.CommaText(), expected);
    }
}

TEST(StringListCommaText, ReadsItemsSeparatedByCommasAndBlanks) {
    const std::pair<AnsiString, Lines> cases[] = {
        {"", {}},
        {"  \t ", {}},
        {"\"\"", {""}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"a ,", {"a", ""}},
        {"a, ", {"a"}},
        {",", {"", ""}},
        {"a b", {"a", "b"}},
        {"  a , b  ", {"a", "b"}},
        {"\"a b\",c", {"a b", "c"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"x,y\"z", {"x,y", "z"}},
        {"\"open, end", {"open, end"}},
        {AnsiString("\"a\0b\",c", 7), {AnsiString("a\0b", 3), "c"}},
        {"a\r\nb", {"a", "b"}},
        {"\x01"
         "a\x1F"
         "b",
         {"a", "b"}},
        {AnsiString("a\0b,c", 5), {"a"}},
    };
    for (const auto& [text, expected] : cases) {
        TStringList list;
        list.Add("stale");
        list.SetCommaText(text);
        EXPECT_EQ(Items(list), expected) << "text: " << testing::PrintToString(text);
    }
}

TEST(StringListCommaText, RoundTrips) {
    const Lines cases[] = {
        AwkwardItems,
        {""},
        {"", ""},
        {"", "", ""},
        {"a", ""},
        {"", "a"},
        {"line\r\nbreak", "\"", "\"\"", ",", " , "},
    };
    for (const Lines& items : cases) {
        TStringList list, copy;
        Fill(list, items);
        copy.SetCommaText(list.CommaText());
        EXPECT_EQ(Items(copy), items) << "comma text: " << testing::PrintToString(list.CommaText());
    }
}

// ---------------------------------------------------------------------------
// Sorted lists

TEST(SortedStringList, DupIgnoreKeepsTheFirst) {
    TStringList list;
    list.SetSorted(true);
    TObject first, second;
    EXPECT_EQ(list.AddObject("m", &first), 0);
    EXPECT_EQ(list.Add("z"), 1);
    EXPECT_EQ(list.Add("a"), 0);
    EXPECT_EQ(list.AddObject("M", &second), 1);
    EXPECT_EQ(Items(list), (Lines{"a", "m", "z"}));
    EXPECT_EQ(list.Objects(1), &first);
}

TEST(SortedStringList, DupErrorRaisesAndLeavesTheList) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupError);
    Fill(list, {"b", "a"});
    EXPECT_EQ(ListErrorMessage([&] { list.Add("B"); }), "String list does not allow duplicates");
    EXPECT_EQ(Items(list), (Lines{"a", "b"}));
}

TEST(SortedStringList, DupAcceptInsertsBeforeEqualItems) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    TObject first, second, third;
    Fill(list, {"a", "z"});
    EXPECT_EQ(list.AddObject("k", &first), 1);
    EXPECT_EQ(list.AddObject("K", &second), 1);
    EXPECT_EQ(list.AddObject("k", &third), 1);
    EXPECT_EQ(Items(list), (Lines{"a", "k", "K", "k", "z"}));
    EXPECT_EQ(list.Objects(1), &third);
    EXPECT_EQ(list.Objects(2), &second);
    EXPECT_EQ(list.Objects(3), &first);
}

TEST(SortedStringList, FindReturnsTheLeftmostMatchOrTheInsertionPoint) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    Fill(list, {"c", "b", "b", "a", "b", "b"});
    ASSERT_EQ(Items(list), (Lines{"a", "b", "b", "b", "b", "c"}));
    Integer index = -1;
    EXPECT_TRUE(list.Find("B", index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(list.IndexOf("b"), 1);
    EXPECT_FALSE(list.Find("bb", index));
    EXPECT_EQ(index, 5);
    EXPECT_FALSE(list.Find("0", index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(list.Find("d", index));
    EXPECT_EQ(index, 6);
    EXPECT_EQ(list.IndexOf("d"), -1);
}

TEST(SortedStringList, ForbidsPositionalChanges) {
    TStringList list;
    Fill(list, {"b", "a=0"});
    list.SetSorted(true);
    const AnsiString message = "Operation not allowed on sorted string list";
    EXPECT_EQ(ListErrorMessage([&] { list.Insert(0, "x"); }), message);
    EXPECT_EQ(ListErrorMessage([&] { list.InsertObject(0, "x", nullptr); }), message);
    EXPECT_EQ(ListErrorMessage([&] { list.Put(0, "x"); }), message);
    EXPECT_EQ(ListErrorMessage([&] { list.SetValue("a", "1"); }), message);
    TObject object;
    list.PutObject(0, &object);
    list.Exchange(0, 1);
    EXPECT_EQ(Items(list), (Lines{"b", "a=0"}));
    EXPECT_EQ(list.Objects(1), &object);
}

TEST(SortedStringList, SortingIsStableAndKeepsObjects) {
    TStringList list;
    TObject upper, lower, other;
    list.AddObject("b", &lower);
    list.AddObject("c", &other);
    list.AddObject("B", &upper);
    list.AddObject("a", nullptr);
    list.SetSorted(true);
    EXPECT_EQ(Items(list), (Lines{"a", "b", "B", "c"}));
    EXPECT_EQ(list.Objects(1), &lower);
    EXPECT_EQ(list.Objects(2), &upper);
    EXPECT_EQ(list.Objects(3), &other);
}

TEST(SortedStringList, EqualItemsKeepTheirOrderInLongLists) {
    TStringList list;
    TObject objects[60];
    const char* spellings[] = {"key", "KEY", "Key", "kEy", "other"};
    for (int i = 0; i < 60; ++i)
        list.AddObject(spellings[(i * 7) % 5], &objects[i]);
    list.SetSorted(true);
    for (Integer i = 1; i < list.Count(); ++i) {
        ASSERT_LE(AnsiCompareText(list[i - 1], list[i]), 0);
        if (AnsiSameText(list[i - 1], list[i])) {
            ASSERT_LT(list.Objects(i - 1), list.Objects(i)) << "at " << i;
        }
    }
}

TEST(SortedStringList, CaseInsensitiveOrderFoldsBeyondAscii) {
    TStringList list;
    list.SetSorted(true);
    Fill(list, {"z", "\xC3\xA4", "a", "\xC3\x84", "Z"});
    EXPECT_EQ(Items(list), (Lines{"a", "z", "\xC3\xA4"}));
    EXPECT_EQ(list.IndexOf("\xC3\x84"), 2);

    TStringList unsorted;
    Fill(unsorted, {"x", "\xC3\xA4"});
    EXPECT_EQ(unsorted.IndexOf("\xC3\x84"), 1);
    unsorted.SetCaseSensitive(true);
    EXPECT_EQ(unsorted.IndexOf("\xC3\x84"), -1);
}

TEST(SortedStringList, SwitchingCaseSensitivityResorts) {
    TStringList list;
    list.SetDuplicates(dupAccept);
    Fill(list, {"b", "B", "a", "A"});
    list.SetSorted(true);
    list.SetCaseSensitive(true);
    EXPECT_EQ(Items(list), (Lines{"A", "B", "a", "b"}));
    EXPECT_EQ(list.IndexOf("a"), 2);
    EXPECT_EQ(list.IndexOf("C"), -1);
    list.Add("C");
    EXPECT_EQ(list.IndexOf("C"), 2);
    list.SetCaseSensitive(false);
    EXPECT_EQ(Items(list), (Lines{"A", "a", "B", "b", "C"}));
    EXPECT_EQ(list.IndexOf("c"), 4);
}

TEST(StringListSorting, CustomSortOrdersUnsortedListsOnly) {
    TStringList list;
    TObject longest;
    Fill(list, {"ccc", "a", "bb", "dd"});
    list.PutObject(0, &longest);
    list.CustomSort([](TStringList& List, Integer Index1, Integer Index2) {
        return static_cast<Integer>(List[Index2].size()) -
               static_cast<Integer>(List[Index1].size());
    });
    EXPECT_EQ(Items(list), (Lines{"ccc", "bb", "dd", "a"}));
    EXPECT_EQ(list.Objects(0), &longest);

    list.SetSorted(true);
    list.CustomSort([](TStringList&, Integer Index1, Integer Index2) { return Index2 - Index1; });
    EXPECT_EQ(Items(list), (Lines{"a", "bb", "ccc", "dd"}));
}

// A list that keeps a tag per item through the protected hooks, as a
// control's item list keeps per-item state.
class TTaggedStringList : public TStringList {
public:
    std::vector<AnsiString> Tags;

protected:
    void InsertItem(Integer Index, const AnsiString& S, TObject* AObject) override {
        Tags.insert(Tags.begin() + Index, "tag of " + S);
        TStringList::InsertItem(Index, S, AObject);
    }
    void ExchangeItems(Integer Index1, Integer Index2) override {
        std::swap(Tags[Index1], Tags[Index2]);
        TStringList::ExchangeItems(Index1, Index2);
    }
};

std::vector<AnsiString> TagsExpectedFor(const TStrings& Strings) {
    std::vector<AnsiString> tags;
    for (const AnsiString& item : Items(Strings))
        tags.push_back("tag of " + item);
    return tags;
}

TEST(StringListSorting, EveryReorderingGoesThroughExchangeItems) {
    TTaggedStringList list;
    Fill(list, {"m", "c", "x", "a", "q", "b", "z", "k", "e", "y", "d"});
    list.Exchange(0, 10);
    EXPECT_EQ(list.Tags, TagsExpectedFor(list));
    list.CustomSort([](TStringList& List, Integer Index1, Integer Index2) {
        return AnsiCompareStr(List[Index2], List[Index1]);
    });
    EXPECT_EQ(Items(list), (Lines{"z", "y", "x", "q", "m", "k", "e", "d", "c", "b", "a"}));
    EXPECT_EQ(list.Tags, TagsExpectedFor(list));
    list.SetSorted(true);
    list.Add("n");
    EXPECT_EQ(list[7], "n");
    EXPECT_EQ(list.Tags, TagsExpectedFor(list));
    list.SetCaseSensitive(true);
    list.Add("B");
    list.SetCaseSensitive(false);
    EXPECT_EQ(list.Tags, TagsExpectedFor(list));
}

// ---------------------------------------------------------------------------
// Unsorted lists

TEST(StringList, IndexErrorsNameTheIndex) {
    TStringList list;
    Fill(list, {"a", "b"});
    EXPECT_EQ(ListErrorMessage([&] { list.Get(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ListErrorMessage([&] { list.Objects(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ListErrorMessage([&] { list.Put(5, "x"); }), "List index out of bounds (5)");
    EXPECT_EQ(ListErrorMessage([&] { list.PutObject(2, nullptr); }),
              "List index out of bounds (2)");
    EXPECT_EQ(ListErrorMessage([&] { list.Delete(-3); }), "List index out of bounds (-3)");
    EXPECT_EQ(ListErrorMessage([&] { list.Insert(3, "x"); }), "List index out of bounds (3)");
    EXPECT_EQ(ListErrorMessage([&] { list.Exchange(0, 2); }), "List index out of bounds (2)");
    list.Insert(2, "c");
    EXPECT_EQ(Items(list), (Lines{"a", "b", "c"}));
}

TEST(StringList, MoveAndExchangeCarryObjects) {
    TStringList list;
    TObject objectA, objectC;
    list.AddObject("a", &objectA);
    list.Add("b");
    list.AddObject("c", &objectC);
    list.Move(0, 2);
    EXPECT_EQ(Items(list), (Lines{"b", "c", "a"}));
    EXPECT_EQ(list.Objects(2), &objectA);
    EXPECT_EQ(list.IndexOfObject(&objectC), 1);
    list.Exchange(0, 1);
    EXPECT_EQ(Items(list), (Lines{"c", "b", "a"}));
    EXPECT_EQ(list.Objects(0), &objectC);
    EXPECT_EQ(list.Objects(1), nullptr);
    list.Put(0, "C");
    EXPECT_EQ(list.Objects(0), &objectC);
}

TEST(StringList, AssignAndAddStringsCopyObjects) {
    TStringList source, target;
    TObject object;
    source.AddObject("one", &object);
    source.Add("two");
    target.Add("old");
    target.Assign(&source);
    EXPECT_EQ(Items(target), (Lines{"one", "two"}));
    EXPECT_EQ(target.Objects(0), &object);
    target.AddStrings(source);
    EXPECT_EQ(target.IndexOfObject(&object), 0);
    EXPECT_EQ(target.Objects(2), &object);
    EXPECT_TRUE(source.Equals(source));
    EXPECT_FALSE(source.Equals(target));
}

TEST(StringList, NameValueLines) {
    TStringList list;
    list.SetText("Language=English\nplain\nempty=\nsize=10\n");
    EXPECT_EQ(list.Values("LANGUAGE"), "English");
    EXPECT_EQ(list.Names(3), "size");
    EXPECT_EQ(list.ValueFromIndex(3), "10");
    list.SetValue("size", "12");
    list.SetValue("Font", "Sans");
    list.SetValue("language", "");
    EXPECT_EQ(list.Text(), "plain\nempty=\nsize=12\nFont=Sans\n");
}

// ---------------------------------------------------------------------------
// Change notification

namespace {

struct TChangeCounter {
    int Changing = 0;
    int Changed = 0;

    void Watch(TStringList& List) {
        List.OnChanging = [this, &List](TObject* Sender) {
            EXPECT_EQ(Sender, &List);
            ++Changing;
        };
        List.OnChange = [this, &List](TObject* Sender) {
            EXPECT_EQ(Sender, &List);
            ++Changed;
        };
    }
};

} // namespace

TEST(StringListEvents, EachChangeFiresOncePerOperation) {
    TStringList list;
    TChangeCounter counter;
    counter.Watch(list);
    list.Clear();
    EXPECT_EQ(counter.Changed, 0);
    list.Add("b");
    list.Add("a");
    list.Insert(0, "c");
    list.Put(0, "d");
    list.PutObject(0, nullptr);
    list.Exchange(0, 1);
    list.Delete(2);
    list.Sort();
    list.Clear();
    EXPECT_EQ(counter.Changing, 9);
    EXPECT_EQ(counter.Changed, 9);
}

TEST(StringListEvents, UpdatesBatchChangesIntoOne) {
    TStringList list;
    TChangeCounter counter;
    counter.Watch(list);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("a");
    list.EndUpdate();
    list.Add("b");
    EXPECT_EQ(counter.Changing, 1);
    EXPECT_EQ(counter.Changed, 0);
    list.EndUpdate();
    EXPECT_EQ(counter.Changed, 1);

    list.SetText("x\ny\nz\n");
    list.SetCommaText("p,q");
    list.Move(0, 1);
    EXPECT_EQ(counter.Changing, 4);
    EXPECT_EQ(counter.Changed, 4);
}

TEST(StringListEvents, ChangeHandlerSeesTheNewState) {
    TStringList list;
    Lines seen;
    list.OnChange = [&](TObject*) { seen.push_back(list.CommaText()); };
    list.Add("a");
    list.SetCommaText("b,c");
    EXPECT_EQ(seen, (Lines{"a", "b,c"}));
}

// ---------------------------------------------------------------------------
// Streams and files

TEST(StringListStreams, LoadReadsFromThePositionToTheEnd) {
    TStringStream stream("skip\nrest\r\nmore");
    stream.SetPosition(5);
    TStringList list;
    list.LoadFromStream(stream);
    EXPECT_EQ(Items(list), (Lines{"rest", "more"}));

    TStringStream output("head:");
    output.Seek(0, soEnd);
    list.SaveToStream(output);
    EXPECT_EQ(output.DataString(), "head:rest\nmore\n");
}

namespace {

class StringListFiles : public ::testing::Test {
protected:
    AnsiString PathOf(const char* Name) const { return Temp.File(Name); }

    static AnsiString ReadBytes(const AnsiString& FileName) {
        std::ifstream file(FileName, std::ios::binary);
        return AnsiString(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    zxtest::TTempDir Temp;
};

} // namespace

TEST_F(StringListFiles, SaveAndLoadRoundTrip) {
    TStringList list, loaded;
    Fill(list, AwkwardItems);
    AnsiString fileName = PathOf("lines.txt");
    list.SaveToFile(fileName);
    EXPECT_EQ(ReadBytes(fileName), list.Text());
    loaded.Add("stale");
    loaded.LoadFromFile(fileName);
    EXPECT_EQ(Items(loaded), AwkwardItems);

    TStringList shorter;
    shorter.Add("only");
    shorter.SaveToFile(fileName);
    EXPECT_EQ(ReadBytes(fileName), "only\n");
}

TEST_F(StringListFiles, LoadsWindowsLineBreaksAndReportsMissingFiles) {
    AnsiString fileName = PathOf("crlf.txt");
    std::ofstream(fileName, std::ios::binary) << "a=1\r\nb=2\r\n";
    TStringList list;
    list.LoadFromFile(fileName);
    EXPECT_EQ(Items(list), (Lines{"a=1", "b=2"}));
    EXPECT_THROW(list.LoadFromFile(PathOf("missing.txt")), EFOpenError);
    EXPECT_EQ(Items(list), (Lines{"a=1", "b=2"}));
}
