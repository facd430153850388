// Extended translations: properties of any kind addressed by a dotted path,
// applied on a language switch, captured back, re-delimited, resized with
// the number of languages and carried through form files.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

ZX_ENUM(TShade, shLight, shMedium, shDark);
ZX_ENUM(TEdge, edLeft, edTop, edRight, edBottom);
using TEdges = TSet<TEdge>;

namespace {

using namespace zxtest;

// A column with a caption and a font of its own, so that a path can lead
// through a collection item into a sub-object.
class TColumn : public TCollectionItem {
    ZX_CLASS(TColumn, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    static void PublishedProperties(TPropertyBuilder<TColumn>& P) {
        P.Property("Caption", &TColumn::Caption);
        P.Property("Width", &TColumn::Width);
        P.Property("Font", &TColumn::Font, &TColumn::SetFont);
    }
    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    AnsiString Caption;
    Integer Width = 64;

private:
    TFont FFont;
};

class TGrid : public TComponent {
    ZX_CLASS(TGrid, TComponent)
public:
    explicit TGrid(TComponent* AOwner)
        : TComponent(AOwner), FColumns(this, TColumn::StaticClass()) {}
    static void PublishedProperties(TPropertyBuilder<TGrid>& P) {
        P.Property("Columns", &TGrid::Columns, &TGrid::SetColumns);
    }
    TOwnedCollection* Columns() { return &FColumns; }
    void SetColumns(TOwnedCollection* Value) { FColumns.Assign(Value); }
    TColumn* Column(Integer Index) { return static_cast<TColumn*>(FColumns.Items(Index)); }

private:
    TOwnedCollection FColumns;
};

// One published property of each kind that an extended item can translate,
// a sub-object that is never assigned, and lines with objects attached.
class TGauge : public TComponent {
    ZX_CLASS(TGauge, TComponent)
public:
    explicit TGauge(TComponent* AOwner) : TComponent(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TGauge>& P) {
        P.Property("Ratio", &TGauge::Ratio);
        P.Property("Shade", &TGauge::Shade);
        P.Property("Edges", &TGauge::Edges);
        P.Property("Title", &TGauge::Title);
        P.Property("WideTitle", &TGauge::WideTitle);
        P.Property("Count", &TGauge::Count);
        P.Property("Big", &TGauge::Big);
        P.Property("Mark", &TGauge::Mark);
        P.Property("Visible", &TGauge::Visible);
        P.Property("Lines", &TGauge::Lines, &TGauge::SetLines);
        P.Property("Spare", &TGauge::Spare);
        P.ReadOnly("Fixed", &TGauge::Fixed);
        P.Property("OnChange", &TGauge::OnChange);
    }
    TStrings* Lines() { return &FLines; }
    void SetLines(TStrings* Value) { FLines.Assign(Value); }
    AnsiString Fixed() const { return "fixed"; }

    double Ratio = 1.5;
    TShade Shade = shLight;
    TEdges Edges{edTop};
    AnsiString Title = "Gauge";
    WideString WideTitle = u"Wide";
    Integer Count = 7;
    Int64 Big = 1;
    char Mark = 'm';
    bool Visible = true;
    TPersistent* Spare = nullptr;
    TNotifyEvent OnChange;

private:
    TStringList FLines;
};

class TExtForm : public TForm {
    ZX_CLASS(TExtForm, TForm)
public:
    explicit TExtForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("ExtForm");
        SetCaption("Form");
        Button1 = NewComponent<TButton>(this);
        Button1->SetName("Button1");
        Button1->SetParent(this);
        Button1->Font()->SetName("Sans");
        Gauge = NewComponent<TGauge>(this);
        Gauge->SetName("Gauge");
        Grid = NewComponent<TGrid>(this);
        Grid->SetName("Grid");
        for (const char* caption : {"Name", "Size", "Date"})
            static_cast<TColumn*>(Grid->Columns()->Add())->Caption = caption;
    }

