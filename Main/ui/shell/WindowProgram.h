#pragma once

namespace ui {

// The window program: the main window with its first signal window, until
// it closes. Without a display it says so in one line and returns 1.
int RunWindowProgram(int argc, char** argv);

}  // namespace ui
