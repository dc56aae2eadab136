#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "CalibratorSimulator.h"
#include "CommonUtils/CalibratorWire.h"
#include "DialogDriver.h"
#include "TempFolder.h"
#include "link/LibraryBinding.h"
#include "ui/schedule/ScheduleWindow.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

using nlohmann::json;
using ui::TfmMain;

namespace {

const QString kExample = QStringLiteral(TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa");

// The journal once it has stopped growing. A send that ends with the dips
// frame does not wait for the calibrator to execute it, so the simulator may
// still be reading that frame's block when the sender is done.
std::vector<json> SettledFrames(const talvo_test::CalibratorSimulator& sim) {
    std::vector<json> frames = sim.Frames();
    for (;;) {
        std::vector<json> later = sim.WaitFrames(frames.size() + 1, std::chrono::milliseconds(500));
        if (later.size() == frames.size()) return frames;
        frames = std::move(later);
    }
}

// The frames as the calibrator received them (codes, parameters, decoded
// tables and timing blocks), without their running numbers and the device
// state that earlier runs left.
std::vector<json> Received(const talvo_test::CalibratorSimulator& sim, std::size_t from) {
    std::vector<json> frames = SettledFrames(sim);
    frames.erase(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(std::min(from, frames.size())));
    for (json& f : frames) {
        f.erase("seq");
        f.erase("received_ms");
        f.erase("state");
    }
    return frames;
}

// What the console sends for the same file and action.
std::vector<json> SentByConsole(const talvo_test::CalibratorSimulator& sim, const char* type) {
    const std::size_t before = SettledFrames(sim).size();
    QProcess console;
    console.start(QStringLiteral(TALVO_BIN_DIR "/KalibratorTalvo"),
                  {QStringLiteral("-c"), QStringLiteral("SetSignal"), QStringLiteral("-t"), QString::fromLatin1(type),
                   QStringLiteral("-p"), kExample, QStringLiteral("-cn"), QStringLiteral("COM1")});
    console.waitForFinished(30000);
    return Received(sim, before);
}

}  // namespace

class SendFromWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<talvo_test::TempSettings> settings_;
    std::unique_ptr<talvo_test::CalibratorSimulator> sim_;

    // A fresh main window, as a new program run: nothing sent before.
    std::unique_ptr<TfmMain> Program() {
        ui::TMainOptions options;
        options.Library = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
        auto main = std::make_unique<TfmMain>(std::move(options));
        main->show();
        return main;
    }

    // Runs a menu entry on the file's window and returns the frames it sent.
    std::vector<json> SendFromWindow(TfmMain& main, const char* item) {
        const std::size_t before = SettledFrames(*sim_).size();
        QSignalSpy finished(&main, &TfmMain::ActionFinished);
        main.findChild<QAction*>(QString::fromLatin1(item))->trigger();
        if (!finished.wait(30000)) return {};
        [&] { QCOMPARE(finished.front().front().toBool(), true); }();
        return Received(*sim_, before);
    }

private Q_SLOTS:
    void init() {
        uitest::FailOnWarnings();
        settings_ = std::make_unique<talvo_test::TempSettings>();
        sim_ = std::make_unique<talvo_test::CalibratorSimulator>("COM1");
    }
    void cleanup() {
        sim_.reset();
        settings_.reset();
    }

    void AFileOpenedByDialogIsSentAsTheConsoleSendsIt() {
        std::unique_ptr<TfmMain> main = Program();
        uitest::OnModal("OpenDialog1", [](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Открыть файл испытательного сигнала"));
            uitest::ChooseInFileDialog(dialog, kExample);
        });
        QTest::mouseClick(main->findChild<QToolButton*>(QStringLiteral("tbOpen")), Qt::LeftButton);
        ui::TForm2* form = main->ActiveSignalWindow();
        QCOMPARE(form->windowTitle(), QStringLiteral("Испытательный сигнал: harmonics-dips-flicker.usa"));
        const std::vector<json> window = SendFromWindow(*main, "mm_Generate_Sin");
        QVERIFY(!window.empty());
        QCOMPARE(window, SentByConsole(*sim_, "Sinus"));
        auto* protocol = form->findChild<QListWidget*>(QStringLiteral("ListBox5"));
        QVERIFY(protocol->count() > 3);
        QVERIFY(protocol->item(0)->text().startsWith(QStringLiteral("1. ")));
        QVERIFY(!protocol->findItems(QStringLiteral("ДЕЙСТВИЕ"), Qt::MatchContains).isEmpty());
    }

