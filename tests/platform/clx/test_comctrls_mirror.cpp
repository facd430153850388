// The common controls' Qt mirror (offscreen): state set before and after
// the widgets exist shows in them, and what the user does in a widget
// reaches the component and fires its events.
#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include "ClxTestSupport.h"
#include "TestSupport.h"

#include <QtGui/QEnterEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTableView>
#include <QtWidgets/QTreeView>

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

class ComCtrlsMirrorTest : public TFormTest {};

TEST_F(ComCtrlsMirrorTest, PagesAreTabsAndChoosingOneFiresOnChange) {
    auto* pages = Make<TPageControl>();
    auto* first = NewComponent<TTabSheet>(Form);
    first->SetPageControl(pages);
    first->SetCaption("First");
    auto* tabs = qobject_cast<QTabWidget*>(pages->Handle());
    ASSERT_NE(tabs, nullptr);
    auto* second = NewComponent<TTabSheet>(Form);
    second->SetPageControl(pages);
    second->SetCaption("Second");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), Q("Second"));
    EXPECT_EQ(tabs->currentWidget(), first->Handle());

    int changes = 0;
    pages->OnChange = [&](TObject*) { ++changes; };
    pages->SetActivePage(second);
    EXPECT_EQ(tabs->currentWidget(), second->Handle());
    EXPECT_EQ(changes, 0) << "only the user's choice is a change";
    tabs->setCurrentIndex(0);
    EXPECT_EQ(pages->ActivePage(), first);
    EXPECT_EQ(changes, 1);

    second->SetPageIndex(0);
    EXPECT_EQ(tabs->tabText(0), Q("Second"));
    EXPECT_EQ(tabs->currentWidget(), first->Handle());
    first->SetTabVisible(false);
    EXPECT_FALSE(tabs->isTabVisible(1));
    EXPECT_EQ(tabs->currentWidget(), second->Handle());
    delete second;
    EXPECT_EQ(tabs->count(), 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(ComCtrlsMirrorTest, StatusPanelsAreLabelsAndSimpleTextIsTheMessage) {
    auto* status = Make<TStatusBar>();
    status->Panels()->Add()->SetText("Before");
    auto* bar = qobject_cast<QStatusBar*>(status->Handle());
    ASSERT_NE(bar, nullptr);
    auto labels = [bar] { return bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly); };
    ASSERT_EQ(labels().size(), 1);
    EXPECT_EQ(labels()[0]->text(), Q("Before"));

    status->Panels()->Items(0)->SetText("After");
    status->Panels()->Add()->SetText("Second");
    ASSERT_EQ(labels().size(), 2);
    EXPECT_EQ(bar->findChild<QLabel*>("Panel0")->text(), Q("After"));
    EXPECT_EQ(bar->findChild<QLabel*>("Panel1")->text(), Q("Second"));
    status->Panels()->Items(0)->SetWidth(120);
    EXPECT_EQ(bar->findChild<QLabel*>("Panel0")->maximumWidth(), 120);

    status->SetSimpleText("Loading...");
    status->SetSimplePanel(true);
    EXPECT_EQ(bar->currentMessage(), Q("Loading..."));
    status->SetSimplePanel(false);
    EXPECT_TRUE(bar->currentMessage().isEmpty());
}

TEST_F(ComCtrlsMirrorTest, AutoHintShowsTheHintOfWhatTheMouseIsOver) {
    auto* status = Make<TStatusBar>();
    status->SetAutoHint(true);
    auto* button = Make<TButton>();
    button->SetHint("Save|Saves the translations");
    Form->Show();
    auto cross = [](QWidget* Widget, QEvent::Type Type) {
        if (Type == QEvent::Enter) {
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), Widget->mapToGlobal(QPointF(1, 1)));
            QApplication::sendEvent(Widget, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(Widget, &leave);
        }
    };
    cross(button->Handle(), QEvent::Enter);
    EXPECT_EQ(Application->Hint(), "Saves the translations");
    EXPECT_EQ(status->SimpleText(), "Saves the translations") << "no panels: the simple text";
    cross(button->Handle(), QEvent::Leave);
    EXPECT_EQ(status->SimpleText(), "");

    status->Panels()->Add();
    cross(button->Handle(), QEvent::Enter);
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "Saves the translations");
    status->SetAutoHint(false);
    cross(button->Handle(), QEvent::Leave);
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "Saves the translations");

    status->SetAutoHint(true);
    Integer hints = 0;
    Application->OnHint = [&](TObject*) { ++hints; };
    cross(button->Handle(), QEvent::Enter);
    Application->OnHint = nullptr;
    EXPECT_EQ(hints, 1);
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "Saves the translations");
    Application->SetHint("");
}

