// The language dispatcher: one active language for many translation
// components.
#pragma once

#include "runtime/QzxComp_Text.h"

#include <functional>
#include <memory>

class TzxCustomLang;
class TZXBFileManager;

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
