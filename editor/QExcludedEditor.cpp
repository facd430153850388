// The exclusion editor's entry, its two trees, the three lists and the
// close question. The commands and the default list live in
// QExcludedEditor_Commands.cpp.
#include "editor/QExcludedEditor.h"

#include "editor/FormData.h"
#include "runtime/QRegistry.h"
#include "runtime/QzxComp_Dispatcher.h"
#include "runtime/QzxComp_Text.h"

#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include <algorithm>

std::string_view FormData_QExcludedEditor();

TfrmExcludeFromTranslation* frmExcludeFromTranslation = nullptr;

namespace {

const char* const SettingsKey = "\\Software\\Talvenko\\TzxLang\\ExcludeEditor";
const char* const OlderSettingsKey = "\\Software\\Borland\\TzxLang";
const char* const DefaultsValue = "DefaultExclProps";

// Tree images: an excluded component shows its image plus ExcludedShift.
constexpr Integer RootImage = 0;
constexpr Integer ComponentImage = 1;
constexpr Integer GraphicControlImage = 2;
constexpr Integer WidgetControlImage = 3;
constexpr Integer CaptionedImage = 4;
constexpr Integer StringPropertyImage = 1;
constexpr Integer ObjectPropertyImage = 6;
constexpr Integer ExcludedShift = 7;
// What a panel keeps of the window at the least, whatever the settings say.
constexpr Integer MinPanelSize = 30;

Integer ImageOf(TComponent* Component, bool IsRoot) {
    if (IsRoot)
        return RootImage;
    auto* control = dynamic_cast<TControl*>(Component);
    if (!control)
        return ComponentImage;
    // Controls whose caption follows their name: labels, edits, buttons...
    if (control->ControlStyle().Contains(csSetCaption))
        return CaptionedImage;
    return dynamic_cast<TWinControl*>(control) ? WidgetControlImage : GraphicControlImage;
}

bool IsStringKind(TTypeKind Kind) {
    return Kind == tkString || Kind == tkLString || Kind == tkWString;
}

// A panel size read from the settings, kept between the least a panel
// needs and what Room leaves for the rest of the window.
Integer ClampedPanelSize(Integer Value, Integer Room) {
    return std::clamp(Value, MinPanelSize, std::max(Room - MinPanelSize, MinPanelSize));
}

} // namespace

// ---------------------------------------------------------------------------
// Entry

bool DisplayExcludeDialog(TzxCustomLang* Lang, Integer PageIndex) {
    InitQExcludedEditor();
    std::unique_ptr<TfrmExcludeFromTranslation> form(
        NewForm<TfrmExcludeFromTranslation>(Application));
    form->FLang = Lang;
    form->FillComponentTree();
    form->lbExclComponents->Items()->SetText(Lang->DoNotTranslate()->Text());
    form->lbExclProperties->Items()->SetText(Lang->ExcludedProperties()->Text());
    form->lbExclCompProps->Items()->SetText(Lang->SmartExcludeProps()->Text());
    form->pcExcluded->SetActivePageIndex(std::clamp(PageIndex, 0, 2));
    form->pcExcludedChange(form.get());
    form->SyncExcluded();
    return form->ShowModal() == mrOk;
}

