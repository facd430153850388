// The translation component's property helpers, locale switching, stored
// rules and the dispatcher's test-mode settings.
#include "LangTestSupport.h"

#include "TestSupport.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace zxtest;

// An object whose "Font" is a number, not a font, and whose "Caption" is no
// string.
class TOddThing : public TComponent {
    ZX_CLASS(TOddThing, TComponent)
public:
    explicit TOddThing(TComponent* AOwner) : TComponent(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TOddThing>& P) {
        P.Property("Font", &TOddThing::Font);
        P.Property("Caption", &TOddThing::Caption);
        P.Property("OnClick", &TOddThing::OnClick);
    }
    Integer Font = 12345;
    Integer Caption = 3;
    TNotifyEvent OnClick;
};

class TPropsForm : public TForm {
    ZX_CLASS(TPropsForm, TForm)
public:
    explicit TPropsForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("PropsForm");
        Button1 = NewComponent<TButton>(this);
        Button1->SetName("Button1");
        Button1->SetParent(this);
        Button1->SetCaption("OK");
        Button1->Font()->SetName("Serif");
        Button1->Font()->SetCharset(GREEK_CHARSET);
        Odd = NewComponent<TOddThing>(this);
        Odd->SetName("Odd");
    }
    TButton* Button1;
    TOddThing* Odd;
};

using LangProps = TLangFormTest<TPropsForm>;

TEST_F(LangProps, FontHelpersReadTheFontHeldByFont) {
    EXPECT_EQ(TzxCustomLang::GetObjectFontCharset(Form->Button1), GREEK_CHARSET);
    EXPECT_EQ(TzxCustomLang::GetObjectFontName(Form->Button1), "Serif");
}

TEST_F(LangProps, FontHelpersGiveTheirDefaultsWithoutAFont) {
    for (TObject* object : {static_cast<TObject*>(nullptr), static_cast<TObject*>(Lang),
                            static_cast<TObject*>(Form->Odd)}) {
        EXPECT_EQ(TzxCustomLang::GetObjectFontCharset(object), 23);
        EXPECT_EQ(TzxCustomLang::GetObjectFontName(object), "");
    }
}

TEST_F(LangProps, StringPropertiesByNameAreReadAndWrittenWhenTheyExist) {
    EXPECT_EQ(TzxCustomLang::GetObjectStrProperty(Form->Button1, "Caption"), "OK");
    EXPECT_EQ(TzxCustomLang::GetObjectStrProperty(Form->Button1, "caption"), "OK");
    TzxCustomLang::SetObjectStrProperty(Form->Button1, "Caption", "Go");
    EXPECT_EQ(Form->Button1->Caption(), "Go");

    EXPECT_EQ(TzxCustomLang::GetObjectStrProperty(Form->Button1, "Nothing"), "");
    EXPECT_EQ(TzxCustomLang::GetObjectStrProperty(nullptr, "Caption"), "");
    EXPECT_EQ(TzxCustomLang::GetObjectStrProperty(Form->Odd, "OnClick"), "")
        << "an event is no property here";
    EXPECT_NO_THROW(TzxCustomLang::SetObjectStrProperty(nullptr, "Caption", "x"));
    EXPECT_NO_THROW(TzxCustomLang::SetObjectStrProperty(Form->Button1, "Nothing", "x"));
    EXPECT_EQ(Form->Button1->Caption(), "Go");
}

