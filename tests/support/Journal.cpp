#include "Journal.h"

#include <fstream>
#include <thread>

namespace talvo_test {

std::vector<nlohmann::json> ReadJournal(const std::filesystem::path& path) {
    std::vector<nlohmann::json> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line) && !in.eof()) {
        if (!line.empty()) entries.push_back(nlohmann::json::parse(line));
    }
    return entries;
}

std::vector<nlohmann::json> JournalEvents(const std::filesystem::path& path, const std::string& event) {
    std::vector<nlohmann::json> found;
    for (auto& entry : ReadJournal(path))
        if (entry.value("event", "") == event) found.push_back(std::move(entry));
    return found;
}

std::vector<nlohmann::json> WaitJournalEvents(const std::filesystem::path& path, const std::string& event,
                                              std::size_t count, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto found = JournalEvents(path, event);
        if (found.size() >= count || std::chrono::steady_clock::now() >= end) return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace talvo_test
