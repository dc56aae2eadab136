#include "ui/shell/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <filesystem>

#include "CommonUtils/TalvoError.h"
#include "TalvoVersion.h"
#include "editor/PageTable.h"
#include "editor/WindowPlacement.h"
#include "files/DataFolders.h"
#include "link/BusyFlag.h"
#include "link/PortList.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"
#include "ui/schedule/ScheduleWindow.h"
#include "ui/shell/dialogs/TfmAbout.h"
#include "ui/shell/dialogs/TfmEnergy.h"
#include "ui/shell/dialogs/TfmExport.h"
#include "ui/shell/dialogs/TfmIdentify.h"
#include "ui/shell/dialogs/TfmKalibrPreferences.h"
#include "ui/shell/dialogs/TfmLoad.h"
#include "ui/shell/dialogs/TfmSignalNominals.h"
#include "ui/signal/ConverterPage.h"
#include "ui/signal/SignalWindow.h"
#include "ui/verify/TfmVerify.h"

namespace ui {
namespace {

QString PanelStyle(const edit::TPanelLook& look) {
    return QStringLiteral("QLabel { background: %1; color: %2; border-radius: 8px; padding: 2px 10px; }")
        .arg(Q(look.Background), Q(look.Foreground));
}

void ShowPanel(QLabel* panel, const edit::TPanelLook& look) {
    panel->setText(Q(look.Text));
    panel->setAccessibleName(panel->text());
    panel->setStyleSheet(PanelStyle(look));
}

struct TSendEntry {
    const char* Name;
    const char* ToolName;
    const char* Caption;
    const char* ToolCaption;
    TActionKind Kind;
};

constexpr TSendEntry kSendParameters[]{
    {"mm_Generate_Sin", "tm_Generate_Sin", "Испытательного сигнала", "Испытательного сигнала", TActionKind::TestSignal},
    {"mm_Generate_Collapses", "tm_Generate_Collapses", "Провалов и перенапряжений", "Провалов и перенапряжений",
     TActionKind::Collapses},
    {"mm_Generate_Koleb", "tm_Generate_Koleb", "Колебаний", "Колебаний", TActionKind::Koleb},
};
constexpr TSendEntry kSendCommands[]{
    {"mm_Reset_Collapses", "tm_Reset_Collapses", "Сброс провалов и перенапряжений", "Cброс провалов и перенапряжений",
     TActionKind::ResetCollapses},
    {"mm_Reset_All", "tm_Reset_All", "Сброс всего сигнала", "Сброс всего сигнала", TActionKind::ResetAll},
    {"mm_MeterVerify", "tm_MeterVerify", "Поверка счетчика", "Поверка счетчика", TActionKind::MeterVerification},
};

struct TKindEntry {
    files::SignalFileKind Kind;
    const char* Open;
    const char* Save;
    const char* Caption;
};

constexpr TKindEntry kKinds[]{
    {files::sfAll, "mm_Open_Signal", "mm_Save_Signal", "Испытательный сигнал"},
    {files::sfVoltage, "mm_Open_Voltage", "mm_Save_Voltage", "Напряжение"},
    {files::sfCurrent, "mm_Open_Current", "mm_Save_Current", "Ток"},
    {files::sfConverter, "mm_Open_Converter", "mm_Save_Converter", "Напряжение с преобразователя"},
};

// The window may go while the countdown runs (the program ends): the dialog
// goes with it and the countdown counts as cancelled.
bool ShowEnergyCountdown(int seconds, QWidget* parent) {
    const QPointer<TfmEnergy> dialog = new TfmEnergy(parent ? parent : QApplication::activeWindow());
    const bool ranOut = dialog->Run(seconds);
    delete dialog.data();
    return ranOut;
}

void DeliverLine(QObject& log, int type, const std::string& text) {
    static_cast<TWindowProtocolLog&>(log).Log(static_cast<cmn::LogType>(type), text);
}

void DeliverStatus(QObject& relay, std::uint32_t message, int code) {
    static_cast<TStatusRelay&>(relay).Post(message, code);
}

}  // namespace

TfmMain::TfmMain(TMainOptions options, QWidget* parent)
    : QMainWindow(parent),
      ini_(files::TTalvoIni::AtStart(settingsFailure_)),
      library_(std::make_shared<lnk::TSignalLibrary>(std::move(options.Library))),
      splash_(options.Splash),
      status_(this),
      closingLog_(this),
      work_(new TDeviceWork(this)),
      schedule_(new TTestSignalsForm(this)),
      export_(new TfmExport(this)),
      mdi_(new QMdiArea) {
    setObjectName(QStringLiteral("fmMain"));
    work_->Answers()->SetOwner(this);
    setWindowTitle(Q(edit::kApplicationTitle));
    setMinimumSize(812, 600);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(mdi_);
    BuildMenus();
    BuildToolBar();
    BuildStatusPanel();
    ReadSettings();
    SetSignalCommandsEnabled(false);
    connect(&status_, &TStatusRelay::Posted, this, &TfmMain::DrawStatus);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &TfmMain::UpdatePageMenu);
    // A schedule run programs the calibrator with divisors of its own: the
    // next action from here sends its divisor again instead of keeping it.
    connect(schedule_, &TTestSignalsForm::RunFinished, this, [this] {
        lastDivisor_.reset();
        work_->SetExternalRun(false);
    });
    // A schedule run keeps its own thread; while it goes, the device is busy for everyone.
    connect(schedule_, &TTestSignalsForm::RunStarted, this, [this] { work_->SetExternalRun(true); });
}

