// The translation package as the design host loads it: a host takes the
// build of its own version and refuses the others; the registrations, and
// the component and property editors at work on the example project, with
// every dialog answered through the scripted dialog service.
#include "ClxTestSupport.h"
#include "HostTestSupport.h"

#include "clx/ComCtrls.h"
#include "clx/Grids.h"
#include "clx/Menus.h"
#include "designide/DesignEditors.h"
#include "designide/DesignRegistry.h"
#include "designide/ExptIntf.h"

#include <cxxabi.h>

using namespace hosttest;

namespace {

testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

AnsiString PackageFile(TIDEVersion Version) {
    return AnsiString(ZX_TZXLANG_PACKAGE_DIR) + "/bplTZxLang_" + IDEVersionName(Version) + ".so";
}

// The class of an editor as the package declares it.
template <typename T> std::string ClassNameOf(const T& Editor) {
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(Editor).name(), nullptr, nullptr, &status);
    std::string text = name ? name : "";
    std::free(name);
    return text;
}

TStrings& ListOf(TComponent* Component, const char* Name) {
    return *dynamic_cast<TStrings*>(GetObjectProp(Component, Name));
}

template <typename T> T& Named(TComponent& Form, const AnsiString& Name) {
    T* component = dynamic_cast<T*>(Form.FindComponent(Name));
    if (!component)
        throw Exception("no " + Name);
    return *component;
}

// The user edits a cell: F2 opens its editor, Return ends it.
void EditCell(TStringGrid& Grid, Integer ACol, Integer ARow, const AnsiString& Text) {
    Grid.SetCol(ACol);
    Grid.SetRow(ARow);
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier), enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Grid.Handle(), &f2);
    Grid.InplaceEditor()->SelectAll();
    Grid.InplaceEditor()->SetSelText(Text);
    QApplication::sendEvent(Grid.Handle(), &enter);
}

// The line of the list whose key holds Part, empty when none.
AnsiString LineHolding(TStrings& List, const AnsiString& Part) {
    for (Integer index = 0; index < List.Count(); ++index)
        if (List.Get(index).find(Part) != AnsiString::npos)
            return List.Get(index);
    return AnsiString();
}

std::vector<AnsiString> ValuesOf(TPropertyEditor& Editor) {
    std::vector<AnsiString> values;
    Editor.GetValues([&values](const AnsiString& Value) { values.push_back(Value); });
    return values;
}

// The K2 package in the host with the example project open and a TzxLang
// dropped on the main form.
class TPackageEditors : public THostTest {
protected:
    TPackageEditors() { Application->SetExeName(Dir.File("zxide")); }
    ~TPackageEditors() override {
        Host.CloseProject(true);
        Host.UnloadPackage(PackageFile(ideK2));
        SetEditStringListProc({});
        Application->SetExeName("");
    }
    void SetUp() override {
        ASSERT_TRUE(Host.LoadPackage(PackageFile(ideK2)));
        OpenExample();
        Lang = Drop("TzxLang", "Main.pas");
        ASSERT_NE(Lang, nullptr);
    }
    _di_IDesigner DesignerOf(const char* Unit) {
        return Supports<INTAFormEditor>(Module(Unit), IID_INTAFormEditor)->GetFormDesigner();
    }
    TComponent* Drop(const char* ClassName, const char* Unit) {
        return DesignerOf(Unit)->CreateComponent(GetClass(ClassName), nullptr, 0, 0, 0, 0);
    }
    std::unique_ptr<TPropertyEditor> PropertyEditor(TComponent* Component, const char* Name,
                                                    const char* Unit = "Main.pas") {
        return GetPropertyEditor(Component, GetPropInfo(Component, Name), DesignerOf(Unit));
    }
    std::unique_ptr<TComponentEditor> LangEditor() { return GetComponentEditor(Lang, DesignerOf("Main.pas")); }
    bool MainModified() { return Module("Main.pas")->FormModified(); }
    void SaveMain() {
        ASSERT_TRUE(Host.SaveFile(File("Main.pas")));
        ASSERT_FALSE(MainModified());
    }
    // The Translation Editor's caption when Open shows it; closed unchanged.
    AnsiString EditorCaption(const std::function<void()>& Open) {
        AnsiString caption;
        Dialogs.AnswerModal(mrNone, [&caption](TCustomForm& Form) {
            caption = Form.Caption();
            Named<TMenuItem>(Form, "miClose").Click();
        });
        Open();
        return caption;
    }

