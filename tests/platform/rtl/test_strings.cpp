#include "rtl/SysUtils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using zxtest::AllBytes;

const TReplaceFlags kFirst;
const TReplaceFlags kAll{rfReplaceAll};
const TReplaceFlags kFirstIgnoringCase{rfIgnoreCase};
const TReplaceFlags kAllIgnoringCase{rfReplaceAll, rfIgnoreCase};

} // namespace

TEST(Abort, RaisesSilentException) {
    EXPECT_THROW(Abort(), EAbort);
    try {
        Abort();
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "Operation aborted");
    }
}

// ---------------------------------------------------------------------------
// Trimming

TEST(Trim, RemovesSpacesAndControlCharacters) {
    EXPECT_EQ(Trim("\t\x01 abc def \r\n\x1F"), "abc def");
    EXPECT_EQ(TrimLeft("\t\x01 abc \n"), "abc \n");
    EXPECT_EQ(TrimRight("\t abc \x1E\n"), "\t abc");
    EXPECT_EQ(Trim(AnsiString("\0 x\0", 4)), "x");
    EXPECT_EQ(Trim(" \t\r\n"), "");
    EXPECT_EQ(TrimLeft(" \t"), "");
    EXPECT_EQ(TrimRight(" \t"), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(Trim, KeepsUtf8AndHighBytes) {
    EXPECT_EQ(Trim(" \xC2\xA0x\xC2\xA0 "), "\xC2\xA0x\xC2\xA0"); // no-break space is text
    EXPECT_EQ(Trim("\n\xFF\x7F\x80 "), "\xFF\x7F\x80");
    EXPECT_EQ(Trim(" \xC3\xA4 "), "\xC3\xA4");
}

// ---------------------------------------------------------------------------
// StringReplace

TEST(StringReplace, FirstOrEveryOccurrence) {
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", kFirst), "a+b-c");
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", kAll), "a+b+c");
    EXPECT_EQ(StringReplace("a--b", "-", "", kAll), "ab");
    EXPECT_EQ(StringReplace("abc", "x", "y", kAll), "abc");
    // The replacement text is not searched again.
    EXPECT_EQ(StringReplace("aaa", "a", "aa", kAll), "aaaaaa");
    EXPECT_EQ(StringReplace("aaaa", "aa", "a", kAll), "aa");
    EXPECT_EQ(StringReplace("Abc abc", "a", "x", kAll), "Abc xbc"); // case-sensitive
}

TEST(StringReplace, EmptyPatternLeavesTextAlone) {
    for (const TReplaceFlags& flags : {kFirst, kAll, kFirstIgnoringCase, kAllIgnoringCase}) {
        EXPECT_EQ(StringReplace("abc", "", "x", flags), "abc");
        EXPECT_EQ(WideStringReplace(u"abc", u"", u"x", flags), u"abc");
    }
}

TEST(StringReplace, IgnoreCaseKeepsTheRestAsWritten) {
    EXPECT_EQ(StringReplace("Abc ABC", "b", "x", kFirstIgnoringCase), "Axc ABC");
    EXPECT_EQ(StringReplace("Hello HeLLo hello", "HELLO", "bye", kAllIgnoringCase), "bye bye bye");
    EXPECT_EQ(StringReplace("\xC3\x84rger \xC3\xA4RGER", "\xC3\xA4rger", "x", kAllIgnoringCase),
              "x x"); // Ärger äRGER
    EXPECT_EQ(StringReplace("Stra\xC3\x9F"
                            "e",
                            "STRA\xE1\xBA\x9E"
                            "E",
                            "Weg", kFirstIgnoringCase),
              "Weg");
    EXPECT_EQ(StringReplace("\xCE\xA3\xCE\xB1\xCF\x82", "\xCF\x83", "-", kAllIgnoringCase),
              "-\xCE\xB1-"); // Σας: both sigmas match σ
}

TEST(StringReplace, FoldingThatChangesByteLengthDoesNotShiftMatches) {
    // ẞ (3 bytes) folds to ß (2 bytes), the Kelvin sign (3 bytes) to k (1 byte):
    // matches found in the folded text must land on the same characters of S.
    EXPECT_EQ(StringReplace("\xE1\xBA\x9E"
                            "a \xC3\x84 b",
                            "\xC3\xA4", "X", kAllIgnoringCase),
              "\xE1\xBA\x9E"
              "a X b");
    EXPECT_EQ(StringReplace("\xE2\x84\xAA"
                            "elvin and Kelvin!",
                            "kelvin", "K", kAllIgnoringCase),
              "K and K!");
    EXPECT_EQ(StringReplace("\xE2\x84\xAA\xE2\x84\xAA"
                            "x"
                            "\xE2\x84\xAA",
                            "x", "Y", kAllIgnoringCase),
              "\xE2\x84\xAA\xE2\x84\xAA"
              "Y"
              "\xE2\x84\xAA");
}

TEST(StringReplace, MarkersAndInvalidBytesSurvive) {
    EXPECT_EQ(StringReplace("\xFF"
                            "ab\x01"
                            "AB\xC3",
                            "ab", "-", kAllIgnoringCase),
              "\xFF-\x01-\xC3");
    EXPECT_EQ(StringReplace("x\xFFy\xFF", "\xFF", "z", kFirstIgnoringCase), "xzy\xFF");
    EXPECT_EQ(StringReplace("\x1D\x1E"
                            "a",
                            "A", "\x19", kAllIgnoringCase),
              "\x1D\x1E\x19");
    AnsiString bytes = AllBytes();
    EXPECT_EQ(StringReplace(bytes, "\x80", "\x80", kAllIgnoringCase), bytes);
}

TEST(StringReplace, WideVariant) {
    EXPECT_EQ(WideStringReplace(u"a-b-c", u"-", u"+", kFirst), u"a+b-c");
    EXPECT_EQ(WideStringReplace(u"a-b-c", u"-", u"+", kAll), u"a+b+c");
    EXPECT_EQ(WideStringReplace(u"\u00C4x \u00E4X", u"\u00E4X", u"!", kAllIgnoringCase), u"! !");
    EXPECT_EQ(WideStringReplace(u"\u00C4x", u"\u00E4x", u"!", kAll), u"\u00C4x");
    EXPECT_EQ(WideStringReplace(u"\U00010400x\U00010428", u"\U00010428", u"-", kAllIgnoringCase),
              u"-x-");
    WideString lone = {char16_t(0xD801), u'a', char16_t(0xDC80), u'A'};
    WideString replaced = {char16_t(0xD801), u'b', char16_t(0xDC80), u'b'};
    EXPECT_EQ(WideStringReplace(lone, u"a", u"b", kAllIgnoringCase), replaced);
}

// ---------------------------------------------------------------------------
// Hotkeys

TEST(StripHotkey, RemovesMarkersKeepsEscapedAmpersand) {
    EXPECT_EQ(StripHotkey("&File"), "File");
    EXPECT_EQ(StripHotkey("Save &As..."), "Save As...");
    EXPECT_EQ(StripHotkey("A&&B"), "A&B");
    EXPECT_EQ(StripHotkey("&&&x"), "&x");
    EXPECT_EQ(StripHotkey("&&"), "&");
    EXPECT_EQ(StripHotkey("End&"), "End");
    EXPECT_EQ(StripHotkey("&"), "");
    EXPECT_EQ(StripHotkey("plain"), "plain");
    EXPECT_EQ(StripHotkey("&\xC3\x84nderung"), "\xC3\x84nderung");
    EXPECT_EQ(StripHotkey("a&\x01&\xFF"), "a\x01\xFF");
}

// ---------------------------------------------------------------------------
// WrapText

TEST(WrapText, BreaksAfterTheLastBreakCharacter) {
    EXPECT_EQ(WrapText("aaa bbb ccc", 7), "aaa bbb \nccc");
    EXPECT_EQ(WrapText("aaa bbb ccc ddd", 7), "aaa bbb \nccc ddd");
    EXPECT_EQ(WrapText("aaa bbb ccc", 3), "aaa \nbbb \nccc");
    EXPECT_EQ(WrapText("well-known words", 5), "well-\nknown \nwords");
    EXPECT_EQ(WrapText("aaa\tbbb", 3), "aaa\t\nbbb");
    EXPECT_EQ(WrapText("aa  bb", 3), "aa  \nbb"); // every blank stays on its line
    EXPECT_EQ(WrapText("short", 45), "short");
    EXPECT_EQ(WrapText("", 10), "");
}

TEST(WrapText, LongWordsAndTheEndOfTheText) {
    EXPECT_EQ(WrapText("abcdefghij", 5), "abcdefghij");
    EXPECT_EQ(WrapText("ab abcdefghij", 5), "ab \nabcdefghij");
    EXPECT_EQ(WrapText("abc ", 3), "abc "); // nothing inserted at the end
    EXPECT_EQ(WrapText("abc   ", 3), "abc   ");
}

TEST(WrapText, QuotedRunsAreNeverBroken) {
    EXPECT_EQ(WrapText("say 'a b c d' now", 5), "say \n'a b c d' \nnow");
    EXPECT_EQ(WrapText("x \"it's a b\" c", 4), "x \n\"it's a b\" \nc");
    // An unbalanced quote keeps the rest of the text together.
    EXPECT_EQ(WrapText("don't wrap this text", 5), "don't wrap this text");
}

TEST(WrapText, ExistingLineBreaksResetTheColumn) {
    EXPECT_EQ(WrapText("aaa bbb\nccc ddd", 7), "aaa bbb\nccc ddd");
    EXPECT_EQ(WrapText("aaa bbb\r\nccc ddd", 7), "aaa bbb\r\nccc ddd");
    EXPECT_EQ(WrapText("aaa bbb\rccc ddd", 7), "aaa bbb\rccc ddd");
    EXPECT_EQ(WrapText("abc \ndef", 3), "abc \ndef"); // no second break before it
    EXPECT_EQ(WrapText("aa bb\ncc dd ee", 5), "aa bb\ncc dd \nee");
    // A break position before an existing break is forgotten.
    EXPECT_EQ(WrapText("a bc\ndefgh", 4), "a bc\ndefgh");
}

TEST(WrapText, CustomBreakStringAndCharacters) {
    const TSysCharSet comma{','};
    EXPECT_EQ(WrapText("a,b,c,d", "\n", comma, 3), "a,b,\nc,d");
    EXPECT_EQ(WrapText("a b c d", "\n", comma, 3), "a b c d");
    EXPECT_EQ(WrapText("aaa bbb ccc", "<br>", TSysCharSet{' '}, 7), "aaa bbb <br>ccc");
    EXPECT_EQ(WrapText("aaa bbb<br>ccc ddd", "<br>", TSysCharSet{' '}, 7), "aaa bbb<br>ccc ddd");
    EXPECT_EQ(WrapText("aaa bbb ccc", "\r\n", TSysCharSet{' '}, 3), "aaa \r\nbbb \r\nccc");
    EXPECT_EQ(WrapText("aaa bbb ccc", "", TSysCharSet{' '}, 3), "aaa bbb ccc");
}

TEST(WrapText, CountsCharactersNotBytes) {
    EXPECT_EQ(WrapText("\xC3\xA4\xC3\xA4 \xC3\xB6\xC3\xB6", 5),
              "\xC3\xA4\xC3\xA4 \xC3\xB6\xC3\xB6");
    EXPECT_EQ(WrapText("\xC3\xA4\xC3\xA4 \xC3\xB6\xC3\xB6", 4),
              "\xC3\xA4\xC3\xA4 \n\xC3\xB6\xC3\xB6");
    EXPECT_EQ(WrapText("a\xFF b\x01"
                       "c d",
                       3),
              "a\xFF \nb\x01"
              "c \nd");
}

// ---------------------------------------------------------------------------
// Quoted strings

TEST(QuotedStr, DoublesTheQuoteInside) {
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(QuotedStr("''"), "''''''");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\" it's", '"'), "\"say \"\"hi\"\" it's\"");
    EXPECT_EQ(AnsiQuotedStr("\xC3\xA4", '#'), "#\xC3\xA4#");
}

