// Standard controls. TLabel (a TControl on a QLabel), TButton (a
// TWinControl on a QPushButton whose clicked signal fires Click) and TEdit
// (a TCustomEdit on a QLineEdit whose user edits write Text back and fire
// OnChange) are the worked examples of the pattern described at the top of
// Controls.h; the other standard controls follow them.
//
// The TCustomX/TX split: TCustomX holds the behaviour and publishes nothing
// of its own; TX publishes. Descendants that must not publish everything
// (TMemo from TCustomEdit) derive from the TCustomX class.
#pragma once

#include "clx/Controls.h"
#include "rtl/Lists.h"

ZX_ENUM(TTextLayout, tlTop, tlCenter, tlBottom);
ZX_ENUM(TEchoMode, emNormal, emNone, emPassword);

// ---------------------------------------------------------------------------
// Labels

class TCustomLabel : public TControl {
    ZX_CLASS(TCustomLabel, TControl)
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    // With AutoSize the label takes the size of its text whenever the text
    // or the font changes; measuring needs a QGuiApplication, without one
    // the size stays as it is.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // "&" marks the access key that focuses FocusControl; without it the
    // text shows as it is.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    void SetText(const AnsiString& Value) override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void FontChanged() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Sizes the label to its text (see AutoSize).
    void AdjustBounds();

private:
    void PushAlignment();
    void PushBuddy();

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
    ZX_CLASS(TLabel, TCustomLabel)
public:
    using TCustomLabel::TCustomLabel;
    static void PublishedProperties(TPropertyBuilder<TLabel>& P);
};

// ---------------------------------------------------------------------------
// Buttons

class TButton : public TWinControl {
    ZX_CLASS(TButton, TWinControl)
public:
    explicit TButton(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TButton>& P);

    // Enter anywhere in the window presses the default button, Escape the
    // cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value);
    // Set on the button's form when the button is clicked (closing a modal
    // form with that result).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    void Click() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void ConnectWidget() override;

private:
    void PushKeys();

    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

// ---------------------------------------------------------------------------
// Edits

// The text-editing state shared by single-line and multi-line edits. Every
// change of Text, by code or by the user, fires OnChange; user edits also
// set Modified.
class TCustomEdit : public TWinControl {
    ZX_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner);

    // 0: no limit.
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }

    void SetText(const AnsiString& Value) override;
    void Clear() { SetText(AnsiString()); }
    // Selects the whole text.
    virtual void SelectAll();

    // The selection: its start and length in characters of the text (as Qt
    // counts them), kept within the text. With a widget they are the
    // widget's; setting the start empties the selection there.
    Integer SelStart() const;
    void SetSelStart(Integer Value);
    Integer SelLength() const;
    void SetSelLength(Integer Value);
    AnsiString SelText() const;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    // The widget's selection, false without a widget; and the stored one
    // into the widget.
    virtual bool WidgetSelection(Integer& Start, Integer& Length) const = 0;
    virtual void PushSelection(Integer Start, Integer Length) = 0;
    // The widget, its state pushed, takes a selection set before it existed.
    void ConnectWidget() override;
    // The text's length in characters.
    Integer TextLength() const;
    // MaxLength and ReadOnly into the widget; the widget's class does it.
    virtual void UpdateWidgetEditing() = 0;
    // A user edit from the widget: stores the text, sets Modified, fires
    // OnChange.
    void TextEdited(const AnsiString& Value);

private:
    Integer FMaxLength = 0;
    bool FReadOnly = false;
    bool FModified = false;
    bool FAutoSelect = true;
    Integer FSelStart = 0;
    Integer FSelLength = 0;
    // A selection set without a widget, for the widget to take.
    bool FSelectionStored = false;
};

class TEdit : public TCustomEdit {
    ZX_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TEdit>& P);

    TEchoMode EchoMode() const { return FEchoMode; }
    void SetEchoMode(TEchoMode Value);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void UpdateWidgetEditing() override;
    void ConnectWidget() override;
    bool WidgetEvent(QEvent* Event) override;
    bool WidgetSelection(Integer& Start, Integer& Length) const override;
    void PushSelection(Integer Start, Integer Length) override;

private:
    TEchoMode FEchoMode = emNormal;
};

