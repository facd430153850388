// zxide on a copy of the example project, used through its windows as a
// user would: the project window, the designer, the inspector, the palette,
// the component menu, the edit window and the File menu's commands.
#include "ClxTestSupport.h"
#include "IdeOptions.h"
#include "IdeWindow.h"
#include "StandardPalette.h"
#include "TestSupport.h"

#include "clx/Dialogs.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include <Qsci/qsciscintilla.h>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>

#include <filesystem>
#include <fstream>
#include <sstream>

using zxtest::ClickAt;
using zxtest::TypeInto;

namespace {

testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

std::string ReadFile(const std::string& Name) {
    std::ifstream file(Name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void SendMouse(QWidget* Widget, QEvent::Type Type, Qt::MouseButton Button, QPoint At) {
    QMouseEvent event(Type, QPointF(At), QPointF(Widget->mapToGlobal(At)), Button,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Button, Qt::NoModifier);
    QApplication::sendEvent(Widget, &event);
}

void PressKey(QWidget* Widget, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, Key, Modifiers);
    QApplication::sendEvent(Widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Key, Modifiers);
    QApplication::sendEvent(Widget, &release);
}

void SaveScreenshot(QWidget* Window, const std::string& Name) {
    std::filesystem::create_directories(zxtest::TestOutputDir() + "/zxide");
    const std::string file = zxtest::TestOutputDir() + "/zxide/" + Name;
    ASSERT_TRUE(Window->grab().save(QString::fromStdString(file))) << file;
}

class ZxideTest : public testing::Test {
protected:
    ZxideTest() : Guard(Dialogs) {
        std::filesystem::copy(ZX_EXAMPLES_DIR, Dir.Path(), std::filesystem::copy_options::recursive);
        RegisterStandardPalette();
        Window = std::make_unique<TIdeWindow>(Host);
        Window->Window()->resize(1280, 860);
        Window->Show();
    }
    ~ZxideTest() override {
        Window.reset();
        Application->ProcessMessages();
    }

    std::string File(const std::string& Name) const { return Dir.File(Name); }
    void OpenExample() {
        ASSERT_TRUE(Window->OpenProject(File("Example.dpr")));
        Application->ProcessMessages();
    }
    TFormDesigner* MainDesigner() const { return Window->DesignerOf("MainForm"); }
    TComponent* MainComponent(const char* Name) const { return MainDesigner()->Root()->FindComponent(Name); }
    // A click on the component where the user sees it.
    void ClickComponent(TFormDesigner* Designer, TComponent* Component,
                        Qt::MouseButton Button = Qt::LeftButton) {
        QWidget* widget = Designer->WidgetOf(Component);
        ASSERT_NE(widget, nullptr);
        SendMouse(widget, QEvent::MouseButtonPress, Button, QPoint(3, 3));
        SendMouse(widget, QEvent::MouseButtonRelease, Button, QPoint(3, 3));
    }
    void DoubleClickComponent(TFormDesigner* Designer, TComponent* Component) {
        QWidget* widget = Designer->WidgetOf(Component);
        SendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(3, 3));
        SendMouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(3, 3));
        SendMouse(widget, QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(3, 3));
        SendMouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(3, 3));
    }
    // Types a new value into the inspector's text cell of the property.
    void TypeValue(const AnsiString& Path, const QString& Text) {
        auto* edit = qobject_cast<QLineEdit*>(Window->Inspector()->ValueEditor(Path));
        ASSERT_NE(edit, nullptr) << Path;
        edit->selectAll();
        TypeInto(edit, Text);
        PressKey(edit, Qt::Key_Return);
    }
    void ChooseValue(const AnsiString& Path, const QString& Text) {
        auto* box = qobject_cast<QComboBox*>(Window->Inspector()->ValueEditor(Path));
        ASSERT_NE(box, nullptr) << Path;
        int index = box->findText(Text);
        ASSERT_GE(index, 0) << Text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // Drops a component of the palette's class onto the form at Position.
    TComponent* DropFromPalette(const AnsiString& ClassName, TFormDesigner* Designer, QPoint Position) {
        QToolButton* button = Window->PaletteButton(ClassName);
        EXPECT_NE(button, nullptr) << ClassName;
        if (!button)
            return nullptr;
        button->click();
        ClickAt(Designer->Surface()->childAt(Position), Designer->Surface()->childAt(Position)->mapFrom(Designer->Surface(), Position));
        Application->ProcessMessages();
        return Designer->Selection();
    }

    zxtest::TTempDir Dir;
    TScriptedDialogService Dialogs;
    TDialogServiceGuard Guard;
    TDesignHost Host;
    std::unique_ptr<TIdeWindow> Window;
};

} // namespace

