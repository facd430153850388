// The text translation file: the bytes written, round trips of every kind
// and of extended translations, merges, single language columns, and
// damaged texts that must leave the component as it was.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

class TMainForm : public TForm {
    ZX_CLASS(TMainForm, TForm)
public:
    explicit TMainForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("MainForm");
        SetCaption("Main");
        Button1 = AddControl<TButton>(this, "Button1");
        Button1->SetCaption("OK");
        Label1 = AddControl<TLabel>(this, "Label1");
        Label1->SetCaption("Hello");
        Label2 = AddControl<TLabel>(this, "Label2");
        Status = AddControl<TStatusBar>(this, "Status");
        for (const char* text : {"Name", "Size", "Date"})
            Status->Panels()->Add()->SetText(text);
    }
    TButton* Button1;
    TLabel* Label1;
    TLabel* Label2;
    TStatusBar* Status;
};

class TOtherForm : public TForm {
    ZX_CLASS(TOtherForm, TForm)
public:
    explicit TOtherForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("OtherForm");
        Label1 = AddControl<TLabel>(this, "Label1");
    }
    TLabel* Label1;
};

void SetNames(TzxCustomLang& Lang, std::initializer_list<AnsiString> Names) {
    TStringList names;
    for (const AnsiString& name : Names)
        names.Add(name);
    Lang.SetNumLang(static_cast<Integer>(names.Count()));
    Lang.SetLangNames(&names);
}

TStringStream TextStream(const AnsiString& Text) {
    return TStringStream(Text);
}

// Everything a load may change, to show that a failed one changed nothing.
// The file keeps its keys sorted, so the lines are compared in that order.
AnsiString StateOf(const TzxCustomLang& Lang) {
    AnsiString state;
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        if (TStrings* list = Lang.GetPropListByType(static_cast<TStringsType>(kind))) {
            TStringList sorted;
            sorted.Assign(list);
            sorted.Sort();
            state += "[" + IntToStr(kind) + "]" + sorted.Text();
        }
    state += "names:" + Lang.LangNames()->Text() + IntToStr(Lang.NumOfLanguages());
    state += "fixed:" + Lang.FixedLanguages()->Text();
    for (Integer index = 0; index < Lang.ExtendedTranslations()->Count(); ++index) {
        const TzxExtendedItem* item = Lang.ExtendedTranslations()->Items(index);
        state += "ext:" + item->GetIdentifier() + "=" + item->Values();
    }
    return state;
}

class ZxlFile : public TLangFormTest<TMainForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        SetNames(*Lang, {"English", "Deutsch"});
    }
    // A second form of the same class with its own component, as another
    // run of the application would have it.
    TzxLang* FreshLang() {
        Other = NewForm<TMainForm>(nullptr);
        auto* lang = NewComponent<TzxLang>(Other);
        SetNames(*lang, {"English", "Deutsch"});
        return lang;
    }
    void TearDown() override {
        delete Other;
        TLangFormTest::TearDown();
    }
    TMainForm* Other = nullptr;
};

// ---------------------------------------------------------------------------
// The bytes of the file

TEST_F(ZxlFile, TwoFormsAndTwoLanguagesGiveTheExpectedText) {
    Lang->Captions()->Add(Line({"TMainForm", "Main", "Haupt"}));
    Lang->Captions()->Add(Line({"Button1", "OK", "Gut"}));
    Lang->Hints()->Add(Line({"Button1", "Press", "Drücken"}));
    auto* otherForm = NewForm<TOtherForm>(nullptr);
    auto* otherLang = NewComponent<TzxLang>(otherForm);
    SetNames(*otherLang, {"English", "Deutsch"});
    otherLang->Captions()->Add(Line({"Label1", "Hello", "Hallo"}));

    TStringStream file;
    EXPECT_EQ(Lang->SaveToStream(stCaptions, file, u"~!@#"), 2);
    EXPECT_EQ(Lang->SaveToStream(stHints, file, u"~!@#"), 1);
    EXPECT_EQ(otherLang->SaveToStream(stCaptions, file, u"~!@#"), 1);
    delete otherForm;

    EXPECT_EQ(file.DataString(), "[Captions]\n"
                                 "TMainForm.Button1=OK~!@#Gut~!@#\n"
                                 "TMainForm.TMainForm=Main~!@#Haupt~!@#\n"
                                 "TOtherForm.Label1=Hello~!@#Hallo~!@#\n"
                                 "\n"
                                 "[Hints]\n"
                                 "TMainForm.Button1=Press~!@#Drücken~!@#\n"
                                 "\n"
                                 "[Language names - for internal use only!]\n"
                                 "Language_1=English\n"
                                 "Language_2=Deutsch\n"
                                 "\n"
                                 "[OPTIONS]\n"
                                 "DELIMITER=~!@#\n"
                                 "\n");
}

