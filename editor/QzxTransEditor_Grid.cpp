// The editor's grid: filling it from a list, row heights, the action
// states, sorting by a column, the view filters and the text search.
#include "editor/QzxTransEditor_Grid.h"

#include "clx/ActnList.h"
#include "clx/Clipbrd.h"
#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Menus.h"

#include <algorithm>

namespace {

// One direction for every editor of the process: +1 ascending, -1
// descending; the first sort of a column reverses it to descending.
Integer SortDirection = -1;

// A key as duplicates are counted, folded as AnsiCompareText compares;
// the usual ASCII keys take the short way.
AnsiString FoldedKey(const AnsiString& Key) {
    const bool ascii = std::all_of(Key.begin(), Key.end(),
                                   [](char Ch) { return static_cast<unsigned char>(Ch) < 0x80; });
    return ascii ? UpperCase(Key) : AnsiUpperCase(Key);
}

Integer LineCount(const AnsiString& Text) {
    return 1 + static_cast<Integer>(std::count(Text.begin(), Text.end(), '\n'));
}

} // namespace

AnsiString TypeName(TStringsType Kind) {
    return UTF8Encode(IniNames[static_cast<std::size_t>(Kind)]);
}

bool SortDirectionAscending() {
    return SortDirection > 0;
}

// ---------------------------------------------------------------------------
// Whole rows

TGridRowData TakeGridRow(TStringGrid& Grid, Integer ARow) {
    TGridRowData data;
    const Integer columns = Grid.ColCount();
    data.Cells.reserve(static_cast<std::size_t>(columns));
    data.Objects.reserve(static_cast<std::size_t>(columns));
    for (Integer column = 0; column < columns; ++column) {
        data.Cells.push_back(Grid.TakeCells(column, ARow));
        data.Objects.push_back(Grid.Objects(column, ARow));
    }
    return data;
}

void WriteGridRow(TStringGrid& Grid, Integer ARow, TGridRowData&& Data) {
    const Integer columns = Grid.ColCount();
    Data.Cells.resize(static_cast<std::size_t>(columns));
    Data.Objects.resize(static_cast<std::size_t>(columns));
    for (Integer column = 0; column < columns; ++column) {
        auto index = static_cast<std::size_t>(column);
        Grid.SetCells(column, ARow, std::move(Data.Cells[index]));
        Grid.SetObjects(column, ARow, Data.Objects[index]);
    }
}

void DeleteGridRows(TStringGrid& Grid, std::vector<Integer> Rows) {
    if (Rows.empty())
        return;
    std::sort(Rows.begin(), Rows.end());
    std::vector<Integer> kept{0};
    for (Integer row = 1; row < Grid.RowCount(); ++row)
        if (!std::binary_search(Rows.begin(), Rows.end(), row))
            kept.push_back(row);
    const bool none = kept.size() == 1;
    if (none)
        kept.push_back(1);
    Grid.ArrangeRows(kept);
    if (none)
        WriteGridRow(Grid, 1, TGridRowData());
}

// ---------------------------------------------------------------------------
// Building

