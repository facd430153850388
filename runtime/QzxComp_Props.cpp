// Small members of the translation component that the larger operations lean
// on: properties by name, switching locale translation on, emptying the
// lists, and the dispatcher's test-mode settings.
#include "runtime/QzxComp.h"

namespace {

// The character set of a component whose font cannot be read.
constexpr TFontCharSet NoFontCharset = ISO8859_1_CHARSET;

PPropInfo PublishedProperty(TObject* Obj, const AnsiString& Name) {
    return Obj ? GetPropInfo(Obj, Name, tkProperties) : nullptr;
}

// The font an object's "Font" property holds; a property of that name that
// holds no object gives none.
TFont* ObjectFont(TObject* Obj) {
    PPropInfo info = PublishedProperty(Obj, "Font");
    if (!info || info->PropType->Kind != tkClass)
        return nullptr;
    return dynamic_cast<TFont*>(GetObjectProp(Obj, info));
}

} // namespace

bool TzxCustomLang::ObjectHasProperty(TObject* Obj, const AnsiString& Name,
                                      const AnsiString& TypeName, const TTypeKinds& Kinds) {
    if (!Obj)
        return false;
    PPropInfo info = GetPropInfo(Obj, Name, Kinds);
    return info && (TypeName.empty() || SameText(info->PropType->Name, TypeName));
}

TFontCharSet TzxCustomLang::GetObjectFontCharset(TObject* Obj) {
    TFont* font = ObjectFont(Obj);
    return font ? font->Charset() : NoFontCharset;
}

TFontName TzxCustomLang::GetObjectFontName(TObject* Obj) {
    TFont* font = ObjectFont(Obj);
    return font ? font->Name() : TFontName();
}

AnsiString TzxCustomLang::GetObjectStrProperty(TObject* Obj, const AnsiString& Name) {
    PPropInfo info = PublishedProperty(Obj, Name);
    return info ? GetStrProp(Obj, info) : AnsiString();
}

void TzxCustomLang::SetObjectStrProperty(TObject* Obj, const AnsiString& Name,
                                         const AnsiString& Value) {
    if (PPropInfo info = PublishedProperty(Obj, Name))
        SetStrProp(Obj, info, Value);
}

void TzxCustomLang::ClearTranslations() {
    ForEachKeptList([](TStringsType, TStrings& List) { List.Clear(); });
    if (!IsDesigning())
        UpdateStrCollections();
}

void TzxCustomLang::SetChangeLocales(bool Value) {
    if (Value == FChangeLocales)
        return;
    FChangeLocales = Value;
    if (!Value || FLocales->Count() > 0)
        return;
    const AnsiString delim(1, Delim());
    for (std::size_t index = 0; index < LocaleKeys.size(); ++index)
        FLocales->Add(LocaleKeys[index] + delim + FLocaleSnapshot[index] + delim);
}

void TTestModeInfo::PublishedProperties(TPropertyBuilder<TTestModeInfo>& P) {
    P.Property("Active", &TTestModeInfo::Active).Default(false);
    P.Property("Kind", &TTestModeInfo::Kind).Default(tmkExpandWidth);
    P.Property("ExpandWidthPercent", &TTestModeInfo::ExpandWidthPercent).Default(100);
    P.Property("ExpandCharsPercent", &TTestModeInfo::ExpandCharsPercent).Default(100);
    P.Property("PaddingChar", &TTestModeInfo::PaddingChar).Default('*');
}
