// Menus, shortcuts, actions and data-set fields as models (no QApplication):
// the item tree and its captions, shortcut texts, action links and updates,
// the action registry, field labels, and a form holding all of them going
// through a form file and back.
#include "clx/ActnList.h"
#include "clx/DB.h"
#include "clx/Forms.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"
#include "rtl/Filer.h"

#include "TestSupport.h"

#include <QtGui/QKeySequence>

#include <gtest/gtest.h>

namespace {

TMenuItem* NewItem(TComponent* Owner, const AnsiString& Name, const AnsiString& Caption) {
    auto* item = NewComponent<TMenuItem>(Owner);
    item->SetName(Name);
    item->SetCaption(Caption);
    return item;
}

class MenusModelTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClxClasses();
        Form = NewComponent<TForm>(nullptr);
        Form->SetName("MenuForm");
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
};

// ---------------------------------------------------------------------------
// Shortcuts and hot keys

TEST(ShortCutText, NamesModifiersInPlatformOrder) {
    EXPECT_EQ(ShortCutToText(ShortCut('S', {ssCtrl})), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut('L', {ssShift, ssCtrl})), "Shift+Ctrl+L");
    EXPECT_EQ(ShortCutToText(ShortCut('X', {ssAlt, ssShift})), "Shift+Alt+X");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F1, {})), "F1");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F1 + 11, {ssCtrl})), "Ctrl+F12");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {})), "Del");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_INSERT, {ssShift})), "Shift+Ins");
    EXPECT_EQ(ShortCutToText(ShortCut('7', {ssCtrl})), "Ctrl+7");
    EXPECT_EQ(ShortCutToText(scNone), "");
}

TEST(ShortCutText, CodesArePlatformValues) {
    EXPECT_EQ(ShortCut('S', {ssCtrl}), 0x4053);
    EXPECT_EQ(ShortCut('L', {ssShift, ssCtrl}), 0x604C);
    EXPECT_EQ(ShortCut(VK_DELETE, {ssAlt}), 0x802E);
    Word key = 0;
    TShiftState shift;
    ShortCutToKey(0x604C, key, shift);
    EXPECT_EQ(key, 'L');
    EXPECT_EQ(shift, (TShiftState{ssShift, ssCtrl}));
}

TEST(ShortCutText, TextRoundTripsAndReadsAnyCase) {
    for (const char* text : {"Ctrl+S", "Shift+Ctrl+L", "F1", "Del", "Alt+F4", "Ctrl+Enter",
                             "Shift+Ctrl+Alt+PgDn", "Esc", "Ctrl+0"})
        EXPECT_EQ(ShortCutToText(TextToShortCut(text)), text) << text;
    EXPECT_EQ(TextToShortCut("SHIFT+CTRL+L"), ShortCut('L', {ssShift, ssCtrl}));
    EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', {ssCtrl}));
    EXPECT_EQ(TextToShortCut("f10"), ShortCut(VK_F1 + 9, {}));
}

TEST(ShortCutText, TheKeypadEnterIsAShortCutOfItsOwn) {
    TShortCut keypad = ShortCut(VK_NUMPAD_ENTER, {ssCtrl});
    TShortCut main = ShortCut(VK_RETURN, {ssCtrl});
    EXPECT_NE(keypad, main);
    EXPECT_EQ(ShortCutToText(keypad), "Ctrl+Num Enter");
    EXPECT_EQ(TextToShortCut("ctrl+num enter"), keypad);
    EXPECT_EQ(ShortCutToKeySequence(keypad),
              QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)));
    EXPECT_EQ(ShortCutToKeySequence(main), QKeySequence(Qt::CTRL | Qt::Key_Return));
}

TEST(ShortCutText, UnreadableTextIsNoShortCut) {
    EXPECT_EQ(TextToShortCut(""), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Hyper+S"), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+SS"), scNone);
    EXPECT_EQ(TextToShortCut("F25"), scNone);
}

