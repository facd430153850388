// Common controls: page control and tab sheets, status bar, header control,
// list view, tree view, progress bar, tool bar and tool buttons. Each keeps
// its whole state in the component and mirrors it into its natural Qt widget
// (see the top of Controls.h).
//
// Items of list views and nodes of tree views are plain objects owned by the
// control's Items (TListItems, TTreeNodes), usable without any widget: the
// translation engine walks Items[i].Caption of a list view and the nodes of
// a tree view in their order (Item(i), i from 0 to Count - 1, is the
// depth-first order GetFirstNode/GetNext walks). Form files keep them in the
// defined binary property "Items.Data" (formats described in the .cpp
// files), read as untrusted input: a malformed value raises EReadError and
// leaves the items as they were.
//
// Column, panel and section lists are collections published by the control,
// so the collector of collections finds their "Caption" and "Text".
#pragma once

#include "clx/Controls.h"
#include "rtl/Collections.h"
#include "rtl/Lists.h"
#include "rtl/Streams.h"

class QTreeWidgetItem;
class TPageControl;
class TListView;
class TTreeView;
class TToolBar;
class TCustomImageList;

// ---------------------------------------------------------------------------
// Page control and tab sheets (QTabWidget)

// A page of a page control: a container whose Caption is its tab's text.
// Making a TPageControl its parent (as form files do) makes it a page,
// appended after the pages there are; PageIndex moves it among them.
class TTabSheet : public TWinControl {
    ZX_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    static void PublishedProperties(TPropertyBuilder<TTabSheet>& P);

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* Value);
    // Position among the pages, -1 outside a page control.
    Integer PageIndex() const;
    void SetPageIndex(Integer Value);
    // Without its tab the page cannot be chosen; hiding the tab of the
    // active page activates the next page that shows its tab.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);

    void SetParent(TWinControl* AParent) override;
    void SetText(const AnsiString& Value) override;
    // Leaving the tabs is no choice of the user's: it fires no OnChange.
    void DestroyHandle() override;

protected:
    void CreateHandle() override;
    // The tab widget sizes its pages.
    void UpdateWidgetBounds() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

class TPageControl : public TWinControl {
    ZX_CLASS(TPageControl, TWinControl)
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    static void PublishedProperties(TPropertyBuilder<TPageControl>& P);

    Integer PageCount() const { return static_cast<Integer>(FPages.size()); }
    // EListError for a bad index.
    TTabSheet* Pages(Integer Index) const;
    // The page shown. The first page that joins a page control without an
    // active page becomes active; when the active page leaves, the page
    // then at its index (or the last) follows it. Setting a page of another
    // control raises EInvalidOperation. Only the user's choice of a tab
    // fires OnChange.
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Value);
    Integer ActivePageIndex() const;
    // -1 makes no page active.
    void SetActivePageIndex(Integer Value);

    // Pages first, in page order, then the other controls.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void CreateHandle() override;
    void ConnectWidget() override;
    void Resize() override;
    virtual void Change();

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void MovePage(TTabSheet* Page, Integer NewIndex);
    void PageTabVisibleChanged(TTabSheet* Page);
    void PageCaptionChanged(TTabSheet* Page);
    // The page inside the tabs.
    TRect DisplayRect() const;
    void AlignPage(TTabSheet* Page);
    // The tabs of the pages that have widgets, in page order, and the current one.
    void SyncTabs();
    void TabChosen(Integer TabIndex);

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

// ---------------------------------------------------------------------------
// Status bar (QStatusBar with one label per panel)

ZX_ENUM(TStatusPanelStyle, psText, psOwnerDraw);

