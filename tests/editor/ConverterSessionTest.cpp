// The converter link of the signal window against the converter simulator:
// each operation opens its own connection, and the port is free afterwards.
#include <gtest/gtest.h>

#include <future>

#include "ConverterSimulator.h"
#include "DeviceAccess/ErrorTexts.h"
#include "ForeignHolder.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "editor/ConverterSession.h"
#include "editor/SignalDefaults.h"

namespace {

using namespace edit;
using talvo_test::ConverterSimulator;

std::vector<std::string> Texts(const std::vector<TConverterMessage>& messages) {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.Caption + "|" + m.Text);
    return texts;
}

class ConverterLink : public ::testing::Test {
protected:
    std::size_t Requests(const ConverterSimulator& sim) { return sim.Entries("request").size(); }
    talvo_test::TempSettings settings_;
    TConverterState state_;
};

TEST_F(ConverterLink, ConnectionReadsModuleGainAndTables) {
    ConverterSimulator sim({"--module", "517", "--gain", "0x1A0"});
    TConverterSession session(state_, sim.Name());
    int labelsShown = 0;
    ASSERT_TRUE(ConnectConverter(session, [&](const TConverterState& read) {
        ++labelsShown;
        EXPECT_EQ(read.ModuleNumber, 517);
        EXPECT_FALSE(read.CalibrationTablesLoaded());
    }));
    EXPECT_EQ(labelsShown, 1);
    EXPECT_TRUE(session.Released());
    EXPECT_EQ(Texts(session.Messages()), std::vector<std::string>{"Проверка связи!|Преобразователь подключен."});
    EXPECT_EQ(session.Messages().at(0).Icon, MessageIcon::Information);
    // The reset put the converter at index 1, whose code the read finds.
    EXPECT_EQ(state_.DeviceGainIndex, 1);
    EXPECT_TRUE(state_.CalibrationTablesLoaded());
    EXPECT_EQ(state_.CalibrationTable.Delta[0][1], 1);
    EXPECT_EQ(state_.CalibrationTable.Delta[1][44], -88);
    EXPECT_EQ(state_.CalibrationTable.Delta[2][44], 132);
    EXPECT_EQ(state_.CalibrationTable.Delta[0][0], 0);  // register 2 is not a correction
    const auto requests = sim.Entries("request");
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(requests[0]["hex"], "010800001234ED7C");
}

TEST_F(ConverterLink, DeviceFaultsGiveTheClientTextAndKeepTheState) {
    struct Case {
        std::vector<std::string> options;
        std::string text;
        std::size_t attempts;  // requests of one failed operation
    };
    const Case cases[] = {{{"--bad-crc"}, "CRC не совпало", 1},
                          {{"--exception", "2"}, "Некорректный адрес параметра.", 1},
                          {{"--silent-from", "1"}, "Нет ответа от устройства", 2}};
    for (const auto& c : cases) {
        ConverterSimulator sim(c.options, "COM" + std::to_string(c.attempts + c.text.size()));
        state_.ModuleNumber = 9;
        state_.DeviceGainIndex = 7;
        TConverterSession session(state_, sim.Name());
        EXPECT_FALSE(session.TestConnectionConverterIU(false)) << c.text;
        EXPECT_TRUE(session.Messages().empty()) << "the silent test shows nothing";
        EXPECT_FALSE(session.ReadConverterIUData());
        EXPECT_TRUE(session.Released());
        EXPECT_EQ(Texts(session.Messages()), std::vector<std::string>{"Ошибка!|" + c.text});
        EXPECT_EQ(state_.ModuleNumber, 9);
        EXPECT_EQ(state_.DeviceGainIndex, 7);
        EXPECT_FALSE(ConnectConverter(session));
        EXPECT_EQ(sim.WaitEntries("request", 3 * c.attempts).size(), 3 * c.attempts) << "no step after a failed test";
    }
}