TEST(Hotkeys, TheCharacterAfterASingleAmpersand) {
    EXPECT_EQ(GetHotkey("&File"), "F");
    EXPECT_EQ(GetHotkey("Save &As..."), "A");
    EXPECT_EQ(GetHotkey("Fish && &Chips"), "C");
    EXPECT_EQ(GetHotkey("Fish && Chips"), "");
    EXPECT_EQ(GetHotkey("Trailing&"), "");
}

// ---------------------------------------------------------------------------
// Menu items

TEST_F(MenusModelTest, ItemsFormATreeUnderTheMenu) {
    auto* menu = NewComponent<TMainMenu>(Form);
    auto* file = NewItem(Form, "FileItem", "&File");
    auto* open = NewItem(Form, "OpenItem", "&Open...");
    auto* line = NewItem(Form, "Line1", "-");
    auto* quit = NewItem(Form, "QuitItem", "E&xit");
    menu->Items()->Add(file);
    file->Add(open);
    file->Add(quit);
    file->Insert(1, line);

    EXPECT_EQ(menu->Items()->Count(), 1);
    ASSERT_EQ(file->Count(), 3);
    EXPECT_EQ(file->Items(1), line);
    EXPECT_EQ(quit->MenuIndex(), 2);
    EXPECT_EQ(quit->Parent(), file);
    EXPECT_EQ(quit->GetParentMenu(), menu);
    EXPECT_EQ(file->GetParentComponent(), menu);
    EXPECT_EQ(quit->GetParentComponent(), file);
    EXPECT_TRUE(line->IsLine());
    EXPECT_FALSE(open->IsLine());
    EXPECT_EQ(GetHotkey(quit->Caption()), "x");

    quit->SetMenuIndex(0);
    EXPECT_EQ(file->IndexOf(quit), 0);
    EXPECT_EQ(file->IndexOf(open), 1);
    file->Remove(line);
    EXPECT_EQ(line->Parent(), nullptr);
    EXPECT_EQ(file->Count(), 2);
    EXPECT_THROW(file->Items(2), EListError);
    EXPECT_EQ(zxtest::MessageOf<EMenuError>([&] { open->Add(file); }),
              "Menu item cannot contain itself");
    EXPECT_EQ(zxtest::MessageOf<EMenuError>([&] { file->Insert(0, open); }), "Menu inserted twice");
}

TEST_F(MenusModelTest, AutomaticHotkeysGoToFreeLettersUnlessSwitchedOff) {
    auto* menu = NewComponent<TPopupMenu>(Form);
    auto* copy = NewItem(Form, "CopyItem", "Copy");
    auto* cut = NewItem(Form, "CutItem", "Cut");
    auto* paste = NewItem(Form, "PasteItem", "&Paste");
    auto* line = NewItem(Form, "Line1", "-");
    auto* purge = NewItem(Form, "PurgeItem", "P1");
    for (TMenuItem* item : {copy, cut, paste, line, purge})
        menu->Items()->Add(item);
    EXPECT_EQ(copy->ShownCaption(), "&Copy");
    EXPECT_EQ(cut->ShownCaption(), "C&ut");
    EXPECT_EQ(paste->ShownCaption(), "&Paste");
    EXPECT_EQ(line->ShownCaption(), "-");
    EXPECT_EQ(purge->ShownCaption(), "P&1") << "P belongs to the explicit hot key";
    delete copy;
    EXPECT_EQ(cut->ShownCaption(), "&Cut");

    menu->SetAutoHotkeys(maManual);
    EXPECT_EQ(cut->ShownCaption(), "Cut");
    EXPECT_EQ(purge->ShownCaption(), "P1");
    EXPECT_EQ(NewItem(Form, "Loose", "Loose")->ShownCaption(), "Loose");
}

TEST_F(MenusModelTest, AddingAnItemElsewhereMovesIt) {
    auto* menu = NewComponent<TPopupMenu>(Form);
    auto* a = NewItem(Form, "A", "A");
    auto* b = NewItem(Form, "B", "B");
    menu->Items()->Add(a);
    menu->Items()->Add(b);
    a->Add(b);
    EXPECT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(b->Parent(), a);
}

