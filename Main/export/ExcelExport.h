#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "CommonUtils/ProtocolLog.h"
#include "signal/SignalSet.h"

// Export of one signal's computed values as a column of a workbook made from
// a template (.xlsx, .xlsm), edited directly as a package.
namespace xls {

struct TExportRequest {
    std::string TemplatePath;
    bool IntoNewFile = false;  // "в новый файл на основе шаблона"; otherwise into the template itself
    std::string OutputPath;
    bool Console = false;
    int Column = 2;
};

// Shows a finished workbook to the user; the window program opens it with
// the desktop's spreadsheet program.
class IWorkbookOpener {
public:
    virtual ~IWorkbookOpener() = default;
    // False when the program that shows it could not be started.
    virtual bool Open(const std::string& path) = 0;
};

// Starts "xdg-open" with the file and does not wait for it.
class TDesktopOpener : public IWorkbookOpener {
public:
    bool Open(const std::string& path) override;
};

// Writes the column of the signal's records (recomputed by the caller) into
// sheet rows 3 ... 3075 of the first worksheet. The workbook file is replaced
// atomically, so a failed export leaves it as it was. Every failure is
// reported (console: an error line of the log; window: a warning) and gives false.
bool ExportToExcel(const TExportRequest& request, const sig::TSignalSet& signal, cmn::IProtocolLog& log);

// The file the export writes: the output path for a new file, else the template.
const std::string& ExportedWorkbookPath(const TExportRequest& request);

// The column the dialog proposes for its entry "Сигнал k" (index k - 1): 2, 6, 10, …
int ProposedColumn(int signalIndex);

// The dialog's proposal for a new file: local time as "yymmdd_hhmmsszzz"
// and the template's extension (".xlsx" when it has none of the two).
std::string ProposedExportFileName(std::chrono::system_clock::time_point now, std::string_view templatePath);

// The dialog's "Экспорт": the column field as typed, then the export in
// window use; on success the workbook is shown by the opener (a failure to
// start it is shown as a warning; the export itself has succeeded).
bool ExportFromDialog(std::string_view columnText, TExportRequest request, const sig::TSignalSet& signal,
                      cmn::IProtocolLog& log, IWorkbookOpener& opener);

}  // namespace xls
