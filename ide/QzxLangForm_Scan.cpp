// The expert window's source conversion: the unit is read through the IDE,
// its literals found and reviewed, and the unit rewritten through the
// IDE's undoable writer as one edit.
#include "ide/QzxLangForm.h"

#include "editor/Q_splash.h"
#include "ide/Q_scan.h"
#include "ide/Q_selunit.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxLangScan.h"
#include "runtime/QzxComp.h"

#include <algorithm>
#include <map>

namespace {

const char* const NoStringsFound = "No strings found in the source!";
const char* const SourceTranslated =
    "Source file translated. All string constants added to \"Strings\" property.";
const char* const NoComponent =
    "The form %s has no translation component: the source was not converted.";
const char* const UnitChanged =
    "The unit changed while its strings were reviewed: nothing was converted.";
const char* const NoFormsWithComponent =
    "No forms found with TzxLang! Double click on the form to insert TzxLang.";
const char* const UnitNotInProject = "The unit %s is not one of the project's units.";
const char* const Titles[] = {"String ID:", "String constant:", "Will be replaced by:",
                              "Source line:"};
constexpr char ItemSeparator = '\1';

void Inform(const AnsiString& Message) {
    NoSplash();
    MessageDlg(Message, mtInformation, {mbOk}, 0);
}

void Refuse(const AnsiString& Message) {
    NoSplash();
    MessageDlg(Message, mtError, {mbOk}, 0);
}

TScanSettings ScanSettingsOf(const TzxLangExpert& Expert) {
    TScanSettings settings;
    settings.HCPrefix = Expert.HCPrefix;
    settings.ReplaceMethod = Expert.ReplaceMethod;
    settings.IgnorableLength = Expert.IgnorableLength;
    settings.SkipLines = Expert.SkipLines.get();
    settings.IsExcluded = [&Expert](const AnsiString& Value) { return Expert.IsExcludeString(Value); };
    return settings;
}

AnsiString LanguageOneText(TzxCustomLang& Lang, const AnsiString& ID) {
    return UTF8Encode(Lang.GetStringValue(*Lang.Strings(), UTF8Decode(ID), 1));
}

// Identifier by language-1 text (case counts), the first line's.
std::map<AnsiString, AnsiString> IdentifiersByText(TzxCustomLang& Lang) {
    std::map<AnsiString, AnsiString> byText;
    for (Integer index = 0; index < Lang.Strings()->Count(); ++index) {
        const AnsiString id = UTF8Encode(Lang.GetStringID(index));
        byText.emplace(LanguageOneText(Lang, id), id);
    }
    return byText;
}

// The review's grid filled with the found literals: a text the component
// already holds takes its identifier, a repeated text its first row's, any
// other a new one.
void FillReview(TfrmFound& Review, const std::vector<TFoundLiteral>& Found,
                const TScanSettings& Settings, TzxCustomLang& Lang) {
    TStringList used;
    used.SetSorted(true);
    used.SetCaseSensitive(false);
    for (Integer index = 0; index < Lang.Strings()->Count(); ++index)
        used.Add(UTF8Encode(Lang.GetStringID(index)));
    std::map<AnsiString, AnsiString> idOf = IdentifiersByText(Lang);
    Integer counter = -1;
    TStringGrid* grid = Review.sgStrings;
    grid->SetRowCount(static_cast<Integer>(Found.size()) + 1);
    for (Integer col = 0; col < 4; ++col)
        grid->SetCells(col, 0, Titles[col]);
    Integer row = 1;
    for (const TFoundLiteral& literal : Found) {
        auto known = idOf.find(literal.Value);
        const AnsiString id = known != idOf.end()
                                  ? known->second
                                  : idOf[literal.Value] = NextStringID(Settings.HCPrefix, counter, used);
        grid->SetCells(0, row, id);
        grid->SetCells(1, row, literal.Value);
        grid->SetCells(2, row, ReplacementText(literal, id, Settings));
        grid->SetCells(3, row, literal.Line);
        Review.Positions->Add(IntToStr(static_cast<Integer>(literal.Start) + 1));
        ++row;
    }
}

// The rows left after the review, as rewrites in source order: offset of
// the opening quote, its span, the replacement.
struct TRewrite {
    std::size_t Start;
    std::size_t Length;
    AnsiString Text;
};

std::vector<TRewrite> RewritesOf(const TfrmFound& Review, const std::map<Integer, std::size_t>& Spans) {
    std::vector<TRewrite> rewrites;
    for (Integer row = 1; TfrmFound::HasRows(Review.sgStrings) && row < Review.sgStrings->RowCount(); ++row) {
        const Integer position = StrToInt(Review.Positions->Get(row));
        rewrites.push_back({static_cast<std::size_t>(position - 1), Spans.at(position),
                            Review.sgStrings->Cells(2, row)});
    }
    std::sort(rewrites.begin(), rewrites.end(),
              [](const TRewrite& A, const TRewrite& B) { return A.Start < B.Start; });
    return rewrites;
}

void AddNewStrings(const TfrmFound& Review, TzxCustomLang& Lang) {
    TStringList items;
    items.SetSorted(true);
    items.SetDuplicates(dupIgnore);
    std::map<AnsiString, bool> added;
    for (Integer row = 1; TfrmFound::HasRows(Review.sgStrings) && row < Review.sgStrings->RowCount(); ++row) {
        const AnsiString id = Review.sgStrings->Cells(0, row);
        if (Lang.GetIDIndex(UTF8Decode(id)) < 0 && !added[UpperCase(id)]) {
            added[UpperCase(id)] = true;
            items.Add(id + ItemSeparator + Review.sgStrings->Cells(1, row));
        }
    }
    for (Integer index = 0; index < items.Count(); ++index) {
        const AnsiString item = items.Get(index);
        const std::size_t split = item.find(ItemSeparator);
        Lang.AddString(UTF8Decode(item.substr(0, split)), {UTF8Decode(item.substr(split + 1))});
    }
}

} // namespace

