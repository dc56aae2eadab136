#include "editor/ChartRules.h"
#include "editor/EntryMessages.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "CommonUtils/Format.h"
#include "CommonUtils/Numbers.h"
#include "editor/SignalFields.h"
#include "signal/Helpers.h"
#include "signal/Waveform.h"

namespace edit {
namespace {

using namespace colour;

constexpr std::string_view kBarRange = "Выход за границы диапазона!Повторите ввод!";

constexpr TSeriesLook kVoltageSeries[]{{"Ua", Yellow}, {"Uв", Green}, {"Uc", Red},
                                       {"Uав", Blue},  {"Uвс", Aqua}, {"Uса", Black}};
constexpr TSeriesLook kCurrentSeries[]{{"Фаза A", Yellow}, {"Фаза В", Green}, {"Фаза C", Red}};
constexpr TSeriesLook kPowerSeries[]{
    {"Ku(n)", Yellow}, {"Ki(n)", Green}, {"Kp(n)", Red}, {"Kq(n)", Blue}, {"Ks(n)", White}};

// The voltage list runs in three columns of a phase over its line.
constexpr TListItem kVoltageItems[]{{"  K~Ua(n)~", sig::fzA},   {"  K~Uaв(n)~", sig::fzAB}, {"  K~Uв(n)~", sig::fzB},
                                    {"  K~Uвс(n)~", sig::fzBC}, {"  K~Uc(n)~", sig::fzC},   {"  K~Uса(n)~", sig::fzCA}};
constexpr TListItem kCurrentItems[]{{"   K~Iа~", 0}, {"   K~Iв~", 1}, {"   K~Ic~", 2}};
constexpr TListItem kPowerItems[]{
    {"  K~U(n)~", 0}, {"  K~I(n)~", 1}, {"  K~P(n)~", 2}, {"  K~Q(n)~", 3}, {"  K~S(n)~", 4}};
constexpr TListItem kConverterItems[]{{"   U~Iа(n)~", 0}, {"   U~Ib(n)~", 1}, {"   U~Ic(n)~", 2}};

constexpr TSeriesLook kWaveSeriesLooks[kWaveSeries]{
    {"Напряжение фазы А", Yellow}, {"Напряжение фазы В", Green},  {"Напряжение фазы С", Red},
    {"Напряжение фазы АВ", Blue},  {"Напряжение фазы ВС", White}, {"Напряжение фазы СА", Gray},
    {"Ток фазы A", Olive},         {"Ток фазы B", Green},         {"Ток фазы С", Fuchsia}};
constexpr TListItem kWaveItems[kWaveSeries]{{"  U~А~", wsUA},   {"  U~В~", wsUB},   {"  U~C~", wsUC},
                                            {"  U~AB~", wsUAB}, {"  U~BC~", wsUBC}, {"  U~CA~", wsUCA},
                                            {"  I~A~", wsIA},   {"  I~B~", wsIB},   {"  I~C~", wsIC}};

const TBarChartLook kBarCharts[]{
    {"Chart1",
     "e_Zoom",
     "sb_Zoom_In",
     "sb_Zoom_Out",
     "CheckListBox1",
     10,
     80,
     kRangeError,
     cmn::MessageKind::Ok,
     kVoltageSeries,
     kVoltageItems,
     {45, 4},
     3},
    {"Chart2",
     "e_Zoom_i",
     "sb_Zoom_In_Axis_I",
     "sb_Zoom_Out_Axis_I",
     "CheckListBox2",
     30,
     kBarZoomLimit,
     kBarRange,
     cmn::MessageKind::Warning,
     kCurrentSeries,
     kCurrentItems,
     {40, 4},
     1},
    {"Chart3",
     "e_zoom_p",
     "SpeedButton1",
     "SpeedButton2",
     "CheckListBox3",
     30,
     kBarZoomLimit,
     kBarRange,
     cmn::MessageKind::Warning,
     kPowerSeries,
     kPowerItems,
     {47, 3},
     1},
    {"Chart11",
     "e_Zoom_i_iu",
     "SpeedButton29",
     "SpeedButton30",
     "CheckListBox5",
     30,
     kBarZoomLimit,
     kBarRange,
     cmn::MessageKind::Warning,
     kCurrentSeries,
     kConverterItems,
     {40, 4},
     1},
};

const TWaveAxisLook kWaveAxes[]{
    {"Edit1", "SpeedButton5", "SpeedButton6", 600, 1500, "U, В"},
    {"Edit2", "SpeedButton9", "SpeedButton10", 10, 11, "I, А"},
};

// Rounding of the window's toolkit: to the nearest, ties to even.
int RoundInt(long double x) { return static_cast<int>(std::nearbyint(x)); }

// The samples of one phase of voltage or current at the drawn indices: the
// chart waveform's sum of sines, each component turned on by a fixed angle
// from one drawn index to the next instead of evaluated anew. The sines of
// extended precision cost most of the drawing otherwise; the turns keep the
// values to about 1e-15 of the amplitude over the at most 5001 samples.
std::vector<sig::real> PhaseSamples(const sig::TSignalSet& s, int phase, bool current, const TWaveTiming& timing,
                                    int step) {
    const bool inter = s.Switches.IncludeInterGarm;
    const sig::TWaveBlocks w =
        current ? sig::CurrentWave(s.Current, s.Voltage, phase) : sig::VoltageWave(s.Voltage, phase);
    const bool on = current ? sig::IOn(s.Switches, phase) : sig::UOn(s.Switches, phase);
    const sig::real amplitude = std::sqrt(2.0L) * (current ? sig::I(s.Current, phase) : sig::U(s.Voltage, phase));
    const sig::real g = inter ? 2 : 1;
    struct TTurn {
        sig::real x, y, c, s;  // the component now and its turn per drawn step
    };
    std::vector<TTurn> parts;
    const auto add = [&](sig::real k, sig::real angleDeg, sig::real order) {
        const sig::TPhasor now = sig::PhasorExact(k, angleDeg);
        const sig::real turn = step * 2 * std::numbers::pi_v<sig::real> * order * g / timing.Samples;
        parts.push_back({now.x, now.y, std::cos(turn), std::sin(turn)});
    };
    if (on) add(1, w.FundamentalAngle, 1);
    for (int n = 2; n <= sig::kHarmonics; ++n)
        if (w.Harmonics.Koef[n] != 0) add(w.Harmonics.Koef[n] / 100, w.Harmonics.Angle[n], n);
    if (inter)
        for (int m = 1; m <= sig::kInterHarmonics; ++m)
            if (w.Inter.Koef[m] != 0) add(w.Inter.Koef[m] / 100, w.Inter.Angle[m], m + 0.5L);
    const int last = std::min(timing.Samples, sig::kChartSamples) - 1;
    std::vector<sig::real> values;
    values.reserve(last / step + 1);
    for (int i = 0; i <= last; i += step) {
        sig::real sum = 0;
        for (TTurn& p : parts) {
            sum += p.y;
            const sig::real x = p.x * p.c - p.y * p.s;
            p.y = p.x * p.s + p.y * p.c;
            p.x = x;
        }
        values.push_back(amplitude * sum);
    }
    return values;
}

}  // namespace

const TBarChartLook& BarChartLook(BarChart chart) { return kBarCharts[static_cast<int>(chart)]; }

std::array<double, kBarPoints> BarValues(const sig::TGarmonikFaza& block) {
    std::array<double, kBarPoints> values{};
    for (int n = 1; n < kBarPoints; ++n) values[n] = static_cast<double>(block.Koef[n]);
    return values;
}

std::vector<std::array<double, kBarPoints>> ChartBars(BarChart chart, const sig::TSignalSet& s) {
    std::vector<std::array<double, kBarPoints>> bars;
    // The converter page keeps its harmonics in the current parameters.
    const sig::TGarmonik& store = chart == BarChart::Voltage ? s.Voltage.Garmonik : s.Current.Garmonik;
    const int count = chart == BarChart::Voltage ? 6 : 3;
    for (int slot = 0; slot < count; ++slot) bars.push_back(BarValues(store.Faza(slot)));
    return bars;
}

std::vector<std::array<double, kBarPoints>> PowerBars(const TPowerTable& table) {
    std::vector<std::array<double, kBarPoints>> bars(5);
    const std::array series{&table.Ku, &table.Ki, &table.Kp, &table.Kq, &table.Ks};
    for (std::size_t k = 0; k < series.size(); ++k)
        for (int n = 2; n < kBarPoints; ++n) bars[k][n] = static_cast<double>((*series[k])[n]);
    return bars;
}

TScaleEntry EnterBarScale(BarChart chart, std::string_view text) {
    const std::optional<long double> value = cmn::ParseReal(text);
    if (!value) return {false, std::string(kParseError), 0};
    const TBarChartLook& look = BarChartLook(chart);
    if (*value <= 0 || *value > look.FieldMaximum) return {false, std::string(look.RangeText), 0};
    return {true, std::nullopt, std::max(RoundInt(*value), 1)};
}

std::optional<int> ZoomBarIn(int maximum) {
    if (maximum - 1 <= 0) return std::nullopt;
    return maximum - 1;
}

std::optional<int> ZoomBarOut(int maximum) {
    if (maximum + 1 > kBarZoomLimit) return std::nullopt;
    return maximum + 1;
}

const TWaveAxisLook& WaveAxisLook(WaveAxis axis) { return kWaveAxes[static_cast<int>(axis)]; }

TScaleEntry EnterWaveScale(WaveAxis axis, std::string_view text) {
    const std::optional<std::int32_t> value = cmn::ParseInt(text);
    if (!value) return {false, std::string(kParseError), 0};
    const TWaveAxisLook& look = WaveAxisLook(axis);
    if (*value < 1 || *value > look.Limit) {
        const std::string limit = std::to_string(look.Limit);
        if (axis == WaveAxis::Voltage)
            return {false, "Выход за границы диапазона (от 0 до " + limit + " В.) Повторите ввод!", 0};
        return {false, "Выход за границы диапазона (от 0 до" + limit + " А.)! Повторите ввод!", 0};
    }
    return {true, std::nullopt, *value};
}

std::optional<int> ZoomWaveIn(WaveAxis, double maximum) {
    const int next = RoundInt(maximum) - 1;
    if (next <= 0) return std::nullopt;
    return next;
}

std::optional<int> ZoomWaveOut(WaveAxis axis, double maximum) {
    const int next = RoundInt(maximum) + 1;
    if (next > WaveAxisLook(axis).Limit) return std::nullopt;
    return next;
}

std::string BarPointMessage(std::string_view series, int n, double value) {
    return std::string(series) + "\rНомер гармоники " + std::to_string(n) + "\rЗначение - " +
           cmn::Format("%2.3f", value) + "%";
}

std::string WavePointMessage(std::string_view series, double seconds, double value, bool current,
                             sig::real currentNominal) {
    std::string text = std::string(series) + "\rВремя - " + cmn::Format("%3.5f", seconds * 1000) + " мс.\r";
    if (current)
        return text + "Значение тока - " + cmn::Format(GetCurrentFmtStrByNominal(currentNominal), value) + " A.";
    return text + "Значение напряжения - " + cmn::Format("%2.3f", value) + " B.";
}

std::span<const TSeriesLook, kWaveSeries> WaveSeriesLooks() { return kWaveSeriesLooks; }
std::span<const TListItem> WaveListItems() { return kWaveItems; }

TWaveTiming WaveTiming(const sig::TSignalSet& s) {
    TWaveTiming timing;
    timing.TwoPeriods = s.Switches.IncludeInterGarm;
    const int samples = s.Grid.SamplesPerPeriod;
    const double f = static_cast<double>(s.Voltage.Freq);
    if (samples < 2 || !(f > 0)) return timing;
    timing.Samples = samples;
    timing.Step = 1.0 / f / (samples - 1) * (timing.TwoPeriods ? 2 : 1);
    return timing;
}

double HighestCycles(const sig::TSignalSet& s) {
    double order = 1;
    const bool inter = s.Switches.IncludeInterGarm;
    const auto scan = [&](const sig::TGarmonikFaza& block, const sig::TInterGarmonik& interBlock) {
        for (int n = 2; n <= sig::kHarmonics; ++n)
            if (block.Koef[n] != 0) order = std::max(order, double(n));
        if (inter)
            for (int m = 1; m <= sig::kInterHarmonics; ++m)
                if (interBlock.Koef[m] != 0) order = std::max(order, m + 0.5);
    };
    for (int p = 0; p < 3; ++p) {
        scan(s.Voltage.Garmonik.Faza(p), s.Voltage.InterGarm[p]);
        scan(s.Current.Garmonik.Faza(p), s.Current.InterGarm[p]);
    }
    return inter ? 2 * order : order;
}

int DecimationStep(int samples, int chartWidth, double cycles) {
    const int finest = std::max(1, static_cast<int>(samples / (std::max(cycles, 1.0) * 8)));
    const int plot = chartWidth - 350;
    if (plot <= 0) return finest;
    return std::clamp(RoundInt(static_cast<long double>(samples) / plot), 1, finest);
}

std::vector<TWavePoint> WavePoints(const sig::TSignalSet& s, int series, const TWaveTiming& timing, int step) {
    std::array<bool, kWaveSeries> wanted{};
    wanted[series] = true;
    return std::move(WaveSetPoints(s, wanted, timing, step)[series]);
}

TWaveSet WaveSetPoints(const sig::TSignalSet& s, const std::array<bool, kWaveSeries>& wanted, const TWaveTiming& timing,
                       int step) {
    TWaveSet set;
    if (timing.Samples < 2 || step < 1) return set;
    // Phases 0 ... 2 of voltage and 3 ... 5 of current, computed when a series needs them.
    std::array<std::vector<sig::real>, 6> phases;
    const auto phase = [&](int k) -> const std::vector<sig::real>& {
        if (phases[k].empty()) phases[k] = PhaseSamples(s, k % 3, k >= 3, timing, step);
        return phases[k];
    };
    for (int series = 0; series < kWaveSeries; ++series) {
        if (!wanted[series]) continue;
        std::vector<TWavePoint>& points = set[series];
        if (series >= wsUAB && series <= wsUCA) {
            const int line = series - wsUAB;
            const auto& x = phase(sig::LineFirstPhase(line));
            const auto& y = phase(sig::LineSecondPhase(line));
            for (std::size_t k = 0; k < x.size(); ++k)
                points.push_back({static_cast<double>(k) * step * timing.Step, static_cast<double>(x[k] - y[k])});
        } else {
            const auto& v = phase(series >= wsIA ? series - wsIA + 3 : series);
            for (std::size_t k = 0; k < v.size(); ++k)
                points.push_back({static_cast<double>(k) * step * timing.Step, static_cast<double>(v[k])});
        }
    }
    return set;
}

TVectorDiagram Diagram(std::vector<TVectorEnd> ends, double margin) {
    TVectorDiagram d;
    double l = 0;
    for (const TVectorEnd& e : ends) l = std::max({l, std::abs(e.X), std::abs(e.Y)});
    d.Ends = std::move(ends);
    d.OuterRadius = l;
    d.InnerRadius = std::nearbyint(l / 2);
    d.Extent = l + margin > 0 ? l + margin : 1;
    return d;
}

TVectorDiagram VoltageDiagram(const sig::TSignalParamsU& v) {
    std::vector<TVectorEnd> ends;
    for (int p = 0; p < 3; ++p) {
        const sig::TPhasor e = sig::PhasorExact(sig::U(v, p), sig::Shift(v, p));
        ends.push_back({static_cast<double>(e.x), static_cast<double>(e.y), kVoltageSeries[p].Colour});
    }
    for (int l = 0; l < 3; ++l) {
        const sig::TPhasor e = sig::PhasorExact(v.ULine[l], v.LineAngle[l]);
        ends.push_back({static_cast<double>(e.x), static_cast<double>(e.y), kVoltageSeries[3 + l].Colour});
    }
    return Diagram(std::move(ends), 5);
}

std::array<sig::TPolar, 3> CurrentPhasors(const sig::TSignalParamsI& c) {
    return {sig::TPolar{c.IA, c.AngleIA}, sig::TPolar{c.IB, c.AngleIB}, sig::TPolar{c.IC, c.AngleIC}};
}

TVectorDiagram CurrentDiagram(const std::array<sig::TPolar, 3>& currents) {
    std::vector<TVectorEnd> ends;
    for (int p = 0; p < 3; ++p) {
        const sig::TPhasor e = sig::PhasorExact(currents[p].Magnitude, currents[p].Angle);
        ends.push_back({static_cast<double>(e.x), static_cast<double>(e.y), kCurrentSeries[p].Colour});
    }
    return Diagram(std::move(ends), 0);
}

std::span<const TListItem> VoltageListItems() { return kVoltageItems; }
std::span<const TListItem> CurrentListItems() { return kCurrentItems; }
std::span<const TListItem> PowerListItems() { return kPowerItems; }
std::span<const TListItem> ConverterListItems() { return kConverterItems; }

TChartState ChartStateFromFile(const files::TSignalDisplayState& display) {
    TChartState state;
    const double bars[3]{display.VoltageBarMax, display.CurrentBarMax, display.PowerBarMax};
    for (int k = 0; k < 3; ++k) state.BarMaxima[k] = std::clamp(RoundInt(bars[k]), 1, kBarZoomLimit);
    const double axes[2]{display.VoltageAxisMax, display.CurrentAxisMax};
    for (int k = 0; k < 2; ++k) state.WaveAxes[k] = std::clamp(RoundInt(axes[k]), 1, kWaveAxes[k].Limit);
    state.VoltageItems = display.VoltagePhases;
    state.CurrentItems = display.CurrentPhases;
    state.PowerItems = display.PowerPhases;
    state.WaveItems = display.WaveformPhases;
    return state;
}

files::TSignalDisplayState FileDisplayState(const TChartState& state) {
    files::TSignalDisplayState display;
    display.VoltageBarMax = state.BarMaxima[0];
    display.CurrentBarMax = state.BarMaxima[1];
    display.PowerBarMax = state.BarMaxima[2];
    display.VoltageAxisMax = state.WaveAxes[0];
    display.CurrentAxisMax = state.WaveAxes[1];
    display.VoltagePhases = state.VoltageItems;
    display.CurrentPhases = state.CurrentItems;
    display.PowerPhases = state.PowerItems;
    display.WaveformPhases = state.WaveItems;
    return display;
}

}  // namespace edit
