// The editor's cell editors -- the in-place combo over a cell of the Fonts
// and CharSets lists, the multi-line editor, the set editor -- the grid
// events that open them, and the font each language cell is drawn in.
#include "editor/QzxTransEditor_Grid.h"

#include "editor/Q_deffonts.h"
#include "editor/QzxMultilineEdit.h"
#include "editor/QzxSetEdit.h"

#include "clx/ExtCtrls.h"
#include "clx/Keys.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

namespace {

AnsiString CharsetName(Integer Ordinal) {
    return GetEnumName(TypeInfoOf(TFontCharSet{}), Ordinal);
}

// The set's element names a cell holds: "a,b", with or without brackets
// and blanks, as the runtime reads a set.
std::unique_ptr<TStringList> SetElements(const AnsiString& Text) {
    AnsiString names = Trim(Text);
    if (!names.empty() && names.front() == '[')
        names.erase(0, 1);
    if (!names.empty() && names.back() == ']')
        names.pop_back();
    auto elements = std::make_unique<TStringList>();
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t comma = names.find(',', start);
        if (comma == AnsiString::npos)
            comma = names.size();
        const AnsiString name = Trim(names.substr(start, comma - start));
        if (!name.empty())
            elements->Add(name);
        start = comma + 1;
    }
    return elements;
}

} // namespace

// ---------------------------------------------------------------------------
// The in-place combo

void TzxTransEditFrm::MakeInplaceCombo(TStringsType Kind) {
    FInplaceCombo = NewComponent<TComboBox>(this);
    FInplaceCombo->SetParent(Grid1->Parent());
    FInplaceCombo->Font()->SetColor(clText);
    FInplaceCombo->Hide();
    FInplaceCombo->SetHint("Ctrl-Del clear field");
    FInplaceCombo->SetShowHint(true);
    const TRect cell = Grid1->CellRect(1, 1);
    FInplaceCombo->SetBounds(0, 0, cell.Width(), cell.Height());
    FInplaceCombo->SetPopupMenu(popInplace);
    if (Kind == stFonts)
        FInplaceCombo->Items()->Assign(Screen->Fonts());
    else
        for (Integer ordinal = 0; ordinal < FontCharSetCount; ++ordinal)
            FInplaceCombo->Items()->Add(CharsetName(ordinal));
    FInplaceCombo->OnChange = [this](TObject* Sender) { InplaceComboChange(Sender); };
    FInplaceCombo->OnExit = [this](TObject* Sender) { InplaceComboExit(Sender); };
    FInplaceCombo->OnKeyDown = [this](TObject* Sender, Integer& Key, TShiftState Shift) {
        InplaceComboKeyDown(Sender, Key, Shift);
    };
}

void TzxTransEditFrm::FreeInplaceCombo() {
    if (popInplace && popInplace->PopupComponent() == FInplaceCombo)
        popInplace->SetPopupComponent(nullptr);
    delete FInplaceCombo;
    FInplaceCombo = nullptr;
}

// The control lies over the remembered cell, in the coordinates of the
// grid's parent; showing it is the caller's business.
void TzxTransEditFrm::SetupCombos(TControl* Control) {
    Control->Hide();
    const TRect cell = Grid1->CellRect(FComboCol, FComboRow);
    Control->SetBounds(Grid1->Left() + cell.Left + 1, Grid1->Top() + cell.Top, cell.Width(),
                       cell.Height());
    if (auto* combo = dynamic_cast<TComboBox*>(Control)) {
        combo->SetItemIndex(combo->Items()->IndexOf(Grid1->Cells(FComboCol, FComboRow)));
        combo->SetItemHeight(cell.Height());
    }
    if (Control == FInplaceCombo)
        popInplace->SetPopupComponent(Control);
}

void TzxTransEditFrm::InplaceComboChange(TObject*) {
    Grid1->SetCells(FComboCol, FComboRow, FInplaceCombo->Text());
    FModified = true;
}

void TzxTransEditFrm::InplaceComboExit(TObject*) {
    FInplaceCombo->Hide();
}

void TzxTransEditFrm::InplaceComboKeyDown(TObject*, Integer& Key, TShiftState) {
    if (Key == Key_Tab)
        FInplaceCombo->Hide();
}

