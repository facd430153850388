// Switching a form of platform controls between languages.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using namespace zxtest;

// A collection of captioned items, as list views and status bars publish them.
class TCaptionItem : public TCollectionItem {
    ZX_CLASS(TCaptionItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    static void PublishedProperties(TPropertyBuilder<TCaptionItem>& P) {
        P.Property("Caption", &TCaptionItem::Caption);
    }
    AnsiString Caption;
};

class TColumnsHolder : public TComponent {
    ZX_CLASS(TColumnsHolder, TComponent)
public:
    explicit TColumnsHolder(TComponent* AOwner)
        : TComponent(AOwner), FColumns(this, TCaptionItem::StaticClass()) {}
    static void PublishedProperties(TPropertyBuilder<TColumnsHolder>& P) {
        P.Property("Columns", &TColumnsHolder::Columns, &TColumnsHolder::SetColumns);
    }
    TOwnedCollection* Columns() { return &FColumns; }
    void SetColumns(TOwnedCollection* Value) { FColumns.Assign(Value); }
    TCaptionItem* Column(Integer Index) {
        return static_cast<TCaptionItem*>(FColumns.Items(Index));
    }

private:
    TOwnedCollection FColumns;
};

class TMainForm : public TForm {
    ZX_CLASS(TMainForm, TForm)
public:
    explicit TMainForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("MainForm");
        SetCaption("Main");
        Label1 = AddControl<TLabel>(this, "Label1");
        Label1->SetCaption("Hello");
        Label1->SetParentFont(false);
        Label2 = AddControl<TLabel>(this, "Label2");
        Label2->SetCaption("Plain");
        Button1 = AddControl<TButton>(this, "Button1");
        Button1->SetCaption("OK");
        Button1->SetHint("Press");
        Edit1 = AddControl<TEdit>(this, "Edit1");
        Edit1->SetText("Text");
        Grid = NewComponent<TColumnsHolder>(this);
        Grid->SetName("Grid");
        for (const char* caption : {"Name", "Size", "Date"})
            static_cast<TCaptionItem*>(Grid->Columns()->Add())->Caption = caption;
    }

    TLabel* Label1;
    TLabel* Label2;
    TButton* Button1;
    TEdit* Edit1;
    TColumnsHolder* Grid;
};

class LangApply : public ::testing::Test {
protected:
    void SetUp() override {
        SavedCurrency = CurrencyString;
        SavedDecimal = DecimalSeparator;
        SavedShortMonths = ShortMonthNames;
        Form = NewForm<TMainForm>(nullptr);
        Lang = NewComponent<TzxLang>(Form);
        Lang->SetName("zxLang1");
        Lang->SetNumLang(3);
        Lang->OnChangeLanguage = [this](TObject* Sender) {
            EXPECT_EQ(Sender, Lang);
            ++Changes;
        };
    }
    void TearDown() override {
        delete Form;
        CurrencyString = SavedCurrency;
        DecimalSeparator = SavedDecimal;
        ShortMonthNames = SavedShortMonths;
    }

    void FillThreeLanguages() {
        Lang->Captions()->Add(Line({"TMainForm", "Main", "Haupt", "Principal"}));
        Lang->Captions()->Add(Line({"Label1", "Hello", "Hallo", "Bonjour"}));
        Lang->Captions()->Add(Line({"Button1", "OK", "Gut", "Bien"}));
        Lang->Hints()->Add(Line({"Button1", "Press", "Druecken", "Appuyer"}));
        Lang->OtherStrings()->Add(Line({"Edit1.Text", "Text", "Texte DE", "Texte FR"}));
        Lang->Fonts()->Add(Line({"TMainForm", "Sans", "Serif", "Mono"}));
        Lang->Fonts()->Add(Line({"Label1", "Sans", "Serif", "Mono"}));
        Lang->Fonts()->Add(Line({"Label2", "Sans", "Serif", "Mono"}));
        Lang->CharSets()->Add(
            Line({"TMainForm", "DEFAULT_CHARSET", "ANSI_CHARSET", "EASTEUROPE_CHARSET"}));
        Lang->CharSets()->Add(
            Line({"Label1", "DEFAULT_CHARSET", "GREEK_CHARSET", "RUSSIAN_CHARSET"}));
        Lang->CharSets()->Add(
            Line({"Label2", "DEFAULT_CHARSET", "GREEK_CHARSET", "RUSSIAN_CHARSET"}));
        Lang->Collections()->Add(Line({"Grid.Columns[1].Caption", "Size", "Groesse", "Taille"}));
        Lang->SetChangeLocales(true);
        Lang->Locales()->Clear();
        Lang->Locales()->Add(Line({"Currency String", "$", "EUR", "CHF"}));
        Lang->Locales()->Add(Line({"Decimal Separator", ".", ",", ","}));
        Lang->Locales()->Add(Line({"Short Month Names", "Jan,Feb", "Jan,Feb", "janv,fevr"}));
    }

