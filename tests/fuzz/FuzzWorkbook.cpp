// Arbitrary bytes as a workbook template: the package and its XML parts are
// read, the column is written and the package saved again. Anything that is
// not a workbook must end in one of the two reported failures.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "CommonUtils/TalvoError.h"
#include "export/ExportColumn.h"
#include "export/WorkbookError.h"
#include "export/XlsxWorkbook.h"

namespace {

const xls::TExportColumn& Column() {
    static const auto column = [] {
        auto c = std::make_unique<xls::TExportColumn>();
        for (int row = 0; row < xls::kExportRows; row += 3) (*c)[row] = row * 0.5;
        for (int row = 1; row < xls::kExportRows; row += 7) (*c)[row] = static_cast<std::int32_t>(row);
        return c;
    }();
    return *column;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    try {
        xls::TXlsxWorkbook workbook(std::string(reinterpret_cast<const char*>(data), size));
        workbook.WriteColumn(1 + data[0] % 8, Column());
        const std::string saved = workbook.Save();
        xls::TXlsxWorkbook again(saved);
    } catch (const xls::TWorkbookUnreadable&) {
    } catch (const cmn::TalvoError&) {
    }
    return 0;
}
