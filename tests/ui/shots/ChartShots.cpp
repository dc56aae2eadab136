// Every chart of the signal window as PNG files for review:
// <folder>/chart-<example>-<chart>.png, for the example files and for a signal with every harmonic
// and interharmonic set.
#include <QApplication>
#include <QBarSet>
#include <QDir>
#include <QMdiSubWindow>
#include <string>

#include "TestSignals.h"
#include "signal/Recalculate.h"
#include "ui/charts/BarChartPanel.h"
#include "ui/charts/CheckList.h"
#include "ui/charts/VectorChart.h"
#include "ui/charts/WaveChart.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/MessageDialog.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

void SaveChartShots(ui::TfmMain& main, const QString& into);

namespace {

QString folder;

void Save(QWidget& widget, const QString& name) {
    widget.grab().save(QDir(folder).filePath(QStringLiteral("chart-") + name + QStringLiteral(".png")));
}

// A chart no page holds yet, shown on its own at a size a page would give it.
void SaveAlone(QWidget& widget, const QString& name, QSize size) {
    widget.resize(size);
    widget.show();
    QApplication::processEvents();
    Save(widget, name);
    widget.hide();
}

void CheckAll(ui::TCheckList& list) {
    for (int i = 0; i < list.Count(); ++i) list.SetChecked(i, true);
}

void SaveAll(ui::TForm2& form, const QString& prefix) {
    ui::TWindowCharts& charts = form.Charts();
    for (auto kind : {edit::BarChart::Voltage, edit::BarChart::Current, edit::BarChart::Power})
        CheckAll(charts.Bars(kind).List());
    CheckAll(charts.WavePage().List());
    charts.ShowPowerBars(edit::MadeList_Power(form.Signal(), 0));
    for (const char* tab : {"Напряжение", "Ток", "Графики напряжения и тока"}) {
        form.SelectTab(form.FindTab(tab));
        QApplication::processEvents();
        Save(form, prefix + QStringLiteral("-page-") + QString::number(form.FindTab(tab) + 1));
    }
    SaveAlone(charts.Bars(edit::BarChart::Power), prefix + QStringLiteral("-Chart3"), {520, 420});
    SaveAlone(charts.VoltageVectors(), prefix + QStringLiteral("-Chart5"), {420, 400});
    SaveAlone(charts.VoltageWaves(), prefix + QStringLiteral("-Chart7"), {520, 360});
    SaveAlone(charts.CurrentWaves(), prefix + QStringLiteral("-Chart8"), {520, 360});
    SaveAlone(charts.CurrentVectors(), prefix + QStringLiteral("-Chart9"), {420, 400});
    SaveAlone(charts.PowerVectors(), prefix + QStringLiteral("-Chart10"), {420, 430});
    CheckAll(charts.Bars(edit::BarChart::Converter).List());
    charts.Show_Chart_i_iu();
    SaveAlone(charts.Bars(edit::BarChart::Converter), prefix + QStringLiteral("-Chart11"), {520, 380});
    charts.ShowConverterDiagram(edit::CurrentPhasors(form.Signal().Current));
    SaveAlone(charts.ConverterVectors(), prefix + QStringLiteral("-Chart12"), {420, 400});
    SaveAlone(charts.ConverterWaves(), prefix + QStringLiteral("-Chart13"), {520, 360});
}

// The message a click on a bar shows.
void SavePointMessage(ui::TForm2& form) {
    ui::TBarChartPanel& bars = form.Charts().Bars(edit::BarChart::Voltage);
    ui::TfmMsg message(QString::fromStdString(edit::BarPointMessage("Ua", 5, bars.Set(0).at(5))),
                       edit::BarChartLook(edit::BarChart::Voltage).PointKind, cmn::Buttons::Ok);
    message.show();
    QApplication::processEvents();
    Save(message, QStringLiteral("point-message"));
}

}  // namespace

void SaveChartShots(ui::TfmMain& main, const QString& into) {
    folder = into;
    main.resize(1280, 800);
    for (const char* example : {"balanced-nominal", "harmonics-dips-flicker"}) {
        ui::TForm2* form = main.OpenFile(files::sfAll, std::string(TALVO_SOURCE_DIR "/examples/") + example + ".usa");
        form->parentWidget()->showMaximized();
        SaveAll(*form, QString::fromLatin1(example));
        SavePointMessage(*form);
    }
    ui::TForm2* rich = main.NewWindow();
    rich->parentWidget()->showMaximized();
    talvo_test::AddRichSpectrum(rich->Signal());
    rich->Signal().Switches.IncludeInterGarm = true;
    rich->Recalculate();
    rich->Charts().ShowAll();
    SaveAll(*rich, QStringLiteral("every-harmonic"));
}
