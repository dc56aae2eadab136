#include "schedule/ScheduleRules.h"

#include <numeric>

namespace sched {
namespace {

std::string Named(const TSignalDataForGrid& row) {
    return FileNameOnly(row.Path) + " (ID-" + std::to_string(row.Index) + ")";
}

std::string PairMessage(const std::string& first, const TSignalDataForGrid& a, const std::string& second,
                        const TSignalDataForGrid& b) {
    return first + Named(a) + ",\r\n" + second + Named(b);
}

std::optional<std::string> CheckPair(const TSignalDataForGrid& a, const TSignalDataForGrid& b) {
    if (SameDateTime(a.Start, b.Start))
        return PairMessage("Время начала сигнала - ", a, "совпадает с временем начала сигнала - ", b);
    if (LaterThan(a.Start, b.Start))
        return PairMessage("Время начала сигнала ", a, "позднее времени начала сигнала - ", b);
    if (LaterThan(a.End, b.Start))
        return PairMessage("Время окончания сигнала ", a, "позднее времени начала сигнала - ", b);
    return std::nullopt;
}

long long TotalDuration(const TRows& rows) {
    return std::accumulate(rows.begin(), rows.end(), 0LL,
                           [](long long sum, const TSignalDataForGrid& r) { return sum + r.Duration; });
}

}  // namespace

void ChainRows(TRows& rows, TDateTime start) {
    TDateTime next = WithoutMilliseconds(start);
    for (TSignalDataForGrid& row : rows) {
        if (!IsSelected(row)) continue;
        row.Start = next;
        row.End = next + SecondsToDays(row.Duration);
        next = row.End;
    }
}

void MoveRowsToDate(TRows& rows, TDateTime today) {
    const TCivilTime date = DecodeDateTime(today);
    const auto moved = [&date](TDateTime value) {
        TCivilTime t = DecodeDateTime(value);
        t.Year = date.Year;
        t.Month = date.Month;
        t.Day = date.Day;
        return EncodeDateTime(t).value_or(value);
    };
    for (TSignalDataForGrid& row : rows) {
        row.Start = moved(row.Start);
        row.End = moved(row.End);
    }
}

std::optional<std::string> CheckRowTimes(const TRows& rows) {
    std::vector<const TSignalDataForGrid*> selected;
    for (const TSignalDataForGrid& row : rows)
        if (IsSelected(row)) selected.push_back(&row);
    for (const TSignalDataForGrid* row : selected)
        if (LaterThan(row->Start, row->End))
            return PairMessage("Время начала сигнала ", *row, "позднее времени окончания сигнала - ", *row);
    for (std::size_t i = 1; i < selected.size(); ++i)
        if (auto message = CheckPair(*selected[i - 1], *selected[i])) return message;
    return std::nullopt;
}

TRows MakeRunCopies(const TRows& rows, int setTime) {
    TRows copies = rows;
    const TDateTime allowance = SecondsToDays(setTime);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        TSignalDataForGrid& copy = copies[i];
        copy.SetTime = setTime;
        copy.Start -= allowance;
        if (i + 1 == copies.size()) continue;
        // In 64 bits: a list may store any 32-bit duration, the most negative ones too.
        if (static_cast<long long>(copy.Duration) - setTime >= 0) copy.Duration -= setTime;
        copy.End -= allowance;
    }
    return copies;
}

std::string EstimatedEndText(TScheduleMode mode, const TRows& rows, int setTime, TDateTime now) {
    TDateTime end = 0;
    const TDateTime planned = SecondsToDays(static_cast<double>(TotalDuration(rows) + setTime));
    switch (mode) {
        case TScheduleMode::ByDuration: end = now + planned; break;
        case TScheduleMode::ByTime: end = rows.empty() ? now : rows.back().End; break;
        case TScheduleMode::ByTimeAndDuration: end = (rows.empty() ? now : rows.front().Start) + planned; break;
    }
    return "Ориентировочное время завершения: " + DateTimeToText(end);
}

void ClickRowState(TSignalDataForGrid& row, cmn::IProtocolLog& asker) {
    switch (row.State) {
        case TRowState::NotSelected: row.State = TRowState::Selected; break;
        case TRowState::Selected: row.State = TRowState::NotSelected; break;
        case TRowState::Sending:
        case TRowState::Sent:
        case TRowState::Failed:
            if (asker.Ask("Сменить статус сигнала?", cmn::MessageKind::Confirmation, cmn::Buttons::YesNo))
                row.State = TRowState::Selected;
            break;
        default: break;  // a run goes on
    }
}

void RenumberRows(TRows& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].Index = static_cast<int>(i);
}

void MarkRowsRunning(TRows& rows) {
    for (TSignalDataForGrid& row : rows) {
        if (row.State == TRowState::Selected) row.State = TRowState::SelectedRunning;
        else if (row.State == TRowState::NotSelected) row.State = TRowState::NotSelectedRunning;
    }
}

void ApplyRowState(TRows& rows, std::size_t position, TRowState state) {
    if (position < rows.size()) rows[position].State = state;
}

void RestoreRowMarkers(TRows& rows) {
    for (TSignalDataForGrid& row : rows) {
        if (row.State == TRowState::SelectedRunning) row.State = TRowState::Selected;
        else if (row.State == TRowState::NotSelectedRunning) row.State = TRowState::NotSelected;
    }
}

}  // namespace sched
