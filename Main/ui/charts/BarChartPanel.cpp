#include "ui/charts/BarChartPanel.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include "ui/charts/ChartStyle.h"
#include "ui/charts/CheckList.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"

namespace ui {

TBarChartPanel::TBarChartPanel(edit::BarChart kind, QWidget* parent)
    : QWidget(parent),
      kind_(kind),
      look_(edit::BarChartLook(kind)),
      chart_(NewChart()),
      bars_(new QBarSeries),
      axisY_(new QValueAxis),
      field_(new TFieldEdit(false)),
      maximum_(look_.InitialMaximum) {
    std::vector<std::uint32_t> colours;
    for (const edit::TSeriesLook& series : look_.Series) {
        auto* set = new QBarSet(Q(series.Title), this);
        set->setColor(ChartColour(series.Colour));
        set->setBorderColor(ChartColour(series.Colour));
        for (int n = 0; n < edit::kBarPoints; ++n) set->append(0);
        sets_.push_back(set);
        shown_.push_back(false);
        colours.push_back(series.Colour);
    }
    bars_->setBarWidth(0.9);
    chart_->addSeries(bars_);
    // The harmonic numbers: bar n stands at n; every fifth number is
    // written, since 51 numbers side by side overlap on any usual width.
    auto* axisX = new QValueAxis;
    axisX->setRange(-0.5, edit::kBarPoints - 0.5);
    axisX->setTickType(QValueAxis::TicksDynamic);
    axisX->setTickAnchor(0);
    axisX->setTickInterval(5);
    axisX->setMinorTickCount(4);
    axisX->setLabelFormat(QStringLiteral("%d"));
    axisX->setTitleText(Q(edit::kBarAxisX));
    axisY_->setTitleText(Q(edit::kBarAxisY));
    axisY_->setLabelFormat(QStringLiteral("%g"));
    axisY_->setRange(0, maximum_);
    chart_->addAxis(axisX, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    bars_->attachAxis(axisX);
    bars_->attachAxis(axisY_);
    connect(bars_, &QBarSeries::clicked, this, &TBarChartPanel::BarClicked);

    auto* zoomIn = ScaleButton(QStringLiteral("−"), look_.ZoomIn.data(), QStringLiteral("Уменьшить масштаб"));
    auto* zoomOut = ScaleButton(QStringLiteral("+"), look_.ZoomOut.data(), QStringLiteral("Увеличить масштаб"));
    NameControl(field_, look_.Field.data(), QStringLiteral("Масштаб, %"));
    field_->setFixedWidth(48);
    field_->setText(QString::number(maximum_));
    connect(zoomIn, &QToolButton::clicked, this, [this] {
        if (const auto next = edit::ZoomBarIn(maximum_)) SetMaximum(*next);
    });
    connect(zoomOut, &QToolButton::clicked, this, [this] {
        if (const auto next = edit::ZoomBarOut(maximum_)) SetMaximum(*next);
    });
    connect(field_, &TFieldEdit::EnterPressed, this, &TBarChartPanel::TakeField);
    connect(field_, &TFieldEdit::Leaving, this, [this] { field_->setText(QString::number(maximum_)); });

    list_ = new TCheckList(look_.List.data(), look_.Items, colours, look_.Mark, look_.Columns);
    connect(list_, &TCheckList::Switched, this, &TBarChartPanel::Switch);

    auto* scale = new QHBoxLayout;
    scale->addWidget(new QLabel(QStringLiteral("Масштаб, %")));
    scale->addWidget(zoomIn);
    scale->addWidget(field_);
    scale->addWidget(zoomOut);
    scale->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(NewChartView(chart_, look_.Chart.data()), 1);
    layout->addLayout(scale);
    layout->addWidget(list_);
}

void TBarChartPanel::SetValues(const std::vector<std::array<double, edit::kBarPoints>>& series) {
    for (std::size_t s = 0; s < series.size() && s < sets_.size(); ++s)
        for (int n = 0; n < edit::kBarPoints; ++n)
            if (sets_[s]->at(n) != series[s][n]) sets_[s]->replace(n, series[s][n]);
}

void TBarChartPanel::SetMaximum(int maximum) {
    maximum_ = maximum;
    axisY_->setRange(0, maximum_);
    field_->setText(QString::number(maximum_));
}

bool TBarChartPanel::SeriesShown(int series) const { return shown_[series]; }

// A bar series holds the switched-on sets only, in the look's order.
void TBarChartPanel::Switch(int series, bool on) {
    if (shown_[series] != on) {
        shown_[series] = on;
        for (QBarSet* set : bars_->barSets()) bars_->take(set);
        for (std::size_t s = 0; s < sets_.size(); ++s) {
            if (!shown_[s]) continue;
            bars_->append(sets_[s]);
            // The chart's theme colours a set it takes; the series keep their own colours.
            const QColor colour = ChartColour(look_.Series[s].Colour);
            sets_[s]->setColor(colour);
            sets_[s]->setBorderColor(colour.darker(150));
        }
    }
    Q_EMIT Switched(series, on);
}

void TBarChartPanel::TakeField() {
    const edit::TScaleEntry entry = edit::EnterBarScale(kind_, U(field_->text()));
    if (!entry.Accepted) {
        MyShowMessage(*entry.Message, cmn::MessageKind::Warning);
        field_->setFocus();
        return;
    }
    SetMaximum(entry.Maximum);
    field_->selectAll();
}

void TBarChartPanel::BarClicked(int index, QBarSet* set) {
    MyShowMessage(edit::BarPointMessage(U(set->label()), index, set->at(index)), look_.PointKind);
}

}  // namespace ui
