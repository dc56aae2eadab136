// The check of a signal through its window: opened from the menu on an
// example file, run on the program's device runner against the stand-in
// calibrator, cancelled, refused while other device work runs, and saved
// as a PDF report with the table's CSV beside it.
#include <QAction>
#include <QBarSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <atomic>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "DialogDriver.h"
#include "TempFolder.h"
#include "measure/VerifyLook.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"
#include "ui/verify/TfmVerify.h"

using ui::TfmMain;
using ui::TfmVerify;

namespace {

const char* const kExample = TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa";

template <class T>
T* Control(QWidget& dialog, const char* name) {
    auto* control = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s", name);
    return control;
}

QString Cell(QTableWidget* table, int row, int column) { return table->item(row, column)->text(); }

// Chooses the action and the flicker observation by their index, presses
// "Проверить" and waits for the check's end; whether it completed.
bool RunCheck(TfmVerify& dialog, int action, int flicker = 0) {
    Control<QComboBox>(dialog, "cbVerifyAction")->setCurrentIndex(action);
    Control<QComboBox>(dialog, "cbFlickerTime")->setCurrentIndex(flicker);
    QSignalSpy ended(&dialog, &TfmVerify::CheckEnded);
    QTest::mouseClick(Control<QPushButton>(dialog, "btnVerify"), Qt::LeftButton);
    if (!ended.wait(120000)) return false;
    return ended.front().front().toBool();
}

// The CSV's quantity rows: the text of each field with its quotes taken off.
std::vector<QStringList> CsvRows(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::vector<QStringList> rows;
    bool table = false;
    while (std::getline(in, line)) {
        if (line.empty()) {
            table = true;
            continue;
        }
        if (!table) continue;
        QStringList fields = QString::fromStdString(line).split(QLatin1Char(';'));
        for (QString& f : fields)
            if (f.startsWith(QLatin1Char('"')))
                f = f.mid(1, f.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace

class VerifyDialogTest : public QObject {
    Q_OBJECT
    std::unique_ptr<talvo_test::TempSettings> settings_;
    std::unique_ptr<TfmMain> main_;

    // The main window with the example file open, as after "Открыть".
    TfmMain& Program(bool withLibrary = true) {
        ui::TMainOptions options;
        if (withLibrary) options.Library = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
        main_ = std::make_unique<TfmMain>(std::move(options));
        main_->show();
        main_->Open(kExample);
        return *main_;
    }

    // Opens "Проверка сигнала" from the menu and acts in it; the dialog is
    // closed afterwards.
    void InDialog(const std::function<void(TfmVerify&)>& act) {
        bool acted = false;
        uitest::OnModal("fmVerify", [&](QDialog& dialog) {
            acted = true;
            act(static_cast<TfmVerify&>(dialog));
            dialog.reject();
        });
        QAction* item = main_->findChild<QAction*>(QStringLiteral("mm_VerifySignal"));
        QVERIFY(item && item->isEnabled());
        item->trigger();
        QVERIFY(acted);
    }

private Q_SLOTS:
    void init() {
        uitest::FailOnWarnings();
        settings_ = std::make_unique<talvo_test::TempSettings>();
    }
    void cleanup() {
        main_.reset();
        settings_.reset();
    }

    void TheTestSignalOfTheExampleIsWithinToleranceRowByRow() {
        Program();
        InDialog([](TfmVerify& dialog) {
            QVERIFY(dialog.windowTitle().endsWith(QStringLiteral("harmonics-dips-flicker.usa")));
            QVERIFY(!Control<QPushButton>(dialog, "btnSaveReport")->isEnabled());
            QVERIFY(!Control<QComboBox>(dialog, "cbFlickerTime")->isEnabled());
            QVERIFY(!Control<QTabWidget>(dialog, "tcVerifyPlots")->isEnabled());
            QVERIFY(RunCheck(dialog, 0));
            auto* table = Control<QTableWidget>(dialog, "sgVerifyTable");
            QVERIFY(table->rowCount() > 30);
            QCOMPARE(table->columnCount(), 7);
            QCOMPARE(table->horizontalHeaderItem(msr::kResultColumn)->text(), QStringLiteral("Результат"));
            QStringList quantities;
            for (int r = 0; r < table->rowCount(); ++r) {
                QCOMPARE(Cell(table, r, msr::kResultColumn), QStringLiteral("в допуске"));
                QVERIFY(Cell(table, r, 4).startsWith(QStringLiteral("±")));
                QVERIFY(!Cell(table, r, 5).isEmpty());
                quantities << Cell(table, r, 0);
            }
            QVERIFY(quantities.front().startsWith(QStringLiteral("Частота по такту калибратора")));
            QVERIFY(!quantities.filter(QStringLiteral("UA")).isEmpty());
            QVERIFY(!quantities.filter(QStringLiteral("IC")).isEmpty());
            QVERIFY(
                Control<QLabel>(dialog, "lbVerifyState")->text().startsWith(QStringLiteral("Все величины в допуске")));
            QCOMPARE(Control<QProgressBar>(dialog, "pbVerify")->value(), 100);
            QVERIFY(Control<QPushButton>(dialog, "btnSaveReport")->isEnabled());

            // The test signal has waveforms and harmonics to plot, no events and no flicker.
            auto* plots = Control<QTabWidget>(dialog, "tcVerifyPlots");
            QVERIFY(plots->isTabVisible(0) && plots->isTabVisible(1));
            QVERIFY(!plots->isTabVisible(2) && !plots->isTabVisible(3));
            QChart* wave = Control<QChartView>(dialog, "chVerifyWaveform")->chart();
            QCOMPARE(wave->series().size(), 2);
            const auto* played = static_cast<QLineSeries*>(wave->series().back());
            QVERIFY(played->count() > 100);
            // A span of five periods at 50 Hz is 100 ms.
            Control<QComboBox>(dialog, "cbWaveSpan")->setCurrentIndex(2);
            wave = Control<QChartView>(dialog, "chVerifyWaveform")->chart();
            QVERIFY(std::abs(static_cast<QLineSeries*>(wave->series().back())->points().back().x() - 100) < 1);
            auto* harmonicChannel = Control<QComboBox>(dialog, "cbHarmonicChannel");
            QVERIFY(harmonicChannel->count() >= 6);
            harmonicChannel->setCurrentIndex(3);
            QChart* bars = Control<QChartView>(dialog, "chVerifyHarmonics")->chart();
            QVERIFY(bars->title().contains(harmonicChannel->currentText()));
            QCOMPARE(static_cast<QBarSeries*>(bars->series().front())->barSets().size(), 2);
        });
    }

    void AQuantityOutOfToleranceIsMarkedAndCounted() {
        // The signal says UA is a volt higher than its tables play: the
        // program's own calculation would be wrong.
        TfmMain& main = Program();
        ui::TForm2* form = main.ActiveSignalWindow();
        form->Recalculate();
        sig::TSignalSet signal = form->Signal();
        signal.Voltage.URmsA += 1;
        auto library = std::make_shared<lnk::TSignalLibrary>(
            lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest()));
        TfmVerify dialog({signal, "Испытательный сигнал: неверный.usa", 1, {}, library}, main.Work(), &main);
        dialog.show();
        QVERIFY(RunCheck(dialog, 0));
        auto* table = Control<QTableWidget>(dialog, "sgVerifyTable");
        const auto found = table->findItems(QStringLiteral("UA действующее, В"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        const int bad = found.front()->row();
        int failed = 0;
        for (int r = 0; r < table->rowCount(); ++r) {
            const bool pass = r != bad;
            QCOMPARE(Cell(table, r, msr::kResultColumn),
                     pass ? QStringLiteral("в допуске") : QStringLiteral("ВНЕ ДОПУСКА"));
            QCOMPARE(table->item(r, 0)->background().color() == Qt::white, pass);
            QCOMPARE(table->item(r, msr::kResultColumn)->font().bold(), !pass);
            failed += pass ? 0 : 1;
        }
        QCOMPARE(failed, 1);
        QVERIFY(std::abs(Cell(table, bad, 3).toDouble() + 1) < 0.05);
        QCOMPARE(Control<QLabel>(dialog, "lbVerifyState")->text(),
                 QStringLiteral("Вне допуска 1 из %1").arg(table->rowCount()));
    }

    void DipsAndFluctuationsPlotWhatTheyMeasure() {
        Program();
        InDialog([](TfmVerify& dialog) {
            auto* plots = Control<QTabWidget>(dialog, "tcVerifyPlots");
            auto* table = Control<QTableWidget>(dialog, "sgVerifyTable");
            QVERIFY(RunCheck(dialog, 1));
            QVERIFY(plots->isTabVisible(3) && !plots->isTabVisible(2));
            QCOMPARE(Control<QChartView>(dialog, "chVerifyHalfCycle")->chart()->series().size(), 6);
            QVERIFY(
                !table->findItems(QStringLiteral("Провал A: остаточное напряжение, В"), Qt::MatchExactly).isEmpty());
            for (int r = 0; r < table->rowCount(); ++r)
                QCOMPARE(Cell(table, r, msr::kResultColumn), QStringLiteral("в допуске"));

            // The flicker observation is offered for fluctuations only; the shorter one is labelled.
            Control<QComboBox>(dialog, "cbVerifyAction")->setCurrentIndex(2);
            QVERIFY(Control<QComboBox>(dialog, "cbFlickerTime")->isEnabled());
            QVERIFY(RunCheck(dialog, 2, 1));
            QVERIFY(plots->isTabVisible(2) && !plots->isTabVisible(3));
            QCOMPARE(Control<QChartView>(dialog, "chVerifyPinst")->chart()->series().size(), 6);
            QVERIFY(!table->findItems(QStringLiteral("(наблюдение 60 с)"), Qt::MatchContains).isEmpty());
            for (int r = 0; r < table->rowCount(); ++r)
                QCOMPARE(Cell(table, r, msr::kResultColumn), QStringLiteral("в допуске"));
        });
    }

    void ALongFluctuationCheckIsCancelled() {
        TfmMain& main = Program();
        InDialog([&main](TfmVerify& dialog) {
            QVERIFY(RunCheck(dialog, 1));
            Control<QComboBox>(dialog, "cbVerifyAction")->setCurrentIndex(2);
            Control<QComboBox>(dialog, "cbFlickerTime")->setCurrentIndex(0);
            QSignalSpy ended(&dialog, &TfmVerify::CheckEnded);
            QTest::mouseClick(Control<QPushButton>(dialog, "btnVerify"), Qt::LeftButton);
            QVERIFY(dialog.Running() && main.Work().Busy());
            QVERIFY(!Control<QPushButton>(dialog, "btnVerify")->isEnabled());
            QVERIFY(!Control<QComboBox>(dialog, "cbVerifyAction")->isEnabled());
            QTest::mouseClick(Control<QPushButton>(dialog, "btnCancelVerify"), Qt::LeftButton);
            QVERIFY(ended.wait(60000));
            QCOMPARE(ended.front().front().toBool(), false);
            QCOMPARE(Control<QLabel>(dialog, "lbVerifyState")->text(), QStringLiteral("Проверка сигнала прервана"));
            // The dips' table of the check before has gone with it.
            QCOMPARE(Control<QTableWidget>(dialog, "sgVerifyTable")->rowCount(), 0);
            QVERIFY(!Control<QTabWidget>(dialog, "tcVerifyPlots")->isEnabled());
            QVERIFY(!main.Work().Busy() && !dialog.Running());
            QVERIFY(Control<QPushButton>(dialog, "btnVerify")->isEnabled());
            QVERIFY(!Control<QPushButton>(dialog, "btnCancelVerify")->isEnabled());
            QVERIFY(!Control<QPushButton>(dialog, "btnSaveReport")->isEnabled());
        });
    }

    void ClosingTheDialogDuringACheckEndsIt() {
        TfmMain& main = Program();
        InDialog([&main](TfmVerify& dialog) {
            Control<QComboBox>(dialog, "cbVerifyAction")->setCurrentIndex(2);
            QTest::mouseClick(Control<QPushButton>(dialog, "btnVerify"), Qt::LeftButton);
            QVERIFY(main.Work().Busy());
        });
        // The dialog has gone; the runner is free again and the next check runs.
        QTRY_VERIFY_WITH_TIMEOUT(!main.Work().Busy(), 60000);
        InDialog([](TfmVerify& dialog) { QVERIFY(RunCheck(dialog, 0)); });
    }

    void AnActionThatFailsIsShownWithItsReason() {
        Program(false);
        InDialog([](TfmVerify& dialog) {
            QVERIFY(!RunCheck(dialog, 0));
            const QString state = Control<QLabel>(dialog, "lbVerifyState")->text();
            // Without the signal library the action stops at its first step.
            QVERIFY2(state.contains(QStringLiteral("libSignalTalvo.so")), qPrintable(state));
            QCOMPARE(Control<QTableWidget>(dialog, "sgVerifyTable")->rowCount(), 0);
            QVERIFY(!Control<QPushButton>(dialog, "btnSaveReport")->isEnabled());
        });
    }

    void OtherDeviceWorkRefusesTheCheck() {
        TfmMain& main = Program();
        auto release = std::make_shared<std::atomic<bool>>(false);
        QVERIFY(main.Work().Start(
            [release] {
                while (!*release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            },
            nullptr, {}));
        InDialog([&main, release](TfmVerify& dialog) {
            QTest::mouseClick(Control<QPushButton>(dialog, "btnVerify"), Qt::LeftButton);
            QVERIFY(!dialog.Running());
            QCOMPARE(Control<QLabel>(dialog, "lbVerifyState")->text(), QString::fromUtf8(msr::kVerifyBusy.data()));
            *release = true;
            QTRY_VERIFY(!main.Work().Busy());
            QVERIFY(RunCheck(dialog, 0));
        });
    }

    void TheReportIsSavedAsPdfWithTheTableAsCsvBeside() {
        Program();
        talvo_test::TempFolder folder;
        const std::string chosen = folder / "проверка";
        InDialog([&chosen](TfmVerify& dialog) {
            QVERIFY(RunCheck(dialog, 1));
            uitest::OnModal("SaveDialog1", [&chosen](QDialog& files) {
                uitest::ChooseInFileDialog(files, QString::fromStdString(chosen));
            });
            QTest::mouseClick(Control<QPushButton>(dialog, "btnSaveReport"), Qt::LeftButton);
            QVERIFY(Control<QLabel>(dialog, "lbVerifyState")->text().startsWith(QStringLiteral("Отчёт записан")));

            QFile pdf(QString::fromStdString(chosen + ".pdf"));
            QVERIFY(pdf.open(QIODevice::ReadOnly));
            const QByteArray bytes = pdf.readAll();
            QVERIFY(bytes.startsWith("%PDF"));
            QVERIFY(bytes.size() > 20000);  // the table and three plots

            const std::vector<QStringList> rows = CsvRows(chosen + ".csv");
            auto* table = Control<QTableWidget>(dialog, "sgVerifyTable");
            QCOMPARE(static_cast<int>(rows.size()), table->rowCount() + 1);
            QCOMPARE(rows.front().front(), QStringLiteral("Величина"));
            for (int r = 0; r < table->rowCount(); ++r) {
                const QStringList& csv = rows[static_cast<std::size_t>(r) + 1];
                QCOMPARE(csv.size(), 8);
                const QString quantity = csv[1].isEmpty() ? csv[0] : csv[0] + QStringLiteral(", ") + csv[1];
                QCOMPARE(quantity, Cell(table, r, 0));
                // The file keeps full precision, the table six significant digits.
                QVERIFY(std::abs(csv[3].toDouble() - Cell(table, r, 2).toDouble()) <=
                        1e-4 * std::max(1.0, std::abs(csv[3].toDouble())));
                QCOMPARE(csv[6], Cell(table, r, 5));
                QCOMPARE(csv[7], Cell(table, r, msr::kResultColumn));
            }
        });
    }

    void TheDialogFitsALaptopScreen() {
        Program();
        InDialog([](TfmVerify& dialog) {
            QVERIFY(dialog.frameGeometry().width() <= 1366);
            QVERIFY(dialog.frameGeometry().height() <= 768 - 40);
            QVERIFY(dialog.minimumSizeHint().width() <= 1366);
        });
    }
};

QTEST_MAIN(VerifyDialogTest)
#include "VerifyDialogTest.moc"
