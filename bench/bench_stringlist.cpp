#include "rtl/Classes.h"

#include <benchmark/benchmark.h>

#include <set>

namespace {

// Keys in scrambled order with mixed case, as translation identifiers come.
std::vector<AnsiString> MakeKeys(int Count) {
    std::vector<AnsiString> keys;
    keys.reserve(static_cast<std::size_t>(Count));
    for (int i = 0; i < Count; ++i) {
        int scrambled = static_cast<int>((static_cast<long long>(i) * 7919) % Count);
        keys.push_back((i % 2 ? "Form" : "form") + IntToStr(scrambled) + ".Caption");
    }
    return keys;
}

void FillSorted(TStringList& List, const std::vector<AnsiString>& Keys) {
    List.SetSorted(true);
    for (const AnsiString& key : Keys)
        List.Add(key);
}

void BM_SortedAdd(benchmark::State& State) {
    const auto keys = MakeKeys(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        TStringList list;
        FillSorted(list, keys);
        benchmark::DoNotOptimize(list.Count());
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_SortedAdd)->Arg(10000)->Unit(benchmark::kMillisecond);

// The reference: a standard set ordered without regard to (ASCII) case.
struct TCaseLess {
    bool operator()(const AnsiString& First, const AnsiString& Second) const {
        return CompareText(First, Second) < 0;
    }
};

void BM_StdSetAdd(benchmark::State& State) {
    const auto keys = MakeKeys(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        std::set<AnsiString, TCaseLess> set(keys.begin(), keys.end());
        benchmark::DoNotOptimize(set.size());
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_StdSetAdd)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SortedIndexOf(benchmark::State& State) {
    const auto keys = MakeKeys(static_cast<int>(State.range(0)));
    TStringList list;
    FillSorted(list, keys);
    std::vector<AnsiString> lookups;
    for (const AnsiString& key : keys)
        lookups.push_back(AnsiUpperCase(key));
    std::size_t next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(list.IndexOf(lookups[next]));
        next = (next + 1) % lookups.size();
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_SortedIndexOf)->Arg(10000);

void BM_CommaText(benchmark::State& State) {
    TStringList list;
    for (int i = 0; i < State.range(0); ++i)
        list.Add(i % 3 ? "Item " + IntToStr(i) : "Item,\"" + IntToStr(i) + "\"");
    for (auto _ : State)
        benchmark::DoNotOptimize(list.CommaText());
    State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_CommaText)->Arg(1000);

} // namespace
