// Graphics: colours, fonts and their character sets, brushes, pens, the
// geometry records, and the canvas that paints through a QPainter.
//
// Everything here but TCanvas and the Qt conversions (FontToQFont,
// ColorToQColor) is pure model: fonts, brushes and pens hold their values,
// publish them and tell their owner of every change through OnChange (the
// owning control sets it to its own change handler).
//
// Colours
// -------
// A TColor is the platform's integer: a plain colour is $00BBGGRR (clRed is
// $0000FF); a system colour is negative and stands for a role of the
// application's palette, -1 - role with the role a QPalette::ColorRole
// (clHighlight -13 is the selection background, clHighlightedText -14 the
// selection text); clNone and clDefault are the two special values.
// Published colour properties are tkInteger with the type name "TColor";
// form files write a colour that has a name as that name (ColorToIdent).
//
// Font character sets
// -------------------
// TFontCharSet has 42 values, defined here once; their names are written
// into translation and form files and must never be reordered. Ordinal 1 is
// DEFAULT_CHARSET, 23 the Western European set (ISO 8859-1) that new
// language settings start with, 25 the Unicode set chosen for a language
// whose font is not known. Each maps onto a QFontDatabase::WritingSystem.
#pragma once

#include "rtl/Components.h"

#include <span>

class QColor;
class QFont;
class QPainter;

// ---------------------------------------------------------------------------
// Geometry

struct TPoint {
    Integer X = 0;
    Integer Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and Bottom lie just outside the rectangle.
struct TRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;

