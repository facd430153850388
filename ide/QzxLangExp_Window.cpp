// The expert's window: opening and filling it with the project's forms,
// emptying it, the access to the forms of its rows, the About box and the
// browser.
#include "ide/QzxLangExp.h"

#include "clx/Dialogs.h"
#include "ide/Q_about.h"
#include "ide/QzxLangForm.h"
#include "rtl/FormText.h"
#include "runtime/QzxComp.h"

namespace {

const char* const NoFormModule =
    "Unable to obtain the interface of form module! Please check your project source.";
const char* const NumOfLanguagesKey = "NumOfLanguages = ";
constexpr Byte ResourceMark = 0xFF;

_di_IOTAModuleServices ModuleServices() {
    return Supports<IOTAModuleServices>(BorlandIDEServices, IID_IOTAModuleServices);
}

_di_IOTAModule OpenModuleOf(const AnsiString& FileName) {
    _di_IOTAModuleServices services = ModuleServices();
    return services ? services->FindModule(FileName) : nullptr;
}

// The root of the open file's form, nullptr when it has none.
TComponent* FormRootOf(const AnsiString& FileName) {
    _di_IOTAFormEditor editor = TzxLangExpert::GetFormEditorFromModule(OpenModuleOf(FileName));
    _di_IOTAComponent root = editor ? editor->GetRootComponent() : nullptr;
    return root ? root->GetComponentHandle() : nullptr;
}

// The form text of a form file: a binary form resource is converted, a
// form kept as text is taken as it is.
AnsiString FormTextOf(const AnsiString& FormFile) {
    TMemoryStream data;
    data.LoadFromFile(FormFile);
    if (data.Size() == 0 || data.Memory()[0] != ResourceMark)
        return AnsiString(reinterpret_cast<const char*>(data.Memory()),
                          static_cast<std::size_t>(data.Size()));
    TStringStream text;
    ObjectResourceToText(data, text);
    return text.DataString();
}

// The NamesArray entry that ends an object line as its class, or empty.
AnsiString ComponentClassOfLine(const AnsiString& Line) {
    if (Line.find("object ") == AnsiString::npos && Line.find("inherited ") == AnsiString::npos)
        return AnsiString();
    for (const char* name : NamesArray) {
        const AnsiString ending = AnsiString(": ") + name;
        if (Line.size() >= ending.size() &&
            Line.compare(Line.size() - ending.size(), ending.size(), ending) == 0)
            return name;
    }
    return AnsiString();
}

void ShowTranslationComponent(TListItem* Row, Integer Languages, const AnsiString& ClassName) {
    SetRowText(Row, rtLanguages, IntToStr(Languages));
    SetRowText(Row, rtComponentClass, ClassName);
    Row->SetStateIndex(RowWithComponent);
}

bool IsProjectFileWithoutUnit(const AnsiString& FileName) {
    const AnsiString extension = UpperCase(ExtractFileExt(FileName));
    return extension == ".BPR" || extension == ".H" || extension == ".RES";
}

// The row showing FileName when the IDE shows it in an editor: the unit
// itself or its form file.
bool RowShowsFile(const TListItem* Row, const AnsiString& FileName) {
    const AnsiString unitFile = RowText(Row, rtFileName);
    return AnsiSameText(unitFile, FileName) ||
           AnsiSameText(ChangeFileExt(unitFile, ".dfm"), FileName) ||
           AnsiSameText(ChangeFileExt(unitFile, ".xfm"), FileName);
}

TListItem* RowOfForm(const AnsiString& FormName) {
    return frmzxLang ? frmzxLang->FormRow(FormName) : nullptr;
}

} // namespace

