// The remaining standard controls with a real QApplication (offscreen):
// state set before and after the widget exists shows in it, the user's
// input reaches the component and fires its events, and owner-drawn combo
// boxes paint their items through DrawItem on the canvas.
#include "clx/Buttons.h"
#include "clx/CheckLst.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include "ClxTestSupport.h"
#include "TestSupport.h"

#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

// Whether the image has a pixel of clearly red ink (anti-aliased text is
// never exactly the pen's colour).
bool HasRedInk(const QImage& Image) {
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x) {
            QColor c = Image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90)
                return true;
        }
    return false;
}

class StdMirrorTest : public TFormTest {
protected:
    TScriptedDialogService Dialogs;
    TDialogServiceGuard Guard{Dialogs};
};

// ---------------------------------------------------------------------------
// Memo

TEST_F(StdMirrorTest, MemoLinesReachTheWidgetAndUserEditsComeBack) {
    auto* memo = Make<TMemo>();
    memo->Lines()->SetCommaText("one,two");
    auto* edit = qobject_cast<QPlainTextEdit*>(memo->Handle());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->toPlainText(), Q("one\ntwo"));
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    memo->Lines()->Add("three");
    EXPECT_EQ(edit->toPlainText(), Q("one\ntwo\nthree"));
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    memo->SetReadOnly(true);
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(edit->isReadOnly());

    memo->SetReadOnly(false);
    Integer changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    edit->moveCursor(QTextCursor::End);
    TypeInto(edit, Q("!"));
    EXPECT_EQ(memo->Lines()->Get(2), "three!");
    EXPECT_TRUE(memo->Modified());
    EXPECT_EQ(changes, 1);
    edit->insertPlainText(Q("\n"));
    EXPECT_EQ(memo->Lines()->Count(), 4);
    EXPECT_EQ(edit->toPlainText(), Q("one\ntwo\nthree!\n")) << "the user's line break stays";

    memo->SetMaxLength(5);
    edit->setPlainText(Q("abcdefgh"));
    EXPECT_EQ(memo->Text(), "abcde");
    EXPECT_EQ(edit->toPlainText(), Q("abcde"));
}

// ---------------------------------------------------------------------------
// Check boxes, radio buttons, group boxes

TEST_F(StdMirrorTest, CheckBoxClicksCycleThroughTheComponent) {
    auto* check = Make<TCheckBox>();
    check->SetCaption("&Remember");
    check->SetChecked(true);
    auto* box = qobject_cast<QCheckBox*>(check->Handle());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), Q("&Remember"));
    EXPECT_TRUE(box->isChecked());
    Integer clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    check->SetAllowGrayed(true);
    box->click();
    EXPECT_EQ(check->State(), cbGrayed);
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    box->click();
    EXPECT_EQ(check->State(), cbUnchecked);
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
    EXPECT_EQ(clicks, 2);
}

TEST_F(StdMirrorTest, RadioButtonsStayExclusiveInTheWidgets) {
    auto* first = Make<TRadioButton>();
    auto* second = Make<TRadioButton>();
    first->SetChecked(true);
    auto* firstButton = qobject_cast<QRadioButton*>(first->Handle());
    auto* secondButton = qobject_cast<QRadioButton*>(second->Handle());
    EXPECT_TRUE(firstButton->isChecked());
    secondButton->click();
    EXPECT_TRUE(second->Checked());
    EXPECT_FALSE(first->Checked());
    EXPECT_FALSE(firstButton->isChecked());
    secondButton->click();
    EXPECT_TRUE(secondButton->isChecked()) << "a click never unchecks";

    auto* group = Make<TGroupBox>();
    group->SetCaption("Options");
    EXPECT_EQ(qobject_cast<QGroupBox*>(group->Handle())->title(), Q("Options"));
    group->SetCaption("Choices");
    EXPECT_EQ(qobject_cast<QGroupBox*>(group->Handle())->title(), Q("Choices"));
}

// ---------------------------------------------------------------------------
// Combo boxes

