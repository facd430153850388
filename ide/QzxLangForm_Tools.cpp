// The expert window's tools across forms: the Translation Wizard, finding
// and replacing a phrase in the translations, and opening units.
#include "ide/QzxLangForm.h"

#include "clx/Keys.h"
#include "editor/QzxTransEditor.h"
#include "ide/QTranslationWizard.h"
#include "ide/Q_findfrm.h"
#include "ide/Q_findres.h"
#include "ide/Q_rplprom.h"
#include "ide/QzxLangExp.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxTranslationLine.h"

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

// The open results window, or a new one; emptied.
TfrmFindResults* FindResultsWindow() {
    for (Integer index = 0; index < Screen->FormCount(); ++index)
        if (auto* open = dynamic_cast<TfrmFindResults*>(Screen->Forms(index));
            open && open->Caption() == FindResultsCaption) {
            open->LVIDs->Items()->Clear();
            return open;
        }
    return NewForm<TfrmFindResults>(Application);
}

enum TReplaceAnswer { raReplace, raSkip, raStop };

} // namespace

// One form's search; the user's answers to the prompts carry over to the
// next forms.
class TPhraseSearch {
public:
    TPhraseSearch(const TPhraseRequest& Request, TListView* Results)
        : FRequest(Request), FResults(Results) {}

    // Whether anything of the component changed.
    bool SearchForm(TzxCustomLang& Lang, const AnsiString& FileName);
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

bool TPhraseSearch::SearchForm(TzxCustomLang& Lang, const AnsiString& FileName) {
    if (FRequest.Replace && FRequest.Replacement.find(static_cast<char>(Lang.LangDelim())) != AnsiString::npos) {
        MessageDlg(Format(ReplacementHoldsDelimiter, {FileName}), mtError, {mbOk}, 0);
        FStopped = true;
        return false;
    }
    bool changed = false;
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
                changed = true;
            }
        }
    }
    return changed;
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
    TfrmFindResults* results = FindResultsWindow();
    results->LVIDs->OnDblClick = [this](TObject* Sender) { LVIDsDblClick(Sender); };
    results->LVIDs->OnKeyDown = [this](TObject* Sender, Integer& Key, TShiftState Shift) {
        LVIDsKeyDown(Sender, Key, Shift);
    };
    TPhraseSearch search(request, results->LVIDs);
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count() && !search.Stopped(); ++index) {
        TListItem* row = rows->Item(index);
        if (row->Selected() && RowHasComponent(row))
            SearchRow(row, search);
    }
    if (results->LVIDs->Items()->Count() > 0)
        results->Show();
}

// A unit that was not open is closed again, saved first when the search
// changed its form.
void TfrmzxLang::SearchRow(TListItem* Row, TPhraseSearch& Search) {
    const AnsiString fileName = RowText(Row, rtFileName);
    const bool wasOpen = FzxLangExpert->IsFileOpen(fileName);
    bool changed = false;
    if (TzxCustomLang* lang = GetzxLang(Row->Caption())) {
        changed = Search.SearchForm(*lang, fileName);
        if (changed)
            FzxLangExpert->MarkModifiedForm(Row->Caption());
    }
    if (wasOpen)
        return;
    if (changed)
        FzxLangExpert->SaveFile(fileName);
    FzxLangExpert->CloseFile(fileName);
}

// A find result opens the Translation Editor on its form's component at its
// list and line.
void TfrmzxLang::LVIDsDblClick(TObject* Sender) {
    auto* list = dynamic_cast<TListView*>(Sender);
    TListItem* result = list ? list->Selected() : nullptr;
    if (!result || !FzxLangExpert || result->SubItems()->Count() < 3)
        return;
    TListItem* row = nullptr;
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; !row && index < rows->Count(); ++index)
        if (SameFileName(RowText(rows->Item(index), rtFileName), result->Caption()))
            row = rows->Item(index);
    Integer kind = -1;
    for (Integer each = 0; each < StringsTypeCount; ++each)
        if (KindName(each) == result->SubItems()->Get(0))
            kind = each;
    Integer line = 0;
    TzxCustomLang* lang = row ? GetzxLang(row->Caption()) : nullptr;
    if (!lang || kind < 0 || !TryStrToInt(result->SubItems()->Get(1), line))
        return;
    if (!FzxLangExpert->GetDesignerByFormName(row->Caption())) {
        MessageDlg(NilDesigner, mtError, {mbOk}, 0);
        return;
    }
    if (TransEditorDlg(lang, static_cast<TStringsType>(kind), line,
                       TShowFlags{sfSelected, sfDesignTime}))
        FzxLangExpert->MarkModifiedForm(row->Caption());
}

void TfrmzxLang::LVIDsKeyDown(TObject* Sender, Integer& Key, TShiftState) {
    if (Key == Key_Return)
        LVIDsDblClick(Sender);
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
