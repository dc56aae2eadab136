#include "measure/engine/PlayedFlicker.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace msr {
namespace {

// Running sums of the squared values of one table, for sums over any run of ticks.
class TSquareSums {
public:
    TSquareSums(const TPlayback& p, int source, int first, int second) : sums_(p.TableLength() + 1, 0.0) {
        const std::vector<double>& a = p.Table(source, first);
        const std::vector<double>* b = second >= 0 ? &p.Table(source, second) : nullptr;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const double v = b != nullptr ? a[i] - (*b)[i] : a[i];
            sums_[i + 1] = sums_[i] + v * v;
        }
    }
    // The sum over ticks [from, to).
    double Sum(std::int64_t from, std::int64_t to) const { return Upto(to) - Upto(from); }

private:
    double Upto(std::int64_t tick) const {
        const auto n = static_cast<std::int64_t>(sums_.size() - 1);
        return static_cast<double>(tick / n) * sums_.back() + sums_[static_cast<std::size_t>(tick % n)];
    }
    std::vector<double> sums_;
};

}  // namespace

TFlickerResult PlayedFlicker(const TPlayback& playback, int first, int second, double seconds,
                             double nominalFrequency) {
    TFlickermeter meter(playback.Rate(), nominalFrequency);
    const TSquareSums sums[2]{{playback, 0, first, second}, {playback, 1, first, second}};
    const auto k = static_cast<std::int64_t>(meter.Decimation());
    const auto blocks = static_cast<std::int64_t>(seconds * meter.BlockRate());
    std::int64_t change = playback.NextChange(-1);
    int source = playback.SourceAt(0);
    for (std::int64_t b = 0; b < blocks; ++b) {
        std::int64_t at = b * k;
        const std::int64_t end = at + k;
        double sum = 0;
        while (at < end) {
            while (change <= at) {
                change = playback.NextChange(change);
                source = playback.SourceAt(at);
            }
            const std::int64_t to = std::min(end, change);
            sum += sums[source].Sum(at, to);
            at = to;
        }
        meter.PushBlock(sum / static_cast<double>(k));
    }
    return meter.Finish();
}

}  // namespace msr
