#pragma once

#include <istream>

#include "CommonUtils/ProtocolLog.h"
#include "console/CommandLine.h"

namespace console {

// Exit codes of a console run.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = -1;

// Runs the one command of a console start: the signal file (or the text on
// `in` with "-s") is sent to the calibrator or exported; every message is a
// line in `log`. The library is looked for in `programFolder`.
int RunConsole(const TConsoleOptions& options, std::istream& in, cmn::IProtocolLog& log,
               const std::string& programFolder);

}  // namespace console
