#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <set>

#include "FileBytes.h"
#include "RecordingLog.h"
#include "RunClocks.h"
#include "RunRecorders.h"
#include "ScheduleRows.h"
#include "TempFolder.h"
#include "schedule/ScheduleRunner.h"

namespace {

using namespace sched;
using namespace sched_test;
using cmn::LogType;
using talvo_test::RecordingLog;
using talvo_test::TempFolder;
using talvo_test::WriteBytes;
using namespace std::chrono_literals;

double SecondsBetween(Steady::time_point a, Steady::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// Signal files are read for real; a file that does not open with a section
// is not a signal file. The calibrator side records each command with the
// time of the run's clock and can be told to fail one with an error line.
class TFileActions : public ISignalActions {
public:
    explicit TFileActions(const IWaitClock& clock) : clock_(clock) {}

    struct TSent {
        std::string name;
        TCommandType type;
        Steady::time_point at;
    };

    bool ReadSignalFile(const std::string& path, TSignalDataForSet& bundle, cmn::IProtocolLog& log) override {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty() || bytes[0] != '[') {
            log.Log(LogType::Notice, "Файл " + path + " не является файлом сигнала");
            return false;
        }
        bundle.Signal.Voltage.Nominal = 220;
        return true;
    }
    bool RunCommand(TSignalDataForSet& bundle, cmn::IProtocolLog& log) override {
        const std::string name = FileNameOnly(bundle.Row.Path);
        sent.push_back({name, bundle.Row.Type, clock_.Now()});
        EXPECT_EQ(bundle.Row.State, TRowState::Sending);
        if (HasSignalFile(bundle.Row.Type)) {
            EXPECT_EQ(bundle.Signal.Voltage.Nominal, 220);
        }
        if (!failing.count(name)) return true;
        log.Log(LogType::Error, "Калибратор не отвечает");
        return false;
    }

    std::vector<TSent> sent;
    std::set<std::string> failing;

private:
    const IWaitClock& clock_;
};

class Runner : public ::testing::Test {
protected:
    std::string Signal(const std::string& name) {
        WriteBytes(dir / name, "[Описание сигнала]\r\n");
        return dir / name;
    }
    std::vector<std::string> SentNames() const {
        std::vector<std::string> names;
        for (const auto& s : actions.sent) names.push_back(s.name);
        return names;
    }
    TStartResult Run(TRows& rows, TScheduleMode mode, int setTime) {
        started = waits.Now();  // the clock moves only once the run waits
        const TStartResult result = runner.Start(rows, mode, setTime);
        EXPECT_EQ(result.Outcome, TStartResult::TOutcome::Started) << result.Message;
        return result;
    }
    void Finish() {
        ASSERT_TRUE(events.WaitFinished());
        runner.Join();
        EXPECT_FALSE(runner.Running());
    }

