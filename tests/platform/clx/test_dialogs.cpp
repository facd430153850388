// Message boxes and input queries: the mapping of types and buttons, the
// platform's routines, and the scripted service that answers them.
#include "clx/Dialogs.h"
#include "clx/Forms.h"

#include <gtest/gtest.h>

namespace {

std::vector<TMsgDlgBtn> ButtonsOf(const TMessageBoxRequest& Request) {
    std::vector<TMsgDlgBtn> buttons;
    for (const TMessageBoxButton& button : Request.Buttons)
        buttons.push_back(button.Button);
    return buttons;
}

TEST(MessageDlgRequest, ButtonsCaptionsAndResults) {
    TMessageBoxRequest request =
        MessageDlgRequest("ignored", "Save changes?", mtConfirmation, mbYesNoCancel);
    EXPECT_EQ(request.Caption, "Confirm");
    EXPECT_EQ(request.Text, "Save changes?");
    EXPECT_EQ(ButtonsOf(request), (std::vector<TMsgDlgBtn>{mbYes, mbNo, mbCancel}));
    EXPECT_EQ(request.Buttons[0].Caption, "&Yes");
    EXPECT_EQ(request.Buttons[1].Caption, "&No");
    EXPECT_EQ(request.Buttons[2].Caption, "Cancel");
    EXPECT_EQ(request.Buttons[0].Result, mrYes);
    EXPECT_EQ(request.Buttons[1].Result, mrNo);
    EXPECT_EQ(request.Buttons[2].Result, mrCancel);
    EXPECT_EQ(request.DefaultButton, 0);
    EXPECT_EQ(request.EscapeButton, 2);
    EXPECT_EQ(request.X, -1);
}

TEST(MessageDlgRequest, CaptionsByDialogType) {
    EXPECT_EQ(MessageDlgRequest("Mine", "", mtCustom, {mbOk}).Caption, "Mine");
    EXPECT_EQ(MessageDlgRequest("Mine", "", mtInformation, {mbOk}).Caption, "Information");
    EXPECT_EQ(MessageDlgRequest("Mine", "", mtWarning, {mbOk}).Caption, "Warning");
    EXPECT_EQ(MessageDlgRequest("Mine", "", mtError, {mbOk}).Caption, "Error");
}

TEST(MessageDlgRequest, ModalResultsAreTheButtonOrdinals) {
    EXPECT_EQ(mrNone, 0);
    EXPECT_EQ(mrOk, 1);
    EXPECT_EQ(mrCancel, 2);
    EXPECT_EQ(mrYes, 3);
    EXPECT_EQ(mrNo, 4);
    EXPECT_EQ(mrAbort, 5);
    EXPECT_EQ(mrRetry, 6);
    EXPECT_EQ(mrIgnore, 7);
    EXPECT_EQ(mrAll, 8);
    TMessageBoxRequest request =
        MessageDlgRequest("", "", mtWarning, mbAbortRetryIgnore + TMsgDlgButtons{mbOk});
    EXPECT_EQ(ButtonsOf(request), (std::vector<TMsgDlgBtn>{mbOk, mbAbort, mbRetry, mbIgnore}));
    for (const TMessageBoxButton& button : request.Buttons)
        EXPECT_EQ(button.Result, static_cast<Integer>(button.Button));
}

TEST(MessageDlgRequest, DefaultAndEscapeButtons) {
    EXPECT_EQ(MessageDlgRequest("", "", mtWarning, mbYesNo, mbNo).DefaultButton, 1);
    EXPECT_EQ(MessageDlgRequest("", "", mtWarning, mbYesNo).EscapeButton, 1);
    TMessageBoxRequest okCancel = MessageDlgRequest("", "", mtWarning, mbOKCancel, mbIgnore);
    EXPECT_EQ(ButtonsOf(okCancel), (std::vector<TMsgDlgBtn>{mbOk, mbCancel}));
    EXPECT_EQ(okCancel.DefaultButton, 0);
    EXPECT_EQ(okCancel.EscapeButton, 1);
    TMessageBoxRequest retry = MessageDlgRequest("", "", mtError, {mbAbort, mbRetry});
    EXPECT_EQ(retry.DefaultButton, 0);
    EXPECT_EQ(retry.EscapeButton, -1);
    TMessageBoxRequest none = MessageDlgRequest("", "", mtError, {mbNone});
    EXPECT_EQ(ButtonsOf(none), (std::vector<TMsgDlgBtn>{mbOk}));
    EXPECT_EQ(none.EscapeButton, 0);
}

TEST(MessageDlgRequest, TakesTheTextsItIsGiven) {
    TMsgDlgTexts german = DefaultMsgDlgTexts();
    german.Captions[mtConfirmation] = "Bestätigen";
    german.ButtonCaptions[mbYes] = "&Ja";
    german.ButtonCaptions[mbNo] = "&Nein";
    TMessageBoxRequest request =
        MessageDlgRequest("", "?", mtConfirmation, mbYesNo, mbNone, german);
    EXPECT_EQ(request.Caption, "Bestätigen");
    EXPECT_EQ(request.Buttons[0].Caption, "&Ja");
    EXPECT_EQ(request.Buttons[1].Caption, "&Nein");
}

// ---------------------------------------------------------------------------

class DialogsTest : public testing::Test {
protected:
    void SetUp() override { Application->SetTitle("Demo"); }
    void TearDown() override { Application->SetTitle(""); }

