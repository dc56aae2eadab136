#include "measure/VerifyLook.h"

#include <algorithm>
#include <cmath>

#include "CommonUtils/Numbers.h"

namespace msr {
namespace {

constexpr TFlickerChoice kFlicker[]{
    {"10 мин (Pst по полному интервалу)", 600},
    {"1 мин (сокращённое наблюдение, оценка Pst)", 60},
};

constexpr TSpanChoice kSpans[]{
    {"1 период", 1}, {"2 периода", 2}, {"5 периодов", 5}, {"10 периодов", 10}, {"50 периодов", 50},
};

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kPassGreen = 0x006400;
constexpr std::uint32_t kFailBackground = 0xFFC8C8;
constexpr std::uint32_t kFailRed = 0xB00000;

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// A signal file's extension: a dot and one to four Latin letters at the end.
std::string WithoutExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || name.size() - dot - 1 > 4 || name.size() - dot - 1 == 0) return name;
    for (std::size_t i = dot + 1; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return name;
    }
    return name.substr(0, dot);
}

std::string WithExtension(const std::string& path, const std::string& extension) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

}  // namespace

std::span<const TFlickerChoice> FlickerChoices() { return kFlicker; }

bool FlickerChoiceApplies(TVerifyAction action) { return action == TVerifyAction::Koleb; }

TVerifyOptions OptionsFor(TVerifyAction action, std::size_t flickerChoice, int modification,
                          const sig::TCorrectionRecord& correction, const lnk::TSignalLibrary* library) {
    TVerifyOptions o;
    o.Capture.Action = action;
    o.Capture.Modification = modification;
    o.Capture.Correction = correction;
    o.Capture.Library = library;
    o.FlickerSeconds = kFlicker[std::min(flickerChoice, std::size(kFlicker) - 1)].Seconds;
    return o;
}

std::string CompareValue(double value) {
    if (!std::isfinite(value)) return "нет";
    const double a = std::abs(value);
    const int decimals = a >= 1000 ? 2 : a >= 1 ? 4 : 6;
    std::string text = cmn::FormatFixed(value, decimals);
    // "-0.000000" says less than "0".
    if (text.find_first_not_of("-0.") == std::string::npos) return "0";
    return text;
}

std::array<std::string, 7> CompareCells(const TCompareRow& row) {
    return {row.Unit.empty() ? row.Quantity : row.Quantity + ", " + row.Unit,
            CompareValue(row.Set),
            CompareValue(row.Measured),
            CompareValue(row.Difference),
            "±" + CompareValue(row.Tolerance),
            row.Rule,
            row.Pass ? "в допуске" : "ВНЕ ДОПУСКА"};
}

TCellLook CellLook(const TCompareRow& row, int column) {
    const bool verdict = column == kResultColumn;
    if (!row.Pass) return {kFailBackground, kFailRed, verdict};
    return {kWhite, verdict ? kPassGreen : kBlack, false};
}

std::string VerifySummary(const TVerifyReport& report) {
    const auto failed =
        std::count_if(report.Rows.begin(), report.Rows.end(), [](const TCompareRow& r) { return !r.Pass; });
    if (failed == 0) return "Все величины в допуске (" + std::to_string(report.Rows.size()) + ")";
    return "Вне допуска " + std::to_string(failed) + " из " + std::to_string(report.Rows.size());
}

int ProgressPercent(double fraction) {
    if (!(fraction > 0)) return 0;
    return static_cast<int>(std::lround(std::min(fraction, 1.0) * 100));
}

TPlotSet PlotsFor(const TVerifyReport& report, TVerifyAction action) {
    TPlotSet p;
    p.Waveform = report.Playback != nullptr;
    p.Harmonics = !report.Harmonics.empty();
    p.Pinst = action == TVerifyAction::Koleb && !report.Pinst.empty();
    p.HalfCycleRms = action == TVerifyAction::ColOver && !report.HalfCycleRms.empty();
    return p;
}

std::span<const TSpanChoice> SpanChoices() { return kSpans; }

double SpanSeconds(int periods, double frequency) {
    // A frequency not set yet is taken as the nominal 50 Hz.
    return std::max(periods, 1) / (frequency > 0 ? frequency : 50.0);
}

