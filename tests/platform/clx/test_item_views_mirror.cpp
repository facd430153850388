// Item views offscreen: the views read the controls' items through the
// adapter model, which tells them of one item at a time and of a batch as
// one reset; the user's choices reach the components; images, dragging with
// the mouse, tabs, spins, pictures and owner painting.
#include "clx/ComCtrls.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"

#include "ClxTestSupport.h"
#include "TestSupport.h"

#include <QtGui/QImage>
#include <QtGui/QPixmap>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QTableView>
#include <QtWidgets/QTreeView>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

class ItemViewsMirrorTest : public TFormTest {
protected:
    // What the view's model tells, counted by kind.
    struct TTold {
        int Changed = 0;
        int Inserted = 0;
        int Removed = 0;
        int Reset = 0;
        int LastRow = -1;
    };
    TTold& Listen(TControl* Control) {
        QAbstractItemModel* model = View(Control)->model();
        TTold* told = &FTold;
        QObject::connect(model, &QAbstractItemModel::dataChanged, model,
                         [told](const QModelIndex& First, const QModelIndex& Last) {
                             told->Changed += Last.row() - First.row() + 1;
                             told->LastRow = First.row();
                         });
        QObject::connect(model, &QAbstractItemModel::rowsInserted, model,
                         [told](const QModelIndex&, int First, int Last) {
                             told->Inserted += Last - First + 1;
                             told->LastRow = First;
                         });
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, model,
                         [told](const QModelIndex&, int First, int Last) {
                             told->Removed += Last - First + 1;
                             told->LastRow = First;
                         });
        QObject::connect(model, &QAbstractItemModel::modelReset, model,
                         [told] { ++told->Reset; });
        return FTold;
    }
    static QAbstractItemView* View(TControl* Control) {
        return qobject_cast<QAbstractItemView*>(Control->Handle());
    }
    static QString Shown(TControl* Control, int Row, int Column = 0) {
        QAbstractItemModel* model = View(Control)->model();
        return model->data(model->index(Row, Column), Qt::DisplayRole).toString();
    }

private:
    TTold FTold;
};

TEST_F(ItemViewsMirrorTest, ListBoxTellsItsViewOfOneItemAtATime) {
    auto* list = Make<TListBox>();
    for (Integer index = 0; index < 1000; ++index)
        list->Items()->Add("Item " + IntToStr(index));
    TTold& told = Listen(list);
    list->Items()->Put(500, "changed");
    EXPECT_EQ(told.Changed, 1);
    EXPECT_EQ(told.LastRow, 500);
    EXPECT_EQ(Shown(list, 500), Q("changed"));
    list->Items()->Insert(10, "inserted");
    list->Items()->Delete(20);
    EXPECT_EQ(told.Inserted, 1);
    EXPECT_EQ(told.Removed, 1);
    EXPECT_EQ(told.LastRow, 20);
    EXPECT_EQ(told.Reset, 0);

    list->Items()->BeginUpdate();
    for (Integer index = 0; index < 5; ++index)
        list->Items()->Delete(0);
    list->Items()->Add("last");
    list->Items()->EndUpdate();
    EXPECT_EQ(told.Reset, 1);
    EXPECT_EQ(told.Removed + told.Inserted + told.Changed, 3) << "the batch told only its reset";
    EXPECT_EQ(View(list)->model()->rowCount(), 996);
}

