#include "signal/Collapses.h"

#include <cmath>
#include <string>

#include "signal/Calculations.h"
#include "signal/Helpers.h"
#include "signal/Nominals.h"

namespace sig {
namespace {

constexpr const char* kInvalidQuestion =
    "Параметры провалов или перенапряжений некорректны.\r\nВозможные причины:\r\n\r\n"
    "- значение остаточного напряжения при провале больше среднеквадратического значения напряжения\r\n"
    "- значение максимального напряжения при перенапряжении меньше среднеквадратического значения напряжения\r\n\r\n"
    "Продолжить передачу сигнала?";
constexpr const char* kInvalidNotice = "Параметры провалов или перенапряжений некорректны";
constexpr const char* kCountRefused = "Генерация провалов и перенапряжений невозможна, так как их количество ";
constexpr const char* kCountRetry = "\r\n\r\nЗадайте параметры провалов или перенапряжений и повторите попытку.";

// The calibrator takes the number of events as a 15-bit count; anything
// else would reach it cut to 16 bits as some other number.
constexpr std::int32_t kMaxCount = 32767;

// The samples an event time spans, bound to whole units when unit >= 1.
real QuantisedCount(real seconds, real rate, real correction, real unit) {
    const real count = std::rint(seconds * rate / correction);
    return unit >= 1 ? unit * std::rint(count / unit) : count;
}

void QuantiseTiming(TCollapsesParams& d, int samplesPerPeriod, real rate, real kf) {
    const CollapseBinding binding = CheckCollapseBinding(d.Binding);
    if (!(rate > 0)) return;
    real unit = 0;
    if (binding == cbHalfPeriod) unit = std::rint(samplesPerPeriod / 2.0L);
    if (binding == cbPeriod) unit = samplesPerPeriod;
    const real correction = 1 + kf / 100;
    const real duration = QuantisedCount(d.Duration, rate, correction, unit);
    const real period = QuantisedCount(d.Period, rate, correction, unit);
    d.Duration = correction * duration / rate;
    d.Period = correction * period / rate;
}

real EventVoltage(const TCollapseFazaParams& block) { return block.Kind == ckDip ? block.UResidual : block.UPer; }

void PhaseEvents(const TSignalParamsU& v, TCollapsesParams& d) {
    for (int phase = fzA; phase <= fzC; ++phase) {
        TCollapseFazaParams& block = d.Faza[phase];
        block.UPer = MaximumVoltage(d.RefKind, block.KPerU, URms(v, phase), v.NominalFaza);
        block.UResidual = ResidualVoltage(d.RefKind, block.DepthPercent, URms(v, phase), v.NominalFaza);
    }
}

// A phase's fundamental scaled by the ratio of its event voltage to its total.
real ScaledFundamental(const TSignalParamsU& v, const TCollapsesParams& d, int phase) {
    const real total = URms(v, phase);
    return IsZeroReal(total) ? 0 : U(v, phase) * EventVoltage(d.Faza[phase]) / total;
}

void LineEvents(const TVoltageSpectrum& spectrum, const TSignalParamsU& v, TCollapsesParams& d,
                const TSignalSwitches& switches) {
    for (int line = lnAB; line <= lnCA; ++line) {
        const real event = LineTotalRms(spectrum, v, line, ScaledFundamental(v, d, LineFirstPhase(line)),
                                        ScaledFundamental(v, d, LineSecondPhase(line)), switches);
        const real reference = ReferenceVoltage(d.RefKind, v.ULineRms[line], v.NominalLine);
        const real deviation = IsZeroReal(reference) ? 0 : DeviationPercent(event, reference);
        TCollapseFazaParams& block = d.Line[line];
        if (deviation > 0) {
            block.Kind = ckSwell;
            block.KPerU = (deviation + 100) / 100;
            block.UPer = event;
        } else {
            block.Kind = ckDip;
            block.DepthPercent = 0 - deviation;  // never a negative zero
            block.UResidual = event;
        }
    }
}

void ShownPercents(TCollapsesParams& d) {
    for (auto* blocks : {&d.Faza, &d.Line})
        for (TCollapseFazaParams& block : *blocks)
            block.ShownPercent = block.Kind == ckDip ? block.DepthPercent : (block.KPerU - 1) * 100;
}

bool NotBelow(real a, real b) { return a > b || SameReal(a, b); }

bool CountAccepted(std::int32_t count, cmn::IProtocolLog& log) {
    if (count >= 1 && count <= kMaxCount) return true;
    const std::string notice =
        std::string(kCountRefused) +
        (count == 0 ? "равно нулю." : "вне диапазона от 1 до " + std::to_string(kMaxCount) + ".");
    if (log.Interactive()) log.Ask(notice + kCountRetry, cmn::MessageKind::Warning, cmn::Buttons::Ok);
    else log.Log(cmn::LogType::Notice, notice);
    return false;
}

}  // namespace

real ReferenceVoltage(std::uint8_t refKind, real urms, real nominal) {
    return CheckRefVoltageKind(refKind) == rvNominal ? nominal : urms;
}

real ResidualVoltage(std::uint8_t refKind, real depthPercent, real urms, real nominal) {
    return ReferenceVoltage(refKind, urms, nominal) * (1 - depthPercent / 100);
}

real MaximumVoltage(std::uint8_t refKind, real k, real urms, real nominal) {
    return k * ReferenceVoltage(refKind, urms, nominal);
}

void CalcCollapsesParams(const TSignalParamsU& v, TCollapsesParams& d, int samplesPerPeriod, real sampleRate, real kf,
                         const TSignalSwitches& switches) {
    CalcCollapsesParams(TVoltageSpectrum(v), v, d, samplesPerPeriod, sampleRate, kf, switches);
}

void CalcCollapsesParams(const TVoltageSpectrum& spectrum, const TSignalParamsU& v, TCollapsesParams& d,
                         int samplesPerPeriod, real sampleRate, real kf, const TSignalSwitches& switches) {
    QuantiseTiming(d, samplesPerPeriod, sampleRate, kf);
    PhaseEvents(v, d);
    LineEvents(spectrum, v, d, switches);
    ShownPercents(d);
}

bool CollapsesValid(const TSignalParamsU& v, const TCollapsesParams& d) {
    for (int phase = fzA; phase <= fzC; ++phase) {
        const TCollapseFazaParams& block = d.Faza[phase];
        const real urms = URms(v, phase);
        const bool valid = block.Kind == ckDip ? NotBelow(urms, block.UResidual) : NotBelow(block.UPer, urms);
        if (!valid) return false;
    }
    return true;
}

bool ConfirmCollapses(const TSignalParamsU& v, const TCollapsesParams& d, cmn::IProtocolLog& log) {
    if (!CollapsesValid(v, d)) {
        if (log.Interactive()) {
            if (!log.Ask(kInvalidQuestion, cmn::MessageKind::Confirmation, cmn::Buttons::YesNo)) return false;
        } else {
            log.Log(cmn::LogType::Notice, kInvalidNotice);
        }
    }
    return CountAccepted(d.Count, log);
}

}  // namespace sig