std::vector<TPlotPoint> PlotPoints(const TTimeSeries& series, std::size_t maxPoints) {
    const std::vector<double>& v = series.Values;
    std::vector<TPlotPoint> points;
    const auto at = [&](std::size_t i) {
        return TPlotPoint{series.Start + series.Step * static_cast<double>(i), v[i]};
    };
    if (v.size() <= std::max<std::size_t>(maxPoints, 2)) {
        for (std::size_t i = 0; i < v.size(); ++i) points.push_back(at(i));
        return points;
    }
    // Two points a stretch, the lower and the higher in the order they come.
    const std::size_t stretches = std::max<std::size_t>(maxPoints / 2, 1);
    for (std::size_t s = 0; s < stretches; ++s) {
        const std::size_t from = s * v.size() / stretches, to = (s + 1) * v.size() / stretches;
        if (from >= to) continue;
        const auto [lo, hi] = std::minmax_element(v.begin() + static_cast<std::ptrdiff_t>(from),
                                                  v.begin() + static_cast<std::ptrdiff_t>(to));
        const auto first = static_cast<std::size_t>(std::min(lo, hi) - v.begin());
        const auto second = static_cast<std::size_t>(std::max(lo, hi) - v.begin());
        points.push_back(at(first));
        if (second != first) points.push_back(at(second));
    }
    return points;
}

std::string SeriesLabel(const std::string& name) {
    const std::size_t space = name.find_last_of(' ');
    return space == std::string::npos || space + 1 == name.size() ? name : name.substr(space + 1);
}

std::pair<std::vector<TPlotPoint>, std::vector<TPlotPoint>> WaveformPoints(const TWaveformPair& pair) {
    std::pair<std::vector<TPlotPoint>, std::vector<TPlotPoint>> out;
    const auto fill = [&](const std::vector<double>& values, std::vector<TPlotPoint>& points) {
        for (std::size_t i = 0; i < values.size(); ++i)
            points.push_back({pair.Step * static_cast<double>(i) * 1000, values[i]});
    };
    fill(pair.Played, out.first);
    fill(pair.Ideal, out.second);
    return out;
}

THarmonicColumns HarmonicColumns(const THarmonicBars& bars) {
    THarmonicColumns c;
    for (std::size_t n = 2; n < bars.Set.size(); ++n) {
        c.Set.push_back(bars.Set[n]);
        c.Measured.push_back(bars.Measured[n]);
    }
    return c;
}

std::string ReportTime(const std::tm& t) {
    return Two(t.tm_mday) + "." + Two(t.tm_mon + 1) + "." + std::to_string(t.tm_year + 1900) + " " + Two(t.tm_hour) +
           ":" + Two(t.tm_min) + ":" + Two(t.tm_sec);
}

std::vector<std::string> ReportHeaderLines(const TVerifyReport& report, const TReportHeader& header,
                                           const std::string& version) {
    std::vector<std::string> lines{
        "Сигнал: " + header.Signal,
        "Действие: " + header.Action,
        "Дата и время проверки: " + header.Time,
        "Версия программы: " + version,
        "Модификация калибратора: " + header.Modification,
        "Итог: " + VerifySummary(report),
    };
    for (const std::string& note : report.Notes) lines.push_back("Примечание: " + note);
    return lines;
}

std::string ReportFileStem(const std::string& caption, const std::tm& t) {
    const std::size_t colon = caption.rfind(": ");
    std::string name = WithoutExtension(colon == std::string::npos ? caption : caption.substr(colon + 2));
    if (name.empty()) name = "сигнал";
    for (char& c : name)
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) c = '_';
    return "Проверка " + name + " " + std::to_string(t.tm_year + 1900) + "-" + Two(t.tm_mon + 1) + "-" +
           Two(t.tm_mday) + " " + Two(t.tm_hour) + "-" + Two(t.tm_min) + "-" + Two(t.tm_sec);
}

std::string PdfPath(const std::string& chosen) {
    const std::size_t dot = chosen.rfind('.');
    const std::size_t slash = chosen.find_last_of('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        std::string e = chosen.substr(dot);
        for (char& c : e) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (e == ".pdf") return chosen;
    }
    return chosen + ".pdf";
}

std::string CsvPathBeside(const std::string& pdfPath) { return WithExtension(pdfPath, ".csv"); }

}  // namespace msr
