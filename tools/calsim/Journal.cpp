#include "Journal.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace calsim {

Journal::Journal(const std::string& path) {
    if (path.empty()) return;
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) throw std::runtime_error("cannot write the journal " + path + ": " + std::strerror(errno));
}

Journal::~Journal() {
    if (file_) std::fclose(file_);
}

void Journal::Write(const nlohmann::json& entry) {
    if (!file_) return;
    const std::string line = entry.dump() + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace calsim
