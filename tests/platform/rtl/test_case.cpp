#include "rtl/SysUtils.h"

#include "rtl/UnicodeCaseData.inc"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace {

using zxtest::AllBytes;

const AnsiString kMarkers = "\x01\x09\x19\x1A\x1D\x1E\xFF";

} // namespace

// ---------------------------------------------------------------------------
// Single code points

TEST(UnicodeCodePoint, SimpleMappingsOfSeveralScripts) {
    EXPECT_EQ(UnicodeUpper(U'a'), U'A');
    EXPECT_EQ(UnicodeLower(U'Z'), U'z');
    EXPECT_EQ(UnicodeUpper(U'\u00E4'), U'\u00C4'); // ä
    EXPECT_EQ(UnicodeLower(U'\u0416'), U'\u0436'); // Ж
    EXPECT_EQ(UnicodeUpper(U'\u0451'), U'\u0401'); // ё
    EXPECT_EQ(UnicodeUpper(U'\u00FF'), U'\u0178'); // ÿ leaves Latin-1
    EXPECT_EQ(UnicodeUpper(U'\u0101'), U'\u0100'); // alternating pairs of Latin Extended-A
    EXPECT_EQ(UnicodeUpper(U'\u0100'), U'\u0100');
    EXPECT_EQ(UnicodeLower(U'\u0100'), U'\u0101');
    EXPECT_EQ(UnicodeUpper(U'\U00010428'), U'\U00010400'); // Deseret, outside the BMP
}

TEST(UnicodeCodePoint, SharpSAndTitlecaseAndTurkishI) {
    EXPECT_EQ(UnicodeUpper(U'\u00DF'), U'\u00DF'); // ß has no simple uppercase
    EXPECT_EQ(UnicodeLower(U'\u1E9E'), U'\u00DF');
    EXPECT_EQ(UnicodeFold(U'\u1E9E'), U'\u00DF');
    EXPECT_EQ(UnicodeUpper(U'\u01C5'), U'\u01C4'); // ǅ titlecase
    EXPECT_EQ(UnicodeLower(U'\u01C5'), U'\u01C6');
    EXPECT_EQ(UnicodeLower(U'\u0130'), U'i');     // İ
    EXPECT_EQ(UnicodeFold(U'\u0130'), U'\u0130'); // only a special (T/F) folding
    EXPECT_EQ(UnicodeUpper(U'\u0131'), U'I');     // ı
    EXPECT_EQ(UnicodeFold(U'\u0131'), U'\u0131');
    EXPECT_EQ(UnicodeUpper(U'i'), U'I'); // no Turkish rule
}

TEST(UnicodeCodePoint, FoldingIsNotLowercasing) {
    EXPECT_EQ(UnicodeFold(U'\u03C2'), U'\u03C3'); // final sigma folds to σ
    EXPECT_EQ(UnicodeLower(U'\u03C2'), U'\u03C2');
    EXPECT_EQ(UnicodeUpper(U'\u03C2'), U'\u03A3');
    EXPECT_EQ(UnicodeFold(U'\u017F'), U's');      // long s
    EXPECT_EQ(UnicodeFold(U'\u212A'), U'k');      // Kelvin sign
    EXPECT_EQ(UnicodeFold(U'\uAB70'), U'\u13A0'); // Cherokee folds to uppercase
    EXPECT_EQ(UnicodeLower(U'\u13A0'), U'\uAB70');
}

TEST(UnicodeCodePoint, UnmappedAndInvalidByteCodesStay) {
    for (char32_t code : {U'1', U'\u4E2D', U'\U0001F600', char32_t(0xD800), char32_t(0x10FFFF)}) {
        EXPECT_EQ(UnicodeUpper(code), code);
        EXPECT_EQ(UnicodeLower(code), code);
        EXPECT_EQ(UnicodeFold(code), code);
    }
    for (char32_t code = 0xDC80; code <= 0xDCFF; ++code) {
        EXPECT_EQ(UnicodeUpper(code), code);
        EXPECT_EQ(UnicodeLower(code), code);
        EXPECT_EQ(UnicodeFold(code), code);
    }
}

