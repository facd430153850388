// The found-strings review driven through its controls offscreen: marking,
// deleting, restoring, renumbering, excluding, and the identifier checks
// before the unit is rewritten.
#include "ClxTestSupport.h"
#include "ExpertTestSupport.h"

#include "editor/FormData.h"
#include "ide/Q_scan.h"

#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTableView>

using namespace experttest;

namespace {

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

class TFoundReviewTest : public TExpertTest {
protected:
    void SetUp() override {
        MakeExpert();
        FzxLangExpert = Expert;
        Positions.Add("Position:");
        Dialog = NewForm<TfrmFound>(Application);
        Dialog->Positions = &Positions;
        const char* rows[][2] = {{"IDS_0", "Open"}, {"IDS_1", "Close"}, {"IDS_0", "Open"},
                                 {"IDS_2", "open"}, {"IDS_3", "Save as"}};
        TStringGrid* grid = Dialog->sgStrings;
        grid->SetRowCount(6);
        const char* titles[] = {"String ID:", "String constant:", "Will be replaced by:", "Source line:"};
        for (Integer col = 0; col < 4; ++col)
            grid->SetCells(col, 0, titles[col]);
        for (Integer row = 1; row <= 5; ++row) {
            const AnsiString id = rows[row - 1][0];
            grid->SetCells(0, row, id);
            grid->SetCells(1, row, rows[row - 1][1]);
            grid->SetCells(2, row, "zxLang1.GetTextOrDefault('" + id + "' (* 'x' *) )");
            grid->SetCells(3, row, "  A('" + AnsiString(rows[row - 1][1]) + "');");
            Positions.Add(IntToStr(row * 10));
        }
        Dialog->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        delete Dialog;
        FzxLangExpert = nullptr;
        Application->ProcessMessages();
    }

    // A press on the row's first cell with the modifiers held.
    void ClickRow(Integer Row, Qt::KeyboardModifiers Modifiers) {
        auto* view = dynamic_cast<QTableView*>(Dialog->sgStrings->Handle());
        ASSERT_TRUE(view);
        const TRect cell = Dialog->sgStrings->CellRect(0, Row);
        const QPoint at = view->viewport()->mapFrom(view, QPoint(cell.Left + 5, cell.Top + 5));
        QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Modifiers);
        QApplication::sendEvent(view->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, view->viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Modifiers);
        QApplication::sendEvent(view->viewport(), &release);
    }
    std::vector<AnsiString> Column(Integer Col) {
        std::vector<AnsiString> cells;
        for (Integer row = 1; row < Dialog->sgStrings->RowCount(); ++row)
            cells.push_back(Dialog->sgStrings->Cells(Col, row));
        return cells;
    }
    AnsiString Panel(Integer Index) { return Dialog->StatusBar1->Panels()->Items(Index)->Text(); }

    TStringList Positions;
    TfrmFound* Dialog = nullptr;
};

using Texts = std::vector<AnsiString>;

} // namespace

TEST_F(TFoundReviewTest, MarkedRowsAreDeletedAndRestoredInSourceOrderWithTheirPositions) {
    ClickRow(2, Qt::ControlModifier);
    ClickRow(5, Qt::ControlModifier);
    EXPECT_EQ(Panel(2), "Selected rows: 2");
    Dialogs.Answer(mrYes);
    Dialog->tbtDelete->Click();
    EXPECT_EQ(Column(1), Texts({"Open", "Open", "open"}));
    EXPECT_EQ(Positions.Text(), "Position:\n10\n30\n40\n");
    EXPECT_EQ(Panel(1), "Deleted strings: 2");
    EXPECT_EQ(Panel(2), "Selected rows: 0");

    Dialog->tbtSwitchView->Click();
    EXPECT_TRUE(Dialog->tbtRestore->Visible());
    EXPECT_FALSE(Dialog->tbtOK->Enabled()) << "the deleted view does not apply";
    Dialog->sgDeleted->SetSelection(TGridRect{0, 2, 3, 2});
    Dialog->tbtRestore->Click();
    EXPECT_EQ(Column(1), Texts({"Open", "Close", "Open", "open"})) << "deleted from the bottom up";
    EXPECT_EQ(Positions.Text(), "Position:\n10\n20\n30\n40\n");
    Dialog->sgDeleted->SetSelection(TGridRect{0, 1, 3, 1});
    Dialog->tbtRestore->Click();
    EXPECT_EQ(Positions.Text(), "Position:\n10\n20\n30\n40\n50\n");
    EXPECT_TRUE(Dialog->sgStrings->Visible()) << "the last restored row brings the found rows back";

    ClickRow(2, Qt::ControlModifier);
    ClickRow(4, Qt::ShiftModifier);
    EXPECT_EQ(Panel(2), "Selected rows: 3");
    Dialog->Handle()->grab().toImage().save(
        QString::fromStdString(zxtest::TestOutputDir() + "/found-strings-review.png"));
}

