#include "rtl/FormText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>

namespace {

constexpr std::size_t StringPieceLength = 64;
constexpr std::size_t BinaryBytesPerLine = 32;
constexpr std::size_t MaxNameLength = 255;
// A class name's length byte must stay below the 0xF0 prefix mark, or a
// reader would take it for a prefix.
constexpr std::size_t MaxClassNameLength = 239;
constexpr Byte ResourceMark = 0xFF;
constexpr Word RT_RCDATA = 10;
constexpr Word ResourceMemoryFlags = 0x1030;
constexpr char32_t MaxCodePoint = 0x10FFFF;

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

bool IsHexDigit(char C) {
    return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f');
}

unsigned HexValue(char C) {
    if (IsDigit(C))
        return static_cast<unsigned>(C - '0');
    return static_cast<unsigned>((C | 0x20) - 'a' + 10);
}

// Identifiers: ASCII letters, '_' and any byte >= 128 (so UTF-8 names pass),
// then digits as well.
bool IsIdentStart(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_' ||
           static_cast<unsigned char>(C) >= 0x80;
}

bool IsIdentChar(char C) {
    return IsIdentStart(C) || IsDigit(C);
}

bool IsIdent(std::string_view S) {
    if (S.empty() || !IsIdentStart(S[0]))
        return false;
    for (char c : S)
        if (!IsIdentChar(c))
            return false;
    return true;
}

bool IsDottedIdent(std::string_view S) {
    for (std::size_t start = 0;;) {
        std::size_t dot = S.find('.', start);
        if (!IsIdent(S.substr(start, dot - start)))
            return false;
        if (dot == std::string_view::npos)
            return true;
        start = dot + 1;
    }
}

bool IsObjectKeyword(const AnsiString& S) {
    return SameText(S, "object") || SameText(S, "inherited") || SameText(S, "inline");
}

// A property name must not read as the start or the end of an object.
bool IsPropertyName(const AnsiString& S) {
    if (!IsDottedIdent(S))
        return false;
    AnsiString first = S.substr(0, S.find('.'));
    return !IsObjectKeyword(first) && !SameText(first, "end");
}

void AppendCodePoint(WideString& S, char32_t Code) {
    if (Code <= 0xFFFF) {
        S += static_cast<WideChar>(Code);
    } else {
        Code -= 0x10000;
        S += static_cast<WideChar>(0xD800 + (Code >> 10));
        S += static_cast<WideChar>(0xDC00 + (Code & 0x3FF));
    }
}

// ---------------------------------------------------------------------------
// Numbers as text, independent of the process locale

locale_t ClassicLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

template <typename T> T ParseWith(const char* Text, char** End) {
    if constexpr (std::is_same_v<T, float>)
        return strtof_l(Text, End, ClassicLocale());
    else if constexpr (std::is_same_v<T, double>)
        return strtod_l(Text, End, ClassicLocale());
    else
        return strtold_l(Text, End, ClassicLocale());
}

// Decimal float text as the parser scans it; an underflow gives the
// nearest value, an overflow fails.
template <typename T> bool TryParseFloat(const AnsiString& Text, T& Value) {
    char* end = nullptr;
    errno = 0;
    Value = ParseWith<T>(Text.c_str(), &end);
    if (Text.empty() || end != Text.c_str() + Text.size())
        return false;
    return !(errno == ERANGE && std::isinf(Value));
}

// Currency text "[-]digits[.digits]": exact up to four decimals, rounded
// half away from zero beyond.
bool TryParseCurrency(const AnsiString& Text, Currency& Value) {
    std::size_t pos = 0;
    bool negative = !Text.empty() && Text[0] == '-';
    if (negative)
        ++pos;
    constexpr std::uint64_t limit = std::uint64_t(std::numeric_limits<Int64>::max()) + 1;
    std::uint64_t scaled = 0;
    std::size_t digits = 0;
    for (; pos < Text.size() && IsDigit(Text[pos]); ++pos, ++digits) {
        scaled = scaled * 10 + static_cast<unsigned>(Text[pos] - '0');
        if (scaled > limit / 10000)
            return false;
    }
    if (digits == 0)
        return false;
    scaled *= 10000;
    if (pos < Text.size() && Text[pos] == '.') {
        constexpr unsigned unitOfDecimal[] = {1000, 100, 10, 1};
        for (std::size_t decimal = 0; ++pos < Text.size() && IsDigit(Text[pos]); ++decimal) {
            unsigned digit = static_cast<unsigned>(Text[pos] - '0');
            if (decimal < 4)
                scaled += digit * unitOfDecimal[decimal];
            else if (decimal == 4 && digit >= 5)
                ++scaled;
        }
    }
    if (pos != Text.size() || scaled > (negative ? limit : limit - 1))
        return false;
    Value.Scaled = negative ? static_cast<Int64>(0 - scaled) : static_cast<Int64>(scaled);
    return true;
}

// Shortest text that reads back to the same value, always marked as a float.
template <typename T> AnsiString FloatText(T Value) {
    if (!std::isfinite(Value))
        throw EReadError("Invalid property value");
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer), Value);
    AnsiString text(buffer, result.ptr);
    if (text.find_first_of(".e") == AnsiString::npos)
        text += ".0";
    return text;
}

