// Dialogs: message boxes, input queries, and the replaceable dialog service
// through which they and modal forms are shown.
//
// The dialog service
// ------------------
// Everything that waits for the user goes through DialogService(): the
// message boxes (MessageDlg, ShowMessage...), input queries (InputQuery,
// InputBox), TCustomForm::ShowModal and TApplication::ShowException. The
// default service, TQtDialogService, shows real Qt dialogs. Tests install a
// TScriptedDialogService for a scope with TDialogServiceGuard: it answers
// from a queue, records every request, and raises EDialogScriptError when
// it has no fitting answer, so that no test ever waits for a window.
// File dialogs and the clipboard join the service as further virtual
// functions, implemented by both services.
//
// Message boxes
// -------------
// MessageDlgRequest() is the one place that turns a dialog type and a
// button set into what a box shows: caption, icon, button captions and the
// modal result of each button. It is a plain function of its texts
// (TMsgDlgTexts), so that translated captions and button texts can be
// passed in; a caller that needs other buttons builds a TMessageBoxRequest
// itself and hands it to DialogService().MessageBox.
#pragma once

#include "clx/Controls.h"

#include <array>
#include <deque>
#include <optional>

class TCustomForm;

ZX_ENUM(TMsgDlgType, mtCustom, mtInformation, mtWarning, mtError, mtConfirmation);
ZX_ENUM(TMsgDlgBtn, mbNone, mbOk, mbCancel, mbYes, mbNo, mbAbort, mbRetry, mbIgnore);
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbOKCancel{mbOk, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The modal result of a button: its ordinal (mbOk 1 = mrOk ... mbIgnore 7 =
// mrIgnore), mrNone for mbNone.
inline TModalResult ModalResultOf(TMsgDlgBtn Button) {
    return static_cast<TModalResult>(Button);
}

// The texts of message boxes: window captions by dialog type (that of
// mtCustom is not used: the box takes the caller's caption) and button
// captions by button, "&" marking the access key.
struct TMsgDlgTexts {
    std::array<AnsiString, 5> Captions;
    std::array<AnsiString, 8> ButtonCaptions;
};
// "Information", "Warning", "Error", "Confirm"; "OK", "Cancel", "&Yes",
// "&No", "&Abort", "&Retry", "&Ignore".
const TMsgDlgTexts& DefaultMsgDlgTexts();

struct TMessageBoxButton {
    TMsgDlgBtn Button = mbNone;
    AnsiString Caption;
    TModalResult Result = mrNone;
};

// What a message box shows and what its buttons return.
struct TMessageBoxRequest {
    AnsiString Caption;
    AnsiString Text;
    // Chooses the icon: none for mtCustom.
    TMsgDlgType DlgType = mtCustom;
    // In the order they are offered.
    std::vector<TMessageBoxButton> Buttons;
    // Index into Buttons: the button Enter presses, and the one whose
    // result closing the box by Escape or its close button gives; -1 for
    // none (closing then gives mrCancel).
    Integer DefaultButton = -1;
    Integer EscapeButton = -1;
    // The box's top-left corner on the screen; -1 leaves the placement to
    // the platform.
    Integer X = -1;
    Integer Y = -1;
    // A picture shown instead of the type's icon (not owned).
    const TGraphic* Icon = nullptr;
};

// The order in which a box offers the buttons of a set.
inline constexpr std::array<TMsgDlgBtn, 7> MsgDlgButtonOrder{mbYes,   mbNo,    mbOk,    mbCancel,
                                                             mbAbort, mbRetry, mbIgnore};
// The index of Button among Buttons, -1 when absent.
Integer IndexOfButton(const std::vector<TMessageBoxButton>& Buttons, TMsgDlgBtn Button);
// The button closing the box by Escape gives: Cancel, No, or OK, in that
// order of preference, or the only button; -1 for none.
Integer EscapeButtonOf(const std::vector<TMessageBoxButton>& Buttons);

// The message of EInvalidOperation for a button set that holds every button.
extern const char* const STooManyMessageBoxButtons;

// The box for a dialog type and a button set. Caption is used for mtCustom;
// the other types take their caption from Texts. Buttons are offered in the
// order Yes, No, OK, Cancel, Abort, Retry, Ignore (an empty set offers OK).
// The default button is DefaultButton when the set holds it, otherwise OK,
// Yes or the first; the escape button is Cancel, No, or OK, in that order
// of preference, or the only button.
TMessageBoxRequest MessageDlgRequest(const AnsiString& Caption, const AnsiString& Msg,
                                     TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                                     TMsgDlgBtn DefaultButton = mbNone,
                                     const TMsgDlgTexts& Texts = DefaultMsgDlgTexts());

// ---------------------------------------------------------------------------
// File and find dialogs

ZX_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp,
        ofNoValidate, ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist,
        ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate);
using TOpenOptions = TSet<TOpenOption>;

ZX_ENUM(TFindOption, frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown,
        frMatchCase, frDisableMatchCase, frDisableUpDown, frDisableWholeWord, frReplace,
        frReplaceAll, frWholeWord, frShowHelp);
using TFindOptions = TSet<TFindOption>;

// What a file dialog asks: Filter in the platform's form
// "Text files|*.txt;*.text|All files|*.*", FilterIndex 1-based.
struct TFileDialogRequest {
    bool Save = false;
    AnsiString Title;
    AnsiString Filter;
    Integer FilterIndex = 1;
    AnsiString InitialDir;
    AnsiString FileName;
    TOpenOptions Options;
};

// The filter's pairs as Qt names them: "Text files (*.txt *.text)".
std::vector<AnsiString> FileDialogFilters(const AnsiString& Filter);

class TFindDialog;

// ---------------------------------------------------------------------------
// The service

class TDialogService {
public:
    TDialogService() = default;
    TDialogService(const TDialogService&) = delete;
    TDialogService& operator=(const TDialogService&) = delete;
    virtual ~TDialogService() = default;

    // Shows the box; the Result of the button pressed.
    virtual TModalResult MessageBox(const TMessageBoxRequest& Request) = 0;
    // Asks for a line of text starting from Value; True and Value changed
    // when the user accepted.
    virtual bool InputQuery(const AnsiString& Caption, const AnsiString& Prompt,
                            AnsiString& Value) = 0;
    // Runs the modal session of the form (TCustomForm::BeginModal,
    // CloseModal, EndModal) and returns its ModalResult.
    virtual TModalResult ShowModal(TCustomForm& Form) = 0;
    // The clipboard's text ("" when it holds none), its replacement, and
    // whether it holds data of a MIME type.
    virtual AnsiString ClipboardText() = 0;
    virtual void SetClipboardText(const AnsiString& Value) = 0;
    virtual bool ClipboardHasFormat(const AnsiString& MimeType) = 0;
    virtual void ClearClipboard() = 0;
    // Asks for a file; True with FileName and FilterIndex changed when the
    // user chose one.
    virtual bool FileDialog(TFileDialogRequest& Request) = 0;
    // Shows the find dialog without waiting; its Find Next reaches
    // TFindDialog::UserFind, closing it UserClose.
    virtual void ShowFindDialog(TFindDialog& Dialog) = 0;
    virtual void CloseFindDialog(TFindDialog& Dialog) = 0;
};

// The installed service, or the Qt service when none is.
TDialogService& DialogService();

// Installs a service for its lifetime, then puts the previous one back.
class TDialogServiceGuard {
public:
    explicit TDialogServiceGuard(TDialogService& Service);
    ~TDialogServiceGuard();
    TDialogServiceGuard(const TDialogServiceGuard&) = delete;
    TDialogServiceGuard& operator=(const TDialogServiceGuard&) = delete;

private:
    TDialogService* FPrevious;
};

// Real Qt dialogs: QMessageBox, QInputDialog, and a local event loop for
// modal forms. Makes the QApplication when there is none.
class TQtDialogService : public TDialogService {
public:
    TModalResult MessageBox(const TMessageBoxRequest& Request) override;
    bool InputQuery(const AnsiString& Caption, const AnsiString& Prompt,
                    AnsiString& Value) override;
    TModalResult ShowModal(TCustomForm& Form) override;
    AnsiString ClipboardText() override;
    void SetClipboardText(const AnsiString& Value) override;
    bool ClipboardHasFormat(const AnsiString& MimeType) override;
    void ClearClipboard() override;
    bool FileDialog(TFileDialogRequest& Request) override;
    void ShowFindDialog(TFindDialog& Dialog) override;
    void CloseFindDialog(TFindDialog& Dialog) override;
};

// ---------------------------------------------------------------------------
// The scripted service of the tests

class EDialogScriptError : public Exception {
    using Exception::Exception;
};

enum TDialogKind { dkMessageBox, dkInputQuery, dkShowModal, dkOpenDialog, dkSaveDialog };

// One request as the scripted service saw it.
struct TDialogRecord {
    TDialogKind Kind = dkMessageBox;
    // Message boxes: the box's caption; input queries: the caption;
    // modal forms: the form's Caption; file dialogs: the title.
    AnsiString Caption{};
    // Message boxes: the message; input queries: the prompt; modal forms:
    // the form's class name.
    AnsiString Text{};
    // Message boxes only.
    TMsgDlgType DlgType = mtCustom;
    TMsgDlgButtons Buttons{};
    std::vector<AnsiString> ButtonCaptions{};
    TMsgDlgBtn DefaultButton = mbNone;
    Integer X = -1;
    Integer Y = -1;
    // The picture shown instead of the type's icon, as the box paints it.
    std::shared_ptr<TBitmap> Icon{};
    // Input queries: the value offered; file dialogs: the file name.
    AnsiString Value{};
    // File dialogs only.
    TFileDialogRequest File{};
};

// Answers requests in order from its queue. A message box takes an Answer
// naming one of its buttons' results; an input query takes AnswerInput or
// CancelInput; a modal form takes an Answer (its modal result) or
// AnswerModal, whose action runs on the shown form first (to fill in its
// controls and press its buttons, as a user would; with mrNone as the
// result, the action's ModalResult stands). A modal form goes through its whole session:
// OnShow, the close protocol for the answered result (a refused close
// takes the next answer), OnHide.
class TScriptedDialogService : public TDialogService {
public:
    TScriptedDialogService() = default;
    ~TScriptedDialogService() override = default;

    void Answer(TModalResult Result);
    void AnswerInput(const AnsiString& Text);
    void CancelInput();
    void AnswerModal(TModalResult Result, std::function<void(TCustomForm& Form)> Action);
    // A file dialog's answer: the file chosen (with the filter's index,
    // 0 keeping the one offered), or a cancel.
    void AnswerFile(const AnsiString& FileName, Integer FilterIndex = 0);
    void CancelFile();
    // The find dialog shown now (nullptr when none); the user's Find Next
    // with a text and options.
    TFindDialog* ShownFindDialog() const { return FFindDialog; }
    void PressFindNext(const AnsiString& Text, TFindOptions Options);

    Integer PendingAnswers() const { return static_cast<Integer>(FAnswers.size()); }
    const std::vector<TDialogRecord>& Requests() const { return FRequests; }
    const TDialogRecord& LastRequest() const;

    TModalResult MessageBox(const TMessageBoxRequest& Request) override;
    bool InputQuery(const AnsiString& Caption, const AnsiString& Prompt,
                    AnsiString& Value) override;
    TModalResult ShowModal(TCustomForm& Form) override;
    // An in-memory clipboard that holds text only.
    AnsiString ClipboardText() override;
    void SetClipboardText(const AnsiString& Value) override;
    bool ClipboardHasFormat(const AnsiString& MimeType) override;
    void ClearClipboard() override;
    bool FileDialog(TFileDialogRequest& Request) override;
    void ShowFindDialog(TFindDialog& Dialog) override;
    void CloseFindDialog(TFindDialog& Dialog) override;

private:
    struct TAnswer {
        bool File = false;
        bool Input = false;
        bool Accepted = true;
        TModalResult Result = mrNone;
        AnsiString Text{};
        Integer FilterIndex = 0;
        std::function<void(TCustomForm& Form)> Action{};
    };
    // Takes the next answer; EDialogScriptError when there is none or it is
    // not of the kind asked.
    TAnswer NextAnswer(bool Input, const TDialogRecord& Request, bool File = false);

    std::deque<TAnswer> FAnswers;
    std::vector<TDialogRecord> FRequests;
    std::optional<AnsiString> FClipboardText;
    TFindDialog* FFindDialog = nullptr;
};

// ---------------------------------------------------------------------------
// The platform's dialog routines; all go through DialogService(). HelpCtx is
// accepted and not used. The box's caption is the application's title for
// mtCustom and the type's caption otherwise.

Integer MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                   Integer HelpCtx, TMsgDlgBtn DefaultButton = mbNone);
Integer MessageDlg(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType,
                   const TMsgDlgButtons& Buttons, Integer HelpCtx,
                   TMsgDlgBtn DefaultButton = mbNone);
