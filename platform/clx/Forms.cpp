#include "clx/Forms.h"
#include "clx/QtSupport.h"

#include "clx/ActnList.h"
#include "clx/Dialogs.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QVBoxLayout>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <cstdio>

namespace {

// Runs a form's or data module's own event; its exceptions are reported
// through the application, as the platform does for OnCreate and OnDestroy.
void FireReported(TObject* Sender, const TNotifyEvent& Event) {
    if (!Event)
        return;
    try {
        Event(Sender);
    } catch (...) {
        Application->HandleException(Sender);
    }
}


} // namespace

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->Font()->Assign(Font());
    SetControlStyle(ControlStyle() + TControlStyle{csSetCaption});
    SetVisible(false);
    SetParentFont(false);
    SetParentColor(false);
    SetBounds(0, 0, 320, 240);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    LeaveScreen();
}

void TCustomForm::BeforeDestruction() {
    FireReported(this, OnDestroy);
    LeaveScreen();
    TWinControl::BeforeDestruction();
}

// Another form becomes active, and its handlers may raise: that is reported,
// since a form being destroyed cannot stop.
void TCustomForm::LeaveScreen() noexcept {
    Application->ForgetForm(this);
    try {
        Screen->RemoveForm(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::PublishedProperties(TPropertyBuilder<TCustomForm>& P) {
    // The size of a form is that of its client area; form files keep it as
    // ClientWidth and ClientHeight.
    P.Property("Width", &TControl::Width, &TControl::SetWidth).Stored(false);
    P.Property("Height", &TControl::Height, &TControl::SetHeight).Stored(false);
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(false);
    P.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(false);
    P.Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
        .TypeName("TWinControl");
    P.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .TypeName("TBorderIcons")
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    P.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Default(fbsSizeable);
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    P.Property("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight);
    P.Property("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth);
    P.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
    P.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
    P.Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
    P.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
    P.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState)
        .Default(wsNormal);
    P.Property("OnActivate", &TCustomForm::OnActivate);
    P.Property("OnClose", &TCustomForm::OnClose);
    P.Property("OnCloseQuery", &TCustomForm::OnCloseQuery);
    P.Property("OnCreate", &TCustomForm::OnCreate);
    P.Property("OnDeactivate", &TCustomForm::OnDeactivate);
    P.Property("OnDestroy", &TCustomForm::OnDestroy);
    P.Property("OnHide", &TCustomForm::OnHide);
    P.Property("OnShow", &TCustomForm::OnShow);
}

void TCustomForm::AfterConstruction() {
    if (!FFormState.Contains(fsCreating))
        return;
    FFormState.Exclude(fsCreating);
    FireReported(this, OnCreate);
    if (Visible())
        VisibleChanged();
}

bool TCustomForm::Active() const {
    return Screen->ActiveForm() == this;
}

// --- Window attributes

void TCustomForm::SetWindowState(TWindowState Value) {
    if (FWindowState == Value)
        return;
    FWindowState = Value;
    PushWindowState();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (FBorderIcons == Value)
        return;
    FBorderIcons = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    if (FFormStyle == Value)
        return;
    FFormStyle = Value;
    ApplyWindowFlags();
}

bool TCustomForm::Sizeable() const {
    return FBorderStyle == fbsSizeable || FBorderStyle == fbsSizeToolWin;
}

void TCustomForm::ApplyWindowFlags() {
    QWidget* widget = WidgetAs<QWidget>();
    if (!widget || !widget->isWindow())
        return;
    Qt::WindowFlags flags = Qt::Window;
    switch (FBorderStyle) {
    case fbsDialog:
        flags = Qt::Dialog;
        break;
    case fbsToolWindow:
    case fbsSizeToolWin:
        flags = Qt::Tool;
        break;
    default:
        break;
    }
    if (FBorderStyle == fbsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorderIcons.Contains(biSystemMenu))
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        bool hasMinMax = FBorderStyle == fbsSingle || FBorderStyle == fbsSizeable;
        if (hasMinMax && FBorderIcons.Contains(biMinimize))
            flags |= Qt::WindowMinimizeButtonHint;
        if (hasMinMax && FBorderIcons.Contains(biMaximize))
            flags |= Qt::WindowMaximizeButtonHint;
        if (FBorderIcons.Contains(biHelp))
            flags |= Qt::WindowContextHelpButtonHint;
    }
    if (FFormStyle == fsStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    if (widget->windowFlags() == flags) {
        UpdateWidgetBounds();
        return;
    }
    bool shown = widget->isVisible();
    widget->setWindowFlags(flags);
    UpdateWidgetBounds();
    if (shown)
        widget->show();
}

void TCustomForm::PushWindowState() {
    QWidget* widget = WidgetAs<QWidget>();
    if (!widget || !widget->isWindow())
        return;
    Qt::WindowStates state = widget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (FWindowState == wsMinimized)
        state |= Qt::WindowMinimized;
    else if (FWindowState == wsMaximized)
        state |= Qt::WindowMaximized;
    widget->setWindowState(state);
}

void TCustomForm::ApplyPosition() {
    const TControl* over = nullptr;
    switch (FPosition) {
    case poMainFormCenter:
        over = Application->MainForm();
        break;
    case poOwnerFormCenter:
        over = dynamic_cast<const TCustomForm*>(Owner());
        if (!over)
            over = Application->MainForm();
        break;
    case poScreenCenter:
    case poDesktopCenter:
        break;
    default:
        return;
    }
    TRect area = over && over != this && over->Visible()
                     ? over->BoundsRect()
                     : Rect(0, 0, Screen->Width(), Screen->Height());
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
              Width(), Height());
}

// --- The mirror

QWidget* TCustomForm::CreateWidget(QWidget* ParentWidget) {
    auto* window = new QWidget(ParentWidget, ParentWidget ? Qt::Widget : Qt::Window);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The form decides the window's size; the layout only places the bar
    // and the client area in it.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    FClientWidget = new QWidget(window);
    layout->addWidget(FClientWidget.data());
    return window;
}

QWidget* TCustomForm::ClientWidget() {
    return FClientWidget.data();
}

void TCustomForm::UpdateWidget() {
    ApplyWindowFlags();
    TWinControl::UpdateWidget();
    PushWindowState();
    if (FMenu) {
        FMenu->AttachTo(WidgetAs<QWidget>());
        UpdateWidgetBounds();
    }
}

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (FMenu == Value)
        return;
    if (FMenu) {
        FMenu->AttachTo(nullptr);
        FMenu->RemoveFreeNotification(this);
    }
    FMenu = Value;
    if (Value) {
        Value->FreeNotification(this);
        if (HandleAllocated())
            Value->AttachTo(WidgetAs<QWidget>());
    }
    UpdateWidgetBounds();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FActiveControl)
        FActiveControl = nullptr;
    if (Operation == opRemove && AComponent == FMenu) {
        // The bar goes now, so that the client area takes its space back.
        FMenu->AttachTo(nullptr);
        FMenu = nullptr;
        UpdateWidgetBounds();
    }
}

void TCustomForm::UpdateActions() {
    UpdateFormActions(this);
}

void TCustomForm::UpdateWidgetText() {
    WidgetAs<QWidget>()->setWindowTitle(ToQString(Caption()));
}

// The height the layout gives the menu bar in a window that wide (0 without
// a bar); a bar too narrow for its items wraps them onto more rows.
Integer TCustomForm::MenuBarHeight(Integer WindowWidth) const {
    QMenuBar* bar = FMenu ? FMenu->QtMenuBar() : nullptr;
    if (!bar || bar->isHidden())
        return 0;
    return std::max(bar->heightForWidth(WindowWidth), bar->minimumSizeHint().height());
}

// The window is the client area plus the menu bar; one the user may not
// size is held at its size.
void TCustomForm::UpdateWidgetBounds() {
    QWidget* widget = WidgetAs<QWidget>();
    if (!widget)
        return;
    QSize size(Width(), Height() + MenuBarHeight(Width()));
    if (widget->isWindow() && !Sizeable()) {
        widget->setFixedSize(size);
    } else {
        widget->setMinimumSize(0, 0);
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (widget->isWindow()) {
        widget->move(Left(), Top());
        widget->resize(size);
    } else {
        widget->setGeometry(Left(), Top(), size.width(), size.height());
    }
    // Places the bar and the client area now, shown or not.
    widget->layout()->invalidate();
    widget->layout()->activate();
}

// The user or the window manager moved or sized the window: the form keeps
// the client area's size.
void TCustomForm::WindowBoundsChanged() {
    QWidget* widget = WidgetAs<QWidget>();
    QPoint position = widget->pos();
    Integer clientHeight = std::max(0, widget->height() - MenuBarHeight(widget->width()));
    if (position.x() != Left() || position.y() != Top() || widget->width() != Width() ||
        clientHeight != Height())
        UpdateBounds(position.x(), position.y(), widget->width(), clientHeight);
}

bool TCustomForm::WidgetEvent(QEvent* Event) {
    QWidget* widget = WidgetAs<QWidget>();
    switch (Event->type()) {
    case QEvent::Close:
        if (!widget->isWindow())
            break;
        // The close protocol decides; the window only follows Visible.
        Event->ignore();
        Close();
        return true;
    case QEvent::WindowActivate:
        Screen->SetActiveForm(this);
        break;
    case QEvent::Resize:
    case QEvent::Move:
        if (!widget->isWindow())
            break;
        WindowBoundsChanged();
        return false;
    case QEvent::WindowStateChange: {
        Qt::WindowStates state = widget->windowState();
        FWindowState = state & Qt::WindowMinimized   ? wsMinimized
                       : state & Qt::WindowMaximized ? wsMaximized
                                                     : wsNormal;
        break;
    }
    default:
        break;
    }
    return TWinControl::WidgetEvent(Event);
}

// --- Showing and hiding

void TCustomForm::VisibleChanged() {
    if (FFormState.Contains(fsCreating) || ComponentState().Contains(csLoading))
        return;
    if (Visible()) {
        DoShow();
        if (WidgetsAvailable() && !Parent()) {
            ApplyPosition();
            HandleNeeded();
        }
        TWinControl::VisibleChanged();
        Screen->SetActiveForm(this);
        if (FActiveControl && HandleAllocated() && FActiveControl->CanFocus())
            FActiveControl->SetFocus();
    } else {
        TWinControl::VisibleChanged();
        DoHide();
        if (Active())
            Screen->SetActiveForm(Screen->NextActiveForm(this));
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    if (QWidget* widget = WidgetAs<QWidget>()) {
        widget->raise();
        widget->activateWindow();
    }
    Screen->SetActiveForm(this);
}

void TCustomForm::DoShow() {
    if (OnShow)
        OnShow(this);
}

namespace {

TWinControl* FocusedWithin(TWinControl* Control) {
    for (Integer index = 0; index < Control->ControlCount(); ++index)
        if (auto* child = dynamic_cast<TWinControl*>(Control->Controls(index))) {
            if (child->Focused())
                return child;
            if (TWinControl* found = FocusedWithin(child))
                return found;
        }
    return nullptr;
}

} // namespace

TWinControl* TCustomForm::ActiveControl() const {
    if (HandleAllocated())
        if (TWinControl* focused = FocusedWithin(const_cast<TCustomForm*>(this)))
            return focused;
    return FActiveControl;
}

void TCustomForm::SetActiveControl(TWinControl* Value) {
    if (FActiveControl)
        FActiveControl->RemoveFreeNotification(this);
    FActiveControl = Value;
    if (!Value)
        return;
    Value->FreeNotification(this);
    if (HandleAllocated() && Visible() && Value->CanFocus())
        Value->SetFocus();
}

void TCustomForm::FontChanged() {
    TWinControl::FontChanged();
    FCanvas->Font()->Assign(Font());
}

void TCustomForm::PreviewKeyDown(Integer& Key, TShiftState Shift) {
    if (FKeyPreview)
        KeyDown(Key, Shift);
}

void TCustomForm::PreviewKeyUp(Integer& Key, TShiftState Shift) {
    if (FKeyPreview)
        KeyUp(Key, Shift);
}

void TCustomForm::PreviewKeyPress(WideChar& Key) {
    if (FKeyPreview)
        KeyPress(Key);
}

void TCustomForm::DoHide() {
    if (OnHide)
        OnHide(this);
}

void TCustomForm::Activate() {
    FFormState.Include(fsActivated);
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate() {
    FFormState.Exclude(fsActivated);
    if (OnDeactivate)
        OnDeactivate(this);
}

// --- Closing

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Close() {
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::Release() {
    Application->AddReleased(this);
}

// --- Modal sessions

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FFormState.Contains(fsModal))
        throw EInvalidOperation("Cannot make a visible window modal");
    return DialogService().ShowModal(*this);
}

void TCustomForm::BeginModal() {
    FFormState.Include(fsModal);
    FModalResult = mrNone;
    Application->ModalStarted();
    try {
        if (WidgetsAvailable() && !Parent())
            Handle()->setWindowModality(Qt::ApplicationModal);
        Show();
    } catch (...) {
        EndModal();
        throw;
    }
}

bool TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone) {
        FModalResult = mrNone;
        return false;
    }
    if (action == caFree)
        Release();
    return true;
}

void TCustomForm::EndModal() {
    if (!FFormState.Contains(fsModal))
        return;
    FFormState.Exclude(fsModal);
    Application->ModalFinished();
    Hide();
    if (QWidget* widget = WidgetAs<QWidget>())
        widget->setWindowModality(Qt::NonModal);
}

TCustomForm* GetParentForm(const TControl* Control) {
    while (Control && Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(Control));
}

// ---------------------------------------------------------------------------
// TDataModule

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner) {
    Screen->FDataModules.push_back(this);
}

