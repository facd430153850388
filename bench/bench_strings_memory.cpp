// The memory a program's strings take at run time: 10 translation
// components, each with 1,000 Strings lines in 5 languages and the string
// table built from them, against the bytes of the lines themselves. The
// program counts every byte the allocator hands out, so the figure includes
// each allocation's real size.
#include "runtime/QzxComp.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <new>
#include <vector>

namespace {

std::atomic<long long> LiveBytes{0};

void* Allocate(std::size_t Size) {
    void* block = std::malloc(Size == 0 ? 1 : Size);
    if (!block)
        throw std::bad_alloc();
    LiveBytes += static_cast<long long>(malloc_usable_size(block));
    return block;
}

void Release(void* Block) noexcept {
    if (!Block)
        return;
    LiveBytes -= static_cast<long long>(malloc_usable_size(Block));
    std::free(Block);
}

} // namespace

void* operator new(std::size_t Size) {
    return Allocate(Size);
}
void* operator new[](std::size_t Size) {
    return Allocate(Size);
}
void operator delete(void* Block) noexcept {
    Release(Block);
}
void operator delete[](void* Block) noexcept {
    Release(Block);
}
void operator delete(void* Block, std::size_t) noexcept {
    Release(Block);
}
void operator delete[](void* Block, std::size_t) noexcept {
    Release(Block);
}

namespace {

constexpr Integer kComponentCount = 10;
constexpr Integer kLineCount = 1000;
constexpr Integer kLanguageCount = 5;

// Identifiers and texts of the lengths programs use: about 170 bytes a line.
AnsiString LineOf(Integer Component, Integer Line) {
    AnsiString text = "SID_Form" + IntToStr(Component) + "_Text" + IntToStr(Line) + '\1';
    for (Integer language = 1; language <= kLanguageCount; ++language)
        text += "Message " + IntToStr(Line) + " in language " + IntToStr(language) + '\1';
    return text;
}

void BM_StringsMemory(benchmark::State& State) {
    InitQzxComp();
    long long rawBytes = 0;
    long long usedBytes = 0;
    for (auto _ : State) {
        rawBytes = 0;
        std::vector<std::unique_ptr<TzxLang>> langs;
        const long long before = LiveBytes;
        for (Integer component = 0; component < kComponentCount; ++component) {
            auto lang = std::make_unique<TzxLang>(nullptr);
            lang->SetNumLang(kLanguageCount);
            {
                TStringList lines;
                for (Integer line = 0; line < kLineCount; ++line) {
                    lines.Add(LineOf(component, line));
                    rawBytes += static_cast<long long>(lines[line].size());
                }
                lang->SetStrings(&lines);
            }
            lang->SetActLang(2);
            // The first lookup builds whatever the table builds for lookups.
            if (lang->GetText(UTF8Decode("SID_Form" + IntToStr(component) + "_Text1")).empty())
                State.SkipWithError("GetText does not find the identifiers");
            langs.push_back(std::move(lang));
        }
        usedBytes = LiveBytes - before;
        benchmark::DoNotOptimize(langs);
    }
    State.counters["bytes"] = static_cast<double>(usedBytes);
    State.counters["raw_bytes"] = static_cast<double>(rawBytes);
    State.counters["ratio"] = static_cast<double>(usedBytes) / static_cast<double>(rawBytes);
}
BENCHMARK(BM_StringsMemory)->Unit(benchmark::kMillisecond);

} // namespace
