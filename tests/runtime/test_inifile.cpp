// The in-memory ini engine and the substring search.
#include "runtime/DOriDaz.h"

#include "TestSupport.h"
#include "rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <vector>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace {

AnsiString ReadFile(const AnsiString& Name) {
    std::ifstream file(Name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteFile(const AnsiString& Name, const AnsiString& Content) {
    std::ofstream(Name, std::ios::binary) << Content;
}

// An engine holding Text, read as the lines of a file.
void LoadText(TMemIniFile& Ini, const AnsiString& Text) {
    TStringList lines;
    lines.SetText(Text);
    Ini.SetStrings(lines);
}

AnsiString Rendered(const TMemIniFile& Ini) {
    TStringList lines;
    Ini.GetStrings(lines);
    return lines.Text();
}

AnsiString SectionKeys(TMemIniFile& Ini, const AnsiString& Section) {
    TStringList keys;
    Ini.ReadSection(Section, keys);
    return keys.CommaText();
}

} // namespace

// ---------------------------------------------------------------------------
// Reading text

TEST(MemIniFileRead, KeepsOnlyKeyLinesInsideSections) {
    TMemIniFile ini("");
    LoadText(ini, "a=1\n[S]\nk=v=w\n;x=2\n  [T]\n");
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.CommaText(), "S");
    EXPECT_EQ(ini.ReadString("S", "k", "?"), "v=w");
    EXPECT_EQ(ini.ReadString("S", "  [T]", "?"), "");
    EXPECT_EQ(ini.ReadString("S", ";x", "?"), "?");
    EXPECT_EQ(ini.ReadString("S", "a", "?"), "?");
    EXPECT_EQ(Rendered(ini), "[S]\n  [T]=\nk=v=w\n\n");
}

TEST(MemIniFileRead, BlanksAndEqualSignsInValuesAreKept) {
    TMemIniFile ini("");
    LoadText(ini, "[S]\n\n key = a b = c \n=only value\n");
    EXPECT_EQ(ini.ReadString("S", " key ", "?"), " a b = c ");
    EXPECT_EQ(ini.ReadString("S", "key", "?"), "?");
    EXPECT_EQ(ini.ReadString("S", "", "?"), "only value");
}

TEST(MemIniFileRead, RepeatedSectionIsMergedAndWrittenOnce) {
    TMemIniFile ini("");
    LoadText(ini, "[Kind]\nb=2\n[Other]\nx=9\n[KIND]\na=1\n");
    EXPECT_EQ(SectionKeys(ini, "kind"), "a,b");
    EXPECT_EQ(Rendered(ini), "[Kind]\na=1\nb=2\n\n[Other]\nx=9\n\n");
}

TEST(MemIniFileRead, LaterDuplicateKeyWinsAndSurvivesARoundTrip) {
    TMemIniFile ini("");
    const AnsiString text = "[S]\nk=first\nK=second\n\n";
    LoadText(ini, text);
    EXPECT_EQ(ini.ReadString("S", "k", "?"), "second");
    EXPECT_EQ(SectionKeys(ini, "S"), "K,k");
    EXPECT_EQ(Rendered(ini), text);

    TMemIniFile again("");
    LoadText(again, Rendered(ini));
    EXPECT_EQ(again.ReadString("S", "k", "?"), "second");

    ini.DeleteKey("S", "k");
    EXPECT_EQ(ini.ReadString("S", "k", "?"), "first");
    ini.WriteString("S", "k", "third");
    EXPECT_EQ(Rendered(ini), "[S]\nk=third\n\n");
}

// ---------------------------------------------------------------------------
// Case rules and rendering

TEST(MemIniFileCase, SectionsAndKeysIgnoreCaseButKeepTheirSpelling) {
    TMemIniFile ini("");
    LoadText(ini, "[OPTIONS]\nDELIMITER=~!@#\n");
    ini.WriteString("Options", "Delimiter", "|");
    EXPECT_EQ(ini.ReadString("options", "delimiter", "?"), "|");
    EXPECT_EQ(Rendered(ini), "[OPTIONS]\nDelimiter=|\n\n");
    EXPECT_TRUE(ini.ValueExists("Options", "DeLiMiTeR"));
    EXPECT_TRUE(ini.SectionExists("oPTIONS"));
}

TEST(MemIniFileCase, NonAsciiNamesFoldToo) {
    TMemIniFile ini("");
    ini.WriteString("ÄRGER", "ÉTÉ", "1");
    EXPECT_EQ(ini.ReadString("ärger", "été", "?"), "1");
}

