// The demo application end to end: its shipped files load and save
// unchanged and are what the translation table makes; every form renders
// in every language; after each switch every control shows the text of
// that language, read back through the components.
#include "DemoApp.h"
#include "DemoTranslations.h"

#include "../editor/EditorTestSupport.h"
#include "TestSupport.h"

#include "clx/Dialogs.h"
#include "rtl/Filer.h"

#include <QtGui/QImage>
#include <QtWidgets/QLabel>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const AnsiString ShippedDir = AnsiString(ZX_DEMO_FORMS_DIR) + "/";

// One QApplication for the program; settings files go to a directory of
// the test's own.
class TDemoEnvironment : public testing::Environment {
public:
    void SetUp() override {
        RegisterDemoClasses();
        Application->Initialize();
        Application->SetExeName(FSettingsDir.File("zxdemo"));
        SetDemoFilesDir(ShippedDir);
    }
    void TearDown() override { DoneApplication(); }

private:
    zxtest::TTempDir FSettingsDir;
};

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TDemoEnvironment);

std::string FileBytes(const AnsiString& FileName) {
    std::ifstream file(FileName, std::ios::binary);
    EXPECT_TRUE(file) << FileName;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The value of Key (of Kind) in Language, from a translation table.
AnsiString TableText(std::span<const TDemoText> Texts, TStringsType Kind, const AnsiString& Key,
                     Integer Language) {
    for (const TDemoText& text : Texts)
        if (text.Kind == Kind && Key == text.Key)
            return text.Values[static_cast<std::size_t>(Language - 1)];
    ADD_FAILURE() << "the table has no " << Key;
    return "";
}

// ---------------------------------------------------------------------------
// The shipped files

const AnsiString ShippedTranslationFile = ShippedDir + "demo.zxl";

std::vector<std::unique_ptr<TComponent>> LoadShippedFiles() {
    return LoadDemoFormFiles(ShippedDir);
}

// The forms are read as files below: their components load the translation
// file with LoadAllFromFileDNC, which applies no language, so no program
// code runs.

TEST(DemoFiles, EachFormFileAndTheTranslationFileSaveByteIdenticalAfterLoading) {
    zxtest::TTempDir directory;
    std::vector<std::unique_ptr<TComponent>> files = LoadShippedFiles();
    for (std::size_t index = 0; index < files.size(); ++index) {
        const AnsiString& name = DemoFormFiles()[index];
        SaveComponentToTextFile(directory.File(name), files[index].get());
        EXPECT_EQ(FileBytes(directory.File(name)), FileBytes(ShippedDir + name)) << name;
    }
    for (TzxCustomLang* lang : DemoFormComponents(files))
        lang->LoadAllFromFileDNC(UTF8Decode(ShippedTranslationFile), true);
    SaveDemoTranslationFile(directory.File("demo.zxl"), DemoFormComponents(files));
    EXPECT_EQ(FileBytes(directory.File("demo.zxl")), FileBytes(ShippedTranslationFile));
}

TEST(DemoFiles, TheTranslationTableMakesTheShippedFiles) {
    zxtest::TTempDir directory;
    WriteDemoFiles(ShippedDir, directory.Path());
    std::vector<AnsiString> names = DemoFormFiles();
    names.push_back("demo.zxl");
    for (const AnsiString& name : names)
        EXPECT_EQ(FileBytes(directory.File(name)), FileBytes(ShippedDir + name))
            << name << " is out of date: run zxdemo_make_files apps/demo/forms";
}

TEST(DemoFiles, TheDispatcherNamesTheTranslationFileBesideTheForms) {
    std::vector<std::unique_ptr<TComponent>> files = LoadShippedFiles();
    TzxLangDispatcher& dispatcher = DemoDispatcherOf(files);
    EXPECT_EQ(dispatcher.FileName(), "demo.zxl");
    EXPECT_EQ(dispatcher.LangNames()->CommaText(), "English,Deutsch,Русский");
    for (TzxCustomLang* lang : DemoFormComponents(files))
        EXPECT_EQ(lang->LangDispatcher(), &dispatcher) << lang->Owner()->Name();
    auto* orders = dynamic_cast<TzxLangLinked*>(DemoFormComponents(files)[1]);
    ASSERT_NE(orders, nullptr);
    EXPECT_EQ(orders->CommonContainer(), DemoFormComponents(files)[0]);
}

// The order form's file keeps its texts in English only: its translations
// travel in the translation file, which holds the main form's too.
TEST(DemoFiles, TheOrderFormIsTranslatedByTheTranslationFileAlone) {
    std::vector<std::unique_ptr<TComponent>> files = LoadShippedFiles();
    TzxCustomLang& orders = *DemoFormComponents(files)[1];
    EXPECT_EQ(orders.Captions()->Count(), 0);
    orders.LoadAllFromFileDNC(UTF8Decode(ShippedTranslationFile), true);
    EXPECT_EQ(orders.GetStringValue(*orders.Captions(), u"DeleteButton", 2),
              u"Bestellung &löschen");
    EXPECT_EQ(orders.GetStringValue(*orders.Strings(), u"SDeleteOrder", 3), u"Удалить заказ %s?");
    EXPECT_EQ(orders.Captions()->Count(), 7) << "no line of the main form";
    EXPECT_EQ(orders.GetStringValue(*orders.Collections(), u"LinesList.Columns[1].Caption", 3),
              u"Количество");
}

TEST(DemoFiles, TheMainFormCarriesEveryLanguageInItsFormFile) {
    std::vector<std::unique_ptr<TComponent>> forms = LoadShippedFiles();
    ASSERT_EQ(forms[1]->Name(), "MainForm");
    TzxCustomLang* lang = TranslationComponentOf(forms[1].get());
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(lang->NumOfLanguages(), 3);
    EXPECT_EQ(lang->LangNames()->CommaText(), "English,Deutsch,Русский");
    EXPECT_EQ(lang->GetStringValue(*lang->Captions(), u"AboutButton", 2), u"&Info...");
    EXPECT_EQ(lang->GetStringValue(*lang->CharSets(), u"TMainForm", 3), u"RUSSIAN_CHARSET");
}

// Every text a component collects from its form has its translations once
// the translation file is read: nothing the user reads stays English.
TEST(DemoFiles, EveryTextEachFormShowsIsTranslated) {
    std::vector<std::unique_ptr<TComponent>> files = LoadShippedFiles();
    const std::vector<std::span<const TDemoText>> tables = {MainFormTexts(), OrdersFormTexts()};
    for (std::size_t form = 0; form < tables.size(); ++form) {
        TzxCustomLang* lang = DemoFormComponents(files)[form];
        lang->LoadAllFromFileDNC(UTF8Decode(ShippedTranslationFile), true);
        lang->BuildList();
        const char delim = static_cast<char>(lang->LangDelim());
        Integer texts = 0;
        for (Integer kind = 0; kind < StringsTypeCount; ++kind) {
            TStrings* list = lang->GetPropListByType(static_cast<TStringsType>(kind));
            for (Integer line = 0; list && line < list->Count(); ++line) {
                const AnsiString text = list->Get(line);
                if (GetLineField(text, 1, delim).empty())
                    continue;
                ++texts;
                for (Integer language = 2; language <= DemoLanguageCount; ++language)
                    EXPECT_FALSE(GetLineField(text, language, delim).empty())
                        << lang->Owner()->Name() << " "
                        << UTF8Encode(IniNames[static_cast<std::size_t>(kind)]) << " "
                        << GetLineField(text, 0, delim) << " has no text in language "
                        << language;
            }
        }
        EXPECT_EQ(texts, Integer(tables[form].size())) << lang->Owner()->Name();
    }
}

// ---------------------------------------------------------------------------
// The running application

class DemoApplication : public testing::Test {
protected:
    void SetUp() override {
        Demo = std::make_unique<TDemoApplication>();
        Main = Demo->MainForm();
        Main->SetShownDate(EncodeDate(2026, 12, 8));
    }
    // Each test starts from the shipped translations: the user's copy of
    // the translation file goes.
    void TearDown() override {
        Demo.reset();
        Application->ProcessMessages();
        DeleteFile(ExtractFilePath(Application->ExeName()) + "demo.zxl");
    }

    // The text a translation line of Form's component stands for, as the
    // form shows it now.
    AnsiString ShownText(TForm* Form, const TDemoText& Text) {
        AnsiString key = Text.Key;
        auto component = [&](const AnsiString& Name) -> TObject* {
            if (Name == Form->ClassName())
                return Form;
            TComponent* found = Form->FindComponent(Name);
            EXPECT_NE(found, nullptr) << Name;
            return found;
        };
        AnsiString name = key.substr(0, key.find('.'));
        AnsiString path = key.find('.') == AnsiString::npos ? "" : key.substr(key.find('.') + 1);
        switch (Text.Kind) {
        case stCaptions:
        case stHints:
        case stDisplayLabels:
            return GetStrProp(component(key), Text.Kind == stCaptions ? "Caption"
                                              : Text.Kind == stHints  ? "Hint"
                                                                      : "DisplayLabel");
        case stFonts:
            return Form->Font()->Name();
        case stCharSets:
            return GetEnumName(TypeInfoOf(TFontCharSet{}), Form->Font()->Charset());
        case stMultiLines:
            return dynamic_cast<TStrings*>(GetObjectProp(component(name), path))->CommaText();
        case stOtherStrings:
            return GetStrProp(component(name), path);
        case stCollections: {
            std::size_t open = path.find('['), close = path.find(']');
            auto* collection =
                dynamic_cast<TCollection*>(GetObjectProp(component(name), path.substr(0, open)));
            Integer index = StrToInt(path.substr(open + 1, close - open - 1));
            return GetStrProp(collection->Items(index), path.substr(close + 2));
        }
        default:
            ADD_FAILURE() << "no reading for " << key;
            return "";
        }
    }

    // Every text of the table a control shows itself (not the program's
    // strings, dialog texts and locale settings).
    void ExpectTextsOf(TForm* Form, std::span<const TDemoText> Texts, Integer Language) {
        for (const TDemoText& text : Texts)
            if (text.Kind != stStrings && text.Kind != stDlgsCaptions && text.Kind != stLocales) {
                EXPECT_EQ(ShownText(Form, text), text.Values[Language - 1])
                    << Form->Name() << " " << text.Key << " in language " << Language;
            }
    }

    std::unique_ptr<TDemoApplication> Demo;
    TMainForm* Main = nullptr;
};

TEST_F(DemoApplication, EveryControlShowsTheTextsOfEachLanguage) {
    for (Integer language : {2, 3, 1}) {
        Demo->SwitchLanguage(language);
        ExpectTextsOf(Main, MainFormTexts(), language);
        ExpectTextsOf(Demo->OrdersForm(), OrdersFormTexts(), language);
    }
}

// What program code and extended translations make of a switch; the texts
// of the table are checked above.
TEST_F(DemoApplication, SwitchingToGermanChangesWhatTheUserReads) {
    Demo->SwitchLanguage(2);
    EXPECT_EQ(static_cast<TListColumn*>(Main->OrdersList->Columns()->Items(0))->Width(), 95)
        << "an extended translation widens the column for the longer title";
    EXPECT_EQ(Main->ShippingCombo->ItemIndex(), 0) << "the choice stays";
    EXPECT_EQ(Main->FieldLabel->Caption(), "Kundenname:");
    // Program code formats the amounts and the date by the language's locale.
    EXPECT_EQ(Main->OrdersList->Items()->Item(0)->SubItems()->Get(1), "1.249,50");
    EXPECT_EQ(Main->StatusBar->Panels()->Items(0)->Text(), "4 Bestellungen, insgesamt 3.688,25");
    EXPECT_EQ(Main->StatusBar->Panels()->Items(1)->Text(), "Heute ist Dienstag, 8. Dezember 2026");

    Demo->SwitchLanguage(3);
    EXPECT_EQ(Main->OrdersList->Items()->Item(3)->SubItems()->Get(1), "2 040,00");
    EXPECT_EQ(Main->StatusBar->Panels()->Items(0)->Text(), "Заказов: 4, на сумму 3 688,25");
    EXPECT_EQ(Main->StatusBar->Panels()->Items(1)->Text(), "Сегодня вторник, 8 декабря 2026");

    Demo->SwitchLanguage(1);
    EXPECT_EQ(Main->StatusBar->Panels()->Items(0)->Text(), "4 orders, 3,688.25 in total");
    EXPECT_EQ(Main->StatusBar->Panels()->Items(1)->Text(), "Today is Tuesday, December 8, 2026");
    EXPECT_EQ(Main->OrdersList->Items()->Item(0)->SubItems()->Get(1), "1,249.50");
}

TEST_F(DemoApplication, TheCustomerLabelKeepsItsAccessKeyInEveryLanguage) {
    Main->Show();
    Application->ProcessMessages();
    auto* nameLabel = static_cast<QLabel*>(RequiredComponent<TLabel>(Main, "NameLabel")->Handle());
    const std::pair<Integer, const char*> shown[] = {{2, "&Kunde:"}, {3, "&Клиент:"}};
    for (const auto& [language, text] : shown) {
        Demo->SwitchLanguage(language);
        EXPECT_EQ(nameLabel->buddy(), Main->NameEdit->Handle());
        EXPECT_EQ(nameLabel->text().toStdString(), text);
    }
}

TEST_F(DemoApplication, BothFormsReadTheDispatchersTranslationFileWhenTheyLink) {
    TzxLangDispatcher* dispatcher = Demo->Data()->LangDispatcher;
    // The user's copy beside the program's settings, made from the shipped file.
    EXPECT_EQ(dispatcher->FileName(), ExtractFilePath(Application->ExeName()) + "demo.zxl");
    EXPECT_EQ(Main->Lang->StorageFile, dispatcher->FileName());
    EXPECT_EQ(FileBytes(dispatcher->FileName()), FileBytes(ShippedTranslationFile));
    ASSERT_EQ(dispatcher->GetZxLangsCount(), 2);
    EXPECT_EQ(dispatcher->GetZxLangs(0), Main->Lang);
    EXPECT_EQ(dispatcher->GetZxLangs(1), Demo->OrdersForm()->Lang);
    // Saving what both forms read gives the shipped file back.
    zxtest::TTempDir directory;
    SaveDemoTranslationFile(directory.File("demo.zxl"), {Main->Lang, Demo->OrdersForm()->Lang});
    EXPECT_EQ(FileBytes(directory.File("demo.zxl")), FileBytes(ShippedTranslationFile));
}

// Each form shows its caption in the language; the dispatcher names it.
void ExpectEveryFormIn(TDemoApplication& Demo, Integer Language) {
    EXPECT_EQ(Demo.Data()->LangDispatcher->ActiveLanguage(), Language);
    EXPECT_EQ(Demo.Data()->LangDispatcher->Language(),
              UTF8Decode(Demo.LanguageName(Language)));
    for (TForm* form : Demo.Forms())
        EXPECT_EQ(TranslationComponentOf(form)->ActiveLanguage(), Language) << form->Name();
    EXPECT_EQ(Demo.MainForm()->Caption(),
              TableText(MainFormTexts(), stCaptions, "TMainForm", Language));
    EXPECT_EQ(Demo.OrdersForm()->Caption(),
              TableText(OrdersFormTexts(), stCaptions, "TOrdersForm", Language));
}

TEST_F(DemoApplication, TheLanguageMenuSwitchesEveryFormAndIsCheckedForItsLanguage) {
    const char* const items[] = {"EnglishItem", "GermanItem", "RussianItem"};
    for (Integer language : {2, 3, 1}) {
        RequiredComponent<TMenuItem>(Main, items[language - 1])->Click();
        ExpectEveryFormIn(*Demo, language);
        EXPECT_EQ(Main->LanguageCombo->ItemIndex(), language - 1) << "the combo follows";
        Main->UpdateActions();
        for (Integer item = 1; item <= 3; ++item)
            EXPECT_EQ(RequiredComponent<TMenuItem>(Main, items[item - 1])->Checked(),
                      item == language)
                << items[item - 1] << " after switching to " << language;
    }
    EXPECT_EQ(RequiredComponent<TMenuItem>(Main, "GermanItem")->Caption(), "Deutsch")
        << "each language keeps its own name";
}

TEST_F(DemoApplication, ChoosingInTheComboSwitchesEveryForm) {
    ASSERT_EQ(Main->LanguageCombo->Items()->CommaText(), "English,Deutsch,Русский");
    EXPECT_EQ(Main->LanguageCombo->ItemIndex(), 0);
    ASSERT_TRUE(Main->LanguageCombo->OnChange) << "the form file names the handler";
    for (Integer language : {3, 2, 1}) {
        Main->LanguageCombo->SetItemIndex(language - 1);
        Main->LanguageCombo->OnChange(Main->LanguageCombo);
        ExpectEveryFormIn(*Demo, language);
    }
}

TEST_F(DemoApplication, HoveringAControlShowsItsHintInTheActiveLanguage) {
    Main->Show();
    Demo->OrdersForm()->Show();
    Application->ProcessMessages();
    for (Integer language : {2, 3, 1}) {
        Demo->SwitchLanguage(language);
        for (auto [form, texts] : {std::pair<TForm*, std::span<const TDemoText>>{Main, MainFormTexts()},
                                   {Demo->OrdersForm(), OrdersFormTexts()}})
            for (const TDemoText& text : texts) {
                if (text.Kind != stHints)
                    continue;
                auto* control = RequiredComponent<TControl>(form, text.Key);
                EXPECT_EQ(static_cast<QWidget*>(control->Handle())->toolTip().toStdString(),
                          text.Values[language - 1])
                    << text.Key << " in language " << language;
            }
    }
}

TEST_F(DemoApplication, AboutSpeaksTheActiveLanguage) {
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    for (Integer language : {2, 3, 1}) {
        Demo->SwitchLanguage(language);
        dialogs.Answer(mrOk);
        RequiredComponent<TButton>(Main, "AboutButton")->Click();
        const TDialogRecord& box = dialogs.LastRequest();
        EXPECT_EQ(box.Caption, TableText(MainFormTexts(), stDlgsCaptions, "Information", language));
        EXPECT_EQ(box.Text, TableText(MainFormTexts(), stStrings, "SAboutText", language));
        EXPECT_EQ(box.ButtonCaptions,
                  std::vector<AnsiString>{TableText(MainFormTexts(), stDlgsCaptions, "OK",
                                                    language)});
    }
    EXPECT_EQ(dialogs.Requests()[1].ButtonCaptions, std::vector<AnsiString>{"ОК"})
        << "Cyrillic letters, not Latin ones";
}

// The order form's question comes from the translation file, its caption and
// buttons from the main form's component.
TEST_F(DemoApplication, DeletingAnOrderAsksInTheActiveLanguage) {
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    TOrdersForm* orders = Demo->OrdersForm();
    const std::pair<Integer, const char*> questions[] = {
        {1, "Delete order 1001?"}, {2, "Bestellung 1001 löschen?"}, {3, "Удалить заказ 1001?"}};
    for (const auto& [language, question] : questions) {
        Demo->SwitchLanguage(language);
        dialogs.Answer(mrNo);
        RequiredComponent<TButton>(orders, "DeleteButton")->Click();
        const TDialogRecord& box = dialogs.LastRequest();
        EXPECT_EQ(box.Caption, TableText(MainFormTexts(), stDlgsCaptions, "Confirm", language));
        EXPECT_EQ(box.Text, question);
        EXPECT_EQ(box.ButtonCaptions,
                  (std::vector<AnsiString>{
                      TableText(MainFormTexts(), stDlgsCaptions, "Yes", language),
                      TableText(MainFormTexts(), stDlgsCaptions, "No", language)}));
        EXPECT_EQ(box.DefaultButton, mbNo);
        EXPECT_EQ(orders->OrderEdit->Text(), "1001") << "No keeps the order";
        EXPECT_EQ(orders->LinesList->Items()->Count(), Integer(DemoOrderLines().size()));
    }

    dialogs.Answer(mrYes);
    RequiredComponent<TButton>(orders, "DeleteButton")->Click();
    EXPECT_EQ(orders->OrderEdit->Text(), "");
    EXPECT_EQ(orders->CustomerEdit->Text(), "");
    EXPECT_EQ(orders->LinesList->Items()->Count(), 0);
}

TEST_F(DemoApplication, ScreenshotsShowEveryFormInEveryLanguage) {
    const std::string dir = zxtest::TestOutputDir() + "/demo";
    std::filesystem::remove_all(dir);
    std::vector<TSwitchRecord> records = Demo->WriteScreenshots(dir);
    const std::size_t forms = Demo->Forms().size();
    ASSERT_EQ(records.size(), forms * 3);
    for (std::size_t form = 0; form < forms; ++form) {
        std::vector<QImage> pictures;
        for (std::size_t language = 0; language < 3; ++language) {
            const TSwitchRecord& record = records[language * forms + form];
            EXPECT_EQ(record.Language, Demo->LanguageName(Integer(language) + 1));
            EXPECT_GT(record.Texts, 0) << record.Form;
            EXPECT_TRUE(std::filesystem::exists(record.Picture)) << record.Picture;
            pictures.emplace_back(QString::fromStdString(record.Picture));
            ASSERT_FALSE(pictures.back().isNull()) << record.Picture;
        }
        EXPECT_NE(pictures[0], pictures[1]) << records[form].Form;
        EXPECT_NE(pictures[1], pictures[2]) << records[form].Form;
        EXPECT_NE(pictures[0], pictures[2]) << records[form].Form;
    }
    EXPECT_EQ(Main->Lang->ActiveLanguage(), 3) << "the last language stays";
}

TEST_F(DemoApplication, TheTableListsEachFormAndLanguage) {
    std::vector<TSwitchRecord> records = {{"MainForm", "Deutsch", 42, 1.5, "MainForm-2.png"}};
    std::ostringstream table;
    PrintSwitchTable(table, records);
    EXPECT_EQ(table.str(), "form        language     texts   switch (ms)\n"
                           "MainForm    Deutsch         42         1.500\n");
}

// The user corrects a caption in the Translation Editor of the File menu:
// the form shows it at once and again after a restart, from the user's copy
// of the translation file; the shipped file stays as it was.
TEST_F(DemoApplication, ACaptionCorrectedInTheTranslationEditorShowsAndSurvivesARestart) {
    const std::string shipped = FileBytes(ShippedTranslationFile);
    const AnsiString corrected = "&Orders and invoices...";
    TScriptedDialogService dialogs;
    {
        TDialogServiceGuard guard(dialogs);
        dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
            auto& editor = dynamic_cast<TzxTransEditFrm&>(Form);
            zxtest::SelectNode(editor, "Captions");
            const std::vector<AnsiString> keys = zxtest::ColumnOf(*editor.Grid1);
            const auto row = std::find(keys.begin(), keys.end(), "OrdersButton") - keys.begin() + 1;
            zxtest::EditCell(*editor.Grid1, 1, static_cast<Integer>(row), corrected);
            for (auto [widget, name] : {std::pair{Main->Handle(), "/demo_main_form.png"},
                                        std::pair{editor.Handle(), "/demo_translation_editor.png"}})
                EXPECT_TRUE(
                    widget->grab().save(QString::fromStdString(zxtest::TestOutputDir() + name)));
            dialogs.Answer(mrYes);
            zxtest::ClickItem(editor, "miClose");
        });
        zxtest::ClickItem(*Main, "TranslateItem");
    }
    EXPECT_EQ(dialogs.PendingAnswers(), 0);
    EXPECT_EQ(GetStrProp(Main->FindComponent("OrdersButton"), "Caption"), corrected);
    EXPECT_EQ(FileBytes(ShippedTranslationFile), shipped);

    Demo.reset();
    Demo = std::make_unique<TDemoApplication>();
    Main = Demo->MainForm();
    EXPECT_EQ(GetStrProp(Main->FindComponent("OrdersButton"), "Caption"), corrected);
    EXPECT_EQ(GetStrProp(Main->FindComponent("AboutButton"), "Caption"), "&About...");
}

} // namespace
