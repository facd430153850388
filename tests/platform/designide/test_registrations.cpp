// Which editor a registration gives a property or a component.
#include "designide/DesignEditors.h"
#include "designide/DesignRegistry.h"

#include "clx/ActnList.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class TBase : public TComponent {
    ZX_CLASS(TBase, TComponent)
public:
    using TComponent::TComponent;
    static void PublishedProperties(TPropertyBuilder<TBase>& P) {
        P.Property("Lines", &TBase::Lines, &TBase::SetLines);
        P.Property("Items", &TBase::Items, &TBase::SetLines);
        P.Property("Language", &TBase::FLanguage);
        P.Property("Title", &TBase::FTitle);
    }
    TStrings* Lines() const { return FLines.get(); }
    TStrings* Items() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }

private:
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
    WideString FLanguage;
    AnsiString FTitle;
};

class TDerived : public TBase {
    ZX_CLASS(TDerived, TBase)
public:
    using TBase::TBase;
};

// Editors that say who they are.
template <int N> class TNamedEditor : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    AnsiString GetValue() override { return "editor " + IntToStr(N); }
};

template <int N> class TNamedComponentEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    Integer GetVerbCount() override { return 2; }
    AnsiString GetVerb(Integer Index) override { return IntToStr(N * 10 + Index); }
    void ExecuteVerb(Integer Index) override { Executed.push_back(Index); }
    static inline std::vector<Integer> Executed;
};

AnsiString EditorOf(TPersistent* Instance, const char* Property) {
    return GetPropertyEditor(Instance, GetPropInfo(Instance, Property), nullptr)->GetValue();
}

class RegistrationTest : public testing::Test {
protected:
    RegistrationTest() { SetRegisteringModule(&Module); }
    ~RegistrationTest() override {
        UnRegisterModuleEditors(&Module);
        SetRegisteringModule(nullptr);
    }
    int Module = 0;
};

} // namespace

TEST_F(RegistrationTest, TheMostSpecificPropertyEditorWins) {
    TDerived derived(nullptr);
    TBase base(nullptr);
    EXPECT_NE(dynamic_cast<TStringListProperty*>(
                  GetPropertyEditor(&base, GetPropInfo(&base, "Lines"), nullptr).get()),
              nullptr);
    RegisterPropertyEditor(TypeInfo<TPersistent*>(), nullptr, "", PropertyEditorOf<TNamedEditor<1>>());
    RegisterPropertyEditor(TypeInfo<TStrings*>(), TBase::StaticClass(), "Lines",
                           PropertyEditorOf<TNamedEditor<2>>());
    RegisterPropertyEditor(TypeInfo<TStrings*>(), nullptr, "", PropertyEditorOf<TNamedEditor<3>>());
    RegisterPropertyEditor(TypeInfo<TStrings*>(), TDerived::StaticClass(), "",
                           PropertyEditorOf<TNamedEditor<4>>());
    EXPECT_EQ(EditorOf(&base, "Lines"), "editor 2");
    EXPECT_EQ(EditorOf(&derived, "Lines"), "editor 2");
    EXPECT_EQ(EditorOf(&base, "Items"), "editor 3");
    EXPECT_EQ(EditorOf(&derived, "Items"), "editor 4");
    // The 8-bit string type serves the wide-string property of that name too.
    RegisterPropertyEditor(TypeInfo<AnsiString>(), TBase::StaticClass(), "Language",
                           PropertyEditorOf<TNamedEditor<5>>());
    EXPECT_EQ(EditorOf(&derived, "Language"), "editor 5");
    EXPECT_EQ(EditorOf(&derived, "Title"), "");
    UnRegisterModuleEditors(&Module);
    EXPECT_EQ(EditorOf(&derived, "Items"), "(TStringList)");
}

