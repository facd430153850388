// The delimiter, exclusion and language-name setters of the translation
// component.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace zxtest;

class TSetterForm : public TForm {
    ZX_CLASS(TSetterForm, TForm)
public:
    explicit TSetterForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("SetterForm");
        SetCaption("Main");
        Button1 = AddControl<TButton>(this, "Button1");
        Button1->SetCaption("OK");
        Edit1 = AddControl<TEdit>(this, "Edit1");
        Edit1->SetText("Text");
    }
    TButton* Button1;
    TEdit* Edit1;
};

class LangSetters : public TLangFormTest<TSetterForm> {
protected:
    // Every line of every list, to see that a refused change changed nothing.
    AnsiString AllLines() {
        AnsiString all;
        for (Integer kind = 0; kind < StringsTypeCount; ++kind)
            if (TStrings* list = Lang->GetPropListByType(static_cast<TStringsType>(kind)))
                all += list->Text() + "|";
        return all;
    }
};

TEST_F(LangSetters, ADelimiterChangeRewritesKeysValuesAndExtendedItems) {
    Lang->Captions()->Add(Line({"B1", "OK", "Gut"}));
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
    item->SetValues(Line({"", "a", "b"}));
    Lang->SetLangDelim(2);
    EXPECT_EQ(Lang->LangDelim(), 2);
    EXPECT_EQ(Lang->Captions()->Get(0), "B1\2OK\2Gut\2");
    EXPECT_EQ(Lang->DlgsCaptions()->Get(6), "Yes\2&Yes\2");
    EXPECT_EQ(item->Values(), "\2a\2b\2");
    Lang->SetLangDelim(2);
    EXPECT_EQ(Lang->Captions()->Get(0), "B1\2OK\2Gut\2");
}

TEST_F(LangSetters, RefusesADelimiterThatWouldSplitTheData) {
    Lang->Captions()->Add(Line({"B1", "a\3b"}));
    const AnsiString before = AllLines();
    for (Byte code : {Byte{0}, Byte{10}, Byte{13}, Byte{3}}) {
        EXPECT_EQ(MessageOf<ELanguageError>([&] { Lang->SetLangDelim(code); }),
                  IntToStr(code) + " - is not a valid property value!\r" +
                      "The delimiter must not be 0, 10, 13 or a character the translations hold!");
        EXPECT_EQ(Lang->LangDelim(), 1);
        EXPECT_EQ(AllLines(), before);
    }
    TzxExtendedItem* item = Lang->ExtendedTranslations()->Add();
    item->SetValues(Line({"", "x\4y"}));
    EXPECT_THROW(Lang->SetLangDelim(4), ELanguageError);
    EXPECT_EQ(Lang->LangDelim(), 1);
}

TEST_F(LangSetters, DelimiterAndLanguageCountKeepEveryListConsistent) {
    Form->SetDesigning(true);
    Lang->BuildList();
    Lang->SetLangDelim(5);
    Lang->SetNumLang(3);
    const char d = '\5';
    EXPECT_EQ(Lang->DlgsCaptions()->Get(6), AnsiString("Yes") + d + "&Yes" + d + d + d);
    Lang->ReplaceStringValue(*Lang->Captions(), u"Gut", u"Button1", 2);
    Lang->ReplaceStringValue(*Lang->Captions(), u"Bon", u"Button1", 3);
    auto* extra = NewComponent<TButton>(Form);
    extra->SetName("Extra");
    extra->SetCaption("New");
    Lang->BuildList();
    EXPECT_EQ(Lang->Captions()->Get(0), AnsiString("TSetterForm") + d + "Main" + d)
        << "growing pads no line: missing values read as empty";
    EXPECT_EQ(Lang->GetStringValue(*Lang->Captions(), u"TSetterForm", 3), u"");
    EXPECT_EQ(Lang->Captions()->Get(2), AnsiString("Extra") + d + "New" + d + d + d);
    Lang->SetActLang(3);
    EXPECT_EQ(Form->Button1->Caption(), "Bon");
    Lang->SetActLang(1);
    Lang->SetNumLang(2);
    EXPECT_EQ(Lang->Captions()->Get(1), AnsiString("Button1") + d + "OK" + d + "Gut" + d);
    EXPECT_EQ(Lang->DlgsCaptions()->Get(6), AnsiString("Yes") + d + "&Yes" + d + d);
    EXPECT_EQ(Lang->LangNames()->Count(), 2);
}