TfmMain::~TfmMain() {
    // The frame's children go after this object has stopped being a TfmMain;
    // their signals (a sub-window activated as others close) must not reach it.
    mdi_->disconnect(this);
    for (TForm2* form : SignalWindows()) form->disconnect(this);
    // Nothing waits for a window that goes: the questions of a running job
    // are cancelled and the job ends and a schedule run stops before the
    // windows go with this object's children.
    work_->Shutdown();
    delete schedule_;
    schedule_ = nullptr;
}

QAction* TfmMain::Item(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

void TfmMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mm_File"));
    connect(Item(file, "mm_New", QStringLiteral("Создать")), &QAction::triggered, this, &TfmMain::NewWindow);
    QMenu* open = file->addMenu(QStringLiteral("Открыть"));
    open->setObjectName(QStringLiteral("mm_Open"));
    QMenu* save = file->addMenu(QStringLiteral("Сохранить"));
    save->setObjectName(QStringLiteral("mm_Save"));
    for (const TKindEntry& k : kKinds) {
        QAction* o = Item(open, k.Open, Q(k.Caption));
        QAction* s = Item(save, k.Save, Q(k.Caption));
        connect(o, &QAction::triggered, this, [this, kind = k.Kind] { OpenByDialog(kind); });
        connect(s, &QAction::triggered, this, [this, kind = k.Kind] { SaveByDialog(kind); });
        if (k.Kind == files::sfConverter) converterEntries_ = {o, s};
    }
    signalCommands_ = {open->menuAction(), save->menuAction()};
    recentMenu_ = file->addMenu(QStringLiteral("Открыть повторно"));
    recentMenu_->setObjectName(QStringLiteral("mm_Reopen"));
    file->addSeparator();
    connect(Item(file, "mm_Exit", QStringLiteral("Выход")), &QAction::triggered, this, &QWidget::close);

    pageMenu_ = menuBar()->addMenu(QStringLiteral("Р&едактирование"));
    pageMenu_->setObjectName(QStringLiteral("mm_Edit"));
    for (const edit::TPageRow& row : edit::PageRows()) {
        QAction* item = Item(pageMenu_, row.MenuItem.data(), Q(row.Caption));
        connect(item, &QAction::triggered, this, [this, item] { ShowPage(item); });
        signalCommands_.push_back(item);
        if (row.Caption == edit::kConverterCaption) converterEntries_.push_back(item);
    }

    QMenu* actions = menuBar()->addMenu(QStringLiteral("Действия"));
    actions->setObjectName(QStringLiteral("mm_Actions"));
    QMenu* send = actions->addMenu(QStringLiteral("Передать в калибратор"));
    send->setObjectName(QStringLiteral("mm_Send"));
    QMenu* parameters = send->addMenu(QStringLiteral("Параметры"));
    parameters->setObjectName(QStringLiteral("mm_Send_Parameters"));
    QMenu* commands = send->addMenu(QStringLiteral("Команды"));
    commands->setObjectName(QStringLiteral("mm_Send_Commands"));
    for (const auto& [menu, entries] :
         {std::pair{parameters, std::span(kSendParameters)}, std::pair{commands, std::span(kSendCommands)}})
        for (const TSendEntry& e : entries)
            connect(Item(menu, e.Name, Q(e.Caption)), &QAction::triggered, this,
                    [this, kind = e.Kind] { RunAction(kind); });
    QAction* exportItem = Item(actions, "mm_Export", QStringLiteral("Экспорт в MS Excel"));
    connect(exportItem, &QAction::triggered, this, &TfmMain::ExportSignal);
    connect(Item(actions, "mm_Schedule", QStringLiteral("Автоматизированное задание сигналов")), &QAction::triggered,
            this, &TfmMain::ShowSchedule);
    QAction* verifyItem = Item(actions, "mm_VerifySignal", QStringLiteral("Проверка сигнала"));
    connect(verifyItem, &QAction::triggered, this, &TfmMain::VerifySignal);
    signalCommands_.push_back(verifyItem);

    QMenu* settings = menuBar()->addMenu(QStringLiteral("Настройка"));
    settings->setObjectName(QStringLiteral("mm_Settings"));
    connect(Item(settings, "mm_Preferences", QStringLiteral("Параметры калибратора")), &QAction::triggered, this,
            &TfmMain::EditPreferences);
    QAction* nominals = Item(settings, "mm_Nominals", QStringLiteral("Номинальные значения"));
    connect(nominals, &QAction::triggered, this, &TfmMain::EditNominals);
    signalCommands_.push_back(exportItem);
    signalCommands_.push_back(nominals);

    QMenu* windows = menuBar()->addMenu(QStringLiteral("&Окна"));
    windows->setObjectName(QStringLiteral("mm_Windows"));
    connect(Item(windows, "mm_Cascade", QStringLiteral("К&аскадом")), &QAction::triggered, mdi_,
            &QMdiArea::cascadeSubWindows);
    connect(Item(windows, "mm_MinimizeAll", QStringLiteral("Све&рнуть все")), &QAction::triggered, this, [this] {
        for (QMdiSubWindow* w : mdi_->subWindowList()) w->showMinimized();
    });

    QMenu* extra = menuBar()->addMenu(QStringLiteral("&Дополнительные функции"));
    extra->setObjectName(QStringLiteral("mm_Extra"));
    converterMode_ = Item(extra, "mm_Converter", Q(edit::kConverterCaption));
    converterMode_->setCheckable(true);
    connect(converterMode_, &QAction::triggered, this, &TfmMain::ToggleConverterMode);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Помощь"));
    help->setObjectName(QStringLiteral("mm_HelpMenu"));
    Item(help, "mm_Help", QStringLiteral("Справка"))->setVisible(false);
    connect(Item(help, "mm_About", QStringLiteral("О программе")), &QAction::triggered, this, &TfmMain::ShowAbout);
    connect(Item(help, "mm_Identify", QStringLiteral("Идентификация ПО")), &QAction::triggered, this,
            &TfmMain::ShowIdentify);
}

