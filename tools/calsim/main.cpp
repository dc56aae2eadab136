// talvo-calsim: a calibrator on a pseudo-terminal for development and tests.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>

#include "Device.h"
#include "Journal.h"
#include "Line.h"
#include "Options.h"

namespace {

namespace fs = std::filesystem;

// Replaces whatever the folder holds under the name in one step.
fs::path MakeLink(const std::string& folder, const std::string& name, const std::string& target) {
    fs::create_directories(folder);
    const fs::path link = fs::path(folder) / name;
    const fs::path temp = fs::path(folder) / ("." + name + "." + std::to_string(::getpid()));
    fs::remove(temp);
    fs::create_symlink(target, temp);
    fs::rename(temp, link);
    return link;
}

// Removes the link on every way out; only our own link goes, since another
// simulator may have taken the name in the meantime.
struct LinkGuard {
    fs::path link;
    std::string target;
    ~LinkGuard() {
        std::error_code ec;
        if (!link.empty() && fs::is_symlink(link, ec) && fs::read_symlink(link, ec) == target) fs::remove(link, ec);
    }
};

int Run(const calsim::Options& options) {
    calsim::Line line(options.pace);
    calsim::Journal journal(options.journal);
    LinkGuard guard{{}, line.SlavePath()};
    if (!options.portDir.empty()) guard.link = MakeLink(options.portDir, options.name, line.SlavePath());
    std::cout << line.SlavePath() << std::endl;
    journal.Write({{"event", "start"}, {"path", line.SlavePath()}, {"link", guard.link.string()}});
    std::optional<calsim::Measurer> measurer;
    if (!options.measure.empty()) measurer.emplace(options.measure, options.modification);
    calsim::Device device(line, options, journal, measurer ? &*measurer : nullptr);
    device.Run();
    measurer.reset();
    journal.Write({{"event", "stop"}});
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help") {
            std::cout << calsim::kUsage;
            return 0;
        }
    }
    std::string error;
    const auto options = calsim::ParseOptions(argc, argv, error);
    if (!options) {
        std::cerr << "talvo-calsim: " << error << "\n" << calsim::kUsage;
        return 2;
    }
    try {
        return Run(*options);
    } catch (const std::exception& e) {
        std::cerr << "talvo-calsim: " << e.what() << "\n";
        return 1;
    }
}
