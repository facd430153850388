// The language combo box.
#include "runtime/QzxLangCombo.h"

namespace {

constexpr TFontCharSet DefaultInfoCharset = ISO8859_1_CHARSET;

} // namespace

// ---------------------------------------------------------------------------
// TLanguageInfo

TLanguageInfo::TLanguageInfo(TCollection* ACollection)
    : TCollectionItem(ACollection), FFontCharset(DefaultInfoCharset),
      FFlagImage(std::make_unique<TBitmap>()),
      FCombo(ACollection ? dynamic_cast<TzxLangCombo*>(ACollection->Owner()) : nullptr) {}

TLanguageInfo::~TLanguageInfo() = default;

void TLanguageInfo::Assign(const TPersistent* Source) {
    auto* info = dynamic_cast<const TLanguageInfo*>(Source);
    if (!info) {
        TCollectionItem::Assign(Source);
        return;
    }
    FFontName = info->FFontName;
    FFontCharset = info->FFontCharset;
    FFlagImage->Assign(info->FFlagImage.get());
    FLanguageName = info->FLanguageName;
    Repaint();
}

void TLanguageInfo::Repaint() const {
    if (FCombo)
        FCombo->Invalidate();
}

void TLanguageInfo::SetFontName(const AnsiString& Value) {
    if (Value == FFontName)
        return;
    FFontName = Value;
    Repaint();
}

void TLanguageInfo::SetFontCharset(TFontCharSet Value) {
    if (Value == FFontCharset)
        return;
    FFontCharset = Value;
    Repaint();
}

void TLanguageInfo::SetFlagImage(TBitmap* Value) {
    FFlagImage->Assign(Value);
    Repaint();
}

void TLanguageInfo::PublishedProperties(TPropertyBuilder<TLanguageInfo>& P) {
    P.Property("FontName", &TLanguageInfo::FontName, &TLanguageInfo::SetFontName);
    P.Property("FontCharset", &TLanguageInfo::FontCharset, &TLanguageInfo::SetFontCharset)
        .Default(DefaultInfoCharset);
    P.Property("FlagImage", &TLanguageInfo::FlagImage, &TLanguageInfo::SetFlagImage);
    P.Property("LanguageName", &TLanguageInfo::LanguageName, &TLanguageInfo::SetLanguageName);
}

// ---------------------------------------------------------------------------
// TLanguageInfos

TLanguageInfos::TLanguageInfos(TzxLangCombo* ACombo)
    : TCollection(TLanguageInfo::StaticClass()), FCombo(ACombo) {}

TPersistent* TLanguageInfos::GetOwner() const {
    return FCombo;
}

// ---------------------------------------------------------------------------
// TzxLangCombo

TzxLangCombo::TzxLangCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), FLanguageInfos(std::make_unique<TLanguageInfos>(this)) {
    SetSorted(false);
    SetStyle(csOwnerDrawFixed);
}

TzxLangCombo::~TzxLangCombo() = default;

void TzxLangCombo::SetzxLang(TzxCustomLang* Value) {
    ReplaceComponentReference(this, FzxLang, Value);
    UpdateInfo();
}

void TzxLangCombo::SetzxLangDispatcher(TzxLangDispatcher* Value) {
    ReplaceComponentReference(this, FzxLangDispatcher, Value);
    UpdateInfo();
}

void TzxLangCombo::SetLanguageInfos(TLanguageInfos* Value) {
    if (Value != FLanguageInfos.get())
        FLanguageInfos->Assign(Value);
}

void TzxLangCombo::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FzxLang)
        ReplaceComponentReference<TzxCustomLang>(this, FzxLang, nullptr);
    else if (AComponent == FzxLangDispatcher)
        ReplaceComponentReference<TzxLangDispatcher>(this, FzxLangDispatcher, nullptr);
}

TStrings* TzxLangCombo::SourceNames() const {
    if (FzxLangDispatcher)
        return FzxLangDispatcher->LangNames();
    return FzxLang ? FzxLang->LangNames() : nullptr;
}

Integer TzxLangCombo::SourceActiveLanguage() const {
    if (FzxLangDispatcher)
        return FzxLangDispatcher->ActiveLanguage();
    return FzxLang ? FzxLang->ActiveLanguage() : 0;
}

void TzxLangCombo::UpdateInfo() {
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    TStrings* names = SourceNames();
    if (!names) {
        items->EndUpdate();
        return;
    }
    while (FLanguageInfos->Count() > names->Count())
        FLanguageInfos->Delete(FLanguageInfos->Count() - 1);
    while (FLanguageInfos->Count() < names->Count())
        FLanguageInfos->Add();
    for (Integer index = 0; index < names->Count(); ++index)
        items->Add(ItemText(index));
    items->EndUpdate();
    if (!ComponentState().Contains(csLoading))
        Invalidate();
}

AnsiString TzxLangCombo::ItemText(Integer Index) const {
    const AnsiString& own = FLanguageInfos->GetItems(Index)->LanguageName();
    if (!own.empty())
        return own;
    TStrings* names = SourceNames();
    return names && Index < names->Count() ? names->Get(Index) : AnsiString();
}

// Selects the source's active language once, when it names an item.
void TzxLangCombo::Loaded() {
    TCustomComboBox::Loaded();
    UpdateInfo();
    Integer index = SourceActiveLanguage() - 1;
    if (index >= 0 && index < Items()->Count())
        SetItemIndex(index);
}

void TzxLangCombo::MeasureItem(TWinControl* Control, Integer Index, Integer& Height) {
    if (OnMeasureItem)
        TCustomComboBox::MeasureItem(Control, Index, Height);
    else
        Height = Canvas()->TextHeight("H") + 4;
}

bool TzxLangCombo::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem)
        return TCustomComboBox::DrawItem(Index, Rect, State);
    TCanvas* canvas = Canvas();
    if (State.Contains(odSelected)) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->FillRect(Rect);
    }
    if (Index < 0 || Index >= FLanguageInfos->Count())
        return true;
    TLanguageInfo* info = FLanguageInfos->GetItems(Index);
    if (!info->FontName().empty())
        canvas->Font()->SetName(info->FontName());
    canvas->Font()->SetCharset(info->FontCharset());
    canvas->Draw(Rect.Left + 1, Rect.Top + 2, info->FlagImage());
    bool highlighted = State.Contains(odSelected) || State.Contains(odFocused);
    canvas->Font()->SetColor(highlighted ? clHighlightedText : Font()->Color());
    canvas->TextOut(Rect.Left + info->FlagImage()->Width() + 4, Rect.Top + 1, ItemText(Index));
    return true;
}

void TzxLangCombo::PublishedProperties(TPropertyBuilder<TzxLangCombo>& P) {
    PublishComboProperties(P);
    P.Property("zxLang", &TzxLangCombo::zxLang, &TzxLangCombo::SetzxLang);
    P.Property("zxLangDispatcher", &TzxLangCombo::zxLangDispatcher,
               &TzxLangCombo::SetzxLangDispatcher);
    P.Property("LanguageInfos", &TzxLangCombo::LanguageInfos, &TzxLangCombo::SetLanguageInfos);
}

void InitQzxLangCombo() {
    if (!GetClass("TzxLangCombo"))
        RegisterClass(TzxLangCombo::StaticClass());
}
