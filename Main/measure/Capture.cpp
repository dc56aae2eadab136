#include "measure/Capture.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/ProtocolLog.h"
#include "CommonUtils/TalvoError.h"
#include "link/ActionTables.h"
#include "link/CommandSequences.h"
#include "measure/engine/SentBytes.h"

namespace msr {
namespace {

// The protocol of an action without a user: questions are never asked;
// errors and notices are kept for the message of a failed action.
class TCaptureLog final : public cmn::IProtocolLog {
public:
    void Log(cmn::LogType type, const std::string& text) override {
        if (type == cmn::LogType::Error || type == cmn::LogType::Notice) lines_ += (lines_.empty() ? "" : "\n") + text;
    }
    bool Interactive() const override { return false; }
    bool Ask(const std::string&, cmn::MessageKind, cmn::Buttons) override { return false; }
    const std::string& Lines() const { return lines_; }

private:
    std::string lines_;
};

// Both ends of a pseudo-terminal, closed on every path.
class TPty {
public:
    TPty() {
        if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0)
            throw cmn::TalvoError("Не удалось создать псевдотерминал для проверки сигнала");
        termios t{};
        tcgetattr(slave_, &t);
        cfmakeraw(&t);
        tcsetattr(slave_, TCSANOW, &t);
        path_ = ttyname(slave_);
    }
    ~TPty() {
        close(master_);
        close(slave_);
    }
    TPty(const TPty&) = delete;
    TPty& operator=(const TPty&) = delete;
    int Master() const { return master_; }
    const std::string& Path() const { return path_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// The calibrator's side of the exchange: a confirmation of receipt for each
// frame, and after its data block (if any) a confirmation of execution,
// except for the timing block, which the calibrator takes silently.
class TStandIn {
public:
    explicit TStandIn(int fd) : fd_(fd), thread_([this] { Run(); }) {}
    ~TStandIn() { Stop(); }
    TStandIn(const TStandIn&) = delete;
    TStandIn& operator=(const TStandIn&) = delete;

    std::vector<std::uint8_t> Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return received_;
    }

private:
    void Run() {
        while (!stop_) Receive(10);
        // The timing block is not confirmed, so the action may end before
        // its last bytes were read here: they wait in the terminal.
        while (Receive(50)) {
        }
    }
    bool Receive(int milliseconds) {
        std::uint8_t buffer[4096];
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, milliseconds) <= 0 || (p.revents & POLLIN) == 0) return false;
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) return false;
        received_.insert(received_.end(), buffer, buffer + n);
        Answer();
        return true;
    }
    void Reply(std::uint16_t word) {
        const auto c = cmn::BuildConfirmation(word);
        std::size_t done = 0;
        while (done < c.size()) {
            const ssize_t n = write(fd_, c.data() + done, c.size() - done);
            if (n <= 0) return;
            done += static_cast<std::size_t>(n);
        }
    }
    // Walks the frames received so far; `frameAt_` is where the frame in
    // progress begins.
    void Answer() {
        while (received_.size() >= frameAt_ + cmn::kFrameSize) {
            const std::uint8_t* f = received_.data() + frameAt_;
            const std::uint16_t code = cmn::ReadWord(f + 4);
            const std::size_t block = BlockLength(code, cmn::ReadWord(f + 6));
            if (!receiptSent_) {
                Reply(code);
                receiptSent_ = true;
            }
            if (received_.size() < frameAt_ + cmn::kFrameSize + block) return;
            if (code != static_cast<std::uint16_t>(cmn::CalCommand::Dips)) Reply(code | 0x80);
            frameAt_ += cmn::kFrameSize + block;
            receiptSent_ = false;
        }
    }

    int fd_;
    std::atomic<bool> stop_{false};
    std::vector<std::uint8_t> received_;
    std::size_t frameAt_ = 0;
    bool receiptSent_ = false;
    std::thread thread_;
};

bool Run(lnk::TSignalAction& action, TVerifyAction kind) {
    switch (kind) {
        case TVerifyAction::Sinus: return lnk::SendTestSignal(action);
        case TVerifyAction::ColOver: return lnk::SendCollapses(action);
        case TVerifyAction::Koleb: return lnk::SendKoleb(action);
    }
    return false;
}

}  // namespace

std::vector<std::uint8_t> CaptureAction(const sig::TSignalSet& signal, const TCaptureSettings& settings) {
    TPty pty;
    TCaptureLog log;
    sig::TSignalSet copy = signal;
    lnk::TProgramTables tables({settings.Modification, settings.Correction});
    std::optional<std::uint16_t> lastDivisor;
    const lnk::TActionTarget target{pty.Path(), 115200, log, nullptr};
    lnk::TSignalAction action{target, copy, tables, settings.Modification, lastDivisor, settings.Library};
    TStandIn standIn(pty.Master());
    bool done = false;
    try {
        done = Run(action, settings.Action);
    } catch (...) {
        standIn.Stop();
        throw;
    }
    std::vector<std::uint8_t> bytes = standIn.Stop();
    // An action refused because another one runs says nothing of its own.
    if (!done && log.Lines().empty())
        throw cmn::TalvoError("Идёт другое действие с калибратором. Повторите проверку после его окончания");
    if (!done) throw cmn::TalvoError("Действие с калибратором не выполнено:\n" + log.Lines());
    return bytes;
}

}  // namespace msr
