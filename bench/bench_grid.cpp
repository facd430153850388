// A string grid of 4 columns shown offscreen against a bare QTableView over
// a QStandardItemModel, at 5,000 and 50,000 rows: filling the cells, the
// first paint, measuring every cell's text, sorting the rows by exchanging
// cell texts, deleting a fifth of the rows from the middle, and changing one
// cell while shown. This file also starts the program: the offscreen
// application the other bench_grid files use too.
#include "clx/Forms.h"
#include "clx/Grids.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QStandardItemModel>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTableView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <numeric>

namespace {

constexpr Integer Columns = 4;

AnsiString CellTextOf(Integer Row, Integer Col, Integer Rows) {
    return "Text " + IntToStr((Row * 7919) % Rows) + " of column " + IntToStr(Col);
}

struct TShownGrid {
    explicit TShownGrid(Integer Rows) : RowsWanted(Rows) {
        Form = NewForm<TForm>(Application);
        Form->SetBounds(0, 0, 420, 320);
        Grid = NewComponent<TStringGrid>(Form);
        Grid->SetParent(Form);
        Grid->SetAlign(alClient);
        Grid->SetColCount(Columns);
        Grid->SetFixedCols(0);
        Grid->SetRowCount(Rows + 1);
    }
    ~TShownGrid() {
        delete Form;
        Application->ProcessMessages();
    }
    void Show() {
        Form->Show();
        Application->ProcessMessages();
    }
    void Fill() {
        for (Integer row = 1; row <= RowsWanted; ++row)
            for (Integer col = 0; col < Columns; ++col)
                Grid->SetCells(col, row, CellTextOf(row, col, RowsWanted));
    }

    Integer RowsWanted;
    TForm* Form = nullptr;
    TStringGrid* Grid = nullptr;
};

struct TBareTable {
    explicit TBareTable(int Rows) : Model(Rows + 1, Columns), RowsWanted(Rows) {
        View.setModel(&Model);
        View.resize(420, 320);
    }
    void Show() {
        View.show();
        QApplication::processEvents();
    }
    void Fill() {
        for (int row = 1; row <= RowsWanted; ++row)
            for (int col = 0; col < Columns; ++col)
                Model.setItem(row, col,
                              new QStandardItem(QString::fromStdString(
                                  CellTextOf(row, col, RowsWanted))));
    }

    QStandardItemModel Model;
    QTableView View;
    int RowsWanted;
};

void BM_GridFill(benchmark::State& State) {
    std::unique_ptr<TShownGrid> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<TShownGrid>(static_cast<Integer>(State.range(0)));
        TShownGrid& shown = *held;
        shown.Show();
        State.ResumeTiming();
        shown.Fill();
        Application->ProcessMessages();
    }
}

void BM_BareFill(benchmark::State& State) {
    std::unique_ptr<TBareTable> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<TBareTable>(static_cast<int>(State.range(0)));
        TBareTable& bare = *held;
        bare.Show();
        State.ResumeTiming();
        bare.Fill();
        QApplication::processEvents();
    }
}

void BM_GridFirstPaint(benchmark::State& State) {
    std::unique_ptr<TShownGrid> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<TShownGrid>(static_cast<Integer>(State.range(0)));
        TShownGrid& shown = *held;
        shown.Fill();
        State.ResumeTiming();
        shown.Show();
        benchmark::DoNotOptimize(shown.Form->Handle()->grab());
    }
}

void BM_BareFirstPaint(benchmark::State& State) {
    std::unique_ptr<TBareTable> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<TBareTable>(static_cast<int>(State.range(0)));
        TBareTable& bare = *held;
        bare.Fill();
        State.ResumeTiming();
        bare.Show();
        benchmark::DoNotOptimize(bare.View.grab());
    }
}

void BM_GridMeasureCells(benchmark::State& State) {
    TShownGrid shown(static_cast<Integer>(State.range(0)));
    shown.Fill();
    shown.Show();
    for (auto _ : State) {
        Integer total = 0;
        for (Integer row = 1; row < shown.Grid->RowCount(); ++row)
            for (Integer col = 0; col < Columns; ++col)
                total += shown.Grid->Canvas()->TextHeight(shown.Grid->Cells(col, row));
        benchmark::DoNotOptimize(total);
    }
}

void BM_BareMeasureCells(benchmark::State& State) {
    TBareTable bare(static_cast<int>(State.range(0)));
    bare.Fill();
    bare.Show();
    for (auto _ : State) {
        int total = 0;
        for (int row = 1; row < bare.Model.rowCount(); ++row)
            for (int col = 0; col < Columns; ++col) {
                QFontMetrics metrics(bare.View.font());
                QString text = bare.Model.item(row, col)->text();
                benchmark::DoNotOptimize(metrics.horizontalAdvance(text));
                total += metrics.height();
            }
        benchmark::DoNotOptimize(total);
    }
}

