#pragma once

#include <QWidget>
#include <memory>

#include "editor/ScheduleWindowRules.h"
#include "schedule/CalibratorActions.h"
#include "schedule/DateTime.h"
#include "schedule/ScheduleProtocol.h"
#include "ui/common/QueuedSinks.h"
#include "ui/schedule/ScheduleEvents.h"
#include "ui/schedule/StatePictures.h"

class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;

namespace ui {

class TProtocolList;
class TScheduleGrid;

// The schedule window: a list of signal files and commands, each with a
// duration or clock times, saved to and loaded from list files and run on
// the calibrator one after another while the window stays responsive.
// Created hidden with the main window and shown on demand; a run goes on
// while its stop button is enabled.
class TTestSignalsForm : public QWidget {
    Q_OBJECT
public:
    explicit TTestSignalsForm(QWidget* parent = nullptr);
    ~TTestSignalsForm() override;

    bool Running() const;
    // A running schedule stops after the step it is in.
    void Stop();
    // The port, rate, modification, library, correction and status sink of
    // the main window, taken for the runs that follow.
    void SetLinkSettings(const sched::TLinkSettings& link);
    // Replaces the rows by those of the list file `path`, as "Загрузить"
    // does once the operator has chosen it; a failure is shown as a warning.
    void LoadListFile(const std::string& path);

    const sched::TRows& Rows() const { return list_.Rows(); }
    const sched::TScheduleProtocol& Protocol() const { return protocol_; }

Q_SIGNALS:
    // A run has started: it holds the calibrator until RunFinished.
    void RunStarted();
    // A run has ended and the rows show their states at rest.
    void RunFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct TRun;

    QWidget* BuildListPage();
    QWidget* BuildProtocolPage();
    QPushButton* Button(const char* name, const char* caption);

    // The whole list: the cells whose texts or states changed, the columns
    // sized to what they show, the enabling. A long list is filled without
    // measuring its rows once per cell.
    void Redraw();
    // Only the states changed (selection, the markers of a run): no text and
    // no column width can have changed.
    void RedrawStates();
    void ShowRow(int row);
    void ShowState(int row);
    void FitColumns();
    void ShowColumns();
    void UpdateEnabling();
    void ShowRowTexts(int row);

    void AddSignal();
    void AddCommand();
    void DeleteRow();
    void SelectAll(bool selected);
    void SetCurrentDate();
    void ClearList();
    void LoadList();
    void SaveList();
    void ModeChosen();
    void StartTimeChanged();
    void CellClicked(int row, int column);
    void CellEdited(int row, int column, const QVariant& value);
    void RowsExchanged(int source, int target);

    void Start();
    void AddProtocolLine(int type, const QString& text);
    void RowStateReported(qulonglong position, int state);
    void RunEnded();

    void SaveProtocol();
    void ClearProtocol();

    sched::TSystemClock clock_;
    edit::TScheduleList list_;
    sched::TScheduleProtocol protocol_;
    sched::TLinkSettings link_;
    TWindowProtocolLog runLog_;  // lines of a run, from the worker and from "Стоп"
    TWindowProtocolLog asker_;   // the questions of state clicks
    TStatePictures pictures_;
    TScheduleEventRelay* events_;  // a child named "ScheduleEvents", so that reports can be played to the window
    std::unique_ptr<TRun> run_;    // after the sinks: a run ends before they go

    QTabWidget* pages_;
    QRadioButton* modes_[3];
    QLineEdit* description_;
    QSpinBox* setTime_;
    QLabel* startLabel_;
    QDateTimeEdit* start_;
    TScheduleGrid* grid_;
    QPlainTextEdit* path_;
    QPlainTextEdit* signalDescription_;
    QPushButton *addSignal_, *addCommand_, *delete_, *selectAll_, *resetAll_, *setDate_, *clear_, *load_, *save_,
        *startButton_, *stop_;
    TProtocolList* protocolList_;
    QCheckBox* lastMessage_;
    QStatusBar* status_;
};

}  // namespace ui
