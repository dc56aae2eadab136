#pragma once

#include <string>
#include <string_view>

namespace cmn {

// Texts live in memory as UTF-8; files and settings are Windows-1251 on
// disk, and a Windows console expects code page 866. A character the target
// page cannot hold becomes "?". Malformed UTF-8 sequences become "?" too.
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view cp1251);
std::string Utf8ToCp866(std::string_view utf8);
std::string Cp866ToUtf8(std::string_view cp866);

// True when the text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Upper-case and lower-case of a Windows-1251 byte (ASCII and Cyrillic),
// as the Windows profile functions compare section and key names.
char Cp1251Upper(char c);

}  // namespace cmn