void InitQExcludedEditor() {
    RegisterClxClasses();
    InitQzxComp();
    using F = TfrmExcludeFromTranslation;
    if (GetClass("TfrmExcludeFromTranslation"))
        return;
    RegisterClass(F::StaticClass());
    RegisterMethod("FormCreate", &F::FormCreate);
    RegisterMethod("FormShow", &F::FormShow);
    RegisterMethod("FormCloseQuery", &F::FormCloseQuery);
    RegisterMethod("alExcludeUpdate", &F::alExcludeUpdate);
    RegisterMethod("tvComponentsChange", &F::tvComponentsChange);
    RegisterMethod("tvComponentsCollapsing", &F::tvComponentsCollapsing);
    RegisterMethod("tvComponentsDblClick", &F::tvComponentsDblClick);
    RegisterMethod("tvPropertiesDblClick", &F::tvPropertiesDblClick);
    RegisterMethod("cbComponentsChange", &F::cbComponentsChange);
    RegisterMethod("pcExcludedChange", &F::pcExcludedChange);
    RegisterMethod("ListDblClick", &F::ListDblClick);
    RegisterMethod("lbExclComponentsDragOver", &F::lbExclComponentsDragOver);
    RegisterMethod("lbExclComponentsDragDrop", &F::lbExclComponentsDragDrop);
    RegisterMethod("lbExclPropertiesDragOver", &F::lbExclPropertiesDragOver);
    RegisterMethod("lbExclPropertiesDragDrop", &F::lbExclPropertiesDragDrop);
    RegisterMethod("lbExclPropertiesMeasureItem", &F::lbExclPropertiesMeasureItem);
    RegisterMethod("lbExclPropertiesDrawItem", &F::lbExclPropertiesDrawItem);
    RegisterMethod("splLeftMoved", &F::splLeftMoved);
    RegisterMethod("splPropertiesMoved", &F::splPropertiesMoved);
    RegisterMethod("pmComponentsPopup", &F::pmComponentsPopup);
    RegisterMethod("pmPropertiesPopup", &F::pmPropertiesPopup);
    RegisterMethod("pmListsPopup", &F::pmListsPopup);
    RegisterMethod("pmDefaultsPopup", &F::pmDefaultsPopup);
    RegisterMethod("acAddComponentExecute", &F::acAddComponentExecute);
    RegisterMethod("acAddAllByComponentExecute", &F::acAddAllByComponentExecute);
    RegisterMethod("acAddCompChildsExecute", &F::acAddCompChildsExecute);
    RegisterMethod("acAddAllWithPropertyExecute", &F::acAddAllWithPropertyExecute);
    RegisterMethod("acAddPropertyExecute", &F::acAddPropertyExecute);
    RegisterMethod("acAddPropertyByTypeExecute", &F::acAddPropertyByTypeExecute);
    RegisterMethod("acAddPropertyAsSelectedTypeExecute", &F::acAddPropertyAsSelectedTypeExecute);
    RegisterMethod("acAddPropertyByNameExecute", &F::acAddPropertyByNameExecute);
    RegisterMethod("acDeleteFromListExecute", &F::acDeleteFromListExecute);
    RegisterMethod("acClearListExecute", &F::acClearListExecute);
    RegisterMethod("acClearAllExecute", &F::acClearAllExecute);
    RegisterMethod("acSortListExecute", &F::acSortListExecute);
    RegisterMethod("acDefaultsExecute", &F::acDefaultsExecute);
    RegisterMethod("acAddToDefaultsExecute", &F::acAddToDefaultsExecute);
    RegisterMethod("acClearDefaultsExecute", &F::acClearDefaultsExecute);
    RegisterMethod("acInsertAllDefaultsExecute", &F::acInsertAllDefaultsExecute);
    RegisterMethod("acSaveDefaultsExecute", &F::acSaveDefaultsExecute);
    RegisterMethod("acAutoSaveDefaultsExecute", &F::acAutoSaveDefaultsExecute);
}

// ---------------------------------------------------------------------------
// The form

TfrmExcludeFromTranslation::TfrmExcludeFromTranslation(TComponent* AOwner)
    : TForm(AOwner), FDefaults(std::make_unique<TStringList>()) {
    FDefaults->SetSorted(true);
    FDefaults->SetDuplicates(dupIgnore);
    frmExcludeFromTranslation = this;
}

TfrmExcludeFromTranslation::~TfrmExcludeFromTranslation() {
    if (frmExcludeFromTranslation == this)
        frmExcludeFromTranslation = nullptr;
}