    Integer Width() const { return Right - Left; }
    Integer Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(Integer X, Integer Y) {
    return {X, Y};
}
inline TRect Rect(Integer Left, Integer Top, Integer Right, Integer Bottom) {
    return {Left, Top, Right, Bottom};
}
inline TRect Bounds(Integer Left, Integer Top, Integer Width, Integer Height) {
    return {Left, Top, Left + Width, Top + Height};
}
inline bool PtInRect(const TRect& R, const TPoint& P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// ---------------------------------------------------------------------------
// Colours

using TColor = Integer;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clLtGray = clSilver;
inline constexpr TColor clDkGray = clGray;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// System colours: -1 - QPalette::ColorRole.
inline constexpr TColor clForeground = -1;
inline constexpr TColor clButton = -2;
inline constexpr TColor clLight = -3;
inline constexpr TColor clMidlight = -4;
inline constexpr TColor clDark = -5;
inline constexpr TColor clMid = -6;
inline constexpr TColor clText = -7;
inline constexpr TColor clBrightText = -8;
inline constexpr TColor clButtonText = -9;
inline constexpr TColor clBase = -10;
inline constexpr TColor clBackground = -11;
inline constexpr TColor clShadow = -12;
inline constexpr TColor clHighlight = -13;
inline constexpr TColor clHighlightedText = -14;
inline constexpr TColor clLink = -15;
inline constexpr TColor clLinkVisited = -16;
inline constexpr TColor clAlternateBase = -17;
inline constexpr TColor clInfoBk = -19;
inline constexpr TColor clInfoText = -20;
inline constexpr TColor clPlaceholderText = -21;
// The names programs and form files know them by.
inline constexpr TColor clBtnFace = clButton;
inline constexpr TColor clBtnText = clButtonText;
inline constexpr TColor clBtnHighlight = clLight;
inline constexpr TColor clBtnShadow = clDark;
inline constexpr TColor clWindow = clBase;
inline constexpr TColor clWindowText = clText;
inline constexpr TColor clHighlightText = clHighlightedText;
inline constexpr TColor clGrayText = clPlaceholderText;

inline bool IsSystemColor(TColor Color) {
    return Color < 0;
}

// The name of a named colour ("clRed", "clBtnFace"), or false.
bool ColorToIdent(TColor Color, AnsiString& Ident);
// The colour of a name, without regard to case, or false.
bool IdentToColor(const AnsiString& Ident, TColor& Color);
// The name, or "$" and eight hex digits for an unnamed colour.
AnsiString ColorToString(TColor Color);
// A name, or an integer in decimal or "$" hex; EConvertError otherwise.
TColor StringToColor(const AnsiString& S);
// One name for every named colour, in the order of the colour table.
void GetColorValues(const std::function<void(const AnsiString&)>& Proc);
// The plain $00BBGGRR value: system colours through the application's
// palette (a fixed light palette while there is no QGuiApplication).
TColor ColorToRGB(TColor Color);
// QColor of a colour; clNone is transparent.
QColor ColorToQColor(TColor Color);

// ---------------------------------------------------------------------------
// Font character sets (42 values; see the top of this file)

ZX_ENUM(TFontCharSet, ANSI_CHARSET, DEFAULT_CHARSET, SYMBOL_CHARSET, MAC_CHARSET, SHIFTJIS_CHARSET,
        HANGEUL_CHARSET, JOHAB_CHARSET, GB2312_CHARSET, CHINESEBIG5_CHARSET, GREEK_CHARSET,
        TURKISH_CHARSET, VIETNAMESE_CHARSET, HEBREW_CHARSET, ARABIC_CHARSET, BALTIC_CHARSET,
        RUSSIAN_CHARSET, THAI_CHARSET, EASTEUROPE_CHARSET, OEM_CHARSET, KOI8R_CHARSET,
        KOI8U_CHARSET, CP1251_CHARSET, PT154_CHARSET, ISO8859_1_CHARSET, ISO8859_15_CHARSET,
        UNICODE_CHARSET, ISO8859_2_CHARSET, ISO8859_3_CHARSET, ISO8859_4_CHARSET, ISO8859_5_CHARSET,
        ISO8859_6_CHARSET, ISO8859_7_CHARSET, ISO8859_8_CHARSET, ISO8859_9_CHARSET,
        ISO8859_10_CHARSET, ISO8859_13_CHARSET, ISO8859_14_CHARSET, EUCJP_CHARSET, EUCKR_CHARSET,
        GBK_CHARSET, TIS620_CHARSET, TSCII_CHARSET);

inline constexpr Integer FontCharSetCount = TSCII_CHARSET + 1;

// ---------------------------------------------------------------------------
// Graphics objects: fonts, brushes and pens

// Base of the objects a control or canvas owns and listens to: every change
// fires OnChange once (Assign fires it once for all the values it copies,
// and not at all when nothing differs).
class TGraphicsObject : public TPersistent {
    ZX_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

ZX_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut);
using TFontStyles = TSet<TFontStyle>;
using TFontName = AnsiString;

// Pixels per inch of the screen the platform assumes when it converts font
// heights (pixels) and sizes (points): files store heights, so the value is
// fixed rather than taken from the display.
inline constexpr Integer ScreenPixelsPerInch = 96;

// Height is the primary value, in pixels (negative: the character height
// without internal leading, as form files store it); Size is in points.
class TFont : public TGraphicsObject {
    ZX_CLASS(TFont, TGraphicsObject)
public:
    static constexpr const char* DefaultName = "Sans";
    static constexpr Integer DefaultHeight = -13; // 10 points

    TFont() = default;
    static void PublishedProperties(TPropertyBuilder<TFont>& P);

    const TFontName& Name() const { return FName; }
    void SetName(const TFontName& Value);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer Value);
    Integer Size() const;
    void SetSize(Integer Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TFontCharSet Charset() const { return FCharset; }
    void SetCharset(TFontCharSet Value);

    // Copies every value of another font, with one OnChange.
    void Assign(const TPersistent* Source) override;
    bool Equals(const TFont& Other) const;

private:
    TFontName FName = DefaultName;
    Integer FHeight = DefaultHeight;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontCharSet FCharset = DEFAULT_CHARSET;
};

QFont FontToQFont(const TFont& Font);

ZX_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
        bsDiagCross);

class TBrush : public TGraphicsObject {
    ZX_CLASS(TBrush, TGraphicsObject)
public:
    static void PublishedProperties(TPropertyBuilder<TBrush>& P);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    void Assign(const TPersistent* Source) override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

ZX_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame);

class TPen : public TGraphicsObject {
    ZX_CLASS(TPen, TGraphicsObject)
public:
    static void PublishedProperties(TPropertyBuilder<TPen>& P);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    Integer Width() const { return FWidth; }
    void SetWidth(Integer Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    void Assign(const TPersistent* Source) override;

private:
    TColor FColor = clBlack;
    Integer FWidth = 1;
    TPenStyle FStyle = psSolid;
};

// ---------------------------------------------------------------------------
// Owner drawing

ZX_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault,
        odHotLight, odInactive, odNoAccel, odNoFocusRect, odComboBoxEdit);
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// ---------------------------------------------------------------------------
// Canvas

// The flags of text drawn or measured in a rectangle.
inline constexpr Integer AlignLeft = 0x0001;
inline constexpr Integer AlignRight = 0x0002;
inline constexpr Integer AlignHCenter = 0x0004;
inline constexpr Integer AlignTop = 0x0020;
inline constexpr Integer AlignBottom = 0x0040;
inline constexpr Integer AlignVCenter = 0x0080;
// Line breaks show as spaces.
inline constexpr Integer SingleLine = 0x0100;
// A TAB moves on to the next multiple of eight spaces' width.
inline constexpr Integer ExpandTabs = 0x0400;
// "&" marks the next character (underlined), "&&" shows one.
inline constexpr Integer ShowPrefix = 0x0800;
// Lines wider than the rectangle break between words.
inline constexpr Integer WordBreak = 0x1000;

class TCanvas;

// A picture a canvas can draw (TCanvas::Draw); bitmaps descend from it.
// Every change of the picture fires OnChange once.
class TGraphic : public TPersistent {
    ZX_CLASS(TGraphic, TPersistent)
public:
    virtual Integer Width() const = 0;
    virtual Integer Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    // Paints the picture into Rect of the canvas.
    virtual void Draw(TCanvas& ACanvas, const TRect& Rect) const = 0;

