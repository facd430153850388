// The Translation Editor: TransEditorDlg opens the modal form
// TzxTransEditFrm on a translation component. The form edits a working
// copy of the component (same class, no owner) in a grid -- one row per
// translation line, column 0 the key, one column per language -- and only
// when the user saves on closing are the copy's lists written back into the
// component, which then applies its active language again.
#pragma once

#include "runtime/QzxComp.h"

#include "clx/Forms.h"
#include "clx/Grids.h"

#include <functional>
#include <unordered_map>
#include <vector>

class TAction;
class TFindDialog;
class TOpenDialog;
class TSaveDialog;
class TTabControl;
class TActionList;
class TMainMenu;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TSplitter;
class TStatusBar;
class TTreeNode;
class TTreeView;
class TComboBox;
class TControl;
struct TExtendedNode;

ZX_ENUM(TShowFlag, sfFull, sfSelected, sfDesignTime, sfRunTime, sfDisableLoad, sfDisableSave,
        sfSaveAsClose, sfExtended, sfHideExtended);
using TShowFlags = TSet<TShowFlag>;

// Called when the user renames a string identifier in the grid.
using TChangeStrIDEvent =
    TEvent<void(const AnsiString& AOwnerName, const WideString& AFromID, WideString& AToID)>;
// True when StringID was found in the source; ShowEditor also moves the
// source editor there.
using TNavigateToSource = std::function<bool(const AnsiString& StringID, bool ShowEditor)>;

// Hooks the IDE integration sets once; an empty hook's command does nothing.
extern TNavigateToSource NavigateToSource;
extern TNotifyEvent ShowAboutBox;

ZX_ENUM(TMemoReturnText, mrtCommaText, mrtText);
ZX_ENUM(TExclActionResult, eaUndefined, eaOnlyProperty, eaNotTranslate, eaAll);

// One grid row: its cells and the object each cell carries.
struct TGridRowData {
    std::vector<AnsiString> Cells;
    std::vector<TObject*> Objects;
};

// A row a filter took out of the grid: the data row it was (from 1) and
// what it held. The cells are kept as they are, so no text changes on its
// way out and back.
struct THideRec {
    Integer Row = 0;
    TGridRowData Data;
};

// A language's font as the editor's font-info table records it.
struct TFontInfo {
    Byte Charset = 1;
    AnsiString LangName;
    AnsiString FontName;
};

// Opens the editor modally on Lang. True when the user saved: the edited
// lists are then Lang's. Exception when Lang has no owner, or (without
// sfFull) no list of Kind.
bool TransEditorDlg(TzxCustomLang* Lang, TStringsType Kind, Integer StartIndex, TShowFlags Flags,
                    const TChangeStrIDEvent& OnChangeStrID = {});

// Whether Translation may stand for Base as a Format template: each
// argument, counted as Format counts them (an explicit index or the next
// one), gets the same conversions in both. Widths and precisions may differ, "%%" is text, and
// an empty text on either side is accepted.
bool CompareFormatSpecifiers(const AnsiString& Base, const AnsiString& Translation);

// Registers the editor's form classes and handlers for form files.
// Idempotent.
void InitQzxTransEditor();

class TzxTransEditFrm : public TForm {
    ZX_CLASS(TzxTransEditFrm, TForm)
public:
    explicit TzxTransEditFrm(TComponent* AOwner) : TForm(AOwner) {}
    ~TzxTransEditFrm() override;
    void AfterConstruction() override;

    // --- Controls of the form text.
    TTreeView* TreeView = nullptr;
    TTreeView* tvExtended = nullptr;
    TSplitter* VSplitter = nullptr;
    TPanel* pnlBackground = nullptr;
    TStringGrid* Grid1 = nullptr;
    TTabControl* tabsTranslations = nullptr;
    TStatusBar* StatusBar = nullptr;
    TOpenDialog* odLoad = nullptr;
    TSaveDialog* sdSave = nullptr;
    TFindDialog* fdOnGrid = nullptr;
    TMainMenu* MainMenu = nullptr;
    TPopupMenu* popGrid = nullptr;
    TPopupMenu* popInplace = nullptr;

