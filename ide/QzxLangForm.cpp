#include "ide/QzxLangForm.h"

#include "ide/Q_BadIDsForm.h"

#include "editor/FormData.h"
#include "rtl/Filer.h"
#include "ide/Q_about.h"
#include "ide/Q_expopt.h"
#include "ide/QzxLangExp.h"
#include "runtime/QzxComp.h"

std::string_view FormData_QzxLangForm();

namespace {

const char* const MakerAddress = "https://www.talvenko.com/";
const char* const ProductAddress = "https://www.talvenko.com/tzxlang/";
// The maker's other products, by the Tag (from 1) of their "More Products"
// entry.
const char* const ProductPages[] = {"https://www.talvenko.com/tzxlang/tools/",
                                    "https://www.talvenko.com/tzxlang/dictionaries/"};

constexpr TColor StateImageMask = static_cast<TColor>(0xFF00FF);
// A stored width outside these bounds would hide a column or push the
// others out of the window.
constexpr Integer MinColumnWidth = 16;
constexpr Integer MaxColumnWidth = 2000;

// The row text a column shows: the caption for column 0.
AnsiString ColumnText(const TListItem* Row, Integer Column) {
    return Column == 0 ? Row->Caption() : RowText(Row, static_cast<TFormRowText>(Column - 1));
}

} // namespace

AnsiString RowText(const TListItem* Row, TFormRowText Which) {
    TStrings* subItems = Row->SubItems();
    return Which < subItems->Count() ? subItems->Get(Which) : AnsiString();
}

void SetRowText(TListItem* Row, TFormRowText Which, const AnsiString& Value) {
    TStrings* subItems = Row->SubItems();
    while (subItems->Count() <= Which)
        subItems->Add("");
    subItems->Put(Which, Value);
}

// ---------------------------------------------------------------------------
// Creation, showing and closing

