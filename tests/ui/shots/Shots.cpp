// Renders the windows as a user sees them into PNG files for review:
// build/shots/<name>.png (the folder given as the first argument).
#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QTimer>
#include <functional>

#include "CalibratorSimulator.h"
#include "TempFolder.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

void SaveChartShots(ui::TfmMain& main, const QString& into);

namespace {

QString folder;

void Save(QWidget& widget, const QString& name) {
    widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
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
    SaveChartShots(main, folder);
    return 0;
}
