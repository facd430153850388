// The expert window over the example project: its rows for open and closed
// forms, the selection rules, sorting, the status bar, docking, emptying
// the list, and the access to the rows' forms.
#include "ExpertTestSupport.h"

#include "editor/FormData.h"
#include "rtl/FormText.h"
#include "rtl/Streams.h"

using namespace experttest;

namespace {

// The example's units and forms, closed ones of each kind, a unit without
// form, and entries that are no units.
const char* const ExtraUnits =
    "program Example;\nuses\n  QForms,\n  Main in 'Main.pas' {MainForm},\n"
    "  Orders in 'Orders.pas' {OrdersForm},\n  Data in 'Data.pas' {DataModule1: TDataModule},\n"
    "  Trans in 'Trans.pas' {TransForm},\n  RtOnly in 'RtOnly.pas' {RtForm},\n"
    "  Bad in 'Bad.pas' {BadForm},\n  Ghost in 'Ghost.pas' {GhostForm},\n"
    "  Helpers in 'Helpers.pas',\n  Res in 'Extra.Res',\n  Proj in 'Extra.bpr';\nbegin\nend.\n";

// A unit whose form class is T + Form (none when Form is empty).
void WriteUnit(const std::string& Dir, const std::string& Name, const std::string& Form = "") {
    const std::string type =
        Form.empty() ? "" : "type\n  T" + Form + " = class(TForm)\n  end;\n\nvar\n  " + Form +
                                ": T" + Form + ";\n\n";
    hosttest::WriteFile(Dir + "/" + Name + ".pas", "unit " + Name + ";\n\ninterface\n\nuses QForms;\n\n" +
                                                       type + "implementation\n\nend.\n");
}

// Form text as a binary form resource, as the IDE keeps forms.
void WriteFormResource(const std::string& File, const AnsiString& Text) {
    TStringStream text(Text);
    TMemoryStream resource;
    ObjectTextToResource(text, resource);
    resource.SaveToFile(File);
}

class TExpertWindowTest : public TExpertTest {
protected:
    void SetUp() override {
        InitQzxComp();
        hosttest::WriteFile(File("Example.dpr"), ExtraUnits);
        WriteUnit(Dir.Path(), "Trans", "TransForm");
        WriteUnit(Dir.Path(), "RtOnly", "RtForm");
        WriteUnit(Dir.Path(), "Bad", "BadForm");
        WriteUnit(Dir.Path(), "Ghost", "OtherForm");
        WriteUnit(Dir.Path(), "Helpers");
        WriteFormResource(File("Trans.xfm"), "object TransForm: TTransForm\n"
                                             "  object zxLang1: TzxLang\n"
                                             "    NumOfLanguages = 3\n  end\nend\n");
        hosttest::WriteFile(File("RtOnly.xfm"), "object RtForm: TRtForm\n"
                                                "  object zxLangRT1: TzxLangRT\n  end\nend\n");
        hosttest::WriteFile(File("Bad.xfm"), "object BadForm: TBadForm\n"
                                             "  object zxLang1: TzxLang\n"
                                             "    NumOfLanguages = three\n  end\nend\n");
        hosttest::WriteFile(File("Ghost.xfm"), "object OtherForm: TOtherForm\nend\n");
        OpenExampleWithOrdersLang();
        MakeExpert();
        FzxLangExpert = Expert;
    }
    void TearDown() override { Application->ProcessMessages(); }

    TListItem* Row(const AnsiString& FormName) { return frmzxLang->FormRow(FormName); }
    AnsiString Cells(const AnsiString& FormName) { return Row(FormName)->SubItems()->Text(); }
    std::vector<AnsiString> Captions() {
        std::vector<AnsiString> captions;
        TListItems* rows = frmzxLang->lvFormNames->Items();
        for (Integer index = 0; index < rows->Count(); ++index)
            captions.push_back(rows->Item(index)->Caption());
        return captions;
    }
    TMenuItem* MenuItem(const char* Name) { return FormControl<TMenuItem>(frmzxLang, Name); }
    AnsiString Panel(Integer Index) {
        return frmzxLang->StatusBar1->Panels()->Items(Index)->Text();
    }
};

} // namespace

