// The Qt mirror with a real QApplication (offscreen): state pushed into the
// widgets before and after they exist, user input written back with its
// events, the widget tree and its ownership, real Qt dialogs, painting, and
// a screenshot of a small form.
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include "ClxTestSupport.h"
#include "TestSupport.h"

#include <QtCore/QTimer>
#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFrame>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

// Runs Action on the first widget of class W that becomes the active modal
// widget, once the dialog's own event loop runs.
template <typename W> void WhenModal(std::function<void(W*)> Action) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, Action] {
        if (auto* widget = qobject_cast<W*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            Action(widget);
        }
    });
    timer->start(10);
}

class MirrorTest : public testing::Test {
protected:
    void SetUp() override {
        Form = NewForm<TForm>(Application);
        Form->SetBounds(10, 10, 300, 200);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }

    TForm* Form = nullptr;
    TScriptedDialogService Dialogs;
    TDialogServiceGuard Guard{Dialogs};
};

TEST_F(MirrorTest, CaptionsShowBeforeAndAfterTheWidgetExists) {
    auto* label = NewComponent<TLabel>(Form);
    label->SetParent(Form);
    label->SetCaption("&Name:");
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    button->SetCaption("&OK");
    Form->SetCaption("Before");
    EXPECT_FALSE(Form->HandleAllocated());

    QWidget* window = Form->Handle();
    EXPECT_TRUE(label->HandleAllocated());
    EXPECT_EQ(window->windowTitle(), Q("Before"));
    auto* qlabel = qobject_cast<QLabel*>(label->Handle());
    ASSERT_NE(qlabel, nullptr);
    EXPECT_EQ(qlabel->text(), Q("Name:"));
    auto* qbutton = qobject_cast<QPushButton*>(button->Handle());
    ASSERT_NE(qbutton, nullptr);
    EXPECT_EQ(qbutton->text(), Q("&OK"));

    Form->SetCaption("After");
    SetStrProp(label, "Caption", "Plain");
    button->SetCaption("&Cancel");
    EXPECT_EQ(window->windowTitle(), Q("After"));
    EXPECT_EQ(qlabel->text(), Q("Plain"));
    EXPECT_EQ(qbutton->text(), Q("&Cancel"));
}

TEST_F(MirrorTest, AccessKeysShowOnlyWithAControlToFocus) {
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    auto* label = NewComponent<TLabel>(Form);
    label->SetParent(Form);
    label->SetCaption("&Name && title");
    auto* qlabel = qobject_cast<QLabel*>(label->Handle());
    EXPECT_EQ(qlabel->text(), Q("Name & title"));
    label->SetFocusControl(edit);
    EXPECT_EQ(qlabel->text(), Q("&Name && title"));
    EXPECT_EQ(qlabel->buddy(), edit->Handle());
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(qlabel->buddy(), nullptr);
}

