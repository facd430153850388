// Pascal Format. Format strings may come from users (translations), so every
// malformed or mismatched specifier raises EConvertError and no argument is
// ever read past the end of the list.
#include "rtl/SysUtils.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace {

// Widths and precisions above this are refused as malformed: a format string
// from a user must not make Format allocate gigabytes of padding.
constexpr Integer kMaxFieldSize = 1 << 20;

constexpr Integer kDefaultFixedDecimals = 2;
constexpr Integer kDefaultSignificantDigits = 15;
// Pascal formats every float argument with the full precision of Extended.
constexpr Integer kFloatPrecision = 18;
constexpr Integer kExponentDigits = 3;

bool IsUTF8Continuation(char C) {
    return (static_cast<unsigned char>(C) & 0xC0) == 0x80;
}

// Width and precision count characters, not bytes: UTF-8 text is never cut
// inside a character and pads line up.
std::size_t CharacterCount(std::string_view Text) {
    std::size_t count = 0;
    for (char C : Text)
        count += !IsUTF8Continuation(C);
    return count;
}

std::string_view FirstCharacters(std::string_view Text, std::size_t Count) {
    std::size_t seen = 0;
    for (std::size_t at = 0; at < Text.size(); ++at) {
        if (!IsUTF8Continuation(Text[at]) && seen++ == Count)
            return Text.substr(0, at);
    }
    return Text;
}

class TFormatter {
public:
    TFormatter(const AnsiString& Fmt, TVarRecs Args) : FFmt(Fmt), FArgs(Args) {
        FResult.reserve(Fmt.size() + 16 * Args.size());
    }

    AnsiString Run() {
        while (FPos < FFmt.size()) {
            std::size_t percent = FFmt.find('%', FPos);
            if (percent == AnsiString::npos)
                percent = FFmt.size();
            FResult.append(FFmt, FPos, percent - FPos);
            FPos = percent;
            if (FPos < FFmt.size()) {
                ++FPos;
                FormatSpecifier();
            }
        }
        return std::move(FResult);
    }

private:
    struct TFieldFormat {
        bool LeftJustify = false;
        std::size_t Width = 0;
        std::optional<std::size_t> Precision;
    };

    [[noreturn]] void Fail() const {
        throw EConvertError("Format '" + FFmt + "' invalid or incompatible with argument");
    }

    char Peek() const { return FPos < FFmt.size() ? FFmt[FPos] : '\0'; }

    const TVarRec& NextArgument() {
        if (FArgIndex >= FArgs.size())
            Fail();
        return FArgs[FArgIndex++];
    }

    // A run of digits or '*' (an integer taken from the arguments); nothing
    // when neither is there.
    std::optional<Int64> ParseCount() {
        if (Peek() == '*') {
            ++FPos;
            const TVarRec& arg = NextArgument();
            if (arg.VType == TVarRec::vtInteger)
                return arg.VInteger;
            if (arg.VType == TVarRec::vtInt64)
                return arg.VInt64;
            Fail();
        }
        if (Peek() < '0' || Peek() > '9')
            return std::nullopt;
        Int64 value = 0;
        for (; Peek() >= '0' && Peek() <= '9'; ++FPos) {
            value = value * 10 + (Peek() - '0');
            if (value > kMaxFieldSize)
                Fail();
        }
        return value;
    }

    // The magnitude of a width or precision, refused when out of bounds.
    std::size_t FieldSize(Int64 Value) const {
        if (Value < -kMaxFieldSize || Value > kMaxFieldSize)
            Fail();
        return static_cast<std::size_t>(Value < 0 ? -Value : Value);
    }

    // %[index:][-][width][.precision]type, FPos just past the '%'.
    void FormatSpecifier() {
        if (Peek() == '%') {
            FResult += '%';
            ++FPos;
            return;
        }
        TFieldFormat field;
        std::optional<Int64> count = ParseCount();
        if (count && Peek() == ':') {
            if (*count < 0 || *count > kMaxFieldSize)
                Fail();
            FArgIndex = static_cast<std::size_t>(*count);
            ++FPos;
            count.reset();
        }
        if (!count && Peek() == '-') {
            field.LeftJustify = true;
            ++FPos;
        }
        if (!count)
            count = ParseCount();
        if (count) {
            // A negative width from '*' left-justifies, as in C.
            field.LeftJustify = field.LeftJustify || *count < 0;
            field.Width = FieldSize(*count);
        }
        if (Peek() == '.') {
            ++FPos;
            std::optional<Int64> precision = ParseCount();
            if (!precision)
                Fail();
            // A negative precision from '*' counts as none, as in C.
            if (*precision >= 0)
                field.Precision = FieldSize(*precision);
        }
        char type = Peek();
        if (type == '\0')
            Fail();
        ++FPos;
        FormatArgument(type, field);
    }

