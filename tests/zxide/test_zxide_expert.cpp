// zxide with the translation package loaded: the expert's item in the Tools
// menu as the user opens that menu, its docked window, and the translation
// component's menu and editor on the designer.
#include "ClxTestSupport.h"
#include "ZxideTestSupport.h"

#include "clx/Dialogs.h"
#include "clx/Forms.h"
#include "clx/Grids.h"
#include "clx/Menus.h"

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolButton>
#include <QtGui/QPainter>

namespace {

testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

// The drop-down of the menu bar's section, as the window shows it.
QMenu* MenuTitled(const QString& Title) {
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->title() == Title)
            return menu;
    return nullptr;
}

// The top-level window of that title, as the screen shows it.
QWidget* WindowTitled(const QString& Title) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == Title)
            return widget;
    return nullptr;
}

void PressKey(QWidget* Widget, int Key) {
    QKeyEvent press(QEvent::KeyPress, Key, Qt::NoModifier);
    QApplication::sendEvent(Widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Key, Qt::NoModifier);
    QApplication::sendEvent(Widget, &release);
}

// The row's cell as the window's list shows it.
QString Cell(QAbstractItemView* Rows, int Row, int Column) {
    return Rows->model()->index(Row, Column).data().toString();
}

int RowOfCaption(QAbstractItemView* Rows, const QString& Caption) {
    for (int row = 0; row < Rows->model()->rowCount(); ++row)
        if (Cell(Rows, row, 0) == Caption)
            return row;
    return -1;
}

using zxidetest::SaveShot;

// zxide with the translation package loaded, on a copy of the example
// project.
using ZxideExpert = zxidetest::TZxideExampleTest;

} // namespace

TEST_F(ZxideExpert, TheToolsItemOpensTheDockedExpertWindowWhoseTranslateButtonPlacesTheComponent) {
    OpenExample();
    QMenu* tools = MenuTitled("&Tools");
    ASSERT_NE(tools, nullptr);
    ASSERT_EQ(tools->actions().size(), 1);
    EXPECT_EQ(tools->actions()[0]->text(), "TzxLang &CLX Expert");
    EXPECT_EQ(tools->actions()[0]->shortcut(), QKeySequence("Shift+Ctrl+L"));
    QWidget* main = Window->Window();
    auto* bar = main->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    const QPoint below = bar->mapTo(main, bar->actionGeometry(tools->menuAction()).bottomLeft());
    tools->popup(main->mapToGlobal(below));
    Application->ProcessMessages();
    QPixmap shot = main->grab();
    QPainter painter(&shot);
    painter.drawPixmap(below, tools->grab());
    painter.end();
    SaveShot(shot, "tools-menu-expert.png");
    tools->hide();

    tools->actions()[0]->trigger();
    Application->ProcessMessages();
    QWidget* docked = WindowTitled("TzxLang Expert (CLX Edition)");
    ASSERT_NE(docked, nullptr);
    auto* rows = docked->findChild<QAbstractItemView*>();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->model()->rowCount(), 3) << "the project's forms";
    SaveShot(docked->grab(), "expert-window-docked.png");

    // Translate on the main form's row places a TzxLang there and opens the
    // editor.
    const int mainRow = RowOfCaption(rows, "MainForm");
    ASSERT_GE(mainRow, 0);
    rows->setCurrentIndex(rows->model()->index(mainRow, 0));
    Application->ProcessMessages();
    QToolButton* translate = nullptr;
    for (QToolButton* button : docked->findChildren<QToolButton*>())
        if (button->text() == "Translate")
            translate = button;
    ASSERT_NE(translate, nullptr);
    ASSERT_TRUE(translate->isEnabled());
    QString editorTitle;
    Dialogs.AnswerModal(mrCancel, [&](TCustomForm& Form) {
        editorTitle = QString::fromStdString(Form.ClassName());
    });
    translate->click();
    Application->ProcessMessages();
    EXPECT_EQ(editorTitle, "TzxTransEditFrm");
    EXPECT_EQ(Cell(rows, mainRow, 3), "2");
    EXPECT_EQ(Cell(rows, mainRow, 4), "TzxLang");
    SaveShot(docked->grab(), "expert-translated-row.png");
    docked->close();
    Application->ProcessMessages();
    EXPECT_EQ(WindowTitled("TzxLang Expert (CLX Edition)"), nullptr);
}

