#include "clx/ItemModel.h"

#include "clx/ImgList.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTableView>
#include <QtWidgets/QTreeView>

void* TItemSource::ItemAt(void*, Integer) const {
    return nullptr;
}

void* TItemSource::ParentOf(void*) const {
    return nullptr;
}

Integer TItemSource::RowOf(void*) const {
    return 0;
}

bool TItemSource::ItemHasChildren(void* Item) const {
    return ItemCount(Item) > 0;
}

bool TItemSource::SetItemData(const QModelIndex&, const QVariant&, int) {
    return false;
}

Qt::ItemFlags TItemSource::ItemFlags(const QModelIndex&) const {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariant TItemSource::HeaderData(Integer, int) const {
    return {};
}

TItemModel::TItemModel(TItemSource& Source, QObject* Parent)
    : QAbstractItemModel(Parent), FSource(&Source) {}

void TItemModel::Detach() {
    beginResetModel();
    FSource = nullptr;
    endResetModel();
}

QModelIndex TItemModel::ParentIndex(void* Parent) const {
    return Parent ? IndexOf(Parent) : QModelIndex();
}

QModelIndex TItemModel::IndexOf(void* Item, Integer Column) const {
    if (!FSource || !Item)
        return {};
    return createIndex(FSource->RowOf(Item), Column, Item);
}

QModelIndex TItemModel::RowIndex(Integer Row, Integer Column) const {
    return index(Row, Column, QModelIndex());
}

void TItemModel::ItemChanged(void* Parent, Integer Row, Integer Column) {
    if (Resetting() || !FSource)
        return;
    QModelIndex parent = ParentIndex(Parent);
    // One cell at a time: a view repaints a single changed cell, but the
    // whole viewport for a range.
    Integer first = Column < 0 ? 0 : Column;
    Integer last = Column < 0 ? FSource->ColumnCount() - 1 : Column;
    for (Integer column = first; column <= last; ++column) {
        QModelIndex cell = index(Row, column, parent);
        emit dataChanged(cell, cell);
    }
}

void TItemModel::BeginInsert(void* Parent, Integer Row) {
    bool told = !Resetting() && FSource;
    if (told)
        beginInsertRows(ParentIndex(Parent), Row, Row);
    FPendingInserts.push_back(told);
}

void TItemModel::EndInsert() {
    if (FPendingInserts.empty())
        return;
    bool told = FPendingInserts.back();
    FPendingInserts.pop_back();
    if (told)
        endInsertRows();
}

void TItemModel::BeginRemove(void* Parent, Integer Row) {
    bool told = !Resetting() && FSource;
    if (told)
        beginRemoveRows(ParentIndex(Parent), Row, Row);
    FPendingRemoves.push_back(told);
}

void TItemModel::EndRemove() {
    if (FPendingRemoves.empty())
        return;
    bool told = FPendingRemoves.back();
    FPendingRemoves.pop_back();
    if (told)
        endRemoveRows();
}

void TItemModel::BeginReset() {
    if (FResetDepth++ == 0)
        beginResetModel();
}

void TItemModel::EndReset() {
    if (FResetDepth == 0)
        beginResetModel();
    else if (--FResetDepth > 0)
        return;
    endResetModel();
}

void TItemModel::Reset() {
    BeginReset();
    EndReset();
}

QModelIndex TItemModel::index(int Row, int Column, const QModelIndex& Parent) const {
    if (!FSource || Row < 0 || Column < 0 || Column >= FSource->ColumnCount() ||
        Row >= rowCount(Parent))
        return {};
    return createIndex(Row, Column, FSource->ItemAt(Parent.internalPointer(), Row));
}

QModelIndex TItemModel::parent(const QModelIndex& Child) const {
    if (!FSource || !Child.isValid() || !Child.internalPointer())
        return {};
    return ParentIndex(FSource->ParentOf(Child.internalPointer()));
}

// A flat list's items (no handle) and the columns after the first have no
// children.
int TItemModel::rowCount(const QModelIndex& Parent) const {
    if (!FSource || Parent.column() > 0)
        return 0;
    if (Parent.isValid() && !Parent.internalPointer())
        return 0;
    return FSource->ItemCount(Parent.internalPointer());
}

int TItemModel::columnCount(const QModelIndex&) const {
    return FSource ? FSource->ColumnCount() : 1;
}

bool TItemModel::hasChildren(const QModelIndex& Parent) const {
    if (!FSource || !Parent.isValid() || !Parent.internalPointer())
        return rowCount(Parent) > 0;
    return Parent.column() == 0 && FSource->ItemHasChildren(Parent.internalPointer());
}

QVariant TItemModel::data(const QModelIndex& Index, int Role) const {
    if (!FSource || !Index.isValid())
        return {};
    return FSource->ItemData(Index, Role);
}

bool TItemModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
    if (!FSource || !Index.isValid())
        return false;
    return FSource->SetItemData(Index, Value, Role);
}

Qt::ItemFlags TItemModel::flags(const QModelIndex& Index) const {
    if (!FSource || !Index.isValid())
        return Qt::NoItemFlags;
    return FSource->ItemFlags(Index);
}

QVariant TItemModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (!FSource || Orientation != Qt::Horizontal)
        return {};
    return FSource->HeaderData(Section, Role);
}

