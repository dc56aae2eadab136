// The program through a lab day: the meter verification runs for the
// signal's energy interval, a signal of the system closes the program the
// way its close button does (settings written, the calibrator reset), a
// settings file that cannot be read neither stops the program nor is lost,
// and Qt's own dialogs speak Russian.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "CalibratorSimulator.h"
#include "ConverterSimulator.h"
#include "DialogDriver.h"
#include "FieldKeys.h"
#include "TempFolder.h"
#include "files/DataFolders.h"
#include "files/IniFile.h"
#include "files/TalvoIni.h"
#include "link/LibraryBinding.h"
#include "ui/common/QtTranslations.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/TerminationRequests.h"
#include "ui/signal/ConverterPage.h"
#include "ui/signal/SignalWindow.h"

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

const std::string kExample = TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa";

ui::TMainOptions WithLibrary() {
    ui::TMainOptions options;
    options.Library = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
    options.Splash = false;
    return options;
}

// Settings of a program started before: a modification chosen, no splash.
void WriteSettings() {
    files::IniFile ini(files::SettingsFileName());
    ini.WriteInteger("Общие", "Модификация калибратора", 1);
    ini.WriteBool("Форма загрузки", "Отображать", false);
    ini.UpdateFile();
}

std::vector<int> Codes(const std::vector<json>& frames) { return talvo_test::FrameCodes(frames); }

// Whether the process catches SIGTERM yet (its handler is installed).
bool CatchesTerm(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

// Types over the field and presses Enter, which moves on and takes the entry over.
void TypeInto(QWidget* field, const char* text) {
    field->setFocus();
    uitest::TypeOver(QString::fromUtf8(text));
    uitest::Press(Qt::Key_Return);
}

}  // namespace

class ProgramLifeTest : public QObject {
    Q_OBJECT
    std::unique_ptr<talvo_test::TempSettings> settings_;

private Q_SLOTS:
    void init() {
        uitest::FailOnWarnings();
        settings_ = std::make_unique<talvo_test::TempSettings>();
    }
    void cleanup() { settings_.reset(); }

