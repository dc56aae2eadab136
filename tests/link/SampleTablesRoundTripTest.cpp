// Tables sent to the calibrator simulator, decoded there, and taken apart
// again by a discrete Fourier transform: each component must come back with
// the amplitude and the phase the signal asked for.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <map>
#include <numbers>

#include "CalibratorSimulator.h"
#include "CommonUtils/CalibratorWire.h"
#include "RecordingLog.h"
#include "TableSignals.h"
#include "TempFolder.h"
#include "link/ComPort.h"
#include "link/Exchange.h"
#include "link/SampleTables.h"
#include "signal/Nominals.h"
#include "signal/SampleClock.h"
#include "signal/Waveform.h"

namespace {

using sig::real;
using Phasor = std::complex<double>;
using talvo_test::RecordingLog;
// Expected components of one phase: 2π/N steps per sample -> phasor in codes.
using Spectrum = std::map<int, Phasor>;

constexpr double kPi = std::numbers::pi;
// The 16-bit rounding leaves noise of about 0.007 codes in a bin of 3419 samples.
constexpr double kTolerance = 0.05;

// a × sin(φ + x) in the (sin φ, cos φ) form the transform below measures.
Phasor Component(double amplitude, double degrees) {
    return amplitude * Phasor(std::sin(degrees * kPi / 180), std::cos(degrees * kPi / 180));
}

// (2/N) Σ x_i cos(θ_i), (2/N) Σ x_i sin(θ_i) with θ_i = 2π q i / N.
Phasor Measure(const std::vector<int>& codes, int q) {
    const auto n = static_cast<double>(codes.size());
    Phasor sum;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const double theta = 2 * kPi * q * static_cast<double>(i) / n;
        sum += static_cast<double>(codes[i] - 32767) * Phasor(std::cos(theta), std::sin(theta));
    }
    return sum * (2 / n);
}

void ExpectSpectrum(const std::vector<int>& codes, const Spectrum& expected, int highestStep) {
    for (int q = 1; q <= highestStep; ++q) {
        const auto it = expected.find(q);
        const Phasor want = it == expected.end() ? Phasor() : it->second;
        EXPECT_LT(std::abs(Measure(codes, q) - want), kTolerance) << "step " << q << " expected " << want;
    }
}

sig::TSignalSet RichSignal(bool inter) {
    sig::TSignalSet s;
    sig::TSignalParamsU& v = s.Voltage;
    v.Nominal = v.NominalFaza = 57.735L;
    v.Freq = sig::GeneratedFrequency(sig::SampleRate(1), 3419, 0);
    v.UA = 55, v.UB = 57.735L, v.UC = 50;
    v.ShiftA = 10, v.ShiftB = -115, v.ShiftC = 118;
    sig::TSignalParamsI& c = s.Current;
    c.Nominal = 1;
    c.IA = 0.9L, c.IB = 1, c.IC = 0.7L;
    c.PhiUIA = 25, c.PhiUIB = -40, c.PhiUIC = 170;
    std::mt19937 rng(7);
    talvo_test::RandomSpectrum(s, rng, 0.1f, 0.5f);
    s.Switches.IncludeInterGarm = inter;
    s.Grid = {1, sig::SampleRate(1), 3419, 3419};
    return s;
}

// The spectrum of a voltage phase in codes, from the record's own fields:
// harmonic n at n x Shift + its angle, in full-scale units of the range.
Spectrum VoltageSpectrum(const sig::TSignalSet& s, int p, real scale) {
    const sig::TSignalParamsU& v = s.Voltage;
    const double amplitude = 32767 * static_cast<double>(sig::U(v, p) / 57.735027L * scale);
    const double shift = static_cast<double>(sig::Shift(v, p));
    Spectrum out{{1, Component(amplitude, shift)}};
    for (int n = 2; n <= sig::kHarmonics; ++n) {
        const double k = static_cast<double>(v.Garmonik.Faza(p).Koef[n]) / 100;
        out[n] = Component(amplitude * k, n * shift + static_cast<double>(v.Garmonik.Faza(p).Angle[n]));
    }
    return out;
}

