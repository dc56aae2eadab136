#include "DescriptorCheck.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

namespace talvo_test {
namespace {

std::string TargetOf(int fd) {
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    return n < 0 ? std::string("?") : std::string(target, static_cast<std::size_t>(n));
}

// Checks from the start of a test to its end: OnTestStart comes before the
// fixture is made and OnTestEnd after it is gone, so descriptors the fixture
// holds count as well.
class TDescriptorListener : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { before_ = OpenDescriptors::Now(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        if (!before_) return;
        const std::string leaked = OpenDescriptors::Now().NewSince(*before_);
        before_.reset();
        if (!leaked.empty()) ADD_FAILURE() << "descriptors left open by the test:\n" << leaked;
    }

private:
    std::optional<OpenDescriptors> before_;
};

}  // namespace

OpenDescriptors OpenDescriptors::Now() {
    OpenDescriptors now;
    DIR* dir = ::opendir("/proc/self/fd");
    if (dir == nullptr) return now;
    const int own = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == own) continue;
        now.targets_[static_cast<int>(fd)] = TargetOf(static_cast<int>(fd));
    }
    ::closedir(dir);
    return now;
}

std::string OpenDescriptors::NewSince(const OpenDescriptors& before) const {
    std::string list;
    for (const auto& [fd, target] : targets_) {
        const auto it = before.targets_.find(fd);
        if (it == before.targets_.end() || it->second != target) list += std::to_string(fd) + " -> " + target + "\n";
    }
    return list;
}

void CheckDescriptorsAroundEachTest() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new TDescriptorListener);
}

}  // namespace talvo_test
