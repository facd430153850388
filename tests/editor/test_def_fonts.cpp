// The default fonts per language: their settings file, what a damaged one
// gives, a failing write at shut-down, and the "Default Fonts" dialog
// driven through its controls.
#include "EditorTestSupport.h"

#include "editor/Q_deffonts.h"

#include "runtime/DOriDaz.h"

#include <QtWidgets/QComboBox>

#include <fstream>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

const char* const Section = "\\Software\\Talvenko\\TzxLang\\EditorForm";

AnsiString FontsFile() {
    return TEditorEnvironment::SettingsDir().File("TDefFontsList.ini");
}

void WriteFontsFile(const std::string& Text) {
    std::ofstream(FontsFile()) << "[" << Section << "]\n" << Text;
}

class DefFonts : public testing::Test {
protected:
    void SetUp() override { std::remove(FontsFile().c_str()); }
};

TEST_F(DefFonts, TheSettingsFileRoundTripsTheListWithItsKeysAndLosesStaleEntries) {
    {
        TDefFontsList list;
        for (const char* name : {"A", "B", "C", "D", "E"})
            list.AddDefFontItem(name, "DejaVu Sans", GREEK_CHARSET);
    }
    {
        TDefFontsList list;
        EXPECT_EQ(list.Count(), 5);
        EXPECT_FALSE(list.Modified());
        list.Clear();
        list.AddDefFontItem("Russian", "DejaVu Serif", RUSSIAN_CHARSET);
        list.AddDefFontItem(AnsiString(40, 'x'), "Noto Mono", UNICODE_CHARSET);
    }
    TMemIniFile file(FontsFile());
    EXPECT_EQ(file.ReadInteger(Section, "FontInfoCount", -1), 2);
    EXPECT_EQ(file.ReadString(Section, "FontInfoLang0", ""), "Russian");
    EXPECT_EQ(file.ReadString(Section, "FontInfoFont0", ""), "DejaVu Serif");
    EXPECT_EQ(file.ReadInteger(Section, "FontInfoCharset0", -1), Integer(RUSSIAN_CHARSET));
    EXPECT_EQ(file.ReadString(Section, "FontInfoLang1", ""), AnsiString(32, 'x'));
    for (const char* stale : {"FontInfoLang2", "FontInfoFont3", "FontInfoCharset4"})
        EXPECT_FALSE(file.ValueExists(Section, stale)) << stale;

    TDefFontsList again;
    EXPECT_EQ(again.GetLangFontName("RUSSIAN"), "DejaVu Serif");
    EXPECT_EQ(again.GetLangCharset("russian"), RUSSIAN_CHARSET);
    EXPECT_EQ(again.GetLangFontName("Greek"), "");
    EXPECT_EQ(again.GetLangCharset("Greek"), UNICODE_CHARSET);
}

TEST_F(DefFonts, AnUnknownCharsetTakesTheDefaultAndAHugeCountStopsAtTheFirstMissingEntry) {
    WriteFontsFile("FontInfoCount=2000000000\n"
                   "FontInfoLang0=Russian\nFontInfoFont0=DejaVu Serif\nFontInfoCharset0=99\n"
                   "FontInfoLang1=Greek\nFontInfoFont1=DejaVu Sans\nFontInfoCharset1=-3\n");
    TDefFontsList list;
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetLangCharset("Russian"), UNICODE_CHARSET);
    EXPECT_EQ(list.GetLangCharset("Greek"), UNICODE_CHARSET);
    EXPECT_EQ(list.GetLangFontName("Greek"), "DejaVu Sans");
}

TEST_F(DefFonts, AFailedWriteAtShutDownIsReportedAndNotThrown) {
    const AnsiString exeName = Application->ExeName();
    Application->SetExeName("/nonexistent-directory/zxeditor_test");
    std::vector<AnsiString> reports;
    TApplicationHandleException previous = ApplicationHandleException;
    ApplicationHandleException = [&](TObject*) { reports.push_back("report"); };
    auto* list = new TDefFontsList;
    list->AddDefFontItem("Russian", "DejaVu Serif", RUSSIAN_CHARSET);
    EXPECT_NO_THROW(delete list);
    ApplicationHandleException = previous;
    Application->SetExeName(exeName);
    EXPECT_FALSE(reports.empty());
}

// The dialog through its controls: the user's picks in the combo boxes.
void Pick(TComboBox& Combo, const AnsiString& Text) {
    auto* box = qobject_cast<QComboBox*>(Combo.Handle());
    const int index = Combo.Items()->IndexOf(Text);
    ASSERT_GE(index, 0) << Text;
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

TEST_F(DefFonts, TheDialogAddsOnlyNewLanguagesAndReplacesFontsOfSeveralRowsOnOK) {
    TDefFontsList list;
    list.AddDefFontItem("Russian", "DejaVu Serif", RUSSIAN_CHARSET);
    list.AddDefFontItem("Greek", "DejaVu Sans", GREEK_CHARSET);
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    dialogs.AnswerModal(mrOk, [&](TCustomForm& Form) {
        auto& dialog = dynamic_cast<TfrmDefFonts&>(Form);
        dialog.edLanguage->SetText("GREEK");
        Pick(*dialog.cbFontName, Screen->Fonts()->Get(0));
        Pick(*dialog.cbCharset, "GREEK_CHARSET");
        EXPECT_FALSE(dialog.btnAdd->Enabled());
        dialog.edLanguage->SetText("Hebrew");
        ASSERT_TRUE(dialog.btnAdd->Enabled());
        dialog.btnAdd->Click();
        EXPECT_FALSE(dialog.btnAdd->Enabled());

        dialog.ListView1->Items()->Item(0)->SetSelected(true);
        dialog.ListView1->Items()->Item(1)->SetSelected(true);
        EXPECT_EQ(dialog.edLanguage->Text(), "<multiple values>");
        EXPECT_FALSE(dialog.edLanguage->Enabled());
        Pick(*dialog.cbFontName, "DejaVu Sans Mono");
        dialog.btnReplace->Click();
    });
    EXPECT_EQ(DefFontsDlg(&list), mrOk);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0)->LangName, "Russian");
    EXPECT_EQ(list.Items(0)->FontName, "DejaVu Sans Mono");
    EXPECT_EQ(list.Items(0)->Charset, RUSSIAN_CHARSET);
    EXPECT_EQ(list.Items(1)->FontName, "DejaVu Sans Mono");
    EXPECT_EQ(list.Items(2)->LangName, "Hebrew");
    EXPECT_EQ(list.Items(2)->Charset, GREEK_CHARSET);

    dialogs.AnswerModal(mrCancel, [&](TCustomForm& Form) {
        auto& dialog = dynamic_cast<TfrmDefFonts&>(Form);
        dialogs.Answer(mrYes);
        dialog.btnClear->Click();
        EXPECT_EQ(dialog.ListView1->Items()->Count(), 0);
    });
    EXPECT_EQ(DefFontsDlg(&list), mrCancel);
    EXPECT_EQ(list.Count(), 3);
}

} // namespace
