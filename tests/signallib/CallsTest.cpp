// The exports that drive the calibrator, through the built library against
// the calibrator simulator, read back from the simulator's journal.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <limits>
#include <thread>
#include <vector>

#include "CalibratorSimulator.h"
#include "CommonUtils/CalibratorWire.h"
#include "DescriptorCheck.h"
#include "ForeignHolder.h"
#include "SignalTalvoLibrary.h"
#include "TableReference.h"
#include "TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Options = std::vector<std::string>;
using namespace talvo_test;

constexpr std::uint16_t kPort = 1;

TOutSignalParams VoltageOnly() {
    TOutSignalParams p = BalancedParams();
    p.CurrentOn = 0;
    return p;
}

TOutSignalParams CurrentOnly() {
    TOutSignalParams p = BalancedParams();
    p.VoltageOn = 0;
    p.VoltageRange = 1;
    p.CurrentRange = 3;
    for (auto& u : p.Voltage) u.Amplitude = 57.735027f;
    for (auto& i : p.Current) i.Amplitude = 0.8f;
    return p;
}

class Calls : public ::testing::Test {
protected:
    void Start(const Options& options = {}) {
        sim.reset();
        sim = std::make_unique<CalibratorSimulator>("COM1", options);
    }
    std::vector<int> Codes(std::size_t atLeast = 0) const {
        return FrameCodes(sim->WaitFrames(atLeast, milliseconds(atLeast ? 3000 : 0)));
    }
    // A call that leaves no descriptor open and the port free for the next one.
    template <class Call>
    std::int16_t Released(Call&& call) {
        const OpenDescriptors before = OpenDescriptors::Now();
        const std::int16_t code = call();
        EXPECT_EQ(OpenDescriptors::Now().NewSince(before), "");
        EXPECT_NE(Library().CheckPort(kPort), 101);
        return code;
    }
    std::int16_t Set(const TOutSignalParams& p, TFullSignalParams* full = nullptr) {
        return Released([&] { return Library().SetSignal(kPort, p, full); });
    }

    talvo_test::TempSettings settings;
    std::unique_ptr<CalibratorSimulator> sim;
};

std::vector<std::uint16_t> Channel(const nlohmann::json& frame, const char* phase) {
    return frame[phase].get<std::vector<std::uint16_t>>();
}

void ExpectTable(const nlohmann::json& frame, const TReferenceTable& reference) {
    EXPECT_EQ(frame["markers_ok"], true);
    EXPECT_TRUE(CodesMatch(reference.phases[0], Channel(frame, "a")));
    EXPECT_TRUE(CodesMatch(reference.phases[1], Channel(frame, "b")));
    EXPECT_TRUE(CodesMatch(reference.phases[2], Channel(frame, "c")));
}

