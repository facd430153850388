// The translation engine: the translation component and the text and
// property routines it and the tools use everywhere.
#pragma once

#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

// ---------------------------------------------------------------------------
// Kinds of translatable text, in the order every per-kind loop follows.

ZX_ENUM(TStringsType, stCaptions, stHints, stDisplayLabels, stFonts, stMultiLines, stDlgsCaptions,
        stStrings, stOtherStrings, stLocales, stCollections, stCharSets, stListView_TreeView_Items);
using TStringsTypes = TSet<TStringsType>;
inline constexpr Integer StringsTypeCount = 12;

// Section names of the kinds in text translation files.
extern const std::array<WideString, StringsTypeCount> IniNames;

// Whether a file name means the binary translation format: its extension,
// upper-cased, is ".ZXB".
bool zxIsBinaryFile(const AnsiString& FileName);

// ---------------------------------------------------------------------------
// Text and property routines

// Position (1-based) of the first character of word N of S, where words are
// runs of characters outside WordDelims and a run of delimiters is one
// separator; the length of S when S has fewer than N words.
Integer WordPosition(Integer N, const AnsiString& S, const TSysCharSet& WordDelims);
// Word N of S under the same rule, or an empty string.
AnsiString ExtractWord(Integer N, const AnsiString& S, const TSysCharSet& WordDelims);
// Result := word 2 of S with D as the only delimiter, upper-cased; Result
// stays as it was when S has no word 2.
void ExtractUpperWord2(const AnsiString& S, char D, AnsiString& Result);
Integer CountDelimChars(const AnsiString& S, const TSysCharSet& Delims);
// S with Old replaced by New, found whatever its case; only the first
// occurrence unless ReplaceAll.
WideString ReplaceStr(const WideString& S, const WideString& Old, const WideString& New,
                      bool ReplaceAll);
AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Old, const AnsiString& New,
                      bool ReplaceAll);
// Index of the first entry equal to S ignoring case (AnsiCompareText), or -1.
Integer AnsiIndexText(const AnsiString& S, std::initializer_list<AnsiString> Values);

// Append the value names of the property's enumeration (or of its set's
// element type), from the lowest value to the highest.
void GetEnumMembers(PPropInfo PropInfo, TStrings& List);
void GetSetMembers(PPropInfo PropInfo, TStrings& List);
// Overwrites Target's lines in place by the lines of the comma text Value,
// so that the objects attached to them stay; lines are added or deleted at
// the end.
void UpdateStringsFromCommaText(TStrings& Target, const AnsiString& Value);
// Clears List and adds the section names of the kinds, in kind order.
void GetIniNames(TStrings& List);

void zxSetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value);
TObject* zxGetObjectProp(TObject* Instance, PPropInfo PropInfo);

// Layout-testing transformations: upper case <-> lower case for every
// character; S with Percent per cent more characters, FillChar spread evenly
// after its characters.
AnsiString zxFlipCase(const AnsiString& S);
AnsiString zxExpandStringByChars(const AnsiString& S, double Percent, char FillChar);

// The tabular Islamic calendar.
TDateTime Hijri2Gregorian(Integer Day, Integer Month, Integer Year);
void Gregorian2Hijri(TDateTime Date, Integer& Day, Integer& Month, Integer& Year);

// The published properties of an object whose kind lies in a set, sorted by
// name.
class TzxPropInfoList : public TObject {
    ZX_CLASS(TzxPropInfoList, TObject)
public:
    TzxPropInfoList(TObject* AObject, const TTypeKinds& Filter);

    // An entry with P's type and P's name (ignoring case).
    bool Contains(PPropInfo P) const;
    // The first entry of that name ignoring case, or nullptr.
    PPropInfo Find(const WideString& AName) const;
    void Delete(Integer Index);
    PPropInfo Get(Integer Index) const { return FList[static_cast<std::size_t>(Index)]; }
    Integer Count() const { return static_cast<Integer>(FList.size()); }
    // Keeps only the entries that List contains too.
    void Intersect(const TzxPropInfoList& List);

private:
    TPropList FList;
};

// ---------------------------------------------------------------------------
// The translation component

#include "clx/Controls.h"
#include "clx/Dialogs.h"
#include "rtl/Collections.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class TzxCustomLang;
class TMemIniFile;
class TZXBFileManager;

// The buttons a translated message box offers for a button set, in the
// order Yes, No, OK, Cancel, Abort, Retry, Ignore: so Yes-No-Cancel, Yes-No,
// OK-Cancel and Abort-Retry-Ignore, and any other set its own buttons; an
// empty set offers OK. EInvalidOperation for a set of all eight values.
std::vector<TMsgDlgBtn> zxMsgDlgButtons(const TMsgDlgButtons& Buttons);
// The translated message box: the caption by dialog type from Texts
// (Caption for mtCustom), the buttons in the order given (mbNone: no
// button), each captioned from Texts and returning its own code; the
// default is the first button equal to DefaultButton, none when no button
// is. A confirmation with an Icon shows the picture alone.
TMessageBoxRequest zxMessageBoxRequest(const AnsiString& Caption, const AnsiString& Msg,
                                       TMsgDlgType DlgType, const std::vector<TMsgDlgBtn>& Buttons,
                                       TMsgDlgBtn DefaultButton, const TGraphic* Icon,
                                       const TMsgDlgTexts& Texts);

// The exception class of the translation components.
class ELanguageError : public Exception {
    using Exception::Exception;
};

// The errors of the language setters: a language number outside 1..Count,
// a language count below 1, a language name missing from the names.
ELanguageError InvalidActiveLanguage(Integer Value, Integer Count);
ELanguageError InvalidNumOfLanguages(Integer Value);
ELanguageError LanguageNotListed();

ZX_ENUM(TTranslateType, ttNoChange, ttGetDefault);
ZX_ENUM(TzxLangOption, loUseExtUDStrings, loUseExtCommonStrings);
using TzxLangOptions = TSet<TzxLangOption>;
ZX_ENUM(TTextStyle, tsNone, tsRaised, tsRecessed, tsShadow);

// Positional reading of a translation line: field 0 is the key, field k the
// value of language k -- the text between the k-th and the (k+1)-th Delim
// (to the end of the line when the line lacks that delimiter); empty
// when the line has fewer than k delimiters. An empty value keeps its place.
AnsiString GetLineField(const AnsiString& Line, Integer Index, char Delim);

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

// Translation lines in line-based stores (the form-file property, ini text).
// A line break inside a line has always travelled as the characters 25 26.
// A line that needs more -- a carriage return, the character 25 itself, a
// leading ";" or "[", or a text equal to a kind's header name ("stCaptions",
// any case) -- travels escaped: 25 26 line feed, 25 'r' carriage return,
// 25 25 the character 25, and a leading 25 '-' that reads as nothing.
bool TranslationLineNeedsEscape(const AnsiString& Line);
AnsiString EscapeTranslationLine(const AnsiString& Line);
// Reverses EscapeTranslationLine; an unknown pair after 25 stays as it is.
AnsiString UnescapeTranslationLine(const AnsiString& Line);
// Whether Line names a kind ("stCaptions" .. "stListView_TreeView_Items",
// case ignored); Kind receives it.
bool IsKindHeader(const AnsiString& Line, TStringsType& Kind);

// Keys of the Locales list, in the order of the locale snapshot.
inline constexpr Integer LocaleSettingCount = 15;
extern const std::array<AnsiString, LocaleSettingCount> LocaleKeys;

