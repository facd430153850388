// String grids shown offscreen: the view reads the component's cells and
// repaints one changed cell, OnDrawCell paints through the canvas, the
// user's keys and typing reach the grid and its in-place editor, the text
// is measured outside painting, and a block of cells round-trips through
// the real clipboard.
#include "clx/Clipbrd.h"
#include "clx/Dialogs.h"
#include "clx/Grids.h"

#include "ClxTestSupport.h"
#include "TestSupport.h"

#include <QtGui/QImage>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableView>
#include <QtWidgets/QScrollBar>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

class GridMirrorTest : public TFormTest {
protected:
    void SetUp() override {
        TFormTest::SetUp();
        Grid = Make<TStringGrid>();
        Grid->SetBounds(8, 8, 380, 260);
        Grid->SetColCount(4);
        Grid->SetRowCount(50);
    }
    void Press(QWidget* Widget, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, Key, Modifiers);
        QApplication::sendEvent(Widget, &press);
    }
    QTableView* View() { return qobject_cast<QTableView*>(Grid->Handle()); }

    TStringGrid* Grid = nullptr;
};

TEST_F(GridMirrorTest, TheViewShowsTheCellsAndOnDrawCellPaints) {
    Grid->SetCells(1, 1, "before");
    Form->Show();
    QTableView* view = View();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->model()->rowCount(), 50);
    EXPECT_EQ(view->model()->index(1, 1).data().toString(), Q("before"));
    Grid->SetCells(1, 1, "after");
    EXPECT_EQ(view->model()->index(1, 1).data().toString(), Q("after"));
    Grid->DeleteRow(1);
    EXPECT_EQ(view->model()->rowCount(), 49);

    // The state each cell was first drawn in, by column and row.
    std::map<std::pair<Integer, Integer>, TGridDrawState> drawn;
    Grid->OnDrawCell = [&](TObject*, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State) {
        drawn.emplace(std::pair{ACol, ARow}, State);
        if (ACol == 2 && ARow == 3) {
            Grid->Canvas()->Brush()->SetColor(clRed);
            Grid->Canvas()->FillRect(Rect);
        }
    };
    Grid->SetColWidths(0, 40);
    Grid->SetRow(2);
    Application->ProcessMessages();
    QImage shot = Form->Handle()->grab().toImage();
    ASSERT_TRUE(shot.save(QString::fromStdString(TestOutputDir() + "/clx_string_grid.png")));
    TRect red = Grid->CellRect(2, 3);
    QPoint inside = view->mapTo(Form->Handle(), QPoint(red.Left + 5, red.Top + 5));
    EXPECT_EQ(shot.pixelColor(inside), QColor(255, 0, 0));
    EXPECT_TRUE((drawn[{0, 5}].Contains(gdFixed)));
    EXPECT_TRUE((drawn[{1, 2}].Contains(gdSelected)));
    EXPECT_FALSE((drawn[{2, 4}].Contains(gdSelected)));
    EXPECT_GT(Grid->Canvas()->TextHeight("Hy"), 0) << "measured outside painting";
}

