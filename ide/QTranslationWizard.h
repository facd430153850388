// The Translation Wizard: places translation components on chosen forms of
// the project and links them to a dispatcher or gives them languages, and
// sets the common container of the linked ones, in one pass over the forms.
#pragma once

#include "clx/ComCtrls.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/ImgList.h"
#include "clx/StdCtrls.h"

#include <array>
#include <initializer_list>
#include <set>

// The wizard's pages, in order.
enum TWizardPage { wpWelcome, wpInsert, wpFineTune, wpProgress, wpCompleted };
inline constexpr Integer WizardPageCount = 5;

// The "Used" text of a form without translation component.
inline constexpr const char* NoComponentUsed = "(none)";

// The columns of a chosen form's row after its caption.
enum TWizardRowText { wrUsed, wrInsert };

// The tasks of the progress page, in order.
enum TWizardTask { wtDispatcher, wtContainer, wtInsert };

// The state images of a task.
enum TWizardTaskState { tsPending, tsRunning, tsDone, tsSkipped };

class TfrmTranslationWizard : public TForm {
    ZX_CLASS(TfrmTranslationWizard, TForm)
public:
    explicit TfrmTranslationWizard(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;

    TPanel* pnlPicture = nullptr;
    TLabel* lbTitle = nullptr;
    TLabel* lbDescription = nullptr;
    TButton* btBack = nullptr;
    TButton* btNext = nullptr;
    TButton* btClose = nullptr;
    std::array<TPanel*, WizardPageCount> Pages{};
    // Page 1
    TListView* lvSelectedForms = nullptr;
    TComboBox* cbTzxLangToInsert = nullptr;
    // Page 2
    TRadioButton* rbSetDispatcher = nullptr;
    TRadioButton* rbSetManually = nullptr;
    TLabel* lbDispatcherForm = nullptr;
    TComboBox* cbDispatcherForm = nullptr;
    TLabel* lbDispatcherComponent = nullptr;
    TComboBox* cbDispatcherComponent = nullptr;
    TButton* btCreateNewDispatcher = nullptr;
    TButton* btConfigDispatcher = nullptr;
    TEdit* edLanguagesToUse = nullptr;
    TButton* btConfigLanguages = nullptr;
    TCheckBox* ckbSetCommonContainer = nullptr;
    TLabel* lbCommonContainerForm = nullptr;
    TComboBox* cbCommonContainerForm = nullptr;
    TLabel* lbCommonContainerComponent = nullptr;
    TComboBox* cbCommonContainerComponent = nullptr;
    // Page 3
    TListView* lvProgress = nullptr;
    TProgressBar* pbOverAll = nullptr;

    Integer ActivePage() const { return FActivePage; }
    void ShowPage(Integer Page);

    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void btMoveClick(TObject* Sender);
    void lvSelectedFormsChange(TObject* Sender, TListItem* Item, TItemChange Change);
    void cbTzxLangToInsertChange(TObject* Sender);
    void lbStructureClick(TObject* Sender);
    void rbOptionClick(TObject* Sender);
    void cbDispatcherFormChange(TObject* Sender);
    void cbDispatcherComponentChange(TObject* Sender);
    void btCreateNewDispatcherClick(TObject* Sender);
    void btConfigDispatcherClick(TObject* Sender);
    void btConfigLanguagesClick(TObject* Sender);
    void ckbSetCommonContainerClick(TObject* Sender);
    void cbCommonContainerFormChange(TObject* Sender);
    void cbCommonContainerComponentChange(TObject* Sender);

    // The work of the progress page.
    void PerformRequestedActions();
    // A new list (the caller frees it) of the names in edLanguagesToUse.
    TStringList* GetLangListFromEdit() const;
    // The names of Owner's components of one of the classes, in owner order.
    static void FillComponentsList(TComponent* Owner, TStrings* Target,
                                   std::initializer_list<TClass> Classes);
    void ReActivate();
    bool CanGoNextDispatcher() const;
    bool CanGoNextCommon() const;

private:
    void UpdateNext();
    void UpdateFineTuneControls();
    void SetTaskState(TWizardTask Task, TWizardTaskState State);
    void StepProgress();
    TComponent* ObtainDispatcher();
    TComponent* ObtainContainer();
    void InsertAndConfigure(TListItem* Chosen, TComponent* Dispatcher, TComponent* Container);
    // Sets the component's object property Name to Value, made reachable
    // from the form's unit first.
    void LinkProperty(const AnsiString& FormName, TComponent* Component, const char* Name,
                      TComponent* Value);
    void SaveAndCloseOpenedForms(TComponent* Dispatcher, TComponent* Container);
    TListItem* ChosenRow(const AnsiString& FormName) const;

    Integer FActivePage = wpWelcome;
    // The files of the project's forms open when the wizard was shown, and
    // those the walk opened.
    std::set<AnsiString> FOpenAtStart;
    std::set<AnsiString> FToSaveAndClose;
};

// The preview of the recommended structure: closes on any click.
class TfrmStructurePreview : public TForm {
    ZX_CLASS(TfrmStructurePreview, TForm)
public:
    explicit TfrmStructurePreview(TComponent* AOwner) : TForm(AOwner) {}
    void AfterConstruction() override;
    void PreviewClick(TObject* Sender);
};
