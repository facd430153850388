// Strings by identifier: GetText and its family at run time (string table)
// and at design time (the lists themselves) give the same answers; missing
// identifiers, line numbers and lists shared through the dispatcher.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

class GetTextTest : public TLangFormTest<TForm> {
protected:
    // Three languages; the identifiers' lines as given.
    void SetStrings(std::initializer_list<AnsiString> Lines) {
        Lang->SetNumLang(3);
        TStringList lines;
        for (const AnsiString& line : Lines)
            lines.Add(line);
        Lang->SetStrings(&lines);
    }

    // The answer of Ask at run time, after checking that design time gives
    // the same one.
    template <typename Ask> WideString BothWays(Ask ask) {
        WideString runTime = ask();
        Form->SetDesigning(true);
        WideString designTime = ask();
        Form->SetDesigning(false);
        EXPECT_EQ(UTF8Encode(designTime), UTF8Encode(runTime)) << "design time differs";
        return runTime;
    }

    WideString Text(const WideString& ID) {
        return BothWays([&] { return Lang->GetText(ID); });
    }
    WideString TextOrDefault(const WideString& ID) {
        return BothWays([&] { return Lang->GetTextOrDefault(ID); });
    }
};

TEST_F(GetTextTest, AnEmptyTranslationFallsBackOnlyWhenAskedTo) {
    SetStrings({Line({"ID", "hello", "", "hei"})});
    Lang->SetActLang(2);
    EXPECT_EQ(Text(u"ID"), u"");
    EXPECT_EQ(TextOrDefault(u"ID"), u"hello");
    Lang->TranslateType = ttGetDefault;
    EXPECT_EQ(Text(u"ID"), u"hello");
    Lang->SetActLang(3);
    EXPECT_EQ(Text(u"ID"), u"hei");
}

TEST_F(GetTextTest, FindsTheIdentifierWhateverItsCaseAndOnlyItsOwnLine) {
    SetStrings({Line({"ID10", "ten", "zehn", "kymmenen"}), Line({"ID1", "one", "eins", "yksi"}),
                Line({"Äpfel", "apples", "Äpfel", "omenat"})});
    Lang->SetActLang(2);
    EXPECT_EQ(Text(u"id1"), u"eins");
    EXPECT_EQ(Text(u"Id10"), u"zehn");
    EXPECT_EQ(Text(u"äPFEL"), u"Äpfel");
    EXPECT_EQ(Text(u"ID"), u"");
    EXPECT_EQ(Text(u"ID100"), u"");
    EXPECT_EQ(Text(u""), u"");
}

TEST_F(GetTextTest, ALineFeedInsideAValueNeverStartsAKey) {
    SetStrings({Line({"MEMO", "first\nSID", "fake", ""}), Line({"SID", "real", "echt", ""})});
    EXPECT_EQ(Text(u"SID"), u"real");
    Lang->SetActLang(2);
    EXPECT_EQ(Text(u"SID"), u"echt");
    EXPECT_EQ(Text(u"MEMO"), u"fake");
}

TEST_F(GetTextTest, AMissingIdentifierRaisesOnlyWhenAskedTo) {
    SetStrings({Line({"ID", "a", "b", "c"})});
    EXPECT_EQ(Text(u"NOPE"), u"");
    Lang->DoRaiseExceptions = true;
    const char* expected = "String identifier \"NOPE\" not found!";
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Lang->GetText(u"NOPE"); }), expected);
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Lang->GetTextOrDefault(u"NOPE"); }), expected);
    Form->SetDesigning(true);
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Lang->GetText(u"NOPE"); }), expected);
    EXPECT_EQ(Lang->GetText(u"id"), u"a");
}

TEST_F(GetTextTest, NumbersAreIdentifiersWrittenInDecimal) {
    SetStrings({Line({"42", "forty-two", "", ""}), Line({"-7", "minus seven", "", ""})});
    EXPECT_EQ(BothWays([&] { return Lang->GetTextbyInt(42); }), u"forty-two");
    EXPECT_EQ(BothWays([&] { return Lang->GetTextbyInt(-7); }), u"minus seven");
    EXPECT_EQ(BothWays([&] { return Lang->GetTextbyInt(4); }), u"");
}

TEST_F(GetTextTest, StringsReplacedAtRunTimeAnswerAtOnce) {
    SetStrings({Line({"ID", "old", "", ""})});
    EXPECT_EQ(Lang->GetText(u"ID"), u"old");
    SetStrings({Line({"ID", "new", "", ""})});
    EXPECT_EQ(Lang->GetText(u"ID"), u"new");
}

// The C copies: exactly the text's UTF-8 bytes and a NUL, owned by the
// caller; no block at all for an empty text.
TEST_F(GetTextTest, CCopiesHoldTheTextAndATerminatorOrNothing) {
    SetStrings({Line({"ID", "hello", "", "\xD0\xBF\xD1\x80\xD0\xB8"})});
    Lang->SetActLang(2);
    EXPECT_EQ(Lang->GetTextC(u"ID"), nullptr);
    EXPECT_EQ(Lang->GetTextC(u"missing"), nullptr);
    char* fallback = Lang->GetTextOrDefaultC(u"id");
    ASSERT_NE(fallback, nullptr);
    EXPECT_STREQ(fallback, "hello");
    FreeMem(fallback);
    Lang->SetActLang(3);
    char* russian = Lang->GetTextC(u"ID");
    ASSERT_NE(russian, nullptr);
    EXPECT_EQ(std::string(russian), "\xD0\xBF\xD1\x80\xD0\xB8") << "bytes of the UTF-8 text";
    FreeMem(russian);
    Lang->DoRaiseExceptions = true;
    EXPECT_THROW(Lang->GetTextC(u"missing"), ELanguageError);
}

TEST_F(GetTextTest, OtherListsAreReadByKeyAndByLineNumber) {
    EXPECT_EQ(BothWays([&] { return Lang->GetTextFrom(*Lang->DlgsCaptions(), u"retry", false); }),
              u"&Retry");
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->DlgsCaptions(), 7, false), u"&No");
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->DlgsCaptions(), 11, false), u"");
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->DlgsCaptions(), -1, false), u"");
    SetStrings({Line({"A", "one", "", "three"})});
    Lang->SetActLang(2);
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->Strings(), 0, false), u"");
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->Strings(), 0, true), u"one");
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->Strings(), 1, true), u"");
    Lang->SetActLang(3);
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->Strings(), 0, true), u"three");
}

TEST_F(GetTextTest, SharedListsWithoutADispatcherAreEmpty) {
    SetStrings({Line({"ID", "a", "b", "c"})});
    Lang->SetOptions(TzxLangOptions{loUseExtUDStrings});
    EXPECT_EQ(TextOrDefault(u"ID"), u"");
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->Strings(), 0, true), u"a")
        << "by line number only the common lists are shared";
    EXPECT_EQ(Lang->GetTextFrom(*Lang->DlgsCaptions(), u"OK", false), u"OK");
    Lang->SetOptions(TzxLangOptions{loUseExtCommonStrings});
    Lang->DlgsCaptions()->Add(Line({"OK", "OK"}));
    EXPECT_EQ(Lang->GetTextFrom(*Lang->DlgsCaptions(), u"OK", false), u"");
    EXPECT_EQ(Lang->GetTextFromByIndex(*Lang->DlgsCaptions(), 0, false), u"");
    EXPECT_EQ(Lang->GetText(u"ID"), u"a");
}

} // namespace
