// The "Exclude Components" chooser: two lists of names, the available ones
// on the left and the chosen ones on the right, moved across by buttons or
// double-clicks. EditDoNotTranslate uses it on a translation component's
// DoNotTranslate list; other tools fill and read the two lists themselves.
#pragma once

#include "runtime/QzxComp.h"

#include "clx/Forms.h"

class TLabel;
class TListBox;
class TSpeedButton;

class TfrmNotTranslate : public TForm {
    ZX_CLASS(TfrmNotTranslate, TForm)
public:
    explicit TfrmNotTranslate(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TListBox* lbComps = nullptr;
    TListBox* lbSelected = nullptr;
    TSpeedButton* sbAdd = nullptr;
    TSpeedButton* sbAddAll = nullptr;
    TSpeedButton* sbRemove = nullptr;
    TSpeedButton* sbRemoveAll = nullptr;

    // Every entry of Source goes to Dest (both lists end up sorted, the
    // owner's class name first in whichever holds it).
    void MoveAll(TStrings* Source, TStrings* Dest);
    // The selected entries of Source are appended to Dest in their order.
    void MoveSelection(TListBox* Source, TListBox* Dest);

    // --- Handlers the form text names.
    void FormShow(TObject* Sender);
    void lbCompsClick(TObject* Sender);
    void lbCompsDblClick(TObject* Sender);
    void lbSelectedDblClick(TObject* Sender);
    void sbAddClick(TObject* Sender);
    void sbAddAllClick(TObject* Sender);
    void sbRemoveClick(TObject* Sender);
    void sbRemoveAllClick(TObject* Sender);

    // The owner's class name, kept at the top of whichever list holds it.
    const AnsiString& OwnerClassName() const { return FOwnerClassName; }
    void SetOwnerClassName(const AnsiString& Value) { FOwnerClassName = Value; }
    // Moves the owner's class name to the top of the list that holds it.
    void OwnerClassNameFirst();
    // Both lists sorted, or left in the order they have.
    void SetListsSorted(bool Value);

private:

    AnsiString FOwnerClassName;
};

// Shows the chooser for List (Lang's DoNotTranslate) with the names of
// Owner's components; on OK List takes the chosen names in their order and
// Lang resolves them again. The dialog's modal result.
Integer EditDoNotTranslate(TComponent* Owner, TStrings* List, TzxCustomLang* Lang);

// Registers the chooser's class and handlers for its form text. Idempotent.
void InitQdntcedit();
