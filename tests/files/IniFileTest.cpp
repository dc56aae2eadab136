#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <random>
#include <string>

#include "CommonUtils/CodePage.h"
#include "CommonUtils/TalvoError.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "files/IniFile.h"

namespace {

using files::IniFile;
using talvo_test::Fixture;
using talvo_test::ReadBytes;
using talvo_test::TempFolder;
using talvo_test::WriteBytes;

IniFile Profile() { return IniFile::FromBytes(Fixture("profile.ini")); }

TEST(IniRead, NamesCompareWithoutCaseAndTheFirstMatchWins) {
    const IniFile ini = Profile();
    EXPECT_EQ(ini.ReadString("подключение", "com-ПОРТ", "-"), "COM3");
    EXPECT_EQ(ini.ReadString("ПОДКЛЮЧЕНИЕ", "COM-порт-преобразователя", "-"), "COM4");
    EXPECT_EQ(ini.ReadInteger("общие", "МОДИФИКАЦИЯ КАЛИБРАТОРА", 7), 1);
    EXPECT_TRUE(ini.SectionExists("Последняя"));
    EXPECT_FALSE(ini.SectionExists("Нет такой"));
    EXPECT_EQ(ini.ReadString("Последняя", "КЛЮЧ", "-"), "значение");
}

TEST(IniRead, CaseFoldingCoversTheWholeCyrillicAlphabet) {
    const IniFile ini = IniFile::FromBytes(cmn::Utf8ToCp1251("[АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ]\r\nK=1\r\n"));
    EXPECT_EQ(ini.ReadInteger("абвгдеёжзийклмнопрстуфхцчшщъыьэюя", "k", 0), 1);
}

TEST(IniRead, ValuesAreTrimmedAndUnquotedAsWindowsDoes) {
    const IniFile ini = Profile();
    EXPECT_EQ(ini.ReadString("Числа", "Строка", "-"), "  в кавычках  ");
    EXPECT_EQ(ini.ReadString("Числа", "Одинарные", "-"), "x");
    EXPECT_EQ(ini.ReadString("Числа", "Пустое", "-"), "");
    EXPECT_EQ(ini.ReadString("Числа", "Нет", "по умолчанию"), "по умолчанию");
    const IniFile odd = IniFile::FromBytes("[s]\na=\"x'\nb=\"\nc= \" y \" \n");
    EXPECT_EQ(odd.ReadString("s", "a", "-"), "\"x'");
    EXPECT_EQ(odd.ReadString("s", "b", "-"), "\"");
    EXPECT_EQ(odd.ReadString("s", "c", "-"), " y ");
}

TEST(IniRead, NumbersAndTheirDefaults) {
    const IniFile ini = Profile();
    EXPECT_EQ(ini.ReadInteger("Числа", "Целое", 0), 42);
    EXPECT_EQ(ini.ReadInteger("Числа", "Шестнадцатеричное", 0), 31);
    EXPECT_EQ(ini.ReadFloat("Числа", "Вещественное", 0), 2.5e-7);
    EXPECT_EQ(ini.ReadFloat("Числа", "Целое", 0), 42.0);
    EXPECT_EQ(ini.ReadInteger("Числа", "Не число", -3), -3);
    EXPECT_EQ(ini.ReadFloat("Числа", "Не число", 1.5), 1.5);
    EXPECT_EQ(ini.ReadInteger("Числа", "Пустое", 9), 9);
    EXPECT_EQ(ini.ReadFloat("Числа", "Пустое", 9), 9.0);
    EXPECT_EQ(ini.ReadInteger("Числа", "Вещественное", 5), 5);
    EXPECT_TRUE(ini.ReadBool("Числа", "Целое", false));
    EXPECT_TRUE(ini.ReadBool("Числа", "Не число", true));
    const IniFile more = IniFile::FromBytes("[n]\nbig=1e400\ncomma=2,5\nplus=+3.25\nneg=-0x10\nword=inf\n");
    EXPECT_EQ(more.ReadFloat("n", "big", 4), 4.0);
    EXPECT_EQ(more.ReadFloat("n", "comma", 4), 4.0);
    EXPECT_EQ(more.ReadFloat("n", "plus", 4), 3.25);
    EXPECT_EQ(more.ReadInteger("n", "neg", 0), -16);
    EXPECT_EQ(more.ReadFloat("n", "word", 4), 4.0);
}

TEST(IniRead, CommentsLooseLinesAndLinesBeforeAnySectionAreNotKeys) {
    const IniFile ini =
        IniFile::FromBytes("top=1\n[s]\n;k=2\nno equals sign\n[broken=3\n  =4\nk = 5\n[t\nx=7\n[s]\nlater=6\n");
    EXPECT_FALSE(ini.ValueExists("s", ";k"));
    EXPECT_FALSE(ini.ValueExists("s", "no equals sign"));
    EXPECT_EQ(ini.ReadInteger("s", "[broken", 0), 3);
    EXPECT_EQ(ini.ReadInteger("s", "k", 0), 5);
    // "[t" lacks its bracket and opens no section.
    EXPECT_EQ(ini.ReadInteger("s", "x", 0), 7);
    // Only the first of two sections with one name is looked at.
    EXPECT_FALSE(ini.ValueExists("s", "later"));
    EXPECT_FALSE(ini.SectionExists("t"));
}

TEST(IniRead, AnyLineEndingSeparatesLines) {
    const IniFile ini = IniFile::FromBytes("[s]\ra=1\r\nb=2\n\rc=3");
    EXPECT_EQ(ini.ReadInteger("s", "a", 0), 1);
    EXPECT_EQ(ini.ReadInteger("s", "b", 0), 2);
    EXPECT_EQ(ini.ReadInteger("s", "c", 0), 3);
}

TEST(IniWrite, UpdatesInPlaceKeepingEveryOtherByte) {
    IniFile ini = Profile();
    ini.WriteString("ПОДКЛЮЧЕНИЕ", "com-порт", "COM5");
    ini.WriteString("Подключение", "Скорость", "115200");
    ini.WriteInteger("Общие", "Новый", -5);
    ini.WriteFloat("числа", "вещественное", 0.1);
    ini.WriteString("Числа", "Строка", " a ");
    ini.WriteString("Числа", "Целое", "42");
    ini.WriteString("Последняя", "второй", "2");
    ini.WriteBool("Новая", "Флаг", true);
    EXPECT_EQ(ini.Content(), Fixture("profile-updated.ini"));
}

TEST(IniWrite, ReadsSeeTheirOwnWrites) {
    IniFile ini = Profile();
    ini.WriteString("подключение", "COM-порт", "COM5");
    ini.WriteFloat("Новая", "x", 1e-7);
    EXPECT_EQ(ini.ReadString("Подключение", "com-порт", "-"), "COM5");
    EXPECT_EQ(ini.ReadFloat("НОВАЯ", "X", 0), 1e-7);
    EXPECT_TRUE(ini.ValueExists("новая", "x"));
}

TEST(IniWrite, NewFileIsCompactWithWindowsLineEndings) {
    IniFile ini = IniFile::FromBytes("");
    ini.WriteString("Уникальный идентификатор", "Тип файла", "Все параметры");
    ini.WriteFloat("Напряжение", "Наминал", 57.735);
    ini.WriteFloat("Напряжение", "Малое", 1.5e-20);
    ini.WriteBool("Напряжение", "Вкл. Ua", false);
    ini.WriteString("Уникальный идентификатор", "Второй", "");
    EXPECT_EQ(ini.Content(), cmn::Utf8ToCp1251("[Уникальный идентификатор]\r\nТип файла=Все параметры\r\nВторой=\r\n"
                                               "[Напряжение]\r\nНаминал=57.735\r\nМалое=1.5E-20\r\nВкл. Ua=0\r\n"));
}

TEST(IniWrite, NewLinesFollowTheFilesLineEnding) {
    IniFile ini = IniFile::FromBytes("[s]\na=1\n\n[t]\nb=2");
    ini.WriteInteger("s", "c", 3);
    ini.WriteInteger("t", "d", 4);
    ini.WriteInteger("u", "e", 5);
    EXPECT_EQ(ini.Content(), "[s]\na=1\nc=3\n\n[t]\nb=2\nd=4\n[u]\ne=5\n");
}

TEST(IniWrite, KeyIntoSectionWithoutKeysGoesRightAfterItsHeader) {
    IniFile ini = IniFile::FromBytes("[s]\r\n; comment\r\n\r\n[t]\r\n");
    ini.WriteInteger("s", "a", 1);
    ini.WriteInteger("t", "b", 2);
    EXPECT_EQ(ini.Content(), "[s]\r\na=1\r\n; comment\r\n\r\n[t]\r\nb=2\r\n");
}

TEST(IniWrite, ValuesThatWindowsWouldAlterAreQuoted) {
    IniFile ini = IniFile::FromBytes("");
    const std::string values[] = {" lead", "trail\t", "\"both\"", "'single'", "\"left", "mid\"dle", "\"", ""};
    for (const std::string& v : values) ini.WriteString("s", "k" + std::to_string(&v - values), v);
    const IniFile back = IniFile::FromBytes(ini.Content());
    for (const std::string& v : values) EXPECT_EQ(back.ReadString("s", "k" + std::to_string(&v - values), "-"), v);
    EXPECT_NE(ini.Content().find("k0=\" lead\"\r\n"), std::string::npos);
    EXPECT_NE(ini.Content().find("k4=\"left\r\n"), std::string::npos);
}

TEST(IniWrite, NamesAndValuesThatWouldBreakTheLayoutAreRefused) {
    IniFile ini = IniFile::FromBytes("");
    EXPECT_THROW(ini.WriteString("a]b", "k", "v"), cmn::TalvoError);
    EXPECT_THROW(ini.WriteString(" ", "k", "v"), cmn::TalvoError);
    EXPECT_THROW(ini.WriteString("s", "a=b", "v"), cmn::TalvoError);
    EXPECT_THROW(ini.WriteString("s", ";k", "v"), cmn::TalvoError);
    EXPECT_THROW(ini.WriteString("s", "[k", "v"), cmn::TalvoError);
    EXPECT_THROW(ini.WriteString("s", "k\nl", "v"), cmn::TalvoError);
    EXPECT_THROW(ini.WriteString("s", "k", "line\r\nbreak"), cmn::TalvoError);
    EXPECT_EQ(ini.Content(), "");
}

TEST(IniWrite, TextIsWindows1251OnDisk) {
    TempFolder dir;
    IniFile ini(dir / "t.ini");
    ini.WriteString("Ток", "Описание", "Ёлка € 中");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(dir / "t.ini"),
              "[\xD2\xEE\xEA]\r\n\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5=\xA8\xEB\xEA\xE0 \x88 ?\r\n");
    EXPECT_EQ(IniFile(dir / "t.ini").ReadString("ток", "описание", "-"), "Ёлка € ?");
}

