// Grids: TCustomGrid, TDrawGrid and TStringGrid.
//
// The grid keeps its whole state: the counts, the fixed rows and columns,
// the sizes, the current cell and the selection, the scroll position and,
// in a string grid, the cells (each row holds only the cells ever set).
// The widget is a QTableView over an adapter model that reads the cells
// from the component; a change of one cell tells the view that cell only,
// and inserting, deleting or moving rows tells it those rows. A delegate
// paints every cell through the grid: with DefaultDrawing the cell's
// background and text first, then OnDrawCell with the grid's Canvas
// painting into the cell's rectangle. The fixed rows are painted in the
// view's header, so they stay in place while the rows below scroll;
// dragging a line between two columns there sizes the column, and the
// width lands in ColWidths. Fixed columns lie in the view and scroll with
// the others. Fixed cells are painted as fixed and cannot be selected.
// Client coordinates (CellRect, MouseCoord, the mouse events) start at the
// top-left corner of the fixed rows.
//
// Form files keep ColWidths and RowHeights as lists of integers, written
// when a size differs from the default.
//
// The in-place editor
// -------------------
// EditorMode shows the editor on the current cell: its text comes from
// GetEditText (a string grid's cell, then OnGetEditText). Every change of
// the editor's text, by the user or by the program, goes to SetEditText (a
// string grid stores it in the cell, then OnSetEditText fires); when editing
// ends (EditorMode off, another cell selected, Return) SetEditText runs once
// more with the final text. Escape ends editing with the text the editor
// started with. Keys typed in the editor reach the grid first, as its own:
// the form's KeyPreview, then OnKeyDown, OnKeyPress and OnKeyUp.
#pragma once

#include "clx/Controls.h"
#include "clx/GapList.h"
#include "rtl/Lists.h"

#include <map>

class TCustomGrid;
class TGridModel;
class TGridView;

ZX_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
        goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
        goRowSelect, goAlwaysShowEditor, goThumbTracking);
using TGridOptions = TSet<TGridOption>;

ZX_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed);
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
    Integer X = 0;
    Integer Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Columns Left..Right and rows Top..Bottom, both ends included.
struct TGridRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

using TDrawCellEvent =
    TEvent<void(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State)>;
using TGetEditEvent = TEvent<void(TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value)>;
using TSetEditEvent =
    TEvent<void(TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value)>;
using TSelectCellEvent = TEvent<void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect)>;

// The grid's in-place editor: a line of text with a selection. It exists
// with its grid; Visible while the grid is in EditorMode.
class TInplaceEdit {
public:
    explicit TInplaceEdit(TCustomGrid& Grid) : FGrid(Grid) {}

    bool Visible() const;
    AnsiString Text() const { return FText; }
    // Every change reaches the grid's SetEditText.
    void SetText(const AnsiString& Value);
    // 0-based character positions of the text.
    Integer SelStart() const { return FSelStart; }
    void SetSelStart(Integer Value);
    Integer SelLength() const { return FSelLength; }
    void SetSelLength(Integer Value);
    AnsiString SelText() const;
    void SetSelText(const AnsiString& Value);
    void SelectAll();
    void ClearSelection() { SetSelText(""); }
    void CutToClipboard();
    void CopyToClipboard() const;
    void PasteFromClipboard();

private:
    friend class TCustomGrid;

    void Reset(const AnsiString& Value);
    // The text the user typed; the selection comes with it.
    void UserEdited(const AnsiString& Value, Integer Cursor);
    void UserSelected(Integer Start, Integer Length);
    void PushToWidget() const;

    TCustomGrid& FGrid;
    AnsiString FText;
    Integer FSelStart = 0;
    Integer FSelLength = 0;
};

class TCustomGrid : public TWinControl {
    ZX_CLASS(TCustomGrid, TWinControl)
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    static void PublishedProperties(TPropertyBuilder<TCustomGrid>& P);

    Integer ColCount() const { return FColCount; }
    void SetColCount(Integer Value);
    Integer RowCount() const { return FRowCount; }
    void SetRowCount(Integer Value);
    Integer FixedCols() const { return FFixedCols; }
    void SetFixedCols(Integer Value);
    Integer FixedRows() const { return FFixedRows; }
    void SetFixedRows(Integer Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);

