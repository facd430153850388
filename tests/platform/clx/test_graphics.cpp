// Colours, character sets, fonts, brushes and pens as plain models: no
// QApplication exists in this program.
#include "clx/Graphics.h"
#include "clx/QtSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Colors, NamedColorsHaveThePlatformValuesAndNames) {
    EXPECT_EQ(clRed, 0x0000FF);
    EXPECT_EQ(clBlue, 0xFF0000);
    EXPECT_EQ(ColorToString(clRed), "clRed");
    EXPECT_EQ(ColorToString(clBlack), "clBlack");
    EXPECT_EQ(ColorToString(clWhite), "clWhite");
    // Aliases write the name programs know.
    EXPECT_EQ(ColorToString(clButton), "clBtnFace");
    EXPECT_EQ(ColorToString(clText), "clWindowText");
    EXPECT_EQ(ColorToString(clSilver), "clSilver");
}

TEST(Colors, SelectionColorsAreTheOnesOwnerDrawnItemsUse) {
    EXPECT_EQ(clHighlight, -13);
    EXPECT_EQ(clHighlightText, -14);
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(clBlack));
}

TEST(Colors, UnnamedColorsAreWrittenAsHex) {
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_EQ(ColorToString(-100), "$FFFFFF9C");
}

TEST(Colors, StringToColorReadsNamesAndNumbers) {
    EXPECT_EQ(StringToColor("clred"), clRed);
    EXPECT_EQ(StringToColor("CLBTNFACE"), clBtnFace);
    EXPECT_EQ(StringToColor("clButton"), clBtnFace);
    EXPECT_EQ(StringToColor("$00FF00"), clLime);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("-13"), clHighlight);
    EXPECT_EQ(StringToColor("$FFFFFF9C"), -100);
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
    EXPECT_THROW(StringToColor(""), EConvertError);
}

TEST(Colors, EveryNameRoundTrips) {
    for (TColor color :
         {clBlack,    clMaroon,     clGreen,       clOlive,         clNavy,       clPurple,
          clTeal,     clGray,       clSilver,      clRed,           clLime,       clYellow,
          clBlue,     clFuchsia,    clAqua,        clWhite,         clMoneyGreen, clSkyBlue,
          clCream,    clMedGray,    clNone,        clDefault,       clBtnFace,    clBtnText,
          clWindow,   clWindowText, clHighlight,   clHighlightText, clInfoBk,     clInfoText,
          clGrayText, clBtnShadow,  clBtnHighlight}) {
        AnsiString name;
        ASSERT_TRUE(ColorToIdent(color, name)) << color;
        TColor back = 0;
        ASSERT_TRUE(IdentToColor(name, back)) << name;
        EXPECT_EQ(back, color) << name;
    }
}

TEST(Colors, ColorToRGBResolvesSystemColorsWithoutAnApplication) {
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0x000000);
    TColor selection = ColorToRGB(clHighlight);
    EXPECT_GE(selection, 0);
    EXPECT_NE(selection, ColorToRGB(clHighlightText));
}

// ---------------------------------------------------------------------------

TEST(FontCharSets, FortyTwoDistinctNamesWithTheDefaultsInPlace) {
    PTypeInfo info = TypeInfoOf(TFontCharSet{});
    EXPECT_EQ(info->Name, "TFontCharSet");
    EXPECT_EQ(info->MaxValue, 41);
    std::set<AnsiString> names;
    for (Integer ordinal = 0; ordinal < FontCharSetCount; ++ordinal) {
        AnsiString name = GetEnumName(info, ordinal);
        EXPECT_TRUE(name.ends_with("_CHARSET")) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 42U);
    EXPECT_EQ(GetEnumName(info, 42), "");
    EXPECT_EQ(GetEnumName(info, 1), "DEFAULT_CHARSET");
    EXPECT_EQ(GetEnumName(info, 0), "ANSI_CHARSET");
    EXPECT_EQ(GetEnumName(info, 23), "ISO8859_1_CHARSET");
    EXPECT_EQ(GetEnumName(info, 25), "UNICODE_CHARSET");
    EXPECT_EQ(GetEnumValue(info, "russian_charset"), RUSSIAN_CHARSET);
}

