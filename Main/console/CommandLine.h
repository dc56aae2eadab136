#pragma once

#include <optional>
#include <string>
#include <vector>

// The program's command line: window start, or one console command.
namespace console {

enum class TConsoleCommand { None, SetSignal, ExportXls, Verify };

// What "SetSignal" does; the numbers are also the schedule's row types.
enum TCommandType : int { ctSinus = 0, ctColOver = 1, ctKoleb = 2, ctStopSin = 3, ctStopColOver = 4 };

struct TConsoleOptions {
    TConsoleCommand Command = TConsoleCommand::None;
    int Type = ctStopSin;
    std::string SignalFile;
    int Modification = 1;  // the second modification unless "dmTalvo"
    std::string Port = "COM1";
    bool FromStdin = false;
    std::string Template;
    std::string Output;
    std::string Report;     // "-o": the check's report file (.csv or .json)
    bool IntoCopy = false;  // "-expo infile": into a copy saved as the output file
    int Column = 2;
    // Set when "-col" was not a decimal integer: the run refuses to start.
    std::optional<std::string> BadColumn;
};

constexpr unsigned kConsoleBaudRate = 115200;

// Parses the command line. Every argument equal to an option name takes the
// next one as its value, even when that value is an option name itself, as
// the program has always read its arguments.
class TConsolManager {
public:
    explicit TConsolManager(const std::vector<std::string>& args);  // args[0] is the program
    const TConsoleOptions& Options() const { return options_; }
    bool ConsoleMode() const { return options_.Command != TConsoleCommand::None; }

private:
    TConsoleOptions options_;
};

// The message for a "-col" value that is not a decimal integer.
std::string BadColumnMessage(const std::string& value);

}  // namespace console