    TScriptedDialogService Dialogs;
    TDialogServiceGuard Guard{Dialogs};
};

TEST_F(DialogsTest, MessageDlgReturnsTheAnsweredButtonAndIsRecorded) {
    Dialogs.Answer(mrNo);
    EXPECT_EQ(MessageDlg("Delete the file?", mtConfirmation, mbYesNo, 0, mbNo), mrNo);
    const TDialogRecord& record = Dialogs.LastRequest();
    EXPECT_EQ(record.Kind, dkMessageBox);
    EXPECT_EQ(record.Caption, "Confirm");
    EXPECT_EQ(record.Text, "Delete the file?");
    EXPECT_EQ(record.DlgType, mtConfirmation);
    EXPECT_EQ(record.Buttons, mbYesNo);
    EXPECT_EQ(record.ButtonCaptions, (std::vector<AnsiString>{"&Yes", "&No"}));
    EXPECT_EQ(record.DefaultButton, mbNo);
}

TEST_F(DialogsTest, CustomBoxesCarryTheApplicationTitleOrTheirCaption) {
    Dialogs.Answer(mrOk);
    Dialogs.Answer(mrOk);
    Dialogs.Answer(mrOk);
    ShowMessage("Saved");
    EXPECT_EQ(Dialogs.LastRequest().Caption, "Demo");
    EXPECT_EQ(Dialogs.LastRequest().Buttons, TMsgDlgButtons{mbOk});
    ShowMessageFmt("%d lines in %s", {3, "a.zxl"});
    EXPECT_EQ(Dialogs.LastRequest().Text, "3 lines in a.zxl");
    MessageDlg("Title", "Text", mtCustom, {mbOk}, 0);
    EXPECT_EQ(Dialogs.LastRequest().Caption, "Title");
}

TEST_F(DialogsTest, PositionedBoxesRecordTheirPlace) {
    Dialogs.Answer(mrOk);
    Dialogs.Answer(mrOk);
    MessageDlgPos("Here", mtInformation, {mbOk}, 0, 40, 50);
    EXPECT_EQ(Dialogs.LastRequest().X, 40);
    EXPECT_EQ(Dialogs.LastRequest().Y, 50);
    ShowMessagePos("There", 7, 8);
    EXPECT_EQ(Dialogs.LastRequest().X, 7);
    EXPECT_EQ(Dialogs.LastRequest().Caption, "Demo");
}

TEST_F(DialogsTest, InputQueryAndInputBox) {
    Dialogs.AnswerInput("French");
    AnsiString value = "English";
    EXPECT_TRUE(InputQuery("Language", "Name of the language:", value));
    EXPECT_EQ(value, "French");
    EXPECT_EQ(Dialogs.LastRequest().Kind, dkInputQuery);
    EXPECT_EQ(Dialogs.LastRequest().Caption, "Language");
    EXPECT_EQ(Dialogs.LastRequest().Text, "Name of the language:");
    EXPECT_EQ(Dialogs.LastRequest().Value, "English");

    Dialogs.CancelInput();
    EXPECT_FALSE(InputQuery("Language", "Name:", value));
    EXPECT_EQ(value, "French");

    Dialogs.CancelInput();
    EXPECT_EQ(InputBox("Language", "Name:", "German"), "German");
    Dialogs.AnswerInput("Dutch");
    EXPECT_EQ(InputBox("Language", "Name:", "German"), "Dutch");
}

TEST_F(DialogsTest, AnswersThatDoNotFitAreErrors) {
    EXPECT_THROW(ShowMessage("nobody answers"), EDialogScriptError);
    Dialogs.Answer(mrYes);
    EXPECT_THROW(MessageDlg("Continue?", mtWarning, mbOKCancel, 0), EDialogScriptError);
    Dialogs.AnswerInput("text");
    EXPECT_THROW(ShowMessage("a box, not a query"), EDialogScriptError);
    Dialogs.Answer(mrOk);
    AnsiString value;
    EXPECT_THROW(InputQuery("a query", "not a box", value), EDialogScriptError);
    EXPECT_EQ(Dialogs.Requests().size(), 4U);
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}

TEST_F(DialogsTest, GuardsNestAndRestore) {
    {
        TScriptedDialogService inner;
        TDialogServiceGuard innerGuard(inner);
        inner.Answer(mrOk);
        ShowMessage("inner");
        EXPECT_EQ(inner.Requests().size(), 1U);
    }
    Dialogs.Answer(mrOk);
    ShowMessage("outer");
    EXPECT_EQ(Dialogs.Requests().size(), 1U);
    EXPECT_EQ(&DialogService(), &Dialogs);
}

TEST(DialogService, TheQtServiceIsTheDefault) {
    EXPECT_NE(dynamic_cast<TQtDialogService*>(&DialogService()), nullptr);
}

TEST(FileDialogs, AskThroughTheServiceAndAddTheDefaultExtension) {
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard{dialogs};
    EXPECT_EQ(FileDialogFilters("Text|*.zxl;*.txt|All files|*.*"),
              (std::vector<AnsiString>{"Text (*.zxl *.txt)", "All files (*.*)"}));
    EXPECT_TRUE(FileDialogFilters("").empty());
    TOpenDialog open(nullptr);
    open.SetTitle("Open translation");
    open.SetFilter("Text|*.zxl|All|*.*");
    open.SetDefaultExt("zxl");
    open.SetOptions(TOpenOptions{ofFileMustExist});
    dialogs.AnswerFile("/tmp/names", 2);
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), "/tmp/names.zxl");
    EXPECT_EQ(open.FilterIndex(), 2);
    EXPECT_EQ(dialogs.LastRequest().Kind, dkOpenDialog);
    EXPECT_EQ(dialogs.LastRequest().Caption, "Open translation");
    EXPECT_TRUE(dialogs.LastRequest().File.Options.Contains(ofFileMustExist));
    TSaveDialog save(nullptr);
    save.SetFileName("kept.zxl");
    dialogs.CancelFile();
    EXPECT_FALSE(save.Execute());
    EXPECT_EQ(save.FileName(), "kept.zxl");
    EXPECT_EQ(dialogs.LastRequest().Kind, dkSaveDialog);
    dialogs.Answer(mrOk);
    EXPECT_THROW(save.Execute(), EDialogScriptError) << "a message-box answer for a file dialog";
}

TEST(FindDialog, StaysOpenAndFiresOnFindForEachFindNext) {
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard{dialogs};
    TFindDialog find(nullptr);
    std::vector<AnsiString> found;
    find.OnFind = [&](TObject*) {
        found.push_back(find.FindText() + (find.Options().Contains(frMatchCase) ? "/case" : ""));
    };
    Integer closes = 0;
    find.OnClose = [&](TObject*) { ++closes; };
    EXPECT_THROW(dialogs.PressFindNext("x", {}), EDialogScriptError);
    EXPECT_TRUE(find.Execute());
    EXPECT_EQ(dialogs.ShownFindDialog(), &find);
    dialogs.PressFindNext("Hallo", TFindOptions{frDown});
    dialogs.PressFindNext("hallo", TFindOptions{frDown, frMatchCase});
    EXPECT_EQ(found, (std::vector<AnsiString>{"Hallo", "hallo/case"}));
    find.CloseDialog();
    EXPECT_FALSE(find.Shown());
    EXPECT_EQ(dialogs.ShownFindDialog(), nullptr);
    EXPECT_EQ(closes, 1);
}

} // namespace