TEST_F(Calls, CheckPortOpensAndClosesOnly) {
    Start();
    EXPECT_EQ(Released([] { return Library().CheckPort(kPort); }), 0);
    EXPECT_EQ(Library().CheckPort(9), 102);
    std::ofstream(settings.PortFolder() / "COM5") << "not a terminal";
    EXPECT_EQ(Library().CheckPort(5), 103);
    {
        talvo_test::ForeignHolder holder(sim->Link().string());
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(Library().CheckPort(kPort), 101);
    }
    EXPECT_EQ(Library().CheckPort(kPort), 0);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(Calls, VoltageOnly) {
    Start();
    const TOutSignalParams p = VoltageOnly();
    ASSERT_EQ(Set(p), 0);
    const auto frames = sim->Frames();
    ASSERT_EQ(Codes(), (std::vector<int>{10, 1, 5, 14}));
    EXPECT_EQ(frames[0]["frame"], "555555550A000300000000000000");
    EXPECT_EQ(frames[1]["frame"], "5555555501006C35C03B00000000");
    ExpectTable(frames[1], ReferenceMain(p, false));
    EXPECT_EQ(frames[2]["frame"], "5555555505006C35C03B00000000");
    EXPECT_EQ(frames[3]["frame"], "555555550E000000000000000000");
    EXPECT_EQ(frames[3]["state"]["voltage_running"], true);
    EXPECT_EQ(frames[3]["state"]["current_running"], false);
}

// The full parameters SetSignal fills are those GetOutSignalData computes.
TEST_F(Calls, BothOutputsWithTheFullParameters) {
    Start();
    TOutSignalParams p = BalancedParams();
    p.Voltage[2].Harmonics[5 - 2] = {12, 45};
    p.Current[0].Angle = 30;
    p.Current[1].Harmonics[3 - 2] = {40, -60};
    TFullSignalParams full;
    std::memset(&full, 0xAB, sizeof full);
    ASSERT_EQ(Set(p, &full), 0);
    std::int16_t code = -1;
    const TFullSignalParams expected = FullParams(p, code);
    EXPECT_EQ(std::memcmp(&full, &expected, sizeof full), 0);

    const auto frames = sim->Frames();
    ASSERT_EQ(Codes(), (std::vector<int>{10, 1, 2, 7, 14}));
    ExpectTable(frames[1], ReferenceMain(p, false));
    EXPECT_EQ(frames[2]["frame"], "5555555502006C35C03B00000000");
    ExpectTable(frames[2], ReferenceMain(p, true));
    EXPECT_EQ(frames[3]["frame"], "5555555507006C35C03B00000000");
    EXPECT_EQ(frames[4]["state"]["current_running"], true);
}

TEST_F(Calls, CurrentOnlyInTheLowRanges) {
    Start();
    const TOutSignalParams p = CurrentOnly();
    ASSERT_EQ(Set(p), 0);
    const auto frames = sim->Frames();
    ASSERT_EQ(Codes(), (std::vector<int>{10, 2, 6, 14}));
    EXPECT_EQ(frames[0]["first"], 0);
    ExpectTable(frames[1], ReferenceMain(p, true));
}

// After the start and the reset of dips, a pause, then the second voltage
// table and the timing block.
TEST_F(Calls, DipsFollowTheSignalAfterAPause) {
    Start();
    TOutSignalParams p = BalancedParams();
    TCollapsesOvervoltagesParams d = OneDip();
    d.Count = 3;
    d.Period = 0.1f;
    d.StartAngle = 90;
    d.Fazes[2] = {0, {}, 1.3f};
    p.Collapses = &d;
    const auto start = Clock::now();
    ASSERT_EQ(Set(p), 0);
    EXPECT_GE(Clock::now() - start, milliseconds(1500));
    ASSERT_EQ(Codes(7), (std::vector<int>{10, 1, 2, 7, 14, 1, 13}));
    const auto frames = sim->Frames();
    EXPECT_EQ(frames[5]["table"], "alternative");
    ExpectTable(frames[5], ReferenceDips(p, d));
    EXPECT_EQ(frames[6]["frame"], "555555550D000300C03B00000000");
    // 855 ticks to the start, 17094 long, and the two-tick allowance.
    EXPECT_EQ(frames[6]["block"], "57030000C6420000FEFF0000");
    EXPECT_EQ(frames[6]["state"]["dips_armed"], true);
}

TEST_F(Calls, NoOutputsOpenAndCloseThePortOnly) {
    Start();
    TOutSignalParams p = BalancedParams();
    p.VoltageOn = p.CurrentOn = 0;
    TFullSignalParams full;
    std::memset(&full, 0xAB, sizeof full);
    EXPECT_EQ(Set(p, &full), 0);
    EXPECT_EQ(full.Voltage[0].Rms1, 0);
    EXPECT_EQ(full.VoltageRange, 2);
    EXPECT_FLOAT_EQ(full.Frequency, 49.99712f);
    EXPECT_TRUE(Codes().empty());
}

// Refused parameters still give the full parameters once the port is open;
// a port that cannot be opened leaves the caller's record alone.
TEST_F(Calls, FullParametersOnlyWithAnOpenPort) {
    Start();
    TOutSignalParams bad = BalancedParams();
    bad.Voltage[1].Harmonics[0] = {80.5f, 0};  // harmonic 2 of phase B
    TFullSignalParams full;
    std::memset(&full, 0xAB, sizeof full);
    EXPECT_EQ(Set(bad, &full), 303);
    EXPECT_FLOAT_EQ(full.Voltage[0].Rms1, 220);
    EXPECT_TRUE(Codes().empty());

    // The record with guard bytes on either side, all in one pattern.
    struct Guarded {
        std::uint8_t before[64];
        TFullSignalParams full;
        std::uint8_t after[64];
    } untouched, pattern;
    std::memset(&untouched, 0xCD, sizeof untouched);
    std::memset(&pattern, 0xCD, sizeof pattern);
    EXPECT_EQ(Library().SetSignal(9, BalancedParams(), &untouched.full), 102);
    talvo_test::ForeignHolder holder(sim->Link().string());
    ASSERT_TRUE(holder.Holding());
    EXPECT_EQ(Library().SetSignal(kPort, BalancedParams(), &untouched.full), 101);
    EXPECT_EQ(std::memcmp(&untouched, &pattern, sizeof pattern), 0);
    EXPECT_TRUE(Codes().empty());
}

// A phase beyond the channel's swing sends no table and starts nothing.
TEST_F(Calls, ClippedTableIsNotSent) {
    Start();
    TOutSignalParams p = BalancedParams();
    p.Current[1].Amplitude = 8;
    p.Current[2].Amplitude = 8;
    EXPECT_EQ(Set(p), 35);
    ASSERT_EQ(Codes(2), (std::vector<int>{10, 1}));
}

struct Fault {
    Options options;
    std::int16_t code;
    std::vector<int> frames;  // what reached the calibrator
};

// Every fault ends the call with its code and the port released; the next
// call on the same port goes through.
TEST_F(Calls, CalibratorFaults) {
    const Fault faults[] = {
        {{"--no-execution", "--fault-frame", "1"}, 1, {10}},
        {{"--short-reply", "3", "--fault-frame", "1", "--fault-on", "receipt"}, 11, {10}},
        {{"--bad-sync", "--fault-frame", "1", "--fault-on", "receipt"}, 12, {10}},
        {{"--bad-code", "--fault-frame", "1", "--fault-on", "receipt"}, 13, {10}},
        {{"--short-reply", "5", "--fault-frame", "1", "--fault-on", "execution"}, 14, {10}},
        {{"--bad-sync", "--fault-frame", "1", "--fault-on", "execution"}, 15, {10}},
        {{"--bad-code", "--fault-frame", "1", "--fault-on", "execution"}, 16, {10}},
        {{"--no-execution", "--fault-frame", "3"}, 3, {10, 1, 2}},
        {{"--bad-code", "--fault-frame", "4", "--fault-on", "execution"}, 16, {10, 1, 2, 7}},
        {{"--no-execution", "--fault-frame", "5"}, 1, {10, 1, 2, 7, 14}},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.options[0] + " " + f.options[2]);
        Start(f.options);
        EXPECT_EQ(Set(BalancedParams()), f.code);
        EXPECT_EQ(Codes(f.frames.size()), f.frames);
        std::this_thread::sleep_for(milliseconds(50));  // late confirmations of the refused frame
        EXPECT_EQ(Set(BalancedParams()), 0);
        EXPECT_EQ(Codes(f.frames.size() + 5).size(), f.frames.size() + 5);
    }
}

