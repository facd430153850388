// Translated message boxes: which buttons a set gives, what the box shows
// and returns, and the package's confirmation picture.
#include "LangTestSupport.h"

#include "TestSupport.h"

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

} // namespace