TEST_F(LangSetters, ExcludedPropertiesEmptyOrFilterTheLists) {
    Lang->Fonts()->Add(Line({"B1", "Sans"}));
    Lang->CharSets()->Add(Line({"B1", "DEFAULT_CHARSET"}));
    Lang->Hints()->Add(Line({"B1", "h"}));
    Lang->ExcludedProperties()->Add("Charset");
    Lang->ExcludeProperties();
    EXPECT_EQ(Lang->CharSets()->Count(), 0);
    EXPECT_EQ(Lang->Fonts()->Count(), 1);
    Lang->ExcludedProperties()->Add("Font");
    Lang->ExcludeProperties();
    EXPECT_EQ(Lang->Fonts()->Count(), 0);
    EXPECT_EQ(Lang->Hints()->Count(), 1);

    Lang->OtherStrings()->Add(Line({"Edit1.Text", "t"}));
    Lang->OtherStrings()->Add(Line({"Edit1.HelpFile", "f"}));
    Lang->OtherStrings()->Add(Line({"Holder.Properties.Title", "p"}));
    Lang->Collections()->Add(Line({"Grid1.Columns[0].Title", "c"}));
    Lang->Collections()->Add(Line({"Grid1.Columns[0].Caption", "c"}));
    Lang->Collections()->Add(Line({"Grid2.Properties.Rows[0].Caption", "r"}));
    Lang->SmartExcludeProps()->Add("Edit1.Text");
    Lang->SmartExcludeProps()->Add("Holder.Title");
    Lang->SmartExcludeProps()->Add("Grid1.Title");
    Lang->SmartExcludeProps()->Add("Grid2.Rows");
    Lang->ExcludeProperties();
    EXPECT_EQ(Lang->OtherStrings()->Text(), Line({"Edit1.HelpFile", "f"}) + "\n");
    EXPECT_EQ(Lang->Collections()->Text(), Line({"Grid1.Columns[0].Caption", "c"}) + "\n");
}

TEST_F(LangSetters, ExclusionListSettersDropAndCollectAgain) {
    Form->SetDesigning(true);
    Lang->BuildList();
    ASSERT_EQ(Lang->OtherStrings()->IndexOf(Line({"Edit1.Text", "Text"})), 0);
    TStringList excluded;
    excluded.Add("Text");
    Lang->SetExProps(&excluded);
    EXPECT_EQ(Lang->OtherStrings()->IndexOf(Line({"Edit1.Text", "Text"})), -1);
    EXPECT_EQ(Lang->ExcludedProperties()->Text(), "Text\n");
    EXPECT_GE(Lang->Captions()->IndexOf(Line({"Button1", "OK"})), 0);

    TStringList doNot;
    doNot.Add("Button1");
    Lang->SetDoNotList(&doNot);
    EXPECT_EQ(Lang->Captions()->IndexOf(Line({"Button1", "OK"})), -1);
    Lang->Captions()->Add(Line({"Button1", "OK"}));
    Lang->SetDoNotList(Lang->DoNotTranslate());
    EXPECT_GE(Lang->Captions()->IndexOf(Line({"Button1", "OK"})), 0)
        << "its own list is not rebuilt";
}

TEST_F(LangSetters, LanguageNamesSetNameAndCount) {
    TStringList names;
    names.SetCommaText("English,German,French");
    Lang->SetLangNames(&names);
    EXPECT_EQ(Lang->NumOfLanguages(), 3);
    EXPECT_EQ(Lang->Language(), u"English");
    Lang->SetLanguage(u"french");
    EXPECT_EQ(Lang->ActiveLanguage(), 3);
    EXPECT_EQ(Lang->Language(), u"French") << "the name as listed";
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Lang->SetLanguage(u"Dutch"); }),
              "Language name shall be included in LangNames property!");
    EXPECT_EQ(Lang->ActiveLanguage(), 3);

    TStringList two;
    two.SetCommaText("One,Two");
    EXPECT_EQ(MessageOf<ELanguageError>([&] { Lang->SetLangNames(&two); }),
              "2 - is not a valid number of language names!\r"
              "LangNames must name the active language 3!");
    EXPECT_EQ(Lang->LangNames()->CommaText(), "English,German,French");
    EXPECT_EQ(Lang->NumOfLanguages(), 3);
}

