#include "editor/EditorControls.h"

#include "clx/Dialogs.h"
#include "rtl/Filer.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtCore/QMimeData>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QWidget>

#include <algorithm>

namespace zxeditorcontrols {

// ---------------------------------------------------------------------------
// TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner) : TWinControl(AOwner) {
    Resize(5, 5);
    SetTabStop(true);
}

void TStringGrid::PublishedProperties(TPropertyBuilder<TStringGrid>& P) {
    P.Property("ColCount", &TStringGrid::ColCount, &TStringGrid::SetColCount).Default(5);
    P.Property("RowCount", &TStringGrid::RowCount, &TStringGrid::SetRowCount).Default(5);
    P.Property("DefaultColWidth", &TStringGrid::DefaultColWidth, &TStringGrid::SetDefaultColWidth)
        .Default(64);
    P.Property("DefaultRowHeight", &TStringGrid::DefaultRowHeight,
               &TStringGrid::SetDefaultRowHeight)
        .Default(24);
    P.Property("DefaultDrawing", &TStringGrid::DefaultDrawing, &TStringGrid::SetDefaultDrawing)
        .Default(true);
    P.Property("Options", &TStringGrid::Options, &TStringGrid::SetOptions)
        .TypeName("TGridOptions");
    P.Property("OnDrawCell", &TStringGrid::OnDrawCell);
    P.Property("OnSelectCell", &TStringGrid::OnSelectCell);
    P.Property("OnGetEditText", &TStringGrid::OnGetEditText);
    P.Property("OnSetEditText", &TStringGrid::OnSetEditText);
}

std::size_t TStringGrid::Index(Integer ACol, Integer ARow) const {
    return static_cast<std::size_t>(ARow) * static_cast<std::size_t>(FColCount) +
           static_cast<std::size_t>(ACol);
}

bool TStringGrid::Inside(Integer ACol, Integer ARow) const {
    return ACol >= 0 && ARow >= 0 && ACol < FColCount && ARow < FRowCount;
}

const AnsiString& TStringGrid::Cells(Integer ACol, Integer ARow) const {
    static const AnsiString outside;
    return Inside(ACol, ARow) ? FCells[Index(ACol, ARow)] : outside;
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, const AnsiString& Value) {
    if (!Inside(ACol, ARow))
        throw EListError(Format("Grid index out of range (%d, %d)", {ACol, ARow}));
    FCells[Index(ACol, ARow)] = Value;
    Changed();
}

TObject* TStringGrid::Objects(Integer ACol, Integer ARow) const {
    return Inside(ACol, ARow) ? FObjects[Index(ACol, ARow)] : nullptr;
}

void TStringGrid::SetObjects(Integer ACol, Integer ARow, TObject* Value) {
    if (!Inside(ACol, ARow))
        throw EListError(Format("Grid index out of range (%d, %d)", {ACol, ARow}));
    FObjects[Index(ACol, ARow)] = Value;
}

void TStringGrid::Resize(Integer Cols, Integer Rows) {
    Cols = std::max(Cols, 1);
    Rows = std::max(Rows, 1);
    if (Cols == FColCount && Rows == FRowCount)
        return;
    if (Cols == FColCount) {
        // Only rows come or go: the cells stay where they are.
        FCells.resize(static_cast<std::size_t>(Cols) * static_cast<std::size_t>(Rows));
        FObjects.resize(FCells.size());
    } else {
        std::vector<AnsiString> cells(static_cast<std::size_t>(Cols) *
                                      static_cast<std::size_t>(Rows));
        std::vector<TObject*> objects(cells.size());
        for (Integer row = 0; row < std::min(Rows, FRowCount); ++row)
            for (Integer column = 0; column < std::min(Cols, FColCount); ++column) {
                std::size_t target = static_cast<std::size_t>(row) * static_cast<std::size_t>(Cols) +
                                     static_cast<std::size_t>(column);
                cells[target] = std::move(FCells[Index(column, row)]);
                objects[target] = FObjects[Index(column, row)];
            }
        FCells = std::move(cells);
        FObjects = std::move(objects);
    }
    FColCount = Cols;
    FRowCount = Rows;
    for (auto height = FRowHeights.lower_bound(Rows); height != FRowHeights.end();)
        height = FRowHeights.erase(height);
    FFixedCols = std::min(FFixedCols, Cols - 1);
    FFixedRows = std::min(FFixedRows, Rows - 1);
    SetCol(FCol);
    SetRow(FRow);
    SetTopRow(FTopRow);
    Changed();
}

