#include "ui/charts/ChartStyle.h"

#include <QChart>
#include <QChartView>
#include <QToolButton>

#include "ui/common/Texts.h"

namespace ui {

QChart* NewChart() {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(QColor(0xB8, 0xB8, 0xB8));
    chart->setPlotAreaBackgroundVisible(true);
    return chart;
}

QChartView* NewChartView(QChart* chart, const char* name) {
    auto* view = new QChartView(chart);
    NameControl(view, name, chart->title());
    view->setRenderHint(QPainter::Antialiasing, false);
    return view;
}

QToolButton* ScaleButton(const QString& text, const char* name, const QString& hint) {
    auto* button = new QToolButton;
    button->setText(text);
    button->setToolTip(hint);
    NameControl(button, name, hint);
    return button;
}

}  // namespace ui
