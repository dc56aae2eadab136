#include <QAction>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "CalibratorSimulator.h"
#include "DialogDriver.h"
#include "TempFolder.h"
#include "files/DataFolders.h"
#include "files/IniFile.h"
#include "link/LibraryBinding.h"
#include "schedule/ListFile.h"
#include "schedule/SignalRow.h"
#include "ui/schedule/ScheduleWindow.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

namespace fs = std::filesystem;
using ui::TfmMain;

namespace {

const std::string kExample = std::string(TALVO_SOURCE_DIR) + "/examples/harmonics-dips-flicker.usa";

ui::TMainOptions WithLibrary() {
    ui::TMainOptions options;
    options.Library = lnk::LoadSignalLibrary(std::string(TALVO_BIN_DIR) + "/", lnk::RecordedLibraryDigest());
    return options;
}

QAction* Item(TfmMain& main, const char* name) { return main.findChild<QAction*>(QString::fromLatin1(name)); }
QToolButton* Button(TfmMain& main, const char* name) { return main.findChild<QToolButton*>(QString::fromLatin1(name)); }

void CloseWindow(ui::TForm2* form) {
    form->parentWidget()->close();
    QCoreApplication::processEvents();
}

// A copy of the example under another name, so that every open is a new recent entry.
std::string CopyExample(const QTemporaryDir& dir, const std::string& name) {
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    fs::copy_file(kExample, path, fs::copy_options::overwrite_existing);
    return path;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<talvo_test::TempSettings> settings_;
    std::unique_ptr<TfmMain> main_;

private Q_SLOTS:
    void init() {
        uitest::FailOnWarnings();
        settings_ = std::make_unique<talvo_test::TempSettings>();
        main_ = std::make_unique<TfmMain>(ui::TMainOptions{});
    }
    void cleanup() {
        main_.reset();
        settings_.reset();
    }

    void WindowsAreNumberedByTheCountOpen() {
        main_->NewWindow();
        ui::TForm2* second = main_->NewWindow();
        QCOMPARE(main_->NewWindow()->windowTitle(), QStringLiteral("Испытательный сигнал: Без имени #3"));
        CloseWindow(second);
        QCOMPARE(main_->NewWindow()->windowTitle(), QStringLiteral("Испытательный сигнал: Без имени #3"));
    }

    void ClosingTheLastWindowDisablesTheSignalCommands() {
        ui::TForm2* first = main_->NewWindow();
        ui::TForm2* second = main_->NewWindow();
        CloseWindow(first);
        QVERIFY(Button(*main_, "tbSend")->isEnabled());
        CloseWindow(second);
        for (const char* name : {"tbSave", "tbSend", "tbExport"}) QVERIFY2(!Button(*main_, name)->isEnabled(), name);
        for (const char* name : {"mm_Show_Voltage", "mm_Show_Protocol", "mm_Export", "mm_Nominals"})
            QVERIFY2(!Item(*main_, name)->isEnabled(), name);
        main_->NewWindow();
        QVERIFY(Button(*main_, "tbSave")->isEnabled());
        QVERIFY(Item(*main_, "mm_Show_Garm")->isEnabled());
    }

    void PageMenuFollowsTheActiveWindow() {
        ui::TForm2* first = main_->NewWindow();
        ui::TForm2* second = main_->NewWindow();
        auto* mdi = main_->findChild<QMdiArea*>(QStringLiteral("MDIClient"));
        mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        first->findChild<QAction*>(QStringLiteral("N3"))->trigger();
        QVERIFY(!Item(*main_, "mm_Show_Garm")->isEnabled());
        mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(second->parentWidget()));
        QVERIFY(Item(*main_, "mm_Show_Garm")->isEnabled());
        mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QVERIFY(!Item(*main_, "mm_Show_Garm")->isEnabled());
    }

    void APageMenuItemWithoutItsTabIsReported() {
        files::IniFile ini(files::SettingsFileName());
        ini.WriteString("Форма преобразователя тока в напряжение", "Enable", "1");
        ini.WriteString("Форма преобразователя тока в напряжение", "Отображать", "1");
        ini.UpdateFile();
        main_ = std::make_unique<TfmMain>(ui::TMainOptions{});
        ui::TForm2* form = main_->NewWindow();
        QVERIFY(form->HasConverterPage());
        form->FillTabs(0, false);
        QVERIFY(Item(*main_, "mm_iu_red")->isEnabled());
        const auto answered = uitest::AnswerNextMessage("btnOk");
        Item(*main_, "mm_iu_red")->trigger();
        QVERIFY(answered->Seen);
        QCOMPARE(answered->Text,
                 QStringLiteral("Закладка \"Преобразователь тока в напряжение\" не найдена в активном окне"));
    }

    void OpeningASixthFileDropsTheFirstRecentEntry() {
        QTemporaryDir dir;
        std::vector<std::string> paths;
        for (int i = 1; i <= 6; ++i) paths.push_back(CopyExample(dir, "s" + std::to_string(i) + ".usa"));
        for (const std::string& path : paths) main_->OpenFile(files::sfAll, path);
        QCOMPARE(main_->RecentFiles(), std::vector<std::string>(paths.begin() + 1, paths.end()));
        QCOMPARE(main_->findChild<QMenu*>(QStringLiteral("mm_Reopen"))->actions().size(), 5);
        QCOMPARE(main_->ActiveSignalWindow()->windowTitle(), QStringLiteral("Испытательный сигнал: s6.usa"));
    }