class TStatusPanel : public TCollectionItem {
    ZX_CLASS(TStatusPanel, TCollectionItem)
public:
    explicit TStatusPanel(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static void PublishedProperties(TPropertyBuilder<TStatusPanel>& P);
    void Assign(const TPersistent* Source) override;

    const AnsiString& Text() const { return FText; }
    void SetText(const AnsiString& Value);
    Integer Width() const { return FWidth; }
    void SetWidth(Integer Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle Value);
    AnsiString GetDisplayName() const override;

private:
    AnsiString FText;
    Integer FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelStyle FStyle = psText;
};

class TStatusBar;

class TStatusPanels : public TOwnedCollection {
    ZX_CLASS(TStatusPanels, TOwnedCollection)
public:
    explicit TStatusPanels(TStatusBar* AStatusBar);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(Integer Index) const {
        return static_cast<TStatusPanel*>(TCollection::Items(Index));
    }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FStatusBar;
};

// Panels from left to right, each as wide as its Width (the last takes the
// rest); with SimplePanel the bar shows SimpleText alone.
class TStatusBar : public TWinControl {
    ZX_CLASS(TStatusBar, TWinControl)
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;
    static void PublishedProperties(TPropertyBuilder<TStatusBar>& P);

    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(const TStatusPanels* Value) { FPanels->Assign(Value); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const AnsiString& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const AnsiString& Value);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;

private:
    friend class TStatusPanels;
    void PanelsChanged(TStatusPanel* Panel);
    void PushPanel(Integer Index);
    void RebuildPanels();
    void PushSimple();

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    AnsiString FSimpleText;
};

// ---------------------------------------------------------------------------
// Header control (QHeaderView over a model of one row of section titles)

class THeaderSection : public TCollectionItem {
    ZX_CLASS(THeaderSection, TCollectionItem)
public:
    explicit THeaderSection(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static void PublishedProperties(TPropertyBuilder<THeaderSection>& P);
    void Assign(const TPersistent* Source) override;

    const AnsiString& Text() const { return FText; }
    void SetText(const AnsiString& Value);
    // Kept within MinWidth..MaxWidth.
    Integer Width() const { return FWidth; }
    void SetWidth(Integer Value);
    Integer MinWidth() const { return FMinWidth; }
    void SetMinWidth(Integer Value);
    Integer MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(Integer Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // Distance of the section's left edge from the header's.
    Integer Left() const;
    AnsiString GetDisplayName() const override;

private:
    AnsiString FText;
    Integer FWidth = 50;
    Integer FMinWidth = 0;
    Integer FMaxWidth = 10000;
    TAlignment FAlignment = taLeftJustify;
};

class THeaderControl;

class THeaderSections : public TOwnedCollection {
    ZX_CLASS(THeaderSections, TOwnedCollection)
public:
    explicit THeaderSections(THeaderControl* AHeaderControl);
    THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
    THeaderSection* Items(Integer Index) const {
        return static_cast<THeaderSection*>(TCollection::Items(Index));
    }

protected:
    void Update(TCollectionItem* Item) override;

private:
    THeaderControl* FHeaderControl;
};

using TSectionNotifyEvent = TEvent<void(THeaderControl* HeaderControl, THeaderSection* Section)>;

class THeaderControl : public TWinControl {
    ZX_CLASS(THeaderControl, TWinControl)
public:
    explicit THeaderControl(TComponent* AOwner);
    ~THeaderControl() override;
    static void PublishedProperties(TPropertyBuilder<THeaderControl>& P);

    THeaderSections* Sections() const { return FSections.get(); }
    void SetSections(const THeaderSections* Value) { FSections->Assign(Value); }

    // Fired by a click on a section, and after the user resized one (its
    // Width then holds the new width).
    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;
    virtual void SectionClick(THeaderSection* Section);
    virtual void SectionResize(THeaderSection* Section);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;

private:
    friend class THeaderSections;
    void SectionsChanged(THeaderSection* Section);
    void PushSection(Integer Index);
    void RebuildSections();
    void SectionResized(Integer Index, Integer NewWidth);

    std::unique_ptr<THeaderSections> FSections;
};

// ---------------------------------------------------------------------------
// The values of the items' "Data" properties: little-endian 32-bit integers,
// bytes, and texts as a 32-bit length and UTF-8 bytes. The reader takes
// untrusted bytes: every count and length is checked against what remains
// before anything is allocated, and anything malformed raises EReadError
// "Invalid <what> data".

class TItemDataWriter {
public:
    explicit TItemDataWriter(TStream& Stream) : FStream(Stream) {}
    void WriteInteger(Integer Value);
    void WriteByte(Byte Value);
    void WriteText(const AnsiString& Value);

private:
    TStream& FStream;
};

class TItemDataReader {
public:
    // What names the data in error messages ("list item").
    TItemDataReader(TStream& Stream, AnsiString What) : FStream(Stream), FWhat(std::move(What)) {}
    Integer ReadInteger();
    Byte ReadByte();
    AnsiString ReadText();
    // A count of records that take at least MinRecordSize bytes each.
    Integer ReadCount(Integer MinRecordSize);
    // The data must end here.
    void CheckEnd();
    [[noreturn]] void Error() const;

private:
    Int64 Remaining() const;

    TStream& FStream;
    AnsiString FWhat;
};

// ---------------------------------------------------------------------------
// List view (QTreeWidget)

ZX_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport);
enum TItemChange { ctText, ctImage, ctState };

class TListColumn : public TCollectionItem {
    ZX_CLASS(TListColumn, TCollectionItem)
public:
    explicit TListColumn(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static void PublishedProperties(TPropertyBuilder<TListColumn>& P);
    void Assign(const TPersistent* Source) override;

    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& Value);
    Integer Width() const { return FWidth; }
    void SetWidth(Integer Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // The column takes the width its texts need (when there is a widget to
    // measure them).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    AnsiString GetDisplayName() const override;

private:
    AnsiString FCaption;
    Integer FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = false;
};

class TListColumns : public TOwnedCollection {
    ZX_CLASS(TListColumns, TOwnedCollection)
public:
    explicit TListColumns(TListView* AListView);
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(Integer Index) const {
        return static_cast<TListColumn*>(TCollection::Items(Index));
    }
    TListView* ListView() const { return FListView; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TListView* FListView;
};

class TListItems;

// One row: Caption in the first column, SubItems in the columns after it.
class TListItem : public TPersistent {
    ZX_CLASS(TListItem, TPersistent)
public:
    explicit TListItem(TListItems* AOwner);
    ~TListItem() override;
    void Assign(const TPersistent* Source) override;

