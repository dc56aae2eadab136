#include "DialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace uitest {

TMessageLog::TMessageLog(const char* buttonName) : button_(QString::fromLatin1(buttonName)) { timer_ = startTimer(10); }

TMessageLog::~TMessageLog() { killTimer(timer_); }

void TMessageLog::Poll() {
    QPointer<QDialog> message = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!message || message->objectName() != QLatin1String("fmMsg") || !message->isVisible()) return;
    // Answer each message once, even if polled again while it closes.
    if (message->property("answered").toBool()) return;
    message->setProperty("answered", true);
    Titles << message->windowTitle();
    auto* label = message->findChild<QLabel*>(QStringLiteral("Label1"));
    Texts << (label ? label->text() : QString());
    auto* no = message->findChild<QAbstractButton*>(QStringLiteral("btnCancel"));
    WithNo << (no && no->isVisible());
    QWidget* owner = message->parentWidget() ? message->parentWidget()->window() : nullptr;
    if (auto* button = message->findChild<QAbstractButton*>(button_)) QTest::mouseClick(button, Qt::LeftButton);
    else message->reject();
    // What a window manager does when a message box closes; the offscreen
    // platform leaves no window active.
    if (owner && owner->isVisible()) owner->activateWindow();
}

void OnModal(const char* objectName, std::function<void(QDialog&)> act, int timeoutMs) {
    const QString name = QString::fromLatin1(objectName);
    auto* timer = new QTimer(QCoreApplication::instance());
    QElapsedTimer started;
    started.start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name, act, timeoutMs, started] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        const bool shown = dialog && dialog->objectName() == name && dialog->isVisible();
        if (!shown && started.elapsed() < timeoutMs) return;
        timer->stop();
        timer->deleteLater();
        if (shown) act(*dialog);
    });
    timer->start(10);
}

void FailOnWarnings() {
    QTest::failOnWarning(
        QRegularExpression(QStringLiteral("^(?!This plugin does not support propagateSizeHints\\(\\)$)")));
}

QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) list << QString::fromUtf8(text);
    return list;
}

QString FocusName(const QWidget* window) {
    const QWidget* focus = window ? window->focusWidget() : QApplication::focusWidget();
    if (!focus) return QString();
    return focus->objectName().isEmpty() ? QString::fromLatin1(focus->metaObject()->className()) : focus->objectName();
}

}  // namespace uitest
