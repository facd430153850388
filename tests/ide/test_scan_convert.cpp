// The source conversion on the example project: the review, the rewrite
// as one undoable edit, the strings added, and a unit without a form.
#include "ClxTestSupport.h"
#include "ExpertTestSupport.h"

#include "editor/FormData.h"
#include "ide/Q_scan.h"
#include "ide/Q_selunit.h"
#include "ide/QzxLangForm.h"
#include "runtime/QzxComp.h"

using namespace experttest;
using hosttest::ReadFile;

namespace {

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

const char* const UtilUnit =
    "unit Util;\r\n\r\ninterface\r\n\r\nprocedure Report(const Title: string = 'Untitled');\r\n\r\n"
    "implementation\r\n\r\nuses Main;\r\n\r\nconst\r\n  Sep = ' - ';\r\n\r\n"
    "procedure Log(const S: string);\r\nbegin\r\nend;\r\n\r\n"
    "procedure Report(const Title: string);\r\nbegin\r\n"
    "  { it's not a literal } Log(#13'Report:'#10 + Title); (* 'nor this' *)\r\n"
    "  Log('It''s done *) now');\r\nend;\r\n\r\ninitialization\r\n  Log('Loading util');\r\nend.\r\n";

// Text with its first From replaced by To.
std::string Replaced(std::string Text, const std::string& From, const std::string& To) {
    return Text.replace(Text.find(From), From.size(), To);
}

class TScanConvertTest : public TExpertTest {
protected:
    void SetUp() override {
        InitQzxComp();
        OpenExample();
        hosttest::WriteFile(File("Util.pas"), UtilUnit);
        ASSERT_TRUE(Host.OpenFile(File("Util.pas")));
        OpenExpertWindow();
        ASSERT_TRUE(frmzxLang);
        TListItem* main = frmzxLang->FormRow("MainForm");
        frmzxLang->lvFormNames->SetSelected(nullptr);
        main->SetSelected(true);
        ASSERT_TRUE(frmzxLang->InsertTzxLang(main));
        Lang = FirstLangOf(Host.FormOf(File("Main.pas")));
        ASSERT_TRUE(Lang);
        // The IDE names the component's unit in the uses clause with the
        // component.
        Edit("Main.pas", "QStdCtrls;", "QStdCtrls, QzxComp;");
    }
    void TearDown() override { Application->ProcessMessages(); }

    std::string Source(const char* Unit) { return Module(Unit)->Source().Text(); }
    // Replaces From by To in the unit's editor; the unit's text then.
    std::string Edit(const char* Unit, const std::string& From, const std::string& To) {
        const std::string text = Replaced(Source(Unit), From, To);
        Module(Unit)->Source().SetText(text);
        return text;
    }
    // The Free Pascal compiler's complaints about the unit as the editors
    // hold it and the units it uses (saved first), empty when it compiles: Delphi mode, typed
    // constants read-only, the example's libraries as stub units.
    std::string CompileErrors(const char* Unit) {
        for (const char* each : {"Main.pas", "Util.pas", "Texts.pas"})
            if (Module(each) && !Host.SaveFile(File(each)))
                return "the unit was not saved";
        const std::string out = File("fpc-out");
        std::filesystem::create_directories(out);
        const std::string command = "cd '" + Dir.Path() + "' && fpc -Mdelphi -Sj- -Cn -vq -FU'" + out +
                                    "' -Fu'" ZX_PASCAL_STUBS "' '" + Unit + "' > fpc.log 2>&1";
        return std::system(command.c_str()) == 0 ? std::string() : ReadFile(File("fpc.log"));
    }
    // The review shown: Check looks at it, then Modify Source, its Yes and
    // the closing message's OK.
    void ApplyReview(std::function<void(TfrmFound&)> Check = nullptr) {
        Dialogs.AnswerModal(mrNone, [Check](TCustomForm& Form) {
            auto& review = dynamic_cast<TfrmFound&>(Form);
            if (Check)
                Check(review);
            review.tbtOK->Click();
        });
        Dialogs.Answer(mrYes);
        Dialogs.Answer(mrOk);
    }
    void ConvertMain() { FormControl<TMenuItem>(frmzxLang, "WithForm1")->Click(); }

    TzxCustomLang* Lang = nullptr;
};

} // namespace

TEST_F(TScanConvertTest, FormUnitLiteralsBecomeCallsInOneUndoableEditAndAreNotFoundAgain) {
    const std::string before = Source("Main.pas");
    ApplyReview([](TfrmFound& Review) {
        EXPECT_EQ(Review.sgStrings->RowCount(), 3);
        EXPECT_EQ(Review.Positions->Count(), 3);
    });
    ConvertMain();
    std::string expected =
        Replaced(before, "'Orders of today'", "zxLang1.GetTextOrDefault('IDS_0' (* 'Orders of today' *) )");
    expected = Replaced(expected, "'The orders are shown.'",
                        "zxLang1.GetTextOrDefault('IDS_1' (* 'The orders are ...' *) )");
    EXPECT_EQ(Source("Main.pas"), expected);
    EXPECT_EQ(UTF8Encode(Lang->GetStringValue(*Lang->Strings(), u"IDS_1", 1)), "The orders are shown.");
    EXPECT_EQ(CompileErrors("Main.pas"), "");

    Dialogs.Answer(mrOk);
    ConvertMain();
    EXPECT_EQ(Dialogs.LastRequest().Text, "No strings found in the source!");
    ASSERT_TRUE(Host.Undo(File("Main.pas")));
    EXPECT_EQ(Source("Main.pas"), before) << "one undo step restores the unit";
}