void TStringGrid::SetFixedCols(Integer Value) {
    FFixedCols = std::clamp(Value, 0, FColCount - 1);
    SetCol(FCol);
    Changed();
}

void TStringGrid::SetFixedRows(Integer Value) {
    FFixedRows = std::clamp(Value, 0, FRowCount - 1);
    SetRow(FRow);
    SetTopRow(FTopRow);
    Changed();
}

void TStringGrid::SetDefaultColWidth(Integer Value) {
    FDefaultColWidth = std::max(Value, 0);
    Changed();
}

void TStringGrid::SetDefaultRowHeight(Integer Value) {
    FDefaultRowHeight = std::max(Value, 0);
    Changed();
}

Integer TStringGrid::ColWidths(Integer ACol) const {
    auto width = FColWidths.find(ACol);
    return width == FColWidths.end() ? FDefaultColWidth : width->second;
}

void TStringGrid::SetColWidths(Integer ACol, Integer Value) {
    FColWidths[ACol] = std::max(Value, 0);
    Changed();
}

Integer TStringGrid::RowHeights(Integer ARow) const {
    auto height = FRowHeights.find(ARow);
    return height == FRowHeights.end() ? FDefaultRowHeight : height->second;
}

void TStringGrid::SetRowHeights(Integer ARow, Integer Value) {
    if (ARow < 0 || ARow >= FRowCount)
        return;
    if (Value == FDefaultRowHeight)
        FRowHeights.erase(ARow);
    else
        FRowHeights[ARow] = std::max(Value, 0);
    Changed();
}

void TStringGrid::SetCol(Integer Value) {
    FCol = std::clamp(Value, FFixedCols, FColCount - 1);
    Changed();
}

void TStringGrid::SetRow(Integer Value) {
    FRow = std::clamp(Value, FFixedRows, FRowCount - 1);
    Changed();
}

void TStringGrid::SetTopRow(Integer Value) {
    FTopRow = std::clamp(Value, FFixedRows, FRowCount - 1);
    Changed();
}

Integer TStringGrid::VisibleRowCount() const {
    Integer height = Height();
    for (Integer row = 0; row < FFixedRows; ++row)
        height -= RowHeights(row);
    Integer count = 0;
    for (Integer row = FTopRow; row < FRowCount && height >= RowHeights(row); ++row) {
        height -= RowHeights(row);
        ++count;
    }
    return count;
}

TRect TStringGrid::CellRect(Integer ACol, Integer ARow) const {
    Integer left = 0;
    for (Integer column = 0; column < ACol && column < FColCount; ++column)
        left += ColWidths(column) + 1;
    Integer top = 0;
    for (Integer row = 0; row < FFixedRows && row < ARow; ++row)
        top += RowHeights(row) + 1;
    for (Integer row = FTopRow; row < ARow; ++row)
        top += RowHeights(row) + 1;
    return Rect(left, top, left + ColWidths(ACol), top + RowHeights(ARow));
}

void TStringGrid::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TStringGrid::Changed() {
    if (FUpdateCount == 0)
        Invalidate();
}

QWidget* TStringGrid::CreateWidget(QWidget* ParentWidget) {
    auto* widget = new QWidget(ParentWidget);
    widget->setAutoFillBackground(false);
    return widget;
}

bool TStringGrid::WidgetEvent(QEvent* Event) {
    if (Event->type() == QEvent::Paint) {
        Paint();
        return true;
    }
    return TWinControl::WidgetEvent(Event);
}

