// The Translation Editor's multi-line editor: a modal window with a memo
// for a cell's text of several lines, the line count above it, and a
// question before changes are discarded.
#pragma once

#include "editor/QzxTransEditor.h"

#include "clx/ExtCtrls.h"
#include "clx/StdCtrls.h"

class TzxFormStorage;

class TzxMultilineEditForm : public TForm {
    ZX_CLASS(TzxMultilineEditForm, TForm)
public:
    explicit TzxMultilineEditForm(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TLabel* lbLines = nullptr;
    TMemo* Memo = nullptr;
    TButton* btnOK = nullptr;
    TzxFormStorage* FormStorage = nullptr;

    void MemoChange(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

    // The memo shows Text, the cell editor's selection taken over.
    void LoadText(const AnsiString& Text, TMemoReturnText Kind, const TInplaceEdit* CellEditor);
    bool TextChanged() const { return FTextChanged; }

private:
    bool FTextChanged = false;
};

// Edits Text in the window titled after PropName, in the font FontName and
// character set Charset. Text and Value are comma texts (one line per item)
// or plain lines, as ReturnKind says. CellEditor, when given, lends its
// selection to the memo. True with Value set after OK.
bool ShowMultilineEditor(const AnsiString& Text, const AnsiString& PropName,
                         TMemoReturnText ReturnKind, const AnsiString& FontName, Byte Charset,
                         AnsiString& Value, const TInplaceEdit* CellEditor);