// ---------------------------------------------------------------------------
// Grid events that open the cell editors

void TzxTransEditFrm::Grid1SelectCell(TObject*, Integer ACol, Integer ARow, bool&) {
    CheckActions();
    if (ExtendedShown() || (FCurrentType != stFonts && FCurrentType != stCharSets) ||
        !FInplaceCombo)
        return;
    TGridOptions options = Grid1->Options();
    options.Exclude(goEditing);
    Grid1->SetOptions(options);
    FComboCol = ACol;
    FComboRow = ARow;
    FInplaceCombo->Hide();
    SetupCombos(FInplaceCombo);
    FInplaceCombo->Show();
    if (FInplaceCombo->CanFocus())
        FInplaceCombo->SetFocus();
}

void TzxTransEditFrm::FormShow(TObject*) {
    if (Grid1->CanFocus())
        Grid1->SetFocus();
    CallDummyOnSelectCell();
}

void TzxTransEditFrm::Grid1TopLeftChanged(TObject*) {
    if (FInplaceCombo)
        FInplaceCombo->Hide();
}

void TzxTransEditFrm::VSplitterMoved(TObject*) {
    if (!ExtendedShown() && (FCurrentType == stFonts || FCurrentType == stCharSets))
        CallDummyOnSelectCell();
}

void TzxTransEditFrm::Grid1DblClick(TObject* Sender) {
    const bool multiLines = !ExtendedShown() && FCurrentType == stMultiLines;
    if (multiLines || IsExtendedTStrings()) {
        if (Grid1->Col() != 0 && Grid1->Row() != 0)
            OpenMultilineEditor(mrtCommaText);
        if (Grid1->CanFocus())
            Grid1->SetFocus();
        if (Sender == Grid1)
            CallDummyOnSelectCell();
        return;
    }
    if (!ExtendedShown() && (FCurrentType == stFonts || FCurrentType == stCharSets)) {
        if (FInplaceCombo) {
            FInplaceCombo->Show();
            if (FInplaceCombo->CanFocus())
                FInplaceCombo->SetFocus();
        }
        return;
    }
    if (ExtendedShown() && RowPropertyType(Grid1->Row()) == tkSet && Grid1->Col() != 0)
        OpenSetEditor();
}

void TzxTransEditFrm::miMultilineClick(TObject*) {
    OpenMultilineEditor(!ExtendedShown() && FCurrentType == stLocales ? mrtCommaText : mrtText);
}

void TzxTransEditFrm::miFontClick(TObject*) {
    InitQ_deffonts();
    if (DefFontsDlg(DefFontsList) == mrOk)
        Grid1->Invalidate();
}

// ---------------------------------------------------------------------------
// The multi-line and set editors

void TzxTransEditFrm::OpenMultilineEditor(TMemoReturnText ReturnKind) {
    const Integer col = Grid1->Col();
    const Integer row = Grid1->Row();
    AnsiString fontName;
    Byte charset = static_cast<Byte>(Font()->Charset());
    GetFontSettings(col, row, fontName, charset);
    AnsiString value;
    if (!ShowMultilineEditor(Grid1->Cells(col, row), Grid1->Cells(0, row), ReturnKind,
                             fontName.empty() ? Font()->Name() : fontName, charset, value))
        return;
    Grid1->SetCells(col, row, value);
    FModified = true;
    AdjustRowHeight(row);
}

bool TzxTransEditFrm::ShowMultilineEditor(const AnsiString& Text, const AnsiString& PropName,
                                          TMemoReturnText ReturnKind,
                                          const AnsiString& FontName, Byte Charset,
                                          AnsiString& Value) {
    return ::ShowMultilineEditor(Text, PropName, ReturnKind, FontName, Charset, Value,
                                 Grid1->EditorMode() ? Grid1->InplaceEditor() : nullptr);
}

bool TzxTransEditFrm::ShowSetEditor(TStrings* Items, TStrings* Selected,
                                    const AnsiString& Caption) {
    return ::ShowSetEditor(Items, Selected, Caption);
}

