// The converter page of a real signal window against the converter simulator.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "CalibratorSimulator.h"
#include "ConverterSimulator.h"
#include "DialogDriver.h"
#include "FieldKeys.h"
#include "SignalWindowFixture.h"
#include "TempFolder.h"
#include "editor/HarmonicRules.h"
#include "files/SignalFile.h"
#include "link/LibraryBinding.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/ConverterPage.h"
#include "ui/signal/SignalWindow.h"

using talvo_test::ConverterSimulator;
using ui::TForm2;

namespace {

const char* const kConverterTab = "Преобразователь тока в напряжение";

QString Text(const QWidget& w, const char* name) {
    auto* child = w.findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* label = qobject_cast<QLabel*>(child)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(child)) return edit->text();
    if (auto* box = qobject_cast<QComboBox*>(child)) return box->currentText();
    return QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

}  // namespace

class ConverterPageTest : public uitest::TSignalWindowFixture {
    Q_OBJECT

    // A shown window in converter mode with the converter page selected and `port` chosen.
    TForm2& Window(const QString& port) {
        main_->show();
        TForm2& form = *main_->NewWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(main_.get())); }();
        form.FillTabs(0, true);
        form.SelectTab(form.FindTab(kConverterTab));
        auto* ports = form.findChild<QComboBox*>(QStringLiteral("cb_Com_Converter"));
        if (ports->findText(port) < 0) ports->addItem(port);
        ports->setCurrentText(port);
        return form;
    }
    // A new main window that sees the simulators' ports started since.
    void Restart() {
        main_.reset();
        ui::TMainOptions options;
        options.Library = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
        main_ = std::make_unique<ui::TfmMain>(std::move(options));
    }
    ui::TConverterPage& Page(TForm2& form) { return *form.ConverterPage(); }
    // Clicks "Поключение" and waits for its end.
    bool Connect(TForm2& form) {
        QSignalSpy finished(&Page(form), &ui::TConverterPage::OperationFinished);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("btnTestConverterIU")), Qt::LeftButton);
        if (!finished.wait(10000)) return false;
        return finished.at(0).at(0).toBool();
    }
    void Choose(TForm2& form, const char* box, const char* item) {
        form.findChild<QComboBox*>(QString::fromLatin1(box))->setCurrentText(QString::fromUtf8(item));
    }
    void Shot(QWidget& page, const QString& name) {
        const QString folder = QStringLiteral(TALVO_SHOTS_DIR);
        QDir().mkpath(folder);
        QVERIFY(page.grab().save(QDir(folder).filePath(name + QStringLiteral(".png"))));
    }

