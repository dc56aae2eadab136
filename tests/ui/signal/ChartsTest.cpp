#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>
#include <cmath>
#include <filesystem>
#include <memory>

#include "DialogDriver.h"
#include "TempFolder.h"
#include "editor/ChartRules.h"
#include "files/IniFile.h"
#include "signal/Helpers.h"
#include "signal/Waveform.h"
#include "ui/charts/BarChartPanel.h"
#include "ui/charts/CheckList.h"
#include "ui/charts/VectorChart.h"
#include "ui/charts/WaveChart.h"
#include "ui/charts/WindowCharts.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

using ui::TForm2;

namespace {

const std::string kExample = TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa";

// The example with every chart series off, as a new window shows them: each
// test switches on what it looks at.
std::string ExampleWithoutSeries(const talvo_test::TempFolder& folder) {
    const std::string path = folder / "example.usa";
    std::filesystem::copy_file(kExample, path, std::filesystem::copy_options::overwrite_existing);
    files::IniFile ini(path);
    const std::pair<const char*, int> lists[]{{"Отображаемые фазы напряжения", 6},
                                              {"Отображаемые фазы тока", 3},
                                              {"Отображаемые фазы мощности", 5},
                                              {"Отображаемые фазы графиков тока и напряжения", 9}};
    for (const auto& [section, count] : lists)
        for (int i = 1; i <= count; ++i) ini.WriteBool(section, std::to_string(i) + "-я", false);
    ini.UpdateFile();
    return path;
}

template <class T>
T& Find(QWidget& form, const char* name) {
    T* found = form.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return *found;
}

// Clicks the item of a display list as a user does.
void ClickItem(QWidget& form, const char* list, int row) {
    auto& box = Find<QListWidget>(form, list);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.visualItemRect(box.item(row)).center());
}

void TypeInto(QLineEdit& field, const QString& text) {
    field.setFocus();
    field.selectAll();
    QTest::keyClicks(&field, text);
}

double Phase(const sig::TSignalSet& s, int series, int i) {
    const int n = s.Grid.SamplesPerPeriod;
    const bool inc = s.Switches.IncludeInterGarm;
    if (series >= edit::wsIA) {
        const int p = series - edit::wsIA;
        return double(sig::PhaseWaveform(sig::CurrentWave(s.Current, s.Voltage, p), sig::I(s.Current, p), inc,
                                         sig::IOn(s.Switches, p), n)[i]);
    }
    return double(sig::PhaseWaveform(sig::VoltageWave(s.Voltage, series), sig::U(s.Voltage, series), inc,
                                     sig::UOn(s.Switches, series), n)[i]);
}

}  // namespace

class ChartsTest : public QObject {
    Q_OBJECT
    // The settings folder outlives the main window that writes into it.
    struct TSession {
        talvo_test::TempSettings Settings;
        talvo_test::TempFolder Files;
        ui::TfmMain Main{ui::TMainOptions{}};
    };
    std::unique_ptr<TSession> session_;
    ui::TfmMain* main_ = nullptr;

    TForm2& Open(std::string path = {}) {
        if (path.empty()) path = ExampleWithoutSeries(session_->Files);
        main_ = &session_->Main;
        main_->resize(1200, 800);
        main_->show();
        TForm2* form = main_->OpenFile(files::sfAll, path);
        form->parentWidget()->showMaximized();
        [&] { QVERIFY(QTest::qWaitForWindowActive(main_)); }();
        return *form;
    }

private Q_SLOTS:
    void init() {
        uitest::FailOnWarnings();
        session_ = std::make_unique<TSession>();
    }
    void cleanup() { session_.reset(); }

    void ListClicksSwitchBarsAndWaveforms() {
        TForm2& form = Open();
        ui::TBarChartPanel& bars = form.Charts().Bars(edit::BarChart::Voltage);
        ui::TWaveChart& little = form.Charts().VoltageWaves();
        ClickItem(form, "CheckListBox1", 1);  // the line AB
        QVERIFY(bars.SeriesShown(sig::fzAB));
        QVERIFY(little.Shown(edit::wsUAB));
        QCOMPARE(bars.Chart().series().size(), 1);
        ClickItem(form, "CheckListBox1", 1);
        QVERIFY(!bars.SeriesShown(sig::fzAB));
        QVERIFY(!little.Shown(edit::wsUAB));

        ClickItem(form, "CheckListBox2", 2);
        QVERIFY(form.Charts().Bars(edit::BarChart::Current).SeriesShown(2));
        QVERIFY(form.Charts().CurrentWaves().Shown(edit::wsIC));

        form.SelectTab(form.FindTab("Графики напряжения и тока"));
        ui::TWaveChart& chart = Find<ui::TWaveChart>(form, "Chart4");
        ClickItem(form, "CheckListBox4", 7);
        QVERIFY(chart.Series(edit::wsIB)->isVisible());
        QVERIFY(!chart.Series(edit::wsIA)->isVisible());
        QVERIFY(chart.Series(edit::wsIB)->count() > 0);
    }

