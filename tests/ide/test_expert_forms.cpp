// The expert window's per-form and per-project commands on the example
// project: placing and configuring the translation component, Translate,
// the languages, saving, loading and merging translation files, deleting a
// string identifier, and the failure report.
#include "ExpertTestSupport.h"

#include "clx/Grids.h"
#include "editor/FormData.h"
#include "clx/Keys.h"
#include "editor/QzxTransEditor.h"
#include "ide/Q_langconfig.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>

using namespace experttest;

namespace {

void PressKey(TWinControl& Control, int Key) {
    QKeyEvent press(QEvent::KeyPress, Key, Qt::NoModifier);
    QApplication::sendEvent(Control.Handle(), &press);
}

class TExpertFormsTest : public TExpertWindowOnExampleTest {
protected:
    void SetUp() override {
        InitQzxTransEditor();
        TExpertWindowOnExampleTest::SetUp();
    }
    TMenuItem* Command(const char* Name) { return FormControl<TMenuItem>(frmzxLang, Name); }
    TzxCustomLang* LangOf(const char* Unit) { return FirstLangOf(Host.FormOf(File(Unit))); }
    Integer MessageBoxes() const {
        return static_cast<Integer>(std::count_if(
            Dialogs.Requests().begin(), Dialogs.Requests().end(),
            [](const TDialogRecord& Each) { return Each.Kind == dkMessageBox; }));
    }
};

} // namespace

TEST_F(TExpertFormsTest, PlacingTheDefaultComponentConfiguresItAloneAndRefusesUnknownClasses) {
    Expert->DefNumLang = 3;
    Expert->DefaultLangNames = "English\nDeutsch\nSuomi";
    Select({"MainForm", "OrdersForm"});
    ASSERT_TRUE(frmzxLang->InsertTzxLang(Row("MainForm")));
    ASSERT_TRUE(LangOf("Main.pas"));
    EXPECT_EQ(LangOf("Main.pas")->LangNames()->Text(), "English\nDeutsch\nSuomi\n");
    EXPECT_EQ(RowText(Row("MainForm"), rtLanguages), "3");
    EXPECT_EQ(RowText(Row("MainForm"), rtComponentClass), "TzxLang");
    EXPECT_EQ(Orders->NumOfLanguages(), 4) << "the other selected form keeps its languages";
    EXPECT_TRUE(Dialogs.Requests().empty());

    Expert->DefaultComponent = "TzxLangRTSE";
    Dialogs.Answer(mrOk);
    EXPECT_FALSE(frmzxLang->InsertTzxLang(Row("DataModule1")));
    EXPECT_NE(Dialogs.LastRequest().Text.find("TzxLangRTSE"), AnsiString::npos);
    EXPECT_EQ(RowText(Row("DataModule1"), rtLanguages), "0");
    EXPECT_EQ(Row("DataModule1")->StateIndex(), RowWithoutComponent);
    EXPECT_FALSE(LangOf("Data.pas"));
}

TEST_F(TExpertFormsTest, ConfiguringAsksBeforeLanguagesGoAndKeepsTheActiveOneInRange) {
    Orders->SetNumLang(5);
    Orders->SetActLang(5);
    Dialogs.Answer(mrNo);
    EXPECT_FALSE(Expert->ConfigureLangComponent(3, Row("OrdersForm"), "A\nB\nC", false,
                                                TzxCustomLang::StaticClass(), ""));
    EXPECT_EQ(Dialogs.LastRequest().DlgType, mtWarning);
    EXPECT_EQ(Orders->NumOfLanguages(), 5);

    Dialogs.Answer(mrYes);
    EXPECT_TRUE(Expert->ConfigureLangComponent(3, Row("OrdersForm"), "A\nB\nC\nD\nE", false,
                                               TzxCustomLang::StaticClass(), ""));
    EXPECT_EQ(Orders->LangNames()->Text(), "A\nB\nC\n");
    EXPECT_EQ(Orders->NumOfLanguages(), 3);
    EXPECT_EQ(Orders->ActiveLanguage(), 3);
    EXPECT_EQ(UTF8Encode(Orders->Language()), "C");
    EXPECT_EQ(RowText(Row("OrdersForm"), rtLanguages), "3");
    EXPECT_TRUE(Module("Orders.pas")->GetModified());
}

TEST_F(TExpertFormsTest, TranslateWritesTheEditorsWorkBackAndACancelKeepsFormAndFileInStep) {
    ASSERT_FALSE(Module("Orders.pas")->GetModified());
    Select({"OrdersForm"});
    Dialogs.AnswerModal(mrCancel, [](TCustomForm&) {});
    frmzxLang->sbCaptionsClick(Command("Translate1"));
    ASSERT_GT(Orders->Captions()->Count(), 0) << "the form's texts were collected";
    EXPECT_TRUE(Module("Orders.pas")->GetModified()) << "the collected lines belong to the form";

    Dialogs.Answer(mrYes); // the example's form holds a property the designer drops
    ASSERT_TRUE(Host.SaveFile(File("Orders.pas")));
    Dialogs.AnswerModal(mrNone, [](TCustomForm& Form) {
        auto& editor = dynamic_cast<TzxTransEditFrm&>(Form);
        editor.Grid1->SetCol(2);
        editor.Grid1->SetRow(1);
        PressKey(*editor.Grid1, Qt::Key_F2);
        editor.Grid1->InplaceEditor()->SelectAll();
        editor.Grid1->InplaceEditor()->SetSelText("Asiakas:");
        PressKey(*editor.Grid1, Qt::Key_Return);
        FormControl<TMenuItem>(&editor, "CloseSaved1")->Click();
    });
    Integer key = Key_Return;
    frmzxLang->lvFormNamesKeyDown(frmzxLang->lvFormNames, key, TShiftState());
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    EXPECT_NE(Orders->Captions()->Text().find("Asiakas:"), AnsiString::npos);
    EXPECT_TRUE(Module("Orders.pas")->GetModified());
}

