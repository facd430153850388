// Collecting the texts of a form of platform controls into the lists.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/ActnList.h"
#include "clx/ComCtrls.h"
#include "clx/DB.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

// An object a collection item holds.
class TItemInfo : public TPersistent {
    ZX_CLASS(TItemInfo, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TItemInfo>& P) {
        P.Property("Title", &TItemInfo::Title);
    }
    void Assign(const TPersistent* Source) override {
        if (auto* info = dynamic_cast<const TItemInfo*>(Source))
            Title = info->Title;
        else
            TPersistent::Assign(Source);
    }
    AnsiString Title;
};

// A collection item with a caption, a string list and an object.
class TRichItem : public TCollectionItem {
    ZX_CLASS(TRichItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    static void PublishedProperties(TPropertyBuilder<TRichItem>& P) {
        P.Property("Caption", &TRichItem::Caption);
        P.Property("Lines", &TRichItem::Lines, &TRichItem::SetLines);
        P.Property("Info", &TRichItem::Info, &TRichItem::SetInfo);
    }
    TStrings* Lines() { return &FLines; }
    void SetLines(TStrings* Value) { FLines.Assign(Value); }
    TItemInfo* Info() { return &FInfo; }
    void SetInfo(TItemInfo* Value) { FInfo.Assign(Value); }
    AnsiString Caption;

private:
    TStringList FLines;
    TItemInfo FInfo;
};

// What third-party controls keep in a "Properties" object: a string, a
// string list and a collection.
class THolderProperties : public TPersistent {
    ZX_CLASS(THolderProperties, TPersistent)
public:
    THolderProperties() : FColumns(nullptr, TRichItem::StaticClass()) {}
    static void PublishedProperties(TPropertyBuilder<THolderProperties>& P) {
        P.Property("Title", &THolderProperties::Title);
        P.Property("Choices", &THolderProperties::Choices, &THolderProperties::SetChoices);
        P.Property("Columns", &THolderProperties::Columns, &THolderProperties::SetColumns);
    }
    TStrings* Choices() { return &FChoices; }
    void SetChoices(TStrings* Value) { FChoices.Assign(Value); }
    TOwnedCollection* Columns() { return &FColumns; }
    void SetColumns(TOwnedCollection* Value) { FColumns.Assign(Value); }
    AnsiString Title;

private:
    TStringList FChoices;
    TOwnedCollection FColumns;
};

// A component with rich collection items, a string list of a class that
// StringsTypes has to name, and a "Properties" object.
class THolder : public TComponent {
    ZX_CLASS(THolder, TComponent)
public:
    explicit THolder(TComponent* AOwner)
        : TComponent(AOwner), FItems(this, TRichItem::StaticClass()) {}
    static void PublishedProperties(TPropertyBuilder<THolder>& P) {
        P.Property("Items", &THolder::Items, &THolder::SetItems);
        P.Property("Notes", &THolder::Notes, &THolder::SetNotes).TypeName("TNoteList");
        P.Property("Properties", &THolder::Properties, &THolder::SetProperties);
    }
    TOwnedCollection* Items() { return &FItems; }
    void SetItems(TOwnedCollection* Value) { FItems.Assign(Value); }
    TStrings* Notes() { return &FNotes; }
    void SetNotes(TStrings* Value) { FNotes.Assign(Value); }
    THolderProperties* Properties() { return &FProperties; }
    void SetProperties(THolderProperties* Value) { FProperties.Assign(Value); }
    TRichItem* Item(Integer Index) { return static_cast<TRichItem*>(FItems.Items(Index)); }
    TRichItem* Column(Integer Index) {
        return static_cast<TRichItem*>(FProperties.Columns()->Items(Index));
    }

private:
    TOwnedCollection FItems;
    TStringList FNotes;
    THolderProperties FProperties;
};

class TCollectForm : public TForm {
    ZX_CLASS(TCollectForm, TForm)
public:
    explicit TCollectForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("CollectForm");
        SetCaption("Main");
        SetHint("Form hint");
        Label1 = AddControl<TLabel>(this, "Label1");
        Label1->SetCaption("Hello");
        Label1->SetParentFont(false);
        Label1->Font()->SetName("Serif");
        Button1 = AddControl<TButton>(this, "Button1");
        Button1->SetCaption("OK");
        Button1->SetHint("Press");
        Edit1 = AddControl<TEdit>(this, "Edit1");
        Edit1->SetText("Text");
        Memo1 = AddControl<TMemo>(this, "Memo1");
        Memo1->Lines()->SetText("one\ntwo, three\n");
        Combo1 = AddControl<TComboBox>(this, "Combo1");
        Combo1->Items()->SetCommaText("x,y");
        Status1 = AddControl<TStatusBar>(this, "Status1");
        static_cast<TStatusPanel*>(Status1->Panels()->Add())->SetText("Ready");
        Menu1 = NewComponent<TMainMenu>(this);
        Menu1->SetName("Menu1");
        FileItem = NewComponent<TMenuItem>(this);
        FileItem->SetName("FileItem");
        FileItem->SetCaption("&File");
        Menu1->Items()->Add(FileItem);
        Separator = NewComponent<TMenuItem>(this);
        Separator->SetName("Separator");
        Separator->SetCaption("-");
        FileItem->Add(Separator);
        Field1 = NewComponent<TStringField>(this);
        Field1->SetName("Field1");
        Field1->SetDisplayLabel("Customer");
        Holder1 = NewComponent<THolder>(this);
        Holder1->SetName("Holder1");
    }

