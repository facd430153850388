// The Translation Editor on the demo's main form, driven through its tree,
// grid, menus and actions: what each caller's flags show, what reaches the
// component on each answer to the close question, sorting, filtering,
// finding, the identifier check, and what it refuses.
#include "EditorTestSupport.h"

#include "runtime/QzxLngLnk.h"

#include "clx/ActnList.h"

#include <filesystem>
#include <fstream>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

using EditorOnDemo = TDemoEditorTest;

AnsiString Line(std::initializer_list<AnsiString> Fields) {
    return zxtest::Line(Fields);
}

// The key of a translation line.
AnsiString KeyOf(const AnsiString& Line) {
    return Line.substr(0, Line.find('\1'));
}

// The line of Key in List, or "".
AnsiString LineOf(TStrings& List, const AnsiString& Key) {
    for (Integer index = 0; index < List.Count(); ++index)
        if (KeyOf(List.Get(index)) == Key)
            return List.Get(index);
    return "";
}

// Whether Text holds Part, Text shown when it does not.
testing::AssertionResult Holds(const AnsiString& Text, const AnsiString& Part) {
    if (Text.find(Part) != AnsiString::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << '"' << Text << "\" lacks \"" << Part << '"';
}

void CloseAnswering(TzxTransEditFrm& Form, TScriptedDialogService& Dialogs, TModalResult Answer) {
    Dialogs.Answer(Answer);
    ClickItem(Form, "miClose");
}

// ---------------------------------------------------------------------------
// Callers' flag sets

TEST_F(EditorOnDemo, EachCallersFlagsShowWhatTheCallerAsksAndNoLeavesTheFormUnchanged) {
    struct TCaller {
        TStringsType Kind;
        TShowFlags Flags;
        Integer StartIndex;
        AnsiString Caption;
        bool Tree;
    };
    const std::vector<TCaller> callers = {
        {stCaptions, DesignFull, 0, "Translation Editor - Captions", true},
        {stHints, DesignSelected, 0, "Translation Editor - Hints", false},
        {stCaptions,
         {sfSelected, sfDesignTime, sfExtended},
         0,
         "Translation Editor - Extended Translations",
         false},
        {stStrings, {sfFull, sfSelected, sfDesignTime}, 2, "Translation Editor - Strings", true},
        {stCaptions, {sfFull, sfRunTime}, 0, "Translation Editor - Captions", true},
        {stStrings, {sfSelected, sfRunTime}, 0, "Translation Editor - Strings", false},
        {stCaptions,
         {sfSelected, sfRunTime, sfExtended},
         0,
         "Translation Editor - Extended Translations",
         false},
    };
    for (const TCaller& caller : callers) {
        SCOPED_TRACE(caller.Caption.c_str());
        // Without sfSelected the type used last would be shown.
        std::remove(EditorSettingsFile().c_str());
        bool result = Edit(
            caller.Kind, caller.Flags,
            [&](TzxTransEditFrm& Form) {
                EXPECT_EQ(Form.Caption(), caller.Caption);
                EXPECT_EQ(Form.TreeView->Visible(), caller.Tree);
                EXPECT_EQ(Form.Grid1->ColCount(), 4);
                EXPECT_EQ(Form.Grid1->Cells(2, 0), "Deutsch");
                if (caller.Tree) {
                    EXPECT_EQ(Form.TreeView->Items()->Count(), 12) << "the root and 11 types";
                }
                EXPECT_EQ(Named<TMenuItem>(Form, "About1").Visible(),
                          !caller.Flags.Contains(sfRunTime));
                EXPECT_EQ(Named<TMenuItem>(Form, "Highlightduplicates1").Visible(),
                          Form.CurrentType() == stStrings && !Form.tvExtended->Visible());
                if (caller.StartIndex > 0) {
                    EXPECT_EQ(Form.Grid1->Row(), caller.StartIndex);
                }
                const Integer column = Form.Grid1->FixedCols();
                EditCell(*Form.Grid1, column, 1, Form.Grid1->Cells(column, 1) + " edited");
                CloseAnswering(Form, Dialogs, mrNo);
            },
            caller.StartIndex);
        EXPECT_FALSE(result);
        EXPECT_EQ(Now(), Before);
    }
}

TEST_F(EditorOnDemo, ALinkedComponentShowsOnlyTheTypesItPublishes) {
    TzxCustomLang* linked = DemoFormComponents(Files)[1];
    ASSERT_NE(dynamic_cast<TzxLangLinked*>(linked), nullptr);
    Edit(
        stDlgsCaptions, DesignFull,
        [&](TzxTransEditFrm& Form) {
            EXPECT_EQ(Form.TreeView->Items()->Count(), 10) << "the root and 9 types";
            EXPECT_EQ(Form.CurrentType(), stCaptions) << "a type it does not publish";
            ClickItem(Form, "miClose");
        },
        0, linked);
}

TEST_F(EditorOnDemo, AComponentWithoutOwnerIsRefusedBeforeAnyWindowOpens) {
    auto ownerless = std::make_unique<TzxLang>(nullptr);
    TDialogServiceGuard guard(Dialogs);
    EXPECT_TRUE(Holds(
        MessageOf<Exception>([&] { TransEditorDlg(ownerless.get(), stCaptions, 0, DesignFull); }),
        "has no owner"));
    EXPECT_TRUE(Dialogs.Requests().empty());
}

// ---------------------------------------------------------------------------
// The close question

TEST_F(EditorOnDemo, CancelKeepsTheEditorOpenNoDiscardsYesWritesBack) {
    bool result = Edit(stCaptions, DesignSelected, [&](TzxTransEditFrm& Form) {
        const Integer row = RowOf(*Form.Grid1, "AboutButton");
        ASSERT_GT(row, 0);
        EditCell(*Form.Grid1, 2, row, "Über das Programm...");
        CloseAnswering(Form, Dialogs, mrCancel);
        EXPECT_EQ(Form.ModalResult(), mrNone);
        EXPECT_EQ(Now(), Before) << "nothing reaches the component while the editor is open";
        CloseAnswering(Form, Dialogs, mrYes);
    });
    EXPECT_TRUE(result);
    EXPECT_NE(Now(), Before);
    EXPECT_EQ(GetLineField(LineOf(*Lang->Captions(), "AboutButton"), 2, '\1'),
              "Über das Programm...");
    EXPECT_EQ(Dialogs.Requests()[1].Text,
              "The translation information was modified. Do you want to save changes?");
}

TEST_F(EditorOnDemo, AnEmptyValueKeepsItsColumnInTheGridAndOnWriteBack) {
    Lang->Strings()->Add(Line({"SGapInGerman", "Orders", "", "Заказы"}));
    const AnsiString line = LineOf(*Lang->Strings(), "SGapInGerman");
    Edit(stStrings, DesignSelected, [&](TzxTransEditFrm& Form) {
        const Integer row = RowOf(*Form.Grid1, "SGapInGerman");
        EXPECT_EQ(Form.Grid1->Cells(2, row), "");
        EXPECT_EQ(Form.Grid1->Cells(3, row), "Заказы");
        EditCell(*Form.Grid1, 1, 1, Form.Grid1->Cells(1, 1));
        CloseAnswering(Form, Dialogs, mrYes);
    });
    EXPECT_EQ(LineOf(*Lang->Strings(), "SGapInGerman"), line);
}

TEST_F(EditorOnDemo, ExtendedTranslationsReachTheComponentAsItsOwnItems) {
    ASSERT_GT(Lang->ExtendedTranslations()->Count(), 0);
    const AnsiString id = Lang->ExtendedTranslations()->Items(0)->GetIdentifier();
    Edit(stCaptions, DesignFull, [&](TzxTransEditFrm& Form) {
        ChooseTab(*Form.tabsTranslations, 1);
        EXPECT_EQ(Form.Grid1->Cells(0, 0), "Property");
        EditCell(*Form.Grid1, 3, RowOf(*Form.Grid1, id), "200");
        CloseAnswering(Form, Dialogs, mrYes);
    });
    // The working copy is gone: the component holds items of its own.
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Find(id);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Collection(), Lang->ExtendedTranslations());
    EXPECT_EQ(GetLineField(AnsiString("x\1") + item->Values(), 3, '\1'), "200");
}

