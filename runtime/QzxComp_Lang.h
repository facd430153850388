// The translation component and the routines of its message boxes.
#pragma once

#include "runtime/QzxComp_Dispatcher.h"
#include "runtime/QzxComp_Items.h"
#include "runtime/QzxComp_Text.h"

#include "clx/Controls.h"
#include "clx/Dialogs.h"

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

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

ZX_ENUM(TTranslateType, ttNoChange, ttGetDefault);
ZX_ENUM(TzxLangOption, loUseExtUDStrings, loUseExtCommonStrings);
using TzxLangOptions = TSet<TzxLangOption>;
ZX_ENUM(TTextStyle, tsNone, tsRaised, tsRecessed, tsShadow);

// Keys of the Locales list, in the order of the locale snapshot.
inline constexpr Integer LocaleSettingCount = 15;
// The most languages a component or dispatcher holds: a ".ZXB" record
// counts them in one byte, and every line carries one value per language.
inline constexpr Integer MaxNumOfLanguages = 255;
extern const std::array<AnsiString, LocaleSettingCount> LocaleKeys;

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
    virtual void SaveToFile(TStringsType Kind, const WideString& FileName, const WideString& Delim);
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
    Integer MessageDlgPos(const WideString& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons,
                          Integer HelpCtx, Integer X, Integer Y, TMsgDlgBtn DefaultButton,
                          TBitmap* Bitmap);
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
    static void SetObjectStrProperty(TObject* Obj, const AnsiString& Name, const AnsiString& Value);
    bool DoStoreDNT() const { return FDoNotTranslate->Count() > 0; }
    bool DoStoreExcluded() const { return FExcludedProperties->Count() > 0; }
    bool DoStoreExtended() const { return FExtendedTranslations->Count() > 0; }
    bool DoStoreSmart() const { return FSmartExcludeProps->Count() > 0; }

    // The platform's locale settings as they were when the component was made.
    std::array<WideString, LocaleSettingCount> LocaleSnapshot() const;
    // Set by the component editor while it works: removals are then ignored
    // at design time.
    bool IgnoreRemovals() const { return FIgnoreRemovals; }
    void SetIgnoreRemovals(bool Value) { FIgnoreRemovals = Value; }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DefineProperties(TFiler* Filer) override;
    // Set only on the temporary instance that reads a binary file.
    bool IsLoadingCopy() const { return FLoadingCopy; }
    // Fills the first string table from Strings, sorted by identifier, at
    // design time too.
    void RebuildStringTable() { LoadStringsColl(*FStringTable, 0); }

    // What a descendant needs to collect and apply a kind of its own by the
    // rules of the others.
    // Copies Value into Own (unless it is Own) and applies that kind alone.
    void ApplyOneKind(TStrings* Value, TStrings& Own, TStringsType Kind);
    // Whether the language being applied includes Kind: every kind, or the
    // one kind a list setter applies.
    bool AppliesKind(TStringsType Kind) const { return FApplyFilter == -1 || FApplyFilter == Kind; }
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
    // The steps of the engine's algorithms, declared in the private header
    // that only the runtime's own sources include.
    class TEngine;

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
    // While a collecting pass runs: the first line of each upper-cased key
    // of each list it looks keys up in, and how many lines are indexed.
    struct TCollectedKeys {
        Integer Indexed = 0;
        std::unordered_map<AnsiString, Integer> FirstLine;
    };
    mutable std::unordered_map<const TStrings*, TCollectedKeys> FKeyIndexes;
    bool FIndexingKeys = false;
    std::array<AnsiString, LocaleSettingCount> FLocaleSnapshot;
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
