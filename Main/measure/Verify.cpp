#include "measure/Verify.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "measure/IdealWaveform.h"
#include "measure/engine/Frequency.h"
#include "measure/engine/HalfCycleRms.h"
#include "measure/engine/PlayedFlicker.h"
#include "measure/engine/SentBytes.h"
#include "measure/engine/Summary.h"
#include "measure/engine/WindowAnalysis.h"

namespace msr {
namespace {

const std::string kRuleQuant = "граница квантования таблицы";
const std::string kRuleClock = "такт калибратора: ±1·10⁻⁶ отн.";
const std::string kRuleFrequency = "МЭК 61000-4-30, класс A: ±0,01 Гц";
const std::string kRuleVoltage = "МЭК 61000-4-30, класс A: ±0,1 % Uном";
const std::string kRuleCurrent = "МЭК 61000-4-30, класс A: ±0,1 % Iном";
const std::string kRuleHarmonicU = "МЭК 61000-4-7, класс I: ±5 % изм., ниже 1 % Uном ±0,05 % Uном";
const std::string kRuleHarmonicI = "МЭК 61000-4-7, класс I: ±5 % изм., ниже 3 % Iном ±0,15 % Iном";
const std::string kRuleUnbalance = "МЭК 61000-4-30, класс A: ±0,15 %";
const std::string kRulePower = "МЭК 61557-12, класс 0,2: ±0,2 % S";
const std::string kRuleResidual = "МЭК 61000-4-30, класс A: ±0,2 % Uопорн";
const std::string kRuleDuration = "МЭК 61000-4-30, класс A: ±1 период";
const std::string kRuleCount = "число событий за время наблюдения";
const std::string kRuleFlicker =
    "МЭК 61000-4-15: ±5 %, и табличная доза программы ниже измеренной на ≈1 % (множитель √2): ±6 %";

constexpr int kLines = 3;
const char* const kPhaseName[3] = {"A", "B", "C"};
const char* const kLineName[3] = {"AB", "BC", "CA"};

struct TLimit {
    double Value;
    const std::string* Rule;
};

class TComparison {
public:
    TComparison(const sig::TSignalSet& s, const TVerifyOptions& o, const TVerifyControl& c, const TPlayback& p)
        : s_(s), options_(o), control_(c), p_(p) {}

    TVerifyReport Run();

private:
    void Step(double fraction) {
        if (control_.Cancel != nullptr && control_.Cancel->load()) throw cmn::TalvoError("Проверка сигнала прервана");
        if (control_.Progress) control_.Progress(fraction);
    }
    void Add(const std::string& name, const std::string& unit, double set, double measured,
             std::initializer_list<TLimit> limits) {
        TLimit best{-1, &kRuleQuant};
        for (const TLimit& l : limits)
            if (l.Value > 0 && (best.Value < 0 || l.Value < best.Value)) best = l;
        TCompareRow row{name, unit, set, measured, measured - set, best.Value, *best.Rule, false};
        row.Pass = std::isfinite(measured) && std::abs(row.Difference) <= row.Tolerance;
        report_.Rows.push_back(std::move(row));
    }

    // An angle row: the difference is folded, so that 179° and −179° lie 2° apart.
    void AddAngle(const std::string& name, double set, double measured, double tolerance) {
        Add(name, "°", FoldDegrees(set), FoldDegrees(measured), {{tolerance, &kRuleQuant}});
        TCompareRow& row = report_.Rows.back();
        row.Difference = FoldDegrees(measured - set);
        row.Pass = std::abs(row.Difference) <= row.Tolerance;
    }

    void Analyse();
    void Frequency();
    void PhaseVoltages();
    void LineVoltages();
    void Unbalance();
    void Currents();
    void Powers();
    void Instantaneous();
    void Collapses();
    void Fluctuations();

