#include "Tables.h"

#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace stlib {
namespace {

constexpr real kDegree = std::numbers::pi_v<real> / 180;
constexpr real kCodeZero = 32767;
constexpr real kCodeMax = 65535;

// One sine term of a phase: amplitude × sin(phase + order × θ).
struct TTerm {
    int order;
    real sinPart;  // amplitude × sin(phase)
    real cosPart;  // amplitude × cos(phase)
};

// sin and cos of 2πk/N. Every term advances by a whole multiple of 2π/N
// per sample, so sin(φ + nθ_i) = sin φ cos t_k + cos φ sin t_k with k = n·i mod N.
// Each pair sits together, as every use reads both.
struct TSineTable {
    struct TPoint {
        real sin, cos;
    };
    explicit TSineTable(std::size_t n) : points(n) {
        for (std::size_t k = 0; k < n; ++k) {
            const real t = 2 * std::numbers::pi_v<real> * static_cast<real>(k) / static_cast<real>(n);
            points[k] = {std::sin(t), std::cos(t)};
        }
    }
    std::vector<TPoint> points;
};

// A term whose amplitude is 0 adds nothing unless its phase is not a
// number, which must spoil the table as it would in a direct evaluation.
void AddTerm(std::vector<TTerm>& terms, int order, real amplitude, real degrees) {
    const real phase = degrees * kDegree;
    if (amplitude == 0 && std::isfinite(phase)) return;
    terms.push_back({order, amplitude * std::sin(phase), amplitude * std::cos(phase)});
}

// Voltage: the fundamental at its angle, harmonic n at n·φU1 + φUn. Current:
// every term takes the voltage's phase of the same order minus its own angle.
std::vector<TTerm> PhaseTerms(const TSignalClass& s, TQuantity q, int phase, bool fundamentalAlways) {
    const bool current = q == TQuantity::Current;
    const real u1 = s.Harmonic(TQuantity::Voltage, phase, 1).angle;
    std::vector<TTerm> terms;
    const real own1 = current ? s.Harmonic(q, phase, 1).angle : 0;
    AddTerm(terms, 1, fundamentalAlways || s.MainOn(q, phase) ? 1 : 0, u1 - own1);
    for (int n = 2; n <= kHarmonics; ++n) {
        const THarmonic& h = s.Harmonic(q, phase, n);
        const real voltageShift = s.Harmonic(TQuantity::Voltage, phase, n).angle;
        const real own = current ? h.angle : 0;
        AddTerm(terms, n, static_cast<real>(h.value) / 100, n * u1 + voltageShift - own);
    }
    return terms;
}

// Sample by sample, each term's table index advancing by its order.
std::vector<real> Waveform(const std::vector<TTerm>& terms, const TSineTable& sines) {
    const std::size_t n = sines.points.size();
    std::vector<std::size_t> index(terms.size(), 0), step;
    for (const TTerm& t : terms) step.push_back(static_cast<std::size_t>(t.order) % n);
    std::vector<real> w(n);
    for (std::size_t i = 0; i < n; ++i) {
        real sum = 0;
        for (std::size_t t = 0; t < terms.size(); ++t) {
            std::size_t& k = index[t];
            const TSineTable::TPoint& at = sines.points[k];
            sum += terms[t].sinPart * at.cos + terms[t].cosPart * at.sin;
            k += step[t];
            if (k >= n) k -= n;
        }
        w[i] = sum;
    }
    return w;
}

// code = Round((multiplier × w / divisor + 1) × 32767), clipped to 0…65535.
// A value that is not a number cannot become a code.
struct TChannel {
    std::vector<std::uint16_t> codes;
    bool clipped = false;
};

TChannel ChannelCodes(const std::vector<real>& w, real multiplier, real divisor) {
    TChannel channel;
    channel.codes.reserve(w.size());
    for (real x : w) {
        real code = std::nearbyint((multiplier * x / divisor + 1) * kCodeZero);
        if (std::isnan(code)) throw std::domain_error("channel value is not a number");
        if (code < 0 || code > kCodeMax) {
            channel.clipped = true;
            code = code < 0 ? 0 : kCodeMax;
        }
        channel.codes.push_back(static_cast<std::uint16_t>(code));
    }
    return channel;
}

std::size_t CheckedSamples(const TSignalClass& signal, std::span<std::uint8_t> buffer) {
    const std::int64_t n = signal.SamplesPerPeriod();
    if (n < 1 || n > kMaxSamplesPerPeriod || static_cast<std::size_t>(n) * cmn::kSampleSize > buffer.size())
        throw std::length_error("the table does not fit");
    return static_cast<std::size_t>(n);
}

void Pack(const std::array<TChannel, kPhases>& phases, std::span<std::uint8_t> buffer) {
    for (std::size_t i = 0; i < phases[0].codes.size(); ++i)
        cmn::PackSample(phases[0].codes[i], phases[1].codes[i], phases[2].codes[i], &buffer[i * cmn::kSampleSize]);
}

// U1/Unom (or I1/Inom) by way of the deviation in percent, as the
// calibrator's other tools compute it.
real AmplitudeRatio(const TSignalClass& s, TQuantity q, int phase) {
    const real value = s.Harmonic(q, phase, 1).value;
    const real nominal = q == TQuantity::Voltage ? s.Nominals().PhaseVoltage() : s.Nominals().Current();
    return (value / nominal - 1) * 100 / 100 + 1;
}

real CalibrationFactor(const TSignalClass& s, TQuantity q, int phase) {
    const TKalibrationKoefsClass& k = s.Koefs();
    return KoefFactor(q == TQuantity::Voltage ? k.VoltageKoef(s.Nominals().VoltageRange(), phase)
                                              : k.CurrentKoef(s.Nominals().CurrentRange(), phase));
}

// Phases out of range as a set (A 1, B 2, C 4) → offset of the code.
constexpr std::array<code::TCode, 8> kClipOffset = {0, 1, 2, 4, 3, 6, 5, 7};

code::TCode BuildMainTable(const TSignalClass& s, TQuantity q, std::span<std::uint8_t> buffer) {
    const code::TCode failed = q == TQuantity::Voltage ? code::VoltageTable : code::CurrentTable;
    const real scale = q == TQuantity::Voltage ? kVoltageScale : kCurrentScale;
    unsigned clipped = 0;
    try {
        const TSineTable sines(CheckedSamples(s, buffer));
        std::array<TChannel, kPhases> phases;
        for (int p = 0; p < kPhases; ++p) {
            const real multiplier = AmplitudeRatio(s, q, p) * scale * CalibrationFactor(s, q, p);
            phases[p] = ChannelCodes(Waveform(PhaseTerms(s, q, p, false), sines), multiplier, 1);
            if (phases[p].clipped) clipped |= 1u << p;
        }
        Pack(phases, buffer);
    } catch (...) {
        return failed;
    }
    return clipped == 0 ? code::NoError : static_cast<code::TCode>(failed + kClipOffset[clipped]);
}

// A dip's residual is (100 − depth) % of the nominal, a swell's level its
// coefficient times the nominal.
real DeviationLevel(const TFazaDeviationsClass& faza) {
    return faza.IsCollapse() ? (100 - static_cast<real>(faza.Value())) / 100 : faza.Value();
}

std::optional<std::int32_t> RoundToTicks(real ticks) { return cmn::TimingField(std::nearbyint(ticks)); }

}  // namespace

