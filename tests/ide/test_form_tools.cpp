// The expert window's tools across forms: finding and replacing a phrase
// through the find dialog, the replace prompt and the results window;
// property files, updating, clearing and excluding properties.
#include "ClxTestSupport.h"
#include "ExpertTestSupport.h"

#include "clx/ActnList.h"
#include "clx/Buttons.h"
#include "editor/FormData.h"
#include "editor/QExcludedEditor.h"
#include "editor/Qdntcedit.h"
#include "editor/QzxTransEditor.h"
#include "clx/Keys.h"
#include "ide/Q_findfrm.h"
#include "ide/Q_findres.h"
#include "ide/Q_rplprom.h"
#include "ide/QzxLangForm.h"
#include "runtime/QzxComp.h"
#include "runtime/DOriDaz.h"
#include "runtime/QzxTranslationLine.h"
#include "runtime/ZxLangRuntime.h"
#include "TestSupport.h"

#include <QtWidgets/QWidget>

using namespace experttest;

namespace {

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

struct TFind {
    AnsiString Text;
    bool Sensitive = false;
    bool Whole = false;
    bool Identifiers = false;
    AnsiString Replacement{};
    bool Prompt = false;
};

class TFormToolsTest : public TExpertTest {
protected:
    void SetUp() override {
        InitZxLangRuntime();
        InitQzxTransEditor();
        OpenExample();
        OpenExpertWindow();
        ASSERT_TRUE(frmzxLang);
        // Placed by the designer, so that the form file keeps it.
        Orders = dynamic_cast<TzxLang*>(
            frmzxLang->InsertComponentOnForm("OrdersForm", TzxLang::StaticClass()));
        ASSERT_TRUE(Orders);
        Orders->SetNumLang(4);
        TStringList names;
        names.SetText("English\nDeutsch\nSuomi\nSvenska");
        Orders->SetLangNames(&names);
        Orders->Captions()->Add("CustomerLabel.Caption\1Customer:\1\1CUSTOMER no\1Kund\1");
        Orders->Captions()->Add("OrdersLabel.Caption\1Order\1Order\1Order\1Order\1");
        Expert->RunItemClick(nullptr);
        frmzxLang->lvFormNames->SetSelected(frmzxLang->FormRow("OrdersForm"));
    }
    void TearDown() override {
        delete Results();
        Application->ProcessMessages();
    }

    // The values of caption line Index, key first.
    std::vector<AnsiString> Fields(Integer Index) {
        TzxTranslationLine line(Orders->Captions()->Get(Index), '\1');
        std::vector<AnsiString> fields;
        for (Integer field = 0; field <= 4; ++field)
            fields.push_back(line.Value(field));
        return fields;
    }
    // Runs the command of the menu item through the find dialog; Then
    // answers the boxes and prompts that follow, in order.
    void Run(const char* Command, const TFind& Find,
             std::initializer_list<TModalResult> Then = {}) {
        Dialogs.AnswerModal(mrOk, [Find](TCustomForm& Form) {
            auto& dialog = dynamic_cast<TfrmFind&>(Form);
            dialog.edFindText->SetText(Find.Text);
            dialog.edReplace->SetText(Find.Replacement);
            dialog.ckbSensit->SetChecked(Find.Sensitive);
            dialog.ckbWhole->SetChecked(Find.Whole);
            dialog.ckbIdent->SetChecked(Find.Identifiers);
            dialog.ckbDoPrompt->SetChecked(Find.Prompt);
        });
        for (TModalResult answer : Then)
            Dialogs.Answer(answer);
        FormControl<TMenuItem>(frmzxLang, Command)->Click();
    }
    static TfrmFindResults* Results() {
        for (Integer index = 0; index < Screen->FormCount(); ++index)
            if (auto* results = dynamic_cast<TfrmFindResults*>(Screen->Forms(index)))
                return results;
        return nullptr;
    }
    // "Property/Line/Location" of each result row.
    static std::vector<AnsiString> Found() {
        std::vector<AnsiString> rows;
        TListItems* items = Results()->LVIDs->Items();
        for (Integer index = 0; index < items->Count(); ++index) {
            TStrings* texts = items->Item(index)->SubItems();
            rows.push_back(texts->Get(0) + "/" + texts->Get(1) + "/" + texts->Get(2));
        }
        return rows;
    }
    TzxLang* Orders = nullptr;
};

using TRows = std::vector<AnsiString>;

} // namespace

