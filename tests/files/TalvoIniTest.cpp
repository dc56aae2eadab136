#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CommonUtils/CodePage.h"
#include "CommonUtils/TalvoError.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "files/DataFolders.h"
#include "files/TalvoIni.h"

namespace {

namespace fs = std::filesystem;
using files::TTalvoIni;
using talvo_test::ReadBytes;
using talvo_test::TempFolder;
using talvo_test::WriteBytes;

// Points the known folders into a temporary tree for one test.
class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("HOME", (dir.Path() / "home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir.Path() / "config").c_str(), 1);
    }
    std::string SettingsFile() const {
        return (dir.Path() / "config/Ostra/Калибратор Talvo/KalibratorTalvo.ini").string();
    }
    void Store(const std::string& utf8) {
        fs::create_directories(fs::path(SettingsFile()).parent_path());
        WriteBytes(SettingsFile(), cmn::Utf8ToCp1251(utf8));
    }
    std::string Stored() const { return cmn::Cp1251ToUtf8(ReadBytes(SettingsFile())); }

    TempFolder dir;
};

TEST_F(Settings, FirstStartCreatesTheFolderAndRecordsTheSplash) {
    TTalvoIni ini;
    EXPECT_TRUE(fs::is_directory(dir.Path() / "config/Ostra/Калибратор Talvo"));
    EXPECT_FALSE(ini.ModificationPresent());
    EXPECT_EQ(ini.ReadModification(), 1);  // the second modification, dmTalvoM
    EXPECT_EQ(ini.ReadComPort(), "");
    EXPECT_EQ(ini.ReadCorrection(), sig::TCorrectionRecord{});
    EXPECT_TRUE(ini.ReadShowSplash());
    EXPECT_FALSE(ini.ReadConverterMode());
    EXPECT_FALSE(ini.ReadConverterEnabled());
    ini.Save();
    EXPECT_EQ(Stored(), "[Форма загрузки]\r\nОтображать=1\r\n");
}

TEST_F(Settings, SplashSettingReadIsWrittenBack) {
    Store("[форма загрузки]\r\nотображать = 0\r\n");
    TTalvoIni ini;
    EXPECT_FALSE(ini.ReadShowSplash());
    ini.Save();
    EXPECT_EQ(Stored(), "[форма загрузки]\r\nотображать = 0\r\n");
}

TEST_F(Settings, ModificationOutsideItsRangeReadsAsTheDefault) {
    const std::pair<std::string, int> cases[] = {{"0", 0}, {"1", 1},  {"0x0", 0},   {"5", 1},
                                                 {"2", 1}, {"-1", 1}, {"первая", 1}};
    for (const auto& [text, expected] : cases) {
        Store("[Общие]\r\nМодификация калибратора=" + text + "\r\n");
        const TTalvoIni ini;
        EXPECT_TRUE(ini.ModificationPresent()) << text;
        EXPECT_EQ(ini.ReadModification(), expected) << text;
    }
}

TEST_F(Settings, ModificationIsWrittenMaskedToSevenBits) {
    TTalvoIni ini;
    ini.WriteModification(0);
    EXPECT_TRUE(ini.ModificationPresent());
    EXPECT_EQ(ini.ReadModification(), 0);
    ini.WriteModification(129);
    ini.Save();
    EXPECT_EQ(Stored(), "[Общие]\r\nМодификация калибратора=1\r\n");
}

TEST_F(Settings, CorrectionRecordUsesTheKeysInRecordOrder) {
    sig::TCorrectionRecord correction;
    for (std::size_t i = 0; i < correction.size(); ++i) correction[i] = (static_cast<long double>(i) - 6) / 10;
    {
        TTalvoIni ini;
        ini.WriteCorrection(correction);
        ini.Save();
    }
    EXPECT_EQ(Stored(),
              "[Коррекция сигнала]\r\n"
              "Напряжение 220 Вольт, фаза A=-0.6\r\nНапряжение 220 Вольт, фаза B=-0.5\r\nНапряжение 220 Вольт, фаза "
              "C=-0.4\r\n"
              "Напряжение 57.7 Вольт, фаза A=-0.3\r\nНапряжение 57.7 Вольт, фаза B=-0.2\r\nНапряжение 57.7 Вольт, фаза "
              "C=-0.1\r\n"
              "Ток 1 Ампер, фаза A=0\r\nТок 1 Ампер, фаза B=0.1\r\nТок 1 Ампер, фаза C=0.2\r\n"
              "Ток 5 Ампер, фаза A=0.3\r\nТок 5 Ампер, фаза B=0.4\r\nТок 5 Ампер, фаза C=0.5\r\n"
              "Частота=0.6\r\n");
    const sig::TCorrectionRecord back = TTalvoIni().ReadCorrection();
    for (std::size_t i = 0; i < correction.size(); ++i)
        EXPECT_EQ(back[i], static_cast<long double>(static_cast<double>(correction[i]))) << i;
}

TEST_F(Settings, CorrectionKeyThatDoesNotParseReadsAsZero) {
    Store("[Коррекция сигнала]\r\nЧастота=0,5\r\nТок 5 Ампер, фаза C=1.25\r\n");
    const sig::TCorrectionRecord correction = TTalvoIni().ReadCorrection();
    EXPECT_EQ(correction[12], 0.0L);
    EXPECT_EQ(correction[11], 1.25L);
}

TEST_F(Settings, RecentFilesWithBlanksQuotesAndTabsSurvive) {
    const std::vector<std::string> files = {"/home/u/Мои сигналы/сеть 220.usa", "/plain.usa", "/say \"hi\".usa",
                                            "/tab\there.usu", ""};
    {
        TTalvoIni ini;
        ini.SetRecentFileList(&files);
        ini.Save();
    }
    EXPECT_EQ(Stored(),
              "[Файлы]\r\nСписок=\"\"/home/u/Мои сигналы/сеть 220.usa\"\t/plain.usa\t\"/say \"\"hi\"\".usa\"\t"
              "\"/tab\there.usu\"\t\"\"\"\r\n");
    std::vector<std::string> back = {"stale"};
    TTalvoIni().GetRecentFileList(&back);
    EXPECT_EQ(back, files);
}

TEST_F(Settings, RecentFilesWrittenByHandAreSplitAtTabs) {
    Store("[Файлы]\r\nСписок=/a b.usa\t\"/c\"\"d.usa\"\t/e.usa\r\n");
    std::vector<std::string> back;
    TTalvoIni().GetRecentFileList(&back);
    EXPECT_EQ(back, (std::vector<std::string>{"/a b.usa", "/c\"d.usa", "/e.usa"}));
    Store("");
    TTalvoIni().GetRecentFileList(&back);
    EXPECT_TRUE(back.empty());
}

TEST_F(Settings, RecentFileWithALineBreakIsLeftOut) {
    const std::vector<std::string> files = {"/a.usa", "/bad\nname.usa", "/b.usa"};
    TTalvoIni ini;
    ini.SetRecentFileList(&files);
    std::vector<std::string> back;
    ini.GetRecentFileList(&back);
    EXPECT_EQ(back, (std::vector<std::string>{"/a.usa", "/b.usa"}));
}

TEST_F(Settings, MissingListIsAnError) {
    TTalvoIni ini;
    try {
        ini.GetRecentFileList(nullptr);
        FAIL();
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "GetRecentFileList: входной параметр FileList не проинициализирован.");
    }
    try {
        ini.SetRecentFileList(nullptr);
        FAIL();
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "SetRecentFileList: входной параметр FileList не проинициализирован.");
    }
}

