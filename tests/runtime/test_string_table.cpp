// String tables: sorting, the binary searches by identifier and by text,
// and the component's table kept in step with its Strings list.
#include "LangTestSupport.h"

#include "clx/Forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using namespace zxtest;

class StringTable : public TLangFormTest<TForm> {
protected:
    void SetStrings(Integer Languages, std::initializer_list<AnsiString> Lines) {
        Lang->SetNumLang(Languages);
        TStringList lines;
        for (const AnsiString& line : Lines)
            lines.Add(line);
        Lang->SetStrings(&lines);
    }
    const TzxStringsCollection& Table() const { return *Lang->StringTable(); }

    std::vector<WideString> IDs() const {
        std::vector<WideString> ids;
        for (Integer index = 0; index < Table().Count(); ++index)
            ids.push_back(Table().Items(index)->ID());
        return ids;
    }
};

TEST_F(StringTable, IsSortedByIdentifierWithOneValuePerLanguage) {
    SetStrings(2, {Line({"ID1", "a", "b"}), Line({"id0", "c", "d"})});
    EXPECT_EQ(IDs(), (std::vector<WideString>{u"id0", u"ID1"}));
    EXPECT_EQ(Table().Items(0)->Values()->Text(), "c\nd\n");
    EXPECT_EQ(Table().Items(1)->Values()->Text(), "a\nb\n");
    EXPECT_EQ(Table().GetTranslationByID(u"id1", 2), u"b");
    EXPECT_EQ(Table().GetTranslationByID(u"ID0", 1), u"c");
}

TEST_F(StringTable, AnEmptyValueKeepsItsLanguagesPlace) {
    SetStrings(3, {Line({"ID", "", "x", ""}), Line({"MID", "m", "", "z"}), "NODELIM"});
    EXPECT_EQ(Table().Items(Table().FindID(u"id"))->Values()->Text(), "\nx\n\n");
    EXPECT_EQ(Table().GetTranslationByID(u"MID", 3), u"z");
    EXPECT_EQ(Table().GetTranslationByID(u"MID", 2), u"");
    EXPECT_EQ(Table().Items(0)->ID(), u"") << "a line without delimiter has no identifier";
    EXPECT_EQ(Table().GetTranslationByID(u"ID", 4), u"") << "beyond the languages";
}

TEST_F(StringTable, MissesAreEmptyAtBothEndsAndInTheMiddle) {
    EXPECT_EQ(Table().GetTranslationByID(u"any", 1), u"") << "empty table";
    SetStrings(1, {Line({"one", "1"})});
    EXPECT_EQ(Table().GetTranslationByID(u"ONE", 1), u"1");
    for (const char16_t* missing : {u"a", u"one0", u"zzz", u"on"})
        EXPECT_EQ(Table().FindID(missing), -1) << UTF8Encode(missing);
    SetStrings(1, {Line({"b", "B"}), Line({"d", "D"})});
    EXPECT_EQ(Table().GetTranslationByID(u"b", 1), u"B");
    EXPECT_EQ(Table().GetTranslationByID(u"d", 1), u"D");
    for (const char16_t* missing : {u"a", u"c", u"e"})
        EXPECT_EQ(Table().GetTranslationByID(missing, 1), u"") << UTF8Encode(missing);
}

TEST_F(StringTable, FindsEveryIdentifierOfALargeShuffledTable) {
    std::vector<AnsiString> ids;
    for (Integer number = 0; number < 997; ++number)
        ids.push_back("Sid" + IntToStr(number * 3));
    std::shuffle(ids.begin(), ids.end(), std::mt19937(7));
    TStringList lines;
    for (const AnsiString& id : ids)
        lines.Add(Line({id, "text of " + id}));
    Lang->SetStrings(&lines);
    for (Integer index = 1; index < Table().Count(); ++index)
        EXPECT_LT(WideCompareText(Table().Items(index - 1)->ID(), Table().Items(index)->ID()), 0);
    for (const AnsiString& id : ids)
        ASSERT_EQ(UTF8Encode(Table().GetTranslationByID(UTF8Decode(LowerCase(id)), 1)),
                  "text of " + id);
    for (Integer number = 0; number < 997; ++number) {
        ASSERT_EQ(Table().FindID(UTF8Decode("Sid" + IntToStr(number * 3 + 1))), -1);
        ASSERT_EQ(Table().GetIDIndex(UTF8Decode("sid" + IntToStr(number * 3 + 2))), -1);
    }
    EXPECT_EQ(Table().Items(Table().GetIDIndex(u"SID42"))->ID(), u"Sid42");
}

