#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "DeviceAccess/ErrorTexts.h"
#include "DeviceAccess/PCAComPort.h"
#include "DeviceAccess/PCAEthernetTCP.h"
#include "ForeignHolder.h"
#include "LoopbackListener.h"
#include "PeerPty.h"
#include "TempFolder.h"

namespace {

using namespace da;
using talvo_test::LoopbackListener;
using talvo_test::PeerPty;
using Clock = std::chrono::steady_clock;

TConnectionDescription Direct(const std::string& port) {
    return SerialDescription(port, 115200, SerialMode::Direct, {});
}

// Waits for the pending transfer and collects it.
TransferResult Finish(TPCACustom& channel, std::size_t& count) {
    pollfd p = channel.PendingEvents();
    if (p.fd >= 0) ::poll(&p, 1, 2000);
    return channel.Collect(count);
}

class SerialChannel : public ::testing::Test {
protected:
    talvo_test::TempSettings settings_;
};

TEST_F(SerialChannel, OpeningFailuresHaveTheirCodes) {
    TPCAComPort absent;
    EXPECT_EQ(absent.Create(Direct("COM250")), err::kPortAbsent);
    std::ofstream(std::filesystem::path(settings_.PortFolder()) / "COM4") << "not a terminal";
    TPCAComPort plainFile;
    EXPECT_EQ(plainFile.Create(Direct("COM4")), err::kPortAbsent);
    PeerPty peer("COM3");
    {
        TPCAComPort oddRate;
        EXPECT_EQ(oddRate.Create(SerialDescription("COM3", 12345, SerialMode::Direct, {})), err::kPortSettings);
        EXPECT_FALSE(oddRate.IsOpen());
        TPCAComPort again;
        EXPECT_EQ(again.Create(Direct("COM3")), err::kNone) << "the refused port was closed again";
    }
    talvo_test::ForeignHolder holder(peer.SlavePath());
    ASSERT_TRUE(holder.Holding());
    TPCAComPort busy;
    EXPECT_EQ(busy.Create(Direct("COM3")), err::kPortBusy);
    EXPECT_FALSE(busy.IsOpen());
    TPCAComPort wrongKind;
    EXPECT_EQ(wrongKind.Create(TcpDescription("127.0.0.1", 1, {})), err::kBadKind);
    int error = 0;
    TConnectionDescription unknown{};
    unknown[0] = 7;
    EXPECT_EQ(CreatePhysicalChannel(unknown, error), nullptr);
    EXPECT_EQ(error, err::kBadKind);
}

TEST_F(SerialChannel, ModemModesNeedTheModemAndDoNotConnect) {
    PeerPty peer("COM3");
    TPCAComPort modem;
    EXPECT_EQ(modem.Create(SerialDescription("COM3", 9600, SerialMode::TelephoneModem, {}, {"ATZ", true, "1"})),
              err::kNoModem);
    TPCAComPort optical;
    ASSERT_EQ(optical.Create(SerialDescription("COM3", 9600, SerialMode::Optical, {})), err::kNone);
    EXPECT_EQ(optical.Connect(), err::kNotImplemented);
}

TEST_F(SerialChannel, DirectModeMovesBytesWithoutBlocking) {
    PeerPty peer("COM3");
    TPCAComPort port;
    const auto opened = Clock::now();
    ASSERT_EQ(port.Create(Direct("COM3")), err::kNone);
    EXPECT_GE(Clock::now() - opened, std::chrono::milliseconds(250));
    ASSERT_EQ(port.Connect(), err::kNone);
    EXPECT_TRUE(port.Matches(Direct("COM3")));
    EXPECT_FALSE(port.Matches(Direct("COM5")));

    const std::uint8_t out[] = {1, 2, 3};
    std::size_t count = 0;
    EXPECT_EQ(port.Write(out, 3, count), TransferResult::Done);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(peer.Receive(3), (std::vector<std::uint8_t>{1, 2, 3}));

    std::uint8_t in[8] = {};
    ASSERT_EQ(port.Read(in, sizeof in, count), TransferResult::Pending);
    peer.Send({9, 8});
    EXPECT_EQ(Finish(port, count), TransferResult::Done);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(in[1], 8);
    EXPECT_EQ(port.Disconnect(), err::kNone);
}

TEST(TcpChannel, ConnectsTransfersAndSeesThePeerGo) {
    LoopbackListener server;
    TPCAEthernetTCP tcp;
    ASSERT_EQ(tcp.Create(TcpDescription("127.0.0.1", server.port, {})), err::kNone);
    ASSERT_EQ(tcp.Connect(), err::kNone);
    const int peer = ::accept(server.fd, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    const std::uint8_t out[] = {0x55, 0xAA};
    std::size_t count = 0;
    EXPECT_EQ(tcp.Write(out, 2, count), TransferResult::Done);
    std::uint8_t got[2] = {};
    EXPECT_EQ(::recv(peer, got, 2, MSG_WAITALL), 2);
    EXPECT_EQ(got[1], 0xAA);
    std::uint8_t in[4];
    ASSERT_EQ(tcp.Read(in, 4, count), TransferResult::Pending);
    ::close(peer);
    EXPECT_EQ(Finish(tcp, count), TransferResult::Done);
    EXPECT_EQ(count, 0u);
}

TEST(TcpChannel, ConnectionFailuresHaveTheirCodes) {
    std::uint16_t unused = 0;
    {
        LoopbackListener closed;
        unused = closed.port;
    }
    TPCAEthernetTCP refused;
    ASSERT_EQ(refused.Create(TcpDescription("127.0.0.1", unused, {})), err::kNone);
    EXPECT_EQ(refused.Connect(), err::kServerNotFound);
    TPCAEthernetTCP badAddress;
    ASSERT_EQ(badAddress.Create(TcpDescription("127.0.0.x", 80, {})), err::kNone);
    EXPECT_EQ(badAddress.Connect(), err::kBadAddress);
    TPCAEthernetTCP noPort;
    ASSERT_EQ(noPort.Create(TcpDescription("127.0.0.1", 0, {})), err::kNone);
    EXPECT_EQ(noPort.Connect(), err::kBadIpPort);
    TPCAEthernetTCP serialKind;
    EXPECT_EQ(serialKind.Create(Direct("COM1")), err::kBadKind);
}

}  // namespace
