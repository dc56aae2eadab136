#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "CalibratorSimulator.h"
#include "CommonUtils/CalibratorWire.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "link/ComPort.h"
#include "link/Exchange.h"

namespace {

using cmn::CalCommand;
using cmn::LogType;
using talvo_test::CalibratorSimulator;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Lines = std::vector<std::pair<LogType, std::string>>;
using talvo_test::RecordingLog;

const std::string kReceived = "Принято подтверждение о получении команды";
const std::string kExecuted = "Принято подтверждение о выполнении команды";
const std::string kReceipt = "Прием подтверждения о получении команды";
const std::string kExecution = "Прием подтверждения о выполнении команды";

std::vector<std::uint8_t> Table(std::size_t samples) {
    std::vector<std::uint8_t> bytes(samples * cmn::kSampleSize);
    for (std::size_t i = 0; i < samples; ++i) {
        const auto v = static_cast<std::uint16_t>(i * 19);
        cmn::PackSample(v, static_cast<std::uint16_t>(65535 - v), static_cast<std::uint16_t>(i), &bytes[i * 8]);
    }
    return bytes;
}

class ProgramExchange : public ::testing::Test {
protected:
    // The simulator with the given fault options and the program's port on it.
    void Start(const std::vector<std::string>& faults = {}) {
        sim = std::make_unique<CalibratorSimulator>("COM1", faults);
        port = std::make_unique<lnk::TMyComPort>("COM1", 115200);
        ASSERT_EQ(port->Status(), lnk::TOpenStatus::Opened);
    }
    bool Send(CalCommand code, std::uint16_t first, std::uint16_t second, std::span<const std::uint8_t> block = {}) {
        return lnk::SendCommand(*port, log, code, first, second, block);
    }
    talvo_test::TempSettings settings;
    std::unique_ptr<CalibratorSimulator> sim;
    std::unique_ptr<lnk::TMyComPort> port;
    RecordingLog log;
};

TEST(CommandNames, AreTheProtocolLogTexts) {
    EXPECT_EQ(lnk::CommandName(CalCommand::VoltageTable), "Установка значений выходного напряжения");
    EXPECT_EQ(lnk::CommandName(CalCommand::CurrentTable), "Установка значений выходного тока");
    EXPECT_EQ(lnk::CommandName(CalCommand::StartVoltage), "Генерация выходного сигнала напряжения");
    EXPECT_EQ(lnk::CommandName(CalCommand::StartCurrent), "Генерация выходного сигнала тока");
    EXPECT_EQ(lnk::CommandName(CalCommand::StartBoth), "Генерация выходного сигнала напряжения и тока");
    EXPECT_EQ(lnk::CommandName(CalCommand::Range), "Установка номинального напряжения и тока");
    EXPECT_EQ(lnk::CommandName(CalCommand::TimerDivisor), "Установка коэффициента деления таймера");
    EXPECT_EQ(lnk::CommandName(CalCommand::Dips), "Установка параметров провалов и перенапряжений");
    EXPECT_EQ(lnk::CommandName(CalCommand::ResetDips), "Сброс провалов и перенапряжений");
    EXPECT_EQ(lnk::CommandName(CalCommand::ResetOutputs), "Сброс выходных сигналов");
}

// The execution word must be the code with bit 7 set; for a code that has
// bit 7 set already that is the code itself, not code + 128.
TEST(ProgramConfirmation, ExecutionWordIsTheCodeOrBit7) {
    RecordingLog log;
    const auto c200 = cmn::BuildConfirmation(200);
    const auto c328 = cmn::BuildConfirmation(328);
    EXPECT_TRUE(lnk::CheckConfirmation(lnk::TConfirmationKind::Execution, c200, 200, log));
    EXPECT_FALSE(lnk::CheckConfirmation(lnk::TConfirmationKind::Execution, c328, 200, log));
    EXPECT_FALSE(lnk::CheckConfirmation(lnk::TConfirmationKind::Receipt, cmn::BuildConfirmation(0x8E), 14, log));
    EXPECT_FALSE(lnk::CheckConfirmation(lnk::TConfirmationKind::Receipt, {}, 14, log));
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{kExecuted, kExecution + ": неверный код команды",
                                                     kReceipt + ": неверный код команды",
                                                     kReceipt + ": нет ответа от калибратора"}));
}

TEST_F(ProgramExchange, RangeFrameAndBothConfirmations) {
    Start();
    ASSERT_TRUE(Send(CalCommand::Range, 3, 0));
    EXPECT_EQ(log.lines, (Lines{{LogType::Info, "Команда \"Установка номинального напряжения и тока\" передана"},
                                {LogType::Info, kReceived},
                                {LogType::Info, kExecuted}}));
    const auto frames = sim->WaitFrames(1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0]["frame"], "555555550A000300000000000000");
    EXPECT_EQ(frames[0]["state"]["range"], 3);
}

