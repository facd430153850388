#include "runtime/DOriDaz.h"

#include "rtl/SysUtils.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <memory>
#include <string_view>

namespace {

// Runs Fill between BeginUpdate and EndUpdate, so observers of Strings hear
// of the change once, even when Fill raises.
template <typename TFill> void UpdateStrings(TStrings& Strings, TFill Fill) {
    Strings.BeginUpdate();
    try {
        Fill();
    } catch (...) {
        Strings.EndUpdate();
        throw;
    }
    Strings.EndUpdate();
}

// The value of Ident converted by Convert; Default when it is empty or does
// not convert.
template <typename TValue, typename TConvert>
TValue ReadConverted(TCustomIniFile& Ini, const AnsiString& Section, const AnsiString& Ident,
                     TValue Default, TConvert Convert) {
    AnsiString text = Ini.ReadString(Section, Ident, "");
    if (text.empty())
        return Default;
    try {
        return static_cast<TValue>(Convert(text));
    } catch (const EConvertError&) {
        return Default;
    }
}

bool IsSectionHeader(std::string_view Line) {
    return Line.front() == '[' && Line.back() == ']';
}

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

bool HasLineBreak(const AnsiString& Text) {
    return HoldsAnyOf(Text, "\r\n");
}

// Why the entry's line would not read back as this section, key and value;
// nullptr when it would.
const char* UnwritableEntryReason(const AnsiString& Section, const AnsiString& Ident,
                                  const AnsiString& Value) {
    if (HasLineBreak(Section) || HasLineBreak(Ident) || HasLineBreak(Value))
        return "a line break would start a new line";
    if (Ident.find('=') != AnsiString::npos)
        return "the key holds \"=\"";
    if (Ident.starts_with(";"))
        return "the key would read as a comment";
    if (IsSectionHeader(Ident + "=" + Value))
        return "the entry would read as a section header";
    return nullptr;
}

} // namespace

// Two searches of one byte each, which the C library does a word at a time.
std::size_t LineEndOf(std::string_view Text, std::size_t Pos) {
    const char* start = Text.data() + Pos;
    std::size_t length = Text.size() - Pos;
    if (const void* lineFeed = std::memchr(start, '\n', length))
        length = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start);
    if (const void* carriageReturn = std::memchr(start, '\r', length))
        length = static_cast<std::size_t>(static_cast<const char*>(carriageReturn) - start);
    return Pos + length;
}

// ---------------------------------------------------------------------------
// TCustomIniFile

Integer TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident,
                                    Integer Default) {
    AnsiString text = ReadString(Section, Ident, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'X' || text[1] == 'x'))
        text = "$" + text.substr(2);
    return StrToIntDef(text, Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident,
                                  Integer Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

TDateTime TCustomIniFile::ReadDate(const AnsiString& Section, const AnsiString& Ident,
                                   TDateTime Default) {
    return ReadConverted(*this, Section, Ident, Default, StrToDate);
}

TDateTime TCustomIniFile::ReadDateTime(const AnsiString& Section, const AnsiString& Ident,
                                       TDateTime Default) {
    return ReadConverted(*this, Section, Ident, Default, StrToDateTime);
}

double TCustomIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident,
                                 double Default) {
    return ReadConverted(*this, Section, Ident, Default, StrToFloat);
}

TDateTime TCustomIniFile::ReadTime(const AnsiString& Section, const AnsiString& Ident,
                                   TDateTime Default) {
    return ReadConverted(*this, Section, Ident, Default, StrToTime);
}

void TCustomIniFile::WriteDate(const AnsiString& Section, const AnsiString& Ident,
                               TDateTime Value) {
    WriteString(Section, Ident, DateToStr(Value));
}

void TCustomIniFile::WriteDateTime(const AnsiString& Section, const AnsiString& Ident,
                                   TDateTime Value) {
    WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value) {
    WriteString(Section, Ident, FloatToStr(Value));
}

void TCustomIniFile::WriteTime(const AnsiString& Section, const AnsiString& Ident,
                               TDateTime Value) {
    WriteString(Section, Ident, TimeToStr(Value));
}