TEST(ZxideOptions, CommandLineAndThePackageBesideTheProgram) {
    const char* plain[] = {"zxide", "Example.dpr"};
    TIdeOptions options = ParseIdeOptions(2, plain);
    EXPECT_EQ(options.ProjectFile, "Example.dpr");
    EXPECT_EQ(options.Version, ideK2);
    EXPECT_EQ(options.PackageFile, DefaultPackageFile(ideK2));
    const char* full[] = {"zxide", "--ide=K3D", "--package", "/tmp/p.so", "A.dpr"};
    options = ParseIdeOptions(5, full);
    EXPECT_EQ(options.Version, ideK3D);
    EXPECT_EQ(options.PackageFile, "/tmp/p.so");
    EXPECT_EQ(options.ProjectFile, "A.dpr");
    const char* missing[] = {"zxide", "--package"};
    const char* unknown[] = {"zxide", "--bogus"};
    const char* two[] = {"zxide", "A.dpr", "B.dpr"};
    EXPECT_THROW(ParseIdeOptions(2, missing), EConvertError);
    EXPECT_THROW(ParseIdeOptions(2, unknown), EConvertError);
    EXPECT_THROW(ParseIdeOptions(3, two), EConvertError);

    // The build puts the packages beside the program, where it looks.
    const AnsiString testProgram = ParamStr(0);
    Application->SetExeName(ZX_PROGRAM);
    const AnsiString beside = DefaultPackageFile(ideK3D);
    Application->SetExeName(testProgram);
    EXPECT_EQ(beside, ExtractFilePath(ZX_PROGRAM) + "bplTZxLang_K3D.so");
    EXPECT_TRUE(FileExists(beside));
}

TEST_F(ZxideTest, DesignerSelectsAndTheInspectorChangesTheLiveForm) {
    // The host's main window is the program's window, and it shows.
    EXPECT_TRUE(Window->Window()->isVisible());
    EXPECT_TRUE(Window->Window()->isWindow());
    OpenExample();
    // The project window lists the units and forms; the main form opens.
    QTreeWidgetItem* project = Window->ProjectTree()->topLevelItem(0);
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->text(0), "Example.dpr");
    ASSERT_EQ(project->childCount(), 3);
    EXPECT_EQ(project->child(2)->child(0)->text(0), "DataModule1");
    ASSERT_NE(MainDesigner(), nullptr);
    EXPECT_EQ(Window->Documents()->currentWidget(), MainDesigner());

    // Choosing the value a property has changes nothing.
    ChooseValue("Enabled", "True");
    EXPECT_FALSE(MainDesigner()->Module()->GetModified());

    // A click selects the button instead of pressing it.
    auto* button = dynamic_cast<TButton*>(MainComponent("OrdersButton"));
    bool clicked = false;
    button->OnClick = [&clicked](TObject*) { clicked = true; };
    ClickComponent(MainDesigner(), button);
    EXPECT_FALSE(clicked);
    EXPECT_EQ(MainDesigner()->Selection(), button);
    EXPECT_EQ(Window->Inspector()->Instance(), button);
    EXPECT_EQ(MainDesigner()->ComponentTree()->currentItem()->text(0), "OrdersButton: TButton");
    EXPECT_EQ(Window->Inspector()->Title(), "OrdersButton: TButton");

    TypeValue("Caption", "Show orders");
    EXPECT_EQ(qobject_cast<QPushButton*>(button->Handle())->text(), "Show orders");
    Application->ProcessMessages();
    // The form changed, its unit did not.
    EXPECT_EQ(Window->Documents()->tabText(Window->Documents()->currentIndex()), "MainForm*");
    EXPECT_EQ(Window->Documents()->tabText(Window->Documents()->currentIndex() - 1), "Main.pas");
    TypeValue("Name", "ShowButton");
    EXPECT_EQ(Window->Inspector()->Title(), "ShowButton: TButton");
    EXPECT_NE(Window->EditorOf(File("Main.pas"))->Text().find("ShowButton: TButton;"), std::string::npos);
    ChooseValue("Enabled", "False");
    EXPECT_FALSE(button->Handle()->isEnabled());
    ASSERT_NE(Window->Inspector()->Row("Font.Size"), nullptr);
    TypeValue("Font.Size", "14");
    EXPECT_EQ(button->Font()->Size(), 14);
    // A value the property refuses is reported and shown as it was.
    Dialogs.Answer(mrOk);
    TypeValue("Width", "wide");
    EXPECT_EQ(qobject_cast<QLineEdit*>(Window->Inspector()->ValueEditor("Width"))->text(),
              QString::number(button->Width()));
    EXPECT_EQ(Dialogs.Requests().size(), 1u);

    // The event of the default editor: double-clicking the form's label
    // writes its handler and shows it in the edit window.
    DoubleClickComponent(MainDesigner(), MainComponent("TitleLabel"));
    TSourceEditor* editor = Window->EditorOf(File("Main.pas"));
    EXPECT_EQ(Window->Documents()->currentWidget(), editor);
    EXPECT_NE(editor->Text().find("procedure TMainForm.TitleLabelClick(Sender: TObject);\nbegin\n\nend;"),
              std::string::npos);
    EXPECT_EQ(editor->Edit()->text(editor->CurrentLine() - 1).toStdString(), "\n");

    Window->Documents()->setCurrentWidget(MainDesigner());
    ClickComponent(MainDesigner(), button);
    Application->ProcessMessages();
    SaveScreenshot(Window->Window(), "designer-and-inspector.png");
}

