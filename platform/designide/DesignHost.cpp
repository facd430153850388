#include "designide/DesignHost.h"

#include "designide/DesignRegistry.h"
#include "designide/ExptIntf.h"
#include "designide/HostModule.h"
#include "designide/Packages.h"
#include "designide/PascalSource.h"
#include "designide/ToolIntf.h"

#include "clx/ActnList.h"
#include "clx/Buttons.h"
#include "clx/CheckLst.h"
#include "clx/ComCtrls.h"
#include "clx/DB.h"
#include "clx/Forms.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/ImgList.h"
#include "clx/StdCtrls.h"

TIToolServices* ToolServices = nullptr;
IInterface* BorlandIDEServices = nullptr;

namespace {

TDesignHost* CurrentHost = nullptr;

// The classes the IDE docks its tool windows in; a window that descends
// from them docks into the host.
class TDockableForm : public TForm {
    ZX_CLASS(TDockableForm, TForm)
public:
    using TForm::TForm;
};
class TDockableToolbarForm : public TDockableForm {
    ZX_CLASS(TDockableToolbarForm, TDockableForm)
public:
    using TDockableForm::TDockableForm;
};
class TProjectManagerForm : public TDockableToolbarForm {
    ZX_CLASS(TProjectManagerForm, TDockableToolbarForm)
public:
    using TDockableToolbarForm::TDockableToolbarForm;
};

// The sections of the main menu: item names and captions.
constexpr std::pair<const char*, const char*> MenuSections[] = {
    {"FileMenu", "&File"},       {"EditMenu", "&Edit"},           {"SearchMenu", "&Search"},
    {"ViewsMenu", "&View"},      {"ProjectMenu", "&Project"},     {"RunMenu", "&Run"},
    {"ComponentMenu", "&Component"}, {"ToolsMenu", "&Tools"},     {"HelpMenu", "&Help"}};

// Hears of its item's destruction, so that a reference kept by an expert
// never reaches a freed item.
class TMenuItemWatch : public TComponent {
public:
    explicit TMenuItemWatch(TMenuItem* Item) : TComponent(nullptr), FItem(Item) {
        if (FItem)
            FItem->FreeNotification(this);
    }
    ~TMenuItemWatch() override {
        if (FItem)
            FItem->RemoveFreeNotification(this);
    }
    TMenuItem* Item() const { return FItem; }
    void Forget() {
        if (FItem)
            FItem->RemoveFreeNotification(this);
        FItem = nullptr;
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FItem)
            FItem = nullptr;
    }

private:
    TMenuItem* FItem;
};

class TMenuItemImpl : public TIMenuItemIntf {
public:
    explicit TMenuItemImpl(TMenuItem* Item) : FWatch(std::make_unique<TMenuItemWatch>(Item)) {}

