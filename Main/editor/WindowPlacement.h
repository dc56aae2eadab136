#pragma once

// Where a new signal window goes in the main window's frame of signal
// windows: wholly inside it, so that its caption and its tab strip can be
// reached on any screen the program runs on.
namespace edit {

struct TSize {
    int Width = 0;
    int Height = 0;
};

struct TPlacement {
    bool Maximised = false;  // when even the window's smallest size does not fit
    int X = 0;
    int Y = 0;
    TSize Size;
};

// The `index`-th window (from 0) of a cascade that starts at the frame's top
// left corner and steps `step` pixels down and right; a step that would push
// the window's smallest size out of the frame starts the cascade again at the
// corner. The window takes its preferred size, cut to what the frame leaves.
TPlacement PlaceSignalWindow(TSize frame, TSize preferred, TSize minimum, int index, int step);

}  // namespace edit
