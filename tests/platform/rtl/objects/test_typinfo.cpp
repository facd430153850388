#include "rtl/Classes.h"

#include <gtest/gtest.h>

ZX_ENUM(TShade, shRed, shGreen, shBlue);
using TShades = TSet<TShade>;

namespace {

class TFontLike : public TPersistent {
    ZX_CLASS(TFontLike, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TFontLike>& P) {
        P.Property("Name", &TFontLike::FName).TypeName("TFontName");
        P.Property("Size", &TFontLike::FSize).Default(10);
    }
    AnsiString FName = "Sans";
    Integer FSize = 10;
};

class TOtherObject : public TPersistent {
    ZX_CLASS(TOtherObject, TPersistent)
};

// A component publishing one property of every kind.
class TAllKinds : public TComponent {
    ZX_CLASS(TAllKinds, TComponent)
public:
    explicit TAllKinds(TComponent* AOwner) : TComponent(AOwner) {}
    ~TAllKinds() override { delete FFont; }
    static void PublishedProperties(TPropertyBuilder<TAllKinds>& P);

    Integer Count() const { return FCount; }
    void SetCount(Integer Value) {
        FCount = Value;
        ++CountWrites;
    }
    TShade Shade() const { return FShade; }
    void SetShade(TShade Value) { FShade = Value; }
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& Value) { FCaption = Value; }
    bool IsCaptionStored() const { return !FCaption.empty(); }
    TFontLike* Font() const { return FFont; }
    void SetFont(TFontLike* Value) { FFont = Value; }
    Integer Total() const { return FCount * 2; }

    Integer FCount = 5;
    Integer CountWrites = 0;
    char FLetter = 'a';
    char16_t FWideLetter = u'\u00E9';
    TShade FShade = shGreen;
    bool FActive = false;
    double FRatio = 0.5;
    AnsiString FCode;
    AnsiString FCaption;
    WideString FTitle;
    TShades FShades{shRed};
    TFontLike* FFont = new TFontLike;
    TNotifyEvent FOnChange;
    Int64 FBig = 0;
    Word FCursor = 0;
};

void TAllKinds::PublishedProperties(TPropertyBuilder<TAllKinds>& P) {
    P.Property("Count", &TAllKinds::Count, &TAllKinds::SetCount).Default(5);
    P.Property("Letter", &TAllKinds::FLetter);
    P.Property("WideLetter", &TAllKinds::FWideLetter);
    P.Property("Shade", &TAllKinds::Shade, &TAllKinds::SetShade).Default(shGreen);
    P.Property("Active", &TAllKinds::FActive).Default(false);
    P.Property("Ratio", &TAllKinds::FRatio);
    P.Property("Code", &TAllKinds::FCode).ShortString();
    P.Property("Caption", &TAllKinds::Caption, &TAllKinds::SetCaption)
        .TypeName("TCaption")
        .Stored(&TAllKinds::IsCaptionStored);
    P.Property("Title", &TAllKinds::FTitle);
    P.Property("Shades", &TAllKinds::FShades).TypeName("TShades").Default(TShades{shRed});
    P.Property("Font", &TAllKinds::Font, &TAllKinds::SetFont);
    P.Property("OnChange", &TAllKinds::FOnChange);
    P.Property("Big", &TAllKinds::FBig);
    P.Property("Cursor", &TAllKinds::FCursor).TypeName("TCursor").Default(0);
    P.ReadOnly("Total", &TAllKinds::Total);
}

// Redeclares an inherited property with another default and adds one.
class TMoreKinds : public TAllKinds {
    ZX_CLASS(TMoreKinds, TAllKinds)
public:
    explicit TMoreKinds(TComponent* AOwner) : TAllKinds(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TMoreKinds>& P) {
        P.Property("Extra", &TMoreKinds::FExtra);
        P.Property("Count", &TMoreKinds::Count, &TMoreKinds::SetCount).Default(7);
    }
    AnsiString FExtra;
};

class TBadDefault : public TPersistent {
    ZX_CLASS(TBadDefault, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TBadDefault>& P) {
        P.Property("Text", &TBadDefault::FText).Default(0);
    }
    AnsiString FText;
};

