// The expert window: the active project's forms with the translation
// component each one carries, and the menus, toolbar and popup from which
// the per-form and per-project commands run. Docks into the IDE's dock host
// when the IDE offers one.
#pragma once

#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"
#include "clx/Menus.h"
#include "runtime/QzxComp_Text.h"
#include "runtime/QzxFormStorage.h"

#include <array>
#include <functional>
#include <vector>

class TzxCustomLang;
class TPhraseSearch;

// The class names recognised as a form's translation component.
inline constexpr std::array<const char*, 5> NamesArray = {"TzxLang", "TzxLangRTSE", "TzxLangRT",
                                                          "TzxLangLinked", "TzxLangTLV"};

// Where the form list keeps a row's texts.
enum TFormRowText { rtUnitName, rtFileName, rtLanguages, rtComponentClass };

// The state images of a row.
inline constexpr Integer RowWithoutComponent = 0;
inline constexpr Integer RowWithComponent = 1;

// The Tags that tell which selection a command needs.
inline constexpr Integer TagNeedsComponent = 112;
inline constexpr Integer TagWholeProjectAlways = 113;

AnsiString RowText(const TListItem* Row, TFormRowText Which);
void SetRowText(TListItem* Row, TFormRowText Which, const AnsiString& Value);
// Whether the row shows a translation component (its languages are not "0").
bool RowHasComponent(const TListItem* Row);

// The Tags of the load, merge and save commands.
inline constexpr Integer TagWholeProject = -1;
inline constexpr Integer TagSelectedForms = 111;
inline constexpr Integer TagMergeSelected = 112;

// Cuts the names from the end, or fills them up with "Language N" and the
// number, to exactly Count lines.
void FitLanguageNames(TStrings& Names, Integer Count);

// The root of the form the IDE has a module for, or nullptr.
TComponent* FormRootByName(const AnsiString& FormName);
// The first translation component the root owns, or nullptr.
TzxCustomLang* FirstLangOf(TComponent* Root);
// Everything of the component the form file keeps about translations, to
// tell whether an operation changed it.
AnsiString TranslationState(const TzxCustomLang& Lang);

// The forms a command could not handle, told to the user at once when the
// command ends.
class TFormFailures {
public:
    void Add(const AnsiString& FormName, const AnsiString& Reason);
    // The one message box listing them; nothing when there are none.
    void Report() const;
    bool Empty() const { return FLines.empty(); }

private:
    std::vector<AnsiString> FLines;
};

class TfrmzxLang : public TForm {
    ZX_CLASS(TfrmzxLang, TForm)
public:
    explicit TfrmzxLang(TComponent* AOwner) : TForm(AOwner) {}
    ~TfrmzxLang() override;
    // The rows' module notifiers point at the rows: they are let go while
    // the list still exists.
    void BeforeDestruction() override;
    void ReleaseRowNotifiers();
    void AfterConstruction() override;

    TListView* lvFormNames = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton* sbBadIDs = nullptr;
    TImageList* ilStates = nullptr;
    TzxFormStorage* FormStorage = nullptr;
    TMenuItem* CheckBadIDs1 = nullptr;
    TMenuItem* ChangeType1 = nullptr;
    TMenuItem* DictionaryManager1 = nullptr;
    TMenuItem* HelpTopics1 = nullptr;
    TMenuItem* Stayontop1 = nullptr;
    TMenuItem* Docable1 = nullptr;
    TOpenDialog* odLoad = nullptr;
    TSaveDialog* sdSave = nullptr;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormActivate(TObject* Sender);
    void lvFormNamesChange(TObject* Sender, TListItem* Item, TItemChange Change);
    void lvFormNamesColumnClick(TObject* Sender, TListColumn* Column);
    void HintMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
    void sbCloseClick(TObject* Sender);
    void sbOptionsClick(TObject* Sender);
    void sbAboutClick(TObject* Sender);
    void SelectAll1Click(TObject* Sender);
    void Stayontop1Click(TObject* Sender);
    void Docable1Click(TObject* Sender);
    void TalvenkoHomePage1Click(TObject* Sender);
    void TzxLangPage1Click(TObject* Sender);
    void MoreProductsClick(TObject* Sender);

    // --- The per-form and per-project commands; the Tag of Sender picks
    // the rows.
    void sbCaptionsClick(TObject* Sender);
    void sbLanguagesClick(TObject* Sender);
    void sbLoadAllClick(TObject* Sender);
    void sbSaveAllClick(TObject* Sender);
    void lvFormNamesKeyDown(TObject* Sender, Integer& Key, TShiftState Shift);
    // --- Source conversion: literals into calls of the form's component.
    void Translatesource1Click(TObject* Sender);
    void TranslateUnit1Click(TObject* Sender);
    void Const1Click(TObject* Sender);
    void WithoutForm1Click(TObject* Sender);
    // Converts the form's own unit (UnitFile empty) or the unit UnitFile;
    // ConstMode turns string constants into variables instead.
    void DoScanReplace(const AnsiString& FormName, const AnsiString& UnitFile, bool ConstMode);
    // The creation handler, the component's language-change handler and
    // UpdateStrings of the row's form, made when missing.
    void InsertConstMethods(TListItem* Row);
    // --- The Translation Wizard on the selected forms.
    void sbWizardClick(TObject* Sender);
    // --- Finding and replacing a phrase in the selected forms' translations.
    void Findword1Click(TObject* Sender);
    void Replacephrase1Click(TObject* Sender);
    // --- Property files, updating, clearing and excluding across forms
    // The lists chosen in the property chooser; whether the user confirmed.
    bool PropListDialog(TStringsTypes& Types);
    // Raises Exception with the reason when the form cannot be handled.
    void SavePropsToFile(const AnsiString& FormName, const AnsiString& FileName,
                         const AnsiString& Delimiter, const TStringsTypes& Types);
    void Savepropertiestofile1Click(TObject* Sender);
    void Savepropertiestofileforallforms1Click(TObject* Sender);
    void Updatetranslation1Click(TObject* Sender);
    void Cleartranslations1Click(TObject* Sender);
    void Excludeproperties1Click(TObject* Sender);
    // The selected rows in list order.
    std::vector<TListItem*> SelectedRows() const;
    // --- Changing the class of the selected forms' components to the
    // NamesArray entry of the submenu item.
    void ToTzxLang1Click(TObject* Sender);
    // --- Units
    void OpenUnit(TListItem* Row);
    void Viewform1Click(TObject* Sender);