    bool DestroyMenuItem() override {
        TMenuItem* item = FWatch->Item();
        if (!item)
            return false;
        FWatch->Forget();
        delete item;
        return true;
    }
    Integer GetIndex() override { return Item() ? Item()->MenuIndex() : -1; }
    Integer GetItemCount() override { return Item() ? Item()->Count() : 0; }
    TIMenuItemIntf* GetItem(Integer Index) override {
        if (!Item() || Index < 0 || Index >= Item()->Count())
            return nullptr;
        return new TMenuItemImpl(Item()->Items(Index));
    }
    AnsiString GetName() override { return Item() ? Item()->Name() : AnsiString(); }
    AnsiString GetCaption() override { return Item() ? Item()->Caption() : AnsiString(); }
    TShortCut GetShortCut() override { return Item() ? Item()->ShortCut() : scNone; }
    TIMenuFlags GetFlags() override {
        TIMenuFlags flags;
        if (Item()) {
            if (Item()->Enabled())
                flags.Include(mfEnabled);
            if (Item()->Visible())
                flags.Include(mfVisible);
            if (Item()->Checked())
                flags.Include(mfChecked);
        }
        return flags;
    }
    TIMenuItemIntf* InsertItem(Integer Index, const AnsiString& Caption, const AnsiString& Name,
                               const AnsiString& Hint, TShortCut ShortCut, Integer Context,
                               Integer GroupIndex, TIMenuFlags Flags,
                               TIMenuClickEvent EventHandler) override {
        TMenuItem* parent = Item();
        if (!parent)
            return nullptr;
        std::unique_ptr<TMenuItem> item(new TMenuItem(parent->Owner()));
        item->SetName(Name);
        if (parent->Owner())
            parent->Owner()->InsertComponent(item.get());
        item->SetCaption(Caption);
        item->SetHint(Hint);
        item->SetShortCut(ShortCut);
        item->SetHelpContext(Context);
        item->SetGroupIndex(static_cast<Byte>(GroupIndex));
        item->SetEnabled(Flags.Contains(mfEnabled));
        item->SetVisible(Flags.Contains(mfVisible));
        item->SetChecked(Flags.Contains(mfChecked));
        parent->Insert(std::clamp(Index, 0, parent->Count()), item.get());
        auto* result = new TMenuItemImpl(item.release());
        TMenuItem* inserted = result->Item();
        inserted->OnClick = [inserted, EventHandler](TObject*) {
            if (!EventHandler)
                return;
            TMenuItemImpl sender(inserted);
            sender.AddRef();
            EventHandler(&sender);
        };
        return result;
    }
    void Click() override {
        if (Item())
            Item()->Click();
    }

private:
    TMenuItem* Item() const { return FWatch->Item(); }
    std::unique_ptr<TMenuItemWatch> FWatch;
};

TMenuItem* FindItem(TMenuItem* Root, const AnsiString& Name) {
    if (SameText(Root->Name(), Name))
        return Root;
    for (Integer index = 0; index < Root->Count(); ++index)
        if (TMenuItem* found = FindItem(Root->Items(index), Name))
            return found;
    return nullptr;
}

class TMainMenuImpl : public TIMainMenuIntf {
public:
    explicit TMainMenuImpl(TMainMenu* Menu) : FMenu(Menu) {}
    TIMenuItemIntf* FindMenuItem(const AnsiString& Name) override {
        TMenuItem* found = Name.empty() ? nullptr : FindItem(FMenu->Items(), Name);
        return found ? new TMenuItemImpl(found) : nullptr;
    }
    TIMenuItemIntf* GetMenuItems() override { return new TMenuItemImpl(FMenu->Items()); }

private:
    TMainMenu* FMenu;
};

// The older interfaces over a module: each holds the module for its life.
class TEditReaderImpl : public TIEditReader {
public:
    explicit TEditReaderImpl(_di_IOTAEditReader Reader) : FReader(std::move(Reader)) {}
    Integer GetText(Integer Position, char* Buffer, Integer Count) override {
        return FReader->GetText(Position, Buffer, Count);
    }

private:
    _di_IOTAEditReader FReader;
};

class TEditWriterImpl : public TIEditWriter {
public:
    explicit TEditWriterImpl(_di_IOTAEditWriter Writer) : FWriter(std::move(Writer)) {}
    bool CopyTo(Integer Pos) override { return Step([&] { FWriter->CopyTo(Pos); }); }
    bool DeleteTo(Integer Pos) override { return Step([&] { FWriter->DeleteTo(Pos); }); }
    bool Insert(const char* Text) override { return Step([&] { FWriter->Insert(Text); }); }
    Integer Position() override { return FWriter->CurrentPos(); }

private:
    template <typename F> bool Step(F Action) {
        try {
            Action();
            return true;
        } catch (const Exception&) {
            return false;
        }
    }
    _di_IOTAEditWriter FWriter;
};

