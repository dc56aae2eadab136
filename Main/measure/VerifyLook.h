#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "measure/Report.h"
#include "measure/Verify.h"

// The check of a signal as a window shows and saves it: the choices it
// offers, the texts and colours of the comparison table, which plots apply,
// the points the plots draw and the names of the report files. The window
// only puts these into widgets.
namespace msr {

inline constexpr std::string_view kVerifyTitle = "Проверка сигнала";
inline constexpr std::string_view kVerifyRunning = "Идёт проверка сигнала…";
inline constexpr std::string_view kVerifyBusy =
    "Идёт другое действие с калибратором. Повторите проверку после его окончания";
inline constexpr std::string_view kVerifyNotRun = "Проверка ещё не выполнялась";
inline constexpr std::string_view kReportTitle = "Отчёт о проверке сигнала";
inline constexpr std::string_view kReportSaveTitle = "Сохранить отчёт о проверке сигнала";
inline constexpr std::string_view kReportFilter = "Отчёт PDF (*.pdf)|*.pdf";

// The actions a signal can be checked with, in the order offered.
inline constexpr std::array<TVerifyAction, 3> kVerifyActions{TVerifyAction::Sinus, TVerifyAction::ColOver,
                                                             TVerifyAction::Koleb};

// Observations of the flicker; the first is the 10 minutes Pst is defined over.
struct TFlickerChoice {
    std::string_view Caption;
    double Seconds;
};
std::span<const TFlickerChoice> FlickerChoices();
// The observation matters to fluctuations only.
bool FlickerChoiceApplies(TVerifyAction action);

// What the check runs with, chosen in the window and taken from the program.
TVerifyOptions OptionsFor(TVerifyAction action, std::size_t flickerChoice, int modification,
                          const sig::TCorrectionRecord& correction, const lnk::TSignalLibrary* library);

// ---------------------------------------------------------------- the table

inline constexpr std::array<std::string_view, 7> kCompareColumns{"Величина", "Задано",  "Измерено", "Разность",
                                                                 "Допуск",   "Правило", "Результат"};
inline constexpr int kRuleColumn = 5;
inline constexpr int kResultColumn = 6;

// "0.00312", "220.0031", "1234.57"; "нет" for a value that could not be measured.
std::string CompareValue(double value);
// The texts of one row, column by column; the quantity carries its unit.
std::array<std::string, 7> CompareCells(const TCompareRow& row);

// Colours as 0xRRGGBB. A row out of tolerance stands out as a whole, its
// verdict in bold.
struct TCellLook {
    std::uint32_t Background;
    std::uint32_t Foreground;
    bool Bold;
};
TCellLook CellLook(const TCompareRow& row, int column);

// "Все величины в допуске (57)" or "Вне допуска 2 из 57".
std::string VerifySummary(const TVerifyReport& report);
// Whole percent of the progress fraction the check reports.
int ProgressPercent(double fraction);

// ---------------------------------------------------------------- the plots

struct TPlotSet {
    bool Waveform = false;
    bool Harmonics = false;
    bool Pinst = false;
    bool HalfCycleRms = false;
};
// A plot is offered when the action gives it something to draw: the
// flicker for fluctuations, the half-period RMS for dips and swells.
TPlotSet PlotsFor(const TVerifyReport& report, TVerifyAction action);

inline constexpr std::array<std::string_view, 6> kWaveChannels{"UA", "UB", "UC", "IA", "IB", "IC"};

// Spans of the waveform plot in periods of the signal's frequency.
struct TSpanChoice {
    std::string_view Caption;
    int Periods;
};
std::span<const TSpanChoice> SpanChoices();
double SpanSeconds(int periods, double frequency);

struct TPlotPoint {
    double X;
    double Y;
};
// A series drawn at most `maxPoints` points wide: a longer one keeps the
// lowest and the highest value of each stretch, so that no dip or peak is
// lost. X in seconds.
std::vector<TPlotPoint> PlotPoints(const TTimeSeries& series, std::size_t maxPoints);
// A series in a plot's legend: "Urms(1/2) AB" is "AB", the plot's title
// saying what it is.
std::string SeriesLabel(const std::string& name);
// The played and the ideal waveform, X in milliseconds.
std::pair<std::vector<TPlotPoint>, std::vector<TPlotPoint>> WaveformPoints(const TWaveformPair& pair);
// Orders 2 … 50 of one channel: set and measured, % of the fundamental.
struct THarmonicColumns {
    std::vector<double> Set;
    std::vector<double> Measured;
};
THarmonicColumns HarmonicColumns(const THarmonicBars& bars);

// ---------------------------------------------------------------- the report

// "10.12.2026 17:36:50".
std::string ReportTime(const std::tm& time);
// The lines above the table of the PDF report.
std::vector<std::string> ReportHeaderLines(const TVerifyReport& report, const TReportHeader& header,
                                           const std::string& version);
// "Проверка harmonics-dips-flicker 2026-12-10 17-36-50" from the signal
// window's caption: the file's name without its extension, or "сигнал" for
// a signal not saved yet; characters a file name cannot hold become "_".
std::string ReportFileStem(const std::string& caption, const std::tm& time);
// The PDF's path with ".pdf" at its end, and the table's CSV beside it.
std::string PdfPath(const std::string& chosen);
std::string CsvPathBeside(const std::string& pdfPath);

}  // namespace msr