TEST(IniWrite, FileIsWrittenOnlyWhenSomethingChanged) {
    TempFolder dir;
    WriteBytes(dir / "t.ini", "[s]\r\na = 1\r\n");
    IniFile ini(dir / "t.ini");
    ini.WriteString("s", "a", "1");
    ini.UpdateFile();
    std::filesystem::remove(dir / "t.ini");
    ini.UpdateFile();
    EXPECT_FALSE(std::filesystem::exists(dir / "t.ini"));
    ini.WriteInteger("s", "a", 2);
    ini.UpdateFile();
    ini.WriteInteger("s", "b", 3);
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(dir / "t.ini"), "[s]\r\na =2\r\nb=3\r\n");
    IniFile unnamed = IniFile::FromBytes("");
    unnamed.WriteInteger("s", "a", 1);
    EXPECT_THROW(unnamed.UpdateFile(), cmn::TalvoError);
}

TEST(IniWrite, ARealIsWrittenWithAPointUnderACommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) GTEST_SKIP() << "locale ru_RU.UTF-8 is not installed";
    const std::string point = std::localeconv()->decimal_point;
    IniFile ini = IniFile::FromBytes("[s]\r\ncomma=2,5\r\n");
    ini.WriteFloat("s", "x", 1234.5678);
    ini.WriteFloat("s", "y", -0.000125);
    const std::string content = ini.Content();
    const double comma = ini.ReadFloat("s", "comma", 7);
    const double x = ini.ReadFloat("s", "x", 0);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_EQ(point, ",");
    EXPECT_EQ(content, "[s]\r\ncomma=2,5\r\nx=1234.5678\r\ny=-0.000125\r\n");
    EXPECT_EQ(comma, 7.0);
    EXPECT_EQ(x, 1234.5678);
}

