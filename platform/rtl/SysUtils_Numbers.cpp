// Integer and floating-point conversions. Everything is formatted and parsed
// by hand (std::to_chars / std::from_chars underneath), so the C library's
// locale never leaks into the output: only the Pascal globals do.
#include "rtl/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// ---------------------------------------------------------------------------
// Integers

[[noreturn]] void RaiseInvalidInteger(const AnsiString& S) {
    throw EConvertError("'" + S + "' is not a valid integer value");
}

int HexDigitValue(char C) {
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    return -1;
}

// Parses Pascal integer text into a value of Bits bits. Decimal text must fit
// the signed range; hex text may use every bit, as in Pascal ("$FFFFFFFF" is
// -1 for a 32-bit integer).
bool ParseInteger(std::string_view S, int Bits, Int64& Value) {
    std::size_t at = S.find_first_not_of(' ');
    if (at == std::string_view::npos)
        return false;
    bool negative = S[at] == '-';
    if (S[at] == '-' || S[at] == '+')
        ++at;
    bool hex = false;
    if (at < S.size() && S[at] == '$') {
        hex = true;
        ++at;
    } else if (at + 1 < S.size() && S[at] == '0' && (S[at + 1] == 'x' || S[at + 1] == 'X')) {
        hex = true;
        at += 2;
    }
    if (at == S.size())
        return false;

    const std::uint64_t signBit = std::uint64_t(1) << (Bits - 1);
    const std::uint64_t limit = hex ? signBit * 2 - 1 : (negative ? signBit : signBit - 1);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t magnitude = 0;
    for (; at < S.size(); ++at) {
        int digit = hex ? HexDigitValue(S[at]) : (S[at] >= '0' && S[at] <= '9' ? S[at] - '0' : -1);
        if (digit < 0 || magnitude > (limit - static_cast<unsigned>(digit)) / base)
            return false;
        magnitude = magnitude * base + static_cast<unsigned>(digit);
    }
    if (hex && magnitude >= signBit)
        magnitude |= ~(signBit * 2 - 1); // sign-extend the top bit of the type
    Value = static_cast<Int64>(negative ? 0 - magnitude : magnitude);
    return true;
}

// ---------------------------------------------------------------------------
// Floats: a value becomes decimal digits once, and every format lays those
// digits out. Rounding is done on the decimal digits, half away from zero,
// so 0.125 shows as 0.13 with two decimals, as Pascal users expect.

// A long double carries about 19.3 significant decimal digits.
constexpr int kCapturedDigits = 19;
constexpr int kMaxPrecision = 18;
constexpr int kMaxDecimals = 18;
constexpr int kMaxExponentDigits = 4;

struct TFloatDigits {
    bool Negative = false;
    std::string Digits; // significant digits without trailing zeros; empty for zero
    int Exponent = 0;   // the value is 0.Digits * 10^Exponent

    bool IsZero() const { return Digits.empty(); }
};

void StripTrailingZeros(TFloatDigits& D) {
    std::size_t last = D.Digits.find_last_not_of('0');
    D.Digits.resize(last == std::string::npos ? 0 : last + 1);
    if (D.IsZero())
        D.Exponent = 0;
}

TFloatDigits CaptureDigits(Extended Value) {
    TFloatDigits result;
    result.Negative = std::signbit(Value);
    char buffer[64];
    // Both conversions give the correctly rounded digits of the same binary
    // value; the one for double is much faster, and most values are doubles.
    Extended magnitude = std::fabs(Value);
    auto asDouble = static_cast<double>(magnitude);
    auto written = asDouble == magnitude
                       ? std::to_chars(buffer, buffer + sizeof buffer, asDouble,
                                       std::chars_format::scientific, kCapturedDigits - 1)
                       : std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                       std::chars_format::scientific, kCapturedDigits - 1);
    std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    std::size_t exponentAt = text.find('e');
    result.Digits += text[0];
    result.Digits += text.substr(2, exponentAt - 2);
    std::string_view exponentText = text.substr(exponentAt + 1);
    if (exponentText.front() == '+')
        exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    result.Exponent = exponent + 1;
    StripTrailingZeros(result);
    return result;
}