TEST_F(LangProps, ClearTranslationsEmptiesEveryListButKeepsNamesAndExtendedItems) {
    Lang->SetNumLang(2);
    TStringList names;
    names.SetText("English\nDeutsch\n");
    Lang->SetLangNames(&names);
    Lang->BuildList();
    Lang->AddString(u"Greeting", {u"Hello", u"Hallo"});
    Lang->ExtendedTranslations()->Add()->SetIdentifier("Button1.Caption");
    ASSERT_GT(Lang->Captions()->Count(), 0);
    ASSERT_GT(Lang->Fonts()->Count(), 0);
    ASSERT_EQ(Lang->GetText(u"Greeting"), u"Hello");

    Lang->ClearTranslations();
    Lang->ForEachKeptList([](TStringsType Kind, TStrings& List) {
        EXPECT_EQ(List.Count(), 0) << GetEnumName(TypeInfoOf(Kind), Kind);
    });
    EXPECT_EQ(Lang->GetText(u"Greeting"), u"") << "the string table follows at run time";
    EXPECT_EQ(Lang->ExtendedTranslations()->Count(), 1);
    EXPECT_EQ(Lang->LangNames()->Text(), "English\nDeutsch\n");
}

TEST_F(LangProps, StringAccessToAPropertyOfAnotherKindReportsThePlatformsError) {
    EXPECT_THROW(TzxCustomLang::GetObjectStrProperty(Form->Odd, "Caption"),
                 EPropertyConvertError);
    EXPECT_THROW(TzxCustomLang::SetObjectStrProperty(Form->Odd, "Caption", "x"),
                 EPropertyConvertError);
    EXPECT_EQ(Form->Odd->Caption, 3);
}

TEST_F(LangProps, ObjectHasPropertyChecksKindAndTypeName) {
    EXPECT_TRUE(TzxCustomLang::ObjectHasProperty(Form, "Font", "", TTypeKinds{tkClass}));
    EXPECT_TRUE(TzxCustomLang::ObjectHasProperty(Form, "Font", "tfont", TTypeKinds{tkClass}));
    EXPECT_FALSE(TzxCustomLang::ObjectHasProperty(Form, "Font", "TBrush", TTypeKinds{tkClass}));
    EXPECT_FALSE(TzxCustomLang::ObjectHasProperty(Form->Odd, "Font", "", TTypeKinds{tkClass}));
    EXPECT_TRUE(TzxCustomLang::ObjectHasProperty(Form->Odd, "Font", "", TTypeKinds{tkInteger}));
    EXPECT_FALSE(TzxCustomLang::ObjectHasProperty(nullptr, "Font", "", tkAny));
}

// ---------------------------------------------------------------------------
// Locale switching

class LangLocales : public TLangFormTest<TForm> {};

TEST_F(LangLocales, SwitchingOnFillsTheFifteenLocaleLinesFromTheSnapshot) {
    ASSERT_EQ(Lang->Locales()->Count(), 0);
    Lang->SetChangeLocales(true);
    EXPECT_TRUE(Lang->ChangeLocales());
    ASSERT_EQ(Lang->Locales()->Count(), LocaleSettingCount);
    for (Integer index = 0; index < LocaleSettingCount; ++index)
        EXPECT_EQ(Lang->Locales()->Get(index),
                  Line({LocaleKeys[static_cast<std::size_t>(index)],
                        UTF8Encode(Lang->LocaleSnapshot()[static_cast<std::size_t>(index)])}));
    EXPECT_EQ(Lang->Locales()->Get(0), Line({"Currency String", CurrencyString}));
    EXPECT_EQ(Lang->Locales()->Get(2),
              Line({"Decimal Separator", AnsiString(1, DecimalSeparator)}));
}

TEST_F(LangLocales, SwitchingOnAgainAddsNothingToLinesThatAreThere) {
    Lang->Locales()->Add(Line({"Currency String", "EUR"}));
    Lang->SetChangeLocales(true);
    EXPECT_EQ(Lang->Locales()->Count(), 1);
    Lang->SetChangeLocales(false);
    EXPECT_FALSE(Lang->ChangeLocales());
    EXPECT_EQ(Lang->Locales()->Count(), 1) << "switching off keeps the lines";
    Lang->Locales()->Clear();
    Lang->SetChangeLocales(true);
    EXPECT_EQ(Lang->Locales()->Count(), LocaleSettingCount);
    Lang->Locales()->Clear();
    Lang->SetChangeLocales(true);
    EXPECT_EQ(Lang->Locales()->Count(), 0) << "an unchanged value does nothing";
}