TEST_F(StdMirrorTest, ComboItemsAndSelection) {
    auto* combo = Make<TComboBox>();
    combo->SetStyle(csDropDownList);
    combo->Items()->SetCommaText("English,German");
    combo->SetItemIndex(1);
    auto* box = qobject_cast<QComboBox*>(combo->Handle());
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isEditable());
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(box->currentIndex(), 1);
    combo->Items()->Add("French");
    EXPECT_EQ(box->count(), 3);
    EXPECT_EQ(box->currentIndex(), 1);
    combo->SetDropDownCount(4);
    EXPECT_EQ(box->maxVisibleItems(), 4);

    std::vector<AnsiString> events;
    combo->OnChange = [&](TObject*) { events.push_back("change " + combo->Text()); };
    combo->OnSelect = [&](TObject*) { events.push_back("select"); };
    box->setCurrentIndex(2);
    Q_EMIT box->activated(2);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(events, (std::vector<AnsiString>{"change French", "select"}));

    combo->SetStyle(csDropDown);
    ASSERT_TRUE(box->isEditable());
    box->lineEdit()->clear();
    events.clear();
    TypeInto(box->lineEdit(), Q("Dutch"));
    EXPECT_EQ(combo->Text(), "Dutch");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(events.size(), 5u);
    combo->SetText("German");
    EXPECT_EQ(box->currentText(), Q("German"));
    EXPECT_EQ(combo->ItemIndex(), 1);
}

// The owner-drawn language list: each item's text in red on white.
class OwnerDrawnComboTest : public StdMirrorTest {
protected:
    void SetUp() override {
        StdMirrorTest::SetUp();
        Combo = Make<TComboBox>();
        Combo->SetBounds(10, 10, 200, 28);
        Combo->SetStyle(csOwnerDrawFixed);
        Combo->SetItemHeight(24);
        Combo->Items()->SetCommaText("English,German,French");
        Combo->SetItemIndex(1);
        Combo->OnDrawItem = [this](TObject* Sender, Integer Index, TRect Rect,
                                   TOwnerDrawState State, bool&) {
            auto* combo = static_cast<TComboBox*>(Sender);
            Calls.push_back({Index, State});
            TCanvas* canvas = combo->Canvas();
            canvas->Brush()->SetColor(clWhite);
            canvas->FillRect(Rect);
            canvas->Font()->SetColor(clRed);
            canvas->Font()->SetSize(14);
            canvas->Font()->SetStyle({fsBold});
            canvas->TextOut(Rect.Left + 4, Rect.Top + 1, combo->Items()->Get(Index));
        };
    }

    struct TCall {
        Integer Index;
        TOwnerDrawState State;
    };
    const TCall* CallOf(Integer Index) const {
        for (const TCall& call : Calls)
            if (call.Index == Index)
                return &call;
        return nullptr;
    }

    TComboBox* Combo = nullptr;
    std::vector<TCall> Calls;
};

TEST_F(OwnerDrawnComboTest, TheDelegatePaintsItemsThroughDrawItem) {
    auto* box = qobject_cast<QComboBox*>(Combo->Handle());
    ASSERT_NE(box, nullptr);
    QAbstractItemView* view = box->view();
    QImage image(200, 24 * 3, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        for (int row = 0; row < 3; ++row) {
            QStyleOptionViewItem option;
            option.initFrom(view);
            option.rect = QRect(0, 24 * row, 200, 24);
            option.state = QStyle::State_Enabled;
            if (row == Combo->ItemIndex())
                option.state |= QStyle::State_Selected;
            view->itemDelegate()->paint(&painter, option, box->model()->index(row, 0));
        }
    }
    ASSERT_EQ(Calls.size(), 3u);
    for (Integer index = 0; index < 3; ++index) {
        EXPECT_EQ(Calls[index].Index, index);
        EXPECT_EQ(Calls[index].State.Contains(odSelected), index == 1) << index;
        EXPECT_TRUE(HasRedInk(image.copy(0, 24 * index, 200, 24))) << index;
    }
    EXPECT_EQ(image.pixelColor(199, 23), QColor(Qt::white)) << "the handler filled the rect";
    EXPECT_FALSE(Combo->Canvas()->HandleAllocated()) << "the painter is gone after drawing";
    EXPECT_EQ(
        view->itemDelegate()->sizeHint(QStyleOptionViewItem(), box->model()->index(0, 0)).height(),
        24);
}

