#include "rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

// Sets the number settings Format uses and puts the previous ones back.
class NumberSettings {
public:
    NumberSettings(char Decimal, char Thousand, AnsiString Currency)
        : FDecimal(DecimalSeparator), FThousand(ThousandSeparator), FCurrency(CurrencyString) {
        DecimalSeparator = Decimal;
        ThousandSeparator = Thousand;
        CurrencyString = std::move(Currency);
    }
    ~NumberSettings() {
        DecimalSeparator = FDecimal;
        ThousandSeparator = FThousand;
        CurrencyString = FCurrency;
    }

private:
    char FDecimal, FThousand;
    AnsiString FCurrency;
};

void ExpectFormatError(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
    try {
        Format(Fmt, Args);
        ADD_FAILURE() << "no error for '" << Fmt << "'";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Format '" + Fmt + "' invalid or incompatible with argument");
    }
}

} // namespace

TEST(Format, IntegersWithWidthAndPrecision) {
    EXPECT_EQ(Format("%d", {42}), "42");
    EXPECT_EQ(Format("[%5d|%-5d]", {42, -42}), "[   42|-42  ]");
    EXPECT_EQ(Format("%.4d", {-12}), "-0012");
    EXPECT_EQ(Format("%6.4d", {12}), "  0012");
    EXPECT_EQ(Format("%.0d", {0}), "0");
    EXPECT_EQ(Format("%d", {std::numeric_limits<Int64>::min()}), "-9223372036854775808");
    EXPECT_EQ(Format("%D", {7}), "7");
}

TEST(Format, UnsignedAndHexKeepTheArgumentWidth) {
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("%u", {Int64(-1)}), "18446744073709551615");
    EXPECT_EQ(Format("%x", {255}), "FF");
    EXPECT_EQ(Format("%X", {0xabc}), "ABC");
    EXPECT_EQ(Format("%.4x", {255}), "00FF");
    EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(Format("%x", {Int64(-1)}), "FFFFFFFFFFFFFFFF");
}

TEST(Format, ScientificFixedAndGeneral) {
    NumberSettings settings('.', ',', "$");
    EXPECT_EQ(Format("%e", {1234.5}), "1.23450000000000E+003");
    EXPECT_EQ(Format("%.3e", {1234.5}), "1.23E+003");
    EXPECT_EQ(Format("%.2e", {-0.000123}), "-1.2E-004");
    EXPECT_EQ(Format("%e", {0.0}), "0.00000000000000E+000");
    EXPECT_EQ(Format("%f", {3.14159}), "3.14");
    EXPECT_EQ(Format("%.0f", {2.5}), "3");
    EXPECT_EQ(Format("%.2f", {0.125}), "0.13");
    EXPECT_EQ(Format("%.3f", {-0.0005}), "-0.001");
    EXPECT_EQ(Format("%.1f", {-0.01}), "0.0");
    EXPECT_EQ(Format("%.2f", {999.999}), "1000.00");
    EXPECT_EQ(Format("%g", {0.1 + 0.2}), "0.3");
    EXPECT_EQ(Format("%g", {1e20}), "1E20");
    EXPECT_EQ(Format("%g", {0.0001}), "0.0001");
    EXPECT_EQ(Format("%g", {0.00001}), "1E-5");
    EXPECT_EQ(Format("%.3g", {1234.5}), "1.23E3");
    EXPECT_EQ(Format("%G", {-2.5}), "-2.5");
    EXPECT_EQ(Format("%f|%e", {INFINITY, -INFINITY}), "INF|-INF");
}

TEST(Format, NumberAndMoneyGroupThousands) {
    NumberSettings settings('.', ',', "$");
    EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
    EXPECT_EQ(Format("%.0n", {-1234.5}), "-1,235");
    EXPECT_EQ(Format("%n", {999.999}), "1,000.00");
    EXPECT_EQ(Format("%n", {123.0}), "123.00");
    EXPECT_EQ(Format("%m", {1234.5}), "$1,234.50");
    EXPECT_EQ(Format("%m", {-2.0}), "-$2.00");
    EXPECT_EQ(Format("%12m", {1234.5}), "   $1,234.50");
}

TEST(Format, FloatsFollowTheLocaleSeparators) {
    NumberSettings settings(',', '.', "\xE2\x82\xAC"); // euro sign
    EXPECT_EQ(Format("%.2f", {1.5}), "1,50");
    EXPECT_EQ(Format("%n", {1234.5}), "1.234,50");
    EXPECT_EQ(Format("%g", {0.25}), "0,25");
    EXPECT_EQ(Format("%e", {1.5}), "1,50000000000000E+000");
    // The width counts the euro sign as one character.
    EXPECT_EQ(Format("%9m", {1234.5}), "\xE2\x82\xAC"
                                       "1.234,50");
    EXPECT_EQ(Format("%10m", {1234.5}), " \xE2\x82\xAC"
                                        "1.234,50");
}

TEST(Format, PointersUseEveryHexDigitOfTheAddress) {
    int object = 0;
    auto address = reinterpret_cast<std::uintptr_t>(&object);
    AnsiString text = Format("%p", {static_cast<const void*>(&object)});
    EXPECT_EQ(text.size(), 2 * sizeof(void*));
    EXPECT_EQ(static_cast<std::uintptr_t>(StrToInt64("$" + text)), address);
    EXPECT_EQ(Format("%p", {static_cast<const void*>(nullptr)}),
              AnsiString(2 * sizeof(void*), '0'));
}

