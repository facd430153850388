// The host's tool services, module services and editors as an expert uses them.
#include "HostTestSupport.h"

#include "clx/ComCtrls.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "designide/DesignEditors.h"
#include "designide/PascalSource.h"

using namespace hosttest;

namespace {

class TRecordingNotifier : public TIAddInNotifier {
public:
    void FileNotification(TFileNotification Code, const AnsiString& FileName, bool& Cancel) override {
        Codes.push_back(Code);
        Files.push_back(FileName);
        if (Code == CancelCode)
            Cancel = true;
    }
    void EventNotification(TEventNotification, bool&) override {}
    std::vector<Integer> Codes;
    std::vector<AnsiString> Files;
    Integer CancelCode = -1;
};

class TRecordingFormNotifier : public TInterfacedObject, public IOTAFormNotifier {
public:
    bool QueryInterface(const TGUID&, void** Obj) override {
        *Obj = nullptr;
        return false;
    }
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }
    void AfterSave() override { Events.push_back("AfterSave"); }
    void BeforeSave() override { Events.push_back("BeforeSave"); }
    void Destroyed() override { Events.push_back("Destroyed"); }
    void Modified() override {}
    void FormActivated() override {}
    void FormSaving() override {}
    void ComponentRenamed(TComponent*, const AnsiString& OldName, const AnsiString& NewName) override {
        Events.push_back(OldName + ">" + NewName);
    }
    std::vector<AnsiString> Events;
};

_di_IDesigner DesignerOf(TDesignModule* Module) {
    _di_INTAFormEditor native = Supports<INTAFormEditor>(Module, IID_INTAFormEditor);
    return native ? native->GetFormDesigner() : nullptr;
}

} // namespace

TEST_F(THostTest, ToolServicesReportTheProjectAndEnumerateItsUnits) {
    EXPECT_EQ(ToolServices->GetProjectName(), "");
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    EXPECT_EQ(ToolServices->GetProjectName(), File("Example.dpr"));
    std::vector<std::string> units;
    ToolServices->EnumProjectUnits(
        [](void* Param, const AnsiString& FileName, const AnsiString& UnitName,
           const AnsiString& FormName) {
            static_cast<std::vector<std::string>*>(Param)->push_back(
                ExtractFileName(FileName) + "|" + UnitName + "|" + FormName);
            return true;
        },
        &units);
    EXPECT_EQ(units, (std::vector<std::string>{"Example.dpr|Example|",
                                               "Main.pas|Main|MainForm", "Orders.pas|Orders|OrdersForm",
                                               "Data.pas|Data|DataModule1"}));
    Integer calls = 0;
    ToolServices->EnumProjectUnits([&calls](void*, const AnsiString&, const AnsiString&,
                                            const AnsiString&) { return ++calls < 2; },
                                   nullptr);
    EXPECT_EQ(calls, 2);
}

TEST_F(THostTest, FilesOpenCloseAndGiveModuleInterfaces) {
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    EXPECT_FALSE(ToolServices->IsFileOpen(File("Main.pas")));
    EXPECT_EQ(ToolServices->GetModuleInterface(File("Main.pas")), nullptr);
    ASSERT_TRUE(ToolServices->OpenFile(File("Main.pas")));
    EXPECT_TRUE(ToolServices->OpenFile(File("Main.pas")));
    EXPECT_TRUE(ToolServices->IsFileOpen(File("Main.pas")));
    EXPECT_EQ(ToolServices->GetCurrentFile(), File("Main.pas"));
    Dialogs.Answer(mrOk);
    EXPECT_FALSE(ToolServices->OpenFile(File("Missing.pas")));
    EXPECT_NE(Host.Messages().back().find("Missing.pas"), std::string::npos);

    TIModuleInterface* module = ToolServices->GetModuleInterface(File("Main.pas"));
    ASSERT_NE(module, nullptr);
    TIFormInterface* form = module->GetFormInterface();
    ASSERT_NE(form, nullptr);
    TIComponentInterface* root = form->GetFormComponent();
    EXPECT_EQ(root->GetComponentType(), "TMainForm");
    root->Release();
    form->Release();
    EXPECT_TRUE(module->Save(true));
    module->Release();
    EXPECT_EQ(ToolServices->GetFormModuleInterface(File("Example.dpr")), nullptr);
    TIModuleInterface* byForm = ToolServices->GetFormModuleInterface("MainForm");
    ASSERT_NE(byForm, nullptr);
    byForm->Release();

    DesignerOf(Module("Main.pas"))->Modified();
    EXPECT_FALSE(ToolServices->CloseFile(File("Main.pas")));
    EXPECT_TRUE(ToolServices->IsFileOpen(File("Main.pas")));
    ASSERT_TRUE(Host.SaveFile(File("Main.pas")));
    EXPECT_TRUE(ToolServices->CloseFile(File("Main.pas")));
    EXPECT_FALSE(ToolServices->IsFileOpen(File("Main.pas")));
}

