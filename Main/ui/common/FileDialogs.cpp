#include "ui/common/FileDialogs.h"

#include <QFileDialog>

#include "ui/common/Texts.h"

namespace ui {
namespace {

// The descriptions carry their patterns, which is all Qt's name filters need.
QStringList NameFilters(std::string_view filter) {
    QStringList names;
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) names << parts[i];
    return names;
}

}  // namespace

TFileChoice OpenFileChoice(std::string title, std::string folder, std::string_view filter, int filterIndex) {
    TFileChoice choice;
    choice.Title = std::move(title);
    choice.Folder = std::move(folder);
    choice.Filter = filter;
    choice.FilterIndex = filterIndex;
    return choice;
}

TFileChoice SaveFileChoice(std::string title, std::string folder, std::string_view filter, int filterIndex,
                           std::string defaultExtension, std::string fileName) {
    TFileChoice choice = OpenFileChoice(std::move(title), std::move(folder), filter, filterIndex);
    choice.ObjectName = "SaveDialog1";
    choice.Save = true;
    choice.DefaultExtension = std::move(defaultExtension);
    choice.FileName = std::move(fileName);
    return choice;
}

std::optional<std::string> ChooseFile(QWidget* parent, const TFileChoice& choice) {
    QFileDialog dialog(parent, Q(choice.Title), Q(choice.Folder));
    dialog.setObjectName(QString::fromLatin1(choice.ObjectName));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(choice.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!choice.Save) dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(choice.Filter);
    dialog.setNameFilters(filters);
    if (choice.FilterIndex >= 1 && choice.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[choice.FilterIndex - 1]);
    if (!choice.DefaultExtension.empty()) dialog.setDefaultSuffix(Q(choice.DefaultExtension));
    if (!choice.FileName.empty()) dialog.selectFile(Q(choice.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return U(dialog.selectedFiles().front());
}

}  // namespace ui
