#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "DialogDriver.h"
#include "FieldDriver.h"
#include "SignalWindowFixture.h"
#include "TempFolder.h"
#include "editor/DipsAndFluctuations.h"
#include "editor/SignalFields.h"
#include "files/SignalFile.h"
#include "signal/Nominals.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

using ui::TForm2;
using uitest::Expected;
using uitest::FocusName;
using uitest::Press;
using uitest::Shown;
using uitest::TypeOver;

namespace {

// On the button's mark: a radio button takes clicks on its mark and caption only.
void Click(QRadioButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

bool Silver(QWidget* control) { return control->palette().color(QPalette::Base) == QColor(0xC0, 0xC0, 0xC0); }

}  // namespace

class DipsFluctuationsPagesTest : public uitest::TSignalWindowFixture {
    Q_OBJECT

    template <class T>
    T* Find(TForm2& form, const char* name) {
        return form.findChild<T*>(QString::fromLatin1(name));
    }

private Q_SLOTS:
    void DipCommonFieldsChainAndRefuse() {
        TForm2& form = Window("Провалы и перенапряжения");
        QTRY_COMPARE(FocusName(), QStringLiteral("Edit3"));
        QCOMPARE(Shown(form, "Edit3"), QStringLiteral("0"));
        TypeOver(QStringLiteral("5"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("Edit4"));
        QCOMPARE(form.Signal().Collapses.Count, 5);
        TypeOver(QStringLiteral("700"));
        {
            uitest::TMessageLog messages;
            Press(Qt::Key_Tab);
            QTRY_COMPARE(messages.Texts,
                         QStringList{QStringLiteral("Выход за границы диапазона (от 0 до 600 сек.) Повторите ввод!")});
            QTRY_COMPARE(FocusName(), QStringLiteral("Edit4"));
        }
        QCOMPARE(Shown(form, "Edit4"), QStringLiteral("700"));
        QCOMPARE(double(form.Signal().Collapses.Duration), 0.0);
        TypeOver(QStringLiteral("1"));
        for (const char* next : {"Edit5", "Edit6"}) {
            Press(Qt::Key_Return);
            QCOMPARE(FocusName(), QString::fromLatin1(next));
        }
        QCOMPARE(Shown(form, "Edit4"), QStringLiteral("1.000"));
        TypeOver(QStringLiteral("190.4°"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("Edit3"));
        QCOMPARE(Shown(form, "Edit6"), QStringLiteral("-170°"));
    }

    void DipOrSwellChoosesTheFieldsInUse() {
        TForm2& form = Window("Провалы и перенапряжения");
        QVERIFY(Find<QRadioButton>(form, "rb_proval_b")->isChecked());
        QVERIFY(Find<QWidget>(form, "e_proval_b")->isEnabled());
        QVERIFY(!Find<QWidget>(form, "e_perenapr_b")->isEnabled());
        QVERIFY(Silver(Find<QWidget>(form, "e_perenapr_b")));
        QVERIFY(!Silver(Find<QWidget>(form, "e_proval_b")));
        QCOMPARE(Shown(form, "e_ost_u_a"), QStringLiteral("220.000"));

        Click(Find<QRadioButton>(form, "rb_perenapr_b"));
        QCOMPARE(int(form.Signal().Collapses.Faza[1].Kind), int(sig::ckSwell));
        QVERIFY(!Find<QWidget>(form, "e_proval_b")->isEnabled());
        QVERIFY(!Find<QWidget>(form, "e_ost_u_b")->isEnabled());
        QVERIFY(Find<QWidget>(form, "e_perenapr_b")->isEnabled());
        QVERIFY(Find<QWidget>(form, "e_max_u_b")->isEnabled());
        QVERIFY(Silver(Find<QWidget>(form, "e_proval_b")));

        Find<QWidget>(form, "e_proval_a")->setFocus();
        TypeOver(QStringLiteral("30"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("e_perenapr_b"));
        QCOMPARE(Shown(form, "e_ost_u_a"), QStringLiteral("154.000"));
        {
            uitest::TMessageLog messages;
            TypeOver(QStringLiteral("2.5"));
            Press(Qt::Key_Return);
            QTRY_COMPARE(messages.Texts,
                         QStringList{QStringLiteral("Выход за границы диапазона (от 1 до 2 )! Повторите ввод!")});
            QTRY_COMPARE(FocusName(), QStringLiteral("e_perenapr_b"));
        }
        TypeOver(QStringLiteral("1.5"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("e_proval_c"));
        QCOMPARE(Shown(form, "e_max_u_b"), QStringLiteral("330.000"));
        QCOMPARE(Shown(form, "e_collapse_kind_bc"), Expected(form, "e_collapse_kind_bc"));
    }

    void BindingShowsItsWarning() {
        TForm2& form = Window("Провалы и перенапряжения");
        auto* align = Find<QComboBox>(form, "cbCollapseAlign");
        auto* warning = Find<QPlainTextEdit>(form, "meCollapseAlignWarning");
        QCOMPARE(align->currentText(), QStringLiteral("к периоду"));
        QVERIFY(!warning->isVisible());
        align->setFocus();
        QTest::keyClick(align, Qt::Key_Down);
        QCOMPARE(align->currentText(), QStringLiteral("к полупериоду"));
        QCOMPARE(int(form.Signal().Collapses.Binding), 1);
        QVERIFY(warning->isVisible());
        QTest::keyClick(align, Qt::Key_Up);
        QVERIFY(!warning->isVisible());

        auto* reference = Find<QComboBox>(form, "cbReferenceVoltage");
        QCOMPARE(reference->currentText(), QStringLiteral("Номинальное"));
        reference->setFocus();
        QTest::keyClick(reference, Qt::Key_Down);
        QCOMPARE(int(form.Signal().Collapses.RefKind), 1);
    }

    void FluctuationFieldsChainRefuseAndDose() {
        TForm2& form = Window("Колебания напряжения");
        QTRY_COMPARE(FocusName(), QStringLiteral("EditKolebFreq"));
        QCOMPARE(Shown(form, "EditKolebFreq"), QStringLiteral("1.000"));
        QCOMPARE(Shown(form, "EditDurationKolebSignal"), QStringLiteral("09:06:07.000"));
        TypeOver(QStringLiteral("0.0082"));
        {
            uitest::TMessageLog messages;
            Press(Qt::Key_Return);
            QTRY_COMPARE(
                messages.Texts,
                QStringList{QStringLiteral("Выход за границы диапазона (от 0.0083 до 24.0000Гц)! Повторите ввод!")});
            QTRY_COMPARE(FocusName(), QStringLiteral("EditKolebFreq"));
        }
        QCOMPARE(double(form.Signal().Koleb.Freq), 1.0);
        TypeOver(QStringLiteral("8.8"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("EditKolebAmplA"));
        QCOMPARE(Shown(form, "EditKolebNum"), QStringLiteral("1056.000"));
        TypeOver(QStringLiteral("0.28143"));
        for (const char* next : {"EditKolebAmplB", "EditKolebAmplC", "EditKolebFreq"}) {
            Press(Qt::Key_Return);
            QCOMPARE(FocusName(), QString::fromLatin1(next));
        }
        QCOMPARE(Shown(form, "EditPstA"), QStringLiteral("1.000"));
        QCOMPARE(Shown(form, "EditKolebAmplAB"), Expected(form, "EditKolebAmplAB"));
        QCOMPARE(Shown(form, "EditDurationKolebSignal"),
                 QString::fromStdString(edit::KolebDurationText(form.Signal().Koleb.PeriodCode)));

        Find<QWidget>(form, "EditKolebNum")->setFocus();
        TypeOver(QStringLiteral("120"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("EditKolebAmplA"));
        QCOMPARE(Shown(form, "EditKolebFreq"), QStringLiteral("1.000"));
    }

    void FlickerStandardReplacesTheTable() {
        TForm2& form = Window("Колебания напряжения");
        auto* gost99 = Find<QRadioButton>(form, "rbFlikerGost99");
        auto* gost2012 = Find<QRadioButton>(form, "rbFlikerGost2012");
        QVERIFY(gost99->isChecked());
        QVERIFY(gost99->isEnabled() && gost2012->isEnabled());
        Click(gost2012);
        QVERIFY(qAbs(double(sig::FlickerTable().Snapshot().FirstFreq()) - 2.0 / 120) < 1e-12);
        QCOMPARE(Shown(form, "EditPstA"), Expected(form, "EditPstA"));
        Click(gost99);
        QCOMPARE(double(sig::FlickerTable().Snapshot().LastFreq()), 24.0);
    }

    void ALoadedFileShowsItsEventsAndChoices() {
        TForm2& form = *main_->NewWindow();
        QVERIFY(form.LoadSignal(files::sfAll, TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa"));
        // The fields of every page are compared with the records beside the fundamental pages.
        const sig::TSignalSet& s = form.Signal();
        QVERIFY(s.Collapses.Count > 0);
        QCOMPARE(Shown(form, "Edit3"), QString::number(s.Collapses.Count));
        QCOMPARE(Shown(form, "EditKolebAmplA"), Expected(form, "EditKolebAmplA"));
        for (int p = 0; p < 3; ++p) {
            const bool dip = s.Collapses.Faza[p].Kind == sig::ckDip;
            const char* dips[3]{"rb_proval_a", "rb_proval_b", "rb_proval_c"};
            QCOMPARE(Find<QRadioButton>(form, dips[p])->isChecked(), dip);
        }
        QCOMPARE(Find<QComboBox>(form, "cbCollapseAlign")->currentIndex(),
                 edit::CollapseAlignIndex(s.Collapses.Binding));
        QCOMPARE(Find<QComboBox>(form, "cbReferenceVoltage")->currentIndex(),
                 edit::ReferenceVoltageIndex(s.Collapses.RefKind));
    }
};

QTEST_MAIN(DipsFluctuationsPagesTest)
#include "DipsFluctuationsPagesTest.moc"
