#include "ui/schedule/ScheduleWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "CommonUtils/TalvoError.h"
#include "files/DataFolders.h"
#include "files/SignalFile.h"
#include "schedule/ListFile.h"
#include "signal/Flicker.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"
#include "ui/schedule/ProtocolList.h"
#include "ui/schedule/ScheduleGrid.h"

namespace ui {

using edit::TScheduleColumn;
using sched::TScheduleMode;

// One run: its own flicker table and actions, since the runner holds both by
// reference for as long as its worker goes on.
struct TTestSignalsForm::TRun {
    TRun(const sched::TLinkSettings& link, cmn::IProtocolLog& log, sched::IScheduleEvents& events,
         const sched::IClock& clock)
        : Flicker(sig::FlickerTable().Snapshot()), Actions(link, Flicker, false), Runner(Actions, log, events, clock) {}
    sig::TKolebParamsHelpTable Flicker;
    sched::TCalibratorActions Actions;
    sched::TScheduleRunner Runner;
};

namespace {

constexpr TScheduleMode kModes[3] = {TScheduleMode::ByDuration, TScheduleMode::ByTime,
                                     TScheduleMode::ByTimeAndDuration};

sched::TDateTime FromQt(const QDate& date, const QTime& time) {
    return sched::EncodeDateTime({date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), 0})
        .value_or(0);
}

QDateTime ToQt(sched::TDateTime value) {
    const sched::TCivilTime t = sched::DecodeDateTime(sched::WithoutMilliseconds(value));
    return {QDate(t.Year, t.Month, t.Day), QTime(t.Hour, t.Minute, t.Second)};
}

// The open dialog, or with an extension the save dialog, of one kind of file.
TFileChoice Choice(const char* name, std::string_view title, std::string folder, std::string_view filter,
                   std::string saveExtension = {}) {
    TFileChoice choice;
    choice.ObjectName = name;
    choice.Title = std::string(title);
    choice.Folder = std::move(folder);
    choice.Filter = filter;
    choice.Save = !saveExtension.empty();
    choice.DefaultExtension = std::move(saveExtension);
    return choice;
}

// The item of a cell, made the first time the cell is shown.
QTableWidgetItem* ItemOf(QTableWidget& grid, int row, int column) {
    QTableWidgetItem* item = grid.item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid.setItem(row, column, item);
    }
    return item;
}

QLabel* Caption(const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(buddy);
    buddy->setAccessibleName(label->text());
    return label;
}

}  // namespace

TTestSignalsForm::TTestSignalsForm(QWidget* parent)
    : QWidget(parent, Qt::Window),
      events_(new TScheduleEventRelay(this)),
      pages_(new QTabWidget),
      status_(new QStatusBar) {
    setObjectName(QStringLiteral("TestSignalsForm"));
    events_->setObjectName(QStringLiteral("ScheduleEvents"));
    setWindowTitle(Q(edit::kScheduleTitle));
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->addTab(BuildListPage(), QStringLiteral("Список сигналов"));
    pages_->addTab(BuildProtocolPage(), QStringLiteral("Протокол работы"));
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addWidget(pages_, 1);
    layout->addWidget(status_);

    connect(&runLog_, &TWindowProtocolLog::Logged, this, &TTestSignalsForm::AddProtocolLine, Qt::QueuedConnection);
    connect(events_, &TScheduleEventRelay::RowState, this, &TTestSignalsForm::RowStateReported, Qt::QueuedConnection);
    connect(events_, &TScheduleEventRelay::Finished, this, &TTestSignalsForm::RunEnded, Qt::QueuedConnection);
    list_.SetStartTime(FromQt(start_->date(), start_->time()));
    Redraw();
    resize(1040, 600);
}

TTestSignalsForm::~TTestSignalsForm() { run_.reset(); }

QPushButton* TTestSignalsForm::Button(const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    NameControl(button, name, button->text());
    return button;
}