// ---------------------------------------------------------------------------
// Lists of a control

// What one change of a control's strings did: one string rewritten in place
// (Put), inserted or deleted at Index, or anything else (a reset: clearing,
// sorting, exchanging, a BeginUpdate/EndUpdate batch).
enum TStringsChangeKind { sckReset, sckPut, sckInsert, sckDelete };
struct TStringsChange {
    TStringsChangeKind Kind = sckReset;
    Integer Index = -1;
};

// The strings of a control (a memo's Lines, a combo box's Items): a string
// list that tells its control of every change, once per BeginUpdate/EndUpdate
// batch. A whole-list observer hears that the strings changed; an item
// observer hears what changed, before (Done false) and after (Done true) the
// change, so that an item view can follow one item at a time.
class TControlStrings : public TStringList {
    ZX_CLASS(TControlStrings, TStringList)
public:
    using TItemObserver = std::function<void(const TStringsChange& Change, bool Done)>;
    explicit TControlStrings(std::function<void()> AChanged);
    explicit TControlStrings(TItemObserver AObserver) : FObserver(std::move(AObserver)) {}

    void Put(Integer Index, const AnsiString& S) override;
    void Delete(Integer Index) override;

protected:
    void InsertItem(Integer Index, const AnsiString& S, TObject* AObject) override;
    void Changing() override;
    void Changed() override;
    // Runs DoChange as Change (the operations on one string).
    template <typename Body> void AsChange(TStringsChange Change, Body&& DoChange);

private:
    TItemObserver FObserver;
    TStringsChange FChange;
};

template <typename Body> void TControlStrings::AsChange(TStringsChange Change, Body&& DoChange) {
    TStringsChange outer = FChange;
    FChange = Change;
    try {
        DoChange();
    } catch (...) {
        FChange = outer;
        throw;
    }
    FChange = outer;
}

// Drawing an item of an owner-drawn list: Handled tells whether the handler
// drew it (false: the list draws it itself).
using TDrawItemEvent =
    TEvent<void(TObject* Sender, Integer Index, TRect Rect, TOwnerDrawState State, bool& Handled)>;
// The height of an item of a variable owner-drawn list.
using TMeasureItemEvent = TEvent<void(TWinControl* Control, Integer Index, Integer& Height)>;

// The item delegate that owner-drawn lists paint their items through.
class TItemDrawDelegate;
class QLineEdit;

// ---------------------------------------------------------------------------
// Memos

ZX_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth, ssAutoHorizontal, ssAutoVertical,
        ssAutoBoth);

// A multi-line edit on a QPlainTextEdit. Lines and Text are one value: Text
// is the lines joined with line feeds, and a text splits into lines at every
// line break, so that a text ending in one has an empty last line. Changes
// of Lines reach the widget; the user's edits reach Lines.
class TCustomMemo : public TCustomEdit {
    ZX_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* Lines() const { return FLines.get(); }
    void SetLines(const TStrings* Value) { FLines->Assign(Value); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value);

    void SetText(const AnsiString& Value) override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void UpdateWidgetEditing() override;
    void ConnectWidget() override;
    bool WidgetEvent(QEvent* Event) override;
    bool WidgetSelection(Integer& Start, Integer& Length) const override;
    void PushSelection(Integer Start, Integer Length) override;

private:
    void LinesChanged();
    void PushLayout();
    void WidgetTextChanged();

    std::unique_ptr<TControlStrings> FLines;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    TAlignment FAlignment = taLeftJustify;
    bool FWantReturns = true;
    bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
    ZX_CLASS(TMemo, TCustomMemo)
public:
    using TCustomMemo::TCustomMemo;
    static void PublishedProperties(TPropertyBuilder<TMemo>& P);
};

// ---------------------------------------------------------------------------
// Check boxes and radio buttons

ZX_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed);

// A control with a checked state whose change fires OnClick (from code as
// from the user, as on the platform).
class TButtonControl : public TWinControl {
    ZX_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* AOwner);

    virtual bool Checked() const = 0;
    virtual void SetChecked(bool Value) = 0;

protected:
    void UpdateWidgetText() override;
};

