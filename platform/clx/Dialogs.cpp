#include "clx/Dialogs.h"
#include "clx/QtSupport.h"

#include "clx/Forms.h"

#include <QtCore/QEventLoop>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <map>

namespace {

TDialogService* InstalledService = nullptr;


Integer FirstButtonOf(const std::vector<TMessageBoxButton>& Buttons,
                      std::initializer_list<TMsgDlgBtn> Preferred) {
    for (TMsgDlgBtn button : Preferred) {
        Integer index = IndexOfButton(Buttons, button);
        if (index >= 0)
            return index;
    }
    return -1;
}

// The window a dialog belongs to: the active form, else the main form,
// when their widgets exist.
QWidget* DialogParent() {
    for (TCustomForm* form : {Screen->ActiveForm(), Application->MainForm()})
        if (form && form->HandleAllocated())
            return form->Handle();
    return nullptr;
}

QMessageBox::Icon IconOf(TMsgDlgType DlgType) {
    switch (DlgType) {
    case mtInformation:
        return QMessageBox::Information;
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtConfirmation:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::ButtonRole RoleOf(TMsgDlgBtn Button) {
    switch (Button) {
    case mbYes:
        return QMessageBox::YesRole;
    case mbNo:
        return QMessageBox::NoRole;
    case mbCancel:
    case mbAbort:
        return QMessageBox::RejectRole;
    default:
        return QMessageBox::AcceptRole;
    }
}

// Painting into an image needs no QGuiApplication, so the scripted service
// can record pictures too.
QImage ImageOf(const TGraphic& Graphic) {
    QImage image(Graphic.Width(), Graphic.Height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    TCanvas canvas;
    canvas.SetHandle(&painter);
    Graphic.Draw(canvas, Rect(0, 0, Graphic.Width(), Graphic.Height()));
    return image;
}

QPixmap PictureOf(const TGraphic& Graphic) {
    return QPixmap::fromImage(ImageOf(Graphic));
}

// Tells the application a modal window runs, for as long as it lives.
class TModalScope {
public:
    TModalScope() { Application->ModalStarted(); }
    ~TModalScope() { Application->ModalFinished(); }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;
};

AnsiString ApplicationCaption() {
    return Application->Title();
}

} // namespace

// ---------------------------------------------------------------------------
// The request of a message box

const char* const STooManyMessageBoxButtons = "Too many buttons specified for message box";

const TMsgDlgTexts& DefaultMsgDlgTexts() {
    static const TMsgDlgTexts texts{
        {"", "Information", "Warning", "Error", "Confirm"},
        {"", "OK", "Cancel", "&Yes", "&No", "&Abort", "&Retry", "&Ignore"},
    };
    return texts;
}

TMessageBoxRequest MessageDlgRequest(const AnsiString& Caption, const AnsiString& Msg,
                                     TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                                     TMsgDlgBtn DefaultButton, const TMsgDlgTexts& Texts) {
    TMessageBoxRequest request;
    request.Caption = DlgType == mtCustom ? Caption : Texts.Captions[DlgType];
    request.Text = Msg;
    request.DlgType = DlgType;
    TMsgDlgButtons offered = Buttons - TMsgDlgButtons{mbNone};
    if (offered.Empty())
        offered.Include(mbOk);
    for (TMsgDlgBtn button : MsgDlgButtonOrder)
        if (offered.Contains(button))
            request.Buttons.push_back(
                {button, Texts.ButtonCaptions[button], ModalResultOf(button)});
    request.DefaultButton = IndexOfButton(request.Buttons, DefaultButton);
    if (request.DefaultButton < 0)
        request.DefaultButton = std::max(FirstButtonOf(request.Buttons, {mbOk, mbYes}), 0);
    request.EscapeButton = EscapeButtonOf(request.Buttons);
    return request;
}

Integer IndexOfButton(const std::vector<TMessageBoxButton>& Buttons, TMsgDlgBtn Button) {
    for (std::size_t index = 0; index < Buttons.size(); ++index)
        if (Buttons[index].Button == Button)
            return static_cast<Integer>(index);
    return -1;
}

Integer EscapeButtonOf(const std::vector<TMessageBoxButton>& Buttons) {
    return Buttons.size() == 1 ? 0 : FirstButtonOf(Buttons, {mbCancel, mbNo, mbOk});
}

// ---------------------------------------------------------------------------
// Installing a service

TDialogService& DialogService() {
    if (InstalledService)
        return *InstalledService;
    static TQtDialogService* const qtService = new TQtDialogService;
    return *qtService;
}

TDialogServiceGuard::TDialogServiceGuard(TDialogService& Service) : FPrevious(InstalledService) {
    InstalledService = &Service;
}

TDialogServiceGuard::~TDialogServiceGuard() {
    InstalledService = FPrevious;
}

// ---------------------------------------------------------------------------
// Qt dialogs

TModalResult TQtDialogService::MessageBox(const TMessageBoxRequest& Request) {
    Application->Initialize();
    QMessageBox box(IconOf(Request.DlgType), ToQString(Request.Caption), ToQString(Request.Text),
                    QMessageBox::NoButton, DialogParent());
    std::map<QAbstractButton*, TModalResult> results;
    for (std::size_t index = 0; index < Request.Buttons.size(); ++index) {
        const TMessageBoxButton& button = Request.Buttons[index];
        QPushButton* pushButton = box.addButton(ToQString(button.Caption), RoleOf(button.Button));
        results[pushButton] = button.Result;
        if (static_cast<Integer>(index) == Request.DefaultButton)
            box.setDefaultButton(pushButton);
        if (static_cast<Integer>(index) == Request.EscapeButton)
            box.setEscapeButton(pushButton);
    }
    if (Request.Icon && !Request.Icon->Empty())
        box.setIconPixmap(PictureOf(*Request.Icon));
    if (Request.X >= 0 && Request.Y >= 0)
        box.move(Request.X, Request.Y);
    TModalScope modal;
    box.exec();
    auto pressed = results.find(box.clickedButton());
    return pressed == results.end() ? mrCancel : pressed->second;
}

bool TQtDialogService::InputQuery(const AnsiString& Caption, const AnsiString& Prompt,
                                  AnsiString& Value) {
    Application->Initialize();
    QInputDialog dialog(DialogParent());
    dialog.setWindowTitle(ToQString(Caption));
    dialog.setLabelText(ToQString(Prompt));
    dialog.setTextValue(ToQString(Value));
    TModalScope modal;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    Value = FromQString(dialog.textValue());
    return true;
}

// The local event loop runs until the form has a modal result that its
// close protocol accepts, or the application terminates.
TModalResult TQtDialogService::ShowModal(TCustomForm& Form) {
    Application->Initialize();
    Form.BeginModal();
    try {
        do {
            while (Form.ModalResult() == mrNone && !Application->Terminated())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (Application->Terminated() && Form.ModalResult() == mrNone)
                Form.SetModalResult(mrCancel);
        } while (!Form.CloseModal() && !Application->Terminated());
    } catch (...) {
        Form.EndModal();
        throw;
    }
    Form.EndModal();
    return Form.ModalResult();
}

// ---------------------------------------------------------------------------
// Scripted answers

void TScriptedDialogService::Answer(TModalResult Result) {
    FAnswers.push_back({.Result = Result});
}

void TScriptedDialogService::AnswerInput(const AnsiString& Text) {
    FAnswers.push_back({.Input = true, .Result = mrOk, .Text = Text});
}

void TScriptedDialogService::CancelInput() {
    FAnswers.push_back({.Input = true, .Accepted = false, .Result = mrCancel});
}

void TScriptedDialogService::AnswerModal(TModalResult Result,
                                         std::function<void(TCustomForm& Form)> Action) {
    FAnswers.push_back({.Result = Result, .Action = std::move(Action)});
}

const TDialogRecord& TScriptedDialogService::LastRequest() const {
    if (FRequests.empty())
        throw EDialogScriptError("No dialog was requested");
    return FRequests.back();
}

TScriptedDialogService::TAnswer TScriptedDialogService::NextAnswer(bool Input,
                                                                   const TDialogRecord& Request) {
    if (FAnswers.empty())
        throw EDialogScriptError(
            Format("No answer for the dialog \"%s\": %s", {Request.Caption, Request.Text}));
    TAnswer answer = FAnswers.front();
    FAnswers.pop_front();
    if (answer.Input != Input)
        throw EDialogScriptError(
            Format("The answer for the dialog \"%s\" is of another kind", {Request.Caption}));
    return answer;
}

TModalResult TScriptedDialogService::MessageBox(const TMessageBoxRequest& Request) {
    TDialogRecord record{.Kind = dkMessageBox,
                         .Caption = Request.Caption,
                         .Text = Request.Text,
                         .DlgType = Request.DlgType,
                         .X = Request.X,
                         .Y = Request.Y};
    for (const TMessageBoxButton& button : Request.Buttons) {
        record.Buttons.Include(button.Button);
        record.ButtonCaptions.push_back(button.Caption);
    }
    if (Request.DefaultButton >= 0 &&
        Request.DefaultButton < static_cast<Integer>(Request.Buttons.size()))
        record.DefaultButton = Request.Buttons[Request.DefaultButton].Button;
    if (Request.Icon && !Request.Icon->Empty()) {
        record.Icon = std::make_shared<TBitmap>();
        record.Icon->SetImage(ImageOf(*Request.Icon));
    }
    FRequests.push_back(record);
    TAnswer answer = NextAnswer(false, record);
    for (const TMessageBoxButton& button : Request.Buttons)
        if (button.Result == answer.Result)
            return answer.Result;
    throw EDialogScriptError(
        Format("No button of the box \"%s\" gives %d", {Request.Caption, answer.Result}));
}

bool TScriptedDialogService::InputQuery(const AnsiString& Caption, const AnsiString& Prompt,
                                        AnsiString& Value) {
    TDialogRecord record{.Kind = dkInputQuery, .Caption = Caption, .Text = Prompt, .Value = Value};
    FRequests.push_back(record);
    TAnswer answer = NextAnswer(true, record);
    if (!answer.Accepted)
        return false;
    Value = answer.Text;
    return true;
}

TModalResult TScriptedDialogService::ShowModal(TCustomForm& Form) {
    TDialogRecord record{.Kind = dkShowModal, .Caption = Form.Caption(), .Text = Form.ClassName()};
    FRequests.push_back(record);
    TAnswer answer = NextAnswer(false, record);
    Form.BeginModal();
    try {
        while (true) {
            if (answer.Action)
                answer.Action(Form);
            if (answer.Result != mrNone)
                Form.SetModalResult(answer.Result);
            if (Form.ModalResult() == mrNone)
                throw EDialogScriptError(Format(
                    "The answer left the form \"%s\" without a modal result", {Form.Caption()}));
            if (Form.CloseModal())
                break;
            answer = NextAnswer(false, record);
        }
    } catch (...) {
        Form.EndModal();
        throw;
    }
    Form.EndModal();
    return Form.ModalResult();
}

// ---------------------------------------------------------------------------
// The platform's routines

Integer MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                   Integer HelpCtx, TMsgDlgBtn DefaultButton) {
    return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1, DefaultButton);
}

Integer MessageDlg(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType,
                   const TMsgDlgButtons& Buttons, Integer, TMsgDlgBtn DefaultButton) {
    return DialogService().MessageBox(
        MessageDlgRequest(Caption, Msg, DlgType, Buttons, DefaultButton));
}

Integer MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                      Integer, Integer X, Integer Y, TMsgDlgBtn DefaultButton) {
    TMessageBoxRequest request =
        MessageDlgRequest(ApplicationCaption(), Msg, DlgType, Buttons, DefaultButton);
    request.X = X;
    request.Y = Y;
    return DialogService().MessageBox(request);
}

void ShowMessage(const AnsiString& Msg) {
    MessageDlg(ApplicationCaption(), Msg, mtCustom, {mbOk}, 0);
}

void ShowMessageFmt(const AnsiString& Msg, std::initializer_list<TVarRec> Params) {
    ShowMessage(Format(Msg, Params));
}

void ShowMessagePos(const AnsiString& Msg, Integer X, Integer Y) {
    MessageDlgPos(Msg, mtCustom, {mbOk}, 0, X, Y);
}

bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value) {
    return DialogService().InputQuery(ACaption, APrompt, Value);
}

AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt,
                    const AnsiString& ADefault) {
    AnsiString value = ADefault;
    InputQuery(ACaption, APrompt, value);
    return value;
}