TEST_F(GridMirrorTest, KeysMoveTheCellAndTypingEditsIt) {
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goEditing).Include(goTabs));
    Grid->SetCells(1, 1, "old");
    std::vector<AnsiString> sets;
    Grid->OnSetEditText = [&](TObject*, Integer, Integer, const AnsiString& Value) {
        sets.push_back(Value);
    };
    std::vector<Integer> keys;
    Grid->OnKeyDown = [&](TObject*, Integer& Key, TShiftState) { keys.push_back(Key); };
    Form->Show();
    QTableView* view = View();
    Press(view, Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 2);
    Press(view, Qt::Key_Up);
    Press(view, Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 2);
    Press(view, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(keys, (std::vector<Integer>{Key_Down, Key_Up, Key_Tab, Key_Backtab}));

    Press(view, Qt::Key_Return);
    ASSERT_TRUE(Grid->EditorMode());
    auto* line = qobject_cast<QLineEdit*>(view->indexWidget(view->model()->index(1, 1)));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), Q("old"));
    EXPECT_EQ(line->selectedText(), Q("old"));
    TypeInto(line, Q("ne"));
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "ne");
    Grid->InplaceEditor()->SetSelText("w");
    EXPECT_EQ(line->text(), Q("new"));
    Press(line, Qt::Key_Return);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(sets, (std::vector<AnsiString>{"n", "ne", "new", "new"}));
    EXPECT_EQ(Grid->Cells(1, 1), "new");
    EXPECT_EQ(keys.back(), Key_Return) << "keys in the editor reach the grid";

    sets.clear();
    TypeInto(view, Q("x"));
    ASSERT_TRUE(Grid->EditorMode()) << "typing on the grid starts editing";
    Press(view->indexWidget(view->model()->index(1, 1)), Qt::Key_Escape);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(sets, (std::vector<AnsiString>{"x", "new"}));
    EXPECT_EQ(Grid->Cells(1, 1), "new");
}

TEST_F(GridMirrorTest, KeysInTheEditorReachTheFormsPreviewAndTheGridsKeyEvents) {
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goEditing));
    Form->SetKeyPreview(true);
    std::vector<AnsiString> heard;
    Form->OnKeyDown = [&](TObject*, Integer& Key, TShiftState) {
        heard.push_back("form " + IntToStr(Key));
    };
    Grid->OnKeyUp = [&](TObject*, Integer& Key, TShiftState) {
        heard.push_back("up " + IntToStr(Key));
    };
    // A typed "a" becomes "b", a typed "x" is swallowed.
    Grid->OnKeyPress = [&](TObject*, WideChar& Key) {
        if (Key == u'a')
            Key = u'b';
        else if (Key == u'x')
            Key = 0;
    };
    Form->Show();
    Press(View(), Qt::Key_Return);
    ASSERT_TRUE(Grid->EditorMode());
    QWidget* line = View()->indexWidget(View()->model()->index(1, 1));
    heard.clear();
    TypeInto(line, Q("axc"));
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "bc");
    EXPECT_EQ(heard, (std::vector<AnsiString>{"form 65", "up 65", "form 88", "up 88", "form 67",
                                              "up 67"}));
}

TEST_F(GridMirrorTest, RepaintingTheGridRepaintsItsCellsAndFixedRows) {
    Form->Show();
    Application->ProcessMessages();
    QTableView* view = View();
    TPaintCounter cells;
    TPaintCounter fixedRows;
    view->viewport()->installEventFilter(&cells);
    view->horizontalHeader()->viewport()->installEventFilter(&fixedRows);
    Grid->Invalidate();
    Application->ProcessMessages();
    EXPECT_GT(cells.Count, 0);
    EXPECT_GT(fixedRows.Count, 0);
}

TEST_F(GridMirrorTest, TypingIntoAShorterCellAfterEditingALongerOneStartsAfresh) {
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goEditing));
    Grid->SetCells(1, 2, "short");
    Form->Show();
    QTableView* view = View();
    Press(view, Qt::Key_Return);
    TypeInto(view->indexWidget(view->model()->index(1, 1)), Q("a much longer text"));
    Press(view, Qt::Key_Return);
    Press(view, Qt::Key_Down);
    TypeInto(view, Q("L"));
    ASSERT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Grid->InplaceEditor()->Text(), "L");
    Press(view, Qt::Key_Escape);
    EXPECT_EQ(Grid->Cells(1, 2), "short");
    EXPECT_EQ(Grid->Cells(1, 1), "a much longer text");
}

TEST_F(GridMirrorTest, ABlockOfCellsRoundTripsThroughTheSystemClipboard) {
    TQtDialogService qt;
    TDialogServiceGuard guard{qt};
    const AnsiString block = "id1\tHallo\tBonjour\nid2\t\tSalut\n";
    Clipboard()->SetAsText(block);
    EXPECT_TRUE(Clipboard()->HasFormat("text/plain"));
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goEditing));
    Grid->SetCells(1, 1, "x");
    Grid->SetEditorMode(true);
    Grid->InplaceEditor()->SelectAll();
    Grid->InplaceEditor()->PasteFromClipboard();
    EXPECT_EQ(Grid->Cells(1, 1), block);
    Grid->InplaceEditor()->SelectAll();
    Grid->InplaceEditor()->CutToClipboard();
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Clipboard()->AsText(), block);
}

