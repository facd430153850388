// The exclusion editor's commands: the actions, when each is enabled, the
// context menus and the default list of property names.
#include "editor/QExcludedEditor.h"

#include "editor/FormData.h"
#include "runtime/QRegistry.h"
#include "runtime/QzxComp_Text.h"

#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

namespace {

// The properties whose exclusion empties a whole list, and those lists.
const AnsiString ClearingProperties[] = {"CAPTION", "HINT", "DISPLAYLABEL", "FONT", "CHARSET"};
const AnsiString ClearedLists[] = {"Captions", "Hints", "DisplayLabels", "Font", "Charsets"};

Integer ClearingPropertyIndex(const AnsiString& Name) {
    return AnsiIndexText(Name, {ClearingProperties[0], ClearingProperties[1],
                                ClearingProperties[2], ClearingProperties[3],
                                ClearingProperties[4]});
}

const char* const WalkQuestion = "This will iterate through all components and add properties "
                                 "that apply to specified criterion and might take some time! "
                                 "Continue?";

} // namespace

bool TfrmExcludeFromTranslation::Confirm(const AnsiString& Question) const {
    return MessageDlg(Question, mtConfirmation, {mbYes, mbNo}, 0) == mrYes;
}

// ---------------------------------------------------------------------------
// When each action is enabled

void TfrmExcludeFromTranslation::alExcludeUpdate(TBasicAction* Action, bool& Handled) {
    auto update = FActionUpdates.find(Action);
    if (update == FActionUpdates.end())
        return;
    update->second();
    Handled = true;
}

void TfrmExcludeFromTranslation::BindActionUpdates() {
    auto bind = [this](const AnsiString& Name, std::function<void(TAction&)> Update) {
        TAction* action = ActionNamed(Name);
        FActionUpdates[action] = [action, Update] { Update(*action); };
    };
    auto propertiesPage = [this] { return pcExcluded->ActivePageIndex() != 0; };
    bind("acAddComponent", [this](TAction& A) {
        TTreeNode* node = tvComponents->Selected();
        A.SetEnabled(node && node->ImageIndex() < 7);
    });
    bind("acAddAllByComponent", [this](TAction& A) {
        TTreeNode* node = tvComponents->Selected();
        A.SetEnabled(node != nullptr);
        A.SetCaption(node ? Format("All %s Components",
                                   {static_cast<TComponent*>(node->Data())->ClassName()})
                          : AnsiString("All <> Components"));
    });
    bind("acAddCompChilds", [this](TAction& A) {
        TTreeNode* node = tvComponents->Selected();
        A.SetEnabled(node && node->HasChildren());
    });
    bind("acAddAllWithProperty", [this](TAction& A) {
        bool selected = tvProperties->Items()->Count() > 0 && SelectedPropertyNode();
        A.SetEnabled(selected);
        A.SetCaption(Format("All having <%s>", {selected ? SelectedPropertyName() : ""}));
    });
    bind("acAddProperty", [this, propertiesPage](TAction& A) {
        A.SetEnabled(propertiesPage() && CanAddSelectedProperty());
    });
    bind("acAddPropertyByType", [propertiesPage](TAction& A) { A.SetEnabled(propertiesPage()); });
    bind("acAddPropertyAsSelectedType", [this, propertiesPage](TAction& A) {
        TTreeNode* node = SelectedPropertyNode();
        A.SetEnabled(propertiesPage() && node && !IsCollectionItem(node));
        A.SetCaption(Format("Add all <%s> properties", {node ? DataOf(node)->TypeName : ""}));
    });
    bind("acAddPropertyByName", [propertiesPage](TAction& A) { A.SetEnabled(propertiesPage()); });
    bind("acDeleteFromList", [this](TAction& A) { A.SetEnabled(ActiveList()->SelCount() > 0); });
    bind("acClearList",
         [this](TAction& A) { A.SetEnabled(ActiveList()->Items()->Count() > 0); });
    bind("acClearAll", [this](TAction& A) {
        A.SetEnabled(lbExclComponents->Items()->Count() > 0 ||
                     lbExclProperties->Items()->Count() > 0 ||
                     lbExclCompProps->Items()->Count() > 0);
    });
    bind("acSortList", [this](TAction& A) { A.SetChecked(ActiveList()->Sorted()); });
    bind("acDefaults",
         [this](TAction& A) { A.SetEnabled(pcExcluded->ActivePageIndex() == 1); });
    bind("acAddToDefaults",
         [this](TAction& A) { A.SetEnabled(ActiveList()->SelCount() > 0); });
    bind("acClearDefaults", [this](TAction& A) { A.SetEnabled(FDefaults->Count() > 0); });
    bind("acInsertAllDefaults", [this](TAction& A) { A.SetEnabled(FDefaults->Count() > 0); });
    bind("acAutoSaveDefaults", [this](TAction& A) { A.SetChecked(FAutoSaveDefaults); });
}

