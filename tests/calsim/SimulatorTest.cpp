#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <vector>

#include "CalibratorSimulator.h"
#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/SerialLine.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;
using talvo_test::CalibratorSimulator;
using talvo_test::TempSettings;
using Bytes = std::vector<std::uint8_t>;

// A host that speaks the protocol byte by byte, without either sender's rules.
class RawHost {
public:
    explicit RawHost(const fs::path& port) {
        EXPECT_EQ(line_.Open(port.string()), cmn::LineOpenStatus::Opened);
        line_.ApplySettings({});
        line_.ApplyTimeouts({10, 500, 10, 500});
    }
    void Send(const Bytes& bytes) { ASSERT_EQ(line_.Write(bytes.data(), bytes.size()), bytes.size()); }
    void Frame(cmn::CalCommand code, std::uint16_t first, std::uint16_t second) {
        const cmn::Frame f = cmn::BuildFrame(code, first, second);
        Send(Bytes(f.begin(), f.end()));
    }
    std::uint16_t ReplyWord() {
        std::array<std::uint8_t, 8> reply{};
        EXPECT_EQ(line_.Read(reply.data(), reply.size()), 8u);
        return cmn::ParseConfirmation(reply).word;
    }
    // One command with its block and every confirmation it brings.
    void Command(cmn::CalCommand code, std::uint16_t first, const Bytes& block = {}) {
        Frame(code, first, cmn::kSecondParameter);
        EXPECT_EQ(ReplyWord(), static_cast<std::uint16_t>(code));
        if (!block.empty()) Send(block);
        if (code != cmn::CalCommand::Dips) {
            EXPECT_EQ(ReplyWord(), static_cast<std::uint16_t>(code) + 128);
        }
    }
    cmn::SerialLine& Line() { return line_; }

private:
    cmn::SerialLine line_;
};

Bytes Table(const std::vector<std::array<std::uint16_t, 3>>& samples) {
    Bytes bytes(samples.size() * cmn::kSampleSize);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        cmn::PackSample(samples[i][0], samples[i][1], samples[i][2], bytes.data() + i * cmn::kSampleSize);
    }
    return bytes;
}

std::uint16_t Words(std::size_t samples) { return static_cast<std::uint16_t>(samples * 4); }

class SimulatorTest : public ::testing::Test {
protected:
    TempSettings settings;
};

TEST_F(SimulatorTest, LinksItsTerminalAndRemovesTheLinkOnSigterm) {
    CalibratorSimulator sim("COM4");
    EXPECT_EQ(fs::read_symlink(sim.Link()), sim.SlavePath());
    EXPECT_EQ(sim.SlavePath().rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.Link())));
    const auto journal = sim.Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal.front()["event"], "start");
    EXPECT_EQ(journal.back()["event"], "stop");
}

TEST_F(SimulatorTest, RefusesUnknownOptionsAndBadValues) {
    EXPECT_EQ(talvo_test::RunCalibratorSimulator({"--frobnicate"}), 2);
    EXPECT_EQ(talvo_test::RunCalibratorSimulator({"--short-reply", "8"}), 2);
    EXPECT_EQ(talvo_test::RunCalibratorSimulator({"--fault-on", "never"}), 2);
    EXPECT_EQ(talvo_test::RunCalibratorSimulator({"--name", "../COM1"}), 2);
    EXPECT_EQ(talvo_test::RunCalibratorSimulator({"--help"}), 0);
}

// Range, divisor, both tables, start, a table while playing (the dips'
// alternative) and the timing block, then the resets.
TEST_F(SimulatorTest, KeepsTheStateOfADipsSequence) {
    CalibratorSimulator sim;
    RawHost host(sim.Link());
    const Bytes voltage = Table({{32767, 0, 65535}, {1, 2, 3}, {0xA5A5, 0x5A5A, 0x8001}});
    host.Command(cmn::CalCommand::Range, 3);
    host.Command(cmn::CalCommand::TimerDivisor, 194);
    host.Command(cmn::CalCommand::VoltageTable, Words(3), voltage);
    host.Command(cmn::CalCommand::CurrentTable, Words(1), Table({{10, 20, 30}}));
    host.Command(cmn::CalCommand::StartBoth, Words(3));
    host.Command(cmn::CalCommand::ResetDips, 0);
    host.Command(cmn::CalCommand::VoltageTable, Words(2), Table({{5, 6, 7}, {8, 9, 10}}));
    const cmn::TimingBlock block = cmn::EncodeTimingBlock(100, 70000, -2);
    host.Command(cmn::CalCommand::Dips, 5, Bytes(block.begin(), block.end()));

    auto frames = sim.WaitFrames(8);
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[2]["table"], "main");
    EXPECT_EQ(frames[2]["a"], (std::vector<int>{32767, 1, 0xA5A5}));
    EXPECT_EQ(frames[2]["b"], (std::vector<int>{0, 2, 0x5A5A}));
    EXPECT_EQ(frames[2]["c"], (std::vector<int>{65535, 3, 0x8001}));
    EXPECT_EQ(frames[2]["markers_ok"], true);
    EXPECT_EQ(frames[3]["table"], "current");
    EXPECT_EQ(frames[6]["table"], "alternative");
    EXPECT_EQ(frames[7]["block"], "6400000070110100FEFF0000");
    EXPECT_EQ(frames[7]["pause"], 65534);
    const auto& state = frames[7]["state"];
    EXPECT_EQ(state["range"], 3);
    EXPECT_EQ(state["divisor"], 194);
    EXPECT_EQ(state["main_voltage_samples"], 3);
    EXPECT_EQ(state["alternative_voltage_samples"], 2);
    EXPECT_EQ(state["current_samples"], 1);
    EXPECT_EQ(state["voltage_running"], true);
    EXPECT_EQ(state["current_running"], true);
    EXPECT_EQ(state["dips"]["count"], 5);
    EXPECT_EQ(state["dips"]["length"], 70000);

    host.Command(cmn::CalCommand::ResetDips, 0);
    host.Command(cmn::CalCommand::ResetOutputs, 0);
    frames = sim.WaitFrames(10);
    ASSERT_EQ(frames.size(), 10u);
    EXPECT_EQ(frames[8]["state"]["dips_armed"], false);
    EXPECT_EQ(frames[9]["state"]["voltage_running"], false);
    EXPECT_EQ(frames[9]["state"]["current_running"], false);
}

