// The found-strings review: one row per literal (or constant) the converter
// found, with its identifier, text, replacement and source line. Rows can
// be edited, deleted and restored, renumbered, cast and excluded before the
// unit is rewritten. The positions list (normal mode) stays aligned with the
// rows: item i is the source position of row i, item 0 the title row's.
#pragma once

#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/Grids.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include <functional>
#include <memory>

// The delete-rows prompt: a text typed or taken from the last one.
class TfrmExcludeStr : public TForm {
    ZX_CLASS(TfrmExcludeStr, TForm)
public:
    explicit TfrmExcludeStr(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TLabel* lbPrompt = nullptr;
    TComboBox* cbText = nullptr;
};

class TfrmFound : public TForm {
    ZX_CLASS(TfrmFound, TForm)
public:
    explicit TfrmFound(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TStringGrid* sgStrings = nullptr;
    TStringGrid* sgDeleted = nullptr;
    TToolButton* tbtOK = nullptr;
    TToolButton* tbtDelete = nullptr;
    TToolButton* tbtID = nullptr;
    TToolButton* tbtSwitchView = nullptr;
    TToolButton* tbtRestore = nullptr;
    TToolButton* tbtExclude = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TMenuItem* StartID1 = nullptr;
    TMenuItem* Delete1 = nullptr;
    TMenuItem* Deleterowsthatcontain1 = nullptr;

    // The scanner's positions list, not owned; nullptr in CONST mode.
    TStrings* Positions = nullptr;
    // CONST mode: no renumbering, casts keep the final semicolon outside.
    bool ConstMode = false;
    // The language-1 text the component holds for an identifier; False
    // when it has none.
    std::function<bool(const AnsiString& ID, AnsiString& Text)> ExistingText;
    // Literals the converter leaves because their place cannot reach the
    // component, one line each; shown in the last status panel.
    void SetSkipped(const TStrings& Lines);

    const AnsiString& ExcludeRowsTypedStr() const { return FExcludeRowsTypedStr; }
    void SetExcludeRowsTypedStr(const AnsiString& Value);

    // The text the user types in the delete-rows prompt, stored as
    // ExcludeRowsTypedStr; empty when cancelled.
    AnsiString GetExcludeStr(const AnsiString& Prompt, const AnsiString& ACaption);

    // Column 0 changed: the identifier between the first two quotes of the
    // row's replacement becomes Value.
    void sgStringsSetEditText(TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value);
    void DeleteRow(Integer ARow, bool KeepDeleted);
    void MarkRow(Integer ARow);
    bool IsMarked(Integer ARow) const;
    void UpdateStatusBar();
    void UpdateButtons();
    // Whether the grid's first data row holds anything.
    static bool HasRows(const TStringGrid* Grid);

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormShow(TObject* Sender);
    void btOKClick(TObject* Sender);
    void tbtCancelClick(TObject* Sender);
    void btDeleteClick(TObject* Sender);
    void Markfordelete1Click(TObject* Sender);
    void Invertselection1Click(TObject* Sender);
    void sgStringsMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                            Integer Y);
    void sgStringsSelectCell(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect);
    void sgStringsDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect,
                           TGridDrawState State);
    void PopupMenu1Popup(TObject* Sender);
    void StartID1Click(TObject* Sender);
    void TypecasttoPChar1Click(TObject* Sender);
    void Deleterowsthatcontain1Click(TObject* Sender);
    void tbtExcludeClick(TObject* Sender);
    void tbtSwitchViewClick(TObject* Sender);
    void tbtRestoreClick(TObject* Sender);
    void sbHelpClick(TObject* Sender);

private:
    // The rows an operation acts on: the marked ones, else the current one.
    std::vector<Integer> TargetRows() const;
    // Every row identifier checked before the unit is rewritten; whether
    // the dialog may close.
    bool IdentifiersAccepted();
    void ClearMarks();
    void ReadGridCols();
    void WriteGridCols();
    // The restored row's place among the found rows by source position.
    Integer RestorePlace(const AnsiString& Position) const;

    std::unique_ptr<TStringList> FMarkedRows;
    // The source positions of sgDeleted's rows, aligned with them.
    std::vector<AnsiString> FDeletedPositions;
    AnsiString FExcludeRowsTypedStr;
};
