#include "schedule/ScheduleRunner.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace sched {

namespace {

class TSteadyWaitClock final : public IWaitClock {
public:
    TTimePoint Now() const override { return std::chrono::steady_clock::now(); }
    void WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock, TTimePoint deadline) override {
        wake.wait_until(lock, deadline);
    }
};

}  // namespace

IWaitClock& SteadyWaitClock() {
    static TSteadyWaitClock clock;
    return clock;
}

// The protocol of a run: every line but plain information (the port and
// command lines of the actions) goes on to the window's log, and an error
// line, wherever it comes from, stops the run after the current step.
class TScheduleRunner::TRunLog : public cmn::IProtocolLog {
public:
    explicit TRunLog(TScheduleRunner& runner) : runner_(runner) {}
    void Log(cmn::LogType type, const std::string& text) override {
        if (type == cmn::LogType::Info) return;
        runner_.log_.Log(type, text);
        if (type == cmn::LogType::Error) runner_.RequestStop();
    }
    bool Interactive() const override { return false; }
    // Nobody answers during a run: the question is logged and the run goes on.
    bool Ask(const std::string& text, cmn::MessageKind, cmn::Buttons) override {
        Log(cmn::LogType::Notice, text);
        return true;
    }

private:
    TScheduleRunner& runner_;
};

TScheduleRunner::TScheduleRunner(ISignalActions& actions, cmn::IProtocolLog& log, IScheduleEvents& events,
                                 const IClock& clock, IWaitClock& waits)
    : actions_(actions), log_(log), events_(events), clock_(clock), waits_(waits) {}

TScheduleRunner::~TScheduleRunner() {
    RequestStop();
    Join();
}

TStartResult TScheduleRunner::Start(TRows& rows, TScheduleMode mode, int setTime) {
    using TOutcome = TStartResult::TOutcome;
    if (running_) return {TOutcome::AlreadyRunning, {}, {}};
    if (rows.empty()) return {TOutcome::EmptyList, {}, {}};
    if (std::none_of(rows.begin(), rows.end(), IsSelected))
        return {TOutcome::NothingSelected, "Нет сигналов выделенных для задания!", {}};
    for (TSignalDataForGrid& row : rows) row.SetTime = setTime;
    if (mode == TScheduleMode::ByTime)
        if (auto refusal = CheckRowTimes(rows)) return {TOutcome::TimesRefused, *refusal, {}};
    Join();
    TRows copies = MakeRunCopies(rows, setTime);
    running_ = true;
    stop_ = false;
    MarkRowsRunning(rows);
    TStartResult result{TOutcome::Started, {}, EstimatedEndText(mode, rows, setTime, clock_.Now())};
    worker_ = std::thread([this, mode, copies = std::move(copies)] { Work(mode, copies); });
    return result;
}

void TScheduleRunner::Stop() {
    if (!running_) return;
    log_.Log(cmn::LogType::Separator, "");
    log_.Log(cmn::LogType::Error, "Остановка оператором");
    RequestStop();
}

void TScheduleRunner::Join() {
    if (worker_.joinable()) worker_.join();
}

void TScheduleRunner::RequestStop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
}

void TScheduleRunner::Work(TScheduleMode mode, const TRows& copies) {
    TBundles bundles;
    bundles.reserve(copies.size());
    for (const TSignalDataForGrid& copy : copies) bundles.emplace_back(copy);
    int count = 0;
    // Only the selected rows make up the total, wherever the run ends.
    const auto total = std::count_if(copies.begin(), copies.end(), IsSelected);
    try {
        switch (mode) {
            case TScheduleMode::ByDuration: RunByDuration(bundles, 0, count); break;
            case TScheduleMode::ByTime: RunByTime(bundles, count); break;
            case TScheduleMode::ByTimeAndDuration: RunByTimeAndDuration(bundles, count); break;
        }
    } catch (const std::exception& e) {
        log_.Log(cmn::LogType::Error, e.what());
    }
    bundles.clear();
    log_.Log(cmn::LogType::Separator, "");
    log_.Log(cmn::LogType::ScheduleInfo,
             "Передано успешно " + std::to_string(count) + " сигналов из " + std::to_string(total));
    running_ = false;
    events_.RunFinished();
}

