// The Pascal lexer on the shapes the converter must not misread.
#include "ide/QzxPasLexer.h"

#include <gtest/gtest.h>

namespace {

// "Kind:text" of each token.
std::vector<std::string> Tokens(const AnsiString& Source) {
    static const char* const Names[] = {"id", "kw", "str", "open", "ctl", "num", "rem", "dir", "sym"};
    std::vector<std::string> out;
    for (const TPasToken& token : TokenizePascal(Source))
        out.push_back(std::string(Names[static_cast<int>(token.Kind)]) + ":" + TokenText(Source, token));
    return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(PasLexer, QuotedPiecesKeepDoubledQuotesAndControlCodesApartAndEndAtTheLineEnd) {
    EXPECT_EQ(Tokens("'''abc'"), V({"str:'''abc'"}));
    EXPECT_EQ(Tokens("a := 'open\nb"), V({"id:a", "sym::", "sym:=", "open:'open", "id:b"}));
    EXPECT_EQ(Tokens("S:='it''s'#13#$0A^M'x';"),
              V({"id:S", "sym::", "sym:=", "str:'it''s'", "ctl:#13", "ctl:#$0A", "ctl:^M", "str:'x'",
                 "sym:;"}));
    const AnsiString source = "'a''b'''";
    EXPECT_EQ(QuotedValue(source, TokenizePascal(source)[0]), "a'b'");
    // Eight hex digits overflow to a negative number, which is no code either.
    const AnsiString codes = "#9#$0D^M#300#$FFFFFF0A";
    std::vector<Integer> values;
    for (const TPasToken& token : TokenizePascal(codes))
        values.push_back(ControlCharCode(codes, token));
    EXPECT_EQ(values, std::vector<Integer>({9, 13, 13, -1, -1}));
}

TEST(PasLexer, CommentsOfAllKindsHideQuotesAcrossLines) {
    EXPECT_EQ(Tokens("{ it's }x(* 'a'\n*)y// 'b'\n'c'"),
              V({"rem:{ it's }", "id:x", "rem:(* 'a'\n*)", "id:y", "rem:// 'b'", "str:'c'"}));
    EXPECT_EQ(Tokens("{$R *.xfm}(*$I x*){ open"), V({"dir:{$R *.xfm}", "dir:(*$I x*)", "rem:{ open"}));
    EXPECT_EQ(TokenizePascal("{a\nb}\r\n'x'").back().Line, 2u);
}

TEST(PasLexer, CaretIsACharacterOnlyWhereAValueStarts) {
    EXPECT_EQ(Tokens("P^.X := ^M; T = ^TNode;"),
              V({"id:P", "sym:^", "sym:.", "id:X", "sym::", "sym:=", "ctl:^M", "sym:;", "id:T",
                 "sym:=", "sym:^", "id:TNode", "sym:;"}));
}

TEST(PasLexer, KeywordsAreReservedWordsInAnyCaseAndEscapesAreIdentifiers) {
    EXPECT_EQ(Tokens("BEGIN BeginUpdate &begin End 1.5e+3 $FF"),
              V({"kw:BEGIN", "id:BeginUpdate", "id:&begin", "kw:End", "num:1.5e+3", "num:$FF"}));
    const AnsiString source = "Begin";
    EXPECT_TRUE(IsKeyword(source, TokenizePascal(source)[0], "begin"));
}
