// The Translation Editor's tools: the check of format strings, the Extended
// tab's rows, the language names dialog, the widths window beside an
// edited cell and the statistics, driven through their controls.
#include "EditorTestSupport.h"

#include "editor/Q_WidthsTooltip.h"
#include "editor/Q_langnames.h"
#include "editor/Q_splash.h"
#include "editor/Q_statistics.h"

#include "clx/StdCtrls.h"

#include <QtCore/QTimer>
#include <QtWidgets/QComboBox>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

TEST(FormatCheck, TheArgumentsMustComeInTheSameOrderWithTheSameConversions) {
    struct TCase {
        const char* Base;
        const char* Translation;
        bool Accepted;
    };
    const TCase cases[] = {
        {"Hello %s", "Bonjour %s", true},
        {"%d items", "%D Elemente", true},
        {"%s of %d", "%d von %s", false},
        {"%0:s of %1:d", "%1:d von %0:s", true},
        {"%s of %d", "%1:d von %0:s", true},
        {"%s", "%s %s", false},
        {"%s and %s", "%s", false},
        {"%5.2f", "%-8.3f", true},
        {"%*d", "%d", false},
        {"100%% of %s", "%s zu 100%%", true},
        {"100%%", "100%% %s", false},
        {"no specifiers", "keine", true},
        {"%s", "", true},
        {"", "%d", true},
        {"cut off %", "abgeschnitten %", true},
        {"cut off %", "%s", false},
    };
    for (const TCase& check : cases)
        EXPECT_EQ(CompareFormatSpecifiers(check.Base, check.Translation), check.Accepted)
            << check.Base << " / " << check.Translation;
}

using EditorTools = TDemoEditorTest;

TEST_F(EditorTools, TheCheckReportsARowTheFilterHidesAndAbortSelectsIt) {
    Edit(stStrings, {sfFull, sfSelected, sfDesignTime}, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        const Integer row = grid.RowCount() - 1;
        EditCell(grid, 1, row, "%s of %d");
        EditCell(grid, 2, row, "%d von %s");
        EditCell(grid, 3, row, "%s из %d");
        const AnsiString key = grid.Cells(0, row);
        ClickItem(Form, "miUntranslated");
        ASSERT_LT(RowOf(grid, key), 0);
        Dialogs.Answer(mrAbort);
        ClickItem(Form, "miCheckFmtStr");
        EXPECT_NE(Dialogs.LastRequest().Text.find(key), AnsiString::npos);
        EXPECT_EQ(grid.Cells(0, grid.Row()), key);
        EXPECT_EQ(grid.TopRow(), grid.Row());
        EditCell(grid, 2, grid.Row(), "%s von %d");
        Dialogs.Answer(mrOk);
        ClickItem(Form, "miCheckFmtStr");
        EXPECT_EQ(Dialogs.LastRequest().Text,
                  "Translation Editor has not found any problems in format strings.");
        CloseWith(Form, mrNo);
    });
}

TTreeNode* NodeAt(TTreeView& Tree, const AnsiString& Path) {
    for (TTreeNode* node = Tree.Items()->GetFirstNode(); node; node = node->GetNext()) {
        AnsiString path = node->Text();
        for (TTreeNode* parent = node->Parent(); parent; parent = parent->Parent())
            path = parent->Text() + "." + path;
        if (path == Path)
            return node;
    }
    return nullptr;
}