AnsiString CurrencyText(Currency Value) {
    std::uint64_t magnitude =
        Value.Scaled < 0 ? 0 - static_cast<std::uint64_t>(Value.Scaled) : Value.Scaled;
    AnsiString fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
    while (fraction.size() > 1 && fraction.back() == '0')
        fraction.pop_back();
    // Appended piece by piece: a string put in front of a literal sets off a
    // false overlap warning of GCC 12 at -O3.
    AnsiString text = Value.Scaled < 0 ? "-" : "";
    text += std::to_string(magnitude / 10000);
    text += '.';
    text += fraction;
    return text;
}

void WriteText(TStream& Output, const AnsiString& Text) {
    constexpr std::size_t chunk = 1 << 30;
    for (std::size_t done = 0; done < Text.size(); done += chunk)
        Output.WriteBuffer(Text.data() + done,
                           static_cast<Integer>(std::min(chunk, Text.size() - done)));
}

// ---------------------------------------------------------------------------
// Strings as text: a string becomes a row of elements, each a character in
// quotes or a #code, printed in pieces of StringPieceLength elements.

struct TStringElement {
    bool Quoted;
    AnsiString Text; // the quoted bytes, or the "#code"
};
using TStringElements = std::vector<TStringElement>;

TStringElement QuotedElement(std::string_view Bytes) {
    return {true, Bytes == "'" ? AnsiString("''") : AnsiString(Bytes)};
}

TStringElement CodeElement(char32_t Code) {
    AnsiString text = "#";
    text += std::to_string(Code);
    return {false, std::move(text)};
}

bool IsControlCode(char32_t Code) {
    return Code < 32 || Code == 127;
}

bool IsContinuation(const AnsiString& S, std::size_t At, unsigned char Low = 0x80,
                    unsigned char High = 0xBF) {
    if (At >= S.size())
        return false;
    auto byte = static_cast<unsigned char>(S[At]);
    return byte >= Low && byte <= High;
}

