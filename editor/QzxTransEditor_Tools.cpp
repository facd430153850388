// The Translation Editor's tools: the check of format strings, the
// language names and the statistics.
#include "editor/QzxTransEditor.h"

#include "editor/Q_langnames.h"
#include "editor/Q_statistics.h"

#include "clx/Dialogs.h"
#include "clx/Menus.h"

#include <algorithm>
#include <optional>

namespace {

// What Format takes for one argument: its index and its conversion letter
// (upper case), or '*' for a width or precision taken from the arguments.
struct TFormatArgument {
    std::size_t Index;
    char Conversion;
    auto operator<=>(const TFormatArgument&) const = default;
};

bool IsDigit(char Ch) {
    return Ch >= '0' && Ch <= '9';
}

// The arguments Text asks for, in the order Format takes them: a specifier
// without an index takes the one after the last taken, an index "n:" moves
// to n. A specifier cut off by the end of the text ends in the letter 0.
std::vector<TFormatArgument> FormatArguments(const AnsiString& Text) {
    std::vector<TFormatArgument> arguments;
    std::size_t next = 0;
    std::size_t pos = 0;
    auto at = [&]() { return pos < Text.size() ? Text[pos] : '\0'; };
    auto skipCount = [&]() {
        if (at() == '*') {
            arguments.push_back({next++, '*'});
            ++pos;
            return;
        }
        while (IsDigit(at()))
            ++pos;
    };
    while ((pos = Text.find('%', pos)) != AnsiString::npos) {
        ++pos;
        if (at() == '%') {
            ++pos;
            continue;
        }
        const std::size_t digits = pos;
        while (IsDigit(at()))
            ++pos;
        if (at() == ':' && pos > digits) {
            next = std::stoul(Text.substr(digits, std::min<std::size_t>(pos - digits, 9)));
            ++pos;
        } else {
            pos = digits;
        }
        if (at() == '-')
            ++pos;
        skipCount();
        if (at() == '.') {
            ++pos;
            skipCount();
        }
        const char conversion = at();
        arguments.push_back(
            {next++, static_cast<char>(std::toupper(static_cast<unsigned char>(conversion)))});
        if (conversion != '\0')
            ++pos;
    }
    return arguments;
}

} // namespace

bool CompareFormatSpecifiers(const AnsiString& Base, const AnsiString& Translation) {
    if (Base.empty() || Translation.empty())
        return true;
    // Indexes let a translation take the arguments in its own order: what
    // counts is which argument each conversion gets.
    std::vector<TFormatArgument> base = FormatArguments(Base);
    std::vector<TFormatArgument> translation = FormatArguments(Translation);
    std::sort(base.begin(), base.end());
    std::sort(translation.begin(), translation.end());
    return base == translation;
}

void TzxTransEditFrm::miCheckFmtStrClick(TObject*) {
    if (FCurrentType != stStrings || ExtendedShown())
        return;
    Grid1->SetEditorMode(false);
    // Rows a filter hides are checked too.
    const Integer filterMode = FFilterMode;
    if (filterMode != 0)
        ApplyFilter(0);
    Screen->SetCursor(crHourGlass);
    bool problems = false;
    std::optional<Integer> stopRow;
    try {
        for (Integer row = 1; row < Grid1->RowCount() && !stopRow; ++row) {
            const AnsiString base = Grid1->Cells(1, row);
            bool ok = true;
            for (Integer column = 2; column < Grid1->ColCount() && ok; ++column)
                ok = CompareFormatSpecifiers(base, Grid1->Cells(column, row));
            if (ok)
                continue;
            const Integer answer = MessageDlg(
                Format("Format string (%s):\r\n\r\n\"%s\"\r\n\r\ndoes not match with its "
                       "translation(s).",
                       {Grid1->Cells(0, row), base}),
                mtWarning, {mbAbort, mbIgnore}, 0);
            if (answer == mrIgnore)
                problems = true;
            else
                stopRow = row;
        }
    } catch (...) {
        Screen->SetCursor(crDefault);
        if (filterMode != 0)
            ApplyFilter(filterMode);
        throw;
    }
    Screen->SetCursor(crDefault);
    if (stopRow) {
        ShowRowOnTop(Grid1->Cells(0, *stopRow), *stopRow);
        return;
    }
    if (filterMode != 0)
        ApplyFilter(filterMode);
    if (problems)
        MessageDlg("Translation Editor has detected inconsistency in format specifiers.", mtWarning,
                   {mbOk}, 0);
    else
        MessageDlg("Translation Editor has not found any problems in format strings.",
                   mtInformation, {mbOk}, 0);
}

// The filter comes back; when it would hide the row, every row is shown.
void TzxTransEditFrm::ShowRowOnTop(AnsiString Key, Integer ARow) {
    Integer row = ARow;
    if (FFilterMode != 0) {
        ApplyFilter(FFilterMode);
        row = 1;
        while (row < Grid1->RowCount() && Grid1->Cells(0, row) != Key)
            ++row;
        if (row == Grid1->RowCount()) {
            ApplyFilterExecute(MenuItem("miAllEntries"));
            row = ARow;
        }
    }
    Grid1->SetRow(row);
    Grid1->SetTopRow(row);
}

void TzxTransEditFrm::miLanguagesClick(TObject*) {
    Grid1->SetEditorMode(false);
    auto names = std::make_unique<TStringList>();
    for (Integer column = 1; column < Grid1->ColCount(); ++column)
        names->Add(Grid1->Cells(column, 0));
    if (ChangeLanguagesDlg(names.get()) != mrOk)
        return;
    for (Integer index = 0; index < names->Count() && index + 1 < Grid1->ColCount(); ++index)
        Grid1->SetCells(index + 1, 0, names->Get(index));
    FWorkingCopy->LangNames()->Assign(names.get());
    Grid1->Invalidate();
    FModified = true;
}

void TzxTransEditFrm::Statistics1Click(TObject*) {
    Grid1->SetEditorMode(false);
    // The counts read the working copy, which the grid is written into first.
    UpdateProperty(FCurrentType, ExtendedShown());
    RefreshGrid();
    DisplayStatistics(FWorkingCopy, FOwnerClassName);
}
