// The translation dispatcher: linking translation components on several
// forms, pushing its languages to them, and the links surviving whichever
// side is freed first.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "rtl/FormText.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace zxtest;

// A form with one button and a translation component that knows the
// button's caption in three languages.
TForm* NewTranslatedForm(const AnsiString& Name, const AnsiString& Word) {
    auto* form = NewForm<TForm>(nullptr);
    form->SetName(Name);
    auto* button = NewComponent<TButton>(form);
    button->SetName("Button1");
    button->SetParent(form);
    button->SetCaption(Word + " 1");
    auto* lang = NewComponent<TzxLang>(form);
    lang->SetName("zxLang1");
    lang->SetNumLang(3);
    lang->Captions()->Add(Line({"Button1", Word + " 1", Word + " 2", Word + " 3"}));
    return form;
}

TzxLang* LangOf(TComponent* Form) {
    return dynamic_cast<TzxLang*>(Form->FindComponent("zxLang1"));
}

AnsiString ButtonCaption(TComponent* Form) {
    return dynamic_cast<TButton*>(Form->FindComponent("Button1"))->Caption();
}

std::unique_ptr<TStringList> Names(std::initializer_list<AnsiString> Lines) {
    auto names = std::make_unique<TStringList>();
    for (const AnsiString& line : Lines)
        names->Add(line);
    return names;
}

// A data module holding the dispatcher, and two translated forms.
class DispatcherTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        InitQzxComp();
        Module = NewComponent<TDataModule>(nullptr);
        Module->SetName("DataModule1");
        Dispatcher = NewComponent<TzxLangDispatcher>(Module);
        Dispatcher->SetName("zxLangDispatcher1");
        Form1 = NewTranslatedForm("Form1", "Open");
        Form2 = NewTranslatedForm("Form2", "Save");
    }
    void TearDown() override {
        delete Form1;
        delete Form2;
        delete Module;
    }

    void UseThreeLanguages() {
        Dispatcher->SetNumOfLanguages(3);
        Dispatcher->SetLangNames(Names({"English", "Deutsch", "Francais"}).get());
    }

    TDataModule* Module = nullptr;
    TzxLangDispatcher* Dispatcher = nullptr;
    TForm* Form1 = nullptr;
    TForm* Form2 = nullptr;
};

TEST_F(DispatcherTest, StartsWithOneUnnamedActiveLanguage) {
    EXPECT_EQ(Dispatcher->ActiveLanguage(), 1);
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 1);
    EXPECT_EQ(Dispatcher->LangNames()->Text(), "Language N1\n");
    EXPECT_EQ(Dispatcher->Language(), u"");
    EXPECT_EQ(Dispatcher->FileName(), "");
    EXPECT_FALSE(Dispatcher->TestMode());
    EXPECT_EQ(Dispatcher->TestPercentage(), 0);
    EXPECT_FALSE(Dispatcher->TestModeInfo()->Active);
    EXPECT_EQ(Dispatcher->TestModeInfo()->Kind, tmkExpandWidth);
    EXPECT_EQ(Dispatcher->TestModeInfo()->PaddingChar, '*');
    EXPECT_EQ(Dispatcher->GetZxLangsCount(), 0);
}

TEST_F(DispatcherTest, ALinkingComponentTakesTheLanguagesAndIsSwitched) {
    UseThreeLanguages();
    Dispatcher->SetActiveLanguage(2);
    std::vector<std::pair<TObject*, TzxCustomLang*>> links;
    Dispatcher->SetOnLinkToDispatcher(
        [&](TObject* Sender, TzxCustomLang* Lang) { links.emplace_back(Sender, Lang); });

    TzxLang* lang = LangOf(Form1);
    lang->SetLangDispatcher(Dispatcher);

    EXPECT_EQ(lang->NumOfLanguages(), 3);
    EXPECT_EQ(lang->LangNames()->CommaText(), "English,Deutsch,Francais");
    EXPECT_EQ(lang->Language(), u"Deutsch");
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    EXPECT_EQ(ButtonCaption(Form1), "Open 2");
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].first, Dispatcher);
    EXPECT_EQ(links[0].second, lang);
    EXPECT_EQ(Dispatcher->GetZxLangsCount(), 1);
    EXPECT_EQ(Dispatcher->GetZxLangs(0), lang);
}