// A collection item is no property, and "Add Property" never offers one.
bool TfrmExcludeFromTranslation::CanAddSelectedProperty() const {
    TTreeNode* node = SelectedPropertyNode();
    TTreeNode* component = tvComponents->Selected();
    return node && component && !IsCollectionItem(node) &&
           CanAddProperty(node->Text(), component->Text());
}

AnsiString TfrmExcludeFromTranslation::SelectedPropertyName() const {
    TTreeNode* node = SelectedPropertyNode();
    if (!node)
        return "";
    if (IsCollectionItem(node) && node->Parent())
        return node->Parent()->Text();
    return node->Text();
}

// ---------------------------------------------------------------------------
// Components

void TfrmExcludeFromTranslation::ExcludeNodes(const std::function<bool(TTreeNode*)>& Matches) {
    for (TTreeNode* node = RootNode(); node; node = node->GetNext())
        if (Matches(node))
            ExcludeSelectedComponent(node);
    RefillProperties();
}

void TfrmExcludeFromTranslation::acAddComponentExecute(TObject*) {
    TTreeNode* selected = tvComponents->Selected();
    ExcludeNodes([selected](TTreeNode* Node) { return Node == selected; });
}

void TfrmExcludeFromTranslation::acAddAllByComponentExecute(TObject*) {
    TTreeNode* selected = tvComponents->Selected();
    if (!selected)
        return;
    TClass kind = static_cast<TComponent*>(selected->Data())->ClassType();
    ExcludeNodes([kind](TTreeNode* Node) {
        return static_cast<TComponent*>(Node->Data())->ClassType() == kind;
    });
}

void TfrmExcludeFromTranslation::acAddCompChildsExecute(TObject*) {
    TTreeNode* selected = tvComponents->Selected();
    if (!selected)
        return;
    for (TTreeNode* node = selected->GetNext(); node && node->Level() > selected->Level();
         node = node->GetNext())
        ExcludeSelectedComponent(node);
    RefillProperties();
}

bool TfrmExcludeFromTranslation::CompHasProperty(TComponent* Component,
                                                 const AnsiString& PropertyName) const {
    return GetPropInfo(Component, PropertyName) != nullptr;
}

void TfrmExcludeFromTranslation::acAddAllWithPropertyExecute(TObject*) {
    AnsiString name = SelectedPropertyName();
    if (name.empty())
        return;
    ExcludeNodes([this, &name](TTreeNode* Node) {
        return CompHasProperty(static_cast<TComponent*>(Node->Data()), name);
    });
}

// ---------------------------------------------------------------------------
// Properties

void TfrmExcludeFromTranslation::WhileScreenOff(const std::function<void()>& Walk) {
    SetUpdatesEnabled(false);
    try {
        Walk();
    } catch (...) {
        SetUpdatesEnabled(true);
        Repaint();
        throw;
    }
    SetUpdatesEnabled(true);
    Repaint();
}

void TfrmExcludeFromTranslation::acAddPropertyExecute(TObject*) {
    if (!CanAddSelectedProperty())
        return;
    TTreeNode* node = SelectedPropertyNode();
    Integer clearing = ClearingPropertyIndex(node->Text());
    if (pcExcluded->ActivePageIndex() == 1 && clearing >= 0 &&
        !Confirm(Format("Adding this property will clear \"%s\" property! Continue?",
                        {ClearedLists[clearing]})))
        return;
    AddPropertyToList(apSelected, DataOf(node), "");
}

