#include "ui/signal/OnePhasePage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "editor/FundamentalChoices.h"
#include "signal/Calculations.h"
#include "ui/charts/BarChartPanel.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/Texts.h"
#include "ui/signal/HarmonicEditor.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {

TOnePhasePage::TOnePhasePage(TForm2& form, TPageFields& fields) : form_(form), fields_(fields) {
    // The values above the power chart, the per-harmonic table beside them.
    auto* left = new QVBoxLayout;
    left->addWidget(Values());
    left->addWidget(Powers());
    left->addWidget(&form_.Charts().Bars(edit::BarChart::Power), 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left);
    harmonics_ = new TOnePhaseHarmonics(form_);
    connect(harmonics_, &TOnePhaseHarmonics::TableChanged, this, &TOnePhasePage::ShowPowerBars);
    connect(&form_.Charts().Bars(edit::BarChart::Power), &TBarChartPanel::Switched, harmonics_,
            &TOnePhaseHarmonics::Rebuild);
    layout->addWidget(harmonics_, 1);
    FillHeight(*this);
}

QWidget* TOnePhasePage::Values() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    phase_ = new QComboBox;
    NameControl(phase_, "cb_faza", QStringLiteral("Фаза"));
    phase_->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    connect(phase_, &QComboBox::activated, this, &TOnePhasePage::PhaseChosen);
    grid->addWidget(new QLabel(QStringLiteral("Фаза")), 0, 0);
    grid->addWidget(phase_, 0, 1);

    const QStringList heads{QStringLiteral("Действующее значение"), QStringLiteral("Отклонение, %"),
                            QStringLiteral("Диапазон")};
    for (int c = 0; c < heads.size(); ++c) grid->addWidget(new QLabel(heads[c]), 1, c + 1, Qt::AlignCenter);
    voltageRange_ = RangeBox("cb_out_volltage", true);
    currentRange_ = RangeBox("cb_out_current", false);
    connect(voltageRange_, &QComboBox::activated, this, [this] { RangeChosen(voltageRange_, true); });
    connect(currentRange_, &QComboBox::activated, this, [this] { RangeChosen(currentRange_, false); });
    grid->addWidget(new QLabel(QStringLiteral("Напряжение, В")), 2, 0);
    grid->addWidget(fields_.Control("e_dey_znach_u_one_faza"), 2, 1);
    grid->addWidget(fields_.Control("e_one_faza_u_otcl"), 2, 2);
    grid->addWidget(voltageRange_, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Ток, А")), 3, 0);
    grid->addWidget(fields_.Control("e_dey_znach_i_one_faza"), 3, 1);
    grid->addWidget(fields_.Control("e_one_faza_i_otcl"), 3, 2);
    grid->addWidget(currentRange_, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("Угол между током и напряжением")), 4, 0, 1, 2);
    grid->addWidget(fields_.Control("e_angle"), 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Коэффициент мощности")), 5, 0, 1, 2);
    grid->addWidget(fields_.Control("e_cos_angle"), 5, 2);
    grid->addWidget(new QLabel(QStringLiteral("Частота, Гц")), 6, 0);
    grid->addWidget(fields_.Control("e_one_power_rate"), 6, 1);
    return box;
}

QWidget* TOnePhasePage::Powers() {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SymbolGrid(QStringLiteral("Мощность первой гармоники"), fields_,
                                 {"e_active_one_faza", "e_reactive_one_faza", "e_all_one_faza"}, 1));
    layout->addWidget(SymbolGrid(QStringLiteral("Коэффициенты искажения"), fields_, {"Edit20", "Edit21"}, 1));
    return box;
}

int TOnePhasePage::Phase() const { return phase_->currentIndex(); }

void TOnePhasePage::Show(const sig::TSignalSet& s) {
    voltageRange_->setCurrentText(Q(edit::NominalUChoice(s.Voltage)));
    currentRange_->setCurrentText(Q(edit::NominalIChoice(s.Current)));
    // The per-harmonic powers follow the phase's fundamentals.
    harmonics_->Rebuild();
}

void TOnePhasePage::PhaseChosen() {
    RecalculatePhase();
    harmonics_->SetPhase(Phase());
    form_.ShowAllData_Power();  // rebuilds the phase's table
}

void TOnePhasePage::ShowPowerBars() { form_.Charts().ShowPowerBars(harmonics_->Table()); }

void TOnePhasePage::RecalculatePhase() {
    sig::TSignalSet& s = form_.Signal();
    sig::CalcPhaseFundamentalPowers(s.Voltage, s.Current, s.Switches, Phase(), s.FundamentalPowers);
}

void TOnePhasePage::RangeChosen(QComboBox* box, bool voltage) {
    if (ApplyRange(form_, *box, voltage)) RecalculatePhase();
    form_.ShowAllData_Power();
}

}  // namespace ui
