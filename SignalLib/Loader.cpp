#include "Loader.h"

#include "CommonUtils/TalvoError.h"
#include "SignalLib/Steps.h"

namespace stlib {
namespace {

using code::TCode;

constexpr TQuantity kQuantities[] = {TQuantity::Voltage, TQuantity::Current};

const TPhaseSignalParams& PhaseParams(const TOutSignalParams& params, TQuantity q, int phase) {
    return q == TQuantity::Voltage ? params.Voltage[phase] : params.Current[phase];
}

// Steps 1 to 9: ranges, then the calibration coefficients of the selected ranges.
TCode LoadRangesAndKoefs(TSignalClass& signal, const TOutSignalParams& params) {
    TNominalsClass& nominals = signal.Nominals();
    TKalibrationKoefsClass& koefs = signal.Koefs();
    if (TCode c = RunStep(code::VoltageRange, [&] { nominals.SetVoltageRange(params.VoltageRange); })) return c;
    if (TCode c = RunStep(code::CurrentRange, [&] { nominals.SetCurrentRange(params.CurrentRange); })) return c;
    for (int p = 0; p < kPhases; ++p) {
        const float k = params.Current[p].KalibrationKoef;
        if (TCode c = RunStep(code::CurrentKoefA + p, [&] { koefs.SetCurrentKoef(nominals.CurrentRange(), p, k); }))
            return c;
    }
    for (int p = 0; p < kPhases; ++p) {
        const float k = params.Voltage[p].KalibrationKoef;
        if (TCode c = RunStep(code::VoltageKoefA + p, [&] { koefs.SetVoltageKoef(nominals.VoltageRange(), p, k); }))
            return c;
    }
    return RunStep(code::FrequencyKoef, [&] { signal.SetFrequencyKoef(params.FrequencyKoef); });
}

// Steps 10 to 12. The angle of phase A's voltage fundamental is the reference
// of every other angle and must be exactly 0 as given, before normalisation.
TCode LoadFrequencyAndFundamentals(TSignalClass& signal, const TOutSignalParams& params) {
    if (TCode c = RunStep(code::Frequency, [&] { signal.SetFrequency(params.Frequency); })) return c;
    if (TCode c = RunStep(code::Frequency, [&] {
            for (TQuantity q : kQuantities)
                for (int p = 0; p < kPhases; ++p) signal.SetMainOn(q, p, PhaseParams(params, q, p).MainOn != 0);
        }))
        return c;
    return RunStep(code::VoltageAngleA, [&] {
        if (params.Voltage[0].Angle != 0) throw cmn::TalvoError("Angle of phase A main frequency voltage must be 0.");
        for (TQuantity q : kQuantities)
            for (int p = 0; p < kPhases; ++p) {
                const TPhaseSignalParams& phase = PhaseParams(params, q, p);
                signal.SetFundamental(q, p, phase.Amplitude, phase.Angle);
            }
    });
}

// Step 13: harmonic by harmonic, each in the order voltage A, B, C, current A, B, C.
TCode LoadHarmonics(TSignalClass& signal, const TOutSignalParams& params) {
    for (int n = 2; n <= kHarmonics; ++n)
        for (TQuantity q : kQuantities)
            for (int p = 0; p < kPhases; ++p) {
                const THarmonicParams h = PhaseParams(params, q, p).Harmonics[n - 2];
                const TCode base =
                    q == TQuantity::Voltage ? code::VoltageHarmonicBase[p] : code::CurrentHarmonicBase[p];
                if (TCode c = RunStep(base + n, [&] { signal.SetHarmonic(q, p, n, h.Koef, h.Angle); })) return c;
            }
    return code::NoError;
}

TCode LoadFaza(TFazaDeviationsClass& faza, const TFazaDeviationParams& params, int phase) {
    const bool isCollapse = params.IsCollapse != 0;
    const TCode stepCode = (isCollapse ? code::CollapseDepthA : code::OvervoltageKoefA) + 2 * phase;
    return RunStep(stepCode, [&] {
        faza.SetIsCollapse(isCollapse);
        if (isCollapse) faza.SetDepth(params.Value);
        else faza.SetOvervoltageKoef(params.Value);
    });
}

TCode LoadCollapses(TCollapsesOvervoltagesClass& model, const TCollapsesOvervoltagesParams& params) {
    if (TCode c = RunStep(code::CollapsesCount, [&] { model.SetCount(params.Count); })) return c;
    if (TCode c = RunStep(code::CollapsesDuration, [&] { model.SetDuration(params.Duration); })) return c;
    if (TCode c = RunStep(code::CollapsesPeriod, [&] {
            model.SetPeriod(params.Period);
            model.SetStartAngle(params.StartAngle);
            model.SetSynchronize(params.Synchronize != 0);
        }))
        return c;
    for (int p = 0; p < kPhases; ++p)
        if (TCode c = LoadFaza(model.Faza(p + 1), params.Fazes[p], p)) return c;
    return code::NoError;
}

}  // namespace

TCode LoadOutSignalParams(TSignalClass& signal, const TOutSignalParams& params) {
    if (TCode c = LoadRangesAndKoefs(signal, params)) return c;
    if (TCode c = LoadFrequencyAndFundamentals(signal, params)) return c;
    if (TCode c = LoadHarmonics(signal, params)) return c;
    if (params.Collapses == nullptr) return code::NoError;
    if (params.VoltageOn == 0) return code::CollapsesWithoutVoltage;
    const TCollapsesOvervoltagesParams collapses = *params.Collapses;
    return LoadCollapses(signal.Collapses(), collapses);
}

}  // namespace stlib
