#include "Measure.h"

#include <filesystem>
#include <fstream>
#include <utility>

#include <nlohmann/json.hpp>

#include "measure/engine/Playback.h"
#include "measure/engine/SentBytes.h"
#include "measure/engine/Summary.h"

namespace calsim {
namespace {

using nlohmann::json;

// Dips are looked at over at most this long, the flicker over the ten
// minutes its severity is defined on.
constexpr double kEventSeconds = 60;
constexpr double kFlickerSeconds = 600;

json Channel(const msr::TChannelAnalysis& a) {
    json harmonics = json::array(), inter = json::array();
    const double u1 = std::abs(a.Fundamental());
    for (int n = 2; n <= msr::kHighestOrder; ++n) harmonics.push_back(u1 > 0 ? a.Harmonic[n] / u1 * 100 : 0.0);
    for (int m = 1; m < msr::kHighestOrder; ++m) inter.push_back(u1 > 0 ? a.Interharmonic[m] / u1 * 100 : 0.0);
    return {{"rms", a.Rms},
            {"fundamental", u1},
            {"angle", msr::Degrees(a.Fundamental())},
            {"thd", a.Thd(msr::kHighestOrder)},
            {"harmonics_percent_2_50", harmonics},
            {"interharmonics_percent_1_5_49_5", inter}};
}

json Summary(const msr::TPlayback& p, std::size_t frames) {
    const double nominal = p.ClockFrequency() > 55 ? 60 : 50;
    const msr::TPlayedSummary s = msr::Summarise(p, nominal, kEventSeconds, kFlickerSeconds);
    json out = {{"frames", frames},
                {"sample_clock", p.Rate()},
                {"table_samples", p.TableLength()},
                {"clock_frequency", s.ClockFrequency},
                {"crossing_frequency", s.CrossingFrequency},
                {"window_periods", s.Cycles},
                {"voltage_nominal", p.VoltageNominal()},
                {"current_nominal", p.CurrentNominal()}};
    json channels = json::object();
    for (int k = 0; k < msr::kAnalysed; ++k)
        if (s.Played[k]) channels[msr::kAnalysedNames[k]] = Channel(s.Channels[k]);
    out["channels"] = channels;
    out["voltage_unbalance"] = {{"u2", s.Voltage.U2()}, {"u0", s.Voltage.U0()}};
    if (p.CurrentPlayed()) out["current_unbalance"] = {{"u2", s.Current.U2()}, {"u0", s.Current.U0()}};
    if (s.HasEvents) {
        json events = {{"seconds", s.EventSeconds}};
        for (int k = 0; k < 6; ++k) {
            json list = json::array();
            for (const auto& e : s.Events[k].Events)
                list.push_back({{"kind", e.Swell ? "swell" : "dip"},
                                {"start", e.Start},
                                {"duration", e.Duration},
                                {e.Swell ? "maximum" : "residual", e.Extreme},
                                {"ended", e.Ended}});
            events[msr::kAnalysedNames[k]] = {{"declared", s.Events[k].Declared}, {"events", list}};
        }
        out["events"] = events;
    }
    if (s.HasFlicker) {
        json pst = json::object();
        for (int k = 0; k < 6; ++k) pst[msr::kAnalysedNames[k]] = s.Pst[k];
        out["flicker"] = {{"seconds", s.FlickerSeconds}, {"pst", pst}};
    }
    return out;
}

}  // namespace

Measurer::Measurer(std::string path, int modification)
    : path_(std::move(path)), modification_(modification), thread_([this] { Run(); }) {}

Measurer::~Measurer() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Measurer::Post(const std::vector<std::uint8_t>& received) {
    {
        std::lock_guard lock(mutex_);
        pending_ = received;
    }
    wake_.notify_one();
}

// A measurement asked for before the end is still written.
void Measurer::Run() {
    for (;;) {
        std::vector<std::uint8_t> bytes;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || pending_; });
            if (!pending_) return;
            bytes = std::move(*pending_);
            pending_.reset();
        }
        Write(bytes);
    }
}

void Measurer::Write(const std::vector<std::uint8_t>& received) const {
    json out;
    try {
        const auto commands = msr::SplitSentBytes(received);
        const msr::TPlayback playback(commands, {modification_, {}});
        out = Summary(playback, commands.size());
    } catch (const std::exception& e) {
        out = {{"error", e.what()}};
    }
    // Replaced in one step, so that a reader never sees half a file.
    const std::string temp = path_ + ".tmp";
    {
        std::ofstream file(temp, std::ios::trunc);
        file << out.dump(2) << "\n";
    }
    std::error_code ec;
    std::filesystem::rename(temp, path_, ec);
}

}  // namespace calsim
