// Controls: the visual component model (TControl, TWinControl) and its Qt
// mirror, with cursors, alignment, mouse and key events and modal results.
//
// State lives in the component
// ----------------------------
// Every property of a control is a field of the component. Properties,
// the parent/child tree, alignment, fonts, events and the streaming hooks all
// work without any QApplication, so everything but painting and real input
// is testable as a plain model.
//
// The Qt mirror
// -------------
// A control's Qt widget is made on demand: Handle() (or HandleNeeded())
// makes it, once a QApplication exists; without one Handle() raises
// EInvalidOperation. HandleAllocated() tells whether it exists. Making the
// widget of a TWinControl makes the widgets of all its child controls, and a
// control that gets a parent whose widget exists gets its own at once, so the
// widget tree always follows Parent. Showing a form (Show, ShowModal) asks
// for its widget; nothing else does.
//
//   - CreateWidget(ParentWidget) makes the widget, a child of the parent
//     control's widget (nullptr for a form).
//   - UpdateWidget() then copies the whole state into it. Every setter later
//     stores the value and, when the widget exists, pushes that one value.
//   - ConnectWidget() connects the widget's user signals. A signal writes the
//     new value back into the field and fires the component's event through
//     the same method the model uses (Click(), Change()), wrapped in
//     EventBoundary(): an exception that escapes an event handler there is
//     caught and reported through Application->HandleException (a message
//     box through the dialog service), never lost and never thrown through
//     Qt. Called from code (Button1->Click()), handlers' exceptions reach
//     the caller as usual.
//   - WidgetEvent(Event) sees every event of the widget (mouse, keys, focus,
//     resizing and moving of top-level windows) through one event filter.
//
// Widget ownership: the component owns its widget and deletes it when it is
// destroyed, when DestroyHandle() is called, or when it loses its parent.
// The control holds it in a QPointer, so a widget deleted by Qt with its
// parent widget simply leaves the control without a handle, never with a
// dangling pointer; DestroyHandle() of a TWinControl drops the children's
// widgets first, silencing their signals and event filters before anything
// is deleted. A TWinControl that is destroyed destroys the controls it still
// parents (as the platform does), so freeing a form frees every control on
// it exactly once, whoever owns them. A widget dropped while an event
// boundary runs (a control freed by its own OnClick) may be the sender of
// the signal being delivered: it is cut off and hidden at once and deleted
// when the event loop or Application->ProcessMessages comes round.
//
// Adding a control class
// ----------------------
// 1. Derive from TControl (draws, cannot hold controls or the focus) or
//    TWinControl (can be focused and hold controls), with ZX_CLASS and a
//    constructor taking the owner that sets the class's own defaults
//    (SetBounds(...) for its size, ControlStyle, colour, TabStop).
// 2. Keep each property in a field. The setter returns when nothing changes,
//    stores, and pushes the value when the widget exists:
//        if (auto* box = WidgetAs<QCheckBox>()) box->setChecked(FChecked);
// 3. Override CreateWidget to return the natural widget
//    (return new QCheckBox(ParentWidget);).
// 4. Override UpdateWidget: call the inherited one, then push every own
//    property. A class that shows Caption or Text overrides
//    UpdateWidgetText, which the base calls from UpdateWidget and whenever
//    the text changes.
// 5. Override ConnectWidget: call the inherited one, then connect user
//    signals (clicked, textEdited, activated...; or block signals with
//    QSignalBlocker while pushing values whose signals the user also
//    triggers) to lambdas of the form
//        QObject::connect(box, &QCheckBox::clicked, box, [this](bool Value) {
//            EventBoundary(this, [&] { SetChecked(Value); });
//        });
//    The widget is the connection's context, so the connection dies with it.
// 6. Publish: static void PublishedProperties(TPropertyBuilder<TSelf>& P),
//    with Default(...) equal to what the constructor sets, so that streaming
//    leaves defaults out exactly. A class that shows a caption publishes
//    "Caption" itself (P.Property("Caption", &TControl::Caption,
//    &TControl::SetCaption).TypeName("TCaption")), one that edits text
//    publishes "Text" the same way: TControl publishes neither, because the
//    translation engine collects every published "Caption".
// 7. Add the class to RegisterClxClasses() (Registration.cpp) so that form
//    files can create it.
// 8. Test the model through RTTI by name, and the mirror with a QApplication.
//
// PopupMenu is published as a component reference of type name
// "TPopupMenu" held as TComponent*: the menus unit narrows what it accepts
// and shows the menu from WidgetEvent's context-menu event. "Action" links
// the control to an action (ActnList.h) through a TControlActionLink, or
// the link its class makes in CreateActionLink.
#pragma once

