#include "CustomModBus.h"

#include <map>

#include "DeviceAccess/ErrorTexts.h"

namespace da {
namespace {

constexpr std::size_t kMaxWriteRegisters = 123;

void PutU16(std::vector<std::uint8_t>& pdu, std::uint16_t v) {
    pdu.push_back(static_cast<std::uint8_t>(v >> 8));
    pdu.push_back(static_cast<std::uint8_t>(v));
}

std::vector<std::uint8_t> TwoFields(std::uint8_t function, std::uint16_t first, std::uint16_t second) {
    std::vector<std::uint8_t> pdu{function};
    PutU16(pdu, first);
    PutU16(pdu, second);
    return pdu;
}

}  // namespace

int ExceptionError(int exceptionCode) {
    static const std::map<int, int> codes = {{1, 203}, {2, 204}, {3, 205}, {4, 206}, {5, 207}, {6, 208}, {8, 209}};
    const auto it = codes.find(exceptionCode);
    return it != codes.end() ? it->second : err::kNotImplemented;
}

std::string ModbusErrorText(int code) {
    static const std::map<int, const char*> texts = {
        {err::kTimeout, "Нет ответа от устройства"},
        {mberr::kBadCrc, "CRC не совпало"},
        {203, "Некорректный код функции."},
        {204, "Некорректный адрес параметра."},
        {205, "Некорректное значение параметра."},
        {206, "Отказ в работе прибора"},
        {207, "Прибор начинает выполнять длительную операцию. Обратитесь о получении подтверждения позже."},
        {208, "Прибор занят."},
        {209, "Ошибка памяти."},
        {mberr::kNoDestination, "Неверный указатель для получение данных."},
    };
    const auto it = texts.find(code);
    return it != texts.end() ? it->second : LcaErrorText(code);
}

TCustomModBus::TCustomModBus(std::shared_ptr<TLCAThread> worker, const TConnectionDescription& description,
                             std::uint8_t address, bool processMessages, int attempts, const ModbusLayout& layout)
    : TCustomProtocol(std::move(worker), description, processMessages, attempts, layout.header + 3),
      address_(address),
      layout_(layout) {}

std::string TCustomModBus::ErrorText() const { return ModbusErrorText(LastProtocolError()); }

Judgement TCustomModBus::Judge(const std::vector<std::uint8_t>& buffer) const {
    return JudgeResponse(buffer, layout_, address_, function_);
}

bool TCustomModBus::Execute(std::vector<std::uint8_t> pdu, ModbusData& data) {
    function_ = pdu.front();
    std::vector<std::uint8_t> response;
    if (!Transaction(Frame(pdu), response)) return false;
    data = ParseResponse(response, layout_);
    if (!data.exception) return true;
    SetLastError(ExceptionError(data.exceptionCode));
    return false;
}

bool TCustomModBus::NoDestination() {
    SetLastError(mberr::kNoDestination);
    return false;
}

template <class T>
bool TCustomModBus::Deliver(T value, T* dest) {
    if (!dest) return NoDestination();
    *dest = std::move(value);
    return true;
}

bool TCustomModBus::ReadBytes(std::uint8_t function, std::uint16_t start, std::uint16_t quantity,
                              std::vector<std::uint8_t>* dest) {
    ModbusData data;
    return Execute(TwoFields(function, start, quantity), data) && Deliver(std::move(data.bytes), dest);
}

bool TCustomModBus::ReadRegisters(std::uint8_t function, std::uint16_t start, std::uint16_t quantity,
                                  std::vector<std::uint16_t>* dest) {
    ModbusData data;
    return Execute(TwoFields(function, start, quantity), data) && Deliver(std::move(data.registers), dest);
}

bool TCustomModBus::EchoValue(std::uint8_t function, std::uint16_t first, std::uint16_t second, std::uint16_t* dest) {
    ModbusData data;
    return Execute(TwoFields(function, first, second), data) && Deliver(data.value, dest);
}

bool TCustomModBus::ReadCoils(std::uint16_t start, std::uint16_t quantity, std::vector<std::uint8_t>* dest) {
    return ReadBytes(1, start, quantity, dest);
}

bool TCustomModBus::ReadDiscreteInputs(std::uint16_t start, std::uint16_t quantity, std::vector<std::uint8_t>* dest) {
    return ReadBytes(2, start, quantity, dest);
}

bool TCustomModBus::ReadHoldingRegisters(std::uint16_t start, std::uint16_t quantity,
                                         std::vector<std::uint16_t>* dest) {
    return ReadRegisters(3, start, quantity, dest);
}

bool TCustomModBus::ReadInputRegisters(std::uint16_t start, std::uint16_t quantity, std::vector<std::uint16_t>* dest) {
    return ReadRegisters(4, start, quantity, dest);
}

bool TCustomModBus::WriteSingleCoil(std::uint16_t address, std::uint16_t value) {
    ModbusData data;
    return Execute(TwoFields(5, address, value), data);
}

bool TCustomModBus::WriteSingleRegister(std::uint16_t address, std::uint16_t value, std::uint16_t* echoed) {
    return EchoValue(6, address, value, echoed);
}

bool TCustomModBus::ReadExceptionStatus(std::uint8_t* dest) {
    ModbusData data;
    return Execute({7}, data) && Deliver(data.status, dest);
}

bool TCustomModBus::Diagnostics(std::uint16_t subFunction, std::uint16_t data, std::uint16_t* echoed) {
    return EchoValue(8, subFunction, data, echoed);
}

bool TCustomModBus::WriteMultipleRegisters(std::uint16_t start, const std::vector<std::uint16_t>& values) {
    if (values.empty() || values.size() > kMaxWriteRegisters) return NoDestination();
    std::vector<std::uint8_t> pdu = TwoFields(16, start, static_cast<std::uint16_t>(values.size()));
    pdu.push_back(static_cast<std::uint8_t>(2 * values.size()));
    for (std::uint16_t v : values) PutU16(pdu, v);
    ModbusData data;
    return Execute(std::move(pdu), data);
}

bool TCustomModBus::ReportServerId(std::vector<std::uint8_t>* dest) {
    ModbusData data;
    return Execute({17}, data) && Deliver(std::move(data.bytes), dest);
}

// The byte count covers the reference type, the three 16-bit fields and the extra bytes.
bool TCustomModBus::ReadFileRecord(std::uint16_t file, std::uint16_t record, std::uint16_t length,
                                   const std::vector<std::uint8_t>& extra, std::vector<std::uint8_t>* dest) {
    constexpr std::size_t kMaxExtra = 255 - 7;
    if (extra.size() > kMaxExtra) return NoDestination();
    std::vector<std::uint8_t> pdu{20, static_cast<std::uint8_t>(extra.size() + 7), 6};
    PutU16(pdu, file);
    PutU16(pdu, record);
    PutU16(pdu, length);
    pdu.insert(pdu.end(), extra.begin(), extra.end());
    ModbusData data;
    return Execute(std::move(pdu), data) && Deliver(std::move(data.bytes), dest);
}

}  // namespace da