TEST_F(MirrorTest, FontsShowBeforeAndAfterTheWidgetExists) {
    auto* label = NewComponent<TLabel>(Form);
    label->SetParent(Form);
    Form->Font()->SetName("DejaVu Serif");
    Form->Font()->SetHeight(-20);
    label->Font()->SetStyle({fsBold});
    QWidget* widget = label->Handle();
    EXPECT_EQ(widget->font().family(), Q("DejaVu Serif"));
    EXPECT_EQ(widget->font().pixelSize(), 20);
    EXPECT_TRUE(widget->font().bold());

    label->Font()->SetStyle({fsItalic, fsUnderline});
    label->Font()->SetColor(clRed);
    EXPECT_FALSE(widget->font().bold());
    EXPECT_TRUE(widget->font().italic());
    EXPECT_TRUE(widget->font().underline());
    EXPECT_EQ(widget->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    EXPECT_EQ(button->Handle()->font().pixelSize(), 20);
    Form->Font()->SetHeight(-30);
    EXPECT_EQ(button->Handle()->font().pixelSize(), 30);
    EXPECT_EQ(widget->font().pixelSize(), 20);
}

TEST_F(MirrorTest, StateIsPushedIntoTheWidget) {
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    edit->SetBounds(5, 6, 70, 22);
    edit->SetHint("Type|Type a name");
    edit->SetShowHint(true);
    edit->SetReadOnly(true);
    edit->SetEnabled(false);
    edit->SetCursor(crIBeam);
    auto* line = qobject_cast<QLineEdit*>(edit->Handle());
    EXPECT_EQ(line->geometry(), QRect(5, 6, 70, 22));
    EXPECT_EQ(line->toolTip(), Q("Type"));
    EXPECT_EQ(line->statusTip(), Q("Type a name"));
    EXPECT_TRUE(line->isReadOnly());
    EXPECT_FALSE(line->isEnabled());
    EXPECT_EQ(line->cursor().shape(), Qt::IBeamCursor);
    edit->SetEchoMode(emPassword);
    edit->SetMaxLength(4);
    edit->SetEnabled(true);
    edit->SetVisible(false);
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);
    EXPECT_EQ(line->maxLength(), 4);
    EXPECT_TRUE(line->isEnabled());
    EXPECT_TRUE(line->isHidden());
    edit->SetColor(clYellow);
    EXPECT_EQ(line->palette().color(line->backgroundRole()), QColor(255, 255, 0));
}

TEST_F(MirrorTest, TypingReachesTheEditAndFiresOnChange) {
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    std::vector<AnsiString> changes;
    edit->OnChange = [&](TObject*) { changes.push_back(edit->Text()); };
    auto* line = qobject_cast<QLineEdit*>(edit->Handle());
    TypeInto(line, Q("ab"));
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(changes, (std::vector<AnsiString>{"a", "ab"}));

    edit->SetText("code");
    EXPECT_EQ(line->text(), Q("code"));
    EXPECT_EQ(changes.back(), "code");
    EXPECT_EQ(changes.size(), 3U);
}

TEST_F(MirrorTest, KeyPressCanReplaceOrSwallowCharacters) {
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    edit->OnKeyPress = [](TObject*, WideChar& Key) {
        if (Key == u'x')
            Key = 0;
        else if (Key >= u'a' && Key <= u'z')
            Key = static_cast<WideChar>(Key - u'a' + u'A');
    };
    std::vector<Integer> downs;
    edit->OnKeyDown = [&](TObject*, Integer& Key, TShiftState) { downs.push_back(Key); };
    TypeInto(edit->Handle(), Q("axb1"));
    EXPECT_EQ(edit->Text(), "AB1");
    EXPECT_EQ(downs.size(), 4U);
}

TEST_F(MirrorTest, KeyHandlersSeeThePlatformsKeyCodes) {
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    std::vector<std::pair<Integer, bool>> downs;
    edit->OnKeyDown = [&](TObject*, Integer& Key, TShiftState Shift) {
        downs.emplace_back(Key, Shift.Contains(ssShift));
        if (Key == Key_Delete)
            Key = 0;
    };
    edit->SetText("ab");
    for (auto [key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                  {Qt::Key_Escape, Qt::NoModifier},
                                  {Qt::Key_Tab, Qt::ShiftModifier},
                                  {Qt::Key_Left, Qt::NoModifier},
                                  {Qt::Key_F12, Qt::NoModifier},
                                  {Qt::Key_Shift, Qt::NoModifier},
                                  {Qt::Key_Delete, Qt::NoModifier}}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(edit->Handle(), &press);
    }
    TypeInto(edit->Handle(), Q("q"));
    EXPECT_EQ(downs, (std::vector<std::pair<Integer, bool>>{
                         {Key_Return, false}, {Key_Escape, false}, {Key_Tab, true},
                         {Key_Left, false}, {Key_F12, false}, {Key_Shift, true},
                         {Key_Delete, false}, {'Q', false}}));
    // The swallowed Delete never reached the edit; Left moved the cursor.
    EXPECT_EQ(edit->Text(), "aqb");
}

