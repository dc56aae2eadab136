#include "ui/signal/ConverterParameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "CommonUtils/TalvoError.h"
#include "files/TalvoIni.h"
#include "link/PortList.h"
#include "ui/common/Reentry.h"
#include "ui/common/Texts.h"
#include "ui/signal/PageFields.h"

namespace ui {
namespace {

constexpr const char* kGainBoxes[3]{"cbKpga", "cbK1pga", "cbKina"};
constexpr const char* kGainCaptions[3]{"Kpga", "K1pga", "Kina"};

// The distinct values of one factor of the gain table, in ascending order.
std::vector<float> FactorValues(int factor) {
    std::vector<float> values;
    for (int i = 1; i <= sig::kConverterGains; ++i) {
        const auto g = sig::ConverterGainTable(i);
        const float v = factor == 0 ? g.Kpga : factor == 1 ? g.K1pga : g.Kina;
        if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
    }
    std::sort(values.begin(), values.end());
    return values;
}

void FillPorts(QComboBox& box) {
    std::vector<std::string> ports;
    lnk::FillCOMPortList(&ports);
    box.clear();
    for (const std::string& port : ports) box.addItem(Q(port));
}

// Settings that cannot be read were reported when the program started; the
// page then starts on the first port.
std::string SavedConverterPort() {
    try {
        return files::TTalvoIni().ReadConverterComPort();
    } catch (const cmn::TalvoError&) {
        return {};
    }
}

}  // namespace

TConverterParameters::TConverterParameters()
    : port_(Named(new QComboBox, "cb_Com_Converter")),
      module_(Named(new QLabel(QStringLiteral("№ модуля: нет данных")), "lbN_Converter")),
      deviceInfo_(Named(new QLabel, "lbConverterInfo")),
      calcInfo_(Named(new QLabel, "lbConverterInfoCalc")),
      autoBox_(Named(new QGroupBox(QStringLiteral("Автоматически рассчитанные коэффициенты преобразователя")),
                     "gbKnIU_auto")) {
    FillPorts(*port_);
    port_->setCurrentIndex(std::max(port_->findText(Q(SavedConverterPort())), 0));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(module_);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(new QLabel(QStringLiteral("Com порт - ")));
    portRow->addWidget(port_);
    auto* refresh = Named(new QToolButton, "SpeedButton3", QStringLiteral("Обновить список портов"));
    refresh->setText(QStringLiteral("…"));
    connect(refresh, &QToolButton::clicked, this, [this] {
        const int at = port_->currentIndex();
        FillPorts(*port_);
        port_->setCurrentIndex(at < port_->count() ? at : port_->count() - 1);
    });
    portRow->addWidget(refresh);
    layout->addLayout(portRow);
    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(new QLabel(QStringLiteral("Скорость - ")));
    auto* rate = Named(new QComboBox, "cb_Rate_Converter");
    rate->addItem(QStringLiteral("115200"));
    rateRow->addWidget(rate);
    rateRow->addStretch();
    layout->addLayout(rateRow);
    auto* test =
        Named(new QPushButton(QStringLiteral("Поключение")), "btnTestConverterIU", QStringLiteral("Поключение"));
    connect(test, &QPushButton::clicked, this, &TConverterParameters::ConnectClicked);
    layout->addWidget(test);

    layout->addWidget(new QLabel(QStringLiteral("Текущие коэффициенты преобразователя")));
    layout->addWidget(deviceInfo_);
    (new QVBoxLayout(autoBox_))->addWidget(calcInfo_);
    layout->addWidget(autoBox_);
    for (QLabel* label : {deviceInfo_, calcInfo_}) label->setWordWrap(true);
    layout->addWidget(Modes());
    layout->addWidget(ManualGains());
    layout->addStretch();
}

QWidget* TConverterParameters::Modes() {
    auto* modes = new QGroupBox(QStringLiteral("Режим работы с преобразователем"));
    auto* ml = new QVBoxLayout(modes);
    auto_ = Named(new QCheckBox(QStringLiteral("Автоматический (задание выходного напряжения)")), "cbAutoIU",
                  QStringLiteral("Автоматический (задание выходного напряжения)"));
    manual_ = Named(new QCheckBox(QStringLiteral("Ручной (задание входного тока и коэффициентов)")), "cbManualIU",
                    QStringLiteral("Ручной (задание входного тока и коэффициентов)"));
    connect(auto_, &QCheckBox::clicked, this, [this](bool on) { Q_EMIT ModeClicked(on); });
    connect(manual_, &QCheckBox::clicked, this, [this](bool on) { Q_EMIT ModeClicked(!on); });
    ml->addWidget(auto_);
    ml->addWidget(manual_);
    return modes;
}

QWidget* TConverterParameters::ManualGains() {
    manualBox_ =
        Named(new QGroupBox(QStringLiteral("Заданные в ручную коэффициенты преобразователя")), "gbKnIU_manual");
    auto* gl = new QGridLayout(manualBox_);
    manualInfo_ = Named(new QLabel, "lbConverterInfoManual");
    gl->addWidget(manualInfo_, 0, 0, 1, 2);
    for (int k = 0; k < 3; ++k) {
        gains_[k] = Named(new QComboBox, kGainBoxes[k], QString::fromLatin1(kGainCaptions[k]));
        for (const float v : FactorValues(k)) gains_[k]->addItem(Q(edit::FactorText(v)));
        gl->addWidget(new QLabel(QString::fromLatin1(kGainCaptions[k])), k + 1, 0);
        gl->addWidget(gains_[k], k + 1, 1);
        connect(gains_[k], &QComboBox::currentIndexChanged, this, [this] {
            if (fillingGains_) return;
            Q_EMIT GainChosen(gains_[0]->currentText().toFloat(), gains_[1]->currentText().toFloat(),
                              gains_[2]->currentText().toFloat());
        });
    }
    return manualBox_;
}

void TConverterParameters::ShowModule(const std::string& text) { module_->setText(Q(text)); }

void TConverterParameters::ShowNoData() {
    deviceInfo_->setText(Q(edit::kNoConverterData));
    calcInfo_->setText(Q(edit::kNoConverterData));
}

void TConverterParameters::ShowMode(const edit::TConverterModeLook& look) {
    auto_->setChecked(look.Automatic);
    manual_->setChecked(!look.Automatic);
    autoBox_->setVisible(look.Automatic);
    manualBox_->setVisible(!look.Automatic);
}

void TConverterParameters::ShowGains(const edit::TGainTexts& t) {
    deviceInfo_->setText(Q(t.Device));
    calcInfo_->setText(Q(t.Calculated));
    manualInfo_->setText(Q(t.Manual));
    if (!t.ManualFactors) return;
    const TReentryGuard filling(fillingGains_);
    const float factors[3]{t.ManualFactors->Kpga, t.ManualFactors->K1pga, t.ManualFactors->Kina};
    for (int k = 0; k < 3; ++k) gains_[k]->setCurrentText(Q(edit::FactorText(factors[k])));
}

}  // namespace ui