TEST_F(ZxlFile, WritingOneFormKeepsOtherSectionsAndDropsCommentsAndTheOlderNames) {
    TStringStream file("; a comment\n"
                       "[Captions]\n"
                       "TOtherForm.Label1=Hi~!@#\n"
                       "[Language names - for intenal use only!]\n"
                       "Language_1=Old\n"
                       "[Zebra]\n"
                       "Z=1\n");
    Lang->Captions()->Add(Line({"Label1", "Hello", "Hallo"}));
    Lang->SaveToStream(stCaptions, file, u"|");
    EXPECT_EQ(file.DataString(), "[Captions]\n"
                                 "TMainForm.Label1=Hello|Hallo|\n"
                                 "TOtherForm.Label1=Hi~!@#\n"
                                 "\n"
                                 "[Language names - for internal use only!]\n"
                                 "Language_1=English\n"
                                 "Language_2=Deutsch\n"
                                 "\n"
                                 "[OPTIONS]\n"
                                 "DELIMITER=|\n"
                                 "\n"
                                 "[Zebra]\n"
                                 "Z=1\n"
                                 "\n");
}

TEST_F(ZxlFile, IndexMarksLineBreaksAndMissingNamesAreWrittenAsTheFormatWants) {
    Lang->LangNames()->Put(1, "");
    Lang->Collections()->Add(Line({"Status.Panels[1].Text", "Size", "Größe"}));
    Lang->MultiLines()->Add(Line({"Memo1.Lines", "one\r\ntwo", "eins\nzwei"}));
    TStringStream file;
    Lang->SaveToStream(stCollections, file, u"~!@#");
    Lang->SaveToStream(stMultiLines, file, u"~!@#");
    EXPECT_NE(file.DataString().find("TMainForm.Status.Panels-1+.Text=Size~!@#Größe~!@#\n"),
              AnsiString::npos);
    EXPECT_NE(file.DataString().find("TMainForm.Memo1.Lines=one\x19\x1atwo~!@#eins\x1azwei~!@#\n"),
              AnsiString::npos);
    EXPECT_NE(file.DataString().find("Language_2=Language N2\n"), AnsiString::npos);
}

TEST_F(ZxlFile, SavingDropsTheOlderFormsKeysOfThatSectionOnly) {
    TStringStream file("[Captions]\n"
                       "MainForm.Label2=old\n"
                       "[Hints]\n"
                       "MainForm.Label2=old hint\n");
    Lang->Captions()->Add(Line({"Label1", "Hello", "Hallo"}));
    Lang->SaveToStream(stCaptions, file, u"~!@#");
    EXPECT_EQ(file.DataString().find("MainForm.Label2=old\n"), AnsiString::npos);
    EXPECT_NE(file.DataString().find("MainForm.Label2=old hint\n"), AnsiString::npos);
}

TEST_F(ZxlFile, KeysAndTextsThatWouldBreakTheFileAreRefusedAndTheStreamIsKept) {
    const AnsiString before = "[Captions]\nTOtherForm.Label1=Hi~!@#\n";
    TStringStream file(before);
    Lang->OtherStrings()->Add(Line({"Label1.Hint=x", "a", "b"}));
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Lang->SaveToStream(stOtherStrings, file, u"~"); }),
              "The key \"Label1.Hint=x\" cannot be written to a translation file!");
    EXPECT_THROW(Lang->SaveToStream(stCaptions, file, u""), ELanguageError);
    EXPECT_THROW(Lang->SaveToStream(stCaptions, file, u"a\nb"), ELanguageError);
    EXPECT_EQ(file.DataString(), before);
}

