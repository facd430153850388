// The expert's dialogs driven through their controls: the options dialog's
// fill, bounds and store, the language dialog's count rules, and opening a
// web address with the desktop's opener.
#include "ClxTestSupport.h"
#include "ExpertTestSupport.h"

#include "editor/QzxTransEditor.h"
#include "ide/Q_about.h"
#include "ide/Q_expopt.h"
#include "ide/Q_langconfig.h"

#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <thread>

using namespace experttest;

namespace {

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

template <typename T> T* Control(TCustomForm& Form, const char* Name) {
    return dynamic_cast<T*>(Form.FindComponent(Name));
}

void Click(TCustomForm& Form, const char* Button) {
    Control<TControl>(Form, Button)->Click();
}

class TExpertDialogTest : public TExpertTest {
protected:
    void SetUp() override {
        WriteSettings("ReplaceMethod=Translate(\nDefaultComponent=\nDefNumLang=3\n"
                      "DefaultLangNames.Count=5\nDefaultLangNames.1=English\n"
                      "DefaultLangNames.2=German\nDefaultLangNames.3=French\n"
                      "DefaultLangNames.4=Russian\nDefaultLangNames.5=Greek\n");
        Host.OpenProject(File("Example.dpr"));
        MakeExpert();
    }
    std::string Settings() { return hosttest::ReadFile(SettingsFile()); }
};

} // namespace

TEST_F(TExpertDialogTest, OptionsShowTheSettingsOnThreePages) {
    Dialogs.AnswerModal(mrCancel, [&](TCustomForm& Form) {
        auto& options = static_cast<TfrmOptions&>(Form);
        EXPECT_EQ(options.cbReplaceMethod->Text(), "GetText(") << "an unknown method";
        EXPECT_EQ(options.cbMenuItems->Text(), "ToolsMenu");
        EXPECT_EQ(options.cbDefTzxLang->Text(), "TzxLang");
        EXPECT_EQ(options.cbDefTzxLang->Items()->Count(), 5);
        EXPECT_EQ(options.hkInMenu->Text(), "Shift+Ctrl+L");
        EXPECT_EQ(options.lbLangNames->Items()->Count(), 5);
        EXPECT_EQ(options.NameBackground(2), static_cast<TColor>(0xE0FFFF));
        EXPECT_EQ(options.NameBackground(3), clWindow);
        options.edNLang->SetText("1");
        EXPECT_EQ(options.NameBackground(2), clWindow);
        options.edNLang->SetText("3");
        for (Integer page = 0; page < options.PageControl1->PageCount(); ++page) {
            options.PageControl1->SetActivePageIndex(page);
            Application->ProcessMessages();
            Shot(options, "ide/options-page" + std::to_string(page + 1) + ".png");
        }
    });
    EXPECT_EQ(EditExpertOptions(*Expert), mrCancel);
    EXPECT_NE(Settings().find("DefaultComponent=TzxLang"), std::string::npos)
        << "an empty default component is set before the dialog shows";
    EXPECT_EQ(Expert->ReplaceMethod, "Translate(") << "cancel stores nothing";
}

TEST_F(TExpertDialogTest, NumberButtonsStopAtTheirBounds) {
    Dialogs.AnswerModal(mrCancel, [&](TCustomForm& Form) {
        auto& options = static_cast<TfrmOptions&>(Form);
        options.edCommentsLength->SetText("0");
        Click(Form, "sbDown3");
        EXPECT_EQ(options.edCommentsLength->Text(), "0");
        options.edIgnorableLength->SetText("255");
        Click(Form, "sbUp1");
        EXPECT_EQ(options.edIgnorableLength->Text(), "255");
        Click(Form, "spDown1");
        EXPECT_EQ(options.edIgnorableLength->Text(), "254");
        options.edNLang->SetText("1");
        Click(Form, "sbDown2");
        EXPECT_EQ(options.edNLang->Text(), "1");
        Click(Form, "sbUp2");
        EXPECT_EQ(options.edNLang->Text(), "2");
    });
    EditExpertOptions(*Expert);
}

TEST_F(TExpertDialogTest, OkStoresEverySettingAndMovesTheMenuItem) {
    Dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) {
        auto& options = static_cast<TfrmOptions&>(Form);
        options.cbMenuItems->SetItemIndex(options.cbMenuItems->Items()->IndexOf("EditMenu"));
        options.hkInMenu->SetText("Ctrl+F9");
        options.edHCPfx->SetText("TXT_");
        options.rgCnstPfx->SetItemIndex(1);
        options.memSkipWords->Lines()->SetText("OK\nCancel\n");
        options.lbLangNames->SetSelected(4, true);
        Click(Form, "btnMoveUp");
    });
    EXPECT_EQ(EditExpertOptions(*Expert), mrOk);
    EXPECT_EQ(Expert->MenuSection, "EditMenu");
    EXPECT_EQ(ShortCutToText(Expert->ShortCut), "Ctrl+F9");
    EXPECT_EQ(Expert->HCPrefix, "TXT_");
    EXPECT_EQ(Expert->CnstPermanent, 1);
    EXPECT_EQ(Expert->ReplaceMethod, "GetText(");
    EXPECT_EQ(Expert->SkipWords->Text(), "OK\nCancel\n");
    EXPECT_EQ(Expert->DefaultLangNames, "English\nGerman\nFrench\nGreek\nRussian\n");
    EXPECT_NE(Settings().find("HCPrefix=TXT_"), std::string::npos);
    const auto items = SectionItems("EditMenu");
    EXPECT_NE(std::find(items.begin(), items.end(), "zxLangCLXExpertMenuItem"), items.end());
}

