#pragma once

#include <cstdint>
#include <vector>

#include <nlohmann/json.hpp>

#include "CommonUtils/CalibratorWire.h"
#include "Journal.h"
#include "Line.h"
#include "Measure.h"
#include "Options.h"

namespace calsim {

struct Table {
    std::vector<std::uint16_t> a, b, c;
    std::size_t Samples() const { return a.size(); }
};

// What the calibrator has been told so far.
struct DeviceState {
    std::uint16_t range = 0;
    std::uint16_t divisor = 0;
    Table mainVoltage;
    Table alternativeVoltage;  // a voltage table received while the voltage plays
    Table current;
    bool voltageRunning = false;
    bool currentRunning = false;
    bool dipsArmed = false;
    std::uint16_t dipsCount = 0;
    cmn::TimingFields timing;
};

// The calibrator's side of the command protocol, with the faults it was
// told to make.
class Device {
public:
    // With a measurer, what is received is measured after each command
    // that changes what plays.
    Device(Line& line, const Options& options, Journal& journal, Measurer* measurer = nullptr);
    // Serves frames until the line stops.
    void Run();

private:
    enum class Reply { Receipt, Execution };

    bool ReadFrame(cmn::Frame& frame, std::size_t& skipped);
    void Serve(const cmn::Frame& frame, std::size_t skipped);
    bool ReadBlock(std::vector<std::uint8_t>& block);
    void TakeTable(std::uint16_t code, const std::vector<std::uint8_t>& data, nlohmann::json& entry);
    void TakeTimingBlock(std::uint16_t count, const std::vector<std::uint8_t>& data, nlohmann::json& entry);
    void Apply(std::uint16_t code, std::uint16_t first);
    bool Spoilt(Reply reply) const;
    void Confirm(Reply reply, std::uint16_t code);
    nlohmann::json StateJson() const;

    Line& line_;
    const Options& options_;
    Journal& journal_;
    DeviceState state_;
    unsigned seq_ = 0;
    unsigned cutShort_ = 0;  // the frame whose confirmation was cut short
    bool vanished_ = false;
    Measurer* measurer_;
    std::vector<std::uint8_t> received_;  // every whole frame and block, in order
};

}  // namespace calsim