TEST_F(ZxlFile, AStreamThatIsNoTranslationTextIsNotOverwritten) {
    const AnsiString before = AnsiString("[Captions]\nTOtherForm.Label1=Hi\0there\n", 37);
    TStringStream file(before);
    Lang->Captions()->Add(Line({"Label1", "Hello", "Hallo"}));
    EXPECT_THROW(Lang->SaveToStream(stCaptions, file, u"~!@#"), EReadError);
    EXPECT_EQ(file.DataString(), before);
}

TEST_F(ZxlFile, AKindTheClassDoesNotKeepIsNeitherWrittenNorRead) {
    TStringStream file("[ListView_TreeView_Items]\nTMainForm.LV.Items-0+=a~!@#\n");
    EXPECT_EQ(Lang->SaveToStream(stListView_TreeView_Items, file, u"~!@#"), -1);
    EXPECT_EQ(file.DataString(), "[ListView_TreeView_Items]\nTMainForm.LV.Items-0+=a~!@#\n");
    EXPECT_EQ(Lang->LoadFromStream(stListView_TreeView_Items, file, true), -1);
    EXPECT_FALSE(Lang->MergeFromStream(stListView_TreeView_Items, file));
}

// ---------------------------------------------------------------------------
// Reading one kind

TEST_F(ZxlFile, LoadingTakesThisFormsKeysAndPutsTheOwnersLineFirst) {
    auto file = TextStream("[Captions]\n"
                           "TMainForm.Button1=OK~!@#Gut~!@#\n"
                           "TMainForm.TMainForm=Main~!@#Haupt~!@#\n"
                           "TOtherForm.Label1=Hi~!@#Hallo~!@#\n");
    EXPECT_EQ(Lang->LoadFromStream(stCaptions, file, true), 3) << "every key of the section";
    EXPECT_EQ(Lang->Captions()->Text(),
              Line({"TMainForm", "Main", "Haupt"}) + "\n" + Line({"Button1", "OK", "Gut"}) + "\n");
}

TEST_F(ZxlFile, LoadingReadsTheLanguageNamesAndTheirCount) {
    auto file = TextStream("[Captions]\n"
                           "TMainForm.Button1=OK|Gut|Bien|\n"
                           "[Language names - for internal use only!]\n"
                           "Language_1=English\n"
                           "Language_2=Deutsch\n"
                           "Language_3=Français\n"
                           "Language_5=Skipped\n"
                           "[Options]\n"
                           "Delimiter=|\n");
    Lang->LoadFromStream(stCaptions, file, true);
    EXPECT_EQ(Lang->LangNames()->CommaText(), "English,Deutsch,Français");
    EXPECT_EQ(Lang->NumOfLanguages(), 3);
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Button1", "OK", "Gut", "Bien"}));
}

TEST_F(ZxlFile, AFileNamingMoreLanguagesThanAComponentHoldsIsRefused) {
    Lang->Captions()->Add(Line({"Button1", "OK", "Gut"}));
    const AnsiString before = StateOf(*Lang);
    const AnsiString text = "[Captions]\nTMainForm.Button1=a~!@#b~!@#\n"
                            "[Language names - for internal use only!]\n" +
                            Numbered(MaxNumOfLanguages, "Language_%0:d=L%0:d\n");
    auto tooMany = TextStream(text + "Language_256=L256\n");
    EXPECT_EQ(Lang->LoadFromStream(stCaptions, tooMany, true), -1);
    EXPECT_THROW(Lang->LoadAllFromStream(tooMany, true), EReadError);
    EXPECT_EQ(StateOf(*Lang), before);

    auto fits = TextStream(text + "Language_257=after a gap\n");
    Lang->LoadAllFromStream(fits, true);
    EXPECT_EQ(Lang->NumOfLanguages(), MaxNumOfLanguages);
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Button1", "a", "b"}));
}

