// Menus: menu items, the main menu of a form, popup menus and shortcuts.
//
// The model
// ---------
// A menu (TMainMenu, TPopupMenu) holds a root item, Items, that is never
// streamed itself; the items under it are components owned by the form, as
// every component of a form file is, and each is written inside the record
// of its parent: a top-level item inside its menu, a sub-item inside its
// parent item (GetChildren/HasParent/SetParentComponent). Deleting an item
// deletes its sub-items, whoever owns them.
//
// A caption "-" makes the item a separator line; "&" marks the next
// character as the hot key ("&&" is a plain ampersand), as Qt reads it too.
// Checking a RadioItem unchecks the other radio items of the same parent
// and GroupIndex.
//
// The Qt mirror
// -------------
// Every item shows as a QAction, made on demand when its menu's widget is
// made (a QMenuBar for the main menu, attached to the form's widget through
// the form's Menu property; a QMenu for a popup menu); an item with
// sub-items also gets a QMenu of its own as the action's menu. Setters push
// their value into an existing action; adding, moving or removing items
// refills the parent's Qt menu. Triggering the action runs Click() inside
// an event boundary.
//
// Shortcuts
// ---------
// TShortCut is the platform's 16-bit code: the key's virtual-key code in the
// low byte, scShift, scCtrl and scAlt above it. Its text reads "Ctrl+S",
// "Shift+Ctrl+L", "F1", "Del": modifiers in the order Shift, Ctrl, Alt,
// then the key's name.
#pragma once

#include "clx/Controls.h"

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;
class TBasicAction;
class TMenu;
class TMenuActionLink;

// ---------------------------------------------------------------------------
// Shortcuts

using TShortCut = Word;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

// Virtual-key codes of the keys with names of their own; letters and digits
// are their upper-case ASCII codes.
inline constexpr Word VK_BACK = 0x08;
inline constexpr Word VK_TAB = 0x09;
inline constexpr Word VK_RETURN = 0x0D;
inline constexpr Word VK_ESCAPE = 0x1B;
inline constexpr Word VK_SPACE = 0x20;
inline constexpr Word VK_PRIOR = 0x21;
inline constexpr Word VK_NEXT = 0x22;
inline constexpr Word VK_END = 0x23;
inline constexpr Word VK_HOME = 0x24;
inline constexpr Word VK_LEFT = 0x25;
inline constexpr Word VK_UP = 0x26;
inline constexpr Word VK_RIGHT = 0x27;
inline constexpr Word VK_DOWN = 0x28;
inline constexpr Word VK_INSERT = 0x2D;
inline constexpr Word VK_DELETE = 0x2E;
inline constexpr Word VK_F1 = 0x70;
inline constexpr Word VK_F24 = 0x87;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "" for scNone and for a key without a name.
AnsiString ShortCutToText(TShortCut ShortCut);
// Modifiers and key names without regard to case; scNone for text it cannot
// read.
TShortCut TextToShortCut(const AnsiString& Text);
// The key sequence Qt shows and listens to (empty for scNone).
QKeySequence ShortCutToKeySequence(TShortCut ShortCut);

// The hot key of a caption ("&File" -> "F"), "" when it has none.
AnsiString GetHotkey(const AnsiString& Text);

inline constexpr char cLineCaption[] = "-";

// ---------------------------------------------------------------------------
// TMenuItem

class TMenuItem : public TComponent {
    ZX_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    // Deletes the sub-items and leaves the parent.
    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TMenuItem>& P);

    // --- Sub-items. Add and Insert take an item out of its old parent;
    // EMenuError for an item that is already here or that would contain
    // itself, EListError for a bad index.
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    TMenuItem* Items(Integer Index) const;
    void Add(TMenuItem* Item);
    void Insert(Integer Index, TMenuItem* Item);
    // Takes the item out (it is not deleted).
    void Delete(Integer Index);
    void Remove(TMenuItem* Item);
    Integer IndexOf(const TMenuItem* Item) const;
    // Deletes every sub-item.
    void Clear();
    TMenuItem* Parent() const { return FParent; }
    // Position among the parent's items (-1 without a parent); setting it
    // moves the item.
    Integer MenuIndex() const;
    void SetMenuIndex(Integer Value);
    // The menu the item is in, through its parents; nullptr when none.
    TMenu* GetParentMenu() const;

    // --- Properties
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& Value);
    // Whether the caption is "-".
    bool IsLine() const { return FCaption == cLineCaption; }
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte Value);
    // Clicking the item toggles Checked.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer Value) { FImageIndex = Value; }
    Integer HelpContext() const { return FHelpContext; }
    void SetHelpContext(Integer Value) { FHelpContext = Value; }

    // The action the item follows (Caption, Hint, ShortCut, Checked,
    // Enabled, Visible, ImageIndex) and executes when clicked.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);

    // With an AutoCheck the check toggles; then OnClick runs, or, without
    // one, the action executes.
    virtual void Click();
    TNotifyEvent OnClick;

    // --- Streaming: sub-items owned by Root are written inside the item;
    // an item is written inside its parent item or its menu.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    // --- The Qt mirror: the item's action, made on demand (EInvalidOperation
    // without a QApplication); nullptr from QtAction() while there is none.
    QAction* Handle();
    QAction* QtAction() const;
    // The QMenu of the sub-items, while the action exists and has sub-items.
    QMenu* QtSubMenu() const;
    void DestroyHandle();

