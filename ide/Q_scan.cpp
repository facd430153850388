#include "ide/Q_scan.h"

#include "clx/Dialogs.h"
#include "editor/FormData.h"
#include "rtl/Filer.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxLangScan.h"
#include "runtime/QRegistry.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxComp_Text.h"

#include <algorithm>
#include <map>

std::string_view FormData_Q_scan();
std::string_view FormData_Q_scan_prompt();

namespace {

const char* const ExpertCaption = "TzxLang Expert";
const char* const StorageKey = "\\Software\\Borland\\TzxLang\\FoundStrings";
const char* const RowsSelected = "There are some row(s) selected. Continue?";
const char* const ApplyWarning = "This will apply changes and modify source code. Continue?";
const char* const StartIDNotInteger = "For automatic generation start ID shall be integer!";
const char* const DeleteRowsPrompt =
    "Type string which is included in rows which should be deleted:";
const char* const ExcludeQuestion =
    "Exclude all \"%s\" and add it to Skip Words for future skipping?";
const char* const BadIdentifier =
    "The identifier \"%s\" may hold only letters, digits and \"_\".";
const char* const IdentifierClash =
    "The identifier \"%s\" already stands for \"%s\": row %d would show that text instead of "
    "\"%s\". Continue?";
const char* const HelpText =
    "Each row is a string the converter found. Edit the identifier (first column) or the "
    "replacement (third column), delete rows that should stay as they are (Ctrl+click and "
    "Shift+click mark rows), restore them from the deleted view, renumber identifiers with "
    "Start ID, and exclude a text from every later scan. Modify Source rewrites the unit "
    "as one undoable edit.";
constexpr char ColumnSeparator = '\1';
enum { ColID, ColText, ColReplacement, ColSource };

bool Confirmed(const AnsiString& Message, TMsgDlgType Type = mtConfirmation) {
    return MessageDlg(Message, Type, {mbYes, mbNo}, 0) == mrYes;
}

Integer DataRows(const TStringGrid* Grid) {
    return TfrmFound::HasRows(Grid) ? Grid->RowCount() - 1 : 0;
}

void CopyRow(const TStringGrid* From, Integer FromRow, TStringGrid* To, Integer ToRow) {
    for (Integer col = 0; col < From->ColCount(); ++col)
        To->SetCells(col, ToRow, From->Cells(col, FromRow));
}

// Takes the row out; the last data row is only emptied.
void RemoveRow(TStringGrid* Grid, Integer Row) {
    if (Grid->RowCount() > 2) {
        Grid->DeleteRow(Row);
        return;
    }
    for (Integer col = 0; col < Grid->ColCount(); ++col)
        Grid->SetCells(col, Row, AnsiString());
}

// A place for one more data row: the emptied last row, else a new one at
// Row.
Integer OpenRow(TStringGrid* Grid, Integer Row) {
    if (!TfrmFound::HasRows(Grid))
        return 1;
    Grid->InsertRow(Row);
    return Row;
}

} // namespace

void TfrmExcludeStr::AfterConstruction() {
    RegisterClxClasses();
    if (!GetClass("TfrmExcludeStr"))
        RegisterClass(TfrmExcludeStr::StaticClass());
    ReadFormData(FormData_Q_scan_prompt(), this);
    lbPrompt = FormControl<TLabel>(this, "lbPrompt");
    cbText = FormControl<TComboBox>(this, "cbText");
    TForm::AfterConstruction();
}

