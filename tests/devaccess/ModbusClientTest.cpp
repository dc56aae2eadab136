// The Modbus RTU client against the libmodbus-based converter simulator.
#include <chrono>

#include <gtest/gtest.h>

#include "ConverterSimulator.h"
#include "DeviceAccess/ErrorTexts.h"
#include "DeviceAccess/ModBusRTU.h"
#include "TempFolder.h"

namespace {

using namespace da;
using namespace std::chrono_literals;
using talvo_test::ConverterSimulator;
using Clock = std::chrono::steady_clock;

class ModbusClient : public ::testing::Test {
protected:
    // The converter page's client: device 1, messages serviced, two attempts,
    // direct RS-232 at 115200 baud with two connection attempts.
    std::unique_ptr<TModBusRTU> Connect(const ConverterSimulator& sim) {
        auto client = std::make_unique<TModBusRTU>(
            worker_, 1, true, 2, SerialDescription(sim.Name(), 115200, SerialMode::Direct, {2, 1, 63}));
        client->SetMessageHandler([this] { ++serviced_; });
        return client;
    }
    std::vector<std::string> RequestsSeen(const ConverterSimulator& sim) {
        std::vector<std::string> hex;
        for (const auto& e : sim.Entries("request")) hex.push_back(e["hex"]);
        return hex;
    }

    talvo_test::TempSettings settings_;
    std::shared_ptr<TLCAThread> worker_ = std::make_shared<TLCAThread>();
    int serviced_ = 0;
};

TEST_F(ModbusClient, ReadsModuleAndGainWithTheKnownFrame) {
    ConverterSimulator sim({"--module", "517", "--gain", "0x1A0"});
    auto client = Connect(sim);
    std::vector<std::uint16_t> regs;
    ASSERT_TRUE(client->ReadHoldingRegisters(0, 2, &regs)) << client->ErrorText();
    EXPECT_EQ(regs, (std::vector<std::uint16_t>{517, 0x1A0}));
    EXPECT_EQ(client->LastProtocolError(), 0);
    EXPECT_EQ(RequestsSeen(sim), std::vector<std::string>{"01030000000"
                                                          "2C40B"});
    EXPECT_GT(serviced_, 0);
}

TEST_F(ModbusClient, ConnectionTestIsEchoed) {
    ConverterSimulator sim;
    auto client = Connect(sim);
    std::uint16_t echoed = 0;
    ASSERT_TRUE(client->Diagnostics(0, 0x1234, &echoed)) << client->ErrorText();
    EXPECT_EQ(echoed, 0x1234);
    EXPECT_EQ(RequestsSeen(sim), std::vector<std::string>{"010800001234ED7C"});
    EXPECT_EQ(sim.WaitEntries("response", 1).at(0)["hex"], "010800001234ED7C");
}

// The simulator's three calibration blocks hold (c + 1) x i with alternating signs.
void ExpectCalibrationBlocks(TModBusRTU& client) {
    const std::uint16_t starts[] = {2, 48, 94};
    for (int c = 0; c < 3; ++c) {
        std::vector<std::uint16_t> block;
        ASSERT_TRUE(client.ReadHoldingRegisters(starts[c], 46, &block)) << client.ErrorText();
        ASSERT_EQ(block.size(), 46u);
        const int sign = c % 2 ? -1 : 1;
        EXPECT_EQ(static_cast<std::int16_t>(block[1]), (c + 1) * sign) << "block " << c;
        EXPECT_EQ(static_cast<std::int16_t>(block[44]), (c + 1) * 44 * sign) << "block " << c;
    }
}

TEST_F(ModbusClient, ReadsTheThreeCalibrationBlocks) {
    ConverterSimulator sim;
    ExpectCalibrationBlocks(*Connect(sim));
}

// The first answer comes after the read has timed out; the retry may take it
// (it answers the same request), but the retry's own answer must not be
// taken by the next request.
TEST_F(ModbusClient, ALateAnswerIsNotTakenForTheNextRequest) {
    ConverterSimulator sim({"--delay", "1100", "--fault-request", "1"});
    ExpectCalibrationBlocks(*Connect(sim));
    EXPECT_EQ(sim.Entries("request").size(), 4u);
}

TEST_F(ModbusClient, ResetAndGainWritesChangeTheConverter) {
    ConverterSimulator sim({"--gain", "0x50"});
    auto client = Connect(sim);
    std::uint16_t echoed = 0;
    ASSERT_TRUE(client->WriteSingleRegister(0x8001, 0x1A0, &echoed)) << client->ErrorText();
    EXPECT_EQ(echoed, 0x1A0);
    std::vector<std::uint16_t> regs;
    ASSERT_TRUE(client->ReadHoldingRegisters(1, 1, &regs));
    EXPECT_EQ(regs.at(0), 0x1A0);
    ASSERT_TRUE(client->WriteSingleRegister(0x8000, 0, &echoed));
    ASSERT_TRUE(client->ReadHoldingRegisters(1, 1, &regs));
    EXPECT_EQ(regs.at(0), 0);
    EXPECT_FALSE(client->WriteSingleRegister(0x8001, 0x0004, &echoed));
    EXPECT_EQ(client->LastProtocolError(), 205);
}

TEST_F(ModbusClient, BadCrcFailsWithoutARetry) {
    ConverterSimulator sim({"--bad-crc"});
    auto client = Connect(sim);
    std::vector<std::uint16_t> regs;
    EXPECT_FALSE(client->ReadHoldingRegisters(0, 2, &regs));
    EXPECT_EQ(client->LastProtocolError(), mberr::kBadCrc);
    EXPECT_EQ(client->ErrorText(), "CRC не совпало");
    EXPECT_EQ(sim.Entries("request").size(), 1u);
}

TEST_F(ModbusClient, ExceptionResponseGivesItsCode) {
    ConverterSimulator sim({"--exception", "2"});
    auto client = Connect(sim);
    std::vector<std::uint16_t> regs;
    EXPECT_FALSE(client->ReadHoldingRegisters(0, 2, &regs));
    EXPECT_EQ(client->LastProtocolError(), 204);
    EXPECT_EQ(client->ErrorText(), "Некорректный адрес параметра.");
}

TEST_F(ModbusClient, NoiseBeforeTheResponseIsSkipped) {
    ConverterSimulator sim({"--noise", "3", "--fault-request", "2"});
    auto client = Connect(sim);
    std::vector<std::uint16_t> regs;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(client->ReadHoldingRegisters(0, 2, &regs)) << i << ": " << client->ErrorText();
        EXPECT_EQ(regs.size(), 2u);
    }
    EXPECT_EQ(sim.Entries("request").size(), 3u);
}