class TEditorInterfaceImpl : public TIEditorInterface {
public:
    explicit TEditorInterfaceImpl(_di_TDesignModule Module) : FModule(std::move(Module)) {}
    TIEditReader* CreateReader() override { return new TEditReaderImpl(FModule->CreateReader()); }
    TIEditWriter* CreateUndoableWriter() override {
        return new TEditWriterImpl(FModule->CreateUndoableWriter());
    }
    AnsiString FileName() override { return FModule->GetFileName(); }
    Integer LinesInBuffer() override { return FModule->GetLinesInBuffer(); }
    void ShowLine(Integer Line) override { FModule->SetCursorLine(Line); }

private:
    _di_TDesignModule FModule;
};

class TComponentInterfaceImpl : public TIComponentInterface {
public:
    explicit TComponentInterfaceImpl(TComponent* Component) : FComponent(Component) {}
    AnsiString GetComponentType() override { return FComponent->ClassName(); }
    TComponent* GetComponentHandle() override { return FComponent; }
    Integer GetComponentCount() override { return FComponent->ComponentCount(); }
    TIComponentInterface* GetComponent(Integer Index) override {
        if (Index < 0 || Index >= FComponent->ComponentCount())
            return nullptr;
        return new TComponentInterfaceImpl(FComponent->Components(Index));
    }

private:
    TComponent* FComponent;
};

class TFormInterfaceImpl : public TIFormInterface {
public:
    explicit TFormInterfaceImpl(_di_TDesignModule Module) : FModule(std::move(Module)) {}
    AnsiString FileName() override { return ChangeFileExt(FModule->GetFileName(), ".xfm"); }
    bool FormModified() override { return FModule->GetModified(); }
    bool MarkModified() override {
        FModule->Modified();
        return true;
    }
    TIComponentInterface* GetFormComponent() override {
        return FModule->GetRoot() ? new TComponentInterfaceImpl(FModule->GetRoot()) : nullptr;
    }

private:
    _di_TDesignModule FModule;
};

class TModuleInterfaceImpl : public TIModuleInterface {
public:
    explicit TModuleInterfaceImpl(_di_TDesignModule Module) : FModule(std::move(Module)) {}
    TIEditorInterface* GetEditorInterface() override { return new TEditorInterfaceImpl(FModule); }
    TIFormInterface* GetFormInterface() override {
        return FModule->GetRoot() ? new TFormInterfaceImpl(FModule) : nullptr;
    }
    bool Save(bool ForceSave) override { return FModule->Save(false, ForceSave); }
    bool Close() override { return FModule->Close(); }
    bool ShowSource() override {
        FModule->Show();
        return true;
    }
    bool ShowForm() override { return FModule->GetRoot() != nullptr; }

private:
    _di_TDesignModule FModule;
};

void RegisterClxUnits() {
    RegisterUnitClasses("QForms", {TForm::StaticClass(), TFrame::StaticClass(),
                                   TDataModule::StaticClass()});
    RegisterUnitClasses("QStdCtrls",
                        {TLabel::StaticClass(), TButton::StaticClass(), TEdit::StaticClass(),
                         TMemo::StaticClass(), TCheckBox::StaticClass(),
                         TRadioButton::StaticClass(), TGroupBox::StaticClass(),
                         TComboBox::StaticClass(), TListBox::StaticClass()});
    RegisterUnitClasses("QMenus", {TMainMenu::StaticClass(), TPopupMenu::StaticClass(),
                                   TMenuItem::StaticClass()});
    RegisterUnitClasses("QActnList", {TActionList::StaticClass(), TAction::StaticClass()});
    RegisterUnitClasses("QComCtrls",
                        {TPageControl::StaticClass(), TTabSheet::StaticClass(),
                         TStatusBar::StaticClass(), THeaderControl::StaticClass(),
                         TListView::StaticClass(), TTreeView::StaticClass(),
                         TProgressBar::StaticClass(), TToolBar::StaticClass(),
                         TToolButton::StaticClass()});
    RegisterUnitClasses("QExtCtrls", {TPanel::StaticClass(), TRadioGroup::StaticClass(),
                                      TImage::StaticClass(), TSplitter::StaticClass(),
                                      TBevel::StaticClass()});
    RegisterUnitClasses("QButtons", {TBitBtn::StaticClass(), TSpeedButton::StaticClass()});
    RegisterUnitClasses("QCheckLst", {TCheckListBox::StaticClass()});
    RegisterUnitClasses("QImgList", {TImageList::StaticClass()});
    RegisterUnitClasses("DB", {TDataSet::StaticClass()});
}

} // namespace