TEST_F(ZxlFile, AByteOrderMarkHidesNeitherTheOptionsNorTheFirstSection) {
    const AnsiString options = "[OPTIONS]\nDELIMITER=|\n";
    const AnsiString captions = "[Captions]\nTMainForm.Button1=OK|Gut|\n";
    for (const AnsiString& text : {options + captions, captions + options}) {
        const AnsiString first = text.substr(0, text.find('\n'));
        auto file = TextStream("\xEF\xBB\xBF" + text);
        EXPECT_EQ(Lang->LoadFromStream(stCaptions, file, true), 1) << first;
        EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "OK", "Gut"}) + "\n") << first;
        Lang->SaveToStream(stCaptions, file, u"|");
        EXPECT_TRUE(file.DataString().starts_with("[Captions]\n")) << first;
    }
}

TEST_F(ZxlFile, AValueWithoutTheDelimiterIsTakenForTheFirstTwoLanguages) {
    auto file = TextStream("[Captions]\nTMainForm.Button1=OK\n");
    Lang->LoadFromStream(stCaptions, file, true);
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Button1", "OK", "OK"}));
}

TEST_F(ZxlFile, IndexMarksMapBackToBracketsEveryOne) {
    auto file = TextStream("[Collections]\n"
                           "TMainForm.Status.Panels-1+.Text=Size~!@#Größe~!@#\n"
                           "TMainForm.Status.Panels-2+.Items-3+.Text=a~!@#b~!@#\n");
    // Applying the language would drop the path no panel has.
    EXPECT_TRUE(Lang->MergeAllFromStreamDNC(file));
    EXPECT_EQ(Lang->Collections()->Text(), Line({"Status.Panels[1].Text", "Size", "Größe"}) + "\n" +
                                               Line({"Status.Panels[2].Items[3].Text", "a", "b"}) +
                                               "\n");
}

TEST_F(ZxlFile, OlderFormKeysLoadWhateverTheCaseOfTheComponentName) {
    auto file = TextStream("[Captions]\n"
                           "mainform.Button1=OK~!@#Gut~!@#\n"
                           "MAINFORM.Label1=Hi~!@#Hallo~!@#\n");
    Lang->LoadFromStream(stCaptions, file, true);
    EXPECT_EQ(Lang->Captions()->Text(),
              Line({"Button1", "OK", "Gut"}) + "\n" + Line({"Label1", "Hi", "Hallo"}) + "\n");
}

TEST_F(ZxlFile, ExcludedComponentsAndSkippedValuesAreNotLoaded) {
    Lang->DoNotTranslate()->Add("label1");
    auto file = TextStream("[Captions]\n"
                           "TMainForm.Button1=\xff\n"
                           "TMainForm.Label1=Hi~!@#\n"
                           "TMainForm.Label2=Yo~!@#\n");
    Lang->LoadFromStream(stCaptions, file, true);
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Label2", "Yo"}) + "\n");
}

TEST_F(ZxlFile, LoadingWithoutClearingReplacesTheLinesOfTheFilesKeys) {
    Lang->Captions()->Add(Line({"Label1", "Hi", "Hallo"}));
    Lang->Captions()->Add(Line({"Button1", "old", "alt"}));
    auto file =
        TextStream("[Captions]\nTMainForm.BUTTON1=OK~!@#Gut~!@#\nTMainForm.Label2=x~!@#y~!@#\n");
    Lang->LoadFromStream(stCaptions, file, false);
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Label1", "Hi", "Hallo"}) + "\n" +
                                            Line({"BUTTON1", "OK", "Gut"}) + "\n" +
                                            Line({"Label2", "x", "y"}) + "\n");
}

TEST_F(ZxlFile, ASingleLoadAppliesTheLanguageAndDropsLinesOfMissingComponents) {
    Lang->SetActLang(2);
    auto file = TextStream("[Captions]\n"
                           "TMainForm.Button1=OK~!@#Gut~!@#\n"
                           "TMainForm.Gone=x~!@#y~!@#\n");
    Lang->LoadFromStream(stCaptions, file, true);
    EXPECT_EQ(Form->Button1->Caption(), "Gut");
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "OK", "Gut"}) + "\n");
}

