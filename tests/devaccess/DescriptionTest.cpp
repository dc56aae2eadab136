#include <gtest/gtest.h>

#include "CommonUtils/TalvoError.h"
#include "DeviceAccess/ConnectionDescription.h"
#include "DeviceAccess/CustomModBus.h"
#include "DeviceAccess/ErrorTexts.h"

namespace {

using namespace da;

TEST(ConnectionDescription, DirectSerialFieldsSitAtTheirOffsets) {
    const auto d = SerialDescription("COM12", 115200, SerialMode::Direct, {2, 3, 63});
    EXPECT_EQ(d.size(), 531u);
    EXPECT_EQ(d[0], 1);
    EXPECT_EQ(d[1], 5);
    EXPECT_EQ(std::string(d.begin() + 2, d.begin() + 7), "COM12");
    EXPECT_EQ(d[8] | d[9] << 8 | d[10] << 16, 115200);
    EXPECT_EQ(d[12], 0);
    EXPECT_EQ(d[13], 1);
    EXPECT_EQ(d[527], 2);
    EXPECT_EQ(d[528], 0);
    EXPECT_EQ(d[529], 3);
    EXPECT_EQ(d[530], 63);
    EXPECT_EQ(PortNameOf(d), "COM12");
    EXPECT_EQ(BaudRateOf(d), 115200u);
    EXPECT_EQ(AttemptsOf(d), 2);
}

TEST(ConnectionDescription, ModemAndTcpFieldsRoundTrip) {
    const auto phone =
        SerialDescription("COM1", 9600, SerialMode::TelephoneModem, {1, 1, 0}, {"ATZ", true, "84951234567", false});
    EXPECT_EQ(ModemInitOf(phone), "ATZ");
    EXPECT_EQ(phone[269], 1);
    EXPECT_EQ(PhoneNumberOf(phone), "84951234567");
    EXPECT_EQ(phone[270], 11);
    EXPECT_FALSE(FirstDialKindOf(phone));
    const auto radio = SerialDescription("COM1", 9600, SerialMode::RadioModem, {}, {"AT", true, "17"});
    EXPECT_EQ(CallNumberOf(radio), "17");
    const auto tcp = TcpDescription("192.168.100.200", 502, {3, 9, 0});
    EXPECT_EQ(tcp[0], 2);
    EXPECT_EQ(IpAddressOf(tcp), "192.168.100.200");
    EXPECT_EQ(tcp[17], 502 & 0xFF);
    EXPECT_EQ(tcp[18], 502 >> 8);
    EXPECT_EQ(TcpPortOf(tcp), 502);
    EXPECT_EQ(PriorityOf(tcp), 9);
}

TEST(ConnectionDescription, RefusesWhatItsFieldsCannotHold) {
    EXPECT_NO_THROW(SerialDescription("COM123", 115200, SerialMode::Direct, {}));
    EXPECT_THROW(TcpDescription("1234.1234.1234.1", 1, {}), cmn::TalvoError);
    try {
        SerialDescription("COM1234", 115200, SerialMode::Direct, {});
        ADD_FAILURE() << "a 7-character port name was taken";
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Неверное имя порта.");
    }
}

TEST(ConnectionDescription, ReaderCutsALengthByteBeyondItsField) {
    auto d = SerialDescription("COM1", 115200, SerialMode::Direct, {});
    d[1] = 200;
    EXPECT_EQ(PortNameOf(d).size(), 6u);
}

TEST(ErrorTexts, EachLayerFallsBackToTheOneBelow) {
    EXPECT_EQ(PcaErrorText(10), "Порт занят другим приложением.");
    EXPECT_EQ(PcaErrorText(1), "Действие не реализовано.");
    EXPECT_EQ(PcaErrorText(101), "Неизвестный код ошибки.");
    EXPECT_EQ(LcaErrorText(104), "Неверный Handle снятия атомарной блокировки");
    EXPECT_EQ(LcaErrorText(5), "Превышено время ожидания.");
    EXPECT_EQ(ModbusErrorText(5), "Нет ответа от устройства");
    EXPECT_EQ(ModbusErrorText(202), "CRC не совпало");
    EXPECT_EQ(ModbusErrorText(106), "Недопустимый приоритет на логическом канале");
    EXPECT_EQ(ModbusErrorText(300), "Неизвестный код ошибки.");
    EXPECT_EQ(ExceptionError(8), 209);
    EXPECT_EQ(ExceptionError(7), 1);
}

}  // namespace
