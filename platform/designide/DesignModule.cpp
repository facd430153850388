#include "designide/DesignRoots.h"
#include "designide/DesignRegistry.h"
#include "designide/HostModule.h"
#include "designide/PascalSource.h"

#include "clx/Controls.h"
#include "clx/Dialogs.h"
#include "rtl/FormText.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

struct TUnitEntry {
    AnsiString UnitName;
    TClass Class;
    const void* Module;
};

std::vector<TUnitEntry>& UnitEntries() {
    static std::vector<TUnitEntry> entries;
    return entries;
}

// Reads the source buffer for one reader.
class TEditReader : public TInterfacedObject, public IOTAEditReader {
public:
    explicit TEditReader(TDesignModule* Module) : FModule(Module) {}
    bool QueryInterface(const TGUID&, void** Obj) override {
        *Obj = nullptr;
        return false;
    }
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }
    Integer GetText(Integer Position, char* Buffer, Integer Count) override {
        const AnsiString& text = FModule->Source().Text();
        if (Position < 0 || Count <= 0 || static_cast<std::size_t>(Position) >= text.size())
            return 0;
        std::size_t copied = text.copy(Buffer, static_cast<std::size_t>(Count),
                                       static_cast<std::size_t>(Position));
        return static_cast<Integer>(copied);
    }

private:
    _di_TDesignModule FModule;
};

// Builds the new text in one pass over the original; the last release
// applies it as one undoable edit.
class TEditWriter : public TInterfacedObject, public IOTAEditWriter {
public:
    explicit TEditWriter(TDesignModule* Module)
        : FModule(Module), FOriginal(Module->Source().Text()) {}
    ~TEditWriter() override {
        FOutput += FOriginal.substr(FPosition);
        FModule->Source().Replace(FOutput);
    }
    bool QueryInterface(const TGUID&, void** Obj) override {
        *Obj = nullptr;
        return false;
    }
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }
    void CopyTo(Integer Pos) override {
        std::size_t from = FPosition;
        FOutput += FOriginal.substr(from, Advance(Pos));
    }
    void DeleteTo(Integer Pos) override { Advance(Pos); }
    void Insert(const char* Text) override { FOutput += Text ? Text : ""; }
    Integer CurrentPos() override { return static_cast<Integer>(FPosition); }

private:
    // Moves to Pos (clamped to the text's end); the number of bytes passed.
    std::size_t Advance(Integer Pos) {
        if (Pos < 0 || static_cast<std::size_t>(Pos) < FPosition)
            throw Exception(Format("Edit writer cannot go back from %d to %d",
                                   {static_cast<Integer>(FPosition), Pos}));
        std::size_t target = std::min(static_cast<std::size_t>(Pos), FOriginal.size());
        std::size_t passed = target - FPosition;
        FPosition = target;
        return passed;
    }

    _di_TDesignModule FModule;
    AnsiString FOriginal;
    AnsiString FOutput;
    std::size_t FPosition = 0;
};

class TOTAComponent : public TInterfacedObject, public IOTAComponent {
public:
    explicit TOTAComponent(TComponent* Component) : FComponent(Component) {}
    bool QueryInterface(const TGUID&, void** Obj) override {
        *Obj = nullptr;
        return false;
    }
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }
    AnsiString GetComponentType() override { return FComponent->ClassName(); }
    TComponent* GetComponentHandle() override { return FComponent; }
    Integer GetComponentCount() override { return FComponent->ComponentCount(); }
    DelphiInterface<IOTAComponent> GetComponent(Integer Index) override {
        if (Index < 0 || Index >= FComponent->ComponentCount())
            return nullptr;
        return DelphiInterface<IOTAComponent>(new TOTAComponent(FComponent->Components(Index)));
    }

private:
    TComponent* FComponent;
};

class TModuleInfo : public TInterfacedObject, public IOTAModuleInfo {
public:
    TModuleInfo(TDesignHost& Host, PascalSource::TProjectUnit Unit, AnsiString FileName)
        : FHost(Host), FUnit(std::move(Unit)), FFileName(std::move(FileName)) {}
    bool QueryInterface(const TGUID&, void** Obj) override {
        *Obj = nullptr;
        return false;
    }
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }
    AnsiString GetFileName() override { return FFileName; }
    AnsiString GetName() override { return FUnit.UnitName; }
    AnsiString GetFormName() override { return FUnit.FormName; }
    _di_IOTAModule OpenModule() override {
        if (!FHost.OpenFile(FFileName))
            return nullptr;
        return _di_IOTAModule(static_cast<IOTAModule*>(FHost.FindModule(FFileName)));
    }

