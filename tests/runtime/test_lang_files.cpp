// The translation component's file entry points: missing files, whole-file
// saves and loads, merges with and without applying the language, single
// language columns, and files that are damaged or cannot be written.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

class TFilesForm : public TForm {
    ZX_CLASS(TFilesForm, TForm)
public:
    explicit TFilesForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("FilesForm");
        SetCaption("Files");
        Button1 = AddControl<TButton>(this, "Button1");
        Button1->SetCaption("OK");
        Label1 = AddControl<TLabel>(this, "Label1");
    }
    TButton* Button1;
    TLabel* Label1;
};

AnsiString FileText(const std::string& Name) {
    TStringList lines;
    lines.LoadFromFile(Name);
    return lines.Text();
}

void WriteText(const std::string& Name, const AnsiString& Text) {
    TStringList lines;
    lines.SetText(Text);
    lines.SaveToFile(Name);
}

class LangFiles : public TLangFormTest<TFilesForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        Lang->SetNumLang(3);
        TStringList names;
        names.SetCommaText("English,Deutsch,Français");
        Lang->SetLangNames(&names);
        Name = UTF8Decode(Dir.File("app.zxl"));
    }
    TTempDir Dir;
    WideString Name;
};

TEST_F(LangFiles, MissingFilesLoadNothingAndSavingCreatesThem) {
    Lang->Captions()->Add(Line({"Button1", "OK", "Gut", "Bien"}));
    EXPECT_EQ(Lang->LoadFromFile(stCaptions, Name, true), -1);
    EXPECT_FALSE(Lang->MergeFromFile(stCaptions, Name));
    Lang->LoadAllFromFile(Name, true);
    Lang->LoadAllFromFileDNC(Name, true);
    Lang->LoadExtendedFromFile(Name, true);
    Lang->LoadLanguage(Name, u"Deutsch");
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "OK", "Gut", "Bien"}) + "\n");
    EXPECT_FALSE(FileExists(UTF8Encode(Name)));

    Lang->SaveToFile(stCaptions, Name, u"~!@#");
    EXPECT_NE(FileText(UTF8Encode(Name)).find("TFilesForm.Button1=OK~!@#Gut~!@#Bien~!@#\n"),
              AnsiString::npos);
}

class TSecondForm : public TForm {
    ZX_CLASS(TSecondForm, TForm)
public:
    explicit TSecondForm(TComponent* AOwner) : TForm(AOwner) {
        Label1 = AddControl<TLabel>(this, "Label1");
    }
    TLabel* Label1;
};

AnsiString FileBytes(const std::string& Name) {
    TMemoryStream bytes;
    bytes.LoadFromFile(Name);
    return AnsiString(reinterpret_cast<const char*>(bytes.Memory()),
                      static_cast<std::size_t>(bytes.Size()));
}

void SetTwoLanguages(TzxCustomLang& Lang) {
    TStringList names;
    names.SetCommaText("English,Deutsch");
    Lang.SetNumLang(2);
    Lang.SetLangNames(&names);
}

TEST_F(LangFiles, TwoFormsInTwoLanguagesWriteTheExpectedFile) {
    SetTwoLanguages(*Lang);
    Lang->Captions()->Add(Line({"TFilesForm", "Files", "Dateien"}));
    Lang->Captions()->Add(Line({"Button1", "OK", "Gut"}));
    Lang->Hints()->Add(Line({"Button1", "Press", "Drücken"}));
    auto* second = NewForm<TSecondForm>(nullptr);
    auto* secondLang = NewComponent<TzxLang>(second);
    SetTwoLanguages(*secondLang);
    secondLang->Captions()->Add(Line({"Label1", "Hello", "Hallo"}));

    Lang->SaveToFile(stCaptions, Name, u"~!@#");
    Lang->SaveToFile(stHints, Name, u"~!@#");
    secondLang->SaveToFile(stCaptions, Name, u"~!@#");
    delete second;
    EXPECT_EQ(FileBytes(UTF8Encode(Name)), FileBytes(ZX_RUNTIME_TEST_DATA "/two_forms.zxl"));
}