// One translation of any published property, addressed by a dotted path
// whose first element names a component of the owner form.
class TzxExtendedItem : public TCollectionItem {
    ZX_CLASS(TzxExtendedItem, TCollectionItem)
public:
    explicit TzxExtendedItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static void PublishedProperties(TPropertyBuilder<TzxExtendedItem>& P);

    // The path, following renames of the component it names.
    AnsiString GetIdentifier() const;
    void SetIdentifier(const AnsiString& Value) { FIdentifier = Value; }
    const AnsiString& Values() const { return FValues; }
    void SetValues(const AnsiString& Value) { FValues = Value; }
    TTypeKind PropertyType() const { return FPropertyType; }
    void SetPropertyType(TTypeKind Value) { FPropertyType = Value; }
    bool IsRoot() const { return false; }
    TComponent* RelComponent() const { return FRelComponent; }
    void SetRelComponent(TComponent* Value) { FRelComponent = Value; }
    AnsiString GetDisplayName() const override;

    // Values travel in form files as the binary property "ValuesEx", so
    // that the delimiter characters reach the file unchanged.
    void DefineProperties(TFiler* Filer) override;
    void ReadValues(TStream& Stream);
    void WriteValues(TStream& Stream) const;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    bool ValuesHaveData(const TFiler& Filer) const;

    AnsiString FIdentifier;
    AnsiString FValues;
    TTypeKind FPropertyType = tkUnknown;
    TComponent* FRelComponent = nullptr;
};

class TzxExtendedItems : public TCollection {
    ZX_CLASS(TzxExtendedItems, TCollection)
public:
    explicit TzxExtendedItems(TzxCustomLang* AOwner);
    TPersistent* GetOwner() const override;
    TzxExtendedItem* Items(Integer Index) const;
    // Assigns Value to the item at Index.
    void SetItems(Integer Index, const TzxExtendedItem* Value) { SetItem(Index, Value); }
    TzxExtendedItem* Add();
    // The first item whose Identifier equals Identifier ignoring case, or
    // nullptr.
    TzxExtendedItem* Find(const AnsiString& Identifier) const;

private:
    TzxCustomLang* FOwner;
};

// Compares two collection items: below zero, zero or above zero.
using TzxItemSortCompare = std::function<Integer(TCollectionItem* Item1, TCollectionItem* Item2)>;

// A collection that sorts its items in place.
class TzxSortCollection : public TCollection {
    ZX_CLASS(TzxSortCollection, TCollection)
public:
    explicit TzxSortCollection(TClass AItemClass) : TCollection(AItemClass) {}
    // Sorts the items L..R (quicksort, the middle item as pivot).
    virtual void QuickSort(Integer L, Integer R, const TzxItemSortCompare& Compare);
    void Sort(const TzxItemSortCompare& Compare);
};

// One string identifier with its text per language (line k - 1: language k).
class TzxStringsCollectionItem : public TCollectionItem {
    ZX_CLASS(TzxStringsCollectionItem, TCollectionItem)
public:
    explicit TzxStringsCollectionItem(TCollection* ACollection);
    TStringList* Values() { return &FValues; }
    const TStringList* Values() const { return &FValues; }
    // Takes a copy of the lines of Value.
    void SetValues(const TStrings* Value) { FValues.Assign(Value); }
    const WideString& ID() const { return FID; }
    void SetID(const WideString& Value);
    // ID case-folded once, so that searches compare it directly.
    const WideString& FoldedID() const { return FFoldedID; }
    // The text of language LangIndex; empty beyond the item's languages.
    AnsiString Text(Integer LangIndex) const;

private:
    TStringList FValues;
    WideString FID;
    WideString FFoldedID;
};

// What the identifier index of a string table keeps per identifier: the
// item its binary search finds and that item's texts, decoded.
struct TzxIndexedStrings {
    Integer Index;
    std::vector<WideString> Texts;
    // Language LangIndex's text; empty beyond the item's languages.
    const WideString& Text(Integer LangIndex) const;
};

// A string table: one item per string identifier, ordered by identifier
// (SortLanguage 0) or by the text of language SortLanguage, and searched by
// binary search in that order.
class TzxStringsCollection : public TzxSortCollection {
    ZX_CLASS(TzxStringsCollection, TzxSortCollection)
public:
    TzxStringsCollection(TClass AItemClass, TComponent* AOwner);
    TPersistent* GetOwner() const override { return FOwner; }
    TzxStringsCollectionItem* Items(Integer Index) const;
    void SetItems(Integer Index, const TzxStringsCollectionItem* Value) { SetItem(Index, Value); }
    TzxStringsCollectionItem* Add();

    Integer SortLanguage() const { return FSortLanguage; }
    void SetSortLanguage(Integer Value) { FSortLanguage = Value; }
    // By identifier when SortLanguage is 0, else by that language's text.
    void Sort();
    Integer SortByID(TCollectionItem* Item1, TCollectionItem* Item2) const;
    Integer SortByLang(TCollectionItem* Item1, TCollectionItem* Item2) const;

    // Index of the first item with that identifier (case ignored), or -1.
    Integer GetIDIndex(const WideString& ID) const;
    // Index of an item with that identifier by binary search (the table
    // ordered by identifier), or -1.
    Integer FindID(const WideString& ID) const;
    // The same item with its decoded texts, or nullptr: the lookup of
    // program code's texts, answered from the identifier index.
    const TzxIndexedStrings* FindIndexed(const WideString& ID) const;
    // Language LangIndex of the identifier's item; empty when there is none.
    WideString GetTranslationByID(const WideString& ID, Integer LangIndex) const;
    // Language LangIndex of the item whose SortLanguage text is Text (the
    // table ordered by that language); Text itself when there is none. In
    // the owner's test mode an empty translation shows language 1 in upper
    // case.
    WideString GetTranslationByLang(const WideString& Text, Integer LangIndex) const;
    // The same, but empty when there is none and without the test-mode rule.
    WideString GetTranslationByLang2(const WideString& Text, Integer LangIndex) const;

protected:
    // Any change of the items or of their order makes the identifier index
    // stale.
    void Update(TCollectionItem* Item) override;

private:
    // Binary search with a neighbour check: CompareAt(M) gives the sign of
    // item M's key against the key looked for; -1 when no item's key equals it.
    template <typename CompareAt> Integer Search(CompareAt compareAt) const;
    Integer FindText(const WideString& Text) const;
    bool OwnerInTestMode() const;
    // The binary search for a folded identifier.
    Integer SearchID(const WideString& FoldedID) const;
    // Every folded identifier of the table with the answer of its binary
    // search: program code then finds its texts in one hashed step, with the
    // very answers the search gives. Rebuilt after any change.
    void IndexIDs() const;

    TComponent* FOwner;
    Integer FSortLanguage = 0;
    mutable std::unordered_map<WideString, TzxIndexedStrings> FIDIndex;
    mutable bool FIndexStale = true;
};

ZX_ENUM(TTestModeKind, tmkExpandWidth, tmkFlipCase, tmkExpandChars);

// The dispatcher's layout-testing settings: stored with the form, read by no
// operation of the runtime (test mode there is the dispatcher's TestMode).
class TTestModeInfo : public TPersistent {
    ZX_CLASS(TTestModeInfo, TPersistent)
public:
    static void PublishedProperties(TPropertyBuilder<TTestModeInfo>& P);

    bool Active = false;
    char PaddingChar = '*';
    Integer ExpandWidthPercent = 100;
    Integer ExpandCharsPercent = 100;
    TTestModeKind Kind = tmkExpandWidth;
};

// Fired after a translation component linked itself to a dispatcher at run
// time.
using TLinkToDispatcherEvent = TEvent<void(TObject* Sender, TzxCustomLang* AZxLang)>;

