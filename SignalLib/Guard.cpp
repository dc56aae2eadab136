#include "Guard.h"

#include <cstdio>

namespace stlib {

void ReportUnexpected(const char* message) noexcept { std::fprintf(stderr, "Ошибка SignalTalvo.dll: %s\n", message); }

}  // namespace stlib
