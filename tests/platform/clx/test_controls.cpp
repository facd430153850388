// Controls as a plain model: properties by name, defaults, the control tree,
// fonts, alignment and events, with no QApplication in this program.
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

#include "ClxTestSupport.h"

namespace {

using namespace zxtest;

// Counts the font changes that reach it.
class TFontListener : public TControl {
public:
    using TControl::TControl;
    Integer FontChanges = 0;

protected:
    void FontChanged() override {
        TControl::FontChanged();
        ++FontChanges;
    }
};

class ControlsTest : public testing::Test {
protected:
    void SetUp() override { RegisterClxClasses(); }
    void TearDown() override { delete Form; }

    TForm* Form = NewComponent<TForm>(nullptr);
};

// Every ordinal property with a default holds it right after construction,
// so that form files leave out exactly the values a new control has.
void ExpectDefaultsHeld(TComponent* Component) {
    for (PPropInfo info : GetPropList(Component)) {
        if (!info->Default)
            continue;
        EXPECT_EQ(GetOrdProp(Component, info), *info->Default)
            << Component->ClassName() << "." << info->Name;
    }
}

TEST_F(ControlsTest, NewControlsHoldTheirPublishedDefaults) {
    ExpectDefaultsHeld(NewComponent<TLabel>(Form));
    ExpectDefaultsHeld(NewComponent<TButton>(Form));
    ExpectDefaultsHeld(NewComponent<TEdit>(Form));
    ExpectDefaultsHeld(NewComponent<TFrame>(Form));
    ExpectDefaultsHeld(Form);
}

TEST_F(ControlsTest, PropertiesByNameAsTheTranslationEngineAsks) {
    auto* label = NewComponent<TLabel>(Form);
    SetStrProp(label, "Caption", "&Name:");
    EXPECT_EQ(label->Caption(), "&Name:");
    EXPECT_EQ(GetStrProp(label, "Caption"), "&Name:");
    SetStrProp(label, "Hint", "Short|Long");
    EXPECT_EQ(label->Hint(), "Short|Long");
    EXPECT_EQ(GetObjectProp(label, "Font"), label->Font());
    EXPECT_EQ(GetPropInfo(label, "Caption")->PropType->Name, "TCaption");
    EXPECT_EQ(GetPropInfo(label, "Color")->PropType->Name, "TColor");
    EXPECT_EQ(GetPropInfo(label, "Cursor")->PropType->Name, "TCursor");
    PPropInfo popup = GetPropInfo(label, "PopupMenu");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->PropType->Kind, tkClass);
    EXPECT_EQ(popup->PropType->Name, "TPopupMenu");

    SetEnumProp(label, "Align", "alClient");
    EXPECT_EQ(label->Align(), alClient);
    SetOrdProp(label, "Cursor", crHandPoint);
    EXPECT_EQ(label->Cursor(), crHandPoint);
    SetEnumProp(label, "ParentFont", "False");
    EXPECT_FALSE(label->ParentFont());

    auto* edit = NewComponent<TEdit>(Form);
    EXPECT_FALSE(IsPublishedProp(edit, "Caption"));
    SetStrProp(edit, "Text", "typed");
    EXPECT_EQ(edit->Text(), "typed");
    EXPECT_EQ(GetPropInfo(edit, "Color")->Default, clWindow);
    EXPECT_EQ(edit->Color(), clWindow);

    SetStrProp(Form, "Caption", "Main window");
    EXPECT_EQ(Form->Caption(), "Main window");
    SetSetProp(Form, "BorderIcons", "[biSystemMenu]");
    EXPECT_EQ(Form->BorderIcons(), TBorderIcons{biSystemMenu});
    SetEnumProp(Form, "BorderStyle", "fbsDialog");
    EXPECT_EQ(Form->BorderStyle(), fbsDialog);
    SetOrdProp(Form, "ClientWidth", 500);
    EXPECT_EQ(Form->Width(), 500);
    EXPECT_FALSE(IsStoredProp(Form, GetPropInfo(Form, "Width")));
}