QWidget* TTestSignalsForm::BuildListPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page_list"));

    auto* modeBox = new QGroupBox(QStringLiteral("Режим задания"));
    auto* modeLayout = new QVBoxLayout(modeBox);
    const char* modeNames[3] = {"rbDuration", "rbTime", "rbTimeAndDuration"};
    const char* modeCaptions[3] = {"По длительности", "По времени", "По времени и длительности"};
    for (int m = 0; m < 3; ++m) {
        modes_[m] = new QRadioButton(QString::fromUtf8(modeCaptions[m]));
        NameControl(modes_[m], modeNames[m], modes_[m]->text());
        modeLayout->addWidget(modes_[m]);
        connect(modes_[m], &QRadioButton::toggled, this, [this](bool on) {
            if (on) ModeChosen();
        });
    }

    setTime_ = new QSpinBox;
    setTime_->setObjectName(QStringLiteral("seSetTime"));
    setTime_->setRange(0, edit::kMaxDuration);
    setTime_->setValue(edit::kDefaultSetTime);
    start_ = new QDateTimeEdit(ToQt(clock_.Now()));
    start_->setObjectName(QStringLiteral("dtpStart"));
    start_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    connect(start_, &QDateTimeEdit::dateTimeChanged, this, &TTestSignalsForm::StartTimeChanged);
    description_ = new QLineEdit;
    description_->setObjectName(QStringLiteral("edDescription"));
    connect(description_, &QLineEdit::textEdited, this,
            [this](const QString& text) { list_.List().Description = U(text); });

    auto* times = new QGridLayout;
    times->addWidget(Caption("Время на установку сигнала", setTime_), 0, 0);
    times->addWidget(setTime_, 0, 1);
    times->addWidget(new QLabel(QStringLiteral("сек.")), 0, 2);
    startLabel_ = Caption("Время старта", start_);
    times->addWidget(startLabel_, 1, 0);
    times->addWidget(start_, 1, 1);
    times->addWidget(Caption("Описание списка:", description_), 2, 0);
    times->addWidget(description_, 2, 1, 1, 3);
    times->setColumnStretch(3, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(modeBox);
    top->addLayout(times, 1);

    grid_ = new TScheduleGrid;
    NameControl(grid_, "SignalGrid", QStringLiteral("Список сигналов"));
    grid_->setItemDelegate(new TScheduleCellDelegate(
        list_,
        [this](int column) {
            return edit::CellEditor(list_.Mode(), static_cast<TScheduleColumn>(column), run_ != nullptr);
        },
        [this](int row, int column, const QVariant& value) { CellEdited(row, column, value); }, grid_));
    QHeaderView* header = grid_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(static_cast<int>(TScheduleColumn::Name), QHeaderView::Stretch);
    connect(grid_, &QTableWidget::cellClicked, this, &TTestSignalsForm::CellClicked);
    connect(grid_, &TScheduleGrid::RowDropped, this, &TTestSignalsForm::RowsExchanged);

    addSignal_ = Button("btnAddSignal", "Добавить сигнал");
    addCommand_ = Button("btnAddCommand", "Добавить команду");
    delete_ = Button("btnDelete", "Удалить");
    selectAll_ = Button("btnSelectAll", "Выделить все");
    resetAll_ = Button("btnResetAll", "Сбросить все");
    setDate_ = Button("btnSetCurrentDate", "Устан. текущую дату у сигналов");
    clear_ = Button("btnClearList", "Очистить список сигналов");
    load_ = Button("btnLoad", "Загрузить");
    save_ = Button("btnSave", "Сохранить");
    startButton_ = Button("btnStart", "Старт");
    stop_ = Button("btnStop", "Стоп");
    connect(addSignal_, &QPushButton::clicked, this, &TTestSignalsForm::AddSignal);
    connect(addCommand_, &QPushButton::clicked, this, &TTestSignalsForm::AddCommand);
    connect(delete_, &QPushButton::clicked, this, &TTestSignalsForm::DeleteRow);
    connect(selectAll_, &QPushButton::clicked, this, [this] { SelectAll(true); });
    connect(resetAll_, &QPushButton::clicked, this, [this] { SelectAll(false); });
    connect(setDate_, &QPushButton::clicked, this, &TTestSignalsForm::SetCurrentDate);
    connect(clear_, &QPushButton::clicked, this, &TTestSignalsForm::ClearList);
    connect(load_, &QPushButton::clicked, this, &TTestSignalsForm::LoadList);
    connect(save_, &QPushButton::clicked, this, &TTestSignalsForm::SaveList);
    connect(startButton_, &QPushButton::clicked, this, &TTestSignalsForm::Start);
    connect(stop_, &QPushButton::clicked, this, &TTestSignalsForm::Stop);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {addSignal_, addCommand_, delete_}) buttons->addWidget(b);
    buttons->addSpacing(8);
    for (QPushButton* b : {selectAll_, resetAll_, setDate_, clear_}) buttons->addWidget(b);
    buttons->addSpacing(8);
    for (QPushButton* b : {load_, save_}) buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {startButton_, stop_}) buttons->addWidget(b);

    auto* middle = new QHBoxLayout;
    middle->addWidget(grid_, 1);
    middle->addLayout(buttons);

    path_ = new QPlainTextEdit;
    path_->setObjectName(QStringLiteral("mmPath"));
    signalDescription_ = new QPlainTextEdit;
    signalDescription_->setObjectName(QStringLiteral("mmDescription"));
    auto* texts = new QGridLayout;
    for (QPlainTextEdit* memo : {path_, signalDescription_}) {
        memo->setReadOnly(true);
        memo->setFixedHeight(46);
    }
    texts->addWidget(Caption("Путь к файлу сигнала", path_), 0, 0);
    texts->addWidget(Caption("Описание сигнала:", signalDescription_), 0, 1);
    texts->addWidget(path_, 1, 0);
    texts->addWidget(signalDescription_, 1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(texts);
    modes_[0]->setChecked(true);
    return page;
}

