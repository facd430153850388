// The expert's settings, menu item, file notifications, hooks and life cycle.
#include "ExpertTestSupport.h"

#include "designide/DesignRegistry.h"
#include "editor/QzxTransEditor.h"
#include "ide/QzxLangForm.h"

using namespace experttest;
using hosttest::ReadFile;

namespace {

// Runs a file notification as its click when told to, and records refills.
class TClickingExpert : public TzxLangExpert {
public:
    void RunItemClick(TIMenuItemIntf* Sender) override {
        TzxLangExpert::RunItemClick(Sender);
        ++Refills;
        if (Raise)
            throw std::runtime_error("refill failed");
        if (Sender)
            TDesignHost::Current()->Notify(fnAddedToProject, "Unit9.pas");
    }
    Integer Refills = 0;
    bool Raise = false;
};

class TFreeWatch : public TComponent {
public:
    TFreeWatch() : TComponent(nullptr) {}
    bool Freed = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        Freed = Freed || Operation == opRemove;
    }
};

} // namespace

TEST_F(TExpertTest, DefaultsHoldWithoutSettingsFileAndForNumbersThatAreNoIntegers) {
    MakeExpert();
    EXPECT_EQ(ShortCutToText(Expert->ShortCut), "Shift+Ctrl+L");
    EXPECT_EQ(Expert->IgnorableLength, 1);
    EXPECT_TRUE(Expert->EmptyConstsValues);
    EXPECT_EQ(Expert->ExcludeChars, "\\|/?><.,\":;]}[{=+-_)(!@#$%^&*`~'");
    EXPECT_EQ(Expert->SortOrder, -1);
    FreeExpert();
    WriteSettings("DefNumLang=two\nCnstPermanent=x\nIgnorableLength=3\n");
    MakeExpert();
    EXPECT_EQ(Expert->DefNumLang, 2);
    EXPECT_EQ(Expert->CnstPermanent, 0);
    EXPECT_EQ(Expert->IgnorableLength, 3);
    FreeExpert();
    WriteSettings("DefNumLang=0\n");
    MakeExpert();
    EXPECT_EQ(Expert->DefNumLang, 1);
}

TEST_F(TExpertTest, TenSettersWriteOnlyOnChangeTheOthersAlways) {
    MakeExpert();
    Expert->SetMenuSection("ToolsMenu");
    Expert->SetNumLang(2);
    Expert->SetHCPrefix("IDS_");
    EXPECT_EQ(ReadFile(SettingsFile()).find("MenuSection"), std::string::npos);
    EXPECT_EQ(ReadFile(SettingsFile()).find("HCPrefix"), std::string::npos);
    Expert->SetAddFormName(false);
    Expert->SetCommentsLength(0);
    const std::string written = ReadFile(SettingsFile());
    EXPECT_NE(written.find("AddFormName=0"), std::string::npos);
    EXPECT_NE(written.find("CommentsLength=0"), std::string::npos);
    Expert->SetNumLang(4);
    Expert->SetSortOrder(1);
    FreeExpert();
    MakeExpert();
    EXPECT_EQ(Expert->DefNumLang, 4);
    EXPECT_EQ(Expert->SortOrder, -1) << "the sort is not read back";
}

TEST_F(TExpertTest, ListsSurviveARestartAndOldSingleLineValuesStillRead) {
    MakeExpert();
    TStringList phrases;
    phrases.SetText("uses\nraise Exception\n");
    Expert->SetSkipLines(&phrases);
    Expert->SetDefaultLangNames("English\nGerman\nRussian\n");
    phrases.SetText("one\n");
    Expert->SetSkipLines(&phrases);
    FreeExpert();
    MakeExpert();
    EXPECT_EQ(Expert->SkipLines->Text(), "one\n");
    EXPECT_EQ(Expert->DefaultLangNames, "English\nGerman\nRussian\n");
    FreeExpert();

    WriteSettings("SkipWords=Hello world\n");
    MakeExpert();
    ASSERT_EQ(Expert->SkipWords->Count(), 1);
    EXPECT_EQ((*Expert->SkipWords)[0], "Hello world");
    FreeExpert();

    WriteSettings("SkipLines.Count=1000\nSkipLines.1=uses\nSkipLines.3=raise\n");
    MakeExpert();
    EXPECT_EQ(Expert->SkipLines->Text(), "uses\n") << "a damaged count reads only the lines there";
}

