#pragma once

#include <string_view>

#include "ui/shell/dialogs/ShellDialog.h"

namespace ui {

// "Идентификация ПО": name, identification name, version, digest and its
// algorithm of the calibrator's program and of the signal library.
class TfmIdentify : public TShellDialog {
    Q_OBJECT
public:
    // The digests as 32 hexadecimal digits; they are shown in groups of four.
    TfmIdentify(std::string_view calibratorDigest, std::string_view libraryDigest, QWidget* parent = nullptr);
};

}  // namespace ui