TEST_F(ComCtrlsMirrorTest, ToolButtonsShowImagesFollowActionsAndDropTheirMenu) {
    auto* images = NewComponent<TImageList>(Form);
    TBitmap red(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&red);
    auto* bar = Make<TToolBar>();
    auto* button = NewComponent<TToolButton>(Form);
    button->SetParent(bar);
    auto* widget = qobject_cast<QToolButton*>(button->Handle());
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->icon().isNull());
    bar->SetImages(images);
    button->SetImageIndex(0);
    ASSERT_FALSE(widget->icon().isNull());
    EXPECT_EQ(widget->icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(255, 0, 0));
    bar->SetShowCaptions(true);
    EXPECT_EQ(widget->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    // Every button as wide as the widest caption needs...
    auto* other = NewComponent<TToolButton>(Form);
    other->SetParent(bar);
    bar->SetAlign(alNone);
    bar->SetWidth(1000);
    button->SetCaption("A caption wider than a button");
    const Integer wide = button->Width();
    EXPECT_GT(wide, widget->fontMetrics().horizontalAdvance(widget->text()));
    EXPECT_EQ(other->Width(), wide);
    EXPECT_EQ(other->Left(), wide);
    // ... as long as every button stays on the bar, down to ButtonWidth.
    bar->SetWidth(2 * wide - 10);
    EXPECT_EQ(other->Width(), wide - 5);
    EXPECT_EQ(other->Left() + other->Width(), bar->Width());
    bar->SetWidth(10);
    EXPECT_EQ(button->Width(), bar->ButtonWidth());
    delete other;
    delete images;
    EXPECT_TRUE(widget->icon().isNull());

    auto* action = NewComponent<TAction>(Form);
    action->SetCaption("Bold");
    action->SetChecked(true);
    action->SetImageIndex(3);
    button->SetStyle(tbsCheck);
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "Bold");
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(button->ImageIndex(), 3);
    action->SetChecked(false);
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(widget->isChecked());

    auto* menu = NewComponent<TPopupMenu>(Form);
    auto* item = NewComponent<TMenuItem>(Form);
    item->SetCaption("Recent");
    menu->Items()->Add(item);
    button->SetDropdownMenu(menu);
    EXPECT_EQ(widget->menu(), nullptr) << "only a drop-down button has the menu";
    button->SetStyle(tbsDropDown);
    EXPECT_EQ(widget->menu(), menu->QtMenu());
    EXPECT_EQ(widget->popupMode(), QToolButton::MenuButtonPopup);
    Integer popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    emit menu->QtMenu()->aboutToShow();
    EXPECT_EQ(popups, 1) << "the drop-down fires OnPopup as Qt shows it";
    EXPECT_THROW(button->SetDropdownMenu(item), EInvalidOperation);
    delete menu;
    EXPECT_EQ(button->DropdownMenu(), nullptr);
    EXPECT_EQ(widget->menu(), nullptr);
}

TEST_F(ComCtrlsMirrorTest, HeaderSectionsFollowTheModelAndReportClicksAndResizing) {
    auto* header = Make<THeaderControl>();
    header->SetWidth(300);
    THeaderSection* name = header->Sections()->Add();
    name->SetText("Name");
    name->SetWidth(100);
    auto* view = qobject_cast<QHeaderView*>(header->Handle());
    ASSERT_NE(view, nullptr);
    THeaderSection* size = header->Sections()->Add();
    size->SetText("Size");
    size->SetMaxWidth(150);
    EXPECT_EQ(view->count(), 2);
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), Q("Size"));
    EXPECT_EQ(view->sectionSize(0), 100);

    std::vector<AnsiString> events;
    header->OnSectionClick = [&](THeaderControl*, THeaderSection* Section) {
        events.push_back("click " + Section->Text());
    };
    header->OnSectionResize = [&](THeaderControl*, THeaderSection* Section) {
        events.push_back(Format("resize %s %d", {Section->Text(), Section->Width()}));
    };
    ClickAt(view->viewport(), QPoint(view->sectionViewportPosition(1) + 5, 5));
    view->resizeSection(1, 400);
    EXPECT_EQ(size->Width(), 150);
    EXPECT_EQ(view->sectionSize(1), 150) << "the limit goes back to the widget";
    EXPECT_EQ(events, (std::vector<AnsiString>{"click Size", "resize Size 150"}));
}