std::vector<AnsiString> Names(const TPropList& List) {
    std::vector<AnsiString> names;
    for (PPropInfo info : List)
        names.push_back(info->Name);
    return names;
}

class PropertyAccess : public ::testing::Test {
protected:
    std::unique_ptr<TAllKinds> Bag = std::make_unique<TAllKinds>(nullptr);
};

TEST_F(PropertyAccess, OrdinalKindsGoThroughTheirSetters) {
    SetOrdProp(Bag.get(), "Count", 42);
    EXPECT_EQ(Bag->FCount, 42);
    EXPECT_EQ(Bag->CountWrites, 1);
    EXPECT_EQ(GetOrdProp(Bag.get(), "count"), 42);

    SetOrdProp(Bag.get(), "Letter", 'z');
    EXPECT_EQ(Bag->FLetter, 'z');
    SetOrdProp(Bag.get(), "WideLetter", 0x263A);
    EXPECT_EQ(GetOrdProp(Bag.get(), "WideLetter"), 0x263A);
    SetOrdProp(Bag.get(), "Active", 1);
    EXPECT_TRUE(Bag->FActive);
    SetOrdProp(Bag.get(), "Cursor", 65535);
    EXPECT_EQ(Bag->FCursor, 65535);
    EXPECT_EQ(GetOrdProp(Bag.get(), "Total"), 84);
}

TEST_F(PropertyAccess, StringsFloatsAndInt64) {
    SetStrProp(Bag.get(), "Caption", "Hello");
    EXPECT_EQ(Bag->Caption(), "Hello");
    SetStrProp(Bag.get(), "Code", "X1");
    EXPECT_EQ(GetStrProp(Bag.get(), "Code"), "X1");

    // Wide and 8-bit strings convert through UTF-8 in both directions.
    SetStrProp(Bag.get(), "Title", "\xC3\xA4\xE2\x82\xAC");
    EXPECT_EQ(Bag->FTitle, u"\u00E4\u20AC");
    EXPECT_EQ(GetStrProp(Bag.get(), "Title"), "\xC3\xA4\xE2\x82\xAC");
    SetWideStrProp(Bag.get(), "Caption", u"\u00FC");
    EXPECT_EQ(Bag->Caption(), "\xC3\xBC");
    EXPECT_EQ(GetWideStrProp(Bag.get(), "Caption"), u"\u00FC");

    SetFloatProp(Bag.get(), "Ratio", 2.25);
    EXPECT_DOUBLE_EQ(Bag->FRatio, 2.25);
    EXPECT_EQ(GetFloatProp(Bag.get(), "Ratio"), 2.25L);

    SetInt64Prop(Bag.get(), "Big", Int64(1) << 40);
    EXPECT_EQ(Bag->FBig, Int64(1) << 40);
    EXPECT_EQ(GetInt64Prop(Bag.get(), "Big"), Int64(1) << 40);
    EXPECT_EQ(GetInt64Prop(Bag.get(), "Count"), 5);
}

TEST_F(PropertyAccess, InheritedPropertiesWorkLikeOwnOnes) {
    SetStrProp(Bag.get(), "Name", "Bag1");
    EXPECT_EQ(Bag->Name(), "Bag1");
    SetOrdProp(Bag.get(), "Tag", -3);
    EXPECT_EQ(Bag->Tag(), -3);
    // The setter's validation still applies.
    EXPECT_THROW(SetStrProp(Bag.get(), "Name", "1st"), EComponentError);
    EXPECT_EQ(Bag->Name(), "Bag1");
}

