#include "editor/ShellRules.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "signal/Nominals.h"

namespace edit {
namespace {

std::string NameOnly(std::string_view path) { return std::filesystem::path(path).filename().string(); }

const TPanelLook kVoltageOff{"Нет напряжения", "lime", "black"};

}  // namespace

std::string MainCaption(int modification) {
    return std::string(kApplicationTitle) + ". Модификация " +
           std::string(sig::ModificationInfo(modification).DisplayName);
}

std::string NewWindowCaption(int openWindows) {
    return "Испытательный сигнал: Без имени #" + std::to_string(openWindows);
}

std::string LoadedCaption(files::SignalFileKind kind, std::string_view path) {
    if (kind == files::sfConverter) return "Cигнал для преобразователя тока в напряжение: " + NameOnly(path);
    return "Испытательный сигнал: " + NameOnly(path);
}

std::string OpenedByNameCaption(std::string_view path) { return "Редактирование: " + NameOnly(path); }

std::string SavedCaption(std::string_view path) { return "Испытательный сигнал: " + NameOnly(path); }

void AddFromMenuList(std::vector<std::string>& recent, const std::string& name) {
    if (std::find(recent.begin(), recent.end(), name) != recent.end()) return;
    if (recent.size() >= kRecentCount)
        recent.erase(recent.begin(), recent.begin() + (recent.size() - kRecentCount + 1));
    recent.push_back(name);
}

void RemoveRecent(std::vector<std::string>& recent, std::size_t index) {
    if (index < recent.size()) recent.erase(recent.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<files::SignalFileKind> KindByExtension(std::string_view path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    if (ext == ".USA") return files::sfAll;
    if (ext == ".USU") return files::sfVoltage;
    if (ext == ".USI") return files::sfCurrent;
    return std::nullopt;
}

bool SignalCommandsEnabled(int openWindows, bool closingIsOpen) {
    return openWindows > 1 || (openWindows == 1 && !closingIsOpen);
}

std::optional<TPanelLook> StatusLook(int code) {
    static const std::array<std::string_view, 6> kTexts{
        "Происходит обновление страницы",          "Cтраница обновлена",
        "Идет передача параметров калибратору",    "Сигнал передан калибратору",
        "Ошибка при передаче сигнала калибратору", "Передача сигнала остановлена"};
    if (code < 1 || code > 6) return std::nullopt;
    const bool busy = code == 1 || code == 3;
    return TPanelLook{std::string(kTexts[code - 1]), busy ? "red" : "lime", busy ? "white" : "black"};
}

TVoltageIndicator::TVoltageIndicator() : look_{"! Высокое напряжение !", "red", "white"} {}

bool TVoltageIndicator::Report(int code, int level) {
    switch (code) {
        case 1: look_ = {"Напряжение отсутствует", "white", "black"}; return true;
        case 2: look_ = {"Нет ответа", "yellow", "black"}; return true;
        case 3: look_ = {"Напряжение установлено", "red", "white"}; return true;
        case 4: break;
        default: return false;
    }
    if (look_.Background != "red") {
        look_ = kVoltageOff;
    } else if (level > 64999) {
        level_ = 0;
    } else {
        if (level < level_) look_ = kVoltageOff;
        level_ = level;
    }
    return true;
}

}  // namespace edit