TEST(FontCharSets, EachMapsOntoAWritingSystem) {
    EXPECT_EQ(CharsetToWritingSystem(DEFAULT_CHARSET), QFontDatabase::Any);
    EXPECT_EQ(CharsetToWritingSystem(UNICODE_CHARSET), QFontDatabase::Any);
    EXPECT_EQ(CharsetToWritingSystem(ISO8859_1_CHARSET), QFontDatabase::Latin);
    EXPECT_EQ(CharsetToWritingSystem(RUSSIAN_CHARSET), QFontDatabase::Cyrillic);
    EXPECT_EQ(CharsetToWritingSystem(KOI8U_CHARSET), QFontDatabase::Cyrillic);
    EXPECT_EQ(CharsetToWritingSystem(SHIFTJIS_CHARSET), QFontDatabase::Japanese);
    EXPECT_EQ(CharsetToWritingSystem(GB2312_CHARSET), QFontDatabase::SimplifiedChinese);
    EXPECT_EQ(CharsetToWritingSystem(CHINESEBIG5_CHARSET), QFontDatabase::TraditionalChinese);
    EXPECT_EQ(CharsetToWritingSystem(ISO8859_7_CHARSET), QFontDatabase::Greek);
    EXPECT_EQ(CharsetToWritingSystem(HEBREW_CHARSET), QFontDatabase::Hebrew);
    EXPECT_EQ(CharsetToWritingSystem(TSCII_CHARSET), QFontDatabase::Tamil);
    EXPECT_EQ(CharsetToWritingSystem(SYMBOL_CHARSET), QFontDatabase::Symbol);
}

// ---------------------------------------------------------------------------

struct TChangeCounter {
    Integer Count = 0;
    TNotifyEvent Handler() {
        return [this](TObject*) { ++Count; };
    }
};

TEST(Font, PublishesItsValuesByName) {
    TFont font;
    EXPECT_EQ(GetStrProp(&font, "Name"), TFont::DefaultName);
    EXPECT_EQ(GetOrdProp(&font, "Height"), -13);
    EXPECT_EQ(GetOrdProp(&font, "Size"), 10);
    EXPECT_EQ(GetEnumProp(&font, "Charset"), "DEFAULT_CHARSET");
    EXPECT_EQ(GetOrdProp(&font, "Color"), clWindowText);
    EXPECT_EQ(GetSetProp(&font, "Style"), "");

    SetEnumProp(&font, "Charset", "RUSSIAN_CHARSET");
    SetSetProp(&font, "Style", "[fsBold,fsUnderline]");
    SetStrProp(&font, "Name", "DejaVu Serif");
    EXPECT_EQ(font.Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(font.Name(), "DejaVu Serif");
    EXPECT_EQ(GetSetProp(&font, "Style", true), "[fsBold,fsUnderline]");
}

TEST(Font, PropertyTypesAndStorageFollowThePlatform) {
    TFont font;
    PPropInfo color = GetPropInfo(&font, "Color");
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color->PropType->Kind, tkInteger);
    EXPECT_EQ(color->PropType->Name, "TColor");
    EXPECT_EQ(GetPropInfo(&font, "Name")->PropType->Name, "TFontName");
    EXPECT_EQ(GetPropInfo(&font, "Charset")->PropType->Kind, tkEnumeration);
    EXPECT_EQ(GetPropInfo(&font, "Charset")->Default, DEFAULT_CHARSET);
    // Files keep the height; the size follows from it.
    EXPECT_FALSE(IsStoredProp(&font, GetPropInfo(&font, "Size")));
    EXPECT_TRUE(IsStoredProp(&font, GetPropInfo(&font, "Height")));
    EXPECT_FALSE(GetPropInfo(&font, "Height")->Default.has_value());
}