class TCustomCheckBox : public TButtonControl {
    ZX_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    bool Checked() const override { return FState == cbChecked; }
    void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    // Whether a click can lead to cbGrayed.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    // The state a click leads to: unchecked, then checked, then (with
    // AllowGrayed) grayed, then unchecked again.
    void Toggle();

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;

private:
    void PushState();

    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

class TCheckBox : public TCustomCheckBox {
    ZX_CLASS(TCheckBox, TCustomCheckBox)
public:
    using TCustomCheckBox::TCustomCheckBox;
    static void PublishedProperties(TPropertyBuilder<TCheckBox>& P);
};

// Checking a radio button unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
    ZX_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TRadioButton>& P);

    bool Checked() const override { return FChecked; }
    void SetChecked(bool Value) override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;

private:
    void PushChecked();

    bool FChecked = false;
};

// ---------------------------------------------------------------------------
// Group boxes

// A framed container with a caption, on a QGroupBox.
class TCustomGroupBox : public TWinControl {
    ZX_CLASS(TCustomGroupBox, TWinControl)
public:
    explicit TCustomGroupBox(TComponent* AOwner);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidgetText() override;
};

class TGroupBox : public TCustomGroupBox {
    ZX_CLASS(TGroupBox, TCustomGroupBox)
public:
    using TCustomGroupBox::TCustomGroupBox;
    static void PublishedProperties(TPropertyBuilder<TGroupBox>& P);
};

// ---------------------------------------------------------------------------
// List controls

class TItemModel;
class TListControlSource;
class QAbstractItemView;
class QObject;
class QVariant;

// What list boxes and combo boxes share: their Items, the current item
// (ItemIndex), the item height and owner drawing. The widget is a Qt item
// view over a TItemModel that reads Items; a change of one item tells the
// view of that item only, a batch of changes (Items->BeginUpdate ...
// EndUpdate) is one reset.
//
// ItemIndex follows its item when items are inserted or deleted before it,
// becomes -1 when its item is deleted, and stays by position when the list
// is reset. Owner-drawn descendants paint every item through DrawItem on
// Canvas, set up with the control's font and colour (the selection colours
// for a selected item); with variable item heights MeasureItem gives each
// item's height, otherwise ItemHeight does.
class TCustomListControl : public TWinControl {
    ZX_CLASS(TCustomListControl, TWinControl)
public:
    ~TCustomListControl() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* Value) { FItems->Assign(Value); }
    // -1: none. An index outside the items selects none (set while loading,
    // it waits for the items until Loaded).
    Integer ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(Integer Value);
    bool Sorted() const { return FItems->Sorted(); }
    // Sorting at run time reorders the items; switching it off keeps their order.
    void SetSorted(bool Value) { FItems->SetSorted(Value); }
    Integer ItemHeight() const { return FItemHeight; }
    void SetItemHeight(Integer Value);
    virtual bool IsOwnerDrawn() const = 0;
    virtual bool HasVariableItemHeights() const = 0;
    void Clear() { FItems->Clear(); }

    // The canvas owner drawing paints on; it has a painter only while an
    // item is being drawn.
    TCanvas* Canvas() const { return FCanvas.get(); }
    // Draws item Index into Rect of Canvas; true when it did. The base calls
    // OnDrawItem (which is taken to have drawn unless it clears Handled).
    virtual bool DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
    // The height of item Index with variable heights; the base calls
    // OnMeasureItem.
    virtual void MeasureItem(TWinControl* Control, Integer Index, Integer& Height);
    // The height item Index takes: ItemHeight, or what MeasureItem makes of it.
    Integer ItemHeightOf(Integer Index);

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void DestroyHandle() override;

