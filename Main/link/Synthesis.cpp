#include "link/Synthesis.h"

#include <cmath>
#include <numbers>

#include "signal/Helpers.h"

namespace lnk {
namespace {

using sig::real;

// The sums run in double precision: the angles and amplitudes are prepared
// in extended precision and rounded once, which leaves the sum within about
// 1e-15 of the extended one, far below the half code that rounding to the
// 16-bit channel code can see, and lets a pair of lanes carry the cos x and
// the sin x part of a phase together.
typedef double TPair __attribute__((vector_size(16)));
using TPhasePairs = std::array<TPair, 3>;

// (cos, sin) of 2πk/N for k = 0 ... N-1; the second half mirrors the first.
std::vector<TPair> UnitCircle(int n) {
    std::vector<TPair> circle(n);
    const real turn = 2 * std::numbers::pi_v<real> / n;
    for (int k = 0; k <= n / 2; ++k) {
        const double angle = static_cast<double>(k * turn);
        circle[k] = TPair{std::cos(angle), std::sin(angle)};
        if (k > 0 && n - k != k) circle[n - k] = TPair{circle[k][0], -circle[k][1]};
    }
    return circle;
}

// a × sin(φ + x) = (a sin φ) cos x + (a cos φ) sin x: per term and phase the
// pair of factors of cos x and sin x.
struct TTermFactors {
    std::vector<int> Step;
    std::vector<TPhasePairs> Factors;

    TTermFactors(const std::vector<TSineTerm>& terms, int n) {
        for (const TSineTerm& t : terms) {
            Step.push_back(t.Step % n);
            TPhasePairs f{};
            for (int p = 0; p < 3; ++p) {
                const sig::TPhasor unit = sig::UnitPhasor(t.Angle[p]);
                f[p] =
                    TPair{static_cast<double>(t.Amplitude[p] * unit.y), static_cast<double>(t.Amplitude[p] * unit.x)};
            }
            Factors.push_back(f);
        }
    }
};

// Spelt out per phase so that the sums stay in registers.
struct TSums {
    TPair A{0, 0}, B{0, 0}, C{0, 0};

    void Add(const TPhasePairs& factors, TPair cosSin) {
        A += factors[0] * cosSin;
        B += factors[1] * cosSin;
        C += factors[2] * cosSin;
    }
};

int Advance(int k, int step, int n) {
    const int next = k + step;
    return next >= n ? next - n : next;
}

// Sample N - i sees every table angle negated: the cos x parts stay, the
// sin x parts change sign, so the sums of sample i give both.
void Store(TPhaseValues& w, int i, const TSums& sums) {
    const int n = static_cast<int>(w[0].size());
    const TPhasePairs phases{sums.A, sums.B, sums.C};
    for (int p = 0; p < 3; ++p) {
        const double even = phases[p][0];
        const double odd = phases[p][1];
        w[p][i] = even + odd;
        if (i > 0 && n - i != i) w[p][n - i] = even - odd;
    }
}

}  // namespace

// Two samples per pass over the terms share the loads of the term factors.
TPhaseValues SynthesizePhases(const std::vector<TSineTerm>& terms, int samples) {
    const std::vector<TPair> circle = UnitCircle(samples);
    const TTermFactors f(terms, samples);
    std::vector<int> position(terms.size(), 0);
    TPhaseValues w;
    for (auto& values : w) values.assign(samples, 0);
    const int half = samples / 2;
    for (int i = 0; i <= half; i += 2) {
        TSums first, second;
        for (std::size_t t = 0; t < position.size(); ++t) {
            const int k = position[t];
            const int k2 = Advance(k, f.Step[t], samples);
            first.Add(f.Factors[t], circle[k]);
            second.Add(f.Factors[t], circle[k2]);
            position[t] = Advance(k2, f.Step[t], samples);
        }
        Store(w, i, first);
        if (i + 1 <= half) Store(w, i + 1, second);
    }
    return w;
}

}  // namespace lnk
