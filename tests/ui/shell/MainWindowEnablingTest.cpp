#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "DialogDriver.h"
#include "TempFolder.h"
#include "ui/shell/MainWindow.h"

namespace fs = std::filesystem;
using ui::TfmMain;

// "Открыть повторно" offers the recent files: with none it stays disabled,
// the first file opened enables it, and dropping the last entry disables it again.
class MainWindowEnablingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<talvo_test::TempSettings> settings_;
    std::unique_ptr<TfmMain> main_;

    bool ReopenEnabled() { return main_->findChild<QMenu*>(QStringLiteral("mm_Reopen"))->menuAction()->isEnabled(); }

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

    void ReopenFollowsTheRecentList() {
        QVERIFY(main_->RecentFiles().empty());
        QVERIFY(!ReopenEnabled());
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("only.usa")).toStdString();
        fs::copy_file(std::string(TALVO_SOURCE_DIR) + "/examples/balanced-nominal.usa", path);
        main_->OpenFile(files::sfAll, path);
        QVERIFY(ReopenEnabled());
        fs::remove(path);
        auto answered = uitest::AnswerNextMessage("btnOk");
        main_->findChild<QAction*>(QStringLiteral("mm_Recent0"))->trigger();
        QTRY_VERIFY(answered->Seen);
        QVERIFY(main_->RecentFiles().empty());
        QVERIFY(!ReopenEnabled());
    }
};

QTEST_MAIN(MainWindowEnablingTest)
#include "MainWindowEnablingTest.moc"