TEST_F(MenusModelTest, DeletingAnItemDeletesItsSubItems) {
    auto* menu = NewComponent<TMainMenu>(Form);
    auto* file = NewItem(Form, "FileItem", "&File");
    menu->Items()->Add(file);
    file->Add(NewItem(Form, "OpenItem", "Open"));
    file->Add(NewItem(Form, "SaveItem", "Save"));
    Integer before = Form->ComponentCount();
    delete file;
    EXPECT_EQ(Form->ComponentCount(), before - 3);
    EXPECT_EQ(Form->FindComponent("SaveItem"), nullptr);
    EXPECT_EQ(menu->Items()->Count(), 0);
    file = NewItem(Form, "FileItem", "&File");
    menu->Items()->Add(file);
    delete menu;
    EXPECT_EQ(Form->FindComponent("FileItem"), nullptr);
}

TEST_F(MenusModelTest, CheckingARadioItemUnchecksItsGroup) {
    auto* view = NewItem(Form, "ViewItem", "&View");
    auto* small = NewItem(Form, "SmallItem", "Small");
    auto* large = NewItem(Form, "LargeItem", "Large");
    auto* other = NewItem(Form, "OtherItem", "Other group");
    auto* plain = NewItem(Form, "PlainItem", "Plain");
    for (TMenuItem* item : {small, large, other, plain})
        view->Add(item);
    for (TMenuItem* item : {small, large, other}) {
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
    }
    other->SetGroupIndex(2);
    plain->SetChecked(true);
    other->SetChecked(true);
    small->SetChecked(true);
    large->SetChecked(true);
    EXPECT_FALSE(small->Checked());
    EXPECT_TRUE(large->Checked());
    EXPECT_TRUE(other->Checked());
    EXPECT_TRUE(plain->Checked());
    delete view;
}

TEST_F(MenusModelTest, ClickRunsOnClickAndAutoCheckOnlyWhenEnabled) {
    auto* item = NewItem(Form, "WrapItem", "&Wrap");
    item->SetAutoCheck(true);
    Integer clicks = 0;
    item->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, item);
        ++clicks;
    };
    item->Click();
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(clicks, 1);
    item->SetEnabled(false);
    item->Click();
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(MenusModelTest, ItemsPublishWhatTheTranslatorReads) {
    auto* item = NewItem(Form, "SaveItem", "&Save");
    EXPECT_EQ(GetStrProp(item, "Caption"), "&Save");
    SetStrProp(item, "Hint", "Save|Save the file");
    EXPECT_EQ(item->Hint(), "Save|Save the file");
    SetOrdProp(item, "ShortCut", ShortCut('S', {ssCtrl}));
    EXPECT_EQ(ShortCutToText(item->ShortCut()), "Ctrl+S");
    PPropInfo shortCut = GetPropInfo(item, "ShortCut");
    ASSERT_NE(shortCut, nullptr);
    EXPECT_EQ(shortCut->PropType->Name, "TShortCut");
    EXPECT_EQ(*shortCut->Default, 0);
    EXPECT_EQ(*GetPropInfo(item, "ImageIndex")->Default, -1);
    EXPECT_EQ(*GetPropInfo(item, "Enabled")->Default, 1);
    EXPECT_EQ(GetPropInfo(item, "Action")->PropType->Kind, tkClass);
    EXPECT_TRUE(IsPublishedProp(item, "OnClick"));
    EXPECT_TRUE(IsPublishedProp(item, "RadioItem"));
    EXPECT_TRUE(IsPublishedProp(item, "Tag"));
    auto* popup = NewComponent<TPopupMenu>(Form);
    EXPECT_EQ(*GetPropInfo(popup, "AutoPopup")->Default, 1);
    EXPECT_EQ(GetPropInfo(popup, "Images")->PropType->Name, "TCustomImageList");
    EXPECT_EQ(GetPropInfo(Form, "Menu")->PropType->Name, "TMainMenu");
}

TEST_F(MenusModelTest, AFormForgetsItsMenuWhenItGoes) {
    auto* menu = NewComponent<TMainMenu>(Form);
    Form->SetMenu(menu);
    EXPECT_EQ(Form->Menu(), menu);
    delete menu;
    EXPECT_EQ(Form->Menu(), nullptr);
}

