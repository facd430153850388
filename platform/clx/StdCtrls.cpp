#include "clx/StdCtrls.h"
#include "clx/QtSupport.h"

#include "clx/Forms.h"

#include <QtCore/QTimer>
#include <QtGui/QFocusEvent>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QShortcut>
#include <QtGui/QTextDocument>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QStylePainter>
#include <QtWidgets/QStyledItemDelegate>

namespace {


Qt::Alignment QtAlignment(TAlignment Alignment, TTextLayout Layout) {
    Qt::Alignment result = Alignment == taRightJustify ? Qt::AlignRight
                           : Alignment == taCenter     ? Qt::AlignHCenter
                                                       : Qt::AlignLeft;
    return result | (Layout == tlBottom   ? Qt::AlignBottom
                     : Layout == tlCenter ? Qt::AlignVCenter
                                          : Qt::AlignTop);
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csSetCaption});
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    PushAlignment();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (FLayout == Value)
        return;
    FLayout = Value;
    PushAlignment();
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    if (auto* label = WidgetAs<QLabel>())
        label->setWordWrap(Value);
    AdjustBounds();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (FShowAccelChar == Value)
        return;
    FShowAccelChar = Value;
    if (HandleAllocated())
        UpdateWidgetText();
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    if (ReplaceComponentReference(this, FFocusControl, Value))
        PushBuddy();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) {
        FFocusControl = nullptr;
        PushBuddy();
    }
}

void TCustomLabel::SetText(const AnsiString& Value) {
    if (Value == Text())
        return;
    TControl::SetText(Value);
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::Loaded() {
    TControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || !qGuiApp || ComponentState().Contains(csLoading))
        return;
    QFontMetrics metrics(FontToQFont(*Font()));
    QString text = ToQString(FShowAccelChar ? StripHotkey(Caption()) : Caption());
    QRect bounds = FWordWrap
                       ? metrics.boundingRect(QRect(0, 0, Width(), 1 << 20), Qt::TextWordWrap, text)
                       : metrics.boundingRect(QRect(), 0, text.isEmpty() ? "W" : text);
    Integer width = FWordWrap ? Width() : (text.isEmpty() ? 0 : bounds.width());
    SetBounds(Left(), Top(), width, std::max(bounds.height(), metrics.height()));
}

QWidget* TCustomLabel::CreateWidget(QWidget* ParentWidget) {
    auto* label = new QLabel(ParentWidget);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void TCustomLabel::UpdateWidget() {
    TControl::UpdateWidget();
    WidgetAs<QLabel>()->setWordWrap(FWordWrap);
    PushAlignment();
    PushBuddy();
}

// The label shows the access key only when it has a control to focus; its
// text otherwise is the caption without "&" markers (or, without
// ShowAccelChar, the caption as it is).
void TCustomLabel::UpdateWidgetText() {
    auto* label = WidgetAs<QLabel>();
    // The control's widget may have been made since the buddy was last set.
    label->setBuddy(FFocusControl && FFocusControl->HandleAllocated() ? FFocusControl->Handle()
                                                                      : nullptr);
    bool buddy = label->buddy() != nullptr;
    AnsiString shown = Caption();
    if (FShowAccelChar && !buddy)
        shown = StripHotkey(shown);
    else if (!FShowAccelChar && buddy)
        shown = StringReplace(shown, "&", "&&", TReplaceFlags{rfReplaceAll});
    label->setText(ToQString(shown));
}

void TCustomLabel::PushAlignment() {
    if (auto* label = WidgetAs<QLabel>())
        label->setAlignment(QtAlignment(FAlignment, FLayout));
}

void TCustomLabel::PushBuddy() {
    if (WidgetAs<QLabel>())
        UpdateWidgetText();
}

void TLabel::PublishedProperties(TPropertyBuilder<TLabel>& P) {
    P.Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
        .Default(taLeftJustify);
    P.Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    P.Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
    P.Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop);
    P.Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
        .Default(true);
    P.Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::PublishedProperties(TPropertyBuilder<TButton>& P) {
    P.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    P.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    P.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
        .TypeName("TModalResult")
        .Default(mrNone);
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
}

void TButton::SetDefault(bool Value) {
    if (FDefault == Value)
        return;
    FDefault = Value;
    PushKeys();
}

void TButton::SetCancel(bool Value) {
    if (FCancel == Value)
        return;
    FCancel = Value;
    PushKeys();
}

void TButton::Click() {
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(FModalResult);
    TWinControl::Click();
}

QWidget* TButton::CreateWidget(QWidget* ParentWidget) {
    auto* button = new QPushButton(ParentWidget);
    button->setAutoDefault(false);
    return button;
}

void TButton::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushKeys();
}

