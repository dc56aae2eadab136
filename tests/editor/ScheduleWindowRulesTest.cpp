#include <gtest/gtest.h>

#include <string>

#include "editor/ScheduleWindowRules.h"

namespace {

using edit::TCellEditor;
using edit::TScheduleColumn;
using sched::TRowState;
using sched::TScheduleMode;

sched::TDateTime At(int h, int mi, int s, int ms = 0) {
    return sched::EncodeDateTime({2026, 12, 9, h, mi, s, ms}).value();
}

sched::TSignalDataForGrid Row(const std::string& path, int duration, TRowState state = TRowState::Selected) {
    sched::TSignalDataForGrid row;
    row.Path = path;
    row.State = state;
    row.Duration = duration;
    return row;
}

TEST(ScheduleWindowRules, CellTextsSplitDateAndTimeAndNameCommands) {
    sched::TSignalDataForGrid row = Row("C:\\Сигналы\\a.usa", 12);
    row.Index = 3;
    row.Start = At(7, 5, 9, 700);  // the milliseconds are not shown, not rounded up
    row.End = sched::EncodeDateTime({2027, 1, 2, 0, 0, 0, 0}).value();
    using enum TScheduleColumn;
    EXPECT_EQ(edit::ScheduleCellText(row, Id), "3");
    EXPECT_EQ(edit::ScheduleCellText(row, Type), "Сигнал");
    EXPECT_EQ(edit::ScheduleCellText(row, Name), "a.usa");
    EXPECT_EQ(edit::ScheduleCellText(row, Duration), "12");
    EXPECT_EQ(edit::ScheduleCellText(row, StartDate), "09.12.2026");
    EXPECT_EQ(edit::ScheduleCellText(row, StartTime), "07:05:09");
    EXPECT_EQ(edit::ScheduleCellText(row, EndDate), "02.01.2027");
    EXPECT_EQ(edit::ScheduleCellText(row, EndTime), "00:00:00");
    row.Type = sched::TCommandType::StopColOver;
    EXPECT_EQ(edit::ScheduleCellText(row, Name), "Команда");
    EXPECT_EQ(edit::ScheduleCellText(row, Type), "Сброс пр./пер.");
}

TEST(ScheduleWindowRules, EditorsFollowTheModeAndNoneDuringARun) {
    using enum TScheduleColumn;
    EXPECT_EQ(edit::CellEditor(TScheduleMode::ByTimeAndDuration, Duration, false), TCellEditor::Duration);
    EXPECT_EQ(edit::CellEditor(TScheduleMode::ByTime, Duration, false), TCellEditor::None);
    EXPECT_EQ(edit::CellEditor(TScheduleMode::ByTime, StartDate, false), TCellEditor::Date);
    EXPECT_EQ(edit::CellEditor(TScheduleMode::ByTime, EndTime, false), TCellEditor::Time);
    // The third mode's times come from the chain.
    EXPECT_EQ(edit::CellEditor(TScheduleMode::ByTimeAndDuration, StartTime, false), TCellEditor::None);
    for (TScheduleColumn c : {Id, State, Name})
        EXPECT_EQ(edit::CellEditor(TScheduleMode::ByTime, c, false), TCellEditor::None);
    EXPECT_EQ(edit::CellEditor(TScheduleMode::ByTime, Type, true), TCellEditor::None);
    EXPECT_EQ(edit::CellEditor(TScheduleMode::ByDuration, Duration, true), TCellEditor::None);
}

TEST(ScheduleWindowRules, EnablingWithoutRowsWithRowsAndDuringARun) {
    const edit::TScheduleEnabling empty = edit::ScheduleEnabling(0, false, TScheduleMode::ByTime);
    EXPECT_TRUE(empty.Load && empty.AddSignal && empty.AddCommand);
    EXPECT_FALSE(empty.Description || empty.Start || empty.Save || empty.Clear || empty.Delete || empty.SetDate);

    const edit::TScheduleEnabling rest = edit::ScheduleEnabling(2, false, TScheduleMode::ByTime);
    EXPECT_TRUE(rest.Load && rest.Delete && rest.SelectAll && rest.ResetAll && rest.SetDate && rest.Clear &&
                rest.Save && rest.Start && rest.Modes && rest.Description);
    EXPECT_FALSE(rest.Stop);
    EXPECT_FALSE(edit::ScheduleEnabling(2, false, TScheduleMode::ByDuration).SetDate);

    const edit::TScheduleEnabling run = edit::ScheduleEnabling(2, true, TScheduleMode::ByTime);
    EXPECT_TRUE(run.Stop && run.Save);
    EXPECT_FALSE(run.Load || run.Modes || run.SelectAll || run.ResetAll || run.SetDate || run.Clear || run.Start ||
                 run.Delete);
}

TEST(ScheduleWindowRules, ThirdModeChainsOnStartDurationAndModeOnly) {
    edit::TScheduleList list;
    list.Add(Row("a.usa", 10));
    list.Add(Row("b.usa", 5, TRowState::NotSelected));
    list.Add(Row("c.usa", 20));
    list.SetStartTime(At(12, 0, 0, 400));
    EXPECT_EQ(list.Rows()[0].Start, 0) << "no chain outside the third mode";

    list.SetMode(TScheduleMode::ByTimeAndDuration);
    EXPECT_EQ(edit::TimeText(list.Rows()[0].Start), "12:00:00");
    EXPECT_EQ(edit::TimeText(list.Rows()[0].End), "12:00:10");
    EXPECT_EQ(list.Rows()[1].Start, 0) << "an unselected row keeps its times";
    EXPECT_EQ(edit::TimeText(list.Rows()[2].Start), "12:00:10");
    EXPECT_EQ(edit::TimeText(list.Rows()[2].End), "12:00:30");

    list.SetDuration(0, 15);
    EXPECT_EQ(edit::TimeText(list.Rows()[2].End), "12:00:35");
    list.SetDuration(2, 2000000);
    EXPECT_EQ(list.Rows()[2].Duration, edit::kMaxDuration);
    list.SetDuration(2, -4);
    EXPECT_EQ(list.Rows()[2].Duration, 0);
}

TEST(ScheduleWindowRules, RowsAreRenumberedAfterEveryChangeOfOrder) {
    edit::TScheduleList list;
    for (const char* name : {"a", "b", "c"}) list.Add(Row(name, 1));
    list.Exchange(0, 2);
    EXPECT_EQ(list.Rows()[0].Path, "c");
    EXPECT_EQ(list.Rows()[2].Path, "a");
    EXPECT_EQ(list.Rows()[2].Index, 2);
    list.Exchange(1, 7);  // a drop outside the rows changes nothing
    EXPECT_EQ(list.Rows()[1].Path, "b");
    list.Remove(0);
    ASSERT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(list.Rows()[0].Path, "b");
    EXPECT_EQ(list.Rows()[0].Index, 0);
    EXPECT_EQ(list.Rows()[1].Index, 1);
    list.List().Description = "d";
    list.Clear();
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_TRUE(list.List().Description.empty());
}

TEST(ScheduleWindowRules, DateAndTimeEditsKeepTheOtherPartAndDropMilliseconds) {
    edit::TScheduleList list;
    sched::TSignalDataForGrid row = Row("a", 0);
    row.Start = At(8, 30, 15, 250);
    row.End = At(9, 0, 0);
    list.Add(row);
    list.SetDate(0, false, 2027, 2, 28);
    EXPECT_EQ(edit::DateText(list.Rows()[0].Start), "28.02.2027");
    EXPECT_EQ(edit::TimeText(list.Rows()[0].Start), "08:30:15");
    list.SetTime(0, true, 23, 59, 58);
    EXPECT_EQ(edit::DateText(list.Rows()[0].End), "09.12.2026");
    EXPECT_TRUE(sched::SameDateTime(list.Rows()[0].End, At(23, 59, 58)));
    list.SetDate(0, true, 2027, 2, 30);  // no such day: the value stays
    EXPECT_EQ(edit::DateText(list.Rows()[0].End), "09.12.2026");
}

}  // namespace
