#pragma once

#include "editor/DialogRules.h"
#include "ui/shell/dialogs/ShellDialog.h"

class QLabel;
class QTimer;

namespace ui {

// "Поверка счетчика ": the meter verification countdown. It counts the
// given seconds down, one per tick, and closes with OK when none is left;
// "Отмена" closes it with cancel.
class TfmEnergy : public TShellDialog {
    Q_OBJECT
public:
    explicit TfmEnergy(QWidget* parent = nullptr);

    void SetCount(int seconds);
    // The time a tick takes, 1000 ms unless changed (tests shorten it).
    void SetTickInterval(int milliseconds);
    // Counts `seconds` down modally: true when the time ran out, false when
    // cancelled. This is what ui::TWorkerCountdown calls on the window thread.
    bool Run(int seconds);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void Tick();
    void ShowCount();

    edit::TCountdown countdown_;
    QLabel* given_;
    QLabel* left_;
    QTimer* timer_;
};

}  // namespace ui
