#include "ui/charts/WaveChart.h"

#include <QChart>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/charts/ChartStyle.h"
#include "ui/charts/CheckList.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Reentry.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

struct TKindLook {
    const char* Name;
    int First, Last;  // the series it has
    bool Clicks;
};

constexpr TKindLook kKinds[]{{"Chart4", edit::wsUA, edit::wsIC, true},
                             {"Chart7", edit::wsUA, edit::wsUCA, true},
                             {"Chart8", edit::wsIA, edit::wsIC, false},
                             {"Chart13", edit::wsIA, edit::wsIC, false}};

QValueAxis* NewAxis(const QString& title, double extent) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(-extent, extent);
    axis->setLabelFormat(QStringLiteral("%g"));
    return axis;
}

}  // namespace

TWaveChart::TWaveChart(WaveChartKind kind, const sig::TSignalSet& signal, QWidget* parent)
    : QChartView(NewChart(), parent), kind_(kind), signal_(signal), zero_(new QLineSeries), axisX_(new QValueAxis) {
    const TKindLook& look = kKinds[static_cast<int>(kind)];
    NameControl(this, look.Name);
    setRenderHint(QPainter::Antialiasing, false);
    QChart* c = chart();
    axisX_->setTitleText(Q(edit::kTimeAxisTitle));
    axisX_->setLabelFormat(QStringLiteral("%.4f"));
    c->addAxis(axisX_, Qt::AlignBottom);
    const bool main = kind == WaveChartKind::Main;
    if (look.First == edit::wsUA) {
        axisU_ = NewAxis(Q(edit::WaveAxisLook(edit::WaveAxis::Voltage).Title), main ? 600 : 1);
        c->addAxis(axisU_, Qt::AlignLeft);
    }
    if (look.Last == edit::wsIC) {
        axisI_ = NewAxis(Q(edit::WaveAxisLook(edit::WaveAxis::Current).Title), main ? 10 : 1);
        c->addAxis(axisI_, main ? Qt::AlignRight : Qt::AlignLeft);
    }
    zero_->setName(Q(edit::kZeroLineTitle));
    c->addSeries(zero_);
    zero_->setPen(QPen(Qt::black, 1));
    zero_->attachAxis(axisX_);
    zero_->attachAxis(axisU_ ? axisU_ : axisI_);
    const auto looks = edit::WaveSeriesLooks();
    for (int s = look.First; s <= look.Last; ++s) {
        auto* series = new QLineSeries;
        series->setName(Q(looks[s].Title));
        series->setVisible(false);
        c->addSeries(series);
        // After adding: the chart's theme colours a series it takes.
        QPen pen(ChartColour(looks[s].Colour));
        pen.setWidth(2);
        series->setPen(pen);
        series->attachAxis(axisX_);
        series->attachAxis(s >= edit::wsIA ? axisI_ : axisU_);
        if (look.Clicks)
            connect(series, &QLineSeries::clicked, this, [this, s](const QPointF& at) { PointClicked(s, at); });
        series_[s] = series;
    }
}

QValueAxis& TWaveChart::AxisY(edit::WaveAxis axis) { return axis == edit::WaveAxis::Voltage ? *axisU_ : *axisI_; }

void TWaveChart::Refresh() {
    if (isVisible()) Draw();
    else stale_ = true;
}

void TWaveChart::showEvent(QShowEvent* event) {
    QChartView::showEvent(event);
    // The large chart is drawn by its page's selection, between its status reports.
    if (stale_ && kind_ != WaveChartKind::Main) Draw();
}

void TWaveChart::Draw() {
    stale_ = false;
    const edit::TWaveTiming timing = edit::WaveTiming(signal_);
    step_ = edit::DecimationStep(timing.Samples, width(), edit::HighestCycles(signal_));
    const double end = timing.Samples > 1 ? (timing.Samples - 1) * timing.Step : 1;
    axisX_->setRange(0, end);
    if (kind_ == WaveChartKind::Main) zero_->replace(QList<QPointF>{{0, 0}, {end, 0}});
    else zero_->replace(QList<QPointF>{{0, -edit::kLittleZeroLine}, {0, edit::kLittleZeroLine}});
    std::array<bool, edit::kWaveSeries> wanted{};
    for (int s = 0; s < edit::kWaveSeries; ++s) wanted[s] = series_[s] && shown_[s];
    const edit::TWaveSet set = edit::WaveSetPoints(signal_, wanted, timing, step_);
    for (int s = 0; s < edit::kWaveSeries; ++s)
        if (series_[s]) DrawSeries(s, set[s]);
    if (kind_ == WaveChartKind::Main) return;
    // The little charts fit their vertical axis to what they show.
    double extent = 0;
    for (QLineSeries* series : series_)
        if (series && series->isVisible())
            for (const QPointF& p : series->points()) extent = std::max(extent, std::abs(p.y()));
    extent = extent > 0 ? extent * 1.05 : 1;
    QValueAxis* axis = axisU_ ? axisU_ : axisI_;
    axis->setRange(-extent, extent);
    axis->applyNiceNumbers();
}