    TButton* Button1;
    TGauge* Gauge;
    TGrid* Grid;
};

class LangExtended : public TLangFormTest<TExtForm> {
protected:
    void SetUp() override {
        TLangFormTest::SetUp();
        Lang->SetName("zxLang1");
        Lang->SetNumLang(3);
    }

    TzxExtendedItem* AddItem(const AnsiString& Path, std::initializer_list<AnsiString> Values) {
        TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
        item->SetIdentifier(Path);
        AnsiString values;
        for (const AnsiString& value : Values)
            values += value + D;
        item->SetValues(values);
        return item;
    }

    TObject* ObjectAt(const char* Path) { return Lang->GetObjByPath(UTF8Decode(Path)); }
    AnsiString ValueAt(const char* Path) {
        return UTF8Encode(Lang->GetPropValueByPath(UTF8Decode(Path)));
    }
    void SetValueAt(const char* Path, const char* Value) {
        Lang->SetPropValueByPath(UTF8Decode(Path), UTF8Decode(Value));
    }
};

// ---------------------------------------------------------------------------
// Paths

TEST_F(LangExtended, PathsLeadToTheFormItsComponentsSubObjectsAndCollectionItems) {
    EXPECT_EQ(ObjectAt("TExtForm.Caption"), Form);
    EXPECT_EQ(ObjectAt("Gauge.Ratio"), Form->Gauge);
    EXPECT_EQ(ObjectAt("Button1.Font.Name"), Form->Button1->Font());
    EXPECT_EQ(ObjectAt("Grid.Columns[1].Caption"), Form->Grid->Column(1));
    EXPECT_EQ(ObjectAt("Grid.Columns[2].Font.Name"), Form->Grid->Column(2)->Font());
    EXPECT_EQ(ObjectAt("grid.columns[0].Caption"), Form->Grid->Column(0))
        << "component and property names ignore case";
}

TEST_F(LangExtended, PathsThatRunIntoNothingResolveToNoObject) {
    for (const char* path :
         {"Missing.Caption", "Gauge", "", "Gauge.Count.Value", "Gauge.Title.Length",
          "Gauge.Spare.Anything", "Gauge.Missing.Caption", "Grid.Columns[3].Caption",
          "Grid.Columns[-1].Caption", "Grid.Columns[x].Caption", "Grid.Columns[].Caption",
          "Grid.Columns[1.Caption", "Grid.Columns[1]x.Caption", "Grid.Columns.Caption",
          "Button1.Font[0].Name", "Gauge.OnChange.Code", "TForm.Caption"})
        EXPECT_EQ(ObjectAt(path), nullptr) << path;
}

TEST_F(LangExtended, PropertyKindsByPathCountOnlyStringListsAsClasses) {
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.Ratio"), tkFloat);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.Shade"), tkEnumeration);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.Edges"), tkSet);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.Title"), tkLString);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.Big"), tkInt64);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.Lines"), tkClass);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Button1.Font"), tkUnknown);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.Spare"), tkUnknown);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.OnChange"), tkUnknown);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Gauge.Nothing"), tkUnknown);
    EXPECT_EQ(Lang->GetPropTypeByPath(u"Nobody.Title"), tkUnknown);
}

// ---------------------------------------------------------------------------
// Values as text