    void RecentEntriesOfMissingOrUnknownFiles() {
        QTemporaryDir dir;
        const std::string kept = CopyExample(dir, "kept.usa");
        const std::string upr = CopyExample(dir, "converter.upr");
        const std::string gone = CopyExample(dir, "gone.usa");
        for (const std::string& path : {kept, upr, gone}) main_->OpenFile(files::sfAll, path);
        fs::remove(gone);
        auto answered = uitest::AnswerNextMessage("btnOk");
        Item(*main_, "mm_Recent2")->trigger();
        QTRY_VERIFY(answered->Seen);
        QCOMPARE(answered->Text, QStringLiteral("Файл не найден!"));
        QCOMPARE(main_->RecentFiles(), (std::vector<std::string>{kept, upr}));
        answered = uitest::AnswerNextMessage("btnOk");
        Item(*main_, "mm_Recent1")->trigger();
        QTRY_VERIFY(answered->Seen);
        QCOMPARE(answered->Text, QStringLiteral("Неизвестный формат файла!"));
        Item(*main_, "mm_Recent0")->trigger();
        QTRY_COMPARE(main_->ActiveSignalWindow()->windowTitle(), QStringLiteral("Редактирование: kept.usa"));
    }

    void ActionsAreRefusedWhileTheScheduleRuns() {
        talvo_test::CalibratorSimulator sim("COM1");
        main_ = std::make_unique<TfmMain>(WithLibrary());
        main_->NewWindow();
        // A schedule of one reset that then waits 100 s.
        QTemporaryDir dir;
        sched::TSignalList list;
        list.Rows.push_back(sched::NewCommandRow(46000));
        list.Rows.back().Duration = 100;
        const std::string path = dir.filePath(QStringLiteral("wait.sfl")).toStdString();
        sched::WriteSignalList(path, list);
        ui::TTestSignalsForm& schedule = main_->ScheduleWindow();
        schedule.LoadListFile(path);
        Item(*main_, "mm_Schedule")->trigger();
        QSignalSpy started(&schedule, &ui::TTestSignalsForm::RunStarted);
        QSignalSpy finished(&schedule, &ui::TTestSignalsForm::RunFinished);
        QTest::mouseClick(schedule.findChild<QPushButton*>(QStringLiteral("btnStart")), Qt::LeftButton);
        QVERIFY(started.count() == 1 || started.wait(5000));
        QVERIFY(main_->Work().Busy());
        const std::size_t sentByRun = sim.WaitFrames(2).size();

        const auto answered = uitest::AnswerNextMessage("btnOk");
        Item(*main_, "mm_Generate_Collapses")->trigger();
        QCOMPARE(answered->Text,
                 QStringLiteral("Для выполнения необходимо остановить автоматизированное задание сигналов."));
        QTest::qWait(100);
        QCOMPARE(sim.Frames().size(), sentByRun);
        QTest::mouseClick(schedule.findChild<QPushButton*>(QStringLiteral("btnStop")), Qt::LeftButton);
        QVERIFY(finished.count() == 1 || finished.wait(5000));
        QVERIFY(!main_->Work().Busy());
    }

    void AFileOfAnotherKindLeavesTheNewWindowWithItsDefaults() {
        const auto answered = uitest::AnswerNextMessage("btnOk");
        ui::TForm2* form = main_->OpenFile(files::sfVoltage, kExample);
        QVERIFY(answered->Seen);
        QVERIFY(!answered->Text.isEmpty());
        QCOMPARE(form->windowTitle(), QStringLiteral("Испытательный сигнал: Без имени #1"));
        QCOMPARE(static_cast<double>(form->Signal().Voltage.UA), 220.0);
        QCOMPARE(static_cast<double>(form->Signal().Current.IA), 5.0);
    }

    void ASettingsFileThatCannotBeWrittenDoesNotStopClosing() {
        talvo_test::CalibratorSimulator sim("COM1");
        main_ = std::make_unique<TfmMain>(WithLibrary());
        main_->show();
        fs::create_directories(files::SettingsFileName());  // a folder where the file should go
        const auto answered = uitest::AnswerNextMessage("btnOk");
        main_->close();
        QVERIFY(answered->Seen);
        QCOMPARE(answered->Text, QStringLiteral("Ошибка записи в ini-файл"));
        QTRY_VERIFY_WITH_TIMEOUT(!main_->isVisible(), 5000);
        QCOMPARE(sim.WaitFrames(2).size(), std::size_t{2});
    }

    void ClosingResetsTheWholeSignal() {
        talvo_test::CalibratorSimulator sim("COM1");
        main_ = std::make_unique<TfmMain>(WithLibrary());
        main_->show();
        main_->close();
        QTRY_VERIFY_WITH_TIMEOUT(!main_->isVisible(), 5000);
        const auto frames = sim.WaitFrames(2);
        QCOMPARE(frames.size(), std::size_t{2});
        QCOMPARE(frames[0]["code"].get<int>(), 14);
        QCOMPARE(frames[1]["code"].get<int>(), 15);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