TEST_F(ItemViewsMirrorTest, ListBoxSelectionBothWaysFollowsItsItems) {
    auto* list = Make<TListBox>();
    list->Items()->SetCommaText("a,b,c,d");
    list->SetItemIndex(1);
    QAbstractItemView* view = View(list);
    EXPECT_EQ(view->currentIndex().row(), 1);
    list->Items()->Insert(0, "first");
    EXPECT_EQ(view->currentIndex().row(), 2);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(2, QModelIndex()));
    Integer clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    view->setCurrentIndex(view->model()->index(3, 0));
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(clicks, 1);
    list->Items()->Delete(3);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_FALSE(view->currentIndex().isValid() &&
                 view->selectionModel()->isRowSelected(view->currentIndex().row(), QModelIndex()));
    EXPECT_EQ(clicks, 1) << "what the view does for a deletion is no click";

    list->SetMultiSelect(true);
    list->SelectAll();
    list->SetSelected(1, false);
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), 3);
    view->selectionModel()->select(view->model()->index(1, 0), QItemSelectionModel::Select);
    EXPECT_EQ(list->SelCount(), 4);
    EXPECT_EQ(list->ItemAtPos({5, list->ItemRect(2).Top + 1}, true), 2);
}

TEST_F(ItemViewsMirrorTest, ListViewRowsAndTheUsersSelection) {
    auto* list = Make<TListView>();
    list->SetViewStyle(vsReport);
    list->SetMultiSelect(true);
    list->Columns()->Add()->SetCaption("Name");
    list->Columns()->Add()->SetCaption("Size");
    for (Integer index = 0; index < 100; ++index) {
        TListItem* item = list->Items()->Add();
        item->SetCaption("File " + IntToStr(index));
        item->SubItems()->Add(IntToStr(index) + " KB");
    }
    TTold& told = Listen(list);
    EXPECT_EQ(Shown(list, 7, 1), Q("7 KB"));
    EXPECT_EQ(View(list)->model()->headerData(1, Qt::Horizontal).toString(), Q("Size"));
    list->Items()->Item(7)->SubItems()->Put(0, "8 KB");
    list->Items()->Insert(3)->SetCaption("new");
    list->Items()->Delete(50);
    EXPECT_EQ(Shown(list, 8, 1), Q("8 KB"));
    EXPECT_EQ(Shown(list, 3), Q("new"));
    EXPECT_EQ(told.Changed, 3) << "both cells of the sub-item's row, then the new item's caption alone";
    EXPECT_EQ(told.Inserted, 1);
    EXPECT_EQ(told.Removed, 1);
    EXPECT_EQ(told.Reset, 0);

    std::vector<AnsiString> selections;
    list->OnSelectItem = [&](TObject*, TListItem* Item, bool Selected) {
        selections.push_back(Item->Caption() + (Selected ? "+" : "-"));
    };
    QItemSelectionModel* selection = View(list)->selectionModel();
    selection->select(View(list)->model()->index(3, 0),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list->Items()->Item(4)->SetSelected(true);
    EXPECT_TRUE(selection->isRowSelected(4, QModelIndex()));
    selection->clearSelection();
    EXPECT_EQ(selections, (std::vector<AnsiString>{"new+", "File 3+", "new-", "File 3-"}));
    EXPECT_EQ(list->SelCount(), 0);
}

// Rows coming and going below the shown ones leave those unpainted; the
// scroll bar and the rows scrolled to still follow.
TEST_F(ItemViewsMirrorTest, RowsBelowTheShownOnesComeAndGoWithoutRepaintingThem) {
    auto* list = Make<TListView>();
    list->SetAlign(alLeft);
    list->SetWidth(200);
    for (Integer index = 0; index < 200; ++index)
        list->Items()->Add()->SetCaption("File " + IntToStr(index));
    auto* box = Make<TListBox>();
    box->SetAlign(alClient);
    for (Integer index = 0; index < 200; ++index)
        box->Items()->Add("Line " + IntToStr(index));
    // The view lays its rows out when the events are processed, and paints
    // them when they are processed again.
    auto settle = [] {
        Application->ProcessMessages();
        Application->ProcessMessages();
    };
    Form->Show();
    settle();
    auto* view = qobject_cast<QTableView*>(View(list));
    QScrollBar* scrollBar = view->verticalScrollBar();
    const int maximum = scrollBar->maximum();
    TPaintCounter rows;
    view->viewport()->installEventFilter(&rows);
    View(box)->viewport()->installEventFilter(&rows);

    list->Items()->Insert(150)->SetCaption("inserted");
    list->Items()->Delete(170);
    list->Items()->Insert(160);
    box->Items()->Insert(150, "inserted");
    box->Items()->Delete(170);
    settle();
    EXPECT_EQ(rows.Count, 0);
    EXPECT_EQ(scrollBar->maximum(), maximum + 1);

    list->Items()->Insert(1)->SetCaption("shown");
    settle();
    EXPECT_GT(rows.Count, 0) << "a row inserted among the shown ones";
    rows.Count = 0;
    list->Items()->Delete(0);
    settle();
    EXPECT_GT(rows.Count, 0) << "a shown row removed";
    EXPECT_EQ(Shown(list, 0), Q("shown"));

    view->scrollTo(view->model()->index(150, 0));
    settle();
    EXPECT_EQ(view->indexAt(view->visualRect(view->model()->index(150, 0)).center()).row(), 150);
    EXPECT_EQ(Shown(list, 150), Q("inserted"));
    EXPECT_EQ(view->model()->rowCount(), 201);
    QImage shot = Form->Handle()->grab().toImage();
    EXPECT_TRUE(shot.save(QString::fromStdString(TestOutputDir() + "/clx_list_rows_below.png")));
}

// The same for a tree's nodes; a node expanded or collapsed before the
// layout still repaints.
TEST_F(ItemViewsMirrorTest, NodesBelowTheShownOnesComeAndGoWithoutRepaintingThem) {
    auto* tree = Make<TTreeView>();
    tree->SetAlign(alClient);
    TTreeNode* top = tree->Items()->Add(nullptr, "top");
    tree->Items()->AddChild(top, "under top");
    TTreeNode* root = tree->Items()->Add(nullptr, "root");
    for (Integer index = 0; index < 200; ++index)
        tree->Items()->AddChild(root, "child " + IntToStr(index));
    root->Expand(false);
    Form->Show();
    auto settle = [] {
        Application->ProcessMessages();
        Application->ProcessMessages();
    };
    settle();
    auto* view = qobject_cast<QTreeView*>(View(tree));
    const int maximum = view->verticalScrollBar()->maximum();
    TPaintCounter rows;
    view->viewport()->installEventFilter(&rows);

    root->Item(150)->Delete();
    tree->Items()->Insert(root->Item(160), "inserted");
    tree->Items()->AddChild(root, "last");
    settle();
    EXPECT_EQ(rows.Count, 0);
    EXPECT_EQ(view->verticalScrollBar()->maximum(), maximum + 1);

    tree->Items()->AddChild(root, "hidden by the expanded top");
    top->Expand(false);
    settle();
    EXPECT_GT(rows.Count, 0) << "a shown node expanded";
    EXPECT_TRUE(view->visualRect(view->model()->index(0, 0, view->model()->index(0, 0))).isValid());
    rows.Count = 0;
    root->Item(0)->Delete();
    settle();
    EXPECT_GT(rows.Count, 0) << "a shown node removed";
    QModelIndex inserted = view->model()->index(159, 0, view->model()->index(1, 0));
    view->scrollTo(inserted);
    settle();
    EXPECT_EQ(view->indexAt(view->visualRect(inserted).center()), inserted);
    EXPECT_EQ(inserted.data().toString(), Q("inserted"));
    QImage shot = Form->Handle()->grab().toImage();
    EXPECT_TRUE(shot.save(QString::fromStdString(TestOutputDir() + "/clx_tree_nodes_below.png")));
}

TEST_F(ItemViewsMirrorTest, TreeViewNodesImagesAndTheUsersChoices) {
    auto* images = NewComponent<TImageList>(Form);
    TBitmap red(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&red);
    auto* tree = Make<TTreeView>();
    tree->SetImages(images);
    TTreeNode* root = tree->Items()->Add(nullptr, "root");
    for (Integer index = 0; index < 100; ++index)
        tree->Items()->AddChild(root, "child " + IntToStr(index));
    root->SetExpanded(true);
    root->SetImageIndex(0);
    root->SetSelectedIndex(5);
    auto* view = qobject_cast<QTreeView*>(tree->Handle());
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* model = view->model();
    QModelIndex rootIndex = model->index(0, 0);
    EXPECT_TRUE(view->isExpanded(rootIndex));
    EXPECT_EQ(model->rowCount(rootIndex), 100);
    auto icon = model->data(rootIndex, Qt::DecorationRole).value<QPixmap>();
    EXPECT_EQ(icon.toImage().pixelColor(8, 8), QColor(Qt::red));
    tree->SetSelected(root);
    EXPECT_FALSE(model->data(rootIndex, Qt::DecorationRole).isValid())
        << "the selected image 5 is not in the list";

    TTold& told = Listen(tree);
    root->Item(40)->SetText("forty");
    tree->Items()->Insert(root->Item(10), "ten");
    root->Item(60)->Delete();
    EXPECT_EQ(model->index(41, 0, rootIndex).data().toString(), Q("forty"));
    EXPECT_EQ(model->index(10, 0, rootIndex).data().toString(), Q("ten"));
    EXPECT_EQ(told.Changed, 1);
    EXPECT_EQ(told.Inserted, 1);
    EXPECT_EQ(told.Removed, 1);
    EXPECT_EQ(told.Reset, 0);

    bool allow = false;
    tree->OnChanging = [&](TObject*, TTreeNode*, bool& AllowChange) { AllowChange = allow; };
    view->setCurrentIndex(model->index(3, 0, rootIndex));
    EXPECT_EQ(tree->Selected(), root);
    EXPECT_EQ(view->currentIndex(), rootIndex) << "the refused choice is taken back";
    allow = true;
    view->setCurrentIndex(model->index(3, 0, rootIndex));
    EXPECT_EQ(tree->Selected(), root->Item(3));

    tree->OnCollapsing = [](TObject*, TTreeNode*, bool& AllowCollapse) { AllowCollapse = false; };
    view->collapse(rootIndex);
    EXPECT_TRUE(root->Expanded());
    EXPECT_TRUE(view->isExpanded(rootIndex));
    tree->OnCollapsing = nullptr;
    view->collapse(rootIndex);
    EXPECT_FALSE(root->Expanded());
}

TEST_F(ItemViewsMirrorTest, DraggingWithTheMouseDropsTheSourceOnTheTarget) {
    Form->Show();
    auto* source = Make<TListBox>();
    source->SetBounds(0, 0, 150, 200);
    source->Items()->SetCommaText("dragged,other");
    source->SetDragMode(dmAutomatic);
    auto* target = Make<TTreeView>();
    target->SetBounds(200, 0, 150, 200);
    TObject* dropped = nullptr;
    target->OnDragOver = [](TObject*, TObject*, Integer, Integer, TDragState, bool&) {};
    target->OnDragDrop = [&](TObject*, TObject* Source, Integer, Integer) { dropped = Source; };
    Application->ProcessMessages();

    QWidget* viewport = View(source)->viewport();
    QPoint start(20, 5);
    auto send = [](QWidget* Widget, QEvent::Type Type, QPoint At, Qt::MouseButtons Buttons) {
        QMouseEvent event(Type, QPointF(At), QPointF(Widget->mapToGlobal(At)),
                          Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(Widget, &event);
    };
    send(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton);
    QPoint overTarget = viewport->mapFromGlobal(View(target)->viewport()->mapToGlobal(QPoint(30, 30)));
    send(viewport, QEvent::MouseMove, overTarget, Qt::LeftButton);
    EXPECT_TRUE(source->Dragging());
    send(viewport, QEvent::MouseButtonRelease, overTarget, Qt::NoButton);
    EXPECT_EQ(dropped, source);
    EXPECT_FALSE(source->Dragging());
}

TEST_F(ItemViewsMirrorTest, TabsAndSpinsTakeTheUsersChoices) {
    auto* tabs = Make<TTabControl>();
    tabs->Tabs()->SetCommaText("One,Two,Three");
    tabs->SetTabIndex(0);
    auto* inside = NewComponent<TButton>(Form);
    inside->SetParent(tabs);
    auto* bar = tabs->Handle()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->count(), 3);
    EXPECT_EQ(inside->Handle()->mapTo(tabs->Handle(), QPoint(0, 0)).y(), tabs->TabHeight());
    bool allow = false;
    Integer changes = 0;
    tabs->OnChanging = [&](TObject*, bool& AllowChange) { AllowChange = allow; };
    tabs->OnChange = [&](TObject*) { ++changes; };
    bar->setCurrentIndex(2);
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(bar->currentIndex(), 0);
    allow = true;
    bar->setCurrentIndex(2);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);
    tabs->Tabs()->Put(1, "Zwei");
    EXPECT_EQ(bar->tabText(1), Q("Zwei"));

    auto* spin = Make<TSpinEdit>();
    spin->SetMinValue(1);
    spin->SetMaxValue(9);
    auto* box = qobject_cast<QSpinBox*>(spin->Handle());
    ASSERT_NE(box, nullptr);
    box->setValue(7);
    EXPECT_EQ(spin->Value(), 7);
    box->stepBy(5);
    EXPECT_EQ(spin->Value(), 9);
}