// One active language, one list of language names and one translation file
// for many translation components, which link to it through their
// LangDispatcher. It holds no translations itself: it pushes its languages
// to every linked component and, at run time, makes each component load its
// translations from FileName when it links.
//
// A component and its dispatcher may live on different forms: each asks the
// other for a free notification, so freeing either one first unlinks them.
//
// A translation file decides the languages: after a component read one,
// the dispatcher takes the languages the file gave it and every linked
// component follows, so that none is left with another count or names, or
// with an active language beyond its count (the first language takes over).
class TzxLangDispatcher : public TComponent {
    ZX_CLASS(TzxLangDispatcher, TComponent)
public:
    explicit TzxLangDispatcher(TComponent* AOwner);
    // Unlinks every component first.
    ~TzxLangDispatcher() override;
    static void PublishedProperties(TPropertyBuilder<TzxLangDispatcher>& P);

    // --- Languages, numbered from 1. Outside loading the setters refuse a
    // number outside 1..NumOfLanguages (a count below 1) with
    // ELanguageError before anything changes; while the form file is read
    // the values are only stored, and Loaded puts an active language out of
    // range back to the first.
    Integer ActiveLanguage() const { return FActiveLanguage; }
    void SetActiveLanguage(Integer Value);
    Integer NumOfLanguages() const { return FNumOfLanguages; }
    void SetNumOfLanguages(Integer Value);
    TStrings* LangNames() const { return FLangNames.get(); }
    void SetLangNames(TStrings* Value);
    const WideString& Language() const { return FLanguage; }
    void SetLanguage(const WideString& Value);
    // Read only when a component links or by LoadAllFromFile.
    const AnsiString& FileName() const { return FFileName; }
    void SetFileName(const AnsiString& Value) { FFileName = Value; }
    const TLinkToDispatcherEvent& OnLinkToDispatcher() const { return FOnLinkToDispatcher; }
    void SetOnLinkToDispatcher(const TLinkToDispatcherEvent& Value) { FOnLinkToDispatcher = Value; }

    // Consulted by the components when they apply a language; the other
    // test settings are only stored.
    TTestModeInfo* TestModeInfo() const { return FTestModeInfo.get(); }
    bool TestMode() const { return FTestMode; }
    void SetTestMode(bool Value) { FTestMode = Value; }
    Integer TestPercentage() const { return FTestPercentage; }
    void SetTestPercentage(Integer Value) { FTestPercentage = Value; }

    // Links Lang (once, at the end of the list) and gives it the
    // dispatcher's languages. At design time that is all; at run time Lang
    // reads its translations from FileName when that exists (".ZXB" in any
    // case names the binary file) and shows the active language, then
    // OnLinkToDispatcher fires. A file Lang cannot read raises with Lang
    // linked, its translations as they were and the active language shown.
    void AddReference(TzxCustomLang* Lang);
    // Forgets Lang; nothing when it is not linked. Never raises.
    void RemovePossibleReference(TzxCustomLang* Lang) noexcept;
    // The linked components in the order they linked; EListError for a bad
    // index.
    TzxCustomLang* GetZxLangs(Integer Index) const;
    Integer GetZxLangsCount() const { return FLangs.Count(); }

    // --- The translation file of every linked component at once; ".ZXB"
    // (any case) names the binary file, every other name the text file.
    // Every component reads its translations first, then all take the
    // languages the file gave the first one and show the active language.
    // A missing file changes nothing; a damaged one raises before any
    // component changes.
    void LoadAllFromFile(const WideString& FileName);
    // Each component's form into the one file; a binary file is read and
    // written once, with every form's entry.
    void SaveAllToFile(const WideString& FileName, const WideString& Delim);
    void SaveAllToBinaryFile(const WideString& FileName);
    // A binary translation stream: each component reads its form's entry
    // from the stream's current position.
    void LoadAllFromStream(TStream& Stream);
    // The binary file reader kept once a component linked while FileName
    // named an existing ".ZXB" file, when FileName is that file (case
    // ignored); nullptr otherwise.
    TZXBFileManager* BinaryFileManagerFor(const AnsiString& FileName) const;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    void CheckActiveLanguage(Integer Value) const;
    void KeepActiveLanguageInRange();
    void ResizeLangNames(Integer Count);
    void TakeLanguageName();
    void ForEachLang(const std::function<void(TzxCustomLang&)>& Action) const;
    void GiveLanguages(TzxCustomLang& Lang);
    void LoadLinkingComponent(TzxCustomLang& Lang);
    void LoadInFirstLanguage(TzxCustomLang& Lang, const std::function<void(TzxCustomLang&)>& Load);
    void TakeLanguagesOf(const TzxCustomLang& Source);
    void LoadEveryComponent(const std::function<void(TzxCustomLang&)>& Load);
    void CheckEveryEntry(
        const std::function<void(TzxCustomLang& Scratch, const AnsiString& OwnerName)>& Read) const;
    void FinishLoadAll();

    TList FLangs;
    Integer FActiveLanguage = 1;
    Integer FNumOfLanguages = 1;
    WideString FLanguage;
    std::unique_ptr<TStringList> FLangNames;
    AnsiString FFileName;
    TLinkToDispatcherEvent FOnLinkToDispatcher;
    std::unique_ptr<TZXBFileManager> FBinaryFileManager;
    std::unique_ptr<TTestModeInfo> FTestModeInfo;
    bool FTestMode = false;
    Integer FTestPercentage = 0;
};

// The translation component: one translation line per translatable text of
// its owner form, kept in one list per kind, and the switch that writes a
// language's values back into the form.
class TzxCustomLang : public TComponent {
    ZX_CLASS(TzxCustomLang, TComponent)
public:
    // Raises Exception when AOwner already owns a translation component.
    explicit TzxCustomLang(TComponent* AOwner);
    ~TzxCustomLang() override;
    static void PublishedProperties(TPropertyBuilder<TzxCustomLang>& P);

    // --- The lists, one per kind; the setters copy the list given and
    // apply that kind alone.
    TStrings* Captions() const { return FCaptions.get(); }
    TStrings* Hints() const { return FHints.get(); }
    TStrings* DisplayLabels() const { return FDisplayLabels.get(); }
    TStrings* Strings() const { return FStrings.get(); }
    TStrings* Fonts() const { return FFonts.get(); }
    TStrings* MultiLines() const { return FMultiLines.get(); }
    TStrings* DlgsCaptions() const { return FDlgsCaptions.get(); }
    TStrings* OtherStrings() const { return FOtherStrings.get(); }
    TStrings* Locales() const { return FLocales.get(); }
    TStrings* CharSets() const { return FCharSets.get(); }
    TStrings* Collections() const { return FCollections.get(); }
    void SetCaptions(TStrings* Value);
    void SetHints(TStrings* Value);
    void SetLabels(TStrings* Value);
    void SetStrings(TStrings* Value);
    void SetFonts(TStrings* Value);
    void SetMultiLines(TStrings* Value);
    void SetDlgsCaptions(TStrings* Value);
    void SetOthers(TStrings* Value);
    void SetSystem(TStrings* Value);
    void SetCharSets(TStrings* Value);
    void SetCollections(TStrings* Value);

    // --- Languages, numbered from 1.
    Integer ActiveLanguage() const { return FActiveLanguage; }
    void SetActLang(Integer Value);
    Integer NumOfLanguages() const { return FNumOfLanguages; }
    void SetNumLang(Integer Value);
    const WideString& Language() const { return FLanguage; }
    void SetLanguage(const WideString& Value);
    TStrings* LangNames() const { return FLangNames.get(); }
    void SetLangNames(TStrings* Value);
    TStrings* FixedLanguages() const { return FFixedLanguages.get(); }
    void SetFixedLanguages(TStrings* Value);