TEST_F(TExpertDialogTest, ARefusedNumberStoresNothingAndNoSectionKeepsTheOldOne) {
    Dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) {
        auto& options = static_cast<TfrmOptions&>(Form);
        options.hkInMenu->SetText("Ctrl+F9");
        options.edCommentsLength->SetText("x1");
    });
    Dialogs.Answer(mrOk);
    EXPECT_EQ(EditExpertOptions(*Expert), mrCancel);
    EXPECT_EQ(Dialogs.LastRequest().Text,
              "The comments length must be a number from 0 to 255; \"x1\" is not.");
    EXPECT_EQ(ShortCutToText(Expert->ShortCut), "Shift+Ctrl+L") << "nothing half stored";

    Dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) {
        static_cast<TfrmOptions&>(Form).cbMenuItems->SetItemIndex(-1);
    });
    EXPECT_EQ(EditExpertOptions(*Expert), mrOk);
    EXPECT_EQ(Expert->MenuSection, "ToolsMenu");
    const auto items = SectionItems("ToolsMenu");
    EXPECT_NE(std::find(items.begin(), items.end(), "zxLangCLXExpertMenuItem"), items.end());
}

TEST_F(TExpertDialogTest, LanguageCountAddsNamesAndNeverRemovesOrPassesTheBound) {
    TStringList names;
    Dialogs.AnswerModal(mrCancel, [&](TCustomForm& Form) {
        auto* count = Control<TEdit>(Form, "edLangCount");
        EXPECT_EQ(count->Text(), "0");
        EXPECT_FALSE(Control<TButton>(Form, "btnOK")->Enabled());
        Click(Form, "sbDown2");
        EXPECT_EQ(count->Text(), "0") << "below 1 is ignored";
        Click(Form, "sbUp2");
        EXPECT_TRUE(Control<TButton>(Form, "btnOK")->Enabled());
        EXPECT_EQ(Control<TListBox>(Form, "lbLangNames")->Items()->Text(), "Language N1\n");
        count->SetText("999");
        EXPECT_EQ(count->Text(), "255");
        EXPECT_EQ(Control<TListBox>(Form, "lbLangNames")->Items()->Count(), 255);
        Click(Form, "sbUp2");
        EXPECT_EQ(count->Text(), "255");
    });
    EXPECT_EQ(ConfigureLanguages(&names), mrCancel);
    EXPECT_EQ(names.Count(), 0);

    names.SetText("English\nGerman\nFrench\nRussian\n");
    Dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) {
        Control<TEdit>(Form, "edLangCount")->SetText("2");
        Control<TListBox>(Form, "lbLangNames")->SetSelected(0, true);
        Click(Form, "btnMoveDown");
        Shot(Form, "ide/language-configuration.png");
    });
    EXPECT_EQ(ConfigureLanguages(&names), mrOk);
    EXPECT_EQ(names.Text(), "German\nEnglish\nFrench\nRussian\n");

    // Adding a name at the bound is refused too.
    while (names.Count() < 255)
        names.Add("L" + IntToStr(names.Count()));
    Dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) { Click(Form, "btnAdd"); });
    Dialogs.Answer(mrOk);
    EXPECT_EQ(ConfigureLanguages(&names), mrOk);
    EXPECT_EQ(names.Count(), 255);
    EXPECT_EQ(Dialogs.LastRequest().Text, "A translation component holds at most 255 languages.");
}

TEST_F(TExpertDialogTest, TheEditorsAboutHookShowsTheAboutBoxWithItsLinks) {
    Dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) {
        const std::vector<TLabel*> links = static_cast<TfrmAbout&>(Form).LinkLabels();
        ASSERT_EQ(links.size(), 2u);
        for (TLabel* link : links)
            EXPECT_EQ(link->Cursor(), crHandPoint);
        Shot(Form, "ide/about.png");
    });
    ASSERT_TRUE(ShowAboutBox);
    ShowAboutBox(nullptr);
    EXPECT_EQ(Dialogs.LastRequest().Text, "TfrmAbout");
}

// The stub opener records its argument; the test's process is left with no
// child to reap.
TEST(OpenURL, RunsTheOpenerOnPathAndLeavesNoZombie) {
    zxtest::TTempDir dir;
    hosttest::WriteFile(dir.File("xdg-open"), "#!/bin/sh\necho \"$1\" > \"" + dir.File("opened") + "\"\n");
    std::filesystem::permissions(dir.File("xdg-open"), std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir.Path() + ":" + path).c_str(), 1);
    EXPECT_TRUE(OpenURL("https://example.org/a b"));
    for (int wait = 0; wait < 100 && hosttest::ReadFile(dir.File("opened")).empty(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(hosttest::ReadFile(dir.File("opened")), "https://example.org/a b\n");
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    setenv("PATH", dir.File("nothing-here").c_str(), 1);
    dialogs.Answer(mrOk);
    EXPECT_FALSE(OpenURL("https://example.org/"));
    EXPECT_NE(dialogs.LastRequest().Text.find("xdg-open"), AnsiString::npos);
    setenv("PATH", path.c_str(), 1);
}
