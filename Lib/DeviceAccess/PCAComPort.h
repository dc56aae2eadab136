#pragma once

#include <chrono>

#include "CommonUtils/SerialLine.h"
#include "DeviceAccess/PCACustom.h"

namespace da {

// How long a serial port rests after it was opened and after its modem lines
// were dropped on disconnecting, so that a device fed from them settles.
inline constexpr std::chrono::milliseconds kLineSettleTime{250};

// A serial port. Only the direct mode talks; the modem and optical modes
// open the port and report "not implemented" on connecting.
class TPCAComPort : public TPCACustom {
public:
    ~TPCAComPort() override;
    int Connect() override;
    int Create(const TConnectionDescription& description) override;
    // The same port: both names lead to the same device.
    bool Matches(const TConnectionDescription& description) const override;
    int Disconnect() override;
    int Purge() override;
    std::string Name() const override;
    std::string OpenHint() const override { return line_.AccessHint(); }

private:
    int Fail(int error);
    bool DirectMode() const;
    bool ModemPresent();
    void SetModemLines(bool on);

    TConnectionDescription description_{};
    cmn::LineSettings dcb_;
    cmn::SerialLine line_;
};

}  // namespace da