// The rows in the order of their second column's text.
template <typename TextOf> std::vector<int> SortedRows(int Rows, TextOf Text) {
    std::vector<int> order(Rows);
    std::iota(order.begin(), order.end(), 1);
    std::sort(order.begin(), order.end(), [&](int A, int B) { return Text(A) < Text(B); });
    return order;
}

void BM_GridSortRows(benchmark::State& State) {
    std::unique_ptr<TShownGrid> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<TShownGrid>(static_cast<Integer>(State.range(0)));
        TShownGrid& shown = *held;
        shown.Fill();
        shown.Show();
        TStringGrid* grid = shown.Grid;
        State.ResumeTiming();
        std::vector<int> order =
            SortedRows(shown.RowsWanted, [grid](int Row) { return grid->Cells(1, Row); });
        std::vector<std::array<AnsiString, Columns>> texts(order.size());
        for (size_t index = 0; index < order.size(); ++index)
            for (Integer col = 0; col < Columns; ++col)
                texts[index][col] = grid->Cells(col, order[index]);
        for (size_t index = 0; index < order.size(); ++index)
            for (Integer col = 0; col < Columns; ++col)
                grid->SetCells(col, static_cast<Integer>(index) + 1, texts[index][col]);
        Application->ProcessMessages();
    }
}

void BM_BareSortRows(benchmark::State& State) {
    std::unique_ptr<TBareTable> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<TBareTable>(static_cast<int>(State.range(0)));
        TBareTable& bare = *held;
        bare.Fill();
        bare.Show();
        QStandardItemModel& model = bare.Model;
        State.ResumeTiming();
        std::vector<int> order =
            SortedRows(bare.RowsWanted, [&model](int Row) { return model.item(Row, 1)->text(); });
        std::vector<std::array<QString, Columns>> texts(order.size());
        for (size_t index = 0; index < order.size(); ++index)
            for (int col = 0; col < Columns; ++col)
                texts[index][col] = model.item(order[index], col)->text();
        for (size_t index = 0; index < order.size(); ++index)
            for (int col = 0; col < Columns; ++col)
                model.item(static_cast<int>(index) + 1, col)->setText(texts[index][col]);
        QApplication::processEvents();
    }
}

void BM_GridDeleteMiddleRows(benchmark::State& State) {
    std::unique_ptr<TShownGrid> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<TShownGrid>(static_cast<Integer>(State.range(0)));
        TShownGrid& shown = *held;
        shown.Fill();
        shown.Show();
        Integer count = shown.RowsWanted / 5;
        State.ResumeTiming();
        for (Integer done = 0; done < count; ++done)
            shown.Grid->DeleteRow(shown.Grid->RowCount() / 2);
        Application->ProcessMessages();
    }
}

void BM_BareDeleteMiddleRows(benchmark::State& State) {
    std::unique_ptr<TBareTable> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<TBareTable>(static_cast<int>(State.range(0)));
        TBareTable& bare = *held;
        bare.Fill();
        bare.Show();
        int count = bare.RowsWanted / 5;
        State.ResumeTiming();
        for (int done = 0; done < count; ++done)
            bare.Model.removeRow(bare.Model.rowCount() / 2);
        QApplication::processEvents();
    }
}

void BM_GridChangeOneCell(benchmark::State& State) {
    TShownGrid shown(static_cast<Integer>(State.range(0)));
    shown.Fill();
    shown.Show();
    Integer next = 0;
    for (auto _ : State) {
        shown.Grid->SetCells(1, 3, "changed " + IntToStr(++next));
        Application->ProcessMessages();
    }
}

void BM_BareChangeOneCell(benchmark::State& State) {
    TBareTable bare(static_cast<int>(State.range(0)));
    bare.Fill();
    bare.Show();
    int next = 0;
    for (auto _ : State) {
        bare.Model.item(3, 1)->setText(QStringLiteral("changed %1").arg(++next));
        QApplication::processEvents();
    }
}

void Sizes(benchmark::internal::Benchmark* Bench) {
    Bench->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
}

void OneCellSizes(benchmark::internal::Benchmark* Bench) {
    Bench->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_GridFill)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_BareFill)->Apply(Sizes)->Iterations(1);
BENCHMARK(BM_GridFirstPaint)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_BareFirstPaint)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_GridMeasureCells)->Apply(Sizes);
BENCHMARK(BM_BareMeasureCells)->Apply(Sizes);
BENCHMARK(BM_GridSortRows)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_BareSortRows)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_GridDeleteMiddleRows)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_BareDeleteMiddleRows)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_GridChangeOneCell)->Apply(OneCellSizes);
BENCHMARK(BM_BareChangeOneCell)->Apply(OneCellSizes);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    RegisterClxClasses();
    Application->Initialize();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DoneApplication();
    return 0;
}