    // The run waits on a clock that jumps over every wait: the times below
    // are the run's own, and a run of seconds takes none.
    TManualWaitClock waits;
    TTestClock clock{waits};
    TempFolder dir;
    RecordingLog log;
    TRecordingEvents events{waits};
    TFileActions actions{waits};
    TScheduleRunner runner{actions, log, events, clock, waits};
    Steady::time_point started;
};

using S = TRowState;

TEST_F(Runner, ByDurationSetsRowsInTurnEachHeldForItsDurationLessTheSetTime) {
    TRows rows = {Row(Signal("a.usa"), 0, 2), Row(Signal("u.usa"), 1, 5, S::NotSelected), Row(Signal("b.usa"), 2, 2),
                  Row(Signal("c.usa"), 3, 1)};
    waits.Hold();  // the run must not end before it is seen running
    const TStartResult result = Run(rows, TScheduleMode::ByDuration, 1);
    EXPECT_EQ(result.StatusText, "Ориентировочное время завершения: 09.12.2026 12:00:11");
    EXPECT_EQ(rows[0].State, S::SelectedRunning);
    EXPECT_EQ(rows[1].State, S::NotSelectedRunning);
    EXPECT_TRUE(runner.Running());
    waits.Release();
    Finish();

    EXPECT_EQ(SentNames(), (std::vector<std::string>{"a.usa", "b.usa", "c.usa"}));
    ASSERT_EQ(actions.sent.size(), 3u);
    EXPECT_EQ(actions.sent[1].at - actions.sent[0].at, 1s);
    EXPECT_EQ(actions.sent[2].at - actions.sent[1].at, 1s);
    EXPECT_EQ(events.finishedAt - actions.sent[2].at, 1s);  // the last row keeps its whole duration
    EXPECT_EQ(events.states,
              (std::vector<std::pair<std::size_t, TRowState>>{
                  {0, S::Sending}, {0, S::Sent}, {2, S::Sending}, {2, S::Sent}, {3, S::Sending}, {3, S::Sent}}));
    EXPECT_EQ(log.Texts(),
              (std::vector<std::string>{"--", "Передача сигнала: a.usa", "Передача выполнена", " Ожидаем 1 сек.", "--",
                                        "Передача сигнала: b.usa", "Передача выполнена", " Ожидаем 1 сек.", "--",
                                        "Передача сигнала: c.usa", "Передача выполнена", " Ожидаем 1 сек.", "--",
                                        "Передано успешно 3 сигналов из 3"}));
    EXPECT_EQ(log.TypeOf("Передача сигнала: a.usa"), LogType::ScheduleInfo);
    EXPECT_EQ(log.TypeOf(" Ожидаем 1 сек."), LogType::ScheduleInfo);
    EXPECT_EQ(rows[0].State, S::SelectedRunning);  // the window's rows change only through the events
}

TEST_F(Runner, FailedRowsEndInState4AndTheRunGoesOn) {
    WriteBytes(dir / "text.usa", "no signal");
    TRows rows = {Row(dir / "missing.usa", 0, 0), Row(dir / "text.usa", 1, 0, S::Selected, TCommandType::Koleb),
                  Row(kCommandText, 2, 0, S::Selected, TCommandType::StopSin),
                  Row(kCommandText, 3, 0, S::Selected, TCommandType::StopColOver),
                  Row(Signal("d.usa"), 4, 0, S::Selected, TCommandType::ColOver)};
    Run(rows, TScheduleMode::ByDuration, 0);
    Finish();
    EXPECT_EQ(SentNames(), (std::vector<std::string>{"Команда", "Команда", "d.usa"}));
    EXPECT_EQ(actions.sent[0].type, TCommandType::StopSin);
    EXPECT_EQ(actions.sent[1].type, TCommandType::StopColOver);
    EXPECT_EQ(events.states, (std::vector<std::pair<std::size_t, TRowState>>{{0, S::Sending},
                                                                             {0, S::Failed},
                                                                             {1, S::Sending},
                                                                             {1, S::Failed},
                                                                             {2, S::Sending},
                                                                             {2, S::Sent},
                                                                             {3, S::Sending},
                                                                             {3, S::Sent},
                                                                             {4, S::Sending},
                                                                             {4, S::Sent}}));
    EXPECT_EQ(log.Texts(),
              (std::vector<std::string>{
                  "--", "Передача сигнала: missing.usa", "Файл не найден : " + dir / "missing.usa", "--",
                  "Предача коледаний: text.usa", "Файл " + dir / "text.usa" + " не является файлом сигнала", "--",
                  "Сброс всего сигнала", "Передача выполнена", "--", "Сброс пр./преен.", "Передача выполнена", "--",
                  "Предача пр./перен.: d.usa", "Передача выполнена", "--", "Передано успешно 3 сигналов из 5"}));
    EXPECT_EQ(log.TypeOf("Файл не найден : " + dir / "missing.usa"), LogType::Notice);
}

TEST_F(Runner, AnErrorLineStopsTheRunAfterItsStep) {
    actions.failing = {"a.usa"};
    TRows rows = {Row(Signal("a.usa"), 0, 0), Row(Signal("b.usa"), 1, 0)};
    Run(rows, TScheduleMode::ByDuration, 0);
    Finish();
    EXPECT_EQ(SentNames(), std::vector<std::string>{"a.usa"});
    EXPECT_EQ(events.states.back(), std::make_pair(std::size_t{0}, S::Failed));
    EXPECT_EQ(log.Texts().back(), "Передано успешно 0 сигналов из 2");
}

// "Стоп" ends the wait of each mode at once, in real time; the interrupted
// row is neither finished nor counted.
void StopDuringWait(TManualWaitClock& waits, RecordingLog& log, TRecordingEvents& events, TScheduleRunner& runner,
                    TRows rows, TScheduleMode mode) {
    waits.Hold();
    ASSERT_EQ(runner.Start(rows, mode, 0).Outcome, TStartResult::TOutcome::Started);
    ASSERT_TRUE(waits.WaitForAWait());
    const auto stopAt = Steady::now();
    runner.Stop();
    ASSERT_TRUE(events.WaitFinished());
    EXPECT_LT(SecondsBetween(stopAt, Steady::now()), 0.05);
    runner.Join();
    const std::vector<std::string> texts = log.Texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(texts.end() - 4, texts.end()),
              (std::vector<std::string>{"--", "Остановка оператором", "--", "Передано успешно 0 сигналов из 1"}));
    EXPECT_EQ(log.TypeOf("Остановка оператором"), LogType::Error);
}

TEST_F(Runner, StopEndsAWaitForADurationAtOnce) {
    StopDuringWait(waits, log, events, runner, {Row(Signal("a.usa"), 0, 30)}, TScheduleMode::ByDuration);
    EXPECT_EQ(SentNames(), std::vector<std::string>{"a.usa"});
    EXPECT_EQ(events.states, (std::vector<std::pair<std::size_t, TRowState>>{{0, S::Sending}}));
}

TEST_F(Runner, StopEndsAWaitForAStartTimeAtOnce) {
    StopDuringWait(waits, log, events, runner, {Timed(Signal("a.usa"), 0, At(12, 1, 0), At(12, 2, 0))},
                   TScheduleMode::ByTime);
    EXPECT_TRUE(actions.sent.empty());
    EXPECT_EQ(log.Texts().front(), " Ожидаем до 09.12.2026 12:01:00");
}