// Length of the well-formed UTF-8 sequence at S[At], or 0.
std::size_t UTF8SequenceLength(const AnsiString& S, std::size_t At) {
    auto lead = static_cast<unsigned char>(S[At]);
    if (lead >= 0xC2 && lead <= 0xDF)
        return IsContinuation(S, At + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return IsContinuation(S, At + 1, low, high) && IsContinuation(S, At + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return IsContinuation(S, At + 1, low, high) && IsContinuation(S, At + 2) &&
                       IsContinuation(S, At + 3)
                   ? 4
                   : 0;
    }
    return 0;
}

// 8-bit strings: well-formed UTF-8 stays readable in quotes; control bytes
// and bytes outside well-formed UTF-8 become codes, which read back as
// the same bytes.
TStringElements ElementsOf(const AnsiString& S) {
    TStringElements elements;
    for (std::size_t i = 0; i < S.size();) {
        auto byte = static_cast<unsigned char>(S[i]);
        std::size_t length = byte < 0x80 ? 1 : UTF8SequenceLength(S, i);
        if (length == 0 || IsControlCode(byte))
            elements.push_back(CodeElement(byte));
        else
            elements.push_back(QuotedElement(std::string_view(S).substr(i, length)));
        i += length == 0 ? 1 : length;
    }
    return elements;
}

// Wide strings: characters up to 255 in quotes (as UTF-8), every other
// UTF-16 unit as its own code, so that the text reads back as a wide string
// and a character above U+FFFF is written as its two surrogates, as every
// reader of the format expects.
TStringElements ElementsOf(const WideString& S) {
    TStringElements elements;
    for (const char32_t code : S) {
        if (IsControlCode(code) || code > 255)
            elements.push_back(CodeElement(code));
        else
            elements.push_back(QuotedElement(CodePointsToUTF8(std::u32string_view(&code, 1))));
    }
    return elements;
}

// ---------------------------------------------------------------------------
// Binary to text

class TBinaryToText {
public:
    explicit TBinaryToText(TStream& Input) : FReader(Input) {}

    AnsiString Convert() {
        FReader.ReadSignature();
        ConvertObject(0);
        FText += '\n';
        return std::move(FText);
    }

private:
    [[noreturn]] static void InvalidFormat() { throw EReadError("Invalid stream format"); }

    void StartLine(Integer Level) {
        if (!FText.empty())
            FText += '\n';
        FText.append(static_cast<std::size_t>(2 * Level), ' ');
    }

    void ConvertObject(Integer Level) {
        TReader::TNesting nesting(FReader);
        TFilerFlags flags;
        Integer childPos;
        FReader.ReadPrefix(flags, childPos);
        AnsiString className = FReader.ReadStr();
        AnsiString objectName = FReader.ReadStr();
        if (!IsIdent(className) || className.size() > MaxClassNameLength ||
            (!objectName.empty() && !IsIdent(objectName)))
            InvalidFormat();
        StartLine(Level);
        if (flags.Contains(ffInherited))
            FText += "inherited ";
        else if (flags.Contains(ffInline))
            FText += "inline ";
        else
            FText += "object ";
        if (!objectName.empty())
            FText += objectName + ": ";
        FText += className;
        if (flags.Contains(ffChildPos))
            FText += " [" + IntToStr(childPos) + "]";
        while (!FReader.EndOfList())
            ConvertProperty(Level + 1);
        FReader.ReadListEnd();
        while (!FReader.EndOfList())
            ConvertObject(Level + 1);
        FReader.ReadListEnd();
        StartLine(Level);
        FText += "end";
    }

    void ConvertProperty(Integer Level) {
        AnsiString name = FReader.ReadStr();
        if (!IsPropertyName(name))
            InvalidFormat();
        StartLine(Level);
        FText += name + " = ";
        ConvertValue(Level);
    }

    // Writes the value from the current column; its further lines are
    // indented one level deeper than Level.
    void ConvertValue(Integer Level) {
        switch (FReader.NextValue()) {
        case vaList:
            ConvertList(Level);
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            FText += IntToStr(FReader.ReadInt64());
            break;
        case vaExtended:
            FText += FloatText(FReader.ReadFloat());
            break;
        case vaSingle:
            FText += FloatText(FReader.ReadSingle()) + "s";
            break;
        case vaCurrency:
            FText += CurrencyText(FReader.ReadCurrency()) + "c";
            break;
        case vaDate:
            FText += FloatText(FReader.ReadDate()) + "d";
            break;
        case vaString:
        case vaLString:
            ConvertString(ElementsOf(FReader.ReadString()), Level);
            break;
        case vaWString:
            ConvertString(ElementsOf(FReader.ReadWideString()), Level);
            break;
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull:
            ConvertIdent();
            break;
        case vaSet:
            ConvertSet();
            break;
        case vaCollection:
            ConvertCollection(Level);
            break;
        case vaBinary:
            ConvertBinary(Level);
            break;
        }
    }

    void ConvertIdent() {
        AnsiString ident = FReader.ReadIdent();
        if (!IsDottedIdent(ident))
            InvalidFormat();
        FText += ident;
    }

    void ConvertSet() {
        FText += '[';
        const char* separator = "";
        for (const AnsiString& name : FReader.ReadSet()) {
            if (!IsIdent(name))
                InvalidFormat();
            FText += separator + name;
            separator = ", ";
        }
        FText += ']';
    }

    void ConvertString(const TStringElements& Elements, Integer Level) {
        if (Elements.empty()) {
            FText += "''";
            return;
        }
        for (std::size_t first = 0; first < Elements.size(); first += StringPieceLength) {
            if (first > 0) {
                FText += " +";
                StartLine(Level + 1);
            }
            std::size_t last = std::min(first + StringPieceLength, Elements.size());
            bool inQuotes = false;
            for (std::size_t i = first; i < last; ++i) {
                if (Elements[i].Quoted != inQuotes) {
                    if (inQuotes)
                        FText += '\'';
                    inQuotes = Elements[i].Quoted;
                    if (inQuotes)
                        FText += '\'';
                }
                FText += Elements[i].Text;
            }
            if (inQuotes)
                FText += '\'';
        }
    }

    void ConvertList(Integer Level) {
        FReader.ReadListBegin();
        TReader::TNesting nesting(FReader);
        FText += '(';
        while (!FReader.EndOfList()) {
            StartLine(Level + 1);
            ConvertValue(Level + 1);
        }
        FReader.ReadListEnd();
        FText += ')';
    }

    void ConvertCollection(Integer Level) {
        FReader.CheckValue(vaCollection);
        TReader::TNesting nesting(FReader);
        FText += '<';
        while (!FReader.EndOfList()) {
            StartLine(Level + 1);
            FText += "item";
            TValueType next = FReader.NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32)
                FText += " [" + IntToStr(FReader.ReadInteger()) + "]";
            FReader.ReadListBegin();
            while (!FReader.EndOfList())
                ConvertProperty(Level + 2);
            FReader.ReadListEnd();
            StartLine(Level + 1);
            FText += "end";
        }
        FReader.ReadListEnd();
        FText += '>';
    }

    void ConvertBinary(Integer Level) {
        static constexpr char digits[] = "0123456789ABCDEF";
        std::vector<Byte> data = FReader.ReadBinary();
        FText += '{';
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (i % BinaryBytesPerLine == 0)
                StartLine(Level + 1);
            FText += digits[data[i] >> 4];
            FText += digits[data[i] & 0x0F];
        }
        FText += '}';
    }

    TReader FReader;
    AnsiString FText;
};