TEST_F(ModbusClient, SilenceFailsAfterASecondPerAttempt) {
    ConverterSimulator sim({"--silent-from", "1"});
    auto client = Connect(sim);
    std::uint16_t echoed = 0;
    const auto start = Clock::now();
    EXPECT_FALSE(client->Diagnostics(0, 0x1234, &echoed));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 2000ms);
    EXPECT_LT(took, 3000ms);
    EXPECT_EQ(client->LastProtocolError(), err::kTimeout);
    EXPECT_EQ(client->ErrorText(), "Нет ответа от устройства");
    EXPECT_EQ(sim.WaitEntries("request", 2).size(), 2u);
}

TEST_F(ModbusClient, OtherFunctionsReachTheServer) {
    ConverterSimulator sim;
    auto client = Connect(sim);
    ASSERT_TRUE(client->WriteMultipleRegisters(130, {7, 8, 9})) << client->ErrorText();
    std::vector<std::uint16_t> regs;
    // The converter keeps no input registers, coils or file records.
    EXPECT_FALSE(client->ReadInputRegisters(0, 1, &regs));
    EXPECT_EQ(client->LastProtocolError(), 204);
    ASSERT_TRUE(client->ReadHoldingRegisters(130, 3, &regs));
    EXPECT_EQ(regs, (std::vector<std::uint16_t>{7, 8, 9}));
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(client->ReportServerId(&bytes)) << client->ErrorText();
    EXPECT_FALSE(bytes.empty());
    EXPECT_FALSE(client->ReadCoils(0, 8, &bytes));
    EXPECT_EQ(client->LastProtocolError(), 204);
    EXPECT_FALSE(client->ReadFileRecord(1, 0, 2, {}, &bytes));
    EXPECT_EQ(client->LastProtocolError(), 203);
    EXPECT_EQ(sim.Entries("refused").size(), 0u);
}

TEST_F(ModbusClient, MissingDestinationAndMissingPort) {
    ConverterSimulator sim;
    auto client = Connect(sim);
    EXPECT_FALSE(client->ReadHoldingRegisters(0, 2, nullptr));
    EXPECT_EQ(client->LastProtocolError(), mberr::kNoDestination);
    TModBusRTU absent(worker_, 1, false, 2, SerialDescription("COM250", 115200, SerialMode::Direct, {2, 1, 63}));
    EXPECT_FALSE(absent.HasChannel());
    EXPECT_EQ(absent.LastProtocolError(), err::kPortAbsent);
    std::vector<std::uint16_t> regs;
    EXPECT_FALSE(absent.ReadHoldingRegisters(0, 2, &regs));
    EXPECT_EQ(absent.ErrorText(), "Com-порт не найден.");
}

}  // namespace
