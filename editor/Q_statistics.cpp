#include "editor/Q_statistics.h"

#include "editor/FormData.h"

#include "editor/Q_splash.h"
#include "rtl/Filer.h"
#include "runtime/QzxTranslationLine.h"

std::string_view FormData_Q_statistics();

TfrmStatistics* frmStatistics = nullptr;

// ---------------------------------------------------------------------------
// The figures

void TLanguageStats::PublishedProperties(TPropertyBuilder<TLanguageStats>& P) {
    P.Property("Name", &TLanguageStats::Name);
    P.Property("NonEmptyItems", &TLanguageStats::NonEmptyItems).Default(0);
    P.Property("EmptyItems", &TLanguageStats::EmptyItems).Default(0);
    P.Property("WordsCount", &TLanguageStats::WordsCount).Default(0);
}

void TLanguageStats::AssignTo(TPersistent* Dest) const {
    if (auto* stats = dynamic_cast<TLanguageStats*>(Dest)) {
        stats->Name = Name;
        stats->NonEmptyItems = NonEmptyItems;
        stats->EmptyItems = EmptyItems;
        stats->WordsCount = WordsCount;
    }
}

void TTranslationInfo::PublishedProperties(TPropertyBuilder<TTranslationInfo>& P) {
    P.Property("Name", &TTranslationInfo::Name);
    P.Property("TranslatedCount", &TTranslationInfo::TranslatedCount).Default(0);
    P.Property("WordsInTranslation", &TTranslationInfo::WordsInTranslation).Default(0);
    P.Property("WordsToTranslate", &TTranslationInfo::WordsToTranslate).Default(0);
}

void TTranslationInfo::AssignTo(TPersistent* Dest) const {
    if (auto* info = dynamic_cast<TTranslationInfo*>(Dest)) {
        info->Name = Name;
        info->TranslatedCount = TranslatedCount;
        info->WordsInTranslation = WordsInTranslation;
        info->WordsToTranslate = WordsToTranslate;
    }
}

TTranslationsStats::TTranslationsStats(TComponent* AOwner)
    : TComponent(AOwner), FLanguageStats(std::make_unique<TLanguageStatsList>()),
      FTranslationInfos(std::make_unique<TTranslationInfos>()) {}

void TTranslationsStats::PublishedProperties(TPropertyBuilder<TTranslationsStats>& P) {
    using S = TTranslationsStats;
    P.Property("Languages", &S::Languages).Default(0);
    P.Property("LangNames", &S::LangNames);
    P.Property("Properties", &S::Properties).Default(0);
    P.Property("PropNames", &S::PropNames);
    P.Property("StdItems", &S::StdItems).Default(0);
    P.Property("EmptyStd", &S::EmptyStd).Default(0);
    P.Property("TranslatedStd", &S::TranslatedStd).Default(0);
    P.Property("PartialSdt", &S::PartialSdt).Default(0);
    P.Property("ExtItems", &S::ExtItems).Default(0);
    P.Property("TranslatedExt", &S::TranslatedExt).Default(0);
    P.Property("PartialExt", &S::PartialExt).Default(0);
    P.Property("EmptyExt", &S::EmptyExt).Default(0);
    P.Property("LanguageStats", &S::LanguageStats, &S::SetLanguageStats);
    P.Property("TranslationInfos", &S::TranslationInfos, &S::SetTranslationInfos);
}

Integer WordCount(const AnsiString& Text) {
    const TSysCharSet breaks{'\t', '\n', '\r', ' ', '!', '(', ')', ',', '-', '.',
                             ':',  ';',  '<',  '>', '?', '[', ']', '{', '}'};
    auto lines = std::make_unique<TStringList>();
    lines->SetText(WrapText(Text, "\n", breaks, 1));
    return lines->Count();
}

namespace {

// A list's lines as they stood when the count began: the messages let run
// between lines cannot change what is counted.
using TLines = std::vector<AnsiString>;

// The counts of one list, added to the figures.
struct TListCounter {
    TTranslationsStats& Stats;
    Integer Languages;
    char Delim;