void TStringGrid::Paint() {
    QPainter painter(WidgetAs<QWidget>());
    painter.fillRect(0, 0, Width(), Height(), ColorToQColor(clDark));
    FCanvas.SetHandle(&painter);
    auto paintRow = [&](Integer ARow, Integer Top) {
        Integer left = 0;
        for (Integer column = 0; column < FColCount && left < Width(); ++column) {
            TRect rect = Rect(left, Top, left + ColWidths(column), Top + RowHeights(ARow));
            TGridDrawState state;
            if (column < FFixedCols || ARow < FFixedRows)
                state.Include(gdFixed);
            else if (column == FCol && ARow == FRow) {
                state.Include(gdSelected);
                state.Include(gdFocused);
            }
            if (FDefaultDrawing || !OnDrawCell) {
                FCanvas.Brush()->SetColor(state.Contains(gdFixed) ? clBtnFace : clBase);
                FCanvas.FillRect(rect);
                FCanvas.TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(column, ARow));
            }
            if (OnDrawCell)
                OnDrawCell(this, column, ARow, rect, state);
            left = rect.Right + 1;
        }
        return Top + RowHeights(ARow) + 1;
    };
    Integer top = 0;
    for (Integer row = 0; row < FFixedRows; ++row)
        top = paintRow(row, top);
    for (Integer row = FTopRow; row < FRowCount && top < Height(); ++row)
        top = paintRow(row, top);
    FCanvas.SetHandle(nullptr);
}

// ---------------------------------------------------------------------------
// TTabControl

TTabControl::TTabControl(TComponent* AOwner)
    : TWinControl(AOwner), FTabs(std::make_unique<TStringList>()) {}

TTabControl::~TTabControl() = default;

void TTabControl::PublishedProperties(TPropertyBuilder<TTabControl>& P) {
    P.Property("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs);
    P.Property("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex).Default(0);
    P.Property("OnChange", &TTabControl::OnChange);
}

void TTabControl::SetTabIndex(Integer Value) {
    if (Value == FTabIndex)
        return;
    FTabIndex = Value;
    if (HandleAllocated())
        WidgetAs<QTabBar>()->setCurrentIndex(Value);
    if (OnChange && !ComponentState().Contains(csLoading))
        OnChange(this);
}

QWidget* TTabControl::CreateWidget(QWidget* ParentWidget) {
    auto* bar = new QTabBar(ParentWidget);
    for (Integer index = 0; index < FTabs->Count(); ++index)
        bar->addTab(QString::fromStdString(FTabs->Get(index)));
    bar->setCurrentIndex(FTabIndex);
    QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int Index) {
        EventBoundary(this, [this, Index] { SetTabIndex(Index); });
    });
    return bar;
}

// ---------------------------------------------------------------------------
// Dialogs

void TOpenDialog::PublishedProperties(TPropertyBuilder<TOpenDialog>& P) {
    P.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
    P.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
    P.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
        .TypeName("TOpenOptions");
    P.Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
}

void TFindDialog::PublishedProperties(TPropertyBuilder<TFindDialog>& P) {
    P.Property("FindText", &TFindDialog::FindText, &TFindDialog::SetFindText);
    P.Property("Options", &TFindDialog::Options, &TFindDialog::SetOptions)
        .TypeName("TFindOptions");
    P.Property("Title", &TFindDialog::Title, &TFindDialog::SetTitle);
    P.Property("OnFind", &TFindDialog::OnFind);
}

bool TFindDialog::Execute() {
    AnsiString text = FFindText;
    if (!DialogService().InputQuery(FTitle, "Text to find:", text))
        return false;
    FFindText = text;
    if (OnFind)
        OnFind(this);
    return true;
}

// ---------------------------------------------------------------------------
// Clipboard

bool TClipboard::Provides(const AnsiString& Format) const {
    if (!qGuiApp)
        return false;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(QString::fromStdString(Format));
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

void RegisterEditorControls() {
    if (GetClass("TStringGrid"))
        return;
    RegisterClass(TStringGrid::StaticClass());
    RegisterClass(TTabControl::StaticClass());
    RegisterClass(TOpenDialog::StaticClass());
    RegisterClass(TSaveDialog::StaticClass());
    RegisterClass(TFindDialog::StaticClass());
}

} // namespace zxeditorcontrols
