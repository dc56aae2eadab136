#pragma once

#include <QWidget>

#include "editor/ConverterPageRules.h"
#include "ui/signal/HarmonicEditor.h"

class QCheckBox;
class QStackedWidget;

namespace ui {

class TFieldEdit;
class TForm2;
class TIndexTextLabel;

// The converter page's Notebook5: the harmonic view, the vector diagram and
// the waveforms. In the harmonic view one coefficient and one angle field
// serve the harmonic list of the ComboBox4 phase and the interharmonic list
// of the ComboBox3 phase, each through its own harmonic editing; the rules
// say which list the fields act on.
class TConverterHarmonics : public QWidget {
    Q_OBJECT
public:
    // `coef` and `angle` are the page's Edit30 and Edit31; `stored` follows each store.
    TConverterHarmonics(TForm2& form, edit::TConverterPageRules& rules, TFieldEdit* coef, TFieldEdit* angle,
                        THarmonicEditing::TStoredHook stored);

    // Both lists (the interharmonic one without a selection), the fields and the switch.
    void Show();
    bool ShowsWaveform() const;

Q_SIGNALS:
    // A phase was chosen: the page is shown anew before the list takes the fields.
    void PhaseChanged();
    // The vector view was chosen, or the interharmonics switch clicked (its state is stored).
    void Recalculate();

private:
    QWidget* HarmonicPage(TFieldEdit* coef, TFieldEdit* angle);
    void ListChosen(bool interharmonics);
    THarmonicEditing& Edited() const;

    TForm2& form_;
    edit::TConverterPageRules& rules_;
    THarmonicEditing::TStoredHook stored_;
    QStackedWidget* views_;
    TIndexTextLabel* coefficientSymbol_ = nullptr;
    TIndexTextLabel* angleSymbol_ = nullptr;
    QCheckBox* interOn_ = nullptr;
    THarmonicEditing* harmonics_ = nullptr;
    THarmonicEditing* interharmonics_ = nullptr;
};

}  // namespace ui
