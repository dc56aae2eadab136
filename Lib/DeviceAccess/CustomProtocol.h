#pragma once

#include <functional>
#include <vector>

#include "DeviceAccess/LCAObject.h"
#include "DeviceAccess/ModbusFrames.h"

namespace da {

// A request/response transaction with attempts over a logical channel.
class TCustomProtocol : public TLCAObject {
public:
    TCustomProtocol(std::shared_ptr<TLCAThread> worker, const TConnectionDescription& description, bool processMessages,
                    int attempts, std::size_t minimumResponse);

    int LastProtocolError() const { return lastError_; }
    // The window's message servicing; used only when the flag was set at creation.
    void SetMessageHandler(std::function<void()> handler);

protected:
    // False with the last protocol error set when no checked response came.
    bool Transaction(const std::vector<std::uint8_t>& request, std::vector<std::uint8_t>& response);
    virtual Judgement Judge(const std::vector<std::uint8_t>& buffer) const = 0;
    virtual bool CheckFrame(const std::vector<std::uint8_t>& frame) const = 0;
    void SetLastError(int code) { lastError_ = code; }

private:
    int Receive(std::vector<std::uint8_t>& frame);
    void DiscardLateAnswers();

    bool processMessages_;
    int attempts_;
    std::size_t minimumResponse_;
    int lastError_ = 0;
};

}  // namespace da
