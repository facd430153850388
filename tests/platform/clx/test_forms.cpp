// Forms, the application and the screen as a plain model: showing, closing,
// modal sessions and exception reports, answered by the scripted dialog
// service. No QApplication exists in this program.
#include "clx/Dialogs.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

#include "ClxTestSupport.h"

namespace {

using namespace zxtest;

// A dialog with an edit and OK/Cancel buttons, as applications write them.
class TNameDialog : public TForm {
    ZX_CLASS(TNameDialog, TForm)
public:
    explicit TNameDialog(TComponent* AOwner) : TForm(AOwner) {
        NameEdit = NewComponent<TEdit>(this);
        NameEdit->SetParent(this);
        OkButton = NewComponent<TButton>(this);
        OkButton->SetParent(this);
        OkButton->SetModalResult(mrOk);
        OnCreate = [this](TObject*) { Log.push_back("create"); };
        OnShow = [this](TObject*) { Log.push_back("show"); };
        OnHide = [this](TObject*) { Log.push_back("hide"); };
        OnClose = [this](TObject*, TCloseAction& Action) {
            Log.push_back("close");
            Action = CloseAction;
        };
    }

    TEdit* NameEdit;
    TButton* OkButton;
    TCloseAction CloseAction = caHide;
    std::vector<AnsiString> Log;
};

class FormsTest : public testing::Test {
protected:
    void TearDown() override {
        DoneApplication();
        Application->SetExeName("");
        Application->SetTitle("");
        Application->OnException = nullptr;
    }

    TScriptedDialogService Dialogs;
    TDialogServiceGuard Guard{Dialogs};
};

TEST_F(FormsTest, CreateFormCompletesTheFormAndMakesTheFirstTheMainForm) {
    TNameDialog* first = nullptr;
    TNameDialog* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Owner(), Application);
    EXPECT_EQ(Application->MainForm(), first);
    EXPECT_EQ(first->Log, (std::vector<AnsiString>{"create"}));
    EXPECT_FALSE(first->FormState().Contains(fsCreating));
    EXPECT_FALSE(first->Visible());
    EXPECT_EQ(Screen->FormCount(), 2);
    EXPECT_EQ(Screen->Forms(1), second);
    delete first;
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Screen->FormCount(), 1);
}

TEST_F(FormsTest, ExeNameAndTitle) {
    EXPECT_TRUE(Application->ExeName().ends_with("clx_test_forms"));
    Application->SetExeName("/opt/demo/bin/LangDemo.bin");
    EXPECT_EQ(Application->Title(), "LangDemo");
    EXPECT_EQ(ExtractFilePath(Application->ExeName()), "/opt/demo/bin/");
    Application->SetTitle("Demo");
    EXPECT_EQ(Application->Title(), "Demo");
}

TEST_F(FormsTest, ShowAndHideFireTheirEventsAndMoveTheActiveForm) {
    auto* first = NewForm<TNameDialog>(Application);
    auto* second = NewForm<TNameDialog>(Application);
    std::vector<AnsiString> activations;
    first->OnActivate = [&](TObject*) { activations.push_back("first+"); };
    first->OnDeactivate = [&](TObject*) { activations.push_back("first-"); };
    second->OnActivate = [&](TObject*) { activations.push_back("second+"); };
    first->Show();
    second->Show();
    EXPECT_EQ(Screen->ActiveForm(), second);
    EXPECT_TRUE(second->Active());
    second->Hide();
    EXPECT_EQ(Screen->ActiveForm(), first);
    EXPECT_EQ(second->Log, (std::vector<AnsiString>{"create", "show", "hide"}));
    EXPECT_EQ(activations, (std::vector<AnsiString>{"first+", "first-", "second+", "first+"}));
    delete first;
    EXPECT_EQ(Screen->ActiveForm(), nullptr);
}