TEST_F(TScanConvertTest, ExistingTextsAreMatchedExactlyInLanguageOneAndNotAddedAgain) {
    Lang->AddString(u"Known", {u"The orders are shown.", u"Tilaukset näytetään."});
    Lang->AddString(u"Other", {u"orders of today"});
    ApplyReview([](TfrmFound& Review) {
        EXPECT_EQ(Review.sgStrings->Cells(0, 1), "IDS_0");
        EXPECT_EQ(Review.sgStrings->Cells(0, 2), "Known");
    });
    ConvertMain();
    EXPECT_EQ(Lang->Strings()->Count(), 3);
    EXPECT_EQ(UTF8Encode(Lang->GetStringValue(*Lang->Strings(), u"Known", 2)), "Tilaukset näytetään.");
    EXPECT_NE(Source("Main.pas").find("GetTextOrDefault('Known' (*"), std::string::npos);
}

TEST_F(TScanConvertTest, UnitWithoutFormKeepsEveryOtherCharacterAndItsExpressionsValid) {
    ApplyReview([](TfrmFound& Review) {
        EXPECT_EQ(Review.StatusBar1->Panels()->Items(3)->Text(), "Skipped strings: 1")
            << "initialization runs before the form exists";
    });
    frmzxLang->DoScanReplace("MainForm", File("Util.pas"), false);
    std::string expected =
        Replaced(UtilUnit, "'Report:'", " + MainForm.zxLang1.GetTextOrDefault('IDS_0' (* 'Report:' *) ) + ");
    expected = Replaced(expected, "'It''s done *) now'",
                        "MainForm.zxLang1.GetTextOrDefault('IDS_1' (* 'It''s done * ) no...' *) )");
    EXPECT_EQ(Source("Util.pas"), expected);
    EXPECT_EQ(CompileErrors("Util.pas"), "");
}

TEST_F(TScanConvertTest, AUnitChangedDuringTheReviewOrACancelledReviewIsLeftAlone) {
    Dialogs.Answer(mrCancel);
    frmzxLang->DoScanReplace("MainForm", File("Util.pas"), false);
    EXPECT_EQ(Source("Util.pas"), UtilUnit);
    EXPECT_EQ(Lang->Strings()->Count(), 0);

    ApplyReview([this](TfrmFound&) {
        Module("Util.pas")->Source().SetText(std::string(UtilUnit) + "\r\n");
    });
    frmzxLang->DoScanReplace("MainForm", File("Util.pas"), false);
    EXPECT_EQ(Dialogs.LastRequest().Text,
              "The unit changed while its strings were reviewed: nothing was converted.");
    EXPECT_EQ(Source("Util.pas"), std::string(UtilUnit) + "\r\n");
    EXPECT_EQ(Lang->Strings()->Count(), 0);
}

TEST_F(TScanConvertTest, ConstantsOfTheFormUnitBecomeVariablesFilledByUpdateStrings) {
    Edit("Main.pas", "{$R *.xfm}",
         "const\n  SCaption = 'Orders of today';\n  SDone: string = 'The orders ' +\n"
         "    'are shown.';\n  Limit = 10;\n\n{$R *.xfm}");
    Lang->AddString(u"strSDone", {u"old", u"Tilaukset"});
    Expert->CnstPermanent = 0;
    ApplyReview([](TfrmFound& Review) {
        EXPECT_FALSE(Review.tbtID->Visible());
        EXPECT_EQ(Review.sgStrings->Cells(2, 1), "zxLang1.GetTextOrDefault('strSCaption');");
        Review.sgStrings->SetCells(2, 1, "PChar(zxLang1.GetTextOrDefault('strSCaption'));");
    });
    FormControl<TMenuItem>(frmzxLang, "ConstWithForm1")->Click();
    EXPECT_EQ(Dialogs.LastRequest().Text,
              "Source file translated. All string constants added to \"Strings\" property.");
    const std::string converted = Source("Main.pas");
    EXPECT_NE(converted.find("var\n  SCaption: string; (* Orders of today *)\n"
                             "  SDone: string; (* The orders are shown. *)\n  const Limit = 10;\n"),
              std::string::npos)
        << converted;
    EXPECT_NE(converted.find("procedure TMainForm.UpdateStrings;\nbegin\n"
                             "  SCaption := PChar(zxLang1.GetTextOrDefault('strSCaption'));\n"
                             "  SDone := zxLang1.GetTextOrDefault('strSDone');\n"),
              std::string::npos)
        << converted;
    EXPECT_NE(converted.find("FormCreate(Sender: TObject);\nbegin\n  UpdateStrings;\n"), std::string::npos);
    EXPECT_NE(converted.find("  UpdateStrings;\nend;"), std::string::npos);
    EXPECT_EQ(UTF8Encode(Lang->GetStringValue(*Lang->Strings(), u"strSDone", 1)), "The orders are shown.");
    EXPECT_EQ(UTF8Encode(Lang->GetStringValue(*Lang->Strings(), u"strSDone", 2)), "Tilaukset")
        << "the identifier's other languages stay";
    EXPECT_EQ(CompileErrors("Main.pas"), "");

    Dialogs.Answer(mrOk);
    FormControl<TMenuItem>(frmzxLang, "ConstWithForm1")->Click();
    EXPECT_EQ(Dialogs.LastRequest().Text, "There are no strings in CONST section!");
    EXPECT_EQ(Source("Main.pas"), converted);
}

