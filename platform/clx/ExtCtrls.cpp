#include "clx/ExtCtrls.h"
#include "clx/QtSupport.h"

#include <QtCore/QEvent>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QRadioButton>

namespace {


} // namespace

// ---------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csSetCaption, csClickEvents, csDoubleClicks});
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    if (FBevelInner == Value)
        return;
    FBevelInner = Value;
    PushFrame();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    if (FBevelOuter == Value)
        return;
    FBevelOuter = Value;
    PushFrame();
}

void TCustomPanel::SetBevelWidth(Integer Value) {
    if (Value < 1 || FBevelWidth == Value)
        return;
    FBevelWidth = Value;
    PushFrame();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    PushFrame();
}

QWidget* TCustomPanel::CreateWidget(QWidget* ParentWidget) {
    auto* label = new QLabel(ParentWidget);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void TCustomPanel::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushFrame();
}

void TCustomPanel::UpdateWidgetText() {
    WidgetAs<QLabel>()->setText(ToQString(Caption()));
}

void TCustomPanel::PushFrame() {
    auto* label = WidgetAs<QLabel>();
    if (!label)
        return;
    Qt::Alignment horizontal = FAlignment == taLeftJustify    ? Qt::AlignLeft
                               : FAlignment == taRightJustify ? Qt::AlignRight
                                                              : Qt::AlignHCenter;
    label->setAlignment(horizontal | Qt::AlignVCenter);
    Integer bevels = (FBevelOuter != bvNone ? 1 : 0) + (FBevelInner != bvNone ? 1 : 0);
    if (bevels == 0) {
        label->setFrameStyle(QFrame::NoFrame);
        return;
    }
    TBevelCut shadow = FBevelOuter != bvNone ? FBevelOuter : FBevelInner;
    label->setFrameStyle(QFrame::Panel | (shadow == bvRaised ? QFrame::Raised : QFrame::Sunken));
    label->setLineWidth(FBevelWidth * bevels);
}

void TPanel::PublishedProperties(TPropertyBuilder<TPanel>& P) {
    P.Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
        .Default(taCenter);
    P.Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
        .Default(bvNone);
    P.Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
        .Default(bvRaised);
    P.Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
}

// ---------------------------------------------------------------------------
// TCustomRadioGroup

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner),
      FItems(std::make_unique<TControlStrings>([this] { ItemsChanged(); })) {}

TCustomRadioGroup::~TCustomRadioGroup() = default;

void TCustomRadioGroup::SetItemIndex(Integer Value) {
    if (ComponentState().Contains(csLoading)) {
        FItemIndex = Value;
        return;
    }
    if (Value < 0 || Value >= FItems->Count())
        Value = -1;
    if (FItemIndex == Value)
        return;
    FItemIndex = Value;
    PushItemIndex();
    Click();
}

void TCustomRadioGroup::SetColumns(Integer Value) {
    Value = std::clamp(Value, 1, 16);
    if (FColumns == Value)
        return;
    FColumns = Value;
    PushButtons();
}

void TCustomRadioGroup::ItemsChanged() {
    if (!ComponentState().Contains(csLoading) && FItemIndex >= FItems->Count())
        FItemIndex = -1;
    PushButtons();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    if (FItemIndex < -1 || FItemIndex >= FItems->Count())
        FItemIndex = -1;
    PushItemIndex();
}

void TCustomRadioGroup::UpdateWidget() {
    TCustomGroupBox::UpdateWidget();
    PushButtons();
}