void TfrmzxLang::AfterConstruction() {
    RegisterClxClasses();
    InitQzxComp();
    if (!GetClass("TfrmzxLang")) {
        RegisterClass(TfrmzxLang::StaticClass());
        RegisterMethod("FormCreate", &TfrmzxLang::FormCreate);
        RegisterMethod("FormShow", &TfrmzxLang::FormShow);
        RegisterMethod("FormClose", &TfrmzxLang::FormClose);
        RegisterMethod("FormActivate", &TfrmzxLang::FormActivate);
        RegisterMethod("lvFormNamesChange", &TfrmzxLang::lvFormNamesChange);
        RegisterMethod("lvFormNamesColumnClick", &TfrmzxLang::lvFormNamesColumnClick);
        RegisterMethod("HintMouseMove", &TfrmzxLang::HintMouseMove);
        RegisterMethod("sbCloseClick", &TfrmzxLang::sbCloseClick);
        RegisterMethod("sbOptionsClick", &TfrmzxLang::sbOptionsClick);
        RegisterMethod("sbAboutClick", &TfrmzxLang::sbAboutClick);
        RegisterMethod("SelectAll1Click", &TfrmzxLang::SelectAll1Click);
        RegisterMethod("Stayontop1Click", &TfrmzxLang::Stayontop1Click);
        RegisterMethod("Docable1Click", &TfrmzxLang::Docable1Click);
        RegisterMethod("TalvenkoHomePage1Click", &TfrmzxLang::TalvenkoHomePage1Click);
        RegisterMethod("TzxLangPage1Click", &TfrmzxLang::TzxLangPage1Click);
        RegisterMethod("MoreProductsClick", &TfrmzxLang::MoreProductsClick);
        RegisterMethod("sbCaptionsClick", &TfrmzxLang::sbCaptionsClick);
        RegisterMethod("sbLanguagesClick", &TfrmzxLang::sbLanguagesClick);
        RegisterMethod("sbLoadAllClick", &TfrmzxLang::sbLoadAllClick);
        RegisterMethod("sbSaveAllClick", &TfrmzxLang::sbSaveAllClick);
        RegisterMethod("lvFormNamesKeyDown", &TfrmzxLang::lvFormNamesKeyDown);
        RegisterMethod("Translatesource1Click", &TfrmzxLang::Translatesource1Click);
        RegisterMethod("TranslateUnit1Click", &TfrmzxLang::TranslateUnit1Click);
        RegisterMethod("Const1Click", &TfrmzxLang::Const1Click);
        RegisterMethod("WithoutForm1Click", &TfrmzxLang::WithoutForm1Click);
        RegisterMethod("sbWizardClick", &TfrmzxLang::sbWizardClick);
        RegisterMethod("Findword1Click", &TfrmzxLang::Findword1Click);
        RegisterMethod("Replacephrase1Click", &TfrmzxLang::Replacephrase1Click);
        RegisterMethod("Viewform1Click", &TfrmzxLang::Viewform1Click);
        RegisterMethod("Savepropertiestofile1Click", &TfrmzxLang::Savepropertiestofile1Click);
        RegisterMethod("Savepropertiestofileforallforms1Click",
                       &TfrmzxLang::Savepropertiestofileforallforms1Click);
        RegisterMethod("Updatetranslation1Click", &TfrmzxLang::Updatetranslation1Click);
        RegisterMethod("Cleartranslations1Click", &TfrmzxLang::Cleartranslations1Click);
        RegisterMethod("Excludeproperties1Click", &TfrmzxLang::Excludeproperties1Click);
        RegisterMethod("CheckunusedIDs1Click", &TfrmzxLang::CheckunusedIDs1Click);
        RegisterMethod("CheckbadstringIDsinunit1Click", &TfrmzxLang::CheckbadstringIDsinunit1Click);
    }
    ReadFormData(FormData_QzxLangForm(), this);
    lvFormNames = FormControl<TListView>(this, "lvFormNames");
    StatusBar1 = FormControl<TStatusBar>(this, "StatusBar1");
    MainMenu1 = FormControl<TMainMenu>(this, "MainMenu1");
    PopupMenu1 = FormControl<TPopupMenu>(this, "PopupMenu1");
    ToolBar1 = FormControl<TToolBar>(this, "ToolBar1");
    sbBadIDs = FormControl<TToolButton>(this, "sbBadIDs");
    ilStates = FormControl<TImageList>(this, "ilStates");
    FormStorage = FormControl<TzxFormStorage>(this, "FormStorage");
    CheckBadIDs1 = FormControl<TMenuItem>(this, "CheckBadIDs1");
    ChangeType1 = FormControl<TMenuItem>(this, "ChangeType1");
    DictionaryManager1 = FormControl<TMenuItem>(this, "DictionaryManager1");
    HelpTopics1 = FormControl<TMenuItem>(this, "HelpTopics1");
    Stayontop1 = FormControl<TMenuItem>(this, "Stayontop1");
    Docable1 = FormControl<TMenuItem>(this, "Docable1");
    odLoad = FormControl<TOpenDialog>(this, "odLoad");
    sdSave = FormControl<TSaveDialog>(this, "sdSave");
    TForm::AfterConstruction();
}

void TfrmzxLang::ReleaseRowNotifiers() {
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        if (auto* notifier = static_cast<TzxModuleNotifier*>(rows->Item(index)->Data())) {
            rows->Item(index)->SetData(nullptr);
            notifier->Unregister();
            notifier->Release();
        }
}

void TfrmzxLang::BeforeDestruction() {
    if (lvFormNames)
        ReleaseRowNotifiers();
    TForm::BeforeDestruction();
}

TfrmzxLang::~TfrmzxLang() {
    if (frmzxLang == this)
        frmzxLang = nullptr;
    // The dock host owns the window: its destruction brings the window's.
    if (DockForm && DockForm->ComponentState().Contains(csDestroying))
        DockForm = nullptr;
}