    // --- Settings
    bool ChangeLocales() const { return FChangeLocales; }
    void SetChangeLocales(bool Value);
    TzxLangDispatcher* LangDispatcher() const { return FLangDispatcher; }
    void SetLangDispatcher(TzxLangDispatcher* Value);
    Byte LangDelim() const { return FLangDelim; }
    void SetLangDelim(Byte Value);
    TStrings* DoNotTranslate() const { return FDoNotTranslate.get(); }
    void SetDoNotList(TStrings* Value);
    const WideString& Version() const { return FVersion; }
    void SetVersion(const WideString& Value);
    TzxLangOptions Options() const { return FOptions; }
    void SetOptions(TzxLangOptions Value);
    TStrings* ExcludedProperties() const { return FExcludedProperties.get(); }
    void SetExProps(TStrings* Value);
    TStrings* StringsTypes() const { return FStringsTypes.get(); }
    void SetStringsTypes(TStrings* Value);
    TStrings* SmartExcludeProps() const { return FSmartExcludeProps.get(); }
    void SetSmartProps(TStrings* Value);
    TzxExtendedItems* ExtendedTranslations() const { return FExtendedTranslations.get(); }
    void SetExtendedTranslations(TzxExtendedItems* Value);

    TTranslateType TranslateType = ttNoChange;
    TCursor ChangingCursor = -1;
    bool DoRaiseExceptions = false;
    bool IsInheritedOwner = false;
    bool UseInheritedData = false;
    bool TranslateExtendedFirst = false;
    TNotifyEvent OnChangeLanguage;

    // --- Translation lines
    void FillDialogs();
    // Value Language of the first line keyed Key (case ignored); empty when
    // there is none.
    WideString GetStringValue(TStrings& List, const WideString& Key, Integer Language) const;
    // Replaces value Language of the first line keyed Key (and the text of
    // that identifier in the string tables when List is Strings).
    virtual void ReplaceStringValue(TStrings& List, const WideString& Value, const WideString& Key,
                                    Integer Language);
    // The list of a kind, nullptr when the class does not publish it.
    virtual TStrings* GetPropListByType(TStringsType Kind) const;
    // Visits the lists the class keeps, in kind order, with their kinds.
    template <typename Visit> void ForEachKeptList(Visit visit) const {
        for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
            if (TStrings* list = GetPropListByType(static_cast<TStringsType>(kind)))
                visit(static_cast<TStringsType>(kind), *list);
    }
    // The list whose kind name without "st" is Name, ignoring case.
    TStrings* GetPropListByName(const WideString& Name) const;

    // Deletes, at design time, the lines of List that belong to a removed
    // component.
    virtual void MakeNotification(TStrings& List, TComponent* AComponent, TOperation Operation,
                                  TStringsType Kind);
    // Renames the keys of a component (or of the owner) in every list.
    virtual void ComponentRenamed(const WideString& OldName, const WideString& NewName);

    // Writes the active language into the owner form and its components.
    virtual void ChangeLanguage();

    // --- Text translation files (".zxl"): one file serves many forms, each
    // form's keys beginning with its owner's class name. The readers treat
    // the text as untrusted and change nothing when it is malformed.
    // The number of lines written; -1 when the class keeps no list of Kind.
    virtual Integer SaveToStream(TStringsType Kind, TStream& Stream, const WideString& Delim);
    // The number of keys of the kind's section; -1 when the class keeps no
    // list of Kind or the text is malformed.
    virtual Integer LoadFromStream(TStringsType Kind, TStream& Stream, bool ClearFirst);
    virtual void LoadAllFromStream(TStream& Stream, bool ClearFirst);
    // This component's whole file, written at Stream's position.
    virtual void SaveAllToStream(TStream& Stream, const WideString& Delim);
    // The file's lines win; lines the file lacks are kept. False when the
    // class keeps no list of Kind or the text is malformed.
    virtual bool MergeFromStream(TStringsType Kind, TStream& Stream);
    virtual bool MergeAllFromStream(TStream& Stream);
    virtual bool MergeAllFromStreamDNC(TStream& Stream);
    void SaveExtendedToStream(TStream& Stream, const WideString& Delim);
    void LoadExtendedFromStream(TStream& Stream, bool ClearFirst);

    // --- Translation files by name: ".ZXB" (any case) names the binary
    // format, every other name the text format.
    virtual Integer LoadFromFile(TStringsType Kind, const WideString& FileName, bool ClearFirst);
    virtual void SaveToFile(TStringsType Kind, const WideString& FileName,
                            const WideString& Delim);
    virtual void LoadAllFromFile(const WideString& FileName, bool ClearFirst);
    virtual void SaveAllToFile(const WideString& FileName, const WideString& Delim);
    virtual Integer LoadStringsFromFile(const WideString& FileName, bool ClearFirst);
    virtual void SaveStringsToFile(const WideString& FileName, const WideString& Delim);
    virtual bool MergeFromFile(TStringsType Kind, const WideString& FileName);
    virtual bool MergeAllFromFile(const WideString& FileName);
    virtual void LoadAllFromFileDNC(const WideString& FileName, bool ClearFirst);
    virtual bool MergeAllFromFileDNC(const WideString& FileName);
    void LoadExtendedFromFile(const WideString& FileName, bool ClearFirst);
    void SaveExtendedToFile(const WideString& FileName, const WideString& Delim);

    // --- The binary file's entry of this component's form (".ZXB").
    // Replaces or adds the entry; the file is rewritten whole.
    void SaveAllToBinaryFile(const AnsiString& FileName);
    // Load the entry and apply the language; nothing without an owner.
    void LoadAllFromBinaryFile(const AnsiString& FileName);
    void LoadAllFromBinaryStream(TStream& Stream);
    // Only the list of Kind, the language not applied; whether the file has
    // an entry for this form.
    bool LoadPropFromBinaryFile(TStringsType Kind, const AnsiString& FileName);

    // --- One language column of a text file, LangName as the file names
    // it, into the language of that name (added when the component lacks it).
    virtual void LoadLanguageByProp(TStringsType Kind, const WideString& FileName,
                                    const WideString& LangName);
    virtual void LoadLanguageByExt(const WideString& FileName, const WideString& LangName);
    virtual void LoadLanguage(const WideString& FileName, const WideString& LangName);
    // The values part of a line holding Value for language Index alone.
    WideString BuildStringByOne(const WideString& Value, Integer Index) const;

    // --- String identifiers: the keys of the Strings list.
    // Adds or replaces the line of ID (case ignored), one text per language
    // (missing ones empty), and updates the string table. Raises
    // ELanguageError for an identifier or text that would break the line.
    void AddString(const WideString& ID, const std::vector<WideString>& Texts);
    // Removes the first line keyed exactly ID.
    bool DeleteString(const WideString& ID);
    // EListError "List index is out of bonds!" outside the list.
    WideString GetStringID(Integer Index) const;
    // The first line keyed ID ignoring case, or -1.
    Integer GetIDIndex(const WideString& ID) const;

    // Whether the owner's own texts are translated: DoNotTranslate does not
    // hold its class name.
    bool GetTranslateOwner() const;
    // Pads every line of Strings, DlgsCaptions and Locales to a delimiter
    // per language.
    void NormalizeStrings();

    // --- The form-file property "TranslationData": a header line per kind
    // the class keeps, then that list's lines.
    void WriteOurStrProps(TStream& Stream) const;
    void ReadOurStrProps(TStream& Stream);

