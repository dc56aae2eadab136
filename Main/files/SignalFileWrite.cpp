#include <cmath>
#include <cstdint>
#include <limits>

#include "files/SignalFile.h"
#include "files/SignalFileLayout.h"

namespace files {
namespace {

using namespace layout;
using sig::real;

// Keys written one after another into one section.
class TSectionWriter {
public:
    TSectionWriter(IniFile& ini, const std::string& section) : ini_(ini), section_(section) {}
    void Real(const std::string& key, real value) { ini_.WriteFloat(section_, key, static_cast<double>(value)); }
    void Integer(const std::string& key, std::int32_t value) { ini_.WriteInteger(section_, key, value); }
    void Bool(const std::string& key, bool value) { ini_.WriteBool(section_, key, value); }
    void String(const std::string& key, const std::string& value) { ini_.WriteString(section_, key, value); }

private:
    IniFile& ini_;
    const std::string& section_;
};

// A chart limit to the nearest integer, halves to even, kept within the integer range.
std::int32_t RoundedLimit(double value) {
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value)) return 0;
    return static_cast<std::int32_t>(std::fmin(std::fmax(std::nearbyint(value), lowest), highest));
}

void WriteHeader(IniFile& ini, SignalFileKind kind) {
    TSectionWriter(ini, kIdSection).String(kKindKey, std::string(SignalFileKindTexts(kind).Marker));
}

void WriteDescription(IniFile& ini, const TSignalFileExtras& extras) {
    TSectionWriter(ini, kDescriptionSection).String(kDescriptionKey, EncodeDescription(extras.Description));
}

void WriteSwitches(TSectionWriter& w, const TPhaseNames& keys, bool a, bool b, bool c) {
    w.Bool(keys[0], a);
    w.Bool(keys[1], b);
    w.Bool(keys[2], c);
}

void WriteNominals(TSectionWriter& w, const sig::TSignalParamsU& v) {
    w.Real(kNominal, v.Nominal);
    w.Real(kNominalFaza, v.NominalFaza);
    w.Real(kNominalLine, v.NominalLine);
}

void WritePhases(TSectionWriter& w, const sig::TSignalParamsU& v) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) w.Real(kPhaseKeys[phase], sig::U(v, phase));
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) w.Real(kShiftKeys[phase], sig::Shift(v, phase));
}

void WriteFrequency(TSectionWriter& w, const sig::TSignalParamsU& v) {
    w.Real(kFreqNominal, v.FreqNominal);
    w.Real(kFreq, v.Freq);
}

void WriteCounts(TSectionWriter& w, std::uint8_t harmonics, std::uint8_t interharmonics) {
    w.Integer(kHarmCount, harmonics);
    w.Integer(kInterCount, interharmonics);
}

// The file holds the current angle the other way round: current minus voltage.
void WriteCurrentAngles(TSectionWriter& w, const sig::TSignalParamsI& c) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) w.Real(kShiftKeys[phase], -sig::PhiUI(c, phase));
}

void WriteBlockV(IniFile& ini, const sig::TSignalSet& s) {
    const sig::TSignalSwitches& sw = s.Switches;
    TSectionWriter w(ini, kVoltage);
    WriteSwitches(w, kVoltageOnKeys, sw.UOnA, sw.UOnB, sw.UOnC);
    WriteNominals(w, s.Voltage);
    WritePhases(w, s.Voltage);
    WriteFrequency(w, s.Voltage);
    WriteCounts(w, sw.HarmCountU, sw.InterCountU);
}

void WriteBlockI(IniFile& ini, const sig::TSignalSet& s, bool withFrequency) {
    const sig::TSignalSwitches& sw = s.Switches;
    TSectionWriter w(ini, kCurrent);
    WriteSwitches(w, kCurrentOnKeys, sw.IOnA, sw.IOnB, sw.IOnC);
    w.Real(kNominal, s.Current.Nominal);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) w.Real(kPhaseKeys[phase], sig::I(s.Current, phase));
    WriteCurrentAngles(w, s.Current);
    if (withFrequency) WriteFrequency(w, s.Voltage);
    WriteCounts(w, sw.HarmCountI, sw.InterCountI);
}

// Phases A, B, C for each order in turn, so the three sections come into a
// new file in that order, each with its keys ascending.
template <class Array>
void WriteInterleaved(IniFile& ini, const TPhaseNames& sections, int first, int last, const Array& values) {
    for (int n = first; n <= last; ++n)
        for (int phase = sig::fzA; phase <= sig::fzC; ++phase)
            ini.WriteFloat(sections[phase], NumberKey(n), static_cast<double>(values(phase)[n]));
}

template <std::size_t N>
void WriteSpectrum(IniFile& ini, const TSpectrumSections& sections, const sig::TGarmonik& g,
                   const std::array<sig::TInterGarmonik, N>& inter) {
    WriteInterleaved(
        ini, sections.HarmKoef, 2, sig::kHarmonics, [&](int p) -> auto& { return g.Faza(p).Koef; });
    WriteInterleaved(
        ini, sections.HarmAngle, 2, sig::kHarmonics, [&](int p) -> auto& { return g.Faza(p).Angle; });
    WriteInterleaved(
        ini, sections.InterKoef, 1, sig::kInterHarmonics, [&](int p) -> auto& { return inter[p].Koef; });
    WriteInterleaved(
        ini, sections.InterAngle, 1, sig::kInterHarmonics, [&](int p) -> auto& { return inter[p].Angle; });
}

void WriteBlockS(IniFile& ini, const sig::TSignalSwitches& sw) {
    TSectionWriter(ini, kInterSection).Bool(kInterIncludeKey, sw.IncludeInterGarm);
}