TEST_F(MirrorTest, AFormPreviewsKeysFocusesItsActiveControlAndMeasuresText) {
    auto* first = NewComponent<TEdit>(Form);
    first->SetParent(Form);
    auto* second = NewComponent<TEdit>(Form);
    second->SetParent(Form);
    second->SetTop(40);
    Form->SetActiveControl(second);
    Form->Show();
    Application->ProcessMessages();
    Form->Handle()->activateWindow();
    EXPECT_EQ(QApplication::focusWidget(), second->Handle());
    EXPECT_EQ(Form->ActiveControl(), second);
    Form->SetActiveControl(first);
    EXPECT_EQ(Form->ActiveControl(), first);

    std::vector<AnsiString> seen;
    Form->OnKeyDown = [&](TObject*, Integer& Key, TShiftState) {
        seen.push_back("form");
        if (Key == Key_Escape)
            Key = 0;
    };
    first->OnKeyDown = [&](TObject*, Integer&, TShiftState) { seen.push_back("edit"); };
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(first->Handle(), &escape);
    // Without KeyPreview the form sees only what the edit leaves.
    EXPECT_EQ(seen, (std::vector<AnsiString>{"edit", "form"}));
    Form->SetKeyPreview(true);
    seen.clear();
    QApplication::sendEvent(first->Handle(), &escape);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(first->Handle(), &down);
    // Escape stops at the form; Down reaches it first, then the edit.
    EXPECT_EQ(seen, (std::vector<AnsiString>{"form", "form", "edit", "form"}));

    Integer small = Form->Canvas()->TextWidth("Language");
    Form->Font()->SetSize(Form->Font()->Size() * 2);
    EXPECT_GT(Form->Canvas()->TextWidth("Language"), small);
}

TEST_F(MirrorTest, ClicksFireOnClick) {
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    Integer clicks = 0;
    button->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, button);
        ++clicks;
    };
    qobject_cast<QPushButton*>(button->Handle())->click();
    EXPECT_EQ(clicks, 1);

    auto* label = NewComponent<TLabel>(Form);
    label->SetParent(Form);
    std::vector<AnsiString> log;
    label->OnMouseDown = [&](TObject*, TMouseButton Button, TShiftState, Integer X, Integer) {
        log.push_back(Button == mbLeft ? "down" : "other");
        EXPECT_EQ(X, 3);
    };
    label->OnClick = [&](TObject*) { log.push_back("click"); };
    QWidget* widget = label->Handle();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 4), widget->mapToGlobal(QPointF(3, 4)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 4),
                        widget->mapToGlobal(QPointF(3, 4)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    EXPECT_EQ(log, (std::vector<AnsiString>{"down", "click"}));
}

TEST_F(MirrorTest, AnExceptionInAHandlerReachesTheDialogService) {
    Application->SetTitle("Mirror");
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    button->OnClick = [](TObject*) { throw EConvertError("'abc' is not a valid integer value"); };
    Dialogs.Answer(mrOk);
    qobject_cast<QPushButton*>(button->Handle())->click();
    ASSERT_EQ(Dialogs.Requests().size(), 1U);
    EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError);
    EXPECT_EQ(Dialogs.LastRequest().Caption, "Mirror");
    EXPECT_EQ(Dialogs.LastRequest().Text, "'abc' is not a valid integer value.");
    Application->SetTitle("");
}

TEST_F(MirrorTest, TheWidgetTreeFollowsParent) {
    auto* left = NewComponent<TFrame>(Form);
    auto* right = NewComponent<TFrame>(Form);
    left->SetParent(Form);
    right->SetParent(Form);
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(left);
    Form->HandleNeeded();
    EXPECT_EQ(button->Handle()->parentWidget(), left->Handle());
    EXPECT_TRUE(Form->Handle()->isAncestorOf(left->Handle()));

    button->SetParent(right);
    EXPECT_EQ(button->Handle()->parentWidget(), right->Handle());
    button->SetParent(nullptr);
    EXPECT_FALSE(button->HandleAllocated());
    auto* added = NewComponent<TLabel>(Form);
    added->SetParent(right);
    EXPECT_TRUE(added->HandleAllocated());
    delete button;
}

