#pragma once

#include <pugixml.hpp>

#include "export/ExportColumn.h"

namespace xls {

// Writes the column into the worksheet part: row index r lands in sheet row
// r + kFirstSheetRow of `column`. A number replaces whatever the cell held
// (value, formula, text) and keeps the cell's style; an empty row removes the
// cell's content, and the cell itself unless it carries a style. New cells
// take the style of their row or column, as a value typed there would. Every
// other cell stays as it was.
// A formula that owns other cells (the master of a shared formula, an array
// or data-table range) in the written rows cannot be overwritten without
// breaking those cells: the template is refused with TalvoError.
void WriteSheetColumn(pugi::xml_document& sheet, int column, const TExportColumn& cells);

}  // namespace xls
