#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>

#include "CalibratorSimulator.h"
#include "CommonUtils/TalvoError.h"
#include "DialogDriver.h"
#include "SignalWindowFixture.h"
#include "TempFolder.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

using ui::TForm2;

namespace {

QStringList TabCaptions(TForm2& form) {
    QStringList captions;
    for (const std::string& c : form.TabList()) captions << QString::fromStdString(c);
    return captions;
}

QString CurrentTab(TForm2& form) {
    auto* tabs = form.findChild<QTabBar*>(QStringLiteral("Tabs"));
    return tabs->tabText(tabs->currentIndex());
}

QString ShownPage(TForm2& form) {
    QWidget* shown = form.findChild<QStackedWidget*>(QStringLiteral("Notebook1"))->currentWidget();
    return static_cast<QScrollArea*>(shown)->widget()->objectName();
}

void Toggle(TForm2& form, const char* item) {
    form.findChild<QMenu*>(QStringLiteral("PopupMenu1"))->findChild<QAction*>(QString::fromLatin1(item))->trigger();
}

QString Text(TForm2& form, const char* label) { return form.findChild<QLabel*>(QString::fromLatin1(label))->text(); }

}  // namespace

class SignalWindowTest : public uitest::TSignalWindowFixture {
    Q_OBJECT

    TForm2& Window() { return *main_->NewWindow(); }

private Q_SLOTS:
    void OnlyTheMainWindowOwnsASignalWindow() {
        QWidget stranger;
        try {
            TForm2 form(&stranger, {}, 1);
            QFAIL("a signal window was made for another owner");
        } catch (const cmn::TalvoError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Окно сигнала должно иметь родителем TfmMain"));
        }
    }

    void TabsFollowThePageOrderWithOrWithoutTheConverter() {
        TForm2& form = Window();
        QCOMPARE(TabCaptions(form).size(), 12);
        QCOMPARE(TabCaptions(form)[11], QStringLiteral("Протокол работы/Описание сигнала"));
        QCOMPARE(ShownPage(form), QStringLiteral("page_u"));
        form.FillTabs(3, true);
        QCOMPARE(TabCaptions(form).size(), 13);
        QCOMPARE(TabCaptions(form)[11], QStringLiteral("Преобразователь тока в напряжение"));
        QCOMPARE(CurrentTab(form), QStringLiteral("Фазы (А, В, С)"));
        QCOMPARE(ShownPage(form), QStringLiteral("page_u_i_3"));
        QVERIFY(form.HasConverterPage());
    }

    void HidingAndShowingPagesKeepsTheOrder() {
        TForm2& form = Window();
        Toggle(form, "N2");  // "Ток" hidden while "Напряжение" is current
        QCOMPARE(CurrentTab(form), QStringLiteral("Напряжение"));
        QVERIFY(!TabCaptions(form).contains(QStringLiteral("Ток")));
        form.SelectTab(form.FindTab("Фаза"));
        Toggle(form, "N4");  // the current tab hidden: the next one takes its place and is shown
        QCOMPARE(CurrentTab(form), QStringLiteral("Фазы (А, В, С)"));
        QCOMPARE(ShownPage(form), QStringLiteral("page_u_i_3"));
        Toggle(form, "N2");  // shown again at its place, the current tab kept
        QCOMPARE(TabCaptions(form)[1], QStringLiteral("Ток"));
        QCOMPARE(CurrentTab(form), QStringLiteral("Фазы (А, В, С)"));
    }

    void TheLastTabCannotBeHidden() {
        TForm2& form = Window();
        for (const char* item : {"N1", "N2", "N4", "N31", "N3", "N28", "N27", "N6", "N5", "N7", "IEEESTD14591"})
            Toggle(form, item);
        QCOMPARE(TabCaptions(form), QStringList{QStringLiteral("Протокол работы/Описание сигнала")});
        const auto answered = uitest::AnswerNextMessage("btnOk");
        Toggle(form, "N8");
        QVERIFY(answered->Seen);
        QCOMPARE(answered->Text, QStringLiteral("Нельзя скрыть единственную закладку"));
        QCOMPARE(TabCaptions(form).size(), 1);
        QVERIFY(form.findChild<QAction*>(QStringLiteral("N8"))->isChecked());
    }

    void ProtocolCountsLinesAndErrors() {
        TForm2& form = Window();
        form.ProtocolLog().Log(cmn::LogType::Info, "ДЕЙСТВИЕ: проверка");
        form.ProtocolLog().Log(cmn::LogType::Error, "Нет ответа");
        auto* list = form.findChild<QListWidget*>(QStringLiteral("ListBox5"));
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), QStringLiteral("2. Нет ответа"));
        QCOMPARE(Text(form, "Label82"), QStringLiteral("Общее кол-во сообщений - 2"));
        QCOMPARE(Text(form, "Label84"), QStringLiteral("Кол-во успешных сообщений - 1"));
        QCOMPARE(Text(form, "Label87"), QStringLiteral("Кол-во ошибок - 1"));
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("btnClearProt")), Qt::LeftButton);
        QCOMPARE(Text(form, "Label82"), QStringLiteral("Общее кол-во сообщений - 0"));
        QCOMPARE(Text(form, "Label87"), QStringLiteral("Кол-во ошибок - 0"));
        form.ProtocolLog().Log(cmn::LogType::Error, "Ошибка");
        QCOMPARE(Text(form, "Label82"), QStringLiteral("Общее кол-во сообщений - 1"));
        QCOMPARE(Text(form, "Label84"), QStringLiteral("Кол-во успешных сообщений - 0"));
        QCOMPARE(Text(form, "Label87"), QStringLiteral("Кол-во ошибок - 1"));
        QCOMPARE(list->item(0)->text(), QStringLiteral("1. Ошибка"));
    }

    void ProtocolIsSavedWithTheTxtExtension() {
        TForm2& form = Window();
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("протокол.log"));
        form.ProtocolLog().Log(cmn::LogType::Info, "Строка");
        uitest::OnModal("SaveDialog1", [&](QDialog& dialog) { uitest::ChooseInFileDialog(dialog, chosen); });
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("btnSaveProt")), Qt::LeftButton);
        std::ifstream saved(dir.filePath(QStringLiteral("протокол.txt")).toStdString(), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(saved)), {});
        QCOMPARE(QByteArray::fromStdString(content), QByteArray("1. \xD1\xF2\xF0\xEE\xEA\xE0\r\n"));
        QVERIFY(!QFile::exists(chosen));
    }

    void FrequencyBoundsNeverNarrowTheRange() {
        TForm2& form = Window();
        for (const long double kf : {-5.0L, -0.3L, 0.0L, 0.3L, 5.0L}) {
            sig::TCorrectionRecord correction{};
            correction[sig::kCorrectionCount - 1] = kf;
            form.ApplyCalibrationCoefs(correction);
            QVERIFY(form.FrequencyBounds().Lower <= 40);
            QVERIFY(form.FrequencyBounds().Upper >= 70);
        }
    }
};

QTEST_MAIN(SignalWindowTest)
#include "SignalWindowTest.moc"