void TfrmFound::AfterConstruction() {
    RegisterClxClasses();
    InitQzxComp();
    if (!GetClass("TfrmFound")) {
        RegisterClass(TfrmFound::StaticClass());
        RegisterMethod("sgStringsSetEditText", &TfrmFound::sgStringsSetEditText);
        RegisterMethod("FormCreate", &TfrmFound::FormCreate);
        RegisterMethod("FormClose", &TfrmFound::FormClose);
        RegisterMethod("FormShow", &TfrmFound::FormShow);
        RegisterMethod("btOKClick", &TfrmFound::btOKClick);
        RegisterMethod("tbtCancelClick", &TfrmFound::tbtCancelClick);
        RegisterMethod("btDeleteClick", &TfrmFound::btDeleteClick);
        RegisterMethod("Markfordelete1Click", &TfrmFound::Markfordelete1Click);
        RegisterMethod("Invertselection1Click", &TfrmFound::Invertselection1Click);
        RegisterMethod("sgStringsMouseDown", &TfrmFound::sgStringsMouseDown);
        RegisterMethod("sgStringsSelectCell", &TfrmFound::sgStringsSelectCell);
        RegisterMethod("sgStringsDrawCell", &TfrmFound::sgStringsDrawCell);
        RegisterMethod("PopupMenu1Popup", &TfrmFound::PopupMenu1Popup);
        RegisterMethod("StartID1Click", &TfrmFound::StartID1Click);
        RegisterMethod("TypecasttoPChar1Click", &TfrmFound::TypecasttoPChar1Click);
        RegisterMethod("Deleterowsthatcontain1Click", &TfrmFound::Deleterowsthatcontain1Click);
        RegisterMethod("tbtExcludeClick", &TfrmFound::tbtExcludeClick);
        RegisterMethod("tbtSwitchViewClick", &TfrmFound::tbtSwitchViewClick);
        RegisterMethod("tbtRestoreClick", &TfrmFound::tbtRestoreClick);
        RegisterMethod("sbHelpClick", &TfrmFound::sbHelpClick);
    }
    FMarkedRows = std::make_unique<TStringList>();
    ReadFormData(FormData_Q_scan(), this);
    sgStrings = FormControl<TStringGrid>(this, "sgStrings");
    sgDeleted = FormControl<TStringGrid>(this, "sgDeleted");
    tbtOK = FormControl<TToolButton>(this, "tbtOK");
    tbtDelete = FormControl<TToolButton>(this, "tbtDelete");
    tbtID = FormControl<TToolButton>(this, "tbtID");
    tbtSwitchView = FormControl<TToolButton>(this, "tbtSwitchView");
    tbtRestore = FormControl<TToolButton>(this, "tbtRestore");
    tbtExclude = FormControl<TToolButton>(this, "tbtExclude");
    StatusBar1 = FormControl<TStatusBar>(this, "StatusBar1");
    StartID1 = FormControl<TMenuItem>(this, "StartID1");
    Delete1 = FormControl<TMenuItem>(this, "Delete1");
    Deleterowsthatcontain1 = FormControl<TMenuItem>(this, "Deleterowsthatcontain1");
    TForm::AfterConstruction();
}

bool TfrmFound::HasRows(const TStringGrid* Grid) {
    if (Grid->RowCount() < 2)
        return false;
    for (Integer col = 0; col < Grid->ColCount(); ++col)
        if (!Grid->Cells(col, 1).empty())
            return true;
    return false;
}

void TfrmFound::SetSkipped(const TStrings& Lines) {
    TStatusPanel* panel = StatusBar1->Panels()->Items(3);
    panel->SetText(Lines.Count() ? Format("Skipped strings: %d", {Lines.Count()}) : AnsiString());
    StatusBar1->SetHint(Lines.Text());
}

void TfrmFound::SetExcludeRowsTypedStr(const AnsiString& Value) {
    FExcludeRowsTypedStr = Value;
    TRegistry settings(this);
    settings.OpenKey(StorageKey, true);
    settings.WriteString("ExcludeRowsTypedStr", Value);
}

// ---------------------------------------------------------------------------
// Rows

void TfrmFound::sgStringsSetEditText(TObject*, Integer ACol, Integer ARow, const AnsiString& Value) {
    if (ACol == ColID && ARow > 0 && ARow < sgStrings->RowCount())
        sgStrings->SetCells(ColReplacement, ARow,
                            WithIdentifier(sgStrings->Cells(ColReplacement, ARow), Value));
}

void TfrmFound::DeleteRow(Integer ARow, bool KeepDeleted) {
    const AnsiString position = Positions ? Positions->Get(ARow) : AnsiString();
    if (KeepDeleted) {
        const bool first = !HasRows(sgDeleted);
        const Integer target = first ? 1 : sgDeleted->RowCount();
        if (!first)
            sgDeleted->SetRowCount(target + 1);
        CopyRow(sgStrings, ARow, sgDeleted, target);
        if (first)
            FDeletedPositions.clear();
        FDeletedPositions.push_back(position);
    }
    if (Positions)
        Positions->Delete(ARow);
    const bool wasLast = ARow == sgStrings->RowCount() - 1;
    RemoveRow(sgStrings, ARow);
    if (wasLast && ARow > 1)
        sgStrings->SetRow(ARow - 1);
    UpdateButtons();
    UpdateStatusBar();
}

bool TfrmFound::IsMarked(Integer ARow) const { return FMarkedRows->IndexOf(IntToStr(ARow)) >= 0; }