TEST(QuotedStr, ExtractStopsAfterTheClosingQuote) {
    AnsiString src = "x 'a''b' rest";
    std::size_t pos = 2;
    EXPECT_EQ(AnsiExtractQuotedStr(src, pos, '\''), "a'b");
    EXPECT_EQ(pos, 8u);
    EXPECT_EQ(src.substr(pos), " rest");

    AnsiString adjacent = "'a''''b'c";
    pos = 0;
    EXPECT_EQ(AnsiExtractQuotedStr(adjacent, pos, '\''), "a''b");
    EXPECT_EQ(pos, 8u);
}

TEST(QuotedStr, ExtractRunsToTheEndOfAnUnterminatedString) {
    std::size_t pos = 0;
    EXPECT_EQ(AnsiExtractQuotedStr("'abc", pos, '\''), "abc");
    EXPECT_EQ(pos, 4u);
    pos = 0;
    EXPECT_EQ(AnsiExtractQuotedStr("'ab''", pos, '\''), "ab'");
    EXPECT_EQ(pos, 5u);
    pos = 0;
    EXPECT_EQ(AnsiExtractQuotedStr("'", pos, '\''), "");
    EXPECT_EQ(pos, 1u);
}

TEST(QuotedStr, ExtractWithoutOpeningQuoteLeavesPos) {
    std::size_t pos = 1;
    EXPECT_EQ(AnsiExtractQuotedStr("'a'", pos, '\''), "");
    EXPECT_EQ(pos, 1u);
    pos = 0;
    EXPECT_EQ(AnsiExtractQuotedStr("\"a\"", pos, '\''), "");
    EXPECT_EQ(pos, 0u);
    pos = 3;
    EXPECT_EQ(AnsiExtractQuotedStr("'a'", pos, '\''), "");
    EXPECT_EQ(pos, 3u);
}

TEST(QuotedStr, RoundTrips) {
    const std::vector<AnsiString> samples = {
        "", "plain", "it's", "''", "'", "\"q\" and 'q'", "\xC3\xA4\x01\x1D\xFF", AllBytes()};
    for (char quote : {'\'', '"'})
        for (const AnsiString& sample : samples) {
            AnsiString quoted = AnsiQuotedStr(sample, quote) + "tail";
            std::size_t pos = 0;
            EXPECT_EQ(AnsiExtractQuotedStr(quoted, pos, quote), sample);
            EXPECT_EQ(quoted.substr(pos), "tail");
        }
}
