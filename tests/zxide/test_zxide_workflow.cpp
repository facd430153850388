// A translator's whole workflow in zxide on a copy of the example project,
// through the real windows: the wizard, the source conversion, the
// Translation Editor, the project's translation files; then the saved forms
// and files read by a program made of the runtime alone, in every language.
#include "ClxTestSupport.h"
#include "ZxideTestSupport.h"

#include "designide/HostModule.h"

#include "clx/ActnList.h"
#include "clx/Clipbrd.h"
#include "clx/ComCtrls.h"
#include "clx/Grids.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"
#include "rtl/TypInfo.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxLngLnk.h"
#include "runtime/ZxLangRuntime.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>

#include <array>
#include <map>

namespace {

using zxidetest::Named;
using zxtest::Pick;

testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TApplicationEnvironment);

const char* const Delimiter = "~!@#";
// What the translator types in languages 2 and 3: the first language's text
// behind a mark of the language; a text empty there stays empty.
const std::array<AnsiString, 3> LanguageMarks = {"", "[de] Ü ", "[fi] ä "};
AnsiString Translated(const AnsiString& First, Integer Language) {
    return First.empty() ? First : LanguageMarks[Language - 1] + First;
}

// The item of the menu bar's section as any window shows it (the expert
// window has a File menu of its own).
void TriggerItem(const QString& Menu, const QString& Item) {
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->title() == Menu)
            for (QAction* action : menu->actions())
                if (action->text() == Item)
                    return action->trigger();
    FAIL() << Menu.toStdString() << " " << Item.toStdString();
}

void Shot(TComponent& Form, const std::string& Name) {
    zxidetest::SaveShot(dynamic_cast<TWinControl&>(Form).Handle()->grab(), "workflow-" + Name);
}

TListItem* RowOf(TListView& List, const AnsiString& Caption) {
    for (Integer index = 0; index < List.Items()->Count(); ++index)
        if (List.Items()->Item(index)->Caption() == Caption)
            return List.Items()->Item(index);
    return nullptr;
}

void SelectRows(TListView& List, std::initializer_list<const char*> Captions) {
    List.SetSelected(nullptr);
    for (const char* caption : Captions)
        RowOf(List, caption)->SetSelected(true);
}

// The texts a user sees on the program's forms: each component's caption,
// hint and text, keyed by form and component.
using TShownTexts = std::map<AnsiString, AnsiString>;
TShownTexts ShownTexts(const std::vector<TComponent*>& Roots) {
    TShownTexts texts;
    auto collect = [&](TComponent* Root, TComponent* Component) {
        for (const char* property : {"Caption", "Hint", "Text"})
            if (GetPropInfo(Component, property, {tkLString, tkString, tkWString}))
                if (AnsiString text = GetStrProp(Component, property); !text.empty())
                    texts[Root->Name() + "." + Component->Name() + "." + property] = text;
    };
    for (TComponent* root : Roots) {
        collect(root, root);
        for (Integer index = 0; index < root->ComponentCount(); ++index)
            collect(root, root->Components(index));
    }
    return texts;
}

// The example's forms for a program made of the runtime: each reads its
// saved form file.
AnsiString& ProjectDir() {
    static AnsiString dir;
    return dir;
}

class TDataModule1 : public TDataModule {
    ZX_CLASS(TDataModule1, TDataModule)
public:
    explicit TDataModule1(TComponent* AOwner) : TDataModule(AOwner) {}
    void AfterConstruction() override {
        LoadComponentFromFile(ProjectDir() + "Data.xfm", this);
        TDataModule::AfterConstruction();
    }
};

