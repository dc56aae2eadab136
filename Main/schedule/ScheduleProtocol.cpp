#include "schedule/ScheduleProtocol.h"

#include "files/ProtocolFile.h"

namespace sched {

void TScheduleProtocol::Add(cmn::LogType type, const std::string& text, TDateTime now) {
    if (type == cmn::LogType::Separator) {
        if (!entries_.empty()) entries_.push_back({true, 0, {}, {}});
        return;
    }
    const std::string mark = type == cmn::LogType::Error ? "!" : type == cmn::LogType::Notice ? "*" : "";
    entries_.push_back({false, now, text, mark});
}

std::vector<std::string> TScheduleProtocol::Lines() const {
    std::vector<std::string> lines;
    for (const TProtocolEntry& e : entries_) {
        if (e.Separator) {
            lines.emplace_back();
            continue;
        }
        lines.push_back(DateTimeToText(e.Time) + " " + e.Text + (e.Mark.empty() ? "" : " " + e.Mark));
    }
    return lines;
}

std::string TScheduleProtocol::Save(const std::string& fileName) const {
    return files::SaveProtocolText(fileName, Lines());
}

}  // namespace sched
