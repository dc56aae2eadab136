#pragma once

class QApplication;

namespace ui {

// With TALVO_AUTOMATION=1 in the environment, every named widget, also
// those created later, carries its object name as its accessible
// description, so that scripts find controls over AT-SPI.
void InstallAutomationNames(QApplication& app);

}  // namespace ui