bool TCustomIniFile::SectionExists(const AnsiString& Section) {
    TStringList keys;
    ReadSection(Section, keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) {
    TStringList keys;
    ReadSection(Section, keys);
    return keys.IndexOf(Ident) > -1;
}

// ---------------------------------------------------------------------------
// TMemIniEntry

namespace {

// AnsiCompareText's order, with equal bytes and ASCII compared in place:
// keys of one file share long prefixes and are mostly ASCII.
Integer CompareKeys(const AnsiString& Key1, const AnsiString& Key2) {
    const std::size_t common = std::min(Key1.size(), Key2.size());
    std::size_t at = 0;
    // Equal runs, such as the form prefix, eight bytes at a time.
    for (std::uint64_t word1, word2; at + 8 <= common; at += 8) {
        std::memcpy(&word1, Key1.data() + at, sizeof word1);
        std::memcpy(&word2, Key2.data() + at, sizeof word2);
        if (word1 != word2)
            break;
    }
    auto isContinuation = [](const AnsiString& Key, std::size_t At) {
        return At < Key.size() && (static_cast<unsigned char>(Key[At]) & 0xC0) == 0x80;
    };
    // From the start of the character the two differ in, in either key: one
    // may hold a continuation byte where the other does not, and a
    // comparison begun inside a character would order the two otherwise
    // than one begun at its start.
    auto compareFromCharacter = [&](std::size_t At) {
        while (At > 0 && (isContinuation(Key1, At) || isContinuation(Key2, At)))
            --At;
        return AnsiCompareText(Key1.substr(At), Key2.substr(At));
    };
    for (; at < common; ++at) {
        auto c1 = static_cast<unsigned char>(Key1[at]);
        auto c2 = static_cast<unsigned char>(Key2[at]);
        if (c1 == c2)
            continue;
        if (c1 >= 0x80 || c2 >= 0x80)
            return compareFromCharacter(at);
        c1 = c1 >= 'A' && c1 <= 'Z' ? c1 + ('a' - 'A') : c1;
        c2 = c2 >= 'A' && c2 <= 'Z' ? c2 + ('a' - 'A') : c2;
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
    }
    // A shorter key that ends inside the longer key's character does not
    // hold that character, and decodes otherwise than a prefix would.
    if (isContinuation(Key1, common) || isContinuation(Key2, common))
        return compareFromCharacter(common);
    return Key1.size() < Key2.size() ? -1 : (Key1.size() > Key2.size() ? 1 : 0);
}

bool KeyBefore(const AnsiString& Key1, const AnsiString& Key2) {
    return CompareKeys(Key1, Key2) < 0;
}

bool SameKey(const AnsiString& Key1, const AnsiString& Key2) {
    return CompareKeys(Key1, Key2) == 0;
}

} // namespace

const TMemIniEntry::TItem& TMemIniEntry::At(Integer I) const {
    if (I < 0 || I >= GetStringCount())
        throw EListError(Format("List index out of bounds (%d)", {I}));
    return FEntries[static_cast<std::size_t>(I)];
}

void TMemIniEntry::divideKeyValue(const AnsiString& S, AnsiString& Key, AnsiString& Value) {
    const auto equalSign = S.find('=');
    if (equalSign == AnsiString::npos) {
        Key = S;
        Value.clear();
        return;
    }
    Key = S.substr(0, equalSign);
    Value = S.substr(equalSign + 1);
}

bool TMemIniEntry::Find(const AnsiString& Key, Integer& Index) const {
    const auto first = std::lower_bound(
        FEntries.begin(), FEntries.end(), Key,
        [](const TItem& Item, const AnsiString& Wanted) { return KeyBefore(Item.Key, Wanted); });
    Index = static_cast<Integer>(first - FEntries.begin());
    return first != FEntries.end() && SameKey(first->Key, Key);
}

// A text written by the engine is sorted already, so most keys read go
// after the last one.
Integer TMemIniEntry::Add(const AnsiString& Key, const AnsiString& Value) {
    Integer index = GetStringCount();
    if (!FEntries.empty() && !KeyBefore(FEntries.back().Key, Key))
        Find(Key, index);
    FEntries.insert(FEntries.begin() + index, TItem{Key, std::make_unique<TMemIniValue>(Value)});
    return index;
}

Integer TMemIniEntry::Add(const AnsiString& S) {
    AnsiString key;
    AnsiString value;
    divideKeyValue(S, key, value);
    return Add(key, value);
}

void TMemIniEntry::Assign(const TPersistent* Source) {
    const auto* lines = dynamic_cast<const TStrings*>(Source);
    if (!lines) {
        TPersistent::Assign(Source);
        return;
    }
    Clear();
    for (Integer i = 0; i < lines->Count(); ++i)
        Add((*lines)[i]);
}

void TMemIniEntry::Delete(Integer I) {
    At(I);
    FEntries.erase(FEntries.begin() + I);
}

namespace {

bool IsAsciiKey(const AnsiString& Key) {
    return std::all_of(Key.begin(), Key.end(), [](char C) { return static_cast<unsigned char>(C) < 0x80; });
}

// Entries in the order of their keys, equal keys in the order written.
// ASCII keys, the usual ones, are lower-cased once into one buffer and
// sorted by their bytes.
void SortByKey(std::vector<TMemIniEntry::TKeyValue>& Entries) {
    using TKeyValue = TMemIniEntry::TKeyValue;
    if (!std::all_of(Entries.begin(), Entries.end(), [](const TKeyValue& E) { return IsAsciiKey(E.first); })) {
        std::stable_sort(Entries.begin(), Entries.end(),
                         [](const TKeyValue& A, const TKeyValue& B) { return KeyBefore(A.first, B.first); });
        return;
    }
    std::string lowered;
    std::vector<std::size_t> starts;
    for (const TKeyValue& entry : Entries) {
        starts.push_back(lowered.size());
        for (char c : entry.first)
            lowered += c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
    }
    starts.push_back(lowered.size());
    auto keyOf = [&](std::size_t I) {
        return std::string_view(lowered).substr(starts[I], starts[I + 1] - starts[I]);
    };
    std::vector<std::size_t> order(Entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t A, std::size_t B) { return keyOf(A) < keyOf(B); });
    std::vector<TKeyValue> sorted;
    sorted.reserve(Entries.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(Entries[i]));
    Entries = std::move(sorted);
}

} // namespace