TEST_F(EditorTools, ExtendedRowsTakeTheValueInTheActiveLanguageAndGiveThePropertyBack) {
    Lang->SetActLang(2);
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        ChooseTab(*Form.tabsTranslations, 1);
        TTreeView& tree = *Form.tvExtended;
        TStringGrid& grid = *Form.Grid1;
        const std::pair<const char*, TTypeKind> properties[] = {
            {"NameLabel.Width", tkInteger},  {"NameLabel.Font.Name", tkLString},
            {"NameLabel.Font.Style", tkSet}, {"NameLabel.Alignment", tkEnumeration},
            {"NotesMemo.Lines", tkClass},
        };
        for (const auto& [path, kind] : properties) {
            TTreeNode* node = NodeAt(tree, path);
            ASSERT_NE(node, nullptr) << path;
            node->SetSelected(true);
            Execute(Form, "acAddRow");
            EXPECT_EQ(NodeAt(tree, path), nullptr) << path;
            const Integer row = RowOf(grid, path);
            ASSERT_GT(row, 0) << path;
            const AnsiString value = UTF8Encode(Lang->GetPropValueByPath(UTF8Decode(path)));
            EXPECT_EQ(grid.Cells(2, row), value) << path;
            EXPECT_EQ(grid.Cells(1, row) + grid.Cells(3, row), "") << path;
            TzxExtendedItem* item = Form.WorkingCopy()->ExtendedTranslations()->Find(path);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->PropertyType(), kind) << path;
            EXPECT_EQ(item->Values(), Line({"", value, ""})) << path;
        }
        EXPECT_TRUE(Form.Modified());
        // A property whose object is gone adds nothing and says why.
        void* leaf = NodeAt(tree, "NameLabel.Tag")->Data();
        tree.Items()
            ->AddChildObject(tree.Items()->AddChild(nullptr, "Gone"), "Caption", leaf)
            ->SetSelected(true);
        Dialogs.Answer(mrOk);
        Execute(Form, "acAddRow");
        EXPECT_NE(Dialogs.LastRequest().Text.find("Gone.Caption"), AnsiString::npos);
        EXPECT_LT(RowOf(grid, "Gone.Caption"), 0);
        // Under a filter that hides the form's own row before it, Remove
        // Row removes the row chosen and offers its property again.
        const AnsiString hidden = grid.Cells(0, 1);
        ClickItem(Form, "miIncomplete");
        ASSERT_LT(RowOf(grid, hidden), 0);
        grid.SetRow(RowOf(grid, "NameLabel.Font.Name"));
        Dialogs.Answer(mrYes);
        Execute(Form, "acRemoveRow");
        ClickItem(Form, "miAllEntries");
        EXPECT_LT(RowOf(grid, "NameLabel.Font.Name"), 0);
        EXPECT_GT(RowOf(grid, "NameLabel.Font.Style"), 0);
        EXPECT_GT(RowOf(grid, hidden), 0);
        EXPECT_EQ(Form.WorkingCopy()->ExtendedTranslations()->Find("NameLabel.Font.Name"), nullptr);
        TTreeNode* font = NodeAt(tree, "NameLabel.Font");
        ASSERT_NE(font, nullptr);
        for (Integer index = 1; index < font->Count(); ++index)
            EXPECT_LT(AnsiCompareText(font->Item(index - 1)->Text(), font->Item(index)->Text()), 0);
        EXPECT_NE(NodeAt(tree, "NameLabel.Font.Name"), nullptr);
        CloseWith(Form, mrNo);
    });
}

TEST_F(EditorTools, RemovingTheOnlyRowHidesTheGridAndTheFirstPropertyShowsIt) {
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        ChooseTab(*Form.tabsTranslations, 1);
        TStringGrid& grid = *Form.Grid1;
        ASSERT_EQ(grid.RowCount(), 2);
        const AnsiString only = grid.Cells(0, 1);
        grid.SetRow(1);
        Dialogs.Answer(mrYes);
        Execute(Form, "acRemoveRow");
        EXPECT_FALSE(grid.Visible());
        EXPECT_EQ(Form.WorkingCopy()->ExtendedTranslations()->Count(), 0);
        TTreeNode* node = NodeAt(*Form.tvExtended, only);
        ASSERT_NE(node, nullptr);
        node->SetSelected(true);
        Execute(Form, "acAddRow");
        EXPECT_TRUE(grid.Visible());
        EXPECT_EQ(ColumnOf(grid), std::vector<AnsiString>{only});
        CloseWith(Form, mrNo);
    });
}

