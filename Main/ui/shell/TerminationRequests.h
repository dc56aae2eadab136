#pragma once

#include <QObject>

class QSocketNotifier;

namespace ui {

// SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, Ctrl+C in the terminal)
// become one queued Requested() on the window thread, so the program closes
// by the path of its close button: settings written, the calibrator reset.
// The handler only writes a byte into a pipe; a second signal of any of the
// three ends the process at once, as it would without this watcher.
class TTerminationRequests : public QObject {
    Q_OBJECT
public:
    explicit TTerminationRequests(QObject* parent = nullptr);
    ~TTerminationRequests() override;

Q_SIGNALS:
    void Requested(int signal);

private:
    void Read();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ui
