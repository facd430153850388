// What the editor's sources share about its grid: whole rows moved in one
// pass (sorting, filtering, deleting many rows stay linear), and the
// grid's screen updates suspended for a scope.
#pragma once

#include "editor/QzxTransEditor.h"

#include "editor/EditorControls.h"

#include <vector>

TGridRowData ReadGridRow(const TStringGrid& Grid, Integer ARow);
void WriteGridRow(TStringGrid& Grid, Integer ARow, const TGridRowData& Data);
// Rows 1 to the last, and back: the grid gets exactly these data rows.
std::vector<TGridRowData> ReadDataRows(const TStringGrid& Grid);
void WriteDataRows(TStringGrid& Grid, const std::vector<TGridRowData>& Rows);
// Deletes the data rows listed (any order) in one pass; the grid keeps one
// data row, emptied, when every row goes.
void DeleteGridRows(TStringGrid& Grid, std::vector<Integer> Rows);

// A translation line: the key, then value k of language k, each field
// ended by the delimiter; an empty value keeps its column.
class TTranslationLine {
public:
    TTranslationLine(const AnsiString& Line, char Delim);
    const AnsiString& Key() const { return FKey; }
    // Empty beyond the last value.
    AnsiString Value(Integer Language) const;
    static AnsiString Join(const std::vector<AnsiString>& Fields, char Delim);

private:
    AnsiString FKey;
    std::vector<AnsiString> FValues;
};

// The section name of a kind, as the tree and the captions show it.
AnsiString TypeName(TStringsType Kind);

// The shared sort direction of every editor: ascending or not.
bool SortDirectionAscending();
// Text with each tab expanded to the next multiple of eight columns.
AnsiString ExpandTabs(const AnsiString& Text);

// Screen updates off for the scope, one repaint at its end.
class TGridUpdateGuard {
public:
    explicit TGridUpdateGuard(TStringGrid& Grid) : FGrid(Grid) { FGrid.BeginUpdate(); }
    ~TGridUpdateGuard() {
        FGrid.EndUpdate();
        FGrid.Invalidate();
    }
    TGridUpdateGuard(const TGridUpdateGuard&) = delete;
    TGridUpdateGuard& operator=(const TGridUpdateGuard&) = delete;

private:
    TStringGrid& FGrid;
};
