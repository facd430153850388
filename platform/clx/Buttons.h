// Buttons with glyphs: TBitBtn (a TButton with a kind that gives it its
// caption and modal result) and TSpeedButton (a flat tool button that can
// stay down, alone or in a group).
#pragma once

#include "clx/StdCtrls.h"

ZX_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
        bkIgnore, bkAll);
ZX_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom);

// Setting Kind (other than bkCustom) sets Caption, ModalResult, Default (OK
// and Yes) and Cancel (Cancel and No); form files store Caption and
// ModalResult only when they differ from the kind's. A form file's Caption
// wins over its Kind. Qt's push button lays its glyph out in a row with the
// text: blGlyphTop shows it before the text, blGlyphBottom after it.
class TBitBtn : public TButton {
    ZX_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;
    static void PublishedProperties(TPropertyBuilder<TBitBtn>& P);

    TBitBtnKind Kind() const { return FKind; }
    void SetKind(TBitBtnKind Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* Value) { FGlyph->Assign(Value); }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);

    // The caption and modal result a kind gives.
    static AnsiString KindCaption(TBitBtnKind Kind);
    static TModalResult KindModalResult(TBitBtnKind Kind);

protected:
    void UpdateWidget() override;

private:
    bool IsCustomCaption() const;
    bool IsCustomModalResult() const;
    void PushGlyph();

    TBitBtnKind FKind = bkCustom;
    std::unique_ptr<TBitmap> FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
};

// A button drawn on its parent (a TControl on a QToolButton). With a
// GroupIndex it stays down when clicked and releases the speed buttons of
// its parent with the same GroupIndex; AllowAllUp lets a click release the
// one that is down. Every click fires OnClick.
class TSpeedButton : public TControl {
    ZX_CLASS(TSpeedButton, TControl)
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;
    static void PublishedProperties(TPropertyBuilder<TSpeedButton>& P);

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* Value) { FGlyph->Assign(Value); }
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);

    void Click() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void ConnectWidget() override;

private:
    void PushState();
    void PushGlyph();

    std::unique_ptr<TBitmap> FGlyph;
    bool FDown = false;
    Integer FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FFlat = false;
};
