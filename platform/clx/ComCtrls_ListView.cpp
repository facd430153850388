// The list view: columns, items and their view, a table shown as a list
// over a model whose rows are the items in order (row i is Items[i]).
//
// "Items.Data", version 1: the version (1), the item count, then per item
// its image index, a flags byte (bit 0: checked, bit 1: a state index
// follows), the state index when flagged, its caption, the count of its
// sub-items and the sub-items.
#include "clx/ComCtrls_Items.h"
#include "clx/ImgList.h"
#include "clx/ItemModel.h"
#include "clx/QtSupport.h"

#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTableView>

#include <algorithm>

namespace {

constexpr Integer ListDataVersion = 1;
constexpr Byte CheckedFlag = 1;
constexpr Byte StateIndexFlag = 2;
// Image index, flags, caption length, sub-item count.
constexpr Integer MinItemRecordSize = 4 + 1 + 4 + 4;
constexpr Integer MinTextSize = 4;

struct TListItemImage {
    AnsiString Caption;
    Integer ImageIndex = 0;
    Integer StateIndex = -1;
    bool Checked = false;
    std::vector<AnsiString> SubItems;
};

Qt::Alignment QtAlignment(TAlignment Alignment) {
    Qt::Alignment horizontal = Alignment == taRightJustify ? Qt::AlignRight
                               : Alignment == taCenter     ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

} // namespace

// ---------------------------------------------------------------------------
// TListColumn

void TListColumn::PublishedProperties(TPropertyBuilder<TListColumn>& P) {
    P.Property("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment)
        .Default(taLeftJustify);
    P.Property("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize).Default(false);
    P.Property("Caption", &TListColumn::Caption, &TListColumn::SetCaption).TypeName("TCaption");
    P.Property("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
}

void TListColumn::Assign(const TPersistent* Source) {
    const auto* column = dynamic_cast<const TListColumn*>(Source);
    if (!column) {
        TCollectionItem::Assign(Source);
        return;
    }
    FCaption = column->FCaption;
    FWidth = column->FWidth;
    FAlignment = column->FAlignment;
    FAutoSize = column->FAutoSize;
    Changed(false);
}

void TListColumn::SetCaption(const AnsiString& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    Changed(false);
}

void TListColumn::SetWidth(Integer Value) {
    if (FWidth == Value)
        return;
    FWidth = Value;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Changed(false);
}

void TListColumn::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    Changed(false);
}

AnsiString TListColumn::GetDisplayName() const {
    return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption;
}

TListColumns::TListColumns(TListView* AListView)
    : TOwnedCollection(AListView, TListColumn::StaticClass()), FListView(AListView) {}

void TListColumns::Update(TCollectionItem*) {
    FListView->ColumnsChanged();
}

// ---------------------------------------------------------------------------
// TListItem

TListItem::TListItem(TListItems* AOwner)
    : FOwner(AOwner), FSubItems(std::make_unique<TStringList>()) {
    FSubItems->OnChange = [this](TObject*) { Changed(ctText); };
}

TListItem::~TListItem() {
    if (FOwner)
        FOwner->RemoveItem(this);
}

void TListItem::Assign(const TPersistent* Source) {
    const auto* item = dynamic_cast<const TListItem*>(Source);
    if (!item) {
        TPersistent::Assign(Source);
        return;
    }
    FCaption = item->FCaption;
    FImageIndex = item->FImageIndex;
    FStateIndex = item->FStateIndex;
    FChecked = item->FChecked;
    FData = item->FData;
    FSubItems->Assign(item->FSubItems.get());
    Changed(ctText);
}

TListView* TListItem::ListView() const {
    return FOwner ? FOwner->Owner() : nullptr;
}

Integer TListItem::Index() const {
    if (!FOwner)
        return -1;
    const std::vector<TListItem*>& items = FOwner->FItems;
    if (FIndexHint < static_cast<Integer>(items.size()) &&
        items[static_cast<std::size_t>(FIndexHint)] == this)
        return FIndexHint;
    FIndexHint = FOwner->IndexOf(this);
    return FIndexHint;
}

void TListItem::Delete() {
    delete this;
}

void TListItem::SetCaption(const AnsiString& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    Changed(ctText, 0);
}

void TListItem::SetImageIndex(Integer Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    Changed(ctImage, 0);
}

void TListItem::SetStateIndex(Integer Value) {
    if (FStateIndex == Value)
        return;
    FStateIndex = Value;
    Changed(ctImage, 0);
}

bool TListItem::Focused() const {
    TListView* listView = ListView();
    return listView && listView->ItemFocused() == this;
}

void TListItem::SetFocused(bool Value) {
    TListView* listView = ListView();
    if (!listView)
        return;
    if (Value)
        listView->SetItemFocused(this);
    else if (listView->ItemFocused() == this)
        listView->SetItemFocused(nullptr);
}

void TListItem::SetChecked(bool Value) {
    if (FChecked == Value)
        return;
    FChecked = Value;
    Changed(ctState);
}

void TListItem::SetSelected(bool Value) {
    if (FSelected == Value)
        return;
    TListView* listView = ListView();
    if (Value && listView && !listView->MultiSelect())
        for (TListItem* other : FOwner->FItems)
            if (other != this)
                other->SetSelected(false);
    FSelected = Value;
    if (listView)
        listView->PushItemSelection(this);
    Changed(ctState);
    if (listView && !listView->ComponentState().Contains(csLoading))
        listView->SelectItem(this, Value);
}

void TListItem::Changed(TItemChange Change, Integer Column) {
    if (TListView* listView = ListView())
        listView->ItemChanged(this, Change, Column);
}

// ---------------------------------------------------------------------------
// TListItems

TListItems::~TListItems() {
    for (TListItem* item : FItems) {
        item->FOwner = nullptr;
        delete item;
    }
}

TPersistent* TListItems::GetOwner() const {
    return FOwner;
}

void TListItems::Assign(const TPersistent* Source) {
    const auto* items = dynamic_cast<const TListItems*>(Source);
    if (!items) {
        TPersistent::Assign(Source);
        return;
    }
    if (items == this)
        return;
    TItemsUpdate update(*this);
    Clear();
    for (const TListItem* item : items->FItems)
        Add()->Assign(item);
}

void TListItems::DefineProperties(TFiler* Filer) {
    DefineItemDataProperty(Filer, *this);
}

void TListItems::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
}

TListItem* TListItems::Item(Integer Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(Integer Index) {
    if (Index != Count())
        CheckIndex(Index);
    auto* item = new TListItem(this);
    item->FIndexHint = Index;
    if (FOwner)
        FOwner->ItemInserting(Index);
    FItems.insert(FItems.begin() + Index, item);
    if (FOwner)
        FOwner->ItemInserted();
    return item;
}

void TListItems::Delete(Integer Index) {
    TListItem* item = Item(Index);
    item->FIndexHint = Index;
    delete item;
}

void TListItems::Clear() {
    if (FItems.empty())
        return;
    TItemsUpdate update(*this);
    while (!FItems.empty())
        delete FItems.back();
}

Integer TListItems::IndexOf(const TListItem* Value) const {
    auto found = std::find(FItems.begin(), FItems.end(), Value);
    return found == FItems.end() ? -1 : static_cast<Integer>(found - FItems.begin());
}

void TListItems::BeginUpdate() {
    if (FUpdateCount++ == 0 && FOwner)
        FOwner->ItemsUpdating();
}

void TListItems::EndUpdate() {
    if (--FUpdateCount == 0 && FOwner)
        FOwner->ItemsUpdated();
}

void TListItems::RemoveItem(TListItem* Item) {
    Integer index = Item->Index();
    if (FOwner)
        FOwner->ItemRemoving(Item, index);
    FItems.erase(FItems.begin() + index);
    if (FOwner)
        FOwner->ItemRemoved();
}

void TListItems::WriteData(TStream& Stream) const {
    TItemDataWriter writer(Stream);
    writer.WriteInteger(ListDataVersion);
    writer.WriteInteger(Count());
    for (const TListItem* item : FItems) {
        writer.WriteInteger(item->FImageIndex);
        Byte flags = (item->FChecked ? CheckedFlag : 0) | (item->FStateIndex != -1 ? StateIndexFlag : 0);
        writer.WriteByte(flags);
        if (flags & StateIndexFlag)
            writer.WriteInteger(item->FStateIndex);
        writer.WriteText(item->FCaption);
        writer.WriteInteger(item->FSubItems->Count());
        for (Integer index = 0; index < item->FSubItems->Count(); ++index)
            writer.WriteText((*item->FSubItems)[index]);
    }
}

// The whole value is read before the items change, so that bad data leaves
// them as they were.
void TListItems::ReadData(TStream& Stream) {
    TItemDataReader reader(Stream, "list item");
    if (reader.ReadInteger() != ListDataVersion)
        reader.Error();
    std::vector<TListItemImage> images(
        static_cast<std::size_t>(reader.ReadCount(MinItemRecordSize)));
    for (TListItemImage& image : images) {
        image.ImageIndex = reader.ReadInteger();
        Byte flags = reader.ReadByte();
        if (flags & ~(CheckedFlag | StateIndexFlag))
            reader.Error();
        image.Checked = flags & CheckedFlag;
        if (flags & StateIndexFlag)
            image.StateIndex = reader.ReadInteger();
        image.Caption = reader.ReadText();
        image.SubItems.resize(static_cast<std::size_t>(reader.ReadCount(MinTextSize)));
        for (AnsiString& subItem : image.SubItems)
            subItem = reader.ReadText();
    }
    reader.CheckEnd();
    TItemsUpdate update(*this);
    Clear();
    for (const TListItemImage& image : images) {
        TListItem* item = Add();
        item->FCaption = image.Caption;
        item->FImageIndex = image.ImageIndex;
        item->FStateIndex = image.StateIndex;
        item->FChecked = image.Checked;
        item->FSubItems->BeginUpdate();
        for (const AnsiString& subItem : image.SubItems)
            item->FSubItems->Add(subItem);
        item->FSubItems->EndUpdate();
    }
}

// ---------------------------------------------------------------------------
// The model's view of a list view: a row per item, a column per list column
// in the report style (one column in the others).

class TListViewSource : public TItemSource {
public:
    explicit TListViewSource(TListView& ListView) : FListView(ListView) {}

    Integer ItemCount(void* Parent) const override {
        return Parent ? 0 : FListView.Items()->Count();
    }
    Integer ColumnCount() const override {
        return FListView.ViewStyle() == vsReport ? std::max(FListView.Columns()->Count(), 1) : 1;
    }
    QVariant ItemData(const QModelIndex& Index, int Role) const override {
        if (Index.row() >= FListView.Items()->Count())
            return {};
        TListItem* item = FListView.Items()->Item(Index.row());
        Integer column = Index.column();
        switch (Role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (column == 0)
                return ToQString(item->Caption());
            if (column - 1 < item->SubItems()->Count())
                return ToQString((*item->SubItems())[column - 1]);
            return {};
        case Qt::DecorationRole:
            if (column != 0)
                return {};
            return ItemImage(FListView.SmallImages(), item->ImageIndex(), FListView.StateImages(),
                             item->StateIndex());
        case Qt::CheckStateRole:
            if (column != 0 || !FListView.Checkboxes())
                return {};
            return item->Checked() ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            if (column < FListView.Columns()->Count())
                return int(QtAlignment(FListView.Columns()->Items(column)->Alignment()));
            return {};
        default:
            return {};
        }
    }
    // The user edited a caption or clicked a check box.
    bool SetItemData(const QModelIndex& Index, const QVariant& Value, int Role) override {
        if (Index.column() != 0 || Index.row() >= FListView.Items()->Count())
            return false;
        TListItem* item = FListView.Items()->Item(Index.row());
        EventBoundary(&FListView, [&] {
            if (Role == Qt::EditRole)
                item->SetCaption(FromQString(Value.toString()));
            else if (Role == Qt::CheckStateRole)
                item->SetChecked(Value.toInt() == Qt::Checked);
        });
        return Role == Qt::EditRole || Role == Qt::CheckStateRole;
    }
    Qt::ItemFlags ItemFlags(const QModelIndex& Index) const override {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (Index.column() == 0 && !FListView.ReadOnly())
            flags |= Qt::ItemIsEditable;
        if (Index.column() == 0 && FListView.Checkboxes())
            flags |= Qt::ItemIsUserCheckable;
        return flags;
    }
    QVariant HeaderData(Integer Section, int Role) const override {
        if (FListView.ViewStyle() != vsReport || Section >= FListView.Columns()->Count())
            return {};
        TListColumn* column = FListView.Columns()->Items(Section);
        if (Role == Qt::DisplayRole)
            return ToQString(column->Caption());
        if (Role == Qt::TextAlignmentRole)
            return int(QtAlignment(column->Alignment()));
        return {};
    }

private:
    TListView& FListView;
};

// ---------------------------------------------------------------------------
// TListView

TListView::TListView(TComponent* AOwner)
    : TWinControl(AOwner), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)), FSource(std::make_unique<TListViewSource>(*this)) {
    // The widget reports clicks on its rows itself.
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView() {
    if (FModel)
        FModel->Detach();
}

void TListView::DestroyHandle() {
    if (FModel)
        FModel->Detach();
    TWinControl::DestroyHandle();
}

void TListView::PublishedProperties(TPropertyBuilder<TListView>& P) {
    P.Property("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes).Default(false);
    P.Property("Color", &TControl::Color, &TControl::SetColor).TypeName("TColor").Default(clWindow);
    P.Property("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick).Default(true);
    P.Property("Columns", &TListView::Columns, &TListView::SetColumns);
    P.Property("Items", &TListView::Items, &TListView::SetItems);
    P.Property("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect).Default(false);
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly).Default(false);
    P.Property("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect).Default(false);
    P.Property("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages);
    P.Property("StateImages", &TListView::StateImages, &TListView::SetStateImages);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle).Default(vsIcon);
    P.Property("OnChange", &TListView::OnChange);
    P.Property("OnColumnClick", &TListView::OnColumnClick);
    P.Property("OnSelectItem", &TListView::OnSelectItem);
}

void TListView::SetViewStyle(TViewStyle Value) {
    if (FViewStyle == Value)
        return;
    FViewStyle = Value;
    ColumnsChanged();
}

void TListView::SetReadOnly(bool Value) {
    if (FReadOnly == Value)
        return;
    FReadOnly = Value;
    PushStyle();
}

void TListView::SetRowSelect(bool Value) {
    if (FRowSelect == Value)
        return;
    FRowSelect = Value;
    PushStyle();
}

void TListView::SetColumnClick(bool Value) {
    if (FColumnClick == Value)
        return;
    FColumnClick = Value;
    PushStyle();
}

void TListView::SetMultiSelect(bool Value) {
    if (FMultiSelect == Value)
        return;
    FMultiSelect = Value;
    PushStyle();
}

void TListView::SetCheckboxes(bool Value) {
    if (FCheckboxes == Value)
        return;
    FCheckboxes = Value;
    ImagesChanged();
}

void TListView::SetSmallImages(TCustomImageList* Value) {
    if (ReplaceComponentReference<TCustomImageList>(this, FSmallImages, Value))
        ImagesChanged();
}

void TListView::SetStateImages(TCustomImageList* Value) {
    if (ReplaceComponentReference<TCustomImageList>(this, FStateImages, Value))
        ImagesChanged();
}

void TListView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && ForgetImageLists(AComponent, {&FSmallImages, &FStateImages}))
        ImagesChanged();
}

void TListView::ImagesChanged() {
    if (FModel)
        FModel->Reset();
    PushSelection();
}

TListItem* TListView::Selected() const {
    for (TListItem* item : FItems->FItems)
        if (item->FSelected)
            return item;
    return nullptr;
}

void TListView::SetSelected(TListItem* Value) {
    if (Value && Value->FOwner != FItems.get())
        throw EInvalidOperation(Format("The item is not an item of %s", {Name()}));
    for (TListItem* item : FItems->FItems)
        if (item != Value)
            item->SetSelected(false);
    if (Value)
        Value->SetSelected(true);
}

Integer TListView::SelCount() const {
    return static_cast<Integer>(
        std::count_if(FItems->FItems.begin(), FItems->FItems.end(),
                      [](const TListItem* item) { return item->FSelected; }));
}

void TListView::SetItemFocused(TListItem* Value) {
    if (Value && Value->FOwner != FItems.get())
        throw EInvalidOperation(Format("The item is not an item of %s", {Name()}));
    FItemFocused = Value;
    auto* view = WidgetAs<QTableView>();
    if (!view)
        return;
    FSyncing = true;
    view->selectionModel()->setCurrentIndex(FModel->RowIndex(Value ? Value->Index() : -1),
                                            QItemSelectionModel::NoUpdate);
    FSyncing = false;
}

void TListView::SelectAll() {
    if (!FMultiSelect)
        return;
    for (TListItem* item : FItems->FItems)
        item->SetSelected(true);
}

void TListView::InvertSelection() {
    if (!FMultiSelect)
        return;
    for (TListItem* item : FItems->FItems)
        item->SetSelected(!item->FSelected);
}

void TListView::AlphaSort() {
    SortBy([](TListItem* Item1, TListItem* Item2,
              Integer) { return AnsiCompareText(Item1->Caption(), Item2->Caption()); },
           0);
}

void TListView::CustomSort(const TLVCompare& Compare, Integer Data) {
    SortBy(Compare, Data);
}

void TListView::SortBy(const TLVCompare& Compare, Integer Data) {
    TItemsUpdate update(*FItems);
    std::stable_sort(FItems->FItems.begin(), FItems->FItems.end(),
                     [&](TListItem* Item1, TListItem* Item2) {
                         return Compare(Item1, Item2, Data) < 0;
                     });
}

TListItem* TListView::GetItemAt(Integer X, Integer Y) const {
    auto* view = WidgetAs<QTableView>();
    if (!view)
        return nullptr;
    QModelIndex index = view->indexAt(view->viewport()->mapFrom(view, QPoint(X, Y)));
    return index.isValid() && index.row() < FItems->Count() ? FItems->Item(index.row()) : nullptr;
}

void TListView::Change(TListItem* Item, TItemChange Change) {
    if (OnChange)
        OnChange(this, Item, Change);
}

void TListView::SelectItem(TListItem* Item, bool Selected) {
    if (OnSelectItem)
        OnSelectItem(this, Item, Selected);
}

void TListView::ColClick(TListColumn* Column) {
    if (OnColumnClick)
        OnColumnClick(this, Column);
}

void TListView::ItemChanged(TListItem* Item, TItemChange Change, Integer Column) {
    if (FModel && !FItems->Updating())
        FModel->ItemChanged(nullptr, Item->Index(), Column);
    if (!ComponentState().Contains(csLoading))
        this->Change(Item, Change);
}

void TListView::ItemInserting(Integer Index) {
    FSyncing = true;
    if (FModel)
        FModel->BeginInsert(nullptr, Index);
}

void TListView::ItemInserted() {
    if (FModel)
        FModel->EndInsert();
    FSyncing = false;
}

void TListView::ItemRemoving(TListItem* Item, Integer Index) {
    if (FItemFocused == Item)
        FItemFocused = nullptr;
    FSyncing = true;
    if (FModel)
        FModel->BeginRemove(nullptr, Index);
}

void TListView::ItemRemoved() {
    if (FModel)
        FModel->EndRemove();
    FSyncing = false;
}

void TListView::ItemsUpdating() {
    if (FModel)
        FModel->BeginReset();
}

void TListView::ItemsUpdated() {
    if (FModel)
        FModel->EndReset();
    PushSelection();
}

void TListView::ColumnsChanged() {
    if (FModel)
        FModel->Reset();
    PushStyle();
    PushSelection();
}

QWidget* TListView::CreateWidget(QWidget* ParentWidget) {
    QTableView* view = NewListView(ParentWidget, false);
    view->setModel(new TItemModel(*FSource, view));
    FModel = static_cast<TItemModel*>(view->model());
    return view;
}

void TListView::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushStyle();
    PushSelection();
}

// The report style has a header and a column per list column; the others
// one column of captions. The view always selects whole rows.
void TListView::PushStyle() {
    auto* view = WidgetAs<QTableView>();
    if (!view)
        return;
    bool report = FViewStyle == vsReport;
    QHeaderView* header = view->horizontalHeader();
    header->setVisible(report);
    header->setSectionsClickable(FColumnClick);
    QFontMetrics metrics(view->font());
    view->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    if (report)
        for (Integer index = 0; index < FColumns->Count(); ++index) {
            TListColumn* column = FColumns->Items(index);
            if (column->AutoSize())
                view->resizeColumnToContents(index);
            else
                view->setColumnWidth(index, column->Width());
        }
    view->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
    view->setEditTriggers(FReadOnly ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::SelectedClicked |
                                          QAbstractItemView::EditKeyPressed);
}

void TListView::PushItemSelection(TListItem* Item) {
    auto* view = WidgetAs<QTableView>();
    if (!view || FItems->Updating())
        return;
    FSyncing = true;
    view->selectionModel()->select(FModel->RowIndex(Item->Index()),
                                   (Item->FSelected ? QItemSelectionModel::Select
                                                    : QItemSelectionModel::Deselect) |
                                       QItemSelectionModel::Rows);
    FSyncing = false;
}

// The whole selection, as ranges of selected rows.
void TListView::PushSelection() {
    auto* view = WidgetAs<QTableView>();
    if (!view)
        return;
    FSyncing = true;
    QItemSelection ranges;
    const std::vector<TListItem*>& items = FItems->FItems;
    Integer last = FModel->columnCount(QModelIndex()) - 1;
    for (std::size_t first = 0; first < items.size(); ++first) {
        if (!items[first]->FSelected)
            continue;
        std::size_t end = first;
        while (end + 1 < items.size() && items[end + 1]->FSelected)
            ++end;
        ranges.select(FModel->RowIndex(static_cast<Integer>(first)),
                      FModel->RowIndex(static_cast<Integer>(end), last));
        first = end;
    }
    view->selectionModel()->select(ranges, QItemSelectionModel::ClearAndSelect);
    if (FItemFocused)
        view->selectionModel()->setCurrentIndex(FModel->RowIndex(FItemFocused->Index()),
                                                QItemSelectionModel::NoUpdate);
    FSyncing = false;
}

void TListView::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* view = WidgetAs<QTableView>();
    QItemSelectionModel* selection = view->selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, view,
                     [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
                         if (FSyncing)
                             return;
                         std::vector<Integer> rows;
                         for (const QItemSelectionRange& range : Selected + Deselected)
                             for (Integer row = range.top(); row <= range.bottom(); ++row)
                                 rows.push_back(row);
                         EventBoundary(this, [&] { WidgetSelectionChanged(rows); });
                     });
    QObject::connect(selection, &QItemSelectionModel::currentRowChanged, view,
                     [this](const QModelIndex& Current) {
                         if (FSyncing)
                             return;
                         FItemFocused = Current.isValid() && Current.row() < FItems->Count()
                                            ? FItems->Item(Current.row())
                                            : nullptr;
                     });
    QObject::connect(view, &QTableView::clicked, view,
                     [this] { EventBoundary(this, [this] { Click(); }); });
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, view,
                     [this](int Index) {
                         EventBoundary(this, [&] {
                             if (FColumnClick && Index < FColumns->Count())
                                 ColClick(FColumns->Items(Index));
                         });
                     });
}

// Each item whose row changed its selection takes the row's state.
void TListView::WidgetSelectionChanged(const std::vector<Integer>& Rows) {
    QItemSelectionModel* selection = WidgetAs<QTableView>()->selectionModel();
    for (Integer row : Rows) {
        if (row >= FItems->Count())
            continue;
        TListItem* item = FItems->Item(row);
        bool selected = selection->isRowSelected(row, QModelIndex());
        if (selected == item->FSelected)
            continue;
        item->FSelected = selected;
        Change(item, ctState);
        SelectItem(item, selected);
    }
}