// The generated tables against the database they were generated from, code
// point by code point (skipped where that database is not installed).
class UnicodeDatabase : public ::testing::Test {
protected:
    static constexpr const char* kDir = "/usr/share/unicode/";

    void SetUp() override {
        std::ifstream folding(std::string(kDir) + "CaseFolding.txt");
        std::string firstLine;
        if (!folding || !std::getline(folding, firstLine))
            GTEST_SKIP() << "no Unicode database in " << kDir;
        std::string expected =
            std::string("CaseFolding-") + UnicodeCaseData::UnicodeVersion + ".txt";
        if (firstLine.find(expected) == std::string::npos)
            GTEST_SKIP() << "installed database is not the tables' version: " << firstLine;
    }

    static std::vector<std::string> Fields(const std::string& line) {
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, ';');)
            fields.push_back(field.substr(field.find_first_not_of(' ') == std::string::npos
                                              ? field.size()
                                              : field.find_first_not_of(' ')));
        return fields;
    }

    static char32_t Hex(const std::string& text) {
        return static_cast<char32_t>(std::stoul(text, nullptr, 16));
    }
};

TEST_F(UnicodeDatabase, SimpleMappingsMatchUnicodeData) {
    std::map<char32_t, char32_t> upper, lower;
    std::ifstream data(std::string(kDir) + "UnicodeData.txt");
    for (std::string line; std::getline(data, line);) {
        auto fields = Fields(line);
        ASSERT_GE(fields.size(), 14u) << line;
        if (!fields[12].empty())
            upper[Hex(fields[0])] = Hex(fields[12]);
        if (!fields[13].empty())
            lower[Hex(fields[0])] = Hex(fields[13]);
    }
    ASSERT_GT(upper.size(), 1000u);
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        auto up = upper.find(code), low = lower.find(code);
        ASSERT_EQ(UnicodeUpper(code), up == upper.end() ? code : up->second)
            << std::hex << static_cast<std::uint32_t>(code);
        ASSERT_EQ(UnicodeLower(code), low == lower.end() ? code : low->second)
            << std::hex << static_cast<std::uint32_t>(code);
    }
}

TEST_F(UnicodeDatabase, FoldingMatchesStatusesCAndS) {
    std::map<char32_t, char32_t> folding;
    std::ifstream data(std::string(kDir) + "CaseFolding.txt");
    for (std::string line; std::getline(data, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        auto fields = Fields(line);
        if (fields[1] == "C" || fields[1] == "S")
            folding[Hex(fields[0])] = Hex(fields[2]);
    }
    ASSERT_GT(folding.size(), 1000u);
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        auto found = folding.find(code);
        ASSERT_EQ(UnicodeFold(code), found == folding.end() ? code : found->second)
            << std::hex << static_cast<std::uint32_t>(code);
    }
}

// ---------------------------------------------------------------------------
// ASCII rules

TEST(AsciiCase, OnlyAsciiLettersChange) {
    EXPECT_EQ(UpperCase("abc xyz 09_\xC3\xA4"), "ABC XYZ 09_\xC3\xA4");
    EXPECT_EQ(LowerCase("ABC XYZ @[\xC3\x84"), "abc xyz @[\xC3\x84");
    EXPECT_EQ(UpperCase(AllBytes()).size(), 256u);
    EXPECT_EQ(LowerCase(kMarkers), kMarkers);
}

