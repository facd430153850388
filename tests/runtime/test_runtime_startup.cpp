// The runtime's start-up: one call makes every component class of the
// runtime known to the form reader, and calling it again changes nothing.
// This program registers nothing before, so it sees the start-up alone.
#include "LangTestSupport.h"

#include "runtime/ZxLangRuntime.h"
#include "runtime/QzxActns.h"
#include "runtime/QzxLangCombo.h"

#include <gtest/gtest.h>

namespace {

const char* const RuntimeClasses[] = {"TzxLang",     "TzxFormStorage",       "TzxLangDispatcher",
                                      "TzxLangLinked", "TzxLangTLV",         "TzxLangCombo",
                                      "TzxLangChangeLanguage"};

TEST(RuntimeStartUp, RegistersEveryComponentClassOnceAndAFormWithThemReads) {
    for (const char* name : RuntimeClasses)
        EXPECT_EQ(GetClass(name), nullptr) << name;
    RegisterClxClasses();
    InitZxLangRuntime();
    InitZxLangRuntime();
    for (const char* name : RuntimeClasses)
        EXPECT_NE(GetClass(name), nullptr) << name;

    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    zxtest::ReadFormText("object Form1: TForm\n"
                         "  object Combo: TzxLangCombo\n  end\n"
                         "  object Actions: TActionList\n"
                         "    object German: TzxLangChangeLanguage\n"
                         "      ActiveLanguage = 2\n    end\n  end\n"
                         "  object Lang: TzxLangTLV\n  end\n"
                         "end\n",
                         form.get());
    EXPECT_NE(dynamic_cast<TzxLangCombo*>(form->FindComponent("Combo")), nullptr);
    auto* german = dynamic_cast<TzxLangChangeLanguage*>(form->FindComponent("German"));
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(german->ActiveLanguage(), 2);
}

} // namespace
