#include "ui/verify/TfmVerify.h"

#include <QBrush>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <exception>

#include "CommonUtils/TalvoError.h"
#include "TalvoVersion.h"
#include "files/AtomicFile.h"
#include "files/DataFolders.h"
#include "measure/Report.h"
#include "measure/VerifyLook.h"
#include "signal/Nominals.h"
#include "ui/common/DeviceWork.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"
#include "ui/verify/VerifyCharts.h"
#include "ui/verify/VerifyPdf.h"

namespace ui {

// What the worker and the window share for one check: the worker writes the
// progress and, once, the outcome; the window reads them after the runner
// reports the job done.
struct TVerifyRun {
    std::atomic<bool> Cancel{false};
    std::atomic<double> Progress{0};
    std::optional<msr::TVerifyReport> Report;
    std::string Error;
};

namespace {

enum TPlotTab { ptWaveform, ptHarmonics, ptPinst, ptHalfCycle };

// The widest the quantity column opens, px; the longest names wrap into its hint.
constexpr int kQuantityWidth = 270;

QColor Colour(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

std::tm LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

QPushButton* Button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption);
    NameControl(b, name, caption);
    b->setAutoDefault(false);
    return b;
}

QComboBox* Choice(const char* name, const QString& caption) {
    auto* c = new QComboBox;
    NameControl(c, name, caption);
    return c;
}

QLabel* Caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QChartView* ChartView(const char* name, const QString& caption) {
    auto* view = new QChartView;
    NameControl(view, name, caption);
    view->setRenderHint(QPainter::Antialiasing, true);
    return view;
}

// The check itself, on the runner's worker thread: values and shared
// pointers only.
void RunCheck(const std::shared_ptr<TVerifyRun>& run, const std::shared_ptr<const sig::TSignalSet>& signal,
              const std::shared_ptr<const lnk::TSignalLibrary>& library, msr::TVerifyOptions options) {
    options.Capture.Library = library && library->Loaded() ? library.get() : nullptr;
    msr::TVerifyControl control;
    control.Progress = [run](double fraction) { run->Progress = fraction; };
    control.Cancel = &run->Cancel;
    try {
        run->Report = msr::VerifySignal(*signal, options, control);
    } catch (const cmn::TalvoError& e) {
        run->Error = e.what();
    } catch (const std::exception& e) {
        run->Error = std::string("Проверка сигнала не выполнена: ") + e.what();
    }
}

}  // namespace

TfmVerify::TfmVerify(TVerifyInput input, TDeviceWork& work, QWidget* parent)
    : QDialog(parent), input_(std::move(input)), work_(work), poll_(new QTimer(this)) {
    setObjectName(QStringLiteral("fmVerify"));
    setWindowTitle(Q(msr::kVerifyTitle) + QStringLiteral(" — ") + Q(input_.Caption));
    BuildControls();
    poll_->setInterval(100);
    connect(poll_, &QTimer::timeout, this, &TfmVerify::ShowProgress);
    ShowState(Q(msr::kVerifyNotRun), false);
    UpdateEnabling();
    // Fits a 1366 × 768 screen with its title bar and a panel.
    resize(1340, 690);
}

TfmVerify::~TfmVerify() {
    // A check still running ends on its own; what it writes is shared.
    if (run_) run_->Cancel = true;
}

