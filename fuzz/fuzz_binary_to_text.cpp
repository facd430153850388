// Arbitrary bytes as a binary component stream or form resource. The
// converter may refuse them with one of the run-time library's exceptions;
// text it does print must read back, and a second pass through both
// converters must give the same binary again.
#include "rtl/Classes.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string Content(TMemoryStream& Stream) {
    return std::string(reinterpret_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.Size()));
}

std::string Normalize(TStringStream& Text) {
    TMemoryStream binary;
    Text.SetPosition(0);
    ObjectTextToBinary(Text, binary);
    return Content(binary);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    TMemoryStream input;
    input.WriteBuffer(Data, static_cast<Integer>(Size));
    input.SetPosition(0);
    TStringStream text;
    try {
        if (Size > 0 && Data[0] == 0xFF)
            ObjectResourceToText(input, text);
        else
            ObjectBinaryToText(input, text);
    } catch (const Exception&) {
        return 0;
    }
    std::string binary = Normalize(text);

    TMemoryStream again;
    again.WriteBuffer(binary.data(), static_cast<Integer>(binary.size()));
    again.SetPosition(0);
    TStringStream secondText;
    ObjectBinaryToText(again, secondText);
    if (Normalize(secondText) != binary)
        std::abort();
    return 0;
}
