// Menus and actions with a real QApplication (offscreen): items as QActions
// in a form's menu bar and in popup menus, the user's choices reaching the
// model, popups asked for by a right click, and linked buttons.
#include "clx/ActnList.h"
#include "clx/Forms.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include "ClxTestSupport.h"
#include "TestSupport.h"

#include <QtGui/QAction>
#include <QtGui/QContextMenuEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

TMenuItem* NewItem(TComponent* Owner, const AnsiString& Caption) {
    auto* item = NewComponent<TMenuItem>(Owner);
    item->SetCaption(Caption);
    return item;
}

class MenusMirrorTest : public testing::Test {
protected:
    void SetUp() override { Form = NewForm<TForm>(Application); }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
};

TEST_F(MenusMirrorTest, TheMainMenuIsTheFormsMenuBar) {
    auto* menu = NewComponent<TMainMenu>(Form);
    auto* file = NewItem(Form, "&File");
    auto* open = NewItem(Form, "&Open");
    menu->Items()->Add(file);
    file->Add(open);
    Form->SetMenu(menu);
    Form->Show();

    QMenuBar* bar = menu->QtMenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->parentWidget(), Form->Handle());
    ASSERT_EQ(bar->actions().size(), 1);
    QAction* fileAction = bar->actions().at(0);
    EXPECT_EQ(fileAction, file->QtAction());
    EXPECT_EQ(fileAction->text(), Q("&File"));
    ASSERT_NE(fileAction->menu(), nullptr);
    EXPECT_EQ(fileAction->menu()->actions().at(0)->text(), Q("&Open"));

    // Changes after the widgets exist show at once.
    file->SetCaption("&Datei");
    EXPECT_EQ(fileAction->text(), Q("&Datei"));
    file->SetCaption("Datei");
    EXPECT_EQ(fileAction->text(), Q("&Datei")) << "an automatic hot key";
    menu->SetAutoHotkeys(maManual);
    EXPECT_EQ(fileAction->text(), Q("Datei"));
    file->SetCaption("&Datei");
    open->SetShortCut(TextToShortCut("Ctrl+O"));
    EXPECT_EQ(open->QtAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    open->SetEnabled(false);
    EXPECT_FALSE(open->QtAction()->isEnabled());
    open->SetVisible(false);
    EXPECT_FALSE(open->QtAction()->isVisible());
    auto* line = NewItem(Form, "-");
    auto* quit = NewItem(Form, "E&xit");
    file->Add(line);
    file->Add(quit);
    QList<QAction*> shown = file->QtSubMenu()->actions();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_TRUE(shown.at(1)->isSeparator());
    EXPECT_TRUE(shown.at(1)->text().isEmpty()) << "a separator with a text is drawn as a section";
    EXPECT_EQ(shown.at(2)->text(), Q("E&xit"));
    quit->SetMenuIndex(0);
    EXPECT_EQ(file->QtSubMenu()->actions().at(0), quit->QtAction());
    delete line;
    EXPECT_EQ(file->QtSubMenu()->actions().size(), 2);

    Form->SetMenu(nullptr);
    EXPECT_EQ(menu->QtMenuBar(), nullptr);
}

TEST_F(MenusMirrorTest, ChoosingAnItemClicksIt) {
    auto* menu = NewComponent<TPopupMenu>(Form);
    auto* wrap = NewItem(Form, "&Wrap");
    wrap->SetAutoCheck(true);
    menu->Items()->Add(wrap);
    Integer clicks = 0;
    wrap->OnClick = [&](TObject*) { ++clicks; };
    menu->Handle();
    wrap->QtAction()->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(wrap->Checked());
    EXPECT_TRUE(wrap->QtAction()->isChecked());
    wrap->QtAction()->trigger();
    EXPECT_FALSE(wrap->Checked());
    EXPECT_FALSE(wrap->QtAction()->isChecked());
}

