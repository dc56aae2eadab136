#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "CommonUtils/Format.h"
#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "editor/DipsAndFluctuations.h"
#include "editor/FieldGroups.h"
#include "signal/Nominals.h"

namespace edit {
namespace {

using sig::TSignalSet;
using F = FieldFamily;
constexpr std::string_view kPage = "page_vibr";
constexpr std::string_view k3 = "%2.3f";

// A frequency typed with four decimals may fall just short of the table's
// first row (1/120 Hz); it means that row.
constexpr sig::real kBelowFirstRow = 0.0001;
constexpr sig::real kMaxSwing = 80;

// clang-format off
const std::array kRows{
    TFieldRow{"EditKolebFreq", kPage, F::KolebFrequency, 0, k3, false, "EditKolebAmplA", "Частота колебаний, Гц", [](const TSignalSet& s) { return s.Koleb.Freq; }},
    TFieldRow{"EditKolebNum", kPage, F::KolebChanges, 0, k3, false, "EditKolebAmplA", "Число изменений напряжения, 1/мин", [](const TSignalSet& s) { return s.Koleb.ChangesPerMin; }},
    TFieldRow{"EditKolebAmplA", kPage, F::KolebSwing, 0, k3, false, "EditKolebAmplB", "U~A~", [](const TSignalSet& s) { return s.Koleb.Swing[0]; }},
    TFieldRow{"EditKolebAmplB", kPage, F::KolebSwing, 1, k3, false, "EditKolebAmplC", "U~B~", [](const TSignalSet& s) { return s.Koleb.Swing[1]; }},
    TFieldRow{"EditKolebAmplC", kPage, F::KolebSwing, 2, k3, false, "EditKolebFreq", "U~C~", [](const TSignalSet& s) { return s.Koleb.Swing[2]; }},
    TFieldRow{"EditKolebAmplAB", kPage, F::Result, 0, k3, false, "", "U~AB~", [](const TSignalSet& s) { return s.Koleb.SwingLine[sig::lnAB]; }},
    TFieldRow{"EditKolebAmplBC", kPage, F::Result, 0, k3, false, "", "U~BC~", [](const TSignalSet& s) { return s.Koleb.SwingLine[sig::lnBC]; }},
    TFieldRow{"EditKolebAmplCA", kPage, F::Result, 0, k3, false, "", "U~CA~", [](const TSignalSet& s) { return s.Koleb.SwingLine[sig::lnCA]; }},
    TFieldRow{"EditKolebPeriod", kPage, F::Result, 0, k3, false, "", "Период колебаний, с", [](const TSignalSet& s) { return s.Koleb.Period; }},
    TFieldRow{"EditKolebHalfPeriod", kPage, F::Result, 0, k3, false, "", "Время между изменениями напряжения, с", [](const TSignalSet& s) { return s.Koleb.HalfPeriod; }},
    TFieldRow{"EditDurationKolebSignal", kPage, F::Result, 0, k3, false, "", "Длительность сигнала", nullptr, [](const TSignalSet& s) { return KolebDurationText(s.Koleb.PeriodCode); }},
    // flicker doses of the phase and line voltages
    TFieldRow{"EditPstA", kPage, F::Result, 0, k3, false, "", "P~st A~", [](const TSignalSet& s) { return s.Koleb.Pst[0]; }},
    TFieldRow{"EditPstB", kPage, F::Result, 0, k3, false, "", "P~st B~", [](const TSignalSet& s) { return s.Koleb.Pst[1]; }},
    TFieldRow{"EditPstC", kPage, F::Result, 0, k3, false, "", "P~st C~", [](const TSignalSet& s) { return s.Koleb.Pst[2]; }},
    TFieldRow{"EditPstAB", kPage, F::Result, 0, k3, false, "", "P~st AB~", [](const TSignalSet& s) { return s.Koleb.Pst[3]; }},
    TFieldRow{"EditPstBC", kPage, F::Result, 0, k3, false, "", "P~st BC~", [](const TSignalSet& s) { return s.Koleb.Pst[4]; }},
    TFieldRow{"EditPstCA", kPage, F::Result, 0, k3, false, "", "P~st CA~", [](const TSignalSet& s) { return s.Koleb.Pst[5]; }},
};
// clang-format on

TEntryOutcome Refused(std::string message) { return {false, std::move(message), {}}; }

std::string Bounds(sig::real low, sig::real high) {
    return cmn::Format("%2.4f", low) + " до " + cmn::Format("%2.4f", high);
}

// A frequency within the table's span, or none; the first row takes what
// falls just short of it.
std::optional<sig::real> InTable(sig::real f, const sig::TKolebParamsHelpTable& table) {
    const sig::real first = table.FirstFreq();
    if (f < first && first - f < kBelowFirstRow) f = first;
    if (f < first || f > table.LastFreq()) return std::nullopt;
    return f;
}

}  // namespace

namespace groups {

std::span<const TFieldRow> Fluctuations() { return kRows; }

TEntryOutcome TakeKoleb(const TFieldRow& row, sig::real x, const TEntryContext& c) {
    if (!c.Flicker) throw cmn::TalvoError("Таблица дозы фликера не загружена");
    const sig::TKolebParamsHelpTable& table = *c.Flicker;
    // Worked on a copy: a table read from a file may start at 0 Hz, and a
    // calculation refused for that must leave the record as it was.
    sig::TKolebParams k = c.Signal.Koleb;
    const sig::real first = table.FirstFreq(), last = table.LastFreq();
    switch (row.Family) {
        case F::KolebFrequency: {
            const std::optional<sig::real> f = InTable(x, table);
            if (!f) return Refused("Выход за границы диапазона (от " + Bounds(first, last) + "Гц)! Повторите ввод!");
            k.Freq = *f;
            break;
        }
        case F::KolebChanges: {
            // Two changes a period: the same span as the frequency, in changes per minute.
            const std::optional<sig::real> f = InTable(x / 120, table);
            if (!f)
                return Refused("Выход за границы диапазона (от " + Bounds(120 * first, 120 * last) +
                               " ! Повторите ввод!");
            k.Freq = *f;
            break;
        }
        case F::KolebSwing:
            if (x < 0 || x > kMaxSwing)
                return Refused("Выход за границы диапазона (от " + cmn::Format("%2.3f", 0.0) + " до " +
                               cmn::Format("%2.3f", kMaxSwing) + "%)! Повторите ввод!");
            k.Swing[row.Tag] = x;
            break;
        default: throw cmn::TalvoError("Значение только для чтения!");
    }
    const sig::TSignalSwitches& sw = c.Signal.Switches;
    sig::CalcKolebParams(c.Signal.Voltage, k, sw.UOnA, sw.UOnB, sw.UOnC, table);
    c.Signal.Koleb = k;
    return {true, std::nullopt, kPage};
}

}  // namespace groups

void ChooseFlickerStandard(sig::TSignalSet& s, int standard, cmn::IProtocolLog& log) {
    sig::FlickerTable().Load(std::nullopt, true, standard, log);
    const sig::TSignalSwitches& sw = s.Switches;
    sig::CalcKolebParams(s.Voltage, s.Koleb, sw.UOnA, sw.UOnB, sw.UOnC, sig::FlickerTable().Snapshot());
}

TFlickerChoiceState FlickerChoiceAfterLoad(sig::TFlickerLoadCode code) {
    if (code == sig::flLoaded) return {false, false};
    return {};
}

std::string KolebDurationText(sig::real milliseconds) {
    long double x = std::fabs(static_cast<long double>(milliseconds));
    const auto take = [&x](long double unit) {
        const long double whole = std::trunc(x / unit);
        x -= whole * unit;
        return whole;
    };
    const long double days = take(86400000), hours = take(3600000), minutes = take(60000), seconds = take(1000);
    // Rounded half to even; what rounds up to a whole second stays in this one.
    const long double ms = std::min<long double>(std::nearbyint(x), 999);
    std::string text = days > 0 ? cmn::FormatReal(static_cast<double>(days)) + " дн. " : "";
    return text + cmn::Format("%02d:%02d:%02d.%03d", static_cast<long long>(hours), static_cast<long long>(minutes),
                              static_cast<long long>(seconds), static_cast<long long>(ms));
}

}  // namespace edit