    Integer DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(Integer Value);
    Integer DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(Integer Value);
    // EListError for an index outside the columns or rows.
    Integer ColWidths(Integer Index) const;
    void SetColWidths(Integer Index, Integer Value);
    Integer RowHeights(Integer Index) const;
    void SetRowHeights(Integer Index, Integer Value);
    Integer GridLineWidth() const { return 1; }

    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }

    // The current cell; setting it asks OnSelectCell and keeps it outside
    // the fixed cells (EInvalidGridOperation otherwise).
    Integer Col() const { return FCol; }
    void SetCol(Integer Value) { FocusCell(Value, FRow); }
    Integer Row() const { return FRow; }
    void SetRow(Integer Value) { FocusCell(FCol, Value); }
    TGridRect Selection() const;
    void SetSelection(const TGridRect& Value);

    // The first scrollable row and column shown.
    Integer TopRow() const { return FTopRow; }
    void SetTopRow(Integer Value);
    Integer LeftCol() const { return FLeftCol; }
    void SetLeftCol(Integer Value);
    // The scrollable rows (columns) that fit whole into the client area.
    Integer VisibleRowCount() const;
    Integer VisibleColCount() const;

    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    TInplaceEdit* InplaceEditor() { return &FInplaceEdit; }

    // The cell's rectangle in client coordinates; empty for a cell not shown.
    TRect CellRect(Integer ACol, Integer ARow) const;
    // The cell under the point; (-1, -1) outside every cell.
    TGridCoord MouseCoord(Integer X, Integer Y) const;
    void MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow) const;

    void DeleteRow(Integer ARow);
    void InsertRow(Integer ARow);
    // The row moves to NewIndex; the rows between shift by one.
    void MoveRow(Integer FromIndex, Integer ToIndex);
    // Row i becomes the row Order[i] was, with its cells, objects and
    // height; rows Order does not name go. Every row moves at once, so
    // sorting or taking out many rows costs one pass and one reset of the
    // view. EInvalidGridOperation for an index outside the rows, a row
    // named twice, or no row left below the fixed ones.
    void ArrangeRows(const std::vector<Integer>& Order);
    void DeleteColumn(Integer ACol);

    // Measures text outside painting too (the grid's font).
    TCanvas* Canvas() const { return FCanvas.get(); }

    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;

    void DestroyHandle() override;

    // --- Used by the view (TGridModel, the delegate).
    virtual AnsiString CellText(Integer ACol, Integer ARow) const;
    void PaintCell(QPainter* Painter, const TRect& Rect, Integer ACol, Integer ARow, bool HasFocus);

protected:
    // The text the editor starts with; OnGetEditText may change it.
    virtual AnsiString GetEditText(Integer ACol, Integer ARow);
    virtual void SetEditText(Integer ACol, Integer ARow, const AnsiString& Value);
    virtual bool SelectCell(Integer ACol, Integer ARow);
    virtual void DrawCell(Integer ACol, Integer ARow, const TRect& Rect, TGridDrawState State);
    virtual void TopLeftChanged();
    // Storage of the cells, for string grids: rows and columns as the grid's
    // counts and moves change them.
    virtual void RowsDeleted(Integer Index) { (void)Index; }
    virtual void RowInserted(Integer Index) { (void)Index; }
    virtual void RowMoved(Integer FromIndex, Integer ToIndex) {
        (void)FromIndex;
        (void)ToIndex;
    }
    virtual void RowsArranged(const std::vector<Integer>& Order) { (void)Order; }
    virtual void ColumnDeleted(Integer Index) { (void)Index; }
    virtual void SizeChanged() {}
    // EListError for an index outside the rows (columns).
    void CheckRow(Integer Index) const;
    void CheckCol(Integer Index) const;
    // A cell's text changed: the view repaints that cell only.
    void InvalidateCell(Integer ACol, Integer ARow);

    void DefineProperties(TFiler* Filer) override;
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetColors() override;
    void ConnectWidget() override;
    void KeyDown(Integer& Key, TShiftState Shift) override;
    void KeyPress(WideChar& Key) override;
    void FontChanged() override;
    void Loaded() override;

