#pragma once

#include <cstdio>
#include <string>

#include "CommonUtils/ProtocolLog.h"

namespace console {

// The DOS console conversion of Windows-1251 text: the Cyrillic letters
// 0xC0-0xEF move to 0x80-0xAF and 0xF0-0xFF to 0xE0-0xEF; every other byte
// stays as it is.
std::string Cp1251ToConsole866(std::string_view cp1251);

enum class TOutputEncoding { Utf8, Cp866 };

// The encoding of the terminal: CP866 when the locale's code set says so,
// UTF-8 otherwise.
TOutputEncoding LocaleOutputEncoding();

// Console runs: every message is one line on the output, nothing is asked.
class TConsoleLog final : public cmn::IProtocolLog {
public:
    TConsoleLog(std::FILE* out, TOutputEncoding encoding) : out_(out), encoding_(encoding) {}
    void Log(cmn::LogType type, const std::string& text) override;
    bool Interactive() const override { return false; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override;

private:
    std::FILE* out_;
    TOutputEncoding encoding_;
};

}  // namespace console
