#include "editor/WindowPlacement.h"

#include <algorithm>

namespace edit {

TPlacement PlaceSignalWindow(TSize frame, TSize preferred, TSize minimum, int index, int step) {
    if (minimum.Width > frame.Width || minimum.Height > frame.Height) return {true, 0, 0, frame};
    // How many steps fit before the smallest window would leave the frame.
    const int free = std::min(frame.Width - minimum.Width, frame.Height - minimum.Height);
    const int steps = step > 0 ? free / step + 1 : 1;
    const int offset = (std::max(index, 0) % steps) * std::max(step, 0);
    const TSize size{std::clamp(preferred.Width, minimum.Width, frame.Width - offset),
                     std::clamp(preferred.Height, minimum.Height, frame.Height - offset)};
    return {false, offset, offset, size};
}

}  // namespace edit
