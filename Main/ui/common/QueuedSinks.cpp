#include "ui/common/QueuedSinks.h"

#include <QWidget>

#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"

namespace ui {

void TStatusRelay::Post(std::uint32_t message, int code) { Q_EMIT Posted(message, code); }

void TWindowProtocolLog::Log(cmn::LogType type, const std::string& text) {
    Q_EMIT Logged(static_cast<int>(type), Q(text));
}

TWindowProtocolLog::TWindowProtocolLog(QObject* parent) : QObject(parent) {
    answers_->SetOwner(qobject_cast<QWidget*>(parent));
}

TWindowProtocolLog::~TWindowProtocolLog() { answers_->Cancel(); }

bool TWindowProtocolLog::Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) {
    return answers_->Ask(
        [text = std::string(text), kind, buttons](QWidget* parent) { return AskUser(text, kind, buttons, parent); });
}

}  // namespace ui
