#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "CommonUtils/SerialLine.h"

namespace stlib {

enum class TOpenResult { Opened, Busy, Absent, Unusable };

// The library's port to the calibrator, "COM" followed by the port number.
// Every read and every write holds the port's own lock.
class TCommPort {
public:
    explicit TCommPort(std::uint16_t portNumber);
    virtual ~TCommPort() = default;
    TCommPort(const TCommPort&) = delete;
    TCommPort& operator=(const TCommPort&) = delete;

    const std::string& PortName() const { return name_; }
    TOpenResult Open();
    bool IsOpen() const { return line_.IsOpen(); }
    // The flow control the line had when it was opened: 0 none, 2 RTS/CTS, 4 XON/XOFF.
    int FlowControlMode() const { return flowControl_; }

    // Filled by the caller, then written with ApplySettings / ApplyTimeouts.
    cmn::LineSettings& Settings() { return settings_; }
    cmn::LineTimeouts& Timeouts() { return timeouts_; }
    bool ApplySettings();
    bool ApplyTimeouts();

    // Number of bytes transferred; a transfer returns when it is complete
    // or the port's total time-out has expired.
    int Write(const std::uint8_t* block, std::size_t n);
    int Read(std::uint8_t* block, std::size_t n);

    // Clears both queues. Transfers here are never left pending, so there
    // is nothing further to cancel.
    bool Purge();
    // Done before every command and after a failed data transfer.
    void Reset();
    bool Close();

private:
    std::mutex lock_;
    cmn::SerialLine line_;
    std::string name_;
    std::uint16_t number_;
    int flowControl_ = 0;
    cmn::LineSettings settings_;
    cmn::LineTimeouts timeouts_;
};

// A port that remembers the code of its last failed exchange (0 after success).
class TCustomDevice : public TCommPort {
public:
    using TCommPort::TCommPort;
    std::int16_t LastError() const { return lastError_; }

protected:
    void SetLastError(std::int16_t code) { lastError_ = code; }

private:
    std::int16_t lastError_ = 0;
};

}  // namespace stlib