TEST_F(MirrorTest, AHandleMadeAgainTakesTheWholeState) {
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    edit->HandleNeeded();
    edit->DestroyHandle();
    EXPECT_FALSE(edit->HandleAllocated());
    edit->SetText("kept");
    edit->SetBounds(1, 2, 50, 20);
    auto* line = qobject_cast<QLineEdit*>(edit->Handle());
    EXPECT_EQ(line->text(), Q("kept"));
    EXPECT_EQ(line->geometry(), QRect(1, 2, 50, 20));
    EXPECT_TRUE(Form->Handle()->isAncestorOf(line));
}

TEST_F(MirrorTest, FreeingAFormWithLiveWidgetsIsClean) {
    auto* form = NewForm<TForm>(Application);
    auto* frame = NewComponent<TFrame>(form);
    frame->SetParent(form);
    frame->SetAlign(alClient);
    auto* inner = NewComponent<TFrame>(form);
    inner->SetParent(frame);
    auto* edit = NewComponent<TEdit>(inner);
    edit->SetParent(inner);
    auto* foreign = NewComponent<TButton>(Form);
    foreign->SetParent(frame);
    auto* orphan = NewComponent<TLabel>(nullptr);
    orphan->SetParent(inner);
    form->Show();
    QPointer<QWidget> window = form->Handle();
    QPointer<QWidget> editWidget = edit->Handle();
    QPointer<QWidget> foreignWidget = foreign->Handle();
    ASSERT_TRUE(editWidget->isVisible());
    delete form;
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(editWidget.isNull());
    EXPECT_TRUE(foreignWidget.isNull());
    EXPECT_EQ(Form->ComponentCount(), 0);
}

TEST_F(MirrorTest, AControlFreedInItsOwnHandlerIsDeletedSafely) {
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    button->OnClick = [button](TObject*) { delete button; };
    QPointer<QPushButton> widget = qobject_cast<QPushButton*>(button->Handle());
    widget->click();
    EXPECT_EQ(Form->ControlCount(), 0);
    Application->ProcessMessages();
    EXPECT_TRUE(widget.isNull());
}

TEST_F(MirrorTest, TheUserSizingAWindowReachesTheForm) {
    auto* client = NewComponent<TFrame>(Form);
    client->SetParent(Form);
    client->SetAlign(alClient);
    Integer resizes = 0;
    Form->OnResize = [&](TObject*) { ++resizes; };
    Form->Show();
    Form->Handle()->resize(400, 250);
    EXPECT_EQ(Form->ClientWidth(), 400);
    EXPECT_EQ(Form->ClientHeight(), 250);
    EXPECT_EQ(client->BoundsRect(), Rect(0, 0, 400, 250));
    EXPECT_EQ(client->Handle()->geometry(), QRect(0, 0, 400, 250));
    EXPECT_GE(resizes, 1);
}

TEST_F(MirrorTest, TheCloseButtonRunsTheCloseProtocol) {
    std::vector<AnsiString> log;
    Form->OnCloseQuery = [&](TObject*, bool& CanClose) {
        log.push_back("query");
        CanClose = log.size() > 1;
    };
    Form->OnClose = [&](TObject*, TCloseAction&) { log.push_back("close"); };
    Form->Show();
    QWidget* window = Form->Handle();
    ASSERT_TRUE(window->isVisible());
    window->close();
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(window->isVisible());
    window->close();
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(log, (std::vector<AnsiString>{"query", "query", "close"}));
}

