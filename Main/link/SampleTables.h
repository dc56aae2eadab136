#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/ProtocolLog.h"
#include "signal/Correction.h"
#include "signal/Nominals.h"
#include "signal/SignalSet.h"

// The sample tables the calibrator plays and the timing blocks of its dips
// and fluctuations, built from a signal. A table holds the signal's N
// samples per period (two periods when interharmonics are included), each
// sample the 16-bit codes of phases A, B, C packed into 8 bytes.
namespace lnk {

// What a table depends on besides the signal.
struct TTableSettings {
    int Modification = sig::kDefaultModification;  // sig::CalibratorModification
    sig::TCorrectionRecord Correction{};           // the signal correction, %
};

// The frequency correction kf in %, the last value of the correction record.
inline sig::real FrequencyCorrection(const TTableSettings& t) { return sig::FrequencyCorrection(t.Correction); }

// The calibrator's voltage range: 220 V, else 57.7 V; current range: 5 A
// unless the nominal is 1 A. The range command carries them as bits 0 and 1.
bool HighVoltageRange(const sig::TSignalParamsU& v);
bool HighCurrentRange(const sig::TSignalParamsI& c);
std::uint16_t RangeCode(const sig::TSignalParamsU& v, const sig::TSignalParamsI& c);

enum class TTableKind { Voltage, Current };

struct TSampleTable {
    std::vector<std::uint8_t> Bytes;   // cmn::kSampleSize bytes per sample
    std::array<bool, 3> OutOfRange{};  // a code of the phase was clipped to 0 or 65535
    bool Clipped() const { return OutOfRange[0] || OutOfRange[1] || OutOfRange[2]; }
};

// Raise cmn::TalvoError when the signal has no samples per period yet or
// more than a table holds.
TSampleTable BuildVoltageTable(const sig::TSignalSet& s, const TTableSettings& t);
TSampleTable BuildCurrentTable(const sig::TSignalSet& s, const TTableSettings& t);
// The voltage table played during a dip or swell: each phase at its
// residual voltage (dip) or maximum voltage (swell).
TSampleTable BuildDipsTable(const sig::TSignalSet& s, const TTableSettings& t);
// The two tables of a fluctuation: the normal one at the raised level of
// every phase and the alternative one, played during the events, at the
// lowered level.
enum class TFluctuationLevel { Raised, Lowered };
TSampleTable BuildFluctuationTable(const sig::TSignalSet& s, const TTableSettings& t, TFluctuationLevel level);

// The amplitude check after a table is built. Main tables (voltage and
// current of the signal) ask in interactive use whether to go on; second
// tables (dips, fluctuations) only show the message; without a user the
// message becomes a notice. True when the clipped table is to be sent.
enum class TTableUse { Main, Second };
std::string AmplitudeMessage(TTableKind kind, const std::array<bool, 3>& outOfRange);
bool ConfirmAmplitudes(const TSampleTable& table, TTableKind kind, TTableUse use, cmn::IProtocolLog& log);

// A table built and checked in one step, as each send of a table needs it:
// the bytes to send (clipped where a phase is out of range), or nothing
// when the user chose not to go on.
enum class TTableRole { Voltage, Current, Dips, FluctuationNormal, FluctuationAlternative };
std::optional<std::vector<std::uint8_t>> TableToSend(const sig::TSignalSet& s, const TTableSettings& t, TTableRole role,
                                                     cmn::IProtocolLog& log);

// Timing of the dips and swells in samples: the start offset, the event
// length and the pause, as the calibrator counts them; kf as FrequencyCorrection.
cmn::TimingBlock DipsTimingBlock(const sig::TSignalSet& s, sig::real kf);
// Timing of a fluctuation: the alternative table plays half of each
// modulation period; it is sent with kFluctuationCount events.
cmn::TimingBlock FluctuationTimingBlock(const sig::TSignalSet& s, sig::real kf);
inline constexpr std::uint16_t kFluctuationCount = 32767;

}  // namespace lnk