    TListItems* Owner() const { return FOwner; }
    TListView* ListView() const;
    // Position among the items.
    Integer Index() const;
    // Frees the item (it leaves its list).
    void Delete();

    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& Value);
    TStrings* SubItems() const { return FSubItems.get(); }
    void SetSubItems(const TStrings* Value) { FSubItems->Assign(Value); }
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    // Without MultiSelect, selecting an item unselects the others.
    bool Selected() const { return FSelected; }
    void SetSelected(bool Value);
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }

private:
    friend class TListItems;
    friend class TListView;
    void Changed(TItemChange Change);

    TListItems* FOwner;
    AnsiString FCaption;
    std::unique_ptr<TStringList> FSubItems;
    Integer FImageIndex = 0;
    bool FChecked = false;
    bool FSelected = false;
    void* FData = nullptr;
};

class TListItems : public TPersistent {
    ZX_CLASS(TListItems, TPersistent)
public:
    explicit TListItems(TListView* AOwner) : FOwner(AOwner) {}
    ~TListItems() override;
    // Copies the items (caption, sub-items, image, checked) of another list.
    void Assign(const TPersistent* Source) override;
    TPersistent* GetOwner() const override;
    // "Data": the items in the binary format of ComCtrls_ListView.cpp.
    void DefineProperties(TFiler* Filer) override;

    TListView* Owner() const { return FOwner; }
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    // EListError for a bad index.
    TListItem* Item(Integer Index) const;
    TListItem* operator[](Integer Index) const { return Item(Index); }
    TListItem* Add();
    // Index may equal Count (appends).
    TListItem* Insert(Integer Index);
    void Delete(Integer Index);
    void Clear();
    Integer IndexOf(const TListItem* Value) const;
    // The widget follows the items once, at the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // The items as the "Data" property holds them, and back (EReadError for
    // malformed data, the items unchanged).
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);

private:
    friend class TListItem;
    friend class TListView;
    void RemoveItem(TListItem* Item);
    void CheckIndex(Integer Index) const;