// The lookup keeps what it learnt about the table between calls; every way
// of changing the table must reach it.
TEST_F(StringTable, LookupsFollowStringsAddedAndReplaced) {
    SetStrings(2, {Line({"A", "a1", "a2"}), Line({"C", "c1", "c2"})});
    EXPECT_EQ(Lang->GetText(u"a"), u"a1");
    Lang->AddString(u"A", {u"new a1", u"new a2"});
    EXPECT_EQ(Lang->GetText(u"a"), u"new a1") << "values replaced in place";
    Lang->AddString(u"B", {u"b1", u"b2"});
    Lang->SetActLang(2);
    EXPECT_EQ(Lang->GetText(u"b"), u"b2") << "an identifier inserted in the middle";
    EXPECT_EQ(Lang->GetText(u"c"), u"c2");
}

TEST(StringsCollection, SearchesFollowEveryChangeOfTheItems) {
    TzxStringsCollection table(TzxStringsCollectionItem::StaticClass(), nullptr);
    for (const char16_t* id : {u"A", u"C"}) {
        TzxStringsCollectionItem* item = table.Add();
        item->SetID(id);
        item->Values()->Add(UTF8Encode(id) + "1");
    }
    EXPECT_EQ(table.GetTranslationByID(u"c", 1), u"C1");
    table.Items(1)->SetID(u"D");
    EXPECT_EQ(table.FindID(u"c"), -1) << "the old identifier is gone";
    EXPECT_EQ(table.GetTranslationByID(u"d", 1), u"C1");
    table.Items(1)->Values()->Put(0, "changed");
    EXPECT_EQ(table.GetTranslationByID(u"d", 1), u"changed") << "a value edited in place";

    TzxStringsCollectionItem* added = table.Add();
    added->SetID(u"B");
    table.Sort();
    EXPECT_EQ(table.FindID(u"b"), 1);
    EXPECT_EQ(table.FindID(u"d"), 2) << "moved by the sort";
    table.Delete(0);
    EXPECT_EQ(table.FindID(u"a"), -1);
    EXPECT_EQ(table.FindID(u"d"), 1);

    table.BeginUpdate();
    table.Add()->SetID(u"Z");
    EXPECT_EQ(table.FindID(u"z"), 2) << "inside a batch of changes";
    table.EndUpdate();
    EXPECT_EQ(table.FindID(u"z"), 2);
}

TEST_F(StringTable, IdentifiersMatchInAnyCaseBeyondASCII) {
    SetStrings(1, {Line({"\xC3\x84PFEL", "apple"}), Line({"\xF0\x90\x90\x80X", "deseret"}),
                   Line({"Dup", "first"}), Line({"DUP", "second"})});
    EXPECT_EQ(Lang->GetText(u"\u00E4pfel"), u"apple");
    EXPECT_EQ(Lang->GetText(u"\U00010428x"), u"deseret") << "a letter outside the BMP";
    const AnsiString duplicate = UTF8Encode(Lang->GetText(u"dup"));
    EXPECT_TRUE(duplicate == "first" || duplicate == "second") << duplicate;
}

TEST_F(StringTable, KeepsEveryTextThroughLanguageChangesReloadsAndEdits) {
    const AnsiString longText(300, 'x');
    const AnsiString longID = "Id" + AnsiString(200, 'q');
    SetStrings(3, {Line({"Greet", "Hello", "Gr\xC3\xBC\xC3\x9F" "e", ""}), Line({longID, "l1", longText, "l3"})});
    Lang->SetActLang(2);
    EXPECT_EQ(Lang->GetText(u"GREET"), u"Gr\u00FC\u00DFe");
    EXPECT_EQ(UTF8Encode(Lang->GetText(UTF8Decode(UpperCase(longID)))), longText) << "long fields";
    Lang->SetActLang(3);
    EXPECT_EQ(Lang->GetTextOrDefault(u"greet"), u"Hello") << "an empty text keeps its place";
    EXPECT_EQ(Lang->GetText(UTF8Decode(longID)), u"l3");

    SetStrings(3, {Line({"Greet", "Hi", "Hallo", "Salut"})});
    EXPECT_EQ(Lang->GetText(u"greet"), u"Salut") << "reloaded";
    EXPECT_EQ(Lang->GetText(UTF8Decode(longID)), u"") << "the old identifier is gone";

    TzxStringsCollectionItem* item = Lang->StringTable()->Items(0);
    item->SetID(u"Welcome");
    EXPECT_EQ(Lang->GetText(u"WELCOME"), u"Salut") << "a new identifier keeps the texts";
    EXPECT_EQ(item->Values()->Text(), "Hi\nHallo\nSalut\n");
    item->Values()->Put(2, "Bonjour");
    EXPECT_EQ(Lang->GetText(u"welcome"), u"Bonjour") << "edited through Values";
    item->SetID(u"Again");
    EXPECT_EQ(Lang->GetText(u"again"), u"Bonjour");
}

