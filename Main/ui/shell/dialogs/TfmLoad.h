#pragma once

#include "signal/Correction.h"
#include "ui/shell/dialogs/ShellDialog.h"

class QProgressBar;
class QTimer;

namespace ui {

// The splash "    Инициализация программы": the program's version, the
// calibrator modification and the correction coefficients while a progress
// bar runs; it closes with OK when the bar is through, Esc closes it at once.
class TfmLoad : public TShellDialog {
    Q_OBJECT
public:
    TfmLoad(int modification, const sig::TCorrectionRecord& correction, QWidget* parent = nullptr);
    // The time a progress step takes, 50 ms unless changed (tests shorten it).
    void SetTickInterval(int milliseconds);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QWidget* CorrectionGroup(const sig::TCorrectionRecord& correction);
    void Tick();

    QProgressBar* progress_;
    QTimer* timer_;
    int position_ = 0;
};

}  // namespace ui