    void DipsAndFluctuationsAreSentAsTheConsoleSendsThem() {
        for (const auto& [item, type] :
             {std::pair{"mm_Generate_Collapses", "ColOver"}, {"mm_Generate_Koleb", "Koleb"}}) {
            std::unique_ptr<TfmMain> main = Program();
            main->OpenFile(files::sfAll, kExample.toStdString());
            const std::vector<json> window = SendFromWindow(*main, item);
            QVERIFY2(!window.empty(), item);
            const std::vector<json> console = SentByConsole(*sim_, type);
            if (window != console) {
                qWarning("window %zu console %zu", window.size(), console.size());
                for (std::size_t i = 0; i < std::max(window.size(), console.size()); ++i)
                    if (i >= window.size() || i >= console.size() || window[i] != console[i])
                        qWarning("%zu: %s | %s", i, i < window.size() ? window[i].dump().substr(0, 300).c_str() : "-",
                                 i < console.size() ? console[i].dump().substr(0, 300).c_str() : "-");
            }
            QCOMPARE(window, console);
        }
    }

    // After a schedule run the calibrator holds the run's divisor: the main
    // window must not keep the one it sent before.
    void AScheduleRunMakesTheNextActionSendItsDivisor() {
        std::unique_ptr<TfmMain> main = Program();
        main->NewWindow();
        const auto sendsDivisor = [](const std::vector<json>& frames) {
            const std::string command = "55555555" + QString::number(int(cmn::CalCommand::TimerDivisor), 16)
                                                         .rightJustified(2, QLatin1Char('0'))
                                                         .toUpper()
                                                         .toStdString();
            return std::any_of(frames.begin(), frames.end(),
                               [&](const json& f) { return f["frame"].get<std::string>().rfind(command, 0) == 0; });
        };
        QVERIFY(sendsDivisor(SendFromWindow(*main, "mm_Generate_Sin")));
        QVERIFY2(!sendsDivisor(SendFromWindow(*main, "mm_Generate_Sin")), "the default signal keeps its divisor");
        Q_EMIT main->ScheduleWindow().RunFinished();
        QVERIFY(sendsDivisor(SendFromWindow(*main, "mm_Generate_Sin")));
    }

    void ASilentCalibratorEndsTheActionWithTheWindowUsable() {
        sim_ =
            std::make_unique<talvo_test::CalibratorSimulator>("COM1", std::vector<std::string>{"--silent-from", "1"});
        std::unique_ptr<TfmMain> main = Program();
        ui::TForm2* form = main->NewWindow();
        QSignalSpy finished(main.get(), &TfmMain::ActionFinished);
        QVERIFY(main->RunAction(ui::TActionKind::TestSignal));
        // The window may not close while the action writes into its protocol.
        form->parentWidget()->close();
        QCOMPARE(main->SignalWindows().size(), std::size_t{1});
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.front().front().toBool(), false);
        QCOMPARE(main->findChild<QLabel*>(QStringLiteral("StatusPanel"))->text(),
                 QStringLiteral("Ошибка при передаче сигнала калибратору"));
        auto* protocol = form->findChild<QListWidget*>(QStringLiteral("ListBox5"));
        QVERIFY(protocol->count() >= 2);
        QVERIFY(form->Protocol().ErrorCount() >= 1);
        // The port was released: the next action opens it again.
        sim_ = std::make_unique<talvo_test::CalibratorSimulator>("COM1");
        QVERIFY(main->RunAction(ui::TActionKind::ResetAll));
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.back().front().toBool(), true);
        form->parentWidget()->close();
        QTRY_COMPARE(main->SignalWindows().size(), std::size_t{0});
    }
};

QTEST_MAIN(SendFromWindowTest)
#include "SendFromWindowTest.moc"
