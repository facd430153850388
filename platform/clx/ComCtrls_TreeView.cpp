// The tree view: nodes kept both as a tree (children lists) and in one
// depth-first list, so that Item(i), Count and GetNext are direct; and their
// mirror in a QTreeWidget, one row per node.
//
// "Items.Data", version 1: the version (1), the node count, then the nodes in
// depth-first order, each as its level, image index, selected index, a flags
// byte (bit 0: expanded) and its text. A node's level is at most one more
// than the level of the node before it (the first is at level 0), so the
// levels alone give the shape of the tree.
#include "clx/ComCtrls_Items.h"
#include "clx/QtSupport.h"

#include <QtWidgets/QTreeWidget>

#include <algorithm>

namespace {


constexpr Integer TreeDataVersion = 1;
constexpr Byte ExpandedFlag = 1;
// Level, image index, selected index, flags, text length.
constexpr Integer MinNodeRecordSize = 4 + 4 + 4 + 1 + 4;
// Deeper trees are refused on reading: the widget's rows nest as deep.
constexpr Integer MaxNodeLevel = 1024;

struct TNodeImage {
    Integer Level = 0;
    Integer ImageIndex = 0;
    Integer SelectedIndex = 0;
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

void TTreeNode::SetExpanded(bool Value) {
    if (FExpanded == Value)
        return;
    FExpanded = Value;
    if (TTreeView* treeView = TreeView())
        treeView->NodeExpandedChanged(this);
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

Integer TTreeNode::Index() const {
    if (!FOwner)
        return -1;
    const std::vector<TTreeNode*>& siblings = Siblings();
    return static_cast<Integer>(std::find(siblings.begin(), siblings.end(), this) -
                                siblings.begin());
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
    auto self = std::find(siblings.begin(), siblings.end(), this);
    return std::next(self) == siblings.end() ? nullptr : *std::next(self);
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    if (!FOwner)
        return nullptr;
    const std::vector<TTreeNode*>& siblings = Siblings();
    auto self = std::find(siblings.begin(), siblings.end(), this);
    return self == siblings.begin() ? nullptr : *std::prev(self);
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
    if (FOwner)
        FOwner->FSelected = nullptr;
    std::vector<TTreeNode*> nodes;
    nodes.swap(FNodes);
    FRoots.clear();
    for (TTreeNode* node : nodes) {
        node->FOwner = nullptr;
        delete node;
    }
}

void TTreeNodes::BeginUpdate() {
    ++FUpdateCount;
}

void TTreeNodes::EndUpdate() {
    if (--FUpdateCount == 0)
        Changed();
}

void TTreeNodes::Changed() {
    if (FOwner && FUpdateCount == 0)
        FOwner->NodesChanged();
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
    siblings.insert(siblings.begin() + ChildIndex, node);
    FNodes.insert(FNodes.begin() + static_cast<std::ptrdiff_t>(position), node);
    Renumber(position);
    if (FOwner)
        FOwner->NodeAdded(node);
    return node;
}

TTreeNode* TTreeNodes::AppendNode(TTreeNode* Parent) {
    auto* node = new TTreeNode(this);
    node->FParent = Parent;
    node->FLevel = Parent ? Parent->FLevel + 1 : 0;
    node->FAbsoluteIndex = Count();
    Children(Parent).push_back(node);
    FNodes.push_back(node);
    if (FOwner)
        FOwner->NodeAdded(node);
    return node;
}

// Called by the node's destructor: the node's subtree leaves the tree and
// its descendants are freed.
void TTreeNodes::DeleteNode(TTreeNode* Node) {
    if (FOwner)
        FOwner->NodeDeleting(Node);
    auto first = FNodes.begin() + Node->FAbsoluteIndex;
    auto last = FNodes.begin() + static_cast<std::ptrdiff_t>(SubtreeEnd(Node));
    std::vector<TTreeNode*> descendants(std::next(first), last);
    FNodes.erase(first, last);
    std::vector<TTreeNode*>& siblings = Children(Node->FParent);
    siblings.erase(std::find(siblings.begin(), siblings.end(), Node));
    Renumber(static_cast<std::size_t>(Node->FAbsoluteIndex));
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
        writer.WriteByte(node->FExpanded ? ExpandedFlag : 0);
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
        if (flags & ~ExpandedFlag)
            reader.Error();
        image.Expanded = flags & ExpandedFlag;
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
        node->FExpanded = image.Expanded;
        path.push_back(node);
    }
}

// ---------------------------------------------------------------------------
// TTreeView

TTreeView::TTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TTreeNodes>(this)) {
    // The widget reports clicks on its rows itself.
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() = default;

void TTreeView::PublishedProperties(TPropertyBuilder<TTreeView>& P) {
    P.Property("Color", &TControl::Color, &TControl::SetColor).TypeName("TColor").Default(clWindow);
    P.Property("Items", &TTreeView::Items, &TTreeView::SetItems);
    P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    P.Property("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly).Default(false);
    P.Property("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons).Default(true);
    P.Property("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot).Default(true);
    P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
    P.Property("OnChange", &TTreeView::OnChange);
    P.Property("OnCollapsed", &TTreeView::OnCollapsed);
    P.Property("OnExpanded", &TTreeView::OnExpanded);
}

void TTreeView::SetSelected(TTreeNode* Value) {
    if (Value && Value->FOwner != FItems.get())
        throw EInvalidOperation(Format("The node is not a node of %s", {Name()}));
    if (FSelected == Value)
        return;
    FSelected = Value;
    PushSelection();
    Change(Value);
}

void TTreeView::SetReadOnly(bool Value) {
    if (FReadOnly == Value)
        return;
    FReadOnly = Value;
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

void TTreeView::FullExpand() {
    for (TTreeNode* node : FItems->FNodes)
        node->SetExpanded(true);
}

void TTreeView::FullCollapse() {
    for (TTreeNode* node : FItems->FNodes)
        node->SetExpanded(false);
}

void TTreeView::Change(TTreeNode* Node) {
    if (OnChange && !ComponentState().Contains(csLoading))
        OnChange(this, Node);
}

void TTreeView::Expanded(TTreeNode* Node) {
    if (OnExpanded && !ComponentState().Contains(csLoading))
        OnExpanded(this, Node);
}

void TTreeView::Collapsed(TTreeNode* Node) {
    if (OnCollapsed && !ComponentState().Contains(csLoading))
        OnCollapsed(this, Node);
}

bool TTreeView::Rebuilding() const {
    return FItems->FUpdateCount > 0;
}

void TTreeView::NodeChanged(TTreeNode* Node) {
    if (HandleAllocated() && !Rebuilding())
        PushRow(Node);
}

void TTreeView::NodeExpandedChanged(TTreeNode* Node) {
    if (HandleAllocated() && !Rebuilding())
        PushRow(Node);
    if (Node->FExpanded)
        Expanded(Node);
    else
        Collapsed(Node);
}

void TTreeView::NodeAdded(TTreeNode* Node) {
    if (!HandleAllocated() || Rebuilding())
        return;
    auto* tree = WidgetAs<QTreeWidget>();
    QSignalBlocker silence(tree);
    QTreeWidgetItem* row = MakeRow(Node);
    if (TTreeNode* parent = Node->FParent) {
        parent->FRow->insertChild(Node->Index(), row);
        parent->FRow->setExpanded(parent->FExpanded);
    } else {
        tree->insertTopLevelItem(Node->Index(), row);
    }
}

// The selection does not survive its node: no node is selected then.
void TTreeView::NodeDeleting(TTreeNode* Node) {
    if (FSelected && FSelected->FAbsoluteIndex >= Node->FAbsoluteIndex &&
        static_cast<std::size_t>(FSelected->FAbsoluteIndex) < FItems->SubtreeEnd(Node))
        FSelected = nullptr;
    if (!HandleAllocated() || Rebuilding() || !Node->FRow)
        return;
    QSignalBlocker silence(WidgetAs<QTreeWidget>());
    delete Node->FRow;
    std::size_t end = FItems->SubtreeEnd(Node);
    for (auto index = static_cast<std::size_t>(Node->FAbsoluteIndex); index < end; ++index)
        FItems->FNodes[index]->FRow = nullptr;
}

void TTreeView::NodesChanged() {
    if (HandleAllocated())
        RebuildRows();
}

QWidget* TTreeView::CreateWidget(QWidget* ParentWidget) {
    auto* tree = new QTreeWidget(ParentWidget);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    return tree;
}

void TTreeView::UpdateWidget() {
    TWinControl::UpdateWidget();
    PushOptions();
    RebuildRows();
}

void TTreeView::DestroyHandle() {
    ForgetRows();
    TWinControl::DestroyHandle();
}

void TTreeView::ForgetRows() {
    for (TTreeNode* node : FItems->FNodes)
        node->FRow = nullptr;
}

// Rows are made parents first (depth-first order), then opened: a row
// opens only once it is in the tree.
void TTreeView::RebuildRows() {
    auto* tree = WidgetAs<QTreeWidget>();
    QSignalBlocker silence(tree);
    ForgetRows();
    tree->clear();
    for (TTreeNode* node : FItems->FNodes) {
        QTreeWidgetItem* row = MakeRow(node);
        if (node->FParent)
            node->FParent->FRow->addChild(row);
        else
            tree->addTopLevelItem(row);
    }
    for (TTreeNode* node : FItems->FNodes)
        if (node->FExpanded)
            node->FRow->setExpanded(true);
    PushSelection();
}

QTreeWidgetItem* TTreeView::MakeRow(TTreeNode* Node) {
    auto* row = new QTreeWidgetItem;
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    row->setText(0, ToQString(Node->FText));
    row->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(Node)));
    Node->FRow = row;
    return row;
}

void TTreeView::PushRow(TTreeNode* Node) {
    if (!Node->FRow)
        return;
    QSignalBlocker silence(WidgetAs<QTreeWidget>());
    Node->FRow->setText(0, ToQString(Node->FText));
    Node->FRow->setExpanded(Node->FExpanded);
}

void TTreeView::PushSelection() {
    auto* tree = WidgetAs<QTreeWidget>();
    if (!tree)
        return;
    QSignalBlocker silence(tree);
    tree->clearSelection();
    if (FSelected && FSelected->FRow) {
        tree->setCurrentItem(FSelected->FRow);
        FSelected->FRow->setSelected(true);
    }
}

void TTreeView::PushOptions() {
    auto* tree = WidgetAs<QTreeWidget>();
    if (!tree)
        return;
    tree->setRootIsDecorated(FShowRoot && FShowButtons);
    tree->setEditTriggers(FReadOnly ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::SelectedClicked |
                                          QAbstractItemView::EditKeyPressed);
}

TTreeNode* TTreeView::NodeOfRow(QTreeWidgetItem* Row) const {
    return Row ? reinterpret_cast<TTreeNode*>(Row->data(0, Qt::UserRole).value<quintptr>())
               : nullptr;
}

void TTreeView::ConnectWidget() {
    TWinControl::ConnectWidget();
    auto* tree = WidgetAs<QTreeWidget>();
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree, [this, tree] {
        EventBoundary(this, [&] { SetSelected(NodeOfRow(tree->selectedItems().value(0))); });
    });
    QObject::connect(tree, &QTreeWidget::itemExpanded, tree, [this](QTreeWidgetItem* Row) {
        EventBoundary(this, [&] { NodeOfRow(Row)->SetExpanded(true); });
    });
    QObject::connect(tree, &QTreeWidget::itemCollapsed, tree, [this](QTreeWidgetItem* Row) {
        EventBoundary(this, [&] { NodeOfRow(Row)->SetExpanded(false); });
    });
    QObject::connect(tree, &QTreeWidget::itemChanged, tree, [this](QTreeWidgetItem* Row, int) {
        EventBoundary(this, [&] { NodeOfRow(Row)->SetText(FromQString(Row->text(0))); });
    });
    QObject::connect(tree, &QTreeWidget::clicked, tree,
                     [this] { EventBoundary(this, [this] { Click(); }); });
}
