#pragma once

#include <QObject>
#include <memory>
#include <string_view>

#include "TempFolder.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

namespace uitest {

// A test class of the signal window: each test gets a settings folder of
// its own and a main window without the library; every Qt warning fails it.
class TSignalWindowFixture : public QObject {
    Q_OBJECT
protected:
    // The main window shown and active, with a new signal window on `tab`.
    ui::TForm2& Window(std::string_view tab);

    std::unique_ptr<talvo_test::TempSettings> settings_;
    std::unique_ptr<ui::TfmMain> main_;

private Q_SLOTS:
    void init();
    void cleanup();
};

}  // namespace uitest