TEST_F(LangFiles, SavingKeepsWhatTheFileHoldsForOtherForms) {
    WriteText(UTF8Encode(Name), "[Captions]\nTOther.Label1=Hi~!@#\n[Strings]\nTOther.S=x~!@#\n");
    Lang->Strings()->Add(Line({"SMine", "mine", "meins", "mien"}));
    Lang->SaveStringsToFile(Name, u"~!@#");
    const AnsiString text = FileText(UTF8Encode(Name));
    EXPECT_NE(text.find("[Captions]\nTOther.Label1=Hi~!@#\n"), AnsiString::npos);
    EXPECT_NE(text.find("[Strings]\nTFilesForm.SMine=mine~!@#meins~!@#mien~!@#\nTOther.S=x~!@#\n"),
              AnsiString::npos);

    TzxLang* lang = Lang;
    lang->Strings()->Clear();
    EXPECT_EQ(lang->LoadStringsFromFile(Name, true), 2);
    EXPECT_EQ(lang->Strings()->Text(), Line({"SMine", "mine", "meins", "mien"}) + "\n");
}

TEST_F(LangFiles, AFailedSaveLeavesTheFileAsItWas) {
    const AnsiString before = "[Captions]\nTOther.Label1=Hi~!@#\n";
    WriteText(UTF8Encode(Name), before);
    Lang->Captions()->Add(Line({"Button1", "OK", "Gut", "Bien"}));
    Lang->OtherStrings()->Add(Line({"Button1.Hint\nx", "a", "b", "c"}));
    EXPECT_THROW(Lang->SaveAllToFile(Name, u"~!@#"), ELanguageError);
    EXPECT_EQ(FileText(UTF8Encode(Name)), before);
}

TEST_F(LangFiles, EveryKindAndTheExtendedSectionTravelThroughAFile) {
    Lang->Captions()->Add(Line({"TFilesForm", "Files", "Dateien", "Fichiers"}));
    Lang->Captions()->Add(Line({"Button1", "OK", "Gut", "Bien"}));
    Lang->Hints()->Add(Line({"Label1", "tip", "", "astuce"}));
    Lang->Strings()->Add(Line({"SHello", "Hello", "Hallo", "Bonjour"}));
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
    item->SetIdentifier("Label1.Caption");
    item->SetValues(Line({"a", "b", "c"}));
    Lang->SaveAllToFile(Name, u"~!@#");
    const AnsiString captions = Lang->Captions()->Text();
    const AnsiString hints = Lang->Hints()->Text();

    Lang->Captions()->Clear();
    Lang->Hints()->Clear();
    Lang->Strings()->Clear();
    Lang->ExtendedTranslations()->Clear();
    Lang->SetActLang(3);
    Lang->LoadAllFromFile(Name, true);
    EXPECT_EQ(Lang->Captions()->Text(), captions);
    EXPECT_EQ(Lang->Hints()->Text(), hints);
    EXPECT_EQ(Lang->GetIDIndex(u"shello"), 0);
    ASSERT_EQ(Lang->ExtendedTranslations()->Count(), 1);
    EXPECT_EQ(Lang->ExtendedTranslations()->Items(0)->Values(), Line({"a", "b", "c"}));
    EXPECT_EQ(Form->Button1->Caption(), "Bien") << "the whole load applies the language";
    EXPECT_EQ(Form->Caption(), "Fichiers");
}

TEST_F(LangFiles, TheLoadsThatDoNotChangeTheLanguageLeaveTheFormAlone) {
    WriteText(UTF8Encode(Name), "[Captions]\nTFilesForm.Button1=OK~!@#Gut~!@#Bien~!@#\n");
    Lang->SetActLang(2);
    Lang->LoadAllFromFileDNC(Name, true);
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Button1", "OK", "Gut", "Bien"}));
    EXPECT_EQ(Form->Button1->Caption(), "OK");

    Lang->Captions()->Clear();
    EXPECT_TRUE(Lang->MergeAllFromFileDNC(Name));
    EXPECT_EQ(Form->Button1->Caption(), "OK");
    EXPECT_TRUE(Lang->MergeAllFromFile(Name));
    EXPECT_EQ(Form->Button1->Caption(), "Gut");
}

