// The string-identifier checks on the example project: unused and missing
// identifiers, the calls' qualifiers, the bad-identifier window's jumps,
// and the Translation Editor's source hook on the edited form's unit.
#include "ClxTestSupport.h"
#include "ExpertTestSupport.h"

#include "clx/Grids.h"
#include "editor/FormData.h"
#include "editor/QzxTransEditor.h"
#include "ide/Q_BadIDsForm.h"
#include "ide/Q_stridrepl.h"
#include "ide/QzxLangForm.h"
#include "ide/Qzxpropeditors.h"
#include "runtime/QzxComp.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

using namespace experttest;

namespace {

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

const char* const OrdersCalls =
    "\nprocedure TOrdersForm.Refresh;\nbegin\n"
    "  { zxLang1.GetText('IDS_Commented') }\n"
    "  Caption := 'GetText(''IDS_Commented'')';\n"
    "  Caption := zxLang1.GetTextC('IDS_MissingC') + Self.zxLang1.GetText('IDS_Used');\n"
    "  Hint := MainForm.zxLang1.GetText('IDS_Main') + MainForm.zxLang1.GetText('IDS_NotInMain');\n"
    "  Hint := Nowhere.zxLang1.GetText('IDS_Anything');\n"
    "  Hint := zxLang1.GetTextOrDefault('IDS_Other', 'x') + GetText('IDS_Missing');\n"
    "end;\n";

class TStringIDsTest : public TExpertTest {
protected:
    void SetUp() override {
        InitQzxTransEditor();
        OpenExample();
        Orders = AddLang("Orders.pas", {"IDS_Used", "IDS_Unused", "IDS_Commented", "IDS_Other"});
        AddLang("Main.pas", {"IDS_Main", "IDS_Used"});
        Insert("Orders.pas", OrdersCalls);
        OpenExpertWindow();
        ASSERT_TRUE(frmzxLang);
    }
    void TearDown() override {
        delete frmBadIDs;
        Application->ProcessMessages();
    }

    TzxLang* AddLang(const char* Unit, std::initializer_list<const char*> IDs) {
        auto* lang = NewComponent<TzxLang>(Host.FormOf(File(Unit)));
        lang->SetName("zxLang1");
        for (const char* id : IDs)
            lang->AddString(UTF8Decode(id), {UTF8Decode("text")});
        return lang;
    }
    std::string Source(const char* Unit) { return Module(Unit)->Source().Text(); }
    // Puts Text before At in the unit (its final "end." by default); the unit's text then.
    std::string Insert(const char* Unit, const std::string& Text, const char* At = "\nend.") {
        std::string unit = Source(Unit);
        unit.insert(unit.find(At), Text);
        Module(Unit)->Source().SetText(unit);
        return unit;
    }
    // The 1-based line of the unit holding Text.
    Integer LineOf(const char* Unit, const std::string& Text) {
        const std::string source = Source(Unit);
        return Integer(std::count(source.begin(), source.begin() + long(source.find(Text)), '\n')) + 1;
    }
    void CheckForm(const char* FormName) {
        frmzxLang->lvFormNames->SetSelected(nullptr);
        frmzxLang->FormRow(FormName)->SetSelected(true);
        FormControl<TMenuItem>(frmzxLang, "CheckBadIDs1")->Click();
    }
    // Each row as "ID|type|info|file".
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        TListItems* items = frmBadIDs->IDsList->Items();
        for (Integer index = 0; index < items->Count(); ++index) {
            const TListItem* row = items->Item(index);
            rows.push_back(row->Caption() + "|" + FindingText(row, btType) + "|" +
                           FindingText(row, btInfo) + "|" + FindingText(row, btFileName));
        }
        return rows;
    }
    TListItem* FindingRow(const char* ID) {
        TListItems* items = frmBadIDs->IDsList->Items();
        for (Integer index = 0; index < items->Count(); ++index)
            if (items->Item(index)->Caption() == ID)
                return items->Item(index);
        return nullptr;
    }

