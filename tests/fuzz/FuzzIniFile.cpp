// Arbitrary bytes as an INI file, with names and values taken from the
// input written into it: nothing may crash, a read right after a write gives
// the written value (reals to 15 digits), and the written file read again gives the same values.
// The first input line supplies the names and values, the rest is the file.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "CommonUtils/CodePage.h"
#include "CommonUtils/TalvoError.h"
#include "files/IniFile.h"

namespace {

struct Name {
    std::string section, key;
};

void Check(bool ok) {
    if (!ok) std::abort();
}

void SameReads(const files::IniFile& a, const files::IniFile& b, const Name& n) {
    Check(a.ReadString(n.section, n.key, "\x01") == b.ReadString(n.section, n.key, "\x01"));
    Check(a.ReadFloat(n.section, n.key, 0.25) == b.ReadFloat(n.section, n.key, 0.25));
    Check(a.ValueExists(n.section, n.key) == b.ValueExists(n.section, n.key));
    Check(a.SectionExists(n.section) == b.SectionExists(n.section));
}

// Each write is checked at once; a name or value the store refuses is skipped.
bool WriteAll(files::IniFile& ini, const std::vector<Name>& names, const std::string& text, double real) {
    bool any = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Name& n = names[i];
        try {
            switch (i % 3) {
                case 0:
                    ini.WriteString(n.section, n.key, text);
                    Check(ini.ReadString(n.section, n.key, "\x01") == text);
                    break;
                case 1:
                    ini.WriteInteger(n.section, n.key, static_cast<std::int32_t>(text.size() * 7919 - 40000));
                    Check(ini.ReadInteger(n.section, n.key, 1) ==
                          static_cast<std::int32_t>(text.size() * 7919 - 40000));
                    break;
                default:
                    // 15 significant digits at most: not every double comes back exactly.
                    ini.WriteFloat(n.section, n.key, real);
                    Check(std::fabs(ini.ReadFloat(n.section, n.key, 1) - real) <= std::fabs(real) * 1e-14);
            }
            any = true;
        } catch (const cmn::TalvoError&) {
        }
    }
    return any;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view head = input.substr(0, std::min<std::size_t>(newline, 24));
    const std::string file(newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1));

    const std::string name = cmn::Cp1251ToUtf8(head);
    double real = 0.5;
    if (head.size() >= sizeof real) std::memcpy(&real, head.data(), sizeof real);
    if (!std::isfinite(real)) real = -1.25e-300;
    const std::vector<Name> names = {
        {name, name}, {"Напряжение", name}, {name, "Наминал"}, {"напряжение", "НАМИНАЛ"}, {"Новый раздел", "ключ"},
        {"S", "k"}};

    files::IniFile ini = files::IniFile::FromBytes(file);
    for (const Name& n : names) {
        ini.ReadInteger(n.section, n.key, 0);
        ini.ReadFloat(n.section, n.key, 0);
        ini.ReadBool(n.section, n.key, false);
    }
    const bool written = WriteAll(ini, names, name, real);
    const std::string content = ini.Content();
    if (!written) Check(content == file);

    const files::IniFile back = files::IniFile::FromBytes(content);
    for (const Name& n : names) SameReads(ini, back, n);
    Check(back.Content() == content);
    return 0;
}
