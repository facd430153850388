// The translation component's own steps: what its source files share and
// nothing outside the runtime library sees. Each step works on the
// component it is given.
#pragma once

#include "runtime/QzxComp.h"

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class TMemIniFile;

// The errors of the language setters: a language number outside 1..Count,
// a language count below 1, a language name missing from the names.
ELanguageError InvalidActiveLanguage(Integer Value, Integer Count);
ELanguageError InvalidNumOfLanguages(Integer Value);
ELanguageError LanguageNotListed();
// Refuses a list of more language names than a component holds languages.
void CheckLanguageNameCount(Integer Count);

// A locale setting of the platform as the Locales list holds it: its key,
// its text now, and the writing of a text into it.
struct TLocaleSetting {
    const char* Key;
    AnsiString (*Read)();
    void (*Write)(const AnsiString& Value);
};
// In the order of the locale snapshot and of LocaleKeys.
extern const std::array<TLocaleSetting, LocaleSettingCount> LocaleSettings;

// The property each kind collects and applies, where it names one.
extern const std::array<AnsiString, StringsTypeCount> KindPropertyNames;
// Properties that OtherStrings leaves to their own kinds.
extern const std::array<AnsiString, 3> HookedProps;
// The string property kinds.
extern const TTypeKinds tkStrings;

// Small helpers the engine's source files share.
AnsiString TextBefore(const AnsiString& S, char Ch);
AnsiString TextAfter(const AnsiString& S, char Ch);
// The object a published class-typed property holds, or nullptr.
TObject* ObjectPropertyOf(TObject* Instance, const AnsiString& Name);
// Whether the published "Action" property holds an action.
bool HasAssignedAction(TObject* Target);
// Whether the published "ParentFont" property is True.
bool IsParentFont(TObject* Target);

class TzxCustomLang::TEngine {
public:
    static void TakeLocaleSnapshot(TzxCustomLang& L);
    // BuildStringByOne in the lists' own encoding.
    static AnsiString ValuesOfOne(const TzxCustomLang& L, const AnsiString& Value, Integer Index);
    // GetStringValue in the lists' own encoding.
    static AnsiString StringValue(const TzxCustomLang& L, TStrings& List, const AnsiString& Key,
                                  Integer Language);
    static void ReplaceInAllLists(TzxCustomLang& L, char OldChar, char NewChar);
    static void ChangeLangDelim(TzxCustomLang& L, Byte OldDelim, Byte NewDelim);
    static bool DataHoldsChar(const TzxCustomLang& L, char Ch);
    static void CutLinesToLanguages(TzxCustomLang& L, Integer Count);
    static void RelinkExtendedItems(TzxCustomLang& L);
    // Value Language of an item's Values, read positionally.
    static AnsiString ExtendedValue(const TzxCustomLang& L, const TzxExtendedItem& Item,
                                    Integer Language);
    // An item's Values with one value per language, Text in place of value
    // Replaced (0: none replaced).
    static AnsiString RebuiltValues(const TzxCustomLang& L, const TzxExtendedItem& Item,
                                    Integer Replaced, const AnsiString& Text);
    // Gives every item exactly one value per language.
    static void FitExtendedToLanguages(TzxCustomLang& L);
    static bool HasOldDelimiter(const TzxCustomLang& L);
    static void AddMissingLocaleNames(TzxCustomLang& L);

    // Applying (QzxComp_Apply.cpp)
    static bool IsSmartExcluded(const TzxCustomLang& L, const AnsiString& Entry);
    static void ApplyOwnerCaptionAndHint(TzxCustomLang& L, bool TestMode);
    static void ApplyOwnerFont(TzxCustomLang& L);
    // Upper-cased CharSets key to the active language's character-set name,
    // the first line of a key winning as in GetStringValue: built once per
    // pass over the Fonts list, so each font line finds its set directly.
    using TCharSetIndex = std::unordered_map<AnsiString, AnsiString>;
    static TCharSetIndex CharSetIndex(const TzxCustomLang& L);
    static void TranslateList(TzxCustomLang& L, TStrings& List, TStringsType Kind, bool TestMode);
    // Known, when given, is the component the line's key names.
    static void TranslateLine(TzxCustomLang& L, const AnsiString& Line, TStringsType Kind,
                              bool TestMode, const TCharSetIndex& CharSets, TComponent* Known);
    static void TranslateCollections(TzxCustomLang& L, TStrings& List, bool TestMode);
    static void ApplyFontLine(TComponent* Target, PPropInfo Prop, const AnsiString& Name,
                              const AnsiString& Value, const TCharSetIndex& CharSets);
    // Found, when given, receives for each line kept the component its key
    // names, or nil where the sweep looked up no single component.
    static void DelOldNames(TzxCustomLang& L, TStrings& List, TStringsType Kind,
                            std::vector<TComponent*>* Found = nullptr);
    // Message boxes (QzxComp_Dialogs.cpp)
    static TMsgDlgTexts TranslatedDlgTexts(const TzxCustomLang& L);
    static AnsiString TranslatedDlgText(const TzxCustomLang& L, Integer Entry);
    static Integer ShowMessageBox(TzxCustomLang& L, const WideString& Caption,
                                  const WideString& Msg, TMsgDlgType DlgType,
                                  const std::vector<TMsgDlgBtn>& Buttons, Integer X, Integer Y,
                                  TMsgDlgBtn DefaultButton, TBitmap* Bitmap);

