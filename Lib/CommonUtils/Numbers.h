#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Locale-independent number texts: "." is always the decimal separator,
// whatever the user's locale says.
namespace cmn {

// Fixed notation with `decimals` digits after the point, right-aligned to at
// least `width` characters ("%2.3f" is FormatFixed(v, 3, 2)). A value that
// rounds to zero is shown without a minus sign.
std::string FormatFixed(long double value, int decimals, int width = 0);

// The shortest text of at most 15 significant digits that reads back to the
// same double; exponent form ("1.5E20", "1E-6") below 1E-5 and from 1E15 on.
std::string FormatReal(double value);

// A decimal number with optional sign and exponent, blanks around it
// allowed; nothing else (no infinities, no NaN, no trailing text).
std::optional<long double> ParseReal(std::string_view text);

// A 32-bit integer: decimal, or hexadecimal after "0x", "0X" or "$".
std::optional<std::int32_t> ParseInt(std::string_view text);

}  // namespace cmn
