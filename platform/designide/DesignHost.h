// The design host: the IDE's interfaces implemented over a project on disk.
//
// A project is a ".dpr" program whose uses clause lists its units
// ("Unit1 in 'Unit1.pas' {Form1}", data modules as "{DataModule1:
// TDataModule}"); a unit's form is the ".xfm" beside it, a binary form
// resource or form text. Opening a unit gives a source buffer and, for a
// unit with a form, a live design form read with every registered class; the
// form's own class (TForm1) is known only by name, so the host makes a
// design root of that class name over the base class the unit names.
//
// Saving writes each modified file atomically and leaves unmodified ones
// alone, so opening and saving an unchanged project keeps every file
// byte-identical; a form keeps the format it was read in. Properties the
// reader does not know are skipped and listed, and the host asks before it
// saves a form over them. A unit changed on disk by another program since it
// was read is not overwritten without asking.
//
// The host runs as one IDE version and loads design-time packages of that
// version (see Packages.h). Every question and message goes through the
// dialog service, so a test drives a headless host with a scripted one.
#pragma once

#include "designide/DesignIntf.h"

class TForm;
class TMainMenu;
class TDesignModule;
class TDesignPackage;

ZX_ENUM(TIDEVersion, ideK1, ideK2, ideK3D);
// "K1", "K2", "K3D".
AnsiString IDEVersionName(TIDEVersion Version);
// By name without regard to case; EConvertError for another name.
TIDEVersion IDEVersionFromName(const AnsiString& Name);
// The version a start-up option "--ide=NAME" chooses among the arguments; K2
// without one. EConvertError for an unknown name.
TIDEVersion IDEVersionFromArguments(Integer ArgCount, const char* const* Args);

class TDesignHost {
public:
    explicit TDesignHost(TIDEVersion Version = ideK2);
    ~TDesignHost();
    TDesignHost(const TDesignHost&) = delete;
    TDesignHost& operator=(const TDesignHost&) = delete;

    // The host running now, or nullptr. One host at a time.
    static TDesignHost* Current();
    TIDEVersion Version() const { return FVersion; }

    // --- The project
    bool OpenProject(const AnsiString& FileName);
    // False (nothing closed) when a module holds changes that are not saved,
    // unless DiscardChanges says the user gave them up.
    bool CloseProject(bool DiscardChanges = false);
    AnsiString ProjectFileName() const;
    // Adds the unit (and its form) to the project file's uses clause.
    bool AddToProject(const AnsiString& UnitFile, const AnsiString& FormName,
                      const AnsiString& FormBase);
    bool RemoveFromProject(const AnsiString& UnitFile);
    // Saves every modified module; false when one was not saved.
    bool SaveAll();

    // --- Files (units and the project file by name, relative names taken
    // from the project's directory)
    bool OpenFile(const AnsiString& FileName);
    // False for the project file, and for a module with unsaved changes
    // unless DiscardChanges says the user gave them up.
    bool CloseFile(const AnsiString& FileName, bool DiscardChanges = false);
    bool IsFileOpen(const AnsiString& FileName) const;
    bool SaveFile(const AnsiString& FileName);
    // Takes back the last edit of the file's source buffer.
    bool Undo(const AnsiString& FileName);
    AnsiString CurrentFile() const { return FCurrentFile; }
    void SetCurrentFile(const AnsiString& FileName);
    // The line the edit window's cursor is on in the current file.
    Integer CursorLine() const { return FCursorLine; }
    // The design root of an open unit, or nullptr.
    TComponent* FormOf(const AnsiString& FileName) const;
    // "Component.Property" entries the reader skipped in the unit's form.
    std::vector<AnsiString> SkippedProperties(const AnsiString& FileName) const;

    // --- Windows: the main window with its menu ("FileMenu" ... "HelpMenu")
    // and the project window "ProjectManagerForm".
    TForm* MainWindow() const { return FMainWindow; }
    TMainMenu* MainMenu() const;
    TForm* ProjectManager() const { return FProjectManager; }

    // --- Messages: shown through the dialog service and kept in order.
    void ShowMessageText(const AnsiString& Message);
    const std::vector<AnsiString>& Messages() const { return FMessages; }

    // What a window around the host hears: each message as it is given, and
    // the file the edit window is to show, with its cursor line, whenever the
    // current file is set (an empty name when none is left).
    std::function<void(const AnsiString& Message)> OnMessage;
    std::function<void(const AnsiString& FileName, Integer Line)> OnShowFile;

    // --- Packages. Loading a package of another version, one that fails
    // to load or whose Register raises leaves the host running and says why.
    bool LoadPackage(const AnsiString& FileName);
    bool UnloadPackage(const AnsiString& FileName);
    // The files of the loaded packages, as each package found itself.
    std::vector<AnsiString> LoadedPackages() const;

    // Used by the modules.
    TDesignModule* FindModule(const AnsiString& FileName) const;
    TDesignModule* FindFormModule(const AnsiString& FormName) const;
    const std::vector<TDesignModule*>& Modules() const { return FModules; }
    TDesignModule* ProjectModule() const { return FProject; }
    // Fires the file notification; false when a notifier cancelled.
    bool Notify(Integer Code, const AnsiString& FileName);
    AnsiString ExpandName(const AnsiString& FileName) const;
    class TToolServicesImpl;
    class TIDEServices;

private:
    TDesignModule* OpenModule(const AnsiString& FileName, bool IsProject);
    bool CloseModule(TDesignModule* Module, bool Force);
    void BuildWindows();
    void ClosePackageForms(const TDesignPackage& Package);

    TIDEVersion FVersion;
    AnsiString FProjectFile;
    TDesignModule* FProject = nullptr;
    std::vector<TDesignModule*> FModules;
    AnsiString FCurrentFile;
    Integer FCursorLine = 0;
    TForm* FMainWindow = nullptr;
    TForm* FProjectManager = nullptr;
    std::vector<AnsiString> FMessages;
    std::vector<std::unique_ptr<TDesignPackage>> FPackages;
    TToolServicesImpl* FToolServices = nullptr;
    TIDEServices* FServices = nullptr;
    friend class TToolServicesImpl;
};
