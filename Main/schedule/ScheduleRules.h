#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CommonUtils/ProtocolLog.h"
#include "schedule/SignalRow.h"

// The rules on the times of a schedule's rows: chaining, the check before a
// run by clock time, and the run copies' allowance for setting each signal.
namespace sched {

using TRows = std::vector<TSignalDataForGrid>;

inline bool IsSelected(const TSignalDataForGrid& row) { return row.State == TRowState::Selected; }

// The third mode's chain: the first selected row starts at `start` (without
// milliseconds), each selected row ends after its duration and the next
// selected row starts there. Unselected rows keep their times.
void ChainRows(TRows& rows, TDateTime start);

// "Устан. текущую дату у сигналов": every start and end moves to the date
// of `today`, keeping its time of day.
void MoveRowsToDate(TRows& rows, TDateTime today);

// The check of the selected rows before a run by clock time: the message of
// the first rule that fails, nothing when the times are in order.
std::optional<std::string> CheckRowTimes(const TRows& rows);

// The run copies: every row shortened by the set time `setTime` except the
// last (a duration stays when it would turn negative), every start brought
// forward by it, every end except the last too, so each signal is on the
// calibrator by the time the operator planned for it.
TRows MakeRunCopies(const TRows& rows, int setTime);

// "Ориентировочное время завершения: " and the expected end of a run of the
// rows (taken before the set-time adjustment) started at `now`.
std::string EstimatedEndText(TScheduleMode mode, const TRows& rows, int setTime, TDateTime now);

// A click on a row's state picture outside a run: 0 and 1 toggle; a row
// sent, failed or being sent becomes selected again when the operator
// answers "Сменить статус сигнала?" with Yes (asked through `asker`).
void ClickRowState(TSignalDataForGrid& row, cmn::IProtocolLog& asker);

// Positions renumbered after rows moved, were removed or added.
void RenumberRows(TRows& rows);

// The window's side of a run: the markers of the rows while it goes on
// (selected 5, not selected 6), a state reported for one row (at any
// position within the list), and the markers taken back when it ends
// (states 2, 3 and 4 stay).
void MarkRowsRunning(TRows& rows);
void ApplyRowState(TRows& rows, std::size_t position, TRowState state);
void RestoreRowMarkers(TRows& rows);

}  // namespace sched