#include "clx/Graphics.h"
#include "clx/Keys.h"

#include <QtCore/QPointer>

class QEvent;
class QPoint;
class QWidget;
class TBasicAction;
class TControl;
class TWinControl;

// The platform's 16-bit shortcut code (Menus.h reads and writes it).
using TShortCut = Word;

// ---------------------------------------------------------------------------
// Action links: the client's end of an action (ActnList.h). Each client
// class owns a link class that carries the properties the client has.

class TBasicActionLink : public TObject {
    ZX_CLASS(TBasicActionLink, TObject)
public:
    explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
    ~TBasicActionLink() override;

    TObject* Client() const { return FClient; }
    TBasicAction* Action() const { return FAction; }
    // Leaves the old action's clients and joins the new one's.
    virtual void SetAction(TBasicAction* Value);
    // Executes the action on behalf of AComponent (its ActionComponent).
    virtual bool Execute(TComponent* AComponent);
    virtual bool Update();

    // What the client takes from the action; a link class carries the
    // properties its client has and leaves the others alone.
    virtual void SetCaption(const AnsiString&) {}
    virtual void SetHint(const AnsiString&) {}
    virtual void SetEnabled(bool) {}
    virtual void SetVisible(bool) {}
    virtual void SetChecked(bool) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetImageIndex(Integer) {}
    virtual void SetHelpContext(Integer) {}

protected:
    // Copies the whole state of the action into the client.
    virtual void ActionChanged();

private:
    TObject* FClient;
    TBasicAction* FAction = nullptr;
};

// The link of a control: Caption, Hint, Enabled, Visible.
class TControlActionLink : public TBasicActionLink {
    ZX_CLASS(TControlActionLink, TBasicActionLink)
public:
    explicit TControlActionLink(TControl* AClient);

    void SetCaption(const AnsiString& Value) override;
    void SetHint(const AnsiString& Value) override;
    void SetEnabled(bool Value) override;
    void SetVisible(bool Value) override;

protected:
    TControl* FControl;
};

// ---------------------------------------------------------------------------
// Modal results: what a modal form or a message box returns.

using TModalResult = Integer;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrYes = 3;
inline constexpr TModalResult mrNo = 4;
inline constexpr TModalResult mrAbort = 5;
inline constexpr TModalResult mrRetry = 6;
inline constexpr TModalResult mrIgnore = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// ---------------------------------------------------------------------------
// Cursors: published as tkInteger with the type name "TCursor".

using TCursor = Integer;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crSize = crSizeAll;

// The name of a named cursor ("crHourGlass"), or false; and back.
bool CursorToIdent(TCursor Cursor, AnsiString& Ident);
bool IdentToCursor(const AnsiString& Ident, TCursor& Cursor);
// The name, or the number of a cursor without one; and back (a name or a
// decimal number; EConvertError otherwise).
AnsiString CursorToString(TCursor Cursor);
TCursor StringToCursor(const AnsiString& S);
// Every cursor name, crDefault first.
void GetCursorValues(const std::function<void(const AnsiString&)>& Proc);
// The Qt cursor shape of a cursor (crDefault: the arrow).
Qt::CursorShape CursorToQtShape(TCursor Cursor);