TEST_F(LangLocales, StoredRulesFollowWhetherTheListsHoldAnything) {
    EXPECT_FALSE(Lang->DoStoreDNT());
    EXPECT_FALSE(Lang->DoStoreSmart());
    EXPECT_FALSE(Lang->DoStoreExtended());
    EXPECT_TRUE(Lang->DoStoreExcluded());
    Lang->DoNotTranslate()->Add("Button1");
    Lang->SmartExcludeProps()->Add("Button1.Caption");
    Lang->ExtendedTranslations()->Add();
    Lang->ExcludedProperties()->Clear();
    EXPECT_TRUE(Lang->DoStoreDNT());
    EXPECT_TRUE(Lang->DoStoreSmart());
    EXPECT_TRUE(Lang->DoStoreExtended());
    EXPECT_FALSE(Lang->DoStoreExcluded());
    EXPECT_TRUE(IsStoredProp(Lang, GetPropInfo(Lang, "ExtendedTranslations")));
}

// ---------------------------------------------------------------------------
// Test-mode settings

class TSettingsHolder : public TComponent {
    ZX_CLASS(TSettingsHolder, TComponent)
public:
    explicit TSettingsHolder(TComponent* AOwner) : TComponent(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TSettingsHolder>& P) {
        P.ReadOnly("TestModeInfo", &TSettingsHolder::TestModeInfo);
    }
    TTestModeInfo* TestModeInfo() { return &FInfo; }

private:
    TTestModeInfo FInfo;
};

std::unique_ptr<TSettingsHolder> ReadHolder(const AnsiString& Text) {
    auto holder = std::make_unique<TSettingsHolder>(nullptr);
    ReadFormText(Text, holder.get());
    return holder;
}

TEST(TestModeInfo, DefaultsAreLeftOutOfFormFilesAndComeBackWhenOmitted) {
    TSettingsHolder holder(nullptr);
    holder.SetName("Holder");
    EXPECT_EQ(FormText(&holder).find("TestModeInfo"), AnsiString::npos);

    std::unique_ptr<TSettingsHolder> read =
        ReadHolder("object Holder: TSettingsHolder\nend\n");
    const TTestModeInfo& info = *read->TestModeInfo();
    EXPECT_FALSE(info.Active);
    EXPECT_EQ(info.PaddingChar, '*');
    EXPECT_EQ(info.ExpandWidthPercent, 100);
    EXPECT_EQ(info.ExpandCharsPercent, 100);
    EXPECT_EQ(info.Kind, tmkExpandWidth);
}

TEST(TestModeInfo, ChangedSettingsTravelThroughFormFiles) {
    TSettingsHolder holder(nullptr);
    holder.SetName("Holder");
    TTestModeInfo& info = *holder.TestModeInfo();
    info.Active = true;
    info.PaddingChar = '#';
    info.ExpandWidthPercent = 130;
    info.ExpandCharsPercent = 150;
    info.Kind = tmkFlipCase;
    AnsiString text = FormText(&holder);
    for (const char* written :
         {"TestModeInfo.Active = True", "TestModeInfo.Kind = tmkFlipCase",
          "TestModeInfo.ExpandWidthPercent = 130", "TestModeInfo.ExpandCharsPercent = 150",
          "TestModeInfo.PaddingChar"})
        EXPECT_NE(text.find(written), AnsiString::npos) << written << "\n" << text;

    std::unique_ptr<TSettingsHolder> read = ReadHolder(text);
    const TTestModeInfo& back = *read->TestModeInfo();
    EXPECT_TRUE(back.Active);
    EXPECT_EQ(back.PaddingChar, '#');
    EXPECT_EQ(back.ExpandWidthPercent, 130);
    EXPECT_EQ(back.ExpandCharsPercent, 150);
    EXPECT_EQ(back.Kind, tmkFlipCase);
}

} // namespace