void TfrmExcludeFromTranslation::AfterConstruction() {
    ReadFormData(FormData_QExcludedEditor(), this);
    pnlLeft = FormControl<TPanel>(this, "pnlLeft");
    pnlCombo = FormControl<TPanel>(this, "pnlCombo");
    pnlProperties = FormControl<TPanel>(this, "pnlProperties");
    cbComponents = FormControl<TComboBox>(this, "cbComponents");
    tvComponents = FormControl<TTreeView>(this, "tvComponents");
    tvProperties = FormControl<TTreeView>(this, "tvProperties");
    splLeft = FormControl<TSplitter>(this, "splLeft");
    splProperties = FormControl<TSplitter>(this, "splProperties");
    labExclude = FormControl<TLabel>(this, "labExclude");
    pcExcluded = FormControl<TPageControl>(this, "pcExcluded");
    lbExclComponents = FormControl<TListBox>(this, "lbExclComponents");
    lbExclProperties = FormControl<TListBox>(this, "lbExclProperties");
    lbExclCompProps = FormControl<TListBox>(this, "lbExclCompProps");
    alExclude = FormControl<TActionList>(this, "alExclude");
    pmComponents = FormControl<TPopupMenu>(this, "pmComponents");
    pmProperties = FormControl<TPopupMenu>(this, "pmProperties");
    pmLists = FormControl<TPopupMenu>(this, "pmLists");
    pmDefaults = FormControl<TPopupMenu>(this, "pmDefaults");
    miInsertDefaults = FormControl<TMenuItem>(this, "miInsertDefaults");
    miDeleteDefaults = FormControl<TMenuItem>(this, "miDeleteDefaults");
    miListsDefault = FormControl<TMenuItem>(this, "miListsDefault");
    BindActionUpdates();
    TForm::AfterConstruction();
}

TAction* TfrmExcludeFromTranslation::ActionNamed(const AnsiString& Name) {
    return FormControl<TAction>(this, Name);
}

void TfrmExcludeFromTranslation::FormCreate(TObject*) {
    pcExcluded->SetActivePageIndex(0);
    FLeftPanelWidth = pnlLeft->Width();
    FPropertiesPanelHeight = pnlProperties->Height();
    ReadSettings();
    FModified = false;
}

void TfrmExcludeFromTranslation::FormShow(TObject*) {
    pnlCombo->SetHeight(cbComponents->Height());
    PlacePanels();
    if (TTreeNode* root = RootNode())
        tvComponents->SetSelected(root);
    tvComponents->SetFocus();
}

// The stored sizes are the user's, but the file may say anything: each
// panel keeps to what the window has room for.
void TfrmExcludeFromTranslation::PlacePanels() {
    pnlLeft->SetWidth(ClampedPanelSize(FLeftPanelWidth, ClientWidth() - splLeft->Width()));
    Integer room = pnlLeft->ClientHeight() - pnlCombo->Height() - splProperties->Height();
    pnlProperties->SetHeight(ClampedPanelSize(FPropertiesPanelHeight, room));
}

TListBox* TfrmExcludeFromTranslation::ActiveList() const {
    switch (pcExcluded->ActivePageIndex()) {
    case 1:
        return lbExclProperties;
    case 2:
        return lbExclCompProps;
    default:
        return lbExclComponents;
    }
}

// ---------------------------------------------------------------------------
// Settings

void TfrmExcludeFromTranslation::ReadSettings() {
    TRegistry settings(this);
    MigrateDefaults(settings);
    settings.OpenKey(SettingsKey, false);
    if (settings.ValueExists(DefaultsValue))
        FDefaults->SetCommaText(settings.ReadString(DefaultsValue));
    if (settings.ValueExists("AutoSaveDefaults"))
        FAutoSaveDefaults = settings.ReadBool("AutoSaveDefaults");
    if (settings.ValueExists("LeftPanelWidth"))
        FLeftPanelWidth = settings.ReadInteger("LeftPanelWidth");
    if (settings.ValueExists("PropertiesPanelHeight"))
        FPropertiesPanelHeight = settings.ReadInteger("PropertiesPanelHeight");
}

// The older key's list moves to the current key before it is deleted, so
// that a dialog closed without saving the defaults does not lose it.
void TfrmExcludeFromTranslation::MigrateDefaults(TRegistry& Settings) {
    Settings.OpenKey(OlderSettingsKey, false);
    if (Settings.ValueExists(DefaultsValue)) {
        AnsiString older = Settings.ReadString(DefaultsValue);
        FDefaults->SetCommaText(older);
        Settings.OpenKey(SettingsKey, true);
        if (!Settings.ValueExists(DefaultsValue))
            Settings.WriteString(DefaultsValue, FDefaults->CommaText());
        Settings.OpenKey(OlderSettingsKey, false);
    }
    Settings.DeleteValue(DefaultsValue);
}

