// What the editor's sources share about its grid: whole rows moved in one
// pass, so that sorting, filtering and deleting many rows stay linear.
#pragma once

#include "editor/QzxTransEditor.h"

#include "clx/Grids.h"
#include "runtime/QzxTranslationLine.h"

#include <vector>

// A row's texts and objects moved out of the grid (the row is left empty)
// and into it (Data is used up).
TGridRowData TakeGridRow(TStringGrid& Grid, Integer ARow);
void WriteGridRow(TStringGrid& Grid, Integer ARow, TGridRowData&& Data);
// Deletes the data rows listed (any order) in one pass; the grid keeps one
// data row, emptied, when every row goes.
void DeleteGridRows(TStringGrid& Grid, std::vector<Integer> Rows);

// The section name of a kind, as the tree and the captions show it.
AnsiString TypeName(TStringsType Kind);

// The shared sort direction of every editor: ascending or not.
bool SortDirectionAscending();