QWidget* TTestSignalsForm::BuildProtocolPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page_protocol"));
    protocolList_ = new TProtocolList;
    NameControl(protocolList_, "lvProtocol", QStringLiteral("Протокол работы"));
    lastMessage_ = new QCheckBox(QStringLiteral("На последнее сообщение"));
    NameControl(lastMessage_, "cbLastMessage", lastMessage_->text());
    lastMessage_->setChecked(true);
    QPushButton* save = Button("btnSaveProtocol", "Сохранить");
    QPushButton* clear = Button("btnClearProtocol", "Очистить");
    connect(save, &QPushButton::clicked, this, &TTestSignalsForm::SaveProtocol);
    connect(clear, &QPushButton::clicked, this, &TTestSignalsForm::ClearProtocol);

    auto* row = new QHBoxLayout;
    row->addWidget(lastMessage_);
    row->addStretch();
    row->addWidget(save);
    row->addWidget(clear);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(protocolList_, 1);
    layout->addLayout(row);
    return page;
}

bool TTestSignalsForm::Running() const { return run_ != nullptr; }

void TTestSignalsForm::SetLinkSettings(const sched::TLinkSettings& link) { link_ = link; }

// ---------------------------------------------------------------- display

void TTestSignalsForm::Redraw() {
    grid_->setRowCount(static_cast<int>(list_.Rows().size()));
    for (int r = 0; r < grid_->rowCount(); ++r) ShowRow(r);
    ShowColumns();
    FitColumns();
    UpdateEnabling();
}

void TTestSignalsForm::RedrawStates() {
    for (int r = 0; r < grid_->rowCount(); ++r) ShowState(r);
    UpdateEnabling();
}

// An item's text set to the one it holds changes nothing, so that a list
// redrawn after an edit notifies the view of the changed cells only.
void TTestSignalsForm::ShowRow(int row) {
    const sched::TSignalDataForGrid& r = list_.Rows()[static_cast<std::size_t>(row)];
    for (int c = 0; c < edit::kScheduleColumnCount; ++c) {
        const auto column = static_cast<TScheduleColumn>(c);
        if (column == TScheduleColumn::State) {
            ShowState(row);
            continue;
        }
        ItemOf(*grid_, row, c)->setText(Q(edit::ScheduleCellText(r, column)));
    }
}

// The picture is set only with a new state: pictures do not compare, so
// setting the same one again would still tell the view it changed.
void TTestSignalsForm::ShowState(int row) {
    const sched::TRowState state = list_.Rows()[static_cast<std::size_t>(row)].State;
    QTableWidgetItem* item = ItemOf(*grid_, row, static_cast<int>(TScheduleColumn::State));
    const QVariant shown = item->data(Qt::UserRole);
    if (shown.isValid() && shown.toInt() == static_cast<int>(state)) return;
    item->setData(Qt::UserRole, static_cast<int>(state));
    item->setIcon(pictures_.Of(state));
}

// The columns keep fixed widths that are measured here, once a redraw has
// filled them, rather than by the header after every cell it is told of.
void TTestSignalsForm::FitColumns() {
    for (int c = 0; c < edit::kScheduleColumnCount; ++c)
        if (static_cast<TScheduleColumn>(c) != TScheduleColumn::Name && !grid_->isColumnHidden(c))
            grid_->resizeColumnToContents(c);
}

