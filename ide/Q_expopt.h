// The expert's options dialog: the expert settings on three pages, written
// back only when every value is sound.
#pragma once

#include "clx/Buttons.h"
#include "clx/ComCtrls.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"
#include "clx/StdCtrls.h"

class TzxLangExpert;

// What the dialog hands back, checked.
struct TExpertOptionValues {
    TShortCut ShortCut = 0;
    Integer DefNumLang = 2;
    AnsiString MenuSection;
    Integer IgnorableLength = 1;
    AnsiString DefaultComponent;
    bool OpenAllForms = false;
    AnsiString HCPrefix;
    AnsiString CnstPrefix;
    Integer CnstPermanent = 0;
    bool AddFormName = false;
    AnsiString ReplaceMethod;
    AnsiString DefaultLangNames;
    Integer CommentsLength = 0;
    bool EmptyConstsValues = true;
    AnsiString ExcludeChars;
    AnsiString SkipLines;
    AnsiString SkipWords;
};

// The dialog on Expert's settings; on OK the settings are stored and the
// expert's menu item is inserted again. The modal result (Cancel also when
// a value was refused and nothing was stored).
Integer EditExpertOptions(TzxLangExpert& Expert);

class TfrmOptions : public TForm {
    ZX_CLASS(TfrmOptions, TForm)
public:
    explicit TfrmOptions(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TPageControl* PageControl1 = nullptr;
    TComboBox* cbMenuItems = nullptr;
    TEdit* hkInMenu = nullptr;
    TComboBox* cbDefTzxLang = nullptr;
    TCheckBox* cbOpenAll = nullptr;
    TEdit* edNLang = nullptr;
    TListBox* lbLangNames = nullptr;
    TEdit* edIgnorableLength = nullptr;
    TComboBox* cbReplaceMethod = nullptr;
    TCheckBox* ckbAddFormName = nullptr;
    TEdit* edCommentsLength = nullptr;
    TEdit* edHCPfx = nullptr;
    TEdit* edConstPfx = nullptr;
    TRadioGroup* rgCnstPfx = nullptr;
    TCheckBox* ckbEmptyConsts = nullptr;
    TEdit* edExcludeChars = nullptr;
    TMemo* memSkipLines = nullptr;
    TMemo* memSkipWords = nullptr;
    TImageList* ilSections = nullptr;

    void FormCreate(TObject* Sender);
    void sbUp1Click(TObject* Sender);
    void spDown1Click(TObject* Sender);
    void sbUp2Click(TObject* Sender);
    void sbDown2Click(TObject* Sender);
    void sbUp3Click(TObject* Sender);
    void sbDown3Click(TObject* Sender);
    void edNLangChange(TObject* Sender);
    void btnAddClick(TObject* Sender);
    void btnRenameClick(TObject* Sender);
    void btnDeleteClick(TObject* Sender);
    void btnMoveUpClick(TObject* Sender);
    void btnMoveDownClick(TObject* Sender);
    void lbLangNamesDrawItem(TObject* Sender, Integer Index, TRect Rect, TOwnerDrawState State,
                             bool& Handled);
    void cbMenuItemsDrawItem(TObject* Sender, Integer Index, TRect Rect, TOwnerDrawState State,
                             bool& Handled);

    // The controls from Expert's settings (the default component is set
    // to "TzxLang" first when it is empty).
    void Fill(TzxLangExpert& Expert);
    // Every value, or false with the reason in Error and nothing taken.
    bool CollectValues(const TzxLangExpert& Expert, TExpertOptionValues& Values,
                       AnsiString& Error) const;
    // The background of name Index when it is not selected: the first
    // default-number names stand out.
    TColor NameBackground(Integer Index) const;
};
