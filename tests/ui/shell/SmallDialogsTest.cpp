// The countdown, the splash, the identification and the about box.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "DialogDriver.h"
#include "TalvoVersion.h"
#include "ui/common/DeviceWork.h"
#include "ui/common/QueuedSinks.h"
#include "ui/shell/dialogs/TfmEnergy.h"
#include "ui/shell/dialogs/TfmIdentify.h"
#include "ui/shell/dialogs/TfmLoad.h"

using uitest::OnModal;

namespace {

QString LabelText(QWidget& dialog, const char* name) {
    auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<none>");
}

}  // namespace

class TestSmallDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { uitest::FailOnWarnings(); }

    // Three ticks and the dialog closes by itself with OK; the labels show
    // the count given and what is left.
    void energyRunsOutAfterItsTicks() {
        ui::TfmEnergy dialog;
        dialog.SetTickInterval(40);
        QSignalSpy ticks(dialog.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout);
        QString leftAtStart;
        OnModal("fmEnergy", [&](QDialog& shown) {
            QCOMPARE(LabelText(shown, "lb_count"), QStringLiteral("3"));
            leftAtStart = LabelText(shown, "lb_left");
        });
        QVERIFY(dialog.Run(3));
        QCOMPARE(ticks.count(), 3);
        QCOMPARE(leftAtStart, QStringLiteral("3"));
        QCOMPARE(LabelText(dialog, "lb_left"), QStringLiteral("0"));
    }

    // "Отмена" stops the count; the same dialog counts afresh next time.
    void energyCancelledThenUsedAgain() {
        ui::TfmEnergy dialog;
        dialog.SetTickInterval(40);
        OnModal("fmEnergy", [](QDialog& shown) {
            QTest::mouseClick(shown.findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
        });
        QVERIFY(!dialog.Run(50));
        QString leftAtStart;
        OnModal("fmEnergy", [&](QDialog& shown) { leftAtStart = LabelText(shown, "lb_left"); });
        QVERIFY(dialog.Run(2));
        QCOMPARE(leftAtStart, QStringLiteral("2"));
        QVERIFY(dialog.Run(0));
    }

    // The core's meter verification asks from its worker thread; the dialog
    // runs on the window thread while the worker waits for the answer.
    void energyAsTheCountdownOfAWorker() {
        ui::TfmEnergy dialog;
        dialog.SetTickInterval(20);
        ui::TWorkerCountdown countdown([&dialog](int seconds, QWidget*) { return dialog.Run(seconds); },
                                       std::make_shared<ui::TWindowAnswers>());
        std::atomic<int> answer{-1};
        std::thread worker([&] { answer = countdown.Run(2) ? 1 : 0; });
        const bool answered = QTest::qWaitFor([&] { return answer.load() >= 0; }, 5000);
        worker.join();
        QVERIFY(answered);
        QCOMPARE(answer.load(), 1);
    }

    void splashClosesByItselfWhenTheBarIsThrough() {
        sig::TCorrectionRecord correction{};
        for (std::size_t i = 0; i < correction.size(); ++i) correction[i] = static_cast<sig::real>(i) + 0.5L;
        ui::TfmLoad splash(1, correction);
        QCOMPARE(LabelText(splash, "lb_version"), QStringLiteral("Версия " TALVO_VERSION " "));
        // "1U" is the 57.7 V range, record places 3 to 5; "2U" the 220 V range, 0 to 2.
        QCOMPARE(LabelText(splash, "lb_koef_1u_a"), QStringLiteral("3.500"));
        QCOMPARE(LabelText(splash, "lb_koef_2u_c"), QStringLiteral("2.500"));
        QCOMPARE(LabelText(splash, "lb_koef_f"), QStringLiteral("12.500"));

        splash.SetTickInterval(1);
        QCOMPARE(splash.exec(), int(QDialog::Accepted));
        QCOMPARE(splash.findChild<QProgressBar*>(QStringLiteral("pb_load"))->value(), 99);
    }

    void splashClosesOnEscape() {
        ui::TfmLoad splash(0, {});
        int progressAtEscape = -1;
        OnModal("fmLoad", [&](QDialog& shown) {
            progressAtEscape = shown.findChild<QProgressBar*>(QStringLiteral("pb_load"))->value();
            QTest::keyClick(&shown, Qt::Key_Escape);
        });
        QCOMPARE(splash.exec(), int(QDialog::Rejected));
        QVERIFY(progressAtEscape < 90);
    }

    void identifyShowsTheDigestsInGroupsOfFour() {
        ui::TfmIdentify dialog("0123456789abcdef0123456789ABCDEF", "d41d8cd98f00b204e9800998ecf8427e");
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("sg_identify"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->columnCount(), 5);
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("0123 4567 89AB CDEF 0123 4567 89AB CDEF"));
        QCOMPARE(table->item(1, 3)->text(), QStringLiteral("D41D 8CD9 8F00 B204 E980 0998 ECF8 427E"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("libSignalTalvo.so"));
    }
};

int RunSmallDialogsTests(int argc, char** argv) {
    TestSmallDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "SmallDialogsTest.moc"