void TfrmExcludeFromTranslation::WriteSetting(
    const std::function<void(TRegistry& Settings)>& Write) {
    TRegistry settings(this);
    settings.OpenKey(SettingsKey, true);
    Write(settings);
}

void TfrmExcludeFromTranslation::SaveDefaults() {
    WriteSetting([this](TRegistry& Settings) {
        Settings.WriteString(DefaultsValue, FDefaults->CommaText());
    });
}

void TfrmExcludeFromTranslation::splLeftMoved(TObject*) {
    FLeftPanelWidth = pnlLeft->Width();
    WriteSetting(
        [this](TRegistry& Settings) { Settings.WriteInteger("LeftPanelWidth", FLeftPanelWidth); });
}

void TfrmExcludeFromTranslation::splPropertiesMoved(TObject*) {
    FPropertiesPanelHeight = pnlProperties->Height();
    WriteSetting([this](TRegistry& Settings) {
        Settings.WriteInteger("PropertiesPanelHeight", FPropertiesPanelHeight);
    });
}

// ---------------------------------------------------------------------------
// The component tree

void TfrmExcludeFromTranslation::FillComponentTree() {
    tvComponents->Items()->BeginUpdate();
    AddComponent(nullptr, FLang->Owner());
    tvComponents->AlphaSort(true);
    tvComponents->Items()->EndUpdate();
    if (TTreeNode* root = RootNode())
        root->Expand(false);
}

TTreeNode* TfrmExcludeFromTranslation::RootNode() const {
    return tvComponents->Items()->GetFirstNode();
}

void TfrmExcludeFromTranslation::AddComponent(TTreeNode* ParentNode, TComponent* Component) {
    if (!Component || Component == FLang || dynamic_cast<TzxLangDispatcher*>(Component))
        return;
    TComponent* root = FLang->Owner();
    const bool isRoot = Component == root;
    TTreeNode* childrenNode = RootNode();
    if (isRoot || Component->Owner() == root) {
        AnsiString caption = isRoot ? Component->ClassName() : Component->Name();
        cbComponents->Items()->Add(caption);
        childrenNode = tvComponents->Items()->AddChildObject(ParentNode, caption, Component);
        childrenNode->SetImageIndex(ImageOf(Component, isRoot));
        childrenNode->SetSelectedIndex(childrenNode->ImageIndex());
    }
    ChildrenOf(Component, [&](TComponent* Child) { AddComponent(childrenNode, Child); });
}

void TfrmExcludeFromTranslation::ChildrenOf(TComponent* Component,
                                            const std::function<void(TComponent*)>& Visit) const {
    if (Component == FLang->Owner()) {
        for (Integer index = 0; index < Component->ComponentCount(); ++index) {
            TComponent* owned = Component->Components(index);
            auto* control = dynamic_cast<TControl*>(owned);
            if (!control || control->Parent() == Component)
                Visit(owned);
        }
    } else if (auto* container = dynamic_cast<TWinControl*>(Component)) {
        for (Integer index = 0; index < container->ControlCount(); ++index)
            Visit(container->Controls(index));
    }
}

TTreeNode* TfrmExcludeFromTranslation::FindComponentNode(const AnsiString& Caption) const {
    for (TTreeNode* node = RootNode(); node; node = node->GetNext())
        if (AnsiSameText(node->Text(), Caption))
            return node;
    return nullptr;
}

void TfrmExcludeFromTranslation::SetExcludedImage(TTreeNode* Node, bool Excluded) {
    if ((Node->ImageIndex() >= ExcludedShift) == Excluded)
        return;
    Integer shift = Excluded ? ExcludedShift : -ExcludedShift;
    Node->SetImageIndex(Node->ImageIndex() + shift);
    Node->SetSelectedIndex(Node->SelectedIndex() + shift);
}

void TfrmExcludeFromTranslation::SyncExcluded() {
    TStrings* lines = lbExclComponents->Items();
    for (Integer index = 0; index < lines->Count(); ++index)
        if (TTreeNode* node = FindComponentNode(lines->Get(index)))
            SetExcludedImage(node, true);
}