    // Translated, partly translated and empty lines.
    void CountLines(const TLines& Lines, Integer& Translated, Integer& Partial,
                    Integer& Empty) const {
        for (const AnsiString& text : Lines) {
            const std::size_t first = text.find(Delim);
            AnsiString values = first == AnsiString::npos ? AnsiString() : text.substr(first + 1);
            std::erase(values, Delim);
            if (values.empty()) {
                ++Empty;
                continue;
            }
            const TzxTranslationLine line(text, Delim);
            Integer filled = 0;
            for (Integer language = 1; language <= Languages; ++language)
                filled += line.Value(language).empty() ? 0 : 1;
            if (filled == Languages)
                ++Translated;
            else if (filled > 1)
                ++Partial;
            Application->ProcessMessages();
        }
    }

    // Each language's filled and empty values and words, and each pair's
    // translated lines and words.
    void CountLanguages(const TLines& Lines) const {
        for (const AnsiString& text : Lines) {
            const TzxTranslationLine line(text, Delim);
            for (Integer language = 1; language <= Languages; ++language)
                CountValue(*Stats.LanguageStats()->Items(language - 1), line.Value(language));
            for (Integer language = 2; language <= Languages; ++language)
                CountPair(*Stats.TranslationInfos()->Items(language - 2), line.Value(1),
                          line.Value(language));
            Application->ProcessMessages();
        }
    }

    static void CountValue(TLanguageStats& Language, const AnsiString& Value) {
        if (Value.empty()) {
            ++Language.EmptyItems;
            return;
        }
        ++Language.NonEmptyItems;
        Language.WordsCount += WordCount(Value);
    }

    static void CountPair(TTranslationInfo& Pair, const AnsiString& Base,
                          const AnsiString& Translation) {
        if (Base.empty() && Translation.empty())
            return;
        if (Translation.empty()) {
            Pair.WordsToTranslate += WordCount(Base);
            return;
        }
        ++Pair.TranslatedCount;
        Pair.WordsInTranslation += WordCount(Translation);
    }
};

TLines LinesOf(const TStrings& List) {
    TLines lines;
    for (Integer index = 0; index < List.Count(); ++index)
        lines.push_back(List.Get(index));
    return lines;
}

// Everything the count reads, taken before any message may run.
struct TLangSnapshot {
    Integer Languages = 0;
    char Delim = 1;
    std::vector<AnsiString> Names;
    TLines Extended;
    std::vector<std::pair<TStringsType, TLines>> Kinds;
};

TLangSnapshot TakeSnapshot(const TzxCustomLang& Lang) {
    TLangSnapshot snapshot;
    snapshot.Languages = Lang.NumOfLanguages();
    snapshot.Delim = static_cast<char>(Lang.LangDelim());
    TStrings* names = Lang.LangNames();
    for (Integer index = 0; index < snapshot.Languages; ++index)
        snapshot.Names.push_back(index < names->Count() ? names->Get(index) : AnsiString());
    TzxExtendedItems* items = Lang.ExtendedTranslations();
    for (Integer index = 0; index < items->Count(); ++index)
        snapshot.Extended.push_back(items->Items(index)->GetIdentifier() + snapshot.Delim +
                                    items->Items(index)->Values());
    for (Integer kind = stCaptions; kind <= stListView_TreeView_Items; ++kind)
        if (TStrings* list = Lang.GetPropListByType(static_cast<TStringsType>(kind)))
            snapshot.Kinds.emplace_back(static_cast<TStringsType>(kind), LinesOf(*list));
    return snapshot;
}

void CountSnapshot(const TLangSnapshot& Snapshot, TTranslationsStats& Stats, bool ShowProgress) {
    auto names = std::make_unique<TStringList>();
    for (const AnsiString& name : Snapshot.Names)
        names->Add(name);
    Stats.Languages = Snapshot.Languages;
    Stats.LangNames = names->CommaText();
    Stats.ExtItems = static_cast<Integer>(Snapshot.Extended.size());
    for (const AnsiString& name : Snapshot.Names)
        Stats.LanguageStats()->Add()->Name = name;
    for (std::size_t language = 1; language < Snapshot.Names.size(); ++language)
        Stats.TranslationInfos()->Add()->Name =
            Format("%s -> %s", {Snapshot.Names[0], Snapshot.Names[language]});
    const TListCounter counter{Stats, Snapshot.Languages, Snapshot.Delim};
    counter.CountLines(Snapshot.Extended, Stats.TranslatedExt, Stats.PartialExt, Stats.EmptyExt);
    counter.CountLanguages(Snapshot.Extended);
    if (ShowProgress)
        SplashProgress(1);
    for (const auto& [kind, lines] : Snapshot.Kinds) {
        ++Stats.Properties;
        Stats.PropNames += GetEnumName(TypeInfoOf(kind), kind).substr(2) + ", ";
        if (kind != stFonts && kind != stCharSets) {
            Stats.StdItems += static_cast<Integer>(lines.size());
            counter.CountLines(lines, Stats.TranslatedStd, Stats.PartialSdt, Stats.EmptyStd);
            counter.CountLanguages(lines);
        }
        if (ShowProgress)
            SplashProgress(kind + 2);
    }
    if (!Stats.PropNames.empty())
        Stats.PropNames.resize(Stats.PropNames.size() - 2);
}

} // namespace

