// The open tools interfaces behind BorlandIDEServices: modules, their
// editors, projects and project groups, asked for by interface identifier.
#pragma once

#include "designide/DesignIntf.h"
#include "designide/EditIntf.h"

inline const TGUID IID_IOTAModuleServices{"{F17A7BCD-E07D-11D1-AB0B-00C04FB16FB3}"};
inline const TGUID IID_IOTAActionServices{"{F17A7BC9-E07D-11D1-AB0B-00C04FB16FB3}"};
inline const TGUID IID_IOTASourceEditor{"{F17A7BD1-E07D-11D1-AB0B-00C04FB16FB3}"};
inline const TGUID IID_IOTAFormEditor{"{F17A7BD2-E07D-11D1-AB0B-00C04FB16FB3}"};
inline const TGUID IID_INTAFormEditor{"{56931EB9-329A-D411-87C6-9B2730412200}"};
inline const TGUID IID_IOTAModule{"{F17A7BCC-E07D-11D1-AB0B-00C04FB16FB3}"};
inline const TGUID IID_IOTAProject{"{F17A7BCA-E07D-11D1-AB0B-00C04FB16FB3}"};
inline const TGUID IID_IOTAProjectGroup{"{F17A7BCB-E07D-11D1-AB0B-00C04FB16FB3}"};
inline const TGUID IID_IOTAEditor{"{F17A7BD0-E07D-11D1-AB0B-00C04FB16FB3}"};
inline const TGUID IID_IOTAFormNotifier{"{0E3B9D7B-E119-11D1-AB0C-00C04FB16FB3}"};

class IOTAEditor;
class IOTAModule;

// Notifications of a form editor. ComponentRenamed comes with empty names
// when a component is created (old name empty) or deleted (new name empty).
class IOTAFormNotifier : public virtual IInterface {
public:
    virtual void AfterSave() = 0;
    virtual void BeforeSave() = 0;
    // The module is going away: the notifier is dropped without Remove.
    virtual void Destroyed() = 0;
    virtual void Modified() = 0;
    virtual void FormActivated() = 0;
    virtual void FormSaving() = 0;
    virtual void ComponentRenamed(TComponent* ComponentHandle, const AnsiString& OldName,
                                  const AnsiString& NewName) = 0;
};

class IOTAEditor : public virtual IInterface {
public:
    virtual AnsiString GetFileName() = 0;
    virtual bool GetModified() = 0;
    virtual void MarkModified() = 0;
    virtual DelphiInterface<IOTAModule> GetModule() = 0;
};

class IOTAEditReader : public virtual IInterface {
public:
    // Copies up to Count bytes from Position into Buffer; the number copied.
    virtual Integer GetText(Integer Position, char* Buffer, Integer Count) = 0;
};

// The undoable writer: see TIEditWriter.
class IOTAEditWriter : public virtual IInterface {
public:
    virtual void CopyTo(Integer Pos) = 0;
    virtual void DeleteTo(Integer Pos) = 0;
    virtual void Insert(const char* Text) = 0;
    virtual Integer CurrentPos() = 0;
};

class IOTASourceEditor : public virtual IOTAEditor {
public:
    virtual DelphiInterface<IOTAEditReader> CreateReader() = 0;
    virtual DelphiInterface<IOTAEditWriter> CreateUndoableWriter() = 0;
    virtual Integer GetLinesInBuffer() = 0;
    // Brings the edit window to the front with the cursor on Line (1-based).
    virtual void Show() = 0;
    virtual void SetCursorLine(Integer Line) = 0;
    virtual Integer GetCursorLine() = 0;
};

class IOTAComponent : public virtual IInterface {
public:
    virtual AnsiString GetComponentType() = 0;
    // The live component object.
    virtual TComponent* GetComponentHandle() = 0;
    virtual Integer GetComponentCount() = 0;
    virtual DelphiInterface<IOTAComponent> GetComponent(Integer Index) = 0;
};

class IOTAFormEditor : public virtual IOTAEditor {
public:
    virtual DelphiInterface<IOTAComponent> GetRootComponent() = 0;
    virtual DelphiInterface<IOTAComponent> FindComponent(const AnsiString& Name) = 0;
    // The index to remove the notifier with.
    virtual Integer AddNotifier(IOTAFormNotifier* Notifier) = 0;
    virtual void RemoveNotifier(Integer Index) = 0;
};

class INTAFormEditor : public virtual IInterface {
public:
    virtual _di_IDesigner GetFormDesigner() = 0;
};

class IOTAModule : public virtual IInterface {
public:
    virtual AnsiString GetFileName() = 0;
    virtual Integer GetModuleFileCount() = 0;
    virtual DelphiInterface<IOTAEditor> GetModuleFileEditor(Integer Index) = 0;
    // Saves the module's files; ChildFileOnly and ForceSave as the IDE's.
    // An unmodified module is not written.
    virtual bool Save(bool ChildFileOnly, bool ForceSave) = 0;
    // False when the module holds changes that are not saved.
    virtual bool Close() = 0;
    virtual bool GetModified() = 0;
};

class IOTAModuleInfo : public virtual IInterface {
public:
    virtual AnsiString GetFileName() = 0;
    virtual AnsiString GetName() = 0;
    virtual AnsiString GetFormName() = 0;
    // Opens the module (when it is not open) and returns it.
    virtual DelphiInterface<IOTAModule> OpenModule() = 0;
};

class IOTAProject : public virtual IOTAModule {
public:
    virtual Integer GetModuleCount() = 0;
    virtual DelphiInterface<IOTAModuleInfo> GetModule(Integer Index) = 0;
};

class IOTAProjectGroup : public virtual IOTAModule {
public:
    virtual DelphiInterface<IOTAProject> GetActiveProject() = 0;
    virtual Integer GetProjectCount() = 0;
};

class IOTAModuleServices : public virtual IInterface {
public:
    virtual Integer GetModuleCount() = 0;
    virtual DelphiInterface<IOTAModule> GetModule(Integer Index) = 0;
    virtual DelphiInterface<IOTAModule> CurrentModule() = 0;
    virtual DelphiInterface<IOTAModule> FindModule(const AnsiString& FileName) = 0;
    virtual DelphiInterface<IOTAModule> FindFormModule(const AnsiString& FormName) = 0;
};

class IOTAActionServices : public virtual IInterface {
public:
    virtual bool OpenFile(const AnsiString& FileName) = 0;
    virtual bool CloseFile(const AnsiString& FileName) = 0;
};

using _di_IOTAModule = DelphiInterface<IOTAModule>;
using _di_IOTAModuleInfo = DelphiInterface<IOTAModuleInfo>;
using _di_IOTAProject = DelphiInterface<IOTAProject>;
using _di_IOTAProjectGroup = DelphiInterface<IOTAProjectGroup>;
using _di_IOTAModuleServices = DelphiInterface<IOTAModuleServices>;
using _di_IOTAActionServices = DelphiInterface<IOTAActionServices>;
using _di_IOTAEditor = DelphiInterface<IOTAEditor>;
using _di_IOTASourceEditor = DelphiInterface<IOTASourceEditor>;
using _di_IOTAFormEditor = DelphiInterface<IOTAFormEditor>;
using _di_INTAFormEditor = DelphiInterface<INTAFormEditor>;
using _di_IOTAComponent = DelphiInterface<IOTAComponent>;
using _di_IOTAEditReader = DelphiInterface<IOTAEditReader>;
using _di_IOTAEditWriter = DelphiInterface<IOTAEditWriter>;

// The IDE's services while a host runs (module services, action services),
// else nullptr.
extern IInterface* BorlandIDEServices;