TEST_F(OwnerDrawnComboTest, TheOpenListShowsTheOwnerDrawnItems) {
    Form->Show();
    Application->ProcessMessages();
    auto* box = qobject_cast<QComboBox*>(Combo->Handle());
    box->showPopup();
    Application->ProcessMessages();
    Calls.clear();
    QImage shot = box->view()->grab().toImage();
    box->hidePopup();
    ASSERT_NE(CallOf(0), nullptr);
    ASSERT_NE(CallOf(1), nullptr);
    ASSERT_NE(CallOf(2), nullptr);
    EXPECT_TRUE(CallOf(1)->State.Contains(odSelected));
    EXPECT_FALSE(CallOf(0)->State.Contains(odSelected));
    EXPECT_TRUE(HasRedInk(shot));
}

TEST_F(OwnerDrawnComboTest, TheClosedBoxDrawsTheSelectedItemAsTheEditPart) {
    Form->Show();
    Application->ProcessMessages();
    Calls.clear();
    QImage shot = Combo->Handle()->grab().toImage();
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Index, 1);
    EXPECT_TRUE(Calls[0].State.Contains(odComboBoxEdit));
    EXPECT_TRUE(HasRedInk(shot));
}

TEST_F(OwnerDrawnComboTest, VariableItemsTakeTheirMeasuredHeights) {
    Combo->SetStyle(csOwnerDrawVariable);
    Combo->OnMeasureItem = [](TWinControl*, Integer Index, Integer& Height) {
        Height = 20 + 10 * Index;
    };
    auto* box = qobject_cast<QComboBox*>(Combo->Handle());
    QAbstractItemDelegate* delegate = box->view()->itemDelegate();
    EXPECT_EQ(delegate->sizeHint(QStyleOptionViewItem(), box->model()->index(2, 0)).height(), 40);
    EXPECT_EQ(delegate->sizeHint(QStyleOptionViewItem(), box->model()->index(0, 0)).height(), 20);
}

TEST_F(OwnerDrawnComboTest, AFailingHandlerIsReportedNotThrownIntoQt) {
    Form->Show();
    Application->ProcessMessages();
    Combo->OnDrawItem = [](TObject*, Integer, TRect, TOwnerDrawState, bool&) {
        throw Exception("cannot draw");
    };
    Dialogs.Answer(mrOk);
    Combo->Handle()->grab();
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    ASSERT_EQ(Dialogs.Requests().size(), 1u);
    EXPECT_NE(Dialogs.LastRequest().Text.find("cannot draw"), AnsiString::npos);
    EXPECT_FALSE(Combo->Canvas()->HandleAllocated());
}

// ---------------------------------------------------------------------------
// List boxes

TEST_F(StdMirrorTest, ListBoxSelectionBothWays) {
    auto* list = Make<TListBox>();
    list->Items()->SetCommaText("a,b,c");
    list->SetItemIndex(1);
    auto* widget = qobject_cast<QAbstractItemView*>(list->Handle());
    ASSERT_NE(widget, nullptr);
    QAbstractItemModel* model = widget->model();
    QItemSelectionModel* selection = widget->selectionModel();
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(widget->currentIndex().row(), 1);
    EXPECT_TRUE(selection->isRowSelected(1, QModelIndex()));
    Integer clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    widget->setCurrentIndex(model->index(2, 0));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_GE(clicks, 1);

    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    EXPECT_TRUE(selection->isRowSelected(0, QModelIndex()));
    EXPECT_FALSE(selection->isRowSelected(1, QModelIndex()));
    selection->select(model->index(1, 0), QItemSelectionModel::Select);
    EXPECT_EQ(list->SelCount(), 3);
}