void TButton::UpdateWidgetText() {
    WidgetAs<QPushButton>()->setText(ToQString(Caption()));
}

void TButton::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* button = WidgetAs<QPushButton>();
    QObject::connect(button, &QPushButton::clicked, button,
                     [this] { EventBoundary(this, [this] { Click(); }); });
}

// Enter and Escape are shortcuts of the whole window that click the button.
void TButton::PushKeys() {
    auto* button = WidgetAs<QPushButton>();
    if (!button)
        return;
    button->setDefault(FDefault);
    qDeleteAll(button->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly));
    std::vector<Qt::Key> keys;
    if (FDefault)
        keys.insert(keys.end(), {Qt::Key_Return, Qt::Key_Enter});
    if (FCancel)
        keys.push_back(Qt::Key_Escape);
    for (Qt::Key key : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), button);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
    }
}

// ---------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csSetCaption});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 121, 25);
}

void TCustomEdit::SetMaxLength(Integer Value) {
    if (FMaxLength == Value)
        return;
    FMaxLength = Value;
    if (HandleAllocated())
        UpdateWidgetEditing();
}

void TCustomEdit::SetReadOnly(bool Value) {
    if (FReadOnly == Value)
        return;
    FReadOnly = Value;
    if (HandleAllocated())
        UpdateWidgetEditing();
}

void TCustomEdit::SetText(const AnsiString& Value) {
    if (Value == Text())
        return;
    TWinControl::SetText(Value);
    Change();
}

void TCustomEdit::TextEdited(const AnsiString& Value) {
    FModified = true;
    SetText(Value);
}

void TCustomEdit::Change() {
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------
// TEdit

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TEdit::PublishedProperties(TPropertyBuilder<TEdit>& P) {
    P.Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
    P.Property("Color", &TControl::Color, &TControl::SetColor).TypeName("TColor").Default(clWindow);
    P.Property("EchoMode", &TEdit::EchoMode, &TEdit::SetEchoMode).Default(emNormal);
    P.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("Text", &TControl::Text, &TControl::SetText).TypeName("TCaption");
    P.Property("OnChange", &TCustomEdit::OnChange);
}

void TEdit::SetEchoMode(TEchoMode Value) {
    if (FEchoMode == Value)
        return;
    FEchoMode = Value;
    if (HandleAllocated())
        UpdateWidgetEditing();
}

void TEdit::SelectAll() {
    if (auto* edit = WidgetAs<QLineEdit>())
        edit->selectAll();
}

QWidget* TEdit::CreateWidget(QWidget* ParentWidget) {
    return new QLineEdit(ParentWidget);
}

void TEdit::UpdateWidget() {
    TCustomEdit::UpdateWidget();
    UpdateWidgetEditing();
}

// Only a text that differs is pushed, so that writing back a user's edit
// leaves the cursor where it is.
void TEdit::UpdateWidgetText() {
    auto* edit = WidgetAs<QLineEdit>();
    QString text = ToQString(Text());
    if (edit->text() != text)
        edit->setText(text);
}

void TEdit::UpdateWidgetEditing() {
    auto* edit = WidgetAs<QLineEdit>();
    edit->setMaxLength(MaxLength() > 0 ? MaxLength() : 32767);
    edit->setReadOnly(ReadOnly());
    // The line edit picks its own cursor for its read-only state.
    if (Cursor() != crDefault)
        edit->setCursor(CursorToQtShape(Cursor()));
    edit->setEchoMode(FEchoMode == emPassword ? QLineEdit::Password
                      : FEchoMode == emNone   ? QLineEdit::NoEcho
                                              : QLineEdit::Normal);
}

void TEdit::ConnectWidget() {
    TCustomEdit::ConnectWidget();
    auto* edit = WidgetAs<QLineEdit>();
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& Value) {
        EventBoundary(this, [&] { TextEdited(FromQString(Value)); });
    });
}

// The line edit selects its text when the keyboard brings the focus; without
// AutoSelect that selection is taken back once the edit has handled it.
bool TEdit::WidgetEvent(QEvent* Event) {
    if (Event->type() == QEvent::FocusIn && !AutoSelect()) {
        auto* edit = WidgetAs<QLineEdit>();
        QTimer::singleShot(0, edit, [edit] { edit->deselect(); });
    }
    return TCustomEdit::WidgetEvent(Event);
}