TEST_F(LangExtended, EachKindReadsAsTextAndTakesItsTextBack) {
    EXPECT_EQ(ValueAt("Gauge.Ratio"), "1.5");
    EXPECT_EQ(ValueAt("Gauge.Shade"), "shLight");
    EXPECT_EQ(ValueAt("Gauge.Edges"), "edTop");
    EXPECT_EQ(ValueAt("Gauge.Count"), "7");
    EXPECT_EQ(ValueAt("Gauge.Mark"), "m");
    EXPECT_EQ(ValueAt("Gauge.Visible"), "True");
    EXPECT_EQ(ValueAt("Gauge.WideTitle"), "Wide");

    SetValueAt("Gauge.Ratio", "0.25");
    SetValueAt("Gauge.Shade", "shDark");
    SetValueAt("Gauge.Edges", "edLeft,edBottom");
    SetValueAt("Gauge.Title", "Anzeige");
    SetValueAt("Gauge.WideTitle", "Jauge");
    SetValueAt("Gauge.Count", "-42");
    SetValueAt("Gauge.Big", "9000000000");
    SetValueAt("Gauge.Mark", "x");
    SetValueAt("Gauge.Visible", "false");
    EXPECT_DOUBLE_EQ(Form->Gauge->Ratio, 0.25);
    EXPECT_EQ(Form->Gauge->Shade, shDark);
    EXPECT_EQ(Form->Gauge->Edges, (TEdges{edLeft, edBottom}));
    EXPECT_EQ(Form->Gauge->Title, "Anzeige");
    EXPECT_EQ(Form->Gauge->WideTitle, u"Jauge");
    EXPECT_EQ(Form->Gauge->Count, -42);
    EXPECT_EQ(Form->Gauge->Big, 9000000000);
    EXPECT_EQ(Form->Gauge->Mark, 'x');
    EXPECT_FALSE(Form->Gauge->Visible);
    EXPECT_EQ(ValueAt("Gauge.Edges"), "edLeft,edBottom");
    EXPECT_EQ(ValueAt("Gauge.Big"), "9000000000");
}

TEST_F(LangExtended, AStringListTakesCommaTextKeepingTheObjectsOfItsLines) {
    TObject marker;
    Form->Gauge->Lines()->AddObject("one", &marker);
    Form->Gauge->Lines()->Add("two");
    Form->Gauge->Lines()->Add("three");
    EXPECT_EQ(ValueAt("Gauge.Lines"), "one,two,three");
    SetValueAt("Gauge.Lines", "eins,\"zwei drei\"");
    ASSERT_EQ(Form->Gauge->Lines()->Count(), 2);
    EXPECT_EQ(Form->Gauge->Lines()->Get(0), "eins");
    EXPECT_EQ(Form->Gauge->Lines()->GetObject(0), &marker);
    EXPECT_EQ(Form->Gauge->Lines()->Get(1), "zwei drei");
    EXPECT_EQ(ValueAt("Gauge.Lines"), "eins,\"zwei drei\"");
}

TEST_F(LangExtended, TextThatDoesNotConvertLeavesThePropertyAsItWas) {
    SetValueAt("Gauge.Count", "many");
    SetValueAt("Gauge.Big", "9x");
    SetValueAt("Gauge.Ratio", "n/a");
    SetValueAt("Gauge.Shade", "shPurple");
    SetValueAt("Gauge.Visible", "perhaps");
    SetValueAt("Gauge.Edges", "edLeft,edNowhere");
    SetValueAt("Gauge.Mark", "xy");
    SetValueAt("Gauge.Fixed", "changed");
    SetValueAt("Button1.Font", "Serif");
    EXPECT_EQ(Form->Gauge->Count, 7);
    EXPECT_EQ(Form->Gauge->Big, 1);
    EXPECT_DOUBLE_EQ(Form->Gauge->Ratio, 1.5);
    EXPECT_EQ(Form->Gauge->Shade, shLight);
    EXPECT_TRUE(Form->Gauge->Visible);
    EXPECT_EQ(Form->Gauge->Edges, TEdges{edTop});
    EXPECT_EQ(Form->Gauge->Mark, 'm');
    EXPECT_EQ(ValueAt("Gauge.Fixed"), "fixed");
    EXPECT_EQ(Form->Button1->Font()->Name(), "Sans");
    EXPECT_EQ(ValueAt("Button1.Font"), "") << "a class that is no string list has no text";
}

// ---------------------------------------------------------------------------
// Applying on a language switch