TEST_F(ControlsTest, PublishedOrderPutsGeometryFirst) {
    TPropList list = GetPropList(NewComponent<TButton>(Form), tkAny, false);
    std::vector<AnsiString> names;
    for (PPropInfo info : list)
        names.push_back(info->Name);
    ASSERT_GE(names.size(), 6U);
    EXPECT_EQ(names[0], "Name");
    EXPECT_EQ(names[1], "Tag");
    EXPECT_EQ(names[2], "Left");
    EXPECT_EQ(names[5], "Height");
    // Republished properties stay in their first place.
    EXPECT_LT(std::find(names.begin(), names.end(), "TabStop") - names.begin(),
              std::find(names.begin(), names.end(), "Caption") - names.begin());
}

TEST_F(ControlsTest, FontIsStoredOnlyWhenNotTakenFromTheParent) {
    auto* button = NewComponent<TButton>(Form);
    PPropInfo font = GetPropInfo(button, "Font");
    button->SetParent(Form);
    EXPECT_TRUE(button->ParentFont());
    EXPECT_FALSE(IsStoredProp(button, font));
    button->Font()->SetSize(14);
    EXPECT_FALSE(button->ParentFont());
    EXPECT_TRUE(IsStoredProp(button, font));
    EXPECT_TRUE(IsStoredProp(Form, GetPropInfo(Form, "Font")));
}

TEST_F(ControlsTest, ParentFontFollowsTheParentUntilTheFontIsSet) {
    Form->Font()->SetName("Serif");
    auto* panel = NewComponent<TFrame>(Form);
    auto* label = NewComponent<TLabel>(Form);
    panel->SetParent(Form);
    label->SetParent(panel);
    EXPECT_EQ(label->Font()->Name(), "Serif");

    Form->Font()->SetHeight(-20);
    EXPECT_EQ(panel->Font()->Height(), -20);
    EXPECT_EQ(label->Font()->Height(), -20);
    EXPECT_TRUE(label->ParentFont());

    label->Font()->SetStyle({fsBold});
    EXPECT_FALSE(label->ParentFont());
    Form->Font()->SetName("Mono");
    EXPECT_EQ(label->Font()->Name(), "Serif");
    EXPECT_EQ(panel->Font()->Name(), "Mono");

    label->SetParentFont(true);
    EXPECT_EQ(label->Font()->Name(), "Mono");
    EXPECT_TRUE(label->Font()->Style().Empty());
}

TEST_F(ControlsTest, ParentColorFollowsTheParentUntilTheColorIsSet) {
    auto* label = NewComponent<TLabel>(Form);
    auto* edit = NewComponent<TEdit>(Form);
    label->SetParent(Form);
    edit->SetParent(Form);
    PPropInfo color = GetPropInfo(label, "Color");
    Form->SetColor(clWhite);
    EXPECT_EQ(label->Color(), clWhite);
    EXPECT_TRUE(label->ParentColor());
    EXPECT_FALSE(IsStoredProp(label, color));
    EXPECT_EQ(edit->Color(), clWindow);
    SetOrdProp(label, "Color", clYellow);
    EXPECT_FALSE(label->ParentColor());
    EXPECT_TRUE(IsStoredProp(label, color));
    Form->SetColor(clSilver);
    EXPECT_EQ(label->Color(), clYellow);
    label->SetParentColor(true);
    EXPECT_EQ(label->Color(), clSilver);
}

TEST_F(ControlsTest, SettingTheFontCopiesItAndClearsParentFont) {
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    TFont font;
    font.SetName("Serif");
    SetObjectProp(button, "Font", &font);
    EXPECT_NE(button->Font(), &font);
    EXPECT_EQ(button->Font()->Name(), "Serif");
    EXPECT_FALSE(button->ParentFont());
}

