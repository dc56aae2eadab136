// The example signal files shipped in examples/ are what the program writes
// for two signals built here; they must also read back as those signals.
// TALVO_WRITE_EXAMPLES=1 writes them anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "CommonUtils/ProtocolLog.h"
#include "FileBytes.h"
#include "RecordingLog.h"
#include "TestSignals.h"
#include "files/AtomicFile.h"
#include "files/SignalFile.h"
#include "signal/Frequency.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"

#ifndef TALVO_EXAMPLES_DIR
#error "TALVO_EXAMPLES_DIR must name the examples folder"
#endif

namespace {

using sig::real;

void Realise(sig::TSignalSet& s, real frequency) {
    talvo_test::RecordingLog log(false, false);
    ASSERT_TRUE(
        sig::SetSignalFrequency(frequency, 0, s.Grid, sig::DeriveFrequencyBounds(0), false, true, log, s.Voltage));
}

// 57.735 V phase (100 V line) and 5 A at cos phi = 1, 50 Hz.
sig::TSignalSet BalancedNominal() {
    sig::TSignalSet s = *talvo_test::BalancedSignal();
    Realise(s, 50);
    return s;
}

// 220 V / 5 A at 30 degrees with harmonics 3, 5, 7, interharmonics 2.5 and
// 7.5 switched off, a 30 % dip of phase A five times, and fluctuations at 8.8 Hz.
sig::TSignalSet DistortedWithEvents() {
    sig::TSignalSet s;
    sig::TSignalParamsU& v = s.Voltage;
    v.Nominal = v.NominalFaza = 220;
    v.NominalLine = 381.051177672L;  // what a new signal window sets: 220 V × √3
    v.FreqNominal = 50;
    v.UA = v.UB = v.UC = 220;
    v.ShiftB = -120;
    v.ShiftC = 120;
    sig::TSignalParamsI& c = s.Current;
    c.Nominal = 5;
    c.IA = c.IB = c.IC = 5;
    c.PhiUIA = c.PhiUIB = c.PhiUIC = 30;
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        const auto block = static_cast<sig::TGarmonikPart>(phase);
        const std::pair<int, float> harmonics[]{{3, 5}, {5, 4}, {7, 3}};
        for (auto [n, koef] : harmonics) {
            v.Garmonik.SetKoef(block, n, koef);
            v.Garmonik.SetAngle(block, n, 10.0f * n);
            c.Garmonik.SetKoef(block, n, 2 * koef);
            c.Garmonik.SetAngle(block, n, -5.0f * n);
        }
        v.InterGarm[phase].Koef[2] = 1;
        v.InterGarm[phase].Koef[7] = 0.5L;
        c.InterGarm[phase].Koef[2] = 2;
    }
    // Dips and fluctuations are played without interharmonics: the file keeps
    // them switched off.
    s.Collapses.Duration = 0.1L;
    s.Collapses.Period = 1;
    s.Collapses.Count = 5;
    s.Collapses.Faza[sig::fzA].DepthPercent = 30;
    s.Koleb.Freq = 8.8L;
    s.Koleb.Swing = {1, 1, 1};
    Realise(s, 50);
    return s;
}

struct TExample {
    const char* Name;
    sig::TSignalSet (*Make)();
    const char* Description;
};

const TExample kExamples[]{
    {"balanced-nominal.usa", BalancedNominal, "Симметричный сигнал: 57,735 В, 5 А, 50 Гц, коэффициент мощности 1"},
    {"harmonics-dips-flicker.usa", DistortedWithEvents,
     "220 В, 5 А, угол 30°: гармоники 3, 5, 7, интергармоники 2,5 и 7,5 (выключены);\nпровалы 30 % фазы A; колебания "
     "8,8 Гц"},
};

std::string Written(const TExample& example, sig::TSignalSet& signal) {
    sig::TKolebParamsHelpTable flicker;
    flicker.LoadDefaults(sig::fsGost2012);
    sig::Recalculate(signal, flicker);
    files::TSignalFileExtras extras;
    extras.Description = example.Description;
    // Every chart series on, so that the charts of an opened example show something.
    files::TSignalDisplayState& d = extras.Display;
    d.VoltagePhases.fill(true);
    d.CurrentPhases.fill(true);
    d.PowerPhases.fill(true);
    d.WaveformPhases.fill(true);
    return files::SignalFileContent(files::sfAll, signal, extras);
}

TEST(Examples, AreWhatTheProgramWritesAndReadBack) {
    for (const TExample& example : kExamples) {
        sig::TSignalSet signal = example.Make();
        const std::string bytes = Written(example, signal);
        const std::string path = std::string(TALVO_EXAMPLES_DIR) + "/" + example.Name;
        if (std::getenv("TALVO_WRITE_EXAMPLES")) files::WriteFileAtomic(path, bytes);
        ASSERT_EQ(talvo_test::ReadBytes(path), bytes) << example.Name << ": run with TALVO_WRITE_EXAMPLES=1";

        sig::TSignalSet loaded;
        files::TSignalFileExtras extras;
        talvo_test::RecordingLog log(false, false);
        sig::TKolebParamsHelpTable flicker;
        flicker.LoadDefaults(sig::fsGost2012);
        ASSERT_TRUE(files::LoadSignalFile(files::sfAll, files::IniFile(path), false, {loaded, extras, log, flicker}))
            << example.Name;
        EXPECT_EQ(extras.Description, example.Description);
        EXPECT_EQ(files::SignalFileContent(files::sfAll, loaded, extras), bytes)
            << example.Name << ": read and written back, the file changes";
        sig::Recalculate(loaded, flicker);
        EXPECT_NEAR(loaded.Voltage.URmsA, signal.Voltage.URmsA, 1e-9L) << example.Name;
        EXPECT_NEAR(loaded.Current.IRmsC, signal.Current.IRmsC, 1e-9L) << example.Name;
        EXPECT_NEAR(loaded.ShownPowers.PSum, signal.ShownPowers.PSum, 1e-6L) << example.Name;
        EXPECT_EQ(loaded.Collapses.Count, signal.Collapses.Count);
        EXPECT_EQ(loaded.Switches.IncludeInterGarm, signal.Switches.IncludeInterGarm);
    }
}

}  // namespace