TEST(MemIniFileCase, KeysSharingALetterBeyondASCIIOrderByWhatFollows) {
    TMemIniFile ini("");
    ini.WriteStrings("S", {{"\xC3\x84" "b", "1"}, {"\xC3\xA4" "A", "2"}, {"\xC3\xA9", "3"}, {"\xC3\xA8", "4"}});
    EXPECT_EQ(ini.Text(), "[S]\n\xC3\xA4" "A=2\n\xC3\x84" "b=1\n\xC3\xA8=4\n\xC3\xA9=3\n\n");
}

// One key holds a broken sequence where the other's character begins one
// byte later: read in either order, they render in one order, and that
// rendering reads back as itself.
TEST(MemIniFileCase, KeysDifferingInsideACharacterOrderTheSameWhicheverComesFirst) {
    const AnsiString broken = "K\xEF\xEF\xBB\xBF=1";
    const AnsiString whole = "K\xEF\xBB\xBF=2";
    TMemIniFile first("");
    LoadText(first, "[S]\n" + broken + "\n" + whole + "\n");
    TMemIniFile second("");
    LoadText(second, "[S]\n" + whole + "\n" + broken + "\n");
    EXPECT_EQ(Rendered(first), Rendered(second));
    TMemIniFile again("");
    LoadText(again, Rendered(first));
    EXPECT_EQ(Rendered(again), Rendered(first));
}

// A key ending in the first byte of a character another key completes is
// no prefix of it: the order stays one, so every key is found again.
TEST(MemIniFileCase, AKeyEndingInsideAnotherKeysCharacterIsFoundAgain) {
    TMemIniFile ini("");
    const AnsiString keys[] = {"a", "b", "\xDB", "\xDB\xA5", "\x98\x98"};
    for (const AnsiString& key : keys)
        ini.WriteString("S", key, key);
    for (const AnsiString& key : keys)
        EXPECT_EQ(ini.ReadString("S", key, "?"), key);
}

TEST(MemIniFileRead, AWholeTextReadsAsItsLinesDo) {
    const AnsiString text = "\xEF\xBB\xBF[A]\r\nk=1\rj=2\n\n;c\r\n[b]\nx\n\r\ny=3";
    TMemIniFile fromLines("");
    LoadText(fromLines, text);
    TMemIniFile fromText("");
    fromText.SetText(text);
    EXPECT_EQ(fromText.Text(), Rendered(fromLines));
    EXPECT_EQ(fromText.Text(), "[A]\nj=2\nk=1\n\n[b]\nx=\ny=3\n\n");
}

TEST(MemIniFileRender, SortedWithoutCaseAndIndependentOfInsertionOrder) {
    TMemIniFile forward("");
    forward.WriteString("b", "z", "1");
    forward.WriteString("b", "Y", "2");
    forward.WriteString("A", "x", "3");
    TMemIniFile backward("");
    backward.WriteString("A", "x", "3");
    backward.WriteString("b", "Y", "2");
    backward.WriteString("b", "z", "1");
    const AnsiString expected = "[A]\nx=3\n\n[b]\nY=2\nz=1\n\n";
    EXPECT_EQ(Rendered(forward), expected);
    EXPECT_EQ(Rendered(backward), expected);
}

TEST(MemIniFileRender, GetStringsAppendsToTheList) {
    TMemIniFile ini("");
    ini.WriteString("S", "k", "v");
    TStringList lines;
    lines.Add("kept");
    ini.GetStrings(lines);
    EXPECT_EQ(lines.Text(), "kept\n[S]\nk=v\n\n");
}

// ---------------------------------------------------------------------------
// Typed reads and writes

