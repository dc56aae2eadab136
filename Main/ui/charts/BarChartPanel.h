#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "editor/ChartRules.h"

class QBarSet;
class QBarSeries;
class QChart;
class QChartView;
class QValueAxis;

namespace ui {

class TCheckList;
class TFieldEdit;

// A harmonic bar chart with its scale (field and two buttons) and its
// display list: bars 0 ... 50 of the series switched on, the left axis
// from 0 to the maximum the scale sets. A click on a bar tells its value.
class TBarChartPanel : public QWidget {
    Q_OBJECT
public:
    explicit TBarChartPanel(edit::BarChart kind, QWidget* parent = nullptr);

    // Every series takes its values; point 0 stays as given (0).
    void SetValues(const std::vector<std::array<double, edit::kBarPoints>>& series);
    int Maximum() const { return maximum_; }
    void SetMaximum(int maximum);
    TCheckList& List() { return *list_; }
    QChart& Chart() { return *chart_; }
    // The series switched on, in the look's order.
    bool SeriesShown(int series) const;
    const QBarSet& Set(int series) const { return *sets_[series]; }

Q_SIGNALS:
    // An item of the display list was switched: the window switches the
    // waveform of the same quantity too.
    void Switched(int series, bool on);

private:
    void Switch(int series, bool on);
    void TakeField();
    void BarClicked(int index, QBarSet* set);

    edit::BarChart kind_;
    const edit::TBarChartLook& look_;
    QChart* chart_;
    QBarSeries* bars_;
    QValueAxis* axisY_;
    std::vector<QBarSet*> sets_;
    std::vector<bool> shown_;
    TFieldEdit* field_;
    TCheckList* list_;
    int maximum_;
};

}  // namespace ui
