#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DeviceAccess/ConnectionDescription.h"
#include "DeviceAccess/LCATypes.h"
#include "DeviceAccess/PCACustom.h"

namespace da {

// A logical channel: one client's view of a physical line.
struct TLCAPerform {
    std::uint32_t id = 0;
    std::string lineName;
    TConnectionDescription description{};
    std::uint8_t priority = 1;
    bool priorityLock = false;
    std::uint8_t logMask = 0;
    int lastError = 0;
    TLCACommand* task = nullptr;
};

// Log categories of a channel's mask.
namespace logcat {
inline constexpr std::uint8_t kChannels = 0x01;
inline constexpr std::uint8_t kConnections = 0x02;
inline constexpr std::uint8_t kTasks = 0x04;
inline constexpr std::uint8_t kData = 0x08;
}  // namespace logcat

using LogSink = std::function<void(const std::string&)>;

// One physical channel and the logical channels that share it. The line
// runs one task at a time: that of the channel owning it, which keeps the
// line from its first task until it releases the lock.
class TPhysicoLine {
public:
    using Clock = std::chrono::steady_clock;

    TPhysicoLine(std::uint32_t id, std::unique_ptr<TPCACustom> channel, const LogSink& log);
    ~TPhysicoLine();
    TPhysicoLine(const TPhysicoLine&) = delete;
    TPhysicoLine& operator=(const TPhysicoLine&) = delete;

    std::uint32_t Id() const { return id_; }
    bool Serves(const TConnectionDescription& d) const { return channel_->Matches(d); }
    bool Empty() const { return channels_.empty(); }

    TLCAPerform& AddChannel(const TConnectionDescription& d);
    TLCAPerform* Find(std::uint32_t channelId);
    void RemoveChannel(TLCAPerform& ch);
    int ReleaseLock(TLCAPerform& ch);

    // Gives the line to the next channel and starts its task.
    void Schedule();
    // The descriptor to wait on (fd -1 when no task is under way) and the task's deadline.
    pollfd WaitHandle() const;
    bool Busy() const { return running_ != nullptr; }
    Clock::time_point Deadline() const { return deadline_; }
    // Completion of the running task after its descriptor fired, or its time-out.
    void Collect();
    void Expire();
    // Ends every task with "interrupted" and disconnects, before the line goes.
    void Shutdown();

private:
    TLCAPerform* Choose() const;
    TLCAPerform* Best(int threshold) const;
    bool Qualifies(const TLCAPerform& ch, int threshold) const;
    int ConnectFor(TLCAPerform& ch);
    void Start(TLCAPerform& ch);
    void Finish(TLCAPerform& ch, int error, std::size_t count);
    void Transferred(std::size_t count);
    void Log(const TLCAPerform& ch, std::uint8_t category, const std::string& text) const;

    std::uint32_t id_;
    std::unique_ptr<TPCACustom> channel_;
    const LogSink& log_;
    std::vector<std::unique_ptr<TLCAPerform>> channels_;
    std::uint32_t nextNumber_ = 1;
    TLCAPerform* owner_ = nullptr;
    TLCAPerform* lastOwner_ = nullptr;
    TLCAPerform* running_ = nullptr;
    Clock::time_point deadline_{};
    bool connected_ = false;
};

}  // namespace da