TEST_F(DispatcherTest, TheActiveLanguageSwitchesEveryLinkedForm) {
    UseThreeLanguages();
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    LangOf(Form2)->SetLangDispatcher(Dispatcher);

    Dispatcher->SetActiveLanguage(3);
    EXPECT_EQ(ButtonCaption(Form1), "Open 3");
    EXPECT_EQ(ButtonCaption(Form2), "Save 3");
    EXPECT_EQ(Dispatcher->Language(), u"Francais");

    Dispatcher->SetLanguage(u"deutsch");
    EXPECT_EQ(Dispatcher->ActiveLanguage(), 2);
    EXPECT_EQ(ButtonCaption(Form1), "Open 2");
    EXPECT_EQ(ButtonCaption(Form2), "Save 2");
    EXPECT_EQ(LangOf(Form2)->Language(), u"Deutsch");
}

TEST_F(DispatcherTest, LinkingTwiceKeepsOneEntryAtTheEnd) {
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    LangOf(Form2)->SetLangDispatcher(Dispatcher);
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    ASSERT_EQ(Dispatcher->GetZxLangsCount(), 2);
    EXPECT_EQ(Dispatcher->GetZxLangs(0), LangOf(Form2));
    EXPECT_EQ(Dispatcher->GetZxLangs(1), LangOf(Form1));
    EXPECT_THROW(Dispatcher->GetZxLangs(2), EListError);
    EXPECT_THROW(Dispatcher->GetZxLangs(-1), EListError);
}

TEST_F(DispatcherTest, AnActiveLanguageOutOfRangeChangesNothing) {
    UseThreeLanguages();
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    LangOf(Form2)->SetLangDispatcher(Dispatcher);
    Dispatcher->SetActiveLanguage(2);

    for (Integer wrong : {0, 4, 5})
        EXPECT_EQ(MessageOf<ELanguageError>([&] { Dispatcher->SetActiveLanguage(wrong); }),
                  IntToStr(wrong) + " - is not a valid property value!\rValue must be within "
                                    "[1..3]!");
    EXPECT_EQ(Dispatcher->ActiveLanguage(), 2);
    EXPECT_EQ(Dispatcher->Language(), u"Deutsch");
    EXPECT_EQ(LangOf(Form1)->ActiveLanguage(), 2);
    EXPECT_EQ(LangOf(Form2)->ActiveLanguage(), 2);
    EXPECT_EQ(ButtonCaption(Form2), "Save 2");
}

TEST_F(DispatcherTest, TheLanguageCountGrowsTheNamesAndReachesTheComponents) {
    Dispatcher->SetLangNames(Names({"English", "Deutsch"}).get());
    LangOf(Form1)->SetLangDispatcher(Dispatcher);

    Dispatcher->SetNumOfLanguages(4);
    EXPECT_EQ(Dispatcher->LangNames()->CommaText(),
              "English,Deutsch,\"Language N3\",\"Language N4\"");
    EXPECT_EQ(LangOf(Form1)->NumOfLanguages(), 4);

    Dispatcher->SetNumOfLanguages(1);
    EXPECT_EQ(Dispatcher->LangNames()->CommaText(), "English");
    EXPECT_EQ(LangOf(Form1)->NumOfLanguages(), 1);
    EXPECT_EQ(LangOf(Form1)->Captions()->Get(0), Line({"Button1", "Open 1"}));
}

