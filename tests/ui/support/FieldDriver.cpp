#include "FieldDriver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "editor/SignalFields.h"
#include "ui/signal/SignalWindow.h"

namespace uitest {

QString Shown(ui::TForm2& form, const char* name) {
    QWidget* control = form.findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* field = qobject_cast<QLineEdit*>(control)) return field->text();
    return static_cast<QLabel*>(control)->text();
}

QString Expected(ui::TForm2& form, const char* name, int phase) {
    return QString::fromStdString(edit::FieldText(*edit::FieldByName(name), form.Signal(), phase));
}

QWidget* Focus() {
    // When none comes the caller sees the missing focus.
    static_cast<void>(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 2000));
    return QApplication::focusWidget();
}

void TypeOver(const QString& text) {
    QWidget* focus = Focus();
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focus, text);
}

void Press(int key) { QTest::keyClick(Focus(), static_cast<Qt::Key>(key)); }

}  // namespace uitest