TEST_F(TExpertWindowTest, RowsShowOpenAndClosedFormsWithTheirComponents) {
    Expert->RunItemClick(nullptr);
    ASSERT_TRUE(frmzxLang);
    EXPECT_EQ(Captions(), std::vector<AnsiString>({"TransForm", "RtForm", "OrdersForm", "MainForm",
                                                   "GhostForm", "DataModule1", "BadForm"}))
        << "the first fill sorts by form name, descending";
    EXPECT_EQ(Cells("OrdersForm"), "Orders\n" + File("Orders.pas") + "\n4\nTzxLang\n");
    EXPECT_EQ(Row("OrdersForm")->StateIndex(), RowWithComponent);
    EXPECT_TRUE(Row("OrdersForm")->Data()) << "an open form's row has its module notifier";
    EXPECT_EQ(Cells("TransForm"), "Trans\n" + File("Trans.pas") + "\n3\nTzxLang\n");
    EXPECT_FALSE(Row("TransForm")->Data());
    EXPECT_EQ(Cells("RtForm"), "RtOnly\n" + File("RtOnly.pas") + "\n1\nTzxLangRT\n")
        << "no count line: one language";
    EXPECT_EQ(RowText(Row("BadForm"), rtLanguages), "0");
    EXPECT_EQ(Row("BadForm")->StateIndex(), RowWithoutComponent);
    EXPECT_NE(frmzxLang->Caption().find("three"), AnsiString::npos)
        << "the conversion error shows in the caption: " << frmzxLang->Caption();
    EXPECT_EQ(Expert->ProjectUnitNames->Text(), "Example\nHelpers\n")
        << ".RES and .BPR entries are no units";
    EXPECT_EQ(Panel(0), "Forms count: 7");
    EXPECT_EQ(Panel(1), "Units count: 2");
    EXPECT_EQ(Panel(2), "Forms translated: 3 of 7");

    frmzxLang->HintMouseMove(frmzxLang->lvFormNames, TShiftState(), 1, 1);
    EXPECT_EQ(frmzxLang->StatusBar1->SimpleText(), "List of project's forms");
    frmzxLang->HintMouseMove(frmzxLang->StatusBar1, TShiftState(), 1, 1);
    EXPECT_EQ(frmzxLang->StatusBar1->SimpleText(), "Forms and units of the active project");
}

TEST_F(TExpertWindowTest, ColumnClicksReverseTheSortAndAreStored) {
    Expert->RunItemClick(nullptr);
    TListColumns* columns = frmzxLang->lvFormNames->Columns();
    frmzxLang->lvFormNamesColumnClick(nullptr, columns->Items(0));
    EXPECT_EQ(Captions().front(), "BadForm");
    EXPECT_EQ(Expert->SortOrder, 1);
    frmzxLang->lvFormNamesColumnClick(nullptr, columns->Items(3));
    EXPECT_EQ(Captions().front(), "OrdersForm") << "languages, descending: 4 first";
    EXPECT_NE(hosttest::ReadFile(SettingsFile()).find("SortedColumn=3"), std::string::npos);
    EXPECT_NE(hosttest::ReadFile(SettingsFile()).find("SortOrder=-1"), std::string::npos);
}

TEST_F(TExpertWindowTest, TagsEnableCommandsByTheSelection) {
    Expert->RunItemClick(nullptr);
    TListView* list = frmzxLang->lvFormNames;
    list->SetSelected(nullptr);
    EXPECT_FALSE(MenuItem("Translate1")->Enabled());
    EXPECT_FALSE(FormControl<TToolButton>(frmzxLang, "sbCaptions")->Enabled());
    EXPECT_TRUE(MenuItem("MergeProject1")->Enabled()) << "113 is never disabled";
    EXPECT_TRUE(MenuItem("SaveProject1")->Enabled()) << "-1 needs no selection";

    list->SetItemFocused(Row("MainForm"));
    Row("OrdersForm")->SetSelected(true);
    Row("MainForm")->SetSelected(true);
    EXPECT_TRUE(MenuItem("Translate1")->Enabled());
    EXPECT_TRUE(MenuItem("SaveForms1")->Enabled());
    EXPECT_FALSE(MenuItem("MergeForms1")->Enabled()) << "the focused row has no component";
    EXPECT_FALSE(frmzxLang->sbBadIDs->Enabled());
    EXPECT_EQ(frmzxLang->GetNextSelectedItem(Row("OrdersForm")), Row("MainForm"));
    EXPECT_EQ(frmzxLang->GetNextSelectedItem(Row("MainForm")), Row("OrdersForm")) << "wraps";
    Row("MainForm")->SetSelected(false);
    EXPECT_EQ(frmzxLang->GetNextSelectedItem(Row("OrdersForm")), nullptr);
    EXPECT_TRUE(MenuItem("MergeForms1")->Enabled()) << "the selected row has a component";
    EXPECT_TRUE(frmzxLang->sbBadIDs->Enabled());
    EXPECT_EQ(Expert->CurrentComponentClass, "TzxLang");
}