    // Harmonic and interharmonic rows of one analysed channel against its store block.
    struct THarmonicChannel {
        std::string Name;  // "UA", "UAB", "IA"
        const TChannelAnalysis* Analysis = nullptr;
        const sig::TGarmonikFaza* Set = nullptr;
        const sig::TInterGarmonik* Inter = nullptr;  // none: interharmonics not compared
        double SetThd = 0;
        int Count = 50;  // harmonics in the distortion factor
        double Nominal = 0;
        double Q = 0;  // code step
        bool Current = false;
        // For a current: the voltage's angles and its fundamental.
        const sig::TGarmonikFaza* VoltageAngles = nullptr;
        const sig::TInterGarmonik* VoltageInter = nullptr;
        const TChannelAnalysis* Voltage = nullptr;
        // Without the voltage's fundamental a current's angles have no reference.
        bool Angles = true;
    };
    void HarmonicRows(const THarmonicChannel& h);
    double AngleBound(double q, double rms) const {
        if (rms <= 0) return 180;
        return std::asin(std::min(1.0, q / (std::sqrt(2.0) * rms))) * 180 / std::numbers::pi + 1e-3;
    }
    double Q(int channel) const { return p_.CodeStep(channel); }
    double LineQ(int line) const { return Q(line) + Q((line + 1) % 3); }

