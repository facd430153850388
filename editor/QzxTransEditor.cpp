// The editor's entry, the copy in and out of the working copy, the
// identifier check, the close question and the editor's settings.
#include "editor/QzxTransEditor.h"

#include "editor/FormData.h"
#include "editor/Q_WidthsTooltip.h"
#include "editor/Q_deffonts.h"
#include "editor/QzxTransEditor_Grid.h"
#include "runtime/QRegistry.h"
#include "runtime/QzxLngLnk.h"

#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Grids.h"
#include "clx/Menus.h"
#include "rtl/Filer.h"

#include <algorithm>

std::string_view FormData_QzxTransEditor();

TNavigateToSource NavigateToSource;
TNotifyEvent ShowAboutBox;

namespace {

const char* const DelimiterKey = "\\Software\\Talvenko\\TzxLang";
const char* const EditorFormKey = "\\Software\\Borland\\TzxLang\\EditorForm";
const char* const DefaultDelimiter = "~!@#";
constexpr TColor DefaultHighlightColor = 0x00E0FFFF;
constexpr Integer DefaultColumnWidth = 120;

// A size read from the settings file: the default when it is no size at
// all, at most the screen's.
Integer SaneSize(Integer Value, Integer Default, Integer Limit) {
    if (Value <= 0)
        return Default;
    return std::min(Value, Limit);
}

} // namespace

// ---------------------------------------------------------------------------
// Entry

bool TransEditorDlg(TzxCustomLang* Lang, TStringsType Kind, Integer StartIndex, TShowFlags Flags,
                    const TChangeStrIDEvent& OnChangeStrID) {
    // The lines are keyed by the owner's class name, so a component without
    // owner can neither be shown nor written back.
    if (!Lang->Owner())
        throw Exception(Format("The translation component %s has no owner: the Translation "
                               "Editor edits only components that lie on a form or data module",
                               {Lang->Name()}));
    InitQzxTransEditor();
    std::unique_ptr<TzxTransEditFrm> form(NewForm<TzxTransEditFrm>(Application));
    auto freeWorkingCopy = [&form] {
        delete form->FWorkingCopy;
        form->FWorkingCopy = nullptr;
    };
    try {
        if (Flags.Contains(sfRunTime)) {
            form->MenuItem("About1")->SetVisible(false);
            form->MenuItem("N7")->SetVisible(false);
        }
        form->FFlags = Flags;
        form->FCurrentType = Kind;
        form->FChangeStrID = OnChangeStrID;
        if (StartIndex > 0)
            form->FStartRow = StartIndex;
        form->GetProperties(Lang);
        if (StartIndex > 0)
            form->FStartRow = StartIndex;
        form->FOwnerClassName = Lang->Owner()->ClassName();
        if (Flags.Contains(sfSaveAsClose)) {
            TzxTransEditFrm* editor = form.get();
            form->ActionNamed("acGeneralSave")->OnExecute = [editor](TObject* Sender) {
                editor->miCloseClick(Sender);
            };
            form->MenuItem("miClose")->SetVisible(false);
            form->MenuItem("N1")->SetVisible(false);
        }
        form->ShowModal();
        bool result = form->FResult;
        if (result)
            form->SetProperties(Lang);
        freeWorkingCopy();
        form.reset();
        return result;
    } catch (...) {
        freeWorkingCopy();
        throw;
    }
}

