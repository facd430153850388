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

class QModelIndex;
class QVariant;
class TItemModel;
class TListViewSource;
class TTreeViewSource;
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
// Tab control (a QTabBar above a client area): one set of tabs over
// controls that stay the same whichever tab is chosen.

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

// The tabs are the lines of Tabs. TabIndex is the chosen tab (-1: none);
// a choice of the user's asks OnChanging first and then fires OnChange,
// setting TabIndex from code fires neither. The controls on it lie in the
// area below the tabs, TabHeight high.
class TTabControl : public TWinControl {
    ZX_CLASS(TTabControl, TWinControl)
public:
    explicit TTabControl(TComponent* AOwner);
    ~TTabControl() override;
    static void PublishedProperties(TPropertyBuilder<TTabControl>& P);

    TStrings* Tabs() const { return FTabs.get(); }
    void SetTabs(const TStrings* Value) { FTabs->Assign(Value); }
    // An index outside the tabs chooses none (set while loading, it waits
    // for the tabs until Loaded).
    Integer TabIndex() const { return FTabIndex; }
    void SetTabIndex(Integer Value);
    Integer TabHeight() const { return FTabHeight; }
    void SetTabHeight(Integer Value);
    Integer ClientHeight() const override { return std::max(Height() - FTabHeight, 0); }

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;
    QWidget* ClientWidget() override;
    void UpdateWidgetBounds() override;
    void Loaded() override;
    virtual bool CanChange();
    virtual void Change();

private:
    void TabsChanged();
    void PushTabs();
    void PushTabIndex();
    void PlaceClientArea();
    void TabChosen(Integer Index);

    std::unique_ptr<TStringList> FTabs;
    Integer FTabIndex = -1;
    Integer FTabHeight = 24;
    bool FSyncing = false;
    QPointer<QWidget> FClientWidget;
};

// ---------------------------------------------------------------------------
// Spin edit (QSpinBox): an integer between MinValue and MaxValue, moved by
// Increment with the arrows. Value stays within the bounds (no bounds when
// both are 0); every change fires OnChange, from code as from the user.

class TSpinEdit : public TWinControl {
    ZX_CLASS(TSpinEdit, TWinControl)
public:
    explicit TSpinEdit(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TSpinEdit>& P);

    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer Value);
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer Value);
    Integer Value() const { return FValue; }
    void SetValue(Integer Value);
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer Value);

    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;
    void Loaded() override;
    virtual void Change();

private:
    Integer Bounded(Integer Value) const;
    void PushRange();

    Integer FMinValue = 0;
    Integer FMaxValue = 100;
    Integer FValue = 0;
    Integer FIncrement = 1;
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
// rest); with SimplePanel the bar shows SimpleText alone. With AutoHint the
// bar shows the application's hint (Application->Hint) as it changes: in
// SimpleText when SimplePanel is set or there are no panels, else in the
// first panel.
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
    bool AutoHint() const { return FAutoHint; }
    void SetAutoHint(bool Value) { FAutoHint = Value; }
    // Where AutoHint puts the application's hint (see the class).
    void ShowApplicationHint(const AnsiString& Hint);

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
    bool FAutoHint = false;
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
    // The image of StateImages shown before the item (-1: none).
    Integer StateIndex() const { return FStateIndex; }
    void SetStateIndex(Integer Value);
    // The item that has the keyboard focus (one at most).
    bool Focused() const;
    void SetFocused(bool Value);
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
    // Column: the one column that changed, -1 for the whole row.
    void Changed(TItemChange Change, Integer Column = -1);

    TListItems* FOwner;
    // Where the item was last found among its owner's items: Index looks
    // there first, so that telling the view of a change costs no search.
    mutable Integer FIndexHint = 0;
    AnsiString FCaption;
    std::unique_ptr<TStringList> FSubItems;
    Integer FImageIndex = 0;
    Integer FStateIndex = -1;
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
    bool Updating() const { return FUpdateCount > 0; }

    TListView* FOwner;
    std::vector<TListItem*> FItems;
    Integer FUpdateCount = 0;
};

using TLVChangeEvent = TEvent<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVColumnClickEvent = TEvent<void(TObject* Sender, TListColumn* Column)>;
using TLVSelectItemEvent = TEvent<void(TObject* Sender, TListItem* Item, bool Selected)>;
// Negative when Item1 goes before Item2; Data is what CustomSort was given.
using TLVCompare = std::function<Integer(TListItem* Item1, TListItem* Item2, Integer Data)>;

