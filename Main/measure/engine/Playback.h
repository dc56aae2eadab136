#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "measure/engine/SentBytes.h"

// The calibrator's output reconstructed from the commands it received: the
// sample clock from the timer divisor, the ranges from the range command,
// the tables converted from codes to volts and amperes, and the events of
// the timing block (dips and swells, or the halves of a fluctuation).
namespace msr {

// The six output channels.
enum TChannel : int { chUA = 0, chUB = 1, chUC = 2, chIA = 3, chIB = 4, chIC = 5 };
inline constexpr int kChannels = 6;

// The calibrator as the program's settings describe it: the modification
// (0 the first, 1 the second) and the correction, % (voltage 220 V A, B, C;
// 57.7 V A, B, C; current 1 A A, B, C; 5 A A, B, C; frequency). The
// correction tells how far this calibrator's gains and clock are off, so
// the model's calibrator plays with those deviations.
struct TDeviceModel {
    int Modification = 1;
    std::array<double, 13> Correction{};
};

// The output stage of the second modification falls off as two first-order
// sections with these time constants, s.
inline constexpr double kStageTau1 = 1.0714e-5;
inline constexpr double kStageTau2 = 2.8e-6;

// The clock of the calibrator's timer for a divisor, ticks per second.
double TimerClock(int divisor);

// The events the timing block starts: `Count` events, the first `Start`
// ticks after a table period began, each `Length` ticks of the alternative
// table followed by `Pause` ticks of the main one.
struct TEvents {
    std::int64_t Start = 0;
    std::int64_t Length = 0;
    std::int64_t Pause = 0;
    std::int64_t Count = 0;
    std::int64_t Cycle() const { return Length + Pause; }
    std::int64_t End() const { return Start + Count * Cycle(); }
};

class TPlayback {
public:
    // Raises TalvoError when the commands do not leave the calibrator
    // playing: no timer divisor, no range, no voltage table started.
    TPlayback(const std::vector<TSentCommand>& commands, const TDeviceModel& model);

    // Ticks per second of the played clock (the model's clock deviation included).
    double Rate() const { return rate_; }
    std::size_t TableLength() const { return length_; }
    // Periods of the fundamental one table holds (1, or 2 with interharmonics).
    int CyclesPerTable() const { return cycles_; }
    // The fundamental frequency the clock gives: cycles per table over its duration.
    double ClockFrequency() const { return rate_ * cycles_ / static_cast<double>(length_); }
    int Divisor() const { return divisor_; }
    double VoltageNominal() const { return voltageNominal_; }
    double CurrentNominal() const { return currentNominal_; }
    bool CurrentPlayed() const { return currentPlayed_; }
    const std::optional<TEvents>& Events() const { return events_; }
    bool HasAlternative() const { return !alternative_[0].empty(); }
    // One code step of a channel, in volts or amperes (peak).
    double CodeStep(int channel) const { return step_[channel]; }

    // The table (0 main, 1 alternative) of a channel, one value per tick.
    const std::vector<double>& Table(int source, int channel) const;
    // 0 while the main table plays at this tick, 1 during an event.
    int SourceAt(std::int64_t tick) const;
    // The first tick after `tick` at which the playing table changes; a
    // very large number when it never does.
    std::int64_t NextChange(std::int64_t tick) const;
    double Value(int channel, std::int64_t tick) const;
    // `count` values of a channel from `first` on.
    std::vector<double> Render(int channel, std::int64_t first, std::size_t count) const;

private:
    void Take(const TSentCommand& c, const TDeviceModel& model);
    std::vector<double> ChannelValues(const std::vector<std::uint16_t>& codes, int channel, const TDeviceModel& model);
    void ApplyOutputStage(const std::vector<std::complex<double>>& w);

    double rate_ = 0;
    int divisor_ = -1;
    int range_ = -1;
    double voltageNominal_ = 0;
    double currentNominal_ = 0;
    std::size_t length_ = 0;
    int cycles_ = 1;
    bool started_ = false;
    bool currentPlayed_ = false;
    std::array<double, kChannels> step_{};
    std::optional<TTableCodes> lastVoltage_;
    std::optional<TTableCodes> pendingAlternative_;
    std::optional<TTableCodes> current_;
    std::array<std::vector<double>, kChannels> main_;
    std::array<std::vector<double>, kChannels> alternative_;
    std::optional<TEvents> events_;
    int modification_ = 1;
};

}  // namespace msr
