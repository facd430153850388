// The list view: columns, items and their mirror in a QTreeWidget whose
// top-level rows are the items in order (row i is Items[i]).
//
// "Items.Data", version 1: the version (1), the item count, then per item
// its image index, a flags byte (bit 0: checked), its caption, the count of
// its sub-items and the sub-items.
#include "clx/ComCtrls_Items.h"
#include "clx/QtSupport.h"

#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTreeWidget>

#include <algorithm>

namespace {


constexpr Integer ListDataVersion = 1;
constexpr Byte CheckedFlag = 1;
// Image index, flags, caption length, sub-item count.
constexpr Integer MinItemRecordSize = 4 + 1 + 4 + 4;
constexpr Integer MinTextSize = 4;

struct TListItemImage {
    AnsiString Caption;
    Integer ImageIndex = 0;
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
    FChecked = item->FChecked;
    FData = item->FData;
    FSubItems->Assign(item->FSubItems.get());
    Changed(ctText);
}

TListView* TListItem::ListView() const {
    return FOwner ? FOwner->Owner() : nullptr;
}

Integer TListItem::Index() const {
    return FOwner ? FOwner->IndexOf(this) : -1;
}

void TListItem::Delete() {
    delete this;
}

void TListItem::SetCaption(const AnsiString& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    Changed(ctText);
}

void TListItem::SetImageIndex(Integer Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    Changed(ctImage);
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
    Changed(ctState);
}

void TListItem::Changed(TItemChange Change) {
    if (TListView* listView = ListView())
        listView->ItemChanged(this, Change);
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
    FItems.insert(FItems.begin() + Index, item);
    if (FUpdateCount == 0 && FOwner)
        FOwner->ItemsChanged();
    return item;
}

void TListItems::Delete(Integer Index) {
    delete Item(Index);
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
    ++FUpdateCount;
}

void TListItems::EndUpdate() {
    if (--FUpdateCount == 0 && FOwner)
        FOwner->ItemsChanged();
}

void TListItems::RemoveItem(TListItem* Item) {
    FItems.erase(std::find(FItems.begin(), FItems.end(), Item));
    if (FUpdateCount == 0 && FOwner)
        FOwner->ItemsChanged();
}

void TListItems::WriteData(TStream& Stream) const {
    TItemDataWriter writer(Stream);
    writer.WriteInteger(ListDataVersion);
    writer.WriteInteger(Count());
    for (const TListItem* item : FItems) {
        writer.WriteInteger(item->FImageIndex);
        writer.WriteByte(item->FChecked ? CheckedFlag : 0);
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
        if (flags & ~CheckedFlag)
            reader.Error();
        image.Checked = flags & CheckedFlag;
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
        item->FChecked = image.Checked;
        item->FSubItems->BeginUpdate();
        for (const AnsiString& subItem : image.SubItems)
            item->FSubItems->Add(subItem);
        item->FSubItems->EndUpdate();
    }
}

// ---------------------------------------------------------------------------
// TListView

TListView::TListView(TComponent* AOwner)
    : TWinControl(AOwner), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)) {
    // The widget reports clicks on its rows itself.
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView() = default;

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
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle).Default(vsIcon);
    P.Property("OnChange", &TListView::OnChange);
    P.Property("OnColumnClick", &TListView::OnColumnClick);
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
    if (HandleAllocated())
        RebuildRows();
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

void TListView::Change(TListItem* Item, TItemChange Change) {
    if (OnChange)
        OnChange(this, Item, Change);
}

void TListView::ColClick(TListColumn* Column) {
    if (OnColumnClick)
        OnColumnClick(this, Column);
}

void TListView::ItemChanged(TListItem* Item, TItemChange Change) {
    if (HandleAllocated() && FItems->FUpdateCount == 0) {
        PushItem(Item->Index());
        if (Change == ctState)
            PushSelection();
    }
    if (!ComponentState().Contains(csLoading))
        this->Change(Item, Change);
}

void TListView::ItemsChanged() {
    if (HandleAllocated())
        RebuildRows();
}

void TListView::ColumnsChanged() {
    if (!HandleAllocated())
        return;
    PushStyle();
    RebuildRows();
}

QWidget* TListView::CreateWidget(QWidget* ParentWidget) {
    auto* tree = new QTreeWidget(ParentWidget);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    return tree;
}

void TListView::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushStyle();
    RebuildRows();
}