    void ExpectLanguage3() {
        EXPECT_EQ(Form->Caption(), "Principal");
        EXPECT_EQ(Form->Label1->Caption(), "Bonjour");
        EXPECT_EQ(Form->Label2->Caption(), "Plain");
        EXPECT_EQ(Form->Button1->Caption(), "Bien");
        EXPECT_EQ(Form->Button1->Hint(), "Appuyer");
        EXPECT_EQ(Form->Edit1->Text(), "Texte FR");
        EXPECT_EQ(Form->Font()->Name(), "Mono");
        EXPECT_EQ(Form->Font()->Charset(), EASTEUROPE_CHARSET);
        EXPECT_EQ(Form->Label1->Font()->Name(), "Mono");
        EXPECT_EQ(Form->Label1->Font()->Charset(), RUSSIAN_CHARSET);
        EXPECT_EQ(Form->Grid->Column(1)->Caption, "Taille");
        EXPECT_EQ(Form->Grid->Column(0)->Caption, "Name");
        EXPECT_EQ(CurrencyString, "CHF");
        EXPECT_EQ(DecimalSeparator, ',');
        EXPECT_EQ(ShortMonthNames[0], "janv");
        EXPECT_EQ(ShortMonthNames[1], "fevr");
    }

    AnsiString SavedCurrency;
    char SavedDecimal = '.';
    std::array<AnsiString, 12> SavedShortMonths;
    TMainForm* Form = nullptr;
    TzxLang* Lang = nullptr;
    Integer Changes = 0;
};

TEST_F(LangApply, SwitchingShowsEachLanguageInEveryControlAndBack) {
    FillThreeLanguages();
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Caption(), "Haupt");
    EXPECT_EQ(Form->Label1->Caption(), "Hallo");
    EXPECT_EQ(Form->Button1->Caption(), "Gut");
    EXPECT_EQ(Form->Button1->Hint(), "Druecken");
    EXPECT_EQ(Form->Edit1->Text(), "Texte DE");
    EXPECT_EQ(Form->Font()->Name(), "Serif");
    EXPECT_EQ(Form->Font()->Charset(), ANSI_CHARSET);
    EXPECT_EQ(Form->Label1->Font()->Name(), "Serif");
    EXPECT_EQ(Form->Label1->Font()->Charset(), GREEK_CHARSET);
    EXPECT_EQ(Form->Grid->Column(1)->Caption, "Groesse");
    EXPECT_EQ(CurrencyString, "EUR");
    EXPECT_EQ(Changes, 1);

    Lang->SetActLang(3);
    ExpectLanguage3();
    EXPECT_EQ(Changes, 2);

    Lang->SetActLang(1);
    EXPECT_EQ(Form->Caption(), "Main");
    EXPECT_EQ(Form->Label1->Caption(), "Hello");
    EXPECT_EQ(Form->Button1->Caption(), "OK");
    EXPECT_EQ(Form->Button1->Hint(), "Press");
    EXPECT_EQ(Form->Edit1->Text(), "Text");
    EXPECT_EQ(Form->Font()->Name(), "Sans");
    EXPECT_EQ(Form->Label1->Font()->Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(Form->Grid->Column(1)->Caption, "Size");
    EXPECT_EQ(CurrencyString, "$");
    EXPECT_EQ(DecimalSeparator, '.');
    EXPECT_EQ(Changes, 3);

    Lang->SetActLang(1);
    EXPECT_EQ(Changes, 3) << "the same language applies nothing";
}

