#include "DemoForms.h"

#include "editor/QzxLangRT.h"
#include "runtime/ZxLangRuntime.h"

#include "rtl/Filer.h"

#include <filesystem>

namespace {

AnsiString& FilesDir() {
    static AnsiString dir;
    return dir;
}

} // namespace

const AnsiString& DemoFilesDir() {
    return FilesDir();
}

void SetDemoFilesDir(const AnsiString& Dir) {
    FilesDir() = IncludeTrailingPathDelimiter(Dir);
}

const std::vector<TDemoOrder>& DemoOrders() {
    static const std::vector<TDemoOrder> orders = {
        {1001, "Anna Schmidt", 1249.50},
        {1002, "John Miller", 86.00},
        {1003, "Anna Schmidt", 312.75},
        {1004, "Ivan Petrov", 2040.00},
    };
    return orders;
}

const std::vector<TDemoOrderLine>& DemoOrderLines() {
    static const std::vector<TDemoOrderLine> lines = {
        {"Desk lamp", 2},
        {"Office chair", 1},
        {"Printer paper, A4", 10},
    };
    return lines;
}

TzxCustomLang* TranslationComponentOf(TComponent* Form) {
    for (Integer index = 0; index < Form->ComponentCount(); ++index)
        if (auto* lang = dynamic_cast<TzxCustomLang*>(Form->Components(index)))
            return lang;
    return nullptr;
}

AnsiString UserTranslationFile(const AnsiString& Name) {
    if (Name.empty() || !ExtractFilePath(Name).empty())
        return Name;
    const AnsiString user = ExtractFilePath(Application->ExeName()) + Name;
    if (FileExists(user))
        return user;
    std::error_code failed;
    std::filesystem::copy_file(DemoFilesDir() + Name, user, failed);
    if (failed)
        throw EFCreateError(Format("Cannot create file \"%s\": %s", {user, failed.message()}));
    return user;
}

void RegisterDemoClasses() {
    RegisterClxClasses();
    InitZxLangRuntime();
    InitQzxLangRT();
    if (GetClass("TMainForm"))
        return;
    RegisterClass(TDemoData::StaticClass());
    RegisterClass(TMainForm::StaticClass());
    RegisterClass(TOrdersForm::StaticClass());
    RegisterMethod("FormCreate", &TMainForm::FormCreate);
    RegisterMethod("LangChangeLanguage", &TMainForm::LangChangeLanguage);
    RegisterMethod("LanguageComboChange", &TMainForm::LanguageComboChange);
    RegisterMethod("OrdersButtonClick", &TMainForm::OrdersButtonClick);
    RegisterMethod("AboutButtonClick", &TMainForm::AboutButtonClick);
    RegisterMethod("TranslateItemClick", &TMainForm::TranslateItemClick);
    RegisterMethod("ExitItemClick", &TMainForm::ExitItemClick);
    RegisterMethod("RefreshItemClick", &TMainForm::RefreshItemClick);
    RegisterMethod("DeleteButtonClick", &TOrdersForm::DeleteButtonClick);
    RegisterMethod("CloseButtonClick", &TOrdersForm::CloseButtonClick);
}

// ---------------------------------------------------------------------------
// TDemoData

void TDemoData::AfterConstruction() {
    LoadComponentFromFile(DemoFilesDir() + "DemoData.xfm", this);
    LangDispatcher = RequiredComponent<TzxLangDispatcher>(this, "LangDispatcher");
    LangDispatcher->SetFileName(UserTranslationFile(LangDispatcher->FileName()));
    TDataModule::AfterConstruction();
}

// ---------------------------------------------------------------------------
// TMainForm

void TMainForm::AfterConstruction() {
    LoadComponentFromFile(DemoFilesDir() + "MainForm.xfm", this);
    Lang = RequiredComponent<TzxLangRT>(this, "Lang");
    // The dispatcher reads at the next start what the user saves now.
    Lang->StorageFile = UserTranslationFile(Lang->StorageFile);
    LanguageCombo = RequiredComponent<TzxLangCombo>(this, "LanguageCombo");
    NameEdit = RequiredComponent<TEdit>(this, "NameEdit");
    ShippingCombo = RequiredComponent<TComboBox>(this, "ShippingCombo");
    NotesMemo = RequiredComponent<TMemo>(this, "NotesMemo");
    FieldLabel = RequiredComponent<TLabel>(this, "FieldLabel");
    OrdersList = RequiredComponent<TListView>(this, "OrdersList");
    CustomersTree = RequiredComponent<TTreeView>(this, "CustomersTree");
    StatusBar = RequiredComponent<TStatusBar>(this, "StatusBar");
    CustomersName = RequiredComponent<TStringField>(this, "CustomersName");
    FShownDate = Date();
    FControlsKnown = true;
    TForm::AfterConstruction();
}

