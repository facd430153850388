#include "clx/Graphics.h"
#include "clx/QtSupport.h"

#include "rtl/Filer.h"

#include <QtCore/QBuffer>
#include <QtCore/QFileInfo>
#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QImageWriter>
#include <QtGui/QPainter>
#include <QtGui/QPalette>

#include <array>
#include <cmath>
#include <map>

static_assert(FontCharSetCount == 42, "the character sets are fixed by the files that name them");

// ---------------------------------------------------------------------------
// Colours

namespace {

// Where two names share a value, the first is the one written.
constexpr std::array<TIdentMapEntry, 51> ColorNames{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clBtnFace, "clBtnFace"},
    {clBtnText, "clBtnText"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clWindow, "clWindow"},
    {clWindowText, "clWindowText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clGrayText, "clGrayText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clForeground, "clForeground"},
    {clLight, "clLight"},
    {clMidlight, "clMidlight"},
    {clMid, "clMid"},
    {clBrightText, "clBrightText"},
    {clBackground, "clBackground"},
    {clShadow, "clShadow"},
    {clLink, "clLink"},
    {clLinkVisited, "clLinkVisited"},
    {clAlternateBase, "clAlternateBase"},
    {clPlaceholderText, "clPlaceholderText"},
    {clButton, "clButton"},
    {clButtonText, "clButtonText"},
    {clBase, "clBase"},
    {clText, "clText"},
    {clHighlightedText, "clHighlightedText"},
}};

// The light palette system colours resolve to before a QGuiApplication
// exists, by palette role ($00BBGGRR).
constexpr std::array<TColor, 21> FallbackPalette{
    0x000000, // WindowText
    0xEFEFEF, // Button
    0xFFFFFF, // Light
    0xCACACA, // Midlight
    0x9F9F9F, // Dark
    0xB8B8B8, // Mid
    0x000000, // Text
    0xFFFFFF, // BrightText
    0x000000, // ButtonText
    0xFFFFFF, // Base
    0xEFEFEF, // Window
    0x767676, // Shadow
    0xDA7730, // Highlight
    0xFFFFFF, // HighlightedText
    0xFF0000, // Link
    0xFF00FF, // LinkVisited
    0xF7F7F7, // AlternateBase
    0x000000, // NoRole
    0xDCFFFF, // ToolTipBase
    0x000000, // ToolTipText
    0x808080, // PlaceholderText
};

int PaletteRole(TColor Color) {
    return -1 - Color;
}

TColor RGBToColor(const QColor& Color) {
    return Color.red() | (Color.green() << 8) | (Color.blue() << 16);
}

} // namespace

bool ColorToIdent(TColor Color, AnsiString& Ident) {
    return IntToIdent(Color, Ident, ColorNames);
}

bool IdentToColor(const AnsiString& Ident, TColor& Color) {
    return IdentToInt(Ident, Color, ColorNames);
}

AnsiString ColorToString(TColor Color) {
    AnsiString name;
    if (ColorToIdent(Color, name))
        return name;
    // Appended: a string put in front of a literal sets off a false overlap
    // warning of GCC 12 at -O3.
    return AnsiString(1, '$').append(IntToHex(static_cast<Cardinal>(Color), 8));
}

TColor StringToColor(const AnsiString& S) {
    TColor color = 0;
    if (IdentToColor(S, color))
        return color;
    Int64 value = 0;
    if (!TryStrToInt64(S, value) || value < std::numeric_limits<Integer>::min() ||
        value > std::numeric_limits<Cardinal>::max())
        throw EConvertError(Format("'%s' is not a valid colour value", {S}));
    return static_cast<TColor>(static_cast<Cardinal>(value & 0xFFFFFFFF));
}

void GetColorValues(const std::function<void(const AnsiString&)>& Proc) {
    GetIdentNames(ColorNames, Proc);
}

TColor ColorToRGB(TColor Color) {
    if (!IsSystemColor(Color))
        return Color & 0xFFFFFF;
    int role = PaletteRole(Color);
    if (role >= QPalette::NColorRoles)
        return clBlack;
    if (qGuiApp)
        return RGBToColor(QGuiApplication::palette().color(static_cast<QPalette::ColorRole>(role)));
    return role < static_cast<int>(FallbackPalette.size()) ? FallbackPalette[role] : clBlack;
}

