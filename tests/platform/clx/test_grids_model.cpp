// String and draw grids as a plain model, with no QApplication in this
// program: cells, rows and columns as lists, counts and fixed cells, the
// current cell and OnSelectCell, the in-place editor's events and its
// clipboard, geometry, and form files in text and binary.
#include "clx/Clipbrd.h"
#include "clx/Dialogs.h"
#include "clx/Forms.h"
#include "clx/Grids.h"
#include "rtl/Filer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

class GridModelTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        Form->SetName("GridForm");
        Grid->SetName("Grid1");
        Grid->SetParent(Form);
    }
    void TearDown() override { delete Form; }

    TForm* Form = NewComponent<TForm>(nullptr);
    TStringGrid* Grid = NewComponent<TStringGrid>(Form);
    TScriptedDialogService Dialogs;
    TDialogServiceGuard Guard{Dialogs};
};

TEST_F(GridModelTest, CellsRowsAndColumnsMoveTogether) {
    Grid->SetColCount(3);
    Grid->SetRowCount(4);
    EXPECT_EQ(Grid->Cells(2, 3), "");
    EXPECT_EQ(Grid->Cells(7, 70), "");
    Grid->SetCells(2, 3, "c");
    Grid->Rows(1)->SetCommaText("a,b");
    EXPECT_EQ(Grid->Cells(0, 1), "a");
    EXPECT_EQ(Grid->Cols(1)->Get(1), "b");
    EXPECT_EQ(Grid->Rows(1)->Count(), 3);
    EXPECT_EQ(Grid->Cols(2)->Count(), 4);
    TObject marker;
    Grid->SetObjects(0, 2, &marker);
    EXPECT_EQ(Grid->Rows(2)->Objects(0), &marker);
    EXPECT_THROW(Grid->SetCells(3, 0, "x"), EInvalidGridOperation);
    EXPECT_THROW(Grid->Rows(1)->Delete(0), EInvalidGridOperation);

    Grid->MoveRow(3, 1);
    EXPECT_EQ(Grid->Cells(2, 1), "c");
    EXPECT_EQ(Grid->Cells(0, 2), "a");
    EXPECT_EQ(Grid->Objects(0, 3), &marker);
    Grid->InsertRow(1);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->Cells(2, 2), "c");
    Grid->DeleteRow(2);
    EXPECT_EQ(Grid->Cells(2, 2), "");
    EXPECT_EQ(Grid->Cells(0, 2), "a");
    Grid->DeleteColumn(0);
    EXPECT_EQ(Grid->Cells(0, 2), "b");
    Grid->SetRowCount(2);
    Grid->SetRowCount(4);
    EXPECT_EQ(Grid->Cells(0, 2), "") << "cells of rows cut off are gone";
    Grid->SetRowCount(2);
    EXPECT_THROW(Grid->DeleteRow(1), EInvalidGridOperation);
}

TEST_F(GridModelTest, TheCurrentCellStaysOutOfFixedCellsAndAsksFirst) {
    Grid->SetColCount(4);
    Grid->SetRowCount(6);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_THROW(Grid->SetRow(0), EInvalidGridOperation);
    EXPECT_THROW(Grid->SetCol(9), EInvalidGridOperation);
    std::vector<std::pair<Integer, Integer>> asked;
    Grid->OnSelectCell = [&](TObject*, Integer ACol, Integer ARow, bool& CanSelect) {
        asked.emplace_back(ACol, ARow);
        CanSelect = ARow != 4;
    };
    Grid->SetRow(3);
    Grid->SetRow(4);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(asked, (std::vector<std::pair<Integer, Integer>>{{1, 3}, {1, 4}}));
    Grid->SetSelection({1, 2, 3, 3});
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 3, 3}));
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goRowSelect));
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 3, 3}));
    Grid->SetRowCount(3);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_THROW(Grid->SetFixedRows(3), EInvalidGridOperation);
}

