#include "LCATypes.h"

namespace da {

// Notified under the lock: a waiter that sees the event set may destroy it
// at once, and must not do so while the notification is still under way.
void TLCAEvent::Set() {
    std::lock_guard lock(mutex_);
    set_ = true;
    changed_.notify_all();
}

void TLCAEvent::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool TLCAEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

void TLCAEvent::Wait() const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return set_; });
}

bool TLCAEvent::WaitFor(std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return set_; });
}

}  // namespace da