TEST_F(GridMirrorTest, TheFixedRowStaysWhileRowsScrollAndItsLinesSizeColumns) {
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goColSizing));
    Grid->OnDrawCell = [&](TObject*, Integer, Integer ARow, TRect Rect, TGridDrawState) {
        if (ARow == 0) {
            Grid->Canvas()->Brush()->SetColor(clBlue);
            Grid->Canvas()->FillRect(Rect);
        }
    };
    std::vector<TGridCoord> pressed;
    Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
        pressed.push_back(Grid->MouseCoord(X, Y));
    };
    Form->Show();
    QTableView* view = View();
    Grid->SetTopRow(30);
    Application->ProcessMessages();
    QImage shot = Form->Handle()->grab().toImage();
    auto colourAt = [&](Integer ACol, Integer ARow) {
        TRect cell = Grid->CellRect(ACol, ARow);
        return shot.pixelColor(view->mapTo(Form->Handle(), QPoint(cell.Left + 5, cell.Top + 5)));
    };
    EXPECT_EQ(Grid->CellRect(1, 30).Top, Grid->RowHeights(0) + 1);
    EXPECT_EQ(colourAt(1, 0), QColor(0, 0, 255)) << "the fixed row is still shown";
    EXPECT_NE(colourAt(1, 30), QColor(0, 0, 255));

    // One press reaches OnMouseDown once, in client coordinates, on the
    // fixed row as on the rows below.
    QHeaderView* header = view->horizontalHeader();
    TRect fixedCell = Grid->CellRect(1, 0);
    ClickAt(header->viewport(), QPoint(fixedCell.Left + 5, fixedCell.Top + 5));
    TRect cell = Grid->CellRect(2, 31);
    ClickAt(view->viewport(), view->viewport()->mapFrom(view, QPoint(cell.Left + 5, cell.Top + 5)));
    EXPECT_EQ(pressed, (std::vector<TGridCoord>{{1, 0}, {2, 31}}));
    EXPECT_EQ(Grid->Row(), 31);

    // The user drags the right line of column 1 thirty pixels to the right.
    const int line = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
    auto mouse = [&](QEvent::Type Type, int X, Qt::MouseButtons Buttons) {
        QPointF at(X, 5);
        QMouseEvent event(Type, at, header->viewport()->mapToGlobal(at), Qt::LeftButton, Buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &event);
    };
    mouse(QEvent::MouseButtonPress, line, Qt::LeftButton);
    mouse(QEvent::MouseMove, line + 30, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, line + 30, Qt::NoButton);
    EXPECT_EQ(Grid->ColWidths(1), 64 + 30);
    EXPECT_EQ(Grid->ColWidths(2), 64);
}

TEST_F(GridMirrorTest, LeftColAndCellRectFollowWhatTheViewShows) {
    Grid->SetColCount(7);
    Grid->SetColWidths(0, 40);
    Integer changes = 0;
    Grid->OnTopLeftChanged = [&](TObject*) { ++changes; };
    Form->Show();
    Application->ProcessMessages();
    QTableView* view = View();
    auto shownAt = [&](Integer ACol) {
        QRect shown = view->visualRect(view->model()->index(Grid->Row(), ACol));
        return view->viewport()->mapTo(view, shown.topLeft()).x();
    };
    const Integer partlyShown = Grid->LeftCol() + Grid->VisibleColCount();
    ASSERT_GT(shownAt(partlyShown) + Grid->ColWidths(partlyShown), view->viewport()->width());

    ClickAt(view->viewport(), QPoint(shownAt(partlyShown) + 3, 30));
    EXPECT_EQ(Grid->Col(), partlyShown);
    EXPECT_EQ(Grid->LeftCol(), 2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Grid->CellRect(partlyShown, Grid->Row()).Left, shownAt(partlyShown))
        << "a control placed with CellRect covers the cell the view shows";
    EXPECT_EQ(shownAt(0), 0) << "the fixed column stays";
    EXPECT_EQ(shownAt(2), 41) << "LeftCol comes next";

    view->horizontalScrollBar()->setValue(0);
    EXPECT_EQ(Grid->LeftCol(), 1) << "the user scrolled back";
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(Grid->CellRect(3, Grid->Row()).Left, shownAt(3));
    EXPECT_EQ(Grid->ColWidths(1), 64) << "scrolled out and back, not sized";
}

