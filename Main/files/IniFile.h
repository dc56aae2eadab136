#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace files {

// An INI file with the semantics of the Windows profile functions, so that
// files move between Windows and Linux installations unchanged:
// - "[name]" lines open sections; text after the closing bracket is ignored;
// - "key=value" lines hold values; blanks around names and values are
//   dropped, and one pair of matching quotes (" or ') around a value too;
// - lines starting with ";", lines without "=" and lines before the first
//   section are comments: never read, always kept;
// - names compare without regard to case (ASCII and Cyrillic); the first
//   matching section, and in it the first matching key, is the one used;
// - a missing key or a value that does not parse yields the default.
// The file is Windows-1251 on disk; names and texts here are UTF-8.
//
// Writing changes the file in place: every line not written keeps its bytes
// and line ending; a new key goes after the last key of its section, a new
// section at the end of the file. UpdateFile() replaces the file atomically.
class IniFile {
public:
    // Loads the file; a missing or unreadable file reads as empty. A file too
    // large for an INI file raises cmn::TalvoError.
    explicit IniFile(std::string fileName);
    // A file given by its Windows-1251 bytes; UpdateFile() needs a name.
    static IniFile FromBytes(std::string bytes, std::string fileName = {});

    IniFile(IniFile&&) noexcept;
    IniFile& operator=(IniFile&&) noexcept;
    ~IniFile();

    const std::string& FileName() const { return fileName_; }

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Decimal, or hexadecimal after "0x".
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t def) const;
    // The double the text stands for; fixed and exponent forms, "." only.
    double ReadFloat(const std::string& section, const std::string& key, double def) const;
    // An integer; anything but 0 is true.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    // A value with blanks at its ends, or enclosed in matching quotes, is
    // written in double quotes, so that it reads back unchanged here and in
    // Windows. Names with "[", "]", "=", ";" where they would change the
    // line's meaning, and any line break, raise cmn::TalvoError.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    // The shortest text of at most 15 digits that reads back to the value.
    void WriteFloat(const std::string& section, const std::string& key, double value);
    // "1" or "0".
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The file's bytes with every write applied.
    std::string Content() const;
    // Writes Content() to FileName() atomically when something was written;
    // raises cmn::TalvoError when the file cannot be written.
    void UpdateFile();

private:
    struct Document;
    IniFile(std::string fileName, std::string bytes);

    std::string fileName_;
    std::unique_ptr<Document> doc_;
};

// Larger files are refused rather than loaded.
inline constexpr std::size_t kMaxIniFileSize = std::size_t{256} << 20;

}  // namespace files
