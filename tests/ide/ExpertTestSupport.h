// The expert over a headless design host on a copy of the example project,
// its settings file in the test's own directory.
#pragma once

#include "HostTestSupport.h"
#include "clx/Forms.h"
#include "ide/QzxLangExp.h"

namespace experttest {

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

} // namespace experttest