// ---------------------------------------------------------------------------
// Actions

class ActionsModelTest : public MenusModelTest {
protected:
    void SetUp() override {
        MenusModelTest::SetUp();
        List = NewComponent<TActionList>(Form);
        List->SetName("Actions");
        Save = NewComponent<TAction>(Form);
        Save->SetName("SaveAction");
        Save->SetActionList(List);
        Save->SetCaption("&Save");
        Save->SetHint("Save|Save the file");
        Save->SetShortCut(ShortCut('S', {ssCtrl}));
        Button = NewComponent<TButton>(Form);
        Button->SetName("SaveButton");
        Button->SetParent(Form);
        Item = NewItem(Form, "SaveItem", "");
    }

    TActionList* List = nullptr;
    TAction* Save = nullptr;
    TButton* Button = nullptr;
    TMenuItem* Item = nullptr;
};

TEST_F(ActionsModelTest, LinkedClientsTakeTheActionsStateAndFollowIt) {
    Button->SetAction(Save);
    Item->SetAction(Save);
    EXPECT_EQ(Button->Caption(), "&Save");
    EXPECT_EQ(Button->Hint(), "Save|Save the file");
    EXPECT_EQ(Item->Caption(), "&Save");
    EXPECT_EQ(Item->ShortCut(), ShortCut('S', {ssCtrl}));

    Save->SetCaption("Save &as");
    Save->SetEnabled(false);
    Save->SetChecked(true);
    Save->SetVisible(false);
    EXPECT_EQ(Button->Caption(), "Save &as");
    EXPECT_FALSE(Button->Enabled());
    EXPECT_FALSE(Button->Visible());
    EXPECT_EQ(Item->Caption(), "Save &as");
    EXPECT_FALSE(Item->Enabled());
    EXPECT_TRUE(Item->Checked());
    EXPECT_FALSE(Item->Visible());
    EXPECT_EQ(Save->ClientCount(), 2);

    Button->SetAction(nullptr);
    Save->SetCaption("Store");
    EXPECT_EQ(Button->Caption(), "Save &as");
    EXPECT_EQ(Item->Caption(), "Store");
    EXPECT_EQ(Save->ClientCount(), 1);
}

TEST_F(ActionsModelTest, ClientsForgetAnActionThatGoes) {
    Button->SetAction(Save);
    Item->SetAction(Save);
    delete Save;
    EXPECT_EQ(Button->Action(), nullptr);
    EXPECT_EQ(Item->Action(), nullptr);
    EXPECT_EQ(List->ActionCount(), 0);
    Button->Click();
}

TEST_F(ActionsModelTest, ClicksExecuteTheActionUnlessTheClientHasItsOwnHandler) {
    std::vector<TComponent*> executedBy;
    Save->OnExecute = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Save);
        executedBy.push_back(Save->ActionComponent());
    };
    Button->SetAction(Save);
    Item->SetAction(Save);
    Button->Click();
    Item->Click();
    EXPECT_EQ(executedBy, (std::vector<TComponent*>{Button, Item}));

    Integer ownClicks = 0;
    Button->OnClick = [&](TObject*) { ++ownClicks; };
    Button->Click();
    EXPECT_EQ(ownClicks, 1);
    EXPECT_EQ(executedBy.size(), 2u);

    Save->SetEnabled(false);
    Item->Click();
    EXPECT_TRUE(Save->Execute() == false);
    EXPECT_EQ(executedBy.size(), 2u);
}

TEST_F(ActionsModelTest, TheListsHandlersComeFirst) {
    std::vector<AnsiString> calls;
    Save->OnExecute = [&](TObject*) { calls.push_back("action"); };
    List->OnExecute = [&](TBasicAction* Action, bool& Handled) {
        EXPECT_EQ(Action, Save);
        calls.push_back("list");
        Handled = calls.size() > 2;
    };
    EXPECT_TRUE(Save->Execute());
    EXPECT_TRUE(Save->Execute());
    EXPECT_EQ(calls, (std::vector<AnsiString>{"list", "action", "list"}));
}