TEST_F(TScanConvertTest, AUnitWithoutFormIsRefusedUnlessTheFormUnitUsesIt) {
    hosttest::WriteFile(File("Texts.pas"), "unit Texts;\ninterface\nconst\n  SHello = 'Hello';\n"
                                           "implementation\nend.\n");
    ASSERT_TRUE(Host.OpenFile(File("Texts.pas")));
    frmzxLang->InsertConstMethods(frmzxLang->FormRow("MainForm"));
    Dialogs.Answer(mrOk);
    frmzxLang->DoScanReplace("MainForm", File("Texts.pas"), true);
    EXPECT_EQ(Dialogs.LastRequest().Text,
              "Main.pas does not use Texts: the form cannot fill its constants, nothing was converted.");

    Edit("Main.pas", "  Orders;", "  Orders, Texts;");
    Expert->CnstPermanent = 1;
    ApplyReview();
    frmzxLang->DoScanReplace("MainForm", File("Texts.pas"), true);
    EXPECT_EQ(Source("Texts.pas"), "unit Texts;\ninterface\nvar\n  SHello: string; (* Hello *)\n"
                                   "implementation\nend.\n");
    EXPECT_NE(Source("Main.pas").find("  SHello := zxLang1.GetTextOrDefault('strSHELLO');"),
              std::string::npos);
    EXPECT_EQ(CompileErrors("Main.pas"), "");
}

TEST_F(TScanConvertTest, AnAssignedCreationHandlerIsReusedAndAMissingUpdateStringsStopsTheRun) {
    const std::string main =
        Edit("Main.pas", "{$R *.xfm}", "const\n  SCaption = 'Orders of today';\n\n{$R *.xfm}");
    Dialogs.Answer(mrOk);
    frmzxLang->DoScanReplace("MainForm", AnsiString(), true);
    EXPECT_EQ(Dialogs.LastRequest().Text,
              "Main.pas has no method UpdateStrings to fill the constants: nothing was converted.");
    EXPECT_EQ(Source("Main.pas"), main);

    Expert->InsertFormEvent(File("Main.pas"), "MainFormCreate", false);
    ApplyReview();
    FormControl<TMenuItem>(frmzxLang, "ConstWithForm1")->Click();
    const std::string converted = Source("Main.pas");
    EXPECT_NE(converted.find("MainFormCreate(Sender: TObject);\nbegin\n  UpdateStrings;"),
              std::string::npos);
    EXPECT_EQ(converted.find("TMainForm.FormCreate"), std::string::npos);
    EXPECT_EQ(CompileErrors("Main.pas"), "");
}

TEST_F(TScanConvertTest, AFormWithoutComponentAndAnUnlistedUnitAreRefused) {
    Dialogs.Answer(mrOk);
    frmzxLang->DoScanReplace("OrdersForm", AnsiString(), false);
    EXPECT_EQ(Dialogs.LastRequest().Text,
              "The form OrdersForm has no translation component: the source was not converted.");

    Dialogs.AnswerModal(mrNone, [](TCustomForm& Form) {
        auto& chooser = dynamic_cast<TfrmTranslUnits&>(Form);
        EXPECT_EQ(chooser.cbFormNames->Items()->Text(), "MainForm\n");
        zxtest::TypeInto(chooser.edUnitName->Handle(), "ex");
        ASSERT_EQ(chooser.lbUnits->ItemIndex(), 0);
        EXPECT_EQ(chooser.lbUnits->Items()->Get(0), "Example");
        EXPECT_FALSE(chooser.btOK->Enabled()) << "no form chosen yet";
        chooser.cbFormNames->SetItemIndex(0);
        chooser.cbFormNamesChange(&chooser);
        EXPECT_TRUE(chooser.btOK->Enabled());
        zxtest::TypeInto(chooser.edUnitName->Handle(), "x");
        EXPECT_FALSE(chooser.btOK->Enabled()) << "a typed name that is no unit of the list";
        chooser.SetModalResult(mrCancel);
    });
    FormControl<TMenuItem>(frmzxLang, "WithoutForm1")->Click();
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}
