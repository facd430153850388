// The converter's scan of a unit: which literals qualify, at which exact
// span, and the replacement text each gets.
#include "ide/QzxLangScan.h"

#include <gtest/gtest.h>

namespace {

const char* const Header = "unit U;\ninterface\nuses Forms;\ntype TForm1 = class(TForm)\n"
                           "  procedure Go;\nend;\nvar\n  Form1: TForm1;\nimplementation\n";

TScanTarget Target() {
    TScanTarget target;
    target.FormName = "Form1";
    target.FormClassName = "TForm1";
    target.FormUnitName = "U";
    target.ComponentName = "zxLang1";
    return target;
}

// "value@offset:prefix" of each literal found in Header + Body.
std::vector<std::string> Found(const AnsiString& Body, const TScanSettings& Settings = {}) {
    const AnsiString text = Header + Body;
    std::vector<std::string> out;
    for (const TFoundLiteral& each : ScanLiterals(text, Settings, Target())) {
        EXPECT_EQ(text[each.Start], '\'');
        EXPECT_EQ(text[each.Start + each.Length - 1], '\'');
        out.push_back(each.Value + "@" + std::to_string(each.Start - AnsiString(Header).size()) +
                      ":" + each.Prefix);
    }
    return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(ScanLiterals, OnlyStatementLiteralsOutsideCommentsAtTheirOwnSpan) {
    EXPECT_EQ(Found("const C = 'konst';\nprocedure P(const S: string = 'default');\nbegin\nend;\n"
                    "procedure TForm1.Go;\nbegin\n  { it's } A := '''abc'; (* 'no' *)\n"
                    "  B('it''s', 'x', 'yz'); // 'no'\n  BeginUpdate;\nend;\n"),
              V({"'abc@115:zxLang1", "it's@139:zxLang1", "yz@153:zxLang1"}));
}

TEST(ScanLiterals, StartIsTheWordBeginAndDeclarationsAfterItAreLeft) {
    EXPECT_EQ(Found("procedure TForm1.Go;\n  procedure Inner(S: string = 'dflt');\n  const K = 'kk';\n"
                    "  begin Log('in'); end;\nresourcestring R = 'res';\nbegin\n  Log('out');\nend;\n"),
              V({"in@90:Form1.zxLang1", "out@140:zxLang1"}))
        << "a nested plain routine reaches the form through its variable, and the method's "
           "block after it is the method's again";
}

TEST(ScanLiterals, PlacesThatCannotReachTheComponentAreSkipped) {
    const V found = Found("procedure Plain;\nbegin\n  S := 'plain';\nend;\n"
                          "procedure TOther.Run;\nbegin\n  S := 'other';\nend;\n"
                          "initialization\n  S := 'init';\nend.\n");
    EXPECT_EQ(found, V({"plain@30:Form1.zxLang1", "other@79:Form1.zxLang1", "init@115:"}));
}

TEST(ScanLiterals, MarkersKeepBlockAndNextApart) {
    EXPECT_EQ(Found("procedure TForm1.Go;\nbegin\n{TZX:IGNORE ON}\nA('a1');\n{TZX:IGNORE NEXT}\n"
                    "A('a2');\nA('a3');\n{TZX:TRANSLATE NEXT}\nA('a4');\nA('a5');\n{TZX:IGNORE OFF}\n"
                    "A('a6'); {TZX:IGNORE}\nA('a7');\nend;\n"),
              V({"a4@111:zxLang1", "a7@168:zxLang1"}));
}

TEST(ScanLiterals, TextCallsExcludedShortAndOneCharacterLiteralsArePassedOver) {
    TScanSettings settings;
    settings.IsExcluded = [](const AnsiString& Value) { return Value == "skip"; };
    TStringList skipLines;
    skipLines.Add("");
    skipLines.Add("NoTr");
    settings.SkipLines = &skipLines;
    EXPECT_EQ(Found("procedure TForm1.Go;\nbegin\n  A(zxLang1.GetTextOrDefault('ID_1'), 'é', 'skip');\n"
                    "  A('ab'); B('notr', 'cd');\n  A('ef');\nend;\n",
                    settings),
              V({"ef@112:zxLang1"}));
}

TEST(ScanLiterals, ReplacementKeepsExpressionsValidAndTheCommentClosed) {
    const AnsiString text = AnsiString(Header) + "procedure TForm1.Go;\nbegin\n  S := #13'ab*)c''d'#10;\nend;\n";
    TScanSettings settings;
    const auto found = ScanLiterals(text, settings, Target());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(ReplacementText(found[0], "IDS_0", settings),
              " + zxLang1.GetTextOrDefault('IDS_0' (* 'ab* )c''d' *) ) + ");
    EXPECT_EQ(TypecastToPChar(ReplacementText(found[0], "IDS_0", settings)),
              " + PChar(zxLang1.GetTextOrDefault('IDS_0' (* 'ab* )c''d' *) )) + ");
    EXPECT_EQ(TypecastToPChar("X.Get('a');"), "PChar(X.Get('a'));");
    EXPECT_EQ(DisplayText("ääääääääääääääää"), "äääääääääääääää...");
    EXPECT_EQ(WithIdentifier(" + X.Get('IDS_0' (* 'a' *) )", "Name"), " + X.Get('Name' (* 'a' *) )");
}

TEST(ScanLiterals, IdentifiersStepOverUsedOnesAndOnlyIdentifierCharactersAreValid) {
    TStringList used;
    used.SetSorted(true);
    used.SetCaseSensitive(false);
    used.Add("ids_1");
    Integer counter = -1;
    EXPECT_EQ(NextStringID("IDS_", counter, used), "IDS_0");
    EXPECT_EQ(NextStringID("IDS_", counter, used), "IDS_2");
    EXPECT_TRUE(IsValidStringID("IDS_10"));
    EXPECT_FALSE(IsValidStringID(""));
    EXPECT_FALSE(IsValidStringID("A'B"));
    EXPECT_FALSE(IsValidStringID("A B"));
}

TEST(ScanLiterals, EveryCutOfAUnitScansWithSpansInsideTheText) {
    const AnsiString unit = AnsiString(Header) +
                            "const C = 'a' + #13; D: string = 'x'#$0D\n  + 'y';\nprocedure TForm1.Go;\n"
                            "var S: string;\nbegin\n  case S of end; S := 'ab'#9'cd'; (* '{' *) { '(*' }\n"
                            "  asm mov eax, 'ab' end; S := ^M'ef';\nend;\ninitialization\nend.\n";
    for (std::size_t cut = 0; cut <= unit.size(); ++cut) {
        const AnsiString text = unit.substr(0, cut);
        for (const TFoundLiteral& each : ScanLiterals(text, {}, Target()))
            ASSERT_LE(each.Start + each.Length, text.size()) << cut;
        for (const TConstSection& section : ScanConstSections(text))
            for (const TConstDeclaration& each : section.Declarations)
                ASSERT_LE(each.Start + each.Length, text.size()) << cut;
        ASSERT_NO_THROW(FindMethodBlock(text, "TForm1", "Go")) << cut;
    }
    std::vector<std::string> values;
    for (const TFoundLiteral& each : ScanLiterals(unit, {}, Target()))
        values.push_back(each.Value);
    EXPECT_EQ(values, std::vector<std::string>({"ab", "cd", "ef"})) << "nothing in assembler";
}
