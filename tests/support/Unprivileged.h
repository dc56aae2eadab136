#pragma once

#include <functional>
#include <optional>
#include <string>

#include "TempFolder.h"

namespace talvo_test {

// Runs `check` without root's rights: in this process when the tests do not
// run as root, else in a child process that has become the user nobody.
// The result is the check's verdict; nothing (and `why` filled) when the
// rights cannot be dropped, for the test to skip.
std::optional<bool> RunUnprivileged(const std::function<bool()>& check, std::string& why);

// A device file whose mode refuses everyone but root, linked as port
// `name` in the port folder of `settings`. The folders on the way may be
// passed by everyone, and the folder of the device written to as well.
class RefusedPort {
public:
    RefusedPort(const TempSettings& settings, const std::string& name);

    // The device's own path, links resolved.
    const std::string& Device() const { return device_; }
    // The name of the group that owns the device.
    const std::string& Group() const { return group_; }
    // A file beside the device that an unprivileged check may write.
    std::string Scratch(const std::string& name) const { return folder_ / name; }

private:
    TempFolder folder_;
    std::string device_;
    std::string group_;
};

}  // namespace talvo_test
