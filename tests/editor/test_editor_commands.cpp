// The Translation Editor's commands on the demo's main form: files loaded
// and saved through the scripted file dialogs, the clipboard block, rows,
// the identifier rename, the grid's keys and popup, and the exclusions.
#include "EditorTestSupport.h"

#include "clx/Clipbrd.h"
#include "clx/ComCtrls.h"

#include <fstream>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

class EditorCommands : public TDemoEditorTest {
protected:
    // Runs the load or save Action on File through the file dialog, with
    // the Inputs typed (a text file's delimiter) and the Answers given.
    void OnFile(TzxTransEditFrm& Form, const AnsiString& Action, const AnsiString& File,
                std::initializer_list<AnsiString> Inputs,
                std::initializer_list<TModalResult> Answers = {}) {
        Dialogs.AnswerFile(File);
        for (const AnsiString& input : Inputs)
            Dialogs.AnswerInput(input);
        for (TModalResult answer : Answers)
            Dialogs.Answer(answer);
        Execute(Form, Action);
    }
};

void WriteFile(const AnsiString& Name, const AnsiString& Text) {
    std::ofstream(Name, std::ios::binary) << Text;
}

// A file of two languages in which the main form's About button reads
// "XX" and "YY".
AnsiString TwoLanguageFile(const TTempDir& Dir) {
    const AnsiString name = Dir.File("two.zxl");
    WriteFile(name, "[Options]\nDelimiter=~!@#\n"
                    "[Language names - for internal use only!]\n"
                    "Language_1=English\nLanguage_2=Deutsch\n"
                    "[Captions]\nTMainForm.AboutButton=XX~!@#YY~!@#\n");
    return name;
}

// ---------------------------------------------------------------------------
// Files

TEST_F(EditorCommands, AFileRoundTripKeepsLoadedPastedAndRenamedTexts) {
    TTempDir dir;
    const AnsiString captions = Lang->Captions()->Text();
    const AnsiString written = dir.File("runtime.zxl");
    Lang->SaveToFile(stStrings, UTF8Decode(written), u"~!@#");
    const Integer lines = Lang->Strings()->Count();
    Lang->Strings()->Clear();
    std::vector<std::pair<WideString, WideString>> renames;
    TChangeStrIDEvent onRename = [&](const AnsiString& Owner, const WideString& From,
                                     WideString& To) {
        EXPECT_EQ(Owner, Lang->Owner()->Name());
        renames.push_back({From, To});
    };
    AnsiString saved;
    const auto drive = [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        OnFile(Form, "acGeneralLoad", written, {}, {mrYes});
        ASSERT_EQ(grid.RowCount() - 1, lines);
        EXPECT_TRUE(Form.Modified());
        const AnsiString first = grid.Cells(0, 1);
        // Copied elsewhere, pasted over the block the user selects; its line
        // break and tab inside cells then go through both files.
        Clipboard()->SetAsText("a\tb\tc\r\nd\x1E" "e\te\x1D" "f\tg\n");
        grid.SetRow(1);
        grid.SetSelection(TGridRect{1, 1, 3, 2});
        Execute(Form, "acEditPaste");
        EXPECT_EQ(grid.Cells(1, 1), "a");
        EXPECT_EQ(grid.Cells(3, 1), "c");
        Dialogs.Answer(mrYes);
        EditCell(grid, 0, 1, "IDS_RENAMED");
        OnFile(Form, "acGeneralSave", dir.File("edited.zxl"), {"~!@#"});
        saved = Form.WorkingCopy()->Strings()->Text();
        OnFile(Form, "acGeneralSave", dir.File("edited.ZXB"), {});
        ASSERT_EQ(renames.size(), 1u);
        EXPECT_EQ(UTF8Encode(renames[0].first), first);
        EXPECT_EQ(UTF8Encode(renames[0].second), "IDS_RENAMED");
        CloseWith(Form, mrNo);
    };
    Edit(stStrings, DesignSelected, drive, 0, nullptr, onRename);
    ASSERT_NE(saved.find("IDS_RENAMED"), AnsiString::npos);
    EXPECT_EQ(Lang->LoadFromFile(stStrings, UTF8Decode(dir.File("edited.zxl")), true), lines);
    EXPECT_EQ(Lang->Strings()->Text(), saved);
    Lang->Strings()->Clear();
    EXPECT_TRUE(Lang->LoadPropFromBinaryFile(stStrings, dir.File("edited.ZXB")));
    EXPECT_EQ(Lang->Strings()->Text(), saved);
    // The binary entry keeps the lists the editor did not show.
    Lang->Captions()->Clear();
    EXPECT_TRUE(Lang->LoadPropFromBinaryFile(stCaptions, dir.File("edited.ZXB")));
    EXPECT_EQ(Lang->Captions()->Text(), captions);
}