TEST_F(LangExtended, ALanguageSwitchAppliesEveryKindOfItemWhenExtendedComeFirst) {
    Lang->TranslateExtendedFirst = true;
    AddItem("Gauge.Ratio", {"1.5", "2.75", "3"});
    AddItem("Gauge.Shade", {"shLight", "shMedium", "shDark"});
    AddItem("Gauge.Edges", {"edTop", "edLeft,edRight", ""});
    AddItem("Gauge.Title", {"Gauge", "Anzeige", "Jauge"});
    AddItem("Grid.Columns[1].Caption", {"Size", "Groesse", "Taille"});
    AddItem("Button1.Font.Name", {"Sans", "Serif", "Mono"});
    AddItem("TExtForm.Caption", {"Form", "Formular", "Fiche"});

    Lang->SetActLang(2);
    EXPECT_DOUBLE_EQ(Form->Gauge->Ratio, 2.75);
    EXPECT_EQ(Form->Gauge->Shade, shMedium);
    EXPECT_EQ(Form->Gauge->Edges, (TEdges{edLeft, edRight}));
    EXPECT_EQ(Form->Gauge->Title, "Anzeige");
    EXPECT_EQ(Form->Grid->Column(1)->Caption, "Groesse");
    EXPECT_EQ(Form->Grid->Column(0)->Caption, "Name");
    EXPECT_EQ(Form->Button1->Font()->Name(), "Serif");
    EXPECT_EQ(Form->Caption(), "Formular");

    Lang->SetActLang(3);
    EXPECT_DOUBLE_EQ(Form->Gauge->Ratio, 3.0);
    EXPECT_EQ(Form->Gauge->Shade, shDark);
    EXPECT_EQ(Form->Gauge->Edges, (TEdges{edLeft, edRight})) << "an empty value keeps the set";
    EXPECT_EQ(Form->Grid->Column(1)->Caption, "Taille");

    Lang->SetActLang(1);
    EXPECT_DOUBLE_EQ(Form->Gauge->Ratio, 1.5);
    EXPECT_EQ(Form->Gauge->Edges, TEdges{edTop});
    EXPECT_EQ(Form->Gauge->Title, "Gauge");
    EXPECT_EQ(Form->Caption(), "Form");
}

TEST_F(LangExtended, WithoutExtendedFirstALanguageSwitchLeavesTheItemsAlone) {
    AddItem("Gauge.Title", {"Gauge", "Anzeige", "Jauge"});
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Gauge->Title, "Gauge");
    Lang->ChangeLangForExtended();
    EXPECT_EQ(Form->Gauge->Title, "Anzeige");
}

TEST_F(LangExtended, AListSetterAppliesItsOwnKindButNoExtendedItems) {
    Lang->TranslateExtendedFirst = true;
    AddItem("Gauge.Title", {"Gauge", "Anzeige", "Jauge"});
    Lang->SetActLang(2);
    Form->Gauge->Title = "typed";
    TStringList hints;
    Lang->SetHints(&hints);
    EXPECT_EQ(Form->Gauge->Title, "typed");
}

TEST_F(LangExtended, ValuesAreReadByPositionSoAnEmptyValueKeepsItsColumn) {
    Lang->TranslateExtendedFirst = true;
    AddItem("Gauge.Title", {"Gauge", "", "Jauge"});
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Gauge->Title, "Gauge") << "language 2 is empty, not language 3's text";
    Lang->SetActLang(3);
    EXPECT_EQ(Form->Gauge->Title, "Jauge");
}

TEST_F(LangExtended, AnEmptyValueFallsBackToLanguageOneOnlyUnderGetDefault) {
    Lang->TranslateExtendedFirst = true;
    AddItem("Gauge.Title", {"Gauge", "", ""});
    Form->Gauge->Title = "changed";
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Gauge->Title, "changed");
    Lang->TranslateType = ttGetDefault;
    Lang->SetActLang(3);
    EXPECT_EQ(Form->Gauge->Title, "Gauge");
}