// Report style shows the columns with a header; the icon and list styles
// show the captions alone, one per line, without header. OnChange fires for
// every change of an item's text, image or state (selection, check mark),
// whoever makes it, except while the list view is being loaded; a change of
// an item's selection fires OnSelectItem as well. The widget is a Qt item
// view over a model that reads the items: a change of one item tells the
// view of that item only, a batch (Items->BeginUpdate ... EndUpdate) is one
// reset. Images come from SmallImages, state images from StateImages.
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
    TListItem* ItemFocused() const { return FItemFocused; }
    void SetItemFocused(TListItem* Value);
    // With MultiSelect: every item selected, or each item's selection
    // turned round.
    void SelectAll();
    void InvertSelection();
    // Items ordered by caption (case-insensitive), or by Compare.
    void AlphaSort();
    void CustomSort(const TLVCompare& Compare, Integer Data);
    // Cleared when the image list is destroyed.
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* Value);
    // The item at (X, Y) of the client area, nullptr when none.
    TListItem* GetItemAt(Integer X, Integer Y) const;

    TLVChangeEvent OnChange;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;

    void DestroyHandle() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual void SelectItem(TListItem* Item, bool Selected);
    virtual void ColClick(TListColumn* Column);

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    friend class TListViewSource;
    void ItemChanged(TListItem* Item, TItemChange Change, Integer Column);
    void ItemInserting(Integer Index);
    void ItemInserted();
    // Item is still in the items, at Index.
    void ItemRemoving(TListItem* Item, Integer Index);
    void ItemRemoved();
    void ItemsUpdating();
    void ItemsUpdated();
    void ColumnsChanged();
    void ImagesChanged();
    void PushSelection();
    void PushItemSelection(TListItem* Item);
    void PushStyle();
    void WidgetSelectionChanged(const std::vector<Integer>& Rows);
    void SortBy(const TLVCompare& Compare, Integer Data);

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TListViewSource> FSource;
    QPointer<TItemModel> FModel;
    TListItem* FItemFocused = nullptr;
    TCustomImageList* FSmallImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    bool FSyncing = false;
    TViewStyle FViewStyle = vsIcon;
    bool FReadOnly = false;
    bool FRowSelect = false;
    bool FColumnClick = true;
    bool FMultiSelect = false;
    bool FCheckboxes = false;
};

// ---------------------------------------------------------------------------
// Tree view (QTreeView over a model of the nodes)

class TTreeNode;
class TTreeNodes;

// Negative when Node1 goes before Node2; Data is what CustomSort was given.
using TTVCompare = std::function<Integer(TTreeNode* Node1, TTreeNode* Node2, Integer Data)>;

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
    // Images of the tree view's Images: unselected and selected, and the
    // state image of StateImages before them (-1: none).
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer Value);
    Integer SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(Integer Value);
    Integer StateIndex() const { return FStateIndex; }
    void SetStateIndex(Integer Value);
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    // Remembered with or without children, shown once there are some.
    // Collapsing asks the tree view's OnCollapsing first.
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    // The tree view's one selected node.
    bool Selected() const;
    void SetSelected(bool Value);
    // Expands the node's ancestors and scrolls the view to it.
    void MakeVisible();

    TTreeNode* Parent() const { return FParent; }
    // The children.
    Integer Count() const { return static_cast<Integer>(FChildren.size()); }
    // EListError for a bad index.
    TTreeNode* Item(Integer Index) const;
    // True with children, or when set (the node shows a button before its
    // children are added).
    bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool Value);
    // Depth: 0 for a top-level node.
    Integer Level() const { return FLevel; }
    // Position among its siblings.
    Integer Index() const { return FIndex; }
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
    // Orders the children by text (case-insensitive), or by Compare; with
    // Recurse their children too.
    void AlphaSort(bool Recurse = false);
    void CustomSort(const TTVCompare& Compare, Integer Data, bool Recurse = false);

private:
    friend class TTreeNodes;
    friend class TTreeView;
    friend class TTreeViewSource;
    const std::vector<TTreeNode*>& Siblings() const;
    void Changed();

    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<TTreeNode*> FChildren;
    Integer FLevel = 0;
    Integer FIndex = 0;
    Integer FAbsoluteIndex = 0;
    AnsiString FText;
    Integer FImageIndex = 0;
    Integer FSelectedIndex = 0;
    Integer FStateIndex = -1;
    bool FExpanded = false;
    bool FHasChildren = false;
    void* FData = nullptr;
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
    TTreeNode* InsertObject(TTreeNode* Sibling, const AnsiString& S, void* Data);
    // Frees the node with its children.
    void Delete(TTreeNode* Node);
    void Clear();
    // The view follows the nodes once, at the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // The nodes as the "Data" property holds them, and back (EReadError for
    // malformed data, the nodes unchanged).
    void WriteData(TStream& Stream) const;
    void ReadData(TStream& Stream);

