// The Extended tab's commands: a property of the tree becomes a row of the
// grid and an extended item of the working copy, a removed row gives its
// property back to the tree, and properties are found or added by a part
// of their names.
#include "editor/QzxTransEditor.h"

#include "editor/QzxTransEditor_Grid.h"

#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/Dialogs.h"

namespace {

// Why the property's current value cannot be taken, or "" with Value and
// Kind filled: a missing object on the path, a property without a text
// form, or a getter that fails.
AnsiString ReadPropertyValue(const TzxCustomLang& Lang, const AnsiString& Path, TTypeKind& Kind,
                             AnsiString& Value) {
    const WideString path = UTF8Decode(Path);
    try {
        if (!Lang.GetObjByPath(path))
            return "an object on its path does not exist";
        Kind = Lang.GetPropTypeByPath(path);
        if (Kind == tkUnknown)
            return "the property has no value that can be translated";
        Value = UTF8Encode(Lang.GetPropValueByPath(path));
    } catch (const std::exception& E) {
        return E.what();
    }
    return "";
}

bool CaptionContains(const TTreeNode* Node, const AnsiString& LowerText) {
    return AnsiLowerCase(Node->Text()).find(LowerText) != AnsiString::npos;
}

} // namespace

AnsiString TzxTransEditFrm::NodePath(const TTreeNode* Node) {
    AnsiString path = Node->Text();
    for (const TTreeNode* parent = Node->Parent(); parent; parent = parent->Parent())
        path = parent->Text() + "." + path;
    return path;
}

void TzxTransEditFrm::AddExtendedRow() {
    TTreeNode* node = tvExtended->Selected();
    if (!node)
        return;
    const AnsiString path = NodePath(node);
    TTypeKind kind = tkUnknown;
    AnsiString value;
    const AnsiString fault = ReadPropertyValue(*FEditedComponent, path, kind, value);
    if (!fault.empty()) {
        MessageDlg(Format("The property \"%s\" cannot be added: %s.", {path, fault}), mtError,
                   {mbOk}, 0);
        return;
    }
    Grid1->SetEditorMode(false);
    // The current value stands as the active language's, in the item and
    // in the grid alike.
    const Integer languages = FWorkingCopy->NumOfLanguages();
    const Integer active = std::clamp(FEditedComponent->ActiveLanguage(), 1, languages);
    const char delimiter = static_cast<char>(FWorkingCopy->LangDelim());
    AnsiString values;
    for (Integer language = 1; language <= languages; ++language)
        values += (language == active ? value : AnsiString()) + delimiter;
    TzxExtendedItem* item = FWorkingCopy->ExtendedTranslations()->Add();
    item->SetIdentifier(path);
    item->SetPropertyType(kind);
    item->SetValues(values);
    node->Delete();
    if (!Grid1->Visible()) {
        BuildGrid(FCurrentType, true);
    } else {
        if (FFilterMode != 0)
            ApplyFilter(0);
        const Integer row = Grid1->RowCount();
        Grid1->SetRowCount(row + 1);
        Grid1->SetCells(0, row, path);
        Grid1->SetCells(active, row, value);
        SetRowPropertyType(row, kind);
        AdjustRowHeight(row);
        if (FFilterMode != 0)
            ApplyFilter(FFilterMode);
        Grid1->SetFixedRows(1);
        Grid1->SetRow(Grid1->RowCount() - 1);
        Grid1->SetColWidths(0, std::max(Grid1->ColWidths(0), Grid1->Canvas()->TextWidth(path) + 8));
    }
    Grid1->SetCol(1);
    FSortColumn = -1;
    CallDummyOnSelectCell();
    CheckActions();
    FModified = true;
    Grid1->Invalidate();
}

void TzxTransEditFrm::RemoveExtendedRow(TObject* Sender) {
    Grid1->SetEditorMode(false);
    // Un-filtering moves the rows: the row is found again by its identifier.
    const AnsiString key = Grid1->Cells(0, Grid1->Row());
    if (Sender == ActionNamed("acRemoveRow") &&
        MessageDlg(Format("Delete selected row: \"%s\"?", {key}), mtWarning, mbYesNo, 0) != mrYes)
        return;
    if (FFilterMode != 0)
        ApplyFilter(0);
    TzxExtendedItems* items = FWorkingCopy->ExtendedTranslations();
    delete items->Find(key);
    // The property is offered again where the tree holds its object.
    TObject* object = FEditedComponent->GetObjByPath(UTF8Decode(key));
    const AnsiString name = GetPropertyName(key);
    PPropInfo info = object ? GetPropInfo(object, name) : nullptr;
    if (TTreeNode* parent = FindParentNode(key, nullptr); parent && info) {
        tvExtended->Items()->AddChildObject(parent, name, const_cast<TPropInfo*>(info));
        parent->AlphaSort(true);
    }
    Integer row = 1;
    while (row < Grid1->RowCount() && Grid1->Cells(0, row) != key)
        ++row;
    FModified = true;
    if (row == 1 && Grid1->RowCount() == 2) {
        for (Integer column = 0; column < Grid1->ColCount(); ++column)
            Grid1->SetCells(column, row, "");
        UpdateProperty(FCurrentType, true);
        BuildGrid(FCurrentType, true);
    } else {
        if (row < Grid1->RowCount())
            DeleteGridRows(*Grid1, {row});
        AdjustRows();
        if (FFilterMode != 0)
            ApplyFilter(FFilterMode);
    }
    CheckActions();
    Grid1->Invalidate();
}

