#pragma once

#include <optional>

#include "editor/DialogRules.h"
#include "ui/shell/dialogs/ShellDialog.h"

class QComboBox;

namespace ui {

class TCheckedFields;

// "Номинальные значения" of a signal window: phase and line voltage, each
// checked when its field is left, and the nominal frequency.
class TfmSignalNominals : public TShellDialog {
    Q_OBJECT
public:
    // Raises cmn::TalvoError when the frequency is none of the list's.
    explicit TfmSignalNominals(const edit::TSignalNominals& given, QWidget* parent = nullptr);

    edit::TSignalNominals Result() const;
    // Shows the dialog modally: the values after "Принять", nothing after
    // "Отменить". Raises before showing anything, as the constructor does.
    static std::optional<edit::TSignalNominals> Edit(const edit::TSignalNominals& given, QWidget* parent = nullptr);

private:
    void Accept();

    edit::TSignalNominals values_;
    QComboBox* frequency_ = nullptr;
    TCheckedFields* checks_ = nullptr;
};

}  // namespace ui
