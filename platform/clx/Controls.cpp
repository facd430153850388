#include "clx/Controls.h"
#include "clx/DragSupport.h"
#include "clx/QtSupport.h"

#include "clx/ActnList.h"
#include "clx/Forms.h"
#include "clx/Menus.h"

#include "rtl/Filer.h"

#include <QtGui/QContextMenuEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <array>

// Sees every event of a control's widget and hands it to the control.
class TControlEventFilter : public QObject {
public:
    TControlEventFilter(TControl* Control, QObject* Parent) : QObject(Parent), FControl(Control) {}

    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (FControl->ComponentState().Contains(csDestroying))
            return false;
        if (Watched != FControl->FWidget.data())
            return ViewportEvent(Watched, Event);
        bool stop = false;
        EventBoundary(FControl, [&] { stop = FControl->WidgetEvent(Event); });
        return stop;
    }

private:
    // The mouse on the viewport of a scrolling widget (item views) is the
    // mouse on the control, in the widget's coordinates.
    bool ViewportEvent(QObject* Watched, QEvent* Event) {
        auto* area = qobject_cast<QAbstractScrollArea*>(FControl->FWidget.data());
        if (!area || Watched != area->viewport() || !IsMouseEvent(Event))
            return false;
        auto* mouse = static_cast<QMouseEvent*>(Event);
        QPointF at = area->viewport()->mapTo(area, mouse->position().toPoint());
        QMouseEvent mapped(mouse->type(), at, mouse->globalPosition(), mouse->button(),
                           mouse->buttons(), mouse->modifiers());
        bool stop = false;
        EventBoundary(FControl, [&] { stop = FControl->WidgetEvent(&mapped); });
        return stop;
    }
    static bool IsMouseEvent(QEvent* Event) {
        switch (Event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return true;
        default:
            return false;
        }
    }

    TControl* FControl;
};

