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
const char* const NoConstants = "There are no strings in CONST section!";
const char* const NotInUses =
    "%s does not use %s: the form cannot fill its constants, nothing was converted.";
const char* const NoUpdateStrings =
    "%s has no method UpdateStrings to fill the constants: nothing was converted.";
const char* const MissingHandler = "%s has no method %s: add the call \"UpdateStrings;\" there.";
const char* const UsedInDeclarations = "%s: stands in another declaration";
const char* const NotInInterface = "%s: not in the interface, the form cannot reach it";
const char* const NotEvaluated = "%s: its value cannot be evaluated";
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

// The rows left after the review as edits of the unit: each literal's own
// span replaced.
std::vector<TSpanEdit> RewritesOf(const TfrmFound& Review, const std::map<Integer, std::size_t>& Spans) {
    std::vector<TSpanEdit> rewrites;
    for (Integer row = 1; TfrmFound::HasRows(Review.sgStrings) && row < Review.sgStrings->RowCount(); ++row) {
        const Integer position = StrToInt(Review.Positions->Get(row));
        rewrites.push_back({static_cast<std::size_t>(position - 1), Spans.at(position),
                            Review.sgStrings->Cells(2, row)});
    }
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

AnsiString AssignedHandler(TPersistent* Instance, const char* Event, const AnsiString& Default) {
    PPropInfo event = Instance ? GetPropInfo(Instance, Event) : nullptr;
    if (!event || event->PropType->Kind != tkMethod)
        return Default;
    const AnsiString name = GetMethodProp(Instance, event).Name;
    return name.empty() ? Default : name;
}

// Why the declaration stays a constant; empty when it may become a
// variable. Declarations that hold no literal are no candidates at all.
AnsiString KeptReason(const TConstDeclaration& Declaration, bool Formless) {
    if (!Declaration.IsString)
        return Declaration.Line.find('\'') != AnsiString::npos
                   ? Format(NotEvaluated, {Declaration.Name})
                   : AnsiString();
    if (Declaration.UsedInDeclarations)
        return Format(UsedInDeclarations, {Declaration.Name});
    if (Formless && !Declaration.InInterface)
        return Format(NotInInterface, {Declaration.Name});
    return AnsiString();
}

// The identifier's line with the value as language 1 and its other
// languages kept.
void SetLanguageOne(TzxCustomLang& Lang, const AnsiString& ID, const AnsiString& Value) {
    std::vector<WideString> texts{UTF8Decode(Value)};
    const WideString id = UTF8Decode(ID);
    if (Lang.GetIDIndex(id) >= 0)
        for (Integer language = 2; language <= Lang.NumOfLanguages(); ++language)
            texts.push_back(Lang.GetStringValue(*Lang.Strings(), id, language));
    Lang.AddString(id, texts);
}

// The calls of UpdateStrings and its assignments, as edits of the form
// unit. Assignments: one line per converted constant.
std::vector<TSpanEdit> FormUnitEdits(const AnsiString& Text, const AnsiString& ClassName,
                                     const AnsiString& CreateHandler,
                                     const AnsiString& ChangeHandler,
                                     const std::vector<AnsiString>& Assignments,
                                     TStringList& Missing) {
    const AnsiString lineEnd = LineEndOf(Text);
    std::vector<TSpanEdit> edits;
    const TMethodBlock create = FindMethodBlock(Text, ClassName, CreateHandler);
    if (!create.Found)
        Missing.Add(CreateHandler);
    else if (!create.CallsUpdateStrings)
        edits.push_back({create.AfterBegin, 0, lineEnd + "  UpdateStrings;"});
    const TMethodBlock change = FindMethodBlock(Text, ClassName, ChangeHandler);
    if (!change.Found) {
        Missing.Add(ChangeHandler);
    } else if (!change.CallsUpdateStrings) {
        const std::size_t lineStart = Text.rfind('\n', change.EndStart) + 1;
        const bool ownLine = Trim(Text.substr(lineStart, change.EndStart - lineStart)).empty();
        edits.push_back(ownLine ? TSpanEdit{lineStart, 0, "  UpdateStrings;" + lineEnd}
                                : TSpanEdit{change.EndStart, 0, "UpdateStrings; "});
    }
    const TMethodBlock update = FindMethodBlock(Text, ClassName, "UpdateStrings");
    AnsiString lines;
    for (const AnsiString& assignment : Assignments)
        lines += lineEnd + "  " + assignment;
    edits.push_back({update.AfterBegin, 0, lines});
    return edits;
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
        if (ConstMode)
            ReplaceConstants(FormName, fileName, text, *lang);
        else
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
    FzxLangExpert->WriteEdits(FileName, RewritesOf(*review, spans));
    AddNewStrings(*review, Lang);
    FzxLangExpert->MarkModifiedForm(FormName);
    Inform(SourceTranslated);
}

void TfrmzxLang::ReplaceConstants(const AnsiString& FormName, const AnsiString& FileName,
                                  const AnsiString& Text, TzxCustomLang& Lang) {
    Splash("Scanning...", 0);
    const AnsiString formFile = RowText(FormRow(FormName), rtFileName);
    const bool formless = !SameFileName(FileName, formFile);
    const AnsiString formText = formless ? FzxLangExpert->GetUnitSource(formFile) : Text;
    const AnsiString unitName = ChangeFileExt(ExtractFileName(FileName), "");
    if (formless && !UnitUses(formText, unitName)) {
        Refuse(Format(NotInUses, {ExtractFileName(formFile), unitName}));
        return;
    }
    const std::vector<TConstSection> sections = ScanConstSections(Text);
    std::vector<const TConstDeclaration*> entries;
    TStringList kept;
    const auto shortest = static_cast<std::size_t>(std::max(1, FzxLangExpert->IgnorableLength));
    for (const TConstSection& section : sections)
        for (const TConstDeclaration& declaration : section.Declarations) {
            const AnsiString reason = KeptReason(declaration, formless);
            if (!reason.empty())
                kept.Add(reason);
            else if (declaration.IsString && CharacterCount(declaration.Value) > shortest)
                entries.push_back(&declaration);
        }
    if (entries.empty()) {
        Inform(NoConstants);
        return;
    }
    TComponent* root = FormRootByName(FormName);
    const AnsiString className = root ? root->ClassName() : "T" + FormName;
    // Everything that may fail is known before the review: nothing is
    // written unless all of it can be.
    const AnsiString createHandler = AssignedHandler(
        root, "OnCreate", FzxLangExpert->IsDataModule(FormName) ? "DataModuleCreate" : "FormCreate");
    const AnsiString changeHandler =
        AssignedHandler(&Lang, "OnChangeLanguage", Lang.Name() + "ChangeLanguage");
    if (!FindMethodBlock(formText, className, "UpdateStrings").Found) {
        Refuse(Format(NoUpdateStrings, {ExtractFileName(formFile)}));
        return;
    }
    std::unique_ptr<TfrmFound> review(NewForm<TfrmFound>(Application));
    review->ConstMode = true;
    TStringGrid* grid = review->sgStrings;
    grid->SetRowCount(static_cast<Integer>(entries.size()) + 1);
    const Integer extra[] = {10, 20, 50, 100};
    for (Integer col = 0; col < 4; ++col) {
        grid->SetCells(col, 0, Titles[col]);
        grid->SetColWidths(col, grid->Canvas()->TextWidth(Titles[col]) + extra[col]);
    }
    Integer row = 1;
    for (const TConstDeclaration* entry : entries) {
        const AnsiString id = FzxLangExpert->CnstPrefix +
                              (FzxLangExpert->CnstPermanent == 1 ? UpperCase(entry->Name) : entry->Name);
        grid->SetCells(0, row, id);
        grid->SetCells(1, row, entry->Name);
        grid->SetCells(2, row, Lang.Name() + "." + FzxLangExpert->ReplaceMethod + "'" + id + "');");
        grid->SetCells(3, row, Trim(entry->Line));
        ++row;
    }
    review->SetSkipped(kept);
    NoSplash();
    if (review->ShowModal() != mrOk)
        return;
    std::vector<std::vector<bool>> convert;
    for (const TConstSection& section : sections)
        convert.emplace_back(section.Declarations.size(), false);
    std::vector<AnsiString> assignments;
    std::vector<std::pair<AnsiString, AnsiString>> strings;
    for (Integer each = 1; TfrmFound::HasRows(grid) && each < grid->RowCount(); ++each) {
        const AnsiString name = grid->Cells(1, each);
        for (std::size_t s = 0; s < sections.size(); ++s)
            for (std::size_t d = 0; d < sections[s].Declarations.size(); ++d)
                if (sections[s].Declarations[d].Name == name && !convert[s][d]) {
                    convert[s][d] = true;
                    assignments.push_back(name + " := " + grid->Cells(2, each));
                    strings.emplace_back(grid->Cells(0, each), sections[s].Declarations[d].Value);
                }
    }
    TStringList missing;
    std::vector<TSpanEdit> formEdits =
        FormUnitEdits(formText, className, createHandler, changeHandler, assignments, missing);
    std::vector<TSpanEdit> unitEdits = ConstantEdits(sections, convert);
    if (!formless) {
        formEdits.insert(formEdits.end(), unitEdits.begin(), unitEdits.end());
        unitEdits.clear();
    }
    if (FzxLangExpert->GetUnitSource(FileName) != Text ||
        (formless && FzxLangExpert->GetUnitSource(formFile) != formText)) {
        Refuse(UnitChanged);
        return;
    }
    Splash("Modifying source...", 1);
    FzxLangExpert->WriteEdits(FileName, unitEdits);
    FzxLangExpert->WriteEdits(formFile, formEdits);
    for (const auto& [id, value] : strings)
        SetLanguageOne(Lang, id, value);
    FzxLangExpert->MarkModifiedForm(FormName);
    for (Integer index = 0; index < missing.Count(); ++index)
        Refuse(Format(MissingHandler, {ExtractFileName(formFile), missing.Get(index)}));
    Inform(SourceTranslated);
}

// ---------------------------------------------------------------------------
// The commands

std::vector<TListItem*> TfrmzxLang::SelectedRows() const {
    std::vector<TListItem*> selected;
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        if (rows->Item(index)->Selected())
            selected.push_back(rows->Item(index));
    return selected;
}

void TfrmzxLang::Translatesource1Click(TObject*) {
    for (TListItem* row : SelectedRows()) {
        try {
            InsertTzxLang(row);
        } catch (const Exception&) {
            // The form keeps the component it has; the scan tells when none.
        }
        DoScanReplace(row->Caption(), AnsiString(), false);
    }
}

bool TfrmzxLang::ChooseUnit(AnsiString& FileName, AnsiString& FormName) {
    if (!FzxLangExpert)
        return false;
    std::unique_ptr<TfrmTranslUnits> chooser(NewForm<TfrmTranslUnits>(Application));
    chooser->lbUnits->Items()->Assign(FzxLangExpert->ProjectUnitNames.get());
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        if (RowHasComponent(rows->Item(index)))
            chooser->cbFormNames->Items()->Add(rows->Item(index)->Caption());
    if (chooser->cbFormNames->Items()->Count() == 0) {
        Refuse(NoFormsWithComponent);
        return false;
    }
    if (chooser->ShowModal() != mrOk)
        return false;
    const Integer unit = FzxLangExpert->ProjectUnitNames->IndexOf(chooser->UnitName);
    if (unit < 0 || unit >= FzxLangExpert->ProjectUnitFiles->Count()) {
        Refuse(Format(UnitNotInProject, {chooser->UnitName}));
        return false;
    }
    FileName = FzxLangExpert->ProjectUnitFiles->Get(unit);
    FormName = chooser->FormName;
    return true;
}

void TfrmzxLang::TranslateUnit1Click(TObject*) {
    AnsiString fileName;
    AnsiString formName;
    if (!ChooseUnit(fileName, formName))
        return;
    if (UpperCase(ExtractFileExt(fileName)) == ".DPR" || FzxLangExpert->OpenFile(fileName))
        DoScanReplace(formName, fileName, false);
}

void TfrmzxLang::InsertConstMethods(TListItem* Row) {
    const AnsiString fileName = RowText(Row, rtFileName);
    const AnsiString createHandler =
        AssignedHandler(FormRootByName(Row->Caption()), "OnCreate", "FormCreate");
    FzxLangExpert->InsertFormEvent(fileName, createHandler, false);
    FzxLangExpert->InsertzxLangEvent(fileName, "ChangeLanguage", false);
    FzxLangExpert->InsertFormMethod(fileName, "UpdateStrings", false);
}

void TfrmzxLang::Const1Click(TObject*) {
    if (!FzxLangExpert)
        return;
    for (TListItem* row : SelectedRows()) {
        if (!RowHasComponent(row))
            try {
                InsertTzxLang(row);
            } catch (const Exception&) {
                // The scan tells when the form still has no component.
            }
        InsertConstMethods(row);
        DoScanReplace(row->Caption(), AnsiString(), true);
    }
}

void TfrmzxLang::WithoutForm1Click(TObject*) {
    AnsiString fileName;
    AnsiString formName;
    if (!ChooseUnit(fileName, formName) || !FzxLangExpert->OpenFile(fileName))
        return;
    TListItem* row = FormRow(formName);
    if (!row || !FzxLangExpert->OpenFile(RowText(row, rtFileName)))
        return;
    InsertConstMethods(row);
    DoScanReplace(formName, fileName, true);
}
