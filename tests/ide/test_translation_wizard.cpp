// The Translation Wizard on the example project, driven through its
// controls: placing components, manual languages, a new dispatcher and a
// common container, on forms whose files were open or closed.
#include "ClxTestSupport.h"
#include "ExpertTestSupport.h"

#include "editor/FormData.h"
#include "editor/QzxLangRT.h"
#include "ide/QTranslationWizard.h"
#include "runtime/QzxLngLnk.h"
#include "runtime/ZxLangRuntime.h"
#include "TestSupport.h"

using namespace experttest;

namespace {

using zxtest::Pick;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

class TWizardTest : public TExpertWindowOnExampleTest {
protected:
    void SetUp() override {
        InitZxLangRuntime();
        InitQzxLangRT();
        TExpertWindowOnExampleTest::SetUp();
    }
    static TListItem* Chosen(TfrmTranslationWizard& W, const char* FormName) {
        TListItems* rows = W.lvSelectedForms->Items();
        for (Integer index = 0; index < rows->Count(); ++index)
            if (rows->Item(index)->Caption() == FormName)
                return rows->Item(index);
        return nullptr;
    }
    // Selects the chosen form's row alone and picks the class to insert.
    static void Insert(TfrmTranslationWizard& W, const char* FormName, const char* ClassName) {
        W.lvSelectedForms->SetSelected(Chosen(W, FormName));
        ASSERT_TRUE(W.cbTzxLangToInsert->Enabled());
        Pick(*W.cbTzxLangToInsert, ClassName);
    }
    // Runs the wizard on the selected forms, Work driving it to its last
    // page with every scripted answer used.
    void RunWizard(const std::function<void(TfrmTranslationWizard&)>& Work) {
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
            auto& wizard = dynamic_cast<TfrmTranslationWizard&>(Form);
            Work(wizard);
            ASSERT_EQ(wizard.ActivePage(), wpCompleted);
            EXPECT_FALSE(wizard.btNext->Visible());
            wizard.btClose->Click();
        });
        FormControl<TMenuItem>(frmzxLang, "Wizard1")->Click();
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    }
    // Runs the wizard on the closed main form and the data module, placing
    // the classes given there; Work acts on the fine-tuning page.
    void RunOnClosedMainAndData(const char* MainClass, const char* DataClass,
                                const std::function<void(TfrmTranslationWizard&)>& Work) {
        ASSERT_TRUE(Expert->CloseFile(File("Main.pas")));
        Select({"MainForm", "DataModule1"});
        RunWizard([&](TfrmTranslationWizard& W) {
            W.btNext->Click();
            Insert(W, "MainForm", MainClass);
            Insert(W, "DataModule1", DataClass);
            W.btNext->Click();
            Work(W);
        });
    }
    TComponent* RootOf(const char* Unit) { return Host.FormOf(File(Unit)); }
};

} // namespace