// Colours and cursors show by name and are chosen among their names; a
// value without one still shows and can be typed.
TEST_F(RegistrationTest, ColoursAndCursorsAreEditedByName) {
    TButton button(nullptr);
    auto color = GetPropertyEditor(&button, GetPropInfo(&button, "Color"), nullptr);
    auto cursor = GetPropertyEditor(&button, GetPropInfo(&button, "Cursor"), nullptr);
    EXPECT_EQ(color->GetValue(), "clBtnFace");
    EXPECT_EQ(cursor->GetValue(), "crDefault");
    std::vector<AnsiString> names;
    color->GetValues([&](const AnsiString& Name) { names.push_back(Name); });
    EXPECT_NE(std::find(names.begin(), names.end(), "clRed"), names.end());
    // A second name of a value is never the one shown, so it is not offered.
    EXPECT_EQ(std::find(names.begin(), names.end(), "clHighlightedText"), names.end());
    color->SetValue("clred");
    EXPECT_EQ(button.Color(), clRed);
    color->SetValue("$00123456");
    EXPECT_EQ(color->GetValue(), "$00123456");
    EXPECT_THROW(color->SetValue("reddish"), EConvertError);
    EXPECT_EQ(button.Color(), 0x123456);
    cursor->SetValue("crHourGlass");
    EXPECT_EQ(button.Cursor(), crHourGlass);
    cursor->SetValue("7");
    EXPECT_EQ(cursor->GetValue(), "7");
    EXPECT_THROW(cursor->SetValue("crWait"), EConvertError);
}

TEST_F(RegistrationTest, ComponentEditorOfTheNearestClassAndVerbZeroOnDoubleClick) {
    TDerived derived(nullptr);
    EXPECT_NE(dynamic_cast<TDefaultEditor*>(GetComponentEditor(&derived, nullptr).get()), nullptr);
    RegisterComponentEditor(TDerived::StaticClass(), ComponentEditorOf<TNamedComponentEditor<2>>());
    RegisterComponentEditor(TBase::StaticClass(), ComponentEditorOf<TNamedComponentEditor<1>>());
    std::unique_ptr<TComponentEditor> editor = GetComponentEditor(&derived, nullptr);
    EXPECT_EQ(editor->GetVerb(1), "21");
    TBase base(nullptr);
    EXPECT_EQ(GetComponentEditor(&base, nullptr)->GetVerb(0), "10");
    editor->Edit();
    EXPECT_EQ(TNamedComponentEditor<2>::Executed, std::vector<Integer>{0});
}

TEST_F(RegistrationTest, PaletteAndActionsRegisterTheirClassesForStreaming) {
    RegisterComponents("Samples", {TDerived::StaticClass()});
    RegisterActions("Things", {TAction::StaticClass()}, nullptr);
    EXPECT_EQ(GetClass("TDerived"), TDerived::StaticClass());
    EXPECT_EQ(GetClass("TBase"), TBase::StaticClass());
    ASSERT_EQ(GetPaletteEntries().size(), 1u);
    EXPECT_EQ(GetPaletteEntries()[0].Page, "Samples");
    EXPECT_EQ(GetRegisteredActions()[0].Category, "Things");
    UnRegisterModuleEditors(&Module);
    EXPECT_TRUE(GetPaletteEntries().empty());
    UnRegisterClass(TDerived::StaticClass());
    EXPECT_EQ(GetClass("TDerived"), nullptr);
}

TEST(ClassGroups, AnActiveGroupFindsItsOwnClassOfAName) {
    class TOther : public TComponent {
        ZX_CLASS(TOther, TComponent)
    public:
        using TComponent::TComponent;
    };
    RegisterClass(TButton::StaticClass());
    StartClassGroup(TOther::StaticClass());
    RegisterClass(TOther::StaticClass());
    EXPECT_EQ(ClassGroupOf(TOther::StaticClass()), TOther::StaticClass());
    EXPECT_EQ(ClassGroupOf(TButton::StaticClass()), TPersistent::StaticClass());
    EXPECT_EQ(GetClass("TOther"), nullptr);
    EXPECT_EQ(ActivateClassGroup(TOther::StaticClass()), TPersistent::StaticClass());
    EXPECT_EQ(GetClass("TOther"), TOther::StaticClass());
    EXPECT_EQ(GetClass("TButton"), TButton::StaticClass());
    EXPECT_EQ(ActivateClassGroup(TButton::StaticClass()), TOther::StaticClass());
    EXPECT_EQ(GetClass("TOther"), nullptr);
}