TEST_F(EditorTools, FindAndAddByNameWalkTheTreeOnwardsWithoutWrapping) {
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        ChooseTab(*Form.tabsTranslations, 1);
        TTreeView& tree = *Form.tvExtended;
        Dialogs.AnswerInput("FONT");
        Execute(Form, "acExtendedFindByName");
        ASSERT_NE(tree.Selected(), nullptr);
        TTreeNode* first = tree.Selected();
        EXPECT_NE(AnsiLowerCase(first->Text()).find("font"), AnsiString::npos);
        Execute(Form, "acExtendedFindNext");
        EXPECT_GT(tree.Selected()->AbsoluteIndex(), first->AbsoluteIndex());
        NodeAt(tree, "NotesMemo")->SetSelected(true);
        Dialogs.AnswerInput("tag");
        Execute(Form, "acExtendedAddByName");
        EXPECT_GT(RowOf(*Form.Grid1, "NotesMemo.Tag"), 0);
        EXPECT_GT(RowOf(*Form.Grid1, "OrdersButton.Tag"), 0);
        EXPECT_LT(RowOf(*Form.Grid1, "NameLabel.Tag"), 0);
        CloseWith(Form, mrNo);
    });
}

// ---------------------------------------------------------------------------
// Language names

TEST(LanguageNames, ModifyAndOKFollowTheTypedNameAndOnlyOKChangesTheNames) {
    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    TStringList names;
    names.SetCommaText("English,Deutsch");
    dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
        auto& dialog = dynamic_cast<TfrmLangNames&>(Form);
        EXPECT_EQ(dialog.edName->Text(), "English");
        EXPECT_FALSE(dialog.btnOK->Enabled());
        EXPECT_FALSE(dialog.btnModify->Enabled());
        dialog.edName->SetText("  English ");
        EXPECT_FALSE(dialog.btnModify->Enabled());
        dialog.edName->SetText(" British");
        ASSERT_TRUE(dialog.btnModify->Enabled());
        dialog.btnModify->Click();
        EXPECT_EQ(dialog.lbLanguages->Items()->Get(0), " British");
        EXPECT_TRUE(dialog.btnOK->Enabled());
        dialog.edName->SetText("English");
        dialog.btnModify->Click();
        EXPECT_FALSE(dialog.btnOK->Enabled());
        dialog.edName->SetText("Englisch");
        dialog.btnModify->Click();
        SaveShot(Form, "language-names.png");
        dialog.btnCancel->Click();
    });
    EXPECT_EQ(ChangeLanguagesDlg(&names), mrCancel);
    EXPECT_EQ(names.CommaText(), "English,Deutsch");
    dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
        auto& dialog = dynamic_cast<TfrmLangNames&>(Form);
        dialog.edName->SetText(" British");
        dialog.btnModify->Click();
        dialog.btnOK->Click();
    });
    EXPECT_EQ(ChangeLanguagesDlg(&names), mrOk);
    EXPECT_EQ(names.Get(0), " British");
    names.Add("");
    EXPECT_TRUE(HasEmptyName(&names));
}

// ---------------------------------------------------------------------------
// The widths window

// A text that the window's canvas measures Width pixels wide.
AnsiString TextOfWidth(TCanvas& Canvas, Integer Width) {
    for (char ch = '!'; ch <= '~'; ++ch) {
        const Integer one = Canvas.TextWidth(AnsiString(1, ch));
        if (one > 0 && Width % one == 0) {
            const AnsiString text(static_cast<std::size_t>(Width / one), ch);
            if (Canvas.TextWidth(text) == Width)
                return text;
        }
    }
    throw Exception("no text of that width");
}