TClass FindIdeDockClasses() {
    for (Integer index = 0; index < Screen->FormCount(); ++index) {
        TCustomForm* form = Screen->Forms(index);
        if (form->Name() != "ProjectManagerForm")
            continue;
        TClass parent = form->ClassType()->Parent;
        if (parent && AnsiString(parent->Name) == "TDockableToolbarForm" && parent->Parent &&
            AnsiString(parent->Parent->Name) == "TDockableForm")
            return parent->Parent;
        return nullptr;
    }
    return nullptr;
}

bool LaunchBrowser(const AnsiString& Address) { return OpenURL(Address); }

// ---------------------------------------------------------------------------
// Opening and filling the window

void TzxLangExpert::OpenWindow() {
    if (frmzxLang) {
        frmzxLang->BringToFront();
        return;
    }
    TClass dockClass = FindIdeDockClasses();
    if (!dockClass) {
        frmzxLang = NewForm<TfrmzxLang>(Application);
        return;
    }
    auto* host = static_cast<TForm*>(CreateComponent(dockClass, nullptr));
    host->AfterConstruction();
    DockForm = host;
    TfrmzxLang* window = NewForm<TfrmzxLang>(host);
    frmzxLang = window;
    host->SetName("MyDockForm");
    host->SetCaption(window->Caption());
    TMainMenu* menu = window->Menu();
    window->SetMenu(nullptr);
    host->SetMenu(menu);
    host->OnClose = [window](TObject* Sender, TCloseAction& Action) {
        window->FormClose(Sender, Action);
    };
    host->SetPosition(poScreenCenter);
    host->SetWidth(window->Width());
    host->SetHeight(window->Height());
    window->SetBorderStyle(fbsNone);
    window->SetParent(host);
    window->SetAlign(alClient);
    window->SetVisible(true);
}

void TzxLangExpert::RunItemClick(TIMenuItemIntf*) {
    if (!FToolServices || FToolServices->GetProjectName().empty())
        return;
    FDesigner.Reset();
    ProjectUnitNames->Clear();
    ProjectUnitFiles->Clear();
    OpenWindow();
    ProjectClosed();
    const AnsiString currentFile = FToolServices->GetCurrentFile();
    TListView* list = frmzxLang->lvFormNames;
    FToolServices->EnumProjectUnits(
        [this](void* Param, const AnsiString& FileName, const AnsiString& UnitName,
               const AnsiString& FormName) {
            return AddProjectModule(Param, FileName, UnitName, FormName);
        },
        list);
    if (OpenAllForms)
        ShowComponentsOfOpenForms();
    if (DockForm) {
        if (!DockForm->Visible())
            DockForm->Show();
        DockForm->BringToFront();
    } else if (!frmzxLang->Visible())
        frmzxLang->Show();
    SetSortedColumn(SortedColumn);
    SetSortOrder(SortOrder);
    frmzxLang->SortRows();
    for (Integer index = 0; !currentFile.empty() && index < list->Items()->Count(); ++index)
        if (TListItem* row = list->Items()->Item(index); RowShowsFile(row, currentFile)) {
            list->SetSelected(row);
            break;
        }
    frmzxLang->UpdateStatusBar();
}

void TzxLangExpert::ShowComponentsOfOpenForms() {
    TListItems* rows = frmzxLang->lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        OpenFile(RowText(rows->Item(index), rtFileName));
    for (Integer index = 0; index < rows->Count(); ++index) {
        TListItem* row = rows->Item(index);
        _di_IOTAFormEditor editor =
            GetFormEditorFromModule(OpenModuleOf(RowText(row, rtFileName)));
        _di_IOTAComponent root = editor ? editor->GetRootComponent() : nullptr;
        for (Integer child = 0; root && child < root->GetComponentCount(); ++child) {
            _di_IOTAComponent component = root->GetComponent(child);
            auto* lang = dynamic_cast<TzxCustomLang*>(component->GetComponentHandle());
            if (lang && AnsiSameText(component->GetComponentType(), CurrentComponentClass)) {
                SetRowText(row, rtLanguages, IntToStr(lang->NumOfLanguages()));
                row->SetStateIndex(RowWithComponent);
            }
        }
    }
}