TEST_F(THostTest, ModuleServicesFindModulesByFileAndFormName) {
    OpenExample();
    _di_IOTAModuleServices services = Supports<IOTAModuleServices>(BorlandIDEServices, IID_IOTAModuleServices);
    ASSERT_TRUE(services);
    EXPECT_TRUE(Supports<IOTAActionServices>(BorlandIDEServices, IID_IOTAActionServices));
    EXPECT_EQ(services->GetModuleCount(), 4);
    EXPECT_EQ(services->GetModule(0)->GetFileName(), File("Example.dpr"));
    EXPECT_EQ(services->CurrentModule()->GetFileName(), File("Data.pas"));
    EXPECT_EQ(services->FindModule(File("Orders.pas"))->GetFileName(), File("Orders.pas"));
    EXPECT_FALSE(services->FindModule(File("Missing.pas")));
    EXPECT_EQ(services->FindFormModule("mainform")->GetFileName(), File("Main.pas"));
    EXPECT_FALSE(services->FindFormModule("NoForm"));

    _di_IOTAProject project = Supports<IOTAProject>(services->GetModule(0).get(), IID_IOTAProject);
    ASSERT_TRUE(project);
    EXPECT_FALSE(Supports<IOTAProject>(services->GetModule(1).get(), IID_IOTAProject));
    ASSERT_EQ(project->GetModuleCount(), 4);
    _di_IOTAModuleInfo info = project->GetModule(3);
    EXPECT_EQ(info->GetFileName(), File("Data.pas"));
    EXPECT_EQ(info->GetFormName(), "DataModule1");
    ASSERT_TRUE(Host.CloseFile(File("Data.pas")));
    _di_IOTAModule opened = info->OpenModule();
    ASSERT_TRUE(opened);
    EXPECT_TRUE(Host.IsFileOpen(File("Data.pas")));

    _di_IOTAActionServices actions = Supports<IOTAActionServices>(BorlandIDEServices, IID_IOTAActionServices);
    EXPECT_TRUE(actions->CloseFile(File("Data.pas")));
    EXPECT_FALSE(Host.IsFileOpen(File("Data.pas")));
}

TEST_F(THostTest, FormEditorGivesTheLiveRootAndItsDesigner) {
    OpenExample();
    _di_IOTAModule module(static_cast<IOTAModule*>(Module("Main.pas")));
    ASSERT_EQ(module->GetModuleFileCount(), 2);
    _di_IOTAFormEditor formEditor;
    for (Integer index = 0; index < module->GetModuleFileCount() && !formEditor; ++index)
        formEditor = Supports<IOTAFormEditor>(module->GetModuleFileEditor(index).get(), IID_IOTAFormEditor);
    ASSERT_TRUE(formEditor);
    _di_IOTAComponent root = formEditor->GetRootComponent();
    EXPECT_EQ(root->GetComponentType(), "TMainForm");
    auto* form = dynamic_cast<TForm*>(root->GetComponentHandle());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->ClassType()->Parent, TForm::StaticClass());
    EXPECT_TRUE(form->ComponentState().Contains(csDesigning));
    ASSERT_EQ(root->GetComponentCount(), 2);
    EXPECT_EQ(root->GetComponent(1)->GetComponentType(), "TButton");
    EXPECT_EQ(root->GetComponent(1)->GetComponentHandle(), form->FindComponent("OrdersButton"));
    EXPECT_EQ(GetMethodProp(form->FindComponent("OrdersButton"), "OnClick").Name, "OrdersButtonClick");
    _di_IDesigner designer = Supports<INTAFormEditor>(formEditor.get(), IID_INTAFormEditor)->GetFormDesigner();
    EXPECT_EQ(designer->GetRoot(), form);
    EXPECT_FALSE(Supports<IOTAFormEditor>(Module("Example.dpr"), IID_IOTAFormEditor));
    EXPECT_TRUE(Host.FormOf(File("Data.pas"))->InheritsFrom(TDataModule::StaticClass()));
    EXPECT_EQ(Host.FormOf(File("Data.pas"))->ClassName(), "TDataModule1");
}