TEST_F(GridModelTest, TheEditorReportsEveryChangeAndTheFinalText) {
    Grid->SetCells(1, 1, "old");
    std::vector<AnsiString> sets;
    Grid->OnSetEditText = [&](TObject*, Integer ACol, Integer ARow, const AnsiString& Value) {
        EXPECT_EQ(ACol, 1);
        EXPECT_EQ(ARow, 1);
        sets.push_back(Value);
    };
    Grid->SetEditorMode(true);
    EXPECT_FALSE(Grid->EditorMode()) << "editing needs goEditing";
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goEditing));
    Grid->OnGetEditText = [](TObject*, Integer, Integer, AnsiString& Value) { Value += "!"; };
    Grid->SetEditorMode(true);
    TInplaceEdit* editor = Grid->InplaceEditor();
    EXPECT_TRUE(editor->Visible());
    EXPECT_EQ(editor->Text(), "old!");
    EXPECT_EQ(editor->SelLength(), 4);
    editor->SetText("ne");
    editor->SetSelStart(2);
    editor->SetSelText("w");
    EXPECT_EQ(Grid->Cells(1, 1), "new");
    Grid->SetEditorMode(false);
    EXPECT_EQ(sets, (std::vector<AnsiString>{"ne", "new", "new"}));

    sets.clear();
    Grid->SetEditorMode(true);
    editor->SetText("kept");
    Grid->SetRow(2);
    EXPECT_FALSE(Grid->EditorMode()) << "moving ends editing";
    EXPECT_EQ(sets, (std::vector<AnsiString>{"kept", "kept"}));
    EXPECT_EQ(Grid->Cells(1, 1), "kept");
}

TEST_F(GridModelTest, TheEditorCutsCopiesAndPastes) {
    Grid->SetOptions(TGridOptions(Grid->Options()).Include(goEditing));
    Grid->SetCells(1, 1, "alpha beta");
    Grid->SetEditorMode(true);
    TInplaceEdit* editor = Grid->InplaceEditor();
    editor->SetSelStart(6);
    editor->SetSelLength(4);
    editor->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "beta");
    EXPECT_TRUE(Clipboard()->HasFormat("text/plain"));
    editor->SetSelStart(0);
    editor->SetSelLength(6);
    editor->CutToClipboard();
    EXPECT_EQ(editor->Text(), "beta");
    EXPECT_EQ(Clipboard()->AsText(), "alpha ");
    editor->SetSelStart(4);
    editor->PasteFromClipboard();
    EXPECT_EQ(Grid->Cells(1, 1), "betaalpha ");
    editor->SelectAll();
    editor->ClearSelection();
    EXPECT_EQ(Grid->Cells(1, 1), "");
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat("text/plain"));
}

TEST_F(GridModelTest, GeometryFollowsSizesAndScrolling) {
    Grid->SetBounds(0, 0, 200, 100);
    Grid->SetRowCount(100);
    Grid->SetDefaultRowHeight(20);
    Grid->SetColWidths(0, 30);
    EXPECT_EQ(Grid->CellRect(0, 0), Bounds(0, 0, 30, 20));
    EXPECT_EQ(Grid->CellRect(1, 2), Bounds(31, 42, 64, 20));
    EXPECT_EQ(Grid->VisibleRowCount(), 3);
    TGridCoord cell = Grid->MouseCoord(40, 45);
    EXPECT_EQ(cell, (TGridCoord{1, 2}));
    Integer changes = 0;
    Grid->OnTopLeftChanged = [&](TObject*) { ++changes; };
    Grid->SetRow(50);
    EXPECT_EQ(Grid->TopRow(), 48);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Grid->CellRect(1, 2), TRect{});
    EXPECT_EQ(Grid->CellRect(1, 48), Bounds(31, 21, 64, 20));
    EXPECT_EQ(Grid->MouseCoord(40, 10), (TGridCoord{1, 0}));
    EXPECT_EQ(Grid->MouseCoord(40, 30), (TGridCoord{1, 48}));
    EXPECT_EQ(Grid->MouseCoord(-1, 30), (TGridCoord{-1, -1}));
}

