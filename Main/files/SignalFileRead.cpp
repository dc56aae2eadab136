#include <cmath>
#include <cstdint>

#include "files/SignalFile.h"
#include "files/SignalFileLayout.h"
#include "signal/Calculations.h"
#include "signal/Frequency.h"
#include "signal/Nominals.h"

namespace files {
namespace {

using namespace layout;
using sig::real;

const std::string kVoltageNominalRefused =
    "Номинальное напряжение, которое записано в файле, не поддерживается программой!";
const std::string kCurrentNominalRefused = "Номинальный ток, который записан в файле, не поддерживается программой!";

class TSectionReader {
public:
    TSectionReader(const IniFile& ini, const std::string& section) : ini_(ini), section_(section) {}
    real Real(const std::string& key, real def) const {
        return ini_.ReadFloat(section_, key, static_cast<double>(def));
    }
    std::int32_t Integer(const std::string& key, std::int32_t def) const {
        return ini_.ReadInteger(section_, key, def);
    }
    // A byte field keeps the low eight bits, as an assignment to it does.
    std::uint8_t Byte(const std::string& key, std::uint8_t def) const {
        return static_cast<std::uint8_t>(Integer(key, def));
    }
    bool Bool(const std::string& key, bool def) const { return ini_.ReadBool(section_, key, def); }

private:
    const IniFile& ini_;
    const std::string& section_;
};

// The harmonic store holds single precision; a value that would round to
// infinity there counts as unreadable. 2^128 - 2^103 is where rounding to
// the largest finite float ends.
float Narrow(double value) {
    constexpr double kBeyondSingle = 0x1.ffffffp127;
    return std::fabs(value) < kBeyondSingle ? static_cast<float>(value) : 0.0f;
}

void ReadHarmonics(const IniFile& ini, const TSpectrumSections& sections, sig::TGarmonik& g) {
    for (int n = 2; n <= sig::kHarmonics; ++n)
        for (int phase = sig::fzA; phase <= sig::fzC; ++phase)
            g.SetKoef(static_cast<sig::TGarmonikPart>(phase), n,
                      Narrow(ini.ReadFloat(sections.HarmKoef[phase], NumberKey(n), 0)));
    for (int n = 2; n <= sig::kHarmonics; ++n)
        for (int phase = sig::fzA; phase <= sig::fzC; ++phase)
            g.SetAngle(static_cast<sig::TGarmonikPart>(phase), n,
                       Narrow(ini.ReadFloat(sections.HarmAngle[phase], NumberKey(n), 0)));
}

template <std::size_t N>
void ReadInterharmonics(const IniFile& ini, const TSpectrumSections& sections,
                        std::array<sig::TInterGarmonik, N>& inter) {
    for (int m = 1; m <= sig::kInterHarmonics; ++m)
        for (int phase = sig::fzA; phase <= sig::fzC; ++phase)
            inter[phase].Koef[m] = Narrow(ini.ReadFloat(sections.InterKoef[phase], NumberKey(m), 0));
    for (int m = 1; m <= sig::kInterHarmonics; ++m)
        for (int phase = sig::fzA; phase <= sig::fzC; ++phase)
            inter[phase].Angle[m] = Narrow(ini.ReadFloat(sections.InterAngle[phase], NumberKey(m), 0));
}

template <std::size_t N>
void ReadSpectrum(const IniFile& ini, const TSpectrumSections& sections, sig::TGarmonik& g,
                  std::array<sig::TInterGarmonik, N>& inter) {
    ReadHarmonics(ini, sections, g);
    ReadInterharmonics(ini, sections, inter);
}

void ReadSwitches(const TSectionReader& r, const TPhaseNames& keys, bool& a, bool& b, bool& c) {
    a = r.Bool(keys[0], true);
    b = r.Bool(keys[1], true);
    c = r.Bool(keys[2], true);
}

void ReadNominals(const TSectionReader& r, sig::TSignalParamsU& v, real nominal) {
    v.Nominal = nominal;
    v.NominalFaza = r.Real(kNominalFaza, nominal);
    v.NominalLine = r.Real(kNominalLine, std::sqrt(3.0L) * nominal);
}

void ReadPhases(const TSectionReader& r, sig::TSignalParamsU& v) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) sig::U(v, phase) = r.Real(kPhaseKeys[phase], 0);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) sig::Shift(v, phase) = r.Real(kShiftKeys[phase], 0);
}