// Keeps the first Keep significant digits, rounding half away from zero.
void RoundDigits(TFloatDigits& D, int Keep) {
    if (Keep < 0) {
        D.Digits.clear();
    } else if (static_cast<std::size_t>(Keep) < D.Digits.size()) {
        bool roundUp = D.Digits[static_cast<std::size_t>(Keep)] >= '5';
        D.Digits.resize(static_cast<std::size_t>(Keep));
        if (roundUp) {
            auto digit = D.Digits.rbegin();
            for (; digit != D.Digits.rend() && *digit == '9'; ++digit)
                *digit = '0';
            if (digit == D.Digits.rend()) {
                D.Digits.insert(D.Digits.begin(), '1');
                ++D.Exponent;
            } else {
                ++*digit;
            }
        }
    }
    StripTrailingZeros(D);
}

char DigitAt(const TFloatDigits& D, int Index) {
    return Index >= 0 && static_cast<std::size_t>(Index) < D.Digits.size()
               ? D.Digits[static_cast<std::size_t>(Index)]
               : '0';
}

// Integer part (grouped by Separator unless it is 0) and Decimals digits.
AnsiString FixedText(const TFloatDigits& D, int Decimals, char Separator) {
    AnsiString text;
    if (D.Negative && !D.IsZero())
        text += '-';
    int integerDigits = std::max(D.Exponent, 0);
    if (integerDigits == 0)
        text += '0';
    for (int i = 0; i < integerDigits; ++i) {
        if (Separator && i > 0 && (integerDigits - i) % 3 == 0)
            text += Separator;
        text += DigitAt(D, i);
    }
    if (Decimals > 0) {
        text += DecimalSeparator;
        for (int i = 0; i < Decimals; ++i)
            text += DigitAt(D, D.Exponent + i);
    }
    return text;
}

// d.dddE+xx with at least MantissaDigits digits and ExponentDigits exponent
// digits; the exponent's plus sign only when ExponentPlus.
AnsiString ScientificText(const TFloatDigits& D, int MantissaDigits, int ExponentDigits,
                          bool ExponentPlus) {
    AnsiString text;
    if (D.Negative && !D.IsZero())
        text += '-';
    int digitCount = std::max(static_cast<int>(D.Digits.size()), std::max(MantissaDigits, 1));
    text += DigitAt(D, 0);
    if (digitCount > 1) {
        text += DecimalSeparator;
        for (int i = 1; i < digitCount; ++i)
            text += DigitAt(D, i);
    }
    int exponent = D.IsZero() ? 0 : D.Exponent - 1;
    text += 'E';
    if (exponent < 0)
        text += '-';
    else if (ExponentPlus)
        text += '+';
    AnsiString exponentText = IntToStr(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(exponentText.size()) < ExponentDigits)
        text.append(static_cast<std::size_t>(ExponentDigits) - exponentText.size(), '0');
    return text + exponentText;
}

// Pascal's general format: fixed while the number has at most Precision
// integer digits and is not below 0.0001, scientific otherwise.
AnsiString GeneralText(TFloatDigits D, int Precision, int ExponentDigits) {
    RoundDigits(D, Precision);
    if (D.IsZero())
        return "0";
    if (D.Exponent > Precision || D.Exponent < -3)
        return ScientificText(D, 0, ExponentDigits, false);
    int decimals = std::max(static_cast<int>(D.Digits.size()) - D.Exponent, 0);
    return FixedText(D, decimals, 0);
}

AnsiString NonFiniteText(Extended Value) {
    if (std::isnan(Value))
        return "NAN";
    return Value < 0 ? "-INF" : "INF";
}

// Turns the text of a Pascal float into the plain form std::from_chars reads:
// [-]digits[.digits][e[-]digits], with at least one mantissa digit.
bool NormaliseFloatText(std::string_view S, std::string& Plain) {
    std::size_t first = S.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    S = S.substr(first, S.find_last_not_of(' ') - first + 1);
    std::size_t at = 0;
    auto takeSign = [&] {
        if (at < S.size() && (S[at] == '+' || S[at] == '-')) {
            if (S[at] == '-')
                Plain += '-';
            ++at;
        }
    };
    auto takeDigits = [&] {
        std::size_t start = at;
        while (at < S.size() && S[at] >= '0' && S[at] <= '9')
            Plain += S[at++];
        return at - start;
    };
    takeSign();
    std::size_t mantissaDigits = takeDigits();
    if (at < S.size() && S[at] == DecimalSeparator) {
        Plain += '.';
        ++at;
        mantissaDigits += takeDigits();
    }
    if (mantissaDigits == 0)
        return false;
    if (at < S.size() && (S[at] == 'e' || S[at] == 'E')) {
        Plain += 'e';
        ++at;
        takeSign();
        if (takeDigits() == 0)
            return false;
    }
    return at == S.size();
}

} // namespace

