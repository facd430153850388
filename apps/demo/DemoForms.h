// The demo application's forms. Each form class loads its shipped form file
// (text format) when it is made, so everything the user sees -- controls,
// texts, translations -- comes from those files; the classes add only the
// program code: the order data, the strings fetched by identifier and the
// event handlers the files name.
#pragma once

#include "editor/QzxLangRT.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxLangCombo.h"
#include "runtime/QzxLngLnk.h"

#include "clx/ComCtrls.h"
#include "clx/DB.h"
#include "clx/Forms.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include <vector>

// The directory of the shipped form files, ending with a path delimiter.
const AnsiString& DemoFilesDir();
void SetDemoFilesDir(const AnsiString& Dir);

// Where the program reads and the user's corrections write the translation
// file Name: beside the program's settings, copied from the shipped file of
// that name on first use, so that the shipped file is never written. A name
// with a directory stays as it is.
AnsiString UserTranslationFile(const AnsiString& Name);

// Registers the form classes and their event handlers for form files, after
// the platform's and the runtime's classes. Idempotent.
void RegisterDemoClasses();

// The translation component of a form, or nullptr.
TzxCustomLang* TranslationComponentOf(TComponent* Form);

// One order of the sample data.
struct TDemoOrder {
    Integer Number;
    const char* Customer;
    double Amount;
};
const std::vector<TDemoOrder>& DemoOrders();

// One line of the order the order form shows.
struct TDemoOrderLine {
    const char* Article;
    Integer Quantity;
};
const std::vector<TDemoOrderLine>& DemoOrderLines();

// The data module shared by the forms: the dispatcher that gives them one
// language.
class TDemoData : public TDataModule {
    ZX_CLASS(TDemoData, TDataModule)
public:
    explicit TDemoData(TComponent* AOwner) : TDataModule(AOwner) {}
    void AfterConstruction() override;

    TzxLangDispatcher* LangDispatcher = nullptr;
};

// The main form: customer details, the order list, the status bar texts
// fetched by identifier, the date in the language's format.
class TMainForm : public TForm {
    ZX_CLASS(TMainForm, TForm)
public:
    explicit TMainForm(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    // The date the status bar shows (today when the form is made).
    TDateTime ShownDate() const { return FShownDate; }
    void SetShownDate(TDateTime Value);

    TzxLangRT* Lang = nullptr;
    TzxLangCombo* LanguageCombo = nullptr;
    TEdit* NameEdit = nullptr;
    TComboBox* ShippingCombo = nullptr;
    TMemo* NotesMemo = nullptr;
    TLabel* FieldLabel = nullptr;
    TListView* OrdersList = nullptr;
    TTreeView* CustomersTree = nullptr;
    TStatusBar* StatusBar = nullptr;
    TStringField* CustomersName = nullptr;

    // Event handlers named by the form file.
    void FormCreate(TObject* Sender);
    void LangChangeLanguage(TObject* Sender);
    void LanguageComboChange(TObject* Sender);
    void OrdersButtonClick(TObject* Sender);
    void AboutButtonClick(TObject* Sender);
    // The user corrects the translations; what is saved shows at once and
    // is read again at the next start.
    void TranslateItemClick(TObject* Sender);
    void ExitItemClick(TObject* Sender);
    void RefreshItemClick(TObject* Sender);

private:
    void FillOrders();
    // The texts that program code makes: status bar and field caption.
    void UpdateProgramTexts();

    TDateTime FShownDate = 0;
    // Set once the fields above point at the form's controls.
    bool FControlsKnown = false;
};

// The order form: its translations come from the shipped translation file
// through the dispatcher, its message texts from the main form's component.
class TOrdersForm : public TForm {
    ZX_CLASS(TOrdersForm, TForm)
public:
    explicit TOrdersForm(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TzxLangLinked* Lang = nullptr;
    TEdit* OrderEdit = nullptr;
    TEdit* CustomerEdit = nullptr;
    TListView* LinesList = nullptr;

    void DeleteButtonClick(TObject* Sender);
    void CloseButtonClick(TObject* Sender);
};

// The component of class T named Name on Owner; EComponentError when there
// is none of that class.
template <typename T> T* RequiredComponent(TComponent* Owner, const AnsiString& Name) {
    T* component = dynamic_cast<T*>(Owner->FindComponent(Name));
    if (!component)
        throw EComponentError(Format("%s has no %s named %s",
                                     {Owner->Name(), T::StaticClass()->Name, Name}));
    return component;
}
