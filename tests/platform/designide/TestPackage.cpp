// A design-time package for the loading tests: one component, its component
// editor and a property editor, an expert, and a log of what its units did
// (the file $ZX_TEST_PACKAGE_LOG names).
#include "package/PackageUnits.h"

#include "designide/DesignEditors.h"
#include "designide/ExptIntf.h"

#include <cstdlib>
#include <fstream>

namespace {

void Log(const char* Line) {
    if (const char* file = std::getenv("ZX_TEST_PACKAGE_LOG"))
        std::ofstream(file, std::ios::app) << Line << "\n";
}

class TZxTestWidget : public TComponent {
    ZX_CLASS(TZxTestWidget, TComponent)
public:
    using TComponent::TComponent;
    static void PublishedProperties(TPropertyBuilder<TZxTestWidget>& P) {
        P.Property("Caption", &TZxTestWidget::FCaption);
    }

private:
    AnsiString FCaption;
};

class TZxTestWidgetEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    Integer GetVerbCount() override { return 1; }
    AnsiString GetVerb(Integer) override { return "Say hello"; }
    void ExecuteVerb(Integer) override {
        SetStrProp(Component(), "Caption", "Hello");
        Designer()->Modified();
    }
};

class TZxTestCaptionProperty : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
    TPropertyAttributes GetAttributes() override {
        return TStringProperty::GetAttributes() + TPropertyAttributes{paValueList};
    }
    void GetValues(const TGetStrProc& Proc) override {
        Proc("Hello");
        Proc("Goodbye");
    }
};

class TZxTestExpert : public TIExpert {
public:
    ~TZxTestExpert() override { Log("expert destroyed"); }
    AnsiString GetName() override { return "Test expert"; }
    AnsiString GetAuthor() override { return "Tests"; }
    AnsiString GetComment() override { return AnsiString(); }
    AnsiString GetPage() override { return AnsiString(); }
    std::intptr_t GetGlyph() override { return 0; }
    TExpertStyle GetStyle() override { return esAddIn; }
    TExpertState GetState() override { return TExpertState(); }
    AnsiString GetIDString() override { return "Tests.TestExpert"; }
    AnsiString GetMenuText() override { return AnsiString(); }
    void Execute() override {}
};

void InitializeWidgets() {
    Log("initialization ZxTestWidgets");
    RegisterClass(TZxTestWidget::StaticClass());
    RegisterUnitClasses("ZxTestWidgets", {TZxTestWidget::StaticClass()});
}

void FinalizeWidgets() { Log("finalization ZxTestWidgets"); }

void InitializeReg() { Log("initialization ZxTestReg"); }

void FinalizeReg() { Log("finalization ZxTestReg"); }

void Register() {
    Log("Register");
    RegisterComponents("Tests", {TZxTestWidget::StaticClass()});
    RegisterComponentEditor(TZxTestWidget::StaticClass(), ComponentEditorOf<TZxTestWidgetEditor>());
    RegisterLibraryExpert(new TZxTestExpert);
#ifdef ZX_TEST_REGISTER_RAISES
    throw Exception("registration refused");
#endif
    RegisterPropertyEditor(TypeInfo<AnsiString>(), TZxTestWidget::StaticClass(), "Caption",
                           PropertyEditorOf<TZxTestCaptionProperty>());
}

} // namespace

const std::vector<TPackageUnit>& PackageUnits() {
    static const std::vector<TPackageUnit> units{
        {"ZxTestWidgets", &InitializeWidgets, &FinalizeWidgets, nullptr},
        {"ZxTestReg", &InitializeReg, &FinalizeReg, &Register},
    };
    return units;
}
