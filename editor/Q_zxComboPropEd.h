// The language combo's settings editor: per language of a TzxLangCombo its
// display name, font, character set and flag, edited on copies that reach
// the combo only on OK.
#pragma once

#include "runtime/QzxLangCombo.h"

#include "clx/Forms.h"

#include <memory>
#include <vector>

class TButton;
class TComboBox;
class TEdit;
class TImage;
class TImageList;
class TListBox;
class TOpenDialog;
class TPanel;

class TfrmZxLangComboEditor : public TForm {
    ZX_CLASS(TfrmZxLangComboEditor, TForm)
public:
    explicit TfrmZxLangComboEditor(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TListBox* lbLanguages = nullptr;
    TEdit* edLangName = nullptr;
    TComboBox* cbLangFont = nullptr;
    TComboBox* cbLangCharset = nullptr;
    TPanel* pnImage = nullptr;
    TImage* imgLangImage = nullptr;
    TComboBox* cbFlags = nullptr;
    TImageList* ilFlags = nullptr;
    TOpenDialog* OpenDialog = nullptr;
    TButton* btOK = nullptr;
    TButton* btCancel = nullptr;

    // --- Handlers the form text names.
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    // Stores the editors into the copy of the language shown, then shows
    // the selected line's copy.
    void lbLanguagesClick(TObject* Sender);
    void btOKClick(TObject* Sender);
    // "Load...", "Clear" or a built-in flag; the choice is not kept, so it
    // can be made again.
    void cbFlagsChange(TObject* Sender);
    void cbFlagsDrawItem(TObject* Sender, Integer Index, TRect Rect, TOwnerDrawState State,
                         bool& Handled);
    void cbFlagsMeasureItem(TWinControl* Control, Integer Index, Integer& Height);

    // Copies the combo's settings in, one line per language.
    void CopyIn(TzxLangCombo* Combo);
    // Copies every line's settings back into the combo's items.
    void CopyOut();

private:
    TLanguageInfo* ShownCopy() const;
    void StoreEditors(TLanguageInfo& Info);
    void ShowCopy(const TLanguageInfo& Info);
    void ShowFlag(const TBitmap* Flag);

    TzxLangCombo* FCombo = nullptr;
    std::vector<std::unique_ptr<TLanguageInfo>> FCopies;
    Integer FCurrentIndex = -1;
};

// Edits the per-language settings of Combo modally; the dialog's modal
// result. Exception, and nothing shown, when the combo has neither zxLang
// nor zxLangDispatcher.
Integer EditComboSettings(TzxLangCombo* Combo);