TEST(MemIniFileTyped, IntegersAcceptHexadecimalWithZeroX) {
    TMemIniFile ini("");
    LoadText(ini, "[N]\nlow=0x10\nhigh=0X10\nten=10\nbare=0x\nbad=12a\nneg=-7\n");
    EXPECT_EQ(ini.ReadInteger("N", "low", -1), 16);
    EXPECT_EQ(ini.ReadInteger("N", "high", -1), 16);
    EXPECT_EQ(ini.ReadInteger("N", "ten", -1), 10);
    EXPECT_EQ(ini.ReadInteger("N", "bare", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("N", "missing", 42), 42);
}

TEST(MemIniFileTyped, BooleansAreNonZeroIntegers) {
    TMemIniFile ini("");
    ini.WriteBool("B", "on", true);
    ini.WriteBool("B", "off", false);
    ini.WriteInteger("B", "two", 2);
    EXPECT_EQ(ini.ReadString("B", "on", ""), "1");
    EXPECT_EQ(ini.ReadString("B", "off", ""), "0");
    EXPECT_TRUE(ini.ReadBool("B", "two", false));
    EXPECT_FALSE(ini.ReadBool("B", "off", true));
    EXPECT_TRUE(ini.ReadBool("B", "missing", true));
}

TEST(MemIniFileTyped, FloatsAndDatesFallBackToDefaultWhenUnconvertible) {
    TMemIniFile ini("");
    ini.WriteFloat("F", "half", 0.5);
    ini.WriteDate("F", "day", EncodeDate(2024, 2, 29));
    ini.WriteString("F", "junk", "not a number");
    ini.WriteString("F", "empty", "");
    EXPECT_DOUBLE_EQ(ini.ReadFloat("F", "half", 0), 0.5);
    EXPECT_DOUBLE_EQ(ini.ReadDate("F", "day", 0), EncodeDate(2024, 2, 29));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("F", "junk", 7.25), 7.25);
    EXPECT_DOUBLE_EQ(ini.ReadDateTime("F", "junk", 3), 3);
    EXPECT_DOUBLE_EQ(ini.ReadTime("F", "empty", 0.25), 0.25);
}

// ---------------------------------------------------------------------------
// Sections and keys

TEST(MemIniFileSections, EraseDeleteAndEmptySections) {
    TMemIniFile ini("");
    LoadText(ini, "[Empty]\n[S]\na=1\nb=2\n");
    EXPECT_FALSE(ini.SectionExists("Empty"));
    EXPECT_FALSE(ini.SectionExists("Missing"));
    ini.DeleteKey("S", "A");
    ini.DeleteKey("S", "missing");
    ini.DeleteKey("Missing", "a");
    EXPECT_EQ(SectionKeys(ini, "S"), "b");
    ini.EraseSection("s");
    ini.EraseSection("Missing");
    EXPECT_EQ(Rendered(ini), "[Empty]\n\n");
}

TEST(MemIniFileSections, ReadSectionReplacesTheListEvenForAMissingSection) {
    TMemIniFile ini("");
    TStringList keys;
    keys.Add("stale");
    ini.ReadSection("Missing", keys);
    EXPECT_EQ(keys.Count(), 0);
}

TEST(MemIniFileSections, SectionValuesCarryTheirValueHolders) {
    TMemIniFile ini("");
    LoadText(ini, "[S]\nb=two\na=one\n");
    TStringList values;
    ini.ReadSectionValues("S", values);
    ASSERT_EQ(values.Count(), 2);
    EXPECT_EQ(values[0], "a");
    EXPECT_EQ(static_cast<TMemIniValue*>(values.Objects(0))->Value(), "one");
    EXPECT_EQ(static_cast<TMemIniValue*>(values.Objects(1))->Value(), "two");
}

// Writes of one key, other spellings of it and keys equal to several
// already there: the batch gives the text the single writes give.
TEST(MemIniFileSections, WritingManyEntriesAtOnceGivesTheTextOfWritingThemInTurn) {
    const AnsiString text = "[S]\nb=old b\nd=first d\nD=second d\nf=f\n";
    const std::vector<TMemIniEntry::TKeyValue> entries = {
        {"a", "1"}, {"D", "2"}, {"e", "3"}, {"A", "4"}, {"g", "5"}, {"B", "6"}, {"0", "7"}};
    TMemIniFile inTurn("");
    LoadText(inTurn, text);
    for (const auto& [key, value] : entries)
        inTurn.WriteString("S", key, value);
    TMemIniFile atOnce("");
    LoadText(atOnce, text);
    atOnce.WriteStrings("S", entries);
    atOnce.WriteStrings("New", {{"k", "v"}});
    inTurn.WriteString("New", "k", "v");
    EXPECT_EQ(Rendered(atOnce), Rendered(inTurn));
    EXPECT_EQ(atOnce.ReadString("S", "a", ""), "4");
}

