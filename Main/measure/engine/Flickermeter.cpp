#include "measure/engine/Flickermeter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>

#include "CommonUtils/TalvoError.h"

namespace msr {
namespace {

constexpr double kBlockTarget = 1000.0;  // blocks per second, about
constexpr double kHighPass = 0.05;       // Hz
constexpr double kSmoothing = 0.3;       // s
constexpr double kReferenceFrequency = 8.8;
constexpr double kReferenceHalfSwing = 0.0025 / 2;  // 0.25 % peak to peak
constexpr double kSettle = 5.0;                     // s left out of the Pinst mean and maximum

// The eye's weighting for the 230 V / 60 W lamp:
// K·ω1·s / (s² + 2λs + ω1²) · (1 + s/ω2) / ((1 + s/ω3)(1 + s/ω4)).
constexpr double kK = 1.74802;
constexpr double kLambda = 2 * std::numbers::pi * 4.05981;
constexpr double kW1 = 2 * std::numbers::pi * 9.15494;
constexpr double kW2 = 2 * std::numbers::pi * 2.27979;
constexpr double kW3 = 2 * std::numbers::pi * 1.22535;
constexpr double kW4 = 2 * std::numbers::pi * 21.9;

// A digital second-order section from an analog one by the bilinear
// transform, prewarped at `match` rad/s.
struct TSection {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double s1 = 0, s2 = 0;  // transposed direct form II state

    static TSection Bilinear(std::array<double, 3> b, std::array<double, 3> a, double rate, double match) {
        // b and a hold the coefficients of s², s, 1.
        const double c = match / std::tan(match / (2 * rate));
        const double c2 = c * c;
        const double a0 = a[0] * c2 + a[1] * c + a[2];
        TSection t;
        t.b0 = (b[0] * c2 + b[1] * c + b[2]) / a0;
        t.b1 = (2 * b[2] - 2 * b[0] * c2) / a0;
        t.b2 = (b[0] * c2 - b[1] * c + b[2]) / a0;
        t.a1 = (2 * a[2] - 2 * a[0] * c2) / a0;
        t.a2 = (a[0] * c2 - a[1] * c + a[2]) / a0;
        return t;
    }
    double operator()(double x) {
        const double y = b0 * x + s1;
        s1 = b1 * x - a1 * y + s2;
        s2 = b2 * x - a2 * y;
        return y;
    }
    std::complex<double> Response(double frequency, double rate) const {
        const std::complex<double> z1 = std::polar(1.0, -2 * std::numbers::pi * frequency / rate);
        return (b0 + b1 * z1 + b2 * z1 * z1) / (1.0 + a1 * z1 + a2 * z1 * z1);
    }
};

// Blocks 3 of the chain: the band of the lamp and the eye's weighting.
std::vector<TSection> Chain(double rate, double nominal) {
    std::vector<TSection> chain;
    const double hp = 2 * std::numbers::pi * kHighPass;
    chain.push_back(TSection::Bilinear({0, 1, 0}, {0, 1, hp}, rate, hp));
    const double lp = 2 * std::numbers::pi * (nominal > 55 ? 42.0 : 35.0);
    for (double q : {0.5176380902050415, 0.7071067811865476, 1.9318516525781366})
        chain.push_back(TSection::Bilinear({0, 0, lp * lp}, {1, lp / q, lp * lp}, rate, lp));
    const double ref = 2 * std::numbers::pi * kReferenceFrequency;
    chain.push_back(TSection::Bilinear({0, kK * kW1, 0}, {1, 2 * kLambda, kW1 * kW1}, rate, ref));
    // (1 + s/ω2) / ((1 + s/ω3)(1 + s/ω4)) with every factor times ω3·ω4/ω2.
    chain.push_back(TSection::Bilinear({0, kW3 * kW4 / kW2, kW3 * kW4}, {1, kW3 + kW4, kW3 * kW4}, rate, ref));
    return chain;
}

// Pinst of a sinusoidal fluctuation with half swing m at frequency f is
// 2·m²·|H(f)|²·(1 − |S(2f)|·cos 2ωt)·scale: the component 2m of the squared
// voltage through the chain H, squared, and smoothed by S. The scale makes
// its maximum 1 at the reference point.
double Scale(const std::vector<TSection>& chain, double rate, double alpha) {
    std::complex<double> h = 1.0;
    for (const TSection& s : chain) h *= s.Response(kReferenceFrequency, rate);
    const std::complex<double> z1 = std::polar(1.0, -2 * std::numbers::pi * 2 * kReferenceFrequency / rate);
    const double ripple = std::abs(alpha / (1.0 - (1.0 - alpha) * z1));
    return 1.0 / (2 * kReferenceHalfSwing * kReferenceHalfSwing * std::norm(h) * (1.0 + ripple));
}

// Levels exceeded for p % of the time, read from logarithmic classes.
class TClasses {
public:
    explicit TClasses(std::span<const double> values) : counts_(kCount, 0) {
        for (double v : values) ++counts_[Index(v)];
        total_ = static_cast<double>(values.size());
    }
    double Exceeded(double percent) const {
        const double target = total_ * percent / 100.0;
        double above = 0;
        for (std::size_t i = kCount; i-- > 0;) {
            const double next = above + static_cast<double>(counts_[i]);
            if (next >= target && counts_[i] > 0) {
                // Within the class the values are taken as spread evenly on the log scale.
                const double fraction = (target - above) / static_cast<double>(counts_[i]);
                return Level(static_cast<double>(i) + 1.0 - fraction);
            }
            above = next;
        }
        return 0;
    }

private:
    static constexpr std::size_t kCount = 65536;
    static constexpr double kLow = -8, kHigh = 5;  // decades
    static std::size_t Index(double v) {
        if (!(v > 0)) return 0;
        const double x = (std::log10(v) - kLow) / (kHigh - kLow) * kCount;
        return static_cast<std::size_t>(std::clamp(x, 0.0, static_cast<double>(kCount - 1)));
    }
    static double Level(double index) { return std::pow(10.0, kLow + index / kCount * (kHigh - kLow)); }
    std::vector<std::size_t> counts_;
    double total_ = 0;
};

}  // namespace

TFlickermeter::TFlickermeter(double inputRate, double nominalFrequency)
    : inputRate_(inputRate), nominal_(nominalFrequency) {
    if (inputRate <= 2 * kBlockTarget) throw cmn::TalvoError("Частота отсчётов слишком мала для измерения фликера");
    decimation_ = static_cast<std::size_t>(std::llround(inputRate / kBlockTarget));
    blockRate_ = inputRate / static_cast<double>(decimation_);
}

void TFlickermeter::Push(std::span<const double> samples) {
    for (double v : samples) {
        partial_ += v * v;
        if (++partialCount_ == decimation_) {
            blocks_.push_back(partial_ / static_cast<double>(decimation_));
            partial_ = 0;
            partialCount_ = 0;
        }
    }
}

TFlickerResult TFlickermeter::Finish() const {
    if (blocks_.size() < static_cast<std::size_t>(blockRate_))
        throw cmn::TalvoError("Для измерения фликера нужна хотя бы одна секунда сигнала");
    double level = 0;
    for (double b : blocks_) level += b;
    level /= static_cast<double>(blocks_.size());
    if (level <= 0) throw cmn::TalvoError("Нет напряжения для измерения фликера");

    std::vector<TSection> chain = Chain(blockRate_, nominal_);
    const double alpha = 1.0 - std::exp(-1.0 / (kSmoothing * blockRate_));
    const double scale = Scale(chain, blockRate_, alpha);
    // The high-pass starts settled on the reference level (output 0), not on a step from zero.
    chain.front().s1 = chain.front().s2 = -chain.front().b0;
    double smooth = 0;
    std::vector<double> pinst(blocks_.size());
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        double x = blocks_[i] / level;
        for (TSection& s : chain) x = s(x);
        smooth += alpha * (x * x - smooth);
        pinst[i] = smooth * scale;
    }

