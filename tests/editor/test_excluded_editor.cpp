// The exclusion editor and the "Exclude Components" chooser on the demo's
// main form, driven through their trees, lists, actions and drag events:
// the component and property trees, each way of adding, deleting, the close
// question, the default list's settings, and pictures of both dialogs.
#include "EditorTestSupport.h"

#include "editor/QExcludedEditor.h"
#include "editor/Qdntcedit.h"
#include "runtime/DOriDaz.h"

#include "clx/ActnList.h"
#include "clx/Buttons.h"
#include "clx/ExtCtrls.h"
#include "clx/StdCtrls.h"

#include <QtGui/QImage>

#include <algorithm>
#include <QtWidgets/QWidget>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

using TForm_ = TfrmExcludeFromTranslation;

AnsiString SettingsFile() {
    return TEditorEnvironment::SettingsDir().File("TfrmExcludeFromTranslation.ini");
}

const char* const Key = "\\Software\\Talvenko\\TzxLang\\ExcludeEditor";
const char* const OlderKey = "\\Software\\Borland\\TzxLang";

std::vector<AnsiString> Lines(const TStrings& List) {
    std::vector<AnsiString> lines;
    for (Integer index = 0; index < List.Count(); ++index)
        lines.push_back(List.Get(index));
    return lines;
}

TTreeNode* Node(TTreeView& Tree, const AnsiString& Caption) {
    for (TTreeNode* node = Tree.Items()->GetFirstNode(); node; node = node->GetNext())
        if (node->Text() == Caption)
            return node;
    return nullptr;
}

void Select(TTreeView& Tree, const AnsiString& Caption) {
    TTreeNode* node = Node(Tree, Caption);
    if (!node)
        throw Exception("no node " + Caption);
    Tree.SetSelected(node);
}

struct TSetting {
    const char* Section;
    const char* Name;
    const char* Value;
};

void WriteSettings(std::initializer_list<TSetting> Settings) {
    TMemIniFile file(SettingsFile());
    for (const TSetting& setting : Settings)
        file.WriteString(setting.Section, setting.Name, setting.Value);
    file.UpdateFile();
}

bool RunAction(TForm_& Form, const AnsiString& Action) {
    Form.UpdateActions();
    return Form.ActionNamed(Action)->Execute();
}

void SavePicture(TCustomForm& Form, const char* Name) {
    Application->ProcessMessages();
    QImage picture = Form.Handle()->grab().toImage();
    ASSERT_FALSE(picture.isNull());
    picture.save(QString::fromStdString(TestOutputDir() + "/" + Name));
}

class ExclusionEditor : public TDemoEditorTest {
protected:
    void SetUp() override {
        std::remove(SettingsFile().c_str());
        TDemoEditorTest::SetUp();
    }

    // Opens the dialog on Page; Drive acts on it and ends it (the button it
    // presses, the answers it queues).
    bool Open(Integer Page, const std::function<void(TForm_& Form)>& Drive) {
        TDialogServiceGuard guard(Dialogs);
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) { Drive(dynamic_cast<TForm_&>(Form)); });
        bool result = DisplayExcludeDialog(Lang, Page);
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
        return result;
    }

    void Press(TForm_& Form, const char* Button) {
        Named<TButton>(Form, Button).Click();
    }
};