// ---------------------------------------------------------------------------
// The services behind ToolServices and BorlandIDEServices

class TDesignHost::TToolServicesImpl : public TIToolServices {
public:
    explicit TToolServicesImpl(TDesignHost& Host) : FHost(Host) {}
    ~TToolServicesImpl() override {
        for (TIAddInNotifier* notifier : FNotifiers)
            notifier->Release();
    }

    AnsiString GetProjectName() override { return FHost.ProjectFileName(); }
    AnsiString GetCurrentFile() override { return FHost.CurrentFile(); }
    bool EnumProjectUnits(const TProjectEnumProc& EnumProc, void* Param) override {
        TDesignModule* project = FHost.ProjectModule();
        if (!project)
            return false;
        if (!EnumProc(Param, project->GetFileName(),
                      PascalSource::ProgramName(project->Source().Text()), AnsiString()))
            return true;
        for (const auto& unit : PascalSource::ProjectUnits(project->Source().Text(), true))
            if (!EnumProc(Param, FHost.ExpandName(unit.FileName), unit.UnitName, unit.FormName))
                break;
        return true;
    }
    bool IsFileOpen(const AnsiString& FileName) override { return FHost.IsFileOpen(FileName); }
    bool OpenFile(const AnsiString& FileName) override { return FHost.OpenFile(FileName); }
    bool CloseFile(const AnsiString& FileName) override { return FHost.CloseFile(FileName); }
    bool OpenProject(const AnsiString& ProjName) override { return FHost.OpenProject(ProjName); }
    bool CloseProject() override { return FHost.CloseProject(); }
    bool SaveProject() override { return FHost.SaveAll(); }
    TIModuleInterface* GetModuleInterface(const AnsiString& FileName) override {
        TDesignModule* module = FHost.FindModule(FileName);
        return module ? new TModuleInterfaceImpl(module) : nullptr;
    }
    TIModuleInterface* GetFormModuleInterface(const AnsiString& FormName) override {
        TDesignModule* module = FHost.FindFormModule(FormName);
        if (!module) {
            module = FHost.FindModule(FormName);
            module = module && module->GetRoot() ? module : nullptr;
        }
        return module ? new TModuleInterfaceImpl(module) : nullptr;
    }
    TIMainMenuIntf* GetMainMenu() override {
        return FHost.MainMenu() ? new TMainMenuImpl(FHost.MainMenu()) : nullptr;
    }
    bool AddNotifier(TIAddInNotifier* AddInNotifier) override {
        if (!AddInNotifier)
            return false;
        AddInNotifier->AddRef();
        FNotifiers.push_back(AddInNotifier);
        return true;
    }
    bool RemoveNotifier(TIAddInNotifier* AddInNotifier) override {
        auto found = std::find(FNotifiers.begin(), FNotifiers.end(), AddInNotifier);
        if (found == FNotifiers.end())
            return false;
        FNotifiers.erase(found);
        AddInNotifier->Release();
        return true;
    }
    void RaiseException(const AnsiString& Message) override { FHost.ShowMessageText(Message); }

    bool Notify(TFileNotification Code, const AnsiString& FileName) {
        // A notifier may remove itself while it is told.
        std::vector<TIAddInNotifier*> notifiers = FNotifiers;
        for (TIAddInNotifier* each : notifiers)
            each->AddRef();
        bool cancel = false;
        for (TIAddInNotifier* each : notifiers) {
            try {
                each->FileNotification(Code, FileName, cancel);
            } catch (const Exception& error) {
                FHost.ShowMessageText(error.Message());
            }
            each->Release();
        }
        return !cancel;
    }

private:
    TDesignHost& FHost;
    std::vector<TIAddInNotifier*> FNotifiers;
};