TEST_F(LangApply, FontLinesFindTheirCharacterSetByKeyIgnoringCaseFirstLineWinning) {
    Lang->Fonts()->Add(Line({"Label1", "Sans", "Serif", "Mono"}));
    Lang->CharSets()->Add(Line({"LABEL1", "DEFAULT_CHARSET", "GREEK_CHARSET", "RUSSIAN_CHARSET"}));
    Lang->CharSets()->Add(Line({"Label1", "DEFAULT_CHARSET", "ANSI_CHARSET", "ANSI_CHARSET"}));
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Label1->Font()->Name(), "Serif");
    EXPECT_EQ(Form->Label1->Font()->Charset(), GREEK_CHARSET);
}

TEST_F(LangApply, AControlFollowingItsParentsFontKeepsIt) {
    FillThreeLanguages();
    AnsiString parentName = Form->Label2->Font()->Name();
    Lang->SetActLang(3);
    EXPECT_TRUE(Form->Label2->ParentFont());
    EXPECT_EQ(Form->Label2->Font()->Charset(), Form->Font()->Charset())
        << "its character set is its parent's, not its own line's";
    EXPECT_NE(Form->Label2->Font()->Charset(), RUSSIAN_CHARSET);
}

TEST_F(LangApply, EmptyTranslationsKeepTheTextOrFallBackToLanguage1) {
    Lang->Captions()->Add(Line({"TMainForm", "Main", "", ""}));
    Lang->Captions()->Add(Line({"Button1", "OK", "", ""}));
    Lang->Hints()->Add(Line({"TMainForm", "Form hint", "", ""}));
    Form->SetHint("Current hint");
    Form->Button1->SetCaption("Changed");
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Button1->Caption(), "Changed");
    EXPECT_EQ(Form->Caption(), "") << "the form's own caption takes even an empty value";
    EXPECT_EQ(Form->Hint(), "Current hint");

    Lang->TranslateType = ttGetDefault;
    Lang->SetActLang(3);
    EXPECT_EQ(Form->Button1->Caption(), "OK");
    EXPECT_EQ(Form->Caption(), "Main");
    EXPECT_EQ(Form->Hint(), "Form hint");
}

TEST_F(LangApply, AnEmptyValueKeepsItsLanguagesPlace) {
    Lang->Captions()->Add(Line({"Label1", "Hello", "", "Bonjour"}));
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Label1->Caption(), "Hello") << "language 3's text is not language 2's";
    Lang->TranslateType = ttGetDefault;
    Lang->SetActLang(3);
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Label1->Caption(), "Hello");
    Lang->SetActLang(3);
    EXPECT_EQ(Form->Label1->Caption(), "Bonjour");
}

TEST_F(LangApply, DoNotTranslateLeavesAComponentAndTheFormAlone) {
    FillThreeLanguages();
    TStringList excluded;
    excluded.Add("Button1");
    excluded.Add("TMainForm");
    Lang->SetDoNotList(&excluded);
    Lang->SetActLang(3);
    EXPECT_EQ(Form->Button1->Caption(), "OK");
    EXPECT_EQ(Form->Button1->Hint(), "Press");
    EXPECT_EQ(Form->Caption(), "Main");
    EXPECT_EQ(Form->Label1->Caption(), "Bonjour");
}

TEST_F(LangApply, SmartExclusionsKeepTheFormsCaption) {
    Lang->Captions()->Add(Line({"TMainForm", "Main", "Haupt", "Principal"}));
    Lang->SmartExcludeProps()->Add("TMainForm.Caption");
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Caption(), "Main");
}

