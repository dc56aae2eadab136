#pragma once

#include <string>

#include "DeviceAccess/CustomProtocol.h"

namespace da {

// Codes of the Modbus client beyond those of the channel layers.
namespace mberr {
inline constexpr int kBadCrc = 202;
inline constexpr int kNoDestination = 220;
}  // namespace mberr

// The Modbus functions over a framing that the descendant supplies. Each
// operation returns success; on failure the last protocol error says why.
class TCustomModBus : public TCustomProtocol {
public:
    TCustomModBus(std::shared_ptr<TLCAThread> worker, const TConnectionDescription& description, std::uint8_t address,
                  bool processMessages, int attempts, const ModbusLayout& layout);

    bool ReadCoils(std::uint16_t start, std::uint16_t quantity, std::vector<std::uint8_t>* dest);
    bool ReadDiscreteInputs(std::uint16_t start, std::uint16_t quantity, std::vector<std::uint8_t>* dest);
    bool ReadHoldingRegisters(std::uint16_t start, std::uint16_t quantity, std::vector<std::uint16_t>* dest);
    bool ReadInputRegisters(std::uint16_t start, std::uint16_t quantity, std::vector<std::uint16_t>* dest);
    bool WriteSingleCoil(std::uint16_t address, std::uint16_t value);
    bool WriteSingleRegister(std::uint16_t address, std::uint16_t value, std::uint16_t* echoed);
    bool ReadExceptionStatus(std::uint8_t* dest);
    bool Diagnostics(std::uint16_t subFunction, std::uint16_t data, std::uint16_t* echoed);
    // The quantity is the number of values; more than fit in one request (123) is refused with 220.
    bool WriteMultipleRegisters(std::uint16_t start, const std::vector<std::uint16_t>& values);
    bool ReportServerId(std::vector<std::uint8_t>* dest);
    bool ReadFileRecord(std::uint16_t file, std::uint16_t record, std::uint16_t length,
                        const std::vector<std::uint8_t>& extra, std::vector<std::uint8_t>* dest);
    std::string ErrorText() const;

    std::uint8_t Address() const { return address_; }

protected:
    // The request as it goes on the wire around function code and data.
    virtual std::vector<std::uint8_t> Frame(const std::vector<std::uint8_t>& pdu) const = 0;
    Judgement Judge(const std::vector<std::uint8_t>& buffer) const override;
    const ModbusLayout& Layout() const { return layout_; }

private:
    // Runs one function; false when no usable response came or it was an exception.
    bool Execute(std::vector<std::uint8_t> pdu, ModbusData& data);
    bool ReadBytes(std::uint8_t function, std::uint16_t start, std::uint16_t quantity, std::vector<std::uint8_t>* dest);
    bool ReadRegisters(std::uint8_t function, std::uint16_t start, std::uint16_t quantity,
                       std::vector<std::uint16_t>* dest);
    bool EchoValue(std::uint8_t function, std::uint16_t first, std::uint16_t second, std::uint16_t* dest);
    bool NoDestination();
    // The data into the caller's destination; 220 when there is none.
    template <class T>
    bool Deliver(T value, T* dest);

    std::uint8_t address_;
    ModbusLayout layout_;
    std::uint8_t function_ = 0;
};

// Text of a Modbus client code: the device's exceptions, the CRC and the
// destination, 5 as the device's silence, then the channel layers' texts.
std::string ModbusErrorText(int code);
// The client code of a device exception code.
int ExceptionError(int exceptionCode);

}  // namespace da