// ---------------------------------------------------------------------------
// TControlStrings and owner drawing

void TControlStrings::Changed() {
    TStringList::Changed();
    if (FChanged && UpdateCount() == 0)
        FChanged();
}

// Paints the items of an owner-drawn list through its control: Paint draws
// an item (false: the delegate draws it as usual), Measure gives its height
// (negative: the usual height). The control detaches it before it goes, as
// the widget may outlive the control for a moment.
class TItemDrawDelegate : public QStyledItemDelegate {
public:
    using TPaint = std::function<bool(QPainter* Painter, const TRect& Rect, Integer Index,
                                      TOwnerDrawState State)>;
    using TMeasure = std::function<Integer(Integer Index)>;

    TItemDrawDelegate(QObject* Parent, TPaint Paint, TMeasure Measure)
        : QStyledItemDelegate(Parent), FPaint(std::move(Paint)), FMeasure(std::move(Measure)) {}

    void Detach() {
        FPaint = nullptr;
        FMeasure = nullptr;
    }

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        const QRect& r = Option.rect;
        if (FPaint && FPaint(Painter, Bounds(r.x(), r.y(), r.width(), r.height()), Index.row(),
                             StateOf(Option)))
            return;
        QStyledItemDelegate::paint(Painter, Option, Index);
    }

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        QSize size = QStyledItemDelegate::sizeHint(Option, Index);
        Integer height = FMeasure ? FMeasure(Index.row()) : -1;
        if (height >= 0)
            size.setHeight(height);
        return size;
    }

private:
    static TOwnerDrawState StateOf(const QStyleOptionViewItem& Option) {
        TOwnerDrawState state;
        if (Option.state & QStyle::State_Selected)
            state.Include(odSelected);
        if (Option.state & QStyle::State_HasFocus)
            state.Include(odFocused);
        if (!(Option.state & QStyle::State_Enabled))
            state.Include(odDisabled);
        return state;
    }

    TPaint FPaint;
    TMeasure FMeasure;
};

namespace {

// Sets the control's canvas up for item Index (its font and colour, or the
// selection colours) and has the control draw it; false when nothing drew.
// A handler's exception is reported, and the item then counts as drawn.
template <typename TList>
bool PaintOwnerDrawnItem(TList& List, QPainter* Painter, const TRect& Rect, Integer Index,
                         TOwnerDrawState State) {
    TCanvas& canvas = *List.Canvas();
    bool drawn = true;
    Painter->save();
    canvas.SetHandle(Painter);
    canvas.SetFont(List.Font());
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(List.Color());
    if (State.Contains(odSelected)) {
        canvas.Brush()->SetColor(clHighlight);
        canvas.Font()->SetColor(clHighlightText);
    }
    EventBoundary(&List, [&] { drawn = List.DrawItem(Index, Rect, State); });
    canvas.SetHandle(nullptr);
    Painter->restore();
    return drawn;
}

QStringList QtStrings(const TStrings& Strings) {
    QStringList result;
    for (Integer index = 0; index < Strings.Count(); ++index)
        result << ToQString(Strings[index]);
    return result;
}

bool HasVariableItemHeights(const TCustomComboBox& Combo) {
    return Combo.Style() == csOwnerDrawVariable;
}

bool HasVariableItemHeights(const TCustomListBox& List) {
    return List.Style() == lbOwnerDrawVariable;
}

// The height of item Index: ItemHeight, or what MeasureItem makes of it in
// the variable styles.
template <typename TList> Integer OwnerDrawnItemHeight(TList& List, Integer Index) {
    Integer height = List.ItemHeight();
    if (HasVariableItemHeights(List))
        EventBoundary(&List, [&] { List.MeasureItem(&List, Index, height); });
    return height;
}

// Gives View, once List is owner-drawn, the delegate that paints and
// measures its items through List. The delegate asks for the style at every
// item, so a list that stops being owner-drawn draws as usual again.
template <typename TList, typename TView>
void InstallItemDrawDelegate(TList& List, TView* View, QPointer<TItemDrawDelegate>& Delegate) {
    if (!List.IsOwnerDrawn() || Delegate)
        return;
    Delegate = new TItemDrawDelegate(
        View,
        [&List](QPainter* Painter, const TRect& Rect, Integer Index, TOwnerDrawState State) {
            return List.IsOwnerDrawn() && PaintOwnerDrawnItem(List, Painter, Rect, Index, State);
        },
        [&List](Integer Index) {
            return List.IsOwnerDrawn() ? OwnerDrawnItemHeight(List, Index) : -1;
        });
    View->setItemDelegate(Delegate);
}

void DetachItemDrawDelegate(TItemDrawDelegate* Delegate) {
    if (Delegate)
        Delegate->Detach();
}

// An item index that is outside Items becomes -1 (none).
Integer ItemIndexWithin(Integer Value, const TStrings& Items) {
    return Value >= 0 && Value < Items.Count() ? Value : -1;
}

template <typename TView> void SetViewItems(TView* View, const TStrings& Items) {
    View->clear();
    View->addItems(QtStrings(Items));
}

bool CallDrawItemEvent(const TDrawItemEvent& Event, TObject* Sender, Integer Index,
                       const TRect& Rect, TOwnerDrawState State) {
    if (!Event)
        return false;
    bool handled = true;
    Event(Sender, Index, Rect, State, handled);
    return handled;
}

// A text splits into lines at CR LF, CR or LF; a final line break leaves an
// empty last line, and an empty text has no lines.
std::vector<AnsiString> SplitLines(const AnsiString& Text) {
    std::vector<AnsiString> lines;
    if (Text.empty())
        return lines;
    AnsiString line;
    for (std::size_t index = 0; index < Text.size(); ++index) {
        char c = Text[index];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && index + 1 < Text.size() && Text[index + 1] == '\n')
            ++index;
        lines.push_back(line);
        line.clear();
    }
    lines.push_back(line);
    return lines;
}