TEST_F(LangApply, AListSetterAppliesOnlyItsKindAndOnlyOnce) {
    FillThreeLanguages();
    Lang->SetActLang(2);
    Form->Label1->SetCaption("changed");
    Form->Button1->SetHint("changed");
    TStringList hints;
    hints.Add(Line({"Button1", "Press", "Nochmal", "Encore"}));
    Lang->SetHints(&hints);
    EXPECT_EQ(Form->Button1->Hint(), "Nochmal");
    EXPECT_EQ(Form->Label1->Caption(), "changed");
    EXPECT_EQ(Changes, 2);

    Lang->ChangeLanguage();
    EXPECT_EQ(Form->Label1->Caption(), "Hallo") << "the next apply covers every kind again";
}

TEST_F(LangApply, SweepsLinesOfComponentsAndItemsThatAreGone) {
    Lang->Captions()->Add(Line({"Gone1", "x", "y", "z"}));
    Lang->Captions()->Add(Line({"Label1", "Hello", "Hallo", "Bonjour"}));
    Lang->OtherStrings()->Add(Line({"Gone2.Text", "x", "y", "z"}));
    Lang->Collections()->Add(Line({"Grid.Columns[5].Caption", "x", "y", "z"}));
    Lang->Collections()->Add(Line({"Grid.Columns[0].Missing", "x", "y", "z"}));
    Lang->Collections()->Add(Line({"Grid.Columns[0].Caption", "Name", "Name DE", "Nom"}));
    Lang->SetActLang(3);
    EXPECT_EQ(Lang->Captions()->Text(), Line({"Label1", "Hello", "Hallo", "Bonjour"}) + "\n");
    EXPECT_EQ(Lang->OtherStrings()->Count(), 0);
    EXPECT_EQ(Lang->Collections()->Text(),
              Line({"Grid.Columns[0].Caption", "Name", "Name DE", "Nom"}) + "\n");
    EXPECT_EQ(Form->Grid->Column(0)->Caption, "Nom");
    EXPECT_EQ(Form->Label1->Caption(), "Bonjour");
}

TEST_F(LangApply, LocalesApplyOnlyWhenSwitchedOnAndTakeAtMostTwelveMonths) {
    Lang->Locales()->Add(Line({"Currency String", "$", "EUR", "CHF"}));
    Lang->SetActLang(2);
    EXPECT_EQ(CurrencyString, SavedCurrency);

    Lang->SetChangeLocales(true);
    Lang->Locales()->Add(Line({"Short Month Names", "a", "1,2,3,4,5,6,7,8,9,10,11,12,13", "c"}));
    Lang->SetActLang(3);
    Lang->SetActLang(2);
    EXPECT_EQ(CurrencyString, "EUR");
    EXPECT_EQ(ShortMonthNames[0], "1");
    EXPECT_EQ(ShortMonthNames[11], "12");
}

TEST_F(LangApply, ExtendedTranslationsComeBeforeTheListsAndOnlyWhenAskedFor) {
    Lang->Captions()->Add(Line({"Label1", "Hello", "Hallo", "Bonjour"}));
    auto addItem = [this](const AnsiString& Path, std::initializer_list<AnsiString> Values) {
        TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
        item->SetIdentifier(Path);
        item->SetValues(Line(Values));
    };
    addItem("Label1.Caption", {"Hello", "extended", "extended"});
    addItem("Label2.Caption", {"Plain", "Schlicht", "Simple"});
    Lang->SetActLang(2);
    EXPECT_EQ(Form->Label2->Caption(), "Plain");
    Lang->TranslateExtendedFirst = true;
    Lang->SetActLang(3);
    EXPECT_EQ(Form->Label1->Caption(), "Bonjour") << "the list is applied after the item";
    EXPECT_EQ(Form->Label2->Caption(), "Simple");
    EXPECT_EQ(Changes, 2);
}

TEST_F(LangApply, TheChangingCursorShowsOnlyWhileTheLanguageChanges) {
    Lang->ChangingCursor = crHourGlass;
    TCursor seen = crDefault;
    Lang->OnChangeLanguage = [&](TObject*) { seen = Screen->Cursor(); };
    Lang->SetActLang(2);
    EXPECT_EQ(seen, crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

} // namespace
