#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "CommonUtils/CodePage.h"
#include "CommonUtils/TalvoError.h"
#include "FileBytes.h"
#include "ScheduleRows.h"
#include "TempFolder.h"
#include "files/IniFile.h"
#include "schedule/ListFile.h"

namespace {

using namespace sched;
using namespace sched_test;
using talvo_test::Fixture;
using talvo_test::ReadBytes;
using talvo_test::TempFolder;
using talvo_test::WriteBytes;
namespace fs = std::filesystem;

void ExpectError(const std::function<void()>& action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no error, expected " << message;
    } catch (const cmn::TalvoError& e) {
        EXPECT_EQ(e.what(), message);
    }
}

const std::string kLoadError = "Ошибка загрузки списка сигналов!";
const std::string kSaveError = "Ошибка сохранения списка сигналов!";

// A list of one signal row (state 3) and one command row, its signal file in `dir`.
TSignalList SignalAndCommand(const TempFolder& dir, const std::string& signalBytes) {
    WriteBytes(dir / "Синус.usa", signalBytes);
    TSignalList list{"Поверка",
                     {Timed(dir / "Синус.usa", 0, At(12, 0, 0), At(12, 0, 10)),
                      Row(kCommandText, 1, 7, TRowState::NotSelected, TCommandType::StopSin)}};
    list.Rows[0].Duration = 10;
    list.Rows[0].State = TRowState::Sent;
    list.Rows[1].Description = kCommandText;
    list.Rows[1].Start = At(0, 0, 0);
    list.Rows[1].End = At(13, 30, 0);
    return list;
}

TEST(ListFile, WritesCountSectionsAndTheSignalFileAsUpperCaseHex) {
    TempFolder dir;
    const TSignalList list = SignalAndCommand(dir, std::string("\x01\xAB\x00\xFF[A]", 7));
    WriteSignalList(dir / "tests.sfl", list);

    const std::string raw = ReadBytes(dir / "tests.sfl");
    EXPECT_NE(raw.find(cmn::Utf8ToCp1251("[Для всех сигналов]\r\nKоличество=2\r\n")), std::string::npos);
    EXPECT_EQ(raw.find(cmn::Utf8ToCp1251("Количество")), std::string::npos);  // never the Cyrillic К
    const files::IniFile ini(dir / "tests.sfl");
    EXPECT_EQ(ini.ReadString("Сигнал 0", "Файл", ""), "01AB00FF5B415D");
    EXPECT_FALSE(ini.ValueExists("Сигнал 1", "Файл"));
    EXPECT_EQ(ini.ReadInteger("Сигнал 0", "Статус", -1), 1);  // a sent row comes back selected
    EXPECT_EQ(ini.ReadInteger("Сигнал 1", "Статус", -1), 0);
    EXPECT_EQ(ini.ReadString("Сигнал 0", "Время начала", ""), "09.12.2026 12:00:00");
    EXPECT_EQ(ini.ReadString("Сигнал 1", "Время начала", ""), "09.12.2026");
    EXPECT_EQ(ini.ReadString("Сигнал 1", "Путь к файлу", ""), "Команда");
    EXPECT_EQ(ini.ReadInteger("Сигнал 1", "Тип", -1), 3);
    EXPECT_EQ(ini.ReadString("Для всех сигналов", "Описание", ""), "Поверка");
}

TEST(ListFile, ReadingPutsTheSignalFilesIntoTheFolderOfTheList) {
    TempFolder dir;
    const std::string signal = cmn::Utf8ToCp1251("[Описание сигнала]\r\nОписание=Синус\r\n");
    const TSignalList written = SignalAndCommand(dir, signal);
    fs::create_directory(dir / "lists");
    WriteSignalList(dir / "lists/tests.sfl", written);

    TSignalList read{"старое", {Row("/old.usa", 0, 1)}};
    ReadSignalList(dir / "lists/tests.sfl", read);
    ASSERT_EQ(read.Rows.size(), 2u);
    EXPECT_EQ(read.Description, "Поверка");
    const TSignalDataForGrid& r0 = read.Rows[0];
    EXPECT_EQ(r0.Path, dir / "lists/tests/Синус.usa");
    EXPECT_EQ(ReadBytes(r0.Path), signal);
    EXPECT_EQ(r0.State, TRowState::Selected);
    EXPECT_EQ(r0.Duration, 10);
    EXPECT_TRUE(SameDateTime(r0.Start, written.Rows[0].Start));
    EXPECT_TRUE(SameDateTime(r0.End, written.Rows[0].End));
    EXPECT_EQ(r0.Description, written.Rows[0].Description);
    const TSignalDataForGrid& r1 = read.Rows[1];
    EXPECT_EQ(r1.Path, kCommandText);
    EXPECT_EQ(r1.Type, TCommandType::StopSin);
    EXPECT_EQ(r1.State, TRowState::NotSelected);
    EXPECT_EQ(r1.Duration, 7);
    EXPECT_EQ(r1.Index, 1);
    EXPECT_TRUE(SameDateTime(r1.Start, At(0, 0, 0)));

    // A file already in the folder is the operator's: a second load keeps it.
    WriteBytes(r0.Path, "edited");
    ReadSignalList(dir / "lists/tests.sfl", read);
    EXPECT_EQ(ReadBytes(read.Rows[0].Path), "edited");
    EXPECT_EQ(read.Rows.size(), 2u);
}

