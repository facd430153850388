// Case rules: ASCII-only mapping and comparison, Unicode simple case mapping
// and folding in code-point order, and the replacements that match under them.
//
// Everything here is independent of the machine's locale, so sorted lists and
// the files written from them come out the same everywhere. Bytes that are not
// valid UTF-8 travel as U+DC80..U+DCFF (see UTF8ToCodePoints); no table maps
// those code points, so such bytes come out of every routine unchanged.
#include "rtl/SysUtils.h"

#include "rtl/UnicodeCaseData.inc"

#include <algorithm>
#include <iterator>

namespace {

using UnicodeCaseData::TCaseRun;

template <std::size_t N> char32_t MapByRuns(const TCaseRun (&runs)[N], char32_t C) {
    auto after =
        std::upper_bound(std::begin(runs), std::end(runs), C,
                         [](char32_t code, const TCaseRun& run) { return code < run.First; });
    if (after == std::begin(runs))
        return C;
    const TCaseRun& run = *std::prev(after);
    if (C > run.Last || (C - run.First) % run.Step != 0)
        return C;
    return static_cast<char32_t>(static_cast<std::int64_t>(C) + run.Delta);
}

bool IsAscii(unsigned char C) {
    return C < 0x80;
}
bool IsAsciiText(std::string_view S) {
    return std::all_of(S.begin(), S.end(),
                       [](char C) { return IsAscii(static_cast<unsigned char>(C)); });
}

unsigned char AsciiUpper(unsigned char C) {
    return C >= 'a' && C <= 'z' ? C - ('a' - 'A') : C;
}
unsigned char AsciiLower(unsigned char C) {
    return C >= 'A' && C <= 'Z' ? C + ('a' - 'A') : C;
}

template <typename Map> AnsiString MapBytes(const AnsiString& S, Map map) {
    AnsiString result(S);
    for (char& C : result)
        C = static_cast<char>(map(static_cast<unsigned char>(C)));
    return result;
}

Integer Sign(std::int64_t Difference) {
    return Difference < 0 ? -1 : (Difference > 0 ? 1 : 0);
}

// Compares two code-point sequences after passing each code point through
// Fold; a proper prefix sorts first.
template <typename Fold>
Integer CompareCodePoints(std::u32string_view S1, std::u32string_view S2, Fold fold) {
    std::size_t common = std::min(S1.size(), S2.size());
    for (std::size_t i = 0; i < common; ++i) {
        char32_t c1 = fold(S1[i]), c2 = fold(S2[i]);
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
    }
    return Sign(static_cast<std::int64_t>(S1.size()) - static_cast<std::int64_t>(S2.size()));
}

AnsiString MapUTF8(const AnsiString& S, char32_t (*map)(char32_t)) {
    std::u32string codes = UTF8ToCodePoints(S);
    for (char32_t& code : codes)
        code = map(code);
    return CodePointsToUTF8(codes);
}

// UTF-16 as code points: a surrogate pair is one code point, a lone surrogate
// stands for itself, so the conversion back restores every code unit.
bool IsHighSurrogate(char32_t Unit) {
    return Unit >= 0xD800 && Unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t Unit) {
    return Unit >= 0xDC00 && Unit <= 0xDFFF;
}

char32_t NextCodePoint(std::u16string_view S, std::size_t& At) {
    char32_t unit = S[At++];
    if (IsHighSurrogate(unit) && At < S.size() && IsLowSurrogate(S[At]))
        return 0x10000 + ((unit - 0xD800) << 10) + (S[At++] - 0xDC00);
    return unit;
}

std::u32string WideToCodePoints(std::u16string_view S) {
    std::u32string codes;
    codes.reserve(S.size());
    for (std::size_t at = 0; at < S.size();)
        codes += NextCodePoint(S, at);
    return codes;
}

void AppendUTF16(WideString& Out, char32_t Code) {
    if (Code >= 0x10000) {
        Code -= 0x10000;
        Out += static_cast<char16_t>(0xD800 + (Code >> 10));
        Out += static_cast<char16_t>(0xDC00 + (Code & 0x3FF));
    } else {
        Out += static_cast<char16_t>(Code);
    }
}

WideString CodePointsToWide(std::u32string_view Codes) {
    WideString result;
    result.reserve(Codes.size());
    for (char32_t code : Codes)
        AppendUTF16(result, code);
    return result;
}

WideString MapUTF16(const WideString& S, char32_t (*map)(char32_t)) {
    WideString result;
    result.reserve(S.size());
    for (std::size_t at = 0; at < S.size();)
        AppendUTF16(result, map(NextCodePoint(S, at)));
    return result;
}

template <typename Fold>
Integer CompareUTF16(std::u16string_view S1, std::u16string_view S2, Fold fold) {
    std::size_t at1 = 0, at2 = 0;
    while (at1 < S1.size() && at2 < S2.size()) {
        char32_t c1 = fold(NextCodePoint(S1, at1)), c2 = fold(NextCodePoint(S2, at2));
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
    }
    return Sign(static_cast<std::int64_t>(S1.size() - at1) -
                static_cast<std::int64_t>(S2.size() - at2));
}

char32_t Unchanged(char32_t C) {
    return C;
}

// Replaces Pattern in Text, comparing both under case folding code point by
// code point. Folding maps one code point to one, so a match in the folded text
// lies at the same positions in Text, whose own spelling is kept elsewhere.
std::u32string ReplaceFolded(const std::u32string& Text, const std::u32string& Pattern,
                             const std::u32string& NewPattern, bool ReplaceAll) {
    std::u32string foldedText(Text), foldedPattern(Pattern);
    std::transform(foldedText.begin(), foldedText.end(), foldedText.begin(), UnicodeFold);
    std::transform(foldedPattern.begin(), foldedPattern.end(), foldedPattern.begin(), UnicodeFold);
    std::u32string result;
    std::size_t copiedUpTo = 0;
    for (std::size_t at = foldedText.find(foldedPattern); at != std::u32string::npos;
         at = foldedText.find(foldedPattern, at)) {
        result.append(Text, copiedUpTo, at - copiedUpTo);
        result += NewPattern;
        at += Pattern.size();
        copiedUpTo = at;
        if (!ReplaceAll)
            break;
    }
    result.append(Text, copiedUpTo);
    return result;
}

template <typename Str>
Str ReplaceExact(const Str& S, const Str& OldPattern, const Str& NewPattern, bool ReplaceAll) {
    Str result;
    std::size_t copiedUpTo = 0;
    for (std::size_t at = S.find(OldPattern); at != Str::npos; at = S.find(OldPattern, at)) {
        result.append(S, copiedUpTo, at - copiedUpTo);
        result += NewPattern;
        at += OldPattern.size();
        copiedUpTo = at;
        if (!ReplaceAll)
            break;
    }
    result.append(S, copiedUpTo);
    return result;
}

} // namespace

