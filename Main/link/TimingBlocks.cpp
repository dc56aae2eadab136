#include <cmath>
#include <cstdint>

#include "CommonUtils/TalvoError.h"
#include "link/SampleTables.h"
#include "link/TableGrid.h"
#include "signal/Nominals.h"

namespace lnk {
namespace {

using sig::real;

std::int32_t Field(real samples) {
    if (const auto field = cmn::TimingField(samples)) return *field;
    throw cmn::TalvoError("Длительность или период не могут быть заданы калибратору: слишком большое число отсчетов.");
}

// The calibrator plays a count n as n + 1 samples.
real Played(real samples) { return samples > 0 ? samples - 1 : samples; }

real Samples(real seconds, real rate, real correction) { return std::rint(rate * seconds / correction); }

real BindingUnit(std::uint8_t binding, int samplesPerPeriod) {
    switch (sig::CheckCollapseBinding(binding)) {
        case sig::cbHalfPeriod: return std::rint(samplesPerPeriod / 2.0L);
        case sig::cbPeriod: return samplesPerPeriod;
        case sig::cbNone: break;
    }
    return 0;
}

real Bound(real samples, real unit) { return unit >= 1 ? unit * std::rint(samples / unit) : samples; }

// The offset of the start angle from the period's beginning; an angle of 0
// or below counts one period further, so 0 means a full period.
real StartSamples(std::int32_t angle, const sig::TSampleGrid& grid, int samples, real kf) {
    const real alpha = angle <= 0 ? angle + 360 : angle;
    const real generated = sig::GeneratedFrequency(grid.SampleRate, samples, kf);
    return std::rint((alpha / 360) * (1 / generated) * grid.SampleRate / (1 + kf / 100));
}

}  // namespace

cmn::TimingBlock DipsTimingBlock(const sig::TSignalSet& s, real kf) {
    const int samples = CheckedSamples(s.Grid);
    const sig::TCollapsesParams& d = s.Collapses;
    const real correction = 1 + kf / 100;
    const real unit = BindingUnit(d.Binding, samples);
    const real length = Bound(Samples(d.Duration, s.Grid.SampleRate, correction), unit);
    const real period = Bound(Samples(d.Period, s.Grid.SampleRate, correction), unit);
    const real start = StartSamples(d.StartPhase, s.Grid, samples, kf);
    return cmn::EncodeTimingBlock(Field(start), Field(Played(length)), Field(Played(period - length)));
}

cmn::TimingBlock FluctuationTimingBlock(const sig::TSignalSet& s, real kf) {
    CheckedSamples(s.Grid);
    const real modulation = Samples(s.Koleb.Period, s.Grid.SampleRate, 1 + kf / 100);
    const real half = std::rint(modulation / 2);
    return cmn::EncodeTimingBlock(0, Field(Played(half)), Field(Played(modulation - half)));
}

}  // namespace lnk