TEST(ListFile, HandWrittenFileReadsWithItsDefaults) {
    TempFolder dir;
    WriteBytes(dir / "hand.sfl", Fixture("hand.sfl"));
    TSignalList list;
    ReadSignalList(dir / "hand.sfl", list);
    EXPECT_EQ(list.Description, "Проверка счётчика");
    ASSERT_EQ(list.Rows.size(), 3u);

    EXPECT_EQ(list.Rows[0].Path, dir / "hand/Синус 220.usa");  // the Windows folder is dropped
    EXPECT_EQ(ReadBytes(list.Rows[0].Path), Fixture("hand-signal0.usa"));
    EXPECT_EQ(list.Rows[0].Description, "Синус 220 В");
    EXPECT_EQ(DateTimeToText(list.Rows[0].End), "09.12.2026 12:00:10");

    EXPECT_EQ(list.Rows[1].Path, kCommandText);
    EXPECT_EQ(DateTimeToText(list.Rows[1].Start), "09.12.2026");
    EXPECT_EQ(DateTimeToText(list.Rows[1].End), "09.12.2026 12:00:15");  // ISO 8601 reads too

    const TSignalDataForGrid& r2 = list.Rows[2];
    EXPECT_EQ(r2.Type, TCommandType::ColOver);
    EXPECT_EQ(r2.State, TRowState::Selected);
    EXPECT_EQ(r2.Duration, 0);
    EXPECT_EQ(r2.Start, 0);  // a text that does not parse
    EXPECT_EQ(r2.End, 0);
    EXPECT_EQ(r2.Index, 2);
    EXPECT_EQ(r2.Description, "");
    std::string all(256, '\0');
    for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
    EXPECT_EQ(ReadBytes(r2.Path), all);
}

