#include "ide/Q_expopt.h"

#include "clx/Dialogs.h"
#include "editor/FormData.h"
#include "rtl/Filer.h"
#include "ide/Q_langconfig.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxLangForm.h"
#include "runtime/QzxComp.h"

std::string_view FormData_Q_expopt();

namespace {

const char* const DefaultLangCaption = "TzxLang Expert default languages";
constexpr TColor DefaultLangBackground = static_cast<TColor>(0xE0FFFF);
constexpr Integer LengthLimit = 255;

// The edit's number moved by Step and kept within Low..High; a text that
// is no number is left alone.
void StepNumber(TEdit* Edit, Integer Step, Integer Low, Integer High) {
    Integer value = 0;
    if (TryStrToInt(Edit->Text(), value))
        Edit->SetText(IntToStr(std::clamp(value + Step, Low, High)));
}

// The edit's number within Low..High, or false with the reason.
bool NumberOf(const TEdit* Edit, const char* What, Integer Low, Integer High, Integer& Value,
              AnsiString& Error) {
    if (TryStrToInt(Trim(Edit->Text()), Value) && Value >= Low && Value <= High)
        return true;
    Error = Format("%s must be a number from %d to %d; \"%s\" is not.",
                   {What, Low, High, Edit->Text()});
    return false;
}

void StoreValues(TzxLangExpert& Expert, const TExpertOptionValues& Values) {
    Expert.SetShortCut(Values.ShortCut);
    Expert.SetNumLang(Values.DefNumLang);
    Expert.SetMenuSection(Values.MenuSection);
    Expert.SetIgnorableLength(Values.IgnorableLength);
    Expert.SetDefaultComp(Values.DefaultComponent);
    Expert.SetOpenAllForms(Values.OpenAllForms);
    Expert.SetHCPrefix(Values.HCPrefix);
    Expert.SetCnstPrefix(Values.CnstPrefix);
    Expert.SetCnstPermanent(Values.CnstPermanent);
    Expert.SetAddFormName(Values.AddFormName);
    Expert.SetReplaceMethod(Values.ReplaceMethod);
    Expert.SetDefaultLangNames(Values.DefaultLangNames);
    Expert.SetCommentsLength(Values.CommentsLength);
    Expert.SetEmptyConstsValues(Values.EmptyConstsValues);
    Expert.SetExcludeChars(Values.ExcludeChars);
    TStringList lines;
    lines.SetText(Values.SkipLines);
    Expert.SetSkipLines(&lines);
    lines.SetText(Values.SkipWords);
    Expert.SetSkipWords(&lines);
}

} // namespace

Integer EditExpertOptions(TzxLangExpert& Expert) {
    RegisterClxClasses();
    std::unique_ptr<TfrmOptions> dialog(NewForm<TfrmOptions>(Application));
    dialog->Fill(Expert);
    if (dialog->ShowModal() != mrOk)
        return mrCancel;
    TExpertOptionValues values;
    AnsiString error;
    if (!dialog->CollectValues(Expert, values, error)) {
        MessageDlg(error, mtError, {mbOk}, 0);
        return mrCancel;
    }
    StoreValues(Expert, values);
    Expert.RemoveSettings();
    Expert.Configure();
    return mrOk;
}

