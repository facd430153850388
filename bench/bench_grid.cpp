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
                Model.setItem(
                    row, col,
                    new QStandardItem(QString::fromStdString(CellTextOf(row, col, RowsWanted))));
    }

    QStandardItemModel Model;
    QTableView View;
    int RowsWanted;
};

// Each iteration works on a table of its own: T of State.range(0) rows,
// made and prepared (Prepare) outside the timing, then Work timed.
template <typename T, typename TPrepare, typename TWork>
void OnAFreshTable(benchmark::State& State, TPrepare Prepare, TWork Work) {
    std::unique_ptr<T> held;
    for (auto _ : State) {
        State.PauseTiming();
        held.reset();
        held = std::make_unique<T>(static_cast<int>(State.range(0)));
        Prepare(*held);
        State.ResumeTiming();
        Work(*held);
    }
}

void Show(auto& Table) {
    Table.Show();
}

void FillAndShow(auto& Table) {
    Table.Fill();
    Table.Show();
}

void BM_GridFill(benchmark::State& State) {
    OnAFreshTable<TShownGrid>(State, Show<TShownGrid>, [](TShownGrid& Shown) {
        Shown.Fill();
        Application->ProcessMessages();
    });
}

void BM_BareFill(benchmark::State& State) {
    OnAFreshTable<TBareTable>(State, Show<TBareTable>, [](TBareTable& Bare) {
        Bare.Fill();
        QApplication::processEvents();
    });
}

void BM_GridFirstPaint(benchmark::State& State) {
    OnAFreshTable<TShownGrid>(
        State, [](TShownGrid& Shown) { Shown.Fill(); },
        [](TShownGrid& Shown) {
            Shown.Show();
            benchmark::DoNotOptimize(Shown.Form->Handle()->grab());
        });
}

void BM_BareFirstPaint(benchmark::State& State) {
    OnAFreshTable<TBareTable>(
        State, [](TBareTable& Bare) { Bare.Fill(); },
        [](TBareTable& Bare) {
            Bare.Show();
            benchmark::DoNotOptimize(Bare.View.grab());
        });
}

void BM_GridMeasureCells(benchmark::State& State) {
    TShownGrid shown(static_cast<Integer>(State.range(0)));
    FillAndShow(shown);
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
    FillAndShow(bare);
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

// Puts rows 1 to Rows in the order of their second column's text by
// reading every row's texts (Text) and writing them back in order (SetText).
template <typename TText, typename TGet, typename TSet>
void SortRowsByExchangingTexts(int Rows, TGet Text, TSet SetText) {
    std::vector<int> order(Rows);
    std::iota(order.begin(), order.end(), 1);
    std::sort(order.begin(), order.end(), [&](int A, int B) { return Text(A, 1) < Text(B, 1); });
    std::vector<std::array<TText, Columns>> texts(order.size());
    for (size_t index = 0; index < order.size(); ++index)
        for (int col = 0; col < Columns; ++col)
            texts[index][col] = Text(order[index], col);
    for (size_t index = 0; index < order.size(); ++index)
        for (int col = 0; col < Columns; ++col)
            SetText(static_cast<int>(index) + 1, col, texts[index][col]);
}

void BM_GridSortRows(benchmark::State& State) {
    OnAFreshTable<TShownGrid>(State, FillAndShow<TShownGrid>, [](TShownGrid& Shown) {
        TStringGrid* grid = Shown.Grid;
        SortRowsByExchangingTexts<AnsiString>(
            Shown.RowsWanted, [grid](int Row, int Col) { return grid->Cells(Col, Row); },
            [grid](int Row, int Col, const AnsiString& Text) { grid->SetCells(Col, Row, Text); });
        Application->ProcessMessages();
    });
}

void BM_BareSortRows(benchmark::State& State) {
    OnAFreshTable<TBareTable>(State, FillAndShow<TBareTable>, [](TBareTable& Bare) {
        QStandardItemModel& model = Bare.Model;
        SortRowsByExchangingTexts<QString>(
            Bare.RowsWanted, [&model](int Row, int Col) { return model.item(Row, Col)->text(); },
            [&model](int Row, int Col, const QString& Text) {
                model.item(Row, Col)->setText(Text);
            });
        QApplication::processEvents();
    });
}

void BM_GridDeleteMiddleRows(benchmark::State& State) {
    OnAFreshTable<TShownGrid>(State, FillAndShow<TShownGrid>, [](TShownGrid& Shown) {
        for (Integer done = 0; done < Shown.RowsWanted / 5; ++done)
            Shown.Grid->DeleteRow(Shown.Grid->RowCount() / 2);
        Application->ProcessMessages();
    });
}

void BM_BareDeleteMiddleRows(benchmark::State& State) {
    OnAFreshTable<TBareTable>(State, FillAndShow<TBareTable>, [](TBareTable& Bare) {
        for (int done = 0; done < Bare.RowsWanted / 5; ++done)
            Bare.Model.removeRow(Bare.Model.rowCount() / 2);
        QApplication::processEvents();
    });
}

void BM_GridChangeOneCell(benchmark::State& State) {
    TShownGrid shown(static_cast<Integer>(State.range(0)));
    FillAndShow(shown);
    Integer next = 0;
    for (auto _ : State) {
        shown.Grid->SetCells(1, 3, "changed " + IntToStr(++next));
        Application->ProcessMessages();
    }
}

void BM_BareChangeOneCell(benchmark::State& State) {
    TBareTable bare(static_cast<int>(State.range(0)));
    FillAndShow(bare);
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
