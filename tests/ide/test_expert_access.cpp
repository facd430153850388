// The expert's access to the IDE's modules, source editors and designers,
// and the module notifier that follows renames in a form.
#include "ExpertTestSupport.h"

#include "clx/ComCtrls.h"
#include "clx/StdCtrls.h"
#include "editor/QzxTransEditor.h"
#include "runtime/QzxComp.h"

using namespace experttest;
using hosttest::ReadFile;

namespace {

// Records the renames a translation component is told of.
class TRenameRecordingLang : public TzxLang {
public:
    using TzxLang::TzxLang;
    void ComponentRenamed(const WideString& OldName, const WideString& NewName) override {
        Renames.push_back(UTF8Encode(OldName) + ">" + UTF8Encode(NewName));
    }
    std::vector<AnsiString> Renames;
};

class TExpertAccessTest : public TExpertTest {
protected:
    void SetUp() override {
        InitQzxComp();
        OpenExample();
        MakeExpert();
    }
    TComponent* Form(const char* Unit) { return Host.FormOf(File(Unit)); }
};

} // namespace

TEST_F(TExpertAccessTest, ModulesAreFoundThroughTheActiveProject) {
    _di_IOTAProject project = Expert->GetActiveProject();
    ASSERT_TRUE(project);
    EXPECT_EQ(project->GetFileName(), File("Example.dpr"));
    ASSERT_TRUE(Host.CloseFile(File("Orders.pas")));
    _di_IOTAModule orders = Expert->GetModuleFromFileName(File("Orders.pas"));
    ASSERT_TRUE(orders) << "a project unit is opened";
    EXPECT_TRUE(Expert->IsFileOpen(File("Orders.pas")));
    EXPECT_FALSE(Expert->GetFormIdeModule("Orders.pas")) << "the name is compared as it is";
    EXPECT_TRUE(Expert->GetFormEditorFromModule(orders));
    EXPECT_FALSE(Expert->GetFormEditorFromModule(Expert->GetActiveProject().get()));
    EXPECT_TRUE(Expert->GetSourceEditorFromFormName("ordersform"));
    EXPECT_FALSE(Expert->GetSourceEditorFromFormName("NoForm"));
}

TEST_F(TExpertAccessTest, UnitSourceIsReadWholeAtBlockBoundaries) {
    for (std::size_t size : {2048u, 1500u, 1024u}) {
        const std::string unit = "unit Sized;\n" + std::string(size - 12, 'x');
        hosttest::WriteFile(File("Sized.pas"), unit);
        ASSERT_TRUE(Host.OpenFile(File("Sized.pas")));
        EXPECT_EQ(Expert->GetUnitSource(File("Sized.pas")), unit) << size;
        ASSERT_TRUE(Host.CloseFile(File("Sized.pas"), true));
    }
    EXPECT_EQ(Expert->GetUnitSource(File("Missing.pas")), "");
}

TEST_F(TExpertAccessTest, CreationEventOfADataModuleIsDatamoduleCreate) {
    Expert->InsertFormEvent(File("Data.pas"), "FormCreate", true);
    const AnsiString data = Module("Data.pas")->Source().Text();
    EXPECT_NE(data.find("procedure TDataModule1.DatamoduleCreate(Sender: TObject);"),
              AnsiString::npos);
    EXPECT_EQ(data.find("FormCreate"), AnsiString::npos);
    EXPECT_EQ(GetMethodProp(Form("Data.pas"), "OnCreate").Name, "DatamoduleCreate");
    EXPECT_TRUE(Module("Data.pas")->GetModified());

    Expert->InsertFormEvent(File("Main.pas"), "FormCreate", false);
    EXPECT_EQ(GetMethodProp(Form("Main.pas"), "OnCreate").Name, "FormCreate");
    Expert->InsertFormMethod(File("Main.pas"), "ignored", false);
    EXPECT_TRUE(Module("Main.pas")->MethodExists("UpdateStrings"));
}

TEST_F(TExpertAccessTest, LanguageEventIsNamedAfterTheComponent) {
    TComponent* orders = Form("Orders.pas");
    auto* lang = NewComponent<TzxLang>(orders);
    lang->SetName("zxLang1");
    Expert->InsertzxLangEvent(File("Orders.pas"), "ChangeLanguage", false);
    EXPECT_EQ(GetMethodProp(lang, "OnChangeLanguage").Name, "zxLang1ChangeLanguage");
}

TEST_F(TExpertAccessTest, SourceHookFindsAQuotedIdentifierAndMovesTheEditor) {
    _di_IOTASourceEditor editor = Expert->GetSourceEditorFromFileName(File("Main.pas"));
    _di_IOTAEditWriter writer = editor->CreateUndoableWriter();
    writer->Insert("{ Caption := GetText('IDS_Hello'); }\n");
    writer.Reset();
    Host.SetCurrentFile(File("Main.pas"));
    editor->SetCursorLine(5);
    EXPECT_TRUE(NavigateToSource("IDS_Hello", false));
    EXPECT_EQ(editor->GetCursorLine(), 5);
    EXPECT_FALSE(NavigateToSource("IDS_Hell", true));
    EXPECT_TRUE(NavigateToSource("IDS_Hello", true));
    EXPECT_EQ(Module("Main.pas")->GetCursorLine(), 1);
}

TEST_F(TExpertAccessTest, ModuleNotifierPassesRenamesToOtherTranslationComponents) {
    TComponent* orders = Form("Orders.pas");
    auto* lang = NewComponent<TRenameRecordingLang>(orders);
    lang->SetName("zxLang1");
    TListView list(nullptr);
    TListItem* row = list.Items()->Add();
    row->SetCaption("OrdersForm");
    auto* notifier = new TzxModuleNotifier(row, Expert->GetModuleFromFileName(File("Orders.pas")));
    notifier->AddRef();

    orders->FindComponent("CustomerLabel")->SetName("NameLabel");
    lang->SetName("zxLang2");
    orders->SetName("OrderForm");
    EXPECT_EQ(lang->Renames, std::vector<AnsiString>({"CustomerLabel>NameLabel", "OrdersForm>OrderForm"}));
    EXPECT_EQ(row->Caption(), "OrderForm");

    ASSERT_TRUE(Host.CloseFile(File("Orders.pas"), true));
    EXPECT_EQ(notifier->NotifierIndex(), -1);
    notifier->Release();
}

TEST_F(TExpertAccessTest, ModuleNotifierWithoutRowOrFormEditor) {
    EXPECT_EQ(zxtest::MessageOf<Exception>([&] {
                  TzxModuleNotifier notifier(nullptr, Expert->GetActiveProject().get());
              }),
              "");
    auto* notifier = new TzxModuleNotifier(nullptr, Expert->GetModuleFromFileName(File("Main.pas")));
    notifier->AddRef();
    Form("Main.pas")->SetName("FirstForm");
    EXPECT_NE(notifier->NotifierIndex(), -1);
    notifier->Unregister();
    EXPECT_EQ(notifier->NotifierIndex(), -1);
    notifier->Release();
}
