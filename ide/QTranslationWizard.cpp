#include "ide/QTranslationWizard.h"

#include "clx/Dialogs.h"
#include "editor/FormData.h"
#include "editor/QzxLangRT.h"
#include "ide/Q_langconfig.h"
#include "ide/QzxLangExp.h"
#include "ide/QzxLangForm.h"
#include "rtl/Filer.h"
#include "runtime/QzxComp.h"
#include "runtime/QzxLngLnk.h"
#include "runtime/QzxLngTLV.h"

#include <memory>
#include <set>

std::string_view FormData_QTranslationWizard();
std::string_view FormData_QStructurePreview();

namespace {

const char* const PageTitles[WizardPageCount] = {"Translation Wizard", "Insert components",
                                                 "Fine Tunings", "Please wait...",
                                                 "Wizard completed"};
const char* const PageDescriptions[WizardPageCount] = {
    "Welcome to Translation Wizard!",
    "Select forms to translate and components to insert and use for translation.",
    "At this page you can adjust properties for all selected components with several mouse "
    "clicks.",
    "Wizard is performing requested actions. Please wait while all actions completed.",
    "Wizard completed all requested actions."};
const char* const TaskNames[] = {"Obtain dispatcher interface",
                                 "Obtain \"CommonContainer\" interface",
                                 "Insert and configure components"};
const char* const TaskStateNames[] = {"Pending", "Running", "Done", "Skipped"};

const char* const QuitQuestion = "Are you sure want to quit Wizard?";
const char* const NewDispatcherQuestion =
    "This will insert new TzxLangDispatcher component on selected form! Continue?";
const char* const NewlyInserted = "Newly inserted (%s)";
const char* const NotAComponentClass =
    "%s is not a registered translation component class: choose another one.";

// The class registered under Name when it is a translation component class.
TClass LangClassNamed(const AnsiString& Name) {
    TClass found = GetClass(Name);
    return found && ClassInheritsFrom(found, TzxCustomLang::StaticClass()) ? found : nullptr;
}

// The classes that can hold the dialog texts and locales of linked components.
bool IsContainerClass(const AnsiString& Name) {
    TClass found = LangClassNamed(Name);
    return found && !ClassInheritsFrom(found, TzxLangLinked::StaticClass());
}

AnsiString ChosenText(const TComboBox* Box) {
    const Integer index = Box->ItemIndex();
    return index >= 0 ? Box->Items()->Get(index) : AnsiString();
}

AnsiString WizardRowText(const TListItem* Row, TWizardRowText Which) {
    TStrings* subItems = Row->SubItems();
    return Which < subItems->Count() ? subItems->Get(Which) : AnsiString();
}

void SetWizardRowText(TListItem* Row, TWizardRowText Which, const AnsiString& Value) {
    while (Row->SubItems()->Count() <= Which)
        Row->SubItems()->Add("");
    Row->SubItems()->Put(Which, Value);
}

// The expert window's row shows the component placed on its form.
void ShowPlacedOnRow(TListItem* ExpertRow, const TComponent& Placed) {
    if (const auto* lang = dynamic_cast<const TzxCustomLang*>(&Placed))
        SetRowText(ExpertRow, rtLanguages, IntToStr(lang->NumOfLanguages()));
    SetRowText(ExpertRow, rtComponentClass, Placed.ClassName());
    ExpertRow->SetStateIndex(RowWithComponent);
}

} // namespace