TEST_F(PropertyAccess, WrongKindsUnknownNamesAndReadOnlyPropertiesRaise) {
    try {
        GetOrdProp(Bag.get(), "Caption");
        FAIL() << "no exception";
    } catch (const EPropertyConvertError& error) {
        EXPECT_EQ(error.Message(), "Invalid property type: TCaption");
    }
    EXPECT_THROW(GetOrdProp(Bag.get(), "Big"), EPropertyConvertError);
    EXPECT_THROW(GetStrProp(Bag.get(), "Count"), EPropertyConvertError);
    EXPECT_THROW(GetFloatProp(Bag.get(), "Count"), EPropertyConvertError);
    try {
        GetStrProp(Bag.get(), "Missing");
        FAIL() << "no exception";
    } catch (const EPropertyError& error) {
        EXPECT_EQ(error.Message(), "Property Missing does not exist");
    }
    EXPECT_THROW(SetOrdProp(Bag.get(), "Total", 1), EPropertyError);
    EXPECT_FALSE(GetPropInfo(Bag.get(), "Total")->SetProc);

    // A property of one class applied to an object of another.
    TOtherObject other;
    EXPECT_THROW(GetOrdProp(&other, GetPropInfo(Bag.get(), "Count")), EPropertyError);
}

TEST_F(PropertyAccess, EnumerationsByNameAndRangeChecks) {
    EXPECT_EQ(GetEnumProp(Bag.get(), "Shade"), "shGreen");
    SetEnumProp(Bag.get(), "Shade", "SHBLUE");
    EXPECT_EQ(Bag->Shade(), shBlue);
    EXPECT_THROW(SetEnumProp(Bag.get(), "Shade", "shPink"), EPropertyConvertError);
    EXPECT_THROW(SetOrdProp(Bag.get(), "Shade", 3), EPropertyConvertError);
    EXPECT_THROW(SetOrdProp(Bag.get(), "Active", 2), EPropertyConvertError);
    EXPECT_EQ(Bag->Shade(), shBlue);
    EXPECT_EQ(GetEnumProp(Bag.get(), "Active"), "False");
}

TEST_F(PropertyAccess, SetsAsText) {
    Bag->FShades = TShades{shRed, shBlue};
    EXPECT_EQ(GetSetProp(Bag.get(), "Shades"), "shRed,shBlue");
    EXPECT_EQ(GetSetProp(Bag.get(), "Shades", true), "[shRed,shBlue]");
    EXPECT_EQ(GetOrdProp(Bag.get(), "Shades"), 5);

    SetSetProp(Bag.get(), "Shades", "[shGreen, shblue]");
    EXPECT_EQ(Bag->FShades, (TShades{shGreen, shBlue}));
    SetSetProp(Bag.get(), "Shades", "[]");
    EXPECT_TRUE(Bag->FShades.Empty());

    SetSetProp(Bag.get(), "Shades", "shRed");
    EXPECT_THROW(SetSetProp(Bag.get(), "Shades", "shRed,shPink"), EPropertyConvertError);
    EXPECT_THROW(SetOrdProp(Bag.get(), "Shades", 8), EPropertyConvertError);
    EXPECT_EQ(Bag->FShades, TShades{shRed});
}

TEST_F(PropertyAccess, ObjectPropertiesValidateTheClass) {
    TFontLike* font = Bag->Font();
    EXPECT_EQ(GetObjectProp(Bag.get(), "Font"), font);
    EXPECT_EQ(GetObjectProp(Bag.get(), "Font", TFontLike::StaticClass()), font);
    EXPECT_EQ(GetObjectProp(Bag.get(), "Font", TComponent::StaticClass()), nullptr);
    EXPECT_EQ(GetObjectPropClass(GetPropInfo(Bag.get(), "Font")), TFontLike::StaticClass());

    // A dotted path walks into the sub-object.
    SetStrProp(GetObjectProp(Bag.get(), "Font"), "Name", "Serif");
    EXPECT_EQ(font->FName, "Serif");

    TOtherObject other;
    SetObjectProp(Bag.get(), "Font", &other);
    EXPECT_EQ(Bag->Font(), font);
    SetObjectProp(Bag.get(), "Font", nullptr);
    EXPECT_EQ(Bag->Font(), nullptr);
    SetObjectProp(Bag.get(), "Font", font);
    EXPECT_EQ(Bag->Font(), font);
}

