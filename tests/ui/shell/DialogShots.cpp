// Renders every dialog of the shell to a PNG file under build/shots/ for a
// person to look at. Not a test: nothing is compared.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <cstdio>

#include "ui/common/MessageDialog.h"
#include "ui/shell/dialogs/TfmAbout.h"
#include "ui/shell/dialogs/TfmEnergy.h"
#include "ui/shell/dialogs/TfmExport.h"
#include "ui/shell/dialogs/TfmIdentify.h"
#include "ui/shell/dialogs/TfmKalibrPreferences.h"
#include "ui/shell/dialogs/TfmLoad.h"
#include "ui/shell/dialogs/TfmSignalNominals.h"

namespace {

void Shoot(QWidget& dialog, const char* name) {
    dialog.show();
    QApplication::processEvents();
    const QString path = QStringLiteral(TALVO_SHOTS_DIR "/") + QString::fromLatin1(name) + QStringLiteral(".png");
    if (!dialog.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else std::printf("%s\n", qPrintable(path));
    dialog.hide();
}

sig::TCorrectionRecord Correction() {
    sig::TCorrectionRecord r{};
    for (std::size_t i = 0; i < r.size(); ++i) r[i] = (static_cast<sig::real>(i) - 6) * 1.2345L;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir().mkpath(QStringLiteral(TALVO_SHOTS_DIR));

    ui::TfmKalibrPreferences preferences({Correction(), 1});
    Shoot(preferences, "preferences_common");
    preferences.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    Shoot(preferences, "preferences_calibration");

    ui::TfmSignalNominals nominals({57.735L, 100, 50});
    Shoot(nominals, "nominals");

    ui::TfmIdentify identify("0123456789abcdef0123456789abcdef", "d41d8cd98f00b204e9800998ecf8427e");
    Shoot(identify, "identify");

    ui::TfmEnergy energy;
    energy.SetCount(120);
    Shoot(energy, "energy");

    ui::TfmLoad splash(1, Correction());
    splash.SetTickInterval(1000000);
    Shoot(splash, "splash");

    ui::TfmAbout about;
    Shoot(about, "about");

    ui::TfmExport exportDialog;
    Shoot(exportDialog, "export_template");
    exportDialog.findChild<QRadioButton*>(QStringLiteral("rb_new_file"))->setChecked(true);
    exportDialog.findChild<QListWidget*>(QStringLiteral("lb_signals"))->setCurrentRow(6);
    Shoot(exportDialog, "export_new_file");

    ui::TfmMsg warning(QStringLiteral("Выход за границы диапазона (-100..+100 %)! Повторите ввод!"),
                       cmn::MessageKind::Warning, cmn::Buttons::Ok);
    Shoot(warning, "message_warning");
    ui::TfmMsg question(QStringLiteral("Продолжить?"), cmn::MessageKind::Confirmation, cmn::Buttons::YesNo);
    Shoot(question, "message_confirmation");
    return 0;
}