void TfmMain::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Панель инструментов"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto button = [&](const char* name, const char* caption, const char* hint, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton;
        NameControl(b, name, Q(caption));
        b->setText(Q(caption));
        b->setToolTip(Q(hint));
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        bar->addWidget(b);
        return b;
    };
    connect(button("tbNew", "Создать", "Создать новое окно испытательного сигнала", QStyle::SP_FileIcon),
            &QToolButton::clicked, this, &TfmMain::NewWindow);
    QToolButton* open = button("tbOpen", "Открыть", "Открыть файл с характеристиками испытательного  сигнала",
                               QStyle::SP_DialogOpenButton);
    open->setMenu(findChild<QMenu*>(QStringLiteral("mm_Open")));
    open->setPopupMode(QToolButton::MenuButtonPopup);
    connect(open, &QToolButton::clicked, this, [this] { OpenByDialog(files::sfAll); });
    QToolButton* save = button("tbSave", "Сохранить", "Сохранить в файле характеристики испытательного сигнала",
                               QStyle::SP_DialogSaveButton);
    save->setMenu(findChild<QMenu*>(QStringLiteral("mm_Save")));
    save->setPopupMode(QToolButton::MenuButtonPopup);
    connect(save, &QToolButton::clicked, this, [this] { SaveByDialog(files::sfAll); });
    QToolButton* send =
        button("tbSend", "Передать", "Передать в калибратор информацию о испытательном сигнале ", QStyle::SP_MediaPlay);
    auto* sendMenu = new QMenu(send);
    sendMenu->setObjectName(QStringLiteral("pmSend"));
    for (const auto* entries : {&kSendParameters, &kSendCommands}) {
        for (const TSendEntry& e : *entries)
            connect(Item(sendMenu, e.ToolName, Q(e.ToolCaption)), &QAction::triggered, this,
                    [this, kind = e.Kind] { RunAction(kind); });
        if (entries == &kSendParameters) sendMenu->addSeparator();
    }
    send->setMenu(sendMenu);
    send->setPopupMode(QToolButton::MenuButtonPopup);
    connect(send, &QToolButton::clicked, this, [this] { RunAction(TActionKind::TestSignal); });
    QToolButton* exportButton =
        button("tbExport", "Экспорт", "Экспортировать характеристики испытательных сигналов в MS Excel",
               QStyle::SP_FileDialogDetailedView);
    connect(exportButton, &QToolButton::clicked, this, &TfmMain::ExportSignal);
    connect(button("tbSchedule", "Авт. задание", "Автоматизированное задание сигналов", QStyle::SP_BrowserReload),
            &QToolButton::clicked, this, &TfmMain::ShowSchedule);
    QToolButton* preferences =
        button("tbPreferences", "Калибратор", "Задание калибровочных коэфициентов", QStyle::SP_ComputerIcon);
    connect(preferences, &QToolButton::clicked, this, &TfmMain::EditPreferences);
    bar->actions().back()->setVisible(false);
    button("tbHelp", "Помощь", "Справочная информация", QStyle::SP_DialogHelpButton);
    bar->actions().back()->setVisible(false);
    signalButtons_ = {save, send, exportButton};
}

