#include "export/SheetColumn.h"

#include <charconv>
#include <cmath>
#include <string>

#include "CommonUtils/TalvoError.h"
#include "export/CellRef.h"
#include "export/XmlPart.h"

namespace xls {
namespace {

using pugi::xml_node;

constexpr int kLastSheetRow = kFirstSheetRow + kExportRows - 1;

[[noreturn]] void Unreadable(const std::string& what) { throw TWorkbookUnreadable("worksheet: " + what); }

TCellRef CellOf(const xml_node& cell) {
    const auto ref = ParseCellRef(cell.attribute("r").value());
    if (!ref) Unreadable(std::string("bad cell reference \"") + cell.attribute("r").value() + "\"");
    return *ref;
}

int RowNumber(const xml_node& row) { return row.attribute("r").as_int(); }

// Rows and cells may leave out their reference and count on from the one
// before. Written cells are placed by reference, so every reference is
// spelled out first; the meaning of the sheet stays the same.
void MakeReferencesExplicit(const xml_node& sheetData) {
    int last = 0;
    for (xml_node row = FirstChild(sheetData, "row"); row; row = NextSibling(row, "row")) {
        if (!row.attribute("r")) SetAttribute(row, "r", std::to_string(last + 1));
        const int number = RowNumber(row);
        if (number <= last || number > kMaxRow) Unreadable("rows out of order");
        last = number;
        int column = 0;
        for (xml_node cell = FirstChild(row, "c"); cell; cell = NextSibling(cell, "c")) {
            if (!cell.attribute("r")) SetAttribute(cell, "r", CellName(column + 1, number));
            const TCellRef ref = CellOf(cell);
            if (ref.Row != number || ref.Column <= column) Unreadable("cells out of order");
            column = ref.Column;
        }
    }
}

[[noreturn]] void RefuseOwner(int column, const std::string& cells, const char* what) {
    const std::string name = ColumnName(column);
    throw cmn::TalvoError("Экспорт в столбец " + name + " невозможен: " + what + " " + cells +
                          " шаблона нельзя перезаписать, не разрушив формулы других ячеек. Очистите в шаблоне "
                          "строки " +
                          std::to_string(kFirstSheetRow) + "–" + std::to_string(kLastSheetRow) + " столбца " + name +
                          " или выберите другой столбец.");
}

void RefuseFormulaOwners(const xml_node& sheetData, int column) {
    const TCellRange written{{column, kFirstSheetRow}, {column, kLastSheetRow}};
    for (xml_node row = FirstChild(sheetData, "row"); row; row = NextSibling(row, "row"))
        for (xml_node cell = FirstChild(row, "c"); cell; cell = NextSibling(cell, "c")) {
            const xml_node formula = FirstChild(cell, "f");
            const std::string_view kind = formula.attribute("t").value();
            if (!formula.attribute("ref")) continue;
            const TCellRef at = CellOf(cell);
            if (kind == "shared" && written.Contains(at.Column, at.Row))
                RefuseOwner(column, cell.attribute("r").value(), "ячейку с общей формулой");
            const auto range = ParseCellRange(formula.attribute("ref").value());
            if ((kind == "array" || kind == "dataTable") && range && range->First.Column <= column &&
                range->Last.Column >= column && range->First.Row <= kLastSheetRow && range->Last.Row >= kFirstSheetRow)
                RefuseOwner(column, formula.attribute("ref").value(), "диапазон формулы массива");
        }
}

// The style of the column from the column records, "" when it has none.
std::string ColumnStyle(const xml_node& worksheet, int column) {
    for (xml_node col = FirstChild(FirstChild(worksheet, "cols"), "col"); col; col = NextSibling(col, "col"))
        if (column >= col.attribute("min").as_int() && column <= col.attribute("max").as_int())
            return col.attribute("style").value();
    return {};
}

std::string NumberText(double x) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, x).ptr;
    return std::string(text, end);
}

void ClearContent(xml_node cell) {
    for (const char* name : {"t", "cm", "vm"}) cell.remove_attribute(name);
    for (xml_node child = cell.first_child(); child;) {
        const xml_node next = child.next_sibling();
        if (!IsElement(child, "extLst")) cell.remove_child(child);
        child = next;
    }
}

void SetValue(xml_node cell, const std::string& text) {
    cell.prepend_child(NameLike(cell, "v").c_str()).text().set(text.c_str());
}

// Widens the row's span hint to the written column; a hint it cannot read is dropped.
void WidenSpans(xml_node row, int column) {
    const pugi::xml_attribute spans = row.attribute("spans");
    if (!spans) return;
    const std::string_view text = spans.value();
    const std::size_t colon = text.find(':');
    int first = 0, last = 0;
    if (colon == std::string_view::npos ||
        std::from_chars(text.data(), text.data() + colon, first).ptr != text.data() + colon ||
        std::from_chars(text.data() + colon + 1, text.data() + text.size(), last).ptr != text.data() + text.size()) {
        row.remove_attribute(spans);
        return;
    }
    SetAttribute(row, "spans", std::to_string(std::min(first, column)) + ":" + std::to_string(std::max(last, column)));
}

