// Renders the windows as a user sees them into PNG files for review:
// build/shots/<name>.png (the folder given as the first argument).
#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QTimer>
#include <functional>

#include "CalibratorSimulator.h"
#include "TempFolder.h"
#include "editor/DipsAndFluctuations.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/HarmonicEditor.h"
#include "ui/signal/SignalWindow.h"

void SaveChartShots(ui::TfmMain& main, const QString& into);

namespace {

QString folder;

void Save(QWidget& widget, const QString& name) {
    widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// Every page of a signal window with the converter page, in a main window
// of a laptop's and of a desktop's screen size, as the user sees it.
void SaveScreenShots(const QString& into) {
    for (const QSize screen : {QSize(1366, 768), QSize(1600, 1000)}) {
        ui::TfmMain main{ui::TMainOptions{}};
        main.resize(screen);
        main.show();
        QApplication::processEvents();
        ui::TForm2* form = main.OpenFile(files::sfAll, TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa");
        form->FillTabs(0, true);
        const QString prefix = QStringLiteral("%1x%2-").arg(screen.width()).arg(screen.height());
        for (const std::string& caption : form->TabList()) {
            form->SelectTab(form->FindTab(caption));
            QApplication::processEvents();
            main.grab().save(
                QDir(into).filePath(prefix + QStringLiteral("page-%1.png").arg(form->FindTab(caption) + 1)));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(folder);
    talvo_test::TempSettings settings;
    ui::TfmMain main{ui::TMainOptions{}};
    main.resize(1100, 760);
    main.show();
    ui::TForm2* form = main.OpenFile(files::sfAll, TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa");
    form->parentWidget()->showMaximized();
    form->ProtocolLog().Log(cmn::LogType::Info, "ДЕЙСТВИЕ: Передача испытательного сигнала");
    form->ProtocolLog().Log(cmn::LogType::Error, "Нет ответа от калибратора");
    QApplication::processEvents();
    Save(main, QStringLiteral("main-window"));
    for (const std::string& caption : form->TabList()) {
        form->SelectTab(form->FindTab(caption));
        QApplication::processEvents();
        Save(*form, QStringLiteral("signal-") + QString::number(form->FindTab(caption) + 1));
    }
    // The dips page with a swell in use and the events not bound to periods.
    form->SelectTab(form->FindTab("Провалы и перенапряжения"));
    edit::SetCollapseKind(form->Signal(), 1, sig::ckSwell, 0);
    edit::SetCollapseAlign(form->Signal(), 2, 0);
    form->ShowAllData_Collapse();
    QApplication::processEvents();
    Save(*form, QStringLiteral("signal-dips-swell-unbound"));
    // The harmonic table of the single-phase page, before that page places it.
    ui::TOnePhaseHarmonics onePhase(*form);
    onePhase.resize(760, 420);
    onePhase.SetPhase(0);
    onePhase.Rebuild();
    Save(onePhase, QStringLiteral("one-phase-harmonics"));
    SaveChartShots(main, folder);
    SaveScreenShots(folder);
    return 0;
}
