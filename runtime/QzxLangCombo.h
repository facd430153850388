// The language combo box: lists the languages of a translation component or
// of a dispatcher, each item drawn with a flag, in a font of its own, under
// a display name of its own.
#pragma once

#include "clx/Graphics.h"
#include "clx/StdCtrls.h"
#include "runtime/QzxComp.h"

class TzxLangCombo;

// How one language is shown: its font, charset, flag and display name.
class TLanguageInfo : public TCollectionItem {
    ZX_CLASS(TLanguageInfo, TCollectionItem)
public:
    explicit TLanguageInfo(TCollection* ACollection);
    ~TLanguageInfo() override;
    static void PublishedProperties(TPropertyBuilder<TLanguageInfo>& P);

    void Assign(const TPersistent* Source) override;

    // Empty: the canvas keeps its font's name.
    const AnsiString& FontName() const { return FFontName; }
    void SetFontName(const AnsiString& Value);
    TFontCharSet FontCharset() const { return FFontCharset; }
    void SetFontCharset(TFontCharSet Value);
    // Drawn left of the text; setting it copies the bitmap.
    TBitmap* FlagImage() const { return FFlagImage.get(); }
    void SetFlagImage(TBitmap* Value);
    // Empty: the language's name. Shown from the combo's next UpdateInfo.
    const AnsiString& LanguageName() const { return FLanguageName; }
    void SetLanguageName(const AnsiString& Value) { FLanguageName = Value; }

private:
    void Repaint() const;

    TFontCharSet FFontCharset;
    AnsiString FFontName;
    std::unique_ptr<TBitmap> FFlagImage;
    AnsiString FLanguageName;
    TzxLangCombo* FCombo;
};

// The settings of a combo's languages, by language position.
class TLanguageInfos : public TCollection {
    ZX_CLASS(TLanguageInfos, TCollection)
public:
    explicit TLanguageInfos(TzxLangCombo* ACombo);
    TPersistent* GetOwner() const override;

    TLanguageInfo* Add() { return static_cast<TLanguageInfo*>(TCollection::Add()); }
    TLanguageInfo* GetItems(Integer Index) const {
        return static_cast<TLanguageInfo*>(Items(Index));
    }
    void SetItems(Integer Index, const TLanguageInfo* Value) { SetItem(Index, Value); }

private:
    TzxLangCombo* FCombo;
};

// Shows the languages; it selects the active one when the form is loaded
// and switches nothing by itself: an OnChange handler does that. The names
// come from the dispatcher when one is set, else from the translation
// component; a freed source leaves the combo without one.
class TzxLangCombo : public TCustomComboBox {
    ZX_CLASS(TzxLangCombo, TCustomComboBox)
public:
    explicit TzxLangCombo(TComponent* AOwner);
    ~TzxLangCombo() override;
    static void PublishedProperties(TPropertyBuilder<TzxLangCombo>& P);

    TzxCustomLang* zxLang() const { return FzxLang; }
    void SetzxLang(TzxCustomLang* Value);
    TzxLangDispatcher* zxLangDispatcher() const { return FzxLangDispatcher; }
    void SetzxLangDispatcher(TzxLangDispatcher* Value);
    // Setting it copies the items given.
    TLanguageInfos* LanguageInfos() const { return FLanguageInfos.get(); }
    void SetLanguageInfos(TLanguageInfos* Value);

    // Rebuilds the items from the names, one LanguageInfos item per name.
    void UpdateInfo();

    // The flag, then the display name in the language's font.
    bool DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;
    // The height of "H" plus 4, unless OnMeasureItem decides.
    void MeasureItem(TWinControl* Control, Integer Index, Integer& Height) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The names of the languages, or nullptr without a source.
    TStrings* SourceNames() const;
    // The display name of the language at Index; empty past the names.
    AnsiString ItemText(Integer Index) const;
    Integer SourceActiveLanguage() const;

    TzxCustomLang* FzxLang = nullptr;
    TzxLangDispatcher* FzxLangDispatcher = nullptr;
    std::unique_ptr<TLanguageInfos> FLanguageInfos;
};

// Unit start-up: registers TzxLangCombo for form streaming unless a class of
// that name is registered already.
void InitQzxLangCombo();