TEST_F(MirrorTest, WindowAttributesReachTheWindow) {
    Form->SetBorderStyle(fbsDialog);
    Form->SetFormStyle(fsStayOnTop);
    QWidget* window = Form->Handle();
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->windowType(), Qt::Dialog);
    EXPECT_EQ(window->minimumSize(), QSize(300, 200));
    EXPECT_EQ(window->maximumSize(), QSize(300, 200));
    Form->SetBorderStyle(fbsSizeable);
    EXPECT_EQ(window->windowType(), Qt::Window);
    EXPECT_EQ(window->minimumSize(), QSize(0, 0));
    Form->SetPosition(poScreenCenter);
    Form->Show();
    EXPECT_EQ(Form->Left(), (Screen->Width() - 300) / 2);
    EXPECT_EQ(window->pos(), QPoint(Form->Left(), Form->Top()));
}

TEST_F(MirrorTest, TheQtServiceShowsRealMessageBoxes) {
    TQtDialogService qt;
    TDialogServiceGuard useQt(qt);
    QString caption;
    QStringList buttons;
    WhenModal<QMessageBox>([&](QMessageBox* Box) {
        caption = Box->windowTitle();
        for (QAbstractButton* button : Box->buttons())
            buttons << button->text();
        for (QAbstractButton* button : Box->buttons())
            if (button->text() == Q("&No"))
                button->click();
    });
    EXPECT_EQ(MessageDlg("Replace it?", mtConfirmation, mbYesNoCancel, 0), mrNo);
    EXPECT_EQ(caption, Q("Confirm"));
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{Q("&No"), Q("&Yes"), Q("Cancel")}));

    WhenModal<QMessageBox>([](QMessageBox* Box) { Box->reject(); });
    EXPECT_EQ(MessageDlg("Go on?", mtWarning, mbOKCancel, 0), mrCancel);
}

TEST_F(MirrorTest, TheQtServiceAsksForInput) {
    TQtDialogService qt;
    TDialogServiceGuard useQt(qt);
    WhenModal<QInputDialog>([](QInputDialog* Dialog) {
        EXPECT_EQ(Dialog->textValue(), Q("old"));
        Dialog->setTextValue(Q("new"));
        Dialog->accept();
    });
    AnsiString value = "old";
    EXPECT_TRUE(InputQuery("Rename", "New name:", value));
    EXPECT_EQ(value, "new");
}

TEST_F(MirrorTest, TheQtServiceRunsModalFormsInALocalLoop) {
    TQtDialogService qt;
    TDialogServiceGuard useQt(qt);
    auto* ok = NewComponent<TButton>(Form);
    ok->SetParent(Form);
    ok->SetModalResult(mrOk);
    std::vector<AnsiString> log;
    Form->OnShow = [&](TObject*) { log.push_back("show"); };
    Form->OnClose = [&](TObject*, TCloseAction&) { log.push_back("close"); };
    QTimer::singleShot(20, ok->Handle(), [ok] {
        EXPECT_TRUE(ok->Handle()->window()->isModal());
        qobject_cast<QPushButton*>(ok->Handle())->click();
    });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(Form->Handle()->isVisible());
    EXPECT_FALSE(Form->Handle()->isModal());
    EXPECT_EQ(log, (std::vector<AnsiString>{"show", "close"}));
}

TEST_F(MirrorTest, ScriptedModalFormsDoNotBlock) {
    auto* ok = NewComponent<TButton>(Form);
    ok->SetParent(Form);
    ok->SetModalResult(mrOk);
    Dialogs.AnswerModal(mrNone,
                        [ok](TCustomForm&) { qobject_cast<QPushButton*>(ok->Handle())->click(); });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_FALSE(Form->Handle()->isVisible());
}

// A small picture for the canvas: a blue square with a white diagonal.
class TSquare : public TGraphic {
public:
    Integer Width() const override { return 8; }
    Integer Height() const override { return 8; }
    void Draw(TCanvas& ACanvas, const TRect& Rect) const override {
        ACanvas.Brush()->SetColor(clBlue);
        ACanvas.Brush()->SetStyle(bsSolid);
        ACanvas.FillRect(Rect);
        ACanvas.Pen()->SetColor(clWhite);
        ACanvas.MoveTo(Rect.Left, Rect.Top);
        ACanvas.LineTo(Rect.Right, Rect.Bottom);
    }
};

