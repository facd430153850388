// The Pascal lexer the source converter decides on: what is a string
// literal, a comment, a compiler directive, a keyword or an identifier.
// Tokens are byte spans of the unit text, so a rewrite can replace exactly
// the characters of a literal and nothing around it.
#pragma once

#include "rtl/System.h"

#include <vector>

enum class TPasTokenKind {
    Identifier,
    Keyword,
    // One quoted piece, its doubled quotes inside: 'it''s'.
    QuotedString,
    // A quoted piece that the line ends before closing.
    UnterminatedString,
    // #13, #$0D or ^M.
    ControlChar,
    Number,
    Comment,
    Directive,
    Symbol,
};

struct TPasToken {
    TPasTokenKind Kind;
    std::size_t Start;  // byte offset in the text
    std::size_t Length; // bytes
    std::size_t Line;   // 0-based line of Start

    std::size_t End() const { return Start + Length; }
};

// The tokens of Source in order; white space is not a token. A comment or
// directive left open runs to the end of the text.
std::vector<TPasToken> TokenizePascal(const AnsiString& Source);

// The token's text.
AnsiString TokenText(const AnsiString& Source, const TPasToken& Token);
// Whether the token is the keyword Word (lower case), in any letter case.
bool IsKeyword(const AnsiString& Source, const TPasToken& Token, const char* Word);
// The value of a quoted piece: the text between its quotes, each doubled
// quote made one.
AnsiString QuotedValue(const AnsiString& Source, const TPasToken& Token);
// The character a control-character token stands for; -1 when its code is
// not a number below 256.
Integer ControlCharCode(const AnsiString& Source, const TPasToken& Token);
