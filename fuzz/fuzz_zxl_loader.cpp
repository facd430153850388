// Arbitrary bytes as a text translation file, loaded whole and merged into a
// translation component. A reader may refuse the text with an exception of
// the library only, and a refused text leaves the component as it was.
#include "FuzzLangState.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// Runs one reader over the bytes on a fresh component that holds a line of
// its own in every list.
void Read(const std::uint8_t* Data, std::size_t Size,
          const std::function<void(TzxCustomLang& Lang, TStream& Stream)>& ReadText) {
    std::unique_ptr<TComponent> owner(NewComponent<TComponent>(nullptr));
    auto* lang = NewComponent<TzxLang>(owner.get());
    lang->SetNumLang(2);
    for (Integer kind = stCaptions; kind < StringsTypeCount; ++kind)
        if (TStrings* list = lang->GetPropListByType(static_cast<TStringsType>(kind)))
            list->Add(AnsiString("Kept") + '\1' + "one" + '\1' + "two" + '\1');
    const std::string before = LangStateOf(lang);
    TStringStream input(AnsiString(reinterpret_cast<const char*>(Data), Size));
    try {
        ReadText(*lang, input);
    } catch (const Exception&) {
        if (LangStateOf(lang) != before)
            std::abort();
    }
    if (owner->ComponentCount() != 1)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const bool registered = (InitQzxComp(), true);
    (void)registered;
    Read(Data, Size, [](TzxCustomLang& Lang, TStream& Stream) { Lang.LoadAllFromStream(Stream, true); });
    Read(Data, Size,
         [](TzxCustomLang& Lang, TStream& Stream) { Lang.LoadAllFromStream(Stream, false); });
    Read(Data, Size, [](TzxCustomLang& Lang, TStream& Stream) { Lang.MergeAllFromStream(Stream); });
    return 0;
}
