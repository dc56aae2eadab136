#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <latch>
#include <thread>

#include "CalibratorSimulator.h"
#include "CommonUtils/TalvoError.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "TestSignals.h"
#include "link/BusyFlag.h"
#include "link/CommandSequences.h"
#include "link/Countdown.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"
#include "signal/SampleClock.h"

namespace {

using cmn::LogType;
using nlohmann::json;
using talvo_test::CalibratorSimulator;
using Posts = std::vector<std::pair<std::uint32_t, int>>;
using talvo_test::FrameCodes;
using talvo_test::RecordingLog;

const Posts kSuccess{{lnk::WMDRAWSTATUS, 3}, {lnk::WMDRAWSTATUS, 4}, {lnk::WMDRAWWARNING, 3}};
const std::vector<int> kFirstSend{14, 15, 12, 10, 1, 2, 7, 14};
const std::string kReleased = "Порт COM1 освобожден";

void Recompute(sig::TSignalSet& s) {
    static const sig::TKolebParamsHelpTable flicker = [] {
        sig::TKolebParamsHelpTable t;
        t.LoadDefaults(sig::fsGost2012);
        return t;
    }();
    sig::Recalculate(s, flicker);
}

// Balanced 57.735 V and 5 A at 50 Hz (timer index 1, 3419 samples per period).
std::unique_ptr<sig::TSignalSet> FiftyHertzSignal() {
    auto s = talvo_test::BalancedSignal();
    s->Grid = {1, sig::SampleRate(1), 3419, 3419};
    s->Collapses.Duration = 0.1L;
    s->Collapses.Period = 0.5L;
    s->Collapses.Count = 3;
    s->Collapses.Faza[sig::fzA].DepthPercent = 40;
    Recompute(*s);
    return s;
}

std::uint16_t Level(sig::real value) { return static_cast<std::uint16_t>(32767 + std::lround(value * 1000)); }

// Tables of constant codes that tell which table the calibrator got: the
// current table carries the RMS currents in mA above the zero code.
class TestTables : public lnk::IActionTables {
public:
    std::optional<lnk::TTableBytes> VoltageTable(const sig::TSignalSet& s, cmn::IProtocolLog&) override {
        if (declineVoltage) return std::nullopt;
        return Table(s, 40000, 40001, 40002);
    }
    std::optional<lnk::TTableBytes> CurrentTable(const sig::TSignalSet& s, cmn::IProtocolLog&) override {
        if (declineCurrent) return std::nullopt;
        return Table(s, Level(s.Current.IRmsA), Level(s.Current.IRmsB), Level(s.Current.IRmsC));
    }
    lnk::TTableBytes CollapsesTable(const sig::TSignalSet& s, cmn::IProtocolLog&) override {
        return Table(s, 20000, 20001, 20002);
    }
    cmn::TimingBlock CollapsesTiming(const sig::TSignalSet&) override {
        return cmn::EncodeTimingBlock(1709, 17094, 68376);
    }
    lnk::TTableBytes KolebTable(const sig::TSignalSet& s, int level, cmn::IProtocolLog&) override {
        const auto code = static_cast<std::uint16_t>(30000 + 1000 * level);
        return Table(s, code, code, code);
    }
    cmn::TimingBlock KolebTiming(const sig::TSignalSet&) override { return cmn::EncodeTimingBlock(0, 9711, 9711); }

