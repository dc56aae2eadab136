#pragma once

#include <QWidget>

#include "signal/SignalSet.h"

class QComboBox;

namespace ui {

class TForm2;
class TPageFields;
class TOnePhaseHarmonics;

// The contents of page_u_i: one phase's voltage and current, the angle
// between them, its fundamental powers and distortion factors.
class TOnePhasePage : public QWidget {
    Q_OBJECT
public:
    TOnePhasePage(TForm2& form, TPageFields& fields);
    // The phase chosen in cb_faza, 0 = A.
    int Phase() const;
    void Show(const sig::TSignalSet& s);

private:
    QWidget* Values();
    QWidget* Powers();
    void PhaseChosen();
    void RangeChosen(QComboBox* box, bool voltage);
    void RecalculatePhase();
    void ShowPowerBars();

    TForm2& form_;
    TPageFields& fields_;
    QComboBox* phase_ = nullptr;
    QComboBox* voltageRange_ = nullptr;
    QComboBox* currentRange_ = nullptr;
    TOnePhaseHarmonics* harmonics_ = nullptr;
};

}  // namespace ui