private:
    friend class TMenu;
    friend class TMenuActionLink;

    void InsertItem(Integer Index, TMenuItem* Item);
    void DetachItem(TMenuItem* Item);
    void TurnSiblingsOff();
    bool Linked() const { return Action() != nullptr; }
    void PushAction();
    void ConnectAction();
    // The Qt widget the sub-items' actions are shown in, or nullptr.
    QWidget* ItemsWidget() const;
    // Makes, refills or drops the QMenu of the sub-items.
    void UpdateSubMenu();
    void FillWidget(QWidget* Widget);

    AnsiString FCaption;
    AnsiString FHint;
    TShortCut FShortCut = scNone;
    bool FChecked = false;
    bool FRadioItem = false;
    Byte FGroupIndex = 0;
    bool FAutoCheck = false;
    bool FEnabled = true;
    bool FVisible = true;
    Integer FImageIndex = -1;
    Integer FHelpContext = 0;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    // Set on the root item of a menu.
    TMenu* FMenu = nullptr;
    std::unique_ptr<TMenuActionLink> FActionLink;
    QPointer<QAction> FAction;
    QPointer<QMenu> FSubMenu;
};

class EMenuError : public Exception {
    using Exception::Exception;
};

// ---------------------------------------------------------------------------
// TMenu, TMainMenu, TPopupMenu

class TMenu : public TComponent {
    ZX_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TMenu>& P);

    // The root item: its sub-items are the menu's top-level items.
    TMenuItem* Items() const { return FItems; }
    // The image list (a TCustomImageList) the items' ImageIndex refers to.
    TComponent* Images() const { return FImages; }
    void SetImages(TComponent* Value);

    // Top-level items owned by Root, in menu order.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    // The widget the top-level items show in, nullptr while there is none.
    virtual QWidget* ItemsWidget() const = 0;
    // Drops the Qt widgets of the menu and its items.
    virtual void DestroyHandle();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Shows the top-level items' actions in the menu's widget.
    void ShowItemsIn(QWidget* Widget);

private:
    TMenuItem* FItems = nullptr;
    TComponent* FImages = nullptr;
};

// The menu bar of a form (set the form's Menu).
class TMainMenu : public TMenu {
    ZX_CLASS(TMainMenu, TMenu)
public:
    using TMenu::TMenu;
    ~TMainMenu() override;

    // Puts the menu bar on a form's widget (made with the form's widget);
    // nullptr takes it off.
    void AttachTo(QWidget* FormWidget);
    QMenuBar* QtMenuBar() const;
    QWidget* ItemsWidget() const override;
    void DestroyHandle() override;

private:
    QPointer<QMenuBar> FMenuBar;
};

// The menu a control shows on a right click (the control's PopupMenu).
class TPopupMenu : public TMenu {
    ZX_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    static void PublishedProperties(TPropertyBuilder<TPopupMenu>& P);

    // Whether a control shows the menu by itself on a right click.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    // The control that asked for the menu last.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

    // Fires OnPopup, then shows the menu at the screen position X, Y and
    // returns at once; the menu closes by itself when an item is chosen.
    virtual void Popup(Integer X, Integer Y);
    TNotifyEvent OnPopup;

    // The QMenu of the popup, made on demand.
    QMenu* Handle();
    QMenu* QtMenu() const;
    QWidget* ItemsWidget() const override;
    void DestroyHandle() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoPopup(TObject* Sender);

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    QPointer<QMenu> FQtMenu;
};
