// Arbitrary bytes as a component stream, read into the streaming tests'
// sample classes (every property kind, sub-objects, collections, lists,
// references, events, a defined binary property, parented and inline
// children). The reader may refuse the bytes with EReadError only; a
// component it does read must write out and read back, and nothing it
// created may outlive it.
#include "../tests/platform/rtl/streaming/StreamComponents.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace streamtest;

namespace {

void Load(TMemoryStream& Stream, const void* Data, std::size_t Size) {
    Stream.WriteBuffer(Data, static_cast<Integer>(Size));
    Stream.SetPosition(0);
}

// What was read writes out (unless a name gets too long for the format)
// and reads back.
void CheckWritesBack(TComponent* Component) {
    TMemoryStream written;
    try {
        WriteComponent(written, Component);
    } catch (const EWriteError&) {
        return;
    }
    written.SetPosition(0);
    std::unique_ptr<TComponent> again(ReadComponent(written));
}

void ReadAsNewRoot(const std::uint8_t* Data, std::size_t Size) {
    TMemoryStream input;
    Load(input, Data, Size);
    std::unique_ptr<TComponent> read;
    try {
        read.reset(ReadComponent(input));
    } catch (const EReadError&) {
        return;
    }
    CheckWritesBack(read.get());
}

void ReadIntoInstance(const std::uint8_t* Data, std::size_t Size) {
    std::unique_ptr<TComponent> owner(NewComponent<TComponent>(nullptr));
    auto* target = NewComponent<TSample>(owner.get());
    TMemoryStream input;
    Load(input, Data, Size);
    try {
        ReadComponent(input, target);
    } catch (const EReadError&) {
        if (target->Owner() != owner.get() || owner->ComponentCount() != 1 ||
            target->ComponentCount() != 0)
            std::abort();
        return;
    }
    CheckWritesBack(target);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const bool registered = (RegisterSampleClasses(), true);
    (void)registered;
    ReadAsNewRoot(Data, Size);
    ReadIntoInstance(Data, Size);
    if (LiveSamples != 0)
        std::abort();
    return 0;
}
