// CONST mode of the converter: which declarations are string constants,
// their values, and the span edits that make them variables.
#include "ide/QzxLangScan.h"

#include <gtest/gtest.h>

namespace {

const char* const ConstUnit =
    "unit C;\r\ninterface\r\nprocedure P(const S: string = 'p');\r\nconst\r\n"
    "  Hello = 'Hello';  Two: string = 'Two' + // a + in a comment\r\n    #9'lines'#$0D^M;\r\n"
    "  Count = 5;\r\n  Names: array[0..1] of string = ('a', 'b');\r\n"
    "  Joined = 'ab' + Hello;\r\n  High = 'x'#130;\r\nimplementation\r\n"
    "const Tail = 'tail';\r\nprocedure P(const S: string);\r\nconst Local = 'local';\r\n"
    "begin\r\n  S := 'x';\r\nend;\r\nend.\r\n";

} // namespace

TEST(ScanConstants, EvalStringLiteralDecodesEveryCodeAndRefusesWhatItCannotKnow) {
    AnsiString value;
    EXPECT_TRUE(EvalStringLiteral("'a''b' + #9#$0D^M#10'c'", value));
    EXPECT_EQ(value, "a'b\t\r\r\nc");
    for (const char* refused : {"'a' + Other", "'a' +", "#130'a'", "'a' 'b'", "5", "'open"})
        EXPECT_FALSE(EvalStringLiteral(refused, value)) << refused;
}

TEST(ScanConstants, OnlyUnitLevelStringDeclarationsBeforeTheFirstBeginAreStrings) {
    const auto sections = ScanConstSections(ConstUnit);
    ASSERT_EQ(sections.size(), 2u);
    std::vector<std::string> seen;
    for (const auto& section : sections)
        for (const auto& each : section.Declarations)
            seen.push_back(each.Name + (each.IsString ? "=" + each.Value : "") +
                           (each.InInterface ? " i" : "") + (each.UsedInDeclarations ? " used" : ""));
    EXPECT_EQ(seen, std::vector<std::string>({"Hello=Hello i used", "Two=Two\tlines\r\r i", "Count i",
                                              "Names i", "Joined i", "High i", "Tail=tail"}));
}

TEST(ScanConstants, EditsSplitSectionsAndTouchNothingElse) {
    const auto sections = ScanConstSections(ConstUnit);
    const AnsiString converted =
        ApplyEdits(ConstUnit, ConstantEdits(sections, {{false, true, false, false, false, false}, {true}}));
    AnsiString expected = ConstUnit;
    const AnsiString two = "Two: string = 'Two' + // a + in a comment\r\n    #9'lines'#$0D^M;\r\n  Count";
    expected.replace(expected.find(two), two.size(), "var Two: string; (* Two lines   *)\r\n  const Count");
    expected.replace(expected.find("const Tail = 'tail';"), 20, "var Tail: string; (* tail *)");
    EXPECT_EQ(converted, expected);
}

TEST(ScanConstants, MethodBlocksAreFoundPastLocalDeclarationsAndNestedRoutines) {
    const AnsiString text = "implementation\nprocedure TF.FormCreate(Sender: TObject);\nvar S: string;\n"
                            "  procedure Inner; begin end;\nbegin\n  S := '';\nend;\n"
                            "procedure TF.Change;\nbegin\n  UpdateStrings;\nend;\nend.\n";
    const TMethodBlock create = FindMethodBlock(text, "TF", "FormCreate");
    ASSERT_TRUE(create.Found);
    EXPECT_EQ(text.substr(create.AfterBegin, create.EndStart - create.AfterBegin), "\n  S := '';\n");
    EXPECT_FALSE(create.CallsUpdateStrings);
    EXPECT_TRUE(FindMethodBlock(text, "tf", "change").CallsUpdateStrings);
    EXPECT_FALSE(FindMethodBlock(text, "TF", "Missing").Found);
    EXPECT_EQ(LineEndOf(text), "\n");
}
