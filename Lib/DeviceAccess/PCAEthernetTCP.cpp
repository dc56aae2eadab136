#include "PCAEthernetTCP.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "DeviceAccess/ErrorTexts.h"

namespace da {
namespace {

// How long a connection attempt may take before the server counts as absent.
constexpr int kConnectMs = 5000;

}  // namespace

TPCAEthernetTCP::~TPCAEthernetTCP() { CloseSocket(); }

void TPCAEthernetTCP::CloseSocket() {
    if (handle_ >= 0) ::close(handle_);
    handle_ = -1;
    connected_ = false;
}

int TPCAEthernetTCP::MakeSocket() {
    handle_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (handle_ < 0) return lastError_ = err::kSocket;
    int one = 1;
    ::setsockopt(handle_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return lastError_ = err::kNone;
}

int TPCAEthernetTCP::Create(const TConnectionDescription& description) {
    if (KindOf(description) != static_cast<std::uint8_t>(InterfaceKind::Tcp)) return lastError_ = err::kBadKind;
    description_ = description;
    return MakeSocket();
}

bool TPCAEthernetTCP::Matches(const TConnectionDescription& description) const {
    return KindOf(description) == static_cast<std::uint8_t>(InterfaceKind::Tcp) &&
           IpAddressOf(description) == IpAddressOf(description_) && TcpPortOf(description) == TcpPortOf(description_);
}

int TPCAEthernetTCP::WaitConnected() {
    pollfd p{handle_, POLLOUT, 0};
    int r;
    do r = ::poll(&p, 1, kConnectMs);
    while (r < 0 && errno == EINTR);
    int error = 0;
    socklen_t size = sizeof error;
    if (r <= 0 || ::getsockopt(handle_, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
        return err::kServerNotFound;
    return err::kNone;
}

// A socket whose connection failed cannot try again, so each attempt gets a new one.
int TPCAEthernetTCP::Connect() {
    if (connected_) return lastError_ = err::kNone;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(TcpPortOf(description_));
    if (::inet_pton(AF_INET, IpAddressOf(description_).c_str(), &address.sin_addr) != 1)
        return lastError_ = err::kBadAddress;
    if (address.sin_port == 0) return lastError_ = err::kBadIpPort;
    if (handle_ < 0 && MakeSocket() != err::kNone) return lastError_;
    int result = err::kNone;
    if (::connect(handle_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        result = errno == EINPROGRESS ? WaitConnected() : err::kServerNotFound;
    if (result != err::kNone) CloseSocket();
    connected_ = result == err::kNone;
    return lastError_ = result;
}

int TPCAEthernetTCP::Disconnect() {
    Cancel();
    CloseSocket();
    return lastError_ = err::kNone;
}

int TPCAEthernetTCP::Purge() {
    Cancel();
    std::uint8_t sink[512];
    while (handle_ >= 0 && ::recv(handle_, sink, sizeof sink, MSG_DONTWAIT) > 0) {
    }
    return err::kNone;
}

ssize_t TPCAEthernetTCP::RawWrite(const std::uint8_t* data, std::size_t n) {
    return ::send(handle_, data, n, MSG_NOSIGNAL);
}

std::string TPCAEthernetTCP::Name() const {
    return IpAddressOf(description_) + ":" + std::to_string(TcpPortOf(description_));
}

}  // namespace da
