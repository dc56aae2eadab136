#pragma once

#include <time.h>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace bench {

// The longest gap between the ticks of a 5 ms timer on the window thread
// since Start: how long the window could not have answered the user. On a
// loaded machine a gap may also be time the thread waited for a processor;
// LongestBusy is the most processor time the window thread itself spent
// between two ticks, the part of a gap the program is to blame for.
class TStallMeter {
public:
    TStallMeter() {
        QObject::connect(&ticks_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            const double cpu = ThreadCpuMs();
            gap_ = std::max(gap_, now - last_);
            busy_ = std::max(busy_, cpu - lastCpu_);
            last_ = now;
            lastCpu_ = cpu;
        });
    }
    void Start() {
        clock_.start();
        lastCpu_ = ThreadCpuMs();
        ticks_.start(5);
    }
    qint64 Elapsed() const { return clock_.elapsed(); }
    qint64 Longest() const { return gap_; }
    double LongestBusy() const { return busy_; }

private:
    static double ThreadCpuMs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }

    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 gap_ = 0;
    double lastCpu_ = 0;
    double busy_ = 0;
    QTimer ticks_;
};

}  // namespace bench
