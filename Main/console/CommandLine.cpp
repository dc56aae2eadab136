#include "console/CommandLine.h"

#include <charconv>
#include <map>

namespace console {
namespace {

std::optional<int> DecimalInteger(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

void SetCommand(TConsoleOptions& o, const std::string& value) {
    if (value == "SetSignal") o.Command = TConsoleCommand::SetSignal;
    else if (value == "ExportXls") o.Command = TConsoleCommand::ExportXls;
    else if (value == "Verify") o.Command = TConsoleCommand::Verify;
}

void SetType(TConsoleOptions& o, const std::string& value) {
    static const std::map<std::string, int> types{{"Sinus", ctSinus},
                                                  {"ColOver", ctColOver},
                                                  {"Koleb", ctKoleb},
                                                  {"StopSin", ctStopSin},
                                                  {"StopColOver", ctStopColOver}};
    const auto found = types.find(value);
    if (found != types.end()) o.Type = found->second;
}

void SetColumn(TConsoleOptions& o, const std::string& value) {
    if (const auto column = DecimalInteger(value)) {
        o.Column = *column;
        o.BadColumn.reset();
    } else {
        o.BadColumn = value;
    }
}

void Apply(TConsoleOptions& o, const std::string& option, const std::string& value) {
    if (option == "-c") SetCommand(o, value);
    else if (option == "-t") SetType(o, value);
    else if (option == "-p") o.SignalFile = value;
    else if (option == "-k") o.Modification = value == "dmTalvo" ? 0 : 1;
    else if (option == "-cn") o.Port = value;
    else if (option == "-s") o.FromStdin = true;
    else if (option == "-expt") o.Template = value;
    else if (option == "-expf") o.Output = value;
    else if (option == "-expo") o.IntoCopy = value == "infile";
    else if (option == "-col") SetColumn(o, value);
    else if (option == "-o") o.Report = value;
}

}  // namespace

TConsolManager::TConsolManager(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i)
        Apply(options_, args[i], i + 1 < args.size() ? args[i + 1] : std::string());
}

std::string BadColumnMessage(const std::string& value) {
    return "Номер столбца должен быть целым десятичным числом: " + value;
}

}  // namespace console