// The items are the element names of the property's set type; OK writes
// the checked ones back as the runtime reads a set ("a,b").
void TzxTransEditFrm::OpenSetEditor() {
    const Integer col = Grid1->Col();
    const Integer row = Grid1->Row();
    const AnsiString path = Grid1->Cells(0, row);
    TObject* holder = FEditedComponent->GetObjByPath(UTF8Decode(path));
    const std::size_t point = path.rfind('.');
    PPropInfo info = holder && point != AnsiString::npos
                         ? GetPropInfo(holder, path.substr(point + 1), TTypeKinds{tkSet})
                         : nullptr;
    if (!info || !info->PropType->CompType)
        return;
    auto items = std::make_unique<TStringList>();
    for (const AnsiString& name : info->PropType->CompType->EnumNames)
        items->Add(name);
    std::unique_ptr<TStringList> selected = SetElements(Grid1->Cells(col, row));
    if (!ShowSetEditor(items.get(), selected.get(), path))
        return;
    AnsiString text;
    for (Integer index = 0; index < selected->Count(); ++index)
        text += (index > 0 ? "," : "") + selected->Get(index);
    Grid1->SetCells(col, row, text);
    FModified = true;
    AdjustRowHeight(row);
}

TTypeKind TzxTransEditFrm::RowPropertyType(Integer ARow) const {
    if (ARow < 1 || ARow >= Grid1->RowCount())
        return tkUnknown;
    const auto stored = reinterpret_cast<std::intptr_t>(Grid1->Objects(0, ARow));
    return stored > 0 ? static_cast<TTypeKind>(stored - 1) : tkUnknown;
}

bool TzxTransEditFrm::IsExtendedTStrings() {
    return ExtendedShown() && RowPropertyType(Grid1->Row()) == tkClass;
}

// ---------------------------------------------------------------------------
// Fonts of the language cells

// The table of fonts per language is never filled: every language gets the
// record's defaults.
TFontInfo TzxTransEditFrm::GetFontName(const AnsiString& Name) const {
    return TFontInfo{1, Name.substr(0, 100), "MS Sans Serif"};
}

bool TzxTransEditFrm::IsFontInfo(const AnsiString&) const {
    return false;
}

// The column's header is the language name. Lists without components
// take the language's recorded font, and every list falls back on the
// default fonts of the language, so that a column is drawn in a font that
// can show its script.
void TzxTransEditFrm::GetFontSettings(Integer Col, Integer Row, AnsiString& FontName,
                                      Byte& Charset) {
    const AnsiString language = Grid1->Cells(Col, 0);
    const bool componentLess = !ExtendedShown() && (FCurrentType == stDlgsCaptions ||
                                                    FCurrentType == stStrings ||
                                                    FCurrentType == stLocales);
    if (componentLess) {
        if (IsFontInfo(language)) {
            const TFontInfo info = GetFontName(language);
            FontName = info.FontName;
            Charset = info.Charset;
            return;
        }
    } else {
        const AnsiString key = Grid1->Cells(0, Row);
        if (key.empty())
            return;
        const WideString component = UTF8Decode(key.substr(0, key.find('.')));
        const WideString ownerClass = UTF8Decode(FEditedOwner->ClassName());
        AnsiString name;
        if (TStrings* charSets = FWorkingCopy->GetPropListByType(stCharSets)) {
            for (auto [who, language] : {std::pair{component, Col}, std::pair{ownerClass, Col},
                                         std::pair{ownerClass, 1}})
                if (name.empty())
                    name = UTF8Encode(FWorkingCopy->GetStringValue(*charSets, who, language));
        }
        if (name.empty())
            name = "DEFAULT_CHARSET";
        for (Integer ordinal = 0; ordinal < FontCharSetCount; ++ordinal)
            if (CharsetName(ordinal) == name)
                Charset = static_cast<Byte>(ordinal);
        if (FontName.empty()) {
            if (IsFontInfo(language)) {
                FontName = GetFontName(language).FontName;
            } else if (TStrings* fonts = FWorkingCopy->GetPropListByType(stFonts)) {
                for (Integer language : {Col, 1})
                    if (FontName.empty())
                        FontName =
                            UTF8Encode(FWorkingCopy->GetStringValue(*fonts, ownerClass, language));
            }
        }
    }
    if (FontName.empty() && DefFontsList) {
        Charset = static_cast<Byte>(DefFontsList->GetLangCharset(language));
        FontName = DefFontsList->GetLangFontName(language);
    }
}
