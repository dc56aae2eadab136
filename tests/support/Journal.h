#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace talvo_test {

// The entries of a simulator's journal, one JSON object per line. A last line
// without its newline is still being written and is left for the next read.
std::vector<nlohmann::json> ReadJournal(const std::filesystem::path& path);

// The entries whose "event" is `event`, in order.
std::vector<nlohmann::json> JournalEvents(const std::filesystem::path& path, const std::string& event);

// Waits until the journal holds `count` entries of `event` or the time is up,
// and gives those it holds then.
std::vector<nlohmann::json> WaitJournalEvents(const std::filesystem::path& path, const std::string& event,
                                              std::size_t count, std::chrono::milliseconds limit);

}  // namespace talvo_test
