#include <cmath>

#include "CommonUtils/TalvoError.h"
#include "signal/Flicker.h"
#include "signal/Helpers.h"

namespace sig {
namespace {

// The magnitude of a line's fundamental with both phases at the levels given.
real LineLevel(real ux, real shiftX, bool onX, real uy, real shiftY, bool onY) {
    return PhasorMagnitude(PhasorFromPolar(onX ? ux : 0, shiftX) - PhasorFromPolar(onY ? uy : 0, shiftY));
}

real Raised(real u, real swing) { return u * (100 + swing / 2) / 100; }
real Lowered(real u, real swing) { return u * (100 - swing / 2) / 100; }

void CalcSwingLines(const TSignalParamsU& v, TKolebParams& k, const std::array<bool, 3>& on) {
    for (int line = lnAB; line <= lnCA; ++line) {
        const int x = LineFirstPhase(line);
        const int y = LineSecondPhase(line);
        const real max =
            LineLevel(Raised(U(v, x), k.Swing[x]), Shift(v, x), on[x], Raised(U(v, y), k.Swing[y]), Shift(v, y), on[y]);
        const real min = LineLevel(Lowered(U(v, x), k.Swing[x]), Shift(v, x), on[x], Lowered(U(v, y), k.Swing[y]),
                                   Shift(v, y), on[y]);
        const real mean = (max + min) / 2;
        k.SwingLine[line] = IsZeroReal(mean) ? 0 : (max - min) / mean * 100;
    }
}

void CalcDoses(TKolebParams& k, const TKolebParamsHelpTable& table) {
    const std::optional<real> reference = table.ValueAt(k.Freq);
    // A table row of 0 (possible only in a hand-made file) gives no dose rather than an infinite one.
    const bool known = reference && !IsZeroReal(*reference);
    for (int slot = fzA; slot <= fzCA; ++slot) {
        const real swing = slot <= fzC ? k.Swing[slot] : k.SwingLine[slot - fzAB];
        k.Pst[slot] = known ? swing / *reference : 0;
    }
}

}  // namespace

void CalcKolebParams(const TSignalParamsU& v, TKolebParams& k, bool onA, bool onB, bool onC,
                     const TKolebParamsHelpTable& table) {
    if (!(k.Freq > 0) || !std::isfinite(k.Freq))
        throw cmn::TalvoError("Частота колебаний напряжения должна быть больше нуля");
    k.ChangesPerMin = k.Freq * 120;
    k.Period = 1 / k.Freq;
    k.HalfPeriod = k.Period / 2;
    k.PeriodCode = k.Period * 32767 * 1000;
    CalcSwingLines(v, k, {onA, onB, onC});
    CalcDoses(k, table);
}

}  // namespace sig
