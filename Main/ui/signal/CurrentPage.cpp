#include "ui/signal/CurrentPage.h"

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
#include "ui/signal/ConverterPage.h"
#include "ui/signal/HarmonicPages.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

constexpr const char* kSwitchNames[3]{"cb_Include_I_A", "cb_Include_I_B", "cb_Include_I_C"};

}  // namespace

TCurrentPage::TCurrentPage(TForm2& form, TPageFields& fields) : form_(form), fields_(fields) {
    auto* left = new QVBoxLayout;
    left->addWidget(Fundamentals());
    auto* lower = new QHBoxLayout;
    lower->addWidget(Components());
    auto* distortion =
        SymbolGrid(QStringLiteral("Коэффициенты искажения, %"), fields_, {"e_ki_a", "e_ki_b", "e_ki_c"}, 1);
    counts_ =
        AddHarmCountChoice(*static_cast<QGridLayout*>(distortion->layout()), 3, "rb_garm_count_i", [this](int count) {
            edit::SetCurrentHarmCount(form_.Signal(), count, &form_);
            form_.ShowAllData_i();
        });
    lower->addWidget(distortion);
    lower->addWidget(SymbolGrid(QStringLiteral("Действующие значения, А"), fields_,
                                {"e_rms_i_a", "e_rms_i_b", "e_rms_i_c", "e_rms_i_n"}, 1));
    left->addLayout(lower);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    left->addStretch(1);
    layout->addLayout(left);
    FillHeight(*this);
    harmonics_ = AddHarmonicColumn(*layout, form_, true);
}

QWidget* TCurrentPage::Fundamentals() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const QStringList heads{QStringLiteral("Действующее значение, А"), QStringLiteral("Отклонение, %"),
                            QStringLiteral("Угол между током и напряжением")};
    for (int c = 0; c < heads.size(); ++c) grid->addWidget(new QLabel(heads[c]), 0, c + 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Вкл.")), 0, 4);
    const char* phases[3][3]{{"e_dey_znach_i_a", "e_otcl_i_a", "e_ugol_i_a"},
                             {"e_dey_znach_i_b", "e_otcl_i_b", "e_ugol_i_b"},
                             {"e_dey_znach_i_c", "e_otcl_i_c", "e_ugol_i_c"}};
    const char* angles[3]{"e_ugol_i_a_b", "e_ugol_i_b_c", "e_ugol_i_c_a"};
    for (int p = 0; p < 3; ++p) {
        grid->addWidget(fields_.Symbol(phases[p][0]), p + 1, 0);
        for (int c = 0; c < 3; ++c) grid->addWidget(fields_.Control(phases[p][c]), p + 1, c + 1);
        switches_[p] = new QCheckBox;
        NameControl(switches_[p], kSwitchNames[p], QStringLiteral("Вкл. I") + QChar('A' + p));
        connect(switches_[p], &QCheckBox::clicked, this, [this, p](bool on) {
            edit::SetCurrentSwitch(form_.Signal(), p, on, &form_);
            form_.ShowAllData_i();
            // The converter page's channel switches mirror these.
            if (TConverterPage* converter = form_.ConverterPage()) converter->SyncSwitches();
        });
        grid->addWidget(switches_[p], p + 1, 4);
        grid->addWidget(fields_.Symbol(angles[p]), p + 1, 5);
        grid->addWidget(fields_.Control(angles[p]), p + 1, 6);
    }
    grid->addWidget(new QLabel(QStringLiteral("Частота, Гц")), 4, 0);
    grid->addWidget(fields_.Control("e_Rate_I"), 4, 1);
    grid->addWidget(fields_.Symbol("e_Rate_Otcl_I"), 4, 2, Qt::AlignRight);
    grid->addWidget(fields_.Control("e_Rate_Otcl_I"), 4, 3);

    range_ = RangeBox("cb_naminal_i", false);
    connect(range_, &QComboBox::activated, this, &TCurrentPage::RangeChosen);
    auto* restore = ToolButton(QStringLiteral("Восстановить"), "SpeedButtonSetDefaultI");
    connect(restore, &QToolButton::clicked, this, &TCurrentPage::Restore);
    auto* threeWire = ToolButton(QStringLiteral("3ф-3пр"), "SpeedButtonCalc3f3pr");
    connect(threeWire, &QToolButton::clicked, this, &TCurrentPage::ThreeWire);
    grid->addWidget(new QLabel(QStringLiteral("Диапазон")), 5, 0);
    grid->addWidget(range_, 5, 1);
    grid->addWidget(restore, 5, 2);
    grid->addWidget(threeWire, 5, 3);
    return box;
}

QWidget* TCurrentPage::Components() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SymbolGrid(QStringLiteral("Симметричные составляющие"), fields_,
                                 {"e_i1", "e_phi_ui1", "e_i2", "e_phi_ui2", "e_i0", "e_phi_ui0"}));
    layout->addWidget(SymbolGrid(QStringLiteral("Несимметрия"), fields_, {"e_k2i", "e_k0i"}));
    return box;
}

void TCurrentPage::Show(const sig::TSignalSet& s) {
    harmonics_->Show();
    range_->setCurrentText(Q(edit::NominalIChoice(s.Current)));
    for (int p = 0; p < 3; ++p) switches_[p]->setChecked(sig::IOn(s.Switches, p));
    counts_[s.Switches.HarmCountI == 40 ? 0 : 1]->setChecked(true);
}

void TCurrentPage::RangeChosen() {
    ApplyRange(form_, *range_, false);
    form_.ShowAllData_i();
}

void TCurrentPage::Restore() {
    if (!AskUser(edit::kRestoreQuestion, cmn::MessageKind::Confirmation, cmn::Buttons::YesNo)) return;
    edit::SetDefaultCurrent(form_.Signal());
    form_.ShowAllData_i();
}

void TCurrentPage::ThreeWire() {
    if (!edit::ThreeWirePossible(form_.Signal().Switches)) {
        MyShowMessage(edit::kThreeWireNeedsAll, cmn::MessageKind::Warning);
        return;
    }
    if (!AskUser(edit::kThreeWireQuestion, cmn::MessageKind::Confirmation, cmn::Buttons::YesNo)) return;
    edit::Calc3f3pr(form_.Signal(), &form_);
    form_.ShowAllData_i();
}

}  // namespace ui
