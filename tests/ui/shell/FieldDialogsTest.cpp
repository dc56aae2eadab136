// The calibrator preferences and the nominal values: typing, Tab, Enter and
// clicks against the real dialogs, with every message answered and kept.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <cmath>

#include "CommonUtils/TalvoError.h"
#include "DialogDriver.h"
#include "ui/shell/dialogs/TfmKalibrPreferences.h"
#include "ui/shell/dialogs/TfmSignalNominals.h"

using uitest::FocusName;
using uitest::TMessageLog;

namespace {

const QString kRangeError = QStringLiteral("Выход за границы диапазона (-100..+100 %)! Повторите ввод!");

ui::TPreferences Given() {
    ui::TPreferences given;
    for (std::size_t i = 0; i < given.Correction.size(); ++i) given.Correction[i] = static_cast<sig::real>(i) - 6;
    given.Correction[5] = 0.123456789L;
    given.Modification = 0;
    return given;
}

QLineEdit* Field(QWidget& dialog, const char* name) { return dialog.findChild<QLineEdit*>(QString::fromLatin1(name)); }

// Types over what the focused widget holds, as a user does after Tab.
void TypeOver(const QString& text) {
    QTRY_VERIFY(QApplication::focusWidget());
    QWidget* focus = QApplication::focusWidget();
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) edit->selectAll();
    QTest::keyClicks(focus, text);
}

void Click(QWidget& dialog, const char* button) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

