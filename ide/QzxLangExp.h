// The IDE expert: the one add-in the package hands to the IDE. It keeps the
// expert settings (ini file named after its class beside the IDE), puts its
// item into an IDE menu, follows the IDE's file notifications, answers the
// Translation Editor's hooks and reaches the IDE's modules, form editors,
// designers and source editors for the rest of the IDE integration.
#pragma once

#include "designide/DesignIntf.h"
#include "designide/ExptIntf.h"
#include "designide/ToolIntf.h"
#include "designide/ToolsAPI.h"
#include "editor/QzxTransEditor.h"
#include "ide/QzxLangScan.h"

#include <memory>

class TForm;
class TfrmzxLang;
class TListItem;
class TListView;
class TzxLangExpert;

// Keeps one row of the expert window's form list in step with its form
// module: renames in the designer reach the row's caption and every
// translation component of the form.
class TzxModuleNotifier : public TInterfacedObject, public IOTAFormNotifier {
public:
    // Row may be nullptr (a module opened after the list was filled).
    // Exception with an empty message when the module has no form editor.
    TzxModuleNotifier(TListItem* Row, const _di_IOTAModule& Module);
    ~TzxModuleNotifier() override;

    bool QueryInterface(const TGUID& Id, void** Obj) override;
    Integer AddRef() override { return TInterfacedObject::AddRef(); }
    Integer Release() override { return TInterfacedObject::Release(); }

    void Unregister();
    Integer NotifierIndex() const { return FNotifierIndex; }
    TListItem* Row() const { return FRow; }

    void AfterSave() override {}
    void BeforeSave() override {}
    void Destroyed() override;
    void Modified() override {}
    void FormActivated() override {}
    void FormSaving() override {}
    void ComponentRenamed(TComponent* ComponentHandle, const AnsiString& OldName,
                          const AnsiString& NewName) override;

private:
    void RenameInTranslationComponents(TComponent* ComponentHandle, const AnsiString& OldName,
                                       const AnsiString& NewName);

    Integer FNotifierIndex = -1;
    TListItem* FRow;
    _di_IOTAModule FModule;
    _di_IOTAFormEditor FFormEditor;
};

// Hears the IDE's file notifications for its expert.
class TzxAddInNotifier : public TIAddInNotifier {
public:
    explicit TzxAddInNotifier(TzxLangExpert* Expert) : FExpert(Expert) {}
    void FileNotification(TFileNotification NotifyCode, const AnsiString& FileName,
                          bool& Cancel) override;
    void EventNotification(TEventNotification, bool&) override {}
    // The expert goes: later notifications do nothing.
    void Detach() { FExpert = nullptr; }

private:
    TzxLangExpert* FExpert;
};

class TzxLangExpert : public TIExpert {
public:
    TzxLangExpert();

    AnsiString GetName() override { return "TzxLang Expert (CLX Edition)"; }
    AnsiString GetAuthor() override { return "Talvenko"; }
    AnsiString GetComment() override { return AnsiString(); }
    AnsiString GetPage() override { return AnsiString(); }
    std::intptr_t GetGlyph() override { return 0; }
    TExpertStyle GetStyle() override { return esAddIn; }
    TExpertState GetState() override { return TExpertState(); }
    AnsiString GetIDString() override { return "Delphi3.zxLangCLXAddInExpert"; }
    AnsiString GetMenuText() override { return AnsiString(); }
    void Execute() override {}

    // --- Settings
    void ReadSettings();
    void SetMenuSection(const AnsiString& Value);
    void SetShortCut(TShortCut Value);
    void SetNumLang(Integer Value);
    void SetOpenAllForms(bool Value);
    void SetUseCustom(bool Value, const AnsiString& AUserFile);
    void SetDefaultComp(const AnsiString& Value);
    void SetIgnorableLength(Integer Value);
    void SetCnstPermanent(Integer Value);
    void SetCnstPrefix(const AnsiString& Value);
    void SetHCPrefix(const AnsiString& Value);
    void SetAddFormName(bool Value);
    void SetReplaceMethod(const AnsiString& Value);
    void SetDefaultLangNames(const AnsiString& Value);
    void SetCommentsLength(Integer Value);
    void SetEmptyConstsValues(bool Value);
    void SetExcludeChars(const AnsiString& Value);
    void SetSkipLines(const TStrings* Value);
    void SetSkipWords(const TStrings* Value);
    void SetColumnWidths(const AnsiString& Value);
    void SetSortedColumn(Integer Value);
    void SetSortOrder(Integer Value);

