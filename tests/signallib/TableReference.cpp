#include "TableReference.h"

#include <cmath>
#include <numbers>

#include "CommonUtils/CalibratorWire.h"

namespace {

using real = long double;
constexpr real kRate = 22222222.0L / 130.0L;
constexpr real kPi = std::numbers::pi_v<real>;

real Rad(real degrees) { return degrees * kPi / 180; }

real KoefFactor(float k) { return 1 + static_cast<real>(k) / 100; }

real Term(real amplitude, real phaseDegrees, int order, std::size_t i, std::size_t n) {
    return amplitude * std::sin(Rad(phaseDegrees) + 2 * kPi * order * static_cast<real>(i) / static_cast<real>(n));
}

// w(i) of one phase; a current term's phase is the voltage's minus its own.
real Wave(const TOutSignalParams& p, int phase, bool current, bool fundamentalAlways, std::size_t i, std::size_t n) {
    const TPhaseSignalParams& u = p.Voltage[phase];
    const TPhaseSignalParams& own = current ? p.Current[phase] : u;
    const real shift1 = current ? own.Angle : 0;
    real w = Term(fundamentalAlways || own.MainOn ? 1 : 0, u.Angle - shift1, 1, i, n);
    for (int h = 2; h <= 40; ++h) {
        const real shift = current ? own.Harmonics[h - 2].Angle : 0;
        w += Term(own.Harmonics[h - 2].Koef / 100.0L, h * static_cast<real>(u.Angle) + u.Harmonics[h - 2].Angle - shift,
                  h, i, n);
    }
    return w;
}

}  // namespace

std::size_t ReferenceSamples(const TOutSignalParams& p) {
    return static_cast<std::size_t>(std::nearbyint(kRate / (KoefFactor(p.FrequencyKoef) * p.Frequency)));
}

TReferenceTable ReferenceMain(const TOutSignalParams& p, bool current) {
    const std::size_t n = ReferenceSamples(p);
    TReferenceTable t;
    for (int ph = 0; ph < 3; ++ph) {
        const TPhaseSignalParams& own = current ? p.Current[ph] : p.Voltage[ph];
        const real nominal =
            current ? (p.CurrentRange == 3 ? 1.0L : 5.0L)
                    : (p.VoltageRange == 1 ? static_cast<real>(static_cast<float>(100 / std::sqrt(3.0L))) : 220.0L);
        const real scale = current ? 1 / 1.5L : 1 / 1.441212185L;
        const real factor = own.Amplitude / nominal * scale * KoefFactor(own.KalibrationKoef);
        for (std::size_t i = 0; i < n; ++i)
            t.phases[ph].push_back((factor * Wave(p, ph, current, false, i, n) + 1) * 32767);
    }
    return t;
}

TReferenceTable ReferenceDips(const TOutSignalParams& p, const TCollapsesOvervoltagesParams& d) {
    const std::size_t n = ReferenceSamples(p);
    TReferenceTable t;
    for (int ph = 0; ph < 3; ++ph) {
        const TFazaDeviationParams& f = d.Fazes[ph];
        const real level = f.IsCollapse ? (100 - static_cast<real>(f.Value)) / 100 : f.Value;
        const real factor = level * KoefFactor(p.Voltage[ph].KalibrationKoef) / 1.441212185L;
        for (std::size_t i = 0; i < n; ++i)
            t.phases[ph].push_back((factor * Wave(p, ph, false, true, i, n) + 1) * 32767);
    }
    return t;
}

std::array<std::vector<std::uint16_t>, 3> DecodeTable(const std::uint8_t* table, std::size_t samples) {
    std::array<std::vector<std::uint16_t>, 3> codes;
    for (std::size_t i = 0; i < samples; ++i) {
        const cmn::SampleCodes s = cmn::UnpackSample(table + i * cmn::kSampleSize);
        codes[0].push_back(s.a);
        codes[1].push_back(s.b);
        codes[2].push_back(s.c);
    }
    return codes;
}

::testing::AssertionResult CodesMatch(const std::vector<long double>& reference,
                                      const std::vector<std::uint16_t>& codes) {
    if (reference.size() != codes.size())
        return ::testing::AssertionFailure() << codes.size() << " codes, expected " << reference.size();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const real r = reference[i];
        const real expected = std::fmin(65535, std::fmax(0, std::nearbyint(r)));
        const bool nearTie = std::fabs(r - std::floor(r) - 0.5L) < 1e-9L;
        const real diff = std::fabs(expected - codes[i]);
        if (diff == 0 || (diff == 1 && nearTie)) continue;
        return ::testing::AssertionFailure()
               << "sample " << i << ": code " << codes[i] << ", reference " << static_cast<double>(r);
    }
    return ::testing::AssertionSuccess();
}
