// The rename of a string identifier in the project's sources, asked for by
// the Translation Editor when the user changed an identifier.
#include "ide/Q_stridrepl.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxLangForm.h"
#include "runtime/QzxComp.h"

#include <algorithm>

namespace {

const char* const NoUnitSource = "Couldn't retrieve unit source.\rUnit skipped!";
const char* const UpdateFailed = "There was an error occured during source update!";

bool IsScannedFile(const AnsiString& FileName) {
    const AnsiString extension = UpperCase(ExtractFileExt(FileName));
    return !extension.empty() && AnsiString(".PAS|.DPR|").find(extension + "|") != AnsiString::npos;
}

// The component the editor renamed in: the one being edited, else the
// owner's first.
TzxCustomLang* RenamedLang(const AnsiString& OwnerName) {
    TzxCustomLang* lang = TEditedForm::Lang();
    if (lang && lang->Owner() && AnsiSameText(lang->Owner()->Name(), OwnerName))
        return lang;
    return FirstLangOf(FormRootByName(OwnerName));
}

} // namespace

TChangeStrIDEvent ExpertChangeStrID() {
    if (!FzxLangExpert)
        return {};
    return [](const AnsiString& OwnerName, const WideString& FromID, WideString& ToID) {
        if (FzxLangExpert)
            FzxLangExpert->OnChangeStrID(OwnerName, FromID, ToID);
    };
}

bool TzxLangExpert::WriteEdits(const AnsiString& FileName, std::vector<TSpanEdit> Edits) {
    _di_IOTASourceEditor editor = GetSourceEditorFromFileName(FileName);
    if (!editor)
        return false;
    if (Edits.empty())
        return true;
    std::stable_sort(Edits.begin(), Edits.end(),
                     [](const TSpanEdit& A, const TSpanEdit& B) { return A.Start < B.Start; });
    _di_IOTAEditWriter writer = editor->CreateUndoableWriter();
    for (const TSpanEdit& edit : Edits) {
        writer->CopyTo(static_cast<Integer>(edit.Start));
        writer->DeleteTo(static_cast<Integer>(edit.Start + edit.Length));
        writer->Insert(edit.Text.c_str());
    }
    return true;
}

void TzxLangExpert::OnChangeStrID(const AnsiString& OwnerName, const WideString& FromID,
                                  WideString& ToID) {
    TzxCustomLang* lang = RenamedLang(OwnerName);
    TRenamedComponent renamed{OwnerName, lang ? lang->Name() : AnsiString(), false};
    const AnsiString ownUnit = UnitFileOfForm(OwnerName);
    const AnsiString oldID = UTF8Encode(FromID);
    const AnsiString newID = UTF8Encode(ToID);
    std::map<AnsiString, AnsiString> units;
    if (_di_IOTAProject project = GetActiveProject()) {
        units[ExtractFileName(project->GetFileName())] = project->GetFileName();
        for (Integer index = 0; index < project->GetModuleCount(); ++index)
            if (_di_IOTAModuleInfo info = project->GetModule(index); info && IsScannedFile(info->GetFileName()))
                units[ExtractFileName(info->GetFileName())] = info->GetFileName();
    }
    std::unique_ptr<TfrmStrReplace> dialog(NewForm<TfrmStrReplace>(Application));
    dialog->SetUnits(units);
    dialog->ReadLines = [&](const AnsiString& FileName, std::vector<TRenamedLine>& Lines) {
        if (!GetSourceEditorFromFileName(FileName)) {
            MessageDlg(NoUnitSource, mtError, {mbOk}, 0);
            return false;
        }
        renamed.OwnUnit = SameFileName(FileName, ownUnit);
        Lines = RenamedLines(GetUnitSource(FileName), oldID, newID, renamed);
        return true;
    };
    if (dialog->ShowModal() != mrOk)
        return;
    for (const auto& [fileName, lines] : dialog->Changes) {
        std::vector<TSpanEdit> edits;
        for (const TRenamedLine& line : lines)
            edits.push_back({line.Start, line.Length, line.Result});
        try {
            if (WriteEdits(fileName, edits))
                continue;
        } catch (const std::exception&) {
        }
        MessageDlg(UpdateFailed, mtError, {mbOk}, 0);
    }
}
