// Message boxes that speak the active language: their caption and button
// texts come from DlgsCaptions.
#include "runtime/QzxComp.h"

namespace {

constexpr Integer ButtonValueCount = 8;

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