TEST_F(StdMirrorTest, CheckListBoxChecksBothWays) {
    auto* list = Make<TCheckListBox>();
    list->Items()->SetCommaText("a,b");
    list->SetChecked(1, true);
    QAbstractItemModel* model = qobject_cast<QAbstractItemView*>(list->Handle())->model();
    auto state = [&](int Row) { return model->index(Row, 0).data(Qt::CheckStateRole).toInt(); };
    EXPECT_EQ(state(1), Qt::Checked);
    EXPECT_EQ(state(0), Qt::Unchecked);
    Integer checks = 0;
    list->OnClickCheck = [&](TObject*) { ++checks; };
    model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(list->Checked(0));
    EXPECT_EQ(checks, 1);
    list->SetChecked(0, false);
    EXPECT_EQ(state(0), Qt::Unchecked);
    EXPECT_EQ(checks, 1);
    list->Items()->Insert(0, "first");
    list->Items()->Delete(1);
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(state(0), Qt::Unchecked);
    EXPECT_EQ(state(1), Qt::Checked) << "b keeps its check when a goes";
}

// ---------------------------------------------------------------------------
// Buttons

TEST_F(StdMirrorTest, BitBtnShowsItsKindAndGlyphAndSetsTheModalResult) {
    auto* ok = Make<TBitBtn>();
    ok->SetKind(bkOK);
    auto* button = qobject_cast<QPushButton*>(ok->Handle());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), Q("OK"));
    EXPECT_TRUE(button->icon().isNull());
    TBitmap glyph(16, 16);
    ok->SetGlyph(&glyph);
    EXPECT_FALSE(button->icon().isNull());
    ok->SetLayout(blGlyphRight);
    EXPECT_EQ(button->layoutDirection(), Qt::RightToLeft);
    button->click();
    EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(StdMirrorTest, SpeedButtonClicksKeepItsGroupDown) {
    auto* left = Make<TSpeedButton>();
    auto* right = Make<TSpeedButton>();
    left->SetGroupIndex(1);
    right->SetGroupIndex(1);
    left->SetDown(true);
    left->SetFlat(true);
    auto* leftButton = qobject_cast<QToolButton*>(left->Handle());
    auto* rightButton = qobject_cast<QToolButton*>(right->Handle());
    EXPECT_TRUE(leftButton->isChecked());
    EXPECT_TRUE(leftButton->autoRaise());
    Integer clicks = 0;
    right->OnClick = [&](TObject*) { ++clicks; };
    rightButton->click();
    EXPECT_TRUE(right->Down());
    EXPECT_FALSE(left->Down());
    EXPECT_FALSE(leftButton->isChecked());
    rightButton->click();
    EXPECT_TRUE(rightButton->isChecked()) << "the last one down stays down";
    EXPECT_EQ(clicks, 2);
}

// ---------------------------------------------------------------------------
// Panels, radio groups, images, splitters

TEST_F(StdMirrorTest, PanelShowsItsCaptionAndBevel) {
    auto* panel = Make<TPanel>();
    panel->SetCaption("Status");
    auto* label = qobject_cast<QLabel*>(panel->Handle());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), Q("Status"));
    EXPECT_EQ(label->frameShadow(), QFrame::Raised);
    panel->SetBevelOuter(bvLowered);
    panel->SetBevelInner(bvRaised);
    EXPECT_EQ(label->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(label->lineWidth(), 2);
    panel->SetBevelOuter(bvNone);
    panel->SetBevelInner(bvNone);
    EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
}