TEST(Canvas, PaintsThroughAPainter) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas;
    canvas.SetHandle(&painter);
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 10, 10));
    canvas.Brush()->SetStyle(bsClear);
    canvas.Pen()->SetColor(clLime);
    canvas.Rectangle(20, 0, 30, 10);
    TSquare square;
    canvas.Draw(0, 20, &square);
    EXPECT_GT(canvas.TextWidth("Hello"), canvas.TextWidth("H"));
    EXPECT_GT(canvas.TextHeight("H"), 0);
    painter.end();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(10, 5), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(20, 5), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(25, 5), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(6, 22), QColor(0, 0, 255));
}

TEST(Canvas, TextWithFlagsBreaksLinesAndExpandsTabs) {
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas;
    canvas.SetHandle(&painter);
    TPoint one = canvas.TextExtent("Hallo", AlignLeft | ExpandTabs);
    TPoint two = canvas.TextExtent("Hallo\r\nWelt", AlignLeft | ExpandTabs);
    EXPECT_EQ(two.X, one.X);
    EXPECT_GE(two.Y, 2 * one.Y - 2) << "two lines";
    EXPECT_EQ(canvas.TextExtent("Hallo\nWelt", SingleLine).Y, one.Y);
    EXPECT_GT(canvas.TextExtent("a\tb", ExpandTabs).X, canvas.TextExtent("a b", ExpandTabs).X);

    canvas.Brush()->SetColor(clYellow);
    canvas.Font()->SetColor(clBlack);
    canvas.TextRect(Rect(0, 0, 120, 60), 2, 2, "Hallo\r\nWelt", AlignLeft | ExpandTabs);
    painter.end();
    auto inkIn = [&](int Top, int Bottom) {
        for (int y = Top; y < Bottom; ++y)
            for (int x = 2; x < 2 + one.X; ++x)
                if (image.pixelColor(x, y).lightness() < 100)
                    return true;
        return false;
    };
    EXPECT_EQ(image.pixelColor(110, 50), QColor(255, 255, 0)) << "the rectangle is filled";
    EXPECT_TRUE(inkIn(2, 2 + one.Y));
    EXPECT_TRUE(inkIn(2 + one.Y, 2 + 2 * one.Y)) << "the second line below the first";
}

TEST(Colors, SystemColorsFollowTheApplicationsPalette) {
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    const std::vector<std::pair<TColor, QPalette::ColorRole>> roles{
        {clHighlight, QPalette::Highlight}, {clHighlightedText, QPalette::HighlightedText},
        {clBase, QPalette::Base},           {clText, QPalette::Text},
        {clLight, QPalette::Light},         {clDark, QPalette::Dark},
        {clBtnFace, QPalette::Button}};
    int shade = 10;
    for (const auto& [color, role] : roles) {
        palette.setColor(role, QColor(shade, 200 - shade, 30));
        shade += 20;
    }
    QApplication::setPalette(palette);
    shade = 10;
    for (const auto& [color, role] : roles) {
        EXPECT_EQ(ColorToRGB(color), shade | (200 - shade) << 8 | 30 << 16) << ColorToString(color);
        EXPECT_EQ(ColorToQColor(color), QColor(shade, 200 - shade, 30)) << ColorToString(color);
        shade += 20;
    }
    QApplication::setPalette(saved);
}