TEST_F(ZxideExpert, ATranslationAddedInTheEditorFromTheComponentMenuIsInTheSavedFormFile) {
    OpenExample();
    Window->Palette()->setCurrentIndex(Window->Palette()->indexOf(Window->PaletteButton("TzxLang")->parentWidget()));
    Application->ProcessMessages();
    SaveShot(Window->Window()->grab(), "palette-talvenko.png");
    EXPECT_EQ(Window->Palette()->tabText(Window->Palette()->currentIndex()), "talvenko");
    ASSERT_NE(Window->PaletteButton("TzxLangCombo"), nullptr);
    EXPECT_NE(Window->PaletteButton("TzxLangCombo")->parentWidget(), Window->PaletteButton("TzxLang")->parentWidget())
        << "the language combo sits on a page of its own";

    // Drop a TzxLang on the main form and give it a second language.
    TFormDesigner* designer = Window->DesignerOf("MainForm");
    ASSERT_NE(designer, nullptr);
    Window->PaletteButton("TzxLang")->click();
    QWidget* surface = designer->Surface()->childAt(QPoint(300, 150));
    zxtest::ClickAt(surface, surface->mapFrom(designer->Surface(), QPoint(300, 150)));
    Application->ProcessMessages();
    TComponent* lang = designer->Selection();
    ASSERT_NE(lang, nullptr);
    ASSERT_EQ(lang->ClassName(), "TzxLang");
    auto* count = qobject_cast<QLineEdit*>(Window->Inspector()->ValueEditor("NumOfLanguages"));
    ASSERT_NE(count, nullptr);
    count->selectAll();
    zxtest::TypeInto(count, "2");
    PressKey(count, Qt::Key_Return);
    EXPECT_EQ(GetOrdProp(lang, "NumOfLanguages"), 2);

    // Its component menu, as the right button opens it.
    QWidget* tile = designer->WidgetOf(lang);
    ASSERT_NE(tile, nullptr);
    designer->ShowComponentMenu(lang, tile->mapToGlobal(QPoint(4, 4)));
    Application->ProcessMessages();
    QMenu* menu = designer->ComponentMenu();
    ASSERT_NE(menu, nullptr);
    QStringList verbs;
    for (QAction* action : menu->actions())
        verbs << (action->isSeparator() ? QString("-") : action->text());
    EXPECT_EQ(verbs.join("|"), "Translation Editor...|Update Translations|Ignore Removals|-|Translate source");
    QPixmap shot = Window->Window()->grab();
    QPainter painter(&shot);
    painter.drawPixmap(Window->Window()->mapFromGlobal(menu->pos()), menu->grab());
    painter.end();
    SaveShot(shot, "component-menu-tzxlang.png");

    Dialogs.AnswerModal(mrNone, [this](TCustomForm& Editor) {
        auto& grid = zxidetest::Named<TStringGrid>(Editor, "Grid1");
        const Integer row = grid.Cols(0)->IndexOf("OrdersButton");
        ASSERT_GT(row, 0);
        grid.SetCol(2);
        grid.SetRow(row);
        PressKey(grid.Handle(), Qt::Key_F2);
        grid.InplaceEditor()->SelectAll();
        grid.InplaceEditor()->SetSelText("Bestellungen...");
        PressKey(grid.Handle(), Qt::Key_Return);
        Dialogs.Answer(mrYes);
        zxidetest::Named<TMenuItem>(Editor, "miClose").Click();
    });
    menu->actions()[0]->trigger();
    Application->ProcessMessages();
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    EXPECT_TRUE(designer->Module()->FormModified());
    ASSERT_TRUE(Window->SaveAll());
    EXPECT_NE(hosttest::ReadFile(Dir.File("Main.xfm")).find("\1Bestellungen..."), std::string::npos);

    // Reopened, the form's component holds the translation.
    ASSERT_TRUE(Window->OpenProject(Dir.File("Example.dpr")));
    ASSERT_TRUE(Window->OpenUnit(Dir.File("Main.pas"), true));
    TComponent* reopened = Host->FormOf(Dir.File("Main.pas"))->FindComponent("zxLang1");
    ASSERT_NE(reopened, nullptr);
    auto* captions = dynamic_cast<TStrings*>(GetObjectProp(reopened, "Captions"));
    ASSERT_NE(captions, nullptr);
    EXPECT_NE(captions->Text().find("\1Bestellungen..."), AnsiString::npos);
}