// ---------------------------------------------------------------------------
// Round trips

void FillEveryKind(TzxLang& Lang) {
    Lang.Captions()->Add(Line({"TMainForm", "Main", "Haupt"}));
    Lang.Captions()->Add(Line({"Button1", "OK", "Gut"}));
    Lang.Hints()->Add(Line({"Button1", "Press", ""}));
    Lang.DisplayLabels()->Add(Line({"Label1", "Name", "Name"}));
    Lang.Fonts()->Add(Line({"Label1", "Sans,10", "Serif,12"}));
    Lang.MultiLines()->Add(Line({"Label1.Caption", "one\r\ntwo", "eins\nzwei"}));
    Lang.DlgsCaptions()->Add(Line({"Extra", "Extra", "Zusatz"}));
    Lang.Strings()->Add(Line({"SHello", "Hello", "Hallo"}));
    Lang.Strings()->Add(Line({"SEmpty", "", "nur deutsch"}));
    Lang.OtherStrings()->Add(Line({"Label2.Hint", "tip", "Tipp"}));
    Lang.Locales()->Add(Line({"Decimal Separator", ".", ","}));
    Lang.Collections()->Add(Line({"Status.Panels[2].Text", "Date", "Datum"}));
    Lang.CharSets()->Add(Line({"Label1", "ANSI_CHARSET", "ANSI_CHARSET"}));
    TzxExtendedItem* item = Lang.ExtendedTranslations()->Add();
    item->SetIdentifier("Label2.Caption");
    item->SetValues(Line({"first\r\nline", "erste"}));
    item->SetPropertyType(tkLString);
}

TEST_F(ZxlFile, EveryKindAndTheExtendedTranslationsSurviveAWholeFile) {
    FillEveryKind(*Lang);
    const AnsiString saved = StateOf(*Lang);
    TStringStream file;
    Lang->SaveAllToStream(file, u"~!@#");

    TzxLang* fresh = FreshLang();
    fresh->LoadAllFromStream(file, true);
    EXPECT_EQ(StateOf(*fresh), saved);
    EXPECT_EQ(fresh->ExtendedTranslations()->Items(0)->PropertyType(), tkLString);
}

TEST_F(ZxlFile, SavingAllAppendsAtTheStreamsPosition) {
    Lang->Captions()->Add(Line({"Button1", "OK", "Gut"}));
    TStringStream file("HEAD");
    file.SetPosition(4);
    Lang->SaveAllToStream(file, u"~!@#");
    EXPECT_TRUE(file.DataString().starts_with("HEAD[Captions]\nTMainForm.Button1=OK~!@#Gut~!@#\n"));
    EXPECT_TRUE(file.DataString().ends_with("[OPTIONS]\nDelimiter=~!@#\n\n"))
        << "the extended writer writes the key last, in its own spelling";
}

TEST_F(ZxlFile, ExtendedEntriesWriteTheirTypeKindAndReadWithTheirOwnDelimiterKey) {
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
    item->SetIdentifier("Button1.Caption");
    item->SetValues(Line({"OK", "Gut"}));
    item->SetPropertyType(tkWString);
    TStringStream file("[OPTIONS]\nDELIMITER=~!@#\n");
    Lang->SaveExtendedToStream(file, u"#");
    EXPECT_NE(file.DataString().find("[Extended]\nTMainForm.Button1.Caption=OK#Gut#\n"
                                     "TMainForm.Button1.Caption_TypeKind=tkWString\n"),
              AnsiString::npos);
    EXPECT_NE(file.DataString().find("[OPTIONS]\nDelimiter=#\n"), AnsiString::npos);

    TzxLang* fresh = FreshLang();
    fresh->LoadExtendedFromStream(file, true);
    ASSERT_EQ(fresh->ExtendedTranslations()->Count(), 1);
    EXPECT_EQ(fresh->ExtendedTranslations()->Items(0)->Values(), Line({"OK", "Gut"}));
    EXPECT_EQ(fresh->ExtendedTranslations()->Items(0)->PropertyType(), tkWString);
}