namespace {

// How many event boundaries are running: a widget deleted inside one may be
// the sender whose signal is being delivered, so it is deleted later.
Integer BoundaryDepth = 0;

constexpr std::array<TIdentMapEntry, 22> CursorNames{{
    {crDefault, "crDefault"},
    {crNone, "crNone"},
    {crArrow, "crArrow"},
    {crCross, "crCross"},
    {crIBeam, "crIBeam"},
    {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"},
    {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},
    {crNo, "crNo"},
    {crAppStart, "crAppStart"},
    {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
}};

struct TCursorShape {
    TCursor Value;
    Qt::CursorShape Shape;
};

constexpr std::array<TCursorShape, 22> CursorShapes{{
    {crDefault, Qt::ArrowCursor},
    {crNone, Qt::BlankCursor},
    {crArrow, Qt::ArrowCursor},
    {crCross, Qt::CrossCursor},
    {crIBeam, Qt::IBeamCursor},
    {crSizeNESW, Qt::SizeBDiagCursor},
    {crSizeNS, Qt::SizeVerCursor},
    {crSizeNWSE, Qt::SizeFDiagCursor},
    {crSizeWE, Qt::SizeHorCursor},
    {crUpArrow, Qt::UpArrowCursor},
    {crHourGlass, Qt::WaitCursor},
    {crDrag, Qt::DragCopyCursor},
    {crNoDrop, Qt::ForbiddenCursor},
    {crHSplit, Qt::SplitHCursor},
    {crVSplit, Qt::SplitVCursor},
    {crMultiDrag, Qt::DragCopyCursor},
    {crSQLWait, Qt::BusyCursor},
    {crNo, Qt::ForbiddenCursor},
    {crAppStart, Qt::BusyCursor},
    {crHelp, Qt::WhatsThisCursor},
    {crHandPoint, Qt::PointingHandCursor},
    {crSizeAll, Qt::SizeAllCursor},
}};

} // namespace

TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    TShiftState shift;
    if (Modifiers & Qt::ShiftModifier)
        shift.Include(ssShift);
    if (Modifiers & Qt::AltModifier)
        shift.Include(ssAlt);
    if (Modifiers & Qt::ControlModifier)
        shift.Include(ssCtrl);
    if (Buttons & Qt::LeftButton)
        shift.Include(ssLeft);
    if (Buttons & Qt::RightButton)
        shift.Include(ssRight);
    if (Buttons & Qt::MiddleButton)
        shift.Include(ssMiddle);
    return shift;
}

Integer KeyFromQt(int QtKey) {
    constexpr int QtFunctionKeys = 0x01000000;
    if (QtKey >= QtFunctionKeys && QtKey <= QtFunctionKeys + 0xFFFFFF)
        return Key_Escape + (QtKey - QtFunctionKeys);
    return QtKey;
}

namespace {

bool MouseButtonOf(Qt::MouseButton Button, TMouseButton& Result) {
    switch (Button) {
    case Qt::LeftButton:
        Result = mbLeft;
        return true;
    case Qt::RightButton:
        Result = mbRight;
        return true;
    case Qt::MiddleButton:
        Result = mbMiddle;
        return true;
    default:
        return false;
    }
}

// Deletes a widget now, or, inside an event boundary (where it may be the
// sender of the signal being delivered), hides it and deletes it once the
// event loop or ProcessMessages comes round. Either way its signals and its
// event filter are cut off first: the control may be gone before the widget.
void DeleteWidget(QWidget* Widget) {
    Widget->blockSignals(true);
    const QObjectList children = Widget->children();
    for (QObject* child : children)
        if (dynamic_cast<TControlEventFilter*>(child))
            delete child;
    if (BoundaryDepth == 0) {
        delete Widget;
        return;
    }
    Widget->hide();
    Widget->setParent(nullptr);
    Widget->deleteLater();
}

} // namespace

// ---------------------------------------------------------------------------
// Free routines

bool CursorToIdent(TCursor Cursor, AnsiString& Ident) {
    return IntToIdent(Cursor, Ident, CursorNames);
}

bool IdentToCursor(const AnsiString& Ident, TCursor& Cursor) {
    return IdentToInt(Ident, Cursor, CursorNames);
}

AnsiString CursorToString(TCursor Cursor) {
    AnsiString name;
    return CursorToIdent(Cursor, name) ? name : IntToStr(Cursor);
}

TCursor StringToCursor(const AnsiString& S) {
    TCursor cursor = crDefault;
    if (IdentToCursor(S, cursor) || TryStrToInt(S, cursor))
        return cursor;
    throw EConvertError(Format("'%s' is not a valid cursor", {S}));
}

void GetCursorValues(const std::function<void(const AnsiString&)>& Proc) {
    GetIdentNames(CursorNames, Proc);
}

Qt::CursorShape CursorToQtShape(TCursor Cursor) {
    for (const TCursorShape& entry : CursorShapes)
        if (entry.Value == Cursor)
            return entry.Shape;
    return Qt::ArrowCursor;
}

AnsiString GetShortHint(const AnsiString& Hint) {
    std::size_t bar = Hint.find('|');
    return bar == AnsiString::npos ? Hint : Hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& Hint) {
    std::size_t bar = Hint.find('|');
    return bar == AnsiString::npos ? Hint : Hint.substr(bar + 1);
}

void EventBoundary(TObject* Sender, const std::function<void()>& Action) noexcept {
    ++BoundaryDepth;
    try {
        Action();
    } catch (...) {
        Application->HandleException(Sender);
    }
    --BoundaryDepth;
}

bool WidgetsAvailable() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    FFont->OnChange = [this](TObject*) { FontObjectChanged(); };
}

TControl::~TControl() {
    DestroyHandle();
    if (FParent)
        FParent->RemoveControl(this);
}

// Leaving the parent realigns the siblings, whose handlers may raise: that
// is reported, since a control being destroyed cannot stop.
void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    DestroyHandle();
    try {
        SetParent(nullptr);
    } catch (...) {
        if (FParent)
            FParent->RemoveControl(this);
        Application->HandleException(this);
    }
}

void TControl::PublishedProperties(TPropertyBuilder<TControl>& P) {
    P.Property("Left", &TControl::Left, &TControl::SetLeft);
    P.Property("Top", &TControl::Top, &TControl::SetTop);
    P.Property("Width", &TControl::Width, &TControl::SetWidth);
    P.Property("Height", &TControl::Height, &TControl::SetHeight);
    P.Property("Action", &TControl::Action, &TControl::SetAction);
    P.Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
        .TypeName("TCursor")
        .Default(crDefault);
    P.Property("Hint", &TControl::Hint, &TControl::SetHint);
    P.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    P.Property("Color", &TControl::Color, &TControl::SetColor)
        .TypeName("TColor")
        .Default(clBtnFace)
        .Stored([](const TControl& Control) { return !Control.ParentColor(); });
    P.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    P.Property("Font", &TControl::Font, &TControl::SetFont).Stored([](const TControl& Control) {
        return !Control.ParentFont();
    });
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
    P.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
    P.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu).TypeName("TPopupMenu");
    P.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false);
    P.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    P.Property("OnClick", &TControl::OnClick);
    P.Property("OnDblClick", &TControl::OnDblClick);
    P.Property("OnMouseDown", &TControl::OnMouseDown);
    P.Property("OnMouseMove", &TControl::OnMouseMove);
    P.Property("OnMouseUp", &TControl::OnMouseUp);
    P.Property("OnResize", &TControl::OnResize);
}