void TfrmTranslationWizard::AfterConstruction() {
    RegisterClxClasses();
    if (!GetClass("TfrmTranslationWizard")) {
        RegisterClass(TfrmTranslationWizard::StaticClass());
        RegisterMethod("FormShow", &TfrmTranslationWizard::FormShow);
        RegisterMethod("FormCloseQuery", &TfrmTranslationWizard::FormCloseQuery);
        RegisterMethod("btMoveClick", &TfrmTranslationWizard::btMoveClick);
        RegisterMethod("lvSelectedFormsChange", &TfrmTranslationWizard::lvSelectedFormsChange);
        RegisterMethod("cbTzxLangToInsertChange", &TfrmTranslationWizard::cbTzxLangToInsertChange);
        RegisterMethod("lbStructureClick", &TfrmTranslationWizard::lbStructureClick);
        RegisterMethod("rbOptionClick", &TfrmTranslationWizard::rbOptionClick);
        RegisterMethod("cbDispatcherFormChange", &TfrmTranslationWizard::cbDispatcherFormChange);
        RegisterMethod("cbDispatcherComponentChange",
                       &TfrmTranslationWizard::cbDispatcherComponentChange);
        RegisterMethod("btCreateNewDispatcherClick",
                       &TfrmTranslationWizard::btCreateNewDispatcherClick);
        RegisterMethod("btConfigDispatcherClick", &TfrmTranslationWizard::btConfigDispatcherClick);
        RegisterMethod("btConfigLanguagesClick", &TfrmTranslationWizard::btConfigLanguagesClick);
        RegisterMethod("ckbSetCommonContainerClick",
                       &TfrmTranslationWizard::ckbSetCommonContainerClick);
        RegisterMethod("cbCommonContainerFormChange",
                       &TfrmTranslationWizard::cbCommonContainerFormChange);
        RegisterMethod("cbCommonContainerComponentChange",
                       &TfrmTranslationWizard::cbCommonContainerComponentChange);
    }
    ReadFormData(FormData_QTranslationWizard(), this);
    pnlPicture = FormControl<TPanel>(this, "pnlPicture");
    lbTitle = FormControl<TLabel>(this, "lbTitle");
    lbDescription = FormControl<TLabel>(this, "lbDescription");
    btBack = FormControl<TButton>(this, "btBack");
    btNext = FormControl<TButton>(this, "btNext");
    btClose = FormControl<TButton>(this, "btClose");
    const char* const pageNames[WizardPageCount] = {"pnlWelcome", "pnlInsert", "pnlFineTune",
                                                    "pnlProgress", "pnlCompleted"};
    for (Integer page = 0; page < WizardPageCount; ++page)
        Pages[page] = FormControl<TPanel>(this, pageNames[page]);
    lvSelectedForms = FormControl<TListView>(this, "lvSelectedForms");
    cbTzxLangToInsert = FormControl<TComboBox>(this, "cbTzxLangToInsert");
    rbSetDispatcher = FormControl<TRadioButton>(this, "rbSetDispatcher");
    rbSetManually = FormControl<TRadioButton>(this, "rbSetManually");
    lbDispatcherForm = FormControl<TLabel>(this, "lbDispatcherForm");
    cbDispatcherForm = FormControl<TComboBox>(this, "cbDispatcherForm");
    lbDispatcherComponent = FormControl<TLabel>(this, "lbDispatcherComponent");
    cbDispatcherComponent = FormControl<TComboBox>(this, "cbDispatcherComponent");
    btCreateNewDispatcher = FormControl<TButton>(this, "btCreateNewDispatcher");
    btConfigDispatcher = FormControl<TButton>(this, "btConfigDispatcher");
    edLanguagesToUse = FormControl<TEdit>(this, "edLanguagesToUse");
    btConfigLanguages = FormControl<TButton>(this, "btConfigLanguages");
    ckbSetCommonContainer = FormControl<TCheckBox>(this, "ckbSetCommonContainer");
    lbCommonContainerForm = FormControl<TLabel>(this, "lbCommonContainerForm");
    cbCommonContainerForm = FormControl<TComboBox>(this, "cbCommonContainerForm");
    lbCommonContainerComponent = FormControl<TLabel>(this, "lbCommonContainerComponent");
    cbCommonContainerComponent = FormControl<TComboBox>(this, "cbCommonContainerComponent");
    lvProgress = FormControl<TListView>(this, "lvProgress");
    pbOverAll = FormControl<TProgressBar>(this, "pbOverAll");
    for (const char* task : TaskNames) {
        TListItem* row = lvProgress->Items()->Add();
        row->SetCaption(task);
        row->SubItems()->Add(TaskStateNames[tsPending]);
        row->SetImageIndex(tsPending);
    }
    TForm::AfterConstruction();
}

