#include "console/ConsoleRun.h"

#include <filesystem>
#include <optional>

#include "console/StdinSignal.h"
#include "console/VerifyRun.h"
#include "export/ExcelExport.h"
#include "link/LibraryBinding.h"
#include "schedule/CalibratorActions.h"
#include "signal/Flicker.h"
#include "signal/Nominals.h"

namespace console {
namespace {

// The flicker standard of a fresh start: the one the signal window checks first.
constexpr int kConsoleFlickerStandard = sig::fsGost99;

sched::TSignalDataForGrid ConsoleRow(const TConsoleOptions& o) {
    sched::TSignalDataForGrid row;
    row.Path = o.SignalFile;
    row.State = sched::TRowState::Selected;
    row.Type = static_cast<sched::TCommandType>(o.Type);
    return row;
}

bool Export(const TConsoleOptions& o, sched::TSignalDataForSet& bundle, sched::ISignalActions& actions,
            cmn::IProtocolLog& log) {
    if (o.BadColumn) {
        log.Log(cmn::LogType::Error, BadColumnMessage(*o.BadColumn));
        return false;
    }
    std::error_code ec;
    if (!std::filesystem::exists(o.SignalFile, ec)) {
        log.Log(cmn::LogType::Error, "Файл не найден : " + o.SignalFile);
        return false;
    }
    if (!actions.ReadSignalFile(o.SignalFile, bundle, log)) return false;
    const xls::TExportRequest request{o.Template, o.IntoCopy, o.Output, true, o.Column};
    return xls::ExportToExcel(request, bundle.Signal, log);
}

int Run(const TConsoleOptions& options, cmn::IProtocolLog& log, const std::string& programFolder) {
    // A binding failure is reported; the command's own outcome then decides
    // the exit code (the resets need no library).
    const std::optional<lnk::TSignalLibrary> library = lnk::BindSignalLibrary(programFolder, log);

    sched::TLinkSettings link;
    link.PortName = options.Port;
    link.BaudRate = kConsoleBaudRate;
    link.Modification = options.Modification;
    link.Library = library ? &*library : nullptr;
    sig::TKolebParamsHelpTable flicker;
    sig::LoadFlickerTable(flicker, std::nullopt, true, kConsoleFlickerStandard, log);

    if (options.Command == TConsoleCommand::Verify)
        return RunVerify(options, library ? &*library : nullptr, flicker, log) ? kExitSuccess : kExitFailure;
    sched::TCalibratorActions actions(link, flicker, true);
    sched::TSignalDataForSet bundle(ConsoleRow(options));
    bool done = false;
    if (options.Command == TConsoleCommand::SetSignal) done = sched::SendSignalData(bundle, actions, log);
    else done = Export(options, bundle, actions, log);
    return done ? kExitSuccess : kExitFailure;
}

}  // namespace

int RunConsole(const TConsoleOptions& options, std::istream& in, cmn::IProtocolLog& log,
               const std::string& programFolder) {
    try {
        TConsoleOptions o = options;
        const std::optional<TStdinSignalFile> piped =
            o.FromStdin ? TStdinSignalFile::Read(in, TemporaryFolder()) : std::nullopt;
        if (piped) o.SignalFile = piped->Path();
        return Run(o, log, programFolder);
    } catch (const std::exception& e) {
        log.Log(cmn::LogType::Error, e.what());
        return kExitFailure;
    }
}

}  // namespace console