TEST_F(ExclusionEditor, ComponentTreeOfTheMainFormWithItsImages) {
    const std::vector<AnsiString> excluded = Lines(*Lang->DoNotTranslate());
    ASSERT_NE(std::find(excluded.begin(), excluded.end(), "Placement"), excluded.end());
    bool result = Open(0, [&](TForm_& Form) {
        TTreeView& tree = *Form.tvComponents;
        TTreeNode* root = tree.Items()->GetFirstNode();
        EXPECT_EQ(root->Text(), "TMainForm");
        EXPECT_EQ(root->ImageIndex(), 0);
        EXPECT_TRUE(root->Selected()) << "the root is selected as the dialog shows";
        EXPECT_EQ(Node(tree, "Lang"), nullptr) << "the edited component is never offered";
        struct TExpected {
            const char* Caption;
            Integer Image;
            const char* Parent;
        };
        for (const TExpected& expected : {TExpected{"TopPanel", 4, "TMainForm"},
                                          TExpected{"LanguageLabel", 4, "TopPanel"},
                                          TExpected{"LanguageCombo", 4, "TopPanel"},
                                          TExpected{"NotesMemo", 3, "TMainForm"},
                                          TExpected{"OrdersList", 3, "TMainForm"},
                                          TExpected{"AboutButton", 4, "TMainForm"},
                                          TExpected{"MainMenu", 1, "TMainForm"},
                                          TExpected{"AboutItem", 1, "TMainForm"},
                                          TExpected{"Placement", 8, "TMainForm"}}) {
            TTreeNode* node = Node(tree, expected.Caption);
            ASSERT_NE(node, nullptr) << expected.Caption;
            EXPECT_EQ(node->ImageIndex(), expected.Image) << expected.Caption;
            EXPECT_EQ(node->SelectedIndex(), expected.Image) << expected.Caption;
            EXPECT_EQ(node->Parent()->Text(), expected.Parent) << expected.Caption;
        }
        TTreeNode* first = root->GetFirstChild();
        for (TTreeNode* next = first->GetNextSibling(); next; next = next->GetNextSibling()) {
            EXPECT_LT(AnsiCompareText(first->Text(), next->Text()), 0);
            first = next;
        }
        bool allow = true;
        Form.tvComponentsCollapsing(&tree, root, allow);
        EXPECT_FALSE(allow) << "the root stays open";
        EXPECT_EQ(Form.labExclude->Caption(), " Components to Exclude:");
        // A component already excluded shows its image plus 7; deleting it
        // from the list gives it back.
        Select(tree, "NotesMemo");
        EXPECT_TRUE(RunAction(Form, "acAddComponent"));
        EXPECT_EQ(Node(tree, "NotesMemo")->ImageIndex(), 10);
        EXPECT_EQ(Form.tvProperties->Items()->Count(), 0) << "an excluded component offers none";
        EXPECT_FALSE(RunAction(Form, "acAddComponent"));
        EXPECT_FALSE(RunAction(Form, "acAddProperty")) << "page 0 takes no properties";
        EXPECT_FALSE(RunAction(Form, "acDefaults"));
        Form.lbExclComponents->SetSelected(Form.lbExclComponents->Items()->IndexOf("NotesMemo"),
                                           true);
        Dialogs.Answer(mrYes);
        EXPECT_TRUE(RunAction(Form, "acDeleteFromList"));
        EXPECT_EQ(Node(tree, "NotesMemo")->ImageIndex(), 3);
        SavePicture(Form, "exclude-components.png");
        Press(Form, "btOK");
    });
    EXPECT_TRUE(result) << "the add and the delete were changes";
    EXPECT_EQ(Lines(*Lang->DoNotTranslate()), excluded);
}

TEST_F(ExclusionEditor, PropertyTreeShowsStringsAndObjectsButNeitherNameNorExcluded) {
    Lang->SmartExcludeProps()->Add("OrdersList.Hint");
    Before = Now();
    Open(1, [&](TForm_& Form) {
        Select(*Form.tvComponents, "OrdersList");
        TTreeView& properties = *Form.tvProperties;
        EXPECT_EQ(Node(properties, "Name"), nullptr);
        EXPECT_EQ(Node(properties, "Hint"), nullptr) << "excluded for this component";
        TTreeNode* columns = Node(properties, "Columns");
        ASSERT_NE(columns, nullptr);
        EXPECT_EQ(columns->ImageIndex(), 6);
        TTreeNode* item = columns->GetFirstChild();
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Text(), "0 - TListColumn");
        EXPECT_EQ(item->GetNextSibling()->Text(), "1 - TListColumn");
        EXPECT_NE(Node(properties, "Caption"), nullptr) << "the columns' captions";
        EXPECT_EQ(Form.cbComponents->Text(), "OrdersList");
        // A collection item is no property: it is never added, nor dragged.
        properties.SetSelected(item);
        EXPECT_FALSE(RunAction(Form, "acAddProperty"));
        EXPECT_FALSE(RunAction(Form, "acAddPropertyAsSelectedType"));
        EXPECT_EQ(Form.ActionNamed("acAddAllWithProperty")->Caption(), "All having <Columns>");
        Form.tvProperties->BeginDrag(true);
        TControl::DragTo(Form.lbExclProperties, 4, 4);
        TControl::EndDrag(true);
        EXPECT_EQ(Form.lbExclProperties->Items()->IndexOf(item->Text()), -1);
        Dialogs.AnswerInput("tlistcol");
        Dialogs.Answer(mrYes);
        EXPECT_TRUE(RunAction(Form, "acAddPropertyByType"));
        for (const AnsiString& entry : Lines(*Form.lbExclProperties->Items()))
            EXPECT_EQ(entry.find(" - "), AnsiString::npos) << entry;
        Press(Form, "btCancel");
        Dialogs.Answer(mrNo);
    });
    EXPECT_EQ(Now(), Before);
}

