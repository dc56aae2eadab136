#include "link/Synthesis.h"

#include <cmath>
#include <numbers>

namespace lnk {
namespace {

using sig::real;

// The sums run in double precision: the angles and amplitudes are prepared
// in extended precision and rounded once, which leaves the sum within about
// 1e-15 of the extended one, far below the half code that rounding to the
// 16-bit channel code can see, and lets the three phases go through vector
// registers together: phases A and B in one pair of lanes, C and a padding
// lane in the other.
typedef double TPair __attribute__((vector_size(16)));
struct TLanes {
    TPair AB{0, 0};
    TPair C{0, 0};
};

// cos and sin of 2πk/N for k = 0 ... N-1; the second half mirrors the first.
struct TUnitCircle {
    std::vector<double> Cos, Sin;

    explicit TUnitCircle(int n) : Cos(n), Sin(n) {
        const real turn = 2 * std::numbers::pi_v<real> / n;
        for (int k = 0; k <= n / 2; ++k) {
            const double angle = static_cast<double>(k * turn);
            Cos[k] = std::cos(angle);
            Sin[k] = std::sin(angle);
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
    std::vector<TLanes> OfCos, OfSin;

    TTermFactors(const std::vector<TSineTerm>& terms, int n) {
        for (const TSineTerm& t : terms) {
            Step.push_back(t.Step % n);
            std::array<double, 3> c{}, s{};
            for (int p = 0; p < 3; ++p) {
                c[p] = static_cast<double>(t.Amplitude[p] * std::sin(t.Angle[p]));
                s[p] = static_cast<double>(t.Amplitude[p] * std::cos(t.Angle[p]));
            }
            OfCos.push_back(TLanes{TPair{c[0], c[1]}, TPair{c[2], 0}});
            OfSin.push_back(TLanes{TPair{s[0], s[1]}, TPair{s[2], 0}});
        }
    }
};

// The running sums of one sample: the cos x parts and the sin x parts.
struct TSums {
    TPair EvenAB{0, 0}, EvenC{0, 0}, OddAB{0, 0}, OddC{0, 0};

    void Add(const TLanes& ofCos, const TLanes& ofSin, double c, double s) {
        EvenAB += ofCos.AB * c;
        EvenC += ofCos.C * c;
        OddAB += ofSin.AB * s;
        OddC += ofSin.C * s;
    }
};

int Advance(int k, int step, int n) {
    const int next = k + step;
    return next >= n ? next - n : next;
}

// Sample N - i sees every table angle negated: the cosine parts stay, the
// sine parts change sign, so the sums of sample i give both.
void Store(TPhaseValues& w, int i, const TSums& sums) {
    const int n = static_cast<int>(w[0].size());
    const std::array<double, 3> even{sums.EvenAB[0], sums.EvenAB[1], sums.EvenC[0]};
    const std::array<double, 3> odd{sums.OddAB[0], sums.OddAB[1], sums.OddC[0]};
    for (int p = 0; p < 3; ++p) {
        w[p][i] = real(even[p]) + real(odd[p]);
        if (i > 0 && n - i != i) w[p][n - i] = real(even[p]) - real(odd[p]);
    }
}

}  // namespace

// Two samples per pass over the terms share the loads of the term factors.
TPhaseValues SynthesizePhases(const std::vector<TSineTerm>& terms, int samples) {
    const TUnitCircle circle(samples);
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
            first.Add(f.OfCos[t], f.OfSin[t], circle.Cos[k], circle.Sin[k]);
            second.Add(f.OfCos[t], f.OfSin[t], circle.Cos[k2], circle.Sin[k2]);
            position[t] = Advance(k2, f.Step[t], samples);
        }
        Store(w, i, first);
        if (i + 1 <= half) Store(w, i + 1, second);
    }
    return w;
}

}  // namespace lnk
