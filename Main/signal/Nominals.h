#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "signal/Records.h"

// The fixed vocabularies of a signal: nominal values, the two calibrator
// modifications and what each supports, the flicker standards, and the
// small enumerations of the dips record.
namespace sig {

// ---------------------------------------------------------------- nominal values

constexpr real kNominalVoltageLow = 57.735L;
constexpr real kNominalVoltageHigh = 220.0L;
constexpr std::string_view kNominalVoltageTexts[2]{"57.735", "220.0"};
constexpr real kNominalCurrentLow = 1.0L;
constexpr real kNominalCurrentHigh = 5.0L;
constexpr std::string_view kNominalCurrentTexts[2]{"1.0", "5.0"};
constexpr real kNominalFrequencies[2]{50, 60};
constexpr int kHarmCountChoices[2]{40, 50};

// A stored voltage nominal is accepted when its integer part is 57 or 220.
bool IsAcceptedVoltageNominal(real value);
// A stored current nominal must be exactly 1 or 5.
bool IsAcceptedCurrentNominal(real value);

// The current a phase current deviation is taken against: 5 A for the
// nominal 5, otherwise 1 A.
real ReferenceCurrent(real nominal);

// ---------------------------------------------------------------- calibrator modifications

enum CalibratorModification : int { dmTalvo = 0, dmTalvoM = 1 };
inline constexpr int kModificationCount = 2;
// Without a stored or given choice the program takes the second modification.
inline constexpr int kDefaultModification = dmTalvoM;

struct TModificationInfo {
    std::string_view Identifier;   // command line and settings text
    std::string_view DisplayName;  // shown in messages
    bool VoltageAbove40;
    bool CurrentAbove40;
    bool InterHarmonics;
    real OutputScale;         // voltage table scale factor
    bool FilterCompensation;  // harmonic amplitudes carry the output-filter factor
};

// Raises TalvoError for a value other than dmTalvo and dmTalvoM.
const TModificationInfo& ModificationInfo(int modification);

// ---------------------------------------------------------------- capabilities

// Any coefficient of orders 41 ... 50 in any of the six voltage blocks.
bool HasVoltageHarmonicsAbove40(const TSignalParamsU& v);
// The same over the three blocks of a current store.
bool HasCurrentHarmonicsAbove40(const TSignalParamsI& c);
// Every coefficient and angle of the phase interharmonics of voltage and current is 0.
bool InterharmonicsEmpty(const TSignalParamsU& v, const TSignalParamsI& c);

// The lines naming what the modification cannot play, each ended by "\r\n";
// empty when everything is supported.
std::string UnsupportedParameters(int modification, const TSignalParamsU& v, const TSignalParamsI& c,
                                  const TSignalSwitches& switches);
// The Yes/No question shown before such a signal is sent.
std::string UnsupportedQuestion(int modification, const std::string& unsupported);
// The notice logged instead when nobody can be asked.
std::string UnsupportedNotice(const std::string& unsupported);

// ---------------------------------------------------------------- flicker standards

enum FlickerStandard : int { fsGost99 = 0, fsGost2012 = 1 };
constexpr std::string_view kFlickerStandardNames[2]{"ГОСТ Р 51317.4.15-99", "ГОСТ Р 51317.4.15-2012"};
constexpr std::string_view kFlickerStandardCaptions[2]{"ГОСТ Р 51317.4.15 - 99 ", "ГОСТ Р 51317.4.15 - 2012 "};

// ---------------------------------------------------------------- dips enumerations

// Raise "Неизвестный вид опорного напряжения" and
// "Неизвестный вид привязки провалов: %d" for values outside their lists.
RefVoltageKind CheckRefVoltageKind(std::uint8_t kind);
CollapseBinding CheckCollapseBinding(std::uint8_t binding);

constexpr std::string_view kRefVoltageKindNames[2]{"Номинальное", "Заданное"};

}  // namespace sig