void InitQzxTransEditor() {
    RegisterClxClasses();
    InitQzxComp();
    // The widths window translates itself with a linked component.
    InitQzxLngLnk();
    // The language columns are drawn in the default fonts, also in a
    // program that opens the editor at run time.
    InitQ_deffonts();
    if (GetClass("TzxTransEditFrm"))
        return;
    RegisterClass(TzxTransEditFrm::StaticClass());
    RegisterMethod("FormCreate", &TzxTransEditFrm::FormCreate);
    RegisterMethod("FormDestroy", &TzxTransEditFrm::FormDestroy);
    RegisterMethod("FormCloseQuery", &TzxTransEditFrm::FormCloseQuery);
    RegisterMethod("TreeViewChanging", &TzxTransEditFrm::TreeViewChanging);
    RegisterMethod("TreeViewChange", &TzxTransEditFrm::TreeViewChange);
    RegisterMethod("tabsTranslationsChange", &TzxTransEditFrm::tabsTranslationsChange);
    RegisterMethod("Grid1DrawCell", &TzxTransEditFrm::Grid1DrawCell);
    RegisterMethod("Grid1SelectCell", &TzxTransEditFrm::Grid1SelectCell);
    RegisterMethod("Grid1GetEditText", &TzxTransEditFrm::Grid1GetEditText);
    RegisterMethod("Grid1SetEditText", &TzxTransEditFrm::Grid1SetEditText);
    RegisterMethod("ApplyFilterExecute", &TzxTransEditFrm::ApplyFilterExecute);
    RegisterMethod("miFindClick", &TzxTransEditFrm::miFindClick);
    RegisterMethod("fdOnGridFind", &TzxTransEditFrm::fdOnGridFind);
    RegisterMethod("miCloseClick", &TzxTransEditFrm::miCloseClick);
    RegisterMethod("CloseSaved1Click", &TzxTransEditFrm::CloseSaved1Click);
    RegisterMethod("FormShow", &TzxTransEditFrm::FormShow);
    RegisterMethod("Grid1DblClick", &TzxTransEditFrm::Grid1DblClick);
    RegisterMethod("Grid1TopLeftChanged", &TzxTransEditFrm::Grid1TopLeftChanged);
    RegisterMethod("VSplitterMoved", &TzxTransEditFrm::VSplitterMoved);
    RegisterMethod("miMultilineClick", &TzxTransEditFrm::miMultilineClick);
    RegisterMethod("miFontClick", &TzxTransEditFrm::miFontClick);
    RegisterMethod("TreeViewCollapsing", &TzxTransEditFrm::TreeViewCollapsing);
    RegisterMethod("sbLoadClick", &TzxTransEditFrm::sbLoadClick);
    RegisterMethod("sbSaveClick", &TzxTransEditFrm::sbSaveClick);
    RegisterMethod("EditExecute", &TzxTransEditFrm::EditExecute);
    RegisterMethod("sbAddClick", &TzxTransEditFrm::sbAddClick);
    RegisterMethod("sbDelClick", &TzxTransEditFrm::sbDelClick);
    RegisterMethod("sbClearClick", &TzxTransEditFrm::sbClearClick);
    RegisterMethod("acAddRowUpdate", &TzxTransEditFrm::acAddRowUpdate);
    RegisterMethod("Grid1KeyDown", &TzxTransEditFrm::Grid1KeyDown);
    RegisterMethod("Grid1KeyUp", &TzxTransEditFrm::Grid1KeyUp);
    RegisterMethod("Grid1MouseDown", &TzxTransEditFrm::Grid1MouseDown);
    RegisterMethod("Grid1MouseUp", &TzxTransEditFrm::Grid1MouseUp);
    RegisterMethod("miExcludeBlanksClick", &TzxTransEditFrm::miExcludeBlanksClick);
    RegisterMethod("pmiExcludeClick", &TzxTransEditFrm::pmiExcludeClick);
    RegisterMethod("popGridPopup", &TzxTransEditFrm::popGridPopup);
    RegisterMethod("popInplacePopup", &TzxTransEditFrm::popInplacePopup);
    RegisterMethod("Propagate1Click", &TzxTransEditFrm::Propagate1Click);
    RegisterMethod("miClearFieldClick", &TzxTransEditFrm::miClearFieldClick);
    RegisterMethod("Highlightduplicates1Click", &TzxTransEditFrm::Highlightduplicates1Click);
    RegisterMethod("acStringsFindInSourceExecute", &TzxTransEditFrm::acStringsFindInSourceExecute);
    RegisterMethod("About1Click", &TzxTransEditFrm::About1Click);
    RegisterMethod("miLanguagesClick", &TzxTransEditFrm::miLanguagesClick);
    RegisterMethod("miCheckFmtStrClick", &TzxTransEditFrm::miCheckFmtStrClick);
    RegisterMethod("Statistics1Click", &TzxTransEditFrm::Statistics1Click);
    RegisterMethod("acExtendedFindByNameUpdate", &TzxTransEditFrm::acExtendedFindByNameUpdate);
    RegisterMethod("acExtendedFindByNameExecute", &TzxTransEditFrm::acExtendedFindByNameExecute);
    RegisterMethod("acExtendedFindNextUpdate", &TzxTransEditFrm::acExtendedFindNextUpdate);
    RegisterMethod("acExtendedFindNextExecute", &TzxTransEditFrm::acExtendedFindNextExecute);
    RegisterMethod("acExtendedAddByNameExecute", &TzxTransEditFrm::acExtendedAddByNameExecute);
    RegisterMethod("tvExtendedChange", &TzxTransEditFrm::tvExtendedChange);
    RegisterMethod("tvExtendedDblClick", &TzxTransEditFrm::tvExtendedDblClick);
}

