#include "files/TalvoIni.h"

#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "CommonUtils/TalvoError.h"
#include "signal/Nominals.h"

namespace files {
namespace {

const std::string kConnection = "Подключение";
const std::string kPort = "COM-порт";
const std::string kConverterPort = "COM-порт-преобразователя";
const std::string kFiles = "Файлы";
const std::string kList = "Список";
const std::string kCorrection = "Коррекция сигнала";
const std::string kGeneral = "Общие";
const std::string kModification = "Модификация калибратора";
const std::string kSplash = "Форма загрузки";
const std::string kConverter = "Форма преобразователя тока в напряжение";
const std::string kShow = "Отображать";
const std::string kEnable = "Enable";

// In the record's order; the phase letters are Latin.
const std::array<std::string, sig::kCorrectionCount> kCorrectionKeys = {"Напряжение 220 Вольт, фаза A",
                                                                        "Напряжение 220 Вольт, фаза B",
                                                                        "Напряжение 220 Вольт, фаза C",
                                                                        "Напряжение 57.7 Вольт, фаза A",
                                                                        "Напряжение 57.7 Вольт, фаза B",
                                                                        "Напряжение 57.7 Вольт, фаза C",
                                                                        "Ток 1 Ампер, фаза A",
                                                                        "Ток 1 Ампер, фаза B",
                                                                        "Ток 1 Ампер, фаза C",
                                                                        "Ток 5 Ампер, фаза A",
                                                                        "Ток 5 Ампер, фаза B",
                                                                        "Ток 5 Ампер, фаза C",
                                                                        "Частота"};

constexpr char kDelimiter = '\t';
constexpr char kQuote = '"';

void CheckList(const void* list, const char* operation) {
    if (!list) throw cmn::TalvoError(std::string(operation) + ": входной параметр FileList не проинициализирован.");
}

bool NeedsQuotes(const std::string& entry) {
    if (entry.empty()) return true;
    for (const char c : entry)
        if (c == kQuote || static_cast<unsigned char>(c) <= ' ') return true;
    return false;
}

std::string Quoted(const std::string& entry) {
    std::string out(1, kQuote);
    for (const char c : entry) {
        out += c;
        if (c == kQuote) out += kQuote;
    }
    return out + kQuote;
}

std::string JoinDelimited(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        if (entry.find_first_of("\r\n") != std::string::npos) continue;
        if (!text.empty()) text += kDelimiter;
        text += NeedsQuotes(entry) ? Quoted(entry) : entry;
    }
    return text;
}

// One entry from `pos` to the next delimiter; a quoted part ends at a single
// quote, a doubled quote stands for one.
std::string NextEntry(std::string_view text, std::size_t& pos) {
    std::string entry;
    while (pos < text.size() && text[pos] != kDelimiter) {
        if (text[pos] != kQuote) {
            entry += text[pos++];
            continue;
        }
        for (++pos; pos < text.size(); ++pos) {
            if (text[pos] == kQuote && (pos + 1 >= text.size() || text[pos + 1] != kQuote)) break;
            if (text[pos] == kQuote) ++pos;
            entry += text[pos];
        }
        if (pos < text.size()) ++pos;
    }
    return entry;
}

std::vector<std::string> SplitDelimited(std::string_view text) {
    std::vector<std::string> entries;
    if (text.empty()) return entries;
    for (std::size_t pos = 0;; ++pos) {
        entries.push_back(NextEntry(text, pos));
        if (pos >= text.size()) return entries;
    }
}

void CreateParentFolder(const std::string& fileName) {
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
}

// The reader takes a file it cannot open for empty; the settings must not be
// written over one, so that case is told apart here.
void CheckReadable(const std::string& fileName) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(fileName, ec);
    if (!std::filesystem::exists(status)) return;
    if (!std::filesystem::is_regular_file(status))
        throw cmn::TalvoError("Файл настроек " + fileName + " не является обычным файлом");
    if (!std::ifstream(fileName, std::ios::binary)) throw cmn::TalvoError("Нет доступа к файлу настроек " + fileName);
}