    TLabel* Label1;
    TButton* Button1;
    TEdit* Edit1;
    TMemo* Memo1;
    TComboBox* Combo1;
    TStatusBar* Status1;
    TMainMenu* Menu1;
    TMenuItem* FileItem;
    TMenuItem* Separator;
    TStringField* Field1;
    THolder* Holder1;
};

class LangCollect : public TLangFormTest<TCollectForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        Form->SetDesigning(true);
        Lang->SetNumLang(3);
    }

    // Value Language of the line keyed Key in List.
    AnsiString Value(TStrings* List, const AnsiString& Key, Integer Language) {
        return UTF8Encode(Lang->GetStringValue(*List, UTF8Decode(Key), Language));
    }
    bool HasKey(TStrings* List, const AnsiString& Key) {
        for (Integer index = 0; index < List->Count(); ++index)
            if (List->Get(index).starts_with(Key + D))
                return true;
        return false;
    }
    AnsiString Lines(std::initializer_list<AnsiString> Items) {
        AnsiString text;
        for (const AnsiString& item : Items)
            text += item + "\n";
        return text;
    }
};

TEST_F(LangCollect, GivesEachTextOfTheFormItsLine) {
    Lang->BuildList();
    EXPECT_EQ(Lang->Captions()->Text(),
              Lines({Line({"TCollectForm", "Main", "", ""}), Line({"Label1", "Hello", "", ""}),
                     Line({"Button1", "OK", "", ""}), Line({"FileItem", "&File", "", ""})}))
        << "the separator item has no line";
    EXPECT_EQ(Lang->Hints()->Get(0), Line({"TCollectForm", "Form hint", "", ""}));
    EXPECT_EQ(Value(Lang->Hints(), "Button1", 1), "Press");
    EXPECT_TRUE(HasKey(Lang->Hints(), "Edit1")) << "an empty hint is a text too";
    EXPECT_EQ(Lang->DisplayLabels()->Text(), Lines({Line({"Field1", "Customer", "", ""})}));
    const AnsiString formFont = Form->Font()->Name();
    EXPECT_EQ(Lang->Fonts()->Text(), Lines({Line({"TCollectForm", formFont, "", ""}),
                                            Line({"Label1", "Serif", "", ""})}))
        << "controls that follow their parent's font have no line";
    EXPECT_EQ(Lang->CharSets()->Text(), Lines({Line({"TCollectForm", "DEFAULT_CHARSET", "", ""}),
                                               Line({"Label1", "DEFAULT_CHARSET", "", ""})}));
    EXPECT_EQ(Value(Lang->MultiLines(), "Memo1.Lines", 1), "one,\"two, three\"");
    EXPECT_EQ(Value(Lang->MultiLines(), "Combo1.Items", 1), "x,y");
    EXPECT_FALSE(HasKey(Lang->MultiLines(), "Holder1.Notes"))
        << "a list class StringsTypes does not name";
    EXPECT_EQ(Value(Lang->OtherStrings(), "Edit1.Text", 1), "Text");
    EXPECT_TRUE(HasKey(Lang->OtherStrings(), "Status1.SimpleText"));
    EXPECT_FALSE(HasKey(Lang->OtherStrings(), "Edit1.Name"));
    EXPECT_FALSE(HasKey(Lang->OtherStrings(), "Button1.Caption")) << "captions are their own kind";
    EXPECT_EQ(Value(Lang->Collections(), "Status1.Panels[0].Text", 1), "Ready");
    for (TStrings* list : {Lang->Captions(), Lang->OtherStrings(), Lang->Collections()})
        for (Integer index = 0; index < list->Count(); ++index)
            EXPECT_FALSE(list->Get(index).starts_with(Lang->Name() + ".")) << list->Get(index);
}

