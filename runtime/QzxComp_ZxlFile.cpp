// The text translation file ".zxl": an ini text in which one file serves
// many forms, each form's keys beginning with its owner's class name. The
// component's stream operations write and read it here: one kind or all,
// merges, the extended section and single language columns.
#include "runtime/DOriDaz.h"
#include "runtime/QzxComp_Engine.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <unordered_set>

namespace {

const AnsiString OptionsSection = "OPTIONS";
const AnsiString DelimiterKey = "DELIMITER";
// The extended writer spells the same section and key its own way; lookups
// ignore case, so both name one entry.
const AnsiString ExtendedOptionsSection = "Options";
const AnsiString ExtendedDelimiterKey = "Delimiter";
const AnsiString LangNamesSection = "Language names - for internal use only!";
const AnsiString OldLangNamesSection = "Language names - for intenal use only!";
const AnsiString ExtendedSection = "Extended";
const AnsiString DefaultDelimiter = "~!@#";
const AnsiString LanguageKey = "Language_";
const AnsiString FixedLanguageKey = "Language_Fixed";
const AnsiString TypeKindSuffix = "_TypeKind";
const AnsiString SkippedValue = "\xFF";
constexpr char EscapedCR = 25;
constexpr char EscapedLF = 26;

// A line longer than this is no translation text: the reader refuses it
// rather than take a damaged or foreign file for one.
constexpr std::size_t MaxLineLength = 1 << 20;

const char* const MalformedLine = "Translation file %s, line %d: %s";
const char* const MalformedText = "Translation file %s: %s";
const char* const UnwritableKey = "The key \"%s\" cannot be written to a translation file!";
const char* const UnwritableText = "\"%s\" cannot be written to a translation file!";
const char* const NoOwner = "A translation component without owner has no translation file keys!";

AnsiString IniName(TStringsType Kind) {
    return UTF8Encode(IniNames[static_cast<std::size_t>(Kind)]);
}

bool HasIndexMarks(TStringsType Kind) {
    return Kind == stCollections || Kind == stListView_TreeView_Items;
}

AnsiString Replaced(AnsiString S, char From, char To) {
    std::replace(S.begin(), S.end(), From, To);
    return S;
}

// Every From of S, left to right, appended to Out as To.
void AppendReplaced(AnsiString& Out, std::string_view S, std::string_view From, std::string_view To) {
    if (From.empty()) {
        Out += S;
        return;
    }
    std::size_t pos = 0;
    for (std::size_t found; (found = S.find(From, pos)) != std::string_view::npos; pos = found + From.size())
        Out.append(S.substr(pos, found - pos)).append(To);
    Out += S.substr(pos);
}

AnsiString Replaced(const AnsiString& S, const AnsiString& From, const AnsiString& To) {
    AnsiString replaced;
    AppendReplaced(replaced, S, From, To);
    return replaced;
}

// Line breaks inside a value travel as codes 25 and 26, so that every entry
// stays on one line of the file.
void UnescapeInPlace(AnsiString& S) {
    for (char& c : S)
        c = c == EscapedCR ? '\r' : (c == EscapedLF ? '\n' : c);
}

AnsiString UnescapeLineBreaks(AnsiString S) {
    UnescapeInPlace(S);
    return S;
}

// The values of a list line as a file entry's value: the list's delimiter
// as the file's, line breaks escaped, in one pass.
AnsiString EntryValue(std::string_view Values, char ListDelim, const AnsiString& FileDelim) {
    AnsiString value;
    value.reserve(Values.size() + Values.size() / 8);
    std::size_t runStart = 0;
    for (std::size_t at = 0; at < Values.size(); ++at) {
        const char c = Values[at];
        if (c != ListDelim && c != '\r' && c != '\n')
            continue;
        value.append(Values.substr(runStart, at - runStart));
        if (c == ListDelim)
            value += FileDelim;
        else
            value += c == '\r' ? EscapedCR : EscapedLF;
        runStart = at + 1;
    }
    value.append(Values.substr(runStart));
    return value;
}

// Collection and list-view items' indexes are written ListView1.Items-3+;
// every mark of a key maps back.
AnsiString IndexMarksOf(const AnsiString& Key) {
    return Replaced(Replaced(Key, '[', '-'), ']', '+');
}

AnsiString BracketsOf(const AnsiString& Key) {
    return Replaced(Replaced(Key, '-', '['), '+', ']');
}

AnsiString SourceName(TStream& Stream) {
    auto* file = dynamic_cast<TFileStream*>(&Stream);
    return file ? "\"" + file->FileName() + "\"" : AnsiString("stream");
}

// The whole text of Stream from its start.
AnsiString ReadWholeText(TStream& Stream) {
    const Int64 size = Stream.Size();
    if (size > std::numeric_limits<Integer>::max())
        throw EReadError(
            Format(MalformedText, {SourceName(Stream), AnsiString("the file is too large")}));
    AnsiString text(static_cast<std::size_t>(size), '\0');
    Stream.SetPosition(0);
    Stream.ReadBuffer(text.data(), static_cast<Integer>(size));
    return text;
}

// Refuses what no writer of the format produces: NUL bytes, overlong
// lines, and lines inside a section that are neither a header nor an entry.
// The text may come in pieces of whole lines.
class TTranslationTextCheck {
public:
    explicit TTranslationTextCheck(const AnsiString& Source) : FSource(Source) {}

