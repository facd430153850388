// Strings by identifier on an application's hot path: GetText over 10,000
// identifiers against the C library's dgettext on a catalogue of the same
// identifiers (built with msgfmt), against a plain hash map, and against
// Qt's translator on synthetic and catalogue-shaped messages.
#include "runtime/QzxComp.h"

#include "BenchRatio.h"
#include "CatalogueData.h"

#include <QString>
#include <QTranslator>
#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <libintl.h>
#include <memory>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kIdentifierCount = 10000;
const char* const kDomain = "zxbench";

AnsiString IdentifierOf(int I) {
    return "SID_" + IntToStr(I);
}

AnsiString TextOf(int I) {
    return "Translated text number " + IntToStr(I);
}

// The lookups walk the identifiers in a scrambled order, as an application
// asks for its texts.
std::vector<int> LookupOrder() {
    std::vector<int> order;
    for (int i = 0; i < kIdentifierCount; ++i)
        order.push_back(static_cast<int>((static_cast<long long>(i) * 7919) % kIdentifierCount));
    return order;
}

// A component with the identifiers in two languages, showing the second.
std::unique_ptr<TzxLang> MakeLang() {
    auto lang = std::make_unique<TzxLang>(nullptr);
    lang->SetNumLang(2);
    TStringList lines;
    for (int i = 0; i < kIdentifierCount; ++i)
        lines.Add(IdentifierOf(i) + '\1' + "Text " + IntToStr(i) + '\1' + TextOf(i) + '\1');
    lang->SetStrings(&lines);
    lang->SetActLang(2);
    return lang;
}

void BM_GetText(benchmark::State& State) {
    std::unique_ptr<TzxLang> lang = MakeLang();
    std::vector<WideString> ids;
    for (int i : LookupOrder())
        ids.push_back(UTF8Decode(IdentifierOf(i)));
    if (lang->GetText(ids[1]) != UTF8Decode(TextOf(LookupOrder()[1])))
        State.SkipWithError("GetText does not find the identifiers");
    std::size_t next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(lang->GetText(ids[next]));
        next = next + 1 == ids.size() ? 0 : next + 1;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_GetText);

// A message catalogue of the identifiers under a temporary directory, found
// through LANGUAGE; removed when the benchmark ends.
class TCatalogue {
public:
    TCatalogue()
        : FRoot(std::filesystem::temp_directory_path() /
                ("bench_gettext_" + std::to_string(::getpid()))) {
        const auto messages = FRoot / "zx" / "LC_MESSAGES";
        std::filesystem::create_directories(messages);
        const auto source = FRoot / "zxbench.po";
        {
            std::ofstream po(source);
            po << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
            for (int i = 0; i < kIdentifierCount; ++i)
                po << "\nmsgid \"" << IdentifierOf(i) << "\"\nmsgstr \"" << TextOf(i) << "\"\n";
        }
        const std::string command = "msgfmt -o '" + (messages / "zxbench.mo").string() + "' '" +
                                    source.string() + "'";
        FBuilt = std::system(command.c_str()) == 0;
        std::setlocale(LC_ALL, "C.UTF-8");
        ::setenv("LANGUAGE", "zx", 1);
        bindtextdomain(kDomain, FRoot.c_str());
    }
    ~TCatalogue() { std::filesystem::remove_all(FRoot); }
    TCatalogue(const TCatalogue&) = delete;
    TCatalogue& operator=(const TCatalogue&) = delete;

    bool Built() const { return FBuilt; }

private:
    std::filesystem::path FRoot;
    bool FBuilt = false;
};

void BM_Dgettext(benchmark::State& State) {
    TCatalogue catalogue;
    std::vector<AnsiString> ids;
    for (int i : LookupOrder())
        ids.push_back(IdentifierOf(i));
    if (!catalogue.Built())
        State.SkipWithError("msgfmt failed (Debian package gettext)");
    else if (TextOf(LookupOrder()[1]) != dgettext(kDomain, ids[1].c_str()))
        State.SkipWithError("dgettext does not translate from the catalogue");
    std::size_t next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(dgettext(kDomain, ids[next].c_str()));
        next = next + 1 == ids.size() ? 0 : next + 1;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_Dgettext);