void TfmMain::BuildStatusPanel() {
    auto* left = new QWidget;
    auto* layout = new QHBoxLayout(left);
    layout->setContentsMargins(4, 0, 4, 0);
    ports_ = new QComboBox;
    NameControl(ports_, "cbComPort", QStringLiteral("Com порт - "));
    rates_ = new QComboBox;
    NameControl(rates_, "cbRate", QStringLiteral("Скорость - "));
    rates_->addItem(QStringLiteral("115200"));
    layout->addWidget(new QLabel(QStringLiteral("Com порт - ")));
    layout->addWidget(ports_);
    layout->addWidget(new QLabel(QStringLiteral("Скорость - ")));
    layout->addWidget(rates_);
    statusPanel_ = new QLabel;
    NameControl(statusPanel_, "StatusPanel");
    statusPanel_->setAlignment(Qt::AlignCenter);
    ShowPanel(statusPanel_, {std::string(edit::kReadyStatus), "lime", "black"});
    voltagePanel_ = new QLabel;
    NameControl(voltagePanel_, "WarningPanel");
    voltagePanel_->setAlignment(Qt::AlignCenter);
    ShowPanel(voltagePanel_, indicator_.Look());
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(left);
    statusBar()->addWidget(statusPanel_, 1);
    statusBar()->addPermanentWidget(voltagePanel_);
}

void TfmMain::ReadSettings() {
    std::vector<std::string> ports;
    lnk::FillCOMPortList(&ports);
    for (const std::string& port : ports) ports_->addItem(Q(port));
    const int saved = ports_->findText(Q(ini_.ReadComPort()));
    ports_->setCurrentIndex(saved >= 0 ? saved : 0);
    correction_ = ini_.ReadCorrection();
    modification_ = ini_.ReadModification();
    ShowCaption();
    ini_.GetRecentFileList(&recent_);
    if (recent_.size() > edit::kRecentCount) recent_.resize(edit::kRecentCount);
    FillRecentMenu();
    converterEnabled_ = ini_.ReadConverterEnabled();
    converterMode_->setChecked(converterEnabled_ && ini_.ReadConverterMode());
    ShowConverterEntries();
}

