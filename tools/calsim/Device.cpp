#include "Device.h"

#include <chrono>

#include "CommonUtils/Md5.h"

namespace calsim {
namespace {

using cmn::CalCommand;
using nlohmann::json;

// A host that stops in the middle of a block has given up on it.
constexpr int kBlockIdleMs = 2000;

bool IsKnown(std::uint16_t code) {
    switch (static_cast<CalCommand>(code)) {
        case CalCommand::VoltageTable:
        case CalCommand::CurrentTable:
        case CalCommand::StartVoltage:
        case CalCommand::StartCurrent:
        case CalCommand::StartBoth:
        case CalCommand::Range:
        case CalCommand::TimerDivisor:
        case CalCommand::Dips:
        case CalCommand::ResetDips:
        case CalCommand::ResetOutputs: return true;
    }
    return false;
}

bool IsTable(std::uint16_t code) { return code == 1 || code == 2; }

// The block that follows the receipt of a command, in bytes.
std::size_t BlockSize(std::uint16_t code, std::uint16_t first) {
    if (IsTable(code)) return static_cast<std::size_t>(first) * 2;  // first = 16-bit words
    return code == 13 ? cmn::kTimingBlockSize : 0;
}

Table Decode(const std::vector<std::uint8_t>& data, std::size_t& badMarkers) {
    Table t;
    badMarkers = 0;
    for (std::size_t at = 0; at + cmn::kSampleSize <= data.size(); at += cmn::kSampleSize) {
        const cmn::SampleCodes s = cmn::UnpackSample(data.data() + at);
        t.a.push_back(s.a);
        t.b.push_back(s.b);
        t.c.push_back(s.c);
        if (!s.markersOk) ++badMarkers;
    }
    return t;
}

}  // namespace

Device::Device(Line& line, const Options& options, Journal& journal, Measurer* measurer)
    : line_(line), options_(options), journal_(journal), measurer_(measurer) {}

void Device::Run() {
    cmn::Frame frame{};
    std::size_t skipped = 0;
    while (!vanished_ && ReadFrame(frame, skipped)) Serve(frame, skipped);
}

// Hunts for four sync bytes; bytes before them are skipped and counted.
bool Device::ReadFrame(cmn::Frame& frame, std::size_t& skipped) {
    skipped = 0;
    std::size_t syncs = 0;
    for (;;) {
        const auto byte = line_.ReadByte(-1);
        if (!byte) return false;
        if (*byte == cmn::kSyncByte) {
            ++syncs;
            continue;
        }
        if (syncs >= 4) {
            skipped += syncs - 4;
            frame[4] = *byte;
            break;
        }
        skipped += syncs + 1;
        syncs = 0;
    }
    for (std::size_t i = 0; i < 4; ++i) frame[i] = cmn::kSyncByte;
    for (std::size_t i = 5; i < frame.size(); ++i) {
        const auto byte = line_.ReadByte(kBlockIdleMs);
        if (!byte) return !line_.Stopping();
        frame[i] = *byte;
    }
    return true;
}

bool Device::ReadBlock(std::vector<std::uint8_t>& block) {
    const std::size_t wanted = block.size();
    block.clear();
    while (block.size() < wanted) {
        if (options_.vanishInBlock && block.size() == *options_.vanishInBlock) {
            vanished_ = true;
            return false;
        }
        const auto byte = line_.ReadByte(kBlockIdleMs);
        if (!byte) return false;
        block.push_back(*byte);
    }
    return true;
}

namespace {

// When a frame arrived (system clock, ms), so that tests see how long the
// calibrator played what it was sent.
long long ReceivedMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

void Device::Serve(const cmn::Frame& frame, std::size_t skipped) {
    ++seq_;
    const std::uint16_t code = cmn::ReadWord(frame.data() + 4);
    const std::uint16_t first = cmn::ReadWord(frame.data() + 6);
    json entry = {{"event", "frame"},
                  {"seq", seq_},
                  {"received_ms", ReceivedMs()},
                  {"code", code},
                  {"first", first},
                  {"second", cmn::ReadWord(frame.data() + 8)},
                  {"frame", cmn::HexUpper(frame.data(), frame.size())},
                  {"skipped", skipped},
                  {"known", IsKnown(code)}};
    Confirm(Reply::Receipt, code);
    std::vector<std::uint8_t> block(BlockSize(code, first));
    if (!block.empty()) {
        const bool whole = ReadBlock(block);
        entry["data_length"] = block.size();
        if (!whole) {
            entry["incomplete"] = true;
            journal_.Write(entry);
            return;
        }
        if (IsTable(code)) TakeTable(code, block, entry);
        else TakeTimingBlock(first, block, entry);
    }
    Apply(code, first);
    entry["state"] = StateJson();
    journal_.Write(entry);
    if (measurer_ != nullptr) {
        received_.insert(received_.end(), frame.begin(), frame.end());
        received_.insert(received_.end(), block.begin(), block.end());
        // Starts, dips or fluctuations, and their resets change what plays.
        if ((code >= 5 && code <= 7) || (code >= 13 && code <= 15)) measurer_->Post(received_);
    }
    if (code != static_cast<std::uint16_t>(CalCommand::Dips)) Confirm(Reply::Execution, code);
}

void Device::TakeTable(std::uint16_t code, const std::vector<std::uint8_t>& data, json& entry) {
    std::size_t badMarkers = 0;
    Table table = Decode(data, badMarkers);
    entry["samples"] = table.Samples();
    entry["markers_ok"] = badMarkers == 0;
    entry["bad_markers"] = badMarkers;
    entry["a"] = table.a;
    entry["b"] = table.b;
    entry["c"] = table.c;
    if (code == 2) {
        entry["table"] = "current";
        state_.current = std::move(table);
    } else if (state_.voltageRunning) {
        entry["table"] = "alternative";
        state_.alternativeVoltage = std::move(table);
    } else {
        entry["table"] = "main";
        state_.mainVoltage = std::move(table);
        state_.alternativeVoltage = {};
    }
}

void Device::TakeTimingBlock(std::uint16_t count, const std::vector<std::uint8_t>& data, json& entry) {
    const cmn::TimingFields t = cmn::DecodeTimingBlock(
        std::span<const std::uint8_t, cmn::kTimingBlockSize>(data.data(), cmn::kTimingBlockSize));
    entry["block"] = cmn::HexUpper(data.data(), data.size());
    entry["start"] = t.start;
    entry["length"] = t.length;
    entry["pause"] = t.pause;
    state_.timing = t;
    state_.dipsCount = count;
}

// Starting the voltage plays the newest voltage table: one that came while
// the voltage was playing is waiting to take over.
void Device::Apply(std::uint16_t code, std::uint16_t first) {
    const auto startVoltage = [this] {
        if (state_.alternativeVoltage.Samples() > 0) state_.mainVoltage = std::move(state_.alternativeVoltage);
        state_.alternativeVoltage = {};
        state_.voltageRunning = true;
    };
    switch (static_cast<CalCommand>(code)) {
        case CalCommand::StartVoltage: startVoltage(); break;
        case CalCommand::StartCurrent: state_.currentRunning = true; break;
        case CalCommand::StartBoth:
            startVoltage();
            state_.currentRunning = true;
            break;
        case CalCommand::Range: state_.range = first; break;
        case CalCommand::TimerDivisor: state_.divisor = first; break;
        case CalCommand::Dips: state_.dipsArmed = true; break;
        case CalCommand::ResetDips: state_.dipsArmed = false; break;
        case CalCommand::ResetOutputs: state_.voltageRunning = state_.currentRunning = state_.dipsArmed = false; break;
        default: break;
    }
}

bool Device::Spoilt(Reply reply) const {
    if (options_.faultFrame != 0 && options_.faultFrame != seq_) return false;
    return options_.faultOn == FaultTarget::Both ||
           (options_.faultOn == FaultTarget::Receipt) == (reply == Reply::Receipt);
}

// A confirmation cut short is followed by silence for the rest of the frame.
void Device::Confirm(Reply reply, std::uint16_t code) {
    if (options_.silentFrom != 0 && seq_ >= options_.silentFrom) return;
    if (cutShort_ == seq_) return;
    const bool spoilt = Spoilt(reply);
    if (spoilt && reply == Reply::Execution && options_.noExecution) return;
    std::uint16_t word = reply == Reply::Receipt ? code : static_cast<std::uint16_t>(code + 128);
    if (spoilt && options_.badCode) ++word;
    auto bytes = cmn::BuildConfirmation(word);
    if (spoilt && options_.badSync) bytes[0] = bytes[1] = bytes[2] = bytes[3] = 0xAA;
    if (spoilt && options_.delayMs > 0 && !line_.Pause(options_.delayMs)) return;
    if (spoilt && options_.shortReply) cutShort_ = seq_;
    line_.Send(bytes.data(), spoilt && options_.shortReply ? *options_.shortReply : bytes.size());
}

json Device::StateJson() const {
    json s = {{"range", state_.range},
              {"divisor", state_.divisor},
              {"main_voltage_samples", state_.mainVoltage.Samples()},
              {"alternative_voltage_samples", state_.alternativeVoltage.Samples()},
              {"current_samples", state_.current.Samples()},
              {"voltage_running", state_.voltageRunning},
              {"current_running", state_.currentRunning},
              {"dips_armed", state_.dipsArmed}};
    if (state_.dipsArmed) {
        s["dips"] = {{"count", state_.dipsCount},
                     {"start", state_.timing.start},
                     {"length", state_.timing.length},
                     {"pause", state_.timing.pause}};
    }
    return s;
}

}  // namespace calsim