TEST_F(DispatcherTest, ALanguageCountBelowOneChangesNothing) {
    UseThreeLanguages();
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Dispatcher->SetNumOfLanguages(0); }),
              "0 - is not a valid property value !\rValue must be more than ZERO !");
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 3);
    EXPECT_EQ(Dispatcher->LangNames()->Count(), 3);
    EXPECT_EQ(LangOf(Form1)->NumOfLanguages(), 3);
}

TEST_F(DispatcherTest, NamesReachTheComponentsAndSelectByName) {
    UseThreeLanguages();
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    Dispatcher->SetActiveLanguage(3);

    Dispatcher->SetLangNames(Names({"en", "de", "fr"}).get());
    EXPECT_EQ(Dispatcher->Language(), u"fr");
    EXPECT_EQ(LangOf(Form1)->LangNames()->CommaText(), "en,de,fr");
    EXPECT_EQ(LangOf(Form1)->Language(), u"fr");
    EXPECT_EQ(LangOf(Form1)->ActiveLanguage(), 3);

    // Fewer names than the active language: the first language takes over.
    Dispatcher->SetLangNames(Names({"en", "de"}).get());
    EXPECT_EQ(Dispatcher->ActiveLanguage(), 1);
    EXPECT_EQ(Dispatcher->Language(), u"en");
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 2);
    EXPECT_EQ(LangOf(Form1)->ActiveLanguage(), 1);
    EXPECT_EQ(LangOf(Form1)->NumOfLanguages(), 2);
    EXPECT_EQ(ButtonCaption(Form1), "Open 1");

    Dispatcher->SetLangNames(Names({}).get());
    EXPECT_EQ(Dispatcher->LangNames()->CommaText(), "\"Language N1\"");
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 1);
}

TEST_F(DispatcherTest, ItsOwnNamesGivenBackChangeNothing) {
    UseThreeLanguages();
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    LangOf(Form1)->LangNames()->Put(0, "Local");
    Dispatcher->SetLangNames(Dispatcher->LangNames());
    EXPECT_EQ(LangOf(Form1)->LangNames()->Get(0), "Local") << "nothing was pushed";
}

TEST_F(DispatcherTest, ALanguageNameMustBeAmongTheNames) {
    UseThreeLanguages();
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Dispatcher->SetLanguage(u"Klingon"); }),
              "Language name shall be included in LangNames property!");
    EXPECT_EQ(Dispatcher->Language(), u"English");

    Dispatcher->LangNames()->Clear();
    Dispatcher->SetLanguage(u"Klingon");
    EXPECT_EQ(Dispatcher->Language(), u"Klingon");
    EXPECT_EQ(Dispatcher->ActiveLanguage(), 1);
}

TEST_F(DispatcherTest, FreeingAFormUnlinksItsComponent) {
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    LangOf(Form2)->SetLangDispatcher(Dispatcher);
    delete Form1;
    Form1 = nullptr;
    ASSERT_EQ(Dispatcher->GetZxLangsCount(), 1);
    EXPECT_EQ(Dispatcher->GetZxLangs(0), LangOf(Form2));
    Dispatcher->SetActiveLanguage(1);
}

TEST_F(DispatcherTest, FreeingTheDispatcherFirstLeavesTheComponentsWorkingAlone) {
    UseThreeLanguages();
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    LangOf(Form2)->SetLangDispatcher(Dispatcher);
    delete Module;
    Module = nullptr;
    EXPECT_EQ(LangOf(Form1)->LangDispatcher(), nullptr);
    EXPECT_EQ(LangOf(Form2)->LangDispatcher(), nullptr);
    LangOf(Form1)->SetActLang(3);
    EXPECT_EQ(ButtonCaption(Form1), "Open 3");
}

TEST_F(DispatcherTest, FreeingTheDispatcherAloneUnlinksEveryComponent) {
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    delete Dispatcher;
    EXPECT_EQ(LangOf(Form1)->LangDispatcher(), nullptr);
    EXPECT_EQ(Module->ComponentCount(), 0);
}

