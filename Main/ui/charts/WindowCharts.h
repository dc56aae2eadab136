#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "editor/ChartRules.h"
#include "signal/SignalSet.h"

class QWidget;

namespace ui {

class TBarChartPanel;
class TPowerVectorPanel;
class TVectorChart;
class TWaveChart;
class TWavePage;

// Every chart of a signal window, made once with the window and placed by
// its pages; they show the window's signal. A chart no page has taken is
// deleted with this object.
class TWindowCharts : public QObject {
    Q_OBJECT
public:
    // `drawing` gets 1 before and 2 after the waveform page is drawn.
    TWindowCharts(const sig::TSignalSet& signal, std::function<void(int)> drawing, QObject* parent);
    ~TWindowCharts() override;

    TBarChartPanel& Bars(edit::BarChart chart) { return *bars_[static_cast<int>(chart)]; }
    TWaveChart& VoltageWaves() { return *voltageWaves_; }      // little chart of the voltage page
    TWaveChart& CurrentWaves() { return *currentWaves_; }      // of the current page
    TWaveChart& ConverterWaves() { return *converterWaves_; }  // of the converter page
    TVectorChart& VoltageVectors() { return *voltageVectors_; }
    TVectorChart& CurrentVectors() { return *currentVectors_; }
    TVectorChart& ConverterVectors() { return *converterVectors_; }
    TPowerVectorPanel& PowerVectors() { return *powerVectors_; }
    TWavePage& WavePage() { return *wavePage_; }

    // The bar charts show the stores.
    void Show_Chart_u();
    void Show_Chart_i();
    void Show_Chart_i_iu();
    // The power chart from the single-phase page's per-harmonic table.
    void ShowPowerBars(const edit::TPowerTable& table);
    // The little waveform charts, drawn when shown.
    void Show_Little_Chart_U();
    void Show_Little_Chart_I();
    void Show_Little_Chart_I_iu();
    void Show_Chart_U_I();
    void ShowVoltageDiagram(const sig::TSignalParamsU& v);
    void ShowCurrentDiagram(const std::array<sig::TPolar, 3>& currents);
    void ShowConverterDiagram(const std::array<sig::TPolar, 3>& currents);
    void ShowPowerDiagram(const sig::TSignalParamsU& v, const sig::TSignalParamsI& c);
    // Everything anew from the records.
    void ShowAll();

    edit::TChartState State() const;
    // The display state of a signal file: maxima, axes, and the lists' items
    // checked as clicks would check them.
    void ShowChart1(const edit::TChartState& state);

private:
    const sig::TSignalSet& signal_;
    std::vector<TBarChartPanel*> bars_;
    TWaveChart* voltageWaves_;
    TWaveChart* currentWaves_;
    TWaveChart* converterWaves_;
    TVectorChart* voltageVectors_;
    TVectorChart* currentVectors_;
    TVectorChart* converterVectors_;
    TPowerVectorPanel* powerVectors_;
    TWavePage* wavePage_;
    std::vector<QPointer<QWidget>> made_;
};

}  // namespace ui
