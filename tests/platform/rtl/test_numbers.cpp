#include "rtl/SysUtils.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

// Sets the separators the float conversions use and puts the old ones back.
class Separators {
public:
    Separators(char Decimal, char Thousand)
        : FDecimal(DecimalSeparator), FThousand(ThousandSeparator) {
        DecimalSeparator = Decimal;
        ThousandSeparator = Thousand;
    }
    ~Separators() {
        DecimalSeparator = FDecimal;
        ThousandSeparator = FThousand;
    }

private:
    char FDecimal, FThousand;
};

template <typename Call> void ExpectConvertError(Call call, const AnsiString& Message) {
    EXPECT_EQ(zxtest::MessageOf<EConvertError>(call), Message);
}

} // namespace

TEST(IntToText, DecimalAndHex) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-5), "-5");
    EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0xABC, 1), "ABC");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
}

TEST(StrToInt, AcceptsPascalIntegerText) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("   42"), 42);
    EXPECT_EQ(StrToInt("-17"), -17);
    EXPECT_EQ(StrToInt("+8"), 8);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("0X1F"), 31);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<Integer>::min());
    // Hex text may fill every bit, as in Pascal.
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("$80000000"), std::numeric_limits<Integer>::min());
    EXPECT_EQ(StrToIntDef("$1F", 0), 31);
}

TEST(StrToInt, RejectsEverythingElse) {
    for (const char* text : {"", "   ", "-", "+", "$", "0x", "12a", "1 2", "42 ", "--1", "1.0",
                             "2147483648", "-2147483649", "$100000000", "0x1G", "x1F", "$-1"}) {
        Integer value = 0;
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
        EXPECT_EQ(StrToIntDef(text, 7), 7) << text;
    }
    ExpectConvertError([] { StrToInt("12a"); }, "'12a' is not a valid integer value");
    ExpectConvertError([] { StrToInt(""); }, "'' is not a valid integer value");
}

TEST(StrToInt64, UsesTheFullRange) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<Int64>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<Int64>::min());
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("4294967296"), Int64(1) << 32);
    EXPECT_EQ(StrToInt64Def("9223372036854775808", -3), -3);
    EXPECT_EQ(StrToInt64Def("$10000000000000000", -3), -3);
    Int64 value = 0;
    EXPECT_TRUE(TryStrToInt64(" 0x7fffffffffffffff", value));
    EXPECT_EQ(value, std::numeric_limits<Int64>::max());
    ExpectConvertError([] { StrToInt64("1e3"); }, "'1e3' is not a valid integer value");
}

TEST(FloatToStr, GeneralFormatWithFifteenDigits) {
    Separators separators('.', ',');
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(FloatToStr(-2.25), "-2.25");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(FloatToStr(1234567.5), "1234567.5");
    EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(-1.5e300), "-1.5E300");
    EXPECT_EQ(FloatToStr(123456789012345678.0), "1.23456789012346E17");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(0.000015), "1.5E-5");
    EXPECT_EQ(FloatToStr(9.999999999999999e-5), "0.0001");
    EXPECT_EQ(FloatToStr(NAN), "NAN");
    EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
}

TEST(FloatToStrF, EachFormatAndItsLimits) {
    Separators separators('.', ',');
    EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), "1.235E+03");
    EXPECT_EQ(FloatToStrF(-0.5, ffExponent, 1, 0), "-5E-1");
    EXPECT_EQ(FloatToStrF(1234.5, ffFixed, 15, 1), "1234.5");
    EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), "1E20");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2), "1,234,567.89");
    // Precision is clamped to 18 digits, exponent digits to 4.
    EXPECT_EQ(FloatToStrF(0.5, ffExponent, 30, 9), "5.00000000000000000E-0001");
    EXPECT_EQ(FloatToStrF(0.5, ffGeneral, 0, 0), "0.5");
    EXPECT_EQ(FloatToStrF(2.5, ffFixed, 18, -3), "3");
}

TEST(FloatToStrF, EighteenDigitsShowTheBinaryValue) {
    Separators separators('.', ',');
    EXPECT_EQ(FloatToStrF(0.1, ffGeneral, 18, 0), "0.100000000000000006");
    EXPECT_EQ(FloatToStrF(0.1L, ffGeneral, 18, 0), "0.1");
    EXPECT_EQ(FloatToStrF(1.0L / 3, ffGeneral, 18, 0), "0.333333333333333333");
    EXPECT_EQ(FloatToStr(2.0L / 3), "0.666666666666667");
}

TEST(StrToFloat, ParsesPascalFloatText) {
    Separators separators('.', ',');
    EXPECT_EQ(StrToFloat("1.5"), 1.5L);
    EXPECT_EQ(StrToFloat(" 2.5 "), 2.5L);
    EXPECT_EQ(StrToFloat("-1e3"), -1000.0L);
    EXPECT_EQ(StrToFloat("1E+2"), 100.0L);
    EXPECT_EQ(StrToFloat("2.5e-1"), 0.25L);
    EXPECT_EQ(StrToFloat(".5"), 0.5L);
    EXPECT_EQ(StrToFloat("5."), 5.0L);
    EXPECT_EQ(StrToFloat("+3"), 3.0L);
    EXPECT_EQ(StrToFloatDef("x", 1.25), 1.25L);
    for (const char* text : {"", " ", ".", "e5", "1e", "1e+", "1.2.3", "abc", "1,5", "0x10", "inf",
                             "nan", "1 000", "--1", "1e99999"}) {
        Extended value = 0;
        EXPECT_FALSE(TryStrToFloat(text, value)) << text;
    }
    ExpectConvertError([] { StrToFloat("abc"); }, "'abc' is not a valid floating point value");
}

TEST(StrToFloat, UsesTheDecimalSeparator) {
    Separators separators(',', '.');
    EXPECT_EQ(StrToFloat("1,5"), 1.5L);
    EXPECT_EQ(FloatToStr(1.5), "1,5");
    Extended value = 0;
    EXPECT_FALSE(TryStrToFloat("1.5", value));
}

// FloatToStr keeps 15 significant digits, which StrToFloat reads back to
// within the last of them, whatever the decimal separator.
TEST(StrToFloat, RoundTripsFloatToStr) {
    for (char separator : {'.', ','}) {
        Separators separators(separator, separator == '.' ? ',' : '.');
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> mantissa(-10, 10);
        std::uniform_int_distribution<int> exponent(-30, 30);
        for (int i = 0; i < 2000; ++i) {
            double value = mantissa(random) * std::pow(10.0, exponent(random));
            AnsiString text = FloatToStr(value);
            EXPECT_EQ(text.find(separator == '.' ? ',' : '.'), AnsiString::npos) << text;
            Extended back = StrToFloat(text);
            EXPECT_NEAR(static_cast<double>(back), value, std::fabs(value) * 1e-14) << text;
        }
        for (double exact : {0.1, 123.456, -9.87654321e12, 1e-7, 5e-324}) {
            AnsiString text = FloatToStr(exact);
            EXPECT_EQ(FloatToStr(StrToFloat(text)), text);
        }
    }
}
