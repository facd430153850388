#include "editor/Q_WidthsTooltip.h"

#include "editor/FormData.h"

#include "rtl/Filer.h"

std::string_view FormData_Q_WidthsTooltip();

TfrmWidthsTooltip* frmWidthsTooltip = nullptr;

namespace {

// The space the window's frame and the grid's border take below the rows.
constexpr Integer ExtraHeight = 24;
constexpr Integer NoMeasure = 0x7FFFFFFF;

AnsiString Measured(Integer Value, Integer Smallest) {
    return Format("%d (x %.2f)", {Value, static_cast<double>(Value) / Smallest});
}

} // namespace

TfrmWidthsTooltip::~TfrmWidthsTooltip() {
    // The application frees a window never hidden; the global goes with it.
    if (frmWidthsTooltip == this)
        frmWidthsTooltip = nullptr;
}

void TfrmWidthsTooltip::AfterConstruction() {
    if (!GetClass("TfrmWidthsTooltip")) {
        RegisterClass(TfrmWidthsTooltip::StaticClass());
        RegisterMethod("FormCreate", &TfrmWidthsTooltip::FormCreate);
        RegisterMethod("sgInfoDrawCell", &TfrmWidthsTooltip::sgInfoDrawCell);
    }
    ReadFormData(FormData_Q_WidthsTooltip(), this);
    sgInfo = FormControl<TStringGrid>(this, "sgInfo");
    zxLangLinked1 = FormControl<TzxLangLinked>(this, "zxLangLinked1");
    TForm::AfterConstruction();
}

AnsiString TfrmWidthsTooltip::Text(const char* ID) const {
    return UTF8Encode(zxLangLinked1->GetTextOrDefault(UTF8Decode(ID)));
}

void TfrmWidthsTooltip::FormCreate(TObject*) {
    sgInfo->SetDefaultRowHeight(Canvas()->TextHeight("H") + 4);
    ShowHeaders();
}

void TfrmWidthsTooltip::ShowHeaders() {
    sgInfo->SetCells(0, 0, Text("IDS_2"));
    sgInfo->SetCells(1, 0, Text("IDS_3"));
    sgInfo->SetCells(2, 0, Text("IDS_4"));
}

void TfrmWidthsTooltip::SetEntryCount(std::size_t Count) {
    FTexts.assign(Count, WideString());
    FWidths.assign(Count, 0);
    FHeights.assign(Count, 0);
    sgInfo->SetRowCount(static_cast<Integer>(Count) + 1);
}

void TfrmWidthsTooltip::SetEntry(std::size_t Index, const WideString& Text) {
    if (Index >= FTexts.size())
        return;
    const AnsiString text = UTF8Encode(Text);
    FTexts[Index] = Text;
    FWidths[Index] = text.empty() ? 0 : Canvas()->TextWidth(text);
    FHeights[Index] = text.empty() ? 0 : Canvas()->TextHeight(text);
}

void TfrmWidthsTooltip::UpdatePercentage() {
    Integer minWidth = NoMeasure;
    Integer minHeight = NoMeasure;
    for (std::size_t index = 0; index < FWidths.size(); ++index) {
        if (FWidths[index] > 0)
            minWidth = std::min(minWidth, FWidths[index]);
        if (FHeights[index] > 0)
            minHeight = std::min(minHeight, FHeights[index]);
    }
    for (std::size_t index = 0; index < FWidths.size(); ++index) {
        const Integer row = static_cast<Integer>(index) + 1;
        const Integer width = FWidths[index];
        if (minWidth == NoMeasure || width == 0)
            sgInfo->SetCells(1, row, Text("IDS_0"));
        else if (width == minWidth)
            sgInfo->SetCells(1, row, Format(Text("IDS_7"), {width}));
        else
            sgInfo->SetCells(1, row, Measured(width, minWidth));
        // No text at all leaves the heights as they stood.
        if (minWidth != NoMeasure)
            sgInfo->SetCells(2, row, Measured(FHeights[index], minHeight));
    }
}

void TfrmWidthsTooltip::sgInfoDrawCell(TObject*, Integer ACol, Integer ARow, TRect Rect,
                                       TGridDrawState) {
    TCanvas* canvas = sgInfo->Canvas();
    const bool header = ARow == 0;
    canvas->Brush()->SetColor(header ? clButton : clBase);
    canvas->FillRect(Rect);
    canvas->Font()->SetColor(sgInfo->Font()->Color());
    canvas->Font()->SetStyle(header ? TFontStyles{fsBold} : TFontStyles{});
    canvas->TextOut(Rect.Left + 4, Rect.Top + 2, sgInfo->Cells(ACol, ARow));
}

void ShowWidthTooltip(const std::vector<AnsiString>& Names, const std::vector<WideString>& Texts,
                      const TRect& CellRect, Integer Lang) {
    RegisterClxClasses();
    if (!frmWidthsTooltip)
        frmWidthsTooltip = NewForm<TfrmWidthsTooltip>(Application);
    TfrmWidthsTooltip& window = *frmWidthsTooltip;
    window.zxLangLinked1->SetActLang(Lang);
    window.ShowHeaders();
    window.SetEntryCount(Names.size());
    for (std::size_t index = 0; index < Names.size(); ++index) {
        window.SetEntry(index, index < Texts.size() ? Texts[index] : WideString());
        window.sgInfo->SetCells(0, static_cast<Integer>(index) + 1, Names[index]);
    }
    window.SetClientHeight(window.sgInfo->RowCount() * window.sgInfo->DefaultRowHeight() +
                           ExtraHeight);
    window.SetLeft(Screen->Width() > CellRect.Right + window.Width()
                       ? CellRect.Right
                       : CellRect.Left - window.Width());
    window.SetTop(Screen->Height() > CellRect.Bottom + window.Height()
                      ? CellRect.Bottom
                      : CellRect.Top - window.Height());
    window.UpdatePercentage();
    window.ShowWithoutActivation();
}

void UpdateLanguageWidthTooltip(Integer Index, const WideString& Text) {
    if (!frmWidthsTooltip || Index < 0)
        return;
    frmWidthsTooltip->SetEntry(static_cast<std::size_t>(Index), Text);
    frmWidthsTooltip->UpdatePercentage();
}

void HideWidthTooltip() {
    delete frmWidthsTooltip;
}
