// The dialog that brings the project's sources along when the user renames
// a string identifier in the Translation Editor: the units to scan on its
// first page, the lines each unit would change on its second.
#pragma once

#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"
#include "ide/QzxLangScan.h"

#include <functional>
#include <map>

class TfrmStrReplace : public TForm {
    ZX_CLASS(TfrmStrReplace, TForm)
public:
    explicit TfrmStrReplace(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TPageControl* pcPages = nullptr;
    TTabSheet* tsUnits = nullptr;
    TTabSheet* tsLines = nullptr;
    TListBox* lbUnits = nullptr;
    TListBox* lbSelectedUnits = nullptr;
    TLabel* lbUnitFile = nullptr;
    TListView* lvSourceLines = nullptr;
    TButton* btReplace = nullptr;
    TMenuItem* Delete1 = nullptr;
    TMenuItem* Invertselection1 = nullptr;
    TMenuItem* Editresultline1 = nullptr;

    // The lines a unit would change; false when its source could not be
    // read (the user was told).
    std::function<bool(const AnsiString& FileName, std::vector<TRenamedLine>& Lines)> ReadLines;
    // The project's units: name shown, file.
    std::map<AnsiString, AnsiString> UnitFiles;
    // Once closed with OK: each unit's lines to change, the result lines as
    // the user left them.
    std::map<AnsiString, std::vector<TRenamedLine>> Changes;

    void btAddClick(TObject* Sender);
    void btAddAllClick(TObject* Sender);
    void btRemoveClick(TObject* Sender);
    void btRemoveAllClick(TObject* Sender);
    void btReplaceClick(TObject* Sender);
    void pmlvActionsPopup(TObject* Sender);
    void lvSourceLinesChange(TObject* Sender, TListItem* Item, TItemChange Change);
    void lvSourceLinesKeyUp(TObject* Sender, Integer& Key, TShiftState Shift);
    void Delete1Click(TObject* Sender);
    void Invertselection1Click(TObject* Sender);
    void Editresultline1Click(TObject* Sender);

    // Fills the unit list; the first page shows.
    void SetUnits(const std::map<AnsiString, AnsiString>& Files);

private:
    void MoveSelected(TListBox* From, TListBox* To);
    // The next unit with lines onto the second page; false when none is left.
    bool ShowNextUnit();
    void KeepShownUnit();

    std::vector<AnsiString> FPending;
    AnsiString FShownFile;
    std::vector<TRenamedLine> FShownLines;
};