TEST_F(EditorOnDemo, TheExtendedFlagEditsTheExtendedTranslationsAlone) {
    const AnsiString captions = Lang->Captions()->Text();
    const AnsiString id = Lang->ExtendedTranslations()->Items(0)->GetIdentifier();
    Edit(stCaptions, {sfSelected, sfDesignTime, sfExtended}, [&](TzxTransEditFrm& Form) {
        EXPECT_FALSE(Form.tabsTranslations->Visible());
        EXPECT_TRUE(Form.tvExtended->Visible());
        EXPECT_EQ(Form.Grid1->RowCount() - 1, Lang->ExtendedTranslations()->Count());
        EditCell(*Form.Grid1, 2, RowOf(*Form.Grid1, id), "180");
        CloseAnswering(Form, Dialogs, mrYes);
    });
    EXPECT_EQ(
        GetLineField(AnsiString("x\1") + Lang->ExtendedTranslations()->Find(id)->Values(), 2, '\1'),
        "180");
    EXPECT_EQ(Lang->Captions()->Text(), captions);
}

TEST_F(EditorOnDemo, CloseSavedWritesTheEditsBackWithoutAsking) {
    bool result = Edit(stHints, DesignSelected, [&](TzxTransEditFrm& Form) {
        EditCell(*Form.Grid1, 1, 1, "A new hint");
        ClickItem(Form, "CloseSaved1");
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(GetLineField(Lang->Hints()->Get(0), 1, '\1'), "A new hint");
}

// ---------------------------------------------------------------------------
// The Strings type

TEST_F(EditorOnDemo, DuplicateOrEmptyIdentifiersKeepTheEditorOpenEvenUnderAFilter) {
    bool result = Edit(stStrings, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        const AnsiString first = grid.Cells(0, 1);
        EditCell(grid, 0, 2, AnsiLowerCase(first));
        EditCell(grid, 2, 2, "");
        EditCell(grid, 3, 2, "");
        ClickItem(Form, "miIncomplete");
        EXPECT_EQ(RowOf(grid, first), -1) << "the complete row is hidden";
        Dialogs.Answer(mrYes);
        Dialogs.Answer(mrOk);
        ClickItem(Form, "miClose");
        EXPECT_EQ(AnsiUpperCase(Dialogs.LastRequest().Text),
                  AnsiUpperCase("There is duplicate identifier: " + first + "\n" +
                                "Either remove one or specify different identifiers."));
        EXPECT_EQ(Form.ModalResult(), mrNone);
        EXPECT_EQ(AnsiCompareText(grid.Cells(0, grid.Row()), first), 0);
        EditCell(grid, 0, 2, "");
        Dialogs.Answer(mrYes);
        Dialogs.Answer(mrOk);
        ClickItem(Form, "miClose");
        EXPECT_TRUE(
            Holds(Dialogs.LastRequest().Text, "There is an empty string identifier in line: 2"));
        EXPECT_EQ(grid.Row(), 2);
        EditCell(grid, 0, 2, "SNewIdentifier");
        CloseAnswering(Form, Dialogs, mrYes);
    });
    EXPECT_TRUE(result);
    EXPECT_NE(LineOf(*Lang->Strings(), "SNewIdentifier"), "");
}

TEST_F(EditorOnDemo, ADuplicateIdentifierKeepsTheStringsNodeChosen) {
    Edit(stStrings, {sfFull, sfSelected, sfDesignTime}, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        EditCell(grid, 0, 2, grid.Cells(0, 1));
        Dialogs.Answer(mrOk);
        SelectNode(Form, "Hints");
        EXPECT_EQ(Form.TreeView->Selected()->Text(), "Strings");
        EXPECT_EQ(Form.CurrentType(), stStrings);
        EXPECT_EQ(grid.Cells(0, 0), "TextIDs:");
        EditCell(grid, 0, 2, "SUnique");
        SelectNode(Form, "Hints");
        EXPECT_EQ(Form.CurrentType(), stHints);
        CloseAnswering(Form, Dialogs, mrYes);
    });
    EXPECT_NE(LineOf(*Lang->Strings(), "SUnique"), "");
}