TEST_F(THostTest, ReaderOfAUnitOfTwoBlocksTakesThreeReadsTheLastEmpty) {
    WriteFile(File("Block.pas"), std::string(2048, 'x'));
    ASSERT_TRUE(Host.OpenFile(File("Block.pas")));
    Integer reads = 0;
    EXPECT_EQ(ReadSource("Block.pas", 1024, reads), std::string(2048, 'x'));
    EXPECT_EQ(reads, 3);
    std::string source = ReadFile(File("Main.pas"));
    ASSERT_TRUE(Host.OpenFile(File("Main.pas")));
    EXPECT_EQ(ReadSource("Main.pas", 200, reads), source);
    EXPECT_EQ(reads, static_cast<Integer>(source.size() / 200 + 1));
}

TEST_F(THostTest, WriterCopiesDeletesAndInsertsInOnePassUndoneInOneStep) {
    WriteFile(File("Edit.pas"), "alpha beta gamma");
    ASSERT_TRUE(Host.OpenFile(File("Edit.pas")));
    TIModuleInterface* module = ToolServices->GetModuleInterface(File("Edit.pas"));
    TIEditorInterface* editor = module->GetEditorInterface();
    TIEditWriter* writer = editor->CreateUndoableWriter();
    EXPECT_TRUE(writer->CopyTo(6));
    EXPECT_TRUE(writer->DeleteTo(10));
    EXPECT_TRUE(writer->Insert("BETA"));
    EXPECT_FALSE(writer->CopyTo(3));
    EXPECT_TRUE(writer->CopyTo(11));
    EXPECT_TRUE(writer->Insert("big "));
    EXPECT_EQ(writer->Position(), 11);
    EXPECT_EQ(Module("Edit.pas")->Source().Text(), "alpha beta gamma");
    writer->Release();
    EXPECT_EQ(Module("Edit.pas")->Source().Text(), "alpha BETA big gamma");
    EXPECT_TRUE(Module("Edit.pas")->GetModified());
    EXPECT_TRUE(Host.Undo(File("Edit.pas")));
    EXPECT_EQ(Module("Edit.pas")->Source().Text(), "alpha beta gamma");
    EXPECT_FALSE(Module("Edit.pas")->GetModified());
    EXPECT_FALSE(Host.Undo(File("Edit.pas")));
    editor->ShowLine(1);
    EXPECT_EQ(Host.CursorLine(), 1);
    editor->Release();
    module->Release();
}

TEST_F(THostTest, FileNotificationsCarryTheirCodes) {
    auto* notifier = new TRecordingNotifier;
    ASSERT_TRUE(ToolServices->AddNotifier(notifier));
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    ASSERT_TRUE(Host.OpenFile(File("Main.pas")));
    ASSERT_TRUE(Host.CloseFile(File("Main.pas")));
    WriteFile(File("Extra.pas"), "unit Extra;\ninterface\nimplementation\nend.\n");
    ASSERT_TRUE(Host.AddToProject(File("Extra.pas"), "", ""));
    EXPECT_NE(Module("Example.dpr")->Source().Text().find("Extra in 'Extra.pas'"), std::string::npos);
    ASSERT_TRUE(Host.RemoveFromProject(File("Extra.pas")));
    EXPECT_EQ(Module("Example.dpr")->Source().Text(), ReadFile(File("Example.dpr")));
    notifier->CancelCode = fnFileOpening;
    EXPECT_FALSE(Host.OpenFile(File("Orders.pas")));
    notifier->CancelCode = -1;
    ASSERT_TRUE(Host.CloseProject());
    EXPECT_EQ(notifier->Codes, (std::vector<Integer>{3, 0, 1, 4, 0, 1, 2, 6, 7, 0, 5, 2}));
    EXPECT_EQ(notifier->Files[7], File("Extra.pas"));
    EXPECT_EQ(notifier->RefCount(), 2);
    ASSERT_TRUE(ToolServices->RemoveNotifier(notifier));
    EXPECT_FALSE(ToolServices->RemoveNotifier(notifier));
    notifier->Release();
}

