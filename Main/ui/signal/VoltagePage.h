#pragma once

#include <QWidget>
#include <array>

#include "signal/SignalSet.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace ui {

class TForm2;
class TPageFields;
class THarmonicViews;

// The contents of page_u: the voltage fundamentals and what follows from
// them, the range, the fundamental switches and the harmonic count.
class TVoltagePage : public QWidget {
    Q_OBJECT
public:
    TVoltagePage(TForm2& form, TPageFields& fields);
    // The choices show the records (the fields are shown by TPageFields).
    void Show(const sig::TSignalSet& s);

private:
    QWidget* Fundamentals();
    QWidget* Components();
    QWidget* Distortion();
    QWidget* TotalRms();
    void RangeChosen();
    void SwitchClicked(int phase, bool on);
    void HarmCountChosen(int count);
    void Restore();

    TForm2& form_;
    TPageFields& fields_;
    QComboBox* range_ = nullptr;
    std::array<QCheckBox*, 3> switches_{};
    std::array<QRadioButton*, 2> counts_{};
    THarmonicViews* harmonics_ = nullptr;
};

}  // namespace ui