    _di_IDesigner DesignerOf(const char* Unit) {
        return Supports<INTAFormEditor>(Module(Unit), IID_INTAFormEditor)->GetFormDesigner();
    }
    // The user types a new identifier into the Strings list's cell of ID.
    static void RenameInEditor(TzxTransEditFrm& Editor, const AnsiString& ID, const AnsiString& NewID) {
        for (TTreeNode* node = Editor.TreeView->Items()->GetFirstNode(); node; node = node->GetNext())
            if (node->Text() == "Strings")
                node->SetSelected(true);
        TStringGrid& grid = *Editor.Grid1;
        for (Integer row = 1; row < grid.RowCount(); ++row)
            if (grid.Cells(0, row) == ID) {
                grid.SetCol(0);
                grid.SetRow(row);
            }
        QKeyEvent edit(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
        QApplication::sendEvent(grid.Handle(), &edit);
        grid.InplaceEditor()->SelectAll();
        grid.InplaceEditor()->SetSelText(NewID);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(grid.Handle(), &enter);
    }
    // Saves the window's picture in the test output's ide directory.
    static void Shot(QWidget* Window, const std::string& Name) {
        std::filesystem::create_directories(zxtest::TestOutputDir() + "/ide");
        Window->grab().toImage().save(QString::fromStdString(zxtest::TestOutputDir() + "/ide/" + Name));
    }
    // The replacement dialog with Orders.pas chosen and its calls found.
    static TfrmStrReplace& FoundInOrders(TCustomForm& Form) {
        auto& dialog = dynamic_cast<TfrmStrReplace&>(Form);
        dialog.lbUnits->SetSelected(dialog.lbUnits->Items()->IndexOf("Orders.pas"), true);
        dialog.btAddClick(&dialog);
        dialog.btReplace->Click();
        return dialog;
    }
    static std::vector<std::string> SourceRows(const TfrmStrReplace& Dialog) {
        std::vector<std::string> rows;
        for (Integer index = 0; index < Dialog.lvSourceLines->Items()->Count(); ++index) {
            const TListItem* row = Dialog.lvSourceLines->Items()->Item(index);
            rows.push_back(row->Caption() + "|" + row->SubItems()->Get(0) + "|" + row->SubItems()->Get(1));
        }
        return rows;
    }

    TzxLang* Orders = nullptr;
};

} // namespace

TEST_F(TStringIDsTest, FormCheckListsUnusedAndMissingIdentifiersByTheirQualifiers) {
    CheckForm("OrdersForm");
    ASSERT_TRUE(frmBadIDs);
    EXPECT_TRUE(frmBadIDs->Visible()) << "shown, not modal";
    const std::string file = File("Orders.pas");
    const auto line = [&](const char* Text) { return std::to_string(LineOf("Orders.pas", Text)); };
    EXPECT_EQ(Rows(), std::vector<std::string>({
                          "IDS_Unused|Not used in source of current module.|Index: 1|" + file,
                          "IDS_Commented|Not used in source of current module.|Index: 2|" + file,
                          "IDS_MissingC|Not found in OrdersForm.zxLang1|Line: " + line("IDS_MissingC") + "|" + file,
                          "IDS_NotInMain|Not found in MainForm.zxLang1|Line: " + line("IDS_NotInMain") + "|" + file,
                          "IDS_Missing|Not found in OrdersForm.zxLang1|Line: " + line("IDS_Other") + "|" + file,
                      }));
    EXPECT_EQ(frmBadIDs->StatusBar1->Panels()->Items(1)->Text(), "5");
    Shot(frmBadIDs->Handle(), "bad-string-ids.png");

    frmBadIDs->IDsList->SetSelected(FindingRow("IDS_Unused"));
    frmBadIDs->PopupMenu1->OnPopup(frmBadIDs->PopupMenu1);
    EXPECT_TRUE(frmBadIDs->Delete1->Enabled());
    frmBadIDs->IDsList->SetSelected(FindingRow("IDS_MissingC"));
    frmBadIDs->PopupMenu1->OnPopup(frmBadIDs->PopupMenu1);
    EXPECT_FALSE(frmBadIDs->Delete1->Enabled()) << "an identifier the component does not have";
    EXPECT_TRUE(frmBadIDs->ShowSource1->Enabled());
}

TEST_F(TStringIDsTest, AFormWithEveryIdentifierResolvedIsReportedAndAnUnreadableUnitIsNot) {
    Insert("Main.pas", "\nprocedure X;\nbegin\n  S := MainForm.zxLang1.GetText('IDS_Main') + "
                       "zxLang1.GetText('IDS_Used');\nend;\n");
    Dialogs.Answer(mrOk);
    CheckForm("MainForm");
    EXPECT_FALSE(frmBadIDs->Visible());
    EXPECT_EQ(Dialogs.LastRequest().Text,
              "All IDs on form MainForm are used. All internal and external IDs resolved.");

    SetRowText(frmzxLang->FormRow("MainForm"), rtFileName, File("Gone.pas"));
    Dialogs.Answer(mrOk);
    CheckForm("MainForm");
    EXPECT_EQ(Dialogs.PendingAnswers(), 0) << "one message only";
    EXPECT_EQ(Dialogs.LastRequest().Text, "Couldnot open file:\n" + File("Gone.pas") + "\nUnit skipped!");
    EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError);
}