// ---------------------------------------------------------------------------
// Enumerations and events of controls

ZX_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient);
ZX_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter);

ZX_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle);
ZX_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble);
using TShiftState = TSet<TShiftStateItem>;

// Key is the platform's key code (Keys.h); a handler that sets it to 0
// swallows the key.
using TKeyEvent = TEvent<void(TObject* Sender, Integer& Key, TShiftState Shift)>;
// Key is the character typed; 0 swallows it, another character replaces it.
using TKeyPressEvent = TEvent<void(TObject* Sender, WideChar& Key)>;
using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;

// Dragging one control onto another. dmAutomatic starts a drag when the
// left button is pressed on the control and the mouse moves on.
ZX_ENUM(TDragMode, dmManual, dmAutomatic);
ZX_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove);
// Accept starts True for a handler; it tells whether a drop there is taken.
using TDragOverEvent = TEvent<void(TObject* Sender, TObject* Source, Integer X, Integer Y,
                                   TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;

// What a control class is and does, set by its constructor.
enum TControlStyleItem {
    // It can parent other controls in the designer and in form files.
    csAcceptsControls,
    // A mouse button released over it fires Click (controls whose widget
    // reports clicks itself, like buttons, leave it out).
    csClickEvents,
    // A double click fires DblClick.
    csDoubleClicks,
    // Renaming it while its caption equals its name renames the caption too.
    csSetCaption,
};
using TControlStyle = TSet<TControlStyleItem>;

// The two parts of a hint "short|long".
AnsiString GetShortHint(const AnsiString& Hint);
AnsiString GetLongHint(const AnsiString& Hint);

// Runs Action; an exception that escapes it is reported through
// Application->HandleException(Sender) and goes no further. Every call from
// Qt into the component model goes through it.
void EventBoundary(TObject* Sender, const std::function<void()>& Action) noexcept;

// Whether widgets can be made: a QApplication exists.
bool WidgetsAvailable();

// ---------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
    ZX_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TControl>& P);

    // --- The control tree. Setting the parent inserts the control at the
    // end of the new parent's Controls; EInvalidOperation when the parent
    // is the control itself or one of its children.
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    // Form files set the parent through this: a TWinControl becomes Parent.
    void SetParentComponent(TComponent* Value) override;

    // --- Geometry, relative to the parent's client area (for a form: the
    // window's position on the screen and the size of its client area).
    Integer Left() const { return FLeft; }
    Integer Top() const { return FTop; }
    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    // Negative sizes become 0. A change of size fires OnResize, and the
    // parent aligns its controls again when this one is aligned.
    virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& Rect) {
        SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    }
    virtual Integer ClientWidth() const { return FWidth; }
    virtual Integer ClientHeight() const { return FHeight; }
    void SetClientWidth(Integer Value) { SetWidth(Value + FWidth - ClientWidth()); }
    void SetClientHeight(Integer Value) { SetHeight(Value + FHeight - ClientHeight()); }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    // A point of the control's client area in screen coordinates, as the
    // shown widget lies; without a widget, by the bounds up to the form.
    TPoint ClientToScreen(const TPoint& Point) const;
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);

    // --- Text: Caption and Text are one value, published under the name the
    // class shows it by.
    const AnsiString& Caption() const { return FText; }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    const AnsiString& Text() const { return FText; }
    virtual void SetText(const AnsiString& Value);
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);

    // --- Look. Font is owned; SetFont copies the given font. A change of
    // the font clears ParentFont; with ParentFont set the control takes its
    // parent's font and follows every change of it.
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    // Setting the colour clears ParentColor; with ParentColor set the
    // control takes its parent's colour and follows every change of it.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    // --- State
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    // The popup menu shown on a right click (a TPopupMenu); cleared when
    // that component is destroyed.
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* Value);
    // The action the control follows (Caption, Hint, Enabled, Visible) and
    // executes when clicked without an OnClick of its own.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);

    void SetName(const AnsiString& NewName) override;

    // --- Dragging. One drag at a time, its source the control that began
    // it. BeginDrag(false) waits until the mouse has moved a few pixels with
    // the button down; DragTo moves the drag over Target (nullptr: over no
    // control) at (X, Y) of its client area, which asks the target's
    // DragOver (leaving the previous target first); EndDrag(true) drops on
    // the last target if it accepted. The mouse does all this for
    // dmAutomatic controls.
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    void BeginDrag(bool Immediate);
    bool Dragging() const;
    static void DragTo(TControl* Target, Integer X, Integer Y);
    static void EndDrag(bool Drop);
    // Fires OnDragDrop.
    virtual void DragDrop(TObject* Source, Integer X, Integer Y);
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

    // --- Events and the methods that fire them (a subclass overrides the
    // method, not the event).
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    virtual void Click();
    virtual void DblClick();

    // --- The Qt mirror (see the top of this file).
    QWidget* Handle();
    bool HandleAllocated() const { return !FWidget.isNull(); }
    void HandleNeeded();
    // Deletes the widget; the component keeps its state and makes a new one
    // when asked again.
    virtual void DestroyHandle();
    // Repaints the widget, if there is one, when the event loop next runs.
    void Invalidate();
    // Repaints the widget at once (unless its updates are off).
    void Repaint();
    // With updates off the widget keeps what it shows until they are on
    // again; changes many items make then cost no painting. Switching them
    // on repaints.
    bool UpdatesEnabled() const { return FUpdatesEnabled; }
    void SetUpdatesEnabled(bool Value);
    // Moves the control to the front or back of its parent's controls (and
    // its widget in the stacking order).
    void BringToFront();
    void SendToBack();

