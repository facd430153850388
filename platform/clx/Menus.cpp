#include "clx/Menus.h"
#include "clx/QtSupport.h"

#include "clx/ActnList.h"

#include <QtGui/QAction>
#include <QtGui/QCursor>
#include <QtGui/QKeySequence>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>
#include <array>
#include <set>

namespace {

struct TKeyName {
    Word Key;
    const char* Name;
    // The Qt key, with the keypad modifier for a key of the keypad.
    int QtKey;
};

constexpr std::array<TKeyName, 16> KeyNames{{
    {VK_BACK, "BkSp", Qt::Key_Backspace},
    {VK_TAB, "Tab", Qt::Key_Tab},
    {VK_RETURN, "Enter", Qt::Key_Return},
    {VK_NUMPAD_ENTER, "Num Enter", QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter).toCombined()},
    {VK_ESCAPE, "Esc", Qt::Key_Escape},
    {VK_SPACE, "Space", Qt::Key_Space},
    {VK_PRIOR, "PgUp", Qt::Key_PageUp},
    {VK_NEXT, "PgDn", Qt::Key_PageDown},
    {VK_END, "End", Qt::Key_End},
    {VK_HOME, "Home", Qt::Key_Home},
    {VK_LEFT, "Left", Qt::Key_Left},
    {VK_UP, "Up", Qt::Key_Up},
    {VK_RIGHT, "Right", Qt::Key_Right},
    {VK_DOWN, "Down", Qt::Key_Down},
    {VK_INSERT, "Ins", Qt::Key_Insert},
    {VK_DELETE, "Del", Qt::Key_Delete},
}};

struct TModifierName {
    TShortCut Flag;
    const char* Prefix;
};

// The order in which the text names them.
constexpr std::array<TModifierName, 3> ModifierNames{{
    {scShift, "Shift+"},
    {scCtrl, "Ctrl+"},
    {scAlt, "Alt+"},
}};

bool IsLetterOrDigit(Word Key) {
    return (Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z');
}

AnsiString KeyToText(Word Key) {
    if (IsLetterOrDigit(Key))
        return AnsiString(1, static_cast<char>(Key));
    if (Key >= VK_F1 && Key <= VK_F24) {
        // Appended, not "F" + ...: GCC 12 at -O3 warns falsely of an
        // overlapping copy in the operator+ form.
        AnsiString name = "F";
        name += IntToStr(Key - VK_F1 + 1);
        return name;
    }
    for (const TKeyName& entry : KeyNames)
        if (entry.Key == Key)
            return entry.Name;
    return "";
}

bool TextToKey(const AnsiString& Text, Word& Key) {
    if (Text.size() == 1) {
        Word upper = static_cast<Word>(std::toupper(static_cast<unsigned char>(Text[0])));
        if (IsLetterOrDigit(upper)) {
            Key = upper;
            return true;
        }
    }
    for (Word function = VK_F1; function <= VK_F24; ++function)
        if (SameText(Text, KeyToText(function))) {
            Key = function;
            return true;
        }
    for (const TKeyName& entry : KeyNames)
        if (SameText(Text, entry.Name)) {
            Key = entry.Key;
            return true;
        }
    return false;
}

int KeyToQtKey(Word Key) {
    if (IsLetterOrDigit(Key))
        return Key;
    if (Key >= VK_F1 && Key <= VK_F24)
        return Qt::Key_F1 + (Key - VK_F1);
    for (const TKeyName& entry : KeyNames)
        if (entry.Key == Key)
            return entry.QtKey;
    return 0;
}

char HotkeyLetter(char Character) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(Character)));
}

// Where in Caption a hot key not in Taken can go (npos: nowhere).
std::size_t FreeHotkeyPosition(const AnsiString& Caption, const std::set<char>& Taken) {
    for (std::size_t at = 0; at < Caption.size(); ++at) {
        char letter = HotkeyLetter(Caption[at]);
        if (IsLetterOrDigit(static_cast<Byte>(letter)) && !Taken.contains(letter))
            return at;
    }
    return AnsiString::npos;
}