void TWaveChart::DrawSeries(int series, const std::vector<edit::TWavePoint>& wave) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(wave.size()));
    for (const edit::TWavePoint& p : wave) points.append({p.Time, p.Value});
    series_[series]->replace(points);
    series_[series]->setVisible(shown_[series]);
}

void TWaveChart::Switch(int series, bool on) {
    if (!series_[series]) return;
    shown_[series] = on;
    if (isVisible()) Draw();
    else stale_ = true;
}

void TWaveChart::PointClicked(int series, const QPointF& at) {
    const QList<QPointF> points = series_[series]->points();
    if (points.isEmpty()) return;
    const auto nearest = std::min_element(points.begin(), points.end(), [&](const QPointF& a, const QPointF& b) {
        return std::abs(a.x() - at.x()) < std::abs(b.x() - at.x());
    });
    const bool current = series >= edit::wsIA;
    MyShowMessage(edit::WavePointMessage(U(series_[series]->name()), nearest->x(), nearest->y(), current,
                                         signal_.Current.Nominal),
                  cmn::MessageKind::Ok);
}

TWavePage::TWavePage(const sig::TSignalSet& signal, std::function<void(int)> drawing, QWidget* parent)
    : QWidget(parent), chart_(new TWaveChart(WaveChartKind::Main, signal)), drawing_(std::move(drawing)) {
    std::vector<std::uint32_t> colours;
    for (const edit::TSeriesLook& look : edit::WaveSeriesLooks()) colours.push_back(look.Colour);
    list_ = new TCheckList("CheckListBox4", edit::WaveListItems(), colours, edit::kWaveListMark);
    connect(list_, &TCheckList::Switched, chart_, &TWaveChart::Switch);
    auto* side = new QVBoxLayout;
    side->addWidget(list_);
    side->addWidget(ScaleRow(edit::WaveAxis::Voltage));
    side->addWidget(ScaleRow(edit::WaveAxis::Current));
    side->addStretch();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart_, 1);
    layout->addLayout(side);
}

QWidget* TWavePage::ScaleRow(edit::WaveAxis axis) {
    const edit::TWaveAxisLook& look = edit::WaveAxisLook(axis);
    const int k = static_cast<int>(axis);
    auto* row = new QWidget;
    auto* zoomIn = ScaleButton(QStringLiteral("−"), look.ZoomIn.data(), QStringLiteral("Уменьшить масштаб"));
    auto* zoomOut = ScaleButton(QStringLiteral("+"), look.ZoomOut.data(), QStringLiteral("Увеличить масштаб"));
    fields_[k] = new TFieldEdit(false);
    NameControl(fields_[k], look.Field.data(), Q(look.Title));
    fields_[k]->setFixedWidth(52);
    maxima_[k] = look.Initial;
    fields_[k]->setText(QString::number(look.Initial));
    connect(zoomIn, &QToolButton::clicked, this, [this, axis] {
        if (const auto next = edit::ZoomWaveIn(axis, AxisMaximum(axis))) SetAxisMaximum(axis, *next);
    });
    connect(zoomOut, &QToolButton::clicked, this, [this, axis] {
        if (const auto next = edit::ZoomWaveOut(axis, AxisMaximum(axis))) SetAxisMaximum(axis, *next);
    });
    connect(fields_[k], &TFieldEdit::EnterPressed, this, [this, axis] { TakeField(axis, true); });
    connect(fields_[k], &TFieldEdit::Leaving, this, [this, axis] { TakeField(axis, false); });
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(Q(look.Title));
    caption->setMinimumWidth(36);
    layout->addWidget(caption);
    layout->addWidget(zoomIn);
    layout->addWidget(fields_[k]);
    layout->addWidget(zoomOut);
    layout->addStretch();
    return row;
}

void TWavePage::SetAxisMaximum(edit::WaveAxis axis, int maximum) {
    const int k = static_cast<int>(axis);
    maxima_[k] = maximum;
    chart_->AxisY(axis).setRange(-maximum, maximum);
    fields_[k]->setText(QString::number(maximum));
}

void TWavePage::TakeField(edit::WaveAxis axis, bool entered) {
    const TReentryGuard pass(taking_);
    if (!pass) return;
    TFieldEdit* field = fields_[static_cast<int>(axis)];
    const edit::TScaleEntry entry = edit::EnterWaveScale(axis, U(field->text()));
    if (!entry.Accepted) {
        MyShowMessage(*entry.Message, cmn::MessageKind::Warning);
        field->setFocus();
    } else {
        SetAxisMaximum(axis, entry.Maximum);
        if (entered) field->selectAll();
    }
}

void TWavePage::Show_Chart_U_I() {
    drawing_(1);
    chart_->Draw();
    drawing_(2);
}

}  // namespace ui