TEST_F(TFoundReviewTest, TheLastRowIsOnlyClearedAndARestoreTakesItsPlace) {
    for (Integer row = 5; row >= 1; --row)
        Dialog->DeleteRow(row, true);
    EXPECT_EQ(Dialog->sgStrings->RowCount(), 2);
    EXPECT_FALSE(TfrmFound::HasRows(Dialog->sgStrings));
    EXPECT_FALSE(Dialog->tbtOK->Enabled());
    EXPECT_EQ(Positions.Count(), 1);
    Dialog->tbtSwitchView->Click();
    Dialog->sgDeleted->SetSelection(TGridRect{0, 3, 3, 3});
    Dialog->tbtRestore->Click();
    EXPECT_EQ(Dialog->sgStrings->RowCount(), 2);
    EXPECT_EQ(Column(1), Texts({"Open"}));
    EXPECT_EQ(Positions.Text(), "Position:\n30\n");
}

TEST_F(TFoundReviewTest, IdentifierEditsAndRenumberingChangeOnlyTheQuotedIdentifier) {
    Dialog->sgStringsSetEditText(Dialog->sgStrings, 0, 2, "Closing");
    EXPECT_EQ(Dialog->sgStrings->Cells(2, 2), "zxLang1.GetTextOrDefault('Closing' (* 'x' *) )");
    Dialogs.AnswerInput("x1");
    Dialogs.Answer(mrOk);
    Dialog->tbtID->Click();
    EXPECT_EQ(Dialogs.LastRequest().Text, "For automatic generation start ID shall be integer!");
    Dialogs.AnswerInput("100");
    Dialog->tbtID->Click();
    EXPECT_EQ(Column(0), Texts({"IDS_100", "IDS_101", "IDS_100", "IDS_102", "IDS_103"}));
    EXPECT_EQ(Dialog->sgStrings->Cells(2, 3), "zxLang1.GetTextOrDefault('IDS_100' (* 'x' *) )");
}

TEST_F(TFoundReviewTest, ExcludingDeletesEveryCaseForGoodAndSkipsTheWordLater) {
    Dialog->sgStrings->SetRow(4);
    Dialogs.Answer(mrYes);
    Dialog->tbtExclude->Click();
    EXPECT_EQ(Column(1), Texts({"Close", "Save as"}));
    EXPECT_EQ(Positions.Text(), "Position:\n20\n50\n");
    EXPECT_FALSE(Dialog->tbtSwitchView->Enabled()) << "excluded rows are not kept";
    EXPECT_EQ(Expert->SkipWords->Text(), "open\n");
}

TEST_F(TFoundReviewTest, ModifyingRefusesBadIdentifiersAndAsksBeforeAClash) {
    Dialog->sgStrings->SetCells(0, 2, "IDS 1");
    Dialogs.Answer(mrOk);
    Dialog->tbtOK->Click();
    EXPECT_EQ(Dialog->ModalResult(), mrNone);
    Dialog->sgStrings->SetCells(0, 2, "IDS_0");
    Dialogs.Answer(mrNo);
    Dialog->tbtOK->Click();
    EXPECT_NE(Dialogs.LastRequest().Text.find("\"IDS_0\" already stands for \"Open\""),
              std::string::npos);
    EXPECT_EQ(Dialog->ModalResult(), mrNone);
    Dialog->ExistingText = [](const AnsiString& ID, AnsiString& Text) {
        Text = "Sichern";
        return ID == "IDS_3";
    };
    Dialog->sgStrings->SetCells(0, 2, "IDS_1");
    Dialogs.Answer(mrNo);
    Dialog->tbtOK->Click();
    EXPECT_NE(Dialogs.LastRequest().Text.find("\"Sichern\""), std::string::npos);
    Dialog->ExistingText = nullptr;
    Dialogs.Answer(mrYes);
    Dialog->tbtOK->Click();
    EXPECT_EQ(Dialog->ModalResult(), mrOk);
}

TEST_F(TFoundReviewTest, RowsThatContainATypedTextAreDeletedAndTheTextIsOfferedAgain) {
    TMenuItem* deleteRows = FormControl<TMenuItem>(Dialog, "Deleterowsthatcontain1");
    Dialogs.AnswerModal(mrOk, [](TCustomForm& Form) {
        auto& prompt = dynamic_cast<TfrmExcludeStr&>(Form);
        EXPECT_EQ(prompt.lbPrompt->Caption(),
                  "Type string which is included in rows which should be deleted:");
        zxtest::TypeInto(prompt.cbText->Handle(), "Op");
    });
    deleteRows->Click();
    EXPECT_EQ(Column(1), Texts({"Close", "open", "Save as"})) << "case counts";
    EXPECT_EQ(Panel(1), "Deleted strings: 2");
    Dialogs.AnswerModal(mrCancel, [](TCustomForm& Form) {
        auto& prompt = dynamic_cast<TfrmExcludeStr&>(Form);
        EXPECT_EQ(prompt.cbText->Text(), "Op");
        EXPECT_EQ(prompt.cbText->Items()->Text(), "Op\n");
        prompt.Handle()->grab().toImage().save(
            QString::fromStdString(zxtest::TestOutputDir() + "/found-strings-delete-prompt.png"));
    });
    delete Dialog;
    Dialog = NewForm<TfrmFound>(Application);
    Dialog->FormShow(Dialog);
    FormControl<TMenuItem>(Dialog, "Deleterowsthatcontain1")->Click();
    EXPECT_EQ(Dialogs.PendingAnswers(), 0) << "the last text is stored";
}