void TzxTransEditFrm::BuildGrid(TStringsType Kind, bool Extended) {
    FreeInplaceCombo();
    FHidden.clear();
    FPlaceholderRow = false;
    for (Integer column = 0; column < Grid1->ColCount(); ++column)
        for (Integer row = 0; row < Grid1->RowCount(); ++row) {
            Grid1->SetCells(column, row, AnsiString());
            Grid1->SetObjects(column, row, nullptr);
        }
    Grid1->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                   goRangeSelect, goDrawFocusSelected, goColSizing, goEditing,
                                   goTabs, goThumbTracking});
    ActionNamed("acStringsFindInSource")->SetEnabled(false);
    std::vector<AnsiString> lines;
    const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
    if (Extended) {
        TzxExtendedItems* items = FWorkingCopy->ExtendedTranslations();
        for (Integer index = 0; index < items->Count(); ++index) {
            TzxExtendedItem* item = items->Items(index);
            lines.push_back(item->GetIdentifier() + delimiter + item->Values());
        }
    } else if (TStrings* list = FWorkingCopy->GetPropListByType(Kind)) {
        lines.reserve(static_cast<std::size_t>(list->Count()));
        for (Integer index = 0; index < list->Count(); ++index)
            lines.push_back(list->Get(index));
    }
    FillGrid(lines, Kind, Extended);
    TGridOptions options = Grid1->Options();
    if (!Extended && (Kind == stFonts || Kind == stMultiLines || Kind == stCharSets))
        options.Exclude(goEditing);
    Grid1->SetOptions(options);
    FGridEditable = options.Contains(goEditing);
    RebuildSortMenu(Kind, Extended);
    AdjustRows();
    FGridHoldsType = !Extended;
    DuplicatesChanged();
    ShowGridOrNoData(Kind, Extended);
    if (!Extended && (Kind == stFonts || Kind == stCharSets))
        MakeInplaceCombo(Kind);
}

void TzxTransEditFrm::FillGrid(const std::vector<AnsiString>& Lines, TStringsType Kind,
                               bool Extended) {
    const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
    const Integer languages = FWorkingCopy->NumOfLanguages();
    Grid1->SetRowCount(std::max(static_cast<Integer>(Lines.size()), 1) + 1);
    Grid1->SetColCount(languages + 1);
    Grid1->SetFixedRows(1);
    Grid1->SetFixedCols(!Extended && Kind == stStrings ? 0 : 1);
    AnsiString header = "Components:";
    if (Extended)
        header = "Property";
    else if (Kind == stStrings)
        header = "TextIDs:";
    else if (Kind == stDlgsCaptions)
        header = "Std. captions";
    else if (Kind == stLocales)
        header = "System locales";
    Grid1->SetCells(0, 0, header);
    TStrings* names = FWorkingCopy->LangNames();
    for (Integer column = 1; column <= languages; ++column) {
        AnsiString name = column - 1 < names->Count() ? names->Get(column - 1) : AnsiString();
        Grid1->SetCells(column, 0, name.empty() ? "Language N" + IntToStr(column) : name);
    }
    TCanvas* canvas = Grid1->Canvas();
    // The Strings type's key column keeps the width the user gave it.
    const bool measureKeys = Extended || Kind != stStrings;
    Integer keyWidth = canvas->TextWidth(header) + 8;
    TzxExtendedItems* items = FWorkingCopy->ExtendedTranslations();
    for (std::size_t index = 0; index < Lines.size(); ++index) {
        const Integer row = static_cast<Integer>(index) + 1;
        TzxTranslationLine line(Lines[index], delimiter);
        Grid1->SetCells(0, row, line.Key());
        if (measureKeys)
            keyWidth = std::max(keyWidth, canvas->TextWidth(line.Key()) + 8);
        for (Integer column = 1; column <= languages; ++column)
            Grid1->SetCells(column, row, line.Value(column));
        // The property's type kind rides with the row (the Extended tab's
        // editors and the write-back read it).
        if (Extended)
            SetRowPropertyType(row, items->Items(row - 1)->PropertyType());
    }
    Grid1->SetColWidths(0, keyWidth);
}

// The slot holds the kind + 1, so that tkUnknown is no null object.
void TzxTransEditFrm::SetRowPropertyType(Integer ARow, TTypeKind Kind) {
    Grid1->SetObjects(0, ARow, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(Kind) + 1));
}