TEST_F(ZxlFile, LoadingExtendedUpdatesItemsItFindsAndKeepsTheOthersUnlessCleared) {
    TzxExtendedItem* kept = Lang->ExtendedTranslations()->Add();
    kept->SetIdentifier("Label1.Caption");
    kept->SetValues(Line({"a", "b"}));
    TzxExtendedItem* updated = Lang->ExtendedTranslations()->Add();
    updated->SetIdentifier("Button1.Caption");
    updated->SetValues(Line({"old", "alt"}));
    auto file = TextStream("[Extended]\n"
                           "TMainForm.button1.caption=OK~!@#Gut~!@#\n"
                           "TOtherForm.Label1.Caption=no~!@#\n");
    Lang->LoadExtendedFromStream(file, false);
    ASSERT_EQ(Lang->ExtendedTranslations()->Count(), 2);
    EXPECT_EQ(updated->Values(), Line({"OK", "Gut"}));
    EXPECT_EQ(updated->PropertyType(), tkUnknown) << "no type kind entry";
    EXPECT_EQ(kept->Values(), Line({"a", "b"}));

    Lang->LoadExtendedFromStream(file, true);
    ASSERT_EQ(Lang->ExtendedTranslations()->Count(), 1);
    EXPECT_EQ(Lang->ExtendedTranslations()->Items(0)->GetIdentifier(), "button1.caption");
}

TEST_F(ZxlFile, FixedLanguagesStayUnlessTheFileMarksSome) {
    TStringList fixed;
    fixed.Add("Deutsch");
    Lang->SetFixedLanguages(&fixed);
    Lang->Captions()->Add(Line({"Button1", "OK", "Gut"}));
    TStringStream file;
    Lang->SaveAllToStream(file, u"~!@#");
    Lang->LoadAllFromStream(file, true);
    EXPECT_EQ(Lang->FixedLanguages()->Text(), "Deutsch\n");
    Lang->LoadFromStream(stCaptions, file, true);
    EXPECT_TRUE(Lang->MergeFromStream(stCaptions, file));
    EXPECT_EQ(Lang->FixedLanguages()->Text(), "Deutsch\n");

    auto marked = TextStream("[Language names - for internal use only!]\n"
                             "Language_1=English\nLanguage_2=Deutsch\n"
                             "[OPTIONS]\nLanguage_Fixed1=1\nLanguage_Fixed2=0\n");
    Lang->LoadFromStream(stCaptions, marked, false);
    EXPECT_EQ(Lang->FixedLanguages()->Text(), "English\n");
}

// ---------------------------------------------------------------------------
// Merging

TEST_F(ZxlFile, MergingTakesTheFilesValuesAndKeepsTheLinesTheFileLacks) {
    Lang->Captions()->Add(Line({"Label1", "Hi", "Hallo"}));
    Lang->Captions()->Add(Line({"Button1", "old", "alt"}));
    auto file = TextStream("[Captions]\n"
                           "TMainForm.button1=OK~!@#Gut~!@#\n"
                           "TMainForm.Label2=x~!@#y~!@#\n");
    EXPECT_TRUE(Lang->MergeFromStream(stCaptions, file));
    EXPECT_EQ(Lang->Captions()->Text(), Line({"button1", "OK", "Gut"}) + "\n" +
                                            Line({"Label2", "x", "y"}) + "\n" +
                                            Line({"Label1", "Hi", "Hallo"}) + "\n");
}

TEST_F(ZxlFile, MergingEveryKindSkipsTheKindsTheClassLacksAndReportsSuccess) {
    Lang->Strings()->Add(Line({"SMine", "mine", "meins"}));
    Lang->SetActLang(2);
    auto file = TextStream("[Captions]\nTMainForm.Button1=OK~!@#Gut~!@#\n"
                           "[Strings]\nTMainForm.SFile=file~!@#Datei~!@#\n");
    EXPECT_TRUE(Lang->MergeAllFromStreamDNC(file));
    EXPECT_EQ(Form->Button1->Caption(), "OK") << "the language is not applied";
    EXPECT_EQ(Lang->Strings()->Text(),
              Line({"SFile", "file", "Datei"}) + "\n" + Line({"SMine", "mine", "meins"}) + "\n");
    EXPECT_TRUE(Lang->MergeAllFromStream(file));
    EXPECT_EQ(Form->Button1->Caption(), "Gut");
}