TEST_F(LangFiles, MergingAFileKeepsTheComponentsExtraLines) {
    WriteText(UTF8Encode(Name), "[Captions]\nTFilesForm.Button1=OK~!@#Gut~!@#Bien~!@#\n");
    Lang->Captions()->Add(Line({"Label1", "Hi", "Hallo", "Salut"}));
    Lang->Captions()->Add(Line({"Button1", "old", "alt", "vieux"}));
    Lang->SetActLang(2);
    EXPECT_TRUE(Lang->MergeFromFile(stCaptions, Name));
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "OK", "Gut", "Bien"}) + "\n" +
                                            Line({"Label1", "Hi", "Hallo", "Salut"}) + "\n");
    EXPECT_EQ(Form->Button1->Caption(), "Gut");
    EXPECT_EQ(Form->Label1->Caption(), "Hallo");
}

TEST_F(LangFiles, ADamagedFileIsReportedByNameAndChangesNothing) {
    WriteText(UTF8Encode(Name), "[Captions]\nTFilesForm.Button1=OK~!@#\n[Hints]\nTFilesForm.Bu");
    Lang->Captions()->Add(Line({"Button1", "old", "alt", "vieux"}));
    const AnsiString before = Lang->Captions()->Text();
    EXPECT_EQ(MessageOf<EReadError>([&] { Lang->LoadAllFromFile(Name, true); }),
              "Translation file \"" + UTF8Encode(Name) +
                  "\", line 4: the line is neither a section header nor an entry");
    EXPECT_THROW(Lang->LoadAllFromFileDNC(Name, true), EReadError);
    EXPECT_EQ(Lang->LoadFromFile(stCaptions, Name, true), -1);
    EXPECT_FALSE(Lang->MergeFromFile(stCaptions, Name));
    EXPECT_FALSE(Lang->MergeAllFromFile(Name));
    EXPECT_EQ(Lang->Captions()->Text(), before);
}

// ---------------------------------------------------------------------------
// Binary files

const AnsiString Signature = "ZXB file: TzxLang binary translation data";

class BinaryFiles : public LangFiles {
protected:
    void SetUp() override {
        LangFiles::SetUp();
        InitQzxComp();
        Binary = UTF8Decode(Dir.File("app.Zxb"));
        Lang->Captions()->Add(Line({"Button1", "OK", "Gut", "Bien"}));
    }
    WideString Binary;
};

TEST_F(BinaryFiles, EveryWriterWritesTheBinaryFormatForABinaryName) {
    Lang->SaveToFile(stCaptions, Binary, u"~!@#");
    EXPECT_TRUE(FileBytes(UTF8Encode(Binary)).starts_with(Signature));
    Lang->SaveAllToFile(Binary, u"~!@#");
    Lang->SaveStringsToFile(Binary, u"~!@#");
    Lang->SaveExtendedToFile(Binary, u"~!@#");
    EXPECT_TRUE(FileBytes(UTF8Encode(Binary)).starts_with(Signature));

    auto* second = NewForm<TSecondForm>(nullptr);
    auto* secondLang = NewComponent<TzxLang>(second);
    secondLang->Captions()->Add(Line({"Label1", "Hello"}));
    secondLang->SaveAllToFile(Binary, u"~!@#");
    delete second;
    Lang->Captions()->Clear();
    EXPECT_EQ(Lang->LoadFromFile(stCaptions, Binary, true), 1) << "this form's entry was kept";
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "OK", "Gut", "Bien"}) + "\n");
}

TEST_F(BinaryFiles, LoadsAndMergesReadTheBinaryFormat) {
    Lang->Strings()->Add(Line({"SHello", "Hello", "Hallo", "Bonjour"}));
    Lang->SaveAllToFile(Binary, u"~!@#");
    Lang->Captions()->Clear();
    Lang->Strings()->Clear();
    Lang->SetActLang(2);

    Lang->LoadAllFromFileDNC(Binary, true);
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Button1", "OK", "Gut", "Bien"}));
    EXPECT_EQ(Form->Button1->Caption(), "OK") << "the language is not applied";
    Lang->Captions()->Clear();
    Lang->LoadAllFromFile(Binary, true);
    EXPECT_EQ(Form->Button1->Caption(), "Gut");
    EXPECT_EQ(Lang->GetIDIndex(u"SHello"), 0);

    Lang->Captions()->Clear();
    Lang->Captions()->Add(Line({"Label1", "Hi", "Hallo", "Salut"}));
    EXPECT_TRUE(Lang->MergeFromFile(stCaptions, Binary));
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "OK", "Gut", "Bien"}) + "\n" +
                                            Line({"Label1", "Hi", "Hallo", "Salut"}) + "\n");
    EXPECT_TRUE(Lang->MergeAllFromFile(Binary));
}

