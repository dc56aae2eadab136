#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/SignalFile.h"

// The main window's rules: captions, the recent list, which file kind a
// name opens as, the enabling of the signal commands, and the texts and
// colours of the status and voltage panels.
namespace edit {

inline constexpr std::string_view kApplicationTitle = "Калибратор Talvo";

// "Калибратор Talvo. Модификация Orbis-TalvoM".
std::string MainCaption(int modification);
// "Испытательный сигнал: Без имени #3" for the third window open.
std::string NewWindowCaption(int openWindows);
// Captions after a file was loaded or saved; `path` may hold folders.
std::string LoadedCaption(files::SignalFileKind kind, std::string_view path);
std::string OpenedByNameCaption(std::string_view path);
std::string SavedCaption(std::string_view path);

// ---------------------------------------------------------------- recent files

inline constexpr std::size_t kRecentCount = 5;

// Adds a name not yet in the list: into the first free place, or, when all
// five are taken, at the end after the oldest was dropped.
void AddFromMenuList(std::vector<std::string>& recent, const std::string& name);
// Removes an entry; the later ones move up.
void RemoveRecent(std::vector<std::string>& recent, std::size_t index);

// The file kind `Open` reads by the name's upper-cased extension: .USA, .USU,
// .USI; nothing for any other, which is refused with kUnknownFormat.
std::optional<files::SignalFileKind> KindByExtension(std::string_view path);
inline constexpr std::string_view kUnknownFormat = "Неизвестный формат файла!";
inline constexpr std::string_view kFileNotFound = "Файл не найден!";
inline constexpr std::string_view kNothingToSave = "Нет сигнала для сохранения!";
inline constexpr std::string_view kStopScheduleFirst =
    "Для выполнения необходимо остановить автоматизированное задание сигналов.";
inline constexpr std::string_view kSettingsWriteError = "Ошибка записи в ini-файл";

// ---------------------------------------------------------------- enabling

// Whether the signal commands stay enabled when a window reports its
// closing: another window remains.
bool SignalCommandsEnabled(int openWindows, bool closingIsOpen);

// ---------------------------------------------------------------- panels

struct TPanelLook {
    std::string Text;
    std::string_view Background;  // colour name: "lime", "red", "white", "yellow"
    std::string_view Foreground;  // "black" or "white"
    bool operator==(const TPanelLook&) const = default;
};

inline constexpr std::string_view kReadyStatus = "Готов к передаче сигнала";
// The status panel for a status code 1 … 6; nothing for another code.
std::optional<TPanelLook> StatusLook(int code);

// The voltage indicator: codes 1 … 3 set it; code 4 reports a level, which
// turns a lit indicator off when it falls or when the stored level jumps.
class TVoltageIndicator {
public:
    TVoltageIndicator();
    // Applies a report; false when the code changes nothing.
    bool Report(int code, int level);
    const TPanelLook& Look() const { return look_; }

private:
    TPanelLook look_;
    int level_ = 0;
    bool lit_ = false;
};

}  // namespace edit
