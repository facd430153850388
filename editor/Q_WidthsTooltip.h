// While a cell of the Translation Editor is edited, a small window beside
// it shows, for every language of the row, how wide and how tall the text
// is on screen, compared with the shortest one, so that a translator sees
// which translation will not fit its control. The window never takes the
// focus from the cell's editor and translates its own labels.
#pragma once

#include "runtime/QzxLngLnk.h"

#include "clx/Forms.h"
#include "clx/Grids.h"

#include <vector>

class TfrmWidthsTooltip : public TForm {
    ZX_CLASS(TfrmWidthsTooltip, TForm)
public:
    explicit TfrmWidthsTooltip(TComponent* AOwner) : TForm(AOwner) {}
    ~TfrmWidthsTooltip() override;
    void AfterConstruction() override;

    TStringGrid* sgInfo = nullptr;
    TzxLangLinked* zxLangLinked1 = nullptr;

    void FormCreate(TObject* Sender);
    void sgInfoDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect,
                        TGridDrawState State);
    void UpdatePercentage();

    // Entry Index (from 0) becomes Text, measured on the window's canvas.
    void SetEntry(std::size_t Index, const WideString& Text);
    void SetEntryCount(std::size_t Count);
    // The header row in the active language.
    void ShowHeaders();

private:
    AnsiString Text(const char* ID) const;

    std::vector<WideString> FTexts;
    std::vector<Integer> FWidths;
    std::vector<Integer> FHeights;
};

// The window, or nullptr when none is shown.
extern TfrmWidthsTooltip* frmWidthsTooltip;

// Shows the window beside CellRect (screen coordinates) with one row per
// language: Names[i] and Texts[i], in the window's language Lang.
void ShowWidthTooltip(const std::vector<AnsiString>& Names, const std::vector<WideString>& Texts,
                      const TRect& CellRect, Integer Lang);
// Entry Index (from 0) becomes Text.
void UpdateLanguageWidthTooltip(Integer Index, const WideString& Text);
void HideWidthTooltip();