void TfrmOptions::AfterConstruction() {
    if (!GetClass("TfrmOptions")) {
        RegisterClass(TfrmOptions::StaticClass());
        RegisterMethod("FormCreate", &TfrmOptions::FormCreate);
        RegisterMethod("sbUp1Click", &TfrmOptions::sbUp1Click);
        RegisterMethod("spDown1Click", &TfrmOptions::spDown1Click);
        RegisterMethod("sbUp2Click", &TfrmOptions::sbUp2Click);
        RegisterMethod("sbDown2Click", &TfrmOptions::sbDown2Click);
        RegisterMethod("sbUp3Click", &TfrmOptions::sbUp3Click);
        RegisterMethod("sbDown3Click", &TfrmOptions::sbDown3Click);
        RegisterMethod("edNLangChange", &TfrmOptions::edNLangChange);
        RegisterMethod("btnAddClick", &TfrmOptions::btnAddClick);
        RegisterMethod("btnRenameClick", &TfrmOptions::btnRenameClick);
        RegisterMethod("btnDeleteClick", &TfrmOptions::btnDeleteClick);
        RegisterMethod("btnMoveUpClick", &TfrmOptions::btnMoveUpClick);
        RegisterMethod("btnMoveDownClick", &TfrmOptions::btnMoveDownClick);
        RegisterMethod("lbLangNamesDrawItem", &TfrmOptions::lbLangNamesDrawItem);
        RegisterMethod("cbMenuItemsDrawItem", &TfrmOptions::cbMenuItemsDrawItem);
    }
    ReadFormData(FormData_Q_expopt(), this);
    PageControl1 = FormControl<TPageControl>(this, "PageControl1");
    cbMenuItems = FormControl<TComboBox>(this, "cbMenuItems");
    hkInMenu = FormControl<TEdit>(this, "hkInMenu");
    cbDefTzxLang = FormControl<TComboBox>(this, "cbDefTzxLang");
    cbOpenAll = FormControl<TCheckBox>(this, "cbOpenAll");
    edNLang = FormControl<TEdit>(this, "edNLang");
    lbLangNames = FormControl<TListBox>(this, "lbLangNames");
    edIgnorableLength = FormControl<TEdit>(this, "edIgnorableLength");
    cbReplaceMethod = FormControl<TComboBox>(this, "cbReplaceMethod");
    ckbAddFormName = FormControl<TCheckBox>(this, "ckbAddFormName");
    edCommentsLength = FormControl<TEdit>(this, "edCommentsLength");
    edHCPfx = FormControl<TEdit>(this, "edHCPfx");
    edConstPfx = FormControl<TEdit>(this, "edConstPfx");
    rgCnstPfx = FormControl<TRadioGroup>(this, "rgCnstPfx");
    ckbEmptyConsts = FormControl<TCheckBox>(this, "ckbEmptyConsts");
    edExcludeChars = FormControl<TEdit>(this, "edExcludeChars");
    memSkipLines = FormControl<TMemo>(this, "memSkipLines");
    memSkipWords = FormControl<TMemo>(this, "memSkipWords");
    ilSections = FormControl<TImageList>(this, "ilSections");
    TForm::AfterConstruction();
}

// The strip of menu-section pictures becomes one 16 x 16 image per entry.
void TfrmOptions::FormCreate(TObject*) {
    ilSections->Add(FormControl<TImage>(this, "imgSections")->Picture()->Bitmap());
    lbLangNames->SetItemHeight(Canvas()->TextHeight("H"));
}

// ---------------------------------------------------------------------------
// Filling and collecting

void TfrmOptions::Fill(TzxLangExpert& Expert) {
    cbMenuItems->SetItemIndex(cbMenuItems->Items()->IndexOf(Expert.MenuSection));
    hkInMenu->SetText(ShortCutToText(Expert.ShortCut));
    edNLang->SetText(IntToStr(Expert.DefNumLang));
    cbOpenAll->SetChecked(Expert.OpenAllForms);
    edIgnorableLength->SetText(IntToStr(Expert.IgnorableLength));
    if (Expert.DefaultComponent.empty())
        Expert.SetDefaultComp("TzxLang");
    cbDefTzxLang->Items()->Clear();
    for (const char* name : NamesArray)
        cbDefTzxLang->Items()->Add(name);
    cbDefTzxLang->SetItemIndex(cbDefTzxLang->Items()->IndexOf(Expert.DefaultComponent));
    edHCPfx->SetText(Expert.HCPrefix);
    edConstPfx->SetText(Expert.CnstPrefix);
    ckbAddFormName->SetChecked(Expert.AddFormName);
    cbReplaceMethod->SetItemIndex(std::max(0, cbReplaceMethod->Items()->IndexOf(Expert.ReplaceMethod)));
    rgCnstPfx->SetItemIndex(Expert.CnstPermanent == 0 ? 0 : 1);
    lbLangNames->Items()->SetText(Expert.DefaultLangNames);
    edCommentsLength->SetText(IntToStr(Expert.CommentsLength));
    ckbEmptyConsts->SetChecked(Expert.EmptyConstsValues);
    edExcludeChars->SetText(Expert.ExcludeChars);
    memSkipLines->Lines()->Assign(Expert.SkipLines.get());
    memSkipWords->Lines()->Assign(Expert.SkipWords.get());
}