    TComponent* Lang = nullptr;
};

} // namespace

TEST(TzxLangPackages, EachLoadsIntoAHostOfItsVersionAndTheOtherHostsRefuseIt) {
    zxtest::TTempDir dir;
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    Application->SetExeName(dir.File("zxide"));
    for (TIDEVersion hostVersion : {ideK1, ideK2, ideK3D}) {
        TDesignHost host(hostVersion);
        for (TIDEVersion packageVersion : {ideK1, ideK2, ideK3D}) {
            SCOPED_TRACE(IDEVersionName(hostVersion) + " loads " + IDEVersionName(packageVersion));
            if (packageVersion != hostVersion) {
                dialogs.Answer(mrOk);
                EXPECT_FALSE(host.LoadPackage(PackageFile(packageVersion)));
                EXPECT_NE(host.Messages().back().find("built for IDE version " + IDEVersionName(packageVersion)),
                          std::string::npos);
                continue;
            }
            ASSERT_TRUE(host.LoadPackage(PackageFile(packageVersion)));
            EXPECT_EQ(PaletteText(), "talvenko:TzxLang talvenko:TzxLangRT talvenko:TzxLangLinked "
                                     "talvenko:TzxLangTLV talvenko:TzxLangDispatcher "
                                     "talvenko:TzxFormStorage Talvenko:TzxLangCombo ");
            ASSERT_EQ(GetRegisteredActions().size(), 1u);
            EXPECT_EQ(GetRegisteredActions()[0].Category, "zxLang");
            EXPECT_EQ(std::string(GetRegisteredActions()[0].ActionClass->Name), "TzxLangChangeLanguage");
            EXPECT_EQ(GetLibraryExperts().size(), 1u);
            ASSERT_TRUE(host.UnloadPackage(PackageFile(packageVersion)));
            EXPECT_EQ(PaletteText(), "");
        }
        EXPECT_TRUE(host.LoadedPackages().empty());
    }
    Application->SetExeName("");
}

TEST_F(TPackageEditors, EveryRegistrationGivesItsEditorToItsClassAndProperty) {
    TComponent* linked = Drop("TzxLangLinked", "Orders.pas");
    TComponent* tlv = Drop("TzxLangTLV", "Data.pas");
    TComponent* dispatcher = Drop("TzxLangDispatcher", "Data.pas");
    TComponent* combo = Drop("TzxLangCombo", "Main.pas");
    struct TRegistration {
        TComponent* Component;
        std::vector<const char*> Properties;
        const char* Editor;
    };
    const TRegistration registrations[] = {
        {Lang,
         {"Captions", "Hints", "DisplayLabels", "Strings", "Fonts", "MultiLines", "DlgsCaptions",
          "OtherStrings", "Locales", "CharSets", "Collections"},
         "TzxStringsProperty"},
        {tlv, {"ListView_TreeView_Items", "Hints"}, "TzxStringsProperty"},
        {linked, {"CommonContainer"}, "TCommonContainerProperty"},
        {Lang, {"ExtendedTranslations"}, "TExtendedTranslationsProperty"},
        {Lang, {"DoNotTranslate", "ExcludedProperties", "SmartExcludeProps"}, "TExcludePropertyEditor"},
        {Lang, {"Language"}, "TActiveLanguageProperty"},
        {dispatcher, {"Language"}, "TActiveLanguageProperty"},
        {combo, {"LanguageInfos"}, "TComboConfigurationProperty"},
        {dispatcher, {"LangNames"}, "TStringListProperty"},
    };
    for (const TRegistration& registration : registrations)
        for (const char* name : registration.Properties) {
            std::unique_ptr<TPropertyEditor> editor = PropertyEditor(registration.Component, name);
            EXPECT_EQ(ClassNameOf(*editor), registration.Editor) << name;
            if (registration.Editor != std::string("TActiveLanguageProperty") &&
                registration.Editor != std::string("TCommonContainerProperty")) {
                EXPECT_TRUE(editor->GetAttributes().Contains(paDialog)) << name;
                EXPECT_FALSE(editor->GetAttributes().Contains(paSubProperties)) << name;
            }
        }
    EXPECT_EQ(PropertyEditor(Lang, "Language")->GetAttributes(),
              (TPropertyAttributes{paValueList, paMultiSelect, paRevertable}));
    for (TComponent* component : {Lang, linked, tlv})
        EXPECT_EQ(ClassNameOf(*GetComponentEditor(component, DesignerOf("Main.pas"))), "TTranslationsEditor");
    for (TComponent* component : {dispatcher, combo})
        EXPECT_EQ(ClassNameOf(*GetComponentEditor(component, DesignerOf("Main.pas"))), "TDispatcherEditor");
}

