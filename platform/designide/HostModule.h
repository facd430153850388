// The host's modules: one open unit (or the project file) with its source
// buffer and, for a unit with a form, its live design root. One object
// answers for the module, its source editor, its form editor and its form
// designer, as the interfaces are asked of one another.
#pragma once

#include "designide/DesignHost.h"
#include "designide/ToolsAPI.h"

#include <map>

// The text of a source editor and its undo steps. Modified while the text
// differs from what the file holds.
class TSourceBuffer {
public:
    void Load(AnsiString Text);
    const AnsiString& Text() const { return FText; }
    // One undoable edit; nothing when the text stays the same.
    void Replace(const AnsiString& NewText);
    bool Undo();
    // The text typed in an edit window, which keeps the undo steps from
    // then on: the buffer's own steps would restore text from before it.
    void SetText(const AnsiString& NewText);
    // Told after Replace and Undo change the text, so an edit window shows
    // what the host wrote.
    std::function<void()> OnChange;
    bool Modified() const { return FText != FSaved; }
    void MarkSaved() { FSaved = FText; }

private:
    AnsiString FText;
    AnsiString FSaved;
    std::vector<AnsiString> FUndo;
};

// How a form file was stored, so that saving keeps its format.
enum class TFormFileFormat { Text, Resource, Binary };

class TDesignModule : public TInterfacedObject,
                      public IOTAProject,
                      public IOTASourceEditor,
                      public IOTAFormEditor,
                      public INTAFormEditor,
                      public IDesigner {
public:
    // Reads the unit and its form; raises when one cannot be read.
    TDesignModule(TDesignHost& Host, const AnsiString& FileName, bool IsProject);
    ~TDesignModule() override;

    bool QueryInterface(const TGUID& Id, void** Obj) override;
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }

    // IOTAModule, IOTAEditor
    AnsiString GetFileName() override { return FFileName; }
    Integer GetModuleFileCount() override { return FRoot ? 2 : 1; }
    _di_IOTAEditor GetModuleFileEditor(Integer Index) override;
    bool Save(bool ChildFileOnly, bool ForceSave) override;
    bool Close() override;
    bool GetModified() override;
    void MarkModified() override { Modified(); }
    _di_IOTAModule GetModule() override { return _di_IOTAModule(static_cast<IOTAModule*>(this)); }

    // IOTAProject
    Integer GetModuleCount() override;
    _di_IOTAModuleInfo GetModule(Integer Index) override;

    // IOTASourceEditor
    _di_IOTAEditReader CreateReader() override;
    _di_IOTAEditWriter CreateUndoableWriter() override;
    Integer GetLinesInBuffer() override;
    void Show() override;
    void SetCursorLine(Integer Line) override;
    Integer GetCursorLine() override;

    // IOTAFormEditor, INTAFormEditor
    _di_IOTAComponent GetRootComponent() override;
    _di_IOTAComponent FindComponent(const AnsiString& Name) override;
    Integer AddNotifier(IOTAFormNotifier* Notifier) override;
    void RemoveNotifier(Integer Index) override;
    _di_IDesigner GetFormDesigner() override;

    // IDesigner
    TComponent* GetRoot() override { return FRoot; }
    void Modified() override;
    TComponent* GetComponent(const AnsiString& Name) override;
    AnsiString GetComponentName(TComponent* Component) override;
    void GetComponentNames(TClass TypeClass, const TGetStrProc& Proc) override;
    TComponent* CreateComponent(TClass ComponentClass, TComponent* Parent, Integer Left,
                                Integer Top, Integer Width, Integer Height) override;
    TMethod CreateMethod(const AnsiString& Name, PTypeInfo TypeData) override;
    bool MethodExists(const AnsiString& Name) override;
    void ShowMethod(const AnsiString& Name) override;
    bool IsComponentLinkable(TComponent* Component) override;
    void MakeComponentLinkable(TComponent* Component) override;

    // The host's side.
    TSourceBuffer& Source() { return FSource; }
    bool IsProject() const { return FIsProject; }
    // Whether the form changed since it was read or saved.
    bool FormModified() const { return FFormModified; }
    // The unit's name (the file name without path and extension).
    AnsiString UnitName() const;
    AnsiString FormName() const { return FRoot ? FRoot->Name() : AnsiString(); }
    const std::vector<AnsiString>& SkippedProperties() const { return FSkipped; }
    // Whether the module's form holds a component of a class (or of a
    // descendant of a class) that Owned answers true for.
    bool HoldsObjectsOf(const std::function<bool(TClass)>& Owned) const;
    // Fires Destroyed, keeps the references other forms hold into the form
    // as names, and frees it; the module is closed from then on.
    void Shutdown();
    bool IsOpen() const { return FHost != nullptr; }
    // Called by the design root.
    void ComponentRenamed(TComponent* Component, const AnsiString& OldName,
                          const AnsiString& NewName);
    void ComponentDeleting(TComponent* Component);

private:
    void ReadForm();
    AnsiString FormFileBytes() const;
    bool ConfirmOverwrite(const AnsiString& FileName, const AnsiString& Original) const;
    bool SaveSource();
    bool SaveForm();
    void EditSource(const std::function<AnsiString(const AnsiString&)>& Change);
    AnsiString FormClassName() const;
    void FireRenamed(TComponent* Component, const AnsiString& OldName, const AnsiString& NewName);
    template <typename Call> void ForEachNotifier(Call Each);
    AnsiString UniqueComponentName(TClass ComponentClass) const;

    TDesignHost* FHost;
    AnsiString FFileName;
    bool FIsProject;
    TSourceBuffer FSource;
    // The files' bytes when they were read or last written.
    AnsiString FSourceOnDisk;
    AnsiString FFormOnDisk;
    AnsiString FFormFile;
    TFormFileFormat FFormFormat = TFormFileFormat::Resource;
    AnsiString FResourceName;
    TComponent* FRoot = nullptr;
    bool FFormModified = false;
    std::vector<AnsiString> FSkipped;
    std::map<Integer, IOTAFormNotifier*> FNotifiers;
    Integer FNextNotifier = 0;
    Integer FCursorLine = 1;
};

using _di_TDesignModule = DelphiInterface<TDesignModule>;

// Reads a whole file; EFOpenError when it cannot be read.
AnsiString ReadFileBytes(const AnsiString& FileName);
// The unit a class is declared in, empty when unknown.
AnsiString ClassUnitName(TClass ComponentClass);
void UnRegisterModuleUnits(const void* Module);