private:
    TDesignHost& FHost;
    PascalSource::TProjectUnit FUnit;
    AnsiString FFileName;
};

// The components of Root and Root itself, with every component they own.
void ForEachComponent(TComponent* Root, const std::function<void(TComponent*)>& Each) {
    Each(Root);
    for (Integer index = 0; index < Root->ComponentCount(); ++index)
        ForEachComponent(Root->Components(index), Each);
}

} // namespace

AnsiString ReadFileBytes(const AnsiString& FileName) {
    std::ifstream file(FileName, std::ios::binary);
    if (!file)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", {FileName, SysErrorMessage(errno)}));
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void RegisterUnitClasses(const AnsiString& UnitName, std::initializer_list<TClass> Classes) {
    for (TClass each : Classes)
        UnitEntries().push_back(TUnitEntry{UnitName, each, RegisteringModule()});
}

AnsiString ClassUnitName(TClass ComponentClass) {
    for (auto entry = UnitEntries().rbegin(); entry != UnitEntries().rend(); ++entry)
        if (entry->Class == ComponentClass)
            return entry->UnitName;
    return AnsiString();
}

void UnRegisterModuleUnits(const void* Module) {
    std::erase_if(UnitEntries(), [Module](const TUnitEntry& E) { return E.Module == Module; });
}

// ---------------------------------------------------------------------------
// TSourceBuffer

void TSourceBuffer::Load(AnsiString Text) {
    FText = std::move(Text);
    FSaved = FText;
    FUndo.clear();
}

void TSourceBuffer::Replace(const AnsiString& NewText) {
    if (NewText == FText)
        return;
    FUndo.push_back(FText);
    FText = NewText;
    if (OnChange)
        OnChange();
}

bool TSourceBuffer::Undo() {
    if (FUndo.empty())
        return false;
    FText = std::move(FUndo.back());
    FUndo.pop_back();
    if (OnChange)
        OnChange();
    return true;
}

void TSourceBuffer::SetText(const AnsiString& NewText) {
    FText = NewText;
    FUndo.clear();
}

// ---------------------------------------------------------------------------
// TDesignModule: files

TDesignModule::TDesignModule(TDesignHost& Host, const AnsiString& FileName, bool IsProject)
    : FHost(&Host), FFileName(FileName), FIsProject(IsProject) {
    FSourceOnDisk = ReadFileBytes(FileName);
    FSource.Load(FSourceOnDisk);
    FFormFile = ChangeFileExt(FileName, ".xfm");
    if (!IsProject && FileExists(FFormFile))
        ReadForm();
}

TDesignModule::~TDesignModule() { Shutdown(); }

void TDesignModule::ReadForm() {
    FFormOnDisk = ReadFileBytes(FFormFile);
    TStringStream file(FFormOnDisk);
    TMemoryStream binary;
    if (TestStreamFormat(file) == sofText) {
        FFormFormat = TFormFileFormat::Text;
        ObjectTextToBinary(file, binary);
    } else if (!FFormOnDisk.empty() && FFormOnDisk[0] == FilerSignature[0]) {
        FFormFormat = TFormFileFormat::Binary;
        binary.LoadFromStream(file);
    } else {
        FFormFormat = TFormFileFormat::Resource;
        FResourceName = ReadResourceHeader(file).Name;
        binary.CopyFrom(file, file.Size() - file.Position());
    }
    binary.SetPosition(0);

    auto declaration = PascalSource::FindFormClass(FSource.Text());
    if (!declaration)
        throw EParserError(Format("%s declares no form class", {FFileName}));
    TClass base = GetClass(declaration->BaseName);
    std::unique_ptr<TComponent> root;
    if (base && ClassInheritsFrom(base, TDataModule::StaticClass()))
        root = std::make_unique<TDesignDataModule>(DesignClass(declaration->ClassName, base), this);
    else
        root = std::make_unique<TDesignForm>(
            DesignClass(declaration->ClassName, base ? base : TForm::StaticClass()), this);
    root->SetDesigning(true);

    TReader reader(binary);
    reader.OnError = [this](TReader&, const AnsiString& Message, bool& Handled) {
        FSkipped.push_back(Message);
        Handled = true;
    };
    // Handlers are the unit's methods: the designer keeps their names.
    reader.OnFindMethod = [](TReader&, const AnsiString&, std::any&, bool& Error) { Error = false; };
    try {
        reader.ReadRootComponent(root.get());
    } catch (const Exception& error) {
        throw EReadError(Format("%s: %s", {FFormFile, error.Message()}));
    }
    FRoot = root.release();
}

AnsiString TDesignModule::FormFileBytes() const {
    TMemoryStream binary;
    WriteComponent(binary, FRoot);
    binary.SetPosition(0);
    TMemoryStream output;
    switch (FFormFormat) {
    case TFormFileFormat::Text:
        ObjectBinaryToText(binary, output);
        break;
    case TFormFileFormat::Binary:
        output.CopyFrom(binary, binary.Size());
        break;
    case TFormFileFormat::Resource:
        WriteComponentRes(output, FResourceName.empty() ? UpperCase(FRoot->ClassName()) : FResourceName,
                          FRoot);
        break;
    }
    return AnsiString(reinterpret_cast<const char*>(output.Memory()),
                      static_cast<std::size_t>(output.Size()));
}

bool TDesignModule::ConfirmOverwrite(const AnsiString& FileName, const AnsiString& Original) const {
    AnsiString onDisk;
    try {
        onDisk = ReadFileBytes(FileName);
    } catch (const EFOpenError&) {
        return true;
    }
    if (onDisk == Original)
        return true;
    return MessageDlg(Format("%s has been changed on disk by another program since it was "
                             "opened. Overwrite it?",
                             {FileName}),
                      mtConfirmation, mbYesNo, 0) == mrYes;
}

bool TDesignModule::SaveSource() {
    if (!FSource.Modified() && FSource.Text() == FSourceOnDisk)
        return true;
    if (!ConfirmOverwrite(FFileName, FSourceOnDisk))
        return false;
    const AnsiString text = FSource.Text();
    ReplaceFileAtomically(FFileName, [&text](TStream& Stream) { Stream.WriteBuffer(text.data(), static_cast<Integer>(text.size())); });
    FSourceOnDisk = text;
    FSource.MarkSaved();
    return true;
}

bool TDesignModule::SaveForm() {
    if (!FRoot || !FFormModified)
        return true;
    const AnsiString bytes = FormFileBytes();
    if (bytes == FFormOnDisk) {
        FFormModified = false;
        return true;
    }
    if (!FSkipped.empty()) {
        AnsiString list;
        for (const AnsiString& each : FSkipped)
            list += each + "\n";
        if (MessageDlg(Format("%s holds properties this designer does not know:\n%sSaving the "
                              "form drops them. Save it anyway?",
                              {FFormFile, list}),
                       mtWarning, mbYesNo, 0) != mrYes)
            return false;
    }
    if (!ConfirmOverwrite(FFormFile, FFormOnDisk))
        return false;
    ForEachNotifier([](IOTAFormNotifier* N) { N->BeforeSave(); });
    ReplaceFileAtomically(FFormFile, [&bytes](TStream& Stream) { Stream.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size())); });
    FFormOnDisk = bytes;
    FFormModified = false;
    FSkipped.clear();
    ForEachNotifier([](IOTAFormNotifier* N) { N->AfterSave(); });
    return true;
}