TEST_F(ConverterLink, AFailedCalibrationBlockStopsTheRead) {
    // Request 1 reads module and gain, 2 ... 4 the blocks; the second block fails.
    ConverterSimulator sim({"--exception", "4", "--fault-request", "3"});
    TConverterSession session(state_, sim.Name());
    EXPECT_FALSE(session.ReadConverterIUAllData(false));
    EXPECT_TRUE(session.Released());
    EXPECT_FALSE(state_.CalibrationTablesLoaded());
    EXPECT_EQ(state_.CalibrationTable.Delta[0][44], 44) << "blocks before the failure keep their values";
    EXPECT_EQ(state_.CalibrationTable.Delta[2][44], 0);
    EXPECT_EQ(Requests(sim), 3u);
    EXPECT_TRUE(session.Messages().empty());
}

TEST_F(ConverterLink, AConverterVanishingDuringABlockReadFailsTheRead) {
    ConverterSimulator sim({"--silent-from", "2"});
    TConverterSession session(state_, sim.Name());
    auto read = std::async(std::launch::async, [&] { return session.ReadConverterIUFazaCalibrationCoeff(); });
    ASSERT_EQ(sim.WaitEntries("request", 2).size(), 2u);
    sim.Stop();  // the second block's request is unanswered when the terminal goes away
    ASSERT_EQ(read.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(read.get());
    EXPECT_TRUE(session.Released());
    EXPECT_FALSE(state_.CalibrationTablesLoaded());
    EXPECT_EQ(state_.CalibrationTable.Delta[0][44], 44);
    EXPECT_EQ(state_.CalibrationTable.Delta[1][44], 0);

    ConverterSimulator again({}, "COM9");
    TConverterSession next(state_, again.Name());
    EXPECT_TRUE(next.ReadConverterIUAllData(false)) << "a new device on another port is read as usual";
}

TEST_F(ConverterLink, AnUnknownGainCodeLeavesTheIndex) {
    ConverterSimulator sim({"--gain", "0x0004", "--module", "65535"});
    state_.DeviceGainIndex = 12;
    TConverterSession session(state_, sim.Name());
    ASSERT_TRUE(session.ReadConverterIUData());
    EXPECT_EQ(state_.DeviceGainIndex, 12);
    EXPECT_EQ(state_.ModuleNumber, 65535);
    ASSERT_TRUE(session.ResetConverterIU());
    EXPECT_EQ(state_.DeviceGainIndex, 1) << "a reset sets index 1 without a read";
    EXPECT_EQ(Requests(sim), 2u);
}

TEST_F(ConverterLink, MissingAndBusyPortsAreReportedEvenWhenSilent) {
    TConverterSession absent(state_, "COM250");
    EXPECT_FALSE(absent.TestConnectionConverterIU(false));
    EXPECT_TRUE(absent.Released());
    EXPECT_EQ(Texts(absent.Messages()), std::vector<std::string>{"Ошибка!|Com-порт не найден."});

    ConverterSimulator sim;
    talvo_test::ForeignHolder holder(sim.SlavePath());
    ASSERT_TRUE(holder.Holding());
    TConverterSession busy(state_, sim.Name());
    EXPECT_FALSE(busy.ResetConverterIU());
    EXPECT_EQ(Texts(busy.Messages()), std::vector<std::string>{"Ошибка!|" + da::LcaErrorText(da::err::kPortBusy)});
    EXPECT_EQ(state_.DeviceGainIndex, 0);
}

TEST_F(ConverterLink, GainWriteResetsAndReadsFirstWithoutTables) {
    ConverterSimulator sim({"--gain", "0x50"});
    state_.CalculatedGainIndex = 38;
    TConverterSession session(state_, sim.Name());
    ASSERT_TRUE(session.WriteCalibrationCoeffToConverterIU());
    EXPECT_EQ(state_.DeviceGainIndex, 38);
    const auto requests = sim.Entries("request");
    ASSERT_EQ(requests.size(), 3u);  // reset, module and gain, gain write
    EXPECT_EQ(requests[0]["hex"].get<std::string>().substr(0, 12), "010680000000");
    EXPECT_EQ(requests[2]["hex"].get<std::string>().substr(0, 12), "0106800101A0");

    // With the tables loaded only the write goes out; index 0 has no code and writes nothing.
    state_.CalibrationTable.Read = true;
    state_.CalculatedGainIndex = 0;
    EXPECT_FALSE(session.WriteCalibrationCoeffToConverterIU());
    EXPECT_EQ(state_.DeviceGainIndex, 38);
    state_.CalculatedGainIndex = 1;
    ASSERT_TRUE(session.WriteCalibrationCoeffToConverterIU());
    EXPECT_EQ(Requests(sim), 4u);
    EXPECT_TRUE(session.Released());
}

TEST_F(ConverterLink, SendStepsWithASilentAndAFailingConverter) {
    {
        ConverterSimulator sim({"--silent-from", "1"});
        TConverterSession session(state_, sim.Name());
        const auto prep = PrepareConverterSend(session);
        EXPECT_FALSE(prep.ConverterAnswered);
        EXPECT_TRUE(prep.MaySend()) << "a silent converter lets the signal go unchanged";
        EXPECT_FALSE(FinishConverterSend(session, prep, true));
        EXPECT_TRUE(session.Messages().empty());
        EXPECT_EQ(sim.WaitEntries("request", 2).size(), 2u) << "the test's two attempts only";
    }
    {
        // Test, reset, read, three blocks, then the gain write fails.
        ConverterSimulator sim({"--exception", "4", "--fault-request", "7"}, "COM8");
        TConverterSession session(state_, sim.Name());
        const auto prep = PrepareConverterSend(session);
        ASSERT_TRUE(prep.ResetDone && prep.MaySend());
        EXPECT_TRUE(state_.CalibrationTablesLoaded());
        state_.CalculatedGainIndex = 38;
        EXPECT_FALSE(FinishConverterSend(session, prep, false)) << "nothing is written when the send failed";
        EXPECT_EQ(Requests(sim), 6u);
        EXPECT_FALSE(FinishConverterSend(session, prep, true));
        EXPECT_EQ(state_.DeviceGainIndex, 1);
        const auto texts = Texts(session.Messages());
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[1], "Ошибка!!!|Не записан коэффициент преобразователя!");
        EXPECT_TRUE(session.Released());
    }
}

