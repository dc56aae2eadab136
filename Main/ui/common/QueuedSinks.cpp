#include "ui/common/QueuedSinks.h"

#include <QMetaObject>
#include <QThread>

#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"

namespace ui {

void RunOnThreadOf(QObject* context, const std::function<void()>& work) {
    if (QThread::currentThread() == context->thread()) work();
    else QMetaObject::invokeMethod(context, work, Qt::BlockingQueuedConnection);
}

void TStatusRelay::Post(std::uint32_t message, int code) { Q_EMIT Posted(message, code); }

void TWindowProtocolLog::Log(cmn::LogType type, const std::string& text) {
    Q_EMIT Logged(static_cast<int>(type), Q(text));
}

bool TWindowProtocolLog::Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) {
    bool yes = false;
    RunOnThreadOf(this, [&] { yes = AskUser(text, kind, buttons); });
    return yes;
}

bool TWindowCountdown::Run(int seconds) {
    bool ranOut = false;
    RunOnThreadOf(this, [&] { ranOut = show_(seconds); });
    return ranOut;
}

}  // namespace ui