// Fluctuations: a table while playing, a voltage start that makes it the
// main table, and the next table as the alternative.
TEST_F(SimulatorTest, StartingTheVoltagePlaysTheNewestTable) {
    CalibratorSimulator sim;
    RawHost host(sim.Link());
    host.Command(cmn::CalCommand::VoltageTable, Words(1), Table({{1, 1, 1}}));
    host.Command(cmn::CalCommand::StartBoth, Words(1));
    host.Command(cmn::CalCommand::VoltageTable, Words(2), Table({{2, 2, 2}, {2, 2, 2}}));
    host.Command(cmn::CalCommand::StartVoltage, Words(2));
    host.Command(cmn::CalCommand::VoltageTable, Words(3), Table({{3, 3, 3}, {3, 3, 3}, {3, 3, 3}}));
    const auto frames = sim.WaitFrames(5);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[3]["state"]["main_voltage_samples"], 2);
    EXPECT_EQ(frames[3]["state"]["alternative_voltage_samples"], 0);
    EXPECT_EQ(frames[4]["state"]["main_voltage_samples"], 2);
    EXPECT_EQ(frames[4]["state"]["alternative_voltage_samples"], 3);
}

TEST_F(SimulatorTest, ReportsSamplesWithoutMarkersAndSkipsNoiseBeforeAFrame) {
    CalibratorSimulator sim;
    RawHost host(sim.Link());
    Bytes table = Table({{100, 200, 300}, {400, 500, 600}});
    table[9] &= 0x7F;  // the marker of bit 15 in the second sample
    host.Send({0x00, 0x55, 0x13, 0x55, 0x55});
    host.Command(cmn::CalCommand::VoltageTable, Words(2), table);
    const auto frames = sim.WaitFrames(1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0]["skipped"], 5);
    EXPECT_EQ(frames[0]["markers_ok"], false);
    EXPECT_EQ(frames[0]["bad_markers"], 1);
    EXPECT_EQ(frames[0]["a"][0], 100);
}

// A host that gives up in the middle of a table leaves an incomplete entry,
// and the simulator serves the next frame as usual.
TEST_F(SimulatorTest, DropsABlockThatStopsHalfway) {
    CalibratorSimulator sim;
    RawHost host(sim.Link());
    host.Frame(cmn::CalCommand::VoltageTable, Words(100), cmn::kSecondParameter);
    EXPECT_EQ(host.ReplyWord(), 1);
    host.Send(Bytes(40, 0xFF));
    ASSERT_EQ(sim.WaitFrames(1, std::chrono::milliseconds(4000)).size(), 1u);
    host.Command(cmn::CalCommand::ResetDips, 0);
    const auto frames = sim.WaitFrames(2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0]["incomplete"], true);
    EXPECT_EQ(frames[0]["data_length"], 40);
    EXPECT_EQ(frames[1]["code"], 14);
}

// A calibrator switched off in the middle of a table: the simulator ends,
// its link goes, and the host's side of the line hangs up.
TEST_F(SimulatorTest, VanishesInTheMiddleOfABlock) {
    CalibratorSimulator sim("COM1", {"--vanish-in-block", "10"});
    RawHost host(sim.Link());
    host.Frame(cmn::CalCommand::VoltageTable, Words(100), cmn::kSecondParameter);
    EXPECT_EQ(host.ReplyWord(), 1);
    host.Send(Bytes(800, 0xFF));
    const auto frames = sim.WaitFrames(1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0]["data_length"], 10);
    EXPECT_EQ(frames[0]["incomplete"], true);
    std::array<std::uint8_t, 8> reply{};
    EXPECT_EQ(host.Line().Read(reply.data(), reply.size()), 0u);
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim.Link())));
}

// At 115200 baud a byte takes 86.8 µs: 27352 table bytes need 2.37 s on the line.
TEST_F(SimulatorTest, PacingGivesBytesTheirLineTime) {
    CalibratorSimulator sim("COM1", {"--pace"});
    RawHost host(sim.Link());
    host.Line().ApplyTimeouts({10, 500, 10, 5000});
    const std::size_t samples = 3419;
    host.Frame(cmn::CalCommand::VoltageTable, Words(samples), cmn::kSecondParameter);
    EXPECT_EQ(host.ReplyWord(), 1);
    const auto start = std::chrono::steady_clock::now();
    host.Send(Bytes(samples * 8, 0xFF));
    std::array<std::uint8_t, 8> reply{};
    host.Line().ApplyTimeouts({0, 5000, 10, 5000});
    ASSERT_EQ(host.Line().Read(reply.data(), reply.size()), 8u);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(2300));
    EXPECT_EQ(cmn::ParseConfirmation(reply).word, 129);
}

}  // namespace