void TfrmExcludeFromTranslation::ExcludeSelectedComponent(TTreeNode* Node) {
    if (lbExclComponents->Items()->IndexOf(Node->Text()) < 0)
        lbExclComponents->Items()->Add(Node->Text());
    SetExcludedImage(Node, true);
    SetModified();
}

void TfrmExcludeFromTranslation::tvComponentsChange(TObject*, TTreeNode* Node) {
    if (Node)
        FillProperties(static_cast<TComponent*>(Node->Data()), Node->Text());
}

void TfrmExcludeFromTranslation::tvComponentsCollapsing(TObject*, TTreeNode* Node,
                                                        bool& AllowCollapse) {
    AllowCollapse = Node != RootNode();
}

void TfrmExcludeFromTranslation::cbComponentsChange(TObject*) {
    if (TTreeNode* node = FindComponentNode(cbComponents->Text());
        node && node->Text() == cbComponents->Text())
        tvComponents->SetSelected(node);
}

// ---------------------------------------------------------------------------
// The property tree

bool TfrmExcludeFromTranslation::CanAddProperty(const AnsiString& PropertyName,
                                                const AnsiString& ComponentName) const {
    return PropertyName != "Name" && lbExclComponents->Items()->IndexOf(ComponentName) < 0 &&
           lbExclProperties->Items()->IndexOf(PropertyName) < 0 &&
           lbExclCompProps->Items()->IndexOf(ComponentName + "." + PropertyName) < 0;
}

TPropertyData* TfrmExcludeFromTranslation::DataOf(TTreeNode* Node) const {
    return Node ? static_cast<TPropertyData*>(Node->Data()) : nullptr;
}

void TfrmExcludeFromTranslation::FreeNodeData(TTreeNode* Node) {
    const Integer level = Node->Level();
    for (TTreeNode* node = Node; node && (node == Node || node->Level() > level);
         node = node->GetNext()) {
        delete DataOf(node);
        node->SetData(nullptr);
    }
}

void TfrmExcludeFromTranslation::FillProperties(TComponent* Component,
                                                const AnsiString& ComponentName) {
    TTreeNodes* nodes = tvProperties->Items();
    nodes->BeginUpdate();
    for (TTreeNode* node = nodes->GetFirstNode(); node; node = node->GetNextSibling())
        FreeNodeData(node);
    nodes->Clear();
    FPropertiesComponentName = ComponentName;
    AddPropertyNodes(Component, nullptr);
    nodes->EndUpdate();
    if (TTreeNode* first = nodes->GetFirstNode())
        tvProperties->SetSelected(first);
    cbComponents->SetItemIndex(cbComponents->Items()->IndexOf(ComponentName));
}

void TfrmExcludeFromTranslation::RefillProperties() {
    if (TTreeNode* node = tvComponents->Selected())
        FillProperties(static_cast<TComponent*>(node->Data()), node->Text());
}

TTreeNode* TfrmExcludeFromTranslation::AddPropertyNode(TTreeNode* ParentNode,
                                                       const AnsiString& Caption, TTypeKind Kind,
                                                       const AnsiString& TypeName,
                                                       TPropertyDescription Description) {
    auto* data = NewComponent<TPropertyData>(this);
    data->Kind = Kind;
    data->TypeName = TypeName;
    data->Description = Description;
    TTreeNode* node = tvProperties->Items()->AddChildObject(ParentNode, Caption, data);
    Integer image = Description == pdOrdinal ? StringPropertyImage : ObjectPropertyImage;
    node->SetImageIndex(image);
    node->SetSelectedIndex(image);
    return node;
}

void TfrmExcludeFromTranslation::AddPropertyNodes(TObject* Object, TTreeNode* ParentNode) {
    if (!Object)
        return;
    for (PPropInfo info : GetPropList(Object, tkProperties)) {
        TTypeKind kind = info->PropType->Kind;
        if ((!IsStringKind(kind) && kind != tkClass) ||
            !CanAddProperty(info->Name, FPropertiesComponentName))
            continue;
        if (IsStringKind(kind))
            AddPropertyNode(ParentNode, info->Name, kind,
                            GetEnumName(TypeInfoOf(TTypeKind{}), kind).substr(2), pdOrdinal);
        else
            AddObjectPropertyNode(ParentNode, info->Name, zxGetObjectProp(Object, info));
    }
}