    const sig::TSignalSet& s_;
    const TVerifyOptions& options_;
    const TVerifyControl& control_;
    const TPlayback& p_;
    TVerifyReport report_;
    int cycles_ = 10;
    std::array<std::vector<double>, kAnalysed> samples_;
    std::array<TChannelAnalysis, kAnalysed> analysis_;
};

// ---------------------------------------------------------------- the steady signal

void TComparison::Analyse() {
    cycles_ = s_.Voltage.FreqNominal > 55 ? 12 : 10;
    samples_ = SteadyWindows(p_, cycles_);
    for (int k = 0; k < kAnalysed; ++k)
        if (!samples_[k].empty()) analysis_[k] = AnalyseWindow(samples_[k], cycles_);
}

void TComparison::Frequency() {
    const double set = static_cast<double>(s_.Voltage.Freq);
    Add("Частота по такту калибратора", "Гц", set, p_.ClockFrequency(), {{std::abs(set) * 1e-6, &kRuleClock}});
    const auto f = ZeroCrossingFrequency(samples_[0], p_.Rate(), cycles_ == 12 ? 60 : 50);
    Add("Частота по переходам через ноль UA", "Гц", set, f ? *f : NAN, {{0.01, &kRuleFrequency}});
}

void TComparison::PhaseVoltages() {
    const double nominal = static_cast<double>(s_.Voltage.NominalFaza);
    for (int x = 0; x < 3; ++x) {
        const std::string n = kPhaseName[x];
        const TChannelAnalysis& a = analysis_[x];
        const double q = Q(x);
        const bool on = sig::UOn(s_.Switches, x);
        const double u1 = std::abs(a.Fundamental());
        Add("U" + n + " основной частоты", "В", on ? static_cast<double>(sig::U(s_.Voltage, x)) : 0.0, u1,
            {{0.001 * nominal, &kRuleVoltage}, {q, &kRuleQuant}});
        if (on) {
            AddAngle("Угол U" + n + " основной частоты", static_cast<double>(sig::Shift(s_.Voltage, x)),
                     Degrees(a.Fundamental()), AngleBound(q, u1));
            Add("δU" + n + " основной частоты", "%", static_cast<double>(sig::DeltaU(s_.Voltage, x)),
                (u1 / nominal - 1) * 100, {{0.1, &kRuleVoltage}, {q / nominal * 100, &kRuleQuant}});
        }
        Add("U" + n + " действующее", "В", static_cast<double>(sig::URms(s_.Voltage, x)), a.Rms,
            {{0.001 * nominal, &kRuleVoltage}, {q, &kRuleQuant}});
        Add("δU" + n + " действующего", "%", static_cast<double>(s_.Voltage.DeltaURms[x]), (a.Rms / nominal - 1) * 100,
            {{0.1, &kRuleVoltage}, {q / nominal * 100, &kRuleQuant}});
        if (!on) {
            report_.Notes.push_back("Напряжение основной частоты фазы " + n +
                                    " выключено: гармоники фазы сравниваются только в сумме");
            continue;
        }
        HarmonicRows({"U" + n, &a, &s_.Voltage.Garmonik.Faza(x), &s_.Voltage.InterGarm[x],
                      static_cast<double>(s_.Voltage.KU[x]), s_.Switches.HarmCountU, nominal, q});
    }
}

void TComparison::LineVoltages() {
    const double nominal = static_cast<double>(s_.Voltage.NominalLine);
    for (int l = 0; l < kLines; ++l) {
        const std::string n = kLineName[l];
        const TChannelAnalysis& a = analysis_[3 + l];
        const double q = LineQ(l);
        const double u1 = std::abs(a.Fundamental());
        Add("U" + n + " основной частоты", "В", static_cast<double>(s_.Voltage.ULine[l]), u1,
            {{0.001 * nominal, &kRuleVoltage}, {q, &kRuleQuant}});
        AddAngle("Угол U" + n + " основной частоты", static_cast<double>(s_.Voltage.LineAngle[l]),
                 Degrees(a.Fundamental()), AngleBound(q, u1));
        Add("δU" + n + " основной частоты", "%", static_cast<double>(s_.Voltage.DeltaULine[l]),
            (u1 / nominal - 1) * 100, {{0.1, &kRuleVoltage}, {q / nominal * 100, &kRuleQuant}});
        Add("U" + n + " действующее", "В", static_cast<double>(s_.Voltage.ULineRms[l]), a.Rms,
            {{0.001 * nominal, &kRuleVoltage}, {q, &kRuleQuant}});
        Add("δU" + n + " действующего", "%", static_cast<double>(s_.Voltage.DeltaURms[3 + l]),
            (a.Rms / nominal - 1) * 100, {{0.1, &kRuleVoltage}, {q / nominal * 100, &kRuleQuant}});
        // A line whose two phases are both on carries the line's harmonics as computed.
        if (sig::UOn(s_.Switches, l) && sig::UOn(s_.Switches, (l + 1) % 3))
            HarmonicRows({"U" + n, &a, &s_.Voltage.Garmonik.Faza(3 + l), &s_.Voltage.InterGarm[3 + l],
                          static_cast<double>(s_.Voltage.KU[3 + l]), s_.Switches.HarmCountU, nominal, q});
    }
}

void TComparison::HarmonicRows(const THarmonicChannel& h) {
    const TChannelAnalysis& a = *h.Analysis;
    const double u1 = std::abs(a.Fundamental());
    if (u1 <= 0) return;
    const std::string& rule = h.Current ? kRuleHarmonicI : kRuleHarmonicU;
    // Class I: 5 % of the reading above 1 % (current 3 %) of the nominal, a
    // fixed 0.05 % (0.15 %) of the nominal below it.
    auto classLimit = [&](double volts) {
        const double threshold = (h.Current ? 0.03 : 0.01) * h.Nominal;
        return (volts >= threshold ? 0.05 * volts : (h.Current ? 0.0015 : 0.0005) * h.Nominal) / u1 * 100;
    };
    const double quant = h.Q / u1 * 100;
    // Angles are taken against n times the fundamental of the voltage of the
    // channel; a current's expected angle is then the voltage harmonic's
    // angle minus the voltage-minus-current angle.
    const double base = Degrees((h.Voltage != nullptr ? h.Voltage : h.Analysis)->Fundamental());
    auto angleRow = [&](const std::string& name, double expected, double measured, double volts) {
        if (h.Angles) AddAngle(name, expected, measured, AngleBound(h.Q, volts));
    };
    THarmonicBars bars{h.Name, {}, {}};
    for (int n = 2; n <= kHighestOrder; ++n) {
        const double k = static_cast<double>(h.Set->Koef[n]);
        const double measured = a.Harmonic[n] / u1 * 100;
        bars.Set[n] = k;
        bars.Measured[n] = measured;
        if (k == 0 && measured <= quant) continue;
        const std::string order = "(" + std::to_string(n) + ")";
        Add("K" + h.Name + order, "%", k, measured, {{classLimit(k / 100 * u1), &rule}, {quant, &kRuleQuant}});
        if (k == 0) continue;
        double expected = static_cast<double>(h.Set->Angle[n]);
        if (h.VoltageAngles != nullptr) expected = static_cast<double>(h.VoltageAngles->Angle[n]) - expected;
        angleRow("Угол " + h.Name + order, expected, Degrees(a.HarmonicPhasor[n]) - n * base, k / 100 * u1);
    }
    report_.Harmonics.push_back(bars);
    Add("K" + h.Name + " (гармоники до " + std::to_string(h.Count) + "-й)", "%", h.SetThd, a.Thd(h.Count),
        {{12 * quant, &kRuleQuant}});
    if (h.Inter == nullptr || !s_.Switches.IncludeInterGarm) return;
    for (int m = 1; m < kHighestOrder; ++m) {
        const double k = static_cast<double>(h.Inter->Koef[m]);
        const double measured = a.Interharmonic[m] / u1 * 100;
        if (k == 0 && measured <= quant) continue;
        const std::string order = "(" + std::to_string(m) + ",5)";
        Add("K" + h.Name + order, "%", k, measured, {{classLimit(k / 100 * u1), &rule}, {quant, &kRuleQuant}});
        if (k == 0 || cycles_ % 2 != 0) continue;
        double expected = static_cast<double>(h.Inter->Angle[m]);
        if (h.VoltageInter != nullptr) expected = static_cast<double>(h.VoltageInter->Angle[m]) - expected;
        angleRow("Угол " + h.Name + order, expected, Degrees(a.InterPhasor[m]) - (m + 0.5) * base, k / 100 * u1);
    }
}

void TComparison::Unbalance() {
    const auto seq = Sequences(analysis_[0].Fundamental(), analysis_[1].Fundamental(), analysis_[2].Fundamental());
    const double u1 = std::abs(seq.Pos);
    const double quant = u1 > 0 ? (Q(0) + Q(1) + Q(2)) / u1 * 100 : 0;
    // The program caps both factors at 100 %.
    Add("K2U", "%", static_cast<double>(s_.Voltage.KUNeg), std::min(seq.U2(), 100.0),
        {{0.15, &kRuleUnbalance}, {quant, &kRuleQuant}});
    Add("K0U", "%", static_cast<double>(s_.Voltage.KUZero), std::min(seq.U0(), 100.0),
        {{0.15, &kRuleUnbalance}, {quant, &kRuleQuant}});
    const double nominal = static_cast<double>(s_.Voltage.NominalFaza);
    Add("δU1 прямой последовательности", "%", static_cast<double>(s_.Voltage.DeltaU1), (u1 / nominal - 1) * 100,
        {{0.1, &kRuleVoltage}, {(Q(0) + Q(1) + Q(2)) / 3 / nominal * 100, &kRuleQuant}});
}

void TComparison::Currents() {
    const double nominal = static_cast<double>(s_.Current.Nominal);
    const double reference = s_.Current.Nominal == 5 ? 5.0 : 1.0;
    for (int x = 0; x < 3; ++x) {
        const std::string n = kPhaseName[x];
        const TChannelAnalysis& a = analysis_[6 + x];
        const double q = Q(chIA + x);
        const bool on = sig::IOn(s_.Switches, x);
        const double i1 = std::abs(a.Fundamental());
        Add("I" + n + " основной частоты", "А", on ? static_cast<double>(sig::I(s_.Current, x)) : 0.0, i1,
            {{0.001 * nominal, &kRuleCurrent}, {q, &kRuleQuant}});
        Add("I" + n + " действующий", "А", static_cast<double>(sig::IRms(s_.Current, x)), a.Rms,
            {{0.001 * nominal, &kRuleCurrent}, {q, &kRuleQuant}});
        if (!on) continue;
        Add("δI" + n + " основной частоты", "%", static_cast<double>(sig::DeltaI(s_.Current, x)),
            (i1 / reference - 1) * 100, {{0.1, &kRuleCurrent}, {q / reference * 100, &kRuleQuant}});
        const bool voltageOn = sig::UOn(s_.Switches, x);
        if (voltageOn) {
            const double u1 = std::abs(analysis_[x].Fundamental());
            const double measured = FoldDegrees(Degrees(analysis_[x].Fundamental()) - Degrees(a.Fundamental()));
            const double set = static_cast<double>(sig::PhiUI(s_.Current, x));
            AddAngle("φUI фазы " + n, set, measured, AngleBound(q, i1) + AngleBound(Q(x), u1));
        }
        HarmonicRows({"I" + n, &a, &s_.Current.Garmonik.Faza(x), &s_.Current.InterGarm[x],
                      static_cast<double>(s_.Current.KI[x]), s_.Switches.HarmCountI, nominal, q, true,
                      &s_.Voltage.Garmonik.Faza(x), &s_.Voltage.InterGarm[x], &analysis_[x], voltageOn});
    }
    const auto seq = Sequences(analysis_[6].Fundamental(), analysis_[7].Fundamental(), analysis_[8].Fundamental());
    const double i1 = std::abs(seq.Pos);
    if (i1 <= 0) return;
    const double quant = (Q(chIA) + Q(chIB) + Q(chIC)) / i1 * 100;
    Add("K2I", "%", static_cast<double>(s_.Current.KINeg), seq.U2(), {{0.15, &kRuleUnbalance}, {quant, &kRuleQuant}});
    Add("K0I", "%", static_cast<double>(s_.Current.KIZero), seq.U0(), {{0.15, &kRuleUnbalance}, {quant, &kRuleQuant}});
}

void TComparison::Powers() {
    double pSum = 0, qSum = 0, pFullSum = 0;
    double boundSum = 0, classSum = 0;
    for (int x = 0; x < 3; ++x) {
        const std::string n = kPhaseName[x];
        const std::complex<double> u = analysis_[x].Fundamental();
        const std::complex<double> i = analysis_[6 + x].Fundamental();
        const double s1 = std::abs(u) * std::abs(i);
        const double phi = std::arg(u) - std::arg(i);
        const double p1 = s1 * std::cos(phi);
        const double q1 = s1 * std::sin(phi);
        // A product of two quantised values: each factor off by its step.
        const double bound1 = std::abs(u) * Q(chIA + x) + std::abs(i) * Q(x);
        const double fullU = analysis_[x].Rms, fullI = analysis_[6 + x].Rms;
        const double boundFull = fullU * Q(chIA + x) + fullI * Q(x);
        double pFull = 0;
        for (std::size_t k = 0; k < samples_[x].size(); ++k) pFull += samples_[x][k] * samples_[6 + x][k];
        pFull /= static_cast<double>(samples_[x].size());
        const sig::TPowerParams& f = s_.FundamentalPowers;
        const sig::TPowerParams& w = s_.FullPowers;
        Add("P фазы " + n + " основной частоты", "Вт", static_cast<double>(f.P[x]), p1,
            {{0.002 * s1, &kRulePower}, {bound1, &kRuleQuant}});
        Add("Q фазы " + n + " основной частоты", "вар", static_cast<double>(f.Q[x]), q1,
            {{0.002 * s1, &kRulePower}, {bound1, &kRuleQuant}});
        Add("S фазы " + n + " основной частоты", "В·А", static_cast<double>(f.S[x]), s1,
            {{0.002 * s1, &kRulePower}, {bound1, &kRuleQuant}});
        Add("P фазы " + n + " полная", "Вт", static_cast<double>(w.P[x]), pFull,
            {{0.002 * fullU * fullI, &kRulePower}, {boundFull, &kRuleQuant}});
        Add("S фазы " + n + " полная", "В·А", static_cast<double>(w.S[x]), fullU * fullI,
            {{0.002 * fullU * fullI, &kRulePower}, {boundFull, &kRuleQuant}});
        // The full reactive power as the program defines it: √(S² − P²) with the sign of the fundamental's angle.
        const double qMagnitude = std::sqrt(std::max(fullU * fullI * fullU * fullI - pFull * pFull, 0.0));
        const double qFull = sig::PhiUI(s_.Current, x) < 0 ? -qMagnitude : qMagnitude;
        Add("Q фазы " + n + " полная", "вар", static_cast<double>(w.Q[x]), qFull,
            {{0.002 * fullU * fullI, &kRulePower}, {boundFull, &kRuleQuant}});
        pSum += p1;
        qSum += q1;
        pFullSum += pFull;
        boundSum += bound1;
        classSum += 0.002 * s1;
    }
    Add("P сумма основной частоты", "Вт", static_cast<double>(s_.FundamentalPowers.PSum), pSum,
        {{classSum, &kRulePower}, {boundSum, &kRuleQuant}});
    Add("Q сумма основной частоты", "вар", static_cast<double>(s_.FundamentalPowers.QSum), qSum,
        {{classSum, &kRulePower}, {boundSum, &kRuleQuant}});
    double fullBound = 0, fullClass = 0;
    for (int x = 0; x < 3; ++x) {
        fullBound += analysis_[x].Rms * Q(chIA + x) + analysis_[6 + x].Rms * Q(x);
        fullClass += 0.002 * analysis_[x].Rms * analysis_[6 + x].Rms;
    }
    Add("P сумма полная", "Вт", static_cast<double>(s_.FullPowers.PSum), pFullSum,
        {{fullClass, &kRulePower}, {fullBound, &kRuleQuant}});
}

// Every played value of one table period against the signal's own terms.
void TComparison::Instantaneous() {
    const double frequency = static_cast<double>(s_.Voltage.Freq);
    const std::size_t n = p_.TableLength();
    for (int ch = 0; ch < kChannels; ++ch) {
        if (ch >= chIA && !p_.CurrentPlayed()) break;
        const auto ideal = IdealValues(IdealTerms(s_, ch), frequency, 1.0 / p_.Rate(), 0, n);
        const std::vector<double>& played = p_.Table(0, ch);
        double worst = 0;
        std::size_t at = 0;
        for (std::size_t i = 0; i < n; ++i)
            if (std::abs(played[i] - ideal[i]) > worst) {
                worst = std::abs(played[i] - ideal[i]);
                at = i;
            }
        const std::string name = (ch < chIA ? "U" : "I") + std::string(kPhaseName[ch % 3]);
        Add("Мгновенные значения " + name + ": наибольшее отклонение (отсчёт " + std::to_string(at) + ")",
            ch < chIA ? "В" : "А", 0, worst, {{Q(ch), &kRuleQuant}});
    }
}

// ---------------------------------------------------------------- dips and swells

void TComparison::Collapses() {
    const sig::TCollapsesParams& c = s_.Collapses;
    const std::optional<TEvents>& e = p_.Events();
    if (!e) throw cmn::TalvoError("Калибратору не переданы провалы и перенапряжения");
    const double frequency = p_.ClockFrequency();
    const double period = 1.0 / frequency;
    // Whole events and two periods after the last, at most EventSeconds.
    const double wanted = static_cast<double>(e->End()) / p_.Rate() + 2 * period;
    const double seconds = std::min(wanted, options_.EventSeconds);
    const auto ticks = static_cast<std::size_t>(seconds * p_.Rate());
    const bool whole = wanted <= options_.EventSeconds;
    if (!whole)
        report_.Notes.push_back("Провалы и перенапряжения рассмотрены за первые " + cmn::FormatFixed(seconds, 1) +
                                " с из " + cmn::FormatFixed(wanted, 1) + " с");
    std::array<std::vector<double>, 6> u;
    for (int x = 0; x < 3; ++x) u[x] = p_.Render(chUA + x, 0, ticks);
    for (int l = 0; l < kLines; ++l) {
        u[3 + l] = u[l];
        for (std::size_t i = 0; i < ticks; ++i) u[3 + l][i] -= u[(l + 1) % 3][i];
    }
    for (int k = 0; k < 6; ++k) {
        Step(0.4 + 0.1 * k);
        const bool line = k >= 3;
        const sig::TCollapseFazaParams& f = line ? c.Line[k - 3] : c.Faza[k];
        const std::string name = line ? kLineName[k - 3] : kPhaseName[k];
        double declared = 0;
        if (c.RefKind == sig::rvSet)
            declared = static_cast<double>(line ? s_.Voltage.ULineRms[k - 3] : sig::URms(s_.Voltage, k));
        else declared = static_cast<double>(line ? s_.Voltage.NominalLine : s_.Voltage.NominalFaza);
        const double start = FirstRisingCrossing(Degrees(analysis_[k].Fundamental()), frequency);
        const auto values = HalfCycleRms(u[k], p_.Rate(), frequency, start);
        TTimeSeries series{"Urms(1/2) " + name, 0.5 * period, start + period, {}};
        for (const auto& v : values) series.Values.push_back(v.Value);
        report_.HalfCycleRms.push_back(std::move(series));
        const auto events = DetectEvents(values, {declared, 90, 110, 2});
        const bool swell = f.Kind == sig::ckSwell;
        const double setExtreme = static_cast<double>(swell ? f.UPer : f.UResidual);
        // An event the thresholds cannot see: a dip shallower than 10 %, a swell below 110 %.
        const bool visible = swell ? setExtreme > 1.1 * declared : setExtreme < 0.9 * declared;
        const std::string what = (swell ? "Перенапряжение " : "Провал ") + name;
        const std::int64_t expected = visible ? (whole ? c.Count : static_cast<std::int64_t>(events.size())) : 0;
        Add(what + ": количество", "", static_cast<double>(expected), static_cast<double>(events.size()),
            {{0.5, &kRuleCount}});
        if (!visible || events.empty()) continue;
        double extreme = events.front().Extreme, duration = 0;
        for (const auto& ev : events) {
            extreme = swell ? std::max(extreme, ev.Extreme) : std::min(extreme, ev.Extreme);
            duration += ev.Duration;
        }
        duration /= static_cast<double>(events.size());
        Add(what + (swell ? ": максимальное напряжение" : ": остаточное напряжение"), "В", setExtreme, extreme,
            {{0.002 * declared, &kRuleResidual}});
        Add(what + ": длительность", "с", static_cast<double>(c.Duration), duration, {{period, &kRuleDuration}});
    }
    // The table played during the events scales each phase's fundamental to its event voltage.
    for (int x = 0; x < 3; ++x) {
        const sig::TCollapseFazaParams& f = c.Faza[x];
        const bool swell = f.Kind == sig::ckSwell;
        const auto a = AnalyseWindow(p_.Table(1, chUA + x), p_.CyclesPerTable());
        Add(std::string(swell ? "Перенапряжение " : "Провал ") + kPhaseName[x] + ": основная частота таблицы события",
            "В", static_cast<double>(swell ? f.UPer : f.UResidual), std::abs(a.Fundamental()), {{Q(x), &kRuleQuant}});
    }
}

// ---------------------------------------------------------------- fluctuations

void TComparison::Fluctuations() {
    const sig::TKolebParams& k = s_.Koleb;
    const std::optional<TEvents>& e = p_.Events();
    if (!e || !p_.HasAlternative()) throw cmn::TalvoError("Калибратору не переданы колебания напряжения");
    const double seconds = options_.FlickerSeconds;
    if (seconds < 600)
        report_.Notes.push_back("Доза фликера измерена за " + cmn::FormatFixed(seconds, 0) +
                                " с вместо 600 с: это оценка Pst по укороченному наблюдению");
    // The swing from the two level tables: the RMS of each, phase by phase.
    std::array<double, 6> levels[2]{};
    for (int source = 0; source < 2; ++source)
        for (int x = 0; x < 3; ++x) {
            levels[source][x] = Rms(p_.Table(source, chUA + x));
            std::vector<double> line = p_.Table(source, chUA + x);
            for (std::size_t i = 0; i < line.size(); ++i) line[i] -= p_.Table(source, chUA + (x + 1) % 3)[i];
            levels[source][3 + x] = Rms(line);
        }
    const double nominal = static_cast<double>(s_.Voltage.FreqNominal > 55 ? 60 : 50);
    for (int c = 0; c < 6; ++c) {
        Step(0.3 + 0.11 * c);
        const bool line = c >= 3;
        const std::string name = line ? kLineName[c - 3] : kPhaseName[c];
        const double high = std::max(levels[0][c], levels[1][c]), low = std::min(levels[0][c], levels[1][c]);
        const double swing = (high - low) / ((high + low) / 2) * 100;
        const double q = line ? LineQ(c - 3) : Q(c);
        Add("Размах колебаний " + name, "%", static_cast<double>(line ? k.SwingLine[c - 3] : k.Swing[c]), swing,
            {{2 * q / std::max(low, 1e-9) * 100, &kRuleQuant}});
        const auto r = PlayedFlicker(p_, line ? c - 3 : c, line ? (c - 3 + 1) % 3 : -1, seconds, nominal);
        TTimeSeries series{"Pinst " + name, 1.0 / r.PlotRate, 0, r.Plot};
        report_.Pinst.push_back(std::move(series));
        const double set = static_cast<double>(k.Pst[c]);
        const std::string label =
            seconds < 600 ? "Pst " + name + " (наблюдение " + cmn::FormatFixed(seconds, 0) + " с)" : "Pst " + name;
        Add(label, "", set, r.Pst, {{0.06 * set, &kRuleFlicker}});
    }
}

TVerifyReport TComparison::Run() {
    const TVerifyAction action = options_.Capture.Action;
    Step(0.05);
    if (action != TVerifyAction::Koleb) {
        Analyse();
        Step(0.15);
        Frequency();
        PhaseVoltages();
        LineVoltages();
        Unbalance();
        if (p_.CurrentPlayed()) {
            Currents();
            Powers();
        }
        Step(0.3);
        Instantaneous();
    }
    if (action == TVerifyAction::ColOver) Collapses();
    if (action == TVerifyAction::Koleb) Fluctuations();
    Step(1.0);
    return std::move(report_);
}

}  // namespace

bool TVerifyReport::Passed() const {
    return !Rows.empty() && std::all_of(Rows.begin(), Rows.end(), [](const TCompareRow& r) { return r.Pass; });
}

TVerifyReport CompareBytes(const sig::TSignalSet& signal, const std::vector<std::uint8_t>& bytes,
                           const TVerifyOptions& options, const TVerifyControl& control) {
    TDeviceModel model{options.Capture.Modification, {}};
    for (std::size_t i = 0; i < model.Correction.size(); ++i)
        model.Correction[i] = static_cast<double>(options.Capture.Correction[i]);
    auto playback = std::make_shared<const TPlayback>(SplitSentBytes(bytes), model);
    TComparison comparison(signal, options, control, *playback);
    TVerifyReport report = comparison.Run();
    report.Playback = std::move(playback);
    return report;
}

TVerifyReport VerifySignal(const sig::TSignalSet& signal, const TVerifyOptions& options,
                           const TVerifyControl& control) {
    const std::vector<std::uint8_t> bytes = CaptureAction(signal, options.Capture);
    return CompareBytes(signal, bytes, options, control);
}

TWaveformPair PlayedAndIdeal(const TPlayback& playback, const sig::TSignalSet& signal, int channel, double start,
                             double span) {
    TWaveformPair pair;
    pair.Step = 1.0 / playback.Rate();
    const auto first = static_cast<std::int64_t>(std::llround(start * playback.Rate()));
    const auto count = static_cast<std::size_t>(std::max(0.0, span * playback.Rate()));
    pair.Played = playback.Render(channel, first, count);
    pair.Ideal = IdealValues(IdealTerms(signal, channel), static_cast<double>(signal.Voltage.Freq), pair.Step,
                             static_cast<std::size_t>(std::max<std::int64_t>(first, 0)), count);
    return pair;
}

}  // namespace msr
