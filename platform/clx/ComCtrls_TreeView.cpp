// The tree view: nodes kept both as a tree (children lists, each node
// knowing its position among its siblings) and in one depth-first list, so
// that Item(i), Count, Index and GetNext are direct; and their view, a
// QTreeView over a model whose items are the nodes.
//
// "Items.Data", version 1: the version (1), the node count, then the nodes in
// depth-first order, each as its level, image index, selected index, a flags
// byte (bit 0: expanded, bit 1: a state index follows), the state index when
// flagged, and its text. A node's level is at most one more
// than the level of the node before it (the first is at level 0), so the
// levels alone give the shape of the tree.
#include "clx/ComCtrls_Items.h"

#include "clx/ImgList.h"
#include "clx/ItemModel.h"
#include "clx/QtSupport.h"

#include <QtWidgets/QTreeView>

#include <algorithm>

namespace {

constexpr Integer TreeDataVersion = 1;
constexpr Byte ExpandedFlag = 1;
constexpr Byte StateIndexFlag = 2;
// Level, image index, selected index, flags, text length.
constexpr Integer MinNodeRecordSize = 4 + 4 + 4 + 1 + 4;
// Deeper trees are refused on reading: the widget's rows nest as deep.
constexpr Integer MaxNodeLevel = 1024;

struct TNodeImage {
    Integer Level = 0;
    Integer ImageIndex = 0;
    Integer SelectedIndex = 0;
    Integer StateIndex = -1;
    bool Expanded = false;
    AnsiString Text;
};

} // namespace

// ---------------------------------------------------------------------------
// TTreeNode

TTreeNode::TTreeNode(TTreeNodes* AOwner) : FOwner(AOwner) {}

TTreeNode::~TTreeNode() {
    if (FOwner)
        FOwner->DeleteNode(this);
}

void TTreeNode::Assign(const TPersistent* Source) {
    const auto* node = dynamic_cast<const TTreeNode*>(Source);
    if (!node) {
        TPersistent::Assign(Source);
        return;
    }
    FText = node->FText;
    FImageIndex = node->FImageIndex;
    FSelectedIndex = node->FSelectedIndex;
    FStateIndex = node->FStateIndex;
    FHasChildren = node->FHasChildren;
    FData = node->FData;
    Changed();
    SetExpanded(node->FExpanded);
}

TTreeView* TTreeNode::TreeView() const {
    return FOwner ? FOwner->Owner() : nullptr;
}

void TTreeNode::SetText(const AnsiString& Value) {
    if (FText == Value)
        return;
    FText = Value;
    Changed();
}

void TTreeNode::SetImageIndex(Integer Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    Changed();
}

void TTreeNode::SetSelectedIndex(Integer Value) {
    if (FSelectedIndex == Value)
        return;
    FSelectedIndex = Value;
    Changed();
}

void TTreeNode::SetStateIndex(Integer Value) {
    if (FStateIndex == Value)
        return;
    FStateIndex = Value;
    Changed();
}

void TTreeNode::SetHasChildren(bool Value) {
    if (FHasChildren == Value)
        return;
    FHasChildren = Value;
    Changed();
}

void TTreeNode::SetExpanded(bool Value) {
    if (FExpanded == Value)
        return;
    TTreeView* treeView = TreeView();
    if (!Value && treeView && !treeView->CanCollapse(this))
        return;
    FExpanded = Value;
    if (treeView)
        treeView->NodeExpandedChanged(this);
}

void TTreeNode::MakeVisible() {
    for (TTreeNode* ancestor = FParent; ancestor; ancestor = ancestor->FParent)
        ancestor->SetExpanded(true);
    TTreeView* treeView = TreeView();
    if (!treeView || !treeView->FModel)
        return;
    if (auto* view = treeView->WidgetAs<QTreeView>())
        view->scrollTo(treeView->FModel->IndexOf(this));
}

void TTreeNode::AlphaSort(bool Recurse) {
    CustomSort(
        [](TTreeNode* Node1, TTreeNode* Node2, Integer) {
            return AnsiCompareText(Node1->Text(), Node2->Text());
        },
        0, Recurse);
}

void TTreeNode::CustomSort(const TTVCompare& Compare, Integer Data, bool Recurse) {
    if (TTreeView* treeView = TreeView())
        treeView->SortNodes(Compare, Data, this, Recurse);
}

