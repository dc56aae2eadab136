#pragma once

#include <istream>
#include <optional>
#include <string>

namespace console {

// A signal file handed over on standard input, kept in a file of its own
// for the length of the run: "~<unique>.usa" in the temporary folder,
// Windows-1251 with CR LF line ends. Removed when the object goes.
class TStdinSignalFile {
public:
    // Reads `in` to its end; no file when not a single line came.
    static std::optional<TStdinSignalFile> Read(std::istream& in, const std::string& folder);
    TStdinSignalFile(TStdinSignalFile&& other) noexcept;
    TStdinSignalFile& operator=(TStdinSignalFile&&) = delete;
    ~TStdinSignalFile();
    const std::string& Path() const { return path_; }

private:
    explicit TStdinSignalFile(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

// $TMPDIR, else /tmp, with a closing "/".
std::string TemporaryFolder();

}  // namespace console
