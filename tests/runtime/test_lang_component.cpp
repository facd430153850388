// The translation component's data model and life cycle: defaults, the
// language setters, positional values, removed and renamed components.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

class TLangTestForm : public TForm {
    ZX_CLASS(TLangTestForm, TForm)
public:
    explicit TLangTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

class LangComponent : public TLangFormTest<TLangTestForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        Form->SetName("F1");
    }
};

TEST_F(LangComponent, StartsWithOneLanguageTheDialogTextsAndTheExcludedProperties) {
    EXPECT_EQ(Lang->NumOfLanguages(), 1);
    EXPECT_EQ(Lang->ActiveLanguage(), 1);
    EXPECT_EQ(Lang->LangNames()->Text(), "Language N1\n");
    EXPECT_EQ(Lang->Language(), u"Language N1");
    EXPECT_EQ(Lang->Version(), u"6.0_beta");
    EXPECT_EQ(Lang->LangDelim(), 1);
    ASSERT_EQ(Lang->DlgsCaptions()->Count(), 11);
    EXPECT_EQ(Lang->DlgsCaptions()->Get(0), Line({"Information", "Information"}));
    EXPECT_EQ(Lang->DlgsCaptions()->Get(6), Line({"Yes", "&Yes"}));
    EXPECT_EQ(Lang->DlgsCaptions()->Get(10), Line({"Ignore", "&Ignore"}));
    ASSERT_EQ(Lang->ExcludedProperties()->Count(), 20);
    EXPECT_EQ(Lang->ExcludedProperties()->Get(4), "HelpKeyword");
    EXPECT_EQ(Lang->ExcludedProperties()->Get(19), "MasterFields");
    EXPECT_EQ(Lang->StringsTypes()->CommaText(), "TIB_STRINGLIST,TSTRINGLIST");
}

TEST_F(LangComponent, TakesTheLocaleSettingsWhenMade) {
    const auto& snapshot = Lang->LocaleSnapshot();
    EXPECT_EQ(UTF8Encode(snapshot[0]), CurrencyString);
    EXPECT_EQ(UTF8Encode(snapshot[2]), AnsiString(1, DecimalSeparator));
    AnsiString months;
    for (const AnsiString& name : ShortMonthNames)
        months += (months.empty() ? "" : ",") + name;
    EXPECT_EQ(UTF8Encode(snapshot[11]), months);

    Lang->SetChangeLocales(true);
    ASSERT_EQ(Lang->Locales()->Count(), 15);
    EXPECT_EQ(Lang->Locales()->Get(11), Line({"Short Month Names", months}));
    Lang->SetChangeLocales(false);
    Lang->SetChangeLocales(true);
    EXPECT_EQ(Lang->Locales()->Count(), 15) << "a list with lines gains nothing";
}

TEST(LangCreation, RefusesASecondTranslationComponentOnOneOwner) {
    TForm* form = NewForm<TForm>(nullptr);
    NewComponent<TzxLang>(form);
    EXPECT_EQ(zxtest::MessageOf<Exception>([&] { NewComponent<TzxLang>(form); }),
              "Only one TzxCustomLang component per Form/DataModule allowed!");
    EXPECT_EQ(form->ComponentCount(), 1);
    delete form;
}

TEST(LangCreation, RegistersTzxLangForStreamingOnlyOnce) {
    InitQzxComp();
    EXPECT_EQ(GetClass("TzxLang"), TzxLang::StaticClass());
    InitQzxComp();
    EXPECT_EQ(GetClass("TzxLang"), TzxLang::StaticClass());
    EXPECT_EQ(GetClass("TzxFormStorage"), TzxFormStorage::StaticClass());
}

TEST(LangCreation, PublishesTheDefaultsFormFilesLeaveOut) {
    TForm* form = NewForm<TForm>(nullptr);
    TzxLang* lang = NewComponent<TzxLang>(form);
    EXPECT_EQ(GetPropInfo(lang, "NumOfLanguages")->Default, 1);
    EXPECT_EQ(GetPropInfo(lang, "ActiveLanguage")->Default, 1);
    EXPECT_EQ(GetPropInfo(lang, "LangDelim")->Default, 9);
    EXPECT_EQ(GetPropInfo(lang, "ChangingCursor")->Default, -1);
    EXPECT_FALSE(GetPropInfo(lang, "IsInheritedOwner")->Default.has_value());
    EXPECT_FALSE(IsStoredProp(lang, GetPropInfo(lang, "Captions")));
    EXPECT_FALSE(IsStoredProp(lang, GetPropInfo(lang, "DoNotTranslate")));
    lang->DoNotTranslate()->Add("Button1");
    EXPECT_TRUE(IsStoredProp(lang, GetPropInfo(lang, "DoNotTranslate")));
    EXPECT_TRUE(IsStoredProp(lang, GetPropInfo(lang, "ExcludedProperties")));
    EXPECT_FALSE(IsStoredProp(lang, GetPropInfo(lang, "ExtendedTranslations")));
    EXPECT_EQ(lang->GetPropListByType(stLocales), lang->Locales());
    EXPECT_EQ(lang->GetPropListByType(stListView_TreeView_Items), nullptr);
    delete form;
}

