#include "link/SampleTables.h"

#include <cmath>

#include "link/Synthesis.h"
#include "link/TableGrid.h"
#include "signal/Helpers.h"
#include "signal/Nominals.h"
#include "signal/Waveform.h"

namespace lnk {
namespace {

using sig::real;

// Full scale of the ranges: the amplitude ratio of a phase is taken against these.
constexpr real kVoltageRangeLow = 57.735027L;
constexpr real kVoltageRangeHigh = 220;
constexpr real kCurrentRangeLow = 1;
constexpr real kCurrentRangeHigh = 5;
constexpr real kCurrentScale = 0.6666666666666666667L;

// Slots of the first phase of each range in the correction record.
constexpr int kCorrection220V = 0;
constexpr int kCorrection57V = 3;
constexpr int kCorrection1A = 6;
constexpr int kCorrection5A = 9;

// The code of the waveform's zero; 0 and 65535 are its extremes.
constexpr real kZeroCode = 32767;
constexpr real kMaxCode = 65535;

struct TPhaseChannel {
    sig::TWaveBlocks Wave;
    bool FundamentalOn = true;
    real Deviation = 0;    // of the phase's amplitude from the range's full scale, %
    real Calibration = 1;  // 1 + correction/100
};
using TChannels = std::array<TPhaseChannel, 3>;

struct TTableFrame {
    int Samples = 0;
    bool TwoPeriods = false;  // interharmonics included
    bool Filter = false;      // harmonics compensated for the output filter
    real Frequency = 0;
    real Scale = 0;
};

real Calibration(const TTableSettings& t, int slot) { return 1 + t.Correction.at(slot) / 100; }

TTableFrame Frame(const sig::TSignalSet& s, const TTableSettings& t, TTableKind kind) {
    const sig::TModificationInfo& modification = sig::ModificationInfo(t.Modification);
    return {CheckedSamples(s.Grid), s.Switches.IncludeInterGarm, modification.FilterCompensation, s.Voltage.Freq,
            kind == TTableKind::Voltage ? modification.OutputScale : kCurrentScale};
}

// ---------------------------------------------------------------- terms

real FilterGain(const TTableFrame& f, real order) { return f.Filter ? sig::OutputFilterFactor(f.Frequency, order) : 1; }

bool Silent(const TSineTerm& t) { return t.Amplitude[0] == 0 && t.Amplitude[1] == 0 && t.Amplitude[2] == 0; }

// The term advancing `step` per sample, with koef (%) and angle (degrees) of each phase.
template <class Koef, class Angle>
void AddComponent(std::vector<TSineTerm>& terms, int step, real gain, Koef koef, Angle angle) {
    TSineTerm t{step, {}, {}};
    for (int p = 0; p < 3; ++p) {
        t.Amplitude[p] = koef(p) / 100 * gain;
        t.Angle[p] = angle(p);
    }
    if (!Silent(t)) terms.push_back(t);
}

std::vector<TSineTerm> Terms(const TChannels& ch, const TTableFrame& f) {
    const int g = f.TwoPeriods ? 2 : 1;
    std::vector<TSineTerm> terms;
    AddComponent(
        terms, g, 1, [&](int p) { return ch[p].FundamentalOn ? 100 : 0; },
        [&](int p) { return ch[p].Wave.FundamentalAngle; });
    for (int n = 2; n <= sig::kHarmonics; ++n)
        AddComponent(
            terms, n * g, FilterGain(f, n), [&](int p) { return ch[p].Wave.Harmonics.Koef[n]; },
            [&](int p) { return ch[p].Wave.Harmonics.Angle[n]; });
    if (!f.TwoPeriods) return terms;
    // Order m + 0.5 over two periods advances by 2m + 1 steps.
    for (int m = 1; m <= sig::kInterHarmonics; ++m)
        AddComponent(
            terms, 2 * m + 1, FilterGain(f, m + 0.5L), [&](int p) { return ch[p].Wave.Inter.Koef[m]; },
            [&](int p) { return ch[p].Wave.Inter.Angle[m]; });
    return terms;
}

// ---------------------------------------------------------------- codes

// An 80-bit real at 1.5 x 2^63 has no fraction bits left: adding and taking
// off this shift rounds to a whole number, ties to even, without the slow
// rounding instruction of the x87 unit.
constexpr real kRoundingShift = 0x1.8p63L;

// Rounding to nearest with ties to even: -0.5 still gives code 0, 65535.5
// gives 65536 and is out of range.
std::uint16_t ChannelCode(real value, bool& outOfRange) {
    const real code = (value + 1) * kZeroCode;
    if (!(code >= -0.5L)) {  // also a value that is not a number
        outOfRange = true;
        return 0;
    }
    if (code >= kMaxCode + 0.5L) {
        outOfRange = true;
        return static_cast<std::uint16_t>(kMaxCode);
    }
    const real whole = (code + kRoundingShift) - kRoundingShift;
    return static_cast<std::uint16_t>(static_cast<double>(whole));
}

TSampleTable BuildTable(const TTableFrame& frame, const TChannels& ch) {
    const TPhaseValues w = SynthesizePhases(Terms(ch, frame), frame.Samples);
    TSampleTable table;
    table.Bytes.resize(static_cast<std::size_t>(frame.Samples) * cmn::kSampleSize);
    std::array<real, 3> ratio{};
    for (int p = 0; p < 3; ++p) ratio[p] = 1 + ch[p].Deviation / 100;
    for (int i = 0; i < frame.Samples; ++i) {
        std::array<std::uint16_t, 3> code{};
        for (int p = 0; p < 3; ++p)
            code[p] = ChannelCode(ratio[p] * w[p][i] * frame.Scale * ch[p].Calibration, table.OutOfRange[p]);
        cmn::PackSample(code[0], code[1], code[2], &table.Bytes[static_cast<std::size_t>(i) * cmn::kSampleSize]);
    }
    return table;
}

// ---------------------------------------------------------------- channels

real VoltageFullScale(const sig::TSignalParamsU& v) {
    return HighVoltageRange(v) ? kVoltageRangeHigh : kVoltageRangeLow;
}
real CurrentFullScale(const sig::TSignalParamsI& c) {
    return HighCurrentRange(c) ? kCurrentRangeHigh : kCurrentRangeLow;
}

// The voltage channels with each phase's fundamental at the given RMS value.
TChannels VoltageChannels(const sig::TSignalSet& s, const TTableSettings& t, const sig::TPhaseReals& fundamental) {
    const sig::TSignalParamsU& v = s.Voltage;
    const int slot = HighVoltageRange(v) ? kCorrection220V : kCorrection57V;
    TChannels ch;
    for (int p = sig::fzA; p <= sig::fzC; ++p)
        ch[p] = {sig::VoltageWave(v, p), sig::UOn(s.Switches, p),
                 sig::DeviationPercent(fundamental[p], VoltageFullScale(v)), Calibration(t, slot + p)};
    return ch;
}

TChannels CurrentChannels(const sig::TSignalSet& s, const TTableSettings& t) {
    const sig::TSignalParamsI& c = s.Current;
    const int slot = HighCurrentRange(c) ? kCorrection5A : kCorrection1A;
    TChannels ch;
    for (int p = sig::fzA; p <= sig::fzC; ++p)
        ch[p] = {sig::CurrentWave(c, s.Voltage, p), sig::IOn(s.Switches, p),
                 sig::DeviationPercent(sig::I(c, p), CurrentFullScale(c)), Calibration(t, slot + p)};
    return ch;
}

sig::TPhaseReals Fundamentals(const sig::TSignalParamsU& v) { return {v.UA, v.UB, v.UC}; }

sig::TPhaseReals EventVoltages(const sig::TCollapsesParams& d) {
    sig::TPhaseReals e{};
    for (int p = sig::fzA; p <= sig::fzC; ++p)
        e[p] = d.Faza[p].Kind == sig::ckDip ? d.Faza[p].UResidual : d.Faza[p].UPer;
    return e;
}

// Each phase's fundamental raised or lowered by half its swing.
sig::TPhaseReals FluctuationLevels(const sig::TSignalSet& s, TFluctuationLevel level) {
    const real sign = level == TFluctuationLevel::Raised ? 1 : -1;
    sig::TPhaseReals u = Fundamentals(s.Voltage);
    for (int p = sig::fzA; p <= sig::fzC; ++p) u[p] = u[p] * (100 + sign * s.Koleb.Swing[p] / 2) / 100;
    return u;
}

TSampleTable BuildVoltageTableAt(const sig::TSignalSet& s, const TTableSettings& t,
                                 const sig::TPhaseReals& fundamental) {
    const TTableFrame frame = Frame(s, t, TTableKind::Voltage);
    return BuildTable(frame, VoltageChannels(s, t, fundamental));
}

}  // namespace

// The range follows the signal's nominal.
bool HighVoltageRange(const sig::TSignalParamsU& v) { return std::trunc(v.Nominal) == sig::kNominalVoltageHigh; }

bool HighCurrentRange(const sig::TSignalParamsI& c) { return c.Nominal != sig::kNominalCurrentLow; }

std::uint16_t RangeCode(const sig::TSignalParamsU& v, const sig::TSignalParamsI& c) {
    return static_cast<std::uint16_t>((HighVoltageRange(v) ? 1 : 0) | (HighCurrentRange(c) ? 2 : 0));
}

TSampleTable BuildVoltageTable(const sig::TSignalSet& s, const TTableSettings& t) {
    return BuildVoltageTableAt(s, t, Fundamentals(s.Voltage));
}

TSampleTable BuildCurrentTable(const sig::TSignalSet& s, const TTableSettings& t) {
    const TTableFrame frame = Frame(s, t, TTableKind::Current);
    return BuildTable(frame, CurrentChannels(s, t));
}

TSampleTable BuildDipsTable(const sig::TSignalSet& s, const TTableSettings& t) {
    return BuildVoltageTableAt(s, t, EventVoltages(s.Collapses));
}

TSampleTable BuildFluctuationTable(const sig::TSignalSet& s, const TTableSettings& t, TFluctuationLevel level) {
    return BuildVoltageTableAt(s, t, FluctuationLevels(s, level));
}

}  // namespace lnk