TEST_F(EditorCommands, ALoadTouchesNeitherTheFormNorTheListsUntilItSucceedsAndIsWanted) {
    TTempDir dir;
    const AnsiString two = TwoLanguageFile(dir);
    const AnsiString broken = dir.File("broken.ZXB");
    WriteFile(broken, "not a binary translation file");
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        SelectNode(Form, "Captions");
        TStringGrid& grid = *Form.Grid1;
        const AnsiString german = grid.Cells(2, RowOf(grid, "AboutButton"));
        OnFile(Form, "acGeneralLoad", broken, {}, {mrYes, mrOk});
        EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError);
        EXPECT_FALSE(Form.Modified()) << "a failed load is no change";
        // Keeping the languages keeps everything.
        OnFile(Form, "acGeneralLoad", two, {}, {mrYes, mrNo});
        EXPECT_NE(Dialogs.LastRequest().Text.find("Lower the number of languages to 2"),
                  AnsiString::npos);
        EXPECT_EQ(grid.ColCount(), 4);
        EXPECT_EQ(grid.Cells(2, RowOf(grid, "AboutButton")), german);
        OnFile(Form, "acGeneralLoad", two, {}, {mrYes, mrYes});
        EXPECT_EQ(grid.ColCount(), 3);
        EXPECT_EQ(grid.Cells(1, RowOf(grid, "AboutButton")), "XX");
        EXPECT_EQ(Now(), Before) << "the load applies nothing to the live form";
        CloseWith(Form, mrNo);
    });
    EXPECT_EQ(Now(), Before) << "nor does a close that discards it";
}

TEST_F(EditorCommands, ALoadUnderTheRootIsWhatTheCloseWritesBack) {
    TTempDir dir;
    const AnsiString two = TwoLanguageFile(dir);
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        SelectNode(Form, "Captions");
        SelectNode(Form, "Translations");
        OnFile(Form, "acGeneralLoad", two, {}, {mrYes, mrYes});
        EXPECT_FALSE(Form.Grid1->Visible());
        CloseWith(Form, mrYes);
    });
    ASSERT_EQ(Lang->Captions()->Count(), 1);
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"AboutButton", "XX", "YY"}));
}

TEST_F(EditorCommands, SaveRefusesADelimiterThatWouldSplitATextAndKeepsTheViewUsable) {
    TTempDir dir;
    Lang->Fonts()->Add(Line({"OrdersButton", "Courier ~!@# New", "", ""}));
    Edit(stFonts, DesignSelected, [&](TzxTransEditFrm& Form) {
        OnFile(Form, "acGeneralSave", dir.File("empty.zxl"), {""}, {mrOk});
        OnFile(Form, "acGeneralSave", dir.File("split.zxl"), {"~!@#"}, {mrOk});
        EXPECT_NE(Dialogs.LastRequest().Text.find("Courier ~!@# New"), AnsiString::npos);
        EXPECT_FALSE(FileExists(dir.File("empty.zxl")) || FileExists(dir.File("split.zxl")));
        OnFile(Form, "acGeneralSave", dir.File("fonts.zxl"), {"|"});
        EXPECT_TRUE(FileExists(dir.File("fonts.zxl")));
        // The cell editor of the Fonts list still serves the next cell.
        Form.Grid1->SetRow(2);
        ASSERT_NE(Form.InplaceCombo(), nullptr);
        EXPECT_TRUE(Form.InplaceCombo()->Visible());
        Application->ProcessMessages();
        EXPECT_TRUE(Form.InplaceCombo()->Handle()->isVisible());
        ClickItem(Form, "miClose");
    });
}

