#pragma once

#include <array>

#include "signal/Records.h"

namespace sig {

// What a signal window shows of the calculations. The calculations call it
// when they are given one; console and schedule runs pass none.
class ISignalDisplay {
public:
    virtual ~ISignalDisplay() = default;
    virtual void ShowVoltageValues(const TSignalParamsU& v) = 0;
    // The current fundamentals as magnitude and absolute angle, for the vector diagram.
    virtual void ShowCurrentPhasors(const std::array<TPolar, 3>& currents) = 0;
    virtual void ShowCurrentValues(const TSignalParamsI& c) = 0;
    virtual void DrawVectorDiagram(const TSignalParamsU& v, const TSignalParamsI& c) = 0;
};

}  // namespace sig