TEST_F(THostTest, MainMenuFindsSectionsAndInsertsItemsThatClick) {
    TIMainMenuIntf* menu = ToolServices->GetMainMenu();
    for (const char* name : {"FileMenu", "EditMenu", "SearchMenu", "ViewsMenu", "ProjectMenu",
                             "RunMenu", "ComponentMenu", "ToolsMenu", "HelpMenu"}) {
        TIMenuItemIntf* section = menu->FindMenuItem(name);
        ASSERT_NE(section, nullptr) << name;
        section->Release();
    }
    EXPECT_EQ(menu->FindMenuItem("NoSuchMenu"), nullptr);
    TIMenuItemIntf* tools = menu->FindMenuItem("toolsmenu");
    Integer clicks = 0;
    TIMenuItemIntf* item = tools->InsertItem(3, "TzxLang &CLX Expert", "zxLangCLXExpertMenuItem", "",
                                             TextToShortCut("SHIFT+CTRL+L"), 0, 0,
                                             TIMenuFlags::FromOrdinal(6),
                                             [&clicks](TIMenuItemIntf*) { ++clicks; });
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetFlags(), (TIMenuFlags{mfEnabled, mfVisible}));
    EXPECT_EQ(item->GetIndex(), 0);
    EXPECT_EQ(ShortCutToText(item->GetShortCut()), "Shift+Ctrl+L");
    TIMenuItemIntf* found = menu->FindMenuItem("zxLangCLXExpertMenuItem");
    ASSERT_NE(found, nullptr);
    found->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(item->DestroyMenuItem());
    EXPECT_FALSE(found->DestroyMenuItem());
    EXPECT_EQ(found->GetName(), "");
    EXPECT_EQ(menu->FindMenuItem("zxLangCLXExpertMenuItem"), nullptr);
    for (TInterface* each : std::initializer_list<TInterface*>{found, item, tools, menu})
        each->Release();
}

TEST_F(THostTest, ProjectWindowDescendsFromTheDockClassesAndMessagesAreShown) {
    TForm* window = nullptr;
    for (Integer index = 0; index < Screen->FormCount() && !window; ++index)
        if (Screen->Forms(index)->Name() == "ProjectManagerForm")
            window = dynamic_cast<TForm*>(Screen->Forms(index));
    ASSERT_EQ(window, Host.ProjectManager());
    EXPECT_STREQ(window->ClassType()->Parent->Name, "TDockableToolbarForm");
    EXPECT_STREQ(window->ClassType()->Parent->Parent->Name, "TDockableForm");
    Dialogs.Answer(mrOk);
    ToolServices->RaiseException("Something failed");
    EXPECT_EQ(Dialogs.LastRequest().Text, "Something failed");
    EXPECT_EQ(Host.Messages().back(), "Something failed");
}

