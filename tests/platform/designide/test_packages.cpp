// Loading and unloading design-time packages in a running host.
#include "HostTestSupport.h"

#include "designide/DesignEditors.h"
#include "designide/DesignRegistry.h"
#include "designide/ExptIntf.h"

#include <cstdlib>

using namespace hosttest;

namespace {

class TPackageTest : public THostTest {
protected:
    TPackageTest() { setenv("ZX_TEST_PACKAGE_LOG", Log.c_str(), 1); }
    ~TPackageTest() override { unsetenv("ZX_TEST_PACKAGE_LOG"); }
    std::string TakeLog() {
        std::string lines = ReadFile(Log);
        std::filesystem::remove(Log);
        return lines;
    }
    std::string Log = Dir.File("package.log");
};

} // namespace

TEST_F(TPackageTest, PackageRegistersAndUnregistersTwiceInOneProcess) {
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(Host.LoadPackage(ZX_TEST_PACKAGE_K2)) << round;
        EXPECT_EQ(Host.LoadedPackages(), std::vector<AnsiString>{ZX_TEST_PACKAGE_K2});
        EXPECT_EQ(TakeLog(), "initialization ZxTestWidgets\ninitialization ZxTestReg\nRegister\n");
        TClass widget = GetClass("TZxTestWidget");
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(PaletteText(), "Tests:TZxTestWidget ");
        ASSERT_EQ(GetLibraryExperts().size(), 1u);
        EXPECT_EQ(GetLibraryExperts()[0]->GetIDString(), "Tests.TestExpert");

        // Its component on a form, edited through its editors.
        OpenExample();
        _di_IDesigner designer = Supports<INTAFormEditor>(Module("Main.pas"), IID_INTAFormEditor)->GetFormDesigner();
        TComponent* component = designer->CreateComponent(widget, nullptr, 0, 0, 0, 0);
        EXPECT_EQ(component->Name(), "ZxTestWidget1");
        EXPECT_NE(Module("Main.pas")->Source().Text().find("QStdCtrls, ZxTestWidgets;"), std::string::npos);
        std::unique_ptr<TComponentEditor> editor = GetComponentEditor(component, designer);
        EXPECT_EQ(editor->GetVerb(0), "Say hello");
        editor->Edit();
        EXPECT_EQ(GetStrProp(component, "Caption"), "Hello");
        std::unique_ptr<TPropertyEditor> caption =
            GetPropertyEditor(component, GetPropInfo(component, "Caption"), designer);
        std::vector<AnsiString> values;
        caption->GetValues([&values](const AnsiString& V) { values.push_back(V); });
        EXPECT_EQ(values, (std::vector<AnsiString>{"Hello", "Goodbye"}));
        editor.reset();
        caption.reset();

        ASSERT_TRUE(Host.UnloadPackage(ZX_TEST_PACKAGE_K2));
        EXPECT_EQ(TakeLog(), "expert destroyed\nfinalization ZxTestReg\nfinalization ZxTestWidgets\n");
        EXPECT_EQ(GetClass("TZxTestWidget"), nullptr);
        EXPECT_EQ(PaletteText(), "");
        EXPECT_TRUE(GetLibraryExperts().empty());
        // The form that held its component was saved and freed; its unit
        // declares the component, so reading it back now fails.
        EXPECT_FALSE(Host.IsFileOpen(File("Main.pas")));
        EXPECT_NE(ReadFile(File("Main.xfm")).find("TZxTestWidget"), std::string::npos);
        EXPECT_TRUE(Host.IsFileOpen(File("Orders.pas")));
        ASSERT_TRUE(Host.CloseProject());
        std::filesystem::copy(ZX_EXAMPLES_DIR, Dir.Path(),
                              std::filesystem::copy_options::overwrite_existing | std::filesystem::copy_options::recursive);
    }
    EXPECT_FALSE(Host.UnloadPackage(ZX_TEST_PACKAGE_K2));
}

TEST_F(TPackageTest, APackageOfAnotherVersionIsRefusedWithAClearMessage) {
    Dialogs.Answer(mrOk);
    EXPECT_FALSE(Host.LoadPackage(ZX_TEST_PACKAGE_K1));
    EXPECT_NE(Host.Messages().back().find("was built for IDE version K1; this host runs as K2"),
              std::string::npos);
    EXPECT_EQ(TakeLog(), "");
    EXPECT_TRUE(Host.LoadedPackages().empty());
}

TEST_F(TPackageTest, AFailingPackageLeavesTheHostRunningAndSaysWhy) {
    Dialogs.Answer(mrOk);
    EXPECT_FALSE(Host.LoadPackage(ZX_TEST_PACKAGE_FAILING));
    EXPECT_NE(Host.Messages().back().find("registration refused"), std::string::npos);
    EXPECT_EQ(TakeLog(), "initialization ZxTestWidgets\ninitialization ZxTestReg\nRegister\n"
                         "expert destroyed\nfinalization ZxTestReg\nfinalization ZxTestWidgets\n");
    EXPECT_EQ(GetClass("TZxTestWidget"), nullptr);
    EXPECT_EQ(PaletteText(), "");
    Dialogs.Answer(mrOk);
    EXPECT_FALSE(Host.LoadPackage(Dir.File("missing.so")));
    EXPECT_NE(Host.Messages().back().find("Cannot load package"), std::string::npos);
    ASSERT_TRUE(Host.LoadPackage(ZX_TEST_PACKAGE_K2));
    EXPECT_NE(GetClass("TZxTestWidget"), nullptr);
}

TEST_F(TPackageTest, TranslationPackagesRecordTheirVersionAndRegisterTheRuntimeClasses) {
    const std::string dir = ZX_TZXLANG_PACKAGE_DIR;
    Dialogs.Answer(mrOk);
    EXPECT_FALSE(Host.LoadPackage(dir + "/bplTZxLang_K3D.so"));
    EXPECT_NE(Host.Messages().back().find("built for IDE version K3D"), std::string::npos);
    ASSERT_TRUE(Host.LoadPackage(dir + "/bplTZxLang_K2.so"));
    for (const char* name : {"TzxLang", "TzxLangLinked", "TzxLangTLV", "TzxLangDispatcher", "TzxFormStorage"})
        EXPECT_NE(GetClass(name), nullptr) << name;
    ASSERT_TRUE(Host.UnloadPackage(dir + "/bplTZxLang_K2.so"));
    EXPECT_EQ(GetClass("TzxLang"), nullptr);
}

TEST(PackageHostVersion, TheStartUpOptionChoosesTheVersionK2ByDefault) {
    const char* none[] = {"zxide"};
    const char* k1[] = {"zxide", "project.dpr", "--ide=k1"};
    const char* bad[] = {"zxide", "--ide=K9"};
    EXPECT_EQ(IDEVersionFromArguments(1, none), ideK2);
    EXPECT_EQ(IDEVersionFromArguments(3, k1), ideK1);
    EXPECT_EQ(zxtest::MessageOf<EConvertError>([&] { IDEVersionFromArguments(2, bad); }),
              "Unknown IDE version \"K9\" (K1, K2 or K3D)");
    EXPECT_EQ(IDEVersionName(ideK3D), "K3D");
}
