// The export dialog over the real export: file dialogs answered, the
// template copied into a temporary folder, the opener replaced by a record.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "DialogDriver.h"
#include "export/ExcelExport.h"
#include "signal/SignalSet.h"
#include "ui/shell/dialogs/TfmExport.h"

using uitest::OnModal;
using uitest::TMessageLog;

namespace {

class TRecordingOpener : public xls::IWorkbookOpener {
public:
    explicit TRecordingOpener(std::vector<std::string>& opened) : opened_(opened) {}
    bool Open(const std::string& path) override {
        opened_.push_back(path);
        return true;
    }

private:
    std::vector<std::string>& opened_;
};

template <class T>
T* Child(QWidget& dialog, const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

void Click(QWidget& dialog, const char* name) { QTest::mouseClick(Child<QPushButton>(dialog, name), Qt::LeftButton); }

// Chooses the file in the file dialog that the button opens.
void ChooseFile(QWidget& dialog, const char* button, const char* fileDialog, const QString& path) {
    OnModal(fileDialog, [path](QDialog& shown) { uitest::ChooseInFileDialog(shown, path); });
    Click(dialog, button);
}

}  // namespace

class TestExportDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(home_.isValid());
        // The export folder lies under the documents of this home.
        qputenv("HOME", QFile::encodeName(home_.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.path() + QStringLiteral("/.config")));
        QVERIFY(QFile::copy(QStringLiteral(TALVO_SOURCE_DIR "/examples/ExportTemplate.xlsx"), TemplatePath()));
        QFile::setPermissions(TemplatePath(), QFile::ReadOwner | QFile::WriteOwner);
    }
    void init() { uitest::FailOnWarnings(); }

    // "Сигнал 3" proposes column 10; typing 7 exports into the template
    // itself, which is then shown, and the dialog closes with OK.
    void exportIntoTheTemplate() {
        std::vector<std::string> opened;
        ui::TfmExport dialog(std::make_unique<TRecordingOpener>(opened), nullptr);
        const QByteArray before = Bytes(TemplatePath());
        TMessageLog messages;
        QString status, proposed;
        OnModal("fmExport", [&](QDialog& shown) {
            status = Child<QStatusBar>(shown, "StatusBar1")->currentMessage();
            QVERIFY(!Child<QPushButton>(shown, "btnChooseOutput")->isVisible());
            ChooseFile(shown, "btnSelect", "OpenDialog1", TemplatePath());
            QCOMPARE(Child<QLabel>(shown, "lb_template")->text(), QStringLiteral("template.xlsx"));
            Child<QListWidget>(shown, "lb_signals")->setCurrentRow(2);
            auto* column = Child<QLineEdit>(shown, "e_column");
            proposed = column->text();
            column->setFocus();
            column->selectAll();
            QTest::keyClicks(column, QStringLiteral("7"));
            QTest::keyClick(column, Qt::Key_Return);
            QVERIFY(shown.isVisible());
            QCOMPARE(column->selectedText(), QStringLiteral("7"));
            Click(shown, "btnExport");
        });
        const sig::TSignalSet signal{};
        QVERIFY(dialog.Execute(signal));
        QCOMPARE(status, QStringLiteral("Выберите сигнал и файл шаблона"));
        QCOMPARE(proposed, QStringLiteral("10"));
        QCOMPARE(messages.Texts, QStringList{QStringLiteral("Экспорт выполнен")});
        QCOMPARE(opened, std::vector<std::string>{TemplatePath().toStdString()});
        QVERIFY(Bytes(TemplatePath()) != before);
    }

    // A column that is no number is refused and the field gets the focus;
    // without a template the export says so; "Отмена" then closes.
    void refusalsKeepTheDialogOpen() {
        std::vector<std::string> opened;
        ui::TfmExport dialog(std::make_unique<TRecordingOpener>(opened), nullptr);
        TMessageLog messages;
        QString focusAfterRefusal;
        bool buttonsBack = false;
        OnModal("fmExport", [&](QDialog& shown) {
            Child<QLineEdit>(shown, "e_column")->setText(QStringLiteral("седьмая"));
            Click(shown, "btnExport");
            focusAfterRefusal = uitest::FocusName(&shown);
            Child<QLineEdit>(shown, "e_column")->setText(QStringLiteral("7"));
            Click(shown, "btnExport");
            buttonsBack = Child<QPushButton>(shown, "btnExport")->isEnabled() &&
                          Child<QPushButton>(shown, "btnCancel")->isEnabled();
            Click(shown, "btnCancel");
        });
        const sig::TSignalSet signal{};
        QVERIFY(!dialog.Execute(signal));
        QCOMPARE(
            messages.Texts,
            (uitest::Texts({"Ошибка при вводе номера столбца!", "Шаблон для экспорта не указан!", "Ошибка экспорта"})));
        QCOMPARE(focusAfterRefusal, QStringLiteral("e_column"));
        QVERIFY(buttonsBack);
        QVERIFY(opened.empty());
    }

    // A new file is proposed in the export folder, named by the time and
    // ending in the template's extension.
    void newFileNameFollowsTheTemplate() {
        const QString macroTemplate = home_.path() + QStringLiteral("/macros.xlsm");
        QVERIFY(QFile::copy(TemplatePath(), macroTemplate));
        std::vector<std::string> opened;
        ui::TfmExport dialog(std::make_unique<TRecordingOpener>(opened), nullptr);
        QString proposed, folder, label;
        OnModal("fmExport", [&](QDialog& shown) {
            ChooseFile(shown, "btnSelect", "OpenDialog1", macroTemplate);
            QTest::mouseClick(Child<QRadioButton>(shown, "rb_new_file"), Qt::LeftButton);
            QVERIFY(Child<QPushButton>(shown, "btnChooseOutput")->isVisible());
            OnModal("SaveDialog1", [&](QDialog& files) {
                proposed = Child<QLineEdit>(files, "fileNameEdit")->text();
                folder = static_cast<QFileDialog&>(files).directory().absolutePath();
                uitest::ChooseInFileDialog(files, home_.path() + QStringLiteral("/out.xlsm"));
            });
            Click(shown, "btnChooseOutput");
            label = Child<QLabel>(shown, "lb_export_file")->text();
            Click(shown, "btnCancel");
        });
        const sig::TSignalSet signal{};
        QVERIFY(!dialog.Execute(signal));
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{6}_\\d{9}\\.xlsm$")).match(proposed).hasMatch(),
                 qPrintable(proposed));
        QCOMPARE(folder, home_.path() + QStringLiteral("/Documents/Ostra/Калибратор Talvo/Экспорт"));
        QVERIFY(QDir(folder).exists());
        QCOMPARE(label, QStringLiteral("out.xlsm"));
    }

private:
    QString TemplatePath() const { return home_.path() + QStringLiteral("/template.xlsx"); }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir home_;
};

int RunExportDialogTests(int argc, char** argv) {
    TestExportDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "ExportDialogTest.moc"