TEST_F(THostTest, CreateComponentNamesLikeTheIDEAndKeepsTheUnitInStep) {
    OpenExample();
    TDesignModule* module = Module("Main.pas");
    _di_IDesigner designer = DesignerOf(module);
    auto* formNotifier = new TRecordingFormNotifier;
    DelphiInterface<TRecordingFormNotifier> held(formNotifier);
    _di_IOTAFormEditor formEditor = Supports<IOTAFormEditor>(module, IID_IOTAFormEditor);
    Integer index = formEditor->AddNotifier(formNotifier);
    TComponent* button = designer->CreateComponent(TButton::StaticClass(), nullptr, 0, 0, 0, 0);
    TComponent* second = designer->CreateComponent(TButton::StaticClass(), nullptr, 8, 8, 50, 20);
    TComponent* panel = designer->CreateComponent(TPanel::StaticClass(), designer->GetRoot(), 0, 0, 0, 0);
    EXPECT_EQ(button->Name(), "Button1");
    EXPECT_EQ(second->Name(), "Button2");
    EXPECT_EQ(dynamic_cast<TControl*>(second)->Width(), 50);
    EXPECT_EQ(dynamic_cast<TControl*>(panel)->Parent(), designer->GetRoot());
    const AnsiString& text = module->Source().Text();
    EXPECT_NE(text.find("    OrdersButton: TButton;\n    Button1: TButton;\n    Button2: TButton;\n"
                        "    Panel1: TPanel;\n    procedure OrdersButtonClick"),
              std::string::npos);
    EXPECT_NE(text.find("QDialogs, QStdCtrls, QExtCtrls;"), std::string::npos);
    button->SetName("OkButton");
    EXPECT_NE(module->Source().Text().find("    OkButton: TButton;\n"), std::string::npos);
    delete second;
    EXPECT_EQ(module->Source().Text().find("Button2"), std::string::npos);
    designer->GetRoot()->SetName("MainWindow");
    EXPECT_EQ(formNotifier->Events, (std::vector<AnsiString>{">Button1", ">Button2", ">Panel1",
                                                             "Button1>OkButton", "Button2>",
                                                             "MainForm>MainWindow"}));
    formEditor->RemoveNotifier(index);
    button->SetName("Again");
    EXPECT_EQ(formNotifier->Events.size(), 6u);
    formEditor->AddNotifier(formNotifier);
    formEditor.Reset();
    designer.Reset();
    ASSERT_TRUE(Host.SaveFile(File("Main.pas")));
    ASSERT_TRUE(Host.CloseFile(File("Main.pas")));
    EXPECT_EQ(std::vector<AnsiString>(formNotifier->Events.begin() + 6, formNotifier->Events.end()),
              (std::vector<AnsiString>{"BeforeSave", "AfterSave", "Destroyed"}));
    EXPECT_EQ(formNotifier->RefCount(), 1);
}

TEST_F(THostTest, CreateMethodWritesDeclarationAndSkeletonOnce) {
    OpenExample();
    TDesignModule* module = Module("Main.pas");
    _di_IDesigner designer = DesignerOf(module);
    TComponent* root = designer->GetRoot();
    TMethod method = designer->CreateMethod("FormCreate", GetPropInfo(root, "OnCreate")->PropType);
    SetMethodProp(root, "OnCreate", method);
    designer->CreateMethod("UpdateStrings", nullptr);
    const AnsiString text = module->Source().Text();
    EXPECT_NE(text.find("    procedure OrdersButtonClick(Sender: TObject);\n"
                        "    procedure FormCreate(Sender: TObject);\n"
                        "    procedure UpdateStrings;\n  private"),
              std::string::npos);
    EXPECT_NE(text.find("end;\n\nprocedure TMainForm.FormCreate(Sender: TObject);\nbegin\n\nend;\n\n"
                        "procedure TMainForm.UpdateStrings;\nbegin\n\nend;\n\nend.\n"),
              std::string::npos);
    EXPECT_EQ(GetMethodProp(root, "OnCreate").Name, "FormCreate");
    EXPECT_TRUE(designer->MethodExists("OrdersButtonClick"));
    designer->CreateMethod("OrdersButtonClick", GetPropInfo(root, "OnCreate")->PropType);
    EXPECT_EQ(module->Source().Text(), text);
    designer->ShowMethod("FormCreate");
    EXPECT_EQ(Host.CurrentFile(), File("Main.pas"));
    Integer reads;
    std::string lines = ReadSource("Main.pas", 200, reads);
    EXPECT_EQ(std::count(lines.begin(), lines.begin() + static_cast<long>(lines.find("procedure TMainForm.FormCreate")), '\n') + 3,
              Host.CursorLine());
}

