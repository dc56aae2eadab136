#include <gtest/gtest.h>

#include "CommonUtils/CodePage.h"
#include "FileBytes.h"
#include "ScheduleRows.h"
#include "TempFolder.h"
#include "schedule/ListFile.h"
#include "schedule/ScheduleProtocol.h"
#include "schedule/ScheduleRules.h"

namespace {

using namespace sched;
using namespace sched_test;
using cmn::LogType;

TEST(Protocol, EntriesCarryTheirMarksAndSeparatorsNeverOpenTheList) {
    TScheduleProtocol protocol;
    protocol.Add(LogType::Separator, "", At(12, 0, 0));
    protocol.Add(LogType::ScheduleInfo, "Передача сигнала: a.usa", At(12, 0, 1));
    protocol.Add(LogType::Notice, "Файл не найден : /s/b.usa", At(12, 0, 2));
    protocol.Add(LogType::Separator, "", At(12, 0, 3));
    protocol.Add(LogType::Error, "Остановка оператором", At(12, 0, 4));
    EXPECT_EQ(protocol.Lines(), (std::vector<std::string>{"09.12.2026 12:00:01 Передача сигнала: a.usa",
                                                          "09.12.2026 12:00:02 Файл не найден : /s/b.usa *", "",
                                                          "09.12.2026 12:00:04 Остановка оператором !"}));
    EXPECT_EQ(protocol.Entries()[3].Mark, "!");

    talvo_test::TempFolder dir;
    const std::string saved = protocol.Save(dir / "протокол.log");
    EXPECT_EQ(saved, dir / "протокол.txt");
    EXPECT_EQ(talvo_test::ReadBytes(saved), cmn::Utf8ToCp1251("09.12.2026 12:00:01 Передача сигнала: a.usa\r\n"
                                                              "09.12.2026 12:00:02 Файл не найден : /s/b.usa *\r\n\r\n"
                                                              "09.12.2026 12:00:04 Остановка оператором !\r\n"));
    protocol.Clear();
    EXPECT_TRUE(protocol.Lines().empty());
    EXPECT_EQ(SignalListFileName("/l/список"), "/l/список.sfl");
    EXPECT_EQ(SignalListFileName("/l/a.txt"), "/l/a.sfl");
}

class TAnswers : public cmn::IProtocolLog {
public:
    void Log(LogType, const std::string&) override {}
    bool Interactive() const override { return true; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override {
        EXPECT_EQ(text, "Сменить статус сигнала?");
        EXPECT_EQ(kind, cmn::MessageKind::Confirmation);
        EXPECT_EQ(buttons, cmn::Buttons::YesNo);
        ++asked;
        return yes;
    }
    bool yes = false;
    int asked = 0;
};

TEST(RowEditing, StateClicksToggleAndDoneRowsAskFirst) {
    TAnswers answers;
    TRows rows = {Row("/a", 5, 1, TRowState::NotSelected), Row("/b", 7, 1, TRowState::Sent),
                  Row("/c", 9, 1, TRowState::SelectedRunning)};
    ClickRowState(rows[0], answers);
    EXPECT_EQ(rows[0].State, TRowState::Selected);
    ClickRowState(rows[0], answers);
    EXPECT_EQ(rows[0].State, TRowState::NotSelected);
    ClickRowState(rows[1], answers);
    EXPECT_EQ(rows[1].State, TRowState::Sent);  // answered No
    answers.yes = true;
    ClickRowState(rows[1], answers);
    EXPECT_EQ(rows[1].State, TRowState::Selected);
    ClickRowState(rows[2], answers);
    EXPECT_EQ(rows[2].State, TRowState::SelectedRunning);
    EXPECT_EQ(answers.asked, 2);
}

}  // namespace
