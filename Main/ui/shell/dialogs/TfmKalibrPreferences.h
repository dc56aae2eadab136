#pragma once

#include <array>
#include <optional>

#include "editor/DialogRules.h"
#include "signal/Correction.h"
#include "ui/shell/dialogs/ShellDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace ui {

class TCheckedFields;

// What the calibrator preferences edit; the caller stores it on OK.
struct TPreferences {
    sig::TCorrectionRecord Correction{};
    int Modification = 0;
};

// "Параметры калибратора": the calibrator modification and the 13
// correction coefficients, each checked when its field is left.
class TfmKalibrPreferences : public TShellDialog {
    Q_OBJECT
public:
    explicit TfmKalibrPreferences(const TPreferences& given, QWidget* parent = nullptr);

    // The correction as edited and the modification selected.
    TPreferences Result() const;
    // Shows the dialog modally: the result after "Принять", nothing after "Отменить".
    static std::optional<TPreferences> Edit(const TPreferences& given, QWidget* parent = nullptr);

private:
    QWidget* CommonPage(int modification);
    QWidget* CalibrationPage();
    void PageChanged(int index);
    void EnterAccepted(std::size_t index);
    void Restore();
    void Accept();

    edit::TCorrectionForm form_;
    QTabWidget* pages_;
    QComboBox* modification_ = nullptr;
    std::array<QLineEdit*, sig::kCorrectionCount> fields_{};
    QPushButton* ok_ = nullptr;
    TCheckedFields* checks_ = nullptr;
};

}  // namespace ui