// A row's notifier keeps a pointer to the row: it is unregistered and let
// go before the rows are freed, so no rename reaches a freed row.
void TzxLangExpert::ProjectClosed() {
    try {
        if (frmzxLang) {
            frmzxLang->ReleaseRowNotifiers();
            frmzxLang->lvFormNames->Items()->Clear();
            frmzxLang->UpdateStatusBar();
        }
        ProjectUnitNames->Clear();
        ProjectUnitFiles->Clear();
    } catch (...) {
    }
}

bool TzxLangExpert::AddProjectModule(void* Param, const AnsiString& FileName,
                                     const AnsiString& UnitName, const AnsiString& FormName) {
    auto* list = static_cast<TListView*>(Param);
    try {
        if (FormName.find('.') != AnsiString::npos)
            return true;
        if (FormName.empty()) {
            if (!UnitName.empty() && !IsProjectFileWithoutUnit(FileName)) {
                ProjectUnitNames->Add(UnitName);
                ProjectUnitFiles->Add(FileName);
            }
            return true;
        }
        TListItem* row = list->Items()->Add();
        row->SetCaption(FormName);
        SetRowText(row, rtUnitName, UnitName);
        SetRowText(row, rtFileName, FileName);
        SetRowText(row, rtLanguages, "0");
        SetRowText(row, rtComponentClass, "");
        row->SetStateIndex(RowWithoutComponent);
        if (FToolServices->IsFileOpen(FileName))
            AddRowOfOpenForm(row, FileName);
        else if (FileExists(ChangeFileExt(FileName, ".xfm")))
            AddRowOfClosedForm(row, ChangeFileExt(FileName, ".xfm"));
    } catch (const Exception& error) {
        if (frmzxLang)
            frmzxLang->SetCaption(error.Message());
    }
    return true;
}

void TzxLangExpert::AddRowOfOpenForm(TListItem* Row, const AnsiString& FileName) {
    TIModuleInterface* moduleInterface = FToolServices->GetModuleInterface(FileName);
    if (!moduleInterface)
        return;
    moduleInterface->Release();
    auto* notifier = new TzxModuleNotifier(Row, OpenModuleOf(FileName));
    notifier->AddRef();
    Row->SetData(notifier);
    TComponent* root = FormRootOf(FileName);
    for (Integer index = 0; root && index < root->ComponentCount(); ++index) {
        TComponent* each = root->Components(index);
        auto* lang = dynamic_cast<TzxCustomLang*>(each);
        for (const char* name : NamesArray)
            if (lang && AnsiSameText(each->ClassName(), name)) {
                ShowTranslationComponent(Row, lang->NumOfLanguages(), name);
                break;
            }
    }
}

// The form text names the component's class on its object line and its
// language count on a later "NumOfLanguages = " line; a component without
// that line has the one default language.
void TzxLangExpert::AddRowOfClosedForm(TListItem* Row, const AnsiString& FormFile) {
    TStringList lines;
    lines.SetText(FormTextOf(FormFile));
    Integer componentLine = -1;
    AnsiString componentClass;
    Integer languages = 0;
    for (Integer index = 0; index < lines.Count(); ++index) {
        const AnsiString line = lines[index];
        if (const AnsiString found = ComponentClassOfLine(line); !found.empty()) {
            componentLine = index;
            componentClass = found;
        }
        const std::size_t key = line.find(NumOfLanguagesKey);
        if (componentLine >= 0 && componentLine < index && key != AnsiString::npos) {
            languages = StrToInt(line.substr(std::min(line.find('=') + 2, line.size())));
            break;
        }
    }
    if (componentLine >= 0 && languages == 0)
        languages = 1;
    if (languages > 0)
        ShowTranslationComponent(Row, languages, componentClass);
}

// ---------------------------------------------------------------------------
// The forms of the rows