TEST_F(TExpertTest, MenuItemGoesAtIndexThreeOfItsSectionAndMoves) {
    auto* tools = dynamic_cast<TMenuItem*>(Host.MainWindow()->FindComponent("ToolsMenu"));
    ASSERT_NE(tools, nullptr);
    for (const char* name : {"ItemA", "ItemB", "ItemC", "ItemD"}) {
        auto* item = NewComponent<TMenuItem>(Host.MainWindow());
        item->SetName(name);
        tools->Add(item);
    }
    WriteSettings("ShortCut=Ctrl+Alt+T\n");
    MakeExpert();
    std::vector<AnsiString> items = SectionItems("ToolsMenu");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[3], "zxLangCLXExpertMenuItem");
    EXPECT_EQ(Expert->MenuItem()->GetCaption(), "TzxLang &CLX Expert");
    EXPECT_EQ(ShortCutToText(Expert->MenuItem()->GetShortCut()), "Ctrl+Alt+T");

    Expert->SetMenuSection("HelpMenu");
    Expert->RemoveSettings();
    Expert->Configure();
    EXPECT_EQ(SectionItems("ToolsMenu").size(), 4u);
    EXPECT_EQ(SectionItems("HelpMenu"), std::vector<AnsiString>{"zxLangCLXExpertMenuItem"});
    Expert->SetMenuSection("NoSuchMenu");
    Expert->RemoveSettings();
    Expert->Configure();
    EXPECT_EQ(Expert->MenuItem(), nullptr);
}

TEST_F(TExpertTest, NotificationsWithoutTheWindowOnlyRenewTheMenuItem) {
    auto* expert = new TClickingExpert();
    Expert = expert;
    TIMenuItemIntf* first = Expert->MenuItem();
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    ASSERT_TRUE(Host.OpenFile(File("Main.pas")));
    EXPECT_NE(Expert->MenuItem(), first);
    EXPECT_EQ(SectionItems("ToolsMenu").size(), 1u);
    EXPECT_EQ(expert->Refills, 0);
    // The project file has no form: only the unit got a module notifier.
    ASSERT_EQ(Expert->ModuleNotifiers().size(), 1u);
    EXPECT_NE(Expert->ModuleNotifiers()[0]->NotifierIndex(), -1);
    Expert->ProjectUnitNames->Add("Helpers");
    ASSERT_TRUE(Host.CloseProject(true));
    EXPECT_EQ(Expert->ProjectUnitNames->Count(), 1);
}

TEST_F(TExpertTest, NotificationsWithTheWindowRefillAndEmptyIt) {
    auto* expert = new TClickingExpert();
    Expert = expert;
    frmzxLang = NewForm<TfrmzxLang>(nullptr);
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    EXPECT_EQ(expert->Refills, 1);
    Host.AddToProject(File("Extra.pas"), "", "");
    Host.RemoveFromProject(File("Extra.pas"));
    EXPECT_EQ(expert->Refills, 3);
    Expert->ProjectUnitNames->Add("Helpers");
    ASSERT_TRUE(Host.CloseProject(true));
    EXPECT_EQ(Expert->ProjectUnitNames->Count(), 0);
    EXPECT_EQ(expert->Refills, 3);

    expert->Raise = true;
    Dialogs.Answer(mrOk);
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    EXPECT_EQ(Host.Messages().back(), "refill failed");
}

TEST_F(TExpertTest, ItemClickThatOpensFilesKeepsItsItemUntilItReturns) {
    auto* expert = new TClickingExpert();
    Expert = expert;
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    // The click opens the window, so the notification it causes refills it.
    Expert->MenuItem()->Click();
    EXPECT_EQ(expert->Refills, 2);
    EXPECT_EQ(SectionItems("ToolsMenu"), std::vector<AnsiString>{"zxLangCLXExpertMenuItem"});
    Expert->MenuItem()->Click();
    EXPECT_EQ(expert->Refills, 4);
}

TEST_F(TExpertTest, DestructionClearsTheHooksAndFreesTheWindow) {
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    ExpRegister();
    Expert = FzxLangExpert;
    ASSERT_TRUE(NavigateToSource);
    frmzxLang = NewForm<TfrmzxLang>(nullptr);
    TFreeWatch watch;
    frmzxLang->FreeNotification(&watch);
    Expert = nullptr;
    ReleaseModuleExperts(nullptr);
    EXPECT_TRUE(watch.Freed);
    EXPECT_EQ(frmzxLang, nullptr);
    EXPECT_EQ(FzxLangExpert, nullptr);
    EXPECT_FALSE(NavigateToSource);
    EXPECT_TRUE(SectionItems("ToolsMenu").empty());
    EXPECT_TRUE(Host.OpenFile(File("Main.pas"))) << "no notifier is left behind";
}
