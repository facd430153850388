#include "runtime/QzxComp.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

const char D = '\x01';
const TSysCharSet Delim{D};

AnsiString Line(std::initializer_list<const char*> Parts) {
    AnsiString line;
    for (const char* part : Parts)
        line += AnsiString(part) + D;
    return line;
}

} // namespace

TEST(WordRoutines, RunOfDelimitersIsOneSeparator) {
    AnsiString line = AnsiString("key") + D + D + "b" + D;
    EXPECT_EQ(ExtractWord(2, line, Delim), "b");
    AnsiString shortLine = AnsiString("key") + D + "a" + D;
    EXPECT_EQ(ExtractWord(3, shortLine, Delim), "");
    EXPECT_EQ(WordPosition(3, shortLine, Delim), static_cast<Integer>(shortLine.size()));
    EXPECT_EQ(ExtractWord(1, AnsiString(1, D) + "first" + D, Delim), "first");
    EXPECT_EQ(WordPosition(2, shortLine, Delim), 5);
}

TEST(WordRoutines, OneCharacterWordAtTheEndIsNotReturned) {
    // The position of the last word equals the length, which reads as "none".
    EXPECT_EQ(ExtractWord(2, AnsiString("ab") + D + "c", Delim), "");
    EXPECT_EQ(ExtractWord(2, AnsiString("ab") + D + "cd", Delim), "cd");
}

TEST(WordRoutines, UpperWord2AndDelimiterCount) {
    AnsiString result = "kept";
    ExtractUpperWord2(Line({"key"}), D, result);
    EXPECT_EQ(result, "kept");
    ExtractUpperWord2(Line({"key", "größe", "x"}), D, result);
    EXPECT_EQ(result, "GRÖßE"); // ß has no single-character upper case
    EXPECT_EQ(CountDelimChars(Line({"a", "", "c"}), Delim), 3);
    EXPECT_EQ(CountDelimChars("a.b,c", TSysCharSet{'.', ','}), 2);
}

TEST(ReplaceAndLookup, ReplaceStrIgnoresCase) {
    EXPECT_EQ(ReplaceStr(AnsiString("Form1.Label1 FORM1"), "form1", "Main", false),
              "Main.Label1 FORM1");
    EXPECT_EQ(ReplaceStr(AnsiString("Form1.Label1 FORM1"), "form1", "Main", true),
              "Main.Label1 Main");
    EXPECT_EQ(ReplaceStr(WideString(u"Äpfel äpfel"), u"äPFEL", u"x", true), u"x x");
    EXPECT_EQ(AnsiIndexText("beta", {"Alpha", "BETA", "beta"}), 1);
    EXPECT_EQ(AnsiIndexText("gamma", {"Alpha", "BETA"}), -1);
    EXPECT_EQ(AnsiIndexText("ÄRGER", {"ärger"}), 0);
}

TEST(ReplaceAndLookup, IniNamesInKindOrder) {
    TStringList names;
    names.Add("stale");
    GetIniNames(names);
    ASSERT_EQ(names.Count(), StringsTypeCount);
    EXPECT_EQ(names[0], "Captions");
    EXPECT_EQ(names[4], "Multilines");
    EXPECT_EQ(names[5], "Dialogs");
    EXPECT_EQ(names[7], "Other");
    EXPECT_EQ(names[11], "ListView_TreeView_Items");
    EXPECT_EQ(GetEnumName(TypeInfoOf(stCharSets), stCharSets), "stCharSets");
}

TEST(LayoutTesting, FlipCaseAndExpand) {
    EXPECT_EQ(zxFlipCase("Hello Ärger 1"), "hELLO äRGER 1");
    EXPECT_EQ(zxExpandStringByChars("abc", 100, '_'), "a_b_c_");
    EXPECT_EQ(zxExpandStringByChars("abc", 50, '_'), "abc_");
    // The remainder falls to the last characters.
    EXPECT_EQ(zxExpandStringByChars("abcd", 50, '_'), "abc_d_");
    EXPECT_EQ(zxExpandStringByChars("", 100, '_'), "");
}

TEST(Calendar, HijriBothWays) {
    Integer day = 0, month = 0, year = 0;
    Gregorian2Hijri(EncodeDate(2000, 1, 1), day, month, year);
    EXPECT_EQ(day, 24);
    EXPECT_EQ(month, 9);
    EXPECT_EQ(year, 1420);
    EXPECT_EQ(Hijri2Gregorian(24, 9, 1420), EncodeDate(2000, 1, 1));
    // The time of day is ignored.
    Gregorian2Hijri(EncodeDate(2000, 1, 1) + 0.75, day, month, year);
    EXPECT_EQ(day, 24);
}

TEST(Calendar, RoundTripsOverSeveralYears) {
    for (TDateTime date = EncodeDate(1990, 1, 1); date < EncodeDate(2030, 1, 1); date += 37) {
        Integer day, month, year;
        Gregorian2Hijri(date, day, month, year);
        EXPECT_EQ(Hijri2Gregorian(day, month, year), date) << DateToStr(date);
    }
}

namespace {

class TNamed : public TPersistent {
    ZX_CLASS(TNamed, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TNamed>& P) {
        P.Property("Title", &TNamed::FTitle);
        P.Property("Count", &TNamed::FCount);
        P.Property("Alias", &TNamed::FAlias);
        P.Property("Caption", &TNamed::FCaption).TypeName("TCaption");
    }
    AnsiString FTitle, FAlias, FCaption;
    Integer FCount = 0;
};

class TOther : public TPersistent {
    ZX_CLASS(TOther, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TOther>& P) {
        P.Property("caption", &TOther::FCaption).TypeName("TCaption");
        P.Property("Title", &TOther::FTitle);
        P.Property("Alias", &TOther::FAlias);
    }
    AnsiString FCaption, FTitle;
    WideString FAlias;
};

std::vector<AnsiString> Names(const TzxPropInfoList& List) {
    std::vector<AnsiString> names;
    for (Integer i = 0; i < List.Count(); ++i)
        names.push_back(List.Get(i)->Name);
    return names;
}

} // namespace

TEST(PropInfoList, StringPropertiesInNameOrder) {
    TNamed named;
    TzxPropInfoList strings(&named, TTypeKinds{tkString, tkLString, tkWString});
    EXPECT_EQ(Names(strings), (std::vector<AnsiString>{"Alias", "Caption", "Title"}));
    ASSERT_NE(strings.Find(u"CAPTION"), nullptr);
    EXPECT_EQ(strings.Find(u"CAPTION")->Name, "Caption");
    EXPECT_EQ(strings.Find(u"Count"), nullptr);
    strings.Delete(0);
    EXPECT_EQ(Names(strings), (std::vector<AnsiString>{"Caption", "Title"}));
}

TEST(PropInfoList, IntersectKeepsSameNameAndType) {
    TNamed named;
    TOther other;
    TzxPropInfoList mine(&named, TTypeKinds{tkString, tkLString, tkWString});
    TzxPropInfoList theirs(&other, TTypeKinds{tkString, tkLString, tkWString});
    mine.Intersect(theirs);
    // Alias is a wide string on the other class, so it goes.
    EXPECT_EQ(Names(mine), (std::vector<AnsiString>{"Caption", "Title"}));
}
