#include "ui/shell/dialogs/TfmLoad.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "TalvoVersion.h"
#include "editor/DialogRules.h"
#include "signal/Nominals.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

constexpr const char* kPhaseCaptions[3] = {"А ", "В", "С"};

QLabel* Value(sig::real value, const QByteArray& name, const QString& accessible) {
    auto* label = new QLabel(Q(edit::DialogNumberText(value)));
    NameControl(label, name.constData(), accessible);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(56);
    return label;
}

}  // namespace

TfmLoad::TfmLoad(int modification, const sig::TCorrectionRecord& correction, QWidget* parent)
    : TShellDialog(QStringLiteral("    Инициализация программы"), "fmLoad", parent),
      progress_(new QProgressBar),
      timer_(new QTimer(this)) {
    NameControl(progress_, "pb_load", QStringLiteral("Инициализация программы"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(edit::kSplashTickMs);
    connect(timer_, &QTimer::timeout, this, &TfmLoad::Tick);

    auto* version =
        NamedLabel(QStringLiteral("Версия ") + QStringLiteral(TALVO_VERSION) + QStringLiteral(" "), "lb_version");
    QFont big = version->font();
    big.setBold(true);
    version->setFont(big);
    auto* modificationRow = new QHBoxLayout;
    modificationRow->addWidget(NamedLabel(QStringLiteral("Модификация:"), "lb_modification_caption"));
    modificationRow->addWidget(NamedLabel(Q(sig::ModificationInfo(modification).DisplayName), "lb_modification"));
    modificationRow->addStretch();

    auto* layout = new QVBoxLayout;
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addLayout(modificationRow);
    layout->addWidget(CorrectionGroup(correction));
    layout->addWidget(progress_);
    SetBody(layout);
}

QWidget* TfmLoad::CorrectionGroup(const sig::TCorrectionRecord& correction) {
    auto* group = new QGroupBox(QStringLiteral(" Калибровочные коэффициенты, % "));
    NameControl(group, "gb_koef", group->title());
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(14);
    for (int column = 0; column < 4; ++column) {
        const auto& range = edit::kSplashRanges[column];
        auto* label = new TIndexTextLabel(std::string(range.Label));
        label->setObjectName(QStringLiteral("it_") + Q(range.Label));
        grid->addWidget(label, 0, column + 1, Qt::AlignRight);
        for (int phase = 0; phase < 3; ++phase) {
            const QByteArray name = "lb_koef_" + QByteArray(range.Label.data(), 2).toLower() + "_" + char('a' + phase);
            const QString accessible =
                QString::fromUtf8(kPhaseCaptions[phase]).trimmed() + QStringLiteral(", ") + Q(range.Label);
            grid->addWidget(Value(correction[range.FirstIndex + phase], name, accessible), phase + 1, column + 1);
        }
    }
    for (int phase = 0; phase < 3; ++phase)
        grid->addWidget(
            NamedLabel(QString::fromUtf8(kPhaseCaptions[phase]), "lb_faza_" + QByteArray(1, char('a' + phase))),
            phase + 1, 0);
    grid->addWidget(NamedLabel(QStringLiteral("f    -"), "lb_f"), 4, 0);
    grid->addWidget(Value(correction[edit::kFrequencyCorrection], "lb_koef_f", QStringLiteral("f")), 4, 1);
    return group;
}

void TfmLoad::SetTickInterval(int milliseconds) { timer_->setInterval(milliseconds); }

void TfmLoad::showEvent(QShowEvent* event) {
    TShellDialog::showEvent(event);
    timer_->start();
}

void TfmLoad::done(int result) {
    timer_->stop();
    TShellDialog::done(result);
}

void TfmLoad::Tick() {
    progress_->setValue(++position_);
    if (edit::SplashDone(position_)) accept();
}

}  // namespace ui