TEST_F(ZxideTest, PaletteDropsAComponentWithItsFieldAndTheFormIsSavedAndReopened) {
    OpenExample();
    TComponent* dropped = DropFromPalette("TButton", MainDesigner(), QPoint(150, 110));
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(dropped->Name(), "Button1");
    auto* control = dynamic_cast<TControl*>(dropped);
    EXPECT_EQ(control->Left(), 150);
    EXPECT_TRUE(control->HandleAllocated());
    EXPECT_FALSE(Window->PaletteButton("TButton")->isChecked());
    // Without a class chosen a click selects again.
    ClickComponent(MainDesigner(), MainComponent("TitleLabel"));
    EXPECT_EQ(MainDesigner()->ComponentTree()->topLevelItem(0)->childCount(), 3);
    TSourceEditor* editor = Window->EditorOf(File("Main.pas"));
    EXPECT_NE(editor->Text().find("    Button1: TButton;\n"), std::string::npos);

    // Ending the program asks first; Cancel keeps the project open.
    Dialogs.Answer(mrCancel);
    EXPECT_FALSE(Window->QueryClose());
    EXPECT_TRUE(Host.IsFileOpen(File("Main.pas")));
    ASSERT_TRUE(Window->SaveAll());
    EXPECT_NE(ReadFile(File("Main.pas")).find("Button1: TButton;"), std::string::npos);
    Window->Documents()->setCurrentWidget(Window->EditorOf(File("Example.dpr")));
    ASSERT_TRUE(Window->CloseCurrent());
    EXPECT_EQ(Window->Documents()->count(), 0);
    EXPECT_EQ(Window->ProjectTree()->topLevelItemCount(), 0);
    OpenExample();
    ASSERT_NE(MainComponent("Button1"), nullptr);
    EXPECT_EQ(dynamic_cast<TControl*>(MainComponent("Button1"))->Top(), 110);
}

TEST_F(ZxideTest, EditWindowUndoesRedoesGoesToALineAndSavesOnlyWhenAsked) {
    EXPECT_FALSE(Window->UndoItem()->Enabled());
    OpenExample();
    Window->OpenUnit(File("Orders.pas"), false);
    Application->ProcessMessages();
    TSourceEditor* editor = Window->EditorOf(File("Orders.pas"));
    ASSERT_EQ(Window->Documents()->currentWidget(), editor);
    const AnsiString original = editor->Text();
    Dialogs.AnswerInput("10");
    Window->GoToLine();
    EXPECT_EQ(editor->CurrentLine(), 10);
    editor->Edit()->setCursorPosition(9, 4);
    TypeInto(editor->Edit(), "{ note } ");
    TDesignModule* module = editor->Module();
    EXPECT_NE(module->Source().Text().find("    { note } CustomerLabel"), std::string::npos);
    EXPECT_TRUE(module->GetModified());
    Window->Undo();
    EXPECT_EQ(module->Source().Text(), original);
    Window->Redo();
    EXPECT_NE(module->Source().Text().find("{ note } CustomerLabel"), std::string::npos);
    SaveScreenshot(Window->Window(), "source-editor.png");

    EXPECT_TRUE(Window->UndoItem()->Enabled());

    // What the host writes (a component's field) is one step of the window.
    // A designer has no undo steps: Undo and Redo say so.
    Window->Documents()->setCurrentWidget(Window->DesignerOf("OrdersForm"));
    EXPECT_FALSE(Window->UndoItem()->Enabled());
    EXPECT_FALSE(Window->RedoItem()->Enabled());
    DropFromPalette("TCheckBox", Window->DesignerOf("OrdersForm"), QPoint(20, 60));
    EXPECT_NE(editor->Text().find("CheckBox1: TCheckBox;"), std::string::npos);
    Window->Documents()->setCurrentWidget(editor);
    Window->Undo();
    EXPECT_EQ(editor->Text().find("CheckBox1"), std::string::npos);
    Window->Redo();

    // Closing asks: Cancel keeps everything, No gives the changes up.
    Window->Documents()->setCurrentWidget(editor);
    Dialogs.Answer(mrCancel);
    EXPECT_FALSE(Window->CloseCurrent());
    EXPECT_TRUE(Host.IsFileOpen(File("Orders.pas")));
    Dialogs.Answer(mrNo);
    EXPECT_TRUE(Window->CloseCurrent());
    EXPECT_FALSE(Host.IsFileOpen(File("Orders.pas")));
    EXPECT_EQ(Window->EditorOf(File("Orders.pas")), nullptr);
    EXPECT_EQ(Window->DesignerOf("OrdersForm"), nullptr);
    EXPECT_EQ(ReadFile(File("Orders.pas")), ReadFile(ZX_EXAMPLES_DIR "/Orders.pas"));
}

