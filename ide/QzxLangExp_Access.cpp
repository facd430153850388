// The expert's way into the IDE: projects, modules, form editors, designers
// and source editors, each held only for the operation that needs it.
#include "ide/QzxLangExp.h"

#include "clx/Forms.h"
#include "editor/Q_splash.h"
#include "runtime/QzxComp.h"

namespace {

constexpr Integer SourceBlockSize = 1024;

_di_IOTAModuleServices ModuleServices() {
    return Supports<IOTAModuleServices>(BorlandIDEServices, IID_IOTAModuleServices);
}

// The open modules of the IDE, in its order.
template <typename Each> void ForEachOpenModule(Each Visit) {
    _di_IOTAModuleServices services = ModuleServices();
    if (!services)
        return;
    for (Integer index = 0; index < services->GetModuleCount(); ++index)
        if (_di_IOTAModule module = services->GetModule(index); module && Visit(module))
            return;
}

// The module's first editor of the kind Id; nullptr for a nil module.
template <typename T> DelphiInterface<T> FirstEditorOf(const _di_IOTAModule& Module, const TGUID& Id) {
    if (!Module)
        return nullptr;
    for (Integer index = 0; index < Module->GetModuleFileCount(); ++index)
        if (auto editor = Supports<T>(Module->GetModuleFileEditor(index).get(), Id))
            return editor;
    return nullptr;
}

_di_IOTASourceEditor FirstSourceEditor(const _di_IOTAModule& Module) {
    return FirstEditorOf<IOTASourceEditor>(Module, IID_IOTASourceEditor);
}

// The first line (0-based) quoting the identifier after an opening
// parenthesis, -1 when none does.
Integer QuotingLine(const AnsiString& Source, const AnsiString& StringID) {
    TStringList lines;
    lines.SetText(Source);
    for (Integer index = 0; index < lines.Count(); ++index) {
        const AnsiString line = lines[index];
        if (line.find("('") != AnsiString::npos &&
            line.find("'" + StringID + "'") != AnsiString::npos)
            return index;
    }
    return -1;
}

} // namespace

_di_IOTAProject TzxLangExpert::GetActiveProject() {
    _di_IOTAProject result;
    ForEachOpenModule([&](const _di_IOTAModule& Module) {
        if (auto group = Supports<IOTAProjectGroup>(Module.get(), IID_IOTAProjectGroup)) {
            result = group->GetActiveProject();
            return true;
        }
        return false;
    });
    if (result)
        return result;
    ForEachOpenModule([&](const _di_IOTAModule& Module) {
        result = Supports<IOTAProject>(Module.get(), IID_IOTAProject);
        return bool(result);
    });
    return result;
}

_di_IOTAModule TzxLangExpert::GetCurrentIdeModule() {
    _di_IOTAModuleServices services = ModuleServices();
    return services ? services->CurrentModule() : nullptr;
}

_di_IOTAModule TzxLangExpert::GetFormIdeModule(const AnsiString& FileName) {
    _di_IOTAModule result;
    ForEachOpenModule([&](const _di_IOTAModule& Module) {
        if (Module->GetFileName() == FileName)
            result = Module;
        return bool(result);
    });
    return result;
}

_di_IOTAModule TzxLangExpert::GetModuleFromFileName(const AnsiString& FileName) {
    if (_di_IOTAProject project = GetActiveProject())
        for (Integer index = 0; index < project->GetModuleCount(); ++index) {
            _di_IOTAModuleInfo info = project->GetModule(index);
            if (info && SameFileName(info->GetFileName(), FileName))
                return info->OpenModule();
        }
    return GetFormIdeModule(FileName);
}

_di_IOTAFormEditor TzxLangExpert::GetFormEditorFromModule(const _di_IOTAModule& Module) {
    return FirstEditorOf<IOTAFormEditor>(Module, IID_IOTAFormEditor);
}

AnsiString TzxLangExpert::UnitFileOfForm(const AnsiString& FormName) {
    if (_di_IOTAProject project = GetActiveProject())
        for (Integer index = 0; index < project->GetModuleCount(); ++index) {
            _di_IOTAModuleInfo info = project->GetModule(index);
            if (info && AnsiSameText(info->GetFormName(), FormName))
                return info->GetFileName();
        }
    return AnsiString();
}

_di_IOTASourceEditor TzxLangExpert::GetSourceEditorFromFormName(const AnsiString& FormName) {
    const AnsiString fileName = UnitFileOfForm(FormName);
    return fileName.empty() ? nullptr : FirstSourceEditor(GetModuleFromFileName(fileName));
}

_di_IOTASourceEditor TzxLangExpert::GetSourceEditorFromFileName(const AnsiString& FileName) {
    return FirstSourceEditor(GetModuleFromFileName(FileName));
}

