// A form's main menu bar sits above the client area: the controls, the
// form's client size and its mouse coordinates leave the bar out.
#include "ClxTestSupport.h"

#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include <QtWidgets/QMenuBar>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

class FormMenuLayoutTest : public TFormTest {
protected:
    TMainMenu* NewMenu() {
        auto* menu = NewComponent<TMainMenu>(Form);
        auto* file = NewComponent<TMenuItem>(Form);
        file->SetCaption("&File");
        menu->Items()->Add(file);
        return menu;
    }
    TButton* ButtonAtTheTop() {
        auto* button = Make<TButton>();
        button->SetBounds(0, 0, 80, 24);
        return button;
    }
    static Integer TopInWindow(TControl* Control, QWidget* Window) {
        return Control->Handle()->mapTo(Window, QPoint(0, 0)).y();
    }
};

TEST_F(FormMenuLayoutTest, ControlsStartBelowTheMenuBar) {
    TButton* button = ButtonAtTheTop();
    TMainMenu* menu = NewMenu();
    Form->SetMenu(menu);
    QWidget* window = Form->Handle();
    QMenuBar* bar = menu->QtMenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_GT(bar->height(), 0);

    EXPECT_GE(TopInWindow(button, window), bar->height());
    EXPECT_EQ(Form->ClientHeight(), 300);
    EXPECT_EQ(Form->Height(), 300);
    EXPECT_EQ(window->height(), 300 + bar->height());
    EXPECT_EQ(button->Handle()->parentWidget()->height(), 300);
}

TEST_F(FormMenuLayoutTest, AMenuSetOnAnExistingWindowMovesTheControlsDown) {
    TButton* button = ButtonAtTheTop();
    QWidget* window = Form->Handle();
    Form->SetMenu(NewMenu());
    Integer barHeight = Form->Menu()->QtMenuBar()->height();
    EXPECT_GT(barHeight, 0);
    EXPECT_GE(TopInWindow(button, window), barHeight);
    EXPECT_EQ(window->height(), 300 + barHeight);
    EXPECT_EQ(Form->ClientHeight(), 300);
}

TEST_F(FormMenuLayoutTest, WithoutAMenuNothingMoves) {
    TButton* button = ButtonAtTheTop();
    QWidget* window = Form->Handle();
    EXPECT_EQ(TopInWindow(button, window), 0);
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_EQ(Form->ClientHeight(), 300);
}

TEST_F(FormMenuLayoutTest, RemovingTheMenuGivesTheSpaceBack) {
    TButton* button = ButtonAtTheTop();
    Form->SetMenu(NewMenu());
    QWidget* window = Form->Handle();
    Form->SetMenu(nullptr);
    EXPECT_EQ(TopInWindow(button, window), 0);
    EXPECT_EQ(window->height(), 300);
    EXPECT_EQ(Form->ClientHeight(), 300);
}

TEST_F(FormMenuLayoutTest, FreeingTheMenuGivesTheSpaceBack) {
    TButton* button = ButtonAtTheTop();
    TMainMenu* menu = NewMenu();
    Form->SetMenu(menu);
    QWidget* window = Form->Handle();
    delete menu;
    EXPECT_EQ(Form->Menu(), nullptr);
    EXPECT_EQ(TopInWindow(button, window), 0);
    EXPECT_EQ(window->height(), 300);
}

TEST_F(FormMenuLayoutTest, SizingTheWindowKeepsTheClientSize) {
    Form->SetMenu(NewMenu());
    Form->Show();
    QWidget* window = Form->Handle();
    Integer barHeight = Form->Menu()->QtMenuBar()->height();
    window->resize(500, 250 + barHeight);
    Application->ProcessMessages();
    EXPECT_EQ(Form->Width(), 500);
    EXPECT_EQ(Form->Height(), 250);

    // Setting the client size from code sizes the window around it.
    Form->SetBounds(Form->Left(), Form->Top(), 420, 200);
    EXPECT_EQ(window->height(), 200 + barHeight);
    EXPECT_EQ(Form->Height(), 200);
}

TEST_F(FormMenuLayoutTest, MousePositionsAreInClientCoordinates) {
    TButton* button = ButtonAtTheTop();
    Form->SetMenu(NewMenu());
    Form->Handle();
    Integer downX = -1;
    Integer downY = -1;
    Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
        downX = X;
        downY = Y;
    };
    ClickAt(button->Handle()->parentWidget(), QPoint(120, 40));
    EXPECT_EQ(downX, 120);
    EXPECT_EQ(downY, 40);
}

} // namespace