TEST_F(ControlsTest, FontChangesReachTheControl) {
    auto* listener = NewComponent<TFontListener>(Form);
    listener->Font()->SetColor(clRed);
    listener->Font()->SetName("Serif");
    EXPECT_EQ(listener->FontChanges, 2);
    listener->SetParent(Form);
    listener->SetParentFont(true);
    EXPECT_EQ(listener->FontChanges, 3);
    Form->Font()->SetSize(20);
    EXPECT_EQ(listener->FontChanges, 4);
    Form->Font()->SetSize(20);
    EXPECT_EQ(listener->FontChanges, 4);
}

TEST_F(ControlsTest, TheControlTreeFollowsParent) {
    auto* frame = NewComponent<TFrame>(Form);
    auto* first = NewComponent<TButton>(Form);
    auto* second = NewComponent<TLabel>(Form);
    frame->SetParent(Form);
    first->SetParent(frame);
    second->SetParent(frame);
    EXPECT_EQ(frame->ControlCount(), 2);
    EXPECT_EQ(frame->Controls(0), first);
    EXPECT_EQ(frame->Controls(1), second);
    EXPECT_EQ(first->GetParentComponent(), frame);
    EXPECT_TRUE(Form->ContainsControl(first));
    EXPECT_THROW(frame->Controls(2), EListError);

    first->SetParent(Form);
    EXPECT_EQ(frame->ControlCount(), 1);
    EXPECT_EQ(Form->Controls(Form->ControlCount() - 1), first);
    second->BringToFront();
    first->SendToBack();
    EXPECT_EQ(Form->Controls(0), first);

    EXPECT_THROW(frame->SetParent(frame), EInvalidOperation);
    auto* inner = NewComponent<TFrame>(Form);
    inner->SetParent(frame);
    EXPECT_THROW(frame->SetParent(inner), EInvalidOperation);
    EXPECT_EQ(frame->Parent(), Form);
}

TEST_F(ControlsTest, FormFilesSetTheParentThroughTheComponentHook) {
    auto* frame = NewComponent<TFrame>(Form);
    auto* button = NewComponent<TButton>(Form);
    TComponent* plain = NewComponent<TComponent>(Form);
    EXPECT_TRUE(button->HasParent());
    EXPECT_FALSE(plain->HasParent());
    button->SetParentComponent(frame);
    EXPECT_EQ(button->Parent(), frame);
    button->SetParentComponent(plain);
    EXPECT_EQ(button->Parent(), frame);
}

TEST_F(ControlsTest, GetChildrenListsParentedControlsThenOwnedComponents) {
    auto* frame = NewComponent<TFrame>(Form);
    auto* inner = NewComponent<TButton>(Form);
    auto* label = NewComponent<TLabel>(Form);
    TComponent* plain = NewComponent<TComponent>(Form);
    auto* foreign = NewComponent<TButton>(nullptr);
    frame->SetParent(Form);
    label->SetParent(Form);
    inner->SetParent(frame);
    foreign->SetParent(Form);

    std::vector<TComponent*> children;
    auto collect = [&](TComponent* Child) { children.push_back(Child); };
    Form->GetChildren(collect, Form);
    EXPECT_EQ(children, (std::vector<TComponent*>{frame, label, plain}));
    children.clear();
    frame->GetChildren(collect, Form);
    EXPECT_EQ(children, (std::vector<TComponent*>{inner}));
}

TEST_F(ControlsTest, ADestroyedParentTakesItsControlsWithIt) {
    TWatcher watcher;
    auto* frame = NewComponent<TFrame>(Form);
    auto* owned = NewComponent<TButton>(Form);
    auto* unowned = NewComponent<TLabel>(nullptr);
    frame->SetParent(Form);
    owned->SetParent(frame);
    unowned->SetParent(frame);
    watcher.Watch(owned);
    watcher.Watch(unowned);
    delete frame;
    EXPECT_TRUE(watcher.Freed(owned));
    EXPECT_TRUE(watcher.Freed(unowned));
    EXPECT_EQ(Form->ControlCount(), 0);
    EXPECT_EQ(Form->ComponentCount(), 0);
}