TEST_F(LangCollect, CollectsStringListsOfTheClassesStringsTypesNames) {
    Form->Holder1->Notes()->SetCommaText("n1,n2");
    TStringList types;
    types.SetCommaText("TNOTELIST");
    Lang->SetStringsTypes(&types);
    EXPECT_EQ(Value(Lang->MultiLines(), "Holder1.Notes", 1), "n1,n2");
    EXPECT_TRUE(Lang->IsHandledTStrings(u"TNoteList"));
    EXPECT_FALSE(Lang->IsHandledTStrings(u"TStringList"));
}

TEST_F(LangCollect, CollectsItemsAndPropertiesObjectsAndKeepsThemOnTheNextPass) {
    TRichItem* item = static_cast<TRichItem*>(Form->Holder1->Items()->Add());
    item->Caption = "First";
    item->Lines()->SetText("a\nb\n");
    item->Info()->Title = "Mono";
    Form->Holder1->Properties()->Title = "Title";
    Form->Holder1->Properties()->Choices()->SetCommaText("yes,no");
    static_cast<TRichItem*>(Form->Holder1->Properties()->Columns()->Add())->Caption = "Col";
    Lang->BuildList();
    Lang->BuildList();
    EXPECT_EQ(Value(Lang->Collections(), "Holder1.Items[0].Caption", 1), "First");
    EXPECT_EQ(Value(Lang->Collections(), "Holder1.Items[0].Lines", 1), "a\nb\n");
    EXPECT_EQ(Value(Lang->Collections(), "Holder1.Items[0].Info.Title", 1), "Mono");
    EXPECT_EQ(Value(Lang->Collections(), "Holder1.Properties.Columns[0].Caption", 1), "Col");
    EXPECT_EQ(Value(Lang->OtherStrings(), "Holder1.Properties.Title", 1), "Title");
    EXPECT_EQ(Value(Lang->MultiLines(), "Holder1.Properties.Choices", 1), "yes,no");

    Lang->ReplaceStringValue(*Lang->Collections(), u"Erste", u"Holder1.Items[0].Caption", 2);
    Lang->ReplaceStringValue(*Lang->Collections(), u"Serif", u"Holder1.Items[0].Info.Title", 2);
    Lang->ReplaceStringValue(*Lang->Collections(), u"Spalte",
                             u"Holder1.Properties.Columns[0].Caption", 2);
    Lang->ReplaceStringValue(*Lang->OtherStrings(), u"Titel", u"Holder1.Properties.Title", 2);
    Lang->SetActLang(2);
    EXPECT_EQ(item->Caption, "Erste");
    EXPECT_EQ(item->Info()->Title, "Serif");
    EXPECT_EQ(Form->Holder1->Column(0)->Caption, "Spalte");
    EXPECT_EQ(Form->Holder1->Properties()->Title, "Titel");
    EXPECT_TRUE(HasKey(Lang->Collections(), "Holder1.Items[0].Info.Title"))
        << "applying keeps the lines it can apply";
}

TEST_F(LangCollect, ComponentsWithAnActionGetNoCaptionOrHintLines) {
    auto* actions = NewComponent<TActionList>(Form);
    actions->SetName("Actions");
    auto* action = NewComponent<TAction>(Form);
    action->SetName("Action1");
    action->SetActionList(actions);
    action->SetCaption("Act");
    auto* button2 = AddControl<TButton>(Form, "Button2");
    Lang->Captions()->Add(Line({"Button2", "Old", "", ""}));
    button2->SetAction(action);
    Lang->BuildList();
    EXPECT_FALSE(HasKey(Lang->Captions(), "Button2"));
    EXPECT_FALSE(HasKey(Lang->Hints(), "Button2"));
    EXPECT_EQ(Value(Lang->Captions(), "Action1", 1), "Act") << "the action's own text";
}