TEST_F(EditorCommands, TheDisableFlagsHideLoadAndSaveButNotTheWriteBack) {
    const TShowFlags flags{sfSelected, sfDesignTime, sfDisableLoad, sfDisableSave};
    EXPECT_TRUE(Edit(stHints, flags, [&](TzxTransEditFrm& Form) {
        for (const char* name : {"acGeneralLoad", "acGeneralSave"}) {
            EXPECT_FALSE(Named<TAction>(Form, name).Visible());
            EXPECT_FALSE(Named<TAction>(Form, name).Enabled());
        }
        EXPECT_FALSE(Named<TMenuItem>(Form, "miLoad").Visible());
        EditCell(*Form.Grid1, 1, 1, "Changed");
        CloseWith(Form, mrYes);
    }));
    EXPECT_NE(Now(), Before);
}

// ---------------------------------------------------------------------------
// Clipboard and rows

TEST_F(EditorCommands, ABlockCopiesAndPastesBackWhileBrokenTextsAreRefused) {
    for (const char* id : {"SThird", "SFourth", "SFifth"})
        Lang->Strings()->Add(Line({id, "", "", ""}));
    Edit(stStrings, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        grid.SetCells(1, 1, "two\nlines");
        grid.SetCells(2, 1, "tab\there");
        grid.SetSelection(TGridRect{1, 1, 2, 2});
        Execute(Form, "acEditCopy");
        const AnsiString copied = Clipboard()->AsText();
        EXPECT_EQ(copied.substr(0, copied.find('\n')), "two\x1E" "lines\ttab\x1D" "here");
        grid.SetSelection(TGridRect{1, 3, 2, 4});
        Execute(Form, "acEditPaste");
        EXPECT_EQ(grid.Cells(1, 3), "two\nlines");
        EXPECT_EQ(grid.Cells(2, 3), "tab\there");
        // A lone CR stays in its cell.
        grid.SetSelection(TGridRect{1, 5, 2, 5});
        Clipboard()->SetAsText("a\rb\tc\n");
        Execute(Form, "acEditPaste");
        EXPECT_EQ(grid.Cells(1, 5), "a\rb");
        const AnsiString key = grid.Cells(0, 1);
        for (const AnsiString& text : {AnsiString("A=B"), AnsiString("A\nB")}) {
            grid.SetSelection(TGridRect{0, 1, 0, 1});
            Clipboard()->SetAsText(text);
            Dialogs.Answer(mrOk);
            Execute(Form, "acEditPaste");
            EXPECT_EQ(grid.Cells(0, 1), key);
        }
        grid.SetSelection(TGridRect{1, 2, 2, 2});
        const AnsiString german = grid.Cells(2, 2);
        Clipboard()->SetAsText(AnsiString("x\ty") + D + "z\n");
        Dialogs.Answer(mrOk);
        Execute(Form, "acEditPaste");
        EXPECT_EQ(grid.Cells(2, 2), german) << "nothing of a refused block is pasted";
        // The Delete key (whose text is the character 127) empties the cell
        // and opens no editor on it.
        grid.SetSelection(TGridRect{2, 2, 2, 2});
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, {}, QString(QChar(0x7F)));
        QApplication::sendEvent(grid.Handle(), &press);
        EXPECT_EQ(grid.Cells(2, 2), "");
        EXPECT_FALSE(grid.EditorMode());
        CloseWith(Form, mrNo);
    });
}