QColor ColorToQColor(TColor Color) {
    if (Color == clNone)
        return QColor(Qt::transparent);
    if (IsSystemColor(Color) && qGuiApp && PaletteRole(Color) < QPalette::NColorRoles)
        return QGuiApplication::palette().color(
            static_cast<QPalette::ColorRole>(PaletteRole(Color)));
    TColor rgb = ColorToRGB(Color == clDefault ? clBlack : Color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// ---------------------------------------------------------------------------
// Character sets

QFontDatabase::WritingSystem CharsetToWritingSystem(TFontCharSet Charset) {
    using WS = QFontDatabase;
    switch (Charset) {
    case DEFAULT_CHARSET:
    case UNICODE_CHARSET:
        return WS::Any;
    case SYMBOL_CHARSET:
        return WS::Symbol;
    case SHIFTJIS_CHARSET:
    case EUCJP_CHARSET:
        return WS::Japanese;
    case HANGEUL_CHARSET:
    case JOHAB_CHARSET:
    case EUCKR_CHARSET:
        return WS::Korean;
    case GB2312_CHARSET:
    case GBK_CHARSET:
        return WS::SimplifiedChinese;
    case CHINESEBIG5_CHARSET:
        return WS::TraditionalChinese;
    case GREEK_CHARSET:
    case ISO8859_7_CHARSET:
        return WS::Greek;
    case VIETNAMESE_CHARSET:
        return WS::Vietnamese;
    case HEBREW_CHARSET:
    case ISO8859_8_CHARSET:
        return WS::Hebrew;
    case ARABIC_CHARSET:
    case ISO8859_6_CHARSET:
        return WS::Arabic;
    case RUSSIAN_CHARSET:
    case KOI8R_CHARSET:
    case KOI8U_CHARSET:
    case CP1251_CHARSET:
    case PT154_CHARSET:
    case ISO8859_5_CHARSET:
        return WS::Cyrillic;
    case THAI_CHARSET:
    case TIS620_CHARSET:
        return WS::Thai;
    case TSCII_CHARSET:
        return WS::Tamil;
    default:
        return WS::Latin;
    }
}

// ---------------------------------------------------------------------------
// Graphics objects

void TGraphicsObject::Changed() {
    if (OnChange)
        OnChange(this);
}

void TFont::PublishedProperties(TPropertyBuilder<TFont>& P) {
    P.Property("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET);
    P.Property("Color", &TFont::Color, &TFont::SetColor).TypeName("TColor").Default(clWindowText);
    P.Property("Height", &TFont::Height, &TFont::SetHeight);
    P.Property("Name", &TFont::Name, &TFont::SetName).TypeName("TFontName");
    P.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    P.Property("Style", &TFont::Style, &TFont::SetStyle)
        .TypeName("TFontStyles")
        .Default(TFontStyles{});
}

void TFont::SetName(const TFontName& Value) {
    if (FName == Value)
        return;
    FName = Value;
    Changed();
}

void TFont::SetHeight(Integer Value) {
    if (FHeight == Value)
        return;
    FHeight = Value;
    Changed();
}

Integer TFont::Size() const {
    return static_cast<Integer>(
        std::lround(-FHeight * 72.0 / static_cast<double>(ScreenPixelsPerInch)));
}

void TFont::SetSize(Integer Value) {
    SetHeight(static_cast<Integer>(
        std::lround(-Value * static_cast<double>(ScreenPixelsPerInch) / 72.0)));
}

void TFont::SetColor(TColor Value) {
    if (FColor == Value)
        return;
    FColor = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    Changed();
}

void TFont::SetCharset(TFontCharSet Value) {
    if (FCharset == Value)
        return;
    FCharset = Value;
    Changed();
}

void TFont::Assign(const TPersistent* Source) {
    const auto* font = dynamic_cast<const TFont*>(Source);
    if (!font) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (Equals(*font))
        return;
    FName = font->FName;
    FHeight = font->FHeight;
    FColor = font->FColor;
    FStyle = font->FStyle;
    FCharset = font->FCharset;
    Changed();
}

bool TFont::Equals(const TFont& Other) const {
    return FName == Other.FName && FHeight == Other.FHeight && FColor == Other.FColor &&
           FStyle == Other.FStyle && FCharset == Other.FCharset;
}

QFont FontToQFont(const TFont& Font) {
    QFont font(QString::fromStdString(Font.Name()));
    font.setPixelSize(std::max(1, std::abs(Font.Height())));
    font.setBold(Font.Style().Contains(fsBold));
    font.setItalic(Font.Style().Contains(fsItalic));
    font.setUnderline(Font.Style().Contains(fsUnderline));
    font.setStrikeOut(Font.Style().Contains(fsStrikeOut));
    return font;
}

void TBrush::PublishedProperties(TPropertyBuilder<TBrush>& P) {
    P.Property("Color", &TBrush::Color, &TBrush::SetColor).TypeName("TColor").Default(clWhite);
    P.Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::SetColor(TColor Value) {
    if (FColor == Value)
        return;
    FColor = Value;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    Changed();
}

void TBrush::Assign(const TPersistent* Source) {
    const auto* brush = dynamic_cast<const TBrush*>(Source);
    if (!brush) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (FColor == brush->FColor && FStyle == brush->FStyle)
        return;
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Changed();
}

void TPen::PublishedProperties(TPropertyBuilder<TPen>& P) {
    P.Property("Color", &TPen::Color, &TPen::SetColor).TypeName("TColor").Default(clBlack);
    P.Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
    P.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::SetColor(TColor Value) {
    if (FColor == Value)
        return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(Integer Value) {
    Value = std::max(Value, 1);
    if (FWidth == Value)
        return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    Changed();
}

void TPen::Assign(const TPersistent* Source) {
    const auto* pen = dynamic_cast<const TPen*>(Source);
    if (!pen) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (FColor == pen->FColor && FWidth == pen->FWidth && FStyle == pen->FStyle)
        return;
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    Changed();
}

// ---------------------------------------------------------------------------
// Canvas

namespace {

Qt::BrushStyle QtBrushStyle(TBrushStyle Style) {
    switch (Style) {
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

Qt::PenStyle QtPenStyle(TPenStyle Style) {
    switch (Style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

} // namespace

TCanvas::TCanvas()
    : FBrush(std::make_unique<TBrush>()), FPen(std::make_unique<TPen>()),
      FFont(std::make_unique<TFont>()) {}

TCanvas::~TCanvas() = default;

QPainter& TCanvas::Painter() const {
    if (!FPainter)
        throw EInvalidOperation("Canvas does not allow drawing");
    return *FPainter;
}

void TCanvas::ApplyPen() const {
    QPen pen(ColorToQColor(FPen->Color()));
    pen.setWidth(FPen->Width());
    pen.setStyle(QtPenStyle(FPen->Style()));
    Painter().setPen(pen);
}

void TCanvas::ApplyBrush() const {
    Painter().setBrush(QBrush(ColorToQColor(FBrush->Color()), QtBrushStyle(FBrush->Style())));
}

void TCanvas::MoveTo(Integer X, Integer Y) {
    FPenPos = {X, Y};
}

void TCanvas::LineTo(Integer X, Integer Y) {
    ApplyPen();
    Painter().drawLine(FPenPos.X, FPenPos.Y, X, Y);
    FPenPos = {X, Y};
}

void TCanvas::FillRect(const TRect& Rect) {
    if (FBrush->Style() == bsClear)
        return;
    Painter().fillRect(Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                       QBrush(ColorToQColor(FBrush->Color()), QtBrushStyle(FBrush->Style())));
}

// The pen draws on the rectangle's inside edge, as the platform does: the
// outline of (0, 0, 10, 10) covers pixels 0 to 9.
void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
    FillRect(Rect(X1, Y1, X2, Y2));
    if (FPen->Style() == psClear)
        return;
    ApplyPen();
    Painter().setBrush(Qt::NoBrush);
    Integer inset = FPen->Width() / 2;
    Painter().drawRect(X1 + inset, Y1 + inset, X2 - X1 - FPen->Width(), Y2 - Y1 - FPen->Width());
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
    QPainter& painter = Painter();
    painter.save();
    QPen pen(ColorToQColor(FFont->Color()));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(Rect.Left, Rect.Top, Rect.Width() - 1, Rect.Height() - 1);
    painter.restore();
}

void TCanvas::TextOut(Integer X, Integer Y, const AnsiString& Text) {
    QPainter& painter = Painter();
    painter.setFont(FontToQFont(*FFont));
    TPoint extent = TextExtent(Text);
    FillRect(Bounds(X, Y, extent.X, extent.Y));
    painter.setPen(ColorToQColor(FFont->Color()));
    painter.drawText(X, Y + painter.fontMetrics().ascent(), ToQString(Text));
    FPenPos = {X + extent.X, Y};
}

QPainter& TCanvas::BeginTextRect(const TRect& Rect) {
    QPainter& painter = Painter();
    painter.save();
    painter.setClipRect(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    FillRect(Rect);
    painter.setFont(FontToQFont(*FFont));
    painter.setPen(ColorToQColor(FFont->Color()));
    return painter;
}

void TCanvas::TextRect(const TRect& Rect, Integer X, Integer Y, const AnsiString& Text) {
    QPainter& painter = BeginTextRect(Rect);
    painter.drawText(X, Y + painter.fontMetrics().ascent(), ToQString(Text));
    painter.restore();
}

namespace {

// The platform's text flags are Qt's alignment and text flags.
constexpr int QtTextFlags(Integer TextFlags) {
    return TextFlags & (AlignLeft | AlignRight | AlignHCenter | AlignTop | AlignBottom |
                        AlignVCenter | SingleLine | ExpandTabs | ShowPrefix | WordBreak);
}
static_assert(QtTextFlags(ExpandTabs | SingleLine | WordBreak | ShowPrefix) ==
              (Qt::TextExpandTabs | Qt::TextSingleLine | Qt::TextWordWrap | Qt::TextShowMnemonic));
static_assert(QtTextFlags(AlignLeft | AlignHCenter | AlignVCenter | AlignBottom) ==
              (Qt::AlignLeft | Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignBottom));

// Text with its CR LF line ends as Qt breaks lines: at LF.
QString LinesForQt(const AnsiString& Text) {
    return ToQString(Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

void TCanvas::TextRect(const TRect& Rect, Integer X, Integer Y, const AnsiString& Text,
                       Integer TextFlags) {
    if (TextFlags == 0) {
        TextRect(Rect, X, Y, Text);
        return;
    }
    QPainter& painter = BeginTextRect(Rect);
    painter.drawText(QRect(X, Y, Rect.Right - X, Rect.Bottom - Y), QtTextFlags(TextFlags),
                     LinesForQt(Text));
    painter.restore();
}

TPoint TCanvas::TextExtent(const AnsiString& Text, Integer TextFlags) const {
    if (!FPainter && !qGuiApp)
        throw EInvalidOperation("Measuring text needs a QGuiApplication");
    QFontMetrics metrics(FontToQFont(*FFont));
    QSize size = metrics.size(QtTextFlags(TextFlags), LinesForQt(Text));
    return {size.width(), size.height()};
}

TPoint TCanvas::TextExtent(const AnsiString& Text) const {
    if (!FPainter && !qGuiApp)
        throw EInvalidOperation("Measuring text needs a QGuiApplication");
    QFontMetrics metrics(FontToQFont(*FFont));
    return {metrics.horizontalAdvance(ToQString(Text)), metrics.height()};
}

Integer TCanvas::TextWidth(const AnsiString& Text) const {
    return TextExtent(Text).X;
}

Integer TCanvas::TextHeight(const AnsiString& Text) const {
    return TextExtent(Text).Y;
}

void TCanvas::Draw(Integer X, Integer Y, const TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty())
        return;
    Painter();
    Graphic->Draw(*this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
}

// ---------------------------------------------------------------------------
// Graphics

void TGraphic::SetTransparent(bool Value) {
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    Changed();
}

void TGraphic::Changed() {
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------
// TBitmap

namespace {

constexpr QImage::Format BitmapFormat = QImage::Format_ARGB32_Premultiplied;

QByteArray PngBytes(const QImage& Image) {
    QByteArray bytes;
    if (Image.isNull())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Image.save(&buffer, "PNG");
    return bytes;
}

void WriteLength(TStream& Stream, Integer Length) {
    Byte bytes[4];
    for (int index = 0; index < 4; ++index)
        bytes[index] = static_cast<Byte>(static_cast<Cardinal>(Length) >> (8 * index));
    Stream.WriteBuffer(bytes, 4);
}

Integer ReadLength(TStream& Stream) {
    Byte bytes[4];
    Stream.ReadBuffer(bytes, 4);
    Cardinal length = 0;
    for (int index = 0; index < 4; ++index)
        length |= static_cast<Cardinal>(bytes[index]) << (8 * index);
    if (length > static_cast<Cardinal>(Stream.Size() - Stream.Position()))
        throw EInvalidGraphic("Bitmap image is not valid");
    return static_cast<Integer>(length);
}

} // namespace

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()) {}

TBitmap::TBitmap(Integer AWidth, Integer AHeight) : TBitmap() {
    SetSize(AWidth, AHeight);
}

TBitmap::~TBitmap() {
    CloseCanvas();
}

Integer TBitmap::Width() const {
    return FImage->width();
}

Integer TBitmap::Height() const {
    return FImage->height();
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == Width() && AHeight == Height())
        return;
    CloseCanvas();
    QImage resized;
    if (AWidth > 0 && AHeight > 0) {
        resized = QImage(AWidth, AHeight, BitmapFormat);
        resized.fill(Qt::white);
        QPainter painter(&resized);
        painter.drawImage(0, 0, *FImage);
    }
    *FImage = resized;
    Changed();
}

// A transparent bitmap is drawn with its transparent colour made fully
// transparent.
void TBitmap::Draw(TCanvas& ACanvas, const TRect& Rect) const {
    CloseCanvas();
    QRect target(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    if (!Transparent()) {
        ACanvas.Handle()->drawImage(target, *FImage);
        return;
    }
    QImage masked = FImage->convertToFormat(QImage::Format_ARGB32);
    QRgb key = ColorToQColor(TransparentColor()).rgb();
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
    }
    ACanvas.Handle()->drawImage(target, masked);
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>();
    if (!FPainter && !FImage->isNull()) {
        FPainter = std::make_unique<QPainter>(FImage.get());
        FCanvas->SetHandle(FPainter.get());
    }
    return FCanvas.get();
}

void TBitmap::CloseCanvas() const {
    if (!FPainter)
        return;
    FCanvas->SetHandle(nullptr);
    FPainter.reset();
}

TColor TBitmap::TransparentColor() const {
    return Empty() ? clNone : Pixel(0, Height() - 1);
}

TColor TBitmap::Pixel(Integer X, Integer Y) const {
    CloseCanvas();
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height())
        throw EInvalidGraphic("Pixel " + IntToStr(X) + ", " + IntToStr(Y) +
                              " is outside the bitmap");
    return RGBToColor(FImage->pixelColor(X, Y));
}

void TBitmap::Assign(const TPersistent* Source) {
    if (!Source) {
        SetImage(QImage());
        return;
    }
    const auto* bitmap = dynamic_cast<const TBitmap*>(Source);
    if (!bitmap) {
        TGraphic::Assign(Source);
        return;
    }
    bool transparent = bitmap->Transparent();
    SetImage(bitmap->Image());
    SetTransparent(transparent);
}

bool TBitmap::Equals(const TBitmap& Other) const {
    return Image() == Other.Image();
}

const QImage& TBitmap::Image() const {
    CloseCanvas();
    return *FImage;
}

void TBitmap::SetImage(const QImage& Value) {
    CloseCanvas();
    *FImage = Value.isNull() ? QImage() : Value.convertToFormat(BitmapFormat);
    Changed();
}

void TBitmap::SaveToStream(TStream& Stream) const {
    QByteArray bytes = PngBytes(Image());
    WriteLength(Stream, static_cast<Integer>(bytes.size()));
    if (!bytes.isEmpty())
        Stream.WriteBuffer(bytes.constData(), static_cast<Integer>(bytes.size()));
}

void TBitmap::LoadFromStream(TStream& Stream) {
    Integer length = ReadLength(Stream);
    QImage image;
    if (length > 0) {
        QByteArray bytes(length, '\0');
        Stream.ReadBuffer(bytes.data(), length);
        if (!image.loadFromData(bytes, "PNG"))
            throw EInvalidGraphic("Bitmap image is not valid");
    }
    SetImage(image);
}

namespace {

std::map<AnsiString, std::vector<Byte>>& BitmapResources() {
    static std::map<AnsiString, std::vector<Byte>> resources;
    return resources;
}

} // namespace

void RegisterBitmapResource(const AnsiString& ResName, std::span<const Byte> PngData) {
    BitmapResources()[UpperCase(ResName)].assign(PngData.begin(), PngData.end());
}

void TBitmap::LoadFromResourceName(const AnsiString& ResName) {
    auto found = BitmapResources().find(UpperCase(ResName));
    if (found == BitmapResources().end())
        throw EResNotFound(Format("Resource %s not found", {ResName}));
    QImage image;
    if (!image.loadFromData(found->second.data(), static_cast<int>(found->second.size()), "PNG"))
        throw EInvalidGraphic("Bitmap image is not valid");
    SetImage(image);
}

void TBitmap::LoadFromFile(const AnsiString& FileName) {
    QImage image;
    if (!image.load(ToQString(FileName)))
        throw EInvalidGraphic("Cannot read the image file " + FileName);
    SetImage(image);
}

void TBitmap::SaveToFile(const AnsiString& FileName) const {
    QString name = ToQString(FileName);
    bool known = QImageWriter::supportedImageFormats().contains(
        QFileInfo(name).suffix().toLower().toLatin1());
    if (Empty() || !Image().save(name, known ? nullptr : "PNG"))
        throw EInvalidGraphic("Cannot write the image file " + FileName);
}

void TBitmap::DefineProperties(TFiler* Filer) {
    TGraphic::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Data", [this](TStream& Stream) { LoadFromStream(Stream); },
        [this](TStream& Stream) { SaveToStream(Stream); }, !Empty());
}

// ---------------------------------------------------------------------------
// TPicture

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> Value) {
    FGraphic = std::move(Value);
    if (FGraphic)
        FGraphic->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(const TGraphic* Value) {
    if (!Value) {
        TakeGraphic(nullptr);
        return;
    }
    const auto* bitmap = dynamic_cast<const TBitmap*>(Value);
    if (!bitmap)
        throw EInvalidGraphic("A picture cannot hold a " + Value->ClassName());
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(bitmap);
    TakeGraphic(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(FGraphic.get()))
        TakeGraphic(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromFile(const AnsiString& FileName) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(FileName);
    TakeGraphic(std::move(bitmap));
}

void TPicture::SaveToFile(const AnsiString& FileName) const {
    const auto* bitmap = dynamic_cast<const TBitmap*>(FGraphic.get());
    if (!bitmap)
        throw EInvalidGraphic("The picture is empty");
    bitmap->SaveToFile(FileName);
}

void TPicture::Assign(const TPersistent* Source) {
    if (!Source) {
        SetGraphic(nullptr);
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(Source)) {
        SetGraphic(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
        SetGraphic(graphic);
        return;
    }
    TPersistent::Assign(Source);
}

void TPicture::Changed() {
    if (OnChange)
        OnChange(this);
}

void TPicture::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Data",
        [this](TStream& Stream) {
            Byte length = 0;
            Stream.ReadBuffer(&length, 1);
            AnsiString className(length, '\0');
            Stream.ReadBuffer(className.data(), length);
            if (className != TBitmap::StaticClass()->Name)
                throw EInvalidGraphic("Unknown picture class " + className);
            auto bitmap = std::make_unique<TBitmap>();
            bitmap->LoadFromStream(Stream);
            TakeGraphic(std::move(bitmap));
        },
        [this](TStream& Stream) {
            AnsiString className = FGraphic->ClassName();
            auto length = static_cast<Byte>(className.size());
            Stream.WriteBuffer(&length, 1);
            Stream.WriteBuffer(className.data(), length);
            static_cast<const TBitmap&>(*FGraphic).SaveToStream(Stream);
        },
        dynamic_cast<TBitmap*>(FGraphic.get()) && !FGraphic->Empty());
}