TEST_F(ActionsModelTest, AutoCheckAndGroupsCheckOneActionAtATime) {
    auto* english = NewComponent<TAction>(Form);
    auto* german = NewComponent<TAction>(Form);
    for (TAction* action : {english, german}) {
        action->SetActionList(List);
        action->SetGroupIndex(1);
        action->SetAutoCheck(true);
        action->OnExecute = [](TObject*) {};
    }
    english->Execute();
    EXPECT_TRUE(english->Checked());
    german->Execute();
    EXPECT_TRUE(german->Checked());
    EXPECT_FALSE(english->Checked());
    german->Execute();
    EXPECT_TRUE(german->Checked());
    Save->SetAutoCheck(true);
    Save->OnExecute = [](TObject*) {};
    Save->Execute();
    Save->Execute();
    EXPECT_FALSE(Save->Checked());
}

TEST_F(ActionsModelTest, TheIdlePassUpdatesTheActionsOfVisibleForms) {
    Button->SetAction(Save);
    Integer updates = 0;
    bool canSave = false;
    Save->OnUpdate = [&](TObject* Sender) {
        ++updates;
        static_cast<TAction*>(Sender)->SetEnabled(canSave);
    };
    Application->Idle();
    EXPECT_EQ(updates, 0);
    Form->Show();
    Application->Idle();
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(Button->Enabled());
    canSave = true;
    Application->Idle();
    EXPECT_TRUE(Button->Enabled());
    List->OnUpdate = [](TBasicAction*, bool& Handled) { Handled = true; };
    Application->Idle();
    EXPECT_EQ(updates, 2);
}

// An action that acts on a form: what the system's own language actions do.
class TFormCountAction : public TAction {
    ZX_CLASS(TFormCountAction, TAction)
public:
    using TAction::TAction;
    bool HandlesTarget(TObject*) override { return dynamic_cast<TCustomForm*>(Owner()) != nullptr; }
    void ExecuteTarget(TObject* Target) override { Executed.push_back(Target); }
    void UpdateTarget(TObject* Target) override {
        Updated.push_back(Target);
        SetChecked(true);
    }

    std::vector<TObject*> Executed;
    std::vector<TObject*> Updated;
};

TEST_F(ActionsModelTest, WithoutHandlersTheTargetsOfTheFormAreAsked) {
    auto* action = NewComponent<TFormCountAction>(Form);
    action->SetActionList(List);
    Form->Show();
    Application->Idle();
    EXPECT_EQ(action->Updated, (std::vector<TObject*>{Form}));
    EXPECT_TRUE(action->Checked());
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(action->Executed, (std::vector<TObject*>{Form}));

    auto* stray = NewComponent<TFormCountAction>(nullptr);
    EXPECT_FALSE(stray->Update());
    EXPECT_TRUE(stray->Updated.empty());
    delete stray;
    Form->Hide();
}

TEST_F(ActionsModelTest, ActionsKnowTheirListAndPlace) {
    auto* open = NewComponent<TAction>(Form);
    open->SetActionList(List);
    EXPECT_EQ(List->ActionCount(), 2);
    EXPECT_EQ(open->Index(), 1);
    open->SetIndex(0);
    EXPECT_EQ(List->Actions(0), open);
    EXPECT_EQ(Save->Index(), 1);
    EXPECT_EQ(Save->GetParentComponent(), List);
    EXPECT_TRUE(Save->HasParent());
    delete List;
    List = nullptr;
    EXPECT_EQ(Save->ActionList(), nullptr);
    EXPECT_FALSE(Save->HasParent());
    EXPECT_EQ(Save->Index(), -1);
}

TEST_F(ActionsModelTest, ActionsPublishThePlatformsProperties) {
    for (const char* name :
         {"Caption", "Category", "Checked", "Enabled", "GroupIndex", "HelpContext", "Hint",
          "ImageIndex", "ShortCut", "Visible", "AutoCheck", "OnExecute", "OnUpdate", "Tag"})
        EXPECT_TRUE(IsPublishedProp(Save, name)) << name;
    SetStrProp(Save, "Category", "File");
    EXPECT_EQ(Save->Category(), "File");
    EXPECT_EQ(*GetPropInfo(Save, "Enabled")->Default, 1);
    EXPECT_EQ(*GetPropInfo(Save, "ImageIndex")->Default, -1);
    EXPECT_EQ(GetPropInfo(Button, "Action")->PropType->Name, "TBasicAction");
    SetObjectProp(Button, "Action", Save);
    EXPECT_EQ(Button->Caption(), "&Save");
}

