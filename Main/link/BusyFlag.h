#pragma once

#include <atomic>

namespace lnk {

// Lets one action at a time use the calibrator, whichever thread starts it.
class TBusyFlag {
public:
    // Sets the flag when it is clear; testing and setting are one atomic step.
    bool TryTake() {
        bool expected = false;
        return busy_.compare_exchange_strong(expected, true);
    }
    void Release() { busy_.store(false); }
    bool Busy() const { return busy_.load(); }

private:
    std::atomic<bool> busy_{false};
};

// The program-wide flag of transfers to the calibrator.
TBusyFlag& TransferBusy();

// Holds the flag taken by TryTake until the scope ends.
class TBusyHold {
public:
    explicit TBusyHold(TBusyFlag& flag) : flag_(flag) {}
    ~TBusyHold() { flag_.Release(); }
    TBusyHold(const TBusyHold&) = delete;
    TBusyHold& operator=(const TBusyHold&) = delete;

private:
    TBusyFlag& flag_;
};

}  // namespace lnk
