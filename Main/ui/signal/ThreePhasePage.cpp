#include "ui/signal/ThreePhasePage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "CommonUtils/Format.h"
#include "editor/FundamentalChoices.h"
#include "ui/charts/VectorChart.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Reentry.h"
#include "ui/common/Texts.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

constexpr const char* kTableNames[3][3]{{"e_active_faza_a", "e_active_faza_b", "e_active_faza_c"},
                                        {"e_reactive_faza_a", "e_reactive_faza_b", "e_reactive_faza_c"},
                                        {"e_all_faza_a", "e_all_faza_b", "e_all_faza_c"}};
constexpr const char* kSumNames[3]{"e_summa_activ_power", "e_summa_reactiv_power", "e_summa_all_power"};

QLabel* NamedResult(const char* name, const QString& hint = {}) {
    QLabel* label = ResultLabel();
    label->setMinimumWidth(80);
    NameControl(label, name, hint);
    return label;
}

QString Real(const char* format, sig::real x) { return Q(cmn::Format(format, x)); }

}  // namespace

TThreePhasePage::TThreePhasePage(TForm2& form, TPageFields& fields)
    : form_(form), fields_(fields), timer_(new QTimer(this)) {
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TThreePhasePage::Tick);
    auto* left = new QVBoxLayout;
    left->addWidget(Values());
    // The energy under the power table it is computed from; the sequence
    // powers beside them, so the page fits a laptop screen's height.
    auto* lower = new QHBoxLayout;
    auto* powers = new QVBoxLayout;
    powers->addWidget(PowerTable());
    powers->addWidget(Energy());
    powers->addStretch(1);
    lower->addLayout(powers);
    lower->addWidget(Sequences(), 0, Qt::AlignTop);
    left->addLayout(lower);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left);
    layout->addWidget(&form_.Charts().PowerVectors(), 1);
    FillHeight(*this);
}

QWidget* TThreePhasePage::Values() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const QStringList heads{QStringLiteral("Напряжение, В"), QStringLiteral("Отклонение, %"),
                            QStringLiteral("Фазовый угол"),  QStringLiteral("Ток, А"),
                            QStringLiteral("Отклонение, %"), QStringLiteral("Угол между током и напряжением")};
    for (int c = 0; c < heads.size(); ++c)
        grid->addWidget(new QLabel(heads[c]), 0, c < 3 ? c + 1 : c + 2, Qt::AlignCenter);
    const char* voltages[3][3]{{"e_dey_znach_u_faza_a", "e_otcl_u_faza_a", "e_ugol_u_faza_a"},
                               {"e_dey_znach_u_faza_b", "e_otcl_u_faza_b", "e_ugol_u_faza_b"},
                               {"e_dey_znach_u_faza_c", "e_otcl_u_faza_c", "e_ugol_u_faza_c"}};
    const char* currents[3][3]{{"e_dey_znach_i_faza_a", "e_otcl_i_faza_a", "e_ugol_i_faza_a"},
                               {"e_dey_znach_i_faza_b", "e_otcl_i_faza_b", "e_ugol_i_faza_b"},
                               {"e_dey_znach_i_faza_c", "e_otcl_i_faza_c", "e_ugol_i_faza_c"}};
    for (int p = 0; p < 3; ++p) {
        grid->addWidget(fields_.Symbol(voltages[p][0]), p + 1, 0);
        grid->addWidget(fields_.Symbol(currents[p][0]), p + 1, 4);
        for (int c = 0; c < 3; ++c) {
            grid->addWidget(fields_.Control(voltages[p][c]), p + 1, c + 1);
            grid->addWidget(fields_.Control(currents[p][c]), p + 1, c + 5);
        }
    }
    voltageRange_ = RangeBox("cb_voltage_three_faza", true);
    currentRange_ = RangeBox("cb_current_three_faza", false);
    connect(voltageRange_, &QComboBox::activated, this, [this] { RangeChosen(voltageRange_, true); });
    connect(currentRange_, &QComboBox::activated, this, [this] { RangeChosen(currentRange_, false); });
    grid->addWidget(new QLabel(QStringLiteral("Диапазон")), 4, 0);
    grid->addWidget(voltageRange_, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Диапазон")), 4, 4);
    grid->addWidget(currentRange_, 4, 5);
    grid->addWidget(new QLabel(QStringLiteral("Частота, Гц")), 5, 0);
    grid->addWidget(fields_.Control("e_three_power_rate_1"), 5, 1);
    return box;
}

