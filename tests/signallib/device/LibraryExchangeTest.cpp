#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "CalibratorSimulator.h"
#include "CommonUtils/CalibratorWire.h"
#include "SignalLib/device/DeviceCodes.h"
#include "SignalLib/device/Kalibrator.h"
#include "TempFolder.h"

namespace {

using cmn::CalCommand;
using talvo_test::CalibratorSimulator;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::vector<std::uint8_t> Table(std::size_t samples) {
    std::vector<std::uint8_t> bytes(samples * cmn::kSampleSize);
    for (std::size_t i = 0; i < samples; ++i) {
        cmn::PackSample(32767, static_cast<std::uint16_t>(i), 65535, &bytes[i * cmn::kSampleSize]);
    }
    return bytes;
}

class LibraryExchange : public ::testing::Test {
protected:
    void Start(const std::vector<std::string>& faults = {}) {
        device.reset();
        sim = std::make_unique<CalibratorSimulator>("COM1", faults);
        device = std::make_unique<stlib::TKalibrator>(1);
        ASSERT_EQ(stlib::OpenAndConfigure(*device), 0);
    }
    // The code the exchange of `code` leaves; 0 after success.
    std::int16_t Exchange(CalCommand code, std::uint16_t first = 0, std::uint16_t second = 0) {
        const bool ok = device->Exchange(code, first, second);
        EXPECT_EQ(ok, device->LastError() == 0);
        return device->LastError();
    }
    talvo_test::TempSettings settings;
    std::unique_ptr<CalibratorSimulator> sim;
    std::unique_ptr<stlib::TKalibrator> device;
};

TEST_F(LibraryExchange, TablesAndTimingBlockReachTheCalibrator) {
    Start();
    EXPECT_EQ(Exchange(CalCommand::Range, 3, 0), 0);
    const auto table = Table(3419);
    EXPECT_EQ(Exchange(CalCommand::VoltageTable, 3419 * 4, cmn::kSecondParameter), 0);
    ASSERT_TRUE(device->WriteTable(table));
    EXPECT_EQ(Exchange(CalCommand::StartVoltage, 3419 * 4, cmn::kSecondParameter), 0);
    EXPECT_TRUE(device->ResetDips());
    const cmn::TimingBlock block = cmn::EncodeTimingBlock(1709, 8547, -2);
    EXPECT_EQ(Exchange(CalCommand::Dips, 2, cmn::kSecondParameter), 0);
    ASSERT_TRUE(device->WriteTimingBlock(block));
    EXPECT_TRUE(device->ResetOutputs());

    const auto frames = sim->WaitFrames(6);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[0]["frame"], "555555550A000300000000000000");
    EXPECT_EQ(frames[1]["frame"], "5555555501006C35C03B00000000");
    EXPECT_EQ(frames[1]["samples"], 3419);
    EXPECT_EQ(frames[1]["b"][3418], 3418);
    EXPECT_EQ(frames[2]["state"]["voltage_running"], true);
    EXPECT_EQ(frames[4]["block"], "AD06000063210000FEFF0000");
    EXPECT_EQ(frames[4]["state"]["dips"]["count"], 2);
    EXPECT_EQ(frames[5]["code"], 15);
}

TEST_F(LibraryExchange, ReceiptFaults) {
    Start({"--bad-sync", "--fault-frame", "1"});
    EXPECT_EQ(Exchange(CalCommand::ResetDips), 12);
    Start({"--bad-code", "--fault-frame", "1"});
    EXPECT_EQ(Exchange(CalCommand::ResetDips), 13);
    // The calibrator still sends the execution confirmation of the refused
    // frame; once it has arrived, the next command clears it and starts afresh.
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(Exchange(CalCommand::ResetDips), 0);
    Start({"--short-reply", "3", "--fault-on", "receipt"});
    EXPECT_EQ(Exchange(CalCommand::ResetDips), 11);
}

TEST_F(LibraryExchange, ExecutionFaults) {
    Start({"--bad-sync", "--fault-on", "execution"});
    EXPECT_EQ(Exchange(CalCommand::ResetOutputs), 15);
    Start({"--bad-code", "--fault-on", "execution"});
    EXPECT_EQ(Exchange(CalCommand::ResetOutputs), 16);
    Start({"--short-reply", "3", "--fault-on", "execution"});
    EXPECT_EQ(Exchange(CalCommand::ResetOutputs), 14);
    Start({"--no-execution"});
    EXPECT_EQ(Exchange(CalCommand::ResetOutputs), 1);
    // Codes up to 4 and 13 wait for no execution confirmation.
    EXPECT_EQ(Exchange(CalCommand::Dips, 1, cmn::kSecondParameter), 0);
}

// Neither silence nor an answer later than 180 ms is waited for; the late
// answer does not spoil the next command, since every command first clears
// the port's queues.
TEST_F(LibraryExchange, SilenceAndLateAnswers) {
    Start({"--silent-from", "1"});
    auto start = Clock::now();
    EXPECT_EQ(Exchange(CalCommand::ResetDips), 1);
    EXPECT_GE(Clock::now() - start, milliseconds(180));
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
    Start({"--delay", "300", "--fault-frame", "1", "--fault-on", "execution"});
    EXPECT_EQ(Exchange(CalCommand::ResetDips), 1);
    std::this_thread::sleep_for(milliseconds(250));
    EXPECT_EQ(Exchange(CalCommand::ResetOutputs), 0);
}

// The confirmation after a table is only counted, not examined; a missing
// or cut-short one is error 3.
TEST_F(LibraryExchange, TableConfirmationIsOnlyCounted) {
    const auto table = Table(16);
    Start({"--bad-code", "--bad-sync", "--fault-on", "execution"});
    ASSERT_EQ(Exchange(CalCommand::CurrentTable, 64, cmn::kSecondParameter), 0);
    EXPECT_TRUE(device->WriteTable(table));
    Start({"--short-reply", "5", "--fault-on", "execution"});
    ASSERT_EQ(Exchange(CalCommand::CurrentTable, 64, cmn::kSecondParameter), 0);
    EXPECT_FALSE(device->WriteTable(table));
    EXPECT_EQ(device->LastError(), 3);
    Start({"--no-execution"});
    ASSERT_EQ(Exchange(CalCommand::VoltageTable, 64, cmn::kSecondParameter), 0);
    EXPECT_FALSE(device->WriteTable(table));
    EXPECT_EQ(device->LastError(), 3);
}

// After the calibrator's end has gone, writing fails at once with 2, and
// the port still closes.
TEST_F(LibraryExchange, CalibratorVanished) {
    Start();
    EXPECT_EQ(Exchange(CalCommand::ResetDips), 0);
    sim->Kill();
    const auto start = Clock::now();
    EXPECT_EQ(Exchange(CalCommand::ResetOutputs), 2);
    EXPECT_FALSE(device->WriteTable(Table(4)));
    EXPECT_EQ(device->LastError(), 2);
    EXPECT_LT(Clock::now() - start, milliseconds(500));
    EXPECT_EQ(stlib::CloseKeepingCode(*device, 0), 0);
}

}  // namespace
