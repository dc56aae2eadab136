#pragma once

#include <functional>
#include <memory>

#include "DeviceAccess/ConnectionDescription.h"
#include "DeviceAccess/LCAThread.h"
#include "DeviceAccess/LCATypes.h"

namespace da {

// A client's logical channel, opened at creation and closed with the object.
class TLCAObject {
public:
    // Without a worker the object has no channel and error 2.
    TLCAObject(std::shared_ptr<TLCAThread> worker, const TConnectionDescription& description);
    virtual ~TLCAObject();
    TLCAObject(const TLCAObject&) = delete;
    TLCAObject& operator=(const TLCAObject&) = delete;

    bool HasChannel() const { return handle_ != kNoChannel; }
    // The error of opening the channel; 0 when it is open.
    int OpenError() const { return openError_; }

    // Each submits a task and waits for it: 0 when bytes were moved, else
    // the channel's error.
    int Write(const std::uint8_t* data, std::size_t n, std::uint32_t timeoutMs, bool dropStaleInput = false);
    int Read(std::uint8_t* buffer, std::size_t n, std::uint32_t timeoutMs, std::size_t& received);
    // For a task with the caller's own event: returns once the task is queued.
    int Submit(TLCACommand& task);
    int ReleaseLock();
    int LastError();
    int SetPriority(std::uint8_t priority);
    int SetPriorityLock(bool on);

    // Called while waiting, so that a window thread keeps serving its queue.
    void SetMessagePump(std::function<void()> pump) { pump_ = std::move(pump); }

protected:
    void ProcessMessages() const;

private:
    int Transfer(TLCACommand& task, std::size_t& count);
    void WaitDone(const TLCAEvent& event) const;

    std::shared_ptr<TLCAThread> worker_;
    TLCAHandle handle_ = kNoChannel;
    int openError_ = 0;
    std::function<void()> pump_;
};

}  // namespace da
