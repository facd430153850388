// The exclusion editor: DisplayExcludeDialog opens the modal dialog
// TfrmExcludeFromTranslation on a translation component, where the form's
// components and their translatable properties are moved into the three
// exclusion lists (DoNotTranslate, ExcludedProperties, SmartExcludeProps).
// The lists reach the component only when the dialog closes with saving.
// A default list of property names is kept from one opening to the next.
#pragma once

#include "runtime/QzxComp.h"

#include "clx/Forms.h"

#include <functional>
#include <memory>
#include <unordered_map>

class TAction;
class TActionList;
class TBasicAction;
class TComboBox;
class TLabel;
class TListBox;
class TMenuItem;
class TPageControl;
class TPanel;
class TPopupMenu;
class TRegistry;
class TSplitter;
class TTreeNode;
class TTreeView;

ZX_ENUM(TPropertyDescription, pdOrdinal, pdTStrings, pdCollection, pdCollectionItem, pdPersistent);
ZX_ENUM(TAddbyProperty, apSelected, apByType, apByTypeName, apByName);

// What a node of the property tree stands for; owned by the dialog.
class TPropertyData : public TComponent {
    ZX_CLASS(TPropertyData, TComponent)
public:
    using TComponent::TComponent;

    TTypeKind Kind = tkUnknown;
    // The type as the user sees it: "LString", "TStrings", a class name.
    AnsiString TypeName;
    TPropertyDescription Description = pdOrdinal;
};

// Shows the dialog for Lang on page PageIndex (0 components, 1 properties,
// 2 component's properties); true when the lists were written back to Lang.
bool DisplayExcludeDialog(TzxCustomLang* Lang, Integer PageIndex);

// Registers the dialog's class and handlers for its form text. Idempotent.
void InitQExcludedEditor();

class TfrmExcludeFromTranslation : public TForm {
    ZX_CLASS(TfrmExcludeFromTranslation, TForm)
public:
    explicit TfrmExcludeFromTranslation(TComponent* AOwner);
    ~TfrmExcludeFromTranslation() override;
    void AfterConstruction() override;

    // --- Controls of the form text.
    TPanel* pnlLeft = nullptr;
    TPanel* pnlCombo = nullptr;
    TPanel* pnlProperties = nullptr;
    TComboBox* cbComponents = nullptr;
    TTreeView* tvComponents = nullptr;
    TTreeView* tvProperties = nullptr;
    TSplitter* splLeft = nullptr;
    TSplitter* splProperties = nullptr;
    TLabel* labExclude = nullptr;
    TPageControl* pcExcluded = nullptr;
    TListBox* lbExclComponents = nullptr;
    TListBox* lbExclProperties = nullptr;
    TListBox* lbExclCompProps = nullptr;
    TActionList* alExclude = nullptr;
    TPopupMenu* pmComponents = nullptr;
    TPopupMenu* pmProperties = nullptr;
    TPopupMenu* pmLists = nullptr;
    TPopupMenu* pmDefaults = nullptr;
    TMenuItem* miInsertDefaults = nullptr;
    TMenuItem* miDeleteDefaults = nullptr;
    TMenuItem* miListsDefault = nullptr;

    // --- Handlers the form text names.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void alExcludeUpdate(TBasicAction* Action, bool& Handled);
    void tvComponentsChange(TObject* Sender, TTreeNode* Node);
    void tvComponentsCollapsing(TObject* Sender, TTreeNode* Node, bool& AllowCollapse);
    void tvComponentsDblClick(TObject* Sender);
    void tvPropertiesDblClick(TObject* Sender);
    void cbComponentsChange(TObject* Sender);
    void pcExcludedChange(TObject* Sender);
    void ListDblClick(TObject* Sender);
    void lbExclComponentsDragOver(TObject* Sender, TObject* Source, Integer X, Integer Y,
                                  TDragState State, bool& Accept);
    void lbExclComponentsDragDrop(TObject* Sender, TObject* Source, Integer X, Integer Y);
    void lbExclPropertiesDragOver(TObject* Sender, TObject* Source, Integer X, Integer Y,
                                  TDragState State, bool& Accept);
    void lbExclPropertiesDragDrop(TObject* Sender, TObject* Source, Integer X, Integer Y);
    void lbExclPropertiesMeasureItem(TWinControl* Control, Integer Index, Integer& Height);
    void lbExclPropertiesDrawItem(TObject* Sender, Integer Index, TRect Rect,
                                  TOwnerDrawState State, bool& Handled);
    void splLeftMoved(TObject* Sender);
    void splPropertiesMoved(TObject* Sender);
    void pmComponentsPopup(TObject* Sender);
    void pmPropertiesPopup(TObject* Sender);
    void pmListsPopup(TObject* Sender);
    void pmDefaultsPopup(TObject* Sender);
    void InsertDefaultClick(TObject* Sender);
    void DeleteDefaultClick(TObject* Sender);