void TzxTransEditFrm::RebuildSortMenu(TStringsType Kind, bool Extended) {
    TMenuItem* sortMenu = MenuItem("miSort");
    sortMenu->Clear();
    auto addItem = [&](const AnsiString& Caption, Integer Tag) {
        auto* item = NewComponent<TMenuItem>(this);
        item->SetCaption(Caption);
        item->SetTag(Tag);
        item->OnClick = [this](TObject* Sender) { SortColumn(Sender); };
        sortMenu->Add(item);
        return item;
    };
    auto addSeparator = [&] {
        auto* item = NewComponent<TMenuItem>(this);
        item->SetCaption(cLineCaption);
        sortMenu->Add(item);
    };
    for (Integer column = 0; column < Grid1->ColCount(); ++column) {
        TMenuItem* item = addItem("by " + Grid1->Cells(column, 0), column + 1);
        item->SetRadioItem(true);
        item->SetChecked(column == FSortColumn);
    }
    if (Extended || Kind == stMultiLines || Kind == stOtherStrings || Kind == stCollections) {
        addSeparator();
        addItem("by Property Name", -1);
    }
    if (!Extended && Kind == stStrings) {
        Grid1->SetColWidths(0, FIDsWidth);
        ActionNamed("acStringsFindInSource")->SetEnabled(true);
        addSeparator();
        TMenuItem* prefix = addItem(Format("Use %s as prefix", {FSortPrefix}), 0);
        prefix->SetName("miSortPrefix");
        prefix->OnClick = [this](TObject* Sender) { miSortPrefixClick(Sender); };
    }
}

void TzxTransEditFrm::ShowGridOrNoData(TStringsType Kind, bool Extended) {
    AnsiString firstRow;
    for (Integer column = 0; column < Grid1->ColCount(); ++column)
        firstRow += Grid1->Cells(column, 1);
    if ((Extended || Kind != stStrings) && Trim(firstRow).empty()) {
        Grid1->Hide();
        ShowNoData(Extended ? AnsiString("ExtendedTranslations") : TypeName(Kind));
        return;
    }
    if (FFilterMode != 0)
        ApplyFilter(FFilterMode);
    Grid1->Show();
}

void TzxTransEditFrm::ShowNoData(const AnsiString& TypeName) {
    pnlBackground->SetCaption("(The property \"" + TypeName + "\" contains no data");
}

void TzxTransEditFrm::AdjustRowHeight(Integer ARow) {
    if (ARow < 0 || ARow >= Grid1->RowCount())
        return;
    // A row of single lines keeps the default height, which is made for one
    // line; each further line adds a line's height.
    const Integer lineHeight = Grid1->DefaultRowHeight() - 4;
    Integer lines = 1;
    for (Integer column = 0; column < Grid1->ColCount(); ++column)
        lines = std::max(lines, LineCount(Grid1->Cells(column, ARow)));
    const Integer height = lines == 1 ? Grid1->DefaultRowHeight() : lines * lineHeight + 5;
    if (Grid1->RowHeights(ARow) != height)
        Grid1->SetRowHeights(ARow, height);
}

void TzxTransEditFrm::AdjustRows() {
    for (Integer row = Grid1->RowCount() - 1; row >= 1; --row)
        AdjustRowHeight(row);
}

// ---------------------------------------------------------------------------
// Action states

