// The language combo box: its items follow the languages of a translation
// component or a dispatcher, it selects the active language on loading,
// and draws each language with its flag and font, offscreen.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "rtl/FormText.h"
#include "runtime/QzxLangCombo.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

class TApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override {
        RegisterClxClasses();
        InitQzxComp();
        RegisterClass(TzxLangCombo::StaticClass());
        Application->Initialize();
    }
    void TearDown() override { DoneApplication(); }
};

const auto* const Environment = testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

std::unique_ptr<TStringList> Names(std::initializer_list<AnsiString> Lines) {
    auto names = std::make_unique<TStringList>();
    for (const AnsiString& line : Lines)
        names->Add(line);
    return names;
}

// A flag: a bitmap filled with one colour.
std::unique_ptr<TBitmap> Flag(TColor Colour) {
    auto flag = std::make_unique<TBitmap>(12, 8);
    flag->Canvas()->Brush()->SetColor(Colour);
    flag->Canvas()->FillRect(Rect(0, 0, 12, 8));
    return flag;
}

bool HasColour(const QImage& Image, QColor Colour) {
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (Image.pixelColor(x, y) == Colour)
                return true;
    return false;
}

// A data module with a dispatcher of three languages, and a form with a
// translation component of two.
class LangComboTest : public testing::Test {
protected:
    void SetUp() override {
        Module = NewComponent<TDataModule>(nullptr);
        Module->SetName("ComboModule");
        Dispatcher = NewComponent<TzxLangDispatcher>(Module);
        Dispatcher->SetName("Dispatcher");
        Dispatcher->SetNumOfLanguages(3);
        Dispatcher->SetLangNames(Names({"English", "Deutsch", "Francais"}).get());
        Form = NewForm<TForm>(Application);
        Form->SetName("ComboForm");
        Form->SetBounds(10, 10, 300, 200);
        Lang = NewComponent<TzxLang>(Form);
        Lang->SetName("zxLang1");
        Lang->SetNumLang(2);
        Lang->SetLangNames(Names({"Suomi", "Svenska"}).get());
        Combo = NewComponent<TzxLangCombo>(Form);
        Combo->SetName("Combo");
        Combo->SetParent(Form);
        Combo->SetBounds(10, 10, 200, 28);
    }
    void TearDown() override {
        delete Form;
        delete Module;
        Application->ProcessMessages();
    }

    AnsiString ItemsText() const { return Combo->Items()->CommaText(); }

    TDataModule* Module = nullptr;
    TzxLangDispatcher* Dispatcher = nullptr;
    TForm* Form = nullptr;
    TzxLang* Lang = nullptr;
    TzxLangCombo* Combo = nullptr;
};

TEST_F(LangComboTest, IsAnUnsortedOwnerDrawnComboWithoutSource) {
    EXPECT_EQ(Combo->Style(), csOwnerDrawFixed);
    EXPECT_FALSE(Combo->Sorted());
    EXPECT_EQ(Combo->zxLang(), nullptr);
    EXPECT_EQ(Combo->zxLangDispatcher(), nullptr);
    Combo->UpdateInfo();
    EXPECT_EQ(Combo->Items()->Count(), 0);
    EXPECT_EQ(Combo->LanguageInfos()->Count(), 0);
}

TEST_F(LangComboTest, ListsTheNamesOfItsSourceTheDispatcherFirst) {
    Combo->SetzxLang(Lang);
    EXPECT_EQ(ItemsText(), "Suomi,Svenska");
    ASSERT_EQ(Combo->LanguageInfos()->Count(), 2);
    EXPECT_EQ(Combo->LanguageInfos()->GetItems(0)->FontCharset(), 23);
    EXPECT_TRUE(Combo->LanguageInfos()->GetItems(0)->FlagImage()->Empty());

    Combo->SetzxLangDispatcher(Dispatcher);
    EXPECT_EQ(ItemsText(), "English,Deutsch,Francais");
    EXPECT_EQ(Combo->LanguageInfos()->Count(), 3);
}

TEST_F(LangComboTest, OwnDisplayNamesShowAtTheNextUpdate) {
    Combo->SetzxLangDispatcher(Dispatcher);
    Combo->LanguageInfos()->GetItems(1)->SetLanguageName("German");
    EXPECT_EQ(ItemsText(), "English,Deutsch,Francais");
    Combo->UpdateInfo();
    EXPECT_EQ(ItemsText(), "English,German,Francais");
}

TEST_F(LangComboTest, TheSettingsFollowTheNumberOfLanguagesByPosition) {
    Combo->SetzxLangDispatcher(Dispatcher);
    TLanguageInfos* infos = Combo->LanguageInfos();
    infos->GetItems(1)->SetFontName("Serif");
    infos->GetItems(2)->SetFontCharset(RUSSIAN_CHARSET);
    infos->GetItems(2)->SetFlagImage(Flag(clRed).get());

    Dispatcher->SetNumOfLanguages(2);
    Combo->UpdateInfo();
    ASSERT_EQ(infos->Count(), 2);
    EXPECT_EQ(infos->GetItems(1)->FontName(), "Serif");

    Dispatcher->SetNumOfLanguages(3);
    Combo->UpdateInfo();
    ASSERT_EQ(infos->Count(), 3);
    EXPECT_EQ(infos->GetItems(2)->FontCharset(), 23) << "a fresh item";
    EXPECT_TRUE(infos->GetItems(2)->FlagImage()->Empty());
    EXPECT_EQ(ItemsText(), "English,Deutsch,\"Language N3\"");
}

