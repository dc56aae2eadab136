#pragma once

#include <functional>
#include <string>

namespace talvo_test {

// The message of the cmn::TalvoError that `action` raises, "no error" when
// it raises none; any other exception passes on to the test.
std::string Refusal(const std::function<void()>& action);

}  // namespace talvo_test