void TfrmExcludeFromTranslation::AskAndAdd(TAddbyProperty AddBy, const AnsiString& Title,
                                           const AnsiString& Prompt) {
    AnsiString answer = InputBox(Title, Prompt, "");
    if (answer.empty() || !Confirm(WalkQuestion))
        return;
    WhileScreenOff([&] { AddPropertyToList(AddBy, nullptr, AnsiUpperCase(answer)); });
}

void TfrmExcludeFromTranslation::acAddPropertyByTypeExecute(TObject*) {
    AskAndAdd(apByTypeName, "Exclude properties by type name",
              "Type the full or partial property type name to exclude:");
}

void TfrmExcludeFromTranslation::acAddPropertyByNameExecute(TObject*) {
    AskAndAdd(apByName, "Exclude properties by name",
              "Type the full or partial property name to exclude:");
}

void TfrmExcludeFromTranslation::acAddPropertyAsSelectedTypeExecute(TObject*) {
    TTreeNode* node = SelectedPropertyNode();
    if (!node || IsCollectionItem(node) ||
        !Confirm("This will iterate through all components and add properties with type equal "
                 "as selected and might take some time! Continue?"))
        return;
    TPropertyData* data = DataOf(node);
    WhileScreenOff([&] { AddPropertyToList(apByType, data, ""); });
}

// ---------------------------------------------------------------------------
// The lists

void TfrmExcludeFromTranslation::acDeleteFromListExecute(TObject*) {
    if (Confirm("Delete selected item(s) from list?"))
        DeleteSelectedFromList();
}

void TfrmExcludeFromTranslation::SelectAllAndDelete() {
    ActiveList()->SelectAll();
    DeleteSelectedFromList();
}

void TfrmExcludeFromTranslation::acClearListExecute(TObject*) {
    if (Confirm("Delete all items from list?"))
        SelectAllAndDelete();
}

void TfrmExcludeFromTranslation::acClearAllExecute(TObject*) {
    if (!Confirm("Delete all items from all lists?"))
        return;
    Integer active = pcExcluded->ActivePageIndex();
    for (Integer page = 0; page < pcExcluded->PageCount(); ++page) {
        pcExcluded->SetActivePageIndex(page);
        SelectAllAndDelete();
    }
    pcExcluded->SetActivePageIndex(active);
    pcExcludedChange(pcExcluded);
}

void TfrmExcludeFromTranslation::acSortListExecute(TObject*) {
    ActiveList()->SetSorted(!ActiveList()->Sorted());
    SetModified();
}

void TfrmExcludeFromTranslation::ListDblClick(TObject*) {
    ActionNamed("acDeleteFromList")->Execute();
}

void TfrmExcludeFromTranslation::tvComponentsDblClick(TObject*) {
    ActionNamed("acAddComponent")->Execute();
}

void TfrmExcludeFromTranslation::tvPropertiesDblClick(TObject*) {
    ActionNamed("acAddProperty")->Execute();
}

// ---------------------------------------------------------------------------
// The default list

void TfrmExcludeFromTranslation::DefaultsChanged() {
    if (FAutoSaveDefaults)
        SaveDefaults();
}

void TfrmExcludeFromTranslation::acDefaultsExecute(TObject*) {
    pmDefaults->Popup(Left() + pnlLeft->Width(), Top());
}

void TfrmExcludeFromTranslation::acAddToDefaultsExecute(TObject*) {
    TListBox* list = ActiveList();
    for (Integer index = 0; index < list->Items()->Count(); ++index)
        if (list->Selected(index))
            FDefaults->Add(list->Items()->Get(index));
    DefaultsChanged();
}

void TfrmExcludeFromTranslation::acClearDefaultsExecute(TObject*) {
    if (!Confirm("This will clear default list of properties! Continue?"))
        return;
    FDefaults->Clear();
    DefaultsChanged();
}

