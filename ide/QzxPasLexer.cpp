#include "ide/QzxPasLexer.h"

#include "rtl/SysUtils.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 65> ReservedWords = {
    "and",         "array",          "as",           "asm",       "begin",      "case",
    "class",       "const",          "constructor",  "destructor", "dispinterface", "div",
    "do",          "downto",         "else",         "end",       "except",     "exports",
    "file",        "finalization",   "finally",      "for",       "function",   "goto",
    "if",          "implementation", "in",           "inherited", "initialization", "inline",
    "interface",   "is",             "label",        "library",   "mod",        "nil",
    "not",         "object",         "of",           "or",        "out",        "packed",
    "procedure",   "program",        "property",     "raise",     "record",     "repeat",
    "resourcestring", "set",         "shl",          "shr",       "string",     "then",
    "threadvar",   "to",             "try",          "type",      "unit",       "until",
    "uses",        "var",            "while",        "with",      "xor"};

bool IsIdentStart(char Ch) { return std::isalpha(static_cast<unsigned char>(Ch)) || Ch == '_'; }
bool IsIdentChar(char Ch) { return IsIdentStart(Ch) || std::isdigit(static_cast<unsigned char>(Ch)); }
bool IsHexDigit(char Ch) { return std::isxdigit(static_cast<unsigned char>(Ch)) != 0; }
bool IsDigit(char Ch) { return std::isdigit(static_cast<unsigned char>(Ch)) != 0; }

class TLexer {
public:
    explicit TLexer(const AnsiString& Source) : FText(Source) {}

    std::vector<TPasToken> Run() {
        while (SkipBlanks())
            FTokens.push_back(Next());
        return std::move(FTokens);
    }

private:
    char At(std::size_t Offset) const { return Offset < FText.size() ? FText[Offset] : '\0'; }

