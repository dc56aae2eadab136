#include "LCAThread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "DeviceAccess/ErrorTexts.h"

namespace da {

TLCAThread::TLCAThread(LogSink log) : log_(std::move(log)) {
    wakeup_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeup_ < 0) throw std::runtime_error("eventfd");
    thread_ = std::thread([this] { Run(); });
}

TLCAThread::~TLCAThread() {
    Stop();
    ::close(wakeup_);
}

void TLCAThread::Stop() {
    if (!thread_.joinable()) return;
    Call([this] {
        terminated_ = true;
        return err::kNone;
    });
    thread_.join();
}

int TLCAThread::Call(std::function<int()> body) {
    if (std::this_thread::get_id() == thread_.get_id()) return body();
    Request request;
    request.body = std::move(body);
    {
        std::lock_guard lock(queueMutex_);
        if (!accepting_) return err::kNoWorker;
        queue_.push_back(&request);
    }
    const std::uint64_t one = 1;
    (void)!::write(wakeup_, &one, sizeof one);
    request.done.Wait();
    return request.result;
}

void TLCAThread::RunRequests() {
    std::uint64_t count = 0;
    (void)!::read(wakeup_, &count, sizeof count);
    for (;;) {
        Request* request = nullptr;
        {
            std::lock_guard lock(queueMutex_);
            if (queue_.empty()) return;
            request = queue_.front();
            queue_.pop_front();
        }
        request->result = request->body();
        // A task submitted to a free line is under way when its request returns.
        ScheduleLines();
        request->done.Set();
    }
}

int TLCAThread::WaitTimeoutMs() const {
    auto nearest = TPhysicoLine::Clock::time_point::max();
    for (const auto& line : lines_) {
        if (line->Busy()) nearest = std::min(nearest, line->Deadline());
    }
    if (nearest == TPhysicoLine::Clock::time_point::max()) return -1;
    const auto left = nearest - TPhysicoLine::Clock::now();
    return std::max<int>(0, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count()));
}

// One round: every line starts what it can, then the worker sleeps until a
// transfer, a time-out or a request needs it.
void TLCAThread::ScheduleLines() {
    for (auto& line : lines_) line->Schedule();
}

void TLCAThread::Wait() {
    ScheduleLines();
    std::vector<pollfd> fds{{wakeup_, POLLIN, 0}};
    std::vector<TPhysicoLine*> waiting;
    for (auto& line : lines_) {
        const pollfd p = line->WaitHandle();
        if (p.fd < 0) continue;
        fds.push_back(p);
        waiting.push_back(line.get());
    }
    if (::poll(fds.data(), fds.size(), WaitTimeoutMs()) < 0 && errno != EINTR) return;
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        if (fds[i + 1].revents) waiting[i]->Collect();
        waiting[i]->Expire();
    }
    if (fds[0].revents & POLLIN) RunRequests();
}

void TLCAThread::Run() {
    while (!terminated_) Wait();
    {
        std::lock_guard lock(queueMutex_);
        accepting_ = false;
    }
    // Requests that came with the stop still get their answer.
    RunRequests();
    lines_.clear();
}

TLCAPerform* TLCAThread::Find(TLCAHandle handle, TPhysicoLine** found) {
    for (auto& line : lines_) {
        if (line->Id() != LineOf(handle)) continue;
        if (found) *found = line.get();
        return line->Find(ChannelOf(handle));
    }
    return nullptr;
}

int TLCAThread::DoOpen(const TConnectionDescription& description, TLCAHandle& handle) {
    handle = kNoChannel;
    if (PriorityOf(description) == 0) return err::kBadPriority;
    auto it = std::find_if(lines_.begin(), lines_.end(), [&](const auto& l) { return l->Serves(description); });
    if (it == lines_.end()) {
        int error = err::kNone;
        std::string hint;
        auto channel = CreatePhysicalChannel(description, error, &hint);
        if (!channel) {
            // The code stays what it is; the reason, when known, goes to the log.
            if (!hint.empty() && log_) log_(hint);
            return error;
        }
        lines_.push_back(std::make_unique<TPhysicoLine>(nextLine_++, std::move(channel), log_));
        it = std::prev(lines_.end());
    }
    handle = MakeHandle((*it)->Id(), (*it)->AddChannel(description).id);
    return err::kNone;
}

int TLCAThread::DoClose(TLCAHandle handle) {
    TPhysicoLine* line = nullptr;
    TLCAPerform* ch = Find(handle, &line);
    if (!ch) return err::kBadHandle;
    line->RemoveChannel(*ch);
    if (line->Empty()) std::erase_if(lines_, [&](const auto& l) { return l.get() == line; });
    return err::kNone;
}

int TLCAThread::DoSubmit(TLCAHandle handle, TLCACommand& task) {
    TLCAPerform* ch = Find(handle);
    if (!ch) return err::kBadHandle;
    if (ch->task) return err::kTaskPending;
    if (!task.data) return err::kNoData;
    if (!task.event) return err::kNoEvent;
    task.state = TaskState::New;
    task.event->Reset();
    ch->task = &task;
    return err::kNone;
}

int TLCAThread::Open(const TConnectionDescription& description, TLCAHandle& handle) {
    return Call([&] { return DoOpen(description, handle); });
}

int TLCAThread::LastError(TLCAHandle handle) {
    return Call([&] {
        const TLCAPerform* ch = Find(handle);
        return ch ? ch->lastError : err::kBadHandle;
    });
}

int TLCAThread::Close(TLCAHandle handle) {
    return Call([&] { return DoClose(handle); });
}

int TLCAThread::Submit(TLCAHandle handle, TLCACommand& task) {
    return Call([&] { return DoSubmit(handle, task); });
}

int TLCAThread::ReleaseLock(TLCAHandle handle) {
    return Call([&] {
        TPhysicoLine* line = nullptr;
        TLCAPerform* ch = Find(handle, &line);
        return ch ? line->ReleaseLock(*ch) : err::kBadHandle;
    });
}

int TLCAThread::SetPriority(TLCAHandle handle, std::uint8_t priority) {
    return Call([&] {
        TLCAPerform* ch = Find(handle);
        if (!ch) return err::kBadHandle;
        if (priority == 0) return err::kBadPriority;
        ch->priority = priority;
        return err::kNone;
    });
}

int TLCAThread::SetPriorityLock(TLCAHandle handle, bool on) {
    return Call([&] {
        TLCAPerform* ch = Find(handle);
        if (!ch) return err::kBadHandle;
        ch->priorityLock = on;
        return err::kNone;
    });
}

}  // namespace da
