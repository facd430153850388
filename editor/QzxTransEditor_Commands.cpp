// The editor's commands: loading and saving translation files, the
// clipboard block, adding, removing and clearing rows, the grid's keys and
// header clicks, the popups and the exclusion commands.
#include "editor/QzxTransEditor_Grid.h"

#include "editor/QzxClipboardBlock.h"
#include "editor/QzxExclAction.h"
#include "runtime/DOriDaz.h"

#include "clx/ActnList.h"
#include "clx/Clipbrd.h"
#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/Keys.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include <algorithm>

namespace {

// Header clicks count in this band, whatever the height of row 0.
constexpr Integer HeaderBand = 18;

// The working copy takes part in the owner's component list while a file
// operation runs, so that it sees the owner's components.
class TOwnerScope {
public:
    TOwnerScope(TComponent* Owner, TComponent* Copy) : FOwner(Owner), FCopy(Copy) {
        FOwner->InsertComponent(FCopy);
    }
    ~TOwnerScope() { FOwner->RemoveComponent(FCopy); }
    TOwnerScope(const TOwnerScope&) = delete;
    TOwnerScope& operator=(const TOwnerScope&) = delete;

private:
    TComponent* FOwner;
    TComponent* FCopy;
};

// Every list, the language names and the extended translations of From
// into To.
void CopyTranslations(const TzxCustomLang& From, TzxCustomLang& To) {
    From.ForEachKeptList([&](TStringsType Kind, TStrings& List) {
        if (TStrings* target = To.GetPropListByType(Kind))
            target->Assign(&List);
    });
    To.LangNames()->Assign(From.LangNames());
    To.SetNumLang(From.NumOfLanguages());
    To.FixedLanguages()->Assign(From.FixedLanguages());
    To.SetExtendedTranslations(From.ExtendedTranslations());
}

std::unique_ptr<TzxCustomLang> CopyOf(const TzxCustomLang& Lang) {
    std::unique_ptr<TzxCustomLang> copy(
        static_cast<TzxCustomLang*>(CreateComponent(Lang.ClassType(), nullptr)));
    copy->SetLangDelim(Lang.LangDelim());
    CopyTranslations(Lang, *copy);
    return copy;
}

// Whether a file line made of Values joined by Delimiter reads back as the
// same values.
bool SplitsAlike(const std::vector<AnsiString>& Values, const AnsiString& Delimiter) {
    AnsiString joined;
    for (const AnsiString& value : Values)
        joined += value + Delimiter;
    std::size_t start = 0;
    for (const AnsiString& value : Values) {
        const std::size_t at = joined.find(Delimiter, start);
        if (at == AnsiString::npos || joined.compare(start, at - start, value) != 0)
            return false;
        start = at + Delimiter.size();
    }
    return true;
}

// Whether a translation file holds entries of forms other than OwnerClass.
bool FileHoldsOtherForms(TMemIniFile& Ini, const AnsiString& OwnerClass) {
    const AnsiString prefix = AnsiUpperCase(OwnerClass + ".");
    for (const WideString& section : IniNames) {
        TStringList keys;
        Ini.ReadSection(UTF8Encode(section), keys);
        for (Integer index = 0; index < keys.Count(); ++index)
            if (!AnsiUpperCase(keys.Get(index)).starts_with(prefix))
                return true;
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// The view the file commands work on

bool TzxTransEditFrm::RootSelected() const {
    TTreeNode* node = TreeView->Selected();
    return FFlags.Contains(sfFull) && !FExtendedOnly && node && !node->Data();
}

void TzxTransEditFrm::RefreshGrid() {
    const Integer col = Grid1->Col();
    const Integer row = Grid1->Row();
    BuildGrid(FCurrentType, ExtendedShown());
    if (!ExtendedShown() && RootSelected()) {
        Grid1->Hide();
        pnlBackground->SetCaption("(No property selected)");
        return;
    }
    if (Grid1->Visible())
        SelectCell(col, row);
}

void TzxTransEditFrm::UpdateFileActions() {
    TAction* load = ActionNamed("acGeneralLoad");
    load->SetVisible(!FFlags.Contains(sfDisableLoad));
    // On the Extended tab a load replaces every list or none: one list of
    // the General tab has no place there.
    load->SetEnabled(load->Visible() && (!ExtendedShown() || RootSelected()));
    if (!FFlags.Contains(sfSaveAsClose)) {
        TAction* save = ActionNamed("acGeneralSave");
        save->SetVisible(!FFlags.Contains(sfDisableSave));
        save->SetEnabled(save->Visible());
    }
}

// ---------------------------------------------------------------------------
// Loading

void TzxTransEditFrm::sbLoadClick(TObject*) {
    if (!ActionNamed("acGeneralLoad")->Enabled() || !odLoad->Execute())
        return;
    const bool all = RootSelected();
    const AnsiString question =
        all ? AnsiString("This will replace current translations for this form. Continue?")
            : "This will replace current translations for the \"" + TypeName(FCurrentType) +
                  "\" property. Continue?";
    if (MessageDlg(question, mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    Grid1->SetEditorMode(false);
    // What the grid holds goes in first, so that the lists the file leaves
    // alone keep the user's edits.
    UpdateProperty(FCurrentType, ExtendedShown());
    if (LoadWorkingCopy(odLoad->FileName(), all))
        FModified = true;
    RefreshGrid();
    CheckActions();
}

bool TzxTransEditFrm::LoadWorkingCopy(const AnsiString& FileName, bool AllLists) {
    std::unique_ptr<TzxCustomLang> previous = CopyOf(*FWorkingCopy);
    const bool binary = zxIsBinaryFile(FileName);
    const WideString name = UTF8Decode(FileName);
    auto fail = [&](const AnsiString& Message) {
        CopyTranslations(*previous, *FWorkingCopy);
        MessageDlg(Message, mtError, {mbOk}, 0);
        return false;
    };
    try {
        TOwnerScope scope(FEditedOwner, FWorkingCopy);
        // Neither load applies a language: the form shows the component's
        // texts until the editor's edits are written back.
        if (binary && !FWorkingCopy->LoadPropFromBinaryFile(FCurrentType, FileName))
            return fail("The file " + FileName + " holds no translations of " +
                        FEditedOwner->ClassName() + ".");
        if (AllLists || !binary)
            FWorkingCopy->LoadAllFromFileDNC(name, true);
    } catch (const std::exception& Error) {
        return fail(Error.what());
    }
    if (!AllLists && !binary) {
        // Only the current type's list comes from the file.
        std::unique_ptr<TzxCustomLang> loaded = CopyOf(*FWorkingCopy);
        CopyTranslations(*previous, *FWorkingCopy);
        FWorkingCopy->GetPropListByType(FCurrentType)
            ->Assign(loaded->GetPropListByType(FCurrentType));
        FWorkingCopy->LangNames()->Assign(loaded->LangNames());
        FWorkingCopy->SetNumLang(loaded->NumOfLanguages());
    }
    const Integer before = previous->NumOfLanguages();
    const Integer after = FWorkingCopy->NumOfLanguages();
    if (after < before &&
        MessageDlg(Format("The file holds %d languages, the component %d. Lower the number of "
                          "languages to %d?",
                          {after, before, after}),
                   mtConfirmation, mbYesNo, 0) != mrYes) {
        CopyTranslations(*previous, *FWorkingCopy);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Saving

void TzxTransEditFrm::sbSaveClick(TObject*) {
    if (!ActionNamed("acGeneralSave")->Enabled() || !sdSave->Execute())
        return;
    const AnsiString fileName = sdSave->FileName();
    const bool binary = zxIsBinaryFile(fileName);
    const bool all = RootSelected() && !ExtendedShown();
    // The binary file keeps no delimiter.
    AnsiString delimiter;
    if (!binary) {
        TMemIniFile ini(fileName);
        const AnsiString fileDelimiter = ini.ReadString("Options", "Delimiter", "");
        delimiter = fileDelimiter.empty() ? FDelimiter : fileDelimiter;
        if (!InputQuery("Save to file", "Input translations delimiter string:", delimiter))
            return;
        if (delimiter.empty()) {
            MessageDlg("The delimiter may not be empty.", mtError, {mbOk}, 0);
            return;
        }
        if (!fileDelimiter.empty() && fileDelimiter != delimiter) {
            const AnsiString others =
                FileHoldsOtherForms(ini, FEditedOwner->ClassName())
                    ? AnsiString("\rThe entries of the other forms in the file keep the old "
                                 "delimiter and will not read correctly.")
                    : AnsiString();
            if (MessageDlg("The existing delimiter in file \"" + fileDelimiter +
                               "\" differs from new one.\r" +
                               "This may cause errors in future reading translation information." +
                               others + "\n" + "Continue?",
                           mtWarning, mbYesNo, 0) != mrYes)
                return;
        }
    }
    Grid1->SetEditorMode(false);
    UpdateProperty(FCurrentType, ExtendedShown());
    const AnsiString split = binary ? AnsiString() : TextSplitBy(delimiter, all);
    if (split.empty() && binary) {
        std::unique_ptr<TzxCustomLang> entry = BinaryEntry();
        TOwnerScope scope(FEditedOwner, entry.get());
        entry->SaveAllToBinaryFile(fileName);
    } else if (split.empty()) {
        TOwnerScope scope(FEditedOwner, FWorkingCopy);
        const WideString name = UTF8Decode(fileName);
        const WideString delim = UTF8Decode(delimiter);
        if (ExtendedShown())
            FWorkingCopy->SaveExtendedToFile(name, delim);
        else if (all)
            FWorkingCopy->SaveAllToFile(name, delim);
        else
            FWorkingCopy->SaveToFile(FCurrentType, name, delim);
    }
    RefreshGrid();
    if (!split.empty())
        MessageDlg("The delimiter \"" + delimiter + "\" occurs in the text \"" + split +
                       "\": choose another delimiter.",
                   mtError, {mbOk}, 0);
}

// The binary file keeps the form's whole entry: what the editor does not
// hold (the other lists when one is edited, the lists when only the
// extended translations are) comes from the component, so that saving
// loses none of it.
std::unique_ptr<TzxCustomLang> TzxTransEditFrm::BinaryEntry() const {
    if (FFlags.Contains(sfFull) && !FExtendedOnly)
        return CopyOf(*FWorkingCopy);
    std::unique_ptr<TzxCustomLang> entry = CopyOf(*FEditedComponent);
    if (FExtendedOnly) {
        entry->SetExtendedTranslations(FWorkingCopy->ExtendedTranslations());
        return entry;
    }
    entry->GetPropListByType(FCurrentType)->Assign(FWorkingCopy->GetPropListByType(FCurrentType));
    entry->LangNames()->Assign(FWorkingCopy->LangNames());
    entry->SetNumLang(FWorkingCopy->NumOfLanguages());
    return entry;
}

AnsiString TzxTransEditFrm::TextSplitBy(const AnsiString& Delimiter, bool AllLists) const {
    const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
    const Integer languages = FWorkingCopy->NumOfLanguages();
    auto valuesOf = [&](const AnsiString& Line, bool Keyed) {
        TzxTranslationLine line = Keyed ? TzxTranslationLine(Line, delimiter)
                                        : TzxTranslationLine(AnsiString(1, delimiter) + Line,
                                                             delimiter);
        std::vector<AnsiString> values;
        for (Integer value = 1; value <= languages; ++value)
            values.push_back(line.Value(value));
        return values;
    };
    auto firstSplit = [&](const std::vector<AnsiString>& Values) {
        if (SplitsAlike(Values, Delimiter))
            return AnsiString();
        for (const AnsiString& value : Values)
            if (!value.empty())
                return value;
        return AnsiString(" ");
    };
    if (ExtendedShown()) {
        TzxExtendedItems* items = FWorkingCopy->ExtendedTranslations();
        for (Integer index = 0; index < items->Count(); ++index)
            if (AnsiString split = firstSplit(valuesOf(items->Items(index)->Values(), false));
                !split.empty())
                return split;
        return "";
    }
    AnsiString split;
    FWorkingCopy->ForEachKeptList([&](TStringsType Kind, TStrings& List) {
        if (!split.empty() || (!AllLists && Kind != FCurrentType))
            return;
        for (Integer index = 0; index < List.Count() && split.empty(); ++index)
            split = firstSplit(valuesOf(List.Get(index), true));
    });
    return split;
}

// ---------------------------------------------------------------------------
// The clipboard

void TzxTransEditFrm::EditExecute(TObject* Sender) {
    auto* component = dynamic_cast<TComponent*>(Sender);
    const Integer tag = component ? static_cast<Integer>(component->Tag()) : 0;
    if (tag < 101 || tag > 104)
        return;
    if (Grid1->EditorMode()) {
        TInplaceEdit* editor = Grid1->InplaceEditor();
        if (tag == 101)
            editor->CutToClipboard();
        else if (tag == 102)
            editor->CopyToClipboard();
        else if (tag == 103)
            editor->PasteFromClipboard();
        else if (editor->SelLength() > 0)
            editor->ClearSelection();
        AdjustRowHeight(Grid1->Row());
        return;
    }
    if (tag == 101 || tag == 102)
        Clipboard()->SetAsText(CopyGridSelection());
    if (tag == 103)
        PasteGridBlock(Clipboard()->AsText());
    else if (tag != 102)
        ClearCells(Grid1->Selection());
}

void TzxTransEditFrm::ClearCells(const TGridRect& Block) {
    for (Integer row = Block.Top; row <= Block.Bottom; ++row) {
        for (Integer column = Block.Left; column <= Block.Right; ++column)
            Grid1->SetCells(column, row, AnsiString());
        AdjustRowHeight(row);
    }
    DuplicatesChanged();
    FModified = true;
    Grid1->Invalidate();
}

AnsiString TzxTransEditFrm::CopyGridSelection() const {
    const TGridRect block = Grid1->Selection();
    if (block.Left == block.Right && block.Top == block.Bottom)
        return Grid1->Cells(Grid1->Col(), Grid1->Row());
    TCellBlock cells;
    for (Integer row = block.Top; row <= block.Bottom; ++row) {
        cells.emplace_back();
        for (Integer column = block.Left; column <= block.Right; ++column)
            cells.back().push_back(Grid1->Cells(column, row));
    }
    return CopiedBlock(cells);
}

// The whole block is checked before any cell changes: a text that would
// corrupt a translation line is refused.
void TzxTransEditFrm::PasteGridBlock(const AnsiString& Text) {
    const TGridRect block = Grid1->Selection();
    std::vector<std::pair<TGridCoord, AnsiString>> cells;
    if (block.Left == block.Right && block.Top == block.Bottom) {
        cells.push_back({TGridCoord{Grid1->Col(), Grid1->Row()}, Text});
    } else {
        const TCellBlock pasted = PastedBlock(Text, block.Right - block.Left + 1,
                                              block.Bottom - block.Top + 1);
        for (std::size_t row = 0; row < pasted.size(); ++row)
            for (std::size_t column = 0; column < pasted[row].size(); ++column)
                cells.push_back({TGridCoord{block.Left + static_cast<Integer>(column),
                                            block.Top + static_cast<Integer>(row)},
                                 pasted[row][column]});
    }
    for (const auto& [where, value] : cells)
        if (const AnsiString fault = LineTextFault(where.X, value); !fault.empty()) {
            MessageDlg(fault + ": nothing was pasted.", mtError, {mbOk}, 0);
            return;
        }
    for (const auto& [where, value] : cells) {
        Grid1->SetCells(where.X, where.Y, value);
        AdjustRowHeight(where.Y);
    }
    DuplicatesChanged();
    FModified = true;
    Grid1->Invalidate();
}

// ---------------------------------------------------------------------------
// Rows

void TzxTransEditFrm::sbAddClick(TObject*) {
    if (!ActionNamed("acAddRow")->Enabled())
        return;
    if (ExtendedShown()) {
        AddExtendedRow();
        return;
    }
    Grid1->SetEditorMode(false);
    if (FFilterMode != 0)
        ApplyFilter(0);
    const Integer row = Grid1->RowCount();
    Grid1->SetRowCount(row + 1);
    Grid1->SetCells(0, row, " ");
    AdjustRowHeight(row);
    DuplicatesChanged();
    if (FFilterMode != 0)
        ApplyFilter(FFilterMode);
    Grid1->SetFixedRows(1);
    // The new row is the last one whether or not the filter shows it.
    Grid1->SetRow(Grid1->RowCount() - 1);
    Grid1->SetCol(0);
    FSortColumn = -1;
    Grid1->Invalidate();
}

void TzxTransEditFrm::sbDelClick(TObject* Sender) {
    const Integer current = Grid1->Row();
    if (!ActionNamed("acRemoveRow")->Enabled() || current == 0)
        return;
    if (ExtendedShown()) {
        RemoveExtendedRow(Sender);
        return;
    }
    Grid1->SetEditorMode(false);
    const AnsiString key = Grid1->Cells(0, current);
    if (MessageDlg("Delete selected row: \"" + key + "\"?", mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    // Un-filtering moves the rows: the row is found again by what it holds.
    std::vector<AnsiString> cells;
    for (Integer column = 0; column < Grid1->ColCount(); ++column)
        cells.push_back(Grid1->Cells(column, current));
    if (FFilterMode != 0)
        ApplyFilter(0);
    auto holds = [&](Integer ARow) {
        for (Integer column = 0; column < Grid1->ColCount(); ++column)
            if (Grid1->Cells(column, ARow) != cells[static_cast<std::size_t>(column)])
                return false;
        return true;
    };
    Integer row = 1;
    while (row < Grid1->RowCount() && !holds(row))
        ++row;
    if (row < Grid1->RowCount())
        DeleteGridRows(*Grid1, {row});
    AdjustRows();
    DuplicatesChanged();
    FModified = true;
    if (FFilterMode != 0)
        ApplyFilter(FFilterMode);
    Grid1->Invalidate();
}

void TzxTransEditFrm::sbClearClick(TObject*) {
    if (MessageDlg("Delete all information?", mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    Grid1->SetEditorMode(false);
    FModified = true;
    if (FFilterMode != 0)
        ApplyFilter(0);
    std::vector<Integer> rows;
    for (Integer row = 1; row < Grid1->RowCount(); ++row)
        rows.push_back(row);
    DeleteGridRows(*Grid1, rows);
    AdjustRows();
    DuplicatesChanged();
    Grid1->Invalidate();
}

void TzxTransEditFrm::acAddRowUpdate(TObject*) {
    CheckActions();
}

// ---------------------------------------------------------------------------
// Keys and header clicks

void TzxTransEditFrm::Grid1KeyDown(TObject* Sender, Integer& Key, TShiftState Shift) {
    CheckActions();
    // A popup opened from the keyboard works on the current cell.
    FPopupCell = TGridCoord{-1, -1};
    const bool none = Shift.Empty();
    const bool shiftOnly = Shift == TShiftState{ssShift};
    const bool ctrlOnly = Shift == TShiftState{ssCtrl};
    auto edit = [this](const char* ActionName) { EditExecute(ActionNamed(ActionName)); };
    if (Key == Key_Return) {
        Grid1DblClick(Sender);
    } else if (!Grid1->EditorMode() && Key == Key_Insert && (ctrlOnly || shiftOnly)) {
        // In a cell's editor these keys are the editor's own. Done here,
        // they go no further: the grid would open the cell's editor on them.
        edit(ctrlOnly ? "acEditCopy" : "acEditPaste");
        Key = 0;
    } else if (!Grid1->EditorMode() && Key == Key_Delete && (none || shiftOnly)) {
        edit(none ? "acEditDelete" : "acEditCut");
        Key = 0;
    } else if (Key == Key_Down && StringsShown() && Grid1->Row() == Grid1->RowCount() - 1) {
        Grid1->SetRowCount(Grid1->RowCount() + 1);
        Grid1->SetRow(Grid1->RowCount() - 1);
        FSortColumn = -1;
        Grid1->Invalidate();
    }
}

void TzxTransEditFrm::Grid1KeyUp(TObject*, Integer& Key, TShiftState) {
    if (Key != Key_Shift || Grid1->EditorMode() || !FGridEditable)
        return;
    TGridOptions options = Grid1->Options();
    options.Include(goEditing);
    Grid1->SetOptions(options);
}

void TzxTransEditFrm::Grid1MouseDown(TObject*, TMouseButton Button, TShiftState, Integer X,
                                     Integer Y) {
    Integer col = -1;
    Integer row = -1;
    Grid1->MouseToCell(X, Y, col, row);
    if (Button == mbRight) {
        FPopupCell = TGridCoord{col, row};
        return;
    }
    CheckActions();
    if (Y <= HeaderBand) {
        FPressedColumn = col;
        Grid1->Invalidate();
    }
}

void TzxTransEditFrm::Grid1MouseUp(TObject*, TMouseButton Button, TShiftState, Integer,
                                   Integer Y) {
    if (Button == mbRight)
        return;
    if (Y > 0 && Y <= HeaderBand && FPressedColumn >= 0) {
        SetTag(FPressedColumn + 1);
        SortColumn(this);
    }
    if (FPressedColumn != -1) {
        FPressedColumn = -1;
        Grid1->Invalidate();
    }
}

// ---------------------------------------------------------------------------
// Popups

void TzxTransEditFrm::popGridPopup(TObject*) {
    TGridCoord cell = FPopupCell;
    if (cell.X < 0 || cell.Y < 0)
        cell = TGridCoord{Grid1->Col(), Grid1->Row()};
    FPopupCell = TGridCoord{-1, -1};
    const bool fixed = cell.X < Grid1->FixedCols() || cell.Y < Grid1->FixedRows() ||
                       cell.X >= Grid1->ColCount() || cell.Y >= Grid1->RowCount();
    for (const char* name : {"pmiCut", "pmiCopy", "pmiDelete"})
        MenuItem(name)->SetEnabled(!fixed);
    MenuItem("pmiPaste")->SetEnabled(!fixed && Clipboard()->HasFormat("text/plain"));
    const TGridRect block = Grid1->Selection();
    const bool inBlock = cell.X >= block.Left && cell.X <= block.Right && cell.Y >= block.Top &&
                         cell.Y <= block.Bottom;
    // A click inside the selected block keeps the block for the commands.
    if (!fixed && !inBlock) {
        Grid1->SetCol(cell.X);
        Grid1->SetRow(cell.Y);
    }
    if (FFlags.Contains(sfRunTime))
        return;
    TMenuItem* exclude = MenuItem("pmiExclude");
    exclude->SetCaption(ExtendedShown() ? "R&emove..." : "&Exclude...");
    TakePopupNames(fixed ? 0 : cell.Y);
    const bool typeExcludable =
        ExtendedShown() || !TStringsTypes{stDlgsCaptions, stStrings, stLocales,
                                          stListView_TreeView_Items}
                                .Contains(FCurrentType);
    exclude->SetEnabled(!fixed && cell.Y > 0 && !Trim(FPopupComponent).empty() &&
                        !Trim(FPopupProperty).empty() && typeExcludable);
}

void TzxTransEditFrm::TakePopupNames(Integer ARow) {
    FPopupComponent.clear();
    FPopupProperty.clear();
    if (ARow <= 0)
        return;
    const AnsiString key = Grid1->Cells(0, ARow);
    const std::size_t point = key.find('.');
    if (point == AnsiString::npos) {
        // The type's property: stCaptions gives "Caption".
        const AnsiString kind = GetEnumName(TypeInfoOf(FCurrentType), FCurrentType);
        FPopupComponent = key;
        FPopupProperty = kind.substr(2, kind.size() - 3);
        return;
    }
    FPopupComponent = key.substr(0, point);
    FPopupProperty = key.substr(point + 1);
    if (!ExtendedShown() && FCurrentType == stCollections)
        FPopupProperty = FPopupProperty.substr(0, FPopupProperty.find('['));
}

void TzxTransEditFrm::pmiExcludeClick(TObject*) {
    if (!FExclActionForm)
        FExclActionForm = NewForm<TExclActionForm>(this);
    const bool extended = ExtendedShown();
    Grid1->SetEditorMode(false);
    UpdateProperty(FCurrentType, extended);
    const TExclActionResult action = FExclActionForm->Dialog(
        FPopupProperty, FPopupComponent, !extended && FCurrentType == stOtherStrings ? 2 : 0);
    if (action == eaUndefined) {
        RefreshGrid();
        return;
    }
    if (extended) {
        ExcludeExtendedRows(action);
        BuildExtendedTree(FWorkingCopy);
    } else if (action == eaOnlyProperty) {
        FWorkingCopy->SmartExcludeProps()->Add(FPopupComponent + "." + FPopupProperty);
        CheckSmartExcludes(FPopupComponent, FPopupProperty);
    } else if (action == eaNotTranslate) {
        FWorkingCopy->DoNotTranslate()->Add(FPopupComponent);
        CheckDontTranslate(FPopupComponent);
    } else {
        FWorkingCopy->ExcludedProperties()->Add(FPopupProperty);
        CheckExcludedProps();
    }
    BuildGrid(FCurrentType, extended);
    FModified = true;
    CallDummyOnSelectCell();
}

// The Extended tab only removes rows; the exclusion lists stay as they are.
void TzxTransEditFrm::ExcludeExtendedRows(TExclActionResult Action) {
    if (Action == eaOnlyProperty) {
        CheckSmartExcludes(FPopupComponent, FPopupProperty);
        return;
    }
    TzxExtendedItems* items = FWorkingCopy->ExtendedTranslations();
    for (Integer index = items->Count() - 1; index >= 0; --index) {
        const AnsiString identifier = items->Items(index)->GetIdentifier();
        const std::size_t point = identifier.find('.');
        const AnsiString component = identifier.substr(0, point);
        const AnsiString property =
            point == AnsiString::npos ? AnsiString() : identifier.substr(point + 1);
        if (Action == eaNotTranslate ? AnsiSameText(component, FPopupComponent)
                                     : AnsiSameText(property, FPopupProperty))
            delete items->Items(index);
    }
}

void TzxTransEditFrm::popInplacePopup(TObject*) {
    MenuItem("Propagate1")->SetEnabled(FComboRow == 1);
}

void TzxTransEditFrm::Propagate1Click(TObject*) {
    if (ExtendedShown() || (FCurrentType != stFonts && FCurrentType != stCharSets))
        return;
    const AnsiString what = FCurrentType == stFonts ? "Font Name" : "Charset";
    if (MessageDlg("Propagate \"" + what + "\" to all child items?", mtConfirmation, mbYesNo, 0) !=
        mrYes)
        return;
    const Integer column = Grid1->Col();
    for (Integer row = 2; row < Grid1->RowCount(); ++row)
        Grid1->SetCells(column, row, Grid1->Cells(column, 1));
    FModified = true;
    Grid1->Invalidate();
}

// The in-place combo's cell loses its value, so that the language takes
// the default.
void TzxTransEditFrm::miClearFieldClick(TObject*) {
    if (!FInplaceCombo)
        return;
    Grid1->SetCells(FComboCol, FComboRow, AnsiString());
    FInplaceCombo->SetItemIndex(-1);
    FInplaceCombo->SetText(AnsiString());
    FModified = true;
}

// ---------------------------------------------------------------------------
// Menu commands

void TzxTransEditFrm::TreeViewCollapsing(TObject*, TTreeNode*, bool& AllowCollapse) {
    AllowCollapse = false;
}

void TzxTransEditFrm::miExcludeBlanksClick(TObject*) {
    if (ExtendedShown() || !MenuItem("miExcludeBlanks")->Enabled())
        return;
    if (MessageDlg("This will exclude all components with empty rows. Continue?", mtConfirmation,
                   mbYesNo, 0) != mrYes)
        return;
    Grid1->SetEditorMode(false);
    UpdateProperty(FCurrentType, false);
    TStrings* excludes = FWorkingCopy->SmartExcludeProps();
    const AnsiString typeName = TypeName(FCurrentType);
    const AnsiString property = typeName.substr(0, typeName.size() - 1);
    // The keys of these types already name the component and the property.
    const bool keyedByProperty = FCurrentType == stOtherStrings || FCurrentType == stMultiLines;
    for (Integer row = Grid1->RowCount() - 1; row >= 1; --row) {
        const AnsiString key = Grid1->Cells(0, row);
        bool blank = !key.empty();
        for (Integer column = 1; column < Grid1->ColCount() && blank; ++column)
            blank = Trim(Grid1->Cells(column, row)).empty();
        if (!blank)
            continue;
        if (keyedByProperty) {
            excludes->Add(key);
            const std::size_t point = key.find('.');
            if (point != AnsiString::npos)
                CheckSmartExcludes(key.substr(0, point), key.substr(point + 1));
        } else {
            excludes->Add(key + "." + property);
            CheckSmartExcludes(key, property);
        }
        FModified = true;
    }
    BuildGrid(FCurrentType, false);
}

void TzxTransEditFrm::Highlightduplicates1Click(TObject*) {
    TMenuItem* item = MenuItem("Highlightduplicates1");
    item->SetChecked(!item->Checked());
    SetHighlightDuplicates(item->Checked());
}

void TzxTransEditFrm::acStringsFindInSourceExecute(TObject*) {
    if (!NavigateToSource)
        return;
    const AnsiString id = Trim(Grid1->Cells(0, Grid1->Row()));
    if (id.empty())
        return;
    if (NavigateToSource(id, false)) {
        FSourceID = id;
        Close();
        return;
    }
    // Closing later must not move the source editor to an identifier that
    // was not found.
    FSourceID.clear();
    MessageDlg("Unable to locate strings identifier in unit source!", mtError, {mbOk}, 0);
}

void TzxTransEditFrm::About1Click(TObject* Sender) {
    if (ShowAboutBox)
        ShowAboutBox(Sender);
}
