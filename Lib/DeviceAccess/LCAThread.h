#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "DeviceAccess/ConnectionDescription.h"
#include "DeviceAccess/LCATypes.h"
#include "DeviceAccess/PhysicoLine.h"

namespace da {

// The worker that owns every physical line. Clients call the requests
// below from any thread; each request runs on the worker, one after
// another, and the call returns when the worker has handled it.
class TLCAThread {
public:
    explicit TLCAThread(LogSink log = {});
    ~TLCAThread();
    TLCAThread(const TLCAThread&) = delete;
    TLCAThread& operator=(const TLCAThread&) = delete;

    // Results: 0 or an error code of the channel layers.
    int Open(const TConnectionDescription& description, TLCAHandle& handle);
    int LastError(TLCAHandle handle);
    int Close(TLCAHandle handle);
    int Submit(TLCAHandle handle, TLCACommand& task);
    int ReleaseLock(TLCAHandle handle);
    int SetPriority(TLCAHandle handle, std::uint8_t priority);
    int SetPriorityLock(TLCAHandle handle, bool on);
    // Ends the worker; every later request gives 2.
    void Stop();

private:
    struct Request {
        std::function<int()> body;
        int result = 0;
        TLCAEvent done;
    };

    int Call(std::function<int()> body);
    void Run();
    void Wait();
    void ScheduleLines();
    void RunRequests();
    int WaitTimeoutMs() const;
    TLCAPerform* Find(TLCAHandle handle, TPhysicoLine** line = nullptr);
    int DoOpen(const TConnectionDescription& description, TLCAHandle& handle);
    int DoClose(TLCAHandle handle);
    int DoSubmit(TLCAHandle handle, TLCACommand& task);

    LogSink log_;
    int wakeup_ = -1;
    std::mutex queueMutex_;
    std::deque<Request*> queue_;
    bool accepting_ = true;
    bool terminated_ = false;  // worker's own
    std::vector<std::unique_ptr<TPhysicoLine>> lines_;
    std::uint32_t nextLine_ = 1;
    std::thread thread_;
};

}  // namespace da