    TFlickerResult r;
    r.Seconds = static_cast<double>(blocks_.size()) / blockRate_;
    // The chain starts on a carrier that appears at full amplitude at once;
    // until its filters have settled, Pinst tells of that start, not of the
    // voltage, and would take the top of the distribution.
    const auto settle = pinst.size() > 2 * static_cast<std::size_t>(kSettle * blockRate_)
                            ? static_cast<std::size_t>(kSettle * blockRate_)
                            : std::size_t{0};
    r.Percentiles = Classify(std::span<const double>(pinst).subspan(settle));
    r.Pst = PstFromPercentiles(r.Percentiles);
    double sum = 0;
    for (std::size_t i = settle; i < pinst.size(); ++i) {
        sum += pinst[i];
        r.PinstMax = std::max(r.PinstMax, pinst[i]);
    }
    r.PinstMean = pinst.size() > settle ? sum / static_cast<double>(pinst.size() - settle) : 0;
    const auto perPoint = std::max<std::size_t>(1, static_cast<std::size_t>(blockRate_ / 20.0));
    r.PlotRate = blockRate_ / static_cast<double>(perPoint);
    for (std::size_t i = 0; i + perPoint <= pinst.size(); i += perPoint) {
        double m = 0;
        for (std::size_t k = 0; k < perPoint; ++k) m += pinst[i + k];
        r.Plot.push_back(m / static_cast<double>(perPoint));
    }
    return r;
}

double PstFromPercentiles(const TFlickerPercentiles& p) {
    return std::sqrt(0.0314 * p.P0_1 + 0.0525 * p.P1s + 0.0657 * p.P3s + 0.28 * p.P10s + 0.08 * p.P50s);
}

TFlickerPercentiles Classify(std::span<const double> pinst) {
    const TClasses c(pinst);
    auto mean = [&](std::initializer_list<double> ps) {
        double s = 0;
        for (double p : ps) s += c.Exceeded(p);
        return s / static_cast<double>(ps.size());
    };
    TFlickerPercentiles r;
    r.P0_1 = c.Exceeded(0.1);
    r.P1s = mean({0.7, 1, 1.5});
    r.P3s = mean({2.2, 3, 4});
    r.P10s = mean({6, 8, 10, 13, 17});
    r.P50s = mean({30, 50, 80});
    return r;
}

}  // namespace msr
