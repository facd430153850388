// The language combo's settings editor, driven through its list, editors,
// flag chooser and buttons: what it shows, what OK and Cancel leave in the
// combo, and how the flag list draws.
#include "EditorTestSupport.h"

#include "editor/Q_zxComboPropEd.h"

#include "clx/ExtCtrls.h"
#include "clx/ImgList.h"
#include "clx/StdCtrls.h"

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QTableView>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

// The user's clicks: a line of the list, an item of a combo box.
void ClickLine(TListBox& List, Integer Line) {
    auto* view = qobject_cast<QTableView*>(List.Handle());
    view->selectionModel()->setCurrentIndex(view->model()->index(Line, 0),
                                            QItemSelectionModel::ClearAndSelect);
}

void Pick(TComboBox& Combo, Integer Index) {
    auto* box = qobject_cast<QComboBox*>(Combo.Handle());
    box->setCurrentIndex(Index);
    Q_EMIT box->activated(Index);
}

class ComboEditor : public testing::Test {
protected:
    void SetUp() override {
        Dispatcher->SetNumOfLanguages(3);
        Dispatcher->LangNames()->SetCommaText("English,Deutsch,Русский");
        Lang->SetNumLang(3);
        Lang->LangNames()->SetCommaText("One,Two,Three");
        Combo->SetzxLang(Lang);
    }

    // Opens the editor; Drive acts on it and presses OK or Cancel.
    Integer Edit(const std::function<void(TfrmZxLangComboEditor& Editor)>& Drive) {
        TDialogServiceGuard guard(Dialogs);
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Editor) {
            Drive(dynamic_cast<TfrmZxLangComboEditor&>(Editor));
        });
        return EditComboSettings(Combo);
    }

    TLanguageInfo& Info(Integer Index) { return *Combo->LanguageInfos()->GetItems(Index); }

    TScriptedDialogService Dialogs;
    std::unique_ptr<TForm> Form{NewForm<TForm>(nullptr)};
    TzxLangDispatcher* Dispatcher = NewComponent<TzxLangDispatcher>(Form.get());
    TzxLang* Lang = NewComponent<TzxLang>(Form.get());
    TzxLangCombo* Combo = NewComponent<TzxLangCombo>(Form.get());
};

TEST_F(ComboEditor, ListsTheNamesTheComboShowsDispatcherFirstAndMakesUpMissingOnes) {
    Edit([](TfrmZxLangComboEditor& E) {
        EXPECT_EQ(E.lbLanguages->Items()->CommaText(), "One,Two,Three");
        E.btCancel->Click();
    });
    Combo->SetzxLangDispatcher(Dispatcher);
    Dispatcher->LangNames()->SetCommaText("English,Deutsch");
    Edit([](TfrmZxLangComboEditor& E) {
        EXPECT_EQ(E.lbLanguages->Items()->CommaText(), "English,Deutsch,\"Language 3\"");
        E.btCancel->Click();
    });
}

TEST_F(ComboEditor, OkKeepsTheEditsOfEveryLanguageCancelNone) {
    Info(2).SetFontName("No Such Font Here");
    for (TModalResult button : {mrCancel, mrOk}) {
        const Integer result = Edit([&](TfrmZxLangComboEditor& E) {
            E.edLangName->SetText("First");
            Pick(*E.cbLangCharset, RUSSIAN_CHARSET);
            Pick(*E.cbLangFont, 0);
            ClickLine(*E.lbLanguages, 1);
            EXPECT_EQ(E.edLangName->Text(), "");
            EXPECT_EQ(E.cbLangCharset->ItemIndex(), 23);
            E.edLangName->SetText("Second");
            ClickLine(*E.lbLanguages, 2);
            EXPECT_EQ(E.cbLangFont->ItemIndex(), -1) << "a font not installed selects nothing";
            ClickLine(*E.lbLanguages, 0);
            EXPECT_EQ(E.edLangName->Text(), "First");
            (button == mrOk ? E.btOK : E.btCancel)->Click();
        });
        EXPECT_EQ(result, button);
        EXPECT_EQ(Info(0).LanguageName(), button == mrOk ? "First" : "");
    }
    EXPECT_EQ(Info(0).FontCharset(), RUSSIAN_CHARSET);
    EXPECT_EQ(Info(0).FontName(), Screen->Fonts()->Get(0));
    EXPECT_EQ(Info(1).LanguageName(), "Second");
    EXPECT_EQ(Info(2).FontName(), "No Such Font Here") << "clicking through keeps the name";
}

TEST_F(ComboEditor, WithoutASourceItRefusesBeforeShowingAnything) {
    Combo->SetzxLang(nullptr);
    TDialogServiceGuard guard(Dialogs);
    EXPECT_THROW(EditComboSettings(Combo), Exception);
    EXPECT_TRUE(Dialogs.Requests().empty());
}

TEST_F(ComboEditor, FlagsComeFromTheBuiltInListAFileOrAreCleared) {
    TTempDir dir;
    TBitmap picture(12, 8);
    picture.Canvas()->Brush()->SetColor(clLime);
    picture.Canvas()->FillRect(Rect(0, 0, 12, 8));
    picture.SaveToFile(dir.File("flag.png"));
    Edit([&](TfrmZxLangComboEditor& E) {
        ASSERT_GE(E.ilFlags->Count(), 4);
        EXPECT_EQ(E.cbFlags->Items()->Get(5), "3");
        EXPECT_EQ(E.pnImage->Caption(), "(No image)");
        Pick(*E.cbFlags, 5);
        TBitmap fourth;
        E.ilFlags->GetBitmap(3, &fourth);
        EXPECT_TRUE(E.imgLangImage->Picture()->Bitmap()->Equals(fourth));
        EXPECT_EQ(E.pnImage->Caption(), "");
        EXPECT_EQ(E.cbFlags->ItemIndex(), -1) << "the same choice can be made again";
        ClickLine(*E.lbLanguages, 1);
        Dialogs.AnswerFile(dir.File("flag.png"));
        Pick(*E.cbFlags, 0);
        ClickLine(*E.lbLanguages, 2);
        Pick(*E.cbFlags, 4);
        Pick(*E.cbFlags, 1);
        EXPECT_EQ(E.pnImage->Caption(), "(No image)");
        E.btOK->Click();
    });
    EXPECT_EQ(Info(0).FlagImage()->Width(), 20);
    EXPECT_TRUE(Info(1).FlagImage()->Equals(picture));
    EXPECT_TRUE(Info(2).FlagImage()->Empty());
}

TEST_F(ComboEditor, TheFlagListDrawsEachFlagAtItsPlace) {
    Edit([&](TfrmZxLangComboEditor& E) {
        E.Show();
        auto* box = qobject_cast<QComboBox*>(E.cbFlags->Handle());
        box->showPopup();
        Application->ProcessMessages();
        QImage list = box->view()->grab().toImage();
        box->hidePopup();
        EXPECT_EQ(E.cbFlags->ItemHeightOf(3), E.cbFlags->Canvas()->TextHeight("H") + 4);
        TBitmap flag;
        E.ilFlags->GetBitmap(1, &flag);
        const QRect item = box->view()->visualRect(box->model()->index(3, 0));
        EXPECT_EQ(list.pixelColor(item.left() + 4 + 3, item.top() + 1 + 7),
                  flag.Image().pixelColor(3, 7));
        SaveImage(list, "combo_editor_flags.png");
        Pick(*E.cbFlags, 2);
        SaveShot(E, "combo_editor.png");
        E.btCancel->Click();
    });
}

} // namespace