private:
    friend class TTreeNode;
    friend class TTreeView;
    friend class TTreeViewSource;
    // A new node under Parent at position ChildIndex among its children.
    TTreeNode* InsertNode(TTreeNode* Parent, Integer ChildIndex, const AnsiString& S, void* Data);
    // A new last node of the depth-first order, a last child of Parent,
    // which is the last node or one of its ancestors (nullptr: top level).
    TTreeNode* AppendNode(TTreeNode* Parent);
    void DeleteNode(TTreeNode* Node);
    // The depth-first position just after Node's subtree.
    std::size_t SubtreeEnd(const TTreeNode* Node) const;
    void Renumber(std::size_t From);
    static void RenumberSiblings(std::vector<TTreeNode*>& Siblings, std::size_t From);
    // The depth-first order again after siblings were reordered.
    void RebuildOrder();
    std::vector<TTreeNode*>& Children(TTreeNode* Parent);
    bool Updating() const { return FUpdateCount > 0; }

    TTreeView* FOwner;
    // Every node, depth-first; the top-level nodes in their order.
    std::vector<TTreeNode*> FNodes;
    std::vector<TTreeNode*> FRoots;
    Integer FUpdateCount = 0;
};

using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVCollapsingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;

// One node at most is selected. OnChanging asks before the selection moves
// to another node (the node it moves to; AllowChange false keeps it where
// it is) and OnChange tells that it did, whoever moves it (not while
// loading). OnCollapsing asks before a node closes; OnExpanded and
// OnCollapsed tell that one opened or closed; OnDeletion fires for every
// node about to be freed, children before their parent.
//
// The widget is a QTreeView over a model that reads the nodes: a change of
// one node tells the view of that node only, a batch (Items->BeginUpdate
// ... EndUpdate) is one reset.
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
    // The selection spans the whole row.
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool Value);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool Value);
    // Cleared when the image list is destroyed.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* Value);
    void FullExpand();
    void FullCollapse();
    void AlphaSort(bool Recurse = true);
    void CustomSort(const TTVCompare& Compare, Integer Data, bool Recurse = true);
    // The node at (X, Y) of the client area, nullptr when none.
    TTreeNode* GetNodeAt(Integer X, Integer Y) const;

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnExpanded;
    TTVExpandedEvent OnCollapsed;
    TTVExpandedEvent OnDeletion;

    void DestroyHandle() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Shows the items again with the image lists now set.
    void ImagesChanged();
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Expanded(TTreeNode* Node);
    virtual void Collapsed(TTreeNode* Node);
    virtual void Delete(TTreeNode* Node);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    friend class TTreeViewSource;
    void NodeChanged(TTreeNode* Node);
    void NodeExpandedChanged(TTreeNode* Node);
    void NodeInserting(TTreeNode* Parent, Integer ChildIndex);
    void NodeInserted(TTreeNode* Node);
    void NodeDeleting(TTreeNode* Node);
    void NodeDeleted();
    void NodesUpdating();
    void NodesUpdated();
    void PushExpanded(TTreeNode* Node);
    void PushAllExpanded();
    void PushSelection();
    void PushOptions();
    void UserSelected(TTreeNode* Node);
    void SortNodes(const TTVCompare& Compare, Integer Data, TTreeNode* Parent, bool Recurse);

    std::unique_ptr<TTreeNodes> FItems;
    std::unique_ptr<TTreeViewSource> FSource;
    QPointer<TItemModel> FModel;
    TTreeNode* FSelected = nullptr;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    bool FReadOnly = false;
    bool FRowSelect = false;
    bool FShowButtons = true;
    bool FShowRoot = true;
    bool FSyncing = false;
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

// A button of a tool bar. The tool bar places its visible buttons side by
// side in the order of its controls, ButtonWidth x ButtonHeight each, or as
// wide as the widest caption when it shows captions (separators and
// dividers 8 wide). A check button toggles Down when clicked; Grouped
// check buttons next to each other form a group in which one at most is
// down, and clicking the one that is down leaves it down. The button shows
// image ImageIndex of the tool bar's Images; a tbsDropDown button shows its
// DropdownMenu from its arrow. A linked action also gives Checked (as
// Down) and ImageIndex.
class TToolButton : public TControl {
    ZX_CLASS(TToolButton, TControl)
public:
    explicit TToolButton(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TToolButton>& P);

    // The menu of a tbsDropDown button (a TPopupMenu); cleared when that
    // component is destroyed.
    TComponent* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TComponent* Value);

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
    std::unique_ptr<TControlActionLink> CreateActionLink() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void VisibleChanged() override;
    void ConnectWidget() override;

private:
    friend class TToolBar;
    void PushImage();
    void PushDropdownMenu();
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
    TComponent* FDropdownMenu = nullptr;
};

// The link of a tool button: a control's, and Checked as Down, ImageIndex.
class TToolButtonActionLink : public TControlActionLink {
    ZX_CLASS(TToolButtonActionLink, TControlActionLink)
public:
    explicit TToolButtonActionLink(TToolButton* AClient);

    void SetChecked(bool Value) override;
    void SetImageIndex(Integer Value) override;

private:
    TToolButton* FButton;
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
    void Resize() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TToolButton;
    void PushButtons();
    std::vector<TToolButton*> ButtonList() const;
    Integer CaptionedButtonWidth() const;

    Integer FButtonHeight = 22;
    Integer FButtonWidth = 23;
    bool FShowCaptions = false;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
};