void TTestSignalsForm::ShowColumns() {
    for (int c = 0; c < edit::kScheduleColumnCount; ++c)
        grid_->setColumnHidden(c, !edit::ColumnShown(list_.Mode(), static_cast<TScheduleColumn>(c)));
    const bool third = list_.Mode() == TScheduleMode::ByTimeAndDuration;
    startLabel_->setVisible(third);
    start_->setVisible(third);
}

void TTestSignalsForm::UpdateEnabling() {
    const edit::TScheduleEnabling e = edit::ScheduleEnabling(list_.Rows().size(), run_ != nullptr, list_.Mode());
    load_->setEnabled(e.Load);
    addSignal_->setEnabled(e.AddSignal);
    addCommand_->setEnabled(e.AddCommand);
    delete_->setEnabled(e.Delete);
    selectAll_->setEnabled(e.SelectAll);
    resetAll_->setEnabled(e.ResetAll);
    setDate_->setEnabled(e.SetDate);
    clear_->setEnabled(e.Clear);
    save_->setEnabled(e.Save);
    startButton_->setEnabled(e.Start);
    stop_->setEnabled(e.Stop);
    for (QRadioButton* mode : modes_) mode->setEnabled(e.Modes);
    description_->setReadOnly(!e.Description);
}

void TTestSignalsForm::ShowRowTexts(int row) {
    if (row < 0 || row >= static_cast<int>(list_.Rows().size())) return;
    const sched::TSignalDataForGrid& r = list_.Rows()[static_cast<std::size_t>(row)];
    path_->setPlainText(Q(r.Path));
    signalDescription_->setPlainText(Q(files::DecodeDescription(r.Description)));
}

// ---------------------------------------------------------------- list edits