bool TDesignModule::Save(bool ChildFileOnly, bool) {
    if (!FHost)
        return false;
    return SaveSource() && (ChildFileOnly || SaveForm());
}

bool TDesignModule::Close() { return FHost && FHost->CloseFile(FFileName); }

bool TDesignModule::GetModified() { return FSource.Modified() || FFormModified; }

AnsiString TDesignModule::UnitName() const { return ChangeFileExt(ExtractFileName(FFileName), ""); }

bool TDesignModule::HoldsObjectsOf(const std::function<bool(TClass)>& Owned) const {
    if (!FRoot)
        return false;
    bool holds = false;
    ForEachComponent(FRoot, [&](TComponent* Each) {
        for (TClass each = Each->ClassType(); each && !holds; each = each->Parent)
            holds = Owned(each);
    });
    return holds;
}

void TDesignModule::Shutdown() {
    if (!FHost)
        return;
    TDesignHost* host = FHost;
    FHost = nullptr;
    std::map<Integer, IOTAFormNotifier*> notifiers = std::move(FNotifiers);
    FNotifiers.clear();
    for (auto& [index, notifier] : notifiers) {
        notifier->Destroyed();
        notifier->Release();
    }
    if (!FRoot)
        return;
    // References other open forms hold into this one wait for it by name.
    for (TDesignModule* other : host->Modules()) {
        if (other == this || !other->FRoot)
            continue;
        ForEachComponent(other->FRoot, [&](TComponent* Holder) {
            for (PPropInfo info : GetPropList(Holder, TTypeKinds{tkClass}, false)) {
                auto* target = dynamic_cast<TComponent*>(GetObjectProp(Holder, info));
                if (!target || (target != FRoot && target->Owner() != FRoot) || !info->SetProc)
                    continue;
                AnsiString path = target == FRoot ? FRoot->Name()
                                                  : FRoot->Name() + "." + target->Name();
                AddPendingReference(Holder, Holder, info, other->FRoot, path);
            }
        });
    }
    if (auto* form = dynamic_cast<TDesignForm*>(FRoot))
        form->Detach();
    if (auto* dataModule = dynamic_cast<TDesignDataModule*>(FRoot))
        dataModule->Detach();
    delete std::exchange(FRoot, nullptr);
}