// The report style has a header and a column per list column; the others
// one column of captions. The widget always selects whole rows: RowSelect
// shows the focus across all columns.
void TListView::PushStyle() {
    auto* tree = WidgetAs<QTreeWidget>();
    if (!tree)
        return;
    QSignalBlocker silence(tree);
    bool report = FViewStyle == vsReport;
    Integer columns = report ? std::max(FColumns->Count(), 1) : 1;
    tree->setColumnCount(columns);
    tree->setHeaderHidden(!report);
    tree->header()->setSectionsClickable(FColumnClick);
    if (report)
        for (Integer index = 0; index < FColumns->Count(); ++index) {
            TListColumn* column = FColumns->Items(index);
            tree->headerItem()->setText(index, ToQString(column->Caption()));
            tree->headerItem()->setTextAlignment(index, QtAlignment(column->Alignment()));
            if (column->AutoSize())
                tree->resizeColumnToContents(index);
            else
                tree->setColumnWidth(index, column->Width());
        }
    tree->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
    tree->setAllColumnsShowFocus(FRowSelect);
    tree->setEditTriggers(FReadOnly ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::SelectedClicked |
                                          QAbstractItemView::EditKeyPressed);
}

void TListView::RebuildRows() {
    auto* tree = WidgetAs<QTreeWidget>();
    QSignalBlocker silence(tree);
    tree->clear();
    QList<QTreeWidgetItem*> rows;
    for (Integer index = 0; index < FItems->Count(); ++index)
        rows.append(new QTreeWidgetItem);
    tree->addTopLevelItems(rows);
    for (Integer index = 0; index < FItems->Count(); ++index)
        PushItem(index);
    PushSelection();
}

void TListView::PushItem(Integer Index) {
    auto* tree = WidgetAs<QTreeWidget>();
    QTreeWidgetItem* row = tree->topLevelItem(Index);
    if (!row)
        return;
    QSignalBlocker silence(tree);
    TListItem* item = FItems->Item(Index);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    if (FCheckboxes)
        flags |= Qt::ItemIsUserCheckable;
    row->setFlags(flags);
    row->setText(0, ToQString(item->Caption()));
    if (FCheckboxes)
        row->setCheckState(0, item->Checked() ? Qt::Checked : Qt::Unchecked);
    else
        row->setData(0, Qt::CheckStateRole, QVariant());
    for (Integer column = 1; column < tree->columnCount(); ++column) {
        Integer subIndex = column - 1;
        row->setText(column, subIndex < item->SubItems()->Count()
                                 ? ToQString((*item->SubItems())[subIndex])
                                 : QString());
        if (column < FColumns->Count())
            row->setTextAlignment(column, QtAlignment(FColumns->Items(column)->Alignment()));
    }
}

void TListView::PushSelection() {
    auto* tree = WidgetAs<QTreeWidget>();
    QSignalBlocker silence(tree);
    for (Integer index = 0; index < FItems->Count(); ++index)
        if (QTreeWidgetItem* row = tree->topLevelItem(index))
            row->setSelected(FItems->Item(index)->Selected());
}

void TListView::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* tree = WidgetAs<QTreeWidget>();
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree,
                     [this] { EventBoundary(this, [this] { WidgetSelectionChanged(); }); });
    QObject::connect(tree, &QTreeWidget::itemChanged, tree,
                     [this](QTreeWidgetItem* Row, int Column) {
                         EventBoundary(this, [&] { WidgetItemChanged(Row, Column); });
                     });
    QObject::connect(tree, &QTreeWidget::clicked, tree,
                     [this] { EventBoundary(this, [this] { Click(); }); });
    QObject::connect(tree->header(), &QHeaderView::sectionClicked, tree, [this](int Index) {
        EventBoundary(this, [&] {
            if (FColumnClick && Index < FColumns->Count())
                ColClick(FColumns->Items(Index));
        });
    });
}

// Each item whose row changed its selection takes the row's state.
void TListView::WidgetSelectionChanged() {
    auto* tree = WidgetAs<QTreeWidget>();
    for (Integer index = 0; index < FItems->Count(); ++index) {
        TListItem* item = FItems->Item(index);
        QTreeWidgetItem* row = tree->topLevelItem(index);
        if (row && row->isSelected() != item->FSelected) {
            item->FSelected = row->isSelected();
            Change(item, ctState);
        }
    }
}

// The user edited a caption or clicked a check box.
void TListView::WidgetItemChanged(QTreeWidgetItem* Row, Integer Column) {
    auto* tree = WidgetAs<QTreeWidget>();
    Integer index = tree->indexOfTopLevelItem(Row);
    if (index < 0 || Column != 0)
        return;
    TListItem* item = FItems->Item(index);
    item->SetCaption(FromQString(Row->text(0)));
    if (FCheckboxes)
        item->SetChecked(Row->checkState(0) == Qt::Checked);
}