TEST_F(GridModelTest, ArrangingRowsMovesCellsObjectsAndHeightsAtOnce) {
    Grid->SetColCount(2);
    Grid->SetRowCount(5);
    TObject marker;
    for (Integer row = 1; row < 5; ++row)
        Grid->SetCells(1, row, "r" + IntToStr(row));
    Grid->SetObjects(0, 3, &marker);
    Grid->SetRowHeights(3, 40);
    Grid->ArrangeRows({0, 3, 1, 4});
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ((std::vector<AnsiString>{Grid->Cells(1, 1), Grid->Cells(1, 2), Grid->Cells(1, 3)}),
              (std::vector<AnsiString>{"r3", "r1", "r4"}));
    EXPECT_EQ(Grid->Objects(0, 1), &marker);
    EXPECT_EQ(Grid->RowHeights(1), 40);
    EXPECT_EQ(Grid->RowHeights(2), Grid->DefaultRowHeight());
    EXPECT_THROW(Grid->ArrangeRows({0, 1, 1}), EInvalidGridOperation);
    EXPECT_THROW(Grid->ArrangeRows({0, 9}), EInvalidGridOperation);
    EXPECT_THROW(Grid->ArrangeRows({0}), EInvalidGridOperation) << "no row below the fixed one";
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->TakeCells(1, 2), "r1");
    EXPECT_EQ(Grid->Cells(1, 2), "");
}

TEST_F(GridModelTest, GridsTravelInFormFilesTextAndBinary) {
    Grid->SetColCount(4);
    Grid->SetRowCount(12);
    Grid->SetFixedCols(0);
    Grid->SetDefaultRowHeight(18);
    Grid->SetOptions(TGridOptions{goEditing, goRowSelect, goTabs});
    auto* draw = NewComponent<TDrawGrid>(Form);
    draw->SetName("Draw1");
    draw->SetParent(Form);
    draw->SetFixedRows(0);
    Grid->SetColWidths(2, 150);
    Grid->SetRowHeights(3, 40);
    zxtest::TTempDir directory;
    for (bool binary : {false, true}) {
        AnsiString file = directory.File(binary ? "grid.bin" : "grid.xfm");
        if (binary)
            WriteComponentResFile(file, Form);
        else
            SaveComponentToTextFile(file, Form);
        std::unique_ptr<TForm> loaded(NewComponent<TForm>(nullptr));
        LoadComponentFromFile(file, loaded.get());
        auto* grid = dynamic_cast<TStringGrid*>(loaded->FindComponent("Grid1"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->ColCount(), 4);
        EXPECT_EQ(grid->RowCount(), 12);
        EXPECT_EQ(grid->FixedCols(), 0);
        EXPECT_EQ(grid->FixedRows(), 1);
        EXPECT_EQ(grid->DefaultRowHeight(), 18);
        EXPECT_EQ(grid->Options(), (TGridOptions{goEditing, goRowSelect, goTabs}));
        EXPECT_EQ(grid->ColWidths(2), 150);
        EXPECT_EQ(grid->ColWidths(1), 64);
        EXPECT_EQ(grid->RowHeights(3), 40);
        EXPECT_EQ(grid->RowHeights(4), 18);
        auto* drawRead = dynamic_cast<TDrawGrid*>(loaded->FindComponent("Draw1"));
        ASSERT_NE(drawRead, nullptr);
        EXPECT_EQ(drawRead->FixedRows(), 0);
    }
    auto readFile = [](const AnsiString& Name) {
        std::ifstream file(Name);
        return AnsiString(std::istreambuf_iterator<char>(file), {});
    };
    const AnsiString text = readFile(directory.File("grid.xfm"));
    EXPECT_NE(text.find("ColWidths = (\n      64\n      64\n      150\n      64)"),
              AnsiString::npos)
        << text;
    EXPECT_EQ(text.find("ColWidths", text.find("Draw1")), AnsiString::npos)
        << "default sizes are not written";
    // A list with more sizes than the grid has columns keeps one per column.
    const AnsiString longer = directory.File("longer.xfm");
    std::ofstream(longer) << "object GridForm: TForm\n  object Grid1: TStringGrid\n"
                             "    ColCount = 2\n    ColWidths = (\n      10\n      20\n"
                             "      30)\n  end\nend\n";
    std::unique_ptr<TForm> loaded(NewComponent<TForm>(nullptr));
    LoadComponentFromFile(longer, loaded.get());
    auto* grid = dynamic_cast<TStringGrid*>(loaded->FindComponent("Grid1"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->ColWidths(1), 20);
    EXPECT_THROW(grid->ColWidths(2), EListError);
}

} // namespace
