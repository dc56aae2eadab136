#include "link/TableGrid.h"

#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/TalvoError.h"

namespace lnk {

int CheckedSamples(const sig::TSampleGrid& grid) {
    if (grid.SamplesPerPeriod < 1 || !(grid.SampleRate > 0))
        throw cmn::TalvoError("Частота сигнала не задана: таблица отсчетов не может быть построена.");
    if (grid.SamplesPerPeriod > static_cast<int>(cmn::kMaxSamples))
        throw cmn::TalvoError(
            "Частота сигнала не может быть сформирована калибратором: число отсчетов на период превышает 5000.");
    return grid.SamplesPerPeriod;
}

}  // namespace lnk
