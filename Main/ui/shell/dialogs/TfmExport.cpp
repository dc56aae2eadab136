#include "ui/shell/dialogs/TfmExport.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <chrono>

#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "export/ExcelExport.h"
#include "files/DataFolders.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

constexpr int kSignalCount = 10;
constexpr int kPathLabelWidth = 260;
// Workbook packages are what the export writes; an .xls chosen anyway is
// refused by the export with a message that says what to do.
const QString kFilter = QStringLiteral("Шаблоны MS Excel (*.xls *.xlsx *.xlsm)");
const QString kPrompt = QStringLiteral("Выберите сигнал и файл шаблона");

QLabel* PathLabel(const QString& text, const char* name) {
    auto* label = NamedLabel(text, name);
    label->setFixedWidth(kPathLabelWidth);
    return label;
}

// A long file name is shortened in the middle; the whole path is its hint.
void ShowPath(QLabel* label, const std::string& path) {
    const QString full = Q(path);
    const QString name = QFileInfo(full).fileName();
    label->setText(label->fontMetrics().elidedText(name, Qt::ElideMiddle, label->width()));
    label->setToolTip(full);
    label->setAccessibleName(name);
}

std::string Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return U(dialog.selectedFiles().front());
}

}  // namespace

// The export's messages come after the wait is over: the cursor and the
// buttons are back before any of them is shown.
class TfmExport::TDialogLog : public cmn::IProtocolLog {
public:
    explicit TDialogLog(TfmExport& dialog) : dialog_(dialog) {}
    void Log(cmn::LogType, const std::string& text) override { Ask(text, cmn::MessageKind::Ok, cmn::Buttons::Ok); }
    bool Interactive() const override { return true; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override {
        dialog_.SetBusy(false);
        return AskUser(text, kind, buttons);
    }

private:
    TfmExport& dialog_;
};

TfmExport::TfmExport(QWidget* parent) : TfmExport(std::make_unique<xls::TDesktopOpener>(), parent) {}

TfmExport::TfmExport(std::unique_ptr<xls::IWorkbookOpener> opener, QWidget* parent)
    : TShellDialog(QStringLiteral("Экспорт параметров"), "fmExport", parent),
      opener_(std::move(opener)),
      log_(std::make_unique<TDialogLog>(*this)) {
    export_ = NamedButton(QStringLiteral("Экспорт"), "btnExport");
    export_->setDefault(true);
    cancel_ = NamedButton(QStringLiteral("Отмена"), "btnCancel");
    connect(export_, &QPushButton::clicked, this, &TfmExport::Export);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    status_ = new QStatusBar;
    NameControl(status_, "StatusBar1");
    status_->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout;
    layout->addWidget(ColumnGroup());
    layout->addWidget(TemplateGroup());
    layout->addWidget(KindGroup());
    layout->addLayout(ButtonRow({export_, cancel_}));
    layout->addWidget(status_);
    SetBody(layout);
}

TfmExport::~TfmExport() = default;

QWidget* TfmExport::ColumnGroup() {
    auto* group = new QGroupBox(QStringLiteral("№№ колонки"));
    NameControl(group, "gb_column", group->title());
    signals_ = new QListWidget;
    NameControl(signals_, "lb_signals", group->title());
    for (int k = 1; k <= kSignalCount; ++k) signals_->addItem(QStringLiteral("Сигнал %1").arg(k));
    signals_->setCurrentRow(0);
    signals_->setFixedSize(120, 5 * signals_->sizeHintForRow(0) + 2 * signals_->frameWidth());
    column_ = new QLineEdit;
    NameControl(column_, "e_column", group->title());
    column_->setFixedWidth(60);
    column_->setAlignment(Qt::AlignRight);
    column_->installEventFilter(this);
    connect(signals_, &QListWidget::currentRowChanged, this, &TfmExport::ProposeColumn);
    auto* row = new QHBoxLayout(group);
    row->addWidget(signals_);
    row->addWidget(column_, 0, Qt::AlignTop);
    row->addStretch();
    return group;
}

QWidget* TfmExport::TemplateGroup() {
    auto* group = new QGroupBox(QStringLiteral("Имя шаблона"));
    NameControl(group, "gb_template", group->title());
    template_ = PathLabel(QStringLiteral("Шаблон не выбран "), "lb_template");
    template_->setAccessibleName(group->title());
    auto* choose = NamedButton(QStringLiteral("Выбрать"), "btnSelect", QStringLiteral("Выбрать шаблон"));
    connect(choose, &QPushButton::clicked, this, &TfmExport::ChooseTemplate);
    auto* row = new QHBoxLayout(group);
    row->addWidget(template_);
    row->addWidget(choose);
    return group;
}

QWidget* TfmExport::KindGroup() {
    auto* group = new QGroupBox(QStringLiteral("Тип экспорта"));
    NameControl(group, "gb_kind", group->title());
    auto* intoTemplate = new QRadioButton(QStringLiteral("в шаблон"));
    NameControl(intoTemplate, "rb_template", intoTemplate->text());
    intoTemplate->setChecked(true);
    intoNewFile_ = new QRadioButton(QStringLiteral("в новый файл на основе шаблона"));
    NameControl(intoNewFile_, "rb_new_file", intoNewFile_->text());
    output_ = PathLabel(QStringLiteral("Файл экспорта не указан"), "lb_export_file");
    chooseOutput_ = NamedButton(QStringLiteral("Указать"), "btnChooseOutput");
    connect(chooseOutput_, &QPushButton::clicked, this, &TfmExport::ChooseOutput);
    connect(intoNewFile_, &QRadioButton::toggled, this, &TfmExport::ShowKind);
    // The rows keep their place while hidden, so the dialog keeps its size.
    for (QWidget* w : {static_cast<QWidget*>(output_), static_cast<QWidget*>(chooseOutput_)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(output_);
    outputRow->addWidget(chooseOutput_);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(intoTemplate);
    layout->addWidget(intoNewFile_);
    layout->addLayout(outputRow);
    ShowKind();
    return group;
}

bool TfmExport::Execute(const sig::TSignalSet& signal) {
    signal_ = &signal;
    const int result = exec();
    signal_ = nullptr;
    return result == QDialog::Accepted;
}

void TfmExport::showEvent(QShowEvent* event) {
    TShellDialog::showEvent(event);
    ProposeColumn();
    status_->showMessage(kPrompt);
}

// Enter in the column field selects its text instead of exporting.
bool TfmExport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == column_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            column_->selectAll();
            return true;
        }
    }
    return TShellDialog::eventFilter(watched, event);
}

