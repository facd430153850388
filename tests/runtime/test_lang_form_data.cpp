// The translation lists in the form file: the content of "TranslationData",
// whole forms saved and read back in both form file formats, inherited
// forms, and the escape that lets any line travel.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "rtl/Filer.h"
#include "runtime/DOriDaz.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace zxtest;

const char* const KindHeaders[] = {"stCaptions",    "stHints",        "stDisplayLabels",
                                   "stFonts",       "stMultiLines",   "stDlgsCaptions",
                                   "stStrings",     "stOtherStrings", "stLocales",
                                   "stCollections", "stCharSets"};

AnsiString Bytes(TMemoryStream& Stream) {
    return AnsiString(reinterpret_cast<const char*>(Stream.Memory()),
                      static_cast<std::size_t>(Stream.Size()));
}

AnsiString Written(const TzxCustomLang& Lang) {
    TMemoryStream stream;
    Lang.WriteOurStrProps(stream);
    return Bytes(stream);
}

void ReadInto(TzxCustomLang& Lang, const AnsiString& Content) {
    TMemoryStream stream;
    stream.WriteBuffer(Content.data(), static_cast<Integer>(Content.size()));
    stream.SetPosition(0);
    Lang.ReadOurStrProps(stream);
}

// Every list of TzxLang, in kind order.
std::vector<TStrings*> Lists(const TzxCustomLang& Lang) {
    std::vector<TStrings*> lists;
    for (Integer kind = stCaptions; kind <= stCharSets; ++kind)
        lists.push_back(Lang.GetPropListByType(static_cast<TStringsType>(kind)));
    return lists;
}

TzxLang* LangOf(TComponent* Form) {
    for (Integer index = 0; index < Form->ComponentCount(); ++index)
        if (auto* lang = dynamic_cast<TzxLang*>(Form->Components(index)))
            return lang;
    return nullptr;
}

class TranslationData : public TLangFormTest<TForm> {
protected:
    void SetUp() override {
        RegisterClxClasses();
        InitQzxComp();
        TLangFormTest::SetUp();
        Form->SetName("DataForm");
        Lang->SetName("zxLang1");
    }

    // Three languages with a line in every list, a line break in a caption
    // and an empty value in the middle of a string.
    void FillThreeLanguages() {
        TStringList names;
        names.SetText("English\nDeutsch\nSuomi\n");
        Lang->SetLangNames(&names);
        // Switched before the lines exist: applying would drop the lines of
        // components this form does not have.
        Lang->SetActLang(2);
        Lang->Captions()->Add(Line({"TDataForm", "Data", "Daten", "Tiedot"}));
        Lang->Captions()->Add(Line({"Button1", "Two\nlines", "Zwei\nZeilen", ""}));
        Lang->Hints()->Add(Line({"Button1", "Press", "Drücken", "Paina"}));
        Lang->DisplayLabels()->Add(Line({"Field1", "Name", "Name", "Nimi"}));
        Lang->Fonts()->Add(Line({"Button1", "Sans,10", "Sans,10", "Sans,11"}));
        Lang->MultiLines()->Add(Line({"Memo1.Lines", "a\nb", "c\nd", "e\nf"}));
        Lang->Strings()->Add(Line({"SID_HELLO", "Hello", "", "Hei"}));
        Lang->OtherStrings()->Add(Line({"Edit1.Text", "x", "y", "z"}));
        Lang->Locales()->Add(Line({"Decimal Separator", ".", ",", ","}));
        Lang->Collections()->Add(Line({"Grid1.Columns.0.Title", "T", "T", "O"}));
        Lang->CharSets()->Add(Line({"Button1", "ANSI_CHARSET", "ANSI_CHARSET", "ANSI_CHARSET"}));
    }

    void ExpectSameTranslations(TzxLang* Read) {
        ASSERT_NE(Read, nullptr);
        std::vector<TStrings*> expected = Lists(*Lang), read = Lists(*Read);
        for (std::size_t kind = 0; kind < expected.size(); ++kind)
            EXPECT_EQ(read[kind]->Text(), expected[kind]->Text()) << KindHeaders[kind];
        EXPECT_EQ(Read->NumOfLanguages(), 3);
        EXPECT_EQ(Read->ActiveLanguage(), 2);
        EXPECT_EQ(Read->LangNames()->Text(), "English\nDeutsch\nSuomi\n");
        EXPECT_EQ(Read->Language(), u"Deutsch");
    }
};

