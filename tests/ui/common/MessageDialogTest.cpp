// The program's message box: which buttons each kind offers and what each
// answer returns.
#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include "DialogDriver.h"
#include "ui/common/MessageDialog.h"

using uitest::OnModal;

namespace {

struct TSeen {
    QString Title, Text;
    bool Yes = false, No = false;
};

// Shows the message of this kind, answers it with `act` and says what it showed.
TSeen Show(cmn::MessageKind kind, int& result, std::function<void(QDialog&)> act) {
    TSeen seen;
    OnModal("fmMsg", [&seen, act](QDialog& message) {
        seen.Title = message.windowTitle();
        seen.Text = message.findChild<QLabel*>(QStringLiteral("Label1"))->text();
        seen.Yes = message.findChild<QAbstractButton*>(QStringLiteral("btnOk"))->isVisible();
        seen.No = message.findChild<QAbstractButton*>(QStringLiteral("btnCancel"))->isVisible();
        act(message);
    });
    result = ui::MyShowMessage("Файл не найден!", kind);
    return seen;
}

void Click(QDialog& message, const char* button) {
    QTest::mouseClick(message.findChild<QAbstractButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

}  // namespace

class TestMessageDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { uitest::FailOnWarnings(); }

    void onlyAQuestionOffersNo_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("no");
        QTest::newRow("Load_Save") << int(cmn::MessageKind::LoadSave) << false;
        QTest::newRow("Warning") << int(cmn::MessageKind::Warning) << false;
        QTest::newRow("Confirmation") << int(cmn::MessageKind::Confirmation) << true;
        QTest::newRow("Ok") << int(cmn::MessageKind::Ok) << false;
    }
    void onlyAQuestionOffersNo() {
        QFETCH(int, kind);
        QFETCH(bool, no);
        int result = 0;
        const TSeen seen = Show(static_cast<cmn::MessageKind>(kind), result, [](QDialog& m) { Click(m, "btnOk"); });
        QCOMPARE(seen.Title, QStringLiteral("Калибратор Talvo"));
        QCOMPARE(seen.Text, QStringLiteral("Файл не найден!"));
        QVERIFY(seen.Yes);
        QCOMPARE(seen.No, no);
        QCOMPARE(result, ui::mrOk);
    }

    void noAndClosingCancel() {
        int result = 0;
        Show(cmn::MessageKind::Confirmation, result, [](QDialog& m) { Click(m, "btnCancel"); });
        QCOMPARE(result, ui::mrCancel);
        Show(cmn::MessageKind::Warning, result, [](QDialog& m) { QTest::keyClick(&m, Qt::Key_Escape); });
        QCOMPARE(result, ui::mrCancel);
    }

    // The core's questions: "Да" and "Нет" under a warning icon.
    void askUserKeepsTheButtonsApartFromTheKind() {
        bool no = false;
        OnModal("fmMsg", [&no](QDialog& m) {
            no = m.findChild<QAbstractButton*>(QStringLiteral("btnCancel"))->isVisible();
            Click(m, "btnCancel");
        });
        QVERIFY(!ui::AskUser("Продолжить?", cmn::MessageKind::Warning, cmn::Buttons::YesNo));
        QVERIFY(no);
    }
};

QTEST_MAIN(TestMessageDialog)
#include "MessageDialogTest.moc"