TEST(ListFile, WritingUpdatesInPlaceAndRunMarkersLeaveTheStoredStatus) {
    TempFolder dir;
    TSignalList list = SignalAndCommand(dir, "x");
    list.Rows.push_back(Row(kCommandText, 2, 1, TRowState::Selected, TCommandType::StopColOver));
    WriteSignalList(dir / "l.sfl", list);
    WriteBytes(dir / "l.sfl", ReadBytes(dir / "l.sfl") + cmn::Utf8ToCp1251("[Свой раздел]\r\nключ=значение\r\n"));

    list.Rows.pop_back();
    list.Rows[0].State = TRowState::NotSelectedRunning;
    list.Rows[1].State = TRowState::SelectedRunning;
    WriteSignalList(dir / "l.sfl", list);
    const files::IniFile ini(dir / "l.sfl");
    EXPECT_EQ(ini.ReadInteger("Для всех сигналов", "Kоличество", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Сигнал 0", "Статус", -1), 1);
    EXPECT_EQ(ini.ReadInteger("Сигнал 1", "Статус", -1), 0);
    EXPECT_TRUE(ini.SectionExists("Сигнал 2"));  // beyond the count: kept, never read
    EXPECT_EQ(ini.ReadString("Свой раздел", "ключ", ""), "значение");
}

TEST(ListFile, SignalFileGoneOnSaveLeavesTheOldList) {
    TempFolder dir;
    TSignalList list = SignalAndCommand(dir, "x");
    WriteSignalList(dir / "l.sfl", list);
    const std::string before = ReadBytes(dir / "l.sfl");
    list.Description = "новое";
    fs::remove(dir / "Синус.usa");
    ExpectError([&] { WriteSignalList(dir / "l.sfl", list); }, kSaveError);
    EXPECT_EQ(ReadBytes(dir / "l.sfl"), before);
    ExpectError([&] { WriteSignalList(dir / "нет/l.sfl", {"", {}}); }, kSaveError);
}

// A list file of the given rows, each a map of keys, with a count.
std::string ListText(const std::string& count, const std::vector<std::string>& rows) {
    std::string text = "[Для всех сигналов]\r\nKоличество=" + count + "\r\n";
    for (std::size_t n = 0; n < rows.size(); ++n) text += "[Сигнал " + std::to_string(n) + "]\r\n" + rows[n];
    return cmn::Utf8ToCp1251(text);
}

std::string SignalKeys(const std::string& path, const std::string& hex = "4142") {
    return "Тип=0\r\nСтатус=1\r\nПуть к файлу=" + path + "\r\nФайл=" + hex + "\r\n";
}

// Every entry of the folder and below, as paths relative to it.
std::vector<std::string> Tree(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(root)) names.push_back(fs::relative(e.path(), root).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ListFile, StoredPathsOnlyNameAFileInsideTheListFolder) {
    TempFolder dir;
    fs::create_directory(dir / "in");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\Сигналы\\a.usa", "a.usa"}, {"../b.usa", "b.usa"},      {"a/../../c.usa", "c.usa"},
        {"/tmp/d.usa", "d.usa"},         {"..\\..\\e.usa", "e.usa"}, {"f.usa", "f.usa"}};
    for (const auto& [stored, name] : cases) {
        WriteBytes(dir / "in/l.sfl", ListText("1", {SignalKeys(stored)}));
        TSignalList list;
        ReadSignalList(dir / "in/l.sfl", list);
        ASSERT_EQ(list.Rows.size(), 1u) << stored;
        EXPECT_EQ(list.Rows[0].Path, dir / ("in/l/" + name)) << stored;
        EXPECT_EQ(ReadBytes(list.Rows[0].Path), "AB");
    }
    const std::vector<std::string> refused = {
        "", ".", "..", "x/..", "C:\\..", "dir/", std::string("a\0b.usa", 7), "a\tb.usa"};
    for (const std::string& stored : refused) {
        WriteBytes(dir / "in/l.sfl", ListText("2", {SignalKeys("ok.usa"), SignalKeys(stored)}));
        TSignalList list;
        ExpectError([&] { ReadSignalList(dir / "in/l.sfl", list); }, kLoadError);
        EXPECT_EQ(list.Rows.size(), 1u) << stored;  // the rows before stay
    }
    EXPECT_EQ(Tree(dir.Path()),
              (std::vector<std::string>{"in", "in/l", "in/l.sfl", "in/l/a.usa", "in/l/b.usa", "in/l/c.usa",
                                        "in/l/d.usa", "in/l/e.usa", "in/l/f.usa", "in/l/ok.usa"}));
}

// The files go into place together at the end of the read: two rows naming
// one file still place the first row's, as one by one they did.
TEST(ListFile, OfTwoRowsNamingOneFileTheFirstIsPlaced) {
    TempFolder dir;
    WriteBytes(dir / "l.sfl", ListText("3", {SignalKeys("same.usa", "4142"), SignalKeys("C:\\x\\same.usa", "4344"),
                                             SignalKeys("other.usa", "4546")}));
    TSignalList list;
    ReadSignalList(dir / "l.sfl", list);
    ASSERT_EQ(list.Rows.size(), 3u);
    EXPECT_EQ(list.Rows[1].Path, dir / "l/same.usa");
    EXPECT_EQ(ReadBytes(dir / "l/same.usa"), "AB");
    EXPECT_EQ(ReadBytes(dir / "l/other.usa"), "EF");
    EXPECT_EQ(Tree(dir.Path()), (std::vector<std::string>{"l", "l.sfl", "l/other.usa", "l/same.usa"}));
}

TEST(ListFile, BadValuesAreRefused) {
    TempFolder dir;
    TSignalList list;
    for (const std::string hex : {"414", "4G", "", "41 42"}) {
        WriteBytes(dir / "l.sfl", ListText("1", {SignalKeys("x.usa", hex)}));
        ExpectError([&] { ReadSignalList(dir / "l.sfl", list); }, kLoadError);
        EXPECT_FALSE(fs::exists(dir / "l/x.usa")) << hex;
    }
    WriteBytes(dir / "l.sfl", ListText("1", {"Тип=5\r\n"}));
    ExpectError([&] { ReadSignalList(dir / "l.sfl", list); }, kLoadError);
    WriteBytes(dir / "l.sfl", ListText("-3", {SignalKeys("x.usa")}));
    ReadSignalList(dir / "l.sfl", list);
    EXPECT_TRUE(list.Rows.empty());
    // A count far beyond the sections ends at the first missing one.
    WriteBytes(dir / "l.sfl", ListText("2147483647", {"Тип=4\r\n"}));
    ExpectError([&] { ReadSignalList(dir / "l.sfl", list); }, kLoadError);
    ASSERT_EQ(list.Rows.size(), 1u);
    EXPECT_EQ(list.Rows[0].Type, TCommandType::StopColOver);
    ExpectError([&] { ReadSignalList(dir / "missing.sfl", list); }, kLoadError);
    EXPECT_TRUE(list.Rows.empty());
    ExpectError([&] { ReadSignalList(dir.Path().string(), list); }, kLoadError);
}

}  // namespace
