#pragma once

#include "CommonUtils/SerialLine.h"
#include "DeviceAccess/PCACustom.h"

namespace da {

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
