// Arbitrary bytes as a form file holding a translation component: a binary
// form stream when they start with the stream's signature, form text
// otherwise. The reader may refuse them with an exception of the library
// only; a form it does read writes out and reads back.
#include "runtime/ZxLangRuntime.h"

#include "clx/Forms.h"
#include "rtl/Filer.h"
#include "rtl/FormText.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// The form stream of the bytes; false when the text converter refuses them.
bool FormStream(const std::uint8_t* Data, std::size_t Size, TMemoryStream& Binary) {
    const AnsiString bytes(reinterpret_cast<const char*>(Data), Size);
    if (Size >= sizeof FilerSignature && std::memcmp(Data, FilerSignature, sizeof FilerSignature) == 0) {
        Binary.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    } else {
        TStringStream text(bytes);
        try {
            ObjectTextToBinary(text, Binary);
        } catch (const Exception&) {
            return false;
        }
    }
    Binary.SetPosition(0);
    return true;
}

std::unique_ptr<TComponent> ReadForm(TStream& Binary) {
    try {
        return std::unique_ptr<TComponent>(ReadComponent(Binary));
    } catch (const Exception&) {
        return nullptr;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const bool registered = (RegisterClxClasses(), InitZxLangRuntime(), true);
    (void)registered;
    TMemoryStream binary;
    if (!FormStream(Data, Size, binary))
        return 0;
    std::unique_ptr<TComponent> form = ReadForm(binary);
    if (!form)
        return 0;
    TMemoryStream written;
    try {
        WriteComponent(written, form.get());
    } catch (const EWriteError&) {
        return 0;
    }
    written.SetPosition(0);
    form.reset();
    std::unique_ptr<TComponent> again(ReadComponent(written));
    return 0;
}