IniFile LoadWithFolder(const std::string& fileName) {
    CreateParentFolder(fileName);
    CheckReadable(fileName);
    return IniFile(fileName);
}

// The unreadable file moves aside in one rename; a folder of that name left
// by an earlier copy goes first, since a rename cannot replace it.
void KeepAside(const std::string& fileName) {
    const std::string bad = fileName + ".bad";
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(bad, ec))) std::filesystem::remove_all(bad, ec);
    if (!std::filesystem::exists(std::filesystem::symlink_status(fileName, ec))) return;
    std::filesystem::rename(fileName, bad, ec);
    if (ec) throw cmn::TalvoError("Ошибка записи файла " + bad + " (" + ec.message() + ")");
}

}  // namespace

TTalvoIni::TTalvoIni(const std::string& fileName) : ini_(LoadWithFolder(fileName)), fileName_(fileName) {}

TTalvoIni TTalvoIni::AtStart(std::string& failure, const std::string& fileName) {
    try {
        return TTalvoIni(fileName);
    } catch (const cmn::TalvoError& e) {
        failure = e.what();
    }
    TTalvoIni empty(IniFile::FromBytes({}, fileName));
    empty.fileName_ = fileName;
    empty.keepUnreadable_ = true;
    return empty;
}

std::string TTalvoIni::ReadComPort() const { return ini_.ReadString(kConnection, kPort, ""); }

void TTalvoIni::WriteComPort(const std::string& port) { ini_.WriteString(kConnection, kPort, port); }

std::string TTalvoIni::ReadConverterComPort() const { return ini_.ReadString(kConnection, kConverterPort, ""); }

void TTalvoIni::WriteConverterComPort(const std::string& port) { ini_.WriteString(kConnection, kConverterPort, port); }

void TTalvoIni::GetRecentFileList(std::vector<std::string>* fileList) const {
    CheckList(fileList, "GetRecentFileList");
    *fileList = SplitDelimited(ini_.ReadString(kFiles, kList, ""));
}

void TTalvoIni::SetRecentFileList(const std::vector<std::string>* fileList) {
    CheckList(fileList, "SetRecentFileList");
    ini_.WriteString(kFiles, kList, JoinDelimited(*fileList));
}

sig::TCorrectionRecord TTalvoIni::ReadCorrection() const {
    sig::TCorrectionRecord correction{};
    for (std::size_t i = 0; i < sig::kCorrectionCount; ++i)
        correction[i] = ini_.ReadFloat(kCorrection, kCorrectionKeys[i], 0);
    return correction;
}

void TTalvoIni::WriteCorrection(const sig::TCorrectionRecord& correction) {
    for (std::size_t i = 0; i < sig::kCorrectionCount; ++i)
        ini_.WriteFloat(kCorrection, kCorrectionKeys[i], static_cast<double>(correction[i]));
}

int TTalvoIni::ReadModification() const {
    const int stored = ini_.ReadInteger(kGeneral, kModification, sig::kDefaultModification);
    return stored >= 0 && stored < sig::kModificationCount ? stored : sig::kDefaultModification;
}

void TTalvoIni::WriteModification(int modification) { ini_.WriteInteger(kGeneral, kModification, modification & 0x7F); }

bool TTalvoIni::ModificationPresent() const { return ini_.ValueExists(kGeneral, kModification); }

bool TTalvoIni::ReadShowSplash() {
    const bool show = ini_.ReadBool(kSplash, kShow, true);
    ini_.WriteBool(kSplash, kShow, show);
    return show;
}

bool TTalvoIni::ReadConverterMode() const { return ini_.ReadBool(kConverter, kShow, false); }

void TTalvoIni::WriteConverterMode(bool on) { ini_.WriteBool(kConverter, kShow, on); }

bool TTalvoIni::ReadConverterEnabled() const { return ini_.ReadBool(kConverter, kEnable, false); }

void TTalvoIni::Save() {
    if (keepUnreadable_) {
        KeepAside(fileName_);
        keepUnreadable_ = false;
    }
    ini_.UpdateFile();
}

}  // namespace files