    static void RememberRemovedLine(TzxCustomLang& L, const AnsiString& Line);

    // Files and string identifiers (QzxComp_Files.cpp)
    static void PutInStringTable(TzxCustomLang& L, const WideString& ID, const AnsiString& Line);
    static void WriteToFile(TzxCustomLang& L, const WideString& FileName,
                            const std::function<bool(TStream& Text)>& WriteText);
    static Integer LoadKindFromBinaryFile(TzxCustomLang& L, TStringsType Kind,
                                          const WideString& FileName);
    static void LoadBinaryEntry(TzxCustomLang& L, const AnsiString& FileName);
    static void LoadBinaryStreamEntry(TzxCustomLang& L, TStream& Stream);

    // Text translation files (QzxComp_ZxlFile.cpp)
    struct TExtendedEntry {
        AnsiString Identifier;
        AnsiString Values;
        TTypeKind PropertyType;
    };
    struct TLanguageColumn {
        std::unique_ptr<TMemIniFile> Ini;
        AnsiString FileDelim;
        Integer FileColumn = 0;
        Integer Language = 0;
    };
    static AnsiString OwnerClassName(const TzxCustomLang& L);
    static AnsiString UpperKeyOf(const TzxCustomLang& L, const AnsiString& Line);
    static void WriteLanguageNames(const TzxCustomLang& L, TMemIniFile& Ini);
    // A text file being written: its ini and the entries written into it.
    struct TTextWrite;
    static void WriteFileOptions(const TzxCustomLang& L, TMemIniFile& Ini, const AnsiString& Delim);
    static void WriteKind(const TzxCustomLang& L, TStringsType Kind, const TStrings& List,
                          TTextWrite& Text, const AnsiString& Delim);
    static void DeleteOlderFormKeys(const TzxCustomLang& L, TTextWrite& Text,
                                    const AnsiString& Section);
    static void WriteExtended(const TzxCustomLang& L, TTextWrite& Text, const AnsiString& Delim);
    // Every kind the class keeps, and the extended translations when there
    // are any or WithEmptyExtended; false when nothing was written.
    static bool WriteAll(const TzxCustomLang& L, TTextWrite& Text, const AnsiString& Delim,
                         bool WithEmptyExtended);
    // Write's entries merged into Ini; false when Write wrote nothing.
    static bool MergeWrites(TMemIniFile& Ini, const std::function<bool(TTextWrite&)>& Write);
    static void RewriteText(TStream& Stream, const std::function<bool(TTextWrite&)>& Write);
    // Every component's lists into the text file, read once and replaced
    // once; a component that raises leaves the file as it was.
    static void SaveAllToTextFile(const std::vector<TzxCustomLang*>& Langs,
                                  const WideString& FileName, const WideString& Delim);
    // The file's text, checked, in a fresh ini engine.
    static std::unique_ptr<TMemIniFile> ParseTranslationFile(const WideString& FileName);
    static void LoadAllKindsFromIni(TzxCustomLang& L, TMemIniFile& Ini, bool ClearFirst);
    static bool ReadLanguageNames(const TzxCustomLang& L, TMemIniFile& Ini, TStringList& Names,
                                  TStringList& Fixed);
    static std::optional<AnsiString> LineOfEntry(const TzxCustomLang& L, TStringsType Kind,
                                                 const AnsiString& Key, const AnsiString& Value,
                                                 const AnsiString& FileDelim, bool& OwnersLine);
    static void LoadKindFromIni(TzxCustomLang& L, TStringsType Kind, TMemIniFile& Ini,
                                bool ClearFirst);
    static void LoadAllKindsFromStream(TzxCustomLang& L, TStream& Stream, bool ClearFirst);
    static std::vector<TExtendedEntry> ExtendedEntries(const TzxCustomLang& L, TMemIniFile& Ini);
    static void LoadExtendedFromIni(TzxCustomLang& L, TMemIniFile& Ini, bool ClearFirst);
    static void FinishSingleLoad(TzxCustomLang& L, TStringsType Kind, TStrings& List);
    static bool MergeKind(TzxCustomLang& L, TStringsType Kind,
                          const std::function<Integer()>& LoadKind);
    static void KeepLinesTheFileLacks(const TzxCustomLang& L, TStrings& List,
                                      const TStrings& Backup);
    static bool MergeAllKinds(TzxCustomLang& L,
                              const std::function<bool(TStringsType)>& MergeOneKind);
    static std::optional<TLanguageColumn>
    FindLanguageColumn(TzxCustomLang& L, const WideString& FileName, const WideString& LangName);