    Integer CnstPermanent = 0;
    AnsiString CnstPrefix = "str";
    AnsiString HCPrefix = "IDS_";
    bool AddFormName = false;
    AnsiString ReplaceMethod = "GetTextOrDefault(";
    Integer IgnorableLength = 1;
    Integer SortOrder = -1;
    Integer SortedColumn = 0;
    AnsiString DefaultLangNames;
    Integer CommentsLength = 0;
    bool EmptyConstsValues = true;
    AnsiString ExcludeChars = "\\|/?><.,\":;]}[{=+-_)(!@#$%^&*`~'";
    std::unique_ptr<TStringList> SkipLines;
    std::unique_ptr<TStringList> SkipWords;
    AnsiString ColumnWidths;
    Integer DefNumLang = 2;
    TShortCut ShortCut;
    AnsiString MenuSection = "ToolsMenu";
    AnsiString UserFile;
    bool UseCustom = false;
    std::unique_ptr<TStringList> ProjectUnitNames;
    std::unique_ptr<TStringList> ProjectUnitFiles;
    bool OpenAllForms = false;
    AnsiString CurrentComponentClass;
    AnsiString DefaultComponent = "TzxLang";

    // Whether the converter leaves a literal of this value: a SkipWords
    // entry (case ignored), or only ExcludeChars characters (so the empty
    // value too).
    bool IsExcludeString(const AnsiString& Value) const;

    // --- The menu item, the window and the notifications
    void RemoveSettings();
    void Configure();
    TIMenuItemIntf* MenuItem() const { return FMenuItem; }
    // The menu item's action: opens the expert window or refills it.
    // Sender is nullptr when a notification asks for a refill.
    virtual void RunItemClick(TIMenuItemIntf* Sender);
    // Releases every row's module notifier and empties the window's list
    // and the project's unit lists.
    void ProjectClosed();
    // One unit of the project into the window's list (Param); always goes
    // on with the next.
    bool AddProjectModule(void* Param, const AnsiString& FileName, const AnsiString& UnitName,
                          const AnsiString& FormName);
    // The About box, modal.
    void DisplayAboutBox(TObject* Sender);
    // Destroys the menu item and inserts it again; while the item's click
    // runs, once the click has returned.
    void RecreateMenuItem();
    const std::vector<TzxModuleNotifier*>& ModuleNotifiers() const { return FModuleNotifiers; }
    void AddModuleNotifier(const AnsiString& FileName);
    // The message of the exception being handled goes to the IDE.
    static void HandleExpertException();

    // --- The Translation Editor's hook NavigateToSource: whether the unit
    // of the component being edited (the current module's when none is)
    // quotes the identifier in a call, and with ShowEditor the edit window
    // goes to that line.
    bool ShowStringInSource(const AnsiString& StringID, bool ShowEditor);

    // --- The Translation Editor's rename of a string identifier: the calls
    // of the renamed component that quote FromID, in the units the user
    // picks, are rewritten to ToID, one undoable edit per unit. ToID is only
    // read.
    void OnChangeStrID(const AnsiString& OwnerName, const WideString& FromID, WideString& ToID);

