#include "ModBusRTU.h"

#include <algorithm>

namespace da {

TModBusRTU::TModBusRTU(std::shared_ptr<TLCAThread> worker, std::uint8_t address, bool processMessages, int attempts,
                       const TConnectionDescription& description)
    : TCustomModBus(std::move(worker), description, address, processMessages, attempts, kRtuLayout) {}

std::vector<std::uint8_t> TModBusRTU::Frame(const std::vector<std::uint8_t>& pdu) const {
    std::vector<std::uint8_t> frame(pdu.size() + 1);
    frame[0] = Address();
    std::copy(pdu.begin(), pdu.end(), frame.begin() + 1);
    const std::uint16_t crc = ModbusCrc(frame.data(), frame.size());
    frame.push_back(static_cast<std::uint8_t>(crc));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

bool TModBusRTU::CheckFrame(const std::vector<std::uint8_t>& frame) const {
    if (frame.size() < 2) return false;
    const std::uint16_t crc = ModbusCrc(frame.data(), frame.size() - 2);
    return frame[frame.size() - 2] == static_cast<std::uint8_t>(crc) &&
           frame[frame.size() - 1] == static_cast<std::uint8_t>(crc >> 8);
}

}  // namespace da