    void Check(std::string_view Lines) {
        Integer last = 0;
        ForEachTextLine(Lines, [&](std::string_view Line, Integer Number) {
            CheckLine(Line, FLinesBefore + Number);
            last = Number;
        });
        FLinesBefore += last;
    }

private:
    void CheckLine(std::string_view Line, Integer Number) {
        auto refuse = [&](const char* Reason) {
            throw EReadError(Format(MalformedLine, {FSource, Number, Reason}));
        };
        if (Line.size() > MaxLineLength)
            refuse("the line is too long");
        if (Line.find('\0') != std::string_view::npos)
            refuse("the line holds a NUL byte");
        if (Line.empty() || Line.front() == ';')
            return;
        if (Line.front() == '[' && Line.back() == ']') {
            FInSection = true;
            return;
        }
        if (FInSection && Line.find('=') == std::string_view::npos)
            refuse("the line is neither a section header nor an entry");
    }

    AnsiString FSource;
    bool FInSection = false;
    Integer FLinesBefore = 0;
};

// The delimiter string of the file's values.
AnsiString FileDelimiter(TMemIniFile& Ini) {
    return Ini.ReadString(OptionsSection, DelimiterKey, DefaultDelimiter);
}

// A stored type kind name, cut before the delimiter string.
AnsiString TypeKindName(const AnsiString& Stored, TMemIniFile& Ini) {
    return Stored.substr(0, Stored.find(FileDelimiter(Ini)));
}

// The keys that hold an extended entry's type kind, in any case.
bool IsTypeKindKey(const AnsiString& Key) {
    return Key.size() >= TypeKindSuffix.size() &&
           SameText(Key.substr(Key.size() - TypeKindSuffix.size()), TypeKindSuffix);
}

// The type kind name stored for the extended entry Key.
AnsiString StoredTypeKindName(TMemIniFile& Ini, const AnsiString& Key) {
    return TypeKindName(Ini.ReadString(ExtendedSection, Key + TypeKindSuffix, "tkUnknown"), Ini);
}

// Whether the file names languages 1 to Limit + 1 without a gap, as the
// readers take them.
bool NamesMoreLanguagesThan(TMemIniFile& Ini, Integer Limit) {
    for (Integer language = 1; language <= Limit + 1; ++language)
        if (Ini.ReadString(LangNamesSection, LanguageKey + IntToStr(language), "").empty())
            return false;
    return true;
}

// Refuses entries that no reader could use: an empty delimiter, which
// would split nothing; language names that do not start with language 1
// or name more languages than a component holds; property type kinds the
// platform does not know.
void CheckTranslationEntries(TMemIniFile& Ini, const AnsiString& Source) {
    auto refuse = [&](const AnsiString& Reason) {
        throw EReadError(Format(MalformedText, {Source, Reason}));
    };
    if (Ini.ReadString(OptionsSection, DelimiterKey, DefaultDelimiter).empty())
        refuse("the delimiter is empty");
    if (Ini.SectionExists(LangNamesSection) &&
        Ini.ReadString(LangNamesSection, LanguageKey + "1", "").empty())
        refuse("language 1 has no name");
    if (NamesMoreLanguagesThan(Ini, MaxNumOfLanguages))
        refuse(Format("more than %d languages", {MaxNumOfLanguages}));
    TStringList keys;
    Ini.ReadSectionValues(ExtendedSection, keys);
    for (Integer index = 0; index < keys.Count(); ++index) {
        // Each entry's kind is checked as the loader finds it, by a lookup
        // that ignores case, so no spelling of the key slips past.
        const AnsiString typeName =
            IsTypeKindKey(keys[index])
                ? TypeKindName(static_cast<TMemIniValue*>(keys.Objects(index))->Value(), Ini)
                : StoredTypeKindName(Ini, keys[index]);
        if (GetEnumValue(TypeInfoOf(tkUnknown), typeName) < 0)
            refuse("unknown property type kind \"" + typeName + "\"");
    }
}

// The file's text in a fresh ini engine; raises EReadError naming the file
// when the text is malformed.
std::unique_ptr<TMemIniFile> ReadTranslationFile(TStream& Stream) {
    const AnsiString source = SourceName(Stream);
    const AnsiString text = ReadWholeText(Stream);
    TTranslationTextCheck(source).Check(text);
    auto ini = std::make_unique<TMemIniFile>("");
    ini->SetText(text);
    CheckTranslationEntries(*ini, source);
    return ini;
}

std::unique_ptr<TMemIniFile> ReadTranslationFile(const WideString& FileName) {
    TFileStream stream(UTF8Encode(FileName), static_cast<Word>(fmOpenRead | fmShareDenyWrite));
    return ReadTranslationFile(stream);
}

// The ini's text replaces the stream's; a text the reader would refuse is
// never written. The text is rendered twice, piece by piece, once to check
// it and once to write it, rather than held whole.
void WriteTranslationText(TStream& Stream, const TMemIniFile& Ini) {
    TTranslationTextCheck check(SourceName(Stream));
    Ini.WriteText([&](std::string_view Lines) { check.Check(Lines); });
    Stream.SetSize(0);
    Stream.SetPosition(0);
    Ini.WriteText([&](std::string_view Lines) {
        Stream.WriteBuffer(Lines.data(), static_cast<Integer>(Lines.size()));
    });
}

// An entry of the ini engine, read in place.
struct TIniEntryRef {
    const AnsiString* Key;
    const AnsiString* Value;
};

std::vector<TIniEntryRef> EntriesWith(TMemIniFile& Ini, const AnsiString& Section,
                                      const AnsiString& Prefix) {
    std::vector<TIniEntryRef> entries;
    Ini.ForEachValueOf(Section, Prefix, [&](const AnsiString& Key, TMemIniValue& Value) {
        entries.push_back({&Key, &Value.Value()});
    });
    return entries;
}

// The entries of Section that belong to one of the names (a key
// "Name.item"), in the section's order; valid while the engine is unchanged.
std::vector<TIniEntryRef> EntriesOf(TMemIniFile& Ini, const AnsiString& Section,
                                    const AnsiString& Name1, const AnsiString& Name2) {
    std::vector<TIniEntryRef> entries = EntriesWith(Ini, Section, Name1 + ".");
    if (Name2.empty() || AnsiSameText(Name1, Name2))
        return entries;
    const std::vector<TIniEntryRef> second = EntriesWith(Ini, Section, Name2 + ".");
    if (second.empty())
        return entries;
    // Two names give two runs of keys that never overlap.
    const bool secondLast = !entries.empty() && AnsiCompareText(*entries[0].Key, *second[0].Key) < 0;
    entries.insert(secondLast ? entries.end() : entries.begin(), second.begin(), second.end());
    return entries;
}

// Keys and texts may hold nothing that splits an entry or its line.
void CheckWritableKey(const AnsiString& Key) {
    if (HoldsAnyOf(Key, "=\r\n"))
        throw ELanguageError(Format(UnwritableKey, {Key}));
}

void CheckWritableText(const AnsiString& Text) {
    if (Text.empty() || HoldsAnyOf(Text, "\r\n"))
        throw ELanguageError(Format(UnwritableText, {Text}));
}

// Value N (from 1) of a values text, each value ended by Delim.
AnsiString NthValue(const AnsiString& Values, Integer N, const AnsiString& Delim) {
    AnsiString rest = Values;
    for (Integer skipped = 1; skipped < N; ++skipped) {
        const auto at = rest.find(Delim);
        if (at == AnsiString::npos)
            return AnsiString();
        rest.erase(0, at + Delim.size());
    }
    return rest.substr(0, rest.find(Delim));
}

// Restores the load-all flag however the operation ends.
class TLoadAllScope {
public:
    TLoadAllScope(bool& Flag, bool Value) : FFlag(Flag), FSaved(Flag) { FFlag = Value; }
    ~TLoadAllScope() { FFlag = FSaved; }
    TLoadAllScope(const TLoadAllScope&) = delete;
    TLoadAllScope& operator=(const TLoadAllScope&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

} // namespace

// ---------------------------------------------------------------------------
// Writing

void TzxCustomLang::TEngine::WriteLanguageNames(const TzxCustomLang& L, TMemIniFile& Ini) {
    Ini.EraseSection(LangNamesSection);
    for (Integer language = 1; language <= L.FNumOfLanguages; ++language) {
        AnsiString name =
            language <= L.FLangNames->Count() ? L.FLangNames->Get(language - 1) : AnsiString();
        if (name.empty())
            name = "Language N" + IntToStr(language);
        CheckWritableText(name);
        Ini.WriteString(LangNamesSection, LanguageKey + IntToStr(language), name);
    }
}

// A text file being written: the ini of its current text, and the entries
// the components write, kept per section and merged into it at the end, so
// that a save of many forms rebuilds each section once. The result is the
// text the writes would have given one after the other.
struct TzxCustomLang::TEngine::TTextWrite {
    explicit TTextWrite(TMemIniFile& AIni) : Ini(AIni) {}