TEST(IniBadInput, MissingUnreadableAndNonIniFilesReadAsEmpty) {
    TempFolder dir;
    EXPECT_FALSE(IniFile(dir / "missing.ini").SectionExists("s"));
    EXPECT_EQ(IniFile(dir.Path().string()).ReadInteger("s", "k", 4), 4);
    WriteBytes(dir / "text.txt", "Это не INI-файл.\nВ нём нет ни разделов, ни ключей = только текст.\n");
    EXPECT_EQ(IniFile(dir / "text.txt").ReadString("Уникальный идентификатор", "Тип файла", ""), "");
}

TEST(IniBadInput, BinaryGarbageNeitherCrashesNorHidesWrites) {
    std::mt19937 random(20240611);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    garbage += "\n[s]\nk=v\n";
    IniFile ini = IniFile::FromBytes(garbage);
    EXPECT_EQ(ini.ReadString("s", "k", "-"), "v");
    ini.WriteInteger("s", "k", 1);
    ini.WriteInteger("Новый", "k", 2);
    const IniFile back = IniFile::FromBytes(ini.Content());
    EXPECT_EQ(back.ReadInteger("s", "k", 0), 1);
    EXPECT_EQ(back.ReadInteger("новый", "k", 0), 2);
    EXPECT_EQ(ini.Content().substr(0, 1 << 20), garbage.substr(0, 1 << 20));
}

TEST(IniBadInput, AFiftyMegabyteFileLoadsAndAnOversizedOneIsRefused) {
    TempFolder dir;
    std::string big;
    big.reserve(50u << 20);
    const std::string section = cmn::Utf8ToCp1251("[раздел "), key = cmn::Utf8ToCp1251("]\nключ=");
    for (int i = 0; big.size() < (50u << 20); ++i)
        big.append(section).append(std::to_string(i % 1000)).append(key).append(std::to_string(i)).append("\n\n");
    WriteBytes(dir / "big.ini", big);
    IniFile ini(dir / "big.ini");
    EXPECT_EQ(ini.ReadInteger("РАЗДЕЛ 999", "КЛЮЧ", -1), 999);
    EXPECT_EQ(ini.ReadInteger("раздел 1000", "ключ", -1), -1);

    std::filesystem::resize_file(dir / "big.ini", files::kMaxIniFileSize + 1);
    EXPECT_THROW(IniFile(dir / "big.ini"), cmn::TalvoError);
}

}  // namespace