TEST_F(EditorCommands, RemoveRowUnderAFilterRemovesTheRowChosenAndDownAddsOne) {
    Lang->Strings()->Add(Line({"SOnlyEnglish", "One", "", ""}));
    Lang->Strings()->Add(Line({"SAlsoEnglish", "Two", "", ""}));
    const Integer count = Lang->Strings()->Count();
    Edit(stStrings, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        ClickItem(Form, "miUntranslated");
        grid.SetRow(RowOf(grid, "SAlsoEnglish"));
        Dialogs.Answer(mrYes);
        Execute(Form, "acRemoveRow");
        EXPECT_EQ(RowOf(grid, "SAlsoEnglish"), -1);
        EXPECT_GT(RowOf(grid, "SOnlyEnglish"), 0);
        ClickItem(Form, "miAllEntries");
        grid.SetRow(grid.RowCount() - 1);
        PressKey(grid, Qt::Key_Down);
        EXPECT_EQ(grid.Row(), count);
        EditCell(grid, 0, count, "SNew");
        EditCell(grid, 1, count, "New");
        CloseWith(Form, mrYes);
    });
    EXPECT_EQ(Lang->GetIDIndex(u"SAlsoEnglish"), -1);
    EXPECT_GE(Lang->GetIDIndex(u"SOnlyEnglish"), 0);
    EXPECT_GE(Lang->GetIDIndex(u"SNew"), 0);
    EXPECT_EQ(Lang->Strings()->Count(), count);
}

// ---------------------------------------------------------------------------
// Keys, popup and exclusions

TEST_F(EditorCommands, ShiftKeepsMultiLineCellsOutOfTheLineEditor) {
    Edit(stMultiLines, DesignFull, [&](TzxTransEditFrm& Form) {
        SelectNode(Form, "Multilines");
        PressKey(*Form.Grid1, Qt::Key_Shift);
        EXPECT_FALSE(Form.Grid1->Options().Contains(goEditing));
        SelectNode(Form, "Captions");
        PressKey(*Form.Grid1, Qt::Key_Shift);
        EXPECT_TRUE(Form.Grid1->Options().Contains(goEditing));
        ClickItem(Form, "miClose");
    });
}

TEST_F(EditorCommands, TheKeyboardsPopupWorksOnTheCurrentCell) {
    Edit(stCaptions, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        grid.SetCol(2);
        grid.SetRow(2);
        // A right click on the header, then the menu key.
        Form.Grid1MouseDown(&grid, mbRight, {}, grid.CellRect(2, 0).Left + 3, 3);
        Form.popGridPopup(Form.popGrid);
        EXPECT_FALSE(Named<TMenuItem>(Form, "pmiCopy").Enabled());
        Form.Grid1MouseDown(&grid, mbRight, {}, grid.CellRect(2, 0).Left + 3, 3);
        PressKey(grid, Qt::Key_Menu);
        Form.popGridPopup(Form.popGrid);
        EXPECT_TRUE(Named<TMenuItem>(Form, "pmiCopy").Enabled());
        EXPECT_TRUE(Named<TMenuItem>(Form, "pmiExclude").Enabled());
        ClickItem(Form, "miClose");
    });
}

TEST_F(EditorCommands, ExcludeBlanksExcludesMultiLineKeysAndIsOffOnTheExtendedTab) {
    Lang->MultiLines()->Add(Line({"ExtraMemo.Lines", "", "", ""}));
    Edit(stMultiLines, DesignFull, [&](TzxTransEditFrm& Form) {
        SelectNode(Form, "Multilines");
        ASSERT_GT(RowOf(*Form.Grid1, "ExtraMemo.Lines"), 0);
        Dialogs.Answer(mrYes);
        ClickItem(Form, "miExcludeBlanks");
        EXPECT_EQ(RowOf(*Form.Grid1, "ExtraMemo.Lines"), -1);
        ChooseTab(*Form.tabsTranslations, 1);
        EXPECT_FALSE(Named<TMenuItem>(Form, "miExcludeBlanks").Enabled());
        EXPECT_FALSE(Named<TAction>(Form, "acGeneralLoad").Enabled());
        CloseWith(Form, mrYes);
    });
    EXPECT_GE(Lang->SmartExcludeProps()->IndexOf("ExtraMemo.Lines"), 0);
    for (Integer index = 0; index < Lang->MultiLines()->Count(); ++index)
        EXPECT_NE(Lang->MultiLines()->Get(index).rfind("ExtraMemo.Lines", 0), 0u);
}

