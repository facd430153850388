// The Translation Editor's block of cells on the clipboard: the cells of a
// row separated by TAB, every row ended by LF, a LF inside a cell written
// as the byte 30 and a TAB as the byte 29. Text only, so that what another
// program pastes is read here without a grid.
#pragma once

#include "rtl/System.h"

#include <vector>

using TCellBlock = std::vector<std::vector<AnsiString>>;

// The clipboard text of the rows of Cells.
AnsiString CopiedBlock(const TCellBlock& Cells);

// The cells Text gives a selection of Columns x Rows: one row per line, no
// more rows than the selection has; in a row, missing cells are empty and
// cells beyond the selection are dropped. A CR before a LF ends no cell.
TCellBlock PastedBlock(const AnsiString& Text, Integer Columns, Integer Rows);
