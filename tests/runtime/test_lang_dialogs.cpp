// Translated message boxes: which buttons a set gives, what the box shows
// and returns, and the package's confirmation picture.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "runtime/QzxLngLnk.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

std::vector<AnsiString> CaptionsOf(const TMessageBoxRequest& Request) {
    std::vector<AnsiString> captions;
    for (const TMessageBoxButton& button : Request.Buttons)
        captions.push_back(button.Caption);
    return captions;
}

using Buttons = std::vector<TMsgDlgBtn>;

TEST(MsgDlgButtons, TheUsualSetsGiveTheirButtonsInTheirOrder) {
    EXPECT_EQ(zxMsgDlgButtons(mbYesNoCancel), (Buttons{mbYes, mbNo, mbCancel}));
    EXPECT_EQ(zxMsgDlgButtons(mbYesNo), (Buttons{mbYes, mbNo}));
    EXPECT_EQ(zxMsgDlgButtons(mbOKCancel), (Buttons{mbOk, mbCancel}));
    EXPECT_EQ(zxMsgDlgButtons(mbAbortRetryIgnore), (Buttons{mbAbort, mbRetry, mbIgnore}));
}

TEST(MsgDlgButtons, EveryOtherSetGetsItsOwnButtons) {
    EXPECT_EQ(zxMsgDlgButtons(TMsgDlgButtons{mbOk}), (Buttons{mbOk}));
    EXPECT_EQ(zxMsgDlgButtons(TMsgDlgButtons{mbIgnore, mbOk, mbNo}),
              (Buttons{mbNo, mbOk, mbIgnore}));
    EXPECT_EQ(zxMsgDlgButtons(TMsgDlgButtons{}), (Buttons{mbOk})) << "a box can always be closed";
    EXPECT_EQ(zxMsgDlgButtons(TMsgDlgButtons{mbNone, mbRetry}), (Buttons{mbRetry}));
    EXPECT_EQ(zxMsgDlgButtons(TMsgDlgButtons{mbOk, mbCancel, mbYes, mbNo, mbAbort, mbRetry,
                                             mbIgnore})
                  .size(),
              7u);
}

TEST(MsgDlgButtons, RefusesTheSetOfEveryValue) {
    TMsgDlgButtons all{mbNone, mbOk, mbCancel, mbYes, mbNo, mbAbort, mbRetry, mbIgnore};
    EXPECT_EQ(MessageOf<EInvalidOperation>([&] { zxMsgDlgButtons(all); }),
              STooManyMessageBoxButtons);
}

TMsgDlgTexts GermanTexts() {
    return {{"", "Information", "Warnung", "Fehler", "Bestaetigen"},
            {"", "OK", "Abbrechen", "&Ja", "&Nein", "A&bbruch", "&Wiederholen", "&Ignorieren"}};
}

TEST(MessageBoxRequest, TakesCaptionAndButtonTextsFromTheTextsAndGivesEachButtonItsCode) {
    TMessageBoxRequest request = zxMessageBoxRequest("Title", "Sure?", mtWarning,
                                                     {mbYes, mbNo, mbCancel}, mbNo, nullptr,
                                                     GermanTexts());
    EXPECT_EQ(request.Caption, "Warnung");
    EXPECT_EQ(request.Text, "Sure?");
    EXPECT_EQ(request.DlgType, mtWarning);
    EXPECT_EQ(CaptionsOf(request), (std::vector<AnsiString>{"&Ja", "&Nein", "Abbrechen"}));
    ASSERT_EQ(request.Buttons.size(), 3u);
    EXPECT_EQ(request.Buttons[0].Result, 3);
    EXPECT_EQ(request.Buttons[1].Result, 4);
    EXPECT_EQ(request.Buttons[2].Result, 2);
    EXPECT_EQ(request.DefaultButton, 1);
    EXPECT_EQ(request.EscapeButton, 2);
}

TEST(MessageBoxRequest, ACustomBoxTakesTheCallersCaption) {
    TMessageBoxRequest request =
        zxMessageBoxRequest("Title", "Hello", mtCustom, {mbOk}, mbNone, nullptr, GermanTexts());
    EXPECT_EQ(request.Caption, "Title");
    EXPECT_EQ(request.EscapeButton, 0);
}

TEST(MessageBoxRequest, KeepsTheButtonsInTheOrderGivenAndLeavesOutNone) {
    TMessageBoxRequest request = zxMessageBoxRequest(
        "", "", mtError, {mbRetry, mbNone, mbOk}, mbNone, nullptr, DefaultMsgDlgTexts());
    EXPECT_EQ(request.Caption, "Error");
    EXPECT_EQ(CaptionsOf(request), (std::vector<AnsiString>{"&Retry", "OK"}));
}

