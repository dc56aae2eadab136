#pragma once

#include "ui/shell/dialogs/ShellDialog.h"

namespace ui {

// "О программе": what the program is for, its name and version.
class TfmAbout : public TShellDialog {
    Q_OBJECT
public:
    explicit TfmAbout(QWidget* parent = nullptr);
};

}  // namespace ui
