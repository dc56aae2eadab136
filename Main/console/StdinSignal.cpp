#include "console/StdinSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include "CommonUtils/CodePage.h"
#include "CommonUtils/TalvoError.h"

namespace console {
namespace {

// A line typed or piped on this system is UTF-8; one that is not came from
// a Windows-1251 file and is kept byte for byte.
std::string FileLine(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return (cmn::IsValidUtf8(line) ? cmn::Utf8ToCp1251(line) : line) + "\r\n";
}

void WriteAll(int fd, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw cmn::TalvoError("Ошибка записи файла " + path + " (" + std::strerror(errno) + ")");
        done += static_cast<std::size_t>(n);
    }
}

// Opens a file of a name not taken yet, drawing names until one is free.
std::pair<int, std::string> CreateUnique(const std::string& folder) {
    std::random_device seed;
    std::mt19937_64 draw(seed());
    for (;;) {
        const std::string path = folder + "~" + std::to_string(draw() % 100000000) + ".usa";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) return {fd, path};
        if (errno != EEXIST) throw cmn::TalvoError("Ошибка записи файла " + path + " (" + std::strerror(errno) + ")");
    }
}

}  // namespace

std::optional<TStdinSignalFile> TStdinSignalFile::Read(std::istream& in, const std::string& folder) {
    std::string content;
    bool any = false;
    for (std::string line; std::getline(in, line);) {
        content += FileLine(std::move(line));
        any = true;
    }
    if (!any) return std::nullopt;
    auto [fd, path] = CreateUnique(folder);
    TStdinSignalFile file(path);
    try {
        WriteAll(fd, content, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) throw cmn::TalvoError("Ошибка записи файла " + path + " (" + std::strerror(errno) + ")");
    return file;
}

TStdinSignalFile::TStdinSignalFile(TStdinSignalFile&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

TStdinSignalFile::~TStdinSignalFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
}

std::string TemporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace console
