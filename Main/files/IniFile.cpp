#include "files/IniFile.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "CommonUtils/CodePage.h"
#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "files/AtomicFile.h"

namespace files {
namespace {

constexpr std::size_t npos = std::string::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsQuoted(std::string_view s) {
    return s.size() >= 2 && s.front() == s.back() && (s.front() == '"' || s.front() == '\'');
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = cmn::Cp1251Upper(c);
    return out;
}

// What a reader sees of the text after "=".
std::string_view Unwrap(std::string_view raw) {
    raw = Trim(raw);
    if (IsQuoted(raw)) raw = raw.substr(1, raw.size() - 2);
    return raw;
}

// The inverse of Unwrap for any value without line breaks.
std::string Wrap(const std::string& value) {
    const bool keepAsIs = value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back()) && !IsQuoted(value));
    return keepAsIs ? value : '"' + value + '"';
}

[[noreturn]] void BadName(const std::string& name) {
    throw cmn::TalvoError("Недопустимое имя в INI-файле: \"" + name + "\"");
}

std::string SectionName(const std::string& utf8) {
    const std::string name(Trim(cmn::Utf8ToCp1251(utf8)));
    if (name.empty() || name.find_first_of("]\r\n") != npos) BadName(utf8);
    return name;
}

std::string KeyName(const std::string& utf8) {
    const std::string name(Trim(cmn::Utf8ToCp1251(utf8)));
    if (name.empty() || name.front() == '[' || name.front() == ';' || name.find_first_of("=\r\n") != npos)
        BadName(utf8);
    return name;
}

std::string LoadFile(const std::string& fileName) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(fileName, ec);
    if (ec) return {};
    if (size > kMaxIniFileSize) throw cmn::TalvoError("Файл " + fileName + " слишком велик для INI-файла");
    std::ifstream in(fileName, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(in ? bytes.size() : static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

struct Entry {
    std::size_t valueBegin = npos;  // the text after "=" in the file; npos for a key added here
    std::size_t valueEnd = 0;
    std::string name;                  // added keys only
    std::optional<std::string> value;  // the text after "=" once written
};

struct Section {
    std::string name;
    std::size_t insertAt = npos;                        // where added keys go; npos for a section added here
    std::unordered_map<std::string, std::size_t> keys;  // upper-case name -> first entry
    std::vector<Entry> entries;
    std::vector<std::size_t> added;
};

struct Patch {
    std::size_t begin, end;
    std::string text;
};

}  // namespace

struct IniFile::Document {
    std::string text;
    std::string eol;
    std::vector<Section> sections;
    std::unordered_map<std::string, std::size_t> index;  // upper-case name -> first section
    bool modified = false;

    explicit Document(std::string bytes) : text(std::move(bytes)) { Parse(); }

    void Parse() {
        std::size_t current = npos;
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t lineEnd = std::min(text.find_first_of("\r\n", pos), text.size());
            std::size_t next = lineEnd;
            if (next < text.size())
                next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
            if (eol.empty() && next > lineEnd) eol = text.substr(lineEnd, next - lineEnd);
            ParseLine(pos, lineEnd, next, current);
            pos = next;
        }
        if (eol.empty()) eol = "\r\n";
    }

    void ParseLine(std::size_t pos, std::size_t lineEnd, std::size_t next, std::size_t& current) {
        const std::string_view line = Trim(std::string_view(text).substr(pos, lineEnd - pos));
        if (line.empty() || line.front() == ';') return;
        if (line.front() == '[' && line.find(']') != npos) {
            OpenSection(Trim(line.substr(1, line.find(']') - 1)), next, current);
            return;
        }
        const std::size_t eq = line.find('=');
        if (eq == npos || current == npos) return;
        Section& section = sections[current];
        section.insertAt = next;
        const std::string_view key = Trim(line.substr(0, eq));
        if (key.empty() || !section.keys.try_emplace(Upper(key), section.entries.size()).second) return;
        const std::size_t valueBegin = static_cast<std::size_t>(line.data() - text.data()) + eq + 1;
        section.entries.push_back(Entry{valueBegin, lineEnd, {}, {}});
    }

    // A repeated section gets no index: only the first one of a name is used.
    void OpenSection(std::string_view name, std::size_t next, std::size_t& current) {
        const bool first = index.try_emplace(Upper(name), sections.size()).second;
        current = first ? sections.size() : npos;
        if (first) sections.push_back(Section{std::string(name), next, {}, {}, {}});
    }

    const Entry* Find(const std::string& section, const std::string& key) const {
        const auto s = index.find(Upper(Trim(cmn::Utf8ToCp1251(section))));
        if (s == index.end()) return nullptr;
        const Section& sec = sections[s->second];
        const auto k = sec.keys.find(Upper(Trim(cmn::Utf8ToCp1251(key))));
        return k == sec.keys.end() ? nullptr : &sec.entries[k->second];
    }

    std::string_view RawValue(const Entry& e) const {
        if (e.value) return *e.value;
        return std::string_view(text).substr(e.valueBegin, e.valueEnd - e.valueBegin);
    }

    Section& SectionFor(const std::string& name) {
        const auto [it, inserted] = index.try_emplace(Upper(name), sections.size());
        if (inserted) sections.push_back(Section{name, npos, {}, {}, {}});
        return sections[it->second];
    }

    // Writing the value a key already holds leaves its line as it is.
    void Write(const std::string& sectionName, const std::string& keyName, const std::string& value) {
        Section& section = SectionFor(sectionName);
        const auto [it, inserted] = section.keys.try_emplace(Upper(keyName), section.entries.size());
        if (inserted) {
            section.entries.push_back(Entry{npos, 0, keyName, {}});
            section.added.push_back(it->second);
        }
        Entry& e = section.entries[it->second];
        if (!inserted && Unwrap(RawValue(e)) == value) return;
        e.value = Wrap(value);
        modified = true;
    }

    std::string KeyLines(const Section& section) const {
        std::string out;
        for (const std::size_t i : section.added)
            out += section.entries[i].name + '=' + *section.entries[i].value + eol;
        return out;
    }

    std::vector<Patch> Patches() const {
        std::vector<Patch> patches;
        for (const Section& section : sections) {
            if (section.insertAt == npos) continue;
            for (const Entry& e : section.entries)
                if (e.valueBegin != npos && e.value) patches.push_back({e.valueBegin, e.valueEnd, *e.value});
            if (section.added.empty()) continue;
            // Only the last line of the file can lack its line break.
            const bool open = section.insertAt > 0 && !IsLineBreak(text[section.insertAt - 1]);
            patches.push_back({section.insertAt, section.insertAt, (open ? eol : "") + KeyLines(section)});
        }
        std::sort(patches.begin(), patches.end(), [](const Patch& a, const Patch& b) { return a.begin < b.begin; });
        return patches;
    }

    std::string Render() const {
        std::string out;
        out.reserve(text.size());
        std::size_t pos = 0;
        for (const Patch& p : Patches()) {
            out.append(text, pos, p.begin - pos);
            out += p.text;
            pos = p.end;
        }
        out.append(text, pos);
        for (const Section& section : sections) {
            if (section.insertAt != npos) continue;
            if (!out.empty() && !IsLineBreak(out.back())) out += eol;
            out += '[' + section.name + ']' + eol + KeyLines(section);
        }
        return out;
    }
};