// The buttons are the group box's own widgets, made anew for every change
// of the items or columns.
void TCustomRadioGroup::PushButtons() {
    auto* box = WidgetAs<QGroupBox>();
    if (!box)
        return;
    delete box->layout();
    qDeleteAll(box->findChildren<QButtonGroup*>(Qt::FindDirectChildrenOnly));
    qDeleteAll(box->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly));
    auto* layout = new QGridLayout(box);
    auto* group = new QButtonGroup(box);
    Integer count = FItems->Count();
    Integer rows = (count + FColumns - 1) / FColumns;
    for (Integer index = 0; index < count; ++index) {
        auto* button = new QRadioButton(ToQString(FItems->Get(index)), box);
        group->addButton(button, index);
        layout->addWidget(button, index % std::max(rows, 1), index / std::max(rows, 1));
    }
    QObject::connect(group, &QButtonGroup::idClicked, box,
                     [this](int Index) { EventBoundary(this, [&] { SetItemIndex(Index); }); });
    PushItemIndex();
}

void TCustomRadioGroup::PushItemIndex() {
    auto* box = WidgetAs<QGroupBox>();
    if (!box)
        return;
    auto* group = box->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
    if (!group)
        return;
    // An exclusive group cannot show no button checked.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(group->id(button) == FItemIndex);
    group->setExclusive(true);
}

void TRadioGroup::PublishedProperties(TPropertyBuilder<TRadioGroup>& P) {
    P.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
    P.Property("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns).Default(1);
    P.Property("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems);
    P.Property("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex)
        .Default(-1);
}

// ---------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TControl(AOwner), FPicture(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::PublishedProperties(TPropertyBuilder<TImage>& P) {
    P.Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false);
    P.Property("Center", &TImage::Center, &TImage::SetCenter).Default(false);
    P.Property("Picture", &TImage::Picture, &TImage::SetPicture);
    P.Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
}

void TImage::SetStretch(bool Value) {
    if (FStretch == Value)
        return;
    FStretch = Value;
    PushPicture();
}

void TImage::SetCenter(bool Value) {
    if (FCenter == Value)
        return;
    FCenter = Value;
    PushPicture();
}

void TImage::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    PushPicture();
}

QWidget* TImage::CreateWidget(QWidget* ParentWidget) {
    return new QLabel(ParentWidget);
}

void TImage::UpdateWidget() {
    TControl::UpdateWidget();
    PushPicture();
}

void TImage::PushPicture() {
    auto* label = WidgetAs<QLabel>();
    if (!label)
        return;
    const auto* bitmap = dynamic_cast<const TBitmap*>(FPicture->Graphic());
    label->setPixmap(bitmap && !bitmap->Empty() ? QPixmap::fromImage(bitmap->Image()) : QPixmap());
    label->setScaledContents(FStretch);
    label->setAlignment(FCenter ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
}

// ---------------------------------------------------------------------------
// TSplitter

TSplitter::TSplitter(TComponent* AOwner) : TControl(AOwner) {
    SetControlStyle(TControlStyle{});
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
}

void TSplitter::PublishedProperties(TPropertyBuilder<TSplitter>& P) {
    P.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alLeft);
    P.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
    P.Property("OnMoved", &TSplitter::OnMoved);
}

TControl* TSplitter::FindControl() const {
    TWinControl* parent = Parent();
    if (!parent)
        return nullptr;
    for (Integer index = 0; index < parent->ControlCount(); ++index) {
        TControl* control = parent->Controls(index);
        if (control == this || !control->Visible() || control->Align() != Align())
            continue;
        bool touches = false;
        switch (Align()) {
        case alLeft:
            touches = control->Left() + control->Width() == Left();
            break;
        case alRight:
            touches = control->Left() == Left() + Width();
            break;
        case alTop:
            touches = control->Top() + control->Height() == Top();
            break;
        case alBottom:
            touches = control->Top() == Top() + Height();
            break;
        default:
            break;
        }
        if (touches)
            return control;
    }
    return nullptr;
}

Integer TSplitter::FreeSpace() const {
    TWinControl* parent = Parent();
    Integer space = Horizontal() ? parent->ClientHeight() : parent->ClientWidth();
    for (Integer index = 0; index < parent->ControlCount(); ++index) {
        TControl* control = parent->Controls(index);
        if (!control->Visible())
            continue;
        if (Horizontal() && (control->Align() == alTop || control->Align() == alBottom))
            space -= control->Height();
        else if (!Horizontal() && (control->Align() == alLeft || control->Align() == alRight))
            space -= control->Width();
    }
    return space;
}

