#pragma once

#include <QChartView>
#include <QWidget>
#include <array>
#include <functional>

#include "editor/ChartRules.h"
#include "signal/SignalSet.h"

class QLineSeries;
class QValueAxis;

namespace ui {

class TCheckList;
class TFieldEdit;

// Which waveform chart: the large one of its own page, or the little one
// of the voltage, current or converter views.
enum class WaveChartKind { Main, Voltage, Current, Converter };

// The waveforms of the signal over one period (two with interharmonics):
// the switched-on series at every step-th sample. A hidden chart draws when
// it is shown next. A click on a point of the large chart or the voltage
// chart tells its time and value.
class TWaveChart : public QChartView {
    Q_OBJECT
public:
    TWaveChart(WaveChartKind kind, const sig::TSignalSet& signal, QWidget* parent = nullptr);

    // Draws now when shown, otherwise when shown next.
    void Refresh();
    void Draw();
    void Switch(int series, bool on);
    bool Shown(int series) const { return shown_[series]; }
    const QLineSeries* Series(int series) const { return series_[series]; }
    int Step() const { return step_; }
    QValueAxis& AxisY(edit::WaveAxis axis);
    QValueAxis& AxisX() { return *axisX_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void DrawSeries(int series, const std::vector<edit::TWavePoint>& wave);
    void PointClicked(int series, const QPointF& at);

    WaveChartKind kind_;
    const sig::TSignalSet& signal_;
    std::array<QLineSeries*, edit::kWaveSeries> series_{};
    std::array<bool, edit::kWaveSeries> shown_{};
    QLineSeries* zero_;
    QValueAxis* axisX_;
    QValueAxis* axisU_ = nullptr;
    QValueAxis* axisI_ = nullptr;
    int step_ = 1;
    bool stale_ = true;
};

// The page of the large waveform chart: the chart, its display list and
// the scales of its voltage and current axes. `drawing` is told 1 before
// and 2 after every drawing of the chart.
class TWavePage : public QWidget {
    Q_OBJECT
public:
    TWavePage(const sig::TSignalSet& signal, std::function<void(int)> drawing, QWidget* parent = nullptr);

    void Show_Chart_U_I();
    TWaveChart& Chart() { return *chart_; }
    TCheckList& List() { return *list_; }
    int AxisMaximum(edit::WaveAxis axis) const { return maxima_[static_cast<int>(axis)]; }
    void SetAxisMaximum(edit::WaveAxis axis, int maximum);

private:
    QWidget* ScaleRow(edit::WaveAxis axis);
    void TakeField(edit::WaveAxis axis, bool entered);

    TWaveChart* chart_;
    TCheckList* list_;
    std::function<void(int)> drawing_;
    std::array<TFieldEdit*, 2> fields_{};
    std::array<int, 2> maxima_{};
    bool taking_ = false;
};

}  // namespace ui