TEST_F(ExclusionEditor, EachWayOfAddingProperties) {
    const AnsiString excludedBefore = Lang->ExcludedProperties()->Text();
    bool result = Open(2, [&](TForm_& Form) {
        TStrings& smart = *Form.lbExclCompProps->Items();
        const Integer shipped = smart.Count();
        // Selected, on the component's page: component.property, then gone
        // from the tree.
        Select(*Form.tvComponents, "NameEdit");
        Select(*Form.tvProperties, "Text");
        EXPECT_TRUE(RunAction(Form, "acAddProperty"));
        EXPECT_EQ(smart.Count(), shipped + 1);
        EXPECT_EQ(smart.Get(shipped), "NameEdit.Text");
        EXPECT_EQ(Node(*Form.tvProperties, "Text"), nullptr);
        // By name: every component, no duplicates, the selection kept.
        Dialogs.AnswerInput("capt");
        Dialogs.Answer(mrYes);
        EXPECT_TRUE(RunAction(Form, "acAddPropertyByName"));
        EXPECT_NE(smart.IndexOf("OrdersButton.Caption"), -1);
        EXPECT_NE(smart.IndexOf("TMainForm.Caption"), -1);
        EXPECT_EQ(Form.tvComponents->Selected()->Text(), "NameEdit");
        const Integer afterName = smart.Count();
        Dialogs.AnswerInput("capt");
        Dialogs.Answer(mrYes);
        RunAction(Form, "acAddPropertyByName");
        EXPECT_EQ(smart.Count(), afterName) << "nothing twice";
        for (const AnsiString& entry : Lines(smart))
            EXPECT_EQ(entry.find(" - "), AnsiString::npos) << entry;

        // On the properties page the entries are bare names.
        Form.pcExcluded->SetActivePageIndex(1);
        Form.pcExcludedChange(Form.pcExcluded);
        EXPECT_EQ(Form.labExclude->Caption(), " Properties to Exclude:");
        TStrings& names = *Form.lbExclProperties->Items();
        const Integer before = names.Count();
        Dialogs.AnswerInput("tstr");
        Dialogs.Answer(mrYes);
        EXPECT_TRUE(RunAction(Form, "acAddPropertyByType"));
        EXPECT_NE(names.IndexOf("Lines"), -1) << "the memo's TStrings";
        EXPECT_NE(names.IndexOf("Items"), -1);
        // The type of the selected property, taken before the walk.
        Select(*Form.tvComponents, "OrdersButton");
        Select(*Form.tvProperties, "Hint");
        const AnsiString type =
            static_cast<TPropertyData*>(Form.tvProperties->Selected()->Data())->TypeName;
        Dialogs.Answer(mrYes);
        EXPECT_TRUE(RunAction(Form, "acAddPropertyAsSelectedType"));
        EXPECT_NE(names.IndexOf("Hint"), -1);
        EXPECT_GT(names.Count(), before + 3);
        for (TTreeNode* node = Form.tvProperties->Items()->GetFirstNode(); node;
             node = node->GetNext())
            EXPECT_NE(static_cast<TPropertyData*>(node->Data())->TypeName, type) << node->Text();
        // An empty answer or a No ends the command.
        const Integer walked = names.Count();
        Dialogs.AnswerInput("");
        RunAction(Form, "acAddPropertyByName");
        EXPECT_EQ(names.Count(), walked);
        Press(Form, "btOK");
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(Lang->SmartExcludeProps()->IndexOf("NameEdit.Text") >= 0, true);
    EXPECT_NE(Lang->ExcludedProperties()->Text(), excludedBefore);
    EXPECT_NE(Lang->ExcludedProperties()->IndexOf("Lines"), -1);
}

TEST_F(ExclusionEditor, AddingAListClearingPropertyAsksFirst) {
    Open(1, [&](TForm_& Form) {
        Select(*Form.tvComponents, "OrdersButton");
        Select(*Form.tvProperties, "Caption");
        Dialogs.Answer(mrNo);
        RunAction(Form, "acAddProperty");
        EXPECT_EQ(Dialogs.LastRequest().Text,
                  "Adding this property will clear \"Captions\" property! Continue?");
        EXPECT_EQ(Form.lbExclProperties->Items()->IndexOf("Caption"), -1);
        Dialogs.Answer(mrYes);
        RunAction(Form, "acAddProperty");
        EXPECT_NE(Form.lbExclProperties->Items()->IndexOf("Caption"), -1);
        Form.lbExclProperties->SetTopIndex(Form.lbExclProperties->Items()->Count() - 1);
        SavePicture(Form, "exclude-properties.png");
        Press(Form, "btCancel");
        Dialogs.Answer(mrNo);
    });
    EXPECT_EQ(Now(), Before);
}

TEST_F(ExclusionEditor, DragsFromTheTreesIntoTheLists) {
    bool result = Open(1, [&](TForm_& Form) {
        Select(*Form.tvComponents, "AboutButton");
        Form.tvComponents->BeginDrag(true);
        TControl::DragTo(Form.lbExclComponents, 4, 4);
        TControl::EndDrag(true);
        TStrings& components = *Form.lbExclComponents->Items();
        EXPECT_EQ(components.Get(components.Count() - 1), "AboutButton");
        EXPECT_EQ(Node(*Form.tvComponents, "AboutButton")->ImageIndex(), 11);
        const Integer listed = components.Count();
        Form.tvComponents->BeginDrag(true);
        TControl::DragTo(Form.lbExclComponents, 4, 4);
        TControl::EndDrag(true);
        EXPECT_EQ(components.Count(), listed) << "a listed one is refused";

        Select(*Form.tvComponents, "OrdersButton");
        Select(*Form.tvProperties, "Hint");
        const Integer smart = Form.lbExclCompProps->Items()->Count();
        Form.tvProperties->BeginDrag(true);
        TControl::DragTo(Form.lbExclCompProps, 4, 4);
        TControl::EndDrag(true);
        EXPECT_EQ(Form.lbExclCompProps->Items()->Count(), smart) << "takes no drops";
        Form.tvProperties->BeginDrag(true);
        TControl::DragTo(Form.lbExclProperties, 4, 4);
        TControl::EndDrag(true);
        EXPECT_NE(Form.lbExclProperties->Items()->IndexOf("Hint"), -1);
        EXPECT_EQ(Node(*Form.tvProperties, "Hint"), nullptr);
        Press(Form, "btOK");
    });
    EXPECT_TRUE(result);
    EXPECT_NE(Lang->DoNotTranslate()->IndexOf("AboutButton"), -1);
    EXPECT_NE(Lang->ExcludedProperties()->IndexOf("Hint"), -1);
    EXPECT_EQ(Lang->Hints()->Count(), 0) << "the setter applied the exclusion";
}

TEST_F(ExclusionEditor, CloseQueryTable) {
    struct TRow {
        const char* Name;
        bool Change;
        TModalResult Button;
        std::vector<TModalResult> Answers;
        bool Result;
    };
    const std::vector<TRow> rows = {
        {"unchanged OK", false, mrOk, {}, false},
        {"unchanged Cancel", false, mrCancel, {}, false},
        {"changed OK", true, mrOk, {}, true},
        {"changed Cancel, Yes", true, mrCancel, {mrYes}, true},
        {"changed Cancel, No", true, mrCancel, {mrNo}, false},
        {"changed Cancel, Cancel, then No", true, mrCancel, {mrCancel}, false},
    };
    std::vector<AnsiString> written = Lines(*Lang->SmartExcludeProps());
    written.push_back("NameEdit.Text");
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        SetUp();
        TDialogServiceGuard guard(Dialogs);
        Dialogs.AnswerModal(row.Button, [&](TCustomForm& Form) {
            auto& dialog = dynamic_cast<TForm_&>(Form);
            if (!row.Change)
                return;
            Select(*dialog.tvComponents, "NameEdit");
            Select(*dialog.tvProperties, "Text");
            RunAction(dialog, "acAddProperty");
        });
        for (TModalResult answer : row.Answers)
            Dialogs.Answer(answer);
        if (row.Answers == std::vector<TModalResult>{mrCancel}) {
            Dialogs.AnswerModal(mrCancel, [&](TCustomForm& Form) {
                EXPECT_EQ(Lines(*dynamic_cast<TForm_&>(Form).lbExclCompProps->Items()), written)
                    << "still open with the change";
            });
            Dialogs.Answer(mrNo);
        }
        EXPECT_EQ(DisplayExcludeDialog(Lang, 2), row.Result);
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
        if (row.Result)
            EXPECT_EQ(Lines(*Lang->SmartExcludeProps()), written);
        else
            EXPECT_EQ(Now(), Before) << "byte-identical form text";
    }
}

TEST_F(ExclusionEditor, DefaultListMovesFromTheOlderKeyEvenWithoutASave) {
    WriteSettings({{OlderKey, "DefaultExclProps", "Hint,Caption"}});
    Open(1, [&](TForm_& Form) {
        EXPECT_EQ(Lines(*Form.Defaults()), (std::vector<AnsiString>{"Caption", "Hint"}));
        // The insert menu offers each name as it is; a click inserts it once.
        Form.pmDefaults->Popup(0, 0);
        TMenuItem* insert = Form.miInsertDefaults;
        ASSERT_EQ(insert->Count(), 4);
        EXPECT_EQ(insert->Items(3)->Caption(), "Hint");
        const Integer listed = Form.lbExclProperties->Items()->Count();
        insert->Items(3)->Click();
        insert->Items(3)->Click();
        EXPECT_EQ(Form.lbExclProperties->Items()->Count(), listed + 1);
        EXPECT_NE(Form.lbExclProperties->Items()->IndexOf("Hint"), -1);
        Press(Form, "btCancel");
        Dialogs.Answer(mrNo);
    });
    TMemIniFile file(SettingsFile());
    EXPECT_FALSE(file.ValueExists(OlderKey, "DefaultExclProps"));
    EXPECT_EQ(file.ReadString(Key, "DefaultExclProps", ""), "Caption,Hint");
    EXPECT_EQ(Now(), Before);
}

TEST_F(ExclusionEditor, DefaultListCommandsAndAutoSave) {
    WriteSettings({{OlderKey, "DefaultExclProps", "Older"}, {Key, "DefaultExclProps", "Current"}});
    Open(1, [&](TForm_& Form) {
        EXPECT_EQ(Lines(*Form.Defaults()), std::vector<AnsiString>{"Current"});
        Form.lbExclProperties->SetSelected(0, true);
        EXPECT_TRUE(RunAction(Form, "acAddToDefaults"));
        EXPECT_EQ(Form.Defaults()->Count(), 2);
        EXPECT_TRUE(RunAction(Form, "acAutoSaveDefaults"));
        Form.UpdateActions();
        EXPECT_TRUE(Form.ActionNamed("acAutoSaveDefaults")->Checked());
        {
            TMemIniFile file(SettingsFile());
            EXPECT_EQ(file.ReadString(Key, "DefaultExclProps", ""), Form.Defaults()->CommaText())
                << "written the moment auto-save is on";
            EXPECT_TRUE(file.ReadBool(Key, "AutoSaveDefaults", false));
        }
        Form.pmDefaults->Popup(0, 0);
        Form.miDeleteDefaults->Items(2)->Click();
        EXPECT_EQ(Form.Defaults()->Count(), 1);
        Dialogs.Answer(mrYes);
        EXPECT_TRUE(RunAction(Form, "acClearDefaults"));
        EXPECT_FALSE(RunAction(Form, "acInsertAllDefaults"));
        // The lists' menu copies the default menu, enabled on this page only.
        Form.pmLists->Popup(0, 0);
        EXPECT_TRUE(Form.miListsDefault->Enabled());
        EXPECT_EQ(Form.miListsDefault->Count(), Form.pmDefaults->Items()->Count());
        Press(Form, "btCancel");
    });
    TMemIniFile file(SettingsFile());
    EXPECT_EQ(file.ReadString(Key, "DefaultExclProps", "?"), "");
}

TEST_F(ExclusionEditor, PanelSizesFromTheSettingsStayInsideTheWindow) {
    WriteSettings({{Key, "LeftPanelWidth", "100000"}, {Key, "PropertiesPanelHeight", "-40"}});
    Open(0, [&](TForm_& Form) {
        EXPECT_LT(Form.pnlLeft->Width(), Form.ClientWidth() - 20);
        EXPECT_GE(Form.pnlLeft->Width(), 30);
        EXPECT_GE(Form.pnlProperties->Height(), 30);
        EXPECT_LT(Form.pnlProperties->Height(), Form.pnlLeft->Height());
        Press(Form, "btCancel");
    });
}

// ---------------------------------------------------------------------------
// The "Exclude Components" chooser

class NotTranslateChooser : public TDemoEditorTest {
protected:
    Integer Edit(const std::function<void(TfrmNotTranslate& Form)>& Drive) {
        TDialogServiceGuard guard(Dialogs);
        Dialogs.AnswerModal(mrNone,
                            [&](TCustomForm& Form) { Drive(dynamic_cast<TfrmNotTranslate&>(Form)); });
        Integer result = EditDoNotTranslate(Lang->Owner(), Lang->DoNotTranslate(), Lang);
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
        return result;
    }
};

TEST_F(NotTranslateChooser, OffersTheFormsNamesAndMovesThem) {
    Lang->DoNotTranslate()->Add("NameEdit");
    Before = Now();
    const std::vector<AnsiString> excluded = Lines(*Lang->DoNotTranslate());
    Integer result = Edit([&](TfrmNotTranslate& Form) {
        TStrings& comps = *Form.lbComps->Items();
        TStrings& chosen = *Form.lbSelected->Items();
        EXPECT_EQ(comps.Get(0), "TMainForm");
        EXPECT_EQ(comps.IndexOf("NameEdit"), -1) << "only on the right";
        EXPECT_NE(chosen.IndexOf("NameEdit"), -1);
        EXPECT_EQ(chosen.Count(), static_cast<Integer>(excluded.size()));
        EXPECT_EQ(comps.IndexOf("Lang"), -1);
        EXPECT_FALSE(Form.sbAdd->Enabled());
        EXPECT_TRUE(Form.sbAddAll->Enabled());
        // One by one: appended in the order they stood.
        Integer about = comps.IndexOf("AboutButton");
        Integer orders = comps.IndexOf("OrdersButton");
        Form.lbComps->SetSelected(orders, true);
        Form.lbComps->SetSelected(about, true);
        Form.lbCompsClick(Form.lbComps);
        EXPECT_TRUE(Form.sbAdd->Enabled());
        Form.sbAdd->Click();
        ASSERT_EQ(chosen.Count(), static_cast<Integer>(excluded.size()) + 2);
        EXPECT_EQ(chosen.Get(chosen.Count() - 2), "AboutButton");
        EXPECT_EQ(chosen.Get(chosen.Count() - 1), "OrdersButton");
        Form.sbAddAll->Click();
        EXPECT_EQ(comps.Count(), 0);
        EXPECT_EQ(chosen.Get(0), "TMainForm") << "the form's own entry stays first";
        Form.sbRemoveAll->Click();
        EXPECT_EQ(comps.Get(0), "TMainForm");
        EXPECT_FALSE(Form.sbRemoveAll->Enabled());
        Form.lbComps->SetSelected(comps.IndexOf("NameEdit"), true);
        Form.lbCompsDblClick(Form.lbComps);
        SavePicture(Form, "exclude-components-chooser.png");
        Named<TButton>(Form, "btCancel").Click();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Now(), Before);
    EXPECT_EQ(Lines(*Lang->DoNotTranslate()), excluded);
}

TEST_F(NotTranslateChooser, OKMakesTheChosenNamesTheListAndDropsTheirLines) {
    Lang->Owner()->SetDesigning(true);
    const std::vector<AnsiString> excluded = Lines(*Lang->DoNotTranslate());
    ASSERT_NE(Lang->Captions()->Text().find("OrdersButton"), AnsiString::npos);
    Integer result = Edit([&](TfrmNotTranslate& Form) {
        Form.lbComps->SetSelected(Form.lbComps->Items()->IndexOf("OrdersButton"), true);
        Form.sbAdd->Click();
        Named<TButton>(Form, "btOK").Click();
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Lang->DoNotTranslate()->Count(), static_cast<Integer>(excluded.size()) + 1);
    EXPECT_EQ(Lang->DoNotTranslate()->Get(excluded.size()), "OrdersButton");
    EXPECT_EQ(Lang->Captions()->Text().find("OrdersButton"), AnsiString::npos);
}

} // namespace