TEST(LangStreaming, FormFilesLeaveOutDefaultsAndReadTheLanguagesBack) {
    InitQzxComp();
    TForm* form = NewForm<TForm>(nullptr);
    form->SetName("Form1");
    TzxLang* lang = NewComponent<TzxLang>(form);
    lang->SetName("zxLang1");
    TStringList names;
    names.SetCommaText("English,Deutsch,Francais");
    lang->SetLangNames(&names);
    lang->SetActLang(2);
    lang->Captions()->Add(Line({"Label1", "a", "b", "c"}));

    TMemoryStream stream;
    WriteComponent(stream, form);
    AnsiString text = FormText(form);
    for (const char* written :
         {"object zxLang1: TzxLang", "Version = ", "IsInheritedOwner = False", "NumOfLanguages = 3",
          "ActiveLanguage = 2", "LangDelim = 1", "LangNames.Strings",
          "Language = ", "StringsTypes.Strings", "ExcludedProperties.Strings"})
        EXPECT_NE(text.find(written), AnsiString::npos) << written;
    for (const char* omitted :
         {"Captions", "TranslateType", "ChangingCursor", "DoRaiseExceptions", "ChangeLocales",
          "UseInheritedData", "TranslateExtendedFirst", "DoNotTranslate", "SmartExcludeProps",
          "ExtendedTranslations", "Options", "LangDispatcher"})
        EXPECT_EQ(text.find(omitted), AnsiString::npos) << omitted;

    TForm* copy = NewForm<TForm>(nullptr);
    stream.SetPosition(0);
    ReadComponent(stream, copy);
    auto* read = dynamic_cast<TzxLang*>(copy->FindComponent("zxLang1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->NumOfLanguages(), 3);
    EXPECT_EQ(read->ActiveLanguage(), 2);
    EXPECT_EQ(read->Language(), u"Deutsch");
    EXPECT_EQ(read->LangNames()->CommaText(), "English,Deutsch,Francais");
    EXPECT_EQ(read->LangDelim(), 1);
    EXPECT_EQ(read->ExcludedProperties()->Count(), 20);
    delete copy;
    delete form;
}

TEST_F(LangComponent, RaisesForLanguagesOutsideTheRange) {
    Lang->SetNumLang(2);
    EXPECT_EQ(zxtest::MessageOf<ELanguageError>([&] { Lang->SetActLang(3); }),
              "3 - is not a valid property value!\rValue must be within [1..2]!");
    EXPECT_EQ(zxtest::MessageOf<ELanguageError>([&] { Lang->SetActLang(0); }),
              "0 - is not a valid property value!\rValue must be within [1..2]!");
    EXPECT_EQ(Lang->ActiveLanguage(), 1);
    EXPECT_EQ(zxtest::MessageOf<ELanguageError>([&] { Lang->SetNumLang(0); }),
              "0 - is not a valid property value !\rValue must be more than ZERO !");
    EXPECT_EQ(Lang->NumOfLanguages(), 2);
    EXPECT_EQ(zxtest::MessageOf<ELanguageError>([&] { Lang->SetLanguage(u"Klingon"); }),
              "Language name shall be included in LangNames property!");
}

TEST_F(LangComponent, LanguageByNameIgnoresCaseAndActivatesItsNumber) {
    Lang->SetNumLang(3);
    Lang->SetLanguage(u"language n3");
    EXPECT_EQ(Lang->ActiveLanguage(), 3);
    EXPECT_EQ(Lang->Language(), u"Language N3") << "the name as LangNames spells it";
    Lang->SetActLang(2);
    EXPECT_EQ(Lang->Language(), u"Language N2");
}

TEST_F(LangComponent, GrowingAddsLanguageNamesAndLeavesLinesAlone) {
    Lang->Captions()->Add(Line({"Label1", "a"}));
    Lang->SetNumLang(3);
    EXPECT_EQ(Lang->LangNames()->CommaText(), "\"Language N1\",\"Language N2\",\"Language N3\"");
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"Label1", "a"}));
    EXPECT_EQ(Lang->DlgsCaptions()->Get(0), Line({"Information", "Information", "", ""}))
        << "the lists read on demand are padded";
}