void TMainForm::SetShownDate(TDateTime Value) {
    FShownDate = Value;
    UpdateProgramTexts();
}

// The language applies once at the start, so that the locale settings are
// the language's from the first text on; its handler fills the form.
void TMainForm::FormCreate(TObject*) {
    Lang->ChangeLanguage();
}

void TMainForm::LangChangeLanguage(TObject*) {
    // The component applies its language already while the form file is
    // read, before the program knows the controls; FormCreate applies it
    // again.
    if (!FControlsKnown)
        return;
    // The combo only shows the languages: it follows a switch made elsewhere.
    LanguageCombo->SetItemIndex(Lang->ActiveLanguage() - 1);
    // Amounts follow the language's separators, so the rows are made again.
    FillOrders();
    UpdateProgramTexts();
}

// Every form follows the dispatcher.
void TMainForm::LanguageComboChange(TObject*) {
    if (LanguageCombo->ItemIndex() >= 0)
        LanguageCombo->zxLangDispatcher()->SetActiveLanguage(LanguageCombo->ItemIndex() + 1);
}

// The list holds one row per order, the tree each customer with the
// numbers of his orders.
void TMainForm::FillOrders() {
    OrdersList->Items()->Clear();
    CustomersTree->Items()->Clear();
    for (const TDemoOrder& order : DemoOrders()) {
        TListItem* row = OrdersList->Items()->Add();
        row->SetCaption(IntToStr(order.Number));
        row->SubItems()->Add(order.Customer);
        row->SubItems()->Add(FloatToStrF(order.Amount, ffNumber, 15, 2));
        TTreeNode* customer = nullptr;
        for (TTreeNode* node = CustomersTree->Items()->GetFirstNode(); node;
             node = node->GetNextSibling())
            if (node->Text() == order.Customer)
                customer = node;
        if (!customer)
            customer = CustomersTree->Items()->Add(nullptr, order.Customer);
        CustomersTree->Items()->AddChild(customer, "#" + IntToStr(order.Number));
        customer->Expand(false);
    }
}

void TMainForm::UpdateProgramTexts() {
    FieldLabel->SetCaption(CustomersName->DisplayLabel() + ":");
    double total = 0;
    for (const TDemoOrder& order : DemoOrders())
        total += order.Amount;
    // Without a translation of the summary the first language's shows.
    AnsiString summary = UTF8Encode(Lang->GetTextOrDefault(u"SOrderSummary"));
    StatusBar->Panels()->Items(0)->SetText(
        Format(summary, {Integer(DemoOrders().size()), total}));
    AnsiString today = UTF8Encode(Lang->GetText(u"SToday"));
    StatusBar->Panels()->Items(1)->SetText(
        Format(today, {FormatDateTime(LongDateFormat, FShownDate)}));
}

void TMainForm::OrdersButtonClick(TObject*) {
    RequiredComponent<TOrdersForm>(Application, "OrdersForm")->Show();
}

void TMainForm::AboutButtonClick(TObject*) {
    Lang->MessageDlg(Lang->GetText(u"SAboutText"), mtInformation, TMsgDlgButtons{mbOk}, 0, mbOk,
                     nullptr);
}

void TMainForm::TranslateItemClick(TObject*) {
    Lang->EditAll();
}

void TMainForm::ExitItemClick(TObject*) {
    Close();
}

void TMainForm::RefreshItemClick(TObject*) {
    FillOrders();
}

// ---------------------------------------------------------------------------
// TOrdersForm

void TOrdersForm::AfterConstruction() {
    LoadComponentFromFile(DemoFilesDir() + "OrdersForm.xfm", this);
    Lang = RequiredComponent<TzxLangLinked>(this, "Lang");
    OrderEdit = RequiredComponent<TEdit>(this, "OrderEdit");
    CustomerEdit = RequiredComponent<TEdit>(this, "CustomerEdit");
    LinesList = RequiredComponent<TListView>(this, "LinesList");
    for (const TDemoOrderLine& line : DemoOrderLines()) {
        TListItem* row = LinesList->Items()->Add();
        row->SetCaption(line.Article);
        row->SubItems()->Add(IntToStr(line.Quantity));
    }
    TForm::AfterConstruction();
}

// The question comes in the active language, with the caption and button
// texts the main form's component holds; No is the default.
void TOrdersForm::DeleteButtonClick(TObject*) {
    AnsiString question = UTF8Encode(Lang->GetText(u"SDeleteOrder"));
    if (Lang->MessageDlg(UTF8Decode(Format(question, {OrderEdit->Text()})), mtConfirmation,
                         mbYesNo, 0, mbNo, nullptr) != mrYes)
        return;
    OrderEdit->SetText("");
    CustomerEdit->SetText("");
    LinesList->Items()->Clear();
}

void TOrdersForm::CloseButtonClick(TObject*) {
    Close();
}