TEST_F(THostTest, ComponentsOfOtherFormsAreNamedAndLinkedThroughTheUsesClause) {
    OpenExample();
    _di_IDesigner main = DesignerOf(Module("Main.pas"));
    TComponent* edit = main->GetComponent("OrdersForm.CustomerEdit");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(main->GetComponentName(edit), "OrdersForm.CustomerEdit");
    std::vector<AnsiString> names;
    main->GetComponentNames(TWinControl::StaticClass(), [&names](const AnsiString& N) { names.push_back(N); });
    EXPECT_EQ(names, (std::vector<AnsiString>{"OrdersButton", "OrdersForm.CustomerEdit"}));
    EXPECT_FALSE(main->IsComponentLinkable(edit));
    main->MakeComponentLinkable(edit);
    EXPECT_TRUE(main->IsComponentLinkable(edit));
    EXPECT_NE(Module("Main.pas")->Source().Text().find("QStdCtrls, Orders;"), std::string::npos);

    TComponent* label = main->GetComponent("TitleLabel");
    SetObjectProp(label, "FocusControl", edit);
    main->Modified();
    ASSERT_TRUE(Host.CloseFile(File("Orders.pas")));
    EXPECT_EQ(GetObjectProp(label, "FocusControl"), nullptr);
    ASSERT_TRUE(Host.SaveAll());
    ASSERT_TRUE(Host.OpenFile(File("Orders.pas")));
    EXPECT_EQ(GetObjectProp(label, "FocusControl"), Host.FormOf(File("Orders.pas"))->FindComponent("CustomerEdit"));
    ASSERT_TRUE(Host.CloseProject());
    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    ASSERT_TRUE(Host.OpenFile(File("Orders.pas")));
    ASSERT_TRUE(Host.OpenFile(File("Main.pas")));
    EXPECT_EQ(GetObjectProp(Host.FormOf(File("Main.pas"))->FindComponent("TitleLabel"), "FocusControl"),
              Host.FormOf(File("Orders.pas"))->FindComponent("CustomerEdit"));
}

TEST_F(THostTest, SavingLeavesUnchangedFilesAloneAndKeepsEachFormsFormat) {
    const auto before = Snapshot(Dir.Path());
    const auto stamp = std::filesystem::last_write_time(File("Main.xfm"));
    OpenExample();
    ASSERT_TRUE(Host.SaveAll());
    DesignerOf(Module("Data.pas"))->Modified();
    ASSERT_TRUE(Host.SaveAll());
    EXPECT_EQ(Snapshot(Dir.Path()), before);
    EXPECT_EQ(std::filesystem::last_write_time(File("Main.xfm")), stamp);

    SetStrProp(Host.FormOf(File("Main.pas")), "Caption", "Renamed");
    DesignerOf(Module("Main.pas"))->Modified();
    ASSERT_TRUE(Host.SaveAll());
    EXPECT_EQ(static_cast<unsigned char>(ReadFile(File("Main.xfm"))[0]), 0xFF);
    EXPECT_NE(ReadFile(File("Main.xfm")), before.at("Main.xfm"));
    EXPECT_EQ(ReadFile(File("Main.pas")), before.at("Main.pas"));
}

TEST_F(THostTest, UnknownPropertiesAreListedAndSavingOverThemAsks) {
    OpenExample();
    std::vector<AnsiString> skipped = Host.SkippedProperties(File("Orders.pas"));
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_NE(skipped[0].find("OldCreateOrder"), std::string::npos);
    EXPECT_EQ(Host.FormOf(File("Orders.pas"))->FindComponent("CustomerEdit")->ClassName(), "TEdit");
    const std::string original = ReadFile(File("Orders.xfm"));
    SetStrProp(Host.FormOf(File("Orders.pas")), "Caption", "Orders of today");
    DesignerOf(Module("Orders.pas"))->Modified();
    Dialogs.Answer(mrNo);
    EXPECT_FALSE(Host.SaveFile(File("Orders.pas")));
    EXPECT_NE(Dialogs.LastRequest().Text.find("OldCreateOrder"), std::string::npos);
    EXPECT_EQ(ReadFile(File("Orders.xfm")), original);
    Dialogs.Answer(mrYes);
    EXPECT_TRUE(Host.SaveFile(File("Orders.pas")));
    std::string saved = ReadFile(File("Orders.xfm"));
    EXPECT_TRUE(saved.starts_with("object OrdersForm: TOrdersForm\n"));
    EXPECT_NE(saved.find("Caption = 'Orders of today'"), std::string::npos);
    EXPECT_EQ(saved.find("OldCreateOrder"), std::string::npos);
}

TEST_F(THostTest, AUnitChangedOnDiskIsNotOverwrittenWithoutAsking) {
    OpenExample();
    WriteFile(File("Data.pas"), "changed by another program");
    TDesignModule* module = Module("Data.pas");
    module->Source().Replace(module->Source().Text() + "{ edited }\n");
    Dialogs.Answer(mrNo);
    EXPECT_FALSE(Host.SaveAll());
    EXPECT_EQ(ReadFile(File("Data.pas")), "changed by another program");
    Dialogs.Answer(mrYes);
    EXPECT_TRUE(Host.SaveAll());
    EXPECT_TRUE(ReadFile(File("Data.pas")).ends_with("end.\n{ edited }\n"));
}

