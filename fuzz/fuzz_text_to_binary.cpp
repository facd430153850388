// Arbitrary bytes as form text. The converter may refuse them with one of
// the run-time library's exceptions; a binary it does produce must print
// as text that converts back to exactly that binary, and the text must
// also survive the trip through a form resource.
#include "rtl/Classes.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string Content(TMemoryStream& Stream) {
    return std::string(reinterpret_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.Size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    TStringStream input(std::string(reinterpret_cast<const char*>(Data), Size));
    TMemoryStream binary;
    try {
        ObjectTextToBinary(input, binary);
    } catch (const Exception&) {
        return 0;
    }
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);

    text.SetPosition(0);
    TMemoryStream again;
    ObjectTextToBinary(text, again);
    if (Content(again) != Content(binary))
        std::abort();

    text.SetPosition(0);
    TMemoryStream resource;
    ObjectTextToResource(text, resource);
    resource.SetPosition(0);
    TStringStream resourceText;
    ObjectResourceToText(resource, resourceText);
    if (resourceText.DataString() != text.DataString())
        std::abort();
    return 0;
}