TEST_F(TranslationData, WritesAHeaderPerKeptKindThenItsLinesWithLineBreaksAs25And26) {
    Lang->DlgsCaptions()->Clear();
    Lang->Captions()->Add(Line({"Button1", "Two\nlines"}));
    Lang->Captions()->Add("");
    Lang->Strings()->Add(Line({"S1", "x"}));
    AnsiString expected;
    for (const char* header : KindHeaders) {
        expected += AnsiString(header) + "\r\n";
        if (AnsiString(header) == "stCaptions")
            expected += "Button1\1Two\x19\x1Alines\1\r\n\r\n";
        if (AnsiString(header) == "stStrings")
            expected += "S1\1x\1\r\n";
    }
    EXPECT_EQ(Written(*Lang), expected);
}

TEST_F(TranslationData, ReadsBackIntoTheListsItNames) {
    FillThreeLanguages();
    TForm* other = NewForm<TForm>(nullptr);
    auto* copy = NewComponent<TzxLang>(other);
    copy->OtherStrings()->Add("kept? no");
    ReadInto(*copy, Written(*Lang));
    for (std::size_t kind = 0; kind < 11; ++kind)
        EXPECT_EQ(Lists(*copy)[kind]->Text(), Lists(*Lang)[kind]->Text()) << KindHeaders[kind];
    EXPECT_EQ(copy->Captions()->Get(1), Line({"Button1", "Two\nlines", "Zwei\nZeilen", ""}));
    delete other;
}

TEST_F(TranslationData, KindsTheContentLeavesOutKeepTheirLinesAndUnknownListsAreSkipped) {
    Lang->Hints()->Add(Line({"Old", "hint"}));
    Lang->Captions()->Add(Line({"Old", "caption"}));
    ReadInto(*Lang, "ignored before any kind\r\n"
                    "stListView_TreeView_Items\r\n"
                    "Item0\1node\1\r\n"
                    "STCAPTIONS\r\n"
                    "Button1\1A\x19\x1A"
                    "B\1\r\n");
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "A\nB"}) + "\n");
    EXPECT_EQ(Lang->Hints()->Text(), Line({"Old", "hint"}) + "\n");
    EXPECT_EQ(Lang->DlgsCaptions()->Count(), 11);
}

TEST_F(TranslationData, LinesTheOldFormatLosesSurviveEscaped) {
    const std::vector<AnsiString> awkward = {
        Line({"Button1", "carriage\rreturn"}),
        "stHints",
        "STCAPTIONS",
        Line({"Literal", AnsiString("twenty-five\x19\x1Atwenty-six")}),
        Line({"Lone", AnsiString("\x19")}),
        "\x19-",
        Line({"Both", "cr\r\nlf"}),
        "",
        ";not a comment",
        "[not a section]"};
    for (const AnsiString& line : awkward)
        Lang->Captions()->Add(line);
    Lang->Strings()->Add("stStrings");
    const AnsiString content = Written(*Lang);
    EXPECT_EQ(content.rfind("EscapedLines\r\nstCaptions\r\n", 0), 0u) << content;

    TForm* other = NewForm<TForm>(nullptr);
    auto* copy = NewComponent<TzxLang>(other);
    ReadInto(*copy, content);
    EXPECT_EQ(copy->Captions()->Count(), static_cast<Integer>(awkward.size()));
    for (std::size_t index = 0; index < awkward.size(); ++index)
        EXPECT_EQ(copy->Captions()->Get(static_cast<Integer>(index)), awkward[index]) << index;
    EXPECT_EQ(copy->Strings()->Text(), "stStrings\n");
    EXPECT_EQ(copy->Hints()->Count(), 0);
    delete other;
}

TEST_F(TranslationData, AFormSavedAndReadBackInBothFormatsHasTheSameLists) {
    FillThreeLanguages();
    TTempDir directory;
    const AnsiString binaryFile = directory.File("data.xfm");
    const AnsiString textFile = directory.File("data.txt");
    WriteComponentResFile(binaryFile, Form);
    SaveComponentToTextFile(textFile, Form);
    for (const AnsiString& file : {binaryFile, textFile}) {
        std::unique_ptr<TComponent> read(LoadComponentFromFile(file));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->ClassName(), "TForm");
        TzxLang* readLang = LangOf(read.get());
        ExpectSameTranslations(readLang);
        EXPECT_EQ(readLang->StringTable()->GetTranslationByID(u"sid_hello", 3), u"Hei") << file;
    }
    TStringList text;
    text.LoadFromFile(textFile);
    EXPECT_NE(text.Text().find("  object zxLang1: TzxLang\n"), AnsiString::npos);
    EXPECT_NE(text.Text().find("    TranslationData = {\n"), AnsiString::npos) << text.Text();
    for (const char* list : {"Captions", "Hints", "Strings", "DlgsCaptions"})
        EXPECT_EQ(text.Text().find("    " + AnsiString(list) + " ="), AnsiString::npos) << list;
}