TEST_F(Settings, PortsAndConverterSettingsKeepTheRestOfTheFile) {
    Store(
        "; set up by the service\r\n[Форма преобразователя тока в напряжение]\r\nEnable=1\r\n\r\n"
        "[Подключение]\r\nCOM-порт=COM2\r\n");
    {
        TTalvoIni ini;
        EXPECT_TRUE(ini.ReadConverterEnabled());
        EXPECT_EQ(ini.ReadComPort(), "COM2");
        ini.WriteComPort("/dev/ttyUSB0");
        ini.WriteConverterComPort("COM7");
        ini.WriteConverterMode(true);
        ini.Save();
    }
    EXPECT_EQ(Stored(),
              "; set up by the service\r\n[Форма преобразователя тока в напряжение]\r\nEnable=1\r\n"
              "Отображать=1\r\n\r\n[Подключение]\r\nCOM-порт=/dev/ttyUSB0\r\nCOM-порт-преобразователя=COM7\r\n");
    const TTalvoIni ini;
    EXPECT_TRUE(ini.ReadConverterMode());
    EXPECT_EQ(ini.ReadConverterComPort(), "COM7");
}

TEST_F(Settings, UnwritableSettingsFolderFailsOnSave) {
    WriteBytes(dir / "config", "a file where the folder should be");
    TTalvoIni ini;
    EXPECT_EQ(ini.ReadComPort(), "");
    ini.WriteComPort("COM3");
    EXPECT_THROW(ini.Save(), cmn::TalvoError);
    EXPECT_EQ(ReadBytes(dir / "config"), "a file where the folder should be");
}

TEST_F(Settings, DataFoldersAndTheSignalOpenFolder) {
    const std::string data = (dir.Path() / "home/Documents/Ostra/Калибратор Talvo").string();
    EXPECT_EQ(files::SettingsFileName(), SettingsFile());
    EXPECT_EQ(files::SignalFolder(), data + "/Сигналы/");
    EXPECT_EQ(files::ExportFolder(), data + "/Экспорт/");
    const std::string program = fs::canonical("/proc/self/exe").parent_path().string();
    EXPECT_EQ(files::TemplateFolder(), program + "/Templates/");
    EXPECT_EQ(files::TestSignalsFolder(), program + "/Test Signals/");
    EXPECT_EQ(files::SignalOpenFolder(), files::TestSignalsFolder());
    files::CreateFolder(files::SignalFolder());
    files::CreateFolder(files::SignalFolder());
    EXPECT_EQ(files::SignalOpenFolder(), files::SignalFolder());
    EXPECT_FALSE(fs::exists(files::ExportFolder()));
}

TEST_F(Settings, FolderThatCannotBeCreatedIsAnError) {
    WriteBytes(dir / "home", "not a folder");
    try {
        files::CreateFolder(files::ExportFolder());
        FAIL();
    } catch (const cmn::TalvoError& e) {
        EXPECT_EQ(std::string(e.what()), "Не удалось создать папку " + files::ExportFolder());
    }
}

}  // namespace
