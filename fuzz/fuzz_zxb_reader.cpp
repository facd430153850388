// Arbitrary bytes as a binary translation file, read whole by a manager and
// loaded as one form's entry into a translation component. A reader may
// refuse the bytes with an exception of the library only; a refused load
// leaves the component exactly as it was; what a manager did read writes
// out and reads back to the same entries.
#include "FuzzLangState.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// The owner class name the seeds file their entries under.
const AnsiString OwnerName = "TComponent";

void CheckWritesBack(TZXBFileManager& Manager) {
    TMemoryStream written;
    try {
        Manager.SaveToStream(written);
    } catch (const EWriteError&) {
        return;
    }
    written.SetPosition(0);
    TZXBFileManager again;
    again.ReadStreamContent(written);
    if (again.GetCompCount() != Manager.GetCompCount() ||
        again.OwnerNames()->Text() != Manager.OwnerNames()->Text())
        std::abort();
}

void ReadWhole(const std::uint8_t* Data, std::size_t Size) {
    TStringStream input(AnsiString(reinterpret_cast<const char*>(Data), Size));
    TZXBFileManager manager;
    try {
        manager.ReadStreamContent(input);
    } catch (const Exception&) {
        if (manager.GetCompCount() != 0)
            std::abort();
        return;
    }
    CheckWritesBack(manager);
}

void LoadEntry(const std::uint8_t* Data, std::size_t Size) {
    std::unique_ptr<TComponent> owner(NewComponent<TComponent>(nullptr));
    auto* lang = NewComponent<TzxLang>(owner.get());
    const std::string before = LangStateOf(lang);
    TStringStream input(AnsiString(reinterpret_cast<const char*>(Data), Size));
    try {
        TZXBFileManager().LoadFromStream(lang, OwnerName, input);
    } catch (const Exception&) {
        if (LangStateOf(lang) != before)
            std::abort();
    }
    if (lang->ComponentCount() != 0 || owner->ComponentCount() != 1)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const bool registered = (InitQzxComp(), true);
    (void)registered;
    ReadWhole(Data, Size);
    LoadEntry(Data, Size);
    return 0;
}