class TDesignHost::TIDEServices : public TInterfacedObject,
                                  public IOTAModuleServices,
                                  public IOTAActionServices {
public:
    explicit TIDEServices(TDesignHost& Host) : FHost(Host) {}
    bool QueryInterface(const TGUID& Id, void** Obj) override {
        *Obj = nullptr;
        if (Id == IID_IOTAModuleServices || Id == IID_IInterface)
            *Obj = static_cast<IOTAModuleServices*>(this);
        else if (Id == IID_IOTAActionServices)
            *Obj = static_cast<IOTAActionServices*>(this);
        if (!*Obj)
            return false;
        AddRef();
        return true;
    }
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }

    Integer GetModuleCount() override { return static_cast<Integer>(FHost.Modules().size()); }
    _di_IOTAModule GetModule(Integer Index) override {
        if (Index < 0 || Index >= GetModuleCount())
            return nullptr;
        return Module(FHost.Modules()[static_cast<std::size_t>(Index)]);
    }
    _di_IOTAModule CurrentModule() override { return Module(FHost.FindModule(FHost.CurrentFile())); }
    _di_IOTAModule FindModule(const AnsiString& FileName) override {
        return Module(FHost.FindModule(FileName));
    }
    _di_IOTAModule FindFormModule(const AnsiString& FormName) override {
        return Module(FHost.FindFormModule(FormName));
    }
    bool OpenFile(const AnsiString& FileName) override { return FHost.OpenFile(FileName); }
    bool CloseFile(const AnsiString& FileName) override { return FHost.CloseFile(FileName); }

private:
    static _di_IOTAModule Module(TDesignModule* Module) {
        return Module ? _di_IOTAModule(static_cast<IOTAModule*>(Module)) : nullptr;
    }
    TDesignHost& FHost;
};

// ---------------------------------------------------------------------------
// Versions

AnsiString IDEVersionName(TIDEVersion Version) {
    return GetEnumName(TypeInfoOf(Version), Version).substr(3);
}

TIDEVersion IDEVersionFromName(const AnsiString& Name) {
    for (TIDEVersion each : {ideK1, ideK2, ideK3D})
        if (SameText(IDEVersionName(each), Name))
            return each;
    throw EConvertError(Format("Unknown IDE version \"%s\" (K1, K2 or K3D)", {Name}));
}

TIDEVersion IDEVersionFromArguments(Integer ArgCount, const char* const* Args) {
    const AnsiString option = "--ide=";
    for (Integer index = 1; index < ArgCount; ++index) {
        AnsiString argument = Args[index];
        if (argument.starts_with(option))
            return IDEVersionFromName(argument.substr(option.size()));
    }
    return ideK2;
}

// ---------------------------------------------------------------------------
// TDesignHost

TDesignHost::TDesignHost(TIDEVersion Version) : FVersion(Version) {
    if (CurrentHost)
        throw EInvalidOperation("A design host is running already");
    RegisterClxClasses();
    SetRegisteringModule(nullptr);
    RegisterClxUnits();
    BuildWindows();
    FToolServices = new TToolServicesImpl(*this);
    FServices = new TIDEServices(*this);
    FServices->AddRef();
    ToolServices = FToolServices;
    BorlandIDEServices = static_cast<IOTAModuleServices*>(FServices);
    CurrentHost = this;
}

TDesignHost::~TDesignHost() {
    while (!FPackages.empty())
        UnloadPackage(FPackages.back()->FileName());
    ReleaseModuleExperts(nullptr);
    while (!FModules.empty())
        CloseModule(FModules.back(), true);
    FProject = nullptr;
    UnRegisterModuleEditors(nullptr);
    UnRegisterModuleUnits(nullptr);
    ToolServices = nullptr;
    BorlandIDEServices = nullptr;
    FToolServices->Release();
    FServices->Release();
    delete FProjectManager;
    delete FMainWindow;
    CurrentHost = nullptr;
}