TEST(MemIniFileSections, SectionValuesOfAPrefixAreTheKeysBeginningWithItInAnyCase) {
    TMemIniFile ini("");
    LoadText(ini, "[S]\nForm.a=1\nform.B=2\nFormer=3\nForm=4\nA.x=5\nFORM.c=6\n");
    TStringList values;
    values.Add("stale");
    ini.ReadSectionValues("S", "form.", values);
    EXPECT_EQ(values.CommaText(), "Form.a,form.B,FORM.c");
    EXPECT_EQ(static_cast<TMemIniValue*>(values.Objects(2))->Value(), "6");
    ini.ReadSectionValues("Missing", "form.", values);
    EXPECT_EQ(values.Count(), 0);
}

TEST(MemIniEntry, AssignSplitsLinesAtTheFirstEqualSign) {
    TStringList lines;
    lines.SetText("b=1=2\na\nc=\n");
    TMemIniEntry entry;
    entry.Add("old=gone");
    entry.Assign(&lines);
    ASSERT_EQ(entry.GetStringCount(), 3);
    EXPECT_EQ(entry.getEntry(0), "a=");
    EXPECT_EQ(entry.getKey(1), "b");
    EXPECT_EQ(entry.GetValue(1), "1=2");
    Integer index = -1;
    EXPECT_FALSE(entry.Find("old", index));
    EXPECT_TRUE(entry.Find("C", index));
    EXPECT_EQ(index, 2);
    entry.SetValue(index, "set");
    EXPECT_EQ(entry.getEntry(2), "c=set");
}

// ---------------------------------------------------------------------------
// Files

TEST(MemIniFileFiles, MissingOrUnnamedFileGivesAnEmptyEngine) {
    zxtest::TTempDir dir;
    TMemIniFile missing(dir.File("none.ini"));
    TStringList sections;
    missing.ReadSections(sections);
    EXPECT_EQ(sections.Count(), 0);
    TMemIniFile unnamed("");
    EXPECT_EQ(Rendered(unnamed), "");
}

TEST(MemIniFileFiles, UpdateFileWritesTheRenderedTextAndReadsBack) {
    zxtest::TTempDir dir;
    const AnsiString name = dir.File("t.zxl");
    WriteFile(
        name,
        "; comment\r\n[OPTIONS]\r\nDELIMITER=~!@#\r\n[Captions]\r\nTForm1.Caption=A~!@#B\r\n");
    TMemIniFile ini(name);
    ini.WriteString("Captions", "TForm1.Hint", " spaced ");
    ini.UpdateFile();
    const AnsiString expected =
        "[Captions]\nTForm1.Caption=A~!@#B\nTForm1.Hint= spaced \n\n[OPTIONS]\nDELIMITER=~!@#\n\n";
    EXPECT_EQ(ReadFile(name), expected);
    TMemIniFile reread(name);
    EXPECT_EQ(reread.ReadString("captions", "tform1.hint", "?"), " spaced ");
}

TEST(MemIniFileFiles, RenameWritesElsewhereAndReloadReadsTheNewFile) {
    zxtest::TTempDir dir;
    WriteFile(dir.File("b.ini"), "[B]\nk=b\n");
    TMemIniFile ini(dir.File("a.ini"));
    ini.WriteString("A", "k", "a");
    ini.Rename(dir.File("c.ini"), false);
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(dir.File("c.ini")), "[A]\nk=a\n\n");
    EXPECT_FALSE(FileExists(dir.File("a.ini")));
    ini.Rename(dir.File("b.ini"), true);
    EXPECT_EQ(ini.FileName(), dir.File("b.ini"));
    EXPECT_EQ(Rendered(ini), "[B]\nk=b\n\n");
}

TEST(MemIniFileFiles, FailingWriteLeavesTheOldFile) {
    zxtest::TTempDir dir;
    const AnsiString name = dir.File("keep.ini");
    WriteFile(name, "[Old]\nk=v\n");
    TMemIniFile ini(name);
    ini.WriteString("New", "big", AnsiString(64 * 1024, 'x'));

    // A file-size limit below the new text makes the write itself fail.
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(ini.UpdateFile(), Exception);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(ReadFile(name), "[Old]\nk=v\n");
}

TEST(MemIniFileFiles, ByteOrderMarkIsSkippedAndNeverWritten) {
    zxtest::TTempDir dir;
    const AnsiString name = dir.File("bom.zxl");
    WriteFile(name, "\xEF\xBB\xBF[OPTIONS]\r\nDELIMITER=|\r\n[Captions]\r\nTForm1.Caption=A|\r\n");
    TMemIniFile ini(name);
    EXPECT_EQ(ini.ReadString("OPTIONS", "DELIMITER", "?"), "|");
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(name), "[Captions]\nTForm1.Caption=A|\n\n[OPTIONS]\nDELIMITER=|\n\n");
}

