#include "link/BusyFlag.h"

namespace lnk {

TBusyFlag& TransferBusy() {
    static TBusyFlag flag;
    return flag;
}

}  // namespace lnk