// ---------------------------------------------------------------------------
// Text to binary

class TTextToBinary {
public:
    TTextToBinary(TParser& Parser, TStream& Output) : FParser(Parser), FWriter(Output) {}

    // Leaves the root's "end" as the parser's current token.
    void Convert() {
        FWriter.WriteSignature();
        ConvertObject();
    }

private:
    // The binary reader's nesting limit, so that whatever converts reads back.
    class TDepth {
    public:
        explicit TDepth(TTextToBinary& Converter) : FConverter(Converter) {
            if (FConverter.FNesting >= TReader::MaxNesting)
                FConverter.FParser.Error("Nesting too deep");
            ++FConverter.FNesting;
        }
        ~TDepth() { --FConverter.FNesting; }
        TDepth(const TDepth&) = delete;
        TDepth& operator=(const TDepth&) = delete;

    private:
        TTextToBinary& FConverter;
    };

    void CheckNameLength(const AnsiString& Name, std::size_t MaxLength = MaxNameLength) {
        if (Name.size() > MaxLength)
            FParser.Error("Identifier too long");
    }

    AnsiString ReadName(std::size_t MaxLength = MaxNameLength) {
        FParser.CheckToken(toSymbol);
        AnsiString name = FParser.TokenString();
        CheckNameLength(name, MaxLength);
        FParser.NextToken();
        return name;
    }

    Integer ReadInteger() {
        FParser.CheckToken(toInteger);
        Int64 value = FParser.TokenInt();
        if (value < std::numeric_limits<Integer>::min() ||
            value > std::numeric_limits<Integer>::max())
            FParser.Error("Invalid integer value");
        FParser.NextToken();
        return static_cast<Integer>(value);
    }

    bool AtObjectStart() const {
        return FParser.TokenSymbolIs("object") || FParser.TokenSymbolIs("inherited") ||
               FParser.TokenSymbolIs("inline");
    }