TDataModule::~TDataModule() {
    std::erase(Screen->FDataModules, this);
}

void TDataModule::BeforeDestruction() {
    FireReported(this, OnDestroy);
    std::erase(Screen->FDataModules, this);
    TComponent::BeforeDestruction();
}

void TDataModule::PublishedProperties(TPropertyBuilder<TDataModule>& P) {
    P.Property("OnCreate", &TDataModule::OnCreate);
    P.Property("OnDestroy", &TDataModule::OnDestroy);
}

void TDataModule::AfterConstruction() {
    FireReported(this, OnCreate);
}

// ---------------------------------------------------------------------------
// TFrame

TFrame::TFrame(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 320, 240);
}

// ---------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() {
    if (FCursorOverridden && qGuiApp)
        QGuiApplication::restoreOverrideCursor();
}

void TScreen::SetCursor(TCursor Value) {
    FCursor = Value;
    if (!qGuiApp)
        return;
    if (Value == crDefault) {
        if (FCursorOverridden)
            QGuiApplication::restoreOverrideCursor();
        FCursorOverridden = false;
    } else if (FCursorOverridden) {
        QGuiApplication::changeOverrideCursor(QCursor(CursorToQtShape(Value)));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(CursorToQtShape(Value)));
        FCursorOverridden = true;
    }
}

