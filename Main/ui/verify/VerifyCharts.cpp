#include "ui/verify/VerifyCharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "measure/VerifyLook.h"
#include "ui/charts/ChartStyle.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

// Enough points for a page's width; a longer series keeps its extremes.
constexpr std::size_t kMostPoints = 2400;

const QColor kPlayed(0x00, 0x30, 0xA0);
const QColor kIdeal(0xD0, 0x20, 0x20);
const QColor kSeriesColours[]{QColor(0xC0, 0x90, 0x00), QColor(0x00, 0x80, 0x00), QColor(0xC0, 0x00, 0x00),
                              QColor(0x60, 0x40, 0x00), QColor(0x00, 0x60, 0x90), QColor(0x80, 0x00, 0x80)};

QChart* NewPlot(const QString& title) {
    QChart* chart = NewChart();
    chart->setTitle(title);
    chart->legend()->show();
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QValueAxis* Axis(QChart* chart, const QString& title, Qt::Alignment side) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(axis, side);
    return axis;
}

QLineSeries* Line(QChart* chart, const QString& name, const std::vector<msr::TPlotPoint>& points, const QPen& pen,
                  QValueAxis* x, QValueAxis* y) {
    auto* series = new QLineSeries;
    series->setName(name);
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const msr::TPlotPoint& p : points) list.append(QPointF(p.X, p.Y));
    series->replace(list);
    chart->addSeries(series);
    // After adding: the chart's theme colours a series it takes.
    series->setPen(pen);
    series->attachAxis(x);
    series->attachAxis(y);
    return series;
}

// The axis spans what is drawn, with a little room above and below.
void Fit(QValueAxis* axis, double low, double high) {
    if (!std::isfinite(low) || !std::isfinite(high)) low = high = 0;
    const double room = std::max((high - low) * 0.05, std::max(std::abs(high), 1.0) * 1e-3);
    axis->setRange(low - room, high + room);
    axis->applyNiceNumbers();
}

}  // namespace

QChart* WaveformChart(const msr::TWaveformPair& pair, int channel) {
    const QString name = Q(msr::kWaveChannels[static_cast<std::size_t>(std::clamp(channel, 0, 5))]);
    QChart* chart = NewPlot(QStringLiteral("Форма сигнала %1: воспроизведённая и идеальная").arg(name));
    QValueAxis* x = Axis(chart, QStringLiteral("t, мс"), Qt::AlignBottom);
    QValueAxis* y = Axis(chart, channel < 3 ? QStringLiteral("U, В") : QStringLiteral("I, А"), Qt::AlignLeft);
    const auto [played, ideal] = msr::WaveformPoints(pair);
    Line(chart, QStringLiteral("идеальная"), ideal, QPen(kIdeal, 4), x, y);
    Line(chart, QStringLiteral("воспроизведённая"), played, QPen(kPlayed, 1.5), x, y);
    double low = 0, high = 0;
    for (const auto* points : {&played, &ideal})
        for (const msr::TPlotPoint& p : *points) {
            low = std::min(low, p.Y);
            high = std::max(high, p.Y);
        }
    // The span as chosen, in quarters.
    x->setRange(0, pair.Step * static_cast<double>(pair.Played.size()) * 1000);
    x->setTickCount(5);
    x->setLabelFormat(QStringLiteral("%.4g"));
    Fit(y, low, high);
    return chart;
}

QChart* HarmonicChart(const msr::THarmonicBars& bars) {
    QChart* chart = NewPlot(QStringLiteral("Гармоники %1: заданные и воспроизведённые").arg(Q(bars.Channel)));
    const msr::THarmonicColumns columns = msr::HarmonicColumns(bars);
    auto* set = new QBarSet(QStringLiteral("задано"));
    auto* measured = new QBarSet(QStringLiteral("измерено"));
    QStringList orders;
    double high = 0;
    for (std::size_t i = 0; i < columns.Set.size(); ++i) {
        set->append(columns.Set[i]);
        measured->append(columns.Measured[i]);
        orders.append(QString::number(i + 2));
        high = std::max({high, columns.Set[i], columns.Measured[i]});
    }
    set->setColor(QColor(0xF0, 0xF0, 0xF0));
    set->setBorderColor(Qt::black);
    measured->setColor(kPlayed);
    measured->setBorderColor(kPlayed);
    auto* series = new QBarSeries;
    series->append(set);
    series->append(measured);
    series->setBarWidth(0.9);
    chart->addSeries(series);
    // The bars stand on a hidden axis of the 49 orders; the axis shown
    // labels every fifth order, since 49 labels do not fit beside each other.
    auto* x = new QBarCategoryAxis;
    x->append(orders);
    x->setVisible(false);
    chart->addAxis(x, Qt::AlignBottom);
    QValueAxis* shown = Axis(chart, QStringLiteral("Порядок гармоники"), Qt::AlignBottom);
    shown->setRange(1.5, columns.Set.size() + 1.5);
    shown->setTickType(QValueAxis::TicksDynamic);
    shown->setTickAnchor(0);
    shown->setTickInterval(5);
    shown->setGridLineVisible(false);
    QValueAxis* y = Axis(chart, QStringLiteral("K, %"), Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    y->setRange(0, high > 0 ? high * 1.1 : 1);
    y->applyNiceNumbers();
    return chart;
}

QChart* TimeSeriesChart(const std::vector<msr::TTimeSeries>& series, const QString& title, const QString& axisTitle) {
    QChart* chart = NewPlot(title);
    QValueAxis* x = Axis(chart, QStringLiteral("t, с"), Qt::AlignBottom);
    QValueAxis* y = Axis(chart, axisTitle, Qt::AlignLeft);
    double low = INFINITY, high = -INFINITY, end = 0;
    for (std::size_t i = 0; i < series.size(); ++i) {
        const auto points = msr::PlotPoints(series[i], kMostPoints);
        Line(chart, Q(msr::SeriesLabel(series[i].Name)), points,
             QPen(kSeriesColours[i % std::size(kSeriesColours)], 1.5), x, y);
        for (const msr::TPlotPoint& p : points) {
            low = std::min(low, p.Y);
            high = std::max(high, p.Y);
            end = std::max(end, p.X);
        }
    }
    x->setRange(0, end > 0 ? end : 1);
    x->applyNiceNumbers();
    // From zero: a dip reads against the whole value, a dose against none.
    y->setRange(std::min(low, 0.0), high > 0 ? high * 1.05 : 1);
    y->applyNiceNumbers();
    return chart;
}

}  // namespace ui
