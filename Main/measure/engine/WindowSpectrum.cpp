#include "measure/engine/WindowSpectrum.h"

#include <cmath>
#include <numbers>

#include "CommonUtils/TalvoError.h"

namespace msr {
namespace {

// Points of the resampled window: enough for 200 samples per period of the
// highest order analysed (50) on 12 periods.
constexpr std::size_t kPoints = 8192;

// The window at a fractional sample position by four-point Lagrange
// interpolation; positions past the end continue the window periodically,
// as the window holds whole periods.
double At(std::span<const double> x, double position) {
    const auto n = static_cast<std::ptrdiff_t>(x.size());
    const auto i = static_cast<std::ptrdiff_t>(std::floor(position));
    const double t = position - static_cast<double>(i);
    auto s = [&](std::ptrdiff_t k) { return x[static_cast<std::size_t>(((k % n) + n) % n)]; };
    const double ym1 = s(i - 1), y0 = s(i), y1 = s(i + 1), y2 = s(i + 2);
    return -t * (t - 1) * (t - 2) / 6 * ym1 + (t + 1) * (t - 1) * (t - 2) / 2 * y0 - (t + 1) * t * (t - 2) / 2 * y1 +
           (t + 1) * t * (t - 1) / 6 * y2;
}

}  // namespace

void Fft(std::vector<std::complex<double>>& x) {
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi / static_cast<double>(len));
        for (std::size_t start = 0; start < n; start += len) {
            std::complex<double> w = 1.0;
            for (std::size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = x[start + k];
                const std::complex<double> v = x[start + k + len / 2] * w;
                x[start + k] = u + v;
                x[start + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

TWindowSpectrum::TWindowSpectrum(std::span<const double> window, int cycles) : cycles_(cycles) {
    if (window.size() < 4 || cycles < 1) throw cmn::TalvoError("Окно измерения слишком короткое");
    std::vector<std::complex<double>> x(kPoints);
    const double step = static_cast<double>(window.size()) / static_cast<double>(kPoints);
    for (std::size_t j = 0; j < kPoints; ++j) x[j] = At(window, step * static_cast<double>(j));
    Fft(x);
    bins_.assign(x.begin(), x.begin() + kPoints / 2);
}

std::complex<double> TWindowSpectrum::Component(int bin) const {
    if (bin < 0 || static_cast<std::size_t>(bin) >= bins_.size()) return 0.0;
    // X = (N/2)·A·e^(i(θ − π/2)) for A·sin(ωt + θ).
    const std::complex<double> x = bins_[static_cast<std::size_t>(bin)];
    const double scale = (bin == 0 ? 1.0 : std::sqrt(2.0)) / static_cast<double>(kPoints);
    return x * std::complex<double>(0.0, 1.0) * scale;
}

std::complex<double> TWindowSpectrum::Order(double order) const {
    return Component(static_cast<int>(std::lround(order * cycles_)));
}

double TWindowSpectrum::HarmonicSubgroup(int n) const {
    double sum = 0;
    for (int k = n * cycles_ - 1; k <= n * cycles_ + 1; ++k) sum += std::norm(Component(k));
    return std::sqrt(sum);
}

double TWindowSpectrum::InterharmonicSubgroup(int n) const {
    double sum = 0;
    for (int k = n * cycles_ + 2; k <= (n + 1) * cycles_ - 2; ++k) sum += std::norm(Component(k));
    return std::sqrt(sum);
}

double TWindowSpectrum::Thd(int highest) const {
    const double g1 = HarmonicSubgroup(1);
    if (g1 <= 0) return 0;
    double sum = 0;
    for (int n = 2; n <= highest; ++n) sum += HarmonicSubgroup(n) * HarmonicSubgroup(n);
    return std::sqrt(sum) / g1 * 100.0;
}

}  // namespace msr
