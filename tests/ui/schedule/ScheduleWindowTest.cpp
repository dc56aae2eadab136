#include <QDateTimeEdit>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include "CalibratorSimulator.h"
#include "DialogDriver.h"
#include "TempFolder.h"
#include "files/IniFile.h"
#include "link/LibraryBinding.h"
#include "schedule/ListFile.h"
#include "ui/schedule/ScheduleEvents.h"
#include "ui/schedule/ScheduleWindow.h"

#ifndef TALVO_EXAMPLES_DIR
#error "TALVO_EXAMPLES_DIR must name the examples folder"
#endif

namespace {

namespace fs = std::filesystem;
using ui::TTestSignalsForm;

enum Column { cId, cState, cType, cName, cDuration, cStartDate, cStartTime, cEndDate, cEndTime };

const std::string kCommon = "Для всех сигналов";
const std::string kCount = "K\xD0\xBE\xD0\xBB\xD0\xB8\xD1\x87\xD0\xB5\xD1\x81\xD1\x82\xD0\xB2\xD0\xBE";  // Latin K

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

class ScheduleWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<talvo_test::TempSettings> settings_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TTestSignalsForm> form_;
    lnk::TSignalLibrary library_;

    TTestSignalsForm& Form() { return *form_; }
    QTableWidget& Grid() { return *form_->findChild<QTableWidget*>(QStringLiteral("SignalGrid")); }
    QPushButton& Button(const char* name) { return *form_->findChild<QPushButton*>(QString::fromLatin1(name)); }
    void Click(const char* name) { QTest::mouseClick(&Button(name), Qt::LeftButton); }
    QString Cell(int row, int column) { return Grid().item(row, column)->text(); }
    int State(int row) { return Grid().item(row, cState)->data(Qt::UserRole).toInt(); }
    QString Path(const char* name) { return dir_->filePath(QString::fromUtf8(name)); }

    // Answers the next file dialog with `path`.
    void ChooseNext(const QString& path) {
        uitest::WhenModal([path](QDialog& dialog) { uitest::ChooseInFileDialog(dialog, path); });
    }

    // Answers the next file dialog with `path` and the message that follows with "Да".
    struct TFollowing {
        std::shared_ptr<uitest::TAnswered> Message;
    };
    std::shared_ptr<TFollowing> ChooseThenAnswer(const QString& path) {
        auto following = std::make_shared<TFollowing>();
        uitest::WhenModal([path, following](QDialog& dialog) {
            uitest::ChooseInFileDialog(dialog, path);
            following->Message = uitest::AnswerNextMessage("btnOk");
        });
        return following;
    }

    // Answers the next question with "Да" and the file dialog that follows with `path`.
    std::shared_ptr<QString> AnswerThenChoose(const QString& path) {
        auto asked = std::make_shared<QString>();
        uitest::WhenModal([this, path, asked](QDialog& dialog) {
            *asked = dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text();
            ChooseNext(path);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
        });
        return asked;
    }

    static QString MessageText(const std::shared_ptr<TFollowing>& following) {
        return following->Message ? following->Message->Text : QString();
    }

    void AddSignal(const QString& path) {
        ChooseNext(path);
        Click("btnAddSignal");
    }

    QString CopyExample(const char* example, const char* name) {
        const QString path = Path(name);
        fs::copy_file(std::string(TALVO_EXAMPLES_DIR) + "/" + example, path.toStdString());
        return path;
    }

    QPoint CellCentre(int row, int column) { return Grid().visualRect(Grid().model()->index(row, column)).center(); }