AnsiString TzxLangExpert::GetUnitSource(const AnsiString& FileName) {
    _di_IOTASourceEditor editor = GetSourceEditorFromFileName(FileName);
    if (!editor)
        return AnsiString();
    Splash("Scanning...", 0);
    AnsiString text;
    try {
        _di_IOTAEditReader reader = editor->CreateReader();
        char block[SourceBlockSize];
        for (Integer got = SourceBlockSize; got == SourceBlockSize;) {
            got = reader->GetText(static_cast<Integer>(text.size()), block, SourceBlockSize);
            text.append(block, static_cast<std::size_t>(std::max(got, 0)));
        }
    } catch (...) {
        NoSplash();
        throw;
    }
    NoSplash();
    return text;
}

bool TzxLangExpert::IsFileOpen(const AnsiString& FileName) {
    _di_IOTAModuleServices services = ModuleServices();
    return services && services->FindModule(FileName);
}

bool TzxLangExpert::OpenFile(const AnsiString& FileName) {
    return FToolServices && FToolServices->OpenFile(FileName);
}

bool TzxLangExpert::CloseFile(const AnsiString& FileName) {
    return FToolServices && FToolServices->CloseFile(FileName);
}

bool TzxLangExpert::SaveFile(const AnsiString& FileName) {
    if (!FToolServices)
        return false;
    TIModuleInterface* module = FToolServices->GetModuleInterface(FileName);
    if (!module)
        return false;
    const bool saved = module->Save(true);
    module->Release();
    return saved;
}

namespace {

TzxCustomLang* EditedLang = nullptr;

} // namespace

TEditedForm::TEditedForm(TzxCustomLang* Lang) : FPrevious(EditedLang) { EditedLang = Lang; }

TEditedForm::~TEditedForm() { EditedLang = FPrevious; }

TzxCustomLang* TEditedForm::Lang() { return EditedLang; }

// Every form has its own first identifiers, so only the edited
// component's unit tells where its identifier is used.
bool TzxLangExpert::ShowStringInSource(const AnsiString& StringID, bool ShowEditor) {
    AnsiString unitFile;
    if (TzxCustomLang* lang = TEditedForm::Lang(); lang && lang->Owner())
        unitFile = UnitFileOfForm(lang->Owner()->Name());
    else if (_di_IOTAModule module = GetCurrentIdeModule())
        unitFile = ChangeFileExt(module->GetFileName(), ".pas");
    if (unitFile.empty())
        return false;
    const Integer line = QuotingLine(GetUnitSource(unitFile), StringID);
    if (line < 0)
        return false;
    if (ShowEditor)
        if (_di_IOTASourceEditor editor = GetSourceEditorFromFileName(unitFile)) {
            editor->Show();
            editor->SetCursorLine(line + 1);
        }
    return true;
}

// ---------------------------------------------------------------------------
// Event handlers written into a form's unit

void TzxLangExpert::DoCreateMethod(const _di_IDesigner& Designer, TPersistent* Instance,
                                   const AnsiString& EventName, const AnsiString& MethodName) {
    PPropInfo event = GetPropInfo(Instance, "On" + EventName);
    if (!event || event->PropType->Kind != tkMethod) {
        Designer->CreateMethod(MethodName, nullptr);
        return;
    }
    SetMethodProp(Instance, event, Designer->CreateMethod(MethodName, event->PropType));
}

TComponent* TzxLangExpert::DesignedRoot(const AnsiString& FileName) {
    FDesigner = DesignerOfFile(FileName);
    return FDesigner ? FDesigner->GetRoot() : nullptr;
}

void TzxLangExpert::CreateHandler(TPersistent* Instance, const AnsiString& EventName,
                                  const AnsiString& MethodName, bool Show) {
    DoCreateMethod(FDesigner, Instance, EventName, MethodName);
    if (!Show)
        return;
    FDesigner->ShowMethod(MethodName);
    FDesigner->Modified();
}

void TzxLangExpert::InsertFormEvent(const AnsiString& FileName, const AnsiString& MethodName,
                                    bool Show) {
    if (TComponent* root = DesignedRoot(FileName))
        CreateHandler(root, "Create",
                      root->InheritsFrom(TCustomForm::StaticClass()) ? MethodName
                                                                     : "DatamoduleCreate",
                      Show);
}

void TzxLangExpert::InsertzxLangEvent(const AnsiString& FileName, const AnsiString& MethodName,
                                      bool Show) {
    TComponent* root = DesignedRoot(FileName);
    for (Integer index = 0; root && index < root->ComponentCount(); ++index) {
        TComponent* each = root->Components(index);
        if (each->InheritsFrom(TzxCustomLang::StaticClass())) {
            CreateHandler(each, "ChangeLanguage", each->Name() + MethodName, Show);
            return;
        }
    }
}

// There is no such event: the method is only created.
void TzxLangExpert::InsertFormMethod(const AnsiString& FileName, const AnsiString&, bool Show) {
    if (TComponent* root = DesignedRoot(FileName))
        CreateHandler(root, "UpdateStrings", "UpdateStrings", Show);
}