protected:
    using TItemsFactory = std::function<std::unique_ptr<TControlStrings>(TControlStrings::TItemObserver)>;
    // AItems makes the items (subclasses whose items keep data of their own).
    TCustomListControl(TComponent* AOwner, const TItemsFactory& AItems);

    void Loaded() override;
    // The model the widget shows (nullptr without a widget); CreateWidget of
    // a subclass makes it with NewItemModel and gives it to its view.
    TItemModel* ItemModel() const;
    TItemModel* NewItemModel(QObject* Parent);
    // The Qt view that shows the items, for the owner-draw delegate.
    virtual QAbstractItemView* ItemView() const = 0;
    // Installs the owner-draw delegate once the control is owner-drawn.
    void PushOwnerDraw();
    // The item's value for role Role of Qt::ItemDataRole (the text by default).
    virtual QVariant ItemData(Integer Index, int Role) const;
    virtual bool SetItemData(Integer Index, const QVariant& Value, int Role);
    virtual Integer ItemFlags(Integer Index) const;
    // After one change of the items, ItemIndex following it, before the
    // model tells the view; the default does nothing.
    virtual void ItemsChanged(const TStringsChange& Change);
    // After the view was told (only with a widget); the default shows
    // ItemIndex.
    virtual void ItemsFollowed(const TStringsChange& Change);
    // ItemIndex changed from code; the widget shows it.
    virtual void PushItemIndex() = 0;
    // The item height or owner drawing changed.
    virtual void ItemHeightChanged() {}
    // Sets ItemIndex without pushing it (the user's choice).
    void StoreItemIndex(Integer Value) { FItemIndex = Value; }
    // Before one change of the items (the model tells the view).
    virtual void ItemsChanging(const TStringsChange& Change);

private:
    friend class TListControlSource;
    void ItemsObserved(const TStringsChange& Change, bool Done);
    void ItemsDone(const TStringsChange& Change);

    std::unique_ptr<TControlStrings> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TListControlSource> FSource;
    QPointer<TItemModel> FModel;
    QPointer<TItemDrawDelegate> FDelegate;
    Integer FItemIndex = -1;
    Integer FItemHeight = 16;
};

// ---------------------------------------------------------------------------
// Combo boxes

ZX_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
        csOwnerDrawVariable);

// A combo box on a QComboBox over the items' model. csDropDown and csSimple
// edit their text (Qt shows both as an editable drop-down); the other styles
// pick from the list, and Text is then the selected item. The owner-drawn
// styles paint every item, in the list and in the closed box (with
// odComboBoxEdit); csOwnerDrawVariable asks MeasureItem for each item's
// height, csOwnerDrawFixed uses ItemHeight.
//
// Setting ItemIndex or Text from code fires no event; the user's choice
// from the list fires OnChange, then OnSelect; the user's typing fires
// OnChange.
class TCustomComboBox : public TCustomListControl {
    ZX_CLASS(TCustomComboBox, TCustomListControl)
public:
    explicit TCustomComboBox(TComponent* AOwner);

    // The properties every published combo box shares, in their published
    // order; descendants add their own after them.
    template <typename T> static void PublishComboProperties(TPropertyBuilder<T>& P) {
        P.Property("Color", &TControl::Color, &TControl::SetColor)
            .TypeName("TColor")
            .Default(clWindow);
        P.Property("DropDownCount", &TCustomComboBox::DropDownCount,
                   &TCustomComboBox::SetDropDownCount)
            .Default(8);
        P.Property("ItemHeight", &TCustomListControl::ItemHeight,
                   &TCustomListControl::SetItemHeight)
            .Default(16);
        P.Property("Items", &TCustomListControl::Items, &TCustomListControl::SetItems);
        P.Property("ItemIndex", &TCustomListControl::ItemIndex, &TCustomListControl::SetItemIndex)
            .Default(-1);
        P.Property("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength)
            .Default(0);
        P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
        P.Property("Sorted", &TCustomListControl::Sorted, &TCustomListControl::SetSorted)
            .Default(false);
        P.Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
            .Default(csDropDown);
        P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
        P.Property("Text", &TControl::Text, &TControl::SetText).TypeName("TCaption");
        P.Property("OnChange", &TCustomComboBox::OnChange);
        P.Property("OnDrawItem", &TCustomListControl::OnDrawItem);
        P.Property("OnMeasureItem", &TCustomListControl::OnMeasureItem);
        P.Property("OnSelect", &TCustomComboBox::OnSelect);
    }

    void SetItemIndex(Integer Value) override;
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    Integer DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer Value);
    // 0: no limit.
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer Value);
    bool IsOwnerDrawn() const override {
        return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable;
    }
    bool HasVariableItemHeights() const override { return FStyle == csOwnerDrawVariable; }
    // Whether the user types the text (csDropDown, csSimple).
    bool IsEditable() const { return FStyle == csDropDown || FStyle == csSimple; }

    void SetText(const AnsiString& Value) override;
    void Clear();

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;