TEST_F(TWizardTest, ManualLanguagesReachEveryChosenFormAndClosedFilesAreSavedAndClosed) {
    Expert->DefaultLangNames = "English\nSuomi";
    ASSERT_TRUE(Expert->CloseFile(File("Main.pas")));
    Select({"OrdersForm", "MainForm"});
    RunWizard([&](TfrmTranslationWizard& W) {
        EXPECT_TRUE(W.pnlPicture->Visible());
        EXPECT_FALSE(W.btBack->Enabled());
        Shot(W, "wizard-page0-welcome.png");
        W.btNext->Click();
        ASSERT_EQ(W.lvSelectedForms->Items()->Item(0)->Caption(), "MainForm") << "sorted";
        EXPECT_EQ(Chosen(W, "OrdersForm")->SubItems()->Get(wrUsed), "TzxLang");
        W.lvSelectedForms->SetSelected(Chosen(W, "OrdersForm"));
        EXPECT_FALSE(W.cbTzxLangToInsert->Enabled()) << "a form with a component keeps it";
        Dialogs.Answer(mrOk);
        Insert(W, "MainForm", "TzxLangRTSE");
        EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError);
        EXPECT_EQ(Chosen(W, "MainForm")->SubItems()->Get(wrInsert), "");
        Pick(*W.cbTzxLangToInsert, "TzxLangLinked");
        EXPECT_EQ(Chosen(W, "MainForm")->SubItems()->Get(wrInsert), "TzxLangLinked");
        EXPECT_EQ(Chosen(W, "OrdersForm")->SubItems()->Get(wrInsert), "");
        Shot(W, "wizard-page1-insert.png");
        W.btNext->Click();
        EXPECT_FALSE(W.btNext->Enabled()) << "no dispatcher on the first form";
        W.rbSetManually->SetChecked(true);
        W.ckbSetCommonContainer->SetChecked(false);
        EXPECT_EQ(W.edLanguagesToUse->Text(), "English,Suomi");
        EXPECT_TRUE(W.btNext->Enabled());
        EXPECT_FALSE(W.cbDispatcherForm->Enabled());
        Shot(W, "wizard-page2-finetune.png");
        Dialogs.Answer(mrYes); // OrdersForm goes from four languages to two
        W.btNext->Click();
        EXPECT_EQ(W.lvProgress->Items()->Item(wtDispatcher)->SubItems()->Get(0), "Skipped");
        EXPECT_EQ(W.lvProgress->Items()->Item(wtInsert)->SubItems()->Get(0), "Done");
        EXPECT_EQ(W.pbOverAll->Position(), W.pbOverAll->Max());
        Shot(*W.lvProgress, "wizard-page3-progress.png");
        Shot(W, "wizard-page4-completed.png");
    });
    EXPECT_EQ(Orders->LangNames()->Text(), "English\nSuomi\n");
    EXPECT_TRUE(Module("Orders.pas")->GetModified()) << "an open form is marked, not saved";
    EXPECT_FALSE(Expert->IsFileOpen(File("Main.pas")));
    ASSERT_TRUE(Expert->OpenFile(File("Main.pas")));
    auto* linked = dynamic_cast<TzxLangLinked*>(FirstLangOf(RootOf("Main.pas")));
    ASSERT_TRUE(linked) << "placed and saved before the file was closed";
    EXPECT_EQ(linked->LangNames()->Text(), "English\nSuomi\n");
    EXPECT_EQ(RowText(Row("MainForm"), rtComponentClass), "TzxLangLinked");
}

TEST_F(TWizardTest, ANewDispatcherAndAContainerOnAFormNotChosenLinkTheComponents) {
    Expert->DefaultLangNames = "English\nDeutsch";
    Expert->DefNumLang = 3;
    RunOnClosedMainAndData("TzxLangLinked", "TzxLang", [&](TfrmTranslationWizard& W) {
        Pick(*W.cbDispatcherForm, "DataModule1");
        EXPECT_FALSE(W.btConfigDispatcher->Enabled());
        Dialogs.Answer(mrYes);
        TStrings* offered = nullptr;
        Dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) {
            offered = FormControl<TListBox>(&Form, "lbLangNames")->Items();
            EXPECT_EQ(offered->Text(), "English\nDeutsch\nLanguage N3\n");
        });
        W.btCreateNewDispatcher->Click();
        EXPECT_EQ(W.cbDispatcherComponent->Items()->Count(), 1);
        EXPECT_TRUE(W.btConfigDispatcher->Enabled());
        Pick(*W.cbCommonContainerForm, "OrdersForm");
        EXPECT_EQ(W.cbCommonContainerComponent->Text(), "zxLang1");
        Pick(*W.cbCommonContainerForm, "DataModule1");
        EXPECT_EQ(W.cbCommonContainerComponent->Text(), "Newly inserted (TzxLang)");
        Pick(*W.cbCommonContainerForm, "OrdersForm");
        EXPECT_TRUE(W.btNext->Enabled());
        W.btNext->Click();
    });
    TComponent* data = RootOf("Data.pas");
    auto* dispatcher = dynamic_cast<TzxLangDispatcher*>(data->FindComponent("zxLangDispatcher1"));
    ASSERT_TRUE(dispatcher);
    EXPECT_EQ(dispatcher->LangNames()->Text(), "English\nDeutsch\nLanguage N3\n");
    auto* dataLang = dynamic_cast<TzxLang*>(FirstLangOf(data));
    ASSERT_TRUE(dataLang);
    EXPECT_EQ(dataLang->LangDispatcher(), dispatcher);
    EXPECT_FALSE(Orders->LangDispatcher()) << "not among the chosen forms";
    EXPECT_FALSE(Expert->IsFileOpen(File("Main.pas")));
    const std::string mainForm = hosttest::ReadFile(File("Main.xfm"));
    for (const char* stored : {"TzxLangLinked", "DataModule1.zxLangDispatcher1", "OrdersForm.zxLang1"})
        EXPECT_NE(mainForm.find(stored), std::string::npos) << stored;
}