// --- Tree

void TControl::SetParent(TWinControl* AParent) {
    if (FParent == AParent)
        return;
    for (TControl* ancestor = AParent; ancestor; ancestor = ancestor->FParent)
        if (ancestor == this)
            throw EInvalidOperation(Format(
                "Control '%s' cannot be its own parent or a child of its children", {Name()}));
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* parent = dynamic_cast<TWinControl*>(Value))
        SetParent(parent);
}

// --- Geometry

TPoint TControl::ClientToScreen(const TPoint& Point) const {
    if (HandleAllocated()) {
        const QPoint global = FWidget->mapToGlobal(QPoint(Point.X, Point.Y));
        return TPoint{global.x(), global.y()};
    }
    TPoint result{Point.X + FLeft, Point.Y + FTop};
    for (const TControl* parent = FParent; parent; parent = parent->FParent) {
        result.X += parent->FLeft;
        result.Y += parent->FTop;
    }
    return result;
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    UpdateBounds(ALeft, ATop, AWidth, AHeight);
    if (FParent && FAlign != alNone)
        FParent->ControlAlignChanged(this);
}

void TControl::UpdateBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateWidgetBounds();
    if (resized)
        Resize();
}

void TControl::SetAlign(TAlign Value) {
    if (FAlign == Value)
        return;
    FAlign = Value;
    if (FParent)
        FParent->ControlAlignChanged(this);
}

void TControl::Resize() {
    if (OnResize && !ComponentState().Contains(csLoading))
        OnResize(this);
}

void TControl::UpdateWidgetBounds() {
    QWidget* widget = FWidget.data();
    if (!widget)
        return;
    if (widget->isWindow()) {
        widget->move(FLeft, FTop);
        widget->resize(FWidth, FHeight);
    } else {
        widget->setGeometry(FLeft, FTop, FWidth, FHeight);
    }
}

// --- Text and look

void TControl::SetText(const AnsiString& Value) {
    if (FText == Value)
        return;
    FText = Value;
    if (HandleAllocated())
        UpdateWidgetText();
}

void TControl::SetHint(const AnsiString& Value) {
    if (FHint == Value)
        return;
    FHint = Value;
    PushHint();
}

void TControl::SetShowHint(bool Value) {
    if (FShowHint == Value)
        return;
    FShowHint = Value;
    PushHint();
}

void TControl::PushHint() {
    if (QWidget* widget = FWidget.data()) {
        widget->setToolTip(FShowHint ? ToQString(GetShortHint(FHint)) : QString());
        widget->setStatusTip(ToQString(GetLongHint(FHint)));
    }
}

void TControl::SetParentFont(bool Value) {
    if (FParentFont == Value)
        return;
    FParentFont = Value;
    if (Value)
        ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent)
        return;
    FTakingParentFont = true;
    FFont->Assign(FParent->Font());
    FTakingParentFont = false;
}

void TControl::FontObjectChanged() {
    if (!FTakingParentFont)
        FParentFont = false;
    FontChanged();
}

void TControl::FontChanged() {
    UpdateWidgetColors();
}

void TControl::SetColor(TColor Value) {
    if (!FTakingParentColor)
        FParentColor = false;
    if (FColor == Value)
        return;
    FColor = Value;
    ColorChanged();
}

void TControl::ColorChanged() {
    UpdateWidgetColors();
}

void TControl::SetParentColor(bool Value) {
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    if (Value)
        ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent)
        return;
    FTakingParentColor = true;
    SetColor(FParent->Color());
    FTakingParentColor = false;
}

void TControl::UpdateWidgetColors() {
    QWidget* widget = FWidget.data();
    if (!widget)
        return;
    widget->setFont(FontToQFont(*FFont));
    QPalette palette = widget->palette();
    QColor text = ColorToQColor(FFont->Color());
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(widget->backgroundRole(), ColorToQColor(FColor));
    widget->setPalette(palette);
    widget->setAutoFillBackground(!widget->isWindow() && (!FParent || FParent->FColor != FColor));
}

