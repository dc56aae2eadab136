#pragma once

#include <string>
#include <vector>

#include "files/DataFolders.h"
#include "files/IniFile.h"
#include "signal/Correction.h"

namespace files {

// The per-user settings. The whole file is read when the object is made
// and written back by Save(); every operation works on the loaded file.
class TTalvoIni {
public:
    // Creates the file's folder with its parents (a failure shows only when
    // saving) and loads the file; a missing file reads as empty. A file that
    // exists and cannot be read (too large, no permission, not a regular
    // file) raises cmn::TalvoError, so that nothing is written over it.
    explicit TTalvoIni(const std::string& fileName = SettingsFileName());

    // The settings the program starts with: as above, but a file that cannot
    // be read gives empty settings and its failure text in `failure`. The
    // unreadable file stays as it is until the first Save(), which keeps it
    // beside the new one as NAME.bad (one copy, replaced each time).
    static TTalvoIni AtStart(std::string& failure, const std::string& fileName = SettingsFileName());

    std::string ReadComPort() const;
    void WriteComPort(const std::string& port);
    std::string ReadConverterComPort() const;
    void WriteConverterComPort(const std::string& port);

    // The recent files, stored as one tab-delimited text with quotes around
    // entries that need them. A null list raises cmn::TalvoError. Entries
    // with a line break cannot be stored in an INI value and are left out.
    void GetRecentFileList(std::vector<std::string>* fileList) const;
    void SetRecentFileList(const std::vector<std::string>* fileList);

    sig::TCorrectionRecord ReadCorrection() const;
    void WriteCorrection(const sig::TCorrectionRecord& correction);

    // A stored value outside 0 … sig::kModificationCount-1 reads as sig::kDefaultModification.
    int ReadModification() const;
    void WriteModification(int modification);
    bool ModificationPresent() const;

    // Whether the splash shows at start (default true); the value read is
    // written back at once, so a first start records it.
    bool ReadShowSplash();

    // Converter mode at start, and whether the converter entries exist at all.
    bool ReadConverterMode() const;
    void WriteConverterMode(bool on);
    bool ReadConverterEnabled() const;

    // Writes the file back atomically; raises cmn::TalvoError when it cannot.
    void Save();

private:
    explicit TTalvoIni(IniFile ini) : ini_(std::move(ini)) {}

    IniFile ini_;
    std::string fileName_;
    bool keepUnreadable_ = false;
};

}  // namespace files