TEST_F(LangExtended, ItemsWhosePathRunsIntoNothingDoNothingAndTheOthersStillApply) {
    Lang->TranslateExtendedFirst = true;
    AddItem("Gauge.Count.Value", {"1", "2", "3"});
    AddItem("Gauge.Spare.Caption", {"a", "b", "c"});
    AddItem("Grid.Columns[9].Caption", {"a", "b", "c"});
    AddItem("Grid.Columns[z].Caption", {"a", "b", "c"});
    AddItem("Grid.Columns.Caption", {"a", "b", "c"});
    AddItem("Nobody.Caption", {"a", "b", "c"});
    AddItem("Gauge.Title", {"Gauge", "Anzeige", "Jauge"});
    EXPECT_NO_THROW(Lang->SetActLang(2));
    EXPECT_EQ(Form->Gauge->Count, 7);
    EXPECT_EQ(Form->Gauge->Spare, nullptr);
    EXPECT_EQ(Form->Grid->Column(0)->Caption, "Name");
    EXPECT_EQ(Form->Grid->Columns()->Count(), 3);
    EXPECT_EQ(Form->Gauge->Title, "Anzeige");
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), 7) << "applying removes no item";
}

TEST_F(LangExtended, AnUnknownEnumerationNameDoesNotSpoilTheProperty) {
    Lang->TranslateExtendedFirst = true;
    AddItem("Gauge.Shade", {"shLight", "shPurple", "shDark"});
    Form->Gauge->Shade = shMedium;
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Gauge->Shade, shMedium);
    EXPECT_EQ(ValueAt("Gauge.Shade"), "shMedium");
}

// ---------------------------------------------------------------------------
// Capturing, re-delimiting and resizing

TEST_F(LangExtended, UpdateCapturesChangedValuesIntoTheActiveLanguageOnly) {
    TzxExtendedItem* title = AddItem("Gauge.Title", {"Gauge", "Anzeige", "Jauge"});
    TzxExtendedItem* ratio = AddItem("Gauge.Ratio", {"1.5", "", "9"});
    TzxExtendedItem* caption = AddItem("Grid.Columns[2].Caption", {"Date"});
    Lang->SetActLang(2);
    Form->Gauge->Title = "Messer";
    Form->Gauge->Ratio = 4.5;
    Lang->UpdateExtended();
    EXPECT_EQ(title->Values(), Line({"Gauge", "Messer", "Jauge"}));
    EXPECT_EQ(ratio->Values(), Line({"1.5", "4.5", "9"}));
    EXPECT_EQ(caption->Values(), Line({"Date", "Date", ""})) << "a short item is filled out";
}

TEST_F(LangExtended, UpdateLeavesUnchangedValuesAsTheyAre) {
    TzxExtendedItem* title = AddItem("Gauge.Title", {"Gauge"});
    Lang->UpdateExtended();
    EXPECT_EQ(title->Values(), Line({"Gauge"})) << "equal text: nothing rewritten";
}

TEST_F(LangExtended, UpdateDropsItemsOfRemovedComponentsAndMissingProperties) {
    AddItem("Gauge.Title", {"Gauge", "", ""});
    AddItem("Button1.Caption", {"OK", "", ""});
    AddItem("Gauge.Vanished", {"x", "", ""});
    AddItem("Grid.Columns[7].Caption", {"x", "", ""});
    TzxExtendedItem* font = AddItem("Button1.Font", {"kept", "", ""});
    delete Form->Gauge;
    Form->Gauge = nullptr;
    // The form's removal notice already drops the items of the gauge at run
    // time; recreate one so that UpdateExtended itself has to drop it.
    AddItem("Gauge.Ratio", {"1", "", ""});
    Lang->UpdateExtended();
    ASSERT_EQ(Lang->ExtendedTranslations()->Count(), 2);
    EXPECT_EQ(Lang->ExtendedTranslations()->Items(0)->GetIdentifier(), "Button1.Caption");
    EXPECT_EQ(Lang->ExtendedTranslations()->Items(1), font);
    EXPECT_EQ(font->Values(), Line({"kept", "", ""})) << "a value without text form is kept";
}