AnsiString JoinLines(const TStrings& Lines) {
    AnsiString text;
    for (Integer index = 0; index < Lines.Count(); ++index) {
        if (index > 0)
            text += '\n';
        text += Lines[index];
    }
    return text;
}

Qt::ScrollBarPolicy ScrollPolicy(TScrollStyle Style, TScrollStyle Always, TScrollStyle Auto) {
    if (Style == Always || Style == ssBoth)
        return Qt::ScrollBarAlwaysOn;
    if (Style == Auto || Style == ssAutoBoth)
        return Qt::ScrollBarAsNeeded;
    return Qt::ScrollBarAlwaysOff;
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), FLines(std::make_unique<TControlStrings>([this] { LinesChanged(); })) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::LinesChanged() {
    TCustomEdit::SetText(JoinLines(*FLines));
}

void TCustomMemo::SetText(const AnsiString& Value) {
    TStringList lines;
    for (const AnsiString& line : SplitLines(Value))
        lines.Add(line);
    FLines->Assign(&lines);
}

void TCustomMemo::SetWordWrap(bool Value) {
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    PushLayout();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    if (FScrollBars == Value)
        return;
    FScrollBars = Value;
    PushLayout();
}

void TCustomMemo::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    PushLayout();
}

void TCustomMemo::SetWantTabs(bool Value) {
    if (FWantTabs == Value)
        return;
    FWantTabs = Value;
    PushLayout();
}

void TCustomMemo::SelectAll() {
    if (auto* edit = WidgetAs<QPlainTextEdit>())
        edit->selectAll();
}

QWidget* TCustomMemo::CreateWidget(QWidget* ParentWidget) {
    return new QPlainTextEdit(ParentWidget);
}

void TCustomMemo::UpdateWidget() {
    TCustomEdit::UpdateWidget();
    UpdateWidgetEditing();
    PushLayout();
}

// Only a text that differs is pushed, so that writing back a user's edit
// leaves the cursor where it is.
void TCustomMemo::UpdateWidgetText() {
    auto* edit = WidgetAs<QPlainTextEdit>();
    QString text = ToQString(Text());
    if (edit->toPlainText() == text)
        return;
    QSignalBlocker blocker(edit);
    edit->setPlainText(text);
}

void TCustomMemo::UpdateWidgetEditing() {
    WidgetAs<QPlainTextEdit>()->setReadOnly(ReadOnly());
}

void TCustomMemo::PushLayout() {
    auto* edit = WidgetAs<QPlainTextEdit>();
    if (!edit)
        return;
    edit->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    edit->setHorizontalScrollBarPolicy(ScrollPolicy(FScrollBars, ssHorizontal, ssAutoHorizontal));
    edit->setVerticalScrollBarPolicy(ScrollPolicy(FScrollBars, ssVertical, ssAutoVertical));
    edit->setTabChangesFocus(!FWantTabs);
    QTextOption option = edit->document()->defaultTextOption();
    option.setAlignment(QtAlignment(FAlignment, tlTop) & Qt::AlignHorizontal_Mask);
    edit->document()->setDefaultTextOption(option);
}

