// Pictures of the editor on the demo's main form, written to the test
// output: the Captions list with a German cell selected, and the Strings
// list with a duplicated identifier painted as one, and the editor beside
// its menus opened one by one.
#include "EditorTestSupport.h"

#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

using EditorPictures = TDemoEditorTest;

// The colour in the middle of a grid cell, in the picture of the form.
QColor CellColour(TzxTransEditFrm& Form, const QImage& Picture, Integer ACol, Integer ARow) {
    TRect cell = Form.Grid1->CellRect(ACol, ARow);
    QPoint inGrid(cell.Right - 3, cell.Bottom - 3);
    QPoint onForm = Form.Grid1->Handle()->mapTo(Form.Handle(), inGrid);
    return Picture.pixelColor(onForm);
}

TEST_F(EditorPictures, CaptionsWithAGermanCellSelected) {
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        SelectNode(Form, "Captions");
        Form.Grid1->SetCol(2);
        Form.Grid1->SetRow(2);
        QImage picture = SaveShot(Form, "editor-captions-german.png");
        EXPECT_EQ(CellColour(Form, picture, 2, 2), QColor(ColorToQColor(clHighlight)));
        EXPECT_NE(CellColour(Form, picture, 1, 2), QColor(ColorToQColor(clHighlight)));
        ClickItem(Form, "miClose");
    });
}

TEST_F(EditorPictures, StringsWithADuplicateIdentifierPaintedAsOne) {
    Edit(stStrings, {sfFull, sfSelected, sfDesignTime}, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        EditCell(grid, 0, 3, AnsiLowerCase(grid.Cells(0, 1)));
        grid.SetCol(3);
        grid.SetRow(2);
        QImage picture = SaveShot(Form, "editor-strings-duplicate.png");
        const QColor duplicate(255, 240, 240);
        EXPECT_EQ(CellColour(Form, picture, 1, 1), duplicate);
        EXPECT_EQ(CellColour(Form, picture, 1, 3), duplicate);
        EXPECT_NE(CellColour(Form, picture, 1, 2), duplicate);
        CloseWith(Form, mrNo);
    });
}

// Each menu's visible items as the user reads them: caption and key.
QStringList ItemTexts(QMenu& Menu) {
    QStringList texts;
    for (QAction* action : Menu.actions())
        if (action->isVisible() && !action->isSeparator())
            texts << action->text() + " " + action->shortcut().toString();
    return texts;
}

TEST_F(EditorPictures, TheMenusOpenBesideTheEditorWithTheirCaptionsAndKeys) {
    Edit(stStrings, {sfFull, sfSelected, sfDesignTime}, [&](TzxTransEditFrm& Form) {
        Application->ProcessMessages();
        std::vector<std::pair<QImage, QPoint>> sheet{{Form.Handle()->grab().toImage(), {0, 0}}};
        QMenuBar* bar = Form.Handle()->findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr);
        QStringList captions;
        std::map<QString, QStringList> items;
        for (QAction* action : bar->actions()) {
            if (!action->isVisible() || !action->menu())
                continue;
            captions << action->text();
            QMenu* menu = action->menu();
            menu->popup(QPoint(0, 0));
            Application->ProcessMessages();
            // Each menu stands to the right of the last picture, 4 pixels apart.
            sheet.push_back({menu->grab().toImage(),
                             {sheet.back().second.x() + sheet.back().first.width() + 4, 0}});
            items[action->text()] = ItemTexts(*menu);
            menu->hide();
        }
        EXPECT_EQ(captions, QStringList({"&File", "&Edit", "&View", "&Tools"}));
        // The menu gives the item without a hotkey one of its own.
        EXPECT_EQ(items["&File"], QStringList({"&Load... Ctrl+L", "&Save... Ctrl+S", "&Close ",
                                               "Cl&ose Saved "}));
        EXPECT_TRUE(items["&Edit"].contains("&Delete Ctrl+Del"));
        EXPECT_TRUE(items["&Tools"].contains("Exclude &Blanks Ctrl+Shift+B"));
        SaveSheet("editor-menus.png", sheet);
        ClickItem(Form, "miClose");
    });
}

// At the default width every tool button lies inside the window.
TEST_F(EditorPictures, EveryToolButtonIsReachableAtTheDefaultWidth) {
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        Application->ProcessMessages();
        QWidget* toolBar = Named<TWinControl>(Form, "ToolBar1").Handle();
        Integer buttons = 0;
        for (QWidget* button : toolBar->findChildren<QWidget*>())
            if (button->inherits("QToolButton") && button->isVisible()) {
                ++buttons;
                EXPECT_LE(button->mapTo(Form.Handle(), QPoint(button->width(), 0)).x(),
                          Form.ClientWidth());
            }
        EXPECT_EQ(buttons, 19);
        ClickItem(Form, "miClose");
    });
}

} // namespace
