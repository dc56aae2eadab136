#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "schedule/DateTime.h"

namespace sched {

// The state of a schedule row, shown by its picture in the grid.
enum class TRowState : std::uint8_t {
    NotSelected = 0,
    Selected = 1,
    Sending = 2,
    Sent = 3,
    Failed = 4,
    SelectedRunning = 5,    // selected, while a run goes on
    NotSelectedRunning = 6  // not selected, while a run goes on
};

// What a row does; the same numbers are the console's command types.
enum class TCommandType : std::uint8_t {
    Sinus = 0,       // the test signal
    ColOver = 1,     // its dips and swells
    Koleb = 2,       // its voltage fluctuations
    StopSin = 3,     // reset of the whole signal
    StopColOver = 4  // reset of the dips and swells
};

inline constexpr int kCommandTypeCount = 5;

// Rows of these types carry a signal file; the others are commands.
inline bool HasSignalFile(TCommandType type) { return type <= TCommandType::Koleb; }

// "Сигнал", "Пр./пер.", "Колебания", "Сброс сигн.", "Сброс пр./пер.".
const std::string& CommandTypeName(TCommandType type);

// Path and description of command rows.
inline const std::string kCommandText = "Команда";

enum class TScheduleMode {
    ByDuration,        // "По длительности"
    ByTime,            // "По времени"
    ByTimeAndDuration  // "По времени и длительности"
};

// One row of the schedule list.
struct TSignalDataForGrid {
    std::string Path;         // the signal file, or "Команда"
    std::string Description;  // the signal's description, or "Команда"
    int Index = 0;            // position in the list
    TRowState State = TRowState::NotSelected;
    TCommandType Type = TCommandType::Sinus;
    int Duration = 0;  // seconds
    TDateTime Start = 0;
    TDateTime End = 0;
    int SetTime = 0;  // seconds allowed for setting the signal
};

// "Добавить сигнал": the file selected, state 1, the test signal, start and
// end at `now` without milliseconds, and the description the file carries
// (empty when it has none).
TSignalDataForGrid NewSignalRow(const std::string& path, TDateTime now);
// "Добавить команду": a selected reset of the whole signal.
TSignalDataForGrid NewCommandRow(TDateTime now);

// The name after the last "/" or "\": a path written on Windows is cut the
// same way as one written here.
std::string FileNameOnly(std::string_view path);

}  // namespace sched