    // --- String tables
    // Fills Table from Strings, one item per line, and sorts it by
    // identifier (SortLang 0) or by the text of language SortLang.
    void LoadStringsColl(TzxStringsCollection& Table, Integer SortLang) const;
    // Rebuilds the string table from Strings, at run time only.
    void UpdateStrCollections();
    const TzxStringsCollection* StringTable() const { return FStringTable.get(); }
    // Empties every list the class keeps; extended translations and
    // language names stay.
    void ClearTranslations();

    // --- Strings by identifier, in the active language
    // With the language-1 fallback only under ttGetDefault.
    WideString GetText(const WideString& ID) const;
    WideString GetTextOrDefault(const WideString& ID) const;
    WideString GetTextbyInt(Integer ID) const;
    // The same texts as NUL-terminated copies for code that wants C strings:
    // nullptr for an empty text, else a block the caller releases with
    // FreeMem.
    char* GetTextC(const WideString& ID) const;
    char* GetTextOrDefaultC(const WideString& ID) const;
    // The value of the line of List keyed ID (case ignored); with UseDefault
    // an empty value falls back to language 1. A missing identifier raises
    // ELanguageError when DoRaiseExceptions is set, else gives "".
    WideString GetTextFrom(TStrings& List, const WideString& ID, bool UseDefault) const;
    // The value of line Index of List; "" for a line that does not exist.
    WideString GetTextFromByIndex(TStrings& List, Integer Index, bool UseDefault) const;

    // --- Collecting (QzxComp_Collect.cpp)
    // Brings the lists up to date with the texts on the form: new texts get
    // lines, at design time the active language takes the current texts,
    // lines of removed components and properties go, and a component that
    // comes back under another name gets its translations back.
    virtual void BuildList();
    // Deletes the lines whose property no longer exists on their component.
    void CheckRmdProps();
    // Whether the property PropName of the component CompName is never
    // collected: excluded by name, smart-excluded, or "Name".
    bool NotHandledProperty(const AnsiString& CompName, const AnsiString& PropName) const;
    // Deletes the lines of an excluded text (for collections, of every
    // item whose key starts with CompName.PropName).
    void RemoveSmartExcl(TStrings& List, const AnsiString& CompName, const AnsiString& PropName,
                         TStringsType Kind);

    // --- Exclusions and the delimiter (QzxComp_Setters.cpp)
    // Whether TStrings properties of that class are collected.
    virtual bool IsHandledTStrings(const WideString& ClassName) const;
    // Every OldDelim character of every line of List becomes NewDelim.
    void ChangeDelimOnStrs(Byte OldDelim, Byte NewDelim, TStrings& List);
    // Empties or filters the lists by ExcludedProperties.
    void ExcludeProperties();
    // Drops the lines of every component DoNotTranslate names.
    void ReBuildDoNotList();

    // --- Extended translations: any published property by a dotted path
    // whose first element is a component of the owner, or the owner's class
    // name, as in Button1.Font.Name or ListView1.Columns[2].Caption.
    // The object holding the path's last property; nullptr when any element
    // on the way is missing, holds no object, or names a collection item
    // that is not there.
    TObject* GetObjByPath(const WideString& Path) const;
    // tkClass only for a TStrings object; tkUnknown when the path does not
    // resolve.
    TTypeKind GetPropTypeByPath(const WideString& Path) const;
    // The property's value as text; empty when the path does not resolve or
    // the property has no text form.
    WideString GetPropValueByPath(const WideString& Path) const;
    // Sets the property from text; a text that does not convert leaves it
    // unchanged.
    void SetPropValueByPath(const WideString& Path, const WideString& Value);
    // Applies the active language to ExtendedTranslations.
    void ChangeLangForExtended();
    // Captures the current property values into the active language and
    // drops the items whose property is gone.
    void UpdateExtended();
    void ChangeDelimOnExtended(char OldDelim, char NewDelim);

    // --- Message boxes whose caption and button texts are DlgsCaptions'
    // values in the active language. They return the modal result of the
    // button pressed, or -1 without showing anything once the application
    // terminates. HelpCtx is accepted and not used; X and Y place the box
    // when both are 0 or more; the Bitmap (not owned) replaces the icon, and
    // a confirmation without one shows the package's confirmation picture.
    Integer MessageDlg(const WideString& Caption, const WideString& Msg, TMsgDlgType DlgType,
                       TMsgDlgBtn Button1, TMsgDlgBtn Button2, TMsgDlgBtn Button3, Integer HelpCtx,
                       Integer X, Integer Y, TMsgDlgBtn DefaultButton, TBitmap* Bitmap);
    Integer MessageDlg(const WideString& Caption, const WideString& Msg, TMsgDlgType DlgType,
                       const TMsgDlgButtons& Buttons, Integer HelpCtx, Integer X, Integer Y,
                       TMsgDlgBtn DefaultButton, TBitmap* Bitmap);
    Integer MessageDlg(const WideString& Caption, const WideString& Msg, TMsgDlgType DlgType,
                       const TMsgDlgButtons& Buttons, Integer HelpCtx, TMsgDlgBtn DefaultButton,
                       TBitmap* Bitmap);
    // The application's title as caption.
    Integer MessageDlg(const WideString& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                       Integer HelpCtx, TMsgDlgBtn DefaultButton, TBitmap* Bitmap);
    Integer MessageDlgPos(const WideString& Msg, TMsgDlgType DlgType,
                          const TMsgDlgButtons& Buttons, Integer HelpCtx, Integer X, Integer Y,
                          TMsgDlgBtn DefaultButton, TBitmap* Bitmap);
    // The message with an OK button under the application's title.
    void ShowMessage(const WideString& Msg);
    // The message formatted with Params (EConvertError, and no box, when
    // they do not fit its format).
    void ShowMessage(const WideString& Msg, std::initializer_list<TVarRec> Params);
    void ShowMessageFmt(const WideString& Msg, std::initializer_list<TVarRec> Params);
    void ShowMessagePos(const WideString& Msg, Integer X, Integer Y);

    // --- Object-property helpers (published properties of any kind but
    // methods): they return their default for a missing object or property.
    static bool ObjectHasProperty(TObject* Obj, const AnsiString& Name, const AnsiString& TypeName,
                                  const TTypeKinds& Kinds);
    // The character set and name of the font held by Obj's "Font";
    // ISO8859_1_CHARSET and an empty name when there is none.
    static TFontCharSet GetObjectFontCharset(TObject* Obj);
    static TFontName GetObjectFontName(TObject* Obj);
    static AnsiString GetObjectStrProperty(TObject* Obj, const AnsiString& Name);
    static void SetObjectStrProperty(TObject* Obj, const AnsiString& Name,
                                     const AnsiString& Value);
    bool DoStoreDNT() const { return FDoNotTranslate->Count() > 0; }
    bool DoStoreExcluded() const { return FExcludedProperties->Count() > 0; }
    bool DoStoreExtended() const { return FExtendedTranslations->Count() > 0; }
    bool DoStoreSmart() const { return FSmartExcludeProps->Count() > 0; }

    // The platform's locale settings as they were when the component was made.
    const std::array<WideString, LocaleSettingCount>& LocaleSnapshot() const {
        return FLocaleSnapshot;
    }
    // Set by the component editor while it works: removals are then ignored
    // at design time.
    void SetIgnoreRemovals(bool Value) { FIgnoreRemovals = Value; }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DefineProperties(TFiler* Filer) override;
    // Set only on the temporary instance that reads a binary file.
    bool IsLoadingCopy() const { return FLoadingCopy; }

