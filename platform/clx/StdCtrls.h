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
    // Selects the whole text in the widget.
    virtual void SelectAll() {}

    TNotifyEvent OnChange;

protected:
    virtual void Change();
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
};

class TEdit : public TCustomEdit {
    ZX_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TEdit>& P);

    TEchoMode EchoMode() const { return FEchoMode; }
    void SetEchoMode(TEchoMode Value);
    void SelectAll() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void UpdateWidgetEditing() override;
    void ConnectWidget() override;
    bool WidgetEvent(QEvent* Event) override;

private:
    TEchoMode FEchoMode = emNormal;
};

// ---------------------------------------------------------------------------
// Lists of a control

// The strings of a control (a memo's Lines, a combo box's Items): a string
// list that tells its control of every change, once per BeginUpdate/EndUpdate
// batch, so that the control pushes them into its widget.
class TControlStrings : public TStringList {
    ZX_CLASS(TControlStrings, TStringList)
public:
    explicit TControlStrings(std::function<void()> AChanged) : FChanged(std::move(AChanged)) {}

protected:
    void Changed() override;

private:
    std::function<void()> FChanged;
};

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
    void SelectAll() override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void UpdateWidgetEditing() override;
    void ConnectWidget() override;
    bool WidgetEvent(QEvent* Event) override;

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
// Combo boxes

ZX_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
        csOwnerDrawVariable);

// A combo box on a QComboBox. csDropDown and csSimple edit their text (Qt
// shows both as an editable drop-down); the other styles pick from the list,
// and Text is then the selected item. The owner-drawn styles paint every
// item, in the list and in the closed box (with odComboBoxEdit), through
// DrawItem on Canvas, set up with the combo's font and colour (the
// selection colours for a selected item); csOwnerDrawVariable asks
// MeasureItem for each item's height, csOwnerDrawFixed uses ItemHeight.
//
// Setting ItemIndex or Text from code fires no event; the user's choice
// from the list fires OnChange, then OnSelect; the user's typing fires
// OnChange.
class TCustomComboBox : public TWinControl {
    ZX_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    // The properties every published combo box shares, in their published
    // order; descendants add their own after them.
    template <typename T> static void PublishComboProperties(TPropertyBuilder<T>& P) {
        P.Property("Color", &TControl::Color, &TControl::SetColor)
            .TypeName("TColor")
            .Default(clWindow);
        P.Property("DropDownCount", &TCustomComboBox::DropDownCount,
                   &TCustomComboBox::SetDropDownCount)
            .Default(8);
        P.Property("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight)
            .Default(16);
        P.Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
        P.Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
            .Default(-1);
        P.Property("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength)
            .Default(0);
        P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
        P.Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false);
        P.Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
            .Default(csDropDown);
        P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
        P.Property("Text", &TControl::Text, &TControl::SetText).TypeName("TCaption");
        P.Property("OnChange", &TCustomComboBox::OnChange);
        P.Property("OnDrawItem", &TCustomComboBox::OnDrawItem);
        P.Property("OnMeasureItem", &TCustomComboBox::OnMeasureItem);
        P.Property("OnSelect", &TCustomComboBox::OnSelect);
    }

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* Value) { FItems->Assign(Value); }
    // -1: none. An index outside the items selects none (set while loading,
    // it waits for the items until Loaded).
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer Value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool Value) { FItems->SetSorted(Value); }
    Integer ItemHeight() const { return FItemHeight; }
    void SetItemHeight(Integer Value);
    Integer DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer Value);
    // 0: no limit.
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer Value);
    bool IsOwnerDrawn() const {
        return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable;
    }
    // Whether the user types the text (csDropDown, csSimple).
    bool IsEditable() const { return FStyle == csDropDown || FStyle == csSimple; }

    void SetText(const AnsiString& Value) override;
    void Clear();

    // The canvas owner drawing paints on; it has a painter only while an
    // item is being drawn.
    TCanvas* Canvas() const { return FCanvas.get(); }

    // Draws item Index into Rect of Canvas; true when it did. The base calls
    // OnDrawItem (which is taken to have drawn unless it clears Handled).
    virtual bool DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
    // The height of item Index (csOwnerDrawVariable); the base calls
    // OnMeasureItem.
    virtual void MeasureItem(TWinControl* Control, Integer Index, Integer& Height);

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void DestroyHandle() override;

protected:
    virtual void Change();
    virtual void Select();
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void UpdateWidgetText() override;
    void ConnectWidget() override;
    bool WidgetEvent(QEvent* Event) override;
    void Loaded() override;

private:
    void ItemsChanged();
    void PushItems();
    void PushItemIndex();
    void PushStyle();
    void ConnectLineEdit(QLineEdit* Edit);
    void UserSelected(Integer Index);
    void UserTyped(const AnsiString& Value);
    void PaintClosedBox();

    std::unique_ptr<TControlStrings> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    Integer FItemIndex = -1;
    TComboBoxStyle FStyle = csDropDown;
    Integer FItemHeight = 16;
    Integer FDropDownCount = 8;
    Integer FMaxLength = 0;
    QPointer<TItemDrawDelegate> FDelegate;
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

// A list on a QListWidget. ItemIndex is the current item; with MultiSelect
// any items can be Selected as well (without it, the selected item is the
// current one). Items keep their selection by position when the list
// changes. The owner-drawn styles draw as a combo box's do.
class TCustomListBox : public TWinControl {
    ZX_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    // The properties every published list box shares, in their published
    // order; descendants add their own around them.
    template <typename T> static void PublishListProperties(TPropertyBuilder<T>& P) {
        P.Property("Color", &TControl::Color, &TControl::SetColor)
            .TypeName("TColor")
            .Default(clWindow);
        P.Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
            .Default(16);
        P.Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
        P.Property("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex)
            .Default(-1);
        P.Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
            .Default(false);
        P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
        P.Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
    }

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* Value) { FItems->Assign(Value); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    // EListError for an index outside the items.
    bool Selected(Integer Index) const;
    void SetSelected(Integer Index, bool Value);
    Integer SelCount() const;
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool Value) { FItems->SetSorted(Value); }
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    Integer ItemHeight() const { return FItemHeight; }
    void SetItemHeight(Integer Value);
    bool IsOwnerDrawn() const { return FStyle != lbStandard; }
    void Clear() { FItems->Clear(); }

    TCanvas* Canvas() const { return FCanvas.get(); }
    virtual bool DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(TWinControl* Control, Integer Index, Integer& Height);

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void DestroyHandle() override;

protected:
    // For subclasses whose items keep data of their own; AItems reports its
    // changes to ItemsChanged.
    TCustomListBox(TComponent* AOwner, std::unique_ptr<TControlStrings> AItems);
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void UpdateWidget() override;
    void ConnectWidget() override;
    void Loaded() override;
    // After the widget's items are made: subclasses dress them (check boxes).
    virtual void UpdateWidgetItems() {}
    // The items changed; subclasses keep their per-item state by position.
    virtual void ItemsChanged();

private:
    void PushItems();
    void PushSelection();
    void PushStyle();
    void WidgetSelectionChanged();

    std::unique_ptr<TControlStrings> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    std::vector<bool> FSelected;
    Integer FItemIndex = -1;
    bool FMultiSelect = false;
    TListBoxStyle FStyle = lbStandard;
    Integer FItemHeight = 16;
    QPointer<TItemDrawDelegate> FDelegate;
};

class TListBox : public TCustomListBox {
    ZX_CLASS(TListBox, TCustomListBox)
public:
    using TCustomListBox::TCustomListBox;
    static void PublishedProperties(TPropertyBuilder<TListBox>& P);
};