TEST_F(TPackageEditors, EveryVerbCollectsFirstAndTheFormIsMarkedWhenCollectingChangedTheLists) {
    std::unique_ptr<TComponentEditor> editor = LangEditor();
    // The verbs' names are checked where zxide's component menu shows them.
    ASSERT_EQ(editor->GetVerbCount(), 5);
    TStrings& captions = ListOf(Lang, "Captions");
    SaveMain();
    ASSERT_EQ(captions.Count(), 0);
    editor->ExecuteVerb(4);
    EXPECT_NE(LineHolding(captions, "OrdersButton"), "");
    EXPECT_TRUE(MainModified()) << "the collected lines go into the form file";
    SaveMain();
    editor->ExecuteVerb(4);
    EXPECT_FALSE(MainModified());
    editor->ExecuteVerb(1);
    EXPECT_TRUE(MainModified()) << "Update Translations marks even when nothing changed";

    // Ignore Removals keeps a removed component's lines until it is chosen again.
    SaveMain();
    editor->ExecuteVerb(2);
    EXPECT_FALSE(MainModified());
    delete Module("Main.pas")->GetRoot()->FindComponent("OrdersButton");
    EXPECT_NE(LineHolding(captions, "OrdersButton"), "");
    editor->ExecuteVerb(2);
    delete Module("Main.pas")->GetRoot()->FindComponent("TitleLabel");
    EXPECT_EQ(LineHolding(captions, "TitleLabel"), "");

    // A cancelled editor leaves what it collected, and says so.
    SaveMain();
    Drop("TButton", "Main.pas");
    SaveMain();
    EXPECT_EQ(EditorCaption([&] { editor->ExecuteVerb(0); }), "Translation Editor - Captions");
    EXPECT_NE(LineHolding(captions, "Button1"), "");
    EXPECT_TRUE(MainModified());
}

TEST_F(TPackageEditors, TheEditorWritesBackAndARaisingEditorLeavesTheComponentAsItWas) {
    SetOrdProp(Lang, "NumOfLanguages", 2);
    std::unique_ptr<TComponentEditor> editor = LangEditor();
    editor->ExecuteVerb(1);
    SaveMain();
    Dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
        auto& grid = Named<TStringGrid>(Form, "Grid1");
        EditCell(grid, 2, grid.Cols(0)->IndexOf("OrdersButton"), "Bestellungen...");
        Dialogs.Answer(mrYes);
        Named<TMenuItem>(Form, "miClose").Click();
    });
    editor->ExecuteVerb(0);
    EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    EXPECT_TRUE(MainModified());
    EXPECT_NE(LineHolding(ListOf(Lang, "Captions"), "OrdersButton").find("\1Bestellungen..."), std::string::npos);

    SaveMain();
    Drop("TButton", "Main.pas");
    SaveMain();
    const AnsiString before = ListOf(Lang, "Captions").Text();
    Dialogs.AnswerModal(mrNone, [](TCustomForm&) { throw Exception("The grid failed"); });
    EXPECT_EQ(zxtest::MessageOf<Exception>([&] { editor->ExecuteVerb(0); }), "The grid failed");
    EXPECT_FALSE(MainModified());
    EXPECT_EQ(ListOf(Lang, "Captions").Text(), before);
}