    // The form's translation component of the row's class, its file opened
    // in the IDE; nullptr when there is none.
    TzxCustomLang* GetzxLang(const AnsiString& FormName);
    // Whether any row (WholeProject) or the row shows a component.
    bool CheckTzxLang(bool WholeProject, const TListItem* Row) const;
    // A new component of the class on the form; nullptr when the form or
    // its designer cannot be reached. Errors of the designer are shown and
    // raised again.
    TComponent* InsertComponentOnForm(const AnsiString& FormName, TClass ComponentClass);
    // Places the default component on the row's form when it has none;
    // whether the form has a translation component afterwards.
    bool InsertTzxLang(TListItem* Row);
    // Each raises Exception with the reason when the form could not be
    // handled.
    void SaveFormToFile(const AnsiString& FormName, const AnsiString& FileName,
                        const AnsiString& Delimiter);
    void LoadFormFromFile(const AnsiString& FormName, const AnsiString& FileName);
    void MergeFormFromFile(const AnsiString& FormName, const AnsiString& FileName);
    // The delete command of a bad string identifier: BadID's caption is the
    // identifier, its third text the unit file it was found in.
    void DeleteStringByID(const TListItem* BadID);
    // --- String identifiers: the findings of one unit into List (caption
    // the identifier; type, info, file name); FormName empty checks only the
    // calls that name their form. False when the unit could not be read.
    bool CheckIDInFile(TListView* List, const AnsiString& FormName, const AnsiString& FileName);
    void CheckunusedIDs1Click(TObject* Sender);
    void CheckbadstringIDsinunit1Click(TObject* Sender);
    // A finding's source line, or the Translation Editor on its identifier
    // or, for a find result, at its list and line.
    void LVIDsDblClick(TObject* Sender);
    void LVIDsKeyDown(TObject* Sender, Integer& Key, TShiftState Shift);
    // The row of that caption (exact), or nullptr.
    TListItem* FormRow(const AnsiString& FormName) const;
    // The selected rows, from the focused one on in list order, wrapping
    // round.
    std::vector<TListItem*> SelectionWalk() const;

    void UpdateStatusBar();
    // The next selected row after Row in list order, wrapping round; nullptr
    // when Row is the only one selected.
    TListItem* GetNextSelectedItem(TListItem* Row) const;
    // Sorts by SortedColumn in the direction of SortOrder.
    void SortRows();
    // The dock host the window sits in, or nullptr.
    TForm* DockHost() const;

private:
    void SearchPhrase(bool Replace);
    void SearchRow(TListItem* Row, TPhraseSearch& Search);
    void SaveProperties(const std::vector<TListItem*>& Rows);
    // Whether the row's component now has the class; the user was told why
    // not.
    bool ChangeComponentClass(TListItem* Row, const AnsiString& Target);
    bool RewriteFormFile(const AnsiString& FormFile, const AnsiString& Current,
                         const AnsiString& Target, TClass TargetClass);
    // Work on the component of each selected form that has one; the forms
    // that failed are reported at the end.
    void ForEachSelectedComponent(const std::function<void(TzxCustomLang&)>& Work);
    // Whole project by Tag, or the row the checks apply to; whether the
    // command may go on (the user was told when not).
    bool CheckTranslated(bool WholeProject);
    // The delimiter to save a text file with: empty when the user gave up.
    AnsiString AskDelimiter(const AnsiString& FileName, const std::vector<TListItem*>& Rows);
    // Loads or merges one form, the file chosen; Merge selects the operation.
    void ReadFormFromFile(const AnsiString& FormName, const AnsiString& FileName, bool Merge);
    void TranslateRow(TListItem* Row);
    void ApplyColumnWidths(const AnsiString& Widths);
    void ReplaceLiterals(const AnsiString& FormName, const AnsiString& FileName,
                         const AnsiString& Text, TzxCustomLang& Lang);
    void ReplaceConstants(const AnsiString& FormName, const AnsiString& FileName,
                          const AnsiString& Text, TzxCustomLang& Lang);
    // The unit and the form the user chooses for a unit without a form;
    // False when there is no choice (the user was told why).
    bool ChooseUnit(AnsiString& FileName, AnsiString& FormName);

    AnsiString ColumnWidthsText() const;

    // Every list until the user chooses.
    TStringsTypes FSavedPropsTypes{stCaptions,   stHints,       stDisplayLabels, stFonts,
                                   stMultiLines, stDlgsCaptions, stStrings,      stOtherStrings,
                                   stLocales,    stCollections,  stCharSets,
                                   stListView_TreeView_Items};
    // The bad-identifier window of a new check, its rows leading here.
    void NewBadIDsWindow();
    // Shows the window when it has rows; otherwise, when every unit was
    // read, tells the user Resolved.
    void ShowBadIDs(bool AllRead, const AnsiString& Resolved);
    void OpenEditorOnFinding(const TListItem* Row);
    // A find result's row: the editor on its form's component at its list
    // and line.
    void OpenEditorOnFindResult(const TListItem* Result);
};
