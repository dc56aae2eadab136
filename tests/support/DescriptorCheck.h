#pragma once

#include <map>
#include <string>

namespace talvo_test {

// The descriptors this process holds, each with what it refers to (the
// target of its /proc/self/fd entry: a path, "pipe:[...]", "socket:[...]").
class OpenDescriptors {
public:
    static OpenDescriptors Now();

    std::size_t Count() const { return targets_.size(); }
    // The descriptors held now that `before` did not hold (or held for
    // something else), one a line as "7 -> /dev/pts/3"; empty when none.
    std::string NewSince(const OpenDescriptors& before) const;

private:
    std::map<int, std::string> targets_;
};

// Makes every test of this program fail that ends, fixture and all, holding
// a descriptor it did not hold when it started. A program that opens a port
// for every action must close it on every path: success, refusal and fault.
// Called once from main() before the tests run (see DescriptorCheckMain.cpp).
void CheckDescriptorsAroundEachTest();

}  // namespace talvo_test
