#pragma once

#include <QWidget>

class QPushButton;

namespace ui {

// The schedule window, created hidden with the main window and shown on demand.
// A run goes on while its stop button is enabled.
class TTestSignalsForm : public QWidget {
    Q_OBJECT
public:
    explicit TTestSignalsForm(QWidget* parent = nullptr);
    bool Running() const;

private:
    QPushButton* stop_;
};

}  // namespace ui
