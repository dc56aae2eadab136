#include "export/CellRef.h"

#include <algorithm>

namespace xls {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int LetterValue(char c) { return (c & ~0x20) - 'A' + 1; }

}  // namespace

std::string ColumnName(int column) {
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
    return name;
}

std::string CellName(int column, int row) { return ColumnName(column) + std::to_string(row); }

std::optional<TCellRef> ParseCellRef(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$') ++i;
    TCellRef ref;
    const std::size_t lettersStart = i;
    for (; i < text.size() && IsLetter(text[i]) && i - lettersStart < 3; ++i)
        ref.Column = ref.Column * 26 + LetterValue(text[i]);
    if (i == lettersStart) return std::nullopt;
    if (i < text.size() && text[i] == '$') ++i;
    const std::size_t digitsStart = i;
    for (; i < text.size() && IsDigit(text[i]) && i - digitsStart < 7; ++i) ref.Row = ref.Row * 10 + (text[i] - '0');
    if (i == digitsStart || i != text.size()) return std::nullopt;
    if (ref.Column > kMaxColumn || ref.Row < 1 || ref.Row > kMaxRow) return std::nullopt;
    return ref;
}

std::optional<TCellRange> ParseCellRange(std::string_view text) {
    const std::size_t colon = text.find(':');
    const auto first = ParseCellRef(text.substr(0, colon));
    const auto last = colon == std::string_view::npos ? first : ParseCellRef(text.substr(colon + 1));
    if (!first || !last) return std::nullopt;
    return TCellRange{{std::min(first->Column, last->Column), std::min(first->Row, last->Row)},
                      {std::max(first->Column, last->Column), std::max(first->Row, last->Row)}};
}

}  // namespace xls