// Scrolled to its end, the grid shows its last columns; columns that
// narrow bring more of them in sight (the editor sets its widths after it
// is shown).
TEST_F(GridMirrorTest, ColumnsThatNarrowAtTheEndOfTheScrollRangeStayInSight) {
    Grid->SetFixedCols(0);
    for (Integer col = 0; col < 4; ++col)
        Grid->SetColWidths(col, 300);
    Form->Show();
    Application->ProcessMessages();
    QTableView* view = View();
    ASSERT_GE(view->viewport()->width(), 302);
    ASSERT_LT(view->viewport()->width(), 453);
    QScrollBar* scrollBar = view->horizontalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
    EXPECT_EQ(Grid->LeftCol(), 3);
    EXPECT_EQ(view->columnViewportPosition(3), 0);
    for (Integer col = 0; col < 4; ++col)
        Grid->SetColWidths(col, 150);
    Application->ProcessMessages();
    EXPECT_EQ(scrollBar->maximum(), 2);
    EXPECT_EQ(Grid->LeftCol(), 2);
    EXPECT_EQ(view->columnViewportPosition(3), 151);
}

// Rows deleted one after another reach the view as one change, painted
// right even before it: each row keeps its height, and the current cell
// stays.
TEST_F(GridMirrorTest, RowsDeletedInARunReachTheViewWithTheirHeightsAndTheCurrentCell) {
    // Every row in sight, before and after: no scroll range changes.
    Grid->SetBounds(8, 8, 380, 500);
    Grid->SetDefaultRowHeight(4);
    const Integer tall = 20;
    Grid->SetRowHeights(12, tall);
    Grid->SetRowHeights(40, tall);
    for (Integer row = 1; row < 50; ++row)
        Grid->SetCells(1, row, "row " + IntToStr(row));
    Form->Show();
    Application->ProcessMessages();
    Grid->SetRow(35);
    Integer tallPainted = 0;
    Grid->OnDrawCell = [&](TObject*, Integer, Integer ARow, TRect Rect, TGridDrawState) {
        if (ARow == 20)
            tallPainted = Rect.Bottom - Rect.Top;
    };

    for (Integer done = 0; done < 20; ++done)
        Grid->DeleteRow(10);
    Form->Handle()->grab();
    EXPECT_EQ(tallPainted, tall) << "painted before the event loop ran";
    Application->ProcessMessages();

    QTableView* view = View();
    EXPECT_EQ(view->verticalHeader()->count(), 30);
    EXPECT_EQ(Grid->Cells(1, 20), "row 40");
    const int line = static_cast<int>(Grid->GridLineWidth());
    EXPECT_EQ(view->rowHeight(20), tall + line) << "the tall row that moved up";
    EXPECT_EQ(view->rowHeight(12), Grid->DefaultRowHeight() + line) << "in the tall row's place";
    EXPECT_TRUE(view->isRowHidden(0)) << "the fixed row, shown by the header";
    EXPECT_FALSE(view->isRowHidden(1));
    EXPECT_EQ(view->currentIndex().row(), Grid->Row());
    EXPECT_EQ(view->currentIndex().column(), Grid->Col());

    Grid->DeleteRow(25);
    EXPECT_EQ(view->verticalHeader()->count(), 29) << "the next turn's row goes on its own";
}

} // namespace
