#include "ui/common/DeviceWork.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QWidget>

#include "ui/common/MessageDialog.h"

namespace ui {

void PostToWindowThread(std::function<void()> work) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

namespace {

bool OnWindowThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

}  // namespace

// The question runs later on the window thread and may outlive this wait
// (a cancelled wait returns before the question is answered): what both
// sides share is held by shared pointers.
bool TWindowAnswers::Ask(const std::function<bool(QWidget*)>& question, bool cancelled) {
    if (OnWindowThread()) return Cancelled() ? cancelled : question(owner_);
    struct TPending {
        bool Done = false;
        bool Answer = false;
    };
    auto pending = std::make_shared<TPending>();
    PostToWindowThread([self = shared_from_this(), pending, question, cancelled] {
        const bool answer = self->Cancelled() ? cancelled : question(self->owner_);
        {
            const std::lock_guard guard(self->lock_);
            pending->Answer = answer;
            pending->Done = true;
        }
        self->answered_.notify_all();
    });
    std::unique_lock guard(lock_);
    answered_.wait(guard, [&] { return pending->Done || cancelled_; });
    return pending->Done ? pending->Answer : cancelled;
}

void TWindowAnswers::Cancel() {
    {
        const std::lock_guard guard(lock_);
        cancelled_ = true;
    }
    answered_.notify_all();
}

bool TWindowAnswers::Cancelled() const {
    const std::lock_guard guard(lock_);
    return cancelled_;
}

TWorkerLog::TWorkerLog(QPointer<QObject> window, std::function<void(QObject&, int, const std::string&)> deliver,
                       std::shared_ptr<TWindowAnswers> answers)
    : window_(std::move(window)), deliver_(std::move(deliver)), answers_(std::move(answers)) {}

void TWorkerLog::Log(cmn::LogType type, const std::string& text) {
    PostToWindowThread([window = window_, deliver = deliver_, type, text] {
        if (window) deliver(*window, static_cast<int>(type), text);
    });
}

bool TWorkerLog::Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) {
    return answers_->Ask([text, kind, buttons](QWidget* parent) { return AskUser(text, kind, buttons, parent); });
}

TWorkerStatus::TWorkerStatus(QPointer<QObject> window, std::function<void(QObject&, std::uint32_t, int)> deliver)
    : window_(std::move(window)), deliver_(std::move(deliver)) {}

void TWorkerStatus::Post(std::uint32_t message, int code) {
    PostToWindowThread([window = window_, deliver = deliver_, message, code] {
        if (window) deliver(*window, message, code);
    });
}

TDeviceWork::TDeviceWork(QObject* parent) : QObject(parent) {}

TDeviceWork::~TDeviceWork() { Shutdown(); }

bool TDeviceWork::Start(std::function<void()> job, QObject* context, std::function<void()> done, QWidget* holder) {
    if (Busy()) return false;
    holder_ = holder;
    const QPointer<QObject> target = context;
    const bool contextGiven = context != nullptr;
    thread_ = QThread::create([this, job = std::move(job), target, contextGiven, done = std::move(done)] {
        job();
        QMetaObject::invokeMethod(
            this, [this, target, contextGiven, done] { Finished(target, done, contextGiven); }, Qt::QueuedConnection);
    });
    thread_->start();
    Q_EMIT BusyChanged(true);
    return true;
}

bool TDeviceWork::Busy() const { return thread_ != nullptr || external_; }

bool TDeviceWork::Holds(const QWidget* window) const {
    return thread_ && holder_ && window && (holder_ == window || window->isAncestorOf(holder_));
}

void TDeviceWork::SetExternalRun(bool running) {
    external_ = running;
    Q_EMIT BusyChanged(Busy());
}

void TDeviceWork::Shutdown() {
    answers_->Cancel();
    Join();
}

void TDeviceWork::Finished(QObject* context, const std::function<void()>& done, bool contextGiven) {
    Join();
    holder_ = nullptr;
    Q_EMIT BusyChanged(Busy());
    if (done && (!contextGiven || context)) done();
}

void TDeviceWork::Join() {
    if (!thread_) return;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

}  // namespace ui
