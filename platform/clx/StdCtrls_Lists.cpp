// The list controls: the strings that report each change, the base of list
// boxes and combo boxes, and their Qt views over the items' model.
#include "clx/ItemModel.h"
#include "clx/StdCtrls.h"
#include "clx/QtSupport.h"

#include <QtCore/QEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyledItemDelegate>
#include <QtWidgets/QStylePainter>
#include <QtWidgets/QTableView>

#include <algorithm>

// ---------------------------------------------------------------------------
// TControlStrings

TControlStrings::TControlStrings(std::function<void()> AChanged)
    : FObserver([Changed = std::move(AChanged)](const TStringsChange&, bool Done) {
          if (Done && Changed)
              Changed();
      }) {}

void TControlStrings::Put(Integer Index, const AnsiString& S) {
    AsChange({sckPut, Index}, [&] { TStringList::Put(Index, S); });
}

void TControlStrings::Delete(Integer Index) {
    AsChange({sckDelete, Index}, [&] { TStringList::Delete(Index); });
}

void TControlStrings::InsertItem(Integer Index, const AnsiString& S, TObject* AObject) {
    AsChange({sckInsert, Index}, [&] { TStringList::InsertItem(Index, S, AObject); });
}

// Outside a batch each change is told before and after; a batch is one
// reset, told as it begins (BeginUpdate's Changing) and ends.
void TControlStrings::Changing() {
    TStringList::Changing();
    if (FObserver && UpdateCount() == 0)
        FObserver(FChange, false);
}

void TControlStrings::Changed() {
    TStringList::Changed();
    if (FObserver && UpdateCount() == 0)
        FObserver(FChange, true);
}

