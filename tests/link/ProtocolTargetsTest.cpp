#include <gtest/gtest.h>

#include <sstream>

#include "CommonUtils/CodePage.h"
#include "link/ProtocolTargets.h"

namespace {

using cmn::LogType;

// Code page 866 holds А–п 64 places and р–я 16 places below Windows-1251.
TEST(ConsoleLog, Cp866LettersAreTheWindows1251OnesMovedDown) {
    for (int b = 0xC0; b <= 0xFF; ++b) {
        const std::string utf8 = cmn::Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
        const int expected = b <= 0xEF ? b - 64 : b - 16;
        EXPECT_EQ(cmn::Utf8ToCp866(utf8), std::string(1, static_cast<char>(expected))) << b;
    }
}

TEST(ConsoleLog, OneLinePerMessageInTheTerminalEncoding) {
    std::ostringstream cp866, utf8;
    lnk::TConsoleLog dos(cp866, lnk::TConsoleEncoding::Cp866);
    lnk::TConsoleLog plain(utf8, lnk::TConsoleEncoding::Utf8);
    for (cmn::IProtocolLog* log : {static_cast<cmn::IProtocolLog*>(&dos), static_cast<cmn::IProtocolLog*>(&plain)}) {
        log->Log(LogType::Info, "");
        log->Log(LogType::Info, "ДЕЙСТВИЕ: Сброс");
        log->Log(LogType::Error, "Порт COM1 занят");
        EXPECT_FALSE(log->Interactive());
        EXPECT_TRUE(log->Ask("Продолжить?", cmn::MessageKind::Confirmation, cmn::Buttons::YesNo));
    }
    EXPECT_EQ(utf8.str(), "\nДЕЙСТВИЕ: Сброс\nПорт COM1 занят\nПродолжить?\n");
    EXPECT_EQ(cp866.str(), "\n\x84\x85\x89\x91\x92\x82\x88\x85: \x91\xA1\xE0\xAE\xE1\n\x8F\xAE\xE0\xE2 COM1 "
                           "\xA7\xA0\xAD\xEF\xE2\n\x8F\xE0\xAE\xA4\xAE\xAB\xA6\xA8\xE2\xEC?\n");
}

TEST(ScheduleLog, ForwardsAllButPlainInformation) {
    std::vector<std::pair<LogType, std::string>> posted;
    lnk::TScheduleLog log([&](LogType type, const std::string& text) { posted.emplace_back(type, text); });
    for (LogType type : {LogType::Info, LogType::Error, LogType::Notice, LogType::ScheduleInfo, LogType::Separator})
        log.Log(type, std::to_string(static_cast<int>(type)));
    EXPECT_TRUE(log.Ask("Продолжить?", cmn::MessageKind::Confirmation, cmn::Buttons::YesNo));
    EXPECT_EQ(posted, (std::vector<std::pair<LogType, std::string>>{{LogType::Error, "2"},
                                                                    {LogType::Notice, "4"},
                                                                    {LogType::ScheduleInfo, "5"},
                                                                    {LogType::Separator, "6"},
                                                                    {LogType::Notice, "Продолжить?"}}));
    lnk::TScheduleLog nowhere(nullptr);
    nowhere.Log(LogType::Error, "dropped");
}

}  // namespace
