#pragma once

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/ShellRules.h"
#include "files/SignalFile.h"
#include "files/TalvoIni.h"
#include "link/LibraryBinding.h"
#include "schedule/CalibratorActions.h"
#include "signal/Correction.h"
#include "ui/common/DeviceWork.h"
#include "ui/common/QueuedSinks.h"
#include "ui/shell/ActionRunner.h"

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolButton;

namespace ui {

class TForm2;
class TTestSignalsForm;
class TfmExport;

// What the main window starts with besides the settings file.
struct TMainOptions {
    lnk::TSignalLibrary Library;  // bound before the window is made
    bool Splash = true;           // the settings may still switch the splash off
};

// The main window: a frame of signal windows with the menus, tool bar and
// status panel that open, save, send and export them.
class TfmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfmMain(TMainOptions options, QWidget* parent = nullptr);
    ~TfmMain() override;

    // Start-up after the window is shown: the preferences when no
    // modification is stored yet, the splash, the first signal window.
    void Start();

    TForm2* NewWindow();
    TForm2* ActiveSignalWindow() const;
    std::vector<TForm2*> SignalWindows() const;
    // The open and save paths behind the dialogs.
    TForm2* OpenFile(files::SignalFileKind kind, const std::string& path);
    TForm2* Open(const std::string& path);
    void SaveFile(files::SignalFileKind kind, const std::string& path);
    bool RunAction(TActionKind kind);
    // A close asked from outside the window (a signal of the system): the
    // questions on screen are cancelled, a schedule run is stopped, and the
    // close is tried until a running transfer has ended; then the program
    // closes as by its close button.
    void Terminate();
    const std::vector<std::string>& RecentFiles() const { return recent_; }
    // The one runner of device work: calibrator actions, converter
    // operations, the converter-mode send; a schedule run tells it too.
    TDeviceWork& Work() { return *work_; }
    TTestSignalsForm& ScheduleWindow() { return *schedule_; }

Q_SIGNALS:
    // An action ended and its report reached the window thread.
    void ActionFinished(bool ok);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusPanel();
    QAction* Item(QMenu* menu, const char* name, const QString& caption);
    void ReadSettings();
    void ShowCaption();
    void FillRecentMenu();
    void SetSignalCommandsEnabled(bool on);
    void UpdatePageMenu();
    void ShowPage(QAction* item);
    void OpenByDialog(files::SignalFileKind kind);
    void SaveByDialog(files::SignalFileKind kind);
    void OpenRecent(std::size_t index);
    void ActionDone(const TActionOutcome& outcome);
    // The report sink of a job for `log`, which may go before the job ends.
    std::shared_ptr<cmn::IProtocolLog> WorkerLog(TWindowProtocolLog& log);
    void DrawStatus(quint32 message, int code);
    void WindowClosing(TForm2* window);
    // A new signal window goes wholly inside the frame, cascaded from its top
    // left corner, or maximised when even its smallest size does not fit.
    void PlaceInFrame(QMdiSubWindow* sub);
    void ToggleConverterMode();
    void ShowConverterEntries();
    void CloseAfterReset();
    void TryTerminate();
    void ShowSchedule();
    sched::TLinkSettings LinkSettings();
    TActionRequest Request(TActionKind kind);
    // The active signal window with every quantity computed anew; none when
    // there is none or a calculation refused (its message shown).
    TForm2* RecalculatedSignalWindow();
    void ExportSignal();
    void VerifySignal();
    void EditPreferences();
    void EditNominals();
    void ShowSplash();
    void ShowAbout();
    void ShowIdentify();

    std::string settingsFailure_;  // why the settings file could not be read at start
    files::TTalvoIni ini_;
    std::shared_ptr<lnk::TSignalLibrary> library_;
    bool splash_;
    sig::TCorrectionRecord correction_{};
    int modification_ = 0;
    std::optional<std::uint16_t> lastDivisor_;  // the transfer state handed to every action
    QPointer<TForm2> actionWindow_;             // the window whose protocol the running action writes
    std::vector<std::string> recent_;
    bool converterEnabled_ = false;
    bool commandsOn_ = false;
    bool closing_ = false;  // the reset of the whole signal that ends the program runs
    bool closed_ = false;
    bool terminating_ = false;
    edit::TVoltageIndicator indicator_;

    TStatusRelay status_;
    // Lines of actions without a signal window (the reset when closing) have no protocol page.
    TWindowProtocolLog closingLog_;
    TDeviceWork* work_;
    TTestSignalsForm* schedule_;
    TfmExport* export_;
    QMdiArea* mdi_;
    QMenu* recentMenu_ = nullptr;
    QMenu* pageMenu_ = nullptr;
    QComboBox* ports_ = nullptr;
    QComboBox* rates_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    QLabel* voltagePanel_ = nullptr;
    QAction* converterMode_ = nullptr;
    std::vector<QAction*> signalCommands_;
    std::vector<QAction*> converterEntries_;
    std::vector<QToolButton*> signalButtons_;
};

}  // namespace ui