    void WaveformPointsAreTheSamples() {
        TForm2& form = Open();
        ui::TWavePage& page = form.Charts().WavePage();
        for (int i = 0; i < 9; ++i) page.List().SetChecked(i, true);
        QSignalSpy status(&form, &TForm2::StatusPosted);
        form.SelectTab(form.FindTab("Графики напряжения и тока"));
        QCOMPARE(status.size(), 2);
        QCOMPARE(status[0][1].toInt(), 1);
        QCOMPARE(status[1][1].toInt(), 2);
        QCOMPARE(status[0][0].toUInt(), 0x1500u);

        const sig::TSignalSet& s = form.Signal();
        const edit::TWaveTiming timing = edit::WaveTiming(s);
        QVERIFY(timing.Samples > 100);
        const int step = page.Chart().Step();
        QVERIFY(step >= 1);
        for (int series : {int(edit::wsUA), int(edit::wsUCA), int(edit::wsIB)}) {
            const QList<QPointF> points = page.Chart().Series(series)->points();
            QCOMPARE(points.size(), (timing.Samples - 1) / step + 1);
            for (int k = 0; k < points.size(); k += 7) {
                const int i = k * step;
                QCOMPARE(points[k].x(), i * timing.Step);
                const double expected = series == edit::wsUCA ? Phase(s, 2, i) - Phase(s, 0, i) : Phase(s, series, i);
                QVERIFY2(std::abs(points[k].y() - expected) < 1e-9, qPrintable(QString::number(k)));
            }
        }
    }

    void BarsAndVectorsShowTheRecords() {
        TForm2& form = Open();
        for (int i = 0; i < 6; ++i) ClickItem(form, "CheckListBox1", i);
        const sig::TSignalSet& s = form.Signal();
        ui::TBarChartPanel& bars = form.Charts().Bars(edit::BarChart::Voltage);
        bool someHarmonic = false;
        for (int slot = 0; slot < 6; ++slot)
            for (int n = 0; n <= 50; ++n) {
                const double stored = n == 0 ? 0 : double(s.Voltage.Garmonik.Faza(slot).Koef[n]);
                QCOMPARE(bars.Set(slot).at(n), stored);
                someHarmonic |= stored != 0;
            }
        QVERIFY(someHarmonic);
        QCOMPARE(form.Charts().Bars(edit::BarChart::Current).Set(1).at(5), double(s.Current.Garmonik.b.Koef[5]));

        // The diagrams draw when their views are shown.
        form.SelectTab(form.FindTab("Напряжение"));
        Find<QToolButton>(form, "sb_view_graf_u").click();
        const auto voltage = form.Charts().VoltageVectors().Ends(0);
        QCOMPARE(int(voltage.size()), 6);
        for (int p = 0; p < 3; ++p) {
            const sig::TPhasor e = sig::PhasorExact(sig::U(s.Voltage, p), sig::Shift(s.Voltage, p));
            QVERIFY(std::abs(voltage[p].x() - double(e.x)) < 1e-9 && std::abs(voltage[p].y() - double(e.y)) < 1e-9);
        }
        form.SelectTab(form.FindTab("Ток"));
        Find<QToolButton>(form, "sb_view_graf_i").click();
        const auto currents = form.Charts().CurrentVectors().Ends(0);
        for (int p = 0; p < 3; ++p) {
            const sig::TPhasor e = sig::PhasorExact(sig::I(s.Current, p), sig::AngleI(s.Current, p));
            QVERIFY(std::abs(currents[p].x() - double(e.x)) < 1e-9 && std::abs(currents[p].y() - double(e.y)) < 1e-9);
        }
        // The voltage axes reach 5 past the longest end.
        double l = 0;
        for (const QPointF& e : voltage) l = std::max({l, std::abs(e.x()), std::abs(e.y())});
        QVERIFY(std::abs(form.Charts().VoltageVectors().Extent() - (l + 5)) < 1e-9);

        form.SelectTab(form.FindTab("Фазы (А, В, С)"));
        ui::TPowerVectorPanel& power = form.Charts().PowerVectors();
        Find<QCheckBox>(power, "cb_enable_voltage").click();
        QVERIFY(std::abs(power.Chart().Extent() - form.Charts().CurrentVectors().Extent()) < 1e-9);
    }

