#include "PeerPty.h"

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "CommonUtils/KnownFolders.h"

namespace talvo_test {

PeerPty::PeerPty(const std::string& name) {
    termios raw{};
    ::cfmakeraw(&raw);
    char path[256] = {};
    if (::openpty(&master_, &slave_, path, &raw, nullptr) != 0) throw std::runtime_error("openpty");
    slavePath_ = path;
    link_ = std::filesystem::path(cmn::PortFolder()) / name;
    std::filesystem::create_directories(link_.parent_path());
    std::filesystem::create_symlink(slavePath_, link_);
}

PeerPty::~PeerPty() {
    std::error_code ec;
    std::filesystem::remove(link_, ec);
    ::close(slave_);
    ::close(master_);
}

std::vector<std::uint8_t> PeerPty::Receive(std::size_t n, std::chrono::milliseconds limit) {
    std::vector<std::uint8_t> got;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (got.size() < n) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd p{master_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        std::uint8_t chunk[256];
        const ssize_t r = ::read(master_, chunk, std::min(sizeof chunk, n - got.size()));
        if (r <= 0) break;
        got.insert(got.end(), chunk, chunk + r);
    }
    return got;
}

void PeerPty::Send(const std::vector<std::uint8_t>& bytes) {
    if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("pty write");
}

}  // namespace talvo_test