    bool declineVoltage = false;
    bool declineCurrent = false;

private:
    static lnk::TTableBytes Table(const sig::TSignalSet& s, std::uint16_t a, std::uint16_t b, std::uint16_t c) {
        lnk::TTableBytes table(static_cast<std::size_t>(s.Grid.SamplesPerPeriod) * cmn::kSampleSize);
        for (std::size_t i = 0; i < table.size(); i += cmn::kSampleSize) cmn::PackSample(a, b, c, &table[i]);
        return table;
    }
};

class RecordingStatus : public lnk::IStatusSink {
public:
    void Post(std::uint32_t message, int code) override { posts.emplace_back(message, code); }
    Posts posts;
};

class FakeCountdown : public lnk::IEnergyCountdown {
public:
    bool Run(int seconds) override {
        given.push_back(seconds);
        return ranOut;
    }
    std::vector<int> given;
    bool ranOut = false;
};

const lnk::TSignalLibrary& BuiltLibrary() {
    static const lnk::TSignalLibrary library =
        lnk::LoadSignalLibrary(std::string(TALVO_BIN_DIR) + "/", lnk::RecordedLibraryDigest());
    return library;
}

class CalibratorActions : public ::testing::Test {
protected:
    void Start(const std::vector<std::string>& options = {}) {
        sim = std::make_unique<CalibratorSimulator>("COM1", options);
    }
    lnk::TSignalAction Action(RecordingLog& target) {
        return {{"COM1", 115200, target, &status}, *signal, tables, sig::dmTalvoM, lastDivisor, &BuiltLibrary()};
    }
    lnk::TActionTarget Target(RecordingLog& target) { return {"COM1", 115200, target, &status}; }
    std::vector<json> WaitFrames(std::size_t n) { return sim->WaitFrames(n); }
    // The action failed before the port opened: nothing reached the calibrator.
    void ExpectRefusedBeforePort() {
        EXPECT_TRUE(sim->Frames().empty());
        for (const auto& [type, text] : log.lines) EXPECT_NE(text.rfind("ДЕЙСТВИЕ", 0), 0u) << text;
        EXPECT_FALSE(lnk::TransferBusy().Busy());
    }