TEST_F(Calls, FaultsOfTheDips) {
    TOutSignalParams p = BalancedParams();
    TCollapsesOvervoltagesParams d = OneDip();
    p.Collapses = &d;
    Start({"--no-execution", "--fault-frame", "6"});
    EXPECT_EQ(Set(p), 3);
    EXPECT_EQ(Codes(6), (std::vector<int>{10, 1, 2, 7, 14, 1}));
    Start({"--bad-code", "--fault-frame", "7", "--fault-on", "receipt"});
    EXPECT_EQ(Set(p), 13);
    EXPECT_EQ(sim->Frames().size(), 6u);  // the block of 13 was never written
    // A start angle that is no number cannot place the dips: neither their
    // table nor their block goes out after the main signal.
    d.StartAngle = std::numeric_limits<float>::quiet_NaN();
    Start();
    EXPECT_EQ(Set(p), 40);
    EXPECT_EQ(Codes(5), (std::vector<int>{10, 1, 2, 7, 14}));
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(sim->Frames().size(), 5u);
}

// A calibrator switched off in the middle of a table: the write or the
// confirmation after it fails, and the port is free for the next one.
TEST_F(Calls, CalibratorVanishesMidTable) {
    Start({"--vanish-in-block", "1000"});
    const std::int16_t code = Set(BalancedParams());
    EXPECT_TRUE(code == 2 || code == 3) << code;
    Start();
    EXPECT_EQ(Set(BalancedParams()), 0);
}

TEST_F(Calls, StopSignalAndStopDips) {
    Start();
    EXPECT_EQ(Released([] { return Library().StopSignal(kPort); }), 0);
    EXPECT_EQ(Released([] { return Library().StopCollapsesOvervoltages(kPort); }), 0);
    const auto frames = sim->Frames();
    ASSERT_EQ(Codes(), (std::vector<int>{14, 15, 14}));
    EXPECT_EQ(frames[1]["frame"], "555555550F000000000000000000");
    EXPECT_EQ(frames[1]["state"]["voltage_running"], false);

    Start({"--no-execution", "--fault-frame", "1"});
    EXPECT_EQ(Released([] { return Library().StopSignal(kPort); }), 1);
    EXPECT_EQ(Codes(1), (std::vector<int>{14}));  // no reset of the outputs after a failure
    Start({"--bad-sync", "--fault-on", "receipt"});
    EXPECT_EQ(Released([] { return Library().StopCollapsesOvervoltages(kPort); }), 12);
    EXPECT_EQ(Library().StopSignal(9), 102);
}

// A call that holds the port (here through the pause before the dips)
// makes every other call on it fail with 101 and send nothing.
TEST_F(Calls, ConcurrentCallsOnOnePortCollide) {
    Start();
    TOutSignalParams p = BalancedParams();
    TCollapsesOvervoltagesParams d = OneDip();
    p.Collapses = &d;
    auto first = std::async(std::launch::async, [&] { return Library().SetSignal(kPort, p, nullptr); });
    ASSERT_EQ(sim->WaitFrames(5).size(), 5u);
    auto stop = std::async(std::launch::async, [] { return Library().StopSignal(kPort); });
    EXPECT_EQ(stop.get(), 101);
    EXPECT_EQ(Library().CheckPort(kPort), 101);
    EXPECT_EQ(first.get(), 0);
    EXPECT_EQ(Codes(7), (std::vector<int>{10, 1, 2, 7, 14, 1, 13}));

    // Two calls started together: one gets the port, the other 101.
    Start();
    auto a = std::async(std::launch::async, [&] { return Library().SetSignal(kPort, p, nullptr); });
    auto b = std::async(std::launch::async, [&] { return Library().SetSignal(kPort, p, nullptr); });
    const std::int16_t ca = a.get(), cb = b.get();
    EXPECT_EQ(std::min(ca, cb), 0);
    EXPECT_EQ(std::max(ca, cb), 101);
    EXPECT_EQ(Codes(7).size(), 7u);
}

}  // namespace