TEST_F(ItemViewsMirrorTest, EditSelectionsArePushedAndRead) {
    auto* edit = Make<TEdit>();
    edit->SetText("Hello world");
    edit->SetSelStart(6);
    edit->SetSelLength(5);
    auto* line = edit->Handle();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(edit->SelText(), "world");
    // A text the program sets starts at its beginning, as the control's
    // own text would.
    edit->SetText("A text longer than the edit is wide, read from its start");
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 0);
    auto* memo = Make<TMemo>();
    memo->Lines()->SetText("one\ntwo\n");
    memo->Handle();
    memo->SetSelStart(4);
    memo->SetSelLength(3);
    EXPECT_EQ(memo->SelText(), "two");
    memo->SelectAll();
    EXPECT_EQ(memo->SelLength(), 7);
}

TEST_F(ItemViewsMirrorTest, ImagesLoadPngBmpAndXpmFilesAndPaintBoxesPaint) {
    TTempDir directory;
    TBitmap picture(3, 2);
    picture.Canvas()->Brush()->SetColor(clBlue);
    picture.Canvas()->FillRect(Rect(0, 0, 3, 2));
    for (const char* name : {"p.png", "p.bmp"})
        picture.SaveToFile(directory.File(name));
    std::ofstream(directory.File("p.xpm")) << "/* XPM */\nstatic char *p[] = {\n\"3 2 1 1\",\n"
                                              "\". c #0000FF\",\n\"...\",\n\"...\"};\n";
    auto* image = Make<TImage>();
    image->SetAutoSize(true);
    for (const char* name : {"p.png", "p.bmp", "p.xpm"}) {
        image->Picture()->LoadFromFile(directory.File(name));
        EXPECT_EQ(image->Width(), 3) << name;
        auto* label = qobject_cast<QLabel*>(image->Handle());
        EXPECT_EQ(label->pixmap().toImage().pixelColor(1, 1), QColor(Qt::blue)) << name;
    }

    auto* paint = Make<TPaintBox>();
    paint->SetBounds(0, 0, 40, 30);
    Integer paints = 0;
    paint->OnPaint = [&](TObject*) {
        ++paints;
        paint->Canvas()->Brush()->SetColor(clLime);
        paint->Canvas()->FillRect(Rect(0, 0, 40, 30));
    };
    QImage grabbed = paint->Handle()->grab().toImage();
    EXPECT_GE(paints, 1);
    EXPECT_EQ(grabbed.pixelColor(20, 15), QColor(Qt::green));
}

} // namespace
