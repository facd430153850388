// The editor's handlers: the type tree and the tabs, the grid's drawing,
// selecting and editing, the view filters, finding and closing.
#include "editor/QzxTransEditor_Grid.h"
#include "editor/Q_WidthsTooltip.h"
#include "runtime/QzxComp_Engine.h"

#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Menus.h"

#include <algorithm>

namespace {

// Brush of a duplicated identifier's cells: red 255, green 240, blue 240.
constexpr TColor DuplicateColor = 0x00F0F0FF;

// The type a node of the type tree carries; false for the root.
bool NodeType(const TTreeNode* Node, TStringsType& Kind) {
    if (!Node || !Node->Data())
        return false;
    Kind = static_cast<TStringsType>(reinterpret_cast<std::intptr_t>(Node->Data()) - 1);
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// Type tree and tabs

// The list shown goes back into the working copy before another node is
// chosen; an identifier check that fails keeps the Strings list shown.
void TzxTransEditFrm::TreeViewChanging(TObject*, TTreeNode*, bool& AllowChange) {
    if (FBuildingTree || !FGridHoldsType)
        return;
    if (FCurrentType == stStrings && !CheckStringIDs()) {
        AllowChange = false;
        return;
    }
    UpdateProperty(FCurrentType, false);
    FGridHoldsType = false;
}

void TzxTransEditFrm::TreeViewChange(TObject*, TTreeNode* Node) {
    if (FBuildingTree)
        return;
    TStringsType kind = stCaptions;
    const bool typeNode = NodeType(Node, kind);
    if (!typeNode) {
        SetCaption("Translation Editor");
        pnlBackground->SetCaption("(No property selected)");
        Grid1->Hide();
        CheckActions();
        return;
    }
    FCurrentType = kind;
    SetTypeCaption(TypeName(kind));
    // The grid shows with the active filter applied, or the panel tells
    // that the list is empty.
    BuildGrid(kind, false);
    MenuItem("Highlightduplicates1")->SetVisible(kind == stStrings);
    CheckActions();
}

void TzxTransEditFrm::tabsTranslationsChange(TObject*) {
    Grid1->SetEditorMode(false);
    if (tabsTranslations->TabIndex() == 0) {
        UpdateProperty(FCurrentType, true);
        TreeView->Show();
        tvExtended->Hide();
        TreeViewChange(TreeView, TreeView->Selected());
        return;
    }
    if (FGridHoldsType) {
        if (FCurrentType == stStrings && !CheckStringIDs()) {
            tabsTranslations->SetTabIndex(0);
            return;
        }
        UpdateProperty(FCurrentType, false);
        FGridHoldsType = false;
    }
    tvExtended->Show();
    TreeView->Hide();
    BuildGrid(FCurrentType, true);
    MenuItem("Highlightduplicates1")->SetVisible(false);
    SetCaption(Format("Translation Editor - %s", {AnsiString("Extended Translations")}));
    CallDummyOnSelectCell();
}

// ---------------------------------------------------------------------------
// The grid's cells

void TzxTransEditFrm::Grid1DrawCell(TObject*, Integer ACol, Integer ARow, TRect Rect,
                                    TGridDrawState State) {
    TCanvas* canvas = Grid1->Canvas();
    const bool fixed = State.Contains(gdFixed);
    const AnsiString text = Grid1->Cells(ACol, ARow);
    if (!fixed && (State.Contains(gdSelected) || State.Contains(gdFocused))) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->Font()->SetColor(clHighlightedText);
    } else {
        canvas->Brush()->SetColor(clBase);
        canvas->Font()->SetColor(clText);
        const bool duplicate = StringsShown() && ARow > 0 && !Grid1->Cells(0, ARow).empty() &&
                               FHighlightDuplicates && IsDuplicateKey(ARow);
        if (duplicate)
            canvas->Brush()->SetColor(DuplicateColor);
        if (text.empty() && !duplicate)
            canvas->Brush()->SetColor(FHighlightColor);
    }
    canvas->Brush()->SetStyle(bsSolid);
    // A language's cells are drawn in a font that shows its script.
    AnsiString fontName;
    Byte charset = static_cast<Byte>(Font()->Charset());
    if (!fixed && ACol > 0 && (ExtendedShown() || (FCurrentType != stFonts &&
                                                   FCurrentType != stCharSets)))
        GetFontSettings(ACol, ARow, fontName, charset);
    canvas->Font()->SetName(fontName.empty() ? Font()->Name() : fontName);
    canvas->Font()->SetCharset(static_cast<TFontCharSet>(charset));
    if (fixed) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(Rect);
        canvas->Pen()->SetColor(clLight);
        canvas->MoveTo(Rect.Left, Rect.Bottom - 1);
        canvas->LineTo(Rect.Left, Rect.Top);
        canvas->LineTo(Rect.Right - 1, Rect.Top);
        canvas->Pen()->SetColor(clDark);
        canvas->LineTo(Rect.Right - 1, Rect.Bottom - 1);
        canvas->LineTo(Rect.Left, Rect.Bottom - 1);
        canvas->Font()->SetColor(clButtonText);
    } else {
        canvas->FillRect(Rect);
    }
    Integer shift = 0;
    if (ARow == 0 && ACol == FPressedColumn) {
        canvas->Pen()->SetColor(clDark);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(Rect.Left - 1, Rect.Top - 1, Rect.Right + 1, Rect.Bottom + 1);
        canvas->Brush()->SetStyle(bsSolid);
        shift = 2;
    }
    if (ARow == 0 && ACol == FSortColumn) {
        // A triangle of three lines, lit from the top left.
        const Integer r = Rect.Right;
        const Integer t = Rect.Top;
        auto line = [canvas](TColor Colour, Integer X1, Integer Y1, Integer X2, Integer Y2) {
            canvas->Pen()->SetColor(Colour);
            canvas->MoveTo(X1, Y1);
            canvas->LineTo(X2, Y2);
        };
        if (SortDirectionAscending()) {
            line(clLight, r - 11, t + 3, r - 17, t + 9);
            line(clDark, r - 17, t + 9, r - 6, t + 9);
            line(clDark, r - 6, t + 9, r - 11, t + 3);
        } else {
            line(clLight, r - 17, t + 4, r - 6, t + 4);
            line(clLight, r - 17, t + 4, r - 10, t + 10);
            line(clDark, r - 10, t + 10, r - 6, t + 4);
        }
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(Rect, Rect.Left + 2 + shift, Rect.Top + 2 + shift, text,
                     AlignLeft | ExpandTabs);
    canvas->Brush()->SetStyle(bsSolid);
    if (!fixed && State.Contains(gdSelected))
        canvas->DrawFocusRect(Rect);
    canvas->Brush()->SetColor(clBase);
}

void TzxTransEditFrm::CallDummyOnSelectCell() {
    if (!Grid1->Visible())
        return;
    bool canSelect = true;
    Grid1SelectCell(Grid1, Grid1->Col(), Grid1->Row(), canSelect);
}

void TzxTransEditFrm::Grid1GetEditText(TObject*, Integer ACol, Integer ARow, AnsiString& Value) {
    CheckActions();
    if (ACol == 0) {
        FOldCellText = UTF8Decode(Value);
        FNewCellText.clear();
        FCountedKey = Value;
        FCountedRow = ARow;
    } else if (ARow > 0 && (ExtendedShown() ||
                            (FCurrentType != stFonts && FCurrentType != stCharSets))) {
        // The text is typed in the language's font.
        AnsiString fontName;
        Byte charset = static_cast<Byte>(Font()->Charset());
        GetFontSettings(ACol, ARow, fontName, charset);
        Grid1->Font()->SetName(fontName.empty() ? Font()->Name() : fontName);
        Grid1->Font()->SetCharset(static_cast<TFontCharSet>(charset));
        ShowRowWidths(ACol, ARow);
    }
}

// The widths window beside the edited cell, one entry per language.
void TzxTransEditFrm::ShowRowWidths(Integer ACol, Integer ARow) {
    std::vector<AnsiString> names;
    std::vector<WideString> texts;
    for (Integer column = 1; column < Grid1->ColCount(); ++column) {
        names.push_back(Grid1->Cells(column, 0));
        texts.push_back(UTF8Decode(Grid1->Cells(column, ARow)));
    }
    const TRect cell = Grid1->CellRect(ACol, ARow);
    const TPoint topLeft = Grid1->ClientToScreen(TPoint{cell.Left, cell.Top});
    const TPoint bottomRight = Grid1->ClientToScreen(TPoint{cell.Right, cell.Bottom});
    ShowWidthTooltip(names, texts, Rect(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y), 1);
}

void TzxTransEditFrm::Grid1SetEditText(TObject*, Integer ACol, Integer ARow,
                                       const AnsiString& Value) {
    CheckActions();
    AnsiString text = Value;
    const AnsiString fault = LineTextFault(ACol, text);
    if (!fault.empty()) {
        // The cell keeps the text without the characters that would split
        // or corrupt the line.
        const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
        std::erase_if(text, [&](char Ch) {
            return Ch == delimiter ||
                   (ACol == 0 && !ExtendedShown() && (Ch == '=' || Ch == '\r' || Ch == '\n'));
        });
        if (Grid1->EditorMode()) {
            // The cell editor's text is put right too; that change comes
            // back here and is handled as any other.
            Grid1->InplaceEditor()->SetText(text);
            MessageDlg(fault + ".", mtError, {mbOk}, 0);
            return;
        }
        Grid1->SetCells(ACol, ARow, text);
        MessageDlg(fault + ".", mtError, {mbOk}, 0);
    }
    FModified = true;
    if (ACol == 0) {
        KeyEdited(ARow, text);
        const WideString value = UTF8Decode(text);
        AnsiString rowText;
        for (Integer column = 0; column < Grid1->ColCount(); ++column)
            rowText += Grid1->Cells(column, ARow) + "\r\n";
        const bool complete = !FNewCellText.empty() && !FOldCellText.empty() &&
                              FOldCellText != FNewCellText && FNewCellText == value &&
                              Trim(rowText) != text;
        if (complete) {
            if (FChangeStrID &&
                MessageDlg(Format("Would you like to auto-replace\nID: \"%s\"\nto\nID: "
                                  "\"%s\"\nin unit's source?",
                                  {UTF8Encode(FOldCellText), UTF8Encode(FNewCellText)}),
                           mtConfirmation, mbYesNo, 0) == mrYes) {
                const WideString from = FOldCellText;
                WideString to = FNewCellText;
                FOldCellText.clear();
                FNewCellText.clear();
                FChangeStrID(FEditedOwner->Name(), from, to);
            }
            FOldCellText.clear();
            FNewCellText.clear();
        } else {
            FNewCellText = value;
        }
    }
    if (ACol > 0) {
        // The window lives while the cell's editor does.
        if (!Grid1->EditorMode())
            HideWidthTooltip();
        else if (!ExtendedShown() || tkStrings.Contains(RowPropertyType(ARow)))
            UpdateLanguageWidthTooltip(ACol - 1, UTF8Decode(text));
    }
    AdjustRowHeight(ARow);
}

// ---------------------------------------------------------------------------
// Menu commands

void TzxTransEditFrm::ApplyFilterExecute(TObject* Sender) {
    auto* component = dynamic_cast<TComponent*>(Sender);
    if (!component)
        return;
    const Integer mode = std::clamp(static_cast<Integer>(component->Tag()), 0, 3);
    FFilterMode = mode;
    ApplyFilter(mode);
    if (auto* item = dynamic_cast<TMenuItem*>(Sender))
        item->SetChecked(true);
}

void TzxTransEditFrm::miFindClick(TObject*) {
    fdOnGrid->Execute();
}

void TzxTransEditFrm::fdOnGridFind(TObject*) {
    DoFind(fdOnGrid->FindText(), fdOnGrid->Options().Contains(frDown),
           fdOnGrid->Options().Contains(frMatchCase));
}

void TzxTransEditFrm::miCloseClick(TObject*) {
    Grid1->SetEditorMode(false);
    if (FModified) {
        if (!CloseFilter())
            return;
        FCloseConfirmed = true;
    }
    Close();
}

void TzxTransEditFrm::CloseSaved1Click(TObject*) {
    Grid1->SetEditorMode(false);
    HideWidthTooltip();
    if (!FModified) {
        Close();
        return;
    }
    if (StringsShown() && !CheckStringIDs())
        return;
    if (!CheckLineTexts())
        return;
    // The command's name promises the edits: they are written back without
    // the close question.
    FResult = true;
    FCloseConfirmed = true;
    SetModalResult(mrOk);
}
