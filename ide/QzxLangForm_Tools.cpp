// The expert window's tools across forms: the Translation Wizard, finding
// and replacing a phrase in the translations, and opening units.
#include "ide/QzxLangForm.h"

#include "clx/Keys.h"
#include "editor/FormData.h"
#include "editor/QExcludedEditor.h"
#include "editor/Qdntcedit.h"
#include "editor/QzxTransEditor.h"
#include "ide/QTranslationWizard.h"
#include "ide/Q_findfrm.h"
#include "ide/Q_findres.h"
#include "ide/Q_rplprom.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxOpenedForm.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxTranslationLine.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const char* const FindResultsCaption = "TzxLang find pharse";
const char* const IdentifierLocation = "Identifier";
const char* const EmptyFindText = "Type the text to find.";
const char* const ReplacementBreaksLine = "The replacement text cannot hold a line break.";
const char* const ReplacementHoldsDelimiter =
    "The replacement text holds the delimiter of the translation lines of %s: nothing more is "
    "replaced.";
const char* const IdentifiersNotReplaced =
    "Identifiers cannot be replaced: clear \"Search in identifiers\" to replace translations.";
const char* const NilDesigner = "Nil designer";
const char* const NotTranslated = "Project or file is not translated!";
const char* const ClearQuestion =
    "This will clear all translation information in selected form(s)!\nContinue?";

// What the user asked for in the find dialog.
struct TPhraseRequest {
    AnsiString Text;
    AnsiString Replacement;
    bool CaseSensitive = false;
    bool WholePhrase = false;
    bool Identifiers = false;
    bool Prompt = false;
    bool Replace = false;
};

TPhraseRequest RequestOf(const TfrmFind& Dialog, bool Replace) {
    return {Dialog.edFindText->Text(), Dialog.edReplace->Text(), Dialog.ckbSensit->Checked(),
            Dialog.ckbWhole->Checked(),  Dialog.ckbIdent->Checked(), Dialog.ckbDoPrompt->Checked(),
            Replace};
}

// The text of a request that would corrupt the lists is refused; the user
// is told why.
bool AcceptRequest(const TPhraseRequest& Request) {
    const char* refusal = nullptr;
    if (Request.Text.empty())
        refusal = EmptyFindText;
    else if (Request.Replace && Request.Identifiers)
        refusal = IdentifiersNotReplaced;
    else if (Request.Replace && Request.Replacement.find_first_of("\r\n") != AnsiString::npos)
        refusal = ReplacementBreaksLine;
    if (refusal)
        MessageDlg(refusal, mtError, {mbOk}, 0);
    return !refusal;
}

bool FieldMatches(const AnsiString& Field, const TPhraseRequest& Request) {
    if (Request.WholePhrase)
        return Request.CaseSensitive ? Field == Request.Text : AnsiSameText(Field, Request.Text);
    if (Request.CaseSensitive)
        return Field.find(Request.Text) != AnsiString::npos;
    return AnsiUpperCase(Field).find(AnsiUpperCase(Request.Text)) != AnsiString::npos;
}

AnsiString ReplacedField(const AnsiString& Field, const TPhraseRequest& Request) {
    TReplaceFlags flags{rfReplaceAll};
    if (!Request.CaseSensitive)
        flags.Include(rfIgnoreCase);
    return StringReplace(Field, Request.Text, Request.Replacement, flags);
}

AnsiString KindName(Integer Kind) {
    return GetEnumName(TypeInfoOf(TStringsType{}), Kind).substr(2);
}

AnsiString LocationName(const TzxCustomLang& Lang, Integer Field) {
    if (Field == 0)
        return IdentifierLocation;
    TStrings* names = Lang.LangNames();
    return Field <= names->Count() ? names->Get(Field - 1) : IntToStr(Field);
}

// The open results window, or a new one; emptied. The expert window owns
// it, since its rows call back into the expert window.
TfrmFindResults* FindResultsWindow(TComponent* Owner) {
    for (Integer index = 0; index < Screen->FormCount(); ++index)
        if (auto* open = dynamic_cast<TfrmFindResults*>(Screen->Forms(index));
            open && open->Caption() == FindResultsCaption) {
            open->LVIDs->Items()->Clear();
            return open;
        }
    return NewForm<TfrmFindResults>(Owner);
}

enum TReplaceAnswer { raReplace, raSkip, raStop };

} // namespace

// One form's search; the user's answers to the prompts carry over to the
// next forms.
class TPhraseSearch {
public:
    TPhraseSearch(const TPhraseRequest& Request, TListView* Results)
        : FRequest(Request), FResults(Results) {}

