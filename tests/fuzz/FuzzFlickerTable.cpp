// Arbitrary bytes as a flicker table file: the reader answers with one of its
// codes, leaves the table empty unless it loaded, and a loaded table is
// sorted and can be looked up anywhere between its ends.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "signal/Flicker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    sig::TKolebParamsHelpTable table;
    const sig::TFlickerLoadCode code = table.LoadFromStream(in);
    if (code != sig::flLoaded) {
        if (table.Count() != 0 || (code != sig::flBadFormat && code != sig::flTooFewRows)) std::abort();
        return 0;
    }
    if (table.Count() < 2) std::abort();
    for (int i = 1; i < table.Count(); ++i)
        if (table.Row(i).Freq < table.Row(i - 1).Freq) std::abort();
    const sig::real low = table.FirstFreq();
    const sig::real high = table.LastFreq();
    for (int k = 0; k <= 8; ++k)
        if (!table.ValueAt(k == 8 ? high : low + (high / 8 - low / 8) * k)) std::abort();
    return 0;
}
