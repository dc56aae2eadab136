// The check of a signal end to end: the program's own action sends to a
// stand-in calibrator, the bytes are played back and measured, and every
// quantity the program computes must lie within its tolerance; tables
// altered on purpose must be caught and named.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "CalibratorSimulator.h"
#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/TalvoError.h"
#include "TempFolder.h"
#include "TestSignals.h"
#include "files/IniFile.h"
#include "files/SignalFile.h"
#include "link/ActionTables.h"
#include "link/CommandSequences.h"
#include "link/LibraryBinding.h"
#include "measure/Verify.h"
#include "measure/engine/SentBytes.h"
#include "signal/Flicker.h"
#include "signal/Frequency.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"

namespace {

class TQuietLog final : public cmn::IProtocolLog {
public:
    void Log(cmn::LogType, const std::string&) override {}
    bool Interactive() const override { return false; }
    bool Ask(const std::string&, cmn::MessageKind, cmn::Buttons) override { return false; }
};

const lnk::TSignalLibrary& Library() {
    static const lnk::TSignalLibrary library =
        lnk::LoadSignalLibrary(std::string(TALVO_BIN_DIR) + "/", lnk::RecordedLibraryDigest());
    return library;
}

const sig::TKolebParamsHelpTable& FlickerTable() {
    static const sig::TKolebParamsHelpTable table = [] {
        sig::TKolebParamsHelpTable t;
        t.LoadDefaults(sig::fsGost99);
        return t;
    }();
    return table;
}

sig::TSignalSet Load(const std::string& name) {
    sig::TSignalSet s;
    files::TSignalFileExtras extras;
    TQuietLog log;
    const files::TSignalLoadTarget target{s, extras, log, FlickerTable(), 0, true};
    EXPECT_TRUE(files::LoadSignalFile(files::sfAll, files::IniFile(std::string(TALVO_EXAMPLES_DIR) + "/" + name), false,
                                      target));
    sig::Recalculate(s, FlickerTable());
    return s;
}

msr::TVerifyOptions Options(msr::TVerifyAction action, int modification) {
    msr::TVerifyOptions o;
    o.Capture.Action = action;
    o.Capture.Modification = modification;
    o.Capture.Library = &Library();
    return o;
}

std::string Failed(const msr::TVerifyReport& r) {
    std::string text;
    for (const auto& row : r.Rows)
        if (!row.Pass)
            text += row.Quantity + ": задано " + std::to_string(row.Set) + ", измерено " +
                    std::to_string(row.Measured) + ", допуск " + std::to_string(row.Tolerance) + " (" + row.Rule +
                    ")\n";
    return text;
}

bool Has(const msr::TVerifyReport& r, const std::string& start) {
    return std::any_of(r.Rows.begin(), r.Rows.end(),
                       [&](const msr::TCompareRow& row) { return row.Quantity.rfind(start, 0) == 0; });
}

bool FailsOn(const msr::TVerifyReport& r, const std::string& start) {
    return std::any_of(r.Rows.begin(), r.Rows.end(),
                       [&](const msr::TCompareRow& row) { return !row.Pass && row.Quantity.rfind(start, 0) == 0; });
}

// ---------------------------------------------------------------- the examples

TEST(VerifyExamples, TestSignalsOfBothModificationsAreWithinTolerance) {
    for (const char* file : {"balanced-nominal.usa", "harmonics-dips-flicker.usa"})
        for (int modification : {0, 1}) {
            const sig::TSignalSet s = Load(file);
            const auto r = msr::VerifySignal(s, Options(msr::TVerifyAction::Sinus, modification));
            EXPECT_TRUE(r.Passed()) << file << " " << modification << "\n" << Failed(r);
            EXPECT_TRUE(Has(r, "UA основной частоты"));
            EXPECT_TRUE(Has(r, "P фазы A полная"));
            EXPECT_TRUE(Has(r, "K2U"));
            EXPECT_GT(r.Rows.size(), 60u);
        }
}

TEST(VerifyExamples, DipsOfTheExampleAreMeasuredAsPlayed) {
    const sig::TSignalSet s = Load("harmonics-dips-flicker.usa");
    const auto r = msr::VerifySignal(s, Options(msr::TVerifyAction::ColOver, 1));
    EXPECT_TRUE(Has(r, "Провал A: остаточное напряжение"));
    EXPECT_TRUE(Has(r, "Провал A: длительность"));
    EXPECT_TRUE(Has(r, "Провал A: количество"));
    ASSERT_EQ(r.HalfCycleRms.size(), 6u);
    EXPECT_TRUE(r.Passed()) << Failed(r);
    // The dips table scales the phase's fundamental to the residual voltage
    // and its harmonics (5, 4 and 3 %) with it, so the dipped phase plays
    // the residual voltage times √(1 + 0.05² + 0.04² + 0.03²) as its RMS
    // value: within class A, and shown as it is.
    const auto residual = std::find_if(r.Rows.begin(), r.Rows.end(), [](const msr::TCompareRow& row) {
        return row.Quantity == "Провал A: остаточное напряжение";
    });
    ASSERT_NE(residual, r.Rows.end());
    EXPECT_NEAR(residual->Measured, 154 * std::sqrt(1 + 0.0025 + 0.0016 + 0.0009), 0.02);
}

TEST(VerifyExamples, FlickerOfTheExampleIsMeasuredOverTenMinutes) {
    const sig::TSignalSet s = Load("harmonics-dips-flicker.usa");
    const auto r = msr::VerifySignal(s, Options(msr::TVerifyAction::Koleb, 1));
    EXPECT_TRUE(r.Passed()) << Failed(r);
    EXPECT_TRUE(Has(r, "Pst A"));
    EXPECT_TRUE(Has(r, "Размах колебаний AB"));
    EXPECT_EQ(r.Pinst.size(), 6u);
    EXPECT_TRUE(r.Notes.empty());
}

TEST(VerifyExamples, ChangesPerMinuteOfTheDoseTableGiveOneThroughTheSend) {
    // 7 changes a minute of 1.46 %: a dose of 1 by the table, without its √2.
    sig::TSignalSet s = Load("harmonics-dips-flicker.usa");
    s.Koleb.Freq = 7.0L / 120;
    s.Koleb.Swing = {1.46L, 1.46L, 1.46L};
    sig::Recalculate(s, FlickerTable());
    ASSERT_NEAR(static_cast<double>(s.Koleb.Pst[0]), 1.0, 1e-6);
    const auto r = msr::VerifySignal(s, Options(msr::TVerifyAction::Koleb, 1));
    EXPECT_TRUE(r.Passed()) << Failed(r);
    for (const auto& row : r.Rows) {
        if (row.Quantity.rfind("Pst", 0) == 0) {
            EXPECT_NEAR(row.Measured, 1.0, 0.05) << row.Quantity;
        }
    }
}

TEST(VerifyExamples, AShorterFlickerObservationIsLabelled) {
    const sig::TSignalSet s = Load("harmonics-dips-flicker.usa");
    auto o = Options(msr::TVerifyAction::Koleb, 1);
    o.FlickerSeconds = 60;
    const auto r = msr::VerifySignal(s, o);
    EXPECT_TRUE(Has(r, "Pst A (наблюдение 60 с)"));
    ASSERT_FALSE(r.Notes.empty());
}

TEST(VerifyExamples, EveryHarmonicAndInterharmonicIsWithinTolerance) {
    sig::TSignalSet s = Load("balanced-nominal.usa");
    talvo_test::AddRichSpectrum(s);
    s.Switches.IncludeInterGarm = true;
    sig::Recalculate(s, FlickerTable());
    for (int modification : {0, 1}) {
        const auto r = msr::VerifySignal(s, Options(msr::TVerifyAction::Sinus, modification));
        EXPECT_TRUE(r.Passed()) << modification << "\n" << Failed(r);
        EXPECT_TRUE(Has(r, "KUA(50)"));
        EXPECT_TRUE(Has(r, "Угол UC(49,5)"));
        EXPECT_TRUE(Has(r, "KIB(37)"));
        EXPECT_TRUE(Has(r, "KUAB(12)"));
        EXPECT_EQ(r.Harmonics.size(), 9u);
    }
}

TEST(VerifyExamples, ThePlayedWaveformLiesOnTheIdealOne) {
    const sig::TSignalSet s = Load("harmonics-dips-flicker.usa");
    const auto r = msr::VerifySignal(s, Options(msr::TVerifyAction::Sinus, 1));
    ASSERT_TRUE(r.Playback);
    for (int channel : {msr::chUB, msr::chIC}) {
        const auto pair = msr::PlayedAndIdeal(*r.Playback, s, channel, 0.013, 0.04);
        ASSERT_EQ(pair.Played.size(), pair.Ideal.size());
        EXPECT_NEAR(static_cast<double>(pair.Played.size()) * pair.Step, 0.04, 2 * pair.Step);
        double worst = 0, peak = 0;
        for (std::size_t i = 0; i < pair.Played.size(); ++i) {
            worst = std::max(worst, std::abs(pair.Played[i] - pair.Ideal[i]));
            peak = std::max(peak, std::abs(pair.Ideal[i]));
        }
        EXPECT_LE(worst, r.Playback->CodeStep(channel)) << channel;
        EXPECT_GT(peak, channel == msr::chUB ? 300.0 : 7.0) << channel;
    }
}

// The example at another frequency, realised on the grid with the correction's kf.
sig::TSignalSet AtFrequency(sig::real nominal, sig::real f, sig::real kf,
                            const std::string& file = "harmonics-dips-flicker.usa") {
    sig::TSignalSet s = Load(file);
    TQuietLog log;
    s.Voltage.FreqNominal = nominal;
    EXPECT_TRUE(sig::SetSignalFrequency(f, kf, s.Grid, sig::DeriveFrequencyBounds(kf), false, true, log, s.Voltage));
    sig::TRecalcOptions options;
    options.FreqCorrection = kf;
    sig::Recalculate(s, FlickerTable(), options);
    return s;
}

TEST(VerifyExamples, OtherFrequenciesAndACorrectedCalibratorAreWithinTolerance) {
    struct TCase {
        sig::real nominal, f, kf;
        int gainSlot;  // a voltage or current correction, %
        sig::real gain;
    };
    for (const TCase& c : {TCase{60, 60, 0, 0, 0}, TCase{50, 45, 0, 0, 0}, TCase{50, 55, 0, 0, 0},
                           TCase{50, 50, 0.5L, 1, 1.5L}, TCase{60, 59.5L, -0.3L, 10, -2}}) {
        const sig::TSignalSet s = AtFrequency(c.nominal, c.f, c.kf);
        auto o = Options(msr::TVerifyAction::Sinus, 1);
        o.Capture.Correction[12] = c.kf;
        o.Capture.Correction[static_cast<std::size_t>(c.gainSlot)] = c.gain;
        const auto r = msr::VerifySignal(s, o);
        EXPECT_TRUE(r.Passed()) << static_cast<double>(c.f) << " Hz\n" << Failed(r);
        ASSERT_FALSE(r.Rows.empty());
        EXPECT_NEAR(r.Rows[0].Measured, static_cast<double>(c.f), 0.05);
    }
}

TEST(VerifyExamples, ATableMadeForAnotherCorrectionShowsAsADeviation) {
    // Tables built for a 1 % gain of phase B on the 57.7 V range, played by a
    // calibrator without it.
    const sig::TSignalSet s = Load("balanced-nominal.usa");
    auto o = Options(msr::TVerifyAction::Sinus, 1);
    o.Capture.Correction[4] = 1.0;
    const auto bytes = msr::CaptureAction(s, o.Capture);
    o.Capture.Correction[4] = 0;
    const auto r = msr::CompareBytes(s, bytes, o);
    EXPECT_TRUE(FailsOn(r, "UB основной частоты"));
    EXPECT_FALSE(FailsOn(r, "UA основной частоты"));
    EXPECT_FALSE(FailsOn(r, "Частота"));
}

TEST(VerifyExamples, AnglesAtTheFoldAreComparedAcrossIt) {
    // A phase at 180° folds to −180°; a measured 179.9999° lies next to it.
    sig::TSignalSet s = Load("balanced-nominal.usa");
    s.Voltage.ShiftC = 180;
    s.Current.PhiUIC = -180;
    sig::Recalculate(s, FlickerTable());
    const auto r = msr::VerifySignal(s, Options(msr::TVerifyAction::Sinus, 1));
    EXPECT_TRUE(r.Passed()) << Failed(r);
    EXPECT_TRUE(Has(r, "Угол UC основной частоты"));
}

TEST(VerifyExamples, EveryComponentAtSixtyAndFortyFiveHertz) {
    // Twelve periods on 60 Hz put the orders m + 0.5 on bins of their own as
    // ten do on 50 Hz; 45 Hz plays on the slowest clock, halved again for
    // the two-period table.
    for (const sig::real f : {60.0L, 45.0L}) {
        sig::TSignalSet s = AtFrequency(f > 55 ? 60 : 50, f, 0, "balanced-nominal.usa");
        talvo_test::AddRichSpectrum(s);
        s.Switches.IncludeInterGarm = true;
        sig::Recalculate(s, FlickerTable());
        const auto r = msr::VerifySignal(s, Options(msr::TVerifyAction::Sinus, 1));
        EXPECT_TRUE(r.Passed()) << static_cast<double>(f) << " Hz\n" << Failed(r);
        EXPECT_TRUE(Has(r, "Угол UB(12,5)"));
        EXPECT_EQ(r.Playback->CyclesPerTable(), 2);
    }
}

// ---------------------------------------------------------------- altered tables

// The bytes of the first voltage table of an action's bytes.
std::pair<std::size_t, std::size_t> FirstVoltageTable(const std::vector<std::uint8_t>& bytes) {
    std::size_t at = 0;
    for (const auto& c : msr::SplitSentBytes(bytes)) {
        at += cmn::kFrameSize;
        if (c.Code == 1) return {at, c.Block.size()};
        at += c.Block.size();
    }
    return {0, 0};
}

TEST(VerifyAltered, OneCodeRaisedByAThousandIsCaughtAndNamed) {
    const sig::TSignalSet s = Load("balanced-nominal.usa");
    const auto options = Options(msr::TVerifyAction::Sinus, 1);
    auto bytes = msr::CaptureAction(s, options.Capture);
    ASSERT_TRUE(msr::CompareBytes(s, bytes, options).Passed());
    const auto [at, length] = FirstVoltageTable(bytes);
    ASSERT_GT(length, 800u);
    std::uint8_t* sample = bytes.data() + at + 100 * cmn::kSampleSize;
    const auto codes = cmn::UnpackSample(sample);
    cmn::PackSample(codes.a, static_cast<std::uint16_t>(codes.b + 1000), codes.c, sample);
    const auto r = msr::CompareBytes(s, bytes, options);
    EXPECT_FALSE(r.Passed());
    EXPECT_TRUE(FailsOn(r, "Мгновенные значения UB: наибольшее отклонение (отсчёт 100)")) << Failed(r);
    EXPECT_FALSE(FailsOn(r, "Мгновенные значения UA"));
    EXPECT_FALSE(FailsOn(r, "Мгновенные значения UC"));
}

TEST(VerifyAltered, SwappedPhasesAreCaughtAndNamed) {
    const sig::TSignalSet s = Load("balanced-nominal.usa");
    const auto options = Options(msr::TVerifyAction::Sinus, 1);
    auto bytes = msr::CaptureAction(s, options.Capture);
    const auto [at, length] = FirstVoltageTable(bytes);
    for (std::size_t i = 0; i < length / cmn::kSampleSize; ++i) {
        std::uint8_t* sample = bytes.data() + at + i * cmn::kSampleSize;
        const auto codes = cmn::UnpackSample(sample);
        cmn::PackSample(codes.a, codes.c, codes.b, sample);
    }
    const auto r = msr::CompareBytes(s, bytes, options);
    EXPECT_FALSE(r.Passed());
    EXPECT_TRUE(FailsOn(r, "Угол UB основной частоты")) << Failed(r);
    EXPECT_TRUE(FailsOn(r, "Угол UC основной частоты"));
    EXPECT_TRUE(FailsOn(r, "K2U"));
    EXPECT_TRUE(FailsOn(r, "φUI фазы B"));
    EXPECT_FALSE(FailsOn(r, "UA основной частоты"));
}

TEST(VerifyAltered, ACancelledCheckEndsWithItsMessage) {
    const sig::TSignalSet s = Load("balanced-nominal.usa");
    std::atomic<bool> cancel{true};
    msr::TVerifyControl control;
    control.Cancel = &cancel;
    try {
        msr::VerifySignal(s, Options(msr::TVerifyAction::Sinus, 1), control);
        FAIL() << "no error";
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Проверка сигнала прервана");
    }
}

// ---------------------------------------------------------------- the simulator measures too

// The simulator's measurement once it names `frames` frames (it is written
// on a thread of its own after the commands that change what plays).
nlohmann::json WaitMeasurement(const std::string& path, std::size_t frames) {
    for (int i = 0; i < 600; ++i) {
        std::ifstream in(path);
        if (in) {
            const auto j = nlohmann::json::parse(in, nullptr, false);
            if (!j.is_discarded() && j.value("frames", 0u) >= frames) return j;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

TEST(VerifySimulator, TheSimulatorMeasuresWhatItReceived) {
    talvo_test::TempSettings settings;
    talvo_test::TempFolder folder;
    const std::string path = folder / "measured.json";
    talvo_test::CalibratorSimulator sim("COM1", {"--measure", path});
    sig::TSignalSet s = Load("harmonics-dips-flicker.usa");
    TQuietLog log;
    lnk::TProgramTables tables({sig::dmTalvoM, {}});
    std::optional<std::uint16_t> lastDivisor;
    lnk::TSignalAction action{{"COM1", 115200, log, nullptr}, s, tables, sig::dmTalvoM, lastDivisor, &Library()};
    ASSERT_TRUE(lnk::SendCollapses(action));
    // 14, 15, 12, 10, 1, 2, 7, 14, 1, 13.
    const auto j = WaitMeasurement(path, 10);
    ASSERT_TRUE(j.contains("channels")) << j.dump();
    EXPECT_NEAR(j["clock_frequency"].get<double>(), static_cast<double>(s.Voltage.Freq), 1e-6);
    EXPECT_NEAR(j["channels"]["UA"]["rms"].get<double>(), static_cast<double>(s.Voltage.URmsA), 0.022);
    EXPECT_NEAR(j["channels"]["IB"]["fundamental"].get<double>(), 5.0, 0.005);
    EXPECT_NEAR(j["channels"]["UA"]["harmonics_percent_2_50"][1].get<double>(), 5.0, 0.01);  // order 3
    const auto& dips = j["events"]["UA"]["events"];
    ASSERT_EQ(dips.size(), 5u) << j["events"].dump();
    EXPECT_NEAR(dips[0]["residual"].get<double>(), 154 * 1.0025, 0.44);
    EXPECT_NEAR(dips[0]["duration"].get<double>(), static_cast<double>(s.Collapses.Duration), 0.02);
    EXPECT_TRUE(j["events"]["UB"]["events"].empty());
    EXPECT_EQ(sim.Stop(), 0);
}

}  // namespace
