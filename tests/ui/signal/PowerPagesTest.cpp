#include <QApplication>
#include <QBarSet>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "CommonUtils/Format.h"
#include "DialogDriver.h"
#include "FieldDriver.h"
#include "SignalWindowFixture.h"
#include "TempFolder.h"
#include "editor/ChartRules.h"
#include "editor/HarmonicRules.h"
#include "editor/SignalFields.h"
#include "export/ExportColumn.h"
#include "files/SignalFile.h"
#include "ui/charts/BarChartPanel.h"
#include "ui/charts/WindowCharts.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

using ui::TForm2;
using uitest::Expected;
using uitest::FocusName;
using uitest::Press;
using uitest::Shown;
using uitest::TypeOver;

namespace {

QString Real(const char* format, sig::real x) { return QString::fromStdString(cmn::Format(format, x)); }

void Choose(QComboBox* box, int key) {
    box->setFocus();
    QTest::keyClick(box, static_cast<Qt::Key>(key));
}

}  // namespace

class PowerPagesTest : public uitest::TSignalWindowFixture {
    Q_OBJECT

    void Walk(std::initializer_list<const char*> chain) {
        for (const char* next : chain) {
            Press(Qt::Key_Return);
            QCOMPARE(FocusName(), QString::fromLatin1(next));
        }
    }

private Q_SLOTS:
    void SinglePhaseEditsTheChosenPhase() {
        TForm2& form = Window("Фаза");
        QCOMPARE(FocusName(), QStringLiteral("cb_faza"));
        Choose(form.findChild<QComboBox*>(QStringLiteral("cb_faza")), Qt::Key_Down);
        form.findChild<QWidget*>(QStringLiteral("e_dey_znach_u_one_faza"))->setFocus();
        TypeOver(QStringLiteral("230"));
        Press(Qt::Key_Return);
        QCOMPARE(FocusName(), QStringLiteral("e_one_faza_u_otcl"));
        QCOMPARE(double(form.Signal().Voltage.UB), 230.0);
        QCOMPARE(double(form.Signal().Voltage.UA), 220.0);
        QCOMPARE(Shown(form, "e_one_faza_u_otcl"), QStringLiteral("4.545"));
        QCOMPARE(Shown(form, "e_all_one_faza"), QStringLiteral("1150.000"));
        Walk({"e_dey_znach_i_one_faza", "e_one_faza_i_otcl", "e_dey_znach_u_one_faza"});

        form.findChild<QWidget*>(QStringLiteral("e_angle"))->setFocus();
        TypeOver(QStringLiteral("190"));
        Walk({"e_dey_znach_u_one_faza"});
        QCOMPARE(double(form.Signal().Current.PhiUIB), -170.0);
        QCOMPARE(Shown(form, "e_angle"), QStringLiteral("-170.000°"));
        QCOMPARE(Shown(form, "e_cos_angle"), Expected(form, "e_cos_angle", sig::fzB));
        QCOMPARE(Shown(form, "e_reactive_one_faza"), QStringLiteral("-199.695"));

        form.findChild<QWidget*>(QStringLiteral("e_one_power_rate"))->setFocus();
        Walk({"cb_faza"});
        // Phase A shows its own values and harmonics again.
        form.Signal().Voltage.Garmonik.a.Koef[2] = 4;
        auto* table = form.findChild<QListWidget*>(QStringLiteral("ListBox3"));
        QVERIFY(table->item(0)->text() != QString::fromStdString(edit::MadeList_Power(form.Signal(), 0).Rows[0]));
        Choose(form.findChild<QComboBox*>(QStringLiteral("cb_faza")), Qt::Key_Up);
        QCOMPARE(Shown(form, "e_dey_znach_u_one_faza"), QStringLiteral("220.000"));
        QCOMPARE(Shown(form, "e_angle"), QStringLiteral("0.000°"));
        QCOMPARE(table->item(0)->text(), QString::fromStdString(edit::MadeList_Power(form.Signal(), 0).Rows[0]));
    }

    void SinglePhaseRefusalAndRange() {
        TForm2& form = Window("Фаза");
        form.findChild<QWidget*>(QStringLiteral("e_one_faza_u_otcl"))->setFocus();
        uitest::TMessageLog messages;
        TypeOver(QStringLiteral("-150"));
        Press(Qt::Key_Tab);
        QTRY_COMPARE(messages.Texts, QStringList{QStringLiteral("Выход за пределы диапазона! Повторите ввод!")});
        QTRY_COMPARE(FocusName(), QStringLiteral("e_one_faza_u_otcl"));
        QCOMPARE(Shown(form, "e_one_faza_u_otcl"), QStringLiteral("-150"));
        QCOMPARE(double(form.Signal().Voltage.UA), 220.0);
        TypeOver(QStringLiteral("5"));
        Press(Qt::Key_Return);

        Choose(form.findChild<QComboBox*>(QStringLiteral("cb_out_volltage")), Qt::Key_Up);
        QCOMPARE(Shown(form, "e_dey_znach_u_one_faza"), QStringLiteral("60.622"));
        QCOMPARE(Shown(form, "e_all_one_faza"), Real("%2.3f", form.Signal().Voltage.UA * 5));
        Choose(form.findChild<QComboBox*>(QStringLiteral("cb_out_current")), Qt::Key_Up);
        QCOMPARE(Shown(form, "e_dey_znach_i_one_faza"), QStringLiteral("1.00000"));
    }

