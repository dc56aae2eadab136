#pragma once

#include <memory>
#include <string>

#include "ui/shell/dialogs/ShellDialog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace sig {
struct TSignalSet;
}
namespace xls {
class IWorkbookOpener;
}

namespace ui {

// "Экспорт параметров": the column, the template and where the export goes,
// for one signal. Made once for the program's run, so the chosen template
// and export file stay chosen from one export to the next.
class TfmExport : public TShellDialog {
    Q_OBJECT
public:
    // A finished workbook is shown with the desktop's spreadsheet program.
    explicit TfmExport(QWidget* parent = nullptr);
    TfmExport(std::unique_ptr<xls::IWorkbookOpener> opener, QWidget* parent);
    ~TfmExport() override;

    // Shows the dialog modally for the signal, recomputed by the caller:
    // true when it was exported (the dialog closed with OK).
    bool Execute(const sig::TSignalSet& signal);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TDialogLog;

    QWidget* ColumnGroup();
    QWidget* TemplateGroup();
    QWidget* KindGroup();
    void ProposeColumn();
    void ChooseTemplate();
    void ChooseOutput();
    void ShowKind();
    void Export();
    void SetBusy(bool busy);

    std::unique_ptr<xls::IWorkbookOpener> opener_;
    std::unique_ptr<TDialogLog> log_;
    const sig::TSignalSet* signal_ = nullptr;
    std::string templatePath_;
    std::string outputPath_;
    bool busy_ = false;

    QListWidget* signals_ = nullptr;
    QLineEdit* column_ = nullptr;
    QLabel* template_ = nullptr;
    QRadioButton* intoNewFile_ = nullptr;
    QLabel* output_ = nullptr;
    QPushButton* chooseOutput_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QStatusBar* status_ = nullptr;
};

}  // namespace ui