// Checked before anything is stored, so a refused value leaves every
// setting as it was; no menu section chosen keeps the expert's own, since
// an empty one would take away the expert's only menu item.
bool TfrmOptions::CollectValues(const TzxLangExpert& Expert, TExpertOptionValues& Values,
                                AnsiString& Error) const {
    TExpertOptionValues values;
    if (!NumberOf(edNLang, "The default number of languages", 1, MaxNumOfLanguages,
                  values.DefNumLang, Error) ||
        !NumberOf(edIgnorableLength, "The ignored string length", 0, LengthLimit,
                  values.IgnorableLength, Error) ||
        !NumberOf(edCommentsLength, "The comments length", 0, LengthLimit,
                  values.CommentsLength, Error))
        return false;
    values.ShortCut = TextToShortCut(hkInMenu->Text());
    values.MenuSection = cbMenuItems->ItemIndex() >= 0 ? cbMenuItems->Text() : Expert.MenuSection;
    values.DefaultComponent = cbDefTzxLang->ItemIndex() >= 0 ? cbDefTzxLang->Text()
                                                              : Expert.DefaultComponent;
    values.OpenAllForms = cbOpenAll->Checked();
    values.HCPrefix = edHCPfx->Text();
    values.CnstPrefix = edConstPfx->Text();
    values.CnstPermanent = rgCnstPfx->ItemIndex() == 1 ? 1 : 0;
    values.AddFormName = ckbAddFormName->Checked();
    values.ReplaceMethod = cbReplaceMethod->Text();
    values.DefaultLangNames = lbLangNames->Items()->Text();
    values.EmptyConstsValues = ckbEmptyConsts->Checked();
    values.ExcludeChars = edExcludeChars->Text();
    values.SkipLines = memSkipLines->Lines()->Text();
    values.SkipWords = memSkipWords->Lines()->Text();
    Values = values;
    return true;
}

// ---------------------------------------------------------------------------
// Number buttons

void TfrmOptions::sbUp1Click(TObject*) { StepNumber(edIgnorableLength, 1, 0, LengthLimit); }
void TfrmOptions::spDown1Click(TObject*) { StepNumber(edIgnorableLength, -1, 0, LengthLimit); }
void TfrmOptions::sbUp2Click(TObject*) { StepNumber(edNLang, 1, 1, MaxNumOfLanguages); }
void TfrmOptions::sbDown2Click(TObject*) { StepNumber(edNLang, -1, 1, MaxNumOfLanguages); }
void TfrmOptions::sbUp3Click(TObject*) { StepNumber(edCommentsLength, 1, 0, LengthLimit); }
void TfrmOptions::sbDown3Click(TObject*) { StepNumber(edCommentsLength, -1, 0, LengthLimit); }

// ---------------------------------------------------------------------------
// The language list

void TfrmOptions::edNLangChange(TObject*) { lbLangNames->Invalidate(); }

void TfrmOptions::btnAddClick(TObject*) { AddLangName(lbLangNames, DefaultLangCaption); }
void TfrmOptions::btnRenameClick(TObject*) { RenameLangName(lbLangNames, DefaultLangCaption); }
void TfrmOptions::btnDeleteClick(TObject*) { DeleteLangNames(lbLangNames); }
void TfrmOptions::btnMoveUpClick(TObject*) { MoveLangNameUp(lbLangNames); }
void TfrmOptions::btnMoveDownClick(TObject*) { MoveLangNameDown(lbLangNames); }

TColor TfrmOptions::NameBackground(Integer Index) const {
    return Index < StrToIntDef(edNLang->Text(), 0) ? DefaultLangBackground : clWindow;
}

void TfrmOptions::lbLangNamesDrawItem(TObject*, Integer Index, TRect Rect, TOwnerDrawState State,
                                      bool&) {
    TCanvas* canvas = lbLangNames->Canvas();
    const bool selected = State.Contains(odSelected);
    canvas->Brush()->SetColor(selected ? clHighlight : NameBackground(Index));
    canvas->Font()->SetColor(selected ? clHighlightedText : clWindowText);
    canvas->FillRect(Rect);
    canvas->TextRect(Rect, Rect.Left + 2, Rect.Top, lbLangNames->Items()->Get(Index));
}

void TfrmOptions::cbMenuItemsDrawItem(TObject*, Integer Index, TRect Rect, TOwnerDrawState State,
                                      bool&) {
    TCanvas* canvas = cbMenuItems->Canvas();
    canvas->Brush()->SetColor(clWindow);
    canvas->Font()->SetColor(clWindowText);
    canvas->FillRect(Rect);
    if (Index < ilSections->Count())
        ilSections->Draw(canvas, Rect.Left + 2, Rect.Top + (Rect.Bottom - Rect.Top - 16) / 2, Index);
    canvas->TextOut(Rect.Left + 22, Rect.Top + 1, cbMenuItems->Items()->Get(Index));
    if (State.Contains(odSelected)) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(Rect);
        canvas->Brush()->SetStyle(bsSolid);
    }
}