    void BarScaleFieldAndButtons() {
        TForm2& form = Open();
        form.SelectTab(form.FindTab("Напряжение"));
        auto& field = Find<QLineEdit>(form, "e_Zoom");
        auto& out = Find<QToolButton>(form, "sb_Zoom_Out");
        auto& in = Find<QToolButton>(form, "sb_Zoom_In");
        ui::TBarChartPanel& bars = form.Charts().Bars(edit::BarChart::Voltage);
        uitest::TMessageLog messages;
        TypeInto(field, QStringLiteral("0.4"));
        QTest::keyClick(&field, Qt::Key_Return);
        QCOMPARE(bars.Maximum(), 1);
        QCOMPARE(field.text(), QStringLiteral("1"));
        QCOMPARE(field.selectedText(), QStringLiteral("1"));
        in.click();
        QCOMPARE(bars.Maximum(), 1);
        TypeInto(field, QStringLiteral("81"));
        QTest::keyClick(&field, Qt::Key_Return);
        QTRY_COMPARE(messages.Texts, QStringList{QStringLiteral("Выход за границы диапазона! Повторите ввод!")});
        QCOMPARE(bars.Maximum(), 1);
        bars.SetMaximum(119);
        out.click();
        QCOMPARE(field.text(), QStringLiteral("120"));
        out.click();
        QCOMPARE(bars.Maximum(), 120);
        // Leaving the field without Enter shows the axis maximum again.
        QTRY_VERIFY(main_->isActiveWindow());
        TypeInto(field, QStringLiteral("55"));
        Find<QWidget>(form, "e_dey_znach_u_a").setFocus();
        QTRY_COMPARE(field.text(), QStringLiteral("120"));
        QCOMPARE(bars.Maximum(), 120);
        auto* axis = static_cast<QValueAxis*>(bars.Chart().axes(Qt::Vertical).first());
        QCOMPARE(axis->max(), 120.0);
        QCOMPARE(axis->min(), 0.0);
    }

    void WaveAxisFields() {
        TForm2& form = Open();
        form.SelectTab(form.FindTab("Графики напряжения и тока"));
        auto& edit1 = Find<QLineEdit>(form, "Edit1");
        auto& edit2 = Find<QLineEdit>(form, "Edit2");
        ui::TWaveChart& chart = form.Charts().WavePage().Chart();
        uitest::TMessageLog messages;
        TypeInto(edit1, QStringLiteral("1501"));
        QTest::keyClick(&edit1, Qt::Key_Return);
        QTRY_COMPARE(messages.Texts.size(), 1);
        QCOMPARE(messages.Texts[0], QStringLiteral("Выход за границы диапазона (от 0 до 1500 В.) Повторите ввод!"));
        QCOMPARE(chart.AxisY(edit::WaveAxis::Voltage).max(), 600.0);
        TypeInto(edit1, QStringLiteral("1500"));
        QTest::keyClick(&edit1, Qt::Key_Return);
        QCOMPARE(chart.AxisY(edit::WaveAxis::Voltage).min(), -1500.0);
        QCOMPARE(chart.AxisY(edit::WaveAxis::Voltage).max(), 1500.0);
        Find<QToolButton>(form, "SpeedButton6").click();
        QCOMPARE(edit1.text(), QStringLiteral("1500"));
        Find<QToolButton>(form, "SpeedButton5").click();
        QCOMPARE(edit1.text(), QStringLiteral("1499"));
        // The current field takes its value when left as well (once the
        // window is active again after the message boxes).
        QTRY_VERIFY(main_->isActiveWindow());
        TypeInto(edit2, QStringLiteral("12"));
        edit1.setFocus();
        QTRY_COMPARE(messages.Texts.size(), 2);
        QCOMPARE(messages.Texts[1], QStringLiteral("Выход за границы диапазона (от 0 до11 А.)! Повторите ввод!"));
        QTRY_VERIFY(main_->isActiveWindow());
        QTRY_VERIFY(edit2.hasFocus());
        TypeInto(edit2, QStringLiteral("3"));
        edit1.setFocus();
        QTRY_COMPARE(chart.AxisY(edit::WaveAxis::Current).max(), 3.0);
    }

