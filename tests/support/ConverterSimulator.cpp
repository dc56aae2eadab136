#include "ConverterSimulator.h"

#include "CommonUtils/KnownFolders.h"
#include "Journal.h"

namespace talvo_test {
namespace {

namespace fs = std::filesystem;

fs::path JournalOf(const std::string& name) {
    return fs::path(cmn::PortFolder()).parent_path() / ("convsim-" + name + ".jsonl");
}

}  // namespace

ConverterSimulator::ConverterSimulator(const std::vector<std::string>& options, const std::string& name)
    : name_(name), journal_(JournalOf(name)), process_(TALVO_BIN_DIR "/talvo-convsim", name, journal_, options) {}

std::vector<nlohmann::json> ConverterSimulator::Entries(const std::string& event) const {
    return JournalEvents(journal_, event);
}

std::vector<nlohmann::json> ConverterSimulator::WaitEntries(const std::string& event, std::size_t count,
                                                            std::chrono::milliseconds limit) const {
    return WaitJournalEvents(journal_, event, count, limit);
}

}  // namespace talvo_test
