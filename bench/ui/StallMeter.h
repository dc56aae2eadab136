#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace bench {

// The longest gap between the ticks of a 5 ms timer on the window thread
// since Start: how long the window could not have answered the user.
class TStallMeter {
public:
    TStallMeter() {
        QObject::connect(&ticks_, &QTimer::timeout, [this] {
            gap_ = std::max(gap_, clock_.elapsed() - last_);
            last_ = clock_.elapsed();
        });
    }
    void Start() {
        clock_.start();
        ticks_.start(5);
    }
    qint64 Elapsed() const { return clock_.elapsed(); }
    qint64 Longest() const { return gap_; }

private:
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 gap_ = 0;
    QTimer ticks_;
};

}  // namespace bench
