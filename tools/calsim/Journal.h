#pragma once

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

namespace calsim {

// One JSON object per line, flushed at once so that a reader sees every
// event that has happened. Without a file name nothing is written.
class Journal {
public:
    explicit Journal(const std::string& path);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    void Write(const nlohmann::json& entry);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace calsim