TEST_F(LangCollect, AControlThatTakesItsParentsFontLosesItsFontLines) {
    Lang->BuildList();
    ASSERT_TRUE(HasKey(Lang->Fonts(), "Label1"));
    Form->Label1->SetParentFont(true);
    Lang->BuildList();
    EXPECT_FALSE(HasKey(Lang->Fonts(), "Label1"));
    EXPECT_FALSE(HasKey(Lang->CharSets(), "Label1"));
    EXPECT_TRUE(HasKey(Lang->Fonts(), "TCollectForm"));
}

TEST_F(LangCollect, ExclusionsLeaveExactlyTheirLinesOut) {
    Lang->BuildList();
    const AnsiString captionsBefore = Lang->Captions()->Text();
    TStringList smart;
    smart.SetCommaText("Edit1.Text,Status1.Panels,TCollectForm.Hint,Label1.Font");
    Lang->SetSmartProps(&smart);
    EXPECT_FALSE(HasKey(Lang->OtherStrings(), "Edit1.Text"));
    EXPECT_TRUE(HasKey(Lang->OtherStrings(), "Combo1.Text"));
    EXPECT_EQ(Lang->Collections()->Count(), 0);
    EXPECT_FALSE(HasKey(Lang->Hints(), "TCollectForm"));
    EXPECT_TRUE(HasKey(Lang->Hints(), "Button1"));
    EXPECT_FALSE(HasKey(Lang->Fonts(), "Label1"));
    EXPECT_FALSE(HasKey(Lang->CharSets(), "Label1"));
    EXPECT_TRUE(HasKey(Lang->CharSets(), "TCollectForm"));
    EXPECT_EQ(Lang->Captions()->Text(), captionsBefore);

    TStringList excluded;
    excluded.Assign(Lang->ExcludedProperties());
    excluded.Add("Caption");
    excluded.Add("Items");
    Lang->SetExProps(&excluded);
    EXPECT_EQ(Lang->Captions()->Count(), 0);
    EXPECT_FALSE(HasKey(Lang->MultiLines(), "Combo1.Items"));
    EXPECT_TRUE(HasKey(Lang->MultiLines(), "Memo1.Lines"));

    TStringList doNot;
    doNot.Add("Memo1");
    Lang->SetDoNotList(&doNot);
    Lang->BuildList();
    EXPECT_FALSE(HasKey(Lang->MultiLines(), "Memo1.Lines"));
    EXPECT_FALSE(HasKey(Lang->Hints(), "Memo1"));
    EXPECT_TRUE(HasKey(Lang->Hints(), "Button1"));
}

TEST_F(LangCollect, TheFormsOwnLinesFollowDoNotTranslate) {
    TStringList doNot;
    doNot.Add("TCollectForm");
    Lang->SetDoNotList(&doNot);
    Lang->BuildList();
    EXPECT_FALSE(HasKey(Lang->Captions(), "TCollectForm"));
    EXPECT_FALSE(HasKey(Lang->Fonts(), "TCollectForm"));
    EXPECT_TRUE(HasKey(Lang->Captions(), "Button1"));
}

// Three languages, Button1 translated.
class LangCollectTranslated : public LangCollect {
protected:
    void SetUp() override {
        LangCollect::SetUp();
        Lang->BuildList();
        Lang->ReplaceStringValue(*Lang->Captions(), u"Gut", u"Button1", 2);
        Lang->ReplaceStringValue(*Lang->Captions(), u"Bon", u"Button1", 3);
        Lang->ReplaceStringValue(*Lang->OtherStrings(), u"Texte", u"Edit1.Text", 3);
        Lang->ReplaceStringValue(*Lang->CharSets(), u"GREEK_CHARSET", u"Label1", 2);
    }
};

TEST_F(LangCollectTranslated, ASecondPassFollowsRenamedAndDeletedComponents) {
    Form->Button1->SetName("Button9");
    Form->Edit1->SetName("Edit9");
    delete Form->Memo1;
    Lang->BuildList();
    EXPECT_FALSE(HasKey(Lang->Captions(), "Button1"));
    EXPECT_EQ(Lang->Captions()->Get(Lang->Captions()->Count() - 1),
              Line({"Button9", "OK", "Gut", "Bon"}));
    EXPECT_FALSE(HasKey(Lang->OtherStrings(), "Edit1.Text"));
    EXPECT_EQ(Value(Lang->OtherStrings(), "Edit9.Text", 3), "Texte");
    EXPECT_FALSE(HasKey(Lang->MultiLines(), "Memo1.Lines"));
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"TCollectForm", "Main", "", ""}));
}

