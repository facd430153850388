// String utilities: Abort, trimming, hotkey markers, line wrapping and quoted
// strings. Case rules and StringReplace live in SysUtils_Case.cpp.
#include "rtl/SysUtils.h"

namespace {

// Spaces and control characters; UTF-8 bytes (>= 0x80) are text.
bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}

std::size_t FirstNonBlank(const AnsiString& S) {
    std::size_t at = 0;
    while (at < S.size() && IsBlank(S[at]))
        ++at;
    return at;
}

std::size_t EndOfNonBlank(const AnsiString& S, std::size_t From) {
    std::size_t end = S.size();
    while (end > From && IsBlank(S[end - 1]))
        --end;
    return end;
}

bool IsQuoteChar(char32_t C) {
    return C == '\'' || C == '"';
}
bool IsLineEnd(char32_t C) {
    return C == '\r' || C == '\n';
}

bool IsBreakChar(char32_t C, const TSysCharSet& BreakChars) {
    return C < 0x80 && BreakChars.Contains(static_cast<char>(C));
}

bool StartsAt(const std::u32string& Text, std::size_t At, const std::u32string& Part) {
    return !Part.empty() && Text.compare(At, Part.size(), Part) == 0;
}

} // namespace

void Abort() {
    throw EAbort();
}

AnsiString Trim(const AnsiString& S) {
    std::size_t first = FirstNonBlank(S);
    return S.substr(first, EndOfNonBlank(S, first) - first);
}

AnsiString TrimLeft(const AnsiString& S) {
    return S.substr(FirstNonBlank(S));
}

AnsiString TrimRight(const AnsiString& S) {
    return S.substr(0, EndOfNonBlank(S, 0));
}

AnsiString StripHotkey(const AnsiString& Text) {
    AnsiString result;
    result.reserve(Text.size());
    for (std::size_t at = 0; at < Text.size(); ++at) {
        if (Text[at] == cHotkeyPrefix && ++at == Text.size())
            break;
        result += Text[at];
    }
    return result;
}

// WrapText walks Line one character (code point) at a time, counting columns:
// - A character of BreakChars outside quotes marks a break position.
// - A single or double quote opens a quoted run that the same quote character
//   closes; break characters inside it mark nothing, so it is never broken.
// - Before a character that would stand beyond MaxCol, BreakStr is inserted
//   right after the last break position of the current line, if there is one;
//   counting restarts with the characters after that position. Break
//   characters themselves never cause a break: they stay at the end of their
//   line even past MaxCol, so no line starts with the blank it was broken at.
// - CR, LF and BreakStr already in Line end the current line: the column and
//   the break position start afresh (an open quoted run continues).
// - A word longer than MaxCol without a break position stays whole, and
//   nothing is inserted at the end of Line.
AnsiString WrapText(const AnsiString& Line, const AnsiString& BreakStr,
                    const TSysCharSet& BreakChars, Integer MaxCol) {
    const std::u32string text = UTF8ToCodePoints(Line);
    const std::u32string lineBreak = UTF8ToCodePoints(BreakStr);
    constexpr std::size_t none = std::u32string::npos;
    std::u32string result;
    std::size_t copiedUpTo = 0, breakAfter = none;
    Integer column = 0;
    char32_t openQuote = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (StartsAt(text, at, lineBreak) || IsLineEnd(text[at])) {
            at += StartsAt(text, at, lineBreak) ? lineBreak.size() : 1;
            column = 0, breakAfter = none;
            continue;
        }
        char32_t C = text[at];
        bool marksBreak = openQuote == 0 && IsBreakChar(C, BreakChars);
        if (!marksBreak && column >= MaxCol && breakAfter != none) {
            result.append(text, copiedUpTo, breakAfter + 1 - copiedUpTo);
            result += lineBreak;
            copiedUpTo = breakAfter + 1;
            column = static_cast<Integer>(at - copiedUpTo);
            breakAfter = none;
        }
        ++column;
        if (marksBreak)
            breakAfter = at;
        else if (openQuote == 0 && IsQuoteChar(C))
            openQuote = C;
        else if (C == openQuote)
            openQuote = 0;
        ++at;
    }
    result.append(text, copiedUpTo);
    return CodePointsToUTF8(result);
}

AnsiString WrapText(const AnsiString& Line, Integer MaxCol) {
    return WrapText(Line, sLineBreak, TSysCharSet{' ', '-', '\t'}, MaxCol);
}

AnsiString QuotedStr(const AnsiString& S) {
    return AnsiQuotedStr(S, '\'');
}

AnsiString AnsiQuotedStr(const AnsiString& S, char Quote) {
    AnsiString result;
    result.reserve(S.size() + 2);
    result += Quote;
    for (char C : S) {
        if (C == Quote)
            result += Quote;
        result += C;
    }
    result += Quote;
    return result;
}

AnsiString AnsiExtractQuotedStr(const AnsiString& Src, std::size_t& Pos, char Quote) {
    if (Pos >= Src.size() || Src[Pos] != Quote)
        return AnsiString();
    AnsiString result;
    std::size_t at = Pos + 1;
    while (at < Src.size()) {
        char C = Src[at++];
        if (C == Quote) {
            if (at == Src.size() || Src[at] != Quote)
                break;
            ++at;
        }
        result += C;
    }
    Pos = at;
    return result;
}