    // What a descendant needs to collect and apply a kind of its own by the
    // rules of the others.
    // Copies Value into Own (unless it is Own) and applies that kind alone.
    void ApplyOneKind(TStrings* Value, TStrings& Own, TStringsType Kind);
    // Whether the language being applied includes Kind: every kind, or the
    // one kind a list setter applies.
    bool AppliesKind(TStringsType Kind) const {
        return FApplyFilter == -1 || FApplyFilter == Kind;
    }
    // ChangeLanguage up to OnChangeLanguage, which it leaves to the caller;
    // false when nothing is applied (a loading copy, no owner).
    bool ApplyLanguage();
    bool InTestMode() const;
    // Value ActiveLanguage of a line, falling back under ttGetDefault.
    AnsiString ValueOfLine(const AnsiString& Line, bool TestMode) const;
    AnsiString NewLine(const AnsiString& Key, const AnsiString& Text) const;
    // At design time the active language takes Text, unless its value is
    // empty and it is not the first; at run time the line stays.
    void UpdateLine(TStrings& List, Integer Index, const AnsiString& Key, const AnsiString& Text);
    // A named component of the owner that is neither a translation
    // component nor a dispatcher nor listed in DoNotTranslate.
    bool IsCollectedComponent(TComponent* Component) const;

private:
    // The binary file clears the dispatcher link for the length of a write
    // and marks the copies it fills.
    friend class TZXBFileManager;
    // The dispatcher sets the language name and number of the components
    // it links without their setters.
    friend class TzxLangDispatcher;

    char Delim() const { return static_cast<char>(FLangDelim); }
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    void TakeLocaleSnapshot();
    void ReplaceInAllLists(char OldChar, char NewChar);
    void ChangeLangDelim(Byte OldDelim, Byte NewDelim);
    bool DataHoldsChar(char Ch) const;
    void CutLinesToLanguages(Integer Count);
    void RelinkExtendedItems();
    // Value Language of an item's Values, read positionally.
    AnsiString ExtendedValue(const TzxExtendedItem& Item, Integer Language) const;
    // An item's Values with one value per language, Text in place of value
    // Replaced (0: none replaced).
    AnsiString RebuiltValues(const TzxExtendedItem& Item, Integer Replaced,
                             const AnsiString& Text) const;
    // Gives every item exactly one value per language.
    void FitExtendedToLanguages();
    bool HasOldDelimiter() const;
    void AddMissingLocaleNames();

    // Applying (QzxComp_Apply.cpp)
    bool IsSmartExcluded(const AnsiString& Entry) const;
    void ApplyOwnerCaptionAndHint(bool TestMode);
    void ApplyOwnerFont();
    // Upper-cased CharSets key to the active language's character-set name,
    // the first line of a key winning as in GetStringValue: built once per
    // pass over the Fonts list, so each font line finds its set directly.
    using TCharSetIndex = std::unordered_map<AnsiString, AnsiString>;
    TCharSetIndex CharSetIndex() const;
    void TranslateList(TStrings& List, TStringsType Kind, bool TestMode);
    void TranslateLine(const AnsiString& Line, TStringsType Kind, bool TestMode,
                       const TCharSetIndex& CharSets);
    void TranslateCollections(TStrings& List, bool TestMode);
    void ApplyFontLine(TComponent* Target, PPropInfo Prop, const AnsiString& Name,
                       const AnsiString& Value, const TCharSetIndex& CharSets);
    void DelOldNames(TStrings& List, TStringsType Kind);
    // Message boxes (QzxComp_Dialogs.cpp)
    TMsgDlgTexts TranslatedDlgTexts() const;
    AnsiString TranslatedDlgText(Integer Entry) const;
    Integer ShowMessageBox(const WideString& Caption, const WideString& Msg, TMsgDlgType DlgType,
                           const std::vector<TMsgDlgBtn>& Buttons, Integer X, Integer Y,
                           TMsgDlgBtn DefaultButton, TBitmap* Bitmap);

    void RememberRemovedLine(const AnsiString& Line);

    // Files and string identifiers (QzxComp_Files.cpp)
    void PutInStringTable(const WideString& ID, const AnsiString& Line);
    void WriteToFile(const WideString& FileName,
                     const std::function<bool(TStream& Text)>& WriteText);
    Integer LoadKindFromBinaryFile(TStringsType Kind, const WideString& FileName);
    void LoadBinaryEntry(const AnsiString& FileName);
    void LoadBinaryStreamEntry(TStream& Stream);

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
    AnsiString OwnerClassName() const;
    AnsiString UpperKeyOf(const AnsiString& Line) const;
    void WriteLanguageNames(TMemIniFile& Ini) const;
    struct TTextWrite;
    void WriteFileOptions(TMemIniFile& Ini, const AnsiString& Delim) const;
    void WriteKind(TStringsType Kind, const TStrings& List, TTextWrite& Text,
                   const AnsiString& Delim) const;
    void DeleteOlderFormKeys(TTextWrite& Text, const AnsiString& Section) const;
    void WriteExtended(TTextWrite& Text, const AnsiString& Delim) const;
    // Every kind the class keeps, and the extended translations when there
    // are any or WithEmptyExtended; false when nothing was written.
    bool WriteAll(TTextWrite& Text, const AnsiString& Delim, bool WithEmptyExtended) const;
    static void RewriteText(TStream& Stream, const std::function<bool(TTextWrite&)>& Write);
    // Every component's lists into the text file, read once and replaced
    // once; a component that raises leaves the file as it was.
    static void SaveAllToTextFile(const std::vector<TzxCustomLang*>& Langs,
                                  const WideString& FileName, const WideString& Delim);
    // The file's text, checked, in a fresh ini engine.
    static std::unique_ptr<TMemIniFile> ParseTranslationFile(const WideString& FileName);
    void LoadAllKindsFromIni(TMemIniFile& Ini, bool ClearFirst);
    bool ReadLanguageNames(TMemIniFile& Ini, TStringList& Names, TStringList& Fixed) const;
    std::optional<AnsiString> LineOfEntry(TStringsType Kind, const AnsiString& Key,
                                          const AnsiString& Value, const AnsiString& FileDelim,
                                          bool& OwnersLine) const;
    void LoadKindFromIni(TStringsType Kind, TMemIniFile& Ini, bool ClearFirst);
    void LoadAllKindsFromStream(TStream& Stream, bool ClearFirst);
    std::vector<TExtendedEntry> ExtendedEntries(TMemIniFile& Ini) const;
    void LoadExtendedFromIni(TMemIniFile& Ini, bool ClearFirst);
    void FinishSingleLoad(TStringsType Kind, TStrings& List);
    bool MergeKind(TStringsType Kind, const std::function<Integer()>& LoadKind);
    void KeepLinesTheFileLacks(TStrings& List, const TStrings& Backup) const;
    bool MergeAllKinds(const std::function<bool(TStringsType)>& MergeOneKind);
    std::optional<TLanguageColumn> FindLanguageColumn(const WideString& FileName,
                                                      const WideString& LangName);

