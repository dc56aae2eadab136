#include "ui/signal/FluctuationsPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "signal/Nominals.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/Texts.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {

TFluctuationsPage::TFluctuationsPage(TForm2& form, TPageFields& fields) : form_(form), fields_(fields) {
    auto* right = new QVBoxLayout;
    right->addWidget(Swings());
    right->addWidget(Standard());
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Timing());
    layout->addLayout(right, 1);
}

QWidget* TFluctuationsPage::Timing() {
    auto* box = new QGroupBox(QStringLiteral("Параметры колебаний"));
    auto* grid = new QGridLayout(box);
    const std::pair<const char*, const char*> rows[]{
        {"EditKolebFreq", "Частота колебаний, Гц"},
        {"EditKolebNum", "Число изменений напряжения, 1/мин"},
        {"EditKolebPeriod", "Период колебаний, с"},
        {"EditKolebHalfPeriod", "Время между изменениями напряжения, с"},
        {"EditDurationKolebSignal", "Длительность сигнала"},
    };
    int r = 0;
    for (const auto& [name, caption] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption)), r, 0);
        grid->addWidget(fields_.Control(name), r++, 1);
    }
    // Room for "<days> дн. hh:mm:ss.mmm".
    fields_.Control("EditDurationKolebSignal")->setMinimumWidth(150);
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addStretch();
    return column;
}

QWidget* TFluctuationsPage::Swings() {
    auto* box = new QGroupBox(QStringLiteral("Напряжения"));
    auto* grid = new QGridLayout(box);
    const char* symbols[6]{"U~A~", "U~B~", "U~C~", "U~AB~", "U~BC~", "U~CA~"};
    const char* swings[6]{"EditKolebAmplA",  "EditKolebAmplB",  "EditKolebAmplC",
                          "EditKolebAmplAB", "EditKolebAmplBC", "EditKolebAmplCA"};
    const char* doses[6]{"EditPstA", "EditPstB", "EditPstC", "EditPstAB", "EditPstBC", "EditPstCA"};
    grid->addWidget(new QLabel(QStringLiteral("Размах изменения напряжения, %")), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Доза фликера")), 2, 0);
    for (int c = 0; c < 6; ++c) {
        grid->addWidget(new TIndexTextLabel(symbols[c]), 0, c + 1);
        grid->addWidget(fields_.Control(swings[c]), 1, c + 1);
        grid->addWidget(fields_.Control(doses[c]), 2, c + 1);
    }
    return box;
}

QWidget* TFluctuationsPage::Standard() {
    auto* box = new QGroupBox(QStringLiteral("Доза фликера по стандарту"));
    auto* layout = new QVBoxLayout(box);
    gost99_ = new QRadioButton(QStringLiteral("ГОСТ Р 51317.4.15 - 99 "));
    gost2012_ = new QRadioButton(QStringLiteral("ГОСТ Р 51317.4.15 - 2012 "));
    NameControl(gost99_, "rbFlikerGost99", gost99_->text());
    NameControl(gost2012_, "rbFlikerGost2012", gost2012_->text());
    standards_ = new QButtonGroup(box);
    standards_->addButton(gost99_, sig::fsGost99);
    standards_->addButton(gost2012_, sig::fsGost2012);
    gost99_->setChecked(true);
    connect(standards_, &QButtonGroup::idClicked, this, &TFluctuationsPage::StandardChosen);
    layout->addWidget(gost99_);
    layout->addWidget(gost2012_);
    return box;
}

void TFluctuationsPage::SetFlickerChoice(const edit::TFlickerChoiceState& state) {
    // A group keeps one button checked; "none" needs it open for a moment.
    standards_->setExclusive(false);
    gost99_->setChecked(state.Gost99Checked);
    standards_->setExclusive(true);
    gost99_->setEnabled(state.Enabled);
    gost2012_->setEnabled(state.Enabled);
}

void TFluctuationsPage::StandardChosen(int standard) {
    edit::ChooseFlickerStandard(form_.Signal(), standard, form_.ProtocolLog());
    form_.ShowAllData_Koleb();
}

}  // namespace ui
