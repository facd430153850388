// Text and property routines of the translation engine.
#include "runtime/QzxComp.h"

#include <cmath>

const std::array<WideString, StringsTypeCount> IniNames = {
    u"Captions",   u"Hints",       u"DisplayLabels", u"Fonts",
    u"Multilines", u"Dialogs",     u"Strings",       u"Other",
    u"Locales",    u"Collections", u"CharSets",      u"ListView_TreeView_Items"};

namespace {

bool IsDelimiter(const TSysCharSet& Delims, char C) {
    return Delims.Contains(C);
}

// Floating-point division truncated toward zero, as the calendar formulas
// are written.
Int64 Div(double A, double B) {
    return static_cast<Int64>(std::trunc(A / B));
}

} // namespace

Integer WordPosition(Integer N, const AnsiString& S, const TSysCharSet& WordDelims) {
    Integer count = 0;
    std::size_t i = 0;
    while (i < S.size() && count != N) {
        // skip the delimiters before a word
        while (i < S.size() && IsDelimiter(WordDelims, S[i]))
            ++i;
        if (i < S.size())
            ++count;
        if (count == N)
            return static_cast<Integer>(i) + 1;
        // skip the word's characters
        while (i < S.size() && !IsDelimiter(WordDelims, S[i]))
            ++i;
    }
    return static_cast<Integer>(S.size());
}

AnsiString ExtractWord(Integer N, const AnsiString& S, const TSysCharSet& WordDelims) {
    Integer position = WordPosition(N, S, WordDelims);
    if (position == 0 || position == static_cast<Integer>(S.size()))
        return AnsiString();
    std::size_t start = static_cast<std::size_t>(position) - 1;
    std::size_t end = start;
    while (end < S.size() && !IsDelimiter(WordDelims, S[end]))
        ++end;
    return S.substr(start, end - start);
}

void ExtractUpperWord2(const AnsiString& S, char D, AnsiString& Result) {
    AnsiString word = ExtractWord(2, S, TSysCharSet{D});
    if (!word.empty())
        Result = AnsiUpperCase(word);
}

Integer CountDelimChars(const AnsiString& S, const TSysCharSet& Delims) {
    Integer count = 0;
    for (char c : S)
        if (IsDelimiter(Delims, c))
            ++count;
    return count;
}

WideString ReplaceStr(const WideString& S, const WideString& Old, const WideString& New,
                      bool ReplaceAll) {
    TReplaceFlags flags{rfIgnoreCase};
    if (ReplaceAll)
        flags.Include(rfReplaceAll);
    return WideStringReplace(S, Old, New, flags);
}

AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Old, const AnsiString& New,
                      bool ReplaceAll) {
    return UTF8Encode(ReplaceStr(UTF8Decode(S), UTF8Decode(Old), UTF8Decode(New), ReplaceAll));
}

Integer AnsiIndexText(const AnsiString& S, std::initializer_list<AnsiString> Values) {
    Integer index = 0;
    for (const AnsiString& value : Values) {
        if (AnsiCompareText(S, value) == 0)
            return index;
        ++index;
    }
    return -1;
}

namespace {

void AppendValueNames(PTypeInfo EnumType, TStrings& List) {
    if (!EnumType || EnumType->Kind != tkEnumeration)
        return;
    for (Int64 value = EnumType->MinValue; value <= EnumType->MaxValue; ++value)
        List.Add(GetEnumName(EnumType, static_cast<Integer>(value)));
}

} // namespace

void GetEnumMembers(PPropInfo PropInfo, TStrings& List) {
    AppendValueNames(PropInfo->PropType, List);
}

void GetSetMembers(PPropInfo PropInfo, TStrings& List) {
    AppendValueNames(PropInfo->PropType->CompType, List);
}

void GetIniNames(TStrings& List) {
    List.Clear();
    for (const WideString& name : IniNames)
        List.Add(UTF8Encode(name));
}

void zxSetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value) {
    SetObjectProp(Instance, PropInfo, Value);
}

TObject* zxGetObjectProp(TObject* Instance, PPropInfo PropInfo) {
    return GetObjectProp(Instance, PropInfo);
}

AnsiString zxFlipCase(const AnsiString& S) {
    std::u32string codes = UTF8ToCodePoints(S);
    for (char32_t& code : codes) {
        // Upper case is what has a distinct lower-case form.
        bool isUpper = UnicodeLower(code) != code;
        code = isUpper ? UnicodeLower(code) : UnicodeUpper(code);
    }
    return CodePointsToUTF8(codes);
}

