#pragma once

#include <string_view>

#include "editor/SignalDefaults.h"
#include "signal/Display.h"
#include "signal/SignalSet.h"

// The choices beside the fundamental fields: the nominal range, the
// fundamental switches, the harmonic count and "Восстановить".
namespace edit {

inline constexpr std::string_view kRestoreQuestion = "Задать все параметры на данной закладке номинальными значениями?";

// The range choice's text as the integer the nominal is set from: 57 or 220.
int RangeNumber(std::string_view choice);

// Sets the voltage nominals for the range 57 (57.735 V) or 220 (220 V) and
// makes the phase values follow their deviations, then recomputes the
// voltage. Any other range raises "Неизвестный диапазон напряжения: %d".
void Set_Naminal_U(sig::TSignalSet& s, int range, sig::ISignalDisplay* display);
// The range choice that shows the record's phase nominal.
std::string_view NominalUChoice(const sig::TSignalParamsU& v);

void SetVoltageSwitch(sig::TSignalSet& s, int phase, bool on, sig::ISignalDisplay* display);
// 40 or 50 harmonics in the voltage quantities.
void SetVoltageHarmCount(sig::TSignalSet& s, int count, sig::ISignalDisplay* display);

// The same for the current: ranges 1 and 5 A, "Неизвестный диапазон тока: %d".
void Set_Naminal_I(sig::TSignalSet& s, int range, sig::ISignalDisplay* display);
std::string_view NominalIChoice(const sig::TSignalParamsI& c);
void SetCurrentSwitch(sig::TSignalSet& s, int phase, bool on, sig::ISignalDisplay* display);
void SetCurrentHarmCount(sig::TSignalSet& s, int count, sig::ISignalDisplay* display);

// "3ф-3пр": phase B's current becomes minus the sum of A and C, so that no
// current flows in the neutral. It needs all three current fundamentals.
inline constexpr std::string_view kThreeWireNeedsAll =
    "Для расчет параметров тока в 3ф-3пр схеме подключения необходимо включить в сигнал ток основной частоты по "
    "фазам A, B, C";
inline constexpr std::string_view kThreeWireQuestion =
    "Расчет для 3ф-3пр схемы подключения. \r\nПерерассчитать параметры тока фазы B так, чтобы ток нейтрали стал "
    "равным нулю?";
bool ThreeWirePossible(const sig::TSignalSwitches& switches);
void Calc3f3pr(sig::TSignalSet& s, sig::ISignalDisplay* display);

}  // namespace edit