    void SearchForm(TzxCustomLang& Lang, const AnsiString& FileName);
    bool Stopped() const { return FStopped; }

private:
    TReplaceAnswer Ask(const AnsiString& FileName, const AnsiString& Kind,
                       const AnsiString& Location, const AnsiString& Current,
                       const AnsiString& Result);
    void AddResult(const AnsiString& FileName, const AnsiString& Kind, Integer Line,
                   const AnsiString& Location);

    const TPhraseRequest& FRequest;
    TListView* FResults;
    bool FAll = false;
    bool FStopped = false;
};

void TPhraseSearch::SearchForm(TzxCustomLang& Lang, const AnsiString& FileName) {
    if (FRequest.Replace &&
        FRequest.Replacement.find(static_cast<char>(Lang.LangDelim())) != AnsiString::npos) {
        MessageDlg(Format(ReplacementHoldsDelimiter, {FileName}), mtError, {mbOk}, 0);
        FStopped = true;
        return;
    }
    const Integer firstField = FRequest.Identifiers ? 0 : 1;
    for (Integer kind = 0; kind < StringsTypeCount && !FStopped; ++kind) {
        TStrings* list = Lang.GetPropListByType(static_cast<TStringsType>(kind));
        for (Integer index = 0; list && index < list->Count() && !FStopped; ++index) {
            TzxTranslationLine line(list->Get(index), static_cast<char>(Lang.LangDelim()));
            for (Integer field = firstField; field <= Lang.NumOfLanguages() && !FStopped; ++field) {
                const AnsiString value = line.Value(field);
                if (!FieldMatches(value, FRequest))
                    continue;
                const AnsiString location = LocationName(Lang, field);
                AddResult(FileName, KindName(kind), index, location);
                if (!FRequest.Replace)
                    continue;
                const AnsiString result = ReplacedField(value, FRequest);
                const TReplaceAnswer answer =
                    result == value ? raSkip
                                    : Ask(FileName, KindName(kind), location, value, result);
                if (answer != raReplace)
                    continue;
                line.SetValue(field, result);
                list->Put(index, line.Text());
            }
        }
    }
}

TReplaceAnswer TPhraseSearch::Ask(const AnsiString& FileName, const AnsiString& Kind,
                                  const AnsiString& Location, const AnsiString& Current,
                                  const AnsiString& Result) {
    if (!FRequest.Prompt || FAll)
        return raReplace;
    std::unique_ptr<TfrmReplConfirm> prompt(NewForm<TfrmReplConfirm>(Application));
    prompt->edFileName->SetText(FileName);
    prompt->edPropName->SetText(Kind);
    prompt->edLocation->SetText(Location);
    prompt->edCurText->SetText(Current);
    prompt->edResultText->SetText(Result);
    switch (prompt->ShowModal()) {
    case mrYes:
        return raReplace;
    case mrAll:
        FAll = true;
        return raReplace;
    case mrNo:
        return raSkip;
    default:
        FStopped = true;
        return raStop;
    }
}

void TPhraseSearch::AddResult(const AnsiString& FileName, const AnsiString& Kind, Integer Line,
                              const AnsiString& Location) {
    TListItem* row = FResults->Items()->Add();
    row->SetCaption(FileName);
    row->SubItems()->Add(Kind);
    row->SubItems()->Add(IntToStr(Line));
    row->SubItems()->Add(Location);
}

// ---------------------------------------------------------------------------
// The wizard

void TfrmzxLang::sbWizardClick(TObject*) {
    std::unique_ptr<TfrmTranslationWizard> wizard(NewForm<TfrmTranslationWizard>(Application));
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index) {
        TListItem* row = rows->Item(index);
        if (row->Selected()) {
            TListItem* chosen = wizard->lvSelectedForms->Items()->Add();
            chosen->SetCaption(row->Caption());
            const AnsiString used = RowText(row, rtComponentClass);
            chosen->SubItems()->Add(used.empty() ? AnsiString(NoComponentUsed) : used);
            chosen->SubItems()->Add("");
        }
        wizard->cbDispatcherForm->Items()->Add(row->Caption());
        wizard->cbCommonContainerForm->Items()->Add(row->Caption());
    }
    wizard->ShowModal();
}

// ---------------------------------------------------------------------------
// Find and replace

void TfrmzxLang::Findword1Click(TObject*) { SearchPhrase(false); }