void ClickTab(QWidget& dialog, int index) {
    QTabBar* bar = dialog.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// Shows the preferences, active, and clicks their page "Калибровка".
void OpenCalibrationPage(QDialog& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    ClickTab(dialog, 1);
}

void Press(int key) {
    QTRY_VERIFY(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
}

}  // namespace

class TestFieldDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { uitest::FailOnWarnings(); }

    // 100.0 is taken, 100.001 refused with the range message and the focus
    // back in its field, also when "Принять" is clicked over it.
    void correctionRangeIsCheckedOnLeavingAField() {
        ui::TfmKalibrPreferences dialog(Given());
        OpenCalibrationPage(dialog);
        TMessageLog messages;
        QCOMPARE(FocusName(), QStringLiteral("e_koef_2u_a"));
        TypeOver(QStringLiteral("100.0"));
        Press(Qt::Key_Tab);
        QCOMPARE(FocusName(), QStringLiteral("e_koef_2u_b"));
        QCOMPARE(Field(dialog, "e_koef_2u_a")->text(), QStringLiteral("100.000"));

        TypeOver(QStringLiteral("100.001"));
        Press(Qt::Key_Tab);
        QTRY_COMPARE(messages.Texts, QStringList{kRangeError});
        QCOMPARE(messages.WithNo, QList<bool>{false});
        QTRY_COMPARE(FocusName(), QStringLiteral("e_koef_2u_b"));
        QCOMPARE(Field(dialog, "e_koef_2u_b")->text(), QStringLiteral("100.001"));

        Click(dialog, "btnOk");
        QTRY_COMPARE(messages.Texts, (QStringList{kRangeError, kRangeError}));
        QVERIFY(dialog.isVisible());
        TypeOver(QStringLiteral("-100"));
        Click(dialog, "btnOk");
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(messages.Texts.size(), 2);
        const ui::TPreferences result = dialog.Result();
        QCOMPARE(double(result.Correction[0]), 100.0);
        QCOMPARE(double(result.Correction[1]), -100.0);
        QVERIFY(result.Correction[5] == 0.123456789L);  // never typed, so not rounded to what it shows
    }

    // Enter goes down each range, then to the frequency, then to "Принять";
    // a refused entry keeps the focus where it is.
    void enterOrder() {
        ui::TfmKalibrPreferences dialog(Given());
        OpenCalibrationPage(dialog);
        TMessageLog messages;
        const QStringList order = uitest::Texts(
            {"e_koef_2u_a", "e_koef_2u_b", "e_koef_2u_c", "e_koef_1u_a", "e_koef_1u_b", "e_koef_1u_c", "e_koef_1i_a",
             "e_koef_1i_b", "e_koef_1i_c", "e_koef_2i_a", "e_koef_2i_b", "e_koef_2i_c", "e_koef_f", "btnOk"});
        QStringList visited{FocusName()};
        for (int i = 0; i + 1 < order.size(); ++i) {
            if (i == 4) {
                TypeOver(QStringLiteral("x"));
                Press(Qt::Key_Enter);
                QTRY_COMPARE(messages.Texts.size(), 1);
                QTRY_COMPARE(FocusName(), order[i]);
                TypeOver(QStringLiteral("7.25"));
            }
            Press(Qt::Key_Return);
            visited << FocusName();
        }
        QCOMPARE(visited, order);
        QCOMPARE(double(dialog.Result().Correction[4]), 7.25);
        Press(Qt::Key_Return);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // "Восстановить" brings back the opening values, and neither it nor
    // "Отменить" is held up by an entry not yet checked.
    void restoreAndCancelIgnoreAPendingEntry() {
        const ui::TPreferences given = Given();
        ui::TfmKalibrPreferences dialog(given);
        OpenCalibrationPage(dialog);
        TMessageLog messages;
        for (const char* text : {"12", "13"}) {
            TypeOver(QString::fromLatin1(text));
            Press(Qt::Key_Return);
        }
        TypeOver(QStringLiteral("500"));
        Click(dialog, "btnRestore");
        QCOMPARE(Field(dialog, "e_koef_2u_a")->text(), QStringLiteral("-6.000"));
        QCOMPARE(Field(dialog, "e_koef_2u_c")->text(), QStringLiteral("-4.000"));
        QVERIFY(dialog.Result().Correction == given.Correction);

        TypeOver(QStringLiteral("abc"));
        Click(dialog, "btnCancel");
        QTRY_VERIFY(!dialog.isVisible());
        QTest::qWait(50);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(messages.Texts, QStringList{});
    }

    // Leaving the page with a refused entry brings the page and the field back.
    void switchingPagesChecksTheFieldLeft() {
        ui::TfmKalibrPreferences dialog(Given());
        OpenCalibrationPage(dialog);
        TMessageLog messages;
        auto* pages = dialog.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        Field(dialog, "e_koef_1i_b")->setFocus(Qt::MouseFocusReason);
        TypeOver(QStringLiteral("-101"));
        ClickTab(dialog, 0);
        QTRY_COMPARE(messages.Texts, QStringList{kRangeError});
        QTRY_COMPARE(pages->currentIndex(), 1);
        QTRY_COMPARE(FocusName(), QStringLiteral("e_koef_1i_b"));

        TypeOver(QStringLiteral("3"));
        ClickTab(dialog, 0);
        auto* modification = dialog.findChild<QComboBox*>(QStringLiteral("cb_modification"));
        QCOMPARE(modification->currentText(), QStringLiteral("Orbis-Talvo"));
        modification->setCurrentIndex(1);
        QCOMPARE(dialog.Result().Modification, 1);
        QTRY_COMPARE(double(dialog.Result().Correction[7]), 3.0);
        QCOMPARE(messages.Texts.size(), 1);
    }

    // A refused entry is a plain message; the line nominal that was not
    // typed over passes through unrounded.
    void nominalValues() {
        const sig::real line = std::sqrt(3.0L) * 220;
        ui::TfmSignalNominals dialog({220, line, 50});
        auto* frequency = dialog.findChild<QComboBox*>(QStringLiteral("cb_nominal_freq"));
        QCOMPARE(Field(dialog, "e_nominal_line")->text(), QStringLiteral("381.051"));
        QCOMPARE(frequency->currentText(), QStringLiteral("50"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        TMessageLog messages;
        Field(dialog, "e_nominal_faza")->setFocus(Qt::MouseFocusReason);
        for (const char* refused : {"57,735", "0"}) {
            TypeOver(QString::fromLatin1(refused));
            Press(Qt::Key_Tab);
            QTRY_COMPARE(FocusName(), QStringLiteral("e_nominal_faza"));
        }
        QTRY_COMPARE(messages.Texts, uitest::Texts({"Ошибка при вводе значения. Повторите ввод!",
                                                    "Значение номинала должно быть отличным от нуля"}));
        TypeOver(QStringLiteral("57.735"));
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        frequency->setCurrentIndex(1);
        Click(dialog, "btnOk");
        QTRY_VERIFY(!dialog.isVisible());
        const edit::TSignalNominals result = dialog.Result();
        QVERIFY(result.Phase == 57.735L);
        QVERIFY(result.Line == line);
        QCOMPARE(double(result.Frequency), 60.0);
    }

    void nominalFrequencyOutsideTheListIsRefusedBeforeShowing() {
        try {
            ui::TfmSignalNominals::Edit({220, 380, 55});
            QFAIL("no error");
        } catch (const cmn::TalvoError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Значение частоты не входит в список номиналов"));
        }
        QVERIFY(!QApplication::activeModalWidget());
    }
};

int RunFieldDialogsTests(int argc, char** argv) {
    TestFieldDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "FieldDialogsTest.moc"