private Q_SLOTS:

    void ConnectionReadsTheConverterAndSelectsTheGain() {
        ConverterSimulator sim({"--module", "517", "--gain", "0x1A0"});
        TForm2& form = Window(QString::fromStdString(sim.Name()));
        QCOMPARE(Text(form, "lbConverterInfo"), QStringLiteral("Нет данных"));
        QCOMPARE(Text(form, "lbConverterInfoCalc"), QStringLiteral("Нет данных"));
        QCOMPARE(Text(form, "lbN_Converter"), QStringLiteral("№ модуля: нет данных"));
        uitest::TMessageLog log;
        QVERIFY(Connect(form));
        QCOMPARE(log.Titles, uitest::Texts({"Проверка связи!"}));
        QCOMPARE(log.Texts, uitest::Texts({"Преобразователь подключен."}));
        QCOMPARE(Text(form, "lbN_Converter"), QStringLiteral("№ модуля: 517"));
        QCOMPARE(Text(form, "lbConverterInfoCalc"),
                 QStringLiteral("Коэффициент [1] = 0.125 (Kpga = 0.125; K1pga = 1; Kina = 1)"));
        QCOMPARE(Text(form, "lbConverterInfo"), Text(form, "lbConverterInfoCalc"));
        QCOMPARE(Text(form, "cb_naminal_i_iu"), QStringLiteral("5.0"));
        // The simulator's channel A correction at index 1 is 1 x 1e-4: 5 A becomes 5.0005 A.
        QCOMPARE(Text(form, "e_dey_znach_i_iu_a"), QStringLiteral("5.001"));
        QVERIFY(Page(form).State().CalibrationTablesLoaded());
        QCOMPARE(sim.Entries("request").size(), std::size_t{6});
        Shot(Page(form), QStringLiteral("converter_page_auto"));
    }

    void FailuresShowTheirMessageAndLeaveThePageUsable() {
        ConverterSimulator sim({"--bad-crc"});
        TForm2& form = Window(QString::fromStdString(sim.Name()));
        {
            uitest::TMessageLog log;
            QVERIFY(!Connect(form));
            QCOMPARE(log.Titles, uitest::Texts({"Ошибка!"}));
            QCOMPARE(log.Texts, uitest::Texts({"CRC не совпало"}));
        }
        auto* ports = form.findChild<QComboBox*>(QStringLiteral("cb_Com_Converter"));
        ports->addItem(QStringLiteral("COM250"));
        ports->setCurrentText(QStringLiteral("COM250"));
        uitest::TMessageLog log;
        QVERIFY(!Connect(form));
        QCOMPARE(log.Titles, uitest::Texts({"Ошибка!"}));
        QCOMPARE(log.Texts, uitest::Texts({"Com-порт не найден."}));
        QCOMPARE(Text(form, "lbConverterInfo"), QString());
        QCOMPARE(Text(form, "lbConverterInfoManual"), QStringLiteral("Коэффициент [1] = 0.125"));
    }

    void ASecondOperationIsIgnoredWhileOneRuns() {
        ConverterSimulator sim({"--delay", "300"});
        TForm2& form = Window(QString::fromStdString(sim.Name()));
        uitest::TMessageLog log;
        QSignalSpy finished(&Page(form), &ui::TConverterPage::OperationFinished);
        auto* button = form.findChild<QPushButton*>(QStringLiteral("btnTestConverterIU"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(Page(form).Busy());
        QTest::mouseClick(button, Qt::LeftButton);  // the window is not blocked, the click is ignored
        QVERIFY(finished.wait(10000));
        QTest::qWait(200);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(log.Texts, uitest::Texts({"Преобразователь подключен."}));
        QCOMPARE(sim.Entries("request").size(), std::size_t{6});
    }

    // The connection test's message is answered before the reset goes out;
    // meanwhile the windows stay open and a send is not started.
    void EachStepIsAnsweredBeforeTheNextAndNothingOverlaps() {
        talvo_test::CalibratorSimulator calibrator("COM1");
        ConverterSimulator sim;
        Restart();
        TForm2& form = Window(QString::fromStdString(sim.Name()));
        std::size_t requestsAtMessage = 0;
        bool closed = true;
        uitest::WhenModal([&](QDialog& box) {
            requestsAtMessage = sim.Entries("request").size();
            closed = form.close() || main_->close();
            main_->findChild<QAction*>(QStringLiteral("mm_Generate_Sin"))->trigger();
            box.findChild<QAbstractButton*>(QStringLiteral("btnOk"))->click();
        });
        QVERIFY(Connect(form));
        QCOMPARE(requestsAtMessage, std::size_t{1});
        QVERIFY(!closed);
        QTest::qWait(300);
        QVERIFY(calibrator.Frames().empty());
        QCOMPARE(sim.Entries("request").size(), std::size_t{6});

        // While a send holds the converter, "Поключение" is ignored.
        QSignalSpy sent(main_.get(), &ui::TfmMain::ActionFinished);
        main_->findChild<QAction*>(QStringLiteral("mm_Generate_Sin"))->trigger();
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("btnTestConverterIU")), Qt::LeftButton);
        QVERIFY(!Page(form).Busy());
        QVERIFY(sent.wait(30000));
        QVERIFY(!calibrator.Frames().empty());
    }

    void ThePortListIsReadAgainKeepingThePosition() {
        ConverterSimulator first({}, "COM3");
        Restart();
        TForm2& form = Window(QString::fromStdString(first.Name()));
        auto* ports = form.findChild<QComboBox*>(QStringLiteral("cb_Com_Converter"));
        const int at = ports->currentIndex();
        ConverterSimulator second({}, "COM4");
        QCOMPARE(ports->findText(QStringLiteral("COM4")), -1);
        QTest::mouseClick(form.findChild<QToolButton*>(QStringLiteral("SpeedButton3")), Qt::LeftButton);
        QVERIFY(ports->findText(QStringLiteral("COM4")) >= 0);
        QCOMPARE(ports->currentIndex(), at);
    }

    void ModeUnitAndGainBoxes() {
        TForm2& form = Window(QStringLiteral("COM250"));
        auto* automatic = form.findChild<QCheckBox*>(QStringLiteral("cbAutoIU"));
        auto* manual = form.findChild<QCheckBox*>(QStringLiteral("cbManualIU"));
        QTest::mouseClick(manual, Qt::LeftButton);
        QVERIFY(!automatic->isChecked());
        QVERIFY(form.findChild<QGroupBox*>(QStringLiteral("gbKnIU_manual"))->isVisible());
        QVERIFY(!form.findChild<QGroupBox*>(QStringLiteral("gbKnIU_auto"))->isVisible());
        QCOMPARE(Text(form, "lbConverterInfoManual"), QStringLiteral("Коэффициент [1] = 0.125"));
        Choose(form, "cbKpga", "2");
        Choose(form, "cbK1pga", "1.375");
        Choose(form, "cbKina", "6");
        QCOMPARE(Page(form).State().ManualGainIndex, 38);
        QCOMPARE(Text(form, "lbConverterInfoManual"), QStringLiteral("Коэффициент [38] = 16.5"));
        Shot(Page(form), QStringLiteral("converter_page_manual"));
        {
            // In manual mode the output values are read only.
            uitest::TMessageLog log;
            form.findChild<QWidget*>(QStringLiteral("e_dey_znach_iu_a"))->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
            QTRY_COMPARE(log.Texts, uitest::Texts({"Значение поля, доступно только для чтения!"}));
        }
        QTest::mouseClick(automatic, Qt::LeftButton);
        QVERIFY(!manual->isChecked());
        Choose(form, "cbNominalU", "В");
        QCOMPARE(Text(form, "e_dey_znach_iu_a"), QStringLiteral("0.0125"));
        form.findChild<QWidget*>(QStringLiteral("e_dey_znach_iu_b"))->setFocus();
        uitest::TypeOver(QStringLiteral("0.5"));
        uitest::Press(Qt::Key_Tab);
        QCOMPARE(form.Signal().Converter.UB, 500.0L);
    }

    void EnterWalksTheFieldsAndTakesTheValuesOver() {
        TForm2& form = Window(QStringLiteral("COM250"));
        form.findChild<QWidget*>(QStringLiteral("e_dey_znach_iu_a"))->setFocus();
        uitest::TypeOver(QStringLiteral("20"));
        QStringList visited;
        for (int k = 0; k < 6; ++k) {
            uitest::Press(Qt::Key_Return);
            visited << uitest::FocusName(&form);
        }
        QCOMPARE(visited, uitest::Texts({"e_dey_znach_iu_b", "e_dey_znach_iu_c", "e_ugol_iu_a", "e_ugol_iu_b",
                                         "e_ugol_iu_c", "e_dey_znach_iu_a"}));
        QCOMPARE(form.Signal().Converter.UA, 20.0L);
        QTest::mouseClick(form.findChild<QCheckBox*>(QStringLiteral("cbManualIU")), Qt::LeftButton);
        form.findChild<QWidget*>(QStringLiteral("e_dey_znach_i_iu_c"))->setFocus();
        uitest::TypeOver(QStringLiteral("2"));
        uitest::Press(Qt::Key_Return);
        QCOMPARE(uitest::FocusName(&form), QStringLiteral("e_ugol_iu_a"));
        QCOMPARE(form.Signal().Current.IC, 2.0L);
        // The angles and the frequency are taken over as on the current and voltage pages.
        uitest::TypeOver(QStringLiteral("-390°"));
        uitest::Press(Qt::Key_Return);
        QCOMPARE(form.Signal().Current.PhiUIA, -30.0L);
        form.findChild<QWidget*>(QStringLiteral("e_Rate_IU"))->setFocus();
        uitest::TypeOver(QStringLiteral("5l"));
        uitest::TMessageLog log;
        uitest::Press(Qt::Key_Tab);
        QCOMPARE(log.Texts, uitest::Texts({"Ошибка при вводе значения! Повторите ввод!"}));
        QCOMPARE(uitest::FocusName(&form), QStringLiteral("e_Rate_IU"));
        uitest::TypeOver(QStringLiteral("51"));
        uitest::Press(Qt::Key_Return);
        QCOMPARE(uitest::FocusName(&form), QStringLiteral("e_Otcl_Rate_IU"));
        QVERIFY(std::abs(static_cast<double>(form.Signal().Voltage.Freq) - 51) < 0.01);
    }

    void AConverterFileKeepsTheChannelsAndOpensOnThePage() {
        TForm2& form = Window(QStringLiteral("COM250"));
        form.findChild<QWidget*>(QStringLiteral("e_dey_znach_iu_c"))->setFocus();
        uitest::TypeOver(QStringLiteral("100"));
        uitest::Press(Qt::Key_Tab);
        const std::string path = (settings_->Root() / "channels.upr").string();
        uitest::TMessageLog log;
        main_->SaveFile(files::sfConverter, path);
        TForm2* opened = main_->OpenFile(files::sfConverter, path);
        QCOMPARE(log.Texts.size(), 2);  // saved; the question before the channels are replaced
        QVERIFY(opened != &form);
        QVERIFY(opened->HasConverterPage());
        QCOMPARE(opened->TabList().size(), form.TabList().size());
        QCOMPARE(opened->Signal().Converter.UC, 100.0L);
        QCOMPARE(Text(*opened, "e_dey_znach_iu_c"), QStringLiteral("100.000"));
        QVERIFY(opened->ConverterPage()->isVisible());
    }

    void HarmonicsOfTheCurrentsFromThePage() {
        TForm2& form = Window(QStringLiteral("COM250"));
        auto& c = form.Signal().Current;
        // Harmonic 3 of phase B: 10 %, then the focus goes to the angle field.
        Choose(form, "ComboBox4", "Ib");
        form.findChild<QSpinBox*>(QStringLiteral("SpinEdit5"))->setValue(3);
        form.findChild<QWidget*>(QStringLiteral("Edit30"))->setFocus();
        uitest::TypeOver(QStringLiteral("10"));
        uitest::Press(Qt::Key_Return);
        QCOMPARE(c.Garmonik.b.Koef[3], 10.0L);
        QCOMPARE(uitest::FocusName(&form), QStringLiteral("Edit31"));
        QCOMPARE(Text(form, "Edit30"), QStringLiteral("10.000"));
        // Every harmonic of phase B at 5 %, after the question.
        form.findChild<QWidget*>(QStringLiteral("Edit30"))->setFocus();
        uitest::TypeOver(QStringLiteral("5"));
        uitest::TMessageLog log;
        QTest::mouseClick(form.findChild<QToolButton*>(QStringLiteral("SpeedButton34")), Qt::LeftButton);
        QCOMPARE(log.Texts, uitest::Texts({"Задать модули всех гармоник фазы B равными 5.000 %?"}));
        QCOMPARE(c.Garmonik.b.Koef[2], 5.0L);
        QCOMPARE(c.Garmonik.b.Koef[50], 5.0L);
        QCOMPARE(c.Garmonik.a.Koef[50], 0.0L);
        QCOMPARE(form.Signal().Converter.Garmonik.b.Koef[50], 5.0L);
        QTRY_COMPARE(uitest::FocusName(&form), QStringLiteral("Edit31"));
        log.Texts.clear();
        uitest::TypeOver(QStringLiteral("x"));
        uitest::Press(Qt::Key_Return);
        QTRY_COMPARE(log.Texts, uitest::Texts({"Ошибка при вводе значения! Повторите ввод!"}));

        // The page's interharmonics switch and the interharmonics page's are one.
        QTest::mouseClick(form.findChild<QCheckBox*>(QStringLiteral("chBoxOnIntergarm_iu")), Qt::LeftButton);
        QVERIFY(form.Signal().Switches.IncludeInterGarm);
        form.SelectTab(form.FindTab("Интергармоники"));
        auto* include = form.findChild<QCheckBox*>(QStringLiteral("ChBoxHasIntergarms"));
        QVERIFY(include->isChecked());
        include->click();
        form.SelectTab(form.FindTab(kConverterTab));
        QVERIFY(!form.findChild<QCheckBox*>(QStringLiteral("chBoxOnIntergarm_iu"))->isChecked());
    }

    // The lists in the program's list format, the number editors' checks and
    // the symbols of the fields and of the sequence outputs.
    void HarmonicViewListsNumbersAndSymbols() {
        TForm2& form = Window(QStringLiteral("COM250"));
        form.Signal().Current.Garmonik.b.Koef[3] = 10;
        form.Signal().Current.InterGarm[0].Koef[2] = 1.5;
        Choose(form, "ComboBox4", "Ib");
        auto* harmonics = form.findChild<QListWidget*>(QStringLiteral("ListBox6"));
        auto* inter = form.findChild<QListWidget*>(QStringLiteral("ListBox7"));
        QCOMPARE(harmonics->item(1)->text(),
                 QString::fromStdString(edit::MadeList(form.Signal().Current.Garmonik.b)[1]));
        QCOMPARE(inter->item(1)->text(),
                 QString::fromStdString(edit::MadeList_InterGarm(form.Signal().Current.InterGarm[0])[1]));

        auto* number = form.findChild<QSpinBox*>(QStringLiteral("SpinEdit5"));
        {
            uitest::TMessageLog log;
            number->setValue(51);
            QCOMPARE(log.Texts, uitest::Texts({"Заданный номер гармоники превышает возможный диапазон (2..50)"}));
        }
        number->setValue(7);
        QCOMPARE(harmonics->currentRow(), 5);
        QCOMPARE(form.findChild<ui::TIndexTextLabel*>(QStringLiteral("SymbolKoef_iu"))->Text(), std::string("K~(n)~"));
        auto* interNumber = form.findChild<QSpinBox*>(QStringLiteral("SpinEdit6"));
        {
            uitest::TMessageLog log;
            interNumber->setValue(0);
            QCOMPARE(log.Texts, uitest::Texts({"Заданный номер интергармоники превышает возможный диапазон (1..49)"}));
        }
        interNumber->setValue(2);
        QCOMPARE(inter->currentRow(), 1);
        QCOMPARE(form.findChild<ui::TIndexTextLabel*>(QStringLiteral("SymbolKoef_iu"))->Text(),
                 std::string("K~ig(n)~"));
        QCOMPARE(Text(form, "Edit30"), QStringLiteral("1.500"));

        Choose(form, "cbNominalU", "В");
        QCOMPARE(form.findChild<ui::TIndexTextLabel*>(QStringLiteral("SymbolSeq1_iu"))->Text(), std::string("U~I1~,В"));
    }

    void AnExcessiveOutputReturnsTheFocus() {
        TForm2& form = Window(QStringLiteral("COM250"));
        Page(form).State().CalibrationTable.Read = true;
        auto* field = form.findChild<QWidget*>(QStringLiteral("e_dey_znach_iu_a"));
        field->setFocus();
        uitest::TypeOver(QStringLiteral("12000.01"));
        uitest::TMessageLog log;
        uitest::Press(Qt::Key_Tab);
        QTRY_COMPARE(log.Texts, uitest::Texts({"Превышение амплитуды по фазе A!"}));
        QCOMPARE(form.Signal().Converter.UA, 12000.01L);
        QCOMPARE(uitest::FocusName(&form), QStringLiteral("e_dey_znach_iu_a"));
    }

    // The labels and gain boxes shown by a calculation are those of the gain it selected.
    void AnOutputValueShowsTheGainItSelected() {
        TForm2& form = Window(QStringLiteral("COM250"));
        Page(form).State().CalibrationTable.Read = true;
        form.findChild<QWidget*>(QStringLiteral("e_dey_znach_iu_a"))->setFocus();
        uitest::TypeOver(QStringLiteral("5000"));
        uitest::Press(Qt::Key_Tab);
        const edit::TConverterState& state = Page(form).State();
        QCOMPARE(state.ManualGainIndex, state.CalculatedGainIndex);
        QCOMPARE(Text(form, "lbConverterInfoCalc"),
                 QStringLiteral("Коэффициент [30] = 96 (Kpga = 16; K1pga = 1; Kina = 6)"));
        QCOMPARE(Text(form, "lbConverterInfoManual"), QStringLiteral("Коэффициент [30] = 96"));
        QCOMPARE(Text(form, "cbKpga"), QStringLiteral("16"));
        QCOMPARE(Text(form, "cbKina"), QStringLiteral("6"));
    }

    // Every voltage of the page follows the unit: the outputs, the sequences
    // and the channels' totals, with their captions and symbols.
    void TheUnitScalesEveryVoltageOfThePage() {
        TForm2& form = Window(QStringLiteral("COM250"));
        form.Signal().Converter.URmsB = 12.5L;
        form.Signal().Converter.SymFaza.Pos.Magnitude = 12.5L;
        Page(form).ShowAllData_low_iu();
        struct {
            const char* Name;
            const char* Millivolts;
            const char* Volts;
        } const rows[]{{"e_dey_znach_iu_a", "12.500", "0.0125"},
                       {"ui_u_b", "12.500", "0.0125"},
                       {"nessim_iu_1", "12.5000", "0.0125"}};
        for (const auto& r : rows) QCOMPARE(Text(form, r.Name), QString::fromUtf8(r.Millivolts));
        Choose(form, "cbNominalU", "В");
        for (const auto& r : rows) QCOMPARE(Text(form, r.Name), QString::fromUtf8(r.Volts));
        QCOMPARE(form.findChild<ui::TIndexTextLabel*>(QStringLiteral("SymbolSeq0_iu"))->Text(), std::string("U~I0~,В"));
        Choose(form, "cbNominalU", "мВ");
        QCOMPARE(Text(form, "e_dey_znach_iu_a"), QStringLiteral("12.500"));
    }

    // The mode decides which kind of field refuses typed characters.
    void EachModeLocksOneKindOfField() {
        TForm2& form = Window(QStringLiteral("COM250"));
        struct {
            const char* Mode;
            const char* Field;
            bool Refused;
        } const cases[]{{"cbAutoIU", "e_dey_znach_i_iu_b", true},
                        {"cbAutoIU", "e_dey_znach_iu_b", false},
                        {"cbManualIU", "e_dey_znach_iu_c", true},
                        {"cbManualIU", "e_dey_znach_i_iu_a", false}};
        for (const auto& c : cases) {
            auto* mode = form.findChild<QCheckBox*>(QString::fromLatin1(c.Mode));
            if (!mode->isChecked()) QTest::mouseClick(mode, Qt::LeftButton);
            uitest::TMessageLog log;
            form.findChild<QWidget*>(QString::fromLatin1(c.Field))->setFocus();
            // The window may take a moment to give the focus back after the last message.
            uitest::Press(Qt::Key_7);
            QTest::qWait(100);
            QCOMPARE(log.Texts.size(), c.Refused ? 1 : 0);
            QCOMPARE(qobject_cast<QLineEdit*>(uitest::WaitForFocus())->text().contains(QLatin1Char('7')), !c.Refused);
            uitest::Press(Qt::Key_Escape);
            form.findChild<QWidget*>(QStringLiteral("cb_naminal_u"))->setFocus();
        }
    }

    // Without the calibration tables a gain box only relabels; with them the
    // manual calculation follows and the outputs change.
    void AGainBoxCalculatesOnlyWithTheTables() {
        TForm2& form = Window(QStringLiteral("COM250"));
        QTest::mouseClick(form.findChild<QCheckBox*>(QStringLiteral("cbManualIU")), Qt::LeftButton);
        const QString before = Text(form, "e_dey_znach_iu_a");
        Choose(form, "cbKpga", "2");
        QCOMPARE(Text(form, "e_dey_znach_iu_a"), before);
        QVERIFY(Text(form, "lbConverterInfoManual") != QStringLiteral("Коэффициент [1] = 0.125"));
        Page(form).State().CalibrationTable.Read = true;
        Choose(form, "cbKpga", "4");
        QVERIFY(Text(form, "e_dey_znach_iu_a") != before);
        QCOMPARE(Page(form).State().CalculatedGainIndex, Page(form).State().ManualGainIndex);
    }

    // An angle Enter moves the harmonic number on and keeps the interharmonic
    // one; either way the focus goes back to the coefficient.
    void AnAngleEnterMovesOnInTheHarmonicListOnly() {
        TForm2& form = Window(QStringLiteral("COM250"));
        struct {
            const char* Number;
            int Before, After;
            bool Inter;
        } const cases[]{{"SpinEdit5", 3, 4, false}, {"SpinEdit6", 3, 3, true}};
        for (const auto& c : cases) {
            auto* number = form.findChild<QSpinBox*>(QString::fromLatin1(c.Number));
            number->setValue(c.Before);
            form.findChild<QWidget*>(QStringLiteral("Edit31"))->setFocus();
            uitest::TypeOver(QStringLiteral("20"));
            uitest::Press(Qt::Key_Return);
            const sig::TSignalParamsI& i = form.Signal().Current;
            QCOMPARE(c.Inter ? i.InterGarm[0].Angle[c.Before] : i.Garmonik.a.Angle[c.Before], 20.0L);
            QCOMPARE(number->value(), c.After);
            QTRY_COMPARE(uitest::FocusName(&form), QStringLiteral("Edit30"));
        }
    }

    // A copy declined refills the field; the coefficient's goes on to the angle.
    void ADeclinedCopyKeepsTheRecords() {
        TForm2& form = Window(QStringLiteral("COM250"));
        struct {
            const char* Field;
            const char* Button;
            const char* Shown;
            const char* FocusAfter;
        } const cases[]{{"Edit30", "SpeedButton34", "0.000", "Edit31"}, {"Edit31", "SpeedButton33", "0.000", "Edit31"}};
        for (const auto& c : cases) {
            form.findChild<QWidget*>(QString::fromLatin1(c.Field))->setFocus();
            uitest::TypeOver(QStringLiteral("5"));
            uitest::TMessageLog log("btnCancel");
            QTest::mouseClick(form.findChild<QToolButton*>(QString::fromLatin1(c.Button)), Qt::LeftButton);
            QCOMPARE(log.Texts.size(), 1);
            QCOMPARE(form.Signal().Current.Garmonik.a.Koef[3], 0.0L);
            QCOMPARE(form.Signal().Current.Garmonik.a.Angle[3], 0.0L);
            QTRY_COMPARE(uitest::FocusName(&form), QString::fromLatin1(c.FocusAfter));
            QTRY_VERIFY(Text(form, c.Field).startsWith(QString::fromLatin1(c.Shown)));
        }
    }

    // The test signal sent from the main window in converter mode; true when it went out.
    bool Send() {
        QSignalSpy finished(main_.get(), &ui::TfmMain::ActionFinished);
        main_->findChild<QAction*>(QStringLiteral("mm_Generate_Sin"))->trigger();
        if (!finished.wait(30000)) return false;
        return finished.front().front().toBool();
    }
    static std::vector<std::string> GainWrites(const ConverterSimulator& sim) {
        std::vector<std::string> writes;
        for (const auto& r : sim.Entries("request"))
            if (r["hex"].get<std::string>().rfind("01068001", 0) == 0) writes.push_back(r["hex"]);
        return writes;
    }

    void ASendResetsReadsChecksAndWritesTheGain() {
        talvo_test::CalibratorSimulator calibrator("COM1");
        ConverterSimulator sim({"--gain", "0x1A0"});
        Restart();
        TForm2& form = Window(QString::fromStdString(sim.Name()));
        uitest::TMessageLog log;
        QVERIFY(Send());
        QVERIFY(!calibrator.Frames().empty());
        QCOMPARE(log.Texts, QStringList());
        // Test, reset, module and gain, three blocks, then the gain of index 1.
        const auto requests = sim.Entries("request");
        QCOMPARE(requests.size(), std::size_t{7});
        QCOMPARE(GainWrites(sim).size(), std::size_t{1});
        QVERIFY(Page(form).State().CalibrationTablesLoaded());
        QCOMPARE(Page(form).State().DeviceGainIndex, 1);
        QCOMPARE(Text(form, "lbConverterInfo"),
                 QStringLiteral("Коэффициент [1] = 0.125 (Kpga = 0.125; K1pga = 1; Kina = 1)"));
        // The second send does not read the tables again.
        QVERIFY(Send());
        QCOMPARE(sim.Entries("request").size(), std::size_t{10});
    }

    void AFailedGainWriteIsReportedAfterTheSend() {
        talvo_test::CalibratorSimulator calibrator("COM1");
        // Test, reset, module and gain, three blocks; the seventh request, the gain write, fails.
        ConverterSimulator sim({"--exception", "4", "--fault-request", "7"});
        Restart();
        TForm2& form = Window(QString::fromStdString(sim.Name()));
        uitest::TMessageLog log;
        QVERIFY(Send());
        QVERIFY(!calibrator.Frames().empty());
        QCOMPARE(log.Titles, uitest::Texts({"Ошибка!", "Ошибка!!!"}));
        QCOMPARE(log.Texts.back(), QStringLiteral("Не записан коэффициент преобразователя!"));
        QCOMPARE(GainWrites(sim).size(), std::size_t{1});
        QCOMPARE(Page(form).State().DeviceGainIndex, 1);
    }

    void ASilentConverterLetsTheSignalGoUnchanged() {
        talvo_test::CalibratorSimulator calibrator("COM1");
        ConverterSimulator sim({"--silent-from", "1"});
        Restart();
        TForm2& form = Window(QString::fromStdString(sim.Name()));
        const sig::real before = form.Signal().Current.IA;
        uitest::TMessageLog log;
        const bool sent = Send();
        QCOMPARE(log.Texts.join(QStringLiteral("|")), QString());
        QVERIFY(sent);
        QVERIFY(!calibrator.Frames().empty());
        QCOMPARE(form.Signal().Current.IA, before);
        QVERIFY(GainWrites(sim).empty());
        QCOMPARE(Page(form).State().DeviceGainIndex, 0);
    }

    // A converter port that cannot be opened is reported during the send,
    // before the signal goes out; once answered, the signal goes unchanged.
    void AMissingConverterPortIsReportedBeforeTheSignalGoesOut() {
        talvo_test::CalibratorSimulator calibrator("COM1");
        Restart();
        TForm2& form = Window(QStringLiteral("COM250"));
        const sig::real before = form.Signal().Current.IA;
        QString text;
        std::size_t framesAtMessage = 1;
        uitest::WhenModal([&](QDialog& box) {
            text = box.findChild<QLabel*>(QStringLiteral("Label1"))->text();
            framesAtMessage = calibrator.Frames().size();
            box.findChild<QAbstractButton*>(QStringLiteral("btnOk"))->click();
        });
        QVERIFY(Send());
        QCOMPARE(text, QStringLiteral("Com-порт не найден."));
        QCOMPARE(framesAtMessage, std::size_t{0});
        QVERIFY(!calibrator.Frames().empty());
        QCOMPARE(form.Signal().Current.IA, before);
    }

    void AnExcessiveOutputStopsTheSend() {
        talvo_test::CalibratorSimulator calibrator("COM1");
        ConverterSimulator sim;
        Restart();
        TForm2& form = Window(QString::fromStdString(sim.Name()));
        form.Signal().Converter.UC = 12000.01L;
        uitest::TMessageLog log;
        QVERIFY(!Send());
        QCOMPARE(log.Texts, uitest::Texts({"Превышение амплитуды по фазе C!"}));
        QVERIFY(calibrator.Frames().empty());
        QVERIFY(GainWrites(sim).empty());
    }
};

QTEST_MAIN(ConverterPageTest)
#include "ConverterPageTest.moc"