Integer MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                      Integer HelpCtx, Integer X, Integer Y, TMsgDlgBtn DefaultButton = mbNone);
// A box with the application's title, the message and OK.
void ShowMessage(const AnsiString& Msg);
void ShowMessageFmt(const AnsiString& Msg, std::initializer_list<TVarRec> Params);
void ShowMessagePos(const AnsiString& Msg, Integer X, Integer Y);
bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value);
// The text entered, or ADefault when the query was cancelled.
AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt,
                    const AnsiString& ADefault);

// ---------------------------------------------------------------------------
// Dialog components

// TOpenDialog: Execute asks through the service; a name chosen without an
// extension gets DefaultExt. ofFileMustExist and ofOverwritePrompt are kept
// by the dialog shown.
class TOpenDialog : public TComponent {
    ZX_CLASS(TOpenDialog, TComponent)
public:
    using TComponent::TComponent;
    static void PublishedProperties(TPropertyBuilder<TOpenDialog>& P);

    AnsiString Title() const { return FTitle; }
    void SetTitle(const AnsiString& Value) { FTitle = Value; }
    AnsiString Filter() const { return FFilter; }
    void SetFilter(const AnsiString& Value) { FFilter = Value; }
    Integer FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(Integer Value) { FFilterIndex = Value; }
    AnsiString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const AnsiString& Value) { FDefaultExt = Value; }
    AnsiString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const AnsiString& Value) { FInitialDir = Value; }
    AnsiString FileName() const { return FFileName; }
    void SetFileName(const AnsiString& Value) { FFileName = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

    virtual bool Execute();

protected:
    virtual bool IsSaveDialog() const { return false; }

private:
    AnsiString FTitle;
    AnsiString FFilter;
    Integer FFilterIndex = 1;
    AnsiString FDefaultExt;
    AnsiString FInitialDir;
    AnsiString FFileName;
    TOpenOptions FOptions{ofHideReadOnly};
};