// ---------------------------------------------------------------------------
// Entries that would not read back

TEST(MemIniFileWrite, RefusesWhatWouldNotReadBackAndStoresNothing) {
    const struct {
        const char* Section;
        const char* Key;
        const char* Value;
    } unwritable[] = {
        {"S", "k", "a\n[Evil]\nx=1"}, {"S", "k", "a\rb"},    {"S", "k\n", "v"},
        {"S\r\nT", "k", "v"},        {"S", ";k", "v"},        {"S", "[a", "b]"},
        {"S", "a=b", "c"},            {"S", "[", "]"},
    };
    for (const auto& entry : unwritable) {
        TMemIniFile ini("");
        ini.WriteString("S", "other", "kept");
        EXPECT_THROW(ini.WriteString(entry.Section, entry.Key, entry.Value), EIniFileException)
            << entry.Key << "=" << entry.Value;
        EXPECT_EQ(Rendered(ini), "[S]\nother=kept\n\n");
    }
}

TEST(MemIniFileWrite, EverythingElseReadsBackExactly) {
    const struct {
        const char* Section;
        const char* Key;
        const char* Value;
    } writable[] = {
        {"S", "k", ";not a comment"}, {"S", "[a", "b] "}, {"S", "a[b]", ""},
        {"[S]", "k", "[x]"},          {"S", " ;k", "v"},  {"S", "", "only value"},
    };
    for (const auto& entry : writable) {
        TMemIniFile ini("");
        ini.WriteString(entry.Section, entry.Key, entry.Value);
        TMemIniFile reread("");
        LoadText(reread, Rendered(ini));
        EXPECT_EQ(reread.ReadString(entry.Section, entry.Key, "?"), entry.Value)
            << entry.Key << "=" << entry.Value;
    }
}

// ---------------------------------------------------------------------------
// SearchBM

TEST(SearchBM, FindsTheFirstOccurrenceOneBased) {
    EXPECT_EQ(SearchBM("ab", "xxab"), 3);
    EXPECT_EQ(SearchBM("ab", "abab"), 1);
    EXPECT_EQ(SearchBM("x", "x"), 1);
    EXPECT_EQ(SearchBM("needle", "haystack with a needle and another needle"), 17);
}

TEST(SearchBM, AbsentEmptyAndTooLong) {
    EXPECT_EQ(SearchBM("abc", "ab"), 0);
    EXPECT_EQ(SearchBM("", "x"), 1);
    EXPECT_EQ(SearchBM("", ""), 1);
    EXPECT_EQ(SearchBM("a", ""), 0);
    EXPECT_EQ(SearchBM("abd", "abcabcabc"), 0);
}

TEST(SearchBM, IsCaseSensitiveAndByteExact) {
    EXPECT_EQ(SearchBM("AB", "xxab"), 0);
    EXPECT_EQ(SearchBM("ab", "xABab"), 4);
    EXPECT_EQ(SearchBM("\xFF\x01", AnsiString("a\x01\xFF\xFF\x01", 5)), 4);
    EXPECT_EQ(SearchBM(AnsiString("\0b", 2), AnsiString("a\0\0b", 4)), 3);
}

TEST(SearchBM, RepeatedCharactersAndOverlaps) {
    EXPECT_EQ(SearchBM("aaa", "aaaaa"), 1);
    EXPECT_EQ(SearchBM("aab", "aaaaab"), 4);
    EXPECT_EQ(SearchBM("abab", "ababab"), 1);
    EXPECT_EQ(SearchBM("baa", "aabaabaa"), 3);
    EXPECT_EQ(SearchBM("aaaa", "aaa"), 0);
}

TEST(SearchBM, AgreesWithPlainSearch) {
    const AnsiString text = "abracadabra cadabra abracadabra";
    for (std::size_t start = 0; start < text.size(); ++start)
        for (std::size_t length = 1; start + length <= text.size() && length <= 6; ++length) {
            const AnsiString pattern = text.substr(start, length) + (length % 2 ? "" : "a");
            const auto expected = text.find(pattern);
            EXPECT_EQ(SearchBM(pattern, text),
                      expected == AnsiString::npos ? 0 : static_cast<Integer>(expected + 1))
                << pattern;
        }
}
