#include "link/ProtocolTargets.h"

#include <langinfo.h>
#include <locale.h>

#include <chrono>
#include <string_view>
#include <thread>

#include "CommonUtils/CodePage.h"

namespace lnk {

TConsoleEncoding DetectConsoleEncoding() {
    locale_t locale = newlocale(LC_CTYPE_MASK, "", nullptr);
    if (locale == nullptr) return TConsoleEncoding::Utf8;
    const std::string_view codeset = nl_langinfo_l(CODESET, locale);
    const bool cp866 = codeset == "CP866" || codeset == "IBM866";
    freelocale(locale);
    return cp866 ? TConsoleEncoding::Cp866 : TConsoleEncoding::Utf8;
}

void TConsoleLog::Log(cmn::LogType, const std::string& text) {
    out_ << (encoding_ == TConsoleEncoding::Cp866 ? cmn::Utf8ToCp866(text) : text) << std::endl;
}

bool TConsoleLog::Ask(const std::string& text, cmn::MessageKind, cmn::Buttons) {
    Log(cmn::LogType::Notice, text);
    return true;
}

void TScheduleLog::Log(cmn::LogType type, const std::string& text) {
    if (type != cmn::LogType::Info && post_) post_(type, text);
}

bool TScheduleLog::Ask(const std::string& text, cmn::MessageKind, cmn::Buttons) {
    Log(cmn::LogType::Notice, text);
    return true;
}

bool TTimedCountdown::Run(int seconds) {
    std::this_thread::sleep_for(std::chrono::seconds(seconds > 0 ? seconds : 0));
    return true;
}

}  // namespace lnk
