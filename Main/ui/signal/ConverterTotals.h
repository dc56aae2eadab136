#pragma once

#include <QWidget>
#include <array>

#include "editor/ConverterPageRules.h"

class QLabel;

namespace ui {

class TIndexTextLabel;

// The converter page's results below its fields: the unbalance, the
// channels' totals and distortion with the 40/50 choice, the inputs' totals.
// The page writes their texts by name.
class TConverterTotals : public QWidget {
    Q_OBJECT
public:
    TConverterTotals();
    // The caption of the channels' totals and the sequence symbols in the unit.
    void ShowUnit(const edit::TConverterUnitLook& look);

Q_SIGNALS:
    void HarmCountChosen(int count);

private:
    std::array<TIndexTextLabel*, 3> symmetrySymbols_{};
    QLabel* rmsCaption_ = nullptr;
};

}  // namespace ui
