#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "measure/Capture.h"
#include "measure/engine/Playback.h"
#include "signal/SignalSet.h"

// The check of a signal: what an action would make the calibrator play,
// measured as a class A instrument measures it, beside every quantity the
// program computes for the signal, with the difference and the tolerance
// it must lie within. Nothing here touches a window; a page shows the
// report and may run the check on a worker thread.
namespace msr {

struct TVerifyOptions {
    TCaptureSettings Capture;
    // Observation of the flicker, s. Pst is defined over 600 s; a shorter
    // observation is reported as such.
    double FlickerSeconds = 600;
    // The longest stretch of dips and swells looked at, s.
    double EventSeconds = 60;
};

// One quantity: the program's value, the measured one, their difference
// (measured − set), the tolerance and the rule it comes from.
struct TCompareRow {
    std::string Quantity;  // Russian, with the channel
    std::string Unit;
    double Set = 0;
    double Measured = 0;
    double Difference = 0;
    double Tolerance = 0;
    std::string Rule;
    bool Pass = false;
};

// Values at t = Start, Start + Step, Start + 2·Step, … seconds.
struct TTimeSeries {
    std::string Name;
    double Step = 0;
    double Start = 0;
    std::vector<double> Values;
};

// Harmonic coefficients of one channel, % of its fundamental, index = order.
struct THarmonicBars {
    std::string Channel;
    std::array<double, 51> Set{};
    std::array<double, 51> Measured{};
};

struct TVerifyReport {
    std::vector<TCompareRow> Rows;
    std::vector<std::string> Notes;
    std::vector<THarmonicBars> Harmonics;   // the played channels
    std::vector<TTimeSeries> Pinst;         // fluctuations: phases and lines
    std::vector<TTimeSeries> HalfCycleRms;  // dips and swells: phases and lines
    std::shared_ptr<const TPlayback> Playback;
    bool Passed() const;
};

// Progress from 0 to 1; a set cancel flag ends the check with TalvoError
// "Проверка сигнала прервана".
struct TVerifyControl {
    std::function<void(double)> Progress;
    const std::atomic<bool>* Cancel = nullptr;
};

// Runs the action against the stand-in calibrator and compares. The signal
// must be recomputed (its derived quantities are the set values).
TVerifyReport VerifySignal(const sig::TSignalSet& signal, const TVerifyOptions& options,
                           const TVerifyControl& control = {});
// The same from bytes already taken (or altered on purpose).
TVerifyReport CompareBytes(const sig::TSignalSet& signal, const std::vector<std::uint8_t>& bytes,
                           const TVerifyOptions& options, const TVerifyControl& control = {});

// The played and the ideal waveform of channel chUA … chIC from `start`
// for `span` seconds, one value per tick of the played clock.
struct TWaveformPair {
    double Step = 0;
    std::vector<double> Played;
    std::vector<double> Ideal;
};
TWaveformPair PlayedAndIdeal(const TPlayback& playback, const sig::TSignalSet& signal, int channel, double start,
                             double span);

}  // namespace msr