TEST(WidthsTooltip, WidthsCompareWithTheShortestInTheWindowsLanguage) {
    ShowWidthTooltip({"English", "Deutsch"}, {u"", u""}, Rect(10, 10, 100, 28), 1);
    ASSERT_NE(frmWidthsTooltip, nullptr);
    TStringGrid& grid = *frmWidthsTooltip->sgInfo;
    EXPECT_EQ(ColumnOf(grid, 1), std::vector<AnsiString>({"(empty)", "(empty)"}));
    TCanvas& canvas = *frmWidthsTooltip->Canvas();
    UpdateLanguageWidthTooltip(0, UTF8Decode(TextOfWidth(canvas, 60)));
    UpdateLanguageWidthTooltip(1, UTF8Decode(TextOfWidth(canvas, 90)));
    EXPECT_EQ(ColumnOf(grid, 1), std::vector<AnsiString>({"60 (shortest)", "90 (x 1.50)"}));
    EXPECT_EQ(grid.Cells(2, 1), grid.Cells(2, 2));

    const TRect nearRight = Rect(Screen->Width() - 50, 10, Screen->Width() - 5, 28);
    ShowWidthTooltip({"English", "Russian"}, {u"Name", u""}, nearRight, 2);
    EXPECT_EQ(frmWidthsTooltip->Left(), nearRight.Left - frmWidthsTooltip->Width());
    EXPECT_EQ(frmWidthsTooltip->Top(), nearRight.Bottom);
    EXPECT_EQ(grid.Cells(0, 0), "Язык");
    EXPECT_EQ(grid.Cells(1, 2), "(пусто)");
    HideWidthTooltip();
    EXPECT_EQ(frmWidthsTooltip, nullptr);
}

TEST_F(EditorTools, TheWidthsWindowShowsBesideTheEditedCellWithoutTakingTheFocus) {
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        SelectNode(Form, "Captions");
        TStringGrid& grid = *Form.Grid1;
        grid.SetCol(2);
        grid.SetRow(2);
        grid.SetFocus();
        PressKey(grid, Qt::Key_F2);
        ASSERT_TRUE(grid.EditorMode());
        ASSERT_NE(frmWidthsTooltip, nullptr);
        EXPECT_TRUE(frmWidthsTooltip->Visible());
        EXPECT_FALSE(frmWidthsTooltip->Active());
        EXPECT_TRUE(Form.Active());
        const TRect cell = grid.CellRect(2, 2);
        const TPoint below = grid.ClientToScreen(TPoint{cell.Right, cell.Bottom});
        const TPoint above = grid.ClientToScreen(TPoint{cell.Left, cell.Top});
        EXPECT_TRUE(frmWidthsTooltip->Left() == below.X ||
                    frmWidthsTooltip->Left() + frmWidthsTooltip->Width() == above.X);
        grid.InplaceEditor()->SelectAll();
        grid.InplaceEditor()->SetSelText("A much longer German caption");
        EXPECT_NE(ColumnOf(*frmWidthsTooltip->sgInfo, 1)[1].find("(x "), AnsiString::npos);
        Application->ProcessMessages();
        const TPoint origin = Form.ClientToScreen(TPoint{0, 0});
        SaveSheet("editor-widths-tooltip.png",
                  {{Form.Handle()->grab().toImage(), {0, 0}},
                   {frmWidthsTooltip->Handle()->grab().toImage(),
                    {frmWidthsTooltip->Left() - origin.X, frmWidthsTooltip->Top() - origin.Y}}});
        PressKey(grid, Qt::Key_Return);
        EXPECT_EQ(frmWidthsTooltip, nullptr);
        CloseWith(Form, mrNo);
    });
}

// ---------------------------------------------------------------------------
// Statistics

