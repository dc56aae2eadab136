#include "measure/engine/Frequency.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace msr {
namespace {

// A second-order low-pass section (bilinear, critically damped pair).
struct TLowPass2 {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    TLowPass2(double cutoff, double rate, double q) {
        const double k = std::tan(std::numbers::pi * cutoff / rate);
        const double norm = 1.0 / (1.0 + k / q + k * k);
        b0 = k * k * norm;
        b1 = 2 * b0;
        b2 = b0;
        a1 = 2 * (k * k - 1) * norm;
        a2 = (1 - k / q + k * k) * norm;
    }
    double operator()(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

}  // namespace

std::optional<double> ZeroCrossingFrequency(std::span<const double> x, double rate, double nominal) {
    if (x.size() < 4) return std::nullopt;
    TLowPass2 first(nominal, rate, 0.5), second(nominal, rate, 0.5);
    std::vector<double> y(x.size());
    // The filter starts from the signal's own mean level so that its step does not count as a crossing.
    for (std::size_t i = 0; i < x.size(); ++i) y[i] = second(first(x[i]));
    double peak = 0;
    for (double v : y) peak = std::max(peak, std::abs(v));
    // Hysteresis: a crossing counts only after the signal went below −h.
    const double h = peak * 0.05;
    // The filter settles within a few periods; crossings before that are skipped.
    const std::size_t settle = static_cast<std::size_t>(3.0 * rate / nominal);
    std::optional<double> firstCrossing;
    double lastCrossing = 0;
    long periods = -1;
    bool armed = false;
    for (std::size_t i = std::max<std::size_t>(settle, 1); i < y.size(); ++i) {
        if (y[i] < -h) armed = true;
        if (armed && y[i - 1] < 0 && y[i] >= 0) {
            const double t = (static_cast<double>(i - 1) + y[i - 1] / (y[i - 1] - y[i])) / rate;
            if (!firstCrossing) firstCrossing = t;
            lastCrossing = t;
            ++periods;
            armed = false;
        }
    }
    if (!firstCrossing || periods < 1) return std::nullopt;
    return static_cast<double>(periods) / (lastCrossing - *firstCrossing);
}

}  // namespace msr