// A current phase over two periods: every order h sits at step 2h; the
// angles are the voltage's minus the current's own, and the second
// modification raises each harmonic by the output filter's loss.
Spectrum CurrentSpectrum(const sig::TSignalSet& s, int p) {
    const sig::TSignalParamsU& v = s.Voltage;
    const sig::TSignalParamsI& c = s.Current;
    const double amplitude = 32767 * static_cast<double>(sig::I(c, p) / 1 * 2 / 3);
    const double shift = static_cast<double>(sig::Shift(v, p));
    const auto f = [&](real order) { return static_cast<double>(sig::OutputFilterFactor(v.Freq, order)); };
    Spectrum out{{2, Component(amplitude, shift - static_cast<double>(sig::PhiUI(c, p)))}};
    for (int n = 2; n <= sig::kHarmonics; ++n) {
        const double k = static_cast<double>(c.Garmonik.Faza(p).Koef[n]) / 100 * f(n);
        const double angle = n * shift + static_cast<double>(v.Garmonik.Faza(p).Angle[n] - c.Garmonik.Faza(p).Angle[n]);
        out[2 * n] = Component(amplitude * k, angle);
    }
    for (int m = 1; m <= sig::kInterHarmonics; ++m) {
        const double k = static_cast<double>(c.InterGarm[p].Koef[m]) / 100 * f(m + 0.5L);
        const double angle = (m + 0.5) * shift + static_cast<double>(v.InterGarm[p].Angle[m] - c.InterGarm[p].Angle[m]);
        out[2 * m + 1] = Component(amplitude * k, angle);
    }
    return out;
}

class TablesOnTheSimulator : public ::testing::Test {
protected:
    void SetUp() override {
        sim = std::make_unique<talvo_test::CalibratorSimulator>("COM1");
        port = std::make_unique<lnk::TMyComPort>("COM1", 115200);
        ASSERT_EQ(port->Status(), lnk::TOpenStatus::Opened);
    }
    // Sends the table and returns the simulator's decoding of it.
    nlohmann::json SendTable(cmn::CalCommand code, const lnk::TSampleTable& t) {
        const auto words = static_cast<std::uint16_t>(t.Bytes.size() / 2);
        EXPECT_TRUE(lnk::SendCommand(*port, log, code, words, cmn::kSecondParameter, t.Bytes));
        auto frames = sim->WaitFrames(++sent);
        EXPECT_EQ(frames.size(), sent);
        return frames.empty() ? nlohmann::json{} : frames.back();
    }
    talvo_test::TempSettings settings;
    std::unique_ptr<talvo_test::CalibratorSimulator> sim;
    std::unique_ptr<lnk::TMyComPort> port;
    RecordingLog log;
    std::size_t sent = 0;
};

const char* kPhaseKeys[3]{"a", "b", "c"};

TEST_F(TablesOnTheSimulator, VoltageHarmonicsComeBackWithTheirAmplitudesAndPhases) {
    const sig::TSignalSet s = RichSignal(false);
    const lnk::TSampleTable t = lnk::BuildVoltageTable(s, {sig::dmTalvo, {}});
    ASSERT_FALSE(t.Clipped());
    const nlohmann::json decoded = SendTable(cmn::CalCommand::VoltageTable, t);
    ASSERT_EQ(decoded["markers_ok"], true);
    ASSERT_EQ(decoded["samples"], 3419);
    for (int p = 0; p < 3; ++p)
        ExpectSpectrum(decoded[kPhaseKeys[p]].get<std::vector<int>>(),
                       VoltageSpectrum(s, p, sig::ModificationInfo(sig::dmTalvo).OutputScale), 120);
}

TEST_F(TablesOnTheSimulator, CurrentsOverTwoPeriodsCarryInterharmonicsAndTheFilterGain) {
    const sig::TSignalSet s = RichSignal(true);
    const lnk::TSampleTable t = lnk::BuildCurrentTable(s, {sig::dmTalvoM, {}});
    ASSERT_FALSE(t.Clipped());
    const nlohmann::json decoded = SendTable(cmn::CalCommand::CurrentTable, t);
    ASSERT_EQ(decoded["table"], "current");
    for (int p = 0; p < 3; ++p)
        ExpectSpectrum(decoded[kPhaseKeys[p]].get<std::vector<int>>(), CurrentSpectrum(s, p), 120);
}

}  // namespace