TEST_F(BinaryFiles, ADamagedBinaryFileIsNeitherLoadedNorOverwritten) {
    const AnsiString damaged = Signature + AnsiString("\0\x05\0\0\0", 5);
    TStringStream bytes(damaged);
    TMemoryStream file;
    file.LoadFromStream(bytes);
    file.SaveToFile(UTF8Encode(Binary));
    const AnsiString captions = Lang->Captions()->Text();
    EXPECT_EQ(Lang->LoadFromFile(stCaptions, Binary, true), -1);
    EXPECT_FALSE(Lang->MergeFromFile(stCaptions, Binary));
    EXPECT_FALSE(Lang->MergeAllFromFileDNC(Binary));
    EXPECT_ANY_THROW(Lang->LoadAllFromFile(Binary, true));
    EXPECT_EQ(Lang->Captions()->Text(), captions);
    EXPECT_ANY_THROW(Lang->SaveAllToFile(Binary, u"~!@#"));
    EXPECT_EQ(FileBytes(UTF8Encode(Binary)), damaged);
}

// ---------------------------------------------------------------------------
// One language column

class LanguageColumn : public LangFiles {
protected:
    void SetUp() override {
        LangFiles::SetUp();
        WriteText(UTF8Encode(Name), "[Captions]\n"
                                    "TFilesForm.Button1=OK~!@#Bien~!@#Vale~!@#\n"
                                    "TFilesForm.Label1=Hi~!@#Salut~!@#Hola~!@#\n"
                                    "TOther.Label1=no~!@#non~!@#\n"
                                    "[Extended]\n"
                                    "TFilesForm.Label1.Hint=tip~!@#astuce~!@#consejo~!@#\n"
                                    "TFilesForm.Label1.Hint_TypeKind=tkLString\n"
                                    "TFilesForm.Button1.Hint=press~!@#appuyer~!@#pulsar~!@#\n"
                                    "[Language names - for internal use only!]\n"
                                    "Language_1=English\n"
                                    "Language_2=Français\n"
                                    "Language_3=Español\n");
        Lang->Captions()->Add(Line({"Button1", "OK", "Gut", "old"}));
        TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
        item->SetIdentifier("Label1.Hint");
        item->SetValues(Line({"tip", "Tipp", "", ""}));
    }
};

TEST_F(LanguageColumn, FillsTheComponentsLanguageOfThatNameAndKeepsTheOthers) {
    Lang->SetActLang(3);
    Lang->LoadLanguage(Name, u"Français");
    EXPECT_EQ(Lang->NumOfLanguages(), 3);
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "OK", "Gut", "Bien"}) + "\n" +
                                            Line({"Label1", "", "", "Salut"}) + "\n");
    EXPECT_EQ(Lang->ExtendedTranslations()->Items(0)->Values(), Line({"tip", "Tipp", "astuce"}))
        << "the item keeps its other languages";
    ASSERT_EQ(Lang->ExtendedTranslations()->Count(), 2);
    EXPECT_EQ(Lang->ExtendedTranslations()->Items(1)->Values(), Line({"", "", "appuyer"}));
    EXPECT_EQ(Form->Button1->Caption(), "Bien");
}

TEST_F(LanguageColumn, ALanguageTheComponentLacksIsAdded) {
    Lang->LoadLanguage(Name, u"Español");
    EXPECT_EQ(Lang->NumOfLanguages(), 4);
    EXPECT_EQ(Lang->LangNames()->CommaText(), "English,Deutsch,Français,Español");
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Button1", "OK", "Gut", "old", "Vale"}));
    EXPECT_EQ(Lang->Captions()->Get(1), Line({"Label1", "", "", "", "Hola"}));
}

