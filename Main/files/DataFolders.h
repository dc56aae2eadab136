#pragma once

#include <string>

// The program's own folders and files, built on the known folders. Every
// folder ends with "/".
namespace files {

// <settings folder>/KalibratorTalvo.ini.
std::string SettingsFileName();

// <documents>/Ostra/Калибратор Talvo/Сигналы/: created when a signal file is saved.
std::string SignalFolder();

// <documents>/Ostra/Калибратор Talvo/Экспорт/: created when the export file dialog opens.
std::string ExportFolder();

// Templates/ beside the program: the export's template workbooks.
std::string TemplateFolder();

// Test Signals/ beside the program: the example signals shipped with it.
std::string TestSignalsFolder();

// Where the signal open dialogs start: the signal folder when it exists,
// else the shipped test signals.
std::string SignalOpenFolder();

// Removes the temporaries that killed writes left in the settings folder,
// the signal folder and the export folder (see RemoveStaleTemporaries), for
// the start of the program. Returns how many were removed.
int RemoveStaleTemporariesAtStart();

// Creates the folder with every missing parent; an existing folder is fine.
// Raises cmn::TalvoError "Не удалось создать папку <path>" on failure.
void CreateFolder(const std::string& path);

}  // namespace files