TEST_F(PropertyAccess, MethodPropertiesCarryTheHandlerName) {
    TObject* sender = nullptr;
    TMethod method{TNotifyEvent::THandler([&sender](TObject* Sender) { sender = Sender; }),
                   "BagChange"};
    SetMethodProp(Bag.get(), "OnChange", method);
    ASSERT_TRUE(Bag->FOnChange);
    Bag->FOnChange(Bag.get());
    EXPECT_EQ(sender, Bag.get());
    EXPECT_EQ(Bag->FOnChange.HandlerName(), "BagChange");

    TMethod read = GetMethodProp(Bag.get(), "OnChange");
    EXPECT_EQ(read.Name, "BagChange");
    ASSERT_TRUE(read.Code.has_value());
    std::any_cast<TNotifyEvent::THandler>(read.Code)(nullptr);
    EXPECT_EQ(sender, nullptr);

    // A form read without its code keeps the name of the handler.
    SetMethodProp(Bag.get(), "OnChange", TMethod{{}, "Detached"});
    EXPECT_FALSE(Bag->FOnChange);
    EXPECT_EQ(Bag->FOnChange.HandlerName(), "Detached");
    EXPECT_FALSE(GetMethodProp(Bag.get(), "OnChange").Code.has_value());

    TMethod wrong{std::function<void()>([] {}), "Wrong"};
    EXPECT_THROW(SetMethodProp(Bag.get(), "OnChange", wrong), EPropertyConvertError);
}

TEST(Events, AssigningAPlainFunctionDropsTheHandlerName) {
    TNotifyEvent event(TNotifyEvent::THandler([](TObject*) {}), "Old");
    EXPECT_TRUE(event);
    event = [](TObject*) {};
    EXPECT_TRUE(event);
    EXPECT_EQ(event.HandlerName(), "");
    event = nullptr;
    EXPECT_FALSE(event);
}

TEST(PropertyTables, DeclarationOrderPutsInheritedPropertiesFirst) {
    EXPECT_EQ(Names(GetPropList(TAllKinds::StaticClass(), tkAny, false)),
              (std::vector<AnsiString>{"Name", "Tag", "Count", "Letter", "WideLetter", "Shade",
                                       "Active", "Ratio", "Code", "Caption", "Title", "Shades",
                                       "Font", "OnChange", "Big", "Cursor", "Total"}));
    // A redeclared property keeps its ancestor's place but takes the new rules.
    TPropList more = GetPropList(TMoreKinds::StaticClass(), tkAny, false);
    EXPECT_EQ(more[2]->Name, "Count");
    EXPECT_EQ(more[2]->Default, 7);
    EXPECT_EQ(more.back()->Name, "Extra");
    EXPECT_EQ(GetPropInfo(TAllKinds::StaticClass(), "Count")->Default, 5);
}

TEST(PropertyTables, ListsSortByNameAndFilterByKind) {
    TMoreKinds bag(nullptr);
    EXPECT_EQ(Names(GetPropList(&bag, TTypeKinds{tkString, tkLString, tkWString})),
              (std::vector<AnsiString>{"Caption", "Code", "Extra", "Name", "Title"}));
    EXPECT_EQ(Names(GetPropList(&bag, tkMethods)), (std::vector<AnsiString>{"OnChange"}));
    TPropList all = GetPropList(&bag);
    EXPECT_EQ(all.size(), 18u);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](PPropInfo A, PPropInfo B) {
        return AnsiCompareText(A->Name, B->Name) < 0;
    }));
    EXPECT_TRUE(GetPropList(TOtherObject::StaticClass()).empty());
}

TEST(PropertyTables, LookupByNameKindAndClass) {
    EXPECT_TRUE(IsPublishedProp(TAllKinds::StaticClass(), "FONT"));
    EXPECT_FALSE(IsPublishedProp(TComponent::StaticClass(), "Font"));
    EXPECT_EQ(GetPropInfo(TAllKinds::StaticClass(), "Font", TTypeKinds{tkLString}), nullptr);
    TAllKinds bag(nullptr);
    EXPECT_TRUE(PropIsType(&bag, "Big", tkInt64));
    EXPECT_EQ(PropType(&bag, "Code"), tkString);
    EXPECT_EQ(PropType(&bag, "OnChange"), tkMethod);
    EXPECT_THROW(PropType(&bag, "Nothing"), EPropertyError);
}