namespace {

// Where a row lies in the viewport, read without laying the view out (its
// row count may have changed already): a table's rows are its row
// header's sections; a tree's rows are its layout, which Qt gives only
// through visualRect. Empty for a row not laid out (under a collapsed node).
QRect RowRect(const QTableView& View, const QModelIndex& Index) {
    QHeaderView* rows = View.verticalHeader();
    return {0, rows->sectionViewportPosition(Index.row()), 1, rows->sectionSize(Index.row())};
}

QRect RowRect(const QTreeView& View, const QModelIndex& Index) {
    return View.visualRect(Index);
}

// Qt lays out an item view again after rows come or go and then repaints
// every row it shows, which costs more than the change itself in a long
// list or tree. When every row that came or went lay below the last row
// shown, and nothing else changed what shows since (a reset, a node
// expanded or collapsed), the rows shown are the same: the layout then
// runs without repainting them.
template <typename TView> class TOutOfSightRowsView final : public TView {
public:
    using TView::TView;

    void doItemsLayout() override {
        bool outOfSight = FRowChanges == TRowChanges::OutOfSight;
        FRowChanges = TRowChanges::None;
        if (!outOfSight) {
            TView::doItemsLayout();
            return;
        }
        QWidget* rows = this->viewport();
        QPoint scrolled = ScrollPosition();
        rows->setAttribute(Qt::WA_UpdatesDisabled, true);
        TView::doItemsLayout();
        rows->setAttribute(Qt::WA_UpdatesDisabled, false);
        if (ScrollPosition() != scrolled)
            rows->update();
    }

    // What shows changed other than by rows coming or going.
    void NoteShownChange() { FRowChanges = TRowChanges::InSight; }

protected:
    void reset() override {
        NoteShownChange();
        TView::reset();
    }
    // The model has the new rows; the view does not show them yet. A
    // parent's expand button comes with its first row and goes with its
    // last, so those count as in sight.
    void rowsInserted(const QModelIndex& Parent, int First, int Last) override {
        QAbstractItemModel* model = this->model();
        bool parentHadNone = Parent.isValid() && model->rowCount(Parent) == Last - First + 1;
        QModelIndex above = First > 0 ? model->index(First - 1, 0, Parent) : Parent;
        // A new row comes after the row above it and that row's own rows.
        NoteRowChange(!parentHadNone && above.isValid() &&
                      RowRect(*this, above).bottom() + 1 >= this->viewport()->height());
        TView::rowsInserted(Parent, First, Last);
    }
    // The model and the view still have the rows.
    void rowsAboutToBeRemoved(const QModelIndex& Parent, int First, int Last) override {
        QAbstractItemModel* model = this->model();
        bool parentKeepsNone = Parent.isValid() && First == 0 && Last == model->rowCount(Parent) - 1;
        QRect firstRow = RowRect(*this, model->index(First, 0, Parent));
        NoteRowChange(!parentKeepsNone && firstRow.isValid() &&
                      firstRow.top() >= this->viewport()->height());
        TView::rowsAboutToBeRemoved(Parent, First, Last);
    }

private:
    enum class TRowChanges { None, OutOfSight, InSight };

    void NoteRowChange(bool OutOfSight) {
        if (!OutOfSight)
            FRowChanges = TRowChanges::InSight;
        else if (FRowChanges == TRowChanges::None)
            FRowChanges = TRowChanges::OutOfSight;
    }

    QPoint ScrollPosition() const {
        return {this->horizontalScrollBar()->value(), this->verticalScrollBar()->value()};
    }

    TRowChanges FRowChanges = TRowChanges::None;
};

} // namespace

QTableView* NewListView(QWidget* Parent, bool Header) {
    auto* view = new TOutOfSightRowsView<QTableView>(Parent);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->setCornerButtonEnabled(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->horizontalHeader()->setVisible(Header);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setHighlightSections(false);
    return view;
}

QTreeView* NewTreeView(QWidget* Parent) {
    auto* view = new TOutOfSightRowsView<QTreeView>(Parent);
    QObject::connect(view, &QTreeView::expanded, view, [view] { view->NoteShownChange(); });
    QObject::connect(view, &QTreeView::collapsed, view, [view] { view->NoteShownChange(); });
    view->setHeaderHidden(true);
    view->setUniformRowHeights(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    return view;
}

namespace {

bool HasImage(const TCustomImageList* Images, Integer Index) {
    return Images && Index >= 0 && Index < Images->Count();
}

QImage ImageAt(const TCustomImageList& Images, Integer Index) {
    TBitmap bitmap;
    Images.GetBitmap(Index, &bitmap);
    return bitmap.Image();
}

} // namespace

QVariant ItemImage(const TCustomImageList* Images, Integer ImageIndex,
                   const TCustomImageList* StateImages, Integer StateIndex) {
    bool image = HasImage(Images, ImageIndex);
    bool state = HasImage(StateImages, StateIndex);
    if (!image && !state)
        return {};
    Integer width = (state ? StateImages->Width() : 0) + (image ? Images->Width() : 0);
    Integer height = std::max(state ? StateImages->Height() : 0, image ? Images->Height() : 0);
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    Integer left = 0;
    if (state) {
        painter.drawImage(0, 0, ImageAt(*StateImages, StateIndex));
        left = StateImages->Width();
    }
    if (image)
        painter.drawImage(left, 0, ImageAt(*Images, ImageIndex));
    return pixmap;
}

bool ForgetImageLists(const TComponent* Removed,
                      std::initializer_list<TCustomImageList**> Fields) {
    bool forgotten = false;
    for (TCustomImageList** field : Fields)
        if (*field && *field == Removed) {
            *field = nullptr;
            forgotten = true;
        }
    return forgotten;
}
