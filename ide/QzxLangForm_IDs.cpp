// The string-identifier checks of the expert window: identifiers of a
// form's component that its unit never uses, calls whose identifier the
// named component lacks, and the way from a finding to the source line or
// into the Translation Editor.
#include "ide/QzxLangForm.h"

#include "clx/Keys.h"
#include "editor/FormData.h"
#include "editor/QzxTransEditor.h"
#include "ide/Q_BadIDsForm.h"
#include "ide/Q_selunit.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxLangScan.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxComp_Text.h"

#include <algorithm>
#include <memory>

namespace {

const char* const NotTranslatedForm = "Form \"%s\" is not translated!";
const char* const UnitSkipped = "Couldnot open file:\n%s\nUnit skipped!";
const char* const AllFormIDsResolved = "All IDs on form %s are used. All internal and external IDs resolved.";
const char* const AllUnitIDsResolved = "All external IDs in unit(s) resolved.";
const char* const StaleFinding = "The string ID %s is no longer in %s.%s.";

AnsiString IDOfLine(const TzxCustomLang& Lang, const AnsiString& Line) {
    return ExtractWord(1, Line, TSysCharSet{char(Lang.LangDelim()), ' '});
}

void AddFinding(TListView* List, const AnsiString& ID, const AnsiString& Type, const AnsiString& Info,
                const AnsiString& FileName) {
    TListItem* row = List->Items()->Add();
    row->SetCaption(ID);
    row->SubItems()->Add(Type);
    row->SubItems()->Add(Info);
    row->SubItems()->Add(FileName);
}

bool HasID(const TzxCustomLang& Lang, const AnsiString& ID) {
    const AnsiString upper = AnsiUpperCase(ID);
    TStrings* strings = Lang.Strings();
    for (Integer index = 0; index < strings->Count(); ++index)
        if (AnsiUpperCase(IDOfLine(Lang, strings->Get(index))) == upper)
            return true;
    return false;
}

} // namespace

bool TfrmzxLang::CheckIDInFile(TListView* List, const AnsiString& FormName, const AnsiString& FileName) {
    if (!FzxLangExpert->GetSourceEditorFromFileName(FileName))
        return false;
    const std::vector<TTextCall> calls = FindTextCalls(FzxLangExpert->GetUnitSource(FileName));
    TzxCustomLang* own = FormName.empty() ? nullptr : GetzxLang(FormName);
    if (own)
        for (Integer index = 0; index < own->Strings()->Count(); ++index) {
            const AnsiString id = IDOfLine(*own, own->Strings()->Get(index));
            if (std::none_of(calls.begin(), calls.end(),
                             [&](const TTextCall& Call) { return AnsiSameText(Call.ID, id); }))
                AddFinding(List, id, NotUsedText, IndexInfo + IntToStr(index), FileName);
        }
    for (const TTextCall& call : calls) {
        const bool ownForm = call.Owner.empty() || AnsiSameText(call.Owner, "Self");
        TzxCustomLang* lang = ownForm ? own : GetzxLang(call.Owner);
        if ((!ownForm && !lang) || call.ID.empty() || (lang && HasID(*lang, call.ID)))
            continue;
        const AnsiString line = LineInfo + IntToStr(Integer(call.Line) + 1);
        if (!lang)
            AddFinding(List, call.ID, NotCheckableText, line, FileName);
        else
            AddFinding(List, call.ID,
                       Format(NotFoundText, {ownForm ? FormName : call.Owner, lang->Name()}), line,
                       FileName);
    }
    return true;
}

void TfrmzxLang::NewBadIDsWindow() {
    delete frmBadIDs;
    frmBadIDs = NewForm<TfrmBadIDs>(Application);
    frmBadIDs->IDsList->OnDblClick = [this](TObject* Sender) { LVIDsDblClick(Sender); };
    frmBadIDs->IDsList->OnKeyDown = [this](TObject* Sender, Integer& Key, TShiftState Shift) {
        LVIDsKeyDown(Sender, Key, Shift);
    };
}

void TfrmzxLang::ShowBadIDs(bool AllRead, const AnsiString& Resolved) {
    frmBadIDs->UpdateTotal();
    if (frmBadIDs->IDsList->Items()->Count() > 0)
        frmBadIDs->Show();
    else if (AllRead)
        MessageDlg(Resolved, mtInformation, {mbOk}, 0);
}

void TfrmzxLang::CheckunusedIDs1Click(TObject*) {
    if (!FzxLangExpert)
        return;
    NewBadIDsWindow();
    bool allRead = true;
    AnsiString formNames;
    for (TListItem* row : SelectedRows()) {
        const AnsiString formName = row->Caption();
        if (!CheckTzxLang(false, row)) {
            MessageDlg(Format(NotTranslatedForm, {formName}), mtError, {mbOk}, 0);
            continue;
        }
        formNames += (formNames.empty() ? "" : ", ") + formName;
        const AnsiString fileName = RowText(row, rtFileName);
        if (!CheckIDInFile(frmBadIDs->IDsList, formName, fileName)) {
            MessageDlg(Format(UnitSkipped, {fileName}), mtError, {mbOk}, 0);
            allRead = false;
        }
    }
    ShowBadIDs(allRead && !formNames.empty(), Format(AllFormIDsResolved, {formNames}));
}

