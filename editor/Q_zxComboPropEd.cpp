#include "editor/Q_zxComboPropEd.h"

#include "editor/FormData.h"

#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/ImgList.h"
#include "clx/StdCtrls.h"

std::string_view FormData_Q_zxComboPropEd();

namespace {

constexpr Integer LoadItem = 0;
constexpr Integer ClearItem = 1;
constexpr Integer FixedFlagItems = 2;
constexpr Integer PreselectedCharset = 23;
const char* const NoImageCaption = "(No image)";

// The names the combo itself shows, dispatcher first; a language the names
// lack (they changed since the combo was filled) gets a made-up one.
AnsiString SourceLanguageName(const TzxLangCombo& Combo, Integer Index) {
    TStrings* names = Combo.zxLangDispatcher() ? Combo.zxLangDispatcher()->LangNames()
                                               : Combo.zxLang()->LangNames();
    if (Index < names->Count())
        return names->Get(Index);
    return "Language " + IntToStr(Index + 1);
}

void CopySettings(const TLanguageInfo& Source, TLanguageInfo& Target) {
    Target.SetFontName(Source.FontName());
    Target.SetFontCharset(Source.FontCharset());
    Target.SetLanguageName(Source.LanguageName());
    Target.SetFlagImage(Source.FlagImage());
}

} // namespace

Integer EditComboSettings(TzxLangCombo* Combo) {
    if (!Combo->zxLang() && !Combo->zxLangDispatcher())
        throw Exception("Please assign either zxLang or zxLangDispatcher property first!");
    RegisterClxClasses();
    std::unique_ptr<TfrmZxLangComboEditor> form(NewForm<TfrmZxLangComboEditor>(Application));
    form->CopyIn(Combo);
    const Integer result = form->ShowModal();
    if (result == mrOk)
        form->CopyOut();
    return result;
}

void TfrmZxLangComboEditor::AfterConstruction() {
    if (!GetClass("TfrmZxLangComboEditor")) {
        RegisterClass(TfrmZxLangComboEditor::StaticClass());
        RegisterMethod("FormCreate", &TfrmZxLangComboEditor::FormCreate);
        RegisterMethod("FormDestroy", &TfrmZxLangComboEditor::FormDestroy);
        RegisterMethod("lbLanguagesClick", &TfrmZxLangComboEditor::lbLanguagesClick);
        RegisterMethod("btOKClick", &TfrmZxLangComboEditor::btOKClick);
        RegisterMethod("cbFlagsChange", &TfrmZxLangComboEditor::cbFlagsChange);
        RegisterMethod("cbFlagsDrawItem", &TfrmZxLangComboEditor::cbFlagsDrawItem);
        RegisterMethod("cbFlagsMeasureItem", &TfrmZxLangComboEditor::cbFlagsMeasureItem);
    }
    ReadFormData(FormData_Q_zxComboPropEd(), this);
    lbLanguages = FormControl<TListBox>(this, "lbLanguages");
    edLangName = FormControl<TEdit>(this, "edLangName");
    cbLangFont = FormControl<TComboBox>(this, "cbLangFont");
    cbLangCharset = FormControl<TComboBox>(this, "cbLangCharset");
    pnImage = FormControl<TPanel>(this, "pnImage");
    imgLangImage = FormControl<TImage>(this, "imgLangImage");
    cbFlags = FormControl<TComboBox>(this, "cbFlags");
    ilFlags = FormControl<TImageList>(this, "ilFlags");
    OpenDialog = FormControl<TOpenDialog>(this, "OpenDialog");
    btOK = FormControl<TButton>(this, "btOK");
    btCancel = FormControl<TButton>(this, "btCancel");
    TForm::AfterConstruction();
}

void TfrmZxLangComboEditor::FormCreate(TObject*) {
    cbLangFont->Items()->Assign(Screen->Fonts());
    for (Integer ordinal = 0; ordinal < FontCharSetCount; ++ordinal)
        cbLangCharset->Items()->Add(GetEnumName(TypeInfoOf(TFontCharSet{}), ordinal));
    cbLangCharset->SetItemIndex(PreselectedCharset);
    cbFlags->Items()->Add("Load...");
    cbFlags->Items()->Add("Clear");
    for (Integer image = 0; image < ilFlags->Count(); ++image)
        cbFlags->Items()->Add(IntToStr(image));
}

void TfrmZxLangComboEditor::FormDestroy(TObject*) {
    lbLanguages->Items()->Clear();
    FCopies.clear();
}