TTranslationsStats* GetStatistics(TzxCustomLang* Lang, const AnsiString&, bool ShowProgress) {
    const TLangSnapshot snapshot = TakeSnapshot(*Lang);
    auto stats = std::make_unique<TTranslationsStats>(nullptr);
    if (ShowProgress) {
        Splash("Getting translations statistics...", 0);
        // One step for the extended items, one per kind.
        SplashInitProgress(StringsTypeCount + 1);
    }
    try {
        CountSnapshot(snapshot, *stats, ShowProgress);
    } catch (...) {
        if (ShowProgress)
            NoSplash();
        throw;
    }
    if (ShowProgress)
        NoSplash();
    return stats.release();
}

void DisplayStatistics(TzxCustomLang* Lang, const AnsiString& Name) {
    RegisterClxClasses();
    std::unique_ptr<TTranslationsStats> stats(GetStatistics(Lang, Name, true));
    std::unique_ptr<TfrmStatistics> form(NewForm<TfrmStatistics>(Application));
    frmStatistics = form.get();
    form->Stats = stats.get();
    form->SetCaption(Format(form->Caption(), {Name}));
    form->ShowModal();
}

// ---------------------------------------------------------------------------
// The dialog

namespace {

double Percentage(Integer Part, Integer Whole) {
    return Whole == 0 ? 0.0 : Part * 100.0 / Whole;
}

} // namespace

TfrmStatistics::~TfrmStatistics() {
    if (frmStatistics == this)
        frmStatistics = nullptr;
}

void TfrmStatistics::AfterConstruction() {
    if (!GetClass("TfrmStatistics")) {
        RegisterClass(TfrmStatistics::StaticClass());
        RegisterMethod("FormShow", &TfrmStatistics::FormShow);
        RegisterMethod("cbLanguagesChange", &TfrmStatistics::cbLanguagesChange);
        RegisterMethod("cbTranslationsChange", &TfrmStatistics::cbTranslationsChange);
    }
    ReadFormData(FormData_Q_statistics(), this);
    cbLanguages = FormControl<TComboBox>(this, "cbLanguages");
    cbTranslations = FormControl<TComboBox>(this, "cbTranslations");
    for (Integer index = 0; index < ComponentCount(); ++index)
        if (auto* label = dynamic_cast<TLabel*>(Components(index)))
            FTemplates[label->Name()] = label->Caption();
    TForm::AfterConstruction();
}

