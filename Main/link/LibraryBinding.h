#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "CommonUtils/ProtocolLog.h"
#include "SignalLib/SignalTalvo.h"

// The program binds the signal library at run time from its own folder and
// calls it once before every checked action on the calibrator. The file is
// refused unless its MD5 digest is the one recorded when it was built.
namespace lnk {

inline constexpr std::string_view kSignalLibraryFile = "libSignalTalvo.so";
// The error number reported when an export is not in the library (and when
// no library is bound at all).
inline constexpr int kProcedureNotFound = 127;

// A loaded library and the digest of its file; empty (handle 0) when not loaded.
class TSignalLibrary {
public:
    TSignalLibrary() = default;
    TSignalLibrary(void* handle, std::string digest) : handle_(handle), digest_(std::move(digest)) {}
    ~TSignalLibrary() { Free(); }
    TSignalLibrary(TSignalLibrary&& other) noexcept;
    TSignalLibrary& operator=(TSignalLibrary&& other) noexcept;
    TSignalLibrary(const TSignalLibrary&) = delete;
    TSignalLibrary& operator=(const TSignalLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    void* Handle() const { return handle_; }
    // 32 upper-case hexadecimal digits.
    const std::string& Digest() const { return digest_; }
    void Free();

private:
    void* handle_ = nullptr;
    std::string digest_;
};

// The digest the build recorded for the library it built.
std::string_view RecordedLibraryDigest();

// Loads the library from the program's folder, checked against the recorded digest.
TSignalLibrary LoadSignalLibrary();
// Loads `folder` + kSignalLibraryFile; `folder` ends with "/". Raises
// TalvoError with the missing-library, checksum or loading message.
TSignalLibrary LoadSignalLibrary(const std::string& folder, std::string_view expectedDigest);
// The library of `folder` with the recorded digest, or none once its error
// has gone into the log: runs without a window go on without it.
std::optional<TSignalLibrary> BindSignalLibrary(const std::string& folder, cmn::IProtocolLog& log);

// Calls GetOutSignalData with an all-zero parameter record and `buffer`;
// its result is not looked at. Raises the library-work error when the
// export is missing or the call fails.
void Exercise(const TSignalLibrary& library, TFullSignalParams& buffer);

}  // namespace lnk
