#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "CommonUtils/ProtocolLog.h"
#include "schedule/ListFile.h"
#include "schedule/ScheduleRules.h"

// The schedule window's rules without widgets: the grid's columns and cell
// texts, which editor a cell opens, the enabling of the controls, and the
// list with the edits the window makes on it.
namespace edit {

// ---------------------------------------------------------------- texts

inline constexpr std::string_view kScheduleTitle = "Автоматизированное задание сигналов";
inline constexpr std::string_view kListSaved = "Cписок сигналов сохранен!";  // the first letter is the Latin C
inline constexpr std::string_view kAskReplaceList = "При загрузке, текущий список будет заменен, выполнить загрузку?";
inline constexpr std::string_view kStopBeforeClosing = "Для закрытия остановите задание сигналов.";

inline constexpr std::string_view kOpenSignalTitle = "Открыть файл испытательного сигнала";
inline constexpr std::string_view kSignalFilter = "Параметры испытательного сигнала(*.usa)|*.usa";
inline constexpr std::string_view kOpenListTitle = "Открыть списисок сигналов";
inline constexpr std::string_view kSaveListTitle = "Сохранить списисок сигналов";
inline constexpr std::string_view kListFilter = "Список сигналов(*.sfl)|*.sfl";
inline constexpr std::string_view kSaveProtocolTitle = "Сохранить протокол работы";
inline constexpr std::string_view kProtocolFilter = "Протокол(*txt)|*txt";

inline constexpr int kMaxDuration = 1000000;  // seconds, of a row and of the set time
inline constexpr int kDefaultSetTime = 5;

// ---------------------------------------------------------------- grid

enum class TScheduleColumn { Id, State, Type, Name, Duration, StartDate, StartTime, EndDate, EndTime };
inline constexpr int kScheduleColumnCount = 9;
inline constexpr std::array<std::string_view, kScheduleColumnCount> kScheduleColumnTitles = {
    "ID", "  * ", "Тип", "Наименование", "Длит.(сек.)", "Дата нач.", "Время нач.", "Дата оконч.", "Время оконч."};

// The first mode hides the four date and time columns, the second the duration.
bool ColumnShown(sched::TScheduleMode mode, TScheduleColumn column);

// "dd.MM.yyyy" and "HH:mm:ss", the short date and long time of the list file.
std::string DateText(sched::TDateTime value);
std::string TimeText(sched::TDateTime value);

// The text of a cell; the state column shows a picture and has none.
std::string ScheduleCellText(const sched::TSignalDataForGrid& row, TScheduleColumn column);

// What a double click on a cell opens: nothing during a run or in a column
// that the mode does not edit.
enum class TCellEditor { None, TypeList, Duration, Date, Time };
TCellEditor CellEditor(sched::TScheduleMode mode, TScheduleColumn column, bool running);

// ---------------------------------------------------------------- enabling

struct TScheduleEnabling {
    bool Load = true, AddSignal = true, AddCommand = true, Delete = false, SelectAll = false, ResetAll = false,
         SetDate = false, Clear = false, Save = false, Start = false, Stop = false, Modes = true, Description = false;
    bool operator==(const TScheduleEnabling&) const = default;
};

// An empty list offers loading and adding rows only, with the description
// locked; a list at rest offers everything but "Стоп" (the date button
// outside the first mode); a run leaves "Стоп", adding rows and saving.
// Removing a row during a run is refused too, since the run reports its
// rows by position.
TScheduleEnabling ScheduleEnabling(std::size_t rowCount, bool running, sched::TScheduleMode mode);

// ---------------------------------------------------------------- the list

// The rows, the description and the times the window edits. In the third
// mode the selected rows are chained again whenever the start, a duration
// or the mode changes.
class TScheduleList {
public:
    sched::TSignalList& List() { return list_; }
    const sched::TSignalList& List() const { return list_; }
    sched::TRows& Rows() { return list_.Rows; }
    const sched::TRows& Rows() const { return list_.Rows; }
    sched::TScheduleMode Mode() const { return mode_; }
    sched::TDateTime StartTime() const { return start_; }

    void SetMode(sched::TScheduleMode mode);
    // "Время старта": only its time of day is edited, on the date it holds.
    void SetStartTime(sched::TDateTime start);

    void Add(const sched::TSignalDataForGrid& row);
    void Remove(std::size_t position);
    void Clear();
    // Dragging a row onto another exchanges the two.
    void Exchange(std::size_t a, std::size_t b);
    // "Выделить все" (true) and "Сбросить все" (false).
    void SelectAll(bool selected);
    void MoveToDate(sched::TDateTime today);

    void SetType(std::size_t position, sched::TCommandType type);
    // A duration outside 0 … 1000000 is brought to the nearer end.
    void SetDuration(std::size_t position, int seconds);
    // The date or the time of day of a row's start or end; times without milliseconds.
    void SetDate(std::size_t position, bool end, int year, int month, int day);
    void SetTime(std::size_t position, bool end, int hour, int minute, int second);
    // A click on a row's state picture, asking through `asker` where needed.
    void ClickState(std::size_t position, cmn::IProtocolLog& asker);

    // After a list was read: positions renumbered, the chain renewed.
    void Loaded();

private:
    void Chain();
    sched::TDateTime& Moment(std::size_t position, bool end);

    sched::TSignalList list_;
    sched::TScheduleMode mode_ = sched::TScheduleMode::ByDuration;
    sched::TDateTime start_ = 0;
};

}  // namespace edit