TEST_F(TPackageEditors, EachListPropertyOpensTheEditorOnItsOwnKind) {
    const std::pair<const char*, const char*> kinds[] = {
        {"Captions", "Captions"}, {"Hints", "Hints"},     {"MultiLines", "Multilines"},
        {"DlgsCaptions", "Dialogs"}, {"OtherStrings", "Other"}, {"CharSets", "CharSets"}};
    for (const auto& [property, kind] : kinds)
        EXPECT_EQ(EditorCaption([&] { PropertyEditor(Lang, property)->Edit(); }),
                  AnsiString("Translation Editor - ") + kind);
    TComponent* tlv = Drop("TzxLangTLV", "Data.pas");
    EXPECT_EQ(EditorCaption([&] { PropertyEditor(tlv, "ListView_TreeView_Items", "Data.pas")->Edit(); }),
              "Translation Editor - ListView_TreeView_Items");
    EXPECT_EQ(EditorCaption([&] { PropertyEditor(Lang, "ExtendedTranslations")->Edit(); }),
              "Translation Editor - Extended Translations");
}

TEST_F(TPackageEditors, ExclusionListsOpenTheirPagesAndDoubleClicksOpenTheLanguageLists) {
    const char* lists[] = {"DoNotTranslate", "ExcludedProperties", "SmartExcludeProps"};
    for (Integer page = 0; page < 3; ++page) {
        Integer shown = -1;
        Dialogs.AnswerModal(mrCancel, [&shown](TCustomForm& Form) {
            shown = Named<TPageControl>(Form, "pcExcluded").ActivePageIndex();
        });
        SaveMain();
        PropertyEditor(Lang, lists[page])->Edit();
        EXPECT_EQ(shown, page) << lists[page];
        EXPECT_FALSE(MainModified());
    }

    TComponent* dispatcher = Drop("TzxLangDispatcher", "Data.pas");
    const std::string dataSource = Module("Data.pas")->Source().Text();
    AnsiString listEdited;
    SetEditStringListProc([&listEdited](const AnsiString& Title, TStrings&) {
        listEdited = Title;
        return false;
    });
    GetComponentEditor(dispatcher, DesignerOf("Data.pas"))->Edit();
    EXPECT_NE(listEdited.find("LangNames"), std::string::npos);
    EXPECT_EQ(Module("Data.pas")->Source().Text(), dataSource) << "no event handler is made";

    TComponent* combo = Drop("TzxLangCombo", "Main.pas");
    SetObjectProp(combo, "zxLang", Lang);
    AnsiString comboEditor;
    Dialogs.AnswerModal(mrCancel, [&comboEditor](TCustomForm& Form) { comboEditor = Form.ClassName(); });
    GetComponentEditor(combo, DesignerOf("Main.pas"))->Edit();
    EXPECT_EQ(comboEditor, "TfrmZxLangComboEditor");
}

TEST_F(TPackageEditors, LanguageValuesFollowTheCountAndContainersLeaveOutLinkedComponents) {
    TComponent* dispatcher = Drop("TzxLangDispatcher", "Data.pas");
    SetOrdProp(dispatcher, "NumOfLanguages", 3);
    ListOf(dispatcher, "LangNames").SetText("English\nDeutsch\nSuomi\n");
    EXPECT_EQ(ValuesOf(*PropertyEditor(dispatcher, "Language", "Data.pas")),
              (std::vector<AnsiString>{"English", "Deutsch", "Suomi"}));
    SetOrdProp(dispatcher, "NumOfLanguages", 2);
    EXPECT_EQ(ValuesOf(*PropertyEditor(dispatcher, "Language", "Data.pas")),
              (std::vector<AnsiString>{"English", "Deutsch"}));
    SetOrdProp(Lang, "NumOfLanguages", 3);
    ListOf(Lang, "LangNames").SetText("English\n");
    EXPECT_EQ(ValuesOf(*PropertyEditor(Lang, "Language")), (std::vector<AnsiString>{"English"}))
        << "a short list is not read past its end";

    TComponent* linked = Drop("TzxLangLinked", "Orders.pas");
    Drop("TzxLangLinked", "Data.pas");
    EXPECT_EQ(ValuesOf(*PropertyEditor(linked, "CommonContainer", "Orders.pas")),
              (std::vector<AnsiString>{"MainForm.zxLang1"}));
}
