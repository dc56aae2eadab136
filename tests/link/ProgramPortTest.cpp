#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CalibratorSimulator.h"
#include "ForeignHolder.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "link/ComPort.h"
#include "link/PortAccess.h"

namespace {

namespace fs = std::filesystem;
using talvo_test::CalibratorSimulator;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using talvo_test::RecordingLog;

class ProgramPort : public ::testing::Test {
protected:
    talvo_test::TempSettings settings;
    RecordingLog log;
};

TEST_F(ProgramPort, OpensAndReleasesWithItsLogLines) {
    CalibratorSimulator sim("COM3");
    auto port = lnk::OpenActionPort("COM3", 115200, log);
    ASSERT_TRUE(port);
    EXPECT_EQ(port->Name(), "COM3");
    EXPECT_TRUE(lnk::ReleaseActionPort(port, log));
    EXPECT_FALSE(port);
    EXPECT_TRUE(lnk::ReleaseActionPort(port, log));  // nothing open: nothing to log
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], std::make_pair(cmn::LogType::Info, std::string("Порт COM3 открыт")));
    EXPECT_EQ(log.lines[1], std::make_pair(cmn::LogType::Info, std::string("Порт COM3 освобожден")));
    // Released means free for the next action at once.
    lnk::TMyComPort again("COM3", 115200);
    EXPECT_EQ(again.Status(), lnk::TOpenStatus::Opened);
}

TEST_F(ProgramPort, NoPortChosen) {
    EXPECT_FALSE(lnk::OpenActionPort("", 115200, log));
    EXPECT_EQ(log.lines, (decltype(log.lines){{cmn::LogType::Error, "Не выбран COM-порт!"}}));
    RecordingLog window(true);
    EXPECT_FALSE(lnk::OpenActionPort("", 115200, window));
    EXPECT_TRUE(window.lines.empty());
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].text, "Не выбран COM-порт!");
    EXPECT_EQ(window.questions[0].kind, cmn::MessageKind::Warning);
    EXPECT_EQ(window.questions[0].buttons, cmn::Buttons::Ok);
}

// Each refused open is tried once more 2000 ms later.
TEST_F(ProgramPort, BusyWhenOpenHereAfterOneRetry) {
    CalibratorSimulator sim("COM2");
    lnk::TMyComPort first("COM2", 115200);
    ASSERT_EQ(first.Status(), lnk::TOpenStatus::Opened);
    const auto start = Clock::now();
    EXPECT_FALSE(lnk::OpenActionPort("COM2", 115200, log));
    EXPECT_GE(Clock::now() - start, milliseconds(2000));
    EXPECT_EQ(log.lines, (decltype(log.lines){{cmn::LogType::Error, "Порт COM2 занят"}}));
}

TEST_F(ProgramPort, BusyWhenAnotherProcessHoldsIt) {
    CalibratorSimulator sim("COM2");
    talvo_test::ForeignHolder holder(sim.Link().string());
    ASSERT_TRUE(holder.Holding());
    lnk::TMyComPort port("COM2", 115200);
    EXPECT_EQ(port.Status(), lnk::TOpenStatus::Busy);
    EXPECT_EQ(port.Name(), "");
}

TEST_F(ProgramPort, AbsentAndUnusablePortsDoNotExist) {
    std::ofstream(settings.PortFolder() / "COM5") << "not a terminal";
    const auto start = Clock::now();
    EXPECT_FALSE(lnk::OpenActionPort("COM7", 115200, log));
    EXPECT_GE(Clock::now() - start, milliseconds(2000));
    EXPECT_FALSE(lnk::OpenActionPort("COM5", 115200, log));
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"Порт COM7 не существует", "Порт COM5 не существует"}));
}

// A simulator that appears during the 2000 ms pause is found by the retry.
TEST_F(ProgramPort, RetryFindsAPortThatAppearedMeanwhile) {
    std::unique_ptr<CalibratorSimulator> sim;
    std::thread late([&] {
        std::this_thread::sleep_for(milliseconds(500));
        sim = std::make_unique<CalibratorSimulator>("COM6");
    });
    const auto start = Clock::now();
    lnk::TMyComPort port("COM6", 115200);
    late.join();
    EXPECT_EQ(port.Status(), lnk::TOpenStatus::Opened);
    EXPECT_GE(Clock::now() - start, milliseconds(2000));
    EXPECT_TRUE(port.Close());
    EXPECT_TRUE(port.Close());
}

}  // namespace