void TfrmFound::MarkRow(Integer ARow) {
    const Integer index = FMarkedRows->IndexOf(IntToStr(ARow));
    if (index >= 0)
        FMarkedRows->Delete(index);
    else
        FMarkedRows->Add(IntToStr(ARow));
    sgStrings->Invalidate();
    UpdateStatusBar();
}

void TfrmFound::ClearMarks() {
    FMarkedRows->Clear();
    sgStrings->Invalidate();
}

std::vector<Integer> TfrmFound::TargetRows() const {
    std::vector<Integer> rows;
    for (Integer index = 0; index < FMarkedRows->Count(); ++index)
        rows.push_back(StrToInt(FMarkedRows->Get(index)));
    if (rows.empty() && HasRows(sgStrings))
        rows.push_back(sgStrings->Row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfrmFound::UpdateStatusBar() {
    TStatusPanels* panels = StatusBar1->Panels();
    panels->Items(0)->SetText(Format("Found strings: %d", {DataRows(sgStrings)}));
    panels->Items(1)->SetText(Format("Deleted strings: %d", {DataRows(sgDeleted)}));
    panels->Items(2)->SetText(Format("Selected rows: %d", {FMarkedRows->Count()}));
}

void TfrmFound::UpdateButtons() {
    const bool foundShown = sgStrings->Visible();
    tbtSwitchView->SetCaption(foundShown ? "Deleted" : "Found");
    tbtSwitchView->SetHint(foundShown ? "Shows deleted rows" : "Shows found rows");
    tbtSwitchView->SetEnabled(HasRows(sgDeleted) || !foundShown);
    tbtRestore->SetVisible(!foundShown);
    const bool editing = foundShown && HasRows(sgStrings);
    for (TToolButton* button : {tbtOK, tbtDelete, tbtID, tbtExclude})
        button->SetEnabled(editing);
    sgStrings->SetEnabled(HasRows(sgStrings));
    sgDeleted->SetEnabled(HasRows(sgDeleted));
}

// ---------------------------------------------------------------------------
// Life cycle

void TfrmFound::FormCreate(TObject*) {
    TRegistry settings(this);
    settings.OpenKey(StorageKey, true);
    FExcludeRowsTypedStr = settings.ReadString("ExcludeRowsTypedStr");
    const AnsiString widths = settings.ReadString("GridCols");
    for (Integer col = 0; col < sgStrings->ColCount(); ++col) {
        Integer width = 0;
        const AnsiString word = ExtractWord(col + 1, widths, {ColumnSeparator});
        sgStrings->SetColWidths(col, TryStrToInt(word, width) && width > 0
                                         ? width
                                         : sgStrings->DefaultColWidth());
    }
}

void TfrmFound::FormClose(TObject*, TCloseAction&) {
    AnsiString widths;
    for (Integer col = 0; col < sgStrings->ColCount(); ++col)
        widths += IntToStr(sgStrings->ColWidths(col)) + ColumnSeparator;
    TRegistry settings(this);
    settings.OpenKey(StorageKey, true);
    settings.WriteString("GridCols", widths);
}

void TfrmFound::FormShow(TObject*) {
    // The grids have no fixed column: the identifier column is the first
    // one shown.
    for (TStringGrid* grid : {sgStrings, sgDeleted})
        grid->SetLeftCol(0);
    sgDeleted->SetRowCount(2);
    sgDeleted->SetColCount(sgStrings->ColCount());
    CopyRow(sgStrings, 0, sgDeleted, 0);
    tbtID->SetVisible(!ConstMode);
    StartID1->SetVisible(!ConstMode);
    UpdateButtons();
    UpdateStatusBar();
}

// ---------------------------------------------------------------------------
// Commands

void TfrmFound::btOKClick(TObject*) {
    if (FMarkedRows->Count() && !Confirmed(RowsSelected))
        return;
    if (!IdentifiersAccepted() || !Confirmed(ApplyWarning, mtWarning))
        return;
    SetModalResult(mrOk);
}

// An identifier is written into code and a strings line: only identifier
// characters. One that already stands for another text would show that
// text in place of the row's: the user decides.
bool TfrmFound::IdentifiersAccepted() {
    std::map<AnsiString, AnsiString> textOf;
    for (Integer row = 1; row <= DataRows(sgStrings); ++row) {
        const AnsiString id = sgStrings->Cells(ColID, row);
        if (!IsValidStringID(id)) {
            MessageDlg(Format(BadIdentifier, {id}), mtError, {mbOk}, 0);
            return false;
        }
        if (ConstMode)
            continue;
        const AnsiString text = sgStrings->Cells(ColText, row);
        AnsiString existing;
        const bool known = textOf.count(UpperCase(id)) || (ExistingText && ExistingText(id, existing));
        if (textOf.count(UpperCase(id)))
            existing = textOf[UpperCase(id)];
        else
            textOf[UpperCase(id)] = text;
        if (known && existing != text &&
            !Confirmed(Format(IdentifierClash, {id, existing, row, text}), mtWarning))
            return false;
    }
    return true;
}

void TfrmFound::tbtCancelClick(TObject*) { SetModalResult(mrCancel); }

void TfrmFound::btDeleteClick(TObject*) {
    if (!HasRows(sgStrings))
        return;
    if (FMarkedRows->Count() == 0) {
        const Integer row = sgStrings->Row();
        if (Confirmed("Delete selected row (" + sgStrings->Cells(ColID, row) + ")?"))
            DeleteRow(row, true);
        return;
    }
    if (!Confirmed("Delete selected rows?"))
        return;
    const std::vector<Integer> rows = TargetRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        DeleteRow(*row, true);
    ClearMarks();
    UpdateStatusBar();
}

void TfrmFound::Markfordelete1Click(TObject*) {
    if (HasRows(sgStrings))
        MarkRow(sgStrings->Row());
}

void TfrmFound::Invertselection1Click(TObject*) {
    for (Integer row = 1; row <= DataRows(sgStrings); ++row)
        MarkRow(row);
}

void TfrmFound::sgStringsMouseDown(TObject*, TMouseButton, TShiftState Shift, Integer X, Integer Y) {
    Integer col = 0;
    Integer row = 0;
    sgStrings->MouseToCell(X, Y, col, row);
    if (row < 1 || row > DataRows(sgStrings))
        return;
    if (Shift.Contains(ssCtrl)) {
        MarkRow(row);
    } else if (Shift.Contains(ssShift) && FMarkedRows->Count()) {
        const Integer first = StrToInt(FMarkedRows->Get(0));
        ClearMarks();
        for (Integer each = std::min(first, row); each <= std::max(first, row); ++each)
            MarkRow(each);
    }
}

void TfrmFound::sgStringsSelectCell(TObject*, Integer ACol, Integer, bool&) {
    TGridOptions options = sgStrings->Options();
    if (ACol == ColID || ACol == ColReplacement)
        options.Include(goEditing);
    else
        options.Exclude(goEditing);
    sgStrings->SetOptions(options);
}

void TfrmFound::sgStringsDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect,
                                  TGridDrawState State) {
    auto* grid = static_cast<TStringGrid*>(Sender);
    TCanvas* canvas = grid->Canvas();
    const bool marked = grid == sgStrings && ARow > 0 && IsMarked(ARow);
    if (State.Contains(gdFixed))
        canvas->Brush()->SetColor(clButton);
    else
        canvas->Brush()->SetColor(marked ? clHighlight : clBase);
    canvas->Font()->SetColor(marked ? clHighlightedText : clText);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(Rect);
    canvas->TextRect(Rect, Rect.Left + 2, Rect.Top + 1, grid->Cells(ACol, ARow));
}

void TfrmFound::PopupMenu1Popup(TObject*) {
    Delete1->SetEnabled(tbtDelete->Enabled());
    Deleterowsthatcontain1->SetEnabled(tbtDelete->Enabled());
    StartID1->SetEnabled(tbtID->Enabled());
}

void TfrmFound::StartID1Click(TObject*) {
    if (ConstMode || !HasRows(sgStrings) || !FzxLangExpert)
        return;
    const AnsiString prefix = FzxLangExpert->HCPrefix;
    const AnsiString first = sgStrings->Cells(ColID, 1);
    const AnsiString current =
        AnsiSameText(first.substr(0, prefix.size()), prefix) ? first.substr(prefix.size()) : first;
    AnsiString answer = current;
    if (!InputQuery(ExpertCaption, "Input start ID (" + prefix + "):", answer) || answer == current)
        return;
    Integer next = 0;
    if (!TryStrToInt(Trim(answer), next)) {
        MessageDlg(StartIDNotInteger, mtError, {mbOk}, 0);
        return;
    }
    std::vector<Integer> rows = TargetRows();
    if (FMarkedRows->Count() == 0) {
        rows.clear();
        for (Integer row = 1; row <= DataRows(sgStrings); ++row)
            rows.push_back(row);
    }
    std::map<AnsiString, AnsiString> renamed;
    for (Integer row : rows) {
        const AnsiString old = sgStrings->Cells(ColID, row);
        if (!renamed.count(old))
            renamed[old] = prefix + IntToStr(next++);
        sgStrings->SetCells(ColID, row, renamed[old]);
        sgStringsSetEditText(sgStrings, ColID, row, renamed[old]);
    }
}

void TfrmFound::TypecasttoPChar1Click(TObject*) {
    for (Integer row : TargetRows())
        sgStrings->SetCells(ColReplacement, row,
                            TypecastToPChar(sgStrings->Cells(ColReplacement, row)));
}

AnsiString TfrmFound::GetExcludeStr(const AnsiString& Prompt, const AnsiString& ACaption) {
    std::unique_ptr<TfrmExcludeStr> prompt(NewForm<TfrmExcludeStr>(this));
    prompt->SetCaption(ACaption);
    prompt->lbPrompt->SetCaption(Prompt);
    if (!FExcludeRowsTypedStr.empty())
        prompt->cbText->Items()->Add(FExcludeRowsTypedStr);
    prompt->cbText->SetText(FExcludeRowsTypedStr);
    if (prompt->ShowModal() != mrOk)
        return AnsiString();
    SetExcludeRowsTypedStr(prompt->cbText->Text());
    return prompt->cbText->Text();
}

void TfrmFound::Deleterowsthatcontain1Click(TObject*) {
    const AnsiString text = GetExcludeStr(DeleteRowsPrompt, ExpertCaption);
    if (text.empty())
        return;
    ClearMarks();
    for (Integer row = DataRows(sgStrings); row >= 1; --row)
        if (sgStrings->Cells(ColText, row).find(text) != AnsiString::npos)
            DeleteRow(row, true);
}

void TfrmFound::tbtExcludeClick(TObject*) {
    if (!HasRows(sgStrings))
        return;
    const AnsiString text = sgStrings->Cells(ColText, sgStrings->Row());
    if (!Confirmed(Format(ExcludeQuestion, {text}), mtWarning))
        return;
    ClearMarks();
    for (Integer row = DataRows(sgStrings); row >= 1; --row)
        if (AnsiSameText(sgStrings->Cells(ColText, row), text))
            DeleteRow(row, false);
    if (!FzxLangExpert)
        return;
    TStringList words;
    words.Assign(FzxLangExpert->SkipWords.get());
    words.Add(text);
    FzxLangExpert->SetSkipWords(&words);
}

void TfrmFound::tbtSwitchViewClick(TObject*) {
    const bool foundShown = sgStrings->Visible();
    TStringGrid* shown = foundShown ? sgStrings : sgDeleted;
    TStringGrid* next = foundShown ? sgDeleted : sgStrings;
    for (Integer col = 0; col < shown->ColCount(); ++col)
        next->SetColWidths(col, shown->ColWidths(col));
    shown->SetVisible(false);
    next->SetVisible(true);
    UpdateButtons();
    UpdateStatusBar();
}

Integer TfrmFound::RestorePlace(const AnsiString& Position) const {
    const Integer rows = DataRows(sgStrings);
    if (!Positions)
        return rows + 1;
    const Integer position = StrToIntDef(Position, 0);
    for (Integer row = 1; row <= rows; ++row)
        if (StrToIntDef(Positions->Get(row), 0) > position)
            return row;
    return rows + 1;
}

void TfrmFound::tbtRestoreClick(TObject*) {
    if (!HasRows(sgDeleted))
        return;
    const TGridRect selection = sgDeleted->Selection();
    const Integer top = std::max(1, selection.Top);
    const Integer bottom = std::min(selection.Bottom, sgDeleted->RowCount() - 1);
    for (Integer row = bottom; row >= top; --row) {
        const AnsiString position = FDeletedPositions[static_cast<std::size_t>(row - 1)];
        const Integer place = OpenRow(sgStrings, RestorePlace(position));
        CopyRow(sgDeleted, row, sgStrings, place);
        if (Positions)
            Positions->Insert(place, position);
        RemoveRow(sgDeleted, row);
        FDeletedPositions.erase(FDeletedPositions.begin() + (row - 1));
    }
    if (!HasRows(sgDeleted))
        tbtSwitchViewClick(this);
    UpdateButtons();
    UpdateStatusBar();
}

void TfrmFound::sbHelpClick(TObject*) { MessageDlg(HelpText, mtInformation, {mbOk}, 0); }
