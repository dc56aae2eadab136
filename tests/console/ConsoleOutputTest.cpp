#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "CommonUtils/CodePage.h"
#include "CommonUtils/TalvoError.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "console/ConsoleLog.h"
#include "console/StdinSignal.h"

namespace {

namespace fs = std::filesystem;

std::string Captured(std::FILE* f) {
    std::rewind(f);
    std::string out;
    for (int c; (c = std::fgetc(f)) != EOF;) out += static_cast<char>(c);
    return out;
}

TEST(ConsoleOutput, Cp866MovesOnlyTheCyrillicLetters) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string out = console::Cp1251ToConsole866(all);
    for (int b = 0; b < 256; ++b) {
        const int expected = b >= 0xF0 ? b - 0x10 : b >= 0xC0 ? b - 0x40 : b;
        EXPECT_EQ(static_cast<unsigned char>(out[b]), expected) << b;
    }
    // The letters reach the console as code page 866 shows them.
    EXPECT_EQ(cmn::Cp866ToUtf8(console::Cp1251ToConsole866(cmn::Utf8ToCp1251("Передача выполнена"))),
              "Передача выполнена");
}

TEST(ConsoleOutput, OneLinePerMessageInTheTerminalsEncoding) {
    std::FILE* f = std::tmpfile();
    console::TConsoleLog utf8(f, console::TOutputEncoding::Utf8);
    utf8.Log(cmn::LogType::ScheduleInfo, "Сброс всего сигнала");
    utf8.Log(cmn::LogType::Separator, "");
    EXPECT_FALSE(utf8.Interactive());
    EXPECT_TRUE(utf8.Ask("Продолжить?", cmn::MessageKind::Confirmation, cmn::Buttons::YesNo));
    EXPECT_EQ(Captured(f), "Сброс всего сигнала\n\nПродолжить?\n");
    std::fclose(f);

    f = std::tmpfile();
    console::TConsoleLog dos(f, console::TOutputEncoding::Cp866);
    dos.Log(cmn::LogType::Error, "Файл не найден : x.usa");
    EXPECT_EQ(Captured(f), cmn::Utf8ToCp866("Файл не найден : x.usa") + "\n");
    std::fclose(f);
}

class StdinSignal : public ::testing::Test {
protected:
    std::string Folder() const { return folder.string() + "/"; }
    std::size_t FilesInFolder() const {
        return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
    }
    talvo_test::TempFolder temp{"talvo-stdin"};
    fs::path folder = temp.Path();
};

TEST_F(StdinSignal, LinesBecomeAWindowsFileThatLastsForTheRun) {
    std::istringstream in("[Параметры сигнала]\nЧастота=50\r\nlast line without end");
    std::string path;
    {
        auto file = console::TStdinSignalFile::Read(in, Folder());
        ASSERT_TRUE(file);
        path = file->Path();
        const std::string name = fs::path(path).filename().string();
        EXPECT_EQ(name.front(), '~');
        EXPECT_EQ(fs::path(path).extension(), ".usa");
        EXPECT_EQ(talvo_test::ReadBytes(path),
                  cmn::Utf8ToCp1251("[Параметры сигнала]\r\nЧастота=50\r\nlast line without end\r\n"));
    }
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(StdinSignal, Windows1251InputIsKeptAsItIs) {
    const std::string cp1251 = cmn::Utf8ToCp1251("Описание=Сигнал");
    std::istringstream in(cp1251 + "\r\n");
    auto file = console::TStdinSignalFile::Read(in, Folder());
    ASSERT_TRUE(file);
    EXPECT_EQ(talvo_test::ReadBytes(file->Path()), cp1251 + "\r\n");
}

TEST_F(StdinSignal, EmptyInputMakesNoFile) {
    std::istringstream in("");
    EXPECT_FALSE(console::TStdinSignalFile::Read(in, Folder()));
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(StdinSignal, NamesAlreadyTakenAreLeftAlone) {
    std::vector<console::TStdinSignalFile> files;
    for (int i = 0; i < 50; ++i) {
        std::istringstream in("x\n");
        files.push_back(*console::TStdinSignalFile::Read(in, Folder()));
    }
    EXPECT_EQ(FilesInFolder(), 50u);
    files.clear();
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(StdinSignal, UnwritableFolderIsAnError) {
    std::istringstream in("x\n");
    EXPECT_THROW(console::TStdinSignalFile::Read(in, Folder() + "missing/"), cmn::TalvoError);
}

}  // namespace