TEST_F(TFormToolsTest, FindReadsTheColumnsByPositionAndHonoursEveryOption) {
    const AnsiString before = Orders->Captions()->Text();
    Run("FindPhrase1", {"customer"});
    ASSERT_TRUE(Results());
    EXPECT_EQ(Results()->Caption(), "TzxLang find pharse");
    EXPECT_TRUE(Results()->Visible());
    EXPECT_EQ(Found(), (TRows{"Captions/0/English", "Captions/0/Suomi"}))
        << "the empty Deutsch value keeps its column";
    EXPECT_EQ(Results()->LVIDs->Items()->Item(0)->Caption(), File("Orders.pas"));
    Results()->SetBounds(0, 0, 560, 160);
    Results()->Handle()->grab().save(
        QString::fromStdString(zxtest::TestOutputDir() + "/find-results.png"));

    Run("FindPhrase1", {"customer", false, false, true});
    EXPECT_EQ(Found(), (TRows{"Captions/0/Identifier", "Captions/0/English", "Captions/0/Suomi"}));
    Run("FindPhrase1", {"Customer", true, false, true});
    EXPECT_EQ(Found(), (TRows{"Captions/0/Identifier", "Captions/0/English"}));
    Run("FindPhrase1", {"customer:", false, true});
    EXPECT_EQ(Found(), (TRows{"Captions/0/English"}));
    Run("FindPhrase1", {"order", false, true});
    EXPECT_EQ(Found().size(), 4u);
    EXPECT_EQ(Orders->Captions()->Text(), before) << "finding changes nothing";
}

TEST_F(TFormToolsTest, ReplaceKeepsOtherTextAndColumnsAndFollowsThePromptAnswers) {
    Run("ReplacePhrase1", {"customer", false, false, false, "Client"});
    EXPECT_EQ(Fields(0), (TRows{"CustomerLabel.Caption", "Client:", "", "Client no", "Kund"}));
    EXPECT_EQ(Fields(1)[1], "Order") << "nothing upper-cased";

    Run("ReplacePhrase1", {"CLIENT", true, false, false, "Asiakas"});
    EXPECT_EQ(Fields(0)[1], "Client:") << "case sensitive";

    Run("ReplacePhrase1", {"order", false, false, false, "Tilaus", true}, {mrNo, mrYes, mrCancel});
    EXPECT_EQ(Dialogs.LastRequest().Text, "TfrmReplConfirm");
    EXPECT_EQ(Fields(1), (TRows{"OrdersLabel.Caption", "Order", "Tilaus", "Order", "Order"}));
    Run("ReplacePhrase1", {"order", false, false, false, "Tilaus", true}, {mrAll});
    EXPECT_EQ(Fields(1), (TRows{"OrdersLabel.Caption", "Tilaus", "Tilaus", "Tilaus", "Tilaus"}));
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    EXPECT_EQ(Orders->Captions()->Count(), 2);
}

TEST_F(TFormToolsTest, ReplacementsThatWouldCorruptTheLinesAreRefused) {
    const AnsiString before = Orders->Captions()->Text();
    for (const TFind& find : {TFind{"", false, false, false, "x"},
                              TFind{"Kund", false, false, true, "x"},
                              TFind{"Kund", false, false, false, "a\1b"},
                              TFind{"Kund", false, false, false, "a\nb"}}) {
        Run("ReplacePhrase1", find, {mrOk});
        EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError) << find.Replacement;
    }
    EXPECT_EQ(Orders->Captions()->Text(), before);
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}

TEST_F(TFormToolsTest, AUnitThatWasNotOpenIsSavedBeforeItIsClosedAgain) {
    Dialogs.Answer(mrYes); // the example's form holds a property the designer drops
    ASSERT_TRUE(Host.SaveFile(File("Orders.pas")));
    ASSERT_TRUE(Expert->CloseFile(File("Orders.pas")));
    Run("ReplacePhrase1", {"Kund", true, true, false, "Kunde"});
    EXPECT_FALSE(Expert->IsFileOpen(File("Orders.pas")));
    ASSERT_TRUE(Expert->OpenFile(File("Orders.pas")));
    Orders = dynamic_cast<TzxLang*>(FirstLangOf(Host.FormOf(File("Orders.pas"))));
    ASSERT_TRUE(Orders);
    EXPECT_EQ(Fields(0)[4], "Kunde");
}

