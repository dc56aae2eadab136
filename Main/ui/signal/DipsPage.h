#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "signal/SignalSet.h"

class QComboBox;
class QPlainTextEdit;
class QRadioButton;

namespace ui {

class TForm2;
class TPageFields;

// The contents of page_in_out: per phase a dip or a swell with its depth or
// coefficient and the voltage during the event, the line events that
// follow, and the count, timing, binding and reference of the events.
class TDipsPage : public QWidget {
    Q_OBJECT
public:
    TDipsPage(TForm2& form, TPageFields& fields);
    // The choices and the states of the fields show the records (the values
    // are shown by TPageFields). An unknown binding or reference raises
    // cmn::TalvoError.
    void Show(const sig::TSignalSet& s);

private:
    QWidget* Phases();
    QWidget* Lines();
    QWidget* Common();
    void Choose(const std::function<void(sig::TSignalSet&, sig::real)>& change);
    void KindChosen(int phase, std::uint8_t kind);
    void AlignChosen(int index);
    void ReferenceChosen(int index);

    TForm2& form_;
    TPageFields& fields_;
    std::array<QRadioButton*, 3> dips_{};
    std::array<QRadioButton*, 3> swells_{};
    QComboBox* align_ = nullptr;
    QComboBox* reference_ = nullptr;
    QPlainTextEdit* alignWarning_ = nullptr;
};

}  // namespace ui
