#include "clx/Dialogs.h"
#include "clx/QtSupport.h"

#include "clx/Forms.h"

#include <QtCore/QEventLoop>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
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

// Gives the keyboard back, when a modal window closes, to the window that
// was active before it and to the control that had the focus there: without
// a window manager nobody else does, and keys would reach no window.
class TFocusReturn {
public:
    TFocusReturn()
        : FWindow(QApplication::activeWindow()), FFocused(QApplication::focusWidget()) {}
    ~TFocusReturn() {
        if (!FWindow || !FWindow->isVisible())
            return;
        FWindow->activateWindow();
        if (FFocused && FFocused->window() == FWindow && FFocused->isVisible())
            FFocused->setFocus(Qt::ActiveWindowFocusReason);
    }
    TFocusReturn(const TFocusReturn&) = delete;
    TFocusReturn& operator=(const TFocusReturn&) = delete;

private:
    QPointer<QWidget> FWindow;
    QPointer<QWidget> FFocused;
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
    TFocusReturn focusReturn;
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
    TFocusReturn focusReturn;
    TModalScope modal;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    Value = FromQString(dialog.textValue());
    return true;
}

// The local event loop runs until the form has a modal result that its
// close protocol accepts, or the application terminates.
AnsiString TQtDialogService::ClipboardText() {
    Application->Initialize();
    return FromQString(QGuiApplication::clipboard()->text());
}

void TQtDialogService::SetClipboardText(const AnsiString& Value) {
    Application->Initialize();
    QGuiApplication::clipboard()->setText(ToQString(Value));
}

bool TQtDialogService::ClipboardHasFormat(const AnsiString& MimeType) {
    Application->Initialize();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(ToQString(MimeType));
}

void TQtDialogService::ClearClipboard() {
    Application->Initialize();
    QGuiApplication::clipboard()->clear();
}

bool TQtDialogService::FileDialog(TFileDialogRequest& Request) {
    Application->Initialize();
    QFileDialog dialog(DialogParent(), ToQString(Request.Title), ToQString(Request.InitialDir));
    dialog.setAcceptMode(Request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!Request.Save && Request.Options.Contains(ofFileMustExist)
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     !Request.Options.Contains(ofOverwritePrompt));
    QStringList filters;
    for (const AnsiString& filter : FileDialogFilters(Request.Filter))
        filters << ToQString(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (Request.FilterIndex >= 1 && Request.FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[Request.FilterIndex - 1]);
    }
    if (!Request.FileName.empty())
        dialog.selectFile(ToQString(Request.FileName));
    TFocusReturn focusReturn;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    Request.FileName = FromQString(dialog.selectedFiles().first());
    if (Integer index = static_cast<Integer>(filters.indexOf(dialog.selectedNameFilter())); index >= 0)
        Request.FilterIndex = index + 1;
    return true;
}