bool TzxLangExpert::IsExcludeString(const AnsiString& Value) const {
    if (SkipWords->IndexOf(Value) >= 0)
        return true;
    return std::all_of(Value.begin(), Value.end(),
                       [this](char Ch) { return ExcludeChars.find(Ch) != AnsiString::npos; });
}

void TfrmzxLang::DoScanReplace(const AnsiString& FormName, const AnsiString& UnitFile, bool ConstMode) {
    TListItem* row = FormRow(FormName);
    if (!FzxLangExpert || !row)
        return;
    const AnsiString fileName = UnitFile.empty() ? RowText(row, rtFileName) : UnitFile;
    if (UnitFile.empty() && !FzxLangExpert->OpenFile(fileName))
        return;
    TzxCustomLang* lang = GetzxLang(FormName);
    if (!lang) {
        Refuse(Format(NoComponent, {FormName}));
        return;
    }
    const AnsiString text = FzxLangExpert->GetUnitSource(fileName);
    if (text.empty())
        return;
    try {
        if (!ConstMode)
            ReplaceLiterals(FormName, fileName, text, *lang);
    } catch (...) {
        NoSplash();
        Screen->SetCursor(crDefault);
        throw;
    }
    NoSplash();
    Screen->SetCursor(crDefault);
}

void TfrmzxLang::ReplaceLiterals(const AnsiString& FormName, const AnsiString& FileName,
                                 const AnsiString& Text, TzxCustomLang& Lang) {
    Splash("Scanning...", 0);
    const TScanSettings settings = ScanSettingsOf(*FzxLangExpert);
    TScanTarget target;
    target.FormName = FormName;
    TComponent* root = FormRootByName(FormName);
    target.FormClassName = root ? root->ClassName() : "T" + FormName;
    target.FormUnitName = RowText(FormRow(FormName), rtUnitName);
    target.ComponentName = Lang.Name();
    target.AddFormName = FzxLangExpert->AddFormName;
    std::vector<TFoundLiteral> found;
    TStringList skipped;
    std::map<Integer, std::size_t> spans;
    for (TFoundLiteral& literal : ScanLiterals(Text, settings, target)) {
        if (literal.Skipped()) {
            skipped.Add(Trim(literal.Line));
            continue;
        }
        spans[static_cast<Integer>(literal.Start) + 1] = literal.Length;
        found.push_back(std::move(literal));
    }
    if (found.empty()) {
        Inform(NoStringsFound);
        return;
    }
    Splash("Verifying found strings...", 0);
    TStringList positions;
    positions.Add("Position:");
    std::unique_ptr<TfrmFound> review(NewForm<TfrmFound>(Application));
    review->Positions = &positions;
    review->ExistingText = [&Lang](const AnsiString& ID, AnsiString& Value) {
        if (Lang.GetIDIndex(UTF8Decode(ID)) < 0)
            return false;
        Value = LanguageOneText(Lang, ID);
        return true;
    };
    FillReview(*review, found, settings, Lang);
    review->SetSkipped(skipped);
    NoSplash();
    if (review->ShowModal() != mrOk)
        return;
    // The review is modal but the IDE is not: what was read must still be
    // what is written over.
    if (FzxLangExpert->GetUnitSource(FileName) != Text) {
        Refuse(UnitChanged);
        return;
    }
    Splash("Modifying source...", 1);
    if (_di_IOTASourceEditor editor = FzxLangExpert->GetSourceEditorFromFileName(FileName)) {
        _di_IOTAEditWriter writer = editor->CreateUndoableWriter();
        for (const TRewrite& rewrite : RewritesOf(*review, spans)) {
            writer->CopyTo(static_cast<Integer>(rewrite.Start));
            writer->DeleteTo(static_cast<Integer>(rewrite.Start + rewrite.Length));
            writer->Insert(rewrite.Text.c_str());
        }
    }
    AddNewStrings(*review, Lang);
    FzxLangExpert->MarkModifiedForm(FormName);
    Inform(SourceTranslated);
}

