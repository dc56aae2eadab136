#include <gtest/gtest.h>

#include <limits>

#include "CommonUtils/CodePage.h"
#include "FileBytes.h"
#include "ScheduleRows.h"
#include "TempFolder.h"
#include "schedule/ScheduleRules.h"

namespace {

using namespace sched;
using namespace sched_test;

TEST(Chaining, SelectedRowsFollowEachOtherFromThePickerTime) {
    TRows rows = {Row("/s/a.usa", 0, 10), Row("/s/skip.usa", 1, 99, TRowState::NotSelected), Row("/s/b.usa", 2, 20)};
    rows[1].Start = rows[1].End = At(8, 0, 0);
    ChainRows(rows, At(12, 0, 0, 700));
    EXPECT_EQ(DateTimeToText(rows[0].Start), "09.12.2026 12:00:00");
    EXPECT_EQ(DateTimeToText(rows[0].End), "09.12.2026 12:00:10");
    EXPECT_TRUE(SameDateTime(rows[2].Start, At(12, 0, 10)));
    EXPECT_TRUE(SameDateTime(rows[2].End, At(12, 0, 30)));
    EXPECT_EQ(rows[1].Start, At(8, 0, 0));
    EXPECT_EQ(rows[1].End, At(8, 0, 0));
}

TEST(RowEditing, NewRowsAndTheDateOfToday) {
    talvo_test::TempFolder dir;
    talvo_test::WriteBytes(dir / "s.usa", cmn::Utf8ToCp1251("[Описание сигнала]\r\nОписание=Синус 57,7 В\r\n"));
    talvo_test::WriteBytes(dir / "bare.usa", "[U]\r\n");
    const TSignalDataForGrid signal = NewSignalRow(dir / "s.usa", At(12, 0, 5, 600));
    EXPECT_EQ(signal.Description, "Синус 57,7 В");
    EXPECT_EQ(signal.Start, At(12, 0, 5));
    EXPECT_EQ(signal.End, At(12, 0, 5));
    EXPECT_EQ(NewSignalRow(dir / "bare.usa", 0).Description, "");
    TRows rows = {signal, NewCommandRow(At(9, 0, 0))};
    rows[1].End = EncodeDateTime({2020, 2, 29, 23, 59, 58}).value();
    MoveRowsToDate(rows, EncodeDateTime({2027, 1, 31, 17, 0, 0}).value());
    EXPECT_EQ(DateTimeToText(rows[0].Start), "31.01.2027 12:00:05");
    EXPECT_EQ(DateTimeToText(rows[1].Start), "31.01.2027 09:00:00");
    EXPECT_EQ(DateTimeToText(rows[1].End), "31.01.2027 23:59:58");
}

TEST(TimeCheck, RowsInOrderPassAndUnselectedRowsAreIgnored) {
    TRows rows = {Timed("/s/a.usa", 0, At(12, 0, 0), At(12, 0, 10)),
                  Timed("/s/b.usa", 1, At(12, 0, 10), At(12, 0, 20))};
    EXPECT_FALSE(CheckRowTimes(rows));
    rows.insert(rows.begin() + 1, Timed("/s/x.usa", 5, At(13, 0, 0), At(11, 0, 0)));
    rows[1].State = TRowState::NotSelected;
    EXPECT_FALSE(CheckRowTimes(rows));
    // Less than a millisecond of overlap is no overlap.
    rows[0].End = At(12, 0, 10) + 0.5 * kOneMillisecond;
    EXPECT_FALSE(CheckRowTimes(rows));
}

TEST(TimeCheck, TheFirstFailingRuleGivesItsMessage) {
    TRows rows = {Timed("/s/a.usa", 0, At(12, 0, 0), At(12, 0, 10)), Timed("/s/b.usa", 1, At(12, 0, 0), At(12, 0, 20))};
    EXPECT_EQ(CheckRowTimes(rows),
              "Время начала сигнала - a.usa (ID-0),\r\n"
              "совпадает с временем начала сигнала - b.usa (ID-1)");
    rows[0].Start = At(12, 0, 5);
    EXPECT_EQ(CheckRowTimes(rows),
              "Время начала сигнала a.usa (ID-0),\r\n"
              "позднее времени начала сигнала - b.usa (ID-1)");
    rows[0].Start = At(11, 0, 0);
    rows[1].Start = At(12, 0, 5);
    EXPECT_EQ(CheckRowTimes(rows),
              "Время окончания сигнала a.usa (ID-0),\r\n"
              "позднее времени начала сигнала - b.usa (ID-1)");
    // A row ending before it starts is reported before any pair.
    rows[1].End = At(12, 0, 1);
    EXPECT_EQ(CheckRowTimes(rows),
              "Время начала сигнала b.usa (ID-1),\r\n"
              "позднее времени окончания сигнала - b.usa (ID-1)");
}

TEST(RunCopies, SetTimeShortensEveryRowButTheLast) {
    TRows rows = {Timed("/s/a.usa", 0, At(12, 0, 0), At(12, 0, 10)), Timed("/s/b.usa", 1, At(12, 0, 10), At(12, 0, 20)),
                  Timed("/s/c.usa", 2, At(12, 0, 20), At(12, 0, 30)),
                  Timed("/s/d.usa", 3, At(12, 0, 30), At(12, 0, 33))};
    rows[0].Duration = 10;
    rows[1].Duration = 3;
    rows[2].Duration = 10;
    rows[3].Duration = 10;
    const TRows copies = MakeRunCopies(rows, 5);
    EXPECT_EQ(copies[0].Duration, 5);
    EXPECT_EQ(copies[1].Duration, 3);  // would turn negative: kept
    EXPECT_EQ(copies[2].Duration, 5);
    EXPECT_EQ(copies[3].Duration, 10);
    EXPECT_TRUE(SameDateTime(copies[0].Start, At(11, 59, 55)));
    EXPECT_TRUE(SameDateTime(copies[0].End, At(12, 0, 5)));
    EXPECT_TRUE(SameDateTime(copies[3].Start, At(12, 0, 25)));
    EXPECT_TRUE(SameDateTime(copies[3].End, At(12, 0, 33)));
    for (const auto& c : copies) EXPECT_EQ(c.SetTime, 5);
    EXPECT_EQ(rows[0].Duration, 10);  // the window's rows stay as they were
    // The most negative stored duration stays negative instead of wrapping to 68 years.
    rows[0].Duration = std::numeric_limits<int>::min() + 1;
    EXPECT_EQ(MakeRunCopies(rows, 5)[0].Duration, std::numeric_limits<int>::min() + 1);
}

TEST(EstimatedEnd, EachModeCountsFromItsOwnOrigin) {
    TRows rows = {Timed("/s/a.usa", 0, At(12, 0, 0), At(12, 0, 10)), Timed("/s/b.usa", 1, At(12, 0, 10), At(12, 0, 20)),
                  Timed("/s/c.usa", 2, At(12, 1, 0), At(12, 2, 0))};
    for (auto& r : rows) r.Duration = 10;
    EXPECT_EQ(EstimatedEndText(TScheduleMode::ByDuration, rows, 5, At(10, 0, 0)),
              "Ориентировочное время завершения: 09.12.2026 10:00:35");
    EXPECT_EQ(EstimatedEndText(TScheduleMode::ByTime, rows, 5, At(10, 0, 0)),
              "Ориентировочное время завершения: 09.12.2026 12:02:00");
    EXPECT_EQ(EstimatedEndText(TScheduleMode::ByTimeAndDuration, rows, 5, At(10, 0, 0)),
              "Ориентировочное время завершения: 09.12.2026 12:00:35");
}

// The type column of the list, as the user reads it.
TEST(RowTypes, Names) {
    const std::pair<TCommandType, const char*> table[] = {
        {TCommandType::Sinus, "Сигнал"},
        {TCommandType::ColOver, "Пр./пер."},
        {TCommandType::Koleb, "Колебания"},
        {TCommandType::StopSin, "Сброс сигн."},
        {TCommandType::StopColOver, "Сброс пр./пер."},
    };
    for (const auto& [type, name] : table) EXPECT_EQ(CommandTypeName(type), name);
}

TEST(RunMarkers, RowsAreMarkedAndRestoredAndStatesReachEveryRow) {
    TRows rows;
    for (int i = 0; i < 300; ++i)
        rows.push_back(Row("/s/r.usa", i, 1, i % 2 ? TRowState::Selected : TRowState::NotSelected));
    rows[2].State = TRowState::Sent;
    MarkRowsRunning(rows);
    EXPECT_EQ(rows[0].State, TRowState::NotSelectedRunning);
    EXPECT_EQ(rows[1].State, TRowState::SelectedRunning);
    EXPECT_EQ(rows[2].State, TRowState::Sent);
    ApplyRowState(rows, 299, TRowState::Failed);
    ApplyRowState(rows, 3, TRowState::Sent);
    ApplyRowState(rows, 300, TRowState::Sent);  // beyond the list: nothing
    RestoreRowMarkers(rows);
    EXPECT_EQ(rows[0].State, TRowState::NotSelected);
    EXPECT_EQ(rows[1].State, TRowState::Selected);
    EXPECT_EQ(rows[3].State, TRowState::Sent);
    EXPECT_EQ(rows[299].State, TRowState::Failed);
}

}  // namespace