void TMemIniEntry::WriteStrings(std::vector<TKeyValue> Entries) {
    // Of the writes of one key only the last one counts.
    SortByKey(Entries);
    std::vector<TItem> merged;
    merged.reserve(FEntries.size() + Entries.size());
    auto kept = FEntries.begin();
    for (auto written = Entries.begin(); written != Entries.end(); ++written) {
        if (written + 1 != Entries.end() && SameKey(written->first, (written + 1)->first))
            continue;
        while (kept != FEntries.end() && KeyBefore(kept->Key, written->first))
            merged.push_back(std::move(*kept++));
        if (kept == FEntries.end() || !SameKey(kept->Key, written->first)) {
            merged.push_back(TItem{std::move(written->first),
                                   std::make_unique<TMemIniValue>(std::move(written->second))});
            continue;
        }
        // A save writes most keys again: the entry's holder takes the new
        // value and the key as written.
        merged.push_back(std::move(*kept++));
        if (merged.back().Key != written->first)
            merged.back().Key = std::move(written->first);
        merged.back().Value->SetValue(std::move(written->second));
    }
    std::move(kept, FEntries.end(), std::back_inserter(merged));
    FEntries = std::move(merged);
}

// ---------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(const AnsiString& FileName) : TCustomIniFile(FileName) {
    FSections.SetSorted(true);
    FSections.SetDuplicates(dupIgnore);
    LoadValues();
}

TMemIniFile::~TMemIniFile() {
    Clear();
}

TMemIniEntry* TMemIniFile::SectionAt(Integer I) const {
    return static_cast<TMemIniEntry*>(FSections.Objects(I));
}

TMemIniEntry* TMemIniFile::FindSection(const AnsiString& Name) const {
    Integer index = 0;
    return FSections.Find(Name, index) ? SectionAt(index) : nullptr;
}

