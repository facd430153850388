// The program's window around the design host. The host's main window
// ("AppBuilder", with the menu the host and its experts fill) is the
// program's top-level window; inside it sit the component palette, the
// project window, the object inspector, the documents (an edit window per
// open unit, a designer per open form) and the message pane. The window
// follows the host through its file notifications and form notifiers, so
// what a package opens, closes or changes shows at once.
#pragma once

#include "FormDesigner.h"
#include "PropertyPane.h"
#include "SourceEditor.h"

class QListWidget;
class TMenuItem;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QToolButton;

class TIdeWindow {
public:
    explicit TIdeWindow(TDesignHost& Host);
    ~TIdeWindow();
    TIdeWindow(const TIdeWindow&) = delete;
    TIdeWindow& operator=(const TIdeWindow&) = delete;

    // The top-level window.
    QWidget* Window() const;
    void Show();

    // --- Commands. Each asks the user what it needs (through the dialog
    // service) and says in the message pane what went wrong.
    bool OpenProject(const AnsiString& FileName);
    void OpenProjectDialog();
    // Opens a unit of the project and shows its designer or its source.
    bool OpenUnit(const AnsiString& FileName, bool ShowDesigner);
    bool Save();
    bool SaveAll();
    // Closes the module of the current page (the project for the project
    // file), asking first whether to save its changes.
    bool CloseCurrent();
    void Undo();
    void Redo();
    void GoToLine();
    // Whether the program may end: the user saved or gave up every change.
    bool QueryClose();

    // The palette follows the registrations (after a package loaded).
    void RebuildPalette();
    void Message(const AnsiString& Text);

    // --- The parts.
    QTabWidget* Palette() const { return FPalette; }
    QToolButton* PaletteButton(const AnsiString& ClassName) const;
    QTreeWidget* ProjectTree() const { return FProjectTree; }
    TPropertyPane* Inspector() const { return FInspector; }
    QTabWidget* Documents() const { return FDocuments; }
    // Edit's Undo and Redo: enabled while an edit window is the current page.
    TMenuItem* UndoItem() const { return FUndoItem; }
    TMenuItem* RedoItem() const { return FRedoItem; }
    QListWidget* Messages() const { return FMessages; }
    TFormDesigner* DesignerOf(const AnsiString& FormName) const;
    TSourceEditor* EditorOf(const AnsiString& FileName) const;
    TSourceEditor* CurrentEditor() const;

    // Pages follow the host's open modules.
    void Sync();
    void ScheduleSync();

private:
    class TNotifier;
    void BuildMenu();
    QWidget* BuildContent();
    void RebuildProjectTree();
    void UpdateTitles();
    void CurrentPageChanged();
    void ShowFile(const AnsiString& FileName, Integer Line);
    void OpenProjectItem(QTreeWidgetItem* Item);
    TDesignModule* CurrentModule() const;
    template <typename TPage> TPage* PageOf(TDesignModule* Module) const;
    TSourceEditor* EditorOf(TDesignModule* Module) const;
    TFormDesigner* DesignerOf(TDesignModule* Module) const;
    void AddDesigner(TDesignModule* Module);
    // Yes saves, No gives the changes up, Cancel stops; true to go on.
    bool AskToSave(const std::vector<TDesignModule*>& Modules, bool& Discard);
    TClass TakeDropClass();

    TDesignHost& FHost;
    TForm* FMainForm;
    QWidget* FContent = nullptr;
    QTabWidget* FPalette = nullptr;
    std::vector<std::pair<QToolButton*, TClass>> FPaletteButtons;
    TClass FDropClass = nullptr;
    QTreeWidget* FProjectTree = nullptr;
    TPropertyPane* FInspector = nullptr;
    TFormDesigner* FInspected = nullptr;
    QTabWidget* FDocuments = nullptr;
    QListWidget* FMessages = nullptr;
    TNotifier* FNotifier = nullptr;
    bool FSettingCurrent = false;
    bool FSyncPending = false;
    std::vector<TMenuItem*> FMenuItems;
    TMenuItem* FUndoItem = nullptr;
    TMenuItem* FRedoItem = nullptr;
};