    void ConvertObject() {
        TDepth depth(*this);
        TFilerFlags flags;
        if (FParser.TokenSymbolIs("inherited"))
            flags.Include(ffInherited);
        else if (FParser.TokenSymbolIs("inline"))
            flags.Include(ffInline);
        else
            FParser.CheckTokenSymbol("object");
        FParser.NextToken();
        AnsiString objectName;
        AnsiString className;
        if (FParser.Token() != ':')
            className = ReadName();
        if (FParser.Token() == ':') {
            FParser.NextToken();
            objectName = std::move(className);
            className = ReadName(MaxClassNameLength);
        } else {
            CheckNameLength(className, MaxClassNameLength);
        }
        Integer childPos = 0;
        if (FParser.Token() == '[') {
            FParser.NextToken();
            childPos = ReadInteger();
            FParser.CheckToken(']');
            FParser.NextToken();
            flags.Include(ffChildPos);
        }
        FWriter.WritePrefix(flags, childPos);
        FWriter.WriteStr(className);
        FWriter.WriteStr(objectName);
        while (!FParser.TokenSymbolIs("end") && !AtObjectStart())
            ConvertProperty();
        FWriter.WriteListEnd();
        while (!FParser.TokenSymbolIs("end")) {
            ConvertObject();
            FParser.NextToken();
        }
        FWriter.WriteListEnd();
    }

    void ConvertProperty() {
        AnsiString name = FParser.TokenComponentIdent();
        CheckNameLength(name);
        FParser.NextToken();
        FParser.CheckToken('=');
        FParser.NextToken();
        FWriter.WriteStr(name);
        ConvertValue(false);
    }

    void ConvertValue(bool InList) {
        switch (FParser.Token()) {
        case toInteger:
            FWriter.WriteInteger(FParser.TokenInt());
            FParser.NextToken();
            break;
        case toFloat:
            ConvertFloat();
            FParser.NextToken();
            break;
        case toString:
        case toWString:
            ConvertString();
            break;
        case toSymbol:
            ConvertIdent(InList);
            break;
        case '[':
            ConvertSet();
            break;
        case '(':
            ConvertList();
            break;
        case '<':
            ConvertCollection();
            break;
        case '{':
            ConvertBinary();
            break;
        default:
            FParser.Error("Invalid property value");
        }
    }

    void ConvertFloat() {
        AnsiString text = FParser.TokenString();
        if (FParser.FloatType() != 0)
            text.pop_back();
        bool valid = false;
        switch (FParser.FloatType()) {
        case 's': {
            float value;
            valid = TryParseFloat(text, value);
            if (valid)
                FWriter.WriteSingle(value);
            break;
        }
        case 'c': {
            Currency value;
            valid = TryParseCurrency(text, value);
            if (valid)
                FWriter.WriteCurrency(value);
            break;
        }
        case 'd': {
            double value;
            valid = TryParseFloat(text, value);
            if (valid)
                FWriter.WriteDate(value);
            break;
        }
        default:
            FWriter.WriteFloat(FParser.TokenFloat());
            valid = true;
        }
        if (!valid)
            FParser.Error("Invalid floating point value");
    }

    void ConvertString() {
        AnsiString narrow;
        WideString wide;
        bool isWide = false;
        for (;;) {
            narrow += FParser.TokenString();
            wide += FParser.TokenWideString();
            isWide = isWide || FParser.Token() == toWString;
            if (FParser.NextToken() != '+')
                break;
            if (FParser.NextToken() != toString && FParser.Token() != toWString)
                FParser.Error("String expected");
        }
        if (isWide)
            FWriter.WriteWideString(wide);
        else
            FWriter.WriteString(narrow);
    }

    void ConvertIdent(bool InList) {
        AnsiString ident = FParser.TokenComponentIdent();
        CheckNameLength(ident);
        // In a list vaNull would end the list, so Null stays an identifier.
        if (InList && SameText(ident, "Null")) {
            FWriter.WriteValue(vaIdent);
            FWriter.WriteStr(ident);
        } else {
            FWriter.WriteIdent(ident);
        }
        FParser.NextToken();
    }

    void ConvertSet() {
        std::vector<AnsiString> names;
        if (FParser.NextToken() != ']') {
            names.push_back(ReadName());
            while (FParser.Token() == ',') {
                FParser.NextToken();
                names.push_back(ReadName());
            }
        }
        FParser.CheckToken(']');
        FParser.NextToken();
        FWriter.WriteSet(names);
    }

    void ConvertList() {
        TDepth depth(*this);
        FWriter.WriteListBegin();
        FParser.NextToken();
        while (FParser.Token() != ')')
            ConvertValue(true);
        FWriter.WriteListEnd();
        FParser.NextToken();
    }

