// The text form format ("object Form1: TForm1 ... end"), its parser, the
// converters between it and the binary component format, and the form
// resource header that frames binary form files.
#pragma once

#include "rtl/Filer.h"

// A syntax error in form text; the message ends with " on line <n>".
class EParserError : public Exception {
    using Exception::Exception;
};

// Tokens of the form-text parser; punctuation stands for itself.
inline constexpr char toEOF = 0;
inline constexpr char toSymbol = 1;
inline constexpr char toString = 2;
inline constexpr char toInteger = 3;
inline constexpr char toFloat = 4;
inline constexpr char toWString = 5;

// Splits form text into tokens. Symbols are identifiers (letters, digits,
// '_' and bytes >= 128, not starting with a digit); numbers are decimal with
// an optional '-', or '$' hex; a float may carry the suffix s, c or d;
// strings join 'quoted' runs (a quote doubled) and #nnn or #$hh codes, and
// become toWString when a code is above 255.
class TParser {
public:
    // Takes the text from the stream's position to its end and reads the
    // first token.
    explicit TParser(TStream& Stream);
    TParser(const TParser&) = delete;
    TParser& operator=(const TParser&) = delete;

    char Token() const { return FToken; }
    char NextToken();
    // Line of the current token, from 1.
    Integer SourceLine() const { return FTokenLine; }
    // Stream position just after the current token.
    Int64 SourcePos() const { return FOrigin + static_cast<Int64>(FPos); }

    // Symbol or number text as written; for strings the 8-bit value (UTF-8
    // for a toWString).
    AnsiString TokenString() const;
    // The string's value in UTF-16: quoted runs decoded from UTF-8, codes
    // taken as code points.
    WideString TokenWideString() const;
    Int64 TokenInt() const;
    Extended TokenFloat() const;
    // The float's suffix in lower case ('s', 'c' or 'd'), or 0.
    char FloatType() const { return FFloatType; }
    bool TokenSymbolIs(const AnsiString& S) const;
    // A dotted name: the current symbol and any ".symbol" parts after it;
    // leaves the last symbol as the current token.
    AnsiString TokenComponentIdent();

    void CheckToken(char T) const;
    void CheckTokenSymbol(const AnsiString& S) const;
    [[noreturn]] void Error(const AnsiString& Message) const;

    // With '{' as the current token: the hex bytes up to the closing '}',
    // which becomes the current token.
    std::vector<Byte> HexToBinary();

private:
    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek(std::size_t Offset = 0) const;
    void SkipBlanks();
    void ScanSymbol();
    void ScanNumber();
    void ScanString();
    void ScanQuoted(AnsiString& Bytes);
    char32_t ScanCharCode();

    Int64 FOrigin;
    AnsiString FText;
    std::size_t FPos = 0;
    std::size_t FTokenStart = 0;
    Integer FLine = 1;
    Integer FTokenLine = 1;
    char FToken = toEOF;
    char FFloatType = 0;
    AnsiString FStringValue;
    WideString FWideValue;
};

// Converts one object with its properties and children between the two
// formats, from Input's position. Output receives the whole result or,
// when the input is malformed, nothing: EReadError for bad binary input,
// EParserError for bad text.
void ObjectBinaryToText(TStream& Input, TStream& Output);
void ObjectTextToBinary(TStream& Input, TStream& Output);

// The same for binary form resources: a resource header, then the component
// stream. The resource is named after the root's class, upper-cased.
void ObjectResourceToText(TStream& Input, TStream& Output);
void ObjectTextToResource(TStream& Input, TStream& Output);

// The form resource header: byte 0xFF, type 10 (RT_RCDATA) as 2 bytes, the
// name upper-cased and NUL-terminated, memory flags 0x1030 as 2 bytes, and
// the 4-byte length of the component stream that follows. FixupInfo tells
// FixupResourceHeader where to fill in that length once the stream has
// been written after the header.
void WriteResourceHeader(TStream& Stream, const AnsiString& ResName, Int64& FixupInfo);
void FixupResourceHeader(TStream& Stream, Int64 FixupInfo);

struct TResourceHeader {
    AnsiString Name;
    Cardinal DataSize = 0;
};
// Reads and checks a header; "Invalid stream format" when it is not a form
// resource header, "Stream read error" when the stream ends too early.
TResourceHeader ReadResourceHeader(TStream& Stream);

enum TStreamOriginalFormat { sofUnknown, sofBinary, sofText };
// Tells a binary component stream or form resource from form text by the
// first bytes from the stream's position, which it leaves unchanged.
TStreamOriginalFormat TestStreamFormat(TStream& Stream);