void TfrmzxLang::FormCreate(TObject*) {
    ilStates->AddMasked(FormControl<TImage>(this, "imgNoLang")->Picture()->Bitmap(),
                        StateImageMask);
    ilStates->AddMasked(FormControl<TImage>(this, "imgHasLang")->Picture()->Bitmap(),
                        StateImageMask);
    FormStorage->SetMyActive(true);
    FormControl<TMenuItem>(this, "N_Dock")->SetVisible(true);
    Stayontop1->SetVisible(true);
    Docable1->SetVisible(true);
    for (std::size_t index = 0; index < NamesArray.size(); ++index) {
        auto* entry = NewComponent<TMenuItem>(this);
        entry->SetCaption("&" + IntToStr(static_cast<Integer>(index + 1)) + ". " + NamesArray[index]);
        entry->OnClick = [this](TObject* Sender) { ToTzxLang1Click(Sender); };
        ChangeType1->Add(entry);
    }
    DictionaryManager1->SetEnabled(false);
    HelpTopics1->SetEnabled(false);
}

void TfrmzxLang::FormShow(TObject*) {
    if (FzxLangExpert && !Trim(FzxLangExpert->ColumnWidths).empty())
        ApplyColumnWidths(Trim(FzxLangExpert->ColumnWidths));
}

// At most one entry per column: more entries than columns are left over,
// and a width is kept within bounds.
void TfrmzxLang::ApplyColumnWidths(const AnsiString& Widths) {
    TStringList entries;
    entries.SetCommaText(Widths);
    TListColumns* columns = lvFormNames->Columns();
    const Integer count = std::min(entries.Count(), columns->Count());
    for (Integer index = 0; index < count; ++index) {
        Integer width = 0;
        if (TryStrToInt(entries[index], width))
            columns->Items(index)->SetWidth(std::clamp(width, MinColumnWidth, MaxColumnWidth));
    }
}

AnsiString TfrmzxLang::ColumnWidthsText() const {
    TStringList widths;
    TListColumns* columns = lvFormNames->Columns();
    for (Integer index = 0; index < columns->Count(); ++index)
        widths.Add(IntToStr(columns->Items(index)->Width()));
    return widths.CommaText();
}

void TfrmzxLang::FormClose(TObject* Sender, TCloseAction& Action) {
    try {
        if (FzxLangExpert) {
            FzxLangExpert->SetColumnWidths(ColumnWidthsText());
            FzxLangExpert->ProjectClosed();
        }
        delete frmBadIDs;
        // Closed on its own while docked: the empty host goes as well.
        if (TForm* host = DockHost(); host && Sender == this) {
            DockForm = nullptr;
            host->Release();
        }
    } catch (...) {
    }
    Action = caFree;
}

void TfrmzxLang::FormActivate(TObject*) { ActivateClassGroup(TzxCustomLang::StaticClass()); }

TForm* TfrmzxLang::DockHost() const {
    return DockForm && Owner() == DockForm ? DockForm : nullptr;
}

// ---------------------------------------------------------------------------
// The list

void TfrmzxLang::UpdateStatusBar() {
    TListItems* rows = lvFormNames->Items();
    Integer translated = 0;
    for (Integer index = 0; index < rows->Count(); ++index)
        if (!RowText(rows->Item(index), rtComponentClass).empty())
            ++translated;
    const Integer units = FzxLangExpert ? FzxLangExpert->ProjectUnitNames->Count() : 0;
    TStatusPanels* panels = StatusBar1->Panels();
    panels->Items(0)->SetText(Format("Forms count: %d", {rows->Count()}));
    panels->Items(1)->SetText(Format("Units count: %d", {units}));
    panels->Items(2)->SetText(Format("Forms translated: %d of %d", {translated, rows->Count()}));
}

TListItem* TfrmzxLang::FormRow(const AnsiString& FormName) const {
    TListItems* rows = lvFormNames->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        if (rows->Item(index)->Caption() == FormName)
            return rows->Item(index);
    return nullptr;
}

TListItem* TfrmzxLang::GetNextSelectedItem(TListItem* Row) const {
    TListItems* rows = lvFormNames->Items();
    const Integer start = rows->IndexOf(Row);
    for (Integer step = 1; step < rows->Count(); ++step) {
        TListItem* next = rows->Item((start + step) % rows->Count());
        if (next->Selected())
            return next;
    }
    return nullptr;
}