bool TDesignModule::QueryInterface(const TGUID& Id, void** Obj) {
    *Obj = nullptr;
    bool form = FRoot != nullptr;
    if (Id == IID_IOTAModule || Id == IID_IInterface)
        *Obj = static_cast<IOTAModule*>(this);
    else if (Id == IID_IOTAProject && FIsProject)
        *Obj = static_cast<IOTAProject*>(this);
    else if (Id == IID_IOTASourceEditor || Id == IID_IOTAEditor)
        *Obj = static_cast<IOTASourceEditor*>(this);
    else if (Id == IID_IOTAFormEditor && form)
        *Obj = static_cast<IOTAFormEditor*>(this);
    else if (Id == IID_INTAFormEditor && form)
        *Obj = static_cast<INTAFormEditor*>(this);
    else if (Id == IID_IDesigner && form)
        *Obj = static_cast<IDesigner*>(this);
    if (!*Obj)
        return false;
    AddRef();
    return true;
}

_di_IOTAEditor TDesignModule::GetModuleFileEditor(Integer Index) {
    if (Index == 0)
        return _di_IOTAEditor(static_cast<IOTASourceEditor*>(this));
    if (Index == 1 && FRoot)
        return _di_IOTAEditor(static_cast<IOTAFormEditor*>(this));
    return nullptr;
}

// ---------------------------------------------------------------------------
// The project

Integer TDesignModule::GetModuleCount() {
    return static_cast<Integer>(PascalSource::ProjectUnits(FSource.Text(), true).size()) + 1;
}

_di_IOTAModuleInfo TDesignModule::GetModule(Integer Index) {
    if (!FHost)
        return nullptr;
    std::vector<PascalSource::TProjectUnit> units = PascalSource::ProjectUnits(FSource.Text(), true);
    if (Index == 0)
        return _di_IOTAModuleInfo(
            new TModuleInfo(*FHost, PascalSource::TProjectUnit{UnitName(), {}, {}, {}}, FFileName));
    if (Index < 0 || static_cast<std::size_t>(Index) > units.size())
        return nullptr;
    const PascalSource::TProjectUnit& unit = units[static_cast<std::size_t>(Index) - 1];
    return _di_IOTAModuleInfo(new TModuleInfo(*FHost, unit, FHost->ExpandName(unit.FileName)));
}

// ---------------------------------------------------------------------------
// The source editor

_di_IOTAEditReader TDesignModule::CreateReader() {
    return _di_IOTAEditReader(new TEditReader(this));
}

_di_IOTAEditWriter TDesignModule::CreateUndoableWriter() {
    return _di_IOTAEditWriter(new TEditWriter(this));
}

Integer TDesignModule::GetLinesInBuffer() {
    const AnsiString& text = FSource.Text();
    Integer lines = static_cast<Integer>(std::count(text.begin(), text.end(), '\n'));
    return text.empty() || text.back() == '\n' ? lines : lines + 1;
}

