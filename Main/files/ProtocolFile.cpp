#include "files/ProtocolFile.h"

#include <filesystem>

#include "CommonUtils/CodePage.h"
#include "files/AtomicFile.h"

namespace files {

std::string SaveProtocolText(const std::string& fileName, const std::vector<std::string>& lines) {
    const std::string name = std::filesystem::path(fileName).replace_extension(".txt").string();
    std::string content;
    for (const std::string& line : lines) content += cmn::Utf8ToCp1251(line) + "\r\n";
    WriteFileAtomic(name, content);
    return name;
}

}  // namespace files