void TfrmzxLang::lvFormNamesChange(TObject*, TListItem*, TItemChange) {
    const bool anySelected = lvFormNames->SelCount() > 0;
    TListItem* focused = lvFormNames->ItemFocused();
    if (!focused || !focused->Selected())
        focused = lvFormNames->Selected();
    const bool focusedHasComponent =
        focused && !RowText(focused, rtComponentClass).empty();
    for (Integer index = 0; index < ComponentCount(); ++index) {
        TComponent* each = Components(index);
        if (each->Tag() <= 0)
            continue;
        if (auto* button = dynamic_cast<TToolButton*>(each))
            button->SetEnabled(anySelected);
        else if (auto* item = dynamic_cast<TMenuItem*>(each)) {
            if (item->Tag() == TagNeedsComponent)
                item->SetEnabled(anySelected && focusedHasComponent);
            else if (item->Tag() != TagWholeProjectAlways)
                item->SetEnabled(anySelected);
        }
    }
    if (focused && FzxLangExpert)
        FzxLangExpert->CurrentComponentClass = RowText(focused, rtComponentClass);
    sbBadIDs->SetEnabled(CheckBadIDs1->Enabled());
}

void TfrmzxLang::SortRows() {
    if (!FzxLangExpert)
        return;
    const Integer direction = FzxLangExpert->SortOrder > 0 ? 1 : -1;
    lvFormNames->CustomSort(
        [direction](TListItem* First, TListItem* Second, Integer Column) {
            return direction *
                   AnsiCompareText(ColumnText(First, Column), ColumnText(Second, Column));
        },
        FzxLangExpert->SortedColumn);
}

void TfrmzxLang::lvFormNamesColumnClick(TObject*, TListColumn* Column) {
    if (!FzxLangExpert)
        return;
    FzxLangExpert->SetSortOrder(-FzxLangExpert->SortOrder);
    FzxLangExpert->SetSortedColumn(Column->Index());
    SortRows();
}

void TfrmzxLang::HintMouseMove(TObject* Sender, TShiftState, Integer, Integer) {
    if (auto* control = dynamic_cast<TControl*>(Sender))
        StatusBar1->SetSimpleText(GetLongHint(control->Hint()));
}

void TfrmzxLang::SelectAll1Click(TObject*) { lvFormNames->SelectAll(); }

// ---------------------------------------------------------------------------
// Window commands

void TfrmzxLang::sbCloseClick(TObject*) {
    if (TForm* host = DockHost())
        host->Close();
    else
        Close();
}

void TfrmzxLang::Stayontop1Click(TObject*) {
    Stayontop1->SetChecked(!Stayontop1->Checked());
    TForm* window = DockHost() ? DockHost() : this;
    window->SetFormStyle(Stayontop1->Checked() ? fsStayOnTop : fsNormal);
}

void TfrmzxLang::Docable1Click(TObject*) {
    if (DockHost())
        Docable1->SetChecked(!Docable1->Checked());
}

void TfrmzxLang::sbOptionsClick(TObject*) {
    if (FzxLangExpert)
        EditExpertOptions(*FzxLangExpert);
}

void TfrmzxLang::sbAboutClick(TObject* Sender) {
    if (FzxLangExpert)
        FzxLangExpert->DisplayAboutBox(Sender);
}

void TfrmzxLang::TalvenkoHomePage1Click(TObject*) { LaunchBrowser(MakerAddress); }

void TfrmzxLang::TzxLangPage1Click(TObject*) { LaunchBrowser(ProductAddress); }

void TfrmzxLang::MoreProductsClick(TObject* Sender) {
    const Integer tag = static_cast<TComponent*>(Sender)->Tag();
    if (tag >= 1 && tag <= static_cast<Integer>(std::size(ProductPages)))
        LaunchBrowser(ProductPages[tag - 1]);
}