QWidget* TThreePhasePage::PowerTable() {
    auto* group = new QGroupBox;
    auto* grid = new QGridLayout(group);
    heading_ = new QLabel;
    NameControl(heading_, "st_Name");
    heading_->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading_, 0, 0, 1, 4);
    for (int k = 0; k < 3; ++k) {
        columns_[k] = new QLabel;
        grid->addWidget(columns_[k], 1, k + 1, Qt::AlignCenter);
    }
    const char* phases[3]{"Фаза А", "Фаза B", "Фаза C"};
    for (int p = 0; p < 3; ++p) {
        grid->addWidget(new TIndexTextLabel(phases[p]), p + 2, 0);
        for (int k = 0; k < 3; ++k) grid->addWidget(table_[k][p] = NamedResult(kTableNames[k][p]), p + 2, k + 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Сумма")), 5, 0);
    for (int k = 0; k < 3; ++k) grid->addWidget(sums_[k] = NamedResult(kSumNames[k]), 5, k + 1);

    auto* modes = new QButtonGroup(this);
    auto* line = new QHBoxLayout;
    const std::pair<const char*, edit::PowerMode> buttons[3]{{"sb_Main_Power", edit::PowerMode::Fundamental},
                                                             {"sb_Main_And_Garm_Power", edit::PowerMode::Full},
                                                             {"sb_Main_Energy", edit::PowerMode::Energy}};
    for (const auto& [name, mode] : buttons) {
        auto* button = ToolButton(Q(edit::PowerModeLook(mode).Heading), name);
        button->setCheckable(true);
        button->setChecked(mode == mode_);
        modes->addButton(button);
        connect(button, &QToolButton::clicked, this, [this, mode] { ModeChosen(mode); });
        line->addWidget(button);
    }
    grid->addLayout(line, 6, 0, 1, 4);

    start_ = ToolButton(QStringLiteral("Начать подсчет энергии"), "sb_start_cal_energy");
    stop_ = ToolButton(QStringLiteral("Остановить подсчет энергии"), "sb_end_cal_energy");
    connect(start_, &QToolButton::clicked, this, &TThreePhasePage::StartCounting);
    connect(stop_, &QToolButton::clicked, this, &TThreePhasePage::StopCounting);
    elapsedCaption_ = new QLabel(QStringLiteral("Время работы, с"));
    elapsed_ = NamedResult("Edit24", elapsedCaption_->text());
    elapsed_->clear();
    auto* counting = new QHBoxLayout;
    counting->addWidget(start_);
    counting->addWidget(stop_);
    counting->addWidget(elapsedCaption_);
    counting->addWidget(elapsed_);
    grid->addLayout(counting, 7, 0, 1, 4);
    return group;
}

QWidget* TThreePhasePage::Sequences() {
    auto* group = new QGroupBox(QStringLiteral("Мощности симметричных составляющих"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Однофазная")), 0, 0, 1, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Трехфазная")), 0, 2, 1, 2, Qt::AlignCenter);
    const char* kinds[3]{"p", "q", "s"};
    const char* sequences[3]{"1", "2", "0"};
    int row = 1;
    for (const char* kind : kinds)
        for (const char* sequence : sequences) {
            const std::string one = std::string("e_") + kind + sequence + "_one";
            const std::string three = std::string("e_") + kind + sequence + "_three";
            grid->addWidget(fields_.Symbol(one), row, 0);
            grid->addWidget(fields_.Control(one), row, 1);
            grid->addWidget(fields_.Symbol(three), row, 2);
            grid->addWidget(fields_.Control(three), row, 3);
            ++row;
        }
    return group;
}

