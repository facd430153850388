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
#include "runtime/QzxFormStorage.h"

#include <array>

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

class TfrmzxLang : public TForm {
    ZX_CLASS(TfrmzxLang, TForm)
public:
    explicit TfrmzxLang(TComponent* AOwner) : TForm(AOwner) {}
    ~TfrmzxLang() override;
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

    void UpdateStatusBar();
    // The next selected row after Row in list order, wrapping round; nullptr
    // when Row is the only one selected.
    TListItem* GetNextSelectedItem(TListItem* Row) const;
    // Sorts by SortedColumn in the direction of SortOrder.
    void SortRows();
    // The dock host the window sits in, or nullptr.
    TForm* DockHost() const;

private:
    void ApplyColumnWidths(const AnsiString& Widths);
    AnsiString ColumnWidthsText() const;
};
