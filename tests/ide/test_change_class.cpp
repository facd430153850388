// Changing the class of a form's translation component from the expert
// window's submenu: the form file as form text and back, the unit's field
// and uses clause, refusals and the warning about properties that go.
#include "ClxTestSupport.h"
#include "ExpertTestSupport.h"

#include "designide/DesignIntf.h"
#include "editor/FormData.h"
#include "editor/QzxLangRT.h"
#include "ide/QzxLangForm.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxLngLnk.h"
#include "runtime/QzxLngTLV.h"
#include "runtime/ZxLangRuntime.h"

using namespace experttest;

namespace {

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

class TChangeClassTest : public TExpertTest {
protected:
    void SetUp() override {
        InitZxLangRuntime();
        InitQzxLangRT();
        // The package names the units of its classes.
        RegisterUnitClasses("QzxComp", {TzxLang::StaticClass()});
        RegisterUnitClasses("QzxLngLnk", {TzxLangLinked::StaticClass()});
        RegisterUnitClasses("QzxLngTLV", {TzxLangTLV::StaticClass()});
        RegisterUnitClasses("QzxLangRT", {TzxLangRT::StaticClass()});
        OpenExample();
        OpenExpertWindow();
        ASSERT_TRUE(frmzxLang);
    }
    void TearDown() override { Application->ProcessMessages(); }

    // Places a component of the class on OrdersForm with two caption lines,
    // saves the form and selects its row.
    void Place(TClass LangClass) {
        auto* lang = dynamic_cast<TzxCustomLang*>(
            frmzxLang->InsertComponentOnForm("OrdersForm", LangClass));
        lang->Captions()->Add("CustomerLabel.Caption\1Customer:\1Kunde:\1");
        lang->Captions()->Add("OrdersForm.Caption\1Orders\1\1");
        Dialogs.Answer(mrYes); // the example's form holds a property the designer drops
        EXPECT_TRUE(Host.SaveFile(File("Orders.pas")));
        Expert->RunItemClick(nullptr);
        frmzxLang->lvFormNames->SetSelected(frmzxLang->FormRow("OrdersForm"));
    }
    void ChangeTo(const char* ClassName) {
        for (Integer index = 0; index < frmzxLang->ChangeType1->Count(); ++index)
            if (frmzxLang->ChangeType1->Items(index)->Caption().ends_with(AnsiString(" ") + ClassName))
                frmzxLang->ChangeType1->Items(index)->Click();
    }
    TzxCustomLang* OrdersLang() { return FirstLangOf(Host.FormOf(File("Orders.pas"))); }
    std::string UnitText() { return hosttest::ReadFile(File("Orders.pas")); }
};

} // namespace

TEST_F(TChangeClassTest, EachConversionKeepsTheLinesAndTheFormLoads) {
    Place(TzxLang::StaticClass());
    const AnsiString lines = OrdersLang()->Captions()->Text();
    for (const char* target : {"TzxLangRT", "TzxLangLinked", "TzxLangTLV", "TzxLang"}) {
        ChangeTo(target);
        ASSERT_TRUE(Expert->IsFileOpen(File("Orders.pas"))) << "opened again: " << target;
        TzxCustomLang* lang = OrdersLang();
        ASSERT_TRUE(lang) << target;
        EXPECT_EQ(lang->ClassName(), target);
        EXPECT_EQ(lang->Captions()->Text(), lines) << target;
        EXPECT_EQ(RowText(frmzxLang->FormRow("OrdersForm"), rtComponentClass), target);
        ASSERT_TRUE(Host.SaveFile(File("Orders.pas")));
        EXPECT_NE(UnitText().find(AnsiString(": ") + target + ";"), std::string::npos) << target;
    }
    for (const char* unit : {"QzxLangRT", "QzxLngLnk", "QzxLngTLV"})
        EXPECT_NE(UnitText().find(unit), std::string::npos) << "the uses clause names " << unit;
    EXPECT_TRUE(FileExists(File("Orders.~xfm")));
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);

    const std::string form = hosttest::ReadFile(File("Orders.xfm"));
    Dialogs.Answer(mrOk);
    ChangeTo("TzxLangRTSE");
    EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError);
    EXPECT_EQ(hosttest::ReadFile(File("Orders.xfm")), form);
}

TEST_F(TChangeClassTest, PropertiesTheTargetLacksAreListedAndKeptUnlessTheUserAgrees) {
    Place(TzxLangRT::StaticClass());
    const std::string form = hosttest::ReadFile(File("Orders.xfm"));
    const std::string unit = UnitText();

    Dialogs.Answer(mrNo);
    ChangeTo("TzxLang");
    EXPECT_NE(Dialogs.LastRequest().Text.find("StorageDelimiter"), AnsiString::npos);
    EXPECT_EQ(hosttest::ReadFile(File("Orders.xfm")), form);
    EXPECT_EQ(UnitText(), unit);
    ASSERT_TRUE(OrdersLang());
    EXPECT_EQ(OrdersLang()->ClassName(), "TzxLangRT");

    Dialogs.Answer(mrYes);
    ChangeTo("TzxLang");
    ASSERT_TRUE(OrdersLang()) << "the form loads without the dropped property";
    EXPECT_EQ(OrdersLang()->ClassName(), "TzxLang");
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
}

TEST_F(TChangeClassTest, UnsavedEditsAreSavedBeforeTheUnitCloses) {
    Place(TzxLang::StaticClass());
    OrdersLang()->Captions()->Add("Edited.Caption\1Edited\1\1");
    Expert->MarkModifiedForm("OrdersForm");
    ChangeTo("TzxLangTLV");
    ASSERT_TRUE(OrdersLang());
    EXPECT_EQ(OrdersLang()->ClassName(), "TzxLangTLV");
    EXPECT_NE(OrdersLang()->Captions()->Text().find("Edited.Caption"), AnsiString::npos);
}

TEST_F(TChangeClassTest, AClosedUnitChangesOnlyTheFieldTypeAndIsSavedAndClosedAgain) {
    Place(TzxLang::StaticClass());
    ASSERT_TRUE(Expert->CloseFile(File("Orders.pas")));
    std::string unit = UnitText();
    const AnsiString decoys = "  { Lang: TzxLang } Hint: TzxLangDispatcher;\n";
    unit.insert(unit.find("    CustomerLabel"), "  // Old: TzxLang\n" + decoys);
    hosttest::WriteFile(File("Orders.pas"), unit);
    ChangeTo("TzxLangLinked");
    EXPECT_FALSE(Expert->IsFileOpen(File("Orders.pas")));
    const std::string changed = UnitText();
    EXPECT_NE(changed.find("// Old: TzxLang\n" + decoys), std::string::npos);
    EXPECT_NE(changed.find("zxLang1: TzxLangLinked;"), std::string::npos);
    EXPECT_NE(changed.find("QzxLngLnk"), std::string::npos);
    EXPECT_NE(hosttest::ReadFile(File("Orders.xfm")).find("zxLang1: TzxLangLinked"),
              std::string::npos);
}
