// The expert window's save, load and merge commands: the translations of
// the selected forms or of the whole project to and from one ".zxl" text
// file or ".ZXB" binary file.
#include "ide/QzxLangForm.h"

#include "ide/QzxLangExp.h"
#include "ide/QzxOpenedForm.h"
#include "runtime/DOriDaz.h"
#include "runtime/QzxComp.h"

namespace {

const char* const NotTranslated = "Project or file is not translated!";
const char* const DefaultDelimiter = "~!@#";
const char* const EmptyDelimiter = "You cannot use empty delimiter!";
const char* const DelimiterDiffers =
    "The existing delimiter in file differs from new one.\r\n"
    "This may cause errors in future reading translation information\r\nContinue?";
const char* const DelimiterInTranslations =
    "The delimiter %s occurs in the translations of %s: a text holding it would split when "
    "the file is read. Choose another delimiter.";
const char* const NoBinaryMerge =
    "A binary translation file (.ZXB) cannot be merged: choose a text translation file.";
const char* const NothingMerged = "the file was not merged";

bool IsBinaryFile(const AnsiString& FileName) {
    return AnsiUpperCase(ExtractFileExt(FileName)) == ".ZXB";
}

void ShowError(const AnsiString& Message) { MessageDlg(Message, mtError, {mbOk}, 0); }

// Whether any list line or language name of the component holds Delimiter.
bool HoldsDelimiter(const TzxCustomLang& Lang, const AnsiString& Delimiter) {
    bool found = Lang.LangNames()->Text().find(Delimiter) != AnsiString::npos;
    Lang.ForEachKeptList([&](TStringsType, TStrings& List) {
        for (Integer index = 0; !found && index < List.Count(); ++index)
            found = List.Get(index).find(Delimiter) != AnsiString::npos;
    });
    return found;
}

} // namespace

// ---------------------------------------------------------------------------
// One form

void TfrmzxLang::SaveFormToFile(const AnsiString& FormName, const AnsiString& FileName,
                                const AnsiString& Delimiter) {
    TListItem* row = FormRow(FormName);
    if (!row || RowText(row, rtComponentClass).empty() || !FzxLangExpert)
        return;
    TOpenedForm form(row);
    form.Lang().BuildList();
    form.Changed();
    if (IsBinaryFile(FileName))
        form.Lang().SaveAllToBinaryFile(FileName);
    else
        form.Lang().SaveAllToFile(UTF8Decode(FileName), UTF8Decode(Delimiter));
}

void TfrmzxLang::ReadFormFromFile(const AnsiString& FormName, const AnsiString& FileName,
                                  bool Merge) {
    TListItem* row = FormRow(FormName);
    if (!row || !FzxLangExpert)
        return;
    TOpenedForm form(row);
    if (Merge) {
        if (IsBinaryFile(FileName))
            throw Exception(NoBinaryMerge);
        if (!form.Lang().MergeAllFromFile(UTF8Decode(FileName)))
            throw Exception(NothingMerged);
    } else {
        if (IsBinaryFile(FileName))
            form.Lang().LoadAllFromBinaryFile(FileName);
        else
            form.Lang().LoadAllFromFile(UTF8Decode(FileName), true);
        SetRowText(row, rtLanguages, IntToStr(form.Lang().NumOfLanguages()));
    }
    form.Changed();
}

void TfrmzxLang::LoadFormFromFile(const AnsiString& FormName, const AnsiString& FileName) {
    ReadFormFromFile(FormName, FileName, false);
}

void TfrmzxLang::MergeFormFromFile(const AnsiString& FormName, const AnsiString& FileName) {
    ReadFormFromFile(FormName, FileName, true);
}

// ---------------------------------------------------------------------------
// The commands

bool TfrmzxLang::CheckTranslated(bool WholeProject) {
    if ((WholeProject || lvFormNames->SelCount() == 1) &&
        !CheckTzxLang(WholeProject, SelectionWalk().empty() ? nullptr : SelectionWalk().front())) {
        ShowError(NotTranslated);
        return false;
    }
    return true;
}