QWidget* TThreePhasePage::Energy() {
    auto* group = new QGroupBox(QStringLiteral("Энергия"));
    auto* grid = new QGridLayout(group);
    intervalField_ = new TFieldEdit(false);
    NameControl(intervalField_, "e_Dlit_Imp", QStringLiteral("Время, с"));
    connect(intervalField_, &TFieldEdit::Leaving, this, &TThreePhasePage::TakeInterval);
    connect(intervalField_, &TFieldEdit::EnterPressed, this,
            [this] { fields_.Control("e_dey_znach_i_faza_a")->setFocus(Qt::TabFocusReason); });
    connect(intervalField_, &TFieldEdit::EscapePressed, this, [this] { Show(form_.Signal()); });
    energyP_ = NamedResult("Edit29", QStringLiteral("Кол-во энергии, Вт*ч"));
    energyQ_ = NamedResult("Edit7", QStringLiteral("Кол-во энергии, вар*ч"));
    grid->addWidget(new QLabel(QStringLiteral("Время, с")), 0, 0);
    grid->addWidget(intervalField_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Кол-во энергии, Вт*ч")), 1, 0);
    grid->addWidget(energyP_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Кол-во энергии, вар*ч")), 2, 0);
    grid->addWidget(energyQ_, 2, 1);
    grid->setColumnStretch(2, 1);  // the fields keep their width; the group's spare room stays empty
    return group;
}

bool TThreePhasePage::Counting() const { return timer_->isActive(); }

void TThreePhasePage::Show(const sig::TSignalSet& s) {
    voltageRange_->setCurrentText(Q(edit::NominalUChoice(s.Voltage)));
    currentRange_->setCurrentText(Q(edit::NominalIChoice(s.Current)));
    const edit::TPowerModeLook look = edit::PowerModeLook(mode_);
    heading_->setText(Q(look.Heading));
    for (int k = 0; k < 3; ++k) columns_[k]->setText(Q(look.Columns[k]));
    for (QWidget* control : {static_cast<QWidget*>(start_), static_cast<QWidget*>(stop_),
                             static_cast<QWidget*>(elapsed_), static_cast<QWidget*>(elapsedCaption_)})
        control->setEnabled(look.Counting);
    const edit::TThreePhaseTable table = edit::ThreePhaseTable(mode_, s, count_);
    for (int k = 0; k < 3; ++k) {
        for (int p = 0; p < 3; ++p) table_[k][p]->setText(Real("%2.3f", table.Phases[k][p]));
        sums_[k]->setText(Real("%2.3f", table.Sums[k]));
    }
    if (Counting()) elapsed_->setText(Real("%2.0f", count_.Seconds()));
    if (!intervalField_->hasFocus()) intervalField_->setText(Real("%2.0f", s.Energy.TestSeconds));
    const auto [p, q] = edit::IntervalEnergies(s);
    energyP_->setText(Real("%2.3f", p));
    energyQ_->setText(Real("%2.3f", q));
}

void TThreePhasePage::ModeChosen(edit::PowerMode mode) {
    mode_ = mode;
    edit::CalcPowers(form_.Signal(), FullPowersShown(), &form_);
    form_.ShowAllData_Power_3();
}

void TThreePhasePage::RangeChosen(QComboBox* box, bool voltage) {
    if (ApplyRange(form_, *box, voltage)) edit::CalcPowers(form_.Signal(), FullPowersShown(), &form_);
    form_.ShowAllData_Power_3();
}

void TThreePhasePage::StartCounting() {
    count_.Start();
    timer_->start();
    form_.ShowAllData_Power_3();
}

void TThreePhasePage::StopCounting() { timer_->stop(); }

void TThreePhasePage::Tick() {
    count_.Tick(form_.Signal().ShownPowers);
    form_.ShowAllData_Power_3();
}

// A refused entry keeps its text and takes the focus back; the message box
// must not take the entry over a second time.
void TThreePhasePage::TakeInterval() {
    const TReentryGuard pass(takingInterval_);
    if (!pass) return;
    const edit::TIntervalEntry entry =
        edit::TakeEnergyInterval(U(intervalField_->text()), form_.Signal(), FullPowersShown());
    if (entry.Seconds) {
        form_.ShowAllData_Power_3();
    } else {
        MyShowMessage(*entry.Message, cmn::MessageKind::Warning);
        intervalField_->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace ui