void TTreeNode::Expand(bool Recurse) {
    if (!Recurse || !FOwner) {
        SetExpanded(true);
        return;
    }
    std::size_t end = FOwner->SubtreeEnd(this);
    for (std::size_t index = static_cast<std::size_t>(FAbsoluteIndex); index < end; ++index)
        FOwner->FNodes[index]->SetExpanded(true);
}

void TTreeNode::Collapse(bool Recurse) {
    if (!Recurse || !FOwner) {
        SetExpanded(false);
        return;
    }
    std::size_t end = FOwner->SubtreeEnd(this);
    for (std::size_t index = static_cast<std::size_t>(FAbsoluteIndex); index < end; ++index)
        FOwner->FNodes[index]->SetExpanded(false);
}

bool TTreeNode::Selected() const {
    TTreeView* treeView = TreeView();
    return treeView && treeView->Selected() == this;
}

void TTreeNode::SetSelected(bool Value) {
    TTreeView* treeView = TreeView();
    if (!treeView)
        return;
    if (Value)
        treeView->SetSelected(this);
    else if (treeView->Selected() == this)
        treeView->SetSelected(nullptr);
}

TTreeNode* TTreeNode::Item(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FChildren[static_cast<std::size_t>(Index)];
}

const std::vector<TTreeNode*>& TTreeNode::Siblings() const {
    return FParent ? FParent->FChildren : FOwner->FRoots;
}

TTreeNode* TTreeNode::GetFirstChild() const {
    return FChildren.empty() ? nullptr : FChildren.front();
}

TTreeNode* TTreeNode::GetLastChild() const {
    return FChildren.empty() ? nullptr : FChildren.back();
}

TTreeNode* TTreeNode::GetNext() const {
    if (!FOwner || FAbsoluteIndex + 1 >= FOwner->Count())
        return nullptr;
    return FOwner->FNodes[static_cast<std::size_t>(FAbsoluteIndex + 1)];
}

TTreeNode* TTreeNode::GetPrev() const {
    if (!FOwner || FAbsoluteIndex == 0)
        return nullptr;
    return FOwner->FNodes[static_cast<std::size_t>(FAbsoluteIndex - 1)];
}

TTreeNode* TTreeNode::GetNextSibling() const {
    if (!FOwner)
        return nullptr;
    const std::vector<TTreeNode*>& siblings = Siblings();
    auto next = static_cast<std::size_t>(FIndex) + 1;
    return next < siblings.size() ? siblings[next] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    if (!FOwner || FIndex == 0)
        return nullptr;
    return Siblings()[static_cast<std::size_t>(FIndex) - 1];
}

void TTreeNode::Delete() {
    delete this;
}

void TTreeNode::DeleteChildren() {
    if (FChildren.empty())
        return;
    TItemsUpdate update(*FOwner);
    while (!FChildren.empty())
        delete FChildren.back();
}

void TTreeNode::Changed() {
    if (TTreeView* treeView = TreeView())
        treeView->NodeChanged(this);
}

// ---------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::~TTreeNodes() {
    for (TTreeNode* node : FNodes) {
        node->FOwner = nullptr;
        delete node;
    }
}

TPersistent* TTreeNodes::GetOwner() const {
    return FOwner;
}

void TTreeNodes::Assign(const TPersistent* Source) {
    const auto* nodes = dynamic_cast<const TTreeNodes*>(Source);
    if (!nodes) {
        TPersistent::Assign(Source);
        return;
    }
    if (nodes == this)
        return;
    TItemsUpdate update(*this);
    Clear();
    std::vector<TTreeNode*> copies;
    copies.reserve(nodes->FNodes.size());
    for (const TTreeNode* source : nodes->FNodes) {
        TTreeNode* parent = source->FParent
                                ? copies[static_cast<std::size_t>(source->FParent->FAbsoluteIndex)]
                                : nullptr;
        TTreeNode* copy = AppendNode(parent);
        copy->Assign(source);
        copies.push_back(copy);
    }
}

void TTreeNodes::DefineProperties(TFiler* Filer) {
    DefineItemDataProperty(Filer, *this);
}