AnsiString IntToStr(Int64 Value) {
    char buffer[24];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, Value);
    return AnsiString(buffer, written.ptr);
}

AnsiString IntToHex(Int64 Value, Integer Digits) {
    char buffer[24];
    auto written =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(Value), 16);
    AnsiString hex(buffer, written.ptr);
    std::transform(hex.begin(), hex.end(), hex.begin(),
                   [](char C) { return C >= 'a' ? static_cast<char>(C - 'a' + 'A') : C; });
    if (Digits > 0 && hex.size() < static_cast<std::size_t>(Digits))
        hex.insert(0, static_cast<std::size_t>(Digits) - hex.size(), '0');
    return hex;
}

bool TryStrToInt64(const AnsiString& S, Int64& Value) {
    return ParseInteger(S, 64, Value);
}

bool TryStrToInt(const AnsiString& S, Integer& Value) {
    Int64 wide;
    if (!ParseInteger(S, 32, wide))
        return false;
    Value = static_cast<Integer>(wide);
    return true;
}

Integer StrToInt(const AnsiString& S) {
    Integer value;
    if (!TryStrToInt(S, value))
        RaiseInvalidInteger(S);
    return value;
}

Int64 StrToInt64(const AnsiString& S) {
    Int64 value;
    if (!TryStrToInt64(S, value))
        RaiseInvalidInteger(S);
    return value;
}

Integer StrToIntDef(const AnsiString& S, Integer Default) {
    Integer value;
    return TryStrToInt(S, value) ? value : Default;
}

Int64 StrToInt64Def(const AnsiString& S, Int64 Default) {
    Int64 value;
    return TryStrToInt64(S, value) ? value : Default;
}

AnsiString FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits) {
    if (!std::isfinite(Value))
        return NonFiniteText(Value);
    Precision = std::clamp(Precision, 1, kMaxPrecision);
    TFloatDigits digits = CaptureDigits(Value);
    if (Format == ffGeneral || Format == ffExponent) {
        int exponentDigits = std::clamp(Digits, 0, kMaxExponentDigits);
        if (Format == ffGeneral)
            return GeneralText(digits, Precision, exponentDigits);
        RoundDigits(digits, Precision);
        return ScientificText(digits, Precision, exponentDigits, true);
    }

    int decimals = std::clamp(Digits, 0, kMaxDecimals);
    RoundDigits(digits, Precision);
    if (digits.Exponent > Precision)
        return GeneralText(digits, Precision, 0);
    RoundDigits(digits, digits.Exponent + decimals);
    if (Format == ffFixed)
        return FixedText(digits, decimals, 0);
    AnsiString number = FixedText(digits, decimals, ThousandSeparator);
    if (Format == ffNumber)
        return number;
    if (number.front() == '-')
        return "-" + CurrencyString + number.substr(1);
    return CurrencyString + number;
}

AnsiString FloatToStr(Extended Value) {
    return FloatToStrF(Value, ffGeneral, 15, 0);
}

bool TryStrToFloat(const AnsiString& S, Extended& Value) {
    std::string plain;
    if (!NormaliseFloatText(S, plain))
        return false;
    Extended parsed;
    auto read = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (read.ec != std::errc() || read.ptr != plain.data() + plain.size())
        return false;
    Value = parsed;
    return true;
}

Extended StrToFloat(const AnsiString& S) {
    Extended value;
    if (!TryStrToFloat(S, value))
        throw EConvertError("'" + S + "' is not a valid floating point value");
    return value;
}

Extended StrToFloatDef(const AnsiString& S, Extended Default) {
    Extended value;
    return TryStrToFloat(S, value) ? value : Default;
}