void TfrmzxLang::Replacephrase1Click(TObject*) { SearchPhrase(true); }

void TfrmzxLang::SearchPhrase(bool Replace) {
    if (!FzxLangExpert || lvFormNames->SelCount() == 0)
        return;
    TPhraseRequest request;
    {
        std::unique_ptr<TfrmFind> dialog(NewForm<TfrmFind>(Application));
        dialog->SetReplaceMode(Replace);
        if (dialog->ShowModal() != mrOk)
            return;
        request = RequestOf(*dialog, Replace);
    }
    if (!AcceptRequest(request))
        return;
    TfrmFindResults* results = FindResultsWindow(this);
    results->LVIDs->OnDblClick = [this](TObject* Sender) { LVIDsDblClick(Sender); };
    results->LVIDs->OnKeyDown = [this](TObject* Sender, Integer& Key, TShiftState Shift) {
        LVIDsKeyDown(Sender, Key, Shift);
    };
    TPhraseSearch search(request, results->LVIDs);
    TFormFailures failures;
    for (TListItem* row : SelectedRows()) {
        if (search.Stopped())
            break;
        if (RowHasComponent(row))
            try {
                SearchRow(row, search);
            } catch (const Exception& error) {
                failures.Add(row->Caption(), error.Message());
            }
    }
    failures.Report();
    if (results->LVIDs->Items()->Count() > 0)
        results->Show();
}

// A unit that was not open is closed again, saved first when the search
// changed its form.
void TfrmzxLang::SearchRow(TListItem* Row, TPhraseSearch& Search) {
    TOpenedForm form(Row);
    Search.SearchForm(form.Lang(), RowText(Row, rtFileName));
    form.Changed();
}

// A find result opens the Translation Editor on its form's component at its
// list and line.
void TfrmzxLang::OpenEditorOnFindResult(const TListItem* Result) {
    if (Result->SubItems()->Count() < 3)
        return;
    TListItem* row = nullptr;
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; !row && index < rows->Count(); ++index)
        if (SameFileName(RowText(rows->Item(index), rtFileName), Result->Caption()))
            row = rows->Item(index);
    Integer kind = -1;
    for (Integer each = 0; each < StringsTypeCount; ++each)
        if (KindName(each) == Result->SubItems()->Get(0))
            kind = each;
    Integer line = 0;
    TzxCustomLang* lang = row ? GetzxLang(row->Caption()) : nullptr;
    if (!lang || kind < 0 || !TryStrToInt(Result->SubItems()->Get(1), line))
        return;
    if (!FzxLangExpert->GetDesignerByFormName(row->Caption())) {
        MessageDlg(NilDesigner, mtError, {mbOk}, 0);
        return;
    }
    if (TransEditorDlg(lang, static_cast<TStringsType>(kind), line,
                       TShowFlags{sfSelected, sfDesignTime}))
        FzxLangExpert->MarkModifiedForm(row->Caption());
}

// ---------------------------------------------------------------------------
// Units

void TfrmzxLang::OpenUnit(TListItem* Row) {
    if (Row && FzxLangExpert)
        FzxLangExpert->OpenFile(RowText(Row, rtFileName));
}

void TfrmzxLang::Viewform1Click(TObject*) {
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        try {
            if (rows->Item(index)->Selected())
                OpenUnit(rows->Item(index));
        } catch (...) {
        }
}

// ---------------------------------------------------------------------------
// Property files

bool TfrmzxLang::PropListDialog(TStringsTypes& Types) {
    InitQdntcedit();
    std::unique_ptr<TfrmNotTranslate> dialog(NewForm<TfrmNotTranslate>(Application));
    dialog->SetCaption("Selecting properties");
    FormControl<TLabel>(dialog.get(), "labInfo")
        ->SetCaption("Select properties that will be saved to file");
    FormControl<TLabel>(dialog.get(), "labComps")->SetCaption("&Available properties:");
    FormControl<TLabel>(dialog.get(), "labSelected")->SetCaption("&Selected properties:");
    dialog->SetListsSorted(false);
    for (Integer kind = 0; kind < StringsTypeCount; ++kind)
        (Types.Contains(static_cast<TStringsType>(kind)) ? dialog->lbSelected : dialog->lbComps)
            ->Items()
            ->Add(KindName(kind));
    if (dialog->ShowModal() != mrOk)
        return false;
    TStringsTypes chosen;
    for (Integer kind = 0; kind < StringsTypeCount; ++kind)
        if (dialog->lbSelected->Items()->IndexOf(KindName(kind)) >= 0)
            chosen.Include(static_cast<TStringsType>(kind));
    Types = chosen;
    return true;
}