TEST_F(LangComboTest, SelectingAnItemSwitchesNoLanguage) {
    Combo->SetzxLang(Lang);
    Integer changes = 0;
    Combo->OnChange = [&](TObject*) { ++changes; };
    auto* box = qobject_cast<QComboBox*>(Combo->Handle());
    ASSERT_NE(box, nullptr);
    emit box->activated(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Combo->ItemIndex(), 1);
    EXPECT_EQ(Lang->ActiveLanguage(), 1);
}

TEST_F(LangComboTest, AFreedSourceLeavesNoDanglingReference) {
    Combo->SetzxLang(Lang);
    Combo->SetzxLangDispatcher(Dispatcher);
    delete Module;
    Module = nullptr;
    EXPECT_EQ(Combo->zxLangDispatcher(), nullptr);
    EXPECT_EQ(ItemsText(), "English,Deutsch,Francais") << "the items stay";
    Combo->UpdateInfo();
    EXPECT_EQ(ItemsText(), "Suomi,Svenska");

    delete Lang;
    EXPECT_EQ(Combo->zxLang(), nullptr);
    Combo->UpdateInfo();
    EXPECT_EQ(Combo->Items()->Count(), 0);
}

TEST_F(LangComboTest, ItemsAreAsHighAsTheirTextUnlessTheHandlerDecides) {
    Integer height = 0;
    Combo->MeasureItem(Combo, 0, height);
    EXPECT_EQ(height, Combo->Canvas()->TextHeight("H") + 4);
    EXPECT_GT(height, 4);
    Combo->OnMeasureItem = [](TWinControl*, Integer Index, Integer& Height) {
        Height = 30 + Index;
    };
    Combo->MeasureItem(Combo, 2, height);
    EXPECT_EQ(height, 32);
}

