#include "schedule/SendStep.h"

#include <array>
#include <filesystem>

namespace sched {
namespace {

// The texts are those the operators know from the program's protocols.
std::string SendingText(const TSignalDataForGrid& row) {
    static const std::array<std::string, kCommandTypeCount> prefixes = {
        "Передача сигнала: ", "Предача пр./перен.: ", "Предача коледаний: ", "Сброс всего сигнала", "Сброс пр./преен."};
    const std::string& prefix = prefixes.at(static_cast<std::size_t>(row.Type));
    return HasSignalFile(row.Type) ? prefix + FileNameOnly(row.Path) : prefix;
}

bool ReadRowFile(TSignalDataForSet& bundle, ISignalActions& actions, cmn::IProtocolLog& log) {
    const std::string& path = bundle.Row.Path;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        log.Log(cmn::LogType::Notice, "Файл не найден : " + path);
        return false;
    }
    // A value that the recalculation refuses makes the file one that does not
    // load: its row fails and the run goes on, as for any other unreadable file.
    try {
        return actions.ReadSignalFile(path, bundle, log);
    } catch (const std::exception& e) {
        log.Log(cmn::LogType::Notice, e.what());
        return false;
    }
}

}  // namespace

bool SendSignalData(TSignalDataForSet& bundle, ISignalActions& actions, cmn::IProtocolLog& log,
                    const std::function<void()>& rowStarts) {
    if (bundle.Row.State != TRowState::Selected) return false;
    bundle.Row.State = TRowState::Sending;
    try {
        if (rowStarts) rowStarts();
        log.Log(cmn::LogType::ScheduleInfo, SendingText(bundle.Row));
        if (HasSignalFile(bundle.Row.Type) && !ReadRowFile(bundle, actions, log)) return false;
        if (!actions.RunCommand(bundle, log)) return false;
        log.Log(cmn::LogType::ScheduleInfo, "Передача выполнена");
        return true;
    } catch (const std::exception& e) {
        log.Log(cmn::LogType::Error, e.what());
        return false;
    }
}

}  // namespace sched