    // Past white space, counting lines; whether a token follows.
    bool SkipBlanks() {
        while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= ' ') {
            if (FText[FPos] == '\n')
                ++FLine;
            ++FPos;
        }
        return FPos < FText.size();
    }

    TPasToken Next() {
        const std::size_t start = FPos;
        const std::size_t line = FLine;
        const TPasTokenKind kind = Read();
        return TPasToken{kind, start, FPos - start, line};
    }

    TPasTokenKind Read() {
        const char ch = FText[FPos];
        if (ch == '{')
            return ReadComment("}", 1);
        if (ch == '(' && At(FPos + 1) == '*')
            return ReadComment("*)", 2);
        if (ch == '/' && At(FPos + 1) == '/')
            return ReadLineComment();
        if (ch == '\'')
            return ReadQuoted();
        if (ch == '#')
            return ReadCharCode();
        if (ch == '^' && CaretIsControlChar())
            return FPos += 2, TPasTokenKind::ControlChar;
        if (IsIdentStart(ch) || (ch == '&' && IsIdentStart(At(FPos + 1))))
            return ReadWord();
        if (IsDigit(ch) || (ch == '$' && IsHexDigit(At(FPos + 1))) ||
            (ch == '%' && (At(FPos + 1) == '0' || At(FPos + 1) == '1')))
            return ReadNumber();
        ++FPos;
        return TPasTokenKind::Symbol;
    }

    TPasTokenKind ReadComment(std::string_view Closer, std::size_t OpenerLength) {
        const bool directive = At(FPos + OpenerLength) == '$';
        const std::size_t close = FText.find(Closer, FPos + OpenerLength);
        const std::size_t end = close == AnsiString::npos ? FText.size() : close + Closer.size();
        FLine += static_cast<std::size_t>(std::count(FText.begin() + static_cast<std::ptrdiff_t>(FPos),
                                                     FText.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
        FPos = end;
        return directive ? TPasTokenKind::Directive : TPasTokenKind::Comment;
    }

    TPasTokenKind ReadLineComment() {
        while (FPos < FText.size() && FText[FPos] != '\n' && FText[FPos] != '\r')
            ++FPos;
        return TPasTokenKind::Comment;
    }

    // A literal never spans lines: a quote left open ends at the line end.
    TPasTokenKind ReadQuoted() {
        ++FPos;
        while (FPos < FText.size()) {
            const char ch = FText[FPos];
            if (ch == '\n' || ch == '\r')
                return TPasTokenKind::UnterminatedString;
            ++FPos;
            if (ch != '\'')
                continue;
            if (At(FPos) != '\'')
                return TPasTokenKind::QuotedString;
            ++FPos;
        }
        return TPasTokenKind::UnterminatedString;
    }

    TPasTokenKind ReadCharCode() {
        ++FPos;
        if (At(FPos) == '$')
            for (++FPos; IsHexDigit(At(FPos));)
                ++FPos;
        else
            while (IsDigit(At(FPos)))
                ++FPos;
        return TPasTokenKind::ControlChar;
    }

    // ^M is a character; after a value (P^) or before an identifier's
    // rest (^TNode) the caret is a pointer symbol.
    bool CaretIsControlChar() const {
        const char letter = At(FPos + 1);
        if (letter < '@' || letter > '_' + 32 || IsIdentChar(At(FPos + 2)))
            return false;
        if (FTokens.empty())
            return true;
        const TPasToken& last = FTokens.back();
        if (last.Kind == TPasTokenKind::Identifier || last.Kind == TPasTokenKind::QuotedString)
            return false;
        const char previous = FText[last.End() - 1];
        return last.Kind != TPasTokenKind::Symbol ||
               (previous != ')' && previous != ']' && previous != '^');
    }

    TPasTokenKind ReadWord() {
        const bool escaped = FText[FPos] == '&';
        const std::size_t start = escaped ? ++FPos : FPos;
        while (IsIdentChar(At(FPos)))
            ++FPos;
        if (escaped)
            return TPasTokenKind::Identifier;
        const AnsiString word = LowerCase(FText.substr(start, FPos - start));
        return std::find(ReservedWords.begin(), ReservedWords.end(), word) != ReservedWords.end()
                   ? TPasTokenKind::Keyword
                   : TPasTokenKind::Identifier;
    }

    TPasTokenKind ReadNumber() {
        const bool hex = FText[FPos] == '$';
        ++FPos;
        while (IsIdentChar(At(FPos)) || (!hex && At(FPos) == '.' && IsDigit(At(FPos + 1))) ||
               (!hex && (At(FPos) == '+' || At(FPos) == '-') &&
                (At(FPos - 1) == 'e' || At(FPos - 1) == 'E')))
            ++FPos;
        return TPasTokenKind::Number;
    }

    const AnsiString& FText;
    std::size_t FPos = 0;
    std::size_t FLine = 0;
    std::vector<TPasToken> FTokens;
};

} // namespace

std::vector<TPasToken> TokenizePascal(const AnsiString& Source) { return TLexer(Source).Run(); }

AnsiString TokenText(const AnsiString& Source, const TPasToken& Token) {
    return Source.substr(Token.Start, Token.Length);
}

bool IsKeyword(const AnsiString& Source, const TPasToken& Token, const char* Word) {
    return Token.Kind == TPasTokenKind::Keyword && LowerCase(TokenText(Source, Token)) == Word;
}

AnsiString QuotedValue(const AnsiString& Source, const TPasToken& Token) {
    AnsiString value;
    for (std::size_t offset = Token.Start + 1; offset + 1 < Token.End(); ++offset) {
        value += Source[offset];
        if (Source[offset] == '\'')
            ++offset;
    }
    return value;
}

Integer ControlCharCode(const AnsiString& Source, const TPasToken& Token) {
    const AnsiString text = TokenText(Source, Token);
    if (text.size() == 2 && text[0] == '^')
        return std::toupper(static_cast<unsigned char>(text[1])) - '@';
    Integer code = -1;
    const AnsiString number = text.substr(1);
    if (number.empty() || number.size() > 9 || !TryStrToInt(number, code) || code < 0 || code > 255)
        return -1;
    return code;
}