    // Opens the cell's editor by a double click and returns it.
    template <class Editor>
    Editor* OpenEditor(int row, int column, const char* name) {
        // The cell is clicked first, as a user points at it: the view takes a
        // double click only on the cell it saw pressed.
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, CellCentre(row, column));
        QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, CellCentre(row, column));
        return Grid().findChild<Editor*>(QString::fromLatin1(name));
    }

    // Enter ends the edit; the view commits it on its next turn.
    void Enter(QWidget* editor, int row, int column) {
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!Grid().indexWidget(Grid().model()->index(row, column)));
    }

    void EditDuration(int row, int seconds) {
        auto* editor = OpenEditor<QSpinBox>(row, cDuration, "seDuration");
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QString::number(seconds));
        Enter(editor, row, cDuration);
    }

    QStringList ProtocolTexts() {
        QStringList texts;
        auto* list = form_->findChild<QTreeWidget*>(QStringLiteral("lvProtocol"));
        for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(1);
        return texts;
    }

    // The calibrator on the simulator's port with the library of the build.
    void LinkToSimulator() {
        library_ = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
        sched::TLinkSettings link;
        link.PortName = "COM1";
        link.Library = &library_;
        Form().SetLinkSettings(link);
    }

    // A list file of `count` rows: a test signal first and last, reset
    // commands between them, every third row selected.
    QString WriteLongList(int count) {
        const std::string signal = CopyExample("balanced-nominal.usa", "long.usa").toStdString();
        sched::TSignalList list;
        for (int i = 0; i < count; ++i) {
            const sched::TDateTime start = 46000 + i / 86400.0;
            sched::TSignalDataForGrid row =
                i == 0 || i == count - 1 ? sched::NewSignalRow(signal, start) : sched::NewCommandRow(start);
            row.Duration = i % 7;
            row.State = i % 3 == 0 ? sched::TRowState::Selected : sched::TRowState::NotSelected;
            list.Rows.push_back(row);
        }
        const QString path = Path("long.sfl");
        sched::WriteSignalList(path.toStdString(), list);
        return path;
    }

    // Rows whose state cell differs from the state of the window's row, and
    // from `expected` when one is given.
    QList<int> StatesOff(std::optional<int> expected = std::nullopt) {
        QList<int> off;
        for (int r = 0; r < Grid().rowCount(); ++r) {
            const int listed = static_cast<int>(Form().Rows()[static_cast<std::size_t>(r)].State);
            if (State(r) != listed || (expected && listed != *expected)) off << r;
        }
        return off;
    }

    // Shown columns not as wide as their widest text or their caption.
    QList<int> ColumnsNotFitted() {
        QList<int> off;
        for (int c = 0; c < Grid().columnCount(); ++c) {
            if (c == cName || Grid().isColumnHidden(c)) continue;
            const int content = static_cast<QAbstractItemView&>(Grid()).sizeHintForColumn(c);
            const int wanted = std::max(content, Grid().horizontalHeader()->sectionSizeHint(c));
            if (Grid().columnWidth(c) != wanted) off << c;
        }
        return off;
    }

    // The cells the grid reports changed while `act` runs, as row * 100 + column.
    QList<int> CellsChangedBy(const std::function<void()>& act) {
        QList<int> cells;
        const auto connection = connect(&Grid(), &QTableWidget::itemChanged, this, [&](QTableWidgetItem* item) {
            const int cell = item->row() * 100 + item->column();
            if (cells.isEmpty() || cells.back() != cell) cells << cell;
        });
        act();
        QCoreApplication::processEvents();
        disconnect(connection);
        return cells;
    }

    void ChooseMode(const char* name) {
        auto* mode = form_->findChild<QRadioButton*>(QString::fromLatin1(name));
        QTest::mouseClick(mode, Qt::LeftButton, {}, QPoint(6, mode->height() / 2));  // on its circle
    }

