#include "PhysicoLine.h"

#include <algorithm>
#include <cstdio>

#include "DeviceAccess/ErrorTexts.h"

namespace da {
namespace {

constexpr std::size_t kLoggedBytes = 128;

std::string HexDump(const std::uint8_t* data, std::size_t n) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < std::min(n, kLoggedBytes); ++i) {
        std::snprintf(byte, sizeof byte, "%02X ", data[i]);
        text += byte;
    }
    if (!text.empty()) text.pop_back();
    return text;
}

bool HasNewTask(const TLCAPerform& ch) { return ch.task && ch.task->state == TaskState::New; }

}  // namespace

TPhysicoLine::TPhysicoLine(std::uint32_t id, std::unique_ptr<TPCACustom> channel, const LogSink& log)
    : id_(id), channel_(std::move(channel)), log_(log) {}

TPhysicoLine::~TPhysicoLine() { Shutdown(); }

void TPhysicoLine::Log(const TLCAPerform& ch, std::uint8_t category, const std::string& text) const {
    if (log_ && (ch.logMask & category)) log_(ch.lineName + "/" + std::to_string(ch.id) + ": " + text);
}

TLCAPerform& TPhysicoLine::AddChannel(const TConnectionDescription& d) {
    auto ch = std::make_unique<TLCAPerform>();
    ch->id = nextNumber_++;
    ch->lineName = channel_->Name();
    ch->description = d;
    ch->priority = PriorityOf(d);
    ch->logMask = LogMaskOf(d);
    channels_.push_back(std::move(ch));
    Log(*channels_.back(), logcat::kChannels, "канал открыт");
    return *channels_.back();
}

TLCAPerform* TPhysicoLine::Find(std::uint32_t channelId) {
    for (auto& ch : channels_) {
        if (ch->id == channelId) return ch.get();
    }
    return nullptr;
}

void TPhysicoLine::RemoveChannel(TLCAPerform& ch) {
    if (ch.task) {
        if (running_ == &ch) channel_->Cancel();
        Finish(ch, err::kAborted, 0);
    }
    if (owner_ == &ch) owner_ = nullptr;
    if (lastOwner_ == &ch) lastOwner_ = nullptr;
    Log(ch, logcat::kChannels, "канал закрыт");
    std::erase_if(channels_, [&](const auto& p) { return p.get() == &ch; });
}

int TPhysicoLine::ReleaseLock(TLCAPerform& ch) {
    if (owner_ != &ch) return err::kNotOwner;
    if (running_ == &ch) {
        channel_->Cancel();
        Finish(ch, err::kAborted, 0);
    }
    owner_ = nullptr;
    return err::kNone;
}

bool TPhysicoLine::Qualifies(const TLCAPerform& ch, int threshold) const {
    return &ch != lastOwner_ && HasNewTask(ch) && ch.priority > threshold;
}

// The highest priority above the threshold; among equals the first one met
// going round from the channel after the last owner.
TLCAPerform* TPhysicoLine::Best(int threshold) const {
    const std::size_t n = channels_.size();
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (channels_[i].get() == lastOwner_) start = i + 1;
    }
    TLCAPerform* best = nullptr;
    for (std::size_t k = 0; k < n; ++k) {
        TLCAPerform* ch = channels_[(start + k) % n].get();
        if (Qualifies(*ch, threshold) && (!best || ch->priority > best->priority)) best = ch;
    }
    return best;
}

// Lowering the threshold step by step down to the lowest priority finds the
// same channel as one search without a threshold, so two searches suffice.
TLCAPerform* TPhysicoLine::Choose() const {
    if (owner_) return owner_;
    if (TLCAPerform* ch = Best(lastOwner_ ? lastOwner_->priority : 0)) return ch;
    if (!(lastOwner_ && lastOwner_->priorityLock)) {
        if (TLCAPerform* ch = Best(0)) return ch;
    }
    return lastOwner_;
}

int TPhysicoLine::ConnectFor(TLCAPerform& ch) {
    const int attempts = std::max<int>(1, AttemptsOf(ch.description));
    int error = err::kConnectionLost;
    for (int i = 0; i < attempts; ++i) {
        error = channel_->Connect();
        if (error == err::kNone) break;
    }
    connected_ = error == err::kNone;
    if (!connected_) Log(ch, logcat::kConnections, "Соединение не установлено: " + PcaErrorText(error));
    return error;
}

void TPhysicoLine::Schedule() {
    if (running_) return;
    TLCAPerform* ch = Choose();
    if (!ch || !HasNewTask(*ch)) return;
    const bool newOwner = ch != lastOwner_;
    owner_ = lastOwner_ = ch;
    if (!connected_ || newOwner) {
        const int error = ConnectFor(*ch);
        if (error != err::kNone) {
            Finish(*ch, error, 0);
            return;
        }
    }
    Start(*ch);
}

void TPhysicoLine::Start(TLCAPerform& ch) {
    TLCACommand& task = *ch.task;
    const bool write = task.kind == TaskKind::Write;
    Log(ch, logcat::kTasks, write ? "запись" : "чтение");
    channel_->StartOperation();
    if (write && task.dropStaleInput) channel_->Purge();
    std::size_t count = 0;
    const TransferResult r =
        write ? channel_->Write(task.data, task.count, count) : channel_->Read(task.data, task.count, count);
    running_ = &ch;
    if (r == TransferResult::Pending) {
        task.state = write ? TaskState::WritePending : TaskState::ReadPending;
        deadline_ = Clock::now() + std::chrono::milliseconds(task.timeoutMs);
        return;
    }
    if (r == TransferResult::Failed) Finish(ch, channel_->LastError(), count);
    else Transferred(count);
}

pollfd TPhysicoLine::WaitHandle() const { return running_ ? channel_->PendingEvents() : pollfd{-1, 0, 0}; }

void TPhysicoLine::Collect() {
    if (!running_) return;
    std::size_t count = 0;
    const TransferResult r = channel_->Collect(count);
    if (r == TransferResult::Pending) return;
    if (r == TransferResult::Failed) Finish(*running_, channel_->LastError(), count);
    else Transferred(count);
}

void TPhysicoLine::Transferred(std::size_t count) {
    if (count > 0) {
        Finish(*running_, err::kNone, count);
        return;
    }
    TLCAPerform& ch = *running_;
    channel_->Disconnect();
    connected_ = false;
    Finish(ch, err::kConnectionLost, 0);
}

void TPhysicoLine::Expire() {
    if (!running_ || Clock::now() < deadline_) return;
    channel_->Cancel();
    Finish(*running_, err::kTimeout, 0);
}

void TPhysicoLine::Finish(TLCAPerform& ch, int error, std::size_t count) {
    TLCACommand& task = *ch.task;
    if (ch.logMask & logcat::kData) Log(ch, logcat::kData, HexDump(task.data, count));
    if (error != err::kNone) Log(ch, logcat::kTasks, LcaErrorText(error));
    ch.lastError = error;
    ch.task = nullptr;
    if (running_ == &ch) running_ = nullptr;
    task.state = TaskState::Done;
    if (task.transferred) *task.transferred = count;
    // Last: once the event is set the client may free the task.
    task.event->Set();
}

void TPhysicoLine::Shutdown() {
    while (!channels_.empty()) RemoveChannel(*channels_.back());
    if (connected_) channel_->Disconnect();
    connected_ = false;
}

}  // namespace da