void TzxTransEditFrm::CheckActions() {
    const bool extended = ExtendedShown();
    TTreeNode* extendedNode = tvExtended->Selected();
    const bool extendedLeaf =
        extended && extendedNode && extendedNode->Data() && !extendedNode->HasChildren();
    const bool dictionary = MenuItem("miDictionary")->Visible();
    auto enable = [this](std::initializer_list<const char*> Names, bool Value) {
        for (const char* name : Names)
            ActionNamed(name)->SetEnabled(Value);
    };
    auto enableItems = [this](std::initializer_list<const char*> Names, bool Value) {
        for (const char* name : Names)
            MenuItem(name)->SetEnabled(Value);
    };
    const char* const dictionaryActions[] = {"acDictionaryShow",    "acDictionaryAddRow",
                                             "acDictionaryAddAll",  "acDictionaryFindTranslation",
                                             "acDictionarySuggest", "acDictionaryAutoTranslate"};
    TMenuItem* view = MenuItem("miView");
    if (Grid1->Visible()) {
        for (Integer index = 0; index < view->Count(); ++index)
            view->Items(index)->SetEnabled(true);
        const bool rows = Grid1->RowCount() > Grid1->FixedRows();
        enable({"acEditCut", "acEditCopy", "acEditDelete"}, rows);
        enable({"acEditPaste"}, rows && Clipboard()->HasFormat("text/plain"));
        enable({"acAddRow"}, extended ? extendedLeaf : FCurrentType == stStrings);
        enable({"acRemoveRow"}, extended || FCurrentType == stStrings);
        enable({"acGeneralClear", "acGeneralFind"}, true);
        const TStringsTypes multiline{stCaptions,
                                      stHints,
                                      stStrings,
                                      stOtherStrings,
                                      stLocales,
                                      stCollections,
                                      stListView_TreeView_Items};
        const TStringsTypes blanks{stCaptions,   stHints,        stDisplayLabels, stFonts,
                                   stMultiLines, stOtherStrings, stCharSets};
        enableItems({"miMultiline"}, multiline.Contains(FCurrentType));
        enableItems({"miCheckFmtStr"}, FCurrentType == stStrings);
        enableItems({"miExcludeBlanks"}, !extended && blanks.Contains(FCurrentType));
        enableItems({"miAddRow", "miRemoveRow"}, true);
        for (const char* name : dictionaryActions)
            ActionNamed(name)->SetEnabled(dictionary);
        UpdateFileActions();
        return;
    }
    for (Integer index = 0; index < view->Count(); ++index)
        view->Items(index)->SetEnabled(false);
    enable({"acEditCut", "acEditCopy", "acEditPaste", "acEditDelete", "acGeneralClear"}, false);
    // An empty Extended tab hides the grid; its first property still goes in.
    enable({"acAddRow"}, extendedLeaf);
    enableItems({"miMultiline", "miExcludeBlanks", "miAddRow", "miRemoveRow"}, false);
    for (const char* name : dictionaryActions)
        ActionNamed(name)->SetEnabled(false);
    enable({"acAddRow"}, extendedLeaf);
    enable({"acRemoveRow"}, extended && FWorkingCopy->ExtendedTranslations()->Count() > 0);
    UpdateFileActions();
}

// ---------------------------------------------------------------------------
// Sorting

void TzxTransEditFrm::SortColumn(TObject* Sender) {
    if (FCurrentType == stLocales && !ExtendedShown())
        return;
    auto* component = dynamic_cast<TComponent*>(Sender);
    const Integer column = component ? component->Tag() - 1 : -1;
    if (column < 0 || column >= Grid1->ColCount())
        return;
    if (column == FSortColumn)
        SortDirection = -SortDirection;
    FSortColumn = column;
    if (auto* item = dynamic_cast<TMenuItem*>(Sender))
        item->SetChecked(true);
    const AnsiString firstKey = Grid1->Cells(0, 1);
    const Integer firstRow =
        FEditedOwner && (firstKey == FEditedOwner->Name() || firstKey == FEditedOwner->ClassName())
            ? 2
            : 1;
    const AnsiString currentKey = Grid1->Cells(0, Grid1->Row());
    if (Grid1->RowCount() - firstRow < 2)
        return;
    Screen->SetCursor(crHourGlass);
    try {
        // Each row's sort text is made once; equal texts keep their order.
        std::vector<std::pair<AnsiString, Integer>> keyed;
        for (Integer row = firstRow; row < Grid1->RowCount(); ++row)
            keyed.emplace_back(StripHotkey(Grid1->Cells(column, row)), row);
        const Integer direction = SortDirection;
        std::stable_sort(keyed.begin(), keyed.end(), [direction](const auto& A, const auto& B) {
            return AnsiCompareText(A.first, B.first) * direction < 0;
        });
        std::vector<Integer> order;
        for (Integer row = 0; row < firstRow; ++row)
            order.push_back(row);
        for (const auto& entry : keyed)
            order.push_back(entry.second);
        Grid1->ArrangeRows(order);
        AdjustRows();
        for (Integer row = 1; row < Grid1->RowCount(); ++row)
            if (Grid1->Cells(0, row) == currentKey) {
                Grid1->SetRow(row);
                break;
            }
    } catch (...) {
        Screen->SetCursor(crDefault);
        throw;
    }
    Screen->SetCursor(crDefault);
}