// ---------------------------------------------------------------------------
// Pages

void TfrmTranslationWizard::FormShow(TObject*) {
    FOpenAtStart.clear();
    TListItems* rows = frmzxLang && FzxLangExpert ? frmzxLang->lvFormNames->Items() : nullptr;
    for (Integer index = 0; rows && index < rows->Count(); ++index)
        if (const AnsiString fileName = RowText(rows->Item(index), rtFileName);
            FzxLangExpert->IsFileOpen(fileName))
            FOpenAtStart.insert(fileName);
    lvSelectedForms->AlphaSort();
    ShowPage(wpWelcome);
}

void TfrmTranslationWizard::ShowPage(Integer Page) {
    FActivePage = std::clamp(Page, Integer(wpWelcome), Integer(wpCompleted));
    for (Integer page = 0; page < WizardPageCount; ++page)
        Pages[page]->SetVisible(page == FActivePage);
    pnlPicture->SetVisible(FActivePage == wpWelcome);
    lbTitle->SetCaption(PageTitles[FActivePage]);
    lbDescription->SetCaption(PageDescriptions[FActivePage]);
    btBack->SetVisible(FActivePage != wpCompleted);
    btNext->SetVisible(FActivePage != wpCompleted);
    btBack->SetEnabled(FActivePage > wpWelcome);
    btNext->SetEnabled(FActivePage < wpCompleted);
    if (FActivePage == wpFineTune) {
        if (edLanguagesToUse->Text().empty() && FzxLangExpert) {
            TStringList names;
            names.SetText(FzxLangExpert->DefaultLangNames);
            edLanguagesToUse->SetText(names.CommaText());
        }
        UpdateFineTuneControls();
    } else if (FActivePage == wpProgress) {
        btBack->SetEnabled(false);
        btNext->SetEnabled(false);
        Repaint();
        PerformRequestedActions();
        ShowPage(wpCompleted);
    }
}

void TfrmTranslationWizard::btMoveClick(TObject* Sender) {
    ShowPage(FActivePage + static_cast<TComponent*>(Sender)->Tag());
}

void TfrmTranslationWizard::FormCloseQuery(TObject*, bool& CanClose) {
    if (FActivePage < wpCompleted && ModalResult() != mrOk)
        CanClose = MessageDlg(QuitQuestion, mtConfirmation, mbYesNo, 0) == mrYes;
}

void TfrmTranslationWizard::ReActivate() { BringToFront(); }

// ---------------------------------------------------------------------------
// Page 1: the forms and the components to insert

void TfrmTranslationWizard::lvSelectedFormsChange(TObject*, TListItem*, TItemChange Change) {
    if (Change != ctState)
        return;
    try {
        cbTzxLangToInsert->SetEnabled(false);
        cbTzxLangToInsert->SetItemIndex(-1);
        TListItem* selected = lvSelectedForms->Selected();
        if (selected && WizardRowText(selected, wrUsed) == NoComponentUsed) {
            cbTzxLangToInsert->SetEnabled(true);
            cbTzxLangToInsert->SetItemIndex(
                cbTzxLangToInsert->Items()->IndexOf(WizardRowText(selected, wrInsert)));
        }
    } catch (...) {
    }
}