    talvo_test::TempSettings settings;
    std::unique_ptr<CalibratorSimulator> sim;
    std::unique_ptr<sig::TSignalSet> signal = FiftyHertzSignal();
    TestTables tables;
    RecordingStatus status;
    std::optional<std::uint16_t> lastDivisor;
    RecordingLog log;
    RecordingLog dialogs{true};
};

// ---------------------------------------------------------------- test signal

TEST_F(CalibratorActions, SameSignalTwiceSendsTheClockOnlyOnce) {
    Start();
    auto action = Action(dialogs);
    ASSERT_TRUE(lnk::SendTestSignal(action));
    EXPECT_EQ(lastDivisor, 194);
    EXPECT_EQ(status.posts, kSuccess);
    ASSERT_TRUE(lnk::SendTestSignal(action));
    const auto frames = WaitFrames(14);
    std::vector<int> expected = kFirstSend;
    expected.insert(expected.end(), {14, 10, 1, 2, 7, 14});
    EXPECT_EQ(FrameCodes(frames), expected);
    EXPECT_EQ(frames[2]["first"], 194);
    EXPECT_EQ(frames[3]["first"], 2);  // 57.735 V, 5 A
    EXPECT_EQ(frames[4]["first"], 3419 * 4);
    EXPECT_EQ(frames[6]["first"], 3419 * 4);
    EXPECT_EQ(frames[13]["state"]["voltage_running"], true);
    EXPECT_EQ(frames[13]["state"]["current_running"], true);
    EXPECT_EQ(frames[13]["state"]["current_samples"], 3419);
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(CalibratorActions, RangeCodeFromTheNominals) {
    signal->Voltage.Nominal = 220;
    Start();
    auto action = Action(log);
    ASSERT_TRUE(lnk::SendTestSignal(action));
    EXPECT_EQ(WaitFrames(4)[3]["first"], 3);
    signal->Current.Nominal = 1;
    ASSERT_TRUE(lnk::SendTestSignal(action));
    EXPECT_EQ(WaitFrames(10)[9]["first"], 1);
}

// The doubled clock of a two-period table is never the one kept.
TEST_F(CalibratorActions, InterharmonicsSendTheDoubledDivisorEveryTime) {
    signal->Switches.IncludeInterGarm = true;
    signal->Voltage.InterGarm[sig::fzA].Koef[3] = 1;
    Start();
    auto action = Action(log);
    action.Modification = sig::dmTalvo;
    ASSERT_TRUE(lnk::SendTestSignal(action));
    ASSERT_TRUE(lnk::SendTestSignal(action));
    const auto frames = WaitFrames(16);
    std::vector<int> expected = kFirstSend;
    expected.insert(expected.end(), kFirstSend.begin(), kFirstSend.end());
    EXPECT_EQ(FrameCodes(frames), expected);
    EXPECT_EQ(frames[2]["first"], 389);
    EXPECT_EQ(frames[10]["first"], 389);
    // The first modification cannot play interharmonics: logged and sent all the same.
    EXPECT_EQ(log.lines[0],
              std::make_pair(LogType::Notice, sig::UnsupportedNotice("- интергармонические составляющие\r\n")));
}

TEST_F(CalibratorActions, ProtocolLogOfASuccessfulSend) {
    Start();
    auto action = Action(log);
    ASSERT_TRUE(lnk::SendTestSignal(action));
    std::ifstream fixture(std::string(TALVO_FIXTURES_DIR) + "/SendTestSignal.log");
    std::vector<std::pair<LogType, std::string>> expected;
    for (std::string line; std::getline(fixture, line);)
        expected.emplace_back(static_cast<LogType>(std::stoi(line.substr(0, line.find('\t')))),
                              line.substr(line.find('\t') + 1));
    ASSERT_EQ(expected.size(), 31u);
    EXPECT_EQ(log.lines, expected);
    EXPECT_TRUE(status.posts.empty()) << "status goes only to an interactive caller";
}

// ---------------------------------------------------------------- checks

TEST_F(CalibratorActions, ModificationAndEmptyInterharmonicsQuestions) {
    Start();
    signal->Voltage.Garmonik.SetKoef(sig::TGarmonikPart::b, 45, 2.0f);
    dialogs.answer = false;
    auto action = Action(dialogs);
    action.Modification = sig::dmTalvo;
    EXPECT_FALSE(lnk::SendTestSignal(action));
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text,
              sig::UnsupportedQuestion(sig::dmTalvo, "- гармонические составляющие напряжения более 40-й\r\n"));
    EXPECT_EQ(dialogs.questions[0].buttons, cmn::Buttons::YesNo);

    signal->Switches.IncludeInterGarm = true;
    action.Modification = sig::dmTalvoM;
    EXPECT_FALSE(lnk::SendTestSignal(action));
    EXPECT_EQ(dialogs.questions.back().text,
              "Интергармоники включены в сигнал, но значения всех интергармонических составляющих = 0. "
              "\r\n\r\nПродолжить передачу сигнала?");
    EXPECT_EQ(status.posts, (Posts{{lnk::WMDRAWSTATUS, 5}, {lnk::WMDRAWSTATUS, 5}}));
    ExpectRefusedBeforePort();

    // Unattended, the empty interharmonics are not asked about.
    auto unattended = Action(log);
    EXPECT_TRUE(lnk::SendTestSignal(unattended));
    EXPECT_TRUE(log.questions.empty());
}

TEST_F(CalibratorActions, DipsWithInterharmonicsRefusedBeforeThePortOpens) {
    Start();
    signal->Switches.IncludeInterGarm = true;
    const std::string text =
        "Выполнение действия \"Передача испытательного сигнала\" невозможно при наличии в сигнале интергармоник.";
    auto action = Action(log);
    EXPECT_FALSE(lnk::SendCollapses(action));
    EXPECT_EQ(log.lines, (std::vector<std::pair<LogType, std::string>>{{LogType::Notice, text}}));
    auto shown = Action(dialogs);
    EXPECT_FALSE(lnk::SendCollapses(shown));
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, text + "\r\n\r\nОтключите интергармоники и повторите попытку.");
    ExpectRefusedBeforePort();
}

