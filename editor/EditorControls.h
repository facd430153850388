// Controls the editor needs that the platform does not offer yet: a string
// grid whose cells are painted through OnDrawCell, a tab control, the
// file-dialog settings holders, a find dialog over the dialog service's
// input query, and the clipboard's text test. Their names and members are
// the component library's, so the platform's own controls can take their
// place without changes to the editor.
#pragma once

#include "clx/Controls.h"
#include "rtl/Lists.h"

#include <map>
#include <vector>

// In a namespace of their own, so that they and the platform's controls of
// the same names can be linked into one program while the editor moves
// over.
namespace zxeditorcontrols {

ZX_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
        goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
        goRowSelect, goAlwaysShowEditor, goThumbTracking);
using TGridOptions = TSet<TGridOption>;
ZX_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed);
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
};

using TDrawCellEvent = TEvent<void(TObject* Sender, Integer ACol, Integer ARow, TRect Rect,
                                   TGridDrawState State)>;
using TSelectCellEvent =
    TEvent<void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect)>;
using TGetEditEvent =
    TEvent<void(TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value)>;
using TSetEditEvent =
    TEvent<void(TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value)>;

// Cells of text, each with an object; fixed rows and columns at the top
// and left. Every visible cell is painted by OnDrawCell on Canvas (or as
// plain text with DefaultDrawing).
class TStringGrid : public TWinControl {
    ZX_CLASS(TStringGrid, TWinControl)
public:
    explicit TStringGrid(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TStringGrid>& P);

    // "" and nullptr outside the grid; EListError for setting there.
    const AnsiString& Cells(Integer ACol, Integer ARow) const;
    void SetCells(Integer ACol, Integer ARow, const AnsiString& Value);
    TObject* Objects(Integer ACol, Integer ARow) const;
    void SetObjects(Integer ACol, Integer ARow, TObject* Value);

    // Cells inside both the old and the new size keep their contents.
    Integer ColCount() const { return FColCount; }
    void SetColCount(Integer Value) { Resize(Value, FRowCount); }
    Integer RowCount() const { return FRowCount; }
    void SetRowCount(Integer Value) { Resize(FColCount, Value); }
    Integer FixedCols() const { return FFixedCols; }
    void SetFixedCols(Integer Value);
    Integer FixedRows() const { return FFixedRows; }
    void SetFixedRows(Integer Value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value) { FOptions = Value; }
    Integer DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(Integer Value);
    Integer DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(Integer Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
    Integer ColWidths(Integer ACol) const;
    void SetColWidths(Integer ACol, Integer Value);
    Integer RowHeights(Integer ARow) const;
    void SetRowHeights(Integer ARow, Integer Value);

    // The current cell, kept inside the grid.
    Integer Col() const { return FCol; }
    void SetCol(Integer Value);
    Integer Row() const { return FRow; }
    void SetRow(Integer Value);
    TGridRect Selection() const { return {FCol, FRow, FCol, FRow}; }
    // The first scrollable row shown.
    Integer TopRow() const { return FTopRow; }
    void SetTopRow(Integer Value);
    Integer LeftCol() const { return FFixedCols; }
    // Rows below the fixed ones that fit the control's height.
    Integer VisibleRowCount() const;
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value) { FEditorMode = Value; }
    TCanvas* Canvas() { return &FCanvas; }
    TRect CellRect(Integer ACol, Integer ARow) const;

    // Painting waits until the last EndUpdate.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    bool WidgetEvent(QEvent* Event) override;

private:
    std::size_t Index(Integer ACol, Integer ARow) const;
    bool Inside(Integer ACol, Integer ARow) const;
    void Resize(Integer Cols, Integer Rows);
    void Paint();
    void Changed();

    std::vector<AnsiString> FCells;
    std::vector<TObject*> FObjects;
    Integer FColCount = 0;
    Integer FRowCount = 0;
    Integer FFixedCols = 1;
    Integer FFixedRows = 1;
    Integer FCol = 1;
    Integer FRow = 1;
    Integer FTopRow = 1;
    TGridOptions FOptions;
    Integer FDefaultColWidth = 64;
    Integer FDefaultRowHeight = 24;
    bool FDefaultDrawing = true;
    bool FEditorMode = false;
    std::map<Integer, Integer> FColWidths;
    std::map<Integer, Integer> FRowHeights;
    TCanvas FCanvas;
    Integer FUpdateCount = 0;
};

// A row of tabs; TabIndex is the chosen one.
class TTabControl : public TWinControl {
    ZX_CLASS(TTabControl, TWinControl)
public:
    explicit TTabControl(TComponent* AOwner);
    ~TTabControl() override;
    static void PublishedProperties(TPropertyBuilder<TTabControl>& P);

    TStrings* Tabs() const { return FTabs.get(); }
    void SetTabs(TStrings* Value) { FTabs->Assign(Value); }
    Integer TabIndex() const { return FTabIndex; }
    // OnChange fires for every change but those a form file makes.
    void SetTabIndex(Integer Value);

    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;

private:
    std::unique_ptr<TStringList> FTabs;
    Integer FTabIndex = 0;
};

ZX_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofFileMustExist);
using TOpenOptions = TSet<TOpenOption>;

// What a file dialog asks with.
class TOpenDialog : public TComponent {
    ZX_CLASS(TOpenDialog, TComponent)
public:
    explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TOpenDialog>& P);

    const AnsiString& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const AnsiString& Value) { FDefaultExt = Value; }
    const AnsiString& Filter() const { return FFilter; }
    void SetFilter(const AnsiString& Value) { FFilter = Value; }
    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& Value) { FTitle = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

private:
    AnsiString FDefaultExt;
    AnsiString FFilter;
    AnsiString FTitle;
    TOpenOptions FOptions;
};

class TSaveDialog : public TOpenDialog {
    ZX_CLASS(TSaveDialog, TOpenDialog)
public:
    using TOpenDialog::TOpenDialog;
};

ZX_ENUM(TFindOption, frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown,
        frMatchCase, frWholeWord);
using TFindOptions = TSet<TFindOption>;

class TFindDialog : public TComponent {
    ZX_CLASS(TFindDialog, TComponent)
public:
    explicit TFindDialog(TComponent* AOwner) : TComponent(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TFindDialog>& P);

    const AnsiString& FindText() const { return FFindText; }
    void SetFindText(const AnsiString& Value) { FFindText = Value; }
    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& Value) { FTitle = Value; }
    TFindOptions Options() const { return FOptions; }
    void SetOptions(TFindOptions Value) { FOptions = Value; }
    // Asks for the text through the dialog service, starting from FindText;
    // on OK FindText takes it and OnFind fires.
    bool Execute();

    TNotifyEvent OnFind;

private:
    AnsiString FFindText;
    AnsiString FTitle;
    TFindOptions FOptions;
};

class TClipboard {
public:
    // Whether the system clipboard offers the format ("text/plain").
    bool Provides(const AnsiString& Format) const;
};
TClipboard* Clipboard();

// Registers the classes above for form files. Idempotent.
void RegisterEditorControls();

} // namespace zxeditorcontrols

using namespace zxeditorcontrols;
