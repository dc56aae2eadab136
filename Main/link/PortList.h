#pragma once

#include <string>
#include <vector>

namespace lnk {

// Replaces the list with the serial ports of this machine: the COMn
// entries of the port folder and the present /dev/ttyS ports as COM(n+1),
// sorted by number and each once, then /dev/ttyUSB* and /dev/ttyACM* as paths.
// A missing list raises TalvoError.
void FillCOMPortList(std::vector<std::string>* COMPortList);

}  // namespace lnk