TEST(Font, SizeAndHeightConvertAtNinetySixPixelsPerInch) {
    TFont font;
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
    font.SetHeight(-11);
    EXPECT_EQ(font.Size(), 8);
    for (Integer size = 6; size <= 72; ++size) {
        font.SetSize(size);
        EXPECT_EQ(font.Size(), size);
    }
}

TEST(Font, EveryRealChangeFiresOnChangeOnce) {
    TFont font;
    TChangeCounter changes;
    font.OnChange = changes.Handler();
    font.SetName(font.Name());
    font.SetHeight(font.Height());
    font.SetStyle(font.Style());
    EXPECT_EQ(changes.Count, 0);
    font.SetName("Serif");
    font.SetSize(14);
    font.SetColor(clRed);
    font.SetStyle({fsItalic});
    font.SetCharset(GREEK_CHARSET);
    EXPECT_EQ(changes.Count, 5);
}

TEST(Font, AssignCopiesEverythingWithOneChange) {
    TFont source;
    source.SetName("Serif");
    source.SetHeight(-20);
    source.SetColor(clBlue);
    source.SetStyle({fsBold, fsStrikeOut});
    source.SetCharset(THAI_CHARSET);
    TFont target;
    TChangeCounter changes;
    target.OnChange = changes.Handler();
    target.Assign(&source);
    EXPECT_EQ(changes.Count, 1);
    EXPECT_TRUE(target.Equals(source));
    target.Assign(&source);
    EXPECT_EQ(changes.Count, 1);
    TBrush brush;
    EXPECT_THROW(target.Assign(&brush), EConvertError);
}

TEST(BrushAndPen, DefaultsAndAssign) {
    TBrush brush;
    EXPECT_EQ(brush.Color(), clWhite);
    EXPECT_EQ(GetEnumProp(&brush, "Style"), "bsSolid");
    TPen pen;
    EXPECT_EQ(pen.Color(), clBlack);
    EXPECT_EQ(pen.Width(), 1);
    pen.SetWidth(0);
    EXPECT_EQ(pen.Width(), 1);
    TPen other;
    other.SetColor(clRed);
    other.SetWidth(3);
    other.SetStyle(psDot);
    TChangeCounter changes;
    pen.OnChange = changes.Handler();
    pen.Assign(&other);
    EXPECT_EQ(changes.Count, 1);
    EXPECT_EQ(pen.Color(), clRed);
    EXPECT_EQ(pen.Width(), 3);
    EXPECT_EQ(pen.Style(), psDot);
}

TEST(Geometry, RectanglesExcludeTheirRightAndBottomEdges) {
    TRect rect = Bounds(10, 20, 30, 40);
    EXPECT_EQ(rect, Rect(10, 20, 40, 60));
    EXPECT_EQ(rect.Width(), 30);
    EXPECT_EQ(rect.Height(), 40);
    EXPECT_TRUE(PtInRect(rect, Point(10, 20)));
    EXPECT_TRUE(PtInRect(rect, Point(39, 59)));
    EXPECT_FALSE(PtInRect(rect, Point(40, 30)));
    EXPECT_FALSE(PtInRect(rect, Point(20, 60)));
}

TEST(Canvas, DrawingWithoutAPainterIsRefused) {
    TCanvas canvas;
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 10, 10)), EInvalidOperation);
    EXPECT_THROW(canvas.TextOut(0, 0, "x"), EInvalidOperation);
    EXPECT_THROW(canvas.LineTo(5, 5), EInvalidOperation);
    EXPECT_THROW(canvas.TextWidth("x"), EInvalidOperation);
    canvas.MoveTo(3, 4);
    EXPECT_EQ(canvas.PenPos(), Point(3, 4));
}

TEST(Canvas, ToolsAreCopiedNotShared) {
    TCanvas canvas;
    TFont font;
    font.SetName("Serif");
    canvas.SetFont(&font);
    font.SetName("Other");
    EXPECT_EQ(canvas.Font()->Name(), "Serif");
}

} // namespace
