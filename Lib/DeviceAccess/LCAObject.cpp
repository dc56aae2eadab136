#include "LCAObject.h"

#include "DeviceAccess/ErrorTexts.h"

namespace da {
namespace {

// How often a waiting client serves its message queue.
constexpr std::chrono::milliseconds kPumpStep{10};

}  // namespace

TLCAObject::TLCAObject(std::shared_ptr<TLCAThread> worker, const TConnectionDescription& description)
    : worker_(std::move(worker)) {
    openError_ = worker_ ? worker_->Open(description, handle_) : err::kNoWorker;
    if (openError_ != err::kNone) handle_ = kNoChannel;
}

TLCAObject::~TLCAObject() {
    if (HasChannel()) worker_->Close(handle_);
}

void TLCAObject::ProcessMessages() const {
    if (pump_) pump_();
}

void TLCAObject::WaitDone(const TLCAEvent& event) const {
    if (!pump_) {
        event.Wait();
        return;
    }
    while (!event.WaitFor(kPumpStep)) pump_();
}

int TLCAObject::Submit(TLCACommand& task) { return HasChannel() ? worker_->Submit(handle_, task) : openError_; }

int TLCAObject::Transfer(TLCACommand& task, std::size_t& count) {
    TLCAEvent done;
    count = 0;
    task.event = &done;
    task.transferred = &count;
    const int submitted = Submit(task);
    if (submitted != err::kNone) return submitted;
    WaitDone(done);
    if (count > 0) return err::kNone;
    const int error = LastError();
    return error != err::kNone ? error : err::kConnectionLost;
}

int TLCAObject::Write(const std::uint8_t* data, std::size_t n, std::uint32_t timeoutMs, bool dropStaleInput) {
    // A write task only reads its buffer.
    TLCACommand task{TaskKind::Write, const_cast<std::uint8_t*>(data), n, timeoutMs};
    task.dropStaleInput = dropStaleInput;
    std::size_t count = 0;
    return Transfer(task, count);
}

int TLCAObject::Read(std::uint8_t* buffer, std::size_t n, std::uint32_t timeoutMs, std::size_t& received) {
    TLCACommand task{TaskKind::Read, buffer, n, timeoutMs};
    return Transfer(task, received);
}

int TLCAObject::ReleaseLock() { return HasChannel() ? worker_->ReleaseLock(handle_) : openError_; }
int TLCAObject::LastError() { return HasChannel() ? worker_->LastError(handle_) : openError_; }
int TLCAObject::SetPriority(std::uint8_t priority) {
    return HasChannel() ? worker_->SetPriority(handle_, priority) : openError_;
}
int TLCAObject::SetPriorityLock(bool on) { return HasChannel() ? worker_->SetPriorityLock(handle_, on) : openError_; }

}  // namespace da
