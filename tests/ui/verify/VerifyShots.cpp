// Renders the check of a signal as a user sees it on a 1366 × 768 screen
// into PNG files for review: build/shots/verify-<name>.png (the folder given
// as the first argument), and its PDF report beside them.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

#include "TempFolder.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"
#include "ui/verify/TfmVerify.h"

namespace {

QString folder;

void Save(QWidget& widget, const QString& name) {
    widget.grab().save(QDir(folder).filePath(QStringLiteral("verify-%1.png").arg(name)));
}

bool Check(ui::TfmVerify& dialog, int action, int flicker) {
    dialog.findChild<QComboBox*>(QStringLiteral("cbVerifyAction"))->setCurrentIndex(action);
    dialog.findChild<QComboBox*>(QStringLiteral("cbFlickerTime"))->setCurrentIndex(flicker);
    QSignalSpy ended(&dialog, &ui::TfmVerify::CheckEnded);
    dialog.findChild<QPushButton*>(QStringLiteral("btnVerify"))->click();
    return ended.wait(120000) && ended.front().front().toBool();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(folder);
    talvo_test::TempSettings settings;
    ui::TMainOptions options;
    options.Library = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
    ui::TfmMain main{std::move(options)};
    main.resize(1366, 768);
    main.show();
    ui::TForm2* form = main.Open(TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa");
    form->Recalculate();
    auto library =
        std::make_shared<lnk::TSignalLibrary>(lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest()));
    ui::TfmVerify dialog({form->Signal(), form->windowTitle().toStdString(), form->Modification(), {}, library},
                         main.Work(), &main);
    dialog.show();
    QApplication::processEvents();
    Save(dialog, QStringLiteral("0-before"));
    auto* plots = dialog.findChild<QTabWidget*>(QStringLiteral("tcVerifyPlots"));
    if (!Check(dialog, 0, 0)) return 1;
    Save(dialog, QStringLiteral("1-test-signal-waveform"));
    plots->setCurrentIndex(1);
    Save(dialog, QStringLiteral("2-test-signal-harmonics"));
    if (!Check(dialog, 1, 0)) return 1;
    plots->setCurrentIndex(3);
    Save(dialog, QStringLiteral("3-dips-half-period-rms"));
    if (!dialog.SaveReport(QDir(folder).filePath(QStringLiteral("verify-report-dips.pdf")).toStdString()).empty())
        return 1;
    if (!Check(dialog, 2, 1)) return 1;
    plots->setCurrentIndex(2);
    Save(dialog, QStringLiteral("4-fluctuations-pinst"));
    if (!dialog.SaveReport(QDir(folder).filePath(QStringLiteral("verify-report-flicker.pdf")).toStdString()).empty())
        return 1;
    // A calculation fault: the signal says UA is a volt higher than it plays.
    sig::TSignalSet wrong = form->Signal();
    wrong.Voltage.URmsA += 1;
    ui::TfmVerify faulty({wrong, "Испытательный сигнал: неверный.usa", form->Modification(), {}, library}, main.Work(),
                         &main);
    faulty.show();
    if (!Check(faulty, 0, 0)) return 1;
    Save(faulty, QStringLiteral("5-out-of-tolerance"));
    return 0;
}