TEST_F(CalibratorActions, VariantsNeedEveryVoltageFundamental) {
    Start();
    signal->Switches.UOnB = false;
    const std::string text =
        "Выполнение действия \"Передача колебаний\" возможно только при включении напряжения "
        "основной частоты всех фаз в сигнал.";
    auto action = Action(log);
    EXPECT_FALSE(lnk::SendKoleb(action));
    EXPECT_EQ(log.Texts(), std::vector<std::string>{text});
    auto shown = Action(dialogs);
    EXPECT_FALSE(lnk::SendKoleb(shown));
    EXPECT_EQ(dialogs.questions.at(0).text,
              text + "\r\n\r\nВключите напряжение основной частоты в сигнал и повторите попытку.");
    EXPECT_EQ(dialogs.questions[0].kind, cmn::MessageKind::Warning);
    ExpectRefusedBeforePort();
}

TEST_F(CalibratorActions, DipsWithoutCountAreRefused) {
    Start();
    signal->Collapses.Count = 0;
    auto action = Action(log);
    EXPECT_FALSE(lnk::SendCollapses(action));
    EXPECT_EQ(log.Texts(), std::vector<std::string>{
                               "Генерация провалов и перенапряжений невозможна, так как их количество равно нулю."});
    ExpectRefusedBeforePort();
}

// A library without the export: the action ends before the port and the
// error reaches the caller.
TEST_F(CalibratorActions, LibraryFailureEndsTheAction) {
    Start();
    auto action = Action(dialogs);
    action.Library = nullptr;
    try {
        lnk::SendTestSignal(action);
        ADD_FAILURE() << "no error";
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Ошибка при работе с библиотекой libSignalTalvo.so (127).");
    }
    EXPECT_EQ(status.posts, (Posts{{lnk::WMDRAWSTATUS, 5}}));
    ExpectRefusedBeforePort();
    EXPECT_TRUE(lnk::ResetCollapses(Target(log)));
}

// A grid no table fits is refused once the port is open, before any
// command: the calibrator keeps what it plays, the port and the flag are freed.
TEST_F(CalibratorActions, GridBeyondATableEndsTheActionBeforeAnyCommand) {
    signal->Grid.SamplesPerPeriod = 5001;
    Start();
    auto action = Action(log);
    try {
        lnk::SendTestSignal(action);
        ADD_FAILURE() << "no error";
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(
            e.what(),
            "Частота сигнала не может быть сформирована калибратором: число отсчетов на период превышает 5000.");
    }
    EXPECT_TRUE(sim->Frames().empty());
    EXPECT_EQ(log.Texts().back(), kReleased);
    EXPECT_FALSE(lnk::TransferBusy().Busy());
}

// ---------------------------------------------------------------- variants

TEST_F(CalibratorActions, DipsAddTheirTableAndTimingBlock) {
    Start();
    auto action = Action(log);
    ASSERT_TRUE(lnk::SendCollapses(action));
    const auto frames = WaitFrames(10);
    std::vector<int> expected = kFirstSend;
    expected.insert(expected.end(), {1, 13});
    EXPECT_EQ(FrameCodes(frames), expected);
    EXPECT_EQ(frames[8]["table"], "alternative");
    EXPECT_EQ(frames[8]["a"][0], 20000);
    EXPECT_EQ(frames[9]["first"], 3);
    EXPECT_EQ(frames[9]["second"], 15296);
    EXPECT_EQ(frames[9]["state"]["dips"], (json{{"count", 3}, {"start", 1709}, {"length", 17094}, {"pause", 68376}}));
    EXPECT_EQ(log.Texts().back(), kReleased);
}

TEST_F(CalibratorActions, FluctuationsSwitchBetweenTwoLevels) {
    Start();
    auto action = Action(log);
    ASSERT_TRUE(lnk::SendKoleb(action));
    const auto frames = WaitFrames(12);
    std::vector<int> expected = kFirstSend;
    expected.insert(expected.end(), {1, 5, 1, 13});
    EXPECT_EQ(FrameCodes(frames), expected);
    EXPECT_EQ(frames[8]["a"][0], 30000);
    EXPECT_EQ(frames[9]["first"], 3419 * 4);
    EXPECT_EQ(frames[10]["a"][0], 31000);
    EXPECT_EQ(frames[10]["table"], "alternative");
    EXPECT_EQ(frames[11]["first"], 32767);
    EXPECT_EQ(frames[11]["state"]["dips"]["length"], 9711);
    EXPECT_EQ(log.lines[1].second, "ДЕЙСТВИЕ: Передача колебаний");
}

