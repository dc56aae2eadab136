#include "ui/shell/dialogs/ShellDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ui/common/Texts.h"

namespace ui {

TShellDialog::TShellDialog(const QString& caption, const char* objectName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    setAccessibleName(caption);
}

void TShellDialog::SetBody(QLayout* layout) {
    setLayout(layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->activate();
}

// Centred on the screen the dialog appears on, not over its owner window.
void TShellDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

QLabel* NamedLabel(const QString& text, const QByteArray& name) {
    auto* label = new QLabel(text);
    NameControl(label, name.constData(), text);
    return label;
}

QPushButton* NamedButton(const QString& text, const char* name, const QString& hint) {
    auto* button = new QPushButton(text);
    NameControl(button, name, text);
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons, bool centred) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* button : buttons) row->addWidget(button);
    if (centred) row->addStretch();
    return row;
}

}  // namespace ui
