#pragma once

#include <vector>

#include "signal/Records.h"

// Instantaneous values of one phase, for the charts and the output tables.
namespace sig {

// A phase's components with absolute angles (degrees): the fundamental angle,
// harmonic n at n x fundamental angle + its own, interharmonics likewise.
struct TWaveBlocks {
    real FundamentalAngle = 0;
    TGarmonikFaza Harmonics;
    TInterGarmonik Inter;
};

TWaveBlocks VoltageWave(const TSignalParamsU& v, int phase);
// Currents take the voltage's angles minus their voltage-minus-current angles.
TWaveBlocks CurrentWave(const TSignalParamsI& c, const TSignalParamsU& v, int phase);

// The amplitude gain that compensates the calibrator's output filter at
// frequency f for a component of the given order.
real OutputFilterFactor(real f, real order);

// The value at sample i of `samples` per table, relative to the fundamental's
// amplitude and scaled by 1 + deviation/100. With interharmonics included the
// table spans two periods, so that the orders m + 0.5 complete whole cycles.
// `filter` applies OutputFilterFactor to every harmonic and interharmonic.
real InstantValue(const TWaveBlocks& w, int i, bool filter, bool includeInter, bool fundamentalOn, real f, int samples,
                  real deviation);

constexpr int kChartSamples = 5001;

// The chart of a phase: sqrt(2) x fundamental RMS x InstantValue over one
// table (at most kChartSamples values).
std::vector<real> PhaseWaveform(const TWaveBlocks& w, real fundamentalRms, bool includeInter, bool fundamentalOn,
                                int samples);
// A line's chart: the sample-by-sample difference of its two phases.
std::vector<real> LineWaveform(const std::vector<real>& x, const std::vector<real>& y);

}  // namespace sig