// ---------------------------------------------------------------------------
// The form

TzxTransEditFrm::~TzxTransEditFrm() = default;

void TzxTransEditFrm::AfterConstruction() {
    ReadFormData(FormData_QzxTransEditor(), this);
    TreeView = Control<TTreeView>("TreeView");
    tvExtended = Control<TTreeView>("tvExtended");
    VSplitter = Control<TSplitter>("VSplitter");
    pnlBackground = Control<TPanel>("pnlBackground");
    Grid1 = Control<TStringGrid>("Grid1");
    tabsTranslations = Control<TTabControl>("tabsTranslations");
    StatusBar = Control<TStatusBar>("StatusBar");
    odLoad = Control<TOpenDialog>("odLoad");
    sdSave = Control<TSaveDialog>("sdSave");
    fdOnGrid = Control<TFindDialog>("fdOnGrid");
    MainMenu = Control<TMainMenu>("MainMenu");
    popGrid = Control<TPopupMenu>("popGrid");
    popInplace = Control<TPopupMenu>("popInplace");
    TForm::AfterConstruction();
}

template <typename T> T* TzxTransEditFrm::Control(const AnsiString& Name) {
    return FormControl<T>(this, Name);
}

TMenuItem* TzxTransEditFrm::MenuItem(const AnsiString& Name) {
    return Control<TMenuItem>(Name);
}

TAction* TzxTransEditFrm::ActionNamed(const AnsiString& Name) {
    return Control<TAction>(Name);
}

bool TzxTransEditFrm::ExtendedShown() const {
    return tvExtended->Visible();
}

Integer TzxTransEditFrm::LanguageCount() const {
    return Grid1->ColCount() - 1;
}

void TzxTransEditFrm::SetTypeCaption(const AnsiString& TypeName) {
    SetCaption("Translation Editor - " + TypeName);
}

void TzxTransEditFrm::FormCreate(TObject*) {
    FSortColumn = -1;
    FPressedColumn = -1;
    FStartRow = 1;
    FLastColumn = -1;
    RestoreSettings();
    MenuItem("miHelp")->SetVisible(false);
    MenuItem("miDictionary")->SetVisible(false);
    for (const char* name :
         {"acDictionaryShow", "acDictionaryAddRow", "acDictionaryAddAll",
          "acDictionaryFindTranslation", "acDictionarySuggest", "acDictionaryAutoTranslate"})
        ActionNamed(name)->SetEnabled(false);
    MenuItem("miClose")->SetShortCut(scNone);
    Font()->SetName("Helvetica");
    Font()->SetSize(12);
    FSourceID.clear();
    FSortPrefix = "IDS_";
    FExtendedOnly = false;
    FFindText.clear();
    FAddText.clear();
    Grid1->SetDefaultRowHeight(Grid1->Canvas()->TextHeight("H") + 4);
}

void TzxTransEditFrm::FormDestroy(TObject*) {
    ClearHidden();
    HideWidthTooltip();
    FreeInplaceCombo();
    SaveSettings();
    if (NavigateToSource && !FSourceID.empty())
        NavigateToSource(FSourceID, true);
}

// ---------------------------------------------------------------------------
// Copy in

