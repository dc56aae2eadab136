#pragma once

#include <string>

// The per-user folders of the program. Every path ends with "/"; a lookup
// that fails yields an empty text, so paths become relative to the current
// folder. Nothing here creates a folder: the owner of a file does.
namespace cmn {

// $XDG_CONFIG_HOME, else ~/.config.
std::string UserConfigFolder();

// XDG_DOCUMENTS_DIR of the user's user-dirs.dirs, else ~/Documents.
std::string UserDocumentsFolder();

// The folder of the running executable.
std::string ProgramFolder();

// The settings folder: <config>/Ostra/Калибратор Talvo/.
std::string SettingsFolder();

// The per-user port folder: links named COMn to serial devices.
std::string PortFolder();

// <documents>/Ostra/Калибратор Talvo/.
std::string DataFolder();

}  // namespace cmn
