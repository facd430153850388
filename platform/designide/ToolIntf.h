// The IDE's tool services: the project, its files, the main menu, file
// notifications and error reports, as experts reach them.
#pragma once

#include "clx/Menus.h"
#include "designide/EditIntf.h"

// The codes of file notifications.
ZX_ENUM(TFileNotification, fnFileOpening, fnFileOpened, fnFileClosing, fnProjectOpening,
        fnProjectOpened, fnProjectClosing, fnAddedToProject, fnRemovedFromProject,
        fnDefaultDesktopLoad, fnDefaultDesktopSave, fnProjectDesktopLoad, fnProjectDesktopSave,
        fnPackageInstalled, fnPackageUninstalled);
ZX_ENUM(TEventNotification, enBeforeCompile, enAfterCompile);

class TIAddInNotifier : public TInterface {
public:
    // Cancel may be set to stop what fnFileOpening, fnFileClosing or
    // fnProjectOpening announce.
    virtual void FileNotification(TFileNotification NotifyCode, const AnsiString& FileName,
                                  bool& Cancel) = 0;
    virtual void EventNotification(TEventNotification NotifyCode, bool& Cancel) = 0;
};

// Flags of a menu item; a flag set's ordinal has bit n for flag n, so the
// value 6 is mfVisible and mfEnabled.
ZX_ENUM(TIMenuFlag, mfInvalid, mfEnabled, mfVisible, mfChecked, mfBreak, mfBarBreak,
        mfRadioItem);
using TIMenuFlags = TSet<TIMenuFlag>;

class TIMenuItemIntf;
using TIMenuClickEvent = std::function<void(TIMenuItemIntf* Sender)>;

// A main-menu item of the IDE.
class TIMenuItemIntf : public TInterface {
public:
    // Removes the item from the menu; the reference stays to be released.
    virtual bool DestroyMenuItem() = 0;
    virtual Integer GetIndex() = 0;
    virtual Integer GetItemCount() = 0;
    // A new reference the caller releases; nullptr for a bad index.
    virtual TIMenuItemIntf* GetItem(Integer Index) = 0;
    virtual AnsiString GetName() = 0;
    virtual AnsiString GetCaption() = 0;
    virtual TShortCut GetShortCut() = 0;
    virtual TIMenuFlags GetFlags() = 0;
    // A new child at Index (clamped), its reference for the caller.
    virtual TIMenuItemIntf* InsertItem(Integer Index, const AnsiString& Caption,
                                       const AnsiString& Name, const AnsiString& Hint,
                                       TShortCut ShortCut, Integer Context, Integer GroupIndex,
                                       TIMenuFlags Flags, TIMenuClickEvent EventHandler) = 0;
    // Runs the click handler.
    virtual void Click() = 0;
};

class TIMainMenuIntf : public TInterface {
public:
    // The item of that name (without regard to case) anywhere in the menu,
    // a new reference; nullptr when there is none.
    virtual TIMenuItemIntf* FindMenuItem(const AnsiString& Name) = 0;
    virtual TIMenuItemIntf* GetMenuItems() = 0;
};

// One unit of the project: its file, unit name and form name (empty for a
// unit without form); answering false stops the enumeration.
using TProjectEnumProc = std::function<bool(void* Param, const AnsiString& FileName,
                                            const AnsiString& UnitName,
                                            const AnsiString& FormName)>;

class TIToolServices : public TInterface {
public:
    // Empty when no project is open.
    virtual AnsiString GetProjectName() = 0;
    virtual AnsiString GetCurrentFile() = 0;
    virtual bool EnumProjectUnits(const TProjectEnumProc& EnumProc, void* Param) = 0;
    virtual bool IsFileOpen(const AnsiString& FileName) = 0;
    virtual bool OpenFile(const AnsiString& FileName) = 0;
    // False when the file is not open or holds changes that are not saved.
    virtual bool CloseFile(const AnsiString& FileName) = 0;
    virtual bool OpenProject(const AnsiString& ProjName) = 0;
    virtual bool CloseProject() = 0;
    virtual bool SaveProject() = 0;
    // New references the caller releases; nullptr when not available.
    virtual TIModuleInterface* GetModuleInterface(const AnsiString& FileName) = 0;
    virtual TIModuleInterface* GetFormModuleInterface(const AnsiString& FormName) = 0;
    virtual TIMainMenuIntf* GetMainMenu() = 0;
    virtual bool AddNotifier(TIAddInNotifier* AddInNotifier) = 0;
    virtual bool RemoveNotifier(TIAddInNotifier* AddInNotifier) = 0;
    // Shows the message; the IDE goes on.
    virtual void RaiseException(const AnsiString& Message) = 0;
};

// The IDE's tool services while a host runs, else nullptr.
extern TIToolServices* ToolServices;