void TfmMain::ShowCaption() { setWindowTitle(Q(edit::MainCaption(modification_))); }

void TfmMain::Start() {
    // The program goes on with default settings; the file is kept aside when they are written.
    if (!settingsFailure_.empty()) MyShowMessage(settingsFailure_, cmn::MessageKind::Warning);
    if (!terminating_ && !ini_.ModificationPresent()) EditPreferences();
    if (!terminating_ && splash_ && ini_.ReadShowSplash()) ShowSplash();
    if (!terminating_) NewWindow();
}

void TfmMain::FillRecentMenu() {
    recentMenu_->clear();
    for (std::size_t i = 0; i < recent_.size(); ++i) {
        QAction* item = recentMenu_->addAction(Q(recent_[i]));
        item->setObjectName(QStringLiteral("mm_Recent%1").arg(i));
        item->setData(static_cast<int>(i));
        // Queued: choosing an entry rebuilds this menu, which must not happen inside the entry's own signal.
        connect(
            item, &QAction::triggered, this, [this, i] { OpenRecent(i); }, Qt::QueuedConnection);
    }
    recentMenu_->menuAction()->setEnabled(!recent_.empty());
}

void TfmMain::SetSignalCommandsEnabled(bool on) {
    commandsOn_ = on;
    for (QAction* a : signalCommands_) a->setEnabled(on);
    for (QToolButton* b : signalButtons_) b->setEnabled(on);
    if (on) UpdatePageMenu();
    ShowConverterEntries();
}

std::vector<TForm2*> TfmMain::SignalWindows() const {
    std::vector<TForm2*> windows;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        if (auto* form = qobject_cast<TForm2*>(w->widget())) windows.push_back(form);
    return windows;
}

TForm2* TfmMain::ActiveSignalWindow() const {
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if (!active && !mdi_->subWindowList().isEmpty()) active = mdi_->subWindowList().back();
    return active ? qobject_cast<TForm2*>(active->widget()) : nullptr;
}

TForm2* TfmMain::NewWindow() {
    auto* form = new TForm2(this, correction_, modification_);
    QMdiSubWindow* sub = mdi_->addSubWindow(form);
    sub->setObjectName(QStringLiteral("MDIChild"));
    form->setWindowTitle(Q(edit::NewWindowCaption(static_cast<int>(SignalWindows().size()))));
    connect(form, &TForm2::Closing, this, &TfmMain::WindowClosing);
    connect(form, &TForm2::TabsChanged, this, &TfmMain::UpdatePageMenu);
    connect(form, &TForm2::StatusPosted, this, &TfmMain::DrawStatus);
    form->FillTabs(0, converterMode_->isChecked());
    PlaceInFrame(sub);
    mdi_->setActiveSubWindow(sub);
    SetSignalCommandsEnabled(true);
    return form;
}

void TfmMain::PlaceInFrame(QMdiSubWindow* sub) {
    const QSize frame = mdi_->viewport()->size();
    const QSize preferred = sub->sizeHint();
    const QSize minimum = sub->minimumSizeHint();
    const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    const edit::TPlacement place =
        edit::PlaceSignalWindow({frame.width(), frame.height()}, {preferred.width(), preferred.height()},
                                {minimum.width(), minimum.height()}, mdi_->subWindowList().size() - 1, step);
    if (place.Maximised) {
        sub->showMaximized();
        return;
    }
    sub->setGeometry(place.X, place.Y, place.Size.Width, place.Size.Height);
    sub->show();
}

void TfmMain::WindowClosing(TForm2* window) {
    const auto windows = SignalWindows();
    const bool open = std::find(windows.begin(), windows.end(), window) != windows.end();
    SetSignalCommandsEnabled(edit::SignalCommandsEnabled(static_cast<int>(windows.size()), open));
}

