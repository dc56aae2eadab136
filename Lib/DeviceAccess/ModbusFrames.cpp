#include "ModbusFrames.h"

#include <algorithm>

namespace da {
namespace {

std::uint16_t BigEndian(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

// Bytes after the function code and before the CRC of a response with a byte count.
bool CountsBytes(std::uint8_t f) { return (f >= 1 && f <= 4) || f == 17 || f == 20; }
bool FixedEight(std::uint8_t f) { return f == 5 || f == 6 || f == 8 || f == 16; }

}  // namespace

std::uint16_t ModbusCrc(const std::uint8_t* data, std::size_t n) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

Judgement JudgeResponse(const std::vector<std::uint8_t>& b, const ModbusLayout& l, std::uint8_t address,
                        std::uint8_t function) {
    const std::size_t fn = l.header;
    if (b.size() < fn + 3 || b[l.header - l.addressField] != address) return {};
    const std::uint8_t f = b[fn];
    if (f == (function | 0x80)) return {Judgement::Length, l.exception};
    if (f != function) return {};
    if (CountsBytes(f)) return {Judgement::Length, fn + 2 + b[fn + 1] + l.crc};
    if (FixedEight(f)) return {Judgement::Length, fn + 5 + l.crc};
    if (f == 7) return {Judgement::Length, fn + 2 + l.crc};
    return {};
}

TResponseReader::TResponseReader(std::size_t minimum, Judge judge, std::size_t maxNoise)
    : judge_(std::move(judge)), maxNoise_(maxNoise), target_(minimum) {}

void TResponseReader::Take(const std::uint8_t* data, std::size_t n) {
    n = std::min(n, Wanted());
    buffer_.insert(buffer_.end(), data, data + n);
    JudgeFull();
}

void TResponseReader::JudgeFull() {
    while (!complete_ && !GaveUp() && buffer_.size() == target_) {
        const Judgement j = judge_(buffer_);
        if (j.kind == Judgement::Unknown) {
            buffer_.erase(buffer_.begin());
            ++dropped_;
        } else if (j.length > buffer_.size()) {
            target_ = j.length;
        } else {
            complete_ = true;
        }
    }
}

ModbusData ParseResponse(const std::vector<std::uint8_t>& frame, const ModbusLayout& l) {
    ModbusData d;
    const std::size_t fn = l.header;
    if (frame.size() < fn + 2 + l.crc) return d;
    const std::uint8_t f = frame[fn];
    const std::uint8_t* data = frame.data() + fn + 1;
    const std::size_t dataLength = frame.size() - fn - 1 - l.crc;
    if (f & 0x80) {
        d.exception = true;
        d.exceptionCode = data[0];
    } else if (f == 1 || f == 2 || f == 17) {
        d.bytes.assign(data, data + dataLength);
    } else if (f == 3 || f == 4) {
        for (std::size_t i = 1; i + 1 < dataLength; i += 2) d.registers.push_back(BigEndian(data + i));
    } else if ((f == 5 || f == 6 || f == 8) && dataLength >= 4) {
        d.value = BigEndian(data + 2);
    } else if (f == 7) {
        d.status = data[0];
    } else if (f == 20 && dataLength >= 3) {
        // After the byte count: the sub-response's length and reference type.
        d.bytes.assign(data + 3, data + dataLength);
    }
    return d;
}

}  // namespace da