TEST(Screen, KnowsFontsSizeAndCursor) {
    EXPECT_GT(Screen->Width(), 0);
    EXPECT_GT(Screen->Height(), 0);
    TStrings* fonts = Screen->Fonts();
    EXPECT_GT(fonts->Count(), 0);
    EXPECT_GE(fonts->IndexOf("DejaVu Sans"), 0);
    for (Integer index = 1; index < fonts->Count(); ++index)
        EXPECT_LE(AnsiCompareText(fonts->Get(index - 1), fonts->Get(index)), 0)
            << fonts->Get(index);
    Screen->SetCursor(crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crHandPoint);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MirrorTest, AFormsFrameUpdatesAndShowingWithoutActivation) {
    Form->SetFrameStyle(0x23);
    auto* frame = qobject_cast<QFrame*>(Form->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->frameStyle(), QFrame::WinPanel | QFrame::Raised);
    Form->SetFrameStyle(0);
    EXPECT_EQ(frame->frameStyle(), 0);

    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    edit->SetUpdatesEnabled(false);
    Form->Show();
    EXPECT_FALSE(edit->Handle()->updatesEnabled());
    edit->SetUpdatesEnabled(true);
    EXPECT_TRUE(edit->Handle()->updatesEnabled());
    ASSERT_EQ(Screen->ActiveForm(), Form);

    auto* tooltip = NewForm<TForm>(Application);
    auto* inside = NewComponent<TEdit>(tooltip);
    inside->SetParent(tooltip);
    tooltip->SetActiveControl(inside);
    Integer shows = 0;
    tooltip->OnShow = [&](TObject*) { ++shows; };
    tooltip->ShowWithoutActivation();
    EXPECT_TRUE(tooltip->Visible());
    EXPECT_TRUE(tooltip->Handle()->isVisible());
    EXPECT_TRUE(tooltip->Handle()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(Screen->ActiveForm(), Form) << "the active form stays";
    EXPECT_FALSE(inside->Focused());
    delete tooltip;
}

TEST_F(MirrorTest, AScreenshotOfASmallForm) {
    Form->SetCaption("Languages");
    Form->SetColor(clWhite);
    auto* label = NewComponent<TLabel>(Form);
    label->SetParent(Form);
    label->SetBounds(12, 16, 80, 20);
    label->SetCaption("&Language:");
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(Form);
    edit->SetBounds(100, 12, 180, 25);
    edit->SetText("English");
    label->SetFocusControl(edit);
    auto* ok = NewComponent<TButton>(Form);
    ok->SetParent(Form);
    ok->SetBounds(124, 160, 75, 28);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* cancel = NewComponent<TButton>(Form);
    cancel->SetParent(Form);
    cancel->SetBounds(208, 160, 75, 28);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    Form->Show();
    Application->ProcessMessages();

    QImage shot = Form->Handle()->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(300, 200));
    std::string path = zxtest::TestOutputDir() + "/clx_small_form.png";
    ASSERT_TRUE(shot.save(QString::fromStdString(path)));
    EXPECT_TRUE(FileExists(path));
    // The form's white background and the darker text of the controls.
    EXPECT_EQ(shot.pixelColor(5, 100), QColor(255, 255, 255));
    bool inked = false;
    for (int x = 12; x < 92 && !inked; ++x)
        for (int y = 16; y < 36 && !inked; ++y)
            inked = shot.pixelColor(x, y).lightness() < 128;
    EXPECT_TRUE(inked);
}

} // namespace

namespace {

// A point inside a nested control lands where its widget lies on the screen.
TEST_F(MirrorTest, ClientToScreenFollowsTheShownWidgets) {
    auto* panel = NewComponent<TPanel>(Form);
    panel->SetParent(Form);
    panel->SetBounds(20, 30, 200, 100);
    auto* edit = NewComponent<TEdit>(Form);
    edit->SetParent(panel);
    edit->SetBounds(5, 7, 80, 24);
    Form->Show();
    Application->ProcessMessages();
    const TPoint formOrigin = Form->ClientToScreen(TPoint{0, 0});
    const TPoint inEdit = edit->ClientToScreen(TPoint{3, 4});
    EXPECT_EQ(inEdit.X - formOrigin.X, 20 + 5 + 3);
    EXPECT_EQ(inEdit.Y - formOrigin.Y, 30 + 7 + 4);
    const QPoint global = edit->Handle()->mapToGlobal(QPoint(3, 4));
    EXPECT_EQ(inEdit.X, global.x());
    EXPECT_EQ(inEdit.Y, global.y());
}

} // namespace
