#pragma once

#include <string>

namespace cmn {

// Line types of the protocol log.
enum class LogType : int {
    Info = 1,
    Error = 2,
    Notice = 4,
    ScheduleInfo = 5,  // information meant for the schedule's protocol
    Separator = 6,     // an empty line
};

// The kinds of the program's message dialog.
enum class MessageKind { LoadSave, Warning, Confirmation, Ok };

enum class Buttons { Ok, YesNo };

// Where an action reports: the signal window's protocol list, the schedule
// window, or standard output. Only an interactive target (a window) asks the
// user; non-interactive runs never ask and callers log the notice form of
// the question instead, then go on as the rules for unattended use say.
class IProtocolLog {
public:
    virtual ~IProtocolLog() = default;
    virtual void Log(LogType type, const std::string& text) = 0;
    virtual bool Interactive() const = 0;
    // Shows a modal message; true for Yes (and for OK). Called only when Interactive().
    virtual bool Ask(const std::string& text, MessageKind kind, Buttons buttons) = 0;
};

}  // namespace cmn
