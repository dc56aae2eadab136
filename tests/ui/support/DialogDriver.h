#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>

class QDialog;
class QWidget;

namespace uitest {

// Answers every message dialog that appears while it lives, by the button
// with the given name, and keeps what each said.
class TMessageLog : public QObject {
public:
    explicit TMessageLog(const char* buttonName = "btnOk");
    ~TMessageLog() override;
    QStringList Texts;
    QStringList Titles;
    // For each message: whether it offered "Нет".
    QList<bool> WithNo;

private:
    void Poll();
    QString button_;
    int timer_ = 0;

protected:
    void timerEvent(QTimerEvent*) override { Poll(); }
};

// Acts on the modal dialog with this object name once it is shown (also
// one opened from another modal dialog).
void OnModal(const char* objectName, std::function<void(QDialog&)> act, int timeoutMs = 5000);
// The same for whichever modal dialog is shown next.
void WhenModal(std::function<void(QDialog&)> act, int timeoutMs = 5000);

// The next message box only: its title and text, answered by clicking the
// button with that object name ("btnOk", "btnCancel").
struct TAnswered {
    QString Title;
    QString Text;
    bool Seen = false;
};
std::shared_ptr<TAnswered> AnswerNextMessage(const char* buttonName);

// Types the path into a file dialog and closes it with OK. The dialog's own
// checks on OK race the thread that reads its folder; they are passed by.
void ChooseInFileDialog(QDialog& files, const QString& path);

// Every Qt warning fails the test, except the offscreen platform's note
// that it cannot pass on the size limits of a fixed-size window.
void FailOnWarnings();

// UTF-8 texts as a list, for comparisons.
QStringList Texts(std::initializer_list<const char*> texts);

// The widget that has the keyboard focus, or the one the window gives it
// to when active: its name, its class when unnamed, "" when none.
QString FocusName(const QWidget* window = nullptr);

}  // namespace uitest
