#pragma once

#include <QDialog>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "link/LibraryBinding.h"
#include "measure/Verify.h"
#include "signal/Correction.h"
#include "signal/SignalSet.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace ui {

class TDeviceWork;
struct TVerifyRun;

// What the check of a signal window's signal starts from.
struct TVerifyInput {
    sig::TSignalSet Signal;  // a recomputed copy
    std::string Caption;     // the signal window's caption
    int Modification = 1;
    sig::TCorrectionRecord Correction{};
    std::shared_ptr<const lnk::TSignalLibrary> Library;
};

// "Проверка сигнала": the chosen action runs against the stand-in calibrator
// on the program's device runner, what it would play is measured and shown
// beside what the signal says, in a table and in plots, and saved as a PDF
// report with a CSV of the table beside it.
class TfmVerify : public QDialog {
    Q_OBJECT
public:
    TfmVerify(TVerifyInput input, TDeviceWork& work, QWidget* parent = nullptr);
    ~TfmVerify() override;

    // Writes the PDF report at `pdfPath` (".pdf" added when missing) and the
    // CSV beside it; the error's text, or empty.
    std::string SaveReport(const std::string& pdfPath);
    bool Running() const { return run_ != nullptr; }
    // Closing while the check runs cancels it.
    void reject() override;

Q_SIGNALS:
    // A check has ended: its table is shown, or its error is.
    void CheckEnded(bool completed);

private:
    void BuildControls();
    void Start();
    void Cancel();
    void Ended(const std::shared_ptr<TVerifyRun>& run);
    void ShowProgress();
    void ShowState(const QString& text, bool failure);
    void UpdateEnabling();
    void FillTable();
    void ShowPlots();
    void ShowWaveform();
    void ShowHarmonics();
    void SetChart(QChartView* view, QChart* chart);
    // New charts of the report as the plot choices stand.
    QChart* WaveformPlot() const;
    QChart* HarmonicPlot() const;
    QChart* PinstPlot() const;
    QChart* HalfCyclePlot() const;
    void ChooseAndSave();
    msr::TVerifyAction ChosenAction() const;

    TVerifyInput input_;
    TDeviceWork& work_;
    std::shared_ptr<TVerifyRun> run_;  // the check under way
    std::shared_ptr<const msr::TVerifyReport> report_;
    msr::TVerifyAction reportAction_ = msr::TVerifyAction::Sinus;
    std::tm reportTime_{};

    QComboBox* action_ = nullptr;
    QComboBox* flicker_ = nullptr;
    QPushButton* verify_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* save_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* state_ = nullptr;
    QTableWidget* table_ = nullptr;
    QTabWidget* plots_ = nullptr;
    QComboBox* waveChannel_ = nullptr;
    QComboBox* waveSpan_ = nullptr;
    QComboBox* harmonicChannel_ = nullptr;
    QChartView* waveform_ = nullptr;
    QChartView* harmonics_ = nullptr;
    QChartView* pinst_ = nullptr;
    QChartView* halfCycle_ = nullptr;
    QTimer* poll_ = nullptr;
};

}  // namespace ui
