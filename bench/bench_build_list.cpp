// Collecting the texts of a form of 1,000 and 10,000 labels into a
// translation component, against a plain collector that reads the same
// published string properties and font names into a hash map.
#include "clx/Forms.h"
#include "clx/StdCtrls.h"
#include "runtime/QzxComp.h"

#include "BenchRatio.h"

#include <benchmark/benchmark.h>

#include <unordered_map>

namespace {

class TLabelsForm : public TForm {
    ZX_CLASS(TLabelsForm, TForm)
public:
    TLabelsForm(TComponent* AOwner, Integer Count) : TForm(AOwner) {
        for (Integer index = 0; index < Count; ++index) {
            auto* label = NewComponent<TLabel>(this);
            label->SetName("Label" + IntToStr(index));
            label->SetParent(this);
            label->SetCaption("Caption of label " + IntToStr(index));
            label->SetHint("Hint of label " + IntToStr(index));
        }
    }
};

void CollectPlainly(TComponent& Owner, std::unordered_map<AnsiString, AnsiString>& Texts) {
    Texts.clear();
    for (Integer index = 0; index < Owner.ComponentCount(); ++index) {
        TComponent* component = Owner.Components(index);
        for (PPropInfo prop : GetPropList(component, TTypeKinds{tkString, tkLString, tkWString}))
            Texts.emplace(component->Name() + "." + prop->Name, GetStrProp(component, prop));
        if (PPropInfo fontProp = GetPropInfo(component->ClassType(), "Font", TTypeKinds{tkClass}))
            if (auto* font = dynamic_cast<TFont*>(GetObjectProp(component, fontProp)))
                Texts.emplace(component->Name() + ".Font", font->Name());
    }
}

void BM_BuildList(benchmark::State& State) {
    const auto count = static_cast<Integer>(State.range(0));
    auto* form = new TLabelsForm(nullptr, count);
    auto* lang = NewComponent<TzxLang>(form);
    std::unordered_map<AnsiString, AnsiString> texts;
    MeasureAgainst(
        State,
        [&] {
            lang->ClearTranslations();
            lang->BuildList();
        },
        [&] { CollectPlainly(*form, texts); });
    if (lang->Captions()->Count() < count || lang->Hints()->Count() < count)
        State.SkipWithError("BuildList missed labels");
    State.counters["labels"] = count;
    delete form;
}
BENCHMARK(BM_BuildList)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