// A name in the list that no class is registered under is refused: placing
// it would fail on every form in the middle of the work.
void TfrmTranslationWizard::cbTzxLangToInsertChange(TObject*) {
    const AnsiString chosen = ChosenText(cbTzxLangToInsert);
    if (chosen.empty())
        return;
    if (!LangClassNamed(chosen)) {
        MessageDlg(Format(NotAComponentClass, {chosen}), mtError, {mbOk}, 0);
        TListItem* selected = lvSelectedForms->Selected();
        cbTzxLangToInsert->SetItemIndex(
            selected ? cbTzxLangToInsert->Items()->IndexOf(WizardRowText(selected, wrInsert)) : -1);
        return;
    }
    TListItems* rows = lvSelectedForms->Items();
    for (Integer index = 0; index < rows->Count(); ++index) {
        TListItem* row = rows->Item(index);
        if (row->Selected() && WizardRowText(row, wrUsed) == NoComponentUsed)
            SetWizardRowText(row, wrInsert, chosen);
    }
}

void TfrmTranslationWizard::lbStructureClick(TObject*) {
    std::unique_ptr<TfrmStructurePreview> preview(NewForm<TfrmStructurePreview>(Application));
    preview->ShowModal();
}

// ---------------------------------------------------------------------------
// Page 2: dispatcher, languages and common container

void TfrmTranslationWizard::UpdateFineTuneControls() {
    const bool dispatcher = rbSetDispatcher->Checked();
    lbDispatcherForm->SetEnabled(dispatcher);
    cbDispatcherForm->SetEnabled(dispatcher);
    btCreateNewDispatcher->SetEnabled(dispatcher && cbDispatcherForm->ItemIndex() >= 0);
    const bool hasDispatchers = dispatcher && cbDispatcherComponent->Items()->Count() > 0;
    lbDispatcherComponent->SetEnabled(hasDispatchers);
    cbDispatcherComponent->SetEnabled(hasDispatchers);
    btConfigDispatcher->SetEnabled(hasDispatchers && cbDispatcherComponent->ItemIndex() >= 0);
    edLanguagesToUse->SetEnabled(rbSetManually->Checked());
    btConfigLanguages->SetEnabled(rbSetManually->Checked());
    const bool common = ckbSetCommonContainer->Checked();
    lbCommonContainerForm->SetEnabled(common);
    cbCommonContainerForm->SetEnabled(common);
    lbCommonContainerComponent->SetEnabled(common);
    cbCommonContainerComponent->SetEnabled(common);
    UpdateNext();
}

bool TfrmTranslationWizard::CanGoNextDispatcher() const {
    return !(rbSetDispatcher->Checked() && !btConfigDispatcher->Enabled());
}

bool TfrmTranslationWizard::CanGoNextCommon() const {
    return !(ckbSetCommonContainer->Checked() && cbCommonContainerComponent->ItemIndex() < 0);
}

// Manual languages need at least one name: a component cannot have none.
void TfrmTranslationWizard::UpdateNext() {
    if (FActivePage != wpFineTune)
        return;
    const bool hasLanguages = !rbSetManually->Checked() || !Trim(edLanguagesToUse->Text()).empty();
    btNext->SetEnabled(CanGoNextCommon() && CanGoNextDispatcher() && hasLanguages);
}

void TfrmTranslationWizard::rbOptionClick(TObject*) {
    if (rbSetDispatcher->Checked() && cbDispatcherForm->ItemIndex() < 0 &&
        cbDispatcherForm->Items()->Count() > 0) {
        cbDispatcherForm->SetItemIndex(0);
        cbDispatcherFormChange(cbDispatcherForm);
    }
    UpdateFineTuneControls();
}

void TfrmTranslationWizard::FillComponentsList(TComponent* Owner, TStrings* Target,
                                               std::initializer_list<TClass> Classes) {
    Target->Clear();
    for (Integer index = 0; Owner && index < Owner->ComponentCount(); ++index) {
        TComponent* each = Owner->Components(index);
        for (TClass wanted : Classes)
            if (each->InheritsFrom(wanted)) {
                Target->Add(each->Name());
                break;
            }
    }
}