class TColumnWriter {
public:
    TColumnWriter(const xml_node& worksheet, const xml_node& sheetData, int column)
        : worksheet_(worksheet),
          sheetData_(sheetData),
          column_(column),
          columnStyle_(ColumnStyle(worksheet, column)),
          next_(FirstChild(sheetData, "row")) {}

    void Write(const TExportColumn& cells) {
        for (int index = 0; index < kExportRows; ++index) {
            const int number = kFirstSheetRow + index;
            const bool empty = std::holds_alternative<std::monostate>(cells[index]);
            if (const xml_node row = Row(number, !empty)) WriteCell(row, number, cells[index]);
        }
        WidenDimension();
    }

private:
    // The row element of a sheet row, created in order when asked to; rows
    // are visited in rising order, so one pass over the rows finds them all.
    xml_node Row(int number, bool create) {
        while (next_ && RowNumber(next_) < number) next_ = NextSibling(next_, "row");
        if (next_ && RowNumber(next_) == number) return next_;
        if (!create) return {};
        const std::string name = NameLike(sheetData_, "row");
        xml_node row =
            next_ ? sheetData_.insert_child_before(name.c_str(), next_) : sheetData_.append_child(name.c_str());
        SetAttribute(row, "r", std::to_string(number));
        return row;
    }

    // The cell of the column in a row, or where it would go.
    static xml_node FindCell(const xml_node& row, int column, xml_node& before) {
        for (xml_node cell = FirstChild(row, "c"); cell; cell = NextSibling(cell, "c")) {
            const int at = CellOf(cell).Column;
            if (at == column) return cell;
            if (at > column) {
                before = cell;
                return {};
            }
        }
        return {};
    }

    xml_node NewCell(xml_node row, int number, const xml_node& before) {
        const std::string name = NameLike(row, "c");
        xml_node cell = before ? row.insert_child_before(name.c_str(), before) : row.append_child(name.c_str());
        SetAttribute(cell, "r", CellName(column_, number));
        const bool rowStyled = row.attribute("customFormat").as_bool() && row.attribute("s");
        const std::string style = rowStyled ? row.attribute("s").value() : columnStyle_;
        if (!style.empty() && style != "0") SetAttribute(cell, "s", style);
        WidenSpans(row, column_);
        return cell;
    }

    void WriteCell(xml_node row, int number, const TExportCell& value) {
        xml_node before;
        xml_node cell = FindCell(row, column_, before);
        if (std::holds_alternative<std::monostate>(value)) {
            if (!cell) return;
            ClearContent(cell);
            if (!cell.attribute("s")) row.remove_child(cell);
            return;
        }
        if (!cell) cell = NewCell(row, number, before);
        ClearContent(cell);
        if (const auto* integer = std::get_if<std::int32_t>(&value)) {
            SetValue(cell, std::to_string(*integer));
        } else if (const double x = std::get<double>(value); std::isfinite(x)) {
            SetValue(cell, NumberText(x));
        } else {
            // A cell holds finite numbers only; what cannot be a number is shown as the error it is.
            SetAttribute(cell, "t", "e");
            SetValue(cell, "#NUM!");
        }
        firstWritten_ = firstWritten_ ? firstWritten_ : number;
        lastWritten_ = number;
    }

    // The used-range hint grows to cover the written cells.
    void WidenDimension() {
        const xml_node dimension = FirstChild(worksheet_, "dimension");
        const auto range = ParseCellRange(dimension.attribute("ref").value());
        if (!dimension || !range || !firstWritten_) return;
        const TCellRange wide{{std::min(range->First.Column, column_), std::min(range->First.Row, firstWritten_)},
                              {std::max(range->Last.Column, column_), std::max(range->Last.Row, lastWritten_)}};
        SetAttribute(dimension, "ref",
                     CellName(wide.First.Column, wide.First.Row) + ":" + CellName(wide.Last.Column, wide.Last.Row));
    }

    xml_node worksheet_;
    xml_node sheetData_;
    int column_;
    std::string columnStyle_;
    xml_node next_;
    int firstWritten_ = 0;
    int lastWritten_ = 0;
};

}  // namespace

void WriteSheetColumn(pugi::xml_document& sheet, int column, const TExportColumn& cells) {
    const xml_node worksheet = sheet.document_element();
    const xml_node sheetData = FirstChild(worksheet, "sheetData");
    if (!IsElement(worksheet, "worksheet") || !sheetData) Unreadable("no sheet data");
    MakeReferencesExplicit(sheetData);
    RefuseFormulaOwners(sheetData, column);
    TColumnWriter(worksheet, sheetData, column).Write(cells);
}

}  // namespace xls