// Replaces the actions shown in Widget with Items' actions, in order.
void ShowItems(QWidget* Widget, const std::vector<TMenuItem*>& Items) {
    const QList<QAction*> shown = Widget->actions();
    for (QAction* action : shown)
        Widget->removeAction(action);
    for (TMenuItem* item : Items)
        Widget->addAction(item->Handle());
}

} // namespace

// ---------------------------------------------------------------------------
// Shortcuts and hot keys

TShortCut ShortCut(Word Key, TShiftState Shift) {
    if (Key & 0xFF00)
        return scNone;
    TShortCut result = Key;
    if (Shift.Contains(ssShift))
        result |= scShift;
    if (Shift.Contains(ssCtrl))
        result |= scCtrl;
    if (Shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
    Key = ShortCut & 0xFF;
    Shift = {};
    if (ShortCut & scShift)
        Shift.Include(ssShift);
    if (ShortCut & scCtrl)
        Shift.Include(ssCtrl);
    if (ShortCut & scAlt)
        Shift.Include(ssAlt);
}

AnsiString ShortCutToText(TShortCut ShortCut) {
    AnsiString key = KeyToText(ShortCut & 0xFF);
    if (key.empty())
        return "";
    AnsiString result;
    for (const TModifierName& modifier : ModifierNames)
        if (ShortCut & modifier.Flag)
            result += modifier.Prefix;
    return result + key;
}

TShortCut TextToShortCut(const AnsiString& Text) {
    TShortCut modifiers = scNone;
    AnsiString rest = Text;
    bool found = true;
    while (found) {
        found = false;
        for (const TModifierName& modifier : ModifierNames) {
            AnsiString prefix = modifier.Prefix;
            if (rest.size() > prefix.size() && SameText(rest.substr(0, prefix.size()), prefix)) {
                modifiers |= modifier.Flag;
                rest.erase(0, prefix.size());
                found = true;
            }
        }
    }
    Word key = 0;
    if (!TextToKey(rest, key))
        return scNone;
    return static_cast<TShortCut>(key | modifiers);
}

QKeySequence ShortCutToKeySequence(TShortCut ShortCut) {
    int key = KeyToQtKey(ShortCut & 0xFF);
    if (key == 0)
        return {};
    int modifiers = 0;
    if (ShortCut & scShift)
        modifiers |= Qt::SHIFT;
    if (ShortCut & scCtrl)
        modifiers |= Qt::CTRL;
    if (ShortCut & scAlt)
        modifiers |= Qt::ALT;
    return QKeySequence(key | modifiers);
}

AnsiString GetHotkey(const AnsiString& Text) {
    for (std::size_t at = 0; at + 1 < Text.size(); ++at)
        if (Text[at] == cHotkeyPrefix) {
            if (Text[at + 1] != cHotkeyPrefix)
                return Text.substr(at + 1, 1);
            ++at;
        }
    return "";
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    DestroyHandle();
}

void TMenuItem::BeforeDestruction() {
    TComponent::BeforeDestruction();
    FActionLink.reset();
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        DetachItem(item);
        delete item;
    }
    if (FParent)
        FParent->Remove(this);
    DestroyHandle();
}

void TMenuItem::PublishedProperties(TPropertyBuilder<TMenuItem>& P) {
    auto notLinked = [](const TMenuItem& Item) { return !Item.Linked(); };
    P.Property("Action", &TMenuItem::Action, &TMenuItem::SetAction);
    P.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
    P.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .TypeName("TCaption")
        .Stored(notLinked);
    P.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
        .Default(false)
        .Stored(notLinked);
    P.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
        .Default(true)
        .Stored(notLinked);
    P.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    P.Property("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext)
        .TypeName("THelpContext")
        .Default(0)
        .Stored(notLinked);
    P.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint).Stored(notLinked);
    P.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
        .TypeName("TImageIndex")
        .Default(-1)
        .Stored(notLinked);
    P.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
    P.Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
        .TypeName("TShortCut")
        .Default(scNone)
        .Stored(notLinked);
    P.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
        .Default(true)
        .Stored(notLinked);
    P.Property("OnClick", &TMenuItem::OnClick);
}

// --- Sub-items

