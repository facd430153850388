// Language actions in an action list: switching a form through its
// translation component or through a dispatcher, and following the active
// language with Checked and Enabled.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/ActnList.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "rtl/FormText.h"
#include "runtime/QzxActns.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace zxtest;

// A form with a button translated into three languages and one action per
// language in an action list.
class LangActionsTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        InitQzxComp();
        Form = NewForm<TForm>(nullptr);
        Form->SetName("ActionsForm");
        Button = NewComponent<TButton>(Form);
        Button->SetName("Button1");
        Button->SetParent(Form);
        Button->SetCaption("Yes");
        List = NewComponent<TActionList>(Form);
        List->SetName("ActionList1");
        for (Integer index = 0; index < 3; ++index) {
            Actions[index] = NewComponent<TzxLangChangeLanguage>(Form);
            Actions[index]->SetName("Language" + IntToStr(index + 1));
            Actions[index]->SetActionList(List);
            Actions[index]->SetActiveLanguage(index + 1);
        }
    }
    void TearDown() override {
        delete Form;
        delete Module;
    }

    TzxLang* AddLang() {
        auto* lang = NewComponent<TzxLang>(Form);
        lang->SetNumLang(3);
        lang->Captions()->Add(Line({"Button1", "Yes", "Ja", "Oui"}));
        return lang;
    }

    TzxLangDispatcher* AddModuleDispatcher() {
        Module = NewComponent<TDataModule>(nullptr);
        Module->SetName("LanguagesModule");
        auto* dispatcher = NewComponent<TzxLangDispatcher>(Module);
        dispatcher->SetNumOfLanguages(3);
        return dispatcher;
    }

    std::array<bool, 3> CheckedStates() const {
        return {Actions[0]->Checked(), Actions[1]->Checked(), Actions[2]->Checked()};
    }

    TForm* Form = nullptr;
    TButton* Button = nullptr;
    TActionList* List = nullptr;
    std::array<TzxLangChangeLanguage*, 3> Actions{};
    TDataModule* Module = nullptr;
};

TEST_F(LangActionsTest, SwitchesTheFormThroughItsTranslationComponent) {
    TzxLang* lang = AddLang();
    EXPECT_TRUE(Actions[1]->Execute());
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    EXPECT_EQ(Button->Caption(), "Ja");

    Form->UpdateActions();
    EXPECT_EQ(CheckedStates(), (std::array<bool, 3>{false, true, false}));
    for (TzxLangChangeLanguage* action : Actions)
        EXPECT_TRUE(action->Enabled());

    Actions[2]->Execute();
    Form->UpdateActions();
    EXPECT_EQ(Button->Caption(), "Oui");
    EXPECT_EQ(CheckedStates(), (std::array<bool, 3>{false, false, true}));
}

TEST_F(LangActionsTest, ADispatcherOnTheFormWinsOverTheComponent) {
    TzxLang* lang = AddLang();
    auto* dispatcher = NewComponent<TzxLangDispatcher>(Form);
    dispatcher->SetNumOfLanguages(3);
    lang->SetLangDispatcher(dispatcher);

    Actions[2]->Execute();
    EXPECT_EQ(dispatcher->ActiveLanguage(), 3);
    EXPECT_EQ(lang->ActiveLanguage(), 3);
    EXPECT_EQ(Button->Caption(), "Oui");

    // The checks follow the dispatcher, not the component.
    lang->SetActLang(1);
    Form->UpdateActions();
    EXPECT_EQ(CheckedStates(), (std::array<bool, 3>{false, false, true}));
}

TEST_F(LangActionsTest, SwitchesEveryFormOfADispatcherOnAnotherModule) {
    TzxLangDispatcher* dispatcher = AddModuleDispatcher();
    TzxLang* lang = AddLang();
    lang->SetLangDispatcher(dispatcher);
    for (TzxLangChangeLanguage* action : Actions)
        action->SetzxLangDispatcher(dispatcher);

    Actions[1]->Execute();
    EXPECT_EQ(dispatcher->ActiveLanguage(), 2);
    EXPECT_EQ(Button->Caption(), "Ja");
    Form->UpdateActions();
    EXPECT_EQ(CheckedStates(), (std::array<bool, 3>{false, true, false}));

    delete Module;
    Module = nullptr;
    for (TzxLangChangeLanguage* action : Actions)
        EXPECT_EQ(action->zxLangDispatcher(), nullptr);
    EXPECT_EQ(lang->LangDispatcher(), nullptr);
    Actions[2]->Execute();
    EXPECT_EQ(Button->Caption(), "Oui") << "the form's own component takes over";
}

