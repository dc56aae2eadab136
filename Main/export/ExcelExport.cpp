#include "export/ExcelExport.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "export/CellRef.h"
#include "export/ExportColumn.h"
#include "export/WorkbookError.h"
#include "export/XlsxWorkbook.h"
#include "files/AtomicFile.h"

namespace xls {
namespace {

constexpr const char* kNoTemplate = "Шаблон для экспорта не указан!";
constexpr const char* kNoOutputName = "Наименование файла экспорта не указано!";
constexpr const char* kCopyFailed = "Ошибка создания файла экспорта!";
constexpr const char* kOpenFailed = "Ошибка при открытии файла экспорта!";
constexpr const char* kXlsRefused =
    "Книги формата .xls (Excel 97–2003) не поддерживаются. Сохраните шаблон в Excel как книгу .xlsx или .xlsm.";

// A failure goes to the console as an error line, in window use into a warning.
void Report(bool console, cmn::IProtocolLog& log, const std::string& text) {
    if (!console && log.Interactive()) log.Ask(text, cmn::MessageKind::Warning, cmn::Buttons::Ok);
    else log.Log(cmn::LogType::Error, text);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string Extension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    return Lower(path.substr(dot));
}

bool IsPackageExtension(const std::string& extension) { return extension == ".xlsx" || extension == ".xlsm"; }

// The compound-file signature every .xls workbook starts with.
bool IsCompoundFile(std::string_view bytes) { return bytes.substr(0, 8) == "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"; }

void CheckRequest(const TExportRequest& request) {
    if (request.TemplatePath.empty()) throw cmn::TalvoError(kNoTemplate);
    if (request.IntoNewFile && request.OutputPath.empty()) throw cmn::TalvoError(kNoOutputName);
    if (Extension(request.TemplatePath) == ".xls" || (request.IntoNewFile && Extension(request.OutputPath) == ".xls"))
        throw cmn::TalvoError(kXlsRefused);
    // A macro-enabled package under an .xlsx name, or the reverse, is a file Excel will not open.
    const std::string from = Extension(request.TemplatePath);
    const std::string to = Extension(request.OutputPath);
    if (request.IntoNewFile && IsPackageExtension(from) && IsPackageExtension(to) && from != to)
        throw cmn::TalvoError("Файл экспорта должен иметь расширение шаблона " + from);
    if (request.Column < 1 || request.Column > kMaxColumn)
        throw cmn::TalvoError("Номер столбца должен быть от 1 до " + std::to_string(kMaxColumn));
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// An existing file is replaced by a fresh copy of the template.
void CopyTemplate(const std::string& from, const std::string& to) {
    const auto bytes = ReadFile(from);
    if (!bytes) throw cmn::TalvoError(kCopyFailed);
    if (IsCompoundFile(*bytes)) throw cmn::TalvoError(kXlsRefused);
    try {
        files::WriteFileAtomic(to, *bytes);
    } catch (const cmn::TalvoError&) {
        throw cmn::TalvoError(kCopyFailed);
    }
}

std::unique_ptr<TXlsxWorkbook> OpenWorkbook(const std::string& path) {
    auto bytes = ReadFile(path);
    if (!bytes) throw cmn::TalvoError(kOpenFailed);
    if (IsCompoundFile(*bytes)) throw cmn::TalvoError(kXlsRefused);
    try {
        return std::make_unique<TXlsxWorkbook>(std::move(*bytes));
    } catch (const TWorkbookUnreadable&) {
        throw cmn::TalvoError(kOpenFailed);
    }
}

void WriteWorkbook(TXlsxWorkbook& workbook, int column, const TExportColumn& cells, const std::string& path) {
    std::string bytes;
    try {
        workbook.WriteColumn(column, cells);
        bytes = workbook.Save();
    } catch (const TWorkbookUnreadable&) {
        throw cmn::TalvoError(kOpenFailed);
    }
    files::WriteFileAtomic(path, bytes);
}

void RunExport(const TExportRequest& request, const sig::TSignalSet& signal) {
    CheckRequest(request);
    const std::string& path = ExportedWorkbookPath(request);
    if (request.IntoNewFile) CopyTemplate(request.TemplatePath, path);
    const auto workbook = OpenWorkbook(path);
    const auto cells = std::make_unique<TExportColumn>();
    FillExportColumn(signal, *cells);
    WriteWorkbook(*workbook, request.Column, *cells, path);
}

}  // namespace

bool ExportToExcel(const TExportRequest& request, const sig::TSignalSet& signal, cmn::IProtocolLog& log) {
    try {
        RunExport(request, signal);
        return true;
    } catch (const cmn::TalvoError& e) {
        Report(request.Console, log, e.what());
        return false;
    }
}

const std::string& ExportedWorkbookPath(const TExportRequest& request) {
    return request.IntoNewFile ? request.OutputPath : request.TemplatePath;
}

int ProposedColumn(int signalIndex) { return 4 * signalIndex + 2; }

std::string ProposedExportFileName(std::chrono::system_clock::time_point now, std::string_view templatePath) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d%02d%02d_%02d%02d%02d%03d", local.tm_year % 100, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
    const std::string extension = Extension(templatePath);
    return stamp + (extension == ".xlsm" ? extension : std::string(".xlsx"));
}

bool ExportFromDialog(std::string_view columnText, TExportRequest request, const sig::TSignalSet& signal,
                      cmn::IProtocolLog& log, IWorkbookOpener& opener) {
    const auto column = cmn::ParseInt(columnText);
    if (!column) {
        Report(false, log, "Ошибка при вводе номера столбца!");
        return false;
    }
    request.Column = *column;
    request.Console = false;
    if (!ExportToExcel(request, signal, log)) {
        Report(false, log, "Ошибка экспорта");
        return false;
    }
    if (log.Interactive()) log.Ask("Экспорт выполнен", cmn::MessageKind::Ok, cmn::Buttons::Ok);
    else log.Log(cmn::LogType::Info, "Экспорт выполнен");
    if (!opener.Open(ExportedWorkbookPath(request)))
        Report(false, log, "Не удалось открыть книгу " + ExportedWorkbookPath(request));
    return true;
}

}  // namespace xls