TEST_F(ZxideTest, PackageEditorsMenuVerbsValueListsAndDialogs) {
    ASSERT_TRUE(Host.LoadPackage(ZX_TEST_PACKAGE_K2));
    Dialogs.Answer(mrOk);
    EXPECT_FALSE(Host.LoadPackage(ZX_TEST_PACKAGE_K1));
    EXPECT_NE(Window->Messages()->item(0)->text().toStdString().find("was built for IDE version K1"),
              std::string::npos);
    Window->RebuildPalette();
    OpenExample();
    TComponent* widget = DropFromPalette("TZxTestWidget", MainDesigner(), QPoint(200, 20));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->Name(), "ZxTestWidget1");

    ClickComponent(MainDesigner(), widget, Qt::RightButton);
    QMenu* menu = MainDesigner()->ComponentMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "Say hello");
    menu->actions()[0]->trigger();
    EXPECT_EQ(GetStrProp(widget, "Caption"), "Hello");
    Application->ProcessMessages();

    ChooseValue("Caption", "Goodbye");
    EXPECT_EQ(GetStrProp(widget, "Caption"), "Goodbye");
    DoubleClickComponent(MainDesigner(), widget);
    EXPECT_EQ(GetStrProp(widget, "Caption"), "Hello");

    // A list property's "..." opens the lines dialog.
    auto* memo = dynamic_cast<TMemo*>(DropFromPalette("TMemo", MainDesigner(), QPoint(20, 80)));
    ASSERT_NE(memo, nullptr);
    QWidget* linesCell = Window->Inspector()->Rows()->itemWidget(Window->Inspector()->Row("Lines"), 1);
    auto* more = linesCell->findChild<QToolButton*>();
    ASSERT_NE(more, nullptr);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPlainTextEdit*>("Lines")->setPlainText("first\nsecond");
        dialog->accept();
    });
    more->click();
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Get(1), "second");
}

TEST_F(ZxideTest, KeysAndTheWheelActWhereTheUserIs) {
    OpenExample();
    QApplication::setActiveWindow(Window->Window());
    TFormDesigner* designer = MainDesigner();
    auto* button = dynamic_cast<TButton*>(MainComponent("OrdersButton"));
    bool clicked = false;
    button->OnClick = [&clicked](TObject*) { clicked = true; };

    // The arrow keys in the component tree select, as the mouse does.
    designer->ComponentTree()->setFocus();
    QTest::keyClick(designer->ComponentTree(), Qt::Key_Down);
    QTest::keyClick(designer->ComponentTree(), Qt::Key_Down);
    EXPECT_EQ(designer->Selection(), button);
    EXPECT_EQ(Window->Inspector()->Title(), "OrdersButton: TButton");

    // The wheel over a drop-down scrolls the inspector and leaves the value.
    QWidget* align = Window->Inspector()->ValueEditor("Align");
    QWheelEvent wheel(QPointF(5, 5), align->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(align, &wheel);
    EXPECT_EQ(GetOrdProp(button, "Align"), alNone);
    EXPECT_GT(Window->Inspector()->Rows()->verticalScrollBar()->value(), 0);

    // The form's default button takes no Enter meant for the inspector.
    ChooseValue("Default", "True");
    Application->ProcessMessages();
    auto* caption = qobject_cast<QLineEdit*>(Window->Inspector()->ValueEditor("Caption"));
    caption->setFocus();
    caption->selectAll();
    QTest::keyClicks(caption, "Go");
    QTest::keyClick(caption, Qt::Key_Return);
    EXPECT_EQ(button->Caption(), "Go");
    EXPECT_FALSE(clicked);

    // Enter in the project window opens what it names.
    QTreeWidgetItem* ordersForm = Window->ProjectTree()->topLevelItem(0)->child(1)->child(0);
    Window->ProjectTree()->setFocus();
    Window->ProjectTree()->setCurrentItem(ordersForm);
    QTest::keyClick(Window->ProjectTree(), Qt::Key_Return);
    Application->ProcessMessages();
    ASSERT_NE(Window->DesignerOf("OrdersForm"), nullptr);
    EXPECT_EQ(Window->Documents()->currentWidget(), Window->DesignerOf("OrdersForm"));
}