void TDesignModule::Show() {
    if (FHost)
        FHost->SetCurrentFile(FFileName);
}

void TDesignModule::SetCursorLine(Integer Line) {
    FCursorLine = std::clamp(Line, 1, std::max(1, GetLinesInBuffer()));
    Show();
}

Integer TDesignModule::GetCursorLine() { return FCursorLine; }

void TDesignModule::EditSource(const std::function<AnsiString(const AnsiString&)>& Change) {
    FSource.Replace(Change(FSource.Text()));
}

// ---------------------------------------------------------------------------
// The form editor

_di_IOTAComponent TDesignModule::GetRootComponent() {
    return FRoot ? _di_IOTAComponent(new TOTAComponent(FRoot)) : nullptr;
}

_di_IOTAComponent TDesignModule::FindComponent(const AnsiString& Name) {
    TComponent* found = FRoot ? FRoot->FindComponent(Name) : nullptr;
    return found ? _di_IOTAComponent(new TOTAComponent(found)) : nullptr;
}

Integer TDesignModule::AddNotifier(IOTAFormNotifier* Notifier) {
    Notifier->AddRef();
    FNotifiers.emplace(FNextNotifier, Notifier);
    return FNextNotifier++;
}

void TDesignModule::RemoveNotifier(Integer Index) {
    auto found = FNotifiers.find(Index);
    if (found == FNotifiers.end())
        return;
    IOTAFormNotifier* notifier = found->second;
    FNotifiers.erase(found);
    notifier->Release();
}

template <typename Call> void TDesignModule::ForEachNotifier(Call Each) {
    // A notifier may remove itself (or others) while it is told.
    std::vector<DelphiInterface<IOTAFormNotifier>> notifiers;
    for (auto& entry : FNotifiers)
        notifiers.emplace_back(entry.second);
    for (auto& notifier : notifiers)
        Each(notifier.get());
}

_di_IDesigner TDesignModule::GetFormDesigner() {
    return FRoot ? _di_IDesigner(static_cast<IDesigner*>(this)) : nullptr;
}

// ---------------------------------------------------------------------------
// The designer

void TDesignModule::Modified() {
    if (!FRoot)
        return;
    FFormModified = true;
    ForEachNotifier([](IOTAFormNotifier* N) { N->Modified(); });
}

TComponent* TDesignModule::GetComponent(const AnsiString& Name) {
    if (!FRoot || Name.empty())
        return nullptr;
    std::size_t dot = Name.find('.');
    if (dot == AnsiString::npos)
        return SameText(Name, FRoot->Name()) ? FRoot : FRoot->FindComponent(Name);
    TDesignModule* other = FHost ? FHost->FindFormModule(Name.substr(0, dot)) : nullptr;
    return other && other->FRoot ? other->FRoot->FindComponent(Name.substr(dot + 1)) : nullptr;
}

AnsiString TDesignModule::GetComponentName(TComponent* Component) {
    if (!Component)
        return AnsiString();
    if (Component == FRoot || Component->Owner() == FRoot || !Component->Owner())
        return Component->Name();
    return Component->Owner()->Name() + "." + Component->Name();
}

void TDesignModule::GetComponentNames(TClass TypeClass, const TGetStrProc& Proc) {
    if (!FRoot || !FHost)
        return;
    for (Integer index = 0; index < FRoot->ComponentCount(); ++index)
        if (FRoot->Components(index)->InheritsFrom(TypeClass) && !FRoot->Components(index)->Name().empty())
            Proc(FRoot->Components(index)->Name());
    for (TDesignModule* other : FHost->Modules()) {
        if (other == this || !other->FRoot)
            continue;
        for (Integer index = 0; index < other->FRoot->ComponentCount(); ++index) {
            TComponent* each = other->FRoot->Components(index);
            if (each->InheritsFrom(TypeClass) && !each->Name().empty())
                Proc(other->FRoot->Name() + "." + each->Name());
        }
    }
}

AnsiString TDesignModule::FormClassName() const { return FRoot->ClassName(); }

