#include "DialogAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace uitest {

void WhenModal(std::function<void(QDialog&)> act, int timeoutMs) {
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, timeoutMs, started, poll] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            act(*dialog);
            return;
        }
        if (started->elapsed() < timeoutMs) QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

std::shared_ptr<TAnswered> AnswerNextMessage(const char* buttonName) {
    auto answered = std::make_shared<TAnswered>();
    const QString name = QString::fromLatin1(buttonName);
    WhenModal([answered, name](QDialog& dialog) {
        answered->Seen = true;
        answered->Title = dialog.windowTitle();
        if (auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"))) answered->Text = label->text();
        if (auto* button = dialog.findChild<QAbstractButton*>(name)) QTest::mouseClick(button, Qt::LeftButton);
        else dialog.reject();
    });
    return answered;
}

}  // namespace uitest