void TCustomMemo::ConnectWidget() {
    TCustomEdit::ConnectWidget();
    auto* edit = WidgetAs<QPlainTextEdit>();
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                     [this] { EventBoundary(this, [this] { WidgetTextChanged(); }); });
}

// The plain text edit has no length limit of its own: a user's edit beyond
// MaxLength is cut back before it is taken.
void TCustomMemo::WidgetTextChanged() {
    auto* edit = WidgetAs<QPlainTextEdit>();
    QString text = edit->toPlainText();
    if (MaxLength() > 0 && text.size() > MaxLength()) {
        text.truncate(MaxLength());
        QSignalBlocker blocker(edit);
        edit->setPlainText(text);
        edit->moveCursor(QTextCursor::End);
    }
    TextEdited(FromQString(text));
}

bool TCustomMemo::WidgetEvent(QEvent* Event) {
    if (Event->type() == QEvent::KeyPress && !FWantReturns) {
        auto* key = static_cast<QKeyEvent*>(Event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & Qt::ControlModifier)) {
            key->ignore();
            return true;
        }
    }
    return TCustomEdit::WidgetEvent(Event);
}

void TMemo::PublishedProperties(TPropertyBuilder<TMemo>& P) {
    P.Property("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment)
        .Default(taLeftJustify);
    P.Property("Color", &TControl::Color, &TControl::SetColor).TypeName("TColor").Default(clWindow);
    P.Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines);
    P.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
    P.Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns)
        .Default(true);
    P.Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false);
    P.Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true);
    P.Property("OnChange", &TCustomEdit::OnChange);
}

// ---------------------------------------------------------------------------
// TButtonControl, TCheckBox, TRadioButton

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetTabStop(true);
}

void TButtonControl::UpdateWidgetText() {
    WidgetAs<QAbstractButton>()->setText(ToQString(Caption()));
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
    if (FState == Value)
        return;
    FState = Value;
    PushState();
    if (!ComponentState().Contains(csLoading))
        Click();
}

void TCustomCheckBox::SetAllowGrayed(bool Value) {
    if (FAllowGrayed == Value)
        return;
    FAllowGrayed = Value;
    PushState();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
    case cbUnchecked:
        SetState(cbChecked);
        break;
    case cbChecked:
        SetState(FAllowGrayed ? cbGrayed : cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbUnchecked);
        break;
    }
}

QWidget* TCustomCheckBox::CreateWidget(QWidget* ParentWidget) {
    return new QCheckBox(ParentWidget);
}

void TCustomCheckBox::UpdateWidget() {
    TButtonControl::UpdateWidget();
    PushState();
}

void TCustomCheckBox::PushState() {
    auto* box = WidgetAs<QCheckBox>();
    if (!box)
        return;
    box->setTristate(FAllowGrayed || FState == cbGrayed);
    box->setCheckState(FState == cbChecked  ? Qt::Checked
                       : FState == cbGrayed ? Qt::PartiallyChecked
                                            : Qt::Unchecked);
}

// The check box's own cycle differs from the platform's: the component
// decides the next state and shows it.
void TCustomCheckBox::ConnectWidget() {
    TButtonControl::ConnectWidget();
    auto* box = WidgetAs<QCheckBox>();
    QObject::connect(box, &QCheckBox::clicked, box, [this] {
        EventBoundary(this, [this] {
            Toggle();
            PushState();
        });
    });
}

void TCheckBox::PublishedProperties(TPropertyBuilder<TCheckBox>& P) {
    P.Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
        .Default(false);
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    P.Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked).Default(false);
    P.Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState).Default(cbUnchecked);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::PublishedProperties(TPropertyBuilder<TRadioButton>& P) {
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    P.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
}

void TRadioButton::SetChecked(bool Value) {
    if (FChecked == Value)
        return;
    FChecked = Value;
    PushChecked();
    if (!Value)
        return;
    if (TWinControl* parent = Parent())
        for (Integer index = 0; index < parent->ControlCount(); ++index)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(index));
                sibling && sibling != this)
                sibling->SetChecked(false);
    if (!ComponentState().Contains(csLoading))
        Click();
}