TEST_F(LangCollectTranslated, TranslationsComeBackWithTheComponent) {
    Lang->SetIgnoreRemovals(true);
    delete Form->Button1;
    delete Form->Label1;
    Lang->SetIgnoreRemovals(false);
    auto* again = AddControl<TButton>(Form, "Again");
    again->SetCaption("OK");
    auto* label = AddControl<TLabel>(Form, "Label7");
    label->SetCaption("Other");
    label->SetParentFont(false);
    label->Font()->SetName("Serif");
    Lang->BuildList();
    EXPECT_GE(Lang->Captions()->IndexOf(Line({"Again", "OK", "Gut", "Bon"})), 0);
    EXPECT_FALSE(HasKey(Lang->Captions(), "Button1"));
    EXPECT_EQ(Value(Lang->Captions(), "Label7", 1), "Other") << "another text: a new line";
    EXPECT_EQ(Value(Lang->Fonts(), "Label7", 1), "Serif");
    EXPECT_EQ(Value(Lang->CharSets(), "Label7", 1), "DEFAULT_CHARSET");
    EXPECT_EQ(Value(Lang->CharSets(), "Label7", 2), "GREEK_CHARSET")
        << "the character sets follow the restored font";
    EXPECT_FALSE(HasKey(Lang->CharSets(), "Label1"));
}

TEST_F(LangCollectTranslated, AtDesignTimeTheActiveLanguageTakesTheCurrentText) {
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Button1->Caption(), "Gut");
    Form->Button1->SetCaption("Sehr gut");
    Form->Edit1->SetText("Feld");
    Lang->SetActLang(1);
    EXPECT_EQ(Value(Lang->Captions(), "Button1", 2), "Sehr gut");
    EXPECT_EQ(Value(Lang->Captions(), "Button1", 1), "OK");
    EXPECT_EQ(Value(Lang->OtherStrings(), "Edit1.Text", 2), "")
        << "an empty value of another language stays empty";
    EXPECT_EQ(Form->Button1->Caption(), "OK");
    Form->Button1->SetCaption("Fine");
    Lang->SetActLang(2);
    EXPECT_EQ(Value(Lang->Captions(), "Button1", 1), "Fine");
    EXPECT_EQ(Form->Button1->Caption(), "Sehr gut");
}

TEST_F(LangCollectTranslated, AtRunTimeOnlyNewTextsAreCollected) {
    Form->SetDesigning(false);
    Form->Button1->SetCaption("Changed");
    auto* extra = AddControl<TButton>(Form, "Extra");
    extra->SetCaption("New");
    Lang->BuildList();
    EXPECT_EQ(Value(Lang->Captions(), "Button1", 1), "OK");
    EXPECT_EQ(Value(Lang->Captions(), "Extra", 1), "New");
}

TEST_F(LangCollect, TheFormsOwnLineIsKnownByItsKey) {
    Lang->Captions()->Add(Line({"Button1", "Main", "Haupt", ""}));
    Lang->Captions()->Add(Line({"CollectForm", "Main", "Fenster", ""}));
    Lang->BuildList();
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"TCollectForm", "Main", "Fenster", ""}))
        << "a line keyed by the form's name is the form's own, moved first";
    EXPECT_EQ(Value(Lang->Captions(), "Button1", 2), "Haupt")
        << "a component's line with the form's text stays the component's";
    EXPECT_EQ(Value(Lang->Captions(), "Button1", 1), "OK");

    Lang->Captions()->Clear();
    Lang->Captions()->Add(Line({"TOldForm", "Main", "Alt", ""}));
    Lang->BuildList();
    EXPECT_EQ(Lang->Captions()->Get(0), Line({"TCollectForm", "Main", "Alt", ""}))
        << "the line of the form's former class name";
}