// ---------------------------------------------------------------------------
// Single code points

char32_t UnicodeUpper(char32_t C) {
    if (C < 0x80)
        return AsciiUpper(static_cast<unsigned char>(C));
    return MapByRuns(UnicodeCaseData::UpperCaseRuns, C);
}

char32_t UnicodeLower(char32_t C) {
    if (C < 0x80)
        return AsciiLower(static_cast<unsigned char>(C));
    return MapByRuns(UnicodeCaseData::LowerCaseRuns, C);
}

char32_t UnicodeFold(char32_t C) {
    if (C < 0x80)
        return AsciiLower(static_cast<unsigned char>(C));
    return MapByRuns(UnicodeCaseData::FoldCaseRuns, C);
}

// ---------------------------------------------------------------------------
// ASCII rules. CompareText folds to lower case like the Unicode folding does,
// so an ASCII-only list sorts the same under CompareText and AnsiCompareText.

AnsiString UpperCase(const AnsiString& S) {
    return MapBytes(S, AsciiUpper);
}

AnsiString LowerCase(const AnsiString& S) {
    return MapBytes(S, AsciiLower);
}

Integer CompareStr(const AnsiString& S1, const AnsiString& S2) {
    return Sign(S1.compare(S2));
}

Integer CompareText(const AnsiString& S1, const AnsiString& S2) {
    std::size_t common = std::min(S1.size(), S2.size());
    for (std::size_t i = 0; i < common; ++i) {
        unsigned char c1 = AsciiLower(static_cast<unsigned char>(S1[i]));
        unsigned char c2 = AsciiLower(static_cast<unsigned char>(S2[i]));
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
    }
    return Sign(static_cast<std::int64_t>(S1.size()) - static_cast<std::int64_t>(S2.size()));
}

