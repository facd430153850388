// Translation files of a whole project: 10, 100 and 1,000 forms with 500
// lines in 3 languages each, every form saved into and loaded from one text
// file and one binary file through the dispatcher, each against one parse of
// the same text file by inih, a plain C ini parser.
#include "runtime/QzxComp.h"

#include "BenchRatio.h"

#include <benchmark/benchmark.h>
#include <ini.h>

#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr Integer LineCount = 500;
constexpr Integer LanguageCount = 3;
const WideString FileDelim = u"~!@#";

// A form of its own class: every file keeps a form's entries under its
// class name, so each benchmark form carries a class reference named for it.
class TBenchForm : public TComponent {
public:
    TBenchForm(const AnsiString& ClassName) : TComponent(nullptr), FClassName(ClassName) {}
    TClass ClassType() const override { return &FClass; }

private:
    AnsiString FClassName;
    TClassInfo FClass{FClassName.c_str(), TComponent::StaticClass()};
};

// The forms of the project, each owning a translation component full of
// lines and linked to one dispatcher, and a directory for their files.
class TBenchProject {
public:
    explicit TBenchProject(Integer FormCount) : FFormCount(FormCount) {
        InitQzxComp();
        std::filesystem::create_directories(FDirectory);
        FDispatcher->SetLangNames(&Names());
        for (Integer form = 0; form < FormCount; ++form) {
            FForms.push_back(std::make_unique<TBenchForm>("TBenchForm" + IntToStr(form)));
            FForms.back()->SetName("Form" + IntToStr(form));
            // Lines of components the form lacks would be dropped as stale.
            for (Integer line = 0; line < LineCount; ++line)
                NewComponent<TComponent>(FForms.back().get())->SetName("Label" + IntToStr(line));
            auto* lang = NewComponent<TzxLang>(FForms.back().get());
            lang->SetLangNames(&Names());
            Fill(*lang->Captions(), form);
            lang->SetLangDispatcher(FDispatcher.get());
            FLangs.push_back(lang);
        }
    }
    ~TBenchProject() {
        FForms.clear();
        std::filesystem::remove_all(FDirectory);
    }
    TBenchProject(const TBenchProject&) = delete;
    TBenchProject& operator=(const TBenchProject&) = delete;

    Integer FormCount() const { return FFormCount; }
    TzxLangDispatcher& Dispatcher() const { return *FDispatcher; }
    TzxLang* Lang(Integer Form) const { return FLangs[static_cast<std::size_t>(Form)]; }
    AnsiString File(const char* Name) const { return (FDirectory / Name).string(); }

    // The text file of every form, saved once: the reference's input.
    const AnsiString& TextFile() {
        if (FTextFile.empty()) {
            FTextFile = File("reference.zxl");
            FDispatcher->SaveAllToFile(UTF8Decode(FTextFile), FileDelim);
        }
        return FTextFile;
    }

    // Whether every form holds its own lines.
    bool HoldsItsLines() const {
        for (Integer form = 0; form < FFormCount; ++form) {
            TStrings& captions = *Lang(form)->Captions();
            if (captions.Count() != LineCount || captions.IndexOf(LineOf(LineCount - 1, form)) < 0)
                return false;
        }
        return true;
    }

private:
    static TStringList& Names() {
        static TStringList names;
        if (names.Count() == 0)
            names.SetCommaText("English,Deutsch,Francais");
        return names;
    }

    static AnsiString LineOf(Integer Line, Integer Form) {
        const AnsiString delim(1, '\1');
        AnsiString text = "Label" + IntToStr(Line) + delim;
        for (Integer language = 1; language <= LanguageCount; ++language)
            text += "Text " + IntToStr(Line) + " of form " + IntToStr(Form) + " in language " +
                    IntToStr(language) + delim;
        return text;
    }

    static void Fill(TStrings& List, Integer Form) {
        for (Integer line = 0; line < LineCount; ++line)
            List.Add(LineOf(line, Form));
    }

