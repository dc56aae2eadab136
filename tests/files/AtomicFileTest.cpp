#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "CommonUtils/KnownFolders.h"
#include "CommonUtils/TalvoError.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "files/AtomicFile.h"
#include "files/DataFolders.h"

namespace {

namespace fs = std::filesystem;
using files::TAtomicBatch;
using files::WriteFileAtomic;
using talvo_test::InChild;
using talvo_test::ReadBytes;
using talvo_test::TempFolder;
using talvo_test::TempSettings;
using talvo_test::WriteBytes;

std::size_t EntryCount(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Whether writing `path` raises the error that names it and the reason.
bool RaisesWriteError(const std::string& path, const std::string& content, const std::string& reason) {
    try {
        WriteFileAtomic(path, content);
    } catch (const cmn::TalvoError& e) {
        return std::string(e.what()) == "Ошибка записи файла " + path + " (" + reason + ")";
    }
    return false;
}

// A process that has ended: a child that exited and was waited for.
pid_t EndedProcess() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

// A child that runs until the object goes, as another instance of the program would.
class RunningProcess {
public:
    RunningProcess() {
        if (::pipe(hold_) != 0) throw std::runtime_error("no pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            char byte;
            ::close(hold_[1]);
            ::_exit(::read(hold_[0], &byte, 1) < 0 ? 1 : 0);
        }
        ::close(hold_[0]);
    }
    ~RunningProcess() {
        ::close(hold_[1]);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_t Pid() const { return pid_; }

private:
    int hold_[2] = {-1, -1};
    pid_t pid_ = -1;
};

// The name an atomic write of `target` by process `pid` gives its temporary.
std::string Temporary(const std::string& target, pid_t pid, int n) {
    return target + ".tmp" + std::to_string(pid) + "-" + std::to_string(n);
}

void Plant(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) WriteBytes(path, "partial");
}

std::vector<std::string> Existing(const std::vector<std::string>& paths) {
    std::vector<std::string> existing;
    for (const std::string& path : paths)
        if (fs::exists(fs::symlink_status(path))) existing.push_back(path);
    return existing;
}

TEST(AtomicFile, CreatesAndReplacesKeepingPermissions) {
    TempFolder dir;
    WriteFileAtomic(dir / "a.ini", "old");
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "old");
    fs::permissions(dir / "a.ini", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteFileAtomic(dir / "a.ini", std::string("new\0content", 11));
    EXPECT_EQ(ReadBytes(dir / "a.ini"), std::string("new\0content", 11));
    EXPECT_EQ(fs::status(dir / "a.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

TEST(AtomicFile, ALinkKeepsPointingAtTheUpdatedFile) {
    TempFolder dir;
    fs::create_directory(dir / "real");
    WriteBytes(dir / "real/a.ini", "old");
    fs::create_symlink(dir / "real/a.ini", dir / "link.ini");
    WriteFileAtomic(dir / "link.ini", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadBytes(dir / "real/a.ini"), "new");
}

TEST(AtomicFile, MissingFolderRaises) {
    TempFolder dir;
    EXPECT_TRUE(RaisesWriteError(dir / "none/a.ini", "x", "папка не найдена"));
    WriteBytes(dir / "file", "x");
    EXPECT_TRUE(RaisesWriteError(dir / "file/a.ini", "x", "папка не найдена"));
}

TEST(AtomicFile, UnwritableFolderRaisesAndKeepsTheOldFile) {
    TempFolder dir;
    fs::create_directory(dir / "locked");
    WriteBytes(dir / "locked/a.ini", "old");
    // The file itself may be written; only the folder refuses new entries.
    fs::permissions(dir / "locked/a.ini",
                    fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec));
    fs::permissions(dir / "locked",
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::others_exec);
    const std::string path = dir / "locked/a.ini";
    EXPECT_EQ(InChild([&] { return RaisesWriteError(path, "new", "нет доступа"); }, true), 0);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(EntryCount(dir / "locked"), 1u);
    fs::permissions(dir / "locked", fs::perms::owner_all);
}

TEST(AtomicFile, ReadOnlyFileIsNotReplaced) {
    TempFolder dir;
    WriteBytes(dir / "a.ini", "old");
    fs::permissions(dir / "a.ini", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir.Path(), fs::perms::all);
    const std::string path = dir / "a.ini";
    EXPECT_EQ(InChild([&] { return RaisesWriteError(path, "new", "нет доступа"); }, true), 0);
    EXPECT_EQ(ReadBytes(path), "old");
}

// A file-size limit makes the write fail part way, as a full disk does.
TEST(AtomicFile, WriteFailingPartWayKeepsTheOldFile) {
    TempFolder dir;
    const std::string path = dir / "a.ini";
    WriteBytes(path, "old content");
    const int code = InChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return RaisesWriteError(path, std::string(1 << 20, 'n'), "недостаточно места на диске");
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadBytes(path), "old content");
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

// A batch changes no target before its commit, then all of them, and leaves
// nothing else behind; one dropped uncommitted leaves the folder as it was.
// Its first file into a folder rids the folder of ended writers' temporaries.
TEST(AtomicFile, ABatchReplacesItsFilesTogetherAtCommit) {
    TempFolder dir;
    WriteBytes(dir / "old.usa", "old");
    {
        TAtomicBatch dropped;
        dropped.Add(dir / "old.usa", "lost");
        dropped.Add(dir / "new.usa", "lost");
        EXPECT_EQ(EntryCount(dir.Path()), 3u);  // the target and two temporaries
    }
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
    EXPECT_EQ(ReadBytes(dir / "old.usa"), "old");

    fs::create_directory(dir / "sub");
    const std::vector<std::string> stale = {Temporary(dir / "sub/a.usa", EndedProcess(), 0)};
    Plant(stale);
    TAtomicBatch batch;
    batch.Add(dir / "old.usa", "replaced");
    batch.Add(dir / "sub/new.usa", std::string("new\0", 4));
    EXPECT_EQ(Existing(stale), std::vector<std::string>{});
    EXPECT_TRUE(batch.Holds(dir / "sub/new.usa"));
    EXPECT_FALSE(batch.Holds(dir / "other.usa"));
    EXPECT_EQ(ReadBytes(dir / "old.usa"), "old");
    EXPECT_FALSE(fs::exists(dir / "sub/new.usa"));
    batch.Commit();
    EXPECT_EQ(ReadBytes(dir / "old.usa"), "replaced");
    EXPECT_EQ(ReadBytes(dir / "sub/new.usa"), std::string("new\0", 4));
    EXPECT_FALSE(batch.Holds(dir / "sub/new.usa"));
    EXPECT_EQ(EntryCount(dir.Path()), 2u);
    EXPECT_EQ(EntryCount(dir / "sub"), 1u);
}

// A killed write leaves its temporary beside the target; the next write into
// the folder removes it and any other of an ended writer, while those of
// writers still at work (this process, another instance) and every other
// name stay.
TEST(AtomicFile, AWriteRemovesTheTemporariesOfEndedWriters) {
    TempFolder dir;
    const pid_t ended = EndedProcess();
    const RunningProcess other;
    const std::string endedText = std::to_string(ended);
    const std::vector<std::string> stale = {Temporary(dir / "a.ini", ended, 0), Temporary(dir / "b.usa", ended, 12)};
    const std::vector<std::string> kept = {Temporary(dir / "a.ini", ::getpid(), 3),
                                           Temporary(dir / "a.ini", other.Pid(), 0),
                                           dir / "a.ini.tmp",
                                           dir / ("a.ini.tmp" + endedText),
                                           dir / "a.ini.tmpx-1",
                                           dir / ("a.ini.tmp" + endedText + "-1x"),
                                           dir / ("a.ini.tmp-" + endedText + "-1"),
                                           dir / (".tmp" + endedText + "-1"),
                                           dir / "a.ini.tmp99999999999-1"};
    Plant(stale);
    Plant(kept);
    fs::create_directory(Temporary(dir / "folder", ended, 0));
    fs::create_symlink(dir / "a.ini", Temporary(dir / "link", ended, 0));

    WriteFileAtomic(dir / "a.ini", "new");
    EXPECT_EQ(Existing(stale), std::vector<std::string>{});
    EXPECT_EQ(Existing(kept), kept);
    EXPECT_TRUE(fs::is_directory(Temporary(dir / "folder", ended, 0)));
    EXPECT_TRUE(fs::is_symlink(Temporary(dir / "link", ended, 0)));
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "new");
    EXPECT_EQ(files::RemoveStaleTemporaries(dir.Path()), 0);
}

// The same with a real kill: whatever a writer killed mid-save left, the
// next write leaves nothing but the target.
TEST(AtomicFile, AWriteAfterAKilledWriterLeavesOnlyTheTarget) {
    TempFolder dir;
    const std::string path = dir / "big.ini";
    for (int round = 0; round < 5; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (;;) {
                if (::write(ready[1], "w", 1) < 0) ::_exit(1);
                WriteFileAtomic(path, std::string(8 << 20, 'a'));
            }
        }
        ::close(ready[1]);
        char byte;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(2 + round * 3));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        ::close(ready[0]);
        WriteFileAtomic(path, "after");
        EXPECT_EQ(EntryCount(dir.Path()), 1u) << "round " << round;
    }
}

// At start the settings, signal and export folders lose what killed writes left.
TEST(AtomicFile, TheStartCleansTheProgramsFolders) {
    TempSettings settings;
    const fs::path documents = settings.Root() / "documents";
    std::ofstream(settings.Root() / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"" << documents.string() << "\"\n";
    for (const std::string& folder : {cmn::SettingsFolder(), files::SignalFolder(), files::ExportFolder()})
        fs::create_directories(folder);
    const pid_t ended = EndedProcess();
    const std::vector<std::string> stale = {Temporary(files::SettingsFileName(), ended, 0),
                                            Temporary(files::SignalFolder() + "a.usa", ended, 1),
                                            Temporary(files::ExportFolder() + "e.xlsx", ended, 2)};
    const std::vector<std::string> kept = {Temporary(files::SettingsFileName(), ::getpid(), 0)};
    Plant(stale);
    Plant(kept);
    ASSERT_EQ(files::SignalFolder().rfind(documents.string(), 0), 0u);
    EXPECT_EQ(files::RemoveStaleTemporariesAtStart(), 3);
    EXPECT_EQ(Existing(stale), std::vector<std::string>{});
    EXPECT_EQ(Existing(kept), kept);
}

// A writer killed at any moment leaves the old or the new file, whole.
TEST(AtomicFile, WriterKilledMidSaveLeavesOldOrNewContent) {
    TempFolder dir;
    const std::string path = dir / "big.ini";
    const std::string first(4 << 20, 'a');
    const std::string second = std::string(3 << 20, 'b') + "end";
    std::mt19937 random(7);
    for (int round = 0; round < 25; ++round) {
        WriteBytes(path, first);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (int i = 0;; ++i) {
                WriteFileAtomic(path, i % 2 ? first : second);
                if (::write(ready[1], "w", 1) < 0) ::_exit(1);
            }
        }
        ::close(ready[1]);
        char byte;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        ::close(ready[0]);
        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == first || now == second) << "round " << round << ": " << now.size() << " bytes";
    }
}

}  // namespace
