#pragma once

#include <QWidget>

#include "editor/DipsAndFluctuations.h"
#include "signal/SignalSet.h"

class QButtonGroup;
class QRadioButton;

namespace ui {

class TForm2;
class TPageFields;

// The contents of page_vibr: the fluctuation frequency and swings, the
// timing that follows, the swings of the line voltages, the flicker doses
// and the flicker standard they are judged by.
class TFluctuationsPage : public QWidget {
    Q_OBJECT
public:
    TFluctuationsPage(TForm2& form, TPageFields& fields);
    // Whether a standard may be chosen after the window loaded its table.
    void SetFlickerChoice(const edit::TFlickerChoiceState& state);

private:
    QWidget* Timing();
    QWidget* Swings();
    QWidget* Standard();
    void StandardChosen(int standard);

    TForm2& form_;
    TPageFields& fields_;
    QButtonGroup* standards_ = nullptr;
    QRadioButton* gost99_ = nullptr;
    QRadioButton* gost2012_ = nullptr;
};

}  // namespace ui