AnsiString TDesignModule::UniqueComponentName(TClass ComponentClass) const {
    AnsiString base = ComponentClass->Name;
    if (base.size() > 1 && (base[0] == 'T' || base[0] == 't'))
        base = base.substr(1);
    for (Integer number = 1;; ++number) {
        AnsiString candidate = base + IntToStr(number);
        if (!FRoot->FindComponent(candidate) && !SameText(candidate, FRoot->Name()))
            return candidate;
    }
}

TComponent* TDesignModule::CreateComponent(TClass ComponentClass, TComponent* Parent, Integer Left,
                                           Integer Top, Integer Width, Integer Height) {
    if (!FRoot)
        throw EComponentError("The module has no form to put a component on");
    const AnsiString name = UniqueComponentName(ComponentClass);
    TComponent* component = ::CreateComponent(ComponentClass, FRoot);
    try {
        component->SetName(name);
        if (component->HasParent())
            component->SetParentComponent(Parent ? Parent : FRoot);
        if (auto* control = dynamic_cast<TControl*>(component))
            control->SetBounds(Left, Top, Width > 0 ? Width : control->Width(),
                               Height > 0 ? Height : control->Height());
    } catch (...) {
        delete component;
        throw;
    }
    const AnsiString className = FormClassName();
    const AnsiString unitName = ClassUnitName(ComponentClass);
    EditSource([&](const AnsiString& Text) {
        AnsiString text = PascalSource::AddField(Text, className, name, ComponentClass->Name);
        return unitName.empty() ? text : PascalSource::AddUsedUnit(text, unitName);
    });
    Modified();
    FireRenamed(component, AnsiString(), name);
    return component;
}

TMethod TDesignModule::CreateMethod(const AnsiString& Name, PTypeInfo TypeData) {
    if (!FRoot)
        return TMethod{};
    const AnsiString className = FormClassName();
    if (!PascalSource::MethodExists(FSource.Text(), className, Name)) {
        AnsiString params = TypeData ? TypeData->MethodParams : AnsiString();
        EditSource([&](const AnsiString& Text) {
            return PascalSource::AddMethod(Text, className, Name, params);
        });
        Modified();
    }
    return TMethod{std::any(), Name};
}

bool TDesignModule::MethodExists(const AnsiString& Name) {
    return FRoot && PascalSource::MethodExists(FSource.Text(), FormClassName(), Name);
}

void TDesignModule::ShowMethod(const AnsiString& Name) {
    if (!FRoot)
        return;
    Integer line = PascalSource::MethodLine(FSource.Text(), FormClassName(), Name);
    if (line > 0)
        SetCursorLine(line + 2);
}

bool TDesignModule::IsComponentLinkable(TComponent* Component) {
    if (!Component || !FRoot || Component == FRoot || Component->Owner() == FRoot)
        return true;
    TDesignModule* other = FHost ? FHost->FindFormModule(Component->Owner() ? Component->Owner()->Name() : "")
                                 : nullptr;
    return other && PascalSource::UsesUnit(FSource.Text(), other->UnitName());
}

void TDesignModule::MakeComponentLinkable(TComponent* Component) {
    if (IsComponentLinkable(Component))
        return;
    TDesignModule* other = FHost->FindFormModule(Component->Owner()->Name());
    if (!other)
        return;
    const AnsiString unitName = other->UnitName();
    EditSource([&](const AnsiString& Text) { return PascalSource::AddUsedUnit(Text, unitName); });
}

void TDesignModule::ComponentRenamed(TComponent* Component, const AnsiString& OldName,
                                     const AnsiString& NewName) {
    if (Component != FRoot) {
        const AnsiString className = FormClassName();
        EditSource([&](const AnsiString& Text) {
            return PascalSource::RenameField(Text, className, OldName, NewName);
        });
    }
    FFormModified = true;
    FireRenamed(Component, OldName, NewName);
}

void TDesignModule::ComponentDeleting(TComponent* Component) {
    const AnsiString className = FormClassName();
    const AnsiString name = Component->Name();
    EditSource([&](const AnsiString& Text) {
        return PascalSource::RemoveField(Text, className, name);
    });
    FFormModified = true;
    FireRenamed(Component, name, AnsiString());
}

void TDesignModule::FireRenamed(TComponent* Component, const AnsiString& OldName,
                                const AnsiString& NewName) {
    ForEachNotifier([&](IOTAFormNotifier* N) { N->ComponentRenamed(Component, OldName, NewName); });
}