TMenuItem* TMenuItem::Items(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FItems[static_cast<std::size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count() - (Item && Item->FParent == this ? 1 : 0), Item);
}

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
    if (!Item)
        return;
    if (Item->FParent == this)
        throw EMenuError("Menu inserted twice");
    for (const TMenuItem* ancestor = this; ancestor; ancestor = ancestor->FParent)
        if (ancestor == Item)
            throw EMenuError("Menu item cannot contain itself");
    if (Index < 0 || Index > Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    if (Item->FParent)
        Item->FParent->Remove(Item);
    InsertItem(Index, Item);
}

void TMenuItem::InsertItem(Integer Index, TMenuItem* Item) {
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    UpdateSubMenu();
    Item->PushSiblings();
}

void TMenuItem::Delete(Integer Index) {
    DetachItem(Items(Index));
}

void TMenuItem::Remove(TMenuItem* Item) {
    Integer index = IndexOf(Item);
    if (index < 0)
        throw EMenuError("Sub-menu is not in menu");
    Delete(index);
}

void TMenuItem::DetachItem(TMenuItem* Item) {
    std::erase(FItems, Item);
    Item->FParent = nullptr;
    if (QAction* action = Item->QtAction())
        if (QWidget* widget = ItemsWidget())
            widget->removeAction(action);
    UpdateSubMenu();
    for (TMenuItem* item : FItems)
        item->PushAction();
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto found = std::find(FItems.begin(), FItems.end(), Item);
    return found == FItems.end() ? -1 : static_cast<Integer>(found - FItems.begin());
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        delete FItems.back();
}

Integer TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(Integer Value) {
    if (!FParent)
        return;
    TMenuItem* parent = FParent;
    Integer last = parent->Count() - 1;
    Value = std::clamp(Value, 0, last);
    if (Value == MenuIndex())
        return;
    parent->DetachItem(this);
    parent->InsertItem(Value, this);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

// --- Properties

void TMenuItem::SetCaption(const AnsiString& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    PushSiblings();
}

AnsiString TMenuItem::ShownCaption() const {
    TMenu* menu = GetParentMenu();
    if (!FParent || !menu || menu->AutoHotkeys() != maAutomatic || IsLine() ||
        !GetHotkey(FCaption).empty())
        return FCaption;
    std::set<char> taken;
    for (const TMenuItem* sibling : FParent->FItems)
        if (AnsiString hotkey = GetHotkey(sibling->FCaption); !hotkey.empty())
            taken.insert(HotkeyLetter(hotkey[0]));
    for (const TMenuItem* sibling : FParent->FItems) {
        if (sibling->IsLine() || !GetHotkey(sibling->FCaption).empty())
            continue;
        std::size_t at = FreeHotkeyPosition(sibling->FCaption, taken);
        if (sibling == this)
            return at == AnsiString::npos ? FCaption
                                          : FCaption.substr(0, at) + "&" + FCaption.substr(at);
        if (at != AnsiString::npos)
            taken.insert(HotkeyLetter(sibling->FCaption[at]));
    }
    return FCaption;
}

void TMenuItem::PushTree() {
    PushAction();
    for (TMenuItem* item : FItems)
        item->PushTree();
}

void TMenuItem::PushSiblings() {
    if (!FParent) {
        PushAction();
        return;
    }
    for (TMenuItem* sibling : FParent->FItems)
        sibling->PushAction();
}

void TMenuItem::SetHint(const AnsiString& Value) {
    if (FHint == Value)
        return;
    FHint = Value;
    PushAction();
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (FShortCut == Value)
        return;
    FShortCut = Value;
    PushAction();
}

void TMenuItem::SetChecked(bool Value) {
    if (FChecked == Value)
        return;
    FChecked = Value;
    if (Value && FRadioItem)
        TurnSiblingsOff();
    PushAction();
}

void TMenuItem::SetRadioItem(bool Value) {
    if (FRadioItem == Value)
        return;
    FRadioItem = Value;
    if (FChecked && Value)
        TurnSiblingsOff();
    PushAction();
}

void TMenuItem::SetGroupIndex(Byte Value) {
    if (FGroupIndex == Value)
        return;
    FGroupIndex = Value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
}

void TMenuItem::TurnSiblingsOff() {
    if (!FParent || ComponentState().Contains(csLoading))
        return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
            sibling->SetChecked(false);
}

void TMenuItem::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    PushAction();
}

