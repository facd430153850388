// Translation statistics of one translation component: how many items of
// each kind and of the extended translations are translated, partly
// translated or empty, how many words each language holds and how much of
// each language pair is translated, and the dialog that shows them.
#pragma once

#include "runtime/QzxComp.h"

#include "clx/ComCtrls.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "rtl/Collections.h"

#include <map>

class TLanguageStats : public TCollectionItem {
    ZX_CLASS(TLanguageStats, TCollectionItem)
public:
    explicit TLanguageStats(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static void PublishedProperties(TPropertyBuilder<TLanguageStats>& P);

    AnsiString Name;
    Integer NonEmptyItems = 0;
    Integer EmptyItems = 0;
    Integer WordsCount = 0;

protected:
    void AssignTo(TPersistent* Dest) const override;
};

// A collection of one item class, with typed access.
template <typename TItem> class TStatsCollection : public TCollection {
public:
    TStatsCollection() : TCollection(TItem::StaticClass()) {}
    TItem* Add() { return static_cast<TItem*>(TCollection::Add()); }
    TItem* Items(Integer Index) const { return static_cast<TItem*>(TCollection::Items(Index)); }
};

class TLanguageStatsList : public TStatsCollection<TLanguageStats> {
    ZX_CLASS(TLanguageStatsList, TCollection)
};

class TTranslationInfo : public TCollectionItem {
    ZX_CLASS(TTranslationInfo, TCollectionItem)
public:
    explicit TTranslationInfo(TCollection* ACollection) : TCollectionItem(ACollection) {}
    static void PublishedProperties(TPropertyBuilder<TTranslationInfo>& P);

    AnsiString Name;
    Integer TranslatedCount = 0;
    Integer WordsInTranslation = 0;
    Integer WordsToTranslate = 0;

protected:
    void AssignTo(TPersistent* Dest) const override;
};

class TTranslationInfos : public TStatsCollection<TTranslationInfo> {
    ZX_CLASS(TTranslationInfos, TCollection)
};

class TTranslationsStats : public TComponent {
    ZX_CLASS(TTranslationsStats, TComponent)
public:
    explicit TTranslationsStats(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TTranslationsStats>& P);

    Integer Languages = 0;
    AnsiString LangNames;
    Integer Properties = 0;
    AnsiString PropNames;
    Integer StdItems = 0;
    Integer EmptyStd = 0;
    Integer TranslatedStd = 0;
    Integer PartialSdt = 0;
    Integer ExtItems = 0;
    Integer TranslatedExt = 0;
    Integer PartialExt = 0;
    Integer EmptyExt = 0;

    TLanguageStatsList* LanguageStats() const { return FLanguageStats.get(); }
    void SetLanguageStats(const TLanguageStatsList* Value) { FLanguageStats->Assign(Value); }
    TTranslationInfos* TranslationInfos() const { return FTranslationInfos.get(); }
    void SetTranslationInfos(const TTranslationInfos* Value) { FTranslationInfos->Assign(Value); }

private:
    std::unique_ptr<TLanguageStatsList> FLanguageStats;
    std::unique_ptr<TTranslationInfos> FTranslationInfos;
};

// The statistics of Lang (the name is not used); the caller owns them.
// ShowProgress shows the progress window while they are counted.
TTranslationsStats* GetStatistics(TzxCustomLang* Lang, const AnsiString& Name, bool ShowProgress);
// Shows the statistics of Lang modally, in a window titled with Name.
void DisplayStatistics(TzxCustomLang* Lang, const AnsiString& Name);
// The pieces that the break characters cut Text into.
Integer WordCount(const AnsiString& Text);

class TfrmStatistics : public TForm {
    ZX_CLASS(TfrmStatistics, TForm)
public:
    explicit TfrmStatistics(TComponent* AOwner) : TForm(AOwner) {}
    ~TfrmStatistics() override;
    void AfterConstruction() override;

    void FormShow(TObject* Sender);
    void cbLanguagesChange(TObject* Sender);
    void cbTranslationsChange(TObject* Sender);

    // The statistics shown; the form does not own them.
    TTranslationsStats* Stats = nullptr;
    TComboBox* cbLanguages = nullptr;
    TComboBox* cbTranslations = nullptr;

private:
    // Each label's caption is the template its figures are formatted with.
    void ShowFigures(const char* LabelName, std::initializer_list<TVarRec> Args);
    void ShowBar(const char* BarName, Integer Max, Integer Position);
    void ShowPart(const char* LabelName, const char* BarName, Integer Part, Integer Whole);
    std::map<AnsiString, AnsiString> FTemplates;
};

// The window while DisplayStatistics shows it, else nullptr.
extern TfrmStatistics* frmStatistics;
