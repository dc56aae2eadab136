#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "editor/ConverterSession.h"
#include "editor/HarmonicRules.h"
#include "signal/Converter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QGroupBox;
class QToolButton;

namespace ui {

class TIndexTextLabel;
class TWindowAnswers;

class TFieldEdit;
class TForm2;

// Where a converter operation off the window thread sends its messages:
// each is shown on the thread of `context` in a message box with its caption
// and icon, and the operation waits for the answer.
std::function<void(const edit::TConverterMessage&)> ConverterMessagesOn(std::shared_ptr<TWindowAnswers> answers);

// The current-to-voltage converter page: the output voltages of the
// converter, the input currents and angles of the signal, the gain in
// automatic or manual mode, the link to the converter and the current
// harmonics. Converter operations run on a thread of their own, one at a
// time; their messages and results come back to the window thread.
class TConverterPage : public QWidget, public sig::IConverterDisplay {
    Q_OBJECT
public:
    explicit TConverterPage(TForm2& form);
    ~TConverterPage() override;

    edit::TConverterState& State() { return state_; }
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
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
    void FocusNextOnEnter(TFieldEdit* field);
    QWidget* Parameters();
    QWidget* HarmonicView();
    void ModeClicked(bool automatic);
    void UnitChanged();
    bool NumberRefused(QSpinBox& number, const std::optional<std::string>& message);
    void GainBoxChanged();
    void TakeValue(int phase, bool output);
    void TakeAngle(int phase);
    void HarmonicEnter(bool angle);
    void CopyToAll(bool angles);
    // The harmonic view's editor, its phase and its number.
    edit::HarmEditor Editor() const;
    int EditedPhase() const;
    int EditedOrder() const;
    void FillHarmonicFields();
    bool AnalizeErr(std::uint8_t code, QWidget* focus);

    TForm2& form_;
    edit::TConverterState state_;
    bool taking_ = false;

    QComboBox* port_;
    QComboBox* unit_ = nullptr;
    QComboBox* range_ = nullptr;
    QCheckBox* auto_ = nullptr;
    QCheckBox* manual_ = nullptr;
    std::array<TFieldEdit*, 3> outputs_{};
    std::array<TFieldEdit*, 3> angles_{};
    std::array<TFieldEdit*, 3> inputs_{};
    std::array<QLineEdit*, 3> angleDiffs_{};
    std::array<QCheckBox*, 3> switches_{};
    std::array<QLineEdit*, 3> symmetry_{};
    std::array<TIndexTextLabel*, 3> symmetrySymbols_{};
    TIndexTextLabel* coefficientSymbol_ = nullptr;
    TIndexTextLabel* angleSymbol_ = nullptr;
    std::array<QLineEdit*, 3> symmetryAngles_{};
    std::array<QLineEdit*, 3> outputRms_{};
    std::array<QLineEdit*, 3> inputRms_{};
    std::array<QLineEdit*, 3> distortion_{};
    TFieldEdit* rate_ = nullptr;
    TFieldEdit* rateDelta_ = nullptr;
    QLabel* outputCaption_ = nullptr;
    QLabel* rmsCaption_ = nullptr;
    QLabel* module_ = nullptr;
    QLabel* deviceInfo_ = nullptr;
    QLabel* calcInfo_ = nullptr;
    QLabel* manualInfo_ = nullptr;
    QGroupBox* autoBox_ = nullptr;
    QGroupBox* manualBox_ = nullptr;
    std::array<QComboBox*, 3> gains_{};
    bool fillingGains_ = false;
    QStackedWidget* views_ = nullptr;
    TFieldEdit* coefficient_ = nullptr;  // Edit30
    TFieldEdit* angle_ = nullptr;        // Edit31
    QListWidget* harmonics_ = nullptr;
    QListWidget* interharmonics_ = nullptr;
    QSpinBox* harmonicNumber_ = nullptr;
    QSpinBox* interNumber_ = nullptr;
    QComboBox* harmonicPhase_ = nullptr;
    QComboBox* interPhase_ = nullptr;
    QCheckBox* interOn_ = nullptr;
};

}  // namespace ui