void TzxTransEditFrm::miSortPrefixClick(TObject*) {
    AnsiString prefix = FSortPrefix;
    if (!InputQuery("Change sort prefix",
                    "Please type new prefix value for String IDs sorting:", prefix) ||
        Trim(prefix).empty())
        return;
    FSortPrefix = prefix;
    MenuItem("miSortPrefix")->SetCaption(Format("Use %s as prefix", {FSortPrefix}));
}

// ---------------------------------------------------------------------------
// Filters

bool TzxTransEditFrm::RowFilteredOut(Integer Mode, Integer ARow) const {
    if (Grid1->Cells(0, ARow).empty())
        return true;
    const Integer languages = LanguageCount();
    Integer filled = 0;
    for (Integer column = 1; column <= languages; ++column)
        if (!Grid1->Cells(column, ARow).empty())
            ++filled;
    switch (Mode) {
    case 1:
        return filled == languages || filled == 1;
    case 2:
        return filled > 1;
    default:
        return filled == languages;
    }
}

// Every mode starts from the whole list, so applying one twice hides the
// same rows and a write-back always sees every row.
void TzxTransEditFrm::ApplyFilter(Integer Mode) {
    RestoreHiddenRows();
    if (Mode != 0)
        HideFilteredRows(Mode);
    AdjustRows();
    DuplicatesChanged();
}

// The hidden rows are appended, then every row moves to its place at once;
// a record whose row lies beyond the end stays appended.
void TzxTransEditFrm::RestoreHiddenRows() {
    if (FHidden.empty() && !FPlaceholderRow)
        return;
    const Integer visible = FPlaceholderRow ? 0 : Grid1->RowCount() - 1;
    Integer appended = Grid1->RowCount();
    Grid1->SetRowCount(appended + static_cast<Integer>(FHidden.size()));
    std::vector<Integer> order{0};
    Integer nextVisible = 1;
    // The records are in descending row order: the earliest goes first.
    for (auto record = FHidden.rbegin(); record != FHidden.rend(); ++record) {
        while (static_cast<Integer>(order.size()) < record->Row && nextVisible <= visible)
            order.push_back(nextVisible++);
        WriteGridRow(*Grid1, appended, std::move(record->Data));
        order.push_back(appended++);
    }
    while (nextVisible <= visible)
        order.push_back(nextVisible++);
    FHidden.clear();
    FPlaceholderRow = false;
    Grid1->ArrangeRows(order);
}

// When every row is hidden, one empty row stands in their place.
void TzxTransEditFrm::HideFilteredRows(Integer Mode) {
    std::vector<Integer> kept{0};
    for (Integer row = Grid1->RowCount() - 1; row >= 1; --row)
        if (RowFilteredOut(Mode, row))
            FHidden.push_back(THideRec{row, TakeGridRow(*Grid1, row)});
        else
            kept.push_back(row);
    std::reverse(kept.begin() + 1, kept.end());
    FPlaceholderRow = kept.size() == 1;
    if (FPlaceholderRow)
        kept.push_back(1);
    Grid1->ArrangeRows(kept);
    if (FPlaceholderRow)
        WriteGridRow(*Grid1, 1, TGridRowData());
}

void TzxTransEditFrm::ClearHidden() {
    FHidden.clear();
}

