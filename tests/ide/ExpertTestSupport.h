// The expert over a headless design host on a copy of the example project,
// its settings file in the test's own directory.
#pragma once

#include "HostTestSupport.h"
#include "clx/Forms.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxLangForm.h"
#include "runtime/QzxComp.h"

#include <QtWidgets/QWidget>

namespace experttest {

// Saves the control's look as Name under the test output directory.
inline void Shot(TWinControl& Control, const std::string& Name) {
    const std::filesystem::path file = zxtest::TestOutputDir() + "/" + Name;
    std::filesystem::create_directories(file.parent_path());
    EXPECT_TRUE(Control.Handle()->grab().save(QString::fromStdString(file.string()))) << Name;
}

class TExpertTest : public hosttest::THostTest {
protected:
    TExpertTest() { Application->SetExeName(Dir.File("zxide")); }
    ~TExpertTest() override {
        FreeExpert();
        Application->SetExeName("");
    }

    void MakeExpert() { Expert = new TzxLangExpert(); }
    // The expert as the package's one, its window listing the project.
    void OpenExpertWindow() {
        MakeExpert();
        FzxLangExpert = Expert;
        Expert->RunItemClick(nullptr);
    }
    // The example opened, its order form holding zxLang1 with four languages.
    TzxLang* OpenExampleWithOrdersLang() {
        OpenExample();
        auto* lang = NewComponent<TzxLang>(Host.FormOf(File("Orders.pas")));
        lang->SetName("zxLang1");
        lang->SetNumLang(4);
        return lang;
    }
    void FreeExpert() {
        if (Expert)
            std::exchange(Expert, nullptr)->Release();
    }
    std::string SettingsFile() const { return Dir.File("TzxLangExpert.ini"); }
    void WriteSettings(const std::string& Lines) {
        hosttest::WriteFile(SettingsFile(), "[ExpSettings]\n" + Lines);
    }
    // The items of the menu section, by name.
    std::vector<AnsiString> SectionItems(const AnsiString& Section) {
        std::vector<AnsiString> names;
        TIMainMenuIntf* menu = ToolServices->GetMainMenu();
        TIMenuItemIntf* section = menu->FindMenuItem(Section);
        for (Integer index = 0; index < section->GetItemCount(); ++index) {
            TIMenuItemIntf* item = section->GetItem(index);
            names.push_back(item->GetName());
            item->Release();
        }
        section->Release();
        menu->Release();
        return names;
    }

    TzxLangExpert* Expert = nullptr;
};

// The expert's window open on the example, whose order form holds zxLang1.
class TExpertWindowOnExampleTest : public TExpertTest {
protected:
    void SetUp() override {
        Orders = OpenExampleWithOrdersLang();
        OpenExpertWindow();
        ASSERT_TRUE(frmzxLang);
    }
    void TearDown() override { Application->ProcessMessages(); }

    TListItem* Row(const AnsiString& FormName) { return frmzxLang->FormRow(FormName); }
    // Selects the rows, the first one focused.
    void Select(std::initializer_list<const char*> Names) {
        frmzxLang->lvFormNames->SetSelected(nullptr);
        for (const char* name : Names)
            Row(name)->SetSelected(true);
        frmzxLang->lvFormNames->SetItemFocused(Row(*Names.begin()));
    }

    TzxLang* Orders = nullptr;
};

} // namespace experttest
