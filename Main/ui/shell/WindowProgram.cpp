#include "ui/shell/WindowProgram.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "CommonUtils/TalvoError.h"
#include "editor/ShellRules.h"
#include "files/DataFolders.h"
#include "link/LibraryBinding.h"
#include "ui/common/Automation.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/QtTranslations.h"
#include "ui/common/Texts.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/TerminationRequests.h"

namespace ui {
namespace {

// Qt aborts inside its platform plugin when no display can be reached; the
// program tells why first, and what runs without one.
bool DisplayReachable() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int RunWindowProgram(int argc, char** argv) {
    if (!DisplayReachable()) {
        std::fputs(
            "Нет графического дисплея: окна программы показать негде. Без окон программа работает в "
            "консольном режиме: KalibratorTalvo -c SetSignal|ExportXls ... (см. --help).\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    // No display name: the platform would append it to every window's
    // caption, and the captions already say what they are.
    QApplication::setApplicationName(Q(edit::kApplicationTitle));
    InstallQtTranslations(app);
    InstallAutomationNames(app);
    // What writes killed half-way left behind beside the settings and signals.
    files::RemoveStaleTemporariesAtStart();
    TMainOptions options;
    try {
        options.Library = lnk::LoadSignalLibrary();
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return 1;
    }
    TfmMain main(std::move(options));
    TTerminationRequests termination;
    QObject::connect(&termination, &TTerminationRequests::Requested, &main, &TfmMain::Terminate);
    main.showMaximized();
    QTimer::singleShot(0, &main, &TfmMain::Start);
    return QApplication::exec();
}

}  // namespace ui
