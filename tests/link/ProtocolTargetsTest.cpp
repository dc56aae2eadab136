#include <gtest/gtest.h>

#include "link/ProtocolTargets.h"

namespace {

using cmn::LogType;

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