namespace {

// The find windows shown, by their component.
std::map<TFindDialog*, QPointer<QDialog>>& FindWindows() {
    static std::map<TFindDialog*, QPointer<QDialog>> windows;
    return windows;
}

QDialog* MakeFindWindow(TFindDialog& Dialog) {
    TFindOptions options = Dialog.Options();
    auto* window = new QDialog(DialogParent());
    window->setWindowTitle(QStringLiteral("Find"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QGridLayout(window);
    auto* label = new QLabel(QStringLiteral("Fi&nd what:"), window);
    auto* text = new QLineEdit(ToQString(Dialog.FindText()), window);
    label->setBuddy(text);
    auto* matchCase = new QCheckBox(QStringLiteral("Match &case"), window);
    matchCase->setChecked(options.Contains(frMatchCase));
    matchCase->setVisible(!options.Contains(frHideMatchCase));
    matchCase->setEnabled(!options.Contains(frDisableMatchCase));
    auto* wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), window);
    wholeWord->setChecked(options.Contains(frWholeWord));
    wholeWord->setVisible(!options.Contains(frHideWholeWord));
    wholeWord->setEnabled(!options.Contains(frDisableWholeWord));
    auto* up = new QRadioButton(QStringLiteral("&Up"), window);
    auto* down = new QRadioButton(QStringLiteral("&Down"), window);
    down->setChecked(options.Contains(frDown));
    up->setChecked(!options.Contains(frDown));
    for (QRadioButton* direction : {up, down}) {
        direction->setVisible(!options.Contains(frHideUpDown));
        direction->setEnabled(!options.Contains(frDisableUpDown));
    }
    auto* findNext = new QPushButton(QStringLiteral("&Find Next"), window);
    findNext->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), window);
    layout->addWidget(label, 0, 0);
    layout->addWidget(text, 0, 1, 1, 2);
    layout->addWidget(findNext, 0, 3);
    layout->addWidget(matchCase, 1, 0, 1, 2);
    layout->addWidget(up, 1, 2);
    layout->addWidget(cancel, 1, 3);
    layout->addWidget(wholeWord, 2, 0, 1, 2);
    layout->addWidget(down, 2, 2);
    TFindDialog* component = &Dialog;
    QObject::connect(findNext, &QPushButton::clicked, window, [=] {
        TFindOptions chosen = component->Options();
        chosen.Exclude(frMatchCase).Exclude(frWholeWord).Exclude(frDown).Include(frFindNext);
        if (matchCase->isChecked())
            chosen.Include(frMatchCase);
        if (wholeWord->isChecked())
            chosen.Include(frWholeWord);
        if (down->isChecked())
            chosen.Include(frDown);
        EventBoundary(component,
                      [&] { component->UserFind(FromQString(text->text()), chosen); });
    });
    QObject::connect(cancel, &QPushButton::clicked, window, &QDialog::reject);
    QObject::connect(window, &QDialog::finished, window, [component] {
        FindWindows().erase(component);
        EventBoundary(component, [component] { component->UserClose(); });
    });
    return window;
}

} // namespace

void TQtDialogService::ShowFindDialog(TFindDialog& Dialog) {
    Application->Initialize();
    QPointer<QDialog>& window = FindWindows()[&Dialog];
    if (!window)
        window = MakeFindWindow(Dialog);
    window->show();
    window->raise();
    window->activateWindow();
}

void TQtDialogService::CloseFindDialog(TFindDialog& Dialog) {
    auto found = FindWindows().find(&Dialog);
    if (found == FindWindows().end())
        return;
    QPointer<QDialog> window = found->second;
    FindWindows().erase(found);
    if (window) {
        QObject::disconnect(window, &QDialog::finished, nullptr, nullptr);
        window->close();
    }
}

