// Renders the schedule window into PNG files for review: the three modes
// with a loaded list, a run going on and its protocol. Not a test: run it
// by hand with the output folder as its argument.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "CalibratorSimulator.h"
#include "DialogDriver.h"
#include "TempFolder.h"
#include "link/LibraryBinding.h"
#include "schedule/ListFile.h"
#include "ui/schedule/ScheduleWindow.h"

namespace {

namespace fs = std::filesystem;

sched::TSignalDataForGrid Row(const std::string& path, sched::TCommandType type, int duration, int minute) {
    sched::TSignalDataForGrid row;
    row.Path = path;
    row.Description = path == sched::kCommandText ? path : "Пример";
    row.State = sched::TRowState::Selected;
    row.Type = type;
    row.Duration = duration;
    row.Start = sched::EncodeDateTime({2026, 12, 10, 9, minute, 0, 0}).value();
    row.End = row.Start + sched::SecondsToDays(duration);
    return row;
}

// Writes a list of four rows beside copies of the example signals.
std::string MakeList(const fs::path& folder) {
    sched::TSignalList list;
    list.Description = "Проверка анализатора: установившийся режим, гармоники, провалы";
    for (const char* name : {"balanced-nominal.usa", "harmonics-dips-flicker.usa"})
        fs::copy_file(fs::path(TALVO_EXAMPLES_DIR) / name, folder / name);
    list.Rows = {Row((folder / "balanced-nominal.usa").string(), sched::TCommandType::Sinus, 20, 0),
                 Row((folder / "harmonics-dips-flicker.usa").string(), sched::TCommandType::Sinus, 60, 1),
                 Row((folder / "harmonics-dips-flicker.usa").string(), sched::TCommandType::ColOver, 30, 2),
                 Row(sched::kCommandText, sched::TCommandType::StopSin, 0, 3)};
    list.Rows[2].State = sched::TRowState::NotSelected;
    const std::string file = (folder / "проверка.sfl").string();
    sched::WriteSignalList(file, list);
    return file;
}

void Shoot(QWidget& window, const QString& folder, const char* name) {
    QApplication::processEvents();
    window.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(out);
    talvo_test::TempSettings settings;
    const std::string list = MakeList(settings.Root());

    ui::TTestSignalsForm form;
    form.show();
    uitest::WhenModal([&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(list));
        dialog.accept();
    });
    form.findChild<QPushButton*>(QStringLiteral("btnLoad"))->click();
    auto* grid = form.findChild<QTableWidget*>(QStringLiteral("SignalGrid"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 3)).center());
    Shoot(form, out, "schedule-duration.png");
    for (const auto& [mode, name] :
         {std::pair{"rbTime", "schedule-time.png"}, std::pair{"rbTimeAndDuration", "schedule-time-duration.png"},
          std::pair<const char*, const char*>{"rbDuration", nullptr}}) {
        form.findChild<QRadioButton*>(QString::fromLatin1(mode))->setChecked(true);
        if (name) Shoot(form, out, name);
    }

    talvo_test::CalibratorSimulator sim("COM1");
    lnk::TSignalLibrary library = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
    sched::TLinkSettings link;
    link.Library = &library;
    form.SetLinkSettings(link);
    QSignalSpy finished(&form, &ui::TTestSignalsForm::RunFinished);
    form.findChild<QPushButton*>(QStringLiteral("btnStart"))->click();
    QTest::qWait(1500);
    Shoot(form, out, "schedule-run.png");
    form.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    Shoot(form, out, "schedule-run-protocol.png");
    form.findChild<QPushButton*>(QStringLiteral("btnStop"))->click();
    finished.wait(5000);
    return 0;
}