    void PointClicksTellTheValue() {
        TForm2& form = Open();
        form.SelectTab(form.FindTab("Напряжение"));
        ClickItem(form, "CheckListBox1", 0);
        ui::TBarChartPanel& bars = form.Charts().Bars(edit::BarChart::Voltage);
        bars.SetMaximum(120);
        int n = 2;
        while (n < 50 && bars.Set(0).at(n) < 1) ++n;
        QVERIFY(bars.Set(0).at(n) >= 1);
        auto& view = Find<QWidget>(form, "Chart1");
        const QPointF at = bars.Chart().mapToPosition(QPointF(n, 0.5), bars.Chart().series().first());
        uitest::TMessageLog messages;
        QTest::mouseClick(static_cast<QGraphicsView&>(view).viewport(), Qt::LeftButton, {}, at.toPoint());
        QTRY_COMPARE(messages.Texts.size(), 1);
        // The message's lines end with a carriage return; the box shows them as lines.
        QCOMPARE(messages.Texts[0],
                 QString::fromStdString(edit::BarPointMessage("Ua", n, bars.Set(0).at(n))).replace(u'\r', u'\n'));
    }

    void AWaveformPointClickTellsItsTimeAndValue() {
        TForm2& form = Open();
        ui::TWavePage& page = form.Charts().WavePage();
        page.List().SetChecked(6, true);  // the current of phase A
        form.SelectTab(form.FindTab("Графики напряжения и тока"));
        QApplication::processEvents();
        const QLineSeries* series = page.Chart().Series(edit::wsIA);
        const QPointF point = series->at(series->count() / 3);
        const QPointF at = page.Chart().chart()->mapToPosition(point, const_cast<QLineSeries*>(series));
        uitest::TMessageLog messages;
        QTest::mouseClick(page.Chart().viewport(), Qt::LeftButton, {}, page.Chart().mapFromScene(at));
        QTRY_COMPARE(messages.Texts.size(), 1);
        const std::string expected =
            edit::WavePointMessage("Ток фазы A", point.x(), point.y(), true, form.Signal().Current.Nominal);
        QCOMPARE(messages.Texts[0], QString::fromStdString(expected).replace(u'\r', u'\n'));
    }

    void FileStateIsAppliedAndSaved() {
        talvo_test::TempFolder folder;
        const std::string path = folder / "state.usa";
        std::filesystem::copy_file(ExampleWithoutSeries(folder), path);
        {
            files::IniFile ini(path);
            ini.WriteInteger("Масштаб", "Напряжение на графике", 300);
            ini.WriteInteger("Масштаб", "Напряжение", 40);
            ini.WriteBool("Отображаемые фазы графиков тока и напряжения", "8-я", true);
            ini.WriteBool("Отображаемые фазы напряжения", "2-я", true);
            ini.UpdateFile();
        }
        TForm2& form = Open(path);
        ui::TWavePage& page = form.Charts().WavePage();
        QCOMPARE(page.Chart().AxisY(edit::WaveAxis::Voltage).min(), -300.0);
        QCOMPARE(page.Chart().AxisY(edit::WaveAxis::Voltage).max(), 300.0);
        QCOMPARE(Find<QLineEdit>(form, "Edit1").text(), QStringLiteral("300"));
        QCOMPARE(Find<QLineEdit>(form, "e_Zoom").text(), QStringLiteral("40"));
        QVERIFY(page.Chart().Shown(edit::wsIB));
        QVERIFY(form.Charts().Bars(edit::BarChart::Voltage).SeriesShown(sig::fzAB));
        QCOMPARE(form.TabList()[0], std::string("Напряжение"));

        const files::TSignalFileExtras extras = form.Extras();
        QCOMPARE(extras.Display.VoltageAxisMax, 300.0);
        QVERIFY(extras.Display.WaveformPhases[7]);
        QVERIFY(extras.Display.VoltagePhases[1]);
        QVERIFY(!extras.Display.VoltagePhases[0]);
    }
};

QTEST_MAIN(ChartsTest)
#include "ChartsTest.moc"
