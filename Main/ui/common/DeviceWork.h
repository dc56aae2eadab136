#pragma once

#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "CommonUtils/ProtocolLog.h"
#include "link/ActionContext.h"

class QThread;
class QWidget;

// Device work (calibrator actions, converter operations, the converter-mode
// send, a schedule run) has one owner: the main window's runner, which runs
// one job at a time on a worker thread. A job gets values and shared handles,
// never a pointer into a window: what it reports is posted to the window
// thread and delivered only to windows that still exist, and a question it
// asks is answered there or, once the runner's owner has gone, cancelled.
namespace ui {

// Runs `work` on the window thread later; `work` checks itself that what it
// touches still exists.
void PostToWindowThread(std::function<void()> work);

// Questions from workers to the window thread. A question is shown there and
// its answer handed back; after Cancel() every waiting and every later
// question returns its "cancelled" answer at once, so no worker waits on a
// window that has gone and no window waits on a worker that waits for it.
class TWindowAnswers : public std::enable_shared_from_this<TWindowAnswers> {
public:
    // On any thread: runs `question` on the window thread (at once when
    // called there) with the owner as the parent of what it shows, and
    // returns its answer, or `cancelled`.
    bool Ask(const std::function<bool(QWidget*)>& question, bool cancelled = false);
    // The window the questions open over, on the window thread; a question
    // open when that window goes goes with it, unanswered.
    void SetOwner(QWidget* owner) { owner_ = owner; }
    void Cancel();
    bool Cancelled() const;

private:
    mutable std::mutex lock_;
    std::condition_variable answered_;
    bool cancelled_ = false;
    QPointer<QWidget> owner_;  // read on the window thread only
};

// The protocol log a job writes: lines go to the window's log while it
// exists, questions are asked through the answers.
class TWorkerLog : public cmn::IProtocolLog {
public:
    TWorkerLog(QPointer<QObject> window, std::function<void(QObject&, int, const std::string&)> deliver,
               std::shared_ptr<TWindowAnswers> answers);
    void Log(cmn::LogType type, const std::string& text) override;
    bool Interactive() const override { return true; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override;

private:
    QPointer<QObject> window_;
    std::function<void(QObject&, int, const std::string&)> deliver_;
    std::shared_ptr<TWindowAnswers> answers_;
};

// Status reports of a job to a window that may go meanwhile.
class TWorkerStatus : public lnk::IStatusSink {
public:
    TWorkerStatus(QPointer<QObject> window, std::function<void(QObject&, std::uint32_t, int)> deliver);
    void Post(std::uint32_t message, int code) override;

private:
    QPointer<QObject> window_;
    std::function<void(QObject&, std::uint32_t, int)> deliver_;
};

// The meter verification countdown, shown on the window thread while the
// job waits; a cancelled countdown did not run out.
class TWorkerCountdown : public lnk::IEnergyCountdown {
public:
    // `show` counts down over the given parent and tells whether the time ran out.
    TWorkerCountdown(std::function<bool(int, QWidget*)> show, std::shared_ptr<TWindowAnswers> answers)
        : show_(std::move(show)), answers_(std::move(answers)) {}
    bool Run(int seconds) override {
        return answers_->Ask([show = show_, seconds](QWidget* parent) { return show(seconds, parent); });
    }

private:
    std::function<bool(int, QWidget*)> show_;
    std::shared_ptr<TWindowAnswers> answers_;
};

// The one runner of device work.
class TDeviceWork : public QObject {
    Q_OBJECT
public:
    explicit TDeviceWork(QObject* parent = nullptr);
    // Cancels the questions and waits for the running job.
    ~TDeviceWork() override;

    // Runs `job` on the worker; then `done` on the window thread, unless
    // `context` has gone meanwhile. `holder` is the window the job works
    // for, which stays open while it runs. False, starting nothing, while busy.
    bool Start(std::function<void()> job, QObject* context, std::function<void()> done, QWidget* holder = nullptr);
    // A job runs for `window` or for a widget inside it.
    bool Holds(const QWidget* window) const;
    // A job runs, or a run that keeps a thread of its own (the schedule's)
    // has told that it holds the device.
    bool Busy() const;
    void SetExternalRun(bool running);
    const std::shared_ptr<TWindowAnswers>& Answers() const { return answers_; }
    // Questions of the running job are cancelled and the job waited for.
    void Shutdown();

Q_SIGNALS:
    void BusyChanged(bool busy);

private:
    void Finished(QObject* context, const std::function<void()>& done, bool contextGiven);
    void Join();

    std::shared_ptr<TWindowAnswers> answers_ = std::make_shared<TWindowAnswers>();
    QThread* thread_ = nullptr;
    QPointer<QWidget> holder_;
    bool external_ = false;
};

}  // namespace ui
