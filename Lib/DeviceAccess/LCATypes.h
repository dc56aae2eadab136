#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

// What clients hand to the logical channel worker.
namespace da {

// A manual-reset event: stays set until reset.
class TLCAEvent {
public:
    void Set();
    void Reset();
    bool IsSet() const;
    void Wait() const;
    // True when set within the time.
    bool WaitFor(std::chrono::milliseconds limit) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool set_ = false;
};

enum class TaskKind : std::uint8_t { Write = 0, Read = 1 };
enum class TaskState : std::uint8_t { New = 0, WritePending = 1, ReadPending = 2, Done = 3 };

// One read or write task. It belongs to the client and must live until its
// event is set; the worker touches nothing of it afterwards.
struct TLCACommand {
    TaskKind kind = TaskKind::Write;
    std::uint8_t* data = nullptr;  // only read from by a write task
    std::size_t count = 0;
    std::uint32_t timeoutMs = 0;
    TLCAEvent* event = nullptr;
    std::size_t* transferred = nullptr;
    TaskState state = TaskState::New;
    // A write that opens a question-and-answer exchange: input still waiting
    // from before is dropped when it starts, so that a late answer to an
    // earlier request is never taken for the answer to this one.
    bool dropStaleInput = false;
};

// The logical channel's identifier in the low half, its line's in the high half.
using TLCAHandle = std::uint64_t;
inline constexpr TLCAHandle kNoChannel = ~TLCAHandle{0};

inline constexpr TLCAHandle MakeHandle(std::uint32_t line, std::uint32_t channel) {
    return (static_cast<TLCAHandle>(line) << 32) | channel;
}
inline constexpr std::uint32_t LineOf(TLCAHandle h) { return static_cast<std::uint32_t>(h >> 32); }
inline constexpr std::uint32_t ChannelOf(TLCAHandle h) { return static_cast<std::uint32_t>(h); }

}  // namespace da
