// Measures a subject and its reference in the same iterations, so the
// ratio between them holds for one state of the machine: the subject's time
// is the benchmark's, the reference's and the ratio are counters.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

template <typename TSubject, typename TReference>
void MeasureAgainst(benchmark::State& State, TSubject Subject, TReference Reference) {
    using TClock = std::chrono::steady_clock;
    double subjectSeconds = 0;
    double referenceSeconds = 0;
    for (auto _ : State) {
        const auto start = TClock::now();
        Reference();
        const auto between = TClock::now();
        Subject();
        const auto end = TClock::now();
        const double subject = std::chrono::duration<double>(end - between).count();
        referenceSeconds += std::chrono::duration<double>(between - start).count();
        subjectSeconds += subject;
        State.SetIterationTime(subject);
    }
    const auto iterations = static_cast<double>(State.iterations());
    State.counters["reference_ms"] = referenceSeconds / iterations * 1e3;
    State.counters["ratio"] = referenceSeconds > 0 ? subjectSeconds / referenceSeconds : 0;
}
