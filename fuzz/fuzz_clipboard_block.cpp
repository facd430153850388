// Arbitrary bytes as a block pasted into the Translation Editor's grid: the
// first two bytes choose the selection, the rest is the clipboard text.
// The block has a row per line up to the selection's rows and exactly the
// selection's columns in each; copied out again it pastes back the same,
// but for a CR that ends a row's last cell, which the copy cannot keep.
#include "editor/QzxClipboardBlock.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool EndsInCR(const TCellBlock& Cells) {
    for (const std::vector<AnsiString>& row : Cells)
        if (!row.empty() && !row.back().empty() && row.back().back() == '\r')
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size < 2)
        return 0;
    const Integer columns = Data[0] % 12 + 1;
    const Integer rows = Data[1] % 40;
    const AnsiString text(reinterpret_cast<const char*>(Data + 2), Size - 2);
    const TCellBlock cells = PastedBlock(text, columns, rows);
    if (cells.size() > static_cast<std::size_t>(rows))
        std::abort();
    for (const std::vector<AnsiString>& row : cells)
        if (row.size() != static_cast<std::size_t>(columns))
            std::abort();
    if (!EndsInCR(cells) && PastedBlock(CopiedBlock(cells), columns, rows) != cells)
        std::abort();
    return 0;
}
