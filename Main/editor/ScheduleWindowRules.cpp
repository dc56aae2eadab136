#include "editor/ScheduleWindowRules.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace edit {

using sched::TDateTime;
using sched::TScheduleMode;

namespace {

std::string Joined(const char* pattern, int a, int b, int c) {
    char text[48];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

bool IsDateOrTime(TScheduleColumn column) { return column >= TScheduleColumn::StartDate; }

bool IsTime(TScheduleColumn column) {
    return column == TScheduleColumn::StartTime || column == TScheduleColumn::EndTime;
}

}  // namespace

bool ColumnShown(TScheduleMode mode, TScheduleColumn column) {
    if (mode == TScheduleMode::ByDuration) return !IsDateOrTime(column);
    if (mode == TScheduleMode::ByTime) return column != TScheduleColumn::Duration;
    return true;
}

std::string DateText(TDateTime value) {
    const sched::TCivilTime t = sched::DecodeDateTime(value);
    return Joined("%02d.%02d.%04d", t.Day, t.Month, t.Year);
}

std::string TimeText(TDateTime value) {
    const sched::TCivilTime t = sched::DecodeDateTime(sched::WithoutMilliseconds(value));
    return Joined("%02d:%02d:%02d", t.Hour, t.Minute, t.Second);
}

std::string ScheduleCellText(const sched::TSignalDataForGrid& row, TScheduleColumn column) {
    switch (column) {
        case TScheduleColumn::Id: return std::to_string(row.Index);
        case TScheduleColumn::State: return {};
        case TScheduleColumn::Type: return sched::CommandTypeName(row.Type);
        case TScheduleColumn::Name:
            return sched::HasSignalFile(row.Type) ? sched::FileNameOnly(row.Path) : sched::kCommandText;
        case TScheduleColumn::Duration: return std::to_string(row.Duration);
        case TScheduleColumn::StartDate: return DateText(row.Start);
        case TScheduleColumn::StartTime: return TimeText(row.Start);
        case TScheduleColumn::EndDate: return DateText(row.End);
        case TScheduleColumn::EndTime: return TimeText(row.End);
    }
    return {};
}

TCellEditor CellEditor(TScheduleMode mode, TScheduleColumn column, bool running) {
    if (running) return TCellEditor::None;
    if (column == TScheduleColumn::Type) return TCellEditor::TypeList;
    if (column == TScheduleColumn::Duration)
        return mode == TScheduleMode::ByTime ? TCellEditor::None : TCellEditor::Duration;
    if (IsDateOrTime(column) && mode == TScheduleMode::ByTime)
        return IsTime(column) ? TCellEditor::Time : TCellEditor::Date;
    return TCellEditor::None;
}

TScheduleEnabling ScheduleEnabling(std::size_t rowCount, bool running, TScheduleMode mode) {
    TScheduleEnabling e;
    if (running) {
        e.Load = e.Modes = false;
        e.Save = e.Description = e.Stop = true;
        return e;
    }
    if (rowCount == 0) return e;
    e.Delete = e.SelectAll = e.ResetAll = e.Clear = e.Save = e.Start = e.Description = true;
    e.SetDate = mode != TScheduleMode::ByDuration;
    return e;
}

// ---------------------------------------------------------------- the list

void TScheduleList::SetMode(TScheduleMode mode) {
    mode_ = mode;
    Chain();
}

void TScheduleList::SetStartTime(TDateTime start) {
    start_ = start;
    Chain();
}

void TScheduleList::Add(const sched::TSignalDataForGrid& row) {
    list_.Rows.push_back(row);
    sched::RenumberRows(list_.Rows);
}

void TScheduleList::Remove(std::size_t position) {
    if (position >= list_.Rows.size()) return;
    list_.Rows.erase(list_.Rows.begin() + static_cast<std::ptrdiff_t>(position));
    sched::RenumberRows(list_.Rows);
}

void TScheduleList::Clear() {
    list_.Rows.clear();
    list_.Description.clear();
}

void TScheduleList::Exchange(std::size_t a, std::size_t b) {
    if (a >= list_.Rows.size() || b >= list_.Rows.size() || a == b) return;
    std::swap(list_.Rows[a], list_.Rows[b]);
    sched::RenumberRows(list_.Rows);
}

void TScheduleList::SelectAll(bool selected) {
    for (sched::TSignalDataForGrid& row : list_.Rows)
        row.State = selected ? sched::TRowState::Selected : sched::TRowState::NotSelected;
}

void TScheduleList::MoveToDate(TDateTime today) { sched::MoveRowsToDate(list_.Rows, today); }

void TScheduleList::SetType(std::size_t position, sched::TCommandType type) {
    if (position < list_.Rows.size()) list_.Rows[position].Type = type;
}

void TScheduleList::SetDuration(std::size_t position, int seconds) {
    if (position >= list_.Rows.size()) return;
    list_.Rows[position].Duration = std::clamp(seconds, 0, kMaxDuration);
    Chain();
}

TDateTime& TScheduleList::Moment(std::size_t position, bool end) {
    sched::TSignalDataForGrid& row = list_.Rows.at(position);
    return end ? row.End : row.Start;
}

void TScheduleList::SetDate(std::size_t position, bool end, int year, int month, int day) {
    if (position >= list_.Rows.size()) return;
    TDateTime& moment = Moment(position, end);
    sched::TCivilTime t = sched::DecodeDateTime(moment);
    t.Year = year;
    t.Month = month;
    t.Day = day;
    if (const auto value = sched::EncodeDateTime(t)) moment = *value;
}

void TScheduleList::SetTime(std::size_t position, bool end, int hour, int minute, int second) {
    if (position >= list_.Rows.size()) return;
    TDateTime& moment = Moment(position, end);
    sched::TCivilTime t = sched::DecodeDateTime(moment);
    t.Hour = hour;
    t.Minute = minute;
    t.Second = second;
    t.Millisecond = 0;
    if (const auto value = sched::EncodeDateTime(t)) moment = *value;
}

void TScheduleList::ClickState(std::size_t position, cmn::IProtocolLog& asker) {
    if (position < list_.Rows.size()) sched::ClickRowState(list_.Rows[position], asker);
}

void TScheduleList::Loaded() { sched::RenumberRows(list_.Rows); }

void TScheduleList::Chain() {
    if (mode_ == TScheduleMode::ByTimeAndDuration) sched::ChainRows(list_.Rows, start_);
}

}  // namespace edit
