#pragma once

#include <stdexcept>
#include <string>

namespace cmn {

// The one error type of the core. The message is the user-facing Russian
// text (UTF-8); the caller that started the user's action reports it.
class TalvoError : public std::runtime_error {
public:
    explicit TalvoError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace cmn