private:
    friend class TInplaceEdit;
    friend class TGridView;
    friend class TGridHeader;
    friend class TGridModel;

    // The height of the fixed rows with their lines: the header's.
    Integer FixedRowsHeight() const;
    void PushFixedRows();
    // The user dragged a column's right line in the header.
    void UserSizedColumn(Integer Index, Integer SectionSize);
    // A size list ("ColWidths", "RowHeights") of a form file.
    void DefineSizes(TFiler* Filer, const char* Name, std::vector<Integer> TCustomGrid::*Sizes,
                     Integer TCustomGrid::*Count, Integer TCustomGrid::*Default);

    void FocusCell(Integer ACol, Integer ARow);
    // Moves the current cell by the user's choice (view, keys): refused
    // cells leave it where it was.
    void UserFocusCell(Integer ACol, Integer ARow, bool Extend);
    void MoveCurrent(Integer ACol, Integer ARow, bool MoveAnchor);
    void ShowEditor();
    void HideEditor(bool Accept);
    void EditorTextChanged();
    void ClampCurrent();
    void CountsChanged();
    // Rows removed in a burst reach the view with one reset of the model:
    // before the view is used again it has to catch up.
    void CatchUpView();
    TGridView* View();
    void PushSizes();
    void PushOptions();
    void PushCurrent();
    void PushTopLeft();
    void PushHiddenColumns();
    Integer LastLeftCol(Integer Room) const;
    void PushColumnScrollRange();
    void OpenWidgetEditor();
    void ScrolledByUser();
    bool IsFixed(Integer ACol, Integer ARow) const;
    bool InSelection(Integer ACol, Integer ARow) const;

    Integer FColCount = 5;
    Integer FRowCount = 5;
    Integer FFixedCols = 1;
    Integer FFixedRows = 1;
    TColor FFixedColor = clBtnFace;
    Integer FDefaultColWidth = 64;
    Integer FDefaultRowHeight = 24;
    // Sizes that differ from the defaults; 0 stands for the default.
    std::vector<Integer> FColWidths;
    std::vector<Integer> FRowHeights;
    // Sizes pushed into the view, not dragged by the user.
    bool FPushingSizes = false;
    // The rows at the top that the view hides (the header shows them).
    Integer FHiddenRows = 0;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    bool FDefaultDrawing = true;
    Integer FCol = 1;
    Integer FRow = 1;
    TGridCoord FAnchor{1, 1};
    Integer FTopRow = 1;
    Integer FLeftCol = 1;
    // TopRow and LeftCol are being pushed into the view's scroll bars.
    bool FPushingTopLeft = false;
    bool FEditorMode = false;
    bool FEditorChanging = false;
    AnsiString FEditorOriginal;
    TInplaceEdit FInplaceEdit{*this};
    std::unique_ptr<TCanvas> FCanvas;
    QPointer<TGridModel> FModel;
    QPointer<QWidget> FEditorWidget;
};

class EInvalidGridOperation : public Exception {
    using Exception::Exception;
};

// A grid whose cells the program paints (OnDrawCell); it has no texts.
class TDrawGrid : public TCustomGrid {
    ZX_CLASS(TDrawGrid, TCustomGrid)
public:
    using TCustomGrid::TCustomGrid;
    static void PublishedProperties(TPropertyBuilder<TDrawGrid>& P);
};

class TStringGrid;

// A row or a column of a string grid as a list of strings: reading and
// writing go to the grid's cells. Add writes the first empty cell (-1 when
// there is none); Clear empties the row (column); Insert and Delete raise.
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid& Grid, bool IsColumn, Integer Index)
        : FGrid(Grid), FIsColumn(IsColumn), FIndex(Index) {}

    AnsiString Get(Integer Index) const override;
    Integer GetCount() const override;
    void Clear() override;
    void Delete(Integer Index) override;
    void Insert(Integer Index, const AnsiString& S) override;
    void Put(Integer Index, const AnsiString& S) override;
    TObject* GetObject(Integer Index) const override;
    void PutObject(Integer Index, TObject* AObject) override;
    Integer Add(const AnsiString& S) override;

private:
    TGridCoord CellOf(Integer Index) const;

    TStringGrid& FGrid;
    bool FIsColumn;
    Integer FIndex;
};

class TStringGrid : public TCustomGrid {
    ZX_CLASS(TStringGrid, TCustomGrid)
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;
    static void PublishedProperties(TPropertyBuilder<TStringGrid>& P);

    // Cells outside the grid read as "" and nil; writing one raises
    // EListError.
    const AnsiString& Cells(Integer ACol, Integer ARow) const;
    void SetCells(Integer ACol, Integer ARow, const AnsiString& Value);
    // The text moves in, or out (the cell is left empty), without a copy:
    // rows taken out and put back stay cheap.
    void SetCells(Integer ACol, Integer ARow, AnsiString&& Value);
    AnsiString TakeCells(Integer ACol, Integer ARow);
    TObject* Objects(Integer ACol, Integer ARow) const;
    void SetObjects(Integer ACol, Integer ARow, TObject* Value);
    // The row's (column's) cells as strings; the list lives as long as the
    // grid. Assigning to it replaces the cells from the first on.
    TStrings* Rows(Integer Index);
    TStrings* Cols(Integer Index);
    void SetRows(Integer Index, const TStrings* Value);
    void SetCols(Integer Index, const TStrings* Value);

    AnsiString CellText(Integer ACol, Integer ARow) const override;

protected:
    AnsiString GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const AnsiString& Value) override;
    void RowsDeleted(Integer Index) override;
    void RowInserted(Integer Index) override;
    void RowMoved(Integer FromIndex, Integer ToIndex) override;
    void RowsArranged(const std::vector<Integer>& Order) override;
    void ColumnDeleted(Integer Index) override;
    void SizeChanged() override;

private:
    struct TCell {
        AnsiString Text;
        TObject* Object = nullptr;
    };
    // A row holds the cells up to its last one ever set.
    using TCellRow = std::vector<TCell>;

    const TCell* FindCell(Integer ACol, Integer ARow) const;
    TCell& CellAt(Integer ACol, Integer ARow);

    TGapList<TCellRow> FCells;
    std::map<std::pair<bool, Integer>, std::unique_ptr<TStringGridStrings>> FLists;
};
