#include "measure/engine/Playback.h"

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "CommonUtils/TalvoError.h"

namespace msr {
namespace {

constexpr double kTimerBase = 33333334.0;
constexpr double kZeroCode = 32767.0;
constexpr double kHighVoltage = 220.0;
const double kLowVoltage = 100.0 / std::sqrt(3.0);
// Full-scale fractions of the channels: the voltage of the first and of the
// second modification, and the current.
constexpr double kVoltageScale[2] = {0.6938603561695532, 0.44};
constexpr double kCurrentScale = 2.0 / 3.0;
// The output stage is modelled over the band of the signal: up to the 50th
// harmonic on a one-period table, the order 50.5 on a two-period one.
constexpr int kStageBins = 101;

enum : std::uint16_t {
    kVoltageTable = 1,
    kCurrentTable = 2,
    kStartVoltage = 5,
    kStartCurrent = 6,
    kStartBoth = 7,
    kRange = 10,
    kDivisor = 12,
    kEvents = 13,
    kResetEvents = 14,
    kResetOutputs = 15
};

// The unit phasors e^(-2πij/n) of a table of n samples.
std::vector<std::complex<double>> Twiddles(std::size_t n) {
    std::vector<std::complex<double>> w(n);
    for (std::size_t j = 0; j < n; ++j)
        w[j] = std::polar(1.0, -2.0 * std::numbers::pi * static_cast<double>(j) / static_cast<double>(n));
    return w;
}

// Table bin k of a channel: the complex sum over one table.
std::complex<double> Bin(const std::vector<double>& x, std::size_t k, const std::vector<std::complex<double>>& w) {
    std::complex<double> sum = 0;
    std::size_t j = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sum += x[i] * w[j];
        j += k;
        if (j >= x.size()) j -= x.size();
    }
    return sum;
}

// Amplitude response of the second modification's output stage.
double StageGain(double frequency) {
    const double w = 2.0 * std::numbers::pi * frequency;
    return 1.0 / (std::sqrt(1.0 + w * kStageTau1 * w * kStageTau1) * std::sqrt(1.0 + w * kStageTau2 * w * kStageTau2));
}

// Multiplies the table's components in the signal band by the stage's gain.
void ThroughStage(std::vector<double>& x, double rate, const std::vector<std::complex<double>>& w) {
    const std::size_t n = x.size();
    const std::size_t last = std::min<std::size_t>(kStageBins, (n - 1) / 2);
    std::vector<double> delta(n, 0.0);
    for (std::size_t k = 0; k <= last; ++k) {
        const double gain = StageGain(rate * static_cast<double>(k) / static_cast<double>(n));
        const double factor = k == 0 ? 1.0 : 2.0;
        const std::complex<double> c = Bin(x, k, w) * (factor * (gain - 1.0) / static_cast<double>(n));
        std::size_t j = 0;
        for (std::size_t i = 0; i < n; ++i) {
            delta[i] += (c * std::conj(w[j])).real();
            j += k;
            if (j >= n) j -= n;
        }
    }
    for (std::size_t i = 0; i < n; ++i) x[i] += delta[i];
}

}  // namespace

double TimerClock(int divisor) { return kTimerBase / (divisor + 1); }

TPlayback::TPlayback(const std::vector<TSentCommand>& commands, const TDeviceModel& model)
    : modification_(model.Modification) {
    for (const TSentCommand& c : commands) Take(c, model);
    if (divisor_ < 0) throw cmn::TalvoError("Калибратору не передан коэффициент деления таймера");
    if (range_ < 0) throw cmn::TalvoError("Калибратору не переданы номинальные напряжение и ток");
    if (main_[chUA].empty()) throw cmn::TalvoError("Калибратору не передана и не запущена таблица напряжения");
    // The calibrator steps all its tables with one counter.
    for (int ch = 0; ch < kChannels; ++ch)
        for (const auto* t : {&main_[ch], &alternative_[ch]})
            if (!t->empty() && t->size() != length_) throw cmn::TalvoError("Таблицы калибратора разной длины");
    const double kf = model.Correction[12];
    rate_ = TimerClock(divisor_) / (1.0 + kf / 100.0);
    const std::vector<std::complex<double>> w = Twiddles(length_);
    if (modification_ == 1) ApplyOutputStage(w);
    // A two-period table has no component at its first bin; a one-period
    // table has its fundamental there (unless every fundamental is off).
    double first = 0, second = 0;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (main_[ch].size() != length_) continue;
        first = std::max(first, std::abs(Bin(main_[ch], 1, w)) * 2 / static_cast<double>(length_) / step_[ch]);
        second = std::max(second, std::abs(Bin(main_[ch], 2, w)) * 2 / static_cast<double>(length_) / step_[ch]);
    }
    cycles_ = (first < 4.0 && second > 4.0) ? 2 : 1;
}