TTreeNode* TTreeNodes::Item(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FNodes[static_cast<std::size_t>(Index)];
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const AnsiString& S) {
    return AddObject(Sibling, S, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const AnsiString& S, void* Data) {
    return AddChildObject(Sibling ? Sibling->FParent : nullptr, S, Data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const AnsiString& S) {
    return AddChildFirst(Sibling ? Sibling->FParent : nullptr, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const AnsiString& S) {
    return AddChildObject(Parent, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Data) {
    return InsertNode(Parent, static_cast<Integer>(Children(Parent).size()), S, Data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const AnsiString& S) {
    return InsertNode(Parent, 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const AnsiString& S) {
    if (!Sibling)
        return Add(nullptr, S);
    return InsertNode(Sibling->FParent, Sibling->Index(), S, nullptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (Node->FOwner != this)
        throw EInvalidOperation("The node is not a node of this tree");
    delete Node;
}

void TTreeNodes::Clear() {
    if (FNodes.empty())
        return;
    TItemsUpdate update(*this);
    if (FOwner) {
        for (auto node = FNodes.rbegin(); node != FNodes.rend(); ++node)
            FOwner->Delete(*node);
        FOwner->FSelected = nullptr;
    }
    std::vector<TTreeNode*> nodes;
    nodes.swap(FNodes);
    FRoots.clear();
    for (TTreeNode* node : nodes) {
        node->FOwner = nullptr;
        delete node;
    }
}

void TTreeNodes::BeginUpdate() {
    if (FUpdateCount++ == 0 && FOwner)
        FOwner->NodesUpdating();
}

void TTreeNodes::EndUpdate() {
    if (--FUpdateCount == 0 && FOwner)
        FOwner->NodesUpdated();
}

std::vector<TTreeNode*>& TTreeNodes::Children(TTreeNode* Parent) {
    return Parent ? Parent->FChildren : FRoots;
}

std::size_t TTreeNodes::SubtreeEnd(const TTreeNode* Node) const {
    std::size_t end = static_cast<std::size_t>(Node->FAbsoluteIndex) + 1;
    while (end < FNodes.size() && FNodes[end]->FLevel > Node->FLevel)
        ++end;
    return end;
}

void TTreeNodes::Renumber(std::size_t From) {
    for (std::size_t index = From; index < FNodes.size(); ++index)
        FNodes[index]->FAbsoluteIndex = static_cast<Integer>(index);
}

void TTreeNodes::RenumberSiblings(std::vector<TTreeNode*>& Siblings, std::size_t From) {
    for (std::size_t index = From; index < Siblings.size(); ++index)
        Siblings[index]->FIndex = static_cast<Integer>(index);
}

void TTreeNodes::RebuildOrder() {
    FNodes.clear();
    std::vector<TTreeNode*> pending(FRoots.rbegin(), FRoots.rend());
    while (!pending.empty()) {
        TTreeNode* node = pending.back();
        pending.pop_back();
        node->FAbsoluteIndex = static_cast<Integer>(FNodes.size());
        FNodes.push_back(node);
        pending.insert(pending.end(), node->FChildren.rbegin(), node->FChildren.rend());
    }
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* Parent, Integer ChildIndex, const AnsiString& S,
                                  void* Data) {
    if (Parent && Parent->FOwner != this)
        throw EInvalidOperation("The node is not a node of this tree");
    std::vector<TTreeNode*>& siblings = Children(Parent);
    auto at = static_cast<std::size_t>(ChildIndex);
    std::size_t position = at < siblings.size()
                               ? static_cast<std::size_t>(siblings[at]->FAbsoluteIndex)
                           : Parent ? SubtreeEnd(Parent)
                                    : FNodes.size();
    auto* node = new TTreeNode(this);
    node->FParent = Parent;
    node->FLevel = Parent ? Parent->FLevel + 1 : 0;
    node->FText = S;
    node->FData = Data;
    if (FOwner)
        FOwner->NodeInserting(Parent, ChildIndex);
    siblings.insert(siblings.begin() + ChildIndex, node);
    RenumberSiblings(siblings, at);
    FNodes.insert(FNodes.begin() + static_cast<std::ptrdiff_t>(position), node);
    Renumber(position);
    if (FOwner)
        FOwner->NodeInserted(node);
    return node;
}

TTreeNode* TTreeNodes::AppendNode(TTreeNode* Parent) {
    auto* node = new TTreeNode(this);
    node->FParent = Parent;
    node->FLevel = Parent ? Parent->FLevel + 1 : 0;
    node->FAbsoluteIndex = Count();
    std::vector<TTreeNode*>& siblings = Children(Parent);
    node->FIndex = static_cast<Integer>(siblings.size());
    if (FOwner)
        FOwner->NodeInserting(Parent, node->FIndex);
    siblings.push_back(node);
    FNodes.push_back(node);
    if (FOwner)
        FOwner->NodeInserted(node);
    return node;
}

// Called by the node's destructor: the tree view hears of each node of the
// subtree (children first), the subtree leaves the tree and its descendants
// are freed.
void TTreeNodes::DeleteNode(TTreeNode* Node) {
    if (FOwner)
        for (std::size_t index = SubtreeEnd(Node);
             index-- > static_cast<std::size_t>(Node->FAbsoluteIndex);)
            FOwner->Delete(FNodes[index]);
    if (FOwner)
        FOwner->NodeDeleting(Node);
    auto first = FNodes.begin() + Node->FAbsoluteIndex;
    auto last = FNodes.begin() + static_cast<std::ptrdiff_t>(SubtreeEnd(Node));
    std::vector<TTreeNode*> descendants(std::next(first), last);
    FNodes.erase(first, last);
    std::vector<TTreeNode*>& siblings = Children(Node->FParent);
    siblings.erase(siblings.begin() + Node->FIndex);
    RenumberSiblings(siblings, static_cast<std::size_t>(Node->FIndex));
    Renumber(static_cast<std::size_t>(Node->FAbsoluteIndex));
    if (FOwner)
        FOwner->NodeDeleted();
    Node->FOwner = nullptr;
    for (TTreeNode* descendant : descendants) {
        descendant->FOwner = nullptr;
        delete descendant;
    }
}

void TTreeNodes::WriteData(TStream& Stream) const {
    TItemDataWriter writer(Stream);
    writer.WriteInteger(TreeDataVersion);
    writer.WriteInteger(Count());
    for (const TTreeNode* node : FNodes) {
        writer.WriteInteger(node->FLevel);
        writer.WriteInteger(node->FImageIndex);
        writer.WriteInteger(node->FSelectedIndex);
        Byte flags = (node->FExpanded ? ExpandedFlag : 0) |
                     (node->FStateIndex != -1 ? StateIndexFlag : 0);
        writer.WriteByte(flags);
        if (flags & StateIndexFlag)
            writer.WriteInteger(node->FStateIndex);
        writer.WriteText(node->FText);
    }
}

// The whole value is read and checked before the nodes change, so that bad
// data leaves them as they were.
void TTreeNodes::ReadData(TStream& Stream) {
    TItemDataReader reader(Stream, "tree node");
    if (reader.ReadInteger() != TreeDataVersion)
        reader.Error();
    std::vector<TNodeImage> images(static_cast<std::size_t>(reader.ReadCount(MinNodeRecordSize)));
    Integer previousLevel = -1;
    for (TNodeImage& image : images) {
        image.Level = reader.ReadInteger();
        if (image.Level < 0 || image.Level > previousLevel + 1 || image.Level > MaxNodeLevel)
            reader.Error();
        previousLevel = image.Level;
        image.ImageIndex = reader.ReadInteger();
        image.SelectedIndex = reader.ReadInteger();
        Byte flags = reader.ReadByte();
        if (flags & ~(ExpandedFlag | StateIndexFlag))
            reader.Error();
        image.Expanded = flags & ExpandedFlag;
        if (flags & StateIndexFlag)
            image.StateIndex = reader.ReadInteger();
        image.Text = reader.ReadText();
    }
    reader.CheckEnd();
    TItemsUpdate update(*this);
    Clear();
    // The last node read at each level: the parents of the nodes to come.
    std::vector<TTreeNode*> path;
    for (const TNodeImage& image : images) {
        path.resize(static_cast<std::size_t>(image.Level));
        TTreeNode* node = AppendNode(path.empty() ? nullptr : path.back());
        node->FText = image.Text;
        node->FImageIndex = image.ImageIndex;
        node->FSelectedIndex = image.SelectedIndex;
        node->FStateIndex = image.StateIndex;
        node->FExpanded = image.Expanded;
        path.push_back(node);
    }
}

// ---------------------------------------------------------------------------
// The model's view of a tree view: the nodes are the items' handles.

class TTreeViewSource : public TItemSource {
public:
    explicit TTreeViewSource(TTreeView& TreeView) : FTreeView(TreeView) {}

    Integer ItemCount(void* Parent) const override {
        return static_cast<Integer>(Children(Parent).size());
    }
    void* ItemAt(void* Parent, Integer Row) const override {
        return Children(Parent)[static_cast<std::size_t>(Row)];
    }
    void* ParentOf(void* Item) const override { return Node(Item)->FParent; }
    Integer RowOf(void* Item) const override { return Node(Item)->FIndex; }
    bool ItemHasChildren(void* Item) const override { return Node(Item)->HasChildren(); }
    QVariant ItemData(const QModelIndex& Index, int Role) const override {
        TTreeNode* node = Node(Index.internalPointer());
        switch (Role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return ToQString(node->Text());
        case Qt::DecorationRole:
            return ItemImage(FTreeView.Images(),
                             node == FTreeView.Selected() ? node->SelectedIndex()
                                                          : node->ImageIndex(),
                             FTreeView.StateImages(), node->StateIndex());
        default:
            return {};
        }
    }
    bool SetItemData(const QModelIndex& Index, const QVariant& Value, int Role) override {
        if (Role != Qt::EditRole)
            return false;
        TTreeNode* node = Node(Index.internalPointer());
        EventBoundary(&FTreeView, [&] { node->SetText(FromQString(Value.toString())); });
        return true;
    }
    Qt::ItemFlags ItemFlags(const QModelIndex&) const override {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!FTreeView.ReadOnly())
            flags |= Qt::ItemIsEditable;
        return flags;
    }

private:
    static TTreeNode* Node(void* Item) { return static_cast<TTreeNode*>(Item); }
    const std::vector<TTreeNode*>& Children(void* Parent) const {
        return Parent ? Node(Parent)->FChildren : FTreeView.Items()->FRoots;
    }

    TTreeView& FTreeView;
};

// ---------------------------------------------------------------------------
// TTreeView

TTreeView::TTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TTreeNodes>(this)),
      FSource(std::make_unique<TTreeViewSource>(*this)) {
    // The widget reports clicks on its rows itself.
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() {
    if (FModel)
        FModel->Detach();
}

void TTreeView::DestroyHandle() {
    if (FModel)
        FModel->Detach();
    TWinControl::DestroyHandle();
}

void TTreeView::PublishedProperties(TPropertyBuilder<TTreeView>& P) {
    P.Property("Color", &TControl::Color, &TControl::SetColor).TypeName("TColor").Default(clWindow);
    P.Property("DragMode", &TControl::DragMode, &TControl::SetDragMode).Default(dmManual);
    P.Property("Images", &TTreeView::Images, &TTreeView::SetImages);
    P.Property("Items", &TTreeView::Items, &TTreeView::SetItems);
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly).Default(false);
    P.Property("RowSelect", &TTreeView::RowSelect, &TTreeView::SetRowSelect).Default(false);
    P.Property("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons).Default(true);
    P.Property("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot).Default(true);
    P.Property("StateImages", &TTreeView::StateImages, &TTreeView::SetStateImages);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnChange", &TTreeView::OnChange);
    P.Property("OnChanging", &TTreeView::OnChanging);
    P.Property("OnCollapsed", &TTreeView::OnCollapsed);
    P.Property("OnCollapsing", &TTreeView::OnCollapsing);
    P.Property("OnDeletion", &TTreeView::OnDeletion);
    P.Property("OnDragDrop", &TControl::OnDragDrop);
    P.Property("OnDragOver", &TControl::OnDragOver);
    P.Property("OnExpanded", &TTreeView::OnExpanded);
}

// OnChanging may keep the selection where it is.
void TTreeView::SetSelected(TTreeNode* Value) {
    if (Value && Value->FOwner != FItems.get())
        throw EInvalidOperation(Format("The node is not a node of %s", {Name()}));
    if (FSelected == Value)
        return;
    if (!CanChange(Value)) {
        PushSelection();
        return;
    }
    TTreeNode* previous = FSelected;
    FSelected = Value;
    if (previous)
        NodeChanged(previous);
    if (Value)
        NodeChanged(Value);
    PushSelection();
    Change(Value);
}

void TTreeView::SetReadOnly(bool Value) {
    if (FReadOnly == Value)
        return;
    FReadOnly = Value;
    PushOptions();
}

void TTreeView::SetRowSelect(bool Value) {
    if (FRowSelect == Value)
        return;
    FRowSelect = Value;
    PushOptions();
}

void TTreeView::SetShowButtons(bool Value) {
    if (FShowButtons == Value)
        return;
    FShowButtons = Value;
    PushOptions();
}

void TTreeView::SetShowRoot(bool Value) {
    if (FShowRoot == Value)
        return;
    FShowRoot = Value;
    PushOptions();
}

void TTreeView::SetImages(TCustomImageList* Value) {
    if (ReplaceComponentReference<TCustomImageList>(this, FImages, Value))
        ImagesChanged();
}

void TTreeView::SetStateImages(TCustomImageList* Value) {
    if (ReplaceComponentReference<TCustomImageList>(this, FStateImages, Value))
        ImagesChanged();
}

void TTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && ForgetImageLists(AComponent, {&FImages, &FStateImages}))
        ImagesChanged();
}

void TTreeView::ImagesChanged() {
    if (FModel)
        FModel->Reset();
    PushAllExpanded();
    PushSelection();
}

void TTreeView::FullExpand() {
    for (TTreeNode* node : FItems->FNodes)
        node->SetExpanded(true);
}

void TTreeView::FullCollapse() {
    for (TTreeNode* node : FItems->FNodes)
        node->SetExpanded(false);
}

void TTreeView::AlphaSort(bool Recurse) {
    CustomSort(
        [](TTreeNode* Node1, TTreeNode* Node2, Integer) {
            return AnsiCompareText(Node1->Text(), Node2->Text());
        },
        0, Recurse);
}

void TTreeView::CustomSort(const TTVCompare& Compare, Integer Data, bool Recurse) {
    SortNodes(Compare, Data, nullptr, Recurse);
}

// The children of Parent (the top-level nodes for nullptr) in their new
// order, their children too with Recurse; one reset of the view.
void TTreeView::SortNodes(const TTVCompare& Compare, Integer Data, TTreeNode* Parent,
                          bool Recurse) {
    TItemsUpdate update(*FItems);
    std::vector<TTreeNode*> parents{Parent};
    while (!parents.empty()) {
        TTreeNode* parent = parents.back();
        parents.pop_back();
        std::vector<TTreeNode*>& children = FItems->Children(parent);
        std::stable_sort(children.begin(), children.end(), [&](TTreeNode* Node1, TTreeNode* Node2) {
            return Compare(Node1, Node2, Data) < 0;
        });
        TTreeNodes::RenumberSiblings(children, 0);
        if (Recurse)
            parents.insert(parents.end(), children.begin(), children.end());
    }
    FItems->RebuildOrder();
}

TTreeNode* TTreeView::GetNodeAt(Integer X, Integer Y) const {
    auto* view = WidgetAs<QTreeView>();
    if (!view)
        return nullptr;
    QModelIndex index = view->indexAt(view->viewport()->mapFrom(view, QPoint(X, Y)));
    return static_cast<TTreeNode*>(index.internalPointer());
}

bool TTreeView::CanChange(TTreeNode* Node) {
    bool allow = true;
    if (OnChanging && !ComponentState().Contains(csLoading))
        OnChanging(this, Node, allow);
    return allow;
}

void TTreeView::Change(TTreeNode* Node) {
    if (OnChange && !ComponentState().Contains(csLoading))
        OnChange(this, Node);
}

bool TTreeView::CanCollapse(TTreeNode* Node) {
    bool allow = true;
    if (OnCollapsing && !ComponentState().Contains(csLoading))
        OnCollapsing(this, Node, allow);
    return allow;
}

void TTreeView::Expanded(TTreeNode* Node) {
    if (OnExpanded && !ComponentState().Contains(csLoading))
        OnExpanded(this, Node);
}

void TTreeView::Collapsed(TTreeNode* Node) {
    if (OnCollapsed && !ComponentState().Contains(csLoading))
        OnCollapsed(this, Node);
}

void TTreeView::Delete(TTreeNode* Node) {
    if (OnDeletion && !ComponentState().Contains(csLoading))
        OnDeletion(this, Node);
}

void TTreeView::NodeChanged(TTreeNode* Node) {
    if (FModel)
        FModel->ItemChanged(Node->FParent, Node->FIndex);
}

void TTreeView::NodeExpandedChanged(TTreeNode* Node) {
    if (!FItems->Updating())
        PushExpanded(Node);
    if (Node->FExpanded)
        Expanded(Node);
    else
        Collapsed(Node);
}

void TTreeView::NodeInserting(TTreeNode* Parent, Integer ChildIndex) {
    FSyncing = true;
    if (FModel)
        FModel->BeginInsert(Parent, ChildIndex);
}

// An expanded node shows its children once it has some.
void TTreeView::NodeInserted(TTreeNode* Node) {
    if (FModel)
        FModel->EndInsert();
    FSyncing = false;
    if (Node->FParent && Node->FParent->FExpanded && Node->FParent->Count() == 1 &&
        !FItems->Updating())
        PushExpanded(Node->FParent);
}

// The selection does not survive its node: no node is selected then.
void TTreeView::NodeDeleting(TTreeNode* Node) {
    if (FSelected && FSelected->FAbsoluteIndex >= Node->FAbsoluteIndex &&
        static_cast<std::size_t>(FSelected->FAbsoluteIndex) < FItems->SubtreeEnd(Node))
        FSelected = nullptr;
    FSyncing = true;
    if (FModel)
        FModel->BeginRemove(Node->FParent, Node->FIndex);
}

void TTreeView::NodeDeleted() {
    if (FModel)
        FModel->EndRemove();
    FSyncing = false;
}

void TTreeView::NodesUpdating() {
    if (FModel)
        FModel->BeginReset();
}

void TTreeView::NodesUpdated() {
    if (!FModel)
        return;
    FModel->EndReset();
    PushAllExpanded();
    PushSelection();
}

QWidget* TTreeView::CreateWidget(QWidget* ParentWidget) {
    QTreeView* view = NewTreeView(ParentWidget);
    FModel = new TItemModel(*FSource, view);
    view->setModel(FModel);
    return view;
}

void TTreeView::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushOptions();
    PushAllExpanded();
    PushSelection();
}

void TTreeView::PushExpanded(TTreeNode* Node) {
    auto* view = WidgetAs<QTreeView>();
    if (!view)
        return;
    FSyncing = true;
    view->setExpanded(FModel->IndexOf(Node), Node->FExpanded);
    FSyncing = false;
}

void TTreeView::PushAllExpanded() {
    auto* view = WidgetAs<QTreeView>();
    if (!view)
        return;
    FSyncing = true;
    for (TTreeNode* node : FItems->FNodes)
        if (node->FExpanded && node->HasChildren())
            view->setExpanded(FModel->IndexOf(node), true);
    FSyncing = false;
}

void TTreeView::PushSelection() {
    auto* view = WidgetAs<QTreeView>();
    if (!view)
        return;
    FSyncing = true;
    QModelIndex index = FModel->IndexOf(FSelected);
    if (index.isValid())
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        view->selectionModel()->clear();
    FSyncing = false;
}

void TTreeView::PushOptions() {
    auto* view = WidgetAs<QTreeView>();
    if (!view)
        return;
    view->setRootIsDecorated(FShowRoot && FShowButtons);
    view->setItemsExpandable(FShowButtons);
    view->setAllColumnsShowFocus(FRowSelect);
    view->setEditTriggers(FReadOnly ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::SelectedClicked |
                                          QAbstractItemView::EditKeyPressed);
}

// The user's choice of a node: OnChanging may send the view back.
void TTreeView::UserSelected(TTreeNode* Node) {
    if (Node == FSelected)
        return;
    SetSelected(Node);
    if (FSelected != Node)
        PushSelection();
}

void TTreeView::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* view = WidgetAs<QTreeView>();
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
                     [this](const QModelIndex& Current) {
                         if (FSyncing)
                             return;
                         EventBoundary(this, [&] {
                             UserSelected(static_cast<TTreeNode*>(Current.internalPointer()));
                         });
                     });
    QObject::connect(view, &QTreeView::expanded, view, [this](const QModelIndex& Index) {
        if (FSyncing)
            return;
        EventBoundary(this,
                      [&] { static_cast<TTreeNode*>(Index.internalPointer())->SetExpanded(true); });
    });
    // A collapse that OnCollapsing refuses opens the node again.
    QObject::connect(view, &QTreeView::collapsed, view, [this](const QModelIndex& Index) {
        if (FSyncing)
            return;
        EventBoundary(this, [&] {
            auto* node = static_cast<TTreeNode*>(Index.internalPointer());
            node->SetExpanded(false);
            if (node->FExpanded)
                PushExpanded(node);
        });
    });
    QObject::connect(view, &QTreeView::clicked, view,
                     [this] { EventBoundary(this, [this] { Click(); }); });
}