protected:
    // The link SetAction gives the control: a TControlActionLink unless the
    // class carries more of the action.
    virtual std::unique_ptr<TControlActionLink> CreateActionLink();
    // Makes the widget as a child of ParentWidget (nullptr for a window).
    virtual QWidget* CreateWidget(QWidget* ParentWidget);
    // Copies the whole state into the widget just made.
    virtual void UpdateWidget();
    // Caption/Text into the widget; the base shows no text.
    virtual void UpdateWidgetText() {}
    // Left, Top, Width and Height into the widget (a window is moved and
    // its client area sized).
    virtual void UpdateWidgetBounds();
    // Font and colours into the widget; the base sets the widget's font, the
    // font colour as the palette's text colours and Color as its background
    // role. Edit-like controls paint their background with the Base role.
    virtual void UpdateWidgetColors();
    // Connects the widget's user signals; the base installs the event filter.
    virtual void ConnectWidget();
    // Every event of the widget; true stops it there.
    virtual bool WidgetEvent(QEvent* Event);
    // The widget as its class, nullptr while there is none.
    template <typename W> W* WidgetAs() const { return static_cast<W*>(FWidget.data()); }
    // Makes the widget (the parent's first); TWinControl adds its children's.
    virtual void CreateHandle();
    // A window (forms) may have a widget without a parent control.
    virtual bool IsWindow() const { return false; }

    // Reactions to changes, for subclasses to extend. Resize fires OnResize
    // (not while loading); TWinControl aligns its controls first.
    virtual void FontChanged();
    virtual void VisibleChanged();
    virtual void Resize();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
    // Whether a drop of Source at (X, Y) would be taken: OnDragOver decides
    // when assigned, otherwise no.
    virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
    // The parent's font or colour changed; a control with ParentFont or
    // ParentColor takes it.
    void ParentFontChanged();
    void ParentColorChanged();
    // The colour changed; TWinControl passes it on to its children.
    virtual void ColorChanged();
    // Stores a new geometry and pushes it, without asking the parent to align
    // again (the parent's alignment and the widget's write-back use it).
    void UpdateBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TWinControl;
    friend class TControlEventFilter;

    void FontObjectChanged();
    bool ShowPopupMenu(const QPoint& ScreenPosition);
    void PushHint();
    void PushCursor();
    void MouseEvent(QEvent* Event);

    TWinControl* FParent = nullptr;
    Integer FLeft = 0;
    Integer FTop = 0;
    Integer FWidth = 0;
    Integer FHeight = 0;
    TAlign FAlign = alNone;
    AnsiString FText;
    AnsiString FHint;
    bool FShowHint = false;
    bool FUpdatesEnabled = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    bool FTakingParentColor = false;
    TCursor FCursor = crDefault;
    TDragMode FDragMode = dmManual;
    bool FVisible = true;
    bool FEnabled = true;
    TControlStyle FControlStyle{csClickEvents, csDoubleClicks};
    TComponent* FPopupMenu = nullptr;
    std::unique_ptr<TControlActionLink> FActionLink;
    bool FPressed = false;
    QPointer<QWidget> FWidget;
};

