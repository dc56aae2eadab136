#include "link/Synthesis.h"

#include <cmath>
#include <numbers>

namespace lnk {
namespace {

using sig::real;

// cos and sin of 2πk/N for k = 0 ... N-1; the second half mirrors the first.
struct TUnitCircle {
    std::vector<real> Cos, Sin;

    explicit TUnitCircle(int n) : Cos(n), Sin(n) {
        const real turn = 2 * std::numbers::pi_v<real> / n;
        for (int k = 0; k <= n / 2; ++k) {
            Cos[k] = std::cos(k * turn);
            Sin[k] = std::sin(k * turn);
            if (k > 0 && n - k != k) {
                Cos[n - k] = Cos[k];
                Sin[n - k] = -Sin[k];
            }
        }
    }
};

// a × sin(φ + x) = (a sin φ) cos x + (a cos φ) sin x: the factors of cos x and
// sin x of every term and phase, laid out for the sample loop.
struct TTermFactors {
    std::vector<int> Step;
    std::vector<std::array<real, 3>> OfCos, OfSin;

    TTermFactors(const std::vector<TSineTerm>& terms, int n) {
        for (const TSineTerm& t : terms) {
            Step.push_back(t.Step % n);
            std::array<real, 3> c{}, s{};
            for (int p = 0; p < 3; ++p) {
                c[p] = t.Amplitude[p] * std::sin(t.Angle[p]);
                s[p] = t.Amplitude[p] * std::cos(t.Angle[p]);
            }
            OfCos.push_back(c);
            OfSin.push_back(s);
        }
    }
};

}  // namespace

// Sample N - i sees every table angle negated: the cosine parts stay, the
// sine parts change sign, so one pass over the first half gives both.
TPhaseValues SynthesizePhases(const std::vector<TSineTerm>& terms, int samples) {
    const TUnitCircle circle(samples);
    const TTermFactors f(terms, samples);
    std::vector<int> position(terms.size(), 0);
    TPhaseValues w;
    for (auto& values : w) values.assign(samples, 0);
    for (int i = 0; i <= samples / 2; ++i) {
        std::array<real, 3> even{}, odd{};
        for (std::size_t t = 0; t < position.size(); ++t) {
            const int k = position[t];
            const real c = circle.Cos[k];
            const real s = circle.Sin[k];
            for (int p = 0; p < 3; ++p) {
                even[p] += f.OfCos[t][p] * c;
                odd[p] += f.OfSin[t][p] * s;
            }
            const int next = k + f.Step[t];
            position[t] = next >= samples ? next - samples : next;
        }
        for (int p = 0; p < 3; ++p) {
            w[p][i] = even[p] + odd[p];
            if (i > 0 && samples - i != i) w[p][samples - i] = even[p] - odd[p];
        }
    }
    return w;
}

}  // namespace lnk
