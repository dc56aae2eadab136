#pragma once

#include <QChartView>
#include <QWidget>
#include <vector>

#include "editor/ChartRules.h"

class QCheckBox;
class QLineSeries;
class QValueAxis;

namespace ui {

// A vector diagram: arrows from the origin to the phasor ends, two circles
// and square axes. It may hold several groups of arrows (voltages and
// currents); the first shown group sets the axes and the circles.
class TVectorChart : public QChartView {
    Q_OBJECT
public:
    TVectorChart(const char* name, int groups, QWidget* parent = nullptr);

    // Draws now when shown, otherwise when shown next.
    void Draw(int group, const edit::TVectorDiagram& diagram);
    void ShowGroup(int group, bool on);
    // The arrow ends as drawn (when last shown).
    std::vector<QPointF> Ends(int group) const;
    double Extent() const;
    const QLineSeries& Circle(int k) const { return *circles_[k]; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Apply(int group);
    struct TGroup {
        std::vector<QLineSeries*> Arrows;
        edit::TVectorDiagram Diagram;
        bool Shown = true;
        bool Stale = false;
    };
    void Layout();
    void FitAxes();

    std::vector<TGroup> groups_;
    QLineSeries* circles_[2];
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    double extent_ = 1;
};

// The diagram of the three-phase page with its two switches "Напряжение"
// (`cb_enable_voltage`) and "Ток" (`cb_enable_current`).
class TPowerVectorPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPowerVectorPanel(QWidget* parent = nullptr);
    TVectorChart& Chart() { return *chart_; }

private:
    TVectorChart* chart_;
};

}  // namespace ui