TEST_F(EditorOnDemo, TheDelimiterOrABrokenKeyNeverReachesALine) {
    bool result = Edit(stStrings, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        Dialogs.Answer(mrOk);
        EditCell(grid, 1, 1, AnsiString("one\1two"));
        EXPECT_EQ(grid.Cells(1, 1), "onetwo");
        EXPECT_TRUE(Holds(Dialogs.LastRequest().Text, "delimiter"));
        Dialogs.Answer(mrOk);
        EditCell(grid, 0, 1, "SKey=Value");
        EXPECT_EQ(grid.Cells(0, 1), "SKeyValue");
        CloseAnswering(Form, Dialogs, mrYes);
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(KeyOf(Lang->Strings()->Get(0)), "SKeyValue");
    EXPECT_EQ(GetLineField(Lang->Strings()->Get(0), 1, '\1'), "onetwo");
}

// ---------------------------------------------------------------------------
// Sorting, filtering, finding

TEST_F(EditorOnDemo, EachColumnSortsDescendingFirstThenAscendingAndTheOwnersRowStaysOnTop) {
    Edit(stCaptions, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        const AnsiString ownerRow = grid.Cells(0, 1);
        ASSERT_EQ(ownerRow, Lang->Owner()->ClassName());
        TMenuItem& sortMenu = Named<TMenuItem>(Form, "miSort");
        // The order of a column's cells below the owner's row: +1, -1, or 0
        // when neither.
        auto order = [&](Integer Column) {
            std::vector<AnsiString> cells = ColumnOf(grid, Column);
            cells.erase(cells.begin());
            for (Integer direction : {1, -1})
                if (std::is_sorted(cells.begin(), cells.end(), [&](auto& A, auto& B) {
                        return AnsiCompareText(StripHotkey(A), StripHotkey(B)) * direction < 0;
                    }))
                    return direction;
            return 0;
        };
        Integer last = 0;
        for (Integer column = 0; column < grid.ColCount(); ++column) {
            sortMenu.Items(column)->Click();
            const Integer first = order(column);
            EXPECT_NE(first, 0) << "column " << column;
            if (column > 0) {
                EXPECT_EQ(first, last) << "another column keeps the direction";
            }
            sortMenu.Items(column)->Click();
            last = order(column);
            EXPECT_EQ(last, -first) << "the same column again reverses it";
            EXPECT_EQ(grid.Cells(0, 1), ownerRow);
        }
        EXPECT_FALSE(Form.Modified()) << "sorting is no edit";
        ClickItem(Form, "miClose");
    });
    EXPECT_EQ(Now(), Before);
}