TEST_F(ConverterLink, AFailedReadBeforeTheSendStopsIt) {
    // Test, reset, then the module read fails.
    ConverterSimulator sim({"--exception", "4", "--fault-request", "3"});
    TConverterSession session(state_, sim.Name());
    const auto prep = PrepareConverterSend(session);
    EXPECT_TRUE(prep.ConverterAnswered && prep.ResetDone);
    EXPECT_FALSE(prep.MaySend());
    EXPECT_FALSE(FinishConverterSend(session, prep, false));
    EXPECT_EQ(Requests(sim), 3u);
}

TEST(ConverterTexts, CoefficientLabels) {
    TConverterState state;
    auto t = ShowKoeffPreobrTexts(state);
    EXPECT_EQ(t.Device, "");
    EXPECT_EQ(t.Calculated, "");
    EXPECT_EQ(t.Manual, "Коэффициент [1] = 0.125");
    EXPECT_EQ(GainText(12, true), "Коэффициент [12] = 0.171875 (Kpga = 0.125; K1pga = 1.375; Kina = 1)");
    state.ManualGainIndex = 38;
    state.DeviceGainIndex = 45;
    t = ShowKoeffPreobrTexts(state);
    EXPECT_EQ(t.Device, "");
    ASSERT_TRUE(t.ManualFactors);
    EXPECT_EQ(FactorText(t.ManualFactors->Kpga), "2");
    EXPECT_EQ(FactorText(t.ManualFactors->K1pga), "1.375");
    EXPECT_EQ(FactorText(t.ManualFactors->Kina), "6");
    EXPECT_EQ(AnalizeErrText(2), "Превышение амплитуды по фазе B!");
    EXPECT_FALSE(AnalizeErrText(0));
}

