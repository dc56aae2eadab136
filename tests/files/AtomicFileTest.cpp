#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "CommonUtils/TalvoError.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "files/AtomicFile.h"

namespace {

namespace fs = std::filesystem;
using files::TAtomicBatch;
using files::WriteFileAtomic;
using talvo_test::InChild;
using talvo_test::ReadBytes;
using talvo_test::TempFolder;
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
    TAtomicBatch batch;
    batch.Add(dir / "old.usa", "replaced");
    batch.Add(dir / "sub/new.usa", std::string("new\0", 4));
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

// A file the batch may not replace is refused when it is added, as a single write refuses it.
TEST(AtomicFile, ABatchRefusesAReadOnlyFile) {
    TempFolder dir;
    WriteBytes(dir / "a.ini", "old");
    fs::permissions(dir / "a.ini", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir.Path(), fs::perms::all);
    const std::string path = dir / "a.ini";
    const int code = InChild(
        [&] {
            TAtomicBatch batch;
            batch.Add(path + ".other", "fine");
            try {
                batch.Add(path, "new");
            } catch (const cmn::TalvoError& e) {
                batch.Commit();
                return std::string(e.what()) == "Ошибка записи файла " + path + " (нет доступа)";
            }
            return false;
        },
        true);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(ReadBytes(path + ".other"), "fine");
    EXPECT_EQ(EntryCount(dir.Path()), 2u);
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