    void Write(const AnsiString& Section, const AnsiString& WriterClass,
               std::vector<TMemIniEntry::TKeyValue> Entries) {
        if (Entries.empty())
            return;
        Writers.insert(AnsiUpperCase(WriterClass));
        auto& pending = Pending[Section];
        std::move(Entries.begin(), Entries.end(), std::back_inserter(pending));
    }

    // Drops the keys of Section that begin with Name and a dot, those
    // written before included.
    void DeleteKeysOf(const AnsiString& Section, const AnsiString& Name) {
        const AnsiString prefix = Name + ".";
        TStringList keys;
        Ini.ReadSectionValues(Section, prefix, keys);
        for (Integer index = 0; index < keys.Count(); ++index)
            Ini.DeleteKey(Section, keys[index]);
        // Only the entries of a writer of that class name can begin so.
        if (!Writers.contains(AnsiUpperCase(Name)))
            return;
        auto& pending = Pending[Section];
        std::erase_if(pending, [&](const TMemIniEntry::TKeyValue& Entry) {
            return StartsWithText(Entry.first, prefix);
        });
    }

    void Finish() {
        for (auto& [section, entries] : Pending)
            Ini.WriteStrings(section, std::move(entries));
        Pending.clear();
    }

    TMemIniFile& Ini;
    std::map<AnsiString, std::vector<TMemIniEntry::TKeyValue>> Pending;
    std::unordered_set<AnsiString> Writers;
};

// The options and the language names every save writes.
void TzxCustomLang::TEngine::WriteFileOptions(const TzxCustomLang& L, TMemIniFile& Ini,
                                              const AnsiString& Delim) {
    CheckWritableText(Delim);
    Ini.WriteString(OptionsSection, DelimiterKey, Delim);
    WriteLanguageNames(L, Ini);
    Ini.EraseSection(OldLangNamesSection);
}

void TzxCustomLang::TEngine::WriteKind(const TzxCustomLang& L, TStringsType Kind,
                                       const TStrings& List, TTextWrite& Text,
                                       const AnsiString& Delim) {
    WriteFileOptions(L, Text.Ini, Delim);
    const AnsiString prefix = OwnerClassName(L) + ".";
    std::vector<TMemIniEntry::TKeyValue> entries;
    entries.reserve(static_cast<std::size_t>(List.Count()));
    for (Integer index = 0; index < List.Count(); ++index) {
        const AnsiString line = List.Get(index);
        if (line.empty())
            continue;
        const auto at = line.find(L.Delim());
        AnsiString key = line.substr(0, at);
        const std::string_view values =
            at == AnsiString::npos ? std::string_view() : std::string_view(line).substr(at + 1);
        CheckWritableKey(key);
        if (HasIndexMarks(Kind))
            key = IndexMarksOf(key);
        entries.emplace_back(prefix + key, EntryValue(values, L.Delim(), Delim));
    }
    Text.Write(IniName(Kind), OwnerClassName(L), std::move(entries));
    DeleteOlderFormKeys(L, Text, IniName(Kind));
}

// Keys of the older form begin with the owner's component name; the
// section just written drops them.
void TzxCustomLang::TEngine::DeleteOlderFormKeys(const TzxCustomLang& L, TTextWrite& Text,
                                                 const AnsiString& Section) {
    // Were the owner named like its class, its current keys would go too.
    if (L.Owner()->Name().empty() || AnsiSameText(L.Owner()->Name(), L.Owner()->ClassName()))
        return;
    Text.DeleteKeysOf(Section, L.Owner()->Name());
}

void TzxCustomLang::TEngine::WriteExtended(const TzxCustomLang& L, TTextWrite& Text,
                                           const AnsiString& Delim) {
    CheckWritableText(Delim);
    const AnsiString prefix = OwnerClassName(L) + ".";
    Text.Ini.WriteString(ExtendedOptionsSection, ExtendedDelimiterKey, Delim);
    WriteLanguageNames(L, Text.Ini);
    std::vector<TMemIniEntry::TKeyValue> entries;
    for (Integer index = 0; index < L.FExtendedTranslations->Count(); ++index) {
        const TzxExtendedItem* item = L.FExtendedTranslations->Items(index);
        const AnsiString key = prefix + item->GetIdentifier();
        CheckWritableKey(key);
        entries.emplace_back(
            key, EntryValue(item->Values(), L.Delim(), Delim));
        entries.emplace_back(key + TypeKindSuffix,
                             GetEnumName(TypeInfoOf(tkUnknown), item->PropertyType()));
    }
    Text.Write(ExtendedSection, OwnerClassName(L), std::move(entries));
}

bool TzxCustomLang::TEngine::WriteAll(const TzxCustomLang& L, TTextWrite& Text,
                                      const AnsiString& Delim, bool WithEmptyExtended) {
    bool wrote = false;
    L.ForEachKeptList([&](TStringsType Kind, TStrings& List) {
        WriteKind(L, Kind, List, Text, Delim);
        wrote = true;
    });
    if (WithEmptyExtended || L.FExtendedTranslations->Count() > 0) {
        WriteExtended(L, Text, Delim);
        wrote = true;
    }
    return wrote;
}

bool TzxCustomLang::TEngine::MergeWrites(TMemIniFile& Ini,
                                         const std::function<bool(TTextWrite&)>& Write) {
    TTextWrite text(Ini);
    if (!Write(text))
        return false;
    text.Finish();
    return true;
}

// The stream's text read, Write's entries merged into it, and the result
// written back.
void TzxCustomLang::TEngine::RewriteText(TStream& Stream,
                                         const std::function<bool(TTextWrite&)>& Write) {
    auto ini = ReadTranslationFile(Stream);
    if (MergeWrites(*ini, Write))
        WriteTranslationText(Stream, *ini);
}

Integer TzxCustomLang::SaveToStream(TStringsType Kind, TStream& Stream, const WideString& Delim) {
    TStrings* list = GetPropListByType(Kind);
    if (!list)
        return -1;
    CheckWritableText(UTF8Encode(Delim));
    TEngine::OwnerClassName(*this);
    TEngine::RewriteText(Stream, [&](TEngine::TTextWrite& Text) {
        TEngine::WriteKind(*this, Kind, *list, Text, UTF8Encode(Delim));
        return true;
    });
    return list->Count();
}

void TzxCustomLang::SaveExtendedToStream(TStream& Stream, const WideString& Delim) {
    CheckWritableText(UTF8Encode(Delim));
    TEngine::OwnerClassName(*this);
    TEngine::RewriteText(Stream, [&](TEngine::TTextWrite& Text) {
        TEngine::WriteExtended(*this, Text, UTF8Encode(Delim));
        return true;
    });
}

void TzxCustomLang::SaveAllToStream(TStream& Stream, const WideString& Delim) {
    TMemoryStream whole;
    TEngine::RewriteText(whole, [&](TEngine::TTextWrite& Text) {
        return TEngine::WriteAll(*this, Text, UTF8Encode(Delim), true);
    });
    whole.SetPosition(0);
    Stream.CopyFrom(whole, 0);
}

void TzxCustomLang::TEngine::SaveAllToTextFile(const std::vector<TzxCustomLang*>& Langs,
                                               const WideString& FileName,
                                               const WideString& Delim) {
    const AnsiString name = UTF8Encode(FileName);
    // The file is parsed straight from its stream and the text written
    // straight into its replacement, never copied whole in between.
    auto ini = FileExists(name) ? ReadTranslationFile(FileName) : std::make_unique<TMemIniFile>("");
    const bool wrote = MergeWrites(*ini, [&](TTextWrite& Text) {
        bool any = false;
        for (const TzxCustomLang* lang : Langs)
            any = WriteAll(*lang, Text, UTF8Encode(Delim), false) || any;
        return any;
    });
    if (wrote)
        ReplaceFileAtomically(name, [&](TStream& Stream) { WriteTranslationText(Stream, *ini); });
}

// ---------------------------------------------------------------------------
// Reading one kind

AnsiString TzxCustomLang::TEngine::OwnerClassName(const TzxCustomLang& L) {
    if (!L.Owner())
        throw ELanguageError(NoOwner);
    return L.Owner()->ClassName();
}

// The language names and the fixed languages as the file gives them; false
// when it has no language names.
bool TzxCustomLang::TEngine::ReadLanguageNames(const TzxCustomLang& L, TMemIniFile& Ini,
                                               TStringList& Names, TStringList& Fixed) {
    if (!Ini.SectionExists(LangNamesSection))
        return false;
    for (Integer language = 1;; ++language) {
        const AnsiString name =
            Ini.ReadString(LangNamesSection, LanguageKey + IntToStr(language), "");
        if (name.empty())
            break;
        Names.Add(name);
    }
    // A file that marks no language as fixed leaves the component's own
    // choice as it is.
    Fixed.Assign(L.FFixedLanguages.get());
    TStringList marked;
    bool anyMark = false;
    for (Integer language = 1; language <= Names.Count(); ++language) {
        const AnsiString key = FixedLanguageKey + IntToStr(language);
        anyMark = anyMark || Ini.ValueExists(OptionsSection, key);
        if (Ini.ReadInteger(OptionsSection, key, 0) != 0)
            marked.Add(Names.Get(language - 1));
    }
    if (anyMark)
        Fixed.Assign(&marked);
    return true;
}

// The list line that a file entry gives, without the owner prefix; nothing
// when the entry belongs to another form, to an excluded component, or is
// marked as skipped.
std::optional<AnsiString>
TzxCustomLang::TEngine::LineOfEntry(const TzxCustomLang& L, TStringsType Kind,
                                    const AnsiString& Key, const AnsiString& Value,
                                    const AnsiString& FileDelim, bool& OwnersLine) {
    AnsiString prefixName;
    for (const AnsiString& name : {L.Owner()->Name(), L.Owner()->ClassName()})
        if (!name.empty() && Key.size() > name.size() && Key[name.size()] == '.' &&
            StartsWithText(Key, name))
            prefixName = name;
    if (prefixName.empty() || Value == SkippedValue)
        return std::nullopt;
    AnsiString item = Key.substr(prefixName.size() + 1);
    if (HasIndexMarks(Kind))
        item = BracketsOf(item);
    if (L.FDoNotTranslate->IndexOf(item.substr(0, item.find('.'))) >= 0)
        return std::nullopt;
    const char delim = L.Delim();
    AnsiString line;
    line.reserve(item.size() + 2 * Value.size() + 3);
    line.append(item) += delim;
    if (Value.find(FileDelim) == AnsiString::npos)
        line.append(Value) += delim;
    AppendReplaced(line, Value, FileDelim, std::string_view(&delim, 1));
    UnescapeInPlace(line);
    if (!line.ends_with(delim))
        line += delim;
    OwnersLine = AnsiSameText(item, prefixName);
    return line;
}

AnsiString TzxCustomLang::TEngine::UpperKeyOf(const TzxCustomLang& L, const AnsiString& Line) {
    return AnsiUpperCase(Line.substr(0, Line.find(L.Delim())));
}

// The file's lines replace the lines of their keys, so that the file's
// values are the ones found; new lines are appended, a new owner's line
// goes first.
void TzxCustomLang::TEngine::LoadKindFromIni(TzxCustomLang& L, TStringsType Kind,
                                                TMemIniFile& Ini, bool ClearFirst) {
    TStrings& lines = *L.GetPropListByType(Kind);
    const AnsiString fileDelim = FileDelimiter(Ini);
    // Everything read from the engine first: the list then changes in place.
    TStringList names;
    TStringList fixed;
    const bool named = ReadLanguageNames(L, Ini, names, fixed);
    const std::vector<TIniEntryRef> entries =
        EntriesOf(Ini, IniName(Kind), L.Owner()->ClassName(), L.Owner()->Name());
    if (ClearFirst)
        lines.Clear();
    std::unordered_map<AnsiString, Integer> lineOfKey;
    for (Integer index = 0; index < lines.Count(); ++index)
        lineOfKey.emplace(UpperKeyOf(L, lines[index]), index);
    std::vector<AnsiString> ownersLines;
    for (const TIniEntryRef& entry : entries) {
        bool ownersLine = false;
        auto line = LineOfEntry(L, Kind, *entry.Key, *entry.Value, fileDelim, ownersLine);
        if (!line)
            continue;
        AnsiString upperKey = UpperKeyOf(L, *line);
        const auto known = lineOfKey.find(upperKey);
        if (known != lineOfKey.end())
            lines.Put(known->second, *line);
        else if (ownersLine)
            ownersLines.push_back(std::move(*line));
        else
            lineOfKey.emplace(std::move(upperKey), lines.Add(*line));
    }
    for (const AnsiString& line : ownersLines)
        lines.Insert(0, line);
    if (named) {
        L.FLangNames->Assign(&names);
        L.FNumOfLanguages = names.Count();
        L.FFixedLanguages->Assign(&fixed);
    }
}

void TzxCustomLang::TEngine::FinishSingleLoad(TzxCustomLang& L, TStringsType Kind, TStrings& List) {
    if (L.FLoadAll)
        return;
    DelOldNames(L, List, Kind);
    if (Kind == stStrings)
        L.UpdateStrCollections();
    L.ChangeLanguage();
}

Integer TzxCustomLang::LoadFromStream(TStringsType Kind, TStream& Stream, bool ClearFirst) {
    TStrings* list = GetPropListByType(Kind);
    if (!list || !Owner())
        return -1;
    Integer keyCount = -1;
    try {
        auto ini = ReadTranslationFile(Stream);
        TEngine::LoadKindFromIni(*this, Kind, *ini, ClearFirst);
        TStringList sectionKeys;
        ini->ReadSection(IniName(Kind), sectionKeys);
        keyCount = sectionKeys.Count();
    } catch (const std::exception&) {
        return -1;
    }
    TEngine::FinishSingleLoad(*this, Kind, *list);
    return keyCount;
}

// ---------------------------------------------------------------------------
// Reading everything

// All kinds and the extended section, the string tables rebuilt once;
// a malformed text raises before anything changes.
void TzxCustomLang::TEngine::LoadAllKindsFromStream(TzxCustomLang& L, TStream& Stream,
                                                    bool ClearFirst) {
    if (!L.Owner())
        return;
    LoadAllKindsFromIni(L, *ReadTranslationFile(Stream), ClearFirst);
}

std::unique_ptr<TMemIniFile> TzxCustomLang::TEngine::ParseTranslationFile(const WideString& FileName) {
    return ReadTranslationFile(FileName);
}

void TzxCustomLang::TEngine::LoadAllKindsFromIni(TzxCustomLang& L, TMemIniFile& Ini,
                                                 bool ClearFirst) {
    if (!L.Owner())
        return;
    TLoadAllScope loadAll(L.FLoadAll, true);
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind) {
        const auto type = static_cast<TStringsType>(kind);
        if (TStrings* list = L.GetPropListByType(type)) {
            LoadKindFromIni(L, type, Ini, ClearFirst);
            DelOldNames(L, *list, type);
        }
    }
    LoadExtendedFromIni(L, Ini, ClearFirst);
    L.UpdateStrCollections();
}

void TzxCustomLang::LoadAllFromStream(TStream& Stream, bool ClearFirst) {
    TEngine::LoadAllKindsFromStream(*this, Stream, ClearFirst);
    ChangeLanguage();
}

// This form's extended entries: identifier, stored values and type kind.
std::vector<TzxCustomLang::TEngine::TExtendedEntry>
TzxCustomLang::TEngine::ExtendedEntries(const TzxCustomLang& L, TMemIniFile& Ini) {
    const AnsiString prefix = L.Owner()->ClassName() + ".";
    TStringList keys;
    Ini.ReadSectionValues(ExtendedSection, prefix, keys);
    std::vector<TExtendedEntry> entries;
    for (Integer index = 0; index < keys.Count(); ++index) {
        const AnsiString key = keys[index];
        if (!key.starts_with(prefix) || IsTypeKindKey(key))
            continue;
        const AnsiString typeName = StoredTypeKindName(Ini, key);
        entries.push_back({key.substr(prefix.size()), Ini.ReadString(ExtendedSection, key, ""),
                           static_cast<TTypeKind>(GetEnumValue(TypeInfoOf(tkUnknown), typeName))});
    }
    return entries;
}

void TzxCustomLang::TEngine::LoadExtendedFromIni(TzxCustomLang& L, TMemIniFile& Ini,
                                                 bool ClearFirst) {
    const auto entries = ExtendedEntries(L, Ini);
    const AnsiString fileDelim = FileDelimiter(Ini);
    if (ClearFirst)
        L.FExtendedTranslations->Clear();
    for (const TExtendedEntry& entry : entries) {
        TzxExtendedItem* item = L.FExtendedTranslations->Find(entry.Identifier);
        if (!item) {
            item = L.FExtendedTranslations->Add();
            item->SetIdentifier(entry.Identifier);
        }
        item->SetValues(
            UnescapeLineBreaks(Replaced(entry.Values, fileDelim, AnsiString(1, L.Delim()))));
        item->SetPropertyType(entry.PropertyType);
    }
}

void TzxCustomLang::LoadExtendedFromStream(TStream& Stream, bool ClearFirst) {
    if (!Owner())
        return;
    auto ini = ReadTranslationFile(Stream);
    TEngine::LoadExtendedFromIni(*this, *ini, ClearFirst);
}

// ---------------------------------------------------------------------------
// Merging

bool TzxCustomLang::MergeFromStream(TStringsType Kind, TStream& Stream) {
    return TEngine::MergeKind(*this, Kind, [&] { return LoadFromStream(Kind, Stream, true); });
}

// LoadKind fills the list with the file's lines alone, the finishing steps
// left out, and returns a negative number when it failed; the list then
// keeps its lines and the merge reports false.
bool TzxCustomLang::TEngine::MergeKind(TzxCustomLang& L, TStringsType Kind,
                                       const std::function<Integer()>& LoadKind) {
    TStrings* list = L.GetPropListByType(Kind);
    if (!list)
        return false;
    TStringList backup;
    backup.Assign(list);
    try {
        Integer loaded = -1;
        {
            TLoadAllScope loadAll(L.FLoadAll, true);
            loaded = LoadKind();
        }
        if (loaded < 0) {
            list->Assign(&backup);
            return false;
        }
        KeepLinesTheFileLacks(L, *list, backup);
    } catch (const std::exception&) {
        list->Assign(&backup);
        return false;
    }
    FinishSingleLoad(L, Kind, *list);
    return true;
}

void TzxCustomLang::TEngine::KeepLinesTheFileLacks(const TzxCustomLang& L, TStrings& List,
                                                   const TStrings& Backup) {
    std::unordered_set<AnsiString> known;
    for (Integer index = 0; index < List.Count(); ++index)
        known.insert(UpperKeyOf(L, List[index]));
    for (Integer index = 0; index < Backup.Count(); ++index)
        if (known.insert(UpperKeyOf(L, Backup[index])).second)
            List.Add(Backup[index]);
}

// Every kind the class keeps a list of; the first that fails stops the
// merge, and the string tables are rebuilt only when all merged.
bool TzxCustomLang::TEngine::MergeAllKinds(TzxCustomLang& L,
                                           const std::function<bool(TStringsType)>& MergeOneKind) {
    TLoadAllScope loadAll(L.FLoadAll, true);
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind) {
        const auto type = static_cast<TStringsType>(kind);
        TStrings* list = L.GetPropListByType(type);
        if (!list)
            continue;
        if (!MergeOneKind(type))
            return false;
        DelOldNames(L, *list, type);
    }
    L.UpdateStrCollections();
    return true;
}

