// Reading and changing Pascal units and project files as the designer does.
#include "designide/PascalSource.h"

#include "rtl/FormText.h"

#include <gtest/gtest.h>

using namespace PascalSource;

namespace {

const AnsiString Unit1 = "unit Unit1;\n\ninterface\n\nuses\n  Classes, QForms;\n\ntype\n"
                         "  TForm1 = class(TForm)\n    Label1: TLabel;\n  private\n    FCount: Integer;\n"
                         "  end;\n\nimplementation\n\n{ end. TForm1 = class(TFake) }\n"
                         "procedure Nothing;\nbegin\n  ShowMessage('end.');\nend;\n\nend.\n";

} // namespace

TEST(PascalSource, FindsTheFormClassOutsideCommentsAndStrings) {
    auto declaration = FindFormClass(Unit1);
    ASSERT_TRUE(declaration);
    EXPECT_EQ(declaration->ClassName, "TForm1");
    EXPECT_EQ(declaration->BaseName, "TForm");
    EXPECT_FALSE(FindFormClass("unit U; interface { T1 = class(TForm) } implementation end."));
    std::vector<TToken> tokens = Tokenize("a := 'it''s' + #13#10; // c\n(* x *) b");
    std::vector<AnsiString> texts;
    for (const TToken& token : tokens)
        texts.push_back(token.Text);
    EXPECT_EQ(texts, (std::vector<AnsiString>{"a", ":", "=", "'it''s'", "+", "#13#10", ";", "// c",
                                              "(* x *)", "b"}));
}

TEST(PascalSource, FieldsAreAddedRenamedAndRemovedInThePublishedPart) {
    AnsiString text = AddField(Unit1, "TForm1", "Button1", "TButton");
    EXPECT_NE(text.find("    Label1: TLabel;\n    Button1: TButton;\n  private"), std::string::npos);
    text = RenameField(text, "TForm1", "button1", "OkButton");
    EXPECT_NE(text.find("    OkButton: TButton;\n"), std::string::npos);
    EXPECT_EQ(RenameField(text, "TForm1", "FCount", "X"), text);
    EXPECT_EQ(RemoveField(text, "TForm1", "OkButton"), Unit1);
    EXPECT_THROW(AddField(Unit1, "TForm2", "A", "TB"), EParserError);
}

TEST(PascalSource, UsesClauseGainsAUnitOnce) {
    EXPECT_TRUE(UsesUnit(Unit1, "qforms"));
    EXPECT_FALSE(UsesUnit(Unit1, "QStdCtrls"));
    AnsiString text = AddUsedUnit(Unit1, "QStdCtrls");
    EXPECT_NE(text.find("  Classes, QForms, QStdCtrls;\n"), std::string::npos);
    EXPECT_EQ(AddUsedUnit(text, "QStdCtrls"), text);
    EXPECT_EQ(AddUsedUnit("unit U;\ninterface\nimplementation\nend.\n", "Data"),
              "unit U;\ninterface\n\nuses\n  Data;\nimplementation\nend.\n");
}

TEST(PascalSource, MethodsGetDeclarationAndSkeletonBeforeTheFinalEnd) {
    EXPECT_EQ(MethodHeader("TForm1", "FormCreate", "Sender: TObject"),
              "procedure TForm1.FormCreate(Sender: TObject);");
    AnsiString text = AddMethod(Unit1, "TForm1", "FormCreate", "Sender: TObject");
    EXPECT_NE(text.find("    Label1: TLabel;\n    procedure FormCreate(Sender: TObject);\n  private"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("end;\n\nprocedure TForm1.FormCreate(Sender: TObject);\nbegin\n\nend;\n\nend.\n"));
    EXPECT_TRUE(MethodExists(text, "TForm1", "formcreate"));
    EXPECT_FALSE(MethodExists(Unit1, "TForm1", "FormCreate"));
    EXPECT_EQ(MethodLine(text, "TForm1", "FormCreate"), 24);
    EXPECT_EQ(MethodLine(Unit1, "TForm1", "FormCreate"), 0);
}

TEST(PascalSource, ProjectUnitsWithFilesAndForms) {
    const AnsiString project = "program P;\n\nuses\n  QForms,\n  Unit1 in 'Unit1.pas' {Form1},\n"
                               "  Data in 'sub/Data.pas' {DataModule1: TDataModule};\n\nbegin\nend.\n";
    EXPECT_EQ(ProgramName(project), "P");
    std::vector<TProjectUnit> units = ProjectUnits(project, true);
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[1].UnitName, "Data");
    EXPECT_EQ(units[1].FileName, "sub/Data.pas");
    EXPECT_EQ(units[1].FormName, "DataModule1");
    EXPECT_EQ(units[1].FormBase, "TDataModule");
    EXPECT_EQ(ProjectUnits(project).size(), 3u);
    AnsiString added = AddProjectUnit(project, TProjectUnit{"Unit2", "Unit2.pas", "Form2", ""});
    EXPECT_NE(added.find("{DataModule1: TDataModule},\n  Unit2 in 'Unit2.pas' {Form2};"), std::string::npos);
    EXPECT_EQ(RemoveProjectUnit(added, "unit2"), project);
    EXPECT_EQ(RemoveProjectUnit(project, "QForms"),
              "program P;\n\nuses\n  Unit1 in 'Unit1.pas' {Form1},\n"
              "  Data in 'sub/Data.pas' {DataModule1: TDataModule};\n\nbegin\nend.\n");
}
