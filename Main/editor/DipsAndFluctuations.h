#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "CommonUtils/ProtocolLog.h"
#include "editor/SignalFields.h"
#include "signal/Flicker.h"
#include "signal/SignalSet.h"

// The choices of the dips page and the fluctuations page besides their
// value fields: the event kind per phase, the binding of the events to the
// waveform, the reference voltage, the flicker standard, and what the
// pages show of them.
namespace edit {

struct TChoiceItem {
    std::string_view Text;
    std::uint8_t Value;
};

// In the order the lists show them.
inline constexpr std::array<TChoiceItem, 3> kCollapseAlignItems{
    {{"к периоду", 2}, {"к полупериоду", 1}, {"без привязки", 0}}};
inline constexpr std::array<TChoiceItem, 2> kReferenceVoltageItems{{{"Номинальное", 0}, {"Заданное", 1}}};

// The list row of a stored binding or reference kind; a value without a row
// raises "Неизвестный вид привязки провалов: %d" or
// "Неизвестный вид опорного напряжения: %d".
int CollapseAlignIndex(std::uint8_t binding);
int ReferenceVoltageIndex(std::uint8_t refKind);

// The events are timed in samples of the signal's grid, corrected by kf (%).
void RecalcCollapses(sig::TSignalSet& s, sig::real kf);
// A phase becomes a dip (depth and residual voltage in use) or a swell
// (coefficient and maximum voltage in use); the events are recomputed.
void SetCollapseKind(sig::TSignalSet& s, int phase, std::uint8_t kind, sig::real kf);
void SetCollapseAlign(sig::TSignalSet& s, int row, sig::real kf);
void SetReferenceVoltage(sig::TSignalSet& s, int row, sig::real kf);
// The depth and residual voltage of a phase are in use (a dip); otherwise
// its coefficient and maximum voltage are.
bool DipFieldsInUse(const sig::TSignalSet& s, int phase);
// Events not bound to whole periods carry a warning beside the binding.
bool CollapseAlignWarningShown(const sig::TSignalSet& s);

// The flicker standard chosen in the window: its built-in table replaces the
// program-wide one, and the fluctuation values are recomputed with it.
void ChooseFlickerStandard(sig::TSignalSet& s, int standard, cmn::IProtocolLog& log);
// A table read from the flicker file leaves no standard to choose.
struct TFlickerChoiceState {
    bool Enabled = true;
    bool Gost99Checked = true;
};
TFlickerChoiceState FlickerChoiceAfterLoad(sig::TFlickerLoadCode code);

// A duration in milliseconds as "[<days> дн. ]hh:mm:ss.mmm".
std::string KolebDurationText(sig::real milliseconds);

// The field Enter moves to: the next of the row, except that of the two
// fields of a phase on the dips page the one in use takes the focus.
std::string_view NextFocus(const TFieldRow& row, const sig::TSignalSet& s);

}  // namespace edit