TEST_F(EditorOnDemo, FiltersHideByTheirRuleAndEveryRowComesBackOnWriteBack) {
    Lang->Strings()->Add(Line({"SOnlyFirst", "x", "", ""}));
    Lang->Strings()->Add(Line({"STwoOfThree", "x", "y", ""}));
    Lang->Strings()->Add(Line({"SNoneFilled", "", "", ""}));
    const Integer lines = Lang->Strings()->Count();
    const AnsiString all = Lang->Strings()->Text();
    bool result = Edit(stStrings, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        auto visible = [&](const char* Key) { return RowOf(grid, Key) > 0; };
        ClickItem(Form, "miPartially");
        EXPECT_TRUE(visible("STwoOfThree"));
        EXPECT_TRUE(visible("SNoneFilled"));
        EXPECT_FALSE(visible("SOnlyFirst"));
        EXPECT_FALSE(visible("SOrderSummary"));
        ClickItem(Form, "miPartially");
        EXPECT_EQ(grid.RowCount() - 1, 2) << "applying twice hides the same rows";
        ClickItem(Form, "miUntranslated");
        EXPECT_TRUE(visible("SOnlyFirst"));
        EXPECT_TRUE(visible("SNoneFilled"));
        EXPECT_FALSE(visible("STwoOfThree"));
        ClickItem(Form, "miIncomplete");
        EXPECT_TRUE(visible("SOnlyFirst"));
        EXPECT_TRUE(visible("STwoOfThree"));
        EXPECT_FALSE(visible("SOrderSummary"));
        ClickItem(Form, "miAllEntries");
        EXPECT_EQ(grid.RowCount() - 1, lines);
        ClickItem(Form, "miUntranslated");
        EditCell(grid, 1, RowOf(grid, "SNoneFilled"), "filled");
        CloseAnswering(Form, Dialogs, mrYes);
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(Lang->Strings()->Count(), lines);
    EXPECT_EQ(LineOf(*Lang->Strings(), "SNoneFilled"), Line({"SNoneFilled", "filled", "", ""}));
    for (Integer index = 0; index < lines; ++index)
        if (KeyOf(Lang->Strings()->Get(index)) != "SNoneFilled") {
            EXPECT_TRUE(Holds(all, Lang->Strings()->Get(index)));
        }
}

TEST_F(EditorOnDemo, AFilterThatHidesEveryRowLeavesOneEmptyRowAndLosesNothing) {
    Edit(stHints, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        ClickItem(Form, "miUntranslated");
        EXPECT_EQ(grid.RowCount(), 2);
        EXPECT_EQ(grid.Cells(0, 1), "");
        ClickItem(Form, "miAllEntries");
        EXPECT_EQ(grid.RowCount() - 1, Lang->Hints()->Count());
        ClickItem(Form, "miClose");
    });
    EXPECT_EQ(Now(), Before);
}