TEST_F(CalibratorActions, ResetsSendTheirCommands) {
    Start();
    ASSERT_TRUE(lnk::ResetCollapses(Target(log)));
    ASSERT_TRUE(lnk::ResetAll(Target(dialogs)));
    EXPECT_EQ(FrameCodes(WaitFrames(3)), (std::vector<int>{14, 14, 15}));
    EXPECT_EQ(log.lines[1].second, "ДЕЙСТВИЕ: Сброс провалов и перенапряжений");
    EXPECT_EQ(dialogs.lines[1].second, "ДЕЙСТВИЕ: Сброс всего сигнала");
    EXPECT_EQ(status.posts, kSuccess);
}

// The user declines the clipped current table: the stopped state stays shown.
TEST_F(CalibratorActions, DeclinedTableStopsTheTransfer) {
    Start();
    tables.declineCurrent = true;
    auto action = Action(dialogs);
    EXPECT_FALSE(lnk::SendTestSignal(action));
    EXPECT_EQ(FrameCodes(WaitFrames(5)), (std::vector<int>{14, 15, 12, 10, 1}));
    EXPECT_EQ(dialogs.questions.at(0).text, "Передача сигнала остановлена");
    EXPECT_EQ(status.posts, (Posts{{lnk::WMDRAWSTATUS, 3}, {lnk::WMDRAWSTATUS, 6}}));
    EXPECT_EQ(dialogs.Texts().back(), kReleased);
    auto unattended = Action(log);
    EXPECT_FALSE(lnk::SendTestSignal(unattended));
    EXPECT_EQ(log.lines.at(log.lines.size() - 2),
              std::make_pair(LogType::Notice, std::string("Передача сигнала остановлена")));
}

// ---------------------------------------------------------------- meter verification

TEST_F(CalibratorActions, MeterVerificationPlaysZeroSetZeroCurrent) {
    Start();
    signal->Energy.TestSeconds = 60;
    FakeCountdown countdown;
    auto action = Action(dialogs);
    ASSERT_TRUE(lnk::MeterVerification(action, Recompute, countdown));
    const auto frames = WaitFrames(12);
    std::vector<int> expected = kFirstSend;
    expected.insert(expected.end(), {2, 7, 2, 7});
    EXPECT_EQ(FrameCodes(frames), expected);
    EXPECT_EQ(frames[5]["a"][0], 32767);
    EXPECT_EQ(frames[8]["a"][0], 37767);
    EXPECT_EQ(frames[10]["c"][0], 32767);
    EXPECT_EQ(countdown.given, std::vector<int>{60});
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[0].text,
              "На выходе калибратора установлено заданное напряжение и нулевой ток.\r\n"
              "Сбросьте счетчики и нажмите на кнопку \"Да\"");
    EXPECT_EQ(dialogs.questions[1].text,
              "Процесс прерван. На выходе калибратора установлено заданное напряжение и нулевой ток.");
    EXPECT_EQ(status.posts, (Posts{{lnk::WMDRAWSTATUS, 3},
                                   {lnk::WMDRAWSTATUS, 4},
                                   {lnk::WMDRAWSTATUS, 4},
                                   {lnk::WMDRAWSTATUS, 4},
                                   {lnk::WMDRAWSTATUS, 4},
                                   {lnk::WMDRAWWARNING, 3}}));
    EXPECT_EQ(signal->Current.IB, 5);
    EXPECT_NEAR(static_cast<double>(signal->Current.IRmsB), 5, 1e-12);
}