    // --- The actions' commands.
    void acAddComponentExecute(TObject* Sender);
    void acAddAllByComponentExecute(TObject* Sender);
    void acAddCompChildsExecute(TObject* Sender);
    void acAddAllWithPropertyExecute(TObject* Sender);
    void acAddPropertyExecute(TObject* Sender);
    void acAddPropertyByTypeExecute(TObject* Sender);
    void acAddPropertyAsSelectedTypeExecute(TObject* Sender);
    void acAddPropertyByNameExecute(TObject* Sender);
    void acDeleteFromListExecute(TObject* Sender);
    void acClearListExecute(TObject* Sender);
    void acClearAllExecute(TObject* Sender);
    void acSortListExecute(TObject* Sender);
    void acDefaultsExecute(TObject* Sender);
    void acAddToDefaultsExecute(TObject* Sender);
    void acClearDefaultsExecute(TObject* Sender);
    void acInsertAllDefaultsExecute(TObject* Sender);
    void acSaveDefaultsExecute(TObject* Sender);
    void acAutoSaveDefaultsExecute(TObject* Sender);

    // --- The steps of the dialog's algorithms.
    void AddComponent(TTreeNode* ParentNode, TComponent* Component);
    void SyncExcluded();
    TTreeNode* FindComponentNode(const AnsiString& Caption) const;
    void ExcludeSelectedComponent(TTreeNode* Node);
    bool CanAddProperty(const AnsiString& PropertyName, const AnsiString& ComponentName) const;
    void FillProperties(TComponent* Component, const AnsiString& ComponentName);
    void AddPropertyNodes(TObject* Object, TTreeNode* ParentNode);
    void AddPropertyToList(TAddbyProperty AddBy, TPropertyData* Data, const AnsiString& Value);
    void DeleteSelectedFromList();
    void SaveDefaults();

    TzxCustomLang* Lang() const { return FLang; }
    TStringList* Defaults() const { return FDefaults.get(); }
    bool Modified() const { return FModified; }
    bool AutoSaveDefaults() const { return FAutoSaveDefaults; }
    Integer LeftPanelWidth() const { return FLeftPanelWidth; }
    Integer PropertiesPanelHeight() const { return FPropertiesPanelHeight; }
    // The list of the active page.
    TListBox* ActiveList() const;
    TAction* ActionNamed(const AnsiString& Name);

private:
    friend bool DisplayExcludeDialog(TzxCustomLang*, Integer);

    void ReadSettings();
    void MigrateDefaults(TRegistry& Settings);
    void WriteSetting(const std::function<void(TRegistry& Settings)>& Write);
    void FillComponentTree();
    void ChildrenOf(TComponent* Component, const std::function<void(TComponent*)>& Visit) const;
    void SetExcludedImage(TTreeNode* Node, bool Excluded);
    TTreeNode* RootNode() const;
    TTreeNode* SelectedPropertyNode() const;
    TPropertyData* DataOf(TTreeNode* Node) const;
    bool IsCollectionItem(TTreeNode* Node) const;
    TTreeNode* AddPropertyNode(TTreeNode* ParentNode, const AnsiString& Caption, TTypeKind Kind,
                               const AnsiString& TypeName, TPropertyDescription Description);
    void AddObjectPropertyNode(TTreeNode* ParentNode, const AnsiString& Caption, TObject* Value);
    // Frees the data of Node and of every node below it.
    void FreeNodeData(TTreeNode* Node);
    bool CanAddSelectedProperty() const;
    AnsiString PropertyEntry(TTreeNode* Node) const;
    bool WalkMatches(TAddbyProperty AddBy, TTreeNode* Node, const AnsiString& SelectedType,
                     const AnsiString& Value) const;
    void AddMatchingProperties(TAddbyProperty AddBy, const AnsiString& SelectedType,
                               const AnsiString& Value);
    void RefillProperties();
    void SetModified() { FModified = true; }
    void ExcludeNodes(const std::function<bool(TTreeNode* Node)>& Matches);
    bool CompHasProperty(TComponent* Component, const AnsiString& PropertyName) const;
    AnsiString SelectedPropertyName() const;
    bool Confirm(const AnsiString& Question) const;
    void WhileScreenOff(const std::function<void()>& Walk);
    void AskAndAdd(TAddbyProperty AddBy, const AnsiString& Title, const AnsiString& Prompt);
    void SelectAllAndDelete();
    void WriteBack();
    void RebuildNameEntries(TMenuItem* Submenu, const TNotifyEvent& Click);
    void CopyMenu(TMenuItem* From, TMenuItem* To);
    void DefaultsChanged();
    void InsertDefault(const AnsiString& Name);
    void PlacePanels();
    void BindActionUpdates();

    TzxCustomLang* FLang = nullptr;
    std::unique_ptr<TStringList> FDefaults;
    bool FModified = false;
    bool FAutoSaveDefaults = false;
    Integer FLeftPanelWidth = 311;
    Integer FPropertiesPanelHeight = 239;
    // The component node's caption while its property tree is built.
    AnsiString FPropertiesComponentName;
    std::unordered_map<TBasicAction*, std::function<void()>> FActionUpdates;
};

// The dialog created last.
extern TfrmExcludeFromTranslation* frmExcludeFromTranslation;