void TfrmStatistics::ShowFigures(const char* LabelName, std::initializer_list<TVarRec> Args) {
    FormControl<TLabel>(this, LabelName)->SetCaption(Format(FTemplates.at(LabelName), Args));
}

void TfrmStatistics::ShowBar(const char* BarName, Integer Max, Integer Position) {
    TProgressBar* bar = FormControl<TProgressBar>(this, BarName);
    bar->SetMax(Max);
    bar->SetPosition(Position);
}

void TfrmStatistics::ShowPart(const char* LabelName, const char* BarName, Integer Part,
                              Integer Whole) {
    ShowFigures(LabelName, {Part, Percentage(Part, Whole)});
    ShowBar(BarName, Whole, Part);
}

void TfrmStatistics::FormShow(TObject*) {
    const TTranslationsStats& stats = *Stats;
    ShowFigures("labLanguages", {stats.Languages});
    FormControl<TEdit>(this, "edLanguages")->SetText(stats.LangNames);
    ShowFigures("labHandled", {stats.Properties});
    FormControl<TEdit>(this, "edProperties")->SetText(stats.PropNames);
    ShowFigures("labStandard", {stats.StdItems});
    ShowPart("labTranslatedStd", "pbStandard", stats.TranslatedStd, stats.StdItems);
    ShowPart("labPartialStd", "pbPartialStd", stats.PartialSdt, stats.StdItems);
    ShowPart("labEmptyStd", "pbEmptyStd", stats.EmptyStd, stats.StdItems);
    ShowFigures("labExtended", {stats.ExtItems});
    ShowPart("labTranslatedExt", "pbExtended", stats.TranslatedExt, stats.ExtItems);
    ShowPart("labPartialExt", "pbPartialExt", stats.PartialExt, stats.ExtItems);
    ShowPart("labEmptyExt", "pbEmptyExt", stats.EmptyExt, stats.ExtItems);
    const Integer total = stats.StdItems + stats.ExtItems;
    const Integer translated = stats.TranslatedStd + stats.TranslatedExt;
    ShowFigures("labTotal", {total});
    // The total's bar shows what its label says, like every other bar.
    ShowPart("labTranslatedTotal", "pbTotal", translated, total);
    for (Integer index = 0; index < stats.LanguageStats()->Count(); ++index)
        cbLanguages->Items()->Add(stats.LanguageStats()->Items(index)->Name);
    cbLanguages->SetItemIndex(0);
    cbLanguagesChange(cbLanguages);
    for (Integer index = 0; index < stats.TranslationInfos()->Count(); ++index)
        cbTranslations->Items()->Add(stats.TranslationInfos()->Items(index)->Name);
    cbTranslations->SetItemIndex(0);
    cbTranslationsChange(cbTranslations);
}

void TfrmStatistics::cbLanguagesChange(TObject*) {
    const Integer index = cbLanguages->ItemIndex();
    const TLanguageStats none(nullptr);
    const TLanguageStats& language = index >= 0 && index < Stats->LanguageStats()->Count()
                                         ? *Stats->LanguageStats()->Items(index)
                                         : none;
    ShowFigures("labNonEmpty", {language.NonEmptyItems});
    ShowPart("labEmpty", "pbEmpty", language.EmptyItems,
             language.NonEmptyItems + language.EmptyItems);
    ShowFigures("labWordCount", {language.WordsCount});
}

void TfrmStatistics::cbTranslationsChange(TObject*) {
    const Integer index = cbTranslations->ItemIndex();
    const TTranslationInfo none(nullptr);
    const TTranslationInfo& pair = index >= 0 && index < Stats->TranslationInfos()->Count()
                                       ? *Stats->TranslationInfos()->Items(index)
                                       : none;
    ShowPart("labTransTranslatedItems", "pbTranslation", pair.TranslatedCount,
             Stats->StdItems + Stats->ExtItems);
    ShowFigures("labTransTranslatedWords", {pair.WordsInTranslation});
    ShowFigures("labTransRemainingWords", {pair.WordsToTranslate});
}
