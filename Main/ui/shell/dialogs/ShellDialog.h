#pragma once

#include <QDialog>
#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QLayout;
class QPushButton;

namespace ui {

// The frame every dialog of the shell shares: its caption and name, a size
// fixed to what its layout needs, and a place in the middle of the screen.
class TShellDialog : public QDialog {
    Q_OBJECT
public:
    TShellDialog(const QString& caption, const char* objectName, QWidget* parent);

protected:
    // Takes the dialog's layout and fixes the size to it.
    void SetBody(QLayout* layout);
    void showEvent(QShowEvent* event) override;
};

// Parts the dialogs share; every one carries its name and, for screen
// readers, its caption.
QLabel* NamedLabel(const QString& text, const QByteArray& name);
QPushButton* NamedButton(const QString& text, const char* name, const QString& hint = {});
// The buttons in one row, at its right end or in its middle.
QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons, bool centred = false);

}  // namespace ui