TEST_F(ControlsTest, ADestroyedControlLeavesItsParent) {
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    delete button;
    EXPECT_EQ(Form->ControlCount(), 0);
}

TEST_F(ControlsTest, AlignmentStacksControlsFromTheEdges) {
    auto* panel = NewComponent<TFrame>(Form);
    panel->SetBounds(0, 0, 200, 100);
    auto make = [&](TAlign Align, Integer Width, Integer Height) {
        auto* control = NewComponent<TFrame>(Form);
        control->SetBounds(0, 0, Width, Height);
        control->SetParent(panel);
        control->SetAlign(Align);
        return control;
    };
    auto* top = make(alTop, 10, 20);
    auto* bottom = make(alBottom, 10, 10);
    auto* left = make(alLeft, 30, 10);
    auto* client = make(alClient, 1, 1);
    auto* right = make(alRight, 40, 10);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 90, 200, 100));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 30, 90));
    EXPECT_EQ(right->BoundsRect(), Rect(160, 20, 200, 90));
    EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 160, 90));

    panel->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 190, 300, 200));
    EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 260, 190));

    top->Hide();
    EXPECT_EQ(client->BoundsRect(), Rect(30, 0, 260, 190));
    top->Show();

    // A second top control created at the top edge goes below the first.
    auto* secondTop = make(alTop, 10, 5);
    EXPECT_EQ(secondTop->BoundsRect(), Rect(0, 20, 300, 25));
    EXPECT_EQ(client->BoundsRect(), Rect(30, 25, 260, 190));

    panel->DisableAlign();
    top->SetHeight(50);
    EXPECT_EQ(client->Top(), 25);
    panel->EnableAlign();
    EXPECT_EQ(client->Top(), 55);
}

TEST_F(ControlsTest, ResizeFiresOnSizeChangesOnly) {
    auto* button = NewComponent<TButton>(Form);
    Integer resizes = 0;
    button->OnResize = [&](TObject* Sender) {
        EXPECT_EQ(Sender, button);
        ++resizes;
    };
    button->SetLeft(40);
    EXPECT_EQ(resizes, 0);
    button->SetWidth(100);
    button->SetBounds(1, 2, 100, 30);
    EXPECT_EQ(resizes, 2);
    button->SetWidth(-5);
    EXPECT_EQ(button->Width(), 0);
}

TEST_F(ControlsTest, RenamingRenamesACaptionThatEqualsTheName) {
    auto* button = NewComponent<TButton>(Form);
    button->SetName("Button1");
    EXPECT_EQ(button->Caption(), "Button1");
    button->SetName("OkButton");
    EXPECT_EQ(button->Caption(), "OkButton");
    button->SetCaption("&OK");
    button->SetName("Accept");
    EXPECT_EQ(button->Caption(), "&OK");
    auto* frame = NewComponent<TFrame>(Form);
    frame->SetName("Frame1");
    EXPECT_EQ(frame->Caption(), "");
}

TEST_F(ControlsTest, PopupMenuReferenceIsClearedWhenTheMenuGoes) {
    auto* label = NewComponent<TLabel>(Form);
    auto* menu = NewComponent<TComponent>(nullptr);
    SetObjectProp(label, "PopupMenu", menu);
    EXPECT_EQ(label->PopupMenu(), menu);
    delete menu;
    EXPECT_EQ(label->PopupMenu(), nullptr);
}