    void ConvertCollection() {
        TDepth depth(*this);
        FWriter.WriteValue(vaCollection);
        FParser.NextToken();
        while (FParser.Token() != '>') {
            FParser.CheckTokenSymbol("item");
            FParser.NextToken();
            if (FParser.Token() == '[') {
                FParser.NextToken();
                FWriter.WriteInteger(ReadInteger());
                FParser.CheckToken(']');
                FParser.NextToken();
            }
            FWriter.WriteListBegin();
            while (!FParser.TokenSymbolIs("end"))
                ConvertProperty();
            FWriter.WriteListEnd();
            FParser.NextToken();
        }
        FWriter.WriteListEnd();
        FParser.NextToken();
    }

    void ConvertBinary() {
        std::vector<Byte> data = FParser.HexToBinary();
        FParser.CheckToken('}');
        FParser.NextToken();
        FWriter.WriteBinary(data.data(), static_cast<Integer>(data.size()));
    }

    TParser& FParser;
    TWriter FWriter;
    Integer FNesting = 0;
};

} // namespace

// ---------------------------------------------------------------------------
// TParser

TParser::TParser(TStream& Stream) : FOrigin(Stream.Position()) {
    Int64 size = Stream.Size() - FOrigin;
    if (size > std::numeric_limits<Integer>::max())
        throw EReadError("Form text too large");
    if (size > 0) {
        FText.resize(static_cast<std::size_t>(size));
        Stream.ReadBuffer(FText.data(), static_cast<Integer>(size));
    }
    NextToken();
}

char TParser::Peek(std::size_t Offset) const {
    return FPos + Offset < FText.size() ? FText[FPos + Offset] : '\0';
}

void TParser::SkipBlanks() {
    for (; !AtEnd() && IsBlank(FText[FPos]); ++FPos)
        if (FText[FPos] == '\n')
            ++FLine;
}

char TParser::NextToken() {
    SkipBlanks();
    FTokenStart = FPos;
    FTokenLine = FLine;
    FFloatType = 0;
    char c = Peek();
    if (AtEnd()) {
        FToken = toEOF;
    } else if (IsIdentStart(c)) {
        ScanSymbol();
    } else if (c == '\'' || c == '#') {
        ScanString();
    } else if (IsDigit(c) || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$')) ||
               (c == '$' && IsHexDigit(Peek(1)))) {
        ScanNumber();
    } else {
        FToken = c;
        ++FPos;
    }
    return FToken;
}

void TParser::ScanSymbol() {
    while (!AtEnd() && IsIdentChar(FText[FPos]))
        ++FPos;
    FToken = toSymbol;
}

void TParser::ScanNumber() {
    FToken = toInteger;
    if (Peek() == '-')
        ++FPos;
    if (Peek() == '$') {
        ++FPos;
        if (!IsHexDigit(Peek()))
            Error("Number expected");
        while (IsHexDigit(Peek()))
            ++FPos;
        return;
    }
    while (IsDigit(Peek()))
        ++FPos;
    // Other writers end a float at its point ("1." and "1.e5").
    if (Peek() == '.' && Peek(1) != '.') {
        FToken = toFloat;
        for (++FPos; IsDigit(Peek());)
            ++FPos;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
        FToken = toFloat;
        for (FPos += 2; IsDigit(Peek());)
            ++FPos;
    }
    char suffix = static_cast<char>(Peek() | 0x20);
    if (suffix == 's' || suffix == 'c' || suffix == 'd') {
        FToken = toFloat;
        FFloatType = suffix;
        ++FPos;
    }
}

void TParser::ScanQuoted(AnsiString& Bytes) {
    for (++FPos;; ++FPos) {
        if (AtEnd() || FText[FPos] == '\n' || FText[FPos] == '\r')
            Error("Unterminated string");
        if (FText[FPos] == '\'') {
            if (Peek(1) != '\'') {
                ++FPos;
                return;
            }
            ++FPos;
        }
        Bytes += FText[FPos];
    }
}

char32_t TParser::ScanCharCode() {
    ++FPos;
    bool hex = Peek() == '$';
    if (hex)
        ++FPos;
    if (!(hex ? IsHexDigit(Peek()) : IsDigit(Peek())))
        Error("Invalid character code");
    char32_t code = 0;
    for (; hex ? IsHexDigit(Peek()) : IsDigit(Peek()); ++FPos) {
        code = code * (hex ? 16 : 10) + HexValue(Peek());
        if (code > MaxCodePoint)
            Error("Invalid character code");
    }
    return code;
}