void TfmVerify::BuildControls() {
    action_ = Choice("cbVerifyAction", QStringLiteral("Действие"));
    for (msr::TVerifyAction a : msr::kVerifyActions) action_->addItem(Q(msr::ActionName(a)));
    flicker_ = Choice("cbFlickerTime", QStringLiteral("Наблюдение фликера"));
    for (const msr::TFlickerChoice& c : msr::FlickerChoices()) flicker_->addItem(Q(c.Caption));
    verify_ = Button("btnVerify", QStringLiteral("Проверить"));
    cancel_ = Button("btnCancelVerify", QStringLiteral("Отмена"));
    save_ = Button("btnSaveReport", QStringLiteral("Сохранить отчёт"));
    QPushButton* close = Button("btnClose", QStringLiteral("Закрыть"));
    progress_ = new QProgressBar;
    NameControl(progress_, "pbVerify", QStringLiteral("Ход проверки"));
    progress_->setRange(0, 100);
    progress_->setMinimumWidth(160);
    state_ = new QLabel;
    NameControl(state_, "lbVerifyState", QStringLiteral("Состояние проверки"));
    state_->setWordWrap(true);

    auto* choices = new QHBoxLayout;
    choices->addWidget(Caption(QStringLiteral("Действие:"), action_));
    choices->addWidget(action_);
    choices->addSpacing(12);
    choices->addWidget(Caption(QStringLiteral("Наблюдение фликера:"), flicker_));
    choices->addWidget(flicker_);
    choices->addSpacing(12);
    choices->addWidget(verify_);
    choices->addWidget(cancel_);
    choices->addWidget(progress_, 1);

    table_ = new QTableWidget(0, static_cast<int>(msr::kCompareColumns.size()));
    NameControl(table_, "sgVerifyTable", QStringLiteral("Сравнение заданных и измеренных величин"));
    QStringList headers;
    for (std::string_view h : msr::kCompareColumns) headers.append(Q(h));
    table_->setHorizontalHeaderLabels(headers);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->verticalHeader()->hide();
    // The numbers and the verdict keep their width, the rule's long text
    // gives way (its whole text is the cell's hint).
    table_->horizontalHeader()->setSectionResizeMode(msr::kRuleColumn, QHeaderView::Stretch);
    table_->setTextElideMode(Qt::ElideRight);

    plots_ = new QTabWidget;
    NameControl(plots_, "tcVerifyPlots", QStringLiteral("Графики проверки"));
    auto* wavePage = new QWidget;
    waveChannel_ = Choice("cbWaveChannel", QStringLiteral("Канал формы сигнала"));
    for (std::string_view c : msr::kWaveChannels) waveChannel_->addItem(Q(c));
    waveSpan_ = Choice("cbWaveSpan", QStringLiteral("Интервал формы сигнала"));
    for (const msr::TSpanChoice& s : msr::SpanChoices()) waveSpan_->addItem(Q(s.Caption));
    waveSpan_->setCurrentIndex(1);
    waveform_ = ChartView("chVerifyWaveform", QStringLiteral("Форма сигнала"));
    auto* waveBar = new QHBoxLayout;
    waveBar->addWidget(Caption(QStringLiteral("Канал:"), waveChannel_));
    waveBar->addWidget(waveChannel_);
    waveBar->addWidget(Caption(QStringLiteral("Интервал:"), waveSpan_));
    waveBar->addWidget(waveSpan_);
    waveBar->addStretch(1);
    auto* waveLayout = new QVBoxLayout(wavePage);
    waveLayout->setContentsMargins(4, 4, 4, 4);
    waveLayout->addLayout(waveBar);
    waveLayout->addWidget(waveform_, 1);
    plots_->addTab(wavePage, QStringLiteral("Форма сигнала"));

    auto* harmonicPage = new QWidget;
    harmonicChannel_ = Choice("cbHarmonicChannel", QStringLiteral("Канал гармоник"));
    harmonics_ = ChartView("chVerifyHarmonics", QStringLiteral("Гармоники"));
    auto* harmonicBar = new QHBoxLayout;
    harmonicBar->addWidget(Caption(QStringLiteral("Канал:"), harmonicChannel_));
    harmonicBar->addWidget(harmonicChannel_);
    harmonicBar->addStretch(1);
    auto* harmonicLayout = new QVBoxLayout(harmonicPage);
    harmonicLayout->setContentsMargins(4, 4, 4, 4);
    harmonicLayout->addLayout(harmonicBar);
    harmonicLayout->addWidget(harmonics_, 1);
    plots_->addTab(harmonicPage, QStringLiteral("Гармоники"));

    pinst_ = ChartView("chVerifyPinst", QStringLiteral("Pinst"));
    plots_->addTab(pinst_, QStringLiteral("Pinst"));
    halfCycle_ = ChartView("chVerifyHalfCycle", QStringLiteral("Urms(1/2)"));
    plots_->addTab(halfCycle_, QStringLiteral("Urms(1/2)"));

    auto* split = new QSplitter(Qt::Horizontal);
    split->setObjectName(QStringLiteral("spVerify"));
    split->addWidget(table_);
    split->addWidget(plots_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({840, 480});
    split->setChildrenCollapsible(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(state_, 1);
    bottom->addWidget(save_);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);

    connect(action_, &QComboBox::currentIndexChanged, this, &TfmVerify::UpdateEnabling);
    connect(verify_, &QPushButton::clicked, this, &TfmVerify::Start);
    connect(cancel_, &QPushButton::clicked, this, &TfmVerify::Cancel);
    connect(save_, &QPushButton::clicked, this, &TfmVerify::ChooseAndSave);
    connect(close, &QPushButton::clicked, this, &TfmVerify::reject);
    connect(waveChannel_, &QComboBox::currentIndexChanged, this, &TfmVerify::ShowWaveform);
    connect(waveSpan_, &QComboBox::currentIndexChanged, this, &TfmVerify::ShowWaveform);
    connect(harmonicChannel_, &QComboBox::currentIndexChanged, this, &TfmVerify::ShowHarmonics);
}

msr::TVerifyAction TfmVerify::ChosenAction() const {
    return msr::kVerifyActions[static_cast<std::size_t>(std::max(action_->currentIndex(), 0))];
}

void TfmVerify::Start() {
    if (run_) return;
    auto run = std::make_shared<TVerifyRun>();
    auto signal = std::make_shared<const sig::TSignalSet>(input_.Signal);
    const msr::TVerifyOptions options =
        msr::OptionsFor(ChosenAction(), static_cast<std::size_t>(std::max(flicker_->currentIndex(), 0)),
                        input_.Modification, input_.Correction, nullptr);
    const std::shared_ptr<const lnk::TSignalLibrary> library = input_.Library;
    if (!work_.Start([run, signal, library, options] { RunCheck(run, signal, library, options); }, this,
                     [this, run] { Ended(run); }, this)) {
        ShowState(Q(msr::kVerifyBusy), true);
        return;
    }
    run_ = run;
    // The table and the plots never show a check of other choices than the
    // one under way: what was shown goes.
    report_.reset();
    table_->setRowCount(0);
    for (QChartView* view : {waveform_, harmonics_, pinst_, halfCycle_}) SetChart(view, nullptr);
    reportAction_ = options.Capture.Action;
    reportTime_ = LocalNow();
    progress_->setValue(0);
    ShowState(Q(msr::kVerifyRunning), false);
    poll_->start();
    UpdateEnabling();
}

void TfmVerify::Cancel() {
    if (run_) run_->Cancel = true;
}

void TfmVerify::reject() {
    Cancel();
    QDialog::reject();
}

void TfmVerify::Ended(const std::shared_ptr<TVerifyRun>& run) {
    poll_->stop();
    run_.reset();
    const bool completed = run->Report.has_value();
    if (completed) {
        report_ = std::make_shared<const msr::TVerifyReport>(std::move(*run->Report));
        progress_->setValue(100);
        ShowState(Q(msr::VerifySummary(*report_)), !report_->Passed());
        FillTable();
        ShowPlots();
    } else {
        progress_->setValue(0);
        ShowState(Q(run->Error), true);
    }
    UpdateEnabling();
    Q_EMIT CheckEnded(completed);
}

void TfmVerify::ShowProgress() {
    if (run_) progress_->setValue(msr::ProgressPercent(run_->Progress));
}

void TfmVerify::ShowState(const QString& text, bool failure) {
    state_->setText(text);
    state_->setStyleSheet(failure ? QStringLiteral("QLabel { color: #B00000; font-weight: bold; }") : QString());
}

void TfmVerify::UpdateEnabling() {
    const bool running = run_ != nullptr;
    action_->setEnabled(!running);
    flicker_->setEnabled(!running && msr::FlickerChoiceApplies(ChosenAction()));
    verify_->setEnabled(!running);
    cancel_->setEnabled(running);
    save_->setEnabled(!running && report_ != nullptr);
    // Until a check has ended there is nothing to plot.
    plots_->setEnabled(report_ != nullptr);
}

void TfmVerify::FillTable() {
    table_->setRowCount(0);
    table_->setRowCount(static_cast<int>(report_->Rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const msr::TCompareRow& row = report_->Rows[static_cast<std::size_t>(r)];
        const auto cells = msr::CompareCells(row);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(Q(cells[static_cast<std::size_t>(c)]));
            const msr::TCellLook look = msr::CellLook(row, c);
            item->setBackground(Colour(look.Background));
            item->setForeground(Colour(look.Foreground));
            QFont font = item->font();
            font.setBold(look.Bold);
            item->setFont(font);
            if (c >= 1 && c <= 4) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == 0 || c == msr::kRuleColumn) item->setToolTip(item->text());
            table_->setItem(r, c, item);
        }
    }
    for (int c = 0; c < table_->columnCount(); ++c)
        if (c != msr::kRuleColumn) table_->resizeColumnToContents(c);
    table_->setColumnWidth(0, std::min(table_->columnWidth(0), kQuantityWidth));
    // The first quantity out of tolerance is in view.
    const auto& rows = report_->Rows;
    const auto failed = std::find_if(rows.begin(), rows.end(), [](const msr::TCompareRow& r) { return !r.Pass; });
    if (failed != rows.end()) table_->scrollToItem(table_->item(static_cast<int>(failed - rows.begin()), 0));
}

