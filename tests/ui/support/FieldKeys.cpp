#include "FieldKeys.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace uitest {

QString ShownText(const QWidget& window, const char* name) {
    QWidget* control = window.findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* field = qobject_cast<QLineEdit*>(control)) return field->text();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    return QStringLiteral("(no control %1)").arg(QString::fromLatin1(name));
}

QWidget* WaitForFocus() {
    // When none comes the caller sees the missing focus.
    static_cast<void>(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 2000));
    return QApplication::focusWidget();
}

void TypeOver(const QString& text) {
    QWidget* focus = WaitForFocus();
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focus, text);
}

void Press(Qt::Key key) { QTest::keyClick(WaitForFocus(), key); }

}  // namespace uitest