TEST(MessageBoxRequest, MakesNoButtonTheDefaultUnlessOneEqualsIt) {
    const std::vector<TMsgDlgBtn> buttons{mbYes, mbNo};
    EXPECT_EQ(zxMessageBoxRequest("", "", mtInformation, buttons, mbNone, nullptr,
                                  DefaultMsgDlgTexts())
                  .DefaultButton,
              -1);
    EXPECT_EQ(zxMessageBoxRequest("", "", mtInformation, buttons, mbIgnore, nullptr,
                                  DefaultMsgDlgTexts())
                  .DefaultButton,
              -1);
    EXPECT_EQ(zxMessageBoxRequest("", "", mtInformation, {mbNone, mbYes}, mbNone, nullptr,
                                  DefaultMsgDlgTexts())
                  .DefaultButton,
              -1);
}

TEST(MessageBoxRequest, AConfirmationWithAPictureShowsThePictureAlone) {
    TBitmap picture(8, 8);
    TMessageBoxRequest request = zxMessageBoxRequest("", "?", mtConfirmation, {mbYes}, mbYes,
                                                     &picture, DefaultMsgDlgTexts());
    EXPECT_EQ(request.Caption, "Confirm");
    EXPECT_EQ(request.DlgType, mtCustom);
    EXPECT_EQ(request.Icon, &picture);
    request = zxMessageBoxRequest("", "!", mtWarning, {mbOk}, mbOk, &picture,
                                  DefaultMsgDlgTexts());
    EXPECT_EQ(request.DlgType, mtWarning);
    EXPECT_EQ(request.Icon, &picture);
}

TEST(PackagePictures, TheConfirmationPictureIsRegisteredAtStartUp) {
    InitQzxComp();
    TBitmap bitmap;
    bitmap.LoadFromResourceName("msgdlg_confirm");
    EXPECT_EQ(bitmap.Width(), 32);
    EXPECT_EQ(bitmap.Height(), 32);
    EXPECT_EQ(bitmap.Pixel(0, 0), bitmap.TransparentColor()) << "the corners lie outside the disc";
    EXPECT_NE(bitmap.Pixel(16, 16), bitmap.Pixel(0, 0));
    EXPECT_EQ(MessageOf<EResNotFound>([&] { bitmap.LoadFromResourceName("MSGDLG_NONE"); }),
              "Resource MSGDLG_NONE not found");
    EXPECT_EQ(bitmap.Width(), 32) << "a failed load keeps the picture";
}

// ---------------------------------------------------------------------------
// The component's message boxes

class LangDialogs : public TLangFormTest<TForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        InitQzxComp();
        Application->SetTitle("Demo");
        Lang->SetNumLang(2);
        TStringList dialogs;
        dialogs.Add(Line({"Confirm", "Confirm", "Bestaetigen"}));
        dialogs.Add(Line({"Warning", "Warning", "Warnung"}));
        dialogs.Add(Line({"OK", "OK", "Gut"}));
        dialogs.Add(Line({"Cancel", "Cancel", "Abbrechen"}));
        dialogs.Add(Line({"Yes", "&Yes", "&Ja"}));
        dialogs.Add(Line({"No", "&No", "&Nein"}));
        Lang->SetDlgsCaptions(&dialogs);
        Lang->SetActLang(2);
    }

    TScriptedDialogService Service;
    TDialogServiceGuard Guard{Service};
};

TEST_F(LangDialogs, AConfirmationSpeaksTheActiveLanguageAndReturnsThePressedButton) {
    Service.Answer(mrNo);
    EXPECT_EQ(Lang->MessageDlg(u"Delete the file?", mtConfirmation, mbYesNoCancel, 0, mbNo,
                               nullptr),
              mrNo);
    const TDialogRecord& box = Service.LastRequest();
    EXPECT_EQ(box.Caption, "Bestaetigen");
    EXPECT_EQ(box.Text, "Delete the file?");
    EXPECT_EQ(box.ButtonCaptions, (std::vector<AnsiString>{"&Ja", "&Nein", "Abbrechen"}));
    EXPECT_EQ(box.DefaultButton, mbNo);
    EXPECT_EQ(box.DlgType, mtCustom) << "the picture stands for the confirmation icon";
    ASSERT_NE(box.Icon, nullptr);
    EXPECT_EQ(box.Icon->Width(), 32);
    EXPECT_EQ(box.X, -1);

    Service.Answer(mrYes);
    EXPECT_EQ(Lang->MessageDlg(u"Again?", mtConfirmation, mbYesNoCancel, 0, mbNo, nullptr),
              mrYes);
}

TEST_F(LangDialogs, TheFirstLanguageShowsTheTextsWithTheirAccessKeys) {
    Lang->SetActLang(1);
    Service.Answer(mrYes);
    Lang->MessageDlg(u"Sure?", mtWarning, mbYesNo, 0, mbYes, nullptr);
    EXPECT_EQ(Service.LastRequest().Caption, "Warning");
    EXPECT_EQ(Service.LastRequest().ButtonCaptions, (std::vector<AnsiString>{"&Yes", "&No"}));
    EXPECT_EQ(Service.LastRequest().Icon, nullptr);
    EXPECT_EQ(Service.LastRequest().DlgType, mtWarning);
}

