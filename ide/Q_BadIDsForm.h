// The window of problematic string identifiers: identifiers of a form's
// component that its unit never uses, and calls whose identifier the named
// component does not have. Its rows lead to the source line or into the
// Translation Editor.
#pragma once

#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"
#include "runtime/QzxFormStorage.h"

// The texts of a finding row.
inline constexpr const char* NotUsedText = "Not used in source of current module.";
inline constexpr const char* NotFoundText = "Not found in %s.%s";
inline constexpr const char* NotCheckableText = "Can't be autochecked.";
inline constexpr const char* IndexInfo = "Index: ";
inline constexpr const char* LineInfo = "Line: ";

// Where a finding row keeps its texts (sub-items).
enum TBadIDText { btType, btInfo, btFileName };

// The text of a finding row.
AnsiString FindingText(const TListItem* Row, TBadIDText Which);

class TfrmBadIDs : public TForm {
    ZX_CLASS(TfrmBadIDs, TForm)
public:
    explicit TfrmBadIDs(TComponent* AOwner) : TForm(AOwner) {}
    // The column widths go to the next window.
    ~TfrmBadIDs() override;
    // The list's column widths are kept while the list still exists.
    void BeforeDestruction() override;
    void AfterConstruction() override;

    TListView* IDsList = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* ShowSource1 = nullptr;
    TMenuItem* Delete1 = nullptr;
    TzxFormStorage* FormStorage = nullptr;

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void PopupMenu1Popup(TObject* Sender);
    void ShowSource1Click(TObject* Sender);
    // The row count into the status bar.
    void UpdateTotal();
};

// The one window while it exists, else nullptr.
extern TfrmBadIDs* frmBadIDs;
