// What the editor's tests share: one QApplication with the demo's classes
// registered, settings files in a directory of the test program's own.
#pragma once

#include "DemoForms.h"
#include "TestSupport.h"

#include "clx/Forms.h"

#include <gtest/gtest.h>

namespace zxtest {

class TEditorEnvironment : public testing::Environment {
public:
    void SetUp() override {
        RegisterDemoClasses();
        Application->Initialize();
        Application->SetExeName(FSettingsDir.File("zxeditor_test"));
        SetDemoFilesDir(AnsiString(ZX_DEMO_FORMS_DIR) + "/");
    }
    void TearDown() override { DoneApplication(); }

    const TTempDir& SettingsDir() const { return FSettingsDir; }

private:
    TTempDir FSettingsDir;
};

} // namespace zxtest
