#include "clx/Buttons.h"

#include <QtGui/QPixmap>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>

namespace {

// The glyph as the button's icon, at the glyph's size.
void ShowGlyph(QAbstractButton* Button, const TBitmap& Glyph) {
    if (Glyph.Empty()) {
        Button->setIcon(QIcon());
        return;
    }
    Button->setIcon(QIcon(QPixmap::fromImage(Glyph.Image())));
    Button->setIconSize(QSize(Glyph.Width(), Glyph.Height()));
}

} // namespace

// ---------------------------------------------------------------------------
// TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = [this](TObject*) { PushGlyph(); };
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::PublishedProperties(TPropertyBuilder<TBitBtn>& P) {
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption)
        .TypeName("TCaption")
        .Stored(&TBitBtn::IsCustomCaption);
    P.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
        .TypeName("TModalResult")
        .Default(mrNone)
        .Stored(&TBitBtn::IsCustomModalResult);
    P.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
    P.Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
    P.Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
}

AnsiString TBitBtn::KindCaption(TBitBtnKind Kind) {
    static const char* const Captions[] = {"",       "OK",    "Cancel", "&Help",   "&Yes", "&No",
                                           "&Close", "Abort", "&Retry", "&Ignore", "&All"};
    return Captions[Kind];
}

TModalResult TBitBtn::KindModalResult(TBitBtnKind Kind) {
    static const TModalResult Results[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                           mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
    return Results[Kind];
}

// While a form file is read, Caption comes first: a kind then gives its
// caption only to a button that has none.
void TBitBtn::SetKind(TBitBtnKind Value) {
    if (FKind == Value)
        return;
    FKind = Value;
    if (Value == bkCustom)
        return;
    bool loading = ComponentState().Contains(csLoading);
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel || Value == bkNo);
    if (!loading || Caption().empty())
        SetCaption(KindCaption(Value));
    if (!loading || ModalResult() == mrNone)
        SetModalResult(KindModalResult(Value));
}

bool TBitBtn::IsCustomCaption() const {
    return FKind == bkCustom || Caption() != KindCaption(FKind);
}

bool TBitBtn::IsCustomModalResult() const {
    return FKind == bkCustom || ModalResult() != KindModalResult(FKind);
}

void TBitBtn::SetLayout(TButtonLayout Value) {
    if (FLayout == Value)
        return;
    FLayout = Value;
    PushGlyph();
}

void TBitBtn::UpdateWidget() {
    TButton::UpdateWidget();
    PushGlyph();
}

void TBitBtn::PushGlyph() {
    auto* button = WidgetAs<QPushButton>();
    if (!button)
        return;
    ShowGlyph(button, *FGlyph);
    bool after = FLayout == blGlyphRight || FLayout == blGlyphBottom;
    button->setLayoutDirection(after ? Qt::RightToLeft : Qt::LeftToRight);
}

// ---------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetBounds(0, 0, 23, 22);
    FGlyph->OnChange = [this](TObject*) { PushGlyph(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::PublishedProperties(TPropertyBuilder<TSpeedButton>& P) {
    P.Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
        .Default(false);
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    // Before Down: only a grouped button can be down.
    P.Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
    P.Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
    P.Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
    P.Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
}

// Only a grouped button stays down; going down releases the group.
void TSpeedButton::SetDown(bool Value) {
    if (FGroupIndex == 0)
        Value = false;
    if (FDown == Value)
        return;
    FDown = Value;
    PushState();
    if (!Value || !Parent())
        return;
    for (Integer index = 0; index < Parent()->ControlCount(); ++index)
        if (auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(index));
            other && other != this && other->FGroupIndex == FGroupIndex)
            other->SetDown(false);
}

void TSpeedButton::SetGroupIndex(Integer Value) {
    if (FGroupIndex == Value)
        return;
    FGroupIndex = Value;
    if (Value == 0)
        FDown = false;
    PushState();
}

void TSpeedButton::SetFlat(bool Value) {
    if (FFlat == Value)
        return;
    FFlat = Value;
    PushState();
}

void TSpeedButton::Click() {
    if (FGroupIndex != 0) {
        if (!FDown)
            SetDown(true);
        else if (FAllowAllUp)
            SetDown(false);
    }
    TControl::Click();
}

QWidget* TSpeedButton::CreateWidget(QWidget* ParentWidget) {
    auto* button = new QToolButton(ParentWidget);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

void TSpeedButton::UpdateWidget() {
    TControl::UpdateWidget();
    PushState();
    PushGlyph();
}

void TSpeedButton::UpdateWidgetText() {
    WidgetAs<QToolButton>()->setText(QString::fromStdString(Caption()));
}

void TSpeedButton::PushState() {
    auto* button = WidgetAs<QToolButton>();
    if (!button)
        return;
    button->setAutoRaise(FFlat);
    button->setCheckable(FGroupIndex != 0);
    button->setChecked(FDown);
}

void TSpeedButton::PushGlyph() {
    auto* button = WidgetAs<QToolButton>();
    if (!button)
        return;
    ShowGlyph(button, *FGlyph);
}

// The tool button toggles itself; the component decides and shows the state.
void TSpeedButton::ConnectWidget() {
    TControl::ConnectWidget();
    auto* button = WidgetAs<QToolButton>();
    QObject::connect(button, &QToolButton::clicked, button, [this] {
        EventBoundary(this, [this] {
            Click();
            PushState();
        });
    });
}
