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

#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/Forms.h"
#include "clx/Grids.h"
#include "clx/Menus.h"

#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTabBar>

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

inline void Execute(TComponent& Form, const AnsiString& ActionName) {
    Named<TAction>(Form, ActionName).Execute();
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

inline void PressKey(TWinControl& Control, int Key, Qt::KeyboardModifiers Modifiers = {}) {
    QKeyEvent press(QEvent::KeyPress, Key, Modifiers);
    QApplication::sendEvent(Control.Handle(), &press);
    QKeyEvent release(QEvent::KeyRelease, Key, Modifiers);
    QApplication::sendEvent(Control.Handle(), &release);
}

// The user edits a cell: goes to it, opens its editor with F2 (the text
// comes selected), puts Text in place of it and ends with Return.
inline void EditCell(TStringGrid& Grid, Integer ACol, Integer ARow, const AnsiString& Text) {
    Grid.SetCol(ACol);
    Grid.SetRow(ARow);
    PressKey(Grid, Qt::Key_F2);
    if (!Grid.EditorMode())
        throw Exception(Format("cell (%d, %d) cannot be edited", {ACol, ARow}));
    Grid.InplaceEditor()->SelectAll();
    Grid.InplaceEditor()->SetSelText(Text);
    PressKey(Grid, Qt::Key_Return);
}

// The user picks a tab of the tab control.
inline void ChooseTab(TTabControl& Tabs, Integer Index) {
    Tabs.Handle()->findChild<QTabBar*>()->setCurrentIndex(Index);
}

// Pictures left in the test output: an image; what a control shows once
// the pending paints are done; images side by side on white, each at its
// place, as one sheet.
inline void SaveImage(const QImage& Image, const char* Name) {
    Image.save(QString::fromStdString(TestOutputDir() + "/" + Name));
}

inline QImage SaveShot(TWinControl& Control, const char* Name) {
    Application->ProcessMessages();
    QImage image = Control.Handle()->grab().toImage();
    SaveImage(image, Name);
    return image;
}

inline void SaveSheet(const char* Name, const std::vector<std::pair<QImage, QPoint>>& Parts) {
    QRect bounds;
    for (const auto& [image, at] : Parts)
        bounds |= QRect(at, image.size());
    QImage sheet(bounds.size(), QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (const auto& [image, at] : Parts)
        painter.drawImage(at - bounds.topLeft(), image);
    painter.end();
    SaveImage(sheet, Name);
}

// The flags of the design-time callers: the whole component, one list.
inline const TShowFlags DesignFull{sfFull, sfDesignTime};
inline const TShowFlags DesignSelected{sfSelected, sfDesignTime};

// The data row whose key is Key, or -1.
inline Integer RowOf(const TStringGrid& Grid, const AnsiString& Key) {
    for (Integer row = 1; row < Grid.RowCount(); ++row)
        if (Grid.Cells(0, row) == Key)
            return row;
    return -1;
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
              TzxCustomLang* Target = nullptr, const TChangeStrIDEvent& OnRename = {}) {
        TDialogServiceGuard guard(Dialogs);
        Dialogs.AnswerModal(
            mrNone, [&](TCustomForm& Form) { Drive(dynamic_cast<TzxTransEditFrm&>(Form)); });
        bool result = TransEditorDlg(Target ? Target : Lang, Kind, StartIndex, Flags, OnRename);
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
        return result;
    }

    AnsiString Now() const { return FormText(Lang->Owner()); }

    // Closes the editor, giving Answer to its question on the changes.
    void CloseWith(TzxTransEditFrm& Form, TModalResult Answer) {
        Dialogs.Answer(Answer);
        ClickItem(Form, "miClose");
    }

    TScriptedDialogService Dialogs;
    std::vector<std::unique_ptr<TComponent>> Files;
    TzxCustomLang* Lang = nullptr;
    AnsiString Before;
};

} // namespace zxtest