TEST_F(ComCtrlsMirrorTest, ListItemsAreRowsAndTheUsersSelectionFiresOnChange) {
    auto* list = Make<TListView>();
    list->SetViewStyle(vsReport);
    list->Columns()->Add()->SetCaption("Name");
    list->Columns()->Add()->SetCaption("Size");
    TListItem* readme = list->Items()->Add();
    readme->SetCaption("readme");
    readme->SubItems()->Add("12");
    auto* table = qobject_cast<QTableView*>(list->Handle());
    ASSERT_NE(table, nullptr);
    QAbstractItemModel* model = table->model();
    TListItem* notes = list->Items()->Add();
    notes->SetCaption("notes");
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), Q("Size"));
    EXPECT_EQ(model->index(0, 1).data().toString(), Q("12"));

    readme->SetCaption("README");
    EXPECT_EQ(model->index(0, 0).data().toString(), Q("README"));

    std::vector<AnsiString> changes;
    list->OnChange = [&](TObject*, TListItem* Item, TItemChange Change) {
        changes.push_back(Item->Caption() + (Change == ctState ? " state" : " other"));
    };
    QItemSelectionModel* selection = table->selectionModel();
    selection->select(model->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_TRUE(notes->Selected());
    EXPECT_EQ(list->Selected(), notes);
    EXPECT_EQ(changes, std::vector<AnsiString>{"notes state"});

    readme->SetSelected(true);
    EXPECT_TRUE(selection->isRowSelected(0, QModelIndex()));
    EXPECT_FALSE(selection->isRowSelected(1, QModelIndex()));

    model->setData(model->index(1, 0), Q("edited"), Qt::EditRole);
    EXPECT_EQ(notes->Caption(), "edited");

    int columnClicks = 0;
    list->OnColumnClick = [&](TObject*, TListColumn* Column) {
        columnClicks += Column->Index() == 1;
    };
    Form->Show();
    QHeaderView* header = table->horizontalHeader();
    ClickAt(header->viewport(), QPoint(header->sectionViewportPosition(1) + 5, 5));
    EXPECT_EQ(columnClicks, 1);

    list->SetViewStyle(vsList);
    EXPECT_TRUE(header->isHidden());
    EXPECT_EQ(model->columnCount(), 1);
}

