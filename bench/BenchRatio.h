// Measures a subject and its reference in the same iterations, so the
// ratio between them holds for one state of the machine: the subject's time
// is the benchmark's, the reference's and the ratio are counters. The
// ratio of the two threads' CPU times is one more: where a subject waits
// for the disk, it tells the work done apart from the wait.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

inline double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename TSubject, typename TReference>
void MeasureAgainst(benchmark::State& State, TSubject Subject, TReference Reference) {
    using TClock = std::chrono::steady_clock;
    double subjectSeconds = 0;
    double referenceSeconds = 0;
    double subjectCpuSeconds = 0;
    double referenceCpuSeconds = 0;
    for (auto _ : State) {
        const double cpuStart = ThreadCpuSeconds();
        const auto start = TClock::now();
        Reference();
        const auto between = TClock::now();
        const double cpuBetween = ThreadCpuSeconds();
        Subject();
        const auto end = TClock::now();
        const double cpuEnd = ThreadCpuSeconds();
        const double subject = std::chrono::duration<double>(end - between).count();
        referenceSeconds += std::chrono::duration<double>(between - start).count();
        subjectSeconds += subject;
        referenceCpuSeconds += cpuBetween - cpuStart;
        subjectCpuSeconds += cpuEnd - cpuBetween;
        State.SetIterationTime(subject);
    }
    const auto iterations = static_cast<double>(State.iterations());
    State.counters["reference_ms"] = referenceSeconds / iterations * 1e3;
    State.counters["ratio"] = referenceSeconds > 0 ? subjectSeconds / referenceSeconds : 0;
    State.counters["cpu_ratio"] =
        referenceCpuSeconds > 0 ? subjectCpuSeconds / referenceCpuSeconds : 0;
}
