#include "files/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <filesystem>
#include <optional>

#include "CommonUtils/TalvoError.h"

namespace files {
namespace {

namespace fs = std::filesystem;

std::string Reason(int error) {
    switch (error) {
        case EACCES:
        case EPERM: return "нет доступа";
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return "недостаточно места на диске";
        case EROFS: return "диск доступен только для чтения";
        case ENOENT:
        case ENOTDIR: return "папка не найдена";
        case EISDIR: return "это папка";
        default: return "системная ошибка " + std::to_string(error);
    }
}

[[noreturn]] void Fail(const std::string& path, int error) {
    throw cmn::TalvoError("Ошибка записи файла " + path + " (" + Reason(error) + ")");
}

// A link is followed, so that the file it points to is replaced and the link stays.
std::string ResolvedTarget(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    const fs::path target = fs::canonical(path, ec);
    return ec ? path : target.string();
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr std::string_view kTemporaryMark = ".tmp";

// A fresh name beside the target, "<target>.tmp<PID>-<n>"; O_EXCL keeps two
// writers apart, and the process number tells a later clean-up whether the
// writer may still be at work.
int CreateTemporary(const std::string& path, std::string& tempName) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = path + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// 0 on success, else the errno of the failing step.
int WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// The new file keeps the permissions of the one it replaces.
void CopyMode(int fd, const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
}

enum class TFlush { Now, Later };

// The content of `path` in its temporary, flushed to disk unless the caller
// flushes many at once later. On failure the temporary is gone.
void WriteTemporary(const std::string& path, const std::string& target, std::string_view content, TFlush flush,
                    std::string& tempName) {
    // rename() would replace a read-only file without asking; the user made it read-only to keep it.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) Fail(path, errno);
    const int fd = CreateTemporary(target, tempName);
    if (fd < 0) Fail(path, errno);
    CopyMode(fd, target);
    int error = WriteAll(fd, content);
    if (error == 0 && flush == TFlush::Now && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(tempName.c_str());
        Fail(path, error);
    }
}

void Rename(const std::string& path, const std::string& tempName, const std::string& target) {
    if (::rename(tempName.c_str(), target.c_str()) == 0) return;
    const int error = errno;
    ::unlink(tempName.c_str());
    Fail(path, error);
}

// Makes the renames in a folder durable. A folder that cannot be synced (some
// file systems refuse) does not undo a rename that already took place.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Flushes everything written to the file system that holds `folder`: one
// call for the temporaries of a whole batch instead of one per file. 0 on
// success, else the errno.
int SyncFileSystemOf(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The writer's process number of a name "NAME.tmp<PID>-<n>", nothing for
// any other name.
std::optional<pid_t> WriterOf(std::string_view name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == 0 || mark == std::string_view::npos) return std::nullopt;
    const std::string_view tail = name.substr(mark + kTemporaryMark.size());
    const std::size_t dash = tail.find('-');
    if (dash == std::string_view::npos || !AllDigits(tail.substr(0, dash)) || !AllDigits(tail.substr(dash + 1)))
        return std::nullopt;
    long pid = 0;
    const auto [end, error] = std::from_chars(tail.data(), tail.data() + dash, pid);
    if (error != std::errc() || pid <= 0 || pid > INT_MAX) return std::nullopt;
    return static_cast<pid_t>(pid);
}

// A process we may not signal exists all the same.
bool ProcessExists(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

}  // namespace

int RemoveStaleTemporaries(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator entry(folder, ec);
    int removed = 0;
    for (; !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
        const std::optional<pid_t> writer = WriterOf(entry->path().filename().native());
        if (!writer || ProcessExists(*writer) || entry->symlink_status(ec).type() != fs::file_type::regular) continue;
        if (::unlink(entry->path().c_str()) == 0) ++removed;
    }
    return removed;
}

void WriteFileAtomic(const std::string& path, std::string_view content) {
    const std::string target = ResolvedTarget(path);
    RemoveStaleTemporaries(FolderOf(target));
    std::string tempName;
    WriteTemporary(path, target, content, TFlush::Now, tempName);
    Rename(path, tempName, target);
    SyncFolder(FolderOf(target));
}

TAtomicBatch::~TAtomicBatch() { Discard(); }

void TAtomicBatch::Add(const std::string& path, std::string_view content) {
    TPending file{path, ResolvedTarget(path), {}};
    const std::string folder = FolderOf(file.Target);
    if (std::find(cleaned_.begin(), cleaned_.end(), folder) == cleaned_.end()) {
        RemoveStaleTemporaries(folder);
        cleaned_.push_back(folder);
    }
    WriteTemporary(file.Path, file.Target, content, TFlush::Later, file.Temporary);
    pending_.push_back(std::move(file));
}

bool TAtomicBatch::Holds(const std::string& path) const {
    return std::any_of(pending_.begin(), pending_.end(), [&](const TPending& file) { return file.Path == path; });
}

void TAtomicBatch::Commit() {
    std::vector<std::string> folders;
    for (const TPending& file : pending_)
        if (std::find(folders.begin(), folders.end(), FolderOf(file.Target)) == folders.end())
            folders.push_back(FolderOf(file.Target));
    for (const std::string& folder : folders)
        if (const int error = SyncFileSystemOf(folder)) Fail(pending_.front().Path, error);
    std::size_t renamed = 0;
    try {
        for (; renamed < pending_.size(); ++renamed)
            Rename(pending_[renamed].Path, pending_[renamed].Temporary, pending_[renamed].Target);
    } catch (const cmn::TalvoError&) {
        // The failed one took its temporary along; the ones after it stay for Discard.
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(renamed) + 1);
        for (const std::string& folder : folders) SyncFolder(folder);
        throw;
    }
    pending_.clear();
    for (const std::string& folder : folders) SyncFolder(folder);
}

void TAtomicBatch::Discard() {
    for (const TPending& file : pending_) ::unlink(file.Temporary.c_str());
    pending_.clear();
}

}  // namespace files