TStrings* TScreen::Fonts() {
    if (!FFonts) {
        Application->Initialize();
        FFonts = std::make_unique<TStringList>();
        FFonts->SetSorted(true);
        for (const QString& family : QFontDatabase::families())
            FFonts->Add(FromQString(family));
    }
    return FFonts.get();
}

TCustomForm* TScreen::Forms(Integer Index) const {
    if (Index < 0 || Index >= FormCount())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FForms[static_cast<std::size_t>(Index)];
}

TDataModule* TScreen::DataModules(Integer Index) const {
    if (Index < 0 || Index >= DataModuleCount())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FDataModules[static_cast<std::size_t>(Index)];
}

Integer TScreen::Width() const {
    Application->Initialize();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

Integer TScreen::Height() const {
    Application->Initialize();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

void TScreen::AddForm(TCustomForm* Form) {
    FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
    auto found = std::find(FForms.begin(), FForms.end(), Form);
    if (found == FForms.end())
        return;
    FForms.erase(found);
    if (FActiveForm == Form)
        SetActiveForm(NextActiveForm(Form));
}

void TScreen::SetActiveForm(TCustomForm* Form) {
    if (FActiveForm == Form)
        return;
    TCustomForm* previous = FActiveForm;
    FActiveForm = Form;
    if (previous)
        previous->Deactivate();
    if (Form)
        Form->Activate();
    if (OnActiveFormChange)
        OnActiveFormChange(this);
}

TCustomForm* TScreen::NextActiveForm(const TCustomForm* Except) const {
    for (auto form = FForms.rbegin(); form != FForms.rend(); ++form)
        if (*form != Except && (*form)->Visible())
            return *form;
    return nullptr;
}

// ---------------------------------------------------------------------------
// TApplication

// The run-time library reports the exceptions of the code below the
// component library through the application.
TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
    ApplicationHandleException = [this](TObject* Sender) { HandleException(Sender); };
}

// The forms go while the QApplication their widgets need still exists.
TApplication::~TApplication() {
    ApplicationHandleException = nullptr;
    DestroyComponents();
}

AnsiString TApplication::Title() const {
    if (!FTitle.empty())
        return FTitle;
    return ChangeFileExt(ExtractFileName(ExeName()), "");
}

void TApplication::Initialize() {
    if (QCoreApplication::instance())
        return;
    // QApplication keeps argc and argv for its whole life.
    static int argc = 1;
    static std::string programName;
    static char* argv[] = {nullptr, nullptr};
    programName = ExeName();
    argv[0] = programName.data();
    FQtApplication = std::make_unique<QApplication>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
}

QApplication* TApplication::Handle() const {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

TComponent* TApplication::CreateForm(TComponentClass InstanceClass) {
    TComponent* instance = CreateComponent(InstanceClass, this);
    if (auto* form = dynamic_cast<TCustomForm*>(instance)) {
        form->AfterConstruction();
        if (!FMainForm)
            FMainForm = form;
    } else if (auto* module = dynamic_cast<TDataModule*>(instance)) {
        module->AfterConstruction();
    }
    return instance;
}

void TApplication::Run() {
    Initialize();
    if (FMainForm)
        FMainForm->Show();
    QObject idleContext;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &idleContext, [this] { EventBoundary(this, [this] { Idle(); }); });
    if (!FTerminated)
        QCoreApplication::exec();
}

void TApplication::ProcessMessages() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    FreeReleasedForms();
}