void TzxTransEditFrm::GetProperties(TzxCustomLang* Lang) {
    TMenuItem* display = MenuItem("miDisplay");
    for (Integer index = 0; index < display->Count(); ++index)
        if (display->Items(index)->Tag() == FFilterMode) {
            display->Items(index)->SetChecked(true);
            break;
        }
    TTreeNode* root = TreeView->Items()->Add(nullptr, "Translations");
    FEditedComponent = Lang;
    FWorkingCopy = static_cast<TzxCustomLang*>(CreateComponent(Lang->ClassType(), nullptr));
    FEditedOwner = Lang->Owner();
    FWorkingCopy->SetName(Lang->ClassName() + "tmpComponent");
    FWorkingCopy->LangNames()->Assign(Lang->LangNames());
    FWorkingCopy->SetNumLang(Lang->NumOfLanguages());
    FWorkingCopy->SetLangDelim(Lang->LangDelim());
    if (FFlags.Contains(sfDesignTime)) {
        FWorkingCopy->SmartExcludeProps()->Assign(Lang->SmartExcludeProps());
        FWorkingCopy->DoNotTranslate()->Assign(Lang->DoNotTranslate());
        FWorkingCopy->ExcludedProperties()->Assign(Lang->ExcludedProperties());
    }
    FExtendedOnly = FFlags.Contains(sfExtended) && !FFlags.Contains(sfFull);
    bool full = FFlags.Contains(sfFull) && !FExtendedOnly;
    TreeView->SetVisible(full);
    VSplitter->SetVisible(full || FExtendedOnly);
    if (!FFlags.Contains(sfSelected))
        FCurrentType = FLastType;
    // A type the class does not publish cannot be shown: the first one it
    // publishes stands in.
    if (!Lang->GetPropListByType(FCurrentType))
        for (Integer kind = 0; kind < StringsTypeCount; ++kind)
            if (Lang->GetPropListByType(static_cast<TStringsType>(kind))) {
                FCurrentType = static_cast<TStringsType>(kind);
                break;
            }
    if (FExtendedOnly) {
        FWorkingCopy->SetExtendedTranslations(Lang->ExtendedTranslations());
        tabsTranslations->SetVisible(false);
        tvExtended->SetVisible(true);
        BuildExtendedTree(Lang);
    } else if (full) {
        for (Integer kind = 0; kind < StringsTypeCount; ++kind) {
            auto type = static_cast<TStringsType>(kind);
            TStrings* source = Lang->GetPropListByType(type);
            TStrings* target = FWorkingCopy->GetPropListByType(type);
            if (!source || !target)
                continue;
            target->Assign(source);
            TTreeNode* node = TreeView->Items()->AddChild(root, TypeName(type));
            node->SetImageIndex(1);
            node->SetSelectedIndex(1);
            node->SetData(reinterpret_cast<void*>(static_cast<std::intptr_t>(kind + 1)));
            if (type == FCurrentType) {
                FBuildingTree = true;
                node->SetSelected(true);
            }
            FBuildingTree = false;
        }
        root->Expand(false);
        FWorkingCopy->SetExtendedTranslations(Lang->ExtendedTranslations());
        tabsTranslations->SetVisible(true);
        BuildExtendedTree(Lang);
    } else {
        TStrings* source = Lang->GetPropListByType(FCurrentType);
        TStrings* target = FWorkingCopy->GetPropListByType(FCurrentType);
        if (!source || !target)
            throw Exception(
                Format("The component does not have \"%s\" property", {TypeName(FCurrentType)}));
        target->Assign(source);
        tabsTranslations->SetVisible(false);
    }
    if (FFlags.Contains(sfRunTime)) {
        MenuItem("miExcludeBlanks")->SetVisible(false);
        MenuItem("pmiExclude")->SetVisible(false);
    }
    if (FExtendedOnly)
        SetCaption(Format("Translation Editor - %s", {AnsiString("Extended Translations")}));
    else
        SetTypeCaption(TypeName(FCurrentType));
    RestoreColumns();
    BuildGrid(FCurrentType, FExtendedOnly);
    // Only identifiers can be duplicated.
    MenuItem("Highlightduplicates1")->SetVisible(StringsShown());
    if (FStartRow > 1 && FStartRow < Grid1->RowCount())
        Grid1->SetRow(FStartRow);
    if (Grid1->FixedCols() <= FLastColumn && FLastColumn < Grid1->ColCount())
        Grid1->SetCol(FLastColumn);
    FModified = false;
    CheckActions();
}

// ---------------------------------------------------------------------------
// Copy out

