#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
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
// last entry disables it again); the send entries and the tool bar carry
// their captions; signal windows cascade from the corner.
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

    // The menus and their entries with their captions; the tool bar's
    // "Передать" repeats the send entries (its reset of dips begins with a Latin C).
    void MenuEntriesCarryTheirCaptions() {
        const std::pair<const char*, const char*> entries[] = {
            {"mm_New", "Создать"},
            {"mm_Open_Signal", "Испытательный сигнал"},
            {"mm_Open_Voltage", "Напряжение"},
            {"mm_Open_Current", "Ток"},
            {"mm_Open_Converter", "Напряжение с преобразователя"},
            {"mm_Save_Signal", "Испытательный сигнал"},
            {"mm_Save_Voltage", "Напряжение"},
            {"mm_Save_Current", "Ток"},
            {"mm_Save_Converter", "Напряжение с преобразователя"},
            {"mm_Exit", "Выход"},
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
        const std::pair<const char*, const char*> menus[] = {
            {"mm_File", "&Файл"},
            {"mm_Open", "Открыть"},
            {"mm_Save", "Сохранить"},
            {"mm_Reopen", "Открыть повторно"},
            {"mm_Edit", "Р&едактирование"},
            {"mm_Actions", "Действия"},
            {"mm_Send", "Передать в калибратор"},
            {"mm_Send_Parameters", "Параметры"},
            {"mm_Send_Commands", "Команды"},
        };
        for (const auto& [name, title] : menus) {
            const QMenu* menu = main_->findChild<QMenu*>(QString::fromLatin1(name));
            QVERIFY2(menu, name);
            QCOMPARE(menu->title(), QString::fromUtf8(title));
        }
    }

    // The tool bar's buttons with their captions and hints.
    void ToolButtonsCarryCaptionsAndHints() {
        const char* const buttons[][3] = {
            {"tbNew", "Создать", "Создать новое окно испытательного сигнала"},
            {"tbOpen", "Открыть", "Открыть файл с характеристиками испытательного  сигнала"},
            {"tbSave", "Сохранить", "Сохранить в файле характеристики испытательного сигнала"},
            {"tbSend", "Передать", "Передать в калибратор информацию о испытательном сигнале "},
            {"tbExport", "Экспорт", "Экспортировать характеристики испытательных сигналов в MS Excel"},
            {"tbSchedule", "Авт. задание", "Автоматизированное задание сигналов"},
            {"tbPreferences", "Калибратор", "Задание калибровочных коэфициентов"},
            {"tbHelp", "Помощь", "Справочная информация"},
        };
        for (const auto& [name, caption, hint] : buttons) {
            const QToolButton* button = main_->findChild<QToolButton*>(QString::fromLatin1(name));
            QVERIFY2(button, name);
            QCOMPARE(button->text(), QString::fromUtf8(caption));
            QCOMPARE(button->toolTip(), QString::fromUtf8(hint));
        }
    }

    // Signal windows cascade from the frame's top left corner.
    void TheFirstWindowOpensInTheCorner() {
        main_->resize(1366, 768);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        main_->NewWindow();
        main_->NewWindow();
        const QList<QMdiSubWindow*> windows = main_->findChild<QMdiArea*>()->subWindowList();
        QCOMPARE(windows.size(), 2);
        QVERIFY(!windows[0]->isMaximized());
        QCOMPARE(windows[0]->pos(), QPoint(0, 0));
        QVERIFY(windows[1]->pos().x() > 0 && windows[1]->pos().y() > 0);
    }
};

QTEST_MAIN(MainWindowEnablingTest)
#include "MainWindowEnablingTest.moc"
