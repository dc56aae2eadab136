#include "schedule/ScheduleProtocol.h"

#include <filesystem>

#include "CommonUtils/CodePage.h"
#include "files/AtomicFile.h"

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
    const std::string name = std::filesystem::path(fileName).replace_extension(".txt").string();
    std::string content;
    for (const std::string& line : Lines()) content += cmn::Utf8ToCp1251(line) + "\r\n";
    files::WriteFileAtomic(name, content);
    return name;
}

}  // namespace sched