TEST(ActionRegistry, FilesClassesByCategory) {
    std::vector<std::pair<AnsiString, TBasicActionClass>> seen;
    auto collect = [&] {
        seen.clear();
        EnumRegisteredActions([&](const AnsiString& Category, TBasicActionClass ActionClass) {
            seen.emplace_back(Category, ActionClass);
        });
    };
    RegisterActions("zxLang", {TFormCountAction::StaticClass()});
    RegisterActions("Standard", {TAction::StaticClass()});
    collect();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, "zxLang");
    EXPECT_EQ(seen[0].second, TFormCountAction::StaticClass());
    EXPECT_EQ(GetClass("TFormCountAction"), TFormCountAction::StaticClass());

    RegisterActions("Other", {TFormCountAction::StaticClass()});
    collect();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].first, "Other");

    TBasicAction* made = CreateAction(nullptr, TFormCountAction::StaticClass());
    EXPECT_EQ(made->ClassType(), TFormCountAction::StaticClass());
    delete made;
    EXPECT_THROW(RegisterActions("Bad", {TButton::StaticClass()}), EInvalidOperation);

    UnRegisterActions({TFormCountAction::StaticClass(), TAction::StaticClass()});
    collect();
    EXPECT_TRUE(seen.empty());
}

// ---------------------------------------------------------------------------
// Fields

TEST_F(MenusModelTest, DisplayLabelReadsAsTheFieldNameUntilSet) {
    auto* data = NewComponent<TDataSet>(Form);
    auto* name = NewComponent<TStringField>(Form);
    name->SetFieldName("CustName");
    name->SetDataSet(data);
    EXPECT_EQ(GetStrProp(name, "DisplayLabel"), "CustName");
    PPropInfo label = GetPropInfo(name, "DisplayLabel");
    EXPECT_FALSE(IsStoredProp(name, label));
    SetStrProp(name, "DisplayLabel", "Customer");
    EXPECT_EQ(name->DisplayLabel(), "Customer");
    EXPECT_TRUE(IsStoredProp(name, label));
    SetStrProp(name, "DisplayLabel", "CustName");
    EXPECT_FALSE(IsStoredProp(name, label));
    SetStrProp(name, "DisplayLabel", "");
    EXPECT_EQ(name->DisplayLabel(), "CustName");
    for (const char* property : {"FieldName", "EditMask", "DisplayWidth", "Visible", "Alignment"})
        EXPECT_TRUE(IsPublishedProp(name, property)) << property;
}

TEST_F(MenusModelTest, FieldsBelongToTheirDataSet) {
    auto* data = NewComponent<TDataSet>(Form);
    auto* id = NewComponent<TIntegerField>(Form);
    auto* price = NewComponent<TFloatField>(Form);
    auto* when = NewComponent<TDateTimeField>(Form);
    id->SetFieldName("ID");
    price->SetFieldName("Price");
    when->SetFieldName("Ordered");
    for (TField* field : std::initializer_list<TField*>{id, price, when})
        field->SetDataSet(data);
    EXPECT_EQ(data->FieldCount(), 3);
    EXPECT_EQ(data->FieldByName("price"), price);
    EXPECT_EQ(data->FindField("missing"), nullptr);
    EXPECT_EQ(zxtest::MessageOf<EDatabaseError>([&] { data->FieldByName("missing"); }),
              "Field 'missing' not found");
    when->SetIndex(0);
    EXPECT_EQ(data->Fields()->Fields(0), when);
    EXPECT_EQ(id->Index(), 1);

    auto* twin = NewComponent<TIntegerField>(Form);
    twin->SetFieldName("id");
    EXPECT_THROW(twin->SetDataSet(data), EDatabaseError);
    EXPECT_EQ(data->FieldCount(), 3);

    EXPECT_EQ(id->Alignment(), taRightJustify);
    EXPECT_EQ(id->DisplayWidth(), 11);
    EXPECT_EQ(NewComponent<TSmallintField>(Form)->DisplayWidth(), 6);
    EXPECT_TRUE(IsPublishedProp(price, "DisplayFormat"));
    EXPECT_TRUE(IsPublishedProp(when, "DisplayFormat"));
    EXPECT_TRUE(IsPublishedProp(when, "EditMask"));
    EXPECT_FALSE(IsPublishedProp(id, "EditMask"));
    delete price;
    EXPECT_EQ(data->FieldCount(), 2);
    delete data;
    EXPECT_EQ(id->DataSet(), nullptr);
    EXPECT_EQ(id->Index(), -1);
}