    // --- Access to the IDE
    _di_IOTAProject GetActiveProject();
    _di_IOTAModule GetCurrentIdeModule();
    _di_IOTAModule GetFormIdeModule(const AnsiString& FileName);
    _di_IOTAModule GetModuleFromFileName(const AnsiString& FileName);
    static _di_IOTAFormEditor GetFormEditorFromModule(const _di_IOTAModule& Module);
    _di_IOTASourceEditor GetSourceEditorFromFormName(const AnsiString& FormName);
    _di_IOTASourceEditor GetSourceEditorFromFileName(const AnsiString& FileName);
    AnsiString GetUnitSource(const AnsiString& FileName);
    // The edits through the unit's undoable writer, as one edit; false when
    // the unit has no source editor.
    bool WriteEdits(const AnsiString& FileName, std::vector<TSpanEdit> Edits);
    // The unit of the project form FormName; empty when there is none.
    AnsiString UnitFileOfForm(const AnsiString& FormName);
    bool IsFileOpen(const AnsiString& FileName);
    bool OpenFile(const AnsiString& FileName);
    bool CloseFile(const AnsiString& FileName);
    bool SaveFile(const AnsiString& FileName);
    void DoCreateMethod(const _di_IDesigner& Designer, TPersistent* Instance,
                        const AnsiString& EventName, const AnsiString& MethodName);
    void InsertFormEvent(const AnsiString& FileName, const AnsiString& MethodName, bool Show);
    void InsertzxLangEvent(const AnsiString& FileName, const AnsiString& MethodName, bool Show);
    void InsertFormMethod(const AnsiString& FileName, const AnsiString& MethodName, bool Show);
    // --- Access to the forms of the window's rows
    _di_IDesigner GetDesigner();
    _di_IDesigner GetDesignerByFormName(const AnsiString& FormName);
    TComponent* GetComponentOnForm(const AnsiString& FormName, const AnsiString& ComponentName);
    TComponent* GetOwnerByName(const AnsiString& FormName);
    // EIntfCastError-like Exception "nil intf!" when the IDE has no form
    // module for the row's file.
    bool IsDataModule(const AnsiString& FormName);
    void MarkModifiedForm(const AnsiString& FormName);
    // Whether the IDE has the form's module; tells the user when not.
    bool TestForCorrectForm(const AnsiString& FormName);
    // --- Languages of the rows' translation components
    // Gives the component of class LangClass (named CompName when that is
    // not empty) on the row's form NumLang languages named by the lines of
    // LangNames (kept when empty). Asks before the component loses
    // languages. Whether it was configured; the user was told why not.
    bool ConfigureLangComponent(Integer NumLang, TListItem* Row, const AnsiString& LangNames,
                                bool InsertWhenMissing, TClass LangClass,
                                const AnsiString& CompName);
    // The same for Row and every other selected row; whether all were.
    bool SetUpLang(Integer NumLang, TListItem* Row, const AnsiString& LangNames,
                   bool InsertWhenMissing, TClass LangClass);
    // The designer last found; nullptr after a refill and at destruction.
    const _di_IDesigner& CachedDesigner() const { return FDesigner; }

protected:
    ~TzxLangExpert() override;

private:
    TIMenuItemIntf* AddExpertMenuItem();
    void OpenWindow();
    void AddRowOfOpenForm(TListItem* Row, const AnsiString& FileName);
    void AddRowOfClosedForm(TListItem* Row, const AnsiString& FileName);
    void ShowComponentsOfOpenForms();
    // The row of that caption, its file opened and its form's module known
    // to the IDE; nullptr otherwise.
    TListItem* OpenRowOfForm(const AnsiString& FormName);
    _di_IDesigner DesignerOfFile(const AnsiString& FileName);
    void MenuItemClicked(TIMenuItemIntf* Sender);
    // The root of the file's form designer, which is cached; nullptr when
    // it has none.
    TComponent* DesignedRoot(const AnsiString& FileName);
    void CreateHandler(TPersistent* Instance, const AnsiString& EventName,
                       const AnsiString& MethodName, bool Show);

    std::vector<TzxModuleNotifier*> FModuleNotifiers;
    TIMenuItemIntf* FMenuItem = nullptr;
    // A notification during the item's own click renews the item once the
    // click has returned.
    Integer FClickDepth = 0;
    bool FRecreateAfterClick = false;
    TIToolServices* FToolServices = nullptr;
    _di_IDesigner FDesigner;
    TzxAddInNotifier* FAddInNotifier = nullptr;
};

class TzxCustomLang;

// While it lives, the Translation Editor's hooks act on Lang's form: its
// unit is the one searched and renamed in.
class TEditedForm {
public:
    explicit TEditedForm(TzxCustomLang* Lang);
    ~TEditedForm();
    TEditedForm(const TEditedForm&) = delete;
    TEditedForm& operator=(const TEditedForm&) = delete;

    // The component being edited, or nullptr.
    static TzxCustomLang* Lang();

private:
    TzxCustomLang* FPrevious;
};

// The one expert, nullptr before ExpRegister and after the IDE freed it.
extern TzxLangExpert* FzxLangExpert;
// The expert window while it exists, else nullptr.
extern TfrmzxLang* frmzxLang;
// The IDE dock host the window sits in, while there is one.
extern TForm* DockForm;

// The expert's OnChangeStrID for the Translation Editor; empty while there
// is no expert.
TChangeStrIDEvent ExpertChangeStrID();

// Creates the expert and hands it to the IDE.
void ExpRegister();

// Opens the web address in the desktop's browser (see OpenURL).
bool LaunchBrowser(const AnsiString& Address);

// The dock class of the IDE: the grandparent class "TDockableForm" of the
// project window "ProjectManagerForm" (its parent "TDockableToolbarForm"),
// nullptr when the IDE has none.
TClass FindIdeDockClasses();
