// Arbitrary bytes as Pascal source. The tokens lie in order inside the
// text, none empty and none overlapping, white space only between them;
// each knows its line; a quoted piece reads back from its own quoting and
// a control character has a code of one byte or none.
#include "ide/QzxPasLexer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

AnsiString Quoted(const AnsiString& Value) {
    AnsiString text = "'";
    for (const char ch : Value)
        text += ch == '\'' ? AnsiString("''") : AnsiString(1, ch);
    return text + "'";
}

void CheckToken(const AnsiString& Source, const TPasToken& Token) {
    switch (Token.Kind) {
    case TPasTokenKind::QuotedString: {
        const AnsiString value = QuotedValue(Source, Token);
        if (Quoted(value) != TokenText(Source, Token))
            std::abort();
        break;
    }
    case TPasTokenKind::ControlChar: {
        const Integer code = ControlCharCode(Source, Token);
        if (code < -1 || code > 255)
            std::abort();
        break;
    }
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const AnsiString source(reinterpret_cast<const char*>(Data), Size);
    const std::vector<TPasToken> tokens = TokenizePascal(source);
    std::size_t position = 0;
    std::size_t line = 0;
    for (const TPasToken& token : tokens) {
        if (token.Length == 0 || token.Start < position || token.End() > source.size())
            std::abort();
        for (; position < token.Start; ++position) {
            if (static_cast<unsigned char>(source[position]) > ' ')
                std::abort();
            line += source[position] == '\n';
        }
        if (token.Line != line)
            std::abort();
        line += static_cast<std::size_t>(std::count(source.begin() + static_cast<std::ptrdiff_t>(token.Start),
                                                    source.begin() + static_cast<std::ptrdiff_t>(token.End()), '\n'));
        position = token.End();
        CheckToken(source, token);
    }
    return 0;
}
