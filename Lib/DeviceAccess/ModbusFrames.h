#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Pure pieces of the Modbus client: the serial-line CRC, how long a
// response is, the reader that slides over noise, and the response data.
namespace da {

// CRC-16 of Modbus serial lines: initial 0xFFFF, reflected polynomial 0xA001.
// It goes on the wire low byte first.
std::uint16_t ModbusCrc(const std::uint8_t* data, std::size_t n);

// Field lengths of a framing around the function code and its data.
struct ModbusLayout {
    std::size_t header;        // bytes before the function code
    std::size_t addressField;  // of them, the device address
    std::size_t crc;
    std::size_t exception;  // an exception response in total
};

// RTU: the address byte in front, the CRC behind.
inline constexpr ModbusLayout kRtuLayout{1, 1, 2, 5};

struct Judgement {
    enum Kind { Unknown, Length } kind = Unknown;
    std::size_t length = 0;  // total bytes of the response
};

// The total length of the response to `function` that `buffer` starts; Unknown
// when the buffer does not start with the device address and that function
// (or its exception). Needs header + 3 bytes.
Judgement JudgeResponse(const std::vector<std::uint8_t>& buffer, const ModbusLayout& layout, std::uint8_t address,
                        std::uint8_t function);

// Collects a response from reads of any size: judges the buffer whenever it
// is full, grows it by what is missing, or drops the first byte when the
// start cannot be judged. Gives up after `maxNoise` dropped bytes.
class TResponseReader {
public:
    using Judge = std::function<Judgement(const std::vector<std::uint8_t>&)>;
    TResponseReader(std::size_t minimum, Judge judge, std::size_t maxNoise);

    std::size_t Wanted() const { return target_ - buffer_.size(); }
    void Take(const std::uint8_t* data, std::size_t n);
    bool Complete() const { return complete_; }
    bool GaveUp() const { return dropped_ > maxNoise_; }
    const std::vector<std::uint8_t>& Frame() const { return buffer_; }

private:
    void JudgeFull();

    Judge judge_;
    std::size_t maxNoise_;
    std::size_t target_;
    std::size_t dropped_ = 0;
    bool complete_ = false;
    std::vector<std::uint8_t> buffer_;
};

// Data of a checked response, by function: bytes for 1, 2, 17 (the byte
// count first) and 20, registers for 3 and 4, value for 5, 6 and 8, status for 7.
struct ModbusData {
    bool exception = false;  // an exception response, whatever its code
    int exceptionCode = 0;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint16_t> registers;
    std::uint16_t value = 0;
    std::uint8_t status = 0;
};

// `frame` is a complete response as judged above, CRC included.
ModbusData ParseResponse(const std::vector<std::uint8_t>& frame, const ModbusLayout& layout);

}  // namespace da