void TScheduleRunner::RunByDuration(TBundles& bundles, std::size_t from, int& count) {
    for (std::size_t i = from; i < bundles.size() && !Stopped(); ++i) {
        if (!IsSelected(bundles[i].Row)) continue;
        const int duration = bundles[i].Row.Duration;
        SendAndHold(bundles, i, count, [&] {
            if (duration > 0) WaitSeconds(duration);
        });
    }
}

void TScheduleRunner::RunByTime(TBundles& bundles, int& count) {
    for (std::size_t i = 0; i < bundles.size() && !Stopped(); ++i) {
        const TSignalDataForGrid& row = bundles[i].Row;
        if (!IsSelected(row)) continue;
        if (SecondsLate(row.Start) > 2) {
            log_.Log(cmn::LogType::Notice, "Время начала сигнала " + FileNameOnly(row.Path) + " прошло.");
            continue;
        }
        if (LaterThan(row.Start, clock_.Now())) WaitUntil(row.Start);
        if (Stopped()) break;
        const TDateTime end = row.End;
        SendAndHold(bundles, i, count, [&] { WaitUntil(end); });
    }
}

void TScheduleRunner::RunByTimeAndDuration(TBundles& bundles, int& count) {
    const auto first =
        std::find_if(bundles.begin(), bundles.end(), [](const TSignalDataForSet& b) { return IsSelected(b.Row); });
    if (first == bundles.end()) return;
    const TSignalDataForGrid& row = first->Row;
    if (SecondsLate(row.Start) > 2) {
        log_.Log(cmn::LogType::Notice, "Время старта " + FileNameOnly(row.Path) + " прошло.");
        return;
    }
    if (LaterThan(row.Start, clock_.Now())) WaitUntil(row.Start);
    RunByDuration(bundles, static_cast<std::size_t>(first - bundles.begin()), count);
}

template <class Hold>
void TScheduleRunner::SendAndHold(TBundles& bundles, std::size_t i, int& count, Hold hold) {
    TSignalDataForGrid& row = bundles[i].Row;
    if (!Send(bundles[i], i)) {
        row.State = TRowState::Failed;
        events_.RowStateChanged(i, TRowState::Failed);
        return;
    }
    hold();
    if (Stopped()) return;
    row.State = TRowState::Sent;
    events_.RowStateChanged(i, TRowState::Sent);
    ++count;
}

bool TScheduleRunner::Send(TSignalDataForSet& bundle, std::size_t position) {
    TRunLog log(*this);
    return SendSignalData(bundle, actions_, log, [&] {
        events_.RowStateChanged(position, TRowState::Sending);
        log_.Log(cmn::LogType::Separator, "");
    });
}

void TScheduleRunner::WaitSeconds(int seconds) {
    log_.Log(cmn::LogType::ScheduleInfo, " Ожидаем " + std::to_string(seconds) + " сек.");
    const auto deadline = waits_.Now() + std::chrono::seconds(seconds);
    std::unique_lock lock(mutex_);
    WaitUntilStopOr(lock, deadline);
}

void TScheduleRunner::WaitUntil(TDateTime target) {
    log_.Log(cmn::LogType::ScheduleInfo, " Ожидаем до " + DateTimeToText(target));
    // The wall clock is read again at least every second, so that a clock
    // set while waiting moves the end of the wait with it.
    constexpr double kLongestStepMs = 1000;
    std::unique_lock lock(mutex_);
    while (!Stopped()) {
        const double remainingMs = (target - clock_.Now()) * kSecondsPerDay * 1000;
        if (remainingMs <= 1) return;
        const auto step = std::chrono::duration<double, std::milli>(std::min(remainingMs, kLongestStepMs));
        WaitUntilStopOr(lock, waits_.Now() + std::chrono::ceil<IWaitClock::TTimePoint::duration>(step));
    }
}

// Returns at the deadline or as soon as the run is stopped.
void TScheduleRunner::WaitUntilStopOr(std::unique_lock<std::mutex>& lock, IWaitClock::TTimePoint deadline) {
    while (!Stopped() && waits_.Now() < deadline) waits_.WaitUntil(wake_, lock, deadline);
}

// Whole seconds by which the start lies in the past (negative in the future).
long long TScheduleRunner::SecondsLate(TDateTime start) const {
    return std::llround((clock_.Now() - start) * kSecondsPerDay * 1000) / 1000;
}

}  // namespace sched
