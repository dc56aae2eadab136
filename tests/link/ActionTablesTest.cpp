#include <gtest/gtest.h>

#include <algorithm>

#include "CalibratorSimulator.h"
#include "CommonUtils/Md5.h"
#include "RecordingLog.h"
#include "TempFolder.h"
#include "link/ActionTables.h"
#include "link/CommandSequences.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"
#include "signal/SampleClock.h"

namespace {

using nlohmann::json;
using talvo_test::RecordingLog;

const lnk::TSignalLibrary& BuiltLibrary() {
    static const lnk::TSignalLibrary library =
        lnk::LoadSignalLibrary(std::string(TALVO_BIN_DIR) + "/", lnk::RecordedLibraryDigest());
    return library;
}

// 220 V and 5 A lagging by 30 degrees, 5 % fifth harmonic, a 40 % dip of phase A.
std::unique_ptr<sig::TSignalSet> Signal() {
    auto s = std::make_unique<sig::TSignalSet>();
    sig::TSignalParamsU& v = s->Voltage;
    v.Nominal = v.NominalFaza = 220;
    v.NominalLine = 380;
    v.FreqNominal = v.Freq = 50;
    v.UA = v.UB = v.UC = 220;
    v.ShiftB = -120;
    v.ShiftC = 120;
    v.Garmonik.SetKoef(sig::TGarmonikPart::a, 5, 5);
    s->Current.Nominal = 5;
    s->Current.IA = s->Current.IB = s->Current.IC = 5;
    s->Current.PhiUIA = s->Current.PhiUIB = s->Current.PhiUIC = 30;
    s->Grid = {1, sig::SampleRate(1), 3419, 3419};
    s->Collapses.Duration = 0.1L;
    s->Collapses.Period = 0.5L;
    s->Collapses.Count = 3;
    s->Collapses.Faza[sig::fzA].DepthPercent = 40;
    sig::TKolebParamsHelpTable flicker;
    flicker.LoadDefaults(sig::fsGost2012);
    sig::Recalculate(*s, flicker);
    return s;
}

// The codes the calibrator decoded from a table frame equal the table built.
void ExpectPlayed(const json& frame, const std::vector<std::uint8_t>& table) {
    const std::size_t samples = table.size() / cmn::kSampleSize;
    ASSERT_EQ(frame["samples"], samples);
    for (std::size_t i = 0; i < samples; ++i) {
        const cmn::SampleCodes codes = cmn::UnpackSample(&table[i * cmn::kSampleSize]);
        ASSERT_EQ(frame["a"][i], codes.a) << i;
        ASSERT_EQ(frame["b"][i], codes.b) << i;
        ASSERT_EQ(frame["c"][i], codes.c) << i;
    }
}

class ActionTables : public ::testing::Test {
protected:
    lnk::TSignalAction Action() {
        return {{"COM1", 115200, log, nullptr}, *signal, tables, sig::dmTalvoM, lastDivisor, &BuiltLibrary()};
    }

    talvo_test::TempSettings settings;
    talvo_test::CalibratorSimulator sim{"COM1"};
    std::unique_ptr<sig::TSignalSet> signal = Signal();
    lnk::TTableSettings tableSettings{sig::dmTalvoM, {}};
    lnk::TProgramTables tables{tableSettings};
    std::optional<std::uint16_t> lastDivisor;
    RecordingLog log;
};

TEST_F(ActionTables, TheSignalsTablesReachTheCalibrator) {
    auto action = Action();
    ASSERT_TRUE(lnk::SendTestSignal(action));
    const auto frames = sim.WaitFrames(8);
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[3]["first"], 3);  // 220 V, 5 A
    ExpectPlayed(frames[4], lnk::BuildVoltageTable(*signal, tableSettings).Bytes);
    ExpectPlayed(frames[5], lnk::BuildCurrentTable(*signal, tableSettings).Bytes);
    EXPECT_TRUE(log.questions.empty());
}

TEST_F(ActionTables, DipsPlayTheirOwnTableAndTiming) {
    auto action = Action();
    ASSERT_TRUE(lnk::SendCollapses(action));
    const auto frames = sim.WaitFrames(10);  // the test signal's eight, the dips table and the block
    ASSERT_EQ(frames.size(), 10u);
    const json& block = frames.back();
    EXPECT_EQ(block["code"], 13);
    EXPECT_EQ(block["first"], 3);
    const cmn::TimingBlock timing = lnk::DipsTimingBlock(*signal, 0);
    EXPECT_EQ(block["block"], cmn::HexUpper(timing.data(), timing.size()));
    const json& dipsTable = frames[frames.size() - 2];
    EXPECT_EQ(dipsTable["code"], 1);
    ExpectPlayed(dipsTable, lnk::BuildDipsTable(*signal, tableSettings).Bytes);
}

// A clipped table is sent clipped without a user: the notice is logged.
TEST_F(ActionTables, ClippedTablesAreToldAndSent) {
    signal->Voltage.UA = 1000;
    auto action = Action();
    ASSERT_TRUE(lnk::SendTestSignal(action));
    const auto frames = sim.WaitFrames(8);
    ASSERT_EQ(frames.size(), 8u);
    const lnk::TSampleTable table = lnk::BuildVoltageTable(*signal, tableSettings);
    EXPECT_TRUE(table.OutOfRange[0]);
    ExpectPlayed(frames[4], table.Bytes);
    const std::string notice = lnk::AmplitudeMessage(lnk::TTableKind::Voltage, table.OutOfRange);
    EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), std::make_pair(cmn::LogType::Notice, notice)),
              log.lines.end());
}

}  // namespace