// ---------------------------------------------------------------------------
// Finding

void TzxTransEditFrm::DoFind(const AnsiString& Text, bool Down, bool MatchCase) {
    const AnsiString search = MatchCase ? Text : AnsiUpperCase(Text);
    auto matches = [&](Integer ACol, Integer ARow) {
        AnsiString cell = StripHotkey(Grid1->Cells(ACol, ARow));
        if (!MatchCase)
            cell = AnsiUpperCase(cell);
        return AnsiPos(search, cell) > 0;
    };
    const Integer first = Grid1->FixedCols();
    const Integer last = Grid1->ColCount() - 1;
    const Integer lastRow = Grid1->RowCount() - 1;
    const Integer col = Grid1->Col();
    const Integer row = Grid1->Row();
    auto found = [&]() -> bool {
        if (Down) {
            if (row == lastRow && col == last)
                return false;
            for (Integer c = col + 1; c <= last; ++c)
                if (matches(c, row)) {
                    Grid1->SetCol(c);
                    return true;
                }
            for (Integer r = row + 1; r <= lastRow; ++r)
                for (Integer c = first; c <= last; ++c)
                    if (matches(c, r)) {
                        SelectFoundCell(c, r);
                        return true;
                    }
            return false;
        }
        if (row == 1 && col <= first)
            return false;
        for (Integer c = col - 1; c >= first; --c)
            if (matches(c, row)) {
                Grid1->SetCol(c);
                return true;
            }
        for (Integer r = row - 1; r >= 1; --r)
            for (Integer c = last; c >= first; --c)
                if (matches(c, r)) {
                    SelectFoundCell(c, r);
                    return true;
                }
        return false;
    }();
    if (!found)
        MessageDlg(Format("Search string '%s' not found.", {Text}), mtInformation, {mbOk}, 0);
}

void TzxTransEditFrm::SelectFoundCell(Integer ACol, Integer ARow) {
    SelectCell(ACol, ARow);
    Grid1->SetTopRow(std::max(ARow - Grid1->VisibleRowCount() / 2, Grid1->FixedRows()));
}

void TzxTransEditFrm::SelectCell(Integer ACol, Integer ARow) {
    Grid1->SetCol(std::clamp(ACol, Grid1->FixedCols(), Grid1->ColCount() - 1));
    Grid1->SetRow(std::clamp(ARow, Grid1->FixedRows(), Grid1->RowCount() - 1));
    if (Grid1->CanFocus())
        Grid1->SetFocus();
}

// ---------------------------------------------------------------------------
// Duplicate identifiers

void TzxTransEditFrm::SetHighlightDuplicates(bool Value) {
    FHighlightDuplicates = Value;
    Grid1->Invalidate();
}

void TzxTransEditFrm::DuplicatesChanged() {
    FKeyCountsKnown = false;
}

void TzxTransEditFrm::KeyEdited(Integer ARow, const AnsiString& NewKey) {
    if (ARow != FCountedRow)
        DuplicatesChanged();
    else if (FKeyCountsKnown) {
        if (!FCountedKey.empty())
            --FKeyCounts[FoldedKey(FCountedKey)];
        if (!NewKey.empty())
            ++FKeyCounts[FoldedKey(NewKey)];
    }
    FCountedKey = NewKey;
    FCountedRow = ARow;
}

bool TzxTransEditFrm::IsDuplicateKey(Integer ARow) const {
    if (!FKeyCountsKnown) {
        FKeyCounts.clear();
        for (Integer row = 1; row < Grid1->RowCount(); ++row)
            if (!Grid1->Cells(0, row).empty())
                ++FKeyCounts[FoldedKey(Grid1->Cells(0, row))];
        FKeyCountsKnown = true;
    }
    auto count = FKeyCounts.find(FoldedKey(Grid1->Cells(0, ARow)));
    return count != FKeyCounts.end() && count->second > 1;
}
