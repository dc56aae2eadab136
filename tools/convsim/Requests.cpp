#include "Requests.h"

namespace convsim {

std::size_t RequestLength(const std::vector<std::uint8_t>& b) {
    if (b.size() < 2) return 0;
    switch (b[1]) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 8: return 8;
        case 7:
        case 17: return 4;
        case 15:
        case 16: return b.size() >= 7 ? 9u + b[6] : 0;
        case 20: return b.size() >= 3 ? 5u + b[2] : 0;
        default: return 0;
    }
}

}  // namespace convsim