TEST_F(THostTest, DoubleClickingAComponentOpensOrCreatesItsPreferredHandler) {
    OpenExample();
    _di_IDesigner orders = DesignerOf(Module("Orders.pas"));
    TComponent* edit = orders->GetComponent("CustomerEdit");
    GetComponentEditor(edit, orders)->Edit();
    EXPECT_EQ(GetMethodProp(edit, "OnChange").Name, "CustomerEditChange");
    EXPECT_NE(Module("Orders.pas")->Source().Text().find(
                  "procedure TOrdersForm.CustomerEditChange(Sender: TObject);\nbegin\n\nend;"),
              std::string::npos);
    EXPECT_EQ(Host.CurrentFile(), File("Orders.pas"));
    _di_IDesigner main = DesignerOf(Module("Main.pas"));
    const AnsiString source = Module("Main.pas")->Source().Text();
    GetComponentEditor(main->GetComponent("OrdersButton"), main)->Edit();
    EXPECT_EQ(Module("Main.pas")->Source().Text(), source);
    EXPECT_EQ(Host.CurrentFile(), File("Main.pas"));
    EXPECT_EQ(Host.CursorLine(), PascalSource::MethodLine(source, "TMainForm", "OrdersButtonClick") + 2);
}

TEST_F(THostTest, AReferenceKeptPastTheModulesCloseReachesNothing) {
    OpenExample();
    _di_IDesigner cached = DesignerOf(Module("Data.pas"));
    _di_IOTAModule module(static_cast<IOTAModule*>(Module("Data.pas")));
    ASSERT_TRUE(Host.CloseFile(File("Data.pas")));
    EXPECT_EQ(cached->GetRoot(), nullptr);
    EXPECT_EQ(cached->GetComponent("Actions"), nullptr);
    EXPECT_FALSE(module->Save(false, true));
    EXPECT_FALSE(module->Close());
}

TEST_F(THostTest, AWindowAroundTheHostHearsItAndMayGiveChangesUp) {
    std::vector<AnsiString> messages;
    std::vector<std::pair<AnsiString, Integer>> shown;
    Host.OnMessage = [&messages](const AnsiString& Message) { messages.push_back(Message); };
    Host.OnShowFile = [&shown](const AnsiString& FileName, Integer Line) { shown.emplace_back(FileName, Line); };
    OpenExample();
    EXPECT_EQ(shown.back(), std::make_pair(AnsiString(File("Data.pas")), Integer(1)));
    Dialogs.Answer(mrOk);
    ToolServices->RaiseException("Something failed");
    EXPECT_EQ(messages, std::vector<AnsiString>{"Something failed"});

    // What the host writes is told; what an edit window typed is not, and
    // the buffer's own undo steps end there.
    TSourceBuffer& source = Module("Main.pas")->Source();
    Integer changes = 0;
    source.OnChange = [&changes] { ++changes; };
    _di_IDesigner main = DesignerOf(Module("Main.pas"));
    main->CreateMethod("UpdateStrings", nullptr);
    main->ShowMethod("UpdateStrings");
    EXPECT_EQ(shown.back(), std::make_pair(AnsiString(File("Main.pas")),
                                           PascalSource::MethodLine(source.Text(), "TMainForm", "UpdateStrings") + 2));
    EXPECT_EQ(changes, 1);
    source.SetText(source.Text() + "{ typed }");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(source.Undo());
    source.OnChange = nullptr;

    // Closing without the changes needs the user's word for it.
    const std::string onDisk = ReadFile(File("Main.pas"));
    EXPECT_FALSE(Host.CloseFile(File("Main.pas")));
    EXPECT_TRUE(Host.CloseFile(File("Main.pas"), true));
    EXPECT_EQ(ReadFile(File("Main.pas")), onDisk);
    Module("Orders.pas")->Source().Replace("changed");
    EXPECT_FALSE(Host.CloseProject());
    EXPECT_TRUE(Host.CloseProject(true));
    EXPECT_EQ(shown.back().first, AnsiString());
    EXPECT_EQ(ReadFile(File("Orders.pas")), ReadFile(ZX_EXAMPLES_DIR "/Orders.pas"));
    Host.OnMessage = nullptr;
    Host.OnShowFile = nullptr;
}