    void FormatArgument(char Type, const TFieldFormat& Field) {
        switch (Type | 0x20) {
        case 'd':
            return FormatInteger(Field, false, 10);
        case 'u':
            return FormatInteger(Field, true, 10);
        case 'x':
            return FormatInteger(Field, true, 16);
        case 'e':
            return FormatFloat(Field, ffExponent, kDefaultSignificantDigits);
        case 'f':
            return FormatFloat(Field, ffFixed, kDefaultFixedDecimals);
        case 'g':
            return FormatFloat(Field, ffGeneral, kDefaultSignificantDigits);
        case 'n':
            return FormatFloat(Field, ffNumber, kDefaultFixedDecimals);
        case 'm':
            return FormatFloat(Field, ffCurrency, kDefaultFixedDecimals);
        case 'p':
            return FormatPointer(Field);
        case 's':
            return FormatString(Field);
        default:
            Fail();
        }
    }

    // Sign, then zeros, then Body, padded with blanks to the width.
    void AppendField(const TFieldFormat& Field, std::string_view Sign, std::size_t Zeros,
                     std::string_view Body) {
        std::size_t length = Sign.size() + Zeros + CharacterCount(Body);
        std::size_t padding = Field.Width > length ? Field.Width - length : 0;
        if (!Field.LeftJustify)
            FResult.append(padding, ' ');
        FResult += Sign;
        FResult.append(Zeros, '0');
        FResult += Body;
        if (Field.LeftJustify)
            FResult.append(padding, ' ');
    }

    // Integers of vtInteger are 32 bits wide: -1 is FFFFFFFF for %x and %u.
    void FormatInteger(const TFieldFormat& Field, bool Unsigned, int Base) {
        const TVarRec& arg = NextArgument();
        std::uint64_t magnitude;
        bool negative = false;
        if (arg.VType == TVarRec::vtInteger) {
            negative = !Unsigned && arg.VInteger < 0;
            magnitude = Unsigned ? static_cast<std::uint32_t>(arg.VInteger)
                                 : static_cast<std::uint64_t>(arg.VInteger);
        } else if (arg.VType == TVarRec::vtInt64) {
            negative = !Unsigned && arg.VInt64 < 0;
            magnitude = static_cast<std::uint64_t>(arg.VInt64);
        } else {
            Fail();
        }
        if (negative)
            magnitude = 0 - magnitude;
        char digits[24];
        char* end = std::to_chars(digits, digits + sizeof digits, magnitude, Base).ptr;
        for (char* digit = digits; digit != end; ++digit)
            if (*digit >= 'a')
                *digit = static_cast<char>(*digit - 'a' + 'A');
        auto digitCount = static_cast<std::size_t>(end - digits);
        std::size_t zeros =
            Field.Precision && *Field.Precision > digitCount ? *Field.Precision - digitCount : 0;
        AppendField(Field, negative ? "-" : "", zeros, std::string_view(digits, digitCount));
    }

    void FormatFloat(const TFieldFormat& Field, TFloatFormat FloatFormat, Integer DefaultPrecision) {
        const TVarRec& arg = NextArgument();
        if (arg.VType != TVarRec::vtExtended)
            Fail();
        auto precision = Field.Precision ? static_cast<Integer>(*Field.Precision) : DefaultPrecision;
        AnsiString text;
        switch (FloatFormat) {
        case ffExponent:
            text = FloatToStrF(arg.VExtended, ffExponent, precision, kExponentDigits);
            break;
        case ffGeneral:
            text = FloatToStrF(arg.VExtended, ffGeneral, precision, 0);
            break;
        default:
            text = FloatToStrF(arg.VExtended, FloatFormat, kFloatPrecision, precision);
            break;
        }
        AppendField(Field, "", 0, text);
    }

    void FormatPointer(const TFieldFormat& Field) {
        const TVarRec& arg = NextArgument();
        if (arg.VType != TVarRec::vtPointer)
            Fail();
        auto address = reinterpret_cast<std::uintptr_t>(arg.VPointer);
        AppendField(Field, "", 0, IntToHex(static_cast<Int64>(address), 2 * sizeof(std::uintptr_t)));
    }

    void FormatString(const TFieldFormat& Field) {
        const TVarRec& arg = NextArgument();
        switch (arg.VType) {
        case TVarRec::vtString:
        case TVarRec::vtWideString:
        case TVarRec::vtChar:
        case TVarRec::vtWideChar:
            break;
        default:
            Fail();
        }
        std::string_view text = arg.VString;
        if (Field.Precision)
            text = FirstCharacters(text, *Field.Precision);
        AppendField(Field, "", 0, text);
    }

    const AnsiString& FFmt;
    TVarRecs FArgs;
    std::size_t FPos = 0;
    std::size_t FArgIndex = 0;
    AnsiString FResult;
};

} // namespace

AnsiString Format(const AnsiString& Fmt, TVarRecs Args) {
    return TFormatter(Fmt, Args).Run();
}

WideString WideFormat(const WideString& Fmt, std::initializer_list<TVarRec> Args) {
    return UTF8Decode(Format(UTF8Encode(Fmt), Args));
}