TEST(PropertyTables, TypeNamesAndRanges) {
    auto type = [](const char* Name) {
        return GetPropInfo(TAllKinds::StaticClass(), Name)->PropType;
    };
    EXPECT_EQ(type("Caption")->Name, "TCaption");
    EXPECT_EQ(type("Caption")->Kind, tkLString);
    EXPECT_EQ(type("Name")->Name, "TComponentName");
    EXPECT_EQ(type("Count")->Name, "Integer");
    EXPECT_EQ(type("Cursor")->Name, "TCursor");
    EXPECT_EQ(type("Cursor")->MaxValue, 65535);
    EXPECT_EQ(type("Ratio")->Kind, tkFloat);
    EXPECT_EQ(type("Letter")->Kind, tkChar);
    EXPECT_EQ(type("WideLetter")->Kind, tkWChar);
    EXPECT_EQ(type("Active")->Name, "Boolean");
    EXPECT_EQ(type("Font")->Name, "TFontLike");
    EXPECT_EQ(type("OnChange")->Name, "TNotifyEvent");
    EXPECT_EQ(type("Shades")->Name, "TShades");
    EXPECT_EQ(type("Shades")->CompType, TypeInfo<TShade>());
    EXPECT_EQ(TypeInfo<TShades>()->Name, "set of TShade");
}

TEST(PropertyTables, DefaultsAndStoredRules) {
    TAllKinds bag(nullptr);
    auto info = [&bag](const char* Name) { return GetPropInfo(&bag, Name); };
    EXPECT_EQ(info("Tag")->Default, 0);
    EXPECT_EQ(info("Active")->Default, 0);
    EXPECT_EQ(info("Shade")->Default, shGreen);
    EXPECT_EQ(info("Shades")->Default, 1);
    EXPECT_FALSE(info("Letter")->Default.has_value());
    EXPECT_FALSE(info("Caption")->Default.has_value());

    EXPECT_FALSE(IsStoredProp(&bag, info("Name")));
    EXPECT_TRUE(IsStoredProp(&bag, info("Count")));
    EXPECT_FALSE(IsStoredProp(&bag, info("Caption")));
    bag.SetCaption("x");
    EXPECT_TRUE(IsStoredProp(&bag, info("Caption")));
}

TEST(PropertyTables, DefaultsOnlyForOrdinalProperties) {
    EXPECT_THROW(GetPropList(TBadDefault::StaticClass()), EPropertyError);
}

TEST(EnumerationNames, ValuesNamesAndBounds) {
    PTypeInfo shade = TypeInfo<TShade>();
    EXPECT_EQ(shade->Name, "TShade");
    EXPECT_EQ(shade->MinValue, 0);
    EXPECT_EQ(shade->MaxValue, 2);
    EXPECT_EQ(GetEnumName(shade, 2), "shBlue");
    EXPECT_EQ(GetEnumName(shade, 3), "");
    EXPECT_EQ(GetEnumName(shade, -1), "");
    EXPECT_EQ(GetEnumValue(shade, "shgreen"), 1);
    EXPECT_EQ(GetEnumValue(shade, "shPink"), -1);
    EXPECT_EQ(GetEnumValue(TypeInfo<bool>(), "TRUE"), 1);
    EXPECT_EQ(GetEnumName(TypeInfo<Integer>(), -12), "-12");
}

TEST(EnumerationNames, TypeKindsHaveThePlatformOrderAndNames) {
    PTypeInfo kinds = TypeInfo<TTypeKind>();
    EXPECT_EQ(kinds->MaxValue, 17);
    EXPECT_EQ(GetEnumName(kinds, 0), "tkUnknown");
    EXPECT_EQ(GetEnumName(kinds, 8), "tkMethod");
    EXPECT_EQ(GetEnumName(kinds, tkLString), "tkLString");
    EXPECT_EQ(GetEnumName(kinds, 17), "tkDynArray");
    for (Integer kind = 0; kind <= 17; ++kind)
        EXPECT_EQ(GetEnumValue(kinds, GetEnumName(kinds, kind)), kind);
    EXPECT_FALSE(tkProperties.Contains(tkMethod));
    EXPECT_FALSE(tkProperties.Contains(tkUnknown));
    EXPECT_TRUE(tkProperties.Contains(tkInt64));
}

} // namespace