TEST_F(LanguageColumn, ALanguageBeyondTheMostAComponentHoldsIsRefused) {
    Lang->SetNumLang(MaxNumOfLanguages);
    const AnsiString captions = Lang->Captions()->Text();
    EXPECT_THROW(Lang->LoadLanguage(Name, u"Español"), EReadError);
    EXPECT_THROW(Lang->LoadLanguageByExt(Name, u"Español"), EReadError);
    EXPECT_EQ(Lang->NumOfLanguages(), MaxNumOfLanguages);
    EXPECT_EQ(Lang->LangNames()->Count(), MaxNumOfLanguages);
    EXPECT_EQ(Lang->Captions()->Text(), captions);
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), 1);

    Lang->LoadLanguageByProp(stCaptions, Name, u"Français");
    EXPECT_TRUE(Lang->Captions()->Get(0).starts_with(Line({"Button1", "OK", "Gut", "Bien"})))
        << "a language the component has still loads";
}

TEST_F(LanguageColumn, ANameTheFileDoesNotListChangesNothing) {
    const AnsiString captions = Lang->Captions()->Text();
    Lang->LoadLanguage(Name, u"Deutsch");
    Lang->LoadLanguage(Name, u"français");
    Lang->LoadLanguage(Name, u"");
    EXPECT_EQ(Lang->Captions()->Text(), captions);
    EXPECT_EQ(Lang->NumOfLanguages(), 3);
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), 1);
}

TEST_F(LanguageColumn, AComponentWithoutOwnerLoadsNothing) {
    std::unique_ptr<TzxLang> loose(NewComponent<TzxLang>(nullptr));
    loose->Captions()->Add(Line({"Button1", "OK", "Gut"}));
    const Integer languages = loose->NumOfLanguages();
    const WideString binary = UTF8Decode(Dir.File("app.zxb"));
    Lang->SaveAllToFile(binary, u"~!@#");
    loose->LoadLanguage(Name, u"Français");
    EXPECT_FALSE(loose->LoadPropFromBinaryFile(stCaptions, UTF8Encode(binary)));
    EXPECT_EQ(loose->Captions()->Text(), Line({"Button1", "OK", "Gut"}) + "\n");
    EXPECT_EQ(loose->NumOfLanguages(), languages);
}

TEST_F(LanguageColumn, OneKindAloneLeavesTheOtherKinds) {
    Lang->LoadLanguageByProp(stHints, Name, u"Français");
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Button1", "OK", "Gut", "old"}));
    EXPECT_EQ(Lang->Hints()->Count(), 0);
    Lang->LoadLanguageByProp(stCaptions, Name, u"Français");
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Button1", "OK", "Gut", "Bien"}));
    EXPECT_EQ(Lang->ExtendedTranslations()->Items(0)->Values(), Line({"tip", "Tipp", "", ""}));
}

TEST_F(LanguageColumn, ADamagedFileChangesNothing) {
    WriteText(UTF8Encode(Name), "[Language names - for internal use only!]\n"
                                "Language_1=English\nLanguage_2=Français\n"
                                "[Captions]\nTFilesForm.Button1=OK~!@#Bien~!@#\nTFilesForm.Lab");
    const AnsiString captions = Lang->Captions()->Text();
    Lang->LoadLanguage(Name, u"Français");
    EXPECT_EQ(Lang->Captions()->Text(), captions);
    EXPECT_EQ(Lang->NumOfLanguages(), 3);
}

TEST(BuildStringByOne, PutsTheValueInItsLanguagesPlace) {
    auto* form = NewForm<TFilesForm>(nullptr);
    auto* lang = NewComponent<TzxLang>(form);
    lang->SetNumLang(3);
    EXPECT_EQ(lang->BuildStringByOne(u"x", 2), u"\1x\1\1");
    EXPECT_EQ(lang->BuildStringByOne(u"x", 1), u"x\1\1\1");
    EXPECT_EQ(lang->BuildStringByOne(u"x", 4), u"\1\1\1");
    delete form;
}

} // namespace