class TMainForm : public TForm {
    ZX_CLASS(TMainForm, TForm)
public:
    explicit TMainForm(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override {
        LoadComponentFromFile(ProjectDir() + "Main.xfm", this);
        TForm::AfterConstruction();
    }
    // Named by the form file; the texts are all this program looks at.
    void OrdersButtonClick(TObject*) {}
};

class TOrdersForm : public TForm {
    ZX_CLASS(TOrdersForm, TForm)
public:
    explicit TOrdersForm(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override {
        LoadComponentFromFile(ProjectDir() + "Orders.xfm", this);
        TForm::AfterConstruction();
    }
};

TzxCustomLang* LangOf(TComponent* Root) {
    for (Integer index = 0; index < Root->ComponentCount(); ++index)
        if (auto* lang = dynamic_cast<TzxCustomLang*>(Root->Components(index)))
            return lang;
    return nullptr;
}

class ZxideWorkflow : public zxidetest::TZxideExampleTest {
protected:
    ZxideWorkflow() {
        hosttest::WriteFile(Dir.File("TzxLangExpert.ini"), "[ExpSettings]\nDefNumLang=1\n");
        ProjectDir() = IncludeTrailingPathDelimiter(Dir.Path());
    }
    TForm& ExpertWindow() {
        for (Integer index = 0; index < Screen->FormCount(); ++index)
            if (Screen->Forms(index)->Name() == "frmzxLang")
                return dynamic_cast<TForm&>(*Screen->Forms(index));
        throw Exception("the expert window is not open");
    }
    // Page 2 of the wizard on all forms: linked components on the forms, the
    // container and a new dispatcher of three languages on the data module.
    void RunWizard(TForm& Expert) {
        SelectRows(Named<TListView>(Expert, "lvFormNames"), {"MainForm", "OrdersForm", "DataModule1"});
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& W) {
            Named<TButton>(W, "btNext").Click();
            auto& chosen = Named<TListView>(W, "lvSelectedForms");
            ASSERT_EQ(chosen.Items()->Count(), 3);
            for (auto [form, kind] : {std::pair{"MainForm", "TzxLangLinked"}, {"OrdersForm", "TzxLangLinked"},
                                      {"DataModule1", "TzxLang"}}) {
                chosen.SetSelected(RowOf(chosen, form));
                Pick(Named<TComboBox>(W, "cbTzxLangToInsert"), kind);
            }
            Shot(W, "wizard-insert.png");
            Named<TButton>(W, "btNext").Click();
            Pick(Named<TComboBox>(W, "cbDispatcherForm"), "DataModule1");
            Dialogs.Answer(mrYes);
            Dialogs.AnswerModal(mrOk, [&](TCustomForm& Languages) {
                auto& names = Named<TListBox>(Languages, "lbLangNames");
                ASSERT_EQ(names.Items()->Count(), 1);
                names.SetItemIndex(0);
                names.SetSelected(0, true);
                Dialogs.AnswerInput("English");
                Named<TButton>(Languages, "btnRename").Click();
                for (const char* added : {"Deutsch", "Suomi"}) {
                    Dialogs.AnswerInput(added);
                    Named<TButton>(Languages, "btnAdd").Click();
                }
                EXPECT_EQ(names.Items()->Text(), "English\nDeutsch\nSuomi\n");
            });
            Named<TButton>(W, "btCreateNewDispatcher").Click();
            Pick(Named<TComboBox>(W, "cbCommonContainerForm"), "DataModule1");
            EXPECT_EQ(Named<TComboBox>(W, "cbCommonContainerComponent").Text(), "Newly inserted (TzxLang)");
            Shot(W, "wizard-finetune.png");
            // The forms the wizard opened are saved; the example's order form
            // carries a property the designer drops.
            Dialogs.Answer(mrYes);
            Named<TButton>(W, "btNext").Click();
            auto& progress = Named<TListView>(W, "lvProgress");
            for (Integer task = 0; task < progress.Items()->Count(); ++task)
                EXPECT_EQ(progress.Items()->Item(task)->SubItems()->Get(0), "Done") << task;
            Named<TButton>(W, "btClose").Click();
        });
        Named<TMenuItem>(Expert, "Wizard1").Click();
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    }
    void ConvertMainUnit(TForm& Expert) {
        SelectRows(Named<TListView>(Expert, "lvFormNames"), {"MainForm"});
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Review) {
            auto& found = Named<TStringGrid>(Review, "sgStrings");
            for (Integer row = 1; row < found.RowCount(); ++row)
                Literals[found.Cells(0, row)] = found.Cells(1, row);
            Shot(Review, "convert-review.png");
            Named<TToolButton>(Review, "tbtOK").Click();
        });
        Dialogs.Answer(mrYes);
        Dialogs.Answer(mrOk);
        Named<TMenuItem>(Expert, "WithForm1").Click();
        EXPECT_EQ(Dialogs.LastRequest().Text,
                  "Source file translated. All string constants added to \"Strings\" property.");
        EXPECT_EQ(Literals.size(), 2u);
        const std::string unit = Host->FindModule(Dir.File("Main.pas"))->Source().Text();
        for (const auto& [id, text] : Literals)
            EXPECT_NE(unit.find(".GetTextOrDefault('" + id + "'"), std::string::npos) << id;
    }
    // Translates every row of every list of the form's component in the
    // editor the expert opens.
    void TranslateForm(TForm& Expert, const char* FormName) {
        SelectRows(Named<TListView>(Expert, "lvFormNames"), {FormName});
        Integer listsTranslated = 0;
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Editor) {
            auto& tree = Named<TTreeView>(Editor, "TreeView");
            auto& grid = Named<TStringGrid>(Editor, "Grid1");
            ASSERT_EQ(grid.ColCount(), 4) << "the key and three languages";
            for (TTreeNode* kind = tree.Items()->GetFirstNode()->GetFirstChild(); kind;
                 kind = kind->GetNextSibling()) {
                tree.SetSelected(kind);
                Application->ProcessMessages();
                if (grid.RowCount() < 2 || grid.Cells(0, 1).empty())
                    continue;
                // The translations come in one block from the clipboard; fonts
                // and character sets stay those of the first language.
                const bool texts = kind->Text() != "Fonts" && kind->Text() != "CharSets";
                auto typed = [&](Integer Row, Integer Language) {
                    return texts ? Translated(grid.Cells(1, Row), Language) : grid.Cells(1, Row);
                };
                AnsiString block;
                for (Integer row = 1; row < grid.RowCount(); ++row)
                    block += typed(row, 2) + "\t" + typed(row, 3) + "\r\n";
                Clipboard()->SetAsText(block);
                grid.SetRow(1);
                grid.SetSelection(TGridRect{2, 1, 3, grid.RowCount() - 1});
                Named<TAction>(Editor, "acEditPaste").Execute();
                for (Integer row = 1; row < grid.RowCount(); ++row)
                    for (Integer language : {2, 3})
                        EXPECT_EQ(grid.Cells(language, row), typed(row, language))
                            << FormName << " " << grid.Cells(0, row);
                if (kind->Text() == "Strings") {
                    Dialogs.Answer(mrOk);
                    Named<TMenuItem>(Editor, "miCheckFmtStr").Click();
                    EXPECT_EQ(Dialogs.LastRequest().Text,
                              "Translation Editor has not found any problems in format strings.");
                }
                ++listsTranslated;
                Shot(Editor, std::string("editor-") + FormName + "-" + kind->Text() + ".png");
            }
            Dialogs.AnswerModal(mrNone, [&](TCustomForm& Statistics) {
                EXPECT_EQ(Named<TLabel>(Statistics, "labPartialStd").Caption(), "Partial: 0 (0.00%)") << FormName;
                EXPECT_EQ(Named<TLabel>(Statistics, "labTransRemainingWords").Caption(),
                          "Remaining Words to Translate: 0")
                    << FormName;
                Shot(Statistics, std::string("statistics-") + FormName + ".png");
                Named<TButton>(Statistics, "btnOK").Click();
            });
            Named<TMenuItem>(Editor, "Statistics1").Click();
            Dialogs.Answer(mrYes);
            Named<TMenuItem>(Editor, "miClose").Click();
        });
        Named<TToolButton>(Expert, "sbCaptions").Click();
        EXPECT_GT(listsTranslated, 0) << FormName;
        EXPECT_EQ(Dialogs.PendingAnswers(), 0) << FormName;
    }
    void SaveProjectTranslations(TForm& Expert, const AnsiString& FileName) {
        Dialogs.AnswerFile(FileName);
        if (AnsiUpperCase(ExtractFileExt(FileName)) != ".ZXB")
            Dialogs.AnswerInput(Delimiter);
        Named<TToolButton>(Expert, "sbSaveAll").Click();
        EXPECT_EQ(Dialogs.PendingAnswers(), 0) << FileName;
        EXPECT_TRUE(FileExists(FileName)) << FileName;
    }
    // Every text shown and every identifier's text in each language.
    void CheckEveryLanguage(TzxLangDispatcher& Dispatcher, const std::vector<TComponent*>& Roots,
                            const TShownTexts& First, const std::string& Where) {
        TzxCustomLang* main = LangOf(Roots[1]);
        for (Integer language : {2, 3, 1}) {
            Dispatcher.SetActiveLanguage(language);
            const TShownTexts shown = ShownTexts(Roots);
            ASSERT_EQ(shown.size(), First.size()) << Where;
            for (const auto& [control, text] : First)
                EXPECT_EQ(shown.at(control), Translated(text, language)) << Where << " " << control;
            for (const auto& [id, text] : Literals)
                EXPECT_EQ(UTF8Encode(main->GetTextOrDefault(UTF8Decode(id))), Translated(text, language))
                    << Where << " " << id;
        }
    }
    // The identifiers of the main unit's converted literals, with the text.
    std::map<AnsiString, AnsiString> Literals;
};

} // namespace