void TfrmzxLang::sbLoadAllClick(TObject* Sender) {
    const Integer tag = static_cast<TComponent*>(Sender)->Tag();
    const bool wholeProject = tag == TagWholeProject || tag == TagWholeProjectAlways;
    const bool merge = tag == TagMergeSelected || tag == TagWholeProjectAlways;
    if (!FzxLangExpert || (!wholeProject && lvFormNames->SelCount() == 0) ||
        !CheckTranslated(wholeProject) || !odLoad->Execute())
        return;
    const AnsiString fileName = odLoad->FileName();
    if (merge && IsBinaryFile(fileName)) {
        ShowError(NoBinaryMerge);
        return;
    }
    TFormFailures failures;
    if (wholeProject) {
        TListItems* rows = lvFormNames->Items();
        for (Integer index = 0; index < rows->Count(); ++index)
            if (TListItem* row = rows->Item(index); RowHasComponent(row)) {
                try {
                    ReadFormFromFile(row->Caption(), fileName, merge);
                } catch (const Exception& error) {
                    failures.Add(row->Caption(), error.Message());
                }
            }
    } else
        for (TListItem* row : SelectionWalk()) {
            try {
                if (!InsertTzxLang(row))
                    break;
                ReadFormFromFile(row->Caption(), fileName, merge);
            } catch (const Exception& error) {
                failures.Add(row->Caption(), error.Message());
                break;
            }
        }
    failures.Report();
    UpdateStatusBar();
    BringToFront();
}

AnsiString TfrmzxLang::AskDelimiter(const AnsiString& FileName,
                                    const std::vector<TListItem*>& Rows) {
    const bool exists = FileExists(FileName);
    const AnsiString inFile = exists ? TMemIniFile(FileName).ReadString("Options", "Delimiter",
                                                                        DefaultDelimiter)
                                     : AnsiString(DefaultDelimiter);
    AnsiString delimiter = inFile;
    if (!InputQuery("Saving to file", "Input delimeter:", delimiter))
        return AnsiString();
    if (delimiter.empty()) {
        ShowError(EmptyDelimiter);
        return AnsiString();
    }
    if (exists && delimiter != inFile &&
        MessageDlg(DelimiterDiffers, mtWarning, mbYesNo, 0) != mrYes)
        return AnsiString();
    for (TListItem* row : Rows) {
        if (!RowHasComponent(row))
            continue;
        TOpenedForm form(row);
        form.Lang().BuildList();
        form.Changed();
        if (HoldsDelimiter(form.Lang(), delimiter)) {
            ShowError(Format(DelimiterInTranslations, {delimiter, row->Caption()}));
            return AnsiString();
        }
    }
    return delimiter;
}

void TfrmzxLang::sbSaveAllClick(TObject* Sender) {
    const bool wholeProject = static_cast<TComponent*>(Sender)->Tag() == TagWholeProject;
    if (!FzxLangExpert || (!wholeProject && lvFormNames->SelCount() == 0) ||
        !CheckTranslated(wholeProject) || !sdSave->Execute())
        return;
    const AnsiString fileName = sdSave->FileName();
    std::vector<TListItem*> rows;
    TListItems* items = lvFormNames->Items();
    for (Integer index = 0; index < items->Count(); ++index)
        if (TListItem* row = items->Item(index); wholeProject ? RowHasComponent(row) : row->Selected())
            rows.push_back(row);
    AnsiString delimiter;
    try {
        if (!IsBinaryFile(fileName) && (delimiter = AskDelimiter(fileName, rows)).empty())
            return;
    } catch (const Exception& error) {
        ShowError(error.Message());
        return;
    }
    TFormFailures failures;
    for (TListItem* row : rows) {
        try {
            if (!wholeProject && !InsertTzxLang(row))
                break;
            SaveFormToFile(row->Caption(), fileName, delimiter);
        } catch (const Exception& error) {
            failures.Add(row->Caption(), error.Message());
            if (!wholeProject)
                break;
        }
    }
    failures.Report();
    UpdateStatusBar();
    BringToFront();
}