    void ThreePhaseChainsAndPowerTable() {
        TForm2& form = Window("Фазы (А, В, С)");
        QCOMPARE(FocusName(), QStringLiteral("cb_voltage_three_faza"));
        form.findChild<QWidget*>(QStringLiteral("e_dey_znach_u_faza_a"))->setFocus();
        TypeOver(QStringLiteral("110"));
        Walk({"e_otcl_u_faza_a", "e_dey_znach_u_faza_b", "e_otcl_u_faza_b", "e_ugol_u_faza_b", "e_dey_znach_u_faza_c",
              "e_otcl_u_faza_c", "e_ugol_u_faza_c", "e_dey_znach_u_faza_a"});
        QCOMPARE(Shown(form, "e_otcl_u_faza_a"), QStringLiteral("-50.000"));
        QCOMPARE(Shown(form, "e_all_faza_a"), QStringLiteral("550.000"));
        QCOMPARE(Shown(form, "e_summa_all_power"), QStringLiteral("2750.000"));
        QCOMPARE(Shown(form, "e_s1_one"), Expected(form, "e_s1_one"));

        form.findChild<QWidget*>(QStringLiteral("e_dey_znach_i_faza_a"))->setFocus();
        Walk({"e_otcl_i_faza_a", "e_ugol_i_faza_a"});
        TypeOver(QStringLiteral("60"));
        Walk({"e_dey_znach_i_faza_b", "e_otcl_i_faza_b", "e_ugol_i_faza_b", "e_dey_znach_i_faza_c", "e_otcl_i_faza_c",
              "e_ugol_i_faza_c", "e_dey_znach_i_faza_a"});
        QCOMPARE(Shown(form, "e_active_faza_a"), QStringLiteral("275.000"));
        form.findChild<QWidget*>(QStringLiteral("e_three_power_rate_1"))->setFocus();
        Walk({"cb_voltage_three_faza"});
        form.findChild<QWidget*>(QStringLiteral("e_Dlit_Imp"))->setFocus();
        TypeOver(QStringLiteral("36.9"));
        Walk({"e_dey_znach_i_faza_a"});
        QCOMPARE(Shown(form, "e_Dlit_Imp"), QStringLiteral("36"));
        QCOMPARE(Shown(form, "Edit29"), Real("%2.3f", 0.01L * form.Signal().ShownPowers.PSum));
    }

    void PowerModesAndEnergyCounting() {
        TForm2& form = Window("Фазы (А, В, С)");
        auto* heading = form.findChild<QLabel*>(QStringLiteral("st_Name"));
        auto* start = form.findChild<QToolButton*>(QStringLiteral("sb_start_cal_energy"));
        QCOMPARE(heading->text(), QStringLiteral("Мощность первой гармоники"));
        QVERIFY(!start->isEnabled());
        form.findChild<QToolButton*>(QStringLiteral("sb_Main_And_Garm_Power"))->click();
        QCOMPARE(heading->text(), QStringLiteral("Мощность всего сигнала"));
        QCOMPARE(form.Signal().ShownPowers.P, form.Signal().FullPowers.P);

        form.findChild<QToolButton*>(QStringLiteral("sb_Main_Energy"))->click();
        QCOMPARE(heading->text(), QStringLiteral("Энергия первой гармоники"));
        QVERIFY(start->isEnabled());
        start->click();
        QTRY_COMPARE_WITH_TIMEOUT(Shown(form, "Edit24"), QStringLiteral(" 3"), 5000);
        form.findChild<QToolButton*>(QStringLiteral("sb_end_cal_energy"))->click();
        const sig::TPowerSummary& shown = form.Signal().ShownPowers;
        QCOMPARE(Shown(form, "e_all_faza_b"), Real("%2.3f", 3.0L / 3600 * shown.S[sig::fzB]));
        QCOMPARE(Shown(form, "e_summa_activ_power"), Real("%2.3f", 3.0L / 3600 * shown.PSum));
        QTest::qWait(1300);
        QCOMPARE(Shown(form, "Edit24"), QStringLiteral(" 3"));
    }

