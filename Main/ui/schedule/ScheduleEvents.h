#pragma once

#include <QObject>

#include "schedule/ScheduleRunner.h"

namespace ui {

// A run's row states (0x1A00) and its end (0x1B00) come from the worker
// thread; they reach the schedule window as queued signals.
class TScheduleEventRelay : public QObject, public sched::IScheduleEvents {
    Q_OBJECT
public:
    using QObject::QObject;
    void RowStateChanged(std::size_t position, sched::TRowState state) override {
        Q_EMIT RowState(static_cast<qulonglong>(position), static_cast<int>(state));
    }
    void RunFinished() override { Q_EMIT Finished(); }
Q_SIGNALS:
    void RowState(qulonglong position, int state);
    void Finished();
};

}  // namespace ui
