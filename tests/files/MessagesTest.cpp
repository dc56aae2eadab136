// The texts the settings and signal files show the user, each raised once
// and compared with the text written out here.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "Refusal.h"
#include "TempFolder.h"
#include "files/AtomicFile.h"
#include "files/DataFolders.h"
#include "files/IniFile.h"
#include "files/SignalFile.h"
#include "files/TalvoIni.h"

namespace {

namespace fs = std::filesystem;
using files::IniFile;
using talvo_test::Refusal;
using talvo_test::TempFolder;

TEST(FileMessages, Refusals) {
    const TempFolder dir;
    const std::string plain = dir / "plain.txt";
    talvo_test::WriteBytes(plain, "x");
    const std::string big = dir / "big.ini";
    talvo_test::WriteBytes(big, "");
    fs::resize_file(big, (std::uintmax_t{256} << 20) + 1);  // sparse: takes no disk space
    const std::string longName = dir / std::string(300, 'n');
    IniFile ini = IniFile::FromBytes("");
    files::TTalvoIni settings(dir / "settings.ini");

    const struct {
        const char* what;
        std::function<void()> action;
        std::string text;
    } table[] = {
        {"section name", [&] { ini.WriteString("a]b", "k", "v"); }, "Недопустимое имя в INI-файле: \"a]b\""},
        {"key name", [&] { ini.WriteString("s", "k=1", "v"); }, "Недопустимое имя в INI-файле: \"k=1\""},
        {"line break in a value", [&] { ini.WriteString("s", "ключ", "a\nb"); },
         "Недопустимый перевод строки в значении ключа \"ключ\" INI-файла"},
        {"no file name",
         [&] {
             ini.WriteString("s", "k", "v");
             ini.UpdateFile();
         },
         "Ошибка записи файла: не задано имя файла"},
        {"file too large", [&] { IniFile{big}; }, "Файл " + big + " слишком велик для INI-файла"},
        {"folder in the way", [&] { files::WriteFileAtomic(dir.Path().string(), "x"); },
         "Ошибка записи файла " + dir.Path().string() + " (это папка)"},
        {"no folder", [&] { files::WriteFileAtomic(dir / "absent/a.ini", "x"); },
         "Ошибка записи файла " + (dir / "absent/a.ini") + " (папка не найдена)"},
        {"name too long", [&] { files::WriteFileAtomic(longName, "x"); },
         "Ошибка записи файла " + longName + " (системная ошибка 36)"},
        {"folder under a file", [&] { files::CreateFolder(plain + "/sub"); },
         "Не удалось создать папку " + plain + "/sub"},
        {"no list to read into", [&] { settings.GetRecentFileList(nullptr); },
         "GetRecentFileList: входной параметр FileList не проинициализирован."},
        {"no list to store", [&] { settings.SetRecentFileList(nullptr); },
         "SetRecentFileList: входной параметр FileList не проинициализирован."},
        {"unknown kind", [] { files::SignalFileKindTexts(5); }, "Неизвестный тип файла сигнала: 5"},
    };
    for (const auto& t : table) EXPECT_EQ(Refusal(t.action), t.text) << t.what;
}

// What the file dialogs and message boxes of each kind of signal file say.
TEST(FileMessages, SignalFileKinds) {
    const struct {
        files::SignalFileKind kind;
        const char* extension;
        const char* marker;
        const char* openTitle;
        const char* saveTitle;
        const char* saved;
        const char* wrongKind;
        const char* replace;
    } table[] = {
        {files::sfAll, ".usa", "Все параметры", "Открыть файл испытательного сигнала",
         "Сохранить файл испытательного сигнала", "Сигнал сохранен!", "Данный файл не является файлом сигналов!", ""},
        {files::sfVoltage, ".usu", "Только напряжение", "Открыть файл параметров напряжения",
         "Сохранить файл параметров напряжения", "Параметры напряжения сохранены!",
         "Данный файл не является файлом напряжений!",
         "Текущие данные по напряжению будут заменены данными из файла. Продолжить?"},
        {files::sfCurrent, ".usi", "Только ток", "Открыть файл параметров тока", "Сохранить файл параметров тока",
         "Параметры тока сохранены!", "Данный файл не является файлом тока!",
         "Текущие данные по току будут заменены данными из файла. Продолжить?"},
        {files::sfConverter, ".upr", "Напряжение с преобразователя",
         "Открыть файл параметров напряжения с преобразователя", "Сохранить файл параметров напряжения",
         "Параметры низковольтного напряжения сохранены!",
         "Данный файл не является файлом напряжений с преобразователя!",
         "Текущие данные преобразователя тока в напряжение будут заменены данными из файла. Продолжить?"},
    };
    for (const auto& t : table) {
        const files::TSignalFileKindTexts& texts = files::SignalFileKindTexts(t.kind);
        EXPECT_EQ(texts.Extension, t.extension);
        EXPECT_EQ(texts.Marker, t.marker);
        EXPECT_EQ(texts.OpenTitle, t.openTitle);
        EXPECT_EQ(texts.SaveTitle, t.saveTitle);
        EXPECT_EQ(texts.SavedMessage, t.saved);
        EXPECT_EQ(texts.WrongKindMessage, t.wrongKind);
        EXPECT_EQ(texts.ReplaceQuestion, t.replace);
    }
    EXPECT_EQ(files::kSignalOpenFilter,
              "Параметры испытательного сигнала (*.usa)|*.usa|Параметры напряжения (*.usu)|*.usu|"
              "Параметры тока (*.usi)|*.usi|Напряжение с преобразователя (*.upr)|*.upr|Все файлы (*.*)|*.*");
    EXPECT_EQ(files::kSignalSaveFilter,
              "Параметры испытательного сигнала (*.usa)|*.usa|Параметры напряжения (*.usu)|*.usu|"
              "Параметры тока (*.usi)|*.usi|Напряжение с преобразователя(*.upr)|*.upr|Все файлы (*.*)|*.*");
}

}  // namespace