void TfrmTranslationWizard::cbDispatcherFormChange(TObject*) {
    const AnsiString formName = ChosenText(cbDispatcherForm);
    TComponent* owner = FzxLangExpert && !formName.empty()
                            ? FzxLangExpert->GetOwnerByName(formName)
                            : nullptr;
    FillComponentsList(owner, cbDispatcherComponent->Items(),
                       {TzxLangDispatcher::StaticClass()});
    cbDispatcherComponent->SetItemIndex(cbDispatcherComponent->Items()->Count() > 0 ? 0 : -1);
    UpdateFineTuneControls();
    ReActivate();
}

void TfrmTranslationWizard::cbDispatcherComponentChange(TObject*) { UpdateFineTuneControls(); }

void TfrmTranslationWizard::btCreateNewDispatcherClick(TObject*) {
    const AnsiString formName = ChosenText(cbDispatcherForm);
    if (!FzxLangExpert || !frmzxLang || formName.empty() ||
        MessageDlg(NewDispatcherQuestion, mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    TStringList names;
    names.SetText(FzxLangExpert->DefaultLangNames);
    FitLanguageNames(names, FzxLangExpert->DefNumLang);
    if (ConfigureLanguages(&names) != mrOk)
        return;
    TComponent* placed =
        frmzxLang->InsertComponentOnForm(formName, TzxLangDispatcher::StaticClass());
    ReActivate();
    if (!placed)
        return;
    FzxLangExpert->ConfigureLangComponent(names.Count(), frmzxLang->FormRow(formName),
                                          names.Text(), false, TzxLangDispatcher::StaticClass(),
                                          placed->Name());
    cbDispatcherComponent->Items()->Add(placed->Name());
    cbDispatcherComponent->SetItemIndex(cbDispatcherComponent->Items()->Count() - 1);
    UpdateFineTuneControls();
    ReActivate();
}

void TfrmTranslationWizard::btConfigDispatcherClick(TObject*) {
    const AnsiString formName = ChosenText(cbDispatcherForm);
    auto* dispatcher = FzxLangExpert ? dynamic_cast<TzxLangDispatcher*>(
                                           FzxLangExpert->GetComponentOnForm(
                                               formName, ChosenText(cbDispatcherComponent)))
                                     : nullptr;
    ReActivate();
    if (!dispatcher || !frmzxLang)
        return;
    TStringList names;
    names.Assign(dispatcher->LangNames());
    if (ConfigureLanguages(&names) != mrOk)
        return;
    FzxLangExpert->ConfigureLangComponent(names.Count(), frmzxLang->FormRow(formName),
                                          names.Text(), false, TzxLangDispatcher::StaticClass(),
                                          dispatcher->Name());
    ReActivate();
}

TStringList* TfrmTranslationWizard::GetLangListFromEdit() const {
    auto* names = new TStringList();
    names->SetCommaText(edLanguagesToUse->Text());
    return names;
}

void TfrmTranslationWizard::btConfigLanguagesClick(TObject*) {
    std::unique_ptr<TStringList> names(GetLangListFromEdit());
    if (ConfigureLanguages(names.get()) == mrOk)
        edLanguagesToUse->SetText(names->CommaText());
    UpdateNext();
}

void TfrmTranslationWizard::ckbSetCommonContainerClick(TObject*) {
    if (ckbSetCommonContainer->Checked() && cbCommonContainerForm->ItemIndex() < 0 &&
        cbCommonContainerForm->Items()->Count() > 0) {
        cbCommonContainerForm->SetItemIndex(0);
        cbCommonContainerFormChange(cbCommonContainerForm);
    }
    UpdateFineTuneControls();
}

void TfrmTranslationWizard::cbCommonContainerFormChange(TObject*) {
    const AnsiString formName = ChosenText(cbCommonContainerForm);
    TComponent* owner = FzxLangExpert && !formName.empty()
                            ? FzxLangExpert->GetOwnerByName(formName)
                            : nullptr;
    TStrings* items = cbCommonContainerComponent->Items();
    FillComponentsList(owner, items,
                       {TzxLang::StaticClass(), TzxLangRT::StaticClass(),
                        TzxLangTLV::StaticClass()});
    if (items->Count() == 0)
        if (TListItem* row = ChosenRow(formName);
            row && IsContainerClass(WizardRowText(row, wrInsert)))
            items->Add(Format(NewlyInserted, {WizardRowText(row, wrInsert)}));
    cbCommonContainerComponent->SetItemIndex(items->Count() > 0 ? 0 : -1);
    UpdateFineTuneControls();
    ReActivate();
}

void TfrmTranslationWizard::cbCommonContainerComponentChange(TObject*) { UpdateNext(); }

TListItem* TfrmTranslationWizard::ChosenRow(const AnsiString& FormName) const {
    TListItems* rows = lvSelectedForms->Items();
    for (Integer index = 0; index < rows->Count(); ++index)
        if (rows->Item(index)->Caption() == FormName)
            return rows->Item(index);
    return nullptr;
}

// ---------------------------------------------------------------------------
// Page 3: the work

void TfrmTranslationWizard::SetTaskState(TWizardTask Task, TWizardTaskState State) {
    TListItem* row = lvProgress->Items()->Item(Task);
    row->SubItems()->Put(0, TaskStateNames[State]);
    row->SetImageIndex(State);
    Repaint();
}

void TfrmTranslationWizard::StepProgress() {
    pbOverAll->SetPosition(pbOverAll->Position() + 1);
    Repaint();
}

TComponent* TfrmTranslationWizard::ObtainDispatcher() {
    if (!rbSetDispatcher->Checked()) {
        SetTaskState(wtDispatcher, tsSkipped);
        return nullptr;
    }
    SetTaskState(wtDispatcher, tsRunning);
    TComponent* dispatcher = FzxLangExpert->GetComponentOnForm(
        ChosenText(cbDispatcherForm), ChosenText(cbDispatcherComponent));
    ReActivate();
    SetTaskState(wtDispatcher, tsDone);
    return dispatcher;
}

// A chosen form without component gets its container now; any other form,
// chosen or not, names its container in the component box.
TComponent* TfrmTranslationWizard::ObtainContainer() {
    if (!ckbSetCommonContainer->Checked()) {
        SetTaskState(wtContainer, tsSkipped);
        return nullptr;
    }
    SetTaskState(wtContainer, tsRunning);
    const AnsiString formName = ChosenText(cbCommonContainerForm);
    TListItem* row = ChosenRow(formName);
    TComponent* container = nullptr;
    if (row && WizardRowText(row, wrUsed) == NoComponentUsed) {
        const AnsiString insert = WizardRowText(row, wrInsert);
        if (TClass containerClass = LangClassNamed(insert))
            container = frmzxLang->InsertComponentOnForm(formName, containerClass);
        SetWizardRowText(row, wrUsed, insert);
        SetWizardRowText(row, wrInsert, "");
        if (TListItem* expertRow = frmzxLang->FormRow(formName); expertRow && container)
            ShowPlacedOnRow(expertRow, *container);
    } else
        container = FzxLangExpert->GetComponentOnForm(formName,
                                                      ChosenText(cbCommonContainerComponent));
    ReActivate();
    SetTaskState(wtContainer, tsDone);
    return container;
}

void TfrmTranslationWizard::LinkProperty(const AnsiString& FormName, TComponent* Component,
                                         const char* Name, TComponent* Value) {
    _di_IDesigner designer = FzxLangExpert->GetDesignerByFormName(FormName);
    if (designer && !designer->IsComponentLinkable(Value))
        designer->MakeComponentLinkable(Value);
    if (PPropInfo info = GetPropInfo(Component, Name))
        zxSetObjectProp(Component, info, Value);
}

// A form whose file was not open when the wizard was shown is saved and
// closed after the walk.
void TfrmTranslationWizard::InsertAndConfigure(TListItem* Chosen, TComponent* Dispatcher,
                                               TComponent* Container) {
    const AnsiString formName = Chosen->Caption();
    TListItem* expertRow = frmzxLang->FormRow(formName);
    if (!expertRow)
        return;
    const AnsiString fileName = RowText(expertRow, rtFileName);
    const bool wasOpen = FOpenAtStart.count(fileName) > 0;
    if (!wasOpen)
        FToSaveAndClose.insert(fileName);
    const AnsiString insert = WizardRowText(Chosen, wrInsert);
    TComponent* lang = nullptr;
    if (!insert.empty()) {
        if (TClass langClass = LangClassNamed(insert))
            lang = frmzxLang->InsertComponentOnForm(formName, langClass);
        if (lang)
            ShowPlacedOnRow(expertRow, *lang);
    } else
        lang = frmzxLang->GetzxLang(formName);
    ReActivate();
    if (!lang)
        return;
    if (rbSetManually->Checked()) {
        std::unique_ptr<TStringList> names(GetLangListFromEdit());
        FzxLangExpert->ConfigureLangComponent(names->Count(), expertRow, names->Text(), false,
                                              lang->ClassType(), lang->Name());
    }
    if (rbSetDispatcher->Checked() && Dispatcher) {
        frmzxLang->lvFormNames->SetSelected(expertRow);
        LinkProperty(formName, lang, "LangDispatcher", Dispatcher);
    }
    if (Container && lang->InheritsFrom(TzxLangLinked::StaticClass()))
        LinkProperty(formName, lang, "CommonContainer", Container);
    if (wasOpen)
        FzxLangExpert->MarkModifiedForm(formName);
    ReActivate();
}

void TfrmTranslationWizard::PerformRequestedActions() {
    if (!FzxLangExpert || !frmzxLang)
        return;
    TListItems* rows = lvSelectedForms->Items();
    pbOverAll->SetMin(0);
    pbOverAll->SetMax(rows->Count() + 2);
    pbOverAll->SetPosition(0);
    TComponent* dispatcher = ObtainDispatcher();
    StepProgress();
    TComponent* container = ObtainContainer();
    StepProgress();
    SetTaskState(wtInsert, tsRunning);
    for (Integer index = 0; index < rows->Count(); ++index) {
        InsertAndConfigure(rows->Item(index), dispatcher, container);
        StepProgress();
    }
    SaveAndCloseOpenedForms(dispatcher, container);
    SetTaskState(wtInsert, tsDone);
    FzxLangExpert->RunItemClick(nullptr);
    ReActivate();
}

// Every form is saved while the dispatcher and the container still exist,
// so each file keeps its references; the files that hold them stay open,
// since closing them would cut the links of the forms that stay open.
void TfrmTranslationWizard::SaveAndCloseOpenedForms(TComponent* Dispatcher,
                                                    TComponent* Container) {
    std::set<AnsiString> holdingLinks;
    for (auto [linked, box] : {std::pair{Dispatcher, cbDispatcherForm},
                               std::pair{Container, cbCommonContainerForm}})
        if (TListItem* expertRow = linked ? frmzxLang->FormRow(ChosenText(box)) : nullptr)
            holdingLinks.insert(RowText(expertRow, rtFileName));
    for (const AnsiString& fileName : FToSaveAndClose)
        FzxLangExpert->SaveFile(fileName);
    for (const AnsiString& fileName : FToSaveAndClose)
        if (!holdingLinks.count(fileName))
            FzxLangExpert->CloseFile(fileName);
    FToSaveAndClose.clear();
}

// ---------------------------------------------------------------------------
// The structure preview

void TfrmStructurePreview::AfterConstruction() {
    RegisterClxClasses();
    if (!GetClass("TfrmStructurePreview")) {
        RegisterClass(TfrmStructurePreview::StaticClass());
        RegisterMethod("PreviewClick", &TfrmStructurePreview::PreviewClick);
    }
    ReadFormData(FormData_QStructurePreview(), this);
    TForm::AfterConstruction();
}

void TfrmStructurePreview::PreviewClick(TObject*) { SetModalResult(mrOk); }
