#pragma once

#include <string>
#include <vector>

#include "CommonUtils/ProtocolLog.h"
#include "schedule/DateTime.h"

namespace sched {

// One line of the run protocol: its time, the text and the mark of the third
// column ("!" for an error, "*" for a warning). A separator has no time.
struct TProtocolEntry {
    bool Separator = false;
    TDateTime Time = 0;
    std::string Text;
    std::string Mark;
};

// The protocol page of the schedule window ("Протокол работы"), fed on the
// window's thread with the lines a run reports.
class TScheduleProtocol {
public:
    // A separator is added only after some entry, so the list never opens blank.
    void Add(cmn::LogType type, const std::string& text, TDateTime now);
    void Clear() { entries_.clear(); }
    const std::vector<TProtocolEntry>& Entries() const { return entries_; }

    // One line per entry: the time, a blank and the texts of the other
    // columns separated by blanks; an empty line for a separator.
    std::vector<std::string> Lines() const;
    // Writes the lines into `fileName` with the extension ".txt" forced,
    // Windows-1251 with CR LF line ends, atomically. Returns the name used;
    // raises cmn::TalvoError when the file cannot be written.
    std::string Save(const std::string& fileName) const;

private:
    std::vector<TProtocolEntry> entries_;
};

}  // namespace sched