void TfrmzxLang::CheckbadstringIDsinunit1Click(TObject*) {
    if (!FzxLangExpert)
        return;
    std::unique_ptr<TfrmTranslUnits> chooser(NewForm<TfrmTranslUnits>(Application));
    chooser->SetCaption("Check bad string IDs in unit(s)");
    chooser->lbUnits->SetMultiSelect(true);
    chooser->lbUnits->Items()->Assign(FzxLangExpert->ProjectUnitNames.get());
    chooser->cbFormNames->SetVisible(false);
    FormControl<TLabel>(chooser.get(), "lbForm")->SetVisible(false);
    FormControl<TLabel>(chooser.get(), "lbSelect")->SetCaption("&Select Unit(s):");
    if (chooser->ShowModal() != mrOk)
        return;
    NewBadIDsWindow();
    bool allRead = true;
    for (Integer index = 0; index < chooser->lbUnits->Items()->Count(); ++index) {
        const Integer unit = FzxLangExpert->ProjectUnitNames->IndexOf(chooser->lbUnits->Items()->Get(index));
        if (!chooser->lbUnits->Selected(index) || unit < 0 || unit >= FzxLangExpert->ProjectUnitFiles->Count())
            continue;
        const AnsiString fileName = FzxLangExpert->ProjectUnitFiles->Get(unit);
        const bool opened = UpperCase(ExtractFileExt(fileName)) == ".DPR" || FzxLangExpert->OpenFile(fileName);
        if (!opened || !CheckIDInFile(frmBadIDs->IDsList, AnsiString(), fileName)) {
            MessageDlg(Format(UnitSkipped, {fileName}), mtError, {mbOk}, 0);
            allRead = false;
        }
    }
    ShowBadIDs(allRead, AllUnitIDsResolved);
}

void TfrmzxLang::LVIDsDblClick(TObject* Sender) {
    auto* list = dynamic_cast<TListView*>(Sender);
    const TListItem* row = list ? list->Selected() : nullptr;
    if (!row || !FzxLangExpert)
        return;
    const AnsiString info = FindingText(row, btInfo);
    if (info.find("Line:") != AnsiString::npos) {
        const AnsiString fileName = FindingText(row, btFileName);
        FzxLangExpert->OpenFile(fileName);
        if (_di_IOTASourceEditor editor = FzxLangExpert->GetSourceEditorFromFileName(fileName)) {
            editor->Show();
            editor->SetCursorLine(StrToIntDef(Trim(info.substr(info.find(':') + 1)), 1));
        }
        return;
    }
    if (FindingText(row, btType) == NotUsedText)
        OpenEditorOnFinding(row);
    else
        OpenEditorOnFindResult(row);
}

void TfrmzxLang::OpenEditorOnFinding(const TListItem* Row) {
    const AnsiString fileName = FindingText(Row, btFileName);
    AnsiString formName;
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; formName.empty() && index < rows->Count(); ++index)
        if (SameFileName(RowText(rows->Item(index), rtFileName), fileName))
            formName = rows->Item(index)->Caption();
    TzxCustomLang* lang = formName.empty() ? nullptr : GetzxLang(formName);
    if (!lang)
        return;
    // The window stays open while the list changes: the row's index is
    // trusted only while it still holds the row's identifier.
    const AnsiString id = Row->Caption();
    Integer index = StrToIntDef(FindingText(Row, btInfo).substr(std::string(IndexInfo).size()), -1);
    if (index < 0 || index >= lang->Strings()->Count() ||
        !AnsiSameText(IDOfLine(*lang, lang->Strings()->Get(index)), id))
        index = lang->GetIDIndex(UTF8Decode(id));
    if (index < 0) {
        MessageDlg(Format(StaleFinding, {id, formName, lang->Name()}), mtError, {mbOk}, 0);
        return;
    }
    _di_IDesigner designer = FzxLangExpert->GetDesignerByFormName(formName);
    if (!designer) {
        MessageDlg("Nil designer", mtError, {mbOk}, 0);
        return;
    }
    TEditedForm edited(lang);
    // The editor's rows count from 1, under its title row.
    if (TransEditorDlg(lang, stStrings, index + 1, TShowFlags{sfSelected, sfDesignTime}, ExpertChangeStrID()))
        designer->Modified();
}

void TfrmzxLang::LVIDsKeyDown(TObject* Sender, Integer& Key, TShiftState) {
    if (Key == Key_Return || Key == Key_Enter)
        LVIDsDblClick(Sender);
}