bool SameText(const AnsiString& S1, const AnsiString& S2) {
    return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

// ---------------------------------------------------------------------------
// Unicode rules on UTF-8

AnsiString AnsiUpperCase(const AnsiString& S) {
    return IsAsciiText(S) ? UpperCase(S) : MapUTF8(S, UnicodeUpper);
}

AnsiString AnsiLowerCase(const AnsiString& S) {
    return IsAsciiText(S) ? LowerCase(S) : MapUTF8(S, UnicodeLower);
}

// List sorting calls this all the time with mostly ASCII keys, so the ASCII
// prefix is compared in place. Up to the first non-ASCII byte both strings
// consist of one-byte characters, so that byte starts a character in both, and
// the rest is compared as code points (a non-ASCII letter may fold to ASCII,
// as the Kelvin sign does).
Integer AnsiCompareText(const AnsiString& S1, const AnsiString& S2) {
    std::size_t common = std::min(S1.size(), S2.size());
    std::size_t i = 0;
    for (; i < common; ++i) {
        auto c1 = static_cast<unsigned char>(S1[i]), c2 = static_cast<unsigned char>(S2[i]);
        if (!IsAscii(c1) || !IsAscii(c2))
            break;
        c1 = AsciiLower(c1), c2 = AsciiLower(c2);
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
    }
    if (i == common)
        return Sign(static_cast<std::int64_t>(S1.size()) - static_cast<std::int64_t>(S2.size()));
    return CompareCodePoints(UTF8ToCodePoints(std::string_view(S1).substr(i)),
                             UTF8ToCodePoints(std::string_view(S2).substr(i)), UnicodeFold);
}

bool AnsiSameText(const AnsiString& S1, const AnsiString& S2) {
    return AnsiCompareText(S1, S2) == 0;
}

Integer AnsiCompareStr(const AnsiString& S1, const AnsiString& S2) {
    return CompareStr(S1, S2);
}

bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2) {
    return S1 == S2;
}

Integer AnsiPos(const AnsiString& Sub, const AnsiString& S) {
    return Pos(Sub, S);
}

// ---------------------------------------------------------------------------
// Unicode rules on UTF-16

WideString WideUpperCase(const WideString& S) {
    return MapUTF16(S, UnicodeUpper);
}

WideString WideLowerCase(const WideString& S) {
    return MapUTF16(S, UnicodeLower);
}

Integer WideCompareText(const WideString& S1, const WideString& S2) {
    return CompareUTF16(S1, S2, UnicodeFold);
}

// Code-point order, like AnsiCompareStr on the UTF-8 form: a surrogate pair
// sorts after U+E000..U+FFFF although its code units are smaller.
Integer WideCompareStr(const WideString& S1, const WideString& S2) {
    return CompareUTF16(S1, S2, Unchanged);
}

bool WideSameText(const WideString& S1, const WideString& S2) {
    return WideCompareText(S1, S2) == 0;
}

// ---------------------------------------------------------------------------
// Replacement

AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern,
                         const AnsiString& NewPattern, TReplaceFlags Flags) {
    if (OldPattern.empty())
        return S;
    bool replaceAll = Flags.Contains(rfReplaceAll);
    if (!Flags.Contains(rfIgnoreCase))
        return ReplaceExact(S, OldPattern, NewPattern, replaceAll);
    return CodePointsToUTF8(ReplaceFolded(UTF8ToCodePoints(S), UTF8ToCodePoints(OldPattern),
                                          UTF8ToCodePoints(NewPattern), replaceAll));
}

WideString WideStringReplace(const WideString& S, const WideString& OldPattern,
                             const WideString& NewPattern, TReplaceFlags Flags) {
    if (OldPattern.empty())
        return S;
    bool replaceAll = Flags.Contains(rfReplaceAll);
    if (!Flags.Contains(rfIgnoreCase))
        return ReplaceExact(S, OldPattern, NewPattern, replaceAll);
    return CodePointsToWide(ReplaceFolded(WideToCodePoints(S), WideToCodePoints(OldPattern),
                                          WideToCodePoints(NewPattern), replaceAll));
}