TEST_F(EditorOnDemo, FindGoesDownAndUpWithoutWrappingAround) {
    Edit(stCaptions, DesignSelected, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        ClickItem(Form, "miFind");
        ASSERT_EQ(Dialogs.ShownFindDialog(), Form.fdOnGrid);
        auto find = [&](const AnsiString& Text, TFindOptions Options, bool NotFound = false) {
            if (NotFound)
                Dialogs.Answer(mrOk);
            Dialogs.PressFindNext(Text, Options);
        };
        auto rowHolding = [&](const AnsiString& Text, bool Last) {
            Integer found = -1;
            for (Integer row = 1; row < grid.RowCount() && (Last || found < 0); ++row)
                if (Holds(StripHotkey(grid.Cells(2, row)), Text))
                    found = row;
            return found;
        };
        grid.SetCol(1);
        grid.SetRow(1);
        find("bestellungen", {frDown});
        EXPECT_EQ(grid.Row(), rowHolding("Bestellungen", false));
        EXPECT_EQ(grid.Col(), 2) << "the hot-key marker is no part of the text";
        const Integer first = grid.Row();
        find("bestellungen", {frDown, frMatchCase}, true);
        EXPECT_EQ(Dialogs.LastRequest().Text, "Search string 'bestellungen' not found.");
        EXPECT_EQ(grid.Row(), first) << "nothing found moves nothing";
        grid.SetRow(grid.RowCount() - 1);
        grid.SetCol(grid.ColCount() - 1);
        find("BESTELLUNGEN", {});
        EXPECT_EQ(grid.Row(), rowHolding("Bestellungen", true));
        EXPECT_EQ(grid.Col(), 2);
        grid.SetRow(1);
        grid.SetCol(1);
        find("Bestellungen", {}, true);
        EXPECT_EQ(grid.Row(), 1) << "no wrap-around from the top";
        ClickItem(Form, "miClose");
    });
}

// ---------------------------------------------------------------------------
// Settings and size