// ---------------------------------------------------------------------------
// Owner drawing

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
bool PaintOwnerDrawnItem(TCustomListControl& List, QPainter* Painter, const TRect& Rect,
                         Integer Index, TOwnerDrawState State) {
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

// An item index that is outside Items becomes -1 (none).
Integer ItemIndexWithin(Integer Value, const TStrings& Items) {
    return Value >= 0 && Value < Items.Count() ? Value : -1;
}

// Where an index of the items goes when one item is inserted or deleted:
// it follows its item, and is -1 when its item goes.
Integer IndexAfter(Integer Value, const TStringsChange& Change) {
    if (Value < 0 || Value < Change.Index)
        return Value;
    if (Change.Kind == sckInsert)
        return Value + 1;
    if (Change.Kind == sckDelete)
        return Value == Change.Index ? -1 : Value - 1;
    return Value;
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomListControl

// The model's view of a list control: one column of rows, the items.
class TListControlSource : public TItemSource {
public:
    explicit TListControlSource(TCustomListControl& Control) : FControl(Control) {}

    Integer ItemCount(void* Parent) const override {
        return Parent ? 0 : FControl.Items()->Count();
    }
    QVariant ItemData(const QModelIndex& Index, int Role) const override {
        if (Index.row() >= FControl.Items()->Count())
            return {};
        return FControl.ItemData(Index.row(), Role);
    }
    bool SetItemData(const QModelIndex& Index, const QVariant& Value, int Role) override {
        if (Index.row() >= FControl.Items()->Count())
            return false;
        bool taken = false;
        EventBoundary(&FControl, [&] { taken = FControl.SetItemData(Index.row(), Value, Role); });
        return taken;
    }
    Qt::ItemFlags ItemFlags(const QModelIndex& Index) const override {
        return Qt::ItemFlags(FControl.ItemFlags(Index.row()));
    }

private:
    TCustomListControl& FControl;
};

TCustomListControl::TCustomListControl(TComponent* AOwner, const TItemsFactory& AItems)
    : TWinControl(AOwner),
      FItems(AItems([this](const TStringsChange& Change, bool Done) {
          ItemsObserved(Change, Done);
      })),
      FCanvas(std::make_unique<TCanvas>()), FSource(std::make_unique<TListControlSource>(*this)) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

TCustomListControl::~TCustomListControl() {
    if (FDelegate)
        FDelegate->Detach();
    if (FModel)
        FModel->Detach();
}

void TCustomListControl::DestroyHandle() {
    if (FDelegate)
        FDelegate->Detach();
    if (FModel)
        FModel->Detach();
    TWinControl::DestroyHandle();
}

TItemModel* TCustomListControl::ItemModel() const {
    return FModel.data();
}

TItemModel* TCustomListControl::NewItemModel(QObject* Parent) {
    FModel = new TItemModel(*FSource, Parent);
    return FModel.data();
}

void TCustomListControl::ItemsObserved(const TStringsChange& Change, bool Done) {
    if (Done)
        ItemsDone(Change);
    else
        ItemsChanging(Change);
}

void TCustomListControl::ItemsChanging(const TStringsChange& Change) {
    TItemModel* model = ItemModel();
    if (!model)
        return;
    switch (Change.Kind) {
    case sckInsert:
        model->BeginInsert(nullptr, Change.Index);
        break;
    case sckDelete:
        model->BeginRemove(nullptr, Change.Index);
        break;
    case sckReset:
        model->BeginReset();
        break;
    case sckPut:
        break;
    }
}

void TCustomListControl::ItemsDone(const TStringsChange& Change) {
    bool loading = ComponentState().Contains(csLoading);
    if (!loading)
        FItemIndex = Change.Kind == sckReset ? ItemIndexWithin(FItemIndex, *FItems)
                                             : IndexAfter(FItemIndex, Change);
    ItemsChanged(Change);
    if (TItemModel* model = ItemModel()) {
        switch (Change.Kind) {
        case sckInsert:
            model->EndInsert();
            break;
        case sckDelete:
            model->EndRemove();
            break;
        case sckReset:
            model->EndReset();
            break;
        case sckPut:
            model->ItemChanged(nullptr, Change.Index);
            break;
        }
        ItemsFollowed(Change);
    }
}

void TCustomListControl::ItemsChanged(const TStringsChange&) {}

void TCustomListControl::ItemsFollowed(const TStringsChange&) {
    PushItemIndex();
}

void TCustomListControl::Loaded() {
    TWinControl::Loaded();
    FItemIndex = ItemIndexWithin(FItemIndex, *FItems);
    if (HandleAllocated())
        PushItemIndex();
}

void TCustomListControl::SetItemIndex(Integer Value) {
    if (ComponentState().Contains(csLoading)) {
        FItemIndex = Value;
        return;
    }
    Value = ItemIndexWithin(Value, *FItems);
    if (FItemIndex == Value)
        return;
    FItemIndex = Value;
    if (HandleAllocated())
        PushItemIndex();
}

void TCustomListControl::SetItemHeight(Integer Value) {
    if (Value <= 0 || FItemHeight == Value)
        return;
    FItemHeight = Value;
    if (HandleAllocated())
        ItemHeightChanged();
}

bool TCustomListControl::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    if (!OnDrawItem)
        return false;
    bool handled = true;
    OnDrawItem(this, Index, Rect, State, handled);
    return handled;
}

void TCustomListControl::MeasureItem(TWinControl* Control, Integer Index, Integer& Height) {
    if (OnMeasureItem)
        OnMeasureItem(Control, Index, Height);
}

Integer TCustomListControl::ItemHeightOf(Integer Index) {
    Integer height = FItemHeight;
    if (HasVariableItemHeights())
        EventBoundary(this, [&] { MeasureItem(this, Index, height); });
    return height;
}

QVariant TCustomListControl::ItemData(Integer Index, int Role) const {
    if (Role == Qt::DisplayRole || Role == Qt::EditRole)
        return ToQString(FItems->Get(Index));
    return {};
}

bool TCustomListControl::SetItemData(Integer, const QVariant&, int) {
    return false;
}

Integer TCustomListControl::ItemFlags(Integer) const {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

// The delegate asks for the style at every item, so a list that stops being
// owner-drawn draws as usual again.
void TCustomListControl::PushOwnerDraw() {
    QAbstractItemView* view = ItemView();
    if (!view || !IsOwnerDrawn() || FDelegate)
        return;
    FDelegate = new TItemDrawDelegate(
        view,
        [this](QPainter* Painter, const TRect& Rect, Integer Index, TOwnerDrawState State) {
            return IsOwnerDrawn() && PaintOwnerDrawnItem(*this, Painter, Rect, Index, State);
        },
        [this](Integer Index) { return IsOwnerDrawn() ? ItemHeightOf(Index) : -1; });
    view->setItemDelegate(FDelegate);
}

// ---------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomListControl(AOwner, [](TControlStrings::TItemObserver Observer) {
          return std::make_unique<TControlStrings>(std::move(Observer));
      }) {
    SetBounds(0, 0, 145, 25);
}