TEST_F(ZxideWorkflow, ATranslatedProjectShowsEveryTypedTextInTheRuntimeProgram) {
    OpenExample();
    TriggerItem("&Tools", "TzxLang &CLX Expert");
    Application->ProcessMessages();
    TForm& expert = ExpertWindow();
    RunWizard(expert);
    ConvertMainUnit(expert);
    for (const char* form : {"MainForm", "OrdersForm", "DataModule1"})
        TranslateForm(expert, form);
    Shot(expert, "expert.png");
    SaveProjectTranslations(expert, Dir.File("Example.zxl"));
    SaveProjectTranslations(expert, Dir.File("Example.ZXB"));
    TriggerItem("&File", "Save A&ll");
    EXPECT_FALSE(Host->FindModule(Dir.File("Main.pas"))->GetModified());
    // The package goes with the host, so that the runtime's own classes read
    // the forms.
    CloseHost();

    // The program: the runtime's classes and the example's forms.
    RegisterClxClasses();
    InitZxLangRuntime();
    RegisterClasses({TDataModule1::StaticClass(), TMainForm::StaticClass(), TOrdersForm::StaticClass()});
    RegisterMethod("OrdersButtonClick", &TMainForm::OrdersButtonClick);
    std::vector<TComponent*> roots = {NewForm<TDataModule1>(Application), NewForm<TMainForm>(Application),
                                      NewForm<TOrdersForm>(Application)};
    auto* dispatcher = dynamic_cast<TzxLangDispatcher*>(roots[0]->FindComponent("zxLangDispatcher1"));
    ASSERT_NE(dispatcher, nullptr);
    EXPECT_EQ(dispatcher->LangNames()->Text(), "English\nDeutsch\nSuomi\n");
    for (TComponent* root : {roots[1], roots[2]})
        EXPECT_EQ(dynamic_cast<TzxLangLinked&>(*LangOf(root)).LangDispatcher(), dispatcher) << root->Name();
    const TShownTexts first = ShownTexts(roots);
    for (const char* shown : {"MainForm.MainForm.Caption", "MainForm.OrdersButton.Caption",
                              "OrdersForm.CustomerLabel.Caption", "DataModule1.RefreshAction.Hint"})
        EXPECT_TRUE(first.count(shown)) << shown;
    CheckEveryLanguage(*dispatcher, roots, first, "form files");

    // The translation file alone gives the same texts.
    for (TComponent* root : roots)
        LangOf(root)->ForEachKeptList([](TStringsType, TStrings& List) { List.Clear(); });
    dispatcher->LoadAllFromFile(UTF8Decode(Dir.File("Example.zxl")));
    CheckEveryLanguage(*dispatcher, roots, first, ".zxl");
    for (TComponent* root : roots) {
        LangOf(root)->ForEachKeptList([](TStringsType, TStrings& List) { List.Clear(); });
        LangOf(root)->LoadAllFromBinaryFile(Dir.File("Example.ZXB"));
    }
    CheckEveryLanguage(*dispatcher, roots, first, ".ZXB");
    for (TComponent* root : roots)
        delete root;
}