void ReadCurrentAngles(const TSectionReader& r, sig::TSignalParamsI& c) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) sig::PhiUI(c, phase) = -r.Real(kShiftKeys[phase], 0);
}

void ReadCurrentValues(const TSectionReader& r, sig::TSignalParamsI& c) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) sig::I(c, phase) = r.Real(kPhaseKeys[phase], 0);
    ReadCurrentAngles(r, c);
}

void ReadVoltageCounts(const TSectionReader& r, sig::TSignalSwitches& sw) {
    sw.HarmCountU = r.Byte(kHarmCount, 50);
    sw.InterCountU = r.Byte(kInterCount, 50);
}

void ReadCurrentCounts(const TSectionReader& r, sig::TSignalSwitches& sw) {
    sw.HarmCountI = r.Byte(kHarmCount, 50);
    sw.InterCountI = r.Byte(kInterCount, 50);
}

void ReadInterSwitch(const IniFile& ini, sig::TSignalSwitches& sw) {
    sw.IncludeInterGarm = TSectionReader(ini, kInterSection).Bool(kInterIncludeKey, false);
}

void ReadBlockD(const IniFile& ini, sig::TCollapsesParams& d) {
    const TSectionReader r(ini, kCollapses);
    d.Duration = r.Real(kDurationKey, 0);
    d.Count = r.Integer(kCountKey, 0);
    d.Period = r.Real(kPeriodKey, 0);
    d.StartPhase = r.Integer(kStartPhaseKey, 0);
    d.Binding = r.Byte(kBindingKey, sig::cbPeriod);
    d.RefKind = r.Byte(kRefKindKey, sig::rvNominal);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        const TSectionReader f(ini, kCollapseFazaSections[phase]);
        d.Faza[phase].Kind = f.Byte(kCollapseKindKey, sig::ckDip);
        d.Faza[phase].KPerU = f.Real(kSwellKey, 0);
        d.Faza[phase].DepthPercent = f.Real(kDipKey, 0);
    }
}

void ReadBlockF(const IniFile& ini, sig::TKolebParams& k) {
    k.Freq = TSectionReader(ini, kKoleb).Real(kKolebFreqKey, 1);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase)
        k.Swing[phase] = TSectionReader(ini, kKolebFazaSections[phase]).Real(kSwingKey, 0);
}

template <std::size_t N>
void ReadList(const IniFile& ini, const std::string& section, std::array<bool, N>& checked) {
    for (std::size_t i = 0; i < N; ++i) checked[i] = ini.ReadBool(section, NumberKey(static_cast<int>(i + 1)), false);
}

void ReadBlockG(const IniFile& ini, TSignalDisplayState& g) {
    const TSectionReader r(ini, kScale);
    g.VoltageBarMax = r.Integer(kVoltageBarKey, 10);
    g.CurrentBarMax = r.Integer(kCurrentBarKey, 30);
    g.PowerBarMax = r.Integer(kPowerBarKey, 30);
    g.VoltageAxisMax = r.Integer(kVoltageAxisKey, 600);
    g.CurrentAxisMax = r.Integer(kCurrentAxisKey, 10);
    ReadList(ini, kVoltageList, g.VoltagePhases);
    ReadList(ini, kCurrentList, g.CurrentPhases);
    ReadList(ini, kPowerList, g.PowerPhases);
    ReadList(ini, kWaveformList, g.WaveformPhases);
}

// One reading of one file into one target.
class TSignalFileReader {
public:
    TSignalFileReader(const IniFile& ini, bool interactive, const TSignalLoadTarget& target)
        : ini_(ini), interactive_(interactive && target.Log.Interactive()), t_(target), s_(target.Signal) {}

    bool Full();
    bool Voltage();
    bool Current();
    bool Converter();

private:
    void Report(const std::string& text) const;
    bool MarkerMatches(SignalFileKind kind) const;
    bool ReplacementAccepted(SignalFileKind kind) const;
    bool Accepted(bool ok, const std::string& refusal) const;
    void ReadFrequency(const TSectionReader& r, sig::TSignalParamsU& v) const;
    bool FullVoltagePart();
    bool FullCurrentPart();