bool TzxLangExpert::TestForCorrectForm(const AnsiString& FormName) {
    _di_IOTAModuleServices services = ModuleServices();
    if (services && services->FindFormModule(FormName))
        return true;
    MessageDlg(NoFormModule, mtError, {mbOk}, 0);
    if (frmzxLang)
        frmzxLang->BringToFront();
    return false;
}

TListItem* TzxLangExpert::OpenRowOfForm(const AnsiString& FormName) {
    TListItem* row = RowOfForm(FormName);
    if (!row)
        return nullptr;
    const AnsiString fileName = RowText(row, rtFileName);
    if (!IsFileOpen(fileName) && !OpenFile(fileName))
        return nullptr;
    return TestForCorrectForm(FormName) ? row : nullptr;
}

_di_IDesigner TzxLangExpert::DesignerOfFile(const AnsiString& FileName) {
    auto nativeEditor = Supports<INTAFormEditor>(
        GetFormEditorFromModule(GetModuleFromFileName(FileName)).get(), IID_INTAFormEditor);
    return nativeEditor ? nativeEditor->GetFormDesigner() : nullptr;
}

_di_IDesigner TzxLangExpert::GetDesigner() {
    FDesigner.Reset();
    if (!frmzxLang)
        return nullptr;
    TListView* list = frmzxLang->lvFormNames;
    if (TListItem* selected = list->Selected();
        selected && IsFileOpen(RowText(selected, rtFileName)))
        FDesigner = DesignerOfFile(RowText(selected, rtFileName));
    for (Integer index = 0; !FDesigner && index < list->Items()->Count(); ++index)
        if (const AnsiString fileName = RowText(list->Items()->Item(index), rtFileName);
            IsFileOpen(fileName))
            FDesigner = DesignerOfFile(fileName);
    return FDesigner;
}

_di_IDesigner TzxLangExpert::GetDesignerByFormName(const AnsiString& FormName) {
    if (TListItem* row = OpenRowOfForm(FormName))
        FDesigner = DesignerOfFile(RowText(row, rtFileName));
    return FDesigner;
}

TComponent* TzxLangExpert::GetOwnerByName(const AnsiString& FormName) {
    TListItem* row = OpenRowOfForm(FormName);
    return row ? FormRootOf(RowText(row, rtFileName)) : nullptr;
}

TComponent* TzxLangExpert::GetComponentOnForm(const AnsiString& FormName,
                                              const AnsiString& ComponentName) {
    TComponent* root = GetOwnerByName(FormName);
    for (Integer index = 0; root && index < root->ComponentCount(); ++index)
        if (AnsiSameText(root->Components(index)->Name(), ComponentName))
            return root->Components(index);
    return nullptr;
}

bool TzxLangExpert::IsDataModule(const AnsiString& FormName) {
    TListItem* row = RowOfForm(FormName);
    if (!row)
        return false;
    const AnsiString fileName = RowText(row, rtFileName);
    OpenFile(fileName);
    TIModuleInterface* formModule = FToolServices->GetFormModuleInterface(FormName);
    if (!formModule)
        throw Exception("nil intf!");
    formModule->Release();
    return !dynamic_cast<TCustomForm*>(FormRootOf(fileName));
}

void TzxLangExpert::MarkModifiedForm(const AnsiString& FormName) {
    GetDesignerByFormName(FormName);
    if (!FDesigner)
        return;
    _di_IOTAModuleServices services = ModuleServices();
    if (_di_IOTAFormEditor editor =
            GetFormEditorFromModule(services ? services->FindFormModule(FormName) : nullptr))
        editor->MarkModified();
}

void TzxLangExpert::DisplayAboutBox(TObject*) {
    RegisterClxClasses();
    std::unique_ptr<TfrmAbout> box(NewForm<TfrmAbout>(Application));
    for (TLabel* link : box->LinkLabels())
        link->SetCursor(crHandPoint);
    box->ShowModal();
}