// Drawing an item straight onto an image.
class LangComboDrawTest : public LangComboTest {
protected:
    QImage DrawItem(Integer Index, TOwnerDrawState State, bool* Handled = nullptr) {
        QImage image(200, 24, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        Combo->Canvas()->SetHandle(&painter);
        Combo->Canvas()->Brush()->SetColor(clWhite);
        bool handled = Combo->DrawItem(Index, Rect(0, 0, 200, 24), State);
        Combo->Canvas()->SetHandle(nullptr);
        painter.end();
        if (Handled)
            *Handled = handled;
        return image;
    }
};

TEST_F(LangComboDrawTest, DrawsTheFlagThenTheName) {
    Combo->SetzxLangDispatcher(Dispatcher);
    Combo->LanguageInfos()->GetItems(1)->SetFlagImage(Flag(clRed).get());
    bool handled = false;
    QImage image = DrawItem(1, TOwnerDrawState{}, &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(image.pixelColor(1, 2), QColor(Qt::red)) << "the flag at left + 1, top + 2";
    EXPECT_EQ(image.pixelColor(12, 9), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_NE(image.pixelColor(13, 2), QColor(Qt::red));
    EXPECT_TRUE(HasColour(image.copy(16, 0, 100, 24), ColorToQColor(Combo->Font()->Color())))
        << "the name in the combo's font colour";
}

TEST_F(LangComboDrawTest, ASelectedItemIsHighlighted) {
    Combo->SetzxLangDispatcher(Dispatcher);
    QImage image = DrawItem(0, TOwnerDrawState{odSelected});
    EXPECT_EQ(image.pixelColor(199, 23), ColorToQColor(clHighlight));
    EXPECT_TRUE(HasColour(image, ColorToQColor(clHighlightedText)));
    EXPECT_EQ(Combo->Canvas()->Font()->Color(), clHighlightedText);
}

TEST_F(LangComboDrawTest, TheItemFontIsTheLanguagesOwn) {
    Combo->SetzxLangDispatcher(Dispatcher);
    Combo->LanguageInfos()->GetItems(2)->SetFontName("Serif");
    Combo->LanguageInfos()->GetItems(2)->SetFontCharset(GREEK_CHARSET);
    DrawItem(2, TOwnerDrawState{});
    EXPECT_EQ(Combo->Canvas()->Font()->Name(), "Serif");
    EXPECT_EQ(Combo->Canvas()->Font()->Charset(), GREEK_CHARSET);
}

TEST_F(LangComboDrawTest, IndexesOutsideTheLanguagesDrawNothing) {
    Combo->SetzxLangDispatcher(Dispatcher);
    bool handled = false;
    QImage image = DrawItem(3, TOwnerDrawState{}, &handled);
    EXPECT_TRUE(handled);
    EXPECT_FALSE(HasColour(image, ColorToQColor(Combo->Font()->Color())));
    DrawItem(-1, TOwnerDrawState{odSelected}, &handled);
    EXPECT_TRUE(handled);

    // Names shrunk behind the combo's back: the items are drawn without text.
    Dispatcher->LangNames()->Clear();
    image = DrawItem(2, TOwnerDrawState{});
    EXPECT_FALSE(HasColour(image, ColorToQColor(Combo->Font()->Color())));
}

TEST_F(LangComboDrawTest, AnAssignedHandlerDrawsInstead) {
    Combo->SetzxLangDispatcher(Dispatcher);
    Integer drawn = -1;
    Combo->OnDrawItem = [&](TObject*, Integer Index, TRect, TOwnerDrawState, bool& Handled) {
        drawn = Index;
        Handled = false;
    };
    bool handled = true;
    QImage image = DrawItem(1, TOwnerDrawState{odSelected}, &handled);
    EXPECT_EQ(drawn, 1);
    EXPECT_FALSE(handled);
    EXPECT_EQ(image.pixelColor(199, 23), QColor(Qt::white));
}

// ---------------------------------------------------------------------------
// Form files and the screen

TEST_F(LangComboTest, SelectsTheActiveLanguageWhenLoaded) {
    Dispatcher->SetActiveLanguage(3);
    auto* form = NewForm<TForm>(Application);
    ReadFormText("object LoadedForm: TForm\n"
                 "  object LangCombo: TzxLangCombo\n"
                 "    zxLangDispatcher = ComboModule.Dispatcher\n"
                 "    LanguageInfos = <\n"
                 "      item\n"
                 "        FontName = 'Serif'\n"
                 "      end\n"
                 "      item\n"
                 "        LanguageName = 'German'\n"
                 "      end>\n"
                 "  end\n"
                 "end\n",
                 form);
    auto* combo = dynamic_cast<TzxLangCombo*>(form->FindComponent("LangCombo"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Items()->CommaText(), "English,German,Francais");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "Francais");
    ASSERT_EQ(combo->LanguageInfos()->Count(), 3);
    EXPECT_EQ(combo->LanguageInfos()->GetItems(0)->FontName(), "Serif");
    delete form;
}

TEST_F(LangComboTest, SelectsTheComponentsLanguageAndNoItemOutOfRange) {
    auto* form = NewForm<TForm>(Application);
    ReadFormText("object LoadedForm: TForm\n"
                 "  object zxLang1: TzxLang\n"
                 "    NumOfLanguages = 2\n"
                 "    ActiveLanguage = 2\n"
                 "    LangNames.Strings = (\n"
                 "      'One'\n"
                 "      'Two')\n"
                 "    Language = 'Two'\n"
                 "  end\n"
                 "  object LangCombo: TzxLangCombo\n"
                 "    zxLang = zxLang1\n"
                 "  end\n"
                 "end\n",
                 form);
    auto* combo = dynamic_cast<TzxLangCombo*>(form->FindComponent("LangCombo"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->ItemIndex(), 1);
    delete form;

    form = NewForm<TForm>(Application);
    ReadFormText("object LoadedForm: TForm\n"
                 "  object LangCombo: TzxLangCombo\n"
                 "    ItemIndex = 4\n"
                 "  end\n"
                 "end\n",
                 form);
    combo = dynamic_cast<TzxLangCombo*>(form->FindComponent("LangCombo"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->ItemIndex(), -1);
    delete form;
}

TEST_F(LangComboTest, DrawsOffscreenWithFlagsAndNames) {
    Combo->SetzxLangDispatcher(Dispatcher);
    Combo->LanguageInfos()->GetItems(0)->SetFlagImage(Flag(clBlue).get());
    Combo->LanguageInfos()->GetItems(1)->SetFlagImage(Flag(clRed).get());
    Combo->LanguageInfos()->GetItems(2)->SetFlagImage(Flag(clGreen).get());
    Combo->SetItemIndex(1);
    Form->Show();
    Application->ProcessMessages();

    QImage closed = Combo->Handle()->grab().toImage();
    EXPECT_TRUE(HasColour(closed, QColor(Qt::red))) << "the selected language's flag";
    EXPECT_FALSE(HasColour(closed, QColor(Qt::blue)));

    auto* box = qobject_cast<QComboBox*>(Combo->Handle());
    box->showPopup();
    Application->ProcessMessages();
    QImage open = box->view()->grab().toImage();
    box->hidePopup();
    EXPECT_TRUE(HasColour(open, QColor(Qt::blue)));
    EXPECT_TRUE(HasColour(open, ColorToQColor(clGreen)));

    QImage shot = Form->Handle()->grab().toImage();
    std::string path = TestOutputDir() + "/runtime_lang_combo.png";
    ASSERT_TRUE(shot.save(QString::fromStdString(path)));
    std::string list = TestOutputDir() + "/runtime_lang_combo_list.png";
    ASSERT_TRUE(open.save(QString::fromStdString(list)));
}

} // namespace