TDesignHost* TDesignHost::Current() { return CurrentHost; }

void TDesignHost::BuildWindows() {
    FMainWindow = new TForm(nullptr);
    FMainWindow->SetName("AppBuilder");
    FMainWindow->SetCaption("zxide");
    auto* menu = NewComponent<TMainMenu>(FMainWindow);
    menu->SetName("MainMenu1");
    for (const auto& [name, caption] : MenuSections) {
        auto* item = NewComponent<TMenuItem>(FMainWindow);
        item->SetName(name);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    FMainWindow->SetMenu(menu);
    FMainWindow->AfterConstruction();
    FProjectManager = new TProjectManagerForm(nullptr);
    FProjectManager->SetName("ProjectManagerForm");
    FProjectManager->SetCaption("Project Manager");
    FProjectManager->AfterConstruction();
}

TMainMenu* TDesignHost::MainMenu() const { return FMainWindow->Menu(); }

void TDesignHost::ShowMessageText(const AnsiString& Message) {
    FMessages.push_back(Message);
    if (OnMessage)
        OnMessage(Message);
    ShowMessage(Message);
}

AnsiString TDesignHost::ExpandName(const AnsiString& FileName) const {
    if (FileName.empty() || FileName[0] == PathDelim || FProjectFile.empty())
        return ExpandFileName(FileName);
    return ExpandFileName(ExtractFilePath(FProjectFile) + FileName);
}

bool TDesignHost::Notify(Integer Code, const AnsiString& FileName) {
    return FToolServices->Notify(static_cast<TFileNotification>(Code), FileName);
}

TDesignModule* TDesignHost::FindModule(const AnsiString& FileName) const {
    if (FileName.empty())
        return nullptr;
    const AnsiString expanded = ExpandName(FileName);
    for (TDesignModule* module : FModules)
        if (SameFileName(module->GetFileName(), expanded))
            return module;
    return nullptr;
}

TDesignModule* TDesignHost::FindFormModule(const AnsiString& FormName) const {
    if (FormName.empty())
        return nullptr;
    for (TDesignModule* module : FModules)
        if (module->GetRoot() && SameText(module->FormName(), FormName))
            return module;
    return nullptr;
}

bool TDesignHost::IsFileOpen(const AnsiString& FileName) const { return FindModule(FileName) != nullptr; }

TComponent* TDesignHost::FormOf(const AnsiString& FileName) const {
    TDesignModule* module = FindModule(FileName);
    return module ? module->GetRoot() : nullptr;
}

std::vector<AnsiString> TDesignHost::SkippedProperties(const AnsiString& FileName) const {
    TDesignModule* module = FindModule(FileName);
    return module ? module->SkippedProperties() : std::vector<AnsiString>();
}

void TDesignHost::SetCurrentFile(const AnsiString& FileName) {
    FCurrentFile = FileName.empty() ? FileName : ExpandName(FileName);
    TDesignModule* module = FindModule(FCurrentFile);
    FCursorLine = module ? module->GetCursorLine() : 0;
    if (OnShowFile)
        OnShowFile(FCurrentFile, FCursorLine);
}

TDesignModule* TDesignHost::OpenModule(const AnsiString& FileName, bool IsProject) {
    if (!Notify(fnFileOpening, FileName))
        return nullptr;
    TDesignModule* module;
    try {
        module = new TDesignModule(*this, FileName, IsProject);
    } catch (const Exception& error) {
        ShowMessageText(error.Message());
        return nullptr;
    }
    module->AddRef();
    FModules.push_back(module);
    Notify(fnFileOpened, FileName);
    return module;
}

bool TDesignHost::OpenFile(const AnsiString& FileName) {
    const AnsiString expanded = ExpandName(FileName);
    if (!FindModule(expanded) && !OpenModule(expanded, false))
        return false;
    SetCurrentFile(expanded);
    return true;
}

bool TDesignHost::CloseModule(TDesignModule* Module, bool Force) {
    const AnsiString fileName = Module->GetFileName();
    if (!Force && Module->GetModified())
        return false;
    if (!Notify(fnFileClosing, fileName) && !Force)
        return false;
    std::erase(FModules, Module);
    Module->Shutdown();
    Module->Release();
    if (SameFileName(FCurrentFile, fileName))
        SetCurrentFile(AnsiString());
    return true;
}

bool TDesignHost::CloseFile(const AnsiString& FileName, bool DiscardChanges) {
    TDesignModule* module = FindModule(FileName);
    return module && module != FProject && CloseModule(module, DiscardChanges);
}

bool TDesignHost::SaveFile(const AnsiString& FileName) {
    TDesignModule* module = FindModule(FileName);
    return module && module->Save(false, true);
}

bool TDesignHost::Undo(const AnsiString& FileName) {
    TDesignModule* module = FindModule(FileName);
    return module && module->Source().Undo();
}

bool TDesignHost::SaveAll() {
    bool saved = true;
    for (TDesignModule* module : std::vector<TDesignModule*>(FModules))
        saved = module->Save(false, true) && saved;
    return saved;
}

bool TDesignHost::OpenProject(const AnsiString& FileName) {
    const AnsiString expanded = ExpandFileName(FileName);
    if (FProject && !CloseProject())
        return false;
    if (!Notify(fnProjectOpening, expanded))
        return false;
    FProjectFile = expanded;
    FProject = OpenModule(expanded, true);
    if (!FProject) {
        FProjectFile.clear();
        return false;
    }
    Notify(fnProjectOpened, expanded);
    return true;
}

bool TDesignHost::CloseProject(bool DiscardChanges) {
    if (!FProject)
        return true;
    for (TDesignModule* module : FModules)
        if (module->GetModified() && !DiscardChanges)
            return false;
    Notify(fnProjectClosing, FProjectFile);
    while (!FModules.empty())
        CloseModule(FModules.back(), true);
    FProject = nullptr;
    FProjectFile.clear();
    return true;
}

AnsiString TDesignHost::ProjectFileName() const { return FProjectFile; }

bool TDesignHost::AddToProject(const AnsiString& UnitFile, const AnsiString& FormName,
                               const AnsiString& FormBase) {
    if (!FProject)
        return false;
    const AnsiString expanded = ExpandName(UnitFile);
    AnsiString relative = expanded;
    const AnsiString directory = ExtractFilePath(FProjectFile);
    if (relative.starts_with(directory))
        relative = relative.substr(directory.size());
    PascalSource::TProjectUnit unit{ChangeFileExt(ExtractFileName(expanded), ""), relative, FormName,
                                    FormBase};
    FProject->Source().Replace(PascalSource::AddProjectUnit(FProject->Source().Text(), unit));
    Notify(fnAddedToProject, expanded);
    return true;
}

bool TDesignHost::RemoveFromProject(const AnsiString& UnitFile) {
    if (!FProject)
        return false;
    const AnsiString expanded = ExpandName(UnitFile);
    const AnsiString text = FProject->Source().Text();
    const AnsiString changed =
        PascalSource::RemoveProjectUnit(text, ChangeFileExt(ExtractFileName(expanded), ""));
    if (changed == text)
        return false;
    FProject->Source().Replace(changed);
    Notify(fnRemovedFromProject, expanded);
    return true;
}

void TDesignHost::ClosePackageForms(const TDesignPackage& Package) {
    for (TDesignModule* module : std::vector<TDesignModule*>(FModules)) {
        if (!module->HoldsObjectsOf([&Package](TClass C) { return Package.OwnsClass(C); }))
            continue;
        if (module->GetModified())
            module->Save(false, true);
        CloseModule(module, true);
    }
}