TEST_F(TFormToolsTest, PropertyFilesHoldTheChosenListsAndADifferentDelimiterIsAskedFor) {
    const std::string zxl = File("props.zxl");
    Dialogs.AnswerModal(mrOk, [](TCustomForm& Form) {
        auto& chooser = dynamic_cast<TfrmNotTranslate&>(Form);
        EXPECT_EQ(chooser.Caption(), "Selecting properties");
        EXPECT_EQ(chooser.lbSelected->Items()->Count(), StringsTypeCount);
        chooser.sbRemoveAll->Click();
        chooser.lbComps->SetSelected(chooser.lbComps->Items()->IndexOf("Captions"), true);
        chooser.sbAdd->Click();
    });
    Dialogs.AnswerFile(zxl);
    Dialogs.AnswerInput("~!@#");
    FormControl<TMenuItem>(frmzxLang, "SaveFormProperties1")->Click();
    TMemIniFile saved(zxl);
    EXPECT_TRUE(saved.SectionExists("Captions"));
    EXPECT_FALSE(saved.SectionExists("Hints"));
    EXPECT_EQ(saved.ReadString("Options", "Delimiter", ""), "~!@#");

    const std::string bytes = hosttest::ReadFile(zxl);
    Dialogs.Answer(mrOk); // the chooser keeps the choice
    Dialogs.AnswerFile(zxl);
    Dialogs.AnswerInput("|");
    Dialogs.Answer(mrNo);
    FormControl<TMenuItem>(frmzxLang, "SaveFormProperties1")->Click();
    EXPECT_EQ(Dialogs.LastRequest().DlgType, mtWarning);
    EXPECT_EQ(hosttest::ReadFile(zxl), bytes);

    Dialogs.Answer(mrOk);
    FormControl<TMenuItem>(frmzxLang, "SaveProjectProperties1")->Click();
    EXPECT_EQ(Dialogs.LastRequest().Text, "Project or file is not translated!");
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}

TEST_F(TFormToolsTest, UpdateCollectsAndClearEmptiesTheSelectedFormsComponents) {
    Orders->Captions()->Clear();
    FormControl<TMenuItem>(frmzxLang, "UpdateTranslation1")->Click();
    EXPECT_NE(Orders->Captions()->Text().find("CustomerLabel"), AnsiString::npos);
    const AnsiString collected = Orders->Captions()->Text();

    Dialogs.Answer(mrNo);
    FormControl<TMenuItem>(frmzxLang, "ClearTranslations1")->Click();
    EXPECT_EQ(Orders->Captions()->Text(), collected);
    Dialogs.Answer(mrYes);
    FormControl<TMenuItem>(frmzxLang, "ClearTranslations1")->Click();
    EXPECT_EQ(Orders->Captions()->Count(), 0);
    EXPECT_TRUE(Module("Orders.pas")->GetModified());
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}

TEST_F(TFormToolsTest, EditedExcludedPropertiesReachEverySelectedForm) {
    auto* data = dynamic_cast<TzxLang*>(
        frmzxLang->InsertComponentOnForm("DataModule1", TzxLang::StaticClass()));
    ASSERT_TRUE(data);
    Expert->RunItemClick(nullptr);
    frmzxLang->lvFormNames->SetSelected(nullptr);
    frmzxLang->FormRow("OrdersForm")->SetSelected(true);
    frmzxLang->FormRow("DataModule1")->SetSelected(true);
    Dialogs.AnswerModal(mrNone, [this](TCustomForm& Form) {
        auto& editor = dynamic_cast<TfrmExcludeFromTranslation&>(Form);
        editor.pcExcluded->SetActivePageIndex(1);
        Dialogs.AnswerInput("Hint");
        Dialogs.Answer(mrYes);
        editor.ActionNamed("acAddPropertyByName")->Execute();
        FormControl<TButton>(&editor, "btOK")->Click();
    });
    FormControl<TMenuItem>(frmzxLang, "ExcludeProperties1")->Click();
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    const AnsiString excluded = Orders->ExcludedProperties()->Text();
    EXPECT_NE(AnsiUpperCase(excluded).find("HINT"), AnsiString::npos);
    EXPECT_EQ(data->ExcludedProperties()->Text(), excluded);
}

TEST_F(TFormToolsTest, AResultOpensTheEditorAtItsLineAndViewFormOpensTheUnits) {
    Run("FindPhrase1", {"order"});
    TListView* found = Results()->LVIDs;
    ASSERT_EQ(found->Items()->Count(), 4);
    found->SetSelected(found->Items()->Item(2));
    TStringsType kind = stHints;
    Dialogs.AnswerModal(mrCancel, [&kind](TCustomForm& Form) {
        kind = dynamic_cast<TzxTransEditFrm&>(Form).CurrentType();
    });
    Integer key = Key_Return;
    found->OnKeyDown(found, key, TShiftState());
    EXPECT_EQ(kind, stCaptions);
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);

    Dialogs.Answer(mrYes); // the example's form holds a property the designer drops
    ASSERT_TRUE(Host.SaveFile(File("Orders.pas")));
    ASSERT_TRUE(Expert->CloseFile(File("Orders.pas")));
    Orders = nullptr;
    frmzxLang->lvFormNames->SetSelected(frmzxLang->FormRow("OrdersForm"));
    FormControl<TMenuItem>(frmzxLang, "pmViewForm1")->Click();
    EXPECT_TRUE(Expert->IsFileOpen(File("Orders.pas")));
}