void TzxTransEditFrm::SetProperties(TzxCustomLang* Lang) {
    // Everything is taken from the grid and checked before the component
    // changes, so that it gets either all of the edits or none.
    UpdateProperty(FCurrentType, ExtendedShown());
    TStrings* names = FWorkingCopy->LangNames();
    if (Lang->ActiveLanguage() > names->Count())
        Lang->SetActLang(std::max(names->Count(), 1));
    if (!FExtendedOnly) {
        Lang->SetLangNames(names);
        Lang->SetNumLang(FWorkingCopy->NumOfLanguages());
        Lang->SetLangDelim(FWorkingCopy->LangDelim());
        if (FFlags.Contains(sfDesignTime)) {
            Lang->DoNotTranslate()->Assign(FWorkingCopy->DoNotTranslate());
            Lang->SmartExcludeProps()->Assign(FWorkingCopy->SmartExcludeProps());
            Lang->ExcludedProperties()->Assign(FWorkingCopy->ExcludedProperties());
        }
        auto writeBack = [&](TStringsType Kind) {
            TStrings* source = FWorkingCopy->GetPropListByType(Kind);
            TStrings* target = Lang->GetPropListByType(Kind);
            if (source && target)
                target->Assign(source);
        };
        if (FFlags.Contains(sfFull))
            for (Integer kind = 0; kind < StringsTypeCount; ++kind)
                writeBack(static_cast<TStringsType>(kind));
        else
            writeBack(FCurrentType);
    }
    if (FFlags.Contains(sfFull) || FExtendedOnly)
        Lang->SetExtendedTranslations(FWorkingCopy->ExtendedTranslations());
    // The identifier index answers GetText from the list it was built on.
    Lang->UpdateStrCollections();
    Lang->ChangeLanguage();
}

void TzxTransEditFrm::UpdateProperty(TStringsType Kind, bool Extended) {
    if (!Extended && Kind == stStrings)
        FIDsWidth = Grid1->ColWidths(0);
    if (FFilterMode != 0)
        ApplyFilter(0);
    auto names = std::make_unique<TStringList>();
    for (Integer column = 1; column < Grid1->ColCount(); ++column)
        names->Add(Grid1->Cells(column, 0));
    FWorkingCopy->LangNames()->Assign(names.get());
    if (!Extended) {
        if (Kind == stFonts || Kind == stCharSets)
            FreeInplaceCombo();
        TStrings* target = FWorkingCopy->GetPropListByType(Kind);
        if (target) {
            auto lines = std::make_unique<TStringList>();
            for (const AnsiString& line : GridLines(0))
                lines->Add(line);
            target->Assign(lines.get());
        }
    } else {
        TzxExtendedItems* items = FWorkingCopy->ExtendedTranslations();
        std::vector<AnsiString> keys;
        std::vector<AnsiString> lines = GridLines(1);
        Integer line = 0;
        for (Integer row = 1; row < Grid1->RowCount(); ++row) {
            const AnsiString key = Grid1->Cells(0, row);
            if (key.empty())
                continue;
            keys.push_back(AnsiUpperCase(key));
            if (TzxExtendedItem* item = items->Find(key))
                item->SetValues(lines[static_cast<std::size_t>(line)]);
            ++line;
        }
        std::sort(keys.begin(), keys.end());
        for (Integer index = items->Count() - 1; index >= 0; --index)
            if (!std::binary_search(keys.begin(), keys.end(),
                                    AnsiUpperCase(items->Items(index)->GetIdentifier())))
                delete items->Items(index);
    }
    FStartRow = 1;
    FSortColumn = -1;
}

// The lines of the rows with a key: the cells from FirstColumn on, each
// followed by the delimiter.
std::vector<AnsiString> TzxTransEditFrm::GridLines(Integer FirstColumn) const {
    const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
    std::vector<AnsiString> lines;
    lines.reserve(static_cast<std::size_t>(Grid1->RowCount()));
    for (Integer row = 1; row < Grid1->RowCount(); ++row) {
        if (Grid1->Cells(0, row).empty())
            continue;
        // The first cell stands where a line's key does; every field,
        // the last included, is followed by the delimiter.
        const Integer values = Grid1->ColCount() - 1 - FirstColumn;
        TzxTranslationLine line(Grid1->Cells(FirstColumn, row), values, delimiter);
        for (Integer value = 1; value <= values; ++value)
            line.SetValue(value, Grid1->Cells(FirstColumn + value, row));
        lines.push_back(line.Text());
    }
    return lines;
}

// ---------------------------------------------------------------------------
// Checks before a write-back