TEST_F(StringTable, FollowsTheStringsListAtRunTimeOnly) {
    SetStrings(1, {Line({"A", "a"})});
    Lang->Strings()->Add(Line({"B", "b"}));
    EXPECT_EQ(Table().Count(), 1) << "editing the list directly waits for the next rebuild";
    Lang->UpdateStrCollections();
    EXPECT_EQ(Table().GetTranslationByID(u"B", 1), u"b");
    Lang->SetNumLang(2);
    EXPECT_EQ(Table().Items(0)->Values()->Count(), 2);

    Form->SetDesigning(true);
    Lang->Strings()->Clear();
    Lang->UpdateStrCollections();
    EXPECT_EQ(Table().Count(), 2) << "at design time the table is left as it is";
}

TEST_F(StringTable, SortsByTheTextOfOneLanguageAndSearchesByText) {
    SetStrings(2, {Line({"S1", "Yes", "Ja"}), Line({"S2", "no", ""}), Line({"S3", "Cancel", "Abbrechen"})});
    TzxStringsCollection table(TzxStringsCollectionItem::StaticClass(), Lang);
    Lang->LoadStringsColl(table, 1);
    EXPECT_EQ(table.SortLanguage(), 1);
    ASSERT_EQ(table.Count(), 3);
    EXPECT_EQ(table.Items(0)->ID(), u"S3");
    EXPECT_EQ(table.Items(1)->ID(), u"S2");
    EXPECT_EQ(table.Items(2)->ID(), u"S1");
    EXPECT_EQ(table.GetTranslationByLang(u"yes", 2), u"Ja");
    EXPECT_EQ(table.GetTranslationByLang(u"Maybe", 2), u"Maybe");
    EXPECT_EQ(table.GetTranslationByLang(u"No", 2), u"");
    EXPECT_EQ(table.GetTranslationByLang2(u"Maybe", 2), u"");
    EXPECT_EQ(table.GetTranslationByLang2(u"CANCEL", 2), u"Abbrechen");
    EXPECT_EQ(table.SortByLang(table.Items(0), table.Items(2)), -1);
    table.SetSortLanguage(0);
    EXPECT_EQ(table.SortByLang(table.Items(0), table.Items(2)), 0);
    table.Sort();
    EXPECT_EQ(table.Items(0)->ID(), u"S1");
    EXPECT_EQ(table.GetOwner(), Lang);
}

TEST(SortCollection, QuickSortOrdersAnyRangeByTheCompareGiven) {
    TzxStringsCollection table(TzxStringsCollectionItem::StaticClass(), nullptr);
    table.Sort();
    const char16_t* ids[] = {u"e", u"b", u"a", u"d", u"c", u"b"};
    for (const char16_t* id : ids)
        table.Add()->SetID(id);
    auto descending = [](TCollectionItem* Item1, TCollectionItem* Item2) {
        return -WideCompareStr(static_cast<TzxStringsCollectionItem*>(Item1)->ID(),
                               static_cast<TzxStringsCollectionItem*>(Item2)->ID());
    };
    table.QuickSort(1, 4, descending);
    std::u16string order;
    for (Integer index = 0; index < table.Count(); ++index)
        order += table.Items(index)->ID();
    EXPECT_EQ(order, u"edcbab");
    table.TzxSortCollection::Sort(descending);
    order.clear();
    for (Integer index = 0; index < table.Count(); ++index)
        order += table.Items(index)->ID();
    EXPECT_EQ(order, u"edcbba");
}

TEST(SortCollection, ItemsTakeCopiesOfTheirValues) {
    TzxStringsCollection table(TzxStringsCollectionItem::StaticClass(), nullptr);
    TzxStringsCollectionItem* item = table.Add();
    TStringList values;
    values.SetText("one\ntwo\n");
    item->SetValues(&values);
    values.Clear();
    EXPECT_EQ(item->Values()->Text(), "one\ntwo\n");
    EXPECT_EQ(item->Text(2), "two");
    EXPECT_EQ(item->Text(0), "");
    EXPECT_EQ(item->Text(3), "");
}

} // namespace
