// The example project through the interfaces an expert uses: a property
// and a unit changed, saved, and found again after reopening.
#include "HostTestSupport.h"

#include "designide/DesignEditors.h"

using namespace hosttest;

TEST_F(THostTest, ExampleProjectKeepsAPropertyAndAUnitChangeAcrossReopening) {
    OpenExample();
    _di_IOTAModuleServices services = Supports<IOTAModuleServices>(BorlandIDEServices, IID_IOTAModuleServices);
    _di_IOTAModule main = services->FindFormModule("MainForm");
    _di_IOTAFormEditor formEditor = Supports<IOTAFormEditor>(main->GetModuleFileEditor(1).get(), IID_IOTAFormEditor);
    _di_IDesigner designer = Supports<INTAFormEditor>(formEditor.get(), IID_INTAFormEditor)->GetFormDesigner();
    GetComponentProperties(designer->GetRoot()->FindComponent("TitleLabel"), designer,
                           [](const DelphiInterface<IProperty>& Prop) {
                               if (Prop->GetName() == "Caption")
                                   Prop->SetValue("Orders of the week");
                           });
    EXPECT_TRUE(main->GetModified());

    TIModuleInterface* data = ToolServices->GetModuleInterface(File("Data.pas"));
    TIEditorInterface* editor = data->GetEditorInterface();
    TIEditWriter* writer = editor->CreateUndoableWriter();
    const std::string source = Module("Data.pas")->Source().Text();
    const Integer literal = static_cast<Integer>(source.find("'Hello from the data module'"));
    writer->CopyTo(literal);
    writer->DeleteTo(literal + 28);
    writer->Insert("'Good morning'");
    writer->Release();
    editor->Release();
    EXPECT_TRUE(data->Save(true));
    data->Release();
    ASSERT_TRUE(ToolServices->SaveProject());
    ASSERT_TRUE(Host.CloseProject());

    ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
    ASSERT_TRUE(ToolServices->OpenFile(File("Main.pas")));
    ASSERT_TRUE(ToolServices->OpenFile(File("Data.pas")));
    EXPECT_EQ(GetStrProp(Host.FormOf(File("Main.pas"))->FindComponent("TitleLabel"), "Caption"),
              "Orders of the week");
    Integer reads;
    EXPECT_NE(ReadSource("Data.pas", 200, reads).find("Result := 'Good morning';"), std::string::npos);
    EXPECT_EQ(ReadFile(File("Orders.xfm")), ReadFile(std::string(ZX_EXAMPLES_DIR) + "/Orders.xfm"));
}