TEST_F(TWizardTest, AContainerPlacedOnAClosedFormIsSavedThereAndLinkedFromTheOthers) {
    Expert->DefaultLangNames = "English";
    RunOnClosedMainAndData("TzxLang", "TzxLangLinked", [&](TfrmTranslationWizard& W) {
        W.rbSetManually->SetChecked(true);
        Pick(*W.cbCommonContainerForm, "MainForm");
        EXPECT_EQ(W.cbCommonContainerComponent->Text(), "Newly inserted (TzxLang)");
        W.btNext->Click();
        EXPECT_EQ(W.lvProgress->Items()->Item(wtContainer)->SubItems()->Get(0), "Done");
    });
    auto* container = dynamic_cast<TzxLang*>(FirstLangOf(RootOf("Main.pas")));
    ASSERT_TRUE(container) << "the form holding the container stays open, so links hold";
    auto* linked = dynamic_cast<TzxLangLinked*>(FirstLangOf(RootOf("Data.pas")));
    ASSERT_TRUE(linked);
    EXPECT_EQ(linked->CommonContainer(), container);
    EXPECT_EQ(linked->LangNames()->Text(), "English\n");
    EXPECT_FALSE(Module("Main.pas")->GetModified()) << "saved";
    EXPECT_TRUE(Module("Data.pas")->GetModified()) << "open before: marked, not saved";
    EXPECT_NE(hosttest::ReadFile(File("Main.xfm")).find("TzxLang"), std::string::npos);
}

TEST_F(TWizardTest, QuittingBeforeTheEndAsksAndThePreviewClosesOnAClick) {
    Select({"MainForm"});
    Dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
        auto& wizard = dynamic_cast<TfrmTranslationWizard&>(Form);
        wizard.btNext->Click();
        Dialogs.AnswerModal(mrNone, [](TCustomForm& Preview) {
            EXPECT_EQ(Preview.Caption(), "Recommended Structure. (Click on image to close)");
            Shot(dynamic_cast<TWinControl&>(Preview), "wizard-structure-preview.png");
            FormControl<TImage>(&Preview, "imgStructure")->OnClick(&Preview);
            EXPECT_EQ(Preview.ModalResult(), mrOk);
        });
        FormControl<TLabel>(&wizard, "lbStructure")->OnClick(&wizard);
        Dialogs.Answer(mrNo);     // stay
        Dialogs.Answer(mrCancel); // Close again
        Dialogs.Answer(mrYes);    // quit
        wizard.btClose->Click();
    });
    FormControl<TMenuItem>(frmzxLang, "Wizard1")->Click();
    EXPECT_EQ(Dialogs.LastRequest().Text, "Are you sure want to quit Wizard?");
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    EXPECT_EQ(RowText(Row("MainForm"), rtComponentClass), "") << "nothing placed";
}
