#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "CommonUtils/Md5.h"
#include "RecordingLog.h"
#include "Refusal.h"
#include "TempFolder.h"
#include "link/LibraryBinding.h"

namespace {

namespace fs = std::filesystem;
using talvo_test::RecordingLog;
using talvo_test::Refusal;

const std::string kBuiltFolder = std::string(TALVO_BIN_DIR) + "/";
const std::string kBuiltLibrary = kBuiltFolder + "libSignalTalvo.so";

// A fresh folder for a copy of the library, named as the program looks for it.
class LibraryFolder {
public:
    std::string Folder() const { return temp_.Path().string() + "/"; }
    std::string Library() const { return Folder() + "libSignalTalvo.so"; }

private:
    talvo_test::TempFolder temp_{"talvo-binding"};
};

bool IsUpperHexDigest(const std::string& digest) {
    return digest.size() == 32 && digest.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

TEST(LibraryBinding, BuildRecordedTheDigestOfTheBuiltLibrary) {
    EXPECT_TRUE(IsUpperHexDigest(std::string(lnk::RecordedLibraryDigest())));
    EXPECT_EQ(lnk::RecordedLibraryDigest(), cmn::Md5FileHex(kBuiltLibrary));
}

// With an all-zero record the library refuses the signal and leaves the
// buffer alone; the binding looks at nothing but whether the call returned.
TEST(LibraryBinding, BuiltLibraryLoadsAndIsExercised) {
    const lnk::TSignalLibrary library = lnk::LoadSignalLibrary(kBuiltFolder, lnk::RecordedLibraryDigest());
    ASSERT_TRUE(library.Loaded());
    EXPECT_EQ(library.Digest(), lnk::RecordedLibraryDigest());
    EXPECT_TRUE(IsUpperHexDigest(library.Digest()));
    TFullSignalParams buffer;
    static_assert(sizeof buffer == 6128);
    std::memset(&buffer, 0xA5, sizeof buffer);
    lnk::Exercise(library, buffer);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&buffer);
    EXPECT_EQ(std::count(bytes, bytes + sizeof buffer, 0xA5), static_cast<long>(sizeof buffer));
}

TEST(LibraryBinding, CopyInAnotherFolderLoadsAndCorruptedCopyIsRefused) {
    LibraryFolder temp;
    EXPECT_EQ(Refusal([&] { lnk::LoadSignalLibrary(temp.Folder(), lnk::RecordedLibraryDigest()); }),
              "Отсутствует библиотека libSignalTalvo.so");

    fs::copy_file(kBuiltLibrary, temp.Library());
    EXPECT_TRUE(lnk::LoadSignalLibrary(temp.Folder(), lnk::RecordedLibraryDigest()).Loaded());

    {
        std::fstream file(temp.Library(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(fs::file_size(temp.Library()) / 2));
        file.put('\x5A');
    }
    EXPECT_EQ(Refusal([&] { lnk::LoadSignalLibrary(temp.Folder(), lnk::RecordedLibraryDigest()); }),
              "Неверная контрольная сумма библиотеки libSignalTalvo.so.");
}

// Runs without a window report the refusal and go on without the library.
TEST(LibraryBinding, BindingReportsARefusalInTheLog) {
    LibraryFolder temp;
    RecordingLog log;
    EXPECT_FALSE(lnk::BindSignalLibrary(temp.Folder(), log));
    EXPECT_EQ(log.lines, (std::vector<std::pair<cmn::LogType, std::string>>{
                             {cmn::LogType::Error, "Отсутствует библиотека libSignalTalvo.so"}}));
    const std::optional<lnk::TSignalLibrary> built = lnk::BindSignalLibrary(kBuiltFolder, log);
    ASSERT_TRUE(built);
    EXPECT_TRUE(built->Loaded());
    EXPECT_EQ(log.lines.size(), 1u);
}

// A file whose digest matches but that is no loadable object.
TEST(LibraryBinding, FileTheSystemCannotLoad) {
    LibraryFolder temp;
    std::ofstream(temp.Library()) << "not a shared object";
    const std::string digest = cmn::Md5FileHex(temp.Library());
    EXPECT_EQ(Refusal([&] { lnk::LoadSignalLibrary(temp.Folder(), digest); }),
              "Ошибка при загрузке библиотеки libSignalTalvo.so (8).");
}

TEST(LibraryBinding, MissingExportFailsOnlyWhenExercised) {
    LibraryFolder temp;
    fs::copy_file(NO_EXPORT_LIBRARY, temp.Library());
    const lnk::TSignalLibrary library = lnk::LoadSignalLibrary(temp.Folder(), cmn::Md5FileHex(temp.Library()));
    ASSERT_TRUE(library.Loaded());
    TFullSignalParams buffer{};
    EXPECT_EQ(Refusal([&] { lnk::Exercise(library, buffer); }),
              "Ошибка при работе с библиотекой libSignalTalvo.so (127).");
    EXPECT_EQ(Refusal([&] { lnk::Exercise(lnk::TSignalLibrary(), buffer); }),
              "Ошибка при работе с библиотекой libSignalTalvo.so (127).");
}

TEST(LibraryBinding, CallThatThrowsIsTheLibraryWorkError) {
    LibraryFolder temp;
    fs::copy_file(THROWING_LIBRARY, temp.Library());
    const lnk::TSignalLibrary library = lnk::LoadSignalLibrary(temp.Folder(), cmn::Md5FileHex(temp.Library()));
    TFullSignalParams buffer{};
    EXPECT_EQ(Refusal([&] {
                  lnk::Exercise(library, buffer);
              }).rfind("Ошибка при работе с библиотекой libSignalTalvo.so (", 0),
              0u);
}

}  // namespace
