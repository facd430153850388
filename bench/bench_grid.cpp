// A string grid of 4 columns shown offscreen against a bare QTableView over
// a QStandardItemModel, at 5,000 and 50,000 rows: filling the cells, the
// first paint, measuring every cell's text, sorting the rows by exchanging
// cell texts, deleting a fifth of the rows from the middle, and changing one
// cell while shown. This file also starts the program: the offscreen
// application the other bench_grid files use too.
#include "clx/Forms.h"
#include "clx/Grids.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPixmap>
#include <QtGui/QStandardItemModel>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTableView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <numeric>

namespace {

constexpr Integer Columns = 4;

AnsiString CellTextOf(Integer Row, Integer Col, Integer Rows) {
    return "Text " + IntToStr((Row * 7919) % Rows) + " of column " + IntToStr(Col);
}

// The two tables offer the same work under the same names, so that one
// benchmark of each kind serves both.
struct TShownGrid {
    using TText = AnsiString;

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
    static void ProcessEvents() { Application->ProcessMessages(); }
    QPixmap Grab() { return Form->Handle()->grab(); }
    Integer RowCount() const { return Grid->RowCount(); }
    TText Text(Integer Row, Integer Col) const { return Grid->Cells(Col, Row); }
    void SetText(Integer Row, Integer Col, const TText& Text) { Grid->SetCells(Col, Row, Text); }
    static TText TextOf(const AnsiString& Text) { return Text; }
    Integer TextHeight(Integer Row, Integer Col) const {
        return Grid->Canvas()->TextHeight(Grid->Cells(Col, Row));
    }
    void DeleteRow(Integer Row) { Grid->DeleteRow(Row); }

    Integer RowsWanted;
    TForm* Form = nullptr;
    TStringGrid* Grid = nullptr;
};

struct TBareTable {
    using TText = QString;

    explicit TBareTable(int Rows) : Model(Rows + 1, Columns), RowsWanted(Rows) {
        View.setModel(&Model);
        View.resize(420, 320);
    }
    void Show() {
        View.show();
        QApplication::processEvents();
    }
    static void ProcessEvents() { QApplication::processEvents(); }
    QPixmap Grab() { return View.grab(); }
    int RowCount() const { return Model.rowCount(); }
    TText Text(int Row, int Col) const { return Model.item(Row, Col)->text(); }
    void SetText(int Row, int Col, const TText& Text) {
        if (QStandardItem* item = Model.item(Row, Col))
            item->setText(Text);
        else
            Model.setItem(Row, Col, new QStandardItem(Text));
    }
    static TText TextOf(const AnsiString& Text) { return QString::fromStdString(Text); }
    int TextHeight(int Row, int Col) const {
        QFontMetrics metrics(View.font());
        benchmark::DoNotOptimize(metrics.horizontalAdvance(Text(Row, Col)));
        return metrics.height();
    }
    void DeleteRow(int Row) { Model.removeRow(Row); }

    QStandardItemModel Model;
    QTableView View;
    int RowsWanted;
};

template <typename T> void Fill(T& Table) {
    for (int row = 1; row <= Table.RowsWanted; ++row)
        for (int col = 0; col < Columns; ++col)
            Table.SetText(row, col, T::TextOf(CellTextOf(row, col, Table.RowsWanted)));
}

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

template <typename T> void Show(T& Table) {
    Table.Show();
}

template <typename T> void FillAndShow(T& Table) {
    Fill(Table);
    Table.Show();
}

template <typename T> void BM_Fill(benchmark::State& State) {
    OnAFreshTable<T>(State, Show<T>, [](T& Table) {
        Fill(Table);
        T::ProcessEvents();
    });
}

template <typename T> void BM_FirstPaint(benchmark::State& State) {
    OnAFreshTable<T>(
        State, [](T& Table) { Fill(Table); },
        [](T& Table) {
            Table.Show();
            benchmark::DoNotOptimize(Table.Grab());
        });
}

template <typename T> void BM_MeasureCells(benchmark::State& State) {
    T table(static_cast<int>(State.range(0)));
    FillAndShow(table);
    for (auto _ : State) {
        int total = 0;
        for (int row = 1; row < table.RowCount(); ++row)
            for (int col = 0; col < Columns; ++col)
                total += table.TextHeight(row, col);
        benchmark::DoNotOptimize(total);
    }
}

// Puts rows 1 to Rows in the order of their second column's text by
// reading every row's texts and writing them back in order.
template <typename T> void SortRowsByExchangingTexts(T& Table) {
    std::vector<int> order(Table.RowsWanted);
    std::iota(order.begin(), order.end(), 1);
    std::sort(order.begin(), order.end(),
              [&](int A, int B) { return Table.Text(A, 1) < Table.Text(B, 1); });
    std::vector<std::array<typename T::TText, Columns>> texts(order.size());
    for (size_t index = 0; index < order.size(); ++index)
        for (int col = 0; col < Columns; ++col)
            texts[index][col] = Table.Text(order[index], col);
    for (size_t index = 0; index < order.size(); ++index)
        for (int col = 0; col < Columns; ++col)
            Table.SetText(static_cast<int>(index) + 1, col, texts[index][col]);
}

template <typename T> void BM_SortRows(benchmark::State& State) {
    OnAFreshTable<T>(State, FillAndShow<T>, [](T& Table) {
        SortRowsByExchangingTexts(Table);
        T::ProcessEvents();
    });
}

template <typename T> void BM_DeleteMiddleRows(benchmark::State& State) {
    OnAFreshTable<T>(State, FillAndShow<T>, [](T& Table) {
        for (int done = 0; done < Table.RowsWanted / 5; ++done)
            Table.DeleteRow(Table.RowCount() / 2);
        T::ProcessEvents();
    });
}

template <typename T> void BM_ChangeOneCell(benchmark::State& State) {
    T table(static_cast<int>(State.range(0)));
    FillAndShow(table);
    int round = 0;
    for (auto _ : State) {
        table.SetText(3, 1, T::TextOf("changed " + IntToStr(++round)));
        T::ProcessEvents();
    }
}

void Sizes(benchmark::internal::Benchmark* Bench) {
    Bench->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
}

void OneCellSizes(benchmark::internal::Benchmark* Bench) {
    Bench->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK_TEMPLATE(BM_Fill, TShownGrid)->Apply(Sizes)->Iterations(3);
BENCHMARK_TEMPLATE(BM_Fill, TBareTable)->Apply(Sizes)->Iterations(1);
BENCHMARK_TEMPLATE(BM_FirstPaint, TShownGrid)->Apply(Sizes)->Iterations(3);
BENCHMARK_TEMPLATE(BM_FirstPaint, TBareTable)->Apply(Sizes)->Iterations(3);
BENCHMARK_TEMPLATE(BM_MeasureCells, TShownGrid)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_MeasureCells, TBareTable)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_SortRows, TShownGrid)->Apply(Sizes)->Iterations(3);
BENCHMARK_TEMPLATE(BM_SortRows, TBareTable)->Apply(Sizes)->Iterations(3);
BENCHMARK_TEMPLATE(BM_DeleteMiddleRows, TShownGrid)->Apply(Sizes)->Iterations(3);
BENCHMARK_TEMPLATE(BM_DeleteMiddleRows, TBareTable)->Apply(Sizes)->Iterations(3);
BENCHMARK_TEMPLATE(BM_ChangeOneCell, TShownGrid)->Apply(OneCellSizes);
BENCHMARK_TEMPLATE(BM_ChangeOneCell, TBareTable)->Apply(OneCellSizes);

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
