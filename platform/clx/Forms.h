// Forms: the application object, the screen, forms, data modules and frames.
//
// Application and Screen
// ----------------------
// `Application` and `Screen` are the two process-wide objects. Both are made
// on first use (no static constructors) and stay reachable for the whole
// process; DoneApplication() frees the forms and data modules the
// application owns and the QApplication that Initialize made, for a clean
// end of a program or a test binary. A program starts with
//     RegisterClxClasses();
//     Application->Initialize();
//     Application->CreateForm(Form1);
//     Application->Run();
//     DoneApplication();
// Model code and tests need none of that: every routine here works without
// a QApplication except those that show something (Run, and the Qt dialog
// service behind ShowModal and the message boxes).
//
// Making a form
// -------------
// A form class derives from TForm, takes its owner in its constructor and
// builds its controls there. A form is complete only after its constructor:
// AfterConstruction() then fires OnCreate (and shows the form when Visible
// was set while it was made). Application->CreateForm and NewForm<T>() do
// both; a form made with plain NewComponent must call AfterConstruction
// itself. Loading the form's file belongs at the start of AfterConstruction.
//
// Showing and closing
// -------------------
// Show() and Visible fire OnShow/OnHide and, with a QApplication, make and
// show the window. ShowModal() hands the form to the dialog service
// (Dialogs.h): the Qt service runs a local event loop until ModalResult is
// set, the scripted service of the tests answers at once. Close() asks
// OnCloseQuery, then OnClose decides with a TCloseAction what happens:
// caHide hides, caMinimize minimizes, caFree releases (deletes the form once
// its event handlers have returned), caNone does nothing; closing the main
// form terminates the application. Closing the window with its close button
// goes through Close().
#pragma once

#include "clx/Controls.h"
#include "rtl/Lists.h"

class QApplication;
class TCustomForm;
class TDataModule;
class TMainMenu;

ZX_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize);
ZX_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized);
ZX_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
        poDesktopCenter, poMainFormCenter, poOwnerFormCenter);
ZX_ENUM(TFormBorderStyle, fbsNone, fbsSingle, fbsSizeable, fbsDialog, fbsToolWindow,
        fbsSizeToolWin);
ZX_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp);
using TBorderIcons = TSet<TBorderIcon>;
ZX_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop);

enum TFormStateItem { fsCreating, fsModal, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
using TExceptionEvent = TEvent<void(TObject* Sender, const Exception& E)>;
// Done starts True; a handler that leaves it False is called again at once.
using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;

// Registers every control, form and data-module class of this library for
// streaming, the names of colours and cursors that form files write, and
// the screen's forms and data modules as the roots that references between
// forms name. Idempotent.
void RegisterClxClasses();

// ---------------------------------------------------------------------------
// TCustomForm, TForm

class TCustomForm : public TWinControl {
    ZX_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    // Fires OnDestroy (its exceptions are reported, not raised), then the
    // form leaves the screen and the application.
    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TCustomForm>& P);

    // Completes the form once its constructor has run (see the top).
    virtual void AfterConstruction();

    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TFormState FormState() const { return FFormState; }
    // Setting it while the form is modal ends the modal loop.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Whether the form is the screen's active form.
    bool Active() const;
    // The menu bar of the window; cleared when the menu is destroyed.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    // The control that has the focus while the form's widget exists (else
    // the one set); a control set gets the focus when the form shows.
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* Value);
    // The form's key events come first for every control on it.
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    // Measures text in the form's font outside painting too.
    TCanvas* Canvas() const { return FCanvas.get(); }
    // Updates the actions of the form's components (the application's idle
    // pass does it for every visible form).
    void UpdateActions();

    void Show();
    // EInvalidOperation "Cannot make a visible window modal" when the form
    // is visible, disabled or modal already.
    TModalResult ShowModal();
    void Close();
    // OnCloseQuery's answer (True without a handler).
    virtual bool CloseQuery();
    // Deletes the form after the event handlers running now have returned:
    // at the next turn of the event loop or ProcessMessages.
    void Release();

    // The modal session, for dialog services: BeginModal makes the form
    // modal and shows it; CloseModal runs the close protocol for the
    // ModalResult set (False when OnCloseQuery or OnClose refused and the
    // session goes on); EndModal hides the form and ends the session.
    void BeginModal();
    bool CloseModal();
    void EndModal();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

protected:
    bool IsWindow() const override { return true; }
    // The window holds the menu bar above an inner client widget, which
    // holds the controls: Width and Height are the client area's size.
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    QWidget* ClientWidget() override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void UpdateWidgetBounds() override;
    bool WidgetEvent(QEvent* Event) override;
    void VisibleChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoShow();
    virtual void DoHide();
    void FontChanged() override;
    void PreviewKeyDown(Integer& Key, TShiftState Shift) override;
    void PreviewKeyUp(Integer& Key, TShiftState Shift) override;
    void PreviewKeyPress(WideChar& Key) override;
    virtual void DoClose(TCloseAction& Action);

private:
    friend class TScreen;

    void Activate();
    void Deactivate();
    void LeaveScreen() noexcept;
    void ApplyPosition();
    void ApplyWindowFlags();
    void PushWindowState();
    bool Sizeable() const;
    Integer MenuBarHeight(Integer WindowWidth) const;
    void WindowBoundsChanged();

    TWindowState FWindowState = wsNormal;
    TPosition FPosition = poDesigned;
    TFormBorderStyle FBorderStyle = fbsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TFormState FFormState{fsCreating};
    TModalResult FModalResult = mrNone;
    TMainMenu* FMenu = nullptr;
    TWinControl* FActiveControl = nullptr;
    bool FKeyPreview = false;
    std::unique_ptr<TCanvas> FCanvas;
    QPointer<QWidget> FClientWidget;
};

