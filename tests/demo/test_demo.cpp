// The demo application end to end: its shipped files load and save
// unchanged and are what the translation table makes; every form renders
// in every language; after each switch every control shows the text of
// that language, read back through the components.
#include "DemoApp.h"
#include "DemoTranslations.h"

#include "TestSupport.h"

#include "clx/Dialogs.h"
#include "rtl/Filer.h"

#include <QtGui/QImage>
#include <QtWidgets/QLabel>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
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

// ---------------------------------------------------------------------------
// The shipped files

// The shipped files, read in order.
std::vector<std::unique_ptr<TComponent>> LoadShippedFiles() {
    std::vector<std::unique_ptr<TComponent>> forms;
    for (const AnsiString& name : DemoFormFiles())
        forms.push_back(LoadDemoFormFile(ShippedDir + name));
    return forms;
}

TEST(DemoFiles, EachFormFileSavesByteIdenticalAfterLoading) {
    zxtest::TTempDir directory;
    std::vector<std::unique_ptr<TComponent>> forms = LoadShippedFiles();
    for (std::size_t index = 0; index < forms.size(); ++index) {
        const AnsiString& name = DemoFormFiles()[index];
        SaveComponentToTextFile(directory.File(name), forms[index].get());
        EXPECT_EQ(FileBytes(directory.File(name)), FileBytes(ShippedDir + name)) << name;
    }
}

TEST(DemoFiles, TheTranslationTableMakesTheShippedFiles) {
    zxtest::TTempDir directory;
    WriteDemoFiles(ShippedDir, directory.Path());
    for (const AnsiString& name : DemoFormFiles())
        EXPECT_EQ(FileBytes(directory.File(name)), FileBytes(ShippedDir + name))
            << name << " is out of date: run zxdemo_make_files apps/demo/forms";
}

TEST(DemoFiles, TheMainFormCarriesEveryLanguageInItsFormFile) {
    std::vector<std::unique_ptr<TComponent>> forms = LoadShippedFiles();
    ASSERT_EQ(forms[0]->Name(), "MainForm");
    TzxCustomLang* lang = TranslationComponentOf(forms[0].get());
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(lang->NumOfLanguages(), 3);
    EXPECT_EQ(lang->LangNames()->CommaText(), "English,Deutsch,Русский");
    EXPECT_EQ(lang->GetStringValue(*lang->Captions(), u"AboutButton", 2), u"&Info...");
    EXPECT_EQ(lang->GetStringValue(*lang->CharSets(), u"TMainForm", 3), u"RUSSIAN_CHARSET");
}

// Every text the component collects from the main form has its
// translations: nothing the user reads stays English.
TEST(DemoFiles, EveryTextTheMainFormShowsIsTranslated) {
    std::vector<std::unique_ptr<TComponent>> forms = LoadShippedFiles();
    TzxCustomLang* lang = TranslationComponentOf(forms[0].get());
    ASSERT_NE(lang, nullptr);
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
                    << UTF8Encode(IniNames[static_cast<std::size_t>(kind)]) << " "
                    << GetLineField(text, 0, delim) << " has no text in language " << language;
        }
    }
    EXPECT_GE(texts, Integer(MainFormTexts().size()));
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
    void TearDown() override {
        Demo.reset();
        Application->ProcessMessages();
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
            return GetStrProp(component(key), "Caption");
        case stHints:
            return GetStrProp(component(key), "Hint");
        case stDisplayLabels:
            return GetStrProp(component(key), "DisplayLabel");
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

    bool ShowsItself(const TDemoText& Text) {
        return Text.Kind != stStrings && Text.Kind != stDlgsCaptions && Text.Kind != stLocales;
    }

    void ExpectTextsOf(TForm* Form, std::span<const TDemoText> Texts, Integer Language) {
        for (const TDemoText& text : Texts) {
            if (ShowsItself(text)) {
                EXPECT_EQ(ShownText(Form, text), text.Values[Language - 1])
                    << Form->Name() << " " << text.Key << " in language " << Language;
            }
        }
    }

    std::unique_ptr<TDemoApplication> Demo;
    TMainForm* Main = nullptr;
};

TEST_F(DemoApplication, EveryControlShowsTheTextsOfEachLanguage) {
    for (Integer language : {2, 3, 1}) {
        Demo->SwitchLanguage(language);
        ExpectTextsOf(Main, MainFormTexts(), language);
    }
}

TEST_F(DemoApplication, SwitchingToGermanChangesWhatTheUserReads) {
    Demo->SwitchLanguage(2);
    EXPECT_EQ(Main->Caption(), "TzxLang-Demo: Bestellungen");
    EXPECT_EQ(Main->OrdersList->Columns()->Items(0)->DisplayName(), "Bestellung");
    EXPECT_EQ(static_cast<TListColumn*>(Main->OrdersList->Columns()->Items(0))->Width(), 95)
        << "an extended translation widens the column for the longer title";
    EXPECT_EQ(Main->ShippingCombo->Items()->Get(2), "Abholung");
    EXPECT_EQ(Main->ShippingCombo->ItemIndex(), 0) << "the choice stays";
    EXPECT_EQ(Main->FieldLabel->Caption(), "Kundenname:");
    EXPECT_EQ(Main->Font()->Charset(), ISO8859_15_CHARSET);
    // Program code formats the amounts and the date by the language's locale.
    EXPECT_EQ(Main->OrdersList->Items()->Item(0)->SubItems()->Get(1), "1.249,50");
    EXPECT_EQ(Main->StatusBar->Panels()->Items(0)->Text(), "4 Bestellungen, insgesamt 3.688,25");
    EXPECT_EQ(Main->StatusBar->Panels()->Items(1)->Text(), "Heute ist Dienstag, 8. Dezember 2026");

    Demo->SwitchLanguage(3);
    EXPECT_EQ(Main->StatusBar->Panels()->Items(2)->Text(), "Готово");
    EXPECT_EQ(Main->Font()->Charset(), RUSSIAN_CHARSET);
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

TEST_F(DemoApplication, TheLanguageMenuSwitchesAndIsCheckedForItsLanguage) {
    auto* germanItem = RequiredComponent<TMenuItem>(Main, "GermanItem");
    germanItem->Click();
    EXPECT_EQ(Main->Lang->ActiveLanguage(), 2);
    EXPECT_EQ(Main->Lang->Language(), u"Deutsch");
    EXPECT_EQ(Main->Caption(), "TzxLang-Demo: Bestellungen");
    EXPECT_FALSE(RequiredComponent<TMenuItem>(Main, "EnglishItem")->Checked());
    EXPECT_TRUE(germanItem->Checked());
    EXPECT_FALSE(RequiredComponent<TMenuItem>(Main, "RussianItem")->Checked());
    EXPECT_EQ(germanItem->Caption(), "Deutsch") << "each language keeps its own name";
}

TEST_F(DemoApplication, AboutSpeaksTheActiveLanguage) {
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    Demo->SwitchLanguage(2);
    dialogs.Answer(mrOk);
    RequiredComponent<TButton>(Main, "AboutButton")->Click();
    const TDialogRecord& box = dialogs.LastRequest();
    EXPECT_EQ(box.Caption, "Information");
    EXPECT_EQ(box.Text, "Jeder Text dieser Anwendung stammt aus ihren Formulardateien, ihrer "
                        "Übersetzungsdatei oder ihrer Stringtabelle.");
    EXPECT_EQ(box.ButtonCaptions, std::vector<AnsiString>{"OK"});
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

} // namespace