code::TCode BuildVoltageTable(const TSignalClass& signal, std::span<std::uint8_t> buffer) {
    return BuildMainTable(signal, TQuantity::Voltage, buffer);
}

code::TCode BuildCurrentTable(const TSignalClass& signal, std::span<std::uint8_t> buffer) {
    return BuildMainTable(signal, TQuantity::Current, buffer);
}

// The dips table always carries the fundamental and leaves out U1/Unom:
// the level during a dip or swell is a fraction of the nominal voltage.
code::TCode BuildCollapsesTable(const TSignalClass& s, std::span<std::uint8_t> buffer) {
    try {
        const TSineTable sines(CheckedSamples(s, buffer));
        std::array<TChannel, kPhases> phases;
        for (int p = 0; p < kPhases; ++p) {
            const real multiplier =
                DeviationLevel(s.Collapses().Faza(p + 1)) * CalibrationFactor(s, TQuantity::Voltage, p);
            phases[p] =
                ChannelCodes(Waveform(PhaseTerms(s, TQuantity::Voltage, p, true), sines), multiplier, kVoltageSwing);
        }
        Pack(phases, buffer);
    } catch (...) {
        return code::CollapsesTable;
    }
    return code::NoError;
}

// With synchronisation the length and the period become whole half periods
// (H = N/2, a fraction for odd N). A start angle of 0 means a full period.
std::optional<cmn::TimingBlock> BuildTimingBlock(const TSignalClass& s) {
    const TCollapsesOvervoltagesClass& d = s.Collapses();
    const real c = KoefFactor(s.FrequencyKoef());
    real length = std::nearbyint(kSampleRate * d.Duration() / c);
    real period = std::nearbyint(kSampleRate * d.Period() / c);
    if (d.Synchronize()) {
        const real half = static_cast<real>(s.SamplesPerPeriod()) / 2;
        length = std::nearbyint(std::nearbyint(length / half) * half);
        period = std::nearbyint(period / half) * half;
    }
    real angle = d.StartAngle();
    if (angle <= 0) angle += 360;
    const real start = (angle / 360) / s.Frequency() * kSampleRate / c;
    const auto startTicks = RoundToTicks(start);
    const auto lengthTicks = RoundToTicks(length);
    const auto pauseTicks = RoundToTicks(period - length - 2);
    if (!startTicks || !lengthTicks || !pauseTicks) return std::nullopt;
    return cmn::EncodeTimingBlock(*startTicks, *lengthTicks, *pauseTicks);
}

}  // namespace stlib