AnsiString zxExpandStringByChars(const AnsiString& S, double Percent, char FillChar) {
    Int64 length = static_cast<Int64>(S.size());
    Int64 toAdd = static_cast<Int64>(std::trunc(static_cast<double>(length) * Percent)) / 100;
    AnsiString result;
    for (Int64 i = 1; i <= length; ++i) {
        Int64 fill = toAdd / (length + 1 - i);
        result += S[static_cast<std::size_t>(i - 1)];
        if (fill > 0)
            result.append(static_cast<std::size_t>(fill), FillChar);
        toAdd -= fill;
    }
    return result;
}

TDateTime Hijri2Gregorian(Integer Day, Integer Month, Integer Year) {
    Int64 J = Div(11.0 * Year + 3, 30) + 354LL * Year + 30LL * Month - Div(Month - 1, 2) + Day +
              1948440 - 385;
    Int64 D, M, Y;
    if (J > 2299160) {
        Int64 L = J + 68569;
        Int64 N = Div(4.0 * L, 146097);
        L = L - Div(146097.0 * N + 3, 4);
        Int64 I = Div(4000.0 * (L + 1), 1461001);
        L = L - Div(1461.0 * I, 4) + 31;
        Int64 K = Div(80.0 * L, 2447);
        D = L - Div(2447.0 * K, 80);
        L = Div(K, 11);
        M = K + 2 - 12 * L;
        Y = 100 * (N - 49) + I + L;
    } else {
        Int64 K = J + 1402;
        Int64 Q = Div(K - 1, 1461);
        Int64 L = K - 1461 * Q;
        Int64 N = Div(L - 1, 365) - Div(L, 1461);
        Int64 I = L - 365 * N + 30;
        K = Div(80.0 * I, 2447);
        D = I - Div(2447.0 * K, 80);
        I = Div(K, 11);
        M = K + 2 - 12 * I;
        Y = 4 * Q + N + I - 4716;
    }
    return std::trunc(EncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D)));
}

void Gregorian2Hijri(TDateTime Date, Integer& Day, Integer& Month, Integer& Year) {
    Word y, m, d;
    DecodeDate(Date, y, m, d);
    Int64 Y = y, M = m, D = d;
    Int64 J;
    if (Y > 1582 || (Y == 1582 && M > 10) || (Y == 1582 && M == 10 && D > 14)) {
        J = Div(1461.0 * (Y + 4800 + Div(M - 14, 12)), 4) +
            Div(367.0 * (M - 2 - 12 * Div(M - 14, 12)), 12) -
            Div(3.0 * Div(Y + 4900 + Div(M - 14, 12), 100), 4) + D - 32075;
    } else {
        J = 367 * Y - Div(7.0 * (Y + 5001 + Div(M - 9, 7)), 4) + Div(275.0 * M, 9) + D + 1729777;
    }
    Int64 L = J - 1948440 + 10632;
    Int64 N = Div(L - 1, 10631);
    L = L - 10631 * N + 354;
    Int64 K = Div(10985 - L, 5316) * Div(50.0 * L, 17719) + Div(L, 5670) * Div(43.0 * L, 15238);
    L = L - Div(30 - K, 15) * Div(17719.0 * K, 50) - Div(K, 16) * Div(15238.0 * K, 43) + 29;
    Month = static_cast<Integer>(Div(24.0 * L, 709));
    Day = static_cast<Integer>(L - Div(709.0 * Month, 24));
    Year = static_cast<Integer>(30 * N + K - 30);
}

TzxPropInfoList::TzxPropInfoList(TObject* AObject, const TTypeKinds& Filter)
    : FList(GetPropList(AObject, Filter)) {}

namespace {

// Type descriptions of a named type may exist once per class table, so one
// type is recognised by its kind and name.
bool SameType(PTypeInfo A, PTypeInfo B) {
    return A == B || (A && B && A->Kind == B->Kind && A->Name == B->Name);
}

} // namespace

bool TzxPropInfoList::Contains(PPropInfo P) const {
    for (PPropInfo entry : FList)
        if (SameType(entry->PropType, P->PropType) && CompareText(entry->Name, P->Name) == 0)
            return true;
    return false;
}

PPropInfo TzxPropInfoList::Find(const WideString& AName) const {
    AnsiString name = UTF8Encode(AName);
    for (PPropInfo entry : FList)
        if (CompareText(entry->Name, name) == 0)
            return entry;
    return nullptr;
}

void TzxPropInfoList::Delete(Integer Index) {
    FList.erase(FList.begin() + Index);
}

void TzxPropInfoList::Intersect(const TzxPropInfoList& List) {
    for (Integer i = Count() - 1; i >= 0; --i)
        if (!List.Contains(Get(i)))
            Delete(i);
}