TEST_F(FormsTest, CloseAsksOnCloseQueryThenFollowsTheCloseAction) {
    auto* dialog = NewForm<TNameDialog>(Application);
    bool allow = false;
    dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = allow; };
    dialog->Show();
    dialog->Close();
    EXPECT_TRUE(dialog->Visible());
    allow = true;
    dialog->CloseAction = caNone;
    dialog->Close();
    EXPECT_TRUE(dialog->Visible());
    dialog->CloseAction = caMinimize;
    dialog->Close();
    EXPECT_EQ(dialog->WindowState(), wsMinimized);
    dialog->CloseAction = caHide;
    dialog->Close();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(dialog->Log.back(), "hide");
}

TEST_F(FormsTest, CaFreeReleasesTheFormAfterwards) {
    TNameDialog* main = nullptr;
    Application->CreateForm(main);
    auto* dialog = NewForm<TNameDialog>(Application);
    TWatcher watcher;
    watcher.Watch(dialog);
    dialog->CloseAction = caFree;
    dialog->Show();
    dialog->Close();
    dialog->Release();
    EXPECT_FALSE(watcher.Freed(dialog));
    Application->ProcessMessages();
    EXPECT_TRUE(watcher.Freed(dialog));
    EXPECT_EQ(Screen->FormCount(), 1);
}

TEST_F(FormsTest, ClosingTheMainFormTerminatesTheApplication) {
    TNameDialog* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    main->Close();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(main->Log.back(), "close");
}

TEST_F(FormsTest, ShowModalRunsTheWholeSessionThroughTheService) {
    auto* dialog = NewForm<TNameDialog>(Application);
    dialog->SetCaption("Your name");
    Dialogs.AnswerModal(mrNone, [](TCustomForm& Form) {
        auto& named = dynamic_cast<TNameDialog&>(Form);
        EXPECT_TRUE(named.Visible());
        EXPECT_TRUE(named.FormState().Contains(fsModal));
        named.NameEdit->SetText("Ada");
        named.OkButton->Click();
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(dialog->NameEdit->Text(), "Ada");
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->FormState().Contains(fsModal));
    EXPECT_EQ(dialog->Log, (std::vector<AnsiString>{"create", "show", "close", "hide"}));
    EXPECT_EQ(Application->ModalLevel(), 0);
    ASSERT_EQ(Dialogs.Requests().size(), 1U);
    EXPECT_EQ(Dialogs.LastRequest().Kind, dkShowModal);
    EXPECT_EQ(Dialogs.LastRequest().Caption, "Your name");
    EXPECT_EQ(Dialogs.LastRequest().Text, "TNameDialog");
}

TEST_F(FormsTest, ARefusedModalCloseTakesTheNextAnswer) {
    auto* dialog = NewForm<TNameDialog>(Application);
    Integer queries = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++queries > 1; };
    Dialogs.Answer(mrOk);
    Dialogs.Answer(mrCancel);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}

TEST_F(FormsTest, ShowModalWithoutAnAnswerFailsAndLeavesTheFormUsable) {
    auto* dialog = NewForm<TNameDialog>(Application);
    EXPECT_THROW(dialog->ShowModal(), EDialogScriptError);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->FormState().Contains(fsModal));
    Dialogs.Answer(mrCancel);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
}