TEST(Format, StringsCharsAndPrecision) {
    EXPECT_EQ(Format("<%s>", {"abc"}), "<abc>");
    EXPECT_EQ(Format("%.2s", {"abcdef"}), "ab");
    EXPECT_EQ(Format("[%5s|%-5s]", {"ab", "cd"}), "[   ab|cd   ]");
    EXPECT_EQ(Format("[%-5.2s]", {"abcdef"}), "[ab   ]");
    EXPECT_EQ(Format("%s%s", {'x', u'\u00E9'}), "x\xC3\xA9");
    EXPECT_EQ(Format("%s", {WideString(u"\u00E4\u00F6")}), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(Format("%s", {AnsiString("a\0b", 3)}), AnsiString("a\0b", 3));
    // Precision and width count characters, never cutting one in half.
    EXPECT_EQ(Format("%.1s", {"\xC3\xA9!"}), "\xC3\xA9");
    EXPECT_EQ(Format("%3s", {"\xC3\xA9"}), "  \xC3\xA9");
    EXPECT_EQ(Format("%S", {"up"}), "up");
}

TEST(Format, IndexesSetTheNextArgument) {
    EXPECT_EQ(Format("%1:s %0:s", {"a", "b"}), "b a");
    EXPECT_EQ(Format("%0:s-%s", {"a", "b"}), "a-b");
    EXPECT_EQ(Format("%1:s %s %0:s", {"a", "b", "c"}), "b c a");
    EXPECT_EQ(Format("%0:s%0:s", {"x"}), "xx");
    EXPECT_EQ(Format("%1:-4d|", {1, 2}), "2   |");
}

TEST(Format, StarTakesWidthAndPrecisionFromTheArguments) {
    EXPECT_EQ(Format("%*d", {5, 42}), "   42");
    EXPECT_EQ(Format("%-*d|", {5, 42}), "42   |");
    EXPECT_EQ(Format("%*d|", {-4, 7}), "7   |");
    EXPECT_EQ(Format("%.*f", {1, 2.25}), "2.3");
    EXPECT_EQ(Format("%*.*s", {4, 2, "abc"}), "  ab");
    EXPECT_EQ(Format("%*d", {Int64(3), 1}), "  1");
}

TEST(Format, PercentSignsAndPlainText) {
    EXPECT_EQ(Format("100%%", {}), "100%");
    EXPECT_EQ(Format("%%%d%%", {5}), "%5%");
    EXPECT_EQ(Format("", {}), "");
    EXPECT_EQ(Format("no specifiers", {1, 2}), "no specifiers");
}

TEST(Format, WideFormatGoesThroughUTF8) {
    EXPECT_EQ(WideFormat(u"%s:%d \u00DF", {WideString(u"\u00E4"), 1}), u"\u00E4:1 \u00DF");
}

TEST(Format, WrongArgumentTypesRaise) {
    ExpectFormatError("%s", {1});
    ExpectFormatError("%d", {"12"});
    ExpectFormatError("%d", {1.5});
    ExpectFormatError("%d", {true});
    ExpectFormatError("%f", {1});
    ExpectFormatError("%e", {"1"});
    ExpectFormatError("%p", {1});
    ExpectFormatError("%s", {static_cast<const void*>(nullptr)});
    ExpectFormatError("%*d", {"5", 1});
    ExpectFormatError("%.*f", {2.0, 1.0});
}

TEST(Format, MissingArgumentsRaise) {
    ExpectFormatError("%s", {});
    ExpectFormatError("%s %s", {"a"});
    ExpectFormatError("%2:s", {"a", "b"});
    ExpectFormatError("%1:s %s", {"a", "b"});
    ExpectFormatError("%*d", {5});
}

TEST(Format, MalformedSpecifiersRaise) {
    ExpectFormatError("abc%", {1});
    ExpectFormatError("%5", {1});
    ExpectFormatError("%-", {1});
    ExpectFormatError("%.", {1});
    ExpectFormatError("%.d", {1});
    ExpectFormatError("%q", {1});
    ExpectFormatError("%1:", {1, 2});
    ExpectFormatError("%--5d", {1});
    ExpectFormatError("%99999999999999999999d", {1});
    ExpectFormatError("%.99999999999999999999s", {"a"});
    ExpectFormatError("%99999999999999999999:d", {1});
    ExpectFormatError("%*d", {std::numeric_limits<Int64>::min(), 1});
    ExpectFormatError("%.*s", {Int64(1) << 40, "a"});
}

TEST(Format, LargeButSaneWidthsWork) {
    AnsiString padded = Format("%1000d", {7});
    ASSERT_EQ(padded.size(), 1000u);
    EXPECT_EQ(padded.back(), '7');
    EXPECT_EQ(padded.find_first_not_of(' '), 999u);
}

// Random format strings over the specifier alphabet either format or raise
// EConvertError; under the sanitizers this also proves no argument is read
// past the end of the list.
TEST(Format, RandomFormatStringsNeverMisbehave) {
    const std::string alphabet = "%%%%-*.:0123456789dusxefgnmpDS a";
    std::mt19937 random(20240305);
    const TVarRec args[] = {TVarRec(3),         TVarRec("str"), TVarRec(2.5),
                            TVarRec(Int64(-9)), TVarRec('c'),   TVarRec(true)};
    int formatted = 0, rejected = 0;
    for (int round = 0; round < 20000; ++round) {
        AnsiString fmt;
        std::size_t length = random() % 12;
        for (std::size_t i = 0; i < length; ++i)
            fmt += alphabet[random() % alphabet.size()];
        std::size_t argCount = random() % (std::size(args) + 1);
        try {
            Format(fmt, TVarRecs(args, argCount));
            ++formatted;
        } catch (const EConvertError&) {
            ++rejected;
        }
    }
    EXPECT_GT(formatted, 1000);
    EXPECT_GT(rejected, 1000);
}