void TfrmExcludeFromTranslation::AddObjectPropertyNode(TTreeNode* ParentNode,
                                                       const AnsiString& Caption, TObject* Value) {
    if (!Value || dynamic_cast<TComponent*>(Value))
        return;
    auto* strings = dynamic_cast<TStrings*>(Value);
    auto* collection = dynamic_cast<TCollection*>(Value);
    TPropertyDescription description =
        strings ? pdTStrings : (collection ? pdCollection : pdPersistent);
    TTreeNode* node = AddPropertyNode(ParentNode, Caption, tkClass,
                                      strings ? AnsiString("TStrings") : Value->ClassName(),
                                      description);
    AddPropertyNodes(Value, node);
    if (collection)
        for (Integer index = 0; index < collection->Count(); ++index) {
            TCollectionItem* item = collection->Items(index);
            AnsiString itemClass = collection->ItemClass()->Name;
            TTreeNode* itemNode =
                AddPropertyNode(node, Format("%d - %s", {index, itemClass}), tkClass, itemClass,
                                pdCollectionItem);
            AddPropertyNodes(item, itemNode);
        }
    if (node->Count() == 0 && !dynamic_cast<TFont*>(Value) && description != pdTStrings) {
        FreeNodeData(node);
        node->Delete();
    }
}

TTreeNode* TfrmExcludeFromTranslation::SelectedPropertyNode() const {
    return tvProperties->Selected();
}

bool TfrmExcludeFromTranslation::IsCollectionItem(TTreeNode* Node) const {
    TPropertyData* data = DataOf(Node);
    return data && data->Description == pdCollectionItem;
}

AnsiString TfrmExcludeFromTranslation::PropertyEntry(TTreeNode* Node) const {
    if (pcExcluded->ActivePageIndex() == 2 && tvComponents->Selected())
        return tvComponents->Selected()->Text() + "." + Node->Text();
    return Node->Text();
}

// ---------------------------------------------------------------------------
// Adding properties

bool TfrmExcludeFromTranslation::WalkMatches(TAddbyProperty AddBy, TTreeNode* Node,
                                             const AnsiString& SelectedType,
                                             const AnsiString& Value) const {
    // A collection item is no property: it never goes into a list.
    if (IsCollectionItem(Node))
        return false;
    switch (AddBy) {
    case apByType:
        return DataOf(Node)->TypeName == SelectedType;
    case apByTypeName:
        return AnsiUpperCase(DataOf(Node)->TypeName).find(Value) != AnsiString::npos;
    case apByName:
        return AnsiUpperCase(Node->Text()).find(Value) != AnsiString::npos;
    default:
        return false;
    }
}

void TfrmExcludeFromTranslation::AddMatchingProperties(TAddbyProperty AddBy,
                                                       const AnsiString& SelectedType,
                                                       const AnsiString& Value) {
    TStrings* target = ActiveList()->Items();
    TTreeNode* remembered = tvComponents->Selected();
    for (TTreeNode* component = RootNode(); component; component = component->GetNext()) {
        tvComponents->SetSelected(component);
        for (TTreeNode* node = tvProperties->Items()->GetFirstNode(); node; node = node->GetNext())
            if (WalkMatches(AddBy, node, SelectedType, Value) &&
                target->IndexOf(PropertyEntry(node)) < 0)
                target->Add(PropertyEntry(node));
    }
    tvComponents->SetSelected(remembered);
}

void TfrmExcludeFromTranslation::AddPropertyToList(TAddbyProperty AddBy, TPropertyData* Data,
                                                   const AnsiString& Value) {
    TTreeNode* selected = SelectedPropertyNode();
    if (pcExcluded->ActivePageIndex() == 0 || !selected)
        return;
    if (AddBy == apSelected) {
        ActiveList()->Items()->Add(PropertyEntry(selected));
        RefillProperties();
    } else {
        AnsiString selectedType = Data ? Data->TypeName : AnsiString();
        AddMatchingProperties(AddBy, selectedType, Value);
    }
    SetModified();
}

// ---------------------------------------------------------------------------
// The lists