void TPlayback::Take(const TSentCommand& c, const TDeviceModel& model) {
    switch (c.Code) {
        case kResetOutputs:
            started_ = false;
            events_.reset();
            break;
        case kDivisor: divisor_ = c.First; break;
        case kRange:
            range_ = c.First;
            voltageNominal_ = (range_ & 1) ? kHighVoltage : kLowVoltage;
            currentNominal_ = (range_ & 2) ? 5.0 : 1.0;
            break;
        case kVoltageTable:
            lastVoltage_ = DecodeTable(c.Block);
            if (started_) pendingAlternative_ = lastVoltage_;
            break;
        case kCurrentTable: current_ = DecodeTable(c.Block); break;
        case kStartVoltage:
        case kStartCurrent:
        case kStartBoth:
            if (!lastVoltage_ || range_ < 0) throw cmn::TalvoError("Запуск генерации без таблицы или диапазона");
            if (c.Code != kStartCurrent) {
                length_ = lastVoltage_->Samples();
                for (int p = 0; p < 3; ++p) main_[p] = ChannelValues(lastVoltage_->Phase[p], p, model);
            }
            if (c.Code != kStartVoltage && current_ && current_->Samples() != length_)
                throw cmn::TalvoError("Таблицы напряжения и тока разной длины");
            if (c.Code != kStartVoltage && current_) {
                for (int p = 0; p < 3; ++p) main_[3 + p] = ChannelValues(current_->Phase[p], 3 + p, model);
                currentPlayed_ = true;
            }
            pendingAlternative_.reset();
            started_ = true;
            break;
        case kEvents: {
            if (!pendingAlternative_)
                throw cmn::TalvoError("Параметры провалов переданы без второй таблицы напряжения");
            if (pendingAlternative_->Samples() != length_)
                throw cmn::TalvoError("Вторая таблица напряжения другой длины, чем первая");
            for (int p = 0; p < 3; ++p) alternative_[p] = ChannelValues(pendingAlternative_->Phase[p], p, model);
            const TTimingFields t = DecodeTiming(c.Block);
            // Each field counts one tick less than it lasts.
            events_ = TEvents{t.Start, t.Length + 1, t.Pause + 1, c.First};
            break;
        }
        case kResetEvents: events_.reset(); break;
        default: throw cmn::TalvoError("Неизвестный код команды " + std::to_string(c.Code));
    }
}

std::vector<double> TPlayback::ChannelValues(const std::vector<std::uint16_t>& codes, int channel,
                                             const TDeviceModel& model) {
    const bool voltage = channel < 3;
    const int phase = channel % 3;
    int slot = 0;
    if (voltage) slot = (range_ & 1) ? phase : 3 + phase;
    else slot = (range_ & 2) ? 9 + phase : 6 + phase;
    const double k = 1.0 + model.Correction[static_cast<std::size_t>(slot)] / 100.0;
    const double scale = voltage ? kVoltageScale[model.Modification == 0 ? 0 : 1] : kCurrentScale;
    const double nominal = voltage ? voltageNominal_ : currentNominal_;
    step_[channel] = std::sqrt(2.0) * nominal / (scale * k * kZeroCode);
    std::vector<double> values(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) values[i] = (codes[i] - kZeroCode) * step_[channel];
    return values;
}

void TPlayback::ApplyOutputStage(const std::vector<std::complex<double>>& w) {
    for (int ch = 0; ch < kChannels; ++ch) {
        if (main_[ch].size() == length_) ThroughStage(main_[ch], rate_, w);
        if (alternative_[ch].size() == length_) ThroughStage(alternative_[ch], rate_, w);
    }
}

const std::vector<double>& TPlayback::Table(int source, int channel) const {
    return source == 1 && !alternative_[channel].empty() ? alternative_[channel] : main_[channel];
}

int TPlayback::SourceAt(std::int64_t tick) const {
    if (!events_ || events_->Count <= 0 || tick < events_->Start || tick >= events_->End()) return 0;
    return (tick - events_->Start) % events_->Cycle() < events_->Length ? 1 : 0;
}

std::int64_t TPlayback::NextChange(std::int64_t tick) const {
    constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max() / 4;
    if (!events_ || events_->Count <= 0 || tick >= events_->End()) return kNever;
    if (tick < events_->Start) return events_->Start;
    const std::int64_t cycleStart = events_->Start + (tick - events_->Start) / events_->Cycle() * events_->Cycle();
    const std::int64_t eventEnd = cycleStart + events_->Length;
    return tick < eventEnd ? eventEnd : cycleStart + events_->Cycle();
}

double TPlayback::Value(int channel, std::int64_t tick) const {
    const std::vector<double>& t = Table(SourceAt(tick), channel);
    if (t.empty()) return 0.0;
    const std::int64_t n = static_cast<std::int64_t>(length_);
    return t[static_cast<std::size_t>(((tick % n) + n) % n)];
}

std::vector<double> TPlayback::Render(int channel, std::int64_t first, std::size_t count) const {
    std::vector<double> out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = Value(channel, first + static_cast<std::int64_t>(i));
    return out;
}

}  // namespace msr
