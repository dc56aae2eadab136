#include "schedule/SignalRow.h"

#include <array>

#include "files/IniFile.h"

namespace sched {

const std::string& CommandTypeName(TCommandType type) {
    static const std::array<std::string, kCommandTypeCount> names = {"Сигнал", "Пр./пер.", "Колебания", "Сброс сигн.",
                                                                     "Сброс пр./пер."};
    return names.at(static_cast<std::size_t>(type));
}

namespace {

TSignalDataForGrid NewRow(const std::string& path, const std::string& description, TCommandType type, TDateTime now) {
    TSignalDataForGrid row;
    row.Path = path;
    row.Description = description;
    row.State = TRowState::Selected;
    row.Type = type;
    row.Start = row.End = WithoutMilliseconds(now);
    return row;
}

}  // namespace

TSignalDataForGrid NewSignalRow(const std::string& path, TDateTime now) {
    const files::IniFile signal(path);
    return NewRow(path, signal.ReadString("Описание сигнала", "Описание", ""), TCommandType::Sinus, now);
}

TSignalDataForGrid NewCommandRow(TDateTime now) {
    return NewRow(kCommandText, kCommandText, TCommandType::StopSin, now);
}

std::string FileNameOnly(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace sched