TEST_F(MenusMirrorTest, ARightClickPopsTheControlsMenuUp) {
    auto* menu = NewComponent<TPopupMenu>(Form);
    menu->Items()->Add(NewItem(Form, "&Copy"));
    Integer popups = 0;
    menu->OnPopup = [&](TObject* Sender) {
        EXPECT_EQ(Sender, menu);
        ++popups;
    };
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    edit->SetPopupMenu(menu);
    auto* label = NewComponent<TLabel>(Form);
    label->SetParent(Form);
    Form->SetPopupMenu(menu);
    Form->Show();

    QWidget* widget = edit->Handle();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            widget->mapToGlobal(QPoint(2, 2)));
    EXPECT_EQ(menu->PopupPoint(), (TPoint{-1, -1}));
    QApplication::sendEvent(widget, &event);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent(), edit);
    EXPECT_EQ(menu->PopupPoint(), (TPoint{event.globalPos().x(), event.globalPos().y()}));
    ASSERT_NE(menu->QtMenu(), nullptr);
    EXPECT_TRUE(menu->QtMenu()->isVisible());
    menu->QtMenu()->close();

    // A control without a menu of its own shows its parent's.
    QContextMenuEvent onLabel(QContextMenuEvent::Mouse, QPoint(1, 1),
                              label->Handle()->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(label->Handle(), &onLabel);
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(menu->PopupComponent(), Form);
    menu->QtMenu()->close();

    menu->SetAutoPopup(false);
    QApplication::sendEvent(widget, &event);
    EXPECT_EQ(popups, 2);
    EXPECT_FALSE(menu->QtMenu()->isVisible());
}

TEST_F(MenusMirrorTest, LinkedButtonsAndItemsFollowAndExecuteTheirAction) {
    auto* list = NewComponent<TActionList>(Form);
    auto* save = NewComponent<TAction>(Form);
    save->SetActionList(list);
    save->SetCaption("&Save");
    Integer executed = 0;
    save->OnExecute = [&](TObject*) { ++executed; };
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    button->SetAction(save);
    auto* menu = NewComponent<TPopupMenu>(Form);
    auto* item = NewItem(Form, "");
    menu->Items()->Add(item);
    item->SetAction(save);
    Form->Show();
    menu->Handle();

    auto* push = qobject_cast<QPushButton*>(button->Handle());
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(push->text(), Q("&Save"));
    push->click();
    item->QtAction()->trigger();
    EXPECT_EQ(executed, 2);

    save->SetCaption("Save &all");
    EXPECT_EQ(push->text(), Q("Save &all"));
    EXPECT_EQ(item->QtAction()->text(), Q("Save &all"));
    save->SetEnabled(false);
    EXPECT_FALSE(push->isEnabled());
    EXPECT_FALSE(item->QtAction()->isEnabled());

    bool canSave = true;
    save->OnUpdate = [&](TObject*) { save->SetEnabled(canSave); };
    Application->Idle();
    EXPECT_TRUE(push->isEnabled());
    canSave = false;
    Application->Idle();
    EXPECT_FALSE(push->isEnabled());
}

TEST_F(MenusMirrorTest, FreeingAFormWithLiveMenusIsClean) {
    auto* menu = NewComponent<TMainMenu>(Form);
    auto* file = NewItem(Form, "&File");
    menu->Items()->Add(file);
    file->Add(NewItem(Form, "&Open"));
    Form->SetMenu(menu);
    auto* popup = NewComponent<TPopupMenu>(Form);
    popup->Items()->Add(NewItem(Form, "&Copy"));
    Form->Show();
    popup->Popup(10, 10);
    QPointer<QMenuBar> bar = menu->QtMenuBar();
    QPointer<QMenu> shown = popup->QtMenu();
    delete Form;
    Form = nullptr;
    EXPECT_TRUE(bar.isNull());
    EXPECT_TRUE(shown.isNull());
}

} // namespace
