#include "schedule/SignalRow.h"

#include <array>

namespace sched {

const std::string& CommandTypeName(TCommandType type) {
    static const std::array<std::string, kCommandTypeCount> names = {"Сигнал", "Пр./пер.", "Колебания", "Сброс сигн.",
                                                                    "Сброс пр./пер."};
    return names.at(static_cast<std::size_t>(type));
}

std::string FileNameOnly(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace sched