QWidget* TSplitter::CreateWidget(QWidget* ParentWidget) {
    return new QWidget(ParentWidget);
}

void TSplitter::UpdateWidget() {
    TControl::UpdateWidget();
    if (Cursor() == crDefault)
        WidgetAs<QWidget>()->setCursor(Horizontal() ? Qt::SplitVCursor : Qt::SplitHCursor);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FDragged = FindControl();
    if (!FDragged)
        return;
    FDownAt = ParentPosition(X, Y);
    FStartSize = Horizontal() ? FDragged->Height() : FDragged->Width();
    FMaxSize = FStartSize + FreeSpace() - FMinSize;
}

void TSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TControl::MouseMove(Shift, X, Y);
    if (!FDragged)
        return;
    Integer delta = ParentPosition(X, Y) - FDownAt;
    if (Align() == alRight || Align() == alBottom)
        delta = -delta;
    Integer size = std::max(std::min(FStartSize + delta, FMaxSize), FMinSize);
    if (Horizontal())
        FDragged->SetHeight(size);
    else
        FDragged->SetWidth(size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TControl::MouseUp(Button, Shift, X, Y);
    if (!FDragged || Button != mbLeft)
        return;
    FDragged = nullptr;
    if (OnMoved)
        OnMoved(this);
}

// ---------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* AOwner) : TControl(AOwner) {
    SetControlStyle(TControlStyle{});
    SetBounds(0, 0, 50, 50);
}

void TBevel::PublishedProperties(TPropertyBuilder<TBevel>& P) {
    P.Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
    P.Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
}

void TBevel::SetShape(TBevelShape Value) {
    if (FShape == Value)
        return;
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    Invalidate();
}

QWidget* TBevel::CreateWidget(QWidget* ParentWidget) {
    return new QWidget(ParentWidget);
}

bool TBevel::WidgetEvent(QEvent* Event) {
    if (Event->type() == QEvent::Paint) {
        Paint();
        return true;
    }
    return TControl::WidgetEvent(Event);
}

void TBevel::Paint() {
    QPainter painter(WidgetAs<QWidget>());
    QColor first = ColorToQColor(FStyle == bsLowered ? clBtnShadow : clBtnHighlight);
    QColor second = ColorToQColor(FStyle == bsLowered ? clBtnHighlight : clBtnShadow);
    int right = Width() - 1;
    int bottom = Height() - 1;
    auto line = [&painter](const QColor& Color, int X1, int Y1, int X2, int Y2) {
        painter.setPen(Color);
        painter.drawLine(X1, Y1, X2, Y2);
    };
    switch (FShape) {
    case bsBox:
        line(first, 0, 0, right, 0);
        line(first, 0, 0, 0, bottom);
        line(second, 0, bottom, right, bottom);
        line(second, right, 0, right, bottom);
        break;
    case bsFrame:
        painter.setPen(first);
        painter.drawRect(0, 0, right - 1, bottom - 1);
        painter.setPen(second);
        painter.drawRect(1, 1, right - 1, bottom - 1);
        break;
    case bsTopLine:
        line(first, 0, 0, right, 0);
        line(second, 0, 1, right, 1);
        break;
    case bsBottomLine:
        line(first, 0, bottom - 1, right, bottom - 1);
        line(second, 0, bottom, right, bottom);
        break;
    case bsLeftLine:
        line(first, 0, 0, 0, bottom);
        line(second, 1, 0, 1, bottom);
        break;
    case bsRightLine:
        line(first, right - 1, 0, right - 1, bottom);
        line(second, right, 0, right, bottom);
        break;
    case bsSpacer:
        break;
    }
}
