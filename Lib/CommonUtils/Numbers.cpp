#include "Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace cmn {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool AllZeroDigits(std::string_view s) {
    for (const char c : s)
        if (c >= '1' && c <= '9') return false;
    return true;
}

// Shortest scientific digits (1..15 significant) that read back as `value`.
std::string ShortestScientific(double value) {
    char buf[64];
    for (int precision = 0; precision < 15; ++precision) {
        const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision);
        double back = 0;
        std::from_chars(buf, r.ptr, back);
        if (back == value || precision == 14) return std::string(buf, r.ptr);
    }
    return {};
}

}  // namespace

std::string FormatFixed(long double value, int decimals, int width) {
    char buf[128];
    std::string text;
    if (std::isfinite(value) && std::fabs(value) < 1e60L) {
        const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
        text.assign(buf, r.ptr);
        if (text.front() == '-' && AllZeroDigits(text)) text.erase(0, 1);
    } else {
        const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
        text.assign(buf, r.ptr);
    }
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
    return text;
}

std::string FormatReal(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    // "d.dddde±x": split into sign, digits and the decimal exponent.
    const std::string sci = ShortestScientific(value);
    const bool negative = sci.front() == '-';
    const std::size_t epos = sci.find('e');
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < epos; ++i)
        if (sci[i] != '.') digits += sci[i];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    std::from_chars(sci.data() + epos + 1 + (sci[epos + 1] == '+'), sci.data() + sci.size(), exponent);

    std::string out = negative ? "-" : "";
    const int n = static_cast<int>(digits.size());
    if (exponent < -5 || exponent >= 15) {
        out += digits[0];
        if (n > 1) out += '.' + digits.substr(1);
        out += 'E' + std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0." + std::string(-exponent - 1, '0') + digits;
    } else if (exponent + 1 >= n) {
        out += digits + std::string(exponent + 1 - n, '0');
    } else {
        out += digits.substr(0, exponent + 1) + '.' + digits.substr(exponent + 1);
    }
    return out;
}

std::optional<long double> ParseReal(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits or a point may start the number: this keeps out "inf",
    // "nan" and a second sign, which from_chars would otherwise take.
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.')) return std::nullopt;
    long double value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (r.ec != std::errc{} || r.ptr != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::int32_t> ParseInt(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    std::int64_t value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (r.ec != std::errc{} || r.ptr != text.data() + text.size()) return std::nullopt;
    if (negative) value = -value;
    // Hexadecimal texts carry the 32-bit pattern: "0xFFFFFFFF" is -1.
    if (base == 16 && !negative && value <= 0xFFFFFFFFLL)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace cmn
