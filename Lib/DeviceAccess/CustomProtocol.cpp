#include "CustomProtocol.h"

#include "DeviceAccess/ErrorTexts.h"

namespace da {
namespace {

constexpr std::uint32_t kWriteTimeoutMs = 500;
constexpr std::uint32_t kReadTimeoutMs = 1000;
// A device that keeps sending bytes no response can start with is taken for
// a silent one once this many have gone by.
constexpr std::size_t kMaxNoise = 512;

}  // namespace

TCustomProtocol::TCustomProtocol(std::shared_ptr<TLCAThread> worker, const TConnectionDescription& description,
                                 bool processMessages, int attempts, std::size_t minimumResponse)
    : TLCAObject(std::move(worker), description),
      processMessages_(processMessages),
      attempts_(attempts),
      minimumResponse_(minimumResponse),
      lastError_(OpenError()) {}

void TCustomProtocol::SetMessageHandler(std::function<void()> handler) {
    if (processMessages_) SetMessagePump(std::move(handler));
}

int TCustomProtocol::Receive(std::vector<std::uint8_t>& frame) {
    TResponseReader reader(
        minimumResponse_, [this](const auto& b) { return Judge(b); }, kMaxNoise);
    std::vector<std::uint8_t> chunk;
    while (!reader.Complete()) {
        if (reader.GaveUp()) return err::kTimeout;
        chunk.resize(reader.Wanted());
        std::size_t got = 0;
        const int error = Read(chunk.data(), chunk.size(), kReadTimeoutMs, got);
        if (error != err::kNone) return error;
        reader.Take(chunk.data(), got);
    }
    frame = reader.Frame();
    return err::kNone;
}

// A request answered only after it was repeated may get a second answer: the
// device may answer the earlier attempt late and the repeat too, and an RTU
// answer carries no request number. Whatever comes before the line has been
// quiet for a whole answer time belongs to this request, not to the next.
void TCustomProtocol::DiscardLateAnswers() {
    std::vector<std::uint8_t> junk(256);
    std::size_t got = 0;
    do {
        got = 0;
        const int error = Read(junk.data(), junk.size(), kReadTimeoutMs, got);
        if (error != err::kNone && error != err::kTimeout) return;
    } while (got > 0);
}

bool TCustomProtocol::Transaction(const std::vector<std::uint8_t>& request, std::vector<std::uint8_t>& response) {
    if (!HasChannel()) {
        lastError_ = OpenError();
        return false;
    }
    int error = err::kTimeout;
    bool received = false;
    int attempt = 0;
    for (; attempt < attempts_ && !received; ++attempt) {
        error = Write(request.data(), request.size(), kWriteTimeoutMs, true);
        if (error == err::kNone) {
            ProcessMessages();
            error = Receive(response);
            received = error == err::kNone;
        }
        if (!received) {
            ReleaseLock();
            ProcessMessages();
        }
    }
    if (!received) {
        lastError_ = error;
        return false;
    }
    lastError_ = CheckFrame(response) ? err::kNone : 202;
    if (attempt > 1) DiscardLateAnswers();
    ReleaseLock();
    return lastError_ == err::kNone;
}

}  // namespace da