void TfrmExcludeFromTranslation::DeleteSelectedFromList() {
    TListBox* list = ActiveList();
    const bool components = list == lbExclComponents;
    if (components)
        for (Integer index = 0; index < list->Items()->Count(); ++index)
            if (list->Selected(index))
                if (TTreeNode* node = FindComponentNode(list->Items()->Get(index)))
                    SetExcludedImage(node, false);
    for (Integer index = list->Items()->Count() - 1; index >= 0; --index)
        if (list->Selected(index))
            list->Items()->Delete(index);
    if (!components)
        RefillProperties();
    SetModified();
}

void TfrmExcludeFromTranslation::pcExcludedChange(TObject*) {
    labExclude->SetCaption(Format(" %s to Exclude:", {pcExcluded->ActivePage()->Caption()}));
}

void TfrmExcludeFromTranslation::lbExclComponentsDragOver(TObject*, TObject* Source, Integer,
                                                          Integer, TDragState, bool& Accept) {
    TTreeNode* node = tvComponents->Selected();
    Accept = Source == tvComponents && node &&
             lbExclComponents->Items()->IndexOf(node->Text()) < 0;
}

void TfrmExcludeFromTranslation::lbExclComponentsDragDrop(TObject*, TObject*, Integer, Integer) {
    if (TTreeNode* node = tvComponents->Selected()) {
        ExcludeSelectedComponent(node);
        RefillProperties();
    }
}

void TfrmExcludeFromTranslation::lbExclPropertiesDragOver(TObject*, TObject* Source, Integer,
                                                          Integer, TDragState, bool& Accept) {
    TTreeNode* node = SelectedPropertyNode();
    Accept = Source == tvProperties && node && !IsCollectionItem(node);
}

void TfrmExcludeFromTranslation::lbExclPropertiesDragDrop(TObject*, TObject*, Integer, Integer) {
    TTreeNode* node = SelectedPropertyNode();
    if (!node || IsCollectionItem(node))
        return;
    if (lbExclProperties->Items()->IndexOf(node->Text()) < 0)
        lbExclProperties->Items()->Add(node->Text());
    FreeNodeData(node);
    node->Delete();
    SetModified();
}

void TfrmExcludeFromTranslation::lbExclPropertiesMeasureItem(TWinControl*, Integer,
                                                             Integer& Height) {
    Height = lbExclProperties->Canvas()->TextHeight("H") + 4;
}

void TfrmExcludeFromTranslation::lbExclPropertiesDrawItem(TObject*, Integer Index, TRect Rect,
                                                          TOwnerDrawState State, bool&) {
    TCanvas* canvas = lbExclProperties->Canvas();
    const AnsiString& entry = lbExclProperties->Items()->Get(Index);
    const bool selected = State.Contains(odSelected);
    canvas->Brush()->SetColor(selected ? clHighlight : clWindow);
    canvas->FillRect(Rect);
    canvas->Font()->SetColor(selected ? clHighlightText : clWindowText);
    canvas->Font()->SetStyle({});
    if (AnsiIndexText(entry, {"CAPTION", "HINT", "DISPLAYLABEL", "FONT", "CHARSET"}) >= 0) {
        canvas->Font()->SetStyle({fsBold});
        if (!selected)
            canvas->Font()->SetColor(clRed);
    }
    canvas->TextOut(Rect.Left + 2, Rect.Top + 2, entry);
}

// ---------------------------------------------------------------------------
// Closing

void TfrmExcludeFromTranslation::WriteBack() {
    FLang->SetDoNotList(lbExclComponents->Items());
    FLang->SetExProps(lbExclProperties->Items());
    FLang->SetSmartProps(lbExclCompProps->Items());
}

void TfrmExcludeFromTranslation::FormCloseQuery(TObject*, bool& CanClose) {
    if (!FModified) {
        if (ModalResult() == mrOk)
            SetModalResult(mrCancel);
        return;
    }
    if (ModalResult() == mrOk) {
        WriteBack();
        return;
    }
    switch (MessageDlg("Properties data was changed! Save changes?", mtConfirmation,
                       {mbYes, mbNo, mbCancel}, 0)) {
    case mrYes:
        WriteBack();
        SetModalResult(mrOk);
        break;
    case mrNo:
        break;
    default:
        CanClose = false;
    }
}