TModalResult TQtDialogService::ShowModal(TCustomForm& Form) {
    Application->Initialize();
    TFocusReturn focusReturn;
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

void TScriptedDialogService::AnswerFile(const AnsiString& FileName, Integer FilterIndex) {
    FAnswers.push_back({.File = true, .Result = mrOk, .Text = FileName, .FilterIndex = FilterIndex});
}

void TScriptedDialogService::CancelFile() {
    FAnswers.push_back({.File = true, .Accepted = false, .Result = mrCancel});
}

bool TScriptedDialogService::FileDialog(TFileDialogRequest& Request) {
    TDialogRecord record{.Kind = Request.Save ? dkSaveDialog : dkOpenDialog,
                         .Caption = Request.Title,
                         .Text = Request.Filter,
                         .Value = Request.FileName,
                         .File = Request};
    FRequests.push_back(record);
    TAnswer answer = NextAnswer(false, record, true);
    if (!answer.Accepted)
        return false;
    Request.FileName = answer.Text;
    if (answer.FilterIndex > 0)
        Request.FilterIndex = answer.FilterIndex;
    return true;
}

void TScriptedDialogService::ShowFindDialog(TFindDialog& Dialog) {
    FFindDialog = &Dialog;
}

void TScriptedDialogService::CloseFindDialog(TFindDialog& Dialog) {
    if (FFindDialog == &Dialog)
        FFindDialog = nullptr;
}

void TScriptedDialogService::PressFindNext(const AnsiString& Text, TFindOptions Options) {
    if (!FFindDialog)
        throw EDialogScriptError("No find dialog is shown");
    FFindDialog->UserFind(Text, Options);
}

const TDialogRecord& TScriptedDialogService::LastRequest() const {
    if (FRequests.empty())
        throw EDialogScriptError("No dialog was requested");
    return FRequests.back();
}

TScriptedDialogService::TAnswer TScriptedDialogService::NextAnswer(bool Input,
                                                                   const TDialogRecord& Request,
                                                                   bool File) {
    if (FAnswers.empty())
        throw EDialogScriptError(
            Format("No answer for the dialog \"%s\": %s", {Request.Caption, Request.Text}));
    TAnswer answer = FAnswers.front();
    FAnswers.pop_front();
    if (answer.Input != Input || answer.File != File)
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

AnsiString TScriptedDialogService::ClipboardText() {
    return FClipboardText.value_or("");
}

void TScriptedDialogService::SetClipboardText(const AnsiString& Value) {
    FClipboardText = Value;
}

bool TScriptedDialogService::ClipboardHasFormat(const AnsiString& MimeType) {
    return FClipboardText && MimeType == "text/plain";
}

void TScriptedDialogService::ClearClipboard() {
    FClipboardText.reset();
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

// ---------------------------------------------------------------------------
// File and find dialogs

std::vector<AnsiString> FileDialogFilters(const AnsiString& Filter) {
    std::vector<AnsiString> parts;
    size_t start = 0;
    while (start <= Filter.size() && !Filter.empty()) {
        size_t bar = Filter.find('|', start);
        parts.push_back(Filter.substr(start, bar == AnsiString::npos ? AnsiString::npos : bar - start));
        if (bar == AnsiString::npos)
            break;
        start = bar + 1;
    }
    std::vector<AnsiString> filters;
    for (size_t index = 0; index + 1 < parts.size(); index += 2) {
        AnsiString patterns = parts[index + 1];
        std::replace(patterns.begin(), patterns.end(), ';', ' ');
        filters.push_back(parts[index] + " (" + patterns + ")");
    }
    return filters;
}

void TOpenDialog::PublishedProperties(TPropertyBuilder<TOpenDialog>& P) {
    P.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
    P.Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
    P.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
    P.Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
    P.Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
    P.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
        .Default(TOpenOptions{ofHideReadOnly});
    P.Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
}

bool TOpenDialog::Execute() {
    TFileDialogRequest request{.Save = IsSaveDialog(),
                               .Title = FTitle,
                               .Filter = FFilter,
                               .FilterIndex = FFilterIndex,
                               .InitialDir = FInitialDir,
                               .FileName = FFileName,
                               .Options = FOptions};
    if (!DialogService().FileDialog(request))
        return false;
    FFileName = request.FileName;
    FFilterIndex = request.FilterIndex;
    if (!FDefaultExt.empty() && !FFileName.empty() && ExtractFileExt(FFileName).empty())
        FFileName += "." + FDefaultExt;
    return true;
}

TFindDialog::~TFindDialog() {
    if (FShown)
        DialogService().CloseFindDialog(*this);
}

void TFindDialog::PublishedProperties(TPropertyBuilder<TFindDialog>& P) {
    P.Property("FindText", &TFindDialog::FindText, &TFindDialog::SetFindText);
    P.Property("Options", &TFindDialog::Options, &TFindDialog::SetOptions)
        .Default(TFindOptions{frDown});
    P.Property("OnClose", &TFindDialog::OnClose);
    P.Property("OnFind", &TFindDialog::OnFind);
}

bool TFindDialog::Execute() {
    FShown = true;
    DialogService().ShowFindDialog(*this);
    return true;
}

void TFindDialog::CloseDialog() {
    if (!FShown)
        return;
    DialogService().CloseFindDialog(*this);
    UserClose();
}

void TFindDialog::UserFind(const AnsiString& Text, TFindOptions Options) {
    FFindText = Text;
    FOptions = Options;
    if (OnFind)
        OnFind(this);
}

void TFindDialog::UserClose() {
    FShown = false;
    if (OnClose)
        OnClose(this);
}
