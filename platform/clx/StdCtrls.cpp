#include "clx/StdCtrls.h"

#include "clx/Forms.h"

#include <QtCore/QTimer>
#include <QtGui/QFocusEvent>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QShortcut>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

namespace {

QString ToQString(const AnsiString& S) {
    return QString::fromStdString(S);
}

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
    if (FFocusControl == Value)
        return;
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
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
    bool buddy = FFocusControl && FFocusControl->HandleAllocated();
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
    auto* label = WidgetAs<QLabel>();
    if (!label)
        return;
    label->setBuddy(FFocusControl && FFocusControl->HandleAllocated() ? FFocusControl->Handle()
                                                                      : nullptr);
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
        EventBoundary(this, [&] { TextEdited(Value.toStdString()); });
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