QWidget* TRadioButton::CreateWidget(QWidget* ParentWidget) {
    auto* button = new QRadioButton(ParentWidget);
    // The component keeps its siblings exclusive itself.
    button->setAutoExclusive(false);
    return button;
}

void TRadioButton::UpdateWidget() {
    TButtonControl::UpdateWidget();
    PushChecked();
}

void TRadioButton::PushChecked() {
    if (auto* button = WidgetAs<QRadioButton>())
        button->setChecked(FChecked);
}

// A click checks the button; clicking a checked one leaves it checked.
void TRadioButton::ConnectWidget() {
    TButtonControl::ConnectWidget();
    auto* button = WidgetAs<QRadioButton>();
    QObject::connect(button, &QRadioButton::clicked, button, [this] {
        EventBoundary(this, [this] {
            SetChecked(true);
            PushChecked();
        });
    });
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csSetCaption, csClickEvents, csDoubleClicks});
    SetBounds(0, 0, 185, 105);
}

QWidget* TCustomGroupBox::CreateWidget(QWidget* ParentWidget) {
    return new QGroupBox(ParentWidget);
}

void TCustomGroupBox::UpdateWidgetText() {
    WidgetAs<QGroupBox>()->setTitle(ToQString(Caption()));
}

void TGroupBox::PublishedProperties(TPropertyBuilder<TGroupBox>& P) {
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
}

// ---------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TControlStrings>([this] { ItemsChanged(); })),
      FCanvas(std::make_unique<TCanvas>()) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 145, 25);
}

TCustomComboBox::~TCustomComboBox() {
    DetachItemDrawDelegate(FDelegate);
}

void TCustomComboBox::DestroyHandle() {
    DetachItemDrawDelegate(FDelegate);
    TWinControl::DestroyHandle();
}

void TCustomComboBox::ItemsChanged() {
    if (!ComponentState().Contains(csLoading)) {
        if (FItemIndex >= FItems->Count())
            FItemIndex = -1;
        if (!IsEditable())
            TWinControl::SetText(FItemIndex >= 0 ? FItems->Get(FItemIndex) : AnsiString());
    }
    PushItems();
}

void TCustomComboBox::SetItemIndex(Integer Value) {
    if (ComponentState().Contains(csLoading)) {
        FItemIndex = Value;
        return;
    }
    Value = ItemIndexWithin(Value, *FItems);
    if (FItemIndex == Value)
        return;
    FItemIndex = Value;
    TWinControl::SetText(Value >= 0 ? FItems->Get(Value) : AnsiString());
    PushItemIndex();
}

// A text set from code selects the item that has it (none when none has);
// the styles that pick from the list take no other text.
void TCustomComboBox::SetText(const AnsiString& Value) {
    if (ComponentState().Contains(csLoading)) {
        TWinControl::SetText(Value);
        return;
    }
    Integer index = FItems->IndexOf(Value);
    FItemIndex = index;
    TWinControl::SetText(index >= 0 || IsEditable() ? Value : AnsiString());
    PushItemIndex();
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    SetText(AnsiString());
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    FItemIndex = ItemIndexWithin(FItemIndex, *FItems);
    if (FItemIndex >= 0 && (!IsEditable() || Text().empty()))
        TWinControl::SetText(FItems->Get(FItemIndex));
    if (HandleAllocated())
        PushItems();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    PushStyle();
}

void TCustomComboBox::SetItemHeight(Integer Value) {
    if (Value <= 0 || FItemHeight == Value)
        return;
    FItemHeight = Value;
    PushStyle();
}

void TCustomComboBox::SetDropDownCount(Integer Value) {
    if (FDropDownCount == Value)
        return;
    FDropDownCount = Value;
    if (auto* combo = WidgetAs<QComboBox>())
        combo->setMaxVisibleItems(std::max(Value, 1));
}

void TCustomComboBox::SetMaxLength(Integer Value) {
    if (FMaxLength == Value)
        return;
    FMaxLength = Value;
    PushStyle();
}

bool TCustomComboBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    return CallDrawItemEvent(OnDrawItem, this, Index, Rect, State);
}

void TCustomComboBox::MeasureItem(TWinControl* Control, Integer Index, Integer& Height) {
    if (OnMeasureItem)
        OnMeasureItem(Control, Index, Height);
}

void TCustomComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
}

