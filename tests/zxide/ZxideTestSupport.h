// zxide with the translation package loaded, on a copy of the example
// project in the test's own directory, its dialogs scripted.
#pragma once

#include "HostTestSupport.h"
#include "IdeWindow.h"
#include "StandardPalette.h"
#include "TestSupport.h"

#include "clx/Dialogs.h"
#include "clx/Forms.h"

#include <QtGui/QPixmap>

#include <filesystem>
#include <memory>
#include <string>

namespace zxidetest {

template <typename T> T& Named(TComponent& Owner, const char* Name) {
    auto* found = dynamic_cast<T*>(Owner.FindComponent(Name));
    if (!found)
        throw Exception(Format("no %s on %s", {AnsiString(Name), Owner.Name()}));
    return *found;
}

inline void SaveShot(const QPixmap& Shot, const std::string& Name) {
    std::filesystem::create_directories(zxtest::TestOutputDir() + "/zxide");
    EXPECT_TRUE(Shot.save(QString::fromStdString(zxtest::TestOutputDir() + "/zxide/" + Name))) << Name;
}

class TZxideExampleTest : public testing::Test {
protected:
    TZxideExampleTest() : Guard(Dialogs) {
        std::filesystem::copy(ZX_EXAMPLES_DIR, Dir.Path(), std::filesystem::copy_options::recursive);
        Application->SetExeName(Dir.File("zxide"));
    }
    ~TZxideExampleTest() override {
        CloseHost();
        Application->SetExeName("");
    }
    void OpenExample() {
        Host = std::make_unique<TDesignHost>();
        RegisterStandardPalette();
        Window = std::make_unique<TIdeWindow>(*Host);
        Window->Window()->resize(1000, 600);
        Window->Show();
        ASSERT_TRUE(Host->LoadPackage(ZX_TZXLANG_PACKAGE_K2));
        Window->RebuildPalette();
        ASSERT_TRUE(Window->OpenProject(Dir.File("Example.dpr")));
        Application->ProcessMessages();
    }
    // The window goes, then the host and the package with it.
    void CloseHost() {
        Window.reset();
        Host.reset();
        Application->ProcessMessages();
    }

    zxtest::TTempDir Dir;
    TScriptedDialogService Dialogs;
    TDialogServiceGuard Guard;
    std::unique_ptr<TDesignHost> Host;
    std::unique_ptr<TIdeWindow> Window;
};

} // namespace zxidetest