    TListView* FOwner;
    std::vector<TListItem*> FItems;
    Integer FUpdateCount = 0;
};

using TLVChangeEvent = TEvent<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVColumnClickEvent = TEvent<void(TObject* Sender, TListColumn* Column)>;

// Report style shows the columns with a header; the icon and list styles
// show the captions alone, one per line, without header. OnChange fires for
// every change of an item's text, image or state (selection, check mark),
// whoever makes it, except while the list view is being loaded.
class TListView : public TWinControl {
    ZX_CLASS(TListView, TWinControl)
public:
    explicit TListView(TComponent* AOwner);
    ~TListView() override;
    static void PublishedProperties(TPropertyBuilder<TListView>& P);

    TListColumns* Columns() const { return FColumns.get(); }
    void SetColumns(const TListColumns* Value) { FColumns->Assign(Value); }
    TListItems* Items() const { return FItems.get(); }
    void SetItems(const TListItems* Value) { FItems->Assign(Value); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool Value);
    // The first selected item; setting selects that one item alone.
    TListItem* Selected() const;
    void SetSelected(TListItem* Value);
    Integer SelCount() const;

    TLVChangeEvent OnChange;
    TLVColumnClickEvent OnColumnClick;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual void ColClick(TListColumn* Column);

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    void ItemChanged(TListItem* Item, TItemChange Change);
    void ItemsChanged();
    void ColumnsChanged();
    void PushItem(Integer Index);
    void PushSelection();
    void PushStyle();
    void RebuildRows();
    void WidgetSelectionChanged();
    void WidgetItemChanged(QTreeWidgetItem* Row, Integer Column);

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TViewStyle FViewStyle = vsIcon;
    bool FReadOnly = false;
    bool FRowSelect = false;
    bool FColumnClick = true;
    bool FMultiSelect = false;
    bool FCheckboxes = false;
};

// ---------------------------------------------------------------------------
// Tree view (QTreeWidget)

class TTreeNodes;

class TTreeNode : public TPersistent {
    ZX_CLASS(TTreeNode, TPersistent)
public:
    // Nodes are made by TTreeNodes (Add, AddChild, Insert...).
    explicit TTreeNode(TTreeNodes* AOwner);
    ~TTreeNode() override;
    void Assign(const TPersistent* Source) override;

    TTreeNodes* Owner() const { return FOwner; }
    TTreeView* TreeView() const;

    const AnsiString& Text() const { return FText; }
    void SetText(const AnsiString& Value);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer Value);
    Integer SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(Integer Value);
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    // Remembered with or without children, shown once there are some.
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    // The tree view's one selected node.
    bool Selected() const;
    void SetSelected(bool Value);

    TTreeNode* Parent() const { return FParent; }
    // The children.
    Integer Count() const { return static_cast<Integer>(FChildren.size()); }
    // EListError for a bad index.
    TTreeNode* Item(Integer Index) const;
    bool HasChildren() const { return !FChildren.empty(); }
    // Depth: 0 for a top-level node.
    Integer Level() const { return FLevel; }
    // Position among its siblings.
    Integer Index() const;
    // Position in the depth-first order of all nodes.
    Integer AbsoluteIndex() const { return FAbsoluteIndex; }
    TTreeNode* GetFirstChild() const;
    TTreeNode* GetLastChild() const;
    // The next and previous node in depth-first order, whatever their level.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    bool IsFirstNode() const { return FAbsoluteIndex == 0; }
    // Frees the node with its children.
    void Delete();
    void DeleteChildren();

private:
    friend class TTreeNodes;
    friend class TTreeView;
    const std::vector<TTreeNode*>& Siblings() const;
    void Changed();

    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<TTreeNode*> FChildren;
    Integer FLevel = 0;
    Integer FAbsoluteIndex = 0;
    AnsiString FText;
    Integer FImageIndex = 0;
    Integer FSelectedIndex = 0;
    bool FExpanded = false;
    void* FData = nullptr;
    // The widget's row while the tree view has a widget (see TTreeView).
    QTreeWidgetItem* FRow = nullptr;
};

