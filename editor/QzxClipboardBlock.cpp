#include "editor/QzxClipboardBlock.h"

#include <algorithm>

namespace {

constexpr char CellLineBreak = 30;
constexpr char CellTab = 29;

// The lines of a pasted text: split at LF, a CR before it dropped, a lone CR
// kept as a character of the cell.
std::vector<AnsiString> PastedLines(const AnsiString& Text) {
    std::vector<AnsiString> lines;
    std::size_t start = 0;
    while (start < Text.size()) {
        std::size_t end = Text.find('\n', start);
        if (end == AnsiString::npos)
            end = Text.size();
        AnsiString line = Text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r' && end < Text.size())
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

AnsiString FromClipboardCell(AnsiString Cell) {
    std::replace(Cell.begin(), Cell.end(), CellLineBreak, '\n');
    std::replace(Cell.begin(), Cell.end(), CellTab, '\t');
    return Cell;
}

AnsiString ToClipboardCell(AnsiString Cell) {
    std::replace(Cell.begin(), Cell.end(), '\n', CellLineBreak);
    std::replace(Cell.begin(), Cell.end(), '\t', CellTab);
    return Cell;
}

std::vector<AnsiString> PastedRow(AnsiString Line, Integer Columns) {
    std::vector<AnsiString> cells;
    Line += '\t';
    for (Integer column = 0; column < Columns; ++column) {
        const std::size_t tab = Line.find('\t');
        AnsiString cell;
        if (tab != AnsiString::npos) {
            cell = Line.substr(0, tab);
            Line.erase(0, tab + 1);
        }
        cells.push_back(FromClipboardCell(cell));
    }
    return cells;
}

} // namespace

AnsiString CopiedBlock(const TCellBlock& Cells) {
    AnsiString text;
    for (const std::vector<AnsiString>& row : Cells) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            text += ToClipboardCell(row[column]);
            if (column + 1 < row.size())
                text += '\t';
        }
        text += '\n';
    }
    return text;
}

TCellBlock PastedBlock(const AnsiString& Text, Integer Columns, Integer Rows) {
    TCellBlock cells;
    const std::vector<AnsiString> lines = PastedLines(Text);
    const std::size_t rows = std::min(lines.size(), static_cast<std::size_t>(std::max(Rows, 0)));
    for (std::size_t row = 0; row < rows; ++row)
        cells.push_back(PastedRow(lines[row], Columns));
    return cells;
}