TEST(Statistics, CountsPerKindAndLanguageReadValuesByPosition) {
    std::unique_ptr<TForm> owner(NewForm<TForm>(nullptr));
    owner->SetName("Form1");
    auto* lang = NewComponent<TzxLang>(owner.get());
    lang->SetNumLang(3);
    lang->LangNames()->SetCommaText("English,Deutsch,Russian");
    lang->ForEachKeptList([](TStringsType, TStrings& List) { List.Clear(); });
    TStrings* captions = lang->GetPropListByType(stCaptions);
    captions->Add(Line({"Form1", "One, two", "Eins zwei", "Один два"}));
    captions->Add(Line({"Label1", "Name", "", "Имя"}));
    captions->Add(Line({"Label2", "Hello", "", ""}));
    captions->Add(Line({"Label3", "", "", ""}));
    lang->GetPropListByType(stFonts)->Add(Line({"Form1", "Arial", "Arial", "Arial"}));
    TzxExtendedItem* item = lang->ExtendedTranslations()->Add();
    item->SetIdentifier("Form1.Width");
    item->SetValues(Line({"1", "2", "3"}));

    std::unique_ptr<TTranslationsStats> stats(GetStatistics(lang, "", false));
    EXPECT_EQ(stats->Properties, 11);
    EXPECT_EQ(stats->PropNames.substr(0, 24), "Captions, Hints, Display");
    EXPECT_EQ(stats->StdItems, 4);
    EXPECT_EQ(stats->TranslatedStd, 1);
    EXPECT_EQ(stats->PartialSdt, 1);
    EXPECT_EQ(stats->EmptyStd, 1);
    EXPECT_EQ(stats->TranslatedExt, 1);
    TLanguageStatsList& languages = *stats->LanguageStats();
    EXPECT_EQ(languages.Items(1)->NonEmptyItems, 2);
    EXPECT_EQ(languages.Items(1)->EmptyItems, 3);
    EXPECT_EQ(languages.Items(2)->NonEmptyItems, 3);
    EXPECT_EQ(languages.Items(0)->WordsCount, 2 + 1 + 1 + 1);
    TTranslationInfo& german = *stats->TranslationInfos()->Items(0);
    EXPECT_EQ(german.Name, "English -> Deutsch");
    EXPECT_EQ(german.TranslatedCount, 2);
    EXPECT_EQ(german.WordsInTranslation, 3);
    EXPECT_EQ(german.WordsToTranslate, 2);

    TScriptedDialogService dialogs;
    TDialogServiceGuard guard(dialogs);
    dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
        EXPECT_EQ(Form.Caption(), "Translation Statistics for <TForm1>");
        EXPECT_EQ(Named<TLabel>(Form, "labPartialStd").Caption(), "Partial: 1 (25.00%)");
        EXPECT_EQ(Named<TLabel>(Form, "labTranslatedExt").Caption(), "Translated: 1 (100.00%)");
        EXPECT_EQ(Named<TProgressBar>(Form, "pbExtended").Position(), 1);
        EXPECT_EQ(Named<TProgressBar>(Form, "pbTotal").Position(), 2);
        EXPECT_EQ(Named<TProgressBar>(Form, "pbTotal").Max(), 5);
        EXPECT_EQ(Named<TLabel>(Form, "labTransTranslatedItems").Caption(),
                  "Translated: 2 (40.00%)");
        auto* combo = qobject_cast<QComboBox*>(Named<TComboBox>(Form, "cbLanguages").Handle());
        combo->setCurrentIndex(2);
        Q_EMIT combo->activated(2);
        EXPECT_EQ(Named<TLabel>(Form, "labEmpty").Caption(), "Empty: 2 (40.00%)");
        SaveShot(Form, "statistics.png");
        Named<TButton>(Form, "btnOK").Click();
    });
    DisplayStatistics(lang, "TForm1");
    EXPECT_EQ(frmStatistics, nullptr);

    // A load that the messages let run during the count changes nothing
    // that is being counted.
    QTimer::singleShot(0, [captions] { captions->Clear(); });
    stats.reset(GetStatistics(lang, "", true));
    EXPECT_EQ(stats->StdItems, 4);
    EXPECT_EQ(stats->TranslatedStd, 1);
    EXPECT_EQ(captions->Count(), 0);
    EXPECT_EQ(frmSplash, nullptr);
}

} // namespace