    // --- Handlers the form text names.
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void TreeViewChanging(TObject* Sender, TTreeNode* Node, bool& AllowChange);
    void TreeViewChange(TObject* Sender, TTreeNode* Node);
    void tabsTranslationsChange(TObject* Sender);
    void Grid1DrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect,
                       TGridDrawState State);
    void Grid1SelectCell(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect);
    void Grid1GetEditText(TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value);
    void Grid1SetEditText(TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value);
    void ApplyFilterExecute(TObject* Sender);
    void miFindClick(TObject* Sender);
    void fdOnGridFind(TObject* Sender);
    void miCloseClick(TObject* Sender);
    void CloseSaved1Click(TObject* Sender);
    void SortColumn(TObject* Sender);
    void miSortPrefixClick(TObject* Sender);
    void FormShow(TObject* Sender);
    void Grid1DblClick(TObject* Sender);
    void Grid1TopLeftChanged(TObject* Sender);
    void VSplitterMoved(TObject* Sender);
    void miMultilineClick(TObject* Sender);
    void miFontClick(TObject* Sender);
    void TreeViewCollapsing(TObject* Sender, TTreeNode* Node, bool& AllowCollapse);
    void sbLoadClick(TObject* Sender);
    void sbSaveClick(TObject* Sender);
    void EditExecute(TObject* Sender);
    void sbAddClick(TObject* Sender);
    void sbDelClick(TObject* Sender);
    void sbClearClick(TObject* Sender);
    void acAddRowUpdate(TObject* Sender);
    void Grid1KeyDown(TObject* Sender, Integer& Key, TShiftState Shift);
    void Grid1KeyUp(TObject* Sender, Integer& Key, TShiftState Shift);
    void Grid1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                        Integer Y);
    void Grid1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                      Integer Y);
    void miExcludeBlanksClick(TObject* Sender);
    void pmiExcludeClick(TObject* Sender);
    void popGridPopup(TObject* Sender);
    void popInplacePopup(TObject* Sender);
    void Propagate1Click(TObject* Sender);
    void miClearFieldClick(TObject* Sender);
    void Highlightduplicates1Click(TObject* Sender);
    void acStringsFindInSourceExecute(TObject* Sender);
    void About1Click(TObject* Sender);
    void miLanguagesClick(TObject* Sender);
    void miCheckFmtStrClick(TObject* Sender);
    void Statistics1Click(TObject* Sender);

    // --- The Extended tab's commands.
    void acExtendedFindByNameUpdate(TObject* Sender);
    void acExtendedFindByNameExecute(TObject* Sender);
    void acExtendedFindNextUpdate(TObject* Sender);
    void acExtendedFindNextExecute(TObject* Sender);
    void acExtendedAddByNameExecute(TObject* Sender);
    void tvExtendedChange(TObject* Sender, TTreeNode* Node);
    void tvExtendedDblClick(TObject* Sender);
    void FindExtendedByString(const AnsiString& Text);
    void AddExtendedByString(const AnsiString& Text);
    // The node that holds the last element of Path, searched from Node's
    // children (the whole tree when Node is nullptr); nullptr when gone.
    TTreeNode* FindParentNode(const AnsiString& Path, TTreeNode* Node) const;
    static AnsiString GetPropertyName(const AnsiString& Path);

    // The selection as the clipboard's block of cells, and a block pasted
    // into it; one selected cell takes the text as it is.
    AnsiString CopyGridSelection() const;
    void PasteGridBlock(const AnsiString& Text);

    // --- The cell editors: the in-place combo of the Fonts and CharSets
    // types, the multi-line editor and the set editor.
    void SetupCombos(TControl* Control);
    void InplaceComboChange(TObject* Sender);
    void InplaceComboExit(TObject* Sender);
    void InplaceComboKeyDown(TObject* Sender, Integer& Key, TShiftState Shift);
    // The combo over the cell, while the Fonts or CharSets type is shown.
    TComboBox* InplaceCombo() const { return FInplaceCombo; }
    bool ShowMultilineEditor(const AnsiString& Text, const AnsiString& PropName,
                             TMemoReturnText ReturnKind, const AnsiString& FontName, Byte Charset,
                             AnsiString& Value);
    bool ShowSetEditor(TStrings* Items, TStrings* Selected, const AnsiString& Caption);
    // Whether the Extended tab's row holds a string list property.
    bool IsExtendedTStrings();

    // --- The font a language cell is drawn and edited in.
    void GetFontSettings(Integer Col, Integer Row, AnsiString& FontName, Byte& Charset);
    TFontInfo GetFontName(const AnsiString& Name) const;
    bool IsFontInfo(const AnsiString& Name) const;

    // --- Exclusion rules on the working copy and the Extended tab's tree.
    void CheckDontTranslate(const AnsiString& CompName);
    void CheckExcludedProps();
    void CheckSmartExcludes(const AnsiString& CompName, const AnsiString& PropName);
    void BuildExtendedTree(TzxCustomLang* Lang);

    // --- Copy in and out of the working copy.
    void GetProperties(TzxCustomLang* Lang);
    void SetProperties(TzxCustomLang* Lang);
    void UpdateProperty(TStringsType Kind, bool Extended);
    bool CheckStringIDs();
    bool CloseFilter();
    void RestoreSettings();
    void SaveSettings();
    void RestoreColumns();

    // --- The grid.
    void BuildGrid(TStringsType Kind, bool Extended);
    void AdjustRowHeight(Integer ARow);
    void AdjustRows();
    void CheckActions();
    void ApplyFilter(Integer Mode);
    void DoFind(const AnsiString& Text, bool Down, bool MatchCase);
    void SetHighlightDuplicates(bool Value);

    // What TransEditorDlg hands over and reads back.
    TShowFlags Flags() const { return FFlags; }
    bool Result() const { return FResult; }
    bool Modified() const { return FModified; }
    TStringsType CurrentType() const { return FCurrentType; }
    Integer FilterMode() const { return FFilterMode; }
    Integer SortColumnIndex() const { return FSortColumn; }
    Integer HiddenCount() const { return static_cast<Integer>(FHidden.size()); }
    TzxCustomLang* WorkingCopy() const { return FWorkingCopy; }
    bool ExtendedShown() const;

