#pragma once

#include "signal/Records.h"
#include "signal/SampleClock.h"

namespace sig {

// The complete records of one test signal, as a signal window or a signal
// bundle holds them. Every record is a value member: copying the set copies
// the harmonic stores with it.
struct TSignalSet {
    TSignalParamsU Voltage;
    TSignalParamsU Converter;  // output channels of the current-to-voltage converter
    TSignalParamsI Current;
    TCollapsesParams Collapses;
    TKolebParams Koleb;
    TSignalSwitches Switches;
    TPowerParams ShownPowers;
    TPowerParams FundamentalPowers;  // also holds the per-harmonic powers
    TPowerParams FullPowers;
    TIeee1459Params Ieee1459;
    TEnergyParams Energy;
    sig::TSampleGrid Grid;  // realisation of the signal frequency
};

}  // namespace sig
