// Message boxes that speak the active language: their caption and button
// texts come from DlgsCaptions.
#include "runtime/QzxComp_Engine.h"
#include "runtime/QzxConsts.h"

#include "clx/Forms.h"

namespace {

constexpr Integer ButtonValueCount = 8;
// DialogTexts entries: the caption of dialog type T is entry T - 1, the
// caption of button B entry ButtonTextOffset + B.
constexpr Integer ButtonTextOffset = 3;
// A message box result for "nothing was shown".
constexpr Integer NotShown = -1;

// The package's confirmation picture, made transparent.
std::unique_ptr<TBitmap> ConfirmationBitmap() {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName("MSGDLG_CONFIRM");
    bitmap->SetTransparent(true);
    return bitmap;
}

} // namespace

std::vector<TMsgDlgBtn> zxMsgDlgButtons(const TMsgDlgButtons& Buttons) {
    Integer members = 0;
    for (Integer value = 0; value < ButtonValueCount; ++value)
        members += Buttons.Contains(static_cast<TMsgDlgBtn>(value)) ? 1 : 0;
    if (members == ButtonValueCount)
        throw EInvalidOperation(STooManyMessageBoxButtons);
    std::vector<TMsgDlgBtn> offered;
    for (TMsgDlgBtn button : MsgDlgButtonOrder)
        if (Buttons.Contains(button))
            offered.push_back(button);
    if (offered.empty())
        offered.push_back(mbOk);
    return offered;
}

TMessageBoxRequest zxMessageBoxRequest(const AnsiString& Caption, const AnsiString& Msg,
                                       TMsgDlgType DlgType, const std::vector<TMsgDlgBtn>& Buttons,
                                       TMsgDlgBtn DefaultButton, const TGraphic* Icon,
                                       const TMsgDlgTexts& Texts) {
    TMessageBoxRequest request;
    request.Caption = DlgType == mtCustom ? Caption : Texts.Captions[DlgType];
    request.Text = Msg;
    request.DlgType = DlgType == mtConfirmation && Icon ? mtCustom : DlgType;
    request.Icon = Icon;
    for (TMsgDlgBtn button : Buttons)
        if (button != mbNone)
            request.Buttons.push_back(
                {button, Texts.ButtonCaptions[button], ModalResultOf(button)});
    request.DefaultButton =
        DefaultButton == mbNone ? -1 : IndexOfButton(request.Buttons, DefaultButton);
    request.EscapeButton = EscapeButtonOf(request.Buttons);
    return request;
}

// ---------------------------------------------------------------------------
// The component's texts

// The entry's translation (its key is the text without the first "&"); a
// language without one shows the entry itself rather than an empty text.
AnsiString TzxCustomLang::TEngine::TranslatedDlgText(const TzxCustomLang& L, Integer Entry) {
    AnsiString text = DialogTexts[static_cast<std::size_t>(Entry)];
    AnsiString key = StringReplace(text, "&", "", {});
    AnsiString translated = UTF8Encode(L.GetTextFrom(*L.FDlgsCaptions, UTF8Decode(key), true));
    return translated.empty() ? text : translated;
}

TMsgDlgTexts TzxCustomLang::TEngine::TranslatedDlgTexts(const TzxCustomLang& L) {
    TMsgDlgTexts texts;
    for (Integer type = mtInformation; type <= mtConfirmation; ++type)
        texts.Captions[static_cast<std::size_t>(type)] = TranslatedDlgText(L, type - 1);
    for (Integer button = mbOk; button <= mbIgnore; ++button)
        texts.ButtonCaptions[static_cast<std::size_t>(button)] =
            TranslatedDlgText(L, ButtonTextOffset + button);
    return texts;
}

// ---------------------------------------------------------------------------
// The message boxes

