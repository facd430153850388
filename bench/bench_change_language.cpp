// Switching the language of a form with many labels: each line finds its
// component by a hash lookup, so the cost grows linearly with the number of
// labels, not with its square.
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "runtime/QzxComp.h"

#include "BenchRatio.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

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

// A shown form of memos, combo boxes and labels in equal numbers, each
// with two languages of texts; the memos and combos hold three lines.
class TMixedForm : public TForm {
    ZX_CLASS(TMixedForm, TForm)
public:
    TMixedForm(Integer Count) : TForm(nullptr) {
        for (Integer index = 0; index < Count; ++index) {
            const AnsiString number = IntToStr(index);
            TControl* control = nullptr;
            if (index % 3 == 0)
                control = NewComponent<TMemo>(this);
            else if (index % 3 == 1)
                control = NewComponent<TComboBox>(this);
            else
                control = NewComponent<TLabel>(this);
            control->SetName(AnsiString(index % 3 == 0 ? "Memo" : index % 3 == 1 ? "Combo" : "Label") +
                             number);
            control->SetParent(this);
            FControls.push_back(control);
        }
    }

    // The value of language Language (1 or 2) of control Index.
    static AnsiString TextOf(Integer Index, Integer Language) {
        const AnsiString text = (Language == 1 ? "English " : "Deutsch ") + IntToStr(Index);
        return Index % 3 == 2 ? text : "\"" + text + " a\",\"" + text + " b\",\"" + text + " c\"";
    }

    // What the setters do for language Language: the lines as a program
    // keeps them, assigned at once, and the captions.
    void SetTexts(Integer Language) {
        for (std::size_t index = 0; index < FControls.size(); ++index) {
            const TStringList& lines = LinesOf(static_cast<Integer>(index), Language);
            if (auto* memo = dynamic_cast<TMemo*>(FControls[index]))
                memo->SetLines(&lines);
            else if (auto* combo = dynamic_cast<TComboBox*>(FControls[index]))
                combo->Items()->Assign(&lines);
            else
                static_cast<TLabel*>(FControls[index])->SetCaption(lines.Text());
        }
    }

    const TStringList& LinesOf(Integer Index, Integer Language) {
        auto& lines = FLines[static_cast<std::size_t>(Language - 1)];
        while (lines.size() <= static_cast<std::size_t>(Index)) {
            lines.push_back(std::make_unique<TStringList>());
            const auto made = static_cast<Integer>(lines.size()) - 1;
            if (made % 3 == 2)
                lines.back()->Add(TextOf(made, Language));
            else
                lines.back()->SetCommaText(TextOf(made, Language));
        }
        return *lines[static_cast<std::size_t>(Index)];
    }

    std::array<std::vector<std::unique_ptr<TStringList>>, 2> FLines;
    std::vector<TControl*> FControls;
};

void BM_ChangeLanguageShown(benchmark::State& State) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    RegisterClxClasses();
    Application->Initialize();
    const auto count = static_cast<Integer>(State.range(0));
    auto* form = new TMixedForm(count);
    auto* lang = NewComponent<TzxLang>(form);
    lang->SetNumLang(2);
    for (Integer index = 0; index < count; ++index) {
        const AnsiString key = form->FControls[static_cast<std::size_t>(index)]->Name();
        const AnsiString values = TMixedForm::TextOf(index, 1) + D + TMixedForm::TextOf(index, 2) + D;
        if (index % 3 == 0)
            lang->MultiLines()->Add(key + ".Lines" + D + values);
        else if (index % 3 == 1)
            lang->MultiLines()->Add(key + ".Items" + D + values);
        else
            lang->Captions()->Add(key + D + values);
    }
    form->SetTexts(1);
    form->SetTexts(2);
    form->HandleNeeded();
    form->Show();
    if (!form->FControls[0]->HandleAllocated())
        State.SkipWithError(WidgetsAvailable() ? "the controls have no widgets" : "no QApplication");
    Integer language = 1;
    MeasureAgainst(
        State,
        [&] {
            language = 3 - language;
            lang->SetActLang(language);
        },
        [&] { form->SetTexts(3 - language); });
    auto* memo = static_cast<TMemo*>(form->FControls[0]);
    if (memo->Lines()->CommaText() != TMixedForm::TextOf(0, language))
        State.SkipWithError("the memos do not show the active language");
    State.counters["controls"] = count;
    delete form;
}
BENCHMARK(BM_ChangeLanguageShown)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