    // A transparent picture leaves the pixels of its transparent colour
    // unpainted.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    bool FTransparent = false;
};

// Paints through a QPainter it is given (SetHandle; not owned), in the
// state of its Brush, Pen and Font at each call. Drawing without a painter
// raises EInvalidOperation "Canvas does not allow drawing"; measuring text
// without a painter uses the font's metrics and needs a QGuiApplication.
class TCanvas : public TPersistent {
    ZX_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    QPainter* Handle() const { return FPainter; }
    void SetHandle(QPainter* Painter) { FPainter = Painter; }
    bool HandleAllocated() const { return FPainter != nullptr; }

    TBrush* Brush() const { return FBrush.get(); }
    TPen* Pen() const { return FPen.get(); }
    TFont* Font() const { return FFont.get(); }
    void SetBrush(const TBrush* Value) { FBrush->Assign(Value); }
    void SetPen(const TPen* Value) { FPen->Assign(Value); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }

    TPoint PenPos() const { return FPenPos; }
    void MoveTo(Integer X, Integer Y);
    // A line from the pen position to (X, Y), which becomes the pen position.
    void LineTo(Integer X, Integer Y);
    // Fills with the brush, no outline.
    void FillRect(const TRect& Rect);
    // Outline with the pen, inside filled with the brush.
    void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
    void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
    // The dotted rectangle that marks the focused item.
    void DrawFocusRect(const TRect& Rect);
    // Text with its top-left corner at (X, Y); the background is filled with
    // the brush unless its style is bsClear.
    void TextOut(Integer X, Integer Y, const AnsiString& Text);
    // TextOut clipped to Rect (the rectangle is filled with the brush first).
    void TextRect(const TRect& Rect, Integer X, Integer Y, const AnsiString& Text);
    // With text flags (below, or-ed; 0 is TextRect above): the text laid out
    // in the part of Rect from (X, Y) to its bottom-right corner, clipped to
    // Rect, which is filled with the brush first.
    void TextRect(const TRect& Rect, Integer X, Integer Y, const AnsiString& Text,
                  Integer TextFlags);
    Integer TextWidth(const AnsiString& Text) const;
    Integer TextHeight(const AnsiString& Text) const;
    TPoint TextExtent(const AnsiString& Text) const;
    // The size of the text laid out with the text flags: every line ("\n",
    // CR LF) one below the other unless SingleLine.
    TPoint TextExtent(const AnsiString& Text, Integer TextFlags) const;
    // The graphic at its own size with its top-left corner at (X, Y).
    void Draw(Integer X, Integer Y, const TGraphic* Graphic);

private:
    QPainter& Painter() const;
    // Saves the painter's state, clips to Rect, fills it and sets the font:
    // the start of drawing text in a rectangle (the caller restores).
    QPainter& BeginTextRect(const TRect& Rect);
    void ApplyPen() const;
    void ApplyBrush() const;

