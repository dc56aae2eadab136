#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "CommonUtils/ProtocolLog.h"
#include "editor/HarmonicRules.h"
#include "files/SignalFile.h"
#include "signal/SignalSet.h"

// The charts of the signal window without widgets: what each chart shows,
// its series and colours, what its scale controls accept, the texts of its
// point messages, the points of the waveforms and vector diagrams, and the
// chart state a signal file carries.
namespace edit {

// Colours as 0xRRGGBB, named as the window's toolkit names them.
namespace colour {
inline constexpr std::uint32_t Yellow = 0xFFFF00, Green = 0x008000, Red = 0xFF0000, Blue = 0x0000FF, Aqua = 0x00FFFF,
                               Black = 0x000000, White = 0xFFFFFF, Gray = 0x808080, Olive = 0x808000,
                               Fuchsia = 0xFF00FF, Silver = 0xC0C0C0;
}

struct TSeriesLook {
    std::string_view Title;
    std::uint32_t Colour;
};

// An item of a display list: its indexed text and the series it switches.
struct TListItem {
    std::string_view Text;
    int Series;
};

// Where the colour mark of a list item sits: from `FromRight` pixels left
// of the item's right edge to the right edge less `Inset`, `Inset` pixels
// inside the top and bottom.
struct TMarkPlace {
    int FromRight;
    int Inset;
};

// ---------------------------------------------------------------- bar charts

enum class BarChart : int { Voltage = 0, Current = 1, Power = 2, Converter = 3 };

inline constexpr int kBarPoints = 51;  // harmonic numbers 0 ... 50
inline constexpr std::string_view kBarAxisX = "Номер гармоники";
inline constexpr std::string_view kBarAxisY = "Коэффициент, %";

struct TBarChartLook {
    std::string_view Chart;      // the chart's name
    std::string_view Field;      // its scale field
    std::string_view ZoomIn;     // the button that lowers the maximum
    std::string_view ZoomOut;    // the button that raises it
    std::string_view List;       // its display list
    int InitialMaximum;          // the scale field's first value
    int FieldMaximum;            // the highest value the field takes
    std::string_view RangeText;  // shown for a value out of the field's range
    cmn::MessageKind PointKind;  // the kind of its point messages
    std::span<const TSeriesLook> Series;
    std::span<const TListItem> Items;
    TMarkPlace Mark;
    int Columns;  // of the display list
};

const TBarChartLook& BarChartLook(BarChart chart);

// The values of one bar series: point n = 1 ... 50 is the coefficient of
// the block at n, point 0 stays 0.
std::array<double, kBarPoints> BarValues(const sig::TGarmonikFaza& block);
// The series of a voltage, current or converter chart in the look's order.
std::vector<std::array<double, kBarPoints>> ChartBars(BarChart chart, const sig::TSignalSet& s);

// The power chart of one phase from its per-harmonic table: K_U(n), K_I(n)
// and the shares Kp, Kq, Ks of the per-harmonic powers.
std::vector<std::array<double, kBarPoints>> PowerBars(const TPowerTable& table);

// ---------------------------------------------------------------- scales

inline constexpr int kBarZoomLimit = 120;

// The outcome of an entry into a scale field.
struct TScaleEntry {
    bool Accepted = false;
    std::optional<std::string> Message;  // the refusal, "Warning"
    int Maximum = 0;                     // the new axis maximum when accepted
};

// A bar-chart scale field on Enter: a number above 0 up to the field's
// limit, rounded to an integer; 0 and 1 become 1.
TScaleEntry EnterBarScale(BarChart chart, std::string_view text);
// The buttons: one less while it stays above 0, one more up to 120;
// empty when nothing happens.
std::optional<int> ZoomBarIn(int maximum);
std::optional<int> ZoomBarOut(int maximum);

// The two axes of the waveform chart: volts (`Edit1`) and amperes (`Edit2`).
enum class WaveAxis : int { Voltage = 0, Current = 1 };

struct TWaveAxisLook {
    std::string_view Field, ZoomIn, ZoomOut;
    int Initial;
    int Limit;
    std::string_view Title;
};
const TWaveAxisLook& WaveAxisLook(WaveAxis axis);

// A waveform axis field when left or on Enter: an integer 1 ... limit; the
// axis then runs from -value to value.
TScaleEntry EnterWaveScale(WaveAxis axis, std::string_view text);
// Maximum -/+ 1 after rounding, while it stays above 0 / up to the limit.
std::optional<int> ZoomWaveIn(WaveAxis axis, double maximum);
std::optional<int> ZoomWaveOut(WaveAxis axis, double maximum);

// ---------------------------------------------------------------- point messages

// "<series>\rНомер гармоники <n>\rЗначение - <value>%".
std::string BarPointMessage(std::string_view series, int n, double value);
// "<series>\rВремя - <ms> мс.\r" and the value of a voltage or a current,
// the current in the format of the nominal current.
std::string WavePointMessage(std::string_view series, double seconds, double value, bool current,
                             sig::real currentNominal);

// ---------------------------------------------------------------- waveforms

// The nine series of the waveform chart, in its order.
enum WaveSeries : int { wsUA, wsUB, wsUC, wsUAB, wsUBC, wsUCA, wsIA, wsIB, wsIC, kWaveSeries };

std::span<const TSeriesLook, kWaveSeries> WaveSeriesLooks();
std::span<const TListItem> WaveListItems();
inline constexpr TMarkPlace kWaveListMark{70, 2};
inline constexpr std::string_view kZeroLineTitle = "Ось 0";
inline constexpr std::string_view kTimeAxisTitle = "Время, c";
inline constexpr double kLittleZeroLine = 778;  // half height of the little charts' vertical zero line

// The samples of one period (two with interharmonics) and their spacing.
struct TWaveTiming {
    int Samples = 0;  // N, the samples per period of the signal's frequency
    double Step = 0;  // dt in seconds between two samples
    bool TwoPeriods = false;
};
TWaveTiming WaveTiming(const sig::TSignalSet& s);

// The most cycles a component of the signal completes over the drawn
// samples: its highest order present in any voltage or current (the
// fundamental at least), doubled when two periods are drawn.
double HighestCycles(const sig::TSignalSet& s);

// Every how many samples a point is drawn on a chart `chartWidth` pixels
// wide: N / (width - 350) rounded, the 350 pixels being the chart's axes,
// titles and legend. A chart wider than 2 N + 350 pixels would give 0 and
// a narrow one a negative or infinite step, so the step is at least 1 (every
// sample drawn), and it never exceeds the step that still leaves 8 points
// per cycle of the fastest component (`cycles` over the samples), so that a
// narrow chart shows the harmonics' shape rather than an alias of them.
int DecimationStep(int samples, int chartWidth, double cycles);

struct TWavePoint {
    double Time;
    double Value;
};

// The samples of a series (a line voltage being the difference of its two
// phases) at i = 0, step, 2 step ... up to N - 1, at the times i dt.
std::vector<TWavePoint> WavePoints(const sig::TSignalSet& s, int series, const TWaveTiming& timing, int step);
// The same for every series `wanted`, each phase computed once and only at
// the drawn indices; the others stay empty.
using TWaveSet = std::array<std::vector<TWavePoint>, kWaveSeries>;
TWaveSet WaveSetPoints(const sig::TSignalSet& s, const std::array<bool, kWaveSeries>& wanted, const TWaveTiming& timing,
                       int step);

// ---------------------------------------------------------------- vector diagrams

struct TVectorEnd {
    double X, Y;
    std::uint32_t Colour;
};

// The arrows of a diagram, the extent of both axes (from -Extent to
// Extent) and the radii of its two circles.
struct TVectorDiagram {
    std::vector<TVectorEnd> Ends;
    double Extent = 0;
    double InnerRadius = 0;
    double OuterRadius = 0;
};

// Phase voltages A, B, C and line voltages AB, BC, CA; axes to L + 5.
TVectorDiagram VoltageDiagram(const sig::TSignalParamsU& v);
// Phase currents from their magnitudes and absolute angles; axes to L.
TVectorDiagram CurrentDiagram(const std::array<sig::TPolar, 3>& currents);
std::array<sig::TPolar, 3> CurrentPhasors(const sig::TSignalParamsI& c);
// L: the largest of |min x|, max x, |min y|, max y of the ends, plus `margin`.
// A diagram of zero phasors still gets axes: an extent of 0 would leave
// the chart without a range, so it is then 1.
TVectorDiagram Diagram(std::vector<TVectorEnd> ends, double margin);

// ---------------------------------------------------------------- display lists

std::span<const TListItem> VoltageListItems();
std::span<const TListItem> CurrentListItems();
std::span<const TListItem> PowerListItems();
std::span<const TListItem> ConverterListItems();

// What the charts show, as the window keeps it: the maxima of the voltage,
// current and power bar charts, the waveform axes and the check states of
// the voltage, current, power and waveform lists (by item).
struct TChartState {
    std::array<int, 3> BarMaxima{10, 30, 30};
    std::array<int, 2> WaveAxes{600, 10};
    std::array<bool, 6> VoltageItems{};
    std::array<bool, 3> CurrentItems{};
    std::array<bool, 5> PowerItems{};
    std::array<bool, 9> WaveItems{};
};

// The state a signal file gives: maxima rounded to integers and kept within
// what the scale buttons reach (1 ... 120 for bars, 1 ... the axis limit for
// the waveform axes), so that no file can leave a chart without a range.
TChartState ChartStateFromFile(const files::TSignalDisplayState& display);
files::TSignalDisplayState FileDisplayState(const TChartState& state);

}  // namespace edit