// The calibrator stops answering after the zero-current start: the
// currents come back all the same.
TEST_F(CalibratorActions, MeterVerificationRestoresCurrentsAfterAFault) {
    Start({"--silent-from", "10"});
    FakeCountdown countdown;
    countdown.ranOut = true;
    auto action = Action(log);
    EXPECT_FALSE(lnk::MeterVerification(action, Recompute, countdown));
    EXPECT_EQ(log.lines.at(log.lines.size() - 2).first, LogType::Error);
    EXPECT_EQ(log.Texts().back(), kReleased);
    EXPECT_TRUE(countdown.given.empty());
    EXPECT_EQ(signal->Current.IA, 5);
    EXPECT_NEAR(static_cast<double>(signal->Current.IRmsA), 5, 1e-12);
}

TEST(TimedCountdown, WaitsTheGivenSeconds) {
    lnk::TTimedCountdown countdown;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(countdown.Run(1));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(countdown.Run(-3));
}

// ---------------------------------------------------------------- faults and concurrency

struct Fault {
    std::vector<std::string> options;
    std::string line;
};

TEST_F(CalibratorActions, EveryCalibratorFaultEndsTheActionCleanly) {
    const std::string receipt = "Прием подтверждения о получении команды";
    const std::string execution = "Прием подтверждения о выполнении команды";
    const std::vector<Fault> faults{
        {{"--bad-sync", "--fault-frame", "4", "--fault-on", "receipt"}, receipt + ": неверные байты синхронизации"},
        {{"--bad-code", "--fault-frame", "5", "--fault-on", "execution"}, execution + ": неверный код команды"},
        {{"--no-execution", "--fault-frame", "2"}, execution + ": нет ответа от калибратора"},
        {{"--short-reply", "3", "--fault-frame", "4", "--fault-on", "receipt"},
         receipt + ": нет ответа от калибратора"},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.line);
        Start(fault.options);
        RecordingLog first(true), second(true);
        status.posts.clear();
        lastDivisor.reset();
        auto action = Action(first);
        EXPECT_FALSE(lnk::SendTestSignal(action));
        const auto texts = first.Texts();
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ(first.lines[texts.size() - 2], std::make_pair(LogType::Error, fault.line));
        EXPECT_EQ(texts.back(), kReleased);
        EXPECT_EQ(status.posts.back(), std::make_pair(lnk::WMDRAWSTATUS, 5));
        EXPECT_FALSE(lnk::TransferBusy().Busy());
        // The calibrator still answers the frame the program gave up on; a
        // user's next action comes later than that answer.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        auto again = Action(second);
        EXPECT_TRUE(lnk::SendTestSignal(again));
        sim.reset();
    }
}

// Two callers at once: one action runs, the other ends at once untouched.
TEST_F(CalibratorActions, OneActionAtATime) {
    Start({"--delay", "700", "--fault-frame", "1", "--fault-on", "execution"});
    RecordingLog logs[2];
    bool results[2]{};
    std::latch go(2);
    std::vector<std::thread> callers;
    for (int k = 0; k < 2; ++k)
        callers.emplace_back([&, k] {
            auto action = Action(logs[k]);
            go.arrive_and_wait();
            results[k] = lnk::SendTestSignal(action);
        });
    for (auto& t : callers) t.join();
    EXPECT_NE(results[0], results[1]);
    EXPECT_TRUE(logs[results[0] ? 1 : 0].lines.empty());
    EXPECT_EQ(FrameCodes(WaitFrames(8)), kFirstSend);

    // Reset all while a send runs does nothing.
    sim.reset();
    Start({"--delay", "700", "--fault-frame", "1", "--fault-on", "execution"});
    RecordingLog sending, resetting;
    std::thread sender([&] {
        auto action = Action(sending);
        EXPECT_TRUE(lnk::SendTestSignal(action));
    });
    while (!lnk::TransferBusy().Busy()) std::this_thread::yield();
    EXPECT_FALSE(lnk::ResetAll(Target(resetting)));
    EXPECT_TRUE(resetting.lines.empty());
    sender.join();
    EXPECT_TRUE(lnk::ResetAll(Target(resetting)));
    EXPECT_EQ(FrameCodes(WaitFrames(8)), (std::vector<int>{14, 10, 1, 2, 7, 14, 14, 15}));
}

}  // namespace
