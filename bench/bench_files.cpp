// Translation files of a whole project: 100 forms with 500 lines in 3
// languages each, saved and loaded as a text file and as a binary file.
#include "runtime/QzxComp.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace {

// A hundred form classes: every file keeps a form's entries under its class
// name.
#define ZX_BENCH_FORM(N)                                                                           \
    class TBenchForm##N : public TComponent {                                                      \
        ZX_CLASS(TBenchForm##N, TComponent)                                                        \
    public:                                                                                        \
        explicit TBenchForm##N(TComponent* AOwner) : TComponent(AOwner) {}                        \
    };
#define ZX_BENCH_FORMS(T)                                                                          \
    ZX_BENCH_FORM(T##0) ZX_BENCH_FORM(T##1) ZX_BENCH_FORM(T##2) ZX_BENCH_FORM(T##3)                \
    ZX_BENCH_FORM(T##4) ZX_BENCH_FORM(T##5) ZX_BENCH_FORM(T##6) ZX_BENCH_FORM(T##7)                \
    ZX_BENCH_FORM(T##8) ZX_BENCH_FORM(T##9)
ZX_BENCH_FORMS(0) ZX_BENCH_FORMS(1) ZX_BENCH_FORMS(2) ZX_BENCH_FORMS(3) ZX_BENCH_FORMS(4)
ZX_BENCH_FORMS(5) ZX_BENCH_FORMS(6) ZX_BENCH_FORMS(7) ZX_BENCH_FORMS(8) ZX_BENCH_FORMS(9)

using TNewForm = TComponent* (*)();
#define ZX_NEW_FORM(N) [] { return static_cast<TComponent*>(NewComponent<TBenchForm##N>(nullptr)); },
#define ZX_NEW_FORMS(T)                                                                            \
    ZX_NEW_FORM(T##0) ZX_NEW_FORM(T##1) ZX_NEW_FORM(T##2) ZX_NEW_FORM(T##3) ZX_NEW_FORM(T##4)      \
    ZX_NEW_FORM(T##5) ZX_NEW_FORM(T##6) ZX_NEW_FORM(T##7) ZX_NEW_FORM(T##8) ZX_NEW_FORM(T##9)
const TNewForm NewForms[] = {ZX_NEW_FORMS(0) ZX_NEW_FORMS(1) ZX_NEW_FORMS(2) ZX_NEW_FORMS(3)
                                 ZX_NEW_FORMS(4) ZX_NEW_FORMS(5) ZX_NEW_FORMS(6) ZX_NEW_FORMS(7)
                                     ZX_NEW_FORMS(8) ZX_NEW_FORMS(9)};

constexpr Integer FormCount = 100;
constexpr Integer LineCount = 500;
constexpr Integer LanguageCount = 3;

// The forms of the project, each owning a translation component full of
// lines, and a directory for their files.
class TBenchProject {
public:
    TBenchProject() {
        InitQzxComp();
        std::filesystem::create_directories(FDirectory);
        TStringList names;
        names.SetCommaText("English,Deutsch,Francais");
        for (Integer form = 0; form < FormCount; ++form) {
            FForms.emplace_back(NewForms[form]());
            FForms.back()->SetName("Form" + IntToStr(form));
            auto* lang = NewComponent<TzxLang>(FForms.back().get());
            lang->SetLangNames(&names);
            Fill(*lang->Captions(), "Label", form);
            FLangs.push_back(lang);
        }
    }
    ~TBenchProject() { std::filesystem::remove_all(FDirectory); }
    TBenchProject(const TBenchProject&) = delete;
    TBenchProject& operator=(const TBenchProject&) = delete;

    void AddAll(TZXBFileManager& Manager) const {
        for (TzxLang* lang : FLangs)
            Manager.Add(lang);
    }

    // Every form's translations into one text file.
    void SaveAllToTextFile(const AnsiString& File) const {
        for (TzxLang* lang : FLangs)
            lang->SaveAllToFile(UTF8Decode(File), u"~!@#");
    }

    // The project's binary file, saved once.
    AnsiString SavedBinaryFile(const char* Name) const {
        const AnsiString file = File(Name);
        TZXBFileManager manager;
        AddAll(manager);
        manager.SaveToFile(file);
        return file;
    }

    AnsiString FormClassName(Integer Form) const {
        return FForms[static_cast<std::size_t>(Form)]->ClassName();
    }
    TzxLang* Lang(Integer Form) const { return FLangs[static_cast<std::size_t>(Form)]; }
    AnsiString File(const char* Name) const { return (FDirectory / Name).string(); }

private:
    static void Fill(TStrings& List, const AnsiString& Prefix, Integer Form) {
        const AnsiString delim(1, '\1');
        for (Integer line = 0; line < LineCount; ++line) {
            AnsiString text = Prefix + IntToStr(line) + delim;
            for (Integer language = 1; language <= LanguageCount; ++language)
                text += "Text " + IntToStr(line) + " of form " + IntToStr(Form) + " in language " +
                        IntToStr(language) + delim;
            List.Add(text);
        }
    }

    std::filesystem::path FDirectory =
        std::filesystem::temp_directory_path() / ("bench_files_" + std::to_string(getpid()));
    std::vector<std::unique_ptr<TComponent>> FForms;
    std::vector<TzxLang*> FLangs;
};

TBenchProject& Project() {
    static TBenchProject project;
    return project;
}

void BM_SaveBinaryFile(benchmark::State& State) {
    TZXBFileManager manager;
    Project().AddAll(manager);
    const AnsiString file = Project().File("save.zxb");
    for (auto _ : State)
        manager.SaveToFile(file);
}
BENCHMARK(BM_SaveBinaryFile)->Unit(benchmark::kMillisecond);

void BM_ReadWholeBinaryFile(benchmark::State& State) {
    const AnsiString file = Project().SavedBinaryFile("read.zxb");
    for (auto _ : State) {
        TZXBFileManager manager(file);
        benchmark::DoNotOptimize(manager.GetCompCount());
    }
}
BENCHMARK(BM_ReadWholeBinaryFile)->Unit(benchmark::kMillisecond);

// The last form's entry: the whole directory is walked first.
void BM_LoadOneFormFromBinaryFile(benchmark::State& State) {
    const AnsiString file = Project().SavedBinaryFile("load.zxb");
    const Integer last = FormCount - 1;
    for (auto _ : State)
        TZXBFileManager().LoadFromFile(Project().Lang(last), Project().FormClassName(last), file);
}
BENCHMARK(BM_LoadOneFormFromBinaryFile)->Unit(benchmark::kMillisecond);

// Each form in turn rewrites its entries of the one text file.
void BM_SaveTextFile(benchmark::State& State) {
    const AnsiString file = Project().File("save.zxl");
    for (auto _ : State) {
        DeleteFile(file);
        Project().SaveAllToTextFile(file);
    }
}
BENCHMARK(BM_SaveTextFile)->Unit(benchmark::kMillisecond);

// The last form's entries: the whole text is read first.
void BM_LoadOneFormFromTextFile(benchmark::State& State) {
    const AnsiString file = Project().File("load.zxl");
    Project().SaveAllToTextFile(file);
    for (auto _ : State)
        Project().Lang(FormCount - 1)->LoadAllFromFileDNC(UTF8Decode(file), true);
}
BENCHMARK(BM_LoadOneFormFromTextFile)->Unit(benchmark::kMillisecond);

} // namespace
