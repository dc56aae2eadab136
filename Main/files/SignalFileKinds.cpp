#include <array>

#include "CommonUtils/TalvoError.h"
#include "files/SignalFile.h"

namespace files {
namespace {

constexpr std::array<TSignalFileKindTexts, 4> kKinds{{
    {".usa", "Все параметры", "Открыть файл испытательного сигнала", "Сохранить файл испытательного сигнала",
     "Сигнал сохранен!", "Данный файл не является файлом сигналов!", ""},
    {".usu", "Только напряжение", "Открыть файл параметров напряжения", "Сохранить файл параметров напряжения",
     "Параметры напряжения сохранены!", "Данный файл не является файлом напряжений!",
     "Текущие данные по напряжению будут заменены данными из файла. Продолжить?"},
    {".usi", "Только ток", "Открыть файл параметров тока", "Сохранить файл параметров тока",
     "Параметры тока сохранены!", "Данный файл не является файлом тока!",
     "Текущие данные по току будут заменены данными из файла. Продолжить?"},
    {".upr", "Напряжение с преобразователя", "Открыть файл параметров напряжения с преобразователя",
     "Сохранить файл параметров напряжения", "Параметры низковольтного напряжения сохранены!",
     "Данный файл не является файлом напряжений с преобразователя!",
     "Текущие данные преобразователя тока в напряжение будут заменены данными из файла. Продолжить?"},
}};

}  // namespace

const TSignalFileKindTexts& SignalFileKindTexts(int kind) {
    if (kind < sfAll || kind > sfConverter)
        throw cmn::TalvoError("Неизвестный тип файла сигнала: " + std::to_string(kind));
    return kKinds[static_cast<std::size_t>(kind - sfAll)];
}

std::string EncodeDescription(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string DecodeDescription(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (value[i] != '\\' || (next != '\\' && next != 'n' && next != 'r')) {
            out += value[i];
            continue;
        }
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
        ++i;
    }
    return out;
}

}  // namespace files
