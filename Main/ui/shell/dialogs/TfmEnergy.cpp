#include "ui/shell/dialogs/TfmEnergy.h"

#include <QGridLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "CommonUtils/Format.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

QLabel* Value(const char* name, const QString& caption) {
    auto* label = new QLabel;
    NameControl(label, name, caption);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for the caption to fit in the title bar.
    label->setMinimumWidth(130);
    label->setFrameShape(QFrame::StyledPanel);
    return label;
}

}  // namespace

TfmEnergy::TfmEnergy(QWidget* parent)
    : TShellDialog(QStringLiteral("Поверка счетчика "), "fmEnergy", parent),
      given_(Value("lb_count", QStringLiteral("Задано, сек."))),
      left_(Value("lb_left", QStringLiteral("Осталось, сек."))),
      timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(1000);
    // A coarse timer may tick up to 5 % early; the meter under test counts
    // its energy over these seconds, so no second may be short.
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &TfmEnergy::Tick);

    auto* cancel = NamedButton(QStringLiteral("Отмена"), "btnCancel");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(NamedLabel(QStringLiteral("Задано, сек."), "lb_count_caption"), 0, 0);
    grid->addWidget(given_, 0, 1);
    grid->addWidget(NamedLabel(QStringLiteral("Осталось, сек."), "lb_left_caption"), 1, 0);
    grid->addWidget(left_, 1, 1);
    auto* layout = new QVBoxLayout;
    layout->addLayout(grid);
    layout->addLayout(ButtonRow({cancel}, true));
    SetBody(layout);
    ShowCount();
}

void TfmEnergy::SetCount(int seconds) {
    countdown_.Set(seconds);
    ShowCount();
}

void TfmEnergy::SetTickInterval(int milliseconds) { timer_->setInterval(milliseconds); }

bool TfmEnergy::Run(int seconds) {
    SetCount(seconds);
    return exec() == QDialog::Accepted;
}

// The count starts with the dialog shown; a count that has nothing to wait
// for closes it at once.
void TfmEnergy::showEvent(QShowEvent* event) {
    TShellDialog::showEvent(event);
    if (countdown_.RanOut()) QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
    else timer_->start();
}

// The dialog lives as long as the program and is shown again for every
// verification: no tick of this run may reach the next one.
void TfmEnergy::done(int result) {
    timer_->stop();
    TShellDialog::done(result);
}

void TfmEnergy::Tick() {
    const bool ranOut = countdown_.Tick();
    ShowCount();
    if (ranOut) accept();
}

void TfmEnergy::ShowCount() {
    given_->setText(Q(cmn::Format("%d", countdown_.Given())));
    left_->setText(Q(cmn::Format("%d", countdown_.Left())));
}

}  // namespace ui