TEST_F(ControlsTest, TabOrderIsThePositionAmongFocusableSiblings) {
    auto* first = NewComponent<TEdit>(Form);
    auto* label = NewComponent<TLabel>(Form);
    auto* second = NewComponent<TEdit>(Form);
    auto* third = NewComponent<TButton>(Form);
    EXPECT_EQ(first->TabOrder(), -1);
    for (TControl* control : std::initializer_list<TControl*>{first, label, second, third})
        control->SetParent(Form);
    EXPECT_EQ(first->TabOrder(), 0);
    EXPECT_EQ(second->TabOrder(), 1);
    EXPECT_EQ(third->TabOrder(), 2);
    third->SetTabOrder(0);
    EXPECT_EQ(third->TabOrder(), 0);
    EXPECT_EQ(first->TabOrder(), 1);
    first->SetTabOrder(99);
    EXPECT_EQ(first->TabOrder(), 2);
    EXPECT_EQ(GetOrdProp(second, "TabOrder"), 1);
}

TEST_F(ControlsTest, ButtonClickSetsTheModalResultOfItsForm) {
    auto* frame = NewComponent<TFrame>(Form);
    frame->SetParent(Form);
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(frame);
    button->SetModalResult(mrYes);
    Integer clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Form->ModalResult(), mrYes);
    EXPECT_EQ(GetParentForm(button), Form);
}

TEST_F(ControlsTest, EditTextChangesFireOnChange) {
    auto* edit = NewComponent<TEdit>(Form);
    std::vector<AnsiString> seen;
    edit->OnChange = [&](TObject*) { seen.push_back(edit->Text()); };
    edit->SetText("one");
    edit->SetText("one");
    SetStrProp(edit, "Text", "two");
    edit->Clear();
    EXPECT_EQ(seen, (std::vector<AnsiString>{"one", "two", ""}));
    EXPECT_FALSE(edit->Modified());
}

TEST_F(ControlsTest, EventHandlerExceptionsReachTheCallerOfCode) {
    auto* button = NewComponent<TButton>(Form);
    button->OnClick = [](TObject*) { throw EConvertError("bad"); };
    EXPECT_THROW(button->Click(), EConvertError);
}

TEST_F(ControlsTest, NoWidgetWithoutAnApplication) {
    auto* button = NewComponent<TButton>(Form);
    button->SetParent(Form);
    EXPECT_FALSE(WidgetsAvailable());
    EXPECT_THROW(button->Handle(), EInvalidOperation);
    EXPECT_FALSE(button->HandleAllocated());
    auto* orphan = NewComponent<TButton>(Form);
    EXPECT_THROW(orphan->HandleNeeded(), EInvalidOperation);
}

TEST(ControlsRegistry, RegistrationIsIdempotentAndCoversTheControls) {
    RegisterClxClasses();
    RegisterClxClasses();
    for (const char* name : {"TForm", "TFrame", "TDataModule", "TLabel", "TButton", "TEdit"})
        EXPECT_NE(GetClass(name), nullptr) << name;
    TComponent* created = CreateComponent("TLabel", nullptr);
    EXPECT_NE(dynamic_cast<TLabel*>(created), nullptr);
    delete created;
}

TEST(Hints, ShortAndLongParts) {
    EXPECT_EQ(GetShortHint("Open|Opens a file"), "Open");
    EXPECT_EQ(GetLongHint("Open|Opens a file"), "Opens a file");
    EXPECT_EQ(GetShortHint("Plain"), "Plain");
    EXPECT_EQ(GetLongHint("Plain"), "Plain");
}

TEST(Cursors, NamesAndValues) {
    EXPECT_EQ(crDefault, 0);
    EXPECT_EQ(crHourGlass, -11);
    EXPECT_EQ(crHandPoint, -21);
    AnsiString name;
    ASSERT_TRUE(CursorToIdent(crHourGlass, name));
    EXPECT_EQ(name, "crHourGlass");
    TCursor cursor = 0;
    ASSERT_TRUE(IdentToCursor("crhandpoint", cursor));
    EXPECT_EQ(cursor, crHandPoint);
    EXPECT_FALSE(IdentToCursor("crNothing", cursor));
    EXPECT_EQ(CursorToQtShape(crHourGlass), Qt::WaitCursor);
    EXPECT_EQ(CursorToQtShape(crIBeam), Qt::IBeamCursor);
}

} // namespace