void TfmMain::UpdatePageMenu() {
    const TForm2* form = ActiveSignalWindow();
    if (!form || !commandsOn_) return;
    for (const auto& [name, enabled] : edit::PageMenuEnabling(form->TabList()))
        if (auto* item = pageMenu_->findChild<QAction*>(Q(name))) item->setEnabled(enabled);
}

void TfmMain::ShowPage(QAction* item) {
    TForm2* form = ActiveSignalWindow();
    if (!form) return;
    const std::string caption = U(item->text());
    const int index = form->FindTab(caption);
    if (index < 0) ShowPlainMessage(edit::MissingTabMessage(caption));
    else form->SelectTab(index);
}

void TfmMain::ShowConverterEntries() {
    const bool on = converterMode_->isChecked();
    converterMode_->setVisible(converterEnabled_);
    converterMode_->setIcon(style()->standardIcon(on ? QStyle::SP_DialogApplyButton : QStyle::SP_DialogCancelButton));
    for (QAction* a : converterEntries_) {
        const bool signalCommand =
            std::find(signalCommands_.begin(), signalCommands_.end(), a) != signalCommands_.end();
        a->setVisible(converterEnabled_);
        a->setEnabled(on && (!signalCommand || commandsOn_));
    }
}

void TfmMain::ToggleConverterMode() {
    for (TForm2* form : SignalWindows()) form->FillTabs(0, converterMode_->isChecked());
    ShowConverterEntries();
}

void TfmMain::OpenByDialog(files::SignalFileKind kind) {
    const files::TSignalFileKindTexts& texts = files::SignalFileKindTexts(kind);
    const auto path = ChooseFile(
        this, OpenFileChoice(std::string(texts.OpenTitle), files::SignalOpenFolder(), files::kSignalOpenFilter, kind));
    if (path) OpenFile(kind, *path);
}