TEST_F(FormsTest, CloseInsideAModalSessionCancelsIt) {
    auto* dialog = NewForm<TNameDialog>(Application);
    Dialogs.AnswerModal(mrNone, [](TCustomForm& Form) { Form.Close(); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(FormsTest, ExceptionsAreReportedThroughTheDialogService) {
    Application->SetTitle("Demo");
    Dialogs.Answer(mrOk);
    try {
        throw EConvertError("'x' is not a valid integer value");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    const TDialogRecord& record = Dialogs.LastRequest();
    EXPECT_EQ(record.Kind, dkMessageBox);
    EXPECT_EQ(record.Caption, "Demo");
    EXPECT_EQ(record.Text, "'x' is not a valid integer value.");
    EXPECT_EQ(record.DlgType, mtError);
    EXPECT_EQ(record.Buttons, TMsgDlgButtons{mbOk});
}

TEST_F(FormsTest, AbortIsSilentAndOnExceptionTakesOver) {
    try {
        Abort();
    } catch (...) {
        Application->HandleException(nullptr);
    }
    EXPECT_TRUE(Dialogs.Requests().empty());

    std::vector<AnsiString> handled;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* Sender, const Exception& E) {
        sender = Sender;
        handled.push_back(E.Message());
    };
    auto* form = NewForm<TNameDialog>(Application);
    try {
        throw std::runtime_error("plain C++ error");
    } catch (...) {
        Application->HandleException(form);
    }
    EXPECT_EQ(handled, (std::vector<AnsiString>{"plain C++ error"}));
    EXPECT_EQ(sender, form);
    EXPECT_TRUE(Dialogs.Requests().empty());
}

TEST_F(FormsTest, AFailingReportIsNotThrown) {
    try {
        throw Exception("nobody answers");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    ASSERT_EQ(Dialogs.Requests().size(), 1U);
    EXPECT_EQ(Dialogs.LastRequest().Text, "nobody answers.");
}

TEST_F(FormsTest, OnCreateAndOnDestroyExceptionsAreReported) {
    auto* form = NewComponent<TForm>(Application);
    form->OnCreate = [](TObject*) { throw Exception("create failed"); };
    form->OnDestroy = [](TObject*) { throw Exception("destroy failed"); };
    Dialogs.Answer(mrOk);
    Dialogs.Answer(mrOk);
    form->AfterConstruction();
    delete form;
    ASSERT_EQ(Dialogs.Requests().size(), 2U);
    EXPECT_EQ(Dialogs.Requests()[0].Text, "create failed.");
    EXPECT_EQ(Dialogs.Requests()[1].Text, "destroy failed.");
}

TEST_F(FormsTest, FormsVisibleAfterConstructionAreShownWhenComplete) {
    auto* form = NewComponent<TForm>(Application);
    std::vector<AnsiString> log;
    form->OnShow = [&](TObject*) { log.push_back("show"); };
    form->OnCreate = [&](TObject*) { log.push_back("create"); };
    form->SetVisible(true);
    EXPECT_TRUE(log.empty());
    form->AfterConstruction();
    EXPECT_EQ(log, (std::vector<AnsiString>{"create", "show"}));
    EXPECT_EQ(Screen->ActiveForm(), form);
}

TEST_F(FormsTest, DataModulesAreCreatedAndListedLikeForms) {
    std::vector<AnsiString> log;
    TDataModule* module = nullptr;
    Application->CreateForm(module);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Screen->DataModuleCount(), 1);
    EXPECT_EQ(Screen->DataModules(0), module);
    module->OnDestroy = [&](TObject*) { log.push_back("destroy"); };
    delete module;
    EXPECT_EQ(log, (std::vector<AnsiString>{"destroy"}));
    EXPECT_EQ(Screen->DataModuleCount(), 0);
    EXPECT_THROW(Screen->DataModules(0), EListError);
}

TEST_F(FormsTest, ModalWindowsAreCountedAndAnnounced) {
    Integer begins = 0;
    Integer ends = 0;
    Application->OnModalBegin = [&](TObject*) { ++begins; };
    Application->OnModalEnd = [&](TObject*) { ++ends; };
    auto* dialog = NewForm<TNameDialog>(Application);
    Dialogs.AnswerModal(mrOk, [&](TCustomForm&) { EXPECT_EQ(Application->ModalLevel(), 1); });
    dialog->ShowModal();
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, 1);
    Application->OnModalBegin = nullptr;
    Application->OnModalEnd = nullptr;
}

TEST_F(FormsTest, IdleFiresOnIdleAndFreesReleasedForms) {
    auto* form = NewForm<TNameDialog>(Application);
    TWatcher watcher;
    watcher.Watch(form);
    form->Release();
    form->Release();
    Integer idles = 0;
    Application->OnIdle = [&](TObject*, bool& Done) {
        ++idles;
        EXPECT_TRUE(Done);
    };
    Application->Idle();
    EXPECT_EQ(idles, 1);
    EXPECT_TRUE(watcher.Freed(form));
    Application->OnIdle = nullptr;
}

} // namespace
