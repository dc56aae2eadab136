#include "export/ZipPackage.h"

#include <zip.h>

#include <cstdio>

namespace xls {
namespace {

// No part of a workbook template comes near this; a larger declared size is
// a damaged or hostile archive, not something to allocate for.
constexpr zip_uint64_t kMaxPartSize = 256u << 20;

[[noreturn]] void Fail(zip_error_t* error) {
    const std::string reason = zip_error_strerror(error);
    throw TWorkbookUnreadable(reason);
}

[[noreturn]] void Fail(zip* archive) { Fail(zip_get_error(archive)); }

// Closes an opened part whatever way its reading ends.
struct TOpenPart {
    zip_file_t* file;
    ~TOpenPart() {
        if (file) zip_fclose(file);
    }
};

}  // namespace

TZipPackage::TZipPackage(std::string bytes) : bytes_(std::move(bytes)) {
    zip_error_t error;
    zip_error_init(&error);
    source_ = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
    if (!source_) Fail(&error);
    archive_ = zip_open_from_source(source_, 0, &error);
    if (!archive_) {
        zip_source_free(source_);
        Fail(&error);
    }
    // The source holds the rewritten archive after closing; keep it past the archive.
    zip_source_keep(source_);
}

TZipPackage::~TZipPackage() {
    if (archive_) zip_discard(archive_);
    zip_source_free(source_);
}

// Part names of a package are compared without regard to case.
zip_int64_t TZipPackage::Locate(const std::string& name) const {
    return zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE);
}

bool TZipPackage::Has(const std::string& name) const { return Locate(name) >= 0; }

std::optional<std::string> TZipPackage::Read(const std::string& name) const {
    const zip_int64_t index = Locate(name);
    if (index < 0) return std::nullopt;
    zip_stat_t st;
    if (zip_stat_index(archive_, index, 0, &st) != 0) Fail(archive_);
    if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMaxPartSize)
        throw TWorkbookUnreadable("part " + name + " is too large");
    TOpenPart part{zip_fopen_index(archive_, index, 0)};
    if (!part.file) Fail(archive_);
    std::string content(st.size, '\0');
    zip_uint64_t done = 0;
    while (done < st.size) {
        const zip_int64_t n = zip_fread(part.file, content.data() + done, st.size - done);
        if (n < 0) Fail(zip_file_get_error(part.file));
        if (n == 0) break;
        done += static_cast<zip_uint64_t>(n);
    }
    content.resize(done);
    return content;
}

void TZipPackage::Write(const std::string& name, std::string content) {
    std::string& kept = written_[name] = std::move(content);
    zip_source_t* data = zip_source_buffer(archive_, kept.data(), kept.size(), 0);
    if (!data) Fail(archive_);
    const zip_int64_t index = Locate(name);
    const bool failed = index >= 0 ? zip_file_replace(archive_, index, data, 0) != 0
                                   : zip_file_add(archive_, name.c_str(), data, ZIP_FL_ENC_UTF_8) < 0;
    if (failed) {
        zip_source_free(data);
        Fail(archive_);
    }
}

void TZipPackage::Remove(const std::string& name) {
    const zip_int64_t index = Locate(name);
    if (index >= 0 && zip_delete(archive_, index) != 0) Fail(archive_);
}

std::string TZipPackage::Save() {
    if (zip_close(archive_) != 0) Fail(archive_);
    archive_ = nullptr;
    if (zip_source_open(source_) != 0) Fail(zip_source_error(source_));
    std::string result;
    char buffer[65536];
    zip_int64_t n;
    while ((n = zip_source_read(source_, buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(n));
    const bool failed = n < 0;
    zip_source_close(source_);
    if (failed) Fail(zip_source_error(source_));
    return result;
}

}  // namespace xls
