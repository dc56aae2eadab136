#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/ProtocolLog.h"
#include "link/LibraryBinding.h"
#include "signal/SignalSet.h"

// What the caller of an action on the calibrator hands it.
namespace lnk {

// Messages to the main window and their first parameters.
inline constexpr std::uint32_t WMDRAWSTATUS = 0x1500;
inline constexpr std::uint32_t WMDRAWWARNING = 0x1600;
enum TActionStatus : int { asPortOpened = 3, asSignalSet = 4, asFailed = 5, asStopped = 6 };
inline constexpr int kVoltageSetWarning = 3;

// The main window's side of the status messages.
class IStatusSink {
public:
    virtual ~IStatusSink() = default;
    virtual void Post(std::uint32_t message, int code) = 0;
};

using TTableBytes = std::vector<std::uint8_t>;

// The sample tables and timing blocks of a signal, built when the sequence
// reaches them, with the correction coefficients and the modification the
// source was made with. Amplitude overflows are told through the log (a
// question when interactive, a notice otherwise). A main table is empty
// when the user declined to send it clipped. Every table holds the signal's
// samples per period, at most cmn::kMaxSamples.
class IActionTables {
public:
    virtual ~IActionTables() = default;
    virtual std::optional<TTableBytes> VoltageTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) = 0;
    virtual std::optional<TTableBytes> CurrentTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) = 0;
    // The voltage table played during each dip or swell.
    virtual TTableBytes CollapsesTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) = 0;
    virtual cmn::TimingBlock CollapsesTiming(const sig::TSignalSet& s) = 0;
    // The fluctuation tables of the two voltage levels: 0 the normal, 1 the alternative.
    virtual TTableBytes KolebTable(const sig::TSignalSet& s, int level, cmn::IProtocolLog& log) = 0;
    virtual cmn::TimingBlock KolebTiming(const sig::TSignalSet& s) = 0;
};

// The meter verification countdown: true when it ran out, false when cancelled.
class IEnergyCountdown {
public:
    virtual ~IEnergyCountdown() = default;
    virtual bool Run(int seconds) = 0;
};

// Recomputes the derived quantities of a signal after its inputs changed.
using TSignalRecompute = std::function<void(sig::TSignalSet&)>;

// Where an action goes and reports. Status messages go out only when the
// log is interactive and a sink is given.
struct TActionTarget {
    std::string PortName;
    std::uint32_t BaudRate = 115200;
    cmn::IProtocolLog& Log;
    IStatusSink* Status = nullptr;
};

// An action that sends a signal.
struct TSignalAction {
    TActionTarget Target;
    sig::TSignalSet& Signal;
    IActionTables& Tables;
    int Modification = 0;
    // The divisor last sent to the calibrator, kept by the caller between
    // actions; empty before the first one.
    std::optional<std::uint16_t>& LastDivisor;
    // Empty (not loaded) fails the library exercise.
    const TSignalLibrary* Library = nullptr;
};

}  // namespace lnk
