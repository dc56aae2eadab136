#pragma once

#include <functional>
#include <string>

#include "CommonUtils/ProtocolLog.h"
#include "schedule/SignalRow.h"
#include "signal/SignalSet.h"

namespace sched {

// A signal bundle: one row's copy and the signal read from its file, without
// a window. The signal starts zeroed with the fluctuation defaults.
struct TSignalDataForSet {
    explicit TSignalDataForSet(const TSignalDataForGrid& row) : Row(row) {}
    TSignalDataForGrid Row;
    sig::TSignalSet Signal;
};

// What the send step asks of the rest of the program: reading a full signal
// file and running the calibrator command sequence of a command type.
class ISignalActions {
public:
    virtual ~ISignalActions() = default;
    // Reads the full signal file into the bundle's signal (not interactively)
    // and recomputes what it carries. False when it does not load; the reader
    // has then routed its own message into `log`.
    virtual bool ReadSignalFile(const std::string& path, TSignalDataForSet& bundle, cmn::IProtocolLog& log) = 0;
    // The command sequence of the bundle's type on the calibrator; true on success.
    virtual bool RunCommand(TSignalDataForSet& bundle, cmn::IProtocolLog& log) = 0;
};

// The single-signal send step of the console and the schedule. Only a bundle
// in state 1 is sent: it takes state 2, `rowStarts` is called (the schedule's
// report of the row that starts; empty in console mode), its file is read
// and its command run. False on any failure; an error raised on the way is
// routed into `log` as an error line.
bool SendSignalData(TSignalDataForSet& bundle, ISignalActions& actions, cmn::IProtocolLog& log,
                    const std::function<void()>& rowStarts = {});

}  // namespace sched
