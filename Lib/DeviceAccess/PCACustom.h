#pragma once

#include <poll.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "DeviceAccess/ConnectionDescription.h"

// Physical channels: a serial port or a TCP connection, driven without
// blocking by the logical channel worker, which waits on their descriptors.
namespace da {

enum class TransferResult { Done, Pending, Failed };

// One transfer in progress: what a started read or write still has to move.
struct TPCAOverlapped {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t done = 0;
    bool pending = false;
};

class TPCACustom {
public:
    TPCACustom() = default;
    TPCACustom(const TPCACustom&) = delete;
    TPCACustom& operator=(const TPCACustom&) = delete;
    virtual ~TPCACustom();

    virtual int Connect() = 0;
    // Opens the channel the description names; 0 or the error code.
    virtual int Create(const TConnectionDescription& description) = 0;
    virtual bool Matches(const TConnectionDescription& description) const = 0;
    // Forgets what an earlier transfer left behind before a new one starts.
    virtual void StartOperation();
    virtual int Disconnect() = 0;
    // Bytes waiting in the input and output queues.
    virtual std::size_t QueueRead() const;
    virtual std::size_t QueueWrite() const;
    // A transfer that completes at once is Done with its count; otherwise it
    // is Pending and Collect finishes it once PendingEvents reports readiness.
    // A write is done when every byte left, a read when any byte came; a
    // count of 0 on a Done transfer means the other end went away.
    virtual TransferResult Write(const std::uint8_t* data, std::size_t n, std::size_t& count);
    virtual TransferResult Read(std::uint8_t* data, std::size_t n, std::size_t& count);
    virtual void Cancel();
    virtual int Purge() = 0;

    TransferResult Collect(std::size_t& count);
    // The descriptor and the events the pending transfer waits for; fd -1 when none.
    pollfd PendingEvents() const;
    virtual std::string Name() const = 0;
    // After Create failed: a line saying why, when there is more to say than
    // the code (a serial device the user may not open); empty otherwise.
    virtual std::string OpenHint() const { return {}; }
    bool IsOpen() const { return handle_ >= 0; }
    int LastError() const { return lastError_; }

protected:
    virtual ssize_t RawWrite(const std::uint8_t* data, std::size_t n);
    int handle_ = -1;
    int lastError_ = 0;

private:
    bool InputWaiting() const;
    TransferResult Continue(TPCAOverlapped& transfer, bool write, std::size_t& count);
    TPCAOverlapped read_;
    TPCAOverlapped write_;
};

// The channel class the description's kind selects, created from it; nothing
// with `error` set when the kind is unknown or the channel does not open.
// `hint`, when given, receives the channel's OpenHint on failure.
std::unique_ptr<TPCACustom> CreatePhysicalChannel(const TConnectionDescription& description, int& error,
                                                  std::string* hint = nullptr);

}  // namespace da