TTreeNode* TzxTransEditFrm::FindParentNode(const AnsiString& Path, TTreeNode* Node) const {
    const std::size_t dot = Path.find('.');
    if (dot == AnsiString::npos)
        return Node;
    const AnsiString head = Path.substr(0, dot);
    const AnsiString rest = Path.substr(dot + 1);
    TTreeNode* found = nullptr;
    if (!Node) {
        for (TTreeNode* node = tvExtended->Items()->GetFirstNode(); node && !found;
             node = node->GetNext())
            if (AnsiCompareText(node->Text(), head) == 0)
                found = node;
    } else {
        for (Integer index = 0; index < Node->Count() && !found; ++index)
            if (AnsiCompareText(Node->Item(index)->Text(), head) == 0)
                found = Node->Item(index);
    }
    return found ? FindParentNode(rest, found) : nullptr;
}

AnsiString TzxTransEditFrm::GetPropertyName(const AnsiString& Path) {
    const std::size_t dot = Path.rfind('.');
    return dot == AnsiString::npos ? Path : Path.substr(dot + 1);
}

// ---------------------------------------------------------------------------
// Finding and adding by name

void TzxTransEditFrm::acExtendedFindByNameUpdate(TObject* Sender) {
    if (auto* action = dynamic_cast<TAction*>(Sender))
        action->SetEnabled(tvExtended->Visible());
}

void TzxTransEditFrm::acExtendedFindNextUpdate(TObject* Sender) {
    if (auto* action = dynamic_cast<TAction*>(Sender))
        action->SetEnabled(tvExtended->Visible() && !FFindText.empty());
}

bool TzxTransEditFrm::AskPropertyText(AnsiString& Text) {
    const AnsiString kept = Text;
    if (!InputQuery("Find property",
                    "Type the string contained in property name you need to find:", Text) ||
        Text.empty()) {
        Text = kept;
        return false;
    }
    // The search starts at the first node when none is selected.
    if (!tvExtended->Selected() && tvExtended->Items()->Count() > 0) {
        tvExtended->Items()->GetFirstNode()->SetSelected(true);
        if (tvExtended->CanFocus())
            tvExtended->SetFocus();
        FSearchFromSelected = true;
    }
    return true;
}

void TzxTransEditFrm::acExtendedFindByNameExecute(TObject*) {
    if (AskPropertyText(FFindText))
        FindExtendedByString(FFindText);
}

void TzxTransEditFrm::acExtendedFindNextExecute(TObject*) {
    FindExtendedByString(FFindText);
}

void TzxTransEditFrm::acExtendedAddByNameExecute(TObject*) {
    if (AskPropertyText(FAddText))
        AddExtendedByString(FAddText);
}

TTreeNode* TzxTransEditFrm::FirstSearchedNode() {
    TTreeNode* selected = tvExtended->Selected();
    const bool fromSelected = FSearchFromSelected;
    FSearchFromSelected = false;
    if (!selected)
        return nullptr;
    return fromSelected ? selected : selected->GetNext();
}

void TzxTransEditFrm::FindExtendedByString(const AnsiString& Text) {
    const AnsiString lowerText = AnsiLowerCase(Text);
    for (TTreeNode* node = FirstSearchedNode(); node; node = node->GetNext())
        if (CaptionContains(node, lowerText)) {
            node->MakeVisible();
            node->SetSelected(true);
            return;
        }
}

void TzxTransEditFrm::AddExtendedByString(const AnsiString& Text) {
    const AnsiString lowerText = AnsiLowerCase(Text);
    TTreeNode* node = FirstSearchedNode();
    while (node) {
        // The add deletes the node: its successor is taken first.
        TTreeNode* next = node->GetNext();
        if (CaptionContains(node, lowerText)) {
            node->SetSelected(true);
            ActionNamed("acAddRow")->Execute();
        }
        node = next;
    }
}

void TzxTransEditFrm::tvExtendedChange(TObject*, TTreeNode*) {
    CheckActions();
}

void TzxTransEditFrm::tvExtendedDblClick(TObject*) {
    ActionNamed("acAddRow")->Execute();
}