void TfmExport::ProposeColumn() {
    column_->setText(Q(std::to_string(xls::ProposedColumn(std::max(signals_->currentRow(), 0)))));
}

void TfmExport::ChooseTemplate() {
    QFileDialog dialog(this, QStringLiteral("Выбор шаблона MS Excel"), Q(files::TemplateFolder()), kFilter);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const std::string path = Chosen(dialog);
    if (path.empty()) return;
    templatePath_ = path;
    ShowPath(template_, templatePath_);
}

// The export folder is made when it is first needed; the proposed name is
// the time and the template's extension, so the copy opens as what it is.
void TfmExport::ChooseOutput() {
    const std::string folder = files::ExportFolder();
    try {
        files::CreateFolder(folder);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return;
    }
    const std::string proposed = xls::ProposedExportFileName(std::chrono::system_clock::now(), templatePath_);
    QFileDialog dialog(this, QStringLiteral("Файл для экспорта MS Excel"), Q(folder), kFilter);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QFileInfo(Q(proposed)).suffix());
    dialog.selectFile(Q(proposed));
    const std::string path = Chosen(dialog);
    if (path.empty()) return;
    outputPath_ = path;
    ShowPath(output_, outputPath_);
}

void TfmExport::ShowKind() {
    output_->setVisible(intoNewFile_->isChecked());
    chooseOutput_->setVisible(intoNewFile_->isChecked());
}

void TfmExport::Export() {
    if (!signal_) return;
    const std::string columnText = U(column_->text());
    xls::TExportRequest request;
    request.TemplatePath = templatePath_;
    request.IntoNewFile = intoNewFile_->isChecked();
    request.OutputPath = outputPath_;
    SetBusy(true);
    const bool exported = xls::ExportFromDialog(columnText, request, *signal_, *log_, *opener_);
    SetBusy(false);
    if (exported) {
        accept();
    } else if (!cmn::ParseInt(columnText)) {
        column_->setFocus(Qt::OtherFocusReason);
        column_->selectAll();
    }
}

void TfmExport::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    export_->setEnabled(!busy);
    cancel_->setEnabled(!busy);
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        status_->showMessage(QStringLiteral("Подключение к Excel и экспорт данных..."));
        repaint();
    } else {
        QApplication::restoreOverrideCursor();
        status_->showMessage(kPrompt);
    }
}

}  // namespace ui