class TSaveDialog : public TOpenDialog {
    ZX_CLASS(TSaveDialog, TOpenDialog)
public:
    using TOpenDialog::TOpenDialog;
    static void PublishedProperties(TPropertyBuilder<TSaveDialog>&) {}

protected:
    bool IsSaveDialog() const override { return true; }
};

// TFindDialog: Execute shows it without waiting; each Find Next of the
// user takes the text and options and fires OnFind.
class TFindDialog : public TComponent {
    ZX_CLASS(TFindDialog, TComponent)
public:
    using TComponent::TComponent;
    ~TFindDialog() override;
    static void PublishedProperties(TPropertyBuilder<TFindDialog>& P);

    AnsiString FindText() const { return FFindText; }
    void SetFindText(const AnsiString& Value) { FFindText = Value; }
    TFindOptions Options() const { return FOptions; }
    void SetOptions(TFindOptions Value) { FOptions = Value; }
    bool Shown() const { return FShown; }

    bool Execute();
    void CloseDialog();

    TNotifyEvent OnFind;
    TNotifyEvent OnClose;

    // Called by the service.
    void UserFind(const AnsiString& Text, TFindOptions Options);
    void UserClose();

private:
    AnsiString FFindText;
    TFindOptions FOptions{frDown};
    bool FShown = false;
};
