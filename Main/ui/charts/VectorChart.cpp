#include "ui/charts/VectorChart.h"

#include <QChart>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "ui/charts/ChartStyle.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

constexpr int kCirclePoints = 96;

// The arrow's shaft and a head of two short strokes at its end.
QList<QPointF> ArrowPoints(const edit::TVectorEnd& end, double extent) {
    const QPointF tip(end.X, end.Y);
    const double length = std::hypot(end.X, end.Y);
    if (length == 0) return {{0, 0}, tip};
    const double head = std::min(length * 0.3, extent * 0.06);
    const double angle = std::atan2(end.Y, end.X);
    const QPointF left(end.X - head * std::cos(angle - 0.4), end.Y - head * std::sin(angle - 0.4));
    const QPointF right(end.X - head * std::cos(angle + 0.4), end.Y - head * std::sin(angle + 0.4));
    return {{0, 0}, tip, left, tip, right};
}

QList<QPointF> CirclePoints(double radius) {
    QList<QPointF> points;
    for (int k = 0; k <= kCirclePoints; ++k) {
        const double a = 2 * std::numbers::pi * k / kCirclePoints;
        points.append({radius * std::cos(a), radius * std::sin(a)});
    }
    return points;
}

}  // namespace

TVectorChart::TVectorChart(const char* name, int groups, QWidget* parent)
    : QChartView(NewChart(), parent), groups_(groups), axisX_(new QValueAxis), axisY_(new QValueAxis) {
    NameControl(this, name);
    setRenderHint(QPainter::Antialiasing, true);
    QChart* c = chart();
    for (QValueAxis* axis : {axisX_, axisY_}) {
        // Four digits: the extent itself (L + 5) is rarely a round number.
        axis->setLabelFormat(QStringLiteral("%.4g"));
        axis->setRange(-1, 1);
    }
    c->addAxis(axisX_, Qt::AlignBottom);
    c->addAxis(axisY_, Qt::AlignLeft);
    for (QLineSeries*& circle : circles_) {
        circle = new QLineSeries;
        circle->setPen(QPen(QColor(0x60, 0x60, 0x60), 1, Qt::DashLine));
        c->addSeries(circle);
        circle->attachAxis(axisX_);
        circle->attachAxis(axisY_);
    }
}

void TVectorChart::Draw(int group, const edit::TVectorDiagram& diagram) {
    groups_[group].Diagram = diagram;
    groups_[group].Stale = true;
    if (isVisible()) Apply(group);
}

void TVectorChart::showEvent(QShowEvent* event) {
    QChartView::showEvent(event);
    for (int group = 0; group < static_cast<int>(groups_.size()); ++group)
        if (groups_[group].Stale) Apply(group);
}

void TVectorChart::Apply(int group) {
    TGroup& g = groups_[group];
    g.Stale = false;
    const edit::TVectorDiagram& diagram = g.Diagram;
    while (g.Arrows.size() < diagram.Ends.size()) {
        auto* arrow = new QLineSeries;
        chart()->addSeries(arrow);
        arrow->attachAxis(axisX_);
        arrow->attachAxis(axisY_);
        g.Arrows.push_back(arrow);
    }
    for (std::size_t k = 0; k < diagram.Ends.size(); ++k) {
        QPen pen(ChartColour(diagram.Ends[k].Colour));
        pen.setWidth(2);
        g.Arrows[k]->setPen(pen);
        g.Arrows[k]->replace(ArrowPoints(diagram.Ends[k], diagram.Extent));
        g.Arrows[k]->setVisible(g.Shown);
    }
    Layout();
}

void TVectorChart::ShowGroup(int group, bool on) {
    groups_[group].Shown = on;
    for (QLineSeries* arrow : groups_[group].Arrows) arrow->setVisible(on);
    Layout();
}

void TVectorChart::Layout() {
    for (const TGroup& g : groups_) {
        if (!g.Shown || g.Arrows.empty() || g.Stale) continue;
        extent_ = g.Diagram.Extent;
        FitAxes();
        circles_[0]->replace(CirclePoints(g.Diagram.InnerRadius));
        circles_[1]->replace(CirclePoints(g.Diagram.OuterRadius));
        return;
    }
}

std::vector<QPointF> TVectorChart::Ends(int group) const {
    std::vector<QPointF> ends;
    for (const QLineSeries* arrow : groups_[group].Arrows) ends.push_back(arrow->at(1));
    return ends;
}

double TVectorChart::Extent() const { return extent_; }

void TVectorChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    FitAxes();
}

// Both axes on one scale, so that the circles stay round: the shorter side
// of the plot runs from -extent to extent, the longer one further.
void TVectorChart::FitAxes() {
    constexpr double kLabels = 60;  // room the axis labels and margins take
    const double w = std::max(1.0, width() - kLabels);
    const double h = std::max(1.0, height() - kLabels);
    axisX_->setRange(-extent_ * std::max(1.0, w / h), extent_ * std::max(1.0, w / h));
    axisY_->setRange(-extent_ * std::max(1.0, h / w), extent_ * std::max(1.0, h / w));
}

TPowerVectorPanel::TPowerVectorPanel(QWidget* parent) : QWidget(parent), chart_(new TVectorChart("Chart10", 2)) {
    auto* voltage = new QCheckBox(QStringLiteral("Напряжение"));
    auto* current = new QCheckBox(QStringLiteral("Ток"));
    NameControl(voltage, "cb_enable_voltage", voltage->text());
    NameControl(current, "cb_enable_current", current->text());
    voltage->setChecked(true);
    current->setChecked(true);
    connect(voltage, &QCheckBox::toggled, this, [this](bool on) { chart_->ShowGroup(0, on); });
    connect(current, &QCheckBox::toggled, this, [this](bool on) { chart_->ShowGroup(1, on); });
    auto* switches = new QHBoxLayout;
    switches->addWidget(voltage);
    switches->addWidget(current);
    switches->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart_, 1);
    layout->addLayout(switches);
}

}  // namespace ui
