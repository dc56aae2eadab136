// talvo-convsim: the current-to-voltage converter on a pseudo-terminal.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include <nlohmann/json.hpp>

#include "Converter.h"
#include "Options.h"
#include "Pty.h"
#include "Requests.h"

namespace {

namespace fs = std::filesystem;

// Bytes of one request arrive together; a pause this long ends a request
// whose length cannot be told.
constexpr std::chrono::milliseconds kGap{50};
constexpr std::uint8_t kNoise = 0xFF;

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

class Journal {
public:
    explicit Journal(const std::string& path) {
        if (!path.empty()) out_.open(path, std::ios::app);
    }
    void Write(const nlohmann::json& entry) {
        if (out_) out_ << entry.dump() << std::endl;
    }

private:
    std::ofstream out_;
};

// The link DIR/NAME to the terminal, replaced in one step and removed at the end.
class PortLink {
public:
    PortLink(const std::string& folder, const std::string& name, const std::string& target) : target_(target) {
        if (folder.empty()) return;
        fs::create_directories(folder);
        path_ = fs::path(folder) / name;
        const fs::path temp = fs::path(folder) / (name + ".convsim-" + std::to_string(::getpid()));
        fs::create_symlink(target, temp);
        fs::rename(temp, path_);
    }
    ~PortLink() {
        std::error_code ec;
        if (!path_.empty() && fs::read_symlink(path_, ec) == target_) fs::remove(path_, ec);
    }
    std::string Path() const { return path_.string(); }

private:
    fs::path path_;
    std::string target_;
};

std::vector<std::uint8_t> NextRequest(convsim::Pty& pty) {
    std::vector<std::uint8_t> bytes;
    pty.ReadMore(bytes, kGap);
    for (;;) {
        const std::size_t length = convsim::RequestLength(bytes);
        if (length != 0 && bytes.size() >= length) break;
        if (!pty.ReadMore(bytes, kGap)) break;
    }
    return bytes;
}

std::vector<std::uint8_t> Spoil(std::vector<std::uint8_t> response, const convsim::Options& o) {
    if (o.badCrc && !response.empty()) response.back() ^= 0x5A;
    response.insert(response.begin(), o.noise, kNoise);
    if (o.delayMs) std::this_thread::sleep_for(std::chrono::milliseconds(o.delayMs));
    return response;
}

void Serve(convsim::Pty& pty, const convsim::Options& o, Journal& journal) {
    convsim::Converter converter(o);
    for (unsigned n = 1; pty.WaitInput(); ++n) {
        const std::vector<std::uint8_t> request = NextRequest(pty);
        journal.Write({{"event", "request"}, {"n", n}, {"hex", Hex(request)}});
        if (o.silentFrom != 0 && n >= o.silentFrom) continue;
        const bool spoilt = o.faultRequest == 0 || o.faultRequest == n;
        const auto response = converter.Answer(request, spoilt ? o.exception : 0);
        if (!response) {
            journal.Write({{"event", "refused"}, {"n", n}});
            continue;
        }
        const std::vector<std::uint8_t> sent = spoilt ? Spoil(*response, o) : *response;
        pty.Send(sent);
        journal.Write({{"event", "response"}, {"n", n}, {"hex", Hex(sent)}, {"gain", converter.Register(1)}});
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = convsim::ParseOptions(argc, argv, error);
    if (!options) {
        std::cerr << "talvo-convsim: " << error << "\n" << convsim::kUsage;
        return 2;
    }
    try {
        convsim::Pty pty;
        Journal journal(options->journal);
        PortLink link(options->portDir, options->name, pty.SlavePath());
        std::cout << pty.SlavePath() << std::endl;
        journal.Write({{"event", "start"}, {"path", pty.SlavePath()}, {"link", link.Path()}});
        Serve(pty, *options, journal);
        journal.Write({{"event", "stop"}});
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "talvo-convsim: " << e.what() << "\n";
        return 1;
    }
}