    const IniFile& ini_;
    const bool interactive_;
    const TSignalLoadTarget& t_;
    sig::TSignalSet& s_;
};

void TSignalFileReader::Report(const std::string& text) const {
    if (interactive_) t_.Log.Ask(text, cmn::MessageKind::Warning, cmn::Buttons::Ok);
    else t_.Log.Log(cmn::LogType::Notice, text);
}

bool TSignalFileReader::MarkerMatches(SignalFileKind kind) const {
    const TSignalFileKindTexts& texts = SignalFileKindTexts(kind);
    return Accepted(ini_.ReadString(kIdSection, kKindKey, "") == texts.Marker, std::string(texts.WrongKindMessage));
}

bool TSignalFileReader::ReplacementAccepted(SignalFileKind kind) const {
    const std::string_view question = SignalFileKindTexts(kind).ReplaceQuestion;
    return !interactive_ || t_.Log.Ask(std::string(question), cmn::MessageKind::Confirmation, cmn::Buttons::YesNo);
}

bool TSignalFileReader::Accepted(bool ok, const std::string& refusal) const {
    if (!ok) Report(refusal);
    return ok;
}

// A frequency the calibrator cannot play is reported by the frequency
// setting itself and leaves the previous one; the reading goes on.
void TSignalFileReader::ReadFrequency(const TSectionReader& r, sig::TSignalParamsU& v) const {
    v.FreqNominal = r.Real(kFreqNominal, sig::kNominalFrequencies[0]);
    const real requested = r.Real(kFreq, v.FreqNominal);
    sig::SetSignalFrequency(requested, t_.FreqCorrection, s_.Grid, sig::DeriveFrequencyBounds(t_.FreqCorrection),
                            interactive_, t_.Console, t_.Log, v);
}

bool TSignalFileReader::Full() { return MarkerMatches(sfAll) && FullVoltagePart() && FullCurrentPart(); }

// The voltage with the six channel switches and the four counts.
bool TSignalFileReader::FullVoltagePart() {
    sig::TSignalSwitches& sw = s_.Switches;
    const TSectionReader v(ini_, kVoltage);
    const real nominal = v.Real(kNominal, 0);
    if (!Accepted(sig::IsAcceptedVoltageNominal(nominal), kVoltageNominalRefused)) return false;
    ReadNominals(v, s_.Voltage, nominal);
    ReadPhases(v, s_.Voltage);
    ReadFrequency(v, s_.Voltage);
    ReadSpectrum(ini_, kVoltageSpectrum, s_.Voltage.Garmonik, s_.Voltage.InterGarm);
    ReadInterSwitch(ini_, sw);
    const TSectionReader c(ini_, kCurrent);
    ReadSwitches(v, kVoltageOnKeys, sw.UOnA, sw.UOnB, sw.UOnC);
    ReadSwitches(c, kCurrentOnKeys, sw.IOnA, sw.IOnB, sw.IOnC);
    ReadVoltageCounts(v, sw);
    ReadCurrentCounts(c, sw);
    sig::CalcVoltageParams(s_.Voltage, sw, t_.Display);
    return true;
}

// The current, the dips and swells, the fluctuations and the window's state.
bool TSignalFileReader::FullCurrentPart() {
    const sig::TSignalSwitches& sw = s_.Switches;
    const TSectionReader c(ini_, kCurrent);
    const real nominal = c.Real(kNominal, 0);
    if (!Accepted(sig::IsAcceptedCurrentNominal(nominal), kCurrentNominalRefused)) return false;
    s_.Current.Nominal = nominal;
    ReadCurrentValues(c, s_.Current);
    ReadSpectrum(ini_, kCurrentSpectrum, s_.Current.Garmonik, s_.Current.InterGarm);
    ReadBlockD(ini_, s_.Collapses);
    ReadBlockF(ini_, s_.Koleb);
    sig::CalcKolebParams(s_.Voltage, s_.Koleb, sw.UOnA, sw.UOnB, sw.UOnC, t_.Flicker);
    t_.Extras.Description = DecodeDescription(ini_.ReadString(kDescriptionSection, kDescriptionKey, ""));
    ReadBlockG(ini_, t_.Extras.Display);
    sig::CalcCurrentParams(s_.Current, s_.Voltage, sw, t_.Display);
    return true;
}