// ---------------------------------------------------------------------------
// The commands

void TfrmzxLang::Translatesource1Click(TObject*) {
    TListItems* rows = lvFormNames->Items();
    std::vector<TListItem*> selected;
    for (Integer index = 0; index < rows->Count(); ++index)
        if (rows->Item(index)->Selected())
            selected.push_back(rows->Item(index));
    for (TListItem* row : selected) {
        try {
            InsertTzxLang(row);
        } catch (const Exception&) {
            // The form keeps the component it has; the scan tells when none.
        }
        DoScanReplace(row->Caption(), AnsiString(), false);
    }
}

void TfrmzxLang::TranslateUnit1Click(TObject*) {
    if (!FzxLangExpert)
        return;
    std::unique_ptr<TfrmTranslUnits> chooser(NewForm<TfrmTranslUnits>(Application));
    chooser->lbUnits->Items()->Assign(FzxLangExpert->ProjectUnitNames.get());
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        if (RowHasComponent(rows->Item(index)))
            chooser->cbFormNames->Items()->Add(rows->Item(index)->Caption());
    if (chooser->cbFormNames->Items()->Count() == 0) {
        Refuse(NoFormsWithComponent);
        return;
    }
    if (chooser->ShowModal() != mrOk)
        return;
    const Integer unit = FzxLangExpert->ProjectUnitNames->IndexOf(chooser->UnitName);
    if (unit < 0 || unit >= FzxLangExpert->ProjectUnitFiles->Count()) {
        Refuse(Format(UnitNotInProject, {chooser->UnitName}));
        return;
    }
    const AnsiString fileName = FzxLangExpert->ProjectUnitFiles->Get(unit);
    if (UpperCase(ExtractFileExt(fileName)) == ".DPR" || FzxLangExpert->OpenFile(fileName))
        DoScanReplace(chooser->FormName, fileName, false);
}
