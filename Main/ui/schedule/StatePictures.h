#pragma once

#include <QIcon>

#include "schedule/SignalRow.h"

namespace ui {

// The picture of a row's state in the schedule grid: an empty or ticked box
// at rest, an arrow while the signal goes out, a green tick when it was
// sent, a red cross when it failed, and the boxes greyed while a run goes on.
QIcon StatePicture(sched::TRowState state);

}  // namespace ui