TEST_F(StdMirrorTest, RadioGroupButtonsFollowItemsAndClicks) {
    auto* group = Make<TRadioGroup>();
    group->SetCaption("Size");
    group->Items()->SetCommaText("Small,Medium");
    auto* box = qobject_cast<QGroupBox*>(group->Handle());
    EXPECT_EQ(box->findChildren<QRadioButton*>().size(), 2);
    group->Items()->Add("Large");
    QList<QRadioButton*> buttons = box->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    group->SetItemIndex(2);
    EXPECT_TRUE(buttons[2]->isChecked());
    Integer clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    buttons[0]->click();
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_FALSE(buttons[2]->isChecked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(StdMirrorTest, ImageShowsItsPicture) {
    auto* image = Make<TImage>();
    auto* label = qobject_cast<QLabel*>(image->Handle());
    EXPECT_TRUE(label->pixmap().isNull());
    image->Picture()->Bitmap()->SetSize(20, 10);
    EXPECT_EQ(label->pixmap().size(), QSize(20, 10));
    image->SetStretch(true);
    EXPECT_TRUE(label->hasScaledContents());
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 20);
}

TEST_F(StdMirrorTest, DraggingTheSplitterResizesItsNeighbour) {
    auto* left = Make<TPanel>();
    left->SetAlign(alLeft);
    left->SetWidth(100);
    auto* splitter = Make<TSplitter>();
    splitter->SetLeft(200);
    Form->Show();
    Application->ProcessMessages();
    QWidget* bar = splitter->Handle();
    auto send = [bar](QEvent::Type Type, int X, Qt::MouseButtons Buttons) {
        QMouseEvent event(Type, QPointF(X, 5), bar->mapToGlobal(QPointF(X, 5)),
                          Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
    };
    send(QEvent::MouseButtonPress, 1, Qt::LeftButton);
    send(QEvent::MouseMove, 41, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 41, Qt::NoButton);
    EXPECT_EQ(left->Width(), 140);
    EXPECT_EQ(splitter->Left(), 140);
    EXPECT_EQ(bar->x(), 140);
}

TEST_F(StdMirrorTest, BevelsDrawInShadowAndHighlight) {
    auto* bevel = Make<TBevel>();
    bevel->SetBounds(0, 0, 40, 20);
    QRgb shadow = ColorToQColor(clBtnShadow).rgb();
    QRgb highlight = ColorToQColor(clBtnHighlight).rgb();
    ASSERT_NE(shadow, highlight);
    QImage box = bevel->Handle()->grab().toImage();
    EXPECT_EQ(box.pixel(10, 0), shadow);
    EXPECT_EQ(box.pixel(10, 19), highlight);
    bevel->SetShape(bsBottomLine);
    bevel->SetStyle(bsRaised);
    QImage line = bevel->Handle()->grab().toImage();
    EXPECT_EQ(line.pixel(10, 18), highlight);
    EXPECT_EQ(line.pixel(10, 19), shadow);
    EXPECT_NE(line.pixel(10, 0), highlight);
}

TEST_F(StdMirrorTest, AFormWithTheControlsShowsOffscreen) {
    Form->SetColor(clWhite);
    auto* memo = Make<TMemo>();
    memo->SetBounds(8, 8, 180, 80);
    memo->Lines()->SetCommaText("Hello,World");
    auto* check = Make<TCheckBox>();
    check->SetBounds(200, 8, 150, 20);
    check->SetCaption("Check me");
    auto* combo = Make<TComboBox>();
    combo->SetBounds(200, 40, 150, 25);
    combo->Items()->SetCommaText("One,Two");
    combo->SetItemIndex(0);
    auto* group = Make<TRadioGroup>();
    group->SetBounds(8, 100, 180, 100);
    group->SetCaption("Size");
    group->Items()->SetCommaText("Small,Large");
    auto* list = Make<TCheckListBox>();
    list->SetBounds(200, 100, 150, 100);
    list->Items()->SetCommaText("Red,Green");
    auto* panel = Make<TPanel>();
    panel->SetAlign(alBottom);
    panel->SetCaption("Ready");
    Form->Show();
    Application->ProcessMessages();
    QImage shot = Form->Handle()->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(400, 300));
    std::string path = zxtest::TestOutputDir() + "/clx_standard_controls.png";
    ASSERT_TRUE(shot.save(QString::fromStdString(path)));
    EXPECT_EQ(shot.pixelColor(395, 90), QColor(255, 255, 255));
}

} // namespace
