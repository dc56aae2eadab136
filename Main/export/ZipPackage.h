#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "export/WorkbookError.h"

struct zip;
struct zip_source;

namespace xls {

// A zip archive held in memory: parts are read, replaced or removed, and the
// rewritten archive comes back as bytes. Parts that are not changed are
// copied as they are, compressed data included. Any archive fault raises
// TWorkbookUnreadable with libzip's reason.
class TZipPackage {
public:
    explicit TZipPackage(std::string bytes);
    ~TZipPackage();
    TZipPackage(const TZipPackage&) = delete;
    TZipPackage& operator=(const TZipPackage&) = delete;

    bool Has(const std::string& name) const;
    // The uncompressed content; empty when the archive has no such part.
    std::optional<std::string> Read(const std::string& name) const;
    void Write(const std::string& name, std::string content);
    void Remove(const std::string& name);
    // The archive with every change applied. The package cannot be used afterwards.
    std::string Save();

private:
    std::int64_t Locate(const std::string& name) const;

    std::string bytes_;
    zip_source* source_ = nullptr;
    zip* archive_ = nullptr;
    std::map<std::string, std::string> written_;  // content must live until the archive is closed
};

}  // namespace xls