bool TzxTransEditFrm::CheckStringIDs() {
    if (FFilterMode != 0)
        ApplyFilter(0);
    auto showError = [this](Integer Row, const AnsiString& Text) {
        SelectCell(0, Row);
        MessageDlg("Error", Text, mtError, {mbOk}, 0);
    };
    std::vector<Integer> blankRows;
    Integer emptyKeyRow = 0;
    for (Integer row = Grid1->RowCount() - 1; row >= 1 && emptyKeyRow == 0; --row) {
        AnsiString rowText;
        for (Integer column = 0; column < Grid1->ColCount(); ++column)
            rowText += Grid1->Cells(column, row) + "\n";
        if (Trim(rowText).empty())
            blankRows.push_back(row);
        else if (Trim(Grid1->Cells(0, row)).empty())
            emptyKeyRow = row;
    }
    DeleteGridRows(*Grid1, blankRows);
    DuplicatesChanged();
    if (emptyKeyRow > 0) {
        showError(emptyKeyRow,
                  "There is an empty string identifier in line: " + IntToStr(emptyKeyRow) + "\n" +
                      "Either remove the row or specify unique identifier.");
        return false;
    }
    auto ids = std::make_unique<TStringList>();
    for (Integer row = 1; row < Grid1->RowCount(); ++row)
        if (!Grid1->Cells(0, row).empty())
            ids->Add(Grid1->Cells(0, row));
    ids->Sort();
    for (Integer index = 0; index + 1 < ids->Count(); ++index) {
        const AnsiString id = ids->Get(index);
        if (AnsiCompareText(id, ids->Get(index + 1)) != 0)
            continue;
        Integer row = 1;
        while (row < Grid1->RowCount() - 1 && AnsiCompareText(Grid1->Cells(0, row), id) != 0)
            ++row;
        showError(row, "There is duplicate identifier: " + id + "\n" +
                           "Either remove one or specify different identifiers.");
        return false;
    }
    return true;
}

// The delimiter inside a value, or "=", a line break or the delimiter inside
// a key, would split or corrupt the line in the list and in ".zxl" files.
AnsiString TzxTransEditFrm::LineTextFault(Integer ACol, const AnsiString& Value) const {
    const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
    const bool keyColumn = ACol == 0 && !ExtendedShown();
    if (Value.find(delimiter) != AnsiString::npos)
        return Format("The text may not contain the delimiter character #%d of the translations",
                      {Integer(static_cast<Byte>(delimiter))});
    if (keyColumn && Value.find_first_of("=\r\n") != AnsiString::npos)
        return "An identifier may not contain \"=\" or a line break";
    return "";
}

bool TzxTransEditFrm::CheckLineTexts() {
    for (Integer row = 1; row < Grid1->RowCount(); ++row)
        for (Integer column = 0; column < Grid1->ColCount(); ++column) {
            AnsiString fault = LineTextFault(column, Grid1->Cells(column, row));
            if (fault.empty())
                continue;
            SelectCell(column, row);
            MessageDlg("Error", fault + Format(" (line %d).", {row}), mtError, {mbOk}, 0);
            return false;
        }
    return true;
}

bool TzxTransEditFrm::CloseFilter() {
    Integer answer = MessageDlg("Confirm",
                                "The translation information was modified. Do you want to save "
                                "changes?",
                                mtConfirmation, mbYesNoCancel, 0);
    if (answer == mrYes) {
        FResult = true;
        // Nothing that would corrupt a line or a file leaves the editor.
        if (FFilterMode != 0 && !ExtendedShown() && FCurrentType != stStrings)
            ApplyFilter(0);
        if (StringsShown() && !CheckStringIDs())
            return false;
        return CheckLineTexts();
    }
    if (answer == mrNo) {
        FResult = false;
        return true;
    }
    return false;
}

void TzxTransEditFrm::FormCloseQuery(TObject*, bool& CanClose) {
    Grid1->SetEditorMode(false);
    if (!FModified || FCloseConfirmed)
        return;
    CanClose = CloseFilter();
    if (!CanClose)
        FResult = false;
}

// ---------------------------------------------------------------------------
// Settings