TEST_F(LangSetters, LanguagesStopAtTheMostAComponentHoldsInSettersAndFormFiles) {
    TStringList names;
    names.SetText(Numbered(MaxNumOfLanguages + 1, "L%0:d\n"));
    Lang->Captions()->Add(Line({"Button1", "OK"}));
    const AnsiString lines = AllLines();
    EXPECT_THROW(Lang->SetLangNames(&names), ELanguageError);
    EXPECT_THROW(Lang->SetNumLang(MaxNumOfLanguages + 1), ELanguageError);
    EXPECT_EQ(Lang->LangNames()->CommaText(), "\"Language N1\"");
    EXPECT_EQ(Lang->NumOfLanguages(), 1);
    EXPECT_EQ(AllLines(), lines);

    RegisterClxClasses();
    InitQzxComp();
    for (const AnsiString& property :
         {"LangNames.Strings = (" + Numbered(MaxNumOfLanguages + 1, " 'L%0:d'") + ")",
          "NumOfLanguages = " + IntToStr(MaxNumOfLanguages + 1)}) {
        std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
        EXPECT_THROW(ReadFormText("object Form9: TForm\n  object zxLang9: TzxLang\n    " +
                                      property + "\n  end\nend\n",
                                  form.get()),
                     EReadError)
            << property;
        EXPECT_EQ(form->ComponentCount(), 0) << "the component read is freed";
    }

    names.Delete(MaxNumOfLanguages);
    Lang->SetLangNames(&names);
    EXPECT_EQ(Lang->NumOfLanguages(), MaxNumOfLanguages);
    EXPECT_EQ(Lang->Language(), u"L1");
}

// A form file may name the language before a later list of names that
// lacks it: the component reads the language the list gives, so what it
// writes reads back.
TEST_F(LangSetters, ALanguageReadBeforeItsNamesIsOneOfThem) {
    RegisterClxClasses();
    InitQzxComp();
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    ReadFormText("object Form9: TForm\n  object zxLang9: TzxLang\n"
                 "    LangNames.Strings = ('English' 'Deutsch')\n    Language = 'English'\n"
                 "    LangNames.Strings = ('Polski' 'Dansk')\n  end\nend\n",
                 form.get());
    auto* lang = dynamic_cast<TzxLang*>(form->FindComponent("zxLang9"));
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(lang->Language(), u"Polski");
    TMemoryStream written;
    WriteComponent(written, form.get());
    written.SetPosition(0);
    std::unique_ptr<TForm> again(NewForm<TForm>(nullptr));
    EXPECT_NO_THROW(ReadComponent(written, again.get()));
}

TEST_F(LangSetters, NormalizingPadsTheListsReadOnDemand) {
    Lang->SetNumLang(3);
    Lang->Strings()->Add(AnsiString("key") + D + "a" + D);
    Lang->Strings()->Add(AnsiString("long") + D + "a" + D + D + D + D);
    Lang->Captions()->Add(AnsiString("B1") + D + "a" + D);
    Lang->NormalizeStrings();
    EXPECT_EQ(Lang->Strings()->Get(0), AnsiString("key") + D + "a" + D + D + D);
    EXPECT_EQ(Lang->Strings()->Get(1), AnsiString("long") + D + "a" + D + D + D + D);
    EXPECT_EQ(Lang->Captions()->Get(0), AnsiString("B1") + D + "a" + D);
}

TEST_F(LangSetters, VersionCannotBeChanged) {
    Lang->SetVersion(u"7.0");
    EXPECT_EQ(Lang->Version(), u"6.0_beta");
}

} // namespace