// ---------------------------------------------------------------------------
// A form file with menus, actions and fields

class MenusFormFileTest : public MenusModelTest {
protected:
    void TearDown() override {
        delete Loaded;
        MenusModelTest::TearDown();
    }

    void Populate() {
        auto* list = NewComponent<TActionList>(Form);
        list->SetName("ActionList1");
        auto* save = NewComponent<TAction>(Form);
        save->SetName("SaveAction");
        save->SetActionList(list);
        save->SetCategory("File");
        save->SetCaption("&Save");
        save->SetShortCut(ShortCut('S', {ssCtrl}));

        auto* menu = NewComponent<TMainMenu>(Form);
        menu->SetName("MainMenu1");
        Form->SetMenu(menu);
        auto* file = NewItem(Form, "FileItem", "&File");
        menu->Items()->Add(file);
        auto* saveItem = NewItem(Form, "SaveItem", "");
        file->Add(saveItem);
        saveItem->SetAction(save);
        file->Add(NewItem(Form, "N1", "-"));
        auto* quit = NewItem(Form, "QuitItem", "E&xit");
        quit->SetShortCut(TextToShortCut("Alt+F4"));
        quit->SetHint("Quit|Leave the program");
        file->Add(quit);

        auto* popup = NewComponent<TPopupMenu>(Form);
        popup->SetName("PopupMenu1");
        popup->SetAutoPopup(false);
        popup->SetAutoHotkeys(maManual);
        auto* copy = NewItem(Form, "CopyItem", "&Copy");
        copy->SetChecked(true);
        popup->Items()->Add(copy);

        auto* button = NewComponent<TButton>(Form);
        button->SetName("SaveButton");
        button->SetParent(Form);
        button->SetAction(save);
        button->SetPopupMenu(popup);

        auto* data = NewComponent<TDataSet>(Form);
        data->SetName("Customers");
        auto* name = NewComponent<TStringField>(Form);
        name->SetName("CustomersName");
        name->SetFieldName("Name");
        name->SetDisplayLabel("Customer name");
        name->SetSize(40);
        name->SetDataSet(data);
        auto* id = NewComponent<TIntegerField>(Form);
        id->SetName("CustomersID");
        id->SetFieldName("ID");
        id->SetDisplayFormat("000");
        id->SetDataSet(data);
    }

    AnsiString FormText() {
        zxtest::TTempDir directory;
        AnsiString file = directory.File("menus.xfm.txt");
        SaveComponentToTextFile(file, Form);
        TStringList text;
        text.LoadFromFile(file);
        return text.Text();
    }

    TForm* Loaded = nullptr;
};

