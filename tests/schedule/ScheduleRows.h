#pragma once

#include <string>

#include "schedule/SignalRow.h"

namespace sched_test {

inline sched::TDateTime At(int h, int mi, int s, int ms = 0) {
    return sched::EncodeDateTime({2026, 12, 9, h, mi, s, ms}).value();
}

inline sched::TSignalDataForGrid Row(const std::string& path, int index, int duration,
                                     sched::TRowState state = sched::TRowState::Selected,
                                     sched::TCommandType type = sched::TCommandType::Sinus) {
    sched::TSignalDataForGrid row;
    row.Path = path;
    row.Description = "Описание " + std::to_string(index);
    row.Index = index;
    row.State = state;
    row.Type = type;
    row.Duration = duration;
    return row;
}

inline sched::TSignalDataForGrid Timed(const std::string& path, int index, sched::TDateTime start,
                                       sched::TDateTime end) {
    sched::TSignalDataForGrid row = Row(path, index, 0);
    row.Start = start;
    row.End = end;
    return row;
}

}  // namespace sched_test