TEST_F(EditorCommands, ExcludeOnTheExtendedTabRemovesExtendedRowsOnlyAndOffersNoCombo) {
    const Integer items = Lang->ExtendedTranslations()->Count();
    ASSERT_GT(items, 0);
    const AnsiString id = Lang->ExtendedTranslations()->Items(0)->GetIdentifier();
    const AnsiString captions = Lang->Captions()->Text();
    const AnsiString excluded = Lang->SmartExcludeProps()->Text();
    Edit(stFonts, DesignFull, [&](TzxTransEditFrm& Form) {
        SelectNode(Form, "Fonts");
        ChooseTab(*Form.tabsTranslations, 1);
        EXPECT_EQ(Form.InplaceCombo(), nullptr);
        TStringGrid& grid = *Form.Grid1;
        grid.SetCol(1);
        grid.SetRow(RowOf(grid, id));
        Form.popGridPopup(Form.popGrid);
        EXPECT_EQ(Named<TMenuItem>(Form, "pmiExclude").Caption(), "R&emove...");
        // "Remove selected row", the choice offered first.
        Dialogs.Answer(mrOk);
        ClickItem(Form, "pmiExclude");
        EXPECT_EQ(RowOf(grid, id), -1);
        EXPECT_EQ(Form.InplaceCombo(), nullptr);
        CloseWith(Form, mrYes);
    });
    EXPECT_EQ(Lang->ExtendedTranslations()->Find(id), nullptr);
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), items - 1);
    EXPECT_EQ(Lang->Captions()->Text(), captions);
    EXPECT_EQ(Lang->SmartExcludeProps()->Text(), excluded);
}

TEST_F(EditorCommands, ANewDelimiterWarnsThatTheOtherFormsOfTheFileKeepTheOldOne) {
    TTempDir dir;
    const AnsiString shared = dir.File("shared.zxl");
    WriteFile(shared, "[Options]\nDelimiter=|\n[Captions]\nTOtherForm.Button=OK|Gut|\n");
    Edit(stCaptions, DesignSelected, [&](TzxTransEditFrm& Form) {
        OnFile(Form, "acGeneralSave", shared, {"~!@#"}, {mrNo});
        EXPECT_EQ(Dialogs.Requests()[2].Value, "|") << "the file's delimiter is proposed";
        EXPECT_NE(Dialogs.LastRequest().Text.find("other forms in the file keep the old delimiter"),
                  AnsiString::npos);
        ClickItem(Form, "miClose");
    });
}

TEST_F(EditorCommands, AFailedFindInSourceLeavesNoIdentifierToGoTo) {
    std::vector<std::pair<AnsiString, bool>> calls;
    NavigateToSource = [&](const AnsiString& ID, bool ShowEditor) {
        calls.push_back({ID, ShowEditor});
        return false;
    };
    Edit(stStrings, DesignSelected, [&](TzxTransEditFrm& Form) {
        Dialogs.Answer(mrOk);
        Execute(Form, "acStringsFindInSource");
        EXPECT_EQ(Dialogs.LastRequest().Text,
                  "Unable to locate strings identifier in unit source!");
        ClickItem(Form, "miClose");
    });
    NavigateToSource = nullptr;
    ASSERT_EQ(calls.size(), 1u) << "closing goes nowhere";
    EXPECT_FALSE(calls[0].second);
}

} // namespace