TEST_F(TExpertFormsTest, LanguagesOfAFormWithoutComponentStartFromNumberedNames) {
    Expert->DefaultLangNames = "";
    Expert->DefNumLang = 2;
    Select({"MainForm"});
    AnsiString offered;
    Dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) {
        offered = dynamic_cast<TfrmLangConfig&>(Form).lbLangNames->Items()->Text();
    });
    frmzxLang->sbLanguagesClick(Command("pmLanguages1"));
    EXPECT_EQ(offered, "Language N1\nLanguage N2\n");
    ASSERT_TRUE(LangOf("Main.pas"));
    EXPECT_EQ(LangOf("Main.pas")->NumOfLanguages(), 2);
}

TEST_F(TExpertFormsTest, SavingLoadingAndMergingFollowTheirTagsAndRefuseUnsafeFiles) {
    Orders->BuildList();
    // Every selected row is saved, also those above the focused one.
    Select({"MainForm", "OrdersForm", "DataModule1"});
    const AnsiString binary = File("all.ZXB");
    Dialogs.AnswerFile(binary);
    frmzxLang->sbSaveAllClick(Command("SaveForms1"));
    EXPECT_EQ(MessageBoxes(), 0) << "no delimiter is asked for a binary file";
    ASSERT_TRUE(LangOf("Data.pas")) << "the component is placed first";
    Orders->ClearTranslations();
    Select({"OrdersForm"});
    Dialogs.AnswerFile(binary);
    frmzxLang->sbLoadAllClick(Command("LoadForms1"));
    EXPECT_NE(Orders->Captions()->Text().find("Customer:"), AnsiString::npos);

    Dialogs.AnswerFile(binary);
    Dialogs.Answer(mrOk);
    frmzxLang->sbLoadAllClick(Command("MergeForms1"));
    EXPECT_NE(Dialogs.LastRequest().Text.find(".ZXB"), AnsiString::npos);

    const AnsiString text = File("all.zxl");
    Dialogs.AnswerFile(text);
    Dialogs.AnswerInput("Customer");
    Dialogs.Answer(mrOk);
    frmzxLang->sbSaveAllClick(Command("SaveProject1"));
    EXPECT_NE(Dialogs.LastRequest().Text.find("occurs in the translations"), AnsiString::npos);
    EXPECT_FALSE(FileExists(text));
    Dialogs.AnswerFile(text);
    Dialogs.AnswerInput("~!@#");
    frmzxLang->sbSaveAllClick(Command("SaveProject1"));
    ASSERT_TRUE(FileExists(text));

    Orders->ClearTranslations();
    Dialogs.AnswerFile(text);
    frmzxLang->sbLoadAllClick(Command("MergeProject1"));
    EXPECT_NE(Orders->Captions()->Text().find("Customer:"), AnsiString::npos);
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}

TEST_F(TExpertFormsTest, LoadingTheProjectSkipsFormsWithoutComponentAndReportsFailuresOnce) {
    Select({"MainForm"});
    ASSERT_TRUE(frmzxLang->InsertTzxLang(Row("MainForm")));
    ASSERT_TRUE(Host.SaveAll());
    ASSERT_TRUE(Host.CloseFile(File("Data.pas")));
    hosttest::WriteFile(File("bad.ZXB"), "not a translation file");
    Dialogs.AnswerFile(File("bad.ZXB"));
    Dialogs.Answer(mrOk);
    frmzxLang->sbLoadAllClick(Command("LoadProject1"));
    EXPECT_FALSE(Host.IsFileOpen(File("Data.pas"))) << "a form without component is not opened";
    ASSERT_EQ(MessageBoxes(), 1);
    const AnsiString report = Dialogs.LastRequest().Text;
    EXPECT_NE(report.find("OrdersForm"), AnsiString::npos) << report;
    EXPECT_NE(report.find("MainForm"), AnsiString::npos) << report;
    EXPECT_FALSE(Module("Orders.pas")->GetModified()) << "a form that did not change";
}

TEST_F(TExpertFormsTest, DeletingAStringIdentifierNeedsTheFormsComponent) {
    Orders->AddString(UTF8Decode("strHello"), {UTF8Decode("Hello")});
    std::unique_ptr<TListView> badIDs(NewComponent<TListView>(nullptr));
    TListItem* badID = badIDs->Items()->Add();
    badID->SetCaption("strHello");
    SetRowText(badID, rtLanguages, File("Data.pas"));
    Dialogs.Answer(mrOk);
    frmzxLang->DeleteStringByID(badID);
    EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError);

    SetRowText(badID, rtLanguages, File("Orders.pas"));
    Dialogs.Answer(mrYes);
    frmzxLang->DeleteStringByID(badID);
    EXPECT_EQ(Dialogs.LastRequest().Text, "This will delete strHello from OrdersForm.zxLang1! Continue?");
    EXPECT_EQ(Orders->GetIDIndex(UTF8Decode("strHello")), -1);
    EXPECT_TRUE(Module("Orders.pas")->GetModified());
}