void TfmVerify::ShowPlots() {
    const msr::TPlotSet set = msr::PlotsFor(*report_, reportAction_);
    plots_->setTabVisible(ptWaveform, set.Waveform);
    plots_->setTabVisible(ptHarmonics, set.Harmonics);
    plots_->setTabVisible(ptPinst, set.Pinst);
    plots_->setTabVisible(ptHalfCycle, set.HalfCycleRms);
    {
        const QSignalBlocker quiet(harmonicChannel_);
        const int chosen = std::max(harmonicChannel_->currentIndex(), 0);
        harmonicChannel_->clear();
        for (const msr::THarmonicBars& bars : report_->Harmonics) harmonicChannel_->addItem(Q(bars.Channel));
        harmonicChannel_->setCurrentIndex(std::min(chosen, harmonicChannel_->count() - 1));
    }
    ShowWaveform();
    ShowHarmonics();
    SetChart(pinst_, set.Pinst ? PinstPlot() : nullptr);
    SetChart(halfCycle_, set.HalfCycleRms ? HalfCyclePlot() : nullptr);
}

void TfmVerify::ShowWaveform() {
    if (report_ && report_->Playback) SetChart(waveform_, WaveformPlot());
}

void TfmVerify::ShowHarmonics() {
    if (report_ && !report_->Harmonics.empty()) SetChart(harmonics_, HarmonicPlot());
}