TForm2* TfmMain::OpenFile(files::SignalFileKind kind, const std::string& path) {
    TForm2* form = NewWindow();
    bool loaded = false;
    try {
        loaded = form->LoadSignal(kind, path);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
    if (loaded && (kind == files::sfAll || kind == files::sfConverter))
        form->setWindowTitle(Q(edit::LoadedCaption(kind, path)));
    if (loaded && kind == files::sfConverter) {
        if (!form->HasConverterPage()) form->FillTabs(0, true);
        form->SelectTab(form->FindTab(edit::kConverterCaption));
    }
    edit::AddFromMenuList(recent_, path);
    FillRecentMenu();
    return form;
}

TForm2* TfmMain::Open(const std::string& path) {
    TForm2* form = NewWindow();
    const std::optional<files::SignalFileKind> kind = edit::KindByExtension(path);
    if (!kind) {
        MyShowMessage(edit::kUnknownFormat, cmn::MessageKind::Warning);
        return form;
    }
    try {
        if (form->LoadSignal(*kind, path) && *kind == files::sfAll)
            form->setWindowTitle(Q(edit::OpenedByNameCaption(path)));
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
    return form;
}

void TfmMain::OpenRecent(std::size_t index) {
    if (index >= recent_.size()) return;
    const std::string path = recent_[index];
    if (std::filesystem::is_regular_file(path)) {
        Open(path);
        return;
    }
    edit::RemoveRecent(recent_, index);
    FillRecentMenu();
    MyShowMessage(edit::kFileNotFound, cmn::MessageKind::Warning);
}

void TfmMain::SaveByDialog(files::SignalFileKind kind) {
    if (!ActiveSignalWindow()) {
        MyShowMessage(edit::kNothingToSave, cmn::MessageKind::Warning);
        return;
    }
    const files::TSignalFileKindTexts& texts = files::SignalFileKindTexts(kind);
    try {
        files::CreateFolder(files::SignalFolder());
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return;
    }
    const auto path = ChooseFile(
        this, SaveFileChoice(std::string(texts.SaveTitle), files::SignalFolder(), files::kSignalSaveFilter, kind,
                             std::string(texts.Extension.substr(1)), std::string(files::kSignalSaveFileName)));
    if (path) SaveFile(kind, *path);
}

void TfmMain::SaveFile(files::SignalFileKind kind, const std::string& path) {
    TForm2* form = ActiveSignalWindow();
    if (!form) return;
    try {
        form->SaveSignal(kind, path);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return;
    }
    MyShowMessage(files::SignalFileKindTexts(kind).SavedMessage, cmn::MessageKind::LoadSave);
    if (kind == files::sfAll) form->setWindowTitle(Q(edit::SavedCaption(path)));
}

bool TfmMain::RunAction(TActionKind kind) {
    if (schedule_->Running()) {
        MyShowMessage(edit::kStopScheduleFirst, cmn::MessageKind::Warning);
        return false;
    }
    TForm2* form = ActiveSignalWindow();
    const bool needsSignal = kind != TActionKind::ResetAll && kind != TActionKind::ResetCollapses;
    if (needsSignal && !form) return false;
    if (work_->Busy()) return false;
    TActionRequest request = Request(kind);
    if (form) {
        request.Signal = form->Signal();
        request.Log = WorkerLog(form->ProtocolLog());
        // Each message of the converter steps is answered before the steps go on.
        if (kind == TActionKind::TestSignal && form->HasConverterPage())
            request.Converter = TActionRequest::TConverter{form->ConverterPage()->State(), form->ConverterPort(),
                                                           ConverterMessagesOn(work_->Answers())};
    }
    auto shared = std::make_shared<TActionRequest>(std::move(request));
    auto outcome = std::make_shared<TActionOutcome>();
    actionWindow_ = form;
    return work_->Start([shared, outcome] { *outcome = ui::RunAction(*shared); }, this,
                        [this, outcome] { ActionDone(*outcome); }, form);
}

std::shared_ptr<cmn::IProtocolLog> TfmMain::WorkerLog(TWindowProtocolLog& log) {
    return std::make_shared<TWorkerLog>(QPointer<QObject>(&log), DeliverLine, work_->Answers());
}

void TfmMain::ActionDone(const TActionOutcome& outcome) {
    lastDivisor_ = outcome.LastDivisor;
    const QPointer<TForm2> window = actionWindow_;
    actionWindow_ = nullptr;
    if (closing_) {
        CloseAfterReset();
        return;
    }
    if (!outcome.Error.isEmpty()) MyShowMessage(U(outcome.Error), cmn::MessageKind::Warning);
    if (outcome.Converter && window && window->ConverterPage())
        window->ConverterPage()->SendFinished(*outcome.Converter);
    Q_EMIT ActionFinished(outcome.Ok);
}

void TfmMain::DrawStatus(quint32 message, int code) {
    if (message == lnk::WMDRAWSTATUS) {
        if (const auto look = edit::StatusLook(code)) ShowPanel(statusPanel_, *look);
    } else if (message == lnk::WMDRAWWARNING && indicator_.Report(code, 0)) {
        ShowPanel(voltagePanel_, indicator_.Look());
    }
}

void TfmMain::ShowSchedule() {
    schedule_->SetLinkSettings(LinkSettings());
    schedule_->showNormal();
}

sched::TLinkSettings TfmMain::LinkSettings() {
    sched::TLinkSettings link;
    link.PortName = U(ports_->currentText());
    link.BaudRate = rates_->currentText().toUInt();
    link.Modification = modification_;
    link.Library = library_->Loaded() ? library_.get() : nullptr;
    link.Correction = correction_;
    link.Status = &status_;
    return link;
}

// An action with the link as the window shows it; its lines go to no protocol
// page until the caller names a signal window.
TActionRequest TfmMain::Request(TActionKind kind) {
    const sched::TLinkSettings link = LinkSettings();
    TActionRequest request;
    request.Kind = kind;
    request.PortName = link.PortName;
    request.BaudRate = link.BaudRate;
    request.Modification = link.Modification;
    request.Correction = link.Correction;
    request.LastDivisor = lastDivisor_;
    if (library_->Loaded()) request.Library = library_;
    request.Log = WorkerLog(closingLog_);
    request.Status = std::make_shared<TWorkerStatus>(QPointer<QObject>(&status_), DeliverStatus);
    request.Countdown = std::make_shared<TWorkerCountdown>(ShowEnergyCountdown, work_->Answers());
    return request;
}

void TfmMain::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    event->ignore();
    if (closing_ || work_->Busy() || lnk::TransferBusy().Busy()) return;
    try {
        ini_.WriteComPort(U(ports_->currentText()));
        if (const TForm2* form = ActiveSignalWindow()) ini_.WriteConverterComPort(form->ConverterPort());
        ini_.WriteConverterMode(converterMode_->isChecked());
        ini_.SetRecentFileList(&recent_);
        ini_.Save();
    } catch (const cmn::TalvoError&) {
        MyShowMessage(edit::kSettingsWriteError, cmn::MessageKind::Warning);
    }
    closing_ = true;
    auto request = std::make_shared<TActionRequest>(Request(TActionKind::ResetAll));
    auto outcome = std::make_shared<TActionOutcome>();
    if (!work_->Start([request, outcome] { *outcome = ui::RunAction(*request); }, this,
                      [this, outcome] { ActionDone(*outcome); }))
        CloseAfterReset();
}

void TfmMain::Terminate() {
    if (terminating_) return;
    terminating_ = true;
    TryTerminate();
}

void TfmMain::TryTerminate() {
    // Each dialog closes as by its cancel button; one that waits on the
    // window thread returns, one that a worker asked answers "cancelled".
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) break;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
    }
    if (schedule_ && schedule_->Running()) schedule_->Stop();
    close();
    if (!closed_) QTimer::singleShot(100, this, &TfmMain::TryTerminate);
}