QWidget* TCustomComboBox::CreateWidget(QWidget* ParentWidget) {
    auto* combo = new QComboBox(ParentWidget);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

void TCustomComboBox::UpdateWidget() {
    TWinControl::UpdateWidget();
    WidgetAs<QComboBox>()->setMaxVisibleItems(std::max(FDropDownCount, 1));
    PushStyle();
}

void TCustomComboBox::PushStyle() {
    auto* combo = WidgetAs<QComboBox>();
    if (!combo)
        return;
    {
        QSignalBlocker blocker(combo);
        combo->setEditable(IsEditable());
        if (QLineEdit* edit = combo->lineEdit()) {
            edit->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
            ConnectLineEdit(edit);
        }
    }
    InstallItemDrawDelegate(*this, combo, FDelegate);
    PushItems();
}

void TCustomComboBox::PushItems() {
    auto* combo = WidgetAs<QComboBox>();
    if (!combo)
        return;
    QSignalBlocker blocker(combo);
    SetViewItems(combo, *FItems);
    PushItemIndex();
}

void TCustomComboBox::PushItemIndex() {
    auto* combo = WidgetAs<QComboBox>();
    if (!combo)
        return;
    QSignalBlocker blocker(combo);
    combo->setCurrentIndex(FItemIndex);
    UpdateWidgetText();
    combo->update();
}

void TCustomComboBox::UpdateWidgetText() {
    auto* combo = WidgetAs<QComboBox>();
    QString text = ToQString(Text());
    if (combo->isEditable() && combo->currentText() != text) {
        QSignalBlocker blocker(combo);
        combo->setEditText(text);
    }
}

void TCustomComboBox::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* combo = WidgetAs<QComboBox>();
    QObject::connect(combo, &QComboBox::activated, combo,
                     [this](int Index) { EventBoundary(this, [&] { UserSelected(Index); }); });
}

// The combo box makes its line edit when it becomes editable; each one is
// connected once.
void TCustomComboBox::ConnectLineEdit(QLineEdit* Edit) {
    const char* connected = "zxConnected";
    if (Edit->property(connected).toBool())
        return;
    Edit->setProperty(connected, true);
    QObject::connect(Edit, &QLineEdit::textEdited, Edit, [this](const QString& Value) {
        EventBoundary(this, [&] { UserTyped(FromQString(Value)); });
    });
}

void TCustomComboBox::UserSelected(Integer Index) {
    if (Index < 0 || Index >= FItems->Count())
        return;
    FItemIndex = Index;
    TWinControl::SetText(FItems->Get(Index));
    Change();
    Select();
}

void TCustomComboBox::UserTyped(const AnsiString& Value) {
    FItemIndex = -1;
    TWinControl::SetText(Value);
    Change();
}

bool TCustomComboBox::WidgetEvent(QEvent* Event) {
    if (Event->type() == QEvent::Paint && IsOwnerDrawn()) {
        PaintClosedBox();
        return true;
    }
    return TWinControl::WidgetEvent(Event);
}

// The closed owner-drawn box: the style's frame and arrow, with the
// selected item drawn into the edit field.
void TCustomComboBox::PaintClosedBox() {
    auto* combo = WidgetAs<QComboBox>();
    QStylePainter painter(combo);
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = false;
    option.frame = true;
    option.subControls = QStyle::SC_All;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (FItemIndex < 0)
        return;
    QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                 QStyle::SC_ComboBoxEditField, combo);
    TRect rect = Bounds(field.x(), field.y(), field.width(), field.height());
    TOwnerDrawState state{odComboBoxEdit};
    if (combo->hasFocus())
        state = state + TOwnerDrawState{odSelected, odFocused};
    if (!PaintOwnerDrawnItem(*this, &painter, rect, FItemIndex, state)) {
        painter.setPen(ColorToQColor(Font()->Color()));
        painter.setFont(FontToQFont(*Font()));
        painter.drawText(field, Qt::AlignLeft | Qt::AlignVCenter, ToQString(Text()));
    }
}

void TComboBox::PublishedProperties(TPropertyBuilder<TComboBox>& P) {
    PublishComboProperties(P);
}

// ---------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomListBox(AOwner, std::make_unique<TControlStrings>([this] { ItemsChanged(); })) {}

TCustomListBox::TCustomListBox(TComponent* AOwner, std::unique_ptr<TControlStrings> AItems)
    : TWinControl(AOwner), FItems(std::move(AItems)), FCanvas(std::make_unique<TCanvas>()) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() {
    DetachItemDrawDelegate(FDelegate);
}

