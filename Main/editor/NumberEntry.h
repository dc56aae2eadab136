#pragma once

#include <optional>
#include <string_view>

#include "signal/Records.h"

namespace edit {

// A number as an entry field takes it. An angle may end in "°", with spaces
// after it. The calculations go through double, so a number beyond its
// range ("1e999") is no number: it would come back as infinity.
std::optional<sig::real> ParseEntry(std::string_view text, bool angle);

}  // namespace edit
