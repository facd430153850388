#include "rtl/SysUtils.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The shape the ini engine and the translation lists format most: name=value.
void BM_FormatNameEqualsInteger(benchmark::State& state) {
    AnsiString name = "Caption";
    Integer value = 0;
    for (auto _ : state) {
        AnsiString line = Format("%s=%d", {name, value++});
        benchmark::DoNotOptimize(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatNameEqualsInteger);

// The reference: the C library formatting the same line into a string.
void BM_SnprintfNameEqualsInteger(benchmark::State& state) {
    AnsiString name = "Caption";
    int value = 0;
    for (auto _ : state) {
        char buffer[64];
        int length = std::snprintf(buffer, sizeof buffer, "%s=%d", name.c_str(), value++);
        AnsiString line(buffer, static_cast<std::size_t>(length));
        benchmark::DoNotOptimize(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SnprintfNameEqualsInteger);

void BM_FormatWidthsAndIndexes(benchmark::State& state) {
    for (auto _ : state) {
        AnsiString line = Format("%1:-10s|%0:8.3d|%2:x", {42, "label", 0xBEEF});
        benchmark::DoNotOptimize(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatWidthsAndIndexes);

void BM_FormatFixedFloat(benchmark::State& state) {
    double value = 1234.5678;
    for (auto _ : state) {
        AnsiString text = Format("%.2f", {value});
        benchmark::DoNotOptimize(text);
        value += 0.001;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatFixedFloat);

void BM_SnprintfFixedFloat(benchmark::State& state) {
    double value = 1234.5678;
    for (auto _ : state) {
        char buffer[64];
        int length = std::snprintf(buffer, sizeof buffer, "%.2f", value);
        AnsiString text(buffer, static_cast<std::size_t>(length));
        benchmark::DoNotOptimize(text);
        value += 0.001;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SnprintfFixedFloat);

void BM_FloatToStr(benchmark::State& state) {
    double value = 0.1;
    for (auto _ : state) {
        AnsiString text = FloatToStr(value);
        benchmark::DoNotOptimize(text);
        value *= 1.0001;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FloatToStr);

void BM_FormatDateTime(benchmark::State& state) {
    TDateTime moment = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    for (auto _ : state) {
        AnsiString text = FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", moment);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatDateTime);

} // namespace