void TControl::SetCursor(TCursor Value) {
    if (FCursor == Value)
        return;
    FCursor = Value;
    PushCursor();
}

void TControl::PushCursor() {
    QWidget* widget = FWidget.data();
    if (!widget)
        return;
    if (FCursor == crDefault)
        widget->unsetCursor();
    else
        widget->setCursor(CursorToQtShape(FCursor));
}

// --- State

void TControl::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    if (QWidget* widget = FWidget.data())
        widget->setVisible(FVisible);
    if (FParent && FAlign != alNone)
        FParent->ControlAlignChanged(this);
}

void TControl::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    if (QWidget* widget = FWidget.data())
        widget->setEnabled(FEnabled);
}

void TControl::SetPopupMenu(TComponent* Value) {
    ReplaceComponentReference(this, FPopupMenu, Value);
}

TBasicAction* TControl::Action() const {
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* Value) {
    if (Value == Action())
        return;
    if (!Value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = CreateActionLink();
    FActionLink->SetAction(Value);
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() {
    return std::make_unique<TControlActionLink>(this);
}

TControlActionLink::TControlActionLink(TControl* AClient)
    : TBasicActionLink(AClient), FControl(AClient) {}

void TControlActionLink::SetCaption(const AnsiString& Value) {
    FControl->SetCaption(Value);
}

void TControlActionLink::SetHint(const AnsiString& Value) {
    FControl->SetHint(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
    FControl->SetEnabled(Value);
}

void TControlActionLink::SetVisible(bool Value) {
    FControl->SetVisible(Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::SetName(const AnsiString& NewName) {
    auto loading = [](const TComponent* Component) {
        return Component && Component->ComponentState().Contains(csLoading);
    };
    bool renameCaption = FControlStyle.Contains(csSetCaption) && !loading(this) &&
                         !loading(Owner()) && Name() == FText;
    TComponent::SetName(NewName);
    if (renameCaption)
        SetText(NewName);
}

void TControl::Loaded() {
    TComponent::Loaded();
    ParentFontChanged();
    ParentColorChanged();
}

// --- Events

// A handler of the control's own wins over its action.
void TControl::Click() {
    if (OnClick)
        OnClick(this);
    else if (FActionLink && !ComponentState().Contains(csDesigning))
        FActionLink->Execute(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

// --- The mirror

QWidget* TControl::Handle() {
    HandleNeeded();
    return FWidget.data();
}

void TControl::HandleNeeded() {
    if (!HandleAllocated())
        CreateHandle();
}

void TControl::CreateHandle() {
    if (HandleAllocated())
        return;
    if (!WidgetsAvailable())
        throw EInvalidOperation(
            Format("Control '%s' cannot have a widget before the QApplication exists", {Name()}));
    QWidget* parentWidget = nullptr;
    if (FParent) {
        // Making the parent's widget makes this one too.
        FParent->HandleNeeded();
        if (HandleAllocated())
            return;
        parentWidget = FParent->ClientWidget();
    } else if (!IsWindow()) {
        throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
    }
    FWidget = CreateWidget(parentWidget);
    UpdateWidget();
    ConnectWidget();
    FWidget->setVisible(FVisible);
}

QWidget* TControl::CreateWidget(QWidget* ParentWidget) {
    return new QWidget(ParentWidget);
}

void TControl::UpdateWidget() {
    QWidget* widget = FWidget.data();
    UpdateWidgetBounds();
    widget->setEnabled(FEnabled);
    widget->setUpdatesEnabled(FUpdatesEnabled);
    UpdateWidgetColors();
    PushHint();
    PushCursor();
    UpdateWidgetText();
}

void TControl::ConnectWidget() {
    auto* filter = new TControlEventFilter(this, FWidget.data());
    FWidget->installEventFilter(filter);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(FWidget.data()))
        area->viewport()->installEventFilter(filter);
    MarkControlWidget(FWidget.data(), this);
}

void TControl::DestroyHandle() {
    if (FWidget.isNull())
        return;
    QWidget* widget = FWidget.data();
    FWidget = nullptr;
    DeleteWidget(widget);
}

void TControl::Invalidate() {
    if (QWidget* widget = FWidget.data())
        widget->update();
}

void TControl::Repaint() {
    if (QWidget* widget = FWidget.data())
        widget->repaint();
}

void TControl::SetUpdatesEnabled(bool Value) {
    if (FUpdatesEnabled == Value)
        return;
    FUpdatesEnabled = Value;
    if (QWidget* widget = FWidget.data())
        widget->setUpdatesEnabled(Value);
}

void TControl::BringToFront() {
    if (FParent) {
        std::vector<TControl*>& siblings = FParent->FControls;
        siblings.erase(std::find(siblings.begin(), siblings.end(), this));
        siblings.push_back(this);
    }
    if (QWidget* widget = FWidget.data())
        widget->raise();
}

void TControl::SendToBack() {
    if (FParent) {
        std::vector<TControl*>& siblings = FParent->FControls;
        siblings.erase(std::find(siblings.begin(), siblings.end(), this));
        siblings.insert(siblings.begin(), this);
    }
    if (QWidget* widget = FWidget.data())
        widget->lower();
}

bool TControl::WidgetEvent(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (DragMouseEvent(*this, static_cast<QMouseEvent*>(Event)))
            return true;
        MouseEvent(Event);
        break;
    case QEvent::ContextMenu:
        return ShowPopupMenu(static_cast<QContextMenuEvent*>(Event)->globalPos());
    case QEvent::Resize:
    case QEvent::Move:
        // Only windows are moved and sized by someone else (the user, the
        // window manager); children's geometry comes from the component.
        if (FWidget->isWindow()) {
            QPoint position = FWidget->pos();
            QSize size = FWidget->size();
            if (position.x() != FLeft || position.y() != FTop || size.width() != FWidth ||
                size.height() != FHeight)
                UpdateBounds(position.x(), position.y(), size.width(), size.height());
        }
        break;
    default:
        break;
    }
    return false;
}

// The control's popup menu, or its parent's when it has none, as the user
// asked for a context menu over it.
bool TControl::ShowPopupMenu(const QPoint& ScreenPosition) {
    for (TControl* control = this; control; control = control->FParent) {
        auto* menu = dynamic_cast<TPopupMenu*>(control->FPopupMenu);
        if (!menu)
            continue;
        if (!menu->AutoPopup())
            return false;
        menu->SetPopupComponent(control);
        menu->Popup(ScreenPosition.x(), ScreenPosition.y());
        return true;
    }
    return false;
}

void TControl::MouseEvent(QEvent* Event) {
    auto* mouse = static_cast<QMouseEvent*>(Event);
    TShiftState shift = ShiftStateOf(mouse->modifiers(), mouse->buttons());
    QPoint at = mouse->position().toPoint();
    // A click on the client area reaches a window widget in the window's
    // coordinates; the control reports client coordinates.
    if (auto* container = dynamic_cast<TWinControl*>(this); container && container->ClientWidget())
        at -= container->ClientWidget()->mapTo(FWidget.data(), QPoint(0, 0));
    if (Event->type() == QEvent::MouseMove) {
        MouseMove(shift, at.x(), at.y());
        return;
    }
    TMouseButton button = mbLeft;
    if (!MouseButtonOf(mouse->button(), button))
        return;
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
        FPressed = button == mbLeft;
        MouseDown(button, shift, at.x(), at.y());
        break;
    case QEvent::MouseButtonDblClick:
        if (FControlStyle.Contains(csDoubleClicks))
            DblClick();
        MouseDown(button, shift + TShiftState{ssDouble}, at.x(), at.y());
        break;
    default: {
        bool clicked = FPressed && button == mbLeft && PtInRect(ClientRect(), {at.x(), at.y()});
        FPressed = false;
        MouseUp(button, shift, at.x(), at.y());
        if (clicked && FControlStyle.Contains(csClickEvents))
            Click();
        break;
    }
    }
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
}

TWinControl::~TWinControl() {
    DestroyChildControls();
}

// The removal protocol is idempotent: TControl's part runs it again and
// finds nothing left to do.
void TWinControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    DestroyChildControls();
    TControl::BeforeDestruction();
}

void TWinControl::PublishedProperties(TPropertyBuilder<TWinControl>& P) {
    P.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .TypeName("TTabOrder")
        .Default(-1);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
    P.Property("OnEnter", &TWinControl::OnEnter);
    P.Property("OnExit", &TWinControl::OnExit);
    P.Property("OnKeyDown", &TWinControl::OnKeyDown);
    P.Property("OnKeyPress", &TWinControl::OnKeyPress);
    P.Property("OnKeyUp", &TWinControl::OnKeyUp);
}

// Controls still parented here go with their parent, whoever owns them.
void TWinControl::DestroyChildControls() {
    while (!FControls.empty()) {
        TControl* control = FControls.back();
        RemoveControl(control);
        delete control;
    }
}

TControl* TWinControl::Controls(Integer Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FControls[static_cast<std::size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (; Control; Control = Control->Parent())
        if (Control->Parent() == this)
            return true;
    return false;
}

void TWinControl::InsertControl(TControl* AControl) {
    if (AControl->FParent == this)
        return;
    if (AControl->FParent)
        AControl->FParent->RemoveControl(AControl);
    AControl->FParent = this;
    FControls.push_back(AControl);
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl))
        FTabList.push_back(windowed);
    AControl->ParentFontChanged();
    AControl->ParentColorChanged();
    if (HandleAllocated() && !ComponentState().Contains(csDestroying)) {
        // A window taken into a parent becomes a child widget.
        AControl->DestroyHandle();
        AControl->HandleNeeded();
        ApplyTabOrder();
    }
    if (AControl->FAlign != alNone)
        AlignControls();
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto found = std::find(FControls.begin(), FControls.end(), AControl);
    if (found == FControls.end())
        return;
    FControls.erase(found);
    std::erase(FTabList, AControl);
    AControl->FParent = nullptr;
    AControl->DestroyHandle();
    if (AControl->FAlign != alNone)
        AlignControls();
}

// --- Focus and tab order

Integer TWinControl::TabOrder() const {
    if (!Parent())
        return -1;
    const std::vector<TWinControl*>& list = Parent()->FTabList;
    return static_cast<Integer>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(Integer Value) {
    if (ComponentState().Contains(csLoading)) {
        FLoadedTabOrder = Value;
        return;
    }
    if (!Parent())
        return;
    std::vector<TWinControl*>& list = Parent()->FTabList;
    Integer current = TabOrder();
    Integer last = static_cast<Integer>(list.size()) - 1;
    if (Value < 0 || Value > last)
        Value = last;
    if (Value == current)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + Value, this);
    Parent()->ApplyTabOrder();
}

void TWinControl::ApplyTabOrder() {
    QWidget* previous = nullptr;
    for (TWinControl* control : FTabList) {
        QWidget* widget = control->WidgetAs<QWidget>();
        if (!widget)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void TWinControl::SetTabStop(bool Value) {
    if (FTabStop == Value)
        return;
    FTabStop = Value;
    if (QWidget* widget = WidgetAs<QWidget>()) {
        int policy = widget->focusPolicy();
        policy = Value ? policy | Qt::TabFocus : policy & ~Qt::TabFocus;
        widget->setFocusPolicy(static_cast<Qt::FocusPolicy>(policy));
    }
}

bool TWinControl::CanFocus() const {
    for (const TControl* control = this; control; control = control->Parent())
        if (!control->Visible() || !control->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const {
    QWidget* widget = WidgetAs<QWidget>();
    return widget && widget->hasFocus();
}

void TWinControl::SetFocus() {
    if (QWidget* widget = WidgetAs<QWidget>())
        widget->setFocus(Qt::OtherFocusReason);
}

// --- Alignment

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0 && --FAlignLevel == 0)
        AlignControls();
}

void TWinControl::Realign() {
    AlignControls();
}

void TWinControl::ControlAlignChanged(TControl*) {
    AlignControls();
}

void TWinControl::Resize() {
    AlignControls();
    TControl::Resize();
}

namespace {

// The order in which the controls of one alignment are stacked from their
// edge inwards: by their current position, ties by Controls order.
Integer AlignOrderKey(const TControl* Control) {
    switch (Control->Align()) {
    case alTop:
        return Control->Top();
    case alBottom:
        return -(Control->Top() + Control->Height());
    case alLeft:
        return Control->Left();
    case alRight:
        return -(Control->Left() + Control->Width());
    default:
        return 0;
    }
}

} // namespace

void TWinControl::AlignControls() {
    if (FAlignLevel > 0 || FAligning || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return;
    FAligning = true;
    try {
        AlignGroups();
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignGroups() {
    TRect rest = ClientRect();
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> group;
        for (TControl* control : FControls)
            if (control->FAlign == align && control->FVisible)
                group.push_back(control);
        std::stable_sort(group.begin(), group.end(), [](const TControl* A, const TControl* B) {
            return AlignOrderKey(A) < AlignOrderKey(B);
        });
        for (TControl* control : group) {
            Integer width = std::max(rest.Width(), 0);
            Integer height = std::max(rest.Height(), 0);
            switch (align) {
            case alTop:
                control->UpdateBounds(rest.Left, rest.Top, width, control->FHeight);
                rest.Top += control->FHeight;
                break;
            case alBottom:
                control->UpdateBounds(rest.Left, rest.Bottom - control->FHeight, width,
                                      control->FHeight);
                rest.Bottom -= control->FHeight;
                break;
            case alLeft:
                control->UpdateBounds(rest.Left, rest.Top, control->FWidth, height);
                rest.Left += control->FWidth;
                break;
            case alRight:
                control->UpdateBounds(rest.Right - control->FWidth, rest.Top, control->FWidth,
                                      height);
                rest.Right -= control->FWidth;
                break;
            default:
                control->UpdateBounds(rest.Left, rest.Top, width, height);
                break;
            }
        }
    }
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* control : FControls)
        control->ParentFontChanged();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* control : FControls)
        control->ParentColorChanged();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    if (FLoadedTabOrder >= 0) {
        SetTabOrder(FLoadedTabOrder);
        FLoadedTabOrder = -1;
    }
    AlignControls();
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (TControl* control : FControls)
        if (control->Owner() == Root)
            Proc(control);
    TComponent::GetChildren(Proc, Root);
}

// --- The mirror

void TWinControl::CreateHandle() {
    TControl::CreateHandle();
    if (QWidget* widget = WidgetAs<QWidget>()) {
        if (FTabStop)
            widget->setFocusPolicy(
                static_cast<Qt::FocusPolicy>(widget->focusPolicy() | Qt::TabFocus));
    }
    for (TControl* control : FControls)
        control->HandleNeeded();
    ApplyTabOrder();
}

QWidget* TWinControl::ClientWidget() {
    return WidgetAs<QWidget>();
}

void TWinControl::DestroyHandle() {
    for (TControl* control : FControls)
        control->DestroyHandle();
    TControl::DestroyHandle();
}

bool TWinControl::WidgetEvent(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return KeyEvent(Event, WidgetAs<QWidget>());
    case QEvent::FocusIn:
        DoEnter();
        return false;
    case QEvent::FocusOut:
        DoExit();
        return false;
    default:
        return TControl::WidgetEvent(Event);
    }
}

namespace {

// The window a control lies in, other than the control itself.
TWinControl* WindowOf(TControl* Control) {
    for (TWinControl* parent = Control->Parent(); parent; parent = parent->Parent())
        if (!parent->Parent())
            return parent;
    return nullptr;
}

} // namespace

bool TWinControl::KeyEvent(QEvent* Event, QWidget* Receiver) {
    auto* keyEvent = static_cast<QKeyEvent*>(Event);
    const Integer pressed = KeyFromQt(keyEvent->key());
    Integer key = pressed;
    TShiftState shift = ShiftStateOf(keyEvent->modifiers(), Qt::NoButton);
    TWinControl* window = WindowOf(this);
    if (Event->type() == QEvent::KeyRelease) {
        if (window)
            window->PreviewKeyUp(key, shift);
        if (key != 0)
            KeyUp(key, shift);
        return key == 0 && pressed != 0;
    }
    if (FSendingKey)
        return false;
    if (window)
        window->PreviewKeyDown(key, shift);
    if (key != 0)
        KeyDown(key, shift);
    if (key == 0 && pressed != 0)
        return true;
    QString text = keyEvent->text();
    if (text.size() != 1)
        return false;
    WideChar typed = text.at(0).unicode();
    WideChar replaced = typed;
    if (window)
        window->PreviewKeyPress(replaced);
    if (replaced != 0)
        KeyPress(replaced);
    if (replaced == typed)
        return false;
    if (replaced != 0) {
        QKeyEvent substitute(QEvent::KeyPress, keyEvent->key(), keyEvent->modifiers(),
                             QString(QChar(replaced)));
        FSendingKey = true;
        QCoreApplication::sendEvent(Receiver, &substitute);
        FSendingKey = false;
    }
    return true;
}

void TWinControl::KeyDown(Integer& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Integer& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(WideChar& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}