bool TzxCustomLang::MergeAllFromStreamDNC(TStream& Stream) {
    return TEngine::MergeAllKinds(*this,
                                  [&](TStringsType Kind) { return MergeFromStream(Kind, Stream); });
}

bool TzxCustomLang::MergeAllFromStream(TStream& Stream) {
    const bool merged = MergeAllFromStreamDNC(Stream);
    ChangeLanguage();
    return merged;
}

// ---------------------------------------------------------------------------
// One language column

WideString TzxCustomLang::BuildStringByOne(const WideString& Value, Integer Index) const {
    return UTF8Decode(TEngine::ValuesOfOne(*this, UTF8Encode(Value), Index));
}

AnsiString TzxCustomLang::TEngine::ValuesOfOne(const TzxCustomLang& L, const AnsiString& Value,
                                               Integer Index) {
    AnsiString values;
    for (Integer language = 1; language <= L.FNumOfLanguages; ++language)
        values += (language == Index ? Value : AnsiString()) + L.Delim();
    return values;
}

// The file's column of LangName and the component's language for it, the
// language added when the component lacks it; nothing when the file does
// not name the language or cannot be read.
std::optional<TzxCustomLang::TEngine::TLanguageColumn>
TzxCustomLang::TEngine::FindLanguageColumn(TzxCustomLang& L, const WideString& FileName,
                                           const WideString& LangName) {
    if (LangName.empty() || !L.Owner() || !FileExists(UTF8Encode(FileName)))
        return std::nullopt;
    TLanguageColumn column;
    try {
        column.Ini = ReadTranslationFile(FileName);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const AnsiString name = UTF8Encode(LangName);
    for (column.FileColumn = 1;; ++column.FileColumn) {
        const AnsiString listed =
            column.Ini->ReadString(LangNamesSection, LanguageKey + IntToStr(column.FileColumn), "");
        if (listed.empty())
            return std::nullopt;
        if (listed == name)
            break;
    }
    column.Language = L.FLangNames->IndexOf(name) + 1;
    if (column.Language == 0 && L.FNumOfLanguages >= MaxNumOfLanguages)
        throw EReadError(Format("Cannot add the language \"%s\" of \"%s\": the component holds "
                                "%d languages already",
                                {name, UTF8Encode(FileName), MaxNumOfLanguages}));
    if (column.Language == 0) {
        L.FLangNames->Add(name);
        column.Language = ++L.FNumOfLanguages;
    }
    column.FileDelim = FileDelimiter(*column.Ini);
    return column;
}

void TzxCustomLang::LoadLanguageByProp(TStringsType Kind, const WideString& FileName,
                                       const WideString& LangName) {
    TStrings* list = GetPropListByType(Kind);
    if (!list)
        return;
    auto column = TEngine::FindLanguageColumn(*this, FileName, LangName);
    if (!column)
        return;
    const AnsiString prefix = Owner()->ClassName() + ".";
    std::unordered_set<AnsiString> knownKeys;
    for (Integer index = 0; index < list->Count(); ++index)
        knownKeys.insert(TEngine::UpperKeyOf(*this, list->Get(index)));
    TStringList keys;
    column->Ini->ReadSectionValues(IniName(Kind), keys);
    for (Integer index = 0; index < keys.Count(); ++index) {
        const AnsiString key = keys[index];
        if (!key.starts_with(prefix))
            continue;
        AnsiString item = key.substr(prefix.size());
        if (HasIndexMarks(Kind))
            item = BracketsOf(item);
        const AnsiString& stored = static_cast<TMemIniValue*>(keys.Objects(index))->Value();
        const AnsiString value =
            UnescapeLineBreaks(NthValue(stored, column->FileColumn, column->FileDelim));
        if (!knownKeys.insert(AnsiUpperCase(item)).second)
            ReplaceStringValue(*list, UTF8Decode(value), UTF8Decode(item), column->Language);
        else
            list->Add(item + Delim() + TEngine::ValuesOfOne(*this, value, column->Language));
    }
    TEngine::FinishSingleLoad(*this, Kind, *list);
}

void TzxCustomLang::LoadLanguageByExt(const WideString& FileName, const WideString& LangName) {
    auto column = TEngine::FindLanguageColumn(*this, FileName, LangName);
    if (!column)
        return;
    for (const TEngine::TExtendedEntry& entry : TEngine::ExtendedEntries(*this, *column->Ini)) {
        const AnsiString value =
            UnescapeLineBreaks(NthValue(entry.Values, column->FileColumn, column->FileDelim));
        TzxExtendedItem* item = FExtendedTranslations->Find(entry.Identifier);
        if (!item) {
            item = FExtendedTranslations->Add();
            item->SetIdentifier(entry.Identifier);
            item->SetValues(TEngine::ValuesOfOne(*this, value, column->Language));
            item->SetPropertyType(entry.PropertyType);
            continue;
        }
        const AnsiString old = AnsiString(1, Delim()) + item->Values();
        AnsiString values;
        for (Integer language = 1; language <= FNumOfLanguages; ++language)
            values +=
                (language == column->Language ? value : GetLineField(old, language, Delim())) +
                Delim();
        item->SetValues(values);
    }
    if (!FLoadAll)
        ChangeLanguage();
}

// Keys are the owner's; a component without one has nothing to load.
void TzxCustomLang::LoadLanguage(const WideString& FileName, const WideString& LangName) {
    if (!Owner())
        return;
    {
        TLoadAllScope loadAll(FLoadAll, true);
        for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind) {
            const auto type = static_cast<TStringsType>(kind);
            if (TStrings* list = GetPropListByType(type)) {
                LoadLanguageByProp(type, FileName, LangName);
                TEngine::DelOldNames(*this, *list, type);
            }
        }
        LoadLanguageByExt(FileName, LangName);
        UpdateStrCollections();
    }
    ChangeLanguage();
}
