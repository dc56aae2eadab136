#include "DialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
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

namespace {

// Polls for a shown modal dialog that `wanted` accepts and hands it to `act`;
// the poll ends with the dialog or after the time, and frees itself.
void ActOnModal(std::function<bool(const QDialog&)> wanted, std::function<void(QDialog&)> act, int timeoutMs) {
    auto* timer = new QTimer(QCoreApplication::instance());
    QElapsedTimer started;
    started.start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, wanted, act, timeoutMs, started] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        const bool shown = dialog && dialog->isVisible() && wanted(*dialog);
        if (!shown && started.elapsed() < timeoutMs) return;
        timer->stop();
        timer->deleteLater();
        if (shown) act(*dialog);
    });
    timer->start(10);
}

}  // namespace

void OnModal(const char* objectName, std::function<void(QDialog&)> act, int timeoutMs) {
    const QString name = QString::fromLatin1(objectName);
    ActOnModal([name](const QDialog& d) { return d.objectName() == name; }, std::move(act), timeoutMs);
}

void WhenModal(std::function<void(QDialog&)> act, int timeoutMs) {
    ActOnModal([](const QDialog&) { return true; }, std::move(act), timeoutMs);
}

std::shared_ptr<TAnswered> AnswerNextMessage(const char* buttonName) {
    auto answered = std::make_shared<TAnswered>();
    const QString name = QString::fromLatin1(buttonName);
    OnModal("fmMsg", [answered, name](QDialog& dialog) {
        answered->Seen = true;
        answered->Title = dialog.windowTitle();
        if (auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"))) answered->Text = label->text();
        if (auto* button = dialog.findChild<QAbstractButton*>(name)) QTest::mouseClick(button, Qt::LeftButton);
        else dialog.reject();
    });
    return answered;
}

void ChooseInFileDialog(QDialog& files, const QString& path) {
    files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
    files.done(QDialog::Accepted);
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