TEST_F(LangExtended, ChangingTheDelimiterRewritesEveryItemsValues) {
    TzxExtendedItem* first = AddItem("Gauge.Title", {"a", "b", "c"});
    TzxExtendedItem* second = AddItem("Gauge.Count", {"1", "", "3"});
    Lang->SetLangDelim('|');
    EXPECT_EQ(first->Values(), "a|b|c|");
    EXPECT_EQ(second->Values(), "1||3|");
    Lang->ChangeDelimOnExtended('|', '#');
    EXPECT_EQ(first->Values(), "a#b#c#");
}

TEST_F(LangExtended, ChangingTheNumberOfLanguagesRewritesEveryItemConsistently) {
    TzxExtendedItem* full = AddItem("Gauge.Title", {"a", "b", "c"});
    TzxExtendedItem* gap = AddItem("Gauge.Count", {"1", "", "3"});
    TzxExtendedItem* shortItem = AddItem("Gauge.Ratio", {"1.5"});
    TzxExtendedItem* empty = AddItem("Gauge.Shade", {});

    Lang->SetNumLang(2);
    EXPECT_EQ(full->Values(), Line({"a", "b"}));
    EXPECT_EQ(gap->Values(), Line({"1", ""}));
    EXPECT_EQ(shortItem->Values(), Line({"1.5", ""}));
    EXPECT_EQ(empty->Values(), Line({"", ""}));

    Lang->SetNumLang(4);
    EXPECT_EQ(full->Values(), Line({"a", "b", "", ""}));
    EXPECT_EQ(gap->Values(), Line({"1", "", "", ""}));

    Lang->SetNumLang(1);
    for (TzxExtendedItem* item : {full, gap, shortItem, empty})
        EXPECT_EQ(CountDelimChars(item->Values(), TSysCharSet{D}), 1) << item->GetIdentifier();
    EXPECT_EQ(full->Values(), Line({"a"}));
}

// ---------------------------------------------------------------------------
// Items and the collection

TEST_F(LangExtended, FindIgnoresCaseAndFollowsRenamedComponents) {
    TzxExtendedItem* item = AddItem("Button1.Font.Name", {"Sans"});
    EXPECT_EQ(Lang->ExtendedTranslations()->Find("BUTTON1.font.name"), item);
    EXPECT_EQ(Lang->ExtendedTranslations()->Find("Button1.Font"), nullptr);
    item->SetRelComponent(Form->Button1);
    Form->Button1->SetName("OkButton");
    EXPECT_EQ(item->GetIdentifier(), "OkButton.Font.Name");
    EXPECT_EQ(Lang->ExtendedTranslations()->Find("okbutton.font.name"), item);
    EXPECT_EQ(item->GetDisplayName(), "Button1.Font.Name");
    item->SetRelComponent(Form);
    EXPECT_EQ(item->GetIdentifier(), "TExtForm.Font.Name");
    EXPECT_EQ(Lang->ExtendedTranslations()->Add()->GetDisplayName(), "TzxExtendedItem");
}

TEST_F(LangExtended, AssignedTranslationsAreCopiedWithoutTheirComponentLinks) {
    TzxExtendedItems source(nullptr);
    auto* item = source.Add();
    item->SetIdentifier("Gauge.Title");
    item->SetValues(Line({"a", "b", "c"}));
    item->SetPropertyType(tkLString);
    item->SetRelComponent(Form->Gauge);
    Lang->SetExtendedTranslations(&source);
    ASSERT_EQ(Lang->ExtendedTranslations()->Count(), 1);
    TzxExtendedItem* copy = Lang->ExtendedTranslations()->Items(0);
    EXPECT_NE(copy, item);
    EXPECT_EQ(copy->GetIdentifier(), "Gauge.Title");
    EXPECT_EQ(copy->Values(), Line({"a", "b", "c"}));
    EXPECT_EQ(copy->PropertyType(), tkLString);
    EXPECT_EQ(copy->RelComponent(), nullptr);
    EXPECT_EQ(copy->Collection(), Lang->ExtendedTranslations());

    item->SetValues(Line({"x", "y", "z"}));
    Lang->ExtendedTranslations()->SetItems(0, item);
    EXPECT_EQ(copy->Values(), Line({"x", "y", "z"}));
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), 1);

    TColumn* column = Form->Grid->Column(0);
    column->Assign(item);
    EXPECT_EQ(column->Caption, "Name") << "another class of item is left untouched";
}