TEST_F(DispatcherTest, ADispatcherOnTheComponentsOwnFormIsUnlinkedEitherWay) {
    auto* local = NewComponent<TzxLangDispatcher>(Form1);
    LangOf(Form1)->SetLangDispatcher(local);
    delete local;
    EXPECT_EQ(LangOf(Form1)->LangDispatcher(), nullptr);

    local = NewComponent<TzxLangDispatcher>(Form1);
    LangOf(Form1)->SetLangDispatcher(local);
    delete LangOf(Form1);
    EXPECT_EQ(local->GetZxLangsCount(), 0);
}

TEST_F(DispatcherTest, MovingToAnotherDispatcherLeavesTheFirst) {
    auto* other = NewComponent<TzxLangDispatcher>(Module);
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    LangOf(Form1)->SetLangDispatcher(other);
    EXPECT_EQ(Dispatcher->GetZxLangsCount(), 0);
    EXPECT_EQ(other->GetZxLangsCount(), 1);
    LangOf(Form1)->SetLangDispatcher(nullptr);
    EXPECT_EQ(other->GetZxLangsCount(), 0);
    delete other;
    delete Dispatcher;
    EXPECT_EQ(LangOf(Form1)->LangDispatcher(), nullptr);
}

// ---------------------------------------------------------------------------
// Form files