private:
    friend bool TransEditorDlg(TzxCustomLang*, TStringsType, Integer, TShowFlags,
                               const TChangeStrIDEvent&);

    template <typename T> T* Control(const AnsiString& Name);
    TMenuItem* MenuItem(const AnsiString& Name);
    TAction* ActionNamed(const AnsiString& Name);
    bool StringsShown() const { return FCurrentType == stStrings && !ExtendedShown(); }
    Integer LanguageCount() const;
    void SetTypeCaption(const AnsiString& TypeName);
    void ShowNoData(const AnsiString& TypeName);
    void FillGrid(const std::vector<AnsiString>& Lines, TStringsType Kind, bool Extended);
    void RebuildSortMenu(TStringsType Kind, bool Extended);
    void ClearHidden();
    // A refusal of the text a cell or key would carry into a line, or "".
    AnsiString LineTextFault(Integer ACol, const AnsiString& Value) const;
    bool CheckLineTexts();
    // The type tree's root is chosen: file commands then take every list.
    bool RootSelected() const;
    // Fills the grid again from the working copy, keeping the current cell
    // and the filter; the grid stays hidden under the root.
    void RefreshGrid();
    // Load and Save as the flags and the view allow them.
    void UpdateFileActions();
    // Loads FileName into the working copy, every list or the current
    // type's, without applying a language; false with the working copy as
    // it was when the file could not be read or the user kept the number
    // of languages.
    bool LoadWorkingCopy(const AnsiString& FileName, bool AllLists);
    // What a ".ZXB" file gets as the form's entry.
    std::unique_ptr<TzxCustomLang> BinaryEntry() const;
    // The first translation text that Delimiter would split in a file, or "".
    AnsiString TextSplitBy(const AnsiString& Delimiter, bool AllLists) const;
    void ClearCells(const TGridRect& Block);
    // The cells of the popup's row as component and property names.
    void TakePopupNames(Integer ARow);
    void ExcludeExtendedRows(TExclActionResult Action);
    void SelectCell(Integer ACol, Integer ARow);
    void DuplicatesChanged();
    void KeyEdited(Integer ARow, const AnsiString& NewKey);
    bool IsDuplicateKey(Integer ARow) const;
    std::vector<AnsiString> GridLines(Integer FirstColumn) const;
    void TakeSettingsBounds(Integer Left, Integer Top, Integer Width, Integer Height);
    void CallDummyOnSelectCell();
    void ShowGridOrNoData(TStringsType Kind, bool Extended);
    bool RowFilteredOut(Integer Mode, Integer ARow) const;
    void RestoreHiddenRows();
    void HideFilteredRows(Integer Mode);
    void SelectFoundCell(Integer ACol, Integer ARow);
    // The in-place combo is made for the Fonts and CharSets lists and goes
    // with the grid they fill.
    void MakeInplaceCombo(TStringsType Kind);
    void FreeInplaceCombo();
    void OpenMultilineEditor(TMemoReturnText ReturnKind);
    void OpenSetEditor();
    void ShowRowWidths(Integer ACol, Integer ARow);
    // The Extended tab's Add Row and Remove Row.
    void AddExtendedRow();
    void RemoveExtendedRow(TObject* Sender);
    // The tree node's path: the captions from the top down, joined by ".".
    static AnsiString NodePath(const TTreeNode* Node);
    // Asks for a part of a property name; false when cancelled or empty.
    bool AskPropertyText(AnsiString& Text);
    // Where a search by name starts: after the selected node, or at it
    // when the command has just selected the first node.
    TTreeNode* FirstSearchedNode();
    // Where the check of format strings stopped: the row made current.
    // The key is a copy: applying the filter again replaces the grid's cells.
    void ShowRowOnTop(AnsiString Key, Integer ARow);
    // The type kind of the property an Extended tab's row translates.
    TTypeKind RowPropertyType(Integer ARow) const;
    void SetRowPropertyType(Integer ARow, TTypeKind Kind);
    bool IsExcludedPair(const AnsiString& CompName, const AnsiString& PropName) const;
    void ExcludeLinesOfProps(TStrings& List, bool ItemProperty);
    bool WalkObject(TObject* Object, TExtendedNode& Node, const AnsiString& Path, Integer Depth,
                    std::vector<TObject*>& Walking);
    void AddProperty(TObject* Object, PPropInfo Info, TExtendedNode& Node, const AnsiString& Path,
                     Integer Depth, std::vector<TObject*>& Walking);
    // The type the grid holds while it shows a type node's list, so that
    // it goes back into the working copy before another list is shown.
    bool FGridHoldsType = false;
    // Filtering left no row: the grid shows one empty row in their place.
    bool FPlaceholderRow = false;

    TzxCustomLang* FWorkingCopy = nullptr;
    TzxCustomLang* FEditedComponent = nullptr;
    TComponent* FEditedOwner = nullptr;
    Integer FStartRow = 1;
    Integer FLastColumn = -1;
    Integer FLeftColumn = 0;
    Integer FTopRow = 0;
    AnsiString FDelimiter;
    Integer FFilterMode = 0;
    Integer FSortColumn = -1;
    Integer FPressedColumn = -1;
    TStringsType FCurrentType = stCaptions;
    TStringsType FLastType = stCaptions;
    TColor FHighlightColor = 0;
    WideString FOldCellText;
    WideString FNewCellText;
    TChangeStrIDEvent FChangeStrID;
    bool FBuildingTree = false;
    bool FResult = false;
    bool FHighlightDuplicates = true;
    AnsiString FOwnerClassName;
    Integer FIDsWidth = 180;
    Integer FTreeViewWidth = 180;
    AnsiString FSourceID;
    AnsiString FFindText;
    AnsiString FAddText;
    bool FModified = false;
    TShowFlags FFlags;
    std::vector<THideRec> FHidden;
    AnsiString FSortPrefix = "IDS_";
    bool FExtendedOnly = false;
    bool FCloseConfirmed = false;
    // How often each key (upper-cased) stands in the grid, so that painting
    // a cell asks one question: counted again after changes of many rows,
    // followed key by key while a key is edited.
    mutable std::unordered_map<AnsiString, Integer> FKeyCounts;
    mutable bool FKeyCountsKnown = false;
    // The key of the row being edited as the counts hold it.
    AnsiString FCountedKey;
    Integer FCountedRow = -1;
    TComboBox* FInplaceCombo = nullptr;
    bool FSearchFromSelected = false;
    // Whether BuildGrid left direct editing on for the list shown.
    bool FGridEditable = true;
    // The cell the grid's popup works on: the one right-clicked last, or
    // (-1, -1) for the current cell when the keyboard opened it.
    TGridCoord FPopupCell{-1, -1};
    AnsiString FPopupComponent;
    AnsiString FPopupProperty;
    class TExclActionForm* FExclActionForm = nullptr;
    // The cell the in-place combo edits.
    Integer FComboCol = 1;
    Integer FComboRow = 1;
};