class TForm : public TCustomForm {
    ZX_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

// The form a control is on, or nullptr.
TCustomForm* GetParentForm(const TControl* Control);

// Makes a form of class T owned by AOwner and completes it (AfterConstruction).
template <typename T> T* NewForm(TComponent* AOwner) {
    T* form = NewComponent<T>(AOwner);
    form->AfterConstruction();
    return form;
}

// ---------------------------------------------------------------------------
// TDataModule: a container of non-visual components, with a form's creation
// and destruction events.

class TDataModule : public TComponent {
    ZX_CLASS(TDataModule, TComponent)
public:
    explicit TDataModule(TComponent* AOwner);
    ~TDataModule() override;
    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TDataModule>& P);

    // Fires OnCreate; see TCustomForm::AfterConstruction.
    virtual void AfterConstruction();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
};

// ---------------------------------------------------------------------------
// TFrame: a reusable group of controls placed on forms like a panel.

class TFrame : public TWinControl {
    ZX_CLASS(TFrame, TWinControl)
public:
    explicit TFrame(TComponent* AOwner);
};

// ---------------------------------------------------------------------------
// TScreen

class TScreen : public TComponent {
    ZX_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // The cursor of the whole application (crHourGlass while busy);
    // crDefault gives every control its own back.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // Font families of the font database, sorted (makes the QApplication
    // when there is none).
    TStrings* Fonts();
    TCustomForm* ActiveForm() const { return FActiveForm; }
    // Forms in the order they were made.
    Integer FormCount() const { return static_cast<Integer>(FForms.size()); }
    TCustomForm* Forms(Integer Index) const;
    Integer DataModuleCount() const { return static_cast<Integer>(FDataModules.size()); }
    TDataModule* DataModules(Integer Index) const;
    // Size of the primary screen in pixels (makes the QApplication when
    // there is none).
    Integer Width() const;
    Integer Height() const;
    Integer PixelsPerInch() const { return ScreenPixelsPerInch; }

    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    friend class TDataModule;

    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void SetActiveForm(TCustomForm* Form);
    // The last visible form but Except, for when the active one goes.
    TCustomForm* NextActiveForm(const TCustomForm* Except) const;

    TCursor FCursor = crDefault;
    bool FCursorOverridden = false;
    std::unique_ptr<TStringList> FFonts;
    std::vector<TCustomForm*> FForms;
    std::vector<TDataModule*> FDataModules;
    TCustomForm* FActiveForm = nullptr;
};

// ---------------------------------------------------------------------------
// TApplication

class TApplication : public TComponent {
    ZX_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // ParamStr(0): the running executable unless set; settings files live
    // beside it, so tests point it into a directory of their own.
    AnsiString ExeName() const { return ParamStr(0); }
    void SetExeName(const AnsiString& Value) { SetProgramPath(Value); }
    // The executable's name without extension unless set.
    AnsiString Title() const;
    void SetTitle(const AnsiString& Value) { FTitle = Value; }
    // The first form made by CreateForm; closing it ends Run.
    TCustomForm* MainForm() const { return FMainForm; }

    // Makes the QApplication when there is none (the QApplication of a host
    // program or of a test is used as it is).
    void Initialize();
    // The QApplication, or nullptr.
    QApplication* Handle() const;
    // Makes a form or data module of the class, owned by the application,
    // completes it (AfterConstruction) and makes the first form the main form.
    TComponent* CreateForm(TComponentClass InstanceClass);
    template <typename T> void CreateForm(T*& Reference) {
        Reference = dynamic_cast<T*>(CreateForm(T::StaticClass()));
    }
    // Shows the main form and runs the event loop until Terminate.
    void Run();
    // Handles the events waiting now, and frees released forms.
    void ProcessMessages();
    // What the event loop does when it runs out of events: OnIdle, then the
    // released forms are freed.
    void Idle();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // Reports the exception being handled (call it inside a catch block):
    // EAbort silently, any other through OnException or, without a
    // handler, ShowException. Never raises.
    void HandleException(TObject* Sender) noexcept;
    // A message box with the title as caption and the message, ended with
    // a full stop, through the dialog service.
    void ShowException(const Exception& E);

    // Modal windows tell the application they start and end.
    void ModalStarted();
    void ModalFinished();
    Integer ModalLevel() const { return FModalLevel; }

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TNotifyEvent OnModalBegin;
    TNotifyEvent OnModalEnd;

private:
    friend class TCustomForm;
    friend void DoneApplication();

    void ReportException(TObject* Sender, const Exception& E) noexcept;
    void AddReleased(TCustomForm* Form);
    void ForgetForm(TCustomForm* Form);
    void FreeReleasedForms();

    AnsiString FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    Integer FModalLevel = 0;
    std::vector<TCustomForm*> FReleased;
    std::unique_ptr<QApplication> FQtApplication;
};

// The process-wide objects, reached with ->: Application->Title().
struct TApplicationAccess {
    TApplication* operator->() const;
    operator TApplication*() const { return operator->(); }
};
struct TScreenAccess {
    TScreen* operator->() const;
    operator TScreen*() const { return operator->(); }
};
inline constexpr TApplicationAccess Application{};
inline constexpr TScreenAccess Screen{};

// Frees what the application owns and the QApplication Initialize made;
// the application can be started again afterwards.
void DoneApplication();