TEST(LangExtendedStreaming, ValuesTravelAsBinaryDataWithTheirDelimiters) {
    InitQzxComp();
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    form->SetName("Form1");
    auto* lang = NewComponent<TzxLang>(form.get());
    lang->SetName("zxLang1");
    lang->SetNumLang(2);
    auto* item = lang->ExtendedTranslations()->Add();
    item->SetIdentifier("Gauge.Title");
    item->SetPropertyType(tkLString);
    item->SetValues(Line({"Gauge", "Anzeige"}));
    lang->ExtendedTranslations()->Add()->SetIdentifier("Gauge.Count");

    AnsiString text = FormText(form.get());
    EXPECT_NE(text.find("ValuesEx = {"), AnsiString::npos);
    EXPECT_EQ(text.find("Values = "), AnsiString::npos);
    EXPECT_EQ(text.find("IsRoot"), AnsiString::npos);

    TMemoryStream stream;
    WriteComponent(stream, form.get());

    std::unique_ptr<TForm> copy(NewForm<TForm>(nullptr));
    stream.SetPosition(0);
    ReadComponent(stream, copy.get());
    auto* target = dynamic_cast<TzxLang*>(copy->FindComponent("zxLang1"));
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(target->ExtendedTranslations()->Count(), 2);
    TzxExtendedItem* read = target->ExtendedTranslations()->Items(0);
    EXPECT_EQ(read->GetIdentifier(), "Gauge.Title");
    EXPECT_EQ(read->PropertyType(), tkLString);
    EXPECT_EQ(read->Values(), Line({"Gauge", "Anzeige"}));
    EXPECT_EQ(target->ExtendedTranslations()->Items(1)->Values(), "")
        << "an item without values writes no data";
}

// A filer that records what an object defines, against a chosen ancestor.
class TDefinitionRecorder : public TFiler {
public:
    explicit TDefinitionRecorder(TStream& Stream) : TFiler(Stream) {}
    void DefineProperty(const AnsiString&, const TReaderProc&, const TWriterProc&,
                        bool) override {}
    void DefineBinaryProperty(const AnsiString& Name, const TStreamProc&, const TStreamProc&,
                              bool HasData) override {
        if (Name == "ValuesEx")
            ValuesExHasData = HasData;
    }
    std::optional<bool> ValuesExHasData;
};

TEST_F(LangExtended, AgainstAnAncestorOnlyDifferingValuesAreWritten) {
    TzxExtendedItem* item = AddItem("Gauge.Title", {"a", "b", "c"});
    TzxExtendedItems ancestors(nullptr);
    TzxExtendedItem* ancestor = ancestors.Add();
    ancestor->SetValues(item->Values());
    TMemoryStream stream;
    auto hasData = [&](TPersistent* Ancestor) {
        TDefinitionRecorder recorder(stream);
        recorder.SetAncestor(Ancestor);
        item->DefineProperties(&recorder);
        return recorder.ValuesExHasData.value();
    };
    EXPECT_TRUE(hasData(nullptr));
    EXPECT_FALSE(hasData(ancestor));
    ancestor->SetValues(Line({"a", "b", "other"}));
    EXPECT_TRUE(hasData(ancestor));
    EXPECT_TRUE(hasData(Form)) << "an ancestor of another class compares with nothing";
    Lang->UseInheritedData = true;
    EXPECT_FALSE(hasData(ancestor));
    Lang->UseInheritedData = false;
    item->SetValues("");
    EXPECT_FALSE(hasData(nullptr));
    EXPECT_FALSE(hasData(ancestor));
}

} // namespace
