#pragma once

#include <functional>
#include <optional>
#include <string>

namespace talvo_test {

// Runs `check` without root's rights: in this process when the tests do not
// run as root, else in a child process that has become the user nobody.
// The result is the check's verdict; nothing (and `why` filled) when the
// rights cannot be dropped, for the test to skip.
std::optional<bool> RunUnprivileged(const std::function<bool()>& check, std::string& why);

}  // namespace talvo_test