void TMenuItem::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    PushAction();
}

TMenuActionLink::TMenuActionLink(TMenuItem* AClient) : TBasicActionLink(AClient), FItem(AClient) {}

void TMenuActionLink::SetCaption(const AnsiString& Value) {
    FItem->SetCaption(Value);
}

void TMenuActionLink::SetHint(const AnsiString& Value) {
    FItem->SetHint(Value);
}

void TMenuActionLink::SetEnabled(bool Value) {
    FItem->SetEnabled(Value);
}

void TMenuActionLink::SetVisible(bool Value) {
    FItem->SetVisible(Value);
}

void TMenuActionLink::SetChecked(bool Value) {
    FItem->SetChecked(Value);
}

void TMenuActionLink::SetShortCut(TShortCut Value) {
    FItem->SetShortCut(Value);
}

void TMenuActionLink::SetImageIndex(Integer Value) {
    FItem->SetImageIndex(Value);
}

void TMenuActionLink::SetHelpContext(Integer Value) {
    FItem->SetHelpContext(Value);
}

TBasicAction* TMenuItem::Action() const {
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* Value) {
    if (Value == Action())
        return;
    if (!Value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = std::make_unique<TMenuActionLink>(this);
    FActionLink->SetAction(Value);
}

void TMenuItem::Click() {
    if (!FEnabled)
        return;
    // A linked item's check follows its action, which checks itself.
    if (FAutoCheck && !Linked())
        SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
    else if (FActionLink && !ComponentState().Contains(csDesigning))
        FActionLink->Execute(this);
}

// --- Streaming

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent*) {
    for (TMenuItem* item : FItems)
        Proc(item);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent && FParent->FMenu)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (FParent)
        FParent->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(Value))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
}

// --- The mirror

QAction* TMenuItem::QtAction() const {
    return FAction.data();
}

QMenu* TMenuItem::QtSubMenu() const {
    return FSubMenu.data();
}

QAction* TMenuItem::Handle() {
    if (FAction)
        return FAction.data();
    if (!WidgetsAvailable())
        throw EInvalidOperation(Format(
            "Menu item '%s' cannot have an action before the QApplication exists", {Name()}));
    FAction = new QAction();
    ConnectAction();
    PushAction();
    UpdateSubMenu();
    return FAction.data();
}

void TMenuItem::ConnectAction() {
    QAction* action = FAction.data();
    QObject::connect(action, &QAction::triggered, action, [this] {
        EventBoundary(this, [this] {
            // Qt toggles a checkable action itself: the model decides.
            if (FAction)
                FAction->setChecked(FChecked);
            Click();
        });
    });
}

void TMenuItem::PushAction() {
    QAction* action = FAction.data();
    if (!action)
        return;
    action->setSeparator(IsLine());
    // Styles draw a separator that has a text as a titled section.
    action->setText(IsLine() ? QString() : ToQString(ShownCaption()));
    action->setStatusTip(ToQString(GetLongHint(FHint)));
    action->setToolTip(ToQString(GetShortHint(FHint)));
    action->setShortcut(ShortCutToKeySequence(FShortCut));
    action->setCheckable(FChecked || FRadioItem || FAutoCheck);
    action->setChecked(FChecked);
    action->setEnabled(FEnabled);
    action->setVisible(FVisible);
}

QWidget* TMenuItem::ItemsWidget() const {
    if (FMenu)
        return FMenu->ItemsWidget();
    return FSubMenu.data();
}

void TMenuItem::UpdateSubMenu() {
    if (FMenu) {
        if (QWidget* widget = FMenu->ItemsWidget())
            ShowItems(widget, FItems);
        return;
    }
    if (!FAction)
        return;
    if (FItems.empty()) {
        FAction->setMenu(nullptr);
        delete FSubMenu.data();
        return;
    }
    if (!FSubMenu) {
        FSubMenu = new QMenu();
        FAction->setMenu(FSubMenu.data());
    }
    ShowItems(FSubMenu.data(), FItems);
}