// All nodes of a tree view. Count and Item count every node, in depth-first
// order; GetFirstNode/GetNext walk the same order.
class TTreeNodes : public TPersistent {
    ZX_CLASS(TTreeNodes, TPersistent)
public:
    explicit TTreeNodes(TTreeView* AOwner) : FOwner(AOwner) {}
    ~TTreeNodes() override;
    // Copies the nodes (text, images, expansion, shape) of another tree.
    void Assign(const TPersistent* Source) override;
    TPersistent* GetOwner() const override;
    // "Data": the nodes in the binary format of ComCtrls_TreeView.cpp.
    void DefineProperties(TFiler* Filer) override;

    TTreeView* Owner() const { return FOwner; }
    Integer Count() const { return static_cast<Integer>(FNodes.size()); }
    // By depth-first position; EListError for a bad index.
    TTreeNode* Item(Integer Index) const;
    TTreeNode* operator[](Integer Index) const { return Item(Index); }
    TTreeNode* GetFirstNode() const { return FNodes.empty() ? nullptr : FNodes.front(); }

    // A new last sibling of Sibling (nullptr: a new last top-level node).
    TTreeNode* Add(TTreeNode* Sibling, const AnsiString& S);
    TTreeNode* AddObject(TTreeNode* Sibling, const AnsiString& S, void* Data);
    // A new first sibling of Sibling (nullptr: a new first top-level node).
    TTreeNode* AddFirst(TTreeNode* Sibling, const AnsiString& S);
    // A new last or first child of Parent (nullptr: top level).
    TTreeNode* AddChild(TTreeNode* Parent, const AnsiString& S);
    TTreeNode* AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Data);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const AnsiString& S);
    // A new node just before Sibling (nullptr: a new last top-level node).
    TTreeNode* Insert(TTreeNode* Sibling, const AnsiString& S);
    // Frees the node with its children.
    void Delete(TTreeNode* Node);
    void Clear();
    // The widget follows the nodes once, at the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // The nodes as the "Data" property holds them, and back (EReadError for
    // malformed data, the nodes unchanged).
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);

private:
    friend class TTreeNode;
    friend class TTreeView;
    // A new node under Parent at position ChildIndex among its children.
    TTreeNode* InsertNode(TTreeNode* Parent, Integer ChildIndex, const AnsiString& S, void* Data);
    // A new last node of the depth-first order, a last child of Parent,
    // which is the last node or one of its ancestors (nullptr: top level).
    TTreeNode* AppendNode(TTreeNode* Parent);
    void DeleteNode(TTreeNode* Node);
    // The depth-first position just after Node's subtree.
    std::size_t SubtreeEnd(const TTreeNode* Node) const;
    void Renumber(std::size_t From);
    std::vector<TTreeNode*>& Children(TTreeNode* Parent);
    void Changed();

    TTreeView* FOwner;
    // Every node, depth-first; the top-level nodes in their order.
    std::vector<TTreeNode*> FNodes;
    std::vector<TTreeNode*> FRoots;
    Integer FUpdateCount = 0;
};

using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;

// One node at most is selected. OnChange fires whenever the selection
// changes, whoever changes it (not while loading); OnExpanded and
// OnCollapsed whenever a node opens or closes.
class TTreeView : public TWinControl {
    ZX_CLASS(TTreeView, TWinControl)
public:
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;
    static void PublishedProperties(TPropertyBuilder<TTreeView>& P);