TEST_F(LangComponent, ShrinkingCutsEveryLineAfterTheLastKeptValue) {
    Lang->SetNumLang(3);
    Lang->Captions()->Add(Line({"K", "a", "b", "c"}));
    Lang->Captions()->Add(Line({"L", "a", "", ""}));
    Lang->Captions()->Add(Line({"M", "", "", "c"}));
    Lang->Hints()->Add(Line({"N", "a"}));
    Lang->SetNumLang(2);
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"K", "a", "b"}));
    EXPECT_EQ(Lang->Captions()->Get(1), Line({"L", "a", ""}));
    EXPECT_EQ(Lang->Captions()->Get(2), Line({"M", "", ""}))
        << "language 3's value does not move into language 2";
    EXPECT_EQ(Lang->Hints()->Get(0), Line({"N", "a"}));
    EXPECT_EQ(Lang->LangNames()->Count(), 2);
}

TEST_F(LangComponent, LangNamesSetTheCountWithoutTouchingLines) {
    Lang->Captions()->Add(Line({"K", "a"}));
    TStringList names;
    names.SetCommaText("English,Deutsch,Francais");
    Lang->SetLangNames(&names);
    EXPECT_EQ(Lang->NumOfLanguages(), 3);
    EXPECT_EQ(Lang->Language(), u"English");
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"K", "a"}));
}

TEST_F(LangComponent, ReadsAndReplacesValuesByPosition) {
    TStringList list;
    list.Add(Line({"key", "a", "b"}));
    list.Add(Line({"gap", "", "b"}));
    EXPECT_EQ(Lang->GetStringValue(list, u"KEY", 2), u"b");
    EXPECT_EQ(Lang->GetStringValue(list, u"missing", 1), u"");
    EXPECT_EQ(Lang->GetStringValue(list, u"gap", 1), u"") << "an empty value keeps its place";
    EXPECT_EQ(Lang->GetStringValue(list, u"gap", 2), u"b");

    Lang->ReplaceStringValue(list, u"X", u"key", 1);
    EXPECT_EQ(list.Get(0), Line({"key", "X", "b"}));
    Lang->ReplaceStringValue(list, u"Y", u"Key", 2);
    EXPECT_EQ(list.Get(0), Line({"key", "X", "Y"}));
    Lang->ReplaceStringValue(list, u"Z", u"gap", 1);
    EXPECT_EQ(list.Get(1), Line({"gap", "Z", "b"}));
}

TEST_F(LangComponent, ReplacingAValueOfAShortLinePadsItFirst) {
    TStringList list;
    list.Add(Line({"key", "a"}));
    Lang->ReplaceStringValue(list, u"c", u"key", 3);
    EXPECT_EQ(list.Get(0), Line({"key", "a", "", "c"}));
}

TEST_F(LangComponent, RenamingTheFormAndAComponentRenamesTheirKeys) {
    Lang->Captions()->Add(Line({"TF1", "Main"}));
    Lang->OtherStrings()->Add(Line({"E1.Text", "x"}));
    Lang->OtherStrings()->Add(Line({"E10.Text", "y"}));
    Lang->DoNotTranslate()->Add("E1");
    Lang->ComponentRenamed(u"F1", u"F2");
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"TF2", "Main"}));
    Lang->ComponentRenamed(u"E1", u"E2");
    EXPECT_EQ(Lang->OtherStrings()->Get(0), Line({"E2.Text", "x"}));
    EXPECT_EQ(Lang->OtherStrings()->Get(1), Line({"E10.Text", "y"}));
    EXPECT_EQ(Lang->DoNotTranslate()->Get(0), "E2");
    Lang->ComponentRenamed(u"E2", u"");
    EXPECT_EQ(Lang->OtherStrings()->Get(0), Line({"E2.Text", "x"}));
}

TEST_F(LangComponent, RenamingMovesExtendedIdentifiers) {
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
    item->SetIdentifier("E1.Font.Name");
    Lang->ComponentRenamed(u"E1", u"E2");
    EXPECT_EQ(item->GetIdentifier(), "E2.Font.Name");
}

TEST_F(LangComponent, RemovingAComponentAtDesignTimeDeletesExactlyItsLines) {
    auto* b1 = NewComponent<TButton>(Form);
    b1->SetName("B1");
    auto* b10 = NewComponent<TButton>(Form);
    b10->SetName("B10");
    Form->SetDesigning(true);
    Lang->Captions()->Add(Line({"B1", "One"}));
    Lang->Captions()->Add(Line({"B10", "Ten"}));
    Lang->MultiLines()->Add(Line({"B1.Items", "a"}));
    Lang->MultiLines()->Add(Line({"B10.Items", "b"}));
    Lang->CharSets()->Add(Line({"B1", "ANSI_CHARSET"}));
    Lang->DoNotTranslate()->Add("B1");
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
    item->SetIdentifier("B1.Caption");
    delete b1;
    EXPECT_EQ(Lang->Captions()->Text(), Line({"B10", "Ten"}) + "\n");
    EXPECT_EQ(Lang->MultiLines()->Text(), Line({"B10.Items", "b"}) + "\n");
    EXPECT_EQ(Lang->CharSets()->Count(), 0);
    EXPECT_EQ(Lang->DoNotTranslate()->Count(), 0);
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), 0);
}

