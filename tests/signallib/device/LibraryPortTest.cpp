#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "CalibratorSimulator.h"
#include "ForeignHolder.h"
#include "SignalLib/device/DeviceCodes.h"
#include "SignalLib/device/Kalibrator.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;
using talvo_test::CalibratorSimulator;

class LibraryPort : public ::testing::Test {
protected:
    talvo_test::TempSettings settings;
};

// Opening and configuring the port as every library call does, then closing.
std::int16_t CheckPort(std::uint16_t number) {
    stlib::TCommPort port(number);
    return stlib::CloseKeepingCode(port, stlib::OpenAndConfigure(port));
}

TEST_F(LibraryPort, OpensConfiguresAndClosesTheSimulatorsPort) {
    CalibratorSimulator sim("COM3");
    stlib::TCommPort port(3);
    EXPECT_EQ(port.PortName(), "COM3");
    ASSERT_EQ(stlib::OpenAndConfigure(port), 0);
    EXPECT_EQ(port.FlowControlMode(), 0);
    EXPECT_EQ(port.Settings().baudRate, 115200u);
    EXPECT_EQ(port.Timeouts().readPerByte, 10u);
    EXPECT_EQ(port.Timeouts().readConstant, 100u);
    EXPECT_EQ(stlib::CloseKeepingCode(port, 0), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(CheckPort(3), 0);
}

TEST_F(LibraryPort, BusyWhenOpenHereOrInAnotherProcess) {
    CalibratorSimulator sim("COM3");
    {
        stlib::TCommPort first(3);
        ASSERT_EQ(stlib::OpenAndConfigure(first), 0);
        EXPECT_EQ(CheckPort(3), 101);
    }
    talvo_test::ForeignHolder holder(sim.Link().string());
    ASSERT_TRUE(holder.Holding());
    EXPECT_EQ(CheckPort(3), 101);
}

TEST_F(LibraryPort, AbsentAndUnusablePorts) {
    EXPECT_EQ(CheckPort(9), 102);
    fs::create_symlink(settings.PortFolder() / "gone", settings.PortFolder() / "COM8");
    EXPECT_EQ(CheckPort(8), 102);
    std::ofstream(settings.PortFolder() / "COM5") << "not a terminal";
    EXPECT_EQ(CheckPort(5), 103);
    fs::create_symlink("/dev/null", settings.PortFolder() / "COM6");  // a device, but no terminal
    EXPECT_EQ(CheckPort(6), 103);
}

TEST_F(LibraryPort, SettingsTheLineCannotTakeAreRefused) {
    CalibratorSimulator sim("COM3");
    stlib::TCommPort port(3);
    ASSERT_EQ(port.Open(), stlib::TOpenResult::Opened);
    port.Settings().baudRate = 115201;
    EXPECT_FALSE(port.ApplySettings());
    port.Settings() = {};
    port.Settings().dataBits = 9;
    EXPECT_FALSE(port.ApplySettings());
    port.Settings() = {};
    EXPECT_TRUE(port.ApplySettings());
    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.ApplySettings());
    EXPECT_FALSE(port.ApplyTimeouts());
}

// Reads and writes from two threads each hold the lock for their whole
// transfer, so one thread's bytes never split the other's.
TEST_F(LibraryPort, TransfersFromTwoThreadsStayWhole) {
    CalibratorSimulator sim("COM3");
    stlib::TKalibrator device(3);
    ASSERT_EQ(stlib::OpenAndConfigure(device), 0);
    const cmn::Frame a = cmn::BuildFrame(cmn::CalCommand::ResetDips, 0, 0);
    const cmn::Frame b = cmn::BuildFrame(cmn::CalCommand::ResetOutputs, 0, 0);
    auto writer = [&](const cmn::Frame& f) {
        for (int i = 0; i < 20; ++i) EXPECT_EQ(device.Write(f.data(), f.size()), 14);
    };
    std::thread t1(writer, a), t2(writer, b);
    t1.join();
    t2.join();
    const auto frames = sim.WaitFrames(40);
    ASSERT_EQ(frames.size(), 40u);
    for (const auto& f : frames) {
        EXPECT_EQ(f["skipped"], 0);
        EXPECT_TRUE(f["code"] == 14 || f["code"] == 15);
    }
}

}  // namespace