    // Collecting (QzxComp_Collect.cpp)
    enum class TCollected { Kept, Added, Restored };
    static TCollected CollectText(TzxCustomLang& L, TStrings& List, const AnsiString& Key,
                                  const AnsiString& Text, bool MayAdd, AnsiString& RestoredFrom);
    static void CollectText(TzxCustomLang& L, TStrings& List, const AnsiString& Key,
                            const AnsiString& Text);
    static Integer IndexOfKey(const TzxCustomLang& L, const TStrings& List, const AnsiString& Key);
    static std::optional<AnsiString> UpperKeyOfLine(const TzxCustomLang& L, const AnsiString& Line);
    static Integer RestorableLine(const TzxCustomLang& L, const AnsiString& Key,
                                  const AnsiString& Text);
    static Integer OwnLineIndex(TzxCustomLang& L, TStrings& List, const AnsiString& OwnText);
    static bool MoveOwnLineFirst(TzxCustomLang& L, TStrings& List, const AnsiString& OwnText);
    static void PutOwnLine(TzxCustomLang& L, TStrings& List, const AnsiString& Text);
    static void CollectOwnerText(TzxCustomLang& L, TStringsType Kind);
    static void CollectOwnerFont(TzxCustomLang& L);
    static void CollectKinds(TzxCustomLang& L);
    static void CollectComponents(TzxCustomLang& L, TStringsType Kind);
    static void CollectProperty(TzxCustomLang& L, TStrings& List, TComponent* Component,
                                PPropInfo Prop, TStringsType Kind);
    static void CollectFont(TzxCustomLang& L, TStrings& List, const AnsiString& Name, TFont& Font);
    static void AddCharSetLine(TzxCustomLang& L, const AnsiString& Name,
                               const AnsiString& CharSetName, const AnsiString& RestoredFrom);
    static void CollectOtherStrings(TzxCustomLang& L, TStrings& List, TObject* Object,
                                    const AnsiString& Name);
    static void CollectPropertiesStrings(TzxCustomLang& L, TStrings& List);
    static void CollectCollections(TzxCustomLang& L, TStrings& List);
    static void CollectCollection(TzxCustomLang& L, TStrings& List, const AnsiString& Name,
                                  const AnsiString& Path, TCollection& Collection);
    static void CollectItemObject(TzxCustomLang& L, TStrings& List, const AnsiString& Name,
                                  const AnsiString& ItemKey, const AnsiString& PropName,
                                  TObject* Object);
    static void CheckRemovedProps(TzxCustomLang& L, TStrings& List, TStringsType Kind);
    static bool IsExcludedLine(const TzxCustomLang& L, TStringsType Kind, const AnsiString& Key);

    // Form-file property (QzxComp_FormData.cpp)
    static bool TranslationDataDiffers(const TzxCustomLang& L, const TzxCustomLang& Ancestor);

    // Strings by identifier (QzxComp_GetText.cpp)
    // Whether List is this component's list of a kind whose lookups go to
    // the dispatcher's components; Kind receives the kind.
    static bool DelegatesList(const TzxCustomLang& L, const TStrings& List, bool WithStrings,
                              TStringsType& Kind);
    // The first linked component's non-empty list of Kind, or nullptr when
    // none has lines or the first one with lines is this component.
    static TStrings* DelegatedList(const TzxCustomLang& L, TStringsType Kind);
    static WideString TableLookup(const TzxCustomLang& L, const WideString& ID, bool UseDefault);
    static WideString TextLookup(const TzxCustomLang& L, const TStrings& List, const WideString& ID,
                                 bool UseDefault);

    // Value ActiveLanguage of a translation line, by the rules of
    // TranslatedValue.
    static AnsiString LineValue(const TzxCustomLang& L, const AnsiString& Line, bool TestMode,
                                bool UseDefault);
    // Value ActiveLanguage, ValueOf(k) giving value k; in test mode an empty
    // value shows value 1 upper-cased, and with UseDefault an empty value
    // falls back to value 1.
    template <typename ValueOf>
    static auto TranslatedValue(const TzxCustomLang& L, ValueOf valueOf, bool TestMode,
                                bool UseDefault) {
        auto value = valueOf(L.FActiveLanguage);
        if (value.empty() && TestMode && L.FActiveLanguage > 1)
            value = UpperCased(valueOf(1));
        if (value.empty() && UseDefault)
            value = valueOf(1);
        return value;
    }

private:
    static AnsiString UpperCased(const AnsiString& S) { return AnsiUpperCase(S); }
    static WideString UpperCased(const WideString& S) { return WideUpperCase(S); }
};
