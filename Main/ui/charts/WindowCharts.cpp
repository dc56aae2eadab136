#include "ui/charts/WindowCharts.h"

#include "ui/charts/BarChartPanel.h"
#include "ui/charts/CheckList.h"
#include "ui/charts/VectorChart.h"
#include "ui/charts/WaveChart.h"

namespace ui {
namespace {

template <std::size_t N>
void CheckItems(TCheckList& list, const std::array<bool, N>& items) {
    for (int i = 0; i < static_cast<int>(N) && i < list.Count(); ++i) list.SetChecked(i, items[i]);
}

template <std::size_t N>
std::array<bool, N> CheckedItems(TCheckList& list) {
    std::array<bool, N> items{};
    for (int i = 0; i < static_cast<int>(N) && i < list.Count(); ++i) items[i] = list.Checked(i);
    return items;
}

}  // namespace

TWindowCharts::TWindowCharts(const sig::TSignalSet& signal, std::function<void(int)> drawing, QObject* parent)
    : QObject(parent),
      signal_(signal),
      voltageWaves_(new TWaveChart(WaveChartKind::Voltage, signal)),
      currentWaves_(new TWaveChart(WaveChartKind::Current, signal)),
      converterWaves_(new TWaveChart(WaveChartKind::Converter, signal)),
      voltageVectors_(new TVectorChart("Chart5", 1)),
      currentVectors_(new TVectorChart("Chart9", 1)),
      converterVectors_(new TVectorChart("Chart12", 1)),
      powerVectors_(new TPowerVectorPanel),
      wavePage_(new TWavePage(signal, std::move(drawing))) {
    for (auto kind :
         {edit::BarChart::Voltage, edit::BarChart::Current, edit::BarChart::Power, edit::BarChart::Converter})
        bars_.push_back(new TBarChartPanel(kind));
    // A voltage or current item switches its bars and its little waveform together.
    connect(bars_[0], &TBarChartPanel::Switched, voltageWaves_, &TWaveChart::Switch);
    connect(bars_[1], &TBarChartPanel::Switched, currentWaves_,
            [this](int series, bool on) { currentWaves_->Switch(edit::wsIA + series, on); });
    connect(bars_[3], &TBarChartPanel::Switched, converterWaves_,
            [this](int series, bool on) { converterWaves_->Switch(edit::wsIA + series, on); });
    for (QWidget* w : std::initializer_list<QWidget*>{voltageWaves_, currentWaves_, converterWaves_, voltageVectors_,
                                                      currentVectors_, converterVectors_, powerVectors_, wavePage_})
        made_.emplace_back(w);
    for (QWidget* w : bars_) made_.emplace_back(w);
}

TWindowCharts::~TWindowCharts() {
    for (const QPointer<QWidget>& w : made_)
        if (w && !w->parent()) delete w.data();
}

void TWindowCharts::Show_Chart_u() { bars_[0]->SetValues(edit::ChartBars(edit::BarChart::Voltage, signal_)); }
void TWindowCharts::Show_Chart_i() { bars_[1]->SetValues(edit::ChartBars(edit::BarChart::Current, signal_)); }
void TWindowCharts::Show_Chart_i_iu() { bars_[3]->SetValues(edit::ChartBars(edit::BarChart::Converter, signal_)); }

void TWindowCharts::ShowPowerBars(const edit::TPowerTable& table) { bars_[2]->SetValues(edit::PowerBars(table)); }

void TWindowCharts::Show_Little_Chart_U() { voltageWaves_->Refresh(); }
void TWindowCharts::Show_Little_Chart_I() { currentWaves_->Refresh(); }
void TWindowCharts::Show_Little_Chart_I_iu() { converterWaves_->Refresh(); }
void TWindowCharts::Show_Chart_U_I() { wavePage_->Show_Chart_U_I(); }

void TWindowCharts::ShowVoltageDiagram(const sig::TSignalParamsU& v) {
    voltageVectors_->Draw(0, edit::VoltageDiagram(v));
}

void TWindowCharts::ShowCurrentDiagram(const std::array<sig::TPolar, 3>& currents) {
    currentVectors_->Draw(0, edit::CurrentDiagram(currents));
}

void TWindowCharts::ShowConverterDiagram(const std::array<sig::TPolar, 3>& currents) {
    converterVectors_->Draw(0, edit::CurrentDiagram(currents));
}

void TWindowCharts::ShowPowerDiagram(const sig::TSignalParamsU& v, const sig::TSignalParamsI& c) {
    powerVectors_->Chart().Draw(0, edit::VoltageDiagram(v));
    powerVectors_->Chart().Draw(1, edit::CurrentDiagram(edit::CurrentPhasors(c)));
}

void TWindowCharts::ShowAll() {
    Show_Chart_u();
    Show_Chart_i();
    ShowVoltageDiagram(signal_.Voltage);
    ShowCurrentDiagram(edit::CurrentPhasors(signal_.Current));
    ShowPowerDiagram(signal_.Voltage, signal_.Current);
    Show_Little_Chart_U();
    Show_Little_Chart_I();
}

edit::TChartState TWindowCharts::State() const {
    edit::TChartState state;
    for (int k = 0; k < 3; ++k) state.BarMaxima[k] = bars_[k]->Maximum();
    state.WaveAxes = {wavePage_->AxisMaximum(edit::WaveAxis::Voltage), wavePage_->AxisMaximum(edit::WaveAxis::Current)};
    state.VoltageItems = CheckedItems<6>(bars_[0]->List());
    state.CurrentItems = CheckedItems<3>(bars_[1]->List());
    state.PowerItems = CheckedItems<5>(bars_[2]->List());
    state.WaveItems = CheckedItems<9>(wavePage_->List());
    return state;
}

void TWindowCharts::ShowChart1(const edit::TChartState& state) {
    for (int k = 0; k < 3; ++k) bars_[k]->SetMaximum(state.BarMaxima[k]);
    wavePage_->SetAxisMaximum(edit::WaveAxis::Voltage, state.WaveAxes[0]);
    wavePage_->SetAxisMaximum(edit::WaveAxis::Current, state.WaveAxes[1]);
    CheckItems(bars_[0]->List(), state.VoltageItems);
    CheckItems(bars_[1]->List(), state.CurrentItems);
    CheckItems(bars_[2]->List(), state.PowerItems);
    CheckItems(wavePage_->List(), state.WaveItems);
}

}  // namespace ui
