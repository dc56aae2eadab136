#pragma once

#include "DeviceAccess/CustomModBus.h"

namespace da {

// Modbus RTU: the device address in front, the CRC-16 behind, low byte first.
class TModBusRTU : public TCustomModBus {
public:
    TModBusRTU(std::shared_ptr<TLCAThread> worker, std::uint8_t address, bool processMessages, int attempts,
               const TConnectionDescription& description);

    // The request frame of function code and data, as it goes out.
    std::vector<std::uint8_t> Frame(const std::vector<std::uint8_t>& pdu) const override;

protected:
    bool CheckFrame(const std::vector<std::uint8_t>& frame) const override;
};

}  // namespace da