TEST_F(TExpertWindowTest, EmptyingTheListUnregistersTheRowsNotifiers) {
    Expert->RunItemClick(nullptr);
    auto* notifier = static_cast<TzxModuleNotifier*>(Row("OrdersForm")->Data());
    ASSERT_TRUE(notifier);
    notifier->AddRef();
    ASSERT_NE(notifier->NotifierIndex(), -1);
    Expert->ProjectClosed();
    EXPECT_EQ(notifier->NotifierIndex(), -1);
    EXPECT_EQ(frmzxLang->lvFormNames->Items()->Count(), 0);
    EXPECT_EQ(Panel(0), "Forms count: 0");
    // A rename after the rows are gone reaches no freed row.
    Host.FormOf(File("Orders.pas"))->SetName("RenamedForm");
    notifier->Release();
}

TEST_F(TExpertWindowTest, WindowDocksIntoTheIdeDockHostAndClosesWithIt) {
    Expert->RunItemClick(nullptr);
    ASSERT_TRUE(DockForm);
    EXPECT_EQ(DockForm->ClassName(), "TDockableForm");
    EXPECT_EQ(DockForm->Name(), "MyDockForm");
    EXPECT_EQ(DockForm->Caption(), "TzxLang Expert (CLX Edition)");
    EXPECT_EQ(DockForm->Menu(), frmzxLang->MainMenu1);
    EXPECT_FALSE(frmzxLang->Menu());
    EXPECT_EQ(frmzxLang->Parent(), DockForm);
    EXPECT_EQ(frmzxLang->Align(), alClient);
    frmzxLang->Docable1Click(nullptr);
    EXPECT_TRUE(frmzxLang->Docable1->Checked());
    frmzxLang->Stayontop1Click(nullptr);
    EXPECT_EQ(DockForm->FormStyle(), fsStayOnTop);

    frmzxLang->sbCloseClick(nullptr);
    Application->ProcessMessages();
    EXPECT_FALSE(frmzxLang);
    EXPECT_FALSE(DockForm);
    EXPECT_NE(hosttest::ReadFile(SettingsFile()).find("ColumnWidths=100,75,190,80,80"),
              std::string::npos);
}

TEST_F(TExpertWindowTest, WithoutDockClassTheWindowStandsAloneAndClampsStoredWidths) {
    Host.ProjectManager()->SetName("OtherWindow");
    Expert->SetColumnWidths("120,wide,99999,-5,60,70,80");
    Expert->RunItemClick(nullptr);
    ASSERT_TRUE(frmzxLang);
    EXPECT_FALSE(DockForm);
    EXPECT_EQ(frmzxLang->Owner(), Application);
    EXPECT_TRUE(frmzxLang->Menu());
    std::vector<Integer> widths;
    for (Integer index = 0; index < frmzxLang->lvFormNames->Columns()->Count(); ++index)
        widths.push_back(frmzxLang->lvFormNames->Columns()->Items(index)->Width());
    EXPECT_EQ(widths, std::vector<Integer>({120, 75, 2000, 16, 60}));
    frmzxLang->sbCloseClick(nullptr);
    Application->ProcessMessages();
    EXPECT_FALSE(frmzxLang);
}

TEST_F(TExpertWindowTest, RowsLeadToTheirFormsDesignersAndComponents) {
    Expert->RunItemClick(nullptr);
    ASSERT_TRUE(Host.CloseFile(File("Main.pas")));
    _di_IDesigner designer = Expert->GetDesignerByFormName("MainForm");
    ASSERT_TRUE(designer) << "the closed form is opened";
    EXPECT_EQ(designer->GetRoot(), Host.FormOf(File("Main.pas")));
    EXPECT_EQ(Expert->GetComponentOnForm("OrdersForm", "zxlang1"),
              Host.FormOf(File("Orders.pas"))->FindComponent("zxLang1"));
    EXPECT_TRUE(Expert->IsDataModule("DataModule1"));
    EXPECT_FALSE(Expert->IsDataModule("OrdersForm"));
    frmzxLang->lvFormNames->SetSelected(Row("DataModule1"));
    EXPECT_EQ(Expert->GetDesigner()->GetRoot(), Host.FormOf(File("Data.pas")));

    Dialogs.Answer(mrOk);
    EXPECT_FALSE(Expert->GetOwnerByName("GhostForm")) << "the IDE has no module for it";
    EXPECT_EQ(Dialogs.LastRequest().Text,
              "Unable to obtain the interface of form module! Please check your project source.");
}
