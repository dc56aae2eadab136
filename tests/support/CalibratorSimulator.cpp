#include "CalibratorSimulator.h"

#include "CommonUtils/KnownFolders.h"
#include "Journal.h"

namespace talvo_test {
namespace {

namespace fs = std::filesystem;

const char* const kProgram = TALVO_BIN_DIR "/talvo-calsim";

fs::path JournalOf(const std::string& name) {
    return fs::path(cmn::PortFolder()).parent_path().parent_path() / ("calsim-" + name + ".jsonl");
}

}  // namespace

CalibratorSimulator::CalibratorSimulator(const std::string& name, const std::vector<std::string>& options)
    : link_(fs::path(cmn::PortFolder()) / name),
      journal_(JournalOf(name)),
      process_(kProgram, name, journal_, options) {}

std::vector<nlohmann::json> CalibratorSimulator::Journal() const { return ReadJournal(journal_); }

std::vector<nlohmann::json> CalibratorSimulator::Frames() const { return JournalEvents(journal_, "frame"); }

std::vector<nlohmann::json> CalibratorSimulator::WaitFrames(std::size_t count, std::chrono::milliseconds limit) const {
    return WaitJournalEvents(journal_, "frame", count, limit);
}

std::vector<int> FrameCodes(const std::vector<nlohmann::json>& frames) {
    std::vector<int> codes;
    for (const auto& f : frames) codes.push_back(f["code"]);
    return codes;
}

int RunCalibratorSimulator(const std::vector<std::string>& options) {
    return RunProgram(kProgram, options, std::chrono::milliseconds(2000));
}

}  // namespace talvo_test