TEST_F(DispatcherTest, AFormFileMayNameTheActiveLanguageBeforeTheCount) {
    auto* module = NewComponent<TDataModule>(nullptr);
    ReadFormText("object DataModule2: TDataModule\n"
                 "  object Dispatcher: TzxLangDispatcher\n"
                 "    ActiveLanguage = 3\n"
                 "    NumOfLanguages = 3\n"
                 "    LangNames.Strings = (\n"
                 "      'English'\n"
                 "      'Deutsch'\n"
                 "      'Francais')\n"
                 "    Language = 'Francais'\n"
                 "    FileName = ''\n"
                 "    TestModeInfo.Active = True\n"
                 "    TestModeInfo.Kind = tmkFlipCase\n"
                 "    TestMode = True\n"
                 "    TestPercentage = 30\n"
                 "  end\n"
                 "end\n",
                 module);
    auto* read = dynamic_cast<TzxLangDispatcher*>(module->FindComponent("Dispatcher"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ActiveLanguage(), 3);
    EXPECT_EQ(read->NumOfLanguages(), 3);
    EXPECT_EQ(read->Language(), u"Francais");
    EXPECT_TRUE(read->TestMode());
    EXPECT_EQ(read->TestPercentage(), 30);
    EXPECT_TRUE(read->TestModeInfo()->Active);
    EXPECT_EQ(read->TestModeInfo()->Kind, tmkFlipCase);
    EXPECT_EQ(read->TestModeInfo()->ExpandWidthPercent, 100);
    delete module;
}

TEST_F(DispatcherTest, LanguagesStopAtTheMostAComponentHoldsInSettersAndFormFiles) {
    UseThreeLanguages();
    LangOf(Form1)->SetLangDispatcher(Dispatcher);
    TStringList names;
    names.SetText(Numbered(MaxNumOfLanguages + 1, "L%0:d\n"));
    EXPECT_THROW(Dispatcher->SetLangNames(&names), ELanguageError);
    EXPECT_THROW(Dispatcher->SetNumOfLanguages(MaxNumOfLanguages + 1), ELanguageError);
    EXPECT_EQ(Dispatcher->LangNames()->CommaText(), "English,Deutsch,Francais");
    EXPECT_EQ(Dispatcher->NumOfLanguages(), 3);
    EXPECT_EQ(LangOf(Form1)->LangNames()->CommaText(), "English,Deutsch,Francais");
    EXPECT_EQ(LangOf(Form1)->NumOfLanguages(), 3);

    std::unique_ptr<TDataModule> module(NewComponent<TDataModule>(nullptr));
    EXPECT_THROW(ReadFormText("object DataModule2: TDataModule\n"
                              "  object Dispatcher: TzxLangDispatcher\n"
                              "    LangNames.Strings = (" +
                                  Numbered(MaxNumOfLanguages + 1, " 'L%0:d'") +
                                  ")\n"
                                  "  end\n"
                                  "end\n",
                              module.get()),
                 EReadError);
    EXPECT_EQ(module->ComponentCount(), 0);

    names.Delete(MaxNumOfLanguages);
    Dispatcher->SetLangNames(&names);
    EXPECT_EQ(LangOf(Form1)->NumOfLanguages(), MaxNumOfLanguages);
}

TEST_F(DispatcherTest, AFormFileWithTheActiveLanguageOutOfRangeLoadsTheFirst) {
    auto* module = NewComponent<TDataModule>(nullptr);
    ReadFormText("object DataModule2: TDataModule\n"
                 "  object Dispatcher: TzxLangDispatcher\n"
                 "    ActiveLanguage = 5\n"
                 "    NumOfLanguages = 2\n"
                 "  end\n"
                 "end\n",
                 module);
    auto* read = dynamic_cast<TzxLangDispatcher*>(module->FindComponent("Dispatcher"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ActiveLanguage(), 1);
    EXPECT_EQ(read->LangNames()->CommaText(), "\"Language N1\",\"Language N2\"");
    delete module;
}

TEST_F(DispatcherTest, WritesEveryPropertyAndReadsItBack) {
    UseThreeLanguages();
    Dispatcher->SetActiveLanguage(2);
    Dispatcher->SetFileName("/tmp/app.zxl");
    AnsiString text = [&] {
        TMemoryStream binary;
        WriteComponent(binary, Module);
        binary.SetPosition(0);
        TStringStream out("");
        ObjectBinaryToText(binary, out);
        return out.DataString();
    }();
    for (const char* written :
         {"ActiveLanguage = 2", "NumOfLanguages = 3", "LangNames.Strings", "Language = 'Deutsch'",
          "FileName = '/tmp/app.zxl'", "TestMode = False", "TestPercentage = 0"})
        EXPECT_NE(text.find(written), AnsiString::npos) << written << "\n" << text;

    auto* copy = NewComponent<TDataModule>(nullptr);
    ReadFormText(text, copy);
    auto* read = dynamic_cast<TzxLangDispatcher*>(copy->FindComponent("zxLangDispatcher1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ActiveLanguage(), 2);
    EXPECT_EQ(read->LangNames()->CommaText(), "English,Deutsch,Francais");
    EXPECT_EQ(read->FileName(), "/tmp/app.zxl");
    delete copy;
}

TEST_F(DispatcherTest, FormsReadAtRunTimeLinkToTheDispatcherOfADataModule) {
    UseThreeLanguages();
    Dispatcher->SetActiveLanguage(2);
    Integer linked = 0;
    Dispatcher->SetOnLinkToDispatcher([&](TObject*, TzxCustomLang*) { ++linked; });

    auto* form = NewForm<TForm>(nullptr);
    ReadFormText("object Form3: TForm\n"
                 "  object Button1: TButton\n"
                 "    Caption = 'Print'\n"
                 "  end\n"
                 "  object zxLang1: TzxLang\n"
                 "    LangDispatcher = DataModule1.zxLangDispatcher1\n"
                 "  end\n"
                 "end\n",
                 form);
    TzxLang* lang = LangOf(form);
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(lang->LangDispatcher(), Dispatcher);
    EXPECT_EQ(lang->NumOfLanguages(), 3);
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    EXPECT_EQ(lang->Language(), u"Deutsch");
    EXPECT_EQ(linked, 1);
    ASSERT_EQ(Dispatcher->GetZxLangsCount(), 1);

    delete form;
    EXPECT_EQ(Dispatcher->GetZxLangsCount(), 0);
}

} // namespace