// A combo box that picks from the list shows its item's text.
void TCustomComboBox::ItemsChanged(const TStringsChange&) {
    if (!ComponentState().Contains(csLoading) && !IsEditable())
        TWinControl::SetText(ItemIndex() >= 0 ? Items()->Get(ItemIndex()) : AnsiString());
}

void TCustomComboBox::SetItemIndex(Integer Value) {
    Integer before = ItemIndex();
    TCustomListControl::SetItemIndex(Value);
    if (!ComponentState().Contains(csLoading) && ItemIndex() != before)
        TWinControl::SetText(ItemIndex() >= 0 ? Items()->Get(ItemIndex()) : AnsiString());
}

// A text set from code selects the item that has it (none when none has);
// the styles that pick from the list take no other text.
void TCustomComboBox::SetText(const AnsiString& Value) {
    if (ComponentState().Contains(csLoading)) {
        TWinControl::SetText(Value);
        return;
    }
    Integer index = Items()->IndexOf(Value);
    StoreItemIndex(index);
    TWinControl::SetText(index >= 0 || IsEditable() ? Value : AnsiString());
    if (HandleAllocated())
        PushItemIndex();
}

void TCustomComboBox::Clear() {
    Items()->Clear();
    SetText(AnsiString());
}

void TCustomComboBox::Loaded() {
    TCustomListControl::Loaded();
    if (ItemIndex() >= 0 && (!IsEditable() || Text().empty()))
        TWinControl::SetText(Items()->Get(ItemIndex()));
    if (HandleAllocated())
        PushItemIndex();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
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
    combo->setModel(NewItemModel(combo));
    return combo;
}

QAbstractItemView* TCustomComboBox::ItemView() const {
    auto* combo = WidgetAs<QComboBox>();
    return combo ? combo->view() : nullptr;
}

void TCustomComboBox::UpdateWidget() {
    TCustomListControl::UpdateWidget();
    WidgetAs<QComboBox>()->setMaxVisibleItems(std::max(FDropDownCount, 1));
    PushStyle();
}

void TCustomComboBox::ItemHeightChanged() {
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
    PushOwnerDraw();
    PushItemIndex();
}

void TCustomComboBox::PushItemIndex() {
    auto* combo = WidgetAs<QComboBox>();
    if (!combo)
        return;
    QSignalBlocker blocker(combo);
    combo->setCurrentIndex(ItemIndex());
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
    TCustomListControl::ConnectWidget();
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
    if (Index < 0 || Index >= Items()->Count())
        return;
    StoreItemIndex(Index);
    TWinControl::SetText(Items()->Get(Index));
    Change();
    Select();
}

void TCustomComboBox::UserTyped(const AnsiString& Value) {
    StoreItemIndex(-1);
    TWinControl::SetText(Value);
    Change();
}

