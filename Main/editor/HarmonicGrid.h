#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "signal/SignalSet.h"

// The two grids of the signal window without widgets: the harmonic grid
// (every harmonic of the phase voltages, currents and line voltages, rows
// n = 2 ... 50) and the grid of angles between the n-th harmonics.
namespace edit {

constexpr int kGridColumns = 19;  // n, then coefficient and angle of nine quantities
constexpr int kGridRows = 50;     // the header row and n = 2 ... 50
constexpr int kAngleGridColumns = 10;

// Header of a column in indexed text; row 0 of the grid.
std::string_view GridHeader(int column);
// The text of a data cell (row 1 ... 49) as the records give it.
std::string GridCellText(const sig::TSignalSet& s, int row, int column);
// Columns 13 ... 18 (line voltages) and column 0 are computed, not entered.
bool GridReadOnly(int column);
// The in-place editor shows a cell without its degree sign.
std::string GridEditingText(std::string_view cellText);

// What leaving a cell whose text changed does.
struct TGridLeave {
    std::optional<std::string> Message;   // shown ("Warning")
    std::optional<std::string> CellText;  // the cell's new text; none: the cell keeps what was typed
    bool CursorStays = false;             // the cursor goes back to the cell
};
// `text` is the cell as typed, `remembered` the text it had when it was entered.
TGridLeave LeaveGridCell(sig::TSignalSet& s, int row, int column, std::string_view text, std::string_view remembered);

// Where Enter and Tab go: one row down; from the last row to row 1 of the
// next column, up to the last column, where the cursor stays.
struct TGridCell {
    int Row, Column;
};
TGridCell GridNextCell(int row, int column);

// Cell [1,1] must read as a number when the page is selected; the message otherwise.
std::optional<std::string> CheckFirstCell(std::string_view text);

// The angle grid: header and cells (rows 1 ... 49, read-only).
std::string_view AngleGridHeader(int column);
std::string AngleGridText(const sig::TSignalSet& s, int row, int column);

}  // namespace edit