    void IeeePageShowsItsRecord() {
        TForm2& form = *main_->NewWindow();
        QVERIFY(form.LoadSignal(files::sfAll, TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa"));
        form.SelectTab(form.FindTab("IEEE STD 1459"));
        for (const edit::TFieldRow& row : edit::FieldRows()) {
            if (row.Page != "page_IEEE_1459") continue;
            QCOMPARE(Shown(form, row.Name.data()), Expected(form, row.Name.data()));
        }
        QVERIFY(Shown(form, "e_Sha_1459") != QStringLiteral("0.000"));
        QCOMPARE(form.findChild<QWidget*>(QStringLiteral("e_Dia_1459"))->toolTip(),
                 QStringLiteral("Мощность искажений тока по фазе A"));
    }

    // The power chart shows the single-phase table of the chosen phase.
    void PowerChartFollowsThePhaseTable() {
        TForm2& form = *main_->NewWindow();
        QVERIFY(form.LoadSignal(files::sfAll, TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa"));
        form.SelectTab(form.FindTab("Фаза"));
        const ui::TBarChartPanel& bars = form.Charts().Bars(edit::BarChart::Power);
        const sig::TSignalSet& s = form.Signal();
        QCOMPARE(bars.Set(0).at(3), double(s.Voltage.Garmonik.Faza(0).Koef[3]));
        QCOMPARE(bars.Set(1).at(5), double(s.Current.Garmonik.Faza(0).Koef[5]));
        QVERIFY(bars.Set(2).at(3) != 0);
        QCOMPARE(bars.Set(2).at(4), 0.0);
    }

    // New calibration coefficients realise the frequency the field shows,
    // as if the user had left it, and every page shows the result.
    void CalibrationCoefficientsTakeTheFrequencyFieldOver() {
        TForm2& form = Window("Фазы (А, В, С)");
        auto* frequency = form.findChild<QLineEdit*>(QStringLiteral("e_rate_u"));
        frequency->setText(QStringLiteral("55"));
        sig::TCorrectionRecord correction{};
        correction[sig::kCorrectionCount - 1] = 0.5;
        form.ApplyCalibrationCoefs(correction);
        QVERIFY(std::abs(double(form.Signal().Voltage.Freq) - 55) < 0.01);
        QCOMPARE(Shown(form, "e_rate_u"), Expected(form, "e_rate_u"));
        QCOMPARE(Shown(form, "e_three_power_rate_1"), Expected(form, "e_rate_u"));
        QCOMPARE(Shown(form, "e_one_power_rate"), Expected(form, "e_rate_u"));
    }

    // The export writes the same quantities from its own row table; each
    // page field shows the value of its export row.
    void PagesShowWhatTheExportWrites() {
        TForm2& form = *main_->NewWindow();
        QVERIFY(form.LoadSignal(files::sfAll, TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa"));
        form.findChild<QToolButton*>(QStringLiteral("sb_Main_And_Garm_Power"))->click();
        xls::TExportColumn column;
        xls::FillExportColumn(form.Signal(), column);
        const std::pair<const char*, int> rows[]{
            {"e_dey_znach_u_c", 2},
            {"e_rms_u_ab", 9},
            {"e_u1_faza", 12},
            {"e_rate_u", 14},
            {"e_k2u", 15},
            {"e_ku_b", 116},
            {"e_dey_znach_i_b", 762},
            {"e_rms_i_n", 768},
            {"e_ki_c", 967},
            {"e_ugol_i_c", 1264},
            {"e_otcl_u_b", 1370},
            {"e_phi_ui1", 1390},
            {"e_i2", 1405},
            {"e_active_faza_b", 1409},
            {"e_summa_reactiv_power", 1415},
            {"e_all_faza_c", 1418},
            {"e_p1_one", 1421},
            {"e_q0_one", 1423},
            {"e_s2_three", 3066},
            {"e_Se_4p_1459", 2995},
            {"e_K1_1459", 2999},
            {"e_Dic_1459", 3002},
            {"e_Snb_1459", 3010},
            {"e_Dha_1459", 3015},
            {"e_Dei_3p_1459", 3019},
            {"e_Ph_1459", 3026},
            {"e_LU_3p_1459", 3032},
        };
        for (const auto& [name, row] : rows) {
            const double value = std::get<double>(column[row]);
            QString text = Real("%2.3f", value);
            if (edit::FieldByName(name) && edit::FieldByName(name)->Format.empty()) text = Real("%2.4f", value);
            if (edit::FieldByName(name) && edit::FieldByName(name)->Angle) text += QStringLiteral("°");
            QCOMPARE(Shown(form, name), text);
        }
    }
};

QTEST_MAIN(PowerPagesTest)
#include "PowerPagesTest.moc"