bool TCustomComboBox::WidgetEvent(QEvent* Event) {
    if (Event->type() == QEvent::Paint && IsOwnerDrawn()) {
        PaintClosedBox();
        return true;
    }
    return TCustomListControl::WidgetEvent(Event);
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
    if (ItemIndex() < 0)
        return;
    QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                 QStyle::SC_ComboBoxEditField, combo);
    TRect rect = Bounds(field.x(), field.y(), field.width(), field.height());
    TOwnerDrawState state{odComboBoxEdit};
    if (combo->hasFocus())
        state = state + TOwnerDrawState{odSelected, odFocused};
    if (!PaintOwnerDrawnItem(*this, &painter, rect, ItemIndex(), state)) {
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
    : TCustomListBox(AOwner, [](TControlStrings::TItemObserver Observer) {
          return std::make_unique<TControlStrings>(std::move(Observer));
      }) {}

TCustomListBox::TCustomListBox(TComponent* AOwner, const TItemsFactory& AItems)
    : TCustomListControl(AOwner, AItems) {
    SetBounds(0, 0, 121, 97);
}

// Selections follow their items through insertions and deletions, and stay
// by position when the list is reset.
// What the view does to its selection meanwhile is no choice of the user's.
void TCustomListBox::ItemsChanging(const TStringsChange& Change) {
    FSyncing = HandleAllocated();
    TCustomListControl::ItemsChanging(Change);
}

void TCustomListBox::ItemsChanged(const TStringsChange& Change) {
    if (Change.Kind == sckInsert || Change.Kind == sckDelete) {
        auto at = FSelected.begin() +
                  std::min<std::ptrdiff_t>(Change.Index, static_cast<std::ptrdiff_t>(FSelected.size()));
        if (Change.Kind == sckInsert)
            FSelected.insert(at, 0);
        else if (at != FSelected.end())
            FSelected.erase(at);
    }
    FSelected.resize(static_cast<std::size_t>(Items()->Count()));
}

// The view shifted its selection with the rows as the items did; after a
// reset it takes the whole selection again.
void TCustomListBox::ItemsFollowed(const TStringsChange& Change) {
    if (Change.Kind == sckReset) {
        PushRowHeights();
        PushSelection();
    } else {
        if (Change.Kind != sckDelete)
            PushRowHeight(Change.Index);
        PushItemIndex();
    }
    FSyncing = false;
}

void TCustomListBox::SetMultiSelect(bool Value) {
    if (FMultiSelect == Value)
        return;
    FMultiSelect = Value;
    std::fill(FSelected.begin(), FSelected.end(), 0);
    PushSelection();
}

bool TCustomListBox::Selected(Integer Index) const {
    if (Index < 0 || Index >= Items()->Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return FMultiSelect ? FSelected[Index] != 0 : Index == ItemIndex();
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
    if (Selected(Index) == Value)
        return;
    if (!FMultiSelect) {
        SetItemIndex(Value ? Index : -1);
        return;
    }
    FSelected[Index] = Value;
    auto* view = WidgetAs<QTableView>();
    if (!view)
        return;
    FSyncing = true;
    view->selectionModel()->select(ItemModel()->RowIndex(Index), Value
                                                                     ? QItemSelectionModel::Select
                                                                     : QItemSelectionModel::Deselect);
    FSyncing = false;
}

Integer TCustomListBox::SelCount() const {
    if (!FMultiSelect)
        return ItemIndex() >= 0 ? 1 : 0;
    return static_cast<Integer>(std::count(FSelected.begin(), FSelected.end(), 1));
}

void TCustomListBox::SelectAll() {
    if (!FMultiSelect)
        return;
    std::fill(FSelected.begin(), FSelected.end(), 1);
    PushSelection();
}

void TCustomListBox::InvertSelection() {
    if (!FMultiSelect)
        return;
    for (Byte& selected : FSelected)
        selected = !selected;
    PushSelection();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    if (HandleAllocated())
        ItemHeightChanged();
}

Integer TCustomListBox::TopIndex() const {
    auto* view = WidgetAs<QTableView>();
    if (!view)
        return FTopIndex;
    Integer row = view->rowAt(0);
    return row < 0 ? 0 : row;
}

void TCustomListBox::SetTopIndex(Integer Value) {
    FTopIndex = std::clamp(Value, 0, std::max(Items()->Count() - 1, 0));
    if (auto* view = WidgetAs<QTableView>())
        view->verticalScrollBar()->setValue(view->rowViewportPosition(FTopIndex) +
                                            view->verticalScrollBar()->value());
}

// Without a widget the items lie from TopIndex down, each as high as
// ItemHeightOf says.
Integer TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) const {
    Integer count = Items()->Count();
    Integer index = -1;
    if (auto* view = WidgetAs<QTableView>()) {
        QPoint at = view->viewport()->mapFrom(view, QPoint(Pos.X, Pos.Y));
        if (view->viewport()->rect().contains(at))
            index = view->rowAt(at.y());
    } else if (Pos.Y >= 0 && Pos.X >= 0 && Pos.X < Width()) {
        auto& self = const_cast<TCustomListBox&>(*this);
        Integer top = 0;
        for (Integer row = TopIndex(); row < count; ++row) {
            top += self.ItemHeightOf(row);
            if (Pos.Y < top) {
                index = row;
                break;
            }
        }
    }
    if (index >= 0 && index < count)
        return index;
    return Existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(Integer Index) const {
    if (auto* view = WidgetAs<QTableView>()) {
        QRect rect = view->visualRect(ItemModel()->RowIndex(Index));
        QPoint corner = view->viewport()->mapTo(view, rect.topLeft());
        return Bounds(corner.x(), corner.y(), rect.width(), rect.height());
    }
    auto& self = const_cast<TCustomListBox&>(*this);
    Integer top = 0;
    for (Integer row = TopIndex(); row < Index; ++row)
        top += self.ItemHeightOf(row);
    return Bounds(0, top, ClientWidth(), self.ItemHeightOf(Index));
}

QWidget* TCustomListBox::CreateWidget(QWidget* ParentWidget) {
    QTableView* view = NewListView(ParentWidget, false);
    view->setModel(NewItemModel(view));
    return view;
}

QAbstractItemView* TCustomListBox::ItemView() const {
    return WidgetAs<QTableView>();
}

void TCustomListBox::UpdateWidget() {
    TCustomListControl::UpdateWidget();
    ItemHeightChanged();
    PushSelection();
}

// Fixed heights are the rows' default; variable heights are asked for each
// row once, and again when its item changes.
void TCustomListBox::ItemHeightChanged() {
    auto* view = WidgetAs<QTableView>();
    PushOwnerDraw();
    QHeaderView* rows = view->verticalHeader();
    Integer fixed = IsOwnerDrawn() ? ItemHeight() : QFontMetrics(view->font()).height() + 2;
    rows->setDefaultSectionSize(fixed);
    PushRowHeights();
}

void TCustomListBox::PushRowHeights() {
    if (!HasVariableItemHeights())
        return;
    for (Integer index = 0; index < Items()->Count(); ++index)
        PushRowHeight(index);
}

void TCustomListBox::PushRowHeight(Integer Index) {
    if (HasVariableItemHeights())
        WidgetAs<QTableView>()->verticalHeader()->resizeSection(Index, ItemHeightOf(Index));
}

void TCustomListBox::PushItemIndex() {
    auto* view = WidgetAs<QTableView>();
    if (!view)
        return;
    FSyncing = true;
    QItemSelectionModel* selection = view->selectionModel();
    QModelIndex current = ItemModel()->RowIndex(ItemIndex());
    if (FMultiSelect) {
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    } else if (current.isValid()) {
        selection->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    } else {
        selection->clear();
    }
    FSyncing = false;
}

// The whole selection, as ranges of selected rows.
void TCustomListBox::PushSelection() {
    auto* view = WidgetAs<QTableView>();
    if (!view)
        return;
    view->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
    if (!FMultiSelect) {
        PushItemIndex();
        return;
    }
    FSyncing = true;
    QItemSelection ranges;
    TItemModel* model = ItemModel();
    for (Integer first = 0; first < Items()->Count(); ++first) {
        if (!FSelected[first])
            continue;
        Integer last = first;
        while (last + 1 < Items()->Count() && FSelected[last + 1])
            ++last;
        ranges.select(model->RowIndex(first), model->RowIndex(last));
        first = last;
    }
    view->selectionModel()->select(ranges, QItemSelectionModel::ClearAndSelect);
    view->selectionModel()->setCurrentIndex(model->RowIndex(ItemIndex()),
                                            QItemSelectionModel::NoUpdate);
    FSyncing = false;
}

// The user's choice: the current row and the rows whose selection changed
// are taken, and OnClick fires.
void TCustomListBox::WidgetSelectionChanged() {
    auto* view = WidgetAs<QTableView>();
    Integer current = view->selectionModel()->currentIndex().row();
    StoreItemIndex(current < Items()->Count() ? current : -1);
    Click();
}

void TCustomListBox::ConnectWidget() {
    TCustomListControl::ConnectWidget();
    auto* view = WidgetAs<QTableView>();
    QItemSelectionModel* selection = view->selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, view,
                     [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
                         if (FSyncing)
                             return;
                         EventBoundary(this, [&] {
                             for (const QModelIndex& index : Selected.indexes())
                                 if (index.row() < static_cast<int>(FSelected.size()))
                                     FSelected[index.row()] = 1;
                             for (const QModelIndex& index : Deselected.indexes())
                                 if (index.row() < static_cast<int>(FSelected.size()))
                                     FSelected[index.row()] = 0;
                             WidgetSelectionChanged();
                         });
                     });
}

void TListBox::PublishedProperties(TPropertyBuilder<TListBox>& P) {
    PublishListProperties(P);
    P.Property("DragMode", &TControl::DragMode, &TControl::SetDragMode).Default(dmManual);
    P.Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnDragDrop", &TControl::OnDragDrop);
    P.Property("OnDragOver", &TControl::OnDragOver);
    P.Property("OnDrawItem", &TCustomListControl::OnDrawItem);
    P.Property("OnMeasureItem", &TCustomListControl::OnMeasureItem);
}