TEST_F(LangDialogs, ATextWithoutTranslationShowsTheUntranslatedText) {
    Service.Answer(mrAbort);
    Lang->MessageDlg(u"Failed", mtError, mbAbortRetryIgnore, 0, mbRetry, nullptr);
    EXPECT_EQ(Service.LastRequest().Caption, "Error");
    EXPECT_EQ(Service.LastRequest().ButtonCaptions,
              (std::vector<AnsiString>{"&Abort", "&Retry", "&Ignore"}));
    EXPECT_EQ(Service.LastRequest().DefaultButton, mbRetry);
}

TEST_F(LangDialogs, ShowMessageOffersItsOKButtonUnderTheApplicationsTitle) {
    Service.Answer(mrOk);
    Lang->ShowMessage(u"Saved");
    const TDialogRecord& box = Service.LastRequest();
    EXPECT_EQ(box.Caption, "Demo");
    EXPECT_EQ(box.Text, "Saved");
    EXPECT_EQ(box.DlgType, mtCustom);
    EXPECT_EQ(box.ButtonCaptions, (std::vector<AnsiString>{"Gut"}));
    EXPECT_EQ(box.DefaultButton, mbNone);
}

TEST_F(LangDialogs, ShowMessagePosPlacesTheBox) {
    Service.Answer(mrOk);
    Lang->ShowMessagePos(u"Here", 40, 50);
    EXPECT_EQ(Service.LastRequest().X, 40);
    EXPECT_EQ(Service.LastRequest().Y, 50);
    EXPECT_EQ(Service.LastRequest().Caption, "Demo");
}

TEST_F(LangDialogs, FormattedMessagesReadOnlyTheirArguments) {
    Service.Answer(mrOk);
    Lang->ShowMessageFmt(u"%s of %d done", {"100%s", 3});
    EXPECT_EQ(Service.LastRequest().Text, "100%s of 3 done");
    Service.Answer(mrOk);
    Lang->ShowMessage(u"%d files", {7});
    EXPECT_EQ(Service.LastRequest().Text, "7 files");

    EXPECT_THROW(Lang->ShowMessageFmt(u"%s and %s", {"one"}), EConvertError);
    EXPECT_THROW(Lang->ShowMessageFmt(u"%d", {"text"}), EConvertError);
    EXPECT_EQ(Service.Requests().size(), 2u) << "no box for a message that cannot be formatted";
}

TEST_F(LangDialogs, TheFullFormTakesItsThreeButtonsInItsOrder) {
    Service.Answer(mrRetry);
    EXPECT_EQ(Lang->MessageDlg(u"Box", u"Try", mtCustom, mbRetry, mbNone, mbOk, 0, 5, 6, mbNone,
                               nullptr),
              mrRetry);
    const TDialogRecord& box = Service.LastRequest();
    EXPECT_EQ(box.Caption, "Box");
    EXPECT_EQ(box.ButtonCaptions, (std::vector<AnsiString>{"&Retry", "Gut"}));
    EXPECT_EQ(box.DefaultButton, mbNone);
    EXPECT_EQ(box.X, 5);
    EXPECT_EQ(box.Y, 6);
}

TEST_F(LangDialogs, ACallersBitmapReplacesTheIcon) {
    TBitmap picture(4, 6);
    Service.Answer(mrOk);
    Lang->MessageDlg(u"Title", u"Look", mtInformation, TMsgDlgButtons{mbOk}, 0, mbOk, &picture);
    ASSERT_NE(Service.LastRequest().Icon, nullptr);
    EXPECT_EQ(Service.LastRequest().Icon->Height(), 6);
    EXPECT_EQ(Service.LastRequest().DlgType, mtInformation);
}

TEST_F(LangDialogs, ASetOfEveryButtonShowsNothing) {
    TMsgDlgButtons all{mbNone, mbOk, mbCancel, mbYes, mbNo, mbAbort, mbRetry, mbIgnore};
    EXPECT_THROW(Lang->MessageDlgPos(u"Too many", mtInformation, all, 0, 1, 1, mbOk, nullptr),
                 EInvalidOperation);
    EXPECT_TRUE(Service.Requests().empty());
}

TEST_F(LangDialogs, NothingIsShownOnceTheApplicationTerminates) {
    Application->Terminate();
    EXPECT_EQ(Lang->MessageDlg(u"Late", mtWarning, mbOKCancel, 0, mbOk, nullptr), -1);
    Lang->ShowMessage(u"Late");
    EXPECT_TRUE(Service.Requests().empty());
    DoneApplication();
}

TEST_F(LangDialogs, ALinkedComponentSpeaksWithItsContainersTexts) {
    InitQzxLngLnk();
    TForm* second = NewForm<TForm>(nullptr);
    auto* linked = NewComponent<TzxLangLinked>(second);
    linked->SetNumLang(2);
    linked->SetCommonContainer(Lang);
    linked->SetActLang(2);
    Service.Answer(mrYes);
    linked->MessageDlg(u"Go on?", mtConfirmation, mbYesNo, 0, mbYes, nullptr);
    EXPECT_EQ(Service.LastRequest().Caption, "Bestaetigen");
    EXPECT_EQ(Service.LastRequest().ButtonCaptions, (std::vector<AnsiString>{"&Ja", "&Nein"}));
    delete second;
}

} // namespace
