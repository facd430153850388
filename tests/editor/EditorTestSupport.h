// What the editor's tests share: one QApplication with the demo's classes
// registered, settings files in a directory of the test program's own, the
// demo's main form read from its file, and the editor opened on it through
// the scripted dialog service, driven through its controls.
#pragma once

#include "../runtime/LangTestSupport.h"
#include "DemoForms.h"
#include "DemoTranslations.h"
#include "TestSupport.h"

#include "editor/QzxTransEditor.h"

#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/Forms.h"
#include "clx/Menus.h"

#include <gtest/gtest.h>

#include <functional>

namespace zxtest {

class TEditorEnvironment : public testing::Environment {
public:
    void SetUp() override {
        RegisterDemoClasses();
        InitQzxTransEditor();
        Application->Initialize();
        Application->SetExeName(SettingsDir().File("zxeditor_test"));
        SetDemoFilesDir(AnsiString(ZX_DEMO_FORMS_DIR) + "/");
    }
    void TearDown() override { DoneApplication(); }

    static const TTempDir& SettingsDir() {
        static TTempDir dir;
        return dir;
    }
};

// The editor's settings file, which every test starts without.
inline AnsiString EditorSettingsFile() {
    return TEditorEnvironment::SettingsDir().File("TzxTransEditFrm.ini");
}

template <typename T> T& Named(TComponent& Form, const AnsiString& Name) {
    T* component = dynamic_cast<T*>(Form.FindComponent(Name));
    if (!component)
        throw Exception("no " + Name);
    return *component;
}

inline void ClickItem(TComponent& Form, const AnsiString& Name) {
    Named<TMenuItem>(Form, Name).Click();
}

// Selects the type node captioned Caption ("Translations" for the root).
inline void SelectNode(TzxTransEditFrm& Form, const AnsiString& Caption) {
    for (TTreeNode* node = Form.TreeView->Items()->GetFirstNode(); node; node = node->GetNext())
        if (node->Text() == Caption) {
            node->SetSelected(true);
            return;
        }
    throw Exception("no node " + Caption);
}

// What the grid's in-place editor does when the user types Text into the
// cell and leaves it: the editor opens on the cell's text, reports each
// change and the final text once more.
inline void EditCell(TStringGrid& Grid, Integer ACol, Integer ARow, const AnsiString& Text) {
    Grid.SetCol(ACol);
    Grid.SetRow(ARow);
    AnsiString value = Grid.Cells(ACol, ARow);
    if (Grid.OnGetEditText)
        Grid.OnGetEditText(&Grid, ACol, ARow, value);
    Grid.SetCells(ACol, ARow, Text);
    if (Grid.OnSetEditText) {
        Grid.OnSetEditText(&Grid, ACol, ARow, Text);
        Grid.OnSetEditText(&Grid, ACol, ARow, Grid.Cells(ACol, ARow));
    }
}

// The keys of the grid's data rows, or one column of them.
inline std::vector<AnsiString> ColumnOf(const TStringGrid& Grid, Integer ACol = 0) {
    std::vector<AnsiString> cells;
    for (Integer row = 1; row < Grid.RowCount(); ++row)
        cells.push_back(Grid.Cells(ACol, row));
    return cells;
}

// The demo's shipped forms read from their files; Lang is the main form's
// translation component.
class TDemoEditorTest : public testing::Test {
protected:
    void SetUp() override {
        std::remove(EditorSettingsFile().c_str());
        Files = LoadDemoFormFiles(AnsiString(ZX_DEMO_FORMS_DIR) + "/");
        Lang = DemoFormComponents(Files)[0];
        Before = FormText(Lang->Owner());
    }

    // Opens the editor; Drive acts on the shown form as the user would and
    // must end it (a close command and the answers to its questions, which
    // it queues on Dialogs).
    bool Edit(TStringsType Kind, TShowFlags Flags,
              const std::function<void(TzxTransEditFrm& Form)>& Drive, Integer StartIndex = 0,
              TzxCustomLang* Target = nullptr) {
        TDialogServiceGuard guard(Dialogs);
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
            Drive(dynamic_cast<TzxTransEditFrm&>(Form));
        });
        bool result = TransEditorDlg(Target ? Target : Lang, Kind, StartIndex, Flags);
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
        return result;
    }

    AnsiString Now() const { return FormText(Lang->Owner()); }

    TScriptedDialogService Dialogs;
    std::vector<std::unique_ptr<TComponent>> Files;
    TzxCustomLang* Lang = nullptr;
    AnsiString Before;
};

} // namespace zxtest
