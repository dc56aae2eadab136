#pragma once

#include <string>
#include <vector>

namespace files {

// Writes a protocol's lines into `fileName` with the extension ".txt" forced
// (added, or replacing another), Windows-1251 with CR LF line ends,
// atomically. Returns the name used; raises cmn::TalvoError when the file
// cannot be written, the old file then staying as it was.
std::string SaveProtocolText(const std::string& fileName, const std::vector<std::string>& lines);

}  // namespace files