private Q_SLOTS:
    void init() {
        uitest::FailOnWarnings();
        settings_ = std::make_unique<talvo_test::TempSettings>();
        dir_ = std::make_unique<QTemporaryDir>();
        form_ = std::make_unique<TTestSignalsForm>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup() {
        form_.reset();
        dir_.reset();
        settings_.reset();
    }

    void AnEmptyListOffersLoadingAndAddingOnly() {
        QVERIFY(Button("btnLoad").isEnabled());
        QVERIFY(Button("btnAddSignal").isEnabled());
        for (const char* name : {"btnStart", "btnStop", "btnSave", "btnDelete", "btnClearList", "btnSetCurrentDate"})
            QVERIFY2(!Button(name).isEnabled(), name);
        QVERIFY(!Form().Running());
        Click("btnAddCommand");
        QVERIFY(Button("btnStart").isEnabled());
        QVERIFY(!Button("btnSetCurrentDate").isEnabled());
        ChooseMode("rbTime");
        QVERIFY(Button("btnSetCurrentDate").isEnabled());
        QVERIFY(Grid().isColumnHidden(cDuration));
        QVERIFY(!Grid().isColumnHidden(cEndTime));
    }

    void AListIsComposedSavedAndLoadedBack() {
        AddSignal(CopyExample("balanced-nominal.usa", "сигнал.usa"));
        Click("btnAddCommand");
        EditDuration(0, 7);
        QCOMPARE(Cell(0, cName), QStringLiteral("сигнал.usa"));
        QCOMPARE(Cell(0, cType), QStringLiteral("Сигнал"));
        QCOMPARE(Cell(0, cDuration), QStringLiteral("7"));
        QCOMPARE(Cell(1, cName), QStringLiteral("Команда"));
        QCOMPARE(Cell(1, cType), QStringLiteral("Сброс сигн."));
        QCOMPARE(State(1), 1);

        auto saved = ChooseThenAnswer(Path("tests"));
        Click("btnSave");
        QCOMPARE(MessageText(saved), QStringLiteral("Cписок сигналов сохранен!"));
        const fs::path list = Path("tests.sfl").toStdString();
        const files::IniFile ini(list.string());
        QCOMPARE(ini.ReadInteger(kCommon, kCount, 0), 2);
        QVERIFY(ini.ValueExists("Сигнал 0", "Файл"));
        QVERIFY(ini.SectionExists("Сигнал 1"));
        QVERIFY(!ini.ValueExists("Сигнал 1", "Файл"));

        Click("btnClearList");
        QCOMPARE(Grid().rowCount(), 0);
        ChooseNext(QString::fromStdString(list.string()));
        Click("btnLoad");
        QCOMPARE(Grid().rowCount(), 2);
        const fs::path extracted = fs::path(list).replace_extension() / "сигнал.usa";
        QCOMPARE(QString::fromStdString(Form().Rows()[0].Path), QString::fromStdString(extracted.string()));
        QCOMPARE(Cell(0, cDuration), QStringLiteral("7"));
        QCOMPARE(Form().Rows()[1].Path, std::string("Команда"));

        // Loading again asks first and keeps the signal file already there.
        std::ofstream(extracted, std::ios::app) << "; kept\r\n";
        const std::string kept = ReadAll(extracted);
        auto asked = AnswerThenChoose(QString::fromStdString(list.string()));
        Click("btnLoad");
        QCOMPARE(*asked, QStringLiteral("При загрузке, текущий список будет заменен, выполнить загрузку?"));
        QCOMPARE(Grid().rowCount(), 2);
        QCOMPARE(ReadAll(extracted), kept);
    }

    void AListThatCannotBeReadOrSavedIsReported() {
        {
            files::IniFile broken(Path("broken.sfl").toStdString());
            broken.WriteInteger(kCommon, kCount, 1);
            broken.WriteString("Сигнал 0", "Путь к файлу", "a.usa");  // a signal row without its file
            broken.UpdateFile();
        }
        auto load = ChooseThenAnswer(Path("broken.sfl"));
        Click("btnLoad");
        QCOMPARE(MessageText(load), QStringLiteral("Ошибка загрузки списка сигналов!"));

        const QString signal = CopyExample("balanced-nominal.usa", "gone.usa");
        AddSignal(signal);
        QFile::remove(signal);
        auto save = ChooseThenAnswer(Path("gone.sfl"));
        Click("btnSave");
        QCOMPARE(MessageText(save), QStringLiteral("Ошибка сохранения списка сигналов!"));
    }

    void StateClicksAndDropsChangeRows() {
        Click("btnAddCommand");
        AddSignal(CopyExample("balanced-nominal.usa", "a.usa"));
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, CellCentre(0, cState));
        QCOMPARE(State(0), 0);
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, CellCentre(0, cState));
        QCOMPARE(State(0), 1);

        // Row 1 dragged onto row 0.
        Grid().setCurrentCell(1, cName);
        std::unique_ptr<QMimeData> rows(Grid().model()->mimeData({Grid().model()->index(1, cName)}));
        QDragEnterEvent enter(CellCentre(1, cName), Qt::CopyAction, rows.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(Grid().viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(CellCentre(0, cName)), Qt::CopyAction, rows.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(Grid().viewport(), &drop);
        QCOMPARE(Cell(0, cName), QStringLiteral("a.usa"));
        QCOMPARE(Cell(1, cName), QStringLiteral("Команда"));
        QCOMPARE(Cell(1, cId), QStringLiteral("1"));
    }

    void StartIsRefusedWithoutSelectionOrWithEqualStarts() {
        Click("btnAddCommand");
        Click("btnAddCommand");
        Click("btnResetAll");
        auto nothing = uitest::AnswerNextMessage("btnOk");
        Click("btnStart");
        QCOMPARE(nothing->Text, QStringLiteral("Нет сигналов выделенных для задания!"));

        Click("btnSelectAll");
        ChooseMode("rbTime");
        auto* date = OpenEditor<QDateEdit>(1, cStartDate, "dtpDate");
        QVERIFY(date);
        date->setDate(QDate::fromString(Cell(0, cStartDate), QStringLiteral("dd.MM.yyyy")));
        Enter(date, 1, cStartDate);
        auto* time = OpenEditor<QTimeEdit>(1, cStartTime, "dtpTime");
        QVERIFY(time);
        time->setTime(QTime::fromString(Cell(0, cStartTime), QStringLiteral("HH:mm:ss")));
        Enter(time, 1, cStartTime);
        auto equal = uitest::AnswerNextMessage("btnOk");
        Click("btnStart");
        QCOMPARE(equal->Text, QStringLiteral("Время начала сигнала - Команда (ID-0),\r\n"
                                             "совпадает с временем начала сигнала - Команда (ID-1)"));
        QVERIFY(!Form().Running());
    }

    void TheThirdModeChainsTheSelectedRows() {
        Click("btnAddCommand");
        Click("btnAddCommand");
        EditDuration(0, 10);
        EditDuration(1, 20);
        ChooseMode("rbTimeAndDuration");
        auto* start = Form().findChild<QDateTimeEdit*>(QStringLiteral("dtpStart"));
        QVERIFY(start->isVisible());
        start->setTime(QTime(12, 0, 0));
        QCOMPARE(Cell(0, cStartTime), QStringLiteral("12:00:00"));
        QCOMPARE(Cell(0, cEndTime), QStringLiteral("12:00:10"));
        QCOMPARE(Cell(1, cStartTime), QStringLiteral("12:00:10"));
        QCOMPARE(Cell(1, cEndTime), QStringLiteral("12:00:30"));
    }

    void TwoRowsRunOnTheCalibrator() {
        talvo_test::CalibratorSimulator sim("COM1");
        LinkToSimulator();
        AddSignal(CopyExample("balanced-nominal.usa", "balanced.usa"));
        Click("btnAddCommand");
        EditDuration(0, 1);
        EditDuration(1, 1);
        Form().findChild<QSpinBox*>(QStringLiteral("seSetTime"))->setValue(0);
        QList<int> firstRow;
        connect(&Grid(), &QTableWidget::itemChanged, this, [&](QTableWidgetItem* item) {
            if (item->row() == 0 && item->column() == cState) firstRow << item->data(Qt::UserRole).toInt();
        });
        QSignalSpy finished(&Form(), &TTestSignalsForm::RunFinished);
        Click("btnStart");
        QVERIFY(Form().Running());
        QVERIFY(!Button("btnLoad").isEnabled());
        QVERIFY(!Button("btnStart").isEnabled());
        QVERIFY(finished.wait(10000));
        QVERIFY(!Form().Running());
        firstRow.erase(std::unique(firstRow.begin(), firstRow.end()), firstRow.end());
        QCOMPARE(firstRow, (QList<int>{5, 2, 3}));
        QCOMPARE(State(0), 3);
        QCOMPARE(State(1), 3);

        std::vector<int> codes;
        for (const auto& frame : sim.WaitFrames(10)) codes.push_back(frame["code"]);
        QCOMPARE(codes, (std::vector<int>{14, 15, 12, 10, 1, 2, 7, 14, 14, 15}));
        const QStringList protocol = ProtocolTexts();
        QVERIFY2(protocol.contains(QStringLiteral(" Ожидаем 1 сек.")), qPrintable(protocol.join(u'|')));
        QCOMPARE(protocol.last(), QStringLiteral("Передано успешно 2 сигналов из 2"));

        // A sent row is stored selected.
        ChooseThenAnswer(Path("after"));
        Click("btnSave");
        QCOMPARE(files::IniFile(Path("after.sfl").toStdString()).ReadInteger("Сигнал 0", "Статус", -1), 1);

        ChooseNext(Path("protocol"));
        Click("btnSaveProtocol");
        const std::string text = ReadAll(Path("protocol.txt").toStdString());
        QVERIFY(text.find("\r\n\r\n") != std::string::npos);  // separators are empty lines
        QVERIFY(text.find(" \xCF\xE5\xF0\xE5\xE4\xE0\xED\xEE \xF3\xF1\xEF\xE5\xF8\xED\xEE 2") != std::string::npos);
        Click("btnClearProtocol");
        QVERIFY(ProtocolTexts().isEmpty());

        // A sent row is selected again when the operator agrees.
        auto asked = uitest::AnswerNextMessage("btnOk");
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, CellCentre(0, cState));
        QCOMPARE(asked->Text, QStringLiteral("Сменить статус сигнала?"));
        QCOMPARE(State(0), 1);
    }

    // A long list loaded over a short one, reset and selected whole, and a
    // run's report of one row: each redraws the cells that changed and no
    // others, and the columns still fit what they show.
    // A description of two lines shows as two lines, as the signal window shows it.
    void ARowShowsItsSignalsDescriptionLineByLine() {
        const std::string signal = CopyExample("harmonics-dips-flicker.usa", "two-lines.usa").toStdString();
        sched::TSignalList list;
        list.Rows.push_back(sched::NewSignalRow(signal, 46000));
        const QString path = Path("two-lines.sfl");
        sched::WriteSignalList(path.toStdString(), list);
        Form().LoadListFile(path.toStdString());
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, CellCentre(0, cName));
        const QString shown = form_->findChild<QPlainTextEdit*>(QStringLiteral("mmDescription"))->toPlainText();
        QCOMPARE(shown,
                 QStringLiteral("220 В, 5 А, угол 30°: гармоники 3, 5, 7, интергармоники 2,5 и 7,5 (выключены);\n"
                                "провалы 30 % фазы A; колебания 8,8 Гц"));
    }

    void ALongListIsRedrawnWhereItChanged() {
        constexpr int kRows = 2000;
        const QString list = WriteLongList(kRows);
        Click("btnAddCommand");
        auto asked = AnswerThenChoose(list);
        Click("btnLoad");
        QVERIFY(!asked->isEmpty());
        QCOMPARE(Grid().rowCount(), kRows);
        QCOMPARE(StatesOff(), QList<int>());
        QCOMPARE(State(0), 1);
        QCOMPARE(State(1), 0);
        QCOMPARE(Cell(kRows - 1, cId), QString::number(kRows - 1));
        QCOMPARE(Cell(kRows - 1, cName), QStringLiteral("long.usa"));
        QCOMPARE(Cell(kRows - 2, cType), QStringLiteral("Сброс сигн."));
        QCOMPARE(Cell(kRows - 2, cDuration), QString::number((kRows - 2) % 7));
        QCOMPARE(ColumnsNotFitted(), QList<int>());

        const QList<int> reset = CellsChangedBy([this] { Click("btnResetAll"); });
        QCOMPARE(StatesOff(0), QList<int>());
        QCOMPARE(reset.size(), (kRows + 2) / 3);  // the selected rows only
        QVERIFY(std::all_of(reset.begin(), reset.end(), [](int cell) { return cell % 100 == cState; }));

        const QList<int> selected = CellsChangedBy([this] { Click("btnSelectAll"); });
        QCOMPARE(StatesOff(1), QList<int>());
        QCOMPARE(selected.size(), kRows);
        QVERIFY(std::all_of(selected.begin(), selected.end(), [](int cell) { return cell % 100 == cState; }));

        auto* events = Form().findChild<ui::TScheduleEventRelay*>(QStringLiteral("ScheduleEvents"));
        QVERIFY(events);
        const QList<int> reported = CellsChangedBy([&] { events->RowStateChanged(1500, sched::TRowState::Sent); });
        QCOMPARE(reported, QList<int>{1500 * 100 + cState});
        QCOMPARE(State(1500), 3);
        QCOMPARE(StatesOff(), QList<int>());

        ChooseMode("rbTime");
        QCOMPARE(Cell(kRows - 1, cEndTime), QStringLiteral("00:33:19"));
        QCOMPARE(ColumnsNotFitted(), QList<int>());
    }

    // The protocol's time and mark columns fit every line of a run, and the
    // list follows its last line.
    void TheProtocolFitsAndFollowsARun() {
        talvo_test::CalibratorSimulator sim("COM1");
        LinkToSimulator();
        for (int i = 0; i < 30; ++i) Click("btnAddCommand");
        Form().findChild<QSpinBox*>(QStringLiteral("seSetTime"))->setValue(0);
        QSignalSpy finished(&Form(), &TTestSignalsForm::RunFinished);
        Click("btnStart");
        QVERIFY(finished.wait(20000));
        auto* list = Form().findChild<QTreeWidget*>(QStringLiteral("lvProtocol"));
        form_->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        QTRY_VERIFY(list->isVisible());
        QVERIFY(list->topLevelItemCount() > 60);
        for (int column : {0, 2}) {
            const int wanted = std::max(static_cast<QAbstractItemView*>(list)->sizeHintForColumn(column),
                                        list->header()->sectionSizeHint(column));
            QCOMPARE(list->columnWidth(column), wanted);
        }
        QTreeWidgetItem* last = list->topLevelItem(list->topLevelItemCount() - 1);
        QTRY_VERIFY(list->viewport()->rect().contains(list->visualItemRect(last)));
        QCOMPARE(last->text(1), QStringLiteral("Передано успешно 30 сигналов из 30"));

        Click("btnClearProtocol");
        for (int column : {0, 2}) QCOMPARE(list->columnWidth(column), list->header()->sectionSizeHint(column));
    }

    void StopEndsARunAndClosingWaitsForIt() {
        talvo_test::CalibratorSimulator sim("COM1");
        LinkToSimulator();
        Click("btnAddCommand");
        EditDuration(0, 100);
        QSignalSpy finished(&Form(), &TTestSignalsForm::RunFinished);
        Click("btnStart");
        QTRY_VERIFY_WITH_TIMEOUT(ProtocolTexts().contains(QStringLiteral(" Ожидаем 100 сек.")), 5000);

        auto refused = uitest::AnswerNextMessage("btnOk");
        QVERIFY(!Form().close());
        QCOMPARE(refused->Text, QStringLiteral("Для закрытия остановите задание сигналов."));
        QVERIFY(Form().isVisible());
        QVERIFY(!Button("btnDelete").isEnabled());

        QElapsedTimer stopping;
        stopping.start();
        Click("btnStop");
        QVERIFY(finished.wait(2000));
        QVERIFY2(stopping.elapsed() < 1000, "the wait did not end at once");
        const QStringList protocol = ProtocolTexts();
        QVERIFY(protocol.contains(QStringLiteral("Остановка оператором")));
        QCOMPARE(protocol.last(), QStringLiteral("Передано успешно 0 сигналов из 1"));
        QCOMPARE(State(0), 2);
        QVERIFY(Form().close());
    }
};

QTEST_MAIN(ScheduleWindowTest)
#include "ScheduleWindowTest.moc"