TEST(ConverterTexts, OutputValuesFollowTheUnitAndTheMode) {
    talvo_test::RecordingLog log;
    sig::TSignalSet s = DefaultSignal({0, {}, log});
    TConverterState state;
    state.Volts = true;
    EXPECT_EQ(ConverterValueText(state, 12.5L), "0.0125");
    auto e = TakeConverterOutput(state, s, 1, "0.5");
    EXPECT_TRUE(e.Accepted && e.Calculate);
    EXPECT_EQ(s.Converter.UB, 500);
    EXPECT_EQ(s.Converter.DeltaUB, 500 * 100 / 12.5L - 100);
    EXPECT_EQ(TakeConverterOutput(state, s, 0, "-1").Message, "Выход за границы диапазона! Повторите ввод.");
    EXPECT_EQ(TakeConverterOutput(state, s, 0, "x").Message, "Ошибка при вводе значения! Повторите ввод!");
    EXPECT_FALSE(TakeConverterInput(state, s, 0, "7").Calculate) << "inputs are the calculation's in automatic mode";
    state.Automatic = false;
    e = TakeConverterOutput(state, s, 0, "7");
    EXPECT_TRUE(e.Accepted && !e.Calculate);
    EXPECT_EQ(s.Converter.UA, 12.5L);
    EXPECT_TRUE(TakeConverterInput(state, s, 2, "123").Calculate) << "no range check on the input currents";
    EXPECT_EQ(s.Current.IC, 123);
    EXPECT_EQ(CalculationFor(ConverterEvent::GainBoxChanged, state), ConverterCalculation::None);
}

TEST(ConverterTexts, DefaultSignalWithZeroCorrectionsSelectsIndexOne) {
    talvo_test::RecordingLog log;
    sig::TSignalSet s = DefaultSignal({0, {}, log});
    TConverterState state;
    state.CalibrationTable.Read = true;
    EXPECT_EQ(CalcConverter(state, s, true), 0);
    EXPECT_EQ(state.CalculatedGainIndex, 1);
    EXPECT_EQ(state.ManualGainIndex, 1);
    EXPECT_EQ(ShowKoeffPreobrTexts(state).Calculated, "Коэффициент [1] = 0.125 (Kpga = 0.125; K1pga = 1; Kina = 1)");
    EXPECT_NEAR(static_cast<double>(s.Current.IA), 5.0, 1e-9);
    s.Converter.UA = 12000.01L;
    EXPECT_EQ(AnalizeErrText(CalcConverter(state, s, true)), "Превышение амплитуды по фазе A!");
}

// In manual mode a harmonic entry still runs the automatic calculation: the
// manual gain gives way to the automatic selection and the input currents
// follow from the output voltages.
TEST(ConverterTexts, AHarmonicInManualModeReplacesTheManualGain) {
    talvo_test::RecordingLog log;
    sig::TSignalSet s = DefaultSignal({0, {}, log});
    TConverterState state;
    state.CalibrationTable.Read = true;
    state.Automatic = false;
    state.ManualGainIndex = 38;
    s.Current.IA = 0.5L;
    const ConverterCalculation which = CalculationFor(ConverterEvent::HarmonicEdited, state);
    ASSERT_EQ(which, ConverterCalculation::Automatic);
    s.Current.Garmonik.a.Koef[3] = 10;
    EXPECT_EQ(CalcConverter(state, s, true), 0);
    EXPECT_EQ(state.ManualGainIndex, 1);
    EXPECT_NEAR(static_cast<double>(s.Current.IA), 5.0, 0.01);
    EXPECT_EQ(s.Converter.Garmonik.a.Koef[3], 10);
}

}  // namespace