TEST_F(ComCtrlsMirrorTest, CheckBoxesOfItemsGoBothWays) {
    auto* list = Make<TListView>();
    TListItem* item = list->Items()->Add();
    item->SetCaption("option");
    list->SetCheckboxes(true);
    QAbstractItemModel* model = qobject_cast<QAbstractItemView*>(list->Handle())->model();
    QModelIndex row = model->index(0, 0);
    EXPECT_EQ(row.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    item->SetChecked(true);
    EXPECT_EQ(row.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    model->setData(row, Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_FALSE(item->Checked());
}

TEST_F(ComCtrlsMirrorTest, NodesAreRowsAndTheUsersChoicesReachTheModel) {
    auto* view = Make<TTreeView>();
    TTreeNode* root = view->Items()->Add(nullptr, "Root");
    TTreeNode* child = view->Items()->AddChild(root, "Child");
    root->SetExpanded(true);
    auto* tree = qobject_cast<QTreeView*>(view->Handle());
    ASSERT_NE(tree, nullptr);
    QAbstractItemModel* model = tree->model();
    ASSERT_EQ(model->rowCount(), 1);
    QModelIndex rootRow = model->index(0, 0);
    ASSERT_EQ(model->rowCount(rootRow), 1);
    EXPECT_TRUE(tree->isExpanded(rootRow));
    EXPECT_EQ(model->index(0, 0, rootRow).data().toString(), Q("Child"));

    child->SetText("Renamed");
    EXPECT_EQ(model->index(0, 0, rootRow).data().toString(), Q("Renamed"));
    TTreeNode* first = view->Items()->AddChildFirst(root, "First");
    EXPECT_EQ(model->index(0, 0, rootRow).data().toString(), Q("First"));
    TTreeNode* top = view->Items()->Insert(root, "Top");
    EXPECT_EQ(model->index(0, 0).data().toString(), Q("Top"));
    rootRow = model->index(1, 0);

    std::vector<AnsiString> events;
    view->OnChange = [&](TObject*, TTreeNode* Node) { events.push_back("change " + Node->Text()); };
    view->OnExpanded = [&](TObject*, TTreeNode* Node) { events.push_back("open " + Node->Text()); };
    view->OnCollapsed = [&](TObject*, TTreeNode* Node) {
        events.push_back("close " + Node->Text());
    };
    tree->setCurrentIndex(model->index(1, 0, rootRow));
    EXPECT_EQ(view->Selected(), child);
    EXPECT_TRUE(child->Selected());
    tree->collapse(rootRow);
    EXPECT_FALSE(root->Expanded());
    model->setData(model->index(0, 0, rootRow), Q("Typed"), Qt::EditRole);
    EXPECT_EQ(first->Text(), "Typed");
    EXPECT_EQ(events, (std::vector<AnsiString>{"change Renamed", "close Root"}));

    first->SetSelected(true);
    EXPECT_EQ(tree->currentIndex(), model->index(0, 0, rootRow));
    top->Delete();
    root->DeleteChildren();
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 0);
    EXPECT_EQ(view->Selected(), nullptr);
}

TEST_F(ComCtrlsMirrorTest, NodesMadeInABatchShowAtItsEnd) {
    auto* view = Make<TTreeView>();
    QAbstractItemModel* model = qobject_cast<QTreeView*>(view->Handle())->model();
    int resets = 0;
    QObject::connect(model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    view->Items()->BeginUpdate();
    TTreeNode* parent = view->Items()->Add(nullptr, "Parent");
    for (int index = 0; index < 3; ++index)
        view->Items()->AddChild(parent, Format("Child %d", {index}));
    EXPECT_EQ(resets, 0);
    view->Items()->EndUpdate();
    EXPECT_EQ(resets, 1);
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(2, 0, model->index(0, 0)).data().toString(), Q("Child 2"));
    view->DestroyHandle();
    parent->SetText("No widget");
    model = qobject_cast<QTreeView*>(view->Handle())->model();
    EXPECT_EQ(model->index(0, 0).data().toString(), Q("No widget"));
}

TEST_F(ComCtrlsMirrorTest, ProgressShowsItsRangeAndPosition) {
    auto* progress = Make<TProgressBar>();
    progress->SetPosition(30);
    auto* bar = qobject_cast<QProgressBar*>(progress->Handle());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->value(), 30);
    progress->SetMax(40);
    progress->StepIt();
    EXPECT_EQ(bar->maximum(), 40);
    EXPECT_EQ(bar->value(), 40);
    // Nothing to count: an empty bar, not Qt's busy indicator.
    progress->SetMax(0);
    EXPECT_EQ(progress->Position(), 0);
    EXPECT_LT(bar->minimum(), bar->maximum());
    EXPECT_EQ(bar->value(), bar->minimum());
}

TEST_F(ComCtrlsMirrorTest, ToolButtonsClickToggleAndFollowTheirToolBar) {
    auto* bar = Make<TToolBar>();
    auto* bold = NewComponent<TToolButton>(Form);
    bold->SetParent(bar);
    bold->SetCaption("Bold");
    bold->SetStyle(tbsCheck);
    auto* divider = NewComponent<TToolButton>(Form);
    divider->SetParent(bar);
    auto* button = qobject_cast<QToolButton*>(bold->Handle());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), Q("Bold"));
    EXPECT_TRUE(button->isCheckable());
    EXPECT_EQ(button->geometry(), QRect(0, 0, 23, 22));

    int clicks = 0;
    bold->OnClick = [&](TObject*) { ++clicks; };
    button->click();
    EXPECT_TRUE(bold->Down());
    EXPECT_EQ(clicks, 1);
    bold->SetDown(false);
    EXPECT_FALSE(button->isChecked());

    bar->SetFlat(true);
    bar->SetShowCaptions(true);
    EXPECT_TRUE(button->autoRaise());
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextOnly);

    divider->SetStyle(tbsDivider);
    EXPECT_EQ(qobject_cast<QToolButton*>(divider->Handle()), nullptr);
    EXPECT_EQ(divider->Handle()->width(), 8);
}

TEST_F(ComCtrlsMirrorTest, AFormFullOfCommonControlsFreesCleanly) {
    auto* pages = Make<TPageControl>();
    auto* sheet = NewComponent<TTabSheet>(Form);
    sheet->SetPageControl(pages);
    auto* view = NewComponent<TTreeView>(Form);
    view->SetParent(sheet);
    view->Items()->AddChild(view->Items()->Add(nullptr, "a"), "b");
    auto* list = NewComponent<TListView>(Form);
    list->SetParent(sheet);
    list->Items()->Add()->SetCaption("c");
    Make<TStatusBar>()->Panels()->Add();
    Form->Show();
    Application->ProcessMessages();
    EXPECT_TRUE(view->HandleAllocated());
    EXPECT_TRUE(sheet->Handle()->isAncestorOf(view->Handle()));
}

} // namespace
