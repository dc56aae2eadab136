#pragma once

#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "editor/PageTable.h"
#include "editor/SignalDefaults.h"
#include "editor/SignalFields.h"
#include "editor/SignalProtocol.h"
#include "files/SignalFile.h"
#include "signal/Correction.h"
#include "signal/Display.h"
#include "signal/Frequency.h"
#include "signal/SignalSet.h"
#include "ui/common/QueuedSinks.h"

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QStackedWidget;
class QTabBar;

namespace ui {

class TFieldEdit;
class TPageFields;
class TVoltagePage;
class TCurrentPage;
class TOnePhasePage;
class TThreePhasePage;
class TDipsPage;
class TFluctuationsPage;
class THarmonicGrid;
class TAngleGrid;
class TIntergarmPage;
class TWindowCharts;
class TConverterPage;
class TDeviceWork;

// The signal window: one test signal, its pages chosen with the tab strip
// at the bottom edge, and the protocol of the actions sent from it. The
// calculations given the window as their display refresh its pages.
class TForm2 : public QWidget, public sig::ISignalDisplay {
    Q_OBJECT
public:
    // `owner` must be the main window; otherwise creation fails with cmn::TalvoError.
    TForm2(QWidget* owner, const sig::TCorrectionRecord& correction, int modification);

    sig::TSignalSet& Signal() { return signal_; }
    const sig::TSignalSet& Signal() const { return signal_; }
    // Description, display state and converter switches as the files keep them.
    files::TSignalFileExtras Extras() const;
    int Modification() const { return modification_; }
    void SetModification(int modification) { modification_ = modification; }
    const sig::TCorrectionRecord& Correction() const { return correction_; }
    const sig::TFrequencyBounds& FrequencyBounds() const { return bounds_; }

    // Reads a signal file of `kind` into the window and recomputes all it
    // carries; on refusal the window keeps what it had and the reader has
    // shown its message. A calculation that fails raises cmn::TalvoError.
    bool LoadSignal(files::SignalFileKind kind, const std::string& path);
    void SaveSignal(files::SignalFileKind kind, const std::string& path) const;

    void FillTabs(int index, bool withConverter);
    int FindTab(std::string_view caption) const;
    void SelectTab(int index);
    std::vector<std::string> TabList() const;
    bool HasConverterPage() const { return hasConverterPage_; }
    TConverterPage* ConverterPage() const { return converterPage_; }
    // The converter page's mode: in the automatic one the current values are read only.
    void SetConverterAutomatic(bool automatic);

    void ApplyCalibrationCoefs(const sig::TCorrectionRecord& correction);
    // Every derived quantity anew, in the fixed order of the calculations.
    void Recalculate();
    void UpdateFrequencyBounds();
    // The frequency setting of this window's defaults and frequency fields.
    edit::TFrequencySetting FrequencySetting() { return {Kf(), bounds_, log_}; }
    // Takes the field's text over into the record of its row, as the shown
    // page's entry; a refusal is reported and the focus goes back. True when
    // the value was stored.
    bool TakeOverField(const edit::TFieldRow& row, TFieldEdit& field);

    // Display operations: the controls of one page show the records.
    void ShowAllData_u();
    void ShowAllData_i();
    void ShowAllData_Power();
    void ShowAllData_Power_3();
    void ShowAllData_Power_1459();
    // Every page that shows values of the records.
    void ShowAllData();
    void ShowAllData_Collapse();
    void ShowAllData_Koleb();
    void ShowAllData_InterGarm();
    // The display state of a signal file: chart maxima, axes, checked
    // display lists; then the first page.
    void ShowChart1(const files::TSignalDisplayState& display);
    // The charts of the window, for the pages that place them.
    TWindowCharts& Charts() { return *charts_; }

    void ShowVoltageValues(const sig::TSignalParamsU& v) override;
    void ShowCurrentPhasors(const std::array<sig::TPolar, 3>& currents) override;
    void ShowCurrentValues(const sig::TSignalParamsI& c) override;
    void DrawVectorDiagram(const sig::TSignalParamsU& v, const sig::TSignalParamsI& c) override;

    // The log the actions of this window report to; lines reach the
    // protocol page on the window thread.
    TWindowProtocolLog& ProtocolLog() { return log_; }
    const edit::TSignalProtocol& Protocol() const { return protocol_; }
    std::string ConverterPort() const;
    // The program's one runner of device work; while it runs a job for this
    // window (an action reporting into its protocol, a converter operation),
    // the window stays open.
    TDeviceWork& Work() const { return *work_; }

    QSize sizeHint() const override;

Q_SIGNALS:
    // The tabs changed: the main window's page menu follows them.
    void TabsChanged();
    // The window is closing (message 0x1700).
    void Closing(ui::TForm2* window);
    // A status report for the main window (message 0x1500 and its code).
    void StatusPosted(quint32 message, int code);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildPages();
    QWidget* BuildProtocolPage();
    QWidget* BuildConverterPage();
    void BuildTabMenu();
    void SetTabs(const std::vector<std::string>& tabs, int current);
    void LockConverterFields();
    void TabsChange(int index);
    void TabMenuClick(int tag);
    void AddProtocolLine(int type, const QString& text);
    void RedrawAll();
    void ClearProtocol();
    void SaveProtocol();
    sig::real Kf() const;
    std::string ShownPage() const;
    // The scroll area in the notebook that holds the page of that name.
    QScrollArea* PageArea(std::string_view page) const;
    void EscapeField(const edit::TFieldRow& row, TFieldEdit& field);
    // Redisplays the values of a page, named by the rules or by its row.
    void ShowPage(std::string_view page);
    void ShowPage(edit::TPageId page);
    QWidget* BuildPage(edit::TPageId page);

    sig::TSignalSet signal_;
    files::TSignalFileExtras extras_;
    sig::TCorrectionRecord correction_;
    int modification_;
    sig::TFrequencyBounds bounds_;
    bool hasConverterPage_ = false;
    bool converterAuto_ = true;  // the converter page's mode: automatic or manual
    bool showingTabs_ = false;
    edit::TSignalProtocol protocol_;
    TWindowProtocolLog log_;

    TWindowCharts* charts_;
    TPageFields* fields_;
    TVoltagePage* voltagePage_ = nullptr;
    TCurrentPage* currentPage_ = nullptr;
    TOnePhasePage* onePhasePage_ = nullptr;
    TThreePhasePage* threePhasePage_ = nullptr;
    TDipsPage* dipsPage_ = nullptr;
    TFluctuationsPage* fluctuationsPage_ = nullptr;
    THarmonicGrid* garmonics_ = nullptr;
    TAngleGrid* angles_ = nullptr;
    TIntergarmPage* intergarm_ = nullptr;
    TConverterPage* converterPage_ = nullptr;
    TDeviceWork* work_ = nullptr;
    bool takingOver_ = false;
    QTabBar* tabs_;
    QStackedWidget* notebook_;
    QMenu* tabMenu_;
    QListWidget* protocolList_ = nullptr;
    QLabel* total_ = nullptr;
    QLabel* successful_ = nullptr;
    QLabel* errors_ = nullptr;
    QPlainTextEdit* descript_ = nullptr;
    QComboBox* converterPort_ = nullptr;
};

}  // namespace ui