    // Collecting (QzxComp_Collect.cpp)
    enum class TCollected { Kept, Added, Restored };
    TCollected CollectText(TStrings& List, const AnsiString& Key, const AnsiString& Text,
                           bool MayAdd, AnsiString& RestoredFrom);
    void CollectText(TStrings& List, const AnsiString& Key, const AnsiString& Text);
    Integer IndexOfKey(const TStrings& List, const AnsiString& Key) const;
    std::optional<AnsiString> UpperKeyOfLine(const AnsiString& Line) const;
    struct TCollectedKeys {
        Integer Indexed = 0;
        std::unordered_map<AnsiString, Integer> FirstLine;
    };
    Integer RestorableLine(const AnsiString& Key, const AnsiString& Text) const;
    Integer OwnLineIndex(TStrings& List, const AnsiString& OwnText);
    bool MoveOwnLineFirst(TStrings& List, const AnsiString& OwnText);
    void PutOwnLine(TStrings& List, const AnsiString& Text);
    void CollectOwnerText(TStringsType Kind);
    void CollectOwnerFont();
    void CollectKinds();
    void CollectComponents(TStringsType Kind);
    void CollectProperty(TStrings& List, TComponent* Component, PPropInfo Prop,
                         TStringsType Kind);
    void CollectFont(TStrings& List, const AnsiString& Name, TFont& Font);
    void AddCharSetLine(const AnsiString& Name, const AnsiString& CharSetName,
                        const AnsiString& RestoredFrom);
    void CollectOtherStrings(TStrings& List, TObject* Object, const AnsiString& Name);
    void CollectPropertiesStrings(TStrings& List);
    void CollectCollections(TStrings& List);
    void CollectCollection(TStrings& List, const AnsiString& Name, const AnsiString& Path,
                           TCollection& Collection);
    void CollectItemObject(TStrings& List, const AnsiString& Name, const AnsiString& ItemKey,
                           const AnsiString& PropName, TObject* Object);
    void CheckRemovedProps(TStrings& List, TStringsType Kind);
    bool IsExcludedLine(TStringsType Kind, const AnsiString& Key) const;

    // Form-file property (QzxComp_FormData.cpp)
    bool TranslationDataDiffers(const TzxCustomLang& Ancestor) const;

    // Strings by identifier (QzxComp_GetText.cpp)
    // Whether List is this component's list of a kind whose lookups go to
    // the dispatcher's components; Kind receives the kind.
    bool DelegatesList(const TStrings& List, bool WithStrings, TStringsType& Kind) const;
    // The first linked component's non-empty list of Kind, or nullptr when
    // none has lines or the first one with lines is this component.
    TStrings* DelegatedList(TStringsType Kind) const;
    WideString TableLookup(const WideString& ID, bool UseDefault) const;
    WideString TextLookup(const TStrings& List, const WideString& ID, bool UseDefault) const;

    // Value ActiveLanguage of a translation line, by the rules of
    // TranslatedValue.
    AnsiString LineValue(const AnsiString& Line, bool TestMode, bool UseDefault) const;
    // Value ActiveLanguage, ValueOf(k) giving value k; in test mode an empty
    // value shows value 1 upper-cased, and with UseDefault an empty value
    // falls back to value 1.
    static AnsiString UpperCased(const AnsiString& S) { return AnsiUpperCase(S); }
    static WideString UpperCased(const WideString& S) { return WideUpperCase(S); }
    template <typename ValueOf>
    auto TranslatedValue(ValueOf valueOf, bool TestMode, bool UseDefault) const {
        auto value = valueOf(FActiveLanguage);
        if (value.empty() && TestMode && FActiveLanguage > 1)
            value = UpperCased(valueOf(1));
        if (value.empty() && UseDefault)
            value = valueOf(1);
        return value;
    }

    Integer FApplyFilter = -1;
    std::unique_ptr<TStringList> FCaptions;
    std::unique_ptr<TStringList> FHints;
    std::unique_ptr<TStringList> FDisplayLabels;
    std::unique_ptr<TStringList> FStrings;
    std::unique_ptr<TStringList> FFonts;
    std::unique_ptr<TStringList> FMultiLines;
    std::unique_ptr<TStringList> FDlgsCaptions;
    std::unique_ptr<TStringList> FOtherStrings;
    std::unique_ptr<TStringList> FLocales;
    std::unique_ptr<TStringList> FCharSets;
    std::unique_ptr<TStringList> FCollections;
    Integer FActiveLanguage = 1;
    Integer FNumOfLanguages = 1;
    bool FChangeLocales = false;
    // Set while a load of several kinds runs: the single-kind loads then
    // leave their finishing steps to its end.
    bool FLoadAll = false;
    std::unique_ptr<TStringList> FWorkList;
    // The key index of each list a collecting pass looks keys up in.
    mutable std::unordered_map<const TStrings*, TCollectedKeys> FKeyIndexes;
    bool FIndexingKeys = false;
    std::array<WideString, LocaleSettingCount> FLocaleSnapshot;
    TzxLangDispatcher* FLangDispatcher = nullptr;
    Byte FLangDelim = 1;
    std::unique_ptr<TStringList> FDoNotTranslate;
    WideString FVersion;
    WideString FLanguage;
    std::unique_ptr<TStringList> FLangNames;
    TzxLangOptions FOptions;
    std::unique_ptr<TStringList> FExcludedProperties;
    bool FSpareFlag = false;
    std::unique_ptr<TStringList> FStringsTypes;
    std::unique_ptr<TStringList> FSmartExcludeProps;
    std::unique_ptr<TStringList> FFixedLanguages;
    std::unique_ptr<TzxExtendedItems> FExtendedTranslations;
    bool FNoOwnerFont = true;
    bool FLoadingCopy = false;
    std::unique_ptr<TzxStringsCollection> FStringTable;
    std::unique_ptr<TzxStringsCollection> FSecondStringTable;
    bool FIgnoreRemovals = false;
};

// The published properties the translation components share, in the order
// their form files hold them. The lists are never written as properties:
// their lines travel in the form-file property "TranslationData".
template <typename C> void PublishKindLists(TPropertyBuilder<C>& P, bool WithCommonLists) {
    P.Property("Captions", &C::Captions, &C::SetCaptions).Stored(false);
    P.Property("Hints", &C::Hints, &C::SetHints).Stored(false);
    P.Property("DisplayLabels", &C::DisplayLabels, &C::SetLabels).Stored(false);
    P.Property("Strings", &C::Strings, &C::SetStrings).Stored(false);
    P.Property("Fonts", &C::Fonts, &C::SetFonts).Stored(false);
    P.Property("MultiLines", &C::MultiLines, &C::SetMultiLines).Stored(false);
    if (WithCommonLists)
        P.Property("DlgsCaptions", &C::DlgsCaptions, &C::SetDlgsCaptions).Stored(false);
    P.Property("OtherStrings", &C::OtherStrings, &C::SetOthers).Stored(false);
    if (WithCommonLists)
        P.Property("Locales", &C::Locales, &C::SetSystem).Stored(false);
    P.Property("CharSets", &C::CharSets, &C::SetCharSets).Stored(false);
    P.Property("Collections", &C::Collections, &C::SetCollections).Stored(false);
}

// NumOfLanguages to Options.
template <typename C> void PublishLanguageSettings(TPropertyBuilder<C>& P) {
    P.Property("NumOfLanguages", &C::NumOfLanguages, &C::SetNumLang).Default(1);
    P.Property("ActiveLanguage", &C::ActiveLanguage, &C::SetActLang).Default(1);
    P.Property("ChangeLocales", &C::ChangeLocales, &C::SetChangeLocales).Default(false);
    P.Property("LangDispatcher", &C::LangDispatcher, &C::SetLangDispatcher);
    P.Property("OnChangeLanguage", &C::OnChangeLanguage);
    P.Property("LangDelim", &C::LangDelim, &C::SetLangDelim).Default(Byte{9});
    P.Property("DoNotTranslate", &C::DoNotTranslate, &C::SetDoNotList).Stored(&C::DoStoreDNT);
    P.Property("LangNames", &C::LangNames, &C::SetLangNames);
    P.Property("Language", &C::Language, &C::SetLanguage);
    P.Property("TranslateType", &C::TranslateType).Default(ttNoChange);
    P.Property("Options", &C::Options, &C::SetOptions).Default(TzxLangOptions{});
}