void TMemIniFile::LoadValues() {
    if (FFileName.empty() || !FileExists(FFileName)) {
        Clear();
        return;
    }
    TStringList lines;
    lines.LoadFromFile(FFileName);
    SetStrings(lines);
}

void TMemIniFile::ParseLine(std::string_view Line, bool First, TMemIniEntry*& Section) {
    if (First && Line.starts_with(Utf8ByteOrderMark))
        Line.remove_prefix(Utf8ByteOrderMark.size());
    if (Line.empty() || Line.front() == ';')
        return;
    if (IsSectionHeader(Line)) {
        // A repeated header continues the section already read, so its
        // keys survive the next write.
        const AnsiString name(Line.substr(1, Line.size() - 2));
        Section = FindSection(name);
        if (!Section)
            Section = AddSection(name);
        return;
    }
    if (!Section)
        return;
    const auto equalSign = Line.find('=');
    if (equalSign == std::string_view::npos)
        Section->Add(AnsiString(Line), AnsiString());
    else
        Section->Add(AnsiString(Line.substr(0, equalSign)), AnsiString(Line.substr(equalSign + 1)));
}

void TMemIniFile::SetStrings(const TStrings& List) {
    Clear();
    TMemIniEntry* section = nullptr;
    for (Integer i = 0; i < List.Count(); ++i)
        ParseLine(List[i], i == 0, section);
}

void TMemIniFile::SetText(std::string_view Text) {
    Clear();
    TMemIniEntry* section = nullptr;
    ForEachTextLine(Text, [&](std::string_view Line, Integer Number) { ParseLine(Line, Number == 1, section); });
}

template <typename AddLine> void TMemIniFile::RenderLines(AddLine Add) const {
    for (Integer i = 0; i < FSections.Count(); ++i) {
        Add("[", FSections[i], "]");
        const TMemIniEntry& section = *SectionAt(i);
        // The list holds equal keys latest first, so lookups find the
        // latest; they are written in the order they were read, so a file
        // read and written again keeps its lines and its answers.
        Integer runStart = 0;
        while (runStart < section.GetStringCount()) {
            Integer runEnd = runStart + 1;
            while (runEnd < section.GetStringCount() &&
                   SameKey(section.getKey(runEnd), section.getKey(runStart)))
                ++runEnd;
            for (Integer k = runEnd - 1; k >= runStart; --k)
                Add(section.getKey(k), "=", section.GetValue(k));
            runStart = runEnd;
        }
        Add("", "", "");
    }
}

void TMemIniFile::GetStrings(TStrings& List) const {
    UpdateStrings(List, [&] {
        RenderLines([&](std::string_view A, std::string_view B, std::string_view C) {
            AnsiString line;
            line.reserve(A.size() + B.size() + C.size());
            List.Add(line.append(A).append(B).append(C));
        });
    });
}

AnsiString TMemIniFile::Text() const {
    // Sized first: a text of many megabytes grown step by step would be
    // copied and faulted in again at every step.
    std::size_t size = 0;
    RenderLines([&](std::string_view A, std::string_view B, std::string_view C) {
        size += A.size() + B.size() + C.size() + 1;
    });
    AnsiString text;
    text.reserve(size);
    RenderLines([&](std::string_view A, std::string_view B, std::string_view C) {
        text.append(A).append(B).append(C) += '\n';
    });
    return text;
}

AnsiString TMemIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Default) {
    const TMemIniEntry* section = FindSection(Section);
    Integer index = 0;
    if (section && section->Find(Ident, index))
        return section->GetValue(index);
    return Default;
}

void TMemIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                              const AnsiString& Value) {
    if (const char* reason = UnwritableEntryReason(Section, Ident, Value))
        throw EIniFileException(Format("Cannot write key \"%s\" of section \"%s\": %s",
                                       {Ident, Section, reason}));
    TMemIniEntry* section = FindSection(Section);
    if (!section)
        section = AddSection(Section);
    Integer index = 0;
    if (section->Find(Ident, index))
        section->Delete(index);
    section->Add(Ident + "=" + Value);
}