void TfrmExcludeFromTranslation::InsertDefault(const AnsiString& Name) {
    TStrings* list = ActiveList()->Items();
    if (list->IndexOf(Name) >= 0)
        return;
    list->Add(Name);
    SetModified();
}

void TfrmExcludeFromTranslation::acInsertAllDefaultsExecute(TObject*) {
    for (Integer index = 0; index < FDefaults->Count(); ++index)
        InsertDefault(FDefaults->Get(index));
    RefillProperties();
}

void TfrmExcludeFromTranslation::InsertDefaultClick(TObject* Sender) {
    InsertDefault(static_cast<TMenuItem*>(Sender)->Caption());
    RefillProperties();
}

void TfrmExcludeFromTranslation::DeleteDefaultClick(TObject* Sender) {
    Integer index = FDefaults->IndexOf(static_cast<TMenuItem*>(Sender)->Caption());
    if (index < 0)
        return;
    FDefaults->Delete(index);
    DefaultsChanged();
}

void TfrmExcludeFromTranslation::acSaveDefaultsExecute(TObject*) {
    SaveDefaults();
}

void TfrmExcludeFromTranslation::acAutoSaveDefaultsExecute(TObject*) {
    FAutoSaveDefaults = !FAutoSaveDefaults;
    WriteSetting(
        [this](TRegistry& Settings) { Settings.WriteBool("AutoSaveDefaults", FAutoSaveDefaults); });
    if (FAutoSaveDefaults)
        SaveDefaults();
}

// ---------------------------------------------------------------------------
// Context menus

// Keeps the submenu's first two entries (its command and a separator) and
// adds one entry per default name, captioned with the name itself.
void TfrmExcludeFromTranslation::RebuildNameEntries(TMenuItem* Submenu, const TNotifyEvent& Click) {
    while (Submenu->Count() > 2)
        delete Submenu->Items(Submenu->Count() - 1);
    for (Integer index = 0; index < FDefaults->Count(); ++index) {
        auto* entry = new TMenuItem(this);
        entry->SetCaption(FDefaults->Get(index));
        entry->OnClick = Click;
        Submenu->Add(entry);
    }
}

void TfrmExcludeFromTranslation::pmDefaultsPopup(TObject*) {
    RebuildNameEntries(miInsertDefaults, [this](TObject* Sender) { InsertDefaultClick(Sender); });
    RebuildNameEntries(miDeleteDefaults, [this](TObject* Sender) { DeleteDefaultClick(Sender); });
}

void TfrmExcludeFromTranslation::CopyMenu(TMenuItem* From, TMenuItem* To) {
    for (Integer index = 0; index < From->Count(); ++index) {
        TMenuItem* source = From->Items(index);
        auto* copy = new TMenuItem(this);
        if (source->Action())
            copy->SetAction(source->Action());
        else {
            copy->SetCaption(source->Caption());
            copy->OnClick = source->OnClick;
        }
        To->Add(copy);
        CopyMenu(source, copy);
    }
}

void TfrmExcludeFromTranslation::pmListsPopup(TObject*) {
    UpdateActions();
    pmDefaultsPopup(pmDefaults);
    miListsDefault->Clear();
    CopyMenu(pmDefaults->Items(), miListsDefault);
    miListsDefault->SetEnabled(ActionNamed("acDefaults")->Enabled());
}

void TfrmExcludeFromTranslation::pmComponentsPopup(TObject*) {
    UpdateActions();
    TMenuItem* items = pmComponents->Items();
    for (Integer index = 1; index < items->Count(); ++index) {
        TMenuItem* item = items->Items(index);
        if (auto* action = dynamic_cast<TAction*>(item->Action()); action && !item->IsLine())
            item->SetCaption("Add " + action->Caption());
    }
}

void TfrmExcludeFromTranslation::pmPropertiesPopup(TObject*) {
    FormControl<TMenuItem>(this, "miPropAddProperty")
        ->SetVisible(pmProperties->PopupComponent() == tvProperties);
}
