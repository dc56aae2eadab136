#pragma once

#include "CommonUtils/ProtocolLog.h"
#include "console/CommandLine.h"
#include "link/LibraryBinding.h"
#include "signal/Flicker.h"

namespace console {

// "-c Verify": the signal file's action (-t Sinus, ColOver or Koleb; the
// test signal otherwise) is sent to a stand-in calibrator, what it would
// play is measured and every computed quantity is compared. One line per
// quantity goes to the log; "-o" writes the report (.csv or .json). True
// when every quantity is within its tolerance.
bool RunVerify(const TConsoleOptions& options, const lnk::TSignalLibrary* library,
               const sig::TKolebParamsHelpTable& flicker, cmn::IProtocolLog& log);

}  // namespace console
