#include "CodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace cmn {
namespace {

using UpperHalf = std::array<char16_t, 128>;

// clang-format off
// Bytes 0x80..0xFF of Windows-1251. Byte 0x98 has no character in the page;
// it maps to U+0098 so that such a byte survives a round trip unchanged.
constexpr UpperHalf kCp1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Bytes 0x80..0xFF of code page 866 (DOS Cyrillic).
constexpr UpperHalf kCp866 = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};
// clang-format on

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one UTF-8 sequence at `pos`, advancing it; kInvalid for a
// malformed, overlong or truncated sequence (one byte is consumed then).
char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        min = 0x10000;
    } else return kInvalid;
    const std::size_t start = pos;
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size() || (static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) {
            pos = start;
            return kInvalid;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(s[pos++]) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kInvalid;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The upper half sorted by character, for a binary search per character.
using ReverseTable = std::array<std::pair<char16_t, char>, 128>;

ReverseTable MakeReverse(const UpperHalf& table) {
    ReverseTable reverse{};
    for (std::size_t i = 0; i < table.size(); ++i) reverse[i] = {table[i], static_cast<char>(0x80 + i)};
    std::sort(reverse.begin(), reverse.end());
    return reverse;
}

char EncodeUpper(const ReverseTable& reverse, char32_t cp) {
    const auto it = std::lower_bound(reverse.begin(), reverse.end(), cp,
                                     [](const auto& entry, char32_t c) { return entry.first < c; });
    return it != reverse.end() && it->first == cp ? it->second : '?';
}

std::string FromUtf8(std::string_view utf8, const ReverseTable& reverse) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        out += EncodeUpper(reverse, cp);
    }
    return out;
}

std::string ToUtf8(std::string_view bytes, const UpperHalf& table) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{table[b - 0x80]});
    }
    return out;
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
    static const ReverseTable reverse = MakeReverse(kCp1251);
    return FromUtf8(utf8, reverse);
}
std::string Cp1251ToUtf8(std::string_view cp1251) { return ToUtf8(cp1251, kCp1251); }
std::string Utf8ToCp866(std::string_view utf8) {
    static const ReverseTable reverse = MakeReverse(kCp866);
    return FromUtf8(utf8, reverse);
}
std::string Cp866ToUtf8(std::string_view cp866) { return ToUtf8(cp866, kCp866); }

bool IsValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();)
        if (NextCodePoint(text, pos) == kInvalid) return false;
    return true;
}

char Cp1251Upper(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b >= 0xE0) return static_cast<char>(b - 32);  // а..я -> А..Я
    switch (b) {
        case 0xB8: return static_cast<char>(0xA8);  // ё
        case 0xBA: return static_cast<char>(0xAA);  // є
        case 0xBF: return static_cast<char>(0xAF);  // ї
        case 0xB3: return static_cast<char>(0xB2);  // і
        case 0xB4: return static_cast<char>(0xA5);  // ґ
        case 0xA2: return static_cast<char>(0xA1);  // ў
        case 0xBC: return static_cast<char>(0xA3);  // ј
        case 0xBE: return static_cast<char>(0xBD);  // ѕ
        case 0x90: return static_cast<char>(0x80);  // ђ
        case 0x83: return static_cast<char>(0x81);  // ѓ
        case 0x9A: return static_cast<char>(0x8A);  // љ
        case 0x9C: return static_cast<char>(0x8C);  // њ
        case 0x9D: return static_cast<char>(0x8D);  // ќ
        case 0x9E: return static_cast<char>(0x8E);  // ћ
        case 0x9F: return static_cast<char>(0x8F);  // џ
        default: return c;
    }
}

}  // namespace cmn
