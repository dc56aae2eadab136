#include "ui/signal/VoltagePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/FundamentalChoices.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"
#include "ui/signal/HarmonicPages.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

constexpr const char* kSwitchNames[3]{"cb_Include_U_A", "cb_Include_U_B", "cb_Include_U_C"};

}  // namespace

TVoltagePage::TVoltagePage(TForm2& form, TPageFields& fields) : form_(form), fields_(fields) {
    auto* left = new QVBoxLayout;
    left->addWidget(Fundamentals());
    auto* lower = new QHBoxLayout;
    lower->addWidget(Components());
    lower->addWidget(Distortion());
    lower->addWidget(TotalRms());
    left->addLayout(lower);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    left->addStretch(1);
    layout->addLayout(left);
    FillHeight(*this);
    harmonics_ = AddHarmonicColumn(*layout, form_, false);
}

QWidget* TVoltagePage::Fundamentals() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const QStringList heads{QStringLiteral("Действующее значение, В"), QStringLiteral("Отклонение, %"),
                            QStringLiteral("Фазовый угол")};
    for (int c = 0; c < heads.size(); ++c) grid->addWidget(new QLabel(heads[c]), 0, c + 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Вкл.")), 0, 4);
    const char* phases[3][3]{{"e_dey_znach_u_a", "e_otcl_u_a", "e_ugol_u_a"},
                             {"e_dey_znach_u_b", "e_otcl_u_b", "e_ugol_u_b"},
                             {"e_dey_znach_u_c", "e_otcl_u_c", "e_ugol_u_c"}};
    const char* lines[3][3]{{"e_dey_znach_u_ab", "e_otcl_u_ab", "e_ugol_u_ab"},
                            {"e_dey_znach_u_bc", "e_otcl_u_bc", "e_ugol_u_bc"},
                            {"e_dey_znach_u_ca", "e_otcl_u_ca", "e_ugol_u_ca"}};
    const char* phaseAngles[3]{"e_ugol_u_a_b", "e_ugol_u_b_c", "e_ugol_u_c_a"};
    const char* lineAngles[3]{"e_ugol_u_ab_bc", "e_ugol_u_bc_ca", "e_ugol_u_ca_ab"};
    for (int p = 0; p < 3; ++p) {
        grid->addWidget(fields_.Symbol(phases[p][0]), p + 1, 0);
        grid->addWidget(fields_.Symbol(lines[p][0]), p + 4, 0);
        for (int c = 0; c < 3; ++c) {
            grid->addWidget(fields_.Control(phases[p][c]), p + 1, c + 1);
            grid->addWidget(fields_.Control(lines[p][c]), p + 4, c + 1);
        }
        switches_[p] = new QCheckBox;
        NameControl(switches_[p], kSwitchNames[p], QStringLiteral("Вкл. U") + QChar('A' + p));
        connect(switches_[p], &QCheckBox::clicked, this, [this, p](bool on) { SwitchClicked(p, on); });
        grid->addWidget(switches_[p], p + 1, 4);
        grid->addWidget(fields_.Symbol(phaseAngles[p]), p + 1, 5);
        grid->addWidget(fields_.Control(phaseAngles[p]), p + 1, 6);
        grid->addWidget(fields_.Symbol(lineAngles[p]), p + 4, 5);
        grid->addWidget(fields_.Control(lineAngles[p]), p + 4, 6);
    }
    grid->addWidget(new QLabel(QStringLiteral("Частота, Гц")), 7, 0);
    grid->addWidget(fields_.Control("e_rate_u"), 7, 1);
    grid->addWidget(fields_.Symbol("e_rate_otcl_u"), 7, 2, Qt::AlignRight);
    grid->addWidget(fields_.Control("e_rate_otcl_u"), 7, 3);

    range_ = RangeBox("cb_naminal_u", true);
    connect(range_, &QComboBox::activated, this, &TVoltagePage::RangeChosen);
    auto* restore = ToolButton(QStringLiteral("Восстановить"), "SpeedButtonSetDefaultU");
    connect(restore, &QToolButton::clicked, this, &TVoltagePage::Restore);
    grid->addWidget(new QLabel(QStringLiteral("Диапазон")), 8, 0);
    grid->addWidget(range_, 8, 1);
    grid->addWidget(restore, 8, 2);
    return box;
}

QWidget* TVoltagePage::Components() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* sym = SymbolGrid(QStringLiteral("Симметричные составляющие"), fields_,
                           {"e_u1_faza", "e_u1_line", "e_u2_faza", "e_u2_line", "e_u0_faza", "e_u0_line"}, 2, 1);
    auto* grid = static_cast<QGridLayout*>(sym->layout());
    grid->addWidget(new QLabel(QStringLiteral("Фазные")), 0, 0, 1, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Междуфазные")), 0, 2, 1, 2, Qt::AlignCenter);
    layout->addWidget(sym);
    layout->addWidget(SymbolGrid(QStringLiteral("Несимметрия"), fields_, {"e_k2u", "e_k0u"}));
    return box;
}

QWidget* TVoltagePage::Distortion() {
    auto* box = SymbolGrid(QStringLiteral("Коэффициенты искажения, %"), fields_,
                           {"e_ku_a", "e_ku_ab", "e_ku_b", "e_ku_bc", "e_ku_c", "e_ku_ca"});
    auto* grid = static_cast<QGridLayout*>(box->layout());
    counts_ = AddHarmCountChoice(*grid, 3, "rb_garm_count_u", [this](int count) { HarmCountChosen(count); });
    return box;
}

QWidget* TVoltagePage::TotalRms() {
    return SymbolGrid(QStringLiteral("Действующие значения, В"), fields_,
                      {"e_rms_u_a", "e_rms_u_ab", "e_rms_u_b", "e_rms_u_bc", "e_rms_u_c", "e_rms_u_ca"});
}

void TVoltagePage::Show(const sig::TSignalSet& s) {
    harmonics_->Show();
    range_->setCurrentText(Q(edit::NominalUChoice(s.Voltage)));
    for (int p = 0; p < 3; ++p) switches_[p]->setChecked(sig::UOn(s.Switches, p));
    counts_[s.Switches.HarmCountU == 40 ? 0 : 1]->setChecked(true);
}

void TVoltagePage::RangeChosen() {
    ApplyRange(form_, *range_, true);
    form_.ShowAllData_u();
}

void TVoltagePage::SwitchClicked(int phase, bool on) {
    edit::SetVoltageSwitch(form_.Signal(), phase, on, &form_);
    form_.ShowAllData_u();
}

void TVoltagePage::HarmCountChosen(int count) {
    edit::SetVoltageHarmCount(form_.Signal(), count, &form_);
    form_.ShowAllData_u();
}

void TVoltagePage::Restore() {
    if (!AskUser(edit::kRestoreQuestion, cmn::MessageKind::Confirmation, cmn::Buttons::YesNo)) return;
    edit::SetDefaultVoltage(form_.Signal(), form_.FrequencySetting());
    form_.ShowAllData_u();
}

}  // namespace ui