void WriteBlockD(IniFile& ini, const sig::TCollapsesParams& d) {
    TSectionWriter w(ini, kCollapses);
    w.Real(kDurationKey, d.Duration);
    w.Integer(kCountKey, d.Count);
    w.Real(kPeriodKey, d.Period);
    w.Integer(kStartPhaseKey, d.StartPhase);
    w.Integer(kBindingKey, d.Binding);
    w.Integer(kRefKindKey, d.RefKind);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        TSectionWriter f(ini, kCollapseFazaSections[phase]);
        f.Integer(kCollapseKindKey, d.Faza[phase].Kind);
        f.Real(kSwellKey, d.Faza[phase].KPerU);
        f.Real(kDipKey, d.Faza[phase].DepthPercent);
    }
}

void WriteBlockF(IniFile& ini, const sig::TKolebParams& k) {
    TSectionWriter(ini, kKoleb).Real(kKolebFreqKey, k.Freq);
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase)
        TSectionWriter(ini, kKolebFazaSections[phase]).Real(kSwingKey, k.Swing[phase]);
}

template <std::size_t N>
void WriteList(IniFile& ini, const std::string& section, const std::array<bool, N>& checked) {
    for (std::size_t i = 0; i < N; ++i) ini.WriteBool(section, NumberKey(static_cast<int>(i + 1)), checked[i]);
}

void WriteBlockG(IniFile& ini, const TSignalDisplayState& g) {
    TSectionWriter w(ini, kScale);
    w.Integer(kVoltageBarKey, RoundedLimit(g.VoltageBarMax));
    w.Integer(kCurrentBarKey, RoundedLimit(g.CurrentBarMax));
    w.Integer(kPowerBarKey, RoundedLimit(g.PowerBarMax));
    w.Integer(kVoltageAxisKey, RoundedLimit(g.VoltageAxisMax));
    w.Integer(kCurrentAxisKey, RoundedLimit(g.CurrentAxisMax));
    WriteList(ini, kVoltageList, g.VoltagePhases);
    WriteList(ini, kCurrentList, g.CurrentPhases);
    WriteList(ini, kPowerList, g.PowerPhases);
    WriteList(ini, kWaveformList, g.WaveformPhases);
}

void WriteFull(IniFile& ini, const sig::TSignalSet& s, const TSignalFileExtras& extras) {
    WriteHeader(ini, sfAll);
    WriteDescription(ini, extras);
    WriteBlockV(ini, s);
    WriteSpectrum(ini, kVoltageSpectrum, s.Voltage.Garmonik, s.Voltage.InterGarm);
    WriteBlockI(ini, s, false);
    WriteSpectrum(ini, kCurrentSpectrum, s.Current.Garmonik, s.Current.InterGarm);
    WriteBlockD(ini, s.Collapses);
    WriteBlockF(ini, s.Koleb);
    WriteBlockG(ini, extras.Display);
    WriteBlockS(ini, s.Switches);
}

void WriteVoltage(IniFile& ini, const sig::TSignalSet& s) {
    WriteHeader(ini, sfVoltage);
    WriteBlockV(ini, s);
    WriteSpectrum(ini, kVoltageSpectrum, s.Voltage.Garmonik, s.Voltage.InterGarm);
    WriteBlockS(ini, s.Switches);
}

void WriteCurrent(IniFile& ini, const sig::TSignalSet& s) {
    WriteHeader(ini, sfCurrent);
    WriteBlockI(ini, s, true);
    WriteSpectrum(ini, kCurrentSpectrum, s.Current.Garmonik, s.Current.InterGarm);
    WriteBlockS(ini, s.Switches);
}

void WriteConverter(IniFile& ini, const sig::TSignalSet& s, const TSignalFileExtras& extras) {
    WriteHeader(ini, sfConverter);
    WriteDescription(ini, extras);
    TSectionWriter v(ini, kVoltage);
    WriteSwitches(v, kVoltageOnKeys, extras.ConverterOn[0], extras.ConverterOn[1], extras.ConverterOn[2]);
    WriteNominals(v, s.Converter);
    WritePhases(v, s.Converter);
    WriteFrequency(v, s.Voltage);
    TSectionWriter c(ini, kCurrent);
    WriteCurrentAngles(c, s.Current);
    WriteCounts(v, s.Switches.HarmCountU, s.Switches.InterCountU);
    WriteSpectrum(ini, kVoltageSpectrum, s.Current.Garmonik, s.Current.InterGarm);
    WriteBlockS(ini, s.Switches);
}

}  // namespace

void MadeListForSave(IniFile& ini, SignalFileKind kind, const sig::TSignalSet& signal,
                     const TSignalFileExtras& extras) {
    SignalFileKindTexts(kind);  // refuses a number that is no kind
    switch (kind) {
        case sfAll: return WriteFull(ini, signal, extras);
        case sfVoltage: return WriteVoltage(ini, signal);
        case sfCurrent: return WriteCurrent(ini, signal);
        case sfConverter: return WriteConverter(ini, signal, extras);
    }
}

void SaveSignalFile(const std::string& path, SignalFileKind kind, const sig::TSignalSet& signal,
                    const TSignalFileExtras& extras) {
    IniFile ini(path);
    MadeListForSave(ini, kind, signal, extras);
    ini.UpdateFile();
}

std::string SignalFileContent(SignalFileKind kind, const sig::TSignalSet& signal, const TSignalFileExtras& extras) {
    IniFile ini = IniFile::FromBytes({});
    MadeListForSave(ini, kind, signal, extras);
    return ini.Content();
}

}  // namespace files