void TfrmzxLang::SavePropsToFile(const AnsiString& FormName, const AnsiString& FileName,
                                 const AnsiString& Delimiter, const TStringsTypes& Types) {
    TListItem* row = FormRow(FormName);
    if (!row || !FzxLangExpert)
        return;
    TOpenedForm form(row);
    form.Lang().BuildList();
    form.Changed();
    for (Integer kind = 0; kind < StringsTypeCount; ++kind)
        if (Types.Contains(static_cast<TStringsType>(kind)))
            form.Lang().SaveToFile(static_cast<TStringsType>(kind), UTF8Decode(FileName),
                                   UTF8Decode(Delimiter));
}

void TfrmzxLang::Savepropertiestofile1Click(TObject*) { SaveProperties(SelectedRows()); }

void TfrmzxLang::Savepropertiestofileforallforms1Click(TObject*) {
    std::vector<TListItem*> rows;
    TListItems* items = lvFormNames->Items();
    for (Integer index = 0; index < items->Count(); ++index)
        rows.push_back(items->Item(index));
    SaveProperties(rows);
}

void TfrmzxLang::SaveProperties(const std::vector<TListItem*>& Rows) {
    if (!FzxLangExpert || Rows.empty())
        return;
    if (std::any_of(Rows.begin(), Rows.end(), [](TListItem* Row) { return !RowHasComponent(Row); })) {
        MessageDlg(NotTranslated, mtError, {mbOk}, 0);
        return;
    }
    if (!PropListDialog(FSavedPropsTypes) || !sdSave->Execute())
        return;
    const AnsiString fileName = sdSave->FileName();
    TFormFailures failures;
    try {
        const AnsiString delimiter = AskDelimiter(fileName, Rows);
        if (delimiter.empty())
            return;
        for (TListItem* row : Rows)
            try {
                SavePropsToFile(row->Caption(), fileName, delimiter, FSavedPropsTypes);
            } catch (const Exception& error) {
                failures.Add(row->Caption(), error.Message());
            }
    } catch (const Exception& error) {
        failures.Add(AnsiString(), error.Message());
    }
    failures.Report();
    BringToFront();
}

// ---------------------------------------------------------------------------
// Update, clear and exclude

void TfrmzxLang::ForEachSelectedComponent(const std::function<void(TzxCustomLang&)>& Work) {
    TFormFailures failures;
    for (TListItem* row : SelectedRows())
        if (RowHasComponent(row))
            try {
                TOpenedForm form(row);
                Work(form.Lang());
                form.Changed();
            } catch (const Exception& error) {
                failures.Add(row->Caption(), error.Message());
            }
    failures.Report();
    BringToFront();
}

void TfrmzxLang::Updatetranslation1Click(TObject*) {
    if (FzxLangExpert)
        ForEachSelectedComponent([](TzxCustomLang& Lang) { Lang.BuildList(); });
}

void TfrmzxLang::Cleartranslations1Click(TObject*) {
    if (FzxLangExpert && MessageDlg(ClearQuestion, mtWarning, mbYesNo, 0) == mrYes)
        ForEachSelectedComponent([](TzxCustomLang& Lang) { Lang.ClearTranslations(); });
}

// The other selected forms take the excluded properties the user edited for
// the first one; a list the user did not change is handed to nobody.
void TfrmzxLang::Excludeproperties1Click(TObject*) {
    std::vector<TListItem*> rows = SelectedRows();
    std::erase_if(rows, [](TListItem* Row) { return !RowHasComponent(Row); });
    if (!FzxLangExpert || rows.empty())
        return;
    TStringList edited;
    try {
        TOpenedForm first(rows.front());
        const AnsiString before = first.Lang().ExcludedProperties()->Text();
        if (!DisplayExcludeDialog(&first.Lang(), 0))
            return;
        first.Changed();
        if (first.Lang().ExcludedProperties()->Text() == before)
            return;
        edited.Assign(first.Lang().ExcludedProperties());
    } catch (const Exception& error) {
        MessageDlg(error.Message(), mtError, {mbOk}, 0);
        return;
    }
    TFormFailures failures;
    for (auto row = rows.begin() + 1; row != rows.end(); ++row)
        try {
            TOpenedForm form(*row);
            form.Lang().SetExProps(&edited);
            form.Changed();
        } catch (const Exception& error) {
            failures.Add((*row)->Caption(), error.Message());
        }
    failures.Report();
}
