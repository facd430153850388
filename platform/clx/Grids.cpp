#include "clx/Grids.h"
#include "clx/QtSupport.h"

#include "clx/Clipbrd.h"
#include "rtl/Filer.h"

#include <QtCore/QAbstractTableModel>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyleOption>
#include <QtWidgets/QStyledItemDelegate>
#include <QtWidgets/QTableView>

#include <algorithm>

namespace {

constexpr const char* GridIndexError = "Grid index out of range";

[[noreturn]] void IndexError(Integer Index) {
    throw EListError(Format("List index out of bounds (%d)", {Index}));
}

// Moves the item at From to To in a vector that may end before either;
// the items between shift by one.
template <typename T> void MoveItem(std::vector<T>& Items, Integer From, Integer To) {
    Integer last = std::max(From, To);
    if (static_cast<Integer>(Items.size()) <= last)
        Items.resize(last + 1);
    auto first = Items.begin();
    if (From < To)
        std::rotate(first + From, first + From + 1, first + To + 1);
    else
        std::rotate(first + To, first + From, first + From + 1);
}

} // namespace

// ---------------------------------------------------------------------------
// The adapter model: reads the grid's texts, tells the view of each change.

class TGridModel : public QAbstractTableModel {
public:
    TGridModel(QObject* Parent, TCustomGrid& Grid) : QAbstractTableModel(Parent), FGrid(&Grid) {}

    void Detach() {
        Resetting();
        FGrid = nullptr;
        Reset();
    }

    int rowCount(const QModelIndex& Parent) const override {
        return FGrid && !Parent.isValid() ? FGrid->RowCount() : 0;
    }
    int columnCount(const QModelIndex& Parent) const override {
        return FGrid && !Parent.isValid() ? FGrid->ColCount() : 0;
    }
    QVariant data(const QModelIndex& Index, int Role) const override {
        if (!FGrid || Role != Qt::DisplayRole)
            return {};
        return ToQString(FGrid->CellText(Index.column(), Index.row()));
    }
    Qt::ItemFlags flags(const QModelIndex&) const override {
        return Qt::ItemIsEnabled | Qt::ItemIsEditable;
    }

    // While a reset is pending the view reads nothing: the changes in
    // between reach it with the reset.
    bool ResetPending() const { return FResetPending; }