void TCustomListBox::DestroyHandle() {
    DetachItemDrawDelegate(FDelegate);
    TWinControl::DestroyHandle();
}

void TCustomListBox::ItemsChanged() {
    FSelected.resize(FItems->Count());
    if (!ComponentState().Contains(csLoading) && FItemIndex >= FItems->Count())
        FItemIndex = -1;
    PushItems();
}

void TCustomListBox::Loaded() {
    TWinControl::Loaded();
    FItemIndex = ItemIndexWithin(FItemIndex, *FItems);
    if (HandleAllocated())
        PushItems();
}

void TCustomListBox::SetItemIndex(Integer Value) {
    if (ComponentState().Contains(csLoading)) {
        FItemIndex = Value;
        return;
    }
    Value = ItemIndexWithin(Value, *FItems);
    if (FItemIndex == Value)
        return;
    FItemIndex = Value;
    PushSelection();
}

void TCustomListBox::SetMultiSelect(bool Value) {
    if (FMultiSelect == Value)
        return;
    FMultiSelect = Value;
    std::fill(FSelected.begin(), FSelected.end(), false);
    PushSelection();
}

bool TCustomListBox::Selected(Integer Index) const {
    if (Index < 0 || Index >= FItems->Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return FMultiSelect ? FSelected[Index] : Index == FItemIndex;
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
    if (Selected(Index) == Value)
        return;
    if (!FMultiSelect) {
        SetItemIndex(Value ? Index : -1);
        return;
    }
    FSelected[Index] = Value;
    PushSelection();
}

Integer TCustomListBox::SelCount() const {
    if (!FMultiSelect)
        return FItemIndex >= 0 ? 1 : 0;
    return static_cast<Integer>(std::count(FSelected.begin(), FSelected.end(), true));
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    PushStyle();
}

void TCustomListBox::SetItemHeight(Integer Value) {
    if (Value <= 0 || FItemHeight == Value)
        return;
    FItemHeight = Value;
    PushStyle();
}

bool TCustomListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    return CallDrawItemEvent(OnDrawItem, this, Index, Rect, State);
}

void TCustomListBox::MeasureItem(TWinControl* Control, Integer Index, Integer& Height) {
    if (OnMeasureItem)
        OnMeasureItem(Control, Index, Height);
}

QWidget* TCustomListBox::CreateWidget(QWidget* ParentWidget) {
    return new QListWidget(ParentWidget);
}

void TCustomListBox::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushStyle();
}

void TCustomListBox::PushStyle() {
    auto* list = WidgetAs<QListWidget>();
    if (!list)
        return;
    InstallItemDrawDelegate(*this, list, FDelegate);
    PushItems();
}

void TCustomListBox::PushItems() {
    auto* list = WidgetAs<QListWidget>();
    if (!list)
        return;
    {
        QSignalBlocker blocker(list);
        SetViewItems(list, *FItems);
        UpdateWidgetItems();
    }
    PushSelection();
}

void TCustomListBox::PushSelection() {
    auto* list = WidgetAs<QListWidget>();
    if (!list)
        return;
    QSignalBlocker blocker(list);
    QSignalBlocker selectionBlocker(list->selectionModel());
    list->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
    list->setCurrentRow(FItemIndex, QItemSelectionModel::NoUpdate);
    for (Integer index = 0; index < list->count(); ++index)
        list->item(index)->setSelected(Selected(index));
    list->viewport()->update();
}

// The user's choice: the current row and the selection are taken, and
// OnClick fires.
void TCustomListBox::WidgetSelectionChanged() {
    auto* list = WidgetAs<QListWidget>();
    Integer current = list->currentRow();
    FItemIndex = current < FItems->Count() ? current : -1;
    if (FMultiSelect)
        for (Integer index = 0; index < list->count() && index < FItems->Count(); ++index)
            FSelected[index] = list->item(index)->isSelected();
    Click();
}

void TCustomListBox::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* list = WidgetAs<QListWidget>();
    QObject::connect(list, &QListWidget::itemSelectionChanged, list,
                     [this] { EventBoundary(this, [this] { WidgetSelectionChanged(); }); });
}

void TListBox::PublishedProperties(TPropertyBuilder<TListBox>& P) {
    PublishListProperties(P);
    P.Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnDrawItem", &TCustomListBox::OnDrawItem);
    P.Property("OnMeasureItem", &TCustomListBox::OnMeasureItem);
}
