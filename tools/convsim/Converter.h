#pragma once

#include <modbus/modbus.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "Options.h"

namespace convsim {

// The converter's Modbus server. libmodbus receives each request, checks
// its framing and CRC and builds the response; it works on one end of a
// socket pair so that the response can be spoilt before it goes out.
class Converter {
public:
    explicit Converter(const Options& options);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The response to one request as it came off the line; nothing when the
    // request is refused (bad CRC, another device, broken framing).
    std::optional<std::vector<std::uint8_t>> Answer(const std::vector<std::uint8_t>& request, unsigned exception);
    std::uint16_t Register(int index) const { return map_->tab_registers[index]; }

private:
    int Receive(const std::vector<std::uint8_t>& request, std::uint8_t* indication);
    bool CheckedByEcho(const std::vector<std::uint8_t>& request);
    void Reply(const std::uint8_t* indication, int length, unsigned exception);
    bool WriteControl(const std::uint8_t* indication, int length);
    std::vector<std::uint8_t> TakeOutput();
    void Drain(int fd);

    modbus_t* ctx_ = nullptr;
    modbus_mapping_t* map_ = nullptr;
    int ours_ = -1;    // we write requests here and read responses
    int server_ = -1;  // libmodbus's end
};

// A gain code the converter knows: the Kpga position 0 … 10 in bits 3 to 6,
// bits 7 and 8 free, nothing else.
bool ValidGainCode(unsigned code);

}  // namespace convsim