IniFile::IniFile(std::string fileName, std::string bytes)
    : fileName_(std::move(fileName)), doc_(std::make_unique<Document>(std::move(bytes))) {}

IniFile::IniFile(std::string fileName) : IniFile(fileName, LoadFile(fileName)) {}

IniFile IniFile::FromBytes(std::string bytes, std::string fileName) {
    return IniFile(std::move(fileName), std::move(bytes));
}

IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;
IniFile::~IniFile() = default;

bool IniFile::SectionExists(const std::string& section) const {
    return doc_->index.count(Upper(Trim(cmn::Utf8ToCp1251(section)))) != 0;
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
    return doc_->Find(section, key) != nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    const Entry* e = doc_->Find(section, key);
    return e ? cmn::Cp1251ToUtf8(Unwrap(doc_->RawValue(*e))) : def;
}

std::int32_t IniFile::ReadInteger(const std::string& section, const std::string& key, std::int32_t def) const {
    const Entry* e = doc_->Find(section, key);
    return e ? cmn::ParseInt(Unwrap(doc_->RawValue(*e))).value_or(def) : def;
}

double IniFile::ReadFloat(const std::string& section, const std::string& key, double def) const {
    const Entry* e = doc_->Find(section, key);
    if (!e) return def;
    std::string_view text = Trim(Unwrap(doc_->RawValue(*e)));
    if (!cmn::ParseReal(text)) return def;
    // Read as a double directly: going through extended precision first
    // could round a written value to its neighbour.
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    return r.ec == std::errc{} ? value : def;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    const std::string sectionName = SectionName(section);
    const std::string keyName = KeyName(key);
    const std::string bytes = cmn::Utf8ToCp1251(value);
    if (bytes.find_first_of("\r\n") != npos)
        throw cmn::TalvoError("Недопустимый перевод строки в значении ключа \"" + key + "\" INI-файла");
    doc_->Write(sectionName, keyName, bytes);
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
    WriteString(section, key, cmn::FormatReal(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Content() const { return doc_->Render(); }

void IniFile::UpdateFile() {
    if (!doc_->modified) return;
    if (fileName_.empty()) throw cmn::TalvoError("Ошибка записи файла: не задано имя файла");
    WriteFileAtomic(fileName_, Content());
    doc_->modified = false;
}

}  // namespace files
