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

// The contents of page_i: the current fundamentals and what follows from
// them, the range, the switches, the harmonic count and "3ф-3пр".
class TCurrentPage : public QWidget {
    Q_OBJECT
public:
    TCurrentPage(TForm2& form, TPageFields& fields);
    void Show(const sig::TSignalSet& s);

private:
    QWidget* Fundamentals();
    QWidget* Components();
    void RangeChosen();
    void Restore();
    void ThreeWire();

    TForm2& form_;
    TPageFields& fields_;
    QComboBox* range_ = nullptr;
    std::array<QCheckBox*, 3> switches_{};
    std::array<QRadioButton*, 2> counts_{};
    THarmonicViews* harmonics_ = nullptr;
};

}  // namespace ui