TEST_F(ZxlFile, AFailedMergeReportsFalseAndKeepsEveryList) {
    Lang->Captions()->Add(Line({"Button1", "old", "alt"}));
    const AnsiString before = StateOf(*Lang);
    auto file = TextStream("[Captions]\nTMainForm.Button1=OK~!@#Gut~!@#\nTMainForm.Lab");
    EXPECT_FALSE(Lang->MergeFromStream(stCaptions, file));
    EXPECT_FALSE(Lang->MergeAllFromStreamDNC(file));
    EXPECT_FALSE(Lang->MergeAllFromStream(file));
    EXPECT_EQ(StateOf(*Lang), before);
}

TEST_F(ZxlFile, AfterAWholeMergeASingleMergeFinishesItsOwnWork) {
    auto file = TextStream("[Captions]\nTMainForm.Button1=OK~!@#Gut~!@#\nTMainForm.Gone=a~!@#\n");
    Lang->MergeAllFromStreamDNC(file);
    Lang->SetActLang(2);
    Lang->Captions()->Add(Line({"Gone2", "x", "y"}));
    EXPECT_TRUE(Lang->MergeFromStream(stCaptions, file));
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Button1", "OK", "Gut"}) + "\n");
    EXPECT_EQ(Form->Button1->Caption(), "Gut");
}

// ---------------------------------------------------------------------------
// Damaged texts

class DamagedZxl : public ZxlFile, public testing::WithParamInterface<AnsiString> {};

TEST_P(DamagedZxl, FailsCleanlyAndLeavesTheComponentAsItWas) {
    FillEveryKind(*Lang);
    TStringList fixed;
    fixed.Add("English");
    Lang->SetFixedLanguages(&fixed);
    const AnsiString before = StateOf(*Lang);
    const AnsiString text = GetParam();

    auto file = TextStream(text);
    EXPECT_EQ(Lang->LoadFromStream(stCaptions, file, true), -1);
    EXPECT_FALSE(Lang->MergeFromStream(stCaptions, file));
    EXPECT_THROW(Lang->LoadAllFromStream(file, true), EReadError);
    EXPECT_THROW(Lang->LoadExtendedFromStream(file, true), EReadError);
    EXPECT_FALSE(Lang->MergeAllFromStream(file));
    EXPECT_EQ(StateOf(*Lang), before);
    EXPECT_THROW(Lang->SaveToStream(stCaptions, file, u"~!@#"), EReadError);
    EXPECT_EQ(file.DataString(), text) << "a damaged file is not overwritten";
}

const AnsiString GoodStart = "[Captions]\nTMainForm.Button1=OK~!@#Gut~!@#\n"
                             "[Language names - for internal use only!]\nLanguage_1=A\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, DamagedZxl,
    testing::Values(GoodStart + "TMainForm.Label1=" + AnsiString(10 * 1024 * 1024, 'x') + "\n",
                    GoodStart + AnsiString("TMainForm.Label1=a\0b\n", 21),
                    GoodStart + "[Captions]\nTMainForm.Lab", GoodStart + "[Capt",
                    GoodStart + "[OPTIONS]\nDELIMITER=\n",
                    "[Language names - for internal use only!]\nLanguage_2=B\n",
                    GoodStart + "[Extended]\nTMainForm.X=a\nTMainForm.X_TypeKind=tkBogus\n",
                    GoodStart + "[Extended]\nTMainForm.Label1.Width=40~!@#60~!@#\n"
                                "TMainForm.Label1.Width_TypeKiNd=tkI~teger\n",
                    AnsiString("ZXB file: TzxLang binary translation data\0\1\0\0\0", 47)));

} // namespace
