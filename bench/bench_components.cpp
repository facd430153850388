// FindComponent on a large owner and GetPropInfo by name: both are hash
// lookups, so their cost must not grow with the number of components or
// properties.
#include "rtl/Classes.h"

#include <benchmark/benchmark.h>

#include <unordered_map>

namespace {

void FillOwner(TComponent& Owner, Integer Count) {
    for (Integer index = 0; index < Count; ++index)
        NewComponent<TComponent>(&Owner)->SetName("Component" + std::to_string(index));
}

// Every 97th component's name, upper-cased.
std::vector<AnsiString> SampledNames(Integer Count) {
    std::vector<AnsiString> names;
    for (Integer index = 0; index < Count; index += 97)
        names.push_back("COMPONENT" + std::to_string(index));
    return names;
}

void BM_FindComponent(benchmark::State& State) {
    auto count = static_cast<Integer>(State.range(0));
    TComponent owner(nullptr);
    FillOwner(owner, count);
    const std::vector<AnsiString> names = SampledNames(count);
    std::size_t next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(owner.FindComponent(names[next]));
        next = (next + 1) % names.size();
    }
}
BENCHMARK(BM_FindComponent)->Arg(100)->Arg(10000);

// The reference: the same names, upper-cased beforehand, in a standard hash
// map (FindComponent ignores case).
void BM_UnorderedMapFind(benchmark::State& State) {
    auto count = static_cast<Integer>(State.range(0));
    std::unordered_map<AnsiString, Integer> components;
    for (Integer index = 0; index < count; ++index)
        components.emplace("COMPONENT" + std::to_string(index), index);
    const std::vector<AnsiString> names = SampledNames(count);
    std::size_t next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(components.find(names[next]));
        next = (next + 1) % names.size();
    }
}
BENCHMARK(BM_UnorderedMapFind)->Arg(100)->Arg(10000);

void BM_FindMissingComponent(benchmark::State& State) {
    TComponent owner(nullptr);
    FillOwner(owner, 10000);
    AnsiString missing = "NoSuchComponent";
    for (auto _ : State)
        benchmark::DoNotOptimize(owner.FindComponent(missing));
}
BENCHMARK(BM_FindMissingComponent);

// Four levels of classes with ten properties each.
template <int Level> class TLayer : public TLayer<Level - 1> {
public:
    explicit TLayer(TComponent* AOwner) : TLayer<Level - 1>(AOwner) {}
    static TClass StaticClass() {
        static const TClassInfo info{"TLayer", TLayer<Level - 1>::StaticClass(),
                                     ZxOwnPropertiesOf<TLayer>(), nullptr};
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
    static void PublishedProperties(TPropertyBuilder<TLayer>& P) {
        for (int index = 0; index < 10; ++index)
            P.Property("Level" + std::to_string(Level) + "Value" + std::to_string(index),
                       &TLayer::FValue);
    }
    Integer FValue = 0;
};

template <> class TLayer<0> : public TComponent {
public:
    explicit TLayer(TComponent* AOwner) : TComponent(AOwner) {}
};

void BM_GetPropInfo(benchmark::State& State) {
    TLayer<4> object(nullptr);
    std::vector<AnsiString> names = {"Level1Value3", "level4value9", "Tag",
                                     "LEVEL2VALUE0", "Name",         "Missing"};
    std::size_t next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(GetPropInfo(&object, names[next]));
        next = (next + 1) % names.size();
    }
}
BENCHMARK(BM_GetPropInfo);

void BM_GetOrdPropByName(benchmark::State& State) {
    TLayer<4> object(nullptr);
    AnsiString name = "Level3Value5";
    for (auto _ : State)
        benchmark::DoNotOptimize(GetOrdProp(&object, name));
}
BENCHMARK(BM_GetOrdPropByName);

} // namespace
