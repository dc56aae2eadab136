#pragma once

// A handler that a message box, a focus change or a signal it causes could
// enter again holds a guard on its flag: while the guard lives the flag is
// set, and a second pass finds it set and does nothing. The flag is cleared
// on every way out, an exception included.
namespace ui {

class TReentryGuard {
public:
    explicit TReentryGuard(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
    ~TReentryGuard() {
        if (entered_) flag_ = false;
    }
    TReentryGuard(const TReentryGuard&) = delete;
    TReentryGuard& operator=(const TReentryGuard&) = delete;

    // False when the handler was already running: this pass does nothing.
    explicit operator bool() const { return entered_; }

private:
    bool& flag_;
    bool entered_;
};

}  // namespace ui
