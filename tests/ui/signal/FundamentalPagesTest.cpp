#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "CalibratorSimulator.h"
#include "DialogDriver.h"
#include "FieldDriver.h"
#include "SignalWindowFixture.h"
#include "TempFolder.h"
#include "editor/SignalFields.h"
#include "files/SignalFile.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

using ui::TForm2;
using uitest::Expected;
using uitest::FocusName;
using uitest::Press;
using uitest::Shown;
using uitest::TypeOver;

namespace {

const QString kParseError = QStringLiteral("Ошибка при вводе значения! Повторите ввод!");

}  // namespace

class FundamentalPagesTest : public uitest::TSignalWindowFixture {
    Q_OBJECT

    // A shown window on `tab` with the focus in `field`.
    TForm2& Window(const char* field = "e_dey_znach_u_a", std::string_view tab = "Напряжение") {
        TForm2& form = TSignalWindowFixture::Window(tab);
        form.findChild<QWidget*>(QString::fromLatin1(field))->setFocus();
        return form;
    }

private Q_SLOTS:
    void EveryRowOfTheTableIsOneControlOfItsPage() {
        TForm2& form = *main_->NewWindow();
        for (const edit::TFieldRow& row : edit::FieldRows()) {
            const QString name = QString::fromUtf8(row.Name.data(), row.Name.size());
            const auto found = form.findChildren<QWidget*>(name);
            QVERIFY2(found.size() == 1, qPrintable(name));
            QVERIFY(
                form.findChild<QWidget*>(QString::fromUtf8(row.Page.data(), row.Page.size()))->isAncestorOf(found[0]));
            QVERIFY(!found[0]->accessibleName().isEmpty());
        }
    }