void TMemIniFile::ReadSection(const AnsiString& Section, TStrings& Strings) {
    UpdateStrings(Strings, [&] {
        Strings.Clear();
        const TMemIniEntry* section = FindSection(Section);
        if (!section)
            return;
        for (Integer i = 0; i < section->GetStringCount(); ++i)
            Strings.Add(section->getKey(i));
    });
}

void TMemIniFile::ReadSections(TStrings& Strings) {
    Strings.Assign(&FSections);
}

void TMemIniFile::ReadSectionValues(const AnsiString& Section, TStrings& Strings) {
    UpdateStrings(Strings, [&] {
        Strings.Clear();
        const TMemIniEntry* section = FindSection(Section);
        if (!section)
            return;
        for (Integer i = 0; i < section->GetStringCount(); ++i)
            Strings.AddObject(section->getKey(i), section->ValueHolder(i));
    });
}

void TMemIniFile::ReadSectionValues(const AnsiString& Section, const AnsiString& Prefix,
                                    TStrings& Strings) {
    UpdateStrings(Strings, [&] {
        Strings.Clear();
        const TMemIniEntry* section = FindSection(Section);
        if (!section)
            return;
        Integer i = 0;
        section->Find(Prefix, i);
        for (; i < section->GetStringCount(); ++i) {
            const AnsiString& key = section->getKey(i);
            if (key.size() < Prefix.size() || !AnsiSameText(key.substr(0, Prefix.size()), Prefix))
                break;
            Strings.AddObject(key, section->ValueHolder(i));
        }
    });
}

void TMemIniFile::WriteStrings(const AnsiString& Section,
                               std::vector<TMemIniEntry::TKeyValue> Entries) {
    if (Entries.empty())
        return;
    TMemIniEntry* section = FindSection(Section);
    if (!section)
        section = AddSection(Section);
    section->WriteStrings(std::move(Entries));
}

void TMemIniFile::EraseSection(const AnsiString& Section) {
    Integer index = 0;
    if (!FSections.Find(Section, index))
        return;
    delete SectionAt(index);
    FSections.Delete(index);
}

void TMemIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
    TMemIniEntry* section = FindSection(Section);
    Integer index = 0;
    if (section && section->Find(Ident, index))
        section->Delete(index);
}

void TMemIniFile::UpdateFile() {
    TStringList lines;
    GetStrings(lines);
    lines.SaveToFile(FFileName);
}

TMemIniEntry* TMemIniFile::AddSection(const AnsiString& Name) {
    // The list ignores a second section of the same name; hand back the one
    // it holds rather than an entry nobody would own.
    if (TMemIniEntry* existing = FindSection(Name))
        return existing;
    auto section = std::make_unique<TMemIniEntry>();
    FSections.AddObject(Name, section.get());
    return section.release();
}

void TMemIniFile::Clear() {
    for (Integer i = 0; i < FSections.Count(); ++i)
        delete SectionAt(i);
    FSections.Clear();
}

void TMemIniFile::Rename(const AnsiString& FileName, bool Reload) {
    FFileName = FileName;
    if (Reload)
        LoadValues();
}

// ---------------------------------------------------------------------------
// Searches

bool HoldsAnyOf(std::string_view Text, std::string_view Chars) {
    return std::any_of(Text.begin(), Text.end(), [Chars](char C) {
        return std::any_of(Chars.begin(), Chars.end(), [C](char Wanted) { return C == Wanted; });
    });
}

Integer SearchBM(const AnsiString& SubStr, const AnsiString& S) {
    const std::size_t m = SubStr.size();
    if (m == 0)
        return 1;
    // How far the window may move when its last byte is b.
    std::array<std::size_t, 256> shift;
    shift.fill(m);
    for (std::size_t i = 1; i <= m - 1; ++i)
        shift[static_cast<Byte>(SubStr[i - 1])] = m - i;

    const std::size_t n = S.size();
    std::size_t k = m; // 1-based position in S of the window's last byte
    while (k <= n) {
        std::size_t matched = 0;
        while (matched < m && SubStr[m - 1 - matched] == S[k - 1 - matched])
            ++matched;
        if (matched == m)
            return static_cast<Integer>(k - m + 1);
        k += shift[static_cast<Byte>(S[k - 1])];
    }
    return 0;
}