// The phase and line nominals are read as in the full file: a voltage file
// carries them, and deviations taken against the nominals of the signal it
// replaces would be wrong whenever the two nominals differ.
bool TSignalFileReader::Voltage() {
    if (!MarkerMatches(sfVoltage) || !ReplacementAccepted(sfVoltage)) return false;
    sig::TSignalSwitches& sw = s_.Switches;
    const TSectionReader v(ini_, kVoltage);
    const real nominal = v.Real(kNominal, 0);
    if (!Accepted(sig::IsAcceptedVoltageNominal(nominal), kVoltageNominalRefused)) return false;
    ReadNominals(v, s_.Voltage, nominal);
    ReadSwitches(v, kVoltageOnKeys, sw.UOnA, sw.UOnB, sw.UOnC);
    ReadPhases(v, s_.Voltage);
    ReadFrequency(v, s_.Voltage);
    ReadSpectrum(ini_, kVoltageSpectrum, s_.Voltage.Garmonik, s_.Voltage.InterGarm);
    ReadInterSwitch(ini_, sw);
    ReadVoltageCounts(v, sw);
    sig::CalcVoltageParams(s_.Voltage, sw, t_.Display);
    return true;
}

bool TSignalFileReader::Current() {
    if (!MarkerMatches(sfCurrent) || !ReplacementAccepted(sfCurrent)) return false;
    sig::TSignalSwitches& sw = s_.Switches;
    const TSectionReader c(ini_, kCurrent);
    const real nominal = c.Real(kNominal, 0);
    if (!Accepted(sig::IsAcceptedCurrentNominal(nominal), kCurrentNominalRefused)) return false;
    s_.Current.Nominal = nominal;
    ReadSwitches(c, kCurrentOnKeys, sw.IOnA, sw.IOnB, sw.IOnC);
    ReadCurrentValues(c, s_.Current);
    ReadFrequency(c, s_.Voltage);
    ReadSpectrum(ini_, kCurrentSpectrum, s_.Current.Garmonik, s_.Current.InterGarm);
    ReadInterSwitch(ini_, sw);
    ReadCurrentCounts(c, sw);
    sig::CalcCurrentParams(s_.Current, s_.Voltage, sw, t_.Display);
    sig::CalcVoltageParams(s_.Voltage, sw, t_.Display);
    return true;
}

// The converter's harmonics live in the current parameters, whose channels
// drive the converter; its quantities are recomputed by the converter page.
bool TSignalFileReader::Converter() {
    if (!MarkerMatches(sfConverter) || !ReplacementAccepted(sfConverter)) return false;
    std::array<bool, 3>& on = t_.Extras.ConverterOn;
    const TSectionReader v(ini_, kVoltage);
    s_.Converter.Nominal = v.Real(kNominal, 0);
    ReadSwitches(v, kVoltageOnKeys, on[0], on[1], on[2]);
    ReadPhases(v, s_.Converter);
    ReadFrequency(v, s_.Converter);
    ReadSpectrum(ini_, kVoltageSpectrum, s_.Current.Garmonik, s_.Current.InterGarm);
    ReadInterSwitch(ini_, s_.Switches);
    ReadVoltageCounts(v, s_.Switches);
    ReadCurrentAngles(TSectionReader(ini_, kCurrent), s_.Current);
    return true;
}

}  // namespace

bool LoadSignalFile(SignalFileKind kind, const IniFile& ini, bool interactive, const TSignalLoadTarget& target) {
    TSignalFileReader reader(ini, interactive, target);
    switch (kind) {
        case sfAll: return reader.Full();
        case sfVoltage: return reader.Voltage();
        case sfCurrent: return reader.Current();
        case sfConverter: return reader.Converter();
    }
    SignalFileKindTexts(kind);  // raises for a number that is no kind
    return false;
}

}  // namespace files