void TParser::ScanString() {
    AnsiString bytes;
    FWideValue.clear();
    bool wide = false;
    for (;;) {
        if (Peek() == '\'') {
            AnsiString run;
            ScanQuoted(run);
            bytes += run;
            FWideValue += UTF8Decode(run);
        } else if (Peek() == '#') {
            char32_t code = ScanCharCode();
            if (code <= 255)
                bytes += static_cast<char>(code);
            else
                wide = true;
            AppendCodePoint(FWideValue, code);
        } else {
            break;
        }
    }
    FToken = wide ? toWString : toString;
    FStringValue = wide ? UTF8Encode(FWideValue) : std::move(bytes);
}

AnsiString TParser::TokenString() const {
    if (FToken == toString || FToken == toWString)
        return FStringValue;
    return FText.substr(FTokenStart, FPos - FTokenStart);
}

WideString TParser::TokenWideString() const {
    if (FToken == toString || FToken == toWString)
        return FWideValue;
    return UTF8Decode(TokenString());
}

Int64 TParser::TokenInt() const {
    CheckToken(toInteger);
    AnsiString text = TokenString();
    std::size_t pos = 0;
    bool negative = text[0] == '-';
    if (negative)
        ++pos;
    std::uint64_t magnitude = 0;
    if (text[pos] == '$') {
        if (text.size() - pos - 1 > 16)
            Error("Invalid integer value");
        for (++pos; pos < text.size(); ++pos)
            magnitude = magnitude << 4 | HexValue(text[pos]);
    } else {
        constexpr std::uint64_t limit = std::uint64_t(std::numeric_limits<Int64>::max()) + 1;
        for (; pos < text.size(); ++pos) {
            if (magnitude > limit / 10)
                Error("Invalid integer value");
            magnitude = magnitude * 10 + static_cast<unsigned>(text[pos] - '0');
        }
        if (magnitude > (negative ? limit : limit - 1))
            Error("Invalid integer value");
    }
    return static_cast<Int64>(negative ? 0 - magnitude : magnitude);
}

Extended TParser::TokenFloat() const {
    AnsiString text = TokenString();
    if (FFloatType != 0)
        text.pop_back();
    Extended value;
    if (!TryParseFloat(text, value))
        Error("Invalid floating point value");
    return value;
}

bool TParser::TokenSymbolIs(const AnsiString& S) const {
    return FToken == toSymbol && SameText(TokenString(), S);
}

AnsiString TParser::TokenComponentIdent() {
    CheckToken(toSymbol);
    while (Peek() == '.') {
        ++FPos;
        if (!IsIdentStart(Peek()))
            Error("Identifier expected");
        ScanSymbol();
    }
    return TokenString();
}

void TParser::CheckToken(char T) const {
    if (FToken == T)
        return;
    switch (T) {
    case toSymbol:
        Error("Identifier expected");
    case toString:
    case toWString:
        Error("String expected");
    case toInteger:
    case toFloat:
        Error("Number expected");
    default:
        Error(AnsiString("'") + T + "' expected");
    }
}

void TParser::CheckTokenSymbol(const AnsiString& S) const {
    if (!TokenSymbolIs(S))
        Error("'" + S + "' expected");
}

void TParser::Error(const AnsiString& Message) const {
    throw EParserError(Message + " on line " + IntToStr(FTokenLine));
}

std::vector<Byte> TParser::HexToBinary() {
    CheckToken('{');
    std::vector<Byte> data;
    for (;;) {
        SkipBlanks();
        FTokenStart = FPos;
        FTokenLine = FLine;
        if (Peek() == '}') {
            FToken = '}';
            ++FPos;
            return data;
        }
        if (!IsHexDigit(Peek()) || !IsHexDigit(Peek(1)))
            Error("Invalid binary value");
        data.push_back(static_cast<Byte>(HexValue(Peek()) << 4 | HexValue(Peek(1))));
        FPos += 2;
    }
}

// ---------------------------------------------------------------------------
// Converters

void ObjectBinaryToText(TStream& Input, TStream& Output) {
    WriteText(Output, TBinaryToText(Input).Convert());
}

void ObjectTextToBinary(TStream& Input, TStream& Output) {
    TMemoryStream binary;
    TParser parser(Input);
    TTextToBinary(parser, binary).Convert();
    Output.CopyFrom(binary, 0);
    Input.SetPosition(parser.SourcePos());
}