TEST_F(Runner, ByTimeSendsARowOneSecondLateAndSkipsOneThreeSecondsLate) {
    TRows rows = {Timed(Signal("late.usa"), 0, At(11, 59, 57), At(11, 59, 58)),
                  Timed(Signal("now.usa"), 1, At(11, 59, 59), At(12, 0, 1)),
                  Timed(Signal("next.usa"), 2, At(12, 0, 2), At(12, 0, 2, 300))};
    const TStartResult result = Run(rows, TScheduleMode::ByTime, 0);
    EXPECT_EQ(result.StatusText, "Ориентировочное время завершения: 09.12.2026 12:00:02");
    Finish();
    EXPECT_EQ(SentNames(), (std::vector<std::string>{"now.usa", "next.usa"}));
    // A wait for a clock time may end up to a millisecond early.
    EXPECT_EQ(actions.sent[0].at, started);
    EXPECT_NEAR(SecondsBetween(started, actions.sent[1].at), 2, 0.001);
    EXPECT_NEAR(SecondsBetween(started, events.finishedAt), 2.3, 0.001);
    EXPECT_EQ(
        log.Texts(),
        (std::vector<std::string>{
            "Время начала сигнала late.usa прошло.", "--", "Передача сигнала: now.usa", "Передача выполнена",
            " Ожидаем до 09.12.2026 12:00:01", " Ожидаем до 09.12.2026 12:00:02", "--", "Передача сигнала: next.usa",
            "Передача выполнена", " Ожидаем до 09.12.2026 12:00:02", "--", "Передано успешно 2 сигналов из 3"}));
    EXPECT_EQ(log.TypeOf("Время начала сигнала late.usa прошло."), LogType::Notice);
}

TEST_F(Runner, ByTimeAndDurationWaitsForTheFirstStartThenChains) {
    TRows rows = {Row(Signal("a.usa"), 0, 1), Row(Signal("b.usa"), 1, 1)};
    ChainRows(rows, At(12, 0, 1));
    const TStartResult result = Run(rows, TScheduleMode::ByTimeAndDuration, 0);
    EXPECT_EQ(result.StatusText, "Ориентировочное время завершения: 09.12.2026 12:00:03");
    Finish();
    ASSERT_EQ(SentNames(), (std::vector<std::string>{"a.usa", "b.usa"}));
    EXPECT_NEAR(SecondsBetween(started, actions.sent[0].at), 1, 0.001);
    EXPECT_EQ(actions.sent[1].at - actions.sent[0].at, 1s);
    EXPECT_EQ(log.Texts().front(), " Ожидаем до 09.12.2026 12:00:01");
    EXPECT_EQ(log.Texts().back(), "Передано успешно 2 сигналов из 2");
}

TEST_F(Runner, ByTimeAndDurationEndsWhenTheStartHasPassed) {
    TRows rows = {Row(Signal("u.usa"), 0, 1, S::NotSelected), Row(Signal("a.usa"), 1, 1), Row(Signal("b.usa"), 2, 1)};
    ChainRows(rows, At(11, 59, 57));
    Run(rows, TScheduleMode::ByTimeAndDuration, 0);
    Finish();
    EXPECT_TRUE(actions.sent.empty());
    EXPECT_EQ(log.Texts(),
              (std::vector<std::string>{"Время старта a.usa прошло.", "--", "Передано успешно 0 сигналов из 2"}));
}

TEST_F(Runner, StartRefusesWhatCannotRun) {
    TRows none;
    EXPECT_EQ(runner.Start(none, TScheduleMode::ByDuration, 5).Outcome, TStartResult::TOutcome::EmptyList);
    TRows unselected = {Row(Signal("a.usa"), 0, 1, S::NotSelected), Row(Signal("b.usa"), 1, 1, S::Sent)};
    const TStartResult nothing = runner.Start(unselected, TScheduleMode::ByDuration, 5);
    EXPECT_EQ(nothing.Outcome, TStartResult::TOutcome::NothingSelected);
    EXPECT_EQ(nothing.Message, "Нет сигналов выделенных для задания!");
    TRows same = {Timed(Signal("a.usa"), 0, At(12, 5, 0), At(12, 6, 0)),
                  Timed(Signal("b.usa"), 1, At(12, 5, 0), At(12, 7, 0))};
    const TStartResult refused = runner.Start(same, TScheduleMode::ByTime, 0);
    EXPECT_EQ(refused.Outcome, TStartResult::TOutcome::TimesRefused);
    EXPECT_NE(refused.Message.find("совпадает"), std::string::npos);
    EXPECT_EQ(same[0].State, S::Selected);
    EXPECT_FALSE(runner.Running());

    TRows one = {Row(Signal("a.usa"), 0, 30)};
    waits.Hold();
    Run(one, TScheduleMode::ByDuration, 0);
    EXPECT_EQ(runner.Start(one, TScheduleMode::ByDuration, 0).Outcome, TStartResult::TOutcome::AlreadyRunning);
    runner.Stop();
    Finish();
}

}  // namespace
