#pragma once

#include <string_view>

#include "editor/PageTable.h"
#include "signal/Display.h"
#include "signal/Flicker.h"
#include "signal/SignalSet.h"

// What selecting a tab does besides showing its page: the calculations the
// page's values depend on, and where the input focus goes.
namespace edit {

struct TPageContext {
    sig::TSignalSet& Signal;
    sig::real Kf = 0;              // frequency correction, %
    bool FullPowersShown = false;  // the whole-signal power mode of the three-phase page
    const sig::TKolebParamsHelpTable& Flicker;
    sig::ISignalDisplay* Display = nullptr;
    int OnePhase = 0;  // the phase of the single-phase page, 0 = A
};

// Runs the calculations of the page the caption names and returns its row;
// nothing runs for a caption without a page.
const TPageRow* SelectPage(std::string_view caption, const TPageContext& context);

// The control that takes the focus when the page becomes visible; empty
// for pages that leave it where it is.
std::string_view FocusOnShow(std::string_view page);

}  // namespace edit