void TzxTransEditFrm::RestoreSettings() {
    auto settings = std::make_unique<TRegistry>(this);
    settings->SetRootKey("Default_Section");
    settings->OpenKey(DelimiterKey, true);
    FDelimiter = settings->ValueExists("Delimiter") ? settings->ReadString("Delimiter")
                                                    : AnsiString(DefaultDelimiter);
    settings->OpenKey(EditorFormKey, true);
    auto integer = [&](const char* Name, Integer Default) {
        return settings->ValueExists(Name) ? settings->ReadInteger(Name) : Default;
    };
    FHighlightColor = DefaultHighlightColor;
    if (settings->ValueExists("HighlightColor")) {
        try {
            FHighlightColor = StringToColor(settings->ReadString("HighlightColor"));
        } catch (const EConvertError&) {
        }
    }
    Integer lastType = integer("LastProperty", 0);
    FLastType = lastType >= 0 && lastType < StringsTypeCount ? static_cast<TStringsType>(lastType)
                                                             : stCaptions;
    FLastColumn = integer("LastCol", 1);
    FStartRow = integer("LastRow", 1);
    Integer filter = integer("LastFilter", 0);
    FFilterMode = filter >= 0 && filter <= 3 ? filter : 0;
    FLeftColumn = integer("LeftCol", 0);
    FTopRow = integer("TopRow", 0);
    TakeSettingsBounds(integer("Left", 0), integer("Top", 0), integer("Width", 640),
                       integer("Height", 480));
    Integer state = integer("WindowState", 0);
    SetWindowState(state >= wsNormal && state <= wsMaximized ? static_cast<TWindowState>(state)
                                                             : wsNormal);
    FTreeViewWidth = SaneSize(integer("TreeViewWidth", 180), 180, Screen->Width() / 2);
    TreeView->SetWidth(FTreeViewWidth);
    FHighlightDuplicates = settings->ValueExists("HighlightDuplicates")
                               ? settings->ReadBool("HighlightDuplicates")
                               : true;
    MenuItem("Highlightduplicates1")->SetChecked(FHighlightDuplicates);
    FIDsWidth = SaneSize(integer("LastIDsWidth", 180), 180, Screen->Width());
}

// The window stays on the screen whatever the file says.
void TzxTransEditFrm::TakeSettingsBounds(Integer Left, Integer Top, Integer Width, Integer Height) {
    const Integer screenWidth = Screen->Width();
    const Integer screenHeight = Screen->Height();
    Width = SaneSize(Width, 640, screenWidth);
    Height = SaneSize(Height, 480, screenHeight);
    Left = std::clamp(Left, 0, std::max(screenWidth - Width, 0));
    Top = std::clamp(Top, 0, std::max(screenHeight - Height, 0));
    SetBounds(Left, Top, Width, Height);
}

void TzxTransEditFrm::SaveSettings() {
    auto settings = std::make_unique<TRegistry>(this);
    settings->SetRootKey("Default_Section");
    settings->OpenKey(DelimiterKey, true);
    settings->WriteString("Delimiter", FDelimiter);
    settings->OpenKey(EditorFormKey, true);
    settings->WriteString("HighlightColor", ColorToString(FHighlightColor));
    settings->WriteInteger("LastProperty", static_cast<Integer>(FCurrentType));
    settings->WriteInteger("LastCol", Grid1->Col());
    settings->WriteInteger("LastRow", Grid1->Row());
    settings->WriteInteger("LastFilter", FFilterMode);
    settings->WriteInteger("LeftCol", Grid1->LeftCol());
    settings->WriteInteger("TopRow", Grid1->TopRow());
    settings->WriteInteger("WindowState", static_cast<Integer>(WindowState()));
    if (WindowState() == wsNormal) {
        settings->WriteInteger("Left", Left());
        settings->WriteInteger("Top", Top());
        settings->WriteInteger("Width", Width());
        settings->WriteInteger("Height", Height());
    }
    settings->WriteInteger("TreeViewWidth", TreeView->Width());
    for (Integer column = 1; column < Grid1->ColCount(); ++column)
        settings->WriteInteger("ColumnWidth" + IntToStr(column), Grid1->ColWidths(column));
    settings->WriteBool("HighlightDuplicates", FHighlightDuplicates);
    settings->WriteInteger("LastIDsWidth", FIDsWidth);
}

void TzxTransEditFrm::RestoreColumns() {
    Grid1->SetColCount(FWorkingCopy->NumOfLanguages() + 1);
    auto settings = std::make_unique<TRegistry>(this);
    settings->OpenKey(EditorFormKey, true);
    for (Integer column = 1; column < Grid1->ColCount(); ++column) {
        const AnsiString name = "ColumnWidth" + IntToStr(column);
        Integer width =
            settings->ValueExists(name) ? settings->ReadInteger(name) : DefaultColumnWidth;
        Grid1->SetColWidths(column, SaneSize(width, DefaultColumnWidth, Screen->Width()));
    }
}