    void CellChanged(Integer ACol, Integer ARow) {
        if (FResetPending)
            return;
        QModelIndex cell = index(ARow, ACol);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
    // Each row removed costs the view a walk over all its rows. Past a few
    // removals between two turns of the event loop, the rest of them reach
    // the view as one reset, when the turn ends or the view is next used.
    void RowRemoving(Integer ARow) {
        if (FResetPending)
            return;
        if (FRemovedThisTurn++ == 0)
            QMetaObject::invokeMethod(this, [this] { TurnEnded(); }, Qt::QueuedConnection);
        if (FRemovedThisTurn <= RowsRemovedOneByOne)
            beginRemoveRows({}, ARow, ARow);
        else
            Resetting();
    }
    void RowRemoved() {
        if (!FResetPending)
            endRemoveRows();
    }
    void RowInserting(Integer ARow) {
        if (!FResetPending)
            beginInsertRows({}, ARow, ARow);
    }
    void RowInserted() {
        if (!FResetPending)
            endInsertRows();
    }
    void RowMoving(Integer From, Integer To) {
        if (!FResetPending)
            beginMoveRows({}, From, From, {}, To > From ? To + 1 : To);
    }
    void RowMoved() {
        if (!FResetPending)
            endMoveRows();
    }
    void Resetting() {
        if (!FResetPending)
            beginResetModel();
        FResetPending = true;
    }
    void Reset() {
        FResetPending = false;
        endResetModel();
    }

private:
    static constexpr int RowsRemovedOneByOne = 16;

    void TurnEnded();

    TCustomGrid* FGrid;
    int FRemovedThisTurn = 0;
    bool FResetPending = false;
};

void TGridModel::TurnEnded() {
    FRemovedThisTurn = 0;
    if (FGrid)
        FGrid->CatchUpView();
}

// Sets Header's offset to where Bar's value puts it: the last section at
// the far edge at the end of the range, else the section of the value
// first. True when the offset moved.
bool FollowScrollBar(QHeaderView& Header, const QScrollBar& Bar) {
    const int before = Header.offset();
    if (Bar.maximum() > 0 && Bar.value() == Bar.maximum())
        Header.setOffsetToLastSection();
    else
        Header.setOffsetToSectionPosition(Bar.value());
    return Header.offset() != before;
}

// The view: mouse input goes to the grid, which keeps the current cell and
// the selection itself; the view only scrolls and paints.
class TGridView : public QTableView {
public:
    TGridView(QWidget* Parent, TCustomGrid& Grid) : QTableView(Parent), FGrid(&Grid) {}
    void Detach() { FGrid = nullptr; }
    // The header's height follows the fixed rows.
    void FixedRowsChanged() { updateGeometries(); }

protected:
    // Whatever the view does next, it reads the rows as they are. The
    // control repaints its widget, the view; the cells lie in the viewport
    // and the header, which repaint only when told so.
    bool event(QEvent* Event) override {
        if (FGrid)
            FGrid->CatchUpView();
        if (Event->type() == QEvent::Paint) {
            viewport()->update();
            horizontalHeader()->viewport()->update();
        }
        return QTableView::event(Event);
    }
    bool viewportEvent(QEvent* Event) override {
        if (FGrid)
            FGrid->CatchUpView();
        return QTableView::viewportEvent(Event);
    }
    // Columns scroll as the grid scrolls them: the fixed ones stay where
    // they are and the ones between them and LeftCol are hidden, so the
    // header never moves sideways and the horizontal scroll bar counts the
    // columns that may come first (the grid sets its range).
    //
    // Qt moves a header's offset only when its scroll bar's value changes:
    // rows that narrow while the view stays at the end of its range would be
    // drawn from the old offset, above the view. After each layout the
    // offset follows the scroll bar again, by Qt's own rule for scrolling by
    // whole cells.
    void updateGeometries() override {
        {
            QSignalBlocker blocker(horizontalScrollBar());
            QTableView::updateGeometries();
        }
        horizontalHeader()->setOffset(0);
        if (FGrid)
            FGrid->PushColumnScrollRange();
        if (FollowScrollBar(*verticalHeader(), *verticalScrollBar()))
            viewport()->update();
    }
    void scrollContentsBy(int, int Dy) override { QTableView::scrollContentsBy(0, Dy); }
    void mousePressEvent(QMouseEvent* Event) override {
        setFocus(Qt::MouseFocusReason);
        if (!FGrid || Event->button() != Qt::LeftButton)
            return;
        QPoint at = Event->position().toPoint();
        QModelIndex cell = indexAt(at);
        if (!cell.isValid())
            return;
        bool extend = (Event->modifiers() & Qt::ShiftModifier) != 0;
        TCustomGrid* grid = FGrid;
        EventBoundary(grid, [&] { grid->UserFocusCell(cell.column(), cell.row(), extend); });
    }
    void mouseMoveEvent(QMouseEvent* Event) override {
        if (!FGrid || !(Event->buttons() & Qt::LeftButton) ||
            !FGrid->Options().Contains(goRangeSelect))
            return;
        QModelIndex cell = indexAt(Event->position().toPoint());
        if (!cell.isValid())
            return;
        TCustomGrid* grid = FGrid;
        EventBoundary(grid, [&] { grid->UserFocusCell(cell.column(), cell.row(), true); });
    }
    void mouseDoubleClickEvent(QMouseEvent*) override {
        if (FGrid && FGrid->Options().Contains(goEditing)) {
            TCustomGrid* grid = FGrid;
            EventBoundary(grid, [grid] { grid->SetEditorMode(true); });
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override {}

private:
    TCustomGrid* FGrid;
};

// The fixed rows, stacked in each column's section: they stay where they
// are while the rows below scroll. The mouse on them is the mouse on the
// grid; a drag of a section's right line sizes the column.
class TGridHeader : public QHeaderView {
public:
    TGridHeader(QWidget* Parent, TCustomGrid& Grid)
        : QHeaderView(Qt::Horizontal, Parent), FGrid(&Grid) {
        setSectionsClickable(false);
        setHighlightSections(false);
        setMinimumSectionSize(1);
    }
    void Detach() { FGrid = nullptr; }

    QSize sizeHint() const override {
        QSize size = QHeaderView::sizeHint();
        if (FGrid)
            size.setHeight(FGrid->FixedRowsHeight());
        return size;
    }

protected:
    void paintSection(QPainter* Painter, const QRect& Rect, int Logical) const override {
        if (!FGrid)
            return;
        TCustomGrid* grid = FGrid;
        QStyleOption option;
        option.initFrom(this);
        const QColor lines = QColor::fromRgba(
            static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
        int top = Rect.top();
        for (Integer row = 0; row < grid->FixedRows() && row < grid->RowCount(); ++row) {
            const int height = grid->RowHeights(row);
            EventBoundary(grid, [&] {
                grid->PaintCell(Painter, Bounds(Rect.left(), top, Rect.width() - 1, height),
                                Logical, row, false);
            });
            Painter->save();
            Painter->setPen(lines);
            Painter->drawLine(Rect.right(), top, Rect.right(), top + height);
            Painter->drawLine(Rect.left(), top + height, Rect.right(), top + height);
            Painter->restore();
            top += height + grid->GridLineWidth();
        }
    }
    void mousePressEvent(QMouseEvent* Event) override {
        Forward(Event);
        QHeaderView::mousePressEvent(Event);
    }
    void mouseMoveEvent(QMouseEvent* Event) override {
        Forward(Event);
        QHeaderView::mouseMoveEvent(Event);
    }
    void mouseReleaseEvent(QMouseEvent* Event) override {
        Forward(Event);
        QHeaderView::mouseReleaseEvent(Event);
    }
    void mouseDoubleClickEvent(QMouseEvent* Event) override {
        Forward(Event);
        QHeaderView::mouseDoubleClickEvent(Event);
    }

private:
    // To the grid in its client coordinates.
    void Forward(QMouseEvent* Event) {
        if (!FGrid || !parentWidget())
            return;
        QPointF at = viewport()->mapTo(parentWidget(), Event->position().toPoint());
        QMouseEvent mapped(Event->type(), at, Event->globalPosition(), Event->button(),
                           Event->buttons(), Event->modifiers());
        TCustomGrid* grid = FGrid;
        EventBoundary(grid, [&] { grid->WidgetEvent(&mapped); });
    }

    TCustomGrid* FGrid;
};

namespace {

// Paints every cell through the grid and makes the in-place editor's line
// edit; the grid, not the model, takes the edited text.
class TGridDelegate : public QStyledItemDelegate {
public:
    TGridDelegate(QObject* Parent, TCustomGrid& Grid, std::function<QWidget*(QWidget*)> MakeEditor)
        : QStyledItemDelegate(Parent), FGrid(&Grid), FMakeEditor(std::move(MakeEditor)) {}
    void Detach() {
        FGrid = nullptr;
        FMakeEditor = nullptr;
    }

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        if (!FGrid)
            return;
        const QRect& r = Option.rect;
        TCustomGrid* grid = FGrid;
        EventBoundary(grid, [&] {
            grid->PaintCell(Painter, Bounds(r.x(), r.y(), r.width(), r.height()), Index.column(),
                            Index.row(), (Option.state & QStyle::State_HasFocus) != 0);
        });
    }
    QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        return FMakeEditor ? FMakeEditor(Parent) : nullptr;
    }
    void setEditorData(QWidget*, const QModelIndex&) const override {}
    // Return, Escape and the focus leaving end editing through the grid,
    // not the view.
    bool eventFilter(QObject*, QEvent*) override { return false; }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

private:
    TCustomGrid* FGrid;
    std::function<QWidget*(QWidget*)> FMakeEditor;
};

// Keys typed in the in-place editor reach the grid first.
class TEditorKeyFilter : public QObject {
public:
    TEditorKeyFilter(QObject* Parent, std::function<bool(QEvent*)> OnKey)
        : QObject(Parent), FOnKey(std::move(OnKey)) {}
    bool eventFilter(QObject*, QEvent* Event) override {
        bool key = Event->type() == QEvent::KeyPress || Event->type() == QEvent::KeyRelease;
        return key && FOnKey(Event);
    }

private:
    std::function<bool(QEvent*)> FOnKey;
};

} // namespace

// ---------------------------------------------------------------------------
// TInplaceEdit

bool TInplaceEdit::Visible() const {
    return FGrid.EditorMode();
}

void TInplaceEdit::SetText(const AnsiString& Value) {
    FText = Value;
    FSelStart = std::min<Integer>(FSelStart, static_cast<Integer>(FText.size()));
    FSelLength = 0;
    PushToWidget();
    FGrid.EditorTextChanged();
}

// A new text with no selection: a selection of the text before never
// points beyond it.
void TInplaceEdit::Reset(const AnsiString& Value) {
    FText = Value;
    FSelStart = 0;
    FSelLength = 0;
}

void TInplaceEdit::SetSelStart(Integer Value) {
    FSelStart = std::clamp<Integer>(Value, 0, static_cast<Integer>(FText.size()));
    FSelLength = 0;
    PushToWidget();
}

void TInplaceEdit::SetSelLength(Integer Value) {
    FSelLength = std::clamp<Integer>(Value, 0, static_cast<Integer>(FText.size()) - FSelStart);
    PushToWidget();
}

AnsiString TInplaceEdit::SelText() const {
    return FText.substr(FSelStart, FSelLength);
}

void TInplaceEdit::SetSelText(const AnsiString& Value) {
    AnsiString text = FText;
    text.replace(FSelStart, FSelLength, Value);
    Integer cursor = FSelStart + static_cast<Integer>(Value.size());
    FText = text;
    FSelStart = cursor;
    FSelLength = 0;
    PushToWidget();
    FGrid.EditorTextChanged();
}

void TInplaceEdit::SelectAll() {
    FSelStart = 0;
    FSelLength = static_cast<Integer>(FText.size());
    PushToWidget();
}

void TInplaceEdit::CutToClipboard() {
    CopyToClipboard();
    ClearSelection();
}

void TInplaceEdit::CopyToClipboard() const {
    if (FSelLength > 0)
        Clipboard()->SetAsText(SelText());
}

void TInplaceEdit::PasteFromClipboard() {
    if (Clipboard()->HasFormat("text/plain"))
        SetSelText(Clipboard()->AsText());
}

void TInplaceEdit::UserEdited(const AnsiString& Value, Integer Cursor) {
    FText = Value;
    FSelStart = std::clamp<Integer>(Cursor, 0, static_cast<Integer>(FText.size()));
    FSelLength = 0;
    FGrid.EditorTextChanged();
}

void TInplaceEdit::UserSelected(Integer Start, Integer Length) {
    FSelStart = Start;
    FSelLength = Length;
}

// The line edit counts characters, the text bytes of UTF-8: positions are
// converted through the text before the position.
void TInplaceEdit::PushToWidget() const {
    auto* line = qobject_cast<QLineEdit*>(FGrid.FEditorWidget.data());
    if (!line)
        return;
    QSignalBlocker blocker(line);
    QString text = ToQString(FText);
    if (line->text() != text)
        line->setText(text);
    int start = static_cast<int>(ToQString(FText.substr(0, FSelStart)).size());
    int length = static_cast<int>(ToQString(SelText()).size());
    if (length > 0)
        line->setSelection(start, length);
    else
        line->setCursorPosition(start);
}

// ---------------------------------------------------------------------------
// TCustomGrid

TCustomGrid::TCustomGrid(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    SetControlStyle(TControlStyle{csClickEvents, csDoubleClicks});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 320, 120);
    FCanvas->Font()->Assign(Font());
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::DestroyHandle() {
    if (FModel)
        FModel->Detach();
    if (auto* view = WidgetAs<TGridView>()) {
        view->Detach();
        static_cast<TGridHeader*>(view->horizontalHeader())->Detach();
        if (auto* delegate = static_cast<TGridDelegate*>(view->itemDelegate()))
            delegate->Detach();
    }
    FEditorWidget = nullptr;
    TWinControl::DestroyHandle();
}

void TCustomGrid::PublishedProperties(TPropertyBuilder<TCustomGrid>& P) {
    P.Property("Color", &TControl::Color, &TControl::SetColor).TypeName("TColor").Default(clWindow);
    P.Property("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount).Default(5);
    P.Property("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth)
        .Default(64);
    P.Property("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing)
        .Default(true);
    P.Property("DefaultRowHeight", &TCustomGrid::DefaultRowHeight,
               &TCustomGrid::SetDefaultRowHeight)
        .Default(24);
    P.Property("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor)
        .TypeName("TColor")
        .Default(clBtnFace);
    P.Property("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols).Default(1);
    P.Property("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount).Default(5);
    P.Property("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows).Default(1);
    P.Property("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions)
        .Default(
            TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnDrawCell", &TCustomGrid::OnDrawCell);
    P.Property("OnGetEditText", &TCustomGrid::OnGetEditText);
    P.Property("OnSelectCell", &TCustomGrid::OnSelectCell);
    P.Property("OnSetEditText", &TCustomGrid::OnSetEditText);
    P.Property("OnTopLeftChanged", &TCustomGrid::OnTopLeftChanged);
}

void TCustomGrid::CheckRow(Integer Index) const {
    if (Index < 0 || Index >= FRowCount)
        IndexError(Index);
}

void TCustomGrid::CheckCol(Integer Index) const {
    if (Index < 0 || Index >= FColCount)
        IndexError(Index);
}

void TCustomGrid::SetColCount(Integer Value) {
    Value = std::max<Integer>(Value, 1);
    if (FColCount == Value)
        return;
    if (FModel)
        FModel->Resetting();
    FColCount = Value;
    if (FFixedCols >= Value)
        FFixedCols = Value - 1;
    if (static_cast<Integer>(FColWidths.size()) > Value)
        FColWidths.resize(Value);
    CountsChanged();
}

void TCustomGrid::SetRowCount(Integer Value) {
    Value = std::max<Integer>(Value, 1);
    if (FRowCount == Value)
        return;
    if (FModel)
        FModel->Resetting();
    FRowCount = Value;
    if (FFixedRows >= Value)
        FFixedRows = Value - 1;
    if (static_cast<Integer>(FRowHeights.size()) > Value)
        FRowHeights.resize(Value);
    CountsChanged();
}

// After the counts changed (the model, when there is one, is resetting).
void TCustomGrid::CountsChanged() {
    SizeChanged();
    ClampCurrent();
    CatchUpView();
}

// The view reads the grid again after the model's reset: sizes, hidden
// fixed rows and the current cell are pushed anew.
void TCustomGrid::CatchUpView() {
    if (!FModel || !FModel->ResetPending())
        return;
    FModel->Reset();
    PushSizes();
    PushHiddenColumns();
    PushCurrent();
}

TGridView* TCustomGrid::View() {
    CatchUpView();
    return WidgetAs<TGridView>();
}

void TCustomGrid::SetFixedCols(Integer Value) {
    if (Value < 0 || (Value >= FColCount && !ComponentState().Contains(csLoading)))
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    FFixedCols = Value;
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::SetFixedRows(Integer Value) {
    if (Value < 0 || (Value >= FRowCount && !ComponentState().Contains(csLoading)))
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    FFixedRows = Value;
    ClampCurrent();
    PushFixedRows();
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value) {
    FFixedColor = Value;
    Invalidate();
}

// The current cell, the anchor and the top-left cell back inside the
// scrollable cells.
void TCustomGrid::ClampCurrent() {
    auto clampCol = [this](Integer C) { return std::clamp(C, FFixedCols, FColCount - 1); };
    auto clampRow = [this](Integer R) { return std::clamp(R, FFixedRows, FRowCount - 1); };
    FCol = clampCol(FCol);
    FRow = clampRow(FRow);
    FAnchor = {clampCol(FAnchor.X), clampRow(FAnchor.Y)};
    FLeftCol = clampCol(FLeftCol);
    FTopRow = clampRow(FTopRow);
}

void TCustomGrid::SetDefaultColWidth(Integer Value) {
    if (Value <= 0 || FDefaultColWidth == Value)
        return;
    FDefaultColWidth = Value;
    PushSizes();
}

void TCustomGrid::SetDefaultRowHeight(Integer Value) {
    if (Value <= 0 || FDefaultRowHeight == Value)
        return;
    FDefaultRowHeight = Value;
    PushSizes();
}

Integer TCustomGrid::ColWidths(Integer Index) const {
    CheckCol(Index);
    return Index < static_cast<Integer>(FColWidths.size()) && FColWidths[Index] > 0
               ? FColWidths[Index]
               : FDefaultColWidth;
}

void TCustomGrid::SetColWidths(Integer Index, Integer Value) {
    CheckCol(Index);
    if (static_cast<Integer>(FColWidths.size()) <= Index)
        FColWidths.resize(Index + 1);
    FColWidths[Index] = std::max<Integer>(Value, 0);
    if (auto* view = View()) {
        FPushingSizes = true;
        view->horizontalHeader()->resizeSection(Index, ColWidths(Index) + GridLineWidth());
        FPushingSizes = false;
    }
}

void TCustomGrid::UserSizedColumn(Integer Index, Integer SectionSize) {
    if (FPushingSizes || Index < 0 || Index >= FColCount)
        return;
    if (static_cast<Integer>(FColWidths.size()) <= Index)
        FColWidths.resize(Index + 1);
    FColWidths[Index] = std::max<Integer>(SectionSize - GridLineWidth(), 1);
}

Integer TCustomGrid::RowHeights(Integer Index) const {
    CheckRow(Index);
    return Index < static_cast<Integer>(FRowHeights.size()) && FRowHeights[Index] > 0
               ? FRowHeights[Index]
               : FDefaultRowHeight;
}

void TCustomGrid::SetRowHeights(Integer Index, Integer Value) {
    CheckRow(Index);
    if (static_cast<Integer>(FRowHeights.size()) <= Index)
        FRowHeights.resize(Index + 1);
    FRowHeights[Index] = std::max<Integer>(Value, 0);
    if (auto* view = View())
        view->verticalHeader()->resizeSection(Index, RowHeights(Index) + GridLineWidth());
    if (Index < FFixedRows)
        PushFixedRows();
}

void TCustomGrid::PushSizes() {
    auto* view = View();
    if (!view)
        return;
    FPushingSizes = true;
    view->horizontalHeader()->setDefaultSectionSize(FDefaultColWidth + GridLineWidth());
    view->verticalHeader()->setDefaultSectionSize(FDefaultRowHeight + GridLineWidth());
    for (Integer index = 0; index < static_cast<Integer>(FColWidths.size()); ++index)
        if (FColWidths[index] > 0)
            view->horizontalHeader()->resizeSection(index, FColWidths[index] + GridLineWidth());
    for (Integer index = 0; index < static_cast<Integer>(FRowHeights.size()); ++index)
        if (FRowHeights[index] > 0)
            view->verticalHeader()->resizeSection(index, FRowHeights[index] + GridLineWidth());
    FPushingSizes = false;
    PushFixedRows();
}

Integer TCustomGrid::FixedRowsHeight() const {
    Integer height = 0;
    for (Integer row = 0; row < FFixedRows && row < FRowCount; ++row)
        height += RowHeights(row) + GridLineWidth();
    return height;
}

// The view hides the fixed rows: its header paints them.
void TCustomGrid::PushFixedRows() {
    auto* view = View();
    if (!view)
        return;
    const Integer rows = std::min(std::max(FFixedRows, FHiddenRows), FRowCount);
    for (Integer row = 0; row < rows; ++row)
        view->setRowHidden(row, row < FFixedRows);
    FHiddenRows = FFixedRows;
    view->horizontalHeader()->setVisible(FFixedRows > 0);
    view->FixedRowsChanged();
    view->horizontalHeader()->viewport()->update();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
    if (FOptions == Value)
        return;
    FOptions = Value;
    if (!FOptions.Contains(goEditing))
        HideEditor(true);
    PushOptions();
    Invalidate();
}

void TCustomGrid::PushOptions() {
    auto* view = View();
    if (!view)
        return;
    view->setShowGrid(FOptions.Contains(goVertLine) || FOptions.Contains(goHorzLine));
    view->horizontalHeader()->setSectionResizeMode(
        FOptions.Contains(goColSizing) ? QHeaderView::Interactive : QHeaderView::Fixed);
}

TGridRect TCustomGrid::Selection() const {
    TGridRect result{std::min(FAnchor.X, FCol), std::min(FAnchor.Y, FRow),
                     std::max(FAnchor.X, FCol), std::max(FAnchor.Y, FRow)};
    if (FOptions.Contains(goRowSelect)) {
        result.Left = FFixedCols;
        result.Right = FColCount - 1;
    }
    return result;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
    MoveCurrent(Value.Right, Value.Bottom, true);
    FAnchor = {std::clamp(Value.Left, FFixedCols, FColCount - 1),
               std::clamp(Value.Top, FFixedRows, FRowCount - 1)};
    Invalidate();
}

bool TCustomGrid::IsFixed(Integer ACol, Integer ARow) const {
    return ACol < FFixedCols || ARow < FFixedRows;
}

bool TCustomGrid::InSelection(Integer ACol, Integer ARow) const {
    TGridRect selection = Selection();
    return ACol >= selection.Left && ACol <= selection.Right && ARow >= selection.Top &&
           ARow <= selection.Bottom;
}

void TCustomGrid::FocusCell(Integer ACol, Integer ARow) {
    MoveCurrent(ACol, ARow, true);
}

void TCustomGrid::UserFocusCell(Integer ACol, Integer ARow, bool Extend) {
    if (IsFixed(ACol, ARow))
        return;
    MoveCurrent(ACol, ARow, !(Extend && FOptions.Contains(goRangeSelect)));
}

void TCustomGrid::MoveCurrent(Integer ACol, Integer ARow, bool MoveAnchor) {
    if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount)
        throw EInvalidGridOperation(GridIndexError);
    if (ComponentState().Contains(csLoading)) {
        FCol = ACol;
        FRow = ARow;
        FAnchor = {ACol, ARow};
        return;
    }
    if (IsFixed(ACol, ARow))
        throw EInvalidGridOperation(GridIndexError);
    bool moves = ACol != FCol || ARow != FRow;
    if (moves && !SelectCell(ACol, ARow))
        return;
    if (moves)
        HideEditor(true);
    FCol = ACol;
    FRow = ARow;
    if (MoveAnchor)
        FAnchor = {ACol, ARow};
    Integer visibleRows = std::max<Integer>(VisibleRowCount(), 1);
    if (FRow < FTopRow)
        SetTopRow(FRow);
    else if (FRow >= FTopRow + visibleRows)
        SetTopRow(FRow - visibleRows + 1);
    Integer visibleCols = std::max<Integer>(VisibleColCount(), 1);
    if (FCol < FLeftCol)
        SetLeftCol(FCol);
    else if (FCol >= FLeftCol + visibleCols)
        SetLeftCol(FCol - visibleCols + 1);
    PushCurrent();
    Invalidate();
    if (moves && FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor))
        ShowEditor();
}

void TCustomGrid::PushCurrent() {
    auto* view = View();
    if (!view || !FModel)
        return;
    QSignalBlocker blocker(view->selectionModel());
    view->selectionModel()->setCurrentIndex(FModel->index(FRow, FCol),
                                            QItemSelectionModel::NoUpdate);
}

bool TCustomGrid::SelectCell(Integer ACol, Integer ARow) {
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, canSelect);
    return canSelect;
}

void TCustomGrid::SetTopRow(Integer Value) {
    Value = std::clamp(Value, FFixedRows, FRowCount - 1);
    if (FTopRow == Value)
        return;
    FTopRow = Value;
    PushTopLeft();
    TopLeftChanged();
}

void TCustomGrid::SetLeftCol(Integer Value) {
    Value = std::clamp(Value, FFixedCols, FColCount - 1);
    if (FLeftCol == Value)
        return;
    FLeftCol = Value;
    PushTopLeft();
    TopLeftChanged();
}

// The view's first row and column follow TopRow and LeftCol, less the fixed
// ones that lie above and left of them. The scroll bars' signals must reach
// the view, which scrolls its rows on them; only the grid ignores them.
void TCustomGrid::PushTopLeft() {
    auto* view = View();
    if (!view)
        return;
    FPushingTopLeft = true;
    view->verticalScrollBar()->setValue(FTopRow - FFixedRows);
    view->horizontalScrollBar()->setValue(FLeftCol - FFixedCols);
    FPushingTopLeft = false;
    PushHiddenColumns();
}

// The columns between the fixed ones and LeftCol are scrolled out of sight;
// hiding a column is no sizing by the user.
void TCustomGrid::PushHiddenColumns() {
    auto* view = View();
    if (!view)
        return;
    FPushingSizes = true;
    for (Integer col = 0; col < FColCount; ++col)
        view->setColumnHidden(col, col >= FFixedCols && col < FLeftCol);
    FPushingSizes = false;
}

// The last LeftCol that still fills the view: from it on, every column is in
// sight beside the fixed ones.
Integer TCustomGrid::LastLeftCol(Integer Room) const {
    for (Integer col = 0; col < FFixedCols; ++col)
        Room -= ColWidths(col) + GridLineWidth();
    Integer left = FColCount - 1;
    Room -= ColWidths(left) + GridLineWidth();
    while (left > FFixedCols && Room - ColWidths(left - 1) - GridLineWidth() >= 0) {
        --left;
        Room -= ColWidths(left) + GridLineWidth();
    }
    return left;
}

// The horizontal scroll bar runs from the first column after the fixed ones
// to the last LeftCol; a view that widened brings LeftCol back within it.
void TCustomGrid::PushColumnScrollRange() {
    auto* view = View();
    if (!view)
        return;
    const Integer lastLeft = LastLeftCol(view->viewport()->width());
    QScrollBar* bar = view->horizontalScrollBar();
    FPushingTopLeft = true;
    bar->setRange(0, lastLeft - FFixedCols);
    bar->setPageStep(std::max<Integer>(VisibleColCount(), 1));
    FPushingTopLeft = false;
    if (FLeftCol > lastLeft)
        SetLeftCol(lastLeft);
    else
        PushTopLeft();
}

// The view scrolled on its own (its scroll bars, a range that shrank).
void TCustomGrid::ScrolledByUser() {
    if (FPushingTopLeft)
        return;
    auto* view = View();
    Integer top =
        std::clamp(view->verticalScrollBar()->value() + FFixedRows, FFixedRows, FRowCount - 1);
    Integer left =
        std::clamp(view->horizontalScrollBar()->value() + FFixedCols, FFixedCols, FColCount - 1);
    if (top == FTopRow && left == FLeftCol)
        return;
    FTopRow = top;
    FLeftCol = left;
    PushHiddenColumns();
    TopLeftChanged();
}

void TCustomGrid::TopLeftChanged() {
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

Integer TCustomGrid::VisibleRowCount() const {
    Integer space = Height();
    for (Integer row = 0; row < FFixedRows; ++row)
        space -= RowHeights(row) + GridLineWidth();
    Integer count = 0;
    for (Integer row = FTopRow; row < FRowCount; ++row) {
        space -= RowHeights(row) + GridLineWidth();
        if (space < 0)
            break;
        ++count;
    }
    return count;
}

Integer TCustomGrid::VisibleColCount() const {
    Integer space = Width();
    for (Integer col = 0; col < FFixedCols; ++col)
        space -= ColWidths(col) + GridLineWidth();
    Integer count = 0;
    for (Integer col = FLeftCol; col < FColCount; ++col) {
        space -= ColWidths(col) + GridLineWidth();
        if (space < 0)
            break;
        ++count;
    }
    return count;
}

TRect TCustomGrid::CellRect(Integer ACol, Integer ARow) const {
    if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount)
        return {};
    if ((ACol >= FFixedCols && ACol < FLeftCol) || (ARow >= FFixedRows && ARow < FTopRow))
        return {};
    auto start = [this](Integer Index, Integer Fixed, Integer First, Integer Limit, auto Size) {
        Integer position = 0;
        for (Integer index = 0; index < Fixed && index < Index; ++index)
            position += Size(index) + GridLineWidth();
        for (Integer index = First; index < Index; ++index) {
            position += Size(index) + GridLineWidth();
            if (position > Limit)
                return -1;
        }
        return position;
    };
    Integer x =
        start(ACol, FFixedCols, FLeftCol, Width(), [this](Integer C) { return ColWidths(C); });
    Integer y =
        start(ARow, FFixedRows, FTopRow, Height(), [this](Integer R) { return RowHeights(R); });
    if (x < 0 || y < 0)
        return {};
    return Bounds(x, y, ColWidths(ACol), RowHeights(ARow));
}

TGridCoord TCustomGrid::MouseCoord(Integer X, Integer Y) const {
    auto find = [](Integer At, Integer Fixed, Integer First, Integer Count, auto Size) {
        if (At < 0)
            return -1;
        Integer position = 0;
        for (Integer index = 0; index < Count; ++index) {
            if (index == Fixed)
                index = First;
            position += Size(index) + 1;
            if (At < position)
                return index;
        }
        return -1;
    };
    Integer col =
        find(X, FFixedCols, FLeftCol, FColCount, [this](Integer C) { return ColWidths(C); });
    Integer row =
        find(Y, FFixedRows, FTopRow, FRowCount, [this](Integer R) { return RowHeights(R); });
    if (col < 0 || row < 0)
        return {-1, -1};
    return {col, row};
}

void TCustomGrid::MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow) const {
    TGridCoord coord = MouseCoord(X, Y);
    ACol = coord.X;
    ARow = coord.Y;
}

void TCustomGrid::DeleteRow(Integer ARow) {
    CheckRow(ARow);
    if (FRowCount - 1 <= FFixedRows)
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    HideEditor(true);
    if (FModel)
        FModel->RowRemoving(ARow);
    RowsDeleted(ARow);
    if (ARow < static_cast<Integer>(FRowHeights.size()))
        FRowHeights.erase(FRowHeights.begin() + ARow);
    --FRowCount;
    if (FModel)
        FModel->RowRemoved();
    ClampCurrent();
    // Pushed when the view catches up with the reset.
    if (FModel && FModel->ResetPending())
        return;
    if (ARow <= FFixedRows)
        PushFixedRows();
    PushCurrent();
}

void TCustomGrid::InsertRow(Integer ARow) {
    if (ARow < 0 || ARow > FRowCount)
        IndexError(ARow);
    HideEditor(true);
    if (FModel)
        FModel->RowInserting(ARow);
    RowInserted(ARow);
    if (ARow < static_cast<Integer>(FRowHeights.size()))
        FRowHeights.insert(FRowHeights.begin() + ARow, 0);
    ++FRowCount;
    if (FModel)
        FModel->RowInserted();
    if (ARow <= FFixedRows)
        PushFixedRows();
    PushCurrent();
}

void TCustomGrid::MoveRow(Integer FromIndex, Integer ToIndex) {
    CheckRow(FromIndex);
    CheckRow(ToIndex);
    if (FromIndex == ToIndex)
        return;
    HideEditor(true);
    if (FModel)
        FModel->RowMoving(FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    if (std::min(FromIndex, ToIndex) < static_cast<Integer>(FRowHeights.size()))
        MoveItem(FRowHeights, FromIndex, ToIndex);
    if (FModel)
        FModel->RowMoved();
    if (std::min(FromIndex, ToIndex) <= FFixedRows)
        PushFixedRows();
}

void TCustomGrid::ArrangeRows(const std::vector<Integer>& Order) {
    const auto count = static_cast<Integer>(Order.size());
    if (count <= FFixedRows)
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    std::vector<bool> named(static_cast<std::size_t>(FRowCount));
    for (Integer row : Order) {
        if (row < 0 || row >= FRowCount || named[static_cast<std::size_t>(row)])
            throw EInvalidGridOperation(GridIndexError);
        named[static_cast<std::size_t>(row)] = true;
    }
    HideEditor(true);
    if (FModel)
        FModel->Resetting();
    RowsArranged(Order);
    std::vector<Integer> heights(static_cast<std::size_t>(count));
    for (Integer index = 0; index < count; ++index)
        if (Order[index] < static_cast<Integer>(FRowHeights.size()))
            heights[index] = FRowHeights[Order[index]];
    FRowHeights = std::move(heights);
    FRowCount = count;
    CountsChanged();
}

void TCustomGrid::DeleteColumn(Integer ACol) {
    CheckCol(ACol);
    if (FColCount - 1 <= FFixedCols)
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    HideEditor(true);
    if (FModel)
        FModel->Resetting();
    ColumnDeleted(ACol);
    if (ACol < static_cast<Integer>(FColWidths.size()))
        FColWidths.erase(FColWidths.begin() + ACol);
    --FColCount;
    CountsChanged();
}

void TCustomGrid::InvalidateCell(Integer ACol, Integer ARow) {
    if (FModel)
        FModel->CellChanged(ACol, ARow);
    if (ARow < FFixedRows)
        if (auto* view = View())
            view->horizontalHeader()->viewport()->update();
}

AnsiString TCustomGrid::CellText(Integer, Integer) const {
    return "";
}

AnsiString TCustomGrid::GetEditText(Integer ACol, Integer ARow) {
    AnsiString value;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, value);
    return value;
}

void TCustomGrid::SetEditText(Integer ACol, Integer ARow, const AnsiString& Value) {
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

void TCustomGrid::SetEditorMode(bool Value) {
    if (Value)
        ShowEditor();
    else
        HideEditor(true);
}

void TCustomGrid::ShowEditor() {
    if (FEditorMode || !FOptions.Contains(goEditing) || IsFixed(FCol, FRow))
        return;
    FEditorOriginal = GetEditText(FCol, FRow);
    FInplaceEdit.Reset(FEditorOriginal);
    FEditorMode = true;
    OpenWidgetEditor();
    FInplaceEdit.SelectAll();
}

// Editing ends with the final text (or, refused, the text it started with)
// going to SetEditText once more.
void TCustomGrid::HideEditor(bool Accept) {
    if (!FEditorMode)
        return;
    FEditorMode = false;
    if (!Accept)
        FInplaceEdit.Reset(FEditorOriginal);
    if (auto* view = View(); view && FModel) {
        bool hadFocus = FEditorWidget && FEditorWidget->hasFocus();
        FEditorWidget = nullptr;
        view->closePersistentEditor(FModel->index(FRow, FCol));
        if (hadFocus)
            view->setFocus();
    }
    SetEditText(FCol, FRow, FInplaceEdit.FText);
    InvalidateCell(FCol, FRow);
}

void TCustomGrid::EditorTextChanged() {
    if (FEditorMode)
        SetEditText(FCol, FRow, FInplaceEdit.FText);
}

void TCustomGrid::OpenWidgetEditor() {
    auto* view = View();
    if (!view || !FModel)
        return;
    QModelIndex cell = FModel->index(FRow, FCol);
    view->openPersistentEditor(cell);
    if (QWidget* editor = view->indexWidget(cell))
        editor->setFocus();
}

void TCustomGrid::KeyDown(Integer& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    bool extend = Shift.Contains(ssShift);
    Integer page = std::max<Integer>(VisibleRowCount(), 1);
    auto moveTo = [&](Integer ACol, Integer ARow) {
        HideEditor(true);
        UserFocusCell(std::clamp(ACol, FFixedCols, FColCount - 1),
                      std::clamp(ARow, FFixedRows, FRowCount - 1), extend);
        Key = 0;
    };
    switch (Key) {
    case Key_Return:
    case Key_Enter:
    case Key_F2:
        if (!FOptions.Contains(goEditing))
            return;
        if (FEditorMode && Key != Key_F2)
            HideEditor(true);
        else
            ShowEditor();
        Key = 0;
        return;
    case Key_Escape:
        if (FEditorMode) {
            HideEditor(false);
            Key = 0;
        }
        return;
    case Key_Up:
        return moveTo(FCol, FRow - 1);
    case Key_Down:
        return moveTo(FCol, FRow + 1);
    case Key_PageUp:
        return moveTo(FCol, FRow - page);
    case Key_PageDown:
        return moveTo(FCol, FRow + page);
    case Key_Tab:
    case Key_Backtab: {
        if (!FOptions.Contains(goTabs))
            return;
        extend = false;
        bool backwards = Key == Key_Backtab || Shift.Contains(ssShift);
        if (backwards)
            return moveTo(FCol > FFixedCols ? FCol - 1 : FColCount - 1,
                          FCol > FFixedCols ? FRow : FRow - 1);
        return moveTo(FCol + 1 < FColCount ? FCol + 1 : FFixedCols,
                      FCol + 1 < FColCount ? FRow : FRow + 1);
    }
    default:
        break;
    }
    if (FEditorMode)
        return;
    switch (Key) {
    case Key_Left:
        return moveTo(FCol - 1, FRow);
    case Key_Right:
        return moveTo(FCol + 1, FRow);
    case Key_Home:
        return moveTo(FFixedCols, Shift.Contains(ssCtrl) ? FFixedRows : FRow);
    case Key_End:
        return moveTo(FColCount - 1, Shift.Contains(ssCtrl) ? FRowCount - 1 : FRow);
    default:
        break;
    }
}

// A character typed on the grid starts editing with that character.
void TCustomGrid::KeyPress(WideChar& Key) {
    TWinControl::KeyPress(Key);
    if (Key < u' ' || FEditorMode || !FOptions.Contains(goEditing))
        return;
    ShowEditor();
    if (!FEditorMode)
        return;
    std::u16string typed(1, Key);
    FInplaceEdit.SetText(FromQString(QString::fromStdU16String(typed)));
    FInplaceEdit.SetSelStart(static_cast<Integer>(FInplaceEdit.Text().size()));
    Key = 0;
}

void TCustomGrid::FontChanged() {
    TWinControl::FontChanged();
    FCanvas->Font()->Assign(Font());
}

void TCustomGrid::Loaded() {
    TWinControl::Loaded();
    if (FFixedRows >= FRowCount)
        FFixedRows = FRowCount - 1;
    if (FFixedCols >= FColCount)
        FFixedCols = FColCount - 1;
    SizeChanged();
    ClampCurrent();
}

void TCustomGrid::DefineProperties(TFiler* Filer) {
    TWinControl::DefineProperties(Filer);
    DefineSizes(Filer, "ColWidths", &TCustomGrid::FColWidths, &TCustomGrid::FColCount,
                &TCustomGrid::FDefaultColWidth);
    DefineSizes(Filer, "RowHeights", &TCustomGrid::FRowHeights, &TCustomGrid::FRowCount,
                &TCustomGrid::FDefaultRowHeight);
}

// Every size of the list, written when one differs from the default (or
// from the inherited form's grid); a list read holds at most one size per
// column (row), each at least 0.
void TCustomGrid::DefineSizes(TFiler* Filer, const char* Name,
                              std::vector<Integer> TCustomGrid::*Sizes, Integer TCustomGrid::*Count,
                              Integer TCustomGrid::*Default) {
    auto sizeAt = [&](const TCustomGrid& Grid, Integer Index) {
        const std::vector<Integer>& sizes = Grid.*Sizes;
        return Index < static_cast<Integer>(sizes.size()) && sizes[Index] > 0 ? sizes[Index]
                                                                              : Grid.*Default;
    };
    auto* ancestor = dynamic_cast<TCustomGrid*>(Filer->Ancestor());
    bool hasData = false;
    for (Integer index = 0; index < this->*Count && !hasData; ++index) {
        const Integer size = sizeAt(*this, index);
        hasData = ancestor ? index >= ancestor->*Count || sizeAt(*ancestor, index) != size
                           : size != this->*Default;
    }
    Filer->DefineProperty(
        Name,
        [this, Sizes, Count](TReader& Reader) {
            std::vector<Integer>& sizes = this->*Sizes;
            sizes.clear();
            Reader.ReadListBegin();
            for (Integer index = 0; !Reader.EndOfList(); ++index) {
                const Integer size = Reader.ReadInteger();
                if (index < this->*Count)
                    sizes.push_back(std::max<Integer>(size, 0));
            }
            Reader.ReadListEnd();
            PushSizes();
        },
        [&, sizeAt](TWriter& Writer) {
            Writer.WriteListBegin();
            for (Integer index = 0; index < this->*Count; ++index)
                Writer.WriteInteger(sizeAt(*this, index));
            Writer.WriteListEnd();
        },
        hasData);
}

void TCustomGrid::PaintCell(QPainter* Painter, const TRect& Rect, Integer ACol, Integer ARow,
                            bool HasFocus) {
    TGridDrawState state;
    bool focusedCell = ACol == FCol && ARow == FRow;
    if (IsFixed(ACol, ARow))
        state.Include(gdFixed);
    else if (InSelection(ACol, ARow))
        state.Include(gdSelected);
    if (focusedCell && (HasFocus || Focused()))
        state.Include(gdFocused);
    Painter->save();
    Painter->setClipRect(
        QRect(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top));
    FCanvas->SetHandle(Painter);
    FCanvas->Font()->Assign(Font());
    if (FDefaultDrawing) {
        bool highlighted =
            state.Contains(gdSelected) && (!focusedCell || FOptions.Contains(goDrawFocusSelected) ||
                                           FOptions.Contains(goRowSelect));
        FCanvas->Brush()->SetColor(state.Contains(gdFixed) ? FFixedColor
                                   : highlighted           ? clHighlight
                                                           : Color());
        if (highlighted)
            FCanvas->Font()->SetColor(clHighlightText);
        FCanvas->TextRect(Rect, Rect.Left + 2, Rect.Top + 2, CellText(ACol, ARow));
        if (focusedCell && !state.Contains(gdFixed))
            FCanvas->DrawFocusRect(Rect);
    }
    DrawCell(ACol, ARow, Rect, state);
    FCanvas->SetHandle(nullptr);
    Painter->restore();
}

void TCustomGrid::DrawCell(Integer ACol, Integer ARow, const TRect& Rect, TGridDrawState State) {
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, Rect, State);
}

QWidget* TCustomGrid::CreateWidget(QWidget* ParentWidget) {
    auto* view = new TGridView(ParentWidget, *this);
    view->setHorizontalHeader(new TGridHeader(view, *this));
    view->setFrameShape(QFrame::NoFrame);
    FModel = new TGridModel(view, *this);
    view->setModel(FModel);
    FHiddenRows = 0;
    view->setItemDelegate(new TGridDelegate(view, *this, [this](QWidget* Parent) {
        auto* line = new QLineEdit(Parent);
        line->setFrame(false);
        FEditorWidget = line;
        FInplaceEdit.PushToWidget();
        QObject::connect(line, &QLineEdit::textEdited, line, [this, line](const QString& Text) {
            EventBoundary(this, [&] {
                int cursor = line->cursorPosition();
                FInplaceEdit.UserEdited(
                    FromQString(Text), static_cast<Integer>(FromQString(Text.left(cursor)).size()));
            });
        });
        QObject::connect(line, &QLineEdit::selectionChanged, line, [this, line] {
            QString text = line->text();
            int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
            int length = static_cast<int>(line->selectedText().size());
            FInplaceEdit.UserSelected(
                static_cast<Integer>(FromQString(text.left(start)).size()),
                static_cast<Integer>(FromQString(text.mid(start, length)).size()));
        });
        line->installEventFilter(new TEditorKeyFilter(line, [this, line](QEvent* Event) {
            bool taken = false;
            EventBoundary(this, [&] { taken = KeyEvent(Event, line); });
            return taken;
        }));
        return line;
    }));
    view->verticalHeader()->hide();
    view->horizontalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    return view;
}

void TCustomGrid::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushSizes();
    PushOptions();
    PushCurrent();
    PushTopLeft();
    if (FEditorMode)
        OpenWidgetEditor();
}

void TCustomGrid::UpdateWidgetColors() {
    TWinControl::UpdateWidgetColors();
    if (auto* view = View()) {
        QPalette palette = view->palette();
        palette.setColor(QPalette::Base, ColorToQColor(Color()));
        view->setPalette(palette);
    }
}

void TCustomGrid::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* view = View();
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionResized, view,
                     [this](int Logical, int, int Size) {
                         EventBoundary(this, [&] { UserSizedColumn(Logical, Size); });
                     });
    // A range laid out after TopRow or LeftCol were set gets them pushed again.
    for (QScrollBar* bar : {view->verticalScrollBar(), view->horizontalScrollBar()}) {
        QObject::connect(bar, &QScrollBar::valueChanged, view,
                         [this] { EventBoundary(this, [this] { ScrolledByUser(); }); });
        QObject::connect(bar, &QScrollBar::rangeChanged, view, [this] { PushTopLeft(); });
    }
}

// ---------------------------------------------------------------------------
// TDrawGrid

void TDrawGrid::PublishedProperties(TPropertyBuilder<TDrawGrid>&) {}

// ---------------------------------------------------------------------------
// TStringGridStrings

TGridCoord TStringGridStrings::CellOf(Integer Index) const {
    if (Index < 0 || Index >= GetCount())
        IndexError(Index);
    return FIsColumn ? TGridCoord{FIndex, Index} : TGridCoord{Index, FIndex};
}

Integer TStringGridStrings::GetCount() const {
    return FIsColumn ? FGrid.RowCount() : FGrid.ColCount();
}

AnsiString TStringGridStrings::Get(Integer Index) const {
    TGridCoord cell = CellOf(Index);
    return FGrid.Cells(cell.X, cell.Y);
}

void TStringGridStrings::Put(Integer Index, const AnsiString& S) {
    TGridCoord cell = CellOf(Index);
    FGrid.SetCells(cell.X, cell.Y, S);
}

TObject* TStringGridStrings::GetObject(Integer Index) const {
    TGridCoord cell = CellOf(Index);
    return FGrid.Objects(cell.X, cell.Y);
}

void TStringGridStrings::PutObject(Integer Index, TObject* AObject) {
    TGridCoord cell = CellOf(Index);
    FGrid.SetObjects(cell.X, cell.Y, AObject);
}

Integer TStringGridStrings::Add(const AnsiString& S) {
    for (Integer index = 0; index < GetCount(); ++index)
        if (Get(index).empty()) {
            Put(index, S);
            return index;
        }
    return -1;
}

void TStringGridStrings::Clear() {
    for (Integer index = 0; index < GetCount(); ++index) {
        Put(index, "");
        PutObject(index, nullptr);
    }
}

void TStringGridStrings::Delete(Integer) {
    throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Insert(Integer, const AnsiString&) {
    throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

// ---------------------------------------------------------------------------
// TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

void TStringGrid::PublishedProperties(TPropertyBuilder<TStringGrid>&) {}

const TStringGrid::TCell* TStringGrid::FindCell(Integer ACol, Integer ARow) const {
    if (ARow < 0 || ARow >= static_cast<Integer>(FCells.Count()) || ACol < 0 ||
        ACol >= static_cast<Integer>(FCells[ARow].size()))
        return nullptr;
    return &FCells[ARow][ACol];
}

TStringGrid::TCell& TStringGrid::CellAt(Integer ACol, Integer ARow) {
    if (ACol < 0 || ACol >= ColCount())
        throw EInvalidGridOperation(GridIndexError);
    if (ARow < 0 || ARow >= RowCount())
        throw EInvalidGridOperation(GridIndexError);
    if (static_cast<Integer>(FCells.Count()) <= ARow)
        FCells.SetCount(ARow + 1);
    TCellRow& row = FCells[ARow];
    if (static_cast<Integer>(row.size()) <= ACol)
        row.resize(ACol + 1);
    return row[ACol];
}

const AnsiString& TStringGrid::Cells(Integer ACol, Integer ARow) const {
    static const AnsiString none;
    const TCell* cell = FindCell(ACol, ARow);
    return cell ? cell->Text : none;
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, const AnsiString& Value) {
    TCell& cell = CellAt(ACol, ARow);
    if (cell.Text == Value)
        return;
    cell.Text = Value;
    InvalidateCell(ACol, ARow);
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, AnsiString&& Value) {
    TCell& cell = CellAt(ACol, ARow);
    if (cell.Text == Value)
        return;
    cell.Text = std::move(Value);
    InvalidateCell(ACol, ARow);
}

AnsiString TStringGrid::TakeCells(Integer ACol, Integer ARow) {
    TCell& cell = CellAt(ACol, ARow);
    AnsiString text = std::move(cell.Text);
    cell.Text.clear();
    if (!text.empty())
        InvalidateCell(ACol, ARow);
    return text;
}

TObject* TStringGrid::Objects(Integer ACol, Integer ARow) const {
    const TCell* cell = FindCell(ACol, ARow);
    return cell ? cell->Object : nullptr;
}

void TStringGrid::SetObjects(Integer ACol, Integer ARow, TObject* Value) {
    CellAt(ACol, ARow).Object = Value;
}

TStrings* TStringGrid::Rows(Integer Index) {
    CheckRow(Index);
    auto& list = FLists[{false, Index}];
    if (!list)
        list = std::make_unique<TStringGridStrings>(*this, false, Index);
    return list.get();
}

TStrings* TStringGrid::Cols(Integer Index) {
    CheckCol(Index);
    auto& list = FLists[{true, Index}];
    if (!list)
        list = std::make_unique<TStringGridStrings>(*this, true, Index);
    return list.get();
}

void TStringGrid::SetRows(Integer Index, const TStrings* Value) {
    Rows(Index)->Assign(Value);
}

void TStringGrid::SetCols(Integer Index, const TStrings* Value) {
    Cols(Index)->Assign(Value);
}

AnsiString TStringGrid::CellText(Integer ACol, Integer ARow) const {
    return Cells(ACol, ARow);
}

AnsiString TStringGrid::GetEditText(Integer ACol, Integer ARow) {
    AnsiString value = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, value);
    return value;
}

void TStringGrid::SetEditText(Integer ACol, Integer ARow, const AnsiString& Value) {
    SetCells(ACol, ARow, Value);
    TCustomGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::RowsDeleted(Integer Index) {
    if (Index < static_cast<Integer>(FCells.Count()))
        FCells.Delete(Index);
}

void TStringGrid::RowInserted(Integer Index) {
    if (Index < static_cast<Integer>(FCells.Count()))
        FCells.Insert(Index, TCellRow());
}

void TStringGrid::RowMoved(Integer FromIndex, Integer ToIndex) {
    const auto count = static_cast<Integer>(FCells.Count());
    if (std::min(FromIndex, ToIndex) >= count)
        return;
    if (std::max(FromIndex, ToIndex) >= count)
        FCells.SetCount(std::max(FromIndex, ToIndex) + 1);
    FCells.Move(FromIndex, ToIndex);
}

void TStringGrid::RowsArranged(const std::vector<Integer>& Order) {
    std::vector<TCellRow> rows(Order.size());
    for (std::size_t index = 0; index < Order.size(); ++index)
        if (Order[index] < static_cast<Integer>(FCells.Count()))
            rows[index] = std::move(FCells[static_cast<std::size_t>(Order[index])]);
    FCells.Assign(std::move(rows));
}

void TStringGrid::ColumnDeleted(Integer Index) {
    for (std::size_t index = 0; index < FCells.Count(); ++index)
        if (TCellRow& row = FCells[index]; Index < static_cast<Integer>(row.size()))
            row.erase(row.begin() + Index);
}

void TStringGrid::SizeChanged() {
    if (static_cast<Integer>(FCells.Count()) > RowCount())
        FCells.SetCount(RowCount());
    for (std::size_t index = 0; index < FCells.Count(); ++index)
        if (TCellRow& row = FCells[index]; static_cast<Integer>(row.size()) > ColCount())
            row.resize(ColCount());
}
