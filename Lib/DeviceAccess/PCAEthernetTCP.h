#pragma once

#include "DeviceAccess/PCACustom.h"

namespace da {

// A TCP connection to the description's IPv4 address and port.
class TPCAEthernetTCP : public TPCACustom {
public:
    ~TPCAEthernetTCP() override;
    int Connect() override;
    int Create(const TConnectionDescription& description) override;
    bool Matches(const TConnectionDescription& description) const override;
    int Disconnect() override;
    // Drops whatever the peer sent and nobody read.
    int Purge() override;
    std::string Name() const override;

protected:
    ssize_t RawWrite(const std::uint8_t* data, std::size_t n) override;

private:
    int MakeSocket();
    int WaitConnected();
    void CloseSocket();

    TConnectionDescription description_{};
    bool connected_ = false;
};

}  // namespace da
