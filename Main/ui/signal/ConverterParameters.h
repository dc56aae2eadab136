#pragma once

#include <QWidget>
#include <array>

#include "editor/ConverterPageRules.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

namespace ui {

// The converter page's tab "Параметры преобразователя": the module, the
// port, "Поключение", the coefficient labels, the mode boxes and the manual
// gain boxes. It shows what it is given and forwards the user's choices.
class TConverterParameters : public QWidget {
    Q_OBJECT
public:
    TConverterParameters();

    QComboBox* Port() const { return port_; }
    void ShowModule(const std::string& text);
    // Before the first connection the device's and the calculated gain are not known.
    void ShowNoData();
    void ShowMode(const edit::TConverterModeLook& look);
    // The three labels, and the manual factors in the gain boxes without a GainChosen.
    void ShowGains(const edit::TGainTexts& texts);

Q_SIGNALS:
    void ConnectClicked();
    void ModeClicked(bool automatic);
    void GainChosen(float kpga, float k1pga, float kina);

private:
    QWidget* Modes();
    QWidget* ManualGains();

    QComboBox* port_;
    QLabel* module_;
    QLabel* deviceInfo_;
    QLabel* calcInfo_;
    QLabel* manualInfo_ = nullptr;
    QGroupBox* autoBox_;
    QGroupBox* manualBox_ = nullptr;
    QCheckBox* auto_ = nullptr;
    QCheckBox* manual_ = nullptr;
    std::array<QComboBox*, 3> gains_{};
    bool fillingGains_ = false;
};

}  // namespace ui
