// The Translation Editor on a Strings list of n identifiers in 3 languages:
// opening it until the grid is shown, sorting by a language column, each
// filter, the write-back into the working copy and one repaint after an
// edit. Each is measured in the same iterations as its reference, the bare
// fill of a shown string grid with the same cells (the counters
// reference_ms and ratio); the repaint is compared across sizes.
#include "BenchRatio.h"

#include "editor/QzxTransEditor.h"

#include "clx/Dialogs.h"
#include "clx/Grids.h"
#include "clx/Menus.h"

#include <QtWidgets/QWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

void StartApplication() {
    static bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        unsetenv("QT_QPA_PLATFORMTHEME");
        InitQzxTransEditor();
        Application->Initialize();
        const auto dir = std::filesystem::temp_directory_path() / "zx_bench_editor";
        std::filesystem::create_directories(dir);
        Application->SetExeName((dir / "bench_editor").string());
        return true;
    }();
    (void)started;
}

std::vector<AnsiString> SampleLines(Integer Count) {
    std::vector<AnsiString> lines;
    for (Integer index = 0; index < Count; ++index) {
        // Identifiers out of order, so that sorting has work to do.
        const Integer id = (index * 7919) % Count;
        lines.push_back("SIdentifier" + IntToStr(id) + "\1Text " + IntToStr(id) + "\1" +
                        (id % 3 == 0 ? AnsiString() : "Wort " + IntToStr(id)) + "\1" +
                        (id % 5 == 0 ? AnsiString() : "Слово " + IntToStr(id)) + "\1");
    }
    return lines;
}

// A data module owning a component whose Strings list holds Count lines.
struct TSample {
    explicit TSample(Integer Count) : Owner(NewComponent<TDataModule>(nullptr)) {
        Owner->SetName("BenchData");
        Lang = NewComponent<TzxLang>(Owner.get());
        Lang->SetName("Lang");
        Lang->SetNumLang(3);
        auto list = std::make_unique<TStringList>();
        for (const AnsiString& line : SampleLines(Count))
            list->Add(line);
        Lang->Strings()->Assign(list.get());
    }
    std::unique_ptr<TDataModule> Owner;
    TzxLang* Lang = nullptr;
};

// Runs Action on the shown editor, then closes it without saving.
void WithEditor(TSample& Sample, const std::function<void(TzxTransEditFrm&)>& Action) {
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    dialogs.AnswerModal(mrCancel, [&](TCustomForm& Form) {
        auto& editor = dynamic_cast<TzxTransEditFrm&>(Form);
        Action(editor);
        if (editor.Modified())
            dialogs.Answer(mrNo);
    });
    TransEditorDlg(Sample.Lang, stStrings, 0, {sfSelected, sfDesignTime});
}

TMenuItem& Item(TzxTransEditFrm& Form, const AnsiString& Name) {
    return *dynamic_cast<TMenuItem*>(Form.FindComponent(Name));
}

// A shown grid of the sample's cells, filled anew from the lines.
struct TBareGrid {
    explicit TBareGrid(Integer Count) : Lines(SampleLines(Count)) {
        Form = NewForm<TForm>(Application);
        Form->SetBounds(0, 0, 640, 480);
        Grid = NewComponent<TStringGrid>(Form);
        Grid->SetParent(Form);
        Grid->SetAlign(alClient);
        Grid->SetColCount(4);
        Form->Show();
        Application->ProcessMessages();
    }
    ~TBareGrid() {
        delete Form;
        Application->ProcessMessages();
    }
    void Fill() {
        const auto count = static_cast<Integer>(Lines.size());
        Grid->SetRowCount(2);
        Grid->SetRowCount(count + 1);
        for (Integer row = 1; row <= count; ++row) {
            const AnsiString& line = Lines[static_cast<std::size_t>(row - 1)];
            std::size_t start = 0;
            for (Integer column = 0; column < 4; ++column) {
                std::size_t end = line.find('\1', start);
                Grid->SetCells(column, row, line.substr(start, end - start));
                start = end + 1;
            }
        }
        Application->ProcessMessages();
    }

    std::vector<AnsiString> Lines;
    TForm* Form = nullptr;
    TStringGrid* Grid = nullptr;
};

// Until the editor's window shows the grid; closing it is not counted.
void BM_OpenEditor(benchmark::State& State) {
    StartApplication();
    const auto count = static_cast<Integer>(State.range(0));
    TSample sample(count);
    TBareGrid bare(count);
    using TClock = std::chrono::steady_clock;
    double openSeconds = 0;
    double referenceSeconds = 0;
    for (auto _ : State) {
        const auto start = TClock::now();
        bare.Fill();
        const auto opening = TClock::now();
        TClock::time_point shown;
        WithEditor(sample, [&](TzxTransEditFrm&) {
            Application->ProcessMessages();
            shown = TClock::now();
        });
        const double open = std::chrono::duration<double>(shown - opening).count();
        referenceSeconds += std::chrono::duration<double>(opening - start).count();
        openSeconds += open;
        State.SetIterationTime(open);
    }
    const auto iterations = static_cast<double>(State.iterations());
    State.counters["reference_ms"] = referenceSeconds / iterations * 1e3;
    State.counters["ratio"] = openSeconds / referenceSeconds;
    State.SetComplexityN(State.range(0));
}

// One step of the shown editor, then the pending events, against the bare
// fill of a grid of the same rows in the same iterations.
void MeasureEditorStep(benchmark::State& State, const std::function<void(TzxTransEditFrm&)>& Step) {
    StartApplication();
    const auto count = static_cast<Integer>(State.range(0));
    TSample sample(count);
    TBareGrid bare(count);
    WithEditor(sample, [&](TzxTransEditFrm& Form) {
        MeasureAgainst(
            State,
            [&] {
                Step(Form);
                Application->ProcessMessages();
            },
            [&] { bare.Fill(); });
    });
    State.SetComplexityN(State.range(0));
}

void BM_SortByLanguage(benchmark::State& State) {
    MeasureEditorStep(State, [](TzxTransEditFrm& Form) { Item(Form, "miSort").Items(2)->Click(); });
}

void BM_EachFilter(benchmark::State& State) {
    MeasureEditorStep(State, [](TzxTransEditFrm& Form) {
        for (const char* name : {"miPartially", "miUntranslated", "miIncomplete", "miAllEntries"})
            Item(Form, name).Click();
    });
}

void BM_WriteBack(benchmark::State& State) {
    MeasureEditorStep(State, [](TzxTransEditFrm& Form) { Form.UpdateProperty(stStrings, false); });
}

// An identifier edited in the grid's cell editor, then the grid painted
// once: the duplicate colouring follows the one key.
void BM_RepaintAfterEdit(benchmark::State& State) {
    StartApplication();
    TSample sample(static_cast<Integer>(State.range(0)));
    WithEditor(sample, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        const AnsiString key = grid.Cells(0, 1);
        Integer edit = 0;
        grid.SetCol(0);
        grid.SetRow(1);
        for (auto _ : State) {
            grid.SetEditorMode(true);
            grid.InplaceEditor()->SetText(key + IntToStr(++edit % 2));
            grid.SetEditorMode(false);
            benchmark::DoNotOptimize(grid.Handle()->grab());
        }
    });
    State.SetComplexityN(State.range(0));
}

BENCHMARK(BM_OpenEditor)->Arg(5000)->Arg(50000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByLanguage)->Arg(5000)->Arg(50000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EachFilter)->Arg(5000)->Arg(50000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBack)->Arg(5000)->Arg(50000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintAfterEdit)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);

} // namespace