    Integer FFormCount;
    std::filesystem::path FDirectory =
        std::filesystem::temp_directory_path() / ("bench_files_" + std::to_string(getpid()));
    std::unique_ptr<TzxLangDispatcher> FDispatcher = std::make_unique<TzxLangDispatcher>(nullptr);
    std::vector<std::unique_ptr<TBenchForm>> FForms;
    std::vector<TzxLang*> FLangs;
    AnsiString FTextFile;
};

// One project at a time: the benchmarks run size by size.
TBenchProject& Project(Integer FormCount) {
    static std::unique_ptr<TBenchProject> project;
    if (!project || project->FormCount() != FormCount) {
        project.reset();
        project = std::make_unique<TBenchProject>(FormCount);
    }
    return *project;
}

int CountEntry(void* User, const char*, const char*, const char*) {
    ++*static_cast<long*>(User);
    return 1;
}

// The reference: one inih parse of the project's text file.
auto ParseWithInih(TBenchProject& Project) {
    const AnsiString file = Project.TextFile();
    return [file] {
        long entries = 0;
        ini_parse(file.c_str(), CountEntry, &entries);
        benchmark::DoNotOptimize(entries);
    };
}

void Finish(benchmark::State& State, TBenchProject& Project) {
    if (!Project.HoldsItsLines())
        State.SkipWithError("a form lost its lines");
    State.counters["forms"] = static_cast<double>(Project.FormCount());
}

void BM_SaveTextFile(benchmark::State& State) {
    TBenchProject& project = Project(static_cast<Integer>(State.range(0)));
    const WideString file = UTF8Decode(project.File("save.zxl"));
    MeasureAgainst(
        State, [&] { project.Dispatcher().SaveAllToFile(file, FileDelim); },
        ParseWithInih(project));
    Finish(State, project);
}

void BM_LoadTextFile(benchmark::State& State) {
    TBenchProject& project = Project(static_cast<Integer>(State.range(0)));
    const WideString file = UTF8Decode(project.TextFile());
    MeasureAgainst(
        State, [&] { project.Dispatcher().LoadAllFromFile(file); }, ParseWithInih(project));
    Finish(State, project);
}

void BM_SaveBinaryFile(benchmark::State& State) {
    TBenchProject& project = Project(static_cast<Integer>(State.range(0)));
    const WideString file = UTF8Decode(project.File("save.zxb"));
    MeasureAgainst(
        State, [&] { project.Dispatcher().SaveAllToBinaryFile(file); }, ParseWithInih(project));
    Finish(State, project);
}

void BM_LoadBinaryFile(benchmark::State& State) {
    TBenchProject& project = Project(static_cast<Integer>(State.range(0)));
    const WideString file = UTF8Decode(project.File("load.zxb"));
    project.Dispatcher().SaveAllToBinaryFile(file);
    MeasureAgainst(
        State, [&] { project.Dispatcher().LoadAllFromFile(file); }, ParseWithInih(project));
    Finish(State, project);
}

// The last form's entry of the binary file: the whole directory is walked
// first.
void BM_LoadOneFormFromBinaryFile(benchmark::State& State) {
    TBenchProject& project = Project(static_cast<Integer>(State.range(0)));
    const AnsiString file = project.File("one.zxb");
    project.Dispatcher().SaveAllToBinaryFile(UTF8Decode(file));
    const Integer last = project.FormCount() - 1;
    for (auto _ : State)
        TZXBFileManager().LoadFromFile(project.Lang(last), "TBenchForm" + IntToStr(last), file);
    Finish(State, project);
}

// Size by size, so that each project is built once.
const bool Registered = [] {
    for (const Integer forms : {10, 100, 1000}) {
        using TBenchmark = void (*)(benchmark::State&);
        const std::pair<const char*, TBenchmark> measured[] = {
            {"BM_SaveTextFile", BM_SaveTextFile},
            {"BM_LoadTextFile", BM_LoadTextFile},
            {"BM_SaveBinaryFile", BM_SaveBinaryFile},
            {"BM_LoadBinaryFile", BM_LoadBinaryFile}};
        for (const auto& [name, function] : measured)
            benchmark::RegisterBenchmark(name, function)
                ->Arg(forms)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_LoadOneFormFromBinaryFile", BM_LoadOneFormFromBinaryFile)
            ->Arg(forms)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