Integer TzxCustomLang::TEngine::ShowMessageBox(TzxCustomLang& L, const WideString& Caption,
                                               const WideString& Msg, TMsgDlgType DlgType,
                                               const std::vector<TMsgDlgBtn>& Buttons, Integer X,
                                               Integer Y, TMsgDlgBtn DefaultButton,
                                               TBitmap* Bitmap) {
    if (Application->Terminated())
        return NotShown;
    std::unique_ptr<TBitmap> confirmation;
    if (DlgType == mtConfirmation && !Bitmap) {
        confirmation = ConfirmationBitmap();
        Bitmap = confirmation.get();
    }
    TMessageBoxRequest request =
        zxMessageBoxRequest(UTF8Encode(Caption), UTF8Encode(Msg), DlgType, Buttons, DefaultButton,
                            Bitmap, TranslatedDlgTexts(L));
    request.X = X;
    request.Y = Y;
    return DialogService().MessageBox(request);
}

Integer TzxCustomLang::MessageDlg(const WideString& Caption, const WideString& Msg,
                                  TMsgDlgType DlgType, TMsgDlgBtn Button1, TMsgDlgBtn Button2,
                                  TMsgDlgBtn Button3, Integer, Integer X, Integer Y,
                                  TMsgDlgBtn DefaultButton, TBitmap* Bitmap) {
    return TEngine::ShowMessageBox(*this, Caption, Msg, DlgType, {Button1, Button2, Button3}, X, Y,
                                   DefaultButton, Bitmap);
}

Integer TzxCustomLang::MessageDlg(const WideString& Caption, const WideString& Msg,
                                  TMsgDlgType DlgType, const TMsgDlgButtons& Buttons, Integer,
                                  Integer X, Integer Y, TMsgDlgBtn DefaultButton, TBitmap* Bitmap) {
    return TEngine::ShowMessageBox(*this, Caption, Msg, DlgType, zxMsgDlgButtons(Buttons), X, Y,
                                   DefaultButton, Bitmap);
}

Integer TzxCustomLang::MessageDlg(const WideString& Caption, const WideString& Msg,
                                  TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                                  Integer HelpCtx, TMsgDlgBtn DefaultButton, TBitmap* Bitmap) {
    return MessageDlg(Caption, Msg, DlgType, Buttons, HelpCtx, -1, -1, DefaultButton, Bitmap);
}

Integer TzxCustomLang::MessageDlg(const WideString& Msg, TMsgDlgType DlgType,
                                  const TMsgDlgButtons& Buttons, Integer HelpCtx,
                                  TMsgDlgBtn DefaultButton, TBitmap* Bitmap) {
    return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1, DefaultButton, Bitmap);
}

Integer TzxCustomLang::MessageDlgPos(const WideString& Msg, TMsgDlgType DlgType,
                                     const TMsgDlgButtons& Buttons, Integer HelpCtx, Integer X,
                                     Integer Y, TMsgDlgBtn DefaultButton, TBitmap* Bitmap) {
    return MessageDlg(UTF8Decode(Application->Title()), Msg, DlgType, Buttons, HelpCtx, X, Y,
                      DefaultButton, Bitmap);
}

void TzxCustomLang::ShowMessage(const WideString& Msg) {
    MessageDlg(Msg, mtCustom, TMsgDlgButtons{mbOk}, 0, mbNone, nullptr);
}

void TzxCustomLang::ShowMessage(const WideString& Msg, std::initializer_list<TVarRec> Params) {
    ShowMessageFmt(Msg, Params);
}

void TzxCustomLang::ShowMessageFmt(const WideString& Msg, std::initializer_list<TVarRec> Params) {
    ShowMessage(UTF8Decode(Format(UTF8Encode(Msg), Params)));
}

void TzxCustomLang::ShowMessagePos(const WideString& Msg, Integer X, Integer Y) {
    MessageDlgPos(Msg, mtCustom, TMsgDlgButtons{mbOk}, 0, X, Y, mbNone, nullptr);
}
