#include "Refusal.h"

#include "CommonUtils/TalvoError.h"

namespace talvo_test {

std::string Refusal(const std::function<void()>& action) {
    try {
        action();
    } catch (const cmn::TalvoError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace talvo_test
