#pragma once

#include <QString>
#include <functional>
#include <memory>

class QDialog;

namespace uitest {

// Waits (processing events) until a modal dialog is shown, then hands it to
// `act`, which answers it; returns the dialog's window title, or an empty
// text when none came within the time. Call before the code that shows it.
void WhenModal(std::function<void(QDialog&)> act, int timeoutMs = 5000);

// The next modal dialog's text (its "Label1") and title, answered by
// clicking the button with that object name ("btnOk", "btnCancel").
struct TAnswered {
    QString Title;
    QString Text;
    bool Seen = false;
};
std::shared_ptr<TAnswered> AnswerNextMessage(const char* buttonName);

}  // namespace uitest
