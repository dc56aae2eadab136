#pragma once

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace cmn {

using FormatArg = std::variant<long long, long double, std::string_view>;

// printf-style formatting of the system's message texts without the C
// locale: %d %u %x %X %f %e %g %s %% with flags "-" and "0", width and
// precision. A directive without a matching argument raises TalvoError.
std::string FormatArgs(std::string_view pattern, std::initializer_list<FormatArg> args);

inline FormatArg ToFormatArg(std::integral auto v) { return static_cast<long long>(v); }
inline FormatArg ToFormatArg(std::floating_point auto v) { return static_cast<long double>(v); }
inline FormatArg ToFormatArg(std::string_view v) { return v; }
inline FormatArg ToFormatArg(const std::string& v) { return std::string_view(v); }
inline FormatArg ToFormatArg(const char* v) { return std::string_view(v); }

template <class... Args>
std::string Format(std::string_view pattern, const Args&... args) {
    return FormatArgs(pattern, {ToFormatArg(args)...});
}

}  // namespace cmn