TEST_F(LangCollect, ChecksThatEachLinesPropertyStillExists) {
    Lang->OtherStrings()->Add(Line({"Edit1.NoSuchProperty", "x"}));
    Lang->OtherStrings()->Add(Line({"Holder1.Properties.NoSuch", "x"}));
    Lang->OtherStrings()->Add(Line({"Holder1.Properties.Title", "x"}));
    Lang->DisplayLabels()->Add(Line({"Label1", "x"}));
    Lang->DisplayLabels()->Add(Line({"Field1", "x"}));
    Lang->Captions()->Add(Line({"", "x"}));
    Lang->Captions()->Add(Line({"Gone", "x"}));
    Lang->Collections()->Add(Line({"Holder1.Properties.Columns[0].Caption", "x"}));
    Lang->Collections()->Add(Line({"Holder1.NoSuch[0].Caption", "x"}));
    Lang->CheckRmdProps();
    EXPECT_EQ(Lang->OtherStrings()->Text(), Line({"Holder1.Properties.Title", "x"}) + "\n");
    EXPECT_EQ(Lang->DisplayLabels()->Text(), Line({"Field1", "x"}) + "\n");
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Gone", "x"}) + "\n")
        << "lines of absent components are the sweep's to keep or drop";
    EXPECT_EQ(Lang->Collections()->Text(),
              Line({"Holder1.Properties.Columns[0].Caption", "x"}) + "\n");
}

TEST_F(LangCollect, RemovesExactlyTheLinesOfAnExcludedText) {
    TStrings* list = Lang->OtherStrings();
    for (const char* key : {"E1.Text", "E1.TextX", "E10.Text", "E1.Text.Sub", "E1.Text"})
        list->Add(Line({key, "v"}));
    Lang->RemoveSmartExcl(*list, "E1", "Text", stOtherStrings);
    EXPECT_EQ(list->Text(), Line({"E1.TextX", "v"}) + "\n" + Line({"E10.Text", "v"}) + "\n");

    TStrings* items = Lang->Collections();
    for (const char* key : {"G.Cols[0].Title", "G.Cols[1].Title", "G.Cols[1].TitleX", "G.Rows[0].A"})
        items->Add(Line({key, "v"}));
    Lang->RemoveSmartExcl(*items, "G", "Cols[1].Title", stCollections);
    EXPECT_EQ(items->Count(), 3);
    Lang->RemoveSmartExcl(*items, "G", "Cols[", stCollections);
    EXPECT_EQ(items->Text(), Line({"G.Rows[0].A", "v"}) + "\n");

    Lang->Captions()->Add(Line({"B1", "v"}));
    Lang->Captions()->Add(Line({"B10", "v"}));
    Lang->RemoveSmartExcl(*Lang->Captions(), "B1", "Caption", stCaptions);
    EXPECT_EQ(Lang->Captions()->Text(), Line({"B10", "v"}) + "\n");
}

TEST_F(LangCollect, NamesExcludedPropertiesAndSmartExclusionsAsNotHandled) {
    Lang->SmartExcludeProps()->Add("E1.Text");
    EXPECT_TRUE(Lang->NotHandledProperty("E1", "Text"));
    EXPECT_FALSE(Lang->NotHandledProperty("E2", "Text"));
    EXPECT_TRUE(Lang->NotHandledProperty("E2", "FileName"));
    EXPECT_TRUE(Lang->NotHandledProperty("E2", "Name"));
    EXPECT_FALSE(Lang->NotHandledProperty("E2", "Caption"));
}

TEST_F(LangCollect, BringsExtendedTranslationsUpToDate) {
    TzxExtendedItem* caption = Lang->ExtendedTranslations()->Add();
    caption->SetIdentifier("Button1.Caption");
    caption->SetPropertyType(tkLString);
    caption->SetValues(Line({"Old", "Alt", "Vieux"}));
    TzxExtendedItem* gone = Lang->ExtendedTranslations()->Add();
    gone->SetIdentifier("Gone.Caption");
    Lang->BuildList();
    ASSERT_EQ(Lang->ExtendedTranslations()->Count(), 1);
    EXPECT_EQ(Lang->ExtendedTranslations()->Items(0)->Values(), Line({"OK", "Alt", "Vieux"}));
}

TEST_F(LangCollect, KeepsTheLastChoiceOfDoRaiseExceptions) {
    Lang->DoRaiseExceptions = true;
    Lang->BuildList();
    EXPECT_TRUE(Lang->DoRaiseExceptions);
}

} // namespace
