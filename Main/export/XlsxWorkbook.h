#pragma once

#include <pugixml.hpp>

#include <string>

#include "export/ExportColumn.h"
#include "export/ZipPackage.h"

namespace xls {

// A workbook package (.xlsx, .xlsm) opened from its bytes, with its first
// worksheet found through the workbook and its relationships. A package
// that is not a readable workbook raises TWorkbookUnreadable.
class TXlsxWorkbook {
public:
    explicit TXlsxWorkbook(std::string bytes);

    // Writes the column into the first worksheet (see WriteSheetColumn),
    // drops the calculation chain, which no longer matches the cells, and
    // asks for a full recalculation when the workbook is next opened.
    void WriteColumn(int column, const TExportColumn& cells);
    // The package with the changes. The workbook cannot be used afterwards.
    std::string Save();

private:
    void DropCalcChain();
    void RequestFullRecalculation();

    TZipPackage package_;
    std::string workbookName_;
    std::string sheetName_;
    pugi::xml_document workbook_;
    pugi::xml_document workbookRels_;
    pugi::xml_document contentTypes_;
    pugi::xml_document sheet_;
    bool relsChanged_ = false;
    bool typesChanged_ = false;
};

}  // namespace xls
