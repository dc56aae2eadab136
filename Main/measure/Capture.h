#pragma once

#include <cstdint>
#include <vector>

#include "link/LibraryBinding.h"
#include "signal/Correction.h"
#include "signal/SignalSet.h"

// The bytes an action on the calibrator sends, taken where they leave the
// program: the action's own command sequence runs, with the program's own
// tables, against a stand-in calibrator on a pseudo-terminal that confirms
// every frame and keeps every byte it receives.
namespace msr {

enum class TVerifyAction { Sinus, ColOver, Koleb };

struct TCaptureSettings {
    TVerifyAction Action = TVerifyAction::Sinus;
    int Modification = 1;
    sig::TCorrectionRecord Correction{};
    // The signal library the action exercises first; the action fails without it.
    const lnk::TSignalLibrary* Library = nullptr;
};

// The bytes in the order sent, as from a first action after start (the
// timer divisor is always sent). Raises TalvoError with the action's error
// lines when it fails (busy calibrator link, refused signal).
std::vector<std::uint8_t> CaptureAction(const sig::TSignalSet& signal, const TCaptureSettings& settings);

}  // namespace msr