    void EnterWalksTheChainAndTakesEachEntryOver() {
        TForm2& form = Window();
        TypeOver(QStringLiteral("230"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("e_dey_znach_u_b"));
        QCOMPARE(Shown(form, "e_otcl_u_a"), QStringLiteral("4.545"));
        QCOMPARE(Shown(form, "e_dey_znach_u_ab"), Expected(form, "e_dey_znach_u_ab"));
        for (const char* next : {"e_dey_znach_u_c", "e_otcl_u_a", "e_otcl_u_b"}) {
            Press(Qt::Key_Return);
            QCOMPARE(FocusName(), QString::fromLatin1(next));
        }
        TypeOver(QStringLiteral("-10"));
        for (const char* next : {"e_otcl_u_c", "e_ugol_u_b", "e_ugol_u_c", "e_dey_znach_u_a"}) {
            Press(Qt::Key_Return);
            QCOMPARE(FocusName(), QString::fromLatin1(next));
        }
        QCOMPARE(Shown(form, "e_dey_znach_u_b"), QStringLiteral("198.000"));
        QCOMPARE(double(form.Signal().Voltage.UA), 230.0);

        form.findChild<QWidget*>(QStringLiteral("e_rate_u"))->setFocus();
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("e_rate_otcl_u"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("e_rate_u"));
    }

    void ARefusedEntryKeepsItsTextAndTheFocus() {
        TForm2& form = Window("e_otcl_u_a");
        uitest::TMessageLog messages;
        TypeOver(QStringLiteral("12,5"));
        Press(Qt::Key_Tab);
        QTRY_COMPARE(messages.Texts, QStringList{kParseError});
        QTRY_COMPARE(FocusName(), QStringLiteral("e_otcl_u_a"));
        QCOMPARE(Shown(form, "e_otcl_u_a"), QStringLiteral("12,5"));
        QCOMPARE(double(form.Signal().Voltage.DeltaUA), 0.0);

        TypeOver(QStringLiteral("-150"));
        Press(Qt::Key_Return);
        QTRY_COMPARE(messages.Texts.size(), 2);
        QCOMPARE(messages.Texts[1], QStringLiteral("Выход за границы диапазона! Повторите ввод."));
        QTRY_COMPARE(FocusName(), QStringLiteral("e_otcl_u_a"));
        QCOMPARE(double(form.Signal().Voltage.UA), 220.0);
        Press(Qt::Key_Escape);  // leaves with the records' text, which is not taken over again

        form.findChild<QWidget*>(QStringLiteral("e_rate_u"))->setFocus();
        const sig::real frequency = form.Signal().Voltage.Freq;
        TypeOver(QStringLiteral("80"));
        Press(Qt::Key_Tab);
        QTRY_COMPARE(messages.Texts.size(), 3);
        QVERIFY(messages.Texts[2].startsWith(QStringLiteral("Значение частоты выходит за допустимый диапазон")));
        QTRY_COMPARE(FocusName(), QStringLiteral("e_rate_u"));
        QCOMPARE(form.Signal().Voltage.Freq, frequency);
    }

    void AnglesDropTheirDegreeSignWhileEdited() {
        TForm2& form = Window("e_ugol_u_b");
        QCOMPARE(Shown(form, "e_ugol_u_b"), QStringLiteral("-120.000"));
        QTRY_COMPARE(form.findChild<QLineEdit*>(QStringLiteral("e_ugol_u_b"))->selectedText(),
                     QStringLiteral("-120.000"));
        QCOMPARE(Shown(form, "e_ugol_u_c"), QStringLiteral("120.000°"));
        QCOMPARE(Shown(form, "e_ugol_u_a"), QStringLiteral("0.000°"));
        QTest::keyClicks(uitest::WaitForFocus(), QStringLiteral("190°"));
        Press(Qt::Key_Return);
        QCOMPARE(Shown(form, "e_ugol_u_b"), QStringLiteral("-170.000°"));
        QCOMPARE(Shown(form, "e_ugol_u_a_b"), Expected(form, "e_ugol_u_a_b"));
    }

    void EscShowsTheRecordsAgain() {
        TForm2& form = Window("e_dey_znach_u_c");
        TypeOver(QStringLiteral("999"));
        Press(Qt::Key_Escape);
        QCOMPARE(Shown(form, "e_dey_znach_u_c"), QStringLiteral("220.000"));
        QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("e_dey_znach_u_c"))->selectedText(),
                 QStringLiteral("220.000"));
        QCOMPARE(FocusName(), QStringLiteral("e_dey_znach_u_c"));
        QCOMPARE(double(form.Signal().Voltage.UC), 220.0);
    }

    void RangeSwitchesAndHarmonicCount() {
        TForm2& form = Window("e_otcl_u_a");
        TypeOver(QStringLiteral("5"));
        Press(Qt::Key_Return);
        auto* range = form.findChild<QComboBox*>(QStringLiteral("cb_naminal_u"));
        QCOMPARE(range->currentText(), QStringLiteral("220.0"));
        range->setFocus();
        QTest::keyClick(range, Qt::Key_Up);
        QCOMPARE(range->currentText(), QStringLiteral("57.735"));
        QCOMPARE(Shown(form, "e_otcl_u_a"), QStringLiteral("5.000"));
        QCOMPARE(Shown(form, "e_dey_znach_u_a"), QStringLiteral("60.622"));
        QCOMPARE(Shown(form, "e_dey_znach_u_b"), QStringLiteral("57.735"));

        auto* switchB = form.findChild<QCheckBox*>(QStringLiteral("cb_Include_U_B"));
        QVERIFY(switchB->isChecked());
        QTest::mouseClick(switchB, Qt::LeftButton);
        QVERIFY(!form.Signal().Switches.UOnB);
        QCOMPARE(Shown(form, "e_rms_u_b"), Expected(form, "e_rms_u_b"));
        QCOMPARE(Shown(form, "e_rms_u_b"), QStringLiteral("0.000"));

        QVERIFY(form.findChild<QRadioButton*>(QStringLiteral("rb_garm_count_u_50"))->isChecked());
        form.findChild<QRadioButton*>(QStringLiteral("rb_garm_count_u_40"))->click();
        QCOMPARE(int(form.Signal().Switches.HarmCountU), 40);
    }

    void RestoreAsksFirst() {
        TForm2& form = Window();
        TypeOver(QStringLiteral("100"));
        Press(Qt::Key_Return);
        auto* restore = form.findChild<QToolButton*>(QStringLiteral("SpeedButtonSetDefaultU"));
        const QString question = QStringLiteral("Задать все параметры на данной закладке номинальными значениями?");
        {
            uitest::TMessageLog no("btnCancel");
            restore->click();
            QCOMPARE(no.Texts, QStringList{question});
            QCOMPARE(no.WithNo, QList<bool>{true});
            QCOMPARE(Shown(form, "e_dey_znach_u_a"), QStringLiteral("100.000"));
        }
        uitest::TMessageLog yes("btnOk");
        restore->click();
        QCOMPARE(yes.Texts, QStringList{question});
        QCOMPARE(Shown(form, "e_dey_znach_u_a"), QStringLiteral("220.000"));
        QCOMPARE(Shown(form, "e_otcl_u_a"), QStringLiteral("0.000"));
    }

    void CurrentPageChainRangeAndFormat() {
        TForm2& form = Window("e_dey_znach_i_a", "Ток");
        QCOMPARE(Shown(form, "e_dey_znach_i_a"), QStringLiteral("5.0000"));
        TypeOver(QStringLiteral("4"));
        Press(Qt::Key_Return);
        QCOMPARE(Shown(form, "e_otcl_i_a"), QStringLiteral("-20.000"));
        QCOMPARE(Shown(form, "e_rms_i_n"), Expected(form, "e_rms_i_n"));
        for (const char* next : {"e_dey_znach_i_c", "e_otcl_i_a", "e_otcl_i_b", "e_otcl_i_c", "e_ugol_i_a",
                                 "e_ugol_i_b", "e_ugol_i_c", "e_dey_znach_i_a"}) {
            Press(Qt::Key_Return);
            QCOMPARE(FocusName(), QString::fromLatin1(next));
        }
        TypeOver(QStringLiteral("-1"));
        Press(Qt::Key_Escape);
        QCOMPARE(Shown(form, "e_dey_znach_i_a"), QStringLiteral("4.0000"));
        auto* range = form.findChild<QComboBox*>(QStringLiteral("cb_naminal_i"));
        range->setFocus();
        QTest::keyClick(range, Qt::Key_Up);
        QCOMPARE(range->currentText(), QStringLiteral("1.0"));
        QCOMPARE(Shown(form, "e_dey_znach_i_a"), QStringLiteral("0.80000"));
        QCOMPARE(Shown(form, "e_otcl_i_a"), QStringLiteral("-20.000"));
    }

    void ConverterAutomaticModeLocksTheCurrentValues() {
        TForm2& form = Window("e_otcl_i_b", "Ток");
        form.FillTabs(1, true);
        form.findChild<QWidget*>(QStringLiteral("e_otcl_i_b"))->setFocus();
        {
            uitest::TMessageLog messages;
            QTest::keyClick(uitest::WaitForFocus(), Qt::Key_7);
            QTest::keyClick(uitest::WaitForFocus(), Qt::Key_Backspace);
            QCOMPARE(messages.Texts,
                     QStringList(2, QStringLiteral("Значение поля, доступно только для чтения!\r\n Т.к. "
                                                   "установлен автоматический режим работы с "
                                                   "преобразователем тока в напряжение.")));
        }
        QCOMPARE(Shown(form, "e_otcl_i_b"), QStringLiteral("0.000"));
        Press(Qt::Key_Tab);
        QCOMPARE(FocusName(), QStringLiteral("e_ugol_i_b"));
        // The angles stay editable; without the converter page the values are too.
        form.findChild<QWidget*>(QStringLiteral("e_ugol_i_a"))->setFocus();
        TypeOver(QStringLiteral("10"));
        Press(Qt::Key_Tab);
        QCOMPARE(double(form.Signal().Current.PhiUIA), 10.0);
        form.FillTabs(1, false);
        form.findChild<QWidget*>(QStringLiteral("e_otcl_i_b"))->setFocus();
        TypeOver(QStringLiteral("10"));
        Press(Qt::Key_Tab);
        QCOMPARE(double(form.Signal().Current.IB), 5.5);
    }

    void ThreeWireChecksItsSwitchesAndAsks() {
        TForm2& form = Window("e_dey_znach_i_a", "Ток");
        TypeOver(QStringLiteral("3"));
        Press(Qt::Key_Tab);
        auto* threeWire = form.findChild<QToolButton*>(QStringLiteral("SpeedButtonCalc3f3pr"));
        auto* switchC = form.findChild<QCheckBox*>(QStringLiteral("cb_Include_I_C"));
        switchC->click();
        {
            uitest::TMessageLog refused;
            threeWire->click();
            QCOMPARE(refused.Texts, QStringList{QStringLiteral("Для расчет параметров тока в 3ф-3пр схеме подключения "
                                                               "необходимо включить в сигнал ток основной частоты по "
                                                               "фазам A, B, C")});
            QCOMPARE(refused.WithNo, QList<bool>{false});
        }
        switchC->click();
        const QString question = QStringLiteral(
            "Расчет для 3ф-3пр схемы подключения. \r\nПерерассчитать параметры тока фазы B так, чтобы ток нейтрали "
            "стал равным нулю?");
        {
            uitest::TMessageLog no("btnCancel");
            threeWire->click();
            QCOMPARE(no.Texts, QStringList{question});
            QCOMPARE(Shown(form, "e_dey_znach_i_b"), QStringLiteral("5.0000"));
        }
        uitest::TMessageLog yes("btnOk");
        threeWire->click();
        QCOMPARE(yes.Texts, QStringList{question});
        QCOMPARE(Shown(form, "e_dey_znach_i_b"), Expected(form, "e_dey_znach_i_b"));
        QVERIFY(Shown(form, "e_dey_znach_i_b") != QStringLiteral("5.0000"));
        QCOMPARE(Shown(form, "e_rms_i_n"), QStringLiteral("0.0000"));
    }

    void AnOpenedFileIsShownAtOnce() {
        TForm2& form = *main_->NewWindow();
        QVERIFY(form.LoadSignal(files::sfAll, TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa"));
        for (const edit::TFieldRow& row : edit::FieldRows()) {
            const QString name = QString::fromUtf8(row.Name.data(), row.Name.size());
            QCOMPARE(Shown(form, qPrintable(name)), Expected(form, qPrintable(name)));
        }
        QCOMPARE(form.findChild<QCheckBox*>(QStringLiteral("cb_Include_U_A"))->isChecked(),
                 form.Signal().Switches.UOnA);
    }
};

QTEST_MAIN(FundamentalPagesTest)
#include "FundamentalPagesTest.moc"
