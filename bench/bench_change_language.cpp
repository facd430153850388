// Switching the language of a form with many labels: each line finds its
// component by a hash lookup, so the cost grows linearly with the number of
// labels, not with its square.
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "runtime/QzxComp.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

const char D = '\1';

class TLabelsForm : public TForm {
    ZX_CLASS(TLabelsForm, TForm)
public:
    TLabelsForm(TComponent* AOwner, Integer Count) : TForm(AOwner) {
        for (Integer index = 0; index < Count; ++index) {
            auto* label = NewComponent<TLabel>(this);
            label->SetName("Label" + IntToStr(index));
            label->SetParent(this);
            label->SetCaption("English " + IntToStr(index));
        }
    }
};

void BM_ChangeLanguage(benchmark::State& State) {
    auto count = static_cast<Integer>(State.range(0));
    auto* form = new TLabelsForm(nullptr, count);
    auto* lang = NewComponent<TzxLang>(form);
    lang->SetNumLang(2);
    for (Integer index = 0; index < count; ++index) {
        AnsiString number = IntToStr(index);
        lang->Captions()->Add("Label" + number + D + "English " + number + D + "Deutsch " + number +
                              D);
    }
    Integer language = 1;
    for (auto _ : State) {
        language = 3 - language;
        lang->SetActLang(language);
    }
    auto* last = static_cast<TLabel*>(form->FindComponent("Label" + IntToStr(count - 1)));
    AnsiString expected = (language == 2 ? "Deutsch " : "English ") + IntToStr(count - 1);
    if (last->Caption() != expected)
        State.SkipWithError("the labels do not show the active language");
    State.SetComplexityN(count);
    State.counters["labels"] = count;
    delete form;
}
BENCHMARK(BM_ChangeLanguage)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Complexity(benchmark::oN);

// The reference: program code that sets the same captions itself, each
// label found by name, with no translation component.
void BM_SetCaptionsDirectly(benchmark::State& State) {
    auto count = static_cast<Integer>(State.range(0));
    auto* form = new TLabelsForm(nullptr, count);
    std::vector<AnsiString> names;
    for (Integer index = 0; index < count; ++index)
        names.push_back("Label" + IntToStr(index));
    const std::array<AnsiString, 2> prefixes = {"English ", "Deutsch "};
    Integer language = 1;
    for (auto _ : State) {
        language = 3 - language;
        for (Integer index = 0; index < count; ++index)
            static_cast<TLabel*>(form->FindComponent(names[static_cast<std::size_t>(index)]))
                ->SetCaption(prefixes[static_cast<std::size_t>(language - 1)] + IntToStr(index));
    }
    State.SetComplexityN(count);
    delete form;
}
BENCHMARK(BM_SetCaptionsDirectly)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Complexity(benchmark::oN);

// Font lines find their character-set lines through one index per pass, so
// fonts and character sets together stay linear too.
void BM_ChangeFonts(benchmark::State& State) {
    auto count = static_cast<Integer>(State.range(0));
    auto* form = new TLabelsForm(nullptr, count);
    auto* lang = NewComponent<TzxLang>(form);
    lang->SetNumLang(2);
    for (Integer index = 0; index < count; ++index) {
        AnsiString name = "Label" + IntToStr(index);
        static_cast<TLabel*>(form->FindComponent(name))->SetParentFont(false);
        lang->Fonts()->Add(name + D + "Sans" + D + "Serif" + D);
        lang->CharSets()->Add(name + D + "DEFAULT_CHARSET" + D + "GREEK_CHARSET" + D);
    }
    Integer language = 1;
    for (auto _ : State) {
        language = 3 - language;
        lang->SetActLang(language);
    }
    auto* last = static_cast<TLabel*>(form->FindComponent("Label" + IntToStr(count - 1)));
    if (last->Font()->Charset() != (language == 2 ? GREEK_CHARSET : DEFAULT_CHARSET))
        State.SkipWithError("the fonts do not show the active language's character set");
    State.SetComplexityN(count);
    delete form;
}
BENCHMARK(BM_ChangeFonts)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Complexity(benchmark::oN);

} // namespace