void TApplication::Idle() {
    bool done = true;
    if (OnIdle)
        OnIdle(this, done);
    for (Integer index = 0; index < Screen->FormCount(); ++index)
        if (Screen->Forms(index)->Visible())
            Screen->Forms(index)->UpdateActions();
    FreeReleasedForms();
    if (!done && QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [this] { EventBoundary(this, [this] { Idle(); }); });
}

void TApplication::Terminate() {
    FTerminated = true;
    if (QCoreApplication::instance())
        QCoreApplication::quit();
}

void TApplication::HandleException(TObject* Sender) noexcept {
    std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
    } catch (const Exception& E) {
        ReportException(Sender, E);
    } catch (const std::exception& E) {
        ReportException(Sender, Exception(E.what()));
    } catch (...) {
        ReportException(Sender, Exception("Unknown exception"));
    }
}

// The last resort, when reporting fails too, is the standard error stream:
// an error is never lost.
void TApplication::ReportException(TObject* Sender, const Exception& E) noexcept {
    try {
        if (OnException)
            OnException(Sender, E);
        else
            ShowException(E);
    } catch (const std::exception& Failure) {
        std::fprintf(stderr, "%s\n(while reporting it: %s)\n", E.Message().c_str(), Failure.what());
    } catch (...) {
        std::fprintf(stderr, "%s\n", E.Message().c_str());
    }
}