// ---------------------------------------------------------------------------
// TWinControl: a control that can hold controls and take the focus.

class TWinControl : public TControl {
    ZX_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TWinControl>& P);

    // The child controls in the order they were inserted.
    Integer ControlCount() const { return static_cast<Integer>(FControls.size()); }
    // EListError for a bad index.
    TControl* Controls(Integer Index) const;
    bool ContainsControl(const TControl* Control) const;
    // Usually called through TControl::SetParent.
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);

    // Position among the parent's focusable controls (-1 without a parent).
    // While the control is being loaded the value waits for Loaded.
    Integer TabOrder() const;
    void SetTabOrder(Integer Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    bool CanFocus() const;
    bool Focused() const;
    // Gives the widget the keyboard focus (when there is a widget).
    void SetFocus();

    // Aligned children are laid out again after every change that moves
    // them; DisableAlign/EnableAlign hold that back over a batch of changes.
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign();

    // Form files write the child controls owned by Root in Controls order,
    // then, for the root itself, its owned components that have no parent.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    void DestroyHandle() override;

protected:
    void CreateHandle() override;
    // The widget the children's widgets are made in: the control's own,
    // unless it keeps an area of its own (a form's menu bar) out of it.
    virtual QWidget* ClientWidget();
    bool WidgetEvent(QEvent* Event) override;
    void FontChanged() override;
    void ColorChanged() override;
    void Resize() override;
    void Loaded() override;
    // Lays out the aligned children in ClientRect: alTop, alBottom, alLeft,
    // alRight and alClient in turn, each group in the order of its position.
    virtual void AlignControls();
    virtual void KeyDown(Integer& Key, TShiftState Shift);
    virtual void KeyUp(Integer& Key, TShiftState Shift);
    virtual void KeyPress(WideChar& Key);
    // The keys of the controls in a window reach the window first (a form
    // with KeyPreview takes them there); the base ignores them.
    virtual void PreviewKeyDown(Integer&, TShiftState) {}
    virtual void PreviewKeyUp(Integer&, TShiftState) {}
    virtual void PreviewKeyPress(WideChar&) {}
    virtual void DoEnter();
    virtual void DoExit();
    // A key pressed or released in Receiver, the control's widget or a
    // widget standing in for it (a grid's in-place editor): the window's
    // preview, then KeyDown/KeyUp and KeyPress; a key they replace reaches
    // Receiver in its stead. True when the key is taken.
    bool KeyEvent(QEvent* Event, QWidget* Receiver);

private:
    friend class TControl;

    void ControlAlignChanged(TControl* Control);
    void AlignGroups();
    void ApplyTabOrder();
    void DestroyChildControls();

    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    Integer FLoadedTabOrder = -1;
    Integer FAlignLevel = 0;
    bool FAligning = false;
    bool FSendingKey = false;
};

// ---------------------------------------------------------------------------
// TCustomControl: a container that paints itself. A descendant overrides
// Paint and draws on Canvas, which has its painter only while Paint runs.

class TCustomControl : public TWinControl {
    ZX_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    bool WidgetEvent(QEvent* Event) override;
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> FCanvas;
};
