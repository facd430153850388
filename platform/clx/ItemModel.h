// The adapter between item controls and Qt's item views (private to the
// library's sources). A control keeps its items itself; TItemModel is the
// QAbstractItemModel its view reads them through, asking the control's
// TItemSource for each value as the view needs it. Nothing is copied.
//
// The control tells the model of every change as it happens: one item
// changed, one inserted or one removed (Begin... before the items change,
// End... after, as Qt wants it), and the model passes on exactly that to the
// views. A batch of changes (the items' BeginUpdate/EndUpdate) is one reset:
// BeginReset at its start, EndReset at its end; what the control reports in
// between is dropped, as the reset covers it.
//
// A flat list's items have no handle (nullptr); a tree's nodes are their
// handles, Parent nullptr meaning the top level.
#pragma once

#include "rtl/System.h"

#include <QtCore/QAbstractItemModel>

#include <initializer_list>

class QTableView;
class QTreeView;
class QWidget;
class TComponent;
class TCustomImageList;

class TItemSource {
public:
    virtual ~TItemSource() = default;

    virtual Integer ItemCount(void* Parent) const = 0;
    // The handle of item Row under Parent.
    virtual void* ItemAt(void* Parent, Integer Row) const;
    // The parent of a handle and its row among its siblings.
    virtual void* ParentOf(void* Item) const;
    virtual Integer RowOf(void* Item) const;
    // Whether a handle shows an expand button (it has items, by default).
    virtual bool ItemHasChildren(void* Item) const;
    virtual Integer ColumnCount() const { return 1; }
    // Index names the item (row, column, and the handle as internal pointer).
    virtual QVariant ItemData(const QModelIndex& Index, int Role) const = 0;
    // The user's edit of a value (a text, a check mark); true when taken.
    virtual bool SetItemData(const QModelIndex& Index, const QVariant& Value, int Role);
    virtual Qt::ItemFlags ItemFlags(const QModelIndex& Index) const;
    virtual QVariant HeaderData(Integer Section, int Role) const;
};

class TItemModel final : public QAbstractItemModel {
public:
    TItemModel(TItemSource& Source, QObject* Parent);

    // The control goes before its widget: from now on there are no items.
    void Detach();

    // Column -1: every column of the row.
    void ItemChanged(void* Parent, Integer Row, Integer Column = -1);
    void BeginInsert(void* Parent, Integer Row);
    void EndInsert();
    void BeginRemove(void* Parent, Integer Row);
    void EndRemove();
    // Batches nest; an EndReset without its BeginReset (the widget was made
    // inside the batch) resets all the same.
    void BeginReset();
    void EndReset();
    void Reset();
    bool Resetting() const { return FResetDepth > 0; }

    // The index of a handle (a tree node), or of row Row of a flat list.
    QModelIndex IndexOf(void* Item, Integer Column = 0) const;
    QModelIndex RowIndex(Integer Row, Integer Column = 0) const;

    QModelIndex index(int Row, int Column, const QModelIndex& Parent) const override;
    QModelIndex parent(const QModelIndex& Child) const override;
    int rowCount(const QModelIndex& Parent) const override;
    int columnCount(const QModelIndex& Parent) const override;
    bool hasChildren(const QModelIndex& Parent) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;

private:
    QModelIndex ParentIndex(void* Parent) const;

    TItemSource* FSource;
    Integer FResetDepth = 0;
    // What the views were told of a Begin... that the reset did not swallow.
    std::vector<bool> FPendingInserts;
    std::vector<bool> FPendingRemoves;
};

// A table view dressed as a list of fixed-height rows (the view of list
// boxes and list views): no grid, no row headers, whole rows selected, the
// last column taking the rest of the width; the column header shows with
// Header. Its rows cost the same however many there are, and rows inserted
// or removed below the rows it shows leave those unpainted.
QTableView* NewListView(QWidget* Parent, bool Header);

// The view of tree views: no header, rows of one height, one node selected;
// like the list's, nodes inserted or removed below the rows it shows leave
// those unpainted.
QTreeView* NewTreeView(QWidget* Parent);

// The picture an item shows before its text (Qt's decoration role): the
// state image StateIndex of StateImages, then image ImageIndex of Images,
// side by side; each only when its list has that image. Null when neither.
QVariant ItemImage(const TCustomImageList* Images, Integer ImageIndex,
                   const TCustomImageList* StateImages, Integer StateIndex);

// Clears every field that points at Removed, an image list going away;
// true when one did.
bool ForgetImageLists(const TComponent* Removed,
                      std::initializer_list<TCustomImageList**> Fields);