    QPainter* FPainter = nullptr;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TFont> FFont;
    TPoint FPenPos;
};

// ---------------------------------------------------------------------------
// Bitmaps and pictures

class QImage;
class TStream;

// A picture that cannot be read, or an operation a graphic cannot do.
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

// An image in memory (a QImage, 32 bits per pixel). A new bitmap is empty;
// growing it fills the new area with white. Canvas paints into the image:
// the painter it uses stays open while the canvas is drawn on and is closed
// whenever the bitmap is read, resized or copied.
//
// Streams hold a bitmap as a 4-byte little-endian length followed by that
// many bytes of PNG (an empty bitmap: length 0), so that several bitmaps
// can follow one another; form files keep the same bytes in the binary
// property "Data". Files are image files in the format their extension
// names (PNG when it names none Qt writes); reading takes any format Qt
// reads.
// The pictures a module carries, as PNG data under a resource name
// (compared without case); its start-up registers them. The data is copied,
// so a package that registered it may be unloaded.
void RegisterBitmapResource(const AnsiString& ResName, std::span<const Byte> PngData);

class TBitmap : public TGraphic {
    ZX_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    TBitmap(Integer AWidth, Integer AHeight);
    ~TBitmap() override;

    Integer Width() const override;
    Integer Height() const override;
    void SetWidth(Integer Value) { SetSize(Value, Height()); }
    void SetHeight(Integer Value) { SetSize(Width(), Value); }
    void SetSize(Integer AWidth, Integer AHeight);
    void Draw(TCanvas& ACanvas, const TRect& Rect) const override;

    TCanvas* Canvas();
    // The colour Transparent leaves out: the bottom-left pixel, as the
    // platform takes it.
    TColor TransparentColor() const;
    // The pixel at (X, Y) as a plain colour.
    TColor Pixel(Integer X, Integer Y) const;

    // A copy of a TBitmap (or nullptr: empty).
    void Assign(const TPersistent* Source) override;
    bool Equals(const TBitmap& Other) const;

    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream) const;
    // The picture registered under ResName (RegisterBitmapResource);
    // EResNotFound when there is none.
    void LoadFromResourceName(const AnsiString& ResName);
    // EInvalidGraphic when the file cannot be read or written.
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName) const;

    // The picture as Qt holds it.
    const QImage& Image() const;
    void SetImage(const QImage& Value);

    void DefineProperties(TFiler* Filer) override;

private:
    void CloseCanvas() const;

    std::unique_ptr<QImage> FImage;
    mutable std::unique_ptr<QPainter> FPainter;
    std::unique_ptr<TCanvas> FCanvas;
};

// Holds one graphic (a TBitmap here) for a control; Bitmap makes one when
// the picture holds none. Changes of the graphic fire OnChange. Form files
// keep the graphic in the binary property "Data": the graphic's class name
// as one length byte and its characters, then the graphic's stream.
class TPicture : public TPersistent {
    ZX_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Takes a copy; EInvalidGraphic for a graphic class it cannot copy.
    void SetGraphic(const TGraphic* Value);
    TBitmap* Bitmap();
    void SetBitmap(const TBitmap* Value) { SetGraphic(Value); }
    Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
    Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }

    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName) const;
    void Assign(const TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;

    TNotifyEvent OnChange;

private:
    void TakeGraphic(std::unique_ptr<TGraphic> Value);
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
};