QChart* TfmVerify::WaveformPlot() const {
    const int channel = std::max(waveChannel_->currentIndex(), 0);
    const int periods = msr::SpanChoices()[static_cast<std::size_t>(std::max(waveSpan_->currentIndex(), 0))].Periods;
    const double span = msr::SpanSeconds(periods, static_cast<double>(input_.Signal.Voltage.Freq));
    return WaveformChart(msr::PlayedAndIdeal(*report_->Playback, input_.Signal, channel, 0, span), channel);
}

QChart* TfmVerify::HarmonicPlot() const {
    const auto chosen = static_cast<std::size_t>(std::max(harmonicChannel_->currentIndex(), 0));
    return HarmonicChart(report_->Harmonics[std::min(chosen, report_->Harmonics.size() - 1)]);
}

QChart* TfmVerify::PinstPlot() const {
    return TimeSeriesChart(report_->Pinst, QStringLiteral("Кратковременная доза фликера Pinst"),
                           QStringLiteral("Pinst"));
}

QChart* TfmVerify::HalfCyclePlot() const {
    return TimeSeriesChart(report_->HalfCycleRms, QStringLiteral("Действующее значение за полупериод"),
                           QStringLiteral("Urms(1/2), В"));
}

// The view hands back the chart it showed; it goes here.
void TfmVerify::SetChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart ? chart : new QChart);
    delete old;
}

void TfmVerify::ChooseAndSave() {
    if (!report_) return;
    std::string folder;
    try {
        folder = files::ExportFolder();
        files::CreateFolder(folder);
    } catch (const cmn::TalvoError&) {
        folder.clear();
    }
    const auto path =
        ChooseFile(this, SaveFileChoice(std::string(msr::kReportSaveTitle), folder, msr::kReportFilter, 1, "pdf",
                                        msr::ReportFileStem(input_.Caption, reportTime_) + ".pdf"));
    if (!path) return;
    const std::string error = SaveReport(*path);
    if (!error.empty()) {
        MyShowMessage(error, cmn::MessageKind::Warning);
        return;
    }
    const std::string pdf = msr::PdfPath(*path);
    ShowState(QStringLiteral("Отчёт записан: %1 и %2").arg(Q(pdf), Q(msr::CsvPathBeside(pdf))), false);
}

std::string TfmVerify::SaveReport(const std::string& chosen) {
    if (!report_) return std::string(msr::kVerifyNotRun);
    const std::string pdf = msr::PdfPath(chosen);
    const msr::TReportHeader header{input_.Caption, msr::ActionName(reportAction_),
                                    std::string(sig::ModificationInfo(input_.Modification).DisplayName),
                                    msr::ReportTime(reportTime_)};
    const msr::TPlotSet set = msr::PlotsFor(*report_, reportAction_);
    // The plots as the window shows them: the channels and the span chosen there.
    std::vector<QChart*> charts;
    if (set.Waveform) charts.push_back(WaveformPlot());
    if (set.Harmonics) charts.push_back(HarmonicPlot());
    if (set.Pinst) charts.push_back(PinstPlot());
    if (set.HalfCycleRms) charts.push_back(HalfCyclePlot());
    const QByteArray bytes = ReportPdf(msr::ReportHeaderLines(*report_, header, TALVO_VERSION), *report_, charts);
    try {
        files::WriteFileAtomic(pdf, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        files::WriteFileAtomic(msr::CsvPathBeside(pdf), msr::ReportCsv(*report_, header));
    } catch (const cmn::TalvoError& e) {
        return e.what();
    }
    return {};
}

}  // namespace ui
