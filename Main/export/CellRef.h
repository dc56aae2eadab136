#pragma once

#include <optional>
#include <string>
#include <string_view>

// A1-style cell references of a worksheet.
namespace xls {

constexpr int kMaxColumn = 16384;  // XFD
constexpr int kMaxRow = 1048576;

struct TCellRef {
    int Column = 0;  // 1 = A
    int Row = 0;     // 1 = first row
};

struct TCellRange {
    TCellRef First, Last;
    bool Contains(int column, int row) const {
        return column >= First.Column && column <= Last.Column && row >= First.Row && row <= Last.Row;
    }
};

// "A" for 1, "Z" for 26, "AA" for 27.
std::string ColumnName(int column);
std::string CellName(int column, int row);
// "B3", "$B$3"; empty for anything else or for a cell off the sheet.
std::optional<TCellRef> ParseCellRef(std::string_view text);
// "B3:D7" or a single cell.
std::optional<TCellRange> ParseCellRange(std::string_view text);

}  // namespace xls
