// Case-insensitive comparison as sorted string lists use it: typical keys of
// about 20 bytes that share a prefix and differ late, or are equal but for
// case.
#include "rtl/SysUtils.h"

#include <benchmark/benchmark.h>

#include <strings.h>

namespace {

struct TKeyPair {
    AnsiString First, Second;
};

const TKeyPair kAsciiKeys{"Form1.Button1.Caption", "FORM1.BUTTON1.CAPTIOn"};
const TKeyPair kAsciiOrderedKeys{"Form1.Button1.Caption", "Form1.Button1.Captiox"};
// Äpfel.Größe.Überschrift / ÄPFEL.GRÖSSE.überschrift: non-ASCII from the start.
const TKeyPair kNonAsciiKeys{"\xC3\x84pfel.Gr\xC3\xB6\xC3\x9F"
                             "e.\xC3\x9C"
                             "berschrift",
                             "\xC3\x84PFEL.GR\xC3\x96\xE1\xBA\x9E"
                             "E.\xC3\xBC"
                             "berschrift"};
// Mostly ASCII with one non-ASCII letter near the end.
const TKeyPair kLateNonAsciiKeys{"Form1.Label1.Gr\xC3\xB6\xC3\x9F"
                                 "e",
                                 "FORM1.LABEL1.GR\xC3\x96\xC3\x9F"
                                 "E"};

void CompareKeys(benchmark::State& State, Integer (*compare)(const AnsiString&, const AnsiString&),
                 const TKeyPair& Keys) {
    for (auto _ : State)
        benchmark::DoNotOptimize(compare(Keys.First, Keys.Second));
}

// The reference: the C library's comparison, which folds ASCII only.
Integer CStrCaseCmp(const AnsiString& First, const AnsiString& Second) {
    return strcasecmp(First.c_str(), Second.c_str());
}

} // namespace

BENCHMARK_CAPTURE(CompareKeys, AnsiCompareText_Ascii_EqualButCase, AnsiCompareText, kAsciiKeys);
BENCHMARK_CAPTURE(CompareKeys, AnsiCompareText_Ascii_DifferLate, AnsiCompareText,
                  kAsciiOrderedKeys);
BENCHMARK_CAPTURE(CompareKeys, AnsiCompareText_NonAscii, AnsiCompareText, kNonAsciiKeys);
BENCHMARK_CAPTURE(CompareKeys, AnsiCompareText_NonAsciiNearEnd, AnsiCompareText, kLateNonAsciiKeys);
BENCHMARK_CAPTURE(CompareKeys, CompareText_Ascii_EqualButCase, CompareText, kAsciiKeys);
BENCHMARK_CAPTURE(CompareKeys, AnsiCompareStr_Ascii_DifferLate, AnsiCompareStr, kAsciiOrderedKeys);
BENCHMARK_CAPTURE(CompareKeys, strcasecmp_Ascii_EqualButCase, CStrCaseCmp, kAsciiKeys);