void TMenuItem::FillWidget(QWidget* Widget) {
    ShowItems(Widget, FItems);
}

void TMenuItem::DestroyHandle() {
    for (TMenuItem* item : FItems)
        item->DestroyHandle();
    if (FAction)
        FAction->setMenu(nullptr);
    delete FSubMenu.data();
    delete FAction.data();
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    delete FItems;
}

// The items go with the menu, whoever owns them.
void TMenu::BeforeDestruction() {
    TComponent::BeforeDestruction();
    FItems->Clear();
}

void TMenu::PublishedProperties(TPropertyBuilder<TMenu>& P) {
    P.Property("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys).Default(maAutomatic);
    P.Property("Images", &TMenu::Images, &TMenu::SetImages).TypeName("TCustomImageList");
}

void TMenu::SetAutoHotkeys(TMenuAutoFlag Value) {
    if (FAutoHotkeys == Value)
        return;
    FAutoHotkeys = Value;
    FItems->PushTree();
}

void TMenu::SetImages(TComponent* Value) {
    ReplaceComponentReference(this, FImages, Value);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (Integer index = 0; index < FItems->Count(); ++index)
        if (FItems->Items(index)->Owner() == Root)
            Proc(FItems->Items(index));
}

void TMenu::ShowItemsIn(QWidget* Widget) {
    FItems->FillWidget(Widget);
}

void TMenu::DestroyHandle() {
    FItems->DestroyHandle();
}

// ---------------------------------------------------------------------------
// TMainMenu

TMainMenu::~TMainMenu() {
    DestroyHandle();
}

QMenuBar* TMainMenu::QtMenuBar() const {
    return FMenuBar.data();
}

void TMainMenu::AttachTo(QWidget* FormWidget) {
    if (FMenuBar && FMenuBar->parentWidget() == FormWidget)
        return;
    DestroyHandle();
    if (!FormWidget)
        return;
    // The layout keeps the bar across the top of the window at its width.
    QLayout* layout = FormWidget->layout();
    if (!layout) {
        layout = new QVBoxLayout(FormWidget);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    FMenuBar = new QMenuBar(FormWidget);
    layout->setMenuBar(FMenuBar.data());
    ShowItemsIn(FMenuBar.data());
}

QWidget* TMainMenu::ItemsWidget() const {
    return FMenuBar.data();
}

void TMainMenu::DestroyHandle() {
    TMenu::DestroyHandle();
    delete FMenuBar.data();
}

// ---------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() {
    DestroyHandle();
}

void TPopupMenu::PublishedProperties(TPropertyBuilder<TPopupMenu>& P) {
    P.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    P.Property("OnPopup", &TPopupMenu::OnPopup);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
    if (OnPopup)
        OnPopup(Sender);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
    FPopupPoint = TPoint{X, Y};
    DoPopup(this);
    FPoppingUp = true;
    Handle()->popup(QPoint(X, Y));
    FPoppingUp = false;
}

QMenu* TPopupMenu::QtMenu() const {
    return FQtMenu.data();
}

QMenu* TPopupMenu::Handle() {
    if (FQtMenu)
        return FQtMenu.data();
    if (!WidgetsAvailable())
        throw EInvalidOperation(
            Format("Popup menu '%s' cannot be shown before the QApplication exists", {Name()}));
    FQtMenu = new QMenu();
    ShowItemsIn(FQtMenu.data());
    // Qt shows the menu by itself as the drop-down of a tool button.
    QObject::connect(FQtMenu.data(), &QMenu::aboutToShow, FQtMenu.data(), [this] {
        if (!FPoppingUp)
            EventBoundary(this, [this] {
                FPopupPoint = TPoint{QCursor::pos().x(), QCursor::pos().y()};
                DoPopup(this);
            });
    });
    return FQtMenu.data();
}

QWidget* TPopupMenu::ItemsWidget() const {
    return FQtMenu.data();
}

void TPopupMenu::DestroyHandle() {
    TMenu::DestroyHandle();
    delete FQtMenu.data();
}
