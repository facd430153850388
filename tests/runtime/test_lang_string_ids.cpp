// String identifiers of the translation component: adding, replacing,
// deleting and finding the lines of its Strings list, and finding its
// lists by kind name.
#include "LangTestSupport.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

class TIdForm : public TForm {
    ZX_CLASS(TIdForm, TForm)
public:
    explicit TIdForm(TComponent* AOwner) : TForm(AOwner) {}
};

class StringIds : public TLangFormTest<TIdForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        Lang->SetNumLang(4);
    }
};

TEST_F(StringIds, AddStringFillsMissingLanguagesWithEmptyValues) {
    Lang->AddString(u"SHello", {u"Hello", u"Hallo"});
    ASSERT_EQ(Lang->Strings()->Count(), 1);
    EXPECT_EQ(Lang->Strings()->Get(0), Line({"SHello", "Hello", "Hallo", "", ""}));
}

TEST_F(StringIds, AddStringKeepsSurplusTexts) {
    Lang->SetNumLang(1);
    Lang->AddString(u"SBye", {u"Bye", u"Tschuess"});
    EXPECT_EQ(Lang->Strings()->Get(0), Line({"SBye", "Bye", "Tschuess"}));
}

TEST_F(StringIds, AddStringAgainReplacesTheLineWhateverTheCaseOfTheIdentifier) {
    Lang->AddString(u"SFirst", {u"one"});
    Lang->AddString(u"SHello", {u"Hello"});
    Lang->AddString(u"SHELLO", {u"Hi", u"Servus"});
    ASSERT_EQ(Lang->Strings()->Count(), 2);
    EXPECT_EQ(Lang->Strings()->Get(0), Line({"SFirst", "one", "", "", ""}));
    EXPECT_EQ(Lang->Strings()->Get(1), Line({"SHELLO", "Hi", "Servus", "", ""}))
        << "the new line goes to the end";
}

TEST_F(StringIds, AddStringRefusesIdentifiersAndTextsThatWouldBreakTheLine) {
    Lang->AddString(u"SKeep", {u"kept"});
    for (const WideString& id : {WideString(u""), WideString(u"A=B"), WideString(u"A\nB"),
                                 WideString(u"A\rB"), WideString(u"A\u0001B")})
        EXPECT_THROW(Lang->AddString(id, {u"x"}), ELanguageError) << UTF8Encode(id);
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Lang->AddString(u"S2", {u"a\u0001b"}); }),
              "The text of string identifier \"S2\" holds the delimiter!");
    EXPECT_EQ(Lang->Strings()->Text(), Line({"SKeep", "kept", "", "", ""}) + "\n");
}

TEST_F(StringIds, AddStringKeepsLineBreaksInsideAText) {
    Lang->AddString(u"SLines", {u"one\r\ntwo", u"eins"});
    EXPECT_EQ(Lang->Strings()->Get(0), Line({"SLines", "one\r\ntwo", "eins", "", ""}));
}

TEST_F(StringIds, AddStringKeepsTheStringTableSortedAndLikeARebuildOfIt) {
    Lang->AddString(u"SZeta", {u"z"});
    Lang->AddString(u"SAlpha", {u"a", u"A2"});
    Lang->AddString(u"SMid", {u"", u"m2", u"m3"});
    Lang->AddString(u"salpha", {u"b"});
    const TzxStringsCollection* table = Lang->StringTable();
    ASSERT_EQ(table->Count(), 3);
    EXPECT_EQ(table->Items(0)->ID(), u"SAlpha") << "the item found keeps its identifier";
    EXPECT_EQ(table->Items(0)->Values()->Text(), "b\n\n\n\n");
    EXPECT_EQ(table->Items(1)->ID(), u"SMid");
    EXPECT_EQ(table->Items(1)->Values()->Text(), "\nm2\nm3\n\n") << "values keep their places";
    EXPECT_EQ(table->Items(2)->ID(), u"SZeta");

    AnsiString added;
    for (Integer index = 0; index < table->Count(); ++index)
        added += table->Items(index)->Values()->Text();
    Lang->UpdateStrCollections();
    AnsiString rebuilt;
    for (Integer index = 0; index < table->Count(); ++index)
        rebuilt += table->Items(index)->Values()->Text();
    EXPECT_EQ(added, rebuilt);
}

TEST_F(StringIds, GetIDIndexIgnoresCaseAndDeleteStringDoesNot) {
    Lang->AddString(u"SOne", {u"1"});
    Lang->AddString(u"STwo", {u"2"});
    EXPECT_EQ(Lang->GetIDIndex(u"stwo"), 1);
    EXPECT_EQ(Lang->GetIDIndex(u"SThree"), -1);
    EXPECT_EQ(Lang->GetIDIndex(u"STw"), -1) << "a prefix of a key is no match";
    EXPECT_FALSE(Lang->DeleteString(u"stwo"));
    EXPECT_FALSE(Lang->DeleteString(u"STw"));
    EXPECT_TRUE(Lang->DeleteString(u"STwo"));
    EXPECT_EQ(Lang->Strings()->Count(), 1);
    EXPECT_EQ(Lang->GetIDIndex(u"STwo"), -1);
}

TEST_F(StringIds, GetStringIDReturnsTheKeyAndRefusesIndexesOutsideTheList) {
    Lang->AddString(u"SOne", {u"1"});
    Lang->Strings()->Add("no delimiter");
    EXPECT_EQ(Lang->GetStringID(0), u"SOne");
    EXPECT_EQ(Lang->GetStringID(1), u"") << "a line without a delimiter has no key";
    EXPECT_EQ(MessageOf<EListError>([&] { Lang->GetStringID(-1); }), "List index is out of bonds!");
    EXPECT_EQ(MessageOf<EListError>([&] { Lang->GetStringID(2); }), "List index is out of bonds!");
}

TEST_F(StringIds, ListsAreFoundByKindNameInAnyCase) {
    EXPECT_EQ(Lang->GetPropListByName(u"captions"), Lang->Captions());
    EXPECT_EQ(Lang->GetPropListByName(u"MULTILINES"), Lang->MultiLines());
    EXPECT_EQ(Lang->GetPropListByName(u"CharSets"), Lang->CharSets());
    EXPECT_EQ(Lang->GetPropListByName(u"ListView_TreeView_Items"), nullptr)
        << "TzxLang keeps no list of that kind";
    EXPECT_EQ(Lang->GetPropListByName(u"stCaptions"), nullptr);
    EXPECT_EQ(Lang->GetPropListByType(stListView_TreeView_Items), nullptr);
}

TEST(BinaryFileNames, AreTheNamesEndingInZxbInAnyCase) {
    EXPECT_TRUE(zxIsBinaryFile("/data/app.ZXB"));
    EXPECT_TRUE(zxIsBinaryFile("app.zxb"));
    EXPECT_TRUE(zxIsBinaryFile("dir.v2/app.zXb"));
    EXPECT_FALSE(zxIsBinaryFile("app.zxl"));
    EXPECT_FALSE(zxIsBinaryFile("app.zxb.bak"));
    EXPECT_FALSE(zxIsBinaryFile("app"));
    EXPECT_FALSE(zxIsBinaryFile("zxb"));
}

} // namespace
