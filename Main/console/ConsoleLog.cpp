#include "console/ConsoleLog.h"

#include <langinfo.h>

#include <locale.h>
#include <string_view>

#include "CommonUtils/CodePage.h"

namespace console {

std::string Cp1251ToConsole866(std::string_view cp1251) {
    std::string out(cp1251);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xC0 && b <= 0xEF) c = static_cast<char>(b - 0x40);
        else if (b >= 0xF0) c = static_cast<char>(b - 0x10);
    }
    return out;
}

TOutputEncoding LocaleOutputEncoding() {
    const locale_t locale = newlocale(LC_CTYPE_MASK, "", nullptr);
    if (locale == nullptr) return TOutputEncoding::Utf8;
    const std::string_view codeset = nl_langinfo_l(CODESET, locale);
    const bool cp866 = codeset == "CP866" || codeset == "IBM866";
    freelocale(locale);
    return cp866 ? TOutputEncoding::Cp866 : TOutputEncoding::Utf8;
}

// One write per line, so that lines from two threads never mix.
void TConsoleLog::Log(cmn::LogType type, const std::string& text) {
    std::string line;
    if (type != cmn::LogType::Separator)
        line = encoding_ == TOutputEncoding::Cp866 ? Cp1251ToConsole866(cmn::Utf8ToCp1251(text)) : text;
    line += '\n';
    std::fputs(line.c_str(), out_);
    std::fflush(out_);
}

// Nobody is there to answer: the question becomes a line and the run goes on.
bool TConsoleLog::Ask(const std::string& text, cmn::MessageKind, cmn::Buttons) {
    Log(cmn::LogType::Notice, text);
    return true;
}

}  // namespace console