protected:
    virtual void Change();
    virtual void Select();
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void ConnectWidget() override;
    bool WidgetEvent(QEvent* Event) override;
    void Loaded() override;
    QAbstractItemView* ItemView() const override;
    void ItemsChanged(const TStringsChange& Change) override;
    void PushItemIndex() override;
    void ItemHeightChanged() override;

private:
    void PushStyle();
    void ConnectLineEdit(QLineEdit* Edit);
    void UserSelected(Integer Index);
    void UserTyped(const AnsiString& Value);
    void PaintClosedBox();

    TComboBoxStyle FStyle = csDropDown;
    Integer FDropDownCount = 8;
    Integer FMaxLength = 0;
};

class TComboBox : public TCustomComboBox {
    ZX_CLASS(TComboBox, TCustomComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
    static void PublishedProperties(TPropertyBuilder<TComboBox>& P);
};

// ---------------------------------------------------------------------------
// List boxes

ZX_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable);

// A list on a Qt item view (a table of one column shown as a list).
// ItemIndex is the current item; with MultiSelect any items can be Selected
// as well (without it, the selected item is the current one). Selections
// follow their items as ItemIndex does. The user's choice fires OnClick.
class TCustomListBox : public TCustomListControl {
    ZX_CLASS(TCustomListBox, TCustomListControl)
public:
    explicit TCustomListBox(TComponent* AOwner);

    // The properties every published list box shares, in their published
    // order; descendants add their own around them.
    template <typename T> static void PublishListProperties(TPropertyBuilder<T>& P) {
        P.Property("Color", &TControl::Color, &TControl::SetColor)
            .TypeName("TColor")
            .Default(clWindow);
        P.Property("ItemHeight", &TCustomListControl::ItemHeight,
                   &TCustomListControl::SetItemHeight)
            .Default(16);
        P.Property("Items", &TCustomListControl::Items, &TCustomListControl::SetItems);
        P.Property("ItemIndex", &TCustomListControl::ItemIndex, &TCustomListControl::SetItemIndex)
            .Default(-1);
        P.Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
            .Default(false);
        P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
        P.Property("Sorted", &TCustomListControl::Sorted, &TCustomListControl::SetSorted)
            .Default(false);
    }

    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    // EListError for an index outside the items.
    bool Selected(Integer Index) const;
    void SetSelected(Integer Index, bool Value);
    Integer SelCount() const;
    // Every item selected, or each item's selection turned round (with
    // MultiSelect; without it there is one item at most to select).
    void SelectAll();
    void InvertSelection();
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    bool IsOwnerDrawn() const override { return FStyle != lbStandard; }
    bool HasVariableItemHeights() const override { return FStyle == lbOwnerDrawVariable; }
    // The first item shown; setting it scrolls the list.
    Integer TopIndex() const;
    void SetTopIndex(Integer Value);
    // The item at Pos of the client area: with Existing -1 below the last
    // item, else Count.
    Integer ItemAtPos(const TPoint& Pos, bool Existing) const;
    // Client rectangle of item Index as the list shows it.
    TRect ItemRect(Integer Index) const;

protected:
    TCustomListBox(TComponent* AOwner, const TItemsFactory& AItems);
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;
    QAbstractItemView* ItemView() const override;
    void ItemsChanging(const TStringsChange& Change) override;
    void ItemsChanged(const TStringsChange& Change) override;
    void ItemsFollowed(const TStringsChange& Change) override;
    void PushItemIndex() override;
    void ItemHeightChanged() override;

private:
    void PushSelection();
    void PushRowHeights();
    void PushRowHeight(Integer Index);
    void WidgetSelectionChanged();

    // One byte an item (not vector<bool>): an item inserted or deleted in
    // the middle moves the others in one block.
    std::vector<Byte> FSelected;
    bool FMultiSelect = false;
    bool FSyncing = false;
    TListBoxStyle FStyle = lbStandard;
    Integer FTopIndex = 0;
};

class TListBox : public TCustomListBox {
    ZX_CLASS(TListBox, TCustomListBox)
public:
    using TCustomListBox::TCustomListBox;
    static void PublishedProperties(TPropertyBuilder<TListBox>& P);
};