TEST_F(EditorOnDemo, SettingsOutOfRangeFallBackOrAreClamped) {
    {
        std::ofstream settings(EditorSettingsFile());
        settings << "[\\Software\\Borland\\TzxLang\\EditorForm]\n"
                    "LastProperty=99\nColumnWidth1=-5\nColumnWidth2=99999999\n"
                    "Width=999999\nHeight=-3\nLeft=-500\nTreeViewWidth=70000\nLastFilter=8\n";
    }
    Edit(stStrings, DesignFull, [&](TzxTransEditFrm& Form) {
        EXPECT_EQ(Form.CurrentType(), stCaptions);
        EXPECT_EQ(Form.Grid1->ColWidths(1), 120);
        EXPECT_LE(Form.Grid1->ColWidths(2), Screen->Width());
        EXPECT_LE(Form.Width(), Screen->Width());
        EXPECT_EQ(Form.Height(), 480);
        EXPECT_GE(Form.Left(), 0);
        EXPECT_LE(Form.TreeView->Width(), Screen->Width());
        EXPECT_EQ(Form.FilterMode(), 0);
        ClickItem(Form, "miClose");
    });
}

TEST_F(EditorOnDemo, ASaveStillCountsWhenTheSettingsCannotBeWritten) {
    // A file where the settings' directory should be: nothing can be written.
    TTempDir blocked;
    std::ofstream(blocked.File("file")) << "in the way";
    const AnsiString exeName = Application->ExeName();
    Application->SetExeName(blocked.File("file") + "/zxeditor_test");
    bool result = false;
    {
        TDialogServiceGuard guard(Dialogs);
        // Each settings store that is freed tries to write: reading the
        // settings and the column widths, then saving them.
        Dialogs.Answer(mrOk);
        Dialogs.Answer(mrOk);
        Dialogs.AnswerModal(mrNone, [&](TCustomForm& Form) {
            auto& editor = dynamic_cast<TzxTransEditFrm&>(Form);
            EditCell(*editor.Grid1, 1, 1, "Saved anyway");
            CloseAnswering(editor, Dialogs, mrYes);
            Dialogs.Answer(mrOk);
        });
        result = TransEditorDlg(Lang, stHints, 0, DesignSelected);
        EXPECT_EQ(Dialogs.PendingAnswers(), 0);
    }
    Application->SetExeName(exeName);
    EXPECT_TRUE(result);
    EXPECT_EQ(Dialogs.LastRequest().DlgType, mtError) << "the failed write is reported";
    EXPECT_EQ(GetLineField(Lang->Hints()->Get(0), 1, '\1'), "Saved anyway");
}

TEST_F(EditorOnDemo, AHundredThousandLinesShowAndGoBackWhole) {
    auto lines = std::make_unique<TStringList>();
    for (Integer index = 0; index < 100000; ++index)
        lines->Add(Line({"SId" + IntToStr(index), "Text " + IntToStr(index), "", "Ru"}));
    Lang->Strings()->Assign(lines.get());
    bool result = Edit(stStrings, DesignSelected, [&](TzxTransEditFrm& Form) {
        EXPECT_EQ(Form.Grid1->RowCount(), 100001);
        EditCell(*Form.Grid1, 2, 100000, "Letzte");
        CloseAnswering(Form, Dialogs, mrYes);
    });
    EXPECT_TRUE(result);
    ASSERT_EQ(Lang->Strings()->Count(), 100000);
    EXPECT_EQ(Lang->Strings()->Get(99999), Line({"SId99999", "Text 99999", "Letzte", "Ru"}));
}

TEST_F(EditorOnDemo, ExtendedRowsKeepTheirPropertyKindsThroughSortingAndFiltering) {
    Edit(stCaptions, {sfSelected, sfDesignTime, sfExtended}, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        std::map<AnsiString, TObject*> kinds;
        for (Integer row = 1; row < grid.RowCount(); ++row)
            kinds[grid.Cells(0, row)] = grid.Objects(0, row);
        Named<TMenuItem>(Form, "miSort").Items(1)->Click();
        ClickItem(Form, "miIncomplete");
        ClickItem(Form, "miAllEntries");
        Named<TMenuItem>(Form, "miSort").Items(0)->Click();
        for (Integer row = 1; row < grid.RowCount(); ++row)
            EXPECT_EQ(grid.Objects(0, row), kinds[grid.Cells(0, row)]) << grid.Cells(0, row);
        ClickItem(Form, "miClose");
    });
}

} // namespace
