#pragma once

#include <QIcon>
#include <array>

#include "schedule/SignalRow.h"

namespace ui {

// The pictures of a row's state in the schedule grid: an empty or ticked box
// at rest, an arrow while the signal goes out, a green tick when it was
// sent, a red cross when it failed, and the boxes greyed while a run goes on.
// Drawn once for a window, since a long list shows the same few thousands of times.
class TStatePictures {
public:
    TStatePictures();
    const QIcon& Of(sched::TRowState state) const;

private:
    std::array<QIcon, 7> pictures_;
};

}  // namespace ui