void ObjectResourceToText(TStream& Input, TStream& Output) {
    ReadResourceHeader(Input);
    ObjectBinaryToText(Input, Output);
}

void ObjectTextToResource(TStream& Input, TStream& Output) {
    TMemoryStream binary;
    ObjectTextToBinary(Input, binary);
    binary.SetPosition(0);
    TReader reader(binary);
    reader.ReadSignature();
    TFilerFlags flags;
    Integer childPos;
    reader.ReadPrefix(flags, childPos);
    AnsiString className = reader.ReadStr();

    TMemoryStream resource;
    Int64 fixupInfo;
    WriteResourceHeader(resource, className, fixupInfo);
    resource.CopyFrom(binary, 0);
    FixupResourceHeader(resource, fixupInfo);
    Output.CopyFrom(resource, 0);
}

// ---------------------------------------------------------------------------
// Form resource header

void WriteResourceHeader(TStream& Stream, const AnsiString& ResName, Int64& FixupInfo) {
    AnsiString name = UpperCase(ResName);
    if (name.empty() || name.size() > MaxNameLength || name.find('\0') != AnsiString::npos)
        throw EWriteError("Invalid resource name");
    std::vector<Byte> header{ResourceMark, RT_RCDATA & 0xFF, RT_RCDATA >> 8};
    header.insert(header.end(), name.begin(), name.end());
    header.push_back(0);
    header.push_back(ResourceMemoryFlags & 0xFF);
    header.push_back(ResourceMemoryFlags >> 8);
    Stream.WriteBuffer(header.data(), static_cast<Integer>(header.size()));
    FixupInfo = Stream.Position();
    const Byte unknownSize[4] = {};
    Stream.WriteBuffer(unknownSize, sizeof(unknownSize));
}

void FixupResourceHeader(TStream& Stream, Int64 FixupInfo) {
    Int64 end = Stream.Position();
    Int64 size = end - (FixupInfo + 4);
    if (size < 0 || size > Int64(std::numeric_limits<Cardinal>::max()))
        throw EWriteError("Invalid resource size");
    const Byte bytes[4] = {static_cast<Byte>(size), static_cast<Byte>(size >> 8),
                           static_cast<Byte>(size >> 16), static_cast<Byte>(size >> 24)};
    Stream.SetPosition(FixupInfo);
    Stream.WriteBuffer(bytes, sizeof(bytes));
    Stream.SetPosition(end);
}

TResourceHeader ReadResourceHeader(TStream& Stream) {
    Byte start[3];
    Stream.ReadBuffer(start, sizeof(start));
    if (start[0] != ResourceMark || start[1] != (RT_RCDATA & 0xFF) || start[2] != (RT_RCDATA >> 8))
        throw EReadError("Invalid stream format");
    TResourceHeader header;
    for (char c;;) {
        Stream.ReadBuffer(&c, 1);
        if (c == '\0')
            break;
        if (header.Name.size() == MaxNameLength)
            throw EReadError("Invalid stream format");
        header.Name += c;
    }
    Byte rest[6];
    Stream.ReadBuffer(rest, sizeof(rest));
    header.DataSize = static_cast<Cardinal>(rest[2]) | static_cast<Cardinal>(rest[3]) << 8 |
                      static_cast<Cardinal>(rest[4]) << 16 | static_cast<Cardinal>(rest[5]) << 24;
    if (header.DataSize > Stream.Size() - Stream.Position())
        throw EReadError("Stream read error");
    return header;
}

TStreamOriginalFormat TestStreamFormat(TStream& Stream) {
    Int64 origin = Stream.Position();
    char head[256];
    auto count = static_cast<std::size_t>(std::max(Stream.Read(head, sizeof(head)), 0));
    Stream.SetPosition(origin);
    std::string_view text(head, count);
    if (text.starts_with(std::string_view(FilerSignature, sizeof(FilerSignature))) ||
        text.starts_with(std::string_view("\xFF\x0A\x00", 3)))
        return sofBinary;
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    std::size_t end = start;
    while (end < text.size() && IsIdentChar(text[end]))
        ++end;
    AnsiString keyword(text.substr(start, end - start));
    if (end < text.size() && IsBlank(text[end]) && IsObjectKeyword(keyword))
        return sofText;
    return sofUnknown;
}
