#include "files/DataFolders.h"

#include <filesystem>
#include <system_error>

#include "CommonUtils/KnownFolders.h"
#include "CommonUtils/TalvoError.h"
#include "files/AtomicFile.h"

namespace files {

std::string SettingsFileName() { return cmn::SettingsFolder() + "KalibratorTalvo.ini"; }

std::string SignalFolder() { return cmn::DataFolder() + "Сигналы/"; }

std::string ExportFolder() { return cmn::DataFolder() + "Экспорт/"; }

std::string TemplateFolder() { return cmn::ProgramFolder() + "Templates/"; }

std::string TestSignalsFolder() { return cmn::ProgramFolder() + "Test Signals/"; }

std::string SignalOpenFolder() {
    std::error_code ec;
    return std::filesystem::is_directory(SignalFolder(), ec) ? SignalFolder() : TestSignalsFolder();
}

int RemoveStaleTemporariesAtStart() {
    int removed = 0;
    for (const std::string& folder : {cmn::SettingsFolder(), SignalFolder(), ExportFolder()})
        removed += RemoveStaleTemporaries(folder);
    return removed;
}

void CreateFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec || !std::filesystem::is_directory(path, ec)) throw cmn::TalvoError("Не удалось создать папку " + path);
}

}  // namespace files
