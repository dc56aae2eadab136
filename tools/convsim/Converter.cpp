#include "Converter.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace convsim {
namespace {

constexpr int kDevice = 1;
constexpr int kRegisters = 140;
constexpr int kResetRegister = 0x8000;
constexpr int kGainRegister = 0x8001;
constexpr int kBlockStarts[3] = {2, 48, 94};
constexpr std::uint16_t kIgnored = 0x7FFF;

std::uint16_t Field(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

void FillTables(modbus_mapping_t* map) {
    for (int c = 0; c < 3; ++c) {
        const int s = kBlockStarts[c];
        map->tab_registers[s] = kIgnored;
        map->tab_registers[s + 45] = kIgnored;
        for (int k = 1; k <= 44; ++k) {
            const int delta = (c + 1) * k * (c % 2 ? -1 : 1);
            map->tab_registers[s + k] = static_cast<std::uint16_t>(delta);
        }
    }
}

}  // namespace

bool ValidGainCode(unsigned code) { return (code & ~0x1F8u) == 0 && ((code >> 3) & 0xF) <= 10; }

Converter::Converter(const Options& options) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        throw std::system_error(errno, std::generic_category(), "socketpair");
    ours_ = pair[0];
    server_ = pair[1];
    // The device name is never opened: the context gets its descriptor below.
    ctx_ = modbus_new_rtu("/dev/null", 115200, 'N', 8, 1);
    map_ = modbus_mapping_new_start_address(0, 0, 0, 0, 0, kRegisters, 0, 0);
    if (!ctx_ || !map_) throw std::runtime_error("libmodbus");
    modbus_set_slave(ctx_, kDevice);
    modbus_set_socket(ctx_, server_);
    map_->tab_registers[0] = static_cast<std::uint16_t>(options.module);
    map_->tab_registers[1] = static_cast<std::uint16_t>(options.gain);
    FillTables(map_);
}

Converter::~Converter() {
    modbus_mapping_free(map_);
    modbus_free(ctx_);
    ::close(ours_);
    ::close(server_);
}

void Converter::Drain(int fd) {
    std::uint8_t sink[512];
    while (::recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0) {
    }
}

std::vector<std::uint8_t> Converter::TakeOutput() {
    std::vector<std::uint8_t> out;
    std::uint8_t chunk[512];
    ssize_t r;
    while ((r = ::recv(ours_, chunk, sizeof chunk, MSG_DONTWAIT)) > 0) out.insert(out.end(), chunk, chunk + r);
    return out;
}

// libmodbus reads the request back from the socket pair: the length it
// derives from the function code, the device address and the CRC.
int Converter::Receive(const std::vector<std::uint8_t>& request, std::uint8_t* indication) {
    if (::send(ours_, request.data(), request.size(), 0) != static_cast<ssize_t>(request.size())) return -1;
    const int length = modbus_receive(ctx_, indication);
    Drain(server_);
    return length;
}

// libmodbus serves no Diagnostics and cannot frame their requests; it frames
// the request's bytes itself here, so a request equal to that frame carries
// the CRC libmodbus computes. The same frame is the echo a device answers.
bool Converter::CheckedByEcho(const std::vector<std::uint8_t>& request) {
    if (request.size() < 4 || request[0] != kDevice) return false;
    modbus_send_raw_request(ctx_, request.data(), static_cast<int>(request.size() - 2));
    const std::vector<std::uint8_t> framed = TakeOutput();
    return framed == request;
}

// Reset and gain selection live outside the register map.
bool Converter::WriteControl(const std::uint8_t* req, int length) {
    const int fn = req[1];
    if (fn != MODBUS_FC_WRITE_SINGLE_REGISTER || length < 6) return false;
    const int address = Field(req + 2);
    const unsigned value = Field(req + 4);
    if (address != kResetRegister && address != kGainRegister) return false;
    const bool accepted = address == kResetRegister ? value == 0 : ValidGainCode(value);
    if (!accepted) {
        modbus_reply_exception(ctx_, req, MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE);
        return true;
    }
    map_->tab_registers[1] = static_cast<std::uint16_t>(value);
    modbus_send_raw_request(ctx_, req, length - 2);
    return true;
}

void Converter::Reply(const std::uint8_t* req, int length, unsigned exception) {
    if (exception != 0) modbus_reply_exception(ctx_, req, exception);
    else if (!WriteControl(req, length)) modbus_reply(ctx_, req, length, map_);
}

std::optional<std::vector<std::uint8_t>> Converter::Answer(const std::vector<std::uint8_t>& request,
                                                           unsigned exception) {
    std::uint8_t indication[MODBUS_RTU_MAX_ADU_LENGTH];
    if (request.size() > sizeof indication) return std::nullopt;
    const bool libmodbusFrames = request.size() >= 2 && request[1] != 8 && request[1] != 20;
    if (libmodbusFrames) {
        const int length = Receive(request, indication);
        if (length <= 0) return std::nullopt;
        Reply(indication, length, exception);
        return TakeOutput();
    }
    if (!CheckedByEcho(request)) return std::nullopt;
    const int length = static_cast<int>(request.size());
    std::copy(request.begin(), request.end(), indication);
    // Diagnostics are echoed; the file records are not kept by this device.
    if (request[1] == 8 && exception == 0) modbus_send_raw_request(ctx_, indication, length - 2);
    else modbus_reply_exception(ctx_, indication, exception ? exception : unsigned{MODBUS_EXCEPTION_ILLEGAL_FUNCTION});
    return TakeOutput();
}

}  // namespace convsim