void TfrmZxLangComboEditor::CopyIn(TzxLangCombo* Combo) {
    FCombo = Combo;
    FCurrentIndex = -1;
    TLanguageInfos& infos = *Combo->LanguageInfos();
    for (Integer index = 0; index < infos.Count(); ++index) {
        auto copy = std::make_unique<TLanguageInfo>(nullptr);
        CopySettings(*infos.GetItems(index), *copy);
        lbLanguages->Items()->AddObject(SourceLanguageName(*Combo, index), copy.get());
        FCopies.push_back(std::move(copy));
    }
    lbLanguages->SetItemIndex(0);
    lbLanguagesClick(lbLanguages);
}

void TfrmZxLangComboEditor::CopyOut() {
    TLanguageInfos& infos = *FCombo->LanguageInfos();
    for (Integer index = 0; index < infos.Count() && index < lbLanguages->Items()->Count(); ++index)
        CopySettings(*static_cast<TLanguageInfo*>(lbLanguages->Items()->Objects(index)),
                     *infos.GetItems(index));
    FCombo->Invalidate();
}

TLanguageInfo* TfrmZxLangComboEditor::ShownCopy() const {
    if (FCurrentIndex < 0 || FCurrentIndex >= lbLanguages->Items()->Count())
        return nullptr;
    return static_cast<TLanguageInfo*>(lbLanguages->Items()->Objects(FCurrentIndex));
}

void TfrmZxLangComboEditor::lbLanguagesClick(TObject*) {
    if (TLanguageInfo* shown = ShownCopy())
        StoreEditors(*shown);
    if (lbLanguages->ItemIndex() < 0)
        return;
    FCurrentIndex = lbLanguages->ItemIndex();
    ShowCopy(*ShownCopy());
}

// A font name the list does not hold (not installed here) selects nothing;
// the stored name stays rather than being wiped by a click.
void TfrmZxLangComboEditor::StoreEditors(TLanguageInfo& Info) {
    Info.SetLanguageName(edLangName->Text());
    if (cbLangFont->ItemIndex() >= 0)
        Info.SetFontName(cbLangFont->Text());
    if (cbLangCharset->ItemIndex() >= 0)
        Info.SetFontCharset(static_cast<TFontCharSet>(cbLangCharset->ItemIndex()));
    TGraphic* shown = imgLangImage->Picture()->Graphic();
    auto* bitmap = dynamic_cast<TBitmap*>(shown);
    Info.SetFlagImage(bitmap && !bitmap->Empty() ? bitmap : nullptr);
}

void TfrmZxLangComboEditor::ShowCopy(const TLanguageInfo& Info) {
    edLangName->SetText(Info.LanguageName());
    cbLangFont->SetItemIndex(cbLangFont->Items()->IndexOf(Info.FontName()));
    cbLangCharset->SetItemIndex(Info.FontCharset());
    ShowFlag(Info.FlagImage()->Empty() ? nullptr : Info.FlagImage());
}

void TfrmZxLangComboEditor::ShowFlag(const TBitmap* Flag) {
    imgLangImage->Picture()->SetBitmap(Flag);
    pnImage->SetCaption(Flag ? "" : NoImageCaption);
}

void TfrmZxLangComboEditor::btOKClick(TObject* Sender) {
    lbLanguagesClick(Sender);
}

void TfrmZxLangComboEditor::cbFlagsChange(TObject*) {
    const Integer chosen = cbFlags->ItemIndex();
    if (chosen == LoadItem) {
        if (OpenDialog->Execute()) {
            TBitmap loaded;
            loaded.LoadFromFile(OpenDialog->FileName());
            ShowFlag(&loaded);
        }
    } else if (chosen == ClearItem) {
        ShowFlag(nullptr);
    } else if (chosen >= FixedFlagItems) {
        TBitmap flag;
        ilFlags->GetBitmap(chosen - FixedFlagItems, &flag);
        ShowFlag(&flag);
    }
    cbFlags->SetItemIndex(-1);
}

void TfrmZxLangComboEditor::cbFlagsDrawItem(TObject*, Integer Index, TRect Rect,
                                            TOwnerDrawState State, bool&) {
    TCanvas& canvas = *cbFlags->Canvas();
    canvas.FillRect(Rect);
    if (Index >= FixedFlagItems) {
        ilFlags->Draw(&canvas, Rect.Left + 4, Rect.Top + 1, Index - FixedFlagItems);
        return;
    }
    canvas.Font()->SetColor(State.Contains(odSelected) ? clHighlightText : clText);
    canvas.TextOut(Rect.Left + 2, Rect.Top + 1, cbFlags->Items()->Get(Index));
    if (Index == ClearItem) {
        canvas.Pen()->SetColor(clText);
        canvas.MoveTo(Rect.Left + 1, Rect.Bottom - 1);
        canvas.LineTo(Rect.Right - 1, Rect.Bottom - 1);
    }
}

void TfrmZxLangComboEditor::cbFlagsMeasureItem(TWinControl*, Integer, Integer& Height) {
    Height = cbFlags->Canvas()->TextHeight("H") + 4;
}