TEST_F(MenusFormFileTest, ItemsAndActionsAreWrittenInsideTheirParents) {
    Populate();
    AnsiString text = FormText();
    auto at = [&](const char* Piece) {
        std::size_t found = text.find(Piece);
        EXPECT_NE(found, AnsiString::npos) << Piece << "\n" << text;
        return found;
    };
    EXPECT_LT(at("object ActionList1: TActionList"), at("object SaveAction: TAction"));
    EXPECT_LT(at("object MainMenu1: TMainMenu"), at("object FileItem: TMenuItem"));
    EXPECT_LT(at("object FileItem: TMenuItem"), at("object SaveItem: TMenuItem"));
    EXPECT_LT(at("object SaveItem: TMenuItem"), at("object QuitItem: TMenuItem"));
    at("Menu = MainMenu1");
    at("Action = SaveAction");
    at("ShortCut = 32883");
    at("Caption = '-'");
    at("AutoHotkeys = maManual");
    at("Category = 'File'");
    at("DisplayLabel = 'Customer name'");
    at("DataSet = Customers");
    at("Size = 40");
    // The linked item takes its caption from the action, the other field
    // its label from its name: neither is written.
    std::size_t saveItem = at("object SaveItem: TMenuItem");
    EXPECT_EQ(text.find("Caption", saveItem), text.find("Caption = '-'", saveItem)) << text;
    EXPECT_EQ(text.find("DisplayLabel = 'ID'"), AnsiString::npos) << text;
    EXPECT_EQ(text.find("Enabled"), AnsiString::npos) << text;
}

TEST_F(MenusFormFileTest, AFormReadBackHoldsTheSameMenusActionsAndFields) {
    Populate();
    zxtest::TTempDir directory;
    AnsiString file = directory.File("menus.xfm");
    for (bool binary : {false, true}) {
        if (binary)
            WriteComponentResFile(file, Form);
        else
            SaveComponentToTextFile(file, Form);
        delete Loaded;
        Loaded = NewComponent<TForm>(nullptr);
        LoadComponentFromFile(file, Loaded);

        auto* menu = dynamic_cast<TMainMenu*>(Loaded->FindComponent("MainMenu1"));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(Loaded->Menu(), menu);
        ASSERT_EQ(menu->Items()->Count(), 1);
        TMenuItem* fileItem = menu->Items()->Items(0);
        EXPECT_EQ(fileItem->Caption(), "&File");
        ASSERT_EQ(fileItem->Count(), 3);
        auto* save = dynamic_cast<TAction*>(Loaded->FindComponent("SaveAction"));
        ASSERT_NE(save, nullptr);
        EXPECT_EQ(fileItem->Items(0)->Action(), save);
        EXPECT_EQ(fileItem->Items(0)->Caption(), "&Save");
        EXPECT_EQ(ShortCutToText(fileItem->Items(0)->ShortCut()), "Ctrl+S");
        EXPECT_TRUE(fileItem->Items(1)->IsLine());
        EXPECT_EQ(ShortCutToText(fileItem->Items(2)->ShortCut()), "Alt+F4");
        EXPECT_EQ(fileItem->Items(2)->Hint(), "Quit|Leave the program");

        auto* list = dynamic_cast<TActionList*>(Loaded->FindComponent("ActionList1"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->ActionCount(), 1);
        EXPECT_EQ(list->Actions(0), save);
        EXPECT_EQ(save->Category(), "File");

        auto* popup = dynamic_cast<TPopupMenu*>(Loaded->FindComponent("PopupMenu1"));
        ASSERT_NE(popup, nullptr);
        EXPECT_FALSE(popup->AutoPopup());
        EXPECT_EQ(popup->AutoHotkeys(), maManual);
        ASSERT_EQ(popup->Items()->Count(), 1);
        EXPECT_TRUE(popup->Items()->Items(0)->Checked());

        auto* button = dynamic_cast<TButton*>(Loaded->FindComponent("SaveButton"));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Action(), save);
        EXPECT_EQ(button->Caption(), "&Save");
        EXPECT_EQ(button->PopupMenu(), popup);

        auto* data = dynamic_cast<TDataSet*>(Loaded->FindComponent("Customers"));
        ASSERT_NE(data, nullptr);
        ASSERT_EQ(data->FieldCount(), 2);
        auto* name = dynamic_cast<TStringField*>(data->FieldByName("Name"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->DisplayLabel(), "Customer name");
        EXPECT_EQ(name->Size(), 40);
        auto* id = dynamic_cast<TIntegerField*>(data->FieldByName("ID"));
        ASSERT_NE(id, nullptr);
        EXPECT_EQ(id->DisplayLabel(), "ID");
        EXPECT_EQ(id->DisplayFormat(), "000");
    }
}

} // namespace