// ChangingCursor, ExcludedProperties and DoRaiseExceptions.
template <typename C> void PublishCursorAndExclusions(TPropertyBuilder<C>& P) {
    P.Property("ChangingCursor", &C::ChangingCursor).Default(-1).TypeName("TCursor");
    P.Property("ExcludedProperties", &C::ExcludedProperties, &C::SetExProps)
        .Stored(&C::DoStoreExcluded);
    P.Property("DoRaiseExceptions", &C::DoRaiseExceptions).Default(false);
}

// Everything TzxLang publishes.
template <typename C> void PublishLangProperties(TPropertyBuilder<C>& P) {
    PublishKindLists(P, true);
    PublishLanguageSettings(P);
    PublishCursorAndExclusions(P);
    P.Property("ExtendedTranslations", &C::ExtendedTranslations, &C::SetExtendedTranslations)
        .Stored(&C::DoStoreExtended);
}

// The translation component of applications: publishes the lists of eleven
// kinds and the settings.
class TzxLang : public TzxCustomLang {
    ZX_CLASS(TzxLang, TzxCustomLang)
public:
    explicit TzxLang(TComponent* AOwner) : TzxCustomLang(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TzxLang>& P);
};

// ---------------------------------------------------------------------------
// TZXBFileManager: the binary translation file, one entry per owner form
// class, each entry a translation component in the component stream format.
//
//   0   42 bytes  "ZXB file: TzxLang binary translation data" and a NUL
//   42  2         N, the number of entries
//   44  2         L, the length of the fixed-languages text
//   46  L         the fixed-languages text, a line break after each line
//   then N directory entries: 2 bytes name length K, K bytes owner class
//       name, 4 bytes absolute position of the entry's record
//   then the N records, in directory order
//
// All numbers are little-endian. A file is untrusted input: every count,
// length and position is checked against the stream, records may only hold
// translation components, and the references and event names inside them
// are dropped.

class TZXBFileManager : public TPersistent {
    ZX_CLASS(TZXBFileManager, TPersistent)
public:
    TZXBFileManager();
    // With the whole content of that file when it exists.
    explicit TZXBFileManager(const AnsiString& FileName);
    ~TZXBFileManager() override;
    TZXBFileManager(const TZXBFileManager&) = delete;
    TZXBFileManager& operator=(const TZXBFileManager&) = delete;

    // Files Lang under its owner's class name, replacing the entry of that
    // name (found ignoring case). Lang stays its form's; a replaced
    // component that the manager read is freed.
    void Add(TzxCustomLang* Lang);
    void Clear();
    // Frees the components the manager read and empties the entries' list
    // of components (OwnerNames stay).
    void ClearList();
    void Remove(Integer Index);
    void Move(Integer CurIndex, Integer NewIndex);

    AnsiString GetOwnerNames(Integer Index) const;
    void SetOwnerNames(Integer Index, const AnsiString& Name);
    TzxCustomLang* GetzxComponents(Integer Index) const;
    void SetzxComponents(Integer Index, TzxCustomLang* Lang);
    Integer GetCompCount() const { return static_cast<Integer>(FComponents.size()); }
    // The size in bytes of that entry's record.
    Integer GetComponentSize(Integer Index) const;
    TStrings* OwnerNames() const { return FOwnerNames.get(); }
    TStrings* FixedLanguages() const { return FFixedLanguages.get(); }
    // Copies the lines.
    void SetFixedLanguages(TStrings* Value);

    // Replaces the file atomically. Counts and lengths beyond the fields of
    // the layout raise EWriteError; nothing is written then.
    void SaveToFile(const AnsiString& FileName);
    // Leaves the stream positioned after the last record.
    void SaveToStream(TStream& Stream);
    // Replaces the manager's entries by the file's; a failed read leaves
    // them as they were.
    void ReadFileContent(const AnsiString& FileName);
    void ReadStreamContent(TStream& Stream);
    // Loads the entry named OwnerName (exact case) into Lang: its lists,
    // language names and extended translations. Returns whether the file
    // has that entry; without one, and on any failure, Lang is unchanged.
    bool LoadFromFile(TzxCustomLang* Lang, const AnsiString& OwnerName,
                      const AnsiString& FileName);
    bool LoadFromStream(TzxCustomLang* Lang, const AnsiString& OwnerName, TStream& Stream);
    // Only Lang's list of Kind, from the entry named OwnerName; returns
    // whether there was such an entry.
    bool LoadPropFromFile(TStringsType Kind, const AnsiString& FileName, TzxCustomLang* Lang,
                          const AnsiString& OwnerName);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    struct TEntryComponent {
        TzxCustomLang* Component;
        // Read from a file or copied: the manager frees it.
        bool Owned;
    };

    void FreeIfOwned(const TEntryComponent& Entry);
    void CheckIndex(Integer Index) const;
    void ReplaceEntries(std::vector<TEntryComponent> Components, TStrings& Names);
    void CopyInto(TzxCustomLang* Lang, TzxCustomLang* Source, const AnsiString& OwnerName) const;

    std::vector<TEntryComponent> FComponents;
    std::unique_ptr<TStringList> FOwnerNames;
    AnsiString FSignature;
    std::unique_ptr<TStringList> FFixedLanguages;
};

// Unit start-up: registers TzxLang for form streaming unless a class of
// that name is registered already, and the package's pictures.
void InitQzxComp();
// Registers the pictures of the package: "MSGDLG_CONFIRM".
void RegisterQzxCompResources();

// ---------------------------------------------------------------------------
// TzxFormStorage: a dialog form's size, position and window state, restored
// when the form is loaded and saved when it is destroyed, in the settings
// store of the form's class under the section SubKey.

class TForm;

ZX_ENUM(TMyHKeyType, zxHKEY_CURRENT_USER, zxHKEY_CLASSES_ROOT, zxHKEY_LOCAL_MACHINE, zxHKEY_USERS,
        zxHKEY_CURRENT_CONFIG, zxHKEY_DYN_DATA);

class TzxFormStorage : public TComponent {
    ZX_CLASS(TzxFormStorage, TComponent)
public:
    // An owner that is no form leaves the storage inactive for good.
    explicit TzxFormStorage(TComponent* AOwner);
    // Saves the placement; failures are reported, never raised.
    ~TzxFormStorage() override;
    TzxFormStorage(const TzxFormStorage&) = delete;
    TzxFormStorage& operator=(const TzxFormStorage&) = delete;

    static void PublishedProperties(TPropertyBuilder<TzxFormStorage>& P);

    bool Active() const { return FActive; }
    void SetMyActive(bool Value);
    const WideString& SubKey() const { return FSubKey; }
    void SetSubKey(const WideString& Value);
    // Kept for form files; it selects nothing.
    TMyHKeyType RegRootKey() const { return FRegRootKey; }
    void SetRegRootKey(TMyHKeyType Value);
    TForm* GetForm() const { return FForm; }

    // Restores the saved placement; restores the form's own on any failure.
    void ReadSettings();
    void FormDestroing(TObject* Sender);

protected:
    void Loaded() override;

private:
    bool Working() const;

    bool FActive = true;
    WideString FSubKey;
    TMyHKeyType FRegRootKey = zxHKEY_CURRENT_USER;
    WideString FRootKey = u"Default_Section";
    TForm* FForm = nullptr;
};
