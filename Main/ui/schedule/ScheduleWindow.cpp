#include "ui/schedule/ScheduleWindow.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "ui/common/Texts.h"

namespace ui {

TTestSignalsForm::TTestSignalsForm(QWidget* parent) : QWidget(parent, Qt::Window), stop_(new QPushButton) {
    setObjectName(QStringLiteral("TestSignalsForm"));
    setWindowTitle(QStringLiteral("Автоматизированное задание сигналов"));
    stop_->setText(QStringLiteral("Стоп"));
    NameControl(stop_, "btnStop", stop_->text());
    stop_->setEnabled(false);
    auto* layout = new QHBoxLayout(this);
    layout->addStretch();
    layout->addWidget(stop_);
    resize(700, 450);
}

bool TTestSignalsForm::Running() const { return stop_->isEnabled(); }

}  // namespace ui