class InheritedTranslationData : public TranslationData {
protected:
    void SetUp() override {
        TranslationData::SetUp();
        Ancestor = NewForm<TForm>(nullptr);
        Ancestor->SetName("DataForm");
        AncestorLang = NewComponent<TzxLang>(Ancestor);
        AncestorLang->SetName("zxLang1");
        Lang->Captions()->Add(Line({"Button1", "OK"}));
        AncestorLang->Captions()->Add(Line({"Button1", "OK"}));
    }
    void TearDown() override {
        delete Ancestor;
        TranslationData::TearDown();
    }

    bool DescendantWritesTranslationData() {
        TMemoryStream stream;
        WriteDescendent(stream, Form, Ancestor);
        return Bytes(stream).find("TranslationData") != AnsiString::npos;
    }

    TForm* Ancestor = nullptr;
    TzxLang* AncestorLang = nullptr;
};

TEST_F(InheritedTranslationData, WritesOnlyWhatDiffersFromTheAncestor) {
    EXPECT_FALSE(DescendantWritesTranslationData());
    Lang->Captions()->Put(0, Line({"Button1", "ok"}));
    EXPECT_TRUE(DescendantWritesTranslationData()) << "the case of a text counts";
}

TEST_F(InheritedTranslationData, UseInheritedDataWritesNone) {
    Lang->UseInheritedData = true;
    Lang->Strings()->Add(Line({"S1", "own"}));
    EXPECT_FALSE(DescendantWritesTranslationData());
    Lang->UseInheritedData = false;
    EXPECT_TRUE(DescendantWritesTranslationData());
}

TEST(TranslationLineEscape, ReadsBackEveryLineAndLeavesPlainLinesAlone) {
    for (const AnsiString& plain : {AnsiString("Button1\1OK\1"), AnsiString(""),
                                    AnsiString("a=b"), AnsiString("stCaption")}) {
        EXPECT_FALSE(TranslationLineNeedsEscape(plain)) << plain;
        EXPECT_EQ(EscapeTranslationLine(plain), plain);
    }
    for (const AnsiString& awkward :
         {AnsiString("a\rb"), AnsiString("stFonts"), AnsiString("StListView_TreeView_Items"),
          AnsiString(";x"), AnsiString("[a=b]"), AnsiString("\x19\x19\x1A"), AnsiString("\x19")}) {
        EXPECT_TRUE(TranslationLineNeedsEscape(awkward)) << awkward;
        AnsiString escaped = EscapeTranslationLine(awkward);
        EXPECT_EQ(escaped.find_first_of("\r\n"), AnsiString::npos);
        TStringsType kind;
        EXPECT_FALSE(IsKindHeader(escaped, kind));
        EXPECT_NE(escaped.front(), ';');
        EXPECT_NE(escaped.front(), '[');
        EXPECT_EQ(UnescapeTranslationLine(escaped), awkward);
    }
    EXPECT_EQ(UnescapeTranslationLine("a\x19q\x19"), "a\x19q\x19") << "unknown pairs stay";
}

TEST(TranslationLineEscape, KeysAndValuesSurviveTheIniEngine) {
    TMemIniFile ini("");
    const std::vector<std::pair<AnsiString, AnsiString>> entries = {
        {"[a", "b]"}, {";note", "two\r\nlines"}, {"plain", "text"}};
    for (const auto& [key, value] : entries)
        ini.WriteString("Captions", EscapeTranslationLine(key), EscapeTranslationLine(value));
    TStringList text;
    ini.GetStrings(text);
    TMemIniFile reread("");
    reread.SetStrings(text);
    TStringList keys;
    reread.ReadSection("Captions", keys);
    ASSERT_EQ(keys.Count(), 3) << text.Text();
    for (const auto& [key, value] : entries)
        EXPECT_EQ(UnescapeTranslationLine(
                      reread.ReadString("Captions", EscapeTranslationLine(key), "missing")),
                  value)
            << key;
    TStringList sections;
    reread.ReadSections(sections);
    EXPECT_EQ(sections.Text(), "Captions\n");
}

} // namespace
