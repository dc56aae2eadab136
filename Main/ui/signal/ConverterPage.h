#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "editor/ConverterPageRules.h"
#include "editor/ConverterSession.h"
#include "signal/Converter.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace ui {

class TIndexTextLabel;
class TWindowAnswers;

class TFieldEdit;
class TForm2;
class TConverterHarmonics;
class TConverterParameters;
class TConverterTotals;
class TPageFields;

// Where a converter operation off the window thread sends its messages:
// each is shown on the thread of `context` in a message box with its caption
// and icon, and the operation waits for the answer.
std::function<void(const edit::TConverterMessage&)> ConverterMessagesOn(std::shared_ptr<TWindowAnswers> answers);

// The current-to-voltage converter page: the output voltages of the
// converter, the input currents and angles of the signal, the gain in
// automatic or manual mode, the link to the converter and the current
// harmonics. The page lays its controls out and applies what its rules
// (edit::TConverterPageRules) answer to each event. Converter operations run
// away from the window thread, one at a time; their messages and results
// come back to it.
class TConverterPage : public QWidget, public sig::IConverterDisplay {
    Q_OBJECT
public:
    explicit TConverterPage(TForm2& form);
    ~TConverterPage() override;

    edit::TConverterState& State() { return rules_.State(); }
    QComboBox* PortBox() const { return port_; }
    bool Busy() const;

    // The page was selected in the tab strip: the calculation of the mode.
    void PageSelected();
    // Runs the calculation of the mode (or the one named) and reports its error.
    bool Calculate(edit::ConverterCalculation which, QWidget* focus = nullptr);
    // Connection test, reset, module, gain and tables ("Поключение").
    void Connect();
    // A test signal sent in converter mode ended: the device state, the
    // calculated currents and channels, the check and the messages come in.
    void SendFinished(const edit::TConverterSendResult& result);
    // The switches of the current page changed: the page's boxes follow.
    void SyncSwitches();

    void ShowAllData_low_iu() override;
    void Show_Chart_i_iu() override;
    void Show_Little_Chart_I_iu() override;
    void ShowChart_i_iu(const std::array<sig::TPolar, 3>& currents) override;
    bool ShowsWaveform() const override;
    void ShowKoeffPreobr();

    // A converter operation away from the window thread: `body` works on a
    // copy of the state, and each message it raises is shown and answered on
    // the window thread before it goes on. What it learnt of the device comes
    // back, then `done` runs on the window thread. Ignored while an operation
    // or a send runs.
    bool RunOperation(std::function<bool(edit::TConverterSession&)> body, std::function<void(bool)> done = {});

Q_SIGNALS:
    void OperationFinished(bool ok);

private:
    QWidget* Fundamentals();
    // Applies an outcome of the rules; false when it was a refusal.
    bool Apply(const edit::TConverterOutcome& out, QWidget* focus);
    void TakeOver(const edit::TFieldRow& row, TFieldEdit& field);
    void ModeClicked(bool automatic);
    void UnitChanged();
    bool HarmonicStored(bool angle, bool all);

    TForm2& form_;
    edit::TConverterPageRules rules_;
    // The state the rules keep; device work runs on a copy of it.
    edit::TConverterState& state_ = rules_.State();
    TPageFields* fields_;
    bool taking_ = false;

    TConverterParameters* parameters_;
    QComboBox* port_;
    TConverterHarmonics* harmonics_ = nullptr;
    QComboBox* unit_ = nullptr;
    std::array<QCheckBox*, 3> switches_{};
    QLabel* outputCaption_ = nullptr;
    TConverterTotals* totals_ = nullptr;
};

}  // namespace ui
