#include "schedule/ListFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "CommonUtils/TalvoError.h"
#include "files/AtomicFile.h"
#include "files/IniFile.h"

namespace sched {
namespace {

namespace fs = std::filesystem;

const std::string kCommonSection = "Для всех сигналов";
const std::string kCountKey = "Kоличество";  // the first letter is the Latin K, as Windows installations write it
const std::string kDescriptionKey = "Описание";
const std::string kTypeKey = "Тип";
const std::string kDurationKey = "Длительность";
const std::string kStartKey = "Время начала";
const std::string kEndKey = "Время окончания";
const std::string kStateKey = "Статус";
const std::string kPathKey = "Путь к файлу";
const std::string kIndexKey = "Индекс";
const std::string kFileKey = "Файл";

const std::string kSaveError = "Ошибка сохранения списка сигналов!";
const std::string kLoadError = "Ошибка загрузки списка сигналов!";

std::string RowSection(int n) { return "Сигнал " + std::to_string(n); }

std::string ToHex(const std::string& bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> FromHex(const std::string& hex) {
    if (hex.size() % 2) return std::nullopt;
    std::string bytes(hex.size() / 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int hi = HexDigit(hex[2 * i]), lo = HexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes[i] = static_cast<char>(hi << 4 | lo);
    }
    return bytes;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in || !fs::is_regular_file(path)) throw cmn::TalvoError("Файл не найден : " + path);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw cmn::TalvoError("Ошибка чтения файла " + path);
    return bytes;
}

void WriteRow(files::IniFile& ini, int n, const TSignalDataForGrid& row) {
    const std::string section = RowSection(n);
    ini.WriteInteger(section, kTypeKey, static_cast<int>(row.Type));
    ini.WriteInteger(section, kDurationKey, row.Duration);
    ini.WriteString(section, kStartKey, DateTimeToText(row.Start));
    ini.WriteString(section, kEndKey, DateTimeToText(row.End));
    // A save during a run leaves the stored selection as it was.
    if (row.State != TRowState::SelectedRunning && row.State != TRowState::NotSelectedRunning)
        ini.WriteInteger(section, kStateKey, row.State == TRowState::NotSelected ? 0 : 1);
    ini.WriteString(section, kPathKey, row.Path);
    ini.WriteInteger(section, kIndexKey, row.Index);
    ini.WriteString(section, kDescriptionKey, row.Description);
    if (HasSignalFile(row.Type)) ini.WriteString(section, kFileKey, ToHex(ReadWholeFile(row.Path)));
}

TDateTime ReadDateTime(const files::IniFile& ini, const std::string& section, const std::string& key) {
    return TextToDateTime(ini.ReadString(section, key, "")).value_or(0);
}

// The stored path only names the file: wherever the list was written, its
// signal files now live in the list's own folder, and nothing may leave it.
// A control character (a NUL above all, which would cut the name short)
// names no file on either system.
bool UsableFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::string SignalFileIn(const std::string& folder, const std::string& storedPath) {
    const std::string name = FileNameOnly(storedPath);
    if (!UsableFileName(name)) throw cmn::TalvoError(kLoadError);
    return (fs::path(folder) / name).string();
}

// A file already in the folder is the operator's and stays unchanged; of two
// rows naming the same file, the first one's content is placed.
void PlaceSignalFile(const files::IniFile& ini, const std::string& section, const std::string& path,
                     files::TAtomicBatch& extracted) {
    if (fs::exists(fs::symlink_status(path)) || extracted.Holds(path)) return;
    // An empty value would leave an empty file that blocks every later load of the real one.
    const std::optional<std::string> bytes = FromHex(ini.ReadString(section, kFileKey, ""));
    if (!bytes || bytes->empty()) throw cmn::TalvoError(kLoadError);
    extracted.Add(path, *bytes);
}

TSignalDataForGrid ReadRow(const files::IniFile& ini, int n, const std::string& folder,
                           files::TAtomicBatch& extracted) {
    const std::string section = RowSection(n);
    TSignalDataForGrid row;
    const int type = ini.ReadInteger(section, kTypeKey, 0);
    if (type < 0 || type >= kCommandTypeCount) throw cmn::TalvoError(kLoadError);
    row.Type = static_cast<TCommandType>(type);
    row.Duration = ini.ReadInteger(section, kDurationKey, 0);
    row.Start = ReadDateTime(ini, section, kStartKey);
    row.End = ReadDateTime(ini, section, kEndKey);
    row.State = ini.ReadInteger(section, kStateKey, 0) == 0 ? TRowState::NotSelected : TRowState::Selected;
    row.Index = ini.ReadInteger(section, kIndexKey, n);
    row.Description = ini.ReadString(section, kDescriptionKey, "");
    if (HasSignalFile(row.Type)) {
        row.Path = SignalFileIn(folder, ini.ReadString(section, kPathKey, ""));
        PlaceSignalFile(ini, section, row.Path, extracted);
    } else {
        row.Path = kCommandText;
    }
    return row;
}

void CreateListFolder(const std::string& folder) {
    std::error_code ec;
    fs::create_directory(folder, ec);
    if (!fs::is_directory(folder)) throw cmn::TalvoError(kLoadError);
}

// After a failed row: the files of the rows read before it; should they not
// go into place either, the rows that would miss them are dropped too.
void PlaceReadFiles(files::TAtomicBatch& extracted, TSignalList& list) {
    try {
        extracted.Commit();
    } catch (const std::exception&) {
        std::erase_if(list.Rows, [](const TSignalDataForGrid& row) {
            return HasSignalFile(row.Type) && !fs::exists(fs::symlink_status(row.Path));
        });
    }
}

}  // namespace

std::string SignalListFileName(const std::string& chosen) {
    return fs::path(chosen).replace_extension(".sfl").string();
}

std::string SignalFolderOfList(const std::string& fileName) {
    const fs::path path(fileName);
    return (path.parent_path() / path.stem()).string();
}

void WriteSignalList(const std::string& fileName, const TSignalList& list) {
    try {
        files::IniFile ini(fileName);
        ini.WriteInteger(kCommonSection, kCountKey, static_cast<int>(list.Rows.size()));
        ini.WriteString(kCommonSection, kDescriptionKey, list.Description);
        for (std::size_t n = 0; n < list.Rows.size(); ++n) WriteRow(ini, static_cast<int>(n), list.Rows[n]);
        ini.UpdateFile();
    } catch (const std::exception&) {
        throw cmn::TalvoError(kSaveError);
    }
}

// The signal files of the rows go into place together once every row is
// read, or once a row fails for those read before it, so that a long list
// costs one flush to disk rather than one per file.
void ReadSignalList(const std::string& fileName, TSignalList& list) {
    list.Rows.clear();
    files::TAtomicBatch extracted;
    try {
        std::ifstream probe(fileName, std::ios::binary);
        if (!probe || !fs::is_regular_file(fileName)) throw cmn::TalvoError(kLoadError);
        const files::IniFile ini(fileName);
        const int count = ini.ReadInteger(kCommonSection, kCountKey, 0);
        list.Description = ini.ReadString(kCommonSection, kDescriptionKey, "");
        const std::string folder = SignalFolderOfList(fileName);
        CreateListFolder(folder);
        for (int n = 0; n < count; ++n) list.Rows.push_back(ReadRow(ini, n, folder, extracted));
        extracted.Commit();
    } catch (const std::exception&) {
        PlaceReadFiles(extracted, list);
        throw cmn::TalvoError(kLoadError);
    }
}

}  // namespace sched