TEST_F(LangComponent, RemovingAComponentAtRunTimeKeepsItsLines) {
    auto* b1 = NewComponent<TButton>(Form);
    b1->SetName("B1");
    Lang->Captions()->Add(Line({"B1", "One"}));
    delete b1;
    EXPECT_EQ(Lang->Captions()->Count(), 1);
}

TEST_F(LangComponent, IgnoresRemovalsWhileTheEditorWorks) {
    auto* b1 = NewComponent<TButton>(Form);
    b1->SetName("B1");
    Form->SetDesigning(true);
    Lang->Captions()->Add(Line({"B1", "One"}));
    Lang->SetIgnoreRemovals(true);
    delete b1;
    EXPECT_EQ(Lang->Captions()->Count(), 1);
}

TEST_F(LangComponent, DelimiterChangesRewriteEveryLine) {
    Lang->Captions()->Add(Line({"K", "a"}));
    Lang->SetLangDelim(9);
    EXPECT_EQ(Lang->Captions()->Get(0), "K\ta\t");
    EXPECT_EQ(Lang->DlgsCaptions()->Get(6), "Yes\t&Yes\t");
}

// A translation component that a test can put through form loading.
class TLoadableLang : public TzxLang {
    ZX_CLASS(TLoadableLang, TzxLang)
public:
    using TzxLang::TzxLang;
    void BeginLoading() { SetComponentState(csLoading, true); }
    void EndLoading() { Loaded(); }
};

TEST(LangLoading, IgnoresAnActiveLanguageOutOfRangeWhileLoading) {
    TForm* form = NewForm<TForm>(nullptr);
    auto* lang = NewComponent<TLoadableLang>(form);
    lang->BeginLoading();
    lang->SetNumLang(2);
    lang->SetActLang(3);
    EXPECT_EQ(lang->ActiveLanguage(), 1);
    lang->SetActLang(2);
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    EXPECT_EQ(lang->Language(), u"Language N1") << "loading sets the number only";
    lang->EndLoading();
    EXPECT_EQ(zxtest::MessageOf<ELanguageError>([&] { lang->SetActLang(3); }),
              "3 - is not a valid property value!\rValue must be within [1..2]!");
    delete form;
}

TEST(LangLoading, ConvertsLinesWrittenWithTheOldDelimiter) {
    TForm* form = NewForm<TForm>(nullptr);
    auto* lang = NewComponent<TLoadableLang>(form);
    lang->BeginLoading();
    lang->SetNumLang(2);
    lang->Captions()->Add("K\ta\tb\t");
    lang->Hints()->Add("H\ta\1b\1");
    lang->EndLoading();
    EXPECT_EQ(lang->Captions()->Get(0), Line({"K", "a", "b"}));
    EXPECT_EQ(lang->Hints()->Get(0), Line({"H", "a", "b"})) << "mixed lists are unified";
    EXPECT_EQ(lang->LangDelim(), 1);
    delete form;
}

TEST(LangLoading, ADelimiterOf9BecomesTheNewDelimiter) {
    TForm* form = NewForm<TForm>(nullptr);
    auto* lang = NewComponent<TLoadableLang>(form);
    lang->BeginLoading();
    lang->SetLangDelim(9);
    lang->Captions()->Clear();
    lang->Captions()->Add("K\ta\t");
    lang->EndLoading();
    EXPECT_EQ(lang->LangDelim(), 1);
    EXPECT_EQ(lang->Captions()->Get(0), Line({"K", "a"}));
    delete form;
}

TEST(LangLoading, CompletesALocalesListFromBeforeTheNameLists) {
    TForm* form = NewForm<TForm>(nullptr);
    auto* lang = NewComponent<TLoadableLang>(form);
    lang->BeginLoading();
    for (Integer index = 0; index < 11; ++index)
        lang->Locales()->Add(Line({LocaleKeys[static_cast<std::size_t>(index)], "x"}));
    lang->EndLoading();
    ASSERT_EQ(lang->Locales()->Count(), 15);
    EXPECT_EQ(lang->Locales()->Get(14),
              Line({"Long Day Names", UTF8Encode(lang->LocaleSnapshot()[14])}));

    auto* full = NewComponent<TLoadableLang>(NewForm<TForm>(form));
    full->BeginLoading();
    full->SetChangeLocales(true);
    full->Locales()->Delete(0);
    full->EndLoading();
    EXPECT_EQ(full->Locales()->Count(), 14) << "only a list of 11 lines is completed";
    delete form;
}

} // namespace