    void MeterVerificationRunsForTheEnergyInterval() {
        talvo_test::CalibratorSimulator sim("COM1");
        ui::TfmMain main(WithLibrary());
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        ui::TForm2* form = main.OpenFile(files::sfAll, kExample);
        form->SelectTab(form->FindTab("Фазы (А, В, С)"));
        TypeInto(form->findChild<QWidget*>(QStringLiteral("e_Dlit_Imp")), "3");
        QCOMPARE(form->Signal().Energy.TestSeconds, 3);
        // The export's rows take the duration and the energies over it.
        const sig::TPowerParams& full = form->Signal().FullPowers;
        const sig::real p = (full.P[sig::fzA] + full.P[sig::fzB] + full.P[sig::fzC]) * 3 / 3600;
        QVERIFY(p > 0);
        QCOMPARE(static_cast<double>(form->Signal().Energy.EnergyP), static_cast<double>(p));

        uitest::TMessageLog answers;
        QSignalSpy finished(&main, &ui::TfmMain::ActionFinished);
        main.findChild<QAction*>(QStringLiteral("mm_MeterVerify"))->trigger();
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.front().front().toBool(), true);
        QVERIFY(answers.Texts.back().startsWith(QStringLiteral("Процесс успешно закончен")));
        std::vector<json> currents;
        for (const json& f : sim.Frames())
            if (f["code"] == 2) currents.push_back(f);
        QCOMPARE(currents.size(), std::size_t{3});
        const long long played =
            currents[2]["received_ms"].get<long long>() - currents[1]["received_ms"].get<long long>();
        QVERIFY2(played >= 3000, qPrintable(QString::number(played)));
    }

    // The signal arrives while a send runs: the send ends, then the program
    // closes as by its close button.
    void ASignalOfTheSystemClosesAsTheCloseButtonDoes() {
        talvo_test::CalibratorSimulator sim("COM1");
        WriteSettings();
        ui::TfmMain main(WithLibrary());
        ui::TTerminationRequests termination;
        connect(&termination, &ui::TTerminationRequests::Requested, &main, &ui::TfmMain::Terminate);
        main.show();
        main.OpenFile(files::sfAll, kExample);
        main.findChild<QAction*>(QStringLiteral("mm_Generate_Sin"))->trigger();
        ::raise(SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!main.isVisible(), 30000);
        const std::vector<int> codes = Codes(sim.WaitFrames(12, std::chrono::milliseconds(5000)));
        QVERIFY(codes.size() >= 2);
        QCOMPARE(std::vector<int>(codes.end() - 2, codes.end()), (std::vector<int>{14, 15}));
        QVERIFY(std::count(codes.begin(), codes.end(), 1) == 1);  // the send went out whole first
        QCOMPARE(files::IniFile(files::SettingsFileName()).ReadString("Подключение", "COM-порт", ""),
                 std::string("COM1"));
    }

    void TheRealProgramKilledResetsTheCalibrator() {
        talvo_test::CalibratorSimulator sim("COM1");
        WriteSettings();
        // A write of an earlier run killed half-way, and one of a running instance (this test).
        const pid_t ended = fork();
        if (ended == 0) _exit(0);
        ::waitpid(ended, nullptr, 0);
        const std::string settings = files::SettingsFileName();
        const std::string stale = settings + ".tmp" + std::to_string(ended) + "-1";
        const std::string live = settings + ".tmp" + std::to_string(::getpid()) + "-1";
        std::ofstream(stale) << "half";
        std::ofstream(live) << "half";
        QProcess program;
        program.start(QStringLiteral(TALVO_BIN_DIR "/KalibratorTalvo"), {});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(CatchesTerm(program.processId()), 20000);
        // The window is up once the program reads its port list; give it that moment.
        QTest::qWait(500);
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const std::vector<int> codes = Codes(sim.WaitFrames(2));
        QCOMPARE(codes, (std::vector<int>{14, 15}));
        QCOMPARE(files::IniFile(files::SettingsFileName()).ReadString("Подключение", "COM-порт", ""),
                 std::string("COM1"));
        QVERIFY(!fs::exists(stale));
        QVERIFY(fs::exists(live));
    }

    // Too large a file and a folder in its place: the message, the defaults,
    // and the old file kept aside once the settings are written.
    void UnreadableSettingsAreReportedAndKeptAside() {
        const std::string path = files::SettingsFileName();
        for (const bool folder : {false, true}) {
            fs::remove_all(path);
            fs::remove_all(path + ".bad");
            if (folder) {
                fs::create_directories(fs::path(path) / "inside");
            } else {
                std::ofstream(path) << "[Общие]\nМодификация калибратора=0\n";
                fs::resize_file(path, 300ull * 1024 * 1024);
            }
            auto answered = uitest::AnswerNextMessage("btnOk");
            // The modification prompt of a first start, cancelled: nothing is written yet.
            uitest::OnModal("fmKalibrPreferences", [](QDialog& dialog) { dialog.reject(); });
            {
                ui::TfmMain main(WithLibrary());
                main.show();
                main.Start();
                QVERIFY(answered->Seen);
                QVERIFY2(answered->Text.contains(QString::fromStdString(path)), qPrintable(answered->Text));
                QVERIFY(fs::exists(path));
                QCOMPARE(fs::is_directory(path), folder);
                uitest::TMessageLog closing;  // the reset finds no calibrator
                main.close();
                QTRY_VERIFY_WITH_TIMEOUT(!main.isVisible(), 10000);
            }
            QVERIFY(fs::is_regular_file(path));
            QCOMPARE(fs::is_directory(path + ".bad"), folder);
            if (!folder) QCOMPARE(fs::file_size(path + ".bad"), std::uintmax_t{300ull * 1024 * 1024});
        }
    }

    // The main window destroyed, not closed, while a job waits for the answer
    // to a question: the question counts as cancelled, the job ends without
    // waiting for windows that have gone, and nothing is touched after them.
    void DestroyedWhileAnActionWaitsForAnAnswer() {
        talvo_test::CalibratorSimulator sim("COM1");
        auto main = std::make_unique<ui::TfmMain>(WithLibrary());
        main->show();
        main->OpenFile(files::sfAll, kExample);
        QString asked;
        uitest::OnModal(
            "fmMsg",
            [&](QDialog& dialog) {
                asked = dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text();
                main.reset();
            },
            30000);
        main->findChild<QAction*>(QStringLiteral("mm_MeterVerify"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!main, 30000);
        QVERIFY(
            asked.startsWith(QStringLiteral("На выходе калибратора установлено заданное напряжение и нулевой ток")));
        // The verification went on unanswered and left the current off.
        const std::vector<int> codes = Codes(sim.WaitFrames(12, std::chrono::milliseconds(3000)));
        QCOMPARE(std::count(codes.begin(), codes.end(), 2), 3);
    }

    void DestroyedWhileAConverterOperationWaitsForAnAnswer() {
        talvo_test::ConverterSimulator converter;
        auto main = std::make_unique<ui::TfmMain>(WithLibrary());
        main->show();
        ui::TForm2* form = main->NewWindow();
        form->FillTabs(0, true);
        form->ConverterPage()->PortBox()->setCurrentText(QString::fromStdString(converter.Name()));
        QString asked;
        uitest::OnModal("fmMsg", [&](QDialog& dialog) {
            asked = dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text();
            main.reset();
        });
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("btnTestConverterIU")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!main, 10000);
        QCOMPARE(asked, QStringLiteral("Преобразователь подключен."));
    }

    void QtsOwnButtonsAreRussian() {
        ui::InstallQtTranslations(*QCoreApplication::instance());
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    }
};

QTEST_MAIN(ProgramLifeTest)
#include "ProgramLifeTest.moc"
