#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>
#include <utility>

#include "DialogDriver.h"
#include "TempFolder.h"
#include "ui/shell/MainWindow.h"

namespace fs = std::filesystem;
using ui::TfmMain;

// The main window's menus: "Открыть повторно" offers the recent files (with
// none it stays disabled, the first file opened enables it, and dropping the
// last entry disables it again); the send entries carry their captions.
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

    // "Действия" and the tool bar's "Передать": the send and command entries
    // with their captions (the tool bar's reset of dips begins with a Latin C).
    void SendEntriesCarryTheirCaptions() {
        const std::pair<const char*, const char*> entries[] = {
            {"mm_Generate_Sin", "Испытательного сигнала"},
            {"tm_Generate_Sin", "Испытательного сигнала"},
            {"mm_Generate_Collapses", "Провалов и перенапряжений"},
            {"tm_Generate_Collapses", "Провалов и перенапряжений"},
            {"mm_Generate_Koleb", "Колебаний"},
            {"tm_Generate_Koleb", "Колебаний"},
            {"mm_Reset_Collapses", "Сброс провалов и перенапряжений"},
            {"tm_Reset_Collapses", "Cброс провалов и перенапряжений"},
            {"mm_Reset_All", "Сброс всего сигнала"},
            {"tm_Reset_All", "Сброс всего сигнала"},
            {"mm_MeterVerify", "Поверка счетчика"},
            {"tm_MeterVerify", "Поверка счетчика"},
        };
        for (const auto& [name, caption] : entries) {
            const QAction* item = main_->findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(item, name);
            QCOMPARE(item->text(), QString::fromUtf8(caption));
        }
    }
};

QTEST_MAIN(MainWindowEnablingTest)
#include "MainWindowEnablingTest.moc"