void TTestSignalsForm::AddSignal() {
    const auto path =
        ChooseFile(this, Choice("OpenDialog1", edit::kOpenSignalTitle, files::SignalOpenFolder(), edit::kSignalFilter));
    if (!path) return;
    try {
        list_.Add(sched::NewSignalRow(*path, clock_.Now()));
    } catch (const std::exception& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
    Redraw();
}

void TTestSignalsForm::AddCommand() {
    list_.Add(sched::NewCommandRow(clock_.Now()));
    Redraw();
}

void TTestSignalsForm::DeleteRow() {
    if (run_) return;
    list_.Remove(static_cast<std::size_t>(std::max(grid_->currentRow(), 0)));
    Redraw();
}

void TTestSignalsForm::SelectAll(bool selected) {
    list_.SelectAll(selected);
    RedrawStates();
}

void TTestSignalsForm::SetCurrentDate() {
    list_.MoveToDate(clock_.Now());
    Redraw();
}

void TTestSignalsForm::ClearList() {
    list_.Clear();
    description_->clear();
    path_->clear();
    signalDescription_->clear();
    Redraw();
}

void TTestSignalsForm::LoadList() {
    if (!list_.Rows().empty() && !AskUser(edit::kAskReplaceList, cmn::MessageKind::Confirmation, cmn::Buttons::YesNo))
        return;
    const auto path =
        ChooseFile(this, Choice("OpenDialog2", edit::kOpenListTitle, files::SignalOpenFolder(), edit::kListFilter));
    if (path) LoadListFile(*path);
}

void TTestSignalsForm::LoadListFile(const std::string& path) {
    std::string error;
    try {
        sched::ReadSignalList(path, list_.List());
    } catch (const std::exception& e) {
        error = e.what();
    }
    list_.Loaded();
    description_->setText(Q(list_.List().Description));
    path_->clear();
    signalDescription_->clear();
    Redraw();
    if (!error.empty()) MyShowMessage(error, cmn::MessageKind::Warning);
}

void TTestSignalsForm::SaveList() {
    const auto path =
        ChooseFile(this, Choice("SaveDialog1", edit::kSaveListTitle, files::SignalFolder(), edit::kListFilter, "sfl"));
    if (!path) return;
    try {
        sched::WriteSignalList(sched::SignalListFileName(*path), list_.List());
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return;
    }
    MyShowMessage(edit::kListSaved, cmn::MessageKind::LoadSave);
}

void TTestSignalsForm::ModeChosen() {
    for (int m = 0; m < 3; ++m)
        if (modes_[m]->isChecked()) list_.SetMode(kModes[m]);
    Redraw();
}

void TTestSignalsForm::StartTimeChanged() {
    list_.SetStartTime(FromQt(start_->date(), start_->time()));
    Redraw();
}

void TTestSignalsForm::CellClicked(int row, int column) {
    ShowRowTexts(row);
    if (run_ || static_cast<TScheduleColumn>(column) != TScheduleColumn::State) return;
    list_.ClickState(static_cast<std::size_t>(row), asker_);
    ShowState(row);
}

void TTestSignalsForm::CellEdited(int row, int column, const QVariant& value) {
    if (run_ || row < 0) return;
    const auto position = static_cast<std::size_t>(row);
    const auto col = static_cast<TScheduleColumn>(column);
    const bool end = col == TScheduleColumn::EndDate || col == TScheduleColumn::EndTime;
    switch (edit::CellEditor(list_.Mode(), col, false)) {
        case edit::TCellEditor::TypeList:
            list_.SetType(position, static_cast<sched::TCommandType>(value.toInt()));
            break;
        case edit::TCellEditor::Duration: list_.SetDuration(position, value.toInt()); break;
        case edit::TCellEditor::Date: {
            const QDate d = value.toDate();
            list_.SetDate(position, end, d.year(), d.month(), d.day());
            break;
        }
        case edit::TCellEditor::Time: {
            const QTime t = value.toTime();
            list_.SetTime(position, end, t.hour(), t.minute(), t.second());
            break;
        }
        case edit::TCellEditor::None: return;
    }
    Redraw();
}

void TTestSignalsForm::RowsExchanged(int source, int target) {
    if (run_) return;
    list_.Exchange(static_cast<std::size_t>(source), static_cast<std::size_t>(target));
    Redraw();
    grid_->setCurrentCell(target, static_cast<int>(TScheduleColumn::Name));
}

// ---------------------------------------------------------------- run

void TTestSignalsForm::Start() {
    if (run_) return;
    auto run = std::make_unique<TRun>(link_, runLog_, *events_, clock_);
    const sched::TStartResult result = run->Runner.Start(list_.Rows(), list_.Mode(), setTime_->value());
    using TOutcome = sched::TStartResult::TOutcome;
    if (result.Outcome == TOutcome::Started) {
        run_ = std::move(run);
        status_->showMessage(Q(result.StatusText));
        RedrawStates();
        Q_EMIT RunStarted();
        return;
    }
    if (!result.Message.empty()) MyShowMessage(result.Message, cmn::MessageKind::Warning);
}

void TTestSignalsForm::Stop() {
    if (run_) run_->Runner.Stop();
}

void TTestSignalsForm::AddProtocolLine(int type, const QString& text) {
    const std::size_t before = protocol_.Entries().size();
    protocol_.Add(static_cast<cmn::LogType>(type), U(text), clock_.Now());
    if (protocol_.Entries().size() == before) return;
    protocolList_->Append(protocol_.Entries().back());
    if (lastMessage_->isChecked()) protocolList_->FollowLast();
}

void TTestSignalsForm::RowStateReported(qulonglong position, int state) {
    sched::ApplyRowState(list_.Rows(), static_cast<std::size_t>(position), static_cast<sched::TRowState>(state));
    if (position < list_.Rows().size()) ShowState(static_cast<int>(position));
}

void TTestSignalsForm::RunEnded() {
    run_.reset();
    sched::RestoreRowMarkers(list_.Rows());
    status_->clearMessage();
    RedrawStates();
    Q_EMIT RunFinished();
}

void TTestSignalsForm::closeEvent(QCloseEvent* event) {
    if (Running()) {
        event->ignore();
        MyShowMessage(edit::kStopBeforeClosing, cmn::MessageKind::Warning);
        return;
    }
    event->accept();
}

// ---------------------------------------------------------------- protocol page

void TTestSignalsForm::SaveProtocol() {
    const auto path = ChooseFile(
        this, Choice("SaveDialog2", edit::kSaveProtocolTitle, files::SignalFolder(), edit::kProtocolFilter, "txt"));
    if (!path) return;
    try {
        protocol_.Save(*path);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
}

void TTestSignalsForm::ClearProtocol() {
    protocol_.Clear();
    protocolList_->Clear();
}

}  // namespace ui