void TfmMain::CloseAfterReset() {
    library_->Free();
    delete schedule_;
    schedule_ = nullptr;
    closed_ = true;
    close();
}

void TfmMain::EditPreferences() {
    const std::optional<TPreferences> edited = TfmKalibrPreferences::Edit({correction_, modification_}, this);
    if (!edited) return;
    correction_ = edited->Correction;
    modification_ = edited->Modification;
    ini_.WriteCorrection(correction_);
    ini_.WriteModification(modification_);
    // Written at once: a program killed before it closes keeps what was chosen.
    try {
        ini_.Save();
    } catch (const cmn::TalvoError&) {
        MyShowMessage(edit::kSettingsWriteError, cmn::MessageKind::Warning);
    }
    for (TForm2* form : SignalWindows()) {
        form->ApplyCalibrationCoefs(correction_);
        form->SetModification(modification_);
    }
    ShowCaption();
}

void TfmMain::EditNominals() {
    TForm2* form = ActiveSignalWindow();
    if (!form) return;
    sig::TSignalParamsU& v = form->Signal().Voltage;
    std::optional<edit::TSignalNominals> edited;
    try {
        edited = TfmSignalNominals::Edit({v.NominalFaza, v.NominalLine, v.FreqNominal}, this);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return;
    }
    if (!edited) return;
    v.NominalFaza = edited->Phase;
    v.NominalLine = edited->Line;
    v.FreqNominal = edited->Frequency;
    try {
        form->Recalculate();
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
}

void TfmMain::ShowSplash() {
    TfmLoad splash(modification_, correction_, this);
    splash.exec();
}

void TfmMain::ShowAbout() { TfmAbout(this).exec(); }

void TfmMain::ShowIdentify() { TfmIdentify(TALVO_CALIBRATOR_DIGEST, library_->Digest(), this).exec(); }

TForm2* TfmMain::RecalculatedSignalWindow() {
    TForm2* form = ActiveSignalWindow();
    if (!form) return nullptr;
    try {
        form->Recalculate();
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return nullptr;
    }
    return form;
}

void TfmMain::ExportSignal() {
    if (TForm2* form = RecalculatedSignalWindow()) export_->Execute(form->Signal());
}

// The check runs on a copy of the recomputed signal, as an action does.
void TfmMain::VerifySignal() {
    TForm2* form = RecalculatedSignalWindow();
    if (!form) return;
    TfmVerify(TVerifyInput{form->Signal(), U(form->windowTitle()), modification_, correction_, library_}, *work_, this)
        .exec();
}

}  // namespace ui
