#include "runtime/DOriDaz.h"

#include "rtl/SysUtils.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

namespace {

constexpr int kKeyCount = 5000;

// A translation file's shape: a few kinds, keys in scrambled order.
AnsiString KeyOf(int I) {
    const int scrambled = static_cast<int>((static_cast<long long>(I) * 7919) % kKeyCount);
    return "TForm" + IntToStr(scrambled % 50) + ".Control" + IntToStr(scrambled) + ".Caption";
}

AnsiString SectionOf(int I) {
    static const char* const kinds[] = {"Captions", "Hints", "Strings", "DisplayLabels"};
    return kinds[I % 4];
}

void Fill(TMemIniFile& Ini) {
    for (int i = 0; i < kKeyCount; ++i)
        Ini.WriteString(SectionOf(i), KeyOf(i),
                        "English text " + IntToStr(i) + "~!@#Deutscher Text~!@#");
}

AnsiString BenchFileName() {
    return (std::filesystem::temp_directory_path() / "bench_inifile.zxl").string();
}

void BM_IniWrite5000Keys(benchmark::State& State) {
    const AnsiString name = BenchFileName();
    for (auto _ : State) {
        TMemIniFile ini(AnsiString{});
        Fill(ini);
        ini.Rename(name, false);
        ini.UpdateFile();
    }
    std::filesystem::remove(name);
    State.SetItemsProcessed(State.iterations() * kKeyCount);
}
BENCHMARK(BM_IniWrite5000Keys)->Unit(benchmark::kMillisecond);

void BM_IniRead5000Keys(benchmark::State& State) {
    const AnsiString name = BenchFileName();
    {
        TMemIniFile ini(AnsiString{});
        Fill(ini);
        ini.Rename(name, false);
        ini.UpdateFile();
    }
    for (auto _ : State) {
        TMemIniFile ini(name);
        benchmark::DoNotOptimize(ini.ReadString("Captions", KeyOf(0), ""));
    }
    std::filesystem::remove(name);
    State.SetItemsProcessed(State.iterations() * kKeyCount);
}
BENCHMARK(BM_IniRead5000Keys)->Unit(benchmark::kMillisecond);

void BM_IniLookup(benchmark::State& State) {
    TMemIniFile ini(AnsiString{});
    Fill(ini);
    int i = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(ini.ReadString(SectionOf(i), KeyOf(i), ""));
        i = (i + 1) % kKeyCount;
    }
}
BENCHMARK(BM_IniLookup);

// The reference: the same keys in nested standard maps, upper-cased once
// beforehand (the ini engine folds case on every lookup).
void BM_StdMapLookup(benchmark::State& State) {
    std::map<AnsiString, std::map<AnsiString, AnsiString>> sections;
    for (int i = 0; i < kKeyCount; ++i)
        sections[UpperCase(SectionOf(i))][UpperCase(KeyOf(i))] =
            "English text " + IntToStr(i) + "~!@#Deutscher Text~!@#";
    std::vector<std::pair<AnsiString, AnsiString>> lookups;
    for (int i = 0; i < kKeyCount; ++i)
        lookups.emplace_back(UpperCase(SectionOf(i)), UpperCase(KeyOf(i)));
    int i = 0;
    for (auto _ : State) {
        const auto& lookup = lookups[static_cast<std::size_t>(i)];
        benchmark::DoNotOptimize(sections.find(lookup.first)->second.find(lookup.second));
        i = (i + 1) % kKeyCount;
    }
}
BENCHMARK(BM_StdMapLookup);

const AnsiString kPattern = "TForm1.Button99.Hint";

// One megabyte of text with the pattern only at its end.
AnsiString MegabyteEndingInPattern() {
    AnsiString text;
    text.reserve(1 << 20);
    while (text.size() < (1u << 20) - 32)
        text += "TForm1.Label1.Caption=Some text~!@#";
    return text + kPattern;
}

void BM_SearchBM1MB(benchmark::State& State) {
    const AnsiString text = MegabyteEndingInPattern();
    const AnsiString pattern = kPattern;
    for (auto _ : State)
        benchmark::DoNotOptimize(SearchBM(pattern, text));
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SearchBM1MB)->Unit(benchmark::kMicrosecond);

// The reference: the standard library's substring search on the same text.
void BM_StringFind1MB(benchmark::State& State) {
    const AnsiString text = MegabyteEndingInPattern();
    const AnsiString pattern = kPattern;
    for (auto _ : State)
        benchmark::DoNotOptimize(text.find(pattern));
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_StringFind1MB)->Unit(benchmark::kMicrosecond);

} // namespace