TEST_F(ProgramExchange, VoltageTableOfOnePeriodAtFiftyHertz) {
    Start();
    const auto table = Table(3419);
    ASSERT_TRUE(Send(CalCommand::VoltageTable, 3419 * 4, cmn::kSecondParameter, table));
    EXPECT_EQ(log.Texts(),
              (std::vector<std::string>{"Команда \"Установка значений выходного напряжения\" передана", kReceived,
                                        "Описание сигнала \"Напряжение\" передано", kExecuted}));
    const auto frames = sim->WaitFrames(1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0]["frame"], "5555555501006C35C03B00000000");
    EXPECT_EQ(frames[0]["data_length"], 27352);
    EXPECT_EQ(frames[0]["markers_ok"], true);
    EXPECT_EQ(frames[0]["a"][3418], static_cast<std::uint16_t>(3418 * 19));
    EXPECT_EQ(frames[0]["b"][1], 65535 - 19);
    EXPECT_EQ(frames[0]["c"][3418], 3418);
}

// Command 13 sends its block and waits for no execution confirmation.
TEST_F(ProgramExchange, TimingBlockWithoutExecutionConfirmation) {
    Start();
    const cmn::TimingBlock block = cmn::EncodeTimingBlock(1709, 8547, 0);
    ASSERT_TRUE(Send(CalCommand::Dips, 3, cmn::kSecondParameter, block));
    EXPECT_EQ(log.Texts().back(), "Описание сигнала \"Провалы и перенапряжения\" передано");
    EXPECT_EQ(log.lines.size(), 3u);
    ASSERT_TRUE(Send(CalCommand::ResetDips, 0, 0));
    const auto frames = sim->WaitFrames(2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0]["block"], "AD0600006321000000000000");
    EXPECT_EQ(frames[1]["code"], 14);
}

TEST_F(ProgramExchange, WrongSyncOnReceipt) {
    Start({"--bad-sync", "--fault-on", "receipt"});
    EXPECT_FALSE(Send(CalCommand::ResetDips, 0, 0));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kReceipt + ": неверные байты синхронизации"));
}

TEST_F(ProgramExchange, WrongCodeOnReceiptAndOnExecution) {
    Start({"--bad-code", "--fault-frame", "1", "--fault-on", "receipt"});
    EXPECT_FALSE(Send(CalCommand::ResetDips, 0, 0));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kReceipt + ": неверный код команды"));
    port.reset();
    log.lines.clear();
    Start({"--bad-code", "--fault-on", "execution"});
    EXPECT_FALSE(Send(CalCommand::ResetOutputs, 0, 0));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kExecution + ": неверный код команды"));
}

// The confirmation after a table is judged like an execution confirmation.
TEST_F(ProgramExchange, TableConfirmationIsChecked) {
    Start({"--bad-code", "--fault-on", "execution"});
    const auto table = Table(10);
    EXPECT_FALSE(Send(CalCommand::CurrentTable, 40, cmn::kSecondParameter, table));
    EXPECT_EQ(log.Texts(),
              (std::vector<std::string>{"Команда \"Установка значений выходного тока\" передана", kReceived,
                                        "Описание сигнала \"Ток\" передано", kExecution + ": неверный код команды"}));
}

// Silence, three bytes and then nothing, and an answer later than the
// 1080 ms time-out all read as no answer.
TEST_F(ProgramExchange, IncompleteMissingAndLateConfirmations) {
    Start({"--short-reply", "3", "--fault-on", "receipt"});
    auto start = Clock::now();
    EXPECT_FALSE(Send(CalCommand::ResetDips, 0, 0));
    EXPECT_GE(Clock::now() - start, milliseconds(1080));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kReceipt + ": нет ответа от калибратора"));

    Start({"--no-execution"});
    EXPECT_FALSE(Send(CalCommand::ResetDips, 0, 0));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kExecution + ": нет ответа от калибратора"));

    // The late confirmation stays in the queue: the program clears nothing
    // before a command, so the next receipt reads the stale execution word.
    Start({"--delay", "1300", "--fault-frame", "1", "--fault-on", "execution"});
    EXPECT_FALSE(Send(CalCommand::ResetDips, 0, 0));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kExecution + ": нет ответа от калибратора"));
    std::this_thread::sleep_for(milliseconds(400));
    EXPECT_FALSE(Send(CalCommand::ResetOutputs, 0, 0));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kReceipt + ": неверный код команды"));
}

TEST_F(ProgramExchange, SilentFromTheSecondFrame) {
    Start({"--silent-from", "2"});
    EXPECT_TRUE(Send(CalCommand::ResetDips, 0, 0));
    EXPECT_FALSE(Send(CalCommand::ResetOutputs, 0, 0));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kReceipt + ": нет ответа от калибратора"));
    EXPECT_EQ(sim->WaitFrames(2).size(), 2u);
}

// The simulator dies while the program waits for a confirmation: the wait
// ends at once, writing then fails, and the port still closes.
TEST_F(ProgramExchange, CalibratorVanishesMidExchange) {
    Start({"--delay", "5000", "--fault-on", "execution"});
    std::thread killer([&] {
        std::this_thread::sleep_for(milliseconds(200));
        sim->Kill();
    });
    const auto start = Clock::now();
    EXPECT_FALSE(Send(CalCommand::StartBoth, 4, cmn::kSecondParameter));
    killer.join();
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
    EXPECT_EQ(log.lines.back(), std::make_pair(LogType::Error, kExecution + ": нет ответа от калибратора"));
    EXPECT_FALSE(Send(CalCommand::ResetDips, 0, 0));
    EXPECT_EQ(
        log.lines.back(),
        std::make_pair(LogType::Error, std::string("Ошибка при передаче команды \"Сброс провалов и перенапряжений\"")));
    EXPECT_TRUE(port->Close());
}

}  // namespace
