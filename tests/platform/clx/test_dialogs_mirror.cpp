// Real Qt dialogs shown offscreen: when a modal dialog closes, the window
// that was active before it has the keyboard focus again, on the control
// that had it, with no window manager to hand it back.
#include "clx/Dialogs.h"
#include "clx/StdCtrls.h"

#include "ClxTestSupport.h"

#include <QtCore/QTimer>

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

class ModalFocusTest : public TFormTest {
protected:
    void SetUp() override {
        TFormTest::SetUp();
        Make<TEdit>();
        Focused = Make<TEdit>();
        Focused->SetTop(40);
        Form->Show();
        Focused->SetFocus();
        Application->ProcessMessages();
    }
    // Closes the next modal window as its user would, once it is shown.
    static void CloseNextModal() {
        QTimer::singleShot(10, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            else
                CloseNextModal();
        });
    }
    void ExpectFocusBack(const char* Dialog) {
        Application->ProcessMessages();
        EXPECT_EQ(QApplication::activeWindow(), Form->Handle()) << Dialog;
        EXPECT_EQ(QApplication::focusWidget(), Focused->Handle()) << Dialog;
        EXPECT_EQ(Screen->ActiveForm(), Form) << Dialog;
    }

    TEdit* Focused = nullptr;
};

TEST_F(ModalFocusTest, EveryModalDialogGivesTheFocusBackWhenItCloses) {
    ASSERT_EQ(QApplication::focusWidget(), Focused->Handle());

    CloseNextModal();
    ShowMessage("Saved.");
    ExpectFocusBack("message box");

    CloseNextModal();
    AnsiString line = "12";
    EXPECT_FALSE(InputQuery("Go to Line", "Line:", line));
    ExpectFocusBack("input query");

    CloseNextModal();
    TOpenDialog open(nullptr);
    EXPECT_FALSE(open.Execute());
    ExpectFocusBack("file dialog");

    auto* dialog = NewForm<TForm>(Application);
    CloseNextModal();
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    ExpectFocusBack("modal form");
    delete dialog;
}

} // namespace