TEST_F(TStringIDsTest, UnitCheckWithoutFormLeavesUnqualifiedCallsUnchecked) {
    Insert("Example.dpr",
           "  ShowMessage(GetText('IDS_Loose') + OrdersForm.zxLang1.GetText('IDS_Used') +\n"
           "    OrdersForm.zxLang1.GetText('IDS_Gone'));\n",
           "  Application.Run;");
    Dialogs.AnswerModal(mrOk, [](TCustomForm& Form) {
        EXPECT_EQ(Form.Caption(), "Check bad string IDs in unit(s)");
        auto* units = FormControl<TListBox>(&Form, "lbUnits");
        units->SetSelected(units->Items()->IndexOf("Example"), true);
    });
    FormControl<TMenuItem>(frmzxLang, "CheckBadIDsInUnit1")->Click();
    ASSERT_TRUE(frmBadIDs);
    const std::string file = File("Example.dpr");
    EXPECT_EQ(Rows(), std::vector<std::string>({
                          "IDS_Loose|Can't be autochecked.|Line: " + std::to_string(LineOf("Example.dpr", "IDS_Loose")) + "|" + file,
                          "IDS_Gone|Not found in OrdersForm.zxLang1|Line: " + std::to_string(LineOf("Example.dpr", "IDS_Gone")) + "|" + file,
                      }));
}

TEST_F(TStringIDsTest, RowsLeadToTheSourceLineAndToTheIdentifiersCurrentIndex) {
    CheckForm("OrdersForm");
    frmBadIDs->IDsList->SetSelected(FindingRow("IDS_NotInMain"));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(frmBadIDs->IDsList->Handle(), &press);
    EXPECT_EQ(Module("Orders.pas")->GetCursorLine(), LineOf("Orders.pas", "IDS_NotInMain"));

    // The component changes while the window stays open.
    Orders->Strings()->Delete(Orders->GetIDIndex(UTF8Decode("IDS_Unused")));
    frmBadIDs->IDsList->SetSelected(FindingRow("IDS_Commented"));
    AnsiString opened;
    Dialogs.AnswerModal(mrCancel, [&](TCustomForm& Form) {
        auto& editor = dynamic_cast<TzxTransEditFrm&>(Form);
        opened = editor.Grid1->Cells(0, editor.Grid1->Row());
    });
    frmBadIDs->ShowSource1->Click();
    EXPECT_EQ(opened, "IDS_Commented");

    frmBadIDs->IDsList->SetSelected(FindingRow("IDS_Unused"));
    Dialogs.Answer(mrOk);
    frmBadIDs->IDsList->OnDblClick(frmBadIDs->IDsList);
    EXPECT_EQ(Dialogs.LastRequest().Text, "The string ID IDS_Unused is no longer in OrdersForm.zxLang1.");
}

TEST_F(TStringIDsTest, SourceHookSearchesTheEditedComponentsUnit) {
    Insert("Main.pas", "\n  Caption := zxLang1.GetText('IDS_OnlyMain');\n");
    Host.SetCurrentFile(File("Main.pas"));
    Module("Orders.pas")->SetCursorLine(1);
    TEditedForm edited(Orders);
    EXPECT_FALSE(NavigateToSource("IDS_OnlyMain", true)) << "only in the current module's unit";
    EXPECT_TRUE(NavigateToSource("IDS_Other", true));
    EXPECT_EQ(Module("Orders.pas")->GetCursorLine(), LineOf("Orders.pas", "IDS_Other"));
}

