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

QWidget* TEdit::CreateWidget(QWidget* ParentWidget) {
    return new QLineEdit(ParentWidget);
}

void TEdit::UpdateWidget() {
    TCustomEdit::UpdateWidget();
    UpdateWidgetEditing();
}

// Only a text that differs is pushed, so that writing back a user's edit
// leaves the cursor where it is. A text set by the program puts the cursor
// at its start, so a long text shows its beginning.
void TEdit::UpdateWidgetText() {
    auto* edit = WidgetAs<QLineEdit>();
    QString text = ToQString(Text());
    if (edit->text() == text)
        return;
    edit->setText(text);
    edit->setCursorPosition(0);
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

namespace {

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