TEST(AsciiCase, CompareTextFoldsAsciiOnly) {
    EXPECT_EQ(CompareText("Hello", "hELLO"), 0);
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_NE(CompareText("\xC3\xA4", "\xC3\x84"), 0); // ä and Ä stay different
    EXPECT_FALSE(SameText("\xC3\xA4", "\xC3\x84"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_LT(CompareText("a", "B"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "ABC"), 0);
    EXPECT_LT(CompareText("Z", "\xC3\xA4"), 0); // bytes >= 0x80 sort after ASCII
}

TEST(AsciiCase, CompareStrIsUnsignedByteOrder) {
    EXPECT_EQ(CompareStr("abc", "abc"), 0);
    EXPECT_LT(CompareStr("B", "a"), 0);
    EXPECT_GT(CompareStr("a", "A"), 0);
    EXPECT_LT(CompareStr("z", "\xC3\xA4"), 0);
    EXPECT_LT(CompareStr("\x7F", "\x80"), 0);
    EXPECT_LT(CompareStr("ab", "abc"), 0);
    EXPECT_GT(CompareStr(AnsiString("a\0b", 3), "a"), 0);
}

// ---------------------------------------------------------------------------
// Unicode rules on UTF-8

TEST(AnsiCase, UpperAndLowerAcrossScripts) {
    EXPECT_EQ(AnsiUpperCase("stra\xC3\x9F"
                            "e \xC3\xA4\xC3\xB6\xC3\xBC"), // straße äöü
              "STRA\xC3\x9F"
              "E \xC3\x84\xC3\x96\xC3\x9C"); // ß kept
    EXPECT_EQ(AnsiLowerCase("\xC3\x84\xC3\x96\xC3\x9C"), "\xC3\xA4\xC3\xB6\xC3\xBC");
    EXPECT_EQ(AnsiUpperCase("\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"), // привет
              "\xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2");
    // οδός: both sigmas become Σ; lowercasing gives σ, not the final form.
    EXPECT_EQ(AnsiUpperCase("\xCE\xBF\xCE\xB4\xCF\x8C\xCF\x82"),
              "\xCE\x9F\xCE\x94\xCE\x8C\xCE\xA3");
    EXPECT_EQ(AnsiLowerCase("\xCE\x9F\xCE\x94\xCE\x8C\xCE\xA3"),
              "\xCE\xBF\xCE\xB4\xCF\x8C\xCF\x83");
    EXPECT_EQ(AnsiLowerCase("\xE1\xBA\x9E"), "\xC3\x9F");               // ẞ -> ß
    EXPECT_EQ(AnsiUpperCase("\xF0\x90\x90\xA8x"), "\xF0\x90\x90\x80X"); // Deseret
}

TEST(AnsiCase, LengthChangingMappings) {
    EXPECT_EQ(AnsiLowerCase("\xE2\x84\xAA"), "k");        // Kelvin sign, 3 bytes -> 1
    EXPECT_EQ(AnsiUpperCase("\xC4\xB1"), "I");            // ı, 2 bytes -> 1
    EXPECT_EQ(AnsiUpperCase("\xC9\x90"), "\xE2\xB1\xAF"); // ɐ, 2 bytes -> 3
}

TEST(AnsiCase, MarkersAndInvalidBytesSurvive) {
    EXPECT_EQ(AnsiUpperCase("a" + kMarkers + "b"), "A" + kMarkers + "B");
    EXPECT_EQ(AnsiLowerCase("A" + kMarkers + "\xC3\x84"), "a" + kMarkers + "\xC3\xA4");
    // Stray continuation, truncated sequence, overlong form, encoded surrogate.
    AnsiString invalid = "\x80\xE2\x82"
                         "a\xC0\xAF\xED\xB2\x80\xFE";
    EXPECT_EQ(AnsiUpperCase(invalid), "\x80\xE2\x82"
                                      "A\xC0\xAF\xED\xB2\x80\xFE");
    EXPECT_EQ(AnsiLowerCase(AnsiUpperCase(invalid)), invalid);
    // Every byte value, mixed into non-ASCII text so the Unicode path runs.
    AnsiString bytes = "\xC3\xA4" + AllBytes();
    AnsiString upper = AnsiUpperCase(bytes);
    ASSERT_EQ(upper.size(), bytes.size());
    for (std::size_t i = 2; i < bytes.size(); ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        char expected = byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 32) : bytes[i];
        EXPECT_EQ(upper[i], expected) << "byte " << i - 2;
    }
}

TEST(AnsiCompare, SameTextFoldsButCompareStrDoesNot) {
    EXPECT_TRUE(AnsiSameText("\xC3\xA4", "\xC3\x84")); // ä Ä
    EXPECT_NE(AnsiCompareStr("\xC3\xA4", "\xC3\x84"), 0);
    EXPECT_FALSE(AnsiSameStr("\xC3\xA4", "\xC3\x84"));
    EXPECT_TRUE(AnsiSameStr("\xC3\xA4", "\xC3\xA4"));
    EXPECT_TRUE(AnsiSameText("\xC3\x9F", "\xE1\xBA\x9E"));       // ß ẞ
    EXPECT_TRUE(AnsiSameText("\xCE\xBF\xCE\xB4\xCF\x8C\xCF\x82", // οδός ΟΔΌΣ
                             "\xCE\x9F\xCE\x94\xCE\x8C\xCE\xA3"));
    EXPECT_TRUE(AnsiSameText("\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0", // Ёлка ёЛКА
                             "\xD1\x91\xD0\x9B\xD0\x9A\xD0\x90"));
    EXPECT_TRUE(AnsiSameText("\xE1\x8E\xA0", "\xEA\xAD\xB0")); // Cherokee Ꭰ ꭰ
    EXPECT_FALSE(AnsiSameText("\xC4\xB1", "i"));               // ı is not i
    EXPECT_FALSE(AnsiSameText("\xC3\x9F", "ss"));              // no full folding
}

TEST(AnsiCompare, CodePointOrder) {
    EXPECT_LT(AnsiCompareText("a", "B"), 0);
    EXPECT_GT(AnsiCompareText("B", "a"), 0);
    EXPECT_LT(AnsiCompareText("Z", "\xC3\xA4"), 0);                    // Z < ä
    EXPECT_LT(AnsiCompareText("\xC3\xA4", "\xC5\x81"), 0);             // ä < Ł
    EXPECT_LT(AnsiCompareText("\xEF\xBF\xBD", "\xF0\x9F\x98\x80"), 0); // U+FFFD < U+1F600
    EXPECT_LT(AnsiCompareText("abc", "ABCD"), 0);
    EXPECT_GT(AnsiCompareText("ABCD", "abc"), 0);
    EXPECT_EQ(AnsiCompareText("", ""), 0);
    EXPECT_LT(AnsiCompareText("", "\xC3\xA4"), 0);
    EXPECT_LT(AnsiCompareStr("Z", "a"), 0);
    EXPECT_LT(AnsiCompareStr("z", "\xC3\x84"), 0);
}

TEST(AnsiCompare, FoldingReachesAsciiAfterAsciiPrefix) {
    // The Kelvin sign folds to 'k': the comparison must go on by code points
    // where the bytes stop being ASCII, not decide on the first byte.
    EXPECT_TRUE(AnsiSameText("Mark\xE2\x84\xAA", "MARKK"));
    EXPECT_LT(AnsiCompareText("x\xE2\x84\xAA"
                              "a",
                              "XKb"),
              0);
    EXPECT_GT(AnsiCompareText("x\xE2\x84\xAA"
                              "c",
                              "XKb"),
              0);
    EXPECT_TRUE(AnsiSameText("\xC5\xBF"
                             "tra\xC3\x9F"
                             "e",
                             "STRA\xE1\xBA\x9E"
                             "E")); // ſtraße
}

TEST(AnsiCompare, InvalidBytesCompareAsTheirStandInCodePoints) {
    // U+DC80 + byte: after every BMP letter below the surrogates, before U+E000.
    EXPECT_GT(AnsiCompareText("\xFF", "\xED\x9F\xBF"), 0); // > U+D7FF
    EXPECT_LT(AnsiCompareText("\xFF", "\xEE\x80\x80"), 0); // < U+E000
    EXPECT_LT(AnsiCompareText("a\xFE", "A\xFF"), 0);
    EXPECT_EQ(AnsiCompareText("A\xFF"
                              "B",
                              "a\xFF"
                              "b"),
              0);
    EXPECT_NE(AnsiCompareText("\xC3", "\xC3\xA4"), 0);
}

TEST(AnsiCompare, AgreesWithWideCompareText) {
    const std::vector<AnsiString> samples = {"",
                                             "a",
                                             "A",
                                             "ab",
                                             "Z",
                                             "_",
                                             "\xC3\xA4",
                                             "\xC3\x84",
                                             "\xC3\x9F",
                                             "\xE1\xBA\x9E",
                                             "\xE2\x84\xAA",
                                             "k",
                                             "\xCF\x82",
                                             "\xCE\xA3",
                                             "\xEF\xBF\xBD",
                                             "\xF0\x9F\x98\x80",
                                             "\xF0\x90\x90\x80",
                                             "\xF0\x90\x90\xA8",
                                             "\xFF",
                                             "\x80",
                                             "a\xC3",
                                             "\xEE\x80\x80"};
    for (const AnsiString& s1 : samples)
        for (const AnsiString& s2 : samples) {
            EXPECT_EQ(AnsiCompareText(s1, s2), WideCompareText(UTF8Decode(s1), UTF8Decode(s2)))
                << '"' << s1 << "\" vs \"" << s2 << '"';
            EXPECT_EQ(AnsiCompareText(s1, s2), -AnsiCompareText(s2, s1));
        }
}

TEST(AnsiCompare, PosIsByteSearch) {
    EXPECT_EQ(AnsiPos("\xC3\xA4", "x\xC3\xA4y"), 2);
    EXPECT_EQ(AnsiPos("\xC3\x84", "x\xC3\xA4y"), 0); // case-sensitive
    EXPECT_EQ(AnsiPos("", "abc"), 0);
    EXPECT_EQ(AnsiPos("\xFF", "ab\xFF"), 3);
}

// ---------------------------------------------------------------------------
// Unicode rules on UTF-16

TEST(WideCase, MapsCodePointsAndSurrogatePairs) {
    EXPECT_EQ(WideUpperCase(u"stra\u00DFe \u00E4 \u0436"), u"STRA\u00DFE \u00C4 \u0416");
    EXPECT_EQ(WideLowerCase(u"\u03A3\u0416"), u"\u03C3\u0436");
    EXPECT_EQ(WideUpperCase(u"\U00010428a"), u"\U00010400A");
    EXPECT_EQ(WideLowerCase(u"\U00010400"), u"\U00010428");
}

TEST(WideCase, LoneSurrogatesStay) {
    WideString lone = {char16_t(0xDC80), u'a', char16_t(0xD801), u'b', char16_t(0xDCFF)};
    WideString expected = {char16_t(0xDC80), u'A', char16_t(0xD801), u'B', char16_t(0xDCFF)};
    EXPECT_EQ(WideUpperCase(lone), expected);
    EXPECT_EQ(WideLowerCase(expected), lone);
    EXPECT_EQ(UTF8Encode(WideUpperCase(UTF8Decode("a" + kMarkers))), "A" + kMarkers);
}

TEST(WideCase, Comparisons) {
    EXPECT_TRUE(WideSameText(u"\u00E4\u00DF", u"\u00C4\u1E9E"));
    EXPECT_FALSE(WideSameText(u"\u00E4", u"a"));
    EXPECT_NE(WideCompareStr(u"\u00E4", u"\u00C4"), 0);
    EXPECT_EQ(WideCompareStr(u"\u00E4", u"\u00E4"), 0);
    EXPECT_LT(WideCompareText(u"a", u"B"), 0);
    EXPECT_LT(WideCompareText(u"Z", u"\u00E4"), 0);
    EXPECT_LT(WideCompareText(u"ab", u"AB\U00010400"), 0);
    // Code-point order, not code-unit order: U+FFFD < U+1F600.
    EXPECT_LT(WideCompareStr(u"\uFFFD", u"\U0001F600"), 0);
    EXPECT_LT(WideCompareText(u"\uFFFD", u"\U0001F600"), 0);
    EXPECT_TRUE(WideSameText(u"\U00010428", u"\U00010400"));
}
