#include "console/VerifyRun.h"

#include <ctime>
#include <filesystem>

#include "CommonUtils/TalvoError.h"
#include "files/AtomicFile.h"
#include "measure/Report.h"
#include "measure/Verify.h"
#include "schedule/CalibratorActions.h"
#include "signal/Nominals.h"

namespace console {
namespace {

msr::TVerifyAction Action(int type) {
    if (type == ctColOver) return msr::TVerifyAction::ColOver;
    if (type == ctKoleb) return msr::TVerifyAction::Koleb;
    return msr::TVerifyAction::Sinus;
}

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

std::string Now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return Two(tm.tm_mday) + "." + Two(tm.tm_mon + 1) + "." + std::to_string(tm.tm_year + 1900) + " " +
           Two(tm.tm_hour) + ":" + Two(tm.tm_min) + ":" + Two(tm.tm_sec);
}

std::string Extension(const std::string& path) {
    std::string e = std::filesystem::path(path).extension().string();
    for (char& c : e) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return e;
}

// The report's format is refused before anything runs.
void CheckReportName(const std::string& path) {
    if (path.empty()) return;
    const std::string e = Extension(path);
    if (e == ".pdf")
        throw cmn::TalvoError(
            "Отчёт в формате PDF сохраняет окно программы (\"Действия\" → \"Проверка сигнала\"). "
            "В консольном режиме укажите файл .csv или .json");
    if (e != ".csv" && e != ".json")
        throw cmn::TalvoError("Неизвестный формат отчёта: " + path + ". Укажите файл .csv или .json");
}

}  // namespace

bool RunVerify(const TConsoleOptions& o, const lnk::TSignalLibrary* library, const sig::TKolebParamsHelpTable& flicker,
               cmn::IProtocolLog& log) {
    CheckReportName(o.Report);
    std::error_code ec;
    if (!std::filesystem::exists(o.SignalFile, ec)) {
        log.Log(cmn::LogType::Error, "Файл не найден : " + o.SignalFile);
        return false;
    }
    sched::TLinkSettings link;
    link.Modification = o.Modification;
    sched::TCalibratorActions actions(link, flicker, true);
    sched::TSignalDataForSet bundle(sched::TSignalDataForGrid{});
    if (!actions.ReadSignalFile(o.SignalFile, bundle, log)) return false;

    msr::TVerifyOptions options;
    options.Capture.Action = Action(o.Type);
    options.Capture.Modification = o.Modification;
    options.Capture.Library = library;
    const msr::TReportHeader header{o.SignalFile, msr::ActionName(options.Capture.Action),
                                    std::string(sig::ModificationInfo(o.Modification).DisplayName), Now()};
    log.Log(cmn::LogType::Info, "ПРОВЕРКА: " + header.Action + " — " + o.SignalFile);
    const msr::TVerifyReport report = msr::VerifySignal(bundle.Signal, options);
    std::size_t failed = 0;
    for (const msr::TCompareRow& row : report.Rows) {
        log.Log(row.Pass ? cmn::LogType::Info : cmn::LogType::Error, msr::RowLine(row));
        if (!row.Pass) ++failed;
    }
    for (const std::string& note : report.Notes) log.Log(cmn::LogType::Notice, note);
    if (report.Passed()) log.Log(cmn::LogType::Info, "Все величины в допуске: " + std::to_string(report.Rows.size()));
    else
        log.Log(cmn::LogType::Error,
                "Вне допуска величин: " + std::to_string(failed) + " из " + std::to_string(report.Rows.size()));
    if (!o.Report.empty()) {
        const bool json = Extension(o.Report) == ".json";
        files::WriteFileAtomic(o.Report, json ? msr::ReportJson(report, header) : msr::ReportCsv(report, header));
        log.Log(cmn::LogType::Info, "Отчёт записан: " + o.Report);
    }
    return report.Passed();
}

}  // namespace console
