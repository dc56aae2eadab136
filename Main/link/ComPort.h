#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "CommonUtils/SerialLine.h"

namespace lnk {

enum class TOpenStatus : int { Opened = 1, Busy = 2, Absent = 3 };

// The program's synchronous port to the calibrator, opened for one action.
class TMyComPort {
public:
    // Opens the port; a failed attempt is repeated once 2000 ms later.
    // Settings that the line refuses leave the status as it is.
    TMyComPort(const std::string& portName, std::uint32_t baudRate);

    TOpenStatus Status() const { return status_; }
    // The line of a port the user may not open (see cmn::SerialLine); empty otherwise.
    std::string AccessHint() const { return line_.AccessHint(); }
    // True only when all n bytes were written, or all n read, within the time-outs.
    bool Write(const std::uint8_t* block, std::size_t n);
    bool Read(std::uint8_t* block, std::size_t n);
    // The port name; empty unless the port opened.
    const std::string& Name() const { return name_; }
    // True when the port was closed already or closing succeeded.
    bool Close();

private:
    cmn::SerialLine line_;
    std::string name_;
    TOpenStatus status_;
};

}  // namespace lnk
