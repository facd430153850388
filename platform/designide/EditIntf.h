// The older editor interfaces: a module of the project, its source editor,
// that editor's reader and undoable writer, and its form.
#pragma once

#include "designide/VirtIntf.h"
#include "rtl/Classes.h"

// Reads the source buffer by byte position (0-based).
class TIEditReader : public TInterface {
public:
    // Copies up to Count bytes from Position into Buffer; the number copied
    // (0 at the end of the buffer).
    virtual Integer GetText(Integer Position, char* Buffer, Integer Count) = 0;
};

// Changes the source buffer in one pass from its start to its end: CopyTo
// keeps the original text up to a position, DeleteTo drops it, Insert adds
// text at the current place. Positions only go forward and refer to the
// original text. Releasing the last reference applies every change as one
// undoable edit, the rest of the original text kept.
class TIEditWriter : public TInterface {
public:
    virtual bool CopyTo(Integer Pos) = 0;
    virtual bool DeleteTo(Integer Pos) = 0;
    virtual bool Insert(const char* Text) = 0;
    // The position in the original text reached so far.
    virtual Integer Position() = 0;
};

// The source editor of one file.
class TIEditorInterface : public TInterface {
public:
    virtual TIEditReader* CreateReader() = 0;
    virtual TIEditWriter* CreateUndoableWriter() = 0;
    virtual AnsiString FileName() = 0;
    virtual Integer LinesInBuffer() = 0;
    // Brings the edit window to the front with the cursor on Line (1-based).
    virtual void ShowLine(Integer Line) = 0;
};

class TIComponentInterface : public TInterface {
public:
    virtual AnsiString GetComponentType() = 0;
    virtual TComponent* GetComponentHandle() = 0;
    virtual Integer GetComponentCount() = 0;
    // A new reference the caller releases; nullptr for a bad index.
    virtual TIComponentInterface* GetComponent(Integer Index) = 0;
};

class TIFormInterface : public TInterface {
public:
    virtual AnsiString FileName() = 0;
    virtual bool FormModified() = 0;
    virtual bool MarkModified() = 0;
    virtual TIComponentInterface* GetFormComponent() = 0;
};

// One module (unit with or without form) of the IDE.
class TIModuleInterface : public TInterface {
public:
    virtual TIEditorInterface* GetEditorInterface() = 0;
    // nullptr for a unit without form.
    virtual TIFormInterface* GetFormInterface() = 0;
    virtual bool Save(bool ForceSave) = 0;
    virtual bool Close() = 0;
    virtual bool ShowSource() = 0;
    virtual bool ShowForm() = 0;
};