TEST_F(TStringIDsTest, RenameInTheEditorRewritesOnlyTheComponentsCallsInTheChosenUnits) {
    const std::string main =
        Insert("Main.pas", "\nprocedure Y;\nbegin\n"
                           "  S := OrdersForm.zxLang1.GetText('IDS_Used') + zxLang1.GetText('IDS_Used');\n"
                           "  S := OrdersForm.zxLang1.GetText('IDS_UsedMore'); { GetText('IDS_Used') }\n"
                           "  S := 'IDS_Used';\nend;\n");
    const std::string ordersBefore = Source("Orders.pas");
    const Integer mainLine = LineOf("Main.pas", "OrdersForm.zxLang1.GetText('IDS_Used')");
    const Integer ordersLine = LineOf("Orders.pas", "IDS_MissingC");
    Dialogs.AnswerModal(mrNone, [&](TCustomForm& Shown) {
        auto& editor = dynamic_cast<TzxTransEditFrm&>(Shown);
        Dialogs.Answer(mrYes);
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
            auto& dialog = dynamic_cast<TfrmStrReplace&>(Form);
            EXPECT_EQ(dialog.lbUnits->Items()->Text(), "Data.pas\nExample.dpr\nMain.pas\nOrders.pas\n");
            dialog.btAddAllClick(&dialog);
            dialog.lbSelectedUnits->SetSelected(0, true);
            dialog.lbSelectedUnits->SetSelected(1, true);
            dialog.btRemoveClick(&dialog);
            ASSERT_EQ(dialog.lbSelectedUnits->Items()->Text(), "Main.pas\nOrders.pas\n");
            dialog.btReplace->Click();
            EXPECT_EQ(dialog.lbUnitFile->Caption(), "Unit file: Main.pas");
            Shot(dialog.Handle(), "string-id-replacement.png");
            EXPECT_EQ(dialog.btReplace->Caption(), "&Replace");
            EXPECT_EQ(SourceRows(dialog),
                      std::vector<std::string>({std::to_string(mainLine) +
                                                "|  S := OrdersForm.zxLang1.GetText('IDS_Used') + zxLang1.GetText('IDS_Used');"
                                                "|  S := OrdersForm.zxLang1.GetText('IDS_Renamed') + zxLang1.GetText('IDS_Used');"}));
            dialog.btReplace->Click();
            EXPECT_EQ(dialog.lbUnitFile->Caption(), "Unit file: Orders.pas");
            ASSERT_EQ(SourceRows(dialog).size(), 1u) << "the call through Self only";
            EXPECT_EQ(dialog.lvSourceLines->Items()->Item(0)->Caption(), std::to_string(ordersLine));
            dialog.btReplace->Click();
        });
        RenameInEditor(editor, "IDS_Used", "IDS_Renamed");
        Dialogs.Answer(mrNo);
        editor.Close();
    });
    TTranslationsEditor(Orders, DesignerOf("Orders.pas")).ExecuteVerb(0);

    const std::string renamedMain = Source("Main.pas");
    EXPECT_NE(renamedMain.find("OrdersForm.zxLang1.GetText('IDS_Renamed') + zxLang1.GetText('IDS_Used');"),
              std::string::npos);
    EXPECT_NE(renamedMain.find("GetText('IDS_UsedMore'); { GetText('IDS_Used') }\n  S := 'IDS_Used';"),
              std::string::npos);
    std::string expected = ordersBefore;
    expected.replace(expected.find("Self.zxLang1.GetText('IDS_Used')"), 32, "Self.zxLang1.GetText('IDS_Renamed')");
    EXPECT_EQ(Source("Orders.pas"), expected) << "only the call through Self";
    ASSERT_TRUE(Host.Undo(File("Main.pas")));
    EXPECT_EQ(Source("Main.pas"), main) << "one undo step per unit";
}

TEST_F(TStringIDsTest, CancelledOrEditedRenameLeavesTheSourceAsTheUserSaid) {
    const std::string before = Source("Orders.pas");
    WideString to = UTF8Decode("IDS_New");
    Dialogs.AnswerModal(mrNone, [](TCustomForm& Form) { FoundInOrders(Form).SetModalResult(mrCancel); });
    Expert->OnChangeStrID("OrdersForm", UTF8Decode("IDS_Used"), to);
    EXPECT_EQ(Source("Orders.pas"), before);

    Dialogs.AnswerModal(mrNone, [this](TCustomForm& Form) {
        auto& dialog = FoundInOrders(Form);
        dialog.lvSourceLines->Items()->Item(0)->SetSelected(true);
        dialog.pmlvActionsPopup(&dialog);
        EXPECT_TRUE(dialog.Editresultline1->Enabled());
        Dialogs.AnswerInput("  Caption := 'typed';\r\n  Hint := 'x';");
        dialog.Editresultline1->Click();
        dialog.btReplace->Click();
    });
    Expert->OnChangeStrID("OrdersForm", UTF8Decode("IDS_Used"), to);
    EXPECT_EQ(UTF8Encode(to), "IDS_New");
    EXPECT_NE(Source("Orders.pas").find("\n  Caption := 'typed';  Hint := 'x';\n"), std::string::npos)
        << "the edited result line, kept on one line";
}
