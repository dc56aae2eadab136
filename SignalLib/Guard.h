#pragma once

#include <exception>

namespace stlib {

// One line on standard error under the library's caption.
void ReportUnexpected(const char* message) noexcept;

// The boundary of every export: nothing thrown inside `body` leaves the
// library; it is reported and the export gives `failed` instead.
template <class R, class Body>
R Guarded(R failed, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        ReportUnexpected(e.what());
    } catch (...) {
        ReportUnexpected("Неизвестное исключение.");
    }
    return failed;
}

}  // namespace stlib