TEST_F(LangActionsTest, WithoutComponentOrDispatcherTheActionIsDisabledAndUnchecked) {
    Actions[0]->SetChecked(true);
    Form->UpdateActions();
    for (TzxLangChangeLanguage* action : Actions) {
        EXPECT_FALSE(action->Enabled());
        EXPECT_FALSE(action->Checked());
    }
    EXPECT_FALSE(Actions[0]->Execute()) << "a disabled action does not execute";
}

TEST_F(LangActionsTest, SettingOneReferenceClearsTheOther) {
    TzxLang* lang = AddLang();
    TzxLangDispatcher* dispatcher = AddModuleDispatcher();
    TzxLangChangeLanguage* action = Actions[0];
    action->SetzxLang(lang);
    EXPECT_EQ(action->zxLang(), lang);
    action->SetzxLangDispatcher(dispatcher);
    EXPECT_EQ(action->zxLangDispatcher(), dispatcher);
    EXPECT_EQ(action->zxLang(), nullptr);
    action->SetzxLang(lang);
    EXPECT_EQ(action->zxLang(), lang);
    EXPECT_EQ(action->zxLangDispatcher(), nullptr);
}

TEST_F(LangActionsTest, FreeingTheNamedComponentClearsTheReference) {
    TzxLang* lang = AddLang();
    Actions[0]->SetzxLang(lang);
    delete lang;
    EXPECT_EQ(Actions[0]->zxLang(), nullptr);
    Form->UpdateActions();
    EXPECT_FALSE(Actions[0]->Enabled());
}

TEST_F(LangActionsTest, TheTargetFormIsTheTargetOrItsOwner) {
    TzxLang* lang = AddLang();
    EXPECT_EQ(Actions[0]->GetzxLang(Form), lang);
    EXPECT_EQ(Actions[0]->GetzxLang(Button), lang);
    EXPECT_EQ(Actions[0]->GetzxLangDispatcher(Form), nullptr);
    auto* dispatcher = NewComponent<TzxLangDispatcher>(Form);
    EXPECT_EQ(Actions[0]->GetzxLangDispatcher(Button), dispatcher);
    EXPECT_TRUE(Actions[0]->HandlesTarget(nullptr));

    auto* loose = NewComponent<TzxLangChangeLanguage>(nullptr);
    EXPECT_FALSE(loose->HandlesTarget(Form)) << "only an action owned by a form handles targets";
    delete loose;
}

TEST_F(LangActionsTest, ALanguageOutsideTheComponentsRangeRaises) {
    AddLang();
    Actions[0]->SetActiveLanguage(7);
    EXPECT_THROW(Actions[0]->ExecuteTarget(Form), ELanguageError);
    EXPECT_EQ(Button->Caption(), "Yes");
}

TEST_F(LangActionsTest, TheActionsTravelInTheFormFile) {
    RegisterClass(TzxLangChangeLanguage::StaticClass());
    TzxLang* lang = AddLang();
    lang->SetName("zxLang1");
    Actions[1]->SetzxLang(lang);

    TMemoryStream binary;
    WriteComponent(binary, Form);
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    EXPECT_NE(text.DataString().find("zxLang = zxLang1"), AnsiString::npos) << text.DataString();
    EXPECT_NE(text.DataString().find("ActiveLanguage = 2"), AnsiString::npos);

    auto* copy = NewForm<TForm>(nullptr);
    binary.SetPosition(0);
    ReadComponent(binary, copy);
    auto* german = dynamic_cast<TzxLangChangeLanguage*>(copy->FindComponent("Language2"));
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(german->ActiveLanguage(), 2);
    EXPECT_EQ(german->zxLang(), copy->FindComponent("zxLang1"));
    EXPECT_EQ(german->zxLangDispatcher(), nullptr);
    delete copy;
}

} // namespace
