#include "link/LibraryBinding.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "CommonUtils/Format.h"
#include "CommonUtils/KnownFolders.h"
#include "CommonUtils/Md5.h"
#include "CommonUtils/TalvoError.h"

namespace lnk {
namespace {

[[noreturn]] void RaiseWorkError(int number) {
    throw cmn::TalvoError(cmn::Format("Ошибка при работе с библиотекой %s (%d).", kSignalLibraryFile, number));
}

// dlopen leaves errno alone when the file is not a loadable object.
int LoadErrorNumber(int savedErrno) { return savedErrno != 0 ? savedErrno : ENOEXEC; }

}  // namespace

TSignalLibrary::TSignalLibrary(TSignalLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), digest_(std::move(other.digest_)) {}

TSignalLibrary& TSignalLibrary::operator=(TSignalLibrary&& other) noexcept {
    if (this != &other) {
        Free();
        handle_ = std::exchange(other.handle_, nullptr);
        digest_ = std::move(other.digest_);
    }
    return *this;
}

void TSignalLibrary::Free() {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = nullptr;
}

TSignalLibrary LoadSignalLibrary() { return LoadSignalLibrary(cmn::ProgramFolder(), RecordedLibraryDigest()); }

TSignalLibrary LoadSignalLibrary(const std::string& folder, std::string_view expectedDigest) {
    const std::string path = folder + std::string(kSignalLibraryFile);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        throw cmn::TalvoError(cmn::Format("Отсутствует библиотека %s", kSignalLibraryFile));
    std::string digest = cmn::Md5FileHex(path);
    if (digest.empty() || digest != expectedDigest)
        throw cmn::TalvoError(cmn::Format("Неверная контрольная сумма библиотеки %s.", kSignalLibraryFile));
    errno = 0;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        throw cmn::TalvoError(
            cmn::Format("Ошибка при загрузке библиотеки %s (%d).", kSignalLibraryFile, LoadErrorNumber(errno)));
    return TSignalLibrary(handle, std::move(digest));
}

std::optional<TSignalLibrary> BindSignalLibrary(const std::string& folder, cmn::IProtocolLog& log) {
    try {
        return LoadSignalLibrary(folder, RecordedLibraryDigest());
    } catch (const cmn::TalvoError& e) {
        log.Log(cmn::LogType::Error, e.what());
        return std::nullopt;
    }
}

void Exercise(const TSignalLibrary& library, TFullSignalParams& buffer) {
    if (!library.Loaded()) RaiseWorkError(kProcedureNotFound);
    void* symbol = dlsym(library.Handle(), "GetOutSignalData");
    if (symbol == nullptr) RaiseWorkError(kProcedureNotFound);
    const auto function = reinterpret_cast<TGetOutSignalDataFunc>(symbol);
    TOutSignalParams params;
    std::memset(&params, 0, sizeof params);
    try {
        function(params, &buffer);
    } catch (...) {
        RaiseWorkError(errno);
    }
}

}  // namespace lnk