void BM_UnorderedMap(benchmark::State& State) {
    std::unordered_map<WideString, WideString> texts;
    for (int i = 0; i < kIdentifierCount; ++i)
        texts.emplace(UTF8Decode(IdentifierOf(i)), UTF8Decode(TextOf(i)));
    std::vector<WideString> ids;
    for (int i : LookupOrder())
        ids.push_back(UTF8Decode(IdentifierOf(i)));
    std::size_t next = 0;
    for (auto _ : State) {
        auto found = texts.find(ids[next]);
        WideString text = found == texts.end() ? WideString() : found->second;
        benchmark::DoNotOptimize(text);
        next = next + 1 == ids.size() ? 0 : next + 1;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_UnorderedMap);

// GetText against QTranslator::translate on the same messages, compiled
// by lrelease at build time, both in the same iterations: each iteration
// looks up a thousand messages in a scrambled order.
constexpr std::size_t kBatch = 1000;

// A component holding the messages in two languages, showing the second,
// and the messages' identifiers in a scrambled order, looked up a batch at
// a time.
class TScrambledLookups {
public:
    explicit TScrambledLookups(const std::vector<TMessage>& Messages) {
        FLang->SetNumLang(2);
        TStringList lines;
        for (const TMessage& message : Messages)
            lines.Add(message.Id + '\1' + message.Id + '\1' + message.Text + '\1');
        FLang->SetStrings(&lines);
        FLang->SetActLang(2);
        for (std::size_t i = 0; i < Messages.size(); ++i)
            Order.push_back(&Messages[(i * 7919) % Messages.size()]);
        for (const TMessage* message : Order)
            Ids.push_back(UTF8Decode(message->Id));
    }
    bool Finds(std::size_t I) const { return FLang->GetText(Ids[I]) == UTF8Decode(Order[I]->Text); }
    void GetTextBatch() {
        for (std::size_t i = 0; i < kBatch; ++i)
            benchmark::DoNotOptimize(FLang->GetText(Ids[(FNext + i) % Ids.size()]));
        FNext = (FNext + kBatch) % Ids.size();
    }

    std::vector<const TMessage*> Order;
    std::vector<WideString> Ids;

private:
    std::unique_ptr<TzxLang> FLang = std::make_unique<TzxLang>(nullptr);
    std::size_t FNext = 0;
};

void MeasureAgainstTranslator(benchmark::State& State, const std::vector<TMessage>& Messages,
                              const char* QmFile) {
    TScrambledLookups lookups(Messages);
    QTranslator translator;
    if (!translator.load(QString::fromUtf8(QmFile)))
        State.SkipWithError("the lrelease catalogue is missing");
    if (!lookups.Finds(1) ||
        translator.translate(CatalogueContext, lookups.Order[1]->Id.c_str()).toStdString() !=
            lookups.Order[1]->Text)
        State.SkipWithError("a lookup does not find the messages");
    std::size_t translated = 0;
    MeasureAgainst(
        State, [&] { lookups.GetTextBatch(); },
        [&] {
            for (std::size_t i = 0; i < kBatch; ++i)
                benchmark::DoNotOptimize(translator.translate(
                    CatalogueContext, lookups.Order[(translated + i) % lookups.Order.size()]->Id.c_str()));
            translated = (translated + kBatch) % lookups.Order.size();
        });
    State.SetItemsProcessed(State.iterations() * static_cast<Int64>(kBatch));
}

void BM_GetTextAgainstQTranslator(benchmark::State& State) {
    MeasureAgainstTranslator(State, SyntheticMessages(), ZX_QM_DIR "/synthetic.qm");
}
BENCHMARK(BM_GetTextAgainstQTranslator)->UseManualTime();

// GetText against a hash map's find and a copy of the text found, on the
// synthetic messages, in the same iterations.
void BM_GetTextAgainstUnorderedMap(benchmark::State& State) {
    const std::vector<TMessage> messages = SyntheticMessages();
    TScrambledLookups lookups(messages);
    std::unordered_map<WideString, WideString> texts;
    for (const TMessage& message : messages)
        texts.emplace(UTF8Decode(message.Id), UTF8Decode(message.Text));
    if (!lookups.Finds(1))
        State.SkipWithError("GetText does not find the messages");
    std::size_t found = 0;
    MeasureAgainst(
        State, [&] { lookups.GetTextBatch(); },
        [&] {
            for (std::size_t i = 0; i < kBatch; ++i) {
                const auto text = texts.find(lookups.Ids[(found + i) % lookups.Ids.size()]);
                WideString copy = text == texts.end() ? WideString() : text->second;
                benchmark::DoNotOptimize(copy);
            }
            found = (found + kBatch) % lookups.Ids.size();
        });
    State.SetItemsProcessed(State.iterations() * static_cast<Int64>(kBatch));
}
BENCHMARK(BM_GetTextAgainstUnorderedMap)->UseManualTime();

void BM_GetTextAgainstQTranslatorOnACatalogue(benchmark::State& State) {
    MeasureAgainstTranslator(State, CatalogueMessages(), ZX_QM_DIR "/catalogue.qm");
}
BENCHMARK(BM_GetTextAgainstQTranslatorOnACatalogue)->UseManualTime();

} // namespace