void TApplication::ShowException(const Exception& E) {
    AnsiString message = E.Message();
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    TMessageBoxRequest request = MessageDlgRequest(Title(), message, mtError, {mbOk});
    request.Caption = Title();
    DialogService().MessageBox(request);
}

void TApplication::ModalStarted() {
    ++FModalLevel;
    if (OnModalBegin)
        OnModalBegin(this);
}

void TApplication::ModalFinished() {
    --FModalLevel;
    if (OnModalEnd)
        OnModalEnd(this);
}

void TApplication::AddReleased(TCustomForm* Form) {
    if (std::find(FReleased.begin(), FReleased.end(), Form) != FReleased.end())
        return;
    FReleased.push_back(Form);
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this] { EventBoundary(this, [this] { FreeReleasedForms(); }); }, Qt::QueuedConnection);
}

void TApplication::ForgetForm(TCustomForm* Form) {
    std::erase(FReleased, Form);
    if (FMainForm == Form)
        FMainForm = nullptr;
}

void TApplication::FreeReleasedForms() {
    std::vector<TCustomForm*> released;
    released.swap(FReleased);
    for (TCustomForm* form : released)
        delete form;
}

// ---------------------------------------------------------------------------
// The process-wide objects

TApplication* TApplicationAccess::operator->() const {
    static TApplication* const instance = new TApplication(nullptr);
    return instance;
}

TScreen* TScreenAccess::operator->() const {
    static TScreen* const instance = new TScreen(nullptr);
    return instance;
}

void DoneApplication() {
    TApplication* application = Application;
    application->FreeReleasedForms();
    application->DestroyComponents();
    application->FMainForm = nullptr;
    application->FTerminated = false;
    Screen->SetCursor(crDefault);
    application->FQtApplication.reset();
}
