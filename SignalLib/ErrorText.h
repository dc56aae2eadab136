#pragma once

#include <string>

#include "SignalLib/ResultCodes.h"

namespace stlib {

// The text of a result code (UTF-8); "Неизвестная ошибка." for a code the
// library does not know.
std::string ErrorText(code::TCode c);

}  // namespace stlib
