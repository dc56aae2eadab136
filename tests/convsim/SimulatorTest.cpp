// The converter simulator seen through libmodbus's own client.
#include <modbus/modbus.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "ConverterSimulator.h"
#include "TempFolder.h"

namespace {

using talvo_test::ConverterSimulator;

class ModbusClient {
public:
    explicit ModbusClient(const std::string& path) : ctx_(modbus_new_rtu(path.c_str(), 115200, 'N', 8, 1)) {
        modbus_set_slave(ctx_, 1);
        modbus_set_response_timeout(ctx_, 0, 300000);
        connected_ = modbus_connect(ctx_) == 0;
    }
    ~ModbusClient() {
        modbus_close(ctx_);
        modbus_free(ctx_);
    }
    modbus_t* operator*() const { return ctx_; }
    bool Connected() const { return connected_; }

private:
    modbus_t* ctx_;
    bool connected_ = false;
};

class ConvsimTest : public ::testing::Test {
protected:
    talvo_test::TempSettings settings_;
};

TEST_F(ConvsimTest, ServesModuleGainAndCalibrationBlocks) {
    ConverterSimulator sim({"--module", "4321", "--gain", "0x88"});
    ModbusClient client(sim.SlavePath());
    ASSERT_TRUE(client.Connected());
    std::uint16_t regs[46] = {};
    ASSERT_EQ(modbus_read_registers(*client, 0, 2, regs), 2);
    EXPECT_EQ(regs[0], 4321);
    EXPECT_EQ(regs[1], 0x88);
    ASSERT_EQ(modbus_read_registers(*client, 48, 46, regs), 46);
    EXPECT_EQ(regs[0], 0x7FFF);
    EXPECT_EQ(static_cast<std::int16_t>(regs[1]), -2);
    EXPECT_EQ(static_cast<std::int16_t>(regs[44]), -88);
    EXPECT_EQ(regs[45], 0x7FFF);
    EXPECT_EQ(modbus_read_registers(*client, 139, 2, regs), -1);
    EXPECT_EQ(errno, EMBXILADD);
}

TEST_F(ConvsimTest, ResetAndGainSelectionChangeTheGainRegister) {
    ConverterSimulator sim({"--gain", "0x50"});
    ModbusClient client(sim.SlavePath());
    ASSERT_TRUE(client.Connected());
    std::uint16_t gain = 0;
    ASSERT_EQ(modbus_write_register(*client, 0x8000, 0), 1);
    ASSERT_EQ(modbus_read_registers(*client, 1, 1, &gain), 1);
    EXPECT_EQ(gain, 0);
    ASSERT_EQ(modbus_write_register(*client, 0x8001, 0x1A0), 1);
    ASSERT_EQ(modbus_read_registers(*client, 1, 1, &gain), 1);
    EXPECT_EQ(gain, 0x1A0);
    // Neither a code outside the gain table nor a reset value other than 0 is taken.
    EXPECT_EQ(modbus_write_register(*client, 0x8001, 0x0004), -1);
    EXPECT_EQ(errno, EMBXILVAL);
    EXPECT_EQ(modbus_write_register(*client, 0x8000, 1), -1);
    ASSERT_EQ(modbus_read_registers(*client, 1, 1, &gain), 1);
    EXPECT_EQ(gain, 0x1A0);
}

TEST_F(ConvsimTest, FaultsSpoilOnlyTheChosenRequest) {
    ConverterSimulator sim({"--bad-crc", "--fault-request", "2"});
    ModbusClient client(sim.SlavePath());
    ASSERT_TRUE(client.Connected());
    std::uint16_t regs[2] = {};
    EXPECT_EQ(modbus_read_registers(*client, 0, 2, regs), 2);
    EXPECT_EQ(modbus_read_registers(*client, 0, 2, regs), -1);
    EXPECT_EQ(errno, EMBBADCRC);
    modbus_flush(*client);
    EXPECT_EQ(modbus_read_registers(*client, 0, 2, regs), 2);
}

TEST_F(ConvsimTest, RefusesRequestsWithABadCrc) {
    ConverterSimulator sim;
    ModbusClient client(sim.SlavePath());
    ASSERT_TRUE(client.Connected());
    const std::uint8_t spoilt[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0C};
    ASSERT_EQ(write(modbus_get_socket(*client), spoilt, sizeof spoilt), 8);
    EXPECT_EQ(sim.WaitEntries("refused", 1).size(), 1u);
    EXPECT_TRUE(sim.Entries("response").empty());
}

TEST_F(ConvsimTest, RefusesUnknownOptions) { EXPECT_THROW(ConverterSimulator({"--gain", "x"}), std::runtime_error); }

}  // namespace
