#include "Format.h"

#include <charconv>
#include <vector>

#include "Numbers.h"
#include "TalvoError.h"

namespace cmn {
namespace {

struct Directive {
    bool left = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    char kind = 0;
};

// Reads "[-0][width][.precision]kind" after a "%"; `pos` ends past the kind.
Directive ParseDirective(std::string_view p, std::size_t& pos) {
    Directive d;
    for (; pos < p.size() && (p[pos] == '-' || p[pos] == '0'); ++pos) (p[pos] == '-' ? d.left : d.zero) = true;
    for (; pos < p.size() && p[pos] >= '0' && p[pos] <= '9'; ++pos) d.width = d.width * 10 + (p[pos] - '0');
    if (pos < p.size() && p[pos] == '.') {
        d.precision = 0;
        for (++pos; pos < p.size() && p[pos] >= '0' && p[pos] <= '9'; ++pos)
            d.precision = d.precision * 10 + (p[pos] - '0');
    }
    if (pos >= p.size()) throw TalvoError("Format: incomplete directive in \"" + std::string(p) + "\"");
    d.kind = p[pos++];
    return d;
}

std::string Integer(long long v, char kind) {
    char buf[32];
    std::to_chars_result r{};
    if (kind == 'd') r = std::to_chars(buf, buf + sizeof buf, v);
    else r = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned long long>(v), kind == 'u' ? 10 : 16);
    std::string s(buf, r.ptr);
    if (kind == 'X')
        for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 32 : c);
    return s;
}

std::string Floating(long double v, const Directive& d) {
    const int precision = d.precision < 0 ? 6 : d.precision;
    if (d.kind == 'f') return FormatFixed(v, precision);
    char buf[128];
    const auto fmt = d.kind == 'e' ? std::chars_format::scientific : std::chars_format::general;
    const auto r = std::to_chars(buf, buf + sizeof buf, v, fmt, precision);
    return std::string(buf, r.ptr);
}

std::string Render(const Directive& d, const FormatArg& arg, std::string_view pattern) {
    const auto mismatch = [&] {
        return TalvoError("Format: argument does not suit \"%" + std::string(1, d.kind) + "\" in \"" +
                          std::string(pattern) + "\"");
    };
    switch (d.kind) {
        case 'd':
        case 'u':
        case 'x':
        case 'X': {
            const auto* v = std::get_if<long long>(&arg);
            if (!v) throw mismatch();
            std::string s = Integer(*v, d.kind);
            const bool neg = !s.empty() && s[0] == '-';
            if (d.precision > 0 && static_cast<int>(s.size()) - neg < d.precision)
                s.insert(neg ? 1 : 0, d.precision - (s.size() - neg), '0');
            return s;
        }
        case 'f':
        case 'e':
        case 'g': {
            if (const auto* v = std::get_if<long double>(&arg)) return Floating(*v, d);
            if (const auto* i = std::get_if<long long>(&arg)) return Floating(static_cast<long double>(*i), d);
            throw mismatch();
        }
        case 's': {
            const auto* v = std::get_if<std::string_view>(&arg);
            if (!v) throw mismatch();
            return d.precision >= 0 ? std::string(v->substr(0, d.precision)) : std::string(*v);
        }
        default:
            throw TalvoError("Format: unknown directive \"%" + std::string(1, d.kind) + "\" in \"" +
                             std::string(pattern) + "\"");
    }
}

void Pad(std::string& s, const Directive& d) {
    if (static_cast<int>(s.size()) >= d.width) return;
    const std::size_t n = d.width - s.size();
    if (d.left) s.append(n, ' ');
    else if (d.zero && d.kind != 's') s.insert(!s.empty() && s[0] == '-' ? 1 : 0, n, '0');
    else s.insert(0, n, ' ');
}

}  // namespace

std::string FormatArgs(std::string_view pattern, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t pos = 0; pos < pattern.size();) {
        const char c = pattern[pos++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (pos < pattern.size() && pattern[pos] == '%') {
            out += '%';
            ++pos;
            continue;
        }
        const Directive d = ParseDirective(pattern, pos);
        if (next == args.end()) throw TalvoError("Format: too few arguments for \"" + std::string(pattern) + "\"");
        std::string piece = Render(d, *next++, pattern);
        Pad(piece, d);
        out += piece;
    }
    return out;
}

}  // namespace cmn
