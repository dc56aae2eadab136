#include "signal/Frequency.h"

#include <algorithm>

#include "CommonUtils/Format.h"
#include "signal/Helpers.h"

namespace sig {
namespace {

bool Below(real f, real bound) { return f < bound && !SameReal(f, bound); }

std::string RangeText() {
    return cmn::Format("Значение частоты выходит за допустимый диапазон (от %5.1f до %5.1f Гц)!", kMinFrequency,
                       kMaxFrequency);
}

void ReportOutOfRange(bool interactive, bool console, cmn::IProtocolLog& log) {
    if (interactive && !console && log.Interactive())
        log.Ask(RangeText() + " Повторите ввод!", cmn::MessageKind::Warning, cmn::Buttons::Ok);
    else log.Log(cmn::LogType::Notice, RangeText());
}

}  // namespace

TFrequencyBounds DeriveFrequencyBounds(real kf) {
    TFrequencyBounds bounds;
    if (const auto low = sig::RealiseFrequencyAt(0, kMinFrequency, kf))
        bounds.Lower = std::min(kMinFrequency, low->Frequency);
    if (const auto high = sig::RealiseFrequencyAt(sig::kTimerIndexCount - 1, kMaxFrequency, kf))
        bounds.Upper = std::max(kMaxFrequency, high->Frequency);
    return bounds;
}

bool CheckFrequencyRange(real f, const TFrequencyBounds& bounds, bool interactive, bool console,
                         cmn::IProtocolLog& log) {
    if (!Below(f, bounds.Lower) && !Below(-f, -bounds.Upper)) return true;
    ReportOutOfRange(interactive, console, log);
    return false;
}

bool SetSignalFrequency(real requested, real kf, sig::TSampleGrid& grid, const TFrequencyBounds& bounds,
                        bool interactive, bool console, cmn::IProtocolLog& log, TSignalParamsU& v) {
    const auto point = sig::RealiseFrequency(grid.TimerIndex, requested, kf);
    const auto uncorrected = point ? sig::SamplesPerPeriod(point->SampleRate, requested, 0) : std::nullopt;
    if (!point || !uncorrected) {
        ReportOutOfRange(interactive, console, log);
        return false;
    }
    if (!CheckFrequencyRange(point->Frequency, bounds, interactive, console, log)) return false;
    v.Freq = point->Frequency;
    v.FreqDelta = v.Freq - v.FreqNominal;
    grid.TimerIndex = point->TimerIndex;
    grid.SampleRate = point->SampleRate;
    grid.SamplesPerPeriod = point->Samples;
    grid.SamplesPerPeriodUncorrected = *uncorrected;
    return true;
}

}  // namespace sig