    TTreeNodes* Items() const { return FItems.get(); }
    void SetItems(const TTreeNodes* Value) { FItems->Assign(Value); }
    TTreeNode* Selected() const { return FSelected; }
    // A node of another tree raises EInvalidOperation.
    void SetSelected(TTreeNode* Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool Value);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool Value);
    void FullExpand();
    void FullCollapse();

    TTVChangedEvent OnChange;
    TTVExpandedEvent OnExpanded;
    TTVExpandedEvent OnCollapsed;

    void DestroyHandle() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;
    virtual void Change(TTreeNode* Node);
    virtual void Expanded(TTreeNode* Node);
    virtual void Collapsed(TTreeNode* Node);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    void NodeChanged(TTreeNode* Node);
    void NodeExpandedChanged(TTreeNode* Node);
    void NodeAdded(TTreeNode* Node);
    void NodeDeleting(TTreeNode* Node);
    void NodesChanged();
    void RebuildRows();
    QTreeWidgetItem* MakeRow(TTreeNode* Node);
    void PushRow(TTreeNode* Node);
    void PushSelection();
    void PushOptions();
    void ForgetRows();
    TTreeNode* NodeOfRow(QTreeWidgetItem* Row) const;
    bool Rebuilding() const;

    std::unique_ptr<TTreeNodes> FItems;
    TTreeNode* FSelected = nullptr;
    bool FReadOnly = false;
    bool FShowButtons = true;
    bool FShowRoot = true;
};

// ---------------------------------------------------------------------------
// Progress bar (QProgressBar)

class TProgressBar : public TWinControl {
    ZX_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TProgressBar>& P);

    // Position stays within Min..Max.
    Integer Min() const { return FMin; }
    void SetMin(Integer Value);
    Integer Max() const { return FMax; }
    void SetMax(Integer Value);
    Integer Position() const { return FPosition; }
    void SetPosition(Integer Value);
    Integer Step() const { return FStep; }
    void SetStep(Integer Value) { FStep = Value; }
    // Advances Position by Step; beyond Max it starts again at Min.
    void StepIt();
    void StepBy(Integer Delta);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;

private:
    void PushRange();

    Integer FMin = 0;
    Integer FMax = 100;
    Integer FPosition = 0;
    Integer FStep = 10;
};

// ---------------------------------------------------------------------------
// Tool bar (QToolBar) and tool buttons (QToolButton)

ZX_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider);

// A button of a tool bar. The tool bar places its buttons side by side in
// the order of its controls, ButtonWidth x ButtonHeight each (separators
// and dividers 8 wide). A check button toggles Down when clicked; Grouped
// check buttons next to each other form a group in which one at most is
// down, and clicking the one that is down leaves it down.
class TToolButton : public TControl {
    ZX_CLASS(TToolButton, TControl)
public:
    explicit TToolButton(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TToolButton>& P);

    TToolBar* ToolBar() const;
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle Value);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool Value);
    // Index among the tool bar's buttons, -1 without a tool bar.
    Integer Index() const;

    void SetParent(TWinControl* AParent) override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void ConnectWidget() override;

private:
    friend class TToolBar;
    bool IsSeparator() const { return FStyle == tbsSeparator || FStyle == tbsDivider; }
    // A click on the widget: a check button toggles, then Click.
    void UserClick();
    void PushState();
    // The grouped check buttons next to this one, itself included.
    std::vector<TToolButton*> Group() const;

    TToolButtonStyle FStyle = tbsButton;
    Integer FImageIndex = -1;
    bool FDown = false;
    bool FGrouped = false;
};

class TToolBar : public TWinControl {
    ZX_CLASS(TToolBar, TWinControl)
public:
    explicit TToolBar(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TToolBar>& P);

    Integer ButtonCount() const;
    // The tool buttons among the controls, in order; EListError for a bad index.
    TToolButton* Buttons(Integer Index) const;
    Integer ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(Integer Value);
    Integer ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(Integer Value);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // The image list of the buttons' images; cleared when it is destroyed.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);

    // Places the buttons (see TToolButton).
    void ArrangeButtons();

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TToolButton;
    void PushButtons();
    std::vector<TToolButton*> ButtonList() const;

    Integer FButtonHeight = 22;
    Integer FButtonWidth = 23;
    bool FShowCaptions = false;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
};
